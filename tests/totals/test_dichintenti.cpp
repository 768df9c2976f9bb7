// Letters-of-intent totals: invoices, delivery notes and orders used under a
// letter in each measure, documents with a payment discount recomputed by the
// footer engine, credit notes, the one-entry cache, and the SQL texts.
#include "DocumentiSpese.h"

#include "components/forms/RisposteProgrammate.h"
#include "totals/DichIntenti.h"

using namespace DichIntenti;

namespace
{

class LettereIntento : public DocumentiSpese
{
  protected:
    void SetUp() override
    {
        DocumentiSpese::SetUp();
        if (IsSkipped())
            return;
        AzzeraCache();
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
    }
    void TearDown() override
    {
        RisposteProgrammate::Azzera();
        AzzeraCache();
    }

    // A header of any kind under letter `lettera` of the customer 01/03/0001.
    void documento(const char *tabella, int numero, double totDocum, const QVariantMap &altro = {},
                   int lettera = 5)
    {
        QVariantMap v{{"Anno", 2024},
                      {"NumRif", numero},
                      {"DataRif", QDate(2024, 5, 2)},
                      {"GruppoCli", "01"},
                      {"MastroCli", "03"},
                      {"ContoCli", "0001"},
                      {"Moneta", "EUR"},
                      {"Pagamento", "RD30"},
                      {"PrezziIvati", "N"},
                      {"Acconto", 0},
                      {"PdcDicIntenti", lettera},
                      {"TotDocum", totDocum},
                      {"TotMerce", totDocum},
                      {"TotIva", 0},
                      {"TotImpon", totDocum}};
        if (QLatin1String(tabella) == QLatin1String("FatTest"))
            v.insert(QStringLiteral("FattDocumento"), QStringLiteral("FT"));
        for (auto it = altro.begin(); it != altro.end(); ++it)
            v.insert(it.key(), it.value());
        banco.Inserisci(QString::fromLatin1(tabella), v);
    }

    void misura(const char *m)
    {
        banco.ParametroHost(QStringLiteral("Personal.Tutti.§DichIntentiQualeTot"), QString::fromLatin1(m));
    }

    struct Totali {
        double fatture = -1, ddt = -1, ordini = -1;
    };
    Totali tot(int lettera = 5, const char *conto = "0001", bool ricalcola = false)
    {
        Totali t;
        TotDichIntenti(lettera, QStringLiteral("01"), QStringLiteral("03"), QString::fromLatin1(conto),
                       t.fatture, t.ddt, t.ordini, ricalcola);
        return t;
    }

    void documentiMisti()
    {
        documento("FatTest", 1, 300);
        documento("FatTest", 2, 100, {{"FattDocumento", "NC"}});
        documento("FatTest", 3, 1000, {}, 6);
        documento("FatTest", 4, 50, {{"ContoCli", "0002"}});
        documento("DdtTest", 1, 50, {{"Stato", "S"}});
        documento("DdtTest", 2, 30);
        documento("DdtTest", 3, 1000, {{"Stato", "X"}});
        documento("OrdVenTest", 1, 40);
        documento("OrdVenTest", 2, 500, {{"Stato", "S"}});
    }
};

} // namespace

TEST_P(LettereIntento, LetterZeroAsksNothing)
{
    const Totali t = tot(0);
    EXPECT_EQ(t.fatture, 0);
    EXPECT_EQ(t.ddt, 0);
    EXPECT_EQ(t.ordini, 0);
    EXPECT_TRUE(DicCacheKey().QualeTot.isEmpty());
}

TEST_P(LettereIntento, DocumentTotalsWithSignAndStateFilters)
{
    documentiMisti();
    const Totali t = tot();
    EXPECT_DOUBLE_EQ(t.fatture, 200);
    EXPECT_DOUBLE_EQ(t.ddt, 80);
    EXPECT_DOUBLE_EQ(t.ordini, 40);
    EXPECT_EQ(DicCacheKey().QualeTot, QStringLiteral("D"));
    EXPECT_TRUE(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).isEmpty());
}

