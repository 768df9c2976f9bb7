// Addresses and header lines of the mailer, read as their readers read them:
// the message the local SMTP receiver kept, decoded by Python's e-mail
// package, and the mailto URL xdg-email builds from the arguments the
// desktop mail program gets.
#include "BancoInvioEmail.h"

#include <QDir>
#include <QJsonArray>
#include <QRegularExpression>
#include <QUrl>
#include <QUuid>
#include <algorithm>

namespace
{

class IntestazioniEmail : public BancoInvioEmail
{
  protected:
    // Sends with a marker in the text and gives back the file the receiver
    // `s` kept ("" when it was not sent).
    QString invia(ServerSmtp *s, QString &errore)
    {
        const QString segno = QUuid::createUuid().toString(QUuid::WithoutBraces);
        opz.ImpostaParStampa(QStringLiteral("EmailTesto"), QStringLiteral("Riga ") + segno);
        opz.ImpostaParStampa(QStringLiteral("EmailNumPorta"), s->porta);
        const QStringList prima = s->Messaggi();
        if (invio.Invia(opz, pdf, errore) != InvioEmail::Esito::Inviato)
            return {};
        return s->AttendiNuovo(prima, [&](const PostaRicevuta &m) {
            return !m.parti.isEmpty() && m.parti[0].dati.contains(segno.toLatin1());
        });
    }
};

// What xdg-email makes of its arguments: it takes --subject, --body, --to,
// --cc, --bcc and --attach with their values percent-encoded, keeps the last
// "mailto:" argument as it is (a bare address is the first recipient or one
// more "to"), and appends its options to that URL. Mail programs then read
// the recipients before the "?" and a "name=value" pair at each "&".
struct Mailto {
    bool valido = true;
    QStringList a;
    QMultiHash<QString, QString> campi; // every other pair, lower-case names
};

Mailto comeXdgEmail(const QStringList &argomenti)
{
    Mailto r;
    const auto codifica = [](const QString &s) { return QString::fromLatin1(QUrl::toPercentEncoding(s)); };
    QString mailto;
    QStringList opzioni;
    for (qsizetype i = 0; i < argomenti.size(); ++i) {
        const QString &p = argomenti[i];
        static const QStringList conValore{QStringLiteral("--to"),   QStringLiteral("--cc"),
                                           QStringLiteral("--bcc"),  QStringLiteral("--subject"),
                                           QStringLiteral("--body"), QStringLiteral("--attach")};
        if (p == QLatin1String("--utf8"))
            continue;
        if (conValore.contains(p) && i + 1 < argomenti.size())
            opzioni << p.mid(2) + QLatin1Char('=') + codifica(argomenti[++i]);
        else if (p.startsWith(QLatin1Char('-')))
            r.valido = false;
        else if (p.startsWith(QLatin1String("mailto:")))
            mailto = p;
        else if (p.contains(QLatin1Char('@')) && mailto.isEmpty())
            mailto = QStringLiteral("mailto:") + codifica(p) + QLatin1Char('?');
        else if (p.contains(QLatin1Char('@')))
            opzioni << QStringLiteral("to=") + codifica(p);
        else
            r.valido = false;
    }
    QString url = mailto.isEmpty() ? QStringLiteral("mailto:?") : mailto;
    if (!opzioni.isEmpty())
        url += (url.endsWith(QLatin1Char('?'))   ? QString()
                : url.contains(QLatin1Char('?')) ? QStringLiteral("&")
                                                 : QStringLiteral("?")) +
               opzioni.join(QLatin1Char('&'));
    const QString resto = url.mid(7);
    const qsizetype q = resto.indexOf(QLatin1Char('?'));
    const auto decodifica = [](const QString &s) { return QUrl::fromPercentEncoding(s.toUtf8()); };
    for (const QString &d : resto.left(q).split(QLatin1Char(','), Qt::SkipEmptyParts))
        r.a << decodifica(d);
    const QString campi = q < 0 ? QString() : resto.mid(q + 1);
    for (const QString &coppia : campi.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const QString nome = coppia.section(QLatin1Char('='), 0, 0).toLower();
        const QString valore = decodifica(coppia.section(QLatin1Char('='), 1));
        if (nome == QLatin1String("to"))
            r.a << valore.split(QLatin1Char(','));
        else
            r.campi.insert(nome, valore);
    }
    return r;
}

// The lines of the header block the mailer wrote (the receiver's envelope
// lines left out), each with its field's lower-case name.
QList<std::pair<QByteArray, QByteArray>> righeIntestazione(const QByteArray &grezzo)
{
    QList<std::pair<QByteArray, QByteArray>> r;
    QByteArray campo;
    for (QByteArray riga : grezzo.left(grezzo.indexOf("\r\n\r\n")).split('\n')) {
        if (riga.endsWith('\r'))
            riga.chop(1);
        if (!riga.startsWith(' ') && !riga.startsWith('\t'))
            campo = riga.left(riga.indexOf(':')).toLower();
        if (campo != "x-mailfrom" && campo != "x-rcptto")
            r.append({campo, riga});
    }
    return r;
}

// The texts of a JSON array, one a line.
std::string testi(const QJsonValue &v)
{
    QStringList r;
    for (const QJsonValue &x : v.toArray())
        r << x.toString();
    return r.join(QLatin1Char('\n')).toStdString();
}

std::string righe(const QStringList &l)
{
    return l.join(QLatin1Char('\n')).toStdString();
}

} // namespace

