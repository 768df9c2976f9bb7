// Exact decimal numbers for rounding and formatting: an integer mantissa over
// a power of ten, wide enough for every Currency and every 15-digit double.
#pragma once

#include "components/util/Currency.h"

#include <QString>

struct Decimale {
    __int128 mantissa = 0;
    int scala = 0; // value = mantissa / 10^scala, scala >= 0

    // "[-+]digits[.digits][e[+-]n]" with '.' as the decimal point.
    static bool DaTesto(const QString &testo, Decimale &out);
    // Through the 15-significant-digit text of the double, as the user typed
    // it (81.225 stays 81.225, not 81.2249999...). False for Inf, NaN or
    // magnitudes beyond 10^30.
    static bool DaDouble(double valore, Decimale &out);
    static Decimale DaCurrency(Currency c) { return {c.raw(), 4}; }

    bool negativo() const { return mantissa < 0; }
    bool zero() const { return mantissa == 0; }
    // The same value at a larger scale; false on overflow.
    bool AScala(int nuovaScala, Decimale &out) const;
    // Trailing zero decimals removed.
    Decimale Normalizzato() const;
    // Multiplied by 10^n (n may be negative). False on overflow, and when n
    // would leave more decimals than any double shows (over 1100).
    bool PerPotenza(int n, Decimale &out) const;

    double ToDouble() const;
    // Rounded half away from zero to four decimals; false on overflow.
    bool ToCurrency(Currency &out) const;
    // Plain text with '.' and exactly `scala` decimals ("-12.50").
    QString Testo() const;
};

// The double as its 15 significant digits show it (the digits
// QString::number(valore, 'e', 14) writes): |valore| = cifre x 10^esponente,
// 10^14 <= cifre < 10^15, correctly rounded from the double's exact value.
// Worked out on integers for 2^-20 <= |valore| < 10^15 when the exact value
// does not lie on a half of the fifteenth digit; false otherwise (zero,
// Inf, NaN, other magnitudes), and then the text gives the digits.
bool QuindiciCifre(double valore, __int128 &cifre, int &esponente);

// The whole number a QVariant holds as one of the integer kinds (signed or
// not, any width; bool is not one); false for every other kind.
bool InteroTenuto(const QVariant &v, __int128 &n);

// A plain number "1234.5678", "-0,5", "1.5e3" (sign, digits with one '.' or
// ',' as the point, optional exponent; blanks around) as a count of units of
// 10^-decimali (0..8), rounded half away from zero. FuoriIntervallo from 10^30
// units on. Linear in the text, whatever its exponent ("0e999999999" is 0 at once).
Currency::Lettura LeggiUnita(QStringView testo, int decimali, __int128 &unita);

// Rounds to a multiple of `passo` (> 0) by mode: 'A' half away from zero,
// 'S' towards +infinity, 'I' towards -infinity, 'T' towards zero. False on
// overflow.
bool ArrotondaDecimale(const Decimale &valore, const Decimale &passo, QChar modo, Decimale &out);

// A number typed by a user ("1.234,56", "1234,56", "1234.56", "-5", "1e3")
// in the plain form "[-]digits[.digits][e[+-]n]"; false when the whole text
// is not one number. `virgolaDecimale`: a lone ',' is the decimal separator
// and a '.' followed by groups of three digits is grouping ("1.500" = 1500).
bool NormalizzaNumero(const QString &testo, bool virgolaDecimale, QString &normale);
// The longest beginning of the text that NormalizzaNumero accepts ("12 pezzi"
// -> "12", "1.234,5x" -> "1234.5"), in its plain form; false when not even
// the first character begins a number. Linear in the text.
bool InizioNumero(const QString &testo, bool virgolaDecimale, QString &normale);
