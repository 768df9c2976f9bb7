// The Jet-dialect translator on its own: the shape of a few texts per engine
// (what they give is tested on the engines), LIKE patterns and the reading of
// select lists.
#include "components/db/JetSql.h"

#include <gtest/gtest.h>

using JetSql::Dialetto;

namespace
{
struct Caso {
    const char *jet, *sqlite, *pg;
};

const Caso casi[] = {
    {"SELECT a & b AS c FROM t", "SELECT (COALESCE(a, '') || COALESCE(b, '')) COLLATE NOCASE AS c FROM t",
     "SELECT CAST(COALESCE(CAST(a AS TEXT), '') || COALESCE(CAST(b AS TEXT), '') AS citext) AS c FROM t"},
    {"order by T.Iva,T.g & T.m DESC,T.r",
     "order by T.Iva,(COALESCE(T.g, '') || COALESCE(T.m, '')) COLLATE NOCASE DESC,T.r",
     "order by T.Iva NULLS FIRST,CAST(COALESCE(CAST(T.g AS TEXT), '') || COALESCE(CAST(T.m AS TEXT), '') AS "
     "citext) "
     "DESC NULLS LAST,T.r NULLS FIRST"},
    {"order by a Desc, b Limit 128 Offset 256", "order by a Desc, b Limit 128 Offset 256",
     "order by a Desc NULLS LAST, b NULLS FIRST Limit 128 Offset 256"},
    {"where a + 1 & b <> 'x&y'", "where (COALESCE(a + 1, '') || COALESCE(b, '')) COLLATE NOCASE <> 'x&y'",
     "where CAST(COALESCE(CAST(a + 1 AS TEXT), '') || COALESCE(CAST(b AS TEXT), '') AS citext) <> 'x&y'"},
    {"x like 'ab*'", "x LIKE 'ab%' ESCAPE '\\'", "x ILIKE 'ab%' ESCAPE '\\'"},
    {"x Not Like '*5_0[%]?'", "x NOT LIKE '%5\\_0\\%_' ESCAPE '\\'", "x NOT ILIKE '%5\\_0\\%_' ESCAPE '\\'"},
    {"x like 'A#*'", "jetlike(x, 'A#*')", "CAST(x AS TEXT) ~* '^A[0-9].*$'"},
    {"x like 'è*'", "jetlike(x, 'è*')", "x ILIKE 'è%' ESCAPE '\\'"},
    {"iif(s = '-',-1,1)", "iif(s = '-', -1, 1) COLLATE NOCASE", "(CASE WHEN s = '-' THEN -1 ELSE 1 END)"},
    {"where (isnull(T.S) or T.S = '0') And not isnull(S)",
     "where ((T.S IS NULL) or T.S = '0') And not (S IS NULL)",
     "where ((T.S IS NULL) or T.S = '0') And not (S IS NULL)"},
    {"where a = True and b = False and c", "where a = -1 and b = 0 and c",
     "where a = -1 and b = 0 and (c <> 0)"},
    {"d = #12/31/2024#", "d = '2024-12-31'", "d = DATE '2024-12-31'"},
    {"d >= #1/2/2024 10:05#", "d >= '2024-01-02 10:05:00'", "d >= TIMESTAMP '2024-01-02 10:05:00'"},
    {"from 0_ClientHotelArdeno", "from \"0_ClientHotelArdeno\"", "from \"0_ClientHotelArdeno\""},
    {"select [Rag Soc] from t", "select \"Rag Soc\" from t", "select \"rag soc\" from t"},
    {"a = \"it's\" and b <> 'x''s & [y] * #z# True Left(' - -1",
     "a = 'it''s' and b <> 'x''s & [y] * #z# True Left(' - -1",
     "a = 'it''s' and b <> 'x''s & [y] * #z# True Left(' - -1"},
    {"left join MenuDbç§&dbo§&çTabStati as S", "left join MenuDb.TabStati as S",
     "left join MenuDb.TabStati as S"},
    {"left join [;Database=/d/menu.mdb;pwd=x;].TabStati as S", "left join dbest1.TabStati as S",
     "left join dbest1.TabStati as S"},
    {"INSERT INTO T (a, b) VALUES ('1', 2)", "INSERT INTO T (a, b) VALUES ('1', 2)",
     "INSERT INTO T (a, b) VALUES ('1', 2)"},
    {"a-(-1) - -b", "a-(-1) - -b", "a-(-1) - -b"},
};
} // namespace

