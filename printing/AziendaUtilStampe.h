// The printer routines of the print windows: the program's default printer
// (its profile's device line, kept in the program's own printer profile and
// never the system's), making a printer the program's current one, putting
// the default back, the printers with their ports, network printers, and the
// printers of terminal sessions (a printer name may carry a session number
// after the session template; another session's printers are kept away and
// saved names hold the template instead of this session's number).
#pragma once

#include "components/stampa/Stampante.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

class InvioEmail;
class OpzStampa;
class QLineEdit;
class QWidget;
class Stampatore;

// ---- Default and current printer (StampantiPredefinite.cpp) ----

// The default printer of the profile's device line: the installed printer,
// or nothing with `nomeMancante` set to the name when it is not installed.
std::optional<Stampante> LeggiStampantePredefinita(QString &nome, QString &nomeMancante, QString &porta);
// Once the program has set a printer itself (StampanteImpostata 1), makes the
// default printer current again; throws VbErrore when it is not installed.
void RipristinaStampantePredef(QString &nome, QString &nomeMancante, QString &porta);
// Makes the print's printer current before a print (true: it is).
bool ImpostaStampanteDaOpz(OpzStampa &opz);
// Checks that a printer chosen in a list can be used; with messages the user
// is told when it cannot.
bool ImpostaStampanteDaNome(const QString &nome, bool conMessaggi, const QString &nomeMostrato);
// The automatic-PDF switch: the print's printer becomes `nome` (with
// `tornaSalvata` the printer saved for this print, or the default).
bool ImpostaStampante(QString &nome, OpzStampa &opz, bool tornaSalvata);
// Makes a printer the program's default by its profile line; an invalid
// QVariant for an empty name, else whether it was done.
QVariant ImpostaStampanteWindows(const QString &nome);
void ScriviDeviceWinIni(const QString &nome, const QString &driver, const QString &porta);
// The port of a printer of the list (its driver into `driver`).
QString LeggiPortaStampante(const QString &nome, QString &driver);
void SeparaDriverPorta(const QString &testo, QString &driver, QString &porta);
// Tells the user the default printer is missing and forgets the print's saved
// printer (key `chiaveIni` of section `sezione`).
void MsgStampantePredefMancante(const QString &chiaveIni, const QString &nome, const QString &sezione);
bool StampanteDiRete(const Stampante &stampante);

// ---- Terminal sessions and the printer list (StampantiSessione.cpp) ----

// The session template of the profile ("%§" for the session number).
QString ModelloStampanteSessione();
// A printer name with this session's number replaced by the template.
QString LeggiStampanteSessione(const QString &nome);
// A saved name with the template read back for this session.
QString StampanteDaSessione(const QString &nome);
// True when the name carries the template with another session's number.
bool CercaStampanteAltraSessione(const QString &nome, long sessione);
// The printers of the profile with their ports, without other sessions'.
void ElencoStampantiPorte(QStringList &nomi, QStringList &porte);

// ---- PDF and e-mail settings (ParametriEmail.cpp) ----

// A PDF or e-mail setting of the menu host by name ("UsaPdfCreator",
// "StampeEmail"...), as text ("" when the host holds none); the sender and
// reply-to addresses in display form for the send types that want it.
// "EmailOggetto" and "EmailTesto" are the subject and text pair of row
// "PdfEmail" of Appoggio chosen by EmailNumTesto (empty outside 1..5).
// Throws VbErrore when the host cannot be asked or EmailNumTesto is not a
// number.
QString LeggiParEmail(const QString &nome);

// ---- E-mail parameters of printouts (EmailStampe.cpp) ----

// The engine of the running print, set by the print start.
Stampatore *MotoreStampa();
void MotoreStampa(Stampatore *motore);
// Compiles the e-mail keys of the running print's options (of `opz` in the
// second form) when the print is to be e-mailed: recipient, send type,
// subject and text with their placeholders, sender, server, login. Missing
// login, password, server or recipient: VbErrore -123 with what is missing
// (never the password), and the options untouched. A recipient given by the
// caller becomes the recipient.
void PreparaParEmail(const QString &psDestinatario);
void PreparaParEmail(const QString &psDestinatario, OpzStampa &opz);
// Asks the user for the e-mail data through the print-choice dialog's panel
// and, with pbCompila, compiles them; true when confirmed and compiled. A
// compilation that fails is told with its description.
QVariant ChiediDatiEmail(int pbCompila, int pbImpostaOpz);
// The mailer the print start hands the engine: compiles the e-mail keys and
// sends through InvioEmailSmtp. Missing data answer a refused login, so that
// the engine asks for them once.
InvioEmail &InvioEmailStampe();

// ---- Subject and text placeholders (SegnapostoEmail.cpp) ----

// "§Name§" replaced by its value, names without regard to case: the subject
// has "Ora" (hh:nn), the text "OraRid" (hhnn).
QString EspandiOggettoEmail(const QString &testo, const OpzStampa &opz);
QString EspandiTestoEmail(const QString &testo, const OpzStampa &opz);
// The clock of the date and time placeholders (tests fix it; empty: now).
void ImpostaOrologioEmail(std::function<QDateTime()> orologio);

// ---- The customer's e-mail address (EmailCliente.cpp) ----

// The customer's address chosen in the account lookup (F2 to F5) into
// `casella` (unless piNonScrivere); `piColonna` gets the address column
// picked (1..4, 0 none). Answers the address, "" when nothing was chosen.
QVariant ScegliEmailCliente(QLineEdit *casella, QWidget *etichetta, int piKeyCode, int piShift,
                            const QVariant &pvAiuto, int piNonScrivere, int &piColonna);
// The preferred address kind (1..4) of the setting EmailPredef: a number held
// to 0..4, and at 0 the words of each kind.
int TipoEmailPredefinito(const QString &valore);
// The focus colouring of the print-choice dialog's boxes.
void GotFocusCampoStampa(QWidget *controllo);

// ---- Saved options (OpzioniSalvate.cpp) ----

// The options saved for the print (its own section and "Opzioni Stampa", in
// this terminal's INI and the common one) read into its OpzStampa; values
// beyond their range are said in one notice naming their keys.
void CaricaOpzioniStampa(OpzStampa &opz);
