// Reads in an index's order as each engine receives them: which SQLite texts
// name their index, and which comparisons PostgreSQL gets as ">=" and "<>".
#include "components/db/LetturaInOrdine.h"

#include <gtest/gtest.h>

namespace
{

const QList<LetturaInOrdine::Indice> kIndici = {
    {QStringLiteral("sqlite_autoindex_PianoConti_1"), {"gruppo", "mastro", "conto"}},
    {QStringLiteral("PianoConti_NomeChiave"), {"descrizione", "gruppo", "mastro", "conto"}},
    {QStringLiteral("PianoConti_MastroChiave"), {"mastro", "gruppo", "conto"}},
    {QStringLiteral("PianoConti_LocalitaChiave"), {"localita", "gruppo", "mastro", "conto"}}};

} // namespace

TEST(LetturaInOrdine, SqliteNamesTheOrdersIndexUnlessAnotherIndexMayAnswerTheWhere)
{
    const struct {
        const char *sql, *indice; // "" when the text stays as it is
    } casi[] = {
        {"SELECT * FROM PianoConti WHERE Tipo = $dbmp000 ORDER BY Gruppo, Mastro, Conto LIMIT 1",
         "sqlite_autoindex_PianoConti_1"},
        {"SELECT * FROM PianoConti WHERE Tipo = '3' AND Gruppo = '01' AND Mastro > '05' ORDER BY Gruppo "
         "DESC, "
         "Mastro DESC, Conto DESC LIMIT 1",
         "sqlite_autoindex_PianoConti_1"},
        // The list's page: the ledgers' Exists names another table's columns.
        {"SELECT Gruppo FROM PianoConti P WHERE EXISTS (SELECT Mastri.Mastro FROM Mastri WHERE Mastri.Mastro "
         "= "
         "P.Mastro) AND (P.Descrizione, P.Gruppo, P.Mastro, P.Conto) > ('a', '01', '05', '1') ORDER BY "
         "P.Descrizione, P.Gruppo, P.Mastro, P.Conto LIMIT 128",
         "PianoConti_NomeChiave"},
        {"SELECT * FROM PianoConti WHERE Descrizione LIKE 'Ros%' ORDER BY Descrizione LIMIT 1",
         "PianoConti_NomeChiave"},
        // A search another index answers: the planner chooses.
        {"SELECT * FROM PianoConti WHERE Localita = 'Roma' ORDER BY Gruppo, Mastro, Conto LIMIT 1", ""},
        // Directions that differ, an expression, a join, no ORDER BY.
        {"SELECT * FROM PianoConti ORDER BY Gruppo, Mastro DESC, Conto LIMIT 1", ""},
        {"SELECT * FROM PianoConti ORDER BY upper(Gruppo) LIMIT 1", ""},
        {"SELECT * FROM PianoConti, Mastri ORDER BY Gruppo LIMIT 1", ""},
        {"SELECT * FROM PianoConti WHERE Tipo = '3' LIMIT 1", ""},
        {"SELECT * FROM PianoConti ORDER BY Zona LIMIT 1", ""},
    };
    for (const auto &c : casi) {
        const QString sql = QString::fromLatin1(c.sql);
        const QString fatto = LetturaInOrdine::ConIndice(sql, kIndici);
        if (*c.indice == 0) {
            EXPECT_EQ(fatto, sql);
            continue;
        }
        EXPECT_TRUE(fatto.contains(QStringLiteral("INDEXED BY \"%1\"").arg(QLatin1String(c.indice))))
            << fatto.toStdString();
        // Only the index named: the rest of the text as it was.
        EXPECT_EQ(QString(fatto).remove(QStringLiteral(" INDEXED BY \"%1\"").arg(QLatin1String(c.indice))),
                  sql);
        EXPECT_LT(fatto.indexOf(QLatin1String("INDEXED")), fatto.indexOf(QLatin1String("WHERE")) < 0
                                                               ? fatto.indexOf(QLatin1String("ORDER"))
                                                               : fatto.indexOf(QLatin1String("WHERE")));
    }
}

TEST(LetturaInOrdine, PostgreSqlRowComparisonsBecomeAtLeastAndDifferent)
{
    const struct {
        const char *sql, *atteso;
    } casi[] = {
        {"SELECT 1 FROM t WHERE x = 1 AND (a, b) > ('1', $dbmp001) ORDER BY a",
         "SELECT 1 FROM t WHERE x = 1 AND ((a, b) >= ('1', $dbmp001) AND (a, b) <> ('1', $dbmp001)) ORDER BY "
         "a"},
        {"SELECT 1 FROM t WHERE (a = 1 AND (b, c) < (2, 3))",
         "SELECT 1 FROM t WHERE (a = 1 AND ((b, c) <= (2, 3) AND (b, c) <> (2, 3)))"},
        // Not a row comparison: a call's arguments, one value, a sub-query.
        {"SELECT 1 FROM t WHERE coalesce(a, b) > (1, 2)", nullptr},
        {"SELECT 1 FROM t WHERE (a) > (1)", nullptr},
        {"SELECT 1 FROM t WHERE (a, b) > (SELECT x, y FROM u)", nullptr},
        {"SELECT 1 FROM t WHERE (a, b) >= (1, 2)", nullptr},
    };
    for (const auto &c : casi)
        EXPECT_EQ(LetturaInOrdine::ConfrontiRiga(QString::fromLatin1(c.sql)),
                  QString::fromLatin1(c.atteso ? c.atteso : c.sql));
}
