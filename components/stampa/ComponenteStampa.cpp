// The print provider of the components and the print run they share.
#include "components/stampa/ComponenteStampa.h"

#include "components/stampa/Stampatore.h"

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

void FornisciStampa(ComponenteStampa &componente)
{
    if (fornitore())
        fornitore()(componente);
}

QString EseguiStampa(Stampatore *motore, SorgenteRighe &righe, bool &inStampa, const QString &tipo,
                     int orientamento, const QFont &font)
{
    if (!motore || inStampa)
        return {};
    inStampa = true;
    struct Fine {
        bool &f;
        ~Fine() { f = false; }
    } fine{inStampa};
    const EsitoStampa esito = motore->Stampa(righe, tipo, orientamento, font);
    // The system's words follow the sentence in the form the message box
    // keeps behind its "Dettagli..." button.
    if (esito.errore.isEmpty() || esito.dettaglio.trimmed().isEmpty())
        return esito.errore;
    return esito.errore + QStringLiteral("\nDettaglio: ") + esito.dettaglio.trimmed();
}
