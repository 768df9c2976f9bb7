// ConteggioParallelo: a list's rows counted on a thread of their own, over a
// second connection to the same SQLite file or server, so that a count that
// reads every row never holds up the window.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
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

    // Starts counting: `sqlConta` (Jet SQL answering one number) runs on a new
    // connection to the file or server of `connessione`. The answer comes as
    // Contate or Fallito with `etichetta`, on this object's thread. A count
    // already under way is stopped (cancelled on a server) and its thread
    // waited for. False, with nothing started, on a database in memory and
    // inside a transaction: the caller counts itself.
    bool Avvia(DbMotore *db, const QString &connessione, const QString &sqlConta, int etichetta);
    // Drops the count under way: its answer never comes.
    void Ferma();
    // Counts of every list whose answer has not yet been delivered or
    // dropped (tests wait for them).
    static int InCorso();

  signals:
    void Contate(int etichetta, int righe);
    void Fallito(int etichetta, int numero, const QString &descrizione);

  private:
    struct Lavoro;
    static int contaSulServer(Lavoro &lavoro, const QString &nomeQt, const QString &sql,
                              QString &descrizione);
    std::shared_ptr<Lavoro> m_lavoro; // the count under way, if any
    std::vector<std::thread> m_thread;
};
