// The engine of VB's Format with Italian conventions: number, date and text
// patterns. UtilGlob::Formatta is its public face.
#pragma once

#include "components/util/Decimale.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace FormatoVb
{

// The pattern split at the ';' that are not quoted or escaped.
QStringList Sezioni(const QString &formato);
// True when the pattern holds a digit placeholder ('0', '#', '^').
bool HaCifre(const QString &formato);
// True when the pattern holds date or time tokens and no digit placeholder.
bool EData(const QString &formato);
// True when the pattern holds a text placeholder ('@', '&', '<', '>', '!').
bool ETesto(const QString &formato);

// A number by a pattern of up to four sections (the fourth is for Null, see
// Nullo). '^' is a decimal digit always shown; in a pattern using it a zero
// integer part shows "0".
QString Numero(const Decimale &valore, const QString &formato);
// The Null section of a pattern, or "".
QString Nullo(const QString &formato);
// Date and time tokens: d dd ddd dddd ddddd dddddd w ww m mm mmm mmmm q y yy
// yyyy h hh n nn s ss ttttt c AM/PM am/pm A/P a/p, with Italian names.
QString Data(const QDateTime &valore, const QString &formato);
QString Testo(const QString &valore, const QString &formato);
// Number without pattern: 15 significant digits, ',' as decimal separator.
QString NumeroGenerale(const Decimale &valore);
// A whole number with its thousands grouped, as messages write a count:
// "1.500", "-7.904".
QString Intero(qint64 numero);

QString NomeMese(int mese, bool abbreviato);
QString NomeGiorno(int giornoSettimana, bool abbreviato); // 1 = lunedì ... 7 = domenica

} // namespace FormatoVb
