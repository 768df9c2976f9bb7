// GestLinee: the line-grid engine. One per grid: a table model over the
// owner's record layer shown in a QTableView, a toolbar of line commands and
// a line counter. Rows are read and written only through the owner's Dati*
// callbacks; the engine keeps a copy of the rows and the pending edits of the
// current line until the line is saved.
#pragma once

#include "components/linee/ChiamanteLinee.h"
#include "components/linee/SorgenteLinee.h"
#include "components/pagine/MessaggioComponente.h"
#include "components/stampa/ComponenteStampa.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class ContestoPrg;
class QAction;
class QKeyEvent;
class QModelIndex;
class QLineEdit;
class QTableView;
class QToolBar;
class QWidget;
class ModelloLinee;
class Stampatore;

class GestLinee : public QObject, public ComponenteStampa
{
    Q_OBJECT
  public:
    explicit GestLinee(QObject *parent = nullptr);
    ~GestLinee() override;

    // ---- Set-up, in the order the owner makes the calls ----

    void ImpostaForm(ChiamanteLinee *owner);
    // The list-print options dialog and the progress window, kept for printing.
    void ImpostaFormStampa(FormStampaLista *frmComlinStampa);
    void ImpostaFormAttesa(QWidget *frmStampaInCorso);
    FormStampaLista *FormStampa() const;
    QWidget *FormAttesa() const;
    // An empty bar gets the line commands (Comandi()); a bar with actions
    // keeps them, wired by their objectName.
    void ImpostaBarraLin(QToolBar *barra);
    void ImpostaTestoRighe(QLineEdit *txtRiga);
    void ImpostaGriglia(QTableView *dbgRiga);
    void ImpostaFormatoData(const QString &formato);
    void ImpostaValore(int valore);
    void ImpostaStileBarra(const QString &tipoToolbar, QWidget *controllo1 = nullptr,
                           QWidget *controllo2 = nullptr);
    void ImpostaContesto(ContestoPrg *contesto);
    // 1 read-write, 0 read-only (no edit, add or delete).
    void LivelloRW(int livello);
    int Livello() const { return m_livello; }
    void ImpostaOpzioni(const QVariant &opzione, bool flag);
    // Key columns: editable only on a new line.
    void AggiungiColonnaChiave(int colIndex);
    // Fixed (non-scrolling) columns: the count is kept; none are drawn apart.
    void ImpostaColonneFisse(int numero);
    int ColonneFisse() const { return m_colonneFisse; }
    // The grid's number, for owners with several grids (-1 when not set).
    void ImpostaIndice(int indice) { m_indice = indice; }
    int Indice() const { return m_indice; }

    // Columns: the fields the grid shows, in order (from the owner's SELECT).
    void ImpostaColonne(const QStringList &campi);
    QStringList Colonne() const;
    void DidascaliaColonna(const QVariant &colonna, const QString &didascalia);
    // Width in the form's scale units (twips, 15 to a pixel).
    void LarghezzaColonna(const QVariant &colonna, double larghezza, const QString &formato = {});
    void VisibilitaColonna(const QVariant &colonna, bool visibile, bool riservato = false);
    // A column whose cells carry a drop-down button (dbgRiga_ButtonClick):
    // clicked, or F4 / Alt+Down on the cell.
    void ColonnaConPulsante(const QVariant &colonna, bool pulsante);
    // How prints and exports take a column: an amount (a number, also when
    // the cell holds its text as shown, "50.000,00") or a code (a text, also
    // when the cell holds a number, as a protocol number).
    void ColonnaImporto(const QVariant &colonna);
    void ColonnaCodice(const QVariant &colonna);
    bool HaPulsante(int colIndex) const;
    // The button of a cell pressed: the cell becomes current and the owner is told.
    void PremiPulsante(const QModelIndex &cella);
    // Index of a column by field name or index; -1 when none.
    int IndiceColonna(const QVariant &colonna) const;

    // Counter texts: the number of rows and the current row ("0" when none).
    void PosizioneRighe(QString &totale, QString &corrente) const;

    // Question box (the program's msgCom); the fallback box otherwise.
    void ImpostaMessaggi(FunzioneMessaggio funzione);
    // A double click on a cell is the owner's alone (dbgRiga_DblClick) and
    // opens no editor: a grid whose double click opens the line's document.
    void DoppioClicSenzaEditor(bool senza);

    // ---- Operations ----

