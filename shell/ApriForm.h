// The form dispatcher: opens a registered window by name with the host's
// launch keys, checks its load, and keeps track of the windows it opened.
#pragma once

#include <QList>
#include <QString>

class FormLanciabile;

struct ChiaviLancio {
    QString osKeySec;       // secondary key shown by the window
    QString osKeyLancia;    // key of the launching program
    QString osKeySecLancia; // secondary key of the launching program
    QString osParamLancia;  // parameter of the launching program
    QString osParam;        // opening parameter ("/RO"...)
};

// Message of a window that cannot be opened.
inline constexpr const char *MsgImpossibileAprire = "Impossibile aprire il programma richiesto";

// Sets the launch variables, loads the window and checks oiLoadOk: -1 (True)
// unloads it, says "Impossibile aprire il programma richiesto" and arms the
// close timer; any other value shows it and has the main window bring it
// forward. Takes ownership of form. True when the window is open.
bool ApriFormRichiesta(FormLanciabile *form, const QString &psNomeForm, const ChiaviLancio &dati);

// Opens the registered window of that name (without regard to case). An
// unknown name gets "Impossibile aprire il programma richiesto". When the
// window is already open it gets the new launch keys and comes forward.
bool ApriFormPerNome(const QString &psNomeForm, const ChiaviLancio &dati);

// Windows opened by the dispatcher and still open, oldest first.
QList<FormLanciabile *> FormAperti();
FormLanciabile *FormAperto(const QString &psNomeForm);
// The dispatched window that is active, else the one opened last; nullptr when none.
FormLanciabile *FormAttivo();

// Shows, raises and activates the dispatched window of that name.
void PortaInPrimoPiano(const QString &psNomeForm);
void PortaInPrimoPiano(FormLanciabile *form);
