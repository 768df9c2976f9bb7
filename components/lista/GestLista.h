// GestLista: the list engine of a list window. It opens the window's SELECT
// and shows its rows in a QTableView through a table model that reads them a
// page at a time (RigheLista), lays out the columns the window describes,
// keeps the row counter, sorts on a column, finds a text in a column, goes
// back to the bookmarked row, and opens the list-print dialog. The window is
// called back through ChiamanteLista; the search fields and the hand-back of
// the chosen row to the record form belong to its ListaPagine.
//
// Column and row access for printing and export (see StampaLista.h):
// ColonneLista() describes every column in grid order (caption, width in
// twips, alignment, visible or hidden, numeric), RecordCount() counts the
// rows, and SorgenteStampa() is the SorgenteRighe the print engine pulls the
// rows from, in list order and as the grid shows them, a page at a time and
// without disturbing the grid's pages.
#pragma once

#include "components/lista/ModelloLista.h"
#include "components/lista/RigheLista.h"
#include "components/lista/SorgenteLista.h"
#include "components/pagine/MessaggioComponente.h"
#include "components/stampa/ComponenteStampa.h"

#include <QCursor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class ChiamanteLista;
class ConteggioParallelo;
class DbMotore;
class ListaPagine;
class Stampatore;
class VbErrore;
class QAction;
class QComboBox;
class QRadioButton;
class QLineEdit;
class QTableView;
class QTimer;
class QToolBar;

class GestLista : public QObject, public ComponenteStampa
{
    Q_OBJECT
  public:
    explicit GestLista(QObject *parent = nullptr);
    ~GestLista() override;

    // ---- Set-up, in the order a window makes the calls ----

    void ImpostaForm(ChiamanteLista *owner);
    ChiamanteLista *Owner() const { return m_owner; }
    // An empty bar gets the list commands (Comandi()); a bar that has
    // actions keeps them, wired by their objectName.
    void ImpostaToolbar(QToolBar *barra);
    QAction *Bottone(const QString &chiave) const;
    static QStringList Comandi();
    // The row counter: "current / total".
    void ImpostaContatore(QLineEdit *txtRiga);
    void ImpostaGriglia(QTableView *dbgRiga);
    QTableView *Griglia() const;
    // The data control of the window: there is none here, the grid's model
    // reads the rows. Kept so that windows make the same calls.
    void ImpostaData(QObject *datRiga) { (void)datRiga; }
    void ImpostaDatabase(DbMotore *db, const QString &connessione);
    // Options: 0 the grid selects whole rows, 1 the grid is read-only,
    // 2 the rows are counted as soon as the list opens (all on by default).
    void ImpostaOpzione(int opzione, const QVariant &valore = true);
    // Questions and notices (the program's msgCom); the fallback box otherwise.
    void ImpostaMessaggi(FunzioneMessaggio funzione);
    void ImpostaListaPagine(ListaPagine *lista) { m_listaPagine = lista; }
    ListaPagine *Pagine() const { return m_listaPagine; }

    // ---- Columns (the window's PersColonne) ----

    // Column by index or by caption.
    void TitoloColonna(const QVariant &colonna, const QString &titolo);
    void LarghezzaColonna(const QVariant &colonna, double larghezzaTwips);
    // Option 0: visible (valore False hides the column); option 1: alignment
    // (0 left, 1 right, 2 centre).
    void OpzioneColonna(const QVariant &colonna, int opzione, const QVariant &valore);
    int NumeroColonne() const;
    ColonnaLista Colonna(int colonna) const { return m_modello->Colonne().at(size_t(colonna)); }
    std::vector<ColonnaLista> ColonneLista() const { return m_modello->Colonne(); }
    // The field (result column) a grid column shows ("" when none).
    QString CampoColonna(int colonna) const;
    // The result column's description (name, base table, kind, size), or
    // nullptr when the column does not exist.
    const Risultato::Colonna *InfoCampo(int colonna) const;

    // ---- Rows ----

