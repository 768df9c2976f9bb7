// Jet's numeric functions and operators for SQLite: Val, CInt, CLng, CDbl,
// / (always fractional), \ and Mod (on operands rounded half to even), each
// stopping the query with an Italian message where Jet stops with an error.
#include "components/db/FunzioniSqlite.h"
#include "components/db/FunzioniSqliteComuni.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <sqlite3.h>

namespace FunzioniSqlite
{

Numero LeggiNumero(sqlite3_value *v)
{
    Numero n;
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        n.tipo = Numero::Nullo;
        return n;
    case SQLITE_INTEGER:
        n.intero = true;
        n.i = sqlite3_value_int64(v);
        n.d = double(n.i);
        return n;
    case SQLITE_FLOAT:
        n.d = sqlite3_value_double(v);
        return n;
    default:
        break;
    }
    // Text holding a number as the engines write one: blanks around, '.' for the decimals.
    static const QRegularExpression re(QStringLiteral(R"(^\s*[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?\s*$)"));
    const QString s = Testo(v);
    if (!re.match(s).hasMatch()) {
        n.tipo = Numero::NonNumero;
        return n;
    }
    bool ok = false;
    n.i = s.trimmed().toLongLong(&ok);
    n.intero = ok;
    n.d = ok ? double(n.i) : s.trimmed().toDouble();
    return n;
}

bool Arrotonda(const Numero &n, qint64 &out)
{
    if (n.intero) {
        out = n.i;
        return true;
    }
    const double r = std::nearbyint(n.d); // half to even
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        return false;
    out = qint64(r);
    return true;
}

void Errore(sqlite3_context *ctx, const QString &messaggio)
{
    const QByteArray m = messaggio.toUtf8();
    sqlite3_result_error(ctx, m.constData(), int(m.size()));
}

bool Operando(sqlite3_context *ctx, sqlite3_value *v, Numero &n)
{
    n = LeggiNumero(v);
    if (n.tipo == Numero::NonNumero) {
        Errore(ctx, QStringLiteral("Tipo non corrispondente: '%1' non è un numero.").arg(Testo(v)));
        return false;
    }
    return true;
}

} // namespace FunzioniSqlite

