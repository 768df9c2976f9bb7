// The history writer: one PdcStorico row with the name and address an account
// had before a change, dated with the working date, at most one per day (the
// table's unique key on account and date).
#include "customer/frmClienti.h"

#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QLineEdit>

namespace
{

const char *const kCampi[] = {"Descrizione", "RagSoc", "RagSoc2", "Indirizzo", "CAP",
                              "Localita",    "Pr",     "Stato",   "Comune"};

void giaArchiviata()
{
    msgCom(QString::fromUtf8("In data di oggi l'anagrafica è già stata archiviata.") + QStringLiteral("\r\n") +
               QString::fromUtf8("Non è possibile archiviarla di nuovo."),
           QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
}

} // namespace

QVariant frmClienti::ScriviStorico()
{
    const UtilGlob &u = Globali::Util();
    DbMotore *db = Globali::DbComp();
    try {
        GestPagine *pag = ogComPag();
        // The previous values are the stored row's as this save's transaction
        // finds it, not the form's copy read earlier: another desk may have
        // changed it since.
        RecDat *rec = pag->RecordsetPagina();
        const QString handle = pag->RileggiMemorizzato();
        QStringList valori = {u.ValoreSql(txt(10)->text()), u.ValoreSql(txt(20)->text()),
                              u.ValoreSql(txt(30)->text()), u.ValoreSql(Globali::DataMenu, UtilGlob::TipoData),
                              u.ValoreSql(QStringLiteral("2"))};
        for (const char *campo : kCampi) {
            const QVariant v = rec && !handle.isEmpty() && !rec->NessunRecord(handle)
                                   ? rec->LeggiCampo(handle, QString::fromLatin1(campo), UtilGlob::TipoTesto)
                                   : QVariant(QString());
            valori << u.ValoreSql(v.toString());
        }
        const QString sql = QStringLiteral("Insert into PdcStorico") + QStringLiteral("(Gruppo") +
                            QStringLiteral(", Mastro") + QStringLiteral(", Conto") + QStringLiteral(", DataVar") +
                            QStringLiteral(", Tipo") + QStringLiteral(", Descrizione") + QStringLiteral(", RagSoc") +
                            QStringLiteral(", RagSoc2") + QStringLiteral(", Indirizzo") + QStringLiteral(", CAP") +
                            QStringLiteral(", Localita") + QStringLiteral(", Pr") + QStringLiteral(", Stato") +
                            QStringLiteral(", Comune") + QStringLiteral(")") + QStringLiteral(" VALUES ") +
                            QStringLiteral("(") + valori.join(QLatin1Char(',')) + QStringLiteral(")");
        db->EseguiSql(Globali::DbAzienda, sql);
        if (db->RecordsAffected(Globali::DbAzienda) > 0) {
            ++NumStorico;
            return true;
        }
        return false;
    } catch (const VbErrore &e) {
        // The table's key (account and day) refuses a second row of the same
        // day, also when two users save at once. A server may report it as a
        // failed ODBC call; any other failed call is a real error.
        const bool doppione = e.numero() == VbErrore::ChiaveDuplicata ||
                              (e.numero() == VbErrore::ChiamataOdbcFallita &&
                               (e.descrizione().contains(QLatin1String("23505")) ||
                                e.descrizione().contains(QLatin1String("duplicate"), Qt::CaseInsensitive) ||
                                e.descrizione().contains(QLatin1String("unique"), Qt::CaseInsensitive)));
        if (doppione) {
            giaArchiviata();
            return true;
        }
        MsgErrfrm(e);
        return false;
    }
}
