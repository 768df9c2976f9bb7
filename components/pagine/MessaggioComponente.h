// How the record-form and line-grid engines ask the user a question: through
// the function the program hands them (its own message box), or else a plain
// Qt box that honours the scripted answers of tests.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Shows `testo` with the buttons `pulsanti` (captions, "&" marks the access
// key) and answers the 1-based number of the button pressed; `predefinito` is
// the button that has the focus first.
using FunzioneMessaggio =
    std::function<int(const QString &testo, const QStringList &pulsanti, int predefinito)>;

// Asks through `funzione` when set, else through the fallback box (parented
// to `genitore`). An answer outside the buttons counts as `predefinito`.
int ChiediUtente(const FunzioneMessaggio &funzione, const QString &testo, const QStringList &pulsanti,
                 int predefinito = 1, QWidget *genitore = nullptr);
