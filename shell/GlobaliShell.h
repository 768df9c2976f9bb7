// Long-lived objects of the shell, created at start-up and released at shutdown,
// and the values the start-up takes from the command line.
#pragma once

#include <QString>

class frmPrincipale;
class scMenuComandiClie;
class scAziUtilPrg;

namespace Globali
{

inline frmPrincipale *FrmP = nullptr;            // the hidden main window
inline scMenuComandiClie *MenuComandi = nullptr; // the menu-host link
inline scAziUtilPrg *AziUtilPrg = nullptr;       // receiver of the lookup library's events

inline int NumeroProgramma = 0; // 32: this program in the suite
inline QString SwitchM, SwitchP, SwitchF, SwitchH, SwitchI;
inline QString ParametroAvvio; // first word of "P"
inline QString FormIniziale;   // second word of "P": the window to open first

} // namespace Globali
