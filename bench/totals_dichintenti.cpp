// Letters-of-intent totals for one letter used by 2,000 documents (200 with a
// payment discount, recomputed by the footer engine), beside their floor in
// the same run: the same SQL sums and discounted documents' keys, and every
// row the footer engine reads for those documents, all read raw through
// SQLite's C API; also beside the SQL sums alone through the record sets, and
// the footer engine's documents per second over the invoices of a large demo
// company.
//
// The letter's figures do not depend on the size of the company: the letter
// is measured on a database of its own (one customer, one letter and its
// 2,000 documents), since its totals read that letter's documents alone,
// through their indexes. Only the footer engine's documents per second run on
// the company given (its first 5,000 invoices), and the output says so.
//
// bench_totals_dichintenti [--db PATH | --connect ODBC-TEXT] [--customers N] [benchmark options]
// Without --db or --connect a demo of N customers (default 2000) is made with
// make-demo. --connect opens a company copied to PostgreSQL
// (scripts/copia-su-postgres) as it is, for the footer engine; the letter's
// database of its own is then made on the same server (a database created
// beside the company's and dropped at the end), and its floor is read through
// the ODBC C API on a connection of its own.
#include "components/db/DbMotore.h"
#include "components/db/FunzioniSqlite.h"
#include "components/db/RecDat.h"
#include "components/db/Schema.h"
#include "services/Globali.h"
#include "totals/DichIntenti.h"
#include "totals/scCalcPiedeFat.h"

