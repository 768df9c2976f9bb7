// The preview scale dialog ("Grandezza visualizzazione stampe"): how large a
// 10-point Arial text of the print looks in the preview (50 to 180 %), with a
// sample drawn at that size, and whether the preview keeps its pages. It
// reads and writes no option itself: ModificaScala fills it from a print's
// options and writes them back when the user confirms with "OK".
#pragma once

#include <QDialog>
#include <functional>

class OpzStampa;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;

// The sample box: two lines of Arial at the chosen size.
class ProvaScala : public QWidget
{
  public:
    explicit ProvaScala(QWidget *parent) : QWidget(parent) {}
    void ImpostaFont(const QFont &f);
    QFont FontProva() const { return m_font; }
    static QStringList Testo();

  protected:
    void paintEvent(QPaintEvent *ev) override;

  private:
    QFont m_font;
};

class frmVStaPar : public QDialog
{
    Q_OBJECT
  public:
    static constexpr int ScalaMinima = 50, ScalaMassima = 180;

    explicit frmVStaPar(QWidget *parent = nullptr);
    ~frmVStaPar() override;

    // What asks the user for a scale in percent and the keep-pages box (1
    // ticked): Chiedi below, or a stand-in in tests.
    using Richiesta = std::function<bool(QWidget *genitore, int &scala, int &memVid)>;

    // The print options' preview scale and keep-pages switch through the
    // dialog (or `chiedi`): true when the user confirmed with "OK" and the
    // options took the new values; closed otherwise, the options keep theirs.
    // The one arithmetic between the options' factor and the bar's percent.
    static bool ModificaScala(OpzStampa &opz, QWidget *genitore = nullptr, const Richiesta &chiedi = {});
    // The dialog alone, on a scale in percent and the keep-pages box (1
    // ticked): true, with both updated, when the user confirmed with "OK".
    static bool Chiedi(QWidget *genitore, int &scala, int &memVid);
    // The bar's start for a scale factor (1 = 100 %) at the preview's display
    // factor (not above 0: none), held to the bar's range; and back.
    static int PercentualeDaFattore(double fatt, double risVid);
    static float FattoreDaPercentuale(int percentuale, double risVid);

    void CmdOk_Click();
    void LabProp_DblClick();
    void Ridisegna();
    bool Confermato() const { return m_confermato; }

    QScrollBar *VsbProp = nullptr;
    QLabel *LabProp = nullptr;
    ProvaScala *PicProva = nullptr;
    QCheckBox *CheMemVid = nullptr;
    QPushButton *CmdOk = nullptr;

  protected:
    void showEvent(QShowEvent *ev) override;
    bool eventFilter(QObject *obj, QEvent *ev) override;

  private:
    bool m_confermato = false;
};
