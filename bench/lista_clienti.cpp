// The customer list window on a large company (100,000 customers): opening
// the list, and a name-prefix search, each beside the same SELECT stepped for
// the same rows through SQLite's C API in the same run (ratio; target 2 or
// less). Each is timed twice: until the cells of the first screen are ready
// to be shown (the list against the bare steps), and until that screen is
// painted (the list against the bare steps shown in a bare QTableView of the
// same size, its rows of the same height and font, over a plain model of their
// texts). Then the whole list scrolled from the top to the bottom a screen at
// a time, each screen painted, once in code order and once in name order,
// once its count is known: the time per screen and the memory, sampled as it
// scrolls (target: flat), beside the memory the same rows take when read at
// once.
//
//   bench_lista_clienti [--db PATH | --connect ODBC-TEXT] [--customers N]
//                       [--solo-scorrimento] [--tutte-in-memoria] [--solo-tempi]
//                       [--schermate] [--salti N] [--limite-scorrimento SECONDS]
//                       [--ordina N] [--cerca-in N] [benchmark options]
// --solo-scorrimento runs only the scrolling, --tutte-in-memoria only the
// reading of every row, so that /usr/bin/time -v gives each one's peak.
// --schermate times a screen of a scroll through the whole list (every 10th
// screen), --salti N N jumps beside the bare seek of the same screen (its
// first row's ordering values, one comparison) through the C API, in code,
// name and descending name order (SQLite's C API, or ODBC's with --connect).
// A scroll still going after --limite-scorrimento seconds (600 unless given)
// stops there and says how far it came. --ordina and --cerca-in: below.
// A company given with --db is read once first, into the system's cache.
// --connect opens a company copied to PostgreSQL (scripts/copia-su-postgres);
// the floor then runs the SELECTs the list ran, as the server received them,
// through the ODBC C API on a connection of its own with the same text,
// columns bound to UTF-8 buffers and rows fetched in blocks.
#include "LettureOdbc.h"
#include "ListaBench.h"
#include "PavimentiLista.h"
#include "SupportoBench.h"
#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/GestLista.h"
#include "components/lista/ListaPagine.h"
#include "components/util/UtilGlob.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QSqlDatabase>
#include <QTableView>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

QString g_percorso;
frmClientiLis *g_lista = nullptr;
std::vector<qint64> g_apri, g_apriC, g_cerca, g_cercaC, g_conta, g_apriP, g_apriCP, g_cercaP, g_cercaCP;
QTableView *g_nuda = nullptr;
int g_righeLette = 0;
std::unique_ptr<letture_odbc::Connessione> g_odbc; // --connect: the floor's own connection
QStringList g_istruzioni;                          // the SELECTs the list ran (engine texts) while noted
bool g_nota = false;
QSet<QString> g_stampate;         // statements already shown on stderr
double g_limiteScorrimento = 600; // seconds
const char *const kPrefissi[] = {"Rossi",   "Bianchi", "Ferrari", "Romano",
                                 "Colombo", "Ricci",   "Marino",  "Greco"};

long rssKb(const char *campo = "VmRSS:")
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &riga : f.readAll().split('\n'))
        if (riga.startsWith(campo))
            return riga.mid(int(qstrlen(campo))).trimmed().split(' ').value(0).toLong();
    return 0;
}

GestLista *lista()
{
    return g_lista->ogComlin;
}

// The first page's SELECT as the engine receives it.
QByteArray sqlPagina()
{
    RigheLista &r = lista()->RecordsetLista();
    return Globali::DbComp()
        ->Traduci(Globali::DbAzienda,
                  SqlLista::Pagina(r.Parti(), {}, r.Ordine(), false, RigheLista::RighePagina))
        .toUtf8();
}

// Notes the SELECTs the list runs from here to Istruzioni().
void Nota()
{
    g_istruzioni.clear();
    g_nota = true;
}

// The SELECTs noted, as the engine received them (literals in the text).
QStringList Istruzioni(const char *cosa)
{
    g_nota = false;
    const QStringList tradotte = g_istruzioni;
    for (const QString &t : std::as_const(tradotte))
        if (!g_stampate.contains(t)) {
            g_stampate.insert(t);
            std::fprintf(stderr, "%s: %s\n", cosa, qPrintable(t));
        }
    return tradotte;
}

