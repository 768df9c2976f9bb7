// The customer list printed to a PDF as a user does it ("Stampa", a PDF
// printer, "&STAMPA", the file name asked), read back with pdftotext: every
// customer's VAT number and fiscal code is on paper whole, in both
// orientations, with all the columns and with the visible ones only; a value
// wider than all the others in the last row is printed whole too; every
// customer's name and town is on paper whole, on as many lines as it needs.
#include "BancoLista.h"

#include "components/db/RecDat.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/OpzStampa.h"
#include "lists/frmClientiLis.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/FrmComlinStampa.h"
#include "services/Globali.h"

#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace
{

struct CasoPdf {
    const char *descrizione;
    int tipo;         // OptTipsta: 0 visible columns, 1 all
    int orientamento; // OptOrientamento: 0 landscape, 1 portrait
};

void PrintTo(const CasoPdf &c, std::ostream *os)
{
    *os << c.descrizione;
}

class StampaListaPdf : public BancoLista, public ::testing::WithParamInterface<CasoPdf>
{
  protected:
    void SetUp() override
    {
        InstallaFinestreStampa();
        BancoLista::SetUp();
    }
    void TearDown() override
    {
        BancoLista::TearDown();
        ScaricaFinestreStampa();
        Attendi();
    }

    // Every customer's VAT number and fiscal code, from the database.
    QStringList Codici() const
    {
        QStringList r;
        RecDat rs;
        const QString h =
            rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, {},
                       QStringLiteral("Select PartIva, CodFisc From PianoConti Where Exists (Select "
                                      "Mastro From Mastri Where Mastri.Gruppo = PianoConti.Gruppo "
                                      "And Mastri.Mastro = PianoConti.Mastro And Mastri.Tipo = '3')"),
                       false, RecDat::TipoSnapshot);
        for (; !rs.FineDati(h) && !rs.FineFile(h); rs.MuoviSuccessivo(h))
            for (int c = 0; c < 2; ++c) {
                const QString v = rs.ValoreCampoIdx(h, c).toString().trimmed();
                if (!v.isEmpty())
                    r << v;
            }
        return r;
    }

    // The open list printed through its dialog to the PDF printer, into
    // `pdf`: columns `tipo` (0 visible, 1 all), orientation `orientamento`
    // (0 landscape, 1 portrait). Fails the test when anything is said.
    void StampaInPdf(int tipo, int orientamento, const QString &pdf)
    {
        m_lista->ButtonComando(QStringLiteral("Stampa"));
        Attendi();
        FrmComlinStampa *dialogo = FrmComlinStampaPredef();
        ASSERT_TRUE(dialogo->isVisible());
        dialogo->OptTipsta(tipo)->setChecked(true);
        dialogo->OptOrientamento(orientamento)->setChecked(true);
        OpzStampa &opz = dialogo->OpzioniStampa();
        opz.oiStaVid(OpzStampa::UscitaStampante);
        opz.osNomeStampante(QStringLiteral("PDFCreator"));
        RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, pdf);
        dialogo->CmdStampa_Click();
        Attendi();
        ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
    }
};

