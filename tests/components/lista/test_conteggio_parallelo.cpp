// A list's total counted on a thread of its own: the right number over a
// second connection (attached databases included; a server too) while the
// window's connection runs nothing, a stopped or superseded count that never
// answers (cancelled on the server), a failure reported, the cases counted by
// the caller itself, and a list that takes a count only for its own opening.
#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/ModelloLista.h"
#include "components/lista/RigheLista.h"
#include "tests/components/db/ProvaMotori.h"

#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace
{

const QString C = QStringLiteral("Azienda");

class ConteggioInParallelo : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(cartella.isValid());
        db.ApriSqlite(C, cartella.filePath("azienda.db"), true);
        QSqlDatabase q = db.DatabaseDao(C);
        Schema::ApplicaAzienda(q);
        QStringList valori;
        for (int i = 0; i < kRighe; ++i) {
            valori << QStringLiteral("('01', '%1', '%2', '3', 'Cliente %2')")
                          .arg(i % 3 == 0 ? "06" : "05")
                          .arg(i, 5, 10, QLatin1Char('0'));
            if (valori.size() == 500 || i == kRighe - 1) {
                db.EseguiSql(C, "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES " +
                                    valori.join(", "));
                valori.clear();
            }
        }
        db.ImpostaOsservatoreSelect([this](const QString &sql) { selectFinestra << sql; });
    }
    void TearDown() override { db.ImpostaOsservatoreSelect({}); }

    // The answers that came, as (label, rows); -1 rows for a failure.
    static QList<QPair<int, int>> Risposte(QSignalSpy &contate, QSignalSpy &fallite)
    {
        QList<QPair<int, int>> out;
        for (const auto &a : contate)
            out.append({a.at(0).toInt(), a.at(1).toInt()});
        for (const auto &a : fallite)
            out.append({a.at(0).toInt(), -1});
        return out;
    }
    // Waits until every count has answered or been dropped.
    static void Attendi()
    {
        for (int i = 0; i < 3000 && ConteggioParallelo::InCorso() > 0; ++i)
            QTest::qWait(5);
        QCoreApplication::processEvents();
    }

    static constexpr int kRighe = 3000;
    QTemporaryDir cartella;
    DbMotore db;
    QStringList selectFinestra;
};

TEST_F(ConteggioInParallelo, CountsOnItsOwnConnectionAttachedDatabasesIncluded)
{
    ConteggioParallelo conteggio;
    QSignalSpy contate(&conteggio, &ConteggioParallelo::Contate);
    QSignalSpy fallite(&conteggio, &ConteggioParallelo::Fallito);
    const int connessioni = ConteggioParallelo::ConnessioniAperte();
    ASSERT_TRUE(
        conteggio.Avvia(&db, C, "Select Count(*) As NumeroRighe From PianoConti Where Mastro = '06'", 7));
    ASSERT_TRUE(contate.wait(30000));
    EXPECT_EQ(Risposte(contate, fallite), (QList<QPair<int, int>>{{7, 1000}}));
    EXPECT_TRUE(selectFinestra.isEmpty()) << selectFinestra.join("\n").toStdString();
    // Further counts of the same file go over the same connection.
    for (int i = 0; i < 3; ++i) {
        contate.clear();
        ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti Where Mastro = '05'", 20 + i));
        ASSERT_TRUE(contate.wait(30000));
        EXPECT_EQ(Risposte(contate, fallite), (QList<QPair<int, int>>{{20 + i, 2000}}));
    }
    EXPECT_EQ(ConteggioParallelo::ConnessioniAperte() - connessioni, 1);

    // A database attached to the window's connection is there for the count.
    DbMotore menu;
    menu.ApriSqlite("Menu", cartella.filePath("menu.db"), true);
    menu.EseguiSql("Menu", "CREATE TABLE TabStati (StatoIso TEXT PRIMARY KEY)");
    menu.EseguiSql("Menu", "INSERT INTO TabStati VALUES ('IT'), ('FR')");
    menu.ChiudiTutto();
    db.AllegaDatabase(C, cartella.filePath("menu.db"), "comune");
    // ... and the kept connection, which lacks it, is opened again with it.
    contate.clear();
    ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From comune.TabStati", 8));
    ASSERT_TRUE(contate.wait(30000));
    EXPECT_EQ(Risposte(contate, fallite), (QList<QPair<int, int>>{{8, 2}}));
    EXPECT_EQ(ConteggioParallelo::ConnessioniAperte() - connessioni, 2);
}

