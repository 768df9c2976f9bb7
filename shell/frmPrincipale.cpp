// The hidden main window and its two timers.
#include "shell/frmPrincipale.h"

#include "components/forms/UtilFinestre.h"
#include "shell/ApriForm.h"
#include "shell/Chiusura.h"

#include <QCloseEvent>

frmPrincipale::frmPrincipale(QWidget *parent) : QWidget(parent), timChiudi(this), timVarie(this)
{
    setObjectName(QStringLiteral("frmPrincipale"));
    setWindowTitle(QStringLiteral("Clienti"));
    timChiudi.setInterval(3000);
    timVarie.setInterval(0);
    timVarie.setSingleShot(true);
    connect(&timChiudi, &QTimer::timeout, this, &frmPrincipale::timChiudi_Timer);
    connect(&timVarie, &QTimer::timeout, this, &frmPrincipale::timVarie_Timer);
}

frmPrincipale::~frmPrincipale()
{
    UtilFinestre::StaccaFinestra(this);
}

void frmPrincipale::timChiudi_Timer()
{
    if (oiTmpAttesa > 0) {
        --oiTmpAttesa;
        return;
    }
    if (!VerificaChiusura().isEmpty())
        return;
    timChiudi.stop();
    oiChiudi = 0;
    ChiudiProgramma();
}

void frmPrincipale::timVarie_Timer()
{
    const int flag = oiFlagVarie;
    oiFlagVarie = 0;
    if (flag == 1)
        PortaInPrimoPiano(osNomeForm);
}

void frmPrincipale::closeEvent(QCloseEvent *event)
{
    timChiudi.stop();
    timVarie.stop();
    event->accept();
    if (!m_chiuso) {
        m_chiuso = true;
        emit programmaChiuso(codiceUscita);
    }
}
