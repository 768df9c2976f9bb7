// A list's count on a thread of its own.
#include "components/lista/ConteggioParallelo.h"

#include "components/db/CursoreSqlite.h"
#include "components/db/DbMotore.h"
#include "components/db/IstruzioniOdbc.h"
#include "components/db/LetturaInOrdine.h"
#include "components/util/VbErrore.h"

#include <QPointer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <chrono>
#include <iterator>
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

    bool InEsecuzione()
    {
        const std::lock_guard<std::mutex> blocco(m);
        return istruzione != nullptr;
    }
    // Cancels the statement running, if any. The request reaches the server
    // over a connection of its own (the server starts a process to take it):
    // the caller waits for that, so the window never calls this itself.
    void Annulla()
    {
        const std::lock_guard<std::mutex> blocco(m);
        if (istruzione)
            SQLCancel(istruzione);
    }
    void Pubblica(SQLHSTMT h)
    {
        const std::lock_guard<std::mutex> blocco(m);
        istruzione = h;
    }
    // Runs `sql` on a statement of its own made on the server connection
    // (`st`, null when it could not be made), published for a cancel while
    // it runs; a statement stopped before it was published is not run at all.
    SQLRETURN Esegui(const QSqlDatabase &server, const QString &sql, SQLHSTMT &st)
    {
        st = nullptr;
        if (SQLAllocHandle(SQL_HANDLE_STMT,
                           *static_cast<const SQLHDBC *>(server.driver()->handle().constData()),
                           &st) != SQL_SUCCESS) {
            st = nullptr;
            return SQL_ERROR;
        }
        Pubblica(st);
        const std::u16string testo = sql.toStdU16String();
        return fermato
                   ? SQL_ERROR
                   : SQLExecDirectW(st, reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(testo.c_str())),
                                    SQLINTEGER(testo.size()));
    }
    // Unpublishes and frees the statement: the connection goes on to the
    // next statement with nothing left open on it.
    void Libera(SQLHSTMT st)
    {
        Pubblica(nullptr);
        SQLFreeStmt(st, SQL_CLOSE);
        SQLFreeHandle(SQL_HANDLE_STMT, st);
    }
    // The file's statements give up within a few thousand steps once this
    // work is stopped, until the answer goes.
    std::shared_ptr<void> FermaSuFile(sqlite3 *h)
    {
        sqlite3_progress_handler(
            h, 4000, [](void *l) { return static_cast<Lavoro *>(l)->fermato.load() ? 1 : 0; }, this);
        return std::shared_ptr<void>(nullptr,
                                     [h](void *) { sqlite3_progress_handler(h, 0, nullptr, nullptr); });
    }
};

namespace
{
std::atomic<int> g_inCorso{0};
std::atomic<int> g_connessioni{0};

// Why a statement failed, and whether it was the connection that went (SQLSTATE class 08).
void diagnosi(SQLHSTMT st, QString &descrizione, bool &persa)
{
    QSqlError errore;
    QString stato;
    DiagnosticaOdbc(SQL_HANDLE_STMT, st, errore, stato);
    descrizione = errore.databaseText();
    persa = stato.startsWith(QLatin1String("08"));
}
} // namespace

// A count asked for and not yet taken by the thread.
struct ConteggioParallelo::Richiesta {
    std::shared_ptr<Lavoro> lavoro;
    DbMotore::FileSqlite file;
    QString nomeQt, chiaveServer; // a server: the window's connection, and what it connects to
    QString sqlServer;
    QStringList sqlConta; // on a file: the counts to add up
    // The ordering columns' reading: Jet SQL for a file (translated on the
    // thread's own connection), the engine's text for a server.
    QString sqlOrdinata, sqlSegnapostiServer;
    int passo = 0;
    int etichetta = 0;
    // A reading (AvviaLettura): its SELECT is sqlConta's one (file) or
    // sqlServer, read with these options.
    bool lettura = false;
    int opzioni = 0;
    // A reading row by row (AvviaScorrimento): the SELECT is a reading's,
    // its columns `colonne`, the value tested that of `colonna`.
    bool scorrimento = false;
    std::vector<Risultato::Colonna> colonne;
    int colonna = 0;
    std::function<bool(const QVariant &)> cercata;
    std::shared_ptr<void> inCorso; // goes with the last copy (see InCorso)
};

