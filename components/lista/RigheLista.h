// RigheLista: the rows of a list's SELECT, read a page at a time as they are
// asked for and never all at once. A few pages stay in memory (the least
// recently used go first); of every page read the list keeps only the
// ordering values of its first and last row, so that the next or previous
// page is found by those values (an index seek) rather than by skipping rows.
// A list of 100,000 rows therefore opens by reading one page, scrolls by
// reading one page at a time and holds the same memory at any position.
//
// The ordering is made unique by adding the record's key columns after the
// list's own ORDER BY columns. A SELECT that cannot be read that way (GROUP
// BY, DISTINCT, an ORDER BY on expressions, key columns not selected) is read
// by row offsets instead, which gives the same rows more slowly.
#pragma once

#include "components/db/Risultato.h"
#include "components/lista/SqlLista.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class CursoreSqlite;
class DbMotore;

class RigheLista
{
  public:
    static constexpr int RighePagina = 128;
    // Of a long list, the ordering values of one row in so many (landmarks,
    // read once after its count, on the counting connection): a jump far from
    // the pages read starts from the nearest one. One a page, the last row of
    // each: every page is then sought from the one before it, nothing
    // skipped. A million rows keep about 7,800 (some 2 MB).
    static constexpr int PassoSegnaposti = RighePagina;
    // A reading of every row (print, export) goes in larger steps: one seek
    // per step, a step's rows held at a time.
    static constexpr int RigheLettura = 2048;
    static constexpr int PagineTenute = 24;
    // Of the pages no longer in memory, one in so many keeps its boundary
    // values (so that what the list remembers hardly grows with its rows).
    static constexpr int ConfiniRadi = 16;

    // How the pages were read since the list was opened (benchmarks, tests).
    struct Statistiche {
        int pagine = 0;    // pages read
        int perChiave = 0; // of which found from a neighbouring row's values
        int perSalto = 0;  // of which reached by skipping rows
        qint64 righeSaltate = 0;
        int conteggi = 0; // counts of the rows run
    };

    RigheLista();
    ~RigheLista();
    RigheLista(const RigheLista &) = delete;
    RigheLista &operator=(const RigheLista &) = delete;

    void ImpostaDatabase(DbMotore *db, const QString &connessione);
    DbMotore *Database() const { return m_db; }
    QString Connessione() const { return m_connessione; }
    // The columns of the record's key: they make the ordering unique.
    void ImpostaChiave(const QStringList &colonne)
    {
        if (colonne != m_chiave)
            m_ordinePronto = false;
        m_chiave = colonne;
    }
    const QStringList &Chiave() const { return m_chiave; }

    // Opens the SELECT and reads its first page; the engine's refusal is a
    // VbErrore and leaves the list as it was (open on its rows, or closed).
    void Apri(const QString &sql);
    // Forgets the rows (the SELECT stays, so Riapri reads it again).
    void Chiudi();
    // Reads the same SELECT again, as Apri does.
    void Riapri();
    bool Aperta() const { return m_aperta; }
    const QString &Sql() const { return m_parti.testo; }
    const SqlLista::Parti &Parti() const { return m_parti; }
    // Whether pages are found by the values of neighbouring rows.
    bool PerChiave() const { return m_perChiave; }
    // The ordering in use: the SELECT's own, then the key columns.
    const QList<SqlLista::VoceOrdine> &Ordine() const { return m_ordine; }

    int NumeroColonne() const { return int(m_colonne.size()); }
    const Risultato::Colonna &Colonna(int i) const { return m_colonne[size_t(i)]; }
    // Index of a column by "Alias.Field" or bare name, -1 when not selected.
    int IndiceColonna(const QString &nome) const;

