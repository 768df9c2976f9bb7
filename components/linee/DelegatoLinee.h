// The cell delegate of a line grid: hands each cell editor's keys to the
// engine, and draws and answers the drop-down button of the columns that
// have one.
#pragma once

#include <QStyledItemDelegate>

class GestLinee;

class DelegatoLinee : public QStyledItemDelegate
{
    Q_OBJECT
  public:
    DelegatoLinee(GestLinee &g, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

    // The button's area inside a cell.
    static QRect AreaPulsante(const QRect &cella);

  protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

  private:
    GestLinee &m_g;
};
