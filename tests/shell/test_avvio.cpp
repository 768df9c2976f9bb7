// Start-up: finding and choosing the INI, opening the company database and
// reading the company parameters from a standalone host, the first window,
// and the orderly close of a start that fails.
#include "SupportoShell.h"
#include "support/SenzaPrivilegi.h"

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/ProfiloIni.h"
#include "components/util/VbErrore.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/FrmVStampa.h"
#include "services/Globali.h"
#include "shell/ApriForm.h"
#include "shell/Avvio.h"
#include "shell/Connessione.h"
#include "shell/GlobaliShell.h"
#include "shell/ParAzienda.h"
#include "shell/SceltaIni.h"
#include "shell/frmPrincipale.h"
#include "shell/scMenuComandiClie.h"

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace
{

void scriviFile(const QString &percorso, const QString &testo)
{
    QDir().mkpath(QFileInfo(percorso).absolutePath());
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(testo.toUtf8());
}

// A company database with the schema and two currencies.
void creaAzienda(const QString &percorso)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prova-azienda"));
        db.setDatabaseName(percorso);
        ASSERT_TRUE(db.open());
        Schema::ApplicaAzienda(db);
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(
            QStringLiteral("INSERT INTO Monete (Moneta, Descrizione, NumDec) VALUES ('EUR', 'Euro', 2)")));
        ASSERT_TRUE(q.exec(
            QStringLiteral("INSERT INTO Monete (Moneta, Descrizione, NumDec) VALUES ('LIT', 'Lire', 0)")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("prova-azienda"));
}

QWidget *finestraVisibile(const QString &nome)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == nome && w->isVisible())
            return w;
    return nullptr;
}

class AvvioTest : public ShellTest
{
  protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        qunsetenv("CLIENTI_MENU_SOCKET");
        qunsetenv("CLIENTI_INI");
        qunsetenv("CLIENTI_PARAMETRI");
        ASSERT_TRUE(dir.isValid());
        ini = dir.filePath(QStringLiteral("main/morvane.ini"));
        scriviFile(ini, QStringLiteral("[Connessioni]\nNomeDB=../azienda.db\nOwner=dbo\n"
                                       "[Menu]\nNomeDB=../menu.db\n"
                                       "[Risoluzione Video]\nStaVid=1,5\n"
                                       "[Config]\nLisSpostaCurs=S\n"
                                       "[Base]\nImmagini=../immagini\n"));
        scriviFile(dir.filePath(QStringLiteral("main/menu-parametri.json")),
                   QStringLiteral(R"({"descazie": "Rossi Forniture S.r.l.", "DataMenu": "15/03/2024",
                       "Ditta.Moneta": "EUR", "Ditta.CodEuro": "EUR", "Ditta.CodLira": "LIT",
                       "Ditta.CambioLiraEuro": "1936,27", "Ditta.ColBackGotFocus": "&H00C0FFFF&",
                       "ChiLancia": "Menu", "KeySecLancia": "0103001", "ParamLancia": ""})"));
        creaAzienda(dir.filePath(QStringLiteral("azienda.db")));
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        delete Globali::MenuComandi;
        Globali::MenuComandi = nullptr;
        Globali::MenuClient = nullptr;
        Globali::ImpostaDbComp(nullptr);
        Globali::DbMenu.clear();
    }
    QTemporaryDir dir;
    QString ini;
};

} // namespace

TEST(CercaIniTest, ProgramFolderFirstThenCurrentFolderThenNothing)
{
    QTemporaryDir dir;
    const QString prg = dir.filePath(QStringLiteral("prg"));
    const QString cor = dir.filePath(QStringLiteral("cor"));
    QDir().mkpath(prg + QStringLiteral("/main"));
    QDir().mkpath(cor);
    scriviFile(cor + QStringLiteral("/morvane.ini"), QStringLiteral("[Connessioni]\n"));
    scriviFile(cor + QStringLiteral("/altro.ini"), QStringLiteral("[Connessioni]\n"));

    EXPECT_EQ(CercaIni(QString(), prg, cor), cor + QStringLiteral("/morvane.ini"));
    scriviFile(prg + QStringLiteral("/main/morvane.ini"), QStringLiteral("[Connessioni]\n"));
    const struct {
        QString richiesto;
        QString atteso;
    } casi[] = {
        {QString(), prg + QStringLiteral("/main/morvane.ini")},
        {QStringLiteral("altro.ini"), cor + QStringLiteral("/altro.ini")},
        {QStringLiteral("manca.ini"), QString()},
        {cor + QStringLiteral("/altro.ini"), cor + QStringLiteral("/altro.ini")},
        {QStringLiteral("../cor/altro.ini"), cor + QStringLiteral("/altro.ini")},
        {cor + QStringLiteral("/manca.ini"), QString()},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.richiesto.toStdString());
        EXPECT_EQ(CercaIni(c.richiesto, prg, c.richiesto.startsWith(QLatin1String("..")) ? prg : cor),
                  c.atteso);
    }
}

