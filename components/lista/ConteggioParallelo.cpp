// A list's count on a thread of its own.
#include "components/lista/ConteggioParallelo.h"

#include "components/db/DbMotore.h"
#include "components/db/IstruzioniOdbc.h"
#include "components/util/VbErrore.h"

#include <QPointer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <atomic>
#include <mutex>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

// Whether the answer is still wanted. On SQLite the thread's statement checks
// it every few thousand steps and gives up as soon as it is not; on a server
// the statement under way is cancelled there (ODBC's SQLCancel, which may be
// called from another thread while the statement runs).
struct ConteggioParallelo::Lavoro {
    std::atomic<bool> fermato{false};
    std::mutex m;
    SQLHSTMT istruzione = nullptr; // the server statement running, if any

    void Ferma()
    {
        fermato = true;
        const std::lock_guard<std::mutex> blocco(m);
        if (istruzione)
            SQLCancel(istruzione);
    }
    void Pubblica(SQLHSTMT h)
    {
        const std::lock_guard<std::mutex> blocco(m);
        istruzione = h;
    }
};

namespace
{
std::atomic<int> g_inCorso{0};
} // namespace

int ConteggioParallelo::contaSulServer(Lavoro &lavoro, const QString &nomeQt, const QString &sql,
                                       QString &descrizione)
{
    const QString nome = QStringLiteral("Conteggio-%1").arg(quintptr(&lavoro));
    int righe = -1;
    {
        QSqlDatabase c = QSqlDatabase::cloneDatabase(nomeQt, nome);
        SQLHSTMT st = nullptr;
        if (lavoro.fermato || !c.open()) {
            descrizione = c.lastError().text();
        } else if (SQLAllocHandle(SQL_HANDLE_STMT,
                                  *static_cast<const SQLHDBC *>(c.driver()->handle().constData()),
                                  &st) != SQL_SUCCESS) {
            descrizione = QStringLiteral("SQLAllocHandle");
        } else {
            lavoro.Pubblica(st);
            // Stopped before the statement was published: not run at all.
            const std::u16string testo = sql.toStdU16String();
            SQLRETURN rc =
                lavoro.fermato
                    ? SQL_ERROR
                    : SQLExecDirectW(st, reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(testo.c_str())),
                                     SQLINTEGER(testo.size()));
            SQLBIGINT n = 0;
            SQLLEN indicatore = 0;
            if (SQL_SUCCEEDED(rc))
                rc = SQLFetch(st);
            if (SQL_SUCCEEDED(rc))
                rc = SQLGetData(st, 1, SQL_C_SBIGINT, &n, 0, &indicatore);
            lavoro.Pubblica(nullptr);
            if (SQL_SUCCEEDED(rc)) {
                righe = indicatore == SQL_NULL_DATA ? 0 : int(n);
            } else {
                QSqlError errore;
                QString stato;
                DiagnosticaOdbc(SQL_HANDLE_STMT, st, errore, stato);
                descrizione = errore.databaseText();
            }
            SQLFreeHandle(SQL_HANDLE_STMT, st);
        }
    }
    QSqlDatabase::removeDatabase(nome);
    return righe;
}

int ConteggioParallelo::InCorso()
{
    return g_inCorso.load();
}

ConteggioParallelo::ConteggioParallelo(QObject *parent) : QObject(parent) {}

ConteggioParallelo::~ConteggioParallelo()
{
    Ferma();
    for (std::thread &t : m_thread)
        t.join();
}

void ConteggioParallelo::Ferma()
{
    if (m_lavoro)
        m_lavoro->Ferma();
    m_lavoro.reset();
}

bool ConteggioParallelo::Avvia(DbMotore *db, const QString &connessione, const QString &sqlConta,
                               int etichetta)
{
    // A stopped count ends within a few thousand steps of its statement.
    Ferma();
    for (std::thread &t : m_thread)
        t.join();
    m_thread.clear();
    if (!db || !db->EsisteConnessione(connessione))
        return false;
    const bool server = db->TipoSql(connessione);
    // A server count sees what is committed: inside a transaction the caller counts itself.
    if (server && db->LivelloTrans(connessione) > 0)
        return false;
    const DbMotore::FileSqlite file = server ? DbMotore::FileSqlite() : db->DescriviFileSqlite(connessione);
    if (!server && file.file.isEmpty())
        return false;
    const QString nomeQt = server ? db->DatabaseDao(connessione).connectionName() : QString();
    const QString sqlServer = server ? db->Traduci(connessione, sqlConta) : QString();
    auto lavoro = std::make_shared<Lavoro>();
    m_lavoro = lavoro;
    QPointer<ConteggioParallelo> io(this);
    // Goes with the last copy: the thread's, or the posted answer's once it
    // has run or been discarded.
    ++g_inCorso;
    std::shared_ptr<void> inCorso(nullptr, [](void *) { --g_inCorso; });
    m_thread.emplace_back([this, io, lavoro, file, nomeQt, sqlServer, sqlConta, etichetta, inCorso] {
        int righe = -1, numero = 0;
        QString descrizione;
        if (!nomeQt.isEmpty()) {
            righe = contaSulServer(*lavoro, nomeQt, sqlServer, descrizione);
            if (righe < 0)
                numero = 3146; // ODBC call failed
        } else {
            try {
                DbMotore motore;
                const QString c = QStringLiteral("Conteggio");
                motore.ApriFileSqlite(c, file);
                sqlite3 *h = *static_cast<sqlite3 *const *>(motore.DatabaseDao(c).driver()->handle().data());
                sqlite3_progress_handler(
                    h, 4000, [](void *l) { return static_cast<Lavoro *>(l)->fermato.load() ? 1 : 0; },
                    lavoro.get());
                const auto r = motore.Seleziona(c, sqlConta);
                righe = r->numRighe() > 0 ? r->valore(0, 0).toInt() : 0;
                sqlite3_progress_handler(h, 0, nullptr, nullptr);
            } catch (const VbErrore &e) {
                numero = e.numero();
                descrizione = e.descrizione();
            }
        }
        if (lavoro->fermato)
            return;
        // Delivered on the window's thread, and dropped there when the count
        // was stopped meanwhile. The destructor waits for this thread, so the
        // object is alive while the call is posted.
        QMetaObject::invokeMethod(
            this,
            [io, lavoro, righe, numero, descrizione, etichetta, inCorso] {
                if (!io || lavoro->fermato)
                    return;
                if (righe >= 0)
                    emit io->Contate(etichetta, righe);
                else
                    emit io->Fallito(etichetta, numero, descrizione);
            },
            Qt::QueuedConnection);
    });
    return true;
}