    // Whether "begins with" is best sought as a range (CampiRicerca's
    // IntervalloInizio): PostgreSQL on a database whose collation orders
    // texts by code point ("C", "POSIX", "C.UTF-8"). There citext compares the
    // lower-case forms by code point, so the texts that begin with a prefix
    // are exactly those of the range, as ILIKE finds them; the planner cannot
    // seek an index for ILIKE on a prefix that begins with a letter and read
    // every customer. Asked of the server once per connection. SQLite seeks its
    // NOCASE index for the LIKE itself.
    bool InizioComeIntervallo();

    // The rows known to be there: all of them once counted, else those read.
    int RigheNote() const;
    bool ConteggioNoto() const { return m_totale >= 0; }
    // Counts the rows, once per opening.
    int Conta();
    // A count made elsewhere (on another connection) for the opening
    // `apertura`; ignored when the list was opened again since, or already
    // knows its rows. Never below the rows already read.
    void ImpostaConteggio(int apertura, int righe);
    // Changes at every opening, closing and reopening.
    int Apertura() const { return m_apertura; }
    // Whether the landmarks of a long list read by key are still to come
    // (they come after a count on the counting connection).
    bool SegnapostiAttesi() const
    {
        return m_aperta && m_perChiave && m_segnaposti.empty() &&
               (m_totale < 0 || m_totale >= 4 * PassoSegnaposti);
    }
    // Whether the landmarks of this opening are on their way: the caller says
    // so when it starts the count that reads them. Cleared when they come
    // (ImpostaSegnaposti, none included) and at every opening and closing;
    // the caller clears it when the count or their reading fails.
    void ImpostaSegnapostiInArrivo(bool inArrivo) { m_segnapostiInArrivo = inArrivo && m_aperta; }
    bool SegnapostiInArrivo() const { return m_segnapostiInArrivo; }
    // While the landmarks are on their way, a page that could only be
    // reached by skipping more than so many rows is better not read for the
    // screen: a skip costs a step of the engine for each row, and the
    // landmarks, once come, reach any page with one index seek. Eight pages
    // are a few milliseconds' skip on either engine, more than a screen or
    // a few of them scrolled past the pages read (no scrolling but a jump
    // goes further at once).
    static constexpr int SaltoSenzaSegnaposti = 8 * RighePagina;
    // Whether reading the row's page now would skip more rows than that
    // while the landmarks are on their way (the screen leaves it blank and
    // shows it when they come or fail). Reads nothing.
    bool DaRinviare(int riga) const;
    // The SELECT of the ordering columns alone, in the list's order (Jet
    // SQL), from which the landmarks are read; empty when pages are not found
    // by those values.
    QString SqlOrdinata() const;
    // The landmarks of the opening `apertura` (ignored for another one): the
    // ordering values, as texts or as they are, of the rows `passo`,
    // 2 x `passo`, ... (counted from 1). Rows added or deleted since move
    // them by as many rows, as they move the count.
    void ImpostaSegnaposti(int apertura, int passo, const QList<QVariantList> &righe);

    // A cell (invalid for Null, and for a row past the end); reads the row's
    // page when it is not in memory.
    QVariant Valore(int riga, int col);
    bool Esiste(int riga);
    // The values of some columns of a row (by name).
    QVariantList Valori(int riga, const QStringList &colonne);

