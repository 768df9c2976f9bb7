// Footer engine, spreading phase: the expenses whose VAT is to be spread are
// moved from the pseudo-rate onto the document's real rates (by incidence of
// their taxable amounts, or whole onto the first rate when all are exempt),
// down to each counter-account and its entry without cost centre; a rate's
// accounts receive shares that add up to the rate's.
#include "totals/scCalcPiedeFat.h"

#include "totals/LetturePiede.h"

#include "totals/ImportiEsatti.h"

#include "components/util/VbErrore.h"
#include "services/Importi.h"

#include <array>

using ImportiEsatti::DaRipartire;
using ImportiEsatti::Uguale;

namespace
{

bool pseudo(const scIva &iva)
{
    return iva.osIva.compare(DaRipartire, Qt::CaseInsensitive) == 0;
}

// Incidence of an amount on the base, a percentage with three decimals, computed exactly.
Currency incidenza(Currency impon, Currency base)
{
    if (base.isZero())
        return Currency();
    __int128 num = static_cast<__int128>(impon.raw()) * 100 * 1000;
    __int128 den = base.raw();
    const bool negativo = (num < 0) != (den < 0);
    if (num < 0)
        num = -num;
    if (den < 0)
        den = -den;
    __int128 q = (num + den / 2) / den;
    if (negativo)
        q = -q;
    return Currency::fromRaw(static_cast<std::int64_t>(q * 10));
}

// Moves the pseudo-rate's amounts (or one of its accounts') onto a receiving
// level, each amount through `quota`. With prices including VAT the share also
// enters the net expense members, so that recomputing the VAT-inclusive
// amounts later, or testing the net base of the payment discount, still finds it.
template <typename Dest, typename Src, typename Quota>
void sposta(Dest &d, const Src &p, Quota quota, bool ivati, bool esente, Currency aliquota, int dec,
            Currency *ripartite)
{
    d.odSVal += quota(p.odSVal);
    d.odSValPerSco += quota(p.odSValPerSco);
    if (ivati) {
        Currency s = quota(p.odSValIvSpese);
        if (ripartite)
            *ripartite += s;
        d.odSValSpese += quota(p.odSValSpese);
        if (!esente)
            s += CalcPercentuale(s, aliquota, dec);
        d.odSValIvSpese += s;
        Currency s2 = quota(p.odSValIvSpesePerSco);
        d.odSValSpesePerSco += quota(p.odSValSpesePerSco);
        if (!esente)
            s2 += CalcPercentuale(s2, aliquota, dec);
        d.odSValIvSpesePerSco += s2;
        if (ripartite)
            *ripartite += s2;
    } else {
        const Currency s = quota(p.odSValSpese);
        d.odSValSpese += s;
        const Currency s2 = quota(p.odSValSpesePerSco);
        d.odSValSpesePerSco += s2;
        if (ripartite)
            *ripartite += s + s2;
    }
}

void preparaConto(scIva &iva, const QString &conto)
{
    if (!iva.obCPEsiste(conto))
        iva.AddControP(conto, QString(), QString());
    else if (!iva.obCdcCompEsiste(conto, QString(), QString()))
        iva.AddCdcComp(conto, QString(), QString());
}

// The six amounts the split moves, as one level holds them.
using Importi = std::array<Currency, 6>;

struct Quote {
    Currency odSVal, odSValPerSco, odSValSpese, odSValSpesePerSco, odSValIvSpese, odSValIvSpesePerSco;
};

template <typename T> std::array<Currency T::*, 6> membri()
{
    return {&T::odSVal,        &T::odSValPerSco,       &T::odSValSpese, &T::odSValSpesePerSco,
            &T::odSValIvSpese, &T::odSValIvSpesePerSco};
}

template <typename T> Importi leggi(const T &x)
{
    Importi r;
    const auto m = membri<T>();
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = x.*m[i];
    return r;
}

template <typename T> void aggiungi(T &x, const Importi &a)
{
    const auto m = membri<T>();
    for (size_t i = 0; i < a.size(); ++i)
        x.*m[i] += a[i];
}

// The pseudo-rate's accounts onto the receiving rate, each share through
// `quota`. `aRata` is what the rate itself received: of every amount the
// pseudo-rate's accounts hold whole, the last account takes what the others'
// shares leave of the rate's, so that the accounts add up to the rate.
template <typename Quota>
void spostaConti(scIva &dest, scIva &p, Quota quota, bool ivati, int dec, const Importi &aRata)
{
    Importi totaleConti{}, dato{};
    for (scControP &cp : p.ocCollControPte) {
        const Importi c = leggi(cp);
        for (size_t i = 0; i < totaleConti.size(); ++i)
            totaleConti[i] += c[i];
    }
    const Importi pseudo = leggi(p);
    const int n = p.ocCollControPte.Count();
    int k = 0;
    for (scControP &cp : p.ocCollControPte) {
        preparaConto(dest, cp.osConto);
        Quote q;
        sposta(q, cp, quota, ivati, dest.obIvaEsente, dest.odAliquota, dec, nullptr);
        Importi x = leggi(q);
        if (++k == n)
            for (size_t i = 0; i < x.size(); ++i)
                if (totaleConti[i] == pseudo[i])
                    x[i] = aRata[i] - dato[i];
        aggiungi(dest.ogControp(cp.osConto), x);
        aggiungi(dest.ogCdcComp(cp.osConto, QString(), QString()), x);
        for (size_t i = 0; i < x.size(); ++i)
            dato[i] += x[i];
    }
}

// What a rate received from the pseudo-rate: its amounts after less before.
Importi ricevuto(const Importi &prima, const scIva &rata)
{
    Importi r = leggi(rata);
    for (size_t i = 0; i < r.size(); ++i)
        r[i] -= prima[i];
    return r;
}

} // namespace

