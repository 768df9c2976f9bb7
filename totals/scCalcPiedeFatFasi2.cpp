// Footer engine, expenses phase: fixed, percentage and weight expenses with
// their limits, filed under their VAT code and counter-account, the lists by
// print reference and by row, and the per-due-date collection expense.
#include "totals/scCalcPiedeFat.h"

#include "totals/ImportiEsatti.h"

#include "components/db/RecDat.h"
#include "components/util/ListaValori.h"
#include "components/util/VbErrore.h"
#include "services/Importi.h"

using ImportiEsatti::DaRipartire;
using ImportiEsatti::Uguale;

namespace
{
bool tipoEsente(const QString &tipoIva)
{
    const QString t = tipoIva.trimmed();
    return t == QLatin1String("2") || t == QLatin1String("3") || t == QLatin1String("4") ||
           t == QLatin1String("5");
}
} // namespace

scCalcPiedeFat::RigaSpesa scCalcPiedeFat::LeggiRigaSpesa() const
{
    const QString &k = msChiaveSpese;
    RigaSpesa r;
    // An expense code missing from Spese would file its amount under no account.
    if (Campo(k, QStringLiteral("Spese.Spesa")).isNull())
        throw VbErrore(VbErrore::UsoNonValidoNull, QStringLiteral("Spesa non trovata nella tabella Spese: ") +
                                                       CampoTesto(k, osTabSpese + QLatin1String(".Spesa")));
    r.conto = CampoTesto(k, QStringLiteral("spese.gruppo")) + CampoTesto(k, QStringLiteral("spese.Mastro")) +
              CampoTesto(k, QStringLiteral("spese.conto"));
    r.rifStampa = CampoTesto(k, QStringLiteral("Spese.RifStampa"));
    if (Uguale(CampoTesto(k, QStringLiteral("Spese.AddebitoIva")), "R")) {
        r.chiaveIva = DaRipartire;
        r.descrizione = r.descrLunga = QStringLiteral("Da ripartire");
        return r;
    }
    r.chiaveIva = CampoTesto(k, osTabSpese + QLatin1String(".Iva"));
    if (Campo(k, QStringLiteral("TabIva.Iva")).isNull())
        throw VbErrore(VbErrore::UsoNonValidoNull,
                       QStringLiteral("Codice IVA della spesa non trovato in TabIva: ") + r.chiaveIva);
    r.aliquota = CampoImporto(k, QStringLiteral("TabIva.Aliquota"));
    r.descrizione = CampoTesto(k, QStringLiteral("TabIva.DescrizioneBreve"));
    r.descrLunga = CampoTesto(k, QStringLiteral("TabIva.Descrizione"));
    r.descrMemo = CampoTesto(k, QStringLiteral("TabIva.DescrMemo"));
    r.tipoIva = CampoTesto(k, QStringLiteral("TabIva.TipoIva"));
    r.esente = tipoEsente(r.tipoIva);
    r.applBolloEse = CampoTesto(k, QStringLiteral("TabIva.ApplBolloEse"));
    return r;
}

void scCalcPiedeFat::ApriVoceSpesa(const RigaSpesa &r)
{
    if (!ogIve->obEsiste(r.chiaveIva)) {
        scIva &nuova = ogIve->AddIva(r.chiaveIva);
        nuova.osDescrizione = r.descrizione;
        nuova.osDescrLunga = r.descrLunga;
        nuova.osDescrMemo = r.descrMemo;
        nuova.osTipoIva = r.tipoIva;
        nuova.odAliquota = r.aliquota;
        nuova.obIvaEsente = r.esente;
        nuova.osApplBolloEse = r.applBolloEse;
    }
    scIva &iva = ogIve->ogIva(r.chiaveIva);
    if (!iva.obCPEsiste(r.conto))
        iva.AddControP(r.conto, QString(), QString());
    else if (!iva.obCdcCompEsiste(r.conto, QString(), QString()))
        iva.AddCdcComp(r.conto, QString(), QString());
}

void scCalcPiedeFat::SommaSpesaRif(const QString &psRifStampa, Currency puImporto)
{
    if (!ogSpese->EsisteChiave(psRifStampa))
        ogSpese->ScriviValore(psRifStampa, true, Currency());
    ogSpese->ScriviValore(psRifStampa, true, ogSpese->LeggiImporto(psRifStampa) + puImporto);
}

// A fixed expense is charged in full or not at all, by the goods of the lines:
// a pair of limits is a range, a lone minimum an upper bound of the goods and a
// lone maximum a lower bound.
bool scCalcPiedeFat::AddebitoFisso(Currency puMin, Currency puMax) const
{
    const bool conMin = puMin > Currency(), conMax = puMax > Currency();
    if (conMin && conMax)
        return ConfrontaImporti(TotMerceRighe, puMin) >= 0 && ConfrontaImporti(TotMerceRighe, puMax) <= 0;
    if (conMin)
        return ConfrontaImporti(TotMerceRighe, puMin) <= 0;
    if (conMax)
        return ConfrontaImporti(TotMerceRighe, puMax) >= 0;
    return true;
}

