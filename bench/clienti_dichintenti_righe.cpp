// Moving between the lines of the customer form's letters-of-intent grid
// until the totals under it are shown, for a letter whose customer has 2,000
// documents (200 with a payment discount, recomputed by the footer engine),
// beside reading the same SQL sums and the 200 discounted documents' rows
// through SQLite's C API with the statements of the footer benchmark's floor
// (LettureGrezze), in the same run. Prints the medians and their ratio.
//
// bench_clienti_dichintenti_righe [--db PATH] [--customers N] [benchmark options]
// The database is copied first (the letter's documents are added to the
// copy); without --db a demo of N customers (default 100000) is made.
#include "LetteraBench.h"
#include "LettureGrezze.h"
#include "SupportoBench.h"

#include "components/db/DbMotore.h"
#include "components/db/FunzioniSqlite.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/linee/GestLinee.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"
#include "totals/DichIntenti.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

QString g_percorso;
supporto_bench::LetteraBench g_lettera;
std::vector<qint64> g_form, g_sqlite;

// The first customer gets two letters: the first with the 2,000 documents,
// the second without any.
bool preparaCliente()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prepara"));
    db.setDatabaseName(g_percorso);
    if (!db.open())
        return false;
    {
        QSqlQuery q(db);
        q.exec(
            QStringLiteral("SELECT Gruppo, Mastro, Conto FROM PianoConti WHERE Tipo = '3' ORDER BY Gruppo, "
                           "Mastro, Conto LIMIT 1"));
        if (!q.next())
            return false;
        g_lettera = {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), 91, 2031};
        db.transaction();
        const QString conto = QStringLiteral(" WHERE Gruppo = '%1' AND Mastro = '%2' AND Conto = '%3'")
                                  .arg(g_lettera.gruppo, g_lettera.mastro, g_lettera.conto);
        supporto_bench::EseguiBench(q, QStringLiteral("DELETE FROM PdcDicIntenti") + conto);
        for (int k : {g_lettera.lettera, g_lettera.lettera + 1})
            supporto_bench::EseguiBench(
                q, QStringLiteral(
                       "INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione, "
                       "Attivo, ProtRicezione, DataRicAE, RifComunicIntenti, ImportoDichIntenti) VALUES "
                       "('%1', '%2', '%3', %4, 'Lettera %4', 'S', 'P%4', '2031-01-10', '2', 500000)")
                       .arg(g_lettera.gruppo, g_lettera.mastro, g_lettera.conto)
                       .arg(k));
        supporto_bench::InserisciDocumentiLettera(q, g_lettera);
        db.commit();
    }
    db.close();
    return true;
}

void RigheFrmClienti(benchmark::State &state)
{
    auto *form = new frmClienti;
    form->Form_Load();
    form->show();
    QCoreApplication::processEvents();
    form->ogComPag()->LeggiDaChiave({g_lettera.gruppo, g_lettera.mastro, g_lettera.conto});
    form->SelezionaTab(10);
    QCoreApplication::processEvents();
    QTableView *v = form->dbgRiga(1);
    const int col = form->GestLin(1)->IndiceColonna(QStringLiteral("Descrizione"));
    if (form->GestLin(1)->NumeroRighe() != 2) {
        state.SkipWithError("the letters were not read");
        return;
    }
    for (auto _ : state) {
        // The other letter first, so that each move computes the totals anew.
        v->setCurrentIndex(v->model()->index(1, col));
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        v->setCurrentIndex(v->model()->index(0, col));
        QCoreApplication::processEvents();
        g_form.push_back(t.nsecsElapsed());
        benchmark::DoNotOptimize(form->Lab(7010)->text());
    }
    state.counters["fatture"] = DichIntenti::DicCacheKey().TotFatture;
    form->close();
    delete form;
}

// Every column of every row of a prepared statement, as text.
long leggiTutto(sqlite3_stmt *st)
{
    long n = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            n += sqlite3_column_bytes(st, i) + (sqlite3_column_text(st, i) ? 1 : 0);
    sqlite3_reset(st);
    return n;
}

