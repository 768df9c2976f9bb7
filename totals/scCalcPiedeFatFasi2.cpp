// Footer engine, expenses phase: fixed, percentage and weight expenses with
// their limits, filed under their VAT code and counter-account, the lists by
// print reference and by row, and the per-due-date collection expense.
#include "totals/scCalcPiedeFat.h"

#include "totals/ImportiEsatti.h"
#include "totals/LetturePiede.h"

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

SelezionePronta &scCalcPiedeFat::ApriSpese()
{
    Letture &L = *mLetture;
    return Apri(
        L.spese, osTabSpese, [this] { return SqlSpesePiede(); }, {qlonglong(miAnno), qlonglong(mlNumRif)},
        [this, &L](SelezionePronta &s) {
            const QString T = osTabSpese + QLatin1String(".");
            auto &c = L.s;
            c.spesaSpese = s.Campo(QStringLiteral("Spese.Spesa"));
            c.spesa = s.Campo(T + QLatin1String("Spesa"));
            c.gruppo = s.Campo(QStringLiteral("spese.gruppo"));
            c.mastro = s.Campo(QStringLiteral("spese.Mastro"));
            c.conto = s.Campo(QStringLiteral("spese.conto"));
            c.rifStampa = s.Campo(QStringLiteral("Spese.RifStampa"));
            c.addebitoIva = s.Campo(QStringLiteral("Spese.AddebitoIva"));
            c.iva = s.Campo(T + QLatin1String("Iva"));
            c.ivaTabIva = s.Campo(QStringLiteral("TabIva.Iva"));
            c.aliquota = s.Campo(QStringLiteral("TabIva.Aliquota"));
            c.descrBreve = s.Campo(QStringLiteral("TabIva.DescrizioneBreve"));
            c.descrizione = s.Campo(QStringLiteral("TabIva.Descrizione"));
            c.descrMemo = s.Campo(QStringLiteral("TabIva.DescrMemo"));
            c.tipoIva = s.Campo(QStringLiteral("TabIva.TipoIva"));
            c.applBolloEse = s.Campo(QStringLiteral("TabIva.ApplBolloEse"));
            c.cassaPrev = s.Campo(T + QLatin1String("CassaPrev"));
            c.soggRitAcc = s.Campo(T + QLatin1String("SoggRitAcc"));
            c.tipoAddebitoRiga = s.Campo(T + QLatin1String("TipoAddebito"));
            c.percentuale = s.Campo(T + QLatin1String("Percentuale"));
            c.importoLire = s.Campo(QStringLiteral("spese.ImportoLire"));
            c.soggScontoPagam = s.Campo(QStringLiteral("spese.SoggScontoPagam"));
            c.importoMinSpesa = s.Campo(QStringLiteral("spese.ImportoMin"));
            c.importoMaxSpesa = s.Campo(QStringLiteral("spese.ImportoMax"));
            c.importoMax = s.Campo(T + QLatin1String("ImportoMax"));
            c.importoMin = s.Campo(T + QLatin1String("ImportoMin"));
            c.tipoAddebito = s.Campo(QStringLiteral("Spese.TipoAddebito"));
            c.importo = s.Campo(T + QLatin1String("Importo"));
            c.riga = s.Campo(T + QLatin1String("Riga"));
            c.percentualeSpesa = s.Campo(QStringLiteral("Spese.Percentuale"));
            c.gruppoRiga = s.Campo(T + QLatin1String("Gruppo"));
            c.mastroRiga = s.Campo(T + QLatin1String("Mastro"));
            c.contoRiga = s.Campo(T + QLatin1String("Conto"));
        });
}

