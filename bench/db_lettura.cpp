// Reading through RecDat beside the same work done through SQLite's C API in
// the same run: every PianoConti row (snapshot, ten LeggiCampo a row) and a
// LIKE search on Descrizione. Prints the ratios.
//
// bench_db_lettura [--db PATH] [--customers N] [benchmark options]
// Without --db a demo of N customers (default 100000) is made with make-demo.
#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"

#include "SupportoBench.h"
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>

namespace
{

QString g_percorso;
std::map<std::string, double> g_tempi; // ns per iteration, by benchmark name
DbMotore *g_db = nullptr;

const char *Campi[] = {"Gruppo", "Mastro",   "Conto", "Descrizione", "Indirizzo",
                       "CAP",    "Localita", "Pr",    "PartIva",     "CodFisc"};
const QString SqlTutti = QStringLiteral("SELECT * FROM PianoConti");
const QString SqlCerca = QStringLiteral(
    "SELECT Gruppo, Mastro, Conto, Descrizione FROM PianoConti WHERE Descrizione like '*ross*'");

void LetturaRecDat(benchmark::State &state)
{
    const QString nomi[10] = {Campi[0], Campi[1], Campi[2], Campi[3], Campi[4],
                              Campi[5], Campi[6], Campi[7], Campi[8], Campi[9]};
    qint64 somma = 0;
    for (auto _ : state) {
        RecDat rs;
        const QString h =
            rs.ApriRec(g_db, QStringLiteral("Azienda"), QString(), SqlTutti, false, RecDat::TipoSnapshot);
        while (!rs.FineFile(h)) {
            for (const QString &n : nomi)
                somma += rs.LeggiCampo(h, n).toString().size();
            rs.MuoviSuccessivo(h);
        }
        rs.ChiudiRec(h);
    }
    benchmark::DoNotOptimize(somma);
}

void LetturaSqliteC(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    qint64 somma = 0;
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, SqlTutti.toUtf8().constData(), -1, &st, nullptr);
        // Columns found by name once, as a program using the C API would.
        int indici[10];
        for (int i = 0; i < 10; ++i)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                if (QString::fromUtf8(sqlite3_column_name(st, c))
                        .compare(QLatin1String(Campi[i]), Qt::CaseInsensitive) == 0)
                    indici[i] = c;
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c : indici)
                somma += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                           sqlite3_column_bytes(st, c))
                             .size();
        sqlite3_finalize(st);
    }
    benchmark::DoNotOptimize(somma);
    sqlite3_close(db);
}

void CercaRecDat(benchmark::State &state)
{
    qint64 somma = 0;
    for (auto _ : state) {
        RecDat rs;
        const QString h =
            rs.ApriRec(g_db, QStringLiteral("Azienda"), QString(), SqlCerca, false, RecDat::TipoSnapshot);
        for (; !rs.FineFile(h); rs.MuoviSuccessivo(h))
            somma += rs.LeggiCampo(h, QStringLiteral("Descrizione")).toString().size();
    }
    benchmark::DoNotOptimize(somma);
}

void CercaSqliteC(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray sql = QByteArrayLiteral("SELECT Gruppo, Mastro, Conto, Descrizione FROM PianoConti "
                                             "WHERE Descrizione LIKE '%ross%' ESCAPE '\\'");
    qint64 somma = 0;
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            somma += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 3)),
                                       sqlite3_column_bytes(st, 3))
                         .size();
        sqlite3_finalize(st);
    }
    benchmark::DoNotOptimize(somma);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    g_percorso = argomentiBench.db;
    std::vector<char *> argomenti = argomentiBench.perBenchmark;
    QTemporaryDir cartella;
    if (g_percorso.isEmpty())
        g_percorso = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (g_percorso.isEmpty())
        return 1;
    DbMotore db;
    db.ApriSqlite(QStringLiteral("Azienda"), g_percorso);
    g_db = &db;
    {
        RecDat rs;
        const QString h = rs.ApriRec(g_db, QStringLiteral("Azienda"), QString(),
                                     QStringLiteral("SELECT count(*) AS n FROM PianoConti"), false, 4);
        std::fprintf(stderr, "%d PianoConti rows in %s\n", rs.LeggiCampo(h, QStringLiteral("n")).toInt(),
                     qPrintable(g_percorso));
    }

    benchmark::RegisterBenchmark("LetturaRecDat", LetturaRecDat)->Unit(benchmark::kMillisecond)->MinTime(2.0);
    benchmark::RegisterBenchmark("LetturaSqliteC", LetturaSqliteC)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark("CercaRecDat", CercaRecDat)->Unit(benchmark::kMillisecond)->MinTime(2.0);
    benchmark::RegisterBenchmark("CercaSqliteC", CercaSqliteC)->Unit(benchmark::kMillisecond)->MinTime(2.0);
    int n = int(argomenti.size());
    benchmark::Initialize(&n, argomenti.data());
    supporto_bench::Registratore registratore(g_tempi);
    benchmark::RunSpecifiedBenchmarks(&registratore);
    benchmark::Shutdown();

    auto rapporto = [](const char *a, const char *b) {
        return g_tempi.count(a) && g_tempi.count(b) && g_tempi[b] > 0 ? g_tempi[a] / g_tempi[b] : 0.0;
    };
    std::printf("ratio RecDat / C API, reading every row: %.2f (target 1.2 or less)\n",
                rapporto("LetturaRecDat", "LetturaSqliteC"));
    std::printf("ratio RecDat / C API, LIKE search:       %.2f (target 1.2 or less)\n",
                rapporto("CercaRecDat", "CercaSqliteC"));
    return 0;
}