// The counting connection, kept by the thread from one count to the next:
// a clone of the window's server connection, or a connection of its own to
// the SQLite file with the same databases attached.
struct ConteggioParallelo::Collegamento {
    QString nomeServer;
    QSqlDatabase server;
    QString chiaveServer; // what `server` was cloned from ("" when not open)
    std::unique_ptr<DbMotore> motore;
    DbMotore::FileSqlite file;

    void ChiudiServer()
    {
        if (chiaveServer.isEmpty())
            return;
        server.close();
        server = QSqlDatabase();
        QSqlDatabase::removeDatabase(nomeServer);
        chiaveServer.clear();
    }
    sqlite3 *Sqlite() const
    {
        return *static_cast<sqlite3 *const *>(
            motore->DatabaseDao(QStringLiteral("Conteggio")).driver()->handle().data());
    }
    void ChiudiFile()
    {
        motore.reset();
        file = {};
    }
};

bool ConteggioParallelo::collegaServer(const Richiesta &r, Collegamento &c, QString &descrizione)
{
    c.ChiudiFile();
    if (c.chiaveServer != r.chiaveServer) {
        c.ChiudiServer();
        c.server = QSqlDatabase::cloneDatabase(r.nomeQt, c.nomeServer);
        if (c.server.open()) {
            c.chiaveServer = r.chiaveServer;
            ++g_connessioni;
        } else {
            descrizione = c.server.lastError().text();
            c.server = QSqlDatabase();
            QSqlDatabase::removeDatabase(c.nomeServer);
        }
    }
    return !c.chiaveServer.isEmpty();
}

void ConteggioParallelo::collegaFile(const Richiesta &r, Collegamento &c)
{
    c.ChiudiServer();
    if (c.motore && c.file.file == r.file.file && c.file.allegati == r.file.allegati)
        return;
    c.ChiudiFile();
    auto motore = std::make_unique<DbMotore>();
    motore->ApriFileSqlite(QStringLiteral("Conteggio"), r.file);
    c.motore = std::move(motore);
    c.file = r.file;
    ++g_connessioni;
}

int ConteggioParallelo::contaSulServer(Lavoro &lavoro, Collegamento &c, const QString &sql,
                                       QString &descrizione, bool &persa)
{
    SQLHSTMT st = nullptr;
    SQLRETURN rc = lavoro.Esegui(c.server, sql, st);
    if (!st) {
        descrizione = QStringLiteral("SQLAllocHandle");
        return -1;
    }
    int righe = -1;
    SQLBIGINT n = 0;
    SQLLEN indicatore = 0;
    if (SQL_SUCCEEDED(rc))
        rc = SQLFetch(st);
    if (SQL_SUCCEEDED(rc))
        rc = SQLGetData(st, 1, SQL_C_SBIGINT, &n, 0, &indicatore);
    if (SQL_SUCCEEDED(rc)) {
        righe = indicatore == SQL_NULL_DATA ? 0 : int(n);
    } else if (!lavoro.fermato) {
        diagnosi(st, descrizione, persa);
    }
    lavoro.Libera(st);
    return righe;
}

