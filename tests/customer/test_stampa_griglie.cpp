// The customer form's grids printed through the program's print windows:
// "Stampa" of a grid opens the print dialog for that grid, "&STAMPA" writes
// its rows; an empty grid is not offered for printing, and says so. The key
// the print button's tooltip names does the same from the keyboard.
#include "BancoGriglie.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/linee/GestLinee.h"
#include "components/stampa/OpzStampa.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/FrmComlinStampa.h"
#include "services/Globali.h"
#include "support/ParteZip.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace
{

class StampaGriglie : public BancoGriglie
{
  protected:
    void SetUp() override
    {
        InstallaFinestreStampa();
        BancoGriglie::SetUp();
        Documento(10, QStringLiteral("Visura"), QStringLiteral("v.pdf"));
        Documento(20, QStringLiteral("Contratto"), QStringLiteral("c.pdf"));
        ApriConto();
    }
    void TearDown() override
    {
        BancoGriglie::TearDown();
        ScaricaFinestreStampa();
    }
};

} // namespace

TEST_F(StampaGriglie, GridPrintsItsRowsThroughTheDialog)
{
    Pagina(1);
    Comando(1, QStringLiteral("Stampa"));
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    EXPECT_FALSE(dialogo->isVisible()) << "no letters: nothing to print";
    EXPECT_EQ(UltimoMessaggio(), QString::fromUtf8("La griglia è vuota e non c'è nessuna riga da stampare."));

    Pagina(0);
    Comando(0, QStringLiteral("Stampa"));
    ASSERT_TRUE(dialogo->isVisible());
    EXPECT_EQ(dialogo->ogComlin(), static_cast<ComponenteStampa *>(Griglia(0)));
    QTemporaryDir cartella;
    OpzStampa &opz = dialogo->OpzioniStampa();
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileForm(OpzStampa::FormatoTesto);
    opz.SepCampi(QStringLiteral(";"));
    opz.DelimStr(QString());
    opz.FileName(cartella.filePath(QStringLiteral("documenti.txt")));
    dialogo->OptTipsta(0)->setChecked(true);
    dialogo->CmdStampa_Click();
    EXPECT_EQ(Globali::StaAtt, 0);
    QFile file(opz.FileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList righe =
        QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(righe.size(), 3) << righe.join('|').toStdString();
    EXPECT_TRUE(righe[1].contains(QStringLiteral("Visura")));
    EXPECT_TRUE(righe[2].contains(QStringLiteral("Contratto")));
}

// The documents' and the letters' prints keep options of their own: a file
// chosen for one grid is not the other's.
TEST_F(StampaGriglie, EachGridKeepsOptionsOfItsOwn)
{
    Lettera(50);
    ApriConto();
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    Pagina(0);
    Comando(0, QStringLiteral("Stampa"));
    ASSERT_TRUE(dialogo->isVisible());
    OpzStampa &documenti = dialogo->OpzioniStampa();
    EXPECT_EQ(documenti.SezioneStampa(), QStringLiteral("Stampa Documenti Cliente"));
    documenti.FileName(QStringLiteral("documenti.csv"));
    dialogo->CmdEsci_Click();

    Pagina(1);
    Comando(1, QStringLiteral("Stampa"));
    ASSERT_TRUE(dialogo->isVisible());
    EXPECT_NE(&dialogo->OpzioniStampa(), &documenti);
    EXPECT_EQ(dialogo->OpzioniStampa().SezioneStampa(), QStringLiteral("Stampa Dichiarazioni Intento"));
    EXPECT_EQ(dialogo->OpzioniStampa().FileName(), QString());
    dialogo->CmdEsci_Click();

    Pagina(0);
    Comando(0, QStringLiteral("Stampa"));
    EXPECT_EQ(dialogo->OpzioniStampa().FileName(), QStringLiteral("documenti.csv"));
}

namespace
{

} // namespace

// The letters of intent in a workbook: the amount a number with two decimals
// (it can be summed), the protocol numbers texts as they are shown; printed
// on paper, the same numbers and the captions whole.
TEST_F(StampaGriglie, LettersOfIntentWorkbookAndPaperKeepAmountsAndProtocolNumbers)
{
    Lettera(1, {{QStringLiteral("Descrizione"), QStringLiteral("Forniture annuali di materiale edile")},
                {QStringLiteral("ProtRicezione"), QStringLiteral("21031912345678901-000001")},
                {QStringLiteral("NrDichIntenti"), 598359},
                {QStringLiteral("NrPrgIntenti"), 1234567},
                {QStringLiteral("ImportoDichIntenti"), 50000}});
    ApriConto();
    Pagina(1);
    Comando(1, QStringLiteral("Stampa"));
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    ASSERT_TRUE(dialogo->isVisible());
    QTemporaryDir cartella;
    OpzStampa &opz = dialogo->OpzioniStampa();
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileForm(OpzStampa::FormatoExcel);
    opz.FileName(cartella.filePath(QStringLiteral("lettere.xlsx")));
    dialogo->OptTipsta(0)->setChecked(true);
    dialogo->CmdStampa_Click();
    const QString foglio = parteZip(opz.FileName(), QStringLiteral("xl/worksheets/sheet1.xml"));
    ASSERT_FALSE(foglio.isEmpty()) << UltimoMessaggio().toStdString();

    // The column of each caption, then the cell below it.
    const auto cella = [&](const QString &didascalia) {
        const QRegularExpression testa(QStringLiteral("<c r=\"([A-Z]+)1\"[^>]*><is><t>%1</t>")
                                           .arg(QRegularExpression::escape(didascalia)));
        const QString colonna = testa.match(foglio).captured(1);
        return QRegularExpression(QStringLiteral("<c r=\"") + colonna +
                                  QStringLiteral("2\"[^>]*(/>|>.*?</c>)"))
            .match(foglio)
            .captured(0);
    };
    const QString importo = cella(QStringLiteral("Importo"));
    EXPECT_FALSE(importo.contains(QStringLiteral(" t=\""))) << importo.toStdString();
    EXPECT_TRUE(importo.contains(QStringLiteral("<v>50000</v>"))) << importo.toStdString();
    EXPECT_TRUE(
        parteZip(opz.FileName(), QStringLiteral("xl/styles.xml")).contains(QStringLiteral("#,##0.00")));
    for (const auto &[didascalia, testo] : {std::pair{"Numero", "598359"}, std::pair{"Num.Asseg.", "1234567"},
                                            std::pair{"ProtRicezione", "21031912345678901-000001"}}) {
        const QString c = cella(QString::fromUtf8(didascalia));
        EXPECT_TRUE(c.contains(QStringLiteral("t=\"inlineStr\""))) << didascalia << ": " << c.toStdString();
        EXPECT_TRUE(c.contains(QStringLiteral("<t>%1</t>").arg(QString::fromUtf8(testo))))
            << didascalia << ": " << c.toStdString();
    }

    // On paper (a PDF printer): the numbers and the captions whole.
    Comando(1, QStringLiteral("Stampa"));
    ASSERT_TRUE(dialogo->isVisible());
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("PDFCreator"));
    const QString pdf = cartella.filePath(QStringLiteral("lettere.pdf"));
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, pdf);
    dialogo->OptTipsta(1)->setChecked(true);
    dialogo->OptOrientamento(1)->setChecked(true);
    dialogo->CmdStampa_Click();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString testo = QString::fromUtf8(p.readAllStandardOutput());
    ASSERT_FALSE(testo.isEmpty()) << UltimoMessaggio().toStdString();
    for (const char *atteso : {"21031912345678901-000001", "598359", "1234567", "50.000,00", "Num.Asseg.",
                               "Numero", "DtRicAgEn", "Periodo"})
        EXPECT_TRUE(testo.contains(QString::fromUtf8(atteso))) << atteso << "\n" << testo.toStdString();
}

