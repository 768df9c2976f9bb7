// The record-form engine's next-record command on a large table, beside a
// minimal window that fills the same boxes from one SELECT through SQLite's C
// API in the same run. Prints the ratio.
//
// bench_pagine_successivo [--righe N] [benchmark options]   (default 100000 rows)
#include "components/db/DbMotore.h"
#include "components/pagine/GestPagine.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>

namespace
{

constexpr int NumCampi = 20;
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
};

QString colonna(int i)
{
    static const char *chiavi[] = {"Gruppo", "Mastro", "Conto", "Tipo"};
    return i < 4 ? QString::fromLatin1(chiavi[i]) : QStringLiteral("Campo%1").arg(i);
}

void crea(int righe)
{
    sqlite3 *db = nullptr;
    sqlite3_open(g_percorso.toUtf8().constData(), &db);
    QString sql = QStringLiteral("CREATE TABLE PianoConti (");
    for (int i = 0; i < NumCampi; ++i)
        sql += colonna(i) + QStringLiteral(" TEXT COLLATE NOCASE, ");
    sql += QStringLiteral("PRIMARY KEY (Gruppo, Mastro, Conto))");
    sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    QString ins = QStringLiteral("INSERT INTO PianoConti VALUES (?");
    for (int i = 1; i < NumCampi; ++i)
        ins += QStringLiteral(", ?");
    ins += QLatin1Char(')');
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, ins.toUtf8().constData(), -1, &st, nullptr);
    for (int r = 0; r < righe; ++r) {
        const QByteArray valori[] = {"01", QByteArray::number(10 + r / 10000), QByteArray::number(r % 10000).rightJustified(4, '0'),
                                     "3"};
        for (int i = 0; i < NumCampi; ++i) {
            const QByteArray v = i < 4 ? valori[i] : QByteArray("Valore ") + QByteArray::number(r * 31 + i);
            sqlite3_bind_text(st, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void SuccessivoGestPagine(benchmark::State &state)
{
    DbMotore db;
    db.ApriSqlite(QStringLiteral("Azienda"), g_percorso);
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
        form.pag.RegistraCampo(colonna(i), form.caselle[i], o);
    }
    FormListaPagine *lista = nullptr;
    form.pag.Inizializza(&form, &db, QStringLiteral("Azienda"), lista);
    form.show();
    form.pag.EseguiComando(QStringLiteral("Inizio"));
    for (auto _ : state) {
        if (!form.pag.EseguiComando(QStringLiteral("Successivo")).toBool())
            form.pag.EseguiComando(QStringLiteral("Inizio"));
        QCoreApplication::processEvents();
    }
}

void FinestraMinima(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open(g_percorso.toUtf8().constData(), &db);
    QString sql = QStringLiteral("SELECT ");
    for (int i = 0; i < NumCampi; ++i)
        sql += (i ? QStringLiteral(", ") : QString()) + colonna(i);
    sql += QStringLiteral(" FROM PianoConti WHERE Tipo = '3' AND Gruppo >= ?1 AND (Gruppo > ?1 OR (Mastro >= ?2 AND "
                          "(Mastro > ?2 OR Conto > ?3))) ORDER BY Gruppo, Mastro, Conto LIMIT 1");
    QWidget finestra;
    auto *l = new QVBoxLayout(&finestra);
    QList<QLineEdit *> caselle;
    for (int i = 0; i < NumCampi; ++i)
        l->addWidget(caselle.emplace_back(new QLineEdit(&finestra)));
    finestra.show();
    QByteArray chiave[3] = {"", "", ""};
    for (auto _ : state) {
        // Prepared anew each time, as a window reading one record would.
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
        for (int i = 0; i < 3; ++i)
            sqlite3_bind_text(st, i + 1, chiave[i].constData(), int(chiave[i].size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < NumCampi; ++i)
                caselle[i]->setText(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
            for (int i = 0; i < 3; ++i)
                chiave[i] = caselle[i]->text().toUtf8();
        } else {
            chiave[0] = chiave[1] = chiave[2] = "";
        }
        sqlite3_finalize(st);
        QCoreApplication::processEvents();
    }
    sqlite3_close(db);
}

class Registro : public benchmark::ConsoleReporter
{
  public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs)
            g_tempi[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(SuccessivoGestPagine)->Unit(benchmark::kMicrosecond);
BENCHMARK(FinestraMinima)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int righe = 100000;
    std::vector<char *> argomenti;
    for (int i = 0; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--righe" && i + 1 < argc)
            righe = QByteArray(argv[++i]).toInt();
        else
            argomenti.push_back(argv[i]);
    }
    int n = int(argomenti.size());
    QApplication app(n, argomenti.data());
    QTemporaryDir dir;
    g_percorso = dir.filePath(QStringLiteral("pagine.db"));
    crea(righe);
    benchmark::Initialize(&n, argomenti.data());
    Registro registro;
    benchmark::RunSpecifiedBenchmarks(&registro);
    const double a = g_tempi["SuccessivoGestPagine"], b = g_tempi["FinestraMinima"];
    if (a > 0 && b > 0)
        std::printf("Successivo (GestPagine) / finestra minima: %.2f (%d righe)\n", a / b, righe);
    return 0;
}
