// Fixed-point money amount: a 64-bit count of ten-thousandths, as the
// accounting engine needs (exact sums, four decimals, no binary fractions).
#pragma once

#include <QString>
#include <QVariant>
#include <compare>
#include <cstdint>

class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    // Whole units (Currency(5) is 5.0000).
    constexpr Currency(int units) : m_raw(std::int64_t(units) * Scale) {}
    constexpr Currency(long long units) : m_raw(std::int64_t(units) * Scale) {}

    static constexpr Currency fromRaw(std::int64_t raw) { Currency c; c.m_raw = raw; return c; }
    // Rounded half away from zero to four decimals, as VB's CCur.
    static Currency fromDouble(double v);
    // Parses "1234.5678", "-0,5", "1.234,56" is NOT accepted (one separator only).
    // Returns false on anything that is not a plain decimal number.
    static bool parse(const QString &text, Currency &out);
    // Numbers, numeric text (either '.' or ',' as decimal separator), Currency
    // stored in a QVariant, bool (-1/0 as VB); Null, empty and non-numeric give 0.
    static Currency fromVariant(const QVariant &v);

    constexpr std::int64_t raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / double(Scale); }
    // Plain decimal text with '.' and exactly `decimals` digits (0..4), rounded half away from zero.
    QString toString(int decimals = 4) const;
    // Shortest plain text ("12.345", "7", "-0.5"): what QVariant::toString() gives.
    QString toShortString() const;
    QVariant toVariant() const;

    // Rounded half away from zero to `decimals` places (0..4); negative values
    // round to tens, hundreds... (-1 -> 10).
    Currency rounded(int decimals) const;

    constexpr Currency operator-() const { return fromRaw(-m_raw); }
    constexpr Currency &operator+=(Currency o) { m_raw += o.m_raw; return *this; }
    constexpr Currency &operator-=(Currency o) { m_raw -= o.m_raw; return *this; }
    friend constexpr Currency operator+(Currency a, Currency b) { return fromRaw(a.m_raw + b.m_raw); }
    friend constexpr Currency operator-(Currency a, Currency b) { return fromRaw(a.m_raw - b.m_raw); }
    // Products and quotients go through a 128-bit intermediate and are rounded
    // half away from zero to four decimals.
    friend Currency operator*(Currency a, Currency b);
    friend Currency operator/(Currency a, Currency b);  // throws VbErrore 11 on division by zero
    friend Currency operator*(Currency a, long long n) { return fromRaw(a.m_raw * n); }
    // Multiplication by a Double factor (percentages, rates): exact decimal
    // conversion of the factor to 8 places first, then the 128-bit product.
    Currency times(double factor) const;

    friend constexpr bool operator==(Currency a, Currency b) = default;
    friend constexpr auto operator<=>(Currency a, Currency b) = default;

    constexpr bool isZero() const { return m_raw == 0; }
    constexpr Currency abs() const { return m_raw < 0 ? fromRaw(-m_raw) : *this; }

private:
    std::int64_t m_raw = 0;
};

Q_DECLARE_METATYPE(Currency)
