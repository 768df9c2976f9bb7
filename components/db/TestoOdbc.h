// ODBC connect texts ("KEY=value;KEY={value};..."): read, joined and written
// so that a value holding ";", "{" or "}" stays one value. A value in braces
// may hold anything; a "}" inside it is written "}}".
#pragma once

#include <QList>
#include <QString>

namespace TestoOdbc
{

// One attribute of a connect text; `valore` as written (braces kept).
struct Voce {
    QString chiave;
    QString valore;
};

// The attributes of a text, in their order ("ODBC;" in front is dropped).
// A value that opens a brace and never closes it runs to the end of the text.
QList<Voce> Scomponi(const QString &testo);
QString Componi(const QList<Voce> &voci);
// The two texts joined; a key of `sopra` replaces the same key of `base`
// (compared without regard to case) where `base` had it.
QString Unisci(const QString &base, const QString &sopra);
// Drops the attributes named (without regard to case).
QString Togli(const QString &testo, const QStringList &chiavi);
// The value of an attribute (braces taken off, "}}" read as "}"); empty when absent.
QString Valore(const QString &testo, const QString &chiave);

// `valore` in braces, "}" doubled: what every ODBC driver reads back as written.
QString InGraffe(const QString &valore);
// True when the text names the PostgreSQL driver (DRIVER=...postgres... or psqlodbc).
bool DriverPostgres(const QString &testo);
// `valore` as a libpq connection value: in single quotes, "\" and "'" escaped.
QString ValoreLibpq(const QString &valore);
// The keys of a libpq connection text ("a=1 b = 'x y'"), lower-case, in their order.
QStringList ChiaviLibpq(const QString &opzioni);

} // namespace TestoOdbc