// The floor: the letter's sums and the keys of its discounted documents (the
// program's own texts, translated for SQLite), then each discounted document
// read with the statements the footer engine's floor reads (header with its
// joins, stamp table, lines, expenses: LettureGrezze), every statement
// prepared once.
void SqliteCApi(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    FunzioniSqlite::Registra(db);
    DichIntenti::DicCacheKey().Gruppo = g_lettera.gruppo;
    DichIntenti::DicCacheKey().Mastro = g_lettera.mastro;
    DichIntenti::DicCacheKey().Conto = g_lettera.conto;
    DichIntenti::DicCacheKey().DicIntenti = g_lettera.lettera;
    struct Pronte {
        sqlite3_stmt *somma = nullptr, *chiavi = nullptr;
        std::unique_ptr<letture_grezze::Lettore> documento;
    };
    std::vector<Pronte> pronte;
    for (const char *tipo : {"F", "D", "O"}) {
        const DichIntenti::TabelleDoc t = DichIntenti::TabelleTipoDoc(QString::fromLatin1(tipo));
        DbMotore *motore = Globali::DbComp();
        const QByteArray somma =
            motore
                ->Traduci(Globali::DbAzienda, DichIntenti::SqlSommaDocDichInt(
                                                  t.Testa, QString::fromLatin1(tipo), QStringLiteral("M")) +
                                                  t.FiltroStato)
                .toUtf8();
        const QByteArray chiavi =
            motore
                ->Traduci(Globali::DbAzienda,
                          DichIntenti::SqlDocScoPagDichInt(t.Testa, QString::fromLatin1(tipo)) +
                              t.FiltroStato)
                .toUtf8();
        Pronte p;
        if (sqlite3_prepare_v2(db, somma.constData(), -1, &p.somma, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(db, chiavi.constData(), -1, &p.chiavi, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db));
            break;
        }
        p.documento = std::make_unique<letture_grezze::Lettore>(db, t.Testa.toUtf8(), t.Dett.toUtf8(),
                                                                t.Spese.toUtf8());
        pronte.push_back(std::move(p));
    }
    long letto = 0;
    std::int64_t somma = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        for (Pronte &p : pronte) {
            letto += leggiTutto(p.somma);
            while (sqlite3_step(p.chiavi) == SQLITE_ROW)
                p.documento->Documento(sqlite3_column_int(p.chiavi, 1), sqlite3_column_int(p.chiavi, 0),
                                       somma);
            sqlite3_reset(p.chiavi);
        }
        g_sqlite.push_back(t.nsecsElapsed());
        benchmark::DoNotOptimize(letto);
        benchmark::DoNotOptimize(somma);
    }
    for (Pronte &p : pronte) {
        sqlite3_finalize(p.somma);
        sqlite3_finalize(p.chiavi);
        p.documento.reset();
    }
    sqlite3_close(db);
}

} // namespace

BENCHMARK(RigheFrmClienti)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(SqliteCApi)->Unit(benchmark::kMillisecond)->Iterations(30);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    supporto_bench::Argomenti a = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    int n = int(a.perBenchmark.size());
    QApplication app(n, a.perBenchmark.data());
    QTemporaryDir cartella;
    QString origine = a.db;
    if (origine.isEmpty())
        origine = supporto_bench::CreaDemo(cartella, a.clienti);
    if (origine.isEmpty())
        return 1;
    g_percorso = cartella.filePath(QStringLiteral("lettera.db"));
    if (!QFile::copy(origine, g_percorso) || !preparaCliente()) {
        std::fprintf(stderr, "cannot prepare the customer's letter in %s\n", qPrintable(g_percorso));
        return 1;
    }

    RisposteProgrammate::ImpostaSenzaModali(true);
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    db->ApriSqlite(Globali::DbAzienda, g_percorso);
    ClienteMenuLocale menu;
    Globali::MenuClient = &menu;
    menu.ScriviPar(QStringLiteral("CauCon.GruppoClienti"), g_lettera.gruppo);
    menu.ScriviPar(QStringLiteral("CauCon.MastroClienti"), g_lettera.mastro);
    menu.ScriviPar(QStringLiteral("Ditta.Moneta"), QStringLiteral("EUR"));
    menu.ScriviPar(QStringLiteral("HlpAbil:clienti:clie"), true);
    // The goods measure: the discounted documents are recomputed.
    menu.ScriviPar(QStringLiteral("Personal.Tutti.§DichIntentiQualeTot"), QStringLiteral("M"));
    Globali::CodEuro = QStringLiteral("EUR");
    Globali::DataMenu = QDate::currentDate();

    benchmark::Initialize(&n, a.perBenchmark.data());
    benchmark::RunSpecifiedBenchmarks();
    const double f = supporto_bench::Mediana(g_form), s = supporto_bench::Mediana(g_sqlite);
    std::printf(
        "letter of intent, %d documents (%d discounted): median move to the line until the totals are "
        "shown %.2f ms; SQL sums and discounted documents' rows through SQLite's C API %.2f ms; ratio %.2f\n",
        supporto_bench::DocumentiLettera, supporto_bench::DocumentiScontati, f / 1000.0, s / 1000.0,
        s > 0 ? f / s : 0.0);
    Globali::MenuClient = nullptr;
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
