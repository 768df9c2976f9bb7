// Start of the program.
#include "shell/Avvio.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/db/DbMotore.h"
#include "components/menu/ClienteMenu.h"
#include "components/menu/ClienteMenuSocket.h"
#include "components/util/ContestoPrg.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "printing/FinestreStampaPredef.h"
#include "services/AziOpenDbMenu.h"
#include "services/FormLanciabile.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/UtilPrg.h"
#include "services/frmConn.h"
#include "shell/ApriForm.h"
#include "shell/Chiusura.h"
#include "shell/Connessione.h"
#include "shell/GlobaliShell.h"
#include "shell/ParAzienda.h"
#include "shell/SceltaIni.h"
#include "shell/frmAvvio.h"
#include "shell/frmPrincipale.h"
#include "shell/scAziUtilPrg.h"
#include "shell/scMenuComandiClie.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QProcessEnvironment>
#include <QTimer>
#include <QTranslator>

namespace
{

void azzeraGlobali()
{
    using namespace Globali;
    ChiusuraInCorso = 0;
    KeyPrgPrim.clear();
    KeyPrgSec.clear();
    PathIni.clear();
    PathIniComune.clear();
    NomeDbAzienda.clear();
    NomeDbMenu.clear();
    PwdConnectMenu.clear();
    DbMenu.clear();
    SwitchM.clear();
    SwitchP.clear();
    SwitchF.clear();
    SwitchH.clear();
    SwitchI.clear();
    ParametroAvvio.clear();
    FormIniziale.clear();
}

// The host's client: the menu program's local server named by "M", else the
// standalone host on its parameter file (or the server in CLIENTI_MENU_SOCKET).
ClienteMenu *creaClienteMenu()
{
    if (!Globali::SwitchM.isEmpty()) {
        auto *c = new ClienteMenuSocket;
        try {
            c->Connetti(Globali::SwitchM);
        } catch (...) {
            delete c;
            throw;
        }
        return c;
    }
    QString file = QProcessEnvironment::systemEnvironment().value(AmbienteParametriMenu);
    if (file.isEmpty() && !Globali::PathIni.isEmpty())
        file = QFileInfo(Globali::PathIni).absoluteDir().filePath(QStringLiteral("menu-parametri.json"));
    return CreaClienteMenu(file);
}

QString iniCercato()
{
    QString ini = Globali::SwitchI;
    if (ini.isEmpty())
        ini = QProcessEnvironment::systemEnvironment().value(AmbienteIni);
    return CercaIni(ini, QCoreApplication::applicationDirPath(), QDir::currentPath());
}

void mostraErroreAvvio(const QString &errore)
{
    // The connection's own box said why, and the user chose to give up.
    if (errore == ConnessioneAnnullata) {
        frmConn::Scarica();
        return;
    }
    QString testo = errore;
    if (testo.startsWith(QLatin1String("Err:")))
        testo = testo.mid(4).trimmed();
    frmConn::Scarica();
    msgCom(NascondiPassword(testo), QStringLiteral("&Ok"), {}, {}, QStringLiteral("Clienti"), 80, false, 600,
           0, 1);
}

} // namespace

