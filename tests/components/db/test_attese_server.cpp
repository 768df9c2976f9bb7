// A server that is gone never holds the program without end: connecting and
// logging in to a server that takes the connection and never answers, opening
// again a lost connection, a server that falls silent during a statement all
// fail as a lost server within the bound; a long statement of a server that is
// there runs to its end, and what the user's connect text or DSN sets is kept.
#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/SelezionePronta.h"
#include "components/db/TestoOdbc.h"
#include "tests/support/ErroreVb.h"
#include "tests/support/InoltroTcp.h"
#include "tests/support/PerditeDriver.h"
#include "tests/support/PgServer.h"
#include "tests/support/TagliaConferma.h"

#include <QEventLoop>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <arpa/inet.h>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

const QString C = QStringLiteral("A");

// Waits for `fatto`; a wait without end (the fault these tests look for)
// ends the run as a failure, since the thread that hangs cannot be stopped.
// The limit is far above the bounds: it only tells a hang.
void attendiSenzaBlocchi(std::future<void> &fatto)
{
    if (fatto.wait_for(std::chrono::seconds(120)) == std::future_status::ready)
        return;
    std::fprintf(stderr, "FAILED: the program is still waiting for a server that is gone\n");
    std::fflush(stderr);
    std::_Exit(1);
}

// Runs `prova` on a thread of its own (where it makes its connections).
void senzaBlocchi(const std::function<void()> &prova)
{
    std::promise<void> fine;
    std::future<void> fatto = fine.get_future();
    std::thread filo([&] {
        prova();
        fine.set_value();
    });
    attendiSenzaBlocchi(fatto);
    filo.join();
}

QString testo(int porta)
{
    return QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=%1;DATABASE=postgres")
        .arg(porta);
}

PgServer *server()
{
    static QString motivo;
    PgServer *s = PgServer::Istanza(&motivo);
    if (!s && PgObbligatorio())
        ADD_FAILURE() << "PostgreSQL richiesto in CI: " << motivo.toStdString();
    return s;
}

QString leggi(DbMotore &db)
{
    const auto r =
        db.Seleziona(C, QStringLiteral("SELECT datname FROM pg_database WHERE datname = 'postgres'"));
    return r->numRighe() ? r->valore(0, 0).toString() : QString();
}

// A DSN of these tests (ODBCINI) for the time it lives. The driver manager
// keeps what it read of a DSN: each has a name of its own.
class DsnDiProva
{
  public:
    explicit DsnDiProva(const QString &voci)
    {
        static int contatore = 0;
        m_nome = QStringLiteral("ProvaAttese%1").arg(++contatore);
        QFile f(m_dir.filePath(QStringLiteral("odbc.ini")));
        if (f.open(QIODevice::WriteOnly))
            f.write(QStringLiteral("[%1]\nDriver = PostgreSQL Unicode\n%2\n").arg(m_nome, voci).toUtf8());
        if (voci.contains(QLatin1String("Pqopt")))
            AmmettiPerditeDriverOdbc();
        m_prima = qgetenv("ODBCINI");
        qputenv("ODBCINI", f.fileName().toLocal8Bit());
    }
    ~DsnDiProva() { m_prima.isNull() ? qunsetenv("ODBCINI") : qputenv("ODBCINI", m_prima); }
    QString nome() const { return m_nome; }

  private:
    QTemporaryDir m_dir;
    QString m_nome;
    QByteArray m_prima;
};

} // namespace

TEST(TestoOdbc, ChiaviDiUnTestoLibpq)
{
    EXPECT_EQ(TestoOdbc::ChiaviLibpq(QStringLiteral(" a=1  B = 'x y' c='it\\'s  d=e' d=\\ f e=")),
              (QStringList{"a", "b", "c", "d", "e"}));
    EXPECT_TRUE(TestoOdbc::ChiaviLibpq(QStringLiteral("  ")).isEmpty());
}

