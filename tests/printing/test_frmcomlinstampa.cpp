// The list-print options dialog: one print at a time, the orientation and
// type rules with their messages, the engine wiring, a printer that cannot
// be made current, the font, the print-choice dialog through its contract,
// the default printer, and a print that ends abnormally.
#include "SupportoFinestreStampa.h"

#include "components/forms/UtilFinestre.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/VbErrore.h"
#include "printing/FrmComlinStampa.h"
#include "printing/FrmSceltaStam.h"
#include "printing/FrmVStampa.h"
#include "printing/frmStampaInCorso.h"

#include "components/util/ProfiloIni.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>

namespace
{

class DialogoStampa : public BancoFinestreStampa
{
  protected:
    FrmComlinStampa *Apri()
    {
        FrmComlinStampa *d = FrmComlinStampaPredef();
        d->ApriPerLista(lista);
        return d;
    }
    static void Nessuno(ControlArray<QRadioButton> &opzioni)
    {
        for (int i = 0; i <= 1; ++i) {
            opzioni(i)->setAutoExclusive(false);
            opzioni(i)->setChecked(false);
            opzioni(i)->setAutoExclusive(true);
        }
    }
    ComponenteProva lista;
};

} // namespace

TEST_F(DialogoStampa, StartsWithAllColumnsPortraitAndWiresTheEngine)
{
    FrmComlinStampa *d = Apri();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Stampa dati della lista"));
    EXPECT_EQ(d->ogComlin(), &lista);
    d->CmdStampa_Click();
    ASSERT_EQ(lista.richieste.size(), 1);
    EXPECT_EQ(lista.richieste[0].tipo, QStringLiteral("T"));
    EXPECT_EQ(lista.richieste[0].orientamento, 1);
    EXPECT_EQ(lista.richieste[0].font.family(), QStringLiteral("Arial"));
    EXPECT_EQ(lista.richieste[0].font.pointSize(), 10);
    EXPECT_EQ(lista.motore.ofrmVStampa(), FrmVStampaAperta());
    EXPECT_EQ(lista.motore.ofrmStampaInCorso(), frmStampaInCorsoPredef());
    EXPECT_EQ(frmStampaInCorsoPredef()->ogStampa(), &lista.motore);
    EXPECT_EQ(lista.motore.ogOpzSta(), &d->OpzioniStampa());
    EXPECT_EQ(lista.motore.ogPrtStam().DeviceName, QStringLiteral("Laser"));
    // The dialog steps aside and lets the component go.
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->ogComlin(), nullptr);

    // Again with the other options: visible columns, landscape.
    Apri();
    d->OptTipsta(0)->setChecked(true);
    d->OptOrientamento(0)->setChecked(true);
    d->CmdStampa_Click();
    ASSERT_EQ(lista.richieste.size(), 2);
    EXPECT_EQ(lista.richieste[1].tipo, QStringLiteral("V"));
    EXPECT_EQ(lista.richieste[1].orientamento, 2);
    EXPECT_TRUE(MsgBox().isEmpty());
}

TEST_F(DialogoStampa, OnlyOnePrintAtATime)
{
    FrmComlinStampa *d = Apri();
    const StatoStampa::InCorso altraStampa;
    d->CmdStampa_Click();
    EXPECT_TRUE(lista.richieste.isEmpty());
    EXPECT_EQ(MsgBox(), QStringList{QStringLiteral("Si può lanciare solo una stampa alla volta")});
    EXPECT_TRUE(MsgCom().isEmpty());
    // Nothing is wired either.
    EXPECT_EQ(lista.motore.ogOpzSta(), nullptr);
    EXPECT_TRUE(d->isVisible());
}

TEST_F(DialogoStampa, OrientationAndTypeMustBeChosenUnlessTheirFrameIsOff)
{
    FrmComlinStampa *d = Apri();
    Nessuno(d->OptOrientamento);
    Nessuno(d->OptTipsta);
    d->CmdStampa_Click();
    EXPECT_EQ(MsgBox(), QStringList{QStringLiteral("Scegliere un' orientamento")});
    EXPECT_TRUE(lista.richieste.isEmpty());
    // The refused request has wired the engine all the same.
    EXPECT_EQ(lista.motore.ogOpzSta(), &d->OpzioniStampa());

    d->OptOrientamento(1)->setChecked(true);
    d->CmdStampa_Click();
    EXPECT_EQ(MsgBox().last(), QStringLiteral("Scegliere un tipo di stampa"));
    EXPECT_TRUE(lista.richieste.isEmpty());

    // Frames switched off: the choices are not asked for.
    Nessuno(d->OptOrientamento);
    d->FraTipSta->setEnabled(false);
    d->fraOrientamento->setEnabled(false);
    d->CmdStampa_Click();
    ASSERT_EQ(lista.richieste.size(), 1);
    EXPECT_EQ(lista.richieste[0].tipo, QString());
    EXPECT_EQ(lista.richieste[0].orientamento, -1);
    EXPECT_EQ(MsgBox().size(), 2);
}

