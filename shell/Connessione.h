// The connection to the company database named by the program INI.
#pragma once

#include <QString>

// Text of the wait window during the connection.
inline const QString TestoConnessione = QStringLiteral("Connessione primaria al database");

// Host parameters that win over [Connessioni] when the host holds them.
inline const QString ParHostNomeDb = QStringLiteral("DbAzienda.Nome");
inline const QString ParHostConnect = QStringLiteral("DbAzienda.Connect");
inline const QString ParHostLogin = QStringLiteral("DbAzienda.Login");
inline const QString ParHostPassword = QStringLiteral("DbAzienda.Password");

// Lets the user pick the INI when [Parametri Generali] NumIni is above 0, reads
// [Connessioni] (NomeDB, DriveDB, Connect, Owner, Exec_option), shows the wait
// window and opens the company database as DbAzienda in DbComp(): an SQLite
// file (relative to DriveDB, else to the INI's folder) or ODBC with the login
// and password the host hands over. A failed connection may be retried.
// "" when open, else a text beginning with "Err:" that never shows a password;
// ConnessioneAnnullata when the user gave up in the box that said why.
QString ApriDbAzienda();

// What ApriDbAzienda returns when the user gave up the connection after its
// error was shown: the start ends with nothing more to say.
inline const QString ConnessioneAnnullata = QStringLiteral("Err: Connessione annullata");

// Gives the common menu database made before it the change counter of its
// countries: on a server the menu schema of the company's database, else the
// menu file the INI names ([Menu] NomeDB, read before). A menu that cannot
// take it (read-only, locked, missing) stays as it is: the customer form then
// reads the countries' join at every record.
void VersioneMenu();
