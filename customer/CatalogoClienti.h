// The customer record as the customer form knows it: every PianoConti column
// the form shows, with its text box, caption, new-record default, key flag,
// numeric size, option, display format and search operator, in the order the
// form registers them with its page manager. Pure data and the choice of the
// conditional entries; no widgets.
#pragma once

#include "components/pagine/GestPagine.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <vector>

namespace CatalogoClienti
{

// Areas that are not tab pages.
constexpr int PaginaTestata = -2, PaginaDettaglio = -1;

// Where a new-record default comes from.
enum class Origine {
    Nessuna,
    Costante,       // the text in `costante`
    HostGruppo,     // host "CauCon.GruppoClienti"
    HostMastro,     // host "CauCon.MastroClienti"
    DataLavoro,     // the working date, "dd/mm/yyyy"
    StatoPredef,    // personal setting CodStatoDef
    HostMoneta,     // host "Ditta.Moneta"
    HostRitAcconto, // host "Ditta.PercRitAccCli" through "#,###.^^"
};

// Entries registered only under a condition.
enum class Condizione {
    Sempre,
    ColonnaCognome,     // the column Cognome exists
    DescrizionePers,    // its personal description is not empty
    LivelliXml,         // the column FENoStampaLivelli exists and "Mag.GesTaglie" is "S"
    ColonnaOpposizione, // the column flagOpposizione exists
};

struct Voce {
    int numero;             // 1..137
    const char *campo;      // column, or the composite "|-|A|B|C"
    int indice;             // txt index
    int pagina;             // tab page 0..10, PaginaTestata or PaginaDettaglio
    const char *didascalia; // nullptr: none passed
    Origine origine;
    const char *costante;  // with Origine::Costante
    int chiave;            // 0 none, 1 key, 2 key with the fixed-value flag
    double dimensione;     // 0: none
    bool dimensioneIntera; // the size is passed as an Integer
    bool opzione;
    const char *formato; // nullptr: none
    bool like;           // search operator "like*" (else "=")
    Condizione condizione;
    const char *chiavePers; // DescrizionePers: the personal key of the caption
    int etichettaEmail;     // 1081..1083: caption "EMail " + that label's text
};

// All 137 entries, in registration order.
const std::vector<Voce> &Voci();
// The entry of a txt index, nullptr when none.
const Voce *VoceIndice(int indice);
const Voce *VoceCampo(const QString &campo);

// What decides the conditional entries.
struct Condizioni {
    bool colonnaCognome = true;
    bool colonnaLivelliXml = true;
    bool gesTaglie = false; // host "Mag.GesTaglie" is "S"
    bool colonnaOpposizione = true;
    // Personal descriptions DescDataPers1..3, DescDescPers1..3.
    std::array<QString, 6> descrizioniPers;
};
// Personal keys of the six personal fields, in catalogue order.
const std::array<const char *, 6> &ChiaviDescrizioniPers();

// The entries to register under these conditions, in registration order.
QList<const Voce *> VociDaRegistrare(const Condizioni &condizioni);

// The registration options of an entry, with its resolved default and caption.
OpzioniCampo Opzioni(const Voce &voce, const QVariant &predefinito, const QVariant &didascalia);

} // namespace CatalogoClienti
