// What the benchmark programs share: their command line (--db PATH, --customers N),
// the demo database made with make-demo when no --db is given, and a reporter that
// keeps each benchmark's time so that ratios can be printed at the end.
#pragma once

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace supporto_bench
{

struct Argomenti {
    QString db;                       // --db PATH; empty: make a demo
    QString connect;                  // --connect ODBC-TEXT: a company copied to PostgreSQL
    int clienti = 0;                  // --customers N
    bool clientiIndicati = false;     // --customers was given
    std::vector<char *> perBenchmark; // what is left, for Google Benchmark
};

// The median of times in nanoseconds, in microseconds (0 for none).
inline double Mediana(std::vector<qint64> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return double(v[v.size() / 2]) / 1000.0;
}

inline Argomenti LeggiArgomenti(int argc, char **argv, int clientiPredefiniti)
{
    Argomenti a;
    a.clienti = clientiPredefiniti;
    a.perBenchmark.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const QString s = QString::fromLocal8Bit(argv[i]);
        if (s == QLatin1String("--db") && i + 1 < argc)
            a.db = QString::fromLocal8Bit(argv[++i]);
        else if (s == QLatin1String("--connect") && i + 1 < argc)
            a.connect = QString::fromLocal8Bit(argv[++i]);
        else if (s == QLatin1String("--customers") && i + 1 < argc) {
            a.clienti = QString::fromLocal8Bit(argv[++i]).toInt();
            a.clientiIndicati = true;
        } else
            a.perBenchmark.push_back(argv[i]);
    }
    return a;
}

// Writes a demo company (and its menu database) into `cartella` with make-demo,
// built beside the benchmark programs; answers its path, or "" on failure.
inline QString CreaDemo(const QTemporaryDir &cartella, int clienti)
{
    const QString makeDemo = QCoreApplication::applicationDirPath() + QStringLiteral("/../make-demo");
    const QString percorso = cartella.path() + QStringLiteral("/azienda.db");
    std::fprintf(stderr, "make-demo %s --customers %d\n", qPrintable(percorso), clienti);
    const int esito =
        QProcess::execute(makeDemo, {percorso, QStringLiteral("--customers"), QString::number(clienti),
                                     QStringLiteral("--menu"), cartella.path() + QStringLiteral("/menu.db")});
    if (esito != 0) {
        std::fprintf(stderr, "make-demo failed\n");
        return {};
    }
    return percorso;
}

// A line of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 when unknown.
inline long StatoKb(const char *chiave)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &riga : f.readAll().split('\n'))
        if (riga.startsWith(chiave))
            return riga.mid(int(qstrlen(chiave))).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The menu database beside the company one: "menu.db", or "menu-N.db" for "azienda-N.db".
inline QString MenuAccanto(const QString &azienda)
{
    const QFileInfo f(azienda);
    for (const QString &nome :
         {QString(f.fileName()).replace(QStringLiteral("azienda"), QStringLiteral("menu")),
          QStringLiteral("menu.db")}) {
        const QString p = f.dir().filePath(nome);
        if (p != azienda && QFileInfo::exists(p))
            return p;
    }
    return {};
}

// Opens the company as the program does: the connection, then the indexes
// that only misled the planner dropped and the statistics brought up to date
// (a write: benchmarks take copies or databases of their own).
inline void ApriAzienda(DbMotore &db, const QString &connessione, const QString &percorso)
{
    QElapsedTimer t;
    t.start();
    db.ApriSqlite(connessione, percorso);
    struct Tempo {
        QElapsedTimer &t;
        ~Tempo() { std::fprintf(stderr, "company opened as the program opens it in %lld ms\n", t.elapsed()); }
    } tempo{t};
    try {
        QSqlDatabase q = db.DatabaseDao(connessione);
        Schema::VersioneDecodifiche(q);
        // As the program opens it: an older company's indexes brought up to
        // date before it is measured (dropping the superseded ones without
        // making their successors left the name order without its index).
        Schema::IndiciAllApertura(q);
    } catch (const VbErrore &e) {
        std::fprintf(stderr, "statistics not updated: %s\n", qPrintable(e.descrizione()));
    }
}

// Opens a company copied to PostgreSQL (scripts/copia-su-postgres) as the
// program opens a server's: the connection, then its indexes and the
// versions of its look-up tables brought up to date, the menu tables being
// the schema "menu" of the company database. False, said on stderr, when
// the server cannot be reached.
inline bool ApriAziendaServer(DbMotore &db, const QString &connessione, const QString &connect)
{
    try {
        db.ApriConnessione(connessione, connect);
        QSqlDatabase q = db.DatabaseDao(connessione);
        Schema::IndiciAllApertura(q);
        Schema::VersioneDecodifiche(q);
        Schema::VersioneMenu(q, QStringLiteral("menu"));
    } catch (const VbErrore &e) {
        std::fprintf(stderr, "the company on the server cannot be opened: %s\n", qPrintable(e.descrizione()));
        return false;
    }
    return true;
}

