// Test bench of the list windows.
#include "BancoLista.h"

#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/GestLista.h"
#include "components/pagine/GestPagine.h"
#include "data/generator/Generatore.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFormLayout>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

QString BancoLista::s_modello;

namespace
{
QTemporaryDir *cartella()
{
    static QTemporaryDir d;
    return &d;
}
} // namespace

SchedaProva::SchedaProva()
{
    auto *l = new QFormLayout(this);
    for (auto *c : {&gruppo, &mastro, &conto, &tipo, &descrizione})
        l->addRow(*c = new QLineEdit(this));
    pagine = new GestPagine(this);
    pagine->TabellaPrincipale(QStringLiteral("PianoConti"));
    pagine->RegistraCampo(QStringLiteral("Gruppo"), gruppo, OpzioniCampo{.chiave = 1});
    pagine->RegistraCampo(QStringLiteral("Mastro"), mastro, OpzioniCampo{.chiave = 1});
    pagine->RegistraCampo(QStringLiteral("Conto"), conto, OpzioniCampo{.chiave = 1});
    pagine->RegistraCampo(QStringLiteral("Tipo"), tipo, OpzioniCampo{.tipoChiave = 2, .predefinito = "3"});
    pagine->RegistraCampo(QStringLiteral("Descrizione"), descrizione, OpzioniCampo{.ricerca = "like*"});
    pagine->ImpostaControlloChiave(conto);
    pagine->AbilitaCallback(GestPagine::OpLettura, true);
}

void SchedaProva::ButtonComando(const QString &psKey)
{
    pagine->EseguiComando(psKey);
}

void BancoLista::SetUpTestSuite()
{
    if (!s_modello.isEmpty())
        return;
    OpzioniDemo o;
    o.percorso = cartella()->path() + QStringLiteral("/demo.db");
    o.clienti = 150;
    GeneraDemo(o);
    s_modello = o.percorso;
}

bool BancoLista::ApriDatabase()
{
    m_percorso = cartella()->path() + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::Id128) +
                 QStringLiteral(".db");
    if (!QFile::copy(s_modello, m_percorso))
        return false;
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    db->ApriSqlite(Globali::DbAzienda, m_percorso);
    return true;
}

void BancoLista::ChiudiDatabase()
{
    Globali::ImpostaDbComp(nullptr);
    if (!m_percorso.isEmpty())
        QFile::remove(m_percorso);
}

void BancoLista::SetUp()
{
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    if (!ApriDatabase())
        return;
    DbMotore *db = Globali::DbComp();
    Globali::DescAzienda = QStringLiteral("Ditta di prova");
    Globali::LisClickNoSel = QStringLiteral("N");
    Globali::LisSpostaCurs = QStringLiteral("N");

    m_scheda = std::make_unique<SchedaProva>();
    m_lista = new frmClientiLis(m_scheda.get());
    m_lista->Form_Load();
    FormListaPagine *lista = m_lista;
    m_scheda->pagine->Inizializza(m_scheda.get(), db, Globali::DbAzienda, lista);
    m_scheda->show();
}

void BancoLista::TearDown()
{
    m_scheda.reset();
    m_lista = nullptr;
    ChiudiDatabase();
    Globali::LisClickNoSel = QStringLiteral("N");
    Globali::LisSpostaCurs = QStringLiteral("N");
    RisposteProgrammate::Azzera();
}

void BancoLista::Apri()
{
    m_scheda->ButtonComando(QStringLiteral("Lista"));
    Attendi();
}

void BancoLista::ApriSenzaAttendere()
{
    m_scheda->ButtonComando(QStringLiteral("Lista"));
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    m_lista->dbgRiga->doItemsLayout();
}

bool BancoLista::RigaVisibile(int riga) const
{
    const QTableView *g = m_lista->dbgRiga;
    const int y = g->rowViewportPosition(riga);
    return y > -g->rowHeight(riga) && y < g->viewport()->height();
}

GestLista *BancoLista::Lista() const
{
    return m_lista->ogComlin;
}

int BancoLista::Righe() const
{
    return m_lista->dbgRiga->model()->rowCount();
}

QString BancoLista::Cella(int riga, int colonna) const
{
    return m_lista->dbgRiga->model()->index(riga, colonna).data().toString();
}

QString BancoLista::Chiave(int riga) const
{
    return Cella(riga, 0) + QLatin1Char('-') + Cella(riga, 1) + QLatin1Char('-') + Cella(riga, 2);
}

void BancoLista::Scrivi(int campo, const QString &testo)
{
    QLineEdit *t = m_lista->txt(campo);
    t->setFocus();
    Attendi(1);
    t->setText(testo);
}

void BancoLista::Cerca()
{
    QWidget *f = QApplication::focusWidget();
    QTest::keyClick(f ? f : m_lista->txt(30), Qt::Key_Return);
    Attendi();
}

QVariant BancoLista::Valore(const QString &sql) const
{
    RecDat rs;
    const QString h = rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, {}, sql, false, RecDat::TipoSnapshot);
    return rs.FineDati(h) ? QVariant() : rs.ValoreCampoIdx(h, 0);
}

void BancoLista::Esegui(const QString &sql) const
{
    Globali::DbComp()->EseguiSql(Globali::DbAzienda, sql);
}

void BancoLista::AggiungiClienti(int quanti) const
{
    QStringList righe;
    for (int i = 0; i < quanti; ++i)
        righe << QStringLiteral("('01', '05', '%1', '3', 'Aggiunto %1')").arg(9000 + i);
    Esegui(QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) Values ") +
           righe.join(QStringLiteral(", ")));
}

QStringList BancoLista::ApriSulCliente(const QStringList &chiave)
{
    EXPECT_TRUE(m_scheda->pagine->LeggiDaChiave(chiave));
    QStringList conteggi;
    Globali::DbComp()->ImpostaOsservatoreSelect([&conteggi](const QString &sql) {
        if (sql.contains(QLatin1String("Count("), Qt::CaseInsensitive))
            conteggi << sql;
    });
    m_scheda->ButtonComando(QStringLiteral("Lista"));
    Globali::DbComp()->ImpostaOsservatoreSelect({});
    return conteggi;
}

QStringList BancoLista::Messaggi()
{
    QStringList r;
    for (const QVariantMap &m : RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom))
        r << m.value(QStringLiteral("testo")).toString();
    return r;
}

void BancoLista::DimenticaMessaggi()
{
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
}

void BancoLista::Attendi(int volte)
{
    for (int i = 0; i < volte; ++i)
        QApplication::processEvents();
    // The lists' totals counted on threads of their own, delivered.
    QElapsedTimer attesa;
    attesa.start();
    while (ConteggioParallelo::InCorso() > 0 && attesa.elapsed() < 30000)
        QTest::qWait(2);
    QApplication::processEvents();
}
