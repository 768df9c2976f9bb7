// The customer form's look-ups kept from record to record: answered from
// memory while the company's change counter stays still, read again as soon
// as a look-up table changes (on the server, from another connection), and
// read every time by a company without the counter.
#include "BancoClienti.h"
#include "ClientiPostgres.h"

#include "components/db/DbMotore.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

namespace
{

const QString SqlVersione = QStringLiteral("Select Versione From VersioneDecodifiche Where Id = 1");

} // namespace

// Two customers of one ledger with the same countries and town, on a company
// without the menu database (so that the countries' join is kept too).
class Memoria : public BancoClienti
{
  protected:
    void SetUp() override
    {
        BancoClienti::SetUp();
        Globali::NomeDbMenu.clear();
        const QStringList due = Clienti(
            QStringLiteral(
                "P.Mastro = '05' And P.Stato = 'IT' And P.Comune In (Select Descrizione From Comuni)"),
            2);
        ASSERT_EQ(due.size(), 2);
        m_a = due[0].split(u'|');
        m_b = due[1].split(u'|');
        Esegui(QStringLiteral(
                   "Update PianoConti Set Comune = (Select Comune From PianoConti Where Conto = '%1'), "
                   "Pr = (Select Pr From PianoConti Where Conto = '%1'), StatoNascita = 'IT' "
                   "Where Mastro = '05' And Conto In ('%1', '%2')")
                   .arg(m_a[2], m_b[2]));
        Globali::DbComp()->ImpostaOsservatoreSelect([this](const QString &sql) {
            m_comuni += sql.contains(QLatin1String("FROM Comuni "), Qt::CaseInsensitive) ? 1 : 0;
            m_stati += sql.contains(QLatin1String("LEFT JOIN Stati AS Sta1")) ? 1 : 0;
            m_versioni += sql.contains(QLatin1String("VersioneDecodifiche")) ? 1 : 0;
            m_daSole += sql.startsWith(QLatin1String("SELECT Versione"), Qt::CaseInsensitive) ||
                                sql.startsWith(QLatin1String("SELECT (SELECT Versione"), Qt::CaseInsensitive)
                            ? 1
                            : 0;
        });
    }
    void TearDown() override
    {
        Globali::DbComp()->ImpostaOsservatoreSelect({});
        BancoClienti::TearDown();
    }
    bool Leggi(const QStringList &k)
    {
        m_comuni = m_stati = m_versioni = m_daSole = 0;
        return BancoClienti::Leggi(k[0], k[1], k[2]);
    }
    QString L(int i) const { return m_form->Lab(i)->text(); }
    QStringList m_a, m_b;
    int m_comuni = 0, m_stati = 0, m_versioni = 0, m_daSole = 0;
};

TEST_F(Memoria, UnchangedTablesAreNotReadAgainForTheNextRecord)
{
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a));
    EXPECT_EQ(m_stati, 1);
    EXPECT_GE(m_comuni, 1);
    const QStringList prima{L(1050), L(1030), L(1032), L(10), L(20), m_form->labMax->text()};
    ASSERT_FALSE(L(1032).isEmpty());
    ASSERT_FALSE(m_form->labMax->text().isEmpty());
    ASSERT_TRUE(Leggi(m_b));
    EXPECT_EQ(m_stati, 0);
    EXPECT_EQ(m_comuni, 0);
    EXPECT_EQ(m_versioni, 1); // once for the whole record
    EXPECT_EQ((QStringList{L(1050), L(1030), L(1032), L(10), L(20), m_form->labMax->text()}), prima);
}

TEST_F(Memoria, LookUpChangesShowOnTheNextRecord)
{
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a));
    const QString catastale = L(1032);
    ASSERT_FALSE(catastale.isEmpty());
    ASSERT_NE(m_form->labMax->text(), "9999");
    const struct {
        QString sql;
        int etichetta; // 0: the ledger's highest account
        const char *atteso;
    } casi[] = {
        {QStringLiteral("Update Stati Set Descrizione = 'Italia nuova' Where Stato = 'IT'"), 1050,
         "Italia nuova"},
        {QStringLiteral("Update Stati Set Descrizione = 'Italia natale' Where Stato = 'IT'"), 1180,
         "Italia natale"},
        {QStringLiteral("Update ComuniCod Set CodErariale = 'Z001' Where CodErariale = '%1'").arg(catastale),
         1032, "Z001"},
        {QStringLiteral(
             "Update Mastri Set Descrizione = 'Clienti nuovi' Where Gruppo = '%1' And Mastro = '%2'")
             .arg(m_a[0], m_a[1]),
         20, "Clienti nuovi"},
        {QStringLiteral(
             "Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo) Values ('%1', '%2', '9999', '3')")
             .arg(m_a[0], m_a[1]),
         0, "9999"},
    };
    for (const auto &c : casi) {
        ASSERT_TRUE(Leggi(m_b));
        Esegui(c.sql);
        ASSERT_TRUE(Leggi(m_a));
        EXPECT_EQ((c.etichetta ? L(c.etichetta) : m_form->labMax->text()).toStdString(), c.atteso)
            << c.sql.toStdString();
    }
}