TEST_F(ConteggioInParallelo, StoppedOrSupersededCountsNeverAnswer)
{
    QSignalSpy *contate = nullptr;
    {
        ConteggioParallelo conteggio;
        QSignalSpy spia(&conteggio, &ConteggioParallelo::Contate);
        contate = &spia;
        ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti", 1));
        ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti Where Mastro = '05'", 2));
        Attendi();
        EXPECT_EQ(contate->size(), 1);
        EXPECT_EQ(contate->value(0).value(0).toInt(), 2);
        EXPECT_EQ(contate->value(0).value(1).toInt(), 2000);

        ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti", 3));
        conteggio.Ferma();
        Attendi();
        EXPECT_EQ(contate->size(), 1);
        // Gone while a count runs: it is stopped and waited for.
        ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti A, PianoConti B", 4));
    }
    Attendi();
    EXPECT_EQ(ConteggioParallelo::InCorso(), 0);
}

TEST_F(ConteggioInParallelo, FailureIsReportedAndSomeConnectionsAreLeftToTheCaller)
{
    ConteggioParallelo conteggio;
    QSignalSpy fallite(&conteggio, &ConteggioParallelo::Fallito);
    ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From TabellaCheNonCe", 5));
    ASSERT_TRUE(fallite.wait(30000));
    EXPECT_EQ(fallite.value(0).value(0).toInt(), 5);
    EXPECT_EQ(fallite.value(0).value(1).toInt(), 3078);

    // Inside a transaction another connection would not see its rows.
    db.IniziaTrans(C);
    EXPECT_FALSE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti", 6));
    db.AnnullaTrans(C);
    DbMotore memoria;
    memoria.ApriSqlite("M", ":memory:", true);
    EXPECT_FALSE(conteggio.Avvia(&memoria, "M", "Select 1", 7));
    EXPECT_FALSE(conteggio.Avvia(&db, "NessunaConnessione", "Select 1", 8));
    EXPECT_FALSE(conteggio.Avvia(nullptr, C, "Select 1", 9));
}

TEST_F(ConteggioInParallelo, ListTakesACountOnlyForItsOwnOpening)
{
    RigheLista righe;
    righe.ImpostaDatabase(&db, C);
    righe.ImpostaChiave({"Gruppo", "Mastro", "Conto"});
    righe.Apri("Select Gruppo, Mastro, Conto, Descrizione From PianoConti order by Gruppo, Mastro, Conto");
    const int prima = righe.Apertura();
    righe.Riapri();
    righe.ImpostaConteggio(prima, 3000);
    EXPECT_FALSE(righe.ConteggioNoto());
    // Fewer than the rows already read (rows deleted meanwhile): the rows read stay.
    righe.ImpostaConteggio(righe.Apertura(), 5);
    ASSERT_TRUE(righe.ConteggioNoto());
    EXPECT_EQ(righe.RigheNote(), RigheLista::RighePagina);
    righe.ImpostaConteggio(righe.Apertura(), 3000);
    EXPECT_EQ(righe.RigheNote(), RigheLista::RighePagina);
    righe.Chiudi();
    righe.ImpostaConteggio(righe.Apertura(), 3000);
    EXPECT_FALSE(righe.ConteggioNoto());
}

// The landmarks asked for follow every count that answered: none (an empty
// list) for a list too short to want them and when they could not be read,
// so that the list never waits for landmarks that will not come.
TEST_F(ConteggioInParallelo, LandmarksFollowEveryCountThatAnswered)
{
    ConteggioParallelo conteggio;
    QList<QPair<int, qsizetype>> venuti; // (label, landmarks)
    QObject::connect(&conteggio, &ConteggioParallelo::Segnaposti,
                     [&](int etichetta, int, const QList<QVariantList> &righe) {
                         venuti.append({etichetta, righe.size()});
                     });
    const QString conta = "Select Count(*) From PianoConti";
    const QString ordinata = "Select Gruppo, Mastro, Conto From PianoConti Order By Gruppo, Mastro, Conto";
    ASSERT_TRUE(conteggio.Avvia(&db, C, conta, 1, ordinata, 100));
    Attendi();
    ASSERT_TRUE(conteggio.Avvia(&db, C, conta, 2, ordinata, 1000)); // 3,000 rows: fewer than 4 steps
    Attendi();
    ASSERT_TRUE(conteggio.Avvia(&db, C, conta, 3, "Select Nessuna From PianoConti Order By Nessuna", 100));
    Attendi();
    // No ordering, or a count that failed: none asked for, none sent.
    ASSERT_TRUE(conteggio.Avvia(&db, C, conta, 4, QString(), 100));
    Attendi();
    ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From TabellaCheNonCe", 5, ordinata, 100));
    Attendi();
    EXPECT_EQ(venuti, (QList<QPair<int, qsizetype>>{{1, 30}, {2, 0}, {3, 0}}));
}