TEST(ElencoIniTest, ListsTheChoicesInOrderOrByDescription)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("morvane.ini"));
    scriviFile(dir.filePath(QStringLiteral("b.ini")), QStringLiteral("[Connessioni]\nNomeDB=beta.db\n"));
    scriviFile(ini, QStringLiteral("[Parametri Generali]\nNumIni=3\nIni1=a.ini\nDescIni1=Zeta S.p.A.\n"
                                   "Ini2=b.ini\nIni3=sub/c.ini\nDescIni3=Alfa S.n.c.\n"));
    QList<VoceIni> l = ElencoIni(ini);
    ASSERT_EQ(l.size(), 3);
    EXPECT_EQ(l[0].descrizione, QStringLiteral("Zeta S.p.A."));
    EXPECT_EQ(l[1].descrizione, QStringLiteral("beta.db")); // from its [Connessioni] NomeDB
    EXPECT_EQ(l[2].percorso, dir.filePath(QStringLiteral("sub/c.ini")));

    ProfiloIni::Scrivi(ini, QStringLiteral("Parametri Generali"), QStringLiteral("OrdIniDBase"),
                       QStringLiteral("S"));
    l = ElencoIni(ini);
    EXPECT_EQ(l[0].descrizione, QStringLiteral("Alfa S.n.c."));
    EXPECT_EQ(l[1].descrizione, QStringLiteral("beta.db"));
    EXPECT_EQ(l[2].descrizione, QStringLiteral("Zeta S.p.A."));

    ProfiloIni::Scrivi(ini, QStringLiteral("Parametri Generali"), QStringLiteral("NumIni"),
                       QStringLiteral("0"));
    EXPECT_TRUE(ElencoIni(ini).isEmpty());
}

