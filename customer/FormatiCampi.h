// Texts the customer form composes from its fields: the IBAN in groups, the
// address block of an address code, the web-map address, the next free
// account code. Plain functions, tested without a window.
#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

// The IBAN in groups of four characters separated by one blank; the whole
// code is grouped (foreign IBANs run up to 34 characters), blanks typed in it
// are dropped first. A shorter code still shows seven groups, the missing ones
// empty with their blanks ("IT60 X054 2811    ").
QString IbanAGruppi(const QString &iban);

// Name, second name; street; postcode, town, " (" province ")-" country, on
// three lines separated by CR LF. Empty parts stay empty in place.
QString BloccoIndirizzo(const QString &ragSoc, const QString &ragSoc2, const QString &indirizzo,
                        const QString &cap, const QString &localita, const QString &pr, const QString &stato);

// The web-map search of an address: street, postcode, town, the province
// unless "EE" and the country description unless Italy, each left out when
// blank, joined by "," with blanks written "+" and every other character that
// means something in an address percent-encoded. An empty QUrl when no part
// is given.
QUrl IndirizzoMappa(const QString &indirizzo, const QString &cap, const QString &localita, const QString &pr,
                    const QString &paese);

// A number as the form shows it in a label: decimal comma, no trailing zeros;
// "" for an empty value.
QString TestoNumero(const QVariant &valore);

// The next free 4-character account code for the prefix typed: the prefix
// followed by the number after the highest one in use (`ultimo` answers the
// part after the prefix of the highest numeric code that begins with a
// prefix, "" when none), with leading zeros. When a prefix's numbers run out
// the next prefix is tried: "A" after no prefix, else its last letter
// advanced (upper-cased) up to "Z". "" when the prefix already fills 4
// characters or every prefix up to "Z" is used up.
QString NuovoCodiceConto(const QString &prefisso, const std::function<QString(const QString &)> &ultimo);
