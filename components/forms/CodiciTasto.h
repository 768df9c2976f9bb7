// VB key codes and shift masks, and their translation from and to Qt keys.
// Punctuation takes the codes of the keys of the Italian keyboard.
#pragma once

#include <Qt>

class QKeyEvent;

namespace CodiciTasto
{

// Shift argument of KeyDown/KeyUp.
constexpr int MaskShift = 1, MaskCtrl = 2, MaskAlt = 4;

// Key codes (letters are their upper-case ASCII code, digits their ASCII code).
constexpr int Back = 8, Tab = 9, Clear = 12, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19,
              Capital = 20, Escape = 27, Space = 32, PageUp = 33, PageDown = 34, End = 35, Home = 36,
              Left = 37, Up = 38, Right = 39, Down = 40, Print = 42, Snapshot = 44, Insert = 45, Delete = 46,
              Help = 47, Numpad0 = 96, Multiply = 106, Add = 107, Separator = 108, Subtract = 109,
              Decimal = 110, Divide = 111, F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117,
              F7 = 118, F8 = 119, F9 = 120, F10 = 121, F11 = 122, F12 = 123, NumLock = 144, ScrollLock = 145;

// VB key code of a Qt key (with the keypad modifier telling the keypad keys
// apart); 0 for keys VB has no code for.
int DaQt(int tastoQt, Qt::KeyboardModifiers modificatori);
int DaEvento(const QKeyEvent *ev);
// Shift mask of Qt modifiers.
int ShiftDaQt(Qt::KeyboardModifiers modificatori);
// The Qt key (and the keypad modifier, for keypad codes) of a VB key code;
// Qt::Key_unknown for none.
Qt::Key QtDaCodice(int codiceVb, Qt::KeyboardModifiers *modificatori = nullptr);
Qt::KeyboardModifiers QtDaShift(int shift);

} // namespace CodiciTasto
