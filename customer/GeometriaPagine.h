// Geometry of the customer form's page machinery, in the form's scale units
// (twips): the marker strip that straddles the bottom edge of the selected tab.
#pragma once

#include <QRect>

namespace GeometriaPagine
{

constexpr int TwipPerPixel = 15;

// A strip 50 units high whose top lies 25 units above the tab's bottom edge.
inline QRect Evidenza(const QRect &scheda)
{
    return QRect(scheda.left(), scheda.top() + scheda.height() - 25, scheda.width(), 50);
}

inline QRect InTwip(const QRect &pixel)
{
    return QRect(pixel.x() * TwipPerPixel, pixel.y() * TwipPerPixel, pixel.width() * TwipPerPixel,
                 pixel.height() * TwipPerPixel);
}

inline QRect InPixel(const QRect &twip)
{
    auto px = [](int t) { return (t + TwipPerPixel / 2) / TwipPerPixel; };
    return QRect(px(twip.x()), px(twip.y()), px(twip.width()), px(twip.height()));
}

} // namespace GeometriaPagine
