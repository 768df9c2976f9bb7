// Sending a finished PDF by e-mail: SMTP through libcurl, or the desktop's
// mail program.
#include "components/stampa/InvioEmailSmtp.h"

#include "components/stampa/OpzStampa.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <curl/curl.h>
#include <memory>
#include <mutex>
#include <thread>

namespace
{

InvioEmailSmtp::ProgrammaPosta &programmaPosta()
{
    static InvioEmailSmtp::ProgrammaPosta p;
    return p;
}

QString testo(const OpzStampa &opz, const char *chiave)
{
    return opz.ParStampa(QString::fromLatin1(chiave)).toString().trimmed();
}

bool eSi(const QString &v)
{
    return v.trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

bool ascii(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() > 126 || (c.unicode() < 32 && c != u'\t'))
            return false;
    return true;
}

// A character that ends a header line or an SMTP command, or has no place in
// one: libcurl hands addresses and headers to the server as they are.
bool haControllo(const QString &s)
{
    for (const QChar c : s) {
        if (c == u'\t')
            continue;
        const QChar::Category k = c.category();
        if (c.unicode() < 32 || c.unicode() == 127 || k == QChar::Other_Control ||
            k == QChar::Separator_Line || k == QChar::Separator_Paragraph)
            return true;
    }
    return false;
}

// The bare address of "Name <a@b>" or "a@b".
QString nudo(const QString &voce)
{
    const qsizetype apre = voce.lastIndexOf(u'<');
    const qsizetype chiude = voce.lastIndexOf(u'>');
    if (apre >= 0 && chiude > apre)
        return voce.mid(apre + 1, chiude - apre - 1).trimmed();
    return voce.trimmed();
}

// A display-form address for a header: the name part in RFC 2047 form when
// it needs it.
QByteArray intestazioneIndirizzo(const QString &voce)
{
    const QString indirizzo = nudo(voce);
    const qsizetype apre = voce.lastIndexOf(u'<');
    QString nome = apre > 0 ? voce.left(apre).trimmed() : QString();
    if (nome.size() >= 2 && nome.startsWith(u'"') && nome.endsWith(u'"'))
        nome = nome.mid(1, nome.size() - 2);
    if (nome.isEmpty())
        return indirizzo.toUtf8();
    QByteArray parteNome;
    if (ascii(nome)) {
        QString q = nome;
        q.replace(QLatin1String("\\"), QLatin1String("\\\\"))
            .replace(QLatin1String("\""), QLatin1String("\\\""));
        parteNome = '"' + q.toLatin1() + '"';
    } else {
        parteNome = InvioEmailSmtp::Intestazione(nome);
    }
    return parteNome + " <" + indirizzo.toUtf8() + '>';
}

QByteArray dataRfc(const QDateTime &quando)
{
    const int scarto = quando.offsetFromUtc() / 60;
    const QString segno = scarto < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return (QLocale::c().toString(quando, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")) + segno +
            QStringLiteral("%1%2")
                .arg(qAbs(scarto) / 60, 2, 10, QLatin1Char('0'))
                .arg(qAbs(scarto) % 60, 2, 10, QLatin1Char('0')))
        .toLatin1();
}

void inizializzaCurl()
{
    static std::once_flag fatto;
    std::call_once(fatto, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct LiberaCurl {
    void operator()(CURL *c) const { curl_easy_cleanup(c); }
};
struct LiberaLista {
    void operator()(curl_slist *l) const { curl_slist_free_all(l); }
};
struct LiberaMime {
    void operator()(curl_mime *m) const { curl_mime_free(m); }
};

void aggiungi(std::unique_ptr<curl_slist, LiberaLista> &lista, const QByteArray &riga)
{
    curl_slist *nuova = curl_slist_append(lista.get(), riga.constData());
    if (nuova) {
        (void)lista.release();
        lista.reset(nuova);
    }
}

CURLcode eseguiFuoriFinestra(CURL *c, const std::function<bool()> &fermata)
{
    // The transfer runs on a thread of its own while this one keeps the
    // windows alive (the progress window's stop button among them); the
    // progress callback ends it once a stop was asked.
    std::atomic<bool> ferma{false};
    curl_xferinfo_callback avanzamento = [](void *dati, curl_off_t, curl_off_t, curl_off_t,
                                            curl_off_t) -> int {
        return static_cast<std::atomic<bool> *>(dati)->load() ? 1 : 0;
    };
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, avanzamento);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &ferma);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    if (!QCoreApplication::instance())
        return curl_easy_perform(c);
    QEventLoop attesa;
    CURLcode r = CURLE_OK;
    std::thread invio([&] {
        r = curl_easy_perform(c);
        QMetaObject::invokeMethod(&attesa, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer controllo;
    controllo.setInterval(100);
    QObject::connect(&controllo, &QTimer::timeout, &attesa, [&] {
        if (fermata && fermata())
            ferma = true;
    });
    controllo.start();
    attesa.exec();
    invio.join();
    return r;
}

} // namespace

void InvioEmailSmtp::ImpostaProgrammaPosta(ProgrammaPosta programma)
{
    programmaPosta() = std::move(programma);
}

QString InvioEmailSmtp::CampoNonValido(const QString &valore, bool elenco)
{
    if (haControllo(valore))
        return QStringLiteral("contiene un a capo o un carattere di controllo");
    const QStringList indirizzi = elenco ? Indirizzi(valore) : QStringList{nudo(valore)};
    for (const QString &a : indirizzi)
        if (a.contains(QRegularExpression(QStringLiteral("[\\s<>]"))))
            return QStringLiteral("contiene l'indirizzo non valido \"%1\"").arg(a);
    return {};
}

QStringList InvioEmailSmtp::Indirizzi(const QString &elenco)
{
    QStringList r;
    // Separators outside a quoted display name.
    QString voce;
    bool virgolette = false;
    const auto chiudi = [&] {
        const QString a = nudo(voce);
        if (!a.isEmpty())
            r << a;
        voce.clear();
    };
    for (const QChar c : elenco) {
        if (c == u'"')
            virgolette = !virgolette;
        if (!virgolette && (c == u';' || c == u','))
            chiudi();
        else
            voce += c;
    }
    chiudi();
    return r;
}

QByteArray InvioEmailSmtp::Intestazione(const QString &testo)
{
    if (ascii(testo))
        return testo.toLatin1();
    // Encoded words of at most 45 bytes of UTF-8, never splitting a character.
    QList<QByteArray> parole;
    QByteArray corrente;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        qsizetype n = testo[i].isHighSurrogate() && i + 1 < testo.size() ? 2 : 1;
        const QByteArray b = testo.mid(i, n).toUtf8();
        i += n - 1;
        if (corrente.size() + b.size() > 45) {
            parole << corrente;
            corrente.clear();
        }
        corrente += b;
    }
    if (!corrente.isEmpty())
        parole << corrente;
    QByteArray r;
    for (const QByteArray &p : parole) {
        if (!r.isEmpty())
            r += "\r\n ";
        r += "=?UTF-8?B?" + p.toBase64() + "?=";
    }
    return r;
}

QString InvioEmailSmtp::Mittente(const QString &indirizzo, const QString &centro)
{
    const QString a = indirizzo.trimmed();
    if (a.isEmpty() || a.contains(u'<') || centro.trimmed().isEmpty())
        return a;
    return QLatin1Char('"') + centro.trimmed() + QStringLiteral("\" <") + a + QLatin1Char('>');
}

QString InvioEmailSmtp::Indirizzo(const QString &server, int porta, bool ssl)
{
    if (porta <= 0)
        porta = ssl ? 465 : 25;
    const bool diretto = ssl && porta == 465;
    QString host = server.trimmed();
    if (host.contains(u':') && !host.startsWith(u'['))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return (diretto ? QStringLiteral("smtps://") : QStringLiteral("smtp://")) + host + QLatin1Char(':') +
           QString::number(porta);
}

InvioEmail::Esito InvioEmailSmtp::Invia(OpzStampa &opz, const QString &filePdf, QString &errore)
{
    errore.clear();
    Dettaglio.clear();
    Avviso.clear();
    const QString tipo = testo(opz, "EmailTipoInvio").toUpper();
    Esito esito = Esito::Errore;
    if (tipo != QLatin1String("O") && tipo != QLatin1String("S") && tipo != QLatin1String("C") &&
        tipo != QLatin1String("E"))
        errore = QStringLiteral("il tipo di invio della configurazione email in uso non è impostato");
    else if (!controllaCampi(opz, filePdf, errore))
        esito = Esito::Errore;
    else if (tipo == QLatin1String("O"))
        esito = inviaProgrammaPosta(opz, filePdf, errore);
    else
        esito = inviaSmtp(opz, filePdf, errore);
    const QString log = testo(opz, "EmailFileLog");
    if (log.isEmpty())
        return esito;
    QString come;
    switch (esito) {
    case Esito::Inviato:
        come = QStringLiteral("Inviata");
        break;
    case Esito::Consegnato:
        come = QStringLiteral("Consegnata al programma di posta (non ancora inviata)");
        break;
    case Esito::Interrotto:
        come = QStringLiteral("Non inviata: invio interrotto dall'utente");
        break;
    default:
        come = QStringLiteral("Non inviata: ") + errore +
               (Dettaglio.isEmpty() ? QString() : QStringLiteral(" (") + Dettaglio + QLatin1Char(')'));
        break;
    }
    if (!ScriviLogEmail(log, RigaLogEmail(QDateTime::currentDateTime(), opz, filePdf, come))) {
        // Said once for each log file, not at every print.
        static QSet<QString> detti;
        if (!detti.contains(log)) {
            detti.insert(log);
            Avviso =
                QStringLiteral("Il file di log email %1 non può essere scritto: controllare \"File di log "
                               "email\" nei parametri email.")
                    .arg(log);
        }
    }
    return esito;
}

bool InvioEmailSmtp::controllaCampi(const OpzStampa &opz, const QString &filePdf, QString &errore)
{
    // Every value that reaches a header or an SMTP command; the subject is
    // always safe (a text with control characters is sent encoded).
    const std::tuple<const char *, const char *, bool> campi[] = {
        {"EmailTo", "Indir. Email a cui si invia", true},
        {"EmailInd", "Indirizzo email di chi invia", false},
        {"EmailReplay", "Indirizzo di replay", false},
        {"EmailCentro", "Descriz. email di invio(centro)", false}};
    for (const auto &[chiave, campo, elenco] : campi) {
        const QString valore = testo(opz, chiave);
        if (valore.isEmpty())
            continue;
        const QString motivo =
            qstrcmp(chiave, "EmailCentro") == 0
                ? (haControllo(valore) ? QStringLiteral("contiene un a capo o un carattere di "
                                                        "controllo")
                                       : QString())
                : CampoNonValido(valore, elenco);
        if (!motivo.isEmpty()) {
            errore =
                QStringLiteral("il campo \"%1\" dei parametri email %2: correggerlo e ripetere la stampa")
                    .arg(QString::fromLatin1(campo), motivo);
            return false;
        }
    }
    if (haControllo(QFileInfo(filePdf).fileName())) {
        errore =
            QStringLiteral("il nome del file %1 contiene un a capo o un carattere di controllo").arg(filePdf);
        return false;
    }
    return true;
}

InvioEmail::Esito InvioEmailSmtp::inviaProgrammaPosta(OpzStampa &opz, const QString &filePdf, QString &errore)
{
    QStringList argomenti{QStringLiteral("--utf8")};
    const QString oggetto = opz.ParStampa(QStringLiteral("EmailOggetto")).toString();
    const QString corpo = opz.ParStampa(QStringLiteral("EmailTesto")).toString();
    if (!oggetto.isEmpty())
        argomenti << QStringLiteral("--subject") << oggetto;
    if (!corpo.isEmpty())
        argomenti << QStringLiteral("--body") << corpo;
    argomenti << QStringLiteral("--attach") << filePdf;
    const QStringList destinatari = Indirizzi(testo(opz, "EmailTo"));
    for (const QString &d : destinatari)
        argomenti << QStringLiteral("mailto:") + d;
    const bool partito = programmaPosta() ? programmaPosta()(argomenti)
                                          : QProcess::startDetached(QStringLiteral("xdg-email"), argomenti);
    if (!partito) {
        errore = QStringLiteral("impossibile aprire il programma di posta");
        Dettaglio = QStringLiteral("xdg-email non si è avviato");
        return Esito::Errore;
    }
    // Only a message window opened: the user sends it from there.
    return Esito::Consegnato;
}

InvioEmail::Esito InvioEmailSmtp::inviaSmtp(OpzStampa &opz, const QString &filePdf, QString &errore)
{
    const QString server = testo(opz, "EmailServerSMTP");
    const QStringList destinatari = Indirizzi(testo(opz, "EmailTo"));
    const QString mittente = Mittente(testo(opz, "EmailInd"), testo(opz, "EmailCentro"));
    if (server.isEmpty()) {
        errore = QStringLiteral("manca il server SMTP");
        return Esito::Errore;
    }
    if (destinatari.isEmpty()) {
        errore = QStringLiteral("manca l'indirizzo a cui inviare");
        return Esito::Errore;
    }
    if (nudo(mittente).isEmpty()) {
        errore = QStringLiteral("manca l'indirizzo email di chi invia");
        return Esito::Errore;
    }
    if (!QFileInfo(filePdf).isFile()) {
        errore = QStringLiteral("il file %1 non esiste").arg(filePdf);
        return Esito::Errore;
    }
    const QByteArray login = testo(opz, "EmailLogin").toUtf8();
    const QByteArray password = opz.ParStampa(QStringLiteral("EmailPwd")).toString().toUtf8();
    // A password not stored (it is typed at each session) is asked for, not
    // sent empty to come back as a refused login.
    if (!login.isEmpty() && password.isEmpty()) {
        errore = QStringLiteral("manca la password per l'invio dell'email");
        return Esito::DatiMancanti;
    }

    inizializzaCurl();
    std::unique_ptr<CURL, LiberaCurl> curl(curl_easy_init());
    if (!curl) {
        errore = QStringLiteral("impossibile preparare l'invio");
        return Esito::Errore;
    }
    CURL *c = curl.get();
    const bool ssl = eSi(testo(opz, "EmailUsaSSL"));
    const QByteArray url = Indirizzo(server, opz.ParIntero(QStringLiteral("EmailNumPorta")), ssl).toUtf8();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    // SSL asked: the whole session under TLS; otherwise TLS when the server offers it.
    curl_easy_setopt(c, CURLOPT_USE_SSL, long(ssl ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!login.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, login.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }
    const QByteArray da = nudo(mittente).toUtf8();
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, ('<' + da + '>').constData());
    std::unique_ptr<curl_slist, LiberaLista> rcpt;
    for (const QString &d : destinatari)
        aggiungi(rcpt, '<' + d.toUtf8() + '>');
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());

    const QDateTime adesso = QDateTime::currentDateTime();
    std::unique_ptr<curl_slist, LiberaLista> intestazioni;
    aggiungi(intestazioni, "Date: " + dataRfc(adesso));
    aggiungi(intestazioni, "From: " + intestazioneIndirizzo(mittente));
    QByteArray a;
    for (const QString &d : destinatari)
        a += (a.isEmpty() ? "" : ", ") + d.toUtf8();
    aggiungi(intestazioni, "To: " + a);
    const QString risposta = testo(opz, "EmailReplay");
    if (!risposta.isEmpty())
        aggiungi(intestazioni, "Reply-To: " + intestazioneIndirizzo(risposta));
    aggiungi(intestazioni,
             "Subject: " + Intestazione(opz.ParStampa(QStringLiteral("EmailOggetto")).toString()));
    const QString dominio = da.mid(da.indexOf('@') + 1);
    aggiungi(intestazioni, QStringLiteral("Message-ID: <%1.%2@%3>")
                               .arg(adesso.toMSecsSinceEpoch())
                               .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                               .arg(dominio.isEmpty() ? QStringLiteral("localhost") : dominio)
                               .toUtf8());
    if (opz.ParVero(QStringLiteral("EmailFlagNotifica")))
        aggiungi(intestazioni, "Disposition-Notification-To: <" + da + '>');
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, intestazioni.get());

    std::unique_ptr<curl_mime, LiberaMime> mime(curl_mime_init(c));
    const QByteArray corpo = opz.ParStampa(QStringLiteral("EmailTesto")).toString().toUtf8();
    curl_mimepart *parte = curl_mime_addpart(mime.get());
    curl_mime_data(parte, corpo.constData(), size_t(corpo.size()));
    curl_mime_type(parte, "text/plain; charset=UTF-8");
    curl_mime_encoder(parte, "quoted-printable");
    const QByteArray percorso = QFile::encodeName(filePdf);
    parte = curl_mime_addpart(mime.get());
    curl_mime_filedata(parte, percorso.constData());
    curl_mime_filename(parte, QFileInfo(filePdf).fileName().toUtf8().constData());
    curl_mime_type(parte, "application/pdf");
    curl_mime_encoder(parte, "base64");
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());

