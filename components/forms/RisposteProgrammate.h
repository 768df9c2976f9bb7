// Scripted answers for everything that would otherwise wait on the user: the
// message box, the lookup window, file and font dialogs, the shell opener,
// modal windows. Tests queue answers per kind; each component, before showing
// itself modally, takes the next queued answer of its kind instead and records
// what it would have shown. With SenzaModali on, a component that finds no
// queued answer uses its default answer (and records) rather than block.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <optional>

class QWidget;

namespace RisposteProgrammate
{

// Kinds of answers (free text: a component may add its own).
inline const QString MsgCom = QStringLiteral("msgCom");   // button number (int)
inline const QString Ricerca = QStringLiteral("ricerca"); // the chosen code, or an invalid QVariant for none
inline const QString FileApri = QStringLiteral("fileApri");   // path, "" = cancelled
inline const QString FileSalva = QStringLiteral("fileSalva"); // path, "" = cancelled
inline const QString Cartella = QStringLiteral("cartella");   // folder, "" = cancelled
inline const QString Font = QStringLiteral("font");           // QFont, invalid = cancelled
inline const QString ApriShell = QStringLiteral("apriShell"); // bool: whether the opener succeeds
inline const QString MsgHost = QStringLiteral("msgHost");     // message the menu host would show (no answer)

void Accoda(const QString &tipo, const QVariant &risposta);
bool HaRisposta(const QString &tipo);
// The next queued answer of the kind, taken off the queue; none when empty.
std::optional<QVariant> Prendi(const QString &tipo);

// Whether components must not block on the user: answers queued, or SenzaModali.
bool Attivo(const QString &tipo);
void ImpostaSenzaModali(bool attivo);
bool SenzaModali();

// What a component showed instead of waiting (texts, captions, titles...).
void Registra(const QString &tipo, const QVariantMap &mostrato);
QList<QVariantMap> Mostrati(const QString &tipo);
QVariantMap UltimoMostrato(const QString &tipo);
// Called as each thing shown is recorded, at the moment it would be on the
// screen waiting: the test acts then, as a user or another desk could.
void ImpostaAzioneMostrato(std::function<void(const QString &tipo, const QVariantMap &mostrato)> azione);

// Called right after a modal window is shown (MostraForm), inside its loop:
// the test works the window and closes it.
void ImpostaAzioneModale(std::function<void(QWidget *)> azione);
std::function<void(QWidget *)> AzioneModale();

// Drops queues, records, the actions and SenzaModali.
void Azzera();

} // namespace RisposteProgrammate
