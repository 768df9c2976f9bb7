// Automatic PDF names.
#include "components/stampa/NomePdf.h"

#include "components/stampa/OpzStampa.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString NomeFileDaTitolo(const QString &titolo)
{
    QString r;
    for (const QChar c : titolo.simplified()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.'))
            r += c;
        else if (!r.endsWith(QLatin1Char('_')))
            r += QLatin1Char('_');
    }
    while (r.startsWith(QLatin1Char('.')) || r.startsWith(QLatin1Char('_')))
        r.remove(0, 1);
    while (r.endsWith(QLatin1Char('_')))
        r.chop(1);
    return r.left(80);
}

namespace
{

QString cartellaMancante(const QString &cartella)
{
    return QStringLiteral(
               "La cartella dei pdf %1 non esiste, quindi il pdf non è stato creato. Creare la cartella, "
               "oppure correggere il percorso dei pdf nelle impostazioni pdf ed email (una cartella "
               "esistente, o il nome di un file che finisce con .pdf), e ripetere la stampa.")
        .arg(QDir::toNativeSeparators(cartella));
}

} // namespace

QString NomePdfAutomatico(const OpzStampa &opz, const QString &titolo, const QDateTime &quando,
                          QString *errore)
{
    QString radice = NomeFileDaTitolo(titolo);
    if (radice.isEmpty())
        radice = NomeFileDaTitolo(opz.SezioneStampa());
    if (radice.isEmpty())
        radice = QStringLiteral("Stampa");
    const QString nomeFile = radice + QLatin1Char('_') + quando.toString(QStringLiteral("yyyyMMdd_HHmmss")) +
                             QStringLiteral(".pdf");

    const QString base = opz.ParStampa(QStringLiteral("PdfNomeFile")).toString().trimmed();
    QString percorso;
    if (base.isEmpty()) {
        QString cartella = opz.PathDefault().trimmed();
        if (cartella.isEmpty() || !QFileInfo(cartella).isDir())
            cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        percorso = QDir(cartella).filePath(nomeFile);
    } else if (base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\')) ||
               QFileInfo(base).isDir()) {
        if (!QFileInfo(base).isDir()) {
            if (errore)
                *errore = cartellaMancante(base);
            return {};
        }
        percorso = QDir(base).filePath(nomeFile);
    } else if (base.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) || QFileInfo(base).isFile()) {
        // A file: its folder must be there.
        percorso = base;
        if (!percorso.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            percorso += QStringLiteral(".pdf");
        const QString cartella = QFileInfo(percorso).absolutePath();
        if (!QFileInfo(cartella).isDir()) {
            if (errore)
                *errore = cartellaMancante(cartella);
            return {};
        }
    } else {
        // No ".pdf" and nothing there: a folder mistyped or not yet made,
        // which must not become a file beside it.
        if (errore)
            *errore = cartellaMancante(base);
        return {};
    }
    if (!QFileInfo::exists(percorso))
        return percorso;
    const QString senzaEstensione = percorso.left(percorso.size() - 4);
    const QString estensione = percorso.right(4);
    for (int n = 2;; ++n) {
        const QString candidato = senzaEstensione + QLatin1Char('_') + QString::number(n) + estensione;
        if (!QFileInfo::exists(candidato))
            return candidato;
    }
}
