// The socket menu client against the fake menu program: requests, commands
// with their answers, errors the host reports, and a host that goes away.
#include "components/menu/ClienteMenuSocket.h"
#include "components/menu/ValoriJson.h"
#include "components/util/VbErrore.h"
#include "support/HostMenuFinto.h"

#include "support/StampaQt.h"
#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

class ClienteMenuSocketTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        host.ImpostaParametro(QStringLiteral("Ditta.Moneta"), QStringLiteral("EUR"));
        host.ImpostaParametro(QStringLiteral("OSPlatform"), 2);
        host.ImpostaParametro(QStringLiteral("EmailFlagNotifica"), true);
        client.ImpostaTimeout(2000);
        client.Connetti(host.NomeServer());
        ASSERT_TRUE(host.AttendiConnessione());
    }
    HostMenuFinto host;
    ClienteMenuSocket client;
};

TEST_F(ClienteMenuSocketTest, RequestsCarryTheirArgumentsAndAnswersKeepTheirTypes)
{
    EXPECT_EQ(client.LeggiPar(QStringLiteral("ditta.moneta")), QStringLiteral("EUR"));
    EXPECT_EQ(client.LeggiPar(QStringLiteral("OSPlatform")), 2);
    EXPECT_EQ(client.LeggiPar(QStringLiteral("EmailFlagNotifica")).typeId(), QMetaType::Bool);
    EXPECT_EQ(client.LeggiPar(QStringLiteral("Manca"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(client.LeggiPar(QStringLiteral("Personal.Tutti.§Manca")), ClienteMenu::NonTrovato);

    client.ScriviPar(QStringLiteral("EmailTipoNum"), 2);
    EXPECT_EQ(host.Parametro(QStringLiteral("emailtiponum")), 2);
    client.ScriviPar(QStringLiteral("LeggiIniComuni"), 1);
    client.ImpostaValore(QStringLiteral("PdcProgGruppo"), 12, true, QStringLiteral("01"));
    client.Richiesta(QStringLiteral("Tutti"), QStringLiteral("TipoGruppoMastroContoFisso"));
    client.PassaAProgramma(QStringLiteral("Clienti"), QStringLiteral("frmClienti"),
                           QStringLiteral("0103001"));
    client.Attiva(QStringLiteral("Tutti"), 1234);
    client.ParametroHost(QStringLiteral("MsgBox"), QStringLiteral("Tutti"), QStringLiteral("Errore(5): x"));
    EXPECT_EQ(client.NomeTerminale(), QStringLiteral("TERMINALE-PROVA"));

    const QJsonObject iv = host.Richieste(QStringLiteral("impostaValore")).value(0);
    EXPECT_EQ(iv.value(QStringLiteral("name")).toString(), QStringLiteral("PdcProgGruppo"));
    EXPECT_EQ(iv.value(QStringLiteral("kind")).toInt(), 12);
    EXPECT_TRUE(iv.value(QStringLiteral("flag")).toBool());
    EXPECT_EQ(iv.value(QStringLiteral("value")).toString(), QStringLiteral("01"));
    const QJsonObject pa = host.Richieste(QStringLiteral("passaAProgramma")).value(0);
    EXPECT_EQ(pa.value(QStringLiteral("key")).toString(), QStringLiteral("0103001"));
    EXPECT_EQ(host.Richieste(QStringLiteral("attiva")).value(0).value(QStringLiteral("procId")).toInt(),
              1234);
    EXPECT_EQ(host.Richieste(QStringLiteral("parametro")).value(0).value(QStringLiteral("scope")).toString(),
              QStringLiteral("Tutti"));
    // An Integer written stays a number on the wire.
    EXPECT_TRUE(
        host.Richieste(QStringLiteral("scriviPar")).value(1).value(QStringLiteral("value")).isDouble());

    QStringList ops;
    for (const QJsonObject &o : host.Richieste())
        ops << o.value(QStringLiteral("op")).toString();
    EXPECT_EQ(ops, (QStringList{"leggiPar", "leggiPar", "leggiPar", "leggiPar", "leggiPar", "scriviPar",
                                "scriviPar", "impostaValore", "richiesta", "passaAProgramma", "attiva",
                                "parametro", "nomeTerminale"}));
}

TEST_F(ClienteMenuSocketTest, CommandsAreAnsweredWithTheHandlersText)
{
    QStringList visti;
    QObject::connect(
        &client, &ClienteMenu::EseguiComando, [&](const QString &comando, const QVariant &param) {
            visti << comando + QLatin1Char('|') + param.toString();
            if (comando == QStringLiteral("fine"))
                client.RispondiComando(QStringLiteral("No Chiudi"));
            if (comando == QStringLiteral("keyprgprim"))
                // A handler may ask the host something before it answers.
                client.RispondiComando(client.LeggiPar(QStringLiteral("Ditta.Moneta")).toString());
        });
    EXPECT_EQ(host.InviaComando(QStringLiteral("fine")), QStringLiteral("No Chiudi"));
    EXPECT_EQ(host.InviaComando(QStringLiteral("keyprgprim")), QStringLiteral("EUR"));
    EXPECT_EQ(host.InviaComando(QStringLiteral("passaa"), QStringLiteral("frmclienti")), QString());
    EXPECT_EQ(visti, (QStringList{"fine|", "keyprgprim|", "passaa|frmclienti"}));
}

// A command that arrives while we wait on the host runs only after our call
// has its answer.
TEST_F(ClienteMenuSocketTest, CommandArrivingDuringACallWaitsForIt)
{
    QStringList ordine;
    QObject::connect(&client, &ClienteMenu::EseguiComando, [&](const QString &comando, const QVariant &) {
        ordine << comando;
        client.RispondiComando(QStringLiteral("ok ") + comando);
    });
    host.ImpostaMuto(true);
    const int id = host.InviaComandoSenzaAttesa(QStringLiteral("esiste"));
    client.ImpostaTimeout(300);
    EXPECT_THROW(client.LeggiPar(QStringLiteral("Ditta.Moneta")), VbErrore); // no answer: timeout
    ordine << QStringLiteral("dopo la chiamata");
    host.ImpostaMuto(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.RispostaComando(id).has_value(); }, 3000));
    EXPECT_EQ(*host.RispostaComando(id), QStringLiteral("ok esiste"));
    EXPECT_EQ(ordine, (QStringList{"dopo la chiamata", "esiste"}));
}

TEST_F(ClienteMenuSocketTest, ErrorsOfTheHostAreRaisedWithTheirNumber)
{
    host.ImpostaErrore(QStringLiteral("scriviPar"), 3146, QStringLiteral("Scrittura rifiutata"));
    try {
        client.ScriviPar(QStringLiteral("X"), 1);
        ADD_FAILURE() << "no error";
    } catch (const VbErrore &e) {
        EXPECT_EQ(e.numero(), 3146);
        EXPECT_EQ(e.descrizione(), QStringLiteral("Scrittura rifiutata"));
    }
    EXPECT_EQ(client.LeggiPar(QStringLiteral("OSPlatform")), 2); // the link is still usable
}

TEST_F(ClienteMenuSocketTest, HostThatVanishesFailsTheCallsAndIsReported)
{
    QSignalSpy scomparso(&client, &ClienteMenu::HostScomparso);
    host.Chiudi();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scomparso.count() == 1; }, 3000));
    for (int i = 0; i < 2; ++i) {
        try {
            client.LeggiPar(QStringLiteral("Ditta.Moneta"));
            ADD_FAILURE() << "no error";
        } catch (const VbErrore &e) {
            EXPECT_EQ(e.numero(), ClienteMenu::ErroreHostAssente);
        }
    }
    EXPECT_FALSE(client.Connesso());
}

