// Server connections: connect texts whose values hold ";" and braces, logins
// and passwords with any character (never a login as someone else), and a
// server that goes away and comes back while the program runs.
#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/SelezionePronta.h"
#include "components/db/TestoOdbc.h"
#include "tests/support/ErroreVb.h"
#include "tests/support/PgServer.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace
{

// A server of these tests' own (stopped and started again by them), started once.
PgServer *serverPrivato()
{
    static QString motivo;
    static std::unique_ptr<PgServer> s = PgServer::Privato(&motivo);
    if (!s && PgObbligatorio())
        ADD_FAILURE() << "PostgreSQL richiesto in CI: " << motivo.toStdString();
    return s.get();
}

QString testoServer(const PgServer &s, const QString &database)
{
    return QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%1;DATABASE=%2")
        .arg(s.porta())
        .arg(database);
}

QString utenteCollegato(DbMotore &db, const QString &nome)
{
    QSqlQuery q(db.DatabaseDao(nome));
    return q.exec(QStringLiteral("SELECT current_user")) && q.next() ? q.value(0).toString() : QString();
}

} // namespace

TEST(TestoOdbc, ValoriInGraffeRestanoUnValoreSolo)
{
    const auto voci =
        TestoOdbc::Scomponi(QStringLiteral("ODBC;DRIVER={PostgreSQL Unicode};PWD={a;b}}c};UID=x;;rotto;X=1"));
    ASSERT_EQ(voci.size(), 4);
    EXPECT_EQ(voci[0].valore, QStringLiteral("{PostgreSQL Unicode}"));
    EXPECT_EQ(voci[1].valore, QStringLiteral("{a;b}}c}"));
    EXPECT_EQ(voci[2].chiave, QStringLiteral("UID"));
    EXPECT_EQ(voci[3].chiave, QStringLiteral("X"));
    EXPECT_EQ(TestoOdbc::Valore(QStringLiteral("PWD={a;b}}c};UID=x"), QStringLiteral("pwd")),
              QStringLiteral("a;b}c"));
    EXPECT_EQ(TestoOdbc::InGraffe(QStringLiteral("a;b}c")), QStringLiteral("{a;b}}c}"));
    EXPECT_EQ(TestoOdbc::Unisci(QStringLiteral("DSN=x;UID=a;PWD={p;q}"), QStringLiteral("uid=b;Port=5")),
              QStringLiteral("DSN=x;UID=b;PWD={p;q};Port=5"));
    EXPECT_EQ(TestoOdbc::Togli(QStringLiteral("DSN=x;UID=a;PWD={p;UID=q}"), {QStringLiteral("pwd")}),
              QStringLiteral("DSN=x;UID=a"));
}

