// Amount and percentage helpers, computed exactly on scaled 128-bit integers.
#include "services/Importi.h"

#include "components/util/Decimale.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
using i128 = __int128;

[[noreturn]] void overflow()
{
    throw VbErrore(6, QStringLiteral("Overflow"));
}

// Powers are asked with differences of scales: taken as 64 bits so that no
// difference of two ints wraps before it is checked.
i128 pow10(long long n)
{
    if (n < 0 || n > 36)
        overflow();
    i128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

i128 mul(i128 a, i128 b)
{
    i128 r;
    if (__builtin_mul_overflow(a, b, &r))
        overflow();
    return r;
}

// Rounding modes of the utility object: 'A' half away from zero, 'S' up
// (towards +infinity), 'I' down (towards -infinity), 'T' truncation.
i128 dividi(i128 num, i128 den, char modo)
{
    if (den == 0)
        throw VbErrore(VbErrore::DivisioneZero, QStringLiteral("Divisione per zero"));
    if (den < 0) {
        num = -num;
        den = -den;
    }
    i128 q = num / den; // truncated towards zero
    const i128 r = num % den;
    if (r == 0)
        return q;
    const bool neg = num < 0;
    switch (modo) {
    case 'S':
        return neg ? q : q + 1;
    case 'I':
        return neg ? q - 1 : q;
    case 'T':
        return q;
    default: {
        const i128 ar = r < 0 ? -r : r;
        if (ar * 2 >= den)
            return neg ? q - 1 : q + 1;
        return q;
    }
    }
}

// The double as the decimal number its 15 significant digits show (so that a
// typed 0.1 is 0.1), scaled by 10^scala and rounded half away from zero.
i128 daDouble(double v, int scala)
{
    if (!std::isfinite(v))
        overflow();
    i128 m = 0;
    int esp = 0; // v = m * 10^esp
    if (v == 0) {
        esp = -14;
    } else if (!QuindiciCifre(v, m, esp)) {
        const QString testo = QString::number(v, 'e', 14); // d.dddddddddddddde[+-]x
        const qsizetype e = testo.indexOf(u'e');
        QString cifre = testo.left(e);
        const bool neg = cifre.startsWith(u'-');
        cifre.remove(u'-').remove(u'.');
        m = 0;
        for (QChar c : cifre)
            m = m * 10 + c.digitValue();
        if (neg)
            m = -m;
        esp = testo.mid(e + 1).toInt() - 14;
    }
    const int spost = esp + scala;
    if (spost >= 0)
        return mul(m, pow10(spost));
    if (spost < -36)
        return 0;
    return dividi(m, pow10(-spost), 'A');
}

i128 daCurrency(Currency c, int scala)
{
    if (scala >= 4)
        return mul(i128(c.raw()), pow10(scala - 4LL));
    return dividi(i128(c.raw()), pow10(4LL - scala), 'A');
}

Currency aCurrency(i128 v, int scala)
{
    const i128 raw = scala <= 4 ? mul(v, pow10(4LL - scala)) : dividi(v, pow10(scala - 4LL), 'A');
    if (raw > i128(INT64_MAX) || raw < i128(INT64_MIN))
        overflow();
    return Currency::fromRaw(std::int64_t(raw));
}

double aDouble(i128 v, int scala)
{
    return double(static_cast<long double>(v) / static_cast<long double>(pow10(scala)));
}

// Amounts of the footer engine have at most four decimals; a request for more
// keeps what Currency can hold.
int decimaliCurrency(int numDec)
{
    return numDec > 4 ? 4 : numDec;
}

bool arrotIvaLira()
{
    return Globali::ArrotIvaEuro.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

char modoPercentuale(bool negativo, int numDec)
{
    if (arrotIvaLira() || numDec < 2)
        return negativo ? 'I' : 'S';
    return 'A';
}

constexpr int ScalaConfronto = 10;

i128 daVariant(const QVariant &v, int scala)
{
    if (v.metaType() == QMetaType::fromType<Currency>())
        return daCurrency(v.value<Currency>(), scala);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? -pow10(scala) : 0;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return mul(i128(v.toLongLong()), pow10(scala));
    case QMetaType::QString: {
        QString t = v.toString().trimmed();
        t.replace(u',', u'.');
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok)
            throw VbErrore(VbErrore::TipoNonCorrispondente, QStringLiteral("Tipo non corrispondente"));
        return daDouble(d, scala);
    }
    default:
        if (v.isNull() || !v.isValid())
            return 0;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok)
            throw VbErrore(VbErrore::TipoNonCorrispondente, QStringLiteral("Tipo non corrispondente"));
        return daDouble(d, scala);
    }
}

