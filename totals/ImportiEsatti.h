// Exact products of amounts for the footer engine: amount x factor (a
// percentage, a weight) rounded once to the document's decimals, so that no
// intermediate rounding moves a half cent.
#pragma once

#include "components/util/Currency.h"

#include <QString>
#include <cmath>
#include <cstdint>

namespace ImportiEsatti
{

// puImporto x pdFattore / divisore, rounded half away from zero to piNumDec
// decimals (0..4); the factor is taken to eight decimal places.
inline Currency Prodotto(Currency puImporto, double pdFattore, int piNumDec, int divisore = 1)
{
    const int dec = piNumDec < 0 ? 0 : (piNumDec > 4 ? 4 : piNumDec);
    const __int128 fattore = static_cast<__int128>(std::llround(pdFattore * 1e8));
    // Scale of the product: 10^4 (amount) x 10^8 (factor) x divisore.
    __int128 num = static_cast<__int128>(puImporto.raw()) * fattore;
    __int128 den = static_cast<__int128>(100000000) * divisore;
    for (int i = dec; i < 4; ++i)
        den *= 10;
    const bool negativo = (num < 0) != (den < 0);
    if (num < 0)
        num = -num;
    if (den < 0)
        den = -den;
    __int128 q = (num + den / 2) / den;
    if (negativo)
        q = -q;
    for (int i = dec; i < 4; ++i)
        q *= 10;
    return Currency::fromRaw(static_cast<std::int64_t>(q));
}

inline bool Uguale(const QString &codice, const char *lettera)
{
    return codice.trimmed().compare(QLatin1String(lettera), Qt::CaseInsensitive) == 0;
}

// The pseudo-rate of the expenses whose VAT is to be spread over the document's rates.
inline const QString DaRipartire = QStringLiteral("~§~Ç");

} // namespace ImportiEsatti
