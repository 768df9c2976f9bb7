// ValoreNumerico on long typed or pasted texts of growing size: text that is
// no number at all, a number followed by words, a run of digits too long for
// a double. Beside each, one plain pass over the same text (QString::toUpper)
// as the baseline of the same run; the time per character and its ratio to
// the baseline must stay flat as the text grows (linear work).
//
// bench_util_valorenumerico [benchmark options]   (--db and --customers are ignored)
#include "components/util/UtilGlob.h"

#include "SupportoBench.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace
{

std::map<std::string, double> g_tempi; // ns per iteration, by benchmark name and size

QString Testo(int tipo, int lung)
{
    switch (tipo) {
    case 0: // no number: a pasted paragraph
        return QString(lung, u'x');
    case 1: // a number, then words
        return QStringLiteral("1.234,5 ") + QString(lung - 8, u'p');
    default: // digits beyond any double, then a letter
        return QString(lung - 1, u'9') + u'a';
    }
}

void Valore(benchmark::State &state)
{
    const UtilGlob u;
    const QString t = Testo(int(state.range(0)), int(state.range(1)));
    double somma = 0;
    for (auto _ : state)
        somma += u.ValoreNumerico(t);
    benchmark::DoNotOptimize(somma);
    state.SetComplexityN(state.range(1));
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
    for (int tipo = 0; tipo < 3; ++tipo)
        for (int lung = 1000; lung <= 128000; lung *= 2)
            b->Args({tipo, lung});
}

BENCHMARK(Valore)->Apply(Dimensioni)->Unit(benchmark::kMicrosecond);
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
    std::printf("\nValoreNumerico: ns per character, and ratio to one toUpper pass of the same text\n");
    supporto_bench::StampaPerCarattere(g_tempi, "Valore", "Passata",
                                       {"no number", "number then words", "digits beyond a double"}, 1000,
                                       128000);
    benchmark::Shutdown();
    return 0;
}
