// DbMotore: server connections through ODBC. Opening with the user's login
// and password kept out of the connect text's reach, what a failure of the
// server means, and a lost connection opened again at the next operation.
#include "components/db/DbConnessione.h"
#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/TestoOdbc.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <odbcinst.h>
#include <sql.h>
#include <sqlite3.h>
#include <tuple>

namespace
{

// Reads "KEY=VALUE" lines of a file DSN into a connect text.
QString connectDaFileDsn(const QString &percorso)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw VbErrore(
            ErroriDb::FileNonTrovato,
            QStringLiteral("Impossibile trovare il file DSN '%1': controllare il nome indicato nel file "
                           "INI ([Connessioni] NomeDB).")
                .arg(percorso));
    QStringList parti;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString riga = in.readLine().trimmed();
        if (riga.isEmpty() || riga.startsWith(u'[') || riga.startsWith(u';') || !riga.contains(u'='))
            continue;
        parti << riga;
    }
    return parti.join(u';');
}

QString statoSql(SQLSMALLINT tipo, const QVariant &h)
{
    // The ODBC driver of Qt hands its handles out as a QVariant holding the pointer.
    if (!h.isValid() || h.metaType() != QMetaType::fromType<SQLHANDLE>())
        return {};
    SQLHANDLE gestore = *static_cast<const SQLHANDLE *>(h.constData());
    if (!gestore)
        return {};
    SQLCHAR stato[6] = {};
    SQLINTEGER nativo = 0;
    SQLCHAR messaggio[2] = {};
    SQLSMALLINT lunghezza = 0;
    const SQLRETURN r =
        SQLGetDiagRec(tipo, gestore, 1, stato, &nativo, messaggio, sizeof messaggio, &lunghezza);
    if (r != SQL_SUCCESS && r != SQL_SUCCESS_WITH_INFO)
        return {};
    return QString::fromLatin1(reinterpret_cast<const char *>(stato), 5);
}

// A login the driver takes as written after "UID=".
bool loginSemplice(const QString &utente)
{
    return !utente.contains(u';') && !utente.startsWith(u'{') && utente == utente.trimmed();
}

// What the driver manager's DSN `dsn` (odbc.ini of the user, then of the
// system) holds under `chiave`; empty when it holds nothing.
QString voceDsn(const QString &dsn, const QString &chiave)
{
    char valore[4096] = {};
    const int n = SQLGetPrivateProfileString(dsn.toLocal8Bit().constData(), chiave.toLatin1().constData(), "",
                                             valore, sizeof valore, "odbc.ini");
    return n > 0 ? QString::fromLocal8Bit(valore, qstrnlen(valore, sizeof valore)).trimmed() : QString();
}

