// The fallback question box of the engines, scripted in tests like the
// program's own message box.
#include "components/pagine/MessaggioComponente.h"

#include "components/forms/RisposteProgrammate.h"

#include <QMessageBox>
#include <QPushButton>
#include <QVariantMap>

int ChiediUtente(const FunzioneMessaggio &funzione, const QString &testo, const QStringList &pulsanti,
                 int predefinito, QWidget *genitore)
{
    const int n = int(std::max<qsizetype>(1, pulsanti.size()));
    auto valida = [&](int r) { return (r >= 1 && r <= n) ? r : std::clamp(predefinito, 1, n); };
    if (funzione)
        return valida(funzione(testo, pulsanti, predefinito));

    if (RisposteProgrammate::Attivo(RisposteProgrammate::MsgCom)) {
        QVariantMap mostrato;
        mostrato.insert(QStringLiteral("testo"), testo);
        mostrato.insert(QStringLiteral("pulsanti"), pulsanti);
        mostrato.insert(QStringLiteral("comDefault"), predefinito);
        RisposteProgrammate::Registra(RisposteProgrammate::MsgCom, mostrato);
        const auto risposta = RisposteProgrammate::Prendi(RisposteProgrammate::MsgCom);
        return valida(risposta ? risposta->toInt() : predefinito);
    }

    QMessageBox box(genitore);
    // The system's words after "Dettaglio:" go behind the box's details button.
    static const QString dettaglio = QStringLiteral("\nDettaglio: ");
    const qsizetype i = testo.indexOf(dettaglio);
    box.setText(i < 0 ? testo : testo.left(i).trimmed());
    if (i >= 0)
        box.setDetailedText(testo.mid(i + dettaglio.size()).trimmed());
    QList<QPushButton *> bottoni;
    const QStringList didascalie = pulsanti.isEmpty() ? QStringList{QStringLiteral("&Ok")} : pulsanti;
    for (const QString &d : didascalie)
        bottoni << box.addButton(d, QMessageBox::AcceptRole);
    box.setDefaultButton(bottoni.value(std::clamp(predefinito, 1, int(bottoni.size())) - 1));
    box.exec();
    const int premuto = int(bottoni.indexOf(qobject_cast<QPushButton *>(box.clickedButton()))) + 1;
    return valida(premuto);
}
