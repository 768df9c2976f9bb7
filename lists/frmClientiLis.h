// frmClientiLis: the customer list window ("Lista Clienti") of the customer
// form. Customers of PianoConti in a grid read a page at a time, a search
// panel of nine fields (account range, name, VAT number, fiscal code,
// creation dates, zone, agent), a text search in a column, and the hand-back
// of the chosen row to the customer form. The list itself is run by the list
// component (GestLista in ogComlin, ListaPagine in ogLisPag), which calls the
// window back through ChiamanteLista; the window never writes the database.
#pragma once

#include "components/forms/ControlArray.h"
#include "components/lista/ChiamanteLista.h"
#include "components/pagine/ChiamantePagine.h"
#include "services/FormComune.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QString>
#include <QVariant>
#include <QWidget>

class AdattatoreEventi;
class GestLista;
class GestPagine;
class ListaPagine;
class QComboBox;
class QGroupBox;
class QPushButton;
class QTableView;
class QTimer;
class QToolBar;

class frmClientiLis : public QWidget, public FormComune, public ChiamanteLista, public FormListaPagine
{
    Q_OBJECT
  public:
    explicit frmClientiLis(QWidget *parent = nullptr);
    ~frmClientiLis() override;

    // ---- Public interface (frmClientiLis.cpp) ----

    GestLista *ogComlin = nullptr;
    ListaPagine *ogLisPag = nullptr;
    QString osKeySec;

    void Form_Load();
    void Form_Unload();
    QVariant ovField(int piColIndex, const QString &psProprieta) override;
    void PersColonne() override;
    QVariant ColToSourceField(int piColIndex) override;
    void ButtonComando(const QString &psKey) override;
    void CompilaKey() override {}
    QVariant ListaKey() override;
    void impOggBase(GestPagine *pgComPag) override;
    QVariant PersListaKey(QVariant &key) override;
    QVariant PrepSql(const QString &psWhere) override;
    QVariant VerSelez() override;
    void ovfrmBookmark(const QString &psBookmark) override;
    QString ovfrmBookmark() const override { return m_bookmark; }
    QVariant SettaRecordset(QString &psSql, const QVariant &pvFaiSql) override;
    void DatRefresh() override;
    void ChiudiFrm() override;
    void MenuFrm() override;
    int oiStaAtt() const override;
    QString osSql() const override { return m_sql; }
    void ListaAvanti() override;
    void ListaIndietro() override;
    QWidget *Finestra() override { return this; }
    QString TestoRigaAssente(int riga, const QStringList &chiave) override;
    // The customer form's "Lista": the list on its search condition.
    void MostraLista(const QString &condizione) override;

    // ---- Common form framework ----

    QWidget *finestra() override { return this; }
    bool ComandoDisponibile(const QString &psKey) const override;
    QWidget *CampoTesto(int indice, bool appo) override;

    // ---- Commands, grid events, timers, keys (frmClientiLisEventi.cpp) ----

    void dbgRiga_Click();
    void dbgRiga_DblClick();
    void dbgRiga_KeyDown(int &KeyCode, int Shift);
    void dbgRiga_HeadClick(int ColIndex);
    void dbgRiga_ColResize(int ColIndex);
    void dbgRiga_RowColChange(int LastRow, int LastCol);
    void dbgRiga_MouseMove(int y);
    void timVarie_Timer();
    void selezioneInSospeso();
    void timResize_Timer();
    void Form_KeyDown(int &KeyCode, int Shift);
    void Form_KeyPress(int &KeyAscii);
    void txt_GotFocus(int Index);
    void txt_LostFocus(int Index);
    void txt_KeyDown(int Index, int &KeyCode, int Shift);
    void txtCerca_GotFocus();
    void txtCerca_LostFocus();

    // ---- Controls (frmClientiLisLayout.cpp) ----

    ControlArray<QLineEdit> txt{QStringLiteral("txt")};
    ControlArray<QLabel> Label1{QStringLiteral("Label1")};
    ControlArray<QRadioButton> optDirez{QStringLiteral("optDirez")};
    QTableView *dbgRiga = nullptr;
    QToolBar *tolComlin = nullptr;
    QLineEdit *txtRiga = nullptr;
    QGroupBox *FraCerca = nullptr;
    QPushButton *ComCerca = nullptr;
    QLineEdit *txtCerca = nullptr;
    QComboBox *CobCerca = nullptr;
    QGroupBox *fraCercaOpt = nullptr;
    QLabel *LabCerca = nullptr;
    QTimer *timVarie = nullptr;
    QTimer *timResize = nullptr;
    AdattatoreEventi *adattatore = nullptr;

    // ---- State ----

    QString ComandoInCorso;
    QString NomeCtlAttivo;
    int IndiceTxtAttivo = -1;
    int AzioneTimer = 0;
    int FlagIntestazione = 0;
    int DaTastiera = 0;
    int InChiusura = 0;

  protected:
    void closeEvent(QCloseEvent *ev) override;
    void resizeEvent(QResizeEvent *ev) override;
    void showEvent(QShowEvent *ev) override;
    bool eventFilter(QObject *obj, QEvent *ev) override;

  private:
    void CreaControlli();
    void CollegaEventi();
    void RiempiColonneCerca();

    QString m_sql;
    QString m_bookmark;
    QString m_captionDesigner;
};
