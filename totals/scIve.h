// Per-VAT-key totals of a sales document: the scIva items keyed by VAT key in
// the order they were added, with keyed access to every member.
#pragma once

#include "totals/scIva.h"

class scIve
{
  public:
    Collezione<scIva> ocCollIva;

    // Every keyed property fails (VB error 5) on a key that is not held.
#define SCIVE_PROP(tipo, nome)                                                                               \
    tipo nome(const QString &psIva) const                                                                    \
    {                                                                                                        \
        return ogIva(psIva).nome;                                                                            \
    }                                                                                                        \
    void nome(const QString &psIva, tipo pvNewValue)                                                         \
    {                                                                                                        \
        ogIva(psIva).nome = pvNewValue;                                                                      \
    }
    SCIVE_PROP(QString, osDescrizione)
    SCIVE_PROP(QString, osDescrMemo)
    SCIVE_PROP(QString, osDescrLunga)
    SCIVE_PROP(QString, osTipoIva)
    SCIVE_PROP(bool, obIvaEsente)
    SCIVE_PROP(Currency, odImpon)
    SCIVE_PROP(Currency, odAliquota)
    SCIVE_PROP(Currency, odImpos)
    SCIVE_PROP(Currency, odMerce)
    SCIVE_PROP(Currency, odTotImpoImpos)
    SCIVE_PROP(Currency, odBaseScoPagam)
    SCIVE_PROP(Currency, odTotScoPagam)
    SCIVE_PROP(Currency, odSVal)
    SCIVE_PROP(Currency, odSValPerSco)
    SCIVE_PROP(Currency, odScoPagam)
    SCIVE_PROP(Currency, odSValOmaggio)
    SCIVE_PROP(Currency, odIvaOmaggioT)
    SCIVE_PROP(Currency, odImpOmaggioT)
    SCIVE_PROP(Currency, odSValOmaggioPerSco)
    SCIVE_PROP(Currency, odScoPagamOmaggio)
    SCIVE_PROP(Currency, odSValOmaggioT)
    SCIVE_PROP(Currency, odSValSpese)
    SCIVE_PROP(Currency, odSValSpesePerSco)
    SCIVE_PROP(Currency, odScoPagamSpese)
    SCIVE_PROP(Currency, odSValIvSpese)
    SCIVE_PROP(Currency, odSValIvSpesePerSco)
    SCIVE_PROP(Currency, odIncid)
    SCIVE_PROP(QString, osApplBolloEse)
    SCIVE_PROP(Currency, odValIvScorp)
    SCIVE_PROP(Currency, odSpeseRipart)
#undef SCIVE_PROP

    // Never fails.
    bool obEsiste(const QString &psIva) const
    {
        return ocCollIva.Esiste(psIva);
    }
    void Clear()
    {
        ocCollIva.Clear();
    }
    // A key already held fails (VB error 457); callers test obEsiste first.
    scIva &AddIva(const QString &psIva);
    scIva &ogIva(const QString &psIva)
    {
        return ocCollIva.Item(psIva);
    }
    const scIva &ogIva(const QString &psIva) const
    {
        return ocCollIva.Item(psIva);
    }
    void Remove(const QString &psIva)
    {
        ocCollIva.Remove(psIva);
    }

    int oiNumSconti(const QString &psIva) const
    {
        return ogIva(psIva).oiNumSconti;
    }
    double odMerceSco(const QString &psIva, int piIndSconto) const
    {
        return ogIva(psIva).odMerceSco(piIndSconto);
    }
    void odMerceSco(const QString &psIva, int piIndSconto, double pdImpScontato)
    {
        ogIva(psIva).odMerceSco(piIndSconto, pdImpScontato);
    }
    void PrepMerceSco(const QString &psIva, int piIndSconto)
    {
        ogIva(psIva).PrepMerceSco(piIndSconto);
    }
};
