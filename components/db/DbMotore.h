// DbMotore: the data-access object of the program. Holds named connections
// (an SQLite file, or a server reached through ODBC), runs the Jet-dialect SQL of the program translated for
// each engine, counts transactions and reports failures as VbErrore with DAO numbers.
#pragma once

#include "components/db/CursoreSqlite.h"
#include "components/db/JetSql.h"
#include "components/db/Risultato.h"
#include "components/util/VbErrore.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

struct sqlite3_stmt;
class QSqlError;
class QSqlQuery;

class DbMotore
{
  public:
    // Kind of connection, chosen from the text the connection was opened with.
    enum class Motore { SQLite, Odbc };

    DbMotore();
    ~DbMotore();
    DbMotore(const DbMotore &) = delete;
    DbMotore &operator=(const DbMotore &) = delete;

    // Opens the connection `nome` (replacing one of the same name). `origine` is
    // what the INI or the host gives: an SQLite file path, an "ODBC;..." or
    // "DRIVER={...};..." connect text, a file DSN ("*.dsn") or a DSN name (no
    // "."). `connect` adds to an ODBC connection (a whole connect text or some
    // of its attributes). A non-empty `utente` logs in as that user with
    // `password`, in place of any UID/PWD of the texts; both may hold any
    // character. Throws VbErrore (3024 file not found, 3151 connection
    // failed...), never with a password in its text. Sets the parameter
    // "DbTipoSql:" + nome.
    void ApriConnessione(const QString &nome, const QString &origine, const QString &connect = QString(),
                         const QString &utente = QString(), const QString &password = QString());
    // Opens an SQLite file that must exist, or creates it when `crea` is true.
    void ApriSqlite(const QString &nome, const QString &percorso, bool crea = false);
    void ChiudiConnessione(const QString &nome);
    void ChiudiTutto();
    bool EsisteConnessione(const QString &nome) const;
    Motore TipoMotore(const QString &nome) const;
    // The engine the translator writes for on this connection.
    JetSql::Dialetto Dialetto(const QString &nome) const;
    // The Qt connection behind the name, for components that bind to a database.
    QSqlDatabase DatabaseDao(const QString &nome) const;
    // True when the database accepts no changes: an SQLite file opened for
    // reading only (the file or its folder not writable), a server session
    // that is read-only.
    bool SolaLettura(const QString &nome);
    // True when texts sort by their characters' codes, ASCII letters without
    // regard to case: always on SQLite (NOCASE), on PostgreSQL when the
    // database's collation is C or POSIX (asked once per connection).
    bool OrdinePerCodici(const QString &nome);
    // True after a server connection was lost; the next operation outside the
    // transaction it broke opens it again. One gesture of the user waits for
    // a server that is gone once at most: after a failed attempt, or a
    // statement that waited out the bound, the operations of the same turn of
    // the GUI thread's event loop fail at once as it did, and every read
    // waits once at most.
    bool ConnessionePersa(const QString &nome) const;
    // Whether an operation on `nome` may run now without waiting for a
    // server that is gone: true for a connection that is not lost, and for a
    // lost one once a trial connection, made with the same connect text on a
    // thread of its own, has reached the server; the connection is then
    // opened again by the operation, quickly. Otherwise false, answered at
    // once: a trial is started when none is under way, and a later call (a
    // timer's next turn) learns its outcome. The trials end before the object.
    bool ServerRisponde(const QString &nome);
    // Lost connections opened again, or tried, on the caller's thread (tests count them).
    int TentativiRiapertura() const { return m_tentativiRiapertura; }
    // How long a statement waits for a lock another connection holds before it
    // is refused with error 3218: SQLite's busy timeout, PostgreSQL's
    // lock_timeout. Every connection starts with AttesaBloccoPredefinita.
    static constexpr int AttesaBloccoPredefinita = 5000;
    void ImpostaAttesaBlocco(const QString &nome, int millisecondi);
    int AttesaBlocco(const QString &nome) const;
    // How long, in seconds, a server connection waits for a server that is
    // gone before it fails as lost: to connect and log in, and for the answer
    // of a server that has fallen silent during a statement (TCP keepalives,
    // data sent and never acknowledged). A long statement of a server that
    // is still there is never cut. Applies to the connections opened (and
    // opened again) from then on; what the connect text or the DSN sets
    // itself is kept.
    static constexpr int AttesaServerPredefinita = 10;
    void ImpostaAttesaServer(int secondi) { m_attesaServer = secondi; }

