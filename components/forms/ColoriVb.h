// VB colours (Long &HBBGGRR, and the system colours &H800000nn) to QColor and
// back, and a control's BackColor/ForeColor the way the windows use them: the
// VB value set is kept on the control, so a field painted ColBackErrore is
// recognised as such later, whatever the palette resolved it to.
#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace ColoriVb
{

// True for &H800000nn values (system colours).
bool ColoreDiSistema(long colore);
// The palette role a system colour stands for (index nn of &H800000nn).
QPalette::ColorRole RuoloDiSistema(long colore, QPalette::ColorGroup *gruppo = nullptr);
// The QColor of a VB colour; system colours are resolved in `palette`
// (the application's when none is given).
QColor DaVb(long colore);
QColor DaVb(long colore, const QPalette &palette);
// &HBBGGRR of a colour (never a system colour).
long AVb(const QColor &colore);

// BackColor of a control: sets the palette role that paints its background
// (the text area of input controls, the window of the others) and remembers
// the VB value.
void ImpostaBackColor(QWidget *w, long colore);
long BackColor(const QWidget *w);
void ImpostaForeColor(QWidget *w, long colore);
long ForeColor(const QWidget *w);

} // namespace ColoriVb
