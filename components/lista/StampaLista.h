// How a list is printed. On its "Stampa" command the list component opens the
// list-print options dialog (FormStampaLista) for itself; the dialog wires the
// print engine the list holds (GestLista::ogSta, a Stampatore) and calls
// GestLista::AvviaStampa, which runs the engine on the list's rows
// (GestLista::SorgenteStampa, a SorgenteRighe) with the owner's print state
// at 1. The dialog, the progress window and the engine are given to the list
// by the printing layer; while none is given, "Stampa" does nothing and says
// nothing.
#pragma once

#include <functional>

class GestLista;

// The list-print options dialog ("Stampa dati della lista").
class FormStampaLista
{
  public:
    virtual ~FormStampaLista() = default;
    // Shows the dialog for `lista`; its print button calls lista.AvviaStampa.
    virtual void ApriPerLista(GestLista &lista) = 0;
};

// How a list window gets its print dialog, progress window and engine: the
// printing layer installs a provider at start-up, and each list window asks
// it once while it loads. Without a provider a list has none.
using FornitoreStampa = std::function<void(GestLista &lista)>;
void ImpostaFornitoreStampa(FornitoreStampa fornitore);
void FornisciStampa(GestLista &lista);
