// PDF and e-mail settings read from the menu host.
#include "printing/AziendaUtilStampe.h"

#include "services/Parametri.h"

QString LeggiParEmail(const QString &nome)
{
    QString valore = LeggiParMenu(nome).toString();
    if (valore.isEmpty())
        return valore;
    const bool indirizzo = nome.compare(QLatin1String("EmailInd"), Qt::CaseInsensitive) == 0 ||
                           nome.compare(QLatin1String("EmailReplay"), Qt::CaseInsensitive) == 0;
    if (!indirizzo)
        return valore;
    // Sendmail and See take the bare address; the others show the centre's name.
    const QString tipo = LeggiParMenu(QStringLiteral("EmailTipoInvio")).toString().trimmed();
    if (tipo.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 ||
        tipo.compare(QLatin1String("E"), Qt::CaseInsensitive) == 0)
        return valore;
    return QLatin1Char('"') + LeggiParMenu(QStringLiteral("EmailCentro")).toString() +
           QStringLiteral("\" <") + valore + QLatin1Char('>');
}
