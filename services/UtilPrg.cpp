// Program-level procedures callable from every window.
#include "services/UtilPrg.h"

#include "components/db/DbMotore.h"
#include "components/menu/ClienteMenu.h"
#include "components/util/VbErrore.h"
#include "services/FormLanciabile.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"
#include "services/frmConn.h"

#include <QRegularExpression>
#include <QSysInfo>

#include <exception>

namespace
{

std::function<void(int)> &gestoreChiusura()
{
    static std::function<void(int)> g;
    return g;
}

// Number and description of the exception being handled, if any.
bool erroreCorrente(int &numero, QString &descrizione)
{
    const std::exception_ptr ep = std::current_exception();
    if (!ep)
        return false;
    try {
        std::rethrow_exception(ep);
    } catch (const VbErrore &e) {
        numero = e.numero();
        descrizione = e.descrizione();
    } catch (const std::exception &e) {
        numero = 0;
        descrizione = QString::fromLocal8Bit(e.what());
    } catch (...) {
        numero = 0;
        descrizione.clear();
    }
    return true;
}

using AzioneTrans = void (DbMotore::*)(const QString &);

// The isolation level for the next transactions of a server connection. SQL
// Server's statement is session-wide; PostgreSQL says so with SESSION
// CHARACTERISTICS (its plain form is refused once a transaction has begun).
void impostaIsolamento(DbMotore *db, const QString &conn, const char *livello)
{
    if (!db->TipoSql(conn))
        return;
    const QString sql = db->Dialetto(conn) == JetSql::Dialetto::PostgreSQL
                            ? QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL ")
                            : QStringLiteral("SET TRANSACTION ISOLATION LEVEL ");
    db->EseguiSql(conn, sql + QString::fromLatin1(livello));
}

QVariant apriRsLet(AzioneTrans azione, const char *livello, const QVariant &pvTrans, DbMotore *pDb,
                   int pbDbComp, const QString &psConnessione)
{
    DbMotore *db = pbDbComp ? Globali::DbComp() : pDb;
    if (!db)
        throw VbErrore(VbErrore::OggettoNonImpostato,
                       QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"));
    const QString conn = psConnessione.isEmpty() ? Globali::DbAzienda : psConnessione;
    const bool inizio = azione == &DbMotore::IniziaTrans;
    // A beginning transaction must already see the new level.
    if (inizio)
        impostaIsolamento(db, conn, livello);
    if (pvTrans.isValid())
        (db->*azione)(conn);
    // A lost connection took its session, and the level with it: the next
    // connection starts at the server's own (read committed).
    if (!inizio && !db->ConnessionePersa(conn)) {
        try {
            impostaIsolamento(db, conn, livello);
        } catch (const VbErrore &) {
            // The end itself went through: a connection lost just after it
            // must not make a commit the server kept look undone.
            if (!db->ConnessionePersa(conn))
                throw;
        }
    }
    return {};
}

} // namespace

void RitornaAlChiamante(FormLanciabile *form, int piFlag)
{
    if (form && piFlag && !form->osKeyLancia.isEmpty() && Globali::MenuClient) {
        // Nothing to hand back to when the host is gone; the program still closes.
        try {
            Globali::MenuClient->PassaAProgramma(form->osKeyLancia, form->osKeySecLancia,
                                                 form->osParamLancia);
            AttivaMenu();
        } catch (const VbErrore &) {
        }
    }
    AvviaTimerChiusura(0);
}

void AttivaMenu()
{
    ClienteMenu *mc = Globali::MenuClient;
    if (!mc)
        return;
    const QVariant procId = mc->LeggiPar(QStringLiteral("MenuProcId"), QString());
    mc->Attiva(QStringLiteral("Tutti"), procId);
}

void MsgErroreApertura(const QVariant &pvNumero, const QVariant &pvDescrizione, const QString &psTestoPri,
                       const QString &psTestoDop)
{
    int numero = 0;
    QString descrizione;
    const bool corrente = erroreCorrente(numero, descrizione);
    if (pvNumero.isValid())
        numero = pvNumero.toInt();
    else if (!corrente)
        numero = 0;
    if (pvDescrizione.isValid())
        descrizione = pvDescrizione.toString();
    const QString testo = NascondiPassword(psTestoPri + QStringLiteral("Errore(") + QString::number(numero) +
                                           QStringLiteral("): ") + descrizione + psTestoDop);
    frmConn::Scarica();
    bool mostrato = false;
    if (ClienteMenu *mc = Globali::MenuClient) {
        try {
            mc->ParametroHost(QStringLiteral("MsgBox"), QStringLiteral("Tutti"), testo);
            mostrato = true;
        } catch (const VbErrore &) {
        }
    }
    // Without a host the user must still learn why the window did not open.
    if (!mostrato)
        msgCom(testo, QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
}

QVariant ApriRsLetSporca(const QVariant &pvTrans, int, DbMotore *pDb, int pbDbComp,
                         const QString &psConnessione)
{
    return apriRsLet(&DbMotore::IniziaTrans, "READ UNCOMMITTED", pvTrans, pDb, pbDbComp, psConnessione);
}

QVariant ApriRsLetCommit(const QVariant &pvTrans, int, DbMotore *pDb, int pbDbComp,
                         const QString &psConnessione)
{
    return apriRsLet(&DbMotore::ConfermaTrans, "READ COMMITTED", pvTrans, pDb, pbDbComp, psConnessione);
}

QVariant ApriRsLetCommit2(const QVariant &pvTrans, int, DbMotore *pDb, int pbDbComp,
                          const QString &psConnessione)
{
    return apriRsLet(&DbMotore::AnnullaTrans, "READ COMMITTED", pvTrans, pDb, pbDbComp, psConnessione);
}

bool TipoConnOdbc(const QString &psNome)
{
    return psNome.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive) ||
           psNome.endsWith(QLatin1String(".dsn"), Qt::CaseInsensitive) || !psNome.contains(QLatin1Char('.'));
}

long IdentificaPostazione(const QProcessEnvironment &ambiente, QString &psNomeClient)
{
    psNomeClient.clear();
    const QString sessione = ambiente.value(QStringLiteral("XDG_SESSION_ID")).trimmed();
    static const QRegularExpression cifre(QStringLiteral("(\\d+)$"));
    const QRegularExpressionMatch m = cifre.match(sessione);
    if (!m.hasMatch())
        return 0;
    bool ok = false;
    const long numero = m.captured(1).toLong(&ok);
    if (!ok)
        return 0;
    // The client machine of a remote session, else this machine.
    const QString ssh = ambiente.value(QStringLiteral("SSH_CONNECTION")).trimmed();
    const QString display = ambiente.value(QStringLiteral("DISPLAY")).section(QLatin1Char(':'), 0, 0);
    if (!ssh.isEmpty())
        psNomeClient = ssh.section(QLatin1Char(' '), 0, 0);
    else if (!ambiente.value(QStringLiteral("REMOTEHOST")).isEmpty())
        psNomeClient = ambiente.value(QStringLiteral("REMOTEHOST"));
    else if (!display.isEmpty())
        psNomeClient = display;
    else
        psNomeClient = QSysInfo::machineHostName();
    return numero;
}

long IdentificaPostazione(QString &psNomeClient)
{
    return IdentificaPostazione(QProcessEnvironment::systemEnvironment(), psNomeClient);
}

QVariant PiattaformaOS()
{
    return LeggiParMenu(QStringLiteral("OSPlatform"));
}

void PrgAvviaTimerChiusura(int &piTmpAttesa)
{
    AvviaTimerChiusura(piTmpAttesa);
}

void AvviaTimerChiusura(int piTmpAttesa)
{
    if (gestoreChiusura())
        gestoreChiusura()(piTmpAttesa);
}

void ImpostaGestoreChiusura(std::function<void(int)> gestore)
{
    gestoreChiusura() = std::move(gestore);
}