TEST_F(Memoria, ACustomersSaveDoesNotMoveTheCounter)
{
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a));
    const qint64 prima = Valore(SqlVersione).toLongLong();
    m_form->txt(50)->setText(QStringLiteral("Verdi Anna"));
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool())
        << Messaggi().join('|').toStdString();
    ASSERT_EQ(
        Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '%1'").arg(m_a[2])).toString(),
        "Verdi Anna");
    EXPECT_EQ(Valore(SqlVersione).toLongLong(), prima);
    ASSERT_TRUE(Leggi(m_b));
    EXPECT_EQ(m_comuni, 0);
}

// A company without the counter (an old file that could not take it) reads
// the tables for every record, and shows what they say.
TEST_F(Memoria, WithoutTheCounterEveryRecordReadsTheTables)
{
    QStringList trigger;
    {
        QSqlQuery q(Globali::DbComp()->DatabaseDao(Globali::DbAzienda));
        ASSERT_TRUE(q.exec(QStringLiteral("Select name From sqlite_master Where type = 'trigger'")));
        while (q.next())
            trigger << q.value(0).toString();
    }
    for (const QString &t : std::as_const(trigger))
        Esegui(QStringLiteral("Drop Trigger ") + t);
    Esegui(QStringLiteral("Drop Table VersioneDecodifiche"));
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a));
    ASSERT_TRUE(Leggi(m_b));
    EXPECT_EQ(m_stati, 1);
    EXPECT_GE(m_comuni, 1);
    Esegui(QStringLiteral("Update Mastri Set Descrizione = 'Clienti nuovi' Where Gruppo = '%1' And "
                          "Mastro = '%2'")
               .arg(m_a[0], m_a[1]));
    ASSERT_TRUE(Leggi(m_a));
    EXPECT_EQ(L(20), "Clienti nuovi");
}

// On the server, changes made by another connection show on the next record
// of the same ledger; a customer's save leaves the counter alone.
class MemoriaPostgres : public ClientiPostgres
{
};

TEST_F(MemoriaPostgres, LedgerRenamedOrAccountAddedShowsOnTheNextRecord)
{
    ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0002")));
    ASSERT_EQ(m_form->Lab(20)->text(), "CLIENTI");
    ASSERT_EQ(m_form->labMax->text(), "0002");
    const qint64 prima = Valore(SqlVersione).toLongLong();
    m_form->txt(50)->setText(QStringLiteral("Verdi Anna"));
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool())
        << Messaggi().join('|').toStdString();
    EXPECT_EQ(Valore(SqlVersione).toLongLong(), prima);

    PgServer *pg = Server(nullptr);
    ASSERT_NE(pg, nullptr);
    QString errore;
    ASSERT_TRUE(
        pg->Esegui(m_database,
                   QStringLiteral("UPDATE Mastri SET Descrizione = 'CLIENTI ITALIA'; INSERT INTO PianoConti "
                                  "(Gruppo, Mastro, Conto, Tipo) VALUES ('01', '05', '0500', '3')"),
                   &errore))
        << errore.toStdString();
    ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0001")));
    EXPECT_EQ(m_form->Lab(20)->text(), "CLIENTI ITALIA");
    EXPECT_EQ(m_form->labMax->text(), "0500");
}

// Another desk on the same company file renames a country while this one
// shows a customer: the next record shows the new name. The record shown
// keeps its set open; its read transaction must not outlive the user's
// action, or every later read of the connection sees the file as it was.
TEST_F(Memoria, AnotherDesksChangeShowsOnTheNextRecordOfAFile)
{
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a));
    ASSERT_NE(L(1050), QStringLiteral("Italia cambiata"));
    {
        // The program waits for the user.
        QEventLoop attesa;
        QTimer::singleShot(5, &attesa, &QEventLoop::quit);
        attesa.exec();
    }
    {
        QSqlDatabase altra = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("altra"));
        altra.setDatabaseName(m_percorso);
        ASSERT_TRUE(altra.open());
        QSqlQuery q(altra);
        ASSERT_TRUE(
            q.exec(QStringLiteral("Update Stati Set Descrizione = 'Italia cambiata' Where Stato = 'IT'")))
            << q.lastError().text().toStdString();
        altra.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("altra"));
    ASSERT_TRUE(Leggi(m_b));
    EXPECT_EQ(L(1050), QStringLiteral("Italia cambiata"));
}

// Once read on their own, the counters come with the record in its own
// statement; a company whose counter goes away is read without them, with
// no message, and every look-up goes to the tables again.
TEST_F(Memoria, TheCountersComeWithTheRecord)
{
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a));
    EXPECT_GE(m_daSole, 1);
    const QString stato = L(1050);
    ASSERT_TRUE(Leggi(m_b));
    EXPECT_EQ(m_daSole, 0);
    EXPECT_EQ(m_versioni, 1);
    EXPECT_EQ(m_stati, 0);

    Esegui(QStringLiteral("Drop Table VersioneDecodifiche"));
    ASSERT_TRUE(Leggi(m_a));
    EXPECT_EQ(L(1050), stato);
    EXPECT_EQ(m_stati, 1);
    ASSERT_TRUE(Leggi(m_b));
    EXPECT_EQ(m_versioni, 0);
    EXPECT_EQ(m_stati, 1);
}