    // Connection parameters: "DbTipoSql:" + name is true for a server connection;
    // "SchemaMenu:" + name is the schema (PostgreSQL) or attached alias (SQLite)
    // where the common menu database's tables live; "IstruzioniProprie:" +
    // name set to false reads a server's SELECTs through Qt's driver instead
    // of prepared statements of our own. Unknown names give an invalid QVariant.
    QVariant Parametro(const QString &nomePar) const;
    void ImpostaParametro(const QString &nomePar, const QVariant &valore);
    bool TipoSql(const QString &nome) const
    {
        return Parametro(QStringLiteral("DbTipoSql:") + nome).toBool();
    }

    // Runs a statement that returns no rows; answers the rows it touched and
    // keeps the count for RecordsAffected. `opzioni` 64 (pass-through) is
    // accepted: the text is translated all the same, since our servers do not
    // speak Jet.
    int EseguiSql(const QString &nome, const QString &sql, int opzioni = 0);
    int RecordsAffected(const QString &nome) const;

    // Option of Seleziona, SelezionaCursore and Traduci (beside DAO's): the
    // SELECT reads one table in the order of one of its indexes, its ORDER BY
    // being that index's first columns (the record form's first, last, next
    // and previous record, the list's pages). Its plan is then made to hold
    // whatever the planner's statistics say (LetturaInOrdine): SQLite reads
    // it INDEXED BY that index, unless its WHERE names a column that index
    // lacks and another one begins with; PostgreSQL gets its row comparisons
    // as ">=" and "<>", and one that skips rows (OFFSET) runs with the
    // planner's sorts set aside (enable_sort off, reset after it). The text
    // is otherwise run as it is.
    static constexpr int LetturaInOrdine = 0x100000;
    // Option of Seleziona: a SELECT whose answer is its first rows in its
    // ORDER BY among the rows its WHERE picks, where the WHERE tests every
    // row (a text sought anywhere in a column): the rows it picks are found
    // as its WHERE is best answered (a scan, or another index) and then
    // sorted, never by walking an index in the ORDER BY's order, which tests
    // every row one by one through that index before it can say there is
    // none. SQLite gets the ORDER BY's terms written "+term"; PostgreSQL runs
    // it with its index scans set aside (enable_indexscan and
    // enable_indexonlyscan off, reset after it).
    static constexpr int LetturaFiltrata = 0x200000;
    // The PostgreSQL settings a LetturaFiltrata runs with set off (its index
    // scans), reset after it: also for such a SELECT run on a connection of
    // another thread.
    static QStringList ImpostazioniFiltrata()
    {
        return {QStringLiteral("enable_indexscan"), QStringLiteral("enable_indexonlyscan")};
    }

    // Runs a SELECT and returns its rows in memory, columns named for LeggiCampo.
    std::unique_ptr<Risultato> Seleziona(const QString &nome, const QString &sql, int opzioni = 0);
    // Like Seleziona, but a read-only SELECT of the tables of an SQLite
    // connection's own database is not read ahead: the answer holds the columns
    // only and `cursore` steps the rows, which are read into the answer when
    // the cursor is completed. The connection completes its cursors itself
    // before it writes, begins or ends a transaction, attaches a database or
    // closes. Elsewhere `cursore` stays empty and the answer holds every row.
    std::unique_ptr<Risultato> SelezionaCursore(const QString &nome, const QString &sql,
                                                std::unique_ptr<CursoreSqlite> &cursore, int opzioni = 0);
    // Called with the Jet text of every SELECT before it runs, on any
    // connection: tests and benchmarks count statements with it. None by default.
    void ImpostaOsservatoreSelect(std::function<void(const QString &sql)> osservatore)
    {
        m_osservatoreSelect = std::move(osservatore);
    }
    // Called with the engine's text of every SELECT (its literals in place)
    // before it runs: tests read the plans of what the program ran with it.
    void ImpostaOsservatoreMotore(std::function<void(const QString &sqlMotore)> osservatore)
    {
        m_osservatoreMotore = std::move(osservatore);
    }
    // The SQL text that would reach the engine for `sql` on this connection
    // (read with `opzioni`: LetturaInOrdine).
    QString Traduci(const QString &nome, const QString &sql, int opzioni = 0);

    // Transactions, counted per connection: the first level is a real
    // transaction, inner levels are savepoints, so an inner rollback undoes only
    // its own work. Commit or rollback with no transaction open is error 3034.
    // Every transaction of the program writes: on SQLite it takes the write
    // lock as it begins (BEGIN IMMEDIATE), waiting for it as long as
    // AttesaBlocco says, so that what it reads stays as read until it ends.
    void IniziaTrans(const QString &nome);
    void ConfermaTrans(const QString &nome);
    void AnnullaTrans(const QString &nome);
    int LivelloTrans(const QString &nome) const;
    // True when the last commit of the connection lost its answer with the
    // connection (error 3151, ConfermaIncerta): the server may have kept it
    // or not, and only reading the data again tells.
    bool ConfermaIncerta(const QString &nome) const;
    void DimenticaConfermaIncerta(const QString &nome);