int ConteggioParallelo::conta(Richiesta &r, Collegamento &c)
{
    Lavoro &lavoro = *r.lavoro;
    if (lavoro.fermato)
        return -1;
    int righe = -1, numero = 0;
    QString descrizione;
    bool persa = false; // the connection is no good for the next count
    if (!r.nomeQt.isEmpty()) {
        if (collegaServer(r, c, descrizione))
            righe = contaSulServer(lavoro, c, r.sqlServer, descrizione, persa);
        if (righe < 0)
            numero = 3146; // ODBC call failed
    } else {
        try {
            const QString nome = QStringLiteral("Conteggio");
            collegaFile(r, c);
            // The handler goes with this count, however it ends.
            const std::shared_ptr<void> togli = lavoro.FermaSuFile(c.Sqlite());
            int somma = 0;
            for (const QString &sql : std::as_const(r.sqlConta)) {
                const auto risultato = c.motore->Seleziona(nome, sql);
                somma += risultato->numRighe() > 0 ? risultato->valore(0, 0).toInt() : 0;
            }
            righe = somma;
        } catch (const VbErrore &e) {
            numero = e.numero();
            descrizione = e.descrizione();
            persa = true; // the file may have moved: opened anew, which costs little here
        }
    }
    if (lavoro.fermato)
        return -1;
    // A server that dropped the connection: opened again by the next count.
    if (persa) {
        c.ChiudiServer();
        c.ChiudiFile();
    }
    // Delivered on the window's thread, and dropped there when the count was
    // stopped meanwhile. The destructor waits for this thread, so the object
    // is alive while the call is posted.
    QPointer<ConteggioParallelo> io(this);
    QMetaObject::invokeMethod(
        this,
        [io, lavoro = r.lavoro, righe, numero, descrizione, etichetta = r.etichetta, inCorso = r.inCorso] {
            if (!io || lavoro->fermato)
                return;
            if (righe >= 0)
                emit io->Contate(etichetta, righe);
            else
                emit io->Fallito(etichetta, numero, descrizione);
        },
        Qt::QueuedConnection);
    return righe;
}

bool ConteggioParallelo::leggiSulServer(Lavoro &lavoro, Collegamento &c, const QString &sql,
                                        QList<QVariantList> &righe, int tolte, QString *descrizione,
                                        bool *persa)
{
    SQLHSTMT st = nullptr;
    SQLRETURN rc = lavoro.Esegui(c.server, sql, st);
    if (!st) {
        if (descrizione)
            *descrizione = QStringLiteral("SQLAllocHandle");
        return false;
    }
    SQLSMALLINT n = 0;
    if (SQL_SUCCEEDED(rc))
        rc = SQLNumResultCols(st, &n);
    while (SQL_SUCCEEDED(rc) && (rc = SQLFetch(st)) != SQL_NO_DATA && SQL_SUCCEEDED(rc)) {
        QVariantList riga;
        for (SQLUSMALLINT col = 1; int(col) <= int(n) - tolte && SQL_SUCCEEDED(rc); ++col) {
            QString valore = QStringLiteral("");
            bool nullo = false;
            for (;;) {
                SQLWCHAR buf[256];
                SQLLEN ind = 0;
                rc = SQLGetData(st, col, SQL_C_WCHAR, buf, SQLLEN(sizeof buf), &ind);
                if (rc == SQL_NO_DATA || !SQL_SUCCEEDED(rc))
                    break;
                if (ind == SQL_NULL_DATA) {
                    nullo = true;
                    break;
                }
                // A long value comes in pieces: each but the last fills the buffer.
                const bool pezzo = ind == SQL_NO_TOTAL || ind >= SQLLEN(sizeof buf);
                valore.append(reinterpret_cast<const QChar *>(buf),
                              pezzo ? qsizetype(std::size(buf)) - 1
                                    : qsizetype(ind) / qsizetype(sizeof(SQLWCHAR)));
                if (!pezzo)
                    break;
            }
            if (rc == SQL_NO_DATA)
                rc = SQL_SUCCESS;
            riga << (nullo ? QVariant() : QVariant(valore));
        }
        righe << riga;
    }
    if (rc != SQL_NO_DATA && !lavoro.fermato && descrizione) {
        bool connessione = false;
        diagnosi(st, *descrizione, connessione);
        if (persa)
            *persa = connessione;
    }
    lavoro.Libera(st);
    return rc == SQL_NO_DATA && !lavoro.fermato;
}