// The texts of the bare steps, for the bare view.
class ModelloNudo : public QAbstractTableModel
{
  public:
    std::vector<QStringList> righe;
    int colonne = 0;
    int rowCount(const QModelIndex &) const override { return int(righe.size()); }
    int columnCount(const QModelIndex &) const override { return colonne; }
    QVariant data(const QModelIndex &i, int ruolo) const override
    {
        return ruolo == Qt::DisplayRole ? QVariant(righe[size_t(i.row())].value(i.column())) : QVariant();
    }
    void Imposta(std::vector<QStringList> r, int c)
    {
        beginResetModel();
        righe = std::move(r);
        colonne = c;
        endResetModel();
    }
};
ModelloNudo *g_modelloNudo = nullptr;

// The bare view's columns as wide as the grid's (the SELECT's columns in the
// grid's order).
void larghezzeNude()
{
    const int colonne = std::min(g_modelloNudo->colonne, g_lista->dbgRiga->model()->columnCount());
    for (int c = 0; c < colonne; ++c)
        g_nuda->setColumnWidth(c, g_lista->dbgRiga->isColumnHidden(c) ? 0 : g_lista->dbgRiga->columnWidth(c));
}

void dipingi()
{
    g_lista->dbgRiga->viewport()->repaint();
}

// The cells of the first screen, as the grid asks for them when it paints.
void celleVisibili()
{
    QTableView *g = g_lista->dbgRiga;
    const int righe = std::min(g->model()->rowCount(), g->viewport()->height() / g->rowHeight(0) + 1);
    for (int r = 0; r < righe; ++r)
        for (int c = 0; c < g->model()->columnCount(); ++c)
            benchmark::DoNotOptimize(g->model()->index(r, c).data());
}

// The same SELECT stepped through SQLite's C API for the rows the list read;
// with `mostra` their texts are also painted in the bare view.
// `davanti`, when given: its rows are shown before these, in reverse order
// (read backwards); with `mostra` false the rows read are put into it.
qint64 passiC(sqlite3 *db, const QByteArray &sql, int righe, bool mostra,
              std::vector<QStringList> *davanti = nullptr)
{
    QElapsedTimer t;
    t.start();
    std::vector<QStringList> testi;
    pavimenti_lista::PassiC(db, sql, righe, mostra ? &testi : davanti);
    if (mostra) {
        if (davanti)
            testi.insert(testi.begin(), davanti->rbegin(), davanti->rend());
        const int colonne = testi.empty() ? 0 : int(testi.front().size());
        g_modelloNudo->Imposta(std::move(testi), colonne);
        larghezzeNude();
        g_nuda->viewport()->repaint();
    }
    return t.nsecsElapsed();
}

// The same SELECTs run through the ODBC C API, every row read; with `mostra`
// their texts are also painted in the bare view.
qint64 passiOdbc(const QStringList &istruzioni, bool mostra)
{
    QElapsedTimer t;
    t.start();
    std::vector<QStringList> testi;
    pavimenti_lista::PassiOdbc(*g_odbc, istruzioni, mostra ? &testi : nullptr);
    if (mostra) {
        const int colonne = testi.empty() ? 0 : int(testi.front().size());
        g_modelloNudo->Imposta(std::move(testi), colonne);
        larghezzeNude();
        g_nuda->viewport()->repaint();
    }
    return t.nsecsElapsed();
}

// The floor of the engine in use: the page's SELECT through SQLite's C API,
// or on a server the SELECTs the list ran through ODBC's.
qint64 pavimento(sqlite3 *db, const QByteArray &sql, int righe, const QStringList &istruzioni, bool mostra)
{
    return g_odbc ? passiOdbc(istruzioni, mostra) : passiC(db, sql, righe, mostra);
}

sqlite3 *apriSqlite()
{
    sqlite3 *c = nullptr;
    if (!g_odbc)
        sqlite3_open_v2(g_percorso.toUtf8().constData(), &c, SQLITE_OPEN_READONLY, nullptr);
    return c;
}