    // The first row after `da` (avanti) or before it whose `condizione` (Jet
    // SQL) holds; from the first or the last row when `da` is below 0. Lists
    // read by offsets test each row with `verifica` instead. -1 when none.
    // On a list read by key the row found is shown among its neighbours
    // before its place is known, as by ApriIntorno (PosizioneNota).
    int Trova(const QString &condizione, const std::function<bool(int riga)> &verifica, int da, bool avanti);
    // Whether Trova finds a row meeting `condizione` with one statement
    // (SqlTrova) rather than by testing the rows one by one.
    bool TrovaConSql(const QString &condizione) const
    {
        return m_aperta && m_perChiave && !condizione.isEmpty();
    }
    // That statement (Jet SQL, to be read as DbMotore::LetturaFiltrata): the
    // first row after `da` or before it, as Trova says, whose columns are
    // the SELECT's; empty when row `da` is not there. Only row `da` is read
    // for it (rows placed provisionally keep their places: nothing is counted).
    QString SqlTrova(const QString &condizione, int da, bool avanti);
    // The rows after `da` or before it (from the first or the last row when
    // `da` is below 0), every one of them in that order: what a search reads
    // row by row where no condition says what it seeks (Jet SQL, to be read
    // as DbMotore::LetturaInOrdine). Empty when the list is not read by key
    // or row `da` is not there; only row `da` is read for it.
    QString SqlScorri(int da, bool avanti);
    // The key of a row of the SELECT's columns read elsewhere (SqlTrova's
    // answer; texts as a server gives them become values of the columns'
    // kinds), as MostraChiave takes it; empty when the key is not selected.
    QVariantList ChiaveDi(const QVariantList &riga) const;
    // Position of the row whose key columns have these values; -1 when the
    // list does not hold it.
    int PosizioneChiave(const QVariantList &valori);
    // Shows the row whose key columns have these values without counting
    // the rows before it: its row when a page in memory holds it, else the
    // row shown among its neighbours as by Trova, its place to follow
    // (PosizioneNota, SqlPosizione). -1, with nothing changed, when the
    // list does not hold it or is not read by key (PosizioneChiave then).
    int MostraChiave(const QVariantList &valori);
    // The ordering values of a row whose page is in memory (nothing is
    // read), for MostraDopo; empty when none, or not read by key.
    QStringList ValoriOrdine(int riga) const;
    // A row gone from the list since it was read (another desk deleted it):
    // shows, as MostraChiave does, the row that now follows its ordering
    // values `valori` (ValoriOrdine), or the last row before them when none
    // follows. -1, with nothing changed, when there is neither or the list
    // is not read by key.
    int MostraDopo(const QStringList &valori);

    // Opens the SELECT as Apri does, but on the rows around the row of this
    // key (half a page before it, the rest after), read from its own values:
    // a new order shows the current row at once. The rows before it are
    // counted elsewhere meanwhile: until then the rows are numbered from the
    // first one read (the row is RighePagina / 2) and only the pages next to
    // them are read; that count (SqlPosizione) gives them their places
    // (ImpostaPosizione). With fewer rows before it than half a page its
    // place is known at once. `totale`, when not below 0, is the rows'
    // count (the same rows in another order). Answers the row's number
    // (provisional or final); -1 when the list does not hold it or is not
    // read by key, and then the first page is read as by Apri.
    int ApriIntorno(const QString &sql, const QVariantList &valoriChiave, int totale);
    // Of the page around a row shown by ApriIntorno or Trova, only so many
    // rows each side of it are read at once (a screen's worth: what is shown
    // first); the rest of the page when a row outside them or another page is
    // asked for, or by CompletaIntorno. 0 (the default): the whole page.
    void ImpostaRigheVicine(int righe) { m_righeVicine = righe; }
    // Whether that page holds only the rows read around the row.
    bool IntornoParziale() const { return m_parziale; }
    // Reads the rest of that page (once the screen showing the row is painted).
    void CompletaIntorno();
    // Frees what the reading the last opening replaced held (its pages and
    // landmarks: at a million rows a while, better spent after the new rows
    // are shown than before). Also at the next opening and on Chiudi.
    void LiberaScarti() { m_scarti.reset(); }
    bool HaScarti() const { return m_scarti != nullptr; }
    // Whether the rows have their places (false between ApriIntorno and ImpostaPosizione).
    bool PosizioneNota() const { return !m_provvisoria; }
    // Until then, whether row `riga` is known to hold no row (a blank row
    // past those read around the row shown, or on a page that cannot be read
    // before the rows have their places): it stands for no row and cannot
    // be chosen. Reads nothing; false once the rows have their places.
    bool Vuota(int riga) const;
    // Changes at every ApriIntorno (the count it answers goes with it).
    int Ancoraggio() const { return m_ancoraggio; }
    // Jet SQL answering the number of rows before the row ApriIntorno
    // showed: the sum of these counts.
    QStringList SqlPosizione() const;
    // The rows before the row shown, counted for the ancoraggio `ancoraggio`
    // (ignored for another one, or once placed): the rows move to their
    // places; answers by how many rows they moved (0 when nothing moved).
    int ImpostaPosizione(int ancoraggio, int righePrima);
    // Counts them here and now (an operation that needs every row's place).
    int Assesta();
    // Called with the rows' move whenever they get their places (on
    // ImpostaPosizione or Assesta, also when an operation needed them).
    void ImpostaAvvisoSpostamento(std::function<void(int spostamento)> avviso)
    {
        m_avvisoSpostamento = std::move(avviso);
    }

