// The wait window shown while the program connects to its database or loads a
// form ("Connessione primaria al database", "Caricamento maschera").
#pragma once

#include <QString>

class QWidget;

namespace frmConn
{

// Shows the wait window with that text (created on first use) and paints it at once.
void Mostra(const QString &psTesto);
// Unloads the wait window; nothing when it is not loaded.
void Scarica();
// True while the wait window is loaded; its current text.
bool Caricato();
QString Testo();
// True when w is the wait window (it never keeps the program alive).
bool EFrmConn(const QWidget *w);

} // namespace frmConn