// On PostgreSQL the count runs on a connection of its own to the same
// database, kept from one count to the next (one server process however many
// searches, failures and cancels), and a count stopped while the server works
// is cancelled there.
TEST(ConteggioSulServer, CountsOnItsOwnConnectionAndIsCancelledWhenStopped)
{
    QTemporaryDir cartella;
    DbMotore db;
    QString connect, motivo;
    if (!ApriMotoreProva(db, MotoreProva::PostgreSQL, cartella, connect, motivo)) {
        if (PgObbligatorio())
            FAIL() << "PostgreSQL richiesto in CI: " << motivo.toStdString();
        GTEST_SKIP() << motivo.toStdString();
    }
    QStringList valori;
    for (int i = 1000; i < 4000; ++i)
        valori << QStringLiteral("('01', '05', '%1', '3', 'Cliente')").arg(i);
    db.EseguiSql(C, "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES " +
                        valori.join(", "));
    QStringList selectFinestra;
    db.ImpostaOsservatoreSelect([&](const QString &sql) { selectFinestra << sql; });
    // The server processes of this database other than the window's own.
    const auto altri = [&db] {
        QSqlQuery q(db.DatabaseDao(C));
        EXPECT_TRUE(q.exec("SELECT pid FROM pg_stat_activity WHERE datname = current_database() "
                           "AND pid <> pg_backend_pid() ORDER BY pid"))
            << q.lastError().text().toStdString();
        QList<int> pid;
        while (q.next())
            pid << q.value(0).toInt();
        return pid;
    };
    QList<int> processo;
    {
        ConteggioParallelo conteggio;
        QSignalSpy contate(&conteggio, &ConteggioParallelo::Contate);
        QSignalSpy fallite(&conteggio, &ConteggioParallelo::Fallito);
        ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti Where Conto Like '1*'", 7));
        ASSERT_TRUE(contate.wait(30000));
        EXPECT_EQ(contate.value(0).value(0).toInt(), 7);
        EXPECT_EQ(contate.value(0).value(1).toInt(), 1000);
        EXPECT_TRUE(selectFinestra.isEmpty()) << selectFinestra.join("\n").toStdString();
        processo = altri();
        ASSERT_EQ(processo.size(), 1);

        ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From TabellaCheNonCe", 8));
        ASSERT_TRUE(fallite.wait(30000));
        EXPECT_EQ(fallite.value(0).value(0).toInt(), 8);
        EXPECT_EQ(altri(), processo);

        // A count of 900 million rows, stopped, superseded and left by its
        // object while the server works: each ends at once, by the cancel.
        const char *lunga =
            "Select Count(*) From PianoConti A, PianoConti B, PianoConti C Where C.Conto < '1100'";
        ASSERT_TRUE(conteggio.Avvia(&db, C, lunga, 9));
        QTest::qWait(200);
        conteggio.Ferma();
        for (int i = 0; i < 2000 && ConteggioParallelo::InCorso() > 0; ++i)
            QTest::qWait(5);
        EXPECT_EQ(ConteggioParallelo::InCorso(), 0) << "the stopped count still runs on the server";
        ASSERT_TRUE(conteggio.Avvia(&db, C, lunga, 10));
        QTest::qWait(200);
        ASSERT_TRUE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti Where Conto Like '2*'", 11));
        ASSERT_TRUE(contate.wait(30000));
        EXPECT_EQ(contate.value(1).value(0).toInt(), 11);
        EXPECT_EQ(contate.value(1).value(1).toInt(), 1000);
        EXPECT_EQ(altri(), processo);
        ASSERT_TRUE(conteggio.Avvia(&db, C, lunga, 12));
        QTest::qWait(200);
        EXPECT_EQ(contate.size(), 2);
        EXPECT_EQ(fallite.size(), 1);
    }
    for (int i = 0; i < 2000 && ConteggioParallelo::InCorso() > 0; ++i)
        QTest::qWait(5);
    EXPECT_EQ(ConteggioParallelo::InCorso(), 0);

    // Inside a transaction another connection would not see its rows.
    ConteggioParallelo conteggio;
    db.IniziaTrans(C);
    EXPECT_FALSE(conteggio.Avvia(&db, C, "Select Count(*) From PianoConti", 12));
    db.AnnullaTrans(C);
    db.ImpostaOsservatoreSelect({});
    db.ChiudiTutto();
    PgServer::Istanza()->EliminaDatabase(PgServer::NomeDatabase(connect));
}