    // Every row in list order, apart from the pages kept for the view
    // (printing and export pull the rows this way). On SQLite the SELECT of
    // the list's own tables runs once, in list order, and its rows are
    // stepped; elsewhere they come a step of rows at a time.
    class Lettura
    {
      public:
        explicit Lettura(RigheLista &righe);
        ~Lettura();
        // The next row; false after the last one. Engine failures are VbErrore.
        bool Successiva(QVariantList &valori);
        // Moves to the next row without copying it out; Valore then reads
        // its cells one by one.
        bool Successiva();
        // A cell of the row Successiva moved to (column by its index in the SELECT).
        QVariant Valore(int colonna) const;
        // The cell's UTF-8 bytes when it is a text (valid until
        // Successiva); null otherwise.
        QByteArrayView TestoUtf8(int colonna) const;

      private:
        void primaLettura();

        RigheLista &m_righe;
        std::unique_ptr<Risultato> m_pagina;
        std::unique_ptr<CursoreSqlite> m_cursore; // the one statement, while it runs
        bool m_intera = false;                    // m_pagina holds every row
        int m_indice = 0;
        int m_letti = 0;
        QStringList m_ultimo;
        bool m_finita = false;
    };

    const Statistiche &Stat() const { return m_stat; }
    int PagineInMemoria() const { return int(m_pagine.size()); }

  private:
    struct Pagina {
        std::unique_ptr<Risultato> righe;
        quint64 uso = 0;
    };
    struct Confine {
        QStringList primo, ultimo; // ordering values as SQL literals
    };
    // What a reading replaced by another kept, to be freed later.
    struct Scarti {
        std::map<int, Pagina> pagine;
        std::map<int, Confine> confini;
        std::vector<QStringList> segnaposti;
        std::unique_ptr<Scarti> prima;
    };

