// Currency: exact sums, rounding half away from zero, text and variant conversions.
#include "components/util/Currency.h"
#include "components/util/VbErrore.h"

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
