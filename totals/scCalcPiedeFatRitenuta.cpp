// Footer engine, withholding-tax phase: the withholding base and amount from a
// second run of the engine, the social-security fund rows, and the VAT of the
// expenses when prices include VAT.
#include "totals/scCalcPiedeFat.h"

#include "totals/ImportiEsatti.h"
#include "totals/LetturePiede.h"

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
    // A second engine on the same document. It is kept for the next document:
    // every run starts from its own reset, and the withholding-only run never
    // reaches the values that a reset leaves alone.
    if (!mSeconda)
        mSeconda = std::make_unique<scCalcPiedeFat>();
    scCalcPiedeFat &seconda = *mSeconda;
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
bool scCalcPiedeFat::LeggiCassaPrev(SelezionePronta &k)
{
    const auto &c = mLetture->s;
    const int dec = NumDecDoc;
    bool trovata = false;
    bool basePronta = ConfrontaImporti(QVariant(PercRitAccDoc), QVariant(0.0)) == 1;
    for (; !k.FineFile(); k.MuoviSuccessivo()) {
        if (!k.Uguale(c.cassaPrev, QLatin1String("S"), true))
            continue;
        trovata = true;
        const RigaSpesa r = LeggiRigaSpesa(k);
        const Currency max = k.Importo(c.importoMax).rounded(dec);
        const Currency min = k.Importo(c.importoMin).rounded(dec);
        // The fund needs the withholding base even when nothing is withheld;
        // one second run serves every fund row.
        if (!basePronta) {
            CalcRitAcc(PercRitAccDoc, dec);
            basePronta = true;
        }
        Currency importo;
        if (k.Uguale(c.tipoAddebito, QLatin1String("I"), true) && !obCassaPrevNoImpon) {
            if (AddebitoFisso(min, max))
                importo = k.Importo(c.importo).rounded(dec);
            ouPercCassaPrev = k.Importo(c.percentualeSpesa);
        } else {
            const double perc = CampoDouble(k, c.percentuale);
            ouPercCassaPrev = k.Importo(c.percentuale);
            importo = ImportiEsatti::Prodotto(odTotImpRitAcc, perc, dec, 100);
            if (max > Currency() && importo > max)
                importo = max;
            if (min > Currency() && importo < min)
                importo = min;
            ogSpesePerc->ScriviValore(QString::number(CampoIntero(k, c.riga)), true,
                                      obCassaPrevNoImpon ? Currency() : importo);
        }
        ouTotCassaPrev += importo;
        osCassaPrevGruppo = k.Testo(c.gruppoRiga);
        osCassaPrevMastro = k.Testo(c.mastroRiga);
        osCassaPrevConto = k.Testo(c.contoRiga);
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

    SelezionePronta &k = ApriSpese();
    if (!k.FineDati() && LeggiCassaPrev(k)) {
        if (Uguale(PrezziIvati, "S"))
            CalcIvSpese(dec);
        // A fund row whose VAT is to be spread is spread like the other expenses,
        // so that no pseudo-rate is left among the document's rates.
        if (ogIve->obEsiste(DaRipartire))
            RipartisciSpese();
        CalcIvaPiede(PrezziIvati, dec);
    }
    k.Chiudi();
    return true;
}
