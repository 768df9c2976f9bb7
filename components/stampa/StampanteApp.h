// The program's current printer (the printer object of the application):
// the printer the program set, else the default printer of the program's
// profile (ProfiloStampanti), else the system's default printer. Process-wide
// state; it outlives the print windows.
#pragma once

#include "components/stampa/Stampante.h"

namespace StampanteApp
{

Stampante Corrente();
// Makes an installed printer the current one.
void Imposta(const Stampante &stampante);
// The current printer follows the default printer again.
void SeguiPredefinita();
bool Impostata();

// The default printer: the installed printer the profile's device line
// names, else the system's default; invalid when there is none.
Stampante Predefinita();

} // namespace StampanteApp
