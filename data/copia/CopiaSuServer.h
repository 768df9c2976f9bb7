// Copy of an SQLite company (and its common menu database) into an empty
// PostgreSQL database: the schema applied, every table copied, row counts
// checked, the counters moved past the copied rows.
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace CopiaSuServer
{

// The schema of the server database that holds the menu tables.
inline const QString SchemaMenu = QStringLiteral("menu");

struct Tabella {
    QString schema, nome; // on the server
    qint64 righe = 0;     // copied, equal in both databases
};

// Called after each table (for the tool's progress lines).
using Avanzamento = std::function<void(const Tabella &)>;

// Copies the SQLite company file `fileAzienda` into the public schema of
// `server` (an open ODBC connection to PostgreSQL) and, when `fileMenu` is
// not empty, the common menu database into the schema "menu". Refuses a
// server database whose tables of those schemas hold any row, and an SQLite
// table the program's schemas do not hold. The rows go in one transaction:
// on any failure nothing is copied (the empty tables stay) and VbErrore is
// thrown with an Italian text naming the table. Statistics are written
// after the copy. Answers the tables copied in copy order.
QList<Tabella> Copia(const QString &fileAzienda, const QString &fileMenu, QSqlDatabase &server,
                     const Avanzamento &avanzamento = {});

// The rows of every base table of `schema` on the server, in the order of
// the tables' names (for checks after a copy).
QList<Tabella> ContaRighe(QSqlDatabase &server, const QString &schema);

} // namespace CopiaSuServer
