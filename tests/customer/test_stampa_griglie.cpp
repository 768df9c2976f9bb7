// The customer form's grids printed through the program's print windows:
// "Stampa" of a grid opens the print dialog for that grid, "&STAMPA" writes
// its rows; an empty grid is not offered for printing.
#include "BancoGriglie.h"

#include "components/linee/GestLinee.h"
#include "components/stampa/OpzStampa.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/FrmComlinStampa.h"
#include "services/Globali.h"

#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>

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
    const QStringList righe = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
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
