// The event adapter driven by real widgets and real key, focus and mouse
// events, headless.
#include "components/forms/AdattatoreEventi.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/ControlArray.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/VbErrore.h"

#include "support/StampaQt.h"
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace
{

// A window with three fields of one array, a check box and a button.
class Finestra : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        auto *l = new QVBoxLayout(&form);
        for (int i : {10, 20, 30})
            l->addWidget(txt.Aggiungi(i, new QLineEdit(&form)));
        l->addWidget(che.Aggiungi(5, new QCheckBox(QStringLiteral("Attivo"), &form)));
        bottone = new QPushButton(QStringLiteral("Ok"), &form);
        l->addWidget(bottone);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    QString evento(const char *nome, int indice, int a = -1, int b = -1)
    {
        QString s = QStringLiteral("%1(%2").arg(QLatin1String(nome)).arg(indice);
        if (a >= 0)
            s += QStringLiteral(",%1").arg(a);
        if (b >= 0)
            s += QStringLiteral(",%1").arg(b);
        return s + QLatin1Char(')');
    }
    // Every event of the array, recorded.
    GestoriEventi registratori()
    {
        GestoriEventi g;
        g.GotFocus = [this](int i) { eventi << evento("GotFocus", i); };
        g.LostFocus = [this](int i) { eventi << evento("LostFocus", i); };
        g.Change = [this](int i) { eventi << evento("Change", i); };
        g.KeyDown = [this](int i, int &k, int s) { eventi << evento("KeyDown", i, k, s); };
        g.KeyUp = [this](int i, int &k, int s) { eventi << evento("KeyUp", i, k, s); };
        g.KeyPress = [this](int i, int &a) { eventi << evento("KeyPress", i, a); };
        return g;
    }

    QWidget form;
    ControlArray<QLineEdit> txt{QStringLiteral("txt")};
    ControlArray<QCheckBox> che{QStringLiteral("Che")};
    QPushButton *bottone = nullptr;
    QStringList eventi;
};

TEST_F(Finestra, FocusMovingBetweenFieldsGivesLostFocusBeforeGotFocus)
{
    AdattatoreEventi ad(&form);
    bottone->setFocus();
    ad.Collega(txt, registratori());
    txt(10)->setFocus();
    QTest::keyPress(txt(10), Qt::Key_Tab); // moves the focus, no KeyDown
    EXPECT_EQ(QApplication::focusWidget(), txt(20));
    txt(30)->setFocus();
    EXPECT_EQ(eventi, (QStringList{"GotFocus(10)", "LostFocus(10)", "GotFocus(20)", "LostFocus(20)",
                                   "GotFocus(30)"}));
}

TEST_F(Finestra, MessageBoxFromLostFocusDoesNotFireFocusEventsAgain)
{
    AdattatoreEventi ad(&form);
    GestoriEventi g = registratori();
    g.LostFocus = [&](int i) {
        eventi << evento("LostFocus", i);
        if (i == 10) {
            // The field refuses its value, as a check on leaving a field does.
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Clienti"),
                            QStringLiteral("Data troppo piccola"), QMessageBox::Ok, &form);
            QTimer::singleShot(0, &box, &QMessageBox::accept);
            box.exec();
            txt(10)->setFocus();
        }
    };
    bottone->setFocus();
    ad.Collega(txt, g);
    txt(10)->setFocus();
    txt(20)->setFocus();
    // The box gave the activation back to the form (offscreen does not do it by itself).
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), txt(10));
    EXPECT_EQ(ad.ControlloAttivo(), txt(10));
    // Field 20 never got the focus, so it has nothing to lose either.
    EXPECT_FALSE(eventi.contains(QStringLiteral("LostFocus(20)"))) << eventi.join(' ').toStdString();
    EXPECT_EQ(eventi.count(QStringLiteral("LostFocus(10)")), 1) << eventi.join(' ').toStdString();
    EXPECT_EQ(eventi, (QStringList{"GotFocus(10)", "LostFocus(10)", "GotFocus(10)"}));
}

