// The customer form's next-record command, until the page is shown, beside a
// minimal window that fills as many boxes from one SELECT through SQLite's C
// API in the same run. Prints the medians and their ratio.
//
// bench_clienti_navigazione [--db PATH] [--customers N] [benchmark options]
// Without --db a demo of N customers (default 100000) is made with make-demo.
#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/pagine/GestPagine.h"
#include "customer/CatalogoClienti.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QGridLayout>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

QString g_percorso;
std::vector<qint64> g_form, g_minima;

double mediana(std::vector<qint64> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2] / 1000.0;
}

// The PianoConti columns the form shows, the composite counter-account split.
QStringList colonneForm()
{
    CatalogoClienti::Condizioni c;
    c.colonnaLivelliXml = false;
    QStringList r;
    for (const CatalogoClienti::Voce *v : CatalogoClienti::VociDaRegistrare(c)) {
        const QString campo = QString::fromLatin1(v->campo);
        if (campo.startsWith(QLatin1Char('|')))
            r << campo.split(QLatin1Char('|')).mid(2);
        else
            r << campo;
    }
    return r;
}

void SuccessivoFrmClienti(benchmark::State &state)
{
    auto *form = new frmClienti;
    form->Form_Load();
    form->show();
    QCoreApplication::processEvents();
    GestPagine *pag = form->ogComPag();
    pag->EseguiComando(QStringLiteral("Inizio"));
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (!pag->EseguiComando(QStringLiteral("Successivo")).toBool())
            pag->EseguiComando(QStringLiteral("Inizio"));
        QCoreApplication::processEvents();
        g_form.push_back(t.nsecsElapsed());
    }
    form->close();
    delete form;
}

void FinestraMinima(benchmark::State &state)
{
    const QStringList colonne = colonneForm();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray sql = (QStringLiteral("SELECT ") + colonne.join(QStringLiteral(", ")) +
                            QStringLiteral(" FROM PianoConti WHERE Tipo = '3' AND Gruppo >= ?1 AND (Gruppo > ?1 OR "
                                           "(Mastro >= ?2 AND (Mastro > ?2 OR Conto > ?3))) ORDER BY Gruppo, Mastro, "
                                           "Conto LIMIT 1"))
                               .toUtf8();
    // As large as the form, the boxes in columns as its pages have them.
    QWidget finestra;
    finestra.resize(1240, 760);
    auto *l = new QGridLayout(&finestra);
    QList<QLineEdit *> caselle;
    for (int i = 0; i < colonne.size(); ++i)
        l->addWidget(caselle.emplace_back(new QLineEdit(&finestra)), i / 4, i % 4);
    finestra.show();
    QByteArray chiave[3];
    const int gruppo = int(colonne.indexOf(QStringLiteral("Gruppo"))), mastro = int(colonne.indexOf(QStringLiteral("Mastro"))),
              conto = int(colonne.indexOf(QStringLiteral("Conto")));
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        for (int i = 0; i < 3; ++i)
            sqlite3_bind_text(st, i + 1, chiave[i].constData(), int(chiave[i].size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < int(caselle.size()); ++i)
                caselle[i]->setText(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                                      sqlite3_column_bytes(st, i)));
            chiave[0] = caselle[gruppo]->text().toUtf8();
            chiave[1] = caselle[mastro]->text().toUtf8();
            chiave[2] = caselle[conto]->text().toUtf8();
        } else {
            chiave[0] = chiave[1] = chiave[2] = QByteArray();
        }
        sqlite3_finalize(st);
        QCoreApplication::processEvents();
        g_minima.push_back(t.nsecsElapsed());
    }
    sqlite3_close(db);
}

} // namespace

BENCHMARK(SuccessivoFrmClienti)->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(FinestraMinima)->Unit(benchmark::kMicrosecond)->Iterations(2000);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int clienti = 100000;
    std::vector<char *> argomenti{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--db" && i + 1 < argc)
            g_percorso = QString::fromLocal8Bit(argv[++i]);
        else if (a == "--customers" && i + 1 < argc)
            clienti = QByteArray(argv[++i]).toInt();
        else
            argomenti.push_back(argv[i]);
    }
    int n = int(argomenti.size());
    QApplication app(n, argomenti.data());
    QTemporaryDir cartella;
    if (g_percorso.isEmpty()) {
        g_percorso = cartella.filePath(QStringLiteral("azienda.db"));
        const QString makeDemo = QCoreApplication::applicationDirPath() + QStringLiteral("/../make-demo");
        if (QProcess::execute(makeDemo, {g_percorso, QStringLiteral("--customers"), QString::number(clienti)}) != 0) {
            std::fprintf(stderr, "make-demo failed\n");
            return 1;
        }
    }

    RisposteProgrammate::ImpostaSenzaModali(true);
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    db->ApriSqlite(Globali::DbAzienda, g_percorso);
    ClienteMenuLocale menu;
    Globali::MenuClient = &menu;
    menu.ScriviPar(QStringLiteral("CauCon.GruppoClienti"), QStringLiteral("01"));
    menu.ScriviPar(QStringLiteral("CauCon.MastroClienti"), QStringLiteral("05"));
    menu.ScriviPar(QStringLiteral("Ditta.Moneta"), QStringLiteral("EUR"));
    Globali::DataMenu = QDate::currentDate();

    benchmark::Initialize(&n, argomenti.data());
    benchmark::RunSpecifiedBenchmarks();
    const double a = mediana(g_form), b = mediana(g_minima);
    std::printf("Mediana successivo frmClienti: %.1f us; finestra minima (%d caselle): %.1f us; rapporto %.2f\n", a,
                int(colonneForm().size()), b, b > 0 ? a / b : 0.0);
    Globali::MenuClient = nullptr;
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
