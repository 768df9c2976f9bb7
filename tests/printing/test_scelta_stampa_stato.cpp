// The print-choice dialog keeps showing what the options hold after each
// change: the status line after a new preview scale, the separator and
// qualifier frames after a change of export format, the trays and papers
// after the automatic PDF name switches the printer.
#include "BancoSceltaStampa.h"

#include <QGroupBox>
#include <QLabel>

TEST_F(BancoSceltaStampa, ANewPreviewScaleShowsInTheStatusLine)
{
    FrmSceltaStam::ImpostaDialogoScala([](QWidget *, int &scala, int &) {
        scala = 120;
        return true;
    });
    opz.Fatt(0.67f);
    opz.oiStaVid(OpzStampa::UscitaVideo);
    FrmSceltaStam &d = apri();
    ASSERT_TRUE(d.LabStaAttuale->text().contains(QStringLiteral("Video (scala 67%)")))
        << d.LabStaAttuale->text().toStdString();
    d.ComOpz(1)->click();
    EXPECT_TRUE(d.LabStaAttuale->text().contains(QStringLiteral("Video (scala 120%)")))
        << d.LabStaAttuale->text().toStdString();
}

// "Cambia" twice: the scale bar starts where the user left it, for every
// value of the bar and whatever the screen's display factor (none, or one
// of those the start-up allows).
TEST_F(BancoSceltaStampa, TheScaleChosenComesBackTheNextTime)
{
    int scelta = 0, mostrata = 0;
    bool conferma = true;
    FrmSceltaStam::ImpostaDialogoScala([&](QWidget *, int &scala, int &) {
        mostrata = scala;
        scala = scelta;
        return conferma;
    });
    opz.oiStaVid(OpzStampa::UscitaVideo);
    FrmSceltaStam &d = apri();
    for (const double risVid : {-2.0, 0.0, 0.5, 0.8, 1.25, 1.7, 2.0}) {
        Globali::RisVidStaVid = risVid;
        for (scelta = 50; scelta <= 180; ++scelta) {
            conferma = true;
            d.ComOpz(1)->click();
            conferma = false;
            d.ComOpz(1)->click();
            ASSERT_EQ(mostrata, scelta) << "display factor " << risVid << ", Fatt " << opz.Fatt();
        }
    }
}

TEST_F(BancoSceltaStampa, OnlyTheTextFormatChoosesSeparatorAndQualifier)
{
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileForm(OpzStampa::FormatoTesto);
    FrmSceltaStam &d = apri();
    const struct {
        int formato;
        bool scelti;
    } passi[] = {
        {OpzStampa::FormatoTesto, true},
        {OpzStampa::FormatoCompatibileExcel, false},
        {OpzStampa::FormatoTesto, true},
        {OpzStampa::FormatoExcel, false},
    };
    for (const auto &p : passi) {
        opz.FileForm(p.formato);
        d.VisDecodFile();
        EXPECT_EQ(d.Fra(1)->isEnabled(), p.scelti) << "format " << p.formato;
        EXPECT_EQ(d.Fra(2)->isEnabled(), p.scelti) << "format " << p.formato;
    }
    // The spreadsheet-compatible file keeps its fixed separator and qualifier.
    opz.FileForm(OpzStampa::FormatoCompatibileExcel);
    opz.SepCampi(QStringLiteral("\t"));
    d.VisDecodFile();
    EXPECT_EQ(opz.SepCampi(), QStringLiteral(";"));
    EXPECT_TRUE(d.OptSepCampi(1)->isChecked());
}

TEST_F(BancoSceltaStampa, ThePdfPrinterOfTheAutomaticNameHasNoTrayOrPaper)
{
    host->ScriviPar(QStringLiteral("UsaPdfCreator"), QStringLiteral("S"));
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("Laser"));
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 257);
    opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 11);
    FrmSceltaStam &d = apri();
    mostra();
    ASSERT_EQ(d.cboCassetti->count(), 4);
    ASSERT_TRUE(d.cboTipoCarta->currentText().startsWith(QStringLiteral("11 - ")));

    d.ChePdfAutom->click();
    ASSERT_EQ(opz.osNomeStampante(), QStringLiteral("PDFCreator"));
    EXPECT_EQ(voci(d.cboCassetti), QStringList{QStringLiteral("Nessuna impostazione - Default")});
    EXPECT_EQ(voci(d.cboTipoCarta), QStringList{QStringLiteral("Nessuna impostazione - Default")});
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 0);
    EXPECT_FALSE(d.LabStaAttuale->text().contains(QStringLiteral("cassetto")))
        << d.LabStaAttuale->text().toStdString();

    // Back to the laser: its trays and papers again.
    d.ChePdfAutom->click();
    ASSERT_EQ(opz.osNomeStampante(), QStringLiteral("Laser"));
    EXPECT_EQ(d.cboCassetti->count(), 4);
    EXPECT_EQ(d.cboTipoCarta->count(), 3);
}
