// The print engine's exports on the path a user takes: the customer list
// window's own rows, read by the list a page at a time from the database,
// written as the Excel-compatible file, the Excel workbook and a PDF; each
// beside the bare library fed by the same SELECT stepped through SQLite's C
// API (fwrite, libxlsxwriter in constant-memory mode, QPdfWriter drawing the
// same pages: the first rows measured, headings, captions and page numbers,
// as PaginaNuda does). Repetitions are interleaved at random, and
// the peak memory of each export is measured in a process of its own (the
// workbook's also at a quarter and half of the rows, to show it flat).
//   bench_stampa_lista [--db PATH | --connect ODBC-TEXT] [--customers N] [--solo-tempi]
//                      [benchmark options]
// --solo-tempi leaves out the peak memory (an export per process, several
// at a million rows).
// --connect opens a company copied to PostgreSQL (scripts/copia-su-postgres):
// the list reads its rows from the server as the program does there, a step
// of rows at a time, each step sought from the last row of the one before.
// The floor runs the SELECTs of such a reading, as the server received them,
// through the ODBC C API on a connection of its own with the same text (each
// prepared once, columns bound to UTF-8 buffers, rows fetched in blocks), so
// that the server does the same work for the same rows (the list's SELECT
// run whole has it sort every row first, slower than the list's steps), and
// writes them as bare as on SQLite.
#include "LettureOdbc.h"
#include "ListaBench.h"
#include "PaginaNuda.h"
#include "SupportoBench.h"
#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/GestLista.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <sqlite3.h>
#include <xlsxwriter.h>

#include <charconv>
#include <climits>
#include <cstdio>

namespace
{

std::map<std::string, double> g_tempi;
QString g_percorso, g_cartella;
QString g_connect;                                 // --connect: the company on PostgreSQL
std::unique_ptr<letture_odbc::Connessione> g_odbc; // --connect: the floor's own connection
QStringList g_istruzioni;  // --connect: the SELECTs of a reading of every row, as the server received them
bool g_nota = false;       // while they are noted
bool g_tieniPronte = true; // the floor's statements kept prepared (not while measuring memory)
frmClientiLis *g_lista = nullptr;
// Pages of the last PDF each way: the list's rows take more lines where a
// name wraps whole, the bare page draws each row on one line.
int g_pagineLista = 0, g_pagineNude = 0;
const QFont g_font(QStringLiteral("Arial"), 9);

GestLista *lista()
{
    return g_lista->ogComlin;
}

// The list's rows, stopped after `massimo` (to measure memory against rows).
class SorgenteLimitata : public SorgenteRighe
{
  public:
    SorgenteLimitata(SorgenteRighe &s, qint64 massimo) : m_s(s), m_massimo(massimo) {}
    QList<ColonnaStampa> ColonneStampa() override { return m_s.ColonneStampa(); }
    bool ApriRighe(const QList<int> &c) override
    {
        m_lette = 0;
        return m_s.ApriRighe(c);
    }
    bool RigaSuccessiva(QList<CellaStampa> &celle) override
    {
        return m_lette++ < m_massimo && m_s.RigaSuccessiva(celle);
    }
    int NumeroRighe() override { return m_s.NumeroRighe(); }
    void TestiUtf8(bool si) override { m_s.TestiUtf8(si); }
    QByteArrayView TestoUtf8(int cella) const override { return m_s.TestoUtf8(cella); }
    void ChiudiRighe() override { m_s.ChiudiRighe(); }
    QString Didascalia() override { return m_s.Didascalia(); }

