// Footer engine on stored documents: expenses of every kind with their
// limits, the payment discount on expenses, and the spreading of expenses
// over the VAT rates, worked out by hand to the cent on SQLite and PostgreSQL.
#include "DocumentiSpese.h"

#include "components/util/ListaValori.h"

struct CasoSpesa {
    const char *nome;
    const char *spesa;
    double importo, percentuale, min, max, peso;
    const char *atteso;
};

class ImportiSpese : public ::testing::TestWithParam<std::tuple<BancoPiede::Motore, CasoSpesa>>,
                     protected BaseDocumenti
{
  protected:
    void SetUp() override
    {
        QString motivo;
        if (!prepara(std::get<0>(GetParam()), motivo))
            GTEST_SKIP() << motivo.toStdString();
    }
};

TEST_P(DocumentiSpese, FixedPercentageAndWeightExpensesWithTheirLimits)
{
    testata(1, {{"Peso", 12.5}});
    riga(1, 1, "22", 1000);
    spesa(1, 1, "TRA", "22", {{"Importo", 25}});
    spesa(1, 2, "IMB", "22", {{"Percentuale", 3}, {"ImportoMax", 20}});
    spesa(1, 3, "PES", "22", {{"Importo", 0.8}, {"ImportoMin", 15}});
    spesa(1, 4, "VAR", "22", {{"Importo", 10}, {"ImportoMin", 100}, {"ImportoMax", 500}});
    spesa(1, 5, "VAR", "22", {{"Importo", 7}, {"ImportoMax", 1000}});
    spesa(1, 6, "VAR", "22", {{"Importo", 5}, {"ImportoMin", 1000}});
    calcola(1);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();

    EXPECT_EQ(motore.odTotSpese, Imp("72"));
    EXPECT_EQ(motore.ogSpese->LeggiImporto("Trasporto"), Imp("40"));
    EXPECT_EQ(motore.ogSpese->LeggiImporto("Imballo"), Imp("20"));
    EXPECT_EQ(motore.ogSpese->LeggiImporto("Varie"), Imp("12"));
    EXPECT_EQ(motore.ogSpesePerc->NumeroElementi(), 2);
    EXPECT_EQ(motore.ogSpesePerc->LeggiImporto("2"), Imp("20"));
    EXPECT_EQ(motore.ogSpesePerc->LeggiImporto("3"), Imp("15"));

    const scIva &i = iva("22");
    EXPECT_EQ(i.odSValSpese, Imp("72"));
    EXPECT_EQ(i.ogControp("07010001").odSValSpese, Imp("40"));
    EXPECT_EQ(i.ogControp("07010002").odSValSpese, Imp("20"));
    EXPECT_EQ(i.ogControp("07010003").odSValSpese, Imp("12"));
    EXPECT_EQ(i.odImpon, Imp("1072"));
    EXPECT_EQ(i.odImpos, Imp("235.84"));
    EXPECT_EQ(motore.odTotImponibile, Imp("1072"));
    EXPECT_EQ(motore.odTotMerce, Imp("1000"));
    EXPECT_EQ(motore.odTotFattura, Imp("1307.84"));
    EXPECT_EQ(motore.odTotPagare, Imp("1307.84"));
}

TEST_P(ImportiSpese, OneExpenseOnGoodsOfOneThousand)
{
    const CasoSpesa &c = std::get<1>(GetParam());
    testata(2, {{"Peso", c.peso}});
    riga(2, 1, "22", 1000);
    spesa(2, 1, c.spesa, "22",
          {{"Importo", c.importo},
           {"Percentuale", c.percentuale},
           {"ImportoMin", c.min},
           {"ImportoMax", c.max}});
    calcola(2);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odTotSpese, Imp(c.atteso));
}

INSTANTIATE_TEST_SUITE_P(
    Motori, ImportiSpese,
    ::testing::Combine(
        ::testing::Values(BancoPiede::Motore::SQLite, BancoPiede::Motore::PostgreSQL),
        ::testing::Values(CasoSpesa{"PercentCapped", "IMB", 0, 10, 0, 50, 0, "50"},
                          CasoSpesa{"PercentFree", "IMB", 0, 10, 0, 0, 0, "100"},
                          CasoSpesa{"PercentMinAboveMaxWins", "IMB", 0, 3, 30, 20, 0, "30"},
                          CasoSpesa{"PercentQuarterRoundsOnce", "IMB", 0, 0.2345, 0, 0, 0, "2.35"},
                          CasoSpesa{"WeightRounded", "PES", 1.5, 0, 0, 0, 3.333, "5"},
                          CasoSpesa{"WeightRaisedToMin", "PES", 0.8, 0, 15, 0, 12.5, "15"},
                          CasoSpesa{"FixedInsideRange", "VAR", 10, 0, 100, 1000, 0, "10"},
                          CasoSpesa{"FixedLoneMinIsUpperBound", "VAR", 10, 0, 100, 0, 0, "0"},
                          CasoSpesa{"FixedLoneMinAtGoods", "VAR", 10, 0, 1000, 0, 0, "10"},
                          CasoSpesa{"FixedLoneMaxIsLowerBound", "VAR", 10, 0, 0, 1000.01, 0, "0"},
                          CasoSpesa{"FixedNoLimits", "VAR", 10.005, 0, 0, 0, 0, "10.01"})),
    [](const auto &info) {
        return NomeMotore(std::get<0>(info.param)) + "_" + std::get<1>(info.param).nome;
    });