// A server that takes the TCP connection and never answers: the first
// connection, and the one opened again after a loss, fail as a lost server.
TEST(AtteseServer, UnServerCheNonRispondeDaErroreEntroIlLimite)
{
    PgServer *s = server();
    enum class Quando { PrimaConnessione, PrimaConnessioneDaDsn, Riapertura };
    const struct {
        const char *nome;
        Quando quando;
    } casi[] = {
        {"first connection", Quando::PrimaConnessione},
        {"first connection through a DSN with libpq options", Quando::PrimaConnessioneDaDsn},
        {"connection opened again after a loss", Quando::Riapertura},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.nome);
        if (caso.quando == Quando::Riapertura && !s) {
            GTEST_SKIP() << "PostgreSQL non disponibile";
        }
        InoltroTcp inoltro(s ? s->porta() : 1);
        if (caso.quando != Quando::Riapertura)
            inoltro.Ammutolisci();
        std::unique_ptr<DsnDiProva> dsn;
        if (caso.quando == Quando::PrimaConnessioneDaDsn)
            dsn = std::make_unique<DsnDiProva>(
                QStringLiteral("Servername = 127.0.0.1\nPort = %1\nDatabase = postgres\n"
                               "Pqopt = application_name=prova\n")
                    .arg(inoltro.porta()));
        senzaBlocchi([&] {
            DbMotore db;
            db.ImpostaAttesaServer(2);
            const QString origine = dsn ? dsn->nome() : testo(inoltro.porta());
            const auto [numero, descrizione] =
                ErroreDi([&] { db.ApriConnessione(C, origine, QStringLiteral("UID=postgres")); });
            if (caso.quando != Quando::Riapertura) {
                EXPECT_EQ(numero, ErroriDb::ConnessioneOdbcFallita);
                EXPECT_TRUE(descrizione.contains(QStringLiteral("non riuscita")))
                    << descrizione.toStdString();
                // The message names the connection as the user gave it, not
                // the settings the program added.
                const QString testoMostrato = descrizione.section(QStringLiteral("Dettaglio:"), 0, 0);
                EXPECT_FALSE(testoMostrato.contains(QStringLiteral("keepalives")))
                    << descrizione.toStdString();
                EXPECT_FALSE(testoMostrato.contains(QStringLiteral("Protocol=")))
                    << descrizione.toStdString();
                return;
            }
            ASSERT_EQ(numero, 0) << descrizione.toStdString();
            ASSERT_EQ(leggi(db), QStringLiteral("postgres"));
            inoltro.Ammutolisci();
            // The read finds the connection dead and opens it again at once, in vain.
            const auto persa = ErroreDi([&] { leggi(db); });
            EXPECT_EQ(persa.first, ErroriDb::ConnessioneOdbcFallita);
            EXPECT_TRUE(persa.second.contains(QStringLiteral("collegamento con il database è stato perso")))
                << persa.second.toStdString();
            const auto ancora = ErroreDi([&] { leggi(db); });
            EXPECT_EQ(ancora.first, ErroriDb::ConnessioneOdbcFallita);
            EXPECT_TRUE(ancora.second.contains(QStringLiteral("non è ancora raggiungibile")))
                << ancora.second.toStdString();
            EXPECT_TRUE(db.ConnessionePersa(C));
        });
    }
}

// A lost server that takes connections and never answers is waited for once
// per gesture of the user: a read tries to open the connection again once,
// the other operations of the same turn of the event loop fail at once as it
// did, and the next gesture tries again. Counted at the relay: the
// connections the program asked the server for.
TEST(AtteseServer, UnGestoAspettaIlServerUnaVoltaSola)
{
    PgServer *s = server();
    if (!s)
        GTEST_SKIP() << "PostgreSQL non disponibile";
    InoltroTcp inoltro(s->porta());
    DbMotore db;
    db.ImpostaAttesaServer(2);
    const auto [numero, descrizione] =
        ErroreDi([&] { db.ApriConnessione(C, testo(inoltro.porta()), QStringLiteral("UID=postgres")); });
    ASSERT_EQ(numero, 0) << descrizione.toStdString();
    ASSERT_EQ(leggi(db), QStringLiteral("postgres"));
    inoltro.Ammutolisci();
    int tabella = 0;
    // Every kind of read that opens a lost connection again.
    const std::function<void()> letture[] = {
        [&] { leggi(db); },
        [&] { db.ColonneTabella(C, QStringLiteral("non_ancora_letta_%1").arg(++tabella)); },
        [&] {
            SelezionePronta p(&db, C, QStringLiteral("SELECT datname FROM pg_database WHERE datname = 'a'"));
            p.Esegui({QStringLiteral("postgres")});
        },
    };
    const struct {
        const char *nome;
        bool ciclo;  // run from the event loop, as a gesture of the user
        int quante;  // reads of the gesture, from the first kind on
        int tentate; // connections asked for
    } casi[] = {
        {"the read that finds the connection dead", false, 1, 1},
        {"a read of a lost connection, outside an event loop", false, 1, 1},
        {"every kind of read, outside an event loop", false, 3, 3},
        {"a gesture of several reads", true, 3, 1},
        {"the next gesture", true, 2, 1},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.nome);
        const int prima = inoltro.Accettate();
        int errori = 0;
        auto gesto = [&] {
            for (int i = 0; i < caso.quante; ++i)
                errori += ErroreDi(letture[i]).first == ErroriDb::ConnessioneOdbcFallita ? 1 : 0;
        };
        if (caso.ciclo) {
            QEventLoop ciclo;
            QTimer::singleShot(0, &ciclo, [&] {
                gesto();
                ciclo.quit();
            });
            ciclo.exec();
        } else {
            gesto();
        }
        EXPECT_EQ(errori, caso.quante);
        EXPECT_EQ(inoltro.Accettate() - prima, caso.tentate);
        EXPECT_TRUE(db.ConnessionePersa(C));
    }
}