TEST(ElencoIniTest, TheUserPicksOneOrNone)
{
    RisposteProgrammate::Azzera();
    const QList<VoceIni> l{{QStringLiteral("/x/a.ini"), QStringLiteral("A")},
                           {QStringLiteral("/x/b.ini"), QStringLiteral("B")}};
    RisposteProgrammate::Accoda(QStringLiteral("sceltaIni"), 1);
    EXPECT_EQ(ScegliIni(l), QStringLiteral("/x/b.ini"));
    RisposteProgrammate::Accoda(QStringLiteral("sceltaIni"), -1);
    EXPECT_EQ(ScegliIni(l), QString());
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(QStringLiteral("sceltaIni"))
                  .value(QStringLiteral("voci"))
                  .toStringList(),
              (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    RisposteProgrammate::Azzera();
}

TEST(ParAziendaTest, ColoursAndAmountFormats)
{
    EXPECT_EQ(LeggiColoreVb(QStringLiteral("&H80000005"), 0), 0x80000005L);
    EXPECT_EQ(LeggiColoreVb(QStringLiteral("&HFF&"), 0), 0xFFL);
    EXPECT_EQ(LeggiColoreVb(QStringLiteral("-2147483643"), 0), 0x80000005L);
    EXPECT_EQ(LeggiColoreVb(QStringLiteral("12632256"), 0), 0xC0C0C0L);
    EXPECT_EQ(LeggiColoreVb(QStringLiteral("rosso"), 7), 7);
    EXPECT_EQ(LeggiColoreVb(QString(), 7), 7);
    EXPECT_EQ(FormatoImporto(0), QStringLiteral("#,##0"));
    EXPECT_EQ(FormatoImporto(2), QStringLiteral("#,##0.00"));
}

TEST_F(AvvioTest, StartsOnTheDatabaseAndOpensTheWindowNamedByP)
{
    const QStringList args{QStringLiteral("-I"),         ini,
                           QStringLiteral("-P"),         QStringLiteral("RO=/RO"),
                           QStringLiteral("frmProva"),   QStringLiteral("-H"),
                           QStringLiteral("clienti.chm")};
    ASSERT_TRUE(Main(args));
    EXPECT_EQ(Globali::NumeroProgramma, 32);
    EXPECT_EQ(Globali::PathIni, ini);
    EXPECT_EQ(Globali::NomeDbAzienda, dir.filePath(QStringLiteral("azienda.db")));
    EXPECT_TRUE(Globali::DbComp()->EsisteConnessione(Globali::DbAzienda));
    EXPECT_EQ(Globali::NomeDbMenu, dir.filePath(QStringLiteral("menu.db")));
    EXPECT_EQ(Globali::NomeFileHelp, QStringLiteral("clienti.chm"));
    EXPECT_EQ(Globali::DescAzienda, QStringLiteral("Rossi Forniture S.r.l."));
    EXPECT_EQ(Globali::DataMenu, QDate(2024, 3, 15));
    EXPECT_EQ(Globali::NumDecEuro, 2);
    EXPECT_EQ(Globali::NumDecLira, 0);
    EXPECT_EQ(Globali::NumDecMoneta, 2);
    EXPECT_EQ(Globali::FmtImportoEuro, QStringLiteral("#,##0.00"));
    EXPECT_DOUBLE_EQ(Globali::CambioLiraEuro, 1936.27);
    EXPECT_EQ(Globali::ColBackGotFocus, 0xC0FFFFL);
    EXPECT_DOUBLE_EQ(Globali::RisVidStaVid, 1.5);
    EXPECT_EQ(Globali::LisSpostaCurs, QStringLiteral("S"));
    EXPECT_EQ(Globali::DirImmagini, dir.filePath(QStringLiteral("immagini")));
    EXPECT_EQ(Globali::NomiMesi.value(2), QStringLiteral("Marzo"));
    ASSERT_NE(Globali::PonteMenu, nullptr);

    // The first window opens from the event loop, with the host's launch keys.
    ASSERT_TRUE(attendi([&] { return FormAperto(QStringLiteral("frmProva")) != nullptr; }));
    FormLanciabile *f = FormAperto(QStringLiteral("frmProva"));
    EXPECT_EQ(f->osKeyLancia, QStringLiteral("Menu"));
    EXPECT_EQ(f->osKeySec(), QStringLiteral("0103001"));
    EXPECT_EQ(f->osParam, QStringLiteral("RO=/RO"));
    EXPECT_TRUE(messaggi().isEmpty());
}

TEST_F(AvvioTest, WithoutAWindowToOpenTheLauncherShowsUp)
{
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini}));
    ASSERT_TRUE(attendi([&] { return finestraVisibile(QStringLiteral("frmAvvio")) != nullptr; }));
    QWidget *avvio = finestraVisibile(QStringLiteral("frmAvvio"));
    EXPECT_EQ(avvio->windowTitle(), QStringLiteral("Clienti"));
    avvio->close();
    tickChiusura();
    EXPECT_EQ(codiceChiusura, 0);
}

namespace
{
QStringList avvisiQt;
void raccogliAvvisi(QtMsgType tipo, const QMessageLogContext &, const QString &testo)
{
    // The offscreen platform's own notes about what it cannot do are no fault.
    if (tipo != QtDebugMsg && tipo != QtInfoMsg &&
        !testo.startsWith(QLatin1String("This plugin does not support")))
        avvisiQt << testo;
}
} // namespace

TEST_F(AvvioTest, StartWarnsOfNothingAndQuittingRemovesThePrintWindows)
{
    avvisiQt.clear();
    const QtMessageHandler prima = qInstallMessageHandler(raccogliAvvisi);
    const bool avviato = Main({QStringLiteral("-I"), ini});
    const bool lanciatore = attendi([&] { return finestraVisibile(QStringLiteral("frmAvvio")) != nullptr; });
    QPointer<FrmVStampa> anteprima = FrmVStampaPredef();
    // What the application does as its event loop ends.
    QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection);
    qInstallMessageHandler(prima);
    ASSERT_TRUE(avviato);
    ASSERT_TRUE(lanciatore);
    EXPECT_TRUE(avvisiQt.isEmpty()) << avvisiQt.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(anteprima) << "the print windows went at quit";
    finestraVisibile(QStringLiteral("frmAvvio"))->close();
    tickChiusura();
}