TEST_F(Finestra, KeysArriveWithVbCodesAndShift)
{
    AdattatoreEventi ad(&form);
    ad.Collega(txt, registratori());
    txt(20)->setFocus();
    eventi.clear();
    QTest::keyClick(txt(20), Qt::Key_F2);
    QTest::keyClick(txt(20), 'A', Qt::ShiftModifier);
    QTest::keyClick(txt(20), Qt::Key_Delete, Qt::ControlModifier);
    // The modifier keys have their own KeyDown and KeyUp, as in VB.
    EXPECT_EQ(eventi,
              (QStringList{"KeyDown(20,113,0)", "KeyUp(20,113,0)", "KeyDown(20,16,1)", "KeyDown(20,65,1)",
                           "KeyPress(20,65)", "Change(20)", "KeyUp(20,65,1)", "KeyUp(20,16,0)",
                           "KeyDown(20,17,2)", "KeyDown(20,46,2)", "KeyUp(20,46,2)", "KeyUp(20,17,0)"}));
}

TEST_F(Finestra, HandlersSwallowOrReplaceKeys)
{
    AdattatoreEventi ad(&form);
    GestoriEventi g;
    g.KeyDown = [](int, int &k, int) {
        if (k == CodiciTasto::Delete)
            k = 0;
    };
    g.KeyPress = [](int, int &a) {
        if (a == 'x')
            a = 0;
        else if (a == '.')
            a = ',';
        else if (a >= 'a' && a <= 'z')
            a -= 32;
    };
    ad.Collega(txt, g);
    QLineEdit *e = txt(10);
    e->setFocus();
    QTest::keyClicks(e, QStringLiteral("ax1.5"));
    EXPECT_EQ(e->text(), QStringLiteral("A1,5"));
    e->setCursorPosition(0);
    QTest::keyClick(e, Qt::Key_Delete); // swallowed by KeyDown
    EXPECT_EQ(e->text(), QStringLiteral("A1,5"));
    QTest::keyClick(e, Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(e->text(), QStringLiteral(",A1,5"));
}

TEST_F(Finestra, KeyPreviewRunsTheFormFirstAndCanStopTheKey)
{
    AdattatoreEventi ad(&form);
    ad.Collega(txt, registratori());
    GestoriForm f;
    f.KeyDown = [this](int &k, int s) {
        eventi << QStringLiteral("Form_KeyDown(%1,%2)").arg(k).arg(s);
        if (k == CodiciTasto::F5)
            k = 0;
    };
    f.KeyPress = [this](int &a) {
        eventi << QStringLiteral("Form_KeyPress(%1)").arg(a);
        if (a == 13 || a == 27)
            a = 0;
    };
    ad.ImpostaKeyPreview(f);
    txt(30)->setFocus();
    eventi.clear();
    QTest::keyPress(txt(30), Qt::Key_B);
    QTest::keyPress(txt(30), Qt::Key_F5);
    QTest::keyPress(txt(30), Qt::Key_Return);
    EXPECT_EQ(eventi, (QStringList{"Form_KeyDown(66,0)", "KeyDown(30,66,0)", "Form_KeyPress(98)",
                                   "KeyPress(30,98)", "Change(30)", "Form_KeyDown(116,0)",
                                   "Form_KeyDown(13,0)", "KeyDown(30,13,0)", "Form_KeyPress(13)"}));
    // Controls wired nowhere still pass through the form's preview.
    bottone->setFocus();
    eventi.clear();
    QTest::keyPress(bottone, Qt::Key_F3);
    EXPECT_EQ(eventi, QStringList{"Form_KeyDown(114,0)"});
    ad.DisattivaKeyPreview();
    eventi.clear();
    QTest::keyPress(txt(30), Qt::Key_F3);
    EXPECT_EQ(eventi, QStringList{"KeyDown(30,114,0)"});
}

TEST_F(Finestra, ClicksFollowTheValueOfCheckBoxesAndButtons)
{
    AdattatoreEventi ad(&form);
    QStringList click;
    GestoriEventi g;
    g.Click = [&](int i) { click << QStringLiteral("Che_Click(%1)").arg(i); };
    ad.Collega(che, g);
    GestoriEventi b;
    b.Click = [&](int i) { click << QStringLiteral("ComOk_Click(%1)").arg(i); };
    ad.Collega(bottone, -1, b);
    QTest::mouseClick(che(5), Qt::LeftButton, {}, QPoint(6, che(5)->height() / 2));
    che(5)->setChecked(false); // set by code: VB fires Click too
    QTest::mouseClick(bottone, Qt::LeftButton);
    EXPECT_EQ(click, (QStringList{"Che_Click(5)", "Che_Click(5)", "ComOk_Click(-1)"}));

    // A text box has Click and DblClick from the mouse.
    GestoriEventi t;
    t.Click = [&](int i) { click << QStringLiteral("txt_Click(%1)").arg(i); };
    t.DblClick = [&](int i) { click << QStringLiteral("txt_DblClick(%1)").arg(i); };
    ad.Collega(txt, t);
    click.clear();
    QTest::mouseClick(txt(20), Qt::LeftButton);
    QTest::mouseDClick(txt(20), Qt::LeftButton);
    EXPECT_EQ(click.first(), QStringLiteral("txt_Click(20)"));
    EXPECT_EQ(click.count(QStringLiteral("txt_DblClick(20)")), 1) << click.join(' ').toStdString();
}

TEST(ControlArray, IndexesNamesAndMissingElements)
{
    QWidget form;
    ControlArray<QLineEdit> txt(QStringLiteral("txt"));
    for (int i : {1130, 10, 30, 20})
        txt.Aggiungi(i, new QLineEdit(&form));
    EXPECT_EQ(txt.Count(), 4);
    EXPECT_EQ(txt.LBound(), 10);
    EXPECT_EQ(txt.UBound(), 1130);
    EXPECT_EQ(txt.Indici(), (QList<int>{10, 20, 30, 1130}));
    EXPECT_EQ(NomeControllo(txt(1130)), QStringLiteral("txt"));
    EXPECT_EQ(IndiceControllo(txt(1130)), 1130);
    EXPECT_TRUE(txt.Contiene(txt(20)));
    EXPECT_FALSE(txt.Esiste(40));
    EXPECT_EQ(txt.Trova(40), nullptr);
    try {
        txt(40);
        ADD_FAILURE() << "no error";
    } catch (const VbErrore &e) {
        EXPECT_EQ(e.numero(), 340);
    }
    EXPECT_THROW(txt.Aggiungi(10, new QLineEdit(&form)), VbErrore);
    delete txt(20); // an unloaded control leaves the array
    EXPECT_FALSE(txt.Esiste(20));
    QList<int> visti;
    for (auto [i, c] : txt) {
        visti << i;
        EXPECT_NE(c, nullptr);
    }
    EXPECT_EQ(visti, (QList<int>{10, 30, 1130}));
}

// Set by handlers that unwire their own control: whether the handler itself
// (and what it holds) was still alive after the unwiring.
std::weak_ptr<int> gestoreOsservato;
bool gestoreVivoDopoScollega = false;

TEST_F(Finestra, HandlerThatUnwiresItsOwnControlRunsToItsEnd)
{
    AdattatoreEventi ad(&form);
    auto *etichetta = new QLabel(QStringLiteral("Apri"), &form);
    etichetta->show();
    struct Caso {
        const char *nome;
        QWidget *controllo;
        std::function<void()> provoca;
        std::function<void(int)> GestoriEventi::*evento;
    };
    const Caso casi[] = {
        {"Click da segnale", bottone, [this] { bottone->click(); }, &GestoriEventi::Click},
        {"Change", txt(10), [this] { txt(10)->setText(QStringLiteral("x")); }, &GestoriEventi::Change},
        {"Click dal mouse", etichetta, [etichetta] { QTest::mouseClick(etichetta, Qt::LeftButton); },
         &GestoriEventi::Click},
        {"DblClick", etichetta, [etichetta] { QTest::mouseDClick(etichetta, Qt::LeftButton); },
         &GestoriEventi::DblClick},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        auto sentinella = std::make_shared<int>(1);
        gestoreOsservato = sentinella;
        gestoreVivoDopoScollega = false;
        GestoriEventi g;
        g.*c.evento = [sentinella, &ad, w = c.controllo](int) {
            ad.Scollega(w);
            gestoreVivoDopoScollega = !gestoreOsservato.expired();
        };
        ad.Collega(c.controllo, 1, g);
        g = {};
        sentinella.reset();
        c.provoca();
        EXPECT_TRUE(gestoreVivoDopoScollega);
        EXPECT_TRUE(gestoreOsservato.expired()); // released once the handler is over
    }
}

TEST_F(Finestra, FocusHelperRefusesControlsThatCannotTakeIt)
{
    txt(20)->setEnabled(false);
    EXPECT_FALSE(UtilFinestre::ImpostaFocus(txt(20)));
    EXPECT_THROW(UtilFinestre::ImpostaFocus(txt(20), false), VbErrore);
    EXPECT_TRUE(UtilFinestre::ImpostaFocus(txt(30)));
    EXPECT_EQ(QApplication::focusWidget(), txt(30));
}

} // namespace