// A long list's landmarks: read after its count, on the same connection.
void ConteggioParallelo::segnaposti(Richiesta &r, Collegamento &c, int righe)
{
    Lavoro &lavoro = *r.lavoro;
    if (r.passo <= 0 || righe < 0 || lavoro.fermato)
        return;
    QList<QVariantList> valori;
    bool letti = false;
    if (righe < 4 * r.passo) {
        // Too few rows to want landmarks: none are sent.
    } else if (!r.nomeQt.isEmpty()) {
        // The row's number, last, is not wanted.
        letti = !c.chiaveServer.isEmpty() && !r.sqlSegnapostiServer.isEmpty() &&
                leggiSulServer(lavoro, c, r.sqlSegnapostiServer, valori, 1);
    } else if (c.motore && !r.sqlOrdinata.isEmpty()) {
        const QString nome = QStringLiteral("Conteggio");
        sqlite3 *h = c.Sqlite();
        sqlite3_stmt *st = nullptr;
        try {
            // The ordering columns stepped in list order on the order's
            // index, the values taken of one row in `passo`: the same rows as
            // numbering them on the engine (LetturaInOrdine::OgniRighe, as on
            // a server), in a third of the time (no window over every row).
            const QByteArray sql = c.motore->Traduci(nome, r.sqlOrdinata, DbMotore::LetturaInOrdine).toUtf8();
            if (sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &st, nullptr) == SQLITE_OK) {
                const std::shared_ptr<void> togli = lavoro.FermaSuFile(h);
                const int n = sqlite3_column_count(st);
                int rc;
                qint64 numero = 0;
                while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                    if (++numero % r.passo != 0)
                        continue;
                    QVariantList riga;
                    for (int i = 0; i < n; ++i)
                        riga << (sqlite3_column_type(st, i) == SQLITE_NULL
                                     ? QVariant()
                                     : QVariant(QString::fromUtf8(
                                           reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                           sqlite3_column_bytes(st, i))));
                    valori << riga;
                }
                letti = rc == SQLITE_DONE;
            }
        } catch (const VbErrore &) {
            // Not translated: no landmarks, the list skips rows as without them.
        }
        sqlite3_finalize(st);
    }
    if (lavoro.fermato)
        return;
    // Whatever prevented them, the list learns that none are coming.
    if (!letti)
        valori.clear();
    QPointer<ConteggioParallelo> io(this);
    QMetaObject::invokeMethod(
        this,
        [io, lavoro = r.lavoro, valori = std::move(valori), etichetta = r.etichetta, passo = r.passo,
         inCorso = r.inCorso] {
            if (io && !lavoro->fermato)
                emit io->Segnaposti(etichetta, passo, valori);
        },
        Qt::QueuedConnection);
}

// A reading: its rows, or why there are none.
void ConteggioParallelo::leggi(Richiesta &r, Collegamento &c)
{
    Lavoro &lavoro = *r.lavoro;
    if (lavoro.fermato)
        return;
    QList<QVariantList> righe;
    bool lette = false, persa = false;
    int numero = 0;
    QString descrizione;
    if (!r.nomeQt.isEmpty()) {
        if (collegaServer(r, c, descrizione)) {
            // The planner's settings the window's connection would run it with.
            const QStringList impostazioni =
                (r.opzioni & DbMotore::LetturaFiltrata) ? DbMotore::ImpostazioniFiltrata() : QStringList();
            QSqlQuery q(c.server);
            for (const QString &i : impostazioni)
                q.exec(QStringLiteral("SET ") + i + QStringLiteral(" = off"));
            lette = leggiSulServer(lavoro, c, r.sqlServer, righe, 0, &descrizione, &persa);
            for (const QString &i : impostazioni)
                q.exec(QStringLiteral("RESET ") + i);
        }
        if (!lette)
            numero = 3146; // ODBC call failed
    } else {
        try {
            const QString nome = QStringLiteral("Conteggio");
            collegaFile(r, c);
            const std::shared_ptr<void> togli = lavoro.FermaSuFile(c.Sqlite());
            const auto risultato = c.motore->Seleziona(nome, r.sqlConta.value(0), r.opzioni);
            for (int i = 0; i < risultato->numRighe(); ++i)
                righe << risultato->riga(i);
            lette = true;
        } catch (const VbErrore &e) {
            numero = e.numero();
            descrizione = e.descrizione();
            persa = true;
        }
    }
    consegna(r, c, lette, std::move(righe), numero, descrizione, persa);
}

