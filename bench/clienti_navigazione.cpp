// The customer form's next-record command, until the page is shown, walking
// forward from the middle of the customers, beside setting the same boxes and
// labels of the same form from rows already in memory and repainting them,
// with no database, in the same run; and beside that repaint plus one read of
// the customer's row by its key through the engine's C API with a statement
// prepared once (ODBC on a server, sqlite3 on a file): what each of the
// step's further round trips costs at least. "Inizio" and "Fine" are timed
// too, each also beside its own repaint: from what the middle customer showed
// to what that record shows (another ledger, other labels). Every step must
// move the key forward, or the benchmark fails. Prints the medians and their
// ratios to the repaints.
//
// bench_clienti_navigazione [--db PATH | --connect ODBC-TEXT] [--customers N] [benchmark options]
// Without --db a demo of N customers (default 100000) is made with make-demo;
// the common menu database is looked for beside the company database.
// --connect opens a company copied to PostgreSQL (scripts/copia-su-postgres).
#include "CaselleForm.h"
#include "LetturaRigaCliente.h"
#include "SupportoBench.h"

#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace
{

constexpr int Passi = 400; // steps per repetition
frmClienti *g_form = nullptr;
QStringList g_partenza;              // the customer in the middle, where each walk starts
std::vector<QList<QString>> g_righe; // what each box and label showed, record by record
std::vector<QStringList> g_chiavi;   // and the key of each of those records
QList<QString> g_primo, g_ultimo;    // what they showed on the first and the last record
lettura_riga::Lettore *g_lettore = nullptr;
QList<QWidget *> g_caselle;
std::map<std::string, std::vector<qint64>> g_tempi;
bool g_fallito = false;

QString chiave()
{
    return g_form->ogComPag()->ChiaveCorrente().join(QLatin1Char('|'));
}

void Successivo(benchmark::State &state)
{
    GestPagine *pag = g_form->ogComPag();
    pag->LeggiDaChiave(g_partenza);
    QCoreApplication::processEvents();
    QString prima = chiave();
    std::vector<qint64> &tempi = g_tempi["Successivo"];
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const bool letto = pag->EseguiComando(QStringLiteral("Successivo")).toBool();
        QCoreApplication::processEvents();
        tempi.push_back(t.nsecsElapsed());
        const QString ora = chiave();
        if (!letto || ora.compare(prima, Qt::CaseInsensitive) <= 0) {
            g_fallito = true;
            state.SkipWithError("the next record was not read: the key did not move forward");
            break;
        }
        prima = ora;
    }
}

// Setting the boxes and labels of the form to the rows kept in memory and
// repainting: what a step shows, without reading or decoding anything.
void Ridisegno(benchmark::State &state)
{
    std::vector<qint64> &tempi = g_tempi["Ridisegno"];
    size_t i = 0;
    for (auto _ : state) {
        const QList<QString> &riga = g_righe[i++ % g_righe.size()];
        QElapsedTimer t;
        t.start();
        supporto_bench::ScriviCaselle(g_caselle, riga);
        QCoreApplication::processEvents();
        tempi.push_back(t.nsecsElapsed());
    }
}

// The repaint above after one read of the record's row through the C API.
void RidisegnoLettura(benchmark::State &state)
{
    std::vector<qint64> &tempi = g_tempi["RidisegnoLettura"];
    size_t i = 0;
    for (auto _ : state) {
        const size_t r = i++ % g_righe.size();
        const QList<QString> &riga = g_righe[r];
        QElapsedTimer t;
        t.start();
        const QStringList letta = g_lettore->Leggi(g_chiavi[r]);
        supporto_bench::ScriviCaselle(g_caselle, riga);
        QCoreApplication::processEvents();
        tempi.push_back(t.nsecsElapsed());
        if (letta.isEmpty()) {
            g_fallito = true;
            state.SkipWithError("the customer's row was not read through the C API");
            break;
        }
    }
}

// The repaint a move to the first or the last record makes: from what the
// middle customer showed to what that record shows (another ledger, other
// labels), from memory.
void RidisegnoEstremo(benchmark::State &state)
{
    const bool fine = state.range(0) == 1;
    std::vector<qint64> &tempi = g_tempi[fine ? "RidisegnoFine" : "RidisegnoInizio"];
    for (auto _ : state) {
        state.PauseTiming();
        supporto_bench::ScriviCaselle(g_caselle, g_righe.front());
        QCoreApplication::processEvents();
        state.ResumeTiming();
        const QList<QString> &riga = fine ? g_ultimo : g_primo;
        QElapsedTimer t;
        t.start();
        supporto_bench::ScriviCaselle(g_caselle, riga);
        QCoreApplication::processEvents();
        tempi.push_back(t.nsecsElapsed());
    }
}