// Alt with the letter of the print button's tooltip, pressed in the grid.
TEST_F(StampaGriglie, TheKeyTheTooltipNamesPrintsTheGridShown)
{
    Lettera(1, {{QStringLiteral("Descrizione"), QStringLiteral("Lettera")}});
    ApriConto();
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    for (int g : {0, 1}) {
        SCOPED_TRACE(g);
        Pagina(g);
        dialogo->hide();
        const QString suggerimento = Griglia(g)->Bottone(QStringLiteral("Stampa"))->toolTip();
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^\\((\\w)\\) ")).match(suggerimento);
        ASSERT_TRUE(m.hasMatch()) << suggerimento.toStdString();
        Vista(g)->setFocus();
        QTest::keyClick(Vista(g), Qt::Key(m.captured(1).toUpper()[0].unicode()), Qt::AltModifier);
        Attendi();
        EXPECT_TRUE(dialogo->isVisible());
        EXPECT_EQ(dialogo->ogComlin(), static_cast<ComponenteStampa *>(Griglia(g)));
    }
    dialogo->hide();
}

namespace
{

struct CasoTitolo {
    const char *descrizione;
    int griglia;      // 0 documents, 1 letters of intent
    int orientamento; // OptOrientamento: 0 landscape, 1 portrait
    const char *cosa; // what the print lists
};

void PrintTo(const CasoTitolo &c, std::ostream *os)
{
    *os << c.descrizione;
}

class TitoliGriglie : public StampaGriglie, public ::testing::WithParamInterface<CasoTitolo>
{
};

QString testoPdf(const QString &pdf, const QStringList &opzioni)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), opzioni + QStringList{pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Left and right edge of a word of the PDF's first page (pdftotext -bbox).
std::pair<double, double> bordi(const QString &bbox, const QString &parola)
{
    const QRegularExpression re(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)"[^>]*>%1</word>)re")
            .arg(QRegularExpression::escape(parola)));
    const QRegularExpressionMatch m = re.match(bbox);
    return m.hasMatch() ? std::pair{m.captured(1).toDouble(), m.captured(2).toDouble()}
                        : std::pair{-1.0, -1.0};
}

} // namespace

