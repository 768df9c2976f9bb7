// Field colours: the focus highlight, the colour of a field left, and the
// date check that paints a refused date.
#pragma once

#include <QString>
#include <QVariant>
#include <optional>

class QWidget;

// Gives `controllo` the focus colour ColBackGotFocus; a field painted
// ColBackErrore keeps it unless piForza. When the focus and no-focus colours
// differ, any other "txt" field of the window still in the focus colour first
// returns to ColBackLostFocus, so only one field ever shows it.
void ColoraCampi(QWidget *controllo, int piForza = 0);

// Gives `ctl` ColBackLostFocus unless it shows ColBackErrore (pbForza: always).
void ColoreCampo(QWidget *ctl, bool pbForza = false);

// Checks the date typed into `ctl`: empty is accepted; a text that is no date
// is refused with "Data non valida", a date before DataMinima with "Data troppo
// piccola". The message goes into `msg` and, with pbMsgBox, into a message box.
// Refused: piModo 1 or 3 paints ColBackErrore, piModo above 1 moves the focus
// to `ctl`, and the window's title joins FormConErrori. Accepted: `ctl` gets
// colNormale (ColBackNormale when missing). Answers True when accepted.
QVariant ControllaCampoData(QWidget *ctl, const QVariant &tipo, int &piModo,
                            std::optional<long> colNormale = {}, QString *msg = nullptr, int pbMsgBox = 0);
