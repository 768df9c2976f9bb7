// Footer engine, closing phases: document totals and goods by discount level,
// stamp duty on exempt amounts and per due date (with the collection expense
// spread over the due dates), the amount due, and the per-due-date and
// per-level accessors.
#include "totals/scCalcPiedeFat.h"

#include "totals/ImportiEsatti.h"
#include "totals/LetturePiede.h"
#include "totals/ScadUtil.h"

#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/Importi.h"

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

bool scCalcPiedeFat::CalcoloTotali()
{
    msFase = QStringLiteral("Calcolo totali");
    const int dec = NumDecDoc;
    const bool ivati = Uguale(PrezziIvati, "S");
    odTotMerce = odTotEsente = odTotEsenteAppBol = odTotImponibile = odTotImpOmaggi = Currency();
    oiNumSconti = 0;
    if (!ogIve)
        ogIve = std::make_unique<scIve>();
    for (const scIva &iva : ogIve->ocCollIva)
        oiNumSconti = std::max(oiNumSconti, iva.oiNumSconti);
    mdMerceSco.assign(size_t(oiNumSconti) + 1, 0.0);

    for (const scIva &iva : ogIve->ocCollIva) {
        const auto netto = [&](Currency x) {
            return ivati ? CalcImportoPercentuali(x, iva.odAliquota, dec) : x;
        };
        const auto nettoD = [&](double x) { return netto(Currency::fromDouble(x)).toDouble(); };
        odTotMerce += netto(iva.odMerce);
        for (int i = 1; i <= iva.oiNumSconti; ++i)
            mdMerceSco[size_t(i)] += ivati ? nettoD(iva.odMerceSco(i)) : iva.odMerceSco(i);
        const double ultimo = iva.odMerceSco(iva.oiNumSconti);
        for (int i = iva.oiNumSconti + 1; i <= oiNumSconti; ++i)
            mdMerceSco[size_t(i)] += ivati ? nettoD(ultimo) : ultimo;

        const Currency omaggio = netto(iva.odSValOmaggio + (iva.odSValOmaggioPerSco - iva.odScoPagamOmaggio));
        odTotOmaggi += omaggio + iva.odImpOmaggioT + iva.odIvaOmaggioT;
        odTotOmaggiNoIva += omaggio + iva.odImpOmaggioT;
        if (iva.obIvaEsente) {
            odTotEsente += iva.odImpon;
            if (!Uguale(iva.osApplBolloEse, "N"))
                odTotEsenteAppBol += iva.odImpon;
            odTotIva += iva.odImpos;
        } else {
            odTotImpOmaggi += omaggio;
            odTotImponibile += iva.odImpon;
        }
    }
    odTotFattura = odTotImponibile + odTotIva + odTotEsente;

    odTotBolli = Currency();
    odTotBolliScad = 0;
    mdSpesaScad.assign(2, 0.0);
    obBolliEsenti = true;
    if (!mbCalcRitAcc && BolliTrovati) {
        const QString tipo = ogIve->obEsiste(CodEseBollo) ? ogIve->ogIva(CodEseBollo).osTipoIva
                                                          : DatoIvaBollo(Letture::IvaTipo).toString();
        obBolliEsenti = tipoEsente(tipo);
    }
    return true;
}

// A column of the stamp's VAT code. The stamp table's own join serves when the
// code is still the table's; a code taken from a collection expense is read
// from TabIva itself, so its entry shows its own rate and descriptions.
QVariant scCalcPiedeFat::DatoIvaBollo(int piDato)
{
    Letture &L = *mLetture;
    if (BolliLetti && !L.bolli.sel->FineDati() &&
        L.bolli.sel->Testo(L.b.codEseBollo).compare(CodEseBollo, Qt::CaseInsensitive) == 0)
        return L.bolli.sel->Valore(L.b.iva[size_t(piDato)]);
    if (!IvaBolloLetta) {
        Apri(
            L.ivaBollo, QStringLiteral("TabIva"),
            [this] {
                return QStringLiteral("Select * From TabIva Where TabIva.Iva = ") +
                       Globali::Util().ValoreSql(CodEseBollo, UtilGlob::TipoTesto);
            },
            {QString(CodEseBollo).remove(QChar(0))},
            [&L](SelezionePronta &s) { Letture::ColonneIva(s, L.ivaBolloCol); });
        IvaBolloLetta = true;
    }
    if (L.ivaBollo.sel->FineDati())
        return QVariant();
    return L.ivaBollo.sel->Valore(L.ivaBolloCol[size_t(piDato)]);
}

