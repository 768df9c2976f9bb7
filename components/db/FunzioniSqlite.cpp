// Jet functions for SQLite, with the results the original engine gave
// (IsNumeric answers -1 for True, as Jet did).
#include "components/db/FunzioniSqlite.h"
#include "components/db/JetSql.h"

#include <QString>
#include <sqlite3.h>

namespace {

QString testo(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
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
        if (t[i].isDigit())
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
        for (; i < n && t[i].isDigit(); ++i)
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
        sqlite3_result_int(ctx, numerico(testo(argv[0])) ? -1 : 0);
    }
}

// VB's Val: blanks anywhere are skipped, the leading number is read, the rest ignored.
void val(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int tipo = sqlite3_value_type(argv[0]);
    if (tipo == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (tipo == SQLITE_INTEGER || tipo == SQLITE_FLOAT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    QString s = testo(argv[0]);
    s.remove(u' ').remove(u'\t');
    QString num;
    int i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        num += s[i++];
    bool punto = false;
    for (; i < s.size(); ++i) {
        if (s[i].isDigit())
            num += s[i];
        else if (s[i] == u'.' && !punto) {
            punto = true;
            num += s[i];
        } else
            break;
    }
    bool ok = false;
    const double d = num.toDouble(&ok);
    if (!ok) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    if (!punto && d >= -9.2e18 && d <= 9.2e18)
        sqlite3_result_int64(ctx, num.toLongLong());
    else
        sqlite3_result_double(ctx, d);
}

template <bool maiuscolo>
void cambiaCaso(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray r = (maiuscolo ? testo(argv[0]).toUpper() : testo(argv[0]).toLower()).toUtf8();
    sqlite3_result_text(ctx, r.constData(), int(r.size()), SQLITE_TRANSIENT);
}

void jetlike(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, JetSql::JetLike(testo(argv[0]), testo(argv[1])) ? 1 : 0);
}

} // namespace

bool FunzioniSqlite::Registra(sqlite3 *db)
{
    const int f = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    bool ok = true;
    ok &= sqlite3_create_function(db, "isnumeric", 1, f, nullptr, isnumeric, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "val", 1, f, nullptr, val, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "ucase", 1, f, nullptr, cambiaCaso<true>, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "lcase", 1, f, nullptr, cambiaCaso<false>, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetlike", 2, f, nullptr, jetlike, nullptr, nullptr) == SQLITE_OK;
    return ok;
}
