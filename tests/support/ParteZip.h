// One part of a zip file as its text (a workbook's sheet, styles or
// properties), read with the system's unzip as any reader would; empty when
// the file or the part is missing.
#pragma once

#include <QProcess>
#include <QString>

inline QString parteZip(const QString &zip, const QString &parte)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, parte});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}
