// Per-VAT-key totals of a sales document.
#include "totals/scIve.h"

scIva &scIve::AddIva(const QString &psIva)
{
    scIva voce;
    voce.osIva = psIva;
    return ocCollIva.Add(psIva, std::move(voce));
}
