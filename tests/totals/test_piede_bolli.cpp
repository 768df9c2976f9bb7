// Footer engine on stored documents: withholding tax (packed percentages
// included), the social-security fund inside and outside the taxable base,
// stamp duty on exempt amounts and per due date, the collection expense
// spread over the due dates, and the amount due, on SQLite and PostgreSQL.
#include "DocumentiSpese.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/util/ListaValori.h"
#include "components/util/VbErrore.h"

using Ritenuta = DocumentiSpese;
using Bolli = DocumentiSpese;

TEST(PiedeAccessori, FreshEngineHasNoDueDateExpensesAndNoLevels)
{
    scCalcPiedeFat e;
    EXPECT_EQ(e.oiSpeseScadNum(), 0);
    EXPECT_EQ(e.odTotMerceSco(0), QVariant(0));
    EXPECT_EQ(e.odTotMerceSco(1).typeId(), QMetaType::Int);
    EXPECT_THROW(e.odSpeseScad(1), VbErrore);
}

TEST_P(Ritenuta, PackedPercentageWithholdsOnHalfTheBase)
{
    struct {
        double perc;
        const char *base, *eff, *ritenuta, *pagare;
    } casi[] = {{2000.5, "1000", "500", "100", "1730"}, {20, "1000", "1000", "200", "1630"}};
    int n = 20;
    for (const auto &c : casi) {
        testata(n, {{"PercRitAcc", c.perc}});
        riga(n, 1, "22", 1000, {{"SoggRitAcc", "S"}});
        riga(n, 2, "22", 500, {{"SoggRitAcc", "N"}});
        calcola(n);
        ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
        EXPECT_EQ(motore.odTotImpRitAcc, Imp(c.base)) << c.perc;
        EXPECT_EQ(motore.odTotImpRitAccEff, Imp(c.eff)) << c.perc;
        EXPECT_EQ(motore.odRitAcc, Imp(c.ritenuta)) << c.perc;
        EXPECT_EQ(motore.odTotFattura, Imp("1830")) << c.perc;
        EXPECT_EQ(motore.odTotPagare, Imp(c.pagare)) << c.perc;
        ++n;
    }
}

TEST_P(Ritenuta, FundInsideTheTaxableBase)
{
    testata(30, {{"PercRitAcc", 20}});
    riga(30, 1, "22", 1000, {{"SoggRitAcc", "S"}});
    spesa(30, 1, "CAS", "22",
          {{"CassaPrev", "S"}, {"Percentuale", 4}, {"Gruppo", "09"}, {"Mastro", "02"}, {"Conto", "0003"}});
    calcola(30);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odRitAcc, Imp("200"));
    EXPECT_EQ(motore.ouTotCassaPrev, Imp("40"));
    EXPECT_EQ(motore.ouPercCassaPrev, Imp("4"));
    EXPECT_EQ(motore.osCassaPrevConto, QStringLiteral("0003"));
    EXPECT_EQ(motore.odTotSpese, Imp("40"));
    EXPECT_EQ(iva("22").odImpon, Imp("1040"));
    EXPECT_EQ(iva("22").odImpos, Imp("228.8"));
    EXPECT_EQ(motore.odTotFattura, Imp("1268.8"));
    EXPECT_EQ(motore.odTotPagare, Imp("1068.8"));
    EXPECT_EQ(motore.ogSpesePerc->LeggiImporto("1"), Imp("40"));
}

TEST_P(Ritenuta, FundOutsideTheTaxableBaseComesOffTheAmountDue)
{
    banco.ParametroHost(QStringLiteral("Personal.Tutti.§CassaPrevNoImpon"), QStringLiteral("s"));
    testata(31, {{"PercRitAcc", 20}});
    riga(31, 1, "22", 1000, {{"SoggRitAcc", "S"}});
    spesa(31, 1, "CAS", "22", {{"CassaPrev", "S"}, {"Percentuale", 4}, {"ImportoMax", 30}});
    calcola(31);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_TRUE(motore.obCassaPrevNoImpon);
    EXPECT_EQ(motore.ouTotCassaPrev, Imp("30"));
    EXPECT_EQ(motore.odTotSpese, Currency());
    EXPECT_EQ(motore.ogSpesePerc->LeggiImporto("1"), Currency());
    EXPECT_EQ(motore.odTotFattura, Imp("1220"));
    EXPECT_EQ(motore.odTotPagare, Imp("990"));
}

TEST_P(Ritenuta, NoWithholdingPercentageNeverRaisesTheAmountDue)
{
    for (double perc : {0.0, -5.0}) {
        const int n = perc == 0 ? 32 : 33;
        testata(n, {{"PercRitAcc", perc}});
        riga(n, 1, "22", 1000, {{"SoggRitAcc", "S"}});
        spesa(n, 1, "CAF", "22", {{"CassaPrev", "S"}, {"Importo", 25}});
        calcola(n);
        ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
        EXPECT_EQ(motore.odTotImpRitAcc, Imp("1000")) << perc;
        EXPECT_EQ(motore.odRitAcc, Currency()) << perc;
        EXPECT_EQ(motore.ouTotCassaPrev, Imp("25")) << perc;
        EXPECT_EQ(motore.odTotFattura, Imp("1250.5")) << perc;
        EXPECT_EQ(motore.odTotPagare, motore.odTotFattura) << perc;
    }
}

