// Scaling of a window's fonts and fixed sizes by the screen factor.
#include "services/RisVid.h"

#include "services/FormComune.h"
#include "services/Globali.h"
#include "services/Parametri.h"

#include <QHash>
#include <QWidget>
#include <cmath>

namespace
{

double valoreChiave(const QString &chiave)
{
    using namespace Globali;
    const QString k = chiave.trimmed().toLower();
    if (k.isEmpty() || k == QLatin1String("generale"))
        return RisVidGenerale;
    if (k == QLatin1String("persbase"))
        return RisVidPersBase;
    if (k == QLatin1String("msgcom"))
        return RisVidMsgCom;
    if (k == QLatin1String("stavid"))
        return RisVidStaVid;
    return LeggiParIni(QStringLiteral("Risoluzione Video"), chiave, QStringLiteral("0"))
        .replace(QLatin1Char(','), QLatin1Char('.'))
        .toDouble();
}

void scalaFont(QWidget *w, double r)
{
    QFont f = w->font();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * r);
    else if (f.pixelSize() > 0)
        f.setPixelSize(int(std::lround(f.pixelSize() * r)));
    w->setFont(f);
}

void scalaDimensioni(QWidget *w, double r, int modo)
{
    if (modo < 0)
        return;
    const QSize min = w->minimumSize(), max = w->maximumSize();
    const bool larghezzaFissa = min.width() == max.width() && min.width() > 0;
    const bool altezzaFissa = min.height() == max.height() && min.height() > 0;
    if (larghezzaFissa && modo != 2)
        w->setFixedWidth(int(std::lround(min.width() * r)));
    if (altezzaFissa && modo != 1)
        w->setFixedHeight(int(std::lround(min.height() * r)));
}

} // namespace

double FattoreRisVid(const QString &chiave)
{
    const double v = valoreChiave(chiave);
    if (v > 0)
        return v;
    return Globali::RisVidGenerale > 0 ? Globali::RisVidGenerale : 1.0;
}

QVariant AdattaRisVideo(FormComune *form, const QVariant &, double fattore,
                        const QList<AdattaControllo> &controlli)
{
    if (!form || !form->finestra())
        return 1.0;
    const double f = fattore > 0 ? fattore : FattoreRisVid(form->osRisVidKey);
    const double prima = form->odRisVidVal > 0 ? form->odRisVidVal : 1.0;
    const double r = f / prima;
    form->odRisVidVal = f;
    if (std::abs(r - 1.0) < 1e-9)
        return f;

    QHash<QWidget *, AdattaControllo> speciali;
    for (const AdattaControllo &c : controlli)
        if (c.controllo)
            speciali.insert(c.controllo, c);

    QWidget *finestra = form->finestra();
    // Children that follow their window's font must keep their own when asked to.
    for (const AdattaControllo &c : controlli)
        if (c.controllo && c.font < 0)
            c.controllo->setFont(c.controllo->font());
    const auto figli = finestra->findChildren<QWidget *>();
    QList<QWidget *> conFontProprio;
    for (QWidget *w : figli)
        if (w->testAttribute(Qt::WA_SetFont) && !(speciali.contains(w) && speciali.value(w).font < 0))
            conFontProprio << w;
    scalaFont(finestra, r);
    for (QWidget *w : conFontProprio)
        scalaFont(w, r);
    for (QWidget *w : figli)
        scalaDimensioni(w, r, speciali.contains(w) ? speciali.value(w).dimensioni : 0);
    if (!finestra->isMaximized()) {
        const QSize s = finestra->size();
        finestra->resize(int(std::lround(s.width() * r)), int(std::lround(s.height() * r)));
    }
    return f;
}
