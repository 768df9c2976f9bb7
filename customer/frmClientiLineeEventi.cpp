// Events of the customer form's line grids: line commands from the toolbar,
// the keys and the cell checks, the reference-type list of the letters grid,
// the counter and status bar on a row change, the bookmark, and the work
// left for the next turn of the event loop (timVarie).
#include "customer/frmClienti.h"

#include "components/forms/CodiciTasto.h"
#include "components/forms/UtilFinestre.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTableView>
#include <QTimer>

void frmClienti::ButtonComandoLin(GestLinee &griglia, const QString &psKey)
{
    LinAttuale = griglia.Indice();
    ButtonComandoLin(psKey);
}

void frmClienti::ButtonComandoLin(const QString &psKey)
{
    const int g = LinAttuale;
    if (g < 0 || g > 1)
        return;
    GestLinee *lin = GestLin(g);
    CmdLinInCorso[size_t(g)] = psKey;
    // An error of the command's own work (the server lost while a document
    // is looked up) is said here: it never leaves the command's handler.
    try {
        eseguiComandoLin(g, lin, psKey);
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
    CmdLinInCorso[size_t(g)].clear();
}

void frmClienti::eseguiComandoLin(int g, GestLinee *lin, const QString &psKey)
{
    if (psKey.compare(QLatin1String("Documenti"), Qt::CaseInsensitive) == 0) {
        CercaDocumento();
    } else if (psKey.compare(QLatin1String("ApriDoc"), Qt::CaseInsensitive) == 0) {
        ApriDocumento();
    } else {
        ModificaOk[size_t(g)] = true;
        // The cell being edited is committed first: its checks may refuse it,
        // and then no command runs.
        if (lin->EditorAperto() && !lin->ChiudiEditor())
            ModificaOk[size_t(g)] = false;
        // A line whose commit lost its answer is read again first when the
        // server answers now: found saved, it is not sent a second time.
        if (ModificaOk[size_t(g)] && m_verificaLinea[size_t(g)].attesa &&
            (psKey.compare(QLatin1String("Salva"), Qt::CaseInsensitive) == 0 ||
             psKey.compare(QLatin1String("Nuovo"), Qt::CaseInsensitive) == 0))
            verificaLinee_Timer(g);
        int stato = m_comPag ? m_comPag->StatoPagina() : GestPagine::StatoNuovo;
        if (ModificaOk[size_t(g)] && stato == GestPagine::StatoRecord)
            lin->EseguiComando(psKey, QVariant(), false);
        lin->DopoComando(stato);
        if (psKey.compare(QLatin1String("Cancella"), Qt::CaseInsensitive) == 0 &&
            stato == GestPagine::StatoRecord) {
            AzioneLin[size_t(g)] = 1;
            timVarie->start();
        }
    }
}

void frmClienti::dbgRiga_KeyDown(GestLinee &griglia, int &KeyCode, int Shift)
{
    const int i = griglia.Indice();
    if (i < 0 || i > 1)
        return;
    Globali::UltKeyCode = KeyCode;
    Globali::UltShift = Shift;
    ModificaOk[size_t(i)] = true;
    using namespace CodiciTasto;
    switch (KeyCode) {
    case Return:
    case Escape:
        // The cell editor commits or drops the cell; the grid moves on.
        break;
    case Delete:
        // The whole cell selected: the key deletes the line (after asking).
        if (griglia.TestoCella() == griglia.TestoSelezionato()) {
            KeyCode = 0;
            LinAttuale = i;
            ButtonComandoLin(QStringLiteral("Cancella"));
        }
        break;
    default:
        if (KeyCode == F3 || (KeyCode == F2 && (griglia.TestoCella().trimmed().isEmpty() ||
                                                griglia.TestoCella() != griglia.TestoSelezionato()))) {
            DecodLin[size_t(i)] = true;
            DecodHelp(i, griglia.ColonnaCorrente(), KeyCode);
            AzioneLin[size_t(i)] = 3;
            timVarie->start();
            DecodLin[size_t(i)] = false;
        }
        break;
    }
}

void frmClienti::dbgRiga_KeyPress(GestLinee &griglia, int &KeyAscii)
{
    // The keypad's decimal key types the Italian decimal comma in amounts.
    if (griglia.Indice() == 1 && KeyAscii == '.' &&
        griglia.Colonne().value(griglia.ColonnaCorrente()) == QLatin1String("ImportoDichIntenti") &&
        Globali::TastierinoVirgola.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 &&
        Globali::UltKeyCode == CodiciTasto::Decimal && Globali::UltShift == 0)
        KeyAscii = ',';
}

void frmClienti::dbgRiga_BeforeColUpdate(GestLinee &griglia, int ColIndex, const QVariant &OldValue,
                                         bool &Cancel)
{
    const int i = griglia.Indice();
    if (i < 0 || i > 1 || DecodLin[size_t(i)])
        return;
    griglia.PrimaAggiornaColonna(ColIndex, OldValue, Cancel);
    if (!Cancel && !DatiValidi(i, ColIndex, false, OldValue))
        Cancel = true;
    if (Cancel) {
        // Until the next key, command or turn of the event loop, no line
        // command and no save may run over the refused cell.
        AzioneLin[size_t(i)] = 4;
        timVarie->start();
        ModificaOk[size_t(i)] = false;
    }
}

void frmClienti::dbgRiga_ButtonClick(GestLinee &griglia, int ColIndex)
{
    (void)griglia;
    // The reference type of a letter is picked from a list under its cell.
    QTableView *v = dbgRiga(1);
    const QRect cella = v->visualRect(v->currentIndex());
    LisTipoRif->move(v->viewport()->mapTo(this, QPoint(cella.left(), cella.bottom() + 1)));
    LisTipoRif->raise();
    const QVariant valore = GestLin(1)->ValoreCella(ColIndex);
    const UtilGlob &u = Globali::Util();
    if (u.ValoreVuoto(valore, UtilGlob::TipoTesto, 1, false)) {
        LisTipoRif->setCurrentRow(0);
    } else {
        // A value that is no reference type leaves the list as it is.
        const int riga = int(u.ValoreNumerico(valore)) - 1;
        if (riga >= 0 && riga < LisTipoRif->count())
            LisTipoRif->setCurrentRow(riga);
    }
    LisTipoRif->show();
    LisTipoRif->setFocus();
}

void frmClienti::dbgRiga_RowColChange(GestLinee &griglia, int LastRow, int LastCol)
{
    const int i = griglia.Indice();
    if (i < 0 || i > 1)
        return;
    LinAttuale = i;
    QString a, b;
    griglia.CambioRigaColonna(LastRow, LastCol, 0, a, b);
    txtRiga(i)->setText(b + QStringLiteral(" / ") + a);
    const bool rif =
        i == 1 && griglia.Colonne().value(griglia.ColonnaCorrente()) == QLatin1String("RifComunicIntenti");
    ScriviPannello(
        QStringLiteral("DescrCampo"),
        rif ? QString::fromUtf8("1=Una sola operazione, 2=più operazioni, 3=operazioni di un periodo")
            : QString());
    if (i == 1)
        MostraTotaliDichIntenti();
}

void frmClienti::dbgRiga_DblClick(GestLinee &griglia)
{
    dbgRiga_DblClick(griglia.Indice());
}

void frmClienti::dbgRiga_DblClick(int Index)
{
    if (Index != 0)
        return;
    // The document opens once the double click is over (the documents grid
    // opens no editor for it) and what was typed meanwhile has reached the
    // grid: a message about the document then takes the focus from there on,
    // and keys typed before it showed are never taken as its answer.
    UtilFinestre::UnoShot(this, [this] {
        const QPointer<frmClienti> io(this);
        QCoreApplication::processEvents();
        if (io)
            io->ApriDocumento();
    });
}

void frmClienti::dbgRiga_UnboundReadData(GestLinee &griglia)
{
    const int g = griglia.Indice();
    if (g < 0 || g > 1)
        return;
    if (AzioneLin[size_t(g)] == 0)
        AzioneLin[size_t(g)] = 2;
    timVarie->start();
}

void frmClienti::ovfrmBookmark(const QString &psBookmark)
{
    if (!PagConLin || LinAttuale < 0 || LinAttuale > 1)
        return;
    BookmarkLin[size_t(LinAttuale)] = psBookmark;
    if (QAction *a = GestLin(LinAttuale)->Bottone(QStringLiteral("VaiA")))
        a->setEnabled(!psBookmark.isEmpty());
}

QString frmClienti::ovfrmBookmark()
{
    if (!PagConLin || LinAttuale < 0 || LinAttuale > 1)
        return {};
    return BookmarkLin[size_t(LinAttuale)];
}

int frmClienti::oiStaAtt()
{
    return Globali::StaAtt;
}

void frmClienti::timVarie_Timer()
{
    timVarie->stop();
    const int g = LinAttuale;
    if (g < 0 || g > 1)
        return;
    switch (AzioneLin[size_t(g)]) {
    case 1:
        CursoreAttesa(true);
        GestLin(g)->LavoroDifferito();
        CursoreAttesa(false);
        break;
    case 2:
        AggApproxCount();
        break;
    case 4:
        ModificaOk[size_t(g)] = true;
        break;
    default:
        break;
    }
    AzioneLin[size_t(g)] = 0;
}
