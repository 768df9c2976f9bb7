// Orderly shutdown.
#include "shell/Chiusura.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/db/DbMotore.h"
#include "components/menu/ClienteMenu.h"
#include "components/util/ContestoPrg.h"
#include "services/Globali.h"
#include "services/UtilPrg.h"
#include "services/frmConn.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"
#include "shell/scAziUtilPrg.h"
#include "shell/scMenuComandiClie.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace
{

// Windows that do not count as open: the main window, the wait window,
// pop-ups, tool tips and windows the program keeps hidden.
bool contaComeAperta(const QWidget *w)
{
    if (!w->isWindow() || !w->isVisible())
        return false;
    if (w == Globali::FrmP || frmConn::EFrmConn(w))
        return false;
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
        return false;
    default:
        return true;
    }
}

} // namespace

void AvviaTimerChiusuraShell(int piTmpAttesa)
{
    frmPrincipale *frm = Globali::FrmP;
    if (!frm)
        return;
    frm->oiChiudi = 1;
    frm->oiTmpAttesa = qMax(0, piTmpAttesa);
    if (!frm->timChiudi.isActive())
        frm->timChiudi.start();
    // With nothing to wait for, the first check runs as soon as the window
    // that asked has finished closing, not a whole interval later: the
    // program ends when its last window goes, and polling is left for the
    // windows that stay.
    if (frm->oiTmpAttesa == 0)
        QTimer::singleShot(0, frm, [frm] {
            if (frm->timChiudi.isActive() && frm->oiTmpAttesa == 0)
                frm->timChiudi_Timer();
        });
}

void AvviaChiusura()
{
    frmConn::Scarica();
    if (frmPrincipale *frm = Globali::FrmP) {
        frm->codiceUscita = 1;
        AvviaTimerChiusuraShell(0);
    }
}

QList<QWidget *> FinestreAperte()
{
    QList<QWidget *> aperte;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (contaComeAperta(w))
            aperte << w;
    return aperte;
}

QString VerificaChiusura()
{
    if (QApplication::activeModalWidget())
        return QStringLiteral("Maschera Modal");
    const QList<QWidget *> aperte = FinestreAperte();
    if (aperte.isEmpty())
        return {};
    QWidget *w = aperte.first();
    return w->windowTitle().isEmpty() ? w->objectName() : w->windowTitle();
}

void RilasciaOggettiGlobali()
{
    // Deferred: a host command may still be on the stack.
    if (Globali::AziUtilPrg)
        Globali::AziUtilPrg->deleteLater();
    Globali::AziUtilPrg = nullptr;
    if (Globali::AziAiuto)
        Globali::AziAiuto->deleteLater();
    Globali::AziAiuto = nullptr;
    Globali::FrmAiuto = nullptr;
    if (Globali::MenuComandi)
        Globali::MenuComandi->deleteLater(); // releases MenuClient with it
    Globali::MenuComandi = nullptr;
    Globali::MenuClient = nullptr;
    delete Globali::PonteMenu;
    Globali::PonteMenu = nullptr;
    Globali::ImpostaDbComp(nullptr);
    Globali::DbMenu.clear();
    frmConn::Scarica();
    ImpostaGestoreChiusura({});
}

void ChiudiProgramma()
{
    RilasciaOggettiGlobali();
    if (frmPrincipale *frm = Globali::FrmP)
        frm->close();
}