// Bounds the waits for a server that is gone to `secondi`, on every
// connection (the first one, one opened again, the copies other threads
// open): the login through the driver manager, which the PostgreSQL driver
// hands to libpq as its connect_timeout, for a server that takes the TCP
// connection and never answers; TCP keepalives and a limit on data sent and
// never acknowledged (libpq options in the PostgreSQL driver's pqopt) for a
// server that falls silent during a statement. A server that is there
// answers keepalives even while it works, so that a long statement runs to
// its end. What the connect text or its DSN sets itself is kept: the
// PostgreSQL driver refuses a libpq option in pqopt that one of its own
// attributes also sets, and a pqopt of the text replaces the DSN's. Answers
// the Qt connect options.
QString limitaAttese(QString &testo, int secondi)
{
    const QString dsn = TestoOdbc::Valore(testo, QStringLiteral("DSN"));
    const bool daDsn = !dsn.isEmpty() && TestoOdbc::Valore(testo, QStringLiteral("DRIVER")).isEmpty();
    auto voce = [&](const QString &chiave) {
        const QString v = TestoOdbc::Valore(testo, chiave).trimmed();
        return v.isEmpty() && daDsn ? voceDsn(dsn, chiave) : v;
    };
    const QString pqopt = voce(QStringLiteral("pqopt"));
    const QStringList presenti = TestoOdbc::ChiaviLibpq(pqopt);
    QString opzioni;
    if (!presenti.contains(QLatin1String("connect_timeout")))
        opzioni = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(secondi);
    // pqopt means something only to the PostgreSQL driver.
    const QString driver = voce(QStringLiteral("DRIVER"));
    if (!driver.isEmpty() &&
        !TestoOdbc::DriverPostgres(QStringLiteral("DRIVER=") + TestoOdbc::InGraffe(driver)))
        return opzioni;
    QStringList aggiunte;
    auto aggiungi = [&](const QString &chiave, int valore, const QString &attributo = QString()) {
        if (!presenti.contains(chiave) && (attributo.isEmpty() || voce(attributo).isEmpty()))
            aggiunte << QStringLiteral("%1=%2").arg(chiave).arg(valore);
    };
    aggiungi(QStringLiteral("keepalives_idle"), std::max(1, secondi / 2), QStringLiteral("KeepaliveTime"));
    aggiungi(QStringLiteral("keepalives_interval"), std::max(1, secondi / 5),
             QStringLiteral("KeepaliveInterval"));
    aggiungi(QStringLiteral("keepalives_count"), 3);
    aggiungi(QStringLiteral("tcp_user_timeout"), secondi * 1000);
    if (!aggiunte.isEmpty()) {
        testo = TestoOdbc::Togli(testo, {QStringLiteral("pqopt")});
        testo += QStringLiteral(";pqopt=") +
                 TestoOdbc::InGraffe((pqopt.isEmpty() ? QString() : pqopt + u' ') + aggiunte.join(u' '));
    }
    return opzioni;
}

// A gesture of the user is the work the GUI thread does between two waits
// of its event loop for events: the turn counted here, per level of nested
// loops (a modal question asked during a gesture is a loop inside it).
constexpr int Livelli = 16;
quint64 g_giri = 0;             // waits of the GUI thread's event loops counted so far
quint64 g_attese[Livelli] = {}; // [l]: g_giri at the last wait of a loop at level l or below
QPointer<QAbstractEventDispatcher> g_osservato;

// The gesture under way on the caller's thread, as (level of its event loop,
// turn); level 0 outside the GUI thread's event loop (no gesture there).
std::pair<int, quint64> gestoInCorso()
{
    QCoreApplication *app = QCoreApplication::instance();
    QThread *t = QThread::currentThread();
    if (!app || t != app->thread() || t->loopLevel() <= 0)
        return {0, 0};
    QAbstractEventDispatcher *d = QAbstractEventDispatcher::instance(t);
    if (d && g_osservato != d) {
        g_osservato = d;
        QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, d, [] {
            const int l = std::clamp(QThread::currentThread()->loopLevel(), 0, Livelli - 1);
            ++g_giri;
            for (int i = l; i < Livelli; ++i)
                g_attese[i] = g_giri;
        });
    }
    return {std::min(t->loopLevel(), Livelli - 1), g_giri};
}

// True while the GUI thread, still in an event loop, has not waited for
// events at level `livello` or below since the turn `giro`.
bool stessoGesto(int livello, quint64 giro)
{
    return livello > 0 && gestoInCorso().first > 0 && g_attese[livello] <= giro;
}

} // namespace

QString StatoSqlIstruzione(const QSqlQuery &q)
{
    return q.result() ? statoSql(SQL_HANDLE_STMT, q.result()->handle()) : QString();
}

QString StatoSqlConnessione(const QSqlDatabase &db)
{
    return db.driver() ? statoSql(SQL_HANDLE_DBC, db.driver()->handle()) : QString();
}

