// Help pages and the opener that shows them.
#include "services/modHTMLHelp.h"

#include "components/forms/UtilFinestre.h"
#include "services/Globali.h"

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
    if (apriHelp)
        return apriHelp(url);
    return UtilFinestre::ApriConShell(url);
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
