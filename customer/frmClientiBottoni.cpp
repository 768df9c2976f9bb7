// Buttons of the customer form that fill fields or open something for the
// user: the fiscal code from the personal data, the next free account code,
// and the customer's address on a web map.
#include "customer/FormatiCampi.h"
#include "customer/frmClienti.h"

#include "components/forms/ColoriVb.h"
#include "components/forms/UtilFinestre.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Codici.h"
#include "services/Fiscale.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QLabel>
#include <QLineEdit>

void frmClienti::ComCalcCodFisc_Click()
{
    const UtilGlob &u = Globali::Util();
    const bool mancano = u.ValoreVuoto(txt(1135)->text()) || u.ValoreVuoto(txt(1137)->text()) ||
                         u.ValoreVuoto(txt(1140)->text()) ||
                         ColoriVb::BackColor(txt(1140)) == Globali::ColBackErrore ||
                         u.ValoreVuoto(txt(1130)->text()) || u.ValoreVuoto(Lab(1162)->text());
    // A birth date or a cadastral code that gives no code is missing data
    // too: the field keeps the code it had.
    const QString codice =
        mancano ? QString()
                : CodiceFiscale(txt(1135)->text(), txt(1137)->text(), UtilGlob::LeggiData(txt(1140)->text()),
                                txt(1130)->text(), Lab(1162)->text());
    if (codice.isEmpty()) {
        msgCom(QStringLiteral("Mancano dati obbligatori per il calcolo del codice fiscale"));
        return;
    }
    txt(1100)->setText(codice);
}

void frmClienti::ComCreaKey_Click()
{
    try {
        const QString gruppo = txt(10)->text(), mastro = txt(20)->text();
        // A whole code (four characters) in the box: nothing to propose.
        const QString codice = NuovoCodiceConto(
            txt(30)->text(), [&](const QString &p) { return UltimoConto(gruppo, mastro, false, p); });
        if (!codice.isEmpty()) {
            txt(30)->setText(codice);
            // Checked as a code the user typed: found free now, a duplicate at
            // the save is another desk's since.
            GestPagine *pag = ogComPag();
            pag->CampoUscito(pag->NomeCampoControllo(txt(30)));
        }
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void frmClienti::comMappa_Click()
{
    const QUrl indirizzo = IndirizzoMappa(txt(1010)->text(), txt(1020)->text(), txt(1045)->text(),
                                          txt(1040)->text(), Lab(1050)->text());
    if (indirizzo.isEmpty())
        return;
    if (!UtilFinestre::ApriConShell(indirizzo))
        msgCom(QStringLiteral("Impossibile aprire la mappa: nessun browser disponibile per ") +
               indirizzo.toString(QUrl::FullyEncoded));
}