    // Reads the rows again through the owner (DatiRequery and moves).
    void Ricarica(bool rileggi = true);
    // Row-column change from the grid: updates the counter texts.
    void CambioRigaColonna(int lastRow, int lastCol, int riservato, QString &totale, QString &corrente);
    void CambioCella();
    // The engine's own part of a cell check (read-only level, key columns).
    void PrimaAggiornaColonna(int colIndex, const QVariant &oldValue, bool &cancel);
    void DopoAggiornaColonna(int colIndex);
    // The engine's save check of the current line: False refuses writing it.
    bool ConfermaSalva(bool riservato = true);
    // Runs a line command: "Nuovo", "Salva", "Cancella", "Annulla", "VaiA",
    // "Stampa", "Chiudi", "Menu". `daGriglia` True: the grid's own delete
    // (answers True when the engine has dealt with it).
    QVariant EseguiComando(const QString &chiave, const QVariant &riservato = {}, bool daGriglia = false);
    // After a command: refreshes the toolbar and counter for the page state.
    void DopoComando(int &statoPagina);
    // Sorts on a column through the owner; above 0: not sorted.
    int OrdinaSuColonna(int colIndex, QString &sql);
    int NumeroSplit() const { return 1; }
    void RiallineaSplit() {}
    void Scorri();
    int ScostamentoScroll() const;
    // Places the grid under the toolbar in an area of the given size (pixels);
    // a grid inside a layout is left to the layout.
    void Disponi(bool riservato, int riservato2, const QVariant &riservato3, double larghezza,
                 double altezza);
    // True when the owner may close; asks to save a changed line.
    bool PuoChiudere();
    // Shows a data error; for a line changed by another desk (3197) asks
    // whether to read the stored lines or keep the line's edits; for a line
    // another desk deleted (3167) says so, and the save or delete under way
    // reads the rows again.
    QVariant ErroreGriglia(int dataError, int &response, const QVariant &noError = {});
    // The description of an error the owner caught, for the next ErroreGriglia.
    void RicordaErrore(const QString &descrizione) { m_ultimoErrore = descrizione; }
    // Work left for after a command (counter after a delete).
    void LavoroDifferito();

    // ---- The grid, for the owner's checks ----

    QTableView *Griglia() const;
    QToolBar *Barra() const;
    QAction *Bottone(const QString &chiave) const;
    static QStringList Comandi();
    // Current row (-1 when none) and column.
    int RigaCorrente() const;
    int ColonnaCorrente() const;
    // Moves to a column of the current line. Called while a line is being
    // saved, it names the cell the save was refused for: the user is put back
    // there, with the focus, after the refusal.
    void ImpostaColonnaCorrente(const QVariant &colonna);
    int NumeroRighe() const;
    // The value shown in a cell of the current line, pending edits included,
    // and its write (a pending edit of the line).
    QVariant ValoreCella(const QVariant &colonna) const;
    void ImpostaValoreCella(const QVariant &colonna, const QVariant &valore);
    // The current line has changes not yet saved.
    bool DatiModificati() const;
    // The columns the user changed on the line being changed (none when no
    // line is), and the value any line shows in a column, pending edits
    // included.
    QList<int> ColonneModificate() const;
    QVariant ValoreRiga(int riga, const QVariant &colonna) const;
    // After a save or a delete of a line whose commit lost its answer: the
    // rows read again (the read's error, the server still away, goes to the
    // caller with nothing changed). `inviata` is the line as the owner's
    // record layer gave it once written, or as read before the delete: its
    // key columns find it, and the columns `confronto` are those the save
    // wrote. `mostrata` is the line as the grid showed it when it was sent
    // (empty for a delete). Answers 1 when the line is stored with the values
    // sent (for a delete: still stored), 0 when stored with others, -1 when
    // no line has its key. A line saved is shown stored, no longer new;
    // whatever edits wait in the grid (made since, or not stored) are put
    // back on their line.
    int RileggiRiga(const QVariantList &inviata, const QList<int> &confronto, const QVariantList &mostrata);
    bool EditorAperto() const;
    // Text of the current cell (the open editor's, else as shown) and the part
    // of it selected: all of it when no editor is open.
    QString TestoCella() const;
    QString TestoSelezionato() const;
    // A column the user cannot change on the current line (read-only level,
    // a key column of a stored line, a hidden column).
    bool ColonnaBloccata(int colIndex) const;
    // "La riga N (<title>)": the current line named in what the user is told.
    QString nomeRiga() const;
    // Commits the cell being edited (its checks run); False when refused.
    bool ChiudiEditor();
    // Saves the line being changed; False when it stays unsaved, and then
    // the line stays current with the focus in the grid.
    bool SalvaRiga();
    // Asks the user through the question box of this grid.
    int Chiedi(const QString &testo, const QStringList &pulsanti, int predefinito = 1);

    // The grid's rows for the print engine.
    SorgenteRighe &SorgenteStampa() { return m_sorgenteStampa; }

