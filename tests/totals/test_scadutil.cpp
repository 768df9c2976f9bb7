// Due dates and instalments from payment terms: amounts split to the cent,
// counting rules, excluded months, per-instalment charges and the error list.
#include "totals/ScadUtil.h"

#include <gtest/gtest.h>

using namespace ScadUtil;

namespace
{

struct Esito {
    QList<QDate> date;
    QList<double> importi;
    QList<double> spese;
    int numScad = -99;
    int numErr = -99;
    QString errori;
    QDate decorrenza;
};

DatiPagamento pagamento(const char *decorrenza, const char *periodicita, const char *trattamIva, int numScad,
                        int giornoFisso = 0, int numGGMM = 1, QList<int> periodi = {},
                        QList<double> percentuali = {})
{
    DatiPagamento p;
    p.Decorrenza = QString::fromLatin1(decorrenza);
    p.Periodicita = QString::fromLatin1(periodicita);
    p.TrattamIva = QString::fromLatin1(trattamIva);
    p.NumScad = numScad;
    p.GiornoFisso = giornoFisso;
    p.NumGGMM = numGGMM;
    // Sized as the payment reader sizes them: one slot per instalment after
    // the unused slot 0. Entries given beyond the count are not part of the row.
    const int slot = qMax(numScad, 0);
    p.Periodo = QList<int>(slot + 1, 0);
    p.Percentuale = QList<double>(slot + 1, 0.0);
    for (int i = 0; i < qMin(int(periodi.size()), slot); ++i)
        p.Periodo[i + 1] = periodi[i];
    for (int i = 0; i < qMin(int(percentuali.size()), slot); ++i)
        p.Percentuale[i + 1] = percentuali[i];
    return p;
}

Esito calcola(const DatiPagamento *p, const DatiCliente *c, QDate data, double importo, double iva,
              int modo = SpesaNessuna, double perc = 0, QList<double> spese = {}, double min = 0,
              double max = 0, const QString &codice = QStringLiteral("R30"))
{
    Esito e;
    e.spese = spese;
    CalcScadenzeDati(p, c, data, importo, iva, codice, QStringLiteral("01"), QStringLiteral("02"),
                     QStringLiteral("0003"), 2, e.date, e.importi, e.numScad, e.numErr, e.errori, modo,
                     Currency::fromDouble(perc), e.spese, Currency::fromDouble(0.01), QStringLiteral("A"),
                     min, max, e.decorrenza);
    return e;
}

const DatiCliente nessunMese;

} // namespace

TEST(CalcScadenze, EmptyPaymentCodeGivesNoInstalments)
{
    const auto p = pagamento("D", "M", "", 3);
    const Esito e =
        calcola(&p, &nessunMese, QDate(2024, 1, 15), 1000, 220, SpesaNessuna, 0, {}, 0, 0, QString());
    EXPECT_EQ(e.numScad, 0);
    EXPECT_EQ(e.importi.size(), 1);
    EXPECT_EQ(e.date.size(), 1);
    EXPECT_EQ(e.numErr, 0);
}

TEST(CalcScadenze, NoInstalmentCountGivesOneAtTheDocumentDate)
{
    const auto p = pagamento("F", "M", "", 0);
    const Esito e = calcola(&p, &nessunMese, QDate(2024, 3, 12), 100.004, 22.002);
    ASSERT_EQ(e.numScad, 1);
    EXPECT_DOUBLE_EQ(e.importi[1], 122.01);
    EXPECT_EQ(e.date[1], QDate(2024, 3, 12));
    EXPECT_EQ(e.decorrenza, QDate(2024, 3, 12));
    EXPECT_EQ(e.numErr, 0);
}

struct CasoRipartizione {
    const char *nome;
    const char *periodicita;
    const char *trattamIva;
    int numScad;
    QList<double> percentuali;
    QList<double> attesi;
};

class Ripartizione : public ::testing::TestWithParam<CasoRipartizione>
{
};

// Cases are shown by name: printed byte by byte they would show their padding.
void PrintTo(const CasoRipartizione &c, std::ostream *os)
{
    *os << c.nome;
}

