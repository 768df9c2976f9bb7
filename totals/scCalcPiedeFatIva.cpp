// Footer engine: the payment discount shared out over VAT keys, accounts and
// cost centres, and the taxable base and VAT of every level.
#include "totals/scCalcPiedeFat.h"

#include "services/Importi.h"

namespace
{
bool eS(const QString &valore)
{
    return valore.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

// Base, VAT and the split of the second gift amount of one level (VAT key,
// account or cost-centre entry), from that level's own input amounts.
template <typename Livello>
void calcolaLivello(Livello &x, Currency aliquota, bool esente, bool ivati, int numDec)
{
    const Currency senzaIva = x.odSVal + x.odSValSpese + (x.odSValPerSco - x.odScoPagam) + x.odSValOmaggio +
                              (x.odSValOmaggioPerSco - x.odScoPagamOmaggio) +
                              (x.odSValSpesePerSco - x.odScoPagamSpese) + x.odSValOmaggioT;
    if (esente) {
        x.odImpon = senzaIva;
        x.odImpos = Currency();
        x.odTotImpoImpos = x.odImpon;
        x.odImpOmaggioT = x.odSValOmaggioT;
        x.odIvaOmaggioT = Currency();
    } else if (ivati) {
        x.odTotImpoImpos = x.odSVal + x.odSValIvSpese + (x.odSValPerSco - x.odScoPagam) + x.odSValOmaggio +
                           (x.odSValOmaggioPerSco - x.odScoPagamOmaggio) +
                           (x.odSValIvSpesePerSco - x.odScoPagamSpese) + x.odSValOmaggioT;
        x.odImpon = CalcImportoPercentuali(x.odTotImpoImpos, aliquota, numDec);
        x.odImpos = x.odTotImpoImpos - x.odImpon;
        x.odImpOmaggioT = CalcImportoPercentuali(x.odSValOmaggioT, aliquota, numDec);
        x.odIvaOmaggioT = x.odSValOmaggioT - x.odImpOmaggioT;
    } else {
        x.odImpon = senzaIva;
        x.odImpos = CalcPercentuale(x.odImpon, aliquota, numDec);
        x.odTotImpoImpos = x.odImpon + x.odImpos;
        x.odIvaOmaggioT = CalcPercentuale(x.odSValOmaggioT, aliquota, numDec);
        x.odImpOmaggioT = x.odSValOmaggioT;
    }
}

// The share of a base that the payment discount takes.
Currency quotaSconto(Currency base, Currency sconto, int numDec)
{
    return base - ScorporaPercentuale(base, sconto, numDec, true);
}
} // namespace

void scCalcPiedeFat::CalcScontoPag(const QString &psPrezziIvati, int piNumDec)
{
    obApplScontoPag = false;
    if (odScontoPag.isZero() || mbScoPagSuDett)
        return;
    msFase = QStringLiteral("Calcolo sconto pagamento");
    const bool ivati = eS(psPrezziIvati);
    auto quota = [&](Currency base) { return quotaSconto(base, odScontoPag, piNumDec); };
    for (scIva &iva : ogIve->ocCollIva) {
        if (iva.odSValPerSco > Currency()) {
            obApplScontoPag = true;
            iva.odScoPagam = quota(iva.odSValPerSco);
            iva.odScoPagamOmaggio = quota(iva.odSValOmaggioPerSco);
            for (scControP &conto : iva.ocCollControPte) {
                conto.odScoPagam = quota(conto.odSValPerSco);
                conto.odScoPagamOmaggio = quota(conto.odSValOmaggioPerSco);
                for (scControPCDCComp &voce : conto.ocCdcCompetenza) {
                    voce.odScoPagam = quota(voce.odSValPerSco);
                    voce.odScoPagamOmaggio = quota(voce.odSValOmaggioPerSco);
                }
            }
        }
        if (iva.odSValSpesePerSco > Currency()) {
            obApplScontoPag = true;
            iva.odScoPagamSpese = quota(ivati ? iva.odSValIvSpesePerSco : iva.odSValSpesePerSco);
            for (scControP &conto : iva.ocCollControPte) {
                conto.odScoPagamSpese = quota(ivati ? conto.odSValIvSpesePerSco : conto.odSValSpesePerSco);
                if (conto.obCdcCompEsiste(QString(), QString())) {
                    scControPCDCComp &voce = conto.ogCdcComp(QString(), QString());
                    voce.odScoPagamSpese = quota(ivati ? voce.odSValIvSpesePerSco : voce.odSValSpesePerSco);
                }
            }
        }
    }
}

void scCalcPiedeFat::CalcIvaPiede(const QString &psPrezziIvati, int piNumDec)
{
    msFase = QStringLiteral("Calcolo IVA");
    odTotIva = Currency();
    const bool ivati = eS(psPrezziIvati);
    const int dec = std::min(piNumDec, 4);
    for (scIva &iva : ogIve->ocCollIva) {
        iva.obForzato = false;
        calcolaLivello(iva, iva.odAliquota, iva.obIvaEsente, ivati, piNumDec);
        if (!iva.obIvaEsente) {
            if (ivati && ConfrontaImporti(CalcPercentuale(iva.odImpon, iva.odAliquota, piNumDec), iva.odImpos,
                                          -8) != 0)
                iva.obForzato = true;
            odTotIva += iva.odImpos;
        }
        iva.odBaseScoPagam = iva.odSValPerSco + (ivati ? iva.odSValIvSpesePerSco : iva.odSValSpesePerSco) +
                             iva.odSValOmaggioPerSco;
        iva.odTotScoPagam = iva.odScoPagam + iva.odScoPagamOmaggio + iva.odScoPagamSpese;

        Currency baseProgr, ivaProgr, basePrima, ivaPrima;
        QString ultimoConto;
        for (scControP &conto : iva.ocCollControPte) {
            Currency impon, impos, totale, ivaOmaggio, impOmaggio;
            for (scControPCDCComp &voce : conto.ocCdcCompetenza) {
                calcolaLivello(voce, iva.odAliquota, iva.obIvaEsente, ivati, piNumDec);
                impon = (impon + voce.odImpon).rounded(dec);
                impos = (impos + voce.odImpos).rounded(dec);
                totale = (totale + voce.odTotImpoImpos).rounded(dec);
                ivaOmaggio = (ivaOmaggio + voce.odIvaOmaggioT).rounded(dec);
                impOmaggio = (impOmaggio + voce.odImpOmaggioT).rounded(dec);
            }
            conto.odImpon = impon;
            conto.odImpos = impos;
            conto.odTotImpoImpos = totale;
            conto.odImpOmaggioT = impOmaggio;
            conto.odIvaOmaggioT = ivaOmaggio;
            basePrima = baseProgr;
            ivaPrima = ivaProgr;
            baseProgr += conto.odImpon;
            ivaProgr += conto.odImpos;
            ultimoConto = conto.osConto;
        }

        // The last account takes whatever the accounts' own roundings left over.
        Currency residuoBase, residuoIva;
        if (baseProgr != iva.odImpon) {
            residuoBase = baseProgr - iva.odImpon;
            iva.odCPImpon(ultimoConto, true, QString(), QString(), iva.odImpon - basePrima);
        }
        if (ivaProgr != iva.odImpos) {
            residuoIva = ivaProgr - iva.odImpos;
            iva.odCPImpos(ultimoConto, true, QString(), QString(), iva.odImpos - ivaPrima);
        }
        if (residuoBase.isZero() && residuoIva.isZero())
            continue;
        scControP &ultimo = iva.ogControp(ultimoConto);
        for (scControPCDCComp &voce : ultimo.ocCdcCompetenza) {
            if (ConfrontaImporti(voce.odImpon - residuoBase, Currency(), -8) >= 0 &&
                ConfrontaImporti(voce.odImpos - residuoIva, Currency(), -8) >= 0) {
                voce.odImpon -= residuoBase;
                voce.odImpos -= residuoIva;
                residuoBase = residuoIva = Currency();
            }
        }
        if (!residuoBase.isZero() || !residuoIva.isZero()) {
            scControPCDCComp &prima = ultimo.ocCdcCompetenza.At(0);
            prima.odImpon -= residuoBase;
            prima.odImpos -= residuoIva;
        }
    }
}