TEST_P(LettereIntento, NetMeasureTakesOffVatAndTaxable)
{
    misura("E");
    documento("FatTest", 1, 122, {{"TotIva", 22}, {"TotImpon", 100}});
    documento("FatTest", 2, 100, {{"TotIva", 0}, {"TotImpon", 0}});
    const Totali t = tot();
    EXPECT_DOUBLE_EQ(t.fatture, 100);
    // Kinds without documents are 0, and nothing is shown for them.
    EXPECT_EQ(t.ddt, 0);
    EXPECT_EQ(t.ordini, 0);
    EXPECT_TRUE(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).isEmpty());
}

TEST_P(LettereIntento, GoodsMeasureRecomputesDiscountedDocumentsWithTheirSign)
{
    misura("m");
    documento("FatTest", 1, 250, {{"TotMerce", 250}});
    documento("FatTest", 2, 0, {{"ScontoPag", "2"}, {"TotMerce", 999}});
    riga(2, 1, "22", 100, {{"FlScontoPag", "S"}});
    documento("FatTest", 3, 0, {{"ScontoPag", "2"}, {"FattDocumento", "NC"}, {"TotMerce", 999}});
    riga(3, 1, "22", 50, {{"FlScontoPag", "S"}});
    documento("FatTest", 4, 10, {{"ScontoPag", "0"}, {"TotMerce", 10}});
    documento("OrdVenTest", 1, 0, {{"ScontoPag", "3"}, {"TotMerce", 999}});
    banco.Inserisci(QStringLiteral("OrdVenDett"), {{"Anno", 2024},
                                                   {"NumRif", 1},
                                                   {"RigDet", 1},
                                                   {"RigLiv", 1},
                                                   {"TipoRiga", "M"},
                                                   {"Omaggio", "N"},
                                                   {"qta", 1},
                                                   {"Iva", "22"},
                                                   {"ValTotale", 200},
                                                   {"ValUnitario", 200},
                                                   {"gruppoven", "04"},
                                                   {"MastroVen", "20"},
                                                   {"contoVen", "0001"},
                                                   {"FlScontoPag", "S"},
                                                   {"SoggRitAcc", "N"}});
    const Totali t = tot();
    // 250 + (100 - 2) - (50 - 1) + 10
    EXPECT_DOUBLE_EQ(t.fatture, 309);
    EXPECT_DOUBLE_EQ(t.ordini, 194);
    EXPECT_EQ(t.ddt, 0);
    EXPECT_TRUE(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).isEmpty());
}

TEST_P(LettereIntento, EngineErrorsOfRecomputedDocumentsAreShownOnce)
{
    misura("M");
    documento("FatTest", 1, 0, {{"ScontoPag", "2"}});
    documento("FatTest", 2, 0, {{"ScontoPag", "2"}});
    documento("DdtTest", 1, 0, {{"ScontoPag", "2"}});
    tot();
    const auto mostrati = RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom);
    ASSERT_EQ(mostrati.size(), 1);
    const QString testo = mostrati.first().value(QStringLiteral("testo")).toString();
    EXPECT_EQ(testo.count(QStringLiteral("Documento senza dettagli")), 3) << testo.toStdString();
}

TEST_P(LettereIntento, CacheAnswersWithoutAskingWhileTheLetterStays)
{
    documentiMisti();
    EXPECT_DOUBLE_EQ(tot().fatture, 200);
    documento("FatTest", 9, 1000);
    EXPECT_DOUBLE_EQ(tot().fatture, 200);
    EXPECT_DOUBLE_EQ(tot(5, "0001", true).fatture, 1200);
    EXPECT_DOUBLE_EQ(tot(6).fatture, 1000);
    EXPECT_DOUBLE_EQ(tot(5).fatture, 1200);
}