TEST_P(Ripartizione, RemainderLandsOnTheLastInstalment)
{
    const CasoRipartizione &c = GetParam();
    const auto p = pagamento("D", c.periodicita, c.trattamIva, c.numScad, 0, 1, {1, 1, 1, 1}, c.percentuali);
    const Esito e = calcola(&p, &nessunMese, QDate(2024, 1, 15), 1000.00, 220.00);
    ASSERT_EQ(e.numScad, c.attesi.size());
    EXPECT_EQ(e.numErr, 0) << e.errori.toStdString();
    double somma = 0;
    for (int i = 0; i < c.attesi.size(); ++i) {
        EXPECT_NEAR(e.importi[i + 1], c.attesi[i], 1e-9) << "instalment " << i + 1;
        somma += e.importi[i + 1];
    }
    EXPECT_NEAR(somma, 1220.00, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    CalcScadenze, Ripartizione,
    ::testing::Values(
        CasoRipartizione{"VatSpread", "M", "", 3, {}, {406.67, 406.67, 406.66}},
        CasoRipartizione{"VatFirstAlone", "M", "U", 3, {}, {220.00, 500.00, 500.00}},
        CasoRipartizione{"VatOnFirst", "M", "P", 3, {}, {553.33, 333.33, 333.34}},
        CasoRipartizione{"VatAloneOneInstalmentActsAsP", "M", "u", 1, {}, {1220.00}},
        CasoRipartizione{"Days", "G", "", 3, {}, {406.67, 406.67, 406.66}},
        CasoRipartizione{"PercentAndEqualShare", "T", "", 2, {30, 0}, {366.00, 854.00}},
        CasoRipartizione{"PercentShortfallToLast", "A", "", 3, {20, 20, 20}, {244.00, 244.00, 732.00}},
        CasoRipartizione{"PercentWithVatFirst", "T", "U", 3, {0, 25}, {220.00, 250.00, 750.00}}),
    [](const auto &info) { return std::string(info.param.nome); });

struct CasoDate {
    const char *nome;
    const char *decorrenza;
    const char *periodicita;
    int giornoFisso;
    int numGGMM;
    QDate documento;
    QDate inizio;
    QList<QDate> scadenze;
};

class Date : public ::testing::TestWithParam<CasoDate>
{
};

void PrintTo(const CasoDate &c, std::ostream *os)
{
    *os << c.nome;
}

TEST_P(Date, CountingStartAndSteps)
{
    const CasoDate &c = GetParam();
    const auto p = pagamento(c.decorrenza, c.periodicita, "", int(c.scadenze.size()), c.giornoFisso,
                             c.numGGMM, {1, 2, 1});
    const Esito e = calcola(&p, &nessunMese, c.documento, 300, 0);
    ASSERT_EQ(e.numScad, c.scadenze.size());
    EXPECT_EQ(e.decorrenza, c.inizio);
    for (int i = 0; i < c.scadenze.size(); ++i)
        EXPECT_EQ(e.date[i + 1], c.scadenze[i]) << "instalment " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(CalcScadenze, Date,
                         ::testing::Values(CasoDate{"EndOfMonthResnaps",
                                                    "F",
                                                    "M",
                                                    0,
                                                    1,
                                                    QDate(2024, 1, 31),
                                                    QDate(2024, 1, 31),
                                                    {QDate(2024, 2, 29), QDate(2024, 3, 31)}},
                                           CasoDate{"EndOfMonthPlusFixedDay",
                                                    "F",
                                                    "M",
                                                    10,
                                                    1,
                                                    QDate(2024, 1, 20),
                                                    QDate(2024, 2, 10),
                                                    {QDate(2024, 3, 10), QDate(2024, 4, 10)}},
                                           CasoDate{"EndOfNextMonth",
                                                    "S",
                                                    "M",
                                                    0,
                                                    1,
                                                    QDate(2024, 1, 5),
                                                    QDate(2024, 2, 29),
                                                    {QDate(2024, 3, 31), QDate(2024, 4, 30)}},
                                           CasoDate{"FixedDayNextMonth",
                                                    "D",
                                                    "M",
                                                    15,
                                                    1,
                                                    QDate(2024, 5, 20),
                                                    QDate(2024, 6, 15),
                                                    {QDate(2024, 7, 15)}},
                                           CasoDate{"FixedDaySameMonth",
                                                    "D",
                                                    "M",
                                                    15,
                                                    1,
                                                    QDate(2024, 5, 10),
                                                    QDate(2024, 5, 15),
                                                    {QDate(2024, 6, 15)}},
                                           CasoDate{"DocumentDateDays",
                                                    "X",
                                                    "G",
                                                    0,
                                                    30,
                                                    QDate(2024, 1, 15),
                                                    QDate(2024, 1, 15),
                                                    {QDate(2024, 2, 14), QDate(2024, 3, 15)}},
                                           CasoDate{
                                               "PeriodsInMonths",
                                               "",
                                               "T",
                                               0,
                                               0,
                                               QDate(2024, 1, 31),
                                               QDate(2024, 1, 31),
                                               {QDate(2024, 2, 29), QDate(2024, 4, 29), QDate(2024, 5, 29)}},
                                           CasoDate{"PeriodsInDays",
                                                    "",
                                                    "A",
                                                    0,
                                                    0,
                                                    QDate(2024, 1, 31),
                                                    QDate(2024, 1, 31),
                                                    {QDate(2024, 2, 1), QDate(2024, 2, 3)}}),
                         [](const auto &info) { return std::string(info.param.nome); });

TEST(CalcScadenze, ExcludedMonthWithReplacementDayCountsOnFromTheUnshiftedDate)
{
    const auto p = pagamento("D", "M", "", 2);
    DatiCliente c;
    c.MeseNoEf1 = 8;
    c.GioMesSucc1 = 10;
    Esito e = calcola(&p, &c, QDate(2024, 7, 31), 200, 0);
    ASSERT_EQ(e.numScad, 2);
    EXPECT_EQ(e.date[1], QDate(2024, 9, 10));
    EXPECT_EQ(e.date[2], QDate(2024, 9, 30));

    c.GioMesSucc1 = 0;
    e = calcola(&p, &c, QDate(2024, 7, 31), 200, 0);
    EXPECT_EQ(e.date[1], QDate(2024, 9, 30));
    EXPECT_EQ(e.date[2], QDate(2024, 10, 30));
}

TEST(CalcScadenze, ExcludedSecondMonthWithFixedDay)
{
    const auto p = pagamento("F", "M", "", 2, 5);
    DatiCliente c;
    c.MeseNoEf1 = 1;
    c.MeseNoEf2 = 8;
    c.GioMesSucc2 = 20;
    const Esito e = calcola(&p, &c, QDate(2024, 6, 10), 200, 0);
    // start 5 July; +1 month = 5 August, excluded: 20 September, then back to 5 September.
    EXPECT_EQ(e.date[1], QDate(2024, 9, 20));
    EXPECT_EQ(e.date[2], QDate(2024, 9, 5));

    c.GioMesSucc2 = 0;
    const Esito f = calcola(&p, &c, QDate(2024, 6, 10), 200, 0);
    EXPECT_EQ(f.date[1], QDate(2024, 9, 5));
    EXPECT_EQ(f.date[2], QDate(2024, 10, 5));
}

TEST(CalcScadenze, ComputedChargesAreLimitedAndAddedToTheirInstalment)
{
    const auto p = pagamento("D", "M", "", 2);
    const Esito e = calcola(&p, &nessunMese, QDate(2024, 1, 15), 1000, 0, SpesaCalcolata, 2, {}, 1.0, 0);
    ASSERT_EQ(e.spese.size(), 3);
    EXPECT_DOUBLE_EQ(e.spese[1], 10.00);
    EXPECT_DOUBLE_EQ(e.spese[2], 10.00);
    EXPECT_DOUBLE_EQ(e.importi[1], 510.00);
    EXPECT_DOUBLE_EQ(e.importi[2], 510.00);

    const Esito piccolo = calcola(&p, &nessunMese, QDate(2024, 1, 15), 30, 0, SpesaCalcolata, 2, {}, 1.0, 0);
    EXPECT_DOUBLE_EQ(piccolo.spese[1], 1.00);
    EXPECT_DOUBLE_EQ(piccolo.importi[1], 16.00);

    const Esito tetto =
        calcola(&p, &nessunMese, QDate(2024, 1, 15), 1000, 0, SpesaCalcolata, 2, {}, 1.0, 4.0);
    EXPECT_DOUBLE_EQ(tetto.spese[2], 4.00);
    EXPECT_DOUBLE_EQ(tetto.importi[2], 504.00);
}

TEST(CalcScadenze, ChargeOfTheFirstInstalmentFollowsItsVat)
{
    const auto p = pagamento("D", "M", "P", 2);
    const Esito e = calcola(&p, &nessunMese, QDate(2024, 1, 15), 1000, 220, SpesaCalcolata, 1);
    EXPECT_DOUBLE_EQ(e.spese[1], 7.20);
    EXPECT_DOUBLE_EQ(e.importi[1], 727.20);
    EXPECT_DOUBLE_EQ(e.spese[2], 5.00);
}

TEST(CalcScadenze, GivenChargesComeOffBeforeSplittingAndBackOnTheirInstalment)
{
    const auto p = pagamento("D", "M", "", 2);
    const Esito e = calcola(&p, &nessunMese, QDate(2024, 1, 15), 100, 0, SpesaData, 0, {0, 1.5, 1.5});
    ASSERT_EQ(e.numScad, 2);
    EXPECT_DOUBLE_EQ(e.importi[1], 50.00);
    EXPECT_DOUBLE_EQ(e.importi[2], 50.00);
}

TEST(CalcScadenze, UnknownPaymentIsReportedAndLeavesNoStaleInstalments)
{
    Esito e;
    e.importi = {0, 10, 20};
    e.date = {QDate(), QDate(2020, 1, 1), QDate(2020, 2, 1)};
    e.numScad = 2;
    CalcScadenzeDati(nullptr, &nessunMese, QDate(2024, 1, 1), 100, 22, QStringLiteral("ZZ"),
                     QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("0003"), 2, e.date, e.importi,
                     e.numScad, e.numErr, e.errori, SpesaCalcolata, Currency(1), e.spese, Currency(0),
                     QStringLiteral("A"), 0, 0, e.decorrenza);
    EXPECT_EQ(e.numScad, 0);
    EXPECT_EQ(e.importi.size(), 1);
    EXPECT_EQ(e.date.size(), 1);
    EXPECT_EQ(e.numErr, 1);
    EXPECT_TRUE(e.errori.contains(QStringLiteral("ZZ")));
}

TEST(CalcScadenze, MissingCustomerIsTheModulesOwnError)
{
    const auto p = pagamento("D", "M", "", 2);
    const Esito e = calcola(&p, nullptr, QDate(2024, 1, 1), 100, 22);
    EXPECT_EQ(e.numErr, 1);
    EXPECT_EQ(e.numScad, 0);
    EXPECT_EQ(e.errori,
              QStringLiteral("Errore n°0 : Manca il cliente con codice :01-02-0003 in Calcolo scadenze\r\n"));
}

TEST(CalcScadenze, NegativeInstalmentCountNeverComesBack)
{
    const auto p = pagamento("D", "M", "", -2);
    const Esito e = calcola(&p, &nessunMese, QDate(2024, 1, 1), 100, 22);
    EXPECT_EQ(e.numScad, 0);
    EXPECT_EQ(e.numErr, 1);
    EXPECT_EQ(e.importi.size(), 1);
}

TEST(CalcScadenze, MorePeriodsThanTheTableHoldsEndsThroughTheErrorPath)
{
    auto p = pagamento("D", "T", "", 3);
    p.Periodo.resize(3);
    p.Percentuale.resize(3);
    const Esito e = calcola(&p, &nessunMese, QDate(2024, 1, 1), 100, 22);
    EXPECT_EQ(e.numErr, 1);
    EXPECT_TRUE(e.errori.endsWith(QStringLiteral(" in Calcolo scadenze\r\n")));
}

TEST(AccodaErrScad, ThirtyEntriesThenDotsThenOnlyCounted)
{
    ErroriScadenze err;
    err.FaseScad = QStringLiteral("Calcolo scadenze");
    for (int i = 0; i < 35; ++i)
        AccodaErrScad(err, 13, QStringLiteral("x"));
    EXPECT_EQ(err.NumErrScad, 35);
    EXPECT_EQ(err.ErroriScad.count(QStringLiteral("\r\n")), 30);
    EXPECT_TRUE(err.ErroriScad.endsWith(QStringLiteral("\r\n..............")));
}

TEST(LimitaImporto, BoundsApplyOnlyWhenPositive)
{
    struct {
        double min, max, valore, atteso;
    } casi[] = {{1, 0, 0.5, 1},        {1, 0, 5, 5},
                {0, 4, 5, 4},          {0, 0, 5, 5},
                {50, 30, 40, 50},      {50, 30, 60, 30},
                {2, 4, 3, 3},          {-1, -1, -5, -5},
                {1, 0, 0.99999998, 1}, {1, 0, 0.999999999, 0.999999999}};
    for (const auto &c : casi)
        EXPECT_DOUBLE_EQ(LimitaImporto(c.min, c.max, c.valore), c.atteso)
            << c.min << " " << c.max << " " << c.valore;
}
