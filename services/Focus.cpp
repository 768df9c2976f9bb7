// Text selection and tab-order moves.
#include "services/Focus.h"

#include "components/forms/UtilFinestre.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace
{

bool puoAvereFuoco(const QWidget *w)
{
    return w && w->isEnabled() && w->isVisibleTo(w->window()) && (w->focusPolicy() & Qt::TabFocus) &&
           !w->focusProxy();
}

QWidget *attivo()
{
    if (QWidget *w = QApplication::focusWidget())
        return w;
    if (QWidget *f = QApplication::activeWindow())
        return f->focusWidget();
    return nullptr;
}

// The field `passo` steps from `da` in the window's tab order (backwards when negative).
QWidget *spostato(QWidget *finestra, QWidget *da, int passo)
{
    if (!finestra || passo == 0)
        return nullptr;
    QWidget *w = da ? da : finestra;
    QWidget *trovato = nullptr;
    for (int fatti = 0; fatti < std::abs(passo);) {
        QWidget *prossimo = w;
        bool giro = false;
        do {
            prossimo = passo > 0 ? prossimo->nextInFocusChain() : prossimo->previousInFocusChain();
            if (prossimo == w) {
                giro = true;
                break;
            }
        } while (!(prossimo->window() == finestra && puoAvereFuoco(prossimo)));
        if (giro)
            break;
        w = trovato = prossimo;
        ++fatti;
    }
    return trovato;
}

} // namespace

void SelezionaTesto()
{
    SelezionaTesto(attivo());
}

void SelezionaTesto(QWidget *controllo)
{
    if (auto *t = qobject_cast<QLineEdit *>(controllo))
        t->setSelection(0, int(t->text().size()));
    else if (auto *p = qobject_cast<QPlainTextEdit *>(controllo))
        p->selectAll();
    else if (auto *e = qobject_cast<QTextEdit *>(controllo))
        e->selectAll();
    else if (auto *c = qobject_cast<QComboBox *>(controllo); c && c->lineEdit())
        c->lineEdit()->selectAll();
}

void CampoSuccessivo(int direzione, QWidget *controllo)
{
    QWidget *da = controllo ? controllo : attivo();
    if (!da)
        return;
    UtilFinestre::ImpostaFocus(spostato(da->window(), da, direzione == 1 ? 1 : -1));
}

void CampoSuccessivo(QWidget *form, int passo, int shift)
{
    if (!form)
        return;
    QWidget *finestra = form->window();
    QWidget *da = finestra->focusWidget();
    if (QWidget *a = QApplication::focusWidget(); a && a->window() == finestra)
        da = a;
    UtilFinestre::ImpostaFocus(spostato(finestra, da, shift == 1 ? -passo : passo));
}
