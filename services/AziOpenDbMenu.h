// The suite's common menu database: where it is, opening it, and its scratch
// table Appoggio (five description/memo pairs per code).
#pragma once

#include <QString>
#include <QVariant>

// Name of the menu database's connection inside DbComp().
inline const QString NomeConnessioneMenu = QStringLiteral("Menu");

// Reads [Menu] NomeDB (relative paths from the INI's folder) and PwdDB of the
// program INI into NomeDbMenu and PwdConnectMenu (";pwd=..." or ""); answers NomeDbMenu.
QString LeggiNomeDbMenu();

// Opens the common menu database and sets DbMenu (once). On an ODBC company
// connection the menu tables live in the same database: DbMenu is DbAzienda.
// Answers True, or the error text beginning with "Err:".
QVariant ApriDbComune();

// Row `codice` of Appoggio, pair `numero` (1 to 5). Read (piScrivi 0): memo and
// descr get Memo<n> and Descr<n>; a missing row empties both, answers False and,
// with piMostraMancante, says "Dati non trovati". Write: stores descr (when
// piConDescr) and memo into the row, adding it when missing. A number out of
// 1..5 empties both and answers False.
bool LeggiScriviAppoggio(const QString &codice, int numero, QString &memo, int piScrivi, int piMostraMancante,
                         QString &descr, int piConDescr);
