// What the SQLite functions of the Jet dialect share: reading an argument as
// text or as a number the way Jet converts an operand, and stopping a query
// with a message.
#pragma once

#include <QString>
#include <QtGlobal>

struct sqlite3_context;
struct sqlite3_value;

namespace FunzioniSqlite
{

QString Testo(sqlite3_value *v);

// A number argument: integers exactly, text holding a number read with '.'
// for the decimals (as PostgreSQL reads it), anything else NonNumero.
struct Numero {
    enum Tipo { Valore, Nullo, NonNumero } tipo = Valore;
    bool intero = false;
    qint64 i = 0;
    double d = 0;
};
Numero LeggiNumero(sqlite3_value *v);
// Reads the argument; on text that is not a number the query stops ("Tipo non corrispondente").
bool Operando(sqlite3_context *ctx, sqlite3_value *v, Numero &n);
// Rounds half to even to a 64-bit whole number; false when out of range.
bool Arrotonda(const Numero &n, qint64 &out);
// Stops the query with `messaggio`.
void Errore(sqlite3_context *ctx, const QString &messaggio);

} // namespace FunzioniSqlite
