// The customer list printed to a PDF as a user does it ("Stampa", a PDF
// printer, "&STAMPA", the file name asked), read back with pdftotext: every
// customer's VAT number and fiscal code is on paper whole, in both
// orientations, with all the columns and with the visible ones only.
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
};

QString testoPdf(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST_P(StampaListaPdf, EveryVatNumberAndFiscalCodeIsPrintedWhole)
{
    const CasoPdf &caso = GetParam();
    const QStringList codici = Codici();
    ASSERT_GT(codici.size(), 100);
    Apri();
    m_lista->ButtonComando(QStringLiteral("Stampa"));
    Attendi();
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    ASSERT_TRUE(dialogo->isVisible());
    dialogo->OptTipsta(caso.tipo)->setChecked(true);
    dialogo->OptOrientamento(caso.orientamento)->setChecked(true);
    OpzStampa &opz = dialogo->OpzioniStampa();
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("PDFCreator"));
    QTemporaryDir cartella;
    const QString pdf = cartella.filePath(QStringLiteral("clienti.pdf"));
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, pdf);
    dialogo->CmdStampa_Click();
    Attendi();
    ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
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