void ConteggioParallelo::consegna(const Richiesta &r, Collegamento &c, bool lette, QList<QVariantList> righe,
                                  int numero, const QString &descrizione, bool persa)
{
    if (r.lavoro->fermato)
        return;
    if (persa) {
        c.ChiudiServer();
        c.ChiudiFile();
    }
    QPointer<ConteggioParallelo> io(this);
    QMetaObject::invokeMethod(
        this,
        [io, lavoro = r.lavoro, lette, righe = std::move(righe), numero, descrizione, etichetta = r.etichetta,
         inCorso = r.inCorso] {
            if (!io || lavoro->fermato)
                return;
            if (lette)
                emit io->Lette(etichetta, righe);
            else
                emit io->Fallito(etichetta, numero, descrizione);
        },
        Qt::QueuedConnection);
}

bool ConteggioParallelo::scorriSulServer(Lavoro &lavoro, Collegamento &c, Richiesta &r, QVariantList &trovata,
                                         QString &descrizione, bool &persa)
{
    // The rows come a batch at a time from a cursor of the server's, so that
    // neither the server nor the driver reads every row before the first
    // one: a cursor lives in a transaction, rolled back once read (it
    // changes nothing).
    const auto hdbc = *static_cast<const SQLHDBC *>(c.server.driver()->handle().constData());
    if (!SQL_SUCCEEDED(
            SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT, SQLPOINTER(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER))) {
        descrizione = QStringLiteral("SQL_ATTR_AUTOCOMMIT");
        return false;
    }
    // Each value as the window's reading of the server gives it: from its
    // text, a number of a kind not declared read as an exact amount.
    Risultato tipizzato(std::vector<Risultato::Colonna>{r.colonne[size_t(r.colonna)]});
    const Risultato::Tipo tipo = tipizzato.colonna(0).tipo == Risultato::Tipo::Nullo
                                     ? Risultato::Tipo::Decimale
                                     : tipizzato.colonna(0).tipo;
    bool letta = false;
    {
        SQLHSTMT st = nullptr;
        const SQLRETURN rc = lavoro.Esegui(
            c.server, QStringLiteral("DECLARE scorri_lista NO SCROLL CURSOR FOR ") + r.sqlServer, st);
        letta = st && SQL_SUCCEEDED(rc) && !lavoro.fermato;
        if (st && !letta && !lavoro.fermato) {
            diagnosi(st, descrizione, persa);
        }
        if (st)
            lavoro.Libera(st);
    }
    // A cell's text, Null invalid; false when the driver failed.
    const auto cella = [](SQLHSTMT st, SQLUSMALLINT col, QVariant &valore) {
        QString testo = QStringLiteral("");
        for (;;) {
            SQLWCHAR buf[256];
            SQLLEN ind = 0;
            const SQLRETURN rc = SQLGetData(st, col, SQL_C_WCHAR, buf, SQLLEN(sizeof buf), &ind);
            if (rc == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(rc))
                return false;
            if (ind == SQL_NULL_DATA) {
                valore = QVariant();
                return true;
            }
            const bool pezzo = ind == SQL_NO_TOTAL || ind >= SQLLEN(sizeof buf);
            testo.append(reinterpret_cast<const QChar *>(buf),
                         pezzo ? qsizetype(std::size(buf)) - 1
                               : qsizetype(ind) / qsizetype(sizeof(SQLWCHAR)));
            if (!pezzo)
                break;
        }
        valore = testo;
        return true;
    };
    // Of each row only the value sought is read; of the row found, every
    // column (as a reading gives it).
    constexpr int Blocco = 4096;
    bool finita = false;
    while (letta && !finita && !lavoro.fermato) {
        SQLHSTMT st = nullptr;
        SQLRETURN rc =
            lavoro.Esegui(c.server, QStringLiteral("FETCH FORWARD %1 FROM scorri_lista").arg(Blocco), st);
        if (!st) {
            descrizione = QStringLiteral("SQLAllocHandle");
            letta = false;
            break;
        }
        SQLSMALLINT n = 0;
        if (SQL_SUCCEEDED(rc))
            rc = SQLNumResultCols(st, &n);
        int righe = 0;
        while (SQL_SUCCEEDED(rc) && !lavoro.fermato && (rc = SQLFetch(st)) != SQL_NO_DATA &&
               SQL_SUCCEEDED(rc)) {
            ++righe;
            QVariant valore;
            if (r.colonna >= n || !cella(st, SQLUSMALLINT(r.colonna + 1), valore)) {
                rc = SQL_ERROR;
                break;
            }
            tipizzato.svuotaRighe();
            tipizzato.aggiungiValore(valore, tipo);
            if (!r.cercata(tipizzato.valore(0, 0)))
                continue;
            for (int col = 0; col < n && SQL_SUCCEEDED(rc); ++col) {
                QVariant v = valore;
                if (col != r.colonna && !cella(st, SQLUSMALLINT(col + 1), v))
                    rc = SQL_ERROR;
                trovata << v;
            }
            finita = true;
            break;
        }
        if (finita && !SQL_SUCCEEDED(rc))
            trovata.clear();
        if (!finita && rc == SQL_NO_DATA)
            finita = righe < Blocco;
        else if (!SQL_SUCCEEDED(rc)) {
            letta = false;
            if (!lavoro.fermato) {
                diagnosi(st, descrizione, persa);
            }
        }
        lavoro.Libera(st);
    }
    SQLEndTran(SQL_HANDLE_DBC, hdbc, SQL_ROLLBACK);
    SQLSetConnectAttr(hdbc, SQL_ATTR_AUTOCOMMIT, SQLPOINTER(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER);
    return letta && !lavoro.fermato;
}

void ConteggioParallelo::scorri(Richiesta &r, Collegamento &c)
{
    Lavoro &lavoro = *r.lavoro;
    if (lavoro.fermato)
        return;
    QVariantList trovata;
    bool letta = false, persa = false;
    int numero = 0;
    QString descrizione;
    if (!r.nomeQt.isEmpty()) {
        if (collegaServer(r, c, descrizione))
            letta = scorriSulServer(lavoro, c, r, trovata, descrizione, persa);
        if (!letta)
            numero = 3146; // ODBC call failed
    } else {
        try {
            const QString nome = QStringLiteral("Conteggio");
            collegaFile(r, c);
            const std::shared_ptr<void> togli = lavoro.FermaSuFile(c.Sqlite());
            // Stepped one row at a time, each value as the window's own
            // reading gives it (a SELECT of attached tables comes whole).
            std::unique_ptr<Risultato> risultato;
            std::unique_ptr<CursoreSqlite> cursore; // goes first: it reads into the answer
            risultato =
                c.motore->SelezionaCursore(nome, r.sqlConta.value(0), cursore, DbMotore::LetturaInOrdine);
            const int colonne = risultato->numColonne();
            if (r.colonna < colonne) {
                for (int i = 0; !lavoro.fermato; ++i) {
                    if (cursore ? !cursore->Avanza() : i >= risultato->numRighe())
                        break;
                    const auto valore = [&](int col) {
                        return cursore ? cursore->Valore(col) : risultato->valore(i, col);
                    };
                    if (r.cercata(valore(r.colonna))) {
                        for (int col = 0; col < colonne; ++col)
                            trovata << valore(col);
                        break;
                    }
                }
            }
            letta = true;
        } catch (const VbErrore &e) {
            numero = e.numero();
            descrizione = e.descrizione();
            persa = true;
        }
    }
    consegna(r, c, letta, trovata.isEmpty() ? QList<QVariantList>() : QList<QVariantList>{trovata}, numero,
             descrizione, persa);
}

void ConteggioParallelo::esegui()
{
    Collegamento c;
    c.nomeServer = QStringLiteral("Conteggio-%1").arg(quintptr(this));
    for (;;) {
        std::unique_ptr<Richiesta> r;
        {
            std::unique_lock<std::mutex> blocco(m_coda);
            m_sveglia.wait(blocco, [this] { return m_fine || m_richiesta; });
            if (m_fine)
                break;
            r = std::move(m_richiesta);
        }
        if (r->scorrimento)
            scorri(*r, c);
        else if (r->lettura)
            leggi(*r, c);
        else
            segnaposti(*r, c, conta(*r, c));
    }
    c.ChiudiServer();
    c.ChiudiFile();
}

int ConteggioParallelo::InCorso()
{
    return g_inCorso.load();
}

int ConteggioParallelo::ConnessioniAperte()
{
    return g_connessioni.load();
}

ConteggioParallelo::ConteggioParallelo(QObject *parent) : QObject(parent) {}

ConteggioParallelo::~ConteggioParallelo()
{
    // A stopped count ends within a few thousand steps of its statement, or
    // when the server has its cancel.
    Ferma();
    {
        const std::lock_guard<std::mutex> blocco(m_coda);
        m_fine = true;
    }
    m_sveglia.notify_one();
    if (m_thread.joinable())
        m_thread.join();
    m_annullamenti.clear(); // waits for the cancels still being sent
}

void ConteggioParallelo::Ferma()
{
    std::unique_ptr<Richiesta> scartata;
    {
        const std::lock_guard<std::mutex> blocco(m_coda);
        scartata = std::move(m_richiesta);
    }
    if (m_lavoro) {
        m_lavoro->fermato = true;
        // The server's statement is cancelled from a thread of its own, so
        // that the window's next statement (a new search's first page) never
        // waits for the cancel to reach the server.
        if (m_lavoro->InEsecuzione()) {
            std::erase_if(m_annullamenti, [](const std::future<void> &f) {
                return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
            });
            m_annullamenti.push_back(std::async(std::launch::async, [l = m_lavoro] { l->Annulla(); }));
        }
    }
    m_lavoro.reset();
}

bool ConteggioParallelo::Avvia(DbMotore *db, const QString &connessione, const QStringList &conteggi,
                               int etichetta)
{
    if (conteggi.isEmpty())
        return false;
    if (conteggi.size() == 1 || !db || !db->EsisteConnessione(connessione) || !db->TipoSql(connessione))
        return avvia(db, connessione, conteggi, etichetta, {}, 0);
    QStringList parti;
    try {
        for (const QString &sql : conteggi)
            parti << QLatin1Char('(') + db->Traduci(connessione, sql) + QLatin1Char(')');
    } catch (const VbErrore &) {
        return false;
    }
    return avvia(db, connessione, {}, etichetta, {}, 0,
                 QStringLiteral("SELECT ") + parti.join(QStringLiteral(" + ")));
}

bool ConteggioParallelo::Avvia(DbMotore *db, const QString &connessione, const QString &sqlConta,
                               int etichetta, const QString &sqlOrdinata, int passo)
{
    return avvia(db, connessione, {sqlConta}, etichetta, sqlOrdinata, passo);
}

bool ConteggioParallelo::AvviaLettura(DbMotore *db, const QString &connessione, const QString &sqlLettura,
                                      int etichetta, int opzioni)
{
    Ferma();
    std::unique_ptr<Richiesta> r = richiesta(db, connessione);
    if (!r)
        return false;
    if (!r->nomeQt.isEmpty())
        r->sqlServer = db->Traduci(connessione, sqlLettura, opzioni);
    else
        r->sqlConta = {sqlLettura};
    r->lettura = true;
    r->opzioni = opzioni;
    r->etichetta = etichetta;
    accoda(std::move(r));
    return true;
}

bool ConteggioParallelo::AvviaScorrimento(DbMotore *db, const QString &connessione, const QString &sqlScorri,
                                          const std::vector<Risultato::Colonna> &colonne, int colonna,
                                          std::function<bool(const QVariant &)> cercata, int etichetta)
{
    if (colonna < 0 || size_t(colonna) >= colonne.size() || !cercata)
        return false;
    Ferma();
    std::unique_ptr<Richiesta> r = richiesta(db, connessione);
    if (!r)
        return false;
    if (!r->nomeQt.isEmpty())
        r->sqlServer = db->Traduci(connessione, sqlScorri, DbMotore::LetturaInOrdine);
    else
        r->sqlConta = {sqlScorri};
    r->scorrimento = true;
    r->colonne = colonne;
    r->colonna = colonna;
    r->cercata = std::move(cercata);
    r->etichetta = etichetta;
    accoda(std::move(r));
    return true;
}

bool ConteggioParallelo::avvia(DbMotore *db, const QString &connessione, const QStringList &sqlConta,
                               int etichetta, const QString &sqlOrdinata, int passo, const QString &sqlServer)
{
    Ferma();
    std::unique_ptr<Richiesta> r = richiesta(db, connessione);
    if (!r)
        return false;
    if (!r->nomeQt.isEmpty()) {
        r->sqlServer = !sqlServer.isEmpty() ? sqlServer : db->Traduci(connessione, sqlConta.value(0));
        if (!sqlOrdinata.isEmpty() && passo > 0) {
            try {
                r->sqlSegnapostiServer = LetturaInOrdine::OgniRighe(
                    db->Traduci(connessione, sqlOrdinata, DbMotore::LetturaInOrdine), passo);
            } catch (const VbErrore &) {
                // Not translated: the list goes without landmarks.
            }
        }
    } else {
        r->sqlConta = sqlConta;
        r->sqlOrdinata = sqlOrdinata;
    }
    r->passo = sqlOrdinata.isEmpty() ? 0 : passo;
    r->etichetta = etichetta;
    accoda(std::move(r));
    return true;
}

std::unique_ptr<ConteggioParallelo::Richiesta> ConteggioParallelo::richiesta(DbMotore *db,
                                                                             const QString &connessione)
{
    if (!db || !db->EsisteConnessione(connessione))
        return nullptr;
    const bool server = db->TipoSql(connessione);
    // Another connection to a server sees what is committed: inside a
    // transaction the caller counts (or reads) itself.
    if (server && db->LivelloTrans(connessione) > 0)
        return nullptr;
    auto r = std::make_unique<Richiesta>();
    if (server) {
        const QSqlDatabase d = db->DatabaseDao(connessione);
        r->nomeQt = d.connectionName();
        r->chiaveServer =
            QStringList{d.driverName(), d.databaseName(),  d.hostName(), QString::number(d.port()),
                        d.userName(),   d.connectOptions()}
                .join(QLatin1Char('\n'));
    } else {
        r->file = db->DescriviFileSqlite(connessione);
        if (r->file.file.isEmpty())
            return nullptr;
    }
    return r;
}

void ConteggioParallelo::accoda(std::unique_ptr<Richiesta> r)
{
    r->lavoro = std::make_shared<Lavoro>();
    m_lavoro = r->lavoro;
    ++g_inCorso;
    r->inCorso = std::shared_ptr<void>(nullptr, [](void *) { --g_inCorso; });
    {
        const std::lock_guard<std::mutex> blocco(m_coda);
        m_richiesta = std::move(r);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { esegui(); });
    }
    m_sveglia.notify_one();
}
