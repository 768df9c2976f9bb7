// The rows of one line grid of the customer form: the record set that the
// grid's record layer reads and writes, with its statement parts.
#pragma once

#include "components/db/RecDat.h"

#include <QString>
#include <QStringList>

struct RigheGriglia {
    QString tabella;       // PianoContiDoc or PdcDicIntenti
    QStringList colonne;   // the fields of the query, in grid order
    QString chiaveRiga;    // Ordine or PdcDicIntenti
    QString ordine;        // " Order by ..." clause
    bool vuota = true;     // opened with no rows
    RecDat rec;
    QString handle;
    int totale = 0;
};
