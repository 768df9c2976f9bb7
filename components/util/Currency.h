// Fixed-point money amount: a 64-bit count of ten-thousandths, as the
// accounting engine needs (exact sums, four decimals, no binary fractions).
// Range: -922,337,203,685,477.5808 to 922,337,203,685,477.5807. Every
// conversion and operation gives the exact result or throws VbErrore 6
// (overflow); no amount ever wraps round into another one.
#pragma once

#include <QString>
#include <QVariant>
#include <compare>
#include <cstdint>

class Currency
{
  public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    // Whole units (Currency(5) is 5.0000); beyond the range throws VbErrore 6.
    constexpr Currency(int units) : m_raw(std::int64_t(units) * Scale) {}
    constexpr Currency(long long units) : m_raw(moltiplica(units, Scale)) {}

    static constexpr Currency fromRaw(std::int64_t raw)
    {
        Currency c;
        c.m_raw = raw;
        return c;
    }
    static constexpr Currency massimo() { return fromRaw(INT64_MAX); }
    static constexpr Currency minimo() { return fromRaw(INT64_MIN); }

    // Rounded half away from zero to four decimals, as VB's CCur; Inf, NaN
    // and values beyond the range throw VbErrore 6.
    static Currency fromDouble(double v);

    // What reading a text gave.
    enum class Lettura { Numero, NonNumero, FuoriIntervallo };
    // "1234.5678", "-0,5", "1.5e3": sign, digits with one '.' or ',' as the
    // decimal point and an optional exponent, rounded half away from zero to
    // four decimals. "1.234,56" is not a number (one separator only). Linear
    // in the text, whatever its exponent.
    static Lettura leggi(const QString &text, Currency &out);
    // leggi() that answers false both for a text that is not a number and for
    // one beyond the range.
    static bool parse(const QString &text, Currency &out) { return leggi(text, out) == Lettura::Numero; }
    // A value as fromVariant() reads it (out 0 unless Numero), without throwing.
    static Lettura leggiValore(const QVariant &v, Currency &out);
    // A double as leggiValore() reads it: the decimal its 15 significant
    // digits show, rounded half away from zero to four decimals.
    static Lettura leggiDouble(double v, Currency &out);
    // Numbers, numeric text (either '.' or ',' as decimal separator), Currency
    // stored in a QVariant, bool (-1/0 as VB); Null, empty and non-numeric
    // text give 0. A number beyond the range throws VbErrore 6.
    static Currency fromVariant(const QVariant &v);

    constexpr std::int64_t raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / double(Scale); }
    // Whole units rounded half away from zero (never overflows).
    std::int64_t unitaArrotondate() const;
    // Those units as an int; 0 and *ok false when they do not fit.
    int toInt(bool *ok = nullptr) const;
    // Plain decimal text with '.' and exactly `decimals` digits (0..4), rounded half away from zero.
    QString toString(int decimals = 4) const;
    // Shortest plain text ("12.345", "7", "-0.5"): what QVariant::toString() gives.
    QString toShortString() const;
    QVariant toVariant() const;

    // Rounded half away from zero to `decimals` places (0..4); negative values
    // round to tens, hundreds... (-1 -> 10). A result beyond the range throws VbErrore 6.
    Currency rounded(int decimals) const;

    constexpr Currency operator-() const { return fromRaw(sottrai(0, m_raw)); }
    constexpr Currency &operator+=(Currency o)
    {
        m_raw = somma(m_raw, o.m_raw);
        return *this;
    }
    constexpr Currency &operator-=(Currency o)
    {
        m_raw = sottrai(m_raw, o.m_raw);
        return *this;
    }
    friend constexpr Currency operator+(Currency a, Currency b) { return fromRaw(somma(a.m_raw, b.m_raw)); }
    friend constexpr Currency operator-(Currency a, Currency b) { return fromRaw(sottrai(a.m_raw, b.m_raw)); }
    // Products and quotients go through a 128-bit intermediate and are rounded
    // half away from zero to four decimals.
    friend Currency operator*(Currency a, Currency b);
    friend Currency operator/(Currency a, Currency b); // throws VbErrore 11 on division by zero
    friend constexpr Currency operator*(Currency a, long long n) { return fromRaw(moltiplica(a.m_raw, n)); }
    // Multiplication by a Double factor (percentages, rates): exact decimal
    // conversion of the factor to 8 places first, then the 128-bit product.
    Currency times(double factor) const;

    friend constexpr bool operator==(Currency a, Currency b) = default;
    friend constexpr auto operator<=>(Currency a, Currency b) = default;

    constexpr bool isZero() const { return m_raw == 0; }
    constexpr Currency abs() const { return m_raw < 0 ? -*this : *this; }

    // Throws VbErrore 6 ("Overflow").
    [[noreturn]] static void overflow();

  private:
    static constexpr std::int64_t somma(std::int64_t a, std::int64_t b)
    {
        std::int64_t r = 0;
        if (__builtin_add_overflow(a, b, &r))
            overflow();
        return r;
    }
    static constexpr std::int64_t sottrai(std::int64_t a, std::int64_t b)
    {
        std::int64_t r = 0;
        if (__builtin_sub_overflow(a, b, &r))
            overflow();
        return r;
    }
    static constexpr std::int64_t moltiplica(std::int64_t a, std::int64_t b)
    {
        std::int64_t r = 0;
        if (__builtin_mul_overflow(a, b, &r))
            overflow();
        return r;
    }

    std::int64_t m_raw = 0;
};

Q_DECLARE_METATYPE(Currency)
