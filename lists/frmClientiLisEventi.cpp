// The customer list window's commands, grid events, timers, keys and the
// handling of its search fields.
#include "lists/frmClientiLis.h"

#include "components/forms/AdattatoreEventi.h"
#include "components/forms/ColoriVb.h"
#include "components/lista/GestLista.h"
#include "components/lista/ListaPagine.h"
#include "components/pagine/MessaggioComponente.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Colori.h"
#include "services/Focus.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Tasti.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

namespace
{

bool impostazioneAttiva(const QString &valore)
{
    return valore.trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

} // namespace

void frmClientiLis::ButtonComando(const QString &psKey)
{
    QWidget *attivo = QApplication::focusWidget();
    if (attivo && attivo->window() != this)
        attivo = nullptr;
    NomeCtlAttivo = NomeControllo(attivo);
    if (NomeCtlAttivo == QLatin1String("txt") && txt.Contiene(attivo)) {
        const int i = IndiceControllo(attivo);
        txt_LostFocus(i);
        IndiceTxtAttivo = i;
    } else {
        IndiceTxtAttivo = -1;
    }
    ComandoInCorso = psKey;
    bool esegui = true;
    if (psKey.compare(QLatin1String("Stampa"), Qt::CaseInsensitive) == 0) {
        // An empty list is not printed, and the user is told why nothing
        // happens. A count that fails is ignored: the list's own reads report
        // a failing list.
        int righe = -1;
        try {
            righe = ogComlin->RecordCount();
        } catch (const VbErrore &) {
            righe = -1;
        }
        if (righe == 0)
            msgCom(
                QStringLiteral("La lista è vuota e non c'è nulla da stampare: cambiare i criteri di ricerca "
                               "e aggiornarla."));
        esegui = righe > 0;
    }
    if (esegui) {
        ogComlin->EseguiComandoLista(psKey);
        try {
            ogLisPag->InoltraComando(psKey);
        } catch (const VbErrore &) {
        }
    }
    ComandoInCorso.clear();
    // The field that had the focus gets its focus handling back, also after
    // a print refused for an empty list.
    if (!InChiusura) {
        AzioneTimer = 2;
        timVarie->start();
    }
}

// ---- Grid ----

void frmClientiLis::dbgRiga_Click()
{
    if (impostazioneAttiva(Globali::LisClickNoSel))
        return;
    AzioneTimer = 1;
    timVarie->start();
}

void frmClientiLis::dbgRiga_DblClick()
{
    AzioneTimer = 1;
    timVarie->start();
}

void frmClientiLis::dbgRiga_KeyDown(int &KeyCode, int Shift)
{
    (void)Shift;
    DaTastiera = 1;
    if (KeyCode == 13) {
        dbgRiga_Click();
        KeyCode = 0;
    }
}

// A header click sorts; it is never a click on the row below it. The flag
// lasts until the events of that click have been handled.
void frmClientiLis::dbgRiga_HeadClick(int ColIndex)
{
    FlagIntestazione = 1;
    QTimer::singleShot(0, this, [this] { FlagIntestazione = 0; });
    int esito = 1;
    try {
        esito = ogComlin->OrdinaPerColonna(ColIndex, m_sql);
    } catch (const VbErrore &) {
        esito = 1;
    }
    if (esito == 1)
        ChiediUtente({}, QStringLiteral("Impossibile ordinare su questo campo"), {QStringLiteral("OK")}, 1,
                     this);
}

void frmClientiLis::dbgRiga_ColResize(int ColIndex)
{
    (void)ColIndex;
    FlagIntestazione = 1;
    QTimer::singleShot(0, this, [this] { FlagIntestazione = 0; });
}

void frmClientiLis::dbgRiga_RowColChange(int LastRow, int LastCol)
{
    QString corrente, totale;
    ogComlin->CambioRiga(LastRow, LastCol, corrente, totale);
    const QString testo = corrente + QStringLiteral(" / ") + totale;
    if (txtRiga->text() != testo)
        txtRiga->setText(testo);
}

void frmClientiLis::dbgRiga_MouseMove(int y)
{
    if (!impostazioneAttiva(Globali::LisSpostaCurs))
        return;
    if (DaTastiera == 1) {
        DaTastiera = 0;
        return;
    }
    const int riga = dbgRiga->rowAt(y);
    if (riga < 0 || riga == dbgRiga->currentIndex().row())
        return;
    const int col = dbgRiga->currentIndex().isValid() ? dbgRiga->currentIndex().column() : 0;
    dbgRiga->setCurrentIndex(dbgRiga->model()->index(riga, col));
}

// ---- Timers ----

void frmClientiLis::timVarie_Timer()
{
    timVarie->stop();
    if (AzioneTimer == 1) {
        if (!FlagIntestazione)
            ButtonComando(QStringLiteral("Seleziona"));
        FlagIntestazione = 0;
        // Selecting arms the focus replay itself; it does not wait here.
        if (AzioneTimer == 2)
            return;
    } else if (AzioneTimer == 2 && IndiceTxtAttivo >= 0) {
        QWidget *attivo = QApplication::focusWidget();
        if (NomeCtlAttivo == QLatin1String("txt") && txt.Contiene(attivo) &&
            IndiceControllo(attivo) == IndiceTxtAttivo)
            txt_GotFocus(IndiceTxtAttivo);
        NomeCtlAttivo.clear();
        IndiceTxtAttivo = -1;
    }
    AzioneTimer = 0;
}

void frmClientiLis::resizeEvent(QResizeEvent *ev)
{
    QWidget::resizeEvent(ev);
    timResize->start();
}

void frmClientiLis::timResize_Timer()
{
    timResize->stop();
    if (ogComlin && ogLisPag)
        ogComlin->Disponi(ogLisPag->AreaLista());
}

// ---- Keys ----

void frmClientiLis::Form_KeyDown(int &KeyCode, int Shift)
{
    int shift = Shift;
    if (GestisciTastiCtrl(KeyCode, shift, this) > 0)
        return;
    DaTastiera = 1;
    if (ogComlin && TastoDelBottone(ogComlin->Bottone(QStringLiteral("Stampa")), KeyCode, shift)) {
        KeyCode = 0;
        ButtonComando(QStringLiteral("Stampa"));
        return;
    }
    ComandoDaTasto(KeyCode, shift, this);
}

void frmClientiLis::Form_KeyPress(int &KeyAscii)
{
    KeyAscii = FiltraTasto(KeyAscii, this);
}

// ---- Search fields ----

void frmClientiLis::txt_GotFocus(int Index)
{
    QLineEdit *t = txt(Index);
    if (Index == 10 || Index == 20) {
        t->setText(Globali::Util().FormattaValore(t->text(), QStringLiteral("Conto")));
        ColoriVb::ImpostaBackColor(t, Globali::ColBackNormale);
    }
    SelezionaTesto(t);
    ColoraCampi(t);
}

void frmClientiLis::txt_LostFocus(int Index)
{
    // A command started from this field has checked it already.
    if (IndiceTxtAttivo >= 0)
        return;
    QLineEdit *t = txt(Index);
    ColoreCampo(t);
    if (Index == 10 || Index == 20) {
        ColoriVb::ImpostaBackColor(t, t->text().contains(QLatin1Char('-')) ? Globali::ColBackErrore
                                                                           : Globali::ColBackNormale);
        t->setText(Globali::Util().FormattaMaschera(t->text(), QStringLiteral("Conto")));
    } else if (Index == 60 || Index == 65) {
        int modo = 1;
        ControllaCampoData(t, UtilGlob::TipoData, modo);
    }
}

// Enter in a search field applies the search.
void frmClientiLis::txt_KeyDown(int Index, int &KeyCode, int Shift)
{
    (void)Index;
    if (KeyCode == 13 && Shift == 0) {
        KeyCode = 0;
        ButtonComando(QStringLiteral("Aggiorna"));
    }
}

void frmClientiLis::txtCerca_GotFocus()
{
    SelezionaTesto(txtCerca);
    ColoraCampi(txtCerca);
}

void frmClientiLis::txtCerca_LostFocus()
{
    ColoreCampo(txtCerca);
}
