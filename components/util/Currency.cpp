// Fixed-point money arithmetic.
#include "components/util/Currency.h"
#include "components/util/Decimale.h"
#include "components/util/VbErrore.h"

#include <cmath>

namespace
{
using i128 = __int128;

// Divides rounding half away from zero.
i128 divRound(i128 num, i128 den)
{
    const bool neg = (num < 0) != (den < 0);
    i128 n = num < 0 ? -num : num;
    i128 d = den < 0 ? -den : den;
    i128 q = n / d;
    i128 r = n % d;
    if (r * 2 >= d)
        ++q;
    return neg ? -q : q;
}

i128 pow10i(int n)
{
    i128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}
} // namespace

void Currency::overflow()
{
    throw VbErrore(VbErrore::Overflow, QStringLiteral("Overflow"));
}

Currency Currency::fromDouble(double v)
{
    // Through the 15-digit decimal of the double, so that 0.1 is 0.1000 and
    // not the binary neighbour 0.09999..., rounded at four decimals.
    Currency c;
    if (leggiDouble(v, c) == Lettura::FuoriIntervallo)
        overflow();
    return c;
}

Currency::Lettura Currency::leggi(const QString &text, Currency &out)
{
    i128 u = 0;
    const Lettura l = LeggiUnita(text, 4, u);
    if (l != Lettura::Numero)
        return l;
    if (u > i128(INT64_MAX) || u < i128(INT64_MIN))
        return Lettura::FuoriIntervallo;
    out = fromRaw(std::int64_t(u));
    return Lettura::Numero;
}

namespace
{
Currency::Lettura unita(i128 n, Currency &out)
{
    if (n > i128(INT64_MAX / Currency::Scale) || n < i128(INT64_MIN / Currency::Scale))
        return Currency::Lettura::FuoriIntervallo;
    out = Currency::fromRaw(std::int64_t(n) * Currency::Scale);
    return Currency::Lettura::Numero;
}
} // namespace

Currency::Lettura Currency::leggiValore(const QVariant &v, Currency &out)
{
    out = Currency();
    if (!v.isValid() || v.isNull())
        return Lettura::Numero;
    if (v.metaType() == QMetaType::fromType<Currency>()) {
        out = v.value<Currency>();
        return Lettura::Numero;
    }
    i128 n = 0;
    if (InteroTenuto(v, n))
        return unita(n, out);
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        out = v.toBool() ? Currency(-1) : Currency();
        return Lettura::Numero;
    case QMetaType::Double:
    case QMetaType::Float:
        return leggiDouble(v.toDouble(), out);
    default:
        return leggi(v.toString(), out);
    }
}

Currency::Lettura Currency::leggiDouble(double d, Currency &out)
{
    out = Currency();
    if (!std::isfinite(d))
        return Lettura::FuoriIntervallo;
    // Below this even the fifteen digits round to 0 at four decimals.
    if (std::fabs(d) < 4.9e-5)
        return Lettura::Numero;
    i128 cifre = 0;
    int esponente = 0;
    if (!QuindiciCifre(d, cifre, esponente))
        return leggi(QString::number(d, 'g', 15), out);
    // cifre x 10^esponente in ten-thousandths, rounded half away from zero.
    const int verso4 = esponente + 4;
    const i128 r = verso4 >= 0 ? cifre * pow10i(verso4) : divRound(cifre, pow10i(-verso4));
    if (r > i128(INT64_MAX) || r < i128(INT64_MIN))
        return Lettura::FuoriIntervallo;
    out = fromRaw(std::int64_t(r));
    return Lettura::Numero;
}

Currency Currency::fromVariant(const QVariant &v)
{
    Currency c;
    if (leggiValore(v, c) == Lettura::FuoriIntervallo)
        overflow();
    return c;
}

std::int64_t Currency::unitaArrotondate() const
{
    return std::int64_t(divRound(m_raw, Scale));
}

