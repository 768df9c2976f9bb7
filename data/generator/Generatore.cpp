// Builds the demo company database and the common menu database: schema,
// lookup rows, customers, documents, hotel guests, all in one transaction.
#include "data/generator/Generatore.h"

#include "components/db/Schema.h"
#include "components/util/VbErrore.h"
#include "data/generator/Casuale.h"
#include "data/generator/CodiciDemo.h"
#include "data/generator/Inseritore.h"
#include "data/generator/Nomi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <algorithm>
#include <array>

namespace DemoInterno
{

std::vector<Comune> LeggiComuni()
{
    QFile f(QStringLiteral(":/data/comuni.csv"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw VbErrore(VbErrore::ElementoNonTrovato, QStringLiteral("Elenco dei comuni mancante"));
    std::vector<Comune> out;
    f.readLine();
    while (!f.atEnd()) {
        const QStringList c = QString::fromUtf8(f.readLine()).trimmed().split(u';');
        if (c.size() < 6)
            continue;
        out.push_back({c[0], c[1], c[2], c[3], c[4].toInt(), c[5].toInt()});
    }
    return out;
}

void ScriviMenu(QSqlDatabase &db)
{
    Inseritore stati(db, "TabStati", {"StatoIso", "Descrizione", "BlackList"});
    const std::initializer_list<std::array<const char *, 3>> righe = {{"IT", "Italia", "N"},
                                                                      {"FR", "Francia", "N"},
                                                                      {"DE", "Germania", "N"},
                                                                      {"ES", "Spagna", "N"},
                                                                      {"AT", "Austria", "N"},
                                                                      {"BE", "Belgio", "N"},
                                                                      {"NL", "Paesi Bassi", "N"},
                                                                      {"PT", "Portogallo", "N"},
                                                                      {"SI", "Slovenia", "N"},
                                                                      {"GB", "Regno Unito", "N"},
                                                                      {"CH", "Svizzera", "S"},
                                                                      {"SM", "San Marino", "S"},
                                                                      {"MC", "Principato di Monaco", "s"},
                                                                      {"US", "Stati Uniti d'America", "N"},
                                                                      {"LI", "Liechtenstein", "S"}};
    for (const auto &r : righe)
        stati("StatoIso", r[0])("Descrizione", QString::fromUtf8(r[1]))("BlackList", r[2]).scrivi();

    Inseritore appoggio(db, "Appoggio",
                        {"Codice", "Descr1", "Descr2", "Descr3", "Descr4", "Descr5", "Memo1", "Memo2",
                         "Memo3", "Memo4", "Memo5"});
    appoggio("Codice", "PdfEmail")("Descr1",
                                   "§Titolo§ del §Data§")("Memo1", "Gentile cliente,\r\nin allegato trova il "
                                                                   "documento §Titolo§ del §Data§.\r\n\r\n"
                                                                   "Cordiali saluti\r\n§DescAzie§")(
        "Descr2", "§PersOgg§")("Memo2", "In allegato §DescPrg§.\r\n§DescAzie§")(
        "Descr3", "Documento §CodSta§ (§DataRov§ §Ora§)")("Memo3", "Inviato da §Login§ alle §OraRid§.")
        .scrivi();
}

namespace
{

void OspitiHotel(QSqlDatabase &db, Casuale &caso, const std::vector<Comune> &comuni, int quanti)
{
    Inseritore ins(db, "\"0_ClientHotelArdeno\"",
                   {"Rag1", "Rag2", "PARTIVA", "INDIRIZZO", "CAP", "LOCALITA", "PROVINCIA", "PREFISSO",
                    "TELEFONO", "TELEF2", "FAX"});
    for (int i = 0; i < quanti; ++i) {
        const Comune &c = comuni[std::size_t(caso.intero(int(comuni.size())))];
        const bool azienda = caso.percento(20);
        ins("Rag1", azienda ? caso.scegli(NomiDemo::Cognomi) + " " + caso.scegli(NomiDemo::AttivitaAziende) +
                                  " S.r.l."
                            : caso.scegli(NomiDemo::Cognomi) + " " + caso.scegli(NomiDemo::NomiMaschili))(
            "Rag2", caso.percento(20) ? QVariant("c/o Hotel Ardeno") : QVariant())(
            "PARTIVA", azienda ? QVariant(CodiciDemo::PartitaIva(caso.cifre(7) + "015")) : QVariant())(
            "INDIRIZZO", caso.scegli(NomiDemo::Vie) + QStringLiteral(" %1").arg(caso.tra(1, 99)))(
            "CAP", c.cap)("LOCALITA", c.nome)("PROVINCIA", c.provincia)(
            "PREFISSO", caso.percento(80) ? QVariant("0" + QString::number(caso.tra(10, 999))) : QVariant());
        // Phones: a number, 0 or Null, each meaning what the hotel program meant.
        const int t = caso.intero(10);
        ins("TELEFONO", t < 7 ? QVariant(caso.tra(100000, 9999999)) : t < 9 ? QVariant(0) : QVariant());
        ins("TELEF2", caso.percento(30) ? QVariant(caso.tra(100000, 9999999)) : QVariant());
        ins("FAX", caso.percento(15)   ? QVariant(caso.tra(100000, 9999999))
                   : caso.percento(50) ? QVariant(0)
                                       : QVariant());
        ins.scrivi();
    }
}

// An SQLite file written fast: one transaction, no journal.
class FileSqlite
{
  public:
    explicit FileSqlite(const QString &percorso)
        : m_nome(QStringLiteral("demo-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QFile::remove(percorso);
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
        db.setDatabaseName(percorso);
        if (!db.open())
            throw VbErrore(VbErrore::ChiamataOdbcFallita,
                           QStringLiteral("%1: %2").arg(percorso, db.lastError().text()));
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
        q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        // A million customers' indexes stay in memory while they are built.
        q.exec(QStringLiteral("PRAGMA cache_size=-262144"));
    }
    ~FileSqlite()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_nome);
    }
    void inizia()
    {
        if (!db.transaction())
            throw VbErrore(VbErrore::ChiamataOdbcFallita, db.lastError().text());
    }
    void conferma()
    {
        if (!db.commit())
            throw VbErrore(VbErrore::ChiamataOdbcFallita, db.lastError().text());
    }
    QSqlDatabase db;

  private:
    QString m_nome;
};

} // namespace
} // namespace DemoInterno

EsitoDemo GeneraDemo(const OpzioniDemo &opzioni)
{
    using namespace DemoInterno;
    EsitoDemo esito;
    esito.percorsoMenu = opzioni.percorsoMenu.isEmpty()
                             ? QFileInfo(opzioni.percorso).absoluteDir().filePath(QStringLiteral("menu.db"))
                             : opzioni.percorsoMenu;
    const std::vector<Comune> comuni = LeggiComuni();
    esito.comuni = int(comuni.size());
    Casuale caso(opzioni.seme);
    {
        FileSqlite azienda(opzioni.percorso);
        Schema::ApplicaAzienda(azienda.db);
        azienda.inizia();
        esito.altriConti = ScriviTabelle(azienda.db, comuni);
        const std::vector<Cliente> clienti = ScriviClienti(azienda.db, caso, comuni, opzioni.clienti);
        esito.clienti = int(clienti.size());
        esito.documenti = ScriviDocumenti(azienda.db, caso, clienti, esito.righe);
        OspitiHotel(azienda.db, caso, comuni, std::clamp(opzioni.clienti / 2, 20, 2000));
        azienda.conferma();
        Schema::Statistiche(azienda.db);
    }
    {
        FileSqlite menu(esito.percorsoMenu);
        Schema::ApplicaMenu(menu.db);
        menu.inizia();
        ScriviMenu(menu.db);
        menu.conferma();
    }
    return esito;
}
