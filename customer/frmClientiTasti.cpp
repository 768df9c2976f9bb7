// The customer form's own keys, seen before the focused control: Alt with a
// digit or the apostrophe selects a tab page, Alt+X and Alt+Y press the
// documents grid's buttons, the letter of a grid's print tooltip prints it.
#include "customer/frmClienti.h"

#include "components/forms/CodiciTasto.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "services/Tasti.h"

#include <QAction>
#include <QTabBar>
#include <QTableView>

namespace
{

// The focus is on a line grid or on its open cell editor.
bool FuocoInGriglia(frmClienti &f)
{
    QWidget *fuoco = f.focusWidget();
    for (auto [i, g] : f.dbgRiga)
        if (fuoco && (fuoco == g || g->isAncestorOf(fuoco)))
            return true;
    return false;
}

} // namespace

void frmClienti::Form_KeyDown(int &KeyCode, int Shift)
{
    // Every key, a line grid's too, goes through the common key services;
    // they leave a grid its own paging and editing keys.
    int shift = Shift;
    if (GestisciTastiCtrl(KeyCode, shift, this, true) > 0)
        return;
    if (Shift == CodiciTasto::MaskAlt) {
        QWidget *dettaglio = m_comPag ? m_comPag->AreaDettaglio() : nullptr;
        if (dettaglio && dettaglio->isEnabled()) {
            int scheda = 0;
            if (KeyCode >= 49 && KeyCode <= 57)
                scheda = KeyCode - 48;
            else if (KeyCode == 48)
                scheda = 10;
            else if (KeyCode == 219)
                scheda = 11;
            if (scheda > 0) {
                SelezionaTab(scheda);
                KeyCode = 0;
            }
        }
        if (LinAttuale == 0 && (KeyCode == 88 || KeyCode == 89)) {
            const QString chiave = KeyCode == 88 ? QStringLiteral("Documenti") : QStringLiteral("ApriDoc");
            QAction *a = GestLin(0)->Bottone(chiave);
            if (a && a->isEnabled() && a->isVisible())
                ButtonComandoLin(chiave);
        }
        // The print command of the grid shown, by the key its tooltip names.
        if (PagConLin && (LinAttuale == 0 || LinAttuale == 1) &&
            TastoDelBottone(GestLin(LinAttuale)->Bottone(QStringLiteral("Stampa")), KeyCode, Shift)) {
            KeyCode = 0;
            ButtonComandoLin(QStringLiteral("Stampa"));
        }
    }
    ComandoDaTasto(KeyCode, shift, this, true);
}

void frmClienti::Form_KeyPress(int &KeyAscii)
{
    // Keys typed into a line grid are the grid's own.
    if (FuocoInGriglia(*this))
        return;
    KeyAscii = FiltraTasto(KeyAscii, this, true);
}
