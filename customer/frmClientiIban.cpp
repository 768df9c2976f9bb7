// The IBAN editor of the customer form: the code is typed over the stored
// field, shown in groups of four when left and stored compact, in upper case;
// an Italian IBAN must be 27 characters long.
#include "customer/FormatiCampi.h"
#include "customer/frmClienti.h"

#include "components/forms/ColoriVb.h"
#include "services/Colori.h"
#include "services/Focus.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QLineEdit>

void frmClienti::txtAppo_GotFocus(int Index)
{
    if (Index != 4074)
        return;
    IndAppoAttuale = Index;
    QLineEdit *editor = txtAppo(Index);
    QString compatto = txt(4074)->text();
    compatto.remove(u' ');
    editor->setText(compatto);
    // The editor follows the stored field's read-only state.
    editor->setReadOnly(txt(4074)->isReadOnly() || !txt(4074)->isEnabled());
    SelezionaTesto();
    ScriviPannello(QStringLiteral("DescrCampo"), editor->toolTip());
    ColoraCampi(editor, 0);
}

void frmClienti::txtAppo_LostFocus(int Index)
{
    if (Index != 4074 || IndCtlPend >= 0)
        return;
    IndAppoAttuale = -1;
    QLineEdit *editor = txtAppo(Index);
    ScriviPannello(QStringLiteral("DescrCampo"), QString());
    ColoreCampo(editor, false);
    if (editor->isReadOnly()) {
        editor->setText(IbanAGruppi(txt(4074)->text()));
        return;
    }
    const QString codice = editor->text().remove(u' ').toUpper();
    const QString messaggio =
        QStringLiteral("Codice IBAN errato, la lunghezza (per l'Italia) deve essere 27");
    if (codice.startsWith(QLatin1String("IT")) && codice.size() != 27) {
        ColoriVb::ImpostaBackColor(editor, Globali::ColBackErrore);
        ScriviPannello(QStringLiteral("Messaggio"), messaggio);
        msgCom(messaggio);
        return;
    }
    ColoriVb::ImpostaBackColor(editor, Globali::ColBackNormale);
    // A right code takes away what was said of the wrong one.
    if (Pannello(QStringLiteral("Messaggio")) == messaggio)
        ScriviPannello(QStringLiteral("Messaggio"), QString());
    if (txt(4074)->text() != codice)
        txt(4074)->setText(codice);
    editor->setText(IbanAGruppi(codice));
}
