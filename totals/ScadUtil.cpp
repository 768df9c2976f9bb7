// Payment due dates: the Decorrenza/Periodicita/TrattamIva rules of a payment
// code, the customer's excluded months, and the per-instalment charge.
#include "totals/ScadUtil.h"

#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/Importi.h"

#include <cmath>
#include <exception>
#include <functional>
#include <optional>

namespace ScadUtil
{

namespace
{

const QString FaseCalcolo = QStringLiteral("Calcolo scadenze");

bool uguale(const QString &codice, const char *lettera)
{
    return codice.trimmed().compare(QLatin1String(lettera), Qt::CaseInsensitive) == 0;
}

// Day numbers beyond the month run into the next one, as a date built from parts does.
QDate dataDaParti(int anno, int mese, int giorno)
{
    return QDate(anno, 1, 1).addMonths(mese - 1).addDays(giorno - 1);
}

QDate fineMese(const QDate &d)
{
    return Globali::Util().FineMese(d);
}

// The arguments of one call, as the caller passed them.
struct Argomenti {
    const QDate &pdtData;
    double pdImporto;
    double pdIva;
    const QString &psPagamento, &psGruppo, &psMastro, &psConto;
    int piNumDec;
    QList<QDate> &pdtScad;
    QList<double> &pdImpScad;
    int &piNumScad;
    int &piNumErr;
    QString &psErrori;
    int piModoSpesa;
    Currency puPercSpesa;
    QList<double> &pvSpesaScad;
    Currency puArrotSpesa;
    const QString &psTipoArrot;
    double pdSpesaMin, pdSpesaMax;
    QDate &pdtDecorrenza;
};

// One run of the calculation; the rows come from a reader that may throw.
class Calcolo
{
  public:
    explicit Calcolo(Argomenti &a) : a(a) {}
    void esegui(const LettoreRighe &leggi);

  private:
    Argomenti &a;
    ErroriScadenze m_err;
    std::optional<DatiPagamento> m_pag;
    std::optional<DatiCliente> m_cli;
    bool m_ripristina = false;
    QDate m_dataSalvata;
    QDate m_corrente;