void scCalcPiedeFat::RipartisciIntera(const QString &psIva)
{
    scIva &f = ogIve->ogIva(psIva);
    scIva &p = ogIve->ogIva(DaRipartire);
    const int dec = NumDecDoc;
    const bool ivati = Uguale(PrezziIvati, "S");
    const auto arrotonda = [dec](Currency x) { return x.rounded(dec); };
    const Importi prima = leggi(f);
    sposta(f, p, arrotonda, ivati, true, f.odAliquota, dec, &f.odSpeseRipart);
    spostaConti(f, p, arrotonda, ivati, dec, ricevuto(prima, f));
}

void scCalcPiedeFat::RipartisciProporzionale(const QString &psIva, Currency puIncid)
{
    scIva &r = ogIve->ogIva(psIva);
    scIva &p = ogIve->ogIva(DaRipartire);
    const int dec = NumDecDoc;
    const bool ivati = Uguale(PrezziIvati, "S");
    // Each share is rounded on its own: the remainder of the amounts is not carried.
    const auto quota = [dec, puIncid](Currency x) {
        return ImportiEsatti::Prodotto(x * puIncid, 1.0, dec, 100);
    };
    const Importi prima = leggi(r);
    sposta(r, p, quota, ivati, r.obIvaEsente, r.odAliquota, dec, &r.odSpeseRipart);
    spostaConti(r, p, quota, ivati, dec, ricevuto(prima, r));
}

void scCalcPiedeFat::RipartisciSpese()
{
    if (!ogIve->obEsiste(DaRipartire))
        return;
    bool tutteEsenti = true;
    int reali = 0;
    QString primo;
    Currency base;
    for (scIva &iva : ogIve->ocCollIva) {
        if (pseudo(iva))
            continue;
        ++reali;
        if (!iva.obIvaEsente)
            tutteEsenti = false;
        if (primo.isEmpty())
            primo = iva.osIva;
        base += iva.odImpon;
    }
    if (reali == 0) {
        ogIve->Remove(DaRipartire);
        throw VbErrore(VbErrore::ElementoNonTrovato,
                       QStringLiteral("Nessuna aliquota IVA nel documento su cui ripartire le spese"));
    }

    if (tutteEsenti) {
        RipartisciIntera(primo);
    } else {
        Currency totale, precedente;
        QString ultimo;
        for (scIva &iva : ogIve->ocCollIva) {
            if (pseudo(iva) || iva.obIvaEsente)
                continue;
            iva.odIncid = incidenza(iva.odImpon, base);
            precedente = totale;
            totale += iva.odIncid;
            ultimo = iva.osIva;
        }
        if (Currency(100) - totale >= Currency::fromRaw(1))
            ogIve->ogIva(ultimo).odIncid = Currency(100) - precedente;
        for (scIva &iva : ogIve->ocCollIva)
            if (!pseudo(iva) && iva.odIncid > Currency())
                RipartisciProporzionale(iva.osIva, iva.odIncid);
    }
    ogIve->Remove(DaRipartire);
}

bool scCalcPiedeFat::RipartizioneIvaSpese()
{
    msFase = QStringLiteral("Ripartizione IVA spese");
    obFattEsente = true;
    for (scIva &iva : ogIve->ocCollIva)
        if (!iva.obIvaEsente && !pseudo(iva))
            obFattEsente = false;

    if (ogIve->obEsiste(DaRipartire)) {
        RipartisciSpese();
        CalcScontoPag(PrezziIvati, NumDecDoc);
        CalcIvaPiede(PrezziIvati, NumDecDoc);
    }

    if (!mbCalcRitAcc)
        PercRitAccDoc =
            mdPercRitAcc < 0 ? CampoDouble(*mLetture->testa.sel, mLetture->t.percRitAcc) : mdPercRitAcc;
    return true;
}