    char buffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, buffer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 20L);
    // A server that stops answering ends the send instead of holding the print.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);

    const CURLcode r = eseguiFuoriFinestra(c, Fermata);
    if (r == CURLE_OK)
        return Esito::Inviato;
    if (r == CURLE_ABORTED_BY_CALLBACK) {
        errore = QStringLiteral("invio interrotto dall'utente");
        return Esito::Interrotto;
    }
    long codice = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &codice);
    Dettaglio = QString::fromUtf8(buffer[0] ? buffer : curl_easy_strerror(r)).trimmed();
    if (codice > 0)
        Dettaglio += QStringLiteral(" (codice %1)").arg(codice);
    if (r == CURLE_LOGIN_DENIED || codice == 530 || codice == 535) {
        errore = QStringLiteral("login o password non accettati dal server %1").arg(server);
        return Esito::LoginRifiutato;
    }
    switch (r) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        errore = QStringLiteral("impossibile collegarsi al server SMTP %1").arg(QString::fromUtf8(url));
        break;
    default:
        errore = codice > 0 ? QStringLiteral("il server %1 ha rifiutato l'invio").arg(server)
                            : QStringLiteral("invio al server %1 non riuscito").arg(server);
        break;
    }
    return Esito::Errore;
}

QString RigaLogEmail(const QDateTime &quando, const OpzStampa &opz, const QString &filePdf,
                     const QString &esito)
{
    const QString porta =
        opz.ParIntero(QStringLiteral("EmailNumPorta")) > 0
            ? QLatin1Char(':') + QString::number(opz.ParIntero(QStringLiteral("EmailNumPorta")))
            : QString();
    QStringList campi{quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                      esito,
                      QStringLiteral("Da: ") + testo(opz, "EmailInd"),
                      QStringLiteral("A: ") + testo(opz, "EmailTo"),
                      QStringLiteral("Oggetto: ") + opz.ParStampa(QStringLiteral("EmailOggetto")).toString(),
                      QStringLiteral("File: ") + filePdf,
                      QStringLiteral("Server: ") + testo(opz, "EmailServerSMTP") + porta,
                      QStringLiteral("Login: ") + testo(opz, "EmailLogin")};
    // One line per attempt, whatever the texts hold.
    for (QString &c : campi)
        c.replace(QRegularExpression(QStringLiteral("[\r\n]+")), QStringLiteral(" "));
    return campi.join(QStringLiteral(" | "));
}

bool ScriviLogEmail(const QString &file, const QString &riga)
{
    QFile f(file);
    // A new log is created readable by its owner only: it names servers and logins.
    if (!f.open(QIODevice::Append | QIODevice::Text, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    return f.write((riga + QLatin1Char('\n')).toUtf8()) >= 0;
}
