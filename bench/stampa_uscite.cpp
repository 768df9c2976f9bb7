// The print engine's outputs on the company's customer list, each beside the
// bare library doing the same output in the same run: the Excel-compatible
// file against a plain buffered writer, the Excel workbook against bare
// libxlsxwriter in constant-memory mode (with the peak memory as the rows
// grow), the PDF against bare QPdfWriter drawing the same pages, and the time
// to the first preview page against the same page drawn bare into an image.
// The bare pages (PaginaNuda) do the work the print needs: the columns
// measured on the first rows, the headings, captions and page number drawn.
//   bench_stampa_uscite [--db PATH] [--customers N] [benchmark options]
// A company given with --db is printed whole, or its first N customers when
// --customers is given too; without --db a demo of N (100,000) is made.
#include "PaginaNuda.h"
#include "SupportoBench.h"
#include "components/stampa/FinestreStampa.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/SorgenteMemoria.h"
#include "components/stampa/Stampatore.h"
#include "components/util/Currency.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>
#include <limits>
#include <xlsxwriter.h>

namespace
{

std::map<std::string, double> g_tempi, g_cpu;

// Keeps each benchmark's CPU time too: on a busy machine the wall-clock
// ratios move with the load, the CPU ones much less.
class Registratore : public supporto_bench::Registratore
{
  public:
    Registratore() : supporto_bench::Registratore(g_tempi) {}
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            const std::string nome = r.benchmark_name();
            g_cpu[nome.substr(0, nome.find('/'))] = r.GetAdjustedCPUTime();
        }
        supporto_bench::Registratore::ReportRuns(runs);
    }
};
QList<ColonnaStampa> g_colonne;
QList<QList<CellaStampa>> g_righe;
QString g_cartella;
const QFont g_font(QStringLiteral("Arial"), 9);

// The customers of the demo database (code, name, town, VAT number, credit
// limit) and a balance per row, as the list shows them.
void leggiClienti(const QString &db, int massimo)
{
    g_colonne = {{QStringLiteral("Codice"), 1100, Qt::AlignLeft, true, false},
                 {QStringLiteral("Ragione sociale"), 4200, Qt::AlignLeft, true, false},
                 {QStringLiteral("Località"), 2400, Qt::AlignLeft, true, false},
                 {QStringLiteral("Partita IVA"), 1700, Qt::AlignLeft, true, false},
                 {QStringLiteral("Saldo"), 1500, Qt::AlignRight, true, true}};
    QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
    c.setDatabaseName(db);
    c.open();
    QSqlQuery q(c);
    q.exec(
        QStringLiteral("SELECT p.Gruppo, p.Mastro, p.Conto, p.Descrizione, p.Localita, p.PartIva "
                       "FROM PianoConti p INNER JOIN Mastri m ON p.Gruppo = m.Gruppo AND p.Mastro = m.Mastro "
                       "WHERE m.Tipo = '3' ORDER BY p.Gruppo, p.Mastro, p.Conto"));
    while (q.next() && g_righe.size() < massimo) {
        const qint64 r = g_righe.size();
        const QString codice = q.value(0).toString() + QLatin1Char('-') + q.value(1).toString() +
                               QLatin1Char('-') + q.value(2).toString();
        const Currency saldo = Currency::fromRaw(((r * 7919) % 2000000 - 500000) * 100);
        QString testoSaldo = saldo.toString(2);
        testoSaldo.replace(QLatin1Char('.'), QLatin1Char(','));
        g_righe.append({{codice, codice},
                        {q.value(3).toString(), q.value(3).toString()},
                        {q.value(4).toString(), q.value(4).toString()},
                        {q.value(5).toString(), q.value(5).toString()},
                        {testoSaldo, saldo.toVariant()}});
    }
    c.close();
}

SorgenteMemoria sorgente(int righe)
{
    return SorgenteMemoria(
        g_colonne, qMin<qint64>(righe, g_righe.size()),
        [](qint64 r, QList<CellaStampa> &celle) { celle = g_righe[r]; }, QStringLiteral("Elenco clienti"));
}

EsitoStampa stampa(OpzStampa &opz, int righe = INT_MAX)
{
    Stampatore motore;
    motore.ogOpzSta(&opz);
    SorgenteMemoria s = sorgente(righe);
    return motore.Stampa(s, QStringLiteral("V"), 1, g_font);
}