TEST_P(DocumentiSpese, DiscountedExpenseLineByLineKeepsTheListOfPercentagesUndiscounted)
{
    testata(3, {{"ScontoPag", "2"}, {"ScoPagSuDett", "S"}});
    riga(3, 1, "22", 1000);
    spesa(3, 1, "SCP", "22", {{"Percentuale", 10}});
    calcola(3);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odTotSpese, Imp("98"));
    EXPECT_EQ(motore.ogSpese->LeggiImporto("Soggette"), Imp("98"));
    EXPECT_EQ(iva("22").odSValSpese, Imp("98"));
    EXPECT_EQ(motore.ogSpesePerc->LeggiImporto("1"), Imp("100"));
}

TEST_P(DocumentiSpese, DiscountedExpenseBearsItsShareOfThePaymentDiscount)
{
    testata(4, {{"ScontoPag", "2"}});
    riga(4, 1, "22", 1000);
    spesa(4, 1, "SCO", "22", {{"Importo", 50}});
    calcola(4);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    const scIva &i = iva("22");
    EXPECT_EQ(i.odSValSpesePerSco, Imp("50"));
    EXPECT_EQ(i.odScoPagamSpese, Imp("1"));
    EXPECT_EQ(i.odImpon, Imp("1049"));
    EXPECT_EQ(motore.odTotSpese, Imp("50"));
}

TEST_P(DocumentiSpese, SpreadExpensesFollowTheIncidenceOfEachRateDownToTheAccounts)
{
    testata(5);
    riga(5, 1, "22", 300);
    riga(5, 2, "10", 100);
    spesa(5, 1, "RIP", "22", {{"Importo", 10}});
    calcola(5);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(chiavi(), (QStringList{"10", "22"}));
    EXPECT_EQ(iva("22").odIncid, Imp("75"));
    EXPECT_EQ(iva("10").odIncid, Imp("25"));
    EXPECT_EQ(iva("22").odSValSpese, Imp("7.5"));
    EXPECT_EQ(iva("10").odSValSpese, Imp("2.5"));
    EXPECT_EQ(iva("22").odSpeseRipart, Imp("7.5"));
    EXPECT_EQ(iva("22").odImpon, Imp("307.5"));
    EXPECT_EQ(iva("22").odImpos, Imp("67.65"));
    EXPECT_EQ(iva("10").odImpon, Imp("102.5"));
    EXPECT_EQ(iva("10").odImpos, Imp("10.25"));
    EXPECT_EQ(motore.odTotFattura, Imp("487.9"));
    EXPECT_EQ(motore.odTotSpese, Imp("10"));
    // The expense account carries the spread share on each rate, and the
    // accounts of each rate add up to the rate's base and VAT.
    EXPECT_EQ(iva("22").ogControp("07010004").odSValSpese, Imp("7.5"));
    EXPECT_EQ(iva("22").ogControp("07010004").odImpon, Imp("7.5"));
    EXPECT_EQ(iva("10").ogCdcComp("07010004", "", "").odSValSpese, Imp("2.5"));
    for (const char *c : {"22", "10"}) {
        const auto [impon, impos] = sommaConti(iva(c));
        EXPECT_EQ(impon, iva(c).odImpon) << c;
        EXPECT_EQ(impos, iva(c).odImpos) << c;
    }
}