QString Currency::toString(int decimals) const
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 4)
        decimals = 4;
    // In 128 bits: the rounded extremes of the range still show.
    const i128 unit = pow10i(4 - decimals);
    const i128 r = divRound(m_raw, unit) * unit;
    const i128 a = r < 0 ? -r : r;
    QString s = QString::number(qulonglong(a / Scale));
    if (decimals > 0) {
        QString f = QString::number(qulonglong(a % Scale)).rightJustified(4, u'0');
        s += u'.' + f.left(decimals);
    }
    if (r < 0)
        s.prepend(u'-');
    return s;
}

QString Currency::toShortString() const
{
    QString s = toString(4);
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

int Currency::toInt(bool *ok) const
{
    const std::int64_t u = unitaArrotondate();
    const bool dentro = u >= INT32_MIN && u <= INT32_MAX;
    if (ok)
        *ok = dentro;
    return dentro ? int(u) : 0;
}

namespace
{
// A Currency held in a QVariant converts like the numbers it stands for, so
// that toString(), toDouble() and toLongLong() keep working on read values;
// toInt() of an amount beyond the int range fails (ok false, 0) instead of
// wrapping round.
const bool convertitoriRegistrati = [] {
    QMetaType::registerConverter<Currency, QString>(&Currency::toShortString);
    QMetaType::registerConverter<Currency, double>(&Currency::toDouble);
    QMetaType::registerConverter<Currency, qlonglong>(
        [](const Currency &c) { return qlonglong(c.unitaArrotondate()); });
    QMetaType::registerConverter<Currency, int>(&Currency::toInt);
    return true;
}();

Currency daRawLargo(i128 r)
{
    if (r > i128(INT64_MAX) || r < i128(INT64_MIN))
        Currency::overflow();
    return Currency::fromRaw(std::int64_t(r));
}
} // namespace

QVariant Currency::toVariant() const
{
    return QVariant::fromValue(*this);
}

Currency Currency::rounded(int decimals) const
{
    if (decimals >= 4)
        return *this;
    if (decimals < -30)
        return Currency();                  // a unit of 10^34 and more: every amount is less than half of it
    const i128 unit = pow10i(4 - decimals); // decimals < 0 gives 10^(4-d) as well
    return daRawLargo(divRound(m_raw, unit) * unit);
}

Currency operator*(Currency a, Currency b)
{
    return daRawLargo(divRound(i128(a.m_raw) * i128(b.m_raw), Currency::Scale));
}

Currency operator/(Currency a, Currency b)
{
    if (b.m_raw == 0)
        throw VbErrore(VbErrore::DivisioneZero, QStringLiteral("Divisione per zero"));
    return daRawLargo(divRound(i128(a.m_raw) * Currency::Scale, b.m_raw));
}

Currency Currency::times(double factor) const
{
    if (!std::isfinite(factor))
        overflow();
    if (m_raw == 0)
        return Currency();
    // Beyond 10^19 even the smallest amount (0.0001) leaves the range.
    if (std::fabs(factor) >= 1e19)
        overflow();
    // The factor as an exact decimal with 8 places (percentages and rates are
    // decimal numbers typed by users; their binary noise must not leak in).
    i128 f8 = 0;
    {
        QString t = QString::number(factor, 'f', 8);
        const bool neg = t.startsWith(u'-');
        if (neg)
            t.remove(0, 1);
        for (QChar c : t)
            if (c != u'.')
                f8 = f8 * 10 + c.digitValue();
        if (neg)
            f8 = -f8;
    }
    // |raw| < 2^63 and |f8| < 10^27 < 2^90: the product could pass 2^127.
    const i128 limite = (~static_cast<unsigned __int128>(0) >> 1) /
                        static_cast<unsigned __int128>(m_raw < 0 ? -i128(m_raw) : i128(m_raw));
    if ((f8 < 0 ? -f8 : f8) > limite)
        overflow();
    return daRawLargo(divRound(i128(m_raw) * f8, i128(100000000)));
}
