// copia-su-postgres AZIENDA.db [--menu MENU.db] CONNECT: copies an SQLite
// company (and its common menu database) into an empty PostgreSQL database
// reached through ODBC, and prints the INI lines that open it.
#include "components/db/DbMotore.h"
#include "components/db/TestoOdbc.h"
#include "components/util/VbErrore.h"
#include "data/copia/CopiaSuServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

namespace
{

int Uso()
{
    std::fprintf(stderr,
                 "uso: copia-su-postgres AZIENDA.db [--menu MENU.db] "
                 "\"DRIVER={PostgreSQL Unicode};SERVER=...;PORT=...;DATABASE=...;UID=...;PWD=...\"\n"
                 "Il database PostgreSQL deve esistere ed essere vuoto; senza --menu si copia il menu.db "
                 "accanto all'azienda, se c'è.\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arg = app.arguments().mid(1);
    QString azienda, menu, connect;
    bool menuDato = false;
    for (int i = 0; i < arg.size(); ++i) {
        const QString &a = arg.at(i);
        if (a == "--menu" && i + 1 < arg.size()) {
            menu = arg.at(++i);
            menuDato = true;
        } else if (a.startsWith("--")) {
            return Uso();
        } else if (azienda.isEmpty()) {
            azienda = a;
        } else if (connect.isEmpty()) {
            connect = a;
        } else {
            return Uso();
        }
    }
    if (azienda.isEmpty() || connect.isEmpty())
        return Uso();
    if (!menuDato) {
        const QString accanto = QFileInfo(azienda).absoluteDir().filePath(QStringLiteral("menu.db"));
        if (QFileInfo(accanto).isFile())
            menu = accanto;
        else
            std::fprintf(stderr,
                         "copia-su-postgres: nessun menu.db accanto all'azienda: si copia solo l'azienda\n");
    }
    if (connect.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive))
        connect = connect.mid(5);

    try {
        QElapsedTimer t;
        t.start();
        DbMotore motore;
        motore.ApriConnessione(QStringLiteral("Server"), connect);
        QSqlDatabase server = motore.DatabaseDao(QStringLiteral("Server"));
        qint64 totale = 0;
        const auto copiate =
            CopiaSuServer::Copia(azienda, menu, server, [&](const CopiaSuServer::Tabella &tab) {
                totale += tab.righe;
                std::printf("  %s.%s: %lld %s\n", qPrintable(tab.schema), qPrintable(tab.nome),
                            static_cast<long long>(tab.righe), tab.righe == 1 ? "riga" : "righe");
                std::fflush(stdout);
            });
        std::printf("Copiate %lld tabelle, %lld righe, in %.1f s; righe uguali in ogni tabella.\n",
                    static_cast<long long>(copiate.size()), static_cast<long long>(totale),
                    double(t.elapsed()) / 1000.0);
        const QString senzaPassword =
            TestoOdbc::Togli(connect, {QStringLiteral("PWD"), QStringLiteral("Password")});
        std::printf("\nRighe dell'INI del programma:\n[Connessioni]\nNomeDB=ODBC;%s\nConnect=\n",
                    qPrintable(senzaPassword));
    } catch (const VbErrore &e) {
        std::fprintf(stderr, "copia-su-postgres: %s\n", qPrintable(e.descrizione()));
        return 1;
    }
    return 0;
}
