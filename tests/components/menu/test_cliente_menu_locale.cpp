// The standalone menu client: parameters from its JSON files, the not-found
// marker, writes, logged operations and the INI-file commands.
#include "components/forms/RisposteProgrammate.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/util/VbErrore.h"

#include "support/StampaQt.h"
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

void ScriviJson(const QString &percorso, const QByteArray &testo)
{
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(testo);
}

QJsonObject LeggiJson(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

class ClienteMenuLocaleTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(QStringLiteral("menu-parametri.json"));
        comuni = dir.filePath(QStringLiteral("menu-parametri-comuni.json"));
        ScriviJson(file, R"({"Ditta.Moneta":"EUR","CoGe.AnnoCorr":2024,"OSPlatform":2,
                             "EmailFlagNotifica":true,"Cambio":1936.27,"Vuoto":null,
                             "Personal.Tutti.§DichIntentiQualeTot":"F","EmailServerSMTP1":"smtp.ditta.it"})");
        ScriviJson(comuni, R"({"Ditta.Moneta":"LIT","VersMenu":"5.2"})");
    }
    QTemporaryDir dir;
    QString file, comuni;
};

TEST_F(ClienteMenuLocaleTest, ReadsParametersWithTheirTypesAndWithoutRegardToCase)
{
    ClienteMenuLocale c(file);
    c.Carica();
    struct Caso {
        const char *nome;
        QVariant predef;
        QVariant atteso;
    };
    const Caso casi[] = {
        {"ditta.moneta", QString(), QStringLiteral("EUR")}, // this terminal's file wins over the common one
        {"DITTA.MONETA", QString(), QStringLiteral("EUR")},
        {"VersMenu", QString(), QStringLiteral("5.2")}, // only in the common file
        {"CoGe.AnnoCorr", QString(), 2024},
        {"OSPlatform", QString(), 2},
        {"EmailFlagNotifica", QString(), true},
        {"Cambio", QString(), 1936.27},
        {"Inesistente", QStringLiteral("xyz"), QStringLiteral("xyz")},
        {"Inesistente", QString(), QString()},
        {"personal.tutti.§dichintentiqualetot", QString(), QStringLiteral("F")},
        {"Personal.Tutti.§StampantiNoCassetti", QString(), ClienteMenu::NonTrovato},
        {"Personal.Clienti.§Altro", QStringLiteral("D"), ClienteMenu::NonTrovato},
    };
    for (const Caso &k : casi) {
        QVariant v;
        c.LeggiPar(QString::fromUtf8(k.nome), k.predef, v);
        EXPECT_EQ(v, k.atteso) << k.nome;
        EXPECT_EQ(v.typeId(), k.atteso.typeId()) << k.nome;
    }
    // A parameter held as Null is held: it answers Null, not the default.
    EXPECT_TRUE(c.Esiste(QStringLiteral("vuoto")));
    EXPECT_FALSE(c.LeggiPar(QStringLiteral("Vuoto"), QStringLiteral("d")).isValid());
}

TEST_F(ClienteMenuLocaleTest, MissingFileHoldsNothingAndBrokenFileIsAnError)
{
    ClienteMenuLocale vuoto(dir.filePath(QStringLiteral("non-c-e.json")));
    EXPECT_NO_THROW(vuoto.Carica());
    EXPECT_TRUE(vuoto.Nomi().isEmpty());

    for (const QByteArray &rotto : {QByteArray("{\"a\": "), QByteArray("[1,2]")}) {
        ScriviJson(file, rotto);
        ClienteMenuLocale c(file);
        try {
            c.Carica();
            ADD_FAILURE() << "no error for " << rotto.constData();
        } catch (const VbErrore &e) {
            EXPECT_TRUE(e.descrizione().contains(file)) << e.descrizione().toStdString();
        }
    }
}

