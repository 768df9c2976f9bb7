// Prepared SQLite statements kept by their text for the next run.
#include "components/db/IstruzioniPronte.h"
#include "components/db/ErroriDb.h"
#include "components/db/JetSql.h"

#include <sqlite3.h>

namespace
{
constexpr int MaxUguali = 3;

// Texts held by the same buffer are equal without reading them.
bool stesso(const QByteArray &a, const QByteArray &b)
{
    return a.size() == b.size() && (a.constData() == b.constData() || a == b);
}
} // namespace

IstruzioniPronte::IstruzioniPronte(sqlite3 *h, int capienza) : m_h(h), m_capienza(capienza < 1 ? 1 : capienza)
{
}

IstruzioniPronte::~IstruzioniPronte()
{
    Svuota();
    // Statements still out belong to cursors that outlive the connection's
    // state; they finalize their own when they are dropped.
}

sqlite3_stmt *IstruzioniPronte::Prendi(const QByteArray &sql, bool *nuova)
{
    for (auto it = m_libere.begin(); it != m_libere.end(); ++it) {
        if (stesso(it->sql, sql)) {
            sqlite3_stmt *st = it->st;
            m_fuori.insert(st, {m_generazione, it->sql});
            m_libere.erase(it);
            if (nuova)
                *nuova = false;
            return st;
        }
    }
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v3(m_h, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr) !=
            SQLITE_OK ||
        !st) {
        const VbErrore e =
            ErroriDb::DaSqlite(sqlite3_extended_errcode(m_h), QString::fromUtf8(sqlite3_errmsg(m_h)));
        sqlite3_finalize(st);
        throw e;
    }
    m_fuori.insert(st, {m_generazione, sql});
    if (nuova)
        *nuova = true;
    return st;
}

void IstruzioniPronte::Restituisci(sqlite3_stmt *st)
{
    if (!st)
        return;
    auto fuori = m_fuori.find(st);
    const bool nostra = fuori != m_fuori.end() && fuori->generazione == m_generazione;
    const QByteArray sql = fuori != m_fuori.end() ? fuori->sql : QByteArray(sqlite3_sql(st));
    if (fuori != m_fuori.end())
        m_fuori.erase(fuori);
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    // A query run again while its own rows are still being read (a nested
    // run of the same calculation) needs a second statement: a few are kept.
    int uguali = 0;
    for (const Libera &l : m_libere)
        if (stesso(l.sql, sql))
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

namespace
{
void lega(sqlite3_stmt *st, int k, const QVariant &v)
{
    if (k <= 0)
        return;
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
        sqlite3_bind_int64(st, k, v.toLongLong());
    } else if (v.typeId() == QMetaType::Double) {
        sqlite3_bind_double(st, k, v.toDouble());
    } else {
        const QByteArray b = v.toString().toUtf8();
        sqlite3_bind_text(st, k, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
}
} // namespace

void IstruzioniPronte::LegaParametri(sqlite3_stmt *st, const QVariantList &valori)
{
    // The names as SQLite looks them up, made once for all.
    static const std::vector<QByteArray> nomi = [] {
        std::vector<QByteArray> v;
        for (int i = 0; i < 999; ++i)
            v.push_back(JetSql::NomeParametro(i).toUtf8());
        return v;
    }();
    for (int i = 0; i < valori.size(); ++i) {
        const QByteArray nome = size_t(i) < nomi.size() ? nomi[size_t(i)] : JetSql::NomeParametro(i).toUtf8();
        lega(st, sqlite3_bind_parameter_index(st, nome.constData()), valori[i]);
    }
}

void IstruzioniPronte::LegaParametri(sqlite3_stmt *st, const QVariantList &valori,
                                     const std::vector<int> &numeri)
{
    for (int i = 0; i < valori.size() && size_t(i) < numeri.size(); ++i)
        lega(st, numeri[size_t(i)], valori[i]);
}
