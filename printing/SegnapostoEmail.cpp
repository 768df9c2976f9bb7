// Placeholders of the subject and text of printout e-mails: "§Name§" replaced
// in a fixed order, so that a value put in by one step (the personal subject)
// is itself searched by the later steps.
#include "printing/AziendaUtilStampe.h"

#include "components/menu/ClienteMenu.h"
#include "components/stampa/OpzStampa.h"
#include "services/Globali.h"
#include "services/Parametri.h"

#include <QLocale>

namespace
{

std::function<QDateTime()> &orologio()
{
    static std::function<QDateTime()> o;
    return o;
}

QDateTime adesso()
{
    return orologio() ? orologio()() : QDateTime::currentDateTime();
}

QString sostituisci(QString testo, const QString &nome, const QString &valore)
{
    const QString segnaposto = QStringLiteral("§") + nome + QStringLiteral("§");
    return testo.replace(segnaposto, valore, Qt::CaseInsensitive);
}

QString parametro(const char *nome)
{
    return LeggiParMenu(QString::fromLatin1(nome)).toString();
}

// The program speaks Italian: the month names of the dates are Italian ones.
QString data(const QString &formato)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(adesso().date(), formato);
}

QString espandi(QString t, const OpzStampa &opz, bool oggetto)
{
    t = sostituisci(t, QStringLiteral("PersOgg"), LeggiParEmail(QStringLiteral("EmailPersOggetto")));
    const QString terminale = Globali::MenuClient ? Globali::MenuClient->NomeTerminale() : QString();
    t = sostituisci(t, QStringLiteral("Terminale"), terminale);
    t = sostituisci(t, QStringLiteral("Login"), parametro("Login"));
    t = sostituisci(t, QStringLiteral("Gruppo"), parametro("Gruppo"));
    t = sostituisci(t, QStringLiteral("DescAzie"), parametro("descazie"));
    t = sostituisci(t, QStringLiteral("CodiceAzie"), parametro("codiceazie"));
    t = sostituisci(t, QStringLiteral("IdAzienda"), parametro("idazienda"));
    t = sostituisci(t, QStringLiteral("DescPrg"), opz.ParStampa(QStringLiteral("StampaDescPrg")).toString());
    t = sostituisci(t, QStringLiteral("Titolo"), opz.ParStampa(QStringLiteral("StampaCaption")).toString());
    t = sostituisci(t, QStringLiteral("CodSta"), opz.SezioneStampa());
    t = sostituisci(t, QStringLiteral("Data"), data(QStringLiteral("dd/MM/yyyy")));
    t = sostituisci(t, QStringLiteral("DataRov"), data(QStringLiteral("yyyyMMdd")));
    t = sostituisci(t, QStringLiteral("DataLong"), data(QStringLiteral("dd/MMMM/yyyy")));
    t = sostituisci(t, QStringLiteral("DataAbb"), data(QStringLiteral("dd/MMM/yyyy")));
    if (oggetto)
        t = sostituisci(t, QStringLiteral("Ora"), adesso().time().toString(QStringLiteral("HH:mm")));
    else
        t = sostituisci(t, QStringLiteral("OraRid"), adesso().time().toString(QStringLiteral("HHmm")));
    return t;
}

} // namespace

void ImpostaOrologioEmail(std::function<QDateTime()> o)
{
    orologio() = std::move(o);
}

QString EspandiOggettoEmail(const QString &testo, const OpzStampa &opz)
{
    return espandi(testo, opz, true);
}

QString EspandiTestoEmail(const QString &testo, const OpzStampa &opz)
{
    return espandi(testo, opz, false);
}
