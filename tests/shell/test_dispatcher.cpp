// The form dispatcher and the close polling, with a test window that keeps
// the launch contract: opening by name with the launch keys, the load check,
// and the program ending once the last window has gone.
#include "SupportoShell.h"

#include "components/forms/RisposteProgrammate.h"
#include "services/Globali.h"
#include "services/UtilPrg.h"
#include "shell/ApriForm.h"
#include "shell/Chiusura.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>

namespace
{

ChiaviLancio chiavi()
{
    ChiaviLancio c;
    c.osKeySec = QStringLiteral("0103001");
    c.osKeyLancia = QStringLiteral("Fatture");
    c.osKeySecLancia = QStringLiteral("frmFatture");
    c.osParamLancia = QStringLiteral("x");
    c.osParam = QStringLiteral("/RO");
    return c;
}

frmProva *aperta()
{
    return dynamic_cast<frmProva *>(FormAperto(QStringLiteral("frmProva")));
}

} // namespace

using DispatcherTest = ShellTest;

TEST_F(DispatcherTest, OpensByNameWithoutRegardToCaseAndSetsKeysBeforeTheLoad)
{
    ASSERT_TRUE(ApriFormPerNome(QStringLiteral("FRMPROVA"), chiavi()));
    frmProva *f = aperta();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->keySecAlCaricamento, QStringLiteral("0103001"));
    EXPECT_EQ(f->keyLanciaAlCaricamento, QStringLiteral("Fatture"));
    EXPECT_EQ(f->paramAlCaricamento, QStringLiteral("/RO"));
    EXPECT_EQ(f->osKeySecLancia, QStringLiteral("frmFatture"));
    EXPECT_EQ(f->osParamLancia, QStringLiteral("x"));
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(f->testAttribute(Qt::WA_DeleteOnClose));
    // The main window is told which window to bring forward.
    EXPECT_EQ(Globali::FrmP->osNomeForm.toLower(), QStringLiteral("frmprova"));
    EXPECT_EQ(Globali::FrmP->oiFlagVarie, 1);
    EXPECT_TRUE(Globali::FrmP->timVarie.isActive());
    EXPECT_TRUE(attendi([&] { return Globali::FrmP->oiFlagVarie == 0; }));
    EXPECT_TRUE(messaggi().isEmpty());
}

TEST_F(DispatcherTest, AnOpenWindowGetsTheNewKeysInsteadOfASecondInstance)
{
    ASSERT_TRUE(ApriFormPerNome(QStringLiteral("frmProva"), chiavi()));
    ChiaviLancio altre = chiavi();
    altre.osKeySec = QStringLiteral("0103002");
    ASSERT_TRUE(ApriFormPerNome(QStringLiteral("frmprova"), altre));
    EXPECT_EQ(frmProva::istanzeVive, 1);
    EXPECT_EQ(aperta()->caricamenti, 1);
    EXPECT_EQ(aperta()->osKeySec(), QStringLiteral("0103002"));
}

TEST_F(DispatcherTest, AFailedLoadUnloadsTheWindowSaysSoAndArmsTheCloseTimer)
{
    for (bool eccezione : {false, true}) {
        SCOPED_TRACE(eccezione ? "exception" : "load state -1");
        frmProva::falliraCaricamento = !eccezione;
        frmProva::eccezioneNelCaricamento = eccezione;
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        Globali::FrmP->timChiudi.stop();

        EXPECT_FALSE(ApriFormPerNome(QStringLiteral("frmProva"), chiavi()));
        EXPECT_EQ(frmProva::istanzeVive, 0);
        EXPECT_EQ(FormAperto(QStringLiteral("frmProva")), nullptr);
        EXPECT_EQ(messaggi(), QStringList{QString::fromUtf8(MsgImpossibileAprire)});
        EXPECT_TRUE(Globali::FrmP->timChiudi.isActive());
        EXPECT_EQ(Globali::FrmP->timChiudi.interval(), 3000);
    }
    // Nothing else is open: the next tick ends the program.
    tickChiusura();
    EXPECT_EQ(codiceChiusura, 0);
}

