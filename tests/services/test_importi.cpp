// Amount and percentage helpers: discount chains, comparisons, VAT on a base
// and taken out of a total, packed withholding percentages.
#include "services/Globali.h"
#include "services/Importi.h"

#include "components/util/VbErrore.h"

#include <climits>
#include <gtest/gtest.h>

namespace
{
Currency C(const char *testo)
{
    Currency c;
    EXPECT_TRUE(Currency::parse(QString::fromLatin1(testo), c)) << testo;
    return c;
}

// Sets the company's VAT rounding rule for one test and puts it back.
struct ArrotIvaEuroScope {
    explicit ArrotIvaEuroScope(const char *valore) : vecchio(Globali::ArrotIvaEuro)
    {
        Globali::ArrotIvaEuro = QString::fromLatin1(valore);
    }
    ~ArrotIvaEuroScope() { Globali::ArrotIvaEuro = vecchio; }
    QString vecchio;
};
} // namespace

TEST(ValutaNumero, CatenaDiSconti)
{
    struct Caso {
        const char *testo;
        double inizio;
        int decimali;
        double atteso;
        int errore;
    } casi[] = {
        {"10+5", 0, 6, 14.5, 0},
        {"10-5", 0, 6, 14.5, 0},
        {" 10 + 5 ", 0, 6, 14.5, 0},
        {"3+2", 0, 6, 4.94, 0},
        {"10+5+2", 0, 6, 16.21, 0},
        {"10,5", 0, 6, 10.5, 0},
        {"33,333+33,333", 0, 6, 55.555111, 0},
        {"-10", 0, 6, 10, 0},
        {"10+", 0, 6, 10, 0},
        {"10", 50, 6, 55, 0},
        {"", 3, 6, 3, 0},
        {"   ", 3, 6, 3, 0},
        {"0", 0, 6, 0, 0},
        {"12,3456789", 0, 2, 12.35, 0},
        {"abc", 7, 6, 7, -1},
        {"10++5", 7, 6, 7, -1},
        {"10+-5", 7, 6, 7, -1},
        {"10.5", 7, 6, 7, -1},
        {"1,2,3", 7, 6, 7, -1},
        {"10+,", 7, 6, 7, -1},
        {"10%", 7, 6, 7, -1},
    };
    for (const Caso &c : casi) {
        int errore = 99;
        const double v = ValutaNumero(QString::fromUtf8(c.testo), &errore, c.inizio, c.decimali);
        EXPECT_DOUBLE_EQ(v, c.atteso) << c.testo;
        EXPECT_EQ(errore, c.errore) << c.testo;
    }
    EXPECT_NEAR(ValutaNumero(QStringLiteral("1,0000001"), nullptr, 0, -999), 1.0000001, 1e-12);
}