  private:
    SorgenteRighe &m_s;
    qint64 m_massimo, m_lette = 0;
};

EsitoStampa stampaMotore(OpzStampa &opz, qint64 righe = LLONG_MAX)
{
    // The engine asks before replacing a file (and, with no one to answer,
    // does not): each export writes a new one, as the bare writers do.
    if (!opz.FileName().isEmpty())
        QFile::remove(opz.FileName());
    Stampatore motore;
    motore.ogOpzSta(&opz);
    SorgenteLimitata s(lista()->SorgenteStampa(), righe);
    return motore.Stampa(s, QStringLiteral("V"), 1, g_font);
}

OpzStampa opzioniCsv()
{
    OpzStampa o;
    o.oiStaVid(OpzStampa::UscitaFile);
    o.FileForm(OpzStampa::FormatoCompatibileExcel);
    o.FileName(g_cartella + QStringLiteral("/motore.csv"));
    return o;
}

OpzStampa opzioniXlsx()
{
    OpzStampa o;
    o.oiStaVid(OpzStampa::UscitaFile);
    o.FileForm(OpzStampa::FormatoExcel);
    o.FileName(g_cartella + QStringLiteral("/motore.xlsx"));
    return o;
}

OpzStampa opzioniPdf()
{
    OpzStampa o;
    o.oiStaVid(OpzStampa::UscitaStampante);
    o.osNomeStampante(QStringLiteral("PDFCreator"));
    o.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
    o.ImpostaParStampa(QStringLiteral("PdfNomeFile"), g_cartella + QStringLiteral("/motore.pdf"));
    return o;
}

// ---- The bare floor: the list's SELECT stepped through SQLite's C API ----
// (on a server, run through ODBC's, its rows fetched in blocks)

struct Passi {
    sqlite3 *db = nullptr;
    sqlite3_stmt *st = nullptr;
    letture_odbc::Connessione *odbc = g_odbc.get();
    int istruzione = 0; // through ODBC: the one of g_istruzioni whose rows are read
    QList<int> colonne; // the statement's columns of the visible list columns
    QList<bool> numeriche;
    QList<QByteArray> didascalie;
    Passi()
    {
        if (odbc) {
            esegui();
        } else {
            sqlite3_open_v2(g_percorso.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
            const QByteArray sql =
                Globali::DbComp()->Traduci(Globali::DbAzienda, lista()->SqlLista()).toUtf8();
            sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr);
        }
        const int n = odbc ? odbc->NumeroColonne() : sqlite3_column_count(st);
        for (const ColonnaLista &c : lista()->ColonneLista()) {
            if (!c.visibile)
                continue;
            for (int i = 0; i < n; ++i)
                if (c.campo.compare(QString::fromUtf8(odbc ? odbc->NomeColonna(i).constData()
                                                           : sqlite3_column_name(st, i)),
                                    Qt::CaseInsensitive) == 0) {
                    colonne << i;
                    numeriche << c.numerica;
                    didascalie << (c.didascalia.isEmpty() ? c.campo : c.didascalia).toUtf8();
                    break;
                }
        }
    }
    ~Passi()
    {
        if (odbc) {
            odbc->Chiudi();
            return;
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
    bool esegui()
    {
        if (odbc->Esegui(g_istruzioni.value(istruzione), g_tieniPronte))
            return true;
        std::fprintf(stderr, "floor: %s\n", qPrintable(odbc->Errore()));
        return false;
    }
    // Through ODBC the rows of each SELECT in turn, the next one run when
    // the last has no more.
    bool rigaOdbc()
    {
        while (!odbc->Riga())
            if (++istruzione >= g_istruzioni.size() || !esegui())
                return false;
        return true;
    }
    bool riga() { return odbc ? rigaOdbc() : sqlite3_step(st) == SQLITE_ROW; }
    const char *testo(int c) const
    {
        return odbc ? odbc->Testo(colonne[c])
                    : reinterpret_cast<const char *>(sqlite3_column_text(st, colonne[c]));
    }
    int byte(int c) const { return odbc ? odbc->Byte(colonne[c]) : sqlite3_column_bytes(st, colonne[c]); }
    bool nullo(int c) const
    {
        return odbc ? odbc->Testo(colonne[c]) == nullptr : sqlite3_column_type(st, colonne[c]) == SQLITE_NULL;
    }
    // A numeric cell's value (through ODBC, its text read as a number).
    double numero(int c) const
    {
        if (!odbc)
            return sqlite3_column_double(st, colonne[c]);
        const char *t = odbc->Testo(colonne[c]);
        double v = 0;
        std::from_chars(t, t + odbc->Byte(colonne[c]), v);
        return v;
    }
};

void csvNudo(qint64 righe = LLONG_MAX)
{
    Passi p;
    std::FILE *f = std::fopen(QFile::encodeName(g_cartella + QStringLiteral("/nudo.csv")).constData(), "wb");
    std::setvbuf(f, nullptr, _IOFBF, 256 * 1024);
    std::fputs("\xEF\xBB\xBF", f);
    for (int c = 0; c < p.colonne.size(); ++c) {
        if (c)
            std::fputc(';', f);
        std::fprintf(f, "\"%s\"", p.didascalie[c].constData());
    }
    std::fputs("\r\n", f);
    for (qint64 n = 0; n < righe && p.riga(); ++n) {
        for (int c = 0; c < p.colonne.size(); ++c) {
            if (c)
                std::fputc(';', f);
            const char *t = p.testo(c);
            if (!t)
                continue;
            if (p.numeriche[c]) {
                for (const char *q = t; *q; ++q)
                    std::fputc(*q == '.' ? ',' : *q, f);
                continue;
            }
            std::fputc('"', f);
            for (const char *q = t; *q; ++q) {
                if (*q == '"')
                    std::fputc('"', f);
                std::fputc(*q, f);
            }
            std::fputc('"', f);
        }
        std::fputs("\r\n", f);
    }
    std::fclose(f);
}

void xlsxNudo(qint64 righe = LLONG_MAX)
{
    Passi p;
    lxw_workbook_options o{};
    o.constant_memory = LXW_TRUE;
    lxw_workbook *libro =
        workbook_new_opt(QFile::encodeName(g_cartella + QStringLiteral("/nudo.xlsx")).constData(), &o);
    lxw_worksheet *foglio = workbook_add_worksheet(libro, "Clienti");
    lxw_format *grassetto = workbook_add_format(libro);
    format_set_bold(grassetto);
    for (int c = 0; c < p.colonne.size(); ++c)
        worksheet_write_string(foglio, 0, lxw_col_t(c), p.didascalie[c].constData(), grassetto);
    lxw_row_t r = 1;
    for (qint64 n = 0; n < righe && p.riga(); ++n, ++r) {
        for (int c = 0; c < p.colonne.size(); ++c) {
            if (p.numeriche[c] && !p.nullo(c))
                worksheet_write_number(foglio, r, lxw_col_t(c), p.numero(c), nullptr);
            else if (const char *t = p.testo(c); t && *t)
                worksheet_write_string(foglio, r, lxw_col_t(c), t, nullptr);
        }
    }
    workbook_close(libro);
}

QPageLayout paginaA4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

// The same pages drawn bare: the first rows held and measured, then every
// page with its headings, captions, rows and page number (PaginaNuda).
void pdfNudo(qint64 righe = LLONG_MAX)
{
    Passi p;
    QList<ColonnaStampa> colonne;
    for (const ColonnaLista &c : lista()->ColonneLista())
        if (c.visibile)
            colonne << ColonnaStampa{c.didascalia, c.larghezza, c.allineamento, true, c.numerica};
    PaginaNuda pagina(colonne, g_font, paginaA4(), QStringLiteral("Elenco clienti"));
    QList<QStringList> prime;
    auto testi = [&p] {
        QStringList t;
        for (int c = 0; c < p.colonne.size(); ++c)
            t << QString::fromUtf8(p.testo(c), p.byte(c));
        return t;
    };
    while (prime.size() < PaginaNuda::RigheMisurate && prime.size() < righe && p.riga()) {
        prime << testi();
        pagina.Misura(prime.last());
    }
    pagina.Disponi();
    const int rpp = pagina.RighePerPagina();
    QPdfWriter w(g_cartella + QStringLiteral("/nudo.pdf"));
    w.setResolution(72);
    w.setPageLayout(paginaA4());
    QPainter pittore(&w);
    for (qint64 n = 0; n < righe; ++n) {
        QStringList riga;
        if (n < prime.size())
            riga = prime[int(n)];
        else if (p.riga())
            riga = testi();
        else
            break;
        const int inPagina = int(n % rpp);
        if (inPagina == 0) {
            if (n > 0)
                w.newPage();
            pagina.Intestazione(pittore, int(n / rpp) + 1);
            g_pagineNude = int(n / rpp) + 1;
        }
        for (int c = 0; c < riga.size() && c < colonne.size(); ++c)
            pagina.Cella(pittore, inPagina, c, riga[c]);
    }
}

// ---- Benchmarks ----

void segnala(benchmark::State &state, const EsitoStampa &e)
{
    if (!e.eseguita)
        state.SkipWithError(e.errore.toUtf8().constData());
}

void CsvLista(benchmark::State &state)
{
    OpzStampa o = opzioniCsv();
    for (auto _ : state) {
        // The dialog asks before replacing a file: none is there to replace.
        QFile::remove(g_cartella + QStringLiteral("/motore.csv"));
        segnala(state, stampaMotore(o));
    }
}
void CsvNudo(benchmark::State &state)
{
    for (auto _ : state)
        csvNudo();
}
void XlsxLista(benchmark::State &state)
{
    OpzStampa o = opzioniXlsx();
    for (auto _ : state) {
        QFile::remove(g_cartella + QStringLiteral("/motore.xlsx"));
        segnala(state, stampaMotore(o));
    }
}
void XlsxNudo(benchmark::State &state)
{
    for (auto _ : state)
        xlsxNudo();
}
void PdfLista(benchmark::State &state)
{
    OpzStampa o = opzioniPdf();
    for (auto _ : state) {
        QFile::remove(g_cartella + QStringLiteral("/motore.pdf"));
        const EsitoStampa e = stampaMotore(o);
        g_pagineLista = e.pagine;
        segnala(state, e);
    }
}
void PdfNudo(benchmark::State &state)
{
    for (auto _ : state)
        pdfNudo();
}

// ---- Peak memory, one export per process ----

// Growth of the peak over the memory of the open list, in KiB.
long misuraUna(const QString &tipo, qint64 righe)
{
    const long prima = supporto_bench::StatoKb("VmRSS:");
    QFile azzera(QStringLiteral("/proc/self/clear_refs"));
    if (azzera.open(QIODevice::WriteOnly))
        azzera.write("5");
    azzera.close();
    OpzStampa o = tipo.startsWith(QLatin1String("csv"))    ? opzioniCsv()
                  : tipo.startsWith(QLatin1String("xlsx")) ? opzioniXlsx()
                                                           : opzioniPdf();
    if (tipo == QLatin1String("csv-lista") || tipo == QLatin1String("xlsx-lista") ||
        tipo == QLatin1String("pdf-lista"))
        stampaMotore(o, righe);
    else if (tipo == QLatin1String("csv-nudo"))
        csvNudo(righe);
    else if (tipo == QLatin1String("xlsx-nudo"))
        xlsxNudo(righe);
    else
        pdfNudo(righe);
    return supporto_bench::StatoKb("VmHWM:") - prima;
}

long memoria(const QString &tipo, qint64 righe)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(),
            {g_connect.isEmpty() ? QStringLiteral("--db") : QStringLiteral("--connect"),
             g_connect.isEmpty() ? g_percorso : g_connect, QStringLiteral("--memoria"), tipo,
             QString::number(righe)});
    p.waitForFinished(900000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed().split('\n').last().toLong();
}

// --connect: the company on the server opened as the program opens it, the
// list window on it (as ApriListaClienti does on a file), and the floor's
// own connection.
std::unique_ptr<frmClientiLis> apriSuServer()
{
    RisposteProgrammate::ImpostaSenzaModali(true);
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    // On a server the menu tables are a schema of the company database.
    if (!supporto_bench::ApriAziendaServer(*db, Globali::DbAzienda, g_connect))
        return nullptr;
    Globali::NomeDbAzienda = QStringLiteral("ODBC;") + g_connect;
    g_odbc = std::make_unique<letture_odbc::Connessione>(g_connect);
    if (!g_odbc->Aperta()) {
        std::fprintf(stderr, "the floor's connection failed: %s\n", qPrintable(g_odbc->Errore()));
        return nullptr;
    }
    db->ImpostaOsservatoreMotore([](const QString &sql) {
        if (g_nota)
            g_istruzioni << sql;
    });
    auto finestra = supporto_bench::FinestraListaClienti();
    g_lista = finestra.get();
    // The count, on a thread of its own, and the landmarks after it done,
    // the SELECTs of a reading of every row are noted for the floor.
    while (!lista()->RecordsetLista().ConteggioNoto() || ConteggioParallelo::InCorso() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    g_nota = true;
    {
        RigheLista::Lettura lettura(lista()->RecordsetLista());
        while (lettura.Successiva()) {
        }
    }
    g_nota = false;
    std::fprintf(stderr, "a reading of every row runs %d SELECTs on the server, the first:\n  %s\n",
                 int(g_istruzioni.size()), qPrintable(g_istruzioni.value(0)));
    if (g_istruzioni.isEmpty())
        return nullptr;
    return finestra;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    QString tipoMemoria;
    qint64 righeMemoria = 0;
    bool soloTempi = false;
    std::vector<char *> argomenti;
    for (size_t i = 0; i < argomentiBench.perBenchmark.size(); ++i) {
        char *a = argomentiBench.perBenchmark[i];
        if (qstrcmp(a, "--solo-tempi") == 0) {
            soloTempi = true;
        } else if (qstrcmp(a, "--memoria") == 0 && i + 2 < argomentiBench.perBenchmark.size()) {
            tipoMemoria = QString::fromLocal8Bit(argomentiBench.perBenchmark[++i]);
            righeMemoria = QByteArray(argomentiBench.perBenchmark[++i]).toLongLong();
        } else {
            argomenti.push_back(a);
        }
    }
    // The application keeps its own arguments: Google Benchmark's are added
    // to and consumed later, which must not move what Qt points at.
    std::vector<char *> argomentiApp = argomenti;
    int nApp = int(argomentiApp.size());
    QApplication app(nApp, argomentiApp.data());
    QTemporaryDir cartella;
    g_cartella = cartella.path();
    g_percorso = argomentiBench.db;
    g_connect = argomentiBench.connect;
    if (g_percorso.isEmpty() && g_connect.isEmpty())
        g_percorso = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (g_percorso.isEmpty() && g_connect.isEmpty())
        return 1;

    auto finestra = g_connect.isEmpty() ? supporto_bench::ApriListaClienti(g_percorso) : apriSuServer();
    if (!finestra)
        return 1;
    g_lista = finestra.get();
    const int righe = lista()->RecordCount();

    if (!tipoMemoria.isEmpty()) {
        // One reading: what the floor prepares is freed as its rows end.
        g_tieniPronte = false;
        std::printf("%ld\n", misuraUna(tipoMemoria, righeMemoria));
    } else {
        std::fprintf(stderr, "%d rows in the list from %s\n", righe,
                     g_connect.isEmpty() ? qPrintable(g_percorso) : "PostgreSQL");
        supporto_bench::Confronto(benchmark::RegisterBenchmark("CsvLista", CsvLista), 5, 0.1);
        supporto_bench::Confronto(benchmark::RegisterBenchmark("CsvNudo", CsvNudo), 5, 0.1);
        supporto_bench::Confronto(benchmark::RegisterBenchmark("XlsxLista", XlsxLista), 5, 0.1);
        supporto_bench::Confronto(benchmark::RegisterBenchmark("XlsxNudo", XlsxNudo), 5, 0.1);
        // A PDF of the whole list takes seconds: one export per repetition.
        for (auto *b : {benchmark::RegisterBenchmark("PdfLista", PdfLista),
                        benchmark::RegisterBenchmark("PdfNudo", PdfNudo)})
            b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
        supporto_bench::InterleaviCasuale(argomenti);
        int n = int(argomenti.size());
        benchmark::Initialize(&n, argomenti.data());
        supporto_bench::Registratore registratore(g_tempi);
        benchmark::RunSpecifiedBenchmarks(&registratore);
        benchmark::Shutdown();

        auto rapporto = [](const char *nome, const char *motore, const char *nudo, double obiettivo) {
            if (g_tempi.count(motore) && g_tempi.count(nudo) && g_tempi[nudo] > 0)
                std::printf("%s: list %.1f ms, bare %.1f ms, ratio %.2f (target %.1f or less)\n", nome,
                            g_tempi[motore], g_tempi[nudo], g_tempi[motore] / g_tempi[nudo], obiettivo);
        };
        if (g_connect.isEmpty())
            std::printf("rows: %d (best repetition of each)\n", righe);
        else
            std::printf("rows: %d on PostgreSQL, the bare floor through ODBC (best repetition of each)\n",
                        righe);
        rapporto("Excel-compatible file", "CsvLista", "CsvNudo", 1.5);
        rapporto("Excel workbook", "XlsxLista", "XlsxNudo", 1.2);
        rapporto("PDF", "PdfLista", "PdfNudo", 1.5);
        if (g_pagineLista > 0 && g_pagineNude > 0 && g_tempi.count("PdfLista") && g_tempi.count("PdfNudo"))
            std::printf("PDF pages: list %d, bare %d (every row on one line); per page, ratio %.2f\n",
                        g_pagineLista, g_pagineNude,
                        (g_tempi["PdfLista"] / g_pagineLista) / (g_tempi["PdfNudo"] / g_pagineNude));
    }
    if (tipoMemoria.isEmpty() && !soloTempi) {
        std::printf("peak memory over the open list (KiB), one export per process:\n");
        for (const char *t : {"csv", "pdf"})
            std::printf("  %-5s %7d rows: list %ld, bare %ld\n", t, righe,
                        memoria(QStringLiteral("%1-lista").arg(QLatin1String(t)), righe),
                        memoria(QStringLiteral("%1-nudo").arg(QLatin1String(t)), righe));
        for (int r : {righe / 4, righe / 2, righe})
            std::printf("  xlsx  %7d rows: list %ld, bare %ld\n", r, memoria(QStringLiteral("xlsx-lista"), r),
                        memoria(QStringLiteral("xlsx-nudo"), r));
    }
    finestra.reset();
    g_odbc.reset();
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
