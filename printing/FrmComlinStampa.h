// The list-print options dialog ("Stampa dati della lista"): which columns
// and which orientation, a font and a printer; "&STAMPA" wires the engine of
// the list or grid that opened it with the preview, the progress window, the
// current printer and the dialog's print options, and asks that component to
// print. One print at a time, through StaAtt. The dialog serves every list
// and grid: it keeps one set of print options for each print (the
// component's SezioneStampa), read from the saved options when that print
// first asks for them and kept for the rest of the run, so later prints start
// from the earlier choices of the same print. The font outlives each print
// until the dialog is left (close box, "&ESCI" or Esc).
#pragma once

#include "components/forms/ControlArray.h"
#include "components/stampa/ComponenteStampa.h"

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

class OpzStampa;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class FrmComlinStampa : public QDialog, public FormStampaLista
{
    Q_OBJECT
  public:
    explicit FrmComlinStampa(QWidget *parent = nullptr);
    ~FrmComlinStampa() override;

    // Sets ogComlin and shows the dialog over the component's window.
    void ApriPerLista(ComponenteStampa &lista) override;

    // The component that opened the dialog; released after each print start
    // (reads as nullptr also when the component is gone).
    void ogComlin(ComponenteStampa *componente);
    ComponenteStampa *ogComlin() const;

    // The options of the print the dialog is (or was last) opened for:
    // created on that print's first use with its saved options, then kept.
    OpzStampa &OpzioniStampa();
    QFont FontStampa() const { return m_font; }

    void VisStaAttuale();
    void CmdStampa_Click();
    void CmdEsci_Click();
    void CmdSceFont_Click();
    void comSceStam_Click();
    void ComUsaDef_Click();

    // How the print-choice dialog is opened on the options (the print-choice
    // window by default; tests put their own).
    using ApriScelta = std::function<void(OpzStampa &opz, QWidget *genitore)>;
    static void ImpostaApriScelta(ApriScelta apri);

    QGroupBox *FraTipSta = nullptr;
    QGroupBox *fraOrientamento = nullptr;
    ControlArray<QRadioButton> OptTipsta{QStringLiteral("OptTipsta")};
    ControlArray<QRadioButton> OptOrientamento{QStringLiteral("OptOrientamento")};
    QPushButton *CmdStampa = nullptr;
    QPushButton *CmdEsci = nullptr;
    QPushButton *CmdSceFont = nullptr;
    QPushButton *comSceStam = nullptr;
    QPushButton *ComUsaDef = nullptr;
    QLabel *labStaAttuale = nullptr;

  protected:
    void showEvent(QShowEvent *ev) override;
    void closeEvent(QCloseEvent *ev) override;
    // Esc leaves the dialog as the close box does.
    void reject() override;
    void keyPressEvent(QKeyEvent *ev) override;

  private:
    void costruisci();
    // After a print: `finestra` active again with the keyboard in `fuoco`.
    void ridaiTastiera(QWidget *finestra, QWidget *fuoco);
    void Form_Load();
    void Form_Unload();

    ComponenteStampa *m_comlin = nullptr;
    QPointer<QObject> m_comlinOggetto; // the component as a QObject, when it is one
    bool m_comlinSeguito = false;
    // The options of each print by section, and the section of the current one.
    std::map<QString, std::unique_ptr<OpzStampa>> m_opz;
    QString m_sezione;
    QFont m_font;
    bool m_caricato = false; // loaded: shown since the last close
};
