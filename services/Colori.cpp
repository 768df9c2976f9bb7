// Focus highlight, lost-focus colour and the date check.
#include "services/Colori.h"

#include "components/forms/ColoriVb.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/UtilGlob.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/TestoControlli.h"

#include <QWidget>

using namespace Globali;

void ColoraCampi(QWidget *controllo, int piForza)
{
    if (!controllo)
        return;
    if (ColBackGotFocus != ColBackLostFocus) {
        const auto campi = controllo->window()->findChildren<QWidget *>(QStringLiteral("txt"));
        for (QWidget *w : campi)
            if (w != controllo && w->property("vbBackColor").isValid() &&
                ColoriVb::BackColor(w) == ColBackGotFocus)
                ColoriVb::ImpostaBackColor(w, ColBackLostFocus);
    }
    if (piForza || ColoriVb::BackColor(controllo) != ColBackErrore)
        ColoriVb::ImpostaBackColor(controllo, ColBackGotFocus);
}

void ColoreCampo(QWidget *ctl, bool pbForza)
{
    if (ctl && (pbForza || ColoriVb::BackColor(ctl) != ColBackErrore))
        ColoriVb::ImpostaBackColor(ctl, ColBackLostFocus);
}

QVariant ControllaCampoData(QWidget *ctl, const QVariant &, int &piModo, std::optional<long> colNormale,
                            QString *msg, int pbMsgBox)
{
    if (msg)
        msg->clear();
    if (!ctl)
        return false;
    const QString testo = TestoControllo(ctl).trimmed();
    QString errore;
    if (!testo.isEmpty()) {
        const QVariant data = Util().ValoreData(testo);
        if (!data.isValid()) {
            errore = QStringLiteral("Data non valida");
        } else {
            const QDate minima = UtilGlob::LeggiData(DataMinima);
            if (minima.isValid() && data.toDate() < minima)
                errore = QStringLiteral("Data troppo piccola");
        }
    }
    if (errore.isEmpty()) {
        ColoriVb::ImpostaBackColor(ctl, colNormale.value_or(ColBackNormale));
        return true;
    }
    if (msg)
        *msg = errore;
    if (piModo == 1 || piModo == 3)
        ColoriVb::ImpostaBackColor(ctl, ColBackErrore);
    const QString titolo = ctl->window()->windowTitle();
    if (!FormConErrori.split(QLatin1Char(';')).contains(titolo))
        FormConErrori += (FormConErrori.isEmpty() ? QString() : QStringLiteral(";")) + titolo;
    if (pbMsgBox)
        msgCom(errore);
    if (piModo > 1)
        UtilFinestre::ImpostaFocus(ctl);
    return false;
}
