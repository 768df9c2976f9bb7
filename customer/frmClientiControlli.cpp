// Leaving a field of the customer form: the common frame of every field (colour,
// status bar, current field) and the page manager's own check of the field.
#include "customer/frmClienti.h"

#include "components/pagine/GestPagine.h"
#include "services/Colori.h"

#include <QLineEdit>

void frmClienti::txt_LostFocus(int Index)
{
    QLineEdit *t = txt.Trova(Index);
    if (!t || IndCtlPend >= 0)
        return;
    ScriviPannello(QStringLiteral("DescrCampo"), QString());
    ColoreCampo(t, false);
    CampoAttuale = -1;
    if (!m_comPag)
        return;
    const QString nome = m_comPag->NomeCampoControllo(t);
    if (!nome.isEmpty())
        m_comPag->CampoUscito(nome);
}
