// Fiscal checks: VAT numbers of the EU member states, the Italian fiscal code
// (check and computation).
#pragma once

#include <QDate>
#include <QString>

// Checks a VAT number for a country given by its code (`stato`), its ISO code
// (`iso`, preferred when given). An EU member state's number (and Northern
// Ireland's, "XI") follows that country's published rule in full: structure,
// check digits, and the birth date where the number is a person's code. The
// number may carry the country prefix ("IT", "DE", "EL"...) and blanks, dots,
// slashes or dashes. Outside the EU only the two lengths of the countries
// table count (0 = any), with or without the country prefix. An empty country
// means Italy. Answers 1 when the number is wrong, 0 when accepted; an empty
// number is accepted.
int VerificaPartitaIvaUE(const QString &code, const QString &stato, const QString &iso, int lungPartIva,
                         int lungPartIva2);

// A code that is not 11 characters long, or any code when pbFlag is non-zero,
// is checked as a 16-character personal fiscal code (homonym variants
// included); an 11-character code with pbFlag 0 as an Italian VAT number.
// Answers 1 when wrong, 0 when accepted; an empty code is accepted.
int VerificaPartitaIva(const QString &code, int pbFlag);

// Birth years a fiscal code is made for.
constexpr int AnnoMinimoCf = 1800;
constexpr int AnnoMassimoCf = 2099;

// The Italian fiscal code of a person. Sex "F" (any case) adds 40 to the day.
// Answers "" when the date is not valid or outside the years above, or the
// cadastral code is not a letter and three digits; otherwise 16 characters.
QString CodiceFiscale(const QString &cognome, const QString &nome, const QDate &nascita, const QString &sesso,
                      const QString &codCatastale);

// The check character of the first 15 characters of a fiscal code ('\0' when
// they hold something other than letters and digits).
QChar CarattereControlloCf(const QString &primi15);
