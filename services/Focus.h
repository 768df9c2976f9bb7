// Focus helpers: selecting a field's text and moving to the next or previous
// field in tab order.
#pragma once

class QWidget;

// Selects the whole text of the focused control of the active window.
void SelezionaTesto();
// Selects the whole text of `controllo` (text boxes and editable combos).
void SelezionaTesto(QWidget *controllo);

// Moves the focus to the next field (direzione 1) or the previous one (any
// other value) in tab order, from `controllo` or the focused control.
void CampoSuccessivo(int direzione, QWidget *controllo = nullptr);
// Moves the focus `passo` fields in tab order within `form`, skipping those
// that cannot take it; shift 1 (Shift held) goes backwards.
void CampoSuccessivo(QWidget *form, int passo, int shift = 0);