    // Opens the SQL (pvFaiSql is accepted: the rows are always read anew),
    // shows its first rows, and has the window lay out its columns.
    void ApriSql(const QString &sql, const QVariant &pvFaiSql = true);
    // Reads the list again (same SQL), keeping the column layout and the
    // current row when it is still there, else the row in its place. When
    // the reading fails the rows shown stay and the user is told.
    void AggiornaLista(bool rileggi = true, const QString &modo = QStringLiteral("M"), int riservato = 0,
                       const QString &formatoData = QStringLiteral("dd/mm/yyyy"));
    // Takes row `riga` away (its record is gone): the list is read again and
    // the row now in its place becomes current.
    void TogliRiga(int riga);
    // Empties the grid and forgets the rows (the window is closing).
    void ChiudiLista();
    bool Aperta() const { return m_righe.Aperta(); }
    QString SqlLista() const { return m_righe.Sql(); }
    // The counter texts: current row ("0" when none) and number of rows.
    void PosizioneRighe(QString &corrente, QString &totale);
    // After a row change of the grid: the counter texts.
    void CambioRiga(int lastRow, int lastCol, QString &corrente, QString &totale);
    // The rows behind the grid (their RecordCount is the number of rows).
    RigheLista &RecordsetLista() { return m_righe; }
    int RecordCount();
    int RigaCorrente() const;
    void ImpostaRigaCorrente(int riga);
    // Whether the current row's place in the list's order is known (after a
    // new order it follows the rows shown around it).
    bool PosizioneNota() const { return m_righe.PosizioneNota(); }
    // A value of a row, by column name (the key of the row for selection).
    QVariantList ValoriRiga(int riga, const QStringList &colonne);
    QVariant ValoreCella(int riga, int colonna) const;
    QString TestoCella(int riga, int colonna) const;
    // The record's key columns (they make the list's order unique).
    void ImpostaChiave(const QStringList &colonne);
    // The values of the key columns of a row (empty when there is none).
    QVariantList ChiaveRiga(int riga);
    // Makes current the row of key `chiave` (column `colonna`); when the list
    // no longer holds it, the row at `riga` (the last when fewer), if `riga`
    // is 0 or more. Nothing changes when neither is there. On a list read by
    // key a row beyond the pages in memory is shown at once among its
    // neighbours, as a new order shows it: its number ("...") follows from a
    // count on a thread of its own, and the rows move to their places then.
    // There, given the ordering values the row had (`ordine`, RigheLista::
    // ValoriOrdine before the rows were read again), the row in its place is
    // the one that follows them (the last when none), shown the same way.
    // Answers whether a row became current.
    bool RitrovaRiga(const QVariantList &chiave, int riga, int colonna = 0, const QStringList &ordine = {});
    // Tells the user `testo` through the program's message box.
    void Avvisa(const QString &testo) { chiedi(testo); }

    // ---- Commands ----

    // "Seleziona" (handled by ListaPagine), "Aggiorna" (applies the search
    // fields), "Cerca" (text search of the search panel), "VaiA" (the
    // bookmarked row), "Stampa", "Chiudi", "Menu". True when it did its work.
    bool EseguiComandoLista(const QString &chiave);
    // Sorts on a grid column: 0 done, 1 the column cannot be sorted on, 2
    // the list could not be read (the user was told; the rows and the order
    // stay). The row the user is on stays current, and the order chosen
    // stays through "Aggiorna" until another is chosen or the list closes.
    int OrdinaPerColonna(int colIndex, const QString &sql);
    // The text search of the search panel: `direzione` 0 first, 1 next,
    // 2 previous, 3 last. Answers the row found, -1 when none. Here and now,
    // on the window's connection (the "Cerca" command searches on a thread
    // of its own where it can).
    int CercaTesto(const QString &testo, int colonna, int direzione);
    // Whether a "Cerca" runs on its thread: meanwhile the list window shows
    // the busy cursor, and Esc there or "Cerca" again stops it.
    bool RicercaInCorso() const { return m_cercata.inCorso; }
    // The search panel the "Cerca" command reads: the text, the column
    // (a combo of the column captions) and the direction options.
    void ImpostaPannelloCerca(QLineEdit *testo, QComboBox *colonna, const QList<QRadioButton *> &direzione);
    // A data error of the grid: tells the user once and empties the grid.
    void GestisciErroreDati(int numero, int &risposta, const QString &descrizione = {});
    int NumeroSplit() const { return 1; }
    void RiallineaSplit() {}
    // Places the grid in the window's list area (pixels); a grid inside a
    // layout is left to the layout.
    void Disponi(const QRect &area);

