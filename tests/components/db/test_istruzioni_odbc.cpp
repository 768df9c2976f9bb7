// SELECTs of a server connection run on prepared statements of our own: the
// same rows, values, column kinds and errors as through Qt's driver, whatever
// literals a form is run with, inside and outside transactions, and after
// another program changed the table under a prepared statement.
#include "ProvaMotori.h"

#include <QSqlQuery>

namespace
{

// Every cell as text with its kind, and every column's name, kind and size.
QStringList Descrivi(const Risultato &r)
{
    QStringList out;
    for (int i = 0; i < r.numColonne(); ++i)
        out << QStringLiteral("%1:%2:%3")
                   .arg(r.colonna(i).nome)
                   .arg(int(r.colonna(i).tipo))
                   .arg(r.colonna(i).lunghezza);
    for (int j = 0; j < r.numRighe(); ++j)
        for (int i = 0; i < r.numColonne(); ++i) {
            const QVariant v = r.valore(j, i);
            out << (v.isValid() ? QString::fromLatin1(v.typeName()) + u'=' + v.toString()
                                : QStringLiteral("Null"));
        }
    return out;
}

} // namespace

class LettureServer : public ProvaMotori
{
  protected:
    void SetUp() override
    {
        ProvaMotori::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QSqlQuery q(db->DatabaseDao(C));
        ASSERT_TRUE(q.exec("CREATE TABLE provaodbc (id integer PRIMARY KEY, codice varchar(10), nota text, "
                           "importo numeric(19,4), giorno date, quando timestamp, reale double precision, "
                           "grande bigint, ora time)"));
        const QString lunga = QString(5000, u'x') + QStringLiteral("fine");
        Esegui("INSERT INTO provaodbc VALUES (1, 'A01', 'Città d''Ora', 12.5, #2024-02-29#, #2024-02-29 "
               "13:45:10#, "
               "0.1, 5000000000, NULL)");
        Esegui("INSERT INTO provaodbc VALUES (2, 'b02', '" + lunga + "', -3, NULL, NULL, 2.5, NULL, NULL)");
        Esegui("INSERT INTO provaodbc VALUES (3, '', NULL, NULL, #2023-12-31#, NULL, NULL, -7, NULL)");
        Esegui("UPDATE provaodbc SET ora = #13:45:10# WHERE id = 1");
        // The same reads through Qt's driver, for comparison.
        ApriMotoreQt();
    }
    // Checks that both readings agree and answers the rows' ids.
    QStringList Uguali(const QString &sql)
    {
        const auto nostro = db->Seleziona(C, sql);
        const auto loro = qt->Seleziona(C, sql);
        EXPECT_EQ(Descrivi(*nostro), Descrivi(*loro)) << sql.toStdString();
        QStringList id;
        for (int j = 0; j < nostro->numRighe(); ++j)
            id << nostro->valore(j, 0).toString();
        return id;
    }
};

TEST_P(LettureServer, EveryKindOfColumnReadAsQtReadsIt)
{
    EXPECT_EQ(Uguali("SELECT * FROM provaodbc ORDER BY id"), QStringList({"1", "2", "3"}));
    EXPECT_EQ(
        Uguali("SELECT id, Sum(importo) AS totale, Count(*) AS n, codice & nota AS unito FROM provaodbc "
               "WHERE id > 0 GROUP BY id, codice, nota ORDER BY id"),
        QStringList({"1", "2", "3"}));
    EXPECT_EQ(Uguali("SELECT id FROM provaodbc WHERE id > 99"), QStringList());
    // A time of day is read through Qt, every time.
    for (int giro = 0; giro < 2; ++giro)
        EXPECT_EQ(Uguali("SELECT id, ora FROM provaodbc WHERE id < 3 ORDER BY id"), QStringList({"1", "2"}));
    // A text longer than one read of the driver comes whole.
    const auto r = db->Seleziona(C, "SELECT nota FROM provaodbc WHERE id = 2");
    ASSERT_EQ(r->numRighe(), 1);
    EXPECT_EQ(r->valore(0, 0).toString().size(), 5004);
    EXPECT_TRUE(r->valore(0, 0).toString().endsWith(QLatin1String("fine")));
}

