// Fixture of the services tests that read the company database: the global
// DbComp opened on an SQLite file or a fresh PostgreSQL database, with the
// program's schema.
#pragma once

#include "services/Globali.h"
#include "tests/components/db/ProvaMotori.h"

class AziendaServizi : public ::testing::TestWithParam<MotoreProva>
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(cartella.isValid());
        auto *db = new DbMotore;
        Globali::ImpostaDbComp(db);
        QString motivo;
        if (!ApriMotoreProva(*db, GetParam(), cartella, connect, motivo)) {
            if (PgObbligatorio())
                FAIL() << "PostgreSQL richiesto in CI: " << motivo.toStdString();
            GTEST_SKIP() << motivo.toStdString();
        }
    }
    void TearDown() override
    {
        Globali::ImpostaDbComp(nullptr);
        if (!connect.isEmpty() && PgServer::Istanza())
            PgServer::Istanza()->EliminaDatabase(PgServer::NomeDatabase(connect));
    }
    void Esegui(const QString &sql) { Globali::DbComp()->EseguiSql(Globali::DbAzienda, sql); }

    QTemporaryDir cartella;
    QString connect;
};
