// The company parameters and the INI settings every window reads.
#pragma once

#include <QString>
#include <QVariant>

// A VB colour value as written in an INI or by the host ("&H80000005",
// "&HFF&", "255", "-2147483643"); `predefinito` when it is not a colour.
long LeggiColoreVb(const QVariant &valore, long predefinito);

// The Amount display format of a number of decimals: "#,##0" or "#,##0.00".
QString FormatoImporto(int decimali);

// Loads the company parameters from the host and the currencies table
// (description, working date, currencies and the Lira/Euro rate, decimals,
// colours, date format, personal rounding and date limits) and the INI
// settings ([Risoluzione Video], [Base], [Config], [Setup]). Missing values
// keep their defaults. "" when done, else a text beginning with "Err:".
QString LeggiParAzienda();
