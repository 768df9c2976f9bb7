// The progress window of a print ("Stampa ordini in corso"): the page being
// printed and a stop button, shown by the engine while it prints to a
// printer or a file, and while a PDF goes by e-mail. While it shows, the rest
// of the program waits; its close box asks the engine to stop as the button
// does. It also answers the engine's request for the e-mail login data.
//
// A print that made a file ends with the window saying which file, and the
// e-mail sent and to whom: it then keeps no one waiting and takes no focus,
// and goes at a click elsewhere, after a few seconds, with its button, or
// when the next print starts.
#pragma once

#include "components/stampa/FinestreStampa.h"
#include "services/FormComune.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

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
    void EmailInCorso(const QString &file) override;
    void Terminata(const QString &testo) override;
    QVariant ChiediEmailLogPwd() override;
    // The window that started the print: the progress window shows over it.
    void FinestraStampa(QWidget *finestra);

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
    bool eventFilter(QObject *oggetto, QEvent *ev) override;

  private:
    // Back to the progress of a print (labels, button, modality).
    void inStampa();
    void chiudiTerminata();
    void togli();
    void nomeFile(const QString &nome);
    void sopraFinestra();

    QPointer<Stampatore> m_motore;
    QPointer<QWidget> m_finestra;
    QTimer *m_timTerminata = nullptr;
    bool m_terminata = false;
};