// Whether a lost server answers is learnt off the caller's thread: while it
// is silent the caller is answered at once and never opens its connection
// again itself; once it answers, the caller's next read opens it again. A
// trial still under way ends before the object.
TEST(AtteseServer, SeIlServerRispondeLoDiceUnaProvaSenzaTenereIlChiamante)
{
    PgServer *s = server();
    if (!s)
        GTEST_SKIP() << "PostgreSQL non disponibile";
    InoltroTcp inoltro(s->porta());
    DbMotore db;
    db.ImpostaAttesaServer(2);
    const auto [numero, descrizione] =
        ErroreDi([&] { db.ApriConnessione(C, testo(inoltro.porta()), QStringLiteral("UID=postgres")); });
    ASSERT_EQ(numero, 0) << descrizione.toStdString();
    EXPECT_TRUE(db.ServerRisponde(C));
    inoltro.Ammutolisci();
    ErroreDi([&] { leggi(db); });
    ASSERT_TRUE(db.ConnessionePersa(C));
    const int tentativi = db.TentativiRiapertura();
    // Until a second trial has been asked for (the first one failed).
    const int prima = inoltro.Accettate();
    for (int i = 0; i < 6000 && inoltro.Accettate() - prima < 2; ++i) {
        EXPECT_FALSE(db.ServerRisponde(C));
        QThread::msleep(20);
    }
    EXPECT_GE(inoltro.Accettate() - prima, 2);
    EXPECT_EQ(db.TentativiRiapertura(), tentativi);
    EXPECT_TRUE(db.ConnessionePersa(C));

    inoltro.Riprendi();
    bool risponde = false;
    for (int i = 0; i < 6000 && !risponde; ++i) {
        risponde = db.ServerRisponde(C);
        if (!risponde)
            QThread::msleep(20);
    }
    EXPECT_TRUE(risponde);
    EXPECT_EQ(db.TentativiRiapertura(), tentativi);
    EXPECT_EQ(leggi(db), QStringLiteral("postgres"));
    EXPECT_FALSE(db.ConnessionePersa(C));
    EXPECT_EQ(db.TentativiRiapertura(), tentativi + 1);

    // Lost again, with a trial under way as the object goes.
    inoltro.Ammutolisci();
    ErroreDi([&] { leggi(db); });
    EXPECT_FALSE(db.ServerRisponde(C));
}

// The bounds never cut a long statement of a server that is there, and what
// the user's text or DSN sets itself stays as set: the driver refuses a libpq
// option that one of its own attributes also sets, and a pqopt of the connect
// text would replace the DSN's.
TEST(AtteseServer, UnaLungaIstruzioneELeImpostazioniDellUtenteRestano)
{
    PgServer *s = server();
    if (!s)
        GTEST_SKIP() << "PostgreSQL non disponibile";
    const struct {
        const char *nome;
        QString connect, dsn, applicazione; // the session's application_name
    } casi[] = {
        {"connect text without settings", QString(), QString(), QString()},
        {"the driver's own keepalives", QStringLiteral("KeepaliveTime=30;KeepaliveInterval=5"), QString(),
         QString()},
        {"libpq options of the text",
         QStringLiteral("pqopt={connect_timeout=30 keepalives_idle=30 application_name='a b'}"), QString(),
         QStringLiteral("a b")},
        {"libpq options of the DSN", QString(),
         QStringLiteral("Pqopt = connect_timeout=30 application_name=dsn"), QStringLiteral("dsn")},
        {"the driver's keepalives in the DSN", QString(), QStringLiteral("KeepaliveTime = 30"), QString()},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.nome);
        std::unique_ptr<DsnDiProva> dsn;
        if (!caso.dsn.isNull())
            dsn = std::make_unique<DsnDiProva>(
                QStringLiteral("Servername = 127.0.0.1\nPort = %1\nDatabase = postgres\n%2\n")
                    .arg(s->porta())
                    .arg(caso.dsn));
        DbMotore db;
        db.ImpostaAttesaServer(2);
        const auto [numero, descrizione] = ErroreDi([&] {
            db.ApriConnessione(C, dsn ? dsn->nome() : testo(s->porta()),
                               QStringLiteral("UID=postgres;") + caso.connect);
        });
        ASSERT_EQ(numero, 0) << descrizione.toStdString();
        QSqlQuery q(db.DatabaseDao(C));
        ASSERT_TRUE(q.exec(QStringLiteral("SHOW application_name")) && q.next());
        if (!caso.applicazione.isNull()) {
            EXPECT_EQ(q.value(0).toString(), caso.applicazione);
        }
        if (&caso == &casi[0]) {
            // Longer than every bound: keepalives unanswered, data unacknowledged.
            EXPECT_TRUE(q.exec(QStringLiteral("SELECT pg_sleep(6)"))) << q.lastError().text().toStdString();
        }
    }
}