    // ---- Printing (components/stampa/ComponenteStampa.h) ----
    void ofrmComlinStampa(FormStampaLista *dialogo) override { ImpostaFormStampa(dialogo); }
    FormStampaLista *ofrmComlinStampa() const override { return m_formStampa; }
    void ofrmStampaInCorso(QWidget *attesa) override { ImpostaFormAttesa(attesa); }
    void ogSta(Stampatore *motore) override;
    Stampatore *ogSta() const override;
    // Prints the grid's rows, with the owner's print state at 1 while it runs.
    void AvviaStampa(const QString &tipo, int orientamento, QFont &font) override;
    bool InStampa() const override { return m_inStampa; }
    QWidget *FinestraStampa() const override;

  signals:
    void contatoreCambiato(const QString &testo);
    // The after-command call was made (statoPagina as the owner passed it).
    void dopoComando(int statoPagina);

  private:
    friend class ModelloLinee;
    friend class SorgenteLinee;
    friend class DelegatoLinee;
    void attiva();
    void staccaGriglia();
    QWidget *editore() const;
    bool aggiornaCella(int riga, int col, const QVariant &valore);
    void rigaCambiata(int riga, int col, int rigaPrima, int colPrima);
    // Runs what an event of the grid (a command, a key, a click, a move to
    // another line) asks of the engine and its owner. No error leaves the
    // event's handler: one that got this far (the server lost while the rows
    // were read again, say) is said as the grid's other errors are, and the
    // grid stays usable. False when it failed.
    bool protetto(const std::function<void()> &lavoro);
    QVariant eseguiComando(const QString &chiave, bool daGriglia);
    // After a refused save: the line's cell current (the refused one when the
    // owner named it) and the focus in the grid, not in whatever field the
    // window gives it once the message box has gone.
    void tornaAllaRiga(int riga, int colonna);
    void aggiornaContatore();
    void aggiornaBarra();
    bool cancellaRiga(bool chiedi);
    void nuovaRiga();
    void scartaModifiche();
    // After a line changed by another desk: the rows read again, the line's
    // edits (`modifiche`, a copy: reading the rows drops the model's own)
    // put back on it unless the user chose to read the stored line.
    void riprendiDopoConflitto(int riga, QHash<int, QVariant> modifiche);
    // After a save or delete that found the line deleted by another desk:
    // the rows read again, the user near where the line was.
    void dopoRigaEliminata(int riga);
    // The values of the line just written as new, read at once ({} when the
    // owner cannot say which it is); whether row `riga` has the same key.
    QVariantList rigaAggiunta();
    bool stessaChiave(int riga, const QVariantList &valori) const;
    void vaiABookmark();
    bool tasto(int keyCode, int shift);
    // The owner's KeyPress for a key with text; true when it was handled here.
    bool caratteri(QObject *destinatario, QKeyEvent *k);
    bool tastoEditore(QObject *editor, QKeyEvent *k);
    bool eventFilter(QObject *obj, QEvent *ev) override;

    std::unique_ptr<ModelloLinee> m_modello;
    QPointer<QTableView> m_griglia;
    QPointer<QToolBar> m_barra;
    QPointer<QLineEdit> m_txtRiga;
    FormStampaLista *m_formStampa = nullptr;
    QPointer<QWidget> m_formAttesa;
    QPointer<Stampatore> m_motore;
    bool m_inStampa = false;
    ChiamanteLinee *m_owner = nullptr;
    ContestoPrg *m_contesto = nullptr;
    FunzioneMessaggio m_messaggi;
    QString m_formatoData = QStringLiteral("dd/mm/yyyy");
    QString m_tipoToolbar;
    int m_livello = 1;
    int m_indice = -1;
    int m_colonneFisse = 0;
    int m_valore = 0;
    bool m_inComando = false;
    bool m_cellaRifiutata = false;
    bool m_doppioClicEditor = true;
    QString m_ultimoErrore; // description of the last error the engine caught
    // Events of the grid under way (protetto), and whether one of them has
    // told a lost connection already: what the event goes on to try (the
    // rows read again) meets the same loss, which is told once.
    int m_eventi = 0;
    bool m_persaDetta = false;
    bool m_riposiziona = false;  // moving the current row back after a refused save
    int m_sceltaConflitto = 0;   // after a 3197: 1 read the rows again, 2 keep the line's edits over them
    bool m_inSalva = false;      // a line is being saved
    bool m_inCancella = false;   // a line is being deleted
    int m_erroreRiga = 0;        // the error the save or delete under way met (0 none)
    int m_colonnaRifiutata = -1; // the cell the owner put the user on while a save was refused
    // A key event sent on (to the view, then by the view to a new editor)
    // whose KeyDown and KeyPress were already given to the owner.
    const QEvent *m_eventoDato = nullptr;
    SorgenteLinee m_sorgenteStampa{*this};
};
