// Readers and writers of the program's parameters: the INI files of this
// terminal and of all terminals, the personal parameters and the named
// parameters held by the menu host.
#pragma once

#include <QString>
#include <QVariant>

// The menu host's answer for a parameter it does not hold.
inline const QString NonTrovatoMenu = QStringLiteral("§ç~$!^");

// Value of the key in the program INI (this terminal's file first, then the
// common one); `def` when neither holds it.
QString LeggiParIni(const QString &section, const QString &key, const QString &def);
// The same, writing the value into `value`; answers the status as text:
// "1" found in this terminal's INI, "2" found in the common INI, "0" default.
QString LeggiParIni(const QString &section, const QString &key, const QString &def, QString &value);

// Writes key = value into an INI file and answers whether the file now says so.
// pbCancSezione removes the whole section (key and value ignored);
// pbCancChiave removes the key. With psFile empty the key's file is looked up:
// this terminal's INI (PathIni), then the common INI (PathIniComune, when set
// and different); a key in neither goes to the common INI when piLivello >= 2
// and the common INI is set, else to this terminal's INI, and is not written
// at all when pbCreaSeManca is false. With pbMostraMsg a failed write is also
// shown in the message box.
bool ScriviParIni(const QString &section, const QString &key, const QString &value, bool pbMostraMsg = false,
                  bool pbCreaSeManca = true, int piLivello = 1, bool pbCancSezione = false,
                  bool pbCancChiave = false, const QString &psFile = {});

// The host parameter "Personal." + section + ".§" + key; when the host does not
// hold it and a second section and key are given, "Personal." + section2 +
// ".§" + key2; when that is missing too, `def`. `grezzo` receives the host's
// last answer as it came.
QVariant LeggiParPersonale(const QString &section, const QString &key, const QVariant &def,
                           QVariant *grezzo = nullptr, const QString &section2 = {},
                           const QString &key2 = {});

// The host's named parameter (empty when the host does not hold it). A failing
// host call is thrown as VbErrore.
QVariant LeggiParMenu(const QString &name);
// Stores a named value in the host, keeping its type. Throws VbErrore when the
// host call fails.
void ScriviParMenu(const QString &name, const QVariant &value);

// `path` with every key written between two `separator` characters replaced by
// that key's value in `section` of the program INI. `placeholder` receives the
// first placeholder found (separators included) and `value` what it stood for;
// both are empty when the path holds none.
QString LeggiListaIni(const QString &path, const QString &separator, const QString &section,
                      QString &placeholder, QString &value);