// A ";" in a login or password can never add an attribute of its own: each
// connects as the user it names, with its password, or not at all.
TEST(ConnessioneServer, LoginEPasswordConQualsiasiCarattere)
{
    // Another driver cannot be handed a login with ";": refused before trying.
    DbMotore db;
    const auto [n, testo] = ErroreDi([&] {
        db.ApriConnessione(QStringLiteral("A"), QStringLiteral("DRIVER={Altro};SERVER=x"), QString(),
                           QStringLiteral("ro;ssi"), QStringLiteral("p"));
    });
    EXPECT_EQ(n, ErroriDb::ConnessioneOdbcFallita);
    EXPECT_TRUE(testo.contains(QStringLiteral("punto e virgola"))) << testo.toStdString();

    PgServer *s = serverPrivato();
    if (!s)
        GTEST_SKIP() << "PostgreSQL non disponibile";
    ASSERT_TRUE(s->Esegui(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE login")));
    ASSERT_TRUE(s->Esegui(QStringLiteral("postgres"),
                          QStringLiteral("CREATE ROLE pw LOGIN PASSWORD 'a;b}c{d=e;UID=postgres'; "
                                         "CREATE ROLE \"ut;x\" LOGIN PASSWORD 'z+%41 '; "
                                         "CREATE ROLE \"{graffa}\" LOGIN PASSWORD 'g'; "
                                         "CREATE ROLE lettore LOGIN PASSWORD 'l'; "
                                         "ALTER ROLE lettore SET default_transaction_read_only = on")));
    const QString base = testoServer(*s, QStringLiteral("login"));
    const struct {
        const char *utente, *password, *atteso; // atteso nullptr: refused
    } casi[] = {
        {"pw", "a;b}c{d=e;UID=postgres", "pw"},
        {"ut;x", "z+%41 ", "ut;x"},
        {"{graffa}", "g", "{graffa}"},
        {"pw", "sbagliata;UID=postgres", nullptr},
        {"pw", "x};UID=postgres;PWD={", nullptr},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.utente + std::string(" / ") + c.password);
        DbMotore d;
        const auto [numero, descrizione] = ErroreDi([&] {
            d.ApriConnessione(QStringLiteral("A"), base, QStringLiteral("UID=postgres;PWD="),
                              QString::fromUtf8(c.utente), QString::fromUtf8(c.password));
        });
        if (c.atteso) {
            ASSERT_EQ(numero, 0) << descrizione.toStdString();
            EXPECT_EQ(utenteCollegato(d, QStringLiteral("A")), QString::fromUtf8(c.atteso));
        } else {
            EXPECT_EQ(numero, ErroriDb::ConnessioneOdbcFallita);
            EXPECT_FALSE(descrizione.contains(QString::fromUtf8(c.password)));
        }
    }

    // A read-only session is known at opening and refuses a write in Italian.
    ASSERT_TRUE(s->Esegui(QStringLiteral("login"),
                          QStringLiteral("CREATE TABLE t (a integer); GRANT INSERT ON t TO lettore")));
    {
        DbMotore d;
        d.ApriConnessione(QStringLiteral("A"), base, QString(), QStringLiteral("lettore"),
                          QStringLiteral("l"));
        EXPECT_TRUE(d.SolaLettura(QStringLiteral("A")));
        const auto [numero, descrizione] = ErroreDi(
            [&] { d.EseguiSql(QStringLiteral("A"), QStringLiteral("INSERT INTO t (a) VALUES (1)")); });
        EXPECT_EQ(numero, ErroriDb::SolaLettura);
        EXPECT_TRUE(
            descrizione.startsWith(QStringLiteral("Impossibile salvare: il database è in sola lettura")))
            << descrizione.toStdString();
    }

    // A DSN: the text Qt gets names it once.
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("odbc.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("[ProvaClienti]\nDriver = PostgreSQL Unicode\nServername = 127.0.0.1\nPort = %1\n"
                           "Database = login\n")
                .arg(s->porta())
                .toUtf8());
    f.close();
    const QByteArray prima = qgetenv("ODBCINI");
    qputenv("ODBCINI", ini.toLocal8Bit());
    DbMotore dsn;
    const auto [numero, descrizione] = ErroreDi([&] {
        dsn.ApriConnessione(QStringLiteral("A"), QStringLiteral("ProvaClienti"), QString(),
                            QStringLiteral("pw"), QStringLiteral("a;b}c{d=e;UID=postgres"));
    });
    prima.isNull() ? qunsetenv("ODBCINI") : qputenv("ODBCINI", prima);
    ASSERT_EQ(numero, 0) << descrizione.toStdString();
    EXPECT_EQ(utenteCollegato(dsn, QStringLiteral("A")), QStringLiteral("pw"));
}

