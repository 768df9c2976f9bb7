// The history writer: one PdcStorico row with the name and address an account
// had before a change, dated with the working date, at most one per day (the
// table's unique key on account and date).
#include "customer/frmClienti.h"

#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
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

// Inside the save's transaction the notice waits for it to end (the caller
// holds notices back), as the error box below does.
void giaArchiviata()
{
    msgCom(QString::fromUtf8("In data di oggi l'anagrafica è già stata archiviata.") +
               QStringLiteral("\r\n") + QString::fromUtf8("Non è possibile archiviarla di nuovo."),
           QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
}

// The account already has its history row of that day (key and date as SQL
// literals).
bool giaInStorico(const QString &gruppo, const QString &mastro, const QString &conto, const QString &data)
{
    RecDat rs;
    const QString h =
        rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, {},
                   QStringLiteral("Select Conto From PdcStorico Where Gruppo = ") + gruppo +
                       QStringLiteral(" And Mastro = ") + mastro + QStringLiteral(" And Conto = ") + conto +
                       QStringLiteral(" And DataVar = ") + data,
                   false, RecDat::TipoSnapshot);
    const bool trovata = !rs.FineDati(h);
    rs.ChiudiRec(h);
    return trovata;
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
        QStringList valori = {
            u.ValoreSql(txt(10)->text()), u.ValoreSql(txt(20)->text()), u.ValoreSql(txt(30)->text()),
            u.ValoreSql(Globali::DataMenu, UtilGlob::TipoData), u.ValoreSql(QStringLiteral("2"))};
        for (const char *campo : kCampi) {
            const QVariant v = rec && !handle.isEmpty() && !rec->NessunRecord(handle)
                                   ? rec->LeggiCampo(handle, QString::fromLatin1(campo), UtilGlob::TipoTesto)
                                   : QVariant(QString());
            valori << u.ValoreSql(v.toString());
        }
        // A row of the same day is looked for first rather than provoked as a
        // refused insert: on a server each refusal is an error in its log.
        if (giaInStorico(valori[0], valori[1], valori[2], valori[3])) {
            giaArchiviata();
            return true;
        }
        const QString sql =
            QStringLiteral("Insert into PdcStorico") + QStringLiteral("(Gruppo") +
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
        // Another desk's lock is the caller's to say, with the save's words.
        if (e.numero() == ErroriDb::RecordBloccato || e.numero() == ErroriDb::BloccatoDaAltroUtente)
            throw;
        // The table's key (account and day) refuses a second row of the same
        // day when two users save at once. A server may report it as a
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