TEST_F(ClienteMenuLocaleTest, WritesStayInMemoryUnlessSavingIsOn)
{
    ClienteMenuLocale c(file);
    c.Carica();
    c.ScriviPar(QStringLiteral("ditta.MONETA"), QStringLiteral("USD"));
    c.ScriviPar(QStringLiteral("EmailTipoNum"), 2);
    EXPECT_EQ(c.LeggiPar(QStringLiteral("Ditta.Moneta")), QStringLiteral("USD"));
    EXPECT_EQ(c.LeggiPar(QStringLiteral("emailtiponum")), 2);
    EXPECT_EQ(LeggiJson(file).value(QStringLiteral("Ditta.Moneta")).toString(), QStringLiteral("EUR"));

    c.ImpostaSalvataggio(true);
    c.ScriviPar(QStringLiteral("EmailToNum"), 3);
    const QJsonObject o = LeggiJson(file);
    EXPECT_EQ(o.value(QStringLiteral("EmailToNum")).toInt(), 3);
    EXPECT_EQ(o.value(QStringLiteral("CoGe.AnnoCorr")).toInt(), 2024); // the rest of the file is kept
    // A name written in another case replaces the stored one instead of doubling it.
    c.ScriviPar(QStringLiteral("ditta.moneta"), QStringLiteral("CHF"));
    int quante = 0;
    for (const QString &k : LeggiJson(file).keys())
        quante += k.compare(QStringLiteral("Ditta.Moneta"), Qt::CaseInsensitive) == 0;
    EXPECT_EQ(quante, 1);
}

TEST_F(ClienteMenuLocaleTest, HostOperationsAreRecordedInOrder)
{
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    ClienteMenuLocale c(file);
    c.Carica();
    c.ImpostaValore(QStringLiteral("PdcProgTipo"), 12, true, QStringLiteral("3"));
    c.Richiesta(QStringLiteral("Tutti"), QStringLiteral("TipoGruppoMastroContoFisso"));
    c.PassaAProgramma(QStringLiteral("Clienti"), QStringLiteral("frmClienti"), QStringLiteral("0103001"));
    c.Attiva(QStringLiteral("Tutti"), 4711);
    c.ParametroHost(QStringLiteral("MsgBox"), QStringLiteral("Tutti"), QStringLiteral("Errore(5): prova"));

    ASSERT_EQ(c.Registro().size(), 5);
    EXPECT_EQ(c.Registro()[0].nome, QStringLiteral("ImpostaValore"));
    EXPECT_EQ(
        c.Registro()[2].argomenti,
        (QVariantList{QStringLiteral("Clienti"), QStringLiteral("frmClienti"), QStringLiteral("0103001")}));
    EXPECT_EQ(c.ValorePerLancio(QStringLiteral("pdcprogtipo")), QStringLiteral("3"));
    EXPECT_EQ(c.Messaggi(), QStringList{QStringLiteral("Errore(5): prova")});
    EXPECT_EQ(
        RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgHost).value(QStringLiteral("testo")),
        QStringLiteral("Errore(5): prova"));
    RisposteProgrammate::Azzera();
}

TEST_F(ClienteMenuLocaleTest, TerminalNameAndLaunchData)
{
    ScriviJson(file, R"({"NomeTerminale":"CASSA2","ChiLancia":"Fatture","KeySecLancia":"0103001",
                         "ParamLancia":"RO=/RO"})");
    ClienteMenuLocale c(file);
    c.Carica();
    EXPECT_EQ(c.NomeTerminale(), QStringLiteral("CASSA2"));
    const DatiLancio d = c.LeggiDatiLancio();
    EXPECT_EQ(d.ChiLancia, QStringLiteral("Fatture"));
    EXPECT_EQ(d.KeySecLancia, QStringLiteral("0103001"));
    EXPECT_EQ(d.ParamLancia, QStringLiteral("RO=/RO"));

    ClienteMenuLocale senza(dir.filePath(QStringLiteral("altro.json")));
    EXPECT_FALSE(senza.NomeTerminale().isEmpty()); // the machine's name
    EXPECT_TRUE(senza.LeggiDatiLancio().ChiLancia.isEmpty());
}