    // Schema questions (names compared without regard to case).
    bool EsisteTabella(const QString &nome, const QString &tabella);
    bool EsisteCampo(const QString &nome, const QString &tabella, const QString &campo);
    // Columns of a table in their order, as the engine names them; empty when
    // the table does not exist. `schema` is an attached alias or PostgreSQL schema.
    QStringList ColonneTabella(const QString &nome, const QString &tabella,
                               const QString &schema = QString());
    // Primary-key columns of a table (empty when it has none).
    QStringList ChiavePrimaria(const QString &nome, const QString &tabella,
                               const QString &schema = QString());
    // Declared kinds of a table's columns, by lower-case column name.
    QHash<QString, Risultato::Tipo> TipiColonne(const QString &nome, const QString &tabella,
                                                const QString &schema = QString());

    // Attaches another SQLite file (the common menu database) under `alias`;
    // the Jet text "[;Database=<path>;pwd=..;]" naming that file then reads from
    // it. Files named that way and not attached are attached on first use.
    void AllegaDatabase(const QString &nome, const QString &percorso, const QString &alias = QString());

    // What a second connection to the same SQLite database needs (for a
    // reading on another thread): the file and the databases attached to it,
    // as (alias, file). `file` is empty for a server connection, a database in
    // memory and a connection inside a transaction (whose changes another
    // connection would not see).
    struct FileSqlite {
        QString file;
        QList<QPair<QString, QString>> allegati;
    };
    FileSqlite DescriviFileSqlite(const QString &nome) const;
    // Opens `nome` as described, the same files attached under the same aliases.
    void ApriFileSqlite(const QString &nome, const FileSqlite &descrizione);

    // Writes of an updatable record set, values bound (never spliced).
    // `chiave` names the columns that find the row, `valoriChiave` their
    // stored values (Null compares as Null). `schema` names the PostgreSQL
    // schema or attached SQLite database of the table (empty: the
    // connection's own). Answers the rows touched.
    int AggiornaRiga(const QString &nome, const QString &tabella, const QStringList &colonne,
                     const QVariantList &valori, const QStringList &chiave, const QVariantList &valoriChiave,
                     const QString &schema = QString());
    // Optimistic write of a row read earlier: like AggiornaRiga, but the row
    // is written only while every column written still holds `valoriLetti`
    // (what was read, compared exactly: case, Null). When the key finds the
    // row but a column changed, nothing is written and error 3197 is thrown;
    // when the key finds no row, the answer is 0.
    int AggiornaRigaLetta(const QString &nome, const QString &tabella, const QStringList &colonne,
                          const QVariantList &valori, const QVariantList &valoriLetti,
                          const QStringList &chiave, const QVariantList &valoriChiave,
                          const QString &schema = QString());
    // Inside a transaction: keeps the row from other connections' writes
    // until the transaction ends (PostgreSQL: SELECT ... FOR UPDATE, waiting
    // as AttesaBlocco says; SQLite's transactions already hold the write
    // lock). True when the key finds the row.
    bool BloccaRiga(const QString &nome, const QString &tabella, const QStringList &chiave,
                    const QVariantList &valoriChiave, const QString &schema = QString());
    int InserisciRiga(const QString &nome, const QString &tabella, const QStringList &colonne,
                      const QVariantList &valori, const QString &schema = QString());
    int EliminaRiga(const QString &nome, const QString &tabella, const QStringList &chiave,
                    const QVariantList &valoriChiave, const QString &schema = QString());
    // Optimistic delete of a row read earlier: the row goes only while every
    // column of `colonne` still holds `valoriLetti` (compared as
    // AggiornaRigaLetta compares). When the key finds the row but a column
    // changed, nothing is deleted and error 3197 is thrown; when the key
    // finds no row, the answer is 0.
    int EliminaRigaLetta(const QString &nome, const QString &tabella, const QStringList &colonne,
                         const QVariantList &valoriLetti, const QStringList &chiave,
                         const QVariantList &valoriChiave, const QString &schema = QString());

