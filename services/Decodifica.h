// Decoding of codes into descriptions by lookup kind ("Banca", "Conto",
// "Stato"...), the lookup window opened from a code field, and the table of
// kinds behind both. Widget-free callers use DecodificaCodice; windows use
// FiltroDecodifica and ApriHelpRicerca on their code and description controls.
#pragma once

#include "components/aiuto/DefRicerca.h"

#include <QString>
#include <QStringList>
#include <QVariant>

class AiutoDecod;
class QWidget;

// What a code that does not exist shows.
inline const QString TestoInesistente = QStringLiteral("** INESISTENTE **");

// The lookup library object (Globali::AziAiuto), created on first use on the
// program's context object.
AiutoDecod &Aiuto();

// ---- Kinds ----

// Whether `tipo` is a known kind (without regard to case).
bool EsisteTipoDecodifica(const QString &tipo);
QStringList TipiDecodifica();
// The definition of a kind narrowed by its context value, which is, by kind:
// "Mastro" the group; "PdcClasseAttr" the class number; "IndSped" the account
// key (G, M, C one after the other) or a list whose element 1 is that key;
// "Conto" the account types allowed ("3" customers, "34" customers and
// suppliers, "x1" every type but 1). A text box stands for its text. An
// unknown kind is VB error 5.
DefRicerca DefinizioneTipo(const QString &tipo, const QVariant &contesto = {});

// ---- Decoding ----

// The description of `codice` of the kind: "** INESISTENTE **" when the code
// does not exist, "" for an empty code. `filtro` narrows further (Jet text).
// Failures of the query propagate as VbErrore.
QString DecodificaCodice(const QString &tipo, const QString &codice, const QVariant &contesto = {},
                         const QString &filtro = {}, bool *trovato = nullptr);

// Decodes the text of `codice` and writes the description into `descrizione`
// ("** INESISTENTE **" when absent); answers True when found.
//   pvExtra: the kind's context value (see DefinizioneTipo); for "Agente" a
//     text naming a column ("Provv"), which receives that column's value.
//   pbViaAiuto, pbViaAiuto2: decode through the lookup library, which leaves
//     the row found readable on NuovaRicerca (RetVal); an empty code always goes
//     that way, and always clears the description.
//   pbSenzaInesistente: a code not found empties a description label and leaves
//     a description text box as the user typed it, instead of writing
//     "** INESISTENTE **" into it.
//   psDescrizione: replaces the kind's description expression; a text after
//     "§" is ignored here (it is the window's caption separator).
//   pvColonne: column names in, their values out (empty texts when not found).
//   psFiltro: a further condition (Jet text). For "Articolo" the personal
//     setting NoDecInattivi "S" adds " (ucase(Inattivo)<>'S') ".
//   pbApriSeManca: a code not found opens the lookup window (F2) when the
//     setting DecodHelpAbil is not "N".
QVariant FiltroDecodifica(const QString &tipo, QWidget *codice, QWidget *descrizione,
                          QVariant *pvExtra = nullptr, bool pbViaAiuto = false,
                          bool pbSenzaInesistente = false, const QString &psDescrizione = {},
                          QVariantList *pvColonne = nullptr, const QString &psFiltro = {},
                          bool pbViaAiuto2 = false, bool pbApriSeManca = false);
// The same without the account case: "Conto" is decoded as any other kind
// would be, on the code as typed.
QVariant FiltroDecodifica2(const QString &tipo, QWidget *codice, QWidget *descrizione,
                           QVariant *pvExtra = nullptr, bool pbViaAiuto = false,
                           bool pbSenzaInesistente = false, const QString &psDescrizione = {},
                           QVariantList *pvColonne = nullptr, const QString &psFiltro = {},
                           bool pbViaAiuto2 = false, bool pbApriSeManca = false);

// ---- Lookup window ----

// Opens the lookup of the kind for the code box (see AiutoDecod.h for the key
// codes); acts only for a negative key code or F2 to F12. On a choice the code
// goes into `codice`, the description into `descrizione` (when given) and
// `pbScelto` becomes True; otherwise nothing changes. `pvContesto` is the
// kind's context value; `psCampi` the field list of the window; `pbOpzione`
// offers the "Nuovo" button; `psCondizione` a further condition. The answer
// (also put in pvRit) is whether a row was chosen.
QVariant ApriHelpRicerca(QVariant &pvRit, const QString &tipo, QWidget *codice, QWidget *descrizione,
                         int &KeyCode, const QVariant &pvContesto, bool &pbScelto,
                         const QString &psCampi = {}, bool pbOpzione = false,
                         const QString &psCondizione = {});
// The same, arguments in the print windows' order: the selection flag becomes
// -1 on a choice; piNumero non-zero offers the "Nuovo" button; psTesto is the
// further condition.
QVariant ApriHelpRicerca(const QString &tipo, QWidget *codice, QWidget *descrizione, int &KeyCode,
                         const QVariant &pvExtra, int &piScelto, const QString &psCampi, int &piNumero,
                         const QString &psTesto);
