// The program's message box and its error box, callable from any layer:
// this header pulls in no widget header, so widget-free code may use it.
#pragma once

#include <QString>

class QWidget;
class VbErrore;

// Shows psLabel with one to three buttons (psCom1, pvCom2, pvCom3; an empty
// caption leaves that button out) and answers the 1-based number of the button
// pressed. pvTitolo: window title ("" = the program's name). piLargForm: width
// in percent of the screen (0 = fit to the text). pbSuona: beep first.
// piLatiForm: extra width in twips. pvFontSize: points (0 = default).
// piComDefault: the button that has the focus at first. pvWidthCom: button
// width in twips (0 = fit to the caption). pbSempreTxt: show the text in a
// read-only text box even when it is short.
// Texts that carry a password ("pwd=...") are shown with the password hidden.
int msgCom(const QString &psLabel, const QString &psCom1 = QStringLiteral("&Ok"), const QString &pvCom2 = {},
           const QString &pvCom3 = {}, const QString &pvTitolo = {}, int piLargForm = 0, bool pbSuona = false,
           int piLatiForm = 0, int pvFontSize = 0, int piComDefault = 1, int pvWidthCom = 0,
           bool pbSempreTxt = false);

// While one lives, msgCom opens over `finestra` (its child, centred on it)
// rather than over the window active at that moment: the messages a window
// asks for on its own behalf (a print's question, asked as the print dialog
// closes and before any window is active again) belong to it.
class MsgComSopra
{
  public:
    explicit MsgComSopra(QWidget *finestra);
    ~MsgComSopra();
    MsgComSopra(const MsgComSopra &) = delete;
    MsgComSopra &operator=(const MsgComSopra &) = delete;

  private:
    QWidget *m_prima;
};

// Notices held back. While one of these lives, a message with a single button
// is not shown but kept (msgCom answers 1 at once), and what was kept is shown,
// in its order, when the last one ends. A transaction that holds rows other
// desks wait for lives inside one: no message waits for the clerk meanwhile.
// A question needs its answer at once: what was kept is shown first, then it.
class AvvisiRinviati
{
  public:
    AvvisiRinviati();
    ~AvvisiRinviati();
    AvvisiRinviati(const AvvisiRinviati &) = delete;
    AvvisiRinviati &operator=(const AvvisiRinviati &) = delete;
};

// The error box: psMsgAggPri, "Errore(" number "): " description, psMsgAggDop,
// with the single button "&Ok".
// Without an error argument it reports the exception being handled (call it
// from a catch block): a VbErrore with its number, any other exception as
// error 0 with its text.
void MsgErrfrm(const QString &psMsgAggPri = {}, const QString &psMsgAggDop = {});
void MsgErrfrm(const VbErrore &errore, const QString &psMsgAggPri = {}, const QString &psMsgAggDop = {});
void MsgErrfrm(int numero, const QString &descrizione, const QString &psMsgAggPri = {},
               const QString &psMsgAggDop = {});

// The text MsgErrfrm shows, without showing it.
QString TestoMsgErrfrm(int numero, const QString &descrizione, const QString &psMsgAggPri = {},
                       const QString &psMsgAggDop = {});

// A message's text split into what the clerk reads and the system's own
// words that follow it ("\nDettaglio: ..." at the end, or " (Dettaglio: ...)"
// closing it): the box shows the first and keeps the second behind its
// "Dettagli" button and in the program's log. Without such words the
// detail is empty.
struct TestoConDettaglio {
    QString principale;
    QString dettaglio;
};
TestoConDettaglio SeparaDettaglio(const QString &testo);

// A text with the values of "pwd=", "password=" and similar connection
// attributes replaced by "***", so that no message shows a password.
QString NascondiPassword(const QString &testo);
