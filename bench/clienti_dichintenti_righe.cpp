// Moving between the lines of the customer form's letters-of-intent grid
// until the totals under it are shown, for a letter whose customer has 2,000
// documents (200 with a payment discount, recomputed by the footer engine),
// beside reading the same SQL sums and the 200 discounted documents' rows
// (header, lines, expenses) through SQLite's C API in the same run. Prints
// the medians and their ratio.
//
// bench_clienti_dichintenti_righe [--db PATH] [--customers N] [benchmark options]
// The database is copied first (the letter's documents are added to the
// copy); without --db a demo of N customers (default 100000) is made.
#include "LetteraBench.h"
#include "SupportoBench.h"

#include "components/db/DbMotore.h"
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
#include <vector>

namespace
{

QString g_percorso;
supporto_bench::LetteraBench g_lettera;
std::vector<qint64> g_form, g_sqlite;

double mediana(std::vector<qint64> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return double(v[v.size() / 2]) / 1000.0;
}

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
        q.exec(QStringLiteral("SELECT Gruppo, Mastro, Conto FROM PianoConti WHERE Tipo = '3' ORDER BY Gruppo, "
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
                q, QStringLiteral("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione, "
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

void SqliteCApi(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray g = g_lettera.gruppo.toUtf8(), m = g_lettera.mastro.toUtf8(), c = g_lettera.conto.toUtf8();
    struct Tipo {
        const char *testa, *dett, *spese, *somma, *stato;
    };
    const Tipo tipi[] = {
        {"FatTest", "FatDett", "FatSpese",
         "SELECT sum(TotMerce * CASE WHEN FattDocumenti.Segno = '-' THEN -1 ELSE 1 END) FROM FatTest LEFT JOIN "
         "FattDocumenti ON FatTest.FattDocumento = FattDocumenti.FattDocumento",
         ""},
        {"DdtTest", "DdtDett", "DdtSpese", "SELECT sum(TotMerce) FROM DdtTest", " AND (Stato = 'S' OR Stato IS NULL)"},
        {"OrdVenTest", "OrdVenDett", "OrdVenSpese", "SELECT sum(TotMerce) FROM OrdVenTest", " AND Stato IS NULL"},
    };
    long letto = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        for (const Tipo &k : tipi) {
            const QByteArray dove = QByteArray(" WHERE GruppoCli = ?1 AND MastroCli = ?2 AND ContoCli = ?3 AND "
                                               "PdcDicIntenti = ?4") +
                                    k.stato;
            const QByteArray somma = QByteArray(k.somma) + dove + " AND (ScontoPag IS NULL OR ScontoPag = '0')";
            const QByteArray chiavi = QByteArray("SELECT Anno, NumRif FROM ") + k.testa + dove +
                                      " AND ScontoPag IS NOT NULL AND ScontoPag <> '0'";
            const QByteArray testa = QByteArray("SELECT * FROM ") + k.testa + " WHERE Anno = ?1 AND NumRif = ?2";
            const QByteArray dett = QByteArray("SELECT * FROM ") + k.dett + " WHERE Anno = ?1 AND NumRif = ?2";
            const QByteArray spese = QByteArray("SELECT * FROM ") + k.spese + " WHERE Anno = ?1 AND NumRif = ?2";
            sqlite3_stmt *st[5] = {};
            const QByteArray *testi[5] = {&somma, &chiavi, &testa, &dett, &spese};
            for (int i = 0; i < 5; ++i)
                sqlite3_prepare_v2(db, testi[i]->constData(), -1, &st[i], nullptr);
            for (int i = 0; i < 2; ++i) {
                sqlite3_bind_text(st[i], 1, g.constData(), int(g.size()), SQLITE_STATIC);
                sqlite3_bind_text(st[i], 2, m.constData(), int(m.size()), SQLITE_STATIC);
                sqlite3_bind_text(st[i], 3, c.constData(), int(c.size()), SQLITE_STATIC);
                sqlite3_bind_int(st[i], 4, g_lettera.lettera);
            }
            letto += leggiTutto(st[0]);
            while (sqlite3_step(st[1]) == SQLITE_ROW) {
                for (int i = 2; i < 5; ++i) {
                    sqlite3_bind_int(st[i], 1, sqlite3_column_int(st[1], 0));
                    sqlite3_bind_int(st[i], 2, sqlite3_column_int(st[1], 1));
                    letto += leggiTutto(st[i]);
                }
            }
            for (sqlite3_stmt *s : st)
                sqlite3_finalize(s);
        }
        g_sqlite.push_back(t.nsecsElapsed());
        benchmark::DoNotOptimize(letto);
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
    const double f = mediana(g_form), s = mediana(g_sqlite);
    std::printf("letter of intent, %d documents (%d discounted): median move to the line until the totals are "
                "shown %.2f ms; SQL sums and discounted documents' rows through SQLite's C API %.2f ms; ratio %.2f\n",
                supporto_bench::DocumentiLettera, supporto_bench::DocumentiScontati, f / 1000.0, s / 1000.0,
                s > 0 ? f / s : 0.0);
    Globali::MenuClient = nullptr;
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