TEST_F(DialogoStampa, APrinterThatCannotBeMadeCurrentStopsTheStart)
{
    FrmComlinStampa *d = Apri();
    OpzStampa &opz = d->OpzioniStampa();
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("Sparita"));
    Globali::StampanteImpostata = 1;
    d->CmdStampa_Click();
    EXPECT_TRUE(lista.richieste.isEmpty());
    ASSERT_EQ(MsgCom().size(), 1);
    EXPECT_EQ(MsgCom()[0], QStringLiteral("Impossibile impostare la stampante predefinita\r\nper stampare su "
                                          "Sparita uscire dal programma e rientrare\r\nOppure scegliere "
                                          "un'altra stampante"));

    // To the preview the printer is not touched.
    opz.oiStaVid(OpzStampa::UscitaVideo);
    d->CmdStampa_Click();
    EXPECT_EQ(lista.richieste.size(), 1);
    EXPECT_EQ(StampanteApp::Corrente().DeviceName, QStringLiteral("Laser"));
    // An installed one is made current before the print.
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("Laser"));
    Apri()->CmdStampa_Click();
    EXPECT_EQ(lista.richieste.size(), 2);
    EXPECT_EQ(MsgCom().size(), 1);
}

TEST_F(DialogoStampa, FontChosenKeptAcrossPrintsUntilTheDialogCloses)
{
    FrmComlinStampa *d = Apri();
    QFont scelto(QStringLiteral("DejaVu Serif"), 14);
    RisposteProgrammate::Accoda(RisposteProgrammate::Font, scelto);
    d->CmdSceFont_Click();
    const QVariantMap mostrato = RisposteProgrammate::UltimoMostrato(RisposteProgrammate::Font);
    EXPECT_EQ(mostrato.value(QStringLiteral("titolo")).toString(),
              QStringLiteral("Scegliere il font per la stampa"));
    EXPECT_EQ(mostrato.value(QStringLiteral("font")).value<QFont>().family(), QStringLiteral("Arial"));
    // A cancelled dialog keeps the font.
    RisposteProgrammate::Accoda(RisposteProgrammate::Font, QVariant());
    d->CmdSceFont_Click();
    EXPECT_EQ(d->FontStampa().pointSize(), 14);

    // The font the print hands back becomes the dialog's.
    lista.durante = [](QFont &f) { f.setPointSize(8); };
    d->CmdStampa_Click();
    EXPECT_EQ(lista.richieste[0].font.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(d->FontStampa().pointSize(), 8);
    Apri();
    EXPECT_EQ(d->FontStampa().pointSize(), 8);
    d->CmdEsci_Click();
    EXPECT_FALSE(d->isVisible());
    Apri();
    EXPECT_EQ(d->FontStampa().family(), QStringLiteral("Arial"));
}

TEST_F(DialogoStampa, PrintChoiceDialogGetsTheOptionsWithoutFixedLength)
{
    FrmComlinStampa *d = Apri();
    // Through its contract: the options handed over before it shows.
    QPointer<FrmSceltaStam> vista;
    OpzStampa *ricevute = nullptr;
    RisposteProgrammate::ImpostaAzioneModale([&](QWidget *w) {
        vista = qobject_cast<FrmSceltaStam *>(w);
        if (vista)
            ricevute = vista->ogOpzSta();
        w->close();
    });
    d->comSceStam_Click();
    RisposteProgrammate::ImpostaAzioneModale({});
    ASSERT_TRUE(vista);
    EXPECT_EQ(ricevute, &d->OpzioniStampa());
    EXPECT_TRUE(d->OpzioniStampa().StaVidEscluso(OpzStampa::UscitaFissa));
    Attendi();
    EXPECT_FALSE(vista) << "the print-choice dialog is released";

    // What it changed shows in the current-printer line.
    FrmComlinStampa::ImpostaApriScelta([](OpzStampa &opz, QWidget *) {
        opz.oiStaVid(OpzStampa::UscitaStampante);
        opz.osNomeStampante(QStringLiteral("Ufficio"));
    });
    d->comSceStam_Click();
    FrmComlinStampa::ImpostaApriScelta({});
    EXPECT_TRUE(d->labStaAttuale->text().startsWith(QStringLiteral("Ufficio")))
        << d->labStaAttuale->text().toStdString();

    // "Stampante predefinita" goes back to the default printer.
    d->ComUsaDef_Click();
    EXPECT_EQ(d->OpzioniStampa().osNomeStampante(), QString());
    EXPECT_EQ(d->OpzioniStampa().NomePorta(), QStringLiteral("socket://10.0.0.5:9100"));
    EXPECT_TRUE(d->labStaAttuale->text().startsWith(QStringLiteral("Laser (predefinita)")))
        << d->labStaAttuale->text().toStdString();
}

// The automatic PDF and its e-mail, both switched on, belong to a print on a
// PDF printer: the current-printer line names them there alone.
TEST_F(DialogoStampa, TheCurrentPrinterLineNamesOnlyWhatTheOutputDoes)
{
    FrmComlinStampa *d = Apri();
    OpzStampa &opz = d->OpzioniStampa();
    opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
    opz.ImpostaParStampa(QStringLiteral("EmailInvia"), true);
    struct Caso {
        int uscita;
        const char *stampante, *riga;
    };
    const Caso casi[] = {
        {OpzStampa::UscitaFile, "", "File Formato Excel: /dati/lettere.xlsx"},
        {OpzStampa::UscitaVideo, "", "Video (scala 67%)"},
        {OpzStampa::UscitaFissa, "", "Lunghezza fissa su file: /dati/fissa.txt"},
        {OpzStampa::UscitaStampante, "", "Laser (predefinita) su socket://10.0.0.5:9100"},
        {OpzStampa::UscitaStampante, "PDFCreator", "PDFCreator - Pdf automatico - invio email"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.riga);
        FrmComlinStampa::ImpostaApriScelta([&c](OpzStampa &o, QWidget *) {
            o.oiStaVid(c.uscita);
            o.osNomeStampante(QString::fromUtf8(c.stampante));
            o.FileForm(OpzStampa::FormatoExcel);
            o.FileName(QStringLiteral("/dati/lettere.xlsx"));
            o.FisFileName(QStringLiteral("/dati/fissa.txt"));
        });
        d->comSceStam_Click();
        EXPECT_EQ(d->labStaAttuale->text(), QString::fromUtf8(c.riga));
    }
    FrmComlinStampa::ImpostaApriScelta({});
}

TEST_F(DialogoStampa, APrintThatEndsAbnormallyLeavesNoPrintRunning)
{
    FrmComlinStampa *d = Apri();
    lista.durante = [](QFont &) {
        const StatoStampa::InCorso stampa;
        throw VbErrore(91, QStringLiteral("Variabile oggetto non impostata"));
    };
    d->CmdStampa_Click();
    EXPECT_EQ(Globali::StaAtt, 0);
    ASSERT_EQ(MsgCom().size(), 1);
    EXPECT_TRUE(MsgCom()[0].contains(QStringLiteral("91"))) << MsgCom()[0].toStdString();
    // The next print starts.
    lista.durante = {};
    Apri()->CmdStampa_Click();
    EXPECT_EQ(lista.richieste.size(), 2);
    EXPECT_TRUE(MsgBox().isEmpty());
}

TEST_F(DialogoStampa, AComponentGoneBeforeThePrintIsNotCalled)
{
    FrmComlinStampa *d = FrmComlinStampaPredef();
    {
        ComponenteProva breve;
        d->ApriPerLista(breve);
    }
    EXPECT_EQ(d->ogComlin(), nullptr);
    d->CmdStampa_Click();
    EXPECT_FALSE(d->isVisible());
}

// The dialog made before any print opened it reads no saved options: a
// value out of range is told once, at the print whose options hold it.
TEST_F(DialogoStampa, SavedOptionsAreReadOnceAPrintOpensTheDialog)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("terminale.ini"));
    const QString primaIni = Globali::PathIni, primaComune = Globali::PathIniComune;
    Globali::PathIni = ini;
    Globali::PathIniComune.clear();
    ASSERT_TRUE(ProfiloIni::Scrivi(ini, QStringLiteral("Opzioni Stampa"), QStringLiteral("StaVid"),
                                   QStringLiteral("9")));
    {
        FrmComlinStampa nuovo;
        EXPECT_TRUE(MsgCom().isEmpty()) << MsgCom().join(u'\n').toStdString();
        lista.ImpostaSezioneStampa(QStringLiteral("StampaClienti"));
        nuovo.ApriPerLista(lista);
        ASSERT_EQ(MsgCom().size(), 1);
        EXPECT_TRUE(MsgCom().first().contains(QStringLiteral("StaVid=9, ammessi da 0 a 3")))
            << MsgCom().first().toStdString();
        nuovo.ApriPerLista(lista);
        EXPECT_EQ(MsgCom().size(), 1);
        nuovo.hide();
    }
    Globali::PathIni = primaIni;
    Globali::PathIniComune = primaComune;
}