TEST_P(LettereIntento, MeasureIsReadOnceAndAnythingElseIsDocumentTotals)
{
    misura("x");
    documento("FatTest", 1, 300, {{"TotMerce", 120}});
    EXPECT_DOUBLE_EQ(tot().fatture, 300);
    misura("M");
    EXPECT_DOUBLE_EQ(tot(5, "0001", true).fatture, 300);
    EXPECT_EQ(DicCacheKey().QualeTot, QStringLiteral("D"));
}

ISTANZIA_MOTORI(LettereIntento);

TEST(DichIntentiCache, KeyComparedWithoutRegardToCaseAndNoDatabaseNeeded)
{
    AzzeraCache();
    ChiaveCache &c = DicCacheKey();
    c.Gruppo = QStringLiteral("AB");
    c.Mastro = QStringLiteral("Cd");
    c.Conto = QStringLiteral("x1");
    c.DicIntenti = 3;
    c.TotFatture = 11;
    c.TotDdt = 22;
    c.TotOrdini = 33;
    double f = 0, d = 0, o = 0;
    TotDichIntenti(3, QStringLiteral("ab"), QStringLiteral("CD"), QStringLiteral("X1"), f, d, o, false);
    EXPECT_EQ(f, 11);
    EXPECT_EQ(d, 22);
    EXPECT_EQ(o, 33);
    AzzeraCache();
}

TEST(DichIntentiSql, SumsAndDiscountedKeys)
{
    AzzeraCache();
    ChiaveCache &c = DicCacheKey();
    c.Gruppo = QStringLiteral("01");
    c.Mastro = QStringLiteral("03");
    c.Conto = QStringLiteral("D'0");
    c.DicIntenti = 7;
    EXPECT_EQ(
        SqlSommaDocDichInt(QStringLiteral("DdtTest"), QStringLiteral("D"), QStringLiteral("M")),
        QStringLiteral("Select sum(TotDocum) as Totale, sum(TotMerce) as MerceTot, sum(TotIva) as IvaTot, "
                       "sum(TotImpon) as ImponTot From DdtTest Where DdtTest.GruppoCli = '01' And "
                       "DdtTest.MastroCli = '03' And DdtTest.ContoCli = 'D''0' And DdtTest.PdcDicIntenti = 7 "
                       "And (isnull(DdtTest.ScontoPag) or DdtTest.ScontoPag = '0')"));
    EXPECT_EQ(
        SqlSommaDocDichInt(QStringLiteral("FatTest"), QStringLiteral("F"), QStringLiteral("D")),
        QStringLiteral("Select sum(TotDocum * iif(FattDocumenti.segno = '-',-1,1)) as Totale, "
                       "sum(TotMerce * iif(FattDocumenti.segno = '-',-1,1)) as MerceTot, "
                       "sum(TotIva * iif(FattDocumenti.segno = '-',-1,1)) as IvaTot, "
                       "sum(TotImpon * iif(FattDocumenti.segno = '-',-1,1)) as ImponTot From FatTest "
                       "Left Join FattDocumenti on FatTest.FattDocumento = FattDocumenti.FattDocumento "
                       "Where FatTest.GruppoCli = '01' And FatTest.MastroCli = '03' And FatTest.ContoCli = "
                       "'D''0' And FatTest.PdcDicIntenti = 7"));
    EXPECT_EQ(SqlDocScoPagDichInt(QStringLiteral("OrdVenTest")),
              QStringLiteral(
                  "Select Anno,NumRif From OrdVenTest Where GruppoCli = '01' And MastroCli = '03' And "
                  "ContoCli = 'D''0' And PdcDicIntenti = 7 And not isnull(ScontoPag) And ScontoPag <> '0'"));
    EXPECT_EQ(TabelleTipoDoc(QStringLiteral("d")).FiltroStato,
              QStringLiteral(" And (Stato = 'S' Or Stato Is Null)"));
    EXPECT_EQ(TabelleTipoDoc(QStringLiteral("O")).FiltroStato, QStringLiteral(" And Stato Is Null"));
    EXPECT_TRUE(TabelleTipoDoc(QStringLiteral("F")).FiltroStato.isEmpty());
    AzzeraCache();
}
