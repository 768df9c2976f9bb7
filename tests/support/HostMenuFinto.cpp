// The fake menu program of the tests.
#include "HostMenuFinto.h"

#include "components/menu/ClienteMenu.h"
#include "components/menu/ValoriJson.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHash>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMutexLocker>
#include <atomic>

struct HostMenuFinto::Stato {
    mutable QMutex mutex;
    QHash<QString, QPair<QString, QVariant>> parametri; // folded name -> (name, value)
    QHash<QString, QPair<int, QString>> errori;         // op -> error
    QString nomeTerminale = QStringLiteral("TERMINALE-PROVA");
    QList<QJsonObject> richieste;
    QHash<int, QString> risposte;
    bool muto = false;
    bool connesso = false;
};

class HostMenuFintoServer : public QObject
{
  public:
    explicit HostMenuFintoServer(std::shared_ptr<HostMenuFinto::Stato> stato) : m_stato(std::move(stato)) {}

    void Avvia(const QString &nome)
    {
        m_server = new QLocalServer(this);
        QLocalServer::removeServer(nome);
        m_server->listen(nome);
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *s = m_server->nextPendingConnection()) {
                m_client = s;
                connect(s, &QLocalSocket::readyRead, this, [this, s] { Leggi(s); });
                QMutexLocker l(&m_stato->mutex);
                m_stato->connesso = true;
            }
        });
    }
    void Invia(const QJsonObject &o)
    {
        if (m_client)
            m_client->write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
    }
    void Chiudi()
    {
        if (m_client) {
            m_client->disconnectFromServer();
            m_client = nullptr;
        }
        m_server->close();
    }

  private:
    void Leggi(QLocalSocket *s)
    {
        m_buffer += s->readAll();
        qsizetype fine;
        while ((fine = m_buffer.indexOf('\n')) >= 0) {
            const QJsonObject o = QJsonDocument::fromJson(m_buffer.left(fine)).object();
            m_buffer.remove(0, fine + 1);
            Tratta(o);
        }
    }
    void Tratta(const QJsonObject &o)
    {
        QMutexLocker l(&m_stato->mutex);
        if (o.contains(QStringLiteral("risposta"))) {
            m_stato->risposte.insert(o.value(QStringLiteral("id")).toInt(),
                                     o.value(QStringLiteral("risposta")).toString());
            return;
        }
        m_stato->richieste.append(o);
        if (m_stato->muto)
            return;
        const QString op = o.value(QStringLiteral("op")).toString();
        QJsonObject r{{QStringLiteral("id"), o.value(QStringLiteral("id"))}, {QStringLiteral("ok"), true}};
        if (m_stato->errori.contains(op)) {
            const auto e = m_stato->errori.value(op);
            r.insert(QStringLiteral("ok"), false);
            r.insert(QStringLiteral("error"), QJsonObject{{QStringLiteral("number"), e.first},
                                                          {QStringLiteral("description"), e.second}});
        } else if (op == QStringLiteral("leggiPar")) {
            const QString nome = o.value(QStringLiteral("name")).toString();
            auto it = m_stato->parametri.constFind(nome.toCaseFolded());
            if (it != m_stato->parametri.constEnd())
                r.insert(QStringLiteral("value"), ValoreJson(it->second));
            else if (ClienteMenu::NomePersonale(nome))
                r.insert(QStringLiteral("value"), ClienteMenu::NonTrovato);
            else
                r.insert(QStringLiteral("value"), o.value(QStringLiteral("default")));
        } else if (op == QStringLiteral("scriviPar")) {
            const QString nome = o.value(QStringLiteral("name")).toString();
            m_stato->parametri.insert(nome.toCaseFolded(),
                                      {nome, ValoreDaJson(o.value(QStringLiteral("value")))});
        } else if (op == QStringLiteral("nomeTerminale")) {
            r.insert(QStringLiteral("value"), m_stato->nomeTerminale);
        }
        l.unlock();
        Invia(r);
    }

    std::shared_ptr<HostMenuFinto::Stato> m_stato;
    QLocalServer *m_server = nullptr;
    QLocalSocket *m_client = nullptr;
    QByteArray m_buffer;
};

