// The host's command words, sent by a fake menu program over the socket
// back-end exactly as a menu program would, with the answers it gets back.
#include "SupportoShell.h"
#include "support/HostMenuFinto.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/menu/ClienteMenuSocket.h"
#include "services/Globali.h"
#include "shell/ApriForm.h"
#include "shell/ComandiMenu.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"
#include "shell/scAziUtilPrg.h"
#include "shell/scMenuComandiClie.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

namespace
{

class ComandiTest : public ShellTest
{
  protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        host.ImpostaParametro(QStringLiteral("ChiLancia"), QStringLiteral("Fatture"));
        host.ImpostaParametro(QStringLiteral("KeySecLancia"), QStringLiteral("0103001"));
        host.ImpostaParametro(QStringLiteral("ParamLancia"), QStringLiteral("/RO"));
        host.ImpostaParametro(QStringLiteral("MenuProcId"), 4321);
        auto *client = new ClienteMenuSocket;
        client->ImpostaTimeout(3000);
        client->Connetti(host.NomeServer());
        ASSERT_TRUE(host.AttendiConnessione());
        Globali::MenuComandi = new scMenuComandiClie(client);
        Globali::MenuClient = client;
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        delete Globali::MenuComandi;
        Globali::MenuComandi = nullptr;
        Globali::MenuClient = nullptr;
        Globali::KeyPrgPrim.clear();
        Globali::KeyPrgSec.clear();
        Globali::ParamPrgClie.clear();
    }
    QString invia(const QString &comando, const QVariant &param = QString())
    {
        return host.InviaComando(comando, param);
    }
    frmProva *prova() { return dynamic_cast<frmProva *>(FormAperto(QStringLiteral("frmProva"))); }

    HostMenuFinto host;
};

} // namespace

TEST_F(ComandiTest, SimpleWordsAnswerTheirValues)
{
    Globali::KeyPrgPrim = QStringLiteral("prpn");
    Globali::KeyPrgSec = QStringLiteral("PICF");
    const struct {
        const char *comando;
        QString risposta;
    } casi[] = {
        {"esiste", QStringLiteral("S")},
        {"ESISTE", QStringLiteral("S")},
        {"keyprgprim", QStringLiteral("prpn")},
        {"keyprgsec", QStringLiteral("PICF")},
        {"paramprgclie", QStringLiteral("Ok")},
        {"sconosciuto", QString()},
        {"ritornoa", QString()},
        {"comandoprgclie", QString()},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.comando);
        EXPECT_EQ(invia(QString::fromLatin1(c.comando), QStringLiteral("p1")), c.risposta);
    }
    EXPECT_EQ(Globali::ParamPrgClie.toString(), QStringLiteral("p1"));
    EXPECT_EQ(Globali::MenuComandi->UltCom, QStringLiteral("comandoprgclie"));
    EXPECT_EQ(Globali::MenuComandi->UltParam, QStringLiteral("p1"));
}

TEST_F(ComandiTest, PassaaOpensTheWindowWithTheHostsLaunchData)
{
    EXPECT_EQ(invia(QStringLiteral("passaa"), QStringLiteral("frmProva")), RispostaOk);
    frmProva *f = prova();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->keyLanciaAlCaricamento, QStringLiteral("Fatture"));
    EXPECT_EQ(f->keySecAlCaricamento, QStringLiteral("0103001"));
    EXPECT_EQ(f->paramAlCaricamento, QStringLiteral("/RO"));

    // "attiva" on the open window hands it the keys the parameter carries.
    EXPECT_EQ(invia(QStringLiteral("attiva"), QStringLiteral("frmprova;KeySec=0103009")), RispostaOk);
    EXPECT_EQ(frmProva::istanzeVive, 1);
    EXPECT_EQ(f->osKeySec(), QStringLiteral("0103009"));

    EXPECT_EQ(invia(QStringLiteral("passaa"), QStringLiteral("frmNessuna")), QString());
    EXPECT_EQ(messaggi(), QStringList{QString::fromUtf8(MsgImpossibileAprire)});
}

TEST_F(ComandiTest, WindowCommandsReachTheOpenWindows)
{
    ASSERT_EQ(invia(QStringLiteral("passaa"), QStringLiteral("frmProva")), RispostaOk);
    frmProva *f = prova();
    EXPECT_EQ(invia(QStringLiteral("ritornoa")), RispostaOk);
    EXPECT_EQ(invia(QStringLiteral("comandoprgclie"), QStringLiteral("Salva")), RispostaOk);
    EXPECT_EQ(f->comandi, (QStringList{QStringLiteral("Aggiorna"), QStringLiteral("Salva")}));
    EXPECT_EQ(invia(QStringLiteral("preppassaa")), RispostaOk);
    EXPECT_EQ(f->passaA, 1);
}

