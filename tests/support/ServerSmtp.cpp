// The SMTP receiver of the e-mail tests and a reader of the messages it keeps.
#include "ServerSmtp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

namespace
{

std::unique_ptr<ServerSmtp> &istanza()
{
    static std::unique_ptr<ServerSmtp> s;
    return s;
}

int portaLibera()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

// Headers of a block up to its blank line; folded lines joined.
QHash<QString, QString> leggiIntestazioni(const QByteArray &blocco, qsizetype &fine)
{
    QHash<QString, QString> r;
    QString ultimo;
    qsizetype pos = 0;
    while (pos < blocco.size()) {
        qsizetype a = blocco.indexOf('\n', pos);
        if (a < 0)
            a = blocco.size();
        QByteArray riga = blocco.mid(pos, a - pos);
        pos = a + 1;
        if (riga.endsWith('\r'))
            riga.chop(1);
        if (riga.isEmpty())
            break;
        if ((riga.startsWith(' ') || riga.startsWith('\t')) && !ultimo.isEmpty()) {
            r[ultimo] += QString::fromUtf8(riga.trimmed()).prepend(QLatin1Char(' '));
            continue;
        }
        const qsizetype dp = riga.indexOf(':');
        if (dp <= 0)
            continue;
        ultimo = QString::fromLatin1(riga.left(dp)).trimmed().toLower();
        r.insert(ultimo, QString::fromUtf8(riga.mid(dp + 1)).trimmed());
    }
    fine = pos;
    return r;
}

QByteArray decodifica(const QByteArray &dati, const QString &codifica)
{
    if (codifica.compare(QLatin1String("base64"), Qt::CaseInsensitive) == 0)
        return QByteArray::fromBase64(QByteArray(dati).replace("\r", "").replace("\n", ""));
    if (codifica.compare(QLatin1String("quoted-printable"), Qt::CaseInsensitive) == 0) {
        QByteArray r;
        for (qsizetype i = 0; i < dati.size(); ++i) {
            if (dati[i] == '=' && i + 2 < dati.size() + 1) {
                if (dati.mid(i + 1, 2) == "\r\n") {
                    i += 2;
                    continue;
                }
                if (i + 1 < dati.size() && dati[i + 1] == '\n') {
                    i += 1;
                    continue;
                }
                r += char(dati.mid(i + 1, 2).toInt(nullptr, 16));
                i += 2;
            } else {
                r += dati[i];
            }
        }
        return r;
    }
    return dati;
}

} // namespace

ServerSmtp *ServerSmtp::Istanza(QString *motivo)
{
    if (istanza())
        return istanza().get();
    std::unique_ptr<ServerSmtp> s(new ServerSmtp);
    if (qEnvironmentVariableIsSet("CLIENTI_SMTP_PORT") && qEnvironmentVariableIsSet("CLIENTI_SMTP_LOGIN")) {
        s->porta = qEnvironmentVariableIntValue("CLIENTI_SMTP_PORT");
        s->cartella = qEnvironmentVariable("CLIENTI_SMTP_DIR");
        s->login = qEnvironmentVariable("CLIENTI_SMTP_LOGIN");
        s->password = qEnvironmentVariable("CLIENTI_SMTP_PASSWORD");
    } else {
        s = Privato({}, motivo);
        if (!s)
            return nullptr;
    }
    istanza() = std::move(s);
    return istanza().get();
}

std::unique_ptr<ServerSmtp> ServerSmtp::Privato(const QStringList &opzioni, QString *motivo)
{
    std::unique_ptr<ServerSmtp> s(new ServerSmtp);
    QTemporaryDir dir(QDir::temp().filePath(QStringLiteral("clienti-smtp-XXXXXX")));
    dir.setAutoRemove(false);
    s->cartella = dir.filePath(QStringLiteral("mail"));
    s->porta = portaLibera();
    s->login = QStringLiteral("prova");
    s->password = QStringLiteral("segreta");
    s->m_processo = new QProcess;
    s->m_processo->start(QStringLiteral("/usr/bin/python3"),
                         QStringList{QStringLiteral(CLIENTI_SORGENTI "/scripts/ricevitore-smtp")} + opzioni +
                             QStringList{QString::number(s->porta), s->cartella, s->login, s->password});
    QElapsedTimer t;
    t.start();
    bool pronto = false;
    while (!pronto && t.elapsed() < 15000 && s->m_processo->state() != QProcess::NotRunning) {
        QTcpSocket prova;
        prova.connectToHost(QHostAddress::LocalHost, quint16(s->porta));
        pronto = prova.waitForConnected(200);
        if (!pronto)
            QThread::msleep(100);
    }
    if (!pronto) {
        if (motivo)
            *motivo = QStringLiteral("ricevitore SMTP non avviato: ") +
                      QString::fromUtf8(s->m_processo->readAllStandardError());
        return nullptr;
    }
    return s;
}