TEST_F(AvvioTest, QtsOwnTextsAreItalian)
{
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini}));
    QDialogButtonBox tasti(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    EXPECT_EQ(tasti.button(QDialogButtonBox::Save)->text().remove(QLatin1Char('&')), QStringLiteral("Salva"));
    EXPECT_EQ(tasti.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
              QStringLiteral("Annulla"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Cerca in:"));
    // What Qt writes by the default locale (the type, size and date of a
    // file in the file dialogs) is Italian too, whatever the system's.
    EXPECT_EQ(QLocale().language(), QLocale::Italian);
    EXPECT_EQ(QLocale().territory(), QLocale::Italy);
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 8), QLocale::ShortFormat), QStringLiteral("08/12/26"));
    EXPECT_EQ(QLocale().formattedDataSize(2), QStringLiteral("2 byte"));
}

TEST_F(AvvioTest, AMissingIniStopsTheStartAndClosesInOrder)
{
    EXPECT_FALSE(Main({QStringLiteral("-I"), dir.filePath(QStringLiteral("manca.ini"))}));
    ASSERT_EQ(messaggi().size(), 1);
    EXPECT_TRUE(messaggi().first().startsWith(QStringLiteral("File di configurazione non trovato")));
    EXPECT_TRUE(attendi([&] { return codiceChiusura == 1; }));
    EXPECT_EQ(Globali::MenuClient, nullptr);
}

TEST_F(AvvioTest, ACurrencyWithDecimalsOutOfRangeStopsTheStartWithItsName)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prova-monete"));
        db.setDatabaseName(dir.filePath(QStringLiteral("azienda.db")));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE Monete SET NumDec = 2147483647 WHERE Moneta = 'EUR'")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("prova-monete"));
    EXPECT_FALSE(Main({QStringLiteral("-I"), ini}));
    ASSERT_FALSE(messaggi().isEmpty());
    EXPECT_TRUE(
        messaggi().last().contains(QStringLiteral("La moneta EUR ha un numero di decimali non valido")))
        << messaggi().last().toStdString();
    EXPECT_TRUE(attendi([&] { return codiceChiusura == 1; }));
}

TEST_F(AvvioTest, AFailedConnectionMayBeRetriedAndNeverShowsThePassword)
{
    ProfiloIni::Scrivi(ini, QStringLiteral("Connessioni"), QStringLiteral("NomeDB"),
                       QStringLiteral("DsnCheNonEsiste"));
    ProfiloIni::Scrivi(ini, QStringLiteral("Connessioni"), QStringLiteral("Connect"),
                       QStringLiteral("UID=mario;PWD=Segreta99"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1); // Riprova
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2); // Annulla
    EXPECT_FALSE(Main({QStringLiteral("-I"), ini}));
    const QStringList m = messaggi();
    // Two failed attempts, each said once: giving up says nothing more.
    ASSERT_EQ(m.size(), 2) << m.join(QLatin1Char('|')).toStdString();
    for (const QString &t : m)
        EXPECT_TRUE(t.startsWith(QStringLiteral("Impossibile aprire il database dell'azienda")))
            << t.toStdString();
    for (const QString &t : m)
        EXPECT_FALSE(t.contains(QStringLiteral("Segreta99"))) << t.toStdString();
    EXPECT_TRUE(attendi([&] { return codiceChiusura == 1; }));
}

TEST_F(AvvioTest, SeveralIniFilesLetTheUserChoose)
{
    const QString seconda = dir.filePath(QStringLiteral("main/seconda.ini"));
    scriviFile(seconda, QStringLiteral("[Connessioni]\nNomeDB=../azienda.db\n"));
    ProfiloIni::Scrivi(ini, QStringLiteral("Parametri Generali"), QStringLiteral("NumIni"),
                       QStringLiteral("1"));
    ProfiloIni::Scrivi(ini, QStringLiteral("Parametri Generali"), QStringLiteral("Ini1"),
                       QStringLiteral("seconda.ini"));
    RisposteProgrammate::Accoda(QStringLiteral("sceltaIni"), 0);
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini}));
    EXPECT_EQ(Globali::PathIni, seconda);

    chiudiTutto();
    RisposteProgrammate::Accoda(QStringLiteral("sceltaIni"), -1);
    EXPECT_FALSE(Main({QStringLiteral("-I"), ini}));
    EXPECT_EQ(messaggi().last(), QStringLiteral("Nessun archivio scelto"));

    // An entry naming a file that is not there says so, with its path.
    chiudiTutto();
    ProfiloIni::Scrivi(ini, QStringLiteral("Parametri Generali"), QStringLiteral("Ini1"),
                       QStringLiteral("manca.ini"));
    RisposteProgrammate::Accoda(QStringLiteral("sceltaIni"), 0);
    EXPECT_FALSE(Main({QStringLiteral("-I"), ini}));
    EXPECT_TRUE(messaggi().last().startsWith(
        QStringLiteral("File di configurazione dell'archivio scelto non trovato: ") +
        dir.filePath(QStringLiteral("main/manca.ini"))))
        << messaggi().last().toStdString();
}

