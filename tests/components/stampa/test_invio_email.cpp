// The print engine's mailer against the local SMTP receiver: a PDF sent with
// its subject, recipients, sender and reply-to, one PDF part, the log line
// without the password; a refused login, a refused recipient and a server
// that is down told apart; the desktop mail program; the header pieces.
#include "BancoInvioEmail.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTimer>

namespace
{

class InvioEmailTest : public BancoInvioEmail
{
};

} // namespace

TEST_F(InvioEmailTest, APdfReachesTheReceiverWithItsHeadersAndOneAttachment)
{
    const QStringList prima = server->Messaggi();
    QString errore;
    ASSERT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Inviato) << errore.toStdString();
    const QString file = server->AttendiNuovo(
        prima, [&](const PostaRicevuta &m) { return m.parti.size() == 2 && m.parti[1].dati == byte; });
    ASSERT_FALSE(file.isEmpty());
    const PostaRicevuta m = PostaRicevuta::Leggi(file);
    EXPECT_EQ(m.Intestazione(QStringLiteral("Subject")),
              QStringLiteral("Elenco clienti del 05/12/2024 – città"));
    EXPECT_EQ(m.Intestazione(QStringLiteral("From")),
              QStringLiteral("\"Ufficio vendite\" <vendite@ditta.it>"));
    EXPECT_EQ(m.Intestazione(QStringLiteral("To")), QStringLiteral("mario@cliente.it, anna@cliente.it"));
    EXPECT_EQ(m.Intestazione(QStringLiteral("Reply-To")), QStringLiteral("risposte@ditta.it"));
    EXPECT_EQ(m.Intestazione(QStringLiteral("X-RcptTo")), QStringLiteral("mario@cliente.it,anna@cliente.it"));
    EXPECT_EQ(m.Intestazione(QStringLiteral("X-MailFrom")), QStringLiteral("vendite@ditta.it"));
    ASSERT_EQ(m.parti.size(), 2);
    EXPECT_EQ(QString::fromUtf8(m.parti[0].dati), QStringLiteral("In allegato l'elenco.\nCordiali saluti"));
    int pdfs = 0;
    for (const PartePosta &p : m.parti)
        if (p.intestazioni.value(QStringLiteral("content-type"))
                .startsWith(QLatin1String("application/pdf"))) {
            ++pdfs;
            EXPECT_EQ(p.dati, byte) << "the attachment is the file as written";
            EXPECT_TRUE(p.intestazioni.value(QStringLiteral("content-disposition"))
                            .contains(QLatin1String("Elenco_clienti.pdf")));
        }
    EXPECT_EQ(pdfs, 1);

    // The log: one line, the login but never the password; created for its owner only.
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString riga = QString::fromUtf8(f.readAll());
    EXPECT_EQ(riga.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(riga.contains(QStringLiteral(" | Inviata | Da: vendite@ditta.it | A: mario@cliente.it")));
    EXPECT_TRUE(riga.contains(QStringLiteral("Login: ") + server->login));
    EXPECT_FALSE(riga.contains(server->password));
    EXPECT_EQ(f.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              QFileDevice::Permissions());
}