TEST(ClienteMenuSocketConnessione, NoServerIsTheHostMissingError)
{
    ClienteMenuSocket c;
    try {
        c.Connetti(QStringLiteral("clienti-nessun-menu-in-ascolto"), 500);
        ADD_FAILURE() << "no error";
    } catch (const VbErrore &e) {
        EXPECT_EQ(e.numero(), ClienteMenu::ErroreHostAssente);
    }
}

} // namespace

namespace
{

TEST(ValoriJson, ValuesKeepTheirKindBothWays)
{
    const QVariantMap lancio{{QStringLiteral("form"), QStringLiteral("frmclienti")},
                             {QStringLiteral("KeySecLancia"), QStringLiteral("0103001")},
                             {QStringLiteral("Livello"), 2}};
    const QVariant valori[] = {
        QStringLiteral("EUR"), 2024, true, 1936.27, QVariant(), lancio, QVariantList{1, QStringLiteral("a")}};
    for (const QVariant &v : valori) {
        const QVariant indietro = ValoreDaJson(ValoreJson(v));
        EXPECT_EQ(indietro, v) << v.toString().toStdString();
        EXPECT_EQ(indietro.typeId(), v.typeId()) << v.toString().toStdString();
    }
    EXPECT_EQ(ValoreDaJson(QJsonValue(3.0)).typeId(), QMetaType::Int);
    EXPECT_EQ(ValoreDaJson(QJsonValue(1e12)).typeId(), QMetaType::Double); // beyond Long
}

} // namespace