// ---- Excel-compatible file ----

void CsvMotore(benchmark::State &state)
{
    OpzStampa opz;
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileForm(OpzStampa::FormatoCompatibileExcel);
    opz.FileName(g_cartella + QStringLiteral("/motore.csv"));
    for (auto _ : state) {
        // The engine asks before replacing a file (and, with no one to
        // answer, does not): each export writes a new one.
        QFile::remove(opz.FileName());
        const EsitoStampa e = stampa(opz);
        if (!e.eseguita)
            state.SkipWithError(e.errore.toUtf8().constData());
    }
}

void CsvScrittoreSemplice(benchmark::State &state)
{
    const QByteArray nome = QFile::encodeName(g_cartella + QStringLiteral("/semplice.csv"));
    for (auto _ : state) {
        std::FILE *f = std::fopen(nome.constData(), "wb");
        std::setvbuf(f, nullptr, _IOFBF, 256 * 1024);
        std::fputs("\xEF\xBB\xBF", f);
        auto testo = [f](const QString &t) {
            QByteArray b = t.toUtf8();
            b.replace("\"", "\"\"");
            std::fputc('"', f);
            std::fwrite(b.constData(), 1, size_t(b.size()), f);
            std::fputc('"', f);
        };
        for (int c = 0; c < g_colonne.size(); ++c) {
            if (c)
                std::fputc(';', f);
            testo(g_colonne[c].didascalia);
        }
        std::fputs("\r\n", f);
        for (const QList<CellaStampa> &riga : g_righe) {
            for (int c = 0; c < riga.size(); ++c) {
                if (c)
                    std::fputc(';', f);
                if (g_colonne[c].numerica) {
                    QByteArray n = riga[c].valore.value<Currency>().toString(2).toLatin1();
                    n.replace('.', ',');
                    std::fwrite(n.constData(), 1, size_t(n.size()), f);
                } else {
                    testo(riga[c].testo);
                }
            }
            std::fputs("\r\n", f);
        }
        std::fclose(f);
    }
}

// ---- Excel workbook ----

void XlsxMotore(benchmark::State &state)
{
    OpzStampa opz;
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileForm(OpzStampa::FormatoExcel);
    opz.FileName(g_cartella + QStringLiteral("/motore.xlsx"));
    for (auto _ : state) {
        QFile::remove(opz.FileName());
        const EsitoStampa e = stampa(opz, int(state.range(0)));
        if (!e.eseguita)
            state.SkipWithError(e.errore.toUtf8().constData());
    }
}

void xlsxSemplice(const QString &file, int righe)
{
    lxw_workbook_options o{};
    o.constant_memory = LXW_TRUE;
    lxw_workbook *libro = workbook_new_opt(QFile::encodeName(file).constData(), &o);
    lxw_worksheet *foglio = workbook_add_worksheet(libro, "Elenco clienti");
    lxw_format *grassetto = workbook_add_format(libro);
    format_set_bold(grassetto);
    lxw_format *numero = workbook_add_format(libro);
    format_set_num_format(numero, "#,##0.00");
    for (int c = 0; c < g_colonne.size(); ++c)
        worksheet_write_string(foglio, 0, lxw_col_t(c), g_colonne[c].didascalia.toUtf8().constData(),
                               grassetto);
    const int n = qMin(righe, int(g_righe.size()));
    for (int r = 0; r < n; ++r) {
        const QList<CellaStampa> &riga = g_righe[r];
        for (int c = 0; c < riga.size(); ++c) {
            if (g_colonne[c].numerica)
                worksheet_write_number(foglio, lxw_row_t(r + 1), lxw_col_t(c),
                                       riga[c].valore.value<Currency>().toDouble(), numero);
            else if (!riga[c].testo.isEmpty())
                worksheet_write_string(foglio, lxw_row_t(r + 1), lxw_col_t(c),
                                       riga[c].testo.toUtf8().constData(), nullptr);
        }
    }
    workbook_close(libro);
}

void XlsxSemplice(benchmark::State &state)
{
    for (auto _ : state)
        xlsxSemplice(g_cartella + QStringLiteral("/semplice.xlsx"), int(state.range(0)));
}

// ---- PDF ----

QPageLayout paginaA4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

