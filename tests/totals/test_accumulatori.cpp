// Per-VAT-key, counter-account and cost-centre accumulators of the footer engine.
#include "totals/scIve.h"

#include "components/util/VbErrore.h"

#include <gtest/gtest.h>

namespace
{
Currency C(const char *testo)
{
    Currency c;
    EXPECT_TRUE(Currency::parse(QString::fromLatin1(testo), c)) << testo;
    return c;
}
} // namespace

TEST(scIve, ChiaviSenzaRiguardoAlleMaiuscoleEInOrdine)
{
    scIve ive;
    EXPECT_FALSE(ive.obEsiste(QStringLiteral("22")));
    ive.AddIva(QStringLiteral("e8"));
    ive.AddIva(QStringLiteral("22"));
    ive.AddIva(QStringLiteral("04"));
    EXPECT_TRUE(ive.obEsiste(QStringLiteral("E8")));
    EXPECT_EQ(ive.ogIva(QStringLiteral("E8")).osIva, QStringLiteral("e8"));
    EXPECT_THROW(ive.AddIva(QStringLiteral("E8")), VbErrore);
    QStringList ordine;
    for (scIva &iva : ive.ocCollIva)
        ordine << iva.osIndex();
    EXPECT_EQ(ordine, (QStringList{QStringLiteral("e8"), QStringLiteral("22"), QStringLiteral("04")}));

    ive.odSVal(QStringLiteral("22"), C("10.5"));
    ive.osDescrizione(QStringLiteral("22"), QStringLiteral("Iva 22%"));
    ive.obIvaEsente(QStringLiteral("E8"), true);
    EXPECT_EQ(ive.odSVal(QStringLiteral("22")), C("10.5"));
    EXPECT_EQ(ive.ogIva(QStringLiteral("22")).osDescrizione, QStringLiteral("Iva 22%"));
    EXPECT_TRUE(ive.obIvaEsente(QStringLiteral("e8")));
    EXPECT_THROW(ive.odSVal(QStringLiteral("10")), VbErrore);
    EXPECT_THROW(ive.odSVal(QStringLiteral("10"), C("1")), VbErrore);
    EXPECT_THROW(ive.ogIva(QStringLiteral("10")), VbErrore);

    ive.Remove(QStringLiteral("22"));
    EXPECT_FALSE(ive.obEsiste(QStringLiteral("22")));
    ive.Clear();
    EXPECT_EQ(ive.ocCollIva.Count(), 0);
    ive.Clear();
    EXPECT_FALSE(ive.obEsiste(QStringLiteral("e8")));
}

TEST(scIva, LivelliDiSconto)
{
    scIva iva;
    iva.odMerce = C("250");
    EXPECT_EQ(iva.oiNumSconti, 0);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(1), 250);
    iva.PrepMerceSco(2);
    EXPECT_EQ(iva.oiNumSconti, 2);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(1), 0);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(2), 0);
    iva.odMerceSco(2, 80);
    iva.PrepMerceSco(4);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(2), 80);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(3), 80);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(4), 80);
    iva.PrepMerceSco(3);
    EXPECT_EQ(iva.oiNumSconti, 4);
    // Outside 1..levels the goods of the key answer.
    EXPECT_DOUBLE_EQ(iva.odMerceSco(5), 250);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(0), 250);
    EXPECT_DOUBLE_EQ(iva.odMerceSco(-1), 250);
    EXPECT_THROW(iva.odMerceSco(5, 1), VbErrore);
    EXPECT_THROW(iva.odMerceSco(-1, 1), VbErrore);

    scIve ive;
    ive.AddIva(QStringLiteral("22"));
    ive.PrepMerceSco(QStringLiteral("22"), 3);
    ive.odMerceSco(QStringLiteral("22"), 3, 12.5);
    EXPECT_EQ(ive.oiNumSconti(QStringLiteral("22")), 3);
    EXPECT_DOUBLE_EQ(ive.odMerceSco(QStringLiteral("22"), 3), 12.5);
}

TEST(scIva, ContiECentriDiCosto)
{
    scIva iva;
    const QString vuoto;
    EXPECT_FALSE(iva.obCPEsiste(QStringLiteral("A")));
    EXPECT_THROW(iva.ogControp(QStringLiteral("A")), VbErrore);
    EXPECT_THROW(iva.obCdcCompEsiste(QStringLiteral("A"), vuoto, vuoto), VbErrore);
    iva.CPClear();

    iva.AddControP(QStringLiteral("A"), vuoto, vuoto);
    EXPECT_TRUE(iva.obCPEsiste(QStringLiteral("a")));
    EXPECT_TRUE(iva.obCdcCompEsiste(QStringLiteral("A"), vuoto, vuoto));
    EXPECT_EQ(iva.ogControp(QStringLiteral("A")).ocCdcCompetenza.KeyAt(0), QStringLiteral("CD"));
    EXPECT_EQ(iva.ogCdcComp(QStringLiteral("A"), vuoto, vuoto).osKey, QStringLiteral("CD"));
    EXPECT_THROW(iva.AddControP(QStringLiteral("A"), vuoto, vuoto), VbErrore);

    // The account and its entries are separate totals.
    iva.odCPImpon(QStringLiteral("A"), true, vuoto, vuoto, C("10"));
    EXPECT_EQ(iva.odCPImpon(QStringLiteral("A"), true, QStringLiteral("ignorato"), vuoto), C("10"));
    EXPECT_EQ(iva.odCPImpon(QStringLiteral("A"), false, vuoto, vuoto), C("0"));
    iva.odCPSValSpese(QStringLiteral("A"), false, vuoto, vuoto, C("3"));
    EXPECT_EQ(iva.ogCdcComp(QStringLiteral("A"), vuoto, vuoto).odSValSpese, C("3"));

    iva.AddCdcComp(QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2"));
    iva.AddCdcComp(QStringLiteral("A"), QStringLiteral("1"), vuoto);
    EXPECT_TRUE(iva.obCdcCompEsiste(QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")));
    EXPECT_EQ(iva.ogCdcComp(QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("2")).osKey,
              QStringLiteral("C1D2"));
    EXPECT_FALSE(iva.obCdcCompEsiste(QStringLiteral("A"), QStringLiteral("2"), vuoto));
    EXPECT_THROW(iva.AddCdcComp(QStringLiteral("A"), QStringLiteral("1"), vuoto), VbErrore);
    EXPECT_THROW(iva.AddCdcComp(QStringLiteral("B"), vuoto, vuoto), VbErrore);
    EXPECT_THROW(iva.odCPImpon(QStringLiteral("A"), false, QStringLiteral("9"), vuoto), VbErrore);
    EXPECT_EQ(iva.ogControp(QStringLiteral("A")).ocCdcCompetenza.Count(), 3);

    iva.AddControP(QStringLiteral("B"), QStringLiteral("X"), QStringLiteral("M01/01/202431/01/2024"));
    EXPECT_TRUE(iva.obCdcCompEsiste(QStringLiteral("B"), QStringLiteral("x"),
                                    QStringLiteral("m01/01/202431/01/2024")));
    iva.CPClear();
    EXPECT_FALSE(iva.obCPEsiste(QStringLiteral("A")));
}
