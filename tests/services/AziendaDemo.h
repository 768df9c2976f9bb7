// The demo company database, generated once per test program and opened as
// the company connection of DbComp(), with its common menu database.
#pragma once

#include "components/db/DbMotore.h"
#include "data/generator/Generatore.h"
#include "services/Globali.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class AziendaDemo : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        if (!cartella) {
            cartella = std::make_unique<QTemporaryDir>();
            OpzioniDemo o;
            o.percorso = cartella->filePath(QStringLiteral("azienda.db"));
            o.clienti = 25;
            o.seme = 7;
            menu = GeneraDemo(o).percorsoMenu;
            percorso = o.percorso;
        }
    }
    void SetUp() override
    {
        Globali::ImpostaDbComp(new DbMotore);
        Globali::DbComp()->ApriSqlite(Globali::DbAzienda, percorso);
        Globali::NomeDbMenu = menu;
        Globali::DbMenu.clear();
    }
    void TearDown() override
    {
        Globali::ImpostaDbComp(nullptr);
        Globali::DbMenu.clear();
        Globali::NomeDbMenu.clear();
    }

    static inline std::unique_ptr<QTemporaryDir> cartella;
    static inline QString percorso, menu;
};
