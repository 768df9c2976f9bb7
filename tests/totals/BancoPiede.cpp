// Test bench of the footer engine.
#include "BancoPiede.h"

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/menu/ClienteMenuLocale.h"
#include "services/Globali.h"
#include "support/PgServer.h"

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>

namespace
{
QString letterale(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("#MM/dd/yyyy#"));
    if (v.typeId() == QMetaType::QString) {
        QString t = v.toString();
        t.replace(u'\'', QLatin1String("''"));
        return QLatin1Char('\'') + t + QLatin1Char('\'');
    }
    return v.toString();
}
} // namespace

BancoPiede::BancoPiede() = default;

BancoPiede::~BancoPiede()
{
    Globali::ImpostaDbComp(nullptr);
    if (Globali::MenuClient == m_menu.get())
        Globali::MenuClient = nullptr;
    Globali::CodEuro = m_codEuroPrima;
    Globali::CodLira = m_codLiraPrima;
    if (!m_pgDatabase.isEmpty())
        if (PgServer *pg = PgServer::Istanza())
            pg->EliminaDatabase(m_pgDatabase);
    if (!m_dir.isEmpty())
        QDir(m_dir).removeRecursively();
}

bool BancoPiede::Apri(Motore motore, QString *motivo)
{
    m_codEuroPrima = Globali::CodEuro;
    m_codLiraPrima = Globali::CodLira;
    Globali::CodEuro = QStringLiteral("EUR");
    Globali::CodLira = QStringLiteral("LIT");
    m_menu = std::make_unique<ClienteMenuLocale>();
    Globali::MenuClient = m_menu.get();

    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    if (motore == Motore::SQLite) {
        QTemporaryDir dir;
        dir.setAutoRemove(false);
        m_dir = dir.path();
        db->ApriSqlite(Globali::DbAzienda, m_dir + QStringLiteral("/azienda.db"), true);
    } else {
        PgServer *pg = PgServer::Istanza(motivo);
        if (!pg)
            return false;
        const QString connect = pg->NuovoDatabase(QStringLiteral("piede"));
        m_pgDatabase = PgServer::NomeDatabase(connect);
        db->ApriConnessione(Globali::DbAzienda, connect);
    }
    QSqlDatabase qdb = db->DatabaseDao(Globali::DbAzienda);
    Schema::ApplicaAzienda(qdb);
    return true;
}

void BancoPiede::Inserisci(const QString &tabella, const QVariantMap &valori)
{
    QStringList colonne, letterali;
    for (auto it = valori.begin(); it != valori.end(); ++it) {
        colonne << it.key();
        letterali << letterale(it.value());
    }
    Esegui(QStringLiteral("INSERT INTO ") + tabella + QStringLiteral(" (") + colonne.join(u',') +
           QStringLiteral(") VALUES (") + letterali.join(u',') + QStringLiteral(")"));
}

void BancoPiede::Esegui(const QString &sql)
{
    Globali::DbComp()->EseguiSql(Globali::DbAzienda, sql);
}

void BancoPiede::ParametroHost(const QString &nome, const QVariant &valore)
{
    m_menu->ScriviPar(nome, valore);
}

void BancoPiede::Anagrafiche()
{
    const QVariant nullo;
    for (const auto &[moneta, dec] : {std::pair{"EUR", 2}, std::pair{"LIT", 0}, std::pair{"USD", 2}})
        Inserisci(QStringLiteral("Monete"), {{"Moneta", QString::fromLatin1(moneta)}, {"NumDec", dec}});
    struct Iva {
        const char *codice, *aliquota, *tipo, *bollo;
    };
    for (const Iva &i : {Iva{"22", "22", "1", ""}, Iva{"10", "10", "1", ""}, Iva{"04", "4", "1", ""},
                         Iva{"E8", "0", "3", "S"}, Iva{"N1", "0", "2", "N"}})
        Inserisci(QStringLiteral("TabIva"), {{"Iva", QString::fromLatin1(i.codice)},
                                             {"Aliquota", QString::fromLatin1(i.aliquota).toDouble()},
                                             {"TipoIva", QString::fromLatin1(i.tipo)},
                                             {"DescrizioneBreve", QStringLiteral("Iva ") + i.codice},
                                             {"Descrizione", QStringLiteral("Aliquota ") + i.codice},
                                             {"DescrMemo", QStringLiteral("Memo ") + i.codice},
                                             {"ApplBolloEse", QString::fromLatin1(i.bollo)}});
    Inserisci(QStringLiteral("FattDocumenti"),
              {{"FattDocumento", "FT"}, {"RegimeMargine", "N"}, {"Segno", "+"}});
    Inserisci(QStringLiteral("FattDocumenti"),
              {{"FattDocumento", "NC"}, {"RegimeMargine", "N"}, {"Segno", "-"}});
    Inserisci(QStringLiteral("FattDocumenti"),
              {{"FattDocumento", "RM"}, {"RegimeMargine", "S"}, {"Segno", "+"}});
    Inserisci(QStringLiteral("PagTipi"), {{"PagTipo", "RD"}, {"TipoEffetto", "1"}, {"AddBolli", "N"}});
    Inserisci(QStringLiteral("Pagamenti"), {{"Pagamento", "RD30"},
                                            {"PagTipo", "RD"},
                                            {"Decorrenza", "F"},
                                            {"Periodicita", "M"},
                                            {"NumScad", 1},
                                            {"NumGGMM", 30},
                                            {"GiornoFisso", 0},
                                            {"Periodo1", 30},
                                            {"Percentuale1", 100}});
    Inserisci(QStringLiteral("Stati"), {{"Stato", "IT"}, {"Iso", "IT"}, {"Cee", "S"}});
    Inserisci(QStringLiteral("PianoConti"), {{"Gruppo", "01"},
                                             {"Mastro", "03"},
                                             {"Conto", "0001"},
                                             {"Descrizione", "Rossi Srl"},
                                             {"Stato", "IT"}});
    Inserisci(QStringLiteral("TaBolli"), {{"CodEseBollo", "E8"},    {"GruppoBol", "04"},
                                          {"MastroBol", "10"},      {"ContoBol", "0007"},
                                          {"PercBolloTratte", 1.2}, {"MaxNoBolloLire", 150000},
                                          {"MaxNoBollo", 77.47},    {"BolloEsenteLire", 4000},
                                          {"BolloEsente", 2},       {"ArrotondLire", 100},
                                          {"Arrotond", 0.1},        {"Sca1BolRBLire", 250000},
                                          {"Bollo1RBLire", 2500},   {"Sca2BolRBLire", nullo},
                                          {"Bollo2RBLire", 5000},   {"Sca1BolRB", 129.11},
                                          {"Bollo1RB", 1.29},       {"Sca2BolRB", 258.23},
                                          {"Bollo2RB", 2.58},       {"Sca3BolRB", 500000000000000LL},
                                          {"Bollo3RB", 3.5},        {"Sca4BolRB", nullo},
                                          {"Bollo4RB", 4}});
}
