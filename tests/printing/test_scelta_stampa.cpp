// The print-choice dialog over the fake catalogue: opening for a list and for
// a grid, the printer and port grids, trays and papers, the close checks,
// the page boxes, the export file and its formats, separators, the
// fixed-length destination, the PDF switches and the preview scale.
#include "BancoSceltaStampa.h"

#include "printing/AziendaUtilStampe.h"

#include <QStackedWidget>

TEST_F(BancoSceltaStampa, OpensForAListAndForAGrid)
{
    opz.oiStaVid(OpzStampa::UscitaFissa);
    FrmSceltaStam &d = apri(true);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Scelta della modalità di stampa"));
    EXPECT_EQ(d.osRisVidKey, QStringLiteral("StaVid"));
    EXPECT_FALSE(d.OptStampaSu(3)->isEnabled()) << "a list offers no fixed-length output";
    EXPECT_TRUE(d.OptStampaSu(0)->isEnabled());
    // A stored kind 3 is still selected: the button is only disabled.
    EXPECT_TRUE(d.OptStampaSu(3)->isChecked());
    EXPECT_TRUE(d.FraOpz(3)->isEnabled());
    EXPECT_FALSE(d.FraOpz(0)->isEnabled());

    opz.oiStaVid(OpzStampa::UscitaStampante);
    FrmSceltaStam &g = apri(false);
    for (int i = 0; i <= 3; ++i)
        EXPECT_TRUE(g.OptStampaSu(i)->isEnabled()) << i;
    // Printers of the catalogue (the engine's PDF printers included); the
    // fixed-length destinations leave those out.
    EXPECT_EQ(g.labTotStamp->text(), QStringLiteral("4"));
    EXPECT_EQ(g.GriPri->item(1, 1)->text(), QStringLiteral("Ufficio"));
    EXPECT_EQ(g.GriPri->item(1, 2)->text(), QStringLiteral("ipp://srv/printers/ufficio"));
    EXPECT_EQ(g.GriPorte->rowCount(), 2);
    EXPECT_EQ(g.LabStaAttuale->text(), QStringLiteral("Laser (predefinita) su socket://10.0.0.5:9100"));

    // While a print runs the dialog refuses and is not filled.
    const StatoStampa::InCorso stampa;
    FrmSceltaStam occupato;
    occupato.ogOpzSta(&opz);
    EXPECT_FALSE(occupato.VisDecodOk());
    EXPECT_EQ(messaggi().value(0),
              QStringLiteral("C'è una stampa in esecuzione. Non è possibile variare i parametri di stampa"));
    EXPECT_TRUE(occupato.LabStaAttuale->text().isEmpty());
}

TEST_F(BancoSceltaStampa, PrintersWithoutTraysAndTheTrayList)
{
    const char *const casi[][2] = {
        {"Laser,Altra", ",Laser,Altra,"}, {",A,", ",A,"}, {"TUTTE", "TUTTE"}, {"", ""}};
    for (const auto &c : casi) {
        host->ScriviPar(QStringLiteral("Personal.Tutti.§StampantiNoCassetti"), QString::fromUtf8(c[0]));
        EXPECT_EQ(apri().ElencoNoCassetti, QString::fromUtf8(c[1])) << c[0];
    }
    // "TUTTE" (the last but one) and a list naming the printer show no trays.
    host->ScriviPar(QStringLiteral("Personal.Tutti.§StampantiNoCassetti"), QStringLiteral("tutte"));
    EXPECT_EQ(voci(apri().cboCassetti), QStringList{QStringLiteral("Nessuna impostazione - Default")});
    host->ScriviPar(QStringLiteral("Personal.Tutti.§StampantiNoCassetti"), QStringLiteral("Ufficio,laser"));
    EXPECT_EQ(apri().cboCassetti->count(), 1);
    host->ScriviPar(QStringLiteral("Personal.Tutti.§StampantiNoCassetti"), QStringLiteral("Las"));
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 15);
    FrmSceltaStam &d = apri();
    EXPECT_EQ(
        voci(d.cboCassetti),
        (QStringList{QStringLiteral("Nessuna impostazione - Default"), QStringLiteral("     7 - Automatico"),
                     QStringLiteral("    15 - Manual"), QStringLiteral("   257 - Cassetto 1")}));
    EXPECT_EQ(d.cboCassetti->currentIndex(), 2) << "the stored tray is selected";
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 15);
    d.cboCassetti->setCurrentIndex(3);
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 257);
    d.cboCassetti->setCurrentIndex(0);
    EXPECT_EQ(opz.ParStampa(QStringLiteral("NumCassetto")), QVariant(0));

    // A stored tray the printer lacks goes back to the printer's own choice.
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 99);
    EXPECT_EQ(apri().cboCassetti->currentIndex(), 0);
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 0);
}