int segno(i128 a, i128 b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

// The number of decimals of a comparison, given with either sign. The one int
// whose sign cannot be dropped is the overflow of VB's Abs.
int decimaliConfronto(int piDecimali)
{
    if (piDecimali == std::numeric_limits<int>::min())
        overflow();
    return piDecimali < 0 ? -piDecimali : piDecimali;
}
} // namespace

double ValutaNumero(const QString &psTesto, int *pvErrore, double pdInizio, int piNumDec)
{
    if (pvErrore)
        *pvErrore = 0;
    QString testo = psTesto;
    testo.remove(u' ');
    if (testo.isEmpty())
        return pdInizio;
    auto errore = [&] {
        if (pvErrore)
            *pvErrore = -1;
        return pdInizio;
    };
    bool segnoPrima = false;
    for (QChar c : testo) {
        const bool isSegno = c == u'+' || c == u'-';
        if (!(c.isDigit() && c.unicode() < 128) && !isSegno && c != u',')
            return errore();
        if (isSegno && segnoPrima)
            return errore();
        segnoPrima = isSegno;
    }
    double risultato = pdInizio;
    // The numbers between the signs, each with ',' as its decimal point.
    for (qsizetype da = 0; da <= testo.size();) {
        qsizetype a = da;
        while (a < testo.size() && testo[a] != u'+' && testo[a] != u'-')
            ++a;
        const QStringView n = QStringView(testo).mid(da, a - da);
        da = a + 1;
        if (n.isEmpty())
            continue;
        if (n.count(u',') > 1 || n == u",")
            return errore();
        const double d = n.toString().replace(u',', u'.').toDouble();
        risultato = 100.0 - (100.0 - risultato) * (100.0 - d) / 100.0;
    }
    if (piNumDec != -999) {
        const int dec = std::clamp(piNumDec, 0, 12);
        risultato = aDouble(daDouble(risultato, dec), dec);
    }
    return risultato;
}

int ConfrontaImporti(const QVariant &pvPrimo, const QVariant &pvSecondo, int piDecimali)
{
    if (pvSecondo.isNull() || !pvSecondo.isValid())
        return pvPrimo.toString().isEmpty() ? 0 : 1;
    const int dec = std::min(decimaliConfronto(piDecimali), ScalaConfronto);
    const i128 unita = pow10(ScalaConfronto - dec);
    const i128 a = dividi(daVariant(pvPrimo, ScalaConfronto), unita, 'A');
    const i128 b = dividi(daVariant(pvSecondo, ScalaConfronto), unita, 'A');
    return segno(a, b);
}

int ConfrontaImporti(Currency puPrimo, Currency puSecondo, int piDecimali)
{
    const int dec = decimaliConfronto(piDecimali);
    if (dec >= 4)
        return segno(puPrimo.raw(), puSecondo.raw());
    return segno(daCurrency(puPrimo, dec), daCurrency(puSecondo, dec));
}

Currency CalcPercentuale(Currency puImporto, Currency puAliquota, int piNumDec)
{
    const int dec = decimaliCurrency(piNumDec);
    const char modo = modoPercentuale(puImporto.raw() < 0, piNumDec);
    // raw x raw is in 10^-8; / 100 and scaled to 10^-dec.
    const i128 num = mul(mul(i128(puImporto.raw()), i128(puAliquota.raw())), pow10(dec));
    return aCurrency(dividi(num, mul(100, pow10(8)), modo), dec);
}