TEST_F(InvioEmailTest, RefusalsAreToldApart)
{
    QString errore;
    opz.ImpostaParStampa(QStringLiteral("EmailPwd"), QStringLiteral("sbagliata"));
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::LoginRifiutato);
    EXPECT_EQ(errore, QStringLiteral("login o password non accettati dal server 127.0.0.1"));
    EXPECT_FALSE(invio.Dettaglio.isEmpty()) << "the server's words go to the detail";
    EXPECT_FALSE(errore.contains(QStringLiteral("sbagliata")));

    opz.ImpostaParStampa(QStringLiteral("EmailPwd"), server->password);
    opz.ImpostaParStampa(QStringLiteral("EmailTo"), QStringLiteral("rifiuta@cliente.it"));
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Errore);
    EXPECT_EQ(errore, QStringLiteral("il campo \"Indir. Email a cui si invia\" dei parametri email contiene "
                                     "l'indirizzo \"rifiuta@cliente.it\", che il server 127.0.0.1 ha "
                                     "rifiutato: correggerlo e ripetere la stampa"));
    EXPECT_TRUE(invio.Dettaglio.contains(QStringLiteral("550"))) << invio.Dettaglio.toStdString();

    // Nobody listening on the port.
    opz.ImpostaParStampa(QStringLiteral("EmailTo"), QStringLiteral("mario@cliente.it"));
    opz.ImpostaParStampa(QStringLiteral("EmailNumPorta"), 1);
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Errore);
    EXPECT_EQ(errore, QStringLiteral("impossibile collegarsi al server SMTP smtp://127.0.0.1:1"));

    // A login without its password is missing data, not a refused login.
    opz.ImpostaParStampa(QStringLiteral("EmailPwd"), QString());
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::DatiMancanti);
    EXPECT_EQ(errore, QStringLiteral("manca la password per l'invio dell'email"));

    // Missing pieces are said before any connection; every attempt is logged.
    opz.ImpostaParStampa(QStringLiteral("EmailTipoInvio"), QString());
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Errore);
    EXPECT_TRUE(errore.contains(QStringLiteral("tipo di invio")));
    opz.ImpostaParStampa(QStringLiteral("EmailTipoInvio"), QStringLiteral("c"));
    opz.ImpostaParStampa(QStringLiteral("EmailTo"), QStringLiteral(" ; "));
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Errore);
    EXPECT_EQ(errore, QStringLiteral("manca l'indirizzo a cui inviare"));
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString righe = QString::fromUtf8(f.readAll());
    EXPECT_EQ(righe.count(QStringLiteral("Non inviata: ")), 6);
    EXPECT_TRUE(righe.contains(QStringLiteral("(RCPT failed: 550"))) << "the server's words are logged";
    EXPECT_FALSE(righe.contains(QStringLiteral("sbagliata")));
    EXPECT_FALSE(righe.contains(server->password));
}

// The address the server refused, among several, is named as it was typed
// with the field it came from.
TEST_F(InvioEmailTest, ARecipientTheServerRefusesIsNamedWithItsField)
{
    const struct {
        const char *emailTo, *temporaneo, *rifiutato, *campo;
    } casi[] = {
        {"mario@cliente.it; \"Ufficio\" <rifiuta.ufficio@cliente.it>; anna@cliente.it", "",
         "rifiuta.ufficio@cliente.it", "Indir. Email a cui si invia"},
        {"rifiuta@cliente.it, rifiuta.poi@cliente.it", "", "rifiuta@cliente.it",
         "Indir. Email a cui si invia"},
        {"anna@cliente.it; rifiuta@città.it", "anna@cliente.it; rifiuta@città.it", "rifiuta@città.it",
         "Indir. temporaneo"},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.emailTo);
        opz.ImpostaParStampa(QStringLiteral("EmailTo"), QString::fromUtf8(c.emailTo));
        opz.ImpostaParStampa(QStringLiteral("EmailToTemp"), QString::fromUtf8(c.temporaneo));
        QString errore;
        EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Errore);
        EXPECT_EQ(errore,
                  QStringLiteral("il campo \"%1\" dei parametri email contiene l'indirizzo \"%2\", che il "
                                 "server 127.0.0.1 ha rifiutato: correggerlo e ripetere la stampa")
                      .arg(QString::fromUtf8(c.campo), QString::fromUtf8(c.rifiutato)));
        EXPECT_TRUE(invio.Dettaglio.contains(QStringLiteral("RCPT failed: 550")))
            << invio.Dettaglio.toStdString();
    }
}

