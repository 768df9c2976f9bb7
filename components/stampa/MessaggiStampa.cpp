// Failures of the print engine in plain Italian.
#include "components/stampa/MessaggiStampa.h"

#include "components/util/FormatoVb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace messaggi_stampa
{

namespace
{

QString nativo(const QString &percorso)
{
    return QDir::toNativeSeparators(percorso);
}

// Whether this process may use a path so (by its effective rights, as an
// open would): 0 when allowed, else the errno.
int accesso(const QString &percorso, int modo)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(percorso).constData(), modo, AT_EACCESS) == 0 ? 0 : errno;
}

QString perCausa(int causa, const QString &cartella, const QString &file)
{
    switch (causa) {
    case EROFS:
        return QStringLiteral(
                   "La cartella %1 si trova su un disco in sola lettura, quindi il file %2 non è stato "
                   "creato. Scegliere una cartella su un altro disco e ripetere la stampa.")
            .arg(nativo(cartella), nativo(file));
    case EACCES:
    case EPERM:
        return QStringLiteral(
                   "Non si hanno i permessi per scrivere nella cartella %1, quindi il file %2 non è "
                   "stato creato. Scegliere un'altra cartella, oppure chiedere all'amministratore di "
                   "sistema il permesso di scrivervi, e ripetere la stampa.")
            .arg(nativo(cartella), nativo(file));
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral(
                   "Non c'è più spazio sul disco della cartella %1, quindi il file %2 non è stato "
                   "scritto. Liberare spazio o scegliere una cartella su un altro disco e ripetere la "
                   "stampa.")
            .arg(nativo(cartella), nativo(file));
    default:
        return {};
    }
}

} // namespace

QString StampanteNonInstallata(const QString &nome)
{
    return QStringLiteral(
               "La stampante %1 non è installata. Scegliere un'altra stampante e ripetere la stampa.")
        .arg(nome);
}

QString StampanteFerma(const QString &stampante, int lavoro, const QString &dettaglio)
{
    return QStringLiteral(
               "La stampante %1 è ferma: la stampa non è uscita e resta in attesa nella coda della "
               "stampante (lavoro n° %2). Riavviare la stampante dalla gestione delle stampanti del "
               "sistema, o chiedere all'amministratore di sistema, e la stampa partirà; se non serve "
               "più, annullarla dalla coda.")
               .arg(stampante)
               .arg(lavoro) +
           Dettaglio(dettaglio);
}

QString LavoroTrattenuto(const QString &stampante, int lavoro, const QString &dettaglio)
{
    return QStringLiteral(
               "La stampa è trattenuta nella coda della stampante %1 (lavoro n° %2) e non è uscita. "
               "Rilasciare il lavoro dalla coda della stampante, o chiedere all'amministratore di "
               "sistema, perché venga stampato; se non serve più, annullarlo.")
               .arg(stampante)
               .arg(lavoro) +
           Dettaglio(dettaglio);
}

QString LavoroInterrotto(const QString &stampante, int lavoro, const QString &dettaglio)
{
    return QStringLiteral(
               "La stampante %1 ha interrotto la stampa (lavoro n° %2), che non è uscita. Controllare "
               "la stampante e ripetere la stampa.")
               .arg(stampante)
               .arg(lavoro) +
           Dettaglio(dettaglio);
}

QString CodaNonAccetta(const QString &stampante, const QString &dettaglio)
{
    return QStringLiteral(
               "La stampante %1 non accetta stampe in questo momento, quindi la stampa non è stata "
               "inviata. Riattivare l'accettazione delle stampe dalla gestione delle stampanti del "
               "sistema, o chiedere all'amministratore di sistema, oppure scegliere un'altra stampante.")
               .arg(stampante) +
           Dettaglio(dettaglio);
}

QString CodaRifiuta(const QString &stampante, const QString &dettaglio)
{
    return QStringLiteral(
               "La stampante %1 non ha accettato la stampa, che non è stata inviata. Controllare che la "
               "stampante e il servizio di stampa siano attivi, oppure scegliere un'altra stampante, e "
               "ripetere la stampa.")
               .arg(stampante) +
           Dettaglio(dettaglio);
}

QString FileScritto(const QString &percorso, qint64 righe)
{
    if (righe == 1)
        return QStringLiteral("Il file %1 è stato scritto (1 riga).").arg(nativo(percorso));
    if (righe >= 0)
        return QStringLiteral("Il file %1 è stato scritto (%2 righe).")
            .arg(nativo(percorso), FormatoVb::Intero(righe));
    return QStringLiteral("Il file %1 è stato scritto.").arg(nativo(percorso));
}

QString EmailInviata(const QString &percorso, const QStringList &destinatari)
{
    if (destinatari.isEmpty())
        return QStringLiteral("Il file %1 è stato scritto e inviato per email.").arg(nativo(percorso));
    // A long list would fill the screen: the first few, and how many more.
    constexpr qsizetype nominati = 5;
    QString a = destinatari.join(QStringLiteral(", "));
    if (destinatari.size() > nominati + 1)
        a = destinatari.first(nominati).join(QStringLiteral(", ")) +
            QStringLiteral(" e altri %1").arg(destinatari.size() - nominati);
    return QStringLiteral("Il file %1 è stato scritto e inviato per email a %2.").arg(nativo(percorso), a);
}

QString Dettaglio(const QString &testoSistema)
{
    const QString t = testoSistema.trimmed();
    return t.isEmpty() ? QString() : QStringLiteral(" (Dettaglio: %1)").arg(t);
}

QString ControllaCartella(const QString &percorso)
{
    const QFileInfo file(percorso);
    const QString cartella = file.absolutePath();
    const QFileInfo infoCartella(cartella);
    if (!infoCartella.exists())
        return QStringLiteral(
                   "La cartella %1 non esiste, quindi il file %2 non è stato creato. Creare la cartella "
                   "oppure sceglierne un'altra e ripetere la stampa.")
            .arg(nativo(cartella), nativo(percorso));
    if (!infoCartella.isDir())
        return QStringLiteral(
                   "%1 non è una cartella, quindi il file %2 non è stato creato. Scegliere una cartella "
                   "e ripetere la stampa.")
            .arg(nativo(cartella), nativo(percorso));
    if (file.isDir())
        return QStringLiteral(
                   "%1 è una cartella, non un file. Indicare il nome del file da scrivere e ripetere "
                   "la stampa.")
            .arg(nativo(percorso));
    const QString causa = perCausa(accesso(cartella, W_OK | X_OK), cartella, percorso);
    if (!causa.isEmpty())
        return causa;
    if (file.exists() && accesso(percorso, W_OK) != 0)
        return QStringLiteral(
                   "Il file %1 esiste già ed è protetto dalla scrittura, quindi non è stato sostituito. "
                   "Togliere la protezione al file o scegliere un altro nome e ripetere la stampa.")
            .arg(nativo(percorso));
    return {};
}

QString FileNonScrivibile(const QString &percorso, int numeroErrore, const QString &dettaglio)
{
    const QString cartella = ControllaCartella(percorso);
    if (!cartella.isEmpty())
        return cartella;
    const QString causa = perCausa(numeroErrore, QFileInfo(percorso).absolutePath(), percorso);
    if (!causa.isEmpty())
        return causa;
    return QStringLiteral(
               "Non è stato possibile scrivere il file %1. Controllare il nome del file e la cartella, "
               "poi ripetere la stampa.")
               .arg(nativo(percorso)) +
           Dettaglio(dettaglio);
}

} // namespace messaggi_stampa
