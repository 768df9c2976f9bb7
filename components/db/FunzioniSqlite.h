// Functions of the Jet dialect that SQLite lacks, registered on a connection
// so that the translated text gives Jet's answers: isnumeric, val, ucase,
// lcase, jetlike, jetleft, jetright, jetmid, jetinstr, year, month, day, cint,
// clng, cdbl and the operators jetdiv (/), jetintdiv (\) and jetmod (Mod).
#pragma once

struct sqlite3;

namespace FunzioniSqlite
{
// Registers the functions on the connection; false when SQLite refused one.
bool Registra(sqlite3 *db);
// The numeric ones alone (Registra calls it).
bool RegistraNumeri(sqlite3 *db);
} // namespace FunzioniSqlite
