// What the standalone menu host does with the commands ScriviIniComuni and
// LeggiIniComuni: the selection text names, key by key and configuration by
// configuration, the PDF and e-mail parameters to save into or delete from the
// parameter file of this terminal ("p") or of all terminals ("g").
#pragma once

#include <QString>
#include <QStringList>

namespace IniComuniLocali
{

struct Selezione {
    bool salva = false;  // "+" save, "-" delete
    bool comune = false; // "g": the file common to all terminals
    QStringList nomi;    // host parameters flagged "S"
};

// Reads a selection text ("+" or "-", "p" or "g", 3 x 22 flags, "V"); any
// other text is VB error 5.
Selezione LeggiSelezione(const QString &testo);
// Every host parameter the selection can name.
QStringList NomiParametri();
// The numbered name of a plain per-configuration key ("EmailLogin", 2 ->
// "EmailLogin2"); "" for any other name or a configuration outside 1..3.
QString NomeInConfigurazione(const QString &nome, int configurazione);
// A mail password ("EmailPwd", "EmailPwd1"...): never written to a file.
bool EPassword(const QString &nome);

} // namespace IniComuniLocali
