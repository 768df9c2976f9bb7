// The program's default printer in its own profile and the printer setters
// over the fake catalogue: device lines, driver and port entries, what a
// selection changes (never the system's default), the saved printer and the
// default-missing notice.
#include "components/forms/RisposteProgrammate.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/stampa/CatalogoFinto.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/ProfiloStampanti.h"
#include "components/stampa/StampanteApp.h"
#include "components/util/ProfiloIni.h"
#include "components/util/VbErrore.h"
#include "printing/AziendaUtilStampe.h"
#include "services/Globali.h"
#include "support/StampaQt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class Stampanti : public ::testing::Test
{
  public:
    void SetUp() override
    {
        auto c = std::make_unique<CatalogoFinto>();
        catalogo = c.get();
        catalogo->Aggiungi({QStringLiteral("Laser"), QStringLiteral("socket://10.0.0.5:9100"),
                            QStringLiteral("HP LaserJet"), 9, false});
        catalogo->Aggiungi({QStringLiteral("Ufficio"), QStringLiteral("ipp://srv/printers/ufficio"),
                            QStringLiteral("Kyocera, FS"), 9, false});
        catalogo->ImpostaPredefinita(QStringLiteral("Laser"));
        ImpostaCatalogo(std::move(c));
        profilo = dir.filePath(QStringLiteral("stampanti.ini"));
        ProfiloStampanti::ImpostaPercorso(profilo);
        Globali::PathIni = dir.filePath(QStringLiteral("terminale.ini"));
        Globali::PathIniComune.clear();
        Globali::StampanteImpostata = 0;
        Globali::SessioneTS = 0;
        StampanteApp::SeguiPredefinita();
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
    }
    void TearDown() override
    {
        ImpostaCatalogo(nullptr);
        ProfiloStampanti::ImpostaPercorso({});
        StampanteApp::SeguiPredefinita();
        Globali::StampanteImpostata = 0;
        Globali::PathIni.clear();
        Globali::MenuClient = nullptr;
        RisposteProgrammate::Azzera();
    }
    QStringList messaggi() const
    {
        QStringList r;
        for (const QVariantMap &m : RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom))
            r << m.value(QStringLiteral("testo")).toString();
        return r;
    }

    QTemporaryDir dir;
    QString profilo;
    CatalogoFinto *catalogo = nullptr;
};

struct CasoDevice {
    const char *riga; // nullptr: no line in the profile
    const char *nome, *mancante, *porta;
    bool trovata;
};

} // namespace

TEST_F(Stampanti, DefaultPrinterFromTheDeviceLine)
{
    const CasoDevice casi[] = {
        {nullptr, "Laser", "", "socket://10.0.0.5:9100", true},
        {"Ufficio,winspool,ipp://srv,15,45", "Ufficio", "", "ipp://srv,15,45", true},
        {"ufficio,x,y", "ufficio", "", "y", true},
        {"Assente,drv,LPT1:", "", "Assente", "LPT1:", false},
        {",,,", "", "", ",", false},
        {"SenzaVirgole", "", "", "", false},
        {"", "", "", "", false},
    };
    for (const CasoDevice &c : casi) {
        SCOPED_TRACE(c.riga ? c.riga : "(none)");
        if (c.riga)
            ASSERT_TRUE(ProfiloStampanti::ScriviDevice(QString::fromUtf8(c.riga)));
        else
            ProfiloStampanti::DimenticaDevice();
        QString nome = QStringLiteral("x"), mancante = QStringLiteral("x"), porta = QStringLiteral("x");
        const auto s = LeggiStampantePredefinita(nome, mancante, porta);
        EXPECT_EQ(s.has_value(), c.trovata);
        EXPECT_EQ(nome, QString::fromUtf8(c.nome));
        EXPECT_EQ(mancante, QString::fromUtf8(c.mancante));
        EXPECT_EQ(porta, QString::fromUtf8(c.porta));
    }
    // Commas inside a driver's name do not shift the port.
    ProfiloStampanti::ImpostaPercorso(dir.filePath(QStringLiteral("altro.ini")));
    catalogo->ImpostaPredefinita(QStringLiteral("Ufficio"));
    QString nome, mancante, porta;
    ASSERT_TRUE(LeggiStampantePredefinita(nome, mancante, porta));
    EXPECT_EQ(porta, QStringLiteral("ipp://srv/printers/ufficio"));
}