TEST_F(Finestra, AltLettersTypeNothingButReachTheHandlers)
{
    AdattatoreEventi ad(&form);
    ad.Collega(txt, registratori());
    QLineEdit *e = txt(10);
    e->setFocus();
    e->setText(QStringLiteral("Rossi"));
    eventi.clear();
    QTest::keyClick(e, Qt::Key_Q, Qt::AltModifier);
    QTest::keyClick(e, Qt::Key_Apostrophe, Qt::AltModifier);
    QTest::keyClick(e, Qt::Key_7, Qt::AltModifier);
    EXPECT_EQ(e->text(), QStringLiteral("Rossi"));
    EXPECT_TRUE(eventi.contains(QStringLiteral("KeyDown(10,81,4)"))) << eventi.join(' ').toStdString();
    EXPECT_FALSE(eventi.contains(QStringLiteral("Change(10)")));
    // Plain keys still type.
    QTest::keyClick(e, Qt::Key_A);
    EXPECT_EQ(e->text(), QStringLiteral("Rossia"));
}

namespace
{
// A field whose own key handler fails on one character.
class CampoFragile : public QLineEdit
{
  public:
    using QLineEdit::QLineEdit;

  protected:
    void keyPressEvent(QKeyEvent *ev) override
    {
        if (ev->text() == QStringLiteral("!"))
            throw VbErrore(5, QStringLiteral("guasto"));
        QLineEdit::keyPressEvent(ev);
    }
};
} // namespace

TEST_F(Finestra, AReplacedKeyWhoseDeliveryThrowsLeavesTheAdapterListening)
{
    AdattatoreEventi ad(&form);
    ControlArray<QLineEdit> fragile{QStringLiteral("txtF")};
    auto *e = fragile.Aggiungi(1, new CampoFragile(&form));
    e->show();
    GestoriEventi g = registratori();
    g.KeyPress = [this](int i, int &a) {
        eventi << evento("KeyPress", i, a);
        if (a == '?')
            a = '!';
    };
    ad.Collega(fragile, g);
    e->setFocus();
    eventi.clear();
    EXPECT_THROW(QTest::keyClick(e, Qt::Key_Question), VbErrore);
    eventi.clear();
    QTest::keyClick(e, Qt::Key_B);
    EXPECT_TRUE(eventi.contains(QStringLiteral("KeyDown(1,66,0)"))) << eventi.join(' ').toStdString();
    EXPECT_TRUE(eventi.contains(QStringLiteral("KeyPress(1,98)"))) << eventi.join(' ').toStdString();
    EXPECT_EQ(e->text(), QStringLiteral("b"));
}
