// The search fields of a list window, as registered with ListaPagine, turned
// into the condition of the list's SELECT. Every value typed reaches the SQL
// as a literal (UtilGlob::ValoreSql), LIKE patterns with their wildcards
// escaped, so that a name like "D'Amico" or a text like "50%" finds exactly
// what it says.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

struct CampoRicerca {
    // The column, or a composite key written "|<sep>|ColA|ColB|ColC" whose
    // parts the field's text gives separated by <sep> ("|-|Gruppo|Mastro|Conto").
    QString specifica;
    // "=", ">=", "<=", ">", "<", "<>" or "like*" (begins with the text).
    QString operatore;
    // "Conto" for an account key, 8 (or 7) for a date; empty for text.
    QVariant tipo;
    // "A" on an upper bound: the parts of a composite key left out take
    // every value (so "01-05" up to the last account of that ledger).
    QVariant extra;

    QStringList Colonne() const;
    QString Separatore() const;
    bool Data() const;
    bool Conto() const;
};

// The condition for the text of one field: "" when the field is empty.
// Answers false (and an Italian reason in `errore`) when the text cannot be
// used: a date that is not one. `inizioComeIntervallo`: the engine orders
// texts by the code points of their lower-case form (RigheLista::
// InizioComeIntervallo), so "like*" on one column is written as the range of
// the texts that begin with the one typed, which its index seeks in order.
bool CondizioneCampo(const CampoRicerca &campo, const QString &testo, QString &condizione,
                     QString *errore = nullptr, bool inizioComeIntervallo = false);

// `colonna` begins with `inizio`, as a range of texts compared without regard
// to case: from the text in lower case up to the same with its last character
// raised by one. Exact where texts are ordered by the code points of their
// lower-case form; "" for a text with characters beyond printable ASCII,
// whose lower case the program and the engine might not agree on.
QString IntervalloInizio(const QString &colonna, const QString &inizio);
