// Menu client over a local socket: synchronous requests, host commands as events.
#include "components/menu/ClienteMenuSocket.h"

#include "components/menu/ValoriJson.h"
#include "components/util/VbErrore.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QTimer>

ClienteMenuSocket::ClienteMenuSocket(QObject *parent) : ClienteMenu(parent), m_socket(new QLocalSocket(this))
{
    connect(m_socket, &QLocalSocket::readyRead, this, &ClienteMenuSocket::Leggibile);
    // Told once the current call (if any) has thrown its own error.
    connect(m_socket, &QLocalSocket::disconnected, this,
            [this] { QTimer::singleShot(0, this, &ClienteMenu::HostScomparso); });
}

ClienteMenuSocket::~ClienteMenuSocket()
{
    m_socket->disconnect(this);
    m_socket->abort();
}

void ClienteMenuSocket::Connetti(const QString &nomeServer, int timeoutMs)
{
    m_socket->abort();
    m_buffer.clear();
    m_socket->connectToServer(nomeServer);
    if (!m_socket->waitForConnected(timeoutMs))
        HostAssente(QStringLiteral("impossibile collegarsi al menu \"%1\": %2")
                        .arg(nomeServer, m_socket->errorString()));
}

bool ClienteMenuSocket::Connesso() const
{
    return m_socket->state() == QLocalSocket::ConnectedState;
}

void ClienteMenuSocket::Disconnetti()
{
    m_socket->disconnectFromServer();
}

void ClienteMenuSocket::HostAssente(const QString &perche)
{
    throw VbErrore(ErroreHostAssente,
                   QStringLiteral("Il programma di menu non è disponibile (%1)").arg(perche));
}

void ClienteMenuSocket::Scrivi(const QJsonObject &messaggio)
{
    QByteArray riga = QJsonDocument(messaggio).toJson(QJsonDocument::Compact);
    riga.append('\n');
    if (!Connesso() || m_socket->write(riga) != riga.size())
        HostAssente(QStringLiteral("collegamento chiuso"));
    m_socket->flush();
}

bool ClienteMenuSocket::EstraiRiga(QJsonObject &messaggio)
{
    for (;;) {
        const qsizetype fine = m_buffer.indexOf('\n');
        if (fine < 0)
            return false;
        const QByteArray riga = m_buffer.left(fine).trimmed();
        m_buffer.remove(0, fine + 1);
        if (riga.isEmpty())
            continue;
        const QJsonDocument doc = QJsonDocument::fromJson(riga);
        if (!doc.isObject())
            continue; // not ours to interpret: a line we cannot read is dropped, not fatal
        messaggio = doc.object();
        return true;
    }
}

QJsonObject ClienteMenuSocket::Chiama(const QString &op, QJsonObject argomenti)
{
    const int id = m_prossimoId++;
    argomenti.insert(QStringLiteral("id"), id);
    argomenti.insert(QStringLiteral("op"), op);
    ++m_attese;
    struct Fine {
        ClienteMenuSocket *c;
        ~Fine()
        {
            if (--c->m_attese == 0 && !c->m_eventiInAttesa.isEmpty() && !c->m_eventiProgrammati) {
                c->m_eventiProgrammati = true;
                QTimer::singleShot(0, c, &ClienteMenuSocket::EseguiEventiInAttesa);
            }
        }
    } fine{this};

    Scrivi(argomenti);
    QDeadlineTimer scadenza(m_timeout);
    for (;;) {
        m_buffer.append(m_socket->readAll());
        QJsonObject msg;
        while (EstraiRiga(msg)) {
            if (msg.contains(QStringLiteral("event"))) {
                // Commands that arrive while we wait run once the call is over,
                // so that no handler cuts into the middle of another.
                m_eventiInAttesa.append(msg);
                continue;
            }
            if (msg.value(QStringLiteral("id")).toInt() != id)
                continue;
            if (!msg.value(QStringLiteral("ok")).toBool()) {
                const QJsonObject e = msg.value(QStringLiteral("error")).toObject();
                throw VbErrore(
                    e.value(QStringLiteral("number")).toInt(5),
                    e.value(QStringLiteral("description"))
                        .toString(QStringLiteral("Il menu ha rifiutato la richiesta \"%1\"").arg(op)));
            }
            return msg;
        }
        if (!Connesso() && m_socket->bytesAvailable() == 0)
            HostAssente(QStringLiteral("collegamento chiuso durante \"%1\"").arg(op));
        if (scadenza.hasExpired())
            HostAssente(QStringLiteral("nessuna risposta a \"%1\" entro %2 ms").arg(op).arg(m_timeout));
        m_socket->waitForReadyRead(int(qMax<qint64>(1, scadenza.remainingTime())));
    }
}