// A reading on the server: every column of its rows as texts (Null
// invalid); stopped while the server makes it wait (a lock another
// connection holds), it is cancelled there, and the same connection reads on.
TEST(ConteggioSulServer, ReadsRowsAsTextsAndIsCancelledWhenStopped)
{
    QTemporaryDir cartella;
    DbMotore db;
    QString connect, motivo;
    if (!ApriMotoreProva(db, MotoreProva::PostgreSQL, cartella, connect, motivo)) {
        if (PgObbligatorio())
            FAIL() << "PostgreSQL richiesto in CI: " << motivo.toStdString();
        GTEST_SKIP() << motivo.toStdString();
    }
    db.EseguiSql(C, "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES "
                    "('01', '05', '1001', '3', Null), ('01', '05', '1002', '3', 'Rossi'), "
                    "('01', '05', '1003', '3', 'Verdi')");
    const QString sql = "Select Conto, Descrizione, Tipo From PianoConti Where Conto > '1000' "
                        "Order By Conto Limit 2";
    ConteggioParallelo lettura;
    QSignalSpy lette(&lettura, &ConteggioParallelo::Lette);
    ASSERT_TRUE(lettura.AvviaLettura(&db, C, sql, 5, DbMotore::LetturaFiltrata));
    ASSERT_TRUE(lette.wait(30000));
    EXPECT_EQ(lette.value(0).value(0).toInt(), 5);
    EXPECT_EQ(lette.value(0).value(1).value<QList<QVariantList>>(),
              (QList<QVariantList>{{"1001", QVariant(), "3"}, {"1002", "Rossi", "3"}}));

    QSqlDatabase blocco = QSqlDatabase::cloneDatabase(db.DatabaseDao(C), "Blocco");
    ASSERT_TRUE(blocco.open()) << blocco.lastError().text().toStdString();
    {
        QSqlQuery q(blocco);
        ASSERT_TRUE(blocco.transaction());
        ASSERT_TRUE(q.exec("LOCK TABLE PianoConti IN ACCESS EXCLUSIVE MODE"))
            << q.lastError().text().toStdString();
        ASSERT_TRUE(lettura.AvviaLettura(&db, C, sql, 6, DbMotore::LetturaFiltrata));
        auto attende = [&q] {
            return q.exec("SELECT Count(*) FROM pg_stat_activity WHERE datname = current_database() AND "
                          "wait_event_type = 'Lock'") &&
                   q.next() && q.value(0).toInt() > 0;
        };
        for (int i = 0; i < 3000 && !attende(); ++i)
            QTest::qWait(5);
        ASSERT_TRUE(attende());
        lettura.Ferma();
        for (int i = 0; i < 3000 && ConteggioParallelo::InCorso() > 0; ++i)
            QTest::qWait(5);
        EXPECT_EQ(ConteggioParallelo::InCorso(), 0) << "the stopped reading still waits on the server";
        blocco.rollback();
    }
    blocco.close();
    blocco = QSqlDatabase();
    QSqlDatabase::removeDatabase("Blocco");
    const int connessioni = ConteggioParallelo::ConnessioniAperte();
    ASSERT_TRUE(lettura.AvviaLettura(&db, C, sql, 7, DbMotore::LetturaFiltrata));
    ASSERT_TRUE(lette.wait(30000));
    ASSERT_EQ(lette.size(), 2);
    EXPECT_EQ(lette.value(1).value(0).toInt(), 7);
    EXPECT_EQ(ConteggioParallelo::ConnessioniAperte(), connessioni);
    db.ChiudiTutto();
    PgServer::Istanza()->EliminaDatabase(PgServer::NomeDatabase(connect));
}

