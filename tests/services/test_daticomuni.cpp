// Column existence and currency settings on a small company database.
#include "components/util/VbErrore.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "tests/services/AziendaServizi.h"

#include <QCursor>
#include <QGuiApplication>
#include <gtest/gtest.h>

// Currencies on both engines; a second SQLite connection stands for another database.
class DatiComuniDb : public AziendaServizi
{
  protected:
    void SetUp() override
    {
        AziendaServizi::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const QString ins =
            "INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) VALUES ";
        Esegui(ins + "('EUR','Euro',2,4,'/','S')");
        Esegui(ins + "('LIT','Lire',0,0,'*','S')");
        Esegui(ins + "('D''X','Strana',3,5,'/','N')");
        Globali::DbComp()->ApriSqlite("Altro", cartella.filePath("altro.db"), true);
        Globali::DbComp()->EseguiSql("Altro", "CREATE TABLE T (A TEXT)");
    }
};

TEST_P(DatiComuniDb, EsisteCampo)
{
    EXPECT_TRUE(EsisteCampo("Monete", "NumDecGest"));
    EXPECT_TRUE(EsisteCampo("OrdVenTest", "ScoPagSuDett"));
    EXPECT_FALSE(EsisteCampo("DdtTest", "ScoPagSuDett"));
    EXPECT_TRUE(EsisteCampo("monete", "numdecgest", ""));
    EXPECT_FALSE(EsisteCampo("Monete", "ScoPagSuDett"));
    EXPECT_FALSE(EsisteCampo("Mancante", "NumDec"));
    EXPECT_TRUE(EsisteCampo("T", "A", "Altro"));
    EXPECT_FALSE(EsisteCampo("Monete", "NumDec", "Altro"));
    EXPECT_FALSE(EsisteCampo("Monete", "NumDec", "ConnessioneInesistente"));
}

TEST_P(DatiComuniDb, LeggiMoneta)
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

TEST_P(DatiComuniDb, DecimaliFuoriIntervalloSonoUnErrore)
{
    const QString ins = "INSERT INTO Monete (Moneta, Descrizione, NumDec) VALUES ";
    Esegui(ins + "('M4','Quattro',4)");
    Esegui(ins + "('M5','Cinque',5)");
    Esegui(ins + "('MNEG','Negativa',-1)");
    Esegui(ins + "('MMAX','Enorme',2147483647)");
    Esegui(ins + "('MNUL','Nulla',Null)");
    EXPECT_EQ(LeggiMoneta("M4"), 4);
    EXPECT_EQ(LeggiMoneta("MNUL"), 0);
    for (const char *moneta : {"M5", "MNEG", "MMAX"}) {
        try {
            LeggiMoneta(moneta);
            ADD_FAILURE() << moneta << " accettata";
        } catch (const VbErrore &e) {
            EXPECT_TRUE(e.descrizione().startsWith(
                QStringLiteral("La moneta %1 ha un numero di decimali non valido").arg(moneta)))
                << e.descrizione().toStdString();
        }
    }
    EXPECT_THROW(DecimaliMoneta("X", QString("2,5")), VbErrore);
    EXPECT_THROW(DecimaliMoneta("X", QString("due")), VbErrore);
    EXPECT_EQ(DecimaliMoneta("X", QString("3")), 3);
}

TEST_P(DatiComuniDb, LeggiMonetaSenzaTabella)
{
    Esegui("DROP TABLE Monete");
    EXPECT_EQ(LeggiMoneta("EUR"), 2);
}

INSTANTIATE_TEST_SUITE_P(Motori, DatiComuniDb,
                         ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL), NomeMotore);

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
