// The registry page's countries kept from record to record with the common
// menu database's black list joined: a black-list change made on another
// connection shows on the next record, and a menu without its change counter
// has the join read for every record.
#include "ClientiPostgres.h"

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>

// The server's company with its menu schema ("menu", as a copy makes it),
// its country IT tied to the menu's IT, not black-listed.
class MemoriaMenuPostgres : public ClientiPostgres
{
  protected:
    void SetUp() override
    {
        ClientiPostgres::SetUp();
        if (m_database.isEmpty() || HasFatalFailure())
            return;
        // As the program names a server's company: the form joins the menu schema.
        Globali::NomeDbAzienda = QStringLiteral("ODBC;") + Globali::NomeDbAzienda;
        {
            QSqlDatabase menu = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("menu"));
            menu.setDatabaseName(Globali::NomeDbAzienda.mid(5));
            ASSERT_TRUE(menu.open()) << menu.lastError().text().toStdString();
            QSqlQuery q(menu);
            ASSERT_TRUE(q.exec(QStringLiteral("CREATE SCHEMA menu")));
            ASSERT_TRUE(q.exec(QStringLiteral("SET search_path TO menu, public")));
            Schema::ApplicaMenu(menu);
            menu.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("menu"));
        PgEsegui(QStringLiteral(
            "INSERT INTO Stati (Stato, Descrizione, Iso, CodTabStato) VALUES ('IT', 'Italia', 'IT', 'IT'); "
            "INSERT INTO menu.TabStati (StatoIso, Descrizione, BlackList) VALUES ('IT', 'Italia', 'N')"));
        Globali::DbComp()->ImpostaOsservatoreSelect([this](const QString &sql) {
            m_join += sql.contains(QLatin1String("StatiEle")) ? 1 : 0;
            m_versioni += sql.contains(QLatin1String("VersioneDecodifiche")) ? 1 : 0;
        });
    }
    void TearDown() override
    {
        if (Globali::DbComp())
            Globali::DbComp()->ImpostaOsservatoreSelect({});
        ClientiPostgres::TearDown();
    }
    // Another desk's statement.
    void PgEsegui(const QString &sql)
    {
        QString errore;
        ASSERT_TRUE(Server(nullptr)->Esegui(m_database, sql, &errore)) << errore.toStdString();
    }
    bool Leggi(const char *conto)
    {
        m_join = m_versioni = 0;
        return ClientiPostgres::Leggi(QStringLiteral("01"), QStringLiteral("05"), QString::fromLatin1(conto));
    }
    bool NellaBlackList() const { return !m_form->LabBlackList->isHidden(); }
    int m_join = 0, m_versioni = 0;
};

TEST_F(MemoriaMenuPostgres, BlackListChangedOnAnotherDeskShowsOnTheNextRecord)
{
    ASSERT_TRUE(Leggi("0002"));
    ASSERT_TRUE(Leggi("0001"));
    EXPECT_EQ(m_join, 0); // the same countries: kept
    EXPECT_EQ(m_versioni, 1);
    EXPECT_EQ(m_form->Lab(1050)->text(), "Italia");
    EXPECT_FALSE(NellaBlackList());

    PgEsegui(QStringLiteral("UPDATE menu.TabStati SET BlackList = 'S' WHERE StatoIso = 'IT'"));
    ASSERT_TRUE(Leggi("0002"));
    EXPECT_EQ(m_join, 1);
    EXPECT_TRUE(NellaBlackList());
    ASSERT_TRUE(Leggi("0001"));
    EXPECT_EQ(m_join, 0);
    EXPECT_TRUE(NellaBlackList());
}

// A menu schema made before the counter, that the program could not give it.
TEST_F(MemoriaMenuPostgres, WithoutTheMenusCounterEveryRecordReadsTheJoin)
{
    PgEsegui(
        QStringLiteral("DROP FUNCTION menu.VersioneMenu_Avanza() CASCADE; DROP TABLE menu.VersioneMenu"));
    ASSERT_TRUE(Leggi("0002"));
    EXPECT_EQ(m_join, 1);
    ASSERT_TRUE(Leggi("0001"));
    EXPECT_EQ(m_join, 1);
    EXPECT_EQ(m_versioni, 1); // the company's counter alone, once
    EXPECT_FALSE(NellaBlackList());
    PgEsegui(QStringLiteral("UPDATE menu.TabStati SET BlackList = 'S' WHERE StatoIso = 'IT'"));
    ASSERT_TRUE(Leggi("0002"));
    EXPECT_TRUE(NellaBlackList());
}