TEST_F(BancoSceltaStampa, PapersOfTheChosenPrinter)
{
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 11);
    FrmSceltaStam &d = apri();
    EXPECT_EQ(voci(d.cboTipoCarta),
              (QStringList{QStringLiteral("Nessuna impostazione - Default"),
                           QStringLiteral("9 - A4 (ATTUALE)"), QStringLiteral("11 - A5")}));
    EXPECT_EQ(d.cboTipoCarta->currentIndex(), 2);
    d.ComPaperSize->click();
    EXPECT_EQ(messaggi().value(0), QStringLiteral("Formati disponibili \r\n9 - A4 (ATTUALE)\r\n11 - A5"));

    // Another printer: its own paper in use, tray and paper back to 0.
    mostra();
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 7);
    ASSERT_TRUE(clicRiga(d.GriPri, QStringLiteral("Ufficio")));
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("Ufficio"));
    EXPECT_EQ(opz.NomePorta(), QStringLiteral("ipp://srv/printers/ufficio"));
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 0);
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumTipoCarta")), 0);
    EXPECT_EQ(voci(d.cboTipoCarta).value(2), QStringLiteral("11 - A5 (ATTUALE)"));
    EXPECT_EQ(d.cboCassetti->count(), 1);
    EXPECT_EQ(d.LabStaAttuale->text(), QStringLiteral("Ufficio su ipp://srv/printers/ufficio"));

    // Back to the default printer.
    d.ComUsaDef->click();
    EXPECT_EQ(opz.osNomeStampante(), QString());
    EXPECT_EQ(opz.NomePorta(), QStringLiteral("socket://10.0.0.5:9100"));
    EXPECT_EQ(d.cboCassetti->count(), 4);

    // A driver that counts more sizes than it names: said, the list left as
    // it was, whether filling the list or showing the sizes.
    catalogo->CarteIncoerenti(QStringLiteral("ufficio"));
    mostra();
    const QStringList prima = voci(d.cboTipoCarta);
    const qsizetype giaMostrati = messaggi().size();
    ASSERT_TRUE(clicRiga(d.GriPri, QStringLiteral("Ufficio")));
    const QString errore = QStringLiteral("Errore nel driver nella ricerca informazioni Papersize");
    EXPECT_EQ(messaggi().mid(giaMostrati), QStringList{errore});
    EXPECT_EQ(voci(d.cboTipoCarta), prima);
    d.ComPaperSize->click();
    EXPECT_EQ(messaggi().mid(giaMostrati), (QStringList{errore, errore}));
}

