// The provider through which list windows get their print dialog and engine.
#include "components/lista/StampaLista.h"

namespace
{
FornitoreStampa &fornitore()
{
    static FornitoreStampa f;
    return f;
}
} // namespace

void ImpostaFornitoreStampa(FornitoreStampa f)
{
    fornitore() = std::move(f);
}

void FornisciStampa(GestLista &lista)
{
    if (fornitore())
        fornitore()(lista);
}
