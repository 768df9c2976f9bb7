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
// medians and the ratios, and how many statements a step sends to the
// database on average (seen by the engine's observer on untimed steps). Every
// step must move the key forward, or the benchmark fails.
//
// bench_clienti_decodifica [--db PATH | --connect ODBC-TEXT] [--customers N] [benchmark options]
// Without --db a demo of N customers (default 100000) is made with make-demo;
// the common menu database is looked for beside the company database.
// --connect opens a company copied to PostgreSQL (scripts/copia-su-postgres):
// the steps read and decode on the server, with the menu tables in its schema
// "menu". There the floor of each step is the same repaint plus the very
// statements the step sent to the server for that record (taken from the
// engine's observer on the untimed walk), run bare through the ODBC C API on a
// connection of its own: each form the engine translated prepared once, its
// texts and whole numbers bound as parameters as the program binds them, its
// rows fetched in blocks.
#include "CaselleForm.h"
#include "LettureOdbc.h"
#include "SupportoBench.h"

#include "components/db/DbMotore.h"
#include "components/db/JetSql.h"
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
#include <QSet>
#include <QSignalBlocker>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace
{

constexpr int Passi = 700;                   // steps per repetition
std::map<int, std::vector<qint64>> g_tempi;  // the step, by page shown
std::map<int, std::vector<qint64>> g_pavimi; // the repaint from memory, by page shown
bool g_fallito = false;
std::vector<QStringList> g_partenze; // where the walks start, one a round
DbMotore *g_db = nullptr;
std::unique_ptr<letture_odbc::Connessione> g_odbc; // --connect: the floor's own connection
std::map<int, std::vector<int>> g_istruzioni;      // statements sent a step, by page shown
bool g_mostrate = false;                           // a step's statements already shown on stderr

// A statement as the floor sends it: the engine's text, each literal the
// program binds a mark (?) with its value in `valori`.
struct Istruzione {
    QString testo;
    QVariantList valori;
};

// The statements a step sends, as the engine's observer sees them: each with
// the Jet text it came from (empty for one the engine adds of its own).
struct Nota {
    QString jet;
    std::vector<std::pair<QString, QString>> inviate; // Jet text, engine text
    std::vector<std::vector<std::pair<QString, QString>>> passi;
};

void Osserva(Nota *nota)
{
    if (!nota) {
        g_db->ImpostaOsservatoreSelect(nullptr);
        g_db->ImpostaOsservatoreMotore(nullptr);
        return;
    }
    g_db->ImpostaOsservatoreSelect([nota](const QString &sql) { nota->jet = sql; });
    g_db->ImpostaOsservatoreMotore(
        [nota](const QString &sql) { nota->inviate.emplace_back(nota->jet, sql); });
}

// The engine's text `motore` sent for the Jet text `jet`, as the program's
// driver layer prepares it: the form the engine translated, each text and
// whole number compared against a mark (whole numbers cast to their type, as
// the program writes them), so that one form is prepared once. A text with
// no such literal, or one the engine added (SET), goes as it was sent.
Istruzione Forma(const QString &jet, const QString &motore)
{
    if (jet.isEmpty())
        return {motore, {}};
    const JetSql::Forma f = JetSql::FormaParametrica(jet);
    bool legabili = !f.valori.isEmpty();
    for (const QVariant &v : f.valori)
        legabili = legabili && (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::LongLong);
    if (!legabili)
        return {motore, {}};
    for (int opzioni : {0, DbMotore::LetturaInOrdine}) {
        const QString tradotta = g_db->Traduci(Globali::DbAzienda, f.testo, opzioni);
        if (JetSql::RimettiLetterali(tradotta, f) != motore)
            continue;
        Istruzione i;
        const QString prefisso = JetSql::NomeParametro(0).chopped(3);
        qsizetype da = 0;
        for (;;) {
            const qsizetype p = tradotta.indexOf(prefisso, da);
            bool ok = false;
            const int n = p < 0 ? -1 : QStringView(tradotta).mid(p + prefisso.size(), 3).toInt(&ok);
            if (p < 0 || !ok || n >= f.valori.size()) {
                i.testo += QStringView(tradotta).mid(da, p < 0 ? -1 : p + 1 - da);
                if (p < 0)
                    break;
                da = p + 1;
                continue;
            }
            i.testo += QStringView(tradotta).mid(da, p - da);
            const QVariant &v = f.valori[n];
            const bool intero = v.typeId() == QMetaType::LongLong;
            i.testo += !intero                                                  ? QStringLiteral("?")
                       : v.toLongLong() >= INT_MIN && v.toLongLong() <= INT_MAX ? QStringLiteral("?::int4")
                                                                                : QStringLiteral("?::int8");
            i.valori << v;
            da = p + prefisso.size() + 3;
        }
        return i;
    }
    return {motore, {}};
}

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
    // The page that decodes nothing has no floor: its statements are counted
    // on a few more steps, unmeasured.
    if (pagina == 1 && !g_fallito) {
        Nota nota;
        Osserva(&nota);
        for (int i = 0; i < 50; ++i) {
            nota.inviate.clear();
            if (!pag->EseguiComando(QStringLiteral("Successivo")).toBool())
                break;
            QCoreApplication::processEvents();
            g_istruzioni[pagina].push_back(int(nota.inviate.size()));
        }
        Osserva(nullptr);
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
    Nota nota;
    Osserva(&nota);
    for (int i = 0; i < Passi; ++i) {
        nota.inviate.clear();
        if (!pag->EseguiComando(QStringLiteral("Successivo")).toBool())
            break;
        QCoreApplication::processEvents();
        nota.passi.push_back(nota.inviate);
        QList<QString> riga;
        riga.reserve(caselle.size());
        for (QWidget *w : std::as_const(caselle))
            riga << supporto_bench::TestoCasella(w);
        righe.push_back(riga);
    }
    Osserva(nullptr);
    if (righe.size() < 2) {
        g_fallito = true;
        state.SkipWithError("the form does not walk forward from its first customer");
        form->close();
        delete form;
        return;
    }
    // The statements of each step, and on a server the floor's forms of them.
    std::vector<std::vector<Istruzione>> letture(righe.size());
    for (size_t k = 0; k < righe.size(); ++k) {
        g_istruzioni[pagina].push_back(int(nota.passi[k].size()));
        for (const auto &[jet, motore] : nota.passi[k]) {
            if (!g_mostrate && k == 1)
                std::fprintf(stderr, "page %d, a step sent: %s\n", pagina + 1, qPrintable(motore));
            if (g_odbc)
                letture[k].push_back(Forma(jet, motore));
        }
    }
    if (g_odbc) {
        // Each form read once, unmeasured: prepared, and known to run bound.
        QSet<QString> forme;
        int scritte = 0, tutte = 0;
        for (const std::vector<Istruzione> &passo : letture)
            for (const Istruzione &l : passo) {
                forme.insert(l.testo);
                scritte += l.valori.isEmpty() ? 1 : 0;
                ++tutte;
            }
        std::fprintf(stderr, "page %d: the floor prepares %lld forms for %d statements (%d with no mark)\n",
                     pagina + 1, qlonglong(forme.size()), tutte, scritte);
        qint64 byte = 0;
        for (std::vector<Istruzione> &passo : letture)
            for (Istruzione &l : passo)
                if (g_odbc->Leggi(l.testo, l.valori, nullptr, byte) < 0) {
                    g_fallito = true;
                    state.SkipWithError("the floor's statement failed");
                    std::fprintf(stderr, "floor: %s: %s\n", qPrintable(l.testo),
                                 qPrintable(g_odbc->Errore()));
                    form->close();
                    delete form;
                    return;
                }
    }
    g_mostrate = g_mostrate || pagina == 3;
    std::vector<qint64> &tempi = g_pavimi[pagina];
    size_t i = 0;
    qint64 byte = 0;
    for (auto _ : state) {
        const size_t k = i++ % righe.size();
        const QList<QString> &riga = righe[k];
        QElapsedTimer t;
        t.start();
        // On a server, the very statements the step sent for this record.
        if (g_odbc)
            for (const Istruzione &l : letture[k])
                g_odbc->Leggi(l.testo, l.valori, nullptr, byte);
        supporto_bench::ScriviCaselle(caselle, riga);
        QCoreApplication::processEvents();
        tempi.push_back(t.nsecsElapsed());
    }
    benchmark::DoNotOptimize(byte);
    state.counters["caselle"] = double(caselle.size());
    form->close();
    delete form;
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
    g_db = db;
    Globali::ImpostaDbComp(db);
    if (!connect.isEmpty()) {
        // On a server the menu tables are a schema of the company database.
        if (!supporto_bench::ApriAziendaServer(*db, Globali::DbAzienda, connect))
            return 1;
        // As the program names a server's company ("ODBC;" and the connect
        // text): the form then decodes from the menu schema's tables.
        Globali::NomeDbAzienda = QStringLiteral("ODBC;") + connect;
        g_odbc = std::make_unique<letture_odbc::Connessione>(connect);
        if (!g_odbc->Aperta()) {
            std::fprintf(stderr, "the floor's connection failed: %s\n", qPrintable(g_odbc->Errore()));
            return 1;
        }
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
    auto media = [](const std::vector<int> &v) {
        double somma = 0;
        for (int n : v)
            somma += n;
        return v.empty() ? 0.0 : somma / double(v.size());
    };
    if (connect.isEmpty())
        std::printf(
            "Median next record: registry page %.1f us, its repaint from memory %.1f us (ratio %.2f); "
            "accounting page %.1f us, its repaint from memory %.1f us (ratio %.2f); target 1.5 or less. "
            "Nota page (nothing decoded) %.1f us\n",
            anagrafica, pavAnagrafica, pavAnagrafica > 0 ? anagrafica / pavAnagrafica : 0.0, contabilita,
            pavContabilita, pavContabilita > 0 ? contabilita / pavContabilita : 0.0, nota);
    else
        std::printf(
            "On PostgreSQL through ODBC, median next record: registry page %.1f us, its repaint plus "
            "the step's statements through ODBC %.1f us (ratio %.2f); accounting page %.1f us, its "
            "repaint plus the step's statements through ODBC %.1f us (ratio %.2f); target 1.5 or less. "
            "Nota page (nothing decoded) %.1f us\n",
            anagrafica, pavAnagrafica, pavAnagrafica > 0 ? anagrafica / pavAnagrafica : 0.0, contabilita,
            pavContabilita, pavContabilita > 0 ? contabilita / pavContabilita : 0.0, nota);
    std::printf("Statements a step sends to %s, on average: registry page %.2f, accounting page %.2f, "
                "Nota page %.2f\n",
                connect.isEmpty() ? "SQLite" : "the server", media(g_istruzioni[0]), media(g_istruzioni[3]),
                media(g_istruzioni[1]));
    g_odbc.reset();
    Globali::MenuClient = nullptr;
    Globali::ImpostaDbComp(nullptr);
    return g_fallito ? 1 : 0;
}
