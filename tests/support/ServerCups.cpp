// The CUPS server of the print tests.
#include "ServerCups.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <cups/cups.h>
#include <memory>

namespace
{

std::unique_ptr<ServerCups> &istanza()
{
    static std::unique_ptr<ServerCups> s;
    return s;
}

QString script()
{
    return QStringLiteral(CLIENTI_SORGENTI "/scripts/services");
}

} // namespace

bool CupsObbligatorio()
{
    return qEnvironmentVariable("CI").compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

ServerCups *ServerCups::Istanza(QString *motivo)
{
    if (istanza())
        return istanza().get();
    std::unique_ptr<ServerCups> s(new ServerCups);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("CLIENTI_CUPS_SERVER"))) {
        // A private server in a folder of this test program.
        QTemporaryDir dir(QDir::temp().filePath(QStringLiteral("clienti-cups-XXXXXX")));
        dir.setAutoRemove(false);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                              QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                              QFileDevice::ExeOther);
        s->m_cartellaPrivata = dir.path();
        QProcess p;
        p.start(QStringLiteral("bash"), {script(), QStringLiteral("cups-start"), dir.path()});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            if (motivo)
                *motivo = QStringLiteral("CUPS non avviato: ") + QString::fromUtf8(p.readAllStandardError());
            return nullptr;
        }
        // "export A=1 B=2" lines.
        for (const QString &riga : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            const QStringList parti = riga.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (int i = 1; i < parti.size(); ++i) {
                const int uguale = parti[i].indexOf(QLatin1Char('='));
                if (uguale > 0)
                    env.insert(parti[i].left(uguale), parti[i].mid(uguale + 1));
            }
        }
    }
    s->server = env.value(QStringLiteral("CLIENTI_CUPS_SERVER"));
    s->codaPdf = env.value(QStringLiteral("CLIENTI_CUPS_PDF_QUEUE"));
    s->cartellaPdf = env.value(QStringLiteral("CLIENTI_CUPS_PDF_DIR"));
    s->codaGrezza = env.value(QStringLiteral("CLIENTI_CUPS_RAW_QUEUE"));
    s->cartellaGrezza = env.value(QStringLiteral("CLIENTI_CUPS_RAW_DIR"));
    if (s->server.isEmpty()) {
        if (motivo)
            *motivo = QStringLiteral("nessun server CUPS");
        return nullptr;
    }
    istanza() = std::move(s);
    return istanza().get();
}

void ServerCups::Attiva() const
{
    qputenv("CUPS_SERVER", server.toUtf8());
    cupsSetServer(server.toUtf8().constData());
}

QString ServerCups::AttendiFile(const QString &cartella, const std::function<bool(const QString &)> &scelta,
                                int millisecondi)
{
    QElapsedTimer t;
    t.start();
    do {
        for (const QString &f : QDir(cartella).entryList(QDir::Files))
            if (scelta(f))
                return QDir(cartella).filePath(f);
        QThread::msleep(100);
    } while (t.elapsed() < millisecondi);
    return {};
}

ServerCups::~ServerCups()
{
    if (m_cartellaPrivata.isEmpty())
        return;
    QProcess::execute(QStringLiteral("bash"), {script(), QStringLiteral("cups-stop"), m_cartellaPrivata});
    QDir(m_cartellaPrivata).removeRecursively();
}