TEST_F(ComandiTest, AFailingWindowCommandIsReportedAndTheHostStillGetsItsAnswer)
{
    ASSERT_EQ(invia(QStringLiteral("passaa"), QStringLiteral("frmProva")), RispostaOk);
    EXPECT_EQ(invia(QStringLiteral("comandoprgclie"), QStringLiteral("ErroreVb")), QString());
    EXPECT_EQ(invia(QStringLiteral("comandoprgclie"), QStringLiteral("ErroreStd")), QString());
    EXPECT_EQ(messaggi(), (QStringList{QStringLiteral("Errore(3021): Nessun record corrente"),
                                       QStringLiteral("Errore(0): comando interrotto")}));
    // The link still works after the failures.
    EXPECT_EQ(invia(QStringLiteral("esiste")), RispostaSi);
}

TEST_F(ComandiTest, ElectronicInvoiceResultsAreShownAfterTheAnswer)
{
    EXPECT_EQ(invia(QStringLiteral("FEInvio"), QStringLiteral("Fattura 12/2024 inviata")), RispostaOk);
    EXPECT_EQ(invia(QStringLiteral("feattesa"), QStringLiteral("3 fatture in attesa")), RispostaOk);
    EXPECT_TRUE(attendi([&] { return messaggi().size() == 2; }));
    EXPECT_EQ(messaggi(), (QStringList{QStringLiteral("Fattura 12/2024 inviata"),
                                       QStringLiteral("3 fatture in attesa")}));
}

TEST_F(ComandiTest, FineIsRefusedWhileAWindowStaysOpenAndAcceptedAfterItCloses)
{
    ASSERT_EQ(invia(QStringLiteral("passaa"), QStringLiteral("frmProva")), RispostaOk);
    prova()->rifiutaChiusura = true;
    EXPECT_EQ(invia(QStringLiteral("fine")), RispostaNoChiudi);
    EXPECT_EQ(Globali::ChiusuraInCorso, 0);
    EXPECT_NE(prova(), nullptr);
    EXPECT_EQ(codiceChiusura, -100);

    prova()->rifiutaChiusura = false;
    EXPECT_EQ(invia(QStringLiteral("fine")), RispostaOk);
    EXPECT_EQ(Globali::ChiusuraInCorso, -1);
    EXPECT_TRUE(attendi([&] { return codiceChiusura == 0; }));
    // The window was opened by another program: its keys went back to the host.
    const QJsonObject pa = host.Richieste(QStringLiteral("passaAProgramma")).value(0);
    EXPECT_EQ(pa.value(QStringLiteral("key")).toString(), QStringLiteral("/RO"));
    EXPECT_FALSE(host.Richieste(QStringLiteral("attiva")).isEmpty());
    EXPECT_EQ(Globali::MenuClient, nullptr);
}

TEST_F(ComandiTest, FineIsRefusedWhileAModalWindowIsUp)
{
    QDialog modale;
    modale.setWindowModality(Qt::ApplicationModal);
    modale.show();
    ASSERT_TRUE(attendi([&] { return QApplication::activeModalWidget() != nullptr; }));
    EXPECT_EQ(invia(QStringLiteral("fine")), RispostaNoChiudi);
    EXPECT_TRUE(modale.isVisible());
}

TEST_F(ComandiTest, KeysLeftByALookupAreWhatTheHostReadsBack)
{
    AiutoDecod aiuto;
    scAziUtilPrg ricevitore(&aiuto);
    emit aiuto.LanciaKeyPrim(QStringLiteral("prpn"));
    emit aiuto.LanciaKeySec(QStringLiteral("PICF"));
    EXPECT_EQ(invia(QStringLiteral("keyprgprim")), QStringLiteral("prpn"));
    EXPECT_EQ(invia(QStringLiteral("keyprgsec")), QStringLiteral("PICF"));
    QWidget *frm = nullptr;
    emit aiuto.ClsMainMenuFrm(frm);
    EXPECT_EQ(frm, Globali::FrmP);
    ricevitore.ImpostaParametro(QStringLiteral("PathDbMenu"), QStringLiteral("/dati/menu.db"));
    EXPECT_EQ(aiuto.Parametri().ovLeggiPar(QStringLiteral("pathdbmenu")).toString(),
              QStringLiteral("/dati/menu.db"));
}