TEST_F(BancoSceltaStampa, PrinterSwitchRefusedOnceTheProgramSetOne)
{
    ProfiloStampanti::ImpostaPercorso(dir.filePath(QStringLiteral("profilo.ini")));
    QFile f(dir.filePath(QStringLiteral("profilo.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[PrinterPorts]\nRemota=winspool,LPT2:,15,45\n");
    f.close();
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("laser"));
    Globali::StampanteImpostata = 1;
    StampanteApp::Imposta(catalogo->Cerca(QStringLiteral("Laser")));
    FrmSceltaStam &d = apri();
    mostra();
    // The same printer written otherwise is no switch.
    ASSERT_TRUE(clicRiga(d.GriPri, QStringLiteral("Laser")));
    EXPECT_TRUE(messaggi().isEmpty());
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("Laser"));
    // A printer the profile lists but that is not installed cannot be switched to.
    opz.osNomeStampante(QStringLiteral("Ufficio"));
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 7);
    ASSERT_TRUE(clicRiga(d.GriPri, QStringLiteral("Remota")));
    EXPECT_TRUE(
        messaggi().value(0).startsWith(QStringLiteral("Impossibile impostare la stampante predefinita")));
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("Ufficio"));
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 0);
}

TEST_F(BancoSceltaStampa, CloseChecksAndPageBoxes)
{
    opz.oiStaVid(OpzStampa::UscitaFile);
    FrmSceltaStam &d = apri();
    mostra();
    d.ComChiudi->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(messaggi().value(0),
              QStringLiteral("In caso di stampa su file è obbligatorio specificare il nome file."));
    d.OptStampaSu(1)->click();
    EXPECT_EQ(opz.oiStaVid(), 1);
    EXPECT_TRUE(opz.AnteprimaScelta());

    // Typing in one panel's box shows the same page in the other's.
    d.txt(30)->setFocus();
    QTest::keyClicks(d.txt(30), QStringLiteral("5"));
    d.txt(40)->setFocus();
    EXPECT_EQ(opz.ParIntero(QStringLiteral("PaginaDa")), 5);
    EXPECT_EQ(d.txt(10)->text(), QStringLiteral("5"));
    QTest::keyClicks(d.txt(40), QStringLiteral("3"));
    d.txt(30)->setFocus();
    EXPECT_EQ(d.txt(20)->text(), QStringLiteral("3"));
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    d.close();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(messaggi(), QStringList{QStringLiteral("Selezione Pagina Da maggiore di Pagina A")});
    // An empty end is page 0: a start of 5 is past it, by the dialog's
    // "Chiudi" as by its close box.
    d.txt(40)->setFocus();
    d.txt(40)->clear();
    d.txt(30)->setFocus();
    EXPECT_EQ(opz.ParIntero(QStringLiteral("PaginaA")), 0);
    EXPECT_TRUE(d.txt(20)->text().isEmpty());
    d.ComChiudi->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(messaggi().size(), 2);
    EXPECT_EQ(messaggi().value(1), QStringLiteral("Selezione Pagina Da maggiore di Pagina A"));
    // The same page at both ends passes.
    d.txt(40)->setFocus();
    QTest::keyClicks(d.txt(40), QStringLiteral("5"));
    d.txt(30)->setFocus();
    EXPECT_EQ(opz.ParIntero(QStringLiteral("PaginaA")), 5);
    d.ComChiudi->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(messaggi().size(), 2);

    opz.oiStaVid(OpzStampa::UscitaFissa);
    opz.ImpostaParStampa(QStringLiteral("PaginaA"), 5);
    FrmSceltaStam &f = apri(false);
    EXPECT_EQ(f.txt(10)->text(), QStringLiteral("5"));
    EXPECT_EQ(f.txt(40)->text(), QStringLiteral("5"));
    EXPECT_FALSE(f.Form_Unload()) << "fixed-length output without a destination";
}

