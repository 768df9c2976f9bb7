// Footer engine, lines phase: each counted line into the per-VAT-key,
// per-account and per-cost-centre totals, and the goods by discount level.
#include "totals/scCalcPiedeFat.h"

#include "components/util/VbErrore.h"
#include "services/Importi.h"

#include <QStringList>

namespace {
bool eS(const QString &valore)
{
    return valore.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

bool esenteDaTipo(const QString &tipoIva)
{
    const QString t = tipoIva.trimmed();
    return t == QLatin1String("2") || t == QLatin1String("3") || t == QLatin1String("4") || t == QLatin1String("5");
}

double arrotondaA(double valore, int numDec)
{
    return Currency::fromDouble(valore).rounded(std::min(numDec, 4)).toDouble();
}
} // namespace

bool scCalcPiedeFat::LetturaDettagli()
{
    msChiaveDett = ApriRecordset(SqlDettagliPiede(GestVuotiCauz));
    if (FineDati(msChiaveDett)) {
        if (obErrNoDett)
            AccodaErrPiede(0, QStringLiteral("Documento senza dettagli: ") + QString::number(mlNumRif)
                                  + QLatin1String(" ") + QString::number(miAnno));
        return false;
    }
    const QString D = osTabDett + QLatin1String(".");
    const QString L = osTabLiv + QLatin1String(".");
    const bool taglie = mbGesTaglie && !osTabLiv.trimmed().isEmpty();
    const int dec = std::min(NumDecDoc, 4);
    oiNumSconti = 0;
    while (!FineFile(msChiaveDett)) {
        const QString tipoRiga = CampoTesto(msChiaveDett, D + QLatin1String("TipoRiga"));
        const bool contata = (tipoRiga.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0
                              || tipoRiga.compare(QLatin1String("M"), Qt::CaseInsensitive) == 0)
                             && (!mbCalcRitAcc || eS(CampoTesto(msChiaveDett, D + QLatin1String("SoggRitAcc"))));
        if (!contata) {
            MuoviSuccessivo(msChiaveDett);
            continue;
        }
        const QString omaggio = CampoTesto(msChiaveDett, D + QLatin1String("Omaggio"));
        if (omaggio.compare(QLatin1String("I"), Qt::CaseInsensitive) == 0)
            obOmaSIvaPres = true;
        if (eS(omaggio))
            obOmaTotPres = true;

        QString conto = CampoTesto(msChiaveDett, QStringLiteral("Conto"));
        if (conto.isEmpty())
            conto = ContoVenDefault;
        const QString cdc = CampoTesto(msChiaveDett, D + QLatin1String("CentroDiCosto"));
        QString competenza;
        const QString compGiornMens = CampoTesto(msChiaveDett, D + QLatin1String("CompGiornMens"));
        const QDate dataDa = CampoData(msChiaveDett, D + QLatin1String("DataCompDa"));
        if (!compGiornMens.trimmed().isEmpty() && dataDa.isValid())
            competenza = compGiornMens + dataDa.toString(QStringLiteral("dd/MM/yyyy"))
                         + CampoData(msChiaveDett, D + QLatin1String("DataCompA")).toString(QStringLiteral("dd/MM/yyyy"));
        QString chiaveIva = CampoTesto(msChiaveDett, D + QLatin1String("Iva"));
        const QString beneUsato = CampoTesto(msChiaveDett, D + QLatin1String("BeneUsato"));
        if (eS(msRegimeMargine) && !beneUsato.isEmpty())
            chiaveIva += QStringLiteral("~§") + beneUsato;

        // A line whose VAT code has no TabIva row cannot be taxed: the run ends here.
        const QVariant aliquota = Campo(msChiaveDett, QStringLiteral("TabIva.Aliquota"));
        if (aliquota.isNull())
            throw VbErrore(VbErrore::UsoNonValidoNull,
                           QStringLiteral("Codice IVA non trovato in TabIva: ")
                               + CampoTesto(msChiaveDett, D + QLatin1String("Iva")));
        const QString tipoIva = CampoTesto(msChiaveDett, QStringLiteral("TabIva.TipoIva"));

        const bool daLivello = taglie && !CampoTesto(msChiaveDett, L + QLatin1String("Livello1")).isEmpty();
        const Currency valore = CampoImporto(msChiaveDett, (daLivello ? L : D) + QLatin1String("ValTotale")).rounded(dec);

        if (!ogIve->obEsiste(chiaveIva)) {
            scIva &nuova = ogIve->AddIva(chiaveIva);
            nuova.osDescrizione = CampoTesto(msChiaveDett, QStringLiteral("TabIva.DescrizioneBreve"));
            nuova.osDescrLunga = CampoTesto(msChiaveDett, QStringLiteral("TabIva.Descrizione"));
            nuova.osDescrMemo = CampoTesto(msChiaveDett, QStringLiteral("TabIva.DescrMemo"));
            nuova.osTipoIva = tipoIva;
            nuova.odAliquota = CampoImporto(msChiaveDett, QStringLiteral("TabIva.Aliquota"));
            nuova.obIvaEsente = esenteDaTipo(tipoIva);
            nuova.osApplBolloEse = CampoTesto(msChiaveDett, QStringLiteral("TabIva.ApplBolloEse"));
        }
        scIva &iva = ogIve->ogIva(chiaveIva);
        if (!iva.obCPEsiste(conto))
            iva.AddControP(conto, cdc, competenza);
        if (!iva.obCdcCompEsiste(conto, cdc, competenza))
            iva.AddCdcComp(conto, cdc, competenza);

        const bool perSconto = !odScontoPag.isZero()
                               && eS(CampoTesto(msChiaveDett, D + QLatin1String("FlScontoPag"))) && !mbScoPagSuDett;
        scControP &contoP = iva.ogControp(conto);
        scControPCDCComp &voce = contoP.ogCdcComp(cdc, competenza);
        auto aggiungi = [&](Currency scIva::*perIva, Currency scTotaliCP::*perConto) {
            iva.*perIva += valore;
            contoP.*perConto += valore;
            voce.*perConto += valore;
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
            const bool cauzione = GestVuotiCauz && eS(CampoTesto(msChiaveDett, QStringLiteral("ArtCauzione")));
            if (omaggio.compare(QLatin1String("N"), Qt::CaseInsensitive) == 0 && !cauzione) {
                aggiungi(&scIva::odMerce, &scTotaliCP::odMerce);
                const Currency prezzo = CampoImporto(msChiaveDett, (daLivello ? L : D) + QLatin1String("ValUnitario"));
                MerceScontiRiga(chiaveIva, prezzo, CampoDouble(msChiaveDett, D + QLatin1String("qta")),
                                CampoTesto(msChiaveDett, D + QLatin1String("Scontotot")));
            }
        }
        MuoviSuccessivo(msChiaveDett);
    }

    TotMerceRighe = Currency();
    for (scIva &iva : ogIve->ocCollIva)
        TotMerceRighe += eS(PrezziIvati) ? CalcImportoPercentuali(iva.odMerce, iva.odAliquota, NumDecDoc) : iva.odMerce;
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

void scCalcPiedeFat::MerceScontiRiga(const QString &psChiaveIva, Currency puPrezzo, double pdQta,
                                     const QString &psSconti)
{
    scIva &iva = ogIve->ogIva(psChiaveIva);
    auto valoreA = [&](double percentuale) {
        return ScorporaPercentualeFat(puPrezzo, pdQta, percentuale, false, NumDecDoc);
    };
    auto aggiungi = [&](int livello, double valore) { iva.odMerceSco(livello, iva.odMerceSco(livello) + valore); };

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