void PdfMotore(benchmark::State &state)
{
    OpzStampa opz;
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("PDFCreator"));
    opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
    const QString file = g_cartella + QStringLiteral("/motore.pdf");
    opz.ImpostaParStampa(QStringLiteral("PdfNomeFile"), file);
    for (auto _ : state) {
        QFile::remove(file);
        const EsitoStampa e = stampa(opz);
        if (!e.eseguita)
            state.SkipWithError(e.errore.toUtf8().constData());
        state.counters["pagine"] = e.pagine;
    }
}

// The columns measured on the first rows, as the engine does.
PaginaNuda paginaNuda()
{
    PaginaNuda pagina(g_colonne, g_font, paginaA4(), QStringLiteral("Elenco clienti"));
    for (int r = 0; r < PaginaNuda::RigheMisurate && r < g_righe.size(); ++r) {
        QStringList testi;
        for (const CellaStampa &c : g_righe[r])
            testi << c.testo;
        pagina.Misura(testi);
    }
    pagina.Disponi();
    return pagina;
}

// The same pages drawn straight with QPdfWriter.
void PdfSemplice(benchmark::State &state)
{
    for (auto _ : state) {
        const PaginaNuda pagina = paginaNuda();
        const int rpp = pagina.RighePerPagina();
        QPdfWriter w(g_cartella + QStringLiteral("/semplice.pdf"));
        w.setResolution(72);
        w.setPageLayout(paginaA4());
        QPainter p(&w);
        for (int r = 0; r < g_righe.size(); ++r) {
            const int inPagina = r % rpp;
            if (inPagina == 0) {
                if (r > 0)
                    w.newPage();
                pagina.Intestazione(p, r / rpp + 1);
            }
            for (int c = 0; c < g_righe[r].size(); ++c)
                pagina.Cella(p, inPagina, c, g_righe[r][c].testo);
        }
    }
}

// ---- Preview: time to the first page ----

class PrimaPagina : public VistaStampa
{
  public:
    Stampatore *motore = nullptr;
    QImage tela;
    void ogStampa(Stampatore *m) override { motore = m; }
    Stampatore *ogStampa() const override { return motore; }
    void Mostra() override {}
    bool obAttivo() const override { return true; }
    QImage &Tela() override { return tela; }
    void TelaDisegnata() override {}
    // The user leaves after the first page.
    void Continua() override { motore->Interrompi(2); }
    void AbilitaFreccia(int, bool) override {}
    void SistImgFrecce() override {}
    void ScriviMessaggio(const QString &) override {}
};

void AnteprimaMotore(benchmark::State &state)
{
    OpzStampa opz;
    opz.oiStaVid(OpzStampa::UscitaVideo);
    opz.Fatt(1.0f);
    PrimaPagina vista;
    for (auto _ : state) {
        Stampatore motore;
        motore.ogOpzSta(&opz);
        motore.ofrmVStampa(&vista);
        SorgenteMemoria s = sorgente(INT_MAX);
        motore.Stampa(s, QStringLiteral("V"), 1, g_font);
        benchmark::DoNotOptimize(vista.tela.constBits());
    }
}