TEST_F(BancoSceltaStampa, ExportFileFiltersAndFormats)
{
    EXPECT_EQ(FrmSceltaStam::FiltriFileStampa(-1),
              QStringLiteral("Compatibile Excel|*.csv;*.txt|Testo|*.txt"));
    EXPECT_EQ(FrmSceltaStam::FiltriFileStampa(11),
              QStringLiteral("Formato Excel|*.xls|Compatibile Excel|*.csv;*.txt|Testo|*.txt"));
    EXPECT_EQ(FrmSceltaStam::FiltriFileStampa(12),
              QStringLiteral("Formato Excel|*.xlsx|Compatibile Excel|*.csv;*.txt|Testo|*.txt"));
    EXPECT_EQ(FrmSceltaStam::FormatoDaFiltro(-1, 1), OpzStampa::FormatoCompatibileExcel);
    EXPECT_EQ(FrmSceltaStam::FormatoDaFiltro(-1, 2), OpzStampa::FormatoTesto);
    EXPECT_EQ(FrmSceltaStam::FormatoDaFiltro(16, 1), OpzStampa::FormatoExcel);
    EXPECT_EQ(FrmSceltaStam::FormatoDaFiltro(16, 2), OpzStampa::FormatoCompatibileExcel);
    EXPECT_EQ(FrmSceltaStam::FormatoDaFiltro(16, 3), OpzStampa::FormatoTesto);

    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.PathDefault(dir.path());
    FrmSceltaStam &d = apri();
    EXPECT_FALSE(d.Fra(1)->isEnabled());
    EXPECT_FALSE(d.CheNumNoForm->isEnabled());
    const QString file = dir.filePath(QStringLiteral("clienti.txt"));
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva,
                                QStringList{file, QStringLiteral("Testo (*.txt)")});
    d.ComOpz(2)->click();
    const QVariantMap mostrato = RisposteProgrammate::UltimoMostrato(RisposteProgrammate::FileSalva);
    EXPECT_EQ(mostrato.value(QStringLiteral("titolo")), QStringLiteral("Nome del file di stampa"));
    EXPECT_EQ(mostrato.value(QStringLiteral("cartella")), dir.path());
    EXPECT_EQ(mostrato.value(QStringLiteral("filtro")),
              QStringLiteral("Formato Excel (*.xlsx);;Compatibile Excel (*.csv *.txt);;Testo (*.txt)"));
    EXPECT_EQ(opz.FileName(), file);
    EXPECT_EQ(opz.FileForm(), OpzStampa::FormatoTesto);
    EXPECT_EQ(d.LabFileForm->text(), QStringLiteral("Testo"));
    EXPECT_TRUE(d.Fra(1)->isEnabled());
    EXPECT_TRUE(d.CheNumNoForm->isEnabled());
    EXPECT_TRUE(d.OptSepCampi(1)->isChecked());
    EXPECT_TRUE(d.OptDelimStr(0)->isChecked());

    // Separators and qualifiers write through; one not offered selects none.
    d.OptSepCampi(0)->click();
    d.OptDelimStr(2)->click();
    EXPECT_EQ(opz.SepCampi(), QStringLiteral("\t"));
    EXPECT_EQ(opz.DelimStr(), QString());
    opz.SepCampi(QStringLiteral("|"));
    d.VisDecodFile();
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(d.OptSepCampi(i)->isChecked()) << i;
    EXPECT_TRUE(d.OptDelimStr(2)->isChecked());

    // A cancelled Save dialog changes nothing; the next one starts from the last choice.
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, QString());
    d.ComOpz(2)->click();
    EXPECT_EQ(opz.FileName(), file);
    EXPECT_EQ(opz.FileForm(), OpzStampa::FormatoTesto);
    const QVariantMap secondo = RisposteProgrammate::UltimoMostrato(RisposteProgrammate::FileSalva);
    EXPECT_EQ(secondo.value(QStringLiteral("cartella")), file);
    EXPECT_EQ(secondo.value(QStringLiteral("filtroScelto")), QStringLiteral("Testo (*.txt)"));

    // The first filter is the workbook; Excel-compatible files keep ';' and '"'.
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva,
                                QStringList{file, QStringLiteral("Compatibile Excel (*.csv *.txt)")});
    d.ComOpz(2)->click();
    EXPECT_EQ(opz.FileForm(), OpzStampa::FormatoCompatibileExcel);
    EXPECT_EQ(opz.SepCampi(), QStringLiteral(";"));
    EXPECT_FALSE(d.CheNumNoForm->isEnabled());
    d.Fra_DblClick(1);
    EXPECT_FALSE(opz.DblClickStampaSu());
    d.Fra_DblClick(0);
    EXPECT_TRUE(opz.DblClickStampaSu());
}