QString AvvioPrg(int piNumeroPrg, const QString &psNome, const QStringList &argomenti)
{
    using namespace Globali;
    azzeraGlobali();
    NumeroProgramma = piNumeroPrg;
    Q_UNUSED(psNome);

    UtilGlob &util = Util();
    util.ImpostaRigaComando(argomenti);
    SwitchM = util.LeggiSwitch(QStringLiteral("M")).trimmed();
    SwitchP = util.LeggiSwitch(QStringLiteral("P")).trimmed();
    SwitchF = util.LeggiSwitch(QStringLiteral("F")).trimmed();
    SwitchH = util.LeggiSwitch(QStringLiteral("H")).trimmed();
    SwitchI = util.LeggiSwitch(QStringLiteral("I")).trimmed();
    const int spazio = SwitchP.indexOf(QLatin1Char(' '));
    ParametroAvvio = spazio < 0 ? SwitchP : SwitchP.left(spazio);
    FormIniziale = spazio < 0 ? QString() : SwitchP.mid(spazio + 1).trimmed();
    NomeFileHelp = SwitchH;

    if (!FrmP)
        FrmP = new frmPrincipale;
    ImpostaGestoreChiusura(AvviaTimerChiusuraShell);

    PathIni = iniCercato();
    try {
        ClienteMenu *client = creaClienteMenu();
        delete MenuComandi;
        MenuComandi = new scMenuComandiClie(client);
        MenuClient = client;
        const QString iniHost = client->LeggiPar(QStringLiteral("PathIni"), QString()).toString().trimmed();
        if (!iniHost.isEmpty())
            PathIni = iniHost;
    } catch (const VbErrore &e) {
        return QStringLiteral("Err: Collegamento con il menu non riuscito: ") + e.descrizione();
    }
    if (PathIni.isEmpty() || !QFileInfo(PathIni).isFile())
        return QStringLiteral("Err: File di configurazione non trovato: %1")
            .arg(SwitchI.isEmpty() ? NomeIniPredefinito : SwitchI);

    if (const QString r = ApriDbAzienda(); r.startsWith(QLatin1String("Err:")))
        return r;
    frmConn::Mostra(TestoConnessione);
    if (const QString r = LeggiParAzienda(); r.startsWith(QLatin1String("Err:")))
        return r;

    delete PonteMenu;
    PonteMenu = new ContestoPrg(FrmP, MenuClient, DbComp(), DbAzienda, PathIni);
    if (!AziAiuto)
        AziAiuto = new AiutoDecod;
    AziAiuto->ImpostaContesto(PonteMenu);
    if (!AziUtilPrg)
        AziUtilPrg = new scAziUtilPrg(AziAiuto);
    frmConn::Scarica();
    return {};
}

bool InstallaTraduzioniQt()
{
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(italiano);
    static QPointer<QTranslator> traduzioni;
    if (traduzioni)
        return true;
    auto *t = new QTranslator(qApp);
    if (!t->load(italiano, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    traduzioni = t;
    return true;
}

bool Main(const QStringList &argomenti)
{
    InstallaTraduzioniQt();
    RegistraFormProgramma();
    // Every list and grid prints through the program's print windows, which
    // go when the program quits (once, however many starts a run makes).
    InstallaFinestreStampa();
    static QMetaObject::Connection scaricaAllaFine;
    if (!scaricaAllaFine)
        scaricaAllaFine =
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, &ScaricaFinestreStampa);
    const QString r = AvvioPrg(NumeroPrgClienti, QString(), argomenti);
    if (r.startsWith(QLatin1String("Err:"))) {
        mostraErroreAvvio(r);
        AvviaChiusura();
        return false;
    }
    LeggiNomeDbMenu();
    Globali::AziUtilPrg->ImpostaParametro(QStringLiteral("PathDbMenu"), Globali::NomeDbMenu);
    VersioneMenu();
    QTimer::singleShot(0, Globali::FrmP, [] { ApriPrimaForm(); });
    return true;
}

void ApriPrimaForm()
{
    using namespace Globali;
    // Without a menu program a name this build cannot open leaves the user
    // the launcher rather than a program that vanishes after its message.
    const bool standalone = SwitchM.isEmpty();
    if (FormIniziale.isEmpty() || (standalone && !RegistroForm::Esiste(FormIniziale))) {
        if (!FormIniziale.isEmpty())
            msgCom(QString::fromUtf8(MsgImpossibileAprire), QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600,
                   0, 1);
        (new frmAvvio)->show();
        return;
    }
    ChiaviLancio chiavi;
    if (MenuClient) {
        try {
            const DatiLancio d = MenuClient->LeggiDatiLancio();
            chiavi.osKeyLancia = d.ChiLancia;
            chiavi.osKeySecLancia = d.KeySecLancia;
            chiavi.osParamLancia = d.ParamLancia;
        } catch (const VbErrore &) {
        }
    }
    chiavi.osKeySec = chiavi.osKeySecLancia;
    chiavi.osParam = chiavi.osParamLancia.isEmpty() ? ParametroAvvio : chiavi.osParamLancia;
    ApriFormPerNome(FormIniziale, chiavi);
}
