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

    // Pieces of the message, public for the tests (IntestazioniEmail.cpp).
    // Why an address field cannot be used ("" when it can): a control
    // character anywhere, or an address that is not local@domain (blanks,
    // angle brackets, a second "@", a domain that is no host name...);
    // `elenco` for a list of addresses.
    static QString CampoNonValido(const QString &valore, bool elenco);
    // The bare addresses of a list ("a@x.it; \"Ufficio\" <b@y.it>").
    static QStringList Indirizzi(const QString &elenco);
    // The bare address of "Nome <a@b>" or "a@b".
    static QString Nudo(const QString &voce);
    // A character that ends a header line or an SMTP command, or has no
    // place in one (tabs aside).
    static bool HaControllo(const QString &testo);
    // Whether the part before the "@" is plain ASCII (else it goes over SMTP
    // only to a server offering SMTPUTF8).
    static bool ParteLocaleAscii(const QString &indirizzo);
    // The address as SMTP carries it: a domain outside ASCII in its ACE form
    // (IDNA).
    static QString IndirizzoAce(const QString &indirizzo);
    // A header value in RFC 2047 form when it is not plain ASCII: encoded
    // words of at most 45 bytes of whole UTF-8 characters, one to a line.
    static QByteArray Intestazione(const QString &testo);
    // A whole header line, "Nome: testo", folded at blanks into lines of at
    // most 78 characters: the text as it is when it is plain ASCII whose
    // words allow that, otherwise encoded words of at most 75 characters on
    // lines of at most 76.
    static QByteArray CampoTesto(const QByteArray &nome, const QString &testo);
    // An address header line ("To", "From", "Reply-To"): the addresses of
    // `voci` ("a@b" or "Nome <a@b>", domains in ACE) separated by commas,
    // folded between addresses and inside display names.
    static QByteArray CampoIndirizzi(const QByteArray &nome, const QStringList &voci);
    // The attachment's Content-Disposition line: a plain ASCII name that
    // fits one line quoted, as "filename"; any other name in both the
    // "filename*" of RFC 2231 (in numbered sections when it is long) and
    // RFC 2047 encoded words in "filename", folded into lines of at most 76.
    static QByteArray CampoAllegato(const QString &nome);
    // The mailto URL of the desktop's mail program: the addresses, subject
    // and text percent-encoded, so that nothing in them adds a field.
    static QString UrlMailto(const QStringList &destinatari, const QString &oggetto, const QString &testo);
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
