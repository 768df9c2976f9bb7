// Fixture of the data-access tests: the same test runs on an SQLite file and
// on a fresh PostgreSQL database reached through ODBC, both with the
// program's schema applied.
#pragma once

#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/db/Schema.h"
#include "tests/support/PgServer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

enum class MotoreProva { SQLite, PostgreSQL };

inline std::string NomeMotore(const ::testing::TestParamInfo<MotoreProva> &i)
{
    return i.param == MotoreProva::SQLite ? "SQLite" : "PostgreSQL";
}

// Opens connection "Azienda" of `db` on the engine with the company schema:
// false with `motivo` set when PostgreSQL cannot be had.
inline bool ApriMotoreProva(DbMotore &db, MotoreProva m, const QTemporaryDir &cartella, QString &connect,
                            QString &motivo)
{
    const QString c = QStringLiteral("Azienda");
    if (m == MotoreProva::SQLite) {
        db.ApriSqlite(c, cartella.filePath(QStringLiteral("azienda.db")), true);
    } else {
        PgServer *s = PgServer::Istanza(&motivo);
        if (!s)
            return false;
        connect = s->NuovoDatabase(QStringLiteral("db"));
        if (connect.isEmpty()) {
            motivo = QStringLiteral("database di prova non creato");
            return false;
        }
        db.ApriConnessione(c, connect);
    }
    QSqlDatabase q = db.DatabaseDao(c);
    Schema::ApplicaAzienda(q);
    return true;
}

class ProvaMotori : public ::testing::TestWithParam<MotoreProva>
{
  protected:
    static inline const QString C = QStringLiteral("Azienda");

    void SetUp() override
    {
        ASSERT_TRUE(cartella.isValid());
        db = std::make_unique<DbMotore>();
        QString motivo;
        if (!ApriMotoreProva(*db, GetParam(), cartella, connect, motivo)) {
            if (PgObbligatorio())
                FAIL() << "PostgreSQL richiesto in CI: " << motivo.toStdString();
            GTEST_SKIP() << motivo.toStdString();
        }
    }

    void TearDown() override
    {
        qt.reset();
        rs.reset();
        db.reset();
        if (!connect.isEmpty() && PgServer::Istanza())
            PgServer::Istanza()->EliminaDatabase(PgServer::NomeDatabase(connect));
    }

    void Esegui(const QString &sql) { db->EseguiSql(C, sql); }
    // Opens a read-only record set on `sql` and answers its handle.
    QString Apri(const QString &sql, int tipo = RecDat::TipoSnapshot)
    {
        return rs->ApriRec(db.get(), C, QString(), sql, false, tipo);
    }
    bool Pg() const { return GetParam() == MotoreProva::PostgreSQL; }
    // A second engine `qt` on the same database, its server reads through
    // Qt's driver (our own statements off): the reading to compare with.
    void ApriMotoreQt()
    {
        qt = std::make_unique<DbMotore>();
        if (Pg()) {
            qt->ApriConnessione(C, connect);
            qt->ImpostaParametro(QStringLiteral("IstruzioniProprie:") + C, false);
        } else {
            qt->ApriSqlite(C, cartella.filePath(QStringLiteral("azienda.db")));
        }
    }

    QTemporaryDir cartella;
    QString connect;
    std::unique_ptr<DbMotore> db;
    std::unique_ptr<RecDat> rs = std::make_unique<RecDat>();
    std::unique_ptr<DbMotore> qt; // ApriMotoreQt
};
