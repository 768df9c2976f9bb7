// Orderly shutdown: the close polling of the main window, the check for
// windows still open, and the release of the program's shared objects.
#pragma once

#include <QList>
#include <QString>

class QWidget;

// Arms the close polling of the main window; piTmpAttesa ticks are skipped
// before the first check. Installed as the program's close-timer hook.
void AvviaTimerChiusuraShell(int piTmpAttesa);

// A start-up failure: unloads the wait window and arms the close polling so
// that the program ends once nothing is left open; the exit code becomes 1.
void AvviaChiusura();

// The windows that keep the program alive: visible top-level windows other
// than the main window, the wait window, pop-ups and tool tips.
QList<QWidget *> FinestreAperte();

// Empty when the program may close; else why not: "Maschera Modal" while a
// modal window is open, or the title of a window still open.
QString VerificaChiusura();

// Releases the shared objects and closes the main window, which ends the program.
void ChiudiProgramma();

// Releases the host link, the lookup library, the context object and the
// database connections, and empties the globals that pointed at them.
void RilasciaOggettiGlobali();