    // ---- Printing (components/stampa/ComponenteStampa.h) ----

    void ofrmComlinStampa(FormStampaLista *dialogo) override { m_formStampa = dialogo; }
    FormStampaLista *ofrmComlinStampa() const override { return m_formStampa; }
    void ofrmStampaInCorso(QWidget *attesa) override { m_formAttesa = attesa; }
    QWidget *ofrmStampaInCorso() const { return m_formAttesa; }
    void ogSta(Stampatore *motore) override;
    Stampatore *ogSta() const override;
    // Called by the print dialog: prints the list through the engine, with
    // the owner's print state at 1 while it runs, and tells the user why
    // when it fails.
    void AvviaStampa(const QString &tipo, int orientamento, QFont &font) override;
    bool InStampa() const override { return m_inStampa; }
    QWidget *FinestraStampa() const override;
    // The rows as the print engine reads them.
    SorgenteRighe &SorgenteStampa() { return m_sorgente; }
    // Caption of the list window (a print's title).
    QString Didascalia() const;

    // ---- For tests and benchmarks ----
    ModelloLista *Modello() const { return m_modello.get(); }

  protected:
    // The grid's first paint after an opening starts the count; Esc stops a search.
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

  signals:
    // The counter texts changed ("current / total").
    void contatoreCambiato(const QString &testo);
    // A "Cerca" started on its thread, or ended (found, not found, failed or stopped).
    void ricercaCambiata(bool inCorso);

  private:
    int chiedi(const QString &testo, const QStringList &pulsanti = {QStringLiteral("&Ok")},
               int predefinito = 1);
    void applicaColonne();
    void applicaColonna(int colonna);
    void aggiornaContatore();
    void contaRighe();
    void avviaConteggio();
    bool contaDaAvviare() const;
    void avviaOra();
    // Starts the count (and the landmarks) on the counting thread; false
    // when none can count there (a database in memory, a transaction).
    bool contaSulThread();
    // The grid stands at the end of the rows it knows of (ModelloLista::
    // fetchMore): true when the count is under way on its thread, or has
    // just been started there.
    bool contaAltrove();
    // The user took the scroll bar's thumb to the end of the rows known
    // before they were counted (or placed): once counted the grid shows the
    // last one.
    void segnaFondo(bool corrente = false);
    // Ctrl+End before the count or before the rows shown have their places
    // (true when it took the key).
    bool ultimaRiga();
    void vaiInFondo();
    // The rows a screen of the grid shows, and a row more each side (0 without a grid).
    int righeSchermo() const;
    void fermaConteggio();
    bool aggiorna();
    bool cerca();
    // The condition of the text search in a column (Jet SQL; empty when the
    // column is no text of its own: its cells are then tested one by one).
    QString condizioneRicerca(const QString &cercato, int colonna) const;
    // Starts the "Cerca" on its thread; false when it must run here (no
    // thread can run it, or the list is not read by key).
    bool avviaRicerca(const QString &cercato, int colonna, int direzione);
    void ricercaLetta(int etichetta, const QList<QVariantList> &righe);
    void fermaRicerca();
    // Esc in the list window while the search runs: stops it (true: the key is taken).
    bool tastoRicerca(QObject *oggetto, QEvent *evento);
    // The busy cursor on the list window and Esc listened for, or both gone.
    void occupa(bool occupata);
    // The row found made current and shown; its number follows when placed provisionally.
    void mostraTrovata(int riga, int colonna);
    // What the user is told when the search found nothing, or failed; after a
    // match, the direction goes on from it.
    void nessunaRiga(const QString &cercato, int colonna);
    void ricercaFallita(int numero, const QString &descrizione);
    void dopoTrovata(int direzione);
    bool vaiABookmark();
    bool stampa();
    void erroreLettura(int numero, const QString &descrizione);
    // Whether the grid holds row `riga`, the rows known added and, only for
    // a row beyond them, counted. Engine failures are VbErrore.
    bool rigaInGriglia(int riga);
    // A refresh that failed: the rows shown stay, and the user is told.
    void aggiornamentoFallito(const VbErrore &e);
    // The header shows the order the user chose.
    void mostraOrdine();
    // The place of the row shown by RigheLista::ApriIntorno, counted on a
    // thread of its own (here when none can count).
    void avviaPosizione();
    // The rows shown got their places, `spostamento` rows further on: the
    // current row and the screen go with them.
    void spostaRighe(int spostamento);
    // Has `assesta` give the rows shown around the row of `ancoraggio` their
    // places, the key of the row the user is on noted first, so that the
    // row follows its customer (rigaSeguita).
    void colloca(int ancoraggio, const std::function<void()> &assesta);
    // The row of that customer once placed: `attesa` (where it is when no row
    // came or went meanwhile) when it holds it, else the one around it that
    // does; `attesa` (within the rows) when none does or no key was noted.
    int rigaSeguita(int attesa);

