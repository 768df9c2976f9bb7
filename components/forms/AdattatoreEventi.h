// Turns the Qt events of a window's controls into the VB-style calls the
// windows are written against: txt_GotFocus(Index), txt_LostFocus(Index),
// txt_KeyDown(Index, KeyCode, Shift), txt_KeyPress(Index, KeyAscii),
// txt_KeyUp(Index, KeyCode, Shift), txt_Change(Index), _Click, _DblClick,
// and, with KeyPreview, Form_KeyDown/KeyPress/KeyUp before the control's own.
//
// Keys: a handler that sets KeyCode (KeyDown) or KeyAscii (KeyPress) to 0
// swallows the key; a KeyPress handler that changes KeyAscii types that
// character instead. Tab and Shift+Tab move the focus without KeyDown/KeyPress,
// as in VB. Focus: LostFocus of the control leaving comes before GotFocus of
// the one arriving; focus that leaves for another window or a popup (a message
// box, a menu) fires neither, so a LostFocus handler can show a message safely.
#pragma once

#include "components/forms/ControlArray.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QKeyEvent;

// The handlers of one control array (or of one control: Index is then -1).
// Leave unused ones empty.
struct GestoriEventi {
    std::function<void(int Index)> GotFocus, LostFocus, Change, Click, DblClick;
    std::function<void(int Index, int &KeyCode, int Shift)> KeyDown, KeyUp;
    std::function<void(int Index, int &KeyAscii)> KeyPress;
};

// The form's own key handlers, called first when KeyPreview is on.
struct GestoriForm {
    std::function<void(int &KeyCode, int Shift)> KeyDown, KeyUp;
    std::function<void(int &KeyAscii)> KeyPress;
};

class AdattatoreEventi : public QObject
{
    Q_OBJECT
  public:
    // `form` is the window whose controls are wired; the adapter is its child.
    explicit AdattatoreEventi(QWidget *form);
    ~AdattatoreEventi() override;

    // Wires every control currently in `array`, passing each one's index.
    // Controls added to the array later need another call (or Collega below).
    template <typename T> void Collega(const ControlArray<T> &array, const GestoriEventi &gestori)
    {
        auto g = std::make_shared<const GestoriEventi>(gestori);
        for (auto [indice, controllo] : array)
            collega(controllo, indice, g);
    }
    // Wires one control with the given index (-1 for a control outside arrays).
    void Collega(QWidget *controllo, int indice, const GestoriEventi &gestori);
    void Scollega(QWidget *controllo);
    // Unwires every control and the form's own key handlers for good: once
    // the window has begun to go, a control destroyed with it (which gives up
    // the keyboard as it goes) reaches no handler of a window no longer there.
    void Spegni();
    bool Spento() const { return m_spento; }

    // Form_KeyDown / Form_KeyPress / Form_KeyUp before any control of the form.
    void ImpostaKeyPreview(const GestoriForm &gestori);
    void DisattivaKeyPreview();
    bool KeyPreview() const { return m_preview; }

    // The control that last received GotFocus and no LostFocus since.
    QWidget *ControlloAttivo() const { return m_conFuoco.data(); }
    // The active control's LostFocus, as leaving it would run it, for a
    // window that goes without the focus moving (its close box, a button's
    // Alt shortcut): what was typed is taken. The control stays the active
    // one: should the window stay open, leaving it later runs it again.
    void ConsegnaControlloAttivo();

  protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;

  private:
    struct Voce {
        int indice = -1;
        std::shared_ptr<const GestoriEventi> gestori;
        bool clickDaSegnale = false;
    };
    void collega(QWidget *w, int indice, std::shared_ptr<const GestoriEventi> g);
    void collegaSegnali(QWidget *w, Voce &voce);
    bool tasto(QWidget *w, const Voce *voce, QKeyEvent *ev);
    bool tastoRilasciato(QWidget *w, const Voce *voce, QKeyEvent *ev);
    void fuocoEntrato(QWidget *w, const Voce &voce);
    void fuocoUscito(QWidget *w, const Voce &voce);
    bool nelForm(const QWidget *w) const;

    QPointer<QWidget> m_form;
    QHash<QWidget *, Voce> m_voci;
    QPointer<QWidget> m_conFuoco;
    GestoriForm m_gestoriForm;
    bool m_preview = false;
    bool m_reinvio = false; // a replaced KeyPress is being delivered
    bool m_spento = false;
    const QEvent *m_giaTrattato = nullptr;
};