TEST_F(ClienteMenuLocaleTest, HostCommandsReachTheHandlerAndCarryItsAnswer)
{
    ClienteMenuLocale c(file);
    QStringList visti;
    QObject::connect(&c, &ClienteMenu::EseguiComando, [&](const QString &comando, const QVariant &param) {
        visti << comando + QLatin1Char(':') + param.toString();
        if (comando == QStringLiteral("fine"))
            c.RispondiComando(QStringLiteral("No Chiudi"));
        if (comando == QStringLiteral("annidato")) {
            EXPECT_EQ(c.EseguiComandoHost(QStringLiteral("fine"), QString()), QStringLiteral("No Chiudi"));
        }
        if (comando == QStringLiteral("guasto"))
            throw VbErrore(91, QStringLiteral("Variabile oggetto non impostata"));
    });
    EXPECT_EQ(c.EseguiComandoHost(QStringLiteral("fine"), QString()), QStringLiteral("No Chiudi"));
    EXPECT_EQ(c.EseguiComandoHost(QStringLiteral("esiste"), QString()), QString());
    // A nested command keeps its own answer and leaves the outer one alone.
    EXPECT_EQ(c.EseguiComandoHost(QStringLiteral("annidato"), 7), QString());
    EXPECT_EQ(c.EseguiComandoHost(QStringLiteral("guasto"), QString()),
              QStringLiteral("Err:Variabile oggetto non impostata"));
    EXPECT_EQ(visti, (QStringList{"fine:", "esiste:", "annidato:7", "fine:", "guasto:"}));
}

// Saving with this terminal's level writes the flagged keys' current values;
// deleting at the common level removes them there; re-reading brings the host
// back to what the files say.
TEST_F(ClienteMenuLocaleTest, IniCommandsSaveDeleteAndReread)
{
    ClienteMenuLocale c(file);
    c.Carica();
    c.ScriviPar(QStringLiteral("EmailServerSMTP1"), QStringLiteral("smtp.nuovo.it"));
    c.ScriviPar(QStringLiteral("EmailPwd1"), QStringLiteral("segreta"));
    c.ScriviPar(QStringLiteral("UsaPdfCreator"), QStringLiteral("S"));

    // Configuration 1: every key flagged but the password (15).
    QString conf1(22, u'S');
    conf1[14] = u'N';
    const QString altre = QStringLiteral("XXXXXNXNNNNNXNNXNNNNNX");
    c.ScriviPar(QStringLiteral("ScriviIniComuni"),
                QStringLiteral("+p") + conf1 + altre + altre + QStringLiteral("V"));
    QJsonObject o = LeggiJson(file);
    EXPECT_EQ(o.value(QStringLiteral("EmailServerSMTP1")).toString(), QStringLiteral("smtp.nuovo.it"));
    EXPECT_EQ(o.value(QStringLiteral("UsaPdfCreator")).toString(), QStringLiteral("S"));
    EXPECT_FALSE(o.contains(QStringLiteral("EmailPwd1")));

    ScriviJson(comuni, R"({"UsaPdf995":"S","EmailServerSMTP1":"smtp.comune.it","VersMenu":"5.2"})");
    QString soloPdf995(22, u'N');
    soloPdf995[1] = u'S';
    c.ScriviPar(QStringLiteral("ScriviIniComuni"),
                QStringLiteral("-g") + soloPdf995 + altre + altre + QStringLiteral("V"));
    o = LeggiJson(comuni);
    EXPECT_FALSE(o.contains(QStringLiteral("UsaPdf995")));
    EXPECT_EQ(o.value(QStringLiteral("VersMenu")).toString(), QStringLiteral("5.2"));

    c.ScriviPar(QStringLiteral("EmailServerSMTP1"), QStringLiteral("non salvato"));
    c.ScriviPar(QStringLiteral("EmailPwd1"), QStringLiteral("non salvata"));
    c.ScriviPar(QStringLiteral("LeggiIniComuni"), 1);
    EXPECT_EQ(c.LeggiPar(QStringLiteral("EmailServerSMTP1")), QStringLiteral("smtp.nuovo.it"));
    EXPECT_FALSE(c.Esiste(QStringLiteral("EmailPwd1"))); // in no file
    EXPECT_EQ(c.LeggiPar(QStringLiteral("Ditta.Moneta")), QStringLiteral("EUR"));

    EXPECT_THROW(c.ScriviPar(QStringLiteral("ScriviIniComuni"), QStringLiteral("+p")), VbErrore);
}

} // namespace
