// Acoustic signals.
#include "services/Segnali.h"

#include "services/Globali.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace
{

std::function<void(const QString &)> suono;

void suonaDavvero(const QString &file)
{
    if (!file.isEmpty()) {
        const QString lettore = QStandardPaths::findExecutable(QStringLiteral("paplay"));
        if (!lettore.isEmpty() && QProcess::startDetached(lettore, {file}))
            return;
    }
    QApplication::beep();
}

} // namespace

QString SegnaleAcustico()
{
    const QString come = Globali::BeepCome.trimmed();
    if (come.compare(QStringLiteral("N"), Qt::CaseInsensitive) == 0 || come == QLatin1String("0"))
        return {};
    // A sound file that is not there still gives the beep: the signal is never lost.
    const bool file = !come.isEmpty() && come.compare(QStringLiteral("S"), Qt::CaseInsensitive) != 0 &&
                      come != QLatin1String("1") && QFileInfo(come).isFile();
    const QString cosa = file ? come : QString();
    if (suono)
        suono(cosa);
    else
        suonaDavvero(cosa);
    return file ? cosa : QStringLiteral("beep");
}

void ImpostaSuono(std::function<void(const QString &)> s)
{
    suono = std::move(s);
}
