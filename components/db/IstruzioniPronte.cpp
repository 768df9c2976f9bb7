// Prepared SQLite statements kept by their text for the next run.
#include "components/db/IstruzioniPronte.h"
#include "components/db/ErroriDb.h"
#include "components/db/JetSql.h"

#include <sqlite3.h>

namespace {
constexpr int MaxUguali = 3;
} // namespace

IstruzioniPronte::IstruzioniPronte(sqlite3 *h, int capienza) : m_h(h), m_capienza(capienza < 1 ? 1 : capienza) {}

IstruzioniPronte::~IstruzioniPronte()
{
    Svuota();
    // Statements still out belong to cursors that outlive the connection's
    // state; they finalize their own when they are dropped.
}

sqlite3_stmt *IstruzioniPronte::Prendi(const QByteArray &sql, bool *nuova)
{
    for (auto it = m_libere.begin(); it != m_libere.end(); ++it) {
        if (it->sql == sql) {
            sqlite3_stmt *st = it->st;
            m_libere.erase(it);
            m_fuori.insert(st, m_generazione);
            if (nuova)
                *nuova = false;
            return st;
        }
    }
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v3(m_h, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr) !=
            SQLITE_OK ||
        !st) {
        const VbErrore e = ErroriDb::DaSqlite(sqlite3_extended_errcode(m_h), QString::fromUtf8(sqlite3_errmsg(m_h)));
        sqlite3_finalize(st);
        throw e;
    }
    m_fuori.insert(st, m_generazione);
    if (nuova)
        *nuova = true;
    return st;
}

void IstruzioniPronte::Restituisci(sqlite3_stmt *st)
{
    if (!st)
        return;
    auto fuori = m_fuori.find(st);
    const bool nostra = fuori != m_fuori.end() && *fuori == m_generazione;
    if (fuori != m_fuori.end())
        m_fuori.erase(fuori);
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    const QByteArray sql(sqlite3_sql(st));
    // A query run again while its own rows are still being read (a nested
    // run of the same calculation) needs a second statement: a few are kept.
    int uguali = 0;
    for (const Libera &l : m_libere)
        if (l.sql == sql)
            ++uguali;
    if (!nostra || uguali >= MaxUguali) {
        sqlite3_finalize(st);
        return;
    }
    m_libere.push_front({sql, st});
    while (int(m_libere.size()) > m_capienza) {
        sqlite3_finalize(m_libere.back().st);
        m_libere.pop_back();
    }
}

void IstruzioniPronte::Svuota()
{
    for (const Libera &l : m_libere)
        sqlite3_finalize(l.st);
    m_libere.clear();
    ++m_generazione;
}

void IstruzioniPronte::LegaParametri(sqlite3_stmt *st, const QVariantList &valori)
{
    for (int i = 0; i < valori.size(); ++i) {
        const int k = sqlite3_bind_parameter_index(st, JetSql::NomeParametro(i).toUtf8().constData());
        if (k <= 0)
            continue;
        const QVariant &v = valori[i];
        if (v.typeId() == QMetaType::LongLong) {
            sqlite3_bind_int64(st, k, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double) {
            sqlite3_bind_double(st, k, v.toDouble());
        } else {
            const QByteArray b = v.toString().toUtf8();
            sqlite3_bind_text(st, k, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        }
    }
}
