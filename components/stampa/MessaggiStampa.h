// The print engine's failures said to the user: what happened and what to do,
// in Italian, with the system's own words at most as a detail in brackets.
// A file that cannot be written is explained from its folder (missing, not a
// folder, read-only, no permission, disk full) rather than from the bare
// message of the system.
#pragma once

#include <QString>
#include <QStringList>

namespace messaggi_stampa
{

// Why the file `percorso` cannot be written, found by looking at its folder;
// `errno` of the failed call when known (0 otherwise); `dettaglio` the
// system's text, appended as a detail when the cause is not recognised.
QString FileNonScrivibile(const QString &percorso, int numeroErrore = 0, const QString &dettaglio = {});
// The folder of `percorso` is missing, is not a folder, or cannot be written
// into: the message, else "" (the folder looks fine).
QString ControllaCartella(const QString &percorso);
// A printer the catalogue does not know.
QString StampanteNonInstallata(const QString &nome);
// A job handed to a queue that did not print it: the printer is stopped
// (the job waits in its queue), the job is held, the printer stopped or
// dropped the job, the queue does not accept jobs, or refused this one.
// `lavoro` is the job's number in its queue.
QString StampanteFerma(const QString &stampante, int lavoro, const QString &dettaglio = {});
QString LavoroTrattenuto(const QString &stampante, int lavoro, const QString &dettaglio = {});
QString LavoroInterrotto(const QString &stampante, int lavoro, const QString &dettaglio = {});
QString CodaNonAccetta(const QString &stampante, const QString &dettaglio = {});
QString CodaRifiuta(const QString &stampante, const QString &dettaglio = {});
// What a finished print made: the file written (with its rows when known,
// -1 otherwise), the PDF sent by e-mail to `destinatari` (none when not
// known; past six, the first five and how many more).
QString FileScritto(const QString &percorso, qint64 righe = -1);
QString EmailInviata(const QString &percorso, const QStringList &destinatari);
// " (Dettaglio: ...)" when the system said something, else "".
QString Dettaglio(const QString &testoSistema);

} // namespace messaggi_stampa