namespace
{

// Brings the loopback of the network namespace `fd` belongs to up or down:
// down, it drops every packet, as a server machine that was switched off.
bool loopback(int fd, bool acceso)
{
    ifreq r{};
    std::snprintf(r.ifr_name, sizeof r.ifr_name, "lo");
    if (ioctl(fd, SIOCGIFFLAGS, &r) != 0)
        return false;
    r.ifr_flags = short(acceso ? r.ifr_flags | IFF_UP : r.ifr_flags & ~IFF_UP);
    return ioctl(fd, SIOCSIFFLAGS, &r) == 0;
}

// Called on a thread that has just moved into a network namespace of its
// own: brings its loopback up (`rete`, the socket that switches it) and
// starts a relay, born in the namespace `reteServer`, from a port of this
// namespace's loopback to the server. Null when any of it failed.
std::unique_ptr<InoltroTcp> inoltroNellaRete(int reteServer, int portaServer, int &rete)
{
    rete = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int ascolto = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool aperto = loopback(rete, true) &&
                        bind(ascolto, reinterpret_cast<const sockaddr *>(&a), sizeof a) == 0 &&
                        listen(ascolto, 8) == 0;
    // The relay's thread is born in the server's namespace.
    const int reteMia = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    std::unique_ptr<InoltroTcp> inoltro;
    if (aperto && setns(reteServer, CLONE_NEWNET) == 0) {
        // The relay owns the listening socket from here on.
        inoltro = std::make_unique<InoltroTcp>(portaServer, ascolto);
        if (setns(reteMia, CLONE_NEWNET) != 0)
            inoltro.reset();
    } else {
        close(ascolto);
    }
    close(reteMia);
    return inoltro;
}

} // namespace

// The server's machine falls silent while a statement runs: the statement
// fails as a lost server within the bound. The program's connection lives in
// a network namespace of its own, whose loopback reaches the server through a
// relay and is switched off under the statement (which needs the right to
// make namespaces, as root).
TEST(AtteseServer, UnServerCheTaceDuranteUnIstruzioneDaErroreEntroIlLimite)
{
    PgServer *s = server();
    if (!s)
        GTEST_SKIP() << "PostgreSQL non disponibile";
    const int reteServer = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(reteServer, 0);
    std::promise<int> pronto; // the namespace's socket, or -1 when there is none
    std::future<int> controllo = pronto.get_future();
    std::promise<void> fine;
    std::future<void> fatto = fine.get_future();
    std::thread filo([&] {
        // Only this thread moves into the new namespace.
        if (unshare(CLONE_NEWNET) != 0) {
            pronto.set_value(-1);
            fine.set_value();
            return;
        }
        int rete = -1;
        std::unique_ptr<InoltroTcp> inoltro = inoltroNellaRete(reteServer, s->porta(), rete);
        EXPECT_TRUE(inoltro);
        if (inoltro) {
            DbMotore db;
            db.ImpostaAttesaServer(2);
            const auto [numero, descrizione] = ErroreDi(
                [&] { db.ApriConnessione(C, testo(inoltro->porta()), QStringLiteral("UID=postgres")); });
            EXPECT_EQ(numero, 0) << descrizione.toStdString();
            pronto.set_value(rete);
            if (numero == 0) {
                QSqlQuery q(db.DatabaseDao(C));
                EXPECT_FALSE(q.exec(QStringLiteral("SELECT pg_sleep(60) AS muto_a_meta")));
                EXPECT_TRUE(ErroriDb::IndicaConnessionePersa(q.lastError(), QString()))
                    << q.lastError().text().toStdString();
            }
        } else {
            pronto.set_value(-1);
            close(rete);
        }
        fine.set_value();
    });
    const int rete = controllo.get();
    bool spento = false;
    if (rete >= 0) {
        // Once the statement runs on the server, the loopback goes off under it.
        const QString inCorso =
            QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_stat_activity WHERE query LIKE "
                           "'%AS muto_a_meta') THEN RAISE EXCEPTION 'non ancora'; END IF; END $$");
        for (int i = 0; i < 600 && !spento; ++i) {
            if (s->Esegui(QStringLiteral("postgres"), inCorso))
                spento = loopback(rete, false);
            else
                QThread::msleep(100);
        }
        EXPECT_TRUE(spento);
    }
    attendiSenzaBlocchi(fatto);
    filo.join();
    close(reteServer);
    if (rete >= 0)
        close(rete);
    s->Esegui(QStringLiteral("postgres"),
              QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                             "WHERE query LIKE '%AS muto_a_meta'"));
    if (rete < 0)
        GTEST_SKIP() << "Nessuno spazio di rete proprio (servono i permessi di root)";
}

