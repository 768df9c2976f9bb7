// The codes behind the customer form's check boxes, option groups and combos:
// which stored code shows which state, option or item, and back. Pure data
// and lookups, shared by the mirroring after a read and the user's clicks.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace TabelleSpecchio
{

// Check-box states, as the controls keep them.
constexpr int Spunta = 1, Vuota = 0, Grigia = 2;

struct Casella {
    int indice; // txt / Che index
    const char *campo;
    const char *didascalia;
    bool maiGrigia; // BlackList: anything but "S" clears it
};
// In mirroring order (CassaPrev last).
const std::vector<Casella> &Caselle();
const Casella *CasellaIndice(int indice);

// The state a stored code shows (codes compare without regard to case, never trimmed).
int StatoDaCodice(const Casella &c, const QString &codice);
// The code a state stores: "S", "N", "" for greyed.
QString CodiceDaStato(int stato);

enum class Gruppo { StatoGiuridico, Sesso, AllegaPdf };
struct GruppoOpzioni {
    Gruppo gruppo;
    int indice; // the hidden code field
    const char *didascalia;
    QStringList opzioni; // captions, option 0 first
    QStringList codici;  // one per option
    int predefinita;     // option shown for a code outside the table (-1: none)
};
const GruppoOpzioni &Opzioni(Gruppo g);
// Option selected by a code (-1: none).
int OpzioneDaCodice(Gruppo g, const QString &codice);
QString CodiceDaOpzione(Gruppo g, int opzione);

// How a combo maps codes and items.
enum class ModoCombo {
    PerCodice, // each item stands for a code; an empty or unknown code: no item
    Livelli,   // FENoStampaLivelli: empty and unknown codes show item 0
    Numero,    // e-mail choices: the item whose position is the code's number
};
struct ComboCodici {
    int indice;
    const char *campo;
    ModoCombo modo;
    QStringList voci;   // item captions (empty for the e-mail choices: set by the form)
    QStringList codici; // code of each item
};
// In mirroring order: the eleven coded combos, then the five e-mail choices.
const std::vector<ComboCodici> &Combo();
const ComboCodici *ComboIndice(int indice);

// The item a code selects (-1: none). A code outside the table selects none
// too, so that a combo never goes on showing the item of the record before.
int PosizioneDaCodice(const ComboCodici &c, const QString &codice);
// The code stored for an item position (-1: no item).
QString CodiceDaPosizione(const ComboCodici &c, int posizione);

// Indexes of the e-mail choices.
constexpr int PrimaEmail = 1085, UltimaEmail = 1089;
inline bool ComboEmail(int indice)
{
    return indice >= PrimaEmail && indice <= UltimaEmail;
}

} // namespace TabelleSpecchio