// A company file nobody may write opens with a word saying so, and a save
// then fails with an Italian explanation, not the engine's English.
TEST_F(AvvioTest, AReadOnlyDatabaseIsSaidAtOpeningAndAtSaving)
{
    const QString file = dir.filePath(QStringLiteral("azienda.db"));
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                QFileDevice::ReadOther));
    SenzaPrivilegi senza;
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini}));
    ASSERT_EQ(messaggi().size(), 1);
    EXPECT_TRUE(
        messaggi().first().startsWith(QStringLiteral("Il database dell'azienda è aperto in sola lettura")));
    EXPECT_TRUE(messaggi().first().contains(file));
    try {
        Globali::DbComp()->EseguiSql(
            Globali::DbAzienda,
            QStringLiteral("INSERT INTO Monete (Moneta, Descrizione) VALUES ('USD', 'Dollaro')"));
        ADD_FAILURE() << "scrittura inattesa";
    } catch (const VbErrore &e) {
        EXPECT_TRUE(
            e.descrizione().startsWith(QStringLiteral("Impossibile salvare: il database è in sola lettura")));
    }
}

namespace
{

// The history rows of a company file in order of Id, after the statements,
// and whether the once-a-day key is there.
QStringList storico(const QString &file, const QStringList &istruzioni = {})
{
    QStringList righe;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prova-storico"));
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString &i : istruzioni)
            EXPECT_TRUE(q.exec(i)) << i.toStdString();
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT Descrizione FROM PdcStorico ORDER BY Id")));
        while (q.next())
            righe << q.value(0).toString();
        EXPECT_TRUE(
            q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'PdcStorico_Giorno'")));
        righe << (q.next() && q.value(0).toInt() == 1 ? QStringLiteral("chiave")
                                                      : QStringLiteral("senza chiave"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("prova-storico"));
    return righe;
}

// A company made before the history's once-a-day key, holding two rows of
// one account and day.
QStringList storicoDoppio(const QString &file)
{
    const QString riga =
        QStringLiteral("INSERT INTO PdcStorico (Gruppo, Mastro, Conto, DataVar, Descrizione) "
                       "VALUES ('01', '05', '0001', '2024-03-15', '%1')");
    return storico(file, {QStringLiteral("DROP INDEX PdcStorico_Giorno"), riga.arg(QStringLiteral("Prima")),
                          riga.arg(QStringLiteral("Dopo"))});
}

} // namespace

// It opens, keeps the day's first row and gets the key.
TEST_F(AvvioTest, ACompanyWithDoubledHistoryOpensAndGetsTheKey)
{
    const QString file = dir.filePath(QStringLiteral("azienda.db"));
    ASSERT_EQ(storicoDoppio(file), QStringList({"Prima", "Dopo", "senza chiave"}));
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini}));
    EXPECT_TRUE(messaggi().isEmpty()) << messaggi().join(u'|').toStdString();
    EXPECT_TRUE(Globali::DbComp()->EsisteConnessione(Globali::DbAzienda));
    Globali::DbComp()->ChiudiTutto();
    EXPECT_EQ(storico(file), QStringList({"Prima", "chiave"}));
}

// Read-only, it opens all the same and is left as it is.
TEST_F(AvvioTest, AReadOnlyCompanyWithDoubledHistoryOpensAsItIs)
{
    const QString file = dir.filePath(QStringLiteral("azienda.db"));
    ASSERT_EQ(storicoDoppio(file), QStringList({"Prima", "Dopo", "senza chiave"}));
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                QFileDevice::ReadOther));
    SenzaPrivilegi senza;
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini}));
    ASSERT_EQ(messaggi().size(), 1);
    EXPECT_TRUE(
        messaggi().first().startsWith(QStringLiteral("Il database dell'azienda è aperto in sola lettura")));
    EXPECT_TRUE(Globali::DbComp()->EsisteConnessione(Globali::DbAzienda));
    Globali::DbComp()->ChiudiTutto();
    EXPECT_EQ(storico(file), QStringList({"Prima", "Dopo", "senza chiave"}));
}

