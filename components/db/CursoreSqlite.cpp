// Rows of an SQLite SELECT stepped on demand, and read all into memory when asked.
#include "components/db/CursoreSqlite.h"
#include "components/db/ErroriDb.h"
#include "components/db/IstruzioniPronte.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QtDebug>
#include <algorithm>
#include <optional>
#include <sqlite3.h>

namespace
{

VbErrore erroreDi(sqlite3 *h)
{
    return ErroriDb::DaSqlite(sqlite3_extended_errcode(h), QString::fromUtf8(sqlite3_errmsg(h)));
}

} // namespace

void CursoreSqlite::Registro::CompletaTutti()
{
    // Completa takes each cursor off the list.
    const std::vector<CursoreSqlite *> aperti = m_aperti;
    for (CursoreSqlite *c : aperti)
        c->Completa();
}

void CursoreSqlite::Registro::CompletaAlRiposo()
{
    m_attesa = false;
    const std::vector<CursoreSqlite *> aperti = m_aperti;
    for (CursoreSqlite *c : aperti) {
        if (!c->m_alRiposo || std::find(m_aperti.begin(), m_aperti.end(), c) == m_aperti.end())
            continue;
        try {
            c->Completa();
        } catch (const VbErrore &e) {
            // Left open: a write completes it, or its closing lets it go.
            c->m_alRiposo = false;
            qWarning("Lettura non completata: %s", qUtf8Printable(e.descrizione()));
        }
    }
}

void CursoreSqlite::CompletaAlRiposo()
{
    if (m_completo || m_alRiposo)
        return;
    QCoreApplication *app = QCoreApplication::instance();
    QAbstractEventDispatcher *d = app ? QAbstractEventDispatcher::instance(app->thread()) : nullptr;
    if (!d || QThread::currentThread() != app->thread())
        return;
    m_alRiposo = true;
    if (m_registro->m_attesa)
        return;
    m_registro->m_attesa = true;
    std::weak_ptr<Registro> registro = m_registro;
    QObject::connect(
        d, &QAbstractEventDispatcher::aboutToBlock, app,
        [registro] {
            if (const auto r = registro.lock())
                r->CompletaAlRiposo();
        },
        Qt::SingleShotConnection);
}

void CursoreSqlite::Registro::Abbandona()
{
    const std::vector<CursoreSqlite *> aperti = m_aperti;
    for (CursoreSqlite *c : aperti) {
        c->chiudi();
        c->m_risultato->svuotaRighe();
        c->m_finito = c->m_completo = true;
    }
}

CursoreSqlite::CursoreSqlite(sqlite3 *h, sqlite3_stmt *st, QVariantList valori,
                             std::shared_ptr<IstruzioniPronte> pronte, Risultato *righe,
                             std::shared_ptr<Registro> registro, const QByteArray &sql)
    : m_h(h), m_st(st), m_sql(sql.isEmpty() ? QByteArray(sqlite3_sql(st)) : sql), m_valori(std::move(valori)),
      m_pronte(std::move(pronte)), m_risultato(righe), m_registro(std::move(registro))
{
    m_registro->m_aperti.push_back(this);
}

CursoreSqlite::~CursoreSqlite()
{
    chiudi();
}

void CursoreSqlite::chiudi()
{
    m_pronte->Restituisci(m_st);
    m_st = nullptr;
    auto &v = m_registro->m_aperti;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

bool CursoreSqlite::Avanza()
{
    if (m_finito || m_completo)
        return false;
    const int rc = sqlite3_step(m_st);
    if (rc == SQLITE_ROW) {
        ++m_righe;
        return true;
    }
    m_finito = true;
    // The statement's read transaction ends here; its rows, if wanted again,
    // come from a new run. A failure is read before the statement is reset.
    std::optional<VbErrore> errore;
    if (rc != SQLITE_DONE)
        errore = erroreDi(m_h);
    m_pronte->Restituisci(m_st);
    m_st = nullptr;
    if (errore)
        throw *errore;
    return false;
}

QVariant CursoreSqlite::Valore(int col) const
{
    const Risultato::Tipo t = m_risultato->colonna(col).tipo;
    if ((t == Risultato::Tipo::Testo || t == Risultato::Tipo::Nullo) &&
        sqlite3_column_type(m_st, col) == SQLITE_TEXT) {
        const char *p = reinterpret_cast<const char *>(sqlite3_column_text(m_st, col));
        return QString::fromUtf8(p, sqlite3_column_bytes(m_st, col));
    }
    if (!m_cella)
        m_cella = std::make_unique<Risultato>(std::vector<Risultato::Colonna>(1));
    m_cella->svuotaRighe();
    m_cella->aggiungiSqlite(m_st, col, t);
    return m_cella->valore(0, 0);
}

QByteArrayView CursoreSqlite::TestoUtf8(int col) const
{
    const Risultato::Tipo t = m_risultato->colonna(col).tipo;
    if ((t != Risultato::Tipo::Testo && t != Risultato::Tipo::Nullo) ||
        sqlite3_column_type(m_st, col) != SQLITE_TEXT)
        return {};
    const char *p = reinterpret_cast<const char *>(sqlite3_column_text(m_st, col));
    if (!p)
        return {};
    return QByteArrayView(p, sqlite3_column_bytes(m_st, col));
}

void CursoreSqlite::Completa()
{
    if (m_completo)
        return;
    sqlite3_stmt *st = m_pronte->Prendi(m_sql);
    struct Rendi {
        IstruzioniPronte *p;
        sqlite3_stmt *s;
        ~Rendi() { p->Restituisci(s); }
    } rendi{m_pronte.get(), st};
    IstruzioniPronte::LegaParametri(st, m_valori);
    const int n = m_risultato->numColonne();
    if (sqlite3_column_count(st) != n)
        throw VbErrore(ErroriDb::Generico, QStringLiteral("Le colonne della selezione sono cambiate."));
    std::vector<Risultato::Tipo> tipi(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        tipi[size_t(i)] = m_risultato->colonna(i).tipo;
    m_risultato->svuotaRighe();
    int rc;
    int righe = 0;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ++righe;
        for (int i = 0; i < n; ++i)
            m_risultato->aggiungiSqlite(st, i, tipi[size_t(i)]);
    }
    if (rc != SQLITE_DONE) {
        m_risultato->svuotaRighe();
        throw erroreDi(m_h);
    }
    if (n == 0)
        m_risultato->righeVuote(righe);
    chiudi();
    m_completo = true;
}
