// Helpers over the columns and cells of a print: which columns a print type
// takes, the width of a column, and a number written without its display
// format (no grouping, the decimals the list shows).
#pragma once

#include "components/stampa/SorgenteRighe.h"

#include <QList>
#include <QString>

namespace colonne_stampa
{

// Indexes of the columns a print takes: "T" every column, "V" (or no choice)
// the columns the list shows. A list with no visible column prints them all.
QList<int> Scelte(const QList<ColonnaStampa> &colonne, const QString &tipoStampa);
// The chosen columns themselves, in print order.
QList<ColonnaStampa> Estrai(const QList<ColonnaStampa> &colonne, const QList<int> &indici);

// Width of a column in twips: the list's own, else one fitting its caption.
int LarghezzaTwip(const ColonnaStampa &colonna);

// The number behind a cell, when there is one.
bool Numero(const QVariant &valore, double &numero);
bool EValoreNumerico(const QVariant &valore);
// The number of a cell without grouping, with `decimale` as its decimal mark
// and at least the decimals the list shows ("1.234,50" -> "1234,50"); the
// text as shown when the value is no number.
QString NumeroSemplice(const CellaStampa &cella, QChar decimale = QLatin1Char(','));
// The same, appended to `destinazione` (no text of its own for amounts).
void AccodaNumeroSemplice(QString &destinazione, const CellaStampa &cella, QChar decimale = QLatin1Char(','));
// Decimals shown in a formatted Italian number ("1.234,50" -> 2, "12" -> 0).
int DecimaliMostrati(const QString &testo);

} // namespace colonne_stampa