TEST_F(Stampanti, DriverAndPortEntries)
{
    struct Caso {
        const char *testo, *driver, *porta;
    } const casi[] = {{"winspool,Ne00:,15,45", "winspool", "Ne00:"},
                      {"winspool,LPT1:", "winspool", ""},
                      {"nessunavirgola", "", ""},
                      {",porta,", "", "porta"}};
    for (const Caso &c : casi) {
        QString driver = QStringLiteral("x"), porta = QStringLiteral("x");
        SeparaDriverPorta(QString::fromUtf8(c.testo), driver, porta);
        EXPECT_EQ(driver, QString::fromUtf8(c.driver)) << c.testo;
        EXPECT_EQ(porta, QString::fromUtf8(c.porta)) << c.testo;
    }
    ProfiloIni(profilo).ScriviStringa(QStringLiteral("PrinterPorts"), QStringLiteral("Remota"),
                                      QStringLiteral("drv,LPT2:,15,45"));
    QString driver;
    EXPECT_EQ(LeggiPortaStampante(QStringLiteral("Laser"), driver), QStringLiteral("socket://10.0.0.5:9100"));
    EXPECT_EQ(driver, QStringLiteral("HP LaserJet"));
    EXPECT_EQ(LeggiPortaStampante(QStringLiteral("Ufficio"), driver),
              QStringLiteral("ipp://srv/printers/ufficio"));
    EXPECT_EQ(driver, QStringLiteral("Kyocera  FS"));
    EXPECT_EQ(LeggiPortaStampante(QStringLiteral("Remota"), driver), QStringLiteral("LPT2:"));
    EXPECT_EQ(LeggiPortaStampante(QStringLiteral("Nessuna"), driver), QString());
    EXPECT_EQ(ProfiloStampanti::NomiPorte(),
              (QStringList{QStringLiteral("Laser"), QStringLiteral("Ufficio"), QStringLiteral("PDFCreator"),
                           QStringLiteral("PDF995"), QStringLiteral("Remota")}));
}

TEST_F(Stampanti, SelectingAPrinterSetsOnlyTheProgramsPrinter)
{
    OpzStampa opz;
    EXPECT_TRUE(ImpostaStampanteDaOpz(opz)) << "no printer named: the current one";
    EXPECT_EQ(StampanteApp::Corrente().DeviceName, QStringLiteral("Laser"));
    EXPECT_EQ(Globali::StampanteImpostata, 0);

    opz.osNomeStampante(QStringLiteral("ufficio"));
    EXPECT_TRUE(ImpostaStampanteDaOpz(opz));
    EXPECT_EQ(StampanteApp::Corrente().DeviceName, QStringLiteral("Ufficio"));
    EXPECT_EQ(Globali::StampanteImpostata, 1);
    // The system's default and the program's profile are untouched.
    EXPECT_EQ(catalogo->Predefinita(), QStringLiteral("Laser"));
    EXPECT_FALSE(ProfiloIni(profilo).EsisteChiave(QStringLiteral("windows"), QStringLiteral("device")));
    QString nome, mancante, porta;
    EXPECT_EQ(LeggiStampantePredefinita(nome, mancante, porta)->DeviceName, QStringLiteral("Laser"));

    // The default comes back as the current printer.
    RipristinaStampantePredef(nome, mancante, porta);
    EXPECT_EQ(StampanteApp::Corrente().DeviceName, QStringLiteral("Laser"));
    // Once a printer was set, one that is not installed is refused at once.
    opz.osNomeStampante(QStringLiteral("Remota"));
    EXPECT_FALSE(ImpostaStampanteDaOpz(opz));
    // A default printer that is not installed cannot be made current.
    ProfiloStampanti::ScriviDevice(QStringLiteral("Sparita,drv,LPT1:"));
    EXPECT_THROW(RipristinaStampantePredef(nome, mancante, porta), VbErrore);
    EXPECT_EQ(mancante, QStringLiteral("Sparita"));
}

