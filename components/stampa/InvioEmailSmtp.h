// The mailer of the print engine: sends a finished PDF with the e-mail keys of
// the print options. Send types "S", "C" and "E" go over SMTP through libcurl
// (TLS from the port's start, 465, or STARTTLS when SSL is asked; otherwise
// STARTTLS when the server offers it), with AUTH when a login is given and a
// multipart message (the text, the PDF attached); "O" hands the message to
// the desktop's mail program (xdg-email). Every attempt is appended to the
// e-mail log file when one is set, never with the password.
#pragma once

#include "components/stampa/FinestreStampa.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

class InvioEmailSmtp : public InvioEmail
{
  public:
    Esito Invia(OpzStampa &opz, const QString &filePdf, QString &errore) override;

    // The desktop's mail program for the send type "O": gets the arguments of
    // xdg-email and answers whether it started (tests replace it; an empty
    // function goes back to xdg-email).
    using ProgrammaPosta = std::function<bool(const QStringList &argomenti)>;
    static void ImpostaProgrammaPosta(ProgrammaPosta programma);

    // Pieces of the message, public for the tests.
    // Why an address field cannot be used ("" when it can): a control
    // character anywhere, or an address with blanks or angle brackets;
    // `elenco` for a list of addresses.
    static QString CampoNonValido(const QString &valore, bool elenco);
    // The bare addresses of a list ("a@x.it; \"Ufficio\" <b@y.it>").
    static QStringList Indirizzi(const QString &elenco);
    // A header value in RFC 2047 form when it is not plain ASCII.
    static QByteArray Intestazione(const QString &testo);
    // The From header: the display form as given, or built from the centre's
    // name and the bare address.
    static QString Mittente(const QString &indirizzo, const QString &centro);
    // The SMTP address: smtp:// or smtps:// with the port (25 by default,
    // 465 with SSL and no port).
    static QString Indirizzo(const QString &server, int porta, bool ssl);

  private:
    bool controllaCampi(const OpzStampa &opz, const QString &filePdf, QString &errore);
    Esito inviaSmtp(OpzStampa &opz, const QString &filePdf, QString &errore);
    Esito inviaProgrammaPosta(OpzStampa &opz, const QString &filePdf, QString &errore);
};

// The line appended to the e-mail log file for one attempt (no password).
QString RigaLogEmail(const QDateTime &quando, const OpzStampa &opz, const QString &filePdf,
                     const QString &esito);
// Appends a line to the log file, created readable by its owner only; false
// when it cannot be written.
bool ScriviLogEmail(const QString &file, const QString &riga);