void DbMotore::ApriConnessione(const QString &nome, const QString &origine, const QString &connect,
                               const QString &utente, const QString &password)
{
    const QString o = origine.trimmed();
    QString testo;
    if (o.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive) ||
        o.startsWith(QLatin1String("DRIVER="), Qt::CaseInsensitive) ||
        o.contains(QLatin1String("SERVER="), Qt::CaseInsensitive))
        testo = TestoOdbc::Unisci(o, connect);
    else if (o.endsWith(QLatin1String(".dsn"), Qt::CaseInsensitive))
        testo = TestoOdbc::Unisci(connectDaFileDsn(o), connect);
    else if (!o.contains(u'.') && !o.contains(u'/'))
        testo = TestoOdbc::Unisci(QStringLiteral("DSN=") + o, connect);
    else
        return ApriSqlite(nome, o, false);

    // The connection as the user gave it, for the message of a failure: the
    // settings the program adds below are not the user's to check.
    const QString testoUtente = testo;
    // The PostgreSQL driver would roll the whole transaction back on a failed
    // statement; savepoints of our own undo only that statement instead.
    if (TestoOdbc::Valore(testo, QStringLiteral("Protocol")).isEmpty())
        testo += QStringLiteral(";Protocol=7.4-0");

    const QString opzioniQt = limitaAttese(testo, m_attesaServer);

    // The login and password reach the driver in braces, so that a ";" in
    // them can never end the value and start another attribute (a password
    // "x;UID=admin" would log in as admin). The PostgreSQL driver keeps braces
    // around a login as part of it: a login that needs them goes to that
    // driver as a libpq option, and any other driver refuses it.
    QString utenteQt, passwordQt;
    if (!utente.isEmpty()) {
        testo = TestoOdbc::Togli(testo, {QStringLiteral("UID"), QStringLiteral("PWD"),
                                         QStringLiteral("Username"), QStringLiteral("Password")});
        if (loginSemplice(utente)) {
            utenteQt = utente;
        } else if (TestoOdbc::DriverPostgres(testo)) {
            const QString altre = TestoOdbc::Valore(testo, QStringLiteral("pqopt"));
            testo = TestoOdbc::Togli(testo, {QStringLiteral("pqopt")});
            testo += QStringLiteral(";pqopt=") +
                     TestoOdbc::InGraffe((altre.isEmpty() ? QString() : altre + u' ') +
                                         QStringLiteral("user=") + TestoOdbc::ValoreLibpq(utente));
        } else {
            throw VbErrore(
                ErroriDb::ConnessioneOdbcFallita,
                QStringLiteral("Il nome utente del database contiene un punto e virgola, comincia con "
                               "una parentesi graffa o con uno spazio: il driver ODBC non lo può "
                               "ricevere. Usare un nome utente senza questi caratteri."));
        }
        passwordQt = TestoOdbc::InGraffe(password);
    }
    // Qt writes "DSN=" in front of a text naming neither a driver nor a server.
    QString testoQt = testo;
    if (!testo.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive) &&
        !testo.contains(QLatin1String("SERVER="), Qt::CaseInsensitive) &&
        testo.startsWith(QLatin1String("DSN="), Qt::CaseInsensitive))
        testoQt = testo.mid(4);

    ChiudiConnessione(nome);
    auto c = std::make_shared<Connessione>();
    c->nome = nome;
    c->nomeQt = QStringLiteral("DbMotore_%1_%2").arg(quintptr(this)).arg(++m_contatore);
    c->motore = Motore::Odbc;
    c->db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), c->nomeQt);
    c->db.setDatabaseName(testoQt);
    c->db.setUserName(utenteQt);
    c->db.setPassword(passwordQt);
    c->db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    c->db.setConnectOptions(opzioniQt);
    if (!c->db.open()) {
        const QString err = c->db.lastError().text();
        c->db = QSqlDatabase();
        QSqlDatabase::removeDatabase(c->nomeQt);
        throw VbErrore(
            ErroriDb::ConnessioneOdbcFallita,
            ErroriDb::NascondiPassword(
                QStringLiteral("Connessione al database '%1' non riuscita: controllare che il server "
                               "sia acceso e raggiungibile, e il nome utente e la password.\n"
                               "Dettaglio: %2")
                    .arg(testoUtente, err.trimmed())));
    }
    m_conn.insert(nome.trimmed().toLower(), c);
    preparaIstruzioni(*c);
    impostaSessione(*c);
    ImpostaParametro(QStringLiteral("DbTipoSql:") + nome, true);
    if (!Parametro(QStringLiteral("SchemaMenu:") + nome).isValid())
        ImpostaParametro(QStringLiteral("SchemaMenu:") + nome, QStringLiteral("menu"));
}

