// Qt keys to VB key codes and back.
#include "components/forms/CodiciTasto.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace
{

using Coppia = std::pair<int, int>; // Qt key, VB code

// Keys outside the letter, digit and function-key ranges, and the characters
// of the Italian keyboard typed without Shift, with the codes of their keys
// there (the apostrophe key, right of 0, is 219).
constexpr std::array<Coppia, 39> Tabella{{
    {Qt::Key_Backspace, CodiciTasto::Back},
    {Qt::Key_Tab, CodiciTasto::Tab},
    {Qt::Key_Backtab, CodiciTasto::Tab},
    {Qt::Key_Clear, CodiciTasto::Clear},
    {Qt::Key_Return, CodiciTasto::Return},
    {Qt::Key_Enter, CodiciTasto::Return},
    {Qt::Key_Shift, CodiciTasto::Shift},
    {Qt::Key_Control, CodiciTasto::Control},
    {Qt::Key_Alt, CodiciTasto::Menu},
    {Qt::Key_Pause, CodiciTasto::Pause},
    {Qt::Key_CapsLock, CodiciTasto::Capital},
    {Qt::Key_Escape, CodiciTasto::Escape},
    {Qt::Key_Space, CodiciTasto::Space},
    {Qt::Key_PageUp, CodiciTasto::PageUp},
    {Qt::Key_PageDown, CodiciTasto::PageDown},
    {Qt::Key_End, CodiciTasto::End},
    {Qt::Key_Home, CodiciTasto::Home},
    {Qt::Key_Left, CodiciTasto::Left},
    {Qt::Key_Up, CodiciTasto::Up},
    {Qt::Key_Right, CodiciTasto::Right},
    {Qt::Key_Down, CodiciTasto::Down},
    {Qt::Key_Print, CodiciTasto::Snapshot},
    {Qt::Key_Insert, CodiciTasto::Insert},
    {Qt::Key_Delete, CodiciTasto::Delete},
    {Qt::Key_Help, CodiciTasto::Help},
    {Qt::Key_NumLock, CodiciTasto::NumLock},
    {Qt::Key_ScrollLock, CodiciTasto::ScrollLock},
    {Qt::Key_Egrave, 186},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Ugrave, 191},
    {Qt::Key_Ograve, 192},
    {Qt::Key_Apostrophe, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Igrave, 221},
    {Qt::Key_Agrave, 222},
    {Qt::Key_Less, 226},
}};

// Keypad keys other than the digits.
constexpr std::array<Coppia, 7> Tastierino{{
    {Qt::Key_Asterisk, CodiciTasto::Multiply},
    {Qt::Key_Plus, CodiciTasto::Add},
    {Qt::Key_Minus, CodiciTasto::Subtract},
    {Qt::Key_Period, CodiciTasto::Decimal},
    {Qt::Key_Comma, CodiciTasto::Decimal}, // the decimal key of keypads that type a comma
    {Qt::Key_Slash, CodiciTasto::Divide},
    {Qt::Key_Enter, CodiciTasto::Return},
}};

// Characters the Italian keyboard types with Shift, reported by Qt as their
// own keys, back to the key that types them. Without Shift they come from
// another layout, where that key means something else: they get no code, so
// that Alt+"/" on such a keyboard is not Alt+7.
constexpr std::array<Coppia, 22> Maiuscoli{{
    {Qt::Key_Exclam, '1'},     {Qt::Key_QuoteDbl, '2'},  {Qt::Key_sterling, '3'},  {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},    {Qt::Key_Ampersand, '6'}, {Qt::Key_Slash, '7'},     {Qt::Key_ParenLeft, '8'},
    {Qt::Key_ParenRight, '9'}, {Qt::Key_Equal, '0'},     {Qt::Key_Question, 219},  {Qt::Key_AsciiCircum, 221},
    {Qt::Key_Eacute, 186},     {Qt::Key_Asterisk, 187},  {Qt::Key_Ccedilla, 192},  {Qt::Key_degree, 222},
    {Qt::Key_section, 191},    {Qt::Key_Bar, 220},       {Qt::Key_Semicolon, 188}, {Qt::Key_Colon, 190},
    {Qt::Key_Underscore, 189}, {Qt::Key_Greater, 226},
}};

