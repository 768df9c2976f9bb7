// Rounding by mode, unit and power of ten, on amounts and on doubles.
#include "components/util/UtilGlob.h"

#include "components/util/VbErrore.h"

#include <climits>
#include <gtest/gtest.h>

namespace
{
Currency cur(const char *testo)
{
    Currency c;
    EXPECT_TRUE(Currency::parse(QString::fromLatin1(testo), c)) << testo;
    return c;
}

struct CasoArrotonda {
    const char *valore;
    const char *modo;
    const char *unita;
    int esponente;
    const char *atteso;
};

class ArrotondaTabella : public ::testing::TestWithParam<CasoArrotonda>
{
};

void PrintTo(const CasoArrotonda &c, std::ostream *os)
{
    *os << c.valore << " " << c.modo << " " << c.unita << "e" << c.esponente;
}
} // namespace

TEST_P(ArrotondaTabella, CurrencyAndDoubleAgree)
{
    const CasoArrotonda &c = GetParam();
    UtilGlob u;
    const Currency r = u.Arrotonda(cur(c.valore), c.modo, cur(c.unita), c.esponente);
    EXPECT_EQ(r, cur(c.atteso)) << c.valore << " " << c.modo << " -> " << r.toString().toStdString();
    const double d = u.Arrotonda(QString::fromLatin1(c.valore).toDouble(), c.modo,
                                 QString::fromLatin1(c.unita).toDouble(), c.esponente);
    EXPECT_DOUBLE_EQ(d, QString::fromLatin1(c.atteso).toDouble()) << c.valore << " " << c.modo;
}

INSTANTIATE_TEST_SUITE_P(
    Modi, ArrotondaTabella,
    ::testing::Values(
        // "A": half away from zero, on the decimal value as written.
        CasoArrotonda{"81.225", "A", "1", -2, "81.23"}, CasoArrotonda{"-81.225", "A", "1", -2, "-81.23"},
        CasoArrotonda{"1.005", "A", "1", -2, "1.01"}, CasoArrotonda{"2.675", "A", "1", -2, "2.68"},
        CasoArrotonda{"81.2249", "A", "1", -2, "81.22"}, CasoArrotonda{"0.5", "A", "1", 0, "1"},
        CasoArrotonda{"-0.5", "A", "1", 0, "-1"}, CasoArrotonda{"1234.5", "A", "1", 2, "1200"},
        CasoArrotonda{"12.3456", "A", "1", -8, "12.3456"},
        // "S" towards +infinity, "I" towards -infinity, "T" towards zero.
        CasoArrotonda{"81.221", "S", "1", -2, "81.23"}, CasoArrotonda{"-81.221", "S", "1", -2, "-81.22"},
        CasoArrotonda{"81.229", "I", "1", -2, "81.22"}, CasoArrotonda{"-81.221", "I", "1", -2, "-81.23"},
        CasoArrotonda{"81.229", "T", "1", -2, "81.22"}, CasoArrotonda{"-81.229", "T", "1", -2, "-81.22"},
        CasoArrotonda{"81.22", "S", "1", -2, "81.22"}, CasoArrotonda{"-81.22", "I", "1", -2, "-81.22"},
        // Units other than 1: stamp duty rounded up to 0.5, lire to 50.
        CasoArrotonda{"1.81", "S", "0.5", 0, "2"}, CasoArrotonda{"1.31", "S", "0.5", 0, "1.5"},
        CasoArrotonda{"1.5", "S", "0.5", 0, "1.5"}, CasoArrotonda{"1024", "A", "50", 0, "1000"},
        CasoArrotonda{"1025", "A", "50", 0, "1050"}, CasoArrotonda{"1.26", "A", "5", -2, "1.25"},
        // Lower-case mode letters, and unknown ones read as "A".
        CasoArrotonda{"81.225", "a", "1", -2, "81.23"}, CasoArrotonda{"81.225", "", "1", -2, "81.23"},
        CasoArrotonda{"81.221", "s", "1", -2, "81.23"}),
    [](const ::testing::TestParamInfo<CasoArrotonda> &info) { return "caso" + std::to_string(info.index); });