TEST_P(DocumentiSpese, TheAccountsOfASpreadExpenseAddUpToTheRatesShare)
{
    for (const char *ivati : {"N", "S"}) {
        const int n = ivati[0] == 'N' ? 12 : 13;
        testata(n, {{"PrezziIvati", ivati}});
        riga(n, 1, "22", 300);
        riga(n, 2, "10", 100);
        spesa(n, 1, "RIP", "22", {{"Importo", 0.05}});
        spesa(n, 2, "RIQ", "22", {{"Importo", 0.05}});
        calcola(n);
        ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
        // Each rate's share is rounded by itself: 0.075 and 0.025 of 0.10.
        if (ivati[0] == 'N') {
            EXPECT_EQ(iva("22").odSpeseRipart, Imp("0.08"));
            EXPECT_EQ(iva("10").odSpeseRipart, Imp("0.03"));
        }
        for (const char *c : {"22", "10"}) {
            scIva &i = const_cast<scIva &>(iva(c));
            Currency spese, speseIvate;
            for (const char *conto : {"07010004", "07010008"}) {
                spese += i.ogControp(conto).odSValSpese;
                speseIvate += i.ogControp(conto).odSValIvSpese;
                EXPECT_EQ(i.ogCdcComp(conto, "", "").odSValSpese, i.ogControp(conto).odSValSpese) << c;
            }
            EXPECT_EQ(spese, i.odSValSpese) << ivati << " " << c;
            EXPECT_EQ(speseIvate, i.odSValIvSpese) << ivati << " " << c;
            const auto [impon, impos] = sommaConti(i);
            EXPECT_EQ(impon, i.odImpon) << ivati << " " << c;
            EXPECT_EQ(impos, i.odImpos) << ivati << " " << c;
        }
        // The first account's own share, the residue on the last.
        if (ivati[0] == 'N') {
            EXPECT_EQ(iva("10").ogControp("07010004").odSValSpese, Imp("0.01"));
            EXPECT_EQ(iva("10").ogControp("07010008").odSValSpese, Imp("0.02"));
        }
    }
}

TEST_P(DocumentiSpese, SharesAreRoundedOneByOne)
{
    testata(6);
    riga(6, 1, "22", 100);
    riga(6, 2, "10", 100);
    riga(6, 3, "04", 100);
    spesa(6, 1, "RIP", "22", {{"Importo", 10}});
    calcola(6);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(iva("04").odIncid, Imp("33.333"));
    EXPECT_EQ(iva("10").odIncid, Imp("33.333"));
    EXPECT_EQ(iva("22").odIncid, Imp("33.334"));
    for (const char *c : {"04", "10", "22"})
        EXPECT_EQ(iva(c).odSValSpese, Imp("3.33")) << c;
}

TEST_P(DocumentiSpese, ExemptRatesTakeNoIncidence)
{
    testata(7);
    riga(7, 1, "E8", 200);
    riga(7, 2, "10", 100);
    riga(7, 3, "22", 100);
    spesa(7, 1, "RIP", "22", {{"Importo", 10}});
    calcola(7);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_FALSE(motore.obFattEsente);
    EXPECT_EQ(iva("E8").odSValSpese, Currency());
    EXPECT_EQ(iva("10").odIncid, Imp("25"));
    EXPECT_EQ(iva("22").odIncid, Imp("75"));
    EXPECT_EQ(iva("22").odSValSpese, Imp("7.5"));
}

TEST_P(DocumentiSpese, AllExemptRatesSpreadOnTheFirstWithAndWithoutVatInPrices)
{
    for (const char *ivati : {"N", "S"}) {
        const int n = ivati[0] == 'N' ? 8 : 9;
        testata(n, {{"PrezziIvati", ivati}, {"Bolli", "N"}});
        riga(n, 1, "E8", 200);
        riga(n, 2, "N1", 50);
        spesa(n, 1, "RIP", "22", {{"Importo", 10}});
        calcola(n);
        ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
        EXPECT_TRUE(motore.obFattEsente);
        EXPECT_EQ(chiavi(), (QStringList{"E8", "N1"})) << ivati;
        EXPECT_EQ(iva("E8").odImpon, Imp("210")) << ivati;
        EXPECT_EQ(iva("N1").odImpon, Imp("50")) << ivati;
        EXPECT_EQ(motore.odTotEsente, Imp("260")) << ivati;
        EXPECT_EQ(iva("E8").ogControp("07010004").odImpon, Imp("10")) << ivati;
    }
}

TEST_P(DocumentiSpese, SpreadWithVatInPrices)
{
    testata(10, {{"PrezziIvati", "S"}});
    riga(10, 1, "22", 122);
    spesa(10, 1, "RIP", "22", {{"Importo", 10}});
    calcola(10);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    const scIva &i = iva("22");
    EXPECT_EQ(i.odIncid, Imp("100"));
    EXPECT_EQ(i.odSpeseRipart, Imp("10"));
    EXPECT_EQ(i.odSValIvSpese, Imp("12.2"));
    EXPECT_EQ(i.odImpon, Imp("110"));
    EXPECT_EQ(i.odImpos, Imp("24.2"));
    EXPECT_EQ(motore.odTotFattura, Imp("134.2"));
}

TEST_P(DocumentiSpese, ExpenseWithoutItsVatCodeEndsTheRunWithAnError)
{
    testata(11);
    riga(11, 1, "22", 100);
    spesa(11, 1, "TRA", "ZZ", {{"Importo", 10}});
    calcola(11);
    EXPECT_EQ(motore.oiNumErrori, 1);
    EXPECT_TRUE(motore.osErrori.contains(QStringLiteral("(Lettura Spese)"))) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odTotPagare, Currency());
}

ISTANZIA_MOTORI(DocumentiSpese);