ServerSmtp::~ServerSmtp()
{
    if (m_processo) {
        m_processo->kill();
        m_processo->waitForFinished(5000);
        delete m_processo;
        // The folder of a receiver of its own goes with it.
        QDir(QFileInfo(cartella).path()).removeRecursively();
    }
}

QStringList ServerSmtp::Messaggi() const
{
    QStringList r;
    for (const QString &f : QDir(cartella + QStringLiteral("/new")).entryList(QDir::Files))
        r << cartella + QStringLiteral("/new/") + f;
    return r;
}

QString ServerSmtp::AttendiNuovo(const QStringList &prima, int millisecondi) const
{
    return AttendiNuovo(
        prima, [](const PostaRicevuta &) { return true; }, millisecondi);
}

QString ServerSmtp::AttendiNuovo(const QStringList &prima,
                                 const std::function<bool(const PostaRicevuta &)> &scelta,
                                 int millisecondi) const
{
    QElapsedTimer t;
    t.start();
    QStringList visti = prima;
    do {
        for (const QString &m : Messaggi())
            if (!visti.contains(m)) {
                if (scelta(PostaRicevuta::Leggi(m)))
                    return m;
                visti << m;
            }
        QThread::msleep(50);
    } while (t.elapsed() < millisecondi);
    return {};
}

PostaRicevuta PostaRicevuta::Leggi(const QString &file)
{
    PostaRicevuta p;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return p;
    p.grezzo = f.readAll();
    qsizetype fine = 0;
    p.intestazioni = leggiIntestazioni(p.grezzo, fine);
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("boundary=\"?([^\";]+)\"?"))
                                          .match(p.intestazioni.value(QStringLiteral("content-type")));
    if (!m.hasMatch())
        return p;
    const QByteArray limite = "--" + m.captured(1).toUtf8();
    const QByteArray corpo = p.grezzo.mid(fine);
    QByteArray unito = corpo;
    qsizetype pos = unito.indexOf(limite);
    while (pos >= 0) {
        qsizetype inizio = unito.indexOf('\n', pos) + 1;
        if (unito.mid(pos + limite.size(), 2) == "--" || inizio <= 0)
            break;
        qsizetype prossimo = unito.indexOf(limite, inizio);
        if (prossimo < 0)
            break;
        QByteArray blocco = unito.mid(inizio, prossimo - inizio);
        qsizetype fh = 0;
        PartePosta parte;
        parte.intestazioni = leggiIntestazioni(blocco, fh);
        QByteArray dati = blocco.mid(fh);
        if (dati.endsWith("\r\n"))
            dati.chop(2);
        parte.dati = decodifica(dati, parte.intestazioni.value(QStringLiteral("content-transfer-encoding")));
        p.parti << parte;
        pos = prossimo;
    }
    return p;
}

QString PostaRicevuta::Intestazione(const QString &nome) const
{
    QString v = intestazioni.value(nome.toLower());
    static const QRegularExpression parola(QStringLiteral("=\\?UTF-8\\?B\\?([^?]*)\\?=\\s*"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString r;
    qsizetype pos = 0;
    auto it = parola.globalMatch(v);
    while (it.hasNext()) {
        const auto m = it.next();
        r += v.mid(pos, m.capturedStart() - pos);
        r += QString::fromUtf8(QByteArray::fromBase64(m.captured(1).toLatin1()));
        pos = m.capturedEnd();
    }
    r += v.mid(pos);
    return r;
}

namespace
{

// What a Python program prints about the message `file` (its first argument), as JSON.
QJsonDocument daPython(const char *programma, const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(programma), file});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(p.readAllStandardOutput());
}

} // namespace

QJsonObject PostaRicevuta::LettaDaPython(const QString &file)
{
    static const char *const programma = R"(
import email, email.policy, json, sys
with open(sys.argv[1], "rb") as f:
    m = email.message_from_string(f.read().decode("utf-8"), policy=email.policy.default)
r = {}
for nome, valore in m.items():
    v = {"testo": str(valore), "difetti": [type(d).__name__ for d in valore.defects]}
    if hasattr(valore, "addresses"):
        v["indirizzi"] = [a.addr_spec for a in valore.addresses]
        v["nomi"] = [a.display_name for a in valore.addresses]
    r[nome.lower()] = v
print(json.dumps(r))
)";
    return daPython(programma, file).object();
}

QStringList PostaRicevuta::AllegatiDaPython(const QString &file)
{
    static const char *const programma = R"(
import email, email.policy, json, sys
with open(sys.argv[1], "rb") as f:
    m = email.message_from_bytes(f.read(), policy=email.policy.default)
print(json.dumps([a.get_filename() for a in m.iter_attachments()]))
)";
    QStringList r;
    for (const QJsonValue &v : daPython(programma, file).array())
        r << v.toString();
    return r;
}
