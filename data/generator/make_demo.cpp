// make-demo PATH [--customers N] [--menu MENUPATH] [--seed S]: writes the
// demo company database (and its common menu database) deterministically.
#include "components/util/VbErrore.h"
#include "data/generator/Generatore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

namespace {

int Uso()
{
    std::fprintf(stderr, "uso: make-demo PERCORSO [--customers N] [--menu PERCORSO_MENU] [--seed S]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arg = app.arguments().mid(1);
    OpzioniDemo opz;
    for (int i = 0; i < arg.size(); ++i) {
        const QString &a = arg.at(i);
        const bool conValore = i + 1 < arg.size();
        bool ok = true;
        if (a == "--customers" && conValore)
            opz.clienti = arg.at(++i).toInt(&ok);
        else if (a == "--menu" && conValore)
            opz.percorsoMenu = arg.at(++i);
        else if (a == "--seed" && conValore)
            opz.seme = arg.at(++i).toULongLong(&ok);
        else if (!a.startsWith("--") && opz.percorso.isEmpty())
            opz.percorso = a;
        else
            return Uso();
        if (!ok || opz.clienti < 0 || opz.clienti > 2000000)
            return Uso();
    }
    if (opz.percorso.isEmpty())
        return Uso();
    QDir().mkpath(QFileInfo(opz.percorso).absolutePath());
    if (!opz.percorsoMenu.isEmpty())
        QDir().mkpath(QFileInfo(opz.percorsoMenu).absolutePath());
    try {
        QElapsedTimer t;
        t.start();
        const EsitoDemo e = GeneraDemo(opz);
        std::printf("%s: %d clienti, %d altri conti, %d documenti (%d righe), %d comuni; %s; %.1f s\n",
                    qPrintable(opz.percorso), e.clienti, e.altriConti, e.documenti, e.righe, e.comuni,
                    qPrintable(e.percorsoMenu), double(t.elapsed()) / 1000.0);
    } catch (const VbErrore &e) {
        std::fprintf(stderr, "make-demo: %s\n", qPrintable(e.descrizione()));
        return 1;
    }
    return 0;
}
