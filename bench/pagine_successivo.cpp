// The record-form engine's next-record command on the company's own chart of
// accounts (the program's schema with every index, suppliers and general
// accounts beside the customers, statistics written as at opening), beside a
// minimal window that reads the next customer with one index seek through
// SQLite's C API (a statement prepared once) and fills the same boxes, in the
// same run. Both walk forward for real: either fails when a step does not
// move the key forward. Prints the ratio and the floor's plan.
//
// bench_pagine_successivo [--db PATH | --customers N] [benchmark options]
// With --db the walk is over that company's chart of accounts (opened as the
// program opens it); otherwise over one made of N customers (100,000).
#include "SupportoBench.h"
#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/pagine/GestPagine.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <tuple>

namespace
{

// The key, the kind and sixteen text columns of the customers' table.
const char *const kColonne[] = {"Gruppo",    "Mastro",   "Conto",     "Tipo",   "Descrizione",
                                "RagSoc",    "RagSoc2",  "Cognome",   "Nome",   "PersRiferimento",
                                "Indirizzo", "CAP",      "Localita",  "Comune", "Pr",
                                "Stato",     "Telefono", "Telefono1", "Fax",    "EMail"};
constexpr int NumCampi = int(std::size(kColonne));
QString g_percorso;
std::map<std::string, double> g_tempi;

class FormBench : public QWidget, public ChiamantePagine
{
  public:
    GestPagine pag;
    QList<QLineEdit *> caselle;
    FormBench()
    {
        auto *l = new QVBoxLayout(this);
        for (int i = 0; i < NumCampi; ++i)
            l->addWidget(caselle.emplace_back(new QLineEdit(this)));
    }
    QVariant PersPagPri(int, QVariant &, QVariantList &) override { return 0; }
    QVariant PersPagDop(int, QVariant &, QVariantList &) override { return 0; }
    void ButtonComando(const QString &k) override { pag.EseguiComando(k); }
    QWidget *Finestra() override { return this; }
    QString Chiave() const
    {
        return caselle[0]->text() + u'|' + caselle[1]->text() + u'|' + caselle[2]->text();
    }
};

// `clienti` customers in ledgers of 10,000 in group 01, suppliers in group
// 02 and general accounts in group 03, all in the one table.
void crea(int clienti)
{
    {
        DbMotore motore;
        motore.ApriSqlite(QStringLiteral("Azienda"), g_percorso, true);
        QSqlDatabase q = motore.DatabaseDao(QStringLiteral("Azienda"));
        Schema::ApplicaAzienda(q);
    }
    sqlite3 *db = nullptr;
    sqlite3_open(g_percorso.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    QByteArray ins = "INSERT INTO PianoConti (";
    for (int i = 0; i < NumCampi; ++i)
        ins += QByteArray(i ? ", " : "") + kColonne[i];
    ins += ") VALUES (?";
    for (int i = 1; i < NumCampi; ++i)
        ins += ", ?";
    ins += ')';
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, ins.constData(), -1, &st, nullptr);
    auto scrivi = [&](const QByteArray &gruppo, int n, const QByteArray &tipo) {
        for (int r = 0; r < n; ++r) {
            const QByteArray valori[] = {gruppo, QByteArray::number(10 + r / 10000),
                                         QByteArray::number(r % 10000).rightJustified(4, '0'), tipo};
            for (int i = 0; i < NumCampi; ++i) {
                const QByteArray v =
                    i < 4 ? valori[i] : QByteArray("Valore ") + QByteArray::number(r * 31 + i);
                sqlite3_bind_text(st, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
            }
            sqlite3_step(st);
            sqlite3_reset(st);
        }
    };
    scrivi("01", clienti, "3");
    scrivi("02", clienti / 4, "4");
    scrivi("03", 2000, "1");
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    DbMotore motore;
    supporto_bench::ApriAzienda(motore, QStringLiteral("Azienda"), g_percorso);
}

// The customers of the chart of accounts at g_percorso.
int contaClienti()
{
    sqlite3 *db = nullptr;
    int n = 0;
    if (sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM PianoConti WHERE Tipo = '3'", -1, &st, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            n = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return n;
}

void SuccessivoGestPagine(benchmark::State &state)
{
    DbMotore db;
    supporto_bench::ApriAzienda(db, QStringLiteral("Azienda"), g_percorso);
    FormBench form;
    form.pag.TabellaPrincipale(QStringLiteral("PianoConti"));
    for (int i = 0; i < NumCampi; ++i) {
        OpzioniCampo o;
        if (i < 3)
            o.chiave = 1;
        if (i == 3) {
            o.chiave = 1;
            o.tipoChiave = 2;
            o.predefinito = QStringLiteral("3");
        }
        form.pag.RegistraCampo(QString::fromLatin1(kColonne[i]), form.caselle[i], o);
    }
    FormListaPagine *lista = nullptr;
    form.pag.Inizializza(&form, &db, QStringLiteral("Azienda"), lista);
    form.show();
    form.pag.EseguiComando(QStringLiteral("Inizio"));
    for (auto _ : state) {
        const QString prima = form.Chiave();
        if (!form.pag.EseguiComando(QStringLiteral("Successivo")).toBool()) {
            form.pag.EseguiComando(QStringLiteral("Inizio"));
        } else if (form.Chiave() <= prima) {
            state.SkipWithError("il record successivo non ha una chiave maggiore");
            break;
        }
        QCoreApplication::processEvents();
    }
}

QByteArray selectFinestra()
{
    QByteArray sql = "SELECT ";
    for (int i = 0; i < NumCampi; ++i)
        sql += QByteArray(i ? ", " : "") + kColonne[i];
    return sql + " FROM PianoConti WHERE (Gruppo, Mastro, Conto) > (?1, ?2, ?3) AND Tipo = '3' "
                 "ORDER BY Gruppo, Mastro, Conto LIMIT 1";
}

void FinestraMinima(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, selectFinestra().constData(), -1, &st, nullptr);
    QWidget finestra;
    auto *l = new QVBoxLayout(&finestra);
    QList<QLineEdit *> caselle;
    for (int i = 0; i < NumCampi; ++i)
        l->addWidget(caselle.emplace_back(new QLineEdit(&finestra)));
    finestra.show();
    QByteArray chiave[3] = {"", "", ""};
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i)
            sqlite3_bind_text(st, i + 1, chiave[i].constData(), int(chiave[i].size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < NumCampi; ++i)
                caselle[i]->setText(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
            const QByteArray nuova[3] = {caselle[0]->text().toUtf8(), caselle[1]->text().toUtf8(),
                                         caselle[2]->text().toUtf8()};
            if (std::tie(nuova[0], nuova[1], nuova[2]) <= std::tie(chiave[0], chiave[1], chiave[2])) {
                state.SkipWithError("la finestra minima non va avanti");
                break;
            }
            for (int i = 0; i < 3; ++i)
                chiave[i] = nuova[i];
        } else {
            chiave[0] = chiave[1] = chiave[2] = "";
        }
        sqlite3_reset(st);
        QCoreApplication::processEvents();
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
}

// The floor's plan: an index seek of the key, no sort.
void StampaPiano()
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "EXPLAIN QUERY PLAN " + selectFinestra(), -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        std::printf("  floor plan: %s\n", reinterpret_cast<const char *>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // --righe N is the older name of --customers N.
    std::vector<char *> riga(argv, argv + argc);
    for (char *&a : riga)
        if (qstrcmp(a, "--righe") == 0)
            a = const_cast<char *>("--customers");
    const supporto_bench::Argomenti argomentiBench =
        supporto_bench::LeggiArgomenti(int(riga.size()), riga.data(), 100000);
    std::vector<char *> argomenti = argomentiBench.perBenchmark;
    supporto_bench::InterleaviCasuale(argomenti);
    int n = int(argomenti.size());
    QApplication app(n, argomenti.data());
    QTemporaryDir dir;
    int righe = argomentiBench.clienti;
    if (!argomentiBench.db.isEmpty()) {
        g_percorso = argomentiBench.db;
        righe = contaClienti();
    } else {
        g_percorso = dir.filePath(QStringLiteral("pagine.db"));
        crea(righe);
    }
    supporto_bench::Confronto(benchmark::RegisterBenchmark("SuccessivoGestPagine", SuccessivoGestPagine));
    supporto_bench::Confronto(benchmark::RegisterBenchmark("FinestraMinima", FinestraMinima));
    benchmark::Initialize(&n, argomenti.data());
    supporto_bench::Registratore registro(g_tempi);
    benchmark::RunSpecifiedBenchmarks(&registro);
    benchmark::Shutdown();
    StampaPiano();
    const double a = g_tempi["SuccessivoGestPagine"], b = g_tempi["FinestraMinima"];
    if (a > 0 && b > 0)
        std::printf(
            "Successivo (GestPagine) / finestra minima (una ricerca nell'indice): %.2f (%d clienti)\n", a / b,
            righe);
    return 0;
}