    void calcola();
    void azzeraUscite();
    QDate passoData(int k);
    double spesa(int k) const;
    double arrotonda(double v) const
    {
        return Globali::Util().Arrotonda(v, QStringLiteral("A"), 1.0, -a.piNumDec);
    }
};

void Calcolo::azzeraUscite()
{
    a.piNumScad = 0;
    a.pdImpScad = QList<double>(1, 0.0);
    a.pdtScad = QList<QDate>(1, QDate());
    if (a.piModoSpesa == SpesaCalcolata)
        a.pvSpesaScad = QList<double>(1, 0.0);
}

void Calcolo::esegui(const LettoreRighe &leggi)
{
    if (a.piModoSpesa == SpesaData)
        for (int i = 1; i < a.pvSpesaScad.size(); ++i)
            a.pdImporto -= a.pvSpesaScad[i];

    m_err = ErroriScadenze{};
    m_err.FaseScad = FaseCalcolo;
    m_ripristina = false;

    try {
        if (a.psPagamento.isEmpty()) {
            azzeraUscite();
        } else {
            azzeraUscite();
            leggi(m_pag, m_cli);
            if (!m_pag) {
                AccodaErrScad(m_err, 0, QStringLiteral("Manca il pagamento con codice :") + a.psPagamento);
            } else if (!m_cli) {
                AccodaErrScad(m_err, 0,
                              QStringLiteral("Manca il cliente con codice :") + a.psGruppo +
                                  QLatin1Char('-') + a.psMastro + QLatin1Char('-') + a.psConto);
            } else {
                calcola();
            }
        }
    } catch (const VbErrore &e) {
        AccodaErrScad(m_err, e.numero(), e.descrizione());
    } catch (const std::exception &e) {
        AccodaErrScad(m_err, VbErrore::TipoNonCorrispondente, QString::fromUtf8(e.what()));
    }
    a.piNumErr = m_err.NumErrScad;
    a.psErrori = m_err.ErroriScad;
}

double Calcolo::spesa(int k) const
{
    const double base = a.puPercSpesa.toDouble() * a.pdImpScad.at(k) / 100.0;
    return LimitaImporto(a.pdSpesaMin, a.pdSpesaMax,
                         Globali::Util().Arrotonda(base, a.psTipoArrot, a.puArrotSpesa));
}

QDate Calcolo::passoData(int k)
{
    const DatiPagamento &p = *m_pag;
    if (m_ripristina) {
        m_ripristina = false;
        m_corrente = m_dataSalvata;
    }
    const bool fineMeseDopo = (uguale(p.Decorrenza, "F") || uguale(p.Decorrenza, "S")) && p.GiornoFisso == 0;
    if (uguale(p.Periodicita, "M")) {
        m_corrente = m_corrente.addMonths(p.NumGGMM);
        if (fineMeseDopo)
            m_corrente = fineMese(m_corrente);
    } else if (uguale(p.Periodicita, "T")) {
        m_corrente = m_corrente.addMonths(p.Periodo.value(k));
        if (fineMeseDopo)
            m_corrente = fineMese(m_corrente);
    } else if (uguale(p.Periodicita, "G")) {
        m_corrente = m_corrente.addDays(p.NumGGMM);
    } else if (uguale(p.Periodicita, "A")) {
        m_corrente = m_corrente.addDays(p.Periodo.value(k));
    }

    const DatiCliente &c = *m_cli;
    QDate scadenza = m_corrente;
    const int m = m_corrente.month();
    if (m == c.MeseNoEf1 || m == c.MeseNoEf2) {
        scadenza = m_corrente.addMonths(1);
        int giorno = 0;
        if (p.GiornoFisso > 0) {
            giorno = p.GiornoFisso;
            const int sostituto = m == c.MeseNoEf1 ? c.GioMesSucc1 : c.GioMesSucc2;
            if (sostituto > 0) {
                giorno = sostituto;
                m_dataSalvata = m_corrente;
                m_ripristina = true;
            }
        } else {
            giorno = m == c.MeseNoEf1 ? c.GioMesSucc1 : c.GioMesSucc2;
            if (giorno > 0) {
                m_dataSalvata = m_corrente;
                m_ripristina = true;
            }
        }
        if (giorno != 0)
            scadenza = dataDaParti(scadenza.year(), scadenza.month(), giorno);
        m_corrente = scadenza;
    }
    return scadenza;
}

void Calcolo::calcola()
{
    const DatiPagamento &p = *m_pag;
    const bool conSpesa = a.piModoSpesa == SpesaCalcolata;
    const bool sommaSpesa = a.piModoSpesa >= SpesaCalcolata;

    if (p.NumScad < 0) {
        AccodaErrScad(m_err, 0,
                      QStringLiteral("Numero di scadenze non valido per il pagamento con codice :") +
                          a.psPagamento);
        return;
    }

    if (p.NumScad == 0) {
        a.piNumScad = 1;
        a.pdImpScad = QList<double>(2, 0.0);
        a.pdtScad = QList<QDate>(2, QDate());
        a.pdImpScad[1] = arrotonda(a.pdImporto + a.pdIva);
        a.pdtScad[1] = a.pdtData;
        if (conSpesa) {
            a.pvSpesaScad = QList<double>(2, 0.0);
            a.pvSpesaScad[1] = spesa(1);
        }
        if (sommaSpesa)
            a.pdImpScad[1] += a.pvSpesaScad.at(1);
        a.pdtDecorrenza = a.pdtData;
        return;
    }

    const int n = p.NumScad;
    a.piNumScad = n;
    QString trattamIva = p.TrattamIva;
    if (uguale(trattamIva, "U") && n == 1)
        trattamIva = QStringLiteral("P");

    a.pdtScad = QList<QDate>(n + 1, QDate());
    a.pdImpScad = QList<double>(n + 1, 0.0);
    if (conSpesa)
        a.pvSpesaScad = QList<double>(n + 1, 0.0);
    if (p.Periodo.size() <= n || p.Percentuale.size() <= n)
        throw VbErrore(3265, QStringLiteral("Elemento non trovato nell'insieme corrispondente al nome o al "
                                            "numero richiesto: Periodo%1")
                                 .arg(qMin(p.Periodo.size(), p.Percentuale.size())));

    m_corrente = a.pdtData;
    const int gf = p.GiornoFisso;
    if (uguale(p.Decorrenza, "F")) {
        m_corrente = fineMese(a.pdtData);
        if (gf > 0)
            m_corrente = m_corrente.addDays(gf);
    } else if (uguale(p.Decorrenza, "S")) {
        m_corrente = fineMese(fineMese(a.pdtData).addDays(1));
        if (gf > 0)
            m_corrente = m_corrente.addDays(gf);
    } else if (uguale(p.Decorrenza, "D") && gf >= 1) {
        m_corrente = gf < a.pdtData.day() ? dataDaParti(a.pdtData.year(), a.pdtData.month() + 1, gf)
                                          : dataDaParti(a.pdtData.year(), a.pdtData.month(), gf);
    }
    a.pdtDecorrenza = m_corrente;

    double resto = a.pdImporto;
    int primo = 1;
    const bool u = uguale(trattamIva, "U");
    if (u) {
        a.pdtScad[1] = passoData(1);
        a.pdImpScad[1] = arrotonda(a.pdIva);
        if (conSpesa)
            a.pvSpesaScad[1] = spesa(1);
        primo = 2;
    } else if (!uguale(trattamIva, "P")) {
        resto = a.pdImporto + a.pdIva;
    }

    const double daRipartire = resto;
    if (uguale(p.Periodicita, "M") || uguale(p.Periodicita, "G")) {
        const int divisore = u ? n - 1 : n;
        const double quota = arrotonda(daRipartire / divisore);
        resto = daRipartire - quota * divisore;
        for (int j = primo; j <= n; ++j) {
            a.pdtScad[j] = passoData(j);
            a.pdImpScad[j] = quota;
            if (conSpesa && j < n)
                a.pvSpesaScad[j] = spesa(j);
        }
        a.pdImpScad[n] = arrotonda(a.pdImpScad[n] + resto);
        if (conSpesa)
            a.pvSpesaScad[n] = spesa(n);
    } else if (uguale(p.Periodicita, "T") || uguale(p.Periodicita, "A")) {
        for (int j = primo; j <= n; ++j) {
            a.pdtScad[j] = passoData(j);
            const double perc = p.Percentuale.at(j);
            a.pdImpScad[j] =
                perc == 0 ? arrotonda(daRipartire / (n - primo + 1)) : arrotonda(daRipartire * perc / 100.0);
            resto -= a.pdImpScad[j];
            if (conSpesa && j < n)
                a.pvSpesaScad[j] = spesa(j);
        }
        a.pdImpScad[n] = arrotonda(a.pdImpScad[n] + resto);
        if (conSpesa)
            a.pvSpesaScad[n] = spesa(n);
    }

    if (uguale(trattamIva, "P")) {
        a.pdImpScad[1] = arrotonda(a.pdImpScad[1] + a.pdIva);
        if (conSpesa)
            a.pvSpesaScad[1] = spesa(1);
    }
    if (sommaSpesa)
        for (int j = 1; j <= n; ++j)
            a.pdImpScad[j] += a.pvSpesaScad.value(j);
}

} // namespace

void AccodaErrScad(ErroriScadenze &errori, long plNumErr, const QString &psTesto)
{
    if (errori.NumErrScad < 30)
        errori.ErroriScad += QStringLiteral("Errore n°") + Globali::Util().TestoErrore(int(plNumErr)) +
                             QStringLiteral(" : ") + psTesto + QStringLiteral(" in ") + errori.FaseScad +
                             QStringLiteral("\r\n");
    else if (errori.NumErrScad == 30)
        errori.ErroriScad += QStringLiteral("..............");
    ++errori.NumErrScad;
}

double LimitaImporto(double pdMin, double pdMax, double pdValore)
{
    if (ConfrontaImporti(QVariant(pdValore), QVariant(pdMin), -8) == -1 && pdMin > 0)
        return pdMin;
    if (ConfrontaImporti(QVariant(pdValore), QVariant(pdMax), -8) == 1 && pdMax > 0)
        return pdMax;
    return pdValore;
}

void CalcScadenzeCon(const LettoreRighe &leggi, const QDate &pdtData, double pdImporto, double pdIva,
                     const QString &psPagamento, const QString &psGruppo, const QString &psMastro,
                     const QString &psConto, int piNumDec, QList<QDate> &pdtScad, QList<double> &pdImpScad,
                     int &piNumScad, int &piNumErr, QString &psErrori, int piModoSpesa, Currency puPercSpesa,
                     QList<double> &pvSpesaScad, Currency puArrotSpesa, const QString &psTipoArrot,
                     double pdSpesaMin, double pdSpesaMax, QDate &pdtDecorrenza)
{
    Argomenti a{pdtData,     pdImporto,   pdIva,        psPagamento, psGruppo,   psMastro,   psConto,
                piNumDec,    pdtScad,     pdImpScad,    piNumScad,   piNumErr,   psErrori,   piModoSpesa,
                puPercSpesa, pvSpesaScad, puArrotSpesa, psTipoArrot, pdSpesaMin, pdSpesaMax, pdtDecorrenza};
    Calcolo(a).esegui(leggi);
}

void CalcScadenzeDati(const DatiPagamento *pagamento, const DatiCliente *cliente, const QDate &pdtData,
                      double pdImporto, double pdIva, const QString &psPagamento, const QString &psGruppo,
                      const QString &psMastro, const QString &psConto, int piNumDec, QList<QDate> &pdtScad,
                      QList<double> &pdImpScad, int &piNumScad, int &piNumErr, QString &psErrori,
                      int piModoSpesa, Currency puPercSpesa, QList<double> &pvSpesaScad,
                      Currency puArrotSpesa, const QString &psTipoArrot, double pdSpesaMin, double pdSpesaMax,
                      QDate &pdtDecorrenza)
{
    CalcScadenzeCon(
        [&](std::optional<DatiPagamento> &pag, std::optional<DatiCliente> &cli) {
            if (pagamento)
                pag = *pagamento;
            if (cliente)
                cli = *cliente;
        },
        pdtData, pdImporto, pdIva, psPagamento, psGruppo, psMastro, psConto, piNumDec, pdtScad, pdImpScad,
        piNumScad, piNumErr, psErrori, piModoSpesa, puPercSpesa, pvSpesaScad, puArrotSpesa, psTipoArrot,
        pdSpesaMin, pdSpesaMax, pdtDecorrenza);
}

} // namespace ScadUtil
