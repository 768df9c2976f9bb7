// Acoustic signals, as the setting BeepCome asks: "N" or "0" silent, "" "S"
// or "1" the system beep, a sound file's path that sound.
#pragma once

#include <QString>
#include <functional>

// Gives the signal; answers what was done: "" nothing, "beep", or the file played.
QString SegnaleAcustico();
// Replaces what plays a sound ("" for the beep, else a file), for tests.
void ImpostaSuono(std::function<void(const QString &file)> suona);
