// E-mail parameters of printouts: the running print's engine, the
// compilation of the e-mail keys into its options, the request for the data
// through the print-choice dialog, and the mailer handed to the engine.
#include "printing/AziendaUtilStampe.h"

#include "components/stampa/InvioEmailSmtp.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "printing/FrmSceltaStam.h"
#include "printing/MessaggiStampa.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QPointer>

namespace
{

QPointer<Stampatore> &motore()
{
    static QPointer<Stampatore> m;
    return m;
}

bool vuoto(const QVariant &v)
{
    return Globali::Util().ValoreVuoto(v, UtilGlob::TipoTesto, 1, false);
}

OpzStampa &opzioniInCorso()
{
    if (!motore() || !motore()->OpzioniStampa())
        throw VbErrore(VbErrore::OggettoNonImpostato, QStringLiteral("Nessuna stampa in corso"));
    return *motore()->OpzioniStampa();
}

// The stored notification flag as a Boolean: the panel stores True/False; a
// flag never stored is no request.
bool notifica(const QString &v)
{
    const QString t = v.trimmed();
    if (t.isEmpty() || t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("Falso"), Qt::CaseInsensitive) == 0)
        return false;
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("Vero"), Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    const double n = t.toDouble(&ok);
    if (!ok)
        throw VbErrore(
            VbErrore::TipoNonCorrispondente,
            QStringLiteral("Il valore \"%1\" di EmailFlagNotifica non è un valore vero/falso").arg(t));
    return n != 0;
}

// Compiles first, then sends; missing data are a refused login, so that the
// engine asks the user for them once.
class InvioConDati : public InvioEmail
{
  public:
    Esito Invia(OpzStampa &opz, const QString &filePdf, QString &errore) override
    {
        Dettaglio.clear();
        Avviso.clear();
        try {
            PreparaParEmail(QString(), opz);
        } catch (const VbErrore &e) {
            // The sentence for the user; which data are missing as the detail.
            const QString d = e.descrizione();
            const qsizetype a = d.indexOf(u'\r');
            errore = (a < 0 ? d : d.left(a)).trimmed();
            if (!errore.isEmpty())
                errore[0] = errore[0].toLower();
            Dettaglio = a < 0 ? QString() : d.mid(a).trimmed();
            return e.numero() == -123 ? Esito::DatiMancanti : Esito::Errore;
        }
        m_smtp.Fermata = Fermata;
        const Esito r = m_smtp.Invia(opz, filePdf, errore);
        m_smtp.Fermata = {};
        Dettaglio = m_smtp.Dettaglio;
        Avviso = m_smtp.Avviso;
        return r;
    }

  private:
    InvioEmailSmtp m_smtp;
};

} // namespace

Stampatore *MotoreStampa()
{
    return motore();
}

void MotoreStampa(Stampatore *m)
{
    motore() = m;
}

InvioEmail &InvioEmailStampe()
{
    static InvioConDati invio;
    return invio;
}

void PreparaParEmail(const QString &psDestinatario)
{
    PreparaParEmail(psDestinatario, opzioniInCorso());
}

void PreparaParEmail(const QString &psDestinatario, OpzStampa &opz)
{
    if (!opz.ParVero(QStringLiteral("EmailInvia")))
        return;
    const QString login = LeggiParEmail(QStringLiteral("EmailLogin"));
    const QString pwd = LeggiParEmail(QStringLiteral("EmailPwd"));
    const QString smtp = LeggiParEmail(QStringLiteral("EmailServerSMTP"));
    const QString emailTo = LeggiParEmail(QStringLiteral("EmailTo"));
    const QVariant temp = opz.ParStampa(QStringLiteral("EmailToTemp"));
    if (vuoto(login) || vuoto(pwd) || vuoto(smtp) || (vuoto(emailTo) && vuoto(temp) && vuoto(psDestinatario)))
        throw VbErrore(-123, QStringLiteral("Mancano dati necessari per l'invio dell'email") +
                                 QStringLiteral("\r\n") + QStringLiteral(" - Login: ") + login +
                                 QStringLiteral(" - pwd compilata: ") +
                                 (vuoto(pwd) ? QStringLiteral("No") : QStringLiteral("Sì")) +
                                 QStringLiteral(" - SMTP: ") + smtp + QStringLiteral(" - Emailto: ") +
                                 emailTo + QStringLiteral(" - Ind.Temp: ") + temp.toString());

    // Everything is read before the options change: a failing read leaves them as they were.
    const auto k = [](const char *n) { return QString::fromLatin1(n); };
    QList<QPair<QString, QVariant>> valori;
    if (!vuoto(psDestinatario))
        valori.append({k("EmailTo"), psDestinatario});
    else
        valori.append({k("EmailTo"), vuoto(temp) ? QVariant(emailTo) : temp});
    valori.append({k("EmailTipoInvio"), LeggiParEmail(k("EmailTipoInvio"))});
    valori.append({k("EmailOggetto"), EspandiOggettoEmail(LeggiParEmail(k("EmailOggetto")), opz)});
    valori.append({k("EmailTesto"), EspandiTestoEmail(LeggiParEmail(k("EmailTesto")), opz)});
    for (const char *n :
         {"EmailFileLog", "EmailInd", "EmailCentro", "EmailSMTPtipo", "EmailServerSMTP", "EmailReplay"})
        valori.append({k(n), LeggiParEmail(k(n))});
    valori.append({k("EmailFlagNotifica"), notifica(LeggiParEmail(k("EmailFlagNotifica")))});
    valori.append({k("EmailLogin"), login});
    valori.append({k("EmailPwd"), pwd});
    for (const char *n : {"EmailUsaSSL", "EmailDirStunnel", "EmailNumPorta", "EmailLogSee"})
        valori.append({k(n), LeggiParEmail(k(n))});
    for (const auto &[chiave, valore] : valori)
        opz.ImpostaParStampa(chiave, valore);
}

QVariant ChiediDatiEmail(int pbCompila, int pbImpostaOpz)
{
    auto *dialogo = new FrmSceltaStam;
    bool ok = false;
    try {
        if (pbImpostaOpz)
            dialogo->ogOpzSta(&opzioniInCorso());
        dialogo->oiRichDatiEmail = 1000;
        ok = dialogo->RichDatiEmail().toBool();
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
        ok = false;
    }
    // The dialog goes once the event that ended its modal display has returned.
    dialogo->hide();
    dialogo->deleteLater();
    if (pbCompila && ok) {
        try {
            PreparaParEmail(QString());
        } catch (const VbErrore &e) {
            MessaggiStampa::Avviso(e.descrizione());
            ok = false;
        }
    }
    return ok;
}
