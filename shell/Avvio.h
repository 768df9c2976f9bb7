// Start of the program: command line, main window, menu-host link, INI,
// company database, company parameters, lookup receiver and the first window.
#pragma once

#include <QString>
#include <QStringList>

// This program's number in the suite.
inline constexpr int NumeroPrgClienti = 32;

// Environment variable naming the standalone host's parameter file (else
// "menu-parametri.json" beside the program INI).
inline const QString AmbienteParametriMenu = QStringLiteral("CLIENTI_PARAMETRI");

// The start: AvvioPrg(32, ""), then the common menu database's path for the
// lookup library ("PathDbMenu"). The first window opens once the event loop
// runs. False when the start failed: the message has been shown and the
// program is closing in order (the main window will end the event loop).
bool Main(const QStringList &argomenti);

// Resets the shared globals, reads the switches "M" (the host's local server;
// none: the standalone host), "P" (a parameter, then the first window's name),
// "F", "H" (help file), "I" (INI name or path), creates the main window and the
// host link, finds the INI, opens the company database and reads the company
// parameters. "" when done, else a text beginning with "Err:".
QString AvvioPrg(int piNumeroPrg, const QString &psNome, const QStringList &argomenti);

// Opens the first window (the second word of "P"), with the host's launch
// keys; with none named, the launcher window. Without a menu program a name
// that no window answers to is reported and the launcher shown instead.
void ApriPrimaForm();

// Registers the windows this program can open by name.
void RegistraFormProgramma();

// Qt's own texts (file dialogs, standard buttons, text menus) in Italian, as
// the rest of the program, and Italian the locale what Qt writes by default
// follows (the type, size and date of a file in the file dialogs); once per
// run. False when the translations are not installed (the texts stay in
// English; the locale is Italian all the same).
bool InstallaTraduzioniQt();
