// ServerSmtp: the SMTP receiver of the e-mail tests (scripts/ricevitore-smtp):
// the one scripts/services started (CLIENTI_SMTP_* in the environment), else
// a private one on a free loopback port, stopped at the end. Messages land in
// a Maildir; PostaRicevuta reads one back: headers, and the parts of a
// multipart message decoded.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

struct PostaRicevuta;

class ServerSmtp
{
  public:
    // The shared receiver; nullptr (and `motivo` set) when none can be had.
    static ServerSmtp *Istanza(QString *motivo = nullptr);
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
};