TEST_F(IntestazioniEmail, ADesktopMailProgramGetsEveryAddressAndTextAsItIs)
{
    QStringList argomenti;
    bool chiamato = false;
    InvioEmailSmtp::ImpostaProgrammaPosta([&](const QStringList &a) {
        argomenti = a;
        chiamato = true;
        return true;
    });
    opz.ImpostaParStampa(QStringLiteral("EmailTipoInvio"), QStringLiteral("O"));
    const QString oggetto = QStringLiteral("Elenco & bcc=spia@esempio.it?cc=x");
    const QString testo = QStringLiteral("Saluti\n&attach=/etc/passwd&bcc=spia@esempio.it");
    // The recipients' field; the recipients the mail program shows (none: refused, naming the field).
    const std::pair<const char *, QStringList> casi[] = {
        {"cliente@esempio.it?bcc=spia@esempio.it", {}},
        {"cliente@esempio.it?attach=/etc/passwd", {}},
        {"mario@cliente.it&cc=spia@esempio.it", {}},
        {"--attach; /etc/passwd", {}},
        {"mario@cliente.it; \"Anna, amm.\" <anna@cliente.it>",
         {QStringLiteral("mario@cliente.it"), QStringLiteral("anna@cliente.it")}},
        {"cliente?bcc=spia@esempio.it", {QStringLiteral("cliente?bcc=spia@esempio.it")}},
        {"uno%3Fbcc%3Dspia@esempio.it,due#x@esempio.it",
         {QStringLiteral("uno%3Fbcc%3Dspia@esempio.it"), QStringLiteral("due#x@esempio.it")}},
        {"cliènte@città.it", {QStringLiteral("cliènte@città.it")}}};
    for (const auto &[destinatari, attesi] : casi) {
        SCOPED_TRACE(destinatari);
        chiamato = false;
        opz.ImpostaParStampa(QStringLiteral("EmailTo"), QString::fromUtf8(destinatari));
        opz.ImpostaParStampa(QStringLiteral("EmailOggetto"), oggetto);
        opz.ImpostaParStampa(QStringLiteral("EmailTesto"), testo);
        QString errore;
        const InvioEmail::Esito esito = invio.Invia(opz, pdf, errore);
        if (attesi.isEmpty()) {
            EXPECT_EQ(esito, InvioEmail::Esito::Errore);
            EXPECT_FALSE(chiamato);
            EXPECT_TRUE(errore.startsWith(QStringLiteral("il campo \"Indir. Email a cui si invia\" dei "
                                                         "parametri email contiene l'indirizzo non valido")))
                << errore.toStdString();
            continue;
        }
        ASSERT_EQ(esito, InvioEmail::Esito::Consegnato) << errore.toStdString();
        const Mailto m = comeXdgEmail(argomenti);
        EXPECT_TRUE(m.valido);
        EXPECT_EQ(righe(m.a), righe(attesi));
        EXPECT_EQ(m.campi.value(QStringLiteral("subject")), oggetto);
        EXPECT_EQ(m.campi.value(QStringLiteral("body")).replace(QLatin1String("\r\n"), QLatin1String("\n")),
                  testo);
        EXPECT_EQ(m.campi.values(QStringLiteral("attach")), QStringList{pdf});
        EXPECT_EQ(m.campi.size(), 3) << "no other field";
    }
    InvioEmailSmtp::ImpostaProgrammaPosta({});
}

