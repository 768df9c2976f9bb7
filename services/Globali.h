// Program-wide state shared by every window and module: set once at start-up
// (shell) from the INI files, the menu host and the company parameters, then
// read everywhere. One thread only, so no locking.
#pragma once

#include "components/stampa/StatoStampa.h"

#include <QDate>
#include <QString>
#include <QStringList>

class DbMotore;
class ClienteMenu;
class UtilGlob;
class ContestoPrg;
class AiutoDecod;
class QSqlDatabase;
class QWidget;

namespace Globali
{

// Host link
inline ClienteMenu *MenuClient = nullptr; // the menu host's client object
inline int ChiusuraInCorso = 0;           // True (-1) while "fine" shuts the program down
inline QString KeyPrgPrim, KeyPrgSec;     // keys left by the lookup callback
inline ContestoPrg *PonteMenu = nullptr;

// Databases: every data access passes the pair DbComp / DbAzienda.
DbMotore *DbComp();                                   // created on first use
void ImpostaDbComp(DbMotore *db);                     // takes ownership; nullptr releases it
inline QString DbAzienda = QStringLiteral("Azienda"); // name of the company connection in DbComp
inline QString NomeDbAzienda;  // Jet-file path (here SQLite), "ODBC;..." text, ".dsn" file or DSN name
inline QString NomeDbMenu;     // path of the common menu database
inline QString DbMenu;         // name of the menu-database connection in DbComp; empty until opened
inline QString PwdConnectMenu; // ";pwd=..." or ""
// The Qt connections behind DbAzienda and DbMenu, for components that bind
// to a database; invalid when not open.
QSqlDatabase DbAziendaDao();
QSqlDatabase DbMenuDao();

// Lookup library, created at start-up, and its help window.
inline AiutoDecod *AziAiuto = nullptr;
inline QWidget *FrmAiuto = nullptr;
// The help named by switch "H": the folder of the help pages, a file in it,
// or a help-file name whose folder of the same name holds them (modHTMLHelp).
inline QString NomeFileHelp;

// Utility object, created on first use.
UtilGlob &Util();

// INI files
inline QString PathIni;       // this terminal's INI
inline QString PathIniComune; // INI common to all terminals ("" when none)
inline QString BeepCome;
inline QString LisSpostaCurs = QStringLiteral("N");
inline QString LisClickNoSel = QStringLiteral("N");
inline QString DirImmagini;
inline double RisVidGenerale = 0, RisVidPersBase = 0, RisVidMsgCom = 0, RisVidStaVid = 0;

// Company parameters
inline QString DescAzienda;
inline QDate DataMenu;        // working date
inline QString MonetaAzienda; // "Ditta.Moneta"
inline QString CodLira, CodEuro;
inline QString OperCambio = QStringLiteral("/");
inline double CambioLiraEuro = 1936.27;
inline int NumDecQta = 3, NumDecLira = 0, NumDecEuro = 2, NumDecMoneta = 2;
inline QString FmtImportoEuro = QStringLiteral("#,##0.00");
inline QString ArrotIvaEuro; // "S": VAT rounded per Lira rules
inline QString TastierinoVirgola = QStringLiteral("S");
inline QString DecodHelpAbil, DecodHelpPersKey;
inline QString FormatoData = QStringLiteral("dd/mm/yyyy");
inline QString DataMinima = QStringLiteral("01/01/1900");
inline QString ParMassimizzato, StatoFinestra;
inline QStringList NomiMesi;
// Toolbar kind handed to the page, list and grid components when their
// windows set up: "p" (picture buttons), the only kind; nothing changes it.
inline const QString TipoToolbar = QStringLiteral("p");

// Colours (VB long values: &HBBGGRR, or &H800000nn for system colours)
inline long ColBackGotFocus = 0x80000005L, ColBackLostFocus = 0x80000005L, ColBackForm = 0x8000000FL;
// A field in error: a light red under the normal dark text, which stays
// readable (pure red under dark text does not).
inline constexpr long ColBackErrore = 0xB4B4FFL;
inline constexpr long ColBackNormale = 0x80000005L;
inline constexpr long ColForeNormale = 0x80000008L;
inline constexpr long ColForeDisabil = 0x80000011L;

// Cross-window state
// 1 while a print runs, else 0: read only here, the print engine alone sets
// and clears it (components/stampa/StatoStampa.h).
inline constexpr const int &StaAtt = StatoStampa::StaAtt();
inline int StampanteImpostata = 0;
inline int UltKeyCode = 0, UltShift = 0;
inline QString FormConErrori;
inline long SessioneTS = 0;

} // namespace Globali