TEST(JetSql, TranslatesEachConstructForBothEngines)
{
    JetSql::Opzioni o;
    o.schemaAllegato = [](const QString &percorso) {
        return percorso == "/d/menu.mdb" ? QStringLiteral("dbest1") : QString();
    };
    for (const Caso &c : casi) {
        EXPECT_EQ(JetSql::Traduci(QString::fromUtf8(c.jet), Dialetto::SQLite, o).toStdString(), c.sqlite)
            << c.jet;
        EXPECT_EQ(JetSql::Traduci(QString::fromUtf8(c.jet), Dialetto::PostgreSQL, o).toStdString(), c.pg)
            << c.jet;
    }
}

TEST(JetSql, JetLikeMatchesJetPatterns)
{
    struct {
        const char *valore, *pattern;
        bool atteso;
    } casi[] = {
        {"Sconto 50%", "*50%*", true},
        {"Sconto 500", "*50%*", false},
        {"abc", "A?C", true},
        {"a1c", "a#c", true},
        {"abc", "a#c", false},
        {"a*c", "a[*]c", true},
        {"abc", "a[*]c", false},
        {"b", "[a-c]", true},
        {"d", "[!a-c]", true},
        {"À la carte", "à*", true},
        {"x.y", "x.y", true},
        {"xzy", "x.y", false},
        {"[x]", "[[]x]", true},
        {"", "*", true},
        {"B", "[a-c]", true},
        {"abcabd", "*ab?", true},
        {"abcabc", "*abd", false},
        {"a!", "a[!]", true},
        {"xaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "x*a*a*a*a*a*a*a*a*a*a*a*c", false},
    };
    for (const auto &c : casi)
        EXPECT_EQ(JetSql::JetLike(QString::fromUtf8(c.valore), QString::fromUtf8(c.pattern)), c.atteso)
            << c.valore << " like " << c.pattern;
}

TEST(JetSql, ReadsSelectListAndTables)
{
    const auto a =
        JetSql::Analizza("SELECT Pianoconti.Gruppo, Stati.*, Sta1.descrizione, StatiEle.BlackList, sum(x) as "
                         "Tot, 'N' as ArtCauzione"
                         " FROM ((Pianoconti LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato) LEFT JOIN "
                         "Stati AS Sta1 ON a = b)"
                         " left join [;Database=/d/m.db;;].TabStati as StatiEle On c = d WHERE x = 1");
    ASSERT_TRUE(a.valida);
    ASSERT_EQ(a.voci.size(), 6);
    EXPECT_EQ(a.voci[0].qualifica, "Pianoconti");
    EXPECT_EQ(a.voci[1].campo, "*");
    EXPECT_EQ(a.voci[2].campo, "descrizione");
    EXPECT_TRUE(a.voci[4].espressione);
    EXPECT_TRUE(a.voci[4].somma);
    EXPECT_EQ(a.voci[5].alias, "ArtCauzione");
    ASSERT_EQ(a.tabelle.size(), 4);
    EXPECT_EQ(a.tabelle[2].tabella, "Stati");
    EXPECT_EQ(a.tabelle[2].alias, "Sta1");
    EXPECT_EQ(a.tabelle[3].databaseJet, "/d/m.db");
    EXPECT_EQ(a.tabelle[3].alias, "StatiEle");
}
