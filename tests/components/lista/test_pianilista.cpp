// The plans of the customer list's pages on both engines: every condition a
// page is read with (after and before a row, in the orders of the list's
// columns with an index, ascending and descending, past a Null name too) is a seek of the order's own index
// read in its order: no scan of the table, no sort, on a table with the planner's statistics of a few tens of
// thousands of customers.
#include "tests/components/db/ProvaMotori.h"

#include "components/lista/RigheLista.h"

#include <QSqlQuery>

namespace
{

const QString kSelect = QStringLiteral(
    "Select Gruppo, Mastro, Conto, Descrizione, PartIva, CodFisc, Localita, Pr, OperazRilev, DataAp, Zona, "
    "Agente1 from PianoConti where Exists (Select "
    "Mastri.Mastro From Mastri Where Mastri.Gruppo = PianoConti.Gruppo And Mastri.Mastro = PianoConti.Mastro "
    "And "
    "Mastri.Tipo = '3')");

class PianiLista : public ProvaMotori
{
  protected:
    void SetUp() override
    {
        ProvaMotori::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Esegui(
            QStringLiteral("INSERT INTO Mastri (Gruppo, Mastro, Tipo) VALUES ('01', '05', '3'), ('01', '06', "
                           "'3'), ('01', '09', '2')"));
        // 40,000 customers in three ledgers; 4,000 names, each on ten
        // accounts; one name in five Null.
        const QString righe =
            Pg() ? QStringLiteral("SELECT g FROM generate_series(0, 39999) AS g")
                 : QStringLiteral(
                       "WITH RECURSIVE n(g) AS (SELECT 0 UNION ALL SELECT g + 1 FROM n WHERE g < 39999) "
                       "SELECT g FROM n");
        const QString testo = Pg() ? QStringLiteral("CAST(%1 AS text)") : QStringLiteral("CAST(%1 AS TEXT)");
        Esegui(
            QStringLiteral(
                "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, PartIva, CodFisc, "
                "Localita, "
                "Pr, OperazRilev, Zona, Agente1) SELECT "
                "'01', CASE WHEN g % 3 = 0 THEN '05' WHEN g % 3 = 1 THEN '06' ELSE '09' END, "
                "substr(%1, 2, 5), '3', CASE WHEN g % 5 = 0 THEN NULL ELSE 'Cliente ' || %2 END, "
                "%3, CASE WHEN g % 7 = 0 THEN NULL ELSE 'RSSMRA' || %4 END, 'Comune ' || %6, "
                "substr('MIRMTONAPAVEBOGE', 1 + 2 * (g % 8), 2), CASE WHEN g % 2 = 0 THEN 'S' ELSE 'N' END, "
                "'Z' || %7, 'A' || %7 FROM (%5) AS n")
                .arg(testo.arg(QStringLiteral("100000 + g")), testo.arg(QStringLiteral("(g * 7919) % 4000")),
                     testo.arg(QStringLiteral("g * 31")), testo.arg(QStringLiteral("g")), righe,
                     testo.arg(QStringLiteral("g % 900")), testo.arg(QStringLiteral("g % 40"))));
        Esegui(QStringLiteral("UPDATE PianoConti SET DataAp = %1")
                   .arg(Pg() ? QStringLiteral("DATE '2010-01-01' + (CAST(Conto AS integer) % 5000)")
                             : QStringLiteral(
                                   "printf('%04d-%02d-%02d', 2010 + CAST(Conto AS integer) % 14, "
                                   "1 + CAST(Conto AS integer) % 12, 1 + CAST(Conto AS integer) % 28)")));
        QSqlDatabase q = db->DatabaseDao(C);
        Schema::Statistiche(q, true);
        righe_.ImpostaDatabase(db.get(), C);
        righe_.ImpostaChiave({QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")});
    }

    QString piano(const QString &jet)
    {
        QSqlQuery e(db->DatabaseDao(C));
        const QString sql = db->Traduci(C, jet);
        EXPECT_TRUE(e.exec((Pg() ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN ")) + sql))
            << sql.toStdString();
        QStringList righe;
        while (e.next())
            righe << e.value(Pg() ? 0 : 3).toString();
        return sql + QLatin1Char('\n') + righe.join(QLatin1Char('\n'));
    }

    RigheLista righe_;
};

} // namespace

TEST_P(PianiLista, OgniPaginaUnaRicercaNellIndiceDellOrdine)
{
    struct Caso {
        const char *ordine;
        const char *sqlite, *pg; // the order's index on each engine
        QStringList riga;        // ordering values of a row: the columns of the order, then the key
    };
    const QString nome = QStringLiteral("'Cliente 2345'");
    const QStringList chiave = {QStringLiteral("'01'"), QStringLiteral("'06'"), QStringLiteral("'20500'")};
    const Caso casi[] = {
        {" order by PartIva", "PianoConti_PartIvaChiave", "pianoconti_partivanulliprima",
         QStringList{QStringLiteral("'635500'")} + chiave},
        {" order by CodFisc Desc", "PianoConti_CodFiscChiave", "pianoconti_codfiscnulliprima",
         QStringList{QStringLiteral("'RSSMRA20500'")} + chiave},
        {" order by Gruppo, Mastro, Conto", "sqlite_autoindex_PianoConti_1", "pianoconti_chiavenulliprima",
         chiave},
        {" order by Descrizione", "PianoConti_NomeChiave", "pianoconti_nomenulliprima",
         QStringList{nome} + chiave},
        {" order by Descrizione Desc", "PianoConti_NomeChiave", "pianoconti_nomenulliprima",
         QStringList{nome} + chiave},
        {" order by Descrizione", "PianoConti_NomeChiave", "pianoconti_nomenulliprima",
         QStringList{QString()} + chiave},
        {" order by Descrizione Desc", "PianoConti_NomeChiave", "pianoconti_nomenulliprima",
         QStringList{QString()} + chiave},
        // The other sortable columns of the list.
        {" order by Mastro", "PianoConti_MastroChiave", "pianoconti_mastronulliprima",
         QStringList{"'06'", "'01'", "'20500'"}},
        {" order by Conto Desc", "PianoConti_ContoChiave", "pianoconti_contonulliprima",
         QStringList{"'20500'", "'01'", "'06'"}},
        {" order by Localita", "PianoConti_LocalitaChiave", "pianoconti_localitanulliprima",
         QStringList{"'Comune 700'"} + chiave},
        {" order by Pr Desc", "PianoConti_PrChiave", "pianoconti_prnulliprima", QStringList{"'NA'"} + chiave},
        {" order by OperazRilev", "PianoConti_OperazRilevChiave", "pianoconti_operazrilevnulliprima",
         QStringList{"'N'"} + chiave},
        {" order by DataAp", "PianoConti_DataApChiave", "pianoconti_dataapnulliprima",
         QStringList{"#03/15/2015#"} + chiave},
        {" order by Zona", "PianoConti_ZonaChiave", "pianoconti_zonanulliprima",
         QStringList{"'Z17'"} + chiave},
        {" order by Agente1 Desc", "PianoConti_Agente1Chiave", "pianoconti_agente1nulliprima",
         QStringList{"'A17'"} + chiave},
    };
    for (const Caso &c : casi) {
        righe_.Apri(kSelect + QLatin1String(c.ordine));
        ASSERT_TRUE(righe_.PerChiave());
        for (bool prima : {false, true}) {
            const QStringList pezzi = SqlLista::CondizioniDopo(righe_.Ordine(), c.riga, true, prima);
            SCOPED_TRACE(std::string(c.ordine) + (prima ? " before " : " after ") +
                         c.riga.join(QLatin1Char(',')).toStdString());
            ASSERT_FALSE(pezzi.isEmpty());
            // One seek for the rows, one for the Nulls that follow them; after
            // a Null name a seek per level.
            EXPECT_LE(pezzi.size(), c.riga[0].isEmpty() ? 4 : 2);
            for (const QString &pezzo : pezzi) {
                // A page after a neighbour's row, and a jump that skips rows past it.
                for (int salto : {0, 1000}) {
                    const QString p =
                        piano(SqlLista::Pagina(righe_.Parti(), pezzo, righe_.Ordine(), prima, 128, salto));
                    SCOPED_TRACE(p.toStdString());
                    if (Pg() && (c.riga[0].isEmpty() || pezzo.contains(QLatin1String("Is Null")))) {
                        // Past a Null value, or reading a column's Nulls, the
                        // piece holds a ledger's Nulls at most: the planner
                        // may sort a piece that small.
                        EXPECT_FALSE(p.contains(QLatin1String("Seq Scan on pianoconti")));
                    } else if (Pg()) {
                        EXPECT_TRUE(p.contains(QLatin1String("Index Scan")) ||
                                    p.contains(QLatin1String("Index Only Scan")));
                        EXPECT_TRUE(p.contains(QLatin1String(c.pg)));
                        EXPECT_FALSE(p.contains(QLatin1String("Seq Scan on pianoconti")));
                        // The customers are never sorted (the three ledgers
                        // of the join may be).
                        EXPECT_FALSE(p.contains(QLatin1String("Sort Key: pianoconti")));
                    } else {
                        EXPECT_TRUE(p.contains(QStringLiteral("SEARCH PianoConti USING ") +
                                               QLatin1String("INDEX ") + QLatin1String(c.sqlite)) ||
                                    p.contains(QStringLiteral("SEARCH PianoConti USING COVERING INDEX ") +
                                               QLatin1String(c.sqlite)));
                        EXPECT_FALSE(p.contains(QLatin1String("SCAN PianoConti")));
                        EXPECT_FALSE(p.contains(QLatin1String("TEMP B-TREE")));
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, PianiLista, ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL),
                         NomeMotore);
