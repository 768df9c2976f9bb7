// The print-choice dialog ("Scelta della modalità di stampa"): where one print
// goes (printer, preview, file, fixed-length), with its printer, tray, paper,
// page range, file options and saved option sets. It prints nothing: every
// control writes into the print's OpzStampa as the user changes it, and
// closing only checks the object.
//
// Opener's order: create the dialog, set ogOpzSta, call VisDecodOk, and only
// when it answers true show the dialog modally; afterwards refresh the
// opener's own current-printer label.
#pragma once

#include <QDialog>
#include <QString>

class OpzStampa;

class FrmSceltaStam : public QDialog {
    Q_OBJECT
public:
    explicit FrmSceltaStam(QWidget *parent = nullptr);
    ~FrmSceltaStam() override;

    void ogOpzSta(OpzStampa *opz) { m_opz = opz; }
    OpzStampa *ogOpzSta() const { return m_opz; }
    QString osRisVidKey;
    int oiRichDatiEmail = 0;

    // False, after telling the user, while a print runs; otherwise fills the
    // dialog from the print's options and answers true.
    bool VisDecodOk();
    // Refreshes the current-printer label.
    void VisStaAttuale();

private:
    OpzStampa *m_opz = nullptr;
};
