// The customer's e-mail address kind (1 main, 2 administrative, 3 commercial,
// 4 shipping) for each kind of document, from the personal settings.
#include "customer/frmClienti.h"

#include "components/util/UtilGlob.h"
#include "services/Globali.h"
#include "services/Parametri.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

void frmClienti::QualeEmail(const QString &psGruppo, int piIndex, const QString &psDefault)
{
    if (piIndex < 0 || piIndex > 5)
        return;
    const QString chiave = piIndex == 5 ? QStringLiteral("EmailPEC") : QStringLiteral("EmailPredef");
    const QString testo = LeggiParPersonale(psGruppo, chiave, psDefault).toString().trimmed();
    // A number is held within the four kinds (7 is the last one); a number
    // rounded to 0 (a word, "0", a negative) is read as the kind's name.
    const double n = std::nearbyint(Globali::Util().ValoreNumerico(testo));
    int r = int(std::max(0.0, std::min(4.0, n)));
    if (r == 0) {
        const QStringList parole[] = {{QStringLiteral("Principale"), QStringLiteral("Pri")},
                                      {QStringLiteral("Amministrativo"), QStringLiteral("Amm")},
                                      {QStringLiteral("Commerciale"), QStringLiteral("Comm")},
                                      {QStringLiteral("Spedizione"), QStringLiteral("Sped")}};
        r = 2;
        for (int k = 0; k < 4; ++k)
            if (parole[k].contains(testo, Qt::CaseInsensitive))
                r = k + 1;
    }
    EmailDocPredef[size_t(piIndex)] = r;
}
