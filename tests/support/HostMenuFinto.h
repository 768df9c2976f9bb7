// A stand-in for the menu program in tests: a local-socket server, on its own
// thread, that speaks the menu protocol. It answers the client's requests from
// its parameters, records them, and sends host commands whose answers the test
// waits for while the test thread keeps running its event loop.
#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QThread>
#include <QVariant>
#include <memory>
#include <optional>

class HostMenuFintoServer;

class HostMenuFinto
{
  public:
    HostMenuFinto();
    ~HostMenuFinto();

    // The server name to hand to ClienteMenuSocket::Connetti.
    QString NomeServer() const { return m_nome; }

    // Parameters answered by "leggiPar" (names without regard to case; a
    // missing "Personal." name answers the not-found marker, others the default).
    void ImpostaParametro(const QString &nome, const QVariant &valore);
    QVariant Parametro(const QString &nome) const;
    // Terminal name answered by "nomeTerminale".
    void ImpostaNomeTerminale(const QString &nome);
    // Makes the host refuse an operation with this error.
    void ImpostaErrore(const QString &op, int numero, const QString &descrizione);
    // With `muto` on the host reads requests but never answers them.
    void ImpostaMuto(bool muto);

    // Every request received so far, in order (the JSON objects as sent).
    QList<QJsonObject> Richieste() const;
    QList<QJsonObject> Richieste(const QString &op) const;

    // Waits, running the caller's event loop, until a client is connected.
    bool AttendiConnessione(int timeoutMs = 5000);
    // Sends the command EseguiComando and waits (running the caller's event
    // loop) for the client's answer; "<nessuna risposta>" on timeout.
    QString InviaComando(const QString &comando, const QVariant &param = QString(), int timeoutMs = 5000);
    // Sends the command without waiting; RispostaComando collects the answer.
    int InviaComandoSenzaAttesa(const QString &comando, const QVariant &param = QString());
    std::optional<QString> RispostaComando(int id) const;
    // Drops the client's connection, as a menu program that closes would.
    void Chiudi();

  private:
    friend class HostMenuFintoServer;
    struct Stato;
    std::shared_ptr<Stato> m_stato;
    QString m_nome;
    QThread m_thread;
    HostMenuFintoServer *m_server = nullptr;
};