// The server stops and starts again: a failure says the connection was lost,
// the next operation connects again once the server is back, a statement
// whose outcome is unknown is never sent again, and nothing of a transaction
// the loss broke runs on the new connection.
TEST(ConnessioneServer, ConnessionePersaERitrovata)
{
    PgServer *s = serverPrivato();
    if (!s)
        GTEST_SKIP() << "PostgreSQL non disponibile";
    ASSERT_TRUE(s->Esegui(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE persa")));
    ASSERT_TRUE(
        s->Esegui(QStringLiteral("persa"), QStringLiteral("CREATE TABLE k (a integer PRIMARY KEY, b text)")));
    const QString C = QStringLiteral("A");
    DbMotore db;
    db.ApriConnessione(C, testoServer(*s, QStringLiteral("persa")), QStringLiteral("UID=postgres"));
    auto righe = [&] {
        const auto r = db.Seleziona(C, QStringLiteral("SELECT a FROM k ORDER BY a"));
        QList<int> v;
        for (int i = 0; i < r->numRighe(); ++i)
            v << r->valore(i, 0).toInt();
        return v;
    };
    auto inserisci = [&](int a) {
        db.InserisciRiga(C, QStringLiteral("k"), {QStringLiteral("a"), QStringLiteral("b")},
                         {a, QStringLiteral("x")});
    };
    auto persa = [](const std::pair<int, QString> &e) {
        return e.first == ErroriDb::ConnessioneOdbcFallita &&
               e.second.contains(QStringLiteral("collegamento"));
    };

    ASSERT_TRUE(s->Ferma());
    for (int tentativo = 0; tentativo < 2; ++tentativo) {
        const auto e = ErroreDi([&] { inserisci(1); });
        EXPECT_TRUE(persa(e) || e.second.contains(QStringLiteral("non è ancora raggiungibile")))
            << e.second.toStdString();
        EXPECT_TRUE(db.ConnessionePersa(C));
    }
    ASSERT_TRUE(s->Riavvia());
    inserisci(1);
    EXPECT_FALSE(db.ConnessionePersa(C));
    EXPECT_EQ(righe(), QList<int>{1});

    // Lost inside a transaction: the rest of it fails even once the server is
    // back, its rollback succeeds, and then the connection comes back.
    db.IniziaTrans(C);
    inserisci(2);
    ASSERT_TRUE(s->Ferma());
    EXPECT_TRUE(persa(ErroreDi([&] { inserisci(3); })));
    ASSERT_TRUE(s->Riavvia());
    EXPECT_TRUE(persa(ErroreDi([&] { db.EseguiSql(C, QStringLiteral("INSERT INTO k (a) VALUES (4)")); })));
    EXPECT_EQ(ErroreDi([&] { db.AnnullaTrans(C); }).first, 0);
    EXPECT_EQ(db.LivelloTrans(C), 0);
    EXPECT_EQ(righe(), QList<int>{1});

    // Lost while confirming: the user is told the outcome is unknown, and the
    // commit is not sent again on the new connection.
    db.IniziaTrans(C);
    inserisci(5);
    ASSERT_TRUE(s->Ferma());
    const auto conferma = ErroreDi([&] { db.ConfermaTrans(C); });
    EXPECT_EQ(conferma.first, ErroriDb::ConnessioneOdbcFallita);
    EXPECT_TRUE(conferma.second.contains(QStringLiteral("non si può sapere")))
        << conferma.second.toStdString();
    EXPECT_EQ(db.LivelloTrans(C), 0);
    ASSERT_TRUE(s->Riavvia());
    EXPECT_EQ(righe(), QList<int>{1});
    inserisci(6);
    EXPECT_EQ(righe(), (QList<int>{1, 6}));
    // What the new connection wrote is committed: another session sees it.
    DbMotore altra;
    altra.ApriConnessione(C, testoServer(*s, QStringLiteral("persa")), QStringLiteral("UID=postgres"));
    EXPECT_EQ(altra.Seleziona(C, QStringLiteral("SELECT a FROM k"))->numRighe(), 2);
}

// A connection found dead by a read outside a transaction (the server was
// restarted, or its process ended, while the program stood idle) is opened
// again at once and the read made again: the user is not troubled. A write,
// or anything inside a transaction, is never sent again.
TEST(ConnessioneServer, UnaLetturaSulCollegamentoMortoSiRifaDopoLaRiapertura)
{
    PgServer *s = serverPrivato();
    if (!s)
        GTEST_SKIP() << "PostgreSQL non disponibile";
    ASSERT_TRUE(s->Esegui(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE rilettura")));
    ASSERT_TRUE(s->Esegui(QStringLiteral("rilettura"),
                          QStringLiteral("CREATE TABLE k (a integer PRIMARY KEY, b text); "
                                         "CREATE TABLE nuova (x integer PRIMARY KEY); "
                                         "INSERT INTO k VALUES (1, 'uno'), (2, 'due')")));
    const QString C = QStringLiteral("A");
    enum class Guasto { Riavvio, ProcessoTerminato };
    struct Caso {
        const char *nome;
        Guasto guasto;
        std::function<QString(DbMotore &)> azione; // what it read, joined
        bool inTransazione;
        bool riesce;
    };
    auto leggi = [&](DbMotore &db) {
        const auto r = db.Seleziona(C, QStringLiteral("SELECT b FROM k WHERE a = 2"));
        return r->numRighe() ? r->valore(0, 0).toString() : QString();
    };
    auto pronta = [&](DbMotore &db) {
        SelezionePronta p(&db, C, QStringLiteral("SELECT b FROM k WHERE a = 1"));
        p.Esegui({qlonglong(2)});
        return p.FineDati() ? QString() : p.Testo(p.Campo(QStringLiteral("b")));
    };
    auto colonne = [&](DbMotore &db) { return db.ColonneTabella(C, QStringLiteral("nuova")).join(u','); };
    auto scrivi = [&](DbMotore &db) {
        db.EseguiSql(C, QStringLiteral("INSERT INTO k (a, b) VALUES (3, 'tre')"));
        return QStringLiteral("scritto");
    };
    const Caso casi[] = {
        {"restarted server, a SELECT", Guasto::Riavvio, leggi, false, true},
        {"ended process, a SELECT", Guasto::ProcessoTerminato, leggi, false, true},
        {"ended process, a prepared selection", Guasto::ProcessoTerminato, pronta, false, true},
        {"ended process, a table's columns", Guasto::ProcessoTerminato, colonne, false, true},
        {"ended process, a write", Guasto::ProcessoTerminato, scrivi, false, false},
        {"ended process, a SELECT in a transaction", Guasto::ProcessoTerminato, leggi, true, false},
    };
    for (const Caso &caso : casi) {
        SCOPED_TRACE(caso.nome);
        DbMotore db;
        db.ApriConnessione(C, testoServer(*s, QStringLiteral("rilettura")), QStringLiteral("UID=postgres"));
        ASSERT_EQ(leggi(db), QStringLiteral("due")); // the connection has worked
        if (caso.inTransazione)
            db.IniziaTrans(C);
        if (caso.guasto == Guasto::Riavvio) {
            ASSERT_TRUE(s->Ferma());
            ASSERT_TRUE(s->Riavvia());
        } else {
            // Waits for the process to end (PostgreSQL 14 on).
            ASSERT_TRUE(s->Esegui(QStringLiteral("postgres"),
                                  QStringLiteral("SELECT pg_terminate_backend(pid, 10000) FROM "
                                                 "pg_stat_activity WHERE datname = 'rilettura'")));
        }
        QString letto;
        const auto [numero, testo] = ErroreDi([&] { letto = caso.azione(db); });
        if (caso.riesce) {
            EXPECT_EQ(numero, 0) << testo.toStdString();
            EXPECT_FALSE(letto.isEmpty());
            EXPECT_FALSE(db.ConnessionePersa(C));
        } else {
            EXPECT_EQ(numero, ErroriDb::ConnessioneOdbcFallita) << testo.toStdString();
            EXPECT_TRUE(testo.contains(QStringLiteral("collegamento con il database è stato perso")))
                << testo.toStdString();
            if (caso.inTransazione) {
                EXPECT_EQ(ErroreDi([&] { db.AnnullaTrans(C); }).first, 0);
            }
            // The next operation finds the connection again; the write was not sent twice.
            EXPECT_EQ(leggi(db), QStringLiteral("due"));
            EXPECT_EQ(db.Seleziona(C, QStringLiteral("SELECT a FROM k WHERE a = 3"))->numRighe(), 0);
        }
        ASSERT_TRUE(s->Esegui(QStringLiteral("rilettura"), QStringLiteral("DELETE FROM k WHERE a = 3")));
    }
}
