// The interpreter of the menu host's command words.
#pragma once

#include <QString>
#include <QVariant>

// Answers of the command words.
inline const QString RispostaOk = QStringLiteral("Ok");
inline const QString RispostaNoChiudi = QStringLiteral("No Chiudi");
inline const QString RispostaSi = QStringLiteral("S");

// The parameter the host handed with "paramprgclie", for the windows to read.
namespace Globali
{
inline QVariant ParamPrgClie;
}

// Runs one command of the host and answers its text:
//  "fine"            closes the windows (each may refuse) and then the program:
//                    "Ok"; "No Chiudi" while a window stays open or a modal one is up
//  "esiste"          "S": the program is alive
//  "ritornoa"        the window named by the parameter (else the active one) runs
//                    "Aggiorna" and comes forward: "Ok", "" when none is open
//  "attiva"/"passaa" opens the window named by the parameter with the host's
//                    launch keys (or brings it forward with them): "Ok", "" on failure;
//                    the parameter may add keys: "frmClienti;KeySec=0103001"
//  "preppassaa"      every open window hands its record on (PassaA): "Ok"
//  "keyprgprim"      KeyPrgPrim;  "keyprgsec": KeyPrgSec
//  "paramprgclie"    keeps the parameter for the windows (ParamPrgClie): "Ok"
//  "comandoprgclie"  the active window runs the parameter as a command: "Ok", "" when none
//  "FEInvio"/"FEAttesa" shows the electronic-invoice result the host passes in: "Ok"
// Words compare without regard to case; an unknown word answers "".
QString EseguiComandoMenu(const QString &psComando, const QVariant &pvParam);
