// Small private stand-ins for utility operations the totals need before the
// shared utility object is available.
#pragma once

#include "components/util/Currency.h"

#include <QString>
#include <cmath>

namespace AdattatoreUtil
{

inline double ArrotondaDecimali(double v, int numDec)
{
    return Currency::fromDouble(v).rounded(qBound(0, numDec, 4)).toDouble();
}

inline double ArrotondaModo(double v, const QString &modo, Currency unita)
{
    const double u = unita.toDouble();
    if (u <= 0)
        return v;
    const double q = Currency::fromDouble(v / u).toDouble();
    double r;
    if (modo.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0)
        r = std::ceil(q);
    else if (modo.compare(QLatin1String("I"), Qt::CaseInsensitive) == 0 ||
             modo.compare(QLatin1String("T"), Qt::CaseInsensitive) == 0)
        r = std::floor(q);
    else
        r = std::round(q);
    return Currency::fromDouble(r * u).toDouble();
}

inline QString SqlTesto(const QString &t)
{
    return QLatin1Char('\'') + QString(t).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

inline QString TestoErroreNumero(long n)
{
    return QString::number(n);
}

inline int ConfrontaOtto(double a, double b)
{
    const double x = std::round(a * 1e8), y = std::round(b * 1e8);
    return x < y ? -1 : (x > y ? 1 : 0);
}

} // namespace AdattatoreUtil