// A reading row by row on the server, stopped while the server makes it
// wait (a lock another connection holds): cancelled there, its transaction
// and cursor gone, the same connection reads on and counts.
TEST(ConteggioSulServer, ScorrimentoFermatoLasciaLaConnessioneComeEra)
{
    QTemporaryDir cartella;
    DbMotore db;
    QString connect, motivo;
    if (!ApriMotoreProva(db, MotoreProva::PostgreSQL, cartella, connect, motivo)) {
        if (PgObbligatorio())
            FAIL() << "PostgreSQL richiesto in CI: " << motivo.toStdString();
        GTEST_SKIP() << motivo.toStdString();
    }
    db.EseguiSql(C, "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES "
                    "('01', '05', '1001', '3', 'Rossi'), ('01', '05', '1002', '3', 'Verdi')");
    const QString sql = "Select Conto, Descrizione From PianoConti Order By Conto";
    std::vector<Risultato::Colonna> colonne(2);
    colonne[0].nome = "Conto";
    colonne[1].nome = "Descrizione";
    const auto verdi = [](const QVariant &v) { return v.toString() == QLatin1String("Verdi"); };
    ConteggioParallelo lettura;
    QSignalSpy lette(&lettura, &ConteggioParallelo::Lette);
    QSignalSpy contate(&lettura, &ConteggioParallelo::Contate);
    const auto legge = [&](int etichetta) {
        ASSERT_TRUE(lettura.AvviaScorrimento(&db, C, sql, colonne, 1, verdi, etichetta));
        ASSERT_TRUE(lette.wait(30000));
        EXPECT_EQ(lette.last().value(0).toInt(), etichetta);
        EXPECT_EQ(lette.last().value(1).value<QList<QVariantList>>(),
                  (QList<QVariantList>{{"1002", "Verdi"}}));
    };
    legge(1);
    const int connessioni = ConteggioParallelo::ConnessioniAperte();

    QSqlDatabase blocco = QSqlDatabase::cloneDatabase(db.DatabaseDao(C), "Blocco");
    ASSERT_TRUE(blocco.open()) << blocco.lastError().text().toStdString();
    {
        QSqlQuery q(blocco);
        ASSERT_TRUE(blocco.transaction());
        ASSERT_TRUE(q.exec("LOCK TABLE PianoConti IN ACCESS EXCLUSIVE MODE"));
        ASSERT_TRUE(lettura.AvviaScorrimento(&db, C, sql, colonne, 1, verdi, 2));
        auto attende = [&q] {
            return q.exec("SELECT Count(*) FROM pg_stat_activity WHERE datname = current_database() AND "
                          "wait_event_type = 'Lock'") &&
                   q.next() && q.value(0).toInt() > 0;
        };
        for (int i = 0; i < 3000 && !attende(); ++i)
            QTest::qWait(5);
        ASSERT_TRUE(attende());
        lettura.Ferma();
        for (int i = 0; i < 3000 && ConteggioParallelo::InCorso() > 0; ++i)
            QTest::qWait(5);
        EXPECT_EQ(ConteggioParallelo::InCorso(), 0) << "the stopped reading still waits on the server";
        blocco.rollback();
    }
    blocco.close();
    blocco = QSqlDatabase();
    QSqlDatabase::removeDatabase("Blocco");
    legge(3);
    legge(4);
    ASSERT_TRUE(lettura.Avvia(&db, C, "Select Count(*) From PianoConti", 5));
    ASSERT_TRUE(contate.wait(30000));
    EXPECT_EQ(contate.value(0).value(1).toInt(), 2);
    EXPECT_EQ(lette.size(), 3);
    EXPECT_EQ(ConteggioParallelo::ConnessioniAperte(), connessioni);
    db.ChiudiTutto();
    PgServer::Istanza()->EliminaDatabase(PgServer::NomeDatabase(connect));
}

// A search row by row on the counting thread (AvviaScorrimento) finds the row
// whose value, as the list shows it, holds the text sought: the row the
// list's own cells give, for every kind of column, Nulls included, from the
// first row, after the row found and backwards from the last, on either engine.
class ScorrimentoSuiMotori : public ProvaMotori
{
};

