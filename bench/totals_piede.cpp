// Footer engine over every invoice of a large demo company, beside the time
// to read the same header, stamp-table, line and expense rows through
// SQLite's C API in the same run. Prints documents per second and the ratio.
//
// bench_totals_piede [--db PATH] [--customers N] [benchmark options]
// Without --db a demo of N customers (default 2000) is made with make-demo.
// The raw reads run twice: statements prepared once and bound, and statements
// prepared again for every document, as SQL built as text must be.
#include "components/db/DbMotore.h"
#include "services/Globali.h"
#include "totals/scCalcPiedeFat.h"

#include "LettureGrezze.h"
#include "SupportoBench.h"
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <vector>

namespace
{
struct Documento {
    int anno;
    int numero;
};

QString g_percorso;
std::vector<Documento> g_fatture;
std::map<std::string, double> g_tempi; // ns per iteration, by benchmark name

void leggiFatture()
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT Anno, NumRif FROM FatTest ORDER BY Anno, NumRif", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        g_fatture.push_back({sqlite3_column_int(st, 0), sqlite3_column_int(st, 1)});
    sqlite3_finalize(st);
    sqlite3_close(db);
}

void MotorePiede(benchmark::State &state)
{
    scCalcPiedeFat motore;
    motore.osTabTesta = QStringLiteral("FatTest");
    motore.osTabDett = QStringLiteral("FatDett");
    motore.osTabLiv = QStringLiteral("FatLiv");
    motore.osTabSpese = QStringLiteral("FatSpese");
    long errori = 0;
    for (auto _ : state) {
        for (const Documento &d : g_fatture) {
            motore.CalcPiedeFat(d.anno, d.numero, false, -1);
            errori += motore.oiNumErrori;
            benchmark::DoNotOptimize(motore.odTotPagare);
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(g_fatture.size()));
    state.counters["errori"] = double(errori) / double(state.iterations());
}

void LetturaSqliteC(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    {
        letture_grezze::Lettore lettore(db, "FatTest", "FatDett", "FatSpese");
        int64_t somma = 0;
        for (auto _ : state) {
            for (const Documento &d : g_fatture)
                lettore.Documento(d.numero, d.anno, somma);
            benchmark::DoNotOptimize(somma);
        }
        state.SetItemsProcessed(state.iterations() * int64_t(g_fatture.size()));
    }
    sqlite3_close(db);
}

// The same reads, each statement prepared again for every document with its
// numbers written into the text, as a program that builds its SQL must do.
void LetturaSqliteCTesto(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const std::array<QByteArray, 4> sql = letture_grezze::Sql("FatTest", "FatDett", "FatSpese");
    int64_t somma = 0;
    for (auto _ : state) {
        for (const Documento &d : g_fatture) {
            for (const QByteArray &testo : sql) {
                QByteArray t = testo;
                t.replace("?1", QByteArray::number(d.numero)).replace("?2", QByteArray::number(d.anno));
                sqlite3_stmt *st = nullptr;
                sqlite3_prepare_v2(db, t.constData(), -1, &st, nullptr);
                letture_grezze::LeggiRighe(st, d.numero, d.anno, somma);
                sqlite3_finalize(st);
            }
        }
        benchmark::DoNotOptimize(somma);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(g_fatture.size()));
    sqlite3_close(db);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 2000);
    g_percorso = argomentiBench.db;
    std::vector<char *> argomenti = argomentiBench.perBenchmark;
    QTemporaryDir cartella;
    if (g_percorso.isEmpty())
        g_percorso = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (g_percorso.isEmpty())
        return 1;
    leggiFatture();
    std::fprintf(stderr, "%zu invoices in %s\n", g_fatture.size(), qPrintable(g_percorso));

    auto *dbm = new DbMotore;
    Globali::ImpostaDbComp(dbm);
    dbm->ApriSqlite(Globali::DbAzienda, g_percorso);
    Globali::CodEuro = QStringLiteral("EUR");
    Globali::CodLira = QStringLiteral("LIT");

    // A pass over the invoices of a large company takes minutes: fewer
    // repetitions there (a pass of a million customers' invoices lasts long
    // enough to be measured alone).
    const bool grande = g_fatture.size() > 100000;
    const int ripetizioni = grande ? 3 : 9;
    if (grande)
        std::printf("%zu invoices: %d repetitions of each pass\n", g_fatture.size(), ripetizioni);
    supporto_bench::Confronto(benchmark::RegisterBenchmark("MotorePiede", MotorePiede), ripetizioni);
    supporto_bench::Confronto(benchmark::RegisterBenchmark("LetturaSqliteC", LetturaSqliteC), ripetizioni);
    supporto_bench::Confronto(benchmark::RegisterBenchmark("LetturaSqliteCTesto", LetturaSqliteCTesto),
                              grande ? 1 : 3);
    supporto_bench::InterleaviCasuale(argomenti);
    int n = int(argomenti.size());
    benchmark::Initialize(&n, argomenti.data());
    supporto_bench::Registratore registratore(g_tempi);
    benchmark::RunSpecifiedBenchmarks(&registratore);
    benchmark::Shutdown();

    if (g_tempi.count("MotorePiede") && g_tempi.count("LetturaSqliteC") && !g_fatture.empty()) {
        const double motore = g_tempi["MotorePiede"];
        const double grezzo = g_tempi["LetturaSqliteC"];
        std::printf("documents: %zu\nengine: %.0f documents/s\nraw SQLite reads: %.0f documents/s\n"
                    "ratio engine / raw reads: %.2f (target 2 or less; best repetition of each)\n",
                    g_fatture.size(), double(g_fatture.size()) / (motore / 1e3),
                    double(g_fatture.size()) / (grezzo / 1e3), motore / grezzo);
        if (g_tempi.count("LetturaSqliteCTesto"))
            std::printf("ratio engine / raw reads prepared per document: %.2f\n",
                        motore / g_tempi["LetturaSqliteCTesto"]);
    }
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
