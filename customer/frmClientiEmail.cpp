// The customer's e-mail address kind (1 main, 2 administrative, 3 commercial,
// 4 shipping) for each kind of document, from the personal settings.
#include "customer/frmClienti.h"

#include "components/util/UtilGlob.h"
#include "services/Parametri.h"

#include <QStringList>

void frmClienti::QualeEmail(const QString &psGruppo, int piIndex, const QString &psDefault)
{
    if (piIndex < 0 || piIndex > 5)
        return;
    const QString chiave = piIndex == 5 ? QStringLiteral("EmailPEC") : QStringLiteral("EmailPredef");
    const QString testo = LeggiParPersonale(psGruppo, chiave, psDefault).toString().trimmed();
    auto tipo = [](const QString &t) {
        double n = 0;
        if (UtilGlob::LeggiNumero(t, n))
            return n >= 1 && n <= 4 && n == int(n) ? int(n) : 0;
        const QStringList parole[] = {{QStringLiteral("Principale"), QStringLiteral("Pri")},
                                      {QStringLiteral("Amministrativo"), QStringLiteral("Amm")},
                                      {QStringLiteral("Commerciale"), QStringLiteral("Comm")},
                                      {QStringLiteral("Spedizione"), QStringLiteral("Sped")}};
        for (int k = 0; k < 4; ++k)
            if (parole[k].contains(t, Qt::CaseInsensitive))
                return k + 1;
        return 0;
    };
    // A setting that names no address kind falls back to the document kind's default.
    int r = tipo(testo);
    if (r == 0)
        r = tipo(psDefault);
    EmailDocPredef[size_t(piIndex)] = r == 0 ? 1 : r;
}