TEST_F(InvioEmailTest, OutlookHandsTheMessageToTheDesktopMailProgram)
{
    QStringList argomenti;
    InvioEmailSmtp::ImpostaProgrammaPosta([&](const QStringList &a) {
        argomenti = a;
        return true;
    });
    opz.ImpostaParStampa(QStringLiteral("EmailTipoInvio"), QStringLiteral("O"));
    QString errore;
    // Only a message window opens: handed over, not sent.
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Consegnato);
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(f.readAll()).contains(QStringLiteral(" | Consegnata al programma di posta")));
    // One mailto URL with every recipient: xdg-email keeps only its last "mailto:".
    EXPECT_EQ(argomenti,
              (QStringList{QStringLiteral("--utf8"), QStringLiteral("--attach"), pdf,
                           QStringLiteral("mailto:mario@cliente.it,anna@cliente.it"
                                          "?subject=Elenco%20clienti%20del%2005%2F12%2F2024%20%E2%80%93"
                                          "%20citt%C3%A0&body=In%20allegato%20l%27elenco.%0D%0ACordiali"
                                          "%20saluti")}));
    InvioEmailSmtp::ImpostaProgrammaPosta([](const QStringList &) { return false; });
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Errore);
    EXPECT_EQ(errore, QStringLiteral("impossibile aprire il programma di posta"));

    // A log that cannot be written is said, once.
    opz.ImpostaParStampa(QStringLiteral("EmailFileLog"), dir.filePath(QStringLiteral("manca/email.log")));
    invio.Invia(opz, pdf, errore);
    EXPECT_TRUE(invio.Avviso.contains(QStringLiteral("manca/email.log"))) << invio.Avviso.toStdString();
    invio.Invia(opz, pdf, errore);
    EXPECT_TRUE(invio.Avviso.isEmpty());
    InvioEmailSmtp::ImpostaProgrammaPosta({});
}

TEST_F(InvioEmailTest, ControlCharactersNeverReachTheServer)
{
    const QStringList prima = server->Messaggi();
    const OpzStampa iniziale = opz;
    // Each would add a recipient or a header line; refused, naming the field.
    const std::tuple<const char *, const char *, const char *> casi[] = {
        {"EmailTo", "cliente@esempio.it>\r\nRCPT TO:<spia1@esempio.it", "Indir. Email a cui si invia"},
        {"EmailTo", "mario@cliente.it; \"Anna\nBcc: spia2@esempio.it\" <anna@cliente.it>",
         "Indir. Email a cui si invia"},
        {"EmailTo", "mario@cliente.it\u2028RCPT TO:<spia3@esempio.it>", "Indir. Email a cui si invia"},
        {"EmailReplay", "r@demo.it\r\nBcc: spia4@esempio.it", "Indirizzo di replay"},
        {"EmailInd", "vendite@ditta.it>\r\nRCPT TO:<spia5@esempio.it", "Indirizzo email di chi invia"},
        {"EmailCentro", "Vendite\r\nBcc: spia6@esempio.it", "Descriz. email di invio(centro)"}};
    for (const auto &[chiave, valore, campo] : casi) {
        opz = iniziale;
        opz.ImpostaParStampa(QString::fromLatin1(chiave), QString::fromUtf8(valore));
        QString errore;
        EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Errore) << valore;
        EXPECT_TRUE(errore.contains(QStringLiteral("\"%1\"").arg(QString::fromLatin1(campo))))
            << errore.toStdString();
    }
    // The subject is sent encoded, whatever it holds.
    opz = iniziale;
    opz.ImpostaParStampa(QStringLiteral("EmailOggetto"), QStringLiteral("Elenco\r\nBcc: spia7@esempio.it"));
    QString errore;
    ASSERT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Inviato) << errore.toStdString();
    const QString file = server->AttendiNuovo(
        prima, [&](const PostaRicevuta &m) { return m.parti.size() == 2 && m.parti[1].dati == byte; });
    ASSERT_FALSE(file.isEmpty());
    const PostaRicevuta m = PostaRicevuta::Leggi(file);
    EXPECT_FALSE(m.intestazioni.contains(QStringLiteral("bcc")));
    EXPECT_EQ(m.Intestazione(QStringLiteral("X-RcptTo")), QStringLiteral("mario@cliente.it,anna@cliente.it"));
    // Nothing of the refused ones arrived before it.
    for (const QString &f : server->Messaggi()) {
        if (!prima.contains(f)) {
            EXPECT_FALSE(PostaRicevuta::Leggi(f).grezzo.contains("spia")) << f.toStdString();
        }
    }
}

