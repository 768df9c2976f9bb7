// Reading through RecDat beside the same work done through SQLite's C API in
// the same run: every PianoConti row (snapshot, ten LeggiCampo a row) and a
// LIKE search on Descrizione. The four are run in rounds, each round all four
// in an order of its own (so that a load that comes and goes weighs on each
// alike), nine rounds unless --giri says otherwise; prints each one's min /
// median / max and the ratios of each round's pair, min / median / max.
//
// bench_db_lettura [--db PATH | --connect ODBC-TEXT] [--customers N] [--giri N]
// Without --db a demo of N customers (default 100000) is made with make-demo.
// --connect opens a company copied to PostgreSQL (scripts/copia-su-postgres):
// RecDat reads from the server, and the floor runs the very statements the
// engine sent for them (taken in the unmeasured first round) through the
// ODBC C API on a connection of its own, each prepared once, its columns
// bound and its rows fetched in blocks, the same fields taken as texts.
#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"

#include "LettureOdbc.h"
#include "SupportoBench.h"
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

QString g_percorso;
DbMotore *g_db = nullptr;
std::unique_ptr<letture_odbc::Connessione> g_odbc; // --connect: the floor's own connection
QStringList *g_nota = nullptr;                     // where the engine's statements are kept, when set
QStringList g_sqlTutti, g_sqlCerca;                // what the engine sent for each RecDat read

const char *Campi[] = {"Gruppo", "Mastro",   "Conto", "Descrizione", "Indirizzo",
                       "CAP",    "Localita", "Pr",    "PartIva",     "CodFisc"};
const QString SqlTutti = QStringLiteral("SELECT * FROM PianoConti");
const QString SqlCerca = QStringLiteral(
    "SELECT Gruppo, Mastro, Conto, Descrizione FROM PianoConti WHERE Descrizione like '*ross*'");