namespace
{

using namespace FunzioniSqlite;

// Jet's Val: blanks anywhere are dropped; &H and &O read hexadecimal and octal
// digits as an Integer or a Long (with sign); otherwise the leading decimal
// number, with e or d before an exponent, is read; 0 when there is none.
void val(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int tipo = sqlite3_value_type(argv[0]);
    if (tipo == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (tipo == SQLITE_INTEGER || tipo == SQLITE_FLOAT) {
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    }
    QString s = Testo(argv[0]);
    s.remove(u' ').remove(u'\t').remove(u'\n').remove(u'\r');
    if (s.size() >= 2 && s[0] == u'&' && (s[1].toLower() == u'h' || s[1].toLower() == u'o')) {
        const int base = s[1].toLower() == u'h' ? 16 : 8;
        quint64 u = 0;
        bool troppo = false;
        for (int i = 2; i < s.size(); ++i) {
            const int cifra = int(QStringLiteral("0123456789abcdef").indexOf(s[i].toLower()));
            if (cifra < 0 || cifra >= base)
                break;
            troppo = troppo || u > 0xFFFFFFFFull;
            u = u * quint64(base) + quint64(cifra);
        }
        if (troppo || u > 0xFFFFFFFFull) {
            Errore(ctx, QStringLiteral("Overflow: %1 non è un Long.").arg(s));
            return;
        }
        const qint64 v = u <= 0xFFFF ? qint64(qint16(quint16(u))) : qint64(qint32(quint32(u)));
        sqlite3_result_double(ctx, double(v));
        return;
    }
    static const QRegularExpression re(QStringLiteral(R"(^[-+]?(?:\d+\.?\d*|\.\d+)(?:[eEdD][-+]?\d+)?)"));
    const auto m = re.match(s);
    if (!m.hasMatch()) {
        sqlite3_result_double(ctx, 0);
        return;
    }
    QString numero = m.captured(0);
    numero.replace(u'd', u'e').replace(u'D', u'e');
    const double d = numero.toDouble();
    if (!std::isfinite(d)) {
        Errore(ctx, QStringLiteral("Overflow: %1 è fuori dall'intervallo dei numeri.").arg(numero));
        return;
    }
    sqlite3_result_double(ctx, d);
}

template <qint64 minimo, qint64 massimo> void intero(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    Numero n;
    if (!Operando(ctx, argv[0], n))
        return;
    if (n.tipo == Numero::Nullo) {
        sqlite3_result_null(ctx);
        return;
    }
    qint64 v = 0;
    if (!Arrotonda(n, v) || v < minimo || v > massimo) {
        Errore(ctx, QStringLiteral("Overflow: %1 non sta in un %2.")
                        .arg(n.intero ? QString::number(n.i) : QString::number(n.d, 'g', 17),
                             massimo == 32767 ? QStringLiteral("Integer") : QStringLiteral("Long")));
        return;
    }
    sqlite3_result_int64(ctx, v);
}

void cdbl(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    Numero n;
    if (!Operando(ctx, argv[0], n))
        return;
    if (n.tipo == Numero::Nullo)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_double(ctx, n.d);
}

// The two operands of an operator; false when the answer is already given
// (Null for a Null operand) or the query stopped.
bool dueOperandi(sqlite3_context *ctx, sqlite3_value **argv, Numero &a, Numero &b)
{
    if (!Operando(ctx, argv[0], a) || !Operando(ctx, argv[1], b))
        return false;
    if (a.tipo == Numero::Nullo || b.tipo == Numero::Nullo) {
        sqlite3_result_null(ctx);
        return false;
    }
    return true;
}

void jetdiv(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    Numero a, b;
    if (!dueOperandi(ctx, argv, a, b))
        return;
    if (b.d == 0) {
        Errore(ctx, QStringLiteral("Divisione per zero."));
        return;
    }
    sqlite3_result_double(ctx, a.d / b.d);
}

template <bool modulo> void divisioneIntera(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    Numero a, b;
    if (!dueOperandi(ctx, argv, a, b))
        return;
    qint64 x = 0, y = 0;
    if (!Arrotonda(a, x) || !Arrotonda(b, y)) {
        Errore(ctx, QStringLiteral("Overflow."));
        return;
    }
    if (y == 0) {
        Errore(ctx, QStringLiteral("Divisione per zero."));
        return;
    }
    if (y == -1) { // x / -1 overflows for the smallest x
        if (!modulo && x == std::numeric_limits<qint64>::min()) {
            Errore(ctx, QStringLiteral("Overflow."));
            return;
        }
        sqlite3_result_int64(ctx, modulo ? 0 : -x);
        return;
    }
    sqlite3_result_int64(ctx, modulo ? x % y : x / y);
}

} // namespace

bool FunzioniSqlite::RegistraNumeri(sqlite3 *db)
{
    const int f = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    bool ok = true;
    ok &= sqlite3_create_function(db, "val", 1, f, nullptr, val, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "cint", 1, f, nullptr, intero<-32768, 32767>, nullptr, nullptr) ==
          SQLITE_OK;
    ok &= sqlite3_create_function(db, "clng", 1, f, nullptr, intero<-2147483648LL, 2147483647LL>, nullptr,
                                  nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "cdbl", 1, f, nullptr, cdbl, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetdiv", 2, f, nullptr, jetdiv, nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetintdiv", 2, f, nullptr, divisioneIntera<false>, nullptr, nullptr) ==
          SQLITE_OK;
    ok &= sqlite3_create_function(db, "jetmod", 2, f, nullptr, divisioneIntera<true>, nullptr, nullptr) ==
          SQLITE_OK;
    return ok;
}