TEST(ConfrontaImporti, RisultatiEDecimali)
{
    struct Caso {
        QVariant a, b;
        int decimali;
        int atteso;
    } casi[] = {
        {QVariant::fromValue(C("0.0001")), QVariant::fromValue(Currency()), -8, 1},
        {QVariant(100000000.0), QVariant(100000001.0), -8, -1},
        {QVariant(0.1 + 0.2), QVariant(0.3), -8, 0},
        {QVariant(1.005), QVariant(1.0), -2, 1},
        {QVariant(2.0), QVariant(2.004), 2, 0},
        {QVariant(2.0), QVariant(2.004), -2, 0},
        {QVariant(-2.5), QVariant(-2.4), -8, -1},
        {QVariant(QStringLiteral("12,50")), QVariant::fromValue(C("12.5")), -8, 0},
        {QVariant(3), QVariant(true), -8, 1},
        {QVariant(QString()), QVariant(), -8, 0},
        {QVariant(QStringLiteral("x")), QVariant(), -8, 1},
        {QVariant(5), QVariant(), -8, 1},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(ConfrontaImporti(c.a, c.b, c.decimali), c.atteso) << c.a.toString().toStdString();
    EXPECT_EQ(ConfrontaImporti(C("10.004"), C("10.001"), -2), 0);
    EXPECT_EQ(ConfrontaImporti(C("10.004"), C("10.001"), -8), 1);
    EXPECT_THROW(ConfrontaImporti(QVariant(QStringLiteral("abc")), QVariant(1)), VbErrore);
}

TEST(ConfrontaImporti, DecimaliFuoriIntervallo)
{
    // Decimals are taken without their sign; INT_MIN has no positive twin.
    const auto numero = [](auto &&f) {
        try {
            f();
        } catch (const VbErrore &e) {
            return e.numero();
        }
        return 0;
    };
    EXPECT_EQ(numero([] { ConfrontaImporti(Currency(1), Currency(2), INT_MIN); }), VbErrore::Overflow);
    EXPECT_EQ(numero([] { ConfrontaImporti(QVariant(1), QVariant(2), INT_MIN); }), VbErrore::Overflow);
    for (int d : {INT_MIN + 1, INT_MAX}) {
        EXPECT_EQ(ConfrontaImporti(Currency(1), Currency(2), d), -1) << d;
        EXPECT_EQ(ConfrontaImporti(QVariant(2.0), QVariant(1.0), d), 1) << d;
        EXPECT_EQ(ConfrontaImporti(C("0.0001"), C("0.0002"), d), -1) << d;
    }
    // Negative decimals of the other helpers are refused as overflows too.
    EXPECT_EQ(numero([] { CalcPercentuale(C("100"), C("22"), INT_MIN); }), VbErrore::Overflow);
    EXPECT_EQ(numero([] { ScorporaPercentuale(C("100"), C("10"), INT_MIN); }), VbErrore::Overflow);
    EXPECT_EQ(numero([] { CalcImportoPercentuali(C("122"), C("22"), INT_MIN); }), VbErrore::Overflow);
    EXPECT_EQ(CalcPercentuale(C("100"), C("22"), INT_MAX), C("22"));
}

TEST(CalcPercentuale, ArrotondamentoPerDecimaliEImpostazione)
{
    struct Caso {
        const char *arrotIvaEuro;
        const char *importo;
        const char *aliquota;
        int decimali;
        const char *atteso;
    } casi[] = {
        {"N", "100", "22", 2, "22"},         {"N", "33.33", "22", 2, "7.33"},
        {"N", "0.05", "10", 2, "0.01"},      {"N", "-0.05", "10", 2, "-0.01"},
        {"N", "1001", "22", 0, "221"},       {"N", "-1001", "22", 0, "-221"},
        {"S", "33.33", "22", 2, "7.34"},     {"s", "-33.33", "22", 2, "-7.34"},
        {"S", "100", "22", 2, "22"},         {"N", "0", "22", 2, "0"},
        {"N", "999999.99", "4", 2, "40000"},
    };
    for (const Caso &c : casi) {
        ArrotIvaEuroScope scope(c.arrotIvaEuro);
        EXPECT_EQ(CalcPercentuale(C(c.importo), C(c.aliquota), c.decimali), C(c.atteso)) << c.importo;
    }
    EXPECT_DOUBLE_EQ(CalcPercentuale(33.33, 22.0, 2), 7.33);
}

TEST(CalcImportoPercentuali, ImponibileContenutoNelTotale)
{
    struct Caso {
        const char *arrotIvaEuro;
        const char *importo;
        const char *aliquota;
        int decimali;
        const char *atteso;
    } casi[] = {
        {"N", "122", "22", 2, "100"},   {"N", "100", "22", 2, "81.97"}, {"N", "55.55", "0", 2, "55.55"},
        {"N", "0.19", "22", 2, "0.15"}, {"N", "0.08", "22", 2, "0.06"}, {"N", "0.13", "4", 2, "0.12"},
        {"N", "1220", "22", 0, "1000"}, {"N", "1000", "22", 0, "819"},  {"S", "100", "22", 2, "81.96"},
        {"N", "-122", "22", 2, "-100"},
    };
    for (const Caso &c : casi) {
        ArrotIvaEuroScope scope(c.arrotIvaEuro);
        EXPECT_EQ(CalcImportoPercentuali(C(c.importo), C(c.aliquota), c.decimali), C(c.atteso)) << c.importo;
    }
}

TEST(CalcPercentualeImporto, PercentualiSempliciEImpaccate)
{
    struct Caso {
        const char *base;
        double percentuale;
        double atteso;
        const char *baseDopo;
    } casi[] = {
        {"1000", 20, 200, "1000"}, {"1000", 2000.5, 100, "500"},         {"1000", 2000, 200, "1000"},
        {"1000", 120.5, 6, "500"}, {"333.33", 2000.5, 33.334, "166.67"}, {"1000", 2000.25, 50, "250"},
        {"100", 4, 4, "100"},      {"33.33", 20, 6.666, "33.33"},
    };
    for (const Caso &c : casi) {
        Currency base = C(c.base);
        EXPECT_DOUBLE_EQ(CalcPercentualeImporto(base, c.percentuale, 2), c.atteso) << c.percentuale;
        EXPECT_EQ(base, C(c.baseDopo)) << c.percentuale;
    }
}

TEST(ScorporaPercentuale, ImportoNettoDelloSconto)
{
    EXPECT_EQ(ScorporaPercentuale(C("100"), C("2"), 2, true), C("98"));
    EXPECT_EQ(ScorporaPercentuale(C("33.33"), C("2"), 2, true), C("32.66"));
    EXPECT_EQ(ScorporaPercentuale(C("33.33"), C("2"), 2, false), C("32.6634"));
    EXPECT_EQ(ScorporaPercentuale(C("122"), C("10"), 2, true), C("109.8"));
    EXPECT_EQ(ScorporaPercentuale(C("-33.33"), C("2"), 2, true), C("-32.66"));

    EXPECT_DOUBLE_EQ(ScorporaPercentualeFat(C("100"), 2, 10, false, 2), 180);
    EXPECT_DOUBLE_EQ(ScorporaPercentualeFat(C("100"), 2, 14.5, false, 2), 171);
    EXPECT_DOUBLE_EQ(ScorporaPercentualeFat(C("33.33"), 3, 14.5, false, 2), 85.49145);
    EXPECT_DOUBLE_EQ(ScorporaPercentualeFat(C("33.33"), 3, 14.5, true, 2), 85.5);
    EXPECT_DOUBLE_EQ(ScorporaPercentualeFat(C("19.99"), 0.5, 0, false, 2), 9.995);
}

TEST(ChiaviEInteri, ComponiChiaveEInteroVero)
{
    EXPECT_EQ(ComponiChiave(QString(), QString()), QStringLiteral("CD"));
    EXPECT_EQ(ComponiChiave(QStringLiteral("1"), QStringLiteral("2")), QStringLiteral("C1D2"));
    EXPECT_EQ(InteroVero(-1), -1);
    EXPECT_EQ(InteroVero(1), 0);
    EXPECT_EQ(InteroVero(0), 0);
}
