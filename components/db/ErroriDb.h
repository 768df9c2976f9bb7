// Failures of the engines as VbErrore with the DAO numbers the program knows
// (3022 duplicate key, 3146 ODBC call failed...), never with a password inside.
// Every description is Italian and says what to do; the engine's own text
// follows as "Dettaglio" for whoever has to look further.
#pragma once

#include "components/util/VbErrore.h"

#include <QString>

class QSqlError;

namespace ErroriDb
{

// Numbers used beside those VbErrore names.
constexpr int Generico = 3000;
constexpr int ArgomentoNonValido = 3001;
constexpr int AggiornaSenzaModifica = 3020;
constexpr int FileNonTrovato = 3024;
constexpr int SolaLettura = 3027;
constexpr int TransazioneAssente = 3034;
constexpr int TabellaNonTrovata = 3078;
constexpr int ErroreSintassi = 3075;
// Opening a server connection failed, or a connection in use was lost.
constexpr int ConnessioneOdbcFallita = 3151;
constexpr int TestoTroppoLungo = 3163;
constexpr int RecordBloccato = 3218;
constexpr int BloccatoDaAltroUtente = 3260;
constexpr int ElementoNonTrovato = 3265;
constexpr int CampoNonNullo = 3314;
constexpr int RecordCorrelato = 3201;
constexpr int RecordModificato = 3197;
constexpr int ConversioneDati = 3421;

// "\nDettaglio: errore N, <description>": the number of a failure said once,
// after what the user is told (the message box keeps it behind its details
// button); a description beginning with "N - " loses that beginning.
QString DettaglioErrore(int numero, const QString &descrizione);

// Replaces the value of every "pwd=" / "password=" with asterisks.
QString NascondiPassword(const QString &testo);

VbErrore DaSqlite(int codiceEsteso, const QString &messaggio);
// A failure of a server statement; `statoSql` is the ODBC SQLSTATE when known.
VbErrore DaQt(const QSqlError &e, bool odbc, const QString &statoSql = QString());

// True when the failure says the server connection is gone: SQLSTATE class
// 08, the server shutting down (57P01..57P03), or the driver's own words.
bool IndicaConnessionePersa(const QSqlError &e, const QString &statoSql);
// True for the driver manager's "function sequence error" (HY010, S1010),
// which a dead connection gives for prepared statements.
bool ErroreDiSequenza(const QSqlError &e, const QString &statoSql);

// The connection was lost while a statement ran (or before it).
VbErrore ConnessionePersa(const QString &dettaglio);
// The connection was lost while the changes were being confirmed: whether
// the server kept them cannot be known.
VbErrore ConfermaIncerta(const QString &dettaglio);
// A lost connection could not be opened again.
VbErrore RicollegamentoFallito(const QString &dettaglio);
// A row written back optimistically was changed by another user since it
// was read (3197, "Dati modificati da un altro utente nello stesso momento.").
VbErrore RigaModificata();
// The company database accepts no changes (file or server read-only).
VbErrore DatabaseSolaLettura(const QString &dettaglio);

} // namespace ErroriDb