void scCalcPiedeFat::AggiungiBolli(Currency puBolli)
{
    odTotBolli += puBolli;
    if (obBolliEsenti)
        odTotEsente += puBolli;
    odTotFattura += puBolli;
}

// The due-date calculation's own entries join the engine's list, one per error.
void scCalcPiedeFat::AccodaErroriScadenze(int piNumErr, const QString &psErrori)
{
    QStringList righe;
    for (const QString &r : psErrori.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        if (!r.startsWith(QLatin1String("..............")))
            righe << r;
    for (int i = 0; i < piNumErr; ++i) {
        QString testo = i < righe.size() ? righe.at(i) : QStringLiteral("Errore nel calcolo delle scadenze");
        const int sep = testo.indexOf(QLatin1String(" : "));
        if (testo.startsWith(QLatin1String("Errore n°")) && sep > 0)
            testo = testo.mid(sep + 3);
        AccodaErrPiede(0, testo);
    }
}

bool scCalcPiedeFat::CalcoloBolli()
{
    msFase = QStringLiteral("Calcolo Bolli");
    const SelezionePronta &h = *mLetture->testa.sel;
    const auto &t = mLetture->t;
    const QString bolliDoc = MancaAddBolli ? h.Testo(t.bolli) : mvAddBolli.toString();
    const QString segno = h.Testo(t.segno).trimmed();

    if (Uguale(bolliDoc, "S") && odTotEsenteAppBol > Currency() && odTotEsenteAppBol > MaxNoBollo &&
        !Uguale(ParametroHost(QStringLiteral("Fat.Onlus")), "S")) {
        if (segno == QLatin1String("-"))
            BolloEsente = -BolloEsente;
        AggiungiBolli(BolloEsente);
    }

    if (Uguale(bolliDoc, "S") && segno == QLatin1String("+") && Uguale(h.Testo(t.addBolli), "S")) {
        Currency daPagare = odTotFattura - odAbbuono - odAcconto - odTotOmaggi - odRitAcc;
        if (obCassaPrevNoImpon)
            daPagare -= ouTotCassaPrev;
        int n = CampoIntero(h, t.numScad);
        if (n == 0)
            n = 1;
        // Nothing left to pay carries no stamp and no collection expense.
        if (daPagare > Currency()) {
            if (Uguale(TipoEffetto, "3") && SpesaScadTrovata) {
                QList<QDate> date;
                QList<double> rate, spese;
                int numScad = 0, numErr = 0;
                QString errori;
                QDate decorrenza;
                ScadUtil::CalcScadenze(
                    CampoData(h, t.dataRif), (daPagare - odTotIva).toDouble(), odTotIva.toDouble(),
                    h.Testo(t.pagamento), h.Testo(t.gruppoCli), h.Testo(t.mastroCli), h.Testo(t.contoCli),
                    NumDecDoc, date, rate, numScad, numErr, errori, ScadUtil::SpesaCalcolata, PercBolloTratte,
                    spese, ArrotondBollo, ModoArrotSpesaScad, MinSpesaScad, MaxSpesaScad, decorrenza);
                if (numErr > 0)
                    AccodaErroriScadenze(numErr, errori);
                if (numScad > 0 && numErr == 0 && !spese.isEmpty()) {
                    odTotBolliScad = 0;
                    mdSpesaScad.assign(size_t(spese.size()), 0.0);
                    for (int i = 1; i < spese.size(); ++i) {
                        odTotBolliScad += spese.at(i);
                        mdSpesaScad[size_t(i)] = spese.at(i);
                    }
                    AggiungiBolli(Currency::fromDouble(odTotBolliScad));
                }
            } else if (Uguale(TipoEffetto, "3")) {
                Currency bollo =
                    Currency::fromDouble(daPagare.toDouble() / n * PercBolloTratte.toDouble() / 1000.0);
                bollo = Globali::Util().Arrotonda(bollo, QStringLiteral("S"), ArrotondBollo);
                if (bollo < BolloRB[2])
                    bollo = BolloRB[2];
                AggiungiBolli(bollo * n);
            } else if (Uguale(TipoEffetto, "1")) {
                Currency bollo;
                for (int i = 1; i <= 5; ++i) {
                    bollo = BolloRB[size_t(i)];
                    if (ScaBolRB[size_t(i)].toDouble() >= (daPagare + bollo * n).toDouble() / n)
                        break;
                }
                AggiungiBolli(bollo * n);
            }
        }
    }

    if (ConfrontaImporti(odTotBolli, Currency()) != 0) {
        if (!ogIve->obEsiste(CodEseBollo)) {
            scIva &nuova = ogIve->AddIva(CodEseBollo);
            nuova.osDescrizione = DatoIvaBollo(Letture::IvaDescrBreve).toString();
            nuova.osDescrLunga = DatoIvaBollo(Letture::IvaDescrizione).toString();
            nuova.osDescrMemo = DatoIvaBollo(Letture::IvaDescrMemo).toString();
            nuova.odAliquota = Currency::fromVariant(DatoIvaBollo(Letture::IvaAliquota));
            nuova.osTipoIva = DatoIvaBollo(Letture::IvaTipo).toString();
            nuova.obIvaEsente = obBolliEsenti;
            nuova.osApplBolloEse = DatoIvaBollo(Letture::IvaApplBolloEse).toString();
        }
        scIva &iva = ogIve->ogIva(CodEseBollo);
        if (!iva.obCPEsiste(ContoBollo))
            iva.AddControP(ContoBollo, QString(), QString());
        else if (!iva.obCdcCompEsiste(ContoBollo, QString(), QString()))
            iva.AddCdcComp(ContoBollo, QString(), QString());
        scControP &cp = iva.ogControp(ContoBollo);
        scControPCDCComp &cdc = iva.ogCdcComp(ContoBollo, QString(), QString());
        iva.odSVal += odTotBolli;
        cp.odSVal += odTotBolli;
        cdc.odSVal += odTotBolli;
        iva.odImpon += odTotBolli;
        cp.odImpon += odTotBolli;
        cdc.odImpon += odTotBolli;
        iva.obIvaBolli = true;
    }
    return true;
}

bool scCalcPiedeFat::ParteFinale()
{
    msFase = QStringLiteral("Parte finale");
    odTotPagare = odTotFattura - odAbbuono - odAcconto - odTotOmaggi - odRitAcc;
    if (obCassaPrevNoImpon)
        odTotPagare -= ouTotCassaPrev;
    return true;
}

double scCalcPiedeFat::odSpeseScad(int i) const
{
    if (i < 0 || size_t(i) >= mdSpesaScad.size())
        throw VbErrore(VbErrore::IndiceFuoriIntervallo,
                       QStringLiteral("Indice non compreso nell'intervallo"));
    return mdSpesaScad[size_t(i)];
}

void scCalcPiedeFat::odSpeseScad(int i, double pdNewValue)
{
    if (i < 0 || size_t(i) >= mdSpesaScad.size())
        throw VbErrore(VbErrore::IndiceFuoriIntervallo,
                       QStringLiteral("Indice non compreso nell'intervallo"));
    mdSpesaScad[size_t(i)] = pdNewValue;
}

int scCalcPiedeFat::oiSpeseScadNum() const
{
    if (mdSpesaScad.size() < 2)
        return 0;
    const int ultimo = int(mdSpesaScad.size()) - 1;
    if (ultimo == 1 && ConfrontaImporti(QVariant(mdSpesaScad[1]), QVariant(0.0)) == 0)
        return 0;
    return ultimo;
}

QVariant scCalcPiedeFat::odTotMerceSco(int i) const
{
    if (i >= 1 && i <= oiNumSconti && size_t(i) < mdMerceSco.size())
        return QVariant(mdMerceSco[size_t(i)]);
    return QVariant(0);
}
