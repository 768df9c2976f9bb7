// The customer form's next-record command with the registry page, then the
// accounting page, shown and decoded for every record, beside the same command
// with a page that decodes nothing ("2-Nota") in the same run. Prints the
// medians and the ratios. Every step must move the key forward, or the
// benchmark fails.
//
// bench_clienti_decodifica [--db PATH] [--customers N] [benchmark options]
// Without --db a demo of N customers (default 100000) is made with make-demo;
// the common menu database is looked for beside the company database.
#include "SupportoBench.h"

#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace
{

std::map<int, std::vector<qint64>> g_tempi; // by page shown

double mediana(std::vector<qint64> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return double(v[v.size() / 2]) / 1000.0;
}

void Successivo(benchmark::State &state)
{
    const int pagina = int(state.range(0));
    auto *form = new frmClienti;
    form->Form_Load();
    form->show();
    QCoreApplication::processEvents();
    GestPagine *pag = form->ogComPag();
    pag->EseguiComando(QStringLiteral("Inizio"));
    form->SelezionaTab(pagina + 1);
    QCoreApplication::processEvents();
    std::vector<qint64> &tempi = g_tempi[pagina];
    QString chiave = pag->ChiaveCorrente().join(QLatin1Char('|'));
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const bool letto = pag->EseguiComando(QStringLiteral("Successivo")).toBool();
        QCoreApplication::processEvents();
        tempi.push_back(t.nsecsElapsed());
        // Each step must reach the next customer: a failed read is no step.
        const QString nuova = pag->ChiaveCorrente().join(QLatin1Char('|'));
        if (!letto || nuova.compare(chiave, Qt::CaseInsensitive) <= 0) {
            state.SkipWithError("the next record was not read");
            break;
        }
        chiave = nuova;
    }
    // The page shown was decoded for the record reached.
    if (pagina == 0 && form->Lab(1050)->text().isEmpty() && !form->txt(1050)->text().isEmpty())
        state.SkipWithError("registry page not decoded");
    form->close();
    delete form;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    std::vector<char *> argomenti = argomentiBench.perBenchmark;
    int n = int(argomenti.size());
    QApplication app(n, argomenti.data());
    QString percorso = argomentiBench.db;
    QTemporaryDir cartella;
    if (percorso.isEmpty())
        percorso = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (percorso.isEmpty())
        return 1;

    RisposteProgrammate::ImpostaSenzaModali(true);
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    supporto_bench::ApriAzienda(*db, Globali::DbAzienda, percorso);
    Globali::NomeDbAzienda = percorso;
    Globali::NomeDbMenu = supporto_bench::MenuAccanto(percorso);
    std::fprintf(stderr, "company %s, menu %s\n", qPrintable(percorso),
                 Globali::NomeDbMenu.isEmpty() ? "(none)" : qPrintable(Globali::NomeDbMenu));
    ClienteMenuLocale menu;
    Globali::MenuClient = &menu;
    menu.ScriviPar(QStringLiteral("CauCon.GruppoClienti"), QStringLiteral("01"));
    menu.ScriviPar(QStringLiteral("CauCon.MastroClienti"), QStringLiteral("05"));
    menu.ScriviPar(QStringLiteral("Ditta.Moneta"), QStringLiteral("EUR"));
    Globali::DataMenu = QDate::currentDate();

    // Nota (nothing to decode), registry, accounting; in turns, so that the
    // machine's load falls on all three alike.
    for (int giro = 0; giro < 3; ++giro)
        for (int pagina : {1, 0, 3})
            benchmark::RegisterBenchmark("Successivo", Successivo)
                ->Arg(pagina)
                ->Unit(benchmark::kMicrosecond)
                ->Iterations(700);
    benchmark::Initialize(&n, argomenti.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double nota = mediana(g_tempi[1]), anagrafica = mediana(g_tempi[0]),
                 contabilita = mediana(g_tempi[3]);
    std::printf(
        "Median next record: without decoding %.1f us; registry page %.1f us (ratio %.2f); accounting page "
        "%.1f us (ratio %.2f); target 1.5 or less\n",
        nota, anagrafica, nota > 0 ? anagrafica / nota : 0.0, contabilita,
        nota > 0 ? contabilita / nota : 0.0);
    Globali::MenuClient = nullptr;
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
