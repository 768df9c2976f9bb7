// Footer engine over every invoice of a large demo company, beside the time
// to read the same header, stamp-table, line and expense rows through
// SQLite's C API in the same run. Prints documents per second and the ratio.
//
// bench_totals_piede [--db PATH | --connect ODBC-TEXT] [--customers N] [--fatture N] [benchmark options]
// Without --db or --connect a demo of N customers (default 2000) is made with
// make-demo. --connect opens a company copied to PostgreSQL
// (scripts/copia-su-postgres) as it is: the engine runs against the server,
// and the raw reads go through the ODBC C API on a connection of their own.
// The raw reads run twice: statements prepared once and bound, and statements
// prepared again for every document, as SQL built as text must be.
// --fatture N takes N invoices spread evenly over the company's instead of
// all of them (a server's pass over a million customers' invoices would take
// tens of minutes; the cost of a document does not depend on how many there are).
#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "services/Globali.h"
#include "totals/scCalcPiedeFat.h"

#include "LettureGrezze.h"
#include "LettureGrezzeOdbc.h"
#include "SupportoBench.h"
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace
{
struct Documento {
    int anno;
    int numero;
};

QString g_percorso;
QString g_connect; // --connect: the company on a server
std::vector<Documento> g_fatture;
std::map<std::string, double> g_tempi; // ns per iteration, by benchmark name
QStringList g_esempiErrori;            // the first documents the engine found fault with

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
            if (motore.oiNumErrori > 0 && g_esempiErrori.size() < 3)
                g_esempiErrori << QStringLiteral("%1/%2: %3")
                                      .arg(d.anno)
                                      .arg(d.numero)
                                      .arg(motore.osErrori.section(QStringLiteral("\r\n"), 0, 0));
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

// On a server: the reads of LetturaSqliteC (or LetturaSqliteCTesto, with
// `Documento` the texts' reading), through ODBC.
void leggiOdbc(benchmark::State &state,
               bool (letture_grezze::LettoreOdbc::*documento)(int, int, std::int64_t &))
{
    letture_odbc::Connessione conn(g_connect);
    if (!conn.Aperta()) {
        state.SkipWithError(qPrintable(conn.Errore()));
        return;
    }
    letture_grezze::LettoreOdbc lettore(conn, "FatTest", "FatDett", "FatSpese");
    int64_t somma = 0;
    for (auto _ : state) {
        for (const Documento &d : g_fatture)
            if (!(lettore.*documento)(d.numero, d.anno, somma)) {
                state.SkipWithError(qPrintable(conn.Errore()));
                return;
            }
        benchmark::DoNotOptimize(somma);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(g_fatture.size()));
}

void LetturaOdbc(benchmark::State &state)
{
    leggiOdbc(state, &letture_grezze::LettoreOdbc::Documento);
}

void LetturaOdbcTesto(benchmark::State &state)
{
    leggiOdbc(state, &letture_grezze::LettoreOdbc::DocumentoTesto);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 2000);
    g_percorso = argomentiBench.db;
    g_connect = argomentiBench.connect;
    std::vector<char *> argomenti;
    int fatture = 0; // --fatture N: N invoices spread over the company, not all
    for (size_t i = 0; i < argomentiBench.perBenchmark.size(); ++i) {
        if (qstrcmp(argomentiBench.perBenchmark[i], "--fatture") == 0 &&
            i + 1 < argomentiBench.perBenchmark.size())
            fatture = std::max(1, std::atoi(argomentiBench.perBenchmark[++i]));
        else
            argomenti.push_back(argomentiBench.perBenchmark[i]);
    }
    const bool server = !g_connect.isEmpty();
    QTemporaryDir cartella;
    if (g_percorso.isEmpty() && !server)
        g_percorso = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (g_percorso.isEmpty() && !server)
        return 1;
    if (!server) {
        leggiFatture();
        std::fprintf(stderr, "%zu invoices in %s\n", g_fatture.size(), qPrintable(g_percorso));
    }

    auto *dbm = new DbMotore;
    Globali::ImpostaDbComp(dbm);
    if (server) {
        if (!supporto_bench::ApriAziendaServer(*dbm, Globali::DbAzienda, g_connect))
            return 1;
        QSqlDatabase q = dbm->DatabaseDao(Globali::DbAzienda);
        Globali::NomeDbAzienda = QStringLiteral("ODBC;") + g_connect;
        QSqlQuery fatture(q);
        fatture.exec(QStringLiteral("SELECT Anno, NumRif FROM FatTest ORDER BY Anno, NumRif"));
        while (fatture.next())
            g_fatture.push_back({fatture.value(0).toInt(), fatture.value(1).toInt()});
        std::fprintf(stderr, "%zu invoices in the company on PostgreSQL\n", g_fatture.size());
    } else {
        dbm->ApriSqlite(Globali::DbAzienda, g_percorso);
    }
    if (fatture > 0 && size_t(fatture) < g_fatture.size()) {
        std::vector<Documento> scelte;
        for (int i = 0; i < fatture; ++i)
            scelte.push_back(g_fatture[size_t(qint64(i) * qint64(g_fatture.size()) / fatture)]);
        std::fprintf(stderr, "%d of the %zu invoices, spread over them\n", fatture, g_fatture.size());
        g_fatture = std::move(scelte);
    }
    Globali::CodEuro = QStringLiteral("EUR");
    Globali::CodLira = QStringLiteral("LIT");

    // A pass over the invoices of a large company takes minutes, and on a
    // server, where each read is a round trip, tens of seconds already at
    // 100,000 customers: fewer repetitions there (such a pass lasts long
    // enough to be measured alone).
    const bool grande = g_fatture.size() > 100000 || server;
    const int ripetizioni = grande ? 3 : 9;
    if (grande)
        std::printf("%zu invoices: %d repetitions of each pass\n", g_fatture.size(), ripetizioni);
    supporto_bench::Confronto(benchmark::RegisterBenchmark("MotorePiede", MotorePiede), ripetizioni);
    const char *grezza = server ? "LetturaOdbc" : "LetturaSqliteC";
    const char *grezzaTesto = server ? "LetturaOdbcTesto" : "LetturaSqliteCTesto";
    supporto_bench::Confronto(benchmark::RegisterBenchmark(grezza, server ? LetturaOdbc : LetturaSqliteC),
                              ripetizioni);
    supporto_bench::Confronto(
        benchmark::RegisterBenchmark(grezzaTesto, server ? LetturaOdbcTesto : LetturaSqliteCTesto),
        grande ? 1 : 3);
    supporto_bench::InterleaviCasuale(argomenti);
    int n = int(argomenti.size());
    benchmark::Initialize(&n, argomenti.data());
    supporto_bench::Registratore registratore(g_tempi);
    benchmark::RunSpecifiedBenchmarks(&registratore);
    benchmark::Shutdown();

    if (g_tempi.count("MotorePiede") && g_tempi.count(grezza) && !g_fatture.empty()) {
        const double motore = g_tempi["MotorePiede"];
        const double grezzo = g_tempi[grezza];
        std::printf("documents: %zu\nengine: %.0f documents/s\nraw %s reads: %.0f documents/s\n"
                    "ratio engine / raw reads: %.2f (target 2 or less; best repetition of each)\n",
                    g_fatture.size(), double(g_fatture.size()) / (motore / 1e3), server ? "ODBC" : "SQLite",
                    double(g_fatture.size()) / (grezzo / 1e3), motore / grezzo);
        if (g_tempi.count(grezzaTesto))
            std::printf("ratio engine / raw reads prepared per document: %.2f\n",
                        motore / g_tempi[grezzaTesto]);
    }
    for (const QString &e : g_esempiErrori)
        std::printf("the engine's error on document %s\n", qPrintable(e));
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