    ChiamanteLista *m_owner = nullptr;
    ListaPagine *m_listaPagine = nullptr;
    std::unique_ptr<ModelloLista> m_modello;
    RigheLista m_righe;
    QPointer<QTableView> m_griglia;
    QPointer<QToolBar> m_barra;
    QPointer<QLineEdit> m_txtRiga;
    QPointer<QLineEdit> m_txtCerca;
    QPointer<QComboBox> m_cobCerca;
    QList<QPointer<QRadioButton>> m_optDirez;
    FormStampaLista *m_formStampa = nullptr;
    QPointer<QWidget> m_formAttesa;
    QPointer<Stampatore> m_motore;
    SorgenteLista m_sorgente{*this};
    FunzioneMessaggio m_messaggi;
    QTimer *m_timConta = nullptr;
    QTimer *m_timAvvio = nullptr;
    ConteggioParallelo *m_conteggio = nullptr;
    ConteggioParallelo *m_posizione = nullptr; // the rows before the row shown by ApriIntorno
    // The "Cerca" on a thread (and a connection) of its own, made by the first one.
    ConteggioParallelo *m_ricerca = nullptr;
    struct Ricerca {
        int etichetta = 0;
        QString cercato;
        int colonna = 0;
        int direzione = 0;
        bool inCorso = false;
    } m_cercata;
    // The window showing the busy cursor meanwhile, and its own cursor before.
    QPointer<QWidget> m_occupata;
    std::optional<QCursor> m_cursorePrima;
    // The next ApriSql opens around the row of this key (a new order of the
    // same rows, `m_totaleIntorno` of them when counted) in this column.
    QVariantList m_apriIntorno;
    int m_totaleIntorno = -1;
    int m_colonnaIntorno = 0;
    QVariantList m_chiaveSeguita; // the customer of the current row while the rows are placed (colloca)
    QList<SqlLista::VoceOrdine> m_ordineScelto; // chosen on a header (empty: the window's own)
    QString m_formatoData = QStringLiteral("dd/mm/yyyy");
    QString m_ultimoContatore;
    // The opening whose count (and landmarks) the counting thread is making.
    int m_contaInCorso = -1;
    // The opening whose last row the user asked for with the scroll bar
    // before the rows were counted (-1: none), until the user scrolls away.
    int m_fondoVoluto = -1;
    // That wish came from Ctrl+End: the last row also becomes current.
    bool m_fondoCorrente = false;
    bool m_contaSubito = true;
    bool m_contaDopoPittura = false; // the count waits for the grid to show the first rows
    bool m_erroreMostrato = false;
    bool m_inComando = false;
    bool m_inStampa = false;
};
