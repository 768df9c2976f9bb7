// The text of a control whatever its kind (text box, label, combo, check
// box), read and written the one way the services need it.
#pragma once

#include <QString>

class QWidget;

QString TestoControllo(const QWidget *w);
void ImpostaTestoControllo(QWidget *w, const QString &testo);
// True for controls the user types into (as opposed to labels that only show).
bool ControlloDiInserimento(const QWidget *w);
