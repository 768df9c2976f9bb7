// The common key handling of the windows: the KeyPress filter, the Ctrl-key
// functions of text fields (find and replace), toolbar commands from keys, the
// help key and the replay of a field's KeyUp.
#pragma once

#include <QString>

class FormComune;
class QAction;
class QWidget;

// KeyPress filter: answers the KeyAscii to use (0 drops the key). The keypad
// decimal key types "," when TastierinoVirgola is "S"; with pbTogliInvioEsc,
// Enter and Escape are dropped (Enter still reaches multi-line fields).
int FiltraTasto(int KeyAscii, QWidget *form, bool pbTogliInvioEsc = true);

// Ctrl-key functions of the focused text field: Ctrl+F find, Ctrl+H find and
// replace, Ctrl+G find the next occurrence again. Records UltKeyCode and
// UltShift for FiltraTasto. Answers 1 (and KeyCode 0) when it took the key.
// Here and below, a grid's open cell editor counts as its grid (no text field).
int GestisciTastiCtrl(int &KeyCode, int &Shift, QWidget *form, bool pbAbilita = true);

// Navigation keys to toolbar commands through the window's ButtonComando:
// Page Up "Precedente", Page Down "Successivo", Ctrl+Home "Inizio", Ctrl+End
// "Fine" (not inside multi-line fields and grids), and Alt with the letter of
// the command's tooltip (R Ricerca, S Salva, C Cancella, A Annulla, D Duplica,
// V VarKey, L Lista, I Inizio, P Precedente, U Successivo, F Fine, H Chiudi,
// M Menu, "-" ListaInd, "+" ListaAvanti). Answers 1 (and KeyCode 0) when a
// command ran.
int ComandoDaTasto(int &KeyCode, int &Shift, FormComune *form, bool pbAbilita = true);
// The command a key stands for ("" when none).
QString ComandoDelTasto(int KeyCode, int Shift);
// A toolbar button's Alt key is the letter its tooltip starts with in
// brackets ("(T) Stampa": Alt+T). True when KeyCode and Shift are that key
// and the button can be pressed now (visible and enabled).
bool TastoDelBottone(const QAction *bottone, int KeyCode, int Shift);

// Gives the focus to txt(indice) (txtAppo(indice) with piTxtAppo), lets
// pending events run, then calls the window's txt_KeyUp (txtAppo_KeyUp) with
// (indice, KeyCode, 0).
void RipetiKeyUp(FormComune *form, int indice, int KeyCode, int piTxtAppo = 0);

// F1 opens the help page of the focused control (its HelpContextID, or its
// window's), Shift+F1 the contents, Ctrl+F1 or Alt+F1 the index; the key is
// swallowed. True when it handled the key.
bool GestisciTastoHelp(int &KeyCode, int &Shift, QWidget *form, bool pbFlag = true);
