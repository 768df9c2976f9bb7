// What the record-form engine needs of the form it serves (the before and
// after callbacks and the form's own commands) and of the form's list window.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class GestPagine;
class QWidget;

// The form behind a GestPagine. The engine calls PersPagPri before and
// PersPagDop after every operation whose code the form enabled
// (GestPagine::AbilitaCallback): 0 state change, 4 key entered, 5 read,
// 8 clear, 12 save, 15 colouring, 16 delete, 17 copy.
//
// pvRit is a result in and out; pvArray holds Variants from index 0, an
// invalid QVariant standing for an element that is not there:
//  - before an operation, a result other than 0 stops it; 20 with a field
//    name in pvArray[1] names the field in error (the engine paints it and
//    moves the focus there);
//  - after save, pvArray[0] is False when the row was not written and pvRit
//    carries the failure (empty on success). A form whose own transaction
//    held the write and did not commit sets pvArray[0] False, having told
//    the user: the engine then counts the save as failed (the user's texts,
//    the record's state and the modified flag stay as before the save, and
//    nothing more is said);
//  - after delete pvRit is 0 on success, else the error number; pvArray[0]
//    says whether the row was deleted, and a form whose own transaction held
//    the delete and did not commit sets it False, having told the user: the
//    engine then counts the delete as failed and keeps the record shown;
//  - after clear, pvArray[0] is 0 for a new record and 2 when the fields are
//    emptied for search criteria (1 would ask the form to keep its displays:
//    the engine does not send it); after copy it is 3;
//  - after read, pvArray[2] is 2 when the read started from leaving the key
//    control (the form need not check that field again), else absent.
class ChiamantePagine
{
  public:
    virtual ~ChiamantePagine() = default;

    virtual QVariant PersPagPri(int piOper, QVariant &pvRit, QVariantList &pvArray) = 0;
    virtual QVariant PersPagDop(int piOper, QVariant &pvRit, QVariantList &pvArray) = 0;
    // Brings check boxes, option groups and combos into line with the hidden
    // code fields. The engine calls it after filling or clearing the fields
    // when the form has not enabled the after-read or after-clear callback.
    virtual void AggNonText() {}
    // A field the engine refuses or names is to get the focus: the form shows
    // the page that holds it and answers the control that stands for it on
    // screen (the field's own box by default).
    virtual QWidget *MostraCampo(QWidget *controllo) { return controllo; }
    // A toolbar click: the form validates the field being edited, then runs
    // the command through GestPagine::EseguiComando.
    virtual void ButtonComando(const QString &psKey) = 0;
    // "Chiudi" and "Menu" of the toolbar.
    virtual void ChiudiFrm() {}
    virtual void MenuFrm() {}
    // The form's window (parent of questions, focus checks).
    virtual QWidget *Finestra() = 0;
};

// The form's list window, as the engine drives it. The engine hands itself
// over at initialisation (impOggBase) and forwards the list commands.
class FormListaPagine
{
  public:
    virtual ~FormListaPagine() = default;

    virtual void impOggBase(GestPagine *pgComPag) = 0;
    // "Lista": show the list; `condizione` is the search condition (Jet SQL,
    // empty for none) of the fields filled in search mode.
    virtual void MostraLista(const QString &condizione) = 0;
    // "ListaAvanti" / "ListaInd": the next / previous record of the list
    // becomes the form's record (through GestPagine::LeggiDaChiave).
    virtual void ListaAvanti() = 0;
    virtual void ListaIndietro() = 0;
};