void Estremo(benchmark::State &state)
{
    const bool fine = state.range(0) == 1;
    GestPagine *pag = g_form->ogComPag();
    std::vector<qint64> &tempi = g_tempi[fine ? "Fine" : "Inizio"];
    for (auto _ : state) {
        // From the middle each time, so that the command reads another record.
        state.PauseTiming();
        pag->LeggiDaChiave(g_partenza);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        const bool letto =
            pag->EseguiComando(fine ? QStringLiteral("Fine") : QStringLiteral("Inizio")).toBool();
        QCoreApplication::processEvents();
        tempi.push_back(t.nsecsElapsed());
        if (!letto || chiave() == g_partenza.join(QLatin1Char('|'))) {
            g_fallito = true;
            state.SkipWithError("the first or last record was not read");
            break;
        }
    }
}

// The customer halfway down the key order.
QStringList clienteDiMezzo(DbMotore &motore)
{
    QStringList k;
    QSqlQuery q(motore.DatabaseDao(Globali::DbAzienda));
    q.exec(QStringLiteral("SELECT count(*) FROM PianoConti WHERE Tipo = '3'"));
    const int n = q.next() ? q.value(0).toInt() : 0;
    q.exec(QStringLiteral("SELECT Gruppo, Mastro, Conto FROM PianoConti WHERE Tipo = '3' ORDER BY Gruppo, "
                          "Mastro, Conto LIMIT 1 OFFSET %1")
               .arg(n / 2));
    if (q.next())
        k << q.value(0).toString() << q.value(1).toString() << q.value(2).toString();
    return k;
}

