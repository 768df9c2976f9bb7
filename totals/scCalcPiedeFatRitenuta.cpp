// Footer engine, withholding-tax phase: the withholding base and amount from a
// second run of the engine, the social-security fund rows, and the VAT of the
// expenses when prices include VAT.
#include "totals/scCalcPiedeFat.h"

#include "totals/ImportiEsatti.h"

#include "components/db/RecDat.h"
#include "components/util/ListaValori.h"
#include "services/Importi.h"
#include "services/MsgCom.h"

using ImportiEsatti::DaRipartire;
using ImportiEsatti::Uguale;

namespace
{

template <typename Livello> void ivaSpese(Livello &l, bool esente, Currency aliquota, int dec)
{
    l.odSValIvSpese = esente ? l.odSValSpese : l.odSValSpese + CalcPercentuale(l.odSValSpese, aliquota, dec);
    l.odSValIvSpesePerSco = esente
                                ? l.odSValSpesePerSco
                                : l.odSValSpesePerSco + CalcPercentuale(l.odSValSpesePerSco, aliquota, dec);
}

} // namespace

void scCalcPiedeFat::CalcIvSpese(int piNumDec)
{
    for (scIva &iva : ogIve->ocCollIva) {
        ivaSpese(iva, iva.obIvaEsente, iva.odAliquota, piNumDec);
        for (scControP &cp : iva.ocCollControPte) {
            ivaSpese(cp, iva.obIvaEsente, iva.odAliquota, piNumDec);
            if (cp.obCdcCompEsiste(QString(), QString()))
                ivaSpese(cp.ogCdcComp(QString(), QString()), iva.obIvaEsente, iva.odAliquota, piNumDec);
        }
    }
}

void scCalcPiedeFat::CalcRitAcc(double pdPercRitAcc, int piNumDec)
{
    scCalcPiedeFat seconda;
    seconda.osTabTesta = osTabTesta;
    seconda.osTabDett = osTabDett;
    seconda.osTabLiv = osTabLiv;
    seconda.osTabSpese = osTabSpese;
    seconda.obErrNoDett = obErrNoDett;
    seconda.CalcPiedeFat(miAnno, mlNumRif, true, -1);
    if (seconda.oiNumErrori > 0) {
        msgCom(seconda.osErrori + QStringLiteral("Totali ritenuta d'acconto non aggiornati"),
               QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
        return;
    }
    odTotImpRitAcc = seconda.odTotEsente + seconda.odTotImponibile;
    odTotImpRitAccEff = odTotImpRitAcc;
    // A percentage of zero or below withholds nothing: it must never raise the amount due.
    if (ConfrontaImporti(QVariant(pdPercRitAcc), QVariant(0.0)) != 1) {
        odRitAcc = Currency();
        return;
    }
    const double ritenuta = CalcPercentualeImporto(odTotImpRitAccEff, pdPercRitAcc, piNumDec);
    odRitAcc = Currency::fromDouble(ritenuta).rounded(piNumDec);
}

// The fund rows of the document; answers whether there was one.
bool scCalcPiedeFat::LeggiCassaPrev()
{
    const QString T = osTabSpese + QLatin1String(".");
    const QString &k = msChiaveSpese;
    const int dec = NumDecDoc;
    bool trovata = false;
    bool basePronta = ConfrontaImporti(QVariant(PercRitAccDoc), QVariant(0.0)) == 1;
    for (; !FineFile(k); MuoviSuccessivo(k)) {
        if (!Uguale(CampoTesto(k, T + QLatin1String("CassaPrev")), "S"))
            continue;
        trovata = true;
        const RigaSpesa r = LeggiRigaSpesa();
        const Currency max = CampoImporto(k, T + QLatin1String("ImportoMax")).rounded(dec);
        const Currency min = CampoImporto(k, T + QLatin1String("ImportoMin")).rounded(dec);
        // The fund needs the withholding base even when nothing is withheld;
        // one second run serves every fund row.
        if (!basePronta) {
            CalcRitAcc(PercRitAccDoc, dec);
            basePronta = true;
        }
        Currency importo;
        if (Uguale(CampoTesto(k, QStringLiteral("Spese.TipoAddebito")), "I") && !obCassaPrevNoImpon) {
            if (AddebitoFisso(min, max))
                importo = CampoImporto(k, T + QLatin1String("Importo")).rounded(dec);
            ouPercCassaPrev = CampoImporto(k, QStringLiteral("Spese.Percentuale"));
        } else {
            const double perc = CampoDouble(k, T + QLatin1String("Percentuale"));
            ouPercCassaPrev = CampoImporto(k, T + QLatin1String("Percentuale"));
            importo = ImportiEsatti::Prodotto(odTotImpRitAcc, perc, dec, 100);
            if (max > Currency() && importo > max)
                importo = max;
            if (min > Currency() && importo < min)
                importo = min;
            ogSpesePerc->ScriviValore(QString::number(CampoIntero(k, T + QLatin1String("Riga"))), true,
                                      obCassaPrevNoImpon ? Currency() : importo);
        }
        ouTotCassaPrev += importo;
        osCassaPrevGruppo = CampoTesto(k, T + QLatin1String("Gruppo"));
        osCassaPrevMastro = CampoTesto(k, T + QLatin1String("Mastro"));
        osCassaPrevConto = CampoTesto(k, T + QLatin1String("Conto"));
        if (obCassaPrevNoImpon)
            continue;

        ApriVoceSpesa(r);
        scIva &iva = ogIve->ogIva(r.chiaveIva);
        iva.odSValSpese += importo;
        iva.ogControp(r.conto).odSValSpese += importo;
        iva.ogCdcComp(r.conto, QString(), QString()).odSValSpese += importo;
        SommaSpesaRif(r.rifStampa, importo);
        odTotSpese += importo;
    }
    return trovata;
}

bool scCalcPiedeFat::CalcolaRitenuta()
{
    msFase = QStringLiteral("Calcola ritenuta d'acconto");
    const int dec = NumDecDoc;
    if (ConfrontaImporti(QVariant(PercRitAccDoc), QVariant(0.0)) == 1) {
        CalcRitAcc(PercRitAccDoc, dec);
    } else {
        odRitAcc = odTotImpRitAcc = odTotImpRitAccEff = Currency();
    }
    ouPercCassaPrev = ouTotCassaPrev = Currency();
    // The expenses phase has read every row of the document: without a fund
    // row there is nothing more to read.
    if (osTabSpese.trimmed().isEmpty() || !CassaPrevPresente)
        return true;

    msChiaveSpese = ApriRecordset(SqlSpesePiede());
    if (!FineDati(msChiaveSpese) && LeggiCassaPrev()) {
        if (Uguale(PrezziIvati, "S"))
            CalcIvSpese(dec);
        // A fund row whose VAT is to be spread is spread like the other expenses,
        // so that no pseudo-rate is left among the document's rates.
        if (ogIve->obEsiste(DaRipartire))
            RipartisciSpese();
        CalcIvaPiede(PrezziIvati, dec);
    }
    mgRecDat->ChiudiRec(msChiaveSpese);
    return true;
}
