// Qt events of a window's controls turned into VB-style event calls.
#include "components/forms/AdattatoreEventi.h"

#include "components/forms/CodiciTasto.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTextEdit>

AdattatoreEventi::AdattatoreEventi(QWidget *form) : QObject(form), m_form(form) {}

AdattatoreEventi::~AdattatoreEventi()
{
    if (m_preview)
        qApp->removeEventFilter(this);
}

void AdattatoreEventi::Collega(QWidget *controllo, int indice, const GestoriEventi &gestori)
{
    collega(controllo, indice, std::make_shared<const GestoriEventi>(gestori));
}

void AdattatoreEventi::Spegni()
{
    m_spento = true;
    DisattivaKeyPreview();
    const QList<QWidget *> controlli = m_voci.keys();
    for (QWidget *w : controlli)
        Scollega(w);
    m_conFuoco.clear();
}

void AdattatoreEventi::collega(QWidget *w, int indice, std::shared_ptr<const GestoriEventi> g)
{
    if (!w || m_spento)
        return;
    if (m_voci.contains(w))
        Scollega(w);
    Voce &v = m_voci[w];
    v.indice = indice;
    v.gestori = std::move(g);
    w->installEventFilter(this);
    connect(w, &QObject::destroyed, this, [this, w] { m_voci.remove(w); });
    collegaSegnali(w, v);
}

void AdattatoreEventi::Scollega(QWidget *controllo)
{
    if (!m_voci.contains(controllo))
        return;
    controllo->removeEventFilter(this);
    disconnect(controllo, nullptr, this, nullptr);
    m_voci.remove(controllo);
}

// Change and Click follow the control's value, whether the user or the code
// changed it, as VB's events did; controls without such a signal get Click
// from the mouse.
void AdattatoreEventi::collegaSegnali(QWidget *w, Voce &voce)
{
    auto chiama = [this, w](auto membro) {
        return [this, w, membro] {
            auto it = m_voci.constFind(w);
            if (it == m_voci.constEnd())
                return;
            // Held here: the handler may unwire its own control.
            const Voce copia = *it;
            if ((*copia.gestori).*membro)
                ((*copia.gestori).*membro)(copia.indice);
        };
    };
    auto change = chiama(&GestoriEventi::Change);
    auto click = chiama(&GestoriEventi::Click);
    auto dblClick = chiama(&GestoriEventi::DblClick);

    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        connect(e, &QLineEdit::textChanged, this, change);
    } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
        connect(t, &QTextEdit::textChanged, this, change);
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
        connect(p, &QPlainTextEdit::textChanged, this, change);
    } else if (auto *c = qobject_cast<QComboBox *>(w)) {
        connect(c, &QComboBox::editTextChanged, this, change);
        connect(c, &QComboBox::currentIndexChanged, this, click);
        voce.clickDaSegnale = true;
    } else if (auto *ch = qobject_cast<QCheckBox *>(w)) {
        connect(ch, &QCheckBox::stateChanged, this, click);
        voce.clickDaSegnale = true;
    } else if (auto *r = qobject_cast<QRadioButton *>(w)) {
        connect(r, &QRadioButton::toggled, this, [click](bool acceso) {
            if (acceso)
                click();
        });
        voce.clickDaSegnale = true;
    } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        connect(b, &QAbstractButton::clicked, this, click);
        voce.clickDaSegnale = true;
    } else if (auto *l = qobject_cast<QListWidget *>(w)) {
        connect(l, &QListWidget::currentRowChanged, this, click);
        connect(l, &QListWidget::itemDoubleClicked, this, dblClick);
        voce.clickDaSegnale = true;
    } else if (auto *s = qobject_cast<QAbstractSlider *>(w)) {
        connect(s, &QAbstractSlider::valueChanged, this, change);
    } else if (auto *tb = qobject_cast<QTabBar *>(w)) {
        connect(tb, &QTabBar::currentChanged, this, click);
        voce.clickDaSegnale = true;
    }
}

// A window the form owns (a list window, a pick list) is not part of it: its
// keys belong to that window's own handlers.
bool AdattatoreEventi::nelForm(const QWidget *w) const
{
    return m_form && w && (w == m_form || m_form->isAncestorOf(w)) && w->window() == m_form->window();
}