void chiudi()
{
    QCoreApplication::processEvents(); // the count that follows the first rows
    lista()->ChiudiLista();
}

void Apri(benchmark::State &state)
{
    sqlite3 *c = apriSqlite();
    g_lista->txt(30)->clear();
    for (auto _ : state) {
        Nota();
        QElapsedTimer t;
        t.start();
        g_lista->MostraLista(QString());
        celleVisibili();
        g_apri.push_back(t.nsecsElapsed());
        const QStringList istruzioni = Istruzioni("opening");
        g_righeLette = lista()->RecordsetLista().RigheNote();
        // The total, counted on a thread of its own over a second connection,
        // reaches the counter.
        while (!lista()->RecordsetLista().ConteggioNoto())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        g_conta.push_back(t.nsecsElapsed());
        const QByteArray sql = sqlPagina();
        chiudi();
        t.restart();
        g_lista->MostraLista(QString());
        dipingi();
        g_apriP.push_back(t.nsecsElapsed());
        chiudi();
        g_apriC.push_back(pavimento(c, sql, g_righeLette, istruzioni, false));
        g_apriCP.push_back(pavimento(c, sql, g_righeLette, istruzioni, true));
    }
    sqlite3_close(c);
}

void CercaNome(benchmark::State &state)
{
    sqlite3 *c = apriSqlite();
    int i = 0;
    for (auto _ : state) {
        g_lista->txt(30)->setText(QString::fromLatin1(kPrefissi[i++ % std::size(kPrefissi)]));
        Nota();
        QElapsedTimer t;
        t.start();
        lista()->EseguiComandoLista(QStringLiteral("Aggiorna"));
        celleVisibili();
        g_cerca.push_back(t.nsecsElapsed());
        const QStringList istruzioni = Istruzioni("name search");
        const int righe = lista()->RecordsetLista().RigheNote();
        const QByteArray sql = sqlPagina();
        chiudi();
        t.restart();
        lista()->EseguiComandoLista(QStringLiteral("Aggiorna"));
        dipingi();
        g_cercaP.push_back(t.nsecsElapsed());
        chiudi();
        g_cercaC.push_back(pavimento(c, sql, righe, istruzioni, false));
        g_cercaCP.push_back(pavimento(c, sql, righe, istruzioni, true));
    }
    g_lista->txt(30)->clear();
    sqlite3_close(c);
}

// Waits until the count of the list's rows has reached the grid.
void attendiConteggio()
{
    while (!lista()->RecordsetLista().ConteggioNoto())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
}

double percentile(std::vector<qint64> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return double(v[std::min(v.size() - 1, size_t(double(v.size()) * p))]) / 1e6;
}

