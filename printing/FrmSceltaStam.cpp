// The print-choice dialog: contract, load and close checks.
#include "printing/FrmSceltaStam.h"

#include "services/Globali.h"
#include "services/MsgCom.h"

FrmSceltaStam::FrmSceltaStam(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Scelta della modalità di stampa"));
    osRisVidKey = QStringLiteral("StaVid");
}

FrmSceltaStam::~FrmSceltaStam() = default;

bool FrmSceltaStam::VisDecodOk()
{
    if (Globali::StaAtt == 1) {
        msgCom(QStringLiteral("C'è una stampa in esecuzione. Non è possibile variare i parametri di stampa"));
        return false;
    }
    VisStaAttuale();
    return true;
}

void FrmSceltaStam::VisStaAttuale() {}