bool DbMotore::SolaLettura(const QString &nome)
{
    Connessione &c = conn(nome);
    if (c.motore == Motore::SQLite) {
        if (sqlite3_db_readonly(c.h, "main") == 1)
            return true;
        // The journal lives beside the file: without a writable folder
        // nothing can be saved.
        const char *file = sqlite3_db_filename(c.h, "main");
        return file && *file && !QFileInfo(QFileInfo(QString::fromUtf8(file)).absolutePath()).isWritable();
    }
    pronta(c);
    QSqlQuery q(c.db);
    return q.exec(QStringLiteral("SHOW transaction_read_only")) && q.next() &&
           q.value(0).toString().compare(QLatin1String("on"), Qt::CaseInsensitive) == 0;
}

bool DbMotore::OrdinePerCodici(const QString &nome)
{
    Connessione &c = conn(nome);
    if (c.motore == Motore::SQLite)
        return true;
    if (c.ordinePerCodici >= 0)
        return c.ordinePerCodici == 1;
    pronta(c);
    // citext compares the lower-case texts by the database's collation; an
    // ICU default collation (provider 'i') orders by language whatever its name.
    QSqlQuery q(c.db);
    bool codici = false;
    if (q.exec(QStringLiteral("SELECT * FROM pg_database WHERE datname = current_database()")) && q.next()) {
        const QSqlRecord r = q.record();
        const QString fornitore = r.indexOf(QStringLiteral("datlocprovider")) >= 0
                                      ? q.value(QStringLiteral("datlocprovider")).toString()
                                      : QStringLiteral("c");
        const QString collazione = q.value(QStringLiteral("datcollate")).toString();
        static const QStringList perCodici = {QStringLiteral("C"), QStringLiteral("POSIX"),
                                              QStringLiteral("C.UTF-8"), QStringLiteral("C.utf8")};
        codici = fornitore == u"c" && perCodici.contains(collazione);
    }
    c.ordinePerCodici = codici ? 1 : 0;
    return codici;
}

bool DbMotore::ConnessionePersa(const QString &nome) const
{
    return conn(nome).persa;
}

void DbMotore::pronta(Connessione &c, bool scrittura)
{
    if (c.motore != Motore::Odbc)
        return;
    // Until the transaction the loss broke has been ended by its owner, every
    // write of it must fail: run on a new connection it would be saved on its
    // own, half of a whole.
    if (scrittura && c.finiDovuti > 0)
        throw ErroriDb::ConnessionePersa(QString());
    if (!c.persa)
        return;
    if (c.livello > 0)
        throw ErroriDb::ConnessionePersa(QString());
    // A server that did not answer within the bound is not waited for a
    // second time in the same gesture: its other operations fail as that
    // attempt did.
    if (stessoGesto(c.fallitaAlLivello, c.fallitaAlGiro))
        throw ErroriDb::RicollegamentoFallito(c.fallitaPerche);
    c.fallitaAlLivello = 0;
    c.odbc.reset();
    c.db.close();
    ++m_tentativiRiapertura;
    ++m_atteseServer;
    if (!c.db.open()) {
        c.fallitaPerche = c.db.lastError().databaseText();
        std::tie(c.fallitaAlLivello, c.fallitaAlGiro) = gestoInCorso();
        throw ErroriDb::RicollegamentoFallito(c.fallitaPerche);
    }
    c.persa = false;
    c.sonda.reset();
    c.dimenticaSchema();
    preparaIstruzioni(c);
    impostaSessione(c);
}

