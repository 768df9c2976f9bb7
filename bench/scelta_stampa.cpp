// Opening the print-choice dialog on a CUPS server with 50 queues (the
// printer grids, the chosen printer's trays and papers, the current-printer
// label), beside the same reading through libcups alone: the queues with
// their device addresses, then the trays and papers of that printer.
//
// The server is the one CLIENTI_CUPS_SERVER names (scripts/services start),
// else a private one started with scripts/services cups-start; the queues
// added here are removed at the end.
#include "SupportoBench.h"

#include "components/stampa/CatalogoCups.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/ProfiloStampanti.h"
#include "printing/FrmSceltaStam.h"
#include "services/Globali.h"

#include <QApplication>
#include <QRegularExpression>
#include <cups/cups.h>

namespace
{

constexpr int Code = 50;
QString g_server, g_laser;
std::map<std::string, double> g_tempi;

QString servizi()
{
    return QStringLiteral(CLIENTI_SORGENTI "/scripts/services");
}

// The server's lines "export NAME=VALUE ..." into the environment.
void esporta(const QString &righe)
{
    static const QRegularExpression coppia(QStringLiteral("(\\w+)=(\\S+)"));
    for (const QString &riga : righe.split(QLatin1Char('\n')))
        if (riga.startsWith(QLatin1String("export ")))
            for (auto it = coppia.globalMatch(riga); it.hasNext();) {
                const auto m = it.next();
                qputenv(m.captured(1).toUtf8().constData(), m.captured(2).toUtf8());
            }
}

QString nomeCoda(int i)
{
    return QStringLiteral("bench-coda-%1").arg(i, 2, 10, QLatin1Char('0'));
}

void Dialogo(benchmark::State &state)
{
    for (auto _ : state) {
        OpzStampa opz(QStringLiteral("StampaClienti"));
        opz.oiStaVid(OpzStampa::UscitaStampante);
        opz.osNomeStampante(g_laser);
        FrmSceltaStam d;
        d.ogOpzSta(&opz);
        if (!d.VisDecodOk())
            state.SkipWithError("VisDecodOk refused");
        benchmark::DoNotOptimize(d.cboCassetti);
    }
}

void Libcups(benchmark::State &state)
{
    for (auto _ : state) {
        cups_dest_t *dest = nullptr;
        const int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dest);
        QStringList righe;
        for (int i = 0; i < n; ++i)
            righe << QString::fromUtf8(dest[i].name) + QLatin1Char('\t') +
                         QString::fromUtf8(cupsGetOption("device-uri", dest[i].num_options, dest[i].options));
        cups_dest_t *laser = cupsGetDest(g_laser.toUtf8().constData(), nullptr, n, dest);
        cups_dinfo_t *info = laser ? cupsCopyDestInfo(CUPS_HTTP_DEFAULT, laser) : nullptr;
        if (info) {
            ipp_attribute_t *a = cupsFindDestSupported(CUPS_HTTP_DEFAULT, laser, info, "media-source");
            for (int i = 0; a && i < ippGetCount(a); ++i) {
                const char *k = ippGetString(a, i, nullptr);
                righe << QString::fromUtf8(
                    cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, laser, info, "media-source", k));
            }
            const int carte = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, laser, info, CUPS_MEDIA_FLAGS_DEFAULT);
            for (int i = 0; i < carte; ++i) {
                cups_size_t m{};
                if (cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, laser, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &m))
                    righe << QString::fromUtf8(m.media);
            }
            cupsFreeDestInfo(info);
        } else {
            state.SkipWithError("no laser queue");
        }
        cupsFreeDests(n, dest);
        benchmark::DoNotOptimize(righe);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const supporto_bench::Argomenti argomenti = supporto_bench::LeggiArgomenti(argc, argv, 0);
    QTemporaryDir cartella;
    bool proprio = false;
    if (qEnvironmentVariableIsEmpty("CLIENTI_CUPS_SERVER")) {
        QProcess p;
        p.start(servizi(), {QStringLiteral("cups-start"), cartella.path()});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            std::fprintf(stderr, "no CUPS server: %s\n", p.readAllStandardError().constData());
            return 1;
        }
        esporta(QString::fromUtf8(p.readAllStandardOutput()));
        proprio = true;
    }
    g_server = qEnvironmentVariable("CLIENTI_CUPS_SERVER");
    g_laser = qEnvironmentVariable("CLIENTI_CUPS_RAW_QUEUE");
    qputenv("CUPS_SERVER", g_server.toUtf8());
    cupsSetServer(g_server.toUtf8().constData());

    // The two queues of the server and 48 more lasers with trays.
    for (int i = 3; i <= Code; ++i)
        QProcess::execute(QStringLiteral("lpadmin"),
                          {QStringLiteral("-h"), g_server, QStringLiteral("-p"), nomeCoda(i),
                           QStringLiteral("-E"), QStringLiteral("-v"),
                           QStringLiteral("socket://127.0.0.1:9/?snmp=false"), QStringLiteral("-m"),
                           QStringLiteral("drv:///sample.drv/laserjet.ppd")});
    ImpostaCatalogo(std::make_unique<CatalogoCups>());
    ProfiloStampanti::ImpostaPercorso(cartella.filePath(QStringLiteral("stampanti.ini")));
    Globali::PathIni = cartella.filePath(QStringLiteral("terminale.ini"));
    std::fprintf(stderr, "%lld queues on %s\n", qint64(Catalogo().Stampanti().size() - 2),
                 qPrintable(g_server));

    benchmark::RegisterBenchmark("Dialogo", Dialogo)->Unit(benchmark::kMillisecond)->MinTime(2.0);
    benchmark::RegisterBenchmark("Libcups", Libcups)->Unit(benchmark::kMillisecond)->MinTime(2.0);
    std::vector<char *> perBenchmark = argomenti.perBenchmark;
    int n = int(perBenchmark.size());
    benchmark::Initialize(&n, perBenchmark.data());
    supporto_bench::Registratore registratore(g_tempi);
    benchmark::RunSpecifiedBenchmarks(&registratore);
    benchmark::Shutdown();
    if (g_tempi.count("Dialogo") && g_tempi.count("Libcups") && g_tempi["Libcups"] > 0)
        std::printf("print-choice dialog on %d queues: %.1f ms, libcups alone %.1f ms, ratio %.2f (target 2 "
                    "or less)\n",
                    Code, g_tempi["Dialogo"], g_tempi["Libcups"], g_tempi["Dialogo"] / g_tempi["Libcups"]);

    for (int i = 3; i <= Code; ++i)
        QProcess::execute(QStringLiteral("lpadmin"),
                          {QStringLiteral("-h"), g_server, QStringLiteral("-x"), nomeCoda(i)});
    ImpostaCatalogo(nullptr);
    if (proprio)
        QProcess::execute(servizi(), {QStringLiteral("cups-stop"), cartella.path()});
    return 0;
}
