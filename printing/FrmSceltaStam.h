// The print-choice dialog ("Scelta della modalità di stampa"): where one print
// goes (printer, preview, file, fixed-length), with its printer, tray, paper,
// page range, file options and saved option sets. It prints nothing: every
// control writes into the print's OpzStampa as the user changes it, and
// closing only checks the object.
//
// Opener's order: create the dialog, set ogOpzSta, call VisDecodOk, and only
// when it answers true show the dialog modally; afterwards refresh the
// opener's own current-printer label.
//
// The dialog is split by concern: contract, load and close checks
// (FrmSceltaStam.cpp), controls (FrmSceltaStamLayout.cpp), printers and
// ports (FrmSceltaStamStampanti.cpp), output kinds and files
// (FrmSceltaStamUscite.cpp), saved option sets (FrmSceltaStamOpzioni.cpp),
// trays and papers (FrmSceltaStamCassetti.cpp), fixed-length settings, text
// boxes and keys (FrmSceltaStamFissa.cpp), automatic PDF and the PDF and
// e-mail panel (FrmSceltaStamPdfEmail*.cpp).
#pragma once

#include "components/forms/ControlArray.h"
#include "services/FormComune.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <array>
#include <functional>

class AdattatoreEventi;
class OpzStampa;
class QComboBox;
class QStackedWidget;
class QTableWidget;

class FrmSceltaStam : public QDialog, public FormComune
{
    Q_OBJECT
  public:
    explicit FrmSceltaStam(QWidget *parent = nullptr);
    ~FrmSceltaStam() override;

    // ---- The opener's contract (FrmSceltaStam.cpp) ----

    void ogOpzSta(OpzStampa *opz) { m_opz = opz; }
    OpzStampa *ogOpzSta() const { return m_opz; }
    // osRisVidKey (the screen-scaling key, "StaVid") comes from FormComune.
    int oiRichDatiEmail = 0;

    // False, after telling the user, while a print runs; otherwise fills the
    // dialog from the print's options and answers true.
    bool VisDecodOk();
    // Refreshes the current-printer label.
    void VisStaAttuale();

    // Each time the dialog becomes the active window.
    void Form_Activate();
    // Form_Activate from the event loop (on show and on each activation).
    void AttivaDopo();
    // The close checks: false (after a message) keeps the dialog open.
    bool Form_Unload();
    void ComChiudi_Click();

    // The preview-scale dialog: it gets the scale in percent and the
    // keep-pages box (1 ticked) and answers true when the user confirmed
    // them; the program installs it at start-up. Without one the preview's
    // "Cambia" button is disabled.
    using DialogoScala = std::function<bool(QWidget *genitore, int &scala, int &memVid)>;
    static void ImpostaDialogoScala(DialogoScala dialogo);
    static bool DialogoScalaImpostato();

    QWidget *finestra() override { return this; }

    // ---- Printers and ports (FrmSceltaStamStampanti.cpp) ----

    void ImpostaStampanteGri(bool pbPredefinita);
    void GriPri_Click();
    void GriPri_KeyDown(int &KeyCode, int Shift);
    void griPorte_Click();
    void ComUsaDef_Click();

    // ---- Output kinds, files and switches (FrmSceltaStamUscite.cpp) ----

    void OptStampaSu_Click(int Index);
    void VisDecodPagine();
    void VisDecodFile();
    void OptSepCampi_Click(int Index);
    void OptDelimStr_Click(int Index);
    void Fra_DblClick(int Index);
    void ComOpz_Click(int Index);
    void CheForzaVert_Click();
    void CheFisUtilComp_Click();
    void CheNumNoForm_Click();
    void CheNumPag_Click();
    void CheInviaEmail_Click();
    void ChePdfAutom_Click();
    void ComPaperSize_Click();
    // The Save dialog's format list for an installed spreadsheet version
    // (negative: none), and the format code of the filter chosen (1-based).
    static QString FiltriFileStampa(int versioneExcel);
    static int FormatoDaFiltro(int versioneExcel, int posizione);

    // ---- Saved option sets (FrmSceltaStamOpzioni.cpp) ----

    void ComSalOpz_Click();
    void ComCancOpz_Click();
    void MettiValOpz();
    void SelDeselSalOpz(bool pbSelez);
    void ComSelTutto_Click() { SelDeselSalOpz(true); }
    void ComDeSelTutto_Click() { SelDeselSalOpz(false); }
    void ComAnnulla_Click();
    void ComOk_Click();

    // ---- Trays and papers (FrmSceltaStamCassetti.cpp) ----

    void ImpostaCboCassetti();
    void ImpostaCboTipoCarta();
    void GetPaperList(bool pbSettaCbo);
    void cboCassetti_Click();
    void cboTipoCarta_Click();

