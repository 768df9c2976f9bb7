// The hidden main window: owner of the close-polling timer and of the one-shot
// timer that brings a just-opened window forward. Closing it ends the program.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

class frmPrincipale : public QWidget
{
    Q_OBJECT
  public:
    explicit frmPrincipale(QWidget *parent = nullptr);
    ~frmPrincipale() override;

    // The window's children, so that its destruction cuts them off too.
    QTimer timChiudi; // close polling, 3000 ms, armed by AvviaTimerChiusura
    QTimer timVarie;  // one-shot: brings osNomeForm forward

    int oiChiudi = 0;    // 1 while the close polling is armed
    int oiTmpAttesa = 0; // ticks still to wait before the next check
    int oiFlagVarie = 0; // what timVarie does: 1 brings osNomeForm forward
    QString osNomeForm;  // window to bring forward

    // Exit code handed to the event loop when the program ends (1 after a failed start).
    int codiceUscita = 0;

    void timChiudi_Timer();
    void timVarie_Timer();

  signals:
    // The program is over: the event loop should end with this code.
    void programmaChiuso(int codice);

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    bool m_chiuso = false;
};
