// Under the letters-of-intent grid: how much of the current letter the
// customer's invoices, delivery notes and orders have used, in red when
// together they exceed the letter's amount.
#include "customer/frmClienti.h"

#include "components/forms/ColoriVb.h"
#include "components/linee/GestLinee.h"
#include "components/util/UtilGlob.h"
#include "services/Globali.h"
#include "services/Importi.h"
#include "services/MsgCom.h"
#include "totals/DichIntenti.h"

#include <QLabel>
#include <QLineEdit>
#include <cmath>

namespace
{

constexpr long ColoreNormale = 0xFF0000; // blue
constexpr long ColoreAvviso = 0xFF;      // red

} // namespace

void frmClienti::MostraTotaliDichIntenti()
{
    GestLinee *g = GestLin(1);
    const UtilGlob &u = Globali::Util();
    const auto colora = [this](bool superata) {
        for (int i : {7010, 7020, 7030})
            ColoriVb::ImpostaForeColor(Lab(i), superata ? ColoreAvviso : ColoreNormale);
        ColoriVb::ImpostaBackColor(Label1(7010), superata ? Globali::ColBackErrore : ColoreLabel7010);
    };
    // The letter's code; a new line, or a code that is no whole number, has no totals.
    double numero = 0;
    const QString codice = g->ValoreCella(QStringLiteral("PdcDicIntenti")).toString().trimmed();
    if (codice.isEmpty() || !UtilGlob::LeggiNumero(codice, numero) || numero != std::trunc(numero) ||
        std::fabs(numero) > 2147483647.0) {
        for (int i : {7010, 7020, 7030})
            Lab(i)->setText(QString());
        colora(false);
        return;
    }
    const int lettera = int(numero);
    double fatture = 0, ddt = 0, ordini = 0;
    QString errori;
    DichIntenti::TotDichIntenti(lettera, txt(10)->text(), txt(20)->text(), txt(30)->text(), fatture, ddt,
                                ordini, false, &errori);
    if (!errori.isEmpty()) {
        // Once per letter of the account shown, not at every move over its lines.
        const QString conto = txt(10)->text() + u'|' + txt(20)->text() + u'|' + txt(30)->text() + u'|';
        if (!m_erroriDichMostrati.isEmpty() && !m_erroriDichMostrati.first().startsWith(conto))
            m_erroriDichMostrati.clear();
        const QString chiave = conto + QString::number(lettera);
        if (!m_erroriDichMostrati.contains(chiave)) {
            m_erroriDichMostrati << chiave;
            msgCom(errori, QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
        }
    }
    const auto testo = [&u](double totale) {
        return u.FormattaImporto(totale, Globali::NumDecEuro, QStringLiteral("0"), false,
                                 QStringLiteral("#,###"), 0, QString(), QStringLiteral("^"));
    };
    Lab(7010)->setText(testo(fatture));
    Lab(7020)->setText(testo(ddt));
    Lab(7030)->setText(testo(ordini));
    // A letter without an amount (one for a period) has no limit to exceed.
    const QVariant importo = g->ValoreCella(QStringLiteral("ImportoDichIntenti"));
    const bool senzaImporto = u.ValoreVuoto(importo, UtilGlob::TipoTesto, 1, false);
    colora(!senzaImporto && ConfrontaImporti(QVariant(u.ValoreDecimale(importo, true)),
                                             QVariant(fatture + ddt + ordini), -8) == -1);
}
