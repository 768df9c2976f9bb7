#include "TagliaConferma.h"
#include "PerditeDriver.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUuid>

TagliaConferma::TagliaConferma(int portaServer) : m_processo(std::make_unique<QProcess>())
{
    m_arma = QDir::temp().filePath(QStringLiteral("taglia-conferma-") +
                                   QUuid::createUuid().toString(QUuid::WithoutBraces));
    m_processo->start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(CLIENTI_SORGENTI "/scripts/taglia-conferma"), QString::number(portaServer), m_arma});
    if (!m_processo->waitForStarted(5000) || !m_processo->waitForReadyRead(5000))
        return;
    m_porta = QString::fromLatin1(m_processo->readLine()).trimmed().toInt();
}

TagliaConferma::~TagliaConferma()
{
    m_processo->kill();
    m_processo->waitForFinished(5000);
    QFile::remove(m_arma);
}

QString TagliaConferma::Attraverso(const QString &connect) const
{
    QString testo = connect;
    testo.replace(QRegularExpression(QStringLiteral("PORT=\\d+"), QRegularExpression::CaseInsensitiveOption),
                  QStringLiteral("PORT=%1").arg(m_porta));
    testo.replace(
        QRegularExpression(QStringLiteral("SERVER=[^;]*"), QRegularExpression::CaseInsensitiveOption),
        QStringLiteral("SERVER=127.0.0.1"));
    return testo;
}

void TagliaConferma::Arma(bool dopo)
{
    AmmettiPerditeDriverOdbc();
    QFile f(m_arma);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(dopo ? "dopo" : "prima");
}

void TagliaConferma::ArmaSu(const QString &espressione)
{
    AmmettiPerditeDriverOdbc();
    QFile f(m_arma);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write("su:" + espressione.toUtf8());
}

bool TagliaConferma::Usato() const
{
    return !QFile::exists(m_arma);
}
