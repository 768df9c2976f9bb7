// Totals of one VAT key of a sales document, with its counter-accounts and
// the goods value per discount level.
#pragma once

#include "totals/scControP.h"

#include <vector>

class scIva
{
  public:
    QString osIva;
    QString osDescrizione;
    QString osDescrMemo;
    QString osDescrLunga;
    QString osTipoIva;
    bool obIvaEsente = false;
    Currency odImpon;
    Currency odAliquota;
    Currency odImpos;
    Currency odMerce;
    Currency odTotImpoImpos;
    bool obForzato = false;
    Currency odBaseScoPagam;
    Currency odTotScoPagam;
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
    QString osApplBolloEse;
    Currency odIncid;
    Currency odValIvScorp;
    Currency odSpeseRipart;
    Collezione<scControP> ocCollControPte;
    int oiNumSconti = 0;
    Currency odSpeseAccRiga;
    bool obIvaBolli = false;

    QString osIndex() const { return osIva; }
    void osIndex(const QString &psNewValue) { osIva = psNewValue; }

    // Account (pbConto true) or cost-centre/competence entry (pbConto false)
    // amounts by key; an absent account or entry fails (VB error 5).
#define SCIVA_CP(nome, membro)                                                                               \
    Currency nome(const QString &psConto, bool pbConto, const QString &psCentroDiCosto,                      \
                  const QString &psCompetenza) const                                                         \
    {                                                                                                        \
        return livello(psConto, pbConto, psCentroDiCosto, psCompetenza).membro;                              \
    }                                                                                                        \
    void nome(const QString &psConto, bool pbConto, const QString &psCentroDiCosto,                          \
              const QString &psCompetenza, Currency puNewValue)                                              \
    {                                                                                                        \
        livello(psConto, pbConto, psCentroDiCosto, psCompetenza).membro = puNewValue;                        \
    }
    SCIVA_CP(odCPImpon, odImpon)
    SCIVA_CP(odCPImpos, odImpos)
    SCIVA_CP(odCPMerce, odMerce)
    SCIVA_CP(odCPTotImpoImpos, odTotImpoImpos)
    SCIVA_CP(odCPSIvaOmaggioT, odIvaOmaggioT)
    SCIVA_CP(odCPSImpOmaggioT, odImpOmaggioT)
    SCIVA_CP(odCPSVal, odSVal)
    SCIVA_CP(odCPSValPerSco, odSValPerSco)
    SCIVA_CP(odCPScoPagam, odScoPagam)
    SCIVA_CP(odCPSValOmaggio, odSValOmaggio)
    SCIVA_CP(odCPSValOmaggioPerSco, odSValOmaggioPerSco)
    SCIVA_CP(odCPScoPagamOmaggio, odScoPagamOmaggio)
    SCIVA_CP(odCPSValOmaggioT, odSValOmaggioT)
    SCIVA_CP(odCPSValSpese, odSValSpese)
    SCIVA_CP(odCPSValSpesePerSco, odSValSpesePerSco)
    SCIVA_CP(odCPScoPagamSpese, odScoPagamSpese)
    SCIVA_CP(odCPSValIvSpese, odSValIvSpese)
    SCIVA_CP(odCPSValIvSpesePerSco, odSValIvSpesePerSco)
#undef SCIVA_CP

    // Never fails: an absent account answers false.
    bool obCPEsiste(const QString &psConto) const;
    // The account must exist.
    bool obCdcCompEsiste(const QString &psConto, const QString &psCentroDiCosto,
                         const QString &psCompetenza) const;
    void CPClear();
    // Every account starts with the entry of the given cost centre and competence.
    void AddControP(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza);
    void AddCdcComp(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza);
    scControP &ogControp(const QString &psConto);
    const scControP &ogControp(const QString &psConto) const;
    scControPCDCComp &ogCdcComp(const QString &psConto, const QString &psCentroDiCosto,
                                const QString &psCompetenza);

    // Makes room for the discount levels 1..piIndSconto; new levels carry the
    // value of the last known one.
    void PrepMerceSco(int piIndSconto);
    // The goods value of a level from 1 to oiNumSconti, otherwise odMerce.
    double odMerceSco(int piIndSconto) const;
    // The index must lie within the level array (VB error 9 otherwise).
    void odMerceSco(int piIndSconto, double pdImpScontato);

  private:
    scTotaliCP &livello(const QString &psConto, bool pbConto, const QString &psCentroDiCosto,
                        const QString &psCompetenza);
    const scTotaliCP &livello(const QString &psConto, bool pbConto, const QString &psCentroDiCosto,
                              const QString &psCompetenza) const;

    std::vector<double> mdMerceSco = std::vector<double>(1, 0.0);
};
