// SQL literals of every kind, and LIKE patterns that match user text literally.
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QDateTime>
#include <gtest/gtest.h>

TEST(ValoreSql, TextIsQuotedWithQuotesDoubled)
{
    UtilGlob u;
    EXPECT_EQ(u.ValoreSql("D'Amico", 8), "'D''Amico'");
    EXPECT_EQ(u.ValoreSql("D'Amico"), "'D''Amico'");
    EXPECT_EQ(u.ValoreSql("'; DROP TABLE PianoConti; --", 8), "'''; DROP TABLE PianoConti; --'");
    EXPECT_EQ(u.ValoreSql("", 8), "''");
    EXPECT_EQ(u.ValoreSql(QVariant(), 8), "''");
    EXPECT_EQ(u.ValoreSql("3", 8), "'3'");
    EXPECT_EQ(u.ValoreSql(QVariant(12), 8), "'12'");
    EXPECT_EQ(u.ValoreSql(QString("a") + QChar(0) + "b", 8), "'ab'");
}

TEST(ValoreSql, NumbersOfEachKind)
{
    UtilGlob u;
    struct Caso {
        QVariant valore;
        int tipo;
        const char *atteso;
    } casi[] = {
        {QVariant(2024), 2, "2024"},
        {QVariant("2024"), 2, "2024"},
        {QVariant(" 17 "), 3, "17"},
        {QVariant(qlonglong(1234567)), 3, "1234567"},
        {QVariant(-5), 2, "-5"},
        {QVariant(2.5), 3, "3"},
        {QVariant(1.5), 5, "1.5"},
        {QVariant("1.234,56"), 5, "1234.56"},
        {QVariant("12,5"), 5, "12.5"},
        {QVariant(0.1 + 0.2), 5, "0.3"},
        {QVariant(1e20), 5, "100000000000000000000"},
        {QVariant::fromValue(Currency::fromDouble(81.23)), 6, "81.23"},
        {QVariant::fromValue(Currency::fromDouble(-0.5)), 5, "-0.5"},
        {QVariant(true), 11, "-1"},
        {QVariant(false), 11, "0"},
        {QVariant(), 2, "Null"},
        {QVariant(""), 3, "Null"},
        {QVariant("  "), 5, "Null"},
        {QVariant(), 7, "Null"},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(u.ValoreSql(c.valore, c.tipo), QString::fromLatin1(c.atteso))
            << c.valore.toString().toStdString() << " kind " << c.tipo;
}

TEST(ValoreSql, DatesInJetForm)
{
    UtilGlob u;
    EXPECT_EQ(u.ValoreSql(QDate(2024, 2, 5), 7), "#02/05/2024#");
    EXPECT_EQ(u.ValoreSql("05/02/2024", 7), "#02/05/2024#");
    EXPECT_EQ(u.ValoreSql("5/2/24", 7), "#02/05/2024#");
    EXPECT_EQ(u.ValoreSql(QDateTime(QDate(2024, 12, 31), QTime(13, 5, 9)), 7), "#12/31/2024 13:05:09#");
    EXPECT_EQ(u.ValoreSql(QDateTime(QDate(2024, 12, 31), QTime(0, 0)), 7), "#12/31/2024#");
}

TEST(ValoreSql, TextThatIsNotOfTheKindIsRefused)
{
    UtilGlob u;
    for (int tipo : {2, 3, 5, 6})
        EXPECT_THROW(u.ValoreSql("1 or 1=1", tipo), VbErrore) << tipo;
    EXPECT_THROW(u.ValoreSql("31/02/2024", 7), VbErrore);
    EXPECT_THROW(u.ValoreSql("0 union select", 7), VbErrore);
    try {
        u.ValoreSql("abc", 2);
    } catch (const VbErrore &e) {
        EXPECT_EQ(e.numero(), VbErrore::TipoNonCorrispondente);
    }
}

TEST(ValoreSqlLike, WildcardsOfTheTextAreEscaped)
{
    UtilGlob u;
    EXPECT_EQ(u.ValoreSqlLike("50%"), "'50%*'");
    EXPECT_EQ(u.ValoreSqlLike("50%", true, true), "'*50%*'");
    EXPECT_EQ(u.ValoreSqlLike("a*b?c#d[e]", false, false), "'a[*]b[?]c[#]d[[]e]'");
    EXPECT_EQ(u.ValoreSqlLike("D'Amico", false, true), "'D''Amico*'");
    EXPECT_EQ(u.ValoreSqlLike("", false, true), "'*'");
    EXPECT_EQ(UtilGlob::ProteggiJolly("100_%"), "100_%");
}