TEST_F(BancoSceltaStampa, FixedLengthSettingsAndDestination)
{
    opz.oiStaVid(OpzStampa::UscitaFissa);
    opz.FisRighe(72);
    opz.FisCodIniComp(QStringLiteral("27,15"));
    FrmSceltaStam &d = apri(false);
    EXPECT_EQ(d.TxtFisRighe->text(), QStringLiteral("72"));
    EXPECT_EQ(d.TxtFisColonne->text(), QStringLiteral("80"));
    EXPECT_EQ(d.TxtFisCodIniComp->text(), QStringLiteral("27,15"));
    mostra();
    d.TxtFisRighe->setFocus();
    d.TxtFisRighe->setText(QStringLiteral("60 righe"));
    d.TxtFisColonne->setFocus();
    d.TxtFisColonne->setText(QStringLiteral("999999"));
    d.TxtFisCodFinComp->setFocus();
    d.TxtFisCodFinComp->setText(QStringLiteral("18"));
    d.TxtFisMrAlt->setFocus();
    EXPECT_EQ(opz.FisRighe(), 60);
    EXPECT_EQ(opz.FisColonne(), 32767) << "held to the options' range";
    EXPECT_EQ(opz.FisCodFinComp(), QStringLiteral("18"));
    d.CheFisUtilComp->click();
    EXPECT_EQ(opz.FisUtilComp(), -1);

    // A queue of the list by its port; the default printer; a file.
    ASSERT_TRUE(clicRiga(d.GriPorte, QStringLiteral("Ufficio")));
    EXPECT_EQ(opz.FisFileName(), QStringLiteral("ipp://srv/printers/ufficio"));
    EXPECT_EQ(opz.FisStampante(), -1);
    EXPECT_EQ(d.LabFileStampaFis->text(), opz.FisFileName());
    d.ComUsaDef->click();
    EXPECT_EQ(opz.FisFileName(), QStringLiteral("socket://10.0.0.5:9100"));
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, QString());
    d.ComOpz(3)->click();
    EXPECT_EQ(opz.FisFileName(), QStringLiteral("socket://10.0.0.5:9100")) << "cancelled: the printer stays";
    EXPECT_EQ(opz.FisStampante(), -1);
    const QString file = dir.filePath(QStringLiteral("fissa.txt"));
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, file);
    d.ComOpz(3)->click();
    EXPECT_EQ(
        RisposteProgrammate::UltimoMostrato(RisposteProgrammate::FileSalva).value(QStringLiteral("filtro")),
        QStringLiteral("Testo (*.txt)"));
    EXPECT_EQ(opz.FisFileName(), file);
    EXPECT_EQ(opz.FisStampante(), 0);
    EXPECT_TRUE(d.Form_Unload());
}