// A grid's print says what it lists and whose it is, and cuts no text: a
// long description goes on to further lines of its row. An empty column is
// no wider than its caption.
TEST_P(TitoliGriglie, EachGridPrintSaysWhatAndWhoseAndCutsNothing)
{
    const CasoTitolo &caso = GetParam();
    const QString descrizione = QStringLiteral(
        "Dichiarazione di intento per forniture annuali di materiale edile e ferramenta varia");
    const QString percorso = QStringLiteral("/archivio/clienti/visure/visura_camerale_aggiornata_2024.pdf");
    Esegui(QStringLiteral("Delete From PianoContiDoc") + DelConto());
    Documento(30, descrizione, percorso);
    Lettera(1, {{QStringLiteral("Descrizione"), descrizione},
                {QStringLiteral("ProtRicezione"), QStringLiteral("21031912345678901-000001")},
                {QStringLiteral("NrDichIntenti"), 598359},
                {QStringLiteral("ImportoDichIntenti"), 50000}});
    ApriConto();
    const QString nome = Valore(QStringLiteral("Select Descrizione From PianoConti") + DelConto()).toString();
    ASSERT_FALSE(nome.isEmpty());

    Pagina(caso.griglia);
    Comando(caso.griglia, QStringLiteral("Stampa"));
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    ASSERT_TRUE(dialogo->isVisible());
    QTemporaryDir cartella;
    OpzStampa &opz = dialogo->OpzioniStampa();
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("PDFCreator"));
    const QString pdf = cartella.filePath(QStringLiteral("griglia.pdf"));
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, pdf);
    dialogo->OptTipsta(1)->setChecked(true);
    dialogo->OptOrientamento(caso.orientamento)->setChecked(true);
    dialogo->CmdStampa_Click();
    const QString testo = testoPdf(pdf, {QStringLiteral("-raw")}).simplified();
    ASSERT_FALSE(testo.isEmpty()) << UltimoMessaggio().toStdString();

    const QString titolo =
        QString::fromUtf8(caso.cosa) + QStringLiteral(" - ") + m_conto + u' ' + nome.simplified();
    EXPECT_TRUE(testo.contains(titolo)) << titolo.toStdString() << "\n" << testo.toStdString();
    EXPECT_FALSE(testo.contains(QChar(0x2026))) << testo.toStdString();
    EXPECT_TRUE(testo.contains(descrizione)) << testo.toStdString();
    if (caso.griglia == 0)
        EXPECT_TRUE(testo.contains(percorso)) << testo.toStdString();
    else {
        // "Dt.Ricev." is empty: the next caption follows it at the room
        // between two columns.
        const QString bbox =
            testoPdf(pdf, {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1")});
        const auto vuota = bordi(bbox, QStringLiteral("Dt.Ricev.")),
                   dopo = bordi(bbox, QStringLiteral("Rif."));
        ASSERT_GT(vuota.second, 0);
        ASSERT_GT(dopo.first, vuota.second);
        EXPECT_LT(dopo.first - vuota.second, 12.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casi, TitoliGriglie,
    ::testing::Values(CasoTitolo{"documents, portrait", 0, 1, "Documenti"},
                      CasoTitolo{"documents, landscape", 0, 0, "Documenti"},
                      CasoTitolo{"letters of intent, portrait", 1, 1, "Dichiarazioni d'intento"},
                      CasoTitolo{"letters of intent, landscape", 1, 0, "Dichiarazioni d'intento"}));
