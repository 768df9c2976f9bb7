// The customer form's next-record command with the registry page, then the
// accounting page, shown and decoded for every record, each beside its floor:
// the same page of the same form shown, every box and label set to what the
// step showed for the same records (kept in memory from an untimed walk) and
// repainted, with no database and no decoding, in the same run. So the ratio
// measures reading and decoding, not painting. The step with a page that
// decodes nothing ("2-Nota") is timed too, for reference. The walks start at
// a quarter, half and three quarters of the customers in key order, one
// place each round (at a million customers three ledgers of their own, where
// a walk from the first customer never left the first ledger). Prints the
// medians and the ratios. Every step must move the key forward, or the
// benchmark fails.
//
// bench_clienti_decodifica [--db PATH | --connect ODBC-TEXT] [--customers N] [benchmark options]
// Without --db a demo of N customers (default 100000) is made with make-demo;
// the common menu database is looked for beside the company database.
// --connect opens a company copied to PostgreSQL (scripts/copia-su-postgres):
// the steps read and decode on the server, with the menu tables in its schema
// "menu"; the repaints are the same, from memory, with no database.
#include "CaselleForm.h"
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
#include <QSignalBlocker>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace
{

constexpr int Passi = 700;                   // steps per repetition
std::map<int, std::vector<qint64>> g_tempi;  // the step, by page shown
std::map<int, std::vector<qint64>> g_pavimi; // the repaint from memory, by page shown
bool g_fallito = false;
std::vector<QStringList> g_partenze; // where the walks start, one a round

// The customers at a quarter, half and three quarters of the key order.
std::vector<QStringList> partenze(DbMotore &motore)
{
    std::vector<QStringList> chiavi;
    QSqlQuery q(motore.DatabaseDao(Globali::DbAzienda));
    q.exec(QStringLiteral("SELECT count(*) FROM PianoConti WHERE Tipo = '3'"));
    const int n = q.next() ? q.value(0).toInt() : 0;
    for (int quarto : {1, 2, 3}) {
        q.exec(
            QStringLiteral("SELECT Gruppo, Mastro, Conto FROM PianoConti WHERE Tipo = '3' ORDER BY Gruppo, "
                           "Mastro, Conto LIMIT 1 OFFSET %1")
                .arg(qint64(n) * quarto / 4));
        if (q.next())
            chiavi.push_back({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    }
    return chiavi;
}

// A form shown on the walk's first customer with page `pagina` selected.
frmClienti *apriForm(int pagina, int giro)
{
    auto *form = new frmClienti;
    form->Form_Load();
    form->show();
    QCoreApplication::processEvents();
    form->ogComPag()->LeggiDaChiave(g_partenze[size_t(giro) % g_partenze.size()]);
    form->SelezionaTab(pagina + 1);
    QCoreApplication::processEvents();
    return form;
}

void Successivo(benchmark::State &state)
{
    const int pagina = int(state.range(0));
    frmClienti *form = apriForm(pagina, int(state.range(1)));
    GestPagine *pag = form->ogComPag();
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
            g_fallito = true;
            state.SkipWithError("the next record was not read");
            break;
        }
        chiave = nuova;
    }
    // The page shown was decoded for the record reached.
    if (pagina == 0 && form->Lab(1050)->text().isEmpty() && !form->txt(1050)->text().isEmpty()) {
        g_fallito = true;
        state.SkipWithError("registry page not decoded");
    }
    form->close();
    delete form;
}

// The floor of the step above: the same page of a form shown, every box and
// label set to what the step showed for the same records, and repainted. The
// rows are taken by an untimed walk of this form from the same customer.
void Ridisegno(benchmark::State &state)
{
    const int pagina = int(state.range(0));
    frmClienti *form = apriForm(pagina, int(state.range(1)));
    GestPagine *pag = form->ogComPag();
    QList<QWidget *> caselle;
    for (QLineEdit *e : form->findChildren<QLineEdit *>())
        caselle << e;
    for (QLabel *l : form->findChildren<QLabel *>())
        caselle << l;
    std::vector<QList<QString>> righe;
    for (int i = 0; i < Passi; ++i) {
        if (!pag->EseguiComando(QStringLiteral("Successivo")).toBool())
            break;
        QCoreApplication::processEvents();
        QList<QString> riga;
        riga.reserve(caselle.size());
        for (QWidget *w : std::as_const(caselle))
            riga << supporto_bench::TestoCasella(w);
        righe.push_back(riga);
    }
    if (righe.size() < 2) {
        g_fallito = true;
        state.SkipWithError("the form does not walk forward from its first customer");
        form->close();
        delete form;
        return;
    }
    std::vector<qint64> &tempi = g_pavimi[pagina];
    size_t i = 0;
    for (auto _ : state) {
        const QList<QString> &riga = righe[i++ % righe.size()];
        QElapsedTimer t;
        t.start();
        supporto_bench::ScriviCaselle(caselle, riga);
        QCoreApplication::processEvents();
        tempi.push_back(t.nsecsElapsed());
    }
    state.counters["caselle"] = double(caselle.size());
    form->close();
    delete form;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    std::vector<char *> argomenti;
    QString connect; // --connect ODBC-TEXT: the company on PostgreSQL
    for (size_t i = 0; i < argomentiBench.perBenchmark.size(); ++i) {
        if (qstrcmp(argomentiBench.perBenchmark[i], "--connect") == 0 &&
            i + 1 < argomentiBench.perBenchmark.size())
            connect = QString::fromLocal8Bit(argomentiBench.perBenchmark[++i]);
        else
            argomenti.push_back(argomentiBench.perBenchmark[i]);
    }
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
        db->ApriConnessione(Globali::DbAzienda, connect);
        QSqlDatabase q = db->DatabaseDao(Globali::DbAzienda);
        Schema::IndiciAllApertura(q); // as the program does at opening
        Schema::VersioneDecodifiche(q);
        Schema::VersioneMenu(q, QStringLiteral("menu"));
        // As the program names a server's company ("ODBC;" and the connect
        // text): the form then decodes from the menu schema's tables.
        Globali::NomeDbAzienda = QStringLiteral("ODBC;") + connect;
        std::fprintf(stderr, "company on PostgreSQL, menu in its schema \"menu\"\n");
    } else {
        supporto_bench::ApriAzienda(*db, Globali::DbAzienda, percorso);
        Globali::NomeDbAzienda = percorso;
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
    g_partenze = partenze(*db);
    if (g_partenze.empty()) {
        std::fprintf(stderr, "no customer to walk from\n");
        return 1;
    }
    for (const QStringList &k : g_partenze)
        std::fprintf(stderr, "a walk starts at %s\n", qPrintable(k.join(QLatin1Char('-'))));

    // Registry and accounting, each step beside its repaint, then Nota
    // (nothing to decode); in turns, so that the machine's load falls on all
    // alike.
    for (int giro = 0; giro < 3; ++giro) {
        for (int pagina : {0, 3}) {
            benchmark::RegisterBenchmark("Ridisegno", Ridisegno)
                ->Args({pagina, giro})
                ->Unit(benchmark::kMicrosecond)
                ->Iterations(Passi);
            benchmark::RegisterBenchmark("Successivo", Successivo)
                ->Args({pagina, giro})
                ->Unit(benchmark::kMicrosecond)
                ->Iterations(Passi);
        }
        benchmark::RegisterBenchmark("Successivo", Successivo)
            ->Args({1, giro})
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(Passi);
    }
    benchmark::Initialize(&n, argomenti.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double nota = supporto_bench::Mediana(g_tempi[1]), anagrafica = supporto_bench::Mediana(g_tempi[0]),
                 contabilita = supporto_bench::Mediana(g_tempi[3]),
                 pavAnagrafica = supporto_bench::Mediana(g_pavimi[0]),
                 pavContabilita = supporto_bench::Mediana(g_pavimi[3]);
    if (!connect.isEmpty())
        std::printf("On PostgreSQL through ODBC (the repaints read nothing):\n");
    std::printf("Median next record: registry page %.1f us, its repaint from memory %.1f us (ratio %.2f); "
                "accounting page %.1f us, its repaint from memory %.1f us (ratio %.2f); target 1.5 or less. "
                "Nota page (nothing decoded) %.1f us\n",
                anagrafica, pavAnagrafica, pavAnagrafica > 0 ? anagrafica / pavAnagrafica : 0.0, contabilita,
                pavContabilita, pavContabilita > 0 ? contabilita / pavContabilita : 0.0, nota);
    Globali::MenuClient = nullptr;
    Globali::ImpostaDbComp(nullptr);
    return g_fallito ? 1 : 0;
}