TEST_F(DispatcherTest, AnUnknownNameIsRefusedWithTheSameMessage)
{
    EXPECT_FALSE(ApriFormPerNome(QStringLiteral("frmInesistente"), {}));
    EXPECT_EQ(messaggi(), QStringList{QString::fromUtf8(MsgImpossibileAprire)});
}

TEST_F(DispatcherTest, TheProgramEndsOnlyWhenTheLastWindowHasGone)
{
    ASSERT_TRUE(ApriFormPerNome(QStringLiteral("frmProva"), chiavi()));
    QWidget altra;
    altra.setWindowTitle(QStringLiteral("Elenco clienti"));
    altra.show();

    aperta()->close(); // its unload arms the close polling
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Globali::FrmP->oiChiudi, 1);
    EXPECT_TRUE(Globali::FrmP->timChiudi.isActive());
    EXPECT_EQ(VerificaChiusura(), QStringLiteral("Elenco clienti"));
    tickChiusura();
    EXPECT_EQ(codiceChiusura, -100);
    EXPECT_TRUE(Globali::FrmP->timChiudi.isActive()); // still polling

    altra.close();
    // A window left loaded but hidden does not keep the program running unseen.
    QWidget nascosta;
    nascosta.setWindowTitle(QStringLiteral("Nascosta"));
    EXPECT_TRUE(VerificaChiusura().isEmpty());
    tickChiusura();
    EXPECT_EQ(codiceChiusura, 0);
    EXPECT_FALSE(Globali::FrmP->timChiudi.isActive());
}

TEST_F(DispatcherTest, TheCloseTimerItselfEndsTheProgram)
{
    ASSERT_TRUE(ApriFormPerNome(QStringLiteral("frmProva"), chiavi()));
    Globali::FrmP->timChiudi.setInterval(20);
    aperta()->close();
    EXPECT_TRUE(attendi([&] { return codiceChiusura == 0; }, 5000));
}

TEST_F(DispatcherTest, TheLastWindowClosedEndsTheProgramWithoutWaitingForAPoll)
{
    ASSERT_TRUE(ApriFormPerNome(QStringLiteral("frmProva"), chiavi()));
    ASSERT_EQ(Globali::FrmP->timChiudi.interval(), 3000);
    aperta()->close();
    // No tick of the 3-second poll: the check runs as soon as events are served.
    QCoreApplication::processEvents();
    EXPECT_EQ(codiceChiusura, 0);
}

TEST_F(DispatcherTest, WaitTicksAndAModalWindowKeepTheProgramAlive)
{
    AvviaTimerChiusura(2);
    EXPECT_EQ(Globali::FrmP->oiTmpAttesa, 2);
    tickChiusura();
    tickChiusura();
    EXPECT_EQ(codiceChiusura, -100);

    QDialog modale;
    modale.setWindowModality(Qt::ApplicationModal);
    modale.show();
    ASSERT_TRUE(attendi([&] { return QApplication::activeModalWidget() != nullptr; }));
    EXPECT_EQ(VerificaChiusura(), QStringLiteral("Maschera Modal"));
    tickChiusura();
    EXPECT_EQ(codiceChiusura, -100);
    modale.close();
    tickChiusura();
    EXPECT_EQ(codiceChiusura, 0);
}

TEST_F(DispatcherTest, AFailedStartClosesInOrderWithExitCodeOne)
{
    AvviaChiusura();
    EXPECT_EQ(Globali::FrmP->codiceUscita, 1);
    EXPECT_TRUE(attendi([&] { return codiceChiusura == 1; }));
    EXPECT_EQ(Globali::MenuComandi, nullptr);
    EXPECT_EQ(Globali::MenuClient, nullptr);
}