// Screen factors beyond their range are named at start, with the one used,
// and the value used is the one every print then scales by.
TEST_F(AvvioTest, ScreenFactorsOutOfRangeAreSaidAndHeld)
{
    ProfiloIni::Scrivi(ini, QStringLiteral("Risoluzione Video"), QStringLiteral("Generale"),
                       QStringLiteral("1000"));
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini}));
    ASSERT_EQ(messaggi().size(), 1);
    EXPECT_TRUE(messaggi().first().contains(QStringLiteral("Generale = 1000: si usa 2")))
        << messaggi().first().toStdString();
    EXPECT_FALSE(messaggi().first().contains(QStringLiteral("StaVid")));
    EXPECT_DOUBLE_EQ(Globali::RisVidGenerale, 2);
    Globali::DbComp()->ChiudiTutto();

    // A text that is not a number is named too, with the default it gives way to.
    const struct {
        const char *staVid, *detto;
        double usato;
        float fatt; // a saved preview scale of 1,8 on this screen
    } casi[] = {{"10", "StaVid = 10: si usa 2", 2, 3.6f},
                {"1e300", "StaVid = 1E+300: si usa 2", 2, 3.6f},
                {"abc", "StaVid = abc: non è un numero, si usa il valore predefinito -2", -2, 1.8f},
                {"0,75", nullptr, 0.75, 1.35f}};
    for (const auto &c : casi) {
        SCOPED_TRACE(c.staVid);
        ProfiloIni::Scrivi(ini, QStringLiteral("Risoluzione Video"), QStringLiteral("StaVid"),
                           QString::fromLatin1(c.staVid));
        const qsizetype prima = messaggi().size();
        ASSERT_TRUE(Main({QStringLiteral("-I"), ini}));
        ASSERT_EQ(messaggi().size(), prima + 1);
        EXPECT_EQ(messaggi().last().contains(QStringLiteral("StaVid")), c.detto != nullptr);
        if (c.detto) {
            EXPECT_TRUE(messaggi().last().contains(QString::fromUtf8(c.detto)))
                << messaggi().last().toStdString();
        }
        EXPECT_DOUBLE_EQ(Globali::RisVidStaVid, c.usato);
        // Not 18 or infinity.
        ProfiloIni::Scrivi(ini, QStringLiteral("Opzioni Stampa"), QStringLiteral("Fatt"),
                           QStringLiteral("1,8"));
        OpzStampa opz;
        CaricaOpzioniStampa(opz);
        EXPECT_FLOAT_EQ(opz.Fatt(), c.fatt);
        Globali::DbComp()->ChiudiTutto();
    }
}

TEST_F(AvvioTest, AStandaloneStartOnAnUnknownWindowSaysSoAndShowsTheLauncher)
{
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini, QStringLiteral("-P"), QStringLiteral("0"),
                      QStringLiteral("frmNonCostruita")}));
    ASSERT_TRUE(attendi([&] { return finestraVisibile(QStringLiteral("frmAvvio")) != nullptr; }));
    EXPECT_EQ(messaggi(), QStringList{QString::fromUtf8(MsgImpossibileAprire)});
    EXPECT_EQ(codiceChiusura, -100);
}

TEST_F(AvvioTest, TheCustomerFormOpensByItsNameFromTheCommandLine)
{
    {
        DbMotore menu;
        menu.ApriSqlite(QStringLiteral("m"), dir.filePath(QStringLiteral("menu.db")), true);
        QSqlDatabase q = menu.DatabaseDao(QStringLiteral("m"));
        Schema::ApplicaMenu(q);
    }
    ASSERT_TRUE(Main({QStringLiteral("-I"), ini, QStringLiteral("-P"), QStringLiteral("0"),
                      QStringLiteral("frmclienti")}));
    ASSERT_TRUE(attendi([&] { return FormAperto(QStringLiteral("frmClienti")) != nullptr; }));
    FormLanciabile *f = FormAperto(QStringLiteral("frmclienti"));
    EXPECT_EQ(f->oiLoadOk().toInt(), 1);
    EXPECT_EQ(f->osKeyLancia, QStringLiteral("Menu"));
    EXPECT_TRUE(messaggi().isEmpty()) << messaggi().join(QLatin1Char('\n')).toStdString();
}
