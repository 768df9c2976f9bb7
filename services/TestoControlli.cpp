// Text of controls of every kind.
#include "services/TestoControlli.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

QString TestoControllo(const QWidget *w)
{
    if (auto *t = qobject_cast<const QLineEdit *>(w))
        return t->text();
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *p = qobject_cast<const QPlainTextEdit *>(w))
        return p->toPlainText();
    if (auto *e = qobject_cast<const QTextEdit *>(w))
        return e->toPlainText();
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    return {};
}

void ImpostaTestoControllo(QWidget *w, const QString &testo)
{
    if (auto *t = qobject_cast<QLineEdit *>(w))
        t->setText(testo);
    else if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(testo);
    else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        p->setPlainText(testo);
    else if (auto *e = qobject_cast<QTextEdit *>(w))
        e->setPlainText(testo);
    else if (auto *c = qobject_cast<QComboBox *>(w)) {
        if (c->isEditable())
            c->setEditText(testo);
        else
            c->setCurrentIndex(c->findText(testo));
    } else if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->setText(testo);
}

bool ControlloDiInserimento(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
           qobject_cast<const QTextEdit *>(w) || qobject_cast<const QComboBox *>(w);
}
