// Payment due dates read from the company database: the Pagamenti row of the
// payment code and the customer's PianoConti row.
#include "totals/ScadUtil.h"

#include "components/db/RecDat.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"

namespace ScadUtil
{

namespace
{

QString sqlTesto(const QString &t)
{
    return Globali::Util().ValoreSql(t, UtilGlob::TipoTesto);
}

int leggiIntero(const RecDat &rs, const QString &h, const QString &campo)
{
    const QVariant v = rs.LeggiCampo(h, campo, 2);
    if (!v.isValid())
        throw VbErrore(3265, QStringLiteral("Elemento non trovato nell'insieme: ") + campo);
    return v.toInt();
}

// Both record sets belong to this one RecDat, so they close on every way out.
void leggiRighe(const QString &psPagamento, const QString &psGruppo, const QString &psMastro,
                const QString &psConto, std::optional<DatiPagamento> &pag, std::optional<DatiCliente> &cli)
{
    RecDat rs;
    const QString hPag = rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(),
                                    QStringLiteral("Select * From Pagamenti Where Pagamenti.Pagamento = ") +
                                        sqlTesto(psPagamento),
                                    false, RecDat::TipoSnapshot);
    if (rs.FineDati(hPag))
        return;
    const QString hCli = rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(),
                                    QStringLiteral("Select * From PianoConti Where") +
                                        QStringLiteral(" PianoConti.Gruppo = ") + sqlTesto(psGruppo) +
                                        QStringLiteral(" And PianoConti.Mastro = ") + sqlTesto(psMastro) +
                                        QStringLiteral(" And PianoConti.Conto = ") + sqlTesto(psConto),
                                    false, RecDat::TipoSnapshot);
    DatiPagamento p;
    p.Decorrenza = rs.LeggiCampo(hPag, QStringLiteral("Decorrenza"), 8).toString();
    p.Periodicita = rs.LeggiCampo(hPag, QStringLiteral("Periodicita"), 8).toString();
    p.NumScad = leggiIntero(rs, hPag, QStringLiteral("NumScad"));
    p.TrattamIva = rs.LeggiCampo(hPag, QStringLiteral("TrattamIva"), 8).toString();
    p.GiornoFisso = leggiIntero(rs, hPag, QStringLiteral("GiornoFisso"));
    p.NumGGMM = leggiIntero(rs, hPag, QStringLiteral("NumGGMM"));
    p.Periodo = QList<int>(qMax(p.NumScad, 0) + 1, 0);
    p.Percentuale = QList<double>(qMax(p.NumScad, 0) + 1, 0.0);
    for (int i = 1; i <= p.NumScad; ++i) {
        p.Periodo[i] = leggiIntero(rs, hPag, QStringLiteral("Periodo") + QString::number(i));
        const QVariant perc = rs.LeggiCampo(hPag, QStringLiteral("Percentuale") + QString::number(i), 5);
        if (!perc.isValid())
            throw VbErrore(3265, QStringLiteral("Elemento non trovato nell'insieme: Percentuale") +
                                     QString::number(i));
        p.Percentuale[i] = perc.toDouble();
    }
    pag = p;
    if (rs.FineDati(hCli))
        return;
    DatiCliente c;
    c.MeseNoEf1 = leggiIntero(rs, hCli, QStringLiteral("MeseNoEf1"));
    c.MeseNoEf2 = leggiIntero(rs, hCli, QStringLiteral("MeseNoEf2"));
    c.GioMesSucc1 = leggiIntero(rs, hCli, QStringLiteral("GioMesSucc1"));
    c.GioMesSucc2 = leggiIntero(rs, hCli, QStringLiteral("GioMesSucc2"));
    cli = c;
}

} // namespace

void CalcScadenze(const QDate &pdtData, double pdImporto, double pdIva, const QString &psPagamento,
                  const QString &psGruppo, const QString &psMastro, const QString &psConto, int piNumDec,
                  QList<QDate> &pdtScad, QList<double> &pdImpScad, int &piNumScad, int &piNumErr,
                  QString &psErrori, int piModoSpesa, Currency puPercSpesa, QList<double> &pvSpesaScad,
                  Currency puArrotSpesa, const QString &psTipoArrot, double pdSpesaMin, double pdSpesaMax,
                  QDate &pdtDecorrenza)
{
    CalcScadenzeCon(
        [&](std::optional<DatiPagamento> &pag, std::optional<DatiCliente> &cli) {
            leggiRighe(psPagamento, psGruppo, psMastro, psConto, pag, cli);
        },
        pdtData, pdImporto, pdIva, psPagamento, psGruppo, psMastro, psConto, piNumDec, pdtScad, pdImpScad,
        piNumScad, piNumErr, psErrori, piModoSpesa, puPercSpesa, pvSpesaScad, puArrotSpesa, psTipoArrot,
        pdSpesaMin, pdSpesaMax, pdtDecorrenza);
}

} // namespace ScadUtil
