// ConteggioParallelo: a list's rows counted on a thread of their own, over a
// second connection to the same SQLite file or server, so that a count that
// reads every row never holds up the window. The thread and its connection
// are made by the first count and kept for the object's life (the list
// window's): a search costs one statement, never a new connection. The same
// thread reads the answer of a SELECT that may read every row to give a few
// (AvviaLettura: the first row a text search finds).
#pragma once

#include "components/db/Risultato.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class DbMotore;

class ConteggioParallelo : public QObject
{
    Q_OBJECT
  public:
    explicit ConteggioParallelo(QObject *parent = nullptr);
    // Stops the count under way and waits for its thread (a stopped
    // statement gives up within a few thousand steps).
    ~ConteggioParallelo() override;

    // Starts counting: `sqlConta` (Jet SQL answering one number) runs on the
    // counting connection to the file or server of `connessione` (opened
    // again only when that connection describes another file, attachments or
    // server, or after a failed count lost it). The answer comes as Contate or
    // Fallito with `etichetta`, on this object's thread. A count already
    // under way is stopped (cancelled on a server) and never answers; the
    // new one runs once it has given up, without this call waiting for it.
    // False, with nothing started, on a database in memory and inside a
    // transaction: the caller counts itself.
    // `sqlOrdinata` (Jet SQL, may be empty): the list's ordering columns in
    // its order, read as DbMotore::LetturaInOrdine. When the count finds at
    // least four times `passo` rows, the same connection then reads the
    // values of the rows `passo`, 2 x `passo`, ... of it with one statement
    // numbering them on the engine, and sends them as Segnaposti (texts as
    // the engine writes them, Null invalid). A count that answers always has
    // its Segnaposti follow when they were asked for: none (an empty list)
    // when the rows are fewer or their reading failed.
    bool Avvia(DbMotore *db, const QString &connessione, const QString &sqlConta, int etichetta,
               const QString &sqlOrdinata = QString(), int passo = 0);
    // The same for a count that is the sum of several (each Jet SQL
    // answering one number): on a server they go as one statement adding
    // them up, on a file they run in turn.
    bool Avvia(DbMotore *db, const QString &connessione, const QStringList &conteggi, int etichetta);
    // Reads the rows of `sqlLettura` (Jet SQL answering a few rows: a
    // search's first match) there, as Seleziona reads them with `opzioni`
    // (DbMotore::LetturaFiltrata is kept on a server too), and delivers them
    // as Lette with `etichetta`, or Fallito: on a file the values as
    // Seleziona gives them, on a server as texts (Null invalid). Started,
    // stopped and refused as a count is.
    bool AvviaLettura(DbMotore *db, const QString &connessione, const QString &sqlLettura, int etichetta,
                      int opzioni = 0);
    // Reads the rows of `sqlScorri` (Jet SQL: a SELECT in the order wanted,
    // read as DbMotore::LetturaInOrdine) there one at a time until `cercata`
    // holds for the value of the column `colonna` of one: that row comes as
    // Lette (as AvviaLettura gives it), no row when none holds. `cercata` is
    // called on the counting thread with the value as the window's own
    // reading gives it, the SELECT's columns being `colonne`. Started,
    // stopped and refused as a count is; stopped, it gives up at the next
    // row (on a server the statement running is cancelled). On a server the
    // rows come from a cursor there, a batch at a time.
    bool AvviaScorrimento(DbMotore *db, const QString &connessione, const QString &sqlScorri,
                          const std::vector<Risultato::Colonna> &colonne, int colonna,
                          std::function<bool(const QVariant &valore)> cercata, int etichetta);
    // Drops the count under way: its answer never comes. On a server its
    // statement is cancelled from another thread: this call never waits for
    // the server.
    void Ferma();
    // Counts of every list whose answer has not yet been delivered or
    // dropped (tests wait for them).
    static int InCorso();
    // Connections the counts have opened since the program started (tests).
    static int ConnessioniAperte();

  signals:
    void Contate(int etichetta, int righe);
    void Fallito(int etichetta, int numero, const QString &descrizione);
    void Segnaposti(int etichetta, int passo, const QList<QVariantList> &righe);
    void Lette(int etichetta, const QList<QVariantList> &righe);

  private:
    // `sqlServer`, when given, is the engine's text of the count on a server.
    bool avvia(DbMotore *db, const QString &connessione, const QStringList &sqlConta, int etichetta,
               const QString &sqlOrdinata, int passo, const QString &sqlServer = {});
    struct Lavoro;
    struct Richiesta;
    struct Collegamento;
    // The request of the window's connection `connessione`: its file, or its server.
    static std::unique_ptr<Richiesta> richiesta(DbMotore *db, const QString &connessione);
    // Hands the request to the thread (made by the first one).
    void accoda(std::unique_ptr<Richiesta> r);
    void esegui();
    // The rows counted (delivered as Contate), -1 when none were.
    int conta(Richiesta &r, Collegamento &c);
    void segnaposti(Richiesta &r, Collegamento &c, int righe);
    void leggi(Richiesta &r, Collegamento &c);
    // A reading row by row (AvviaScorrimento): the row found, if any.
    void scorri(Richiesta &r, Collegamento &c);
    // A reading's outcome handed to the window's thread (Lette or Fallito),
    // unless stopped; a connection lost on the way is closed first.
    void consegna(const Richiesta &r, Collegamento &c, bool lette, QList<QVariantList> righe, int numero,
                  const QString &descrizione, bool persa);
    static bool scorriSulServer(Lavoro &lavoro, Collegamento &c, Richiesta &r, QVariantList &trovata,
                                QString &descrizione, bool &persa);
    // The connection of the request, opened when the kept one is not it: on
    // a server false (with the reason) when it cannot be opened; on a file
    // the failure is a VbErrore.
    static bool collegaServer(const Richiesta &r, Collegamento &c, QString &descrizione);
    static void collegaFile(const Richiesta &r, Collegamento &c);
    // The rows of `sql` on the server, as texts, without their last `tolte`
    // columns. False when it failed or was stopped (`descrizione` and
    // `persa`, when given, say why: the connection lost).
    static bool leggiSulServer(Lavoro &lavoro, Collegamento &c, const QString &sql,
                               QList<QVariantList> &righe, int tolte, QString *descrizione = nullptr,
                               bool *persa = nullptr);
    static int contaSulServer(Lavoro &lavoro, Collegamento &c, const QString &sql, QString &descrizione,
                              bool &persa);

    std::shared_ptr<Lavoro> m_lavoro; // the count under way, if any
    std::mutex m_coda;
    std::condition_variable m_sveglia;
    std::unique_ptr<Richiesta> m_richiesta; // waiting for the thread
    bool m_fine = false;
    std::thread m_thread;
    std::vector<std::future<void>> m_annullamenti; // cancels being sent to the server
};
