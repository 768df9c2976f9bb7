// The boxes and labels of a form as the form benchmarks read and fill them:
// the text a box or label shows, and a text put back without its change
// handlers running (the floor repaints what the form showed, nothing more).
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QSignalBlocker>
#include <QString>

namespace supporto_bench
{

inline QString TestoCasella(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    return static_cast<QLabel *>(w)->text();
}

inline void ScriviCasella(QWidget *w, const QString &t)
{
    const QSignalBlocker blocco(w);
    // A box already showing the text is left as it is, as the form leaves
    // it (a label does so by itself).
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        if (e->text() != t)
            e->setText(t);
    } else {
        static_cast<QLabel *>(w)->setText(t);
    }
}

// Every box and label of `caselle` put back to the texts of one record.
inline void ScriviCaselle(const QList<QWidget *> &caselle, const QList<QString> &testi)
{
    for (qsizetype k = 0; k < caselle.size(); ++k)
        ScriviCasella(caselle[k], testi[k]);
}

} // namespace supporto_bench
