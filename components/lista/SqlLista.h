// SqlLista: the SQL texts a list builds around the SELECT of its window. The
// window's SELECT is split into its select list, its body (FROM and WHERE)
// and its ORDER BY, so that the list can read it a page at a time: pages that
// follow (or precede) a row already read are found by the values of the
// ordering columns of that row ("keyset" pages, one index seek each, however
// far down the list), and the number of rows is counted without the ordering.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace SqlLista
{

struct VoceOrdine {
    QString colonna; // as written in the ORDER BY ("Descrizione", "P.Conto")
    bool discendente = false;
    bool maiNullo = false; // never Null (a column of the record's key)
    bool operator==(const VoceOrdine &) const = default;
};

struct Parti {
    // The text is a SELECT the list can page through: no DISTINCT, GROUP BY,
    // HAVING, UNION or LIMIT at its outer level.
    bool semplice = false;
    QString selezione;          // "Select a, b" (everything before the outer FROM)
    QString corpo;              // " from T where c" (up to the outer ORDER BY)
    bool haWhere = false;       // the body has an outer WHERE
    QList<VoceOrdine> ordine;   // outer ORDER BY items
    bool ordineSemplice = true; // every ORDER BY item is a plain column
    QString testo;              // the whole text as given
};

Parti Scomponi(const QString &sql);

// The SELECT that counts the rows of the list (without its ordering); the
// count is read from the column "NumeroRighe".
QString Conteggio(const Parti &p);

// The rows coming after (prima: before) the row whose values of the `ordine`
// columns are `letterali` (SQL literals, in that order; an empty entry stands
// for Null), as conditions each engine answers with one seek of the
// ordering's index: read in turn, each in the list's order, they give those
// rows in that order; empty when no row can follow. The values must identify
// one row (the ordering ends with a unique key). `nulliPiccoli`: the engine
// sorts Null before every value (SQLite) rather than after it (PostgreSQL).
// The levels of the ordering from the first one on, in one direction, are one
// comparison of row values, "(Descrizione, Gruppo, Mastro, Conto) >
// ('Rossi', '01', '05', '0012')", which SQLite and PostgreSQL seek on an index
// of those columns (a chain of Ors, or equalities on the first columns and a
// range on the last, are sought on a part of the index only, or on another
// index: the engine then reads every row that shares the first values). A
// level whose Nulls sort after its values (descending where Null is least)
// has them apart, as does a Null value in the row (the levels after it then
// come one at a time): unless the column is `maiNullo`, a descending order
// gives a piece more per level. `perLivelli`: every level a piece of its
// own, equalities on the columns before it and one range ("Gruppo = '01' And
// Mastro < '11'"), as a count of the rows before a row is best sought on
// PostgreSQL: there a row comparison is estimated by its first column alone
// and checked on every row it passes (a count of half a million customers
// took 0.9-1.3 s at a million, a level at a time 0.27 s).
QStringList CondizioniDopo(const QList<VoceOrdine> &ordine, const QStringList &letterali, bool nulliPiccoli,
                           bool prima = false, bool perLivelli = false);

// The rows of CondizioniDopo as one condition (its pieces joined by Or).
QString CondizioneDopo(const QList<VoceOrdine> &ordine, const QStringList &letterali, bool nulliPiccoli,
                       bool prima = false);

// The condition that keeps the rows whose `colonne` have the values of
// `letterali` (an empty entry: Null).
QString CondizioneUguale(const QStringList &colonne, const QStringList &letterali);

// A page: the body with `condizione` added to its WHERE, ordered by `ordine`
// (reversed when `inverso`), at most `limite` rows after skipping `salto`.
QString Pagina(const Parti &p, const QString &condizione, const QList<VoceOrdine> &ordine, bool inverso,
               int limite, int salto = 0);

// The SELECT ordered by another column (replacing its ORDER BY).
QString ConOrdine(const Parti &p, const QList<VoceOrdine> &ordine);

// A value read from the list written as an SQL literal of its kind: texts
// quoted, dates as #mm/dd/yyyy#, numbers as they are; `numero` marks a value
// of a numeric column (exact amounts come as decimal text). "" for Null.
QString Letterale(const QVariant &valore, bool numero = false);

// Whether a text is a plain (possibly qualified) column name.
bool NomeSemplice(const QString &testo);

} // namespace SqlLista
