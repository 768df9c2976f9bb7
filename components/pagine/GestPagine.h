// GestPagine: the record-form engine. It binds the text boxes of a form to the
// columns of one table, reads a record by key, lets the user edit, search,
// save, copy and delete it, moves through the table in key order, runs the
// page toolbar, and calls the form back before and after each operation.
#pragma once

#include "components/pagine/ChiamantePagine.h"
#include "components/pagine/MessaggioComponente.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class VbErrore;

class ContestoPrg;
class DbMotore;
class QAction;
class QIcon;
class QLineEdit;
class QToolBar;
class QWidget;
class RecDat;
class VbErrore;

// How one field is registered. Members left invalid are "not passed".
struct OpzioniCampo {
    QVariant descrizione = {}; // caption: tooltip, messages
    QVariant chiave = {};      // 1: part of the record's key
    QVariant tipoChiave = {};  // 2: a key part whose value is fixed for the form (filters, never navigated)
    QVariant predefinito = {}; // value of a new record
    // Numeric size: an Integer n (n digits) or a Double d.p (d digits, p
    // decimals); a negative size also accepts negative values.
    QVariant dimensione = {};
    QVariant opzione = {};                 // True: required, a record is not saved while the field is empty
    QVariant formato = {};                 // display format ("#,###.^^", "##", "dd/mm/yyyy"...)
    QString ricerca = QStringLiteral("="); // search operator: "=" or "like*"
};

class GestPagine : public QObject
{
    Q_OBJECT
  public:
    // Operation codes of the callbacks.
    static constexpr int OpStato = 0, OpChiave = 4, OpLettura = 5, OpPulizia = 8, OpSalva = 12, OpColora = 15,
                         OpCancella = 16, OpCopia = 17;
    // Page states (StatoPagina).
    static constexpr int StatoNuovo = 0;       // empty or new record, key being typed
    static constexpr int StatoRecord = 1;      // a stored record is shown
    static constexpr int StatoRicerca = 2;     // the fields hold search criteria
    static constexpr int StatoVariaChiave = 3; // a stored record whose key is being changed

    explicit GestPagine(QObject *parent = nullptr);
    ~GestPagine() override;

    // ---- Set-up, in the order a form makes the calls ----

    void TabellaPrincipale(const QString &tabella);
    // 0: the form opens on an empty new record; 1: it opens in search mode.
    void ImpostaModoAvvio(int modo);
    // After a new record is saved: 0 it stays shown, 1 the form clears for
    // the next new record. Given once the engine is initialised.
    void ImpostaDopoSalvataggio(int modo);
    void AbilitaCallback(int piOper, bool abilita);
    bool CallbackAbilitata(int piOper) const;

    // Registers a column shown by `controllo`. A composite name
    // "|<join>|ColA|ColB|ColC" binds one box to several columns joined by
    // <join>. Registering a column twice is error 457.
    QVariant RegistraCampo(const QString &nomeCampo, QLineEdit *controllo, const OpzioniCampo &opzioni = {});
    int NumeroCampi() const;

    void ImpostaContesto(ContestoPrg *contesto);
    // The box of the last key part: leaving it in state 0 or 3 checks the key.
    void ImpostaControlloChiave(QLineEdit *controllo);
    // The field that gets the focus on a new or read record.
    void ImpostaPrimoControllo(QWidget *controllo);
    // Header (key fields), detail (the rest) and the areas that take no search
    // criteria (disabled in search mode). Any may be null.
    void ImpostaAree(QWidget *testata, QWidget *dettaglio, const QList<QWidget *> &noRicerca = {});
    QWidget *AreaDettaglio() const;
    void ImpostaColori(long foreNormale, long foreDisabil, long backErrore, long backNormale);
    // Page parameters read back with LeggiParPagina: "RisVid" (the form's
    // screen factor), "AbilToolTipText" ("S": each field's caption becomes the
    // tooltip of its box when it has none); the messages' "NomeRecord" ("Il
    // cliente"), "CampoNome" (the field whose text names a record) and
    // "ComandoNuovoCodice" (the button that gives a new code); others are
    // kept for the form.
    void ScriviParPagina(const QString &chiave, int tipo, const QVariant &valore);
    QVariant LeggiParPagina(const QString &chiave) const;
    // The form's free set-up values, kept in order as "Par1".."Par4".
    void ImpostaParametri(const QVariant &p1, const QVariant &p2 = {}, const QVariant &p3 = {},
                          const QVariant &p4 = {});

