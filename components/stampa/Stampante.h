// The printer object: one printer as the program knows it (its queue name,
// its port or device address, its driver and the paper it uses now). The
// program's current printer is one of these (StampanteApp.h).
#pragma once

#include <QString>

struct Stampante {
    QString DeviceName;
    QString Port;
    QString DriverName;
    int PaperSize = 0;     // paper number in use (Windows paper numbering)
    bool Virtuale = false; // a PDF printer the engine renders itself

    bool valida() const { return !DeviceName.isEmpty(); }
};