double CalcPercentuale(double pdImporto, double pdAliquota, int piNumDec)
{
    const int dec = std::min(std::max(piNumDec, 0), 8);
    const char modo = modoPercentuale(pdImporto < 0, piNumDec);
    const i128 num = mul(mul(daDouble(pdImporto, 8), daDouble(pdAliquota, 8)), pow10(dec));
    return aDouble(dividi(num, mul(100, pow10(16)), modo), dec);
}

double CalcPercentualeImporto(Currency &puImporto, double pdPercentuale, int piNumDec)
{
    if (ConfrontaImporti(QVariant(pdPercentuale), QVariant(100), -8) < 0) {
        const i128 prodotto = mul(daCurrency(puImporto, 8), daDouble(pdPercentuale, 8)); // 10^-16
        return aDouble(dividi(prodotto, 100, 'T'), 16);
    }
    const double parteIntera = std::trunc(pdPercentuale);
    const i128 aliquota2 = daDouble(parteIntera / 100.0, 2);      // rate, 10^-2
    i128 quota4 = daDouble(pdPercentuale - parteIntera, 4) * 100; // share, 10^-4
    if (quota4 == 0)
        quota4 = mul(100, pow10(4));
    const int dec = decimaliCurrency(piNumDec);
    // amount (10^-4) x share (10^-4) / 100, scaled to 10^-dec
    const i128 nuovo = dividi(mul(mul(i128(puImporto.raw()), quota4), pow10(dec)), mul(100, pow10(8)), 'A');
    puImporto = aCurrency(nuovo, dec);
    const i128 risultato = mul(i128(puImporto.raw()), aliquota2); // 10^-6
    return aDouble(risultato, 8);                                 // / 100
}

Currency CalcImportoPercentuali(Currency puImporto, Currency puAliquota, int piNumDec)
{
    if (puAliquota.isZero())
        return puImporto;
    const int dec = decimaliCurrency(piNumDec);
    const bool modoA = !arrotIvaLira() && piNumDec >= 2;
    // amount x 100 / (rate + 100) = raw x 100 / (rate raw + 100 x 10^4)
    const i128 num = mul(mul(i128(puImporto.raw()), 100), pow10(dec));
    const i128 den = i128(puAliquota.raw()) + mul(100, pow10(4));
    Currency base = aCurrency(dividi(num, den, modoA ? 'A' : 'T'), dec);
    if (modoA && ConfrontaImporti(base + CalcPercentuale(base, puAliquota, piNumDec), puImporto, -8) == 1)
        base = aCurrency(dividi(num, den, 'T'), dec);
    return base;
}

Currency ScorporaPercentuale(Currency puImporto, Currency puPercentuale, int piNumDec, bool pbArrotonda)
{
    const int dec = pbArrotonda ? decimaliCurrency(piNumDec) : 4;
    // raw x (100 - percent) / 100 = raw x (10^6 - percent raw) / 10^10 in units
    const i128 num =
        mul(mul(i128(puImporto.raw()), mul(100, pow10(4)) - i128(puPercentuale.raw())), pow10(dec));
    return aCurrency(dividi(num, pow10(10), 'A'), dec);
}

double ScorporaPercentualeFat(Currency puImporto, double pdFattore, double pdPercentuale, bool pbArrotonda,
                              int piNumDec)
{
    const int dec = pbArrotonda ? std::min(std::max(piNumDec, 0), 8) : 8;
    const i128 perc8 = daDouble(pdPercentuale, 8);
    // raw x (100 - percent) / 100 = raw x (10^10 - perc8) / 10^14 in units
    const i128 num = mul(mul(i128(puImporto.raw()), mul(100, pow10(8)) - perc8), pow10(dec));
    const i128 netto = dividi(num, pow10(14), 'A'); // 10^-dec
    return aDouble(mul(netto, daDouble(pdFattore, 8)), dec + 8);
}

QString ComponiChiave(const QString &psCentroDiCosto, const QString &psCompetenza)
{
    return QLatin1String("C") + psCentroDiCosto + QLatin1String("D") + psCompetenza;
}

int InteroVero(int piValore)
{
    return piValore == -1 ? -1 : 0;
}
