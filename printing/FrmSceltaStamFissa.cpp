// The print-choice dialog's fixed-length settings, its page-range boxes, its
// form keys and the spreadsheet version the Excel export writes.
#include "printing/FrmSceltaStam.h"

#include "components/forms/AdattatoreEventi.h"
#include "components/forms/ColoriVb.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "printing/AziendaUtilStampe.h"
#include "services/Focus.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Tasti.h"

#include <QTableWidget>
#include <algorithm>

namespace
{

// The Excel export writes workbooks in the format of this version and later
// (.xlsx), whatever spreadsheet program is installed.
constexpr int VersioneExcelXlsx = 16;

// A whole number as the options hold it: a typed value beyond their range is
// held to it.
int intero(double valore)
{
    return int(std::clamp(valore, -32768.0, 32767.0));
}

} // namespace

int FrmSceltaStam::LeggiVersioneExcel()
{
    return VersioneExcelXlsx;
}

void FrmSceltaStam::VisDecodFis()
{
    if (!m_opz)
        return;
    const OpzStampa &o = *m_opz;
    CheFisUtilComp->blockSignals(true);
    CheFisUtilComp->setChecked(o.FisUtilComp() != 0);
    CheFisUtilComp->blockSignals(false);
    TxtFisMrAlt->setText(QString::number(o.FisMrAlt()));
    TxtFisMrBas->setText(QString::number(o.FisMrBas()));
    TxtFisRighe->setText(QString::number(o.FisRighe()));
    TxtFisColonne->setText(QString::number(o.FisColonne()));
    TxtFisCodFinComp->setText(o.FisCodFinComp());
    TxtFisCodIniComp->setText(o.FisCodIniComp());
    LabFileStampaFis->setText(o.FisFileName());
}

void FrmSceltaStam::TxtFisMrAlt_LostFocus()
{
    if (m_opz)
        m_opz->FisMrAlt(intero(Globali::Util().ValoreNumerico(TxtFisMrAlt->text(), false, true)));
}

void FrmSceltaStam::TxtFisMrBas_LostFocus()
{
    if (m_opz)
        m_opz->FisMrBas(intero(Globali::Util().ValoreNumerico(TxtFisMrBas->text(), false, true)));
}

void FrmSceltaStam::TxtFisRighe_LostFocus()
{
    if (m_opz)
        m_opz->FisRighe(intero(Globali::Util().ValoreNumerico(TxtFisRighe->text(), false, true)));
}

void FrmSceltaStam::TxtFisColonne_LostFocus()
{
    if (m_opz)
        m_opz->FisColonne(intero(Globali::Util().ValoreNumerico(TxtFisColonne->text(), false, true)));
}

void FrmSceltaStam::TxtFisCodIniComp_LostFocus()
{
    if (m_opz)
        m_opz->FisCodIniComp(TxtFisCodIniComp->text());
}

void FrmSceltaStam::TxtFisCodFinComp_LostFocus()
{
    if (m_opz)
        m_opz->FisCodFinComp(TxtFisCodFinComp->text());
}

QWidget *FrmSceltaStam::CampoTesto(int indice, bool appo)
{
    return appo ? nullptr : txt.Trova(indice);
}

void FrmSceltaStam::txt_GotFocus(int Index)
{
    QLineEdit *t = txt.Trova(Index);
    if (!t)
        return;
    SelezionaTesto(t);
    GotFocusCampoStampa(t);
    t->setProperty("Tag", t->text());
}

void FrmSceltaStam::txt_KeyUp(int Index, int &KeyCode, int Shift)
{
    // F2 to F5 in the temporary recipient: one of a customer's addresses.
    if (Shift != 0 || KeyCode < 113 || KeyCode > 116 || Index != 1520)
        return;
    int colonna = 0;
    try {
        ScegliEmailCliente(txt(1520), Lab.Trova(1520), KeyCode, Shift, QStringLiteral("x1"), 0, colonna);
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void FrmSceltaStam::txt_LostFocus(int Index)
{
    QLineEdit *t = txt.Trova(Index);
    if (!t)
        return;
    const UtilGlob &u = Globali::Util();
    // The text numbers and ports of the e-mail configurations.
    if (Index % 100 == 17 || Index % 100 == 19) {
        if (Index >= 1000 && Index < 1300 &&
            t->text().compare(t->property("Tag").toString(), Qt::CaseInsensitive) != 0)
            u.FormattaCampo(t, 3, QStringLiteral("0"));
        return;
    }
    if (!m_opz || Index >= 1000)
        return;
    u.FormattaCampo(t, 5, QStringLiteral("#"));
    const int n = intero(u.ValoreNumerico(t->text(), true, true));
    const bool inizio = Index == 10 || Index == 30;
    m_opz->ImpostaParStampa(inizio ? QStringLiteral("PaginaDa") : QStringLiteral("PaginaA"), n);
    // The printer panel and the preview panel show the same range.
    if (QLineEdit *gemello = txt.Trova(Index >= 30 ? Index - 20 : Index + 20)) {
        gemello->setText(t->text());
        ColoriVb::ImpostaBackColor(gemello, ColoriVb::BackColor(t));
    }
}

void FrmSceltaStam::Form_KeyDown(int &KeyCode, int Shift)
{
    if (GestisciTastoHelp(KeyCode, Shift, this, true))
        return;
    if (KeyCode != 13 || Shift >= 2)
        return;
    // Enter in the printer grid applies the row (the grid's own key).
    QWidget *attivo = m_adattatore ? m_adattatore->ControlloAttivo() : nullptr;
    if (!attivo)
        attivo = focusWidget();
    if (attivo == GriPri)
        return;
    try {
        CampoSuccessivo(this, 1, Shift);
        KeyCode = 0;
    } catch (...) {
    }
}

void FrmSceltaStam::Form_KeyPress(int &KeyAscii)
{
    if (KeyAscii == 13 || KeyAscii == 27)
        KeyAscii = 0;
}