// A walk of the form from the start, keeping what every box and label shows.
bool preparaRighe()
{
    GestPagine *pag = g_form->ogComPag();
    for (QLineEdit *e : g_form->findChildren<QLineEdit *>())
        g_caselle << e;
    for (QLabel *l : g_form->findChildren<QLabel *>())
        g_caselle << l;
    if (!pag->LeggiDaChiave(g_partenza))
        return false;
    for (int i = 0; i < Passi; ++i) {
        QCoreApplication::processEvents();
        QList<QString> riga;
        for (QWidget *w : std::as_const(g_caselle))
            riga << supporto_bench::TestoCasella(w);
        g_righe.push_back(riga);
        g_chiavi.push_back(pag->ChiaveCorrente());
        if (!pag->EseguiComando(QStringLiteral("Successivo")).toBool())
            return false;
    }
    for (auto [comando, riga] :
         {std::pair{QStringLiteral("Inizio"), &g_primo}, {QStringLiteral("Fine"), &g_ultimo}}) {
        if (!pag->LeggiDaChiave(g_partenza) || !pag->EseguiComando(comando).toBool())
            return false;
        QCoreApplication::processEvents();
        for (QWidget *w : std::as_const(g_caselle))
            *riga << supporto_bench::TestoCasella(w);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    std::vector<char *> argomenti = argomentiBench.perBenchmark;
    const QString connect = argomentiBench.connect; // the company on PostgreSQL
    int n = int(argomenti.size());
    QApplication app(n, argomenti.data());
    QString percorso = argomentiBench.db;
    QTemporaryDir cartella;
    if (percorso.isEmpty() && connect.isEmpty())
        percorso = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (percorso.isEmpty() && connect.isEmpty())
        return 1;

    RisposteProgrammate::ImpostaSenzaModali(true);
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    if (!connect.isEmpty()) {
        // On a server the menu tables are a schema of the company database.
        if (!supporto_bench::ApriAziendaServer(*db, Globali::DbAzienda, connect))
            return 1;
        // As the program names a server's company ("ODBC;" and the connect
        // text): the form then joins the menu schema's countries as it does there.
        Globali::NomeDbAzienda = QStringLiteral("ODBC;") + connect;
        std::fprintf(stderr, "company on PostgreSQL\n");
    } else {
        supporto_bench::ApriAzienda(*db, Globali::DbAzienda, percorso);
        Globali::NomeDbAzienda = percorso;
        // Without the menu database the decoding's joins fail and no step reads its record.
        Globali::NomeDbMenu = supporto_bench::MenuAccanto(percorso);
        std::fprintf(stderr, "company %s, menu %s\n", qPrintable(percorso),
                     Globali::NomeDbMenu.isEmpty() ? "(none)" : qPrintable(Globali::NomeDbMenu));
    }
    ClienteMenuLocale menu;
    Globali::MenuClient = &menu;
    menu.ScriviPar(QStringLiteral("CauCon.GruppoClienti"), QStringLiteral("01"));
    menu.ScriviPar(QStringLiteral("CauCon.MastroClienti"), QStringLiteral("05"));
    menu.ScriviPar(QStringLiteral("Ditta.Moneta"), QStringLiteral("EUR"));
    Globali::DataMenu = QDate::currentDate();

    g_partenza = clienteDiMezzo(*db);
    auto form = std::make_unique<frmClienti>();
    g_form = form.get();
    g_form->Form_Load();
    g_form->show();
    QCoreApplication::processEvents();
    if (g_partenza.size() != 3 || !preparaRighe()) {
        std::fprintf(stderr, "the form does not walk forward from the middle customer\n");
        return 1;
    }

    lettura_riga::Lettore lettore(connect, percorso);
    g_lettore = &lettore;
    if (!lettore.Aperto()) {
        std::fprintf(stderr, "the customer's row cannot be read through the C API\n");
        return 1;
    }

    // In turns, so that the machine's load falls on all alike.
    for (int giro = 0; giro < 5; ++giro) {
        benchmark::RegisterBenchmark("Successivo", Successivo)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(Passi);
        benchmark::RegisterBenchmark("Ridisegno", Ridisegno)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(Passi);
        benchmark::RegisterBenchmark("RidisegnoLettura", RidisegnoLettura)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(Passi);
        benchmark::RegisterBenchmark("Inizio", Estremo)
            ->Arg(0)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(40);
        benchmark::RegisterBenchmark("Fine", Estremo)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(40);
        for (int estremo : {0, 1})
            benchmark::RegisterBenchmark("RidisegnoEstremo", RidisegnoEstremo)
                ->Arg(estremo)
                ->Unit(benchmark::kMicrosecond)
                ->Iterations(40);
    }
    benchmark::Initialize(&n, argomenti.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double passo = supporto_bench::Mediana(g_tempi["Successivo"]),
                 ridisegno = supporto_bench::Mediana(g_tempi["Ridisegno"]),
                 lettura = supporto_bench::Mediana(g_tempi["RidisegnoLettura"]),
                 inizio = supporto_bench::Mediana(g_tempi["Inizio"]),
                 fine = supporto_bench::Mediana(g_tempi["Fine"]),
                 ridisegnoInizio = supporto_bench::Mediana(g_tempi["RidisegnoInizio"]),
                 ridisegnoFine = supporto_bench::Mediana(g_tempi["RidisegnoFine"]);
    std::printf(
        "Median: repaint from memory (%d boxes and labels) %.1f us; repaint plus one prepared read of the "
        "row "
        "through the %s C API %.1f us (ratio %.2f, a round trip %.1f us); next record %.1f us (ratio %.2f); "
        "first record %.1f us (ratio %.2f); last record %.1f us (ratio %.2f); target 2 or less\n",
        int(g_caselle.size()), ridisegno, connect.isEmpty() ? "sqlite3" : "ODBC", lettura,
        ridisegno > 0 ? lettura / ridisegno : 0.0, lettura - ridisegno, passo,
        ridisegno > 0 ? passo / ridisegno : 0.0, inizio, ridisegno > 0 ? inizio / ridisegno : 0.0, fine,
        ridisegno > 0 ? fine / ridisegno : 0.0);
    std::printf("Beside the repaint from the middle customer to that record (another ledger): first record "
                "%.1f us beside %.1f us (ratio %.2f); last record %.1f us beside %.1f us (ratio %.2f)\n",
                inizio, ridisegnoInizio, ridisegnoInizio > 0 ? inizio / ridisegnoInizio : 0.0, fine,
                ridisegnoFine, ridisegnoFine > 0 ? fine / ridisegnoFine : 0.0);
    form.reset();
    Globali::MenuClient = nullptr;
    Globali::ImpostaDbComp(nullptr);
    return g_fallito ? 1 : 0;
}
