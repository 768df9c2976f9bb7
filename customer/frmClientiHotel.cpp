// The hotel-guest import of the customer form: the button opens the pick list
// of the hotel program's guests beside the form, and the pick list's callback
// copies the chosen guest's names, VAT number, address and phone numbers into
// the customer's fields, where they stay like typed values until the user
// saves or abandons the record.
#include "customer/frmClienti.h"

#include "components/db/RecDat.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QLineEdit>

namespace
{

struct Copia {
    const char *colonna;
    int campo;
};

// Guest columns copied as they are, in this order.
const Copia kCopie[] = {{"Rag1", 40},        {"Rag1", 50},  {"Rag2", 60},       {"PARTIVA", 1090},
                        {"INDIRIZZO", 1010}, {"CAP", 1020}, {"LOCALITA", 1045}, {"PROVINCIA", 1040}};
// Phone numbers: the area code, a blank and the number, when there is a number.
const Copia kTelefoni[] = {{"TELEFONO", 1060}, {"TELEF2", 1065}, {"FAX", 1070}};

} // namespace

void frmClienti::ComHotel_Click()
{
    if (oiInDett > 0)
        return;
    oiInDett = 1;
    setEnabled(false);
    try {
        // A window of its own: a child window would be disabled with the form.
        auto *lista = new frmLisAnagHotel();
        m_lisAnag = lista;
        lista->ofrmChiamante = this;
        if (lista->Form_Load()) {
            lista->show();
            lista->raise();
            lista->activateWindow();
        }
        // A failed load has called DopoLisAnag already.
    } catch (const VbErrore &e) {
        // The form and its button stay usable.
        if (m_lisAnag) {
            m_lisAnag->ofrmChiamante = nullptr;
            m_lisAnag->deleteLater();
            m_lisAnag = nullptr;
        }
        setEnabled(true);
        oiInDett = 0;
        MsgErrfrm(e);
    }
}

void frmClienti::DopoLisAnag()
{
    frmLisAnagHotel *lista = m_lisAnag;
    if (lista && lista->obConferma) {
        try {
            RecDat *rec = lista->ogRecDat();
            const QString &h = lista->osRecDat;
            auto testo = [&](const char *colonna) {
                return rec->LeggiCampo(h, QString::fromLatin1(colonna), UtilGlob::TipoTesto).toString();
            };
            for (const Copia &c : kCopie)
                txt(c.campo)->setText(testo(c.colonna));
            for (const Copia &c : kTelefoni) {
                const QVariant numero = rec->LeggiCampo(h, QString::fromLatin1(c.colonna));
                if (!numero.isValid() || numero.isNull() || Globali::Util().ValoreNumerico(numero) == 0)
                    continue;
                txt(c.campo)->setText((testo("PREFISSO") + QLatin1Char(' ') + testo(c.colonna)).trimmed());
            }
        } catch (const VbErrore &e) {
            // What was copied stays; the form is made usable again below.
            MsgErrfrm(e);
        }
    }
    if (lista) {
        try {
            lista->ogRecDat()->ChiudiRec(lista->osRecDat);
        } catch (const VbErrore &) {
        }
        lista->ofrmChiamante = nullptr;
        lista->deleteLater();
    }
    m_lisAnag = nullptr;
    setEnabled(true);
    raise();
    activateWindow();
    oiInDett = -1;
}
