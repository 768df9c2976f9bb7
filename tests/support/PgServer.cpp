// PostgreSQL for the tests: the server of scripts/test, or a private one.
#include "PgServer.h"
#include "PerditeDriver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpServer>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace
{

QString env(const char *nome)
{
    return qEnvironmentVariable(nome);
}

QString binPostgres()
{
    QDir d(QStringLiteral("/usr/lib/postgresql"));
    QStringList versioni = d.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versioni.begin(), versioni.end(),
              [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    return versioni.isEmpty() ? QString() : d.filePath(versioni.last() + QStringLiteral("/bin"));
}

int portaLibera()
{
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost, 0))
        return 0;
    return s.serverPort();
}

// Runs a program (as the postgres user when we are root) and waits for it.
bool esegui(const QString &programma, const QStringList &argomenti, QString *uscita = nullptr,
            bool comePostgres = false)
{
    QProcess p;
    if (comePostgres && ::geteuid() == 0)
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                                       QStringLiteral("--"), programma} +
                                               argomenti);
    else
        p.start(programma, argomenti);
    p.closeWriteChannel();
    if (!p.waitForStarted(10000)) {
        if (uscita)
            *uscita = QStringLiteral("impossibile avviare ") + programma;
        return false;
    }
    p.waitForFinished(120000);
    if (uscita)
        *uscita = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

std::unique_ptr<PgServer> &istanza()
{
    static std::unique_ptr<PgServer> s;
    return s;
}

} // namespace

