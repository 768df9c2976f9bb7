// A throw-away PostgreSQL database on the test server that scripts/test
// starts (CLIENTI_PG_HOST, CLIENTI_PG_PORT, CLIENTI_PG_USER), reached through
// ODBC as the program reaches a server.
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

class SchemaPg {
public:
    SchemaPg()
    {
        const QString host = qEnvironmentVariable("CLIENTI_PG_HOST");
        const QString porta = qEnvironmentVariable("CLIENTI_PG_PORT");
        utente = qEnvironmentVariable("CLIENTI_PG_USER", "postgres");
        if (host.isEmpty() || porta.isEmpty()) {
            m_motivo = "PostgreSQL test server not started (run scripts/test)";
            return;
        }
        base = QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=%1;PORT=%2;UID=%3;").arg(host, porta, utente);
        nomeDb = "t_" + QUuid::createUuid().toString(QUuid::Id128).left(20).toLower();
        {
            QSqlDatabase admin = Apri("pgadmin-" + nomeDb, "postgres");
            if (!admin.isOpen())
                return;
            QSqlQuery q(admin);
            if (!q.exec("CREATE DATABASE " + nomeDb)) {
                m_motivo = q.lastError().text();
                admin.close();
            }
        }
        QSqlDatabase::removeDatabase("pgadmin-" + nomeDb);
        if (!m_motivo.isEmpty())
            return;
        db = Apri("pg-" + nomeDb, nomeDb);
        creato = true;
    }
    ~SchemaPg()
    {
        if (db.isValid())
            db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("pg-" + nomeDb);
        if (creato) {
            {
                QSqlDatabase admin = Apri("pgadmin-" + nomeDb, "postgres");
                QSqlQuery q(admin);
                q.exec("DROP DATABASE IF EXISTS " + nomeDb);
                admin.close();
            }
            QSqlDatabase::removeDatabase("pgadmin-" + nomeDb);
        }
    }
    SchemaPg(const SchemaPg &) = delete;
    SchemaPg &operator=(const SchemaPg &) = delete;

    bool disponibile() const { return db.isValid() && db.isOpen(); }
    const QString &motivo() const { return m_motivo; }
    QSqlDatabase database() const { return db; }

private:
    QSqlDatabase Apri(const QString &connessione, const QString &database)
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QODBC", connessione);
        d.setDatabaseName(base + "DATABASE=" + database + ";");
        d.setNumericalPrecisionPolicy(QSql::HighPrecision);
        if (!d.open())
            m_motivo = d.lastError().text();
        return d;
    }

    QString base, utente, nomeDb, m_motivo;
    QSqlDatabase db;
    bool creato = false;
};