// The company of a benchmark made the program's company connection: the
// file of --db (a demo of --customers made with make-demo when neither --db
// nor --connect is given, in `cartella`), read once into the system's cache
// so that what is measured first does not pay for the disk alone, or the
// copy on the server of --connect; opened as the program opens either, and
// named as the program names it. `percorso` gets the file ("" on a server).
// False, said on stderr, when there is none.
inline bool ApriAziendaBench(const Argomenti &a, const QTemporaryDir &cartella, QString &percorso)
{
    percorso = a.db;
    if (percorso.isEmpty() && a.connect.isEmpty())
        percorso = CreaDemo(cartella, a.clienti);
    if (percorso.isEmpty() && a.connect.isEmpty())
        return false;
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    if (!a.connect.isEmpty()) {
        percorso.clear();
        Globali::NomeDbAzienda = QStringLiteral("ODBC;") + a.connect;
        return ApriAziendaServer(*db, Globali::DbAzienda, a.connect);
    }
    if (QFile f(percorso); f.open(QIODevice::ReadOnly))
        while (!f.read(1 << 20).isEmpty()) {
        }
    ApriAzienda(*db, Globali::DbAzienda, percorso);
    Globali::NomeDbAzienda = percorso;
    return true;
}

// Console reporter that also keeps the time per iteration (ns) of each
// benchmark, by name: the best of its repetitions (aggregates left aside).
class Registratore : public benchmark::ConsoleReporter
{
  public:
    explicit Registratore(std::map<std::string, double> &tempi) : m_tempi(tempi) {}
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            if (r.run_type == Run::RT_Aggregate)
                continue;
            const std::string nome = r.benchmark_name();
            const std::string chiave = nome.substr(0, nome.find('/'));
            const auto trovato = m_tempi.find(chiave);
            const double t = r.GetAdjustedRealTime();
            if (trovato == m_tempi.end() || t < trovato->second)
                m_tempi[chiave] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }

  private:
    std::map<std::string, double> &m_tempi;
};

// A benchmark compared with its floor in the same run: short repetitions of
// each, interleaved at random (InterleaviCasuale), so that a load that comes
// and goes on a shared machine weighs on both alike; the reporter keeps the
// best repetition of each.
inline benchmark::internal::Benchmark *Confronto(benchmark::internal::Benchmark *b, int ripetizioni = 9,
                                                 double tempoMinimo = 0.3)
{
    return b->Unit(benchmark::kMillisecond)->MinTime(tempoMinimo)->Repetitions(ripetizioni);
}

// Asks Google Benchmark to interleave the repetitions of the benchmarks at
// random, unless the command line says otherwise.
inline void InterleaviCasuale(std::vector<char *> &argomenti)
{
    for (const char *a : argomenti)
        if (std::string(a).rfind("--benchmark_enable_random_interleaving", 0) == 0)
            return;
    static char opzione[] = "--benchmark_enable_random_interleaving=true";
    argomenti.push_back(opzione);
}

// Console reporter that keeps the time per iteration (ns) of every run by its
// full name ("Valore/0/32000"), for benchmarks run over several sizes.
class RegistratoreCompleto : public benchmark::ConsoleReporter
{
  public:
    explicit RegistratoreCompleto(std::map<std::string, double> &tempi) : m_tempi(tempi) {}
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs)
            m_tempi[r.benchmark_name()] = r.GetAdjustedRealTime() * 1000.0; // ns (runs are in microseconds)
        ConsoleReporter::ReportRuns(runs);
    }

  private:
    std::map<std::string, double> &m_tempi;
};

// For runs named "<misura>/<kind>/<length>" and "<base>/<kind>/<length>", the
// length doubling from `da` to `a`: prints per kind the ns per character of
// `misura` and its ratio to `base`. Flat figures mean linear work.
inline void StampaPerCarattere(const std::map<std::string, double> &tempi, const std::string &misura,
                               const std::string &base, const std::vector<const char *> &tipi, int da, int a)
{
    for (size_t tipo = 0; tipo < tipi.size(); ++tipo) {
        std::printf("%s\n", tipi[tipo]);
        for (int lung = da; lung <= a; lung *= 2) {
            const std::string suffisso = "/" + std::to_string(tipo) + "/" + std::to_string(lung);
            const auto v = tempi.find(misura + suffisso), p = tempi.find(base + suffisso);
            if (v == tempi.end() || p == tempi.end())
                continue;
            std::printf("  %7d chars: %8.2f ns/char  x%.1f\n", lung, v->second / lung, v->second / p->second);
        }
    }
}

} // namespace supporto_bench