TEST(Arrotonda, ZeroUnitLeavesTheValue)
{
    UtilGlob u;
    EXPECT_EQ(u.Arrotonda(cur("1.2345"), "A", Currency(0), -2), cur("1.2345"));
    EXPECT_DOUBLE_EQ(u.Arrotonda(1.2345, "A", 0.0, -2), 1.2345);
}

TEST(Arrotonda, DoublesBeyondFourDecimalsAndHugeValues)
{
    UtilGlob u;
    EXPECT_DOUBLE_EQ(u.Arrotonda(0.1 + 0.2, "A", 1, -8), 0.3);
    EXPECT_DOUBLE_EQ(u.Arrotonda(12.3456785, "A", 1, -6), 12.345679);
    EXPECT_DOUBLE_EQ(u.Arrotonda(1e200, "A", 1, -2), 1e200);
    EXPECT_DOUBLE_EQ(u.Arrotonda(2.5), 3.0);
    // Fatt x 100 of a preview scale, rounded to a whole number.
    EXPECT_DOUBLE_EQ(u.Arrotonda(0.7549 * 100, "A", 1), 75.0);
}

TEST(Arrotonda, ExtremeExponentsAreHeldToTheSupportedRange)
{
    UtilGlob u;
    // Decimals of a currency row out of any sense: finer than any digit an
    // amount or a double has, or coarser than any amount.
    for (int esponente : {-31, -1000, -2147483647, INT_MIN}) {
        EXPECT_DOUBLE_EQ(u.Arrotonda(12.345, "A", 1, esponente), 12.345) << esponente;
        EXPECT_DOUBLE_EQ(u.Arrotonda(0.0, "S", 1, esponente), 0.0) << esponente;
        EXPECT_EQ(u.Arrotonda(cur("-81.2256"), "I", Currency(1), esponente), cur("-81.2256")) << esponente;
        EXPECT_EQ(u.Arrotonda(Currency(), "A", Currency(1), esponente), Currency()) << esponente;
        EXPECT_EQ(u.Arrotonda(QVariant::fromValue(cur("5.5")), "A", 1, esponente).value<Currency>(),
                  cur("5.5"));
    }
    for (int esponente : {31, 1000, 2147483647, INT_MAX}) {
        EXPECT_DOUBLE_EQ(u.Arrotonda(12.345, "A", 1, esponente), 0.0) << esponente;
        EXPECT_DOUBLE_EQ(u.Arrotonda(0.0, "A", 1, esponente), 0.0) << esponente;
        EXPECT_EQ(u.Arrotonda(cur("922337203685477.5807"), "T", Currency(1), esponente), Currency())
            << esponente;
        EXPECT_THROW(u.Arrotonda(cur("0.0001"), "S", Currency(1), esponente), VbErrore) << esponente;
    }
}

TEST(Arrotonda, VariantKeepsCurrencyAndNull)
{
    UtilGlob u;
    const QVariant c = u.Arrotonda(QVariant::fromValue(cur("81.225")), "A", 1, -2);
    ASSERT_EQ(c.userType(), qMetaTypeId<Currency>());
    EXPECT_EQ(c.value<Currency>(), cur("81.23"));
    EXPECT_DOUBLE_EQ(u.Arrotonda(QVariant("81,225"), "A", 1, -2).toDouble(), 81.23);
    EXPECT_FALSE(u.Arrotonda(QVariant(), "A", 1, -2).isValid());
}

TEST(Arrotonda, DoubleValueWithCurrencyUnit)
{
    UtilGlob u;
    EXPECT_DOUBLE_EQ(u.Arrotonda(3.21, "S", cur("0.5")), 3.5);
}

TEST(DividiImporti, ZeroDivisorGivesZero)
{
    UtilGlob u;
    EXPECT_DOUBLE_EQ(u.DividiImporti(Currency(10), Currency(0)), 0.0);
    EXPECT_DOUBLE_EQ(u.DividiImporti(Currency(1), Currency(3)), 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(u.DividiImporti(5.0, 0.0), 0.0);
}
