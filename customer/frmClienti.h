// frmClienti: the customer form. One account of PianoConti on eleven tab
// pages, read, edited, saved, copied and deleted through its page manager
// (GestPagine), with two line grids (attached documents, letters of intent)
// run by their GestLinee. The members keep the names the rest of the program
// and the components call them by.
#pragma once

#include "components/forms/ControlArray.h"
#include "components/linee/ChiamanteLinee.h"
#include "components/pagine/ChiamantePagine.h"
#include "customer/MemoriaDecodifiche.h"
#include "lists/frmLisAnagHotel.h"
#include "services/FormComune.h"
#include "services/FormLanciabile.h"
#include "services/MsgCom.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class AdattatoreEventi;
class GestLinee;
class GestPagine;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QStatusBar;
class QTabBar;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;
class RecDat;

class frmClienti : public QWidget,
                   public FormLanciabile,
                   public FormComune,
                   public ChiamantePagine,
                   public ChiamanteLinee,
                   public ChiamanteLisAnag
{
    Q_OBJECT
  public:
    explicit frmClienti(QWidget *parent = nullptr);
    ~frmClienti() override;

    // ---- Launch contract (frmClienti.cpp) ----

    // The page manager, created on first use.
    GestPagine *ogComPag();
    int oiInDett = 0;
    QVariant oiLoadOk() const override;
    QString osKeySec() const override { return m_osKeySec; }
    void osKeySec(const QString &psKeySec) override { m_osKeySec = psKeySec; }
    // One Integer per line grid; an index other than 0 or 1 is error 9.
    int oiNumKey(int Index) const;
    void oiNumKey(int Index, int valore);

    void Form_Load() override;
    // Cancel becomes true when the form must stay open.
    void Form_Unload(int &Cancel);
    void ButtonComando(const QString &psKey) override;
    void ChiudiFrm() override;
    void MenuFrm() override;
    void PassaA() override;
    QWidget *finestra() override { return this; }
    QWidget *Finestra() override { return this; }

    // ---- Common form framework (FormComune) ----

    void ParGestore(int gestore, const QString &nome, const QVariant &valore) override;
    QString ParametroApertura() const override { return osParam; }
    QWidget *CampoTesto(int indice, bool appo) override;

    // ---- Page-manager callbacks (frmClientiPrima.cpp, frmClientiDopo.cpp) ----

    QVariant PersPagPri(int piOper, QVariant &pvRit, QVariantList &pvArray) override;
    QVariant PersPagDop(int piOper, QVariant &pvRit, QVariantList &pvArray) override;
    // History row of the stored name and address (frmClientiStorico.cpp).
    QVariant ScriviStorico();

    // ---- Person fields (frmClientiPersona.cpp) ----

    void AbilDisabPersFis();
    void VerifRagSocUsata(const QString &psNome, const QString &psChiave);

    // ---- Mirroring and the events of check boxes, combos, options ----

    // frmClientiSpecchio.cpp: codes of the hidden fields into the controls.
    void AggNonText() override;
    // frmClientiScelte.cpp
    void Che_Click(int Index);
    void Che_GotFocus(int Index);
    void Che_KeyUp(int Index, int &KeyCode, int Shift);
    void Che_MouseDown(int Index, int Button);
    void Combo_KeyDown(int Index, int &KeyCode, int Shift);
    void Combo_LostFocus(int Index);
    void OptStatoGiu_Click(int Index);
    void OptSesso_Click(int Index);
    void OptFEAllegPdf_Click(int Index);
    // Delete key (46) and right button (2) on an option of a group.
    void Opt_KeyUp(ControlArray<QRadioButton> &gruppo, int &KeyCode);
    void Opt_MouseDown(ControlArray<QRadioButton> &gruppo, int Button);
    void LisTipoRif_Click();
    void LisTipoRif_LostFocus();

    // ---- Tab pages (frmClientiPagine.cpp) ----

    void TasPagine_Click();
    // The first visit's reading of a page (visDecodPagina) from the tab
    // click: a failure is told, and the page read again at the next visit.
    void LeggiPagina(int piPag);
    void TasPagine_BeforeClick(int &Cancel);
    void timTasPagine_Timer();
    void timComPag_Timer();
    void SistemaPagina(int piPag);
    void SalGotFocus(int Index);
    void pulDatiGrid(const QVariant &) {}
    QVariant TrovaQuale(const QVariant &) { return {}; }
    // Selects a tab (1-based), as a click on it would.
    void SelezionaTab(int piTab);
    // The page of a field the page manager refuses or names is shown, and the
    // control the user sees for it answered: the check box, combo or option
    // in front of a hidden code field, else the field's own box.
    QWidget *MostraCampo(QWidget *controllo) override;
    int TabSelezionato() const;

    // ---- Field events (frmClientiCampi.cpp) ----

    void txt_Change(int Index);
    void txt_GotFocus(int Index);
    void txt_KeyUp(int Index, int &KeyCode, int Shift) override;
    void AggAltriToolTipText();

    // ---- Keyboard (frmClientiTasti.cpp) ----

    void Form_KeyDown(int &KeyCode, int Shift);
    void Form_KeyPress(int &KeyAscii);
    void dbgRiga_DblClick(int Index);

    // ---- Field checks and decoding ----

    // frmClientiControlli.cpp: the check of a field left.
    void txt_LostFocus(int Index);
    // frmClientiDecodCampo.cpp: the decoding and follow-up of a field left.
    void DecodificaCampo(int Index, bool Modificato);
    // frmClientiDecod.cpp: each page's descriptions, once per page and record.
    void visDecodPagina(int piPag, bool pbMostra);
    void visDecodPagPri();
    void contatoriDalRecord();
    void visDecodClaAttr();
    void visDecodCoge();
    void visDecodFatturazione();
    void visDecodPagRapFisc();
    void pulDecodPagPri();
    void pulDecodClaAttr();
    void pulDecodCoge();
    void pulDecodFatturazione();
    void pulDecodPagRapFisc();
    // The VAT-check parameters of the country in field 1050.
    void ParametriStato(const QString &stato);
    // frmClientiProgressivi.cpp: the running-totals page.
    void VisDatiDaPdcProg();
    void PulDecodProgressivi();
    void ComGesProgr_Click();
    void ComGesProgrIVA_Click();
    // The menu host's key of the general ledger's utilities program.
    static inline const QString ProgrammaUtilitaCoge = QStringLiteral("UtilCoge");
    // frmClientiComune.cpp: municipality lookup (pbdecod false) or decoding
    // (pbdecod true, F3).
    void DecodComune(int piIndex, bool pbdecod, int pvKeyCode);
    // The description and cadastral code beside a town field, decoded without
    // a lookup window and without writing any field; empty abroad.
    void DescrizioneComune(int piIndex);
    bool NomeDaContoLetto(const QString &gruppo, const QString &mastro, const QString &conto);
    // frmClientiMemoria.cpp: the group's and ledger's names beside fields 10
    // and 20 and the ledger's highest account, kept from record to record
    // while the company's change counter stays still.
    void DecodificaGruppoMastro(int Index);
    // The description beside field 10 or 20 alone.
    void EtichettaGruppoMastro(int Index);
    // The key under which the registry page's countries are kept for the
    // record just read (its two stored countries); "" when none applies.
    QString ChiaveStatiLetti() const;
    // Whether the town of field 1030 or 1160 lies abroad.
    bool ComuneEstero(int piIndex);
    // frmClientiBottoni.cpp: fiscal code, next free account code, web map.
    void ComCalcCodFisc_Click();
    void ComCreaKey_Click();
    void comMappa_Click();
    // frmClientiIban.cpp: the IBAN editor over field 4074.
    void txtAppo_GotFocus(int Index);
    void txtAppo_LostFocus(int Index);

    // ---- Hotel-guest import (frmClientiHotel.cpp) ----

    void ComHotel_Click();
    // Called back by the pick list when it unloads: copies the confirmed
    // guest into the customer's fields and makes the form usable again.
    void DopoLisAnag() override;
    // The pick list while it is open (nullptr otherwise).
    frmLisAnagHotel *LisAnagHotel() const { return m_lisAnag; }

    // ---- Line grids ----

    // frmClientiLinee.cpp: set-up, columns, pages, read/write levels.
    void InizAbilLin();
    void InizGestComlin();
    // Title of grid g's print: what it lists and whose it is ("Documenti -
    // 0002 Rossi Mario").
    QString TitoloStampaLin(int griglia);
    GestLinee *GestLin(int i);
    QVariant QualePictLin(int piCorrente) const;
    QVariant VerModLin(int piIndex);
    void visDatiDaLin(int piIndex, bool pbMostra);
    void pulDatiDalin(int piIndex);
    // Grid piIndex on a page whose reading failed: emptied without reading,
    // and shown, so that the page keeps its layout.
    void LineeNonLette(int piIndex);
    // Whether a grid (pvQuale 0 or 1; -1 grid LinAttuale) is read-write by
    // its stored level, which its engine learns when the grid is filled; set,
    // the stored level of grid pvQuale or, with -1, the level of grid
    // LinAttuale at once.
    bool obAbilRW(int pvQuale = -1) const;
    void obAbilRW(int pvQuale, bool pbAbilRW);
    void oiAbilRWLin(int livello);
    // The framework's read/write level of the form: read, the level of grid 0
    // (whatever grid is current); set, the level of grid LinAttuale.
    int oiAbilRW() const override;
    void oiAbilRW(int piAbilRW) override;
    // Fixed (non-scrolling) columns of a grid, handed to it at set-up when above 0.
    int oiColFisse(int Index) const;
    void oiColFisse(int Index, int piColFisse);
    // Row of the current line on the grid's screen: its position less the
    // first row shown.
    QVariant ScrollOffset();
    void PersColonne() override;
    void SistemaGrigliaLin(int piPag);
    void AggApproxCount();
    QVariant ColToField(int piColIndex);
    QVariant ColToSourceField(int piColIndex) override;

    // frmClientiLineeDati.cpp: the record layer of grid LinAttuale
    // (PianoContiDoc for grid 0, PdcDicIntenti for grid 1).
    void GrigliaAttiva(GestLinee *griglia) override;
    QVariant DatiPrepara(const QVariant &pvOrdin, bool pbVuoto) override;
    void DatiRequery() override;
    void DatiMove(int piTipoMov) override;
    void DatiMoveRecNew() override;
    bool obRecNoVal() override;
    void DatiEdit() override;
    void DatiAddNew() override;
    bool DatiUpdate() override;
    void DatiAnnEdit() override;
    void DatiDelete() override;
    int DatiOrdinaSql(const QVariant &pvColIndex) override;
    QVariant ovDatiValue(const QVariant &pvCampo) override;
    void ovDatiValue(const QVariant &pvCampo, const QVariant &pvDatiValue) override;
    QVariant ovField(const QVariant &pvColIndex, const QString &psProprieta);
    int olRecPosition() override;
    void olRecPosition(int plRecPosition) override;
    int olNumRecTot() override;
    void olNumRecTot(int plNumRecTot);
    QVariant DatiErrore(GestLinee &griglia, int &DataError, int &Response) override;

    // frmClientiLineeControlli.cpp: cell checks, required fields, new-line defaults.
    // pvOldVal: the cell's value before the edit, when the caller has one.
    bool DatiValidi(int Index, const QVariant &ColIndex, bool flag, const std::optional<QVariant> &pvOldVal);
    bool DatiValidi(int ColIndex, bool flag, const QVariant &OldValue) override;
    bool VerifObbl(const QString &psCampo, const QString &psDescr, int pvTipo);
    // The fields a letter of intent must have before it is written.
    bool VerifObbligatoriDic();
    bool VerifUpdate() override { return true; }
    bool VerifPrimaUpdate(GestLinee &griglia, bool &Cancel) override;
    void dbgRiga_OnAddNew(GestLinee &griglia) override;
    QVariant DecodHelp(int Index, int colonna, int KeyCode);

    // frmClientiLineeEventi.cpp: events, line commands, keys, deferred work.
    void ButtonComandoLin(const QString &psKey);
    void eseguiComandoLin(int g, GestLinee *lin, const QString &psKey);

    // frmClientiVerifica.cpp: a save or delete whose commit lost its answer
    // with the connection. The customer is read again as soon as the server
    // answers, and the user is told what the database holds.
    void verificaDopoConfermaIncerta(int operazione);
    void verificaIncerta_Timer();
    // ms between two tries to reach the server, for the customer and its lines.
    static constexpr int IntervalloVerifica = 1000;
    QTimer *m_timerVerifica = nullptr;
    int m_verificaOperazione = 0;
    QStringList m_verificaChiave;
    QStringList m_verificaInviati; // the window's fields as the save sent them
    QStringList m_verificaLetti;   // and as read before it: the fields it wrote differ
    QVariantList m_verificaValori; // the row a delete was sent for, as read
    // frmClientiVerificaLinee.cpp: the same for a line of grid g, saved
    // (`inviata` the line as written, `mostrata` as the grid showed it,
    // `confronto` the columns written) or deleted (`inviata` as read before).
    struct VerificaLinea {
        bool attesa = false;
        int operazione = 0;
        QStringList cliente;
        QVariantList inviata, mostrata;
        QList<int> confronto;
    };
    void verificaLineaDopoConfermaIncerta(int g, int operazione, const QVariantList &inviata,
                                          const QList<int> &confronto, const QVariantList &mostrata);
    // At each tick the first grid waiting, or only grid `solo`.
    void verificaLinee_Timer(int solo = -1);
    // What the line of grid g that was sent holds now, said to the user.
    void diciEsitoLinea(int g, const VerificaLinea &v, int esito);
    std::array<VerificaLinea, 2> m_verificaLinea;
    QTimer *m_timerVerificaLinee = nullptr;
    void ButtonComandoLin(GestLinee &griglia, const QString &psKey) override;
    void dbgRiga_KeyDown(GestLinee &griglia, int &KeyCode, int Shift) override;
    void dbgRiga_KeyPress(GestLinee &griglia, int &KeyAscii) override;
    void dbgRiga_BeforeColUpdate(GestLinee &griglia, int ColIndex, const QVariant &OldValue,
                                 bool &Cancel) override;
    void dbgRiga_ButtonClick(GestLinee &griglia, int ColIndex) override;
    void dbgRiga_RowColChange(GestLinee &griglia, int LastRow, int LastCol) override;
    void dbgRiga_DblClick(GestLinee &griglia) override;
    void dbgRiga_UnboundReadData(GestLinee &griglia) override;
    void ovfrmBookmark(const QString &psBookmark) override;
    QString ovfrmBookmark() override;
    // The program's print state (1 while a print runs; the print engine
    // alone sets it).
    int oiStaAtt() override;
    void timVarie_Timer();

    // frmClientiDocumenti.cpp: attached documents of grid 0.
    void ApriDocumento();
    void CercaDocumento();

    // frmClientiDichIntenti.cpp: how much of the current letter of intent
    // the invoices, delivery notes and orders have used, under grid 1.
    void MostraTotaliDichIntenti();

    // E-mail kind of a document kind (1..5) from the personal settings.
    void QualeEmail(const QString &psGruppo, int piIndex, const QString &psDefault);

    // ---- Controls ----

    ControlArray<QLineEdit> txt{QStringLiteral("txt")};
    ControlArray<QLabel> Label1{QStringLiteral("Label1")};
    ControlArray<QLabel> Lab{QStringLiteral("Lab")};
    ControlArray<QToolButton> ComHlp{QStringLiteral("ComHlp")};
    ControlArray<QCheckBox> Che{QStringLiteral("Che")};
    ControlArray<QComboBox> Combo{QStringLiteral("Combo")};
    ControlArray<QRadioButton> OptStatoGiu{QStringLiteral("OptStatoGiu")};
    ControlArray<QRadioButton> OptSesso{QStringLiteral("OptSesso")};
    ControlArray<QRadioButton> OptFEAllegPdf{QStringLiteral("OptFEAllegPdf")};
    ControlArray<QWidget> Fra{QStringLiteral("Fra")};
    ControlArray<QWidget> PicPagine{QStringLiteral("PicPagine")};
    ControlArray<QWidget> PicNoRic{QStringLiteral("PicNoRic")};
    ControlArray<QFrame> PicEvid{QStringLiteral("PicEvid")};
    ControlArray<QTableView> dbgRiga{QStringLiteral("dbgRiga")};
    ControlArray<QToolBar> tolComlin{QStringLiteral("tolComlin")};
    ControlArray<QLineEdit> txtRiga{QStringLiteral("txtRiga")};
    QWidget *picTest = nullptr;
    QWidget *picDett = nullptr;
    QTabBar *TasPagine = nullptr;
    QStackedWidget *areaPagine = nullptr;
    QToolBar *tolComPag = nullptr;
    QStatusBar *staMessaggi = nullptr;
    QLineEdit *TxtCodCli = nullptr;
    QListWidget *LisTipoRif = nullptr;
    QLabel *labMax = nullptr;
    QPushButton *ComHotel = nullptr;
    QPushButton *ComGesProgr = nullptr;
    QPushButton *ComGesProgrIVA = nullptr;
    QTimer *timTasPagine = nullptr;
    QTimer *timComPag = nullptr;
    QTimer *timVarie = nullptr;
    AdattatoreEventi *adattatore = nullptr;
    // Decoding receivers and special buttons (frmClientiLayoutCampi.cpp).
    ControlArray<QLabel> labIso{QStringLiteral("labIso")};
    ControlArray<QLabel> labProv{QStringLiteral("labProv")};
    ControlArray<QLineEdit> txtAppo{QStringLiteral("txtAppo")};
    QLabel *LabBlackList = nullptr;
    QPushButton *ComCalcCodFisc = nullptr;
    QPushButton *ComCreaKey = nullptr;
    QPushButton *comMappa = nullptr;
    QTableView *dbgLista = nullptr;

    // Status-bar panels by key ("DescrCampo", "Messaggio").
    void ScriviPannello(const QString &chiave, const QString &testo);
    QString Pannello(const QString &chiave) const;

    // ---- Form state ----

    QString CaptionIniziale;
    int PagAttuale = 0;
    int LinAttuale = 0;
    bool PagConLin = false;
    std::array<int, 11> PagLin{};
    QString NomeCtlPend;
    int IndCtlPend = -1;
    int CampoAttuale = -1;
    QString DescrIngresso, StatoIngresso;
    std::array<bool, 11> mvPagDecod{};
    // Country of the VAT-number check: code, ISO code, the two lengths.
    QString msStatoCod, msStatoIso;
    int miLungPartIva = 0, miLungPartIva2 = 0;
    // The txtAppo field being edited.
    int IndAppoAttuale = -1;
    // Descriptions of the look-up tables kept from record to record.
    MemoriaDecodifiche m_memoria;
    bool ChiusuraForm = false;
    long ColoreLabel7010 = 0;
    QString CodStatoDef;
    bool mbCognomePersFisica = false;
    std::array<int, 6> EmailDocPredef{};
    // The check of a field left could not be done (its query failed).
    bool ControlloFallito = false;
    // A history transaction begun by the before-save callback is open.
    bool TransStoricoAperta = false;
    // A delete transaction begun by the before-delete callback is open.
    bool TransCancAperta = false;
    // History rows written by this form.
    int NumStorico = 0;
    // Record set of the running-totals page ("" when none).
    QString RsProgressivi;
    // The customer list window the page manager drives (created at load).
    FormListaPagine *frmClientiLis = nullptr;

    // Per line grid.
    std::array<bool, 2> ModificaOk{{true, true}};
    // A grid is set up (its lines may be written); its fixed columns.
    std::array<bool, 2> LinPronta{};
    std::array<int, 2> ColFisseLin{};
    std::array<QString, 2> CmdLinInCorso;
    std::array<bool, 2> DecodLin{};
    std::array<int, 2> AzioneLin{};
    std::array<QString, 2> BookmarkLin;
    std::array<int, 2> LivelloLin{{1, 1}};
    std::array<bool, 2> AbilLin{{true, true}};
    // Record layer per grid: its record set, the handle of the open rows, the
    // row count; NoLettura 1 while a grid is emptied (a re-read loads nothing).
    std::array<std::unique_ptr<RecDat>, 2> RecLin;
    std::array<QString, 2> IdRecLin;
    std::array<int, 2> NumRecLin{};
    int NoLettura = 0;
    // Element 1 is 1 while a letter-of-intent cell is being checked.
    std::array<int, 2> ValidaInCorso{};

    // Current-page helper: tab strip's selected tab minus one.
    int PaginaCorrente() const;
    // Whether the whole form was opened read-only ("/RO").
    bool SolaLettura() const { return m_solaLettura; }

  protected:
    void closeEvent(QCloseEvent *ev) override;
    void resizeEvent(QResizeEvent *ev) override;
    void showEvent(QShowEvent *ev) override;
    bool eventFilter(QObject *obj, QEvent *ev) override;

  private:
    // frmClientiLayout.cpp
    void CreaControlli();
    void CreaTestata();
    void CreaPagine();
    void CreaGriglie();
    void CollegaEventi();
    // frmClientiPagine.cpp
    void PosizionaEvidenza(int piPag);
    // frmClientiLayoutCampi.cpp
    void CreaControlliCampi();
    // frmClientiDecod.cpp: " WHERE" and the account key of the form.
    QString CondizioneCliente() const;
    // frmClientiProgressivi.cpp
    QString SqlProgressivi(int anno, bool apertoPrec) const;
    void GestioneProgressivi(const QString &funzione);
    // frmClientiControlli.cpp, frmClientiDecodCampo.cpp
    // False when the field's check could not be done (a failed read, said).
    bool ControllaCampo(int Index);
    void DecodificaStato();
    void ChiediConferma(QLineEdit *campo, const QString &testo);
    // Takes the error colour off every field and empties the status bar's
    // message (a record read, cleared or saved).
    void TogliSegniErrore();
    void ControllaPartitaIva();
    void ControllaCodiceFiscale();
    // frmClienti.cpp
    void RegistraCampi();
    void PrimoCampo();
    void CaricaNonRiuscito();
    // Releases the page and grid managers after the call that closes the form.
    void RilasciaGestori();
    // frmClientiSpecchio.cpp
    void ImpostaDipendentiRif(const QString &codice, bool daUtente);
    void PulisciGruppo(ControlArray<QRadioButton> &gruppo);
    // Writes a field's hidden code without counting it as the user's change
    // when mirroring or a callback writes it.
    void ScriviCodice(int Index, const QString &codice);
    // frmClientiLineeDati.cpp: the message of a line of grid g whose code the
    // account already has (`dettaglio` the database's words); the user is put
    // on that code.
    QString codiceDoppio(int g, const QString &dettaglio);

    QString m_osKeySec;
    int m_loadOk = -1;
    std::array<int, 2> m_numKey{};
    bool m_solaLettura = false;
    bool m_inRipristinoTab = false;
    bool m_inSpecchio = false;
    // While a record just read is shown: its row is the account's own.
    bool m_contoAppenaLetto = false;
    // While the transaction a before-callback began is open (history of a
    // save, cascade of a delete): its notices are shown once it has ended.
    std::optional<AvvisiRinviati> m_avvisiTransazione;
    QPointer<GestPagine> m_comPag;
    QPointer<frmLisAnagHotel> m_lisAnag;
    QPointer<QWidget> m_finestraLista; // the list window behind frmClientiLis
    std::array<QPointer<GestLinee>, 2> m_gestLin;
    // "account|letter" of the letters whose totals errors were shown, so that
    // moving over the lines does not show them again.
    QStringList m_erroriDichMostrati;
    std::unique_ptr<RecDat> m_rsForm;
    QLabel *m_pannelloDescr = nullptr;
    QLabel *m_pannelloMsg = nullptr;
};
