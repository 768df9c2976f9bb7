// The launcher shown when the program starts without a window to open: the
// company and database in use, and the windows that can be opened by name.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

class frmAvvio : public QWidget
{
    Q_OBJECT
  public:
    explicit frmAvvio(QWidget *parent = nullptr);
    ~frmAvvio() override;

    QLabel *LabAzienda;
    QLabel *LabStato;
    QListWidget *LisForm;
    QPushButton *ComApri;
    QPushButton *ComEsci;

    void ComApri_Click();

  protected:
    void closeEvent(QCloseEvent *event) override;
};