namespace
{
std::atomic<int> ProssimoHost{1};
std::atomic<int> ProssimoComando{1};

// Runs the test thread's events until `fatto` or the deadline.
template <typename F> bool Attendi(F fatto, int timeoutMs)
{
    QDeadlineTimer scadenza(timeoutMs);
    while (!fatto()) {
        if (scadenza.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}
} // namespace

HostMenuFinto::HostMenuFinto() : m_stato(std::make_shared<Stato>())
{
    m_nome = QStringLiteral("clienti-menu-prova-%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(ProssimoHost++);
    m_server = new HostMenuFintoServer(m_stato);
    m_server->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_server, [s = m_server, n = m_nome] { s->Avvia(n); }, Qt::BlockingQueuedConnection);
}

HostMenuFinto::~HostMenuFinto()
{
    m_thread.quit();
    m_thread.wait();
}

void HostMenuFinto::ImpostaParametro(const QString &nome, const QVariant &valore)
{
    QMutexLocker l(&m_stato->mutex);
    m_stato->parametri.insert(nome.toCaseFolded(), {nome, valore});
}

QVariant HostMenuFinto::Parametro(const QString &nome) const
{
    QMutexLocker l(&m_stato->mutex);
    return m_stato->parametri.value(nome.toCaseFolded()).second;
}

void HostMenuFinto::ImpostaNomeTerminale(const QString &nome)
{
    QMutexLocker l(&m_stato->mutex);
    m_stato->nomeTerminale = nome;
}

void HostMenuFinto::ImpostaErrore(const QString &op, int numero, const QString &descrizione)
{
    QMutexLocker l(&m_stato->mutex);
    m_stato->errori.insert(op, {numero, descrizione});
}

void HostMenuFinto::ImpostaMuto(bool muto)
{
    QMutexLocker l(&m_stato->mutex);
    m_stato->muto = muto;
}

QList<QJsonObject> HostMenuFinto::Richieste() const
{
    QMutexLocker l(&m_stato->mutex);
    return m_stato->richieste;
}

QList<QJsonObject> HostMenuFinto::Richieste(const QString &op) const
{
    QList<QJsonObject> r;
    for (const QJsonObject &o : Richieste())
        if (o.value(QStringLiteral("op")).toString() == op)
            r.append(o);
    return r;
}

bool HostMenuFinto::AttendiConnessione(int timeoutMs)
{
    return Attendi(
        [this] {
            QMutexLocker l(&m_stato->mutex);
            return m_stato->connesso;
        },
        timeoutMs);
}

int HostMenuFinto::InviaComandoSenzaAttesa(const QString &comando, const QVariant &param)
{
    const int id = ProssimoComando++;
    const QJsonObject o{{QStringLiteral("event"), QStringLiteral("EseguiComando")},
                        {QStringLiteral("id"), id},
                        {QStringLiteral("comando"), comando},
                        {QStringLiteral("param"), ValoreJson(param)}};
    QMetaObject::invokeMethod(
        m_server, [s = m_server, o] { s->Invia(o); }, Qt::QueuedConnection);
    return id;
}

std::optional<QString> HostMenuFinto::RispostaComando(int id) const
{
    QMutexLocker l(&m_stato->mutex);
    auto it = m_stato->risposte.constFind(id);
    if (it == m_stato->risposte.constEnd())
        return std::nullopt;
    return *it;
}

QString HostMenuFinto::InviaComando(const QString &comando, const QVariant &param, int timeoutMs)
{
    const int id = InviaComandoSenzaAttesa(comando, param);
    if (!Attendi([&] { return RispostaComando(id).has_value(); }, timeoutMs))
        return QStringLiteral("<nessuna risposta>");
    return *RispostaComando(id);
}

void HostMenuFinto::Chiudi()
{
    QMetaObject::invokeMethod(
        m_server, [s = m_server] { s->Chiudi(); }, Qt::BlockingQueuedConnection);
}