TEST_P(ScorrimentoSuiMotori, TrovaLaRigaCheLaListaMostraColTesto)
{
    QSqlQuery q(db->DatabaseDao(C));
    ASSERT_TRUE(q.exec(Pg() ? "CREATE TABLE Prove (K integer PRIMARY KEY, I integer, R double precision, "
                              "A numeric(19,4), N numeric, D date, O timestamp, T varchar(20))"
                            : "CREATE TABLE Prove (K INTEGER PRIMARY KEY, I INTEGER, R DOUBLE, A CURRENCY, "
                              "N NUMERIC, D DATE, O DATETIME, T VARCHAR(20))"))
        << q.lastError().text().toStdString();
    ASSERT_TRUE(q.exec("INSERT INTO Prove VALUES "
                       "(1, Null, Null, Null, Null, Null, Null, Null), "
                       "(2, 120, 2.5, 1234.5, 7.25, '2099-03-15', '2099-03-15 10:30:00', 'Alfa'), "
                       "(3, -7, 1e20, 0.1, 3, '2020-12-01', '2021-01-02 00:00:00', 'beta 2,5'), "
                       "(4, 12, 0.1, -1234567.89, 0.5, '1999-01-20', '2099-12-31 23:59:59', 'gamma'), "
                       "(5, 5, 2.5e-7, 12, 12, '2099-01-01', '2000-02-29 08:00:00', '')"))
        << q.lastError().text().toStdString();
    RigheLista righe;
    righe.ImpostaDatabase(db.get(), C);
    righe.ImpostaChiave({QStringLiteral("K")});
    righe.Apri(QStringLiteral("Select K, I, R, A, N, D, O, T From Prove Order By K"));
    ASSERT_TRUE(righe.PerChiave());
    const int n = righe.Conta();
    ASSERT_EQ(n, 5);
    std::vector<Risultato::Colonna> colonne;
    for (int i = 0; i < righe.NumeroColonne(); ++i)
        colonne.push_back(righe.Colonna(i));
    const QString formato = QStringLiteral("dd/mm/yyyy");
    const auto mostrato = [&](int riga, int col) {
        return ModelloLista::TestoValore(righe.Valore(riga, col), formato);
    };
    ConteggioParallelo ricerca;
    QSignalSpy lette(&ricerca, &ConteggioParallelo::Lette);
    int etichetta = 0;
    // The key of the row the thread finds after `da`, 0 for none.
    const auto cercaSulThread = [&](int col, const QString &testo, int da, bool avanti) {
        auto cercata = [testo, formato](const QVariant &v) {
            return ModelloLista::TestoValore(v, formato).contains(testo, Qt::CaseInsensitive);
        };
        lette.clear();
        EXPECT_TRUE(ricerca.AvviaScorrimento(db.get(), C, righe.SqlScorri(da, avanti), colonne, col, cercata,
                                             ++etichetta));
        EXPECT_TRUE(lette.wait(30000));
        const auto trovate = lette.value(0).value(1).value<QList<QVariantList>>();
        return trovate.isEmpty() ? 0 : righe.ChiaveDi(trovate.first()).value(0).toInt();
    };
    // The key of the row the cells give, as the search in the window's thread compares them.
    const auto cercaNelleCelle = [&](int col, const QString &testo, int da, bool avanti) {
        for (int r = da < 0 ? (avanti ? 0 : n - 1) : da + (avanti ? 1 : -1); r >= 0 && r < n;
             r += avanti ? 1 : -1)
            if (mostrato(r, col).contains(testo, Qt::CaseInsensitive))
                return r + 1;
        return 0;
    };
    const struct {
        int colonna;
        const char *testo;
        int prima; // the key of the first row found, 0 for none
    } casi[] = {
        {0, "4", 4},     {1, "12", 2},      {1, "-7", 3},         {2, "2,5", 2},  {2, "e+20", 3},
        {2, "e-07", 5},  {3, "1.234,5", 2}, {3, "0,10", 3},       {4, "7,25", 2}, {4, "0,5", 4},
        {5, "2099", 2},  {5, "/12/", 3},    {5, "20/01/1999", 4}, {6, "2099", 2}, {6, "29/02/2000", 5},
        {6, "10:30", 0}, {7, "2,5", 3},     {7, "ALFA", 2},       {1, "zzz", 0},  {5, "zzz", 0},
        {3, "zzz", 0},
    };
    for (const auto &c : casi) {
        const QString testo = QString::fromUtf8(c.testo);
        SCOPED_TRACE(std::to_string(c.colonna) + " " + c.testo);
        EXPECT_EQ(cercaNelleCelle(c.colonna, testo, -1, true), c.prima);
        EXPECT_EQ(cercaSulThread(c.colonna, testo, -1, true), c.prima);
        if (c.prima > 0) {
            EXPECT_EQ(cercaSulThread(c.colonna, testo, c.prima - 1, true),
                      cercaNelleCelle(c.colonna, testo, c.prima - 1, true));
        }
        EXPECT_EQ(cercaSulThread(c.colonna, testo, -1, false), cercaNelleCelle(c.colonna, testo, -1, false));
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, ScorrimentoSuiMotori,
                         ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL), NomeMotore);

} // namespace
