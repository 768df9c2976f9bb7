// Inner state of the record-form engine, shared by its source files.
#pragma once

#include "components/pagine/GestPagine.h"

#include "components/db/RecDat.h"

#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QToolBar>
#include <set>

// Why a save or delete found no row: another desk deleted the record.
inline const QString kNonEsistePiu =
    QStringLiteral("Il record non esiste più: è stato cancellato da un altro utente");

struct GestPagine::Campo {
    QString nome;        // as registered (a composite keeps its "|" text)
    QStringList colonne; // the table's columns behind the box
    QString unione;      // join text of a composite field
    QPointer<QLineEdit> controllo;
    OpzioniCampo opzioni;
    bool chiave = false;      // a navigable key part
    bool chiaveFissa = false; // a key part with a fixed value (filters)
    bool errore = false;      // painted with the error colour by the engine
    int cifre = 0, decimali = 0;
    bool numerico = false, negativi = false;
    QString testoLetto;      // text the box got from the last read or clear
    QString testoMostrato;   // text once a read, clear or copy was complete, callbacks included
    QString formato;         // opzioni.formato as text, taken once at registration
    std::vector<int> indici; // each column's place in the read's column list
    // Whether the first column is numeric, for the column kinds of generation `generazioneTipo`.
    mutable int generazioneTipo = -1;
    mutable bool colonnaNumerica = false;

    QString descrizione() const
    {
        const QString d = opzioni.descrizione.toString();
        return d.isEmpty() ? colonne.join(QLatin1Char('-')) : d;
    }
};

struct GestPagine::Interni {
    QString tabella;
    int modoAvvio = 0;
    int dopoSalvataggio = 0;
    std::set<int> callback;
    std::vector<std::unique_ptr<Campo>> campi;
    QHash<QString, Campo *> perNome; // by lower-case registered name
    QHash<const QWidget *, Campo *> perControllo;

    ContestoPrg *contesto = nullptr;
    QPointer<QLineEdit> controlloChiave;
    QPointer<QWidget> primoControllo;
    QPointer<QWidget> testata, dettaglio;
    QList<QPointer<QWidget>> noRicerca;
    long foreNormale = 0x80000008L, foreDisabil = 0x80000011L;
    long backErrore = 0xFFL, backNormale = 0x80000005L;
    QHash<QString, QVariant> parametri; // by lower-case key

    ChiamantePagine *form = nullptr;
    DbMotore *db = nullptr;
    QString connessione;
    FormListaPagine *lista = nullptr;
    FunzioneMessaggio messaggi;

    QPointer<QToolBar> barra;
    QString tipoToolbar;

    QHash<QString, Risultato::Tipo> tipi; // kinds of the table's columns, by lower-case name
    int generazioneTipi = 0;              // moves each time `tipi` is filled again
    // The reads' column list, built for the first `campiInElenco` fields.
    QString elenco;
    size_t campiInElenco = 0;
    QString aggiunte;           // expressions read with each record (ColonneAggiunte)
    QString aggiunteLette;      // those the record shown was read with
    RecDat rec;                 // the record as last read
    int giro = 0;               // alternates the record-set handles
    QStringList chiaveLetta;    // its navigable key
    QStringList chiaveNonLetta; // a stored key the user chose not to read over their data
    QStringList chiaveLibera;   // the key the key check last found free of records
    long ultimoRisultato = 0;
    QString ultimoErrore;
    bool erroreSegnalato = true;
    bool inOperazione = false;        // guards against re-entry from callbacks
    bool controlloOttimistico = true; // a save checks the columns it writes against the read
    int sceltaConflitto = 0;          // after a 3197: 1 read the stored row, 2 keep editing over it
    int operazione = 12;              // OpCancella while a failed delete is reported, else OpSalva
    // The fields' texts as read when the last save began (empty for a new
    // record): the fields that save wrote are those it sent otherwise.
    QStringList lettiSalvataggio;
};
