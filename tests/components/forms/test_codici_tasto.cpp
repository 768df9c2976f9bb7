// VB key codes of Qt keys, both ways, and the shift masks.
#include "components/forms/CodiciTasto.h"

#include <gtest/gtest.h>

namespace
{

TEST(CodiciTasto, QtKeysGiveVbCodes)
{
    struct Caso {
        int tasto;
        Qt::KeyboardModifiers mod;
        int atteso;
    };
    const Caso casi[] = {
        {Qt::Key_F1, Qt::NoModifier, 112},
        {Qt::Key_F2, Qt::NoModifier, 113},
        {Qt::Key_F12, Qt::NoModifier, 123},
        {Qt::Key_Delete, Qt::NoModifier, 46},
        {Qt::Key_Insert, Qt::NoModifier, 45},
        {Qt::Key_Return, Qt::NoModifier, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Escape, Qt::NoModifier, 27},
        {Qt::Key_Tab, Qt::NoModifier, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, 9},
        {Qt::Key_Left, Qt::NoModifier, 37},
        {Qt::Key_Up, Qt::NoModifier, 38},
        {Qt::Key_Right, Qt::NoModifier, 39},
        {Qt::Key_Down, Qt::NoModifier, 40},
        {Qt::Key_PageUp, Qt::NoModifier, 33},
        {Qt::Key_PageDown, Qt::NoModifier, 34},
        {Qt::Key_Home, Qt::NoModifier, 36},
        {Qt::Key_End, Qt::NoModifier, 35},
        {Qt::Key_Backspace, Qt::NoModifier, 8},
        {Qt::Key_Space, Qt::NoModifier, 32},
        {Qt::Key_A, Qt::NoModifier, 65},
        {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_5, Qt::NoModifier, 53},
        {Qt::Key_5, Qt::KeypadModifier, 101},
        {Qt::Key_0, Qt::KeypadModifier, 96},
        {Qt::Key_Period, Qt::KeypadModifier, 110},
        {Qt::Key_Comma, Qt::KeypadModifier, 110},
        {Qt::Key_Period, Qt::NoModifier, 190},
        {Qt::Key_Minus, Qt::KeypadModifier, 109},
        {Qt::Key_Minus, Qt::NoModifier, 189},
        {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
        {Qt::Key_Slash, Qt::KeypadModifier, 111},
        {Qt::Key_Exclam, Qt::ShiftModifier, 49},
        {Qt::Key_Home, Qt::KeypadModifier, 36}, // keypad with NumLock off
        {Qt::Key_Shift, Qt::ShiftModifier, 16},
        {Qt::Key_Control, Qt::ControlModifier, 17},
        // Punctuation by the keys of the Italian keyboard: the apostrophe key is 219
        // whatever layout typed the apostrophe; Shift and AltGr characters go back
        // to their key, and a Shift character typed without Shift gets no code.
        {Qt::Key_Apostrophe, Qt::NoModifier, 219},
        {Qt::Key_Apostrophe, Qt::AltModifier, 219},
        {Qt::Key_Question, Qt::ShiftModifier, 219},
        {Qt::Key_Egrave, Qt::NoModifier, 186},
        {Qt::Key_Eacute, Qt::ShiftModifier, 186},
        {Qt::Key_BracketLeft, Qt::NoModifier, 186},
        {Qt::Key_Plus, Qt::NoModifier, 187},
        {Qt::Key_Agrave, Qt::NoModifier, 222},
        {Qt::Key_Slash, Qt::ShiftModifier, 55},
        {Qt::Key_Slash, Qt::AltModifier, 0},
        {Qt::Key_Equal, Qt::ShiftModifier, 48},
        {Qt::Key_Equal, Qt::NoModifier, 0},
        {Qt::Key_Less, Qt::NoModifier, 226},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(CodiciTasto::DaQt(c.tasto, c.mod), c.atteso) << std::hex << c.tasto;
}

TEST(CodiciTasto, VbCodesGoBackToTheSameKey)
{
    for (int codice : {8,  9,  13, 27, 32, 33, 34,  35,  36,  37,  38,  39,  40,  45,
                       46, 48, 57, 65, 90, 96, 105, 106, 107, 109, 110, 111, 112, 123}) {
        Qt::KeyboardModifiers mod;
        const Qt::Key k = CodiciTasto::QtDaCodice(codice, &mod);
        ASSERT_NE(k, Qt::Key_unknown) << codice;
        EXPECT_EQ(CodiciTasto::DaQt(k, mod), codice) << codice;
    }
    EXPECT_EQ(CodiciTasto::QtDaCodice(255), Qt::Key_unknown);
}

TEST(CodiciTasto, ShiftMasks)
{
    EXPECT_EQ(CodiciTasto::ShiftDaQt(Qt::NoModifier), 0);
    EXPECT_EQ(CodiciTasto::ShiftDaQt(Qt::ShiftModifier), 1);
    EXPECT_EQ(CodiciTasto::ShiftDaQt(Qt::ControlModifier), 2);
    EXPECT_EQ(CodiciTasto::ShiftDaQt(Qt::AltModifier), 4);
    EXPECT_EQ(CodiciTasto::ShiftDaQt(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier), 3);
    for (int s = 0; s < 8; ++s)
        EXPECT_EQ(CodiciTasto::ShiftDaQt(CodiciTasto::QtDaShift(s)), s);
}

} // namespace