    // ---- Fixed-length settings, text boxes and keys (FrmSceltaStamFissa.cpp) ----

    void VisDecodFis();
    void txt_GotFocus(int Index);
    void txt_KeyUp(int Index, int &KeyCode, int Shift) override;
    void txt_LostFocus(int Index);
    void TxtFisMrAlt_LostFocus();
    void TxtFisMrBas_LostFocus();
    void TxtFisRighe_LostFocus();
    void TxtFisColonne_LostFocus();
    void TxtFisCodIniComp_LostFocus();
    void TxtFisCodFinComp_LostFocus();
    void Form_KeyDown(int &KeyCode, int Shift);
    void Form_KeyPress(int &KeyAscii);
    // The spreadsheet version whose format the Excel export writes.
    static int LeggiVersioneExcel();
    QWidget *CampoTesto(int indice, bool appo) override;

    // ---- Automatic PDF, the PDF and e-mail panel and its INI files
    // (FrmSceltaStamPdfEmail.cpp, FrmSceltaStamPdfEmailIni.cpp; controls in
    // FrmSceltaStamPdfEmailLayout.cpp) ----

    void ImpostaPdfAutom();
    // After the panel stored its settings: the automatic PDF, when ticked,
    // takes them at once.
    void AggiornaPdfAutom();
    // "Nome file Pdf autom." and "Invia per Email" shown as the settings
    // allow: a PDF printer in use, and e-mail sending switched on.
    void MostraOpzioniPdf();
    void ComCerca_Click(int Index);
    void ComHlp_Click(int Index);
    void ComParIniPE_Click();
    void MostraIniPE();
    void AggIniPE();
    QVariant CtrlTxtValidi();
    // The request for a print's e-mail data (oiRichDatiEmail 1000 first):
    // true when the user confirmed, false when cancelled.
    QVariant RichDatiEmail();
    // The request sized to the panel's fields (within the screen), with
    // `campo` in sight and given the keyboard.
    void DimensionaRichiesta(QWidget *campo);
    void MostraEmailToCor(bool pbAggCob);
    void MostraEmailTipoCor(bool pbAggCob);
    void ComPEOk_Click();
    void ComPEAnnulla_Click();
    void ComPeDatiCor_Click();
    void CboEmailToNum_Click();
    void CboEmailTipoNum_Click();
    QVariant SalvaCancIniPE();
    QVariant IndInVet(int piCheck);
    void PESelDeselSalOpz(bool pbSelez);
    void ComPESalva_Click();
    void ComPECanc_Click();
    void ComPERileggi_Click();
    void ComPESel_Click() { PESelDeselSalOpz(true); }
    void ComPEDesel_Click() { PESelDeselSalOpz(false); }

    // Key numbers: box 100 * configuration + key, text 1000 + the same.
    ControlArray<QCheckBox> ChePdfEmailVal{QStringLiteral("ChePdfEmailVal")};
    ControlArray<QCheckBox> ChePdfEmailSalva{QStringLiteral("ChePdfEmailSalva")};
    ControlArray<QRadioButton> OptPETipoInvio{QStringLiteral("OptPETipoInvio")};
    ControlArray<QRadioButton> OptPEDove{QStringLiteral("OptPEDove")};
    ControlArray<QWidget> PicEmailAttiva{QStringLiteral("PicEmailAttiva")};
    ControlArray<QPushButton> ComCerca{QStringLiteral("ComCerca")};
    ControlArray<QPushButton> ComHlp{QStringLiteral("ComHlp")};
    QComboBox *CboEmailToNum = nullptr;
    QComboBox *CboEmailTipoNum = nullptr;
    QPushButton *ComPEOk = nullptr;
    QPushButton *ComPEAnnulla = nullptr;
    QPushButton *ComPeDatiCor = nullptr;
    QPushButton *ComPESalva = nullptr;
    QPushButton *ComPECanc = nullptr;
    QPushButton *ComPERileggi = nullptr;
    QPushButton *ComPESel = nullptr;
    QPushButton *ComPEDesel = nullptr;
    // Recipient (1-3) and configuration (1-3) shown; -1 with three
    // configurations, 0 with the plain key names of one.
    int miEmailToCor = 1;
    int miEmailTipoCor = 1;
    int mbPiuConfigEmail = 0;

    // ---- Controls (FrmSceltaStamLayout.cpp, the saved-options panel in
    // FrmSceltaStamOpzioni.cpp) ----

