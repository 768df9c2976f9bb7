// Jet's text and date functions for SQLite: IsNumeric (-1 for True), UCase and
// LCase over all of Unicode, Like patterns, Left, Right, Mid, InStr (without
// regard to case unless asked), Year, Month and Day.
#include "components/db/FunzioniSqlite.h"
#include "components/db/FunzioniSqliteComuni.h"
#include "components/db/JetSql.h"

#include <QDate>
#include <QString>
#include <limits>
#include <sqlite3.h>

namespace FunzioniSqlite
{

QString Testo(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
}

} // namespace FunzioniSqlite

namespace
{

using namespace FunzioniSqlite;

void risultatoTesto(sqlite3_context *ctx, const QString &s)
{
    const QByteArray r = s.toUtf8();
    sqlite3_result_text(ctx, r.constData(), int(r.size()), SQLITE_TRANSIENT);
}

// A number as VB's IsNumeric reads one: blanks around, a sign, digits with
// one decimal separator ('.' or ','), an optional exponent.
bool numerico(const QString &s)
{
    const QString t = s.trimmed();
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    int cifre = 0;
    bool separatore = false;
    for (; i < n; ++i) {
        if (t[i] >= u'0' && t[i] <= u'9')
            ++cifre;
        else if ((t[i] == u'.' || t[i] == u',') && !separatore)
            separatore = true;
        else
            break;
    }
    if (cifre == 0)
        return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        int esp = 0;
        for (; i < n && t[i] >= u'0' && t[i] <= u'9'; ++i)
            ++esp;
        if (esp == 0)
            return false;
    }
    return i == n;
}

void isnumeric(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        sqlite3_result_int(ctx, -1);
        return;
    case SQLITE_NULL:
        sqlite3_result_int(ctx, 0);
        return;
    default:
        sqlite3_result_int(ctx, numerico(Testo(argv[0])) ? -1 : 0);
    }
}

template <bool maiuscolo> void cambiaCaso(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    risultatoTesto(ctx, maiuscolo ? Testo(argv[0]).toUpper() : Testo(argv[0]).toLower());
}

void jetlike(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, JetSql::JetLike(Testo(argv[0]), Testo(argv[1])) ? 1 : 0);
}

// A position or length argument: Null gives Null; below `minimo` Jet stops
// with "invalid procedure call".
enum class Esito { Valido, Nullo, Fermato };
Esito posizione(sqlite3_context *ctx, sqlite3_value *v, qint64 minimo, const char *funzione, qint64 &out)
{
    Numero n;
    if (!Operando(ctx, v, n))
        return Esito::Fermato;
    if (n.tipo == Numero::Nullo)
        return Esito::Nullo;
    if (!Arrotonda(n, out) || out < minimo || out > std::numeric_limits<int>::max()) {
        Errore(ctx, QStringLiteral("Chiamata di routine o argomento non validi: %1 non è ammesso in %2.")
                        .arg(Testo(v), QLatin1String(funzione)));
        return Esito::Fermato;
    }
    return Esito::Valido;
}

template <bool sinistra> void leftRight(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    qint64 n = 0;
    const Esito e = posizione(ctx, argv[1], 0, sinistra ? "Left" : "Right", n);
    if (e == Esito::Fermato)
        return;
    if (e == Esito::Nullo || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = Testo(argv[0]);
    risultatoTesto(ctx, sinistra ? s.left(int(n)) : s.right(int(n)));
}

void jetmid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    qint64 inizio = 0, lunghezza = -1;
    Esito e = posizione(ctx, argv[1], 1, "Mid", inizio);
    if (e != Esito::Fermato && argc == 3) {
        const Esito l = posizione(ctx, argv[2], 0, "Mid", lunghezza);
        e = l == Esito::Valido ? e : l;
    }
    if (e == Esito::Fermato)
        return;
    if (e == Esito::Nullo || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = Testo(argv[0]);
    risultatoTesto(ctx, inizio > s.size() ? QString() : s.mid(int(inizio - 1), int(lunghezza)));
}

// jetinstr(start, s1, s2, text compare): the position of s2 in s1 from start,
// 0 when absent or start is past the end, start for an empty s2.
void jetinstr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    qint64 inizio = 0;
    const Esito e = posizione(ctx, argv[0], 1, "InStr", inizio);
    if (e == Esito::Fermato)
        return;
    if (e == Esito::Nullo || sqlite3_value_type(argv[1]) == SQLITE_NULL ||
        sqlite3_value_type(argv[2]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s1 = Testo(argv[1]), s2 = Testo(argv[2]);
    if (inizio > s1.size()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    if (s2.isEmpty()) {
        sqlite3_result_int64(ctx, inizio);
        return;
    }
    const auto cs = sqlite3_value_int(argv[3]) != 0 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    sqlite3_result_int64(ctx, s1.indexOf(s2, int(inizio - 1), cs) + 1);
}

// Year, Month and Day of a date as this program stores it ("yyyy-mm-dd",
// optionally followed by a time); anything else is not a date.
template <int parte> void parteData(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = Testo(argv[0]).trimmed();
    const QDate d = sqlite3_value_type(argv[0]) == SQLITE_TEXT &&
                            (s.size() == 10 || (s.size() > 10 && (s[10] == u' ' || s[10] == u'T')))
                        ? QDate::fromString(s.left(10), Qt::ISODate)
                        : QDate();
    if (!d.isValid()) {
        Errore(ctx, QStringLiteral("Tipo non corrispondente: '%1' non è una data.").arg(s));
        return;
    }
    sqlite3_result_int(ctx, parte == 0 ? d.year() : parte == 1 ? d.month() : d.day());
}

} // namespace

bool FunzioniSqlite::Registra(sqlite3 *db)
{
    const int f = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    bool ok = RegistraNumeri(db);
    ok &= sqlite3_create_function(db, "isnumeric", 1, f, nullptr, isnumeric, nullptr, nullptr) == SQLITE_OK;
    ok &=
        sqlite3_create_function(db, "ucase", 1, f, nullptr, cambiaCaso<true>, nullptr, nullptr) == SQLITE_OK;
    ok &=
        sqlite3_create_function(db, "lcase", 1, f, nullptr, cambiaCaso<false>, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetlike", 2, f, nullptr, jetlike, nullptr, nullptr) == SQLITE_OK;
    ok &=
        sqlite3_create_function(db, "jetleft", 2, f, nullptr, leftRight<true>, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetright", 2, f, nullptr, leftRight<false>, nullptr, nullptr) ==
          SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetmid", 2, f, nullptr, jetmid, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetmid", 3, f, nullptr, jetmid, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetinstr", 4, f, nullptr, jetinstr, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "year", 1, f, nullptr, parteData<0>, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "month", 1, f, nullptr, parteData<1>, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "day", 1, f, nullptr, parteData<2>, nullptr, nullptr) == SQLITE_OK;
    return ok;
}
