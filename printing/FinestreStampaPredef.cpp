// The program's print windows and the provider that hands them out.
#include "printing/FinestreStampaPredef.h"

#include "components/stampa/ComponenteStampa.h"
#include "components/stampa/Stampatore.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/FrmComlinStampa.h"
#include "printing/FrmSceltaStam.h"
#include "printing/FrmVStampa.h"
#include "printing/frmStampaInCorso.h"
#include "printing/frmVStaPar.h"

#include <QCoreApplication>
#include <QPointer>

namespace
{
QPointer<FrmComlinStampa> g_dialogo;
QPointer<frmStampaInCorso> g_avanzamento;
QPointer<FrmVStampa> g_anteprima;
} // namespace

FrmComlinStampa *FrmComlinStampaPredef()
{
    if (!g_dialogo)
        g_dialogo = new FrmComlinStampa;
    return g_dialogo;
}

frmStampaInCorso *frmStampaInCorsoPredef()
{
    if (!g_avanzamento)
        g_avanzamento = new frmStampaInCorso;
    return g_avanzamento;
}

FrmVStampa *FrmVStampaPredef()
{
    if (!g_anteprima)
        g_anteprima = new FrmVStampa;
    return g_anteprima;
}

FrmVStampa *FrmVStampaAperta()
{
    return g_anteprima;
}

void FrmVStampaRilascia(FrmVStampa *anteprima)
{
    if (g_anteprima == anteprima)
        g_anteprima = nullptr;
}

void InstallaFinestreStampa()
{
    ImpostaFornitoreStampa([](ComponenteStampa &c) {
        c.ofrmComlinStampa(FrmComlinStampaPredef());
        c.ofrmStampaInCorso(frmStampaInCorsoPredef());
        // Each list and grid prints with an engine of its own, released with it.
        if (!c.ogSta())
            c.ogSta(new Stampatore(dynamic_cast<QObject *>(&c)));
    });
    // The print choice's "Cambia" of the preview panel.
    FrmSceltaStam::ImpostaDialogoScala(&frmVStaPar::Chiedi);
    // The engine's request for the e-mail login data goes to the PDF and e-mail panel.
    frmStampaInCorso::ImpostaChiediDatiEmail([] { return ChiediDatiEmail(-1, -1); });
}

void ScaricaFinestreStampa()
{
    ImpostaFornitoreStampa({});
    FrmSceltaStam::ImpostaDialogoScala({});
    frmStampaInCorso::ImpostaChiediDatiEmail({});
    MotoreStampa(nullptr);
    delete g_anteprima.data();
    delete g_dialogo.data();
    delete g_avanzamento.data();
}