TEST_F(Stampanti, APrinterKnownOnlyByItsEntryNeverBecomesTheDefault)
{
    ProfiloIni(profilo).ScriviStringa(QStringLiteral("PrinterPorts"), QStringLiteral("Remota"),
                                      QStringLiteral("drv,LPT2:,15,45"));
    OpzStampa opz;
    opz.osNomeStampante(QStringLiteral("Remota"));
    EXPECT_FALSE(ImpostaStampanteDaOpz(opz));
    EXPECT_EQ(opz.ParStampa(QStringLiteral("StampanteDefOri"), OpzStampa::TipoTesto).toString(), QString());
    EXPECT_FALSE(ProfiloIni(profilo).EsisteChiave(QStringLiteral("windows"), QStringLiteral("device")))
        << "the program's default must keep naming a printer that prints";
    EXPECT_FALSE(ImpostaStampanteWindows(QString()).isValid());
    EXPECT_TRUE(ImpostaStampanteWindows(QStringLiteral("Ufficio")).toBool());
    EXPECT_EQ(StampanteApp::Corrente().DeviceName, QStringLiteral("Ufficio"))
        << "the current printer follows the program's default";
    EXPECT_EQ(catalogo->Predefinita(), QStringLiteral("Laser"));

    // A list choice: installed or blank passes quietly; otherwise the user is told.
    EXPECT_TRUE(ImpostaStampanteDaNome(QStringLiteral("laser"), true, QString()));
    EXPECT_TRUE(ImpostaStampanteDaNome(QString(), true, QString()));
    EXPECT_TRUE(messaggi().isEmpty());
    EXPECT_FALSE(ImpostaStampanteDaNome(QStringLiteral("Remota"), true, QString()));
    EXPECT_EQ(messaggi(),
              QStringList{QStringLiteral("Impossibile impostare la stampante predefinita\r\n"
                                         "La stampa verrà fatta su Ufficio\r\n"
                                         "per stampare su Remota uscire dal programma e rientrare")});
}

TEST_F(Stampanti, AutomaticPdfSwitchGoesBackToTheSavedPrinter)
{
    OpzStampa opz(QStringLiteral("StampaClienti"));
    QString nome = QStringLiteral("PDFCreator");
    ASSERT_TRUE(ImpostaStampante(nome, opz, false));
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("PDFCreator"));
    EXPECT_EQ(opz.NomePorta(), QStringLiteral("PDF:"));

    // Back: the printer saved for this print, with the default tray and paper.
    ProfiloIni(Globali::PathIni)
        .ScriviStringa(QStringLiteral("StampaClienti"), QStringLiteral("NomeStampante"),
                       QStringLiteral("Ufficio"));
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 257);
    ASSERT_TRUE(ImpostaStampante(nome, opz, true));
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("Ufficio"));
    EXPECT_EQ(opz.NomePorta(), QStringLiteral("ipp://srv/printers/ufficio"));
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 0);
    EXPECT_EQ(nome, QStringLiteral("Ufficio"));
    // The print's printer is no longer the PDF one: nothing to go back from.
    nome = QStringLiteral("PDFCreator");
    EXPECT_FALSE(ImpostaStampante(nome, opz, true));

    // Nothing saved: the default printer.
    opz.osNomeStampante(QStringLiteral("PDFCreator"));
    ProfiloIni(Globali::PathIni)
        .EliminaChiave(QStringLiteral("StampaClienti"), QStringLiteral("NomeStampante"));
    ASSERT_TRUE(ImpostaStampante(nome, opz, true));
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("Laser"));
    EXPECT_EQ(opz.NomePorta(), QStringLiteral("socket://10.0.0.5:9100"));

    QString ignota = QStringLiteral("Ignota");
    EXPECT_FALSE(ImpostaStampante(ignota, opz, false));
}

TEST_F(Stampanti, MissingDefaultNoticeAndNetworkPrinters)
{
    ProfiloIni(Globali::PathIni)
        .ScriviStringa(QStringLiteral("StampaClienti"), QStringLiteral("NomeStampante"),
                       QStringLiteral("Ufficio"));
    MsgStampantePredefMancante(QStringLiteral("NomeStampante"), QStringLiteral("Sparita"),
                               QStringLiteral("StampaClienti"));
    EXPECT_EQ(messaggi(),
              QStringList{QStringLiteral("Nella lista delle stampanti non è disponibile la stampante "
                                         "predefinita Sparita\r\nUscire dal programma e rientrare per "
                                         "avere impostato la stampante predefinita")});
    EXPECT_EQ(ProfiloIni::Leggi(Globali::PathIni, QStringLiteral("StampaClienti"),
                                QStringLiteral("NomeStampante"), QStringLiteral("?")),
              QString());

    Stampante rete{QStringLiteral("\\\\server\\laser"), QString(), QString(), 0, false};
    EXPECT_FALSE(StampanteDiRete(rete)) << "no menu host, no platform";
    ClienteMenuLocale host;
    Globali::MenuClient = &host;
    host.ScriviPar(QStringLiteral("OSPlatform"), 2);
    EXPECT_TRUE(StampanteDiRete(rete));
    EXPECT_FALSE(StampanteDiRete(Stampante{QStringLiteral("Laser"), {}, {}, 0, false}));
    host.ScriviPar(QStringLiteral("OSPlatform"), 1);
    EXPECT_FALSE(StampanteDiRete(rete));
}
