// The preview scale dialog (bounds, sample font, defaults, the keyboard,
// hand-over to the print options with the close box keeping them) and the
// progress window's stop button and e-mail request.
#include "SupportoFinestreStampa.h"

#include "components/forms/UtilFinestre.h"
#include "components/stampa/OpzStampa.h"
#include "printing/frmStampaInCorso.h"
#include "printing/frmVStaPar.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace
{
using Scala = BancoFinestreStampa;

// Runs `azione` on the scale dialog when it shows.
void AllaScala(std::function<void(frmVStaPar &)> azione)
{
    RisposteProgrammate::ImpostaAzioneModale([azione](QWidget *w) {
        if (auto *d = qobject_cast<frmVStaPar *>(w))
            azione(*d);
    });
}
} // namespace

TEST_F(Scala, BarHeldTo50And180WithTheSampleAtThatSize)
{
    frmVStaPar d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Grandezza visualizzazione stampe"));
    d.VsbProp->setValue(10);
    EXPECT_EQ(d.VsbProp->value(), 50);
    EXPECT_EQ(d.LabProp->text(), QStringLiteral("50"));
    d.VsbProp->setValue(500);
    EXPECT_EQ(d.LabProp->text(), QStringLiteral("180"));
    EXPECT_DOUBLE_EQ(d.PicProva->FontProva().pointSizeF(), 18.0);
    EXPECT_EQ(d.PicProva->FontProva().family(), QStringLiteral("Arial"));
    d.VsbProp->setValue(d.VsbProp->value() - d.VsbProp->pageStep());
    EXPECT_EQ(d.LabProp->text(), QStringLiteral("155"));
    EXPECT_EQ(ProvaScala::Testo().first(),
              QStringLiteral("Testo di Prova. Grandezza dei Caratteri in stampa, "));

    // Double-click on the value: the defaults, whatever was shown.
    d.CheMemVid->setChecked(false);
    d.LabProp_DblClick();
    EXPECT_EQ(d.VsbProp->value(), 67);
    EXPECT_NEAR(d.PicProva->FontProva().pointSizeF(), 6.7, 0.01);
    EXPECT_TRUE(d.CheMemVid->isChecked());
}

// The keyboard alone changes the scale: the bar has the focus when the
// dialog opens and again after Tab has gone round "OK" and the box.
TEST_F(Scala, TheKeyboardAloneChangesTheScale)
{
    frmVStaPar d;
    d.VsbProp->setValue(100);
    d.show();
    d.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), d.VsbProp);
    const struct {
        Qt::Key tasto;
        int valore;
    } passi[] = {
        {Qt::Key_Down, 105}, {Qt::Key_Up, 100},       {Qt::Key_PageDown, 125}, {Qt::Key_PageUp, 100},
        {Qt::Key_End, 180},  {Qt::Key_PageDown, 180}, {Qt::Key_Home, 50},      {Qt::Key_Up, 50},
    };
    for (const auto &p : passi) {
        QTest::keyClick(QApplication::focusWidget(), p.tasto);
        EXPECT_EQ(d.VsbProp->value(), p.valore) << p.tasto;
        EXPECT_EQ(d.LabProp->text(), QString::number(p.valore));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.CmdOk);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.CheMemVid);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.VsbProp);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(d.VsbProp->value(), 75);
}

TEST_F(Scala, OkWritesTheOptionsTheCloseBoxKeepsThem)
{
    OpzStampa opz;
    opz.Fatt(0.67f);
    opz.MemVid(1);
    Globali::RisVidStaVid = 0.8;
    int mostrata = -1;
    AllaScala([&](frmVStaPar &d) {
        mostrata = d.VsbProp->value();
        d.CheMemVid->setChecked(false);
        d.CmdOk->click();
    });
    EXPECT_TRUE(frmVStaPar::ModificaScala(opz));
    EXPECT_EQ(mostrata, 84);
    EXPECT_FLOAT_EQ(opz.Fatt(), 0.672f);
    EXPECT_EQ(opz.MemVid(), 0);

    AllaScala([](frmVStaPar &d) {
        d.VsbProp->setValue(150);
        d.close();
    });
    EXPECT_FALSE(frmVStaPar::ModificaScala(opz));
    EXPECT_FLOAT_EQ(opz.Fatt(), 0.672f);
    EXPECT_EQ(opz.MemVid(), 0);

    // A stored scale outside the bar's range starts at its nearest end.
    Globali::RisVidStaVid = 0;
    opz.Fatt(3.0f);
    AllaScala([&](frmVStaPar &d) {
        mostrata = d.VsbProp->value();
        d.CmdOk_Click();
    });
    frmVStaPar::ModificaScala(opz);
    EXPECT_EQ(mostrata, 180);
    EXPECT_FLOAT_EQ(opz.Fatt(), 1.8f);
    EXPECT_EQ(frmVStaPar::PercentualeDaFattore(0.2, 0), 50);
    EXPECT_EQ(frmVStaPar::PercentualeDaFattore(0, 0), 100);
    RisposteProgrammate::ImpostaAzioneModale({});
}

TEST_F(Scala, ProgressWindowStopButtonAndEmailRequest)
{
    frmStampaInCorso w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Stampa ordini in corso"));
    EXPECT_EQ(w.osRisVidKey, QStringLiteral("StaVid"));
    w.ComStampa_Click(); // no engine: nothing to stop
    Stampatore motore;
    w.ogStampa(&motore);
    w.Mostra();
    w.PaginaInStampa(12);
    EXPECT_EQ(w.LblPag->text(), QStringLiteral("12"));
    w.ComSTampa->click();
    EXPECT_EQ(motore.Interrompi(), 1);
    w.Nascondi();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.ogStampa(), nullptr);

    EXPECT_FALSE(w.ChiediEmailLogPwd().toBool());
    frmStampaInCorso::ImpostaChiediDatiEmail([] { return QVariant(true); });
    EXPECT_TRUE(w.ChiediEmailLogPwd().toBool());
    frmStampaInCorso::ImpostaChiediDatiEmail({});
}
