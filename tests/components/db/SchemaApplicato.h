// Fixture of the schema tests: an SQLite database in memory and a fresh
// PostgreSQL database (from the test server started by scripts/test), each
// with the company and menu schemas applied; the same test runs on both.
#pragma once

#include "components/db/Schema.h"
#include "support/PgServer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <gtest/gtest.h>
#include <string>

inline std::string NomeMotoreSchema(const ::testing::TestParamInfo<Schema::Motore> &info)
{
    return info.param == Schema::Motore::SQLite ? "SQLite" : "PostgreSQL";
}

class SchemaApplicato : public ::testing::TestWithParam<Schema::Motore>
{
  protected:
    void SetUp() override
    {
        if (GetParam() == Schema::Motore::SQLite) {
            nome = "schema-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
            db = QSqlDatabase::addDatabase("QSQLITE", nome);
            db.setDatabaseName(":memory:");
            ASSERT_TRUE(db.open());
        } else {
            QString motivo;
            server = PgServer::Istanza(&motivo);
            if (!server) {
                if (PgObbligatorio())
                    FAIL() << motivo.toStdString();
                GTEST_SKIP() << motivo.toStdString();
            }
            const QString connect = server->NuovoDatabase(QStringLiteral("schema"));
            nomePg = PgServer::NomeDatabase(connect);
            nome = "schema-" + nomePg;
            db = QSqlDatabase::addDatabase("QODBC", nome);
            db.setDatabaseName(connect);
            db.setNumericalPrecisionPolicy(QSql::HighPrecision);
            ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        }
        Schema::ApplicaAzienda(db);
        Schema::ApplicaMenu(db);
    }
    void TearDown() override
    {
        db.close();
        db = QSqlDatabase();
        if (!nome.isEmpty())
            QSqlDatabase::removeDatabase(nome);
        if (server && !nomePg.isEmpty())
            server->EliminaDatabase(nomePg);
    }
    QStringList Colonne(const QString &tabella)
    {
        QStringList out;
        const QSqlRecord r =
            db.record(GetParam() == Schema::Motore::PostgreSQL ? tabella.toLower() : tabella);
        for (int i = 0; i < r.count(); ++i)
            out << r.fieldName(i).toLower();
        return out;
    }
    void Esegui(const QString &sql)
    {
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString() << "\n" << sql.toStdString();
    }
    QVariant Valore(const QString &sql)
    {
        QSqlQuery q(db);
        if (!q.exec(sql) || !q.next())
            return QVariant();
        return q.value(0);
    }

    QString nome;
    QSqlDatabase db;
    PgServer *server = nullptr;
    QString nomePg;
};