TEST_F(IntestazioniEmail, LongHeadersArriveWholeInFoldedLines)
{
    QStringList ottanta;
    for (int i = 1; i <= 80; ++i)
        ottanta << QStringLiteral("cliente%1@esempio.it").arg(i, 2, 10, QLatin1Char('0'));
    const QString accentato =
        QStringLiteral("Elenco clienti – città già più perché è ").repeated(30).left(1000);
    const QString ascii = QStringLiteral("Elenco clienti del mese ").repeated(45).left(1000);
    const QString parola = QStringLiteral("ElencoClienti").repeated(80).left(1000);
    const QString centro =
        QStringLiteral("Ufficio vendite della Società Cooperativa – sede di Forlì ").repeated(3);
    // Recipients, subject, centre.
    const std::tuple<QStringList, QString, QString> casi[] = {
        {ottanta, QStringLiteral("Elenco"), QStringLiteral("Vendite")},
        {{QStringLiteral("mario@cliente.it")}, accentato, QStringLiteral("Vendite")},
        {{QStringLiteral("mario@cliente.it")}, ascii, QStringLiteral("Vendite")},
        {{QStringLiteral("mario@cliente.it")}, parola, centro.trimmed()}};
    for (const auto &[destinatari, oggetto, nome] : casi) {
        SCOPED_TRACE(oggetto.left(20).toStdString());
        opz.ImpostaParStampa(QStringLiteral("EmailTo"), destinatari.join(QStringLiteral("; ")));
        opz.ImpostaParStampa(QStringLiteral("EmailOggetto"), oggetto);
        opz.ImpostaParStampa(QStringLiteral("EmailCentro"), nome);
        QString errore;
        const QString file = invia(server, errore);
        ASSERT_FALSE(file.isEmpty()) << errore.toStdString() << " " << invio.Dettaglio.toStdString();
        const PostaRicevuta posta = PostaRicevuta::Leggi(file);
        EXPECT_EQ(posta.intestazioni.value(QStringLiteral("x-rcptto")), destinatari.join(QLatin1Char(',')));
        const QJsonObject letta = PostaRicevuta::LettaDaPython(file);
        ASSERT_FALSE(letta.isEmpty());
        EXPECT_EQ(letta[QStringLiteral("subject")][QStringLiteral("testo")].toString().toStdString(),
                  oggetto.toStdString());
        EXPECT_EQ(testi(letta[QStringLiteral("to")][QStringLiteral("indirizzi")]), righe(destinatari));
        EXPECT_EQ(testi(letta[QStringLiteral("from")][QStringLiteral("nomi")]), nome.toStdString());
        EXPECT_EQ(testi(letta[QStringLiteral("from")][QStringLiteral("indirizzi")]), "vendite@ditta.it");
        for (const char *h : {"subject", "to", "from", "reply-to"})
            EXPECT_TRUE(letta[QLatin1String(h)][QStringLiteral("difetti")].toArray().isEmpty()) << h;
        // Every line within 998 characters; those of the fields the mailer
        // writes within 78 (libcurl writes the MIME ones), every encoded
        // word within 75.
        static const QRegularExpression parolaCodificata(
            QStringLiteral("=\\?[^?\\s]+\\?[BQbq]\\?[^?\\s]*\\?="));
        for (const auto &[campo, riga] : righeIntestazione(posta.grezzo)) {
            EXPECT_LE(riga.size(), 998) << riga.toStdString();
            if (campo != "content-type" && campo != "mime-version") {
                EXPECT_LE(riga.size(), 78) << riga.toStdString();
            }
            auto it = parolaCodificata.globalMatch(QString::fromLatin1(riga));
            while (it.hasNext())
                EXPECT_LE(it.next().capturedLength(), 75) << riga.toStdString();
        }
    }
}