bool DbMotore::ServerRisponde(const QString &nome)
{
    if (!EsisteConnessione(nome))
        return true; // the operation says what is missing
    Connessione &c = conn(nome);
    if (c.motore != Motore::Odbc || !c.persa)
        return true;
    if (c.sonda) {
        const int esito = c.sonda->load();
        if (esito == 0)
            return false;
        c.sonda.reset();
        if (esito > 0)
            return true;
    }
    // The trials that have ended go; one of them ends as it sets its outcome.
    std::erase_if(m_sonde, [](Sonda &s) {
        if (s.esito->load() == 0)
            return false;
        s.filo.join();
        return true;
    });
    // The trial opens a connection of its own, made and closed on its thread,
    // as the window's connection would be opened again.
    auto esito = std::make_shared<std::atomic<int>>(0);
    const QString nomeQt = QStringLiteral("%1_prova%2").arg(c.nomeQt).arg(++m_contatore);
    const QString testo = c.db.databaseName(), utente = c.db.userName(), password = c.db.password(),
                  opzioni = c.db.connectOptions();
    std::thread filo([=] {
        bool aperta = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nomeQt);
            db.setDatabaseName(testo);
            db.setUserName(utente);
            db.setPassword(password);
            db.setConnectOptions(opzioni);
            aperta = db.open();
            db.close();
        }
        QSqlDatabase::removeDatabase(nomeQt);
        esito->store(aperta ? 1 : -1);
    });
    m_sonde.push_back({std::move(filo), esito});
    c.sonda = std::move(esito);
    return false;
}

void DbMotore::preparaIstruzioni(Connessione &c)
{
    c.odbc.reset();
    const QVariant h = c.db.driver() ? c.db.driver()->handle() : QVariant();
    if (!h.isValid() || h.metaType() != QMetaType::fromType<SQLHANDLE>())
        return;
    if (SQLHANDLE dbc = *static_cast<const SQLHANDLE *>(h.constData()))
        c.odbc = std::make_unique<IstruzioniOdbc>(dbc, 128);
}

void DbMotore::impostaSessione(Connessione &c)
{
    // A write behind another desk's lock waits as long as on SQLite, then is
    // refused (SQLSTATE 55P03) instead of holding the window without limit.
    // Servers that know no lock_timeout keep their own behaviour.
    QSqlQuery(c.db).exec(QStringLiteral("SET lock_timeout = %1").arg(c.attesaBlocco));
}

VbErrore DbMotore::erroreServer(Connessione &c, const QSqlError &e, const QString &statoSql)
{
    bool persa = ErroriDb::IndicaConnessionePersa(e, statoSql);
    // A dead connection also shows as a function sequence error, or as a
    // failure the driver cannot name: a question to the server tells.
    if (!persa && (statoSql.isEmpty() || ErroriDb::ErroreDiSequenza(e, statoSql)))
        persa = !risponde(c);
    if (!persa)
        return ErroriDb::DaQt(e, true, statoSql);
    c.persa = true;
    // A server that fell silent was waited for as long as the bound says:
    // that was the gesture's wait, as a failed opening again would be.
    if (e.text().contains(QLatin1String("timed out"), Qt::CaseInsensitive)) {
        ++m_atteseServer;
        c.fallitaPerche = e.databaseText();
        std::tie(c.fallitaAlLivello, c.fallitaAlGiro) = gestoInCorso();
    }
    // The server dropped the transaction with the connection: it is over
    // here too, its ends still owed by whoever began it.
    c.finiDovuti += c.livello;
    c.livello = 0;
    return ErroriDb::ConnessionePersa(e.databaseText());
}

bool DbMotore::risponde(Connessione &c)
{
    QSqlQuery q(c.db);
    if (q.exec(QStringLiteral("SELECT 1")))
        return true;
    return !ErroriDb::IndicaConnessionePersa(q.lastError(), StatoSqlIstruzione(q)) &&
           !ErroriDb::ErroreDiSequenza(q.lastError(), StatoSqlIstruzione(q));
}
