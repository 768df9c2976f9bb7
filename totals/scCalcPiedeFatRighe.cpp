// Footer engine, lines phase: each counted line into the per-VAT-key,
// per-account and per-cost-centre totals, and the goods by discount level.
#include "totals/scCalcPiedeFat.h"

#include "totals/LetturePiede.h"

#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/Importi.h"

#include <QStringList>

namespace
{
bool eS(const QString &valore)
{
    return valore.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

bool esenteDaTipo(const QString &tipoIva)
{
    const QString t = tipoIva.trimmed();
    return t == QLatin1String("2") || t == QLatin1String("3") || t == QLatin1String("4") ||
           t == QLatin1String("5");
}

double arrotondaA(double valore, int numDec)
{
    return Currency::fromDouble(valore).rounded(std::min(numDec, 4)).toDouble();
}
} // namespace

bool scCalcPiedeFat::LetturaDettagli()
{
    Letture &Lt = *mLetture;
    const bool taglie = mbGesTaglie && !osTabLiv.trimmed().isEmpty();
    // The text changes with the tables and the two settings that shape it only.
    const bool conLivelli =
        !Globali::Util().ValoreVuoto(osTabLiv, UtilGlob::TipoTesto, 1, false) && mbGesTaglie;
    const QString chiave = osTabDett + QLatin1Char('|') + osTabLiv + QLatin1Char(conLivelli ? '1' : '0') +
                           QLatin1Char(GestVuotiCauz ? '1' : '0');
    SelezionePronta &r = Apri(
        Lt.dett, chiave, [this] { return SqlDettagliPiede(GestVuotiCauz); },
        {qlonglong(mlNumRif), qlonglong(miAnno)},
        [this, &Lt](SelezionePronta &s) {
            const QString D = osTabDett + QLatin1String(".");
            const QString L = osTabLiv + QLatin1String(".");
            auto &c = Lt.d;
            c.tipoRiga = s.Campo(D + QLatin1String("TipoRiga"));
            c.soggRitAcc = s.Campo(D + QLatin1String("SoggRitAcc"));
            c.omaggio = s.Campo(D + QLatin1String("Omaggio"));
            c.conto = s.Campo(QStringLiteral("Conto"));
            c.centroDiCosto = s.Campo(D + QLatin1String("CentroDiCosto"));
            c.compGiornMens = s.Campo(D + QLatin1String("CompGiornMens"));
            c.dataCompDa = s.Campo(D + QLatin1String("DataCompDa"));
            c.dataCompA = s.Campo(D + QLatin1String("DataCompA"));
            c.iva = s.Campo(D + QLatin1String("Iva"));
            c.beneUsato = s.Campo(D + QLatin1String("BeneUsato"));
            c.aliquota = s.Campo(QStringLiteral("TabIva.Aliquota"));
            c.tipoIva = s.Campo(QStringLiteral("TabIva.TipoIva"));
            c.descrBreve = s.Campo(QStringLiteral("TabIva.DescrizioneBreve"));
            c.descrizione = s.Campo(QStringLiteral("TabIva.Descrizione"));
            c.descrMemo = s.Campo(QStringLiteral("TabIva.DescrMemo"));
            c.applBolloEse = s.Campo(QStringLiteral("TabIva.ApplBolloEse"));
            c.livello1 = s.Campo(L + QLatin1String("Livello1"));
            c.valTotale = s.Campo(D + QLatin1String("ValTotale"));
            c.valTotaleLiv = s.Campo(L + QLatin1String("ValTotale"));
            c.valUnitario = s.Campo(D + QLatin1String("ValUnitario"));
            c.valUnitarioLiv = s.Campo(L + QLatin1String("ValUnitario"));
            c.flScontoPag = s.Campo(D + QLatin1String("FlScontoPag"));
            c.artCauzione = s.Campo(QStringLiteral("ArtCauzione"));
            c.qta = s.Campo(D + QLatin1String("qta"));
            c.scontoTot = s.Campo(D + QLatin1String("Scontotot"));
        });
    if (r.FineDati()) {
        if (obErrNoDett)
            AccodaErrPiede(0, QStringLiteral("Documento senza dettagli: ") + QString::number(mlNumRif) +
                                  QLatin1String(" ") + QString::number(miAnno));
        return false;
    }
    const auto &c = Lt.d;
    const int dec = std::min(NumDecDoc, 4);
    oiNumSconti = 0;
    for (; !r.FineFile(); r.MuoviSuccessivo()) {
        const bool contata =
            (r.Uguale(c.tipoRiga, QLatin1String("A")) || r.Uguale(c.tipoRiga, QLatin1String("M"))) &&
            (!mbCalcRitAcc || r.Uguale(c.soggRitAcc, QLatin1String("S")));
        if (!contata)
            continue;
        const QString omaggio = r.Testo(c.omaggio);
        if (omaggio.compare(QLatin1String("I"), Qt::CaseInsensitive) == 0)
            obOmaSIvaPres = true;
        if (eS(omaggio))
            obOmaTotPres = true;

        QString conto = r.Testo(c.conto);
        if (conto.isEmpty())
            conto = ContoVenDefault;
        const QString cdc = r.Testo(c.centroDiCosto);
        QString competenza;
        const QString compGiornMens = r.Testo(c.compGiornMens);
        const QDate dataDa = CampoData(r, c.dataCompDa);
        if (!compGiornMens.trimmed().isEmpty() && dataDa.isValid())
            competenza = compGiornMens + dataDa.toString(QStringLiteral("dd/MM/yyyy")) +
                         CampoData(r, c.dataCompA).toString(QStringLiteral("dd/MM/yyyy"));
        QString chiaveIva = r.Testo(c.iva);
        const QString beneUsato = r.Testo(c.beneUsato);
        if (eS(msRegimeMargine) && !beneUsato.isEmpty())
            chiaveIva += QStringLiteral("~§") + beneUsato;

        // A line whose VAT code has no TabIva row cannot be taxed: the run ends here.
        if (r.Nullo(c.aliquota))
            throw VbErrore(VbErrore::UsoNonValidoNull,
                           QStringLiteral("Codice IVA non trovato in TabIva: ") + r.Testo(c.iva));
        const QString tipoIva = r.Testo(c.tipoIva);

        const bool daLivello = taglie && !r.Testo(c.livello1).isEmpty();
        const Currency valore = r.Importo(daLivello ? c.valTotaleLiv : c.valTotale).rounded(dec);

        scIva *trovata = ogIve->ocCollIva.Trova(chiaveIva);
        if (!trovata) {
            scIva &nuova = ogIve->AddIva(chiaveIva);
            nuova.osDescrizione = r.Testo(c.descrBreve);
            nuova.osDescrLunga = r.Testo(c.descrizione);
            nuova.osDescrMemo = r.Testo(c.descrMemo);
            nuova.osTipoIva = tipoIva;
            nuova.odAliquota = r.Importo(c.aliquota);
            nuova.obIvaEsente = esenteDaTipo(tipoIva);
            nuova.osApplBolloEse = r.Testo(c.applBolloEse);
            trovata = &nuova;
        }
        scIva &iva = *trovata;
        scControP *contoP = iva.ocCollControPte.Trova(conto);
        if (!contoP) {
            iva.AddControP(conto, cdc, competenza);
            contoP = &iva.ogControp(conto);
        }
        scControPCDCComp *voce = contoP->ocCdcCompetenza.Trova(ComponiChiave(cdc, competenza));
        if (!voce) {
            iva.AddCdcComp(conto, cdc, competenza);
            voce = &contoP->ogCdcComp(cdc, competenza);
        }

        const bool perSconto =
            !odScontoPag.isZero() && r.Uguale(c.flScontoPag, QLatin1String("S")) && !mbScoPagSuDett;
        auto aggiungi = [&](Currency scIva::*perIva, Currency scTotaliCP::*perConto) {
            iva.*perIva += valore;
            contoP->*perConto += valore;
            voce->*perConto += valore;
        };
        if (omaggio.compare(QLatin1String("I"), Qt::CaseInsensitive) == 0) {
            if (perSconto)
                aggiungi(&scIva::odSValOmaggioPerSco, &scTotaliCP::odSValOmaggioPerSco);
            else
                aggiungi(&scIva::odSValOmaggio, &scTotaliCP::odSValOmaggio);
        } else if (eS(omaggio)) {
            aggiungi(&scIva::odSValOmaggioT, &scTotaliCP::odSValOmaggioT);
        } else {
            if (perSconto)
                aggiungi(&scIva::odSValPerSco, &scTotaliCP::odSValPerSco);
            else
                aggiungi(&scIva::odSVal, &scTotaliCP::odSVal);
            const bool cauzione = GestVuotiCauz && r.Uguale(c.artCauzione, QLatin1String("S"));
            if (omaggio.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0 && !cauzione) {
                aggiungi(&scIva::odMerce, &scTotaliCP::odMerce);
                const Currency prezzo = r.Importo(daLivello ? c.valUnitarioLiv : c.valUnitario);
                MerceScontiRiga(iva, prezzo, CampoDouble(r, c.qta), r.Testo(c.scontoTot));
            }
        }
    }

    TotMerceRighe = Currency();
    for (scIva &iva : ogIve->ocCollIva)
        TotMerceRighe +=
            eS(PrezziIvati) ? CalcImportoPercentuali(iva.odMerce, iva.odAliquota, NumDecDoc) : iva.odMerce;
    return true;
}

double scCalcPiedeFat::PercentualeSconti(const QString &psCatena)
{
    // The same few chains come back line after line; their value never changes.
    auto trovata = mPercentualiSconti.constFind(psCatena);
    if (trovata != mPercentualiSconti.constEnd())
        return *trovata;
    if (mPercentualiSconti.size() > 4096)
        mPercentualiSconti.clear();
    const double perc = ValutaNumero(psCatena, nullptr, 0, 6);
    mPercentualiSconti.insert(psCatena, perc);
    return perc;
}

void scCalcPiedeFat::MerceScontiRiga(scIva &iva, Currency puPrezzo, double pdQta, const QString &psSconti)
{
    auto valoreA = [&](double percentuale) {
        return ScorporaPercentualeFat(puPrezzo, pdQta, percentuale, false, NumDecDoc);
    };
    auto aggiungi = [&](int livello, double valore) {
        iva.odMerceSco(livello, iva.odMerceSco(livello) + valore);
    };

    const QString catena = psSconti.trimmed();
    if (!catena.isEmpty() && catena != QLatin1String("0")) {
        const QStringList sconti = catena.split(u'+');
        const int n = int(sconti.size());
        iva.PrepMerceSco(n + 1);
        for (int i = 2; i <= iva.oiNumSconti; ++i) {
            const int k = std::min(i - 1, n);
            const double perc = PercentualeSconti(sconti.mid(0, k).join(u'+'));
            aggiungi(i, arrotondaA(valoreA(perc), NumDecDoc));
        }
    } else {
        if (iva.oiNumSconti == 0)
            iva.PrepMerceSco(1);
        for (int i = 2; i <= iva.oiNumSconti; ++i)
            aggiungi(i, arrotondaA(valoreA(0), NumDecDoc));
    }
    aggiungi(1, valoreA(0));
}