  private:
    friend class SelezionePronta;
    struct Connessione;
    struct FormaNota;
    class PuntoIstruzione;
    Connessione &conn(const QString &nome) const;
    void aggiornaAllegati(Connessione &c, const QString &sql);
    QString traduci(Connessione &c, const QString &sql);
    std::shared_ptr<FormaNota> formaNota(Connessione &c, const QString &testoForma, bool inOrdine = false,
                                         bool filtrata = false);
    // A translated SELECT read in an index's order, written as LetturaInOrdine says.
    QString inOrdine(Connessione &c, const QString &sqlMotore);
    // A translated SQLite SELECT read as LetturaFiltrata says.
    QString filtrataSqlite(Connessione &c, const QString &sqlMotore);
    std::unique_ptr<Risultato> seleziona(Connessione &c, const QString &sql,
                                         std::unique_ptr<CursoreSqlite> *cursore, int opzioni = 0);
    std::unique_ptr<Risultato> selezionaUnaVolta(Connessione &c, const QString &sql,
                                                 std::unique_ptr<CursoreSqlite> *cursore, int opzioni = 0);
    // After a failed read: true when it found a server connection dead,
    // outside a transaction, and the connection has been opened again, so
    // that the read may run once more. A server restarted while the program
    // stood idle leaves its connections dead without a word: their next read
    // would otherwise fail once and have to be repeated by hand.
    // `attese` is m_atteseServer as the read began: a read that already
    // waited for the server (opening the connection again, or a statement
    // whose wait ran out) is not given a second wait.
    bool riapertaPerRilettura(Connessione &c, int attese);
    std::unique_ptr<Risultato> selezionaSqlite(Connessione &c, const JetSql::Forma &f, FormaNota &fn,
                                               std::unique_ptr<CursoreSqlite> *cursore);
    std::unique_ptr<Risultato> selezionaOdbc(Connessione &c, const JetSql::Forma &f, FormaNota &fn);
    void controllaSchema(Connessione &c);
    std::vector<Risultato::Colonna> colonneSqlite(Connessione &c, sqlite3_stmt *st, const QString &sqlJet,
                                                  FormaNota &fn);
    void analizzaForma(Connessione &c, const QString &sqlJet, FormaNota &fn);
    static void nominaColonne(const FormaNota &fn, std::vector<Risultato::Colonna> &colonne);
    void esegui(Connessione &c, const QString &sqlMotore, bool controllo = false);
    // Server connections: made ready before each operation (a lost one opened
    // again once no transaction of it is pending); a failure turned into the
    // error to throw, the connection marked lost when that is what happened.
    void pronta(Connessione &c, bool scrittura = false);
    VbErrore erroreServer(Connessione &c, const QSqlError &e, const QString &statoSql);
    bool risponde(Connessione &c);
    // A failed statement: its savepoint rolled back, its error.
    VbErrore fallita(Connessione &c, const QSqlQuery &q, PuntoIstruzione &punto);
    // Runs a statement with bound values; with `riga` a query, which tells
    // whether it gave a row.
    int eseguiLegato(Connessione &c, const QString &sqlMotore, const QVariantList &valori,
                     bool *riga = nullptr);
    int aggiornaRiga(const QString &nome, const QString &tabella, const QStringList &colonne,
                     const QVariantList &valori, const QVariantList *valoriLetti, const QStringList &chiave,
                     const QVariantList &valoriChiave, const QString &schema);
    // The WHERE of a row found by its key; the values to bind join `legati`.
    QString condizioneChiave(const QString &nome, const QString &tabella, const QStringList &chiave,
                             const QVariantList &valoriChiave, const QString &schema, QVariantList &legati);
    // Whether the key finds a row: read without a lock, or with `blocca`
    // locked until the transaction ends (SQLite's write lock already holds it).
    bool esisteRiga(const QString &nome, const QString &tabella, const QStringList &chiave,
                    const QVariantList &valoriChiave, const QString &schema, bool blocca = false);
    // A server session's settings (lock timeout), also after it was opened again.
    void impostaSessione(Connessione &c);
    // A server connection's own statements for SELECTs, on the handle of the
    // connection just opened.
    void preparaIstruzioni(Connessione &c);

    QHash<QString, std::shared_ptr<Connessione>> m_conn; // by lower-case name
    QHash<QString, QVariant> m_parametri;                // by lower-case name
    int m_contatore = 0;
    int m_attesaServer = AttesaServerPredefinita;
    int m_tentativiRiapertura = 0;
    // Waits for a server that may be gone: each opening again of a lost
    // connection, and each statement that ran out of the bound.
    int m_atteseServer = 0;
    // The trial connections of ServerRisponde, each with its outcome (0
    // under way, 1 the server answered, -1 it did not); joined by the destructor.
    struct Sonda {
        std::thread filo;
        std::shared_ptr<std::atomic<int>> esito;
    };
    std::vector<Sonda> m_sonde;
    std::function<void(const QString &)> m_osservatoreSelect;
    std::function<void(const QString &)> m_osservatoreMotore;
};
