// Amount and percentage helpers shared by the windows and the footer engine:
// discount chains, comparisons, VAT on a base, VAT taken out of a total,
// discounts taken off an amount. All arithmetic is exact decimal arithmetic;
// nothing passes through binary fractions before it is rounded.
#pragma once

#include "components/util/Currency.h"

#include <QString>
#include <QVariant>

// The single percentage equivalent to a chain of discounts such as "10+5"
// (14.5): blanks are ignored, "+" and "-" both separate the percentages, and
// each one turns the running value r into 100 - (100 - r) x (100 - d) / 100,
// starting from pdInizio. An empty text answers pdInizio; a text with any
// other character, two signs in a row or a malformed number sets *pvErrore to
// -1 (VB True) and answers pdInizio. The result is rounded half away from zero
// to piNumDec decimals unless piNumDec is -999.
double ValutaNumero(const QString &psTesto, int *pvErrore = nullptr, double pdInizio = 0,
                    int piNumDec = -999);

// -1, 0 or 1 as the first amount is smaller, equal or larger once both are
// rounded half away from zero; piDecimali -8 (or 8) compares at eight decimal
// places. With a Null second value: 0 when the first is empty, else 1.
// Non-numeric text is a type mismatch (VB error 13); decimals of INT_MIN,
// whose sign cannot be dropped, are an overflow (VB error 6).
int ConfrontaImporti(const QVariant &pvPrimo, const QVariant &pvSecondo, int piDecimali = -8);
int ConfrontaImporti(Currency puPrimo, Currency puSecondo, int piDecimali = -8);

// amount x rate / 100 rounded to piNumDec decimals: half away from zero, or,
// when the company rounds VAT the Lira way (ArrotIvaEuro "S") or fewer than
// two decimals are asked, up for amounts of 0 or more and down for negative ones.
Currency CalcPercentuale(Currency puImporto, Currency puAliquota, int piNumDec);
double CalcPercentuale(double pdImporto, double pdAliquota, int piNumDec);

// The amount due at a percentage, unrounded. A percentage of 100 or more packs
// two figures: its integer part / 100 is the rate and its fraction x 100 (to
// four decimals; 100 when nil) the share of the amount on which the rate
// applies. Then puImporto is replaced by that share of itself, rounded to
// piNumDec decimals, and the result is the rate on the replaced amount.
double CalcPercentualeImporto(Currency &puImporto, double pdPercentuale, int piNumDec);

// The taxable base contained in an amount that includes VAT at the rate, at
// piNumDec decimals, never so large that base plus its VAT exceeds the amount.
Currency CalcImportoPercentuali(Currency puImporto, Currency puAliquota, int piNumDec);

// amount - amount x percent / 100, rounded half away from zero to piNumDec
// decimals when pbArrotonda, else kept at the four decimals of Currency.
Currency ScorporaPercentuale(Currency puImporto, Currency puPercentuale, int piNumDec,
                             bool pbArrotonda = true);

// (unit price - unit price x percent / 100), rounded to piNumDec decimals when
// pbArrotonda and to eight otherwise, multiplied by the factor (the quantity).
double ScorporaPercentualeFat(Currency puImporto, double pdFattore, double pdPercentuale, bool pbArrotonda,
                              int piNumDec);

// Key of a cost-centre and competence entry: "C" & cost centre & "D" & competence.
QString ComponiChiave(const QString &psCentroDiCosto, const QString &psCompetenza);

// -1 for VB True (-1), 0 for anything else.
int InteroVero(int piValore);
