// Chart-of-accounts code helpers: splitting and normalising account codes,
// the highest account code in use, code and description captions.
#pragma once

#include <QString>
#include <optional>

// Splits a full account code into group, ledger and account: written G-M-C,
// or the three parts one after the other (split by the account mask's lengths).
void SpezzaConto(const QString &code, QString &gruppo, QString &mastro, QString &conto);

// A numeric entry in the code's two-digit form ("1" -> "01"); any other entry
// trimmed and in upper case. The first is for group codes, the second for
// ledger codes.
QString NormalizzaCodice(const QString &code);
QString NormalizzaCodice2(const QString &code);

// The highest account code of the group and ledger. With pbSoloNumerici the
// whole highest numeric code; otherwise, among the 4-character codes that begin
// with `prefisso` and are numeric after it, the highest one without the prefix.
// "" when there is none or the query fails.
QString UltimoConto(const QString &gruppo, const QString &mastro, bool pbSoloNumerici,
                    const QString &prefisso);
// The SELECT whose answer UltimoConto gives (the highest numeric code is read
// in key order where the texts sort by their characters' codes).
QString SqlUltimoConto(const QString &gruppo, const QString &mastro, bool pbSoloNumerici,
                       const QString &prefisso);

// The text, " - " and the description (the company description DescAzienda
// when none is given).
QString UnisciCodDescr(const QString &testo, const std::optional<QString> &descrizione = std::nullopt);
