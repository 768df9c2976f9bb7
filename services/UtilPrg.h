// Program-level procedures that every window may call: the return to the menu
// host, opening-error reports, the record-set transaction brackets, the kind of
// company connection, the terminal session and the close-timer hook. The shell
// installs the hooks at start-up; below it they are reached only through here.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QVariant>

#include <functional>

class DbMotore;
class FormLanciabile;

// Hands the launch keys back to the host when another program opened the form
// (osKeyLancia not empty) and brings the menu program forward.
void RitornaAlChiamante(FormLanciabile *form, int piFlag);

// Brings the menu program to the front.
void AttivaMenu();

// Has the host show lead + "Errore(" number "): " description + trailing. A
// missing number or description is taken from the exception being handled
// (call it inside a catch block). Unloads the wait window frmConn.
void MsgErroreApertura(const QVariant &pvNumero = {}, const QVariant &pvDescrizione = {},
                       const QString &psTestoPri = {}, const QString &psTestoDop = {});

// Transaction brackets on a connection: begin with dirty reads, commit, roll
// back. pbDbComp True takes DbComp(), else pDb; an empty connection name means
// DbAzienda. The isolation statement runs only on a server connection
// ("DbTipoSql:" + name). pvTrans missing: only the isolation statement.
QVariant ApriRsLetSporca(const QVariant &pvTrans = {}, int piOpz = 0, DbMotore *pDb = nullptr,
                         int pbDbComp = -1, const QString &psConnessione = {});
QVariant ApriRsLetCommit(const QVariant &pvTrans = {}, int piOpz = 0, DbMotore *pDb = nullptr,
                         int pbDbComp = -1, const QString &psConnessione = {});
QVariant ApriRsLetCommit2(const QVariant &pvTrans = {}, int piOpz = 0, DbMotore *pDb = nullptr,
                          int pbDbComp = -1, const QString &psConnessione = {});

// True for an ODBC connection name: "ODBC;..." text, a ".dsn" file, or a DSN
// name (no "." at all).
bool TipoConnOdbc(const QString &psNome);

// Login-session number of this process (XDG_SESSION_ID), 0 when there is none;
// psNomeClient gets the name of the session's client machine, "" when none.
long IdentificaPostazione(QString &psNomeClient);
// The same, reading the given environment.
long IdentificaPostazione(const QProcessEnvironment &ambiente, QString &psNomeClient);

// The host's "OSPlatform" parameter.
QVariant PiattaformaOS();

// Close-timer hook: windows call it when they unload; the shell arms its close
// polling. Without a shell (tests of lower layers) it does nothing.
void PrgAvviaTimerChiusura(int &piTmpAttesa);
void AvviaTimerChiusura(int piTmpAttesa = 0);
void ImpostaGestoreChiusura(std::function<void(int)> gestore);