// Scrolls the whole list a screen at a time, painting each screen, once the
// count has given the scroll bar its length; prints the time per screen, the
// memory after opening, its highest value while scrolling and at the end.
void Scorri(const char *come)
{
    g_lista->txt(30)->clear();
    QElapsedTimer t;
    t.start();
    g_lista->MostraLista(QString());
    // By name: as a click on the name column's header orders it.
    if (qstrcmp(come, "name") == 0)
        lista()->OrdinaPerColonna(3, g_lista->osSql());
    attendiConteggio();
    dipingi();
    const double apertura = t.elapsed() / 1000.0;
    const long aperta = rssKb();
    long massimo = aperta;
    QScrollBar *barra = g_lista->dbgRiga->verticalScrollBar();
    const int righe = g_lista->dbgRiga->model()->rowCount();
    const int totale = lista()->RecordCount();
    if (righe != totale)
        std::printf("  the grid has %d rows where the count gave %d\n", righe, totale);
    int passi = 0;
    std::vector<qint64> schermate;
    schermate.reserve(size_t(righe / std::max(1, barra->pageStep()) + 2));
    QStringList tappe; // RSS at each tenth of the list
    int prossima = 1;
    t.restart();
    QElapsedTimer s;
    for (int v = 0;; v += std::max(1, barra->pageStep())) {
        const int valore = std::min(v, barra->maximum());
        s.start();
        barra->setValue(valore);
        dipingi();
        schermate.push_back(s.nsecsElapsed());
        if (++passi % 50 == 0)
            massimo = std::max(massimo, rssKb());
        if (valore >= qint64(barra->maximum()) * prossima / 10) {
            tappe << QString::number(rssKb());
            ++prossima;
        }
        if (valore >= barra->maximum())
            break;
        if (t.elapsed() > g_limiteScorrimento * 1000) {
            std::printf(
                "  STOPPED after %.0f s, at screen %d of %d (row %d of %d): the figures below are of the "
                "screens scrolled\n",
                g_limiteScorrimento, passi, righe / std::max(1, barra->pageStep()) + 1, valore, righe);
            break;
        }
    }
    const double scorrimento = t.elapsed() / 1000.0;
    const long fine = rssKb();
    massimo = std::max(massimo, fine);
    const RigheLista::Statistiche &st = lista()->RecordsetLista().Stat();
    QTableView *g = g_lista->dbgRiga;
    std::printf(
        "Scrolling %d rows (%s order), %d rows of %d px a screen, in %d screens, %.1f s (opened and "
        "counted in %.2f s):\n"
        "  time per screen, painted: mean %.3f ms, median %.3f ms, 99th percentile %.3f ms, max %.3f ms\n"
        "  RSS after opening %ld KiB, highest while scrolling %ld KiB, at the bottom %ld KiB (growth %+ld "
        "KiB); pages read %d (by neighbour %d, by skipping %d), %d in memory at most %d\n",
        righe, come, g->viewport()->height() / std::max(1, g->rowHeight(0)), g->rowHeight(0), passi,
        scorrimento, apertura, passi ? scorrimento * 1000 / passi : 0.0, percentile(schermate, 0.5),
        percentile(schermate, 0.99), percentile(schermate, 1.0), aperta, massimo, fine, massimo - aperta,
        st.pagine, st.perChiave, st.perSalto, lista()->RecordsetLista().PagineInMemoria(),
        RigheLista::PagineTenute);
    std::printf("  RSS (KiB) at each tenth of the list: %s\n", qPrintable(tappe.join(QStringLiteral(" "))));
    std::fflush(stdout);
    chiudi();
}

// Opens the list in an order ("code", "name", "name-desc": as clicks on the
// name column's header give them) and waits for its count.
void apriInOrdine(const char *come)
{
    g_lista->txt(30)->clear();
    g_lista->MostraLista(QString());
    if (qstrncmp(come, "name", 4) == 0)
        lista()->OrdinaPerColonna(3, g_lista->osSql());
    if (qstrcmp(come, "name-desc") == 0)
        lista()->OrdinaPerColonna(3, g_lista->osSql());
    while (!lista()->RecordsetLista().ConteggioNoto())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    dipingi();
}

// --schermate: every 10th screen of the whole list from the top to the
// bottom, painted; prints the time per screen.
void TempiSchermate(const char *come)
{
    apriInOrdine(come);
    QScrollBar *barra = g_lista->dbgRiga->verticalScrollBar();
    QElapsedTimer t;
    t.start();
    int schermate = 0;
    for (int v = 0; v <= barra->maximum(); v += 10 * std::max(1, barra->pageStep()), ++schermate) {
        barra->setValue(v);
        dipingi();
    }
    std::printf("Scroll (%s order, %d rows): %d screens (every 10th), %.3f ms a screen\n", come,
                g_lista->dbgRiga->model()->rowCount(), schermate,
                t.nsecsElapsed() / 1e6 / std::max(1, schermate));
    chiudi();
}

// The bare seek of the screen the list shows from row `v` (its ordering
// values read from the list), as the engine receives a page ("" when a
// value is Null or the order mixes directions: no floor for that jump).
QByteArray sqlSeek(int v, int schermo, bool prima = false)
{
    RigheLista &r = lista()->RecordsetLista();
    return pavimenti_lista::SqlSeek(r.Parti(), r.Ordine(), pavimenti_lista::ValoriOrdine(r, v), schermo,
                                    prima);
}

