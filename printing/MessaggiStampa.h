// The messages of the print windows: the platform's plain message box (OK
// only), recorded instead of shown while tests script the message boxes
// (kind "msgBox": its text, title and icon), and the program's standard notice
// (msgCom with the print windows' sizes).
#pragma once

#include <QMessageBox>
#include <QString>

namespace MessaggiStampa
{

inline const QString TipoMsgBox = QStringLiteral("msgBox");

// An empty title shows the program's name; `dettagli` (the system's own
// words) go behind the box's details button.
void MsgBox(const QString &testo, const QString &titolo = {}, QMessageBox::Icon icona = QMessageBox::NoIcon,
            QWidget *genitore = nullptr, const QString &dettagli = {});
// msgCom with "&Ok", width 80 %, no beep, 600 twips of margin.
void Avviso(const QString &testo);

} // namespace MessaggiStampa