// The network cut while the desk stands idle: the next read waits for the
// server as long as the bound says, and that wait is the read's one: the
// connection is not opened again at once (a second wait), the next read does
// it. As above, in a network namespace of the program's own (as root).
TEST(AtteseServer, UnaReteTagliataSiAspettaUnaVoltaSola)
{
    PgServer *s = server();
    if (!s)
        GTEST_SKIP() << "PostgreSQL non disponibile";
    AmmettiPerditeDriverOdbc();
    const int reteServer = open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(reteServer, 0);
    bool senzaRete = false;
    senzaBlocchi([&] {
        if (unshare(CLONE_NEWNET) != 0) {
            senzaRete = true;
            return;
        }
        int rete = -1;
        std::unique_ptr<InoltroTcp> inoltro = inoltroNellaRete(reteServer, s->porta(), rete);
        ASSERT_TRUE(inoltro);
        {
            DbMotore db;
            db.ImpostaAttesaServer(2);
            const auto [numero, descrizione] = ErroreDi(
                [&] { db.ApriConnessione(C, testo(inoltro->porta()), QStringLiteral("UID=postgres")); });
            ASSERT_EQ(numero, 0) << descrizione.toStdString();
            ASSERT_EQ(leggi(db), QStringLiteral("postgres"));
            ASSERT_TRUE(loopback(rete, false));
            const int tentativi = db.TentativiRiapertura();
            const auto persa = ErroreDi([&] { leggi(db); });
            EXPECT_EQ(persa.first, ErroriDb::ConnessioneOdbcFallita) << persa.second.toStdString();
            EXPECT_TRUE(db.ConnessionePersa(C));
            EXPECT_EQ(db.TentativiRiapertura(), tentativi);
            EXPECT_EQ(ErroreDi([&] { leggi(db); }).first, ErroriDb::ConnessioneOdbcFallita);
            EXPECT_EQ(db.TentativiRiapertura(), tentativi + 1);
        }
        inoltro.reset();
        close(rete);
    });
    close(reteServer);
    if (senzaRete)
        GTEST_SKIP() << "Nessuno spazio di rete proprio (servono i permessi di root)";
}

// The relay of the tests that cut a commit, towards a server that cannot be
// reached: the client's connection is closed at once, never left open for
// the client to wait its whole bound.
TEST(AtteseServer, IlRelaySenzaServerChiudeLaConnessione)
{
    // A port where nothing listens.
    const int libera = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    ASSERT_EQ(bind(libera, reinterpret_cast<const sockaddr *>(&a), sizeof a), 0);
    getsockname(libera, reinterpret_cast<sockaddr *>(&a), &n);
    const int portaMorta = ntohs(a.sin_port);
    close(libera);

    TagliaConferma taglia(portaMorta);
    ASSERT_NE(taglia.Porta(), 0);
    const int cliente = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    a.sin_port = htons(uint16_t(taglia.Porta()));
    ASSERT_EQ(connect(cliente, reinterpret_cast<const sockaddr *>(&a), sizeof a), 0);
    // The limit only tells a connection left open for good.
    pollfd p{cliente, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 60000), 1);
    char c = 0;
    EXPECT_EQ(recv(cliente, &c, 1, MSG_DONTWAIT), 0);
    close(cliente);
}
