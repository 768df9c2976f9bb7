// Functions of the Jet dialect that SQLite lacks, registered on a connection:
// isnumeric, val, ucase, lcase (whole Unicode) and jetlike (Jet patterns).
#pragma once

struct sqlite3;

namespace FunzioniSqlite {
// Registers the functions on the connection; false when SQLite refused one.
bool Registra(sqlite3 *db);
} // namespace FunzioniSqlite
