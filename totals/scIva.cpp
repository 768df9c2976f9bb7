// Totals of one VAT key: counter-account access and discount levels.
#include "totals/scIva.h"

bool scIva::obCPEsiste(const QString &psConto) const
{
    return ocCollControPte.Esiste(psConto);
}

bool scIva::obCdcCompEsiste(const QString &psConto, const QString &psCentroDiCosto,
                            const QString &psCompetenza) const
{
    return ogControp(psConto).obCdcCompEsiste(psCentroDiCosto, psCompetenza);
}

void scIva::CPClear()
{
    ocCollControPte.Clear();
}

void scIva::AddControP(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza)
{
    if (ocCollControPte.Esiste(psConto))
        ocCollControPte.Add(psConto); // raises the duplicate-key error of the collection
    scControP conto;
    conto.osConto = psConto;
    conto.AddCdcComp(psCentroDiCosto, psCompetenza);
    ocCollControPte.Add(psConto, std::move(conto));
}

void scIva::AddCdcComp(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza)
{
    ogControp(psConto).AddCdcComp(psCentroDiCosto, psCompetenza);
}

scControP &scIva::ogControp(const QString &psConto)
{
    return ocCollControPte.Item(psConto);
}

const scControP &scIva::ogControp(const QString &psConto) const
{
    return ocCollControPte.Item(psConto);
}

scControPCDCComp &scIva::ogCdcComp(const QString &psConto, const QString &psCentroDiCosto,
                                   const QString &psCompetenza)
{
    return ogControp(psConto).ogCdcComp(psCentroDiCosto, psCompetenza);
}

scTotaliCP &scIva::livello(const QString &psConto, bool pbConto, const QString &psCentroDiCosto,
                           const QString &psCompetenza)
{
    scControP &conto = ogControp(psConto);
    if (pbConto)
        return conto;
    return conto.ogCdcComp(psCentroDiCosto, psCompetenza);
}

const scTotaliCP &scIva::livello(const QString &psConto, bool pbConto, const QString &psCentroDiCosto,
                                 const QString &psCompetenza) const
{
    return const_cast<scIva *>(this)->livello(psConto, pbConto, psCentroDiCosto, psCompetenza);
}

void scIva::PrepMerceSco(int piIndSconto)
{
    if (piIndSconto <= oiNumSconti)
        return;
    if (oiNumSconti == 0) {
        mdMerceSco.assign(size_t(piIndSconto) + 1, 0.0);
    } else {
        const double ultimo = mdMerceSco[size_t(oiNumSconti)];
        mdMerceSco.resize(size_t(piIndSconto) + 1, ultimo);
    }
    oiNumSconti = piIndSconto;
}

double scIva::odMerceSco(int piIndSconto) const
{
    if (piIndSconto >= 1 && piIndSconto <= oiNumSconti)
        return mdMerceSco[size_t(piIndSconto)];
    return odMerce.toDouble();
}

void scIva::odMerceSco(int piIndSconto, double pdImpScontato)
{
    if (piIndSconto < 0 || size_t(piIndSconto) >= mdMerceSco.size())
        throw VbErrore(VbErrore::IndiceFuoriIntervallo,
                       QStringLiteral("Indice non compreso nell'intervallo"));
    mdMerceSco[size_t(piIndSconto)] = pdImpScontato;
}
