// Translation of Jet SQL texts of growing size for both engines, and their
// parameterised form: one long & chain, many short & chains, a long list of
// Like conditions, Nz calls nested 50 deep (side by side, as many as the size
// takes) and a plain WHERE of many comparisons. Beside each, one plain pass over the same text
// (QString::toUpper) as the baseline of the same run; the time per character
// and its ratio to the baseline must stay flat as the text grows (linear work).
//
// bench_db_jetsql [benchmark options]   (--db and --customers are ignored)
#include "components/db/JetSql.h"

#include "SupportoBench.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace
{

std::map<std::string, double> g_tempi; // ns per iteration, by benchmark name and size

const char *Nomi[] = {"one & chain", "& chains side by side", "Like list", "Nz nested 50 deep",
                      "comparisons"};
constexpr int Tipi = 5;

// A SELECT of about `lung` characters of the given kind.
QString Testo(int tipo, int lung)
{
    QString s = QStringLiteral("SELECT Gruppo FROM PianoConti WHERE ");
    int i = 0;
    while (s.size() < lung) {
        switch (tipo) {
        case 0:
            s += (i ? QStringLiteral(" & ") : QString()) + QStringLiteral("Campo%1").arg(i);
            break;
        case 1:
            s += (i ? QStringLiteral(" And ") : QString()) + QStringLiteral("a%1 & b%1 = c%1").arg(i);
            break;
        case 2:
            s += (i ? QStringLiteral(" Or ") : QString()) + QStringLiteral("Descrizione Like 'ab%1*'").arg(i);
            break;
        case 3:
            s += (i ? QStringLiteral(" + ") : QString()) + QStringLiteral("Nz(").repeated(50) +
                 QStringLiteral("N") + QStringLiteral(", 0)").repeated(50);
            break;
        default:
            s += (i ? QStringLiteral(" And ") : QString()) + QStringLiteral("Conto%1 = '%1'").arg(i);
        }
        ++i;
    }
    if (tipo == 0)
        s += QStringLiteral(" = 'x'");
    return s;
}

void Traduzione(benchmark::State &state)
{
    const QString t = Testo(int(state.range(0)), int(state.range(1)));
    qsizetype somma = 0;
    for (auto _ : state) {
        const JetSql::Forma f = JetSql::FormaParametrica(t);
        somma += JetSql::Traduci(f.testo, JetSql::Dialetto::SQLite).size();
        somma += JetSql::Traduci(f.testo, JetSql::Dialetto::PostgreSQL).size();
    }
    benchmark::DoNotOptimize(somma);
}

void Passata(benchmark::State &state)
{
    const QString t = Testo(int(state.range(0)), int(state.range(1)));
    qsizetype somma = 0;
    for (auto _ : state)
        somma += t.toUpper().size();
    benchmark::DoNotOptimize(somma);
}

void Dimensioni(benchmark::internal::Benchmark *b)
{
    for (int tipo = 0; tipo < Tipi; ++tipo)
        for (int lung = 2000; lung <= 128000; lung *= 2)
            b->Args({tipo, lung});
}

BENCHMARK(Traduzione)->Apply(Dimensioni)->Unit(benchmark::kMicrosecond);
BENCHMARK(Passata)->Apply(Dimensioni)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    supporto_bench::Argomenti a = supporto_bench::LeggiArgomenti(argc, argv, 0);
    int n = int(a.perBenchmark.size());
    benchmark::Initialize(&n, a.perBenchmark.data());
    supporto_bench::RegistratoreCompleto r(g_tempi);
    benchmark::RunSpecifiedBenchmarks(&r);
    std::printf("\nForm and translation for both engines: ns per character, and ratio to one toUpper pass\n");
    supporto_bench::StampaPerCarattere(g_tempi, "Traduzione", "Passata", {std::begin(Nomi), std::end(Nomi)},
                                       2000, 128000);
    benchmark::Shutdown();
    return 0;
}
