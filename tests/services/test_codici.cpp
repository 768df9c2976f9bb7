// Account-code helpers: splitting, normalising, the highest code in use.
#include "services/Codici.h"
#include "services/Globali.h"
#include "tests/services/AziendaServizi.h"

#include <gtest/gtest.h>

TEST(SpezzaConto, ConTrattiniOParteDopoParte)
{
    struct {
        const char *codice, *g, *m, *c;
    } casi[] = {
        {"01-05-0042", "01", "05", "0042"}, {" 1-5-42 ", "1", "5", "42"}, {"01050042", "01", "05", "0042"},
        {"0105A001", "01", "05", "A001"},   {"01-05-", "01", "05", ""},
    };
    for (const auto &c : casi) {
        QString g = "x", m = "x", k = "x";
        SpezzaConto(c.codice, g, m, k);
        EXPECT_EQ(g, c.g) << c.codice;
        EXPECT_EQ(m, c.m) << c.codice;
        EXPECT_EQ(k, c.c) << c.codice;
    }
}

TEST(NormalizzaCodice, NumeriADueCifreAltroMaiuscolo)
{
    struct {
        const char *in, *out;
    } casi[] = {{"1", "01"}, {" 7 ", "07"}, {"12", "12"}, {"ab", "AB"}, {" c1 ", "C1"}, {"", ""}};
    for (const auto &c : casi) {
        EXPECT_EQ(NormalizzaCodice(c.in), c.out) << c.in;
        EXPECT_EQ(NormalizzaCodice2(c.in), c.out) << c.in;
    }
}

TEST(UnisciCodDescr, DescrizioneODescrizioneAzienda)
{
    Globali::DescAzienda = "Rossi S.p.A.";
    EXPECT_EQ(UnisciCodDescr("Clienti", QString("Lista")), "Clienti - Lista");
    EXPECT_EQ(UnisciCodDescr("Clienti"), "Clienti - Rossi S.p.A.");
}

TEST(UltimoConto, TestoSql)
{
    EXPECT_EQ(SqlUltimoConto("01", "05", true, ""),
              "SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '01' and Mastro = '05'"
              " and IsNumeric(Conto) <> 0");
    EXPECT_EQ(SqlUltimoConto("01", "05", false, ""),
              "SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '01' and Mastro = '05'"
              " and isnumeric(mid(Conto,1)) <> 0 and len(Conto) = 4");
    EXPECT_EQ(SqlUltimoConto("01", "05", false, "AB"),
              "SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '01' and Mastro = '05'"
              " and isnumeric(mid(Conto,3)) <> 0 and len(Conto) = 4 And Conto like 'AB*'");
    // Quotes and wildcards typed in the codes stay literal.
    EXPECT_EQ(SqlUltimoConto("0'1", "05", false, "*"),
              "SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '0''1' and Mastro = '05'"
              " and isnumeric(mid(Conto,2)) <> 0 and len(Conto) = 4 And Conto like '[*]*'");
}

// The highest code on both engines, with the program's schema.
class UltimoContoDb : public AziendaServizi
{
  protected:
    void conti(const QString &g, const QString &m, const QStringList &codici)
    {
        for (const QString &c : codici)
            Esegui(QString("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) "
                           "VALUES ('%1','%2','%3','3','x')")
                       .arg(g, m, c));
    }
};

TEST_P(UltimoContoDb, SoloNumericiDaIlCodiceIntero)
{
    conti("01", "05", {"0001", "0041", "A999", "ZZ"});
    conti("01", "06", {"9000"});
    EXPECT_EQ(UltimoConto("01", "05", true, ""), "0041");
    EXPECT_EQ(UltimoConto("01", "07", true, ""), "");
}

TEST_P(UltimoContoDb, ConPrefissoDaLaParteDopoIlPrefisso)
{
    conti("01", "05", {"0001", "0041", "A001", "A017", "AB99", "ABC", "B0X1", "1234"});
    conti("01", "05", {"*001"});
    EXPECT_EQ(UltimoConto("01", "05", false, ""), "1234");
    EXPECT_EQ(UltimoConto("01", "05", false, "A"), "017");
    EXPECT_EQ(UltimoConto("01", "05", false, "a"), "017");
    EXPECT_EQ(UltimoConto("01", "05", false, "AB"), "99");
    EXPECT_EQ(UltimoConto("01", "05", false, "B"), "");
    EXPECT_EQ(UltimoConto("01", "05", false, "*"), "001");
    EXPECT_EQ(UltimoConto("02", "05", false, ""), "");
}

TEST_P(UltimoContoDb, ErroreDaTestoVuoto)
{
    Esegui("DROP TABLE PianoConti");
    EXPECT_EQ(UltimoConto("01", "05", false, ""), "");
    EXPECT_EQ(UltimoConto("01", "05", true, ""), "");
}

INSTANTIATE_TEST_SUITE_P(Motori, UltimoContoDb,
                         ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL), NomeMotore);