// Characters of the Italian keyboard's AltGr level, back to their key.
constexpr std::array<Coppia, 8> AltGr{{
    {Qt::Key_BracketLeft, 186},
    {Qt::Key_BraceLeft, 186},
    {Qt::Key_BracketRight, 187},
    {Qt::Key_BraceRight, 187},
    {Qt::Key_At, 192},
    {Qt::Key_NumberSign, 222},
    {Qt::Key_QuoteLeft, 219},
    {Qt::Key_AsciiTilde, 221},
}};

} // namespace

namespace CodiciTasto
{

int DaQt(int tasto, Qt::KeyboardModifiers modificatori)
{
    if (modificatori & Qt::KeypadModifier) {
        if (tasto >= Qt::Key_0 && tasto <= Qt::Key_9)
            return Numpad0 + (tasto - Qt::Key_0);
        for (const auto &[qt, vb] : Tastierino)
            if (qt == tasto)
                return vb;
        // Keypad navigation keys (NumLock off) have their ordinary codes.
    }
    if (tasto >= Qt::Key_A && tasto <= Qt::Key_Z)
        return tasto;
    if (tasto >= Qt::Key_0 && tasto <= Qt::Key_9)
        return tasto;
    if (tasto >= Qt::Key_F1 && tasto <= Qt::Key_F16)
        return F1 + (tasto - Qt::Key_F1);
    for (const auto &[qt, vb] : Tabella)
        if (qt == tasto)
            return vb;
    for (const auto &[qt, vb] : Maiuscoli)
        if (qt == tasto)
            return modificatori & Qt::ShiftModifier ? vb : 0;
    for (const auto &[qt, vb] : AltGr)
        if (qt == tasto)
            return vb;
    return 0;
}

int DaEvento(const QKeyEvent *ev)
{
    return DaQt(ev->key(), ev->modifiers());
}

int ShiftDaQt(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? MaskShift : 0) | (m & Qt::ControlModifier ? MaskCtrl : 0) |
           (m & Qt::AltModifier ? MaskAlt : 0);
}

Qt::Key QtDaCodice(int codice, Qt::KeyboardModifiers *modificatori)
{
    if (modificatori)
        *modificatori = Qt::NoModifier;
    auto tastierino = [&](int k) {
        if (modificatori)
            *modificatori = Qt::KeypadModifier;
        return Qt::Key(k);
    };
    if (codice >= Numpad0 && codice <= Numpad0 + 9)
        return tastierino(Qt::Key_0 + (codice - Numpad0));
    if (codice >= Multiply && codice <= Divide && codice != Separator) {
        for (const auto &[qt, vb] : Tastierino)
            if (vb == codice)
                return tastierino(qt);
    }
    if ((codice >= 'A' && codice <= 'Z') || (codice >= '0' && codice <= '9'))
        return Qt::Key(codice);
    if (codice >= F1 && codice <= F1 + 15)
        return Qt::Key(Qt::Key_F1 + (codice - F1));
    for (const auto &[qt, vb] : Tabella)
        if (vb == codice)
            return Qt::Key(qt);
    return Qt::Key_unknown;
}

Qt::KeyboardModifiers QtDaShift(int shift)
{
    Qt::KeyboardModifiers m;
    if (shift & MaskShift)
        m |= Qt::ShiftModifier;
    if (shift & MaskCtrl)
        m |= Qt::ControlModifier;
    if (shift & MaskAlt)
        m |= Qt::AltModifier;
    return m;
}

} // namespace CodiciTasto