bool scCalcPiedeFat::LetturaSpese()
{
    msFase = QStringLiteral("Lettura Spese");
    SpesaScadTrovata = false;
    CassaPrevPresente = false;
    ChiaveIvaBollo.clear();
    if (!ogSpese)
        ogSpese = std::make_shared<ListaValori>();
    if (!ogSpesePerc)
        ogSpesePerc = std::make_shared<ListaValori>();
    ModoArrotSpesaScad.clear();
    MinSpesaScad = MaxSpesaScad = 0;
    const int dec = NumDecDoc;
    const QString T = osTabSpese + QLatin1String(".");
    const QString &k = msChiaveSpese;

    if (!osTabSpese.trimmed().isEmpty()) {
        msChiaveSpese = ApriRecordset(SqlSpesePiede());
        if (!FineDati(k)) {
            for (; !FineFile(k); MuoviSuccessivo(k)) {
                if (Uguale(CampoTesto(k, T + QLatin1String("CassaPrev")), "S")) {
                    CassaPrevPresente = true;
                    continue;
                }
                if (mbCalcRitAcc && !Uguale(CampoTesto(k, T + QLatin1String("SoggRitAcc")), "S"))
                    continue;

                if (Uguale(CampoTesto(k, T + QLatin1String("TipoAddebito")), "T")) {
                    if (Uguale(TipoEffetto, "3")) {
                        BolliTrovati = true;
                        SpesaScadTrovata = true;
                        CodEseBollo = CampoTesto(k, T + QLatin1String("Iva"));
                        osGruppoBol = CampoTesto(k, QStringLiteral("spese.gruppo"));
                        osMastroBol = CampoTesto(k, QStringLiteral("spese.Mastro"));
                        osContoBol = CampoTesto(k, QStringLiteral("spese.conto"));
                        ContoBollo = osGruppoBol + osMastroBol + osContoBol;
                        PercBolloTratte = CampoImporto(k, T + QLatin1String("Percentuale"));
                        ArrotondBollo = CampoImporto(k, QStringLiteral("spese.ImportoLire"));
                        ModoArrotSpesaScad = CampoTesto(k, QStringLiteral("spese.SoggScontoPagam"));
                        if (Uguale(ModoArrotSpesaScad, "N"))
                            ModoArrotSpesaScad = QStringLiteral("5");
                        MinSpesaScad = CampoDouble(k, QStringLiteral("spese.ImportoMin"));
                        MaxSpesaScad = CampoDouble(k, QStringLiteral("spese.ImportoMax"));
                    }
                    continue;
                }

                const RigaSpesa r = LeggiRigaSpesa();
                const Currency max = CampoImporto(k, T + QLatin1String("ImportoMax")).rounded(dec);
                const Currency min = CampoImporto(k, T + QLatin1String("ImportoMin")).rounded(dec);
                const QString tipo = CampoTesto(k, QStringLiteral("Spese.TipoAddebito"));
                const bool percentuale = Uguale(tipo, "P"), peso = Uguale(tipo, "S");
                Currency importo;
                if (percentuale || peso) {
                    importo = percentuale
                                  ? ImportiEsatti::Prodotto(TotMerceRighe,
                                                            CampoDouble(k, T + QLatin1String("Percentuale")),
                                                            dec, 100)
                                  : ImportiEsatti::Prodotto(
                                        CampoImporto(k, T + QLatin1String("Importo")),
                                        CampoDouble(msChiaveTesta, osTabTesta + QLatin1String(".Peso")), dec);
                    if (max > Currency() && importo > max)
                        importo = max;
                    if (min > Currency() && importo < min)
                        importo = min;
                    ogSpesePerc->ScriviValore(QString::number(CampoIntero(k, T + QLatin1String("Riga"))),
                                              true, importo);
                } else if (AddebitoFisso(min, max)) {
                    importo = CampoImporto(k, T + QLatin1String("Importo")).rounded(dec);
                }

                ApriVoceSpesa(r);
                const bool soggetta = !odScontoPag.isZero() &&
                                      Uguale(CampoTesto(k, QStringLiteral("Spese.SoggScontoPagam")), "S");
                if (soggetta && mbScoPagSuDett)
                    importo = ScorporaPercentuale(importo, odScontoPag, dec, true);

                scIva &iva = ogIve->ogIva(r.chiaveIva);
                scControP &cp = iva.ogControp(r.conto);
                scControPCDCComp &cdc = iva.ogCdcComp(r.conto, QString(), QString());
                if (soggetta && !mbScoPagSuDett) {
                    iva.odSValSpesePerSco += importo;
                    cp.odSValSpesePerSco += importo;
                    cdc.odSValSpesePerSco += importo;
                } else {
                    iva.odSValSpese += importo;
                    cp.odSValSpese += importo;
                    cdc.odSValSpese += importo;
                }
                SommaSpesaRif(r.rifStampa, importo);
                odTotSpese += importo;
            }
        }
        mgRecDat->ChiudiRec(k);
    }

    if (Uguale(PrezziIvati, "S"))
        CalcIvSpese(dec);
    if (!ogIve->obEsiste(DaRipartire))
        CalcScontoPag(PrezziIvati, dec);
    CalcIvaPiede(PrezziIvati, dec);
    return true;
}
