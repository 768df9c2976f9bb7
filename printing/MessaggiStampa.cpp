// The print windows' message boxes.
#include "printing/MessaggiStampa.h"

#include "components/forms/RisposteProgrammate.h"
#include "services/MsgCom.h"

#include <QGuiApplication>

namespace MessaggiStampa
{

void MsgBox(const QString &testo, const QString &titolo, QMessageBox::Icon icona, QWidget *genitore,
            const QString &dettagli)
{
    const QString t = titolo.isEmpty() ? QGuiApplication::applicationDisplayName() : titolo;
    if (RisposteProgrammate::Attivo(TipoMsgBox) || RisposteProgrammate::Attivo(RisposteProgrammate::MsgCom)) {
        RisposteProgrammate::Registra(TipoMsgBox, {{QStringLiteral("testo"), testo},
                                                   {QStringLiteral("titolo"), t},
                                                   {QStringLiteral("icona"), int(icona)},
                                                   {QStringLiteral("dettagli"), dettagli}});
        RisposteProgrammate::Prendi(TipoMsgBox);
        return;
    }
    QMessageBox box(icona, t, testo, QMessageBox::Ok, genitore);
    box.setDetailedText(dettagli);
    box.exec();
}

void Avviso(const QString &testo)
{
    msgCom(testo, QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1, 0, false);
}

} // namespace MessaggiStampa
