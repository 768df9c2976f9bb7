// PDF and e-mail settings read from the menu host, and the subject and text
// of printout e-mails from the common menu database.
#include "printing/AziendaUtilStampe.h"

#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/AziOpenDbMenu.h"
#include "services/Globali.h"
#include "services/Parametri.h"

#include <QLocale>
#include <cmath>

namespace
{

bool stessoNome(const QString &a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// The text number as a whole number; a text that is no number is refused.
int numeroTesto()
{
    const QString t = LeggiParMenu(QStringLiteral("EmailNumTesto")).toString().trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const double n = QLocale::c().toDouble(QString(t).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    if (!ok)
        throw VbErrore(VbErrore::TipoNonCorrispondente,
                       QStringLiteral("Il numero del testo email \"%1\" non è un numero").arg(t));
    if (!(std::fabs(n) < 32768))
        return 0;
    return int(std::lround(n));
}

} // namespace

QString LeggiParEmail(const QString &nome)
{
    const bool testo = stessoNome(nome, "EmailTesto");
    if (testo || stessoNome(nome, "EmailOggetto")) {
        if (Globali::DbMenu.isEmpty())
            ApriDbComune();
        const int n = numeroTesto();
        QString memo, descr;
        LeggiScriviAppoggio(QStringLiteral("PdfEmail"), n, memo, 0, 0, descr, -1);
        return testo ? memo : descr;
    }
    QString valore = LeggiParMenu(nome).toString();
    if (valore.isEmpty())
        return valore;
    if (!stessoNome(nome, "EmailInd") && !stessoNome(nome, "EmailReplay"))
        return valore;
    // Sendmail and See take the bare address; the others show the centre's name.
    const QString tipo = LeggiParMenu(QStringLiteral("EmailTipoInvio")).toString().trimmed();
    if (stessoNome(tipo, "S") || stessoNome(tipo, "E"))
        return valore;
    return QLatin1Char('"') + LeggiParMenu(QStringLiteral("EmailCentro")).toString() +
           QStringLiteral("\" <") + valore + QLatin1Char('>');
}