#include "LetteraBench.h"
#include "LettureGrezze.h"
#include "LettureGrezzeOdbc.h"
#include "SupportoBench.h"
#include <QCoreApplication>
#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace
{

const QString ConnLettera = QStringLiteral("Lettera");
const QString ConnDemo = QStringLiteral("Demo");
constexpr int NumDocumenti = supporto_bench::DocumentiLettera;
constexpr int NumScontati = supporto_bench::DocumentiScontati;
constexpr int MaxFattureDemo = 5000;

QString g_demo;
QString g_lettera;
QString g_connect;        // --connect: the company on a server
QString g_connectLettera; // the letter's database on that server
std::vector<std::pair<int, int>> g_fatture;
int g_clientiDemo = 0;
std::map<std::string, double> g_tempi;

void esegui(QSqlQuery &q, const QString &sql)
{
    supporto_bench::EseguiBench(q, sql);
}

// One customer, one letter and its documents (LetteraBench.h).
void preparaLettera(const QString &percorso)
{
    DbMotore *db = Globali::DbComp();
    if (g_connectLettera.isEmpty())
        db->ApriSqlite(ConnLettera, percorso, true);
    else
        db->ApriConnessione(ConnLettera, g_connectLettera);
    QSqlDatabase qdb = db->DatabaseDao(ConnLettera);
    Schema::ApplicaAzienda(qdb);
    qdb.transaction();
    QSqlQuery q(qdb);
    esegui(q, "INSERT INTO Monete (Moneta, NumDec) VALUES ('EUR', 2)");
    esegui(q,
           "INSERT INTO TabIva (Iva, Aliquota, TipoIva, DescrizioneBreve) VALUES ('22', 22, '1', 'Iva 22')");
    esegui(q,
           "INSERT INTO TabIva (Iva, Aliquota, TipoIva, DescrizioneBreve) VALUES ('10', 10, '1', 'Iva 10')");
    esegui(q, "INSERT INTO FattDocumenti (FattDocumento, RegimeMargine, Segno) VALUES ('FT', 'N', '+')");
    esegui(q, "INSERT INTO FattDocumenti (FattDocumento, RegimeMargine, Segno) VALUES ('NC', 'N', '-')");
    esegui(q, "INSERT INTO PagTipi (PagTipo, TipoEffetto, AddBolli) VALUES ('RD', '2', 'N')");
    esegui(q, "INSERT INTO Pagamenti (Pagamento, PagTipo, NumScad) VALUES ('RD', 'RD', 1)");
    esegui(
        q,
        "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) VALUES ('01', '03', '0001', 'Rossi')");
    supporto_bench::InserisciDocumentiLettera(
        q, {QStringLiteral("01"), QStringLiteral("03"), QStringLiteral("0001"), 1, 2024});
    qdb.commit();
    if (!g_connectLettera.isEmpty())
        Schema::Statistiche(qdb); // the planner's figures for the rows just written
}

// The customer and letter of the cache, as a computation of the letter leaves them.
void chiaveLettera()
{
    DichIntenti::DicCacheKey().Gruppo = QStringLiteral("01");
    DichIntenti::DicCacheKey().Mastro = QStringLiteral("03");
    DichIntenti::DicCacheKey().Conto = QStringLiteral("0001");
    DichIntenti::DicCacheKey().DicIntenti = 1;
}

double totaleLettera(const char *misura)
{
    DichIntenti::DicCacheKey().QualeTot = QString::fromLatin1(misura);
    double f = 0, d = 0, o = 0;
    DichIntenti::TotDichIntenti(1, QStringLiteral("01"), QStringLiteral("03"), QStringLiteral("0001"), f, d,
                                o, true);
    return f + d + o;
}

void TotDichIntentiMerce(benchmark::State &state)
{
    Globali::DbAzienda = ConnLettera;
    double t = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(t = totaleLettera("M"));
    state.counters["totale"] = t;
}

void TotDichIntentiDocumento(benchmark::State &state)
{
    Globali::DbAzienda = ConnLettera;
    double t = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(t = totaleLettera("D"));
    state.counters["totale"] = t;
}

// The same SQL of the goods measure, read through the same record sets, with
// the discounted documents' keys read but not recomputed.
void SommeSqlSole(benchmark::State &state)
{
    Globali::DbAzienda = ConnLettera;
    chiaveLettera();
    double somma = 0;
    for (auto _ : state) {
        for (const char *tipo : {"F", "D", "O"}) {
            const DichIntenti::TabelleDoc t = DichIntenti::TabelleTipoDoc(QString::fromLatin1(tipo));
            RecDat rs;
            const QString h = rs.ApriRec(
                Globali::DbComp(), Globali::DbAzienda, QString(),
                DichIntenti::SqlSommaDocDichInt(t.Testa, QString::fromLatin1(tipo), QStringLiteral("M")) +
                    t.FiltroStato,
                false, RecDat::TipoSnapshot);
            somma += rs.LeggiCampo(h, QStringLiteral("MerceTot"), 5).toDouble();
            rs.ChiudiRec(h);
            const QString k = rs.ApriRec(
                Globali::DbComp(), Globali::DbAzienda, QString(),
                DichIntenti::SqlDocScoPagDichInt(t.Testa, QString::fromLatin1(tipo)) + t.FiltroStato, false,
                RecDat::TipoSnapshot);
            for (; !rs.FineFile(k); rs.MuoviSuccessivo(k))
                somma += rs.LeggiCampo(k, QStringLiteral("NumRif"), 3).toInt();
        }
        benchmark::DoNotOptimize(somma);
    }
}

// The floor of the goods measure: the SQL sums and the discounted documents'
// keys of the three kinds (the program's texts translated for SQLite), and the
// header, stamp-table, line and expense rows of each discounted document, all
// through SQLite's C API with statements prepared once.
void SommeERigheGrezze(benchmark::State &state)
{
    Globali::DbAzienda = ConnLettera;
    chiaveLettera();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_lettera.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    FunzioniSqlite::Registra(db);
    struct Tipo {
        sqlite3_stmt *somme = nullptr, *chiavi = nullptr;
        std::unique_ptr<letture_grezze::Lettore> righe;
    };
    std::vector<Tipo> tipi;
    for (const char *tipo : {"F", "D", "O"}) {
        const DichIntenti::TabelleDoc t = DichIntenti::TabelleTipoDoc(QString::fromLatin1(tipo));
        Tipo k;
        const QByteArray somme =
            Globali::DbComp()
                ->Traduci(ConnLettera, DichIntenti::SqlSommaDocDichInt(t.Testa, QString::fromLatin1(tipo),
                                                                       QStringLiteral("M")) +
                                           t.FiltroStato)
                .toUtf8();
        const QByteArray chiavi =
            Globali::DbComp()
                ->Traduci(ConnLettera, DichIntenti::SqlDocScoPagDichInt(t.Testa, QString::fromLatin1(tipo)) +
                                           t.FiltroStato)
                .toUtf8();
        if (sqlite3_prepare_v2(db, somme.constData(), -1, &k.somme, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(db, chiavi.constData(), -1, &k.chiavi, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(db));
            break;
        }
        k.righe = std::make_unique<letture_grezze::Lettore>(db, t.Testa.toUtf8(), t.Dett.toUtf8(),
                                                            t.Spese.toUtf8());
        tipi.push_back(std::move(k));
    }
    int64_t somma = 0;
    double merce = 0;
    for (auto _ : state) {
        for (Tipo &k : tipi) {
            if (sqlite3_step(k.somme) == SQLITE_ROW)
                merce += sqlite3_column_double(k.somme, 1);
            sqlite3_reset(k.somme);
            while (sqlite3_step(k.chiavi) == SQLITE_ROW)
                k.righe->Documento(sqlite3_column_int(k.chiavi, 1), sqlite3_column_int(k.chiavi, 0), somma);
            sqlite3_reset(k.chiavi);
        }
        benchmark::DoNotOptimize(somma);
        benchmark::DoNotOptimize(merce);
    }
    for (Tipo &k : tipi) {
        sqlite3_finalize(k.somme);
        sqlite3_finalize(k.chiavi);
        k.righe.reset();
    }
    sqlite3_close(db);
}

// On a server: the floor of SommeERigheGrezze, through ODBC.
void SommeERigheOdbc(benchmark::State &state)
{
    Globali::DbAzienda = ConnLettera;
    chiaveLettera();
    letture_odbc::Connessione conn(g_connectLettera);
    if (!conn.Aperta()) {
        state.SkipWithError(qPrintable(conn.Errore()));
        return;
    }
    struct Tipo {
        QString somme, chiavi;
        std::unique_ptr<letture_grezze::LettoreOdbc> righe;
    };
    std::vector<Tipo> tipi;
    for (const char *tipo : {"F", "D", "O"}) {
        const DichIntenti::TabelleDoc t = DichIntenti::TabelleTipoDoc(QString::fromLatin1(tipo));
        Tipo k;
        k.somme = Globali::DbComp()->Traduci(
            ConnLettera,
            DichIntenti::SqlSommaDocDichInt(t.Testa, QString::fromLatin1(tipo), QStringLiteral("M")) +
                t.FiltroStato);
        k.chiavi = Globali::DbComp()->Traduci(
            ConnLettera,
            DichIntenti::SqlDocScoPagDichInt(t.Testa, QString::fromLatin1(tipo)) + t.FiltroStato);
        k.righe = std::make_unique<letture_grezze::LettoreOdbc>(conn, t.Testa.toUtf8(), t.Dett.toUtf8(),
                                                                t.Spese.toUtf8());
        tipi.push_back(std::move(k));
    }
    int64_t somma = 0;
    double merce = 0;
    qint64 byte = 0;
    std::vector<QStringList> righe;
    for (auto _ : state) {
        for (Tipo &k : tipi) {
            righe.clear();
            if (conn.Leggi(k.somme, &righe, byte) < 0) {
                state.SkipWithError(qPrintable(conn.Errore()));
                return;
            }
            if (!righe.empty() && righe.front().size() > 1)
                merce += righe.front().at(1).toDouble();
            righe.clear();
            if (conn.Leggi(k.chiavi, &righe, byte) < 0) {
                state.SkipWithError(qPrintable(conn.Errore()));
                return;
            }
            for (const QStringList &r : righe)
                if (!k.righe->Documento(r.value(1).toInt(), r.value(0).toInt(), somma)) {
                    state.SkipWithError(qPrintable(conn.Errore()));
                    return;
                }
        }
        benchmark::DoNotOptimize(somma);
        benchmark::DoNotOptimize(merce);
    }
}

void MotoreDemo(benchmark::State &state)
{
    Globali::DbAzienda = ConnDemo;
    scCalcPiedeFat motore;
    motore.osTabTesta = QStringLiteral("FatTest");
    motore.osTabDett = QStringLiteral("FatDett");
    motore.osTabLiv = QStringLiteral("FatLiv");
    motore.osTabSpese = QStringLiteral("FatSpese");
    long errori = 0;
    for (auto _ : state) {
        for (const auto &[anno, numero] : g_fatture) {
            motore.CalcPiedeFat(anno, numero, false, -1);
            errori += motore.oiNumErrori;
            benchmark::DoNotOptimize(motore.odTotPagare);
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(g_fatture.size()));
    state.counters["errori"] = double(errori) / double(state.iterations());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 2000);
    g_demo = argomentiBench.db;
    std::vector<char *> argomenti = argomentiBench.perBenchmark;
    g_connect = argomentiBench.connect;
    const bool server = !g_connect.isEmpty();
    QTemporaryDir cartella;
    if (g_demo.isEmpty() && !server)
        g_demo = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (g_demo.isEmpty() && !server)
        return 1;
    Globali::CodEuro = QStringLiteral("EUR");
    Globali::CodLira = QStringLiteral("LIT");
    Globali::ImpostaDbComp(new DbMotore);
    // On a server the letter's database is made beside the company's, named
    // after this process; the company itself is only read.
    const QString nomeLettera = QStringLiteral("bench_lettera_%1").arg(QCoreApplication::applicationPid());
    if (server) {
        try {
            Globali::DbComp()->ApriConnessione(ConnDemo, g_connect);
        } catch (...) {
            std::fprintf(stderr, "the company on the server cannot be opened\n");
            return 1;
        }
        QSqlDatabase q = Globali::DbComp()->DatabaseDao(ConnDemo);
        Schema::IndiciAllApertura(q); // as the program does at opening
        Schema::VersioneDecodifiche(q);
        Schema::VersioneMenu(q, QStringLiteral("menu"));
        Globali::NomeDbAzienda = QStringLiteral("ODBC;") + g_connect;
        g_demo = QStringLiteral("the company on PostgreSQL");
        QSqlQuery crea(q);
        if (!crea.exec(QStringLiteral("CREATE DATABASE ") + nomeLettera)) {
            std::fprintf(stderr, "the letter's database cannot be made on the server: %s\n",
                         qPrintable(crea.lastError().text()));
            return 1;
        }
        static const QRegularExpression database(QStringLiteral("DATABASE=[^;]*"),
                                                 QRegularExpression::CaseInsensitiveOption);
        g_connectLettera = g_connect;
        g_connectLettera.replace(database, QStringLiteral("DATABASE=") + nomeLettera);
        g_lettera = nomeLettera;
    } else {
        g_lettera = cartella.path() + QStringLiteral("/lettera.db");
    }
    preparaLettera(g_lettera);
    if (!server)
        Globali::DbComp()->ApriSqlite(ConnDemo, g_demo);
    {
        QSqlQuery q(Globali::DbComp()->DatabaseDao(ConnDemo));
        q.exec(QStringLiteral("SELECT Anno, NumRif FROM FatTest ORDER BY Anno, NumRif LIMIT %1")
                   .arg(MaxFattureDemo));
        while (q.next())
            g_fatture.emplace_back(q.value(0).toInt(), q.value(1).toInt());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM PianoConti WHERE Tipo = '3'"));
        g_clientiDemo = q.next() ? q.value(0).toInt() : 0;
    }

    supporto_bench::Confronto(benchmark::RegisterBenchmark("TotDichIntentiMerce", TotDichIntentiMerce));
    const char *grezze = server ? "SommeERigheOdbc" : "SommeERigheGrezze";
    supporto_bench::Confronto(
        benchmark::RegisterBenchmark(grezze, server ? SommeERigheOdbc : SommeERigheGrezze));
    supporto_bench::Confronto(benchmark::RegisterBenchmark("SommeSqlSole", SommeSqlSole), 3);
    supporto_bench::Confronto(
        benchmark::RegisterBenchmark("TotDichIntentiDocumento", TotDichIntentiDocumento), 3);
    supporto_bench::Confronto(benchmark::RegisterBenchmark("MotoreDemo", MotoreDemo), 3, 1.0);
    supporto_bench::InterleaviCasuale(argomenti);
    int n = int(argomenti.size());
    benchmark::Initialize(&n, argomenti.data());
    supporto_bench::Registratore registratore(g_tempi);
    benchmark::RunSpecifiedBenchmarks(&registratore);
    benchmark::Shutdown();

    std::printf("The letter of intent is measured on a database of its own (one customer, one letter, %d "
                "documents), whatever the size of the company; the footer engine on %s (%d customers).\n",
                NumDocumenti, qPrintable(g_demo), g_clientiDemo);
    if (g_tempi.count("TotDichIntentiMerce") && g_tempi.count(grezze))
        std::printf(
            "letter of intent, %d documents (%d discounted): totals %.2f ms, SQL sums and the "
            "discounted documents' rows read raw%s %.2f ms, ratio %.2f (target 2 or less; best repetition "
            "of each)\n",
            NumDocumenti, NumScontati, g_tempi["TotDichIntentiMerce"], server ? " through ODBC" : "",
            g_tempi[grezze], g_tempi["TotDichIntentiMerce"] / g_tempi[grezze]);
    if (g_tempi.count("TotDichIntentiMerce") && g_tempi.count("SommeSqlSole"))
        std::printf("letter of intent: SQL sums alone through the record sets %.2f ms, ratio %.1f\n",
                    g_tempi["SommeSqlSole"], g_tempi["TotDichIntentiMerce"] / g_tempi["SommeSqlSole"]);
    if (g_tempi.count("MotoreDemo") && !g_fatture.empty())
        std::printf("footer engine: the company's first %zu invoices, %.0f documents/s\n", g_fatture.size(),
                    double(g_fatture.size()) / (g_tempi["MotoreDemo"] / 1e3));
    if (server) {
        Globali::DbComp()->ChiudiConnessione(ConnLettera);
        QSqlQuery togli(Globali::DbComp()->DatabaseDao(ConnDemo));
        if (!togli.exec(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(nomeLettera)))
            std::fprintf(stderr, "the letter's database %s is left on the server: %s\n",
                         qPrintable(nomeLettera), qPrintable(togli.lastError().text()));
    }
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
