// The customer form's grids printed through the program's print windows:
// "Stampa" of a grid opens the print dialog for that grid, "&STAMPA" writes
// its rows; an empty grid is not offered for printing, and says so. The key
// the print button's tooltip names does the same from the keyboard.
#include "BancoGriglie.h"

#include "components/linee/GestLinee.h"
#include "components/stampa/OpzStampa.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/FrmComlinStampa.h"
#include "services/Globali.h"

#include <QAction>
#include <QFile>
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
    const QStringList righe = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(righe.size(), 3) << righe.join('|').toStdString();
    EXPECT_TRUE(righe[1].contains(QStringLiteral("Visura")));
    EXPECT_TRUE(righe[2].contains(QStringLiteral("Contratto")));
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
