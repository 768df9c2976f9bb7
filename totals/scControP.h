// Counter-account level of the footer totals: one account of a VAT key
// (scControP) and, inside it, one entry per cost centre and competence period
// (scControPCDCComp). Both carry the same eighteen amounts.
#pragma once

#include "components/util/Collezione.h"
#include "components/util/Currency.h"

#include <QString>

// The eighteen amounts shared by the account and the cost-centre levels, in
// their documented order.
struct scTotaliCP {
    Currency odImpon;
    Currency odImpos;
    Currency odMerce;
    Currency odTotImpoImpos;
    Currency odIvaOmaggioT;
    Currency odImpOmaggioT;
    Currency odSVal;
    Currency odSValPerSco;
    Currency odScoPagam;
    Currency odSValOmaggio;
    Currency odSValOmaggioPerSco;
    Currency odScoPagamOmaggio;
    Currency odSValOmaggioT;
    Currency odSValSpese;
    Currency odSValSpesePerSco;
    Currency odScoPagamSpese;
    Currency odSValIvSpese;
    Currency odSValIvSpesePerSco;
};

struct scControPCDCComp : scTotaliCP {
    QString osKey;
    QString osCentroDiCosto;
    QString osCompetenza;
};

class scControP : public scTotaliCP
{
  public:
    QString osConto;
    Collezione<scControPCDCComp> ocCdcCompetenza;

    QString osIndex() const { return osConto; }
    void osIndex(const QString &psNewValue) { osConto = psNewValue; }

    // Never fails: an absent pair answers false.
    bool obCdcCompEsiste(const QString &psCentroDiCosto, const QString &psCompetenza) const;
    // A pair already held fails (VB error 457).
    void AddCdcComp(const QString &psCentroDiCosto, const QString &psCompetenza);
    // An absent pair fails (VB error 5).
    scControPCDCComp &ogCdcComp(const QString &psCentroDiCosto, const QString &psCompetenza);
};
