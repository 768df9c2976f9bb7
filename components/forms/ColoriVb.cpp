// VB colour values, Qt colours and the colours of controls.
#include "components/forms/ColoriVb.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

namespace
{

const char *const PropBack = "vbBackColor";
const char *const PropFore = "vbForeColor";

struct Sistema {
    QPalette::ColorRole ruolo;
    QPalette::ColorGroup gruppo;
};

// Windows system colour indexes (COLOR_SCROLLBAR = 0 ... COLOR_INFOBK = 24).
const Sistema Sistemi[25] = {
    {QPalette::Button, QPalette::Active},            // 0 scroll bars
    {QPalette::Window, QPalette::Active},            // 1 desktop
    {QPalette::Highlight, QPalette::Active},         // 2 active title bar
    {QPalette::Highlight, QPalette::Inactive},       // 3 inactive title bar
    {QPalette::Window, QPalette::Active},            // 4 menu background
    {QPalette::Base, QPalette::Active},              // 5 window background
    {QPalette::Shadow, QPalette::Active},            // 6 window frame
    {QPalette::WindowText, QPalette::Active},        // 7 menu text
    {QPalette::Text, QPalette::Active},              // 8 window text
    {QPalette::HighlightedText, QPalette::Active},   // 9 title bar text
    {QPalette::Button, QPalette::Active},            // 10 active border
    {QPalette::Button, QPalette::Inactive},          // 11 inactive border
    {QPalette::Dark, QPalette::Active},              // 12 application workspace
    {QPalette::Highlight, QPalette::Active},         // 13 highlight
    {QPalette::HighlightedText, QPalette::Active},   // 14 highlighted text
    {QPalette::Button, QPalette::Active},            // 15 button face
    {QPalette::Dark, QPalette::Active},              // 16 button shadow
    {QPalette::Text, QPalette::Disabled},            // 17 grey text
    {QPalette::ButtonText, QPalette::Active},        // 18 button text
    {QPalette::HighlightedText, QPalette::Inactive}, // 19 inactive title text
    {QPalette::Light, QPalette::Active},             // 20 3D highlight
    {QPalette::Shadow, QPalette::Active},            // 21 3D dark shadow
    {QPalette::Midlight, QPalette::Active},          // 22 3D light
    {QPalette::ToolTipText, QPalette::Active},       // 23 tooltip text
    {QPalette::ToolTipBase, QPalette::Active},       // 24 tooltip background
};

// Input controls paint their text area with Base; the others their Window.
bool DiInserimento(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTextEdit *>(w) ||
           qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractItemView *>(w);
}

QPalette::ColorRole RuoloSfondo(const QWidget *w)
{
    if (DiInserimento(w))
        return QPalette::Base;
    if (qobject_cast<const QPushButton *>(w))
        return QPalette::Button;
    return QPalette::Window;
}

QPalette::ColorRole RuoloTesto(const QWidget *w)
{
    if (DiInserimento(w))
        return QPalette::Text;
    if (qobject_cast<const QPushButton *>(w))
        return QPalette::ButtonText;
    return QPalette::WindowText;
}

void Applica(QWidget *w, QPalette::ColorRole ruolo, long colore)
{
    QPalette p = w->palette();
    // A system colour is the desktop's, not the one this control was last painted.
    const QColor c = ColoriVb::DaVb(colore, QApplication::palette(w));
    p.setColor(QPalette::Active, ruolo, c);
    p.setColor(QPalette::Inactive, ruolo, c);
    w->setPalette(p);
}

// The control has that colour from an earlier call, its palette unchanged
// since: fields are coloured again on every record read, mostly alike.
bool giaColorato(const QWidget *w, const char *prop, QPalette::ColorRole ruolo, long colore)
{
    const QVariant v = w->property(prop);
    if (!v.isValid() || long(v.toLongLong()) != colore)
        return false;
    const QColor c = ColoriVb::DaVb(colore, QApplication::palette(w));
    const QPalette &p = w->palette();
    return p.color(QPalette::Active, ruolo) == c && p.color(QPalette::Inactive, ruolo) == c;
}

long Letto(const QWidget *w, const char *prop, QPalette::ColorRole ruolo)
{
    const QVariant v = w->property(prop);
    if (v.isValid())
        return long(v.toLongLong());
    return ColoriVb::AVb(w->palette().color(QPalette::Active, ruolo));
}

} // namespace

namespace ColoriVb
{

bool ColoreDiSistema(long colore)
{
    return (colore & 0xFF000000L) == 0x80000000L;
}

QPalette::ColorRole RuoloDiSistema(long colore, QPalette::ColorGroup *gruppo)
{
    const long i = colore & 0xFFL;
    const Sistema s = i < 25 ? Sistemi[i] : Sistema{QPalette::Window, QPalette::Active};
    if (gruppo)
        *gruppo = s.gruppo;
    return s.ruolo;
}

QColor DaVb(long colore)
{
    return DaVb(colore, QApplication::palette());
}

QColor DaVb(long colore, const QPalette &palette)
{
    if (ColoreDiSistema(colore)) {
        QPalette::ColorGroup g;
        const QPalette::ColorRole r = RuoloDiSistema(colore, &g);
        return palette.color(g, r);
    }
    return QColor(int(colore & 0xFF), int((colore >> 8) & 0xFF), int((colore >> 16) & 0xFF));
}

long AVb(const QColor &c)
{
    return long(c.red()) | (long(c.green()) << 8) | (long(c.blue()) << 16);
}

void ImpostaBackColor(QWidget *w, long colore)
{
    const QPalette::ColorRole ruolo = RuoloSfondo(w);
    if (!giaColorato(w, PropBack, ruolo, colore)) {
        w->setProperty(PropBack, qlonglong(colore));
        Applica(w, ruolo, colore);
    }
    if (ruolo == QPalette::Window)
        w->setAutoFillBackground(true);
}

long BackColor(const QWidget *w)
{
    return Letto(w, PropBack, RuoloSfondo(w));
}

void ImpostaForeColor(QWidget *w, long colore)
{
    w->setProperty(PropFore, qlonglong(colore));
    Applica(w, RuoloTesto(w), colore);
}

long ForeColor(const QWidget *w)
{
    return Letto(w, PropFore, RuoloTesto(w));
}

} // namespace ColoriVb