void LetturaRecDat()
{
    const QString nomi[10] = {Campi[0], Campi[1], Campi[2], Campi[3], Campi[4],
                              Campi[5], Campi[6], Campi[7], Campi[8], Campi[9]};
    qint64 somma = 0;
    {
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

void LetturaSqliteC()
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    qint64 somma = 0;
    {
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

// The floor on a server: the statements the engine sent for a RecDat read,
// the fields it read taken as texts.
void LettureOdbc(const QStringList &istruzioni, const QStringList &campi)
{
    qint64 somma = 0;
    for (const QString &sql : istruzioni)
        if (g_odbc->LeggiColonne(sql, campi, somma) < 0)
            std::fprintf(stderr, "floor: %s\n", qPrintable(g_odbc->Errore()));
    benchmark::DoNotOptimize(somma);
}

void LetturaOdbc()
{
    QStringList campi;
    for (const char *c : Campi)
        campi << QLatin1String(c);
    LettureOdbc(g_sqlTutti, campi);
}

void CercaOdbc()
{
    LettureOdbc(g_sqlCerca, {QStringLiteral("Descrizione")});
}

void CercaRecDat()
{
    qint64 somma = 0;
    {
        RecDat rs;
        const QString h =
            rs.ApriRec(g_db, QStringLiteral("Azienda"), QString(), SqlCerca, false, RecDat::TipoSnapshot);
        for (; !rs.FineFile(h); rs.MuoviSuccessivo(h))
            somma += rs.LeggiCampo(h, QStringLiteral("Descrizione")).toString().size();
    }
    benchmark::DoNotOptimize(somma);
}

void CercaSqliteC()
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray sql = QByteArrayLiteral("SELECT Gruppo, Mastro, Conto, Descrizione FROM PianoConti "
                                             "WHERE Descrizione LIKE '%ross%' ESCAPE '\\'");
    qint64 somma = 0;
    {
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

// Times of one measure, in ms: min / median / max.
QString tre(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? QStringLiteral("-")
                     : QStringLiteral("%1 / %2 / %3")
                           .arg(v.front(), 0, 'f', 2)
                           .arg(v[v.size() / 2], 0, 'f', 2)
                           .arg(v.back(), 0, 'f', 2);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    g_percorso = argomentiBench.db;
    int giri = 9;
    const QString connect = argomentiBench.connect; // the company on PostgreSQL
    for (size_t i = 1; i + 1 < argomentiBench.perBenchmark.size(); ++i)
        if (qstrcmp(argomentiBench.perBenchmark[i], "--giri") == 0)
            giri = std::max(1, QByteArray(argomentiBench.perBenchmark[i + 1]).toInt());
    QTemporaryDir cartella;
    if (g_percorso.isEmpty() && connect.isEmpty())
        g_percorso = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (g_percorso.isEmpty() && connect.isEmpty())
        return 1;
    DbMotore db;
    if (!connect.isEmpty()) {
        db.ApriConnessione(QStringLiteral("Azienda"), connect);
        QSqlDatabase q = db.DatabaseDao(QStringLiteral("Azienda"));
        Schema::IndiciAllApertura(q); // as the program does at opening
        Schema::VersioneDecodifiche(q);
        g_odbc = std::make_unique<letture_odbc::Connessione>(connect);
        if (!g_odbc->Aperta()) {
            std::fprintf(stderr, "the floor's connection failed: %s\n", qPrintable(g_odbc->Errore()));
            return 1;
        }
        g_percorso = QStringLiteral("PostgreSQL");
        db.ImpostaOsservatoreMotore([](const QString &sql) {
            if (g_nota)
                *g_nota << sql;
        });
    } else {
        supporto_bench::ApriAzienda(db, QStringLiteral("Azienda"), g_percorso);
    }
    g_db = &db;
    {
        RecDat rs;
        const QString h = rs.ApriRec(g_db, QStringLiteral("Azienda"), QString(),
                                     QStringLiteral("SELECT count(*) AS n FROM PianoConti"), false, 4);
        std::fprintf(stderr, "%d PianoConti rows in %s\n", rs.LeggiCampo(h, QStringLiteral("n")).toInt(),
                     qPrintable(g_percorso));
    }
    const std::array<void (*)(), 4> misure =
        g_odbc ? std::array<void (*)(), 4>{LetturaRecDat, LetturaOdbc, CercaRecDat, CercaOdbc}
               : std::array<void (*)(), 4>{LetturaRecDat, LetturaSqliteC, CercaRecDat, CercaSqliteC};
    const char *const nomi[4] = {"every row, RecDat", g_odbc ? "every row, ODBC" : "every row, C API",
                                 "LIKE search, RecDat", g_odbc ? "LIKE search, ODBC" : "LIKE search, C API"};
    std::array<std::vector<double>, 4> tempi;
    std::vector<double> rapportoTutte, rapportoCerca;
    // A first round unmeasured: the file in the page cache for all four (on
    // a server, the statements RecDat's reads send kept for the floor).
    if (g_odbc) {
        g_nota = &g_sqlTutti;
        LetturaRecDat();
        g_nota = &g_sqlCerca;
        CercaRecDat();
        g_nota = nullptr;
        for (const QString &sql : std::as_const(g_sqlTutti) + g_sqlCerca)
            std::fprintf(stderr, "sent to the server: %s\n", qPrintable(sql));
        if (g_sqlTutti.isEmpty() || g_sqlCerca.isEmpty()) {
            std::fprintf(stderr, "the engine's statements were not seen\n");
            return 1;
        }
    }
    for (auto m : misure)
        m();
    std::array<int, 4> ordine = {0, 1, 2, 3};
    for (int g = 0; g < giri; ++g) {
        // Each round the next of the 24 orders of the four.
        std::next_permutation(ordine.begin(), ordine.end());
        std::array<double, 4> t{};
        for (int i : ordine) {
            QElapsedTimer e;
            e.start();
            misure[size_t(i)]();
            t[size_t(i)] = e.nsecsElapsed() / 1e6;
            tempi[size_t(i)].push_back(t[size_t(i)]);
        }
        rapportoTutte.push_back(t[0] / t[1]);
        rapportoCerca.push_back(t[2] / t[3]);
    }
    std::printf("%d rounds%s, the four in a different order each round; ms, min / median / max:\n", giri,
                g_odbc ? " on PostgreSQL, floor through the ODBC C API" : "");
    for (int i = 0; i < 4; ++i)
        std::printf("  %-22s %s\n", nomi[i], qPrintable(tre(tempi[size_t(i)])));
    const char *const floor = g_odbc ? "ODBC" : "C API";
    std::printf("ratio RecDat / %s, reading every row: %s (min / median / max; target 1.2 or less)\n", floor,
                qPrintable(tre(rapportoTutte)));
    std::printf("ratio RecDat / %s, LIKE search:       %s (min / median / max; target 1.2 or less)\n", floor,
                qPrintable(tre(rapportoCerca)));
    g_odbc.reset();
    return 0;
}
