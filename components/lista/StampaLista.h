// How a list is printed. The list component only opens the list-print
// options dialog (FormStampaLista) on its "Stampa" command and, when the
// dialog asks for it, hands itself to the print engine (MotoreStampaLista)
// with the print type, the orientation and the font. Both are given to the
// list by the windows of the printing layer; while none is given, "Stampa"
// does nothing and says nothing.
//
// What the engine reads of the list is GestLista's column and row access:
// ColonneLista() (caption, width in twips, alignment, visibility, numbers)
// and LeggiRighe() (every row in list order, a page at a time).
#pragma once

#include <QFont>
#include <QString>
#include <functional>

class GestLista;
class QWidget;

// The list-print options dialog ("Stampa dati della lista").
class FormStampaLista
{
  public:
    virtual ~FormStampaLista() = default;
    // Shows the dialog for `lista`; its print button calls lista.AvviaStampa.
    virtual void ApriPerLista(GestLista &lista) = 0;
};

// The print engine, as a list hands itself over to it.
class MotoreStampaLista
{
  public:
    virtual ~MotoreStampaLista() = default;
    // Prints the rows of `lista`: `tipo` "V" visible columns, "T" all, ""
    // none chosen; `orientamento` 2 landscape, 1 portrait, -1 none chosen.
    // `staAtt` must receive 1 when the print starts and 0 when it ends, on
    // every way out. The engine may replace `font`.
    virtual void StampaLista(GestLista &lista, const QString &tipo, int orientamento, QFont &font,
                             const std::function<void(int)> &staAtt) = 0;
};

// How a list window gets its print dialog, progress window and engine: the
// printing layer installs a provider at start-up, and each list window asks
// it once while it loads. Without a provider a list has none.
using FornitoreStampa = std::function<void(GestLista &lista)>;
void ImpostaFornitoreStampa(FornitoreStampa fornitore);
void FornisciStampa(GestLista &lista);
