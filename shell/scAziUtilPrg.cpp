// Receiver of the lookup library's events.
#include "shell/scAziUtilPrg.h"

#include "services/Globali.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"

scAziUtilPrg::scAziUtilPrg(AiutoDecod *aiuto, QObject *parent) : QObject(parent), mgAziAiuto(aiuto)
{
    if (!aiuto)
        return;
    connect(aiuto, &AiutoDecod::ClsMainMenuFrm, this, &scAziUtilPrg::mgAziAiuto_ClsMainMenuFrm,
            Qt::DirectConnection);
    connect(aiuto, &AiutoDecod::ClsPrepDecod, this, &scAziUtilPrg::mgAziAiuto_ClsPrepDecod,
            Qt::DirectConnection);
    connect(aiuto, &AiutoDecod::LanciaKeyPrim, this, &scAziUtilPrg::mgAziAiuto_LanciaKeyPrim,
            Qt::DirectConnection);
    connect(aiuto, &AiutoDecod::LanciaKeySec, this, &scAziUtilPrg::mgAziAiuto_LanciaKeySec,
            Qt::DirectConnection);
}

void scAziUtilPrg::ImpostaParametro(const QString &nome, const QVariant &valore)
{
    if (mgAziAiuto)
        mgAziAiuto->Parametri().ovLeggiPar(nome, valore);
}

QVariant scAziUtilPrg::Parametro(const QString &nome) const
{
    return mgAziAiuto ? mgAziAiuto->Parametri().ovLeggiPar(nome) : QVariant();
}

void scAziUtilPrg::mgAziAiuto_ClsMainMenuFrm(QWidget *&frm)
{
    frm = Globali::FrmP;
}

void scAziUtilPrg::mgAziAiuto_ClsPrepDecod(const QString &) {}

void scAziUtilPrg::mgAziAiuto_LanciaKeyPrim(const QString &chiave)
{
    Globali::KeyPrgPrim = chiave;
}

void scAziUtilPrg::mgAziAiuto_LanciaKeySec(const QString &chiave)
{
    Globali::KeyPrgSec = chiave;
}
