// The program's own printer profile, read by this program only: the default
// printer line ("device": name, driver and port separated by commas), the
// printers with their driver and port ("PrinterPorts": driver, port and two
// timeouts, "driver,port,15,45") and the session printer-name template. What
// the file does not say comes from the printer catalogue: the device line of
// the system's default printer, the entry of every installed printer. Choosing a default printer here never
// changes the system's or the user's default printer.
//
// The file is CLIENTI_PROFILO_STAMPANTI, else stampanti.ini in the program's
// configuration folder; sections [windows] (key device), [PrinterPorts]
// (name=driver,port) and [Sessioni] (ModelloStampante, "%§" standing for the
// session number).
#pragma once

#include <QString>
#include <QStringList>

namespace ProfiloStampanti
{

QString Percorso();
// Another file (tests); empty goes back to the usual one.
void ImpostaPercorso(const QString &percorso);

// The device line: the file's, else "name,driver,port" of the catalogue's
// default printer, else ",,,".
QString LeggiDevice();
// Writes the file's device line; false when the file cannot be written.
bool ScriviDevice(const QString &valore);
// Forgets the file's line, so that the system's default printer is the
// program's again.
bool DimenticaDevice();

// Printer names of [PrinterPorts]: the installed printers, then the file's
// own entries (each name once, without regard to case).
QStringList NomiPorte();
// The [PrinterPorts] entry of a printer: the file's, else the installed
// printer's ("driver,port,15,45"); "" for a printer unknown to both.
QString LeggiPorte(const QString &nome);

// The session printer-name template ("" switches the session rules off).
QString ModelloStampanteSessione();

// "driver,port" of an installed printer: commas inside the driver or the
// port are replaced, so that the line splits back right.
QString TestoDriverPorta(const QString &driver, const QString &porta);

} // namespace ProfiloStampanti