    RigheLista &operator=(RigheLista &&) = default;
    int apri(const QString &sql, const QVariantList &intorno, int totale);
    // The first page, or the page around the row of key `intorno` (its row
    // number answered; -1 for the first page).
    int leggiPrimaPagina(const QVariantList &intorno, int totale);
    // The columns and the ordering columns of a result of the SELECT; false
    // when the ordering columns are not all in it (not read by key).
    bool colonneDa(const Risultato &r);
    // The page around a row of the SELECT (see ApriIntorno).
    int ancora(std::unique_ptr<Risultato> riga);
    // A row of the SELECT shown: its number when a page in memory holds it,
    // else shown by ancora.
    int mostra(std::unique_ptr<Risultato> riga);
    Risultato *pagina(int p);
    std::unique_ptr<Risultato> leggi(const QString &sql);
    // At most `limite` rows after (prima: before) the row of ordering values
    // `chiave` that also meet `condizione` (may be empty), in list order
    // (reversed when `prima`): one index seek per piece of the ordering
    // (SqlLista::CondizioniDopo, usually one), until the rows suffice.
    // `pagina`: counted among the pages read. `salto`: rows skipped first (a
    // piece of the condition wholly skipped is counted).
    std::unique_ptr<Risultato> leggiDopo(const QString &condizione, const QStringList &chiave, bool prima,
                                         int limite, bool pagina = true, qint64 salto = 0);
    // The rows of the SELECT that also meet `condizione`.
    int conta(const QString &condizione);
    // `avanti` is false when the page was read backwards from a later row.
    std::unique_ptr<Risultato> leggiPagina(int p, bool &avanti);
    std::unique_ptr<Risultato> rovescia(const Risultato &r) const;
    QStringList chiaveRiga(const Risultato &r, int riga) const;
    bool nulliPiccoli() const;
    int contaPrima(const QStringList &chiave);
    int posiziona(const QStringList &chiave, const Risultato &riga);
    // `ultima`: the page was read forwards and ended before it was full.
    void ricorda(int p, std::unique_ptr<Risultato> r, bool ultima);
    // A page with no neighbour read: from the nearest row whose ordering values are known.
    std::unique_ptr<Risultato> leggiLontana(int p, bool &avanti);
    // How leggiLontana reaches page `p`: the known row nearest before it
    // (-1: the list's start) and after it (LLONG_MAX: none; the count when
    // from the end), their values, and the rows either way would skip.
    struct Vicini {
        qint64 sotto = -1, sopra = 0;
        const QStringList *daSotto = nullptr, *daSopra = nullptr;
        bool dallaFine = false;
        int limite = 0;      // the rows to read
        qint64 salto = 0;    // skipped reading forwards from `sotto`
        qint64 indietro = 0; // skipped reading backwards from `sopra`
    };
    Vicini vicini(int p) const;
    void preparaOrdine();
    // The page of the row of ordering values `chiave` (its whole row in
    // `riga`) at the row `pos`: the rows before it read backwards, the rest after.
    void leggiIntorno(int pos, const QStringList &chiave, const Risultato &riga);
    // The rows after row `da` (before it when not `avanti`) as one condition;
    // empty when the row is not there.
    QString condizioneDopo(int da, bool avanti);
    // The row whose key columns have these values (none when gone).
    std::unique_ptr<Risultato> rigaDellaChiave(const QVariantList &valori);
    // Rows placed provisionally get their places first (Assesta).
    void assestaSeProvvisoria();

    DbMotore *m_db = nullptr;
    QString m_connessione;
    QStringList m_chiave;
    SqlLista::Parti m_parti;
    QList<SqlLista::VoceOrdine> m_ordine;
    std::vector<int> m_colOrdine;  // result column of each ordering item
    std::vector<bool> m_numOrdine; // that column holds numbers
    std::vector<Risultato::Colonna> m_colonne;
    std::shared_ptr<Risultato> m_nomi; // an empty result with the columns, for name look-ups
    bool m_aperta = false;
    bool m_perChiave = false;
    bool m_ordinePronto = false; // m_ordine and m_perChiave worked out for this SELECT
    std::map<int, Pagina> m_pagine;
    std::map<int, Confine> m_confini;
    std::vector<QStringList> m_segnaposti; // landmark j: the row (j + 1) x m_passo - 1
    int m_passo = 0;
    bool m_segnapostiInArrivo = false;
    quint64 m_uso = 0;
    int m_totale = -1;    // rows counted (-1: not yet)
    int m_righeViste = 0; // rows read up to the furthest page
    int m_fine = -1;      // page found to be the last (-1: not yet)
    int m_apertura = 0;
    Statistiche m_stat;
    // Provisional places (ApriIntorno): the row shown, and its values.
    bool m_provvisoria = false;
    int m_ancoraggio = 0;
    int m_rigaProvvisoria = 0;
    QStringList m_chiaveAncora;
    std::unique_ptr<Risultato> m_rigaAncora;
    // Of the page around it, the rows read so far (first and last index).
    int m_righeVicine = 0;
    bool m_parziale = false;
    int m_primaLetta = 0;
    int m_ultimaLetta = 0;
    std::function<void(int)> m_avvisoSpostamento;
    std::unique_ptr<Scarti> m_scarti;
};
