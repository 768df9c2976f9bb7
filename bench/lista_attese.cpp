// The waits of seven gestures of the customer list window, on the window as
// the customer form opens it (offscreen), each beside its floor measured in
// the same run: for each gesture, repeated, the FREEZE (the longest time the
// window's event loop did not turn, from the gesture until its result is
// painted: sonda_attese::Misura), the time until its result is PAINTED (the
// grid's cells as its painting drew them), and the FLOOR: the bare work the
// user's path needs, through SQLite's C API (ODBC's with --connect).
//   1. The list opened from the customer form showing the last customer in
//      code order ("Lista"): until that customer is the current row, painted;
//      also until its row number is known. Floor: the screen around it sought
//      bare (the rows before it backwards, the rest forwards); for the row
//      number, that and the count of the rows before it.
//   2. A closed list opened, and before its count arrives the scroll bar's
//      thumb dragged to the bottom: until the last row painted is the last
//      customer (given up after --limite seconds). Floor: the count of the
//      rows and the last screen read backwards from the end.
//   3. Once the count has arrived but before the landmarks read after it,
//      the thumb dragged to the middle: until that screen is painted with its
//      rows. Floor: that screen read by row offset (and, apart, the landmarks).
//   4. "Cerca in" the name column for a text no customer has, in code order:
//      until the notice "Nessuna riga contiene ..." is given. Floor: the
//      count of the rows whose name holds the text.
//   5. The list filtered by a name prefix with a customer far down the whole
//      list current; the name field cleared and Enter pressed: until the
//      whole list is painted with that customer current (and its row number
//      known). Floor: as for 1.
//   6. The list opened from the form on the customer in the middle of the
//      list (code order), counted; a second desk deletes that customer, then
//      "Aggiorna": until the customer that followed it is the current row,
//      painted (and its row number known). Floor: as for 1, for that customer.
//   7. The list opened from the form on the customer in the middle, the
//      user moves three rows down to a customer a second desk deletes
//      meanwhile, then "Seleziona": until the notice "Il cliente ... non
//      esiste più" is given and the customer the form shows is the current
//      row again, painted (and its row number known). Floor: as for 1, for it.
//   The customer deleted is put back after each try.
//   8. "Cerca in" the date column "Data Ap." for "2099" (no customer opened
//      then): until the notice. Floor: the count of the rows, every row's
//      date read (a scan).
// Each result line begins "attesa <n>:".
//
//   bench_lista_attese [--db PATH | --connect ODBC-TEXT] [--customers N]
//                      [--ripetizioni N] [--limite SECONDS] [--solo 1,3,...]
#include "ListaBench.h"
#include "PavimentiLista.h"
#include "SondaAttese.h"
#include "SupportoBench.h"
#include "components/db/DbMotore.h"
#include "components/db/LetturaInOrdine.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/GestLista.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace
{

using sonda_attese::Esito;
using sonda_attese::Misura;

struct Contesto {
    supporto_bench::SchedaClienti *scheda = nullptr;
    frmClientiLis *finestra = nullptr;
    sonda_attese::Dipinto *dipinto = nullptr;
    sqlite3 *c = nullptr;                            // the floor's connection to the file
    std::unique_ptr<letture_odbc::Connessione> odbc; // --connect: the floor's own connection
    int ripetizioni = 5;
    double limiteMs = 20000;
    // The whole list in code order, as read once before the gestures.
    SqlLista::Parti parti;
    QList<SqlLista::VoceOrdine> ordine;
    std::vector<int> colonneOrdine; // the result column of each ordering item
    QString sqlOrdinata;            // the landmarks' SELECT (Jet SQL)
    int schermo = 1;                // rows a screen shows
    int totale = 0;
};
Contesto g;

GestLista *lista()
{
    return g.finestra->ogComlin;
}

QScrollBar *barra()
{
    return g.finestra->dbgRiga->verticalScrollBar();
}

// Turns the event loop until `finito` holds (at most `ms`).
bool attendi(const std::function<bool()> &finito, int ms = 600000)
{
    QElapsedTimer t;
    t.start();
    while (!finito()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    QCoreApplication::processEvents();
    return true;
}

// Until nothing is being counted on the list's threads and an open list
// knows its rows and their places.
void quiete()
{
    attendi([] {
        return ConteggioParallelo::InCorso() == 0 &&
               (!lista()->Aperta() ||
                (lista()->RecordsetLista().ConteggioNoto() && lista()->PosizioneNota()));
    });
}

void chiudi()
{
    g.finestra->close();
    quiete();
}

// The floor: statements (engine texts) each stepped for at most so many
// rows; each text is shown on stderr the first time.
qint64 pavimento(const std::vector<std::pair<QByteArray, int>> &istruzioni)
{
    static QSet<QByteArray> mostrate;
    qint64 ns = 0;
    for (const auto &[sql, righe] : istruzioni) {
        if (sql.isEmpty())
            continue;
        if (!mostrate.contains(sql)) {
            mostrate.insert(sql);
            std::fprintf(stderr, "floor: %s\n", sql.constData());
        }
        ns += g.odbc ? pavimenti_lista::PassiOdbc(*g.odbc, {QString::fromUtf8(sql)})
                     : pavimenti_lista::PassiC(g.c, sql, righe);
    }
    return ns;
}

// The first row of a SELECT (Jet SQL) through the program's engine (set-up, not timed).
QVariantList primaRiga(const QString &sql)
{
    const auto r = Globali::DbComp()->Seleziona(Globali::DbAzienda, sql, DbMotore::LetturaInOrdine);
    QVariantList v;
    if (r->numRighe() > 0)
        for (int c = 0; c < r->numColonne(); ++c)
            v << r->valore(0, c);
    return v;
}

// A customer of the list's SELECT: its key (group, ledger, account, as the
// grid shows them) and its ordering values in code order.
struct Cliente {
    QStringList chiave;
    QVariantList ordine;
    bool Valido() const { return chiave.size() == 3; }
};

Cliente cliente(const QVariantList &riga)
{
    Cliente c;
    if (riga.size() < 4)
        return c;
    c.chiave = QStringList{riga[0].toString(), riga[1].toString(), riga[2].toString()};
    for (int i : g.colonneOrdine)
        c.ordine << riga.value(i);
    return c;
}

// The bare seek of the screen centred on a customer (half a screen before
// it read backwards, the rest forwards), and the count of the rows before it.
std::vector<std::pair<QByteArray, int>> seekIntorno(const Cliente &c)
{
    const int prima = g.schermo / 2, dopo = g.schermo - prima;
    return {{pavimenti_lista::SqlSeek(g.parti, g.ordine, c.ordine, prima, true), prima},
            {pavimenti_lista::SqlSeek(g.parti, g.ordine, c.ordine, dopo), dopo}};
}

QByteArray contaPrima(const Cliente &c)
{
    return pavimenti_lista::SqlConta(g.parti, pavimenti_lista::CondizioneSeek(g.ordine, c.ordine, true));
}

// ---- Figures ----

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

double mediana(std::vector<qint64> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return ms(v[v.size() / 2]);
}

QString tre(std::vector<qint64> v)
{
    if (v.empty())
        return QStringLiteral("-");
    std::sort(v.begin(), v.end());
    return QString::asprintf("%.1f/%.1f/%.1f", ms(v.front()), ms(v[v.size() / 2]), ms(v.back()));
}

QString rapporto(const std::vector<qint64> &lista_, const std::vector<qint64> &nudo)
{
    const double n = mediana(nudo);
    return lista_.empty() || n <= 0 ? QStringLiteral("-") : QString::asprintf("%.1f", mediana(lista_) / n);
}

struct Serie {
    std::vector<qint64> freeze, dipinto, posizione, pavimento, pavimentoPosizione;
    int falliti = 0;
    void Aggiungi(const Esito &e)
    {
        freeze.push_back(e.freeze);
        if (e.riuscito)
            dipinto.push_back(e.tempo);
        else
            ++falliti;
    }
};

void stampa(int n, const Serie &s, const char *cosa, const char *mancato = nullptr)
{
    std::printf(
        "attesa %d: freeze %s ms, painted %s ms, floor %.2f ms, ratio %s  (min/median/max of %d; %s)\n", n,
        qPrintable(tre(s.freeze)), qPrintable(tre(s.dipinto)), mediana(s.pavimento),
        qPrintable(rapporto(s.dipinto, s.pavimento)), int(s.freeze.size()), cosa);
    if (s.falliti > 0)
        std::printf("attesa %d: %s in %.0f s (%d of %d tries)\n", n,
                    mancato ? mancato : "did not reach its result", g.limiteMs / 1000, s.falliti,
                    int(s.freeze.size()));
    if (!s.pavimentoPosizione.empty())
        std::printf("attesa %d row number known: %s ms, floor (seek + count before) %.2f ms, ratio %s\n", n,
                    qPrintable(tre(s.posizione)), mediana(s.pavimentoPosizione),
                    qPrintable(rapporto(s.posizione, s.pavimentoPosizione)));
    std::fflush(stdout);
}

// ---- The gestures ----

// Reads the whole list once in code order: its SELECT, order and count.
bool prepara()
{
    g.scheda->ButtonComando(QStringLiteral("Nuovo"));
    g.scheda->ButtonComando(QStringLiteral("Lista"));
    quiete();
    RigheLista &r = lista()->RecordsetLista();
    if (!r.Aperta())
        return false;
    g.parti = r.Parti();
    g.ordine = r.Ordine();
    g.colonneOrdine.clear();
    for (const SqlLista::VoceOrdine &o : g.ordine)
        g.colonneOrdine.push_back(r.IndiceColonna(o.colonna));
    g.sqlOrdinata = r.SqlOrdinata();
    g.totale = lista()->RecordCount();
    g.schermo = std::max(1, barra()->pageStep());
    chiudi();
    return g.totale > 0;
}

// The list shows `c` as its current row, painted: `tempo` and `posizione`
// (ns) take the first beat it did, and the first it did with its row number known.
bool correnteMostrato(const Cliente &c, qint64 ns, qint64 &tempo, qint64 &posizione)
{
    const int corrente = lista()->RigaCorrente();
    const bool mostrato = corrente >= 0 && g.dipinto->Mostra(corrente, c.chiave);
    if (mostrato && tempo < 0)
        tempo = ns;
    if (mostrato && posizione < 0 && lista()->PosizioneNota())
        posizione = ns;
    return tempo >= 0 && posizione >= 0;
}

void Attesa1(const Cliente &ultimo)
{
    Serie s;
    if (!g.scheda->pagine->LeggiDaChiave(ultimo.chiave)) {
        std::printf("attesa 1: the form cannot show customer %s\n", qPrintable(ultimo.chiave.join('-')));
        return;
    }
    const auto seek = seekIntorno(ultimo);
    const QByteArray conta = contaPrima(ultimo);
    for (int i = 0; i < g.ripetizioni; ++i) {
        chiudi();
        qint64 tempo = -1, posizione = -1;
        const Esito e =
            Misura([] { return true; },
                   [] {
                       g.dipinto->Azzera();
                       g.scheda->ButtonComando(QStringLiteral("Lista"));
                   },
                   [&](qint64 ns) { return correnteMostrato(ultimo, ns, tempo, posizione); }, g.limiteMs);
        s.Aggiungi(Esito{e.avviato, tempo >= 0, e.freeze, tempo});
        if (posizione >= 0)
            s.posizione.push_back(posizione);
        const qint64 p = pavimento(seek);
        s.pavimento.push_back(p);
        s.pavimentoPosizione.push_back(p + pavimento({{conta, 1}}));
    }
    chiudi();
    stampa(1, s,
           qPrintable(QStringLiteral("list opened from the form on the last customer, %1, row %2")
                          .arg(ultimo.chiave.join('-'))
                          .arg(g.totale)),
           "the customer was not shown as the current row");
}

void Attesa2(const Cliente &ultimo)
{
    Serie s;
    g.scheda->ButtonComando(QStringLiteral("Nuovo")); // the list opens at its top
    const std::vector<std::pair<QByteArray, int>> floor{
        {pavimenti_lista::SqlConta(g.parti), 1},
        {Globali::DbComp()
             ->Traduci(Globali::DbAzienda, SqlLista::Pagina(g.parti, {}, g.ordine, true, g.schermo),
                       DbMotore::LetturaInOrdine)
             .toUtf8(),
         g.schermo}};
    int contate = 0;
    QStringList fermate;
    std::vector<qint64> trascinamenti;
    for (int i = 0; i < g.ripetizioni; ++i) {
        chiudi();
        bool trascinato = false;
        const Esito e = Misura([] { return true; },
                               [] {
                                   g.dipinto->Azzera();
                                   g.scheda->ButtonComando(QStringLiteral("Lista"));
                               },
                               [&](qint64 ns) {
                                   if (!trascinato) {
                                       // Dragged once the first rows are painted.
                                       if (g.dipinto->Celle() == 0)
                                           return false;
                                       if (lista()->RecordsetLista().ConteggioNoto())
                                           ++contate;
                                       sonda_attese::Trascina(barra(), barra()->maximum());
                                       trascinato = true;
                                       trascinamenti.push_back(ns);
                                       return false;
                                   }
                                   const int ultima = g.dipinto->Visibili().second;
                                   return ultima >= 0 && g.dipinto->Mostra(ultima, ultimo.chiave);
                               },
                               g.limiteMs);
        s.Aggiungi(e);
        if (!e.riuscito)
            fermate << QString::number(g.dipinto->Visibili().second);
        s.pavimento.push_back(pavimento(floor));
    }
    chiudi();
    if (contate > 0)
        std::printf("attesa 2: the count had arrived before the drag in %d of %d tries\n", contate,
                    g.ripetizioni);
    stampa(2, s,
           qPrintable(QStringLiteral("closed list opened, thumb dragged to the bottom before the count (%1 "
                                     "ms after the opening); from the opening")
                          .arg(mediana(trascinamenti), 0, 'f', 1)),
           qPrintable(QStringLiteral("did not reach the last customer (last row shown: %1)")
                          .arg(fermate.join(QStringLiteral(", ")))));
}

void Attesa3()
{
    Serie s;
    std::vector<qint64> segnaposti;
    g.scheda->ButtonComando(QStringLiteral("Nuovo"));
    int mancati = 0, diversi = 0;
    QVariantList attesa; // the first row of the middle screen, read by the engine
    int bersaglioAtteso = -1;
    for (int i = 0; i < g.ripetizioni; ++i) {
        chiudi();
        g.scheda->ButtonComando(QStringLiteral("Lista"));
        int bersaglio = -1;
        const Esito e = Misura(
            [] {
                // The count has reached the scroll bar: its thumb spans the whole list.
                RigheLista &r = lista()->RecordsetLista();
                return r.Aperta() && r.ConteggioNoto() && r.SegnapostiAttesi() &&
                       barra()->maximum() + barra()->pageStep() >= r.RigheNote() - 1;
            },
            [&] {
                g.dipinto->Azzera();
                sonda_attese::Trascina(barra(), barra()->maximum() / 2);
                bersaglio = barra()->value();
            },
            [&](qint64) {
                const int prima = g.dipinto->Visibili().first;
                return prima >= 0 && std::abs(prima - bersaglio) <= g.schermo && g.dipinto->SchermoPieno();
            },
            g.limiteMs, 120000);
        if (!e.avviato) {
            ++mancati;
            continue;
        }
        s.Aggiungi(e);
        if (bersaglio != bersaglioAtteso) {
            bersaglioAtteso = bersaglio;
            attesa = primaRiga(SqlLista::Pagina(g.parti, {}, g.ordine, false, 1, bersaglio));
        }
        if (e.riuscito && !g.dipinto->Mostra(bersaglio, cliente(attesa).chiave))
            ++diversi;
        s.pavimento.push_back(
            pavimento({{Globali::DbComp()
                            ->Traduci(Globali::DbAzienda,
                                      SqlLista::Pagina(g.parti, {}, g.ordine, false, g.schermo, bersaglio),
                                      DbMotore::LetturaInOrdine)
                            .toUtf8(),
                        g.schermo}}));
        if (!g.sqlOrdinata.isEmpty())
            segnaposti.push_back(pavimento(
                {{LetturaInOrdine::OgniRighe(Globali::DbComp()->Traduci(Globali::DbAzienda, g.sqlOrdinata,
                                                                        DbMotore::LetturaInOrdine),
                                             RigheLista::PassoSegnaposti)
                      .toUtf8(),
                  INT_MAX}}));
    }
    chiudi();
    if (mancati > 0)
        std::printf("attesa 3: the landmarks came before the drag could be made in %d of %d tries\n", mancati,
                    g.ripetizioni);
    if (diversi > 0)
        std::printf("attesa 3: the screen painted did not begin with row %d of the list in %d tries\n",
                    bersaglioAtteso, diversi);
    stampa(3, s,
           qPrintable(QStringLiteral("thumb dragged to the middle (row %1) after the count, before the "
                                     "landmarks; floor: that screen read by row offset")
                          .arg(bersaglioAtteso)));
    std::printf("attesa 3 landmarks: bare read of every %d-th row's ordering values %.2f ms (median)\n",
                RigheLista::PassoSegnaposti, mediana(segnaposti));
}

// `n` 4: the name column for "Qzxw"; 6: the date column "Data Ap." for
// "2099" (its text as the list shows it is sought), floor the count of the
// rows, every row's date read.
void Attesa4(int n = 4)
{
    Serie s;
    const bool data = n == 8;
    const QString testo = data ? QStringLiteral("2099") : QStringLiteral("Qzxw");
    g.scheda->ButtonComando(QStringLiteral("Nuovo"));
    chiudi();
    g.scheda->ButtonComando(QStringLiteral("Lista"));
    quiete();
    g.finestra->txtCerca->setText(testo);
    const int colonna = g.finestra->CobCerca->findText(data ? QStringLiteral("Data Ap.")
                                                            : QStringLiteral("Ragione Sociale Contabile"));
    g.finestra->CobCerca->setCurrentIndex(colonna);
    bool avviso = false;
    QString altro;
    RisposteProgrammate::ImpostaAzioneMostrato([&](const QString &tipo, const QVariantMap &mostrato) {
        const QString t = mostrato.value(QStringLiteral("testo")).toString();
        if (tipo != RisposteProgrammate::MsgCom)
            return;
        if (t.startsWith(QStringLiteral("Nessuna riga contiene")))
            avviso = true;
        else
            altro = t;
    });
    const QByteArray conta =
        pavimenti_lista::SqlConta(g.parti, data ? QStringLiteral("DataAp Is Null Or DataAp Is Not Null")
                                                : QStringLiteral("Descrizione Like ") +
                                                      Globali::Util().ValoreSqlLike(testo, true, true));
    for (int i = 0; i < g.ripetizioni; ++i) {
        avviso = false;
        g.finestra->optDirez(0)->setChecked(true);
        quiete();
        s.Aggiungi(Misura([] { return true; }, [] { g.finestra->ButtonComando(QStringLiteral("Cerca")); },
                          [&](qint64) { return avviso; }, g.limiteMs));
        s.pavimento.push_back(pavimento({{conta, 1}}));
    }
    RisposteProgrammate::ImpostaAzioneMostrato({});
    if (!altro.isEmpty())
        std::printf("attesa %d: the search said instead: %s\n", n, qPrintable(altro));
    chiudi();
    stampa(n, s,
           data ? "\"Cerca in\" the date column \"Data Ap.\" for \"2099\" (no match), code order; until the "
                  "notice"
                : "\"Cerca in\" the name column for \"Qzxw\" (no match), code order; until the notice",
           "gave no notice");
}

void Attesa5(const QString &prefisso)
{
    Serie s;
    g.scheda->ButtonComando(QStringLiteral("Nuovo"));
    chiudi();
    g.scheda->ButtonComando(QStringLiteral("Lista"));
    quiete();
    QLineEdit *nome = g.finestra->txt(30);
    Cliente lontano;
    for (int i = 0; i < g.ripetizioni; ++i) {
        nome->setText(prefisso);
        int invio = 13;
        g.finestra->txt_KeyDown(30, invio, 0);
        quiete();
        if (!lontano.Valido()) {
            // Of the customers the prefix keeps, the last in code order.
            lontano = cliente(
                primaRiga(SqlLista::Pagina(lista()->RecordsetLista().Parti(), {}, g.ordine, true, 1)));
            if (!lontano.Valido()) {
                std::printf("attesa 5: no customer's name begins with \"%s\"\n", qPrintable(prefisso));
                return;
            }
        }
        QVariantList chiave;
        for (const QString &v : lontano.chiave)
            chiave << v;
        lista()->RitrovaRiga(chiave, -1);
        quiete();
        if (lista()->ChiaveRiga(lista()->RigaCorrente()) != chiave) {
            std::printf("attesa 5: customer %s could not be made current\n",
                        qPrintable(lontano.chiave.join('-')));
            return;
        }
        nome->clear();
        qint64 tempo = -1, posizione = -1;
        const Esito e = Misura([] { return true; },
                               [] {
                                   g.dipinto->Azzera();
                                   int tasto = 13;
                                   g.finestra->txt_KeyDown(30, tasto, 0);
                               },
                               [&](qint64 ns) {
                                   // The whole list, not the filtered one still shown.
                                   return lista()->SqlLista() == g.parti.testo &&
                                          correnteMostrato(lontano, ns, tempo, posizione);
                               },
                               g.limiteMs);
        s.Aggiungi(Esito{e.avviato, tempo >= 0, e.freeze, tempo});
        if (posizione >= 0)
            s.posizione.push_back(posizione);
        const qint64 p = pavimento(seekIntorno(lontano));
        s.pavimento.push_back(p);
        s.pavimentoPosizione.push_back(p + pavimento({{contaPrima(lontano), 1}}));
        quiete();
    }
    chiudi();
    stampa(5, s,
           qPrintable(QStringLiteral("name \"%1\" cleared and Enter, customer %2 current")
                          .arg(prefisso, lontano.chiave.join('-'))),
           "the customer was not shown as the current row");
}

// The second desk: a connection of its own to the same company, which
// deletes a customer and later puts it back (saved meanwhile in a temporary
// table of its session), in the engine's own SQL.
class Postazione
{
  public:
    bool Apri(const supporto_bench::Argomenti &a, const QString &percorso)
    {
        try {
            if (!a.connect.isEmpty())
                Globali::DbComp()->ApriConnessione(kNome, a.connect);
            else
                Globali::DbComp()->ApriSqlite(kNome, percorso);
        } catch (const VbErrore &e) {
            std::fprintf(stderr, "the second desk cannot connect: %s\n", qPrintable(e.descrizione()));
            return false;
        }
        return true;
    }
    bool Cancella(const QStringList &chiave)
    {
        const QString dove = QStringLiteral(" WHERE Gruppo = '%1' AND Mastro = '%2' AND Conto = '%3'")
                                 .arg(chiave.value(0), chiave.value(1), chiave.value(2));
        return esegui(QStringLiteral("CREATE TEMPORARY TABLE salvato AS SELECT * FROM PianoConti") + dove) &&
               esegui(QStringLiteral("DELETE FROM PianoConti") + dove);
    }
    bool Rimetti()
    {
        return esegui(QStringLiteral("INSERT INTO PianoConti SELECT * FROM salvato")) &&
               esegui(QStringLiteral("DROP TABLE salvato"));
    }

  private:
    static inline const QString kNome = QStringLiteral("Postazione2");
    bool esegui(const QString &sql)
    {
        QSqlQuery q(Globali::DbComp()->DatabaseDao(kNome));
        if (q.exec(sql))
            return true;
        std::fprintf(stderr, "the second desk: %s: %s\n", qPrintable(sql), qPrintable(q.lastError().text()));
        return false;
    }
};
Postazione g_postazione;

// The customer at row `riga` of the list in code order (set-up, not timed).
Cliente clienteAllaRiga(int riga)
{
    return cliente(primaRiga(SqlLista::Pagina(g.parti, {}, g.ordine, false, 1, riga)));
}

// The list opened from the form on `c` and left until counted and placed.
bool apriSul(const Cliente &c)
{
    chiudi();
    if (!g.scheda->pagine->LeggiDaChiave(c.chiave))
        return false;
    g.scheda->ButtonComando(QStringLiteral("Lista"));
    quiete();
    return lista()->ChiaveRiga(lista()->RigaCorrente()) == QVariantList(c.chiave.begin(), c.chiave.end());
}

void Attesa6()
{
    Serie s;
    const int riga = g.totale / 2;
    const Cliente cancellato = clienteAllaRiga(riga), seguente = clienteAllaRiga(riga + 1);
    if (!cancellato.Valido() || !seguente.Valido())
        return;
    const auto seek = seekIntorno(seguente);
    const QByteArray conta = contaPrima(seguente);
    for (int i = 0; i < g.ripetizioni; ++i) {
        if (!apriSul(cancellato)) {
            std::printf("attesa 6: the list could not be opened on customer %s\n",
                        qPrintable(cancellato.chiave.join('-')));
            break;
        }
        if (!g_postazione.Cancella(cancellato.chiave))
            break;
        qint64 tempo = -1, posizione = -1;
        const Esito e =
            Misura([] { return true; },
                   [] {
                       g.dipinto->Azzera();
                       g.finestra->ButtonComando(QStringLiteral("Aggiorna"));
                   },
                   [&](qint64 ns) { return correnteMostrato(seguente, ns, tempo, posizione); }, g.limiteMs);
        s.Aggiungi(Esito{e.avviato, tempo >= 0, e.freeze, tempo});
        if (posizione >= 0)
            s.posizione.push_back(posizione);
        quiete();
        g_postazione.Rimetti();
        const qint64 p = pavimento(seek);
        s.pavimento.push_back(p);
        s.pavimentoPosizione.push_back(p + pavimento({{conta, 1}}));
    }
    chiudi();
    stampa(6, s,
           qPrintable(QStringLiteral("customer %1 (row %2) deleted by another desk, then \"Aggiorna\"; until "
                                     "customer %3 is current")
                          .arg(cancellato.chiave.join('-'))
                          .arg(riga)
                          .arg(seguente.chiave.join('-'))),
           "the customer that followed was not shown as the current row");
}

void Attesa7()
{
    Serie s;
    const int riga = g.totale / 2;
    const Cliente mostrato = clienteAllaRiga(riga), cancellato = clienteAllaRiga(riga + 3);
    if (!mostrato.Valido() || !cancellato.Valido())
        return;
    bool avviso = false;
    QString altro;
    RisposteProgrammate::ImpostaAzioneMostrato([&](const QString &tipo, const QVariantMap &m) {
        const QString t = m.value(QStringLiteral("testo")).toString();
        if (tipo != RisposteProgrammate::MsgCom)
            return;
        if (t.startsWith(QStringLiteral("Il cliente ")) && t.contains(QStringLiteral("non esiste più")))
            avviso = true;
        else
            altro = t;
    });
    const auto seek = seekIntorno(mostrato);
    const QByteArray conta = contaPrima(mostrato);
    for (int i = 0; i < g.ripetizioni; ++i) {
        if (!apriSul(mostrato)) {
            std::printf("attesa 7: the list could not be opened on customer %s\n",
                        qPrintable(mostrato.chiave.join('-')));
            break;
        }
        QTableView *griglia = g.finestra->dbgRiga;
        griglia->setCurrentIndex(griglia->model()->index(lista()->RigaCorrente() + 3, 3));
        QCoreApplication::processEvents();
        if (lista()->ChiaveRiga(lista()->RigaCorrente()) !=
            QVariantList(cancellato.chiave.begin(), cancellato.chiave.end())) {
            std::printf("attesa 7: customer %s is not three rows below\n",
                        qPrintable(cancellato.chiave.join('-')));
            break;
        }
        if (!g_postazione.Cancella(cancellato.chiave))
            break;
        avviso = false;
        qint64 tempo = -1, posizione = -1;
        const Esito e =
            Misura([] { return true; },
                   [] {
                       g.dipinto->Azzera();
                       g.finestra->ButtonComando(QStringLiteral("Seleziona"));
                   },
                   [&](qint64 ns) { return avviso && correnteMostrato(mostrato, ns, tempo, posizione); },
                   g.limiteMs);
        s.Aggiungi(Esito{e.avviato, tempo >= 0, e.freeze, tempo});
        if (posizione >= 0)
            s.posizione.push_back(posizione);
        quiete();
        g_postazione.Rimetti();
        const qint64 p = pavimento(seek);
        s.pavimento.push_back(p);
        s.pavimentoPosizione.push_back(p + pavimento({{conta, 1}}));
    }
    RisposteProgrammate::ImpostaAzioneMostrato({});
    if (!altro.isEmpty())
        std::printf("attesa 7: the list said instead: %s\n", qPrintable(altro));
    chiudi();
    stampa(
        7, s,
        qPrintable(QStringLiteral("\"Seleziona\" on customer %1 (row %2) deleted by another desk; until the "
                                  "notice and customer %3, the form's, current")
                       .arg(cancellato.chiave.join('-'))
                       .arg(riga + 3)
                       .arg(mostrato.chiave.join('-'))),
        "the notice or the form's customer as the current row did not come");
}

QString caricoMedio()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    supporto_bench::Argomenti argomenti = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    QList<int> solo{1, 2, 3, 4, 5, 6, 7, 8};
    QString prefisso = QStringLiteral("Rossi");
    std::vector<char *> restanti;
    for (size_t i = 0; i < argomenti.perBenchmark.size(); ++i) {
        const char *a = argomenti.perBenchmark[i];
        const bool valore = i + 1 < argomenti.perBenchmark.size();
        if (qstrcmp(a, "--ripetizioni") == 0 && valore)
            g.ripetizioni = std::max(1, QByteArray(argomenti.perBenchmark[++i]).toInt());
        else if (qstrcmp(a, "--limite") == 0 && valore)
            g.limiteMs = QByteArray(argomenti.perBenchmark[++i]).toDouble() * 1000;
        else if (qstrcmp(a, "--prefisso") == 0 && valore)
            prefisso = QString::fromLocal8Bit(argomenti.perBenchmark[++i]);
        else if (qstrcmp(a, "--solo") == 0 && valore) {
            solo.clear();
            for (const QByteArray &n : QByteArray(argomenti.perBenchmark[++i]).split(','))
                solo << n.toInt();
        } else
            restanti.push_back(argomenti.perBenchmark[i]);
    }
    int n = int(restanti.size());
    QApplication app(n, restanti.data());
    const QString caricoPrima = caricoMedio();
    RisposteProgrammate::ImpostaSenzaModali(true);
    QTemporaryDir cartella;
    QString percorso;
    if (!supporto_bench::ApriAziendaBench(argomenti, cartella, percorso))
        return 1;
    if (!argomenti.connect.isEmpty()) {
        g.odbc = std::make_unique<letture_odbc::Connessione>(argomenti.connect);
        if (!g.odbc->Aperta()) {
            std::fprintf(stderr, "the floor's connection failed: %s\n", qPrintable(g.odbc->Errore()));
            return 1;
        }
    } else {
        sqlite3_open_v2(percorso.toUtf8().constData(), &g.c, SQLITE_OPEN_READONLY, nullptr);
    }
    auto scheda = std::make_unique<supporto_bench::SchedaClienti>();
    g.scheda = scheda.get();
    g.finestra = scheda->lista.get();
    g.dipinto = new sonda_attese::Dipinto(g.finestra->dbgRiga);
    if (!prepara()) {
        std::fprintf(stderr, "the customer list could not be read\n");
        return 1;
    }
    const Esito quieto = Misura([] { return true; }, [] {}, [](qint64 ns) { return ns > 300000000; }, 1000);
    std::printf(
        "Waits of the customer list window: %s, %d customers, %u cores, load average %s at the start; "
        "%d tries a gesture, %d rows a screen; the probe's longest gap while idle %.1f ms\n",
        g.odbc ? "PostgreSQL (floor through the ODBC C API)" : "SQLite (floor through its C API)", g.totale,
        std::thread::hardware_concurrency(), qPrintable(caricoPrima), g.ripetizioni, g.schermo,
        ms(quieto.freeze));
    std::fflush(stdout);

    const Cliente ultimo = cliente(primaRiga(SqlLista::Pagina(g.parti, {}, g.ordine, true, 1)));
    if (solo.contains(1))
        Attesa1(ultimo);
    if (solo.contains(2))
        Attesa2(ultimo);
    if (solo.contains(3))
        Attesa3();
    if (solo.contains(4))
        Attesa4();
    if (solo.contains(5))
        Attesa5(prefisso);
    if ((solo.contains(6) || solo.contains(7)) && g_postazione.Apri(argomenti, percorso)) {
        if (solo.contains(6))
            Attesa6();
        if (solo.contains(7))
            Attesa7();
    }
    if (solo.contains(8))
        Attesa4(8);
    std::printf("Load average at the end: %s\n", qPrintable(caricoMedio()));

    scheda.reset();
    if (g.c)
        sqlite3_close(g.c);
    g.odbc.reset();
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