TEST_F(IntestazioniEmail, AddressesOutsideAsciiGoOnlyWhereTheServerTakesThem)
{
    QString motivo;
    const std::unique_ptr<ServerSmtp> utf8 = ServerSmtp::Privato({QStringLiteral("--smtputf8")}, &motivo);
    ASSERT_NE(utf8, nullptr) << motivo.toStdString();
    const OpzStampa iniziale = opz;
    // Field, value, receiver offering SMTPUTF8; the field named in the
    // refusal, or the envelope's recipients and sender as they arrived.
    const std::tuple<const char *, const char *, bool, const char *, const char *, const char *> casi[] = {
        {"EmailTo", "cliènte@esempio.it", false, "Indir. Email a cui si invia", "", ""},
        {"EmailInd", "vendìte@ditta.it", false, "Indirizzo email di chi invia", "", ""},
        {"EmailReplay", "rìsposte@ditta.it", false, "Indirizzo di replay", "", ""},
        {"EmailTo", "mario@città.it", false, nullptr, "mario@xn--citt-3na.it", "vendite@ditta.it"},
        {"EmailInd", "vendite@società.it", false, nullptr, "mario@cliente.it,anna@cliente.it",
         "vendite@xn--societ-nta.it"},
        {"EmailTo", "cliènte@esempio.it", true, nullptr, "cliènte@esempio.it", "vendite@ditta.it"},
        {"EmailInd", "vendìte@ditta.it", true, nullptr, "mario@cliente.it,anna@cliente.it",
         "vendìte@ditta.it"}};
    for (const auto &[chiave, valore, conUtf8, campo, rcpt, mittente] : casi) {
        SCOPED_TRACE(std::string(chiave) + " " + valore);
        opz = iniziale;
        opz.ImpostaParStampa(QString::fromLatin1(chiave), QString::fromUtf8(valore));
        QString errore;
        const QString file = invia(conUtf8 ? utf8.get() : server, errore);
        if (campo) {
            EXPECT_TRUE(file.isEmpty());
            EXPECT_TRUE(errore.startsWith(QStringLiteral("il campo \"%1\" dei parametri email contiene "
                                                         "l'indirizzo \"%2\"")
                                              .arg(QString::fromUtf8(campo), QString::fromUtf8(valore))))
                << errore.toStdString();
            continue;
        }
        ASSERT_FALSE(file.isEmpty()) << errore.toStdString() << " " << invio.Dettaglio.toStdString();
        const PostaRicevuta posta = PostaRicevuta::Leggi(file);
        EXPECT_EQ(posta.intestazioni.value(QStringLiteral("x-rcptto")), QString::fromUtf8(rcpt));
        EXPECT_EQ(posta.intestazioni.value(QStringLiteral("x-mailfrom")), QString::fromUtf8(mittente));
        // The To header names the same recipients.
        const QJsonObject letta = PostaRicevuta::LettaDaPython(file);
        EXPECT_EQ(testi(letta[QStringLiteral("to")][QStringLiteral("indirizzi")]),
                  QString::fromUtf8(rcpt).replace(QLatin1Char(','), QLatin1Char('\n')).toStdString());
    }
}

// The attachment keeps its name whatever it holds, and its header lines stay
// plain ASCII within 78 characters; a plain name that fits a line goes quoted as it
// always did.
TEST_F(IntestazioniEmail, TheAttachmentArrivesUnderItsOwnName)
{
    // The name; its header line when it goes as a plain quoted name.
    const std::pair<QString, const char *> casi[] = {
        {QStringLiteral("Elenco_clienti.pdf"), "attachment; filename=\"Elenco_clienti.pdf\""},
        {QStringLiteral("Elenco \"clienti\" 2024.pdf"),
         "attachment; filename=\"Elenco \\\"clienti\\\" 2024.pdf\""},
        {QStringLiteral("Elenco \"clienti\" di Sant'Agata.pdf"), nullptr},
        {QStringLiteral("Città, perché è già più – Forlì.pdf"), nullptr},
        {QStringLiteral("Lista_Clienti_-_Demo_Commerciale_").repeated(4) + QStringLiteral("2024.pdf"),
         nullptr},
        {QStringLiteral("Anagrafica clienti – società già attive a Forlì ").repeated(2) +
             QStringLiteral("€.pdf"),
         nullptr}};
    const QString modello = pdf;
    QDir().mkpath(dir.filePath(QStringLiteral("allegati")));
    for (const auto &[nome, semplice] : casi) {
        SCOPED_TRACE(nome.toStdString());
        pdf = dir.filePath(QStringLiteral("allegati/") + nome);
        ASSERT_TRUE(QFile::copy(modello, pdf));
        QString errore;
        const QString file = invia(server, errore);
        ASSERT_FALSE(file.isEmpty()) << errore.toStdString() << " " << invio.Dettaglio.toStdString();
        EXPECT_EQ(PostaRicevuta::AllegatiDaPython(file), QStringList{nome});
        const QByteArray grezzo = PostaRicevuta::Leggi(file).grezzo;
        const qsizetype inizio = grezzo.indexOf("Content-Disposition:");
        // The field's lines: the first, and those that go on with a blank.
        QList<QByteArray> righe;
        for (QByteArray riga : grezzo.mid(inizio).split('\n')) {
            if (!righe.isEmpty() && !riga.startsWith(' '))
                break;
            righe << riga.chopped(1);
            EXPECT_LE(righe.last().size(), 78) << riga.toStdString();
            EXPECT_TRUE(std::all_of(riga.begin(), riga.end(), [](char c) { return uchar(c) < 128; }))
                << "plain ASCII";
        }
        if (semplice) {
            EXPECT_EQ(righe, QList<QByteArray>{"Content-Disposition: " + QByteArray(semplice)});
        }
    }
}
