// The description beside a code: a text longer than the room the page gives
// it ends in "…" instead of being cut off unseen, and its tooltip shows it
// whole. text() stays the whole description.
#pragma once

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

class EtichettaDescrizione : public QLabel
{
    Q_OBJECT
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent *e) override
    {
        if (!accorciata()) {
            QLabel::paintEvent(e);
            return;
        }
        QFrame::paintEvent(e);
        QPainter p(this);
        const QRect r = contentsRect().adjusted(margin() + indent(), margin(), -margin(), -margin());
        const QString corto = fontMetrics().elidedText(text(), Qt::ElideRight, std::max(0, r.width()));
        style()->drawItemText(&p, r, int(alignment()), palette(), isEnabled(), corto, foregroundRole());
    }
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::ToolTip && toolTip().isEmpty() && accorciata()) {
            QToolTip::showText(static_cast<QHelpEvent *>(e)->globalPos(), text(), this);
            return true;
        }
        return QLabel::event(e);
    }

  private:
    bool accorciata() const
    {
        const int spazio = contentsRect().width() - 2 * margin() - std::max(0, indent());
        return !text().isEmpty() && fontMetrics().horizontalAdvance(text()) > spazio;
    }
};
