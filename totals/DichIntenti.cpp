// Letters-of-intent totals: SQL sums over the sales-document headers, with the
// documents that carry a payment discount recomputed through the footer
// engine in the goods measure.
#include "totals/DichIntenti.h"

#include "totals/scCalcPiedeFat.h"

#include "components/db/RecDat.h"
#include "components/util/Currency.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"

#include <QStringList>

namespace DichIntenti
{

namespace
{

ChiaveCache g_cache;

// Errors met while summing and recomputing, gathered so that one call of
// TotDichIntenti shows them once: the footer engine's per document, and the
// failures that ended a kind's total.
struct Errori {
    QStringList ricalcolo, calcolo;
};
Errori *g_errori = nullptr;

bool uguale(const QString &a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString letteraSql(int n)
{
    return Globali::Util().ValoreSql(n, UtilGlob::TipoIntero);
}

QString sqlTesto(const QString &t)
{
    return Globali::Util().ValoreSql(t, UtilGlob::TipoTesto);
}

double arrotondaEuro(double v)
{
    return Globali::Util().Arrotonda(v, QStringLiteral("A"), 1.0, -Globali::NumDecEuro);
}

QString testoErrori(const Errori &errori)
{
    QString testo;
    if (!errori.calcolo.isEmpty())
        testo += QStringLiteral("Errori nel calcolo dei totali della dichiarazione d'intento:\r\n") +
                 errori.calcolo.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!errori.ricalcolo.isEmpty())
        testo += QStringLiteral("Errori nel ricalcolo dei documenti con sconto pagamento:\r\n") +
                 errori.ricalcolo.join(QString()) +
                 QStringLiteral("I totali della dichiarazione d'intento comprendono i valori calcolati fino "
                                "all'errore.");
    return testo;
}

void mostraErrori(const Errori &errori)
{
    const QString testo = testoErrori(errori);
    if (!testo.isEmpty())
        msgCom(testo, QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
}

// Goods of the discounted documents of one kind, each recomputed by the engine
// less the payment discount spread over its rates.
double merceScontata(scCalcPiedeFat &motore, RecDat &rs, const QString &psTipoDoc, const TabelleDoc &t,
                     double totale)
{
    const QString h =
        rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(),
                   SqlDocScoPagDichInt(t.Testa, psTipoDoc) + t.FiltroStato, false, RecDat::TipoSnapshot);
    while (!rs.FineFile(h)) {
        const int anno = rs.LeggiCampo(h, QStringLiteral("Anno"), 2).toInt();
        const int numRif = rs.LeggiCampo(h, QStringLiteral("NumRif"), 3).toInt();
        const bool negativo = uguale(psTipoDoc, "F") &&
                              rs.LeggiCampo(h, QStringLiteral("Segno"), 8).toString().trimmed() == "-";
        motore.CalcPiedeFat(anno, numRif, false, -1);
        Currency merce = motore.odTotMerce;
        for (const scIva &iva : motore.ogIve->ocCollIva)
            merce -= iva.odScoPagam;
        Currency somma = Currency::fromDouble(totale);
        somma += negativo ? -merce : merce;
        totale = somma.toDouble();
        if (motore.oiNumErrori > 0 && g_errori)
            g_errori->ricalcolo.append(
                QStringLiteral("Documento %1/%2 (%3):\r\n").arg(numRif).arg(anno).arg(t.Testa) +
                motore.osErrori + QStringLiteral("\r\n"));
        rs.MuoviSuccessivo(h);
    }
    rs.ChiudiRec(h);
    return totale;
}

} // namespace

ChiaveCache &DicCacheKey()
{
    return g_cache;
}

void AzzeraCache()
{
    g_cache = ChiaveCache{};
}

TabelleDoc TabelleTipoDoc(const QString &psTipoDoc)
{
    if (uguale(psTipoDoc, "O"))
        return {QStringLiteral("OrdVenTest"), QStringLiteral("OrdVenDett"), QStringLiteral("OrdVenLiv"),
                QStringLiteral("OrdVenSpese"), QStringLiteral(" And Stato Is Null")};
    if (uguale(psTipoDoc, "D"))
        return {QStringLiteral("DdtTest"), QStringLiteral("DdtDett"), QStringLiteral("DdtLiv"),
                QStringLiteral("DdtSpese"),
                QStringLiteral(" And (Stato = ") + sqlTesto(QStringLiteral("S")) +
                    QStringLiteral(" Or Stato Is Null)")};
    return {QStringLiteral("FatTest"), QStringLiteral("FatDett"), QStringLiteral("FatLiv"),
            QStringLiteral("FatSpese"), QString()};
}

QString SqlSommaDocDichInt(const QString &psTabella, const QString &psTipoDoc, const QString &psQualeTot)
{
    const QString &t = psTabella;
    QString sql;
    if (uguale(psTipoDoc, "F")) {
        sql = QStringLiteral("Select sum(TotDocum * iif(FattDocumenti.segno = '-',-1,1)) as Totale") +
              QStringLiteral(", sum(TotMerce * iif(FattDocumenti.segno = '-',-1,1)) as MerceTot") +
              QStringLiteral(", sum(TotIva * iif(FattDocumenti.segno = '-',-1,1)) as IvaTot") +
              QStringLiteral(", sum(TotImpon * iif(FattDocumenti.segno = '-',-1,1)) as ImponTot") +
              QStringLiteral(" From ") + t + QStringLiteral(" Left Join FattDocumenti") +
              QStringLiteral(" on ") + t + QStringLiteral(".FattDocumento = FattDocumenti.FattDocumento");
    } else {
        sql = QStringLiteral("Select sum(TotDocum) as Totale") +
              QStringLiteral(", sum(TotMerce) as MerceTot") + QStringLiteral(", sum(TotIva) as IvaTot") +
              QStringLiteral(", sum(TotImpon) as ImponTot") + QStringLiteral(" From ") + t;
    }
    sql += QStringLiteral(" Where ") + t + QStringLiteral(".GruppoCli = ") + sqlTesto(g_cache.Gruppo);
    sql += QStringLiteral(" And ") + t + QStringLiteral(".MastroCli = ") + sqlTesto(g_cache.Mastro);
    sql += QStringLiteral(" And ") + t + QStringLiteral(".ContoCli = ") + sqlTesto(g_cache.Conto);
    sql += QStringLiteral(" And ") + t + QStringLiteral(".PdcDicIntenti = ") + letteraSql(g_cache.DicIntenti);
    if (uguale(psQualeTot, "M"))
        sql += QStringLiteral(" And (isnull(") + t + QStringLiteral(".ScontoPag) or ") + t +
               QStringLiteral(".ScontoPag = '0')");
    return sql;
}

QString SqlDocScoPagDichInt(const QString &psTabella, const QString &psTipoDoc)
{
    // Invoices carry the sign of their document type, so that a recomputed
    // credit note lowers the goods total as it does in the sums.
    if (uguale(psTipoDoc, "F"))
        return QStringLiteral("Select ") + psTabella + QStringLiteral(".Anno,") + psTabella +
               QStringLiteral(".NumRif,FattDocumenti.Segno") + QStringLiteral(" From ") + psTabella +
               QStringLiteral(" Left Join FattDocumenti on ") + psTabella +
               QStringLiteral(".FattDocumento = FattDocumenti.FattDocumento") +
               QStringLiteral(" Where GruppoCli = ") + sqlTesto(g_cache.Gruppo) +
               QStringLiteral(" And MastroCli = ") + sqlTesto(g_cache.Mastro) +
               QStringLiteral(" And ContoCli = ") + sqlTesto(g_cache.Conto) +
               QStringLiteral(" And PdcDicIntenti = ") + letteraSql(g_cache.DicIntenti) +
               QStringLiteral(" And not isnull(ScontoPag)") + QStringLiteral(" And ScontoPag <> '0'");
    return QStringLiteral("Select Anno,NumRif") + QStringLiteral(" From ") + psTabella +
           QStringLiteral(" Where GruppoCli = ") + sqlTesto(g_cache.Gruppo) +
           QStringLiteral(" And MastroCli = ") + sqlTesto(g_cache.Mastro) +
           QStringLiteral(" And ContoCli = ") + sqlTesto(g_cache.Conto) +
           QStringLiteral(" And PdcDicIntenti = ") + letteraSql(g_cache.DicIntenti) +
           QStringLiteral(" And not isnull(ScontoPag)") + QStringLiteral(" And ScontoPag <> '0'");
}

double CalcTotDocDichInt(const QString &psTipoDoc, const QString &psQualeTot)
{
    Errori errori;
    const bool mostraQui = g_errori == nullptr;
    if (mostraQui)
        g_errori = &errori;
    double totale = 0;
    try {
        scCalcPiedeFat motore;
        const TabelleDoc t = TabelleTipoDoc(psTipoDoc);
        motore.osTabTesta = t.Testa;
        motore.osTabDett = t.Dett;
        motore.osTabLiv = t.Liv;
        motore.osTabSpese = t.Spese;

        RecDat rs;
        const QString h =
            rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(),
                       SqlSommaDocDichInt(motore.osTabTesta, psTipoDoc, psQualeTot) + t.FiltroStato, false,
                       RecDat::TipoSnapshot);
        const auto importo = [&](const char *campo) {
            return Currency::fromVariant(rs.LeggiCampo(h, QLatin1String(campo), 6));
        };
        if (uguale(psQualeTot, "D")) {
            totale = arrotondaEuro(importo("Totale").toDouble());
        } else if (uguale(psQualeTot, "E")) {
            totale = arrotondaEuro((importo("Totale") - importo("IvaTot") - importo("ImponTot")).toDouble());
        } else if (uguale(psQualeTot, "M")) {
            totale = importo("MerceTot").toDouble();
            rs.ChiudiRec(h);
            totale = merceScontata(motore, rs, psTipoDoc, t, totale);
        }
    } catch (const VbErrore &e) {
        g_errori->calcolo.append(TestoMsgErrfrm(e.numero(), e.descrizione()));
        totale = 0;
    } catch (const std::exception &e) {
        g_errori->calcolo.append(TestoMsgErrfrm(0, QString::fromUtf8(e.what())));
        totale = 0;
    }
    if (mostraQui) {
        g_errori = nullptr;
        mostraErrori(errori);
    }
    return totale;
}

