// Saving and deleting the PDF and e-mail settings in the menu host's INI
// files: the selection text of the flagged keys (level, then 22 flags for
// each configuration) handed to the host with ScriviIniComuni, and the
// re-reading with LeggiIniComuni.
#include "printing/FrmSceltaStam.h"

#include "components/util/VbErrore.h"
#include "printing/MessaggiStampa.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"

#include <algorithm>

namespace
{

// The password boxes: a password never goes into an INI file.
constexpr int CaselleSalvaPassword[] = {15, 115, 215};

} // namespace

QVariant FrmSceltaStam::IndInVet(int piCheck)
{
    return std::find(miChiaviConfig.cbegin(), miChiaviConfig.cend(), piCheck) != miChiaviConfig.cend();
}

QVariant FrmSceltaStam::SalvaCancIniPE()
{
    QString s = OptPEDove(1)->isChecked() ? QStringLiteral("g") : QStringLiteral("p");
    for (int c = 0; c < 3; ++c) {
        for (int k = 1; k <= 21; ++k) {
            if (c >= 1 && !IndInVet(k).toBool()) {
                s += QLatin1Char('X');
                continue;
            }
            QCheckBox *b = ChePdfEmailSalva.Trova(100 * c + k);
            s += b && b->isChecked() ? QLatin1Char('S') : QLatin1Char('N');
        }
        if (c >= 1)
            s += QLatin1Char('X');
        else
            s += ChePdfEmailSalva(22)->isChecked() ? QLatin1Char('S') : QLatin1Char('N');
    }
    return s;
}

void FrmSceltaStam::PESelDeselSalOpz(bool pbSelez)
{
    for (auto [indice, casella] : ChePdfEmailSalva)
        casella->setChecked(pbSelez);
    if (pbSelez)
        for (const int i : CaselleSalvaPassword)
            ChePdfEmailSalva(i)->setChecked(false);
}

void FrmSceltaStam::ComPESalva_Click()
{
    try {
        if (!CtrlTxtValidi().toBool())
            return;
        for (const int i : CaselleSalvaPassword)
            if (ChePdfEmailSalva(i)->isChecked()) {
                MessaggiStampa::Avviso(
                    QStringLiteral("La password non viene salvata nei file ini: togliere la "
                                   "spunta \"Salvare\" accanto a \"Pwd Email\" della Scelta %1")
                        .arg(i / 100 + 1));
                return;
            }
        AggIniPE();
        AggiornaPdfAutom();
        ScriviParMenu(QStringLiteral("ScriviIniComuni"),
                      QStringLiteral("+") + SalvaCancIniPE().toString() + QStringLiteral("V"));
        if (oiRichDatiEmail != 1000)
            NascondiPannelloPE();
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void FrmSceltaStam::ComPECanc_Click()
{
    try {
        ScriviParMenu(QStringLiteral("ScriviIniComuni"),
                      QStringLiteral("-") + SalvaCancIniPE().toString() + QStringLiteral("V"));
        ScriviParMenu(QStringLiteral("LeggiIniComuni"), 1);
        if (oiRichDatiEmail != 1000)
            NascondiPannelloPE();
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void FrmSceltaStam::ComPERileggi_Click()
{
    try {
        ScriviParMenu(QStringLiteral("LeggiIniComuni"), 1);
        MostraIniPE();
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}