    // Binds the engine to the form, the database and the form's list window,
    // and shows the first record state (empty new record or search mode).
    // `lista` is handed back as the list window to keep (null when none).
    void Inizializza(ChiamantePagine *form, DbMotore *db, const QString &connessione,
                     FormListaPagine *&lista);

    // Fills `barra` with the page commands (an empty bar gets them all; a bar
    // that already has actions keeps them and has them wired by their
    // objectName). A click calls the form's ButtonComando with the key.
    void ImpostaToolbar(const QString &tipoToolbar, QToolBar *barra,
                        const QHash<QString, QIcon> &immagini = {});
    QAction *Bottone(const QString &chiave) const;
    // The commands of the toolbar, in order, and their tooltips.
    static QStringList Comandi();
    static QString TooltipComando(const QString &chiave);

    // Question box (the program's msgCom); the fallback box otherwise.
    void ImpostaMessaggi(FunzioneMessaggio funzione);

    // ---- State ----

    int StatoPagina() const { return m_stato; }
    // Read/write level: 1 editable, 0 read-only (search and navigation only).
    int oiAbilRW() const { return m_abilRW; }
    void oiAbilRW(int livello);
    // Whether the user has changed the record since it was read or cleared.
    bool RecordModificato() const { return m_modificato; }
    // Whether the key fields hold the key of a stored record that the user,
    // asked in a new record, chose not to read over the data entered.
    bool LetturaRifiutata() const;

    // ---- Field events (the form forwards them) ----

    void CampoEntrato(const QString &nomeCampo);
    // A field of the record changed; ignored while the engine or its callbacks
    // write the fields (see ScriviCampo and BloccoModifiche).
    void CampoModificato();
    // Registered name of a control ("" when it is not registered).
    QString NomeCampoControllo(const QWidget *controllo) const;
    QLineEdit *ControlloCampo(const QString &nomeCampo) const;
    // The engine's own check of a field left: numbers and formats; the key
    // control in states 0 and 3 also checks and reads the key. False when
    // that check could not be done (a failed read, said here already).
    bool CampoUscito(const QString &nomeCampo);

    // Writes a field's box without counting it as a user's change.
    void ScriviCampo(const QString &nomeCampo, const QString &testo);
    // While one is alive, changes reported to the engine are not user edits.
    class BloccoModifiche
    {
      public:
        explicit BloccoModifiche(GestPagine &g) : m_g(g) { ++m_g.m_bloccoModifiche; }
        ~BloccoModifiche() { --m_g.m_bloccoModifiche; }
        BloccoModifiche(const BloccoModifiche &) = delete;
        BloccoModifiche &operator=(const BloccoModifiche &) = delete;

      private:
        GestPagine &m_g;
    };

    // ---- Commands ----

    // Runs a command: "Ricerca", "Salva", "Cancella", "Annulla", "Duplica",
    // "VarKey", "Lista", "ListaInd", "ListaAvanti", "Inizio", "Precedente",
    // "Successivo", "Fine", "Chiudi", "Menu", also "Nuovo" and "Aggiorna".
    // Answers True when the command did its work.
    QVariant EseguiComando(const QString &chiave);
    // Shows the record of this key (values of the navigable key parts, in
    // registration order); False when there is none or the user kept a
    // changed record. `assente`, when given, tells the first case: the key
    // was looked for and no record has it (another desk deleted it since the
    // list showed it). Used by the list window.
    bool LeggiDaChiave(const QStringList &valori, bool *assente = nullptr);
    // Key of the record shown (navigable parts), empty when none.
    QStringList ChiaveCorrente() const;
    // Columns of the navigable key parts, in registration order (the values
    // LeggiDaChiave takes).
    QStringList ColonneChiave() const;
    // The search condition (Jet SQL) of the fields filled in search mode.
    QString CondizioneRicerca() const;

    // ---- Current record ----

    // Expressions a form wants read with each record, after its fields'
    // columns ("(SELECT ...) AS Name, ..."): in the same statement, so from
    // the same moment as the record. A read they make fail is made again
    // without them, and they are dropped. Empty: none.
    void ColonneAggiunte(const QString &espressioni);
    // The expressions the record shown was read with (empty: none).
    QString ColonneAggiunteLette() const;

