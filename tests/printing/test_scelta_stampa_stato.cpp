// The print-choice dialog keeps showing what the options hold after each
// change: the status line after a new preview scale, the separator and
// qualifier frames after a change of export format, the trays and papers
// after the automatic PDF name switches the printer; a page typed and the
// dialog closed at once; the export format and the file name agreeing.
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

// A page typed and the dialog closed at once, the box never left: the
// close takes the box's value, checks it and keeps it.
TEST_F(BancoSceltaStampa, ClosingTakesThePageBeingTyped)
{
    const struct Caso {
        const char *descrizione;
        int casella; // where the page is typed
        int paginaA; // the end already chosen
        bool alt;    // closed by Alt+C, else by the close box
        bool chiusa;
    } casi[] = {
        {"from 5, no end, close box", 10, 0, false, false},
        {"from 5, no end, Alt+C", 10, 0, true, false},
        {"from 5 in the preview panel, end 9", 30, 9, false, true},
        {"from 5, end 9, Alt+C", 10, 9, true, true},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.descrizione);
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        opz.oiStaVid(c.casella == 30 ? OpzStampa::UscitaVideo : OpzStampa::UscitaStampante);
        opz.ImpostaParStampa(QStringLiteral("PaginaDa"), 0);
        opz.ImpostaParStampa(QStringLiteral("PaginaA"), c.paginaA);
        FrmSceltaStam &d = apri();
        mostra();
        d.txt(c.casella)->setFocus();
        QTest::keyClicks(d.txt(c.casella), QStringLiteral("5"));
        ASSERT_EQ(QApplication::focusWidget(), d.txt(c.casella));
        if (c.alt) {
            // The button answers its shortcut with a short pressed look first.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
            for (int i = 0; i < 500 && d.isVisible() && messaggi().isEmpty(); ++i)
                QTest::qWait(10);
        } else {
            d.close();
        }
        QApplication::processEvents();
        EXPECT_EQ(opz.ParIntero(QStringLiteral("PaginaDa")), 5);
        EXPECT_EQ(d.isVisible(), !c.chiusa);
        EXPECT_EQ(messaggi(), c.chiusa
                                  ? QStringList()
                                  : QStringList{QStringLiteral("Selezione Pagina Da maggiore di Pagina A")});
        EXPECT_EQ(d.txt(c.casella == 30 ? 10 : 30)->text(), QStringLiteral("5"));
    }
}

// The Save dialog opens on the format the options hold, and a name whose
// extension is another format's takes the chosen format's: the file's name
// never says a format it is not written in.
TEST_F(BancoSceltaStampa, TheExportFormatAndTheNameAgree)
{
    const QString compatibile = QStringLiteral("Compatibile Excel (*.csv *.txt)");
    const QString excel = QStringLiteral("Formato Excel (*.xlsx)");
    const QString testo = QStringLiteral("Testo (*.txt)");
    const struct Caso {
        int prima;        // the format the options hold
        const char *nome; // typed in the Save dialog
        QString filtro;   // the filter chosen; empty: the one it opened on
        QString mostrato; // the filter it opened on
        int formato;
        const char *scritto;
    } casi[] = {
        {OpzStampa::FormatoCompatibileExcel,
         "lista.csv",
         {},
         compatibile,
         OpzStampa::FormatoCompatibileExcel,
         "lista.csv"},
        {OpzStampa::FormatoTesto, "lista.txt", {}, testo, OpzStampa::FormatoTesto, "lista.txt"},
        {OpzStampa::FormatoExcel, "lista", {}, excel, OpzStampa::FormatoExcel, "lista.xlsx"},
        {OpzStampa::FormatoCompatibileExcel, "lista.csv", excel, compatibile, OpzStampa::FormatoExcel,
         "lista.xlsx"},
        {OpzStampa::FormatoExcel, "lista.xlsx", compatibile, excel, OpzStampa::FormatoCompatibileExcel,
         "lista.csv"},
        {OpzStampa::FormatoExcel, "lista.XLS", testo, excel, OpzStampa::FormatoTesto, "lista.txt"},
        {OpzStampa::FormatoExcel, "lista.dati", compatibile, excel, OpzStampa::FormatoCompatibileExcel,
         "lista.dati"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        opz.oiStaVid(OpzStampa::UscitaFile);
        opz.FileForm(c.prima);
        FrmSceltaStam &d = apri();
        const QString nome = dir.filePath(QString::fromUtf8(c.nome));
        if (c.filtro.isEmpty())
            RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, nome);
        else
            RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, QStringList{nome, c.filtro});
        d.ComOpz(2)->click();
        EXPECT_EQ(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::FileSalva)
                      .value(QStringLiteral("filtroScelto"))
                      .toString(),
                  c.mostrato);
        EXPECT_EQ(opz.FileForm(), c.formato);
        EXPECT_EQ(opz.FileName(), dir.filePath(QString::fromUtf8(c.scritto)));
        EXPECT_EQ(d.LabFileName->text(), opz.FileName());
    }
}