QString testoPdf(const QString &pdf, const QStringList &opzioni = {})
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), opzioni + QStringList{pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The words of a PDF with their boxes (pdftotext -bbox).
struct ParolaPdf {
    QString testo;
    double x0, x1, y;
    int pagina;
};

QList<ParolaPdf> parolePdf(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    static const QRegularExpression re(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    QList<ParolaPdf> r;
    const QStringList pagine = QString::fromUtf8(p.readAllStandardOutput()).split(QStringLiteral("<page "));
    for (int pagina = 0; pagina < pagine.size(); ++pagina)
        for (auto m = re.globalMatch(pagine[pagina]); m.hasNext();) {
            const auto w = m.next();
            r << ParolaPdf{w.captured(4), w.captured(1).toDouble(), w.captured(3).toDouble(),
                           w.captured(2).toDouble(), pagina};
        }
    return r;
}

// The word is in the PDF and no other word of its line overlaps it.
::testing::AssertionResult sullaCarta(const QList<ParolaPdf> &parole, const QString &parola)
{
    for (const ParolaPdf &w : parole) {
        if (w.testo != parola)
            continue;
        for (const ParolaPdf &a : parole)
            if (&a != &w && a.pagina == w.pagina && qAbs(a.y - w.y) < 1 && a.x0 < w.x1 - 0.1 &&
                a.x1 > w.x0 + 0.1)
                return ::testing::AssertionFailure()
                       << parola.toStdString() << " overlaps " << a.testo.toStdString();
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << parola.toStdString() << " is not in the PDF as a word";
}

} // namespace

TEST_P(StampaListaPdf, EveryVatNumberAndFiscalCodeIsPrintedWhole)
{
    const CasoPdf &caso = GetParam();
    const QStringList codici = Codici();
    ASSERT_GT(codici.size(), 100);
    Apri();
    QTemporaryDir cartella;
    const QString pdf = cartella.filePath(QStringLiteral("clienti.pdf"));
    ASSERT_NO_FATAL_FAILURE(StampaInPdf(caso.tipo, caso.orientamento, pdf));
    const QString testo = testoPdf(pdf);
    ASSERT_FALSE(testo.isEmpty()) << "no PDF or no text in it";
    QStringList tagliati;
    for (const QString &c : codici)
        if (!testo.contains(c))
            tagliati << c;
    EXPECT_TRUE(tagliati.isEmpty()) << tagliati.size()
                                    << " cut: " << tagliati.mid(0, 5).join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Casi, StampaListaPdf,
                         ::testing::Values(CasoPdf{"all columns, portrait", 1, 1},
                                           CasoPdf{"all columns, landscape", 1, 0},
                                           CasoPdf{"visible columns, portrait", 0, 1},
                                           CasoPdf{"visible columns, landscape", 0, 0}));

// The columns are laid out before the first page from what the database
// tells of the whole list: a value wider than all the others in the list's
// last row is on paper whole all the same.
TEST_F(StampaListaPdf, AValueWiderThanAllInTheLastRowIsPrintedWhole)
{
    const QVariant mastro =
        Valore(QStringLiteral("Select Max(Mastro) From Mastri Where Gruppo = (Select "
                              "Max(Gruppo) From Mastri Where Tipo = '3') And Tipo = '3'"));
    const QVariant gruppo = Valore(QStringLiteral("Select Max(Gruppo) From Mastri Where Tipo = '3'"));
    ASSERT_FALSE(mastro.toString().isEmpty());
    const QString piva = QStringLiteral("98765432109876543210"), cf = QStringLiteral("WMWMWMWMWMWMWMWMWMWM");
    Esegui(
        QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, PartIva, CodFisc, "
                       "Localita, Pr) "
                       "Values ('%1', '%2', 'ZZZZ', '3', 'Ultimo cliente', '%3', '%4', 'Roma', 'RM')")
            .arg(gruppo.toString(), mastro.toString(), piva, cf));
    Apri();
    ASSERT_EQ(Cella(Righe() - 1, 2), QStringLiteral("ZZZZ")) << "the customer added is the last row";
    QTemporaryDir cartella;
    const QString pdf = cartella.filePath(QStringLiteral("clienti.pdf"));
    ASSERT_NO_FATAL_FAILURE(StampaInPdf(0, 0, pdf));
    const QList<ParolaPdf> parole = parolePdf(pdf);
    ASSERT_FALSE(parole.isEmpty()) << "no PDF or no text in it";
    EXPECT_TRUE(sullaCarta(parole, piva));
    EXPECT_TRUE(sullaCarta(parole, cf));
}

// A code longer than its column's declared size (the database keeps it) in
// the list's last row: its column is laid out from the declaration and the
// first rows, and the code is on paper whole all the same.
TEST_F(StampaListaPdf, ACodeLongerThanItsDeclaredSizeIsPrintedWhole)
{
    const QString pr = QStringLiteral("PROVINCIALUNGA");
    Esegui(QStringLiteral("Update PianoConti Set Pr = '%1' Where Gruppo || Mastro || Conto = (Select "
                          "Max(Gruppo || Mastro || Conto) From PianoConti Where Tipo = '3')")
               .arg(pr));
    Apri();
    ASSERT_EQ(Valore(QStringLiteral("Select Count(*) From PianoConti Where Pr = '%1'").arg(pr)).toInt(), 1);
    QTemporaryDir cartella;
    const QString pdf = cartella.filePath(QStringLiteral("clienti.pdf"));
    ASSERT_NO_FATAL_FAILURE(StampaInPdf(1, 0, pdf));
    const QList<ParolaPdf> parole = parolePdf(pdf);
    ASSERT_FALSE(parole.isEmpty()) << "no PDF or no text in it";
    EXPECT_TRUE(sullaCarta(parole, pr));
}

namespace
{

// Every customer's name and town, from the database.
QStringList nomiELocalita()
{
    QStringList r;
    RecDat rs;
    const QString h = rs.ApriRec(
        Globali::DbComp(), Globali::DbAzienda, {},
        QStringLiteral("Select Descrizione, Localita From PianoConti Where Exists (Select Mastro From "
                       "Mastri Where Mastri.Gruppo = PianoConti.Gruppo And Mastri.Mastro = PianoConti.Mastro "
                       "And Mastri.Tipo = '3')"),
        false, RecDat::TipoSnapshot);
    for (; !rs.FineDati(h) && !rs.FineFile(h); rs.MuoviSuccessivo(h))
        for (int c = 0; c < 2; ++c) {
            const QString v = rs.ValoreCampoIdx(h, c).toString().simplified();
            if (!v.isEmpty())
                r << v;
        }
    return r;
}

} // namespace

// A customer list is read by its names: with every column, in either
// orientation, no name and no town ends in "…"; one too long for its column
// goes on to further lines of its row (read in the order drawn, its words
// follow one another).
TEST_P(StampaListaPdf, EveryNameAndTownIsPrintedWhole)
{
    const CasoPdf &caso = GetParam();
    const QStringList attesi = nomiELocalita();
    ASSERT_GT(attesi.size(), 100);
    Apri();
    QTemporaryDir cartella;
    const QString pdf = cartella.filePath(QStringLiteral("clienti.pdf"));
    ASSERT_NO_FATAL_FAILURE(StampaInPdf(caso.tipo, caso.orientamento, pdf));
    const QString testo = testoPdf(pdf, {QStringLiteral("-raw")}).simplified();
    ASSERT_FALSE(testo.isEmpty()) << "no PDF or no text in it";
    EXPECT_FALSE(testo.contains(QChar(0x2026))) << "a value is cut";
    QStringList tagliati;
    for (const QString &t : attesi)
        if (!testo.contains(t))
            tagliati << t;
    EXPECT_TRUE(tagliati.isEmpty()) << tagliati.size()
                                    << " cut: " << tagliati.mid(0, 5).join('|').toStdString();
}
