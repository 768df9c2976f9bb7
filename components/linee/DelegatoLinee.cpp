// Cell delegate of a line grid.
#include "components/linee/DelegatoLinee.h"

#include "components/linee/GestLinee.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace
{

constexpr int LarghezzaPulsante = 16;

} // namespace

DelegatoLinee::DelegatoLinee(GestLinee &g, QObject *parent) : QStyledItemDelegate(parent), m_g(g) {}

QWidget *DelegatoLinee::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    // The engine sees the editor's keys after the delegate's own filter
    // (Enter, Escape, Tab stay the delegate's).
    if (editor)
        editor->installEventFilter(&m_g);
    return editor;
}

QRect DelegatoLinee::AreaPulsante(const QRect &cella)
{
    const int w = std::min(LarghezzaPulsante, cella.width());
    return QRect(cella.right() - w + 1, cella.top(), w, cella.height());
}

void DelegatoLinee::paint(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (!m_g.HaPulsante(index.column()))
        return;
    QStyleOptionButton pulsante;
    pulsante.rect = AreaPulsante(option.rect);
    pulsante.state = option.state & QStyle::State_Enabled;
    pulsante.palette = option.palette;
    QStyle *stile = option.widget ? option.widget->style() : QApplication::style();
    stile->drawControl(QStyle::CE_PushButtonBevel, &pulsante, painter, option.widget);
    QStyleOption freccia;
    freccia.rect = pulsante.rect.adjusted(3, 3, -3, -3);
    freccia.state = pulsante.state;
    freccia.palette = option.palette;
    stile->drawPrimitive(QStyle::PE_IndicatorArrowDown, &freccia, painter, option.widget);
}

bool DelegatoLinee::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                const QModelIndex &index)
{
    if (event->type() == QEvent::MouseButtonPress && m_g.HaPulsante(index.column())) {
        auto *m = static_cast<QMouseEvent *>(event);
        if (m->button() == Qt::LeftButton && AreaPulsante(option.rect).contains(m->position().toPoint())) {
            m_g.PremiPulsante(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
