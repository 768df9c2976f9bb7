// Italian and European codes the demo customers carry, computed by their
// published algorithms: fiscal codes, VAT numbers, IBANs.
#pragma once

#include <QDate>
#include <QString>

namespace CodiciDemo
{

// Letters A-Z without accents, upper case; anything else dropped.
QString SoloLettere(const QString &testo);

// The 16-character fiscal code of a natural person.
QString CodiceFiscale(const QString &cognome, const QString &nome, const QDate &nascita, bool femmina,
                      const QString &codiceCatastale);
// The check letter of the first 15 characters of a fiscal code.
QChar CarattereControllo(const QString &primi15);

// An Italian VAT number: 7-digit number and 3-digit office code, plus the check digit.
QString PartitaIva(const QString &primi10);
// German (9 digits) and French (2-digit key and 9-digit SIREN) VAT numbers.
QString PartitaIvaTedesca(const QString &primi8);
QString PartitaIvaFrancese(const QString &siren);

// Italian IBAN from ABI, CAB and account number (up to 12 characters, zero-padded).
QString IbanItaliano(const QString &abi, const QString &cab, const QString &conto);
// ISO 13616 check digits of a country and BBAN.
QString CifreControlloIban(const QString &paese, const QString &bban);

} // namespace CodiciDemo
