// Help pages and the opener that shows them.
#include "services/modHTMLHelp.h"

#include "components/forms/UtilFinestre.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace
{

QString cartellaImpostata;
std::function<bool(const QUrl &)> apriHelp;

struct Pagina {
    int contesto;
    const char *file;
    const char *ancora;
};

// Context ids of the windows and of the customer form's pages.
const Pagina Pagine[] = {
    {500, "clienti.html", ""},
    {505, "clienti.html", "anagrafica"},
    {510, "clienti.html", "nota"},
    {515, "clienti.html", "classi"},
    {520, "clienti.html", "contabilita"},
    {525, "clienti.html", "fatturazione"},
    {526, "clienti.html", "note-documenti"},
    {527, "clienti.html", "documenti"},
    {528, "clienti.html", "email"},
    {529, "clienti.html", "dichiarazioni"},
    {530, "clienti.html", "rappresentante"},
    {600, "lista-clienti.html", ""},
    {88, "stampa.html", ""},
    {700, "ricerca.html", ""},
};

const char *const Sommario = "indice.html";
const char *const Indice = "tasti.html";

bool apri(const QUrl &url)
{
    // A missing page is said, not handed to a browser that would show an error of its own.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        msgCom(
            QStringLiteral("Pagina della guida non trovata: %1\nControllare la cartella della guida indicata "
                           "all'avvio (-H) o nella variabile CLIENTI_HELP.")
                .arg(QDir::toNativeSeparators(url.toLocalFile())),
            QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
        return false;
    }
    if (apriHelp)
        return apriHelp(url);
    return UtilFinestre::ApriConShell(url);
}

// The folder of the pages named by the "H" switch: the folder itself, the
// folder of a file in it, or for a help file name that does not exist (a
// "clienti.chm" of an older menu set-up) the folder of the same name without
// its extension. Relative names go from the current folder, then from the
// program's.
QString cartellaDaSwitch(const QString &nome)
{
    QStringList candidati;
    const QFileInfo dato(nome);
    if (dato.isAbsolute()) {
        candidati << nome;
    } else {
        candidati << QDir::current().absoluteFilePath(nome)
                  << QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(nome);
    }
    for (const QString &c : std::as_const(candidati)) {
        const QFileInfo fi(c);
        if (fi.isDir())
            return QDir::cleanPath(fi.absoluteFilePath());
        if (fi.isFile())
            return fi.absolutePath();
        const QFileInfo senzaEstensione(fi.absolutePath() + u'/' + fi.completeBaseName());
        if (!fi.suffix().isEmpty() && senzaEstensione.isDir())
            return QDir::cleanPath(senzaEstensione.absoluteFilePath());
    }
    return QDir::cleanPath(candidati.first());
}

QUrl url(const QString &file, const QString &ancora = {})
{
    QUrl u = QUrl::fromLocalFile(QDir(CartellaHelp()).filePath(file));
    if (!ancora.isEmpty())
        u.setFragment(ancora);
    return u;
}

} // namespace

QString CartellaHelp()
{
    if (!cartellaImpostata.isEmpty())
        return cartellaImpostata;
    if (!Globali::NomeFileHelp.trimmed().isEmpty())
        return cartellaDaSwitch(Globali::NomeFileHelp.trimmed());
    const QString env = qEnvironmentVariable("CLIENTI_HELP");
    if (!env.isEmpty())
        return env;
    const QString presso = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help"));
    if (QFileInfo(presso).isDir())
        return presso;
    // The source tree's pages, for a program run from its build folder.
    return QDir::cleanPath(QStringLiteral(CLIENTI_DIR_SORGENTI "/docs/help"));
}

void ImpostaCartellaHelp(const QString &cartella)
{
    cartellaImpostata = cartella;
}

QUrl PaginaHelp(int contesto)
{
    for (const Pagina &p : Pagine)
        if (p.contesto == contesto)
            return url(QLatin1String(p.file), QLatin1String(p.ancora));
    return url(QLatin1String(Sommario));
}

int ContestoHelp(const QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        const int id = w->property("HelpContextID").toInt();
        if (id > 0)
            return id;
    }
    return 0;
}

bool HelpContesto(int contesto)
{
    return apri(PaginaHelp(contesto));
}

bool HelpSommario()
{
    return apri(url(QLatin1String(Sommario)));
}

bool HelpIndice()
{
    return apri(url(QLatin1String(Indice)));
}

void ImpostaApriHelp(std::function<bool(const QUrl &)> apri)
{
    apriHelp = std::move(apri);
}
