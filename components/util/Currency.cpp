// Fixed-point money arithmetic.
#include "components/util/Currency.h"
#include "components/util/VbErrore.h"

#include <cmath>

namespace {
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

std::int64_t pow10i(int n)
{
    std::int64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}
} // namespace

Currency Currency::fromDouble(double v)
{
    if (!std::isfinite(v))
        throw VbErrore(6, QStringLiteral("Overflow"));
    // Through the 15-digit decimal text of the double, so that 0.1 is 0.1000
    // and not the binary neighbour 0.09999...; parse() rounds at four decimals.
    Currency c;
    if (parse(QString::number(v, 'g', 15), c))
        return c;
    return fromRaw(std::llround(v * Scale));
}

bool Currency::parse(const QString &text, Currency &out)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool neg = false;
    int i = 0;
    if (t[0] == u'-' || t[0] == u'+') {
        neg = t[0] == u'-';
        ++i;
    }
    i128 intPart = 0;
    i128 frac = 0;
    int fracDigits = 0;
    bool seenSep = false;
    bool anyDigit = false;
    int exp10 = 0;
    for (; i < t.size(); ++i) {
        QChar ch = t[i];
        if (ch.isDigit()) {
            anyDigit = true;
            int d = ch.digitValue();
            if (!seenSep) {
                intPart = intPart * 10 + d;
                if (intPart > i128(1) << 100)
                    return false;
            } else if (fracDigits < 30) {
                frac = frac * 10 + d;
                ++fracDigits;
            }
        } else if ((ch == u'.' || ch == u',') && !seenSep) {
            seenSep = true;
        } else if ((ch == u'e' || ch == u'E') && anyDigit) {
            bool ok = false;
            exp10 = t.mid(i + 1).toInt(&ok);
            if (!ok)
                return false;
            break;
        } else {
            return false;
        }
    }
    if (!anyDigit)
        return false;
    // value = (intPart.frac) * 10^exp10, scaled by 10^4
    i128 mant = intPart;
    for (int k = 0; k < fracDigits; ++k)
        mant *= 10;
    mant += frac;
    int scaleExp = 4 + exp10 - fracDigits;  // raw = mant * 10^scaleExp
    i128 raw;
    if (scaleExp >= 0) {
        raw = mant;
        for (int k = 0; k < scaleExp; ++k) {
            raw *= 10;
            if (raw > (i128(1) << 100))
                return false;
        }
    } else {
        i128 den = 1;
        for (int k = 0; k < -scaleExp && k < 36; ++k)
            den *= 10;
        raw = divRound(mant, den);
    }
    if (raw > i128(INT64_MAX))
        return false;
    out = fromRaw(std::int64_t(neg ? -raw : raw));
    return true;
}

Currency Currency::fromVariant(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.metaType() == QMetaType::fromType<Currency>())
        return v.value<Currency>();
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return v.toBool() ? Currency(-1) : Currency();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return Currency(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(v.toDouble());
    default: {
        Currency c;
        if (parse(v.toString(), c))
            return c;
        return {};
    }
    }
}

QString Currency::toString(int decimals) const
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 4)
        decimals = 4;
    Currency r = rounded(decimals);
    std::int64_t a = r.m_raw < 0 ? -r.m_raw : r.m_raw;
    QString s = QString::number(a / Scale);
    if (decimals > 0) {
        QString f = QString::number(a % Scale).rightJustified(4, u'0');
        s += u'.' + f.left(decimals);
    }
    if (r.m_raw < 0)
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

namespace {
// A Currency held in a QVariant converts like the numbers it stands for, so
// that toString(), toDouble() and toLongLong() keep working on read values.
const bool convertitoriRegistrati = [] {
    QMetaType::registerConverter<Currency, QString>(&Currency::toShortString);
    QMetaType::registerConverter<Currency, double>(&Currency::toDouble);
    QMetaType::registerConverter<Currency, qlonglong>(
        [](const Currency &c) { return qlonglong(c.rounded(0).raw() / Currency::Scale); });
    QMetaType::registerConverter<Currency, int>(
        [](const Currency &c) { return int(c.rounded(0).raw() / Currency::Scale); });
    return true;
}();
} // namespace

QVariant Currency::toVariant() const
{
    return QVariant::fromValue(*this);
}

Currency Currency::rounded(int decimals) const
{
    if (decimals >= 4)
        return *this;
    std::int64_t unit = pow10i(4 - decimals);  // decimals < 0 gives 10^(4-d) as well
    return fromRaw(std::int64_t(divRound(m_raw, unit) * unit));
}

Currency operator*(Currency a, Currency b)
{
    i128 p = i128(a.m_raw) * i128(b.m_raw);
    i128 r = divRound(p, Currency::Scale);
    if (r > i128(INT64_MAX) || r < i128(INT64_MIN))
        throw VbErrore(6, QStringLiteral("Overflow"));
    return Currency::fromRaw(std::int64_t(r));
}

Currency operator/(Currency a, Currency b)
{
    if (b.m_raw == 0)
        throw VbErrore(VbErrore::DivisioneZero, QStringLiteral("Divisione per zero"));
    i128 r = divRound(i128(a.m_raw) * Currency::Scale, b.m_raw);
    if (r > i128(INT64_MAX) || r < i128(INT64_MIN))
        throw VbErrore(6, QStringLiteral("Overflow"));
    return Currency::fromRaw(std::int64_t(r));
}

Currency Currency::times(double factor) const
{
    // The factor as an exact decimal with 8 places (percentages and rates are
    // decimal numbers typed by users; their binary noise must not leak in).
    i128 f8;
    {
        QString t = QString::number(factor, 'f', 8);
        bool neg = t.startsWith(u'-');
        if (neg)
            t.remove(0, 1);
        int dot = t.indexOf(u'.');
        QString digits = t.left(dot) + t.mid(dot + 1);
        f8 = 0;
        for (QChar c : digits)
            f8 = f8 * 10 + c.digitValue();
        if (neg)
            f8 = -f8;
    }
    i128 r = divRound(i128(m_raw) * f8, i128(100000000));
    if (r > i128(INT64_MAX) || r < i128(INT64_MIN))
        throw VbErrore(6, QStringLiteral("Overflow"));
    return fromRaw(std::int64_t(r));
}
