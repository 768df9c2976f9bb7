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
#include <algorithm>
#include <array>
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

// The panel's fields that hold addresses, with the keys of the options.
struct CampoIndirizzo {
    const char *chiave;
    const char *nome;
    bool elenco;
};

const std::array<CampoIndirizzo, 3> &campiIndirizzo()
{
    static const std::array<CampoIndirizzo, 3> campi{{{"EmailTo", "Indir. Email a cui si invia", true},
                                                      {"EmailInd", "Indirizzo email di chi invia", false},
                                                      {"EmailReplay", "Indirizzo di replay", false}}};
    return campi;
}

// The sender's name, which goes into the From header.
const CampoIndirizzo centro{"EmailCentro", "Descriz. email di invio(centro)", false};

// The recipient typed for this print alone, or picked among the customer's
// addresses: it stands for the configured recipients when it is given.
const CampoIndirizzo temporaneo{"EmailToTemp", "Indir. temporaneo", true};

// The field a refused value is to be put right in: the one it came from.
QString erroreCampo(const OpzStampa &opz, const CampoIndirizzo &campo, const QString &motivo)
{
    const QString scritto = testo(opz, temporaneo.chiave);
    const bool daTemporaneo =
        qstrcmp(campo.chiave, "EmailTo") == 0 && !scritto.isEmpty() && scritto == testo(opz, campo.chiave);
    return QStringLiteral("il campo \"%1\" dei parametri email %2: correggerlo e ripetere la stampa")
        .arg(QString::fromLatin1(daTemporaneo ? temporaneo.nome : campo.nome), motivo);
}

// Whether the server offers SMTPUTF8. libcurl uses the extension by itself
// but tells it only to its debug callback, in the answer to EHLO: a NOOP
// reads it, on the connection the send then reuses.
CURLcode offreSmtpUtf8(CURL *c, const std::function<bool()> &fermata, bool &offre)
{
    offre = false;
    curl_debug_callback leggi = [](CURL *, curl_infotype tipo, char *dati, size_t n, void *p) -> int {
        bool &o = *static_cast<bool *>(p);
        const QByteArray righe = QByteArray(dati, qsizetype(n)).toUpper();
        // The answer after STARTTLS is the one that counts.
        if (tipo == CURLINFO_HEADER_OUT && righe.startsWith("EHLO"))
            o = false;
        else if (tipo == CURLINFO_HEADER_IN)
            for (const QByteArray &r : righe.split('\n'))
                if (r.startsWith("250") && r.mid(4).trimmed() == "SMTPUTF8")
                    o = true;
        return 0;
    };
    curl_write_callback scarta = [](char *, size_t dimensione, size_t n, void *) { return dimensione * n; };
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, leggi);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &offre);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, scarta);
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, "NOOP");
    const CURLcode r = eseguiFuoriFinestra(c, fermata);
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 0L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, nullptr);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, nullptr);
    return r;
}

// The recipient a send ended on: libcurl sends one RCPT at a time and stops
// at the first the server refuses, telling which only to its debug callback.
struct UltimoRcpt {
    QByteArray indirizzo;  // as sent, without the angle brackets
    bool inAttesa = false; // no other command sent after it but QUIT
};

void seguiRcpt(CURL *c, UltimoRcpt &ultimo)
{
    curl_debug_callback leggi = [](CURL *, curl_infotype tipo, char *dati, size_t n, void *p) -> int {
        if (tipo != CURLINFO_HEADER_OUT)
            return 0;
        UltimoRcpt &u = *static_cast<UltimoRcpt *>(p);
        const QByteArray comando(dati, qsizetype(n));
        const QByteArray verbo = comando.left(8).toUpper();
        // The QUIT after a refusal ends the session, it answers for nothing.
        if (verbo.startsWith("QUIT"))
            return 0;
        u.inAttesa = verbo == "RCPT TO:";
        if (u.inAttesa) {
            const qsizetype inizio = comando.indexOf('<'), fine = comando.lastIndexOf('>');
            u.indirizzo =
                inizio >= 0 && fine > inizio ? comando.mid(inizio + 1, fine - inizio - 1) : QByteArray();
        }
        return 0;
    };
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, leggi);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &ultimo);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
}

// What a failed transfer says to the user, the server's words in `dettaglio`.
InvioEmail::Esito esitoCurl(CURLcode r, CURL *c, const char *buffer, const QString &server,
                            const QByteArray &url, QString &errore, QString &dettaglio)
{
    if (r == CURLE_ABORTED_BY_CALLBACK) {
        errore = QStringLiteral("invio interrotto dall'utente");
        return InvioEmail::Esito::Interrotto;
    }
    long codice = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &codice);
    dettaglio = QString::fromUtf8(buffer[0] ? buffer : curl_easy_strerror(r)).trimmed();
    if (codice > 0)
        dettaglio += QStringLiteral(" (codice %1)").arg(codice);
    if (r == CURLE_LOGIN_DENIED || codice == 530 || codice == 535) {
        errore = QStringLiteral("login o password non accettati dal server %1").arg(server);
        return InvioEmail::Esito::LoginRifiutato;
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
    return InvioEmail::Esito::Errore;
}

} // namespace

void InvioEmailSmtp::ImpostaProgrammaPosta(ProgrammaPosta programma)
{
    programmaPosta() = std::move(programma);
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
    // Every value that reaches a header, an SMTP command or the mailto URL;
    // the subject is always safe (a text with control characters is sent
    // encoded).
    for (const CampoIndirizzo &c : campiIndirizzo()) {
        const QString valore = testo(opz, c.chiave);
        const QString motivo = valore.isEmpty() ? QString() : CampoNonValido(valore, c.elenco);
        if (!motivo.isEmpty()) {
            errore = erroreCampo(opz, c, motivo);
            return false;
        }
    }
    if (HaControllo(testo(opz, centro.chiave))) {
        errore = erroreCampo(opz, centro, QStringLiteral("contiene un a capo o un carattere di controllo"));
        return false;
    }
    if (HaControllo(QFileInfo(filePdf).fileName())) {
        errore =
            QStringLiteral("il nome del file %1 contiene un a capo o un carattere di controllo").arg(filePdf);
        return false;
    }
    return true;
}

