// What the parts of the Jet translator share: the pieces a translated
// sequence is made of, function arguments, and the refusal of what cannot be
// translated to the same answer on both engines.
#pragma once

#include "components/db/JetSql.h"

#include <QString>
#include <vector>

namespace JetSql::Interno
{

// Binary operators of Jet expressions, by the level they bind at.
enum class Op { Nessuno, Potenza, Per, Diviso, DivisioneIntera, Mod, Piu, Meno, Concat };

// A piece of a translated sequence (a statement, a parenthesised group or a
// function argument).
struct Unita {
    enum Tipo { Spazio, Confine, Operando, Operatore, Like, Not } tipo;
    QString testo;      // what the engine gets; for an operand, its form as a value
    QString condizione; // an operand that is a Jet Boolean: its form as a condition, when it differs
    QString letterale;  // a string literal operand: the text it holds
    bool eLetterale = false;
    bool eNumero = false; // a number literal operand
    Op op = Op::Nessuno;  // for Operatore
    bool logico = false;  // a Confine AND/OR/XOR joining conditions (not the AND of BETWEEN)
    Unita(Tipo t, QString s) : tipo(t), testo(std::move(s)) {}
};

// A function argument as translated; when it is a single literal, its value.
struct Argomento {
    QString testo;
    bool stringa = false; // a string literal holding `valore`
    bool numero = false;  // a number literal (with its sign) reading `valore`
    QString valore;
};

// Writes the units [a, b) of one segment (a run without Confine units) with
// Jet's operators translated; `condizione` when the segment stands where a
// condition is expected (after WHERE, AND...), so a Jet Boolean operand keeps
// its condition form.
void RendiSegmento(const std::vector<Unita> &u, size_t a, size_t b, bool condizione, Dialetto d,
                   QString &out);

// True when `nome` (lower case, without a trailing '$') is a Jet function this
// program does not translate: the text is refused rather than run differently.
bool FunzioneNonTradotta(const QString &nome);
// A Jet function known to the translator: its translation; `condizione` is set
// to its form as a condition when it is a Jet Boolean. Refuses a wrong number
// of arguments or a literal argument the function would reject.
QString Funzione(const QString &nome, const std::vector<Argomento> &a, Dialetto d, QString &condizione);
// True for the names Funzione translates (lower case, without '$').
bool FunzioneTradotta(const QString &nome);

// A #date# literal for the engine; refuses a date that does not exist.
QString DataLetterale(const QString &jet, Dialetto d);
QString LetteraleSql(const QString &s);

// Throws the error of a text that cannot be translated.
[[noreturn]] void Rifiuta(int numero, const QString &descrizione);

} // namespace JetSql::Interno
