// The widget operations of the utility object (focus, modal show, the field in
// error, the font dialog), one-shot timers, and the file dialogs and shell
// opener behind the scripted answers of tests.
#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>

class QObject;
class QTimer;
class QWidget;

namespace UtilFinestre
{

// Moves the focus to `controllo`. A control that cannot take it (hidden,
// disabled, missing) is VB error 5, or just `false` with `ignoraErrori`.
bool ImpostaFocus(QWidget *controllo, bool ignoraErrori = true);

// Shows a window; with `modo` other than 0 modally, returning when it is
// closed or hidden. Dialogs answer their exec() result, other windows 0.
int MostraForm(QWidget *form, int modo = 1);

// Numbers the controls of `form` in its Tab order, from 0, and keeps each
// number in the control's property "TabIndex": a setting can then name a
// control by its place. Every control that takes the focus with Tab counts,
// hidden ones too, so the numbers do not move when fields are hidden.
void NumeraTabIndex(QWidget *form);

// True when a control of `form` has the background `colore` (set through
// ColoriVb::ImpostaBackColor); `nome` and `indice` get its array name and
// index (-1 outside arrays). Controls are searched in creation order.
bool CercaCampoInErrore(QWidget *form, long colore, QString &nome, int &indice);

// Font chosen in the font dialog, started from `iniziale`; `scelto` false
// (and `iniziale` answered) when the user cancels.
QFont FontDaDialogo(QWidget *parent, const QFont &iniziale, const QString &titolo, bool &scelto);

// File dialogs, Qt's own in the program's language (DialogoFile.h): ""
// when cancelled.
QString ScegliFileDaAprire(QWidget *parent, const QString &titolo, const QString &cartella,
                           const QString &filtro);
QString ScegliFileDaSalvare(QWidget *parent, const QString &titolo, const QString &cartella,
                            const QString &filtro);
// The Save dialog with its filter list ("Testo (*.txt);;..."):
// `filtroScelto` names the filter shown first and receives the one the user
// chose; a cancelled dialog leaves it as it was. A name typed without an
// extension gets the chosen filter's first one (before the dialog's question
// about replacing an existing file). Tests answer a path, or a list of the
// path and the filter chosen.
QString ScegliFileDaSalvare(QWidget *parent, const QString &titolo, const QString &cartella,
                            const QString &filtro, QString &filtroScelto);
QString ScegliCartella(QWidget *parent, const QString &titolo, const QString &cartella);

// The first thing a window's destructor does, before any of its controls
// goes: every event adapter of the window (and of the windows it owns) is
// switched off, and every signal of its controls and helpers to the window
// itself, and every event filter the window set on them, is cut. A control
// destroyed later still gives up the keyboard, a tab page still changes as
// its pages go: none of it may reach a handler of a window whose own part is
// already gone.
void StaccaFinestra(QWidget *finestra);

// Held by a window's close handler while it may ask or refuse ("Salvare le
// modifiche?", a print still running): every other close that reaches the
// window meanwhile (its close box, Alt+F4, a close() from a timer) is
// refused, and the close under way decides alone. Without it the window
// system takes such a second close as granted and destroys the window, while
// the window itself, refusing, stays open and unseen. Nested holders of one
// window share the first one's refusal.
class GuardiaChiusura
{
  public:
    explicit GuardiaChiusura(QWidget *finestra);
    ~GuardiaChiusura();
    GuardiaChiusura(const GuardiaChiusura &) = delete;
    GuardiaChiusura &operator=(const GuardiaChiusura &) = delete;

  private:
    QPointer<QObject> m_filtro;
};

// Opens a document, folder or web address with the desktop's program.
bool ApriConShell(const QUrl &indirizzo);

// Runs `fatto` once, as soon as the event loop is free (the windows' one-shot
// 1 ms timers); nothing happens when `contesto` is gone by then.
void UnoShot(QObject *contesto, std::function<void()> fatto);
// A one-shot timer of interval 0 owned by `parent`, to start() when needed;
// `fatto` runs on its timeout.
QTimer *CreaTimerUnoShot(QObject *parent, std::function<void()> fatto);

// While one lives the pointer is the busy cursor: around database work that
// may wait for another desk's lock (as long as the connection's lock wait).
// The first one lets the windows repaint before the work starts, so that a
// question just answered does not stay painted over the window while the
// work waits. Nested ones share one cursor. Nothing may ask the user while
// one lives: end it before any message.
class CursoreOccupato
{
  public:
    CursoreOccupato();
    ~CursoreOccupato();
    CursoreOccupato(const CursoreOccupato &) = delete;
    CursoreOccupato &operator=(const CursoreOccupato &) = delete;

  private:
    bool m_attivo = false;
};

} // namespace UtilFinestre
