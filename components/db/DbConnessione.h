// State of one named connection of DbMotore (private to components/db).
#pragma once

#include "components/db/CacheLru.h"
#include "components/db/CursoreSqlite.h"
#include "components/db/DbMotore.h"
#include "components/db/IstruzioniOdbc.h"
#include "components/db/IstruzioniPronte.h"
#include "components/db/LetturaInOrdine.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;
class QSqlQuery;

// SQLSTATE of the last failure of a statement or of a connection of the ODBC
// driver; empty when there is none or the connection is not ODBC.
QString StatoSqlIstruzione(const QSqlQuery &q);
QString StatoSqlConnessione(const QSqlDatabase &db);

// What a connection knows of one form of SELECT (JetSql::Forma): its
// translation and how its result columns are named. Valid while the schema
// and the attached databases stay as they were.
struct DbMotore::FormaNota {
    QString sqlMotore;  // the form translated, parameters in it
    QByteArray sqlUtf8; // idem, as SQLite takes it
    bool analizzata = false;
    // PostgreSQL: a jump's skip (OFFSET) read in an index's order, run with
    // the planner's sorts set aside (DbMotore::LetturaInOrdine).
    bool senzaOrdinamento = false;
    // PostgreSQL: a DbMotore::LetturaFiltrata, run with its index scans set aside.
    bool senzaIndici = false;
    bool soloPrincipale = false;            // reads only tables of the connection's own database
    bool attesaValida = false;              // the SELECT could be read and its "T.*" expanded
    std::vector<Risultato::Colonna> attese; // columns as the SELECT names them
    // SQLite: the result's columns as named for the last statement of this
    // form, reused while SQLite has not prepared that statement again.
    bool colonneNote = false;
    std::vector<Risultato::Colonna> colonne;
    std::shared_ptr<QHash<QString, int>> nomi; // name look-ups of those columns
};

struct DbMotore::Connessione {
    QString nome;
    QString nomeQt; // name of the QSqlDatabase connection
    Motore motore = Motore::SQLite;
    QSqlDatabase db;
    sqlite3 *h = nullptr; // SQLite handle behind db
    int livello = 0;      // transaction depth
    int righeToccate = 0; // RecordsAffected of the last statement
    bool persa = false;   // server connection lost; opened again by the next operation
    // Its last opening again failed, in the gesture (loop level and turn
    // of the GUI thread's event loop, see DbMotore::pronta) named here,
    // with this answer of the driver; level 0 when none holds.
    int fallitaAlLivello = 0;
    quint64 fallitaAlGiro = 0;
    QString fallitaPerche;
    // The outcome of the trial connection ServerRisponde started last.
    std::shared_ptr<std::atomic<int>> sonda;
    // Levels of a transaction a lost connection ended (the level is 0 from
    // then on): each is still owed its commit or rollback by whoever began
    // it. Until they have come no write runs, lest it be saved on its own as
    // half of that transaction; reads run, on the connection opened again.
    int finiDovuti = 0;
    // The last commit lost its answer with the connection: whether the
    // server kept it cannot be known.
    bool confermaIncerta = false;
    // Reads under way: a connection one of them finds dead is opened again
    // only once they are over (its statements go with it).
    int lettureInCorso = 0;
    struct InLettura {
        explicit InLettura(Connessione &c) : c(c) { ++c.lettureInCorso; }
        ~InLettura() { --c.lettureInCorso; }
        InLettura(const InLettura &) = delete;
        InLettura &operator=(const InLettura &) = delete;
        Connessione &c;
    };
    int attesaBlocco = DbMotore::AttesaBloccoPredefinita; // ms a statement waits for a lock
    // Cursors need a journal that lets other connections write while a
    // statement is open (WAL), or a database nobody else sees.
    bool cursoriAmmessi = false;
    std::shared_ptr<CursoreSqlite::Registro> cursori = std::make_shared<CursoreSqlite::Registro>();
    QHash<QString, QString> allegati;                      // lower-case file path -> alias
    QHash<QString, QStringList> colonne;                   // "schema.table" lower -> columns
    QHash<QString, QHash<QString, Risultato::Tipo>> tipi;  // idem -> kinds
    QHash<QString, QHash<QString, int>> lunghezze;         // idem -> text sizes
    QHash<QString, QStringList> chiavi;                    // idem -> primary key
    QHash<QString, QList<LetturaInOrdine::Indice>> indici; // lower-case table -> its indexes (SQLite)
    QHash<QString, bool> conRowid;                         // lower-case table -> it has row ids (SQLite)
    // Translations by Jet text, forms by their text, and the prepared statements (SQLite).
    CacheLru<QString> traduzioni{256};
    CacheLru<std::shared_ptr<FormaNota>> forme{128};
    std::shared_ptr<IstruzioniPronte> pronte;
    // Server: the SELECTs' own ODBC statements (none when the driver hands
    // out no connection handle); they go before the connection closes.
    std::unique_ptr<IstruzioniOdbc> odbc;
    qint64 versioneSchema = -1; // SQLite's schema_version when the caches were filled
    int ordinePerCodici = -1;   // OrdinePerCodici once asked: 0 or 1
    // Counts the times the forms were forgotten: a form held outside the
    // cache (a prepared selection) is valid while this has not moved.
    int generazioneForme = 0;

    JetSql::Dialetto dialetto() const
    {
        return motore == Motore::SQLite ? JetSql::Dialetto::SQLite : JetSql::Dialetto::PostgreSQL;
    }
    // After DDL or an ATTACH: nothing read from the schema may be reused.
    void dimenticaSchema()
    {
        colonne.clear();
        tipi.clear();
        lunghezze.clear();
        chiavi.clear();
        indici.clear();
        conRowid.clear();
        dimenticaForme();
    }
    void dimenticaForme()
    {
        ++generazioneForme;
        traduzioni.svuota();
        forme.svuota();
        if (pronte)
            pronte->Svuota();
        if (odbc)
            odbc->Svuota();
    }
};

// On PostgreSQL a failed statement spoils the whole transaction: inside one,
// every statement of a server connection (writes, SELECTs, look-ups of the
// schema) runs under a savepoint of its own, so that the program can trap a
// failure and go on with the work done before it, as on SQLite. Outside a
// transaction and on SQLite it costs nothing. Savepoints nest: a statement
// run while another one's is open (a look-up of the schema during a SELECT)
// gets its own inside it.
class DbMotore::PuntoIstruzione
{
  public:
    // `attivo` false: a statement that handles the transaction itself.
    PuntoIstruzione(DbMotore &m, Connessione &c, bool attivo = true);
    // Not confirmed: the statement failed, its work is undone.
    ~PuntoIstruzione() { Annulla(); }
    PuntoIstruzione(const PuntoIstruzione &) = delete;
    PuntoIstruzione &operator=(const PuntoIstruzione &) = delete;
    // The statement succeeded: its work joins the transaction.
    void Conferma();
    // The statement failed: the transaction goes back to where it was before it.
    void Annulla();

  private:
    Connessione &m_c;
    bool m_aperto = false;
};