// The first page drawn straight into an image of the same size: the columns
// measured on the first rows, the headings and the page's rows.
void AnteprimaSemplice(benchmark::State &state)
{
    const double fattore = 96.0 / 72.0;
    const QSizeF punti = paginaA4().fullRect(QPageLayout::Point).size();
    for (auto _ : state) {
        const PaginaNuda pagina = paginaNuda();
        QImage img(qRound(punti.width() * fattore), qRound(punti.height() * fattore), QImage::Format_RGB32);
        const int dpm72 = qRound(72 / 0.0254);
        img.setDotsPerMeterX(dpm72);
        img.setDotsPerMeterY(dpm72);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(fattore, fattore);
        pagina.Intestazione(p, 1);
        for (int r = 0; r < pagina.RighePerPagina() && r < g_righe.size(); ++r)
            for (int c = 0; c < g_righe[r].size(); ++c)
                pagina.Cella(p, r, c, g_righe[r][c].testo);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}

// Starts measuring the peak memory afresh (the kernel resets VmHWM).
void azzeraPicco()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Peak memory of one workbook written in a process of its own.
long memoriaXlsx(const QString &db, int righe, bool motore)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--db"), db, QStringLiteral("--memoria-xlsx"), QString::number(righe),
             motore ? QStringLiteral("motore") : QStringLiteral("semplice")});
    p.waitForFinished(600000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed().toLong();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // the engine may show a message box
    // A child run that measures the memory of one workbook.
    const QStringList args = app.arguments();
    const int iMemoria = args.indexOf(QStringLiteral("--memoria-xlsx"));
    const supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    QString db = argomentiBench.db;
    QTemporaryDir cartella;
    g_cartella = cartella.path();
    if (iMemoria >= 0) {
        const int righe = args.value(iMemoria + 1).toInt();
        leggiClienti(db, righe);
        const long prima = supporto_bench::StatoKb("VmRSS:");
        azzeraPicco();
        if (args.value(iMemoria + 2) == QLatin1String("motore")) {
            OpzStampa opz;
            opz.oiStaVid(OpzStampa::UscitaFile);
            opz.FileForm(OpzStampa::FormatoExcel);
            opz.FileName(g_cartella + QStringLiteral("/m.xlsx"));
            stampa(opz, righe);
        } else {
            xlsxSemplice(g_cartella + QStringLiteral("/s.xlsx"), righe);
        }
        // Growth over the rows held in memory by the benchmark itself.
        std::printf("%ld\n", supporto_bench::StatoKb("VmHWM:") - prima);
        return 0;
    }
    if (db.isEmpty())
        db = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (db.isEmpty())
        return 1;
    // A company given is printed whole (at most --customers rows when given).
    const bool tutti = !argomentiBench.db.isEmpty() && !argomentiBench.clientiIndicati;
    leggiClienti(db, tutti ? std::numeric_limits<int>::max() : argomentiBench.clienti);
    std::fprintf(stderr, "%lld rows from %s\n", qint64(g_righe.size()), qPrintable(db));
    const int tutte = int(g_righe.size());

    benchmark::RegisterBenchmark("CsvMotore", CsvMotore)->Unit(benchmark::kMillisecond)->MinTime(2.0);
    benchmark::RegisterBenchmark("CsvScrittoreSemplice", CsvScrittoreSemplice)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark("XlsxMotore", XlsxMotore)
        ->Arg(tutte)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark("XlsxSemplice", XlsxSemplice)
        ->Arg(tutte)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark("PdfMotore", PdfMotore)->Unit(benchmark::kMillisecond)->Iterations(2);
    benchmark::RegisterBenchmark("PdfSemplice", PdfSemplice)->Unit(benchmark::kMillisecond)->Iterations(2);
    benchmark::RegisterBenchmark("AnteprimaMotore", AnteprimaMotore)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    benchmark::RegisterBenchmark("AnteprimaSemplice", AnteprimaSemplice)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    std::vector<char *> argomenti = argomentiBench.perBenchmark;
    int n = int(argomenti.size());
    benchmark::Initialize(&n, argomenti.data());
    Registratore registratore;
    benchmark::RunSpecifiedBenchmarks(&registratore);
    benchmark::Shutdown();

    auto rapporto = [](const char *nome, const char *motore, const char *semplice, double obiettivo) {
        if (g_tempi.count(motore) && g_tempi.count(semplice) && g_tempi[semplice] > 0 && g_cpu[semplice] > 0)
            std::printf("%s: engine %.1f ms, bare %.1f ms, ratio %.2f (target %.1f or less); CPU %.1f ms / "
                        "%.1f ms, ratio %.2f\n",
                        nome, g_tempi[motore], g_tempi[semplice], g_tempi[motore] / g_tempi[semplice],
                        obiettivo, g_cpu[motore], g_cpu[semplice], g_cpu[motore] / g_cpu[semplice]);
    };
    std::printf("rows: %d\n", tutte);
    rapporto("Excel-compatible file", "CsvMotore", "CsvScrittoreSemplice", 1.5);
    rapporto("Excel workbook", "XlsxMotore", "XlsxSemplice", 1.2);
    rapporto("PDF", "PdfMotore", "PdfSemplice", 1.5);
    rapporto("first preview page", "AnteprimaMotore", "AnteprimaSemplice", 2.0);
    std::printf("peak memory of the workbook (growth over the rows held, KiB):\n");
    for (int righe : {tutte / 4, tutte / 2, tutte})
        std::printf("  %7d rows: engine %ld, bare libxlsxwriter %ld\n", righe, memoriaXlsx(db, righe, true),
                    memoriaXlsx(db, righe, false));
    return 0;
}