void ClienteMenuSocket::Leggibile()
{
    if (m_attese > 0)
        return; // the waiting call reads for itself
    m_buffer.append(m_socket->readAll());
    QJsonObject msg;
    while (EstraiRiga(msg))
        if (msg.contains(QStringLiteral("event")))
            m_eventiInAttesa.append(msg);
    EseguiEventiInAttesa();
}

// Commands run in the order they came, each once the program is not waiting
// on the host.
void ClienteMenuSocket::EseguiEventiInAttesa()
{
    m_eventiProgrammati = false;
    while (m_attese == 0 && !m_eventiInAttesa.isEmpty())
        EseguiEvento(m_eventiInAttesa.takeFirst());
}

void ClienteMenuSocket::EseguiEvento(const QJsonObject &evento)
{
    if (evento.value(QStringLiteral("event")).toString() != QStringLiteral("EseguiComando"))
        return;
    const QString risposta = EseguiComandoHost(evento.value(QStringLiteral("comando")).toString(),
                                               ValoreDaJson(evento.value(QStringLiteral("param"))));
    QJsonObject r{{QStringLiteral("id"), evento.value(QStringLiteral("id"))},
                  {QStringLiteral("risposta"), risposta}};
    try {
        Scrivi(r);
    } catch (const VbErrore &) {
        // The host that asked is gone: nobody is left to answer.
    }
}

QVariant ClienteMenuSocket::LeggiPar(const QString &nome, const QVariant &predef)
{
    const QJsonObject r =
        Chiama(QStringLiteral("leggiPar"),
               {{QStringLiteral("name"), nome}, {QStringLiteral("default"), ValoreJson(predef)}});
    return ValoreDaJson(r.value(QStringLiteral("value")));
}

void ClienteMenuSocket::ScriviPar(const QString &nome, const QVariant &valore)
{
    Chiama(QStringLiteral("scriviPar"),
           {{QStringLiteral("name"), nome}, {QStringLiteral("value"), ValoreJson(valore)}});
}

void ClienteMenuSocket::ImpostaValore(const QString &nome, int tipo, bool flag, const QVariant &valore)
{
    Chiama(QStringLiteral("impostaValore"), {{QStringLiteral("name"), nome},
                                             {QStringLiteral("kind"), tipo},
                                             {QStringLiteral("flag"), flag},
                                             {QStringLiteral("value"), ValoreJson(valore)}});
}

void ClienteMenuSocket::Richiesta(const QString &ambito, const QString &richiesta)
{
    Chiama(QStringLiteral("richiesta"),
           {{QStringLiteral("scope"), ambito}, {QStringLiteral("request"), richiesta}});
}

void ClienteMenuSocket::PassaAProgramma(const QString &programma, const QString &form, const QString &chiave)
{
    Chiama(QStringLiteral("passaAProgramma"), {{QStringLiteral("program"), programma},
                                               {QStringLiteral("form"), form},
                                               {QStringLiteral("key"), chiave}});
}

void ClienteMenuSocket::Attiva(const QString &ambito, const QVariant &procId)
{
    Chiama(QStringLiteral("attiva"),
           {{QStringLiteral("scope"), ambito}, {QStringLiteral("procId"), ValoreJson(procId)}});
}

void ClienteMenuSocket::ParametroHost(const QString &nome, const QString &ambito, const QVariant &valore)
{
    Chiama(QStringLiteral("parametro"), {{QStringLiteral("name"), nome},
                                         {QStringLiteral("scope"), ambito},
                                         {QStringLiteral("value"), ValoreJson(valore)}});
}

void ClienteMenuSocket::NomeTerminale(QString &valore)
{
    valore = Chiama(QStringLiteral("nomeTerminale"), {}).value(QStringLiteral("value")).toString();
}
