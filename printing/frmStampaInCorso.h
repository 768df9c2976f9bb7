// The progress window of a print ("Stampa ordini in corso"): the page being
// printed and a stop button, shown by the engine while it prints to a
// printer or a file. While it shows, the rest of the program waits; its close
// box asks the engine to stop as the button does. It also answers the
// engine's request for the e-mail login data.
#pragma once

#include "components/stampa/FinestreStampa.h"
#include "services/FormComune.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

class frmStampaInCorso : public QWidget, public AvanzamentoStampa, public FormComune
{
    Q_OBJECT
  public:
    explicit frmStampaInCorso(QWidget *parent = nullptr);
    ~frmStampaInCorso() override;

    QWidget *finestra() override { return this; }
    QString osKeySec;

    // ---- AvanzamentoStampa ----
    void ogStampa(Stampatore *motore) override;
    Stampatore *ogStampa() const;
    void Mostra() override;
    void Nascondi() override;
    void PaginaInStampa(int pagina) override;
    void RigheInStampa(qint64 righe) override;
    QVariant ChiediEmailLogPwd() override;

    // The stop request.
    void ComStampa_Click();

    // Who asks the user for the e-mail login data (the e-mail panel installs
    // itself); without one the request is refused.
    using ChiediDatiEmail = std::function<QVariant()>;
    static void ImpostaChiediDatiEmail(ChiediDatiEmail chiedi);

    QPushButton *ComSTampa = nullptr;
    QLabel *lblStamp = nullptr;
    QLabel *LblPrePag = nullptr;
    QLabel *LblPag = nullptr;
    QLabel *PicVask = nullptr;

  protected:
    void closeEvent(QCloseEvent *ev) override;
    void keyPressEvent(QKeyEvent *ev) override;

  private:
    QPointer<Stampatore> m_motore;
};
