// Column existence, currency settings and the hourglass pointer.
#include "services/DatiComuni.h"

#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/util/Currency.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"

#include <QCursor>
#include <QGuiApplication>
#include <exception>

bool EsisteCampo(const QString &tabella, const QString &campo, const QString &connessione)
{
    try {
        const QString nome = connessione.isEmpty() ? Globali::DbAzienda : connessione;
        DbMotore *db = Globali::DbComp();
        return db && db->EsisteConnessione(nome) && db->EsisteCampo(nome, tabella, campo);
    } catch (const std::exception &) {
        return false;
    }
}

int DecimaliMoneta(const QString &moneta, const QVariant &numDec)
{
    Currency c;
    const bool intero =
        Currency::leggiValore(numDec, c) == Currency::Lettura::Numero && c.raw() % Currency::Scale == 0;
    const qlonglong n = c.raw() / Currency::Scale;
    if (!intero || n < 0 || n > MaxDecimaliMoneta)
        throw VbErrore(
            VbErrore::ElementoNonTrovato,
            QStringLiteral("La moneta %1 ha un numero di decimali non valido (%2) nella tabella Monete: "
                           "sono ammessi da 0 a %3. Correggere la moneta e riprovare.")
                .arg(moneta.trimmed(), numDec.toString())
                .arg(MaxDecimaliMoneta));
    return int(n);
}

DatiMoneta LeggiDatiMoneta(const QString &moneta)
{
    DatiMoneta d;
    QVariant numDec;
    try {
        RecDat rs;
        const QString sql = QStringLiteral("Select * from Monete") + QStringLiteral(" where moneta = ") +
                            Globali::Util().ValoreSql(moneta, UtilGlob::TipoTesto);
        const QString h =
            rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(), sql, false, RecDat::TipoSnapshot);
        if (!rs.FineDati(h)) {
            numDec = rs.LeggiCampo(h, QStringLiteral("NumDec"));
            if (numDec.isNull())
                numDec = 0;
            d.numDecGest = rs.LeggiCampo(h, QStringLiteral("NumDecGest"), UtilGlob::TipoIntero).toInt();
            d.operatore = rs.LeggiCampo(h, QStringLiteral("Operatore"), UtilGlob::TipoTesto).toString();
            d.cee = rs.LeggiCampo(h, QStringLiteral("Cee"), UtilGlob::TipoTesto).toString();
        }
    } catch (const VbErrore &) {
        // A company database without the currency table behaves as one without the row.
        return DatiMoneta();
    }
    if (numDec.isValid())
        d.numDec = DecimaliMoneta(moneta, numDec);
    return d;
}

int LeggiMoneta(const QString &moneta, int *numDecGest, int *numDec, QString *operatore, QString *cee)
{
    const DatiMoneta d = LeggiDatiMoneta(moneta);
    if (numDecGest)
        *numDecGest = d.numDecGest;
    if (numDec)
        *numDec = d.numDec;
    if (operatore)
        *operatore = d.operatore;
    if (cee)
        *cee = d.cee;
    return d.numDec;
}

void CursoreAttesa(bool flag)
{
    static bool attivo = false;
    if (flag == attivo)
        return;
    if (flag)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    attivo = flag;
}
