// Currency: exact sums, rounding half away from zero, text and variant conversions.
#include "components/util/Currency.h"
#include "components/util/Decimale.h"
#include "components/util/VbErrore.h"

#include <climits>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

TEST(Currency, SumsStayExact)
{
    Currency sum;
    const Currency decimo = Currency::fromDouble(0.1);
    for (int i = 0; i < 1000000; ++i)
        sum += decimo;
    EXPECT_EQ(sum, Currency(100000));
}

TEST(Currency, ConversionsAndRounding)
{
    EXPECT_EQ(Currency::fromDouble(81.225).toString(4), "81.2250");
    EXPECT_EQ(Currency::fromDouble(81.225).rounded(2).toString(2), "81.23");
    EXPECT_EQ(Currency::fromDouble(-81.225).rounded(2).toString(2), "-81.23");
    EXPECT_EQ(Currency::fromDouble(1.00005).toString(), "1.0001");
    EXPECT_EQ(Currency::fromDouble(1234.5).rounded(-2).toString(0), "1200");
    EXPECT_EQ(Currency::fromVariant(QVariant("12,5")).toString(2), "12.50");
    EXPECT_EQ(Currency::fromVariant(QVariant("1.5e2")).toString(0), "150");
    EXPECT_EQ(Currency::fromVariant(QVariant()).raw(), 0);
    EXPECT_EQ(Currency::fromVariant(QVariant("abc")).raw(), 0);
    EXPECT_EQ(Currency::fromVariant(QVariant(true)), Currency(-1));
}

TEST(Currency, ProductsAndQuotients)
{
    Currency a = Currency::fromDouble(100.10);
    EXPECT_EQ((a * Currency::fromDouble(0.22)).toString(), "22.0220");
    EXPECT_EQ((Currency(10) / Currency(3)).toString(), "3.3333");
    EXPECT_EQ((Currency(20) / Currency(3)).toString(), "6.6667");
    EXPECT_EQ(Currency::fromDouble(1000).times(0.22).toString(), "220.0000");
    EXPECT_THROW(Currency(1) / Currency(), VbErrore);
}

namespace
{
// What reading a text gave: the amount, "fuori" or "no".
std::string Letto(const char *testo)
{
    Currency c;
    switch (Currency::leggi(QString::fromUtf8(testo), c)) {
    case Currency::Lettura::Numero:
        return c.toString(4).toStdString();
    case Currency::Lettura::FuoriIntervallo:
        return "fuori";
    case Currency::Lettura::NonNumero:
        break;
    }
    return "no";
}

bool Overflow(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VbErrore &e) {
        return e.numero() == VbErrore::Overflow;
    }
    return false;
}
} // namespace

TEST(Currency, TextAtAndBeyondTheRange)
{
    const struct {
        const char *testo, *atteso;
    } casi[] = {
        {"922337203685477.5807", "922337203685477.5807"},
        {"-922337203685477.5808", "-922337203685477.5808"},
        {"922337203685477.58074", "922337203685477.5807"},
        {"922337203685477.5808", "fuori"},
        {"922337203685477.58075", "fuori"},
        {"-922337203685477.5809", "fuori"},
        {"999999999999999999999999999999.999999999999999999999999999999", "fuori"},
        {"-999999999999999999999999999999.999", "fuori"},
        {"1e15", "fuori"},
        {"9.22337203685477e14", "922337203685477.0000"},
        {"1e2147483647", "fuori"},
        {"1e99999999999999999999", "fuori"},
        {"0e999999999", "0.0000"},
        {"0.0e-99999999999", "0.0000"},
        {"1e-2147483648", "0.0000"},
        {"0.00005", "0.0001"},
        {"-0.00005", "-0.0001"},
        {"0.000049999", "0.0000"},
        {"000000000000000000000000000000000123,45", "123.4500"},
        {"0.000000000000000000000000000000000000000000000000001e50", "0.1000"},
        {" +12.5 ", "12.5000"},
        {"1.2.3", "no"},
        {"1e", "no"},
        {"e5", "no"},
        {"12 pezzi", "no"},
        {"", "no"},
    };
    for (const auto &c : casi)
        EXPECT_EQ(Letto(c.testo), c.atteso) << c.testo;
    EXPECT_TRUE(Overflow([] { Currency::fromVariant(QVariant("1e2147483647")); }));
    EXPECT_EQ(Currency::fromVariant(QVariant("12 pezzi")), Currency());
}