    ControlArray<QGroupBox> FraOpz{QStringLiteral("FraOpz")};
    ControlArray<QGroupBox> Fra{QStringLiteral("Fra")};
    ControlArray<QRadioButton> OptStampaSu{QStringLiteral("OptStampaSu")};
    ControlArray<QRadioButton> OptSepCampi{QStringLiteral("OptSepCampi")};
    ControlArray<QRadioButton> OptDelimStr{QStringLiteral("OptDelimStr")};
    ControlArray<QPushButton> ComOpz{QStringLiteral("ComOpz")};
    ControlArray<QLineEdit> txt{QStringLiteral("txt")};
    ControlArray<QLabel> Lab{QStringLiteral("Lab")};
    QTableWidget *GriPri = nullptr;
    QTableWidget *GriPorte = nullptr;
    QLabel *labTotStamp = nullptr;
    QLabel *LabStaAttuale = nullptr;
    QComboBox *cboCassetti = nullptr;
    QComboBox *cboTipoCarta = nullptr;
    QCheckBox *CheForzaVert = nullptr;
    QCheckBox *CheNumPag = nullptr;
    QCheckBox *ChePdfAutom = nullptr;
    QCheckBox *CheInviaEmail = nullptr;
    QCheckBox *CheNumNoForm = nullptr;
    QCheckBox *CheFisUtilComp = nullptr;
    QPushButton *ComUsaDef = nullptr;
    QPushButton *ComPaperSize = nullptr;
    QPushButton *ComParIniPE = nullptr;
    QPushButton *ComSalOpz = nullptr;
    QPushButton *ComCancOpz = nullptr;
    QPushButton *ComChiudi = nullptr;
    QLabel *labFatt = nullptr;
    QLabel *LabMemVid = nullptr;
    QLabel *LabFileName = nullptr;
    QLabel *LabFileForm = nullptr;
    QLabel *LabFileStampaFis = nullptr;
    QLineEdit *TxtFisMrAlt = nullptr;
    QLineEdit *TxtFisMrBas = nullptr;
    QLineEdit *TxtFisRighe = nullptr;
    QLineEdit *TxtFisColonne = nullptr;
    QLineEdit *TxtFisCodIniComp = nullptr;
    QLineEdit *TxtFisCodFinComp = nullptr;
    // The saved-options panel and the PDF/e-mail panel lie over the dialog.
    QWidget *PicSalPar = nullptr;
    QWidget *PicPdfEmail = nullptr;
    ControlArray<QCheckBox> Che{QStringLiteral("Che")};
    ControlArray<QLabel> LabDaSalvare{QStringLiteral("LabDaSalvare")};
    ControlArray<QLabel> LabValParam{QStringLiteral("LabValParam")};
    QGroupBox *FraQualeIni = nullptr;
    QGroupBox *FraDoveSalva = nullptr;
    QRadioButton *OptIniPers = nullptr;
    QRadioButton *OptIniStd = nullptr;
    QRadioButton *OptSalInDef = nullptr;
    QRadioButton *OptSalInStamp = nullptr;
    QPushButton *ComSelTutto = nullptr;
    QPushButton *ComDeSelTutto = nullptr;
    QPushButton *ComAnnulla = nullptr;
    QPushButton *ComOk = nullptr;

    // ---- State ----

    // True while the dialog sets its own check boxes.
    bool InImpostazione = false;
    // True when the saved-options panel deletes.
    bool ModoCancella = true;
    // Printers without trays: "tutte", or device names each between commas.
    QString ElencoNoCassetti;
    std::array<int, 13> miChiaviConfig{};
    // The print-file dialog's last file name and filter.
    QString codFileNome;
    QString codFileFiltro;

  protected:
    void done(int r) override;
    void showEvent(QShowEvent *ev) override;
    void changeEvent(QEvent *ev) override;

  private:
    void Form_Load();
    void CreaControlli();
    QWidget *CreaPannelloStampante();
    QWidget *CreaPannelloVideo();
    QWidget *CreaPannelloFile();
    QWidget *CreaPannelloFissa();
    void CreaPannelloOpzioni();
    void CreaPannelloPdfEmail();
    void CollegaEventiPdfEmail();
    void NascondiPannelloPE();
    // The host parameter of a key for configuration c (0-2) in the mode in use.
    QString NomeChiavePE(const char *chiave, int c) const;
    void CollegaEventi();
    void RiempiGriglie();
    void MostraFoglio(QWidget *foglio);
    void ApriPannelloOpzioni(bool cancella);
    void ScegliFileStampa();
    void ScegliFileFisso();
    void CambiaScala();
    // The printer the trays and papers are asked of.
    void StampanteDaInterrogare(QString &device, QString &porta) const;
    void SpegniPdfAutom();

    OpzStampa *m_opz = nullptr;
    AdattatoreEventi *m_adattatore = nullptr;
    QStackedWidget *m_fogli = nullptr;
    QWidget *m_principale = nullptr;
    QStackedWidget *m_pannelli = nullptr;
};