TEST_P(Ritenuta, FundToBeSpreadLeavesNoPseudoRate)
{
    testata(34);
    riga(34, 1, "22", 300, {{"SoggRitAcc", "S"}});
    riga(34, 2, "10", 100, {{"SoggRitAcc", "S"}});
    spesa(34, 1, "CAR", "22", {{"CassaPrev", "S"}, {"Percentuale", 4}});
    calcola(34);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(chiavi(), (QStringList{"10", "22"}));
    EXPECT_EQ(motore.ouTotCassaPrev, Imp("16"));
    EXPECT_EQ(iva("22").odImpon, Imp("312"));
    EXPECT_EQ(iva("10").odImpon, Imp("104"));
    EXPECT_EQ(motore.odTotFattura, Imp("495.04"));
}

TEST_P(Bolli, StampOnExemptAmountsAboveTheThreshold)
{
    struct {
        double esente;
        const char *bolli, *fattura;
    } casi[] = {{77.47, "0", "77.47"}, {77.48, "2", "79.48"}};
    int n = 40;
    for (const auto &c : casi) {
        testata(n);
        riga(n, 1, "E8", c.esente);
        calcola(n);
        ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
        EXPECT_EQ(motore.odTotBolli, Imp(c.bolli)) << c.esente;
        EXPECT_EQ(motore.odTotFattura, Imp(c.fattura)) << c.esente;
        EXPECT_EQ(motore.odTotEsente, Imp(c.fattura)) << c.esente;
        EXPECT_EQ(motore.odTotPagare, Imp(c.fattura)) << c.esente;
        ++n;
    }
    EXPECT_TRUE(iva("E8").obIvaBolli);
    EXPECT_EQ(iva("E8").odImpon, Imp("79.48"));
    EXPECT_EQ(iva("E8").ogControp("04100007").odImpon, Imp("2"));
}

TEST_P(Bolli, NonProfitPaysNoExemptStampAndCreditNotesGetANegativeOne)
{
    testata(42, {{"FattDocumento", "NC"}});
    riga(42, 1, "E8", 100);
    calcola(42);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odTotBolli, Imp("-2"));

    banco.ParametroHost(QStringLiteral("Fat.Onlus"), QStringLiteral("S"));
    testata(43);
    riga(43, 1, "E8", 100);
    calcola(43);
    EXPECT_EQ(motore.odTotBolli, Currency());
}

TEST_P(Bolli, ReceiptsTakeTheBracketOfOneDueDateWithItsOwnStamp)
{
    struct {
        const char *pagamento;
        double importo;
        const char *bolli;
    } casi[] = {{"RB1", 100, "1.29"}, {"RB1", 128, "2.58"}, {"RB2", 600, "7"}};
    int n = 50;
    for (const auto &c : casi) {
        testata(n, {{"Pagamento", c.pagamento}});
        riga(n, 1, "N1", c.importo);
        calcola(n);
        ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
        EXPECT_EQ(motore.odTotBolli, Imp(c.bolli)) << c.importo;
        EXPECT_EQ(motore.odTotFattura, Currency::fromDouble(c.importo) + Imp(c.bolli)) << c.importo;
        ++n;
    }
}

TEST_P(Bolli, NothingLeftToPayCarriesNoStampPerDueDate)
{
    testata(55, {{"Pagamento", "RB1"}, {"Acconto", 100}});
    riga(55, 1, "N1", 100);
    calcola(55);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odTotBolli, Currency());
    EXPECT_EQ(motore.odTotPagare, Currency());
}

TEST_P(Bolli, BillsStampPerMilleRoundedUp)
{
    testata(60, {{"Pagamento", "TR2"}});
    riga(60, 1, "N1", 10001);
    calcola(60);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    // 5000.50 x 1.2 per mille = 6.0006, up to the next 0.10: 6.10 on each of two bills.
    EXPECT_EQ(motore.odTotBolli, Imp("12.2"));
    EXPECT_EQ(motore.odTotFattura, Imp("10013.2"));
}

TEST_P(Bolli, CollectionExpenseSpreadOverTheDueDates)
{
    testata(61, {{"Pagamento", "TR2"}});
    riga(61, 1, "N1", 1000);
    spesa(61, 1, "INC", "E8", {{"TipoAddebito", "T"}, {"Percentuale", 1}});
    calcola(61);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.oiSpeseScadNum(), 2);
    EXPECT_DOUBLE_EQ(motore.odSpeseScad(1), 5.0);
    EXPECT_DOUBLE_EQ(motore.odSpeseScad(2), 5.0);
    EXPECT_DOUBLE_EQ(motore.odTotBolliScad, 10.0);
    EXPECT_EQ(motore.odTotBolli, Imp("10"));
    EXPECT_EQ(motore.odTotSpese, Currency());
    EXPECT_EQ(motore.odTotFattura, Imp("1010"));
    EXPECT_EQ(iva("E8").ogControp("07010005").odImpon, Imp("10"));
}

TEST_P(Bolli, DueDateErrorsReachTheEngineList)
{
    testata(62, {{"Pagamento", "TR2"}, {"ContoCli", "9999"}});
    riga(62, 1, "N1", 1000);
    spesa(62, 1, "INC", "E8", {{"TipoAddebito", "T"}, {"Percentuale", 1}});
    calcola(62);
    EXPECT_EQ(motore.oiNumErrori, 1);
    EXPECT_TRUE(motore.osErrori.contains(QStringLiteral("Manca il cliente con codice :01-03-9999")))
        << motore.osErrori.toStdString();
    EXPECT_TRUE(motore.osErrori.contains(QStringLiteral("(Calcolo Bolli)")));
    EXPECT_EQ(motore.odTotBolli, Currency());
    EXPECT_EQ(motore.odTotPagare, Imp("1000"));
}

ISTANZIA_MOTORI(Ritenuta);
ISTANZIA_MOTORI(Bolli);