bool PgObbligatorio()
{
    return env("CI").compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

PgServer *PgServer::Istanza(QString *motivo)
{
    static bool tentato = false;
    static QString errore;
    if (!tentato) {
        tentato = true;
        std::unique_ptr<PgServer> s(new PgServer);
        if (s->avvia(errore))
            istanza() = std::move(s);
    }
    if (motivo)
        *motivo = errore;
    return istanza().get();
}

bool PgServer::avvia(QString &errore)
{
    m_binPg = binPostgres();
    if (!env("CLIENTI_PG_HOST").isEmpty() && !env("CLIENTI_PG_PORT").isEmpty()) {
        m_host = env("CLIENTI_PG_HOST");
        m_porta = env("CLIENTI_PG_PORT").toInt();
        m_utente = env("CLIENTI_PG_USER").isEmpty() ? QStringLiteral("postgres") : env("CLIENTI_PG_USER");
        m_socket = env("CLIENTI_PG_SOCKET");
        return true;
    }
    return avviaPrivato(errore, false);
}

std::unique_ptr<PgServer> PgServer::Privato(QString *motivo)
{
    std::unique_ptr<PgServer> s(new PgServer);
    s->m_binPg = binPostgres();
    QString errore;
    if (!s->avviaPrivato(errore, true)) {
        if (motivo)
            *motivo = errore;
        return nullptr;
    }
    return s;
}

bool PgServer::pgCtl(const QStringList &argomenti, QString *uscita)
{
    return esegui(m_binPg + QStringLiteral("/pg_ctl"),
                  QStringList{QStringLiteral("-D"), m_dirPrivata + QStringLiteral("/data")} + argomenti,
                  uscita, true);
}

bool PgServer::Ferma()
{
    if (m_privato)
        AmmettiPerditeDriverOdbc(); // the connections drop under their statements
    return m_privato &&
           pgCtl({QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")},
                 nullptr);
}

bool PgServer::Riavvia()
{
    return m_privato &&
           pgCtl({QStringLiteral("-l"), m_dirPrivata + QStringLiteral("/server.log"), QStringLiteral("-w"),
                  QStringLiteral("-o"), m_opzioni, QStringLiteral("start")},
                 nullptr);
}

bool PgServer::avviaPrivato(QString &errore, bool conPassword)
{
    if (m_binPg.isEmpty()) {
        errore = QStringLiteral("PostgreSQL non installato (/usr/lib/postgresql/*/bin)");
        return false;
    }
    m_dirPrivata = QDir::temp().filePath(
        QStringLiteral("clienti-pg-%1-%2").arg(::getpid()).arg(QRandomGenerator::global()->generate()));
    QDir().mkpath(m_dirPrivata + QStringLiteral("/sock"));
    QFile::setPermissions(m_dirPrivata, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                            QFileDevice::ExeGroup);
    if (::geteuid() == 0)
        std::system(QStringLiteral("chown -R postgres '%1'").arg(m_dirPrivata).toLocal8Bit().constData());
    QString out;
    if (!esegui(m_binPg + QStringLiteral("/initdb"),
                {QStringLiteral("-D"), m_dirPrivata + QStringLiteral("/data"),
                 QStringLiteral("--locale=C.UTF-8"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                 QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-U"),
                 QStringLiteral("postgres")},
                &out, true)) {
        errore = QStringLiteral("initdb non riuscito: ") + out;
        return false;
    }
    if (conPassword) {
        // First match wins: these lines go before initdb's "trust" ones.
        QFile hba(m_dirPrivata + QStringLiteral("/data/pg_hba.conf"));
        if (!hba.open(QIODevice::ReadOnly)) {
            errore = QStringLiteral("pg_hba.conf non leggibile");
            return false;
        }
        const QByteArray resto = hba.readAll();
        hba.close();
        if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            errore = QStringLiteral("pg_hba.conf non scrivibile");
            return false;
        }
        hba.write("host all postgres 127.0.0.1/32 trust\nhost all all 127.0.0.1/32 scram-sha-256\n" + resto);
    }
    m_privato = true;
    m_porta = portaLibera();
    m_host = QStringLiteral("127.0.0.1");
    m_utente = QStringLiteral("postgres");
    m_socket = m_dirPrivata + QStringLiteral("/sock");
    m_opzioni = QStringLiteral("-k %1 -p %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                               "-c synchronous_commit=off -c full_page_writes=off")
                    .arg(m_socket)
                    .arg(m_porta);
    if (!pgCtl({QStringLiteral("-l"), m_dirPrivata + QStringLiteral("/server.log"), QStringLiteral("-w"),
                QStringLiteral("-o"), m_opzioni, QStringLiteral("start")},
               &out)) {
        errore = QStringLiteral("avvio di PostgreSQL non riuscito: ") + out;
        return false;
    }
    return true;
}

PgServer::~PgServer()
{
    if (!m_privato)
        return;
    const QString ctl = QStringLiteral("%1 '%2/pg_ctl' -D '%3/data' -m immediate stop >/dev/null 2>&1")
                            .arg(::geteuid() == 0 ? QStringLiteral("runuser -u postgres --") : QString(),
                                 m_binPg, m_dirPrivata);
    std::system(ctl.toLocal8Bit().constData());
    QDir(m_dirPrivata).removeRecursively();
}

bool PgServer::psql(const QString &database, const QString &sql, QString *errore)
{
    if (sql.contains(QLatin1String("pg_terminate_backend"), Qt::CaseInsensitive))
        AmmettiPerditeDriverOdbc();
    QStringList arg{QStringLiteral("-w"),
                    QStringLiteral("-X"),
                    QStringLiteral("-q"),
                    QStringLiteral("-v"),
                    QStringLiteral("ON_ERROR_STOP=1"),
                    QStringLiteral("-h"),
                    m_socket.isEmpty() ? m_host : m_socket,
                    QStringLiteral("-p"),
                    QString::number(m_porta),
                    QStringLiteral("-U"),
                    m_utente,
                    QStringLiteral("-d"),
                    database,
                    QStringLiteral("-c"),
                    sql};
    const QString bin = m_binPg.isEmpty() ? QStringLiteral("psql") : m_binPg + QStringLiteral("/psql");
    return esegui(bin, arg, errore);
}

QString PgServer::NuovoDatabase(const QString &prefisso)
{
    static int contatore = 0;
    const QString nome = QStringLiteral("%1_%2_%3_%4")
                             .arg(prefisso.toLower())
                             .arg(::getpid())
                             .arg(++contatore)
                             .arg(QRandomGenerator::global()->bounded(100000));
    QString err;
    if (!psql(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(nome), &err))
        return QString();
    if (!psql(nome, QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"), &err))
        return QString();
    return QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=%1;PORT=%2;DATABASE=%3;UID=%4;PWD=;")
        .arg(m_host)
        .arg(m_porta)
        .arg(nome, m_utente);
}

void PgServer::EliminaDatabase(const QString &nome)
{
    psql(QStringLiteral("postgres"), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(nome));
}

QString PgServer::NomeDatabase(const QString &connect)
{
    static const QRegularExpression re(QStringLiteral("DATABASE=([^;]*)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(connect).captured(1);
}