scCalcPiedeFat::RigaSpesa scCalcPiedeFat::LeggiRigaSpesa(const SelezionePronta &k) const
{
    const auto &c = mLetture->s;
    RigaSpesa r;
    // An expense code missing from Spese would file its amount under no account.
    if (k.Nullo(c.spesaSpese))
        throw VbErrore(VbErrore::UsoNonValidoNull,
                       QStringLiteral("Spesa non trovata nella tabella Spese: ") + k.Testo(c.spesa));
    r.conto = k.Testo(c.gruppo) + k.Testo(c.mastro) + k.Testo(c.conto);
    r.rifStampa = k.Testo(c.rifStampa);
    if (k.Uguale(c.addebitoIva, QLatin1String("R"), true)) {
        r.chiaveIva = DaRipartire;
        r.descrizione = r.descrLunga = QStringLiteral("Da ripartire");
        return r;
    }
    r.chiaveIva = k.Testo(c.iva);
    if (k.Nullo(c.ivaTabIva))
        throw VbErrore(VbErrore::UsoNonValidoNull,
                       QStringLiteral("Codice IVA della spesa non trovato in TabIva: ") + r.chiaveIva);
    r.aliquota = k.Importo(c.aliquota);
    r.descrizione = k.Testo(c.descrBreve);
    r.descrLunga = k.Testo(c.descrizione);
    r.descrMemo = k.Testo(c.descrMemo);
    r.tipoIva = k.Testo(c.tipoIva);
    r.esente = tipoEsente(r.tipoIva);
    r.applBolloEse = k.Testo(c.applBolloEse);
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
    IvaBolloLetta = false;
    if (!ogSpese)
        ogSpese = std::make_shared<ListaValori>();
    if (!ogSpesePerc)
        ogSpesePerc = std::make_shared<ListaValori>();
    ModoArrotSpesaScad.clear();
    MinSpesaScad = MaxSpesaScad = 0;
    const int dec = NumDecDoc;

    if (!osTabSpese.trimmed().isEmpty()) {
        SelezionePronta &k = ApriSpese();
        const auto &c = mLetture->s;
        for (; !k.FineFile(); k.MuoviSuccessivo()) {
            if (k.Uguale(c.cassaPrev, QLatin1String("S"), true)) {
                CassaPrevPresente = true;
                continue;
            }
            if (mbCalcRitAcc && !k.Uguale(c.soggRitAcc, QLatin1String("S"), true))
                continue;

            if (k.Uguale(c.tipoAddebitoRiga, QLatin1String("T"), true)) {
                if (Uguale(TipoEffetto, "3")) {
                    BolliTrovati = true;
                    SpesaScadTrovata = true;
                    CodEseBollo = k.Testo(c.iva);
                    osGruppoBol = k.Testo(c.gruppo);
                    osMastroBol = k.Testo(c.mastro);
                    osContoBol = k.Testo(c.conto);
                    ContoBollo = osGruppoBol + osMastroBol + osContoBol;
                    PercBolloTratte = k.Importo(c.percentuale);
                    ArrotondBollo = k.Importo(c.importoLire);
                    ModoArrotSpesaScad = k.Testo(c.soggScontoPagam);
                    if (Uguale(ModoArrotSpesaScad, "N"))
                        ModoArrotSpesaScad = QStringLiteral("5");
                    MinSpesaScad = CampoDouble(k, c.importoMinSpesa);
                    MaxSpesaScad = CampoDouble(k, c.importoMaxSpesa);
                }
                continue;
            }

            const RigaSpesa r = LeggiRigaSpesa(k);
            const Currency max = k.Importo(c.importoMax).rounded(dec);
            const Currency min = k.Importo(c.importoMin).rounded(dec);
            const bool percentuale = k.Uguale(c.tipoAddebito, QLatin1String("P"), true),
                       peso = k.Uguale(c.tipoAddebito, QLatin1String("S"), true);
            Currency importo;
            if (percentuale || peso) {
                importo =
                    percentuale
                        ? ImportiEsatti::Prodotto(TotMerceRighe, CampoDouble(k, c.percentuale), dec, 100)
                        : ImportiEsatti::Prodotto(k.Importo(c.importo),
                                                  CampoDouble(*mLetture->testa.sel, mLetture->t.peso), dec);
                if (max > Currency() && importo > max)
                    importo = max;
                if (min > Currency() && importo < min)
                    importo = min;
                ogSpesePerc->ScriviValore(QString::number(CampoIntero(k, c.riga)), true, importo);
            } else if (AddebitoFisso(min, max)) {
                importo = k.Importo(c.importo).rounded(dec);
            }

            ApriVoceSpesa(r);
            const bool soggetta =
                !odScontoPag.isZero() && k.Uguale(c.soggScontoPagam, QLatin1String("S"), true);
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
        k.Chiudi();
    }

    if (Uguale(PrezziIvati, "S"))
        CalcIvSpese(dec);
    if (!ogIve->obEsiste(DaRipartire))
        CalcScontoPag(PrezziIvati, dec);
    CalcIvaPiede(PrezziIvati, dec);
    return true;
}