void AdattatoreEventi::ImpostaKeyPreview(const GestoriForm &gestori)
{
    if (m_spento)
        return;
    m_gestoriForm = gestori;
    if (!m_preview)
        qApp->installEventFilter(this);
    m_preview = true;
}

void AdattatoreEventi::DisattivaKeyPreview()
{
    if (m_preview)
        qApp->removeEventFilter(this);
    m_preview = false;
    m_gestoriForm = {};
}

bool AdattatoreEventi::eventFilter(QObject *obj, QEvent *ev)
{
    if (m_spento)
        return false;
    const QEvent::Type tipo = ev->type();
    const bool tastiera = tipo == QEvent::KeyPress || tipo == QEvent::KeyRelease;
    if (!tastiera && tipo != QEvent::FocusIn && tipo != QEvent::FocusOut &&
        tipo != QEvent::MouseButtonRelease && tipo != QEvent::MouseButtonDblClick)
        return false;
    auto *w = qobject_cast<QWidget *>(obj);
    if (!w)
        return false;
    auto it = m_voci.constFind(w);
    const Voce *voce = it == m_voci.constEnd() ? nullptr : &*it;

    if (tastiera) {
        // A control disabled, or inside a disabled container, takes no keys.
        if (m_reinvio || !w->isEnabled())
            return false;
        if (ev == m_giaTrattato) {
            m_giaTrattato = nullptr;
            return false;
        }
        // A key the focused child did not want travels up to its parents: it
        // was already handled where it arrived.
        QWidget *fuoco = QApplication::focusWidget();
        if (fuoco && fuoco != w && w->isAncestorOf(fuoco))
            return false;
        if (!voce && !(m_preview && nelForm(w)))
            return false;
        auto *k = static_cast<QKeyEvent *>(ev);
        const bool consumato = tipo == QEvent::KeyPress ? tasto(w, voce, k) : tastoRilasciato(w, voce, k);
        // With KeyPreview the application-wide filter sees a wired control's
        // key first, and its own filter sees it again next.
        if (!consumato && voce && m_preview)
            m_giaTrattato = ev;
        return consumato;
    }
    if (!voce)
        return false;
    // Handlers may unwire or rewire their own control: they run on a copy.
    const Voce copia = *voce;
    voce = &copia;
    switch (tipo) {
    case QEvent::FocusIn:
        fuocoEntrato(w, *voce);
        break;
    case QEvent::FocusOut: {
        const auto motivo = static_cast<QFocusEvent *>(ev)->reason();
        if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason)
            fuocoUscito(w, *voce);
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *m = static_cast<QMouseEvent *>(ev);
        if (!voce->clickDaSegnale && m->button() == Qt::LeftButton &&
            w->rect().contains(m->position().toPoint()) && voce->gestori->Click)
            voce->gestori->Click(voce->indice);
        break;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(ev)->button() == Qt::LeftButton && voce->gestori->DblClick &&
            !qobject_cast<QListWidget *>(w))
            voce->gestori->DblClick(voce->indice);
        break;
    default:
        break;
    }
    return false;
}

void AdattatoreEventi::fuocoEntrato(QWidget *w, const Voce &voce)
{
    if (m_conFuoco == w)
        return;
    // The control that had VB's focus may have missed its LostFocus (focus
    // moved while the window was inactive): it gets it now, first.
    if (QWidget *prima = m_conFuoco.data()) {
        auto it = m_voci.constFind(prima);
        m_conFuoco.clear();
        if (it != m_voci.constEnd() && it->gestori->LostFocus) {
            const Voce vecchia = *it;
            vecchia.gestori->LostFocus(vecchia.indice);
        }
        if (QApplication::focusWidget() != w)
            return; // the LostFocus handler moved the focus elsewhere
    }
    m_conFuoco = w;
    if (voce.gestori->GotFocus) {
        const Voce copia = voce;
        copia.gestori->GotFocus(copia.indice);
    }
}

