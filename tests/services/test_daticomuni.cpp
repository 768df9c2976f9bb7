// Column existence and currency settings on a small company database.
#include "components/db/DbMotore.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class DatiComuniDb : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        auto *db = new DbMotore;
        Globali::ImpostaDbComp(db);
        db->ApriSqlite(Globali::DbAzienda, dir.filePath("azienda.db"), true);
        db->EseguiSql(Globali::DbAzienda, "CREATE TABLE Monete (Moneta TEXT COLLATE NOCASE PRIMARY KEY, "
                                          "Descrizione TEXT, NumDec INTEGER, NumDecGest INTEGER, "
                                          "Operatore TEXT, Cee TEXT)");
        db->EseguiSql(Globali::DbAzienda, "INSERT INTO Monete VALUES ('EUR','Euro',2,4,'/','S')");
        db->EseguiSql(Globali::DbAzienda, "INSERT INTO Monete VALUES ('LIT','Lire',0,0,'*','S')");
        db->EseguiSql(Globali::DbAzienda, "INSERT INTO Monete VALUES ('D''X','Strana',3,5,'/','N')");
        db->ApriSqlite("Altro", dir.filePath("altro.db"), true);
        db->EseguiSql("Altro", "CREATE TABLE T (A TEXT)");
    }
    void TearDown() override { Globali::ImpostaDbComp(nullptr); }
    QTemporaryDir dir;
};

TEST_F(DatiComuniDb, EsisteCampo)
{
    EXPECT_TRUE(EsisteCampo("Monete", "NumDecGest"));
    EXPECT_TRUE(EsisteCampo("monete", "numdecgest", ""));
    EXPECT_FALSE(EsisteCampo("Monete", "ScoPagSuDett"));
    EXPECT_FALSE(EsisteCampo("Mancante", "NumDec"));
    EXPECT_TRUE(EsisteCampo("T", "A", "Altro"));
    EXPECT_FALSE(EsisteCampo("Monete", "NumDec", "Altro"));
    EXPECT_FALSE(EsisteCampo("Monete", "NumDec", "ConnessioneInesistente"));
}

TEST_F(DatiComuniDb, LeggiMoneta)
{
    int gest = -1, dec = -1;
    QString op, cee;
    EXPECT_EQ(LeggiMoneta("EUR", &gest, &dec, &op, &cee), 2);
    EXPECT_EQ(gest, 4);
    EXPECT_EQ(dec, 2);
    EXPECT_EQ(op, "/");
    EXPECT_EQ(cee, "S");

    EXPECT_EQ(LeggiMoneta("lit", &gest, &dec, &op), 0);
    EXPECT_EQ(op, "*");
    EXPECT_EQ(LeggiMoneta("D'X"), 3);

    EXPECT_EQ(LeggiMoneta("USD", &gest, &dec, &op, &cee), 2);
    EXPECT_EQ(gest, 2);
    EXPECT_EQ(dec, 2);
    EXPECT_EQ(op, "/");
    EXPECT_EQ(cee, "N");
}

TEST_F(DatiComuniDb, LeggiMonetaSenzaTabella)
{
    Globali::DbComp()->EseguiSql(Globali::DbAzienda, "DROP TABLE Monete");
    EXPECT_EQ(LeggiMoneta("EUR"), 2);
}

TEST(CursoreAttesa, UnaClessidraRipristinata)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    CursoreAttesa(true);
    CursoreAttesa(true);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    CursoreAttesa(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    CursoreAttesa(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