TEST(Currency, NumbersAtAndBeyondTheRange)
{
    // Doubles enter as their 15 significant digits.
    EXPECT_EQ(Currency::fromDouble(922337203685477.0).raw(), 9223372036854770000LL);
    EXPECT_EQ(Currency::fromDouble(-922337203685477.0).raw(), -9223372036854770000LL);
    EXPECT_EQ(Currency::fromDouble(1e-20), Currency());
    for (double d : {922337203685477.6, 1e20, -1e20, 1e300, HUGE_VAL, -HUGE_VAL, std::nan("")})
        EXPECT_TRUE(Overflow([d] { Currency::fromDouble(d); })) << d;
    EXPECT_EQ(Currency(922337203685477LL).raw(), 9223372036854770000LL);
    EXPECT_EQ(Currency(-922337203685477LL).raw(), -9223372036854770000LL);
    for (long long n : {922337203685478LL, -922337203685478LL, 3000000000000000000LL})
        EXPECT_TRUE(Overflow([n] { Currency c(n); })) << n;
    for (const QVariant &v : {QVariant(qulonglong(-1)), QVariant(qlonglong(1) << 62), QVariant(1e19)})
        EXPECT_TRUE(Overflow([v] { Currency::fromVariant(v); })) << v.toString().toStdString();
    // An amount held in a QVariant converts to int only when it fits.
    bool ok = true;
    EXPECT_EQ(QVariant::fromValue(Currency(3000000000LL)).toInt(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(QVariant::fromValue(Currency(3000000000LL)).toLongLong(), 3000000000LL);
    EXPECT_EQ(QVariant::fromValue(Currency::fromDouble(-2.5)).toInt(), -3);
}

TEST(Currency, ArithmeticChecksForOverflow)
{
    const Currency max = Currency::massimo(), min = Currency::minimo(), decimo = Currency::fromRaw(1);
    EXPECT_EQ((max - decimo) + decimo, max);
    EXPECT_EQ((min + decimo) - decimo, min);
    EXPECT_EQ(-max, min + decimo);
    const std::function<void()> oltre[] = {
        [&] { (void)(max + decimo); },
        [&] { (void)(min - decimo); },
        [&] {
            Currency c = max;
            c += decimo;
        },
        [&] {
            Currency c = min;
            c -= decimo;
        },
        [&] { (void)(-min); },
        [&] { (void)min.abs(); },
        [&] { (void)(max * 2LL); },
        [&] { (void)(max * Currency(2)); },
        [&] { (void)(min / Currency::fromDouble(0.5)); },
        [&] { (void)max.times(1.5); },
        [&] { (void)decimo.times(1e300); },
        [&] { (void)decimo.times(HUGE_VAL); },
        [&] { (void)max.rounded(0); },
        [&] { (void)min.rounded(-2); },
    };
    for (size_t i = 0; i < std::size(oltre); ++i)
        EXPECT_TRUE(Overflow(oltre[i])) << "operazione " << i;
    EXPECT_EQ(Currency().times(1e300), Currency());
    EXPECT_EQ(max.rounded(-40), Currency());
    // The extremes still show, rounded for display only.
    EXPECT_EQ(min.toString(4), "-922337203685477.5808");
    EXPECT_EQ(max.toString(2), "922337203685477.58");
    EXPECT_EQ(max.toString(0), "922337203685478");
    EXPECT_EQ(min.toShortString(), "-922337203685477.5808");
}

// Doubles read without a text give what their 15-digit text gives: the digits
// themselves, an amount, and values on both sides of every rounding edge.
TEST(Currency, DoublesReadAsTheirFifteenDigits)
{
    std::vector<double> valori = {0.1,
                                  81.225,
                                  1.00005,
                                  -1.00005,
                                  0.00005,
                                  0.000049999999999999,
                                  2.675,
                                  1e-5,
                                  4.9e-5,
                                  5e-5,
                                  123456789012.34567,
                                  1e14,
                                  9.99999999999999e14,
                                  999999999999999.9,
                                  0x1p-20,
                                  0x1p-21,
                                  12345678901.03125,
                                  -12345678901.03125,
                                  922337203685477.5807,
                                  9.2233720368547758e14,
                                  -9.2233720368547758e14,
                                  1.0 / 3.0,
                                  2.0 / 3.0,
                                  1e-300,
                                  123456789012345.5,
                                  0.30000000000000004};
    // Amounts with two to four decimals, rates and their products, as documents hold them.
    std::uint64_t seme = 88172645463325252ULL;
    auto prossimo = [&] {
        seme ^= seme << 13;
        seme ^= seme >> 7;
        seme ^= seme << 17;
        return seme;
    };
    for (int i = 0; i < 20000; ++i) {
        const double cent = double(prossimo() % 100000000) / 100.0;
        valori.push_back(cent);
        valori.push_back(-cent * 1.22);
        valori.push_back(double(prossimo() % 1000000) / 10000.0 * double(prossimo() % 1000) / 7.0);
        valori.push_back(std::ldexp(double(prossimo() >> 11), int(prossimo() % 70) - 80));
    }
    size_t senzaTesto = 0; // values read without their text
    for (const double v : valori) {
        const QString testo = QString::number(v, 'e', 14);
        __int128 cifre = 0;
        int esponente = 0;
        if (QuindiciCifre(v, cifre, esponente)) {
            ++senzaTesto;
            const qsizetype e = testo.indexOf(u'e');
            QString attese = testo.left(e);
            attese.remove(u'.');
            EXPECT_EQ(QString::number(qlonglong(cifre)), attese) << testo.toStdString();
            EXPECT_EQ(esponente, testo.mid(e + 1).toInt() - 14) << testo.toStdString();
        }
        Currency daTesto, letto;
        const Currency::Lettura l = Currency::leggi(QString::number(v, 'g', 15), daTesto);
        EXPECT_EQ(Currency::leggiDouble(v, letto), l) << testo.toStdString();
        EXPECT_EQ(letto, daTesto) << testo.toStdString();
    }
    // Nearly every amount takes the way without a text.
    EXPECT_GT(senzaTesto, valori.size() * 7 / 10);
}

// Powers of ten and decimals given as ints at the ends of their range:
// refused, or exact, never a wrapped scale.
TEST(Decimale, PowersAndDecimalsAtTheEndsOfTheirRange)
{
    const Decimale uno{1, 0}, centesimo{1, 2};
    Decimale out{7, 7};
    for (int n : {INT_MIN, INT_MIN + 1, -1101, -100000}) {
        EXPECT_FALSE(uno.PerPotenza(n, out)) << n;
        EXPECT_FALSE(centesimo.PerPotenza(n, out)) << n;
    }
    EXPECT_EQ(out.mantissa, 7); // a refusal leaves the answer alone
    EXPECT_EQ(out.scala, 7);
    ASSERT_TRUE(centesimo.PerPotenza(-1098, out));
    EXPECT_EQ(out.scala, 1100);
    ASSERT_TRUE(centesimo.PerPotenza(5, out));
    EXPECT_EQ(out.Testo(), "1000");
    EXPECT_FALSE(uno.PerPotenza(INT_MAX, out));
    ASSERT_TRUE((Decimale{0, 3}).PerPotenza(INT_MAX, out));
    EXPECT_TRUE(out.zero());

    __int128 unita = -1;
    EXPECT_EQ(LeggiUnita(u"12.5", INT_MIN, unita), Currency::Lettura::Numero);
    EXPECT_TRUE(unita == 0);
    EXPECT_EQ(LeggiUnita(u"12.5", INT_MAX, unita), Currency::Lettura::FuoriIntervallo);
    EXPECT_EQ(LeggiUnita(u"1234567", -3, unita), Currency::Lettura::Numero);
    EXPECT_TRUE(unita == 1235);
    EXPECT_EQ(LeggiUnita(u"0", INT_MAX, unita), Currency::Lettura::Numero);
    EXPECT_TRUE(unita == 0);
}
