// Receiver of the lookup library's events.
#include "shell/scAziUtilPrg.h"

#include "services/Globali.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"

scAziUtilPrg::scAziUtilPrg(QObject *parent) : QObject(parent) {}

void scAziUtilPrg::ImpostaParametro(const QString &nome, const QVariant &valore)
{
    m_parametri.insert(nome.toLower(), valore);
}

QVariant scAziUtilPrg::Parametro(const QString &nome) const { return m_parametri.value(nome.toLower()); }

void scAziUtilPrg::mgAziAiuto_ClsMainMenuFrm(QWidget *&frm) { frm = Globali::FrmP; }

void scAziUtilPrg::mgAziAiuto_ClsPrepDecod(const QString &) {}

void scAziUtilPrg::mgAziAiuto_LanciaKeyPrim(const QString &chiave) { Globali::KeyPrgPrim = chiave; }

void scAziUtilPrg::mgAziAiuto_LanciaKeySec(const QString &chiave) { Globali::KeyPrgSec = chiave; }