InvioEmail::Esito InvioEmailSmtp::inviaProgrammaPosta(OpzStampa &opz, const QString &filePdf, QString &errore)
{
    // One mailto URL of our own making: xdg-email keeps only the last
    // "mailto:" it is given and appends its own fields to it.
    const QStringList argomenti{QStringLiteral("--utf8"), QStringLiteral("--attach"), filePdf,
                                UrlMailto(Indirizzi(testo(opz, "EmailTo")),
                                          opz.ParStampa(QStringLiteral("EmailOggetto")).toString(),
                                          opz.ParStampa(QStringLiteral("EmailTesto")).toString())};
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
    QStringList destinatari = Indirizzi(testo(opz, "EmailTo"));
    const QString mittente = Mittente(testo(opz, "EmailInd"), testo(opz, "EmailCentro"));
    if (server.isEmpty()) {
        errore = QStringLiteral("manca il server SMTP");
        return Esito::Errore;
    }
    if (destinatari.isEmpty()) {
        errore = QStringLiteral("manca l'indirizzo a cui inviare");
        return Esito::Errore;
    }
    if (Nudo(mittente).isEmpty()) {
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
    char buffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, buffer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 20L);
    // A server that stops answering ends the send instead of holding the print.
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);

    // An address with a local part outside ASCII goes only to a server
    // offering SMTPUTF8 (libcurl then asks for it): others would refuse the
    // command, or take an address they cannot deliver.
    const QString risposta = testo(opz, "EmailReplay");
    for (const CampoIndirizzo &campo : campiIndirizzo()) {
        const QString valore = testo(opz, campo.chiave);
        const QStringList indirizzi = campo.elenco ? Indirizzi(valore) : QStringList{Nudo(valore)};
        const auto estraneo = std::find_if(indirizzi.begin(), indirizzi.end(), [](const QString &a) {
            return !a.isEmpty() && !ParteLocaleAscii(a);
        });
        if (estraneo == indirizzi.end())
            continue;
        bool utf8 = false;
        const CURLcode r = offreSmtpUtf8(c, Fermata, utf8);
        if (r != CURLE_OK)
            return esitoCurl(r, c, buffer, server, url, errore, Dettaglio);
        if (!utf8) {
            errore = erroreCampo(opz, campo,
                                 QStringLiteral("contiene l'indirizzo \"%1\" con lettere accentate o "
                                                "simboli prima della @, che il server %2 non accetta")
                                     .arg(*estraneo, server));
            Dettaglio = QStringLiteral("il server non offre SMTPUTF8 (indirizzi in UTF-8)");
            return Esito::Errore;
        }
        break;
    }

    for (QString &d : destinatari)
        d = IndirizzoAce(d);
    const QByteArray da = IndirizzoAce(Nudo(mittente)).toUtf8();
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, ('<' + da + '>').constData());
    std::unique_ptr<curl_slist, LiberaLista> rcpt;
    for (const QString &d : destinatari)
        aggiungi(rcpt, '<' + d.toUtf8() + '>');
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());

    // Header lines folded within 78 characters (998 is the most a server takes).
    const QDateTime adesso = QDateTime::currentDateTime();
    std::unique_ptr<curl_slist, LiberaLista> intestazioni;
    aggiungi(intestazioni, "Date: " + dataRfc(adesso));
    aggiungi(intestazioni, CampoIndirizzi("From", {mittente}));
    aggiungi(intestazioni, CampoIndirizzi("To", destinatari));
    if (!risposta.isEmpty())
        aggiungi(intestazioni, CampoIndirizzi("Reply-To", {risposta}));
    aggiungi(intestazioni, CampoTesto("Subject", opz.ParStampa(QStringLiteral("EmailOggetto")).toString()));
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
    // The name in a header of our own (libcurl's would be raw UTF-8 on one line).
    std::unique_ptr<curl_slist, LiberaLista> allegato;
    aggiungi(allegato, CampoAllegato(QFileInfo(filePdf).fileName()));
    curl_mime_headers(parte, allegato.release(), 1);
    curl_mime_type(parte, "application/pdf");
    curl_mime_encoder(parte, "base64");
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());

    UltimoRcpt ultimo;
    seguiRcpt(c, ultimo);
    const CURLcode r = eseguiFuoriFinestra(c, Fermata);
    if (r == CURLE_OK)
        return Esito::Inviato;
    const Esito esito = esitoCurl(r, c, buffer, server, url, errore, Dettaglio);
    // A recipient refused for good is named with the field it came from, as
    // one refused before sending; a refusal for now (4xx) is the server's.
    long codice = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &codice);
    const qsizetype rifiutato = ultimo.inAttesa && codice >= 500 && codice < 600
                                    ? destinatari.indexOf(QString::fromUtf8(ultimo.indirizzo))
                                    : -1;
    const QStringList scritti = Indirizzi(testo(opz, "EmailTo"));
    if (esito == Esito::Errore && rifiutato >= 0 && rifiutato < scritti.size())
        errore = erroreCampo(opz, campiIndirizzo()[0],
                             QStringLiteral("contiene l'indirizzo \"%1\", che il server %2 ha rifiutato")
                                 .arg(scritti[rifiutato], server));
    return esito;
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