    // The record set holding the record as last read, and its handle.
    RecDat *RecordsetPagina() const;
    QString ChiaveRecordset() const { return m_handle; }
    // A stored value of the record as last read (empty when none).
    QVariant LeggiCampo(const QString &chiave, const QString &campo) const;
    // The stored row of the record shown, read again now, for a form that
    // writes from it inside the save's transaction (the previous values of
    // a history row): on a server the row stays locked against other desks
    // until the transaction ends. Answers its handle on RecordsetPagina(),
    // empty when the record has no stored row; it lasts until the save ends.
    QString RileggiMemorizzato();
    // The text of every field, in the engine's order: what a save sends.
    QStringList TestiMaschera() const;
    // The fields' texts as read when the last save began (empty when it
    // saved a new record).
    QStringList TestiLettiAlSalvataggio() const;
    // After a save or a delete whose commit lost its answer with the
    // connection: reads the stored row whose key the fields hold, as the save
    // sent them (`inviati`, from TestiMaschera() then; the window's own when
    // empty: what the user typed since is no part of that save). With
    // `letti` (TestiLettiAlSalvataggio() taken then) only the fields the
    // save wrote are compared, and those now holding neither what was read
    // nor what was sent (another desk's value since) are named in `altri`
    // by their captions. -1 when no row has that key, 1 when every field
    // compared holds what was sent or another desk's value, 2 when every one
    // holds another desk's value, 0 when some field differs otherwise (the
    // save is not stored). Throws the read's error (the server still away).
    int ConfrontaMemorizzatoConMaschera(const QStringList &inviati = {}, const QStringList &letti = {},
                                        QStringList *altri = nullptr);
    // The stored values of the record as last read, column by column of the
    // fields: taken at a delete, to tell its row later from a row made since
    // with the same key (ConfrontaCancellato). Empty when no record is read.
    QVariantList ValoriLetti() const;
    // After a delete whose commit lost its answer: reads the stored row of
    // key `chiave`. -1 when no row has that key, 1 when it holds every value
    // of `letti` (the row the delete was sent for, still stored), 0 when it
    // holds others (a row made since with that key). Throws the read's error.
    int ConfrontaCancellato(const QStringList &chiave, const QVariantList &letti);
    // Empties the window for a new record, as after a delete.
    void PulisciRecord();
    // Reads the record of that key over whatever the window holds, asking
    // nothing: after ConfrontaMemorizzatoConMaschera, to show what is stored.
    bool RileggiDaChiave(const QStringList &valori);
    // The same, for a save found stored: the fields the user changed after
    // the save sent `inviati` keep their new text, the record changed; with
    // `letti` (as for ConfrontaMemorizzatoConMaschera) so do the fields the
    // save wrote that hold what was read before it (not stored). The number
    // of such fields, -1 when the record could not be read.
    int RileggiTenendoModifiche(const QStringList &valori, const QStringList &inviati,
                                const QStringList &letti = {});
    // Whether a save now (`operazione` OpSalva) would be refused because
    // another desk, since the read, changed a column the save writes (3197)
    // or deleted the record: the stored row of `memorizzato` (a
    // RileggiMemorizzato handle), or read now (inside the open transaction,
    // if any) when it is empty. For a delete (OpCancella) every column the
    // record was read with counts: a delete is refused over any change.
    bool ModificatoAltrove(const QString &memorizzato = QString(), int operazione = OpSalva);

    // ---- Transactions and results ----

    // False while the form's own transaction is open: the engine then writes
    // inside it and neither begins nor ends one of its own.
    void AbilitaTransazione(bool abilita) { m_transazione = abilita; }
    bool TransazioneAbilitata() const { return m_transazione; }
    // On by default: a save writes a column only while it still holds the
    // value read, so that one desk never overwrites another's change unseen
    // (error 3197, and the user chooses to read the stored record or keep
    // editing over it). Off only where nobody else writes the table.
    void ImpostaControlloOttimistico(bool attivo);
    // Result of the last operation: 0 done, a negative error number when it failed.
    long UltimoRisultato(int riservato = 0) const;
    // Reports a failed result to the user once and answers its text. A row
    // changed by another desk (3197) asks whether to read the stored record
    // or keep editing; a lock held by another desk (3218, 3260) says that the
    // record is in use there (the page parameter "NomeRecord" names it,
    // "Il record" by default).
    QVariant SegnalaErrore(long risultato, const QString &testo = {}, const QVariant &riservato = {});
    // What SegnalaErrore says of a record in use on another desk, after a
    // save (OpSalva: the edits stay in the window) or a delete (OpCancella:
    // the record was not deleted); the error, when given, in the detail.
    QString TestoInUso(int operazione, const VbErrore *errore = nullptr) const;

