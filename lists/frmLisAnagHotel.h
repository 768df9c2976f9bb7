// frmLisAnagHotel: the pick list of the guests of the hotel program
// ("Lista anagrafiche da Hotel"), read from its table 0_ClientHotelArdeno.
// The caller sets ofrmChiamante, loads and shows the window (not modal); when
// the window unloads, whatever the reason, it calls the caller's DopoLisAnag,
// which reads obConferma and, when a guest was confirmed, the guest's columns
// through ogRecDat/osRecDat, positioned on that guest, and closes that record
// set. The window only reads the guest table.
#pragma once

#include "services/FormComune.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class ModelloLista;
class QPushButton;
class QTableView;
class RecDat;

// The caller of the pick list.
class ChiamanteLisAnag
{
  public:
    virtual ~ChiamanteLisAnag() = default;
    virtual void DopoLisAnag() = 0;
};

class frmLisAnagHotel : public QWidget, public FormComune
{
    Q_OBJECT
  public:
    explicit frmLisAnagHotel(QWidget *parent = nullptr);
    ~frmLisAnagHotel() override;

    ChiamanteLisAnag *ofrmChiamante = nullptr;
    // The guests' record set, created on first use.
    RecDat *ogRecDat();
    QString osRecDat;
    bool obConferma = false;

    // Opens the guests; on failure shows the error box and unloads (the
    // caller is called back with obConferma False). False when it failed.
    bool Form_Load();
    // Calls the caller back once; the record set stays open for it.
    void Form_Unload();
    bool Scaricato() const { return m_scaricato; }

    void comOk_Click();
    void ComAnnulla_Click();
    void dbgRiga_DblClick();

    QWidget *finestra() override { return this; }

    QTableView *dbgRiga = nullptr;
    QPushButton *comOk = nullptr;
    QPushButton *ComAnnulla = nullptr;

    // The SELECT of the guests.
    static QString SqlOspiti();

  protected:
    void closeEvent(QCloseEvent *ev) override;

  private:
    void colonne();

    std::unique_ptr<RecDat> m_rec;
    std::unique_ptr<ModelloLista> m_modello;
    bool m_scaricato = false;
};
