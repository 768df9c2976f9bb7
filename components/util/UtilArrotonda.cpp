// Rounding of amounts and numbers to a unit and a power of ten, exact in
// decimal so that 81.225 rounds to 81.23 and not to the binary neighbour.
#include "components/util/Decimale.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <algorithm>
#include <cmath>

namespace
{
QChar modoDi(const QString &modo)
{
    const QString m = modo.trimmed().toUpper();
    if (m == u"S" || m == u"I" || m == u"T")
        return m[0];
    return u'A';
}

int esponenteAmmesso(int esponente)
{
    return std::clamp(esponente, -UtilGlob::MaxEsponenteArrotonda, UtilGlob::MaxEsponenteArrotonda);
}

// unita x 10^esponente as an exact decimal; false when it is not positive.
bool passoDi(const Decimale &unita, int esponente, Decimale &passo)
{
    Decimale u = unita;
    if (u.mantissa < 0)
        u.mantissa = -u.mantissa;
    if (u.mantissa == 0)
        return false;
    return u.PerPotenza(esponente, passo);
}

double arrotondaDouble(double v, QChar modo, double passo)
{
    const double q = v / passo;
    double r;
    switch (modo.unicode()) {
    case u'S':
        r = std::ceil(q);
        break;
    case u'I':
        r = std::floor(q);
        break;
    case u'T':
        r = std::trunc(q);
        break;
    default:
        r = std::round(q);
        break;
    }
    return r * passo;
}

double arrotonda(double valore, const QString &modo, const Decimale &unita, double unitaDouble, int esponente)
{
    esponente = esponenteAmmesso(esponente);
    const QChar m = modoDi(modo);
    Decimale v, passo, r;
    if (!passoDi(unita, esponente, passo))
        return valore;
    if (Decimale::DaDouble(valore, v) && ArrotondaDecimale(v, passo, m, r))
        return r.ToDouble();
    if (!std::isfinite(valore))
        return valore;
    return arrotondaDouble(valore, m, std::fabs(unitaDouble) * std::pow(10.0, esponente));
}

Currency arrotondaImporto(Currency valore, const QString &modo, const Decimale &unita, int esponente)
{
    esponente = esponenteAmmesso(esponente);
    Decimale passo, r;
    Currency out;
    if (!passoDi(unita, esponente, passo))
        return valore;
    if (!ArrotondaDecimale(Decimale::DaCurrency(valore), passo, modoDi(modo), r) || !r.ToCurrency(out))
        throw VbErrore(6, QStringLiteral("Overflow"));
    return out;
}
} // namespace

Currency UtilGlob::Arrotonda(Currency valore, const QString &modo, Currency unita, int esponente) const
{
    return arrotondaImporto(valore, modo, Decimale::DaCurrency(unita), esponente);
}

double UtilGlob::Arrotonda(double valore, const QString &modo, double unita, int esponente) const
{
    Decimale u;
    if (!Decimale::DaDouble(unita, u))
        return valore;
    return arrotonda(valore, modo, u, unita, esponente);
}

double UtilGlob::Arrotonda(double valore, const QString &modo, Currency unita, int esponente) const
{
    return arrotonda(valore, modo, Decimale::DaCurrency(unita), unita.toDouble(), esponente);
}

QVariant UtilGlob::Arrotonda(const QVariant &valore, const QString &modo, double unita, int esponente) const
{
    if (valore.isNull() || !valore.isValid())
        return QVariant();
    if (valore.userType() == qMetaTypeId<Currency>()) {
        Decimale u;
        if (!Decimale::DaDouble(unita, u))
            return valore;
        return QVariant::fromValue(arrotondaImporto(valore.value<Currency>(), modo, u, esponente));
    }
    return QVariant(Arrotonda(ValoreNumerico(valore), modo, unita, esponente));
}

double UtilGlob::DividiImporti(Currency dividendo, Currency divisore) const
{
    if (divisore.isZero())
        return 0;
    return double(dividendo.raw()) / double(divisore.raw());
}

double UtilGlob::DividiImporti(double dividendo, double divisore) const
{
    if (divisore == 0 || !std::isfinite(divisore))
        return 0;
    return dividendo / divisore;
}
