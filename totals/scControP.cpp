// Counter-account level of the footer totals.
#include "totals/scControP.h"

#include "services/Importi.h"

bool scControP::obCdcCompEsiste(const QString &psCentroDiCosto, const QString &psCompetenza) const
{
    return ocCdcCompetenza.Esiste(ComponiChiave(psCentroDiCosto, psCompetenza));
}

void scControP::AddCdcComp(const QString &psCentroDiCosto, const QString &psCompetenza)
{
    scControPCDCComp voce;
    voce.osKey = ComponiChiave(psCentroDiCosto, psCompetenza);
    voce.osCentroDiCosto = psCentroDiCosto;
    voce.osCompetenza = psCompetenza;
    const QString chiave = voce.osKey;
    ocCdcCompetenza.Add(chiave, std::move(voce));
}

scControPCDCComp &scControP::ogCdcComp(const QString &psCentroDiCosto, const QString &psCompetenza)
{
    return ocCdcCompetenza.Item(ComponiChiave(psCentroDiCosto, psCompetenza));
}