TEST_P(LettureServer, OneFormRunWithEveryKindOfLiteral)
{
    // Texts compare as the column does (without regard to case on citext,
    // exactly on varchar), whole numbers of every size, quotes and accents,
    // an empty text, and a number where a text stood before.
    const QList<QPair<QString, QStringList>> casi = {
        {"SELECT id FROM provaodbc WHERE codice = 'A01'", {"1"}},
        {"SELECT id FROM provaodbc WHERE codice = 'B02'", {}},
        {"SELECT id FROM provaodbc WHERE codice = ''", {"3"}},
        {"SELECT id FROM provaodbc WHERE nota = 'Città d''Ora'", {"1"}},
        {"SELECT id FROM provaodbc WHERE grande = 5000000000", {"1"}},
        {"SELECT id FROM provaodbc WHERE grande = -7", {"3"}},
        {"SELECT id FROM provaodbc WHERE importo = 12.5", {"1"}},
        {"SELECT id FROM provaodbc WHERE importo = -3", {"2"}},
        {"SELECT id FROM provaodbc WHERE id = '2'", {"2"}},
        {"SELECT id FROM provaodbc WHERE id >= 2 AND codice <> 'zzz' ORDER BY id", {"2", "3"}},
        {"SELECT id FROM provaodbc WHERE id >= 1 AND codice <> 'A01' ORDER BY id", {"2", "3"}},
    };
    for (int giro = 0; giro < 2; ++giro)
        for (const auto &c : casi)
            EXPECT_EQ(Uguali(c.first), c.second) << c.first.toStdString();
}

TEST_P(LettureServer, RefusedTextsFailAsBeforeAndTheConnectionGoesOn)
{
    // A text compared with a number is refused by the server either way.
    int nostro = 0, loro = 0;
    try {
        db->Seleziona(C, "SELECT id FROM provaodbc WHERE codice > 5");
    } catch (const VbErrore &e) {
        nostro = e.numero();
    }
    try {
        qt->Seleziona(C, "SELECT id FROM provaodbc WHERE codice > 5");
    } catch (const VbErrore &e) {
        loro = e.numero();
    }
    EXPECT_EQ(nostro, loro);
    if (Pg()) {
        EXPECT_NE(nostro, 0);
    }
    EXPECT_EQ(Uguali("SELECT id FROM provaodbc WHERE codice = 'A01'"), QStringList({"1"}));
}

TEST_P(LettureServer, InsideATransactionTheTransactionsRowsAreSeen)
{
    db->IniziaTrans(C);
    Esegui("INSERT INTO provaodbc (id, codice) VALUES (4, 'T04')");
    for (const char *codice : {"T04", "A01", "T04"}) {
        const auto r =
            db->Seleziona(C, QStringLiteral("SELECT id FROM provaodbc WHERE codice = '%1'").arg(codice));
        ASSERT_EQ(r->numRighe(), 1) << codice;
    }
    // A read the server refuses inside the transaction is trapped as before
    // (SQLite compares a text with a number).
    if (Pg()) {
        EXPECT_THROW(db->Seleziona(C, "SELECT id FROM provaodbc WHERE codice > 5"), VbErrore);
    }
    db->AnnullaTrans(C);
    EXPECT_EQ(db->Seleziona(C, "SELECT id FROM provaodbc WHERE codice = 'T04'")->numRighe(), 0);
    EXPECT_EQ(db->Seleziona(C, "SELECT id FROM provaodbc WHERE codice = 'A01'")->numRighe(), 1);
}

TEST_P(LettureServer, AnotherProgramChangesTheTableUnderAPreparedRead)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(db->Seleziona(C, "SELECT * FROM provaodbc WHERE codice = 'A01'")->numRighe(), 1);
    QSqlQuery q(qt->DatabaseDao(C));
    ASSERT_TRUE(q.exec("ALTER TABLE provaodbc ADD COLUMN aggiunta integer"));
    ASSERT_TRUE(q.exec("UPDATE provaodbc SET aggiunta = 42 WHERE id = 1"));
    const auto r = db->Seleziona(C, "SELECT * FROM provaodbc WHERE codice = 'A01'");
    ASSERT_EQ(r->numRighe(), 1);
    ASSERT_EQ(r->numColonne(), 10);
    EXPECT_EQ(r->valore(0, 9).toInt(), 42);
}

INSTANTIATE_TEST_SUITE_P(Motori, LettureServer,
                         ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL), NomeMotore);