TEST_F(InvioEmailTest, AStopEndsTheSendToAServerThatNeverAnswers)
{
    QTcpServer muto; // takes the connection and says nothing
    ASSERT_TRUE(muto.listen(QHostAddress::LocalHost));
    opz.ImpostaParStampa(QStringLiteral("EmailNumPorta"), int(muto.serverPort()));
    // The stop button is pressed while the send waits: events must go on.
    bool fermata = false;
    QTimer::singleShot(0, [&] { fermata = true; });
    invio.Fermata = [&] { return fermata; };
    QString errore;
    EXPECT_EQ(invio.Invia(opz, pdf, errore), InvioEmail::Esito::Interrotto) << errore.toStdString();
    EXPECT_TRUE(QFileInfo::exists(pdf));
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(f.readAll()).contains(QStringLiteral("Non inviata: invio interrotto")));
}

TEST(InvioEmailSmtp, AddressesAndHeaders)
{
    EXPECT_EQ(InvioEmailSmtp::Indirizzi(QStringLiteral(" a@x.it;b@y.it , \"Rossi; Bianchi\" <c@z.it>;")),
              (QStringList{QStringLiteral("a@x.it"), QStringLiteral("b@y.it"), QStringLiteral("c@z.it")}));
    EXPECT_EQ(InvioEmailSmtp::Intestazione(QStringLiteral("Elenco")), QByteArray("Elenco"));
    // Long non-ASCII texts become several words, none splitting a character.
    const QString lungo = QStringLiteral("Così è la città: perché più già ").repeated(3);
    const QByteArray h = InvioEmailSmtp::Intestazione(lungo);
    QString riletto;
    for (const QByteArray &parola : h.split('\n')) {
        const QByteArray p = parola.trimmed();
        ASSERT_TRUE(p.startsWith("=?UTF-8?B?") && p.endsWith("?=")) << p.toStdString();
        const QByteArray dati = QByteArray::fromBase64(p.mid(10, p.size() - 12));
        EXPECT_LE(dati.size(), 45);
        EXPECT_EQ(QString::fromUtf8(dati).toUtf8(), dati) << "a whole number of characters";
        riletto += QString::fromUtf8(dati);
    }
    EXPECT_EQ(riletto, lungo);
    EXPECT_EQ(InvioEmailSmtp::Mittente(QStringLiteral("a@x.it"), QStringLiteral("Vendite")),
              QStringLiteral("\"Vendite\" <a@x.it>"));
    EXPECT_EQ(InvioEmailSmtp::Mittente(QStringLiteral("\"\" <a@x.it>"), QStringLiteral("Vendite")),
              QStringLiteral("\"\" <a@x.it>"));
    EXPECT_EQ(InvioEmailSmtp::Mittente(QStringLiteral("a@x.it"), QString()), QStringLiteral("a@x.it"));
    EXPECT_EQ(InvioEmailSmtp::Indirizzo(QStringLiteral("smtp.x.it"), 0, false),
              QStringLiteral("smtp://smtp.x.it:25"));
    EXPECT_EQ(InvioEmailSmtp::Indirizzo(QStringLiteral("smtp.x.it"), 0, true),
              QStringLiteral("smtps://smtp.x.it:465"));
    EXPECT_EQ(InvioEmailSmtp::Indirizzo(QStringLiteral("smtp.x.it"), 587, true),
              QStringLiteral("smtp://smtp.x.it:587"));
    EXPECT_EQ(InvioEmailSmtp::Indirizzo(QStringLiteral("::1"), 25, false), QStringLiteral("smtp://[::1]:25"));
}
