// Scaling of a window's fonts and fixed sizes by the screen factor.
#include "services/RisVid.h"

#include "services/FormComune.h"
#include "services/Globali.h"
#include "services/Parametri.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QWidget>
#include <algorithm>
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

// What the window manager adds around a window: known once it has framed
// the window, else the size of a usual title bar and border.
QSize cornice(const QWidget *w)
{
    if (w->isVisible()) {
        const QSize c = w->frameGeometry().size() - w->size();
        if (c.width() >= 0 && c.height() >= 0 && (c.width() > 0 || c.height() > 0))
            return c;
    }
    return QSize(8, 32);
}

} // namespace

double LimitaFattoreRisVid(double fattore)
{
    return std::clamp(fattore, FattoreRisVidMinimo, FattoreRisVidMassimo);
}

double FattoreRisVid(const QString &chiave)
{
    const double v = valoreChiave(chiave);
    if (v > 0)
        return LimitaFattoreRisVid(v);
    return Globali::RisVidGenerale > 0 ? LimitaFattoreRisVid(Globali::RisVidGenerale) : 1.0;
}

QRect AreaSchermo(const QWidget *w)
{
    const QScreen *s = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

void TieniSulloSchermo(QWidget *w)
{
    if (!w || w->isMaximized() || w->isFullScreen())
        return;
    const QRect area = AreaSchermo(w);
    const QSize c = cornice(w);
    const QSize massima = area.size() - c;
    if (w->width() > massima.width() || w->height() > massima.height())
        w->resize(std::min(w->width(), massima.width()), std::min(w->height(), massima.height()));
    QRect g = w->frameGeometry();
    if (g.width() <= 0 || g.height() <= 0)
        g = QRect(w->pos(), w->size() + c);
    // As far in as it goes; a window larger than the screen keeps its top left in view.
    const int x = std::max(area.left(), std::min(g.left(), area.right() + 1 - g.width()));
    const int y = std::max(area.top(), std::min(g.top(), area.bottom() + 1 - g.height()));
    if (x != g.left() || y != g.top())
        w->move(x, y);
}

QVariant AdattaRisVideo(FormComune *form, const QVariant &, double fattore,
                        const QList<AdattaControllo> &controlli)
{
    if (!form || !form->finestra())
        return 1.0;
    const double prima = form->odRisVidVal > 0 ? form->odRisVidVal : 1.0;
    double f = fattore > 0 ? LimitaFattoreRisVid(fattore) : FattoreRisVid(form->osRisVidKey);
    // An enlarged window never outgrows the screen: the factor stops where
    // the window still fits (a smaller factor is never raised to fit).
    if (f > 1.0 && !form->finestra()->isMaximized()) {
        const QSize base = form->finestra()->size() / prima;
        const QSize spazio = AreaSchermo(form->finestra()).size() - cornice(form->finestra());
        if (base.width() > 0 && base.height() > 0)
            f = std::max(1.0, std::min({f, double(spazio.width()) / base.width(),
                                        double(spazio.height()) / base.height()}));
    }
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
