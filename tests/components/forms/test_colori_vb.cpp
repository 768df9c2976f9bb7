// VB colour values and the colours of controls.
#include "components/forms/ColoriVb.h"
#include "components/forms/ControlArray.h"
#include "components/forms/UtilFinestre.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{

TEST(ColoriVb, RgbValuesRoundTrip)
{
    struct Caso {
        long vb;
        QColor qt;
    };
    const Caso casi[] = {
        {0xFFL, QColor(255, 0, 0)},     // ColBackErrore: red
        {0xFF0000L, QColor(0, 0, 255)}, // &HFF0000 is blue in VB's BGR order
        {0x00FF00L, QColor(0, 255, 0)},
        {0xC0FFFFL, QColor(255, 255, 192)}, // light yellow
        {0x000000L, QColor(0, 0, 0)},
        {0xFFFFFFL, QColor(255, 255, 255)},
        {0x123456L, QColor(0x56, 0x34, 0x12)},
    };
    for (const Caso &c : casi) {
        EXPECT_EQ(ColoriVb::DaVb(c.vb), c.qt) << std::hex << c.vb;
        EXPECT_EQ(ColoriVb::AVb(c.qt), c.vb) << std::hex << c.vb;
        EXPECT_FALSE(ColoriVb::ColoreDiSistema(c.vb));
    }
}

TEST(ColoriVb, SystemColoursComeFromThePalette)
{
    QPalette p;
    p.setColor(QPalette::Base, QColor(1, 2, 3));
    p.setColor(QPalette::Text, QColor(4, 5, 6));
    p.setColor(QPalette::Button, QColor(7, 8, 9));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(10, 11, 12));
    EXPECT_TRUE(ColoriVb::ColoreDiSistema(0x80000005L));
    EXPECT_EQ(ColoriVb::DaVb(0x80000005L, p), QColor(1, 2, 3));    // window background
    EXPECT_EQ(ColoriVb::DaVb(0x80000008L, p), QColor(4, 5, 6));    // window text
    EXPECT_EQ(ColoriVb::DaVb(0x8000000FL, p), QColor(7, 8, 9));    // button face
    EXPECT_EQ(ColoriVb::DaVb(0x80000011L, p), QColor(10, 11, 12)); // grey text
}

TEST(ColoriVb, BackColorIsKeptAsSetAndPaintsTheControl)
{
    QWidget form;
    QLineEdit txt(&form);
    QLabel lab(&form);
    QCheckBox che(&form);
    for (QWidget *w :
         {static_cast<QWidget *>(&txt), static_cast<QWidget *>(&lab), static_cast<QWidget *>(&che)}) {
        ColoriVb::ImpostaBackColor(w, 0xFFL);
        EXPECT_EQ(ColoriVb::BackColor(w), 0xFFL);
        ColoriVb::ImpostaBackColor(w, 0x80000005L);
        EXPECT_EQ(ColoriVb::BackColor(w), 0x80000005L); // a system colour stays a system colour
    }
    ColoriVb::ImpostaBackColor(&txt, 0xFFL);
    EXPECT_EQ(txt.palette().color(QPalette::Base), QColor(255, 0, 0));
    // A field painted a colour goes back to the desktop's window colour.
    ColoriVb::ImpostaBackColor(&txt, 0x80000005L);
    EXPECT_EQ(txt.palette().color(QPalette::Base), QApplication::palette(&txt).color(QPalette::Base));
    ColoriVb::ImpostaForeColor(&lab, 0x80000011L);
    EXPECT_EQ(ColoriVb::ForeColor(&lab), 0x80000011L);
    // A control never painted answers the colour it shows.
    QLineEdit nuovo(&form);
    EXPECT_EQ(ColoriVb::BackColor(&nuovo), ColoriVb::AVb(nuovo.palette().color(QPalette::Base)));
}

TEST(ColoriVb, AControlWhosePaletteWasReplacedIsColouredAgain)
{
    QWidget form;
    QLineEdit txt(&form);
    ColoriVb::ImpostaBackColor(&txt, 0xFFL);
    // Another hand gives the field a palette of its own: the same colour asked
    // again is painted again, not taken as already there.
    txt.setPalette(QApplication::palette(&txt));
    ASSERT_NE(txt.palette().color(QPalette::Base), QColor(255, 0, 0));
    ColoriVb::ImpostaBackColor(&txt, 0xFFL);
    EXPECT_EQ(txt.palette().color(QPalette::Active, QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(txt.palette().color(QPalette::Inactive, QPalette::Base), QColor(255, 0, 0));
}

TEST(ColoriVb, FieldInErrorIsFoundByArrayNameAndIndex)
{
    QWidget form;
    ControlArray<QLineEdit> txt(QStringLiteral("txt"));
    for (int i : {1003, 1017, 1117})
        txt.Aggiungi(i, new QLineEdit(&form));
    for (auto [i, c] : txt)
        ColoriVb::ImpostaBackColor(c, 0x80000005L);

    QString nome;
    int indice = 0;
    EXPECT_FALSE(UtilFinestre::CercaCampoInErrore(&form, 0xFFL, nome, indice));
    EXPECT_EQ(indice, -1);

    ColoriVb::ImpostaBackColor(txt(1117), 0xFFL);
    ASSERT_TRUE(UtilFinestre::CercaCampoInErrore(&form, 0xFFL, nome, indice));
    EXPECT_EQ(nome, QStringLiteral("txt"));
    EXPECT_EQ(indice, 1117);

    ColoriVb::ImpostaBackColor(txt(1117), 0x80000005L);
    EXPECT_FALSE(UtilFinestre::CercaCampoInErrore(&form, 0xFFL, nome, indice));
}

} // namespace
