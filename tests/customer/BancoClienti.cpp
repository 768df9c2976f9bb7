// Test bench of the customer form.
#include "BancoClienti.h"

#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/pagine/GestPagine.h"
#include "components/util/ContestoPrg.h"
#include "customer/RegistraFormClienti.h"
#include "customer/frmClienti.h"
#include "data/generator/Generatore.h"
#include "services/Globali.h"
#include "shell/ApriForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

QString BancoClienti::s_modello;
QString BancoClienti::s_menu;

namespace
{
QTemporaryDir *cartella()
{
    static QTemporaryDir d;
    return &d;
}
} // namespace

void BancoClienti::SetUpTestSuite()
{
    if (!s_modello.isEmpty())
        return;
    OpzioniDemo o;
    o.percorso = cartella()->path() + QStringLiteral("/demo.db");
    o.clienti = 60;
    s_menu = GeneraDemo(o).percorsoMenu;
    s_modello = o.percorso;
    RegistraFormClienti();
}

void BancoClienti::TearDownTestSuite() {}

void BancoClienti::SetUp()
{
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    m_percorso = cartella()->path() + QStringLiteral("/") + QUuid::createUuid().toString(QUuid::Id128) +
                 QStringLiteral(".db");
    ASSERT_TRUE(QFile::copy(s_modello, m_percorso));
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    db->ApriSqlite(Globali::DbAzienda, m_percorso);
    Globali::NomeDbAzienda = m_percorso;
    Globali::NomeDbMenu = s_menu;
    Globali::DbMenu.clear();
    PreparaHost();
}

void BancoClienti::PreparaHost()
{
    m_menu = std::make_unique<ClienteMenuLocale>();
    Globali::MenuClient = m_menu.get();
    ParametroHost(QStringLiteral("CauCon.GruppoClienti"), QStringLiteral("01"));
    ParametroHost(QStringLiteral("CauCon.MastroClienti"), QStringLiteral("05"));
    ParametroHost(QStringLiteral("Ditta.Moneta"), QStringLiteral("EUR"));
    ParametroHost(QStringLiteral("pdcCla.1"), QStringLiteral("Settore"));
    ParametroHost(QStringLiteral("pdcCla.2"), QStringLiteral("Dimensione"));
    // This user may change the line grids.
    ParametroHost(QStringLiteral("HlpAbil:clienti:clie"), true);
    Globali::DataMenu = DataLavoroDemo();
    Globali::ChiusuraInCorso = 0;
}

void BancoClienti::TearDown()
{
    Chiudi();
    delete Globali::PonteMenu;
    Globali::PonteMenu = nullptr;
    Globali::MenuClient = nullptr;
    Globali::ImpostaDbComp(nullptr);
    Globali::NomeDbMenu.clear();
    Globali::DbMenu.clear();
    m_menu.reset();
    if (!m_percorso.isEmpty())
        QFile::remove(m_percorso);
    RisposteProgrammate::Azzera();
}

frmClienti *BancoClienti::Apri(const QString &osParam, const QString &osKeyLancia)
{
    ChiaviLancio chiavi;
    chiavi.osParam = osParam;
    chiavi.osKeyLancia = osKeyLancia;
    if (!ApriFormPerNome(QStringLiteral("frmclienti"), chiavi))
        return nullptr;
    m_form = dynamic_cast<frmClienti *>(FormAperto(QStringLiteral("frmclienti")));
    if (m_form) {
        m_form->activateWindow();
        Attendi();
    }
    return m_form;
}

bool BancoClienti::Leggi(const QString &gruppo, const QString &mastro, const QString &conto)
{
    m_form->ogComPag()->LeggiDaChiave({gruppo, mastro, conto});
    Attendi();
    return m_form->txt(30)->text() == conto && m_form->ogComPag()->StatoPagina() == 1;
}

void BancoClienti::ApriSulPrimo(const QString &condizione)
{
    if (m_form)
        return;
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = Clienti(condizione).value(0).split(u'|');
    ASSERT_EQ(k.size(), 3);
    ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
}

void BancoClienti::Chiudi()
{
    if (!m_form)
        return;
    QPointer<QWidget> w(m_form);
    // Whatever the form asks on its way out, the test does not keep it.
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2);
    w->close();
    Attendi();
    if (w)
        delete w.data();
    m_form = nullptr;
}

QVariant BancoClienti::Valore(const QString &sql) const
{
    RecDat rs;
    const QString h = rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, {}, sql, false, RecDat::TipoSnapshot);
    if (rs.FineDati(h))
        return {};
    return rs.ValoreCampoIdx(h, 0);
}

int BancoClienti::Conta(const QString &sql) const
{
    return Valore(sql).toInt();
}

void BancoClienti::Esegui(const QString &sql) const
{
    Globali::DbComp()->EseguiSql(Globali::DbAzienda, sql);
}

QStringList BancoClienti::Clienti(const QString &condizione, int quanti) const
{
    RecDat rs;
    const QString h =
        rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, {},
                   QStringLiteral("Select P.Gruppo, P.Mastro, P.Conto From PianoConti P Where P.Tipo = "
                                  "'3' And ") +
                       condizione + QStringLiteral(" Order by P.Gruppo, P.Mastro, P.Conto"),
                   false, RecDat::TipoSnapshot);
    QStringList r;
    while (!rs.FineDati(h) && !rs.FineFile(h) && r.size() < quanti) {
        r << rs.ValoreCampoIdx(h, 0).toString() + QLatin1Char('|') + rs.ValoreCampoIdx(h, 1).toString() +
                 QLatin1Char('|') + rs.ValoreCampoIdx(h, 2).toString();
        rs.MuoviSuccessivo(h);
    }
    return r;
}

void BancoClienti::ParametroHost(const QString &nome, const QVariant &valore)
{
    m_menu->ScriviPar(nome, valore);
}

void BancoClienti::Personale(const QString &sezione, const QString &chiave, const QVariant &valore)
{
    m_menu->ScriviPar(QStringLiteral("Personal.") + sezione + QStringLiteral(".§") + chiave, valore);
}

void BancoClienti::Rispondi(int pulsante)
{
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, pulsante);
}

QStringList BancoClienti::Messaggi()
{
    QStringList r;
    for (const QVariantMap &m : RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom))
        r << m.value(QStringLiteral("testo")).toString();
    return r;
}

void BancoClienti::DimenticaMessaggi()
{
    const bool senza = RisposteProgrammate::SenzaModali();
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(senza);
}

void BancoClienti::Attendi(int volte)
{
    for (int i = 0; i < volte; ++i)
        QApplication::processEvents();
}

void BancoClienti::AttendiThread()
{
    Attendi();
    QElapsedTimer attesa;
    attesa.start();
    while (ConteggioParallelo::InCorso() > 0 && attesa.elapsed() < 30000)
        QTest::qWait(2);
    Attendi();
}
