// What the line-grid engine needs of the form that owns the grid: the record
// layer it reaches the rows through (the Dati* callbacks) and the grid events
// the form may add its own work to.
#pragma once

#include "components/stampa/StatoStampa.h"

#include <QString>
#include <QVariant>

class GestLinee;

// The rows of a grid live in the owner's record set; the engine only calls
// these members. An owner with several grids is told which one is about to
// call (GrigliaAttiva) before every batch of calls, so its callbacks can act
// on that grid. The engine keeps its own copy of the rows and never calls
// back while the grid paints.
class ChiamanteLinee
{
  public:
    virtual ~ChiamanteLinee() = default;

    // The grid whose engine is about to call.
    virtual void GrigliaAttiva(GestLinee *griglia) { (void)griglia; }

    // ---- Record layer ----

    // Opens (or re-opens) the rows; `pvOrdin` replaces the ORDER BY clause,
    // `pbVuoto` opens with no rows.
    virtual QVariant DatiPrepara(const QVariant &pvOrdin, bool pbVuoto) = 0;
    virtual void DatiRequery() = 0;
    // 0 first, 1 last, 2 next, 3 previous row.
    virtual void DatiMove(int piTipoMov) = 0;
    virtual void DatiEdit() = 0;
    virtual void DatiAddNew() = 0;
    // Checks and writes the row being edited; False when it was not written.
    virtual bool DatiUpdate() = 0;
    virtual void DatiAnnEdit() = 0;
    virtual void DatiDelete() = 0;
    // Re-opens the rows sorted on a column: 0 done, anything else refused.
    virtual int DatiOrdinaSql(const QVariant &pvColIndex) = 0;
    // Value of a column (by name or index) of the current row, and its write.
    virtual QVariant ovDatiValue(const QVariant &pvCampo) = 0;
    virtual void ovDatiValue(const QVariant &pvCampo, const QVariant &valore) = 0;
    // Zero-based position of the current row, and the move to one.
    virtual int olRecPosition() = 0;
    virtual void olRecPosition(int posizione) = 0;
    virtual int olNumRecTot() = 0;
    // The row just added (and written) becomes the current row.
    virtual void DatiMoveRecNew() {}
    // True when the rows have no current row (none at all, or past either end).
    virtual bool obRecNoVal() { return false; }
    // The first `plColonne` values of the current row, by position, in one
    // call. A value of a row deleted meanwhile reads RigaCancellata; any other
    // failure propagates. The default reads them one by one (ovDatiValue).
    virtual void ovDatiValueVet(QVariantList &pvBuff, int plColonne);
    static inline const QString RigaCancellata = QStringLiteral("#Cancellato");

    // ---- Columns, bookmarks, print state ----

    // Lays out the columns (captions, widths, hidden columns) through the
    // engine's column operations.
    virtual void PersColonne() {}
    // Field behind a column (empty when none).
    virtual QVariant ColToSourceField(int piColIndex);
    virtual void ovfrmBookmark(const QString &psBookmark) { m_bookmark = psBookmark; }
    virtual QString ovfrmBookmark() { return m_bookmark; }
    // Print-running state shared by the windows, read only: the print
    // engine alone sets and clears it.
    virtual int oiStaAtt() { return StatoStampa::StaAtt(); }
    virtual void DatRefresh() { PersColonne(); }

    // ---- Checks ----

    // A cell's new value; False refuses it (the owner says why).
    virtual bool DatiValidi(int ColIndex, bool flag, const QVariant &OldValue);
    // The owner's check before a row is written; True lets it be written.
    virtual bool VerifUpdate() { return true; }
    // What DatiUpdate asks before writing: Cancel True refuses.
    virtual bool VerifPrimaUpdate(GestLinee &griglia, bool &Cancel);
    // A data error of the grid; the default hands it to the engine.
    virtual QVariant DatiErrore(GestLinee &griglia, int &DataError, int &Response);

    // ---- Grid events: the engine has done its own part first ----

    // Line commands from the toolbar, the Delete key and the pending-line
    // save; the default runs the engine's command and after-command.
    virtual void ButtonComandoLin(GestLinee &griglia, const QString &psKey);
    // Before a cell is written: Cancel True refuses it. The default runs the
    // engine's own part (PrimaAggiornaColonna) and then asks DatiValidi.
    virtual void dbgRiga_BeforeColUpdate(GestLinee &griglia, int ColIndex, const QVariant &OldValue,
                                         bool &Cancel);
    virtual void dbgRiga_AfterColUpdate(GestLinee &griglia, int ColIndex) { (void)griglia, (void)ColIndex; }
    // A key in the grid, or in its open cell editor, before either handles
    // it; KeyCode 0 consumes it.
    virtual void dbgRiga_KeyDown(GestLinee &griglia, int &KeyCode, int Shift)
    {
        (void)griglia, (void)KeyCode, (void)Shift;
    }
    // The character a key types (its code), before it reaches the cell; the
    // owner may change it, 0 drops it.
    virtual void dbgRiga_KeyPress(GestLinee &griglia, int &KeyAscii) { (void)griglia, (void)KeyAscii; }
    // The current row or column changed (also after the rows were read again,
    // with LastRow -1); the counter already shows the new row.
    virtual void dbgRiga_RowColChange(GestLinee &griglia, int LastRow, int LastCol)
    {
        (void)griglia, (void)LastRow, (void)LastCol;
    }
    // A header click; the default sorts and says when it cannot.
    virtual void dbgRiga_HeadClick(GestLinee &griglia, int ColIndex);
    // The drop-down button of a cell (columns given one by ColonnaConPulsante).
    virtual void dbgRiga_ButtonClick(GestLinee &griglia, int ColIndex) { (void)griglia, (void)ColIndex; }
    virtual void dbgRiga_DblClick(GestLinee &griglia) { (void)griglia; }
    // A new row was started: the owner writes its defaults (ImpostaValoreCella).
    virtual void dbgRiga_OnAddNew(GestLinee &griglia) { (void)griglia; }
    // Rows were read into the grid (the owner may refresh its counts).
    virtual void dbgRiga_UnboundReadData(GestLinee &griglia) { (void)griglia; }

    // ---- Owner commands the toolbar reaches ----

    virtual void ChiudiFrm() {}
    virtual void MenuFrm() {}

  private:
    QString m_bookmark;
};
