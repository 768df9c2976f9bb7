// The default handling of a line grid's events by its owner.
#include "components/linee/ChiamanteLinee.h"

#include "components/linee/GestLinee.h"
#include "components/util/VbErrore.h"

namespace
{

constexpr int ErroreRecordEliminato = 3167; // the record set's "record deleted"

} // namespace

QVariant ChiamanteLinee::ColToSourceField(int piColIndex)
{
    (void)piColIndex;
    return {};
}

bool ChiamanteLinee::DatiValidi(int ColIndex, bool flag, const QVariant &OldValue)
{
    (void)ColIndex, (void)flag, (void)OldValue;
    return true;
}

bool ChiamanteLinee::VerifPrimaUpdate(GestLinee &griglia, bool &Cancel)
{
    if (!VerifUpdate() || !griglia.ConfermaSalva(true))
        Cancel = true;
    return Cancel;
}

QVariant ChiamanteLinee::DatiErrore(GestLinee &griglia, int &DataError, int &Response)
{
    return griglia.ErroreGriglia(DataError, Response);
}

void ChiamanteLinee::ButtonComandoLin(GestLinee &griglia, const QString &psKey)
{
    int stato = 1;
    griglia.EseguiComando(psKey, {}, false);
    griglia.DopoComando(stato);
}

void ChiamanteLinee::dbgRiga_BeforeColUpdate(GestLinee &griglia, int ColIndex, const QVariant &OldValue,
                                             bool &Cancel)
{
    griglia.PrimaAggiornaColonna(ColIndex, OldValue, Cancel);
    if (!Cancel && !DatiValidi(ColIndex, false, OldValue))
        Cancel = true;
}

void ChiamanteLinee::dbgRiga_HeadClick(GestLinee &griglia, int ColIndex)
{
    QString sql;
    int esito = 1;
    try {
        esito = griglia.OrdinaSuColonna(ColIndex, sql);
    } catch (...) {
        esito = 1;
    }
    if (esito > 0)
        griglia.Chiedi(QStringLiteral("Impossibile ordinare su questo campo"), {QStringLiteral("&Ok")}, 1);
}

void ChiamanteLinee::ovDatiValueVet(QVariantList &pvBuff, int plColonne)
{
    pvBuff.clear();
    for (int i = 0; i < plColonne; ++i) {
        try {
            pvBuff << ovDatiValue(i);
        } catch (const VbErrore &e) {
            // Another desk deleted the row after it was read: the line says so
            // and the others are read on.
            if (e.numero() != ErroreRecordEliminato)
                throw;
            pvBuff << QVariant(RigaCancellata);
        }
    }
}