TEST_F(BancoSceltaStampa, PdfAndEmailSwitchesAndKeys)
{
    // No PDF printer in use: both switches hidden.
    EXPECT_TRUE(apri().ChePdfAutom->isHidden());
    host->ScriviPar(QStringLiteral("UsaPdfCreator"), QStringLiteral("s"));
    host->ScriviPar(QStringLiteral("StampeEmail"), QStringLiteral("N"));
    opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
    opz.ImpostaParStampa(QStringLiteral("EmailInvia"), true);
    opz.oiStaVid(OpzStampa::UscitaStampante);
    FrmSceltaStam &d = apri();
    EXPECT_FALSE(d.ChePdfAutom->isHidden());
    EXPECT_TRUE(d.CheInviaEmail->isHidden());
    mostra();
    EXPECT_TRUE(d.ChePdfAutom->isChecked());
    EXPECT_FALSE(d.CheInviaEmail->isChecked()) << "a hidden switch is never ticked";
    EXPECT_TRUE(opz.ParVero(QStringLiteral("EmailInvia"))) << "setting the boxes writes nothing";

    // Choosing a printer by hand ends the automatic PDF.
    ASSERT_TRUE(clicRiga(d.GriPri, QStringLiteral("Ufficio")));
    EXPECT_FALSE(d.ChePdfAutom->isChecked());
    EXPECT_FALSE(opz.ParVero(QStringLiteral("PdfAutomAbil")));
    EXPECT_FALSE(opz.ParVero(QStringLiteral("EmailInvia")));

    // Enter moves through the fields, Shift+Enter back; Enter in the grid applies its row.
    d.txt(10)->setFocus();
    QTest::keyClick(d.txt(10), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.txt(20));
    QTest::keyClick(d.txt(20), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), d.txt(10));
    d.GriPri->setFocus();
    d.GriPri->setCurrentCell(0, 1);
    QTest::keyClick(d.GriPri, Qt::Key_Return);
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("Laser"));
    EXPECT_TRUE(d.isVisible());
}

TEST_F(BancoSceltaStampa, PreviewScale)
{
    EXPECT_FALSE(apri().ComOpz(1)->isEnabled()) << "no scale dialog installed";
    int visto = -1;
    int risposta = 84;
    FrmSceltaStam::ImpostaDialogoScala([&](QWidget *, int &scala, int &memVid) {
        visto = scala;
        memVid = 0;
        if (risposta < 0)
            return false;
        scala = risposta;
        return true;
    });
    Globali::RisVidStaVid = 0.8;
    opz.Fatt(0.67f);
    opz.MemVid(1);
    opz.oiStaVid(OpzStampa::UscitaVideo);
    FrmSceltaStam &d = apri();
    EXPECT_EQ(d.labFatt->text(), QStringLiteral("67"));
    EXPECT_EQ(d.LabMemVid->text(), QStringLiteral("Si"));
    d.ComOpz(1)->click();
    EXPECT_EQ(visto, 84);
    EXPECT_FLOAT_EQ(opz.Fatt(), 0.672f);
    EXPECT_EQ(opz.MemVid(), 0);
    EXPECT_EQ(d.LabMemVid->text(), QStringLiteral("No"));
    // Closed without confirming: the scale and the pages stay.
    risposta = -1;
    Globali::RisVidStaVid = 0;
    opz.Fatt(0);
    d.ComOpz(1)->click();
    EXPECT_EQ(visto, 100);
    EXPECT_FLOAT_EQ(opz.Fatt(), 1.0f);
    EXPECT_EQ(opz.MemVid(), 0);
}

namespace
{

// Counts how often the system's printer list is read.
class CatalogoContato : public CatalogoFinto
{
  public:
    int letture = 0;

  protected:
    QList<Stampante> LeggiStampanti() override
    {
        ++letture;
        return CatalogoFinto::LeggiStampanti();
    }
};

} // namespace

TEST_F(BancoSceltaStampa, PrintersReadOnceWhileTheDialogFills)
{
    auto c = std::make_unique<CatalogoContato>();
    CatalogoContato *contato = c.get();
    c->Aggiungi({QStringLiteral("Laser"), QStringLiteral("socket://10.0.0.5:9100"), {}, 9, false});
    c->ImpostaPredefinita(QStringLiteral("Laser"));
    ImpostaCatalogo(std::move(c));
    // Loading (grids, each printer's port) and filling (trays, papers, the
    // current printer at every label refresh): one reading each.
    FrmSceltaStam &d = apri();
    EXPECT_EQ(contato->letture, 2);
    // Outside a filling every question reads the system again.
    Catalogo().Stampanti();
    Catalogo().Stampanti();
    EXPECT_EQ(contato->letture, 4);
    d.ComUsaDef->click();
    EXPECT_EQ(contato->letture, 4) << "the printer panel is not in front: nothing asked";
}
