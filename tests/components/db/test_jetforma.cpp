// Forms of SELECTs with their compared literals taken out: what goes, what
// stays, and that writing the literals back gives the translation of the
// whole text on both engines.
#include "components/db/CacheLru.h"
#include "components/db/JetSql.h"

#include <gtest/gtest.h>

using JetSql::Dialetto;

namespace
{

struct CasoForma {
    const char *jet;
    const char *forma;
    QVariantList valori;
};

const CasoForma casiForma[] = {
    {"SELECT a FROM t Where t.NumRif = 12 And t.Anno = 2024",
     "SELECT a FROM t Where t.NumRif = $dbmp000 And t.Anno = $dbmp001",
     {12LL, 2024LL}},
    {"select a from t where b <> 'x''y' and c>=1.5 and d<\"q\"",
     "select a from t where b <> $dbmp000 and c>=$dbmp001 and d<$dbmp002",
     {QString("x'y"), 1.5, QString("q")}},
    // Literals of the select list and those not compared stay.
    {"SELECT 'N' AS k, iif(s = '-',-1,1) AS m FROM t WHERE x IN (1, 2) AND y BETWEEN 3 AND 4",
     "SELECT 'N' AS k, iif(s = '-',-1,1) AS m FROM t WHERE x IN (1, 2) AND y BETWEEN 3 AND 4",
     {}},
    {"SELECT a FROM t WHERE x = -1 ORDER BY 1", "SELECT a FROM t WHERE x = -1 ORDER BY 1", {}},
    {"SELECT a FROM t WHERE x like 'ab*' and d = #1/2/2024# and e = True",
     "SELECT a FROM t WHERE x like 'ab*' and d = #1/2/2024# and e = True",
     {}},
    // Inside sub-queries and ON clauses they go too.
    {"SELECT a FROM (t LEFT JOIN u ON t.k = u.k AND u.f = 'S') WHERE t.c IN (SELECT c FROM v WHERE v.z = 7)",
     "SELECT a FROM (t LEFT JOIN u ON t.k = u.k AND u.f = $dbmp000) WHERE t.c IN (SELECT c FROM v WHERE v.z "
     "= $dbmp001)",
     {QString("S"), 7LL}},
    // A number too large for 64 bits is left as it is.
    {"SELECT a FROM t WHERE x = 99999999999999999999 AND y = 3",
     "SELECT a FROM t WHERE x = 99999999999999999999 AND y = $dbmp000",
     {3LL}},
    // A literal glued to the next word: the parameter name must not run into it.
    {"SELECT a FROM t WHERE g = '01'AND m = \"10\"Or n = 2.5e1And",
     "SELECT a FROM t WHERE g = $dbmp000 AND m = "
     "$dbmp001 Or n = $dbmp002 And",
     {QString("01"), QString("10"), 25.0}},
    // Not a SELECT, or a text that already holds a parameter name: untouched.
    {"UPDATE t SET a = 1 WHERE b = 2", "UPDATE t SET a = 1 WHERE b = 2", {}},
    {"SELECT a FROM t WHERE b = '$dbmp000' AND c = 1", "SELECT a FROM t WHERE b = '$dbmp000' AND c = 1", {}},
    {"SELECT 1 = 1", "SELECT 1 = 1", {}},
};

TEST(JetForma, TakesOutOnlyComparedLiteralsAfterFrom)
{
    for (const CasoForma &c : casiForma) {
        const JetSql::Forma f = JetSql::FormaParametrica(QString::fromUtf8(c.jet));
        EXPECT_EQ(f.testo, QString::fromUtf8(c.forma)) << c.jet;
        ASSERT_EQ(f.valori.size(), c.valori.size()) << c.jet;
        for (int i = 0; i < f.valori.size(); ++i) {
            EXPECT_EQ(f.valori[i].typeId(), c.valori[i].typeId()) << c.jet << " #" << i;
            EXPECT_EQ(f.valori[i], c.valori[i]) << c.jet << " #" << i;
        }
        EXPECT_EQ(f.letterali.size(), f.valori.size());
    }
}

TEST(JetForma, SameShapeForDifferentDocuments)
{
    const auto a =
        JetSql::FormaParametrica("SELECT * FROM FatDett WHERE NumRif = 1 AND Anno = 2024 AND T = 'M'");
    const auto b =
        JetSql::FormaParametrica("SELECT * FROM FatDett WHERE NumRif = 77 AND Anno = 2023 AND T = 'A'");
    EXPECT_EQ(a.testo, b.testo);
    EXPECT_NE(a.valori, b.valori);
}

const char *testiTraduzione[] = {
    "SELECT FatDett.*,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen AS Conto,TabIva.*,'N' as "
    "ArtCauzione"
    " FROM FatDett LEFT JOIN TabIva ON FatDett.Iva = TabIva.Iva Where FatDett.NumRif = 1 And FatDett.Anno = "
    "2024"
    " order by FatDett.Iva,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen,FatDett.RigDet",
    "Select sum(TotDocum * iif(FattDocumenti.segno = '-',-1,1)) as Totale From FatTest Left Join "
    "FattDocumenti on"
    " FatTest.FattDocumento = FattDocumenti.FattDocumento Where FatTest.GruppoCli = '01' And "
    "FatTest.ContoCli ="
    " '0001' And FatTest.PdcDicIntenti = 1 And (isnull(FatTest.ScontoPag) or FatTest.ScontoPag = '0')",
    "SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '01' and Mastro = \"1'0\" and"
    " isnumeric(mid(Conto,3)) <> 0 and len(Conto) = 4 And Conto like 'ab*' and right(Conto, 2) = 'x' & "
    "Gruppo",
    "SELECT a FROM t WHERE iif(a = 'S', 1, 0) = 1 AND instr(b, 'z') > 0.5 AND c >= #12/31/2024# AND d <> ''",
};

TEST(JetForma, LiteralsWrittenBackGiveTheTranslationOfTheText)
{
    for (const char *s : testiTraduzione) {
        const QString jet = QString::fromUtf8(s);
        const JetSql::Forma f = JetSql::FormaParametrica(jet);
        EXPECT_FALSE(f.valori.isEmpty()) << s;
        for (Dialetto d : {Dialetto::SQLite, Dialetto::PostgreSQL})
            EXPECT_EQ(JetSql::RimettiLetterali(JetSql::Traduci(f.testo, d), f), JetSql::Traduci(jet, d)) << s;
    }
}

TEST(CacheLru, ForgetsTheLeastRecentlyUsed)
{
    CacheLru<int> c(2);
    QStringList scartati;
    c.alloScarto = [&](int &&v) { scartati << QString::number(v); };
    c.inserisci("a", 1);
    c.inserisci("b", 2);
    ASSERT_NE(c.trova("a"), nullptr); // "a" is now the most recent
    c.inserisci("c", 3);
    EXPECT_EQ(c.trova("b"), nullptr);
    EXPECT_EQ(*c.trova("a"), 1);
    EXPECT_EQ(*c.trova("c"), 3);
    c.inserisci("a", 10); // replacing lets the old value go
    EXPECT_EQ(*c.trova("a"), 10);
    EXPECT_EQ(c.numero(), 2);
    c.svuota();
    EXPECT_EQ(c.numero(), 0);
    EXPECT_EQ(scartati, QStringList({"2", "1", "10", "3"}));
}

} // namespace