void TotDichIntenti(int piDicIntenti, const QString &psGruppoCli, const QString &psMastroCli,
                    const QString &psContoCli, double &pdTotFatture, double &pdTotDdt, double &pdTotOrdini,
                    bool pbRicalcola, QString *errori)
{
    if (errori)
        errori->clear();
    ChiaveCache &c = g_cache;
    const auto stesso = [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    };
    if (stesso(psGruppoCli, c.Gruppo) && stesso(psMastroCli, c.Mastro) && stesso(psContoCli, c.Conto) &&
        piDicIntenti == c.DicIntenti && !pbRicalcola) {
        pdTotFatture = c.TotFatture;
        pdTotDdt = c.TotDdt;
        pdTotOrdini = c.TotOrdini;
        return;
    }
    c.Gruppo = psGruppoCli;
    c.Mastro = psMastroCli;
    c.Conto = psContoCli;
    c.DicIntenti = piDicIntenti;

    if (piDicIntenti == 0) {
        c.TotFatture = c.TotDdt = c.TotOrdini = 0;
        pdTotFatture = pdTotDdt = pdTotOrdini = 0;
        return;
    }
    if (c.QualeTot.trimmed().isEmpty())
        c.QualeTot = LeggiParPersonale(QStringLiteral("Tutti"), QStringLiteral("DichIntentiQualeTot"),
                                       QStringLiteral("D"))
                         .toString();
    if (!uguale(c.QualeTot, "E") && !uguale(c.QualeTot, "M"))
        c.QualeTot = QStringLiteral("D");

    Errori trovati;
    g_errori = &trovati;
    pdTotFatture = c.TotFatture = CalcTotDocDichInt(QStringLiteral("F"), c.QualeTot);
    pdTotDdt = c.TotDdt = CalcTotDocDichInt(QStringLiteral("D"), c.QualeTot);
    pdTotOrdini = c.TotOrdini = CalcTotDocDichInt(QStringLiteral("O"), c.QualeTot);
    g_errori = nullptr;
    if (errori)
        *errori = testoErrori(trovati);
    else
        mostraErrori(trovati);
}

} // namespace DichIntenti