// --salti: jumps to places spread over the list (the scroll bar's thumb
// dragged there), each screen painted, beside the bare seek of the same
// screen (sqlSeek) through SQLite's C API, or on a server ODBC's, painted in
// the bare view.
void Salti(const char *come, int quanti)
{
    sqlite3 *c = apriSqlite();
    apriInOrdine(come);
    // A user jumps a moment after the count: by then the list has its
    // landmarks (read on the counting connection after the count).
    QElapsedTimer attesa;
    attesa.start();
    while (ConteggioParallelo::InCorso() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    std::printf("Landmarks (%s order) ready %.0f ms after the count\n", come, attesa.nsecsElapsed() / 1e6);
    QScrollBar *barra = g_lista->dbgRiga->verticalScrollBar();
    const int schermo = std::max(1, barra->pageStep());
    std::vector<qint64> lista_, nudo;
    for (int i = 0; i < quanti; ++i) {
        // From the bottom back to the top, by strides that never land on a page read.
        const int v = int(qint64(barra->maximum()) * (quanti - i) / (quanti + 1)) + 37 * i;
        QElapsedTimer t;
        t.start();
        barra->setValue(v);
        dipingi();
        lista_.push_back(t.nsecsElapsed());
        const QByteArray sql = sqlSeek(barra->value(), schermo);
        if (sql.isEmpty())
            continue;
        if (c)
            nudo.push_back(passiC(c, sql, schermo, true));
        else if (g_odbc)
            nudo.push_back(passiOdbc({QString::fromUtf8(sql)}, true));
    }
    std::printf("Jumps (%s order, %d rows, %d jumps): list %.2f ms, the same screen sought bare through %s's "
                "C API %.2f ms (%d jumps), ratio %.2f (medians)\n",
                come, g_lista->dbgRiga->model()->rowCount(), quanti, supporto_bench::Mediana(lista_) / 1000,
                g_odbc ? "ODBC" : "SQLite", supporto_bench::Mediana(nudo) / 1000, int(nudo.size()),
                supporto_bench::Mediana(nudo) > 0
                    ? supporto_bench::Mediana(lista_) / supporto_bench::Mediana(nudo)
                    : 0.0);
    chiudi();
    if (c)
        sqlite3_close(c);
}

// Waits for the count and the landmarks read after it.
void attendiSegnaposti()
{
    while (ConteggioParallelo::InCorso() > 0 || !lista()->RecordsetLista().ConteggioNoto())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

// --ordina N: a click on the name column's header with the current customer
// at N places of the code order, until the screen in the new order around
// it is painted, beside the bare seek of that screen (sqlSeek from the
// current row, through the C API). Also prints how long after the click the
// current row's place in the new order (its row number) was known.
void Ordina(int quanti)
{
    sqlite3 *c = apriSqlite();
    std::vector<qint64> lista_, nudo, posto;
    // As the customer form's page manager gives it to the list it opens.
    lista()->ImpostaChiave({QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")});
    for (int i = 0; i < quanti; ++i) {
        apriInOrdine("code");
        attendiSegnaposti();
        QScrollBar *barra = g_lista->dbgRiga->verticalScrollBar();
        const int schermo = std::max(1, barra->pageStep());
        const int v = int(qint64(barra->maximum()) * (i + 1) / (quanti + 1)) + 37 * i;
        barra->setValue(v);
        QTableView *g = g_lista->dbgRiga;
        g->setCurrentIndex(g->model()->index(v, 3));
        dipingi();
        const QVariantList chiave = lista()->ValoriRiga(v, lista()->RecordsetLista().Chiave());
        Nota();
        QElapsedTimer t;
        t.start();
        lista()->OrdinaPerColonna(3, g_lista->osSql());
        dipingi();
        lista_.push_back(t.nsecsElapsed());
        Istruzioni("click");
        std::printf("  row %d of the code order shown as row %d of %d until its number comes\n", v,
                    lista()->RigaCorrente(), g->model()->rowCount());
        while (!lista()->PosizioneNota())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        posto.push_back(t.nsecsElapsed());
        if (lista()->ValoriRiga(lista()->RigaCorrente(), lista()->RecordsetLista().Chiave()) != chiave)
            std::printf("  the current row is not the customer it was before the click\n");
        // The screen centred on the row, as the list shows it: the half
        // before it sought backwards, the row and the half after it forwards.
        const QByteArray prima = sqlSeek(lista()->RigaCorrente(), schermo / 2, true);
        const QByteArray dopo = sqlSeek(lista()->RigaCorrente(), schermo - schermo / 2);
        if (!prima.isEmpty() && !dopo.isEmpty()) {
            std::vector<QStringList> sopra;
            if (c)
                nudo.push_back(passiC(c, prima, schermo / 2, false, &sopra) +
                               passiC(c, dopo, schermo, true, &sopra));
            else if (g_odbc)
                nudo.push_back(passiOdbc({QString::fromUtf8(prima)}, false) +
                               passiOdbc({QString::fromUtf8(dopo)}, true));
        }
        chiudi();
    }
    const double l = supporto_bench::Mediana(lista_), n = supporto_bench::Mediana(nudo);
    std::printf(
        "Header click (name order, %d clicks): screen painted %.2f ms (min %.2f, max %.2f), row number "
        "known %.2f ms; the same screen sought bare through %s's C API %.2f ms, ratio %.2f (medians)\n",
        quanti, l / 1e3, *std::min_element(lista_.begin(), lista_.end()) / 1e6,
        *std::max_element(lista_.begin(), lista_.end()) / 1e6, supporto_bench::Mediana(posto) / 1e3,
        g_odbc ? "ODBC" : "SQLite", n / 1e3, n > 0 ? l / n : 0.0);
    if (c)
        sqlite3_close(c);
}

// --cerca-in N: "Cerca in" the name column for a text no customer has, N
// times in code and in name order, beside the bare count of the rows whose
// name holds it (the list's own WHERE and the same LIKE) through the C API;
// then the "Cerca" command, which searches on a thread: the longest the window
// is held at a time, and the time to the answer.
void CercaNessuno(int quanti)
{
    sqlite3 *c = apriSqlite();
    // As the customer form's page manager gives it to the list it opens: the
    // command shows the row it finds by this key.
    lista()->ImpostaChiave({QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")});
    for (const char *come : {"code", "name"}) {
        apriInOrdine(come);
        attendiSegnaposti();
        RigheLista &r = lista()->RecordsetLista();
        const QString testo = QStringLiteral("Qzxw");
        const int colonna = 3;
        std::vector<qint64> lista_, nudo;
        const QByteArray sql =
            pavimenti_lista::SqlConta(r.Parti(), QStringLiteral("Descrizione Like ") +
                                                     Globali::Util().ValoreSqlLike(testo, true, true));
        for (int i = 0; i < quanti; ++i) {
            QElapsedTimer t;
            t.start();
            const int trovata = lista()->CercaTesto(testo, colonna, i % 2 == 0 ? 0 : 3);
            lista_.push_back(t.nsecsElapsed());
            if (trovata >= 0)
                std::printf("  \"%s\" found at row %d\n", qPrintable(testo), trovata);
            if (c)
                nudo.push_back(passiC(c, sql, 1, false));
            else if (g_odbc)
                nudo.push_back(passiOdbc({QString::fromUtf8(sql)}, false));
        }
        const double l = supporto_bench::Mediana(lista_), n = supporto_bench::Mediana(nudo);
        std::printf(
            "\"Cerca in\" with no match (%s order, %d searches): list %.2f ms (min %.2f, max %.2f), the "
            "bare count of the matches %.2f ms, ratio %.2f (medians)\n",
            come, quanti, l / 1e3, *std::min_element(lista_.begin(), lista_.end()) / 1e6,
            *std::max_element(lista_.begin(), lista_.end()) / 1e6, n / 1e3, n > 0 ? l / n : 0.0);
        // The "Cerca" command searches on a thread: how long the window is
        // held at a time (the longest turn of its event loop, the command's
        // own included) until the answer has been handled, and that answer's time.
        g_lista->txtCerca->setText(testo);
        g_lista->CobCerca->setCurrentIndex(g_lista->CobCerca->findData(colonna));
        std::vector<qint64> tenuta, risposta;
        for (int i = 0; i < quanti; ++i) {
            g_lista->optDirez(i % 2 == 0 ? 0 : 3)->setChecked(true);
            QElapsedTimer t, turno;
            t.start();
            g_lista->ButtonComando(QStringLiteral("Cerca"));
            qint64 massimo = t.nsecsElapsed();
            while (lista()->RicercaInCorso()) {
                turno.start();
                QCoreApplication::processEvents();
                massimo = std::max(massimo, turno.nsecsElapsed());
            }
            risposta.push_back(t.nsecsElapsed());
            tenuta.push_back(massimo);
        }
        std::printf("\"Cerca\" with no match (%s order, %d searches): the window held at most %.2f ms at a "
                    "time (max %.2f), the answer in %.2f ms, ratio to the bare count %.2f (medians)\n",
                    come, quanti, supporto_bench::Mediana(tenuta) / 1e3,
                    *std::max_element(tenuta.begin(), tenuta.end()) / 1e6,
                    supporto_bench::Mediana(risposta) / 1e3,
                    n > 0 ? supporto_bench::Mediana(risposta) / n : 0.0);
        chiudi();
    }
    if (c)
        sqlite3_close(c);
}

void TutteInMemoria()
{
    const long prima = rssKb();
    g_lista->MostraLista(QString());
    QCoreApplication::processEvents();
    const QString sql = lista()->SqlLista();
    lista()->ChiudiLista();
    QElapsedTimer t;
    t.start();
    auto tutte = Globali::DbComp()->Seleziona(Globali::DbAzienda, sql);
    std::printf("For comparison, the same %d rows read at once: %.1f s, RSS %ld KiB -> %ld KiB (%+ld KiB)\n",
                tutte->numRighe(), t.elapsed() / 1000.0, prima, rssKb(), rssKb() - prima);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    bool soloScorrimento = false, soloMemoria = false, soloTempi = false, schermate = false;
    int salti = 0, ordina = 0, cercaIn = 0;
    std::vector<char *> argomenti;
    const QString connect = argomentiBench.connect;
    for (size_t i = 0; i < argomentiBench.perBenchmark.size(); ++i) {
        char *a = argomentiBench.perBenchmark[i];
        if (qstrcmp(a, "--solo-scorrimento") == 0)
            soloScorrimento = true;
        else if (qstrcmp(a, "--tutte-in-memoria") == 0)
            soloMemoria = true;
        else if (qstrcmp(a, "--solo-tempi") == 0)
            soloTempi = true;
        else if (qstrcmp(a, "--schermate") == 0)
            schermate = true;
        else if (qstrcmp(a, "--ordina") == 0 && i + 1 < argomentiBench.perBenchmark.size())
            ordina = QByteArray(argomentiBench.perBenchmark[++i]).toInt();
        else if (qstrcmp(a, "--cerca-in") == 0 && i + 1 < argomentiBench.perBenchmark.size())
            cercaIn = QByteArray(argomentiBench.perBenchmark[++i]).toInt();
        else if (qstrcmp(a, "--salti") == 0 && i + 1 < argomentiBench.perBenchmark.size())
            salti = QByteArray(argomentiBench.perBenchmark[++i]).toInt();
        else if (qstrcmp(a, "--limite-scorrimento") == 0 && i + 1 < argomentiBench.perBenchmark.size())
            g_limiteScorrimento = QByteArray(argomentiBench.perBenchmark[++i]).toDouble();
        else
            argomenti.push_back(a);
    }
    int n = int(argomenti.size());
    QApplication app(n, argomenti.data());
    RisposteProgrammate::ImpostaSenzaModali(true);
    // The file is read once into the system's cache: the list reads each row
    // first and the floor after it, and the floor would otherwise find in
    // that cache what the list had to read from the disk.
    QTemporaryDir cartella;
    if (!supporto_bench::ApriAziendaBench(argomentiBench, cartella, g_percorso))
        return 1;
    DbMotore *db = Globali::DbComp();
    if (!connect.isEmpty()) {
        g_odbc = std::make_unique<letture_odbc::Connessione>(connect);
        if (!g_odbc->Aperta()) {
            std::fprintf(stderr, "the floor's connection failed: %s\n", qPrintable(g_odbc->Errore()));
            return 1;
        }
    }
    db->ImpostaOsservatoreMotore([](const QString &sql) {
        if (g_nota)
            g_istruzioni << sql;
    });
    auto finestra = supporto_bench::FinestraListaClienti(false);
    g_lista = finestra.get();
    ModelloNudo modelloNudo;
    g_modelloNudo = &modelloNudo;
    QTableView nuda;
    g_nuda = &nuda;
    nuda.setModel(&modelloNudo);
    // The same screen as the list's grid: its size, font, header and rows of
    // the same height (the bare view's own default is taller).
    QTableView *griglia = g_lista->dbgRiga;
    nuda.setFont(griglia->font());
    nuda.verticalHeader()->setMinimumSectionSize(griglia->verticalHeader()->minimumSectionSize());
    nuda.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    nuda.verticalHeader()->setDefaultSectionSize(griglia->verticalHeader()->defaultSectionSize());
    nuda.verticalHeader()->setVisible(griglia->verticalHeader()->isVisible());
    nuda.horizontalHeader()->setMinimumSectionSize(griglia->horizontalHeader()->minimumSectionSize());
    nuda.setAlternatingRowColors(griglia->alternatingRowColors());
    nuda.setWordWrap(false);
    nuda.resize(griglia->size());
    nuda.show();

    if (ordina > 0 || cercaIn > 0) {
        if (ordina > 0)
            Ordina(ordina);
        if (cercaIn > 0)
            CercaNessuno(cercaIn);
    } else if (schermate || salti > 0) {
        for (const char *come : {"code", "name", "name-desc"}) {
            if (schermate)
                TempiSchermate(come);
            if (salti > 0)
                Salti(come, salti);
        }
    } else if (soloMemoria) {
        TutteInMemoria();
    } else if (soloScorrimento) {
        Scorri("code");
        Scorri("name");
    } else {
        benchmark::RegisterBenchmark("ApriLista", Apri)->Unit(benchmark::kMicrosecond)->Iterations(200);
        benchmark::RegisterBenchmark("CercaNome", CercaNome)->Unit(benchmark::kMicrosecond)->Iterations(200);
        benchmark::Initialize(&n, argomenti.data());
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        auto riga = [](const char *cosa, const std::vector<qint64> &lista, const std::vector<qint64> &nudo) {
            const double l = supporto_bench::Mediana(lista), n = supporto_bench::Mediana(nudo);
            std::printf("  %-62s list %8.1f us, bare %8.1f us, ratio %.2f\n", cosa, l, n,
                        n > 0 ? l / n : 0.0);
        };
        std::printf("Medians on %s (%d rows read by the list's first page; target ratio 2 or less):\n",
                    g_odbc ? "PostgreSQL, floor through the ODBC C API" : "SQLite, floor through its C API",
                    g_righeLette);
        {
            QTableView *g = g_lista->dbgRiga;
            const int hg = std::max(1, g->verticalHeader()->defaultSectionSize());
            const int hn = std::max(1, nuda.verticalHeader()->defaultSectionSize());
            std::printf(
                "  (screens painted: the list %d rows of %d px and %d columns, the bare view %d rows of %d "
                "px and %d columns, %dx%d px)\n",
                g->viewport()->height() / hg, hg, g->model()->columnCount(), nuda.viewport()->height() / hn,
                hn, modelloNudo.colonne, nuda.viewport()->width(), nuda.viewport()->height());
        }
        riga("opening, first screen's cells ready / bare C API reads", g_apri, g_apriC);
        riga("opening, first screen painted / bare reads in a bare view", g_apriP, g_apriCP);
        riga("name-prefix search, cells ready / bare C API reads", g_cerca, g_cercaC);
        riga("name-prefix search, painted / bare reads in a bare view", g_cercaP, g_cercaCP);
        std::printf("  opening until the counter shows the total (counted on a thread of its own): %.1f us\n",
                    supporto_bench::Mediana(g_conta));
        if (!soloTempi) {
            Scorri("code");
            Scorri("name");
            TutteInMemoria();
        }
    }
    std::printf("Peak RSS of the process (VmHWM): %ld KiB\n", rssKb("VmHWM:"));
    g_nuda = nullptr;
    finestra.reset();
    g_odbc.reset();
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
