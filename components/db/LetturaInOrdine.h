// LetturaInOrdine: a SELECT that reads one table in the order of one of its
// indexes (the record form's first, last, next and previous record, the
// list's pages), written for each engine so that its plan holds whatever the
// planner's statistics say. The program's text stays as it is; these work on
// the engine's text, after the translation.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace LetturaInOrdine
{

// An index of a table: its name and its columns in order, in lower case.
struct Indice {
    QString nome;
    QStringList colonne;
};

// What an SQLite SELECT reads, as far as the choice of its index goes.
struct Lettura {
    bool valida = false;        // one table, an ORDER BY of its plain columns in one direction
    QString tabella;            // as written
    qsizetype dopoTabella = -1; // where "INDEXED BY" goes: after the table and its alias
    QStringList ordine;         // the ORDER BY's columns, in lower case
    QStringList condizioni;     // the columns its WHERE names outside sub-queries, in lower case
};
Lettura Analizza(const QString &sqlSqlite);

// The index the read is to name: the one whose first columns are the ORDER
// BY's (the fewest columns when several), unless the WHERE names a column
// that this index lacks and another index begins with (a search that index
// may answer better: the planner chooses). Empty when none.
QString IndiceScelto(const Lettura &lettura, const QList<Indice> &indici);

// SQLite: the text with "INDEXED BY" the index IndiceScelto gives; the text
// unchanged when it gives none.
QString ConIndice(const QString &sqlSqlite, const QList<Indice> &indici);
QString ConIndice(const QString &sqlSqlite, const Lettura &lettura, const QList<Indice> &indici);

// SQLite: the outer ORDER BY's terms written "+term" (a column so written
// keeps its collation but is no index's column): the order is then made by
// sorting the rows the WHERE picks, never by walking an index in that order
// (DbMotore::LetturaFiltrata). With `perRowid`, a SELECT of one table with a
// WHERE finds those rows by their row ids first ("WHERE rowid IN (SELECT
// rowid FROM ... WHERE ...)"): the WHERE is then answered from an index
// holding its columns, as a count of the same rows is, and only the rows it
// picks are read whole. The text unchanged when it has no ORDER BY.
QString OrdineSenzaIndice(const QString &sqlSqlite, bool perRowid = false);

// PostgreSQL: every comparison of row values "(a, b, c) > (x, y, z)" (or
// "<") written "((a, b, c) >= (x, y, z) AND (a, b, c) <> (x, y, z))". The
// same rows; but the planner estimates a row comparison by its first pair of
// columns alone, and "Gruppo > '01'" where every customer is in group 01
// looked to it like no row at all: a list page was then read through another
// index and sorted (220 ms at 100,000 customers). "Gruppo >= '01'" is every
// row, which the ordered index stops reading after the page's rows.
QString ConfrontiRiga(const QString &sqlPostgres);

// Either engine: only the rows `passo`, 2 x `passo`, ... of an ordered
// SELECT (counted from 1, in its order), numbered by the engine in one pass
// and sent alone; the row's number follows its columns. A long list reads
// the ordering values of those rows once, to start its jumps near them.
QString OgniRighe(const QString &sqlMotore, int passo);

} // namespace LetturaInOrdine
