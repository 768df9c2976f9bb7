// ServerSmtp: the SMTP receiver of the e-mail tests (scripts/ricevitore-smtp):
// the one scripts/services started (CLIENTI_SMTP_* in the environment), else
// a private one on a free loopback port, stopped at the end. Messages land in
// a Maildir; PostaRicevuta reads one back: headers, and the parts of a
// multipart message decoded; LettaDaPython reads its headers, and
// AllegatiDaPython its attachments' names, as Python's e-mail package does.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QProcess;

struct PostaRicevuta;

class ServerSmtp
{
  public:
    // The shared receiver; nullptr (and `motivo` set) when none can be had.
    static ServerSmtp *Istanza(QString *motivo = nullptr);
    // A receiver of the calling test alone, started with the options of
    // scripts/ricevitore-smtp (say "--smtputf8"); nullptr when it cannot start.
    static std::unique_ptr<ServerSmtp> Privato(const QStringList &opzioni, QString *motivo = nullptr);
    ~ServerSmtp();

    int porta = 0;
    QString cartella; // the Maildir
    QString login, password;

    // Messages received so far (files of "new").
    QStringList Messaggi() const;
    // The first message not in `prima` (checked for up to `millisecondi`).
    QString AttendiNuovo(const QStringList &prima, int millisecondi = 10000) const;
    // The same among the messages `scelta` accepts: test programs running at
    // once share the receiver, so a test picks its own message by what it
    // sent (the attachment's bytes, say), not by being the newest.
    QString AttendiNuovo(const QStringList &prima, const std::function<bool(const PostaRicevuta &)> &scelta,
                         int millisecondi = 10000) const;

  private:
    ServerSmtp() = default;
    QProcess *m_processo = nullptr;
};

struct PartePosta {
    QHash<QString, QString> intestazioni; // lower-case names
    QByteArray dati;                      // decoded
};

struct PostaRicevuta {
    QHash<QString, QString> intestazioni; // lower-case names, folded lines joined
    QList<PartePosta> parti;              // of a multipart body
    QByteArray grezzo;

    static PostaRicevuta Leggi(const QString &file);
    // A header with RFC 2047 words decoded.
    QString Intestazione(const QString &nome) const;
    // The headers as Python's e-mail package reads them (policy.default), by
    // lower-case name: {"testo": the decoded value, "difetti": the defects
    // it found, and for address headers "indirizzi" and "nomi"}.
    static QJsonObject LettaDaPython(const QString &file);
    // The names of its attachments as the same package gives them.
    static QStringList AllegatiDaPython(const QString &file);
};
