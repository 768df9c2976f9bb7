// The change counter of the look-up tables, on both engines: what moves it,
// what leaves it alone, and its arrival in a company made before it.
#include "SchemaApplicato.h"

namespace
{

using Schema::Motore;

// The schema tests' databases, with the counter read.
class VersioneDecodifiche : public SchemaApplicato
{
  protected:
    // The counter; 0 before the first change, -1 when it cannot be read.
    qint64 Versione()
    {
        QSqlQuery q(db);
        if (!q.exec("SELECT Versione FROM VersioneDecodifiche WHERE Id = 1"))
            return -1;
        return q.next() ? q.value(0).toLongLong() : 0;
    }
};

TEST_P(VersioneDecodifiche, MovesOnLookUpChangesNotOnACustomersEdit)
{
    struct Caso {
        const char *sql;
        bool muove;
    };
    const Caso casi[] = {
        {"INSERT INTO Stati (Stato, Descrizione) VALUES ('XX', 'Paese')", true},
        {"UPDATE Stati SET Descrizione = 'Altro paese' WHERE Stato = 'XX'", true},
        {"DELETE FROM Stati WHERE Stato = 'XX'", true},
        {"INSERT INTO ComuniCod (CodErariale, Descrizione) VALUES ('Z999', 'Borgo')", true},
        {"UPDATE ComuniCod SET CodErariale = 'Z998' WHERE CodErariale = 'Z999'", true},
        {"DELETE FROM ComuniCod", true},
        {"INSERT INTO Gruppi (Gruppo, Descrizione) VALUES ('01', 'Attivita')", true},
        {"INSERT INTO Mastri (Gruppo, Mastro, Tipo, Descrizione) VALUES ('01', '05', '3', 'Clienti')", true},
        {"UPDATE Mastri SET Descrizione = 'Clienti Italia'", true},
        {"INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo) VALUES ('01', '05', '0001', '3')", true},
        // A customer saved, even with its key written back as it was.
        {"UPDATE PianoConti SET RagSoc = 'Rossi', Descrizione = 'Rossi', Stato = 'IT', Comune = 'Roma'",
         false},
        {"UPDATE PianoConti SET Gruppo = '01', Mastro = '05', Conto = '0001'", false},
        {"UPDATE PianoConti SET Conto = '0009'", true},
        {"UPDATE PianoConti SET Mastro = '06'", true},
        {"DELETE FROM PianoConti", true},
    };
    for (const Caso &c : casi) {
        const qint64 prima = Versione();
        ASSERT_GE(prima, 0);
        Esegui(QString::fromLatin1(c.sql));
        if (c.muove)
            EXPECT_GT(Versione(), prima) << c.sql;
        else
            EXPECT_EQ(Versione(), prima) << c.sql;
    }
}

// A company made before the counter gets it, with its triggers, at opening;
// once it has it, opening again changes nothing.
TEST_P(VersioneDecodifiche, ACompanyMadeBeforeItGetsItAtOpening)
{
    if (GetParam() == Motore::PostgreSQL) {
        Esegui("DROP FUNCTION VersioneDecodifiche_Avanza() CASCADE");
    } else {
        QSqlQuery q(db);
        // The company's triggers (the menu's are on TabStati).
        ASSERT_TRUE(
            q.exec("SELECT name FROM sqlite_master WHERE type = 'trigger' AND tbl_name <> 'TabStati'"));
        QStringList trigger;
        while (q.next())
            trigger << q.value(0).toString();
        q.finish();
        EXPECT_EQ(trigger.size(), 15);
        for (const QString &t : std::as_const(trigger))
            Esegui("DROP TRIGGER " + t);
    }
    Esegui("DROP TABLE VersioneDecodifiche");
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('XX', 'Paese')");
    ASSERT_EQ(Versione(), -1);

    ASSERT_NO_THROW(Schema::VersioneDecodifiche(db));
    ASSERT_NO_THROW(Schema::VersioneDecodifiche(db));
    EXPECT_EQ(Versione(), 0);
    Esegui("UPDATE Stati SET Descrizione = 'Altro paese'");
    EXPECT_EQ(Versione(), 1);
    Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto) VALUES ('01', '05', '0001')");
    EXPECT_EQ(Versione(), 2);
}

// The menu's countries move the menu's counter only, and on a server the
// counter of the schema whose TabStati changed, whatever the session's
// search_path; a menu made before it gets it at opening.
TEST_P(VersioneDecodifiche, TheMenusCountriesMoveTheMenusOwnCounter)
{
    const bool pg = GetParam() == Motore::PostgreSQL;
    const QStringList schemi = pg ? QStringList{"menu", "altro"} : QStringList{""};
    for (const QString &s : schemi) {
        if (pg) {
            Esegui("CREATE SCHEMA " + s);
            Esegui("SET search_path TO " + s + ", public");
        }
        Schema::ApplicaMenu(db);
    }
    if (pg)
        Esegui("SET search_path TO altro, public");
    const QString menu = pg ? "menu." : "";
    const auto versioneMenu = [&](const QString &schema) {
        QSqlQuery q(db);
        if (!q.exec("SELECT Versione FROM " + schema + "VersioneMenu WHERE Id = 1"))
            return qint64(-1);
        return q.next() ? q.value(0).toLongLong() : 0;
    };
    const qint64 azienda = Versione();
    Esegui("INSERT INTO " + menu + "TabStati (StatoIso, Descrizione) VALUES ('XX', 'Paese')");
    Esegui("UPDATE " + menu + "TabStati SET BlackList = 'S'");
    EXPECT_EQ(versioneMenu(menu), 2);
    EXPECT_EQ(Versione(), azienda);
    if (pg) {
        EXPECT_EQ(versioneMenu("altro."), 0);
    }
    Esegui("UPDATE Stati SET Descrizione = 'Altro'");
    EXPECT_EQ(versioneMenu(menu), 2);

    // Made before it: the counter arrives once, and moves.
    if (pg)
        Esegui("DROP FUNCTION menu.VersioneMenu_Avanza() CASCADE");
    else
        for (const char *t :
             {"TabStati_VersioneMenuIns", "TabStati_VersioneMenuAgg", "TabStati_VersioneMenuCanc"})
            Esegui(QString("DROP TRIGGER ") + t);
    Esegui("DROP TABLE " + menu + "VersioneMenu");
    ASSERT_NO_THROW(Schema::VersioneMenu(db, pg ? "menu" : ""));
    ASSERT_NO_THROW(Schema::VersioneMenu(db, pg ? "menu" : ""));
    EXPECT_EQ(versioneMenu(menu), 0);
    Esegui("DELETE FROM " + menu + "TabStati");
    EXPECT_EQ(versioneMenu(menu), 1);
    if (pg) {
        EXPECT_EQ(versioneMenu("altro."), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, VersioneDecodifiche, ::testing::Values(Motore::SQLite, Motore::PostgreSQL),
                         NomeMotoreSchema);

} // namespace