    // True when the form may close; asks to save a changed record.
    bool PuoChiudere();

  signals:
    void statoCambiato(int stato);

  private:
    struct Campo;
    struct Interni;

    // Implemented in GestPagineRecord.cpp
    QString elencoColonne() const;
    QString condizioneChiave(const QStringList &valori) const;
    struct RigaVerifica;
    QString condizioneFissa() const;
    // `assente`, when given, is set when the SELECT ran and found no record.
    bool leggi(const QString &where, const QString &ordine, int origine, bool *assente = nullptr);
    // Reads the first row found by the conditions taken in turn (each one a
    // seek of the key's index) and shows it; false when none finds a row.
    bool leggiPrimoDi(const QStringList &condizioni, const QString &ordine, int origine,
                      bool *assente = nullptr, int opzioni = 0);
    void mostraRecord(int origine);
    bool pulisciCampi(int pvArray0, bool conPredefiniti);
    bool salva();
    bool cancella();
    bool copia();
    bool naviga(int direzione);
    bool cercaConCriteri();
    bool controllaChiave();
    // Whether the user has data outside the key that a read would replace.
    bool datiInseriti() const;
    // The texts of the key fields, trimmed, in their order.
    QStringList valoriChiave() const;
    void ricordaMostrati(bool vuoti);
    bool scriviRiga();
    // Whether a save of the shown record writes the field's columns.
    bool daScrivere(const Campo &c) const;
    // 0, or the error a save or a delete would meet in the stored row (see ModificatoAltrove).
    int confrontaMemorizzato(const QString &memorizzato, int operazione = OpSalva);
    // Whether the boxes show exactly the row just read back.
    bool mostraMemorizzato() const;
    // After a 3197: shows the stored row, and with `rileggi` false puts the
    // user's typing back over it.
    void riprendiDopoConflitto(bool rileggi);
    // After a delete refused and reported: the stored row shown as the user
    // chose, or the form cleared when the record is gone already.
    void dopoCancellazioneRifiutata();
    // Implemented in GestPagineCampi.cpp
    Campo *campo(const QString &nome) const;
    QString testoDaValore(const Campo &c, const QVariant &v) const;
    // The field's text from the current row of the record set (its columns
    // joined, empty when every one is).
    QString testoDaRecord(const Campo &c) const { return testoDaRecord(c, m_handle); }
    QString testoDaRecord(const Campo &c, const QString &handle) const;
    // The key columns of the fields and their values in the current row.
    void chiaveMemorizzata(QStringList &colonne, QVariantList &valori) const;
    QVariantList valoriDaTesto(const Campo &c, QString &errore) const;
    bool controllaCampi(Campo *&errato, QString &messaggio) const;
    void coloraCampo(Campo &c, bool errore);
    void aggiornaAbilitazioni();
    QString valoreSqlCampo(const QString &colonna, const QString &testo) const;
    // GestPagineComandi.cpp
    void impostaStato(int stato);
    bool chiediSalvataggio();
    int callbackPri(int op, QVariant &pvRit, QVariantList &pvArray);
    int callbackDop(int op, QVariant &pvRit, QVariantList &pvArray);
    void vaiAlCampo(const QString &nome);
    int chiedi(const QString &testo, const QStringList &pulsanti, int predefinito);
    void ricordaErrore(int numero, const QString &descrizione);
    // A failed write: its own transaction (`propria`) rolled back, the error kept.
    void annullaERicorda(bool propria, const VbErrore &e);
    // GestPagineMessaggi.cpp
    QString nomeRecord() const; // "NomeRecord", "Il record" by default
    // The record shown, for the user: its name, code and the text of the
    // "CampoNome" field as read ("Il cliente 0019 (Rossi Srl)").
    QString descrizioneRecord() const;
    // A save refused for its code (3022), and how to get another one.
    QString testoCodiceUsato() const;

    std::unique_ptr<Interni> d;
    int m_stato = StatoNuovo;
    int m_abilRW = 1;
    bool m_modificato = false;
    bool m_transazione = true;
    int m_bloccoModifiche = 0;
    QString m_handle;
};
