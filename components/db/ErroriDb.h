// Failures of the engines as VbErrore with the DAO numbers the program knows
// (3022 duplicate key, 3146 ODBC call failed...), never with a password inside.
#pragma once

#include "components/util/VbErrore.h"

#include <QString>

class QSqlError;

namespace ErroriDb {

// Numbers used beside those VbErrore names.
constexpr int Generico = 3000;
constexpr int ArgomentoNonValido = 3001;
constexpr int AggiornaSenzaModifica = 3020;
constexpr int FileNonTrovato = 3024;
constexpr int SolaLettura = 3027;
constexpr int TransazioneAssente = 3034;
constexpr int TabellaNonTrovata = 3078;
constexpr int ErroreSintassi = 3075;
constexpr int ConnessioneOdbcFallita = 3151;
constexpr int RecordBloccato = 3218;
constexpr int ElementoNonTrovato = 3265;
constexpr int CampoNonNullo = 3314;
constexpr int RecordCorrelato = 3201;
constexpr int RecordModificato = 3197;
constexpr int ConversioneDati = 3421;

// Replaces the value of every "pwd=" / "password=" with asterisks.
QString NascondiPassword(const QString &testo);

VbErrore DaSqlite(int codiceEsteso, const QString &messaggio);
VbErrore DaQt(const QSqlError &e, bool odbc);

} // namespace ErroriDb
