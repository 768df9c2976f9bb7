// PgServer: a PostgreSQL database for the tests of one suite. Uses the server
// that scripts/test started (CLIENTI_PG_* in the environment) or, without one,
// starts a private server in a temporary folder and stops it at the end. With
// CI=true a server that cannot be had is a failure, never a skip.
#pragma once

#include <QString>
#include <memory>

class PgServer
{
  public:
    // The shared server, started on first use; nullptr (and `motivo` set)
    // when no server can be had outside CI.
    static PgServer *Istanza(QString *motivo = nullptr);
    // A server of the caller's own, which it may stop and start again; over
    // TCP every role but "postgres" logs in with its password. nullptr (and
    // `motivo` set) when none can be started.
    static std::unique_ptr<PgServer> Privato(QString *motivo = nullptr);
    bool Ferma();
    bool Riavvia();
    // Runs SQL through psql on the server's socket, as "postgres".
    bool Esegui(const QString &database, const QString &sql, QString *errore = nullptr)
    {
        return psql(database, sql, errore);
    }

    // Creates a fresh, uniquely named database (with citext) and answers an
    // ODBC connect text for it ("DRIVER={PostgreSQL Unicode};SERVER=...").
    QString NuovoDatabase(const QString &prefisso = QStringLiteral("t"));
    void EliminaDatabase(const QString &nome);
    // The database name inside a connect text NuovoDatabase answered.
    static QString NomeDatabase(const QString &connect);

    QString host() const { return m_host; }
    int porta() const { return m_porta; }
    QString utente() const { return m_utente; }
    QString socket() const { return m_socket; }

    ~PgServer();

  private:
    PgServer() = default;
    bool avvia(QString &errore);
    bool avviaPrivato(QString &errore, bool conPassword);
    bool pgCtl(const QStringList &argomenti, QString *uscita);
    bool psql(const QString &database, const QString &sql, QString *errore = nullptr);

    QString m_host, m_utente, m_socket, m_dirPrivata, m_binPg, m_opzioni;
    int m_porta = 0;
    bool m_privato = false;
};

// For tests: true when PostgreSQL tests must run (CI) even if it means failing.
bool PgObbligatorio();
