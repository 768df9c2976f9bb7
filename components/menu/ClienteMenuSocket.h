// Socket back-end of the menu client: talks to a real menu program over a
// local socket, one JSON object per line (docs/menu-protocol.md). Our calls
// block until the host answers, without running the event loop; the host's
// commands arrive as events and are answered with the handler's text.
#pragma once

#include "components/menu/ClienteMenu.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>

class QLocalSocket;

class ClienteMenuSocket : public ClienteMenu
{
    Q_OBJECT
  public:
    static constexpr int TimeoutPredefinito = 30000;

    explicit ClienteMenuSocket(QObject *parent = nullptr);
    ~ClienteMenuSocket() override;

    // Connects to the host's server; VbErrore ErroreHostAssente when it fails.
    void Connetti(const QString &nomeServer, int timeoutMs = 5000);
    bool Connesso() const;
    void Disconnetti();
    // Longest wait for an answer of the host, in milliseconds.
    void ImpostaTimeout(int ms) { m_timeout = ms; }
    int Timeout() const { return m_timeout; }

    QVariant LeggiPar(const QString &nome, const QVariant &predef = QString()) override;
    using ClienteMenu::LeggiPar;
    void ScriviPar(const QString &nome, const QVariant &valore) override;
    void ImpostaValore(const QString &nome, int tipo, bool flag, const QVariant &valore) override;
    void Richiesta(const QString &ambito, const QString &richiesta) override;
    void PassaAProgramma(const QString &programma, const QString &form, const QString &chiave) override;
    void Attiva(const QString &ambito, const QVariant &procId) override;
    void ParametroHost(const QString &nome, const QString &ambito, const QVariant &valore) override;
    void NomeTerminale(QString &valore) override;
    using ClienteMenu::NomeTerminale;

  private:
    QJsonObject Chiama(const QString &op, QJsonObject argomenti);
    void Scrivi(const QJsonObject &messaggio);
    bool EstraiRiga(QJsonObject &messaggio);
    void Leggibile();
    void EseguiEventiInAttesa();
    void EseguiEvento(const QJsonObject &evento);
    [[noreturn]] void HostAssente(const QString &perche);

    QLocalSocket *m_socket;
    QByteArray m_buffer;
    QList<QJsonObject> m_eventiInAttesa;
    int m_prossimoId = 1;
    int m_timeout = TimeoutPredefinito;
    int m_attese = 0; // synchronous calls in progress
    bool m_eventiProgrammati = false;
};