void AdattatoreEventi::ConsegnaControlloAttivo()
{
    QWidget *w = m_conFuoco.data();
    if (!w || m_spento)
        return;
    auto it = m_voci.constFind(w);
    if (it == m_voci.constEnd() || !it->gestori->LostFocus)
        return;
    const Voce copia = *it;
    copia.gestori->LostFocus(copia.indice);
}

void AdattatoreEventi::fuocoUscito(QWidget *w, const Voce &voce)
{
    // Only the control that got GotFocus gets LostFocus: a focus moved back
    // inside a LostFocus handler would otherwise hand a LostFocus to a control
    // that never had the focus.
    if (m_conFuoco != w)
        return;
    m_conFuoco.clear();
    if (voce.gestori->LostFocus) {
        const Voce copia = voce;
        copia.gestori->LostFocus(copia.indice);
    }
}

bool AdattatoreEventi::tasto(QWidget *w, const Voce *voce, QKeyEvent *ev)
{
    // Tab moves the focus, as in VB, without KeyDown or KeyPress.
    if (ev->key() == Qt::Key_Tab || ev->key() == Qt::Key_Backtab)
        return false;
    const bool preview = m_preview && nelForm(w);
    const Voce copia = voce ? *voce : Voce();
    const int shift = CodiciTasto::ShiftDaQt(ev->modifiers());
    int keyCode = CodiciTasto::DaEvento(ev);
    if (preview && m_gestoriForm.KeyDown && keyCode != 0) {
        m_gestoriForm.KeyDown(keyCode, shift);
        if (keyCode == 0)
            return true;
    }
    if (voce && copia.gestori->KeyDown && keyCode != 0) {
        copia.gestori->KeyDown(copia.indice, keyCode, shift);
        if (keyCode == 0)
            return true;
    }

    const QString testo = ev->text();
    // As in VB, Alt combinations type nothing (an Alt+letter that is no
    // command must not reach the field) and Ctrl combinations only their
    // control characters. Ctrl+Alt is left alone: it is AltGr on some systems.
    const Qt::KeyboardModifiers mod = ev->modifiers();
    if ((mod & Qt::AltModifier) && !(mod & Qt::ControlModifier) && !testo.isEmpty() && testo[0].isPrint())
        return true;
    if (testo.size() != 1 || (mod & Qt::AltModifier) || ((mod & Qt::ControlModifier) && testo[0].isPrint()))
        return false;
    const int ascii = testo[0].unicode();
    int keyAscii = ascii;
    if (preview && m_gestoriForm.KeyPress) {
        m_gestoriForm.KeyPress(keyAscii);
        if (keyAscii == 0)
            return true;
    }
    if (voce && copia.gestori->KeyPress) {
        copia.gestori->KeyPress(copia.indice, keyAscii);
        if (keyAscii == 0)
            return true;
    }
    if (keyAscii == ascii)
        return false;
    // The handler asked for another character: deliver that one instead.
    QKeyEvent sostituto(QEvent::KeyPress, ev->key(), ev->modifiers(), QString(QChar(char16_t(keyAscii))),
                        ev->isAutoRepeat(), ushort(ev->count()));
    // Reset however the delivery ends, a throwing handler included: a flag
    // left set would make the adapter deaf to every later key.
    struct Reinvio {
        bool &attivo;
        explicit Reinvio(bool &f) : attivo(f) { attivo = true; }
        ~Reinvio() { attivo = false; }
    } reinvio(m_reinvio);
    QCoreApplication::sendEvent(w, &sostituto);
    return true;
}

bool AdattatoreEventi::tastoRilasciato(QWidget *w, const Voce *voce, QKeyEvent *ev)
{
    if (ev->isAutoRepeat())
        return false;
    int keyCode = CodiciTasto::DaEvento(ev);
    if (keyCode == 0)
        return false;
    const int shift = CodiciTasto::ShiftDaQt(ev->modifiers());
    const Voce copia = voce ? *voce : Voce();
    if (m_preview && nelForm(w) && m_gestoriForm.KeyUp) {
        m_gestoriForm.KeyUp(keyCode, shift);
        if (keyCode == 0)
            return true;
    }
    if (voce && copia.gestori->KeyUp) {
        copia.gestori->KeyUp(copia.indice, keyCode, shift);
        if (keyCode == 0)
            return true;
    }
    return false;
}
