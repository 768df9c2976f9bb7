// The saved options of a print read back into its OpzStampa: the keys the
// print-choice dialog saves (StaVid, FileName, SepCampi, Fatt, FisRighe,
// NomeStampante, Cassetto, PdfNomeAutom...) in their saved text forms. For
// each key the print's own section wins over "Opzioni Stampa", and within a
// section this terminal's file over the common one; a key found nowhere
// leaves the option as it was.
#pragma once

#include <QString>
#include <functional>

class OpzStampa;

struct FontiOpzioni {
    QString iniTerminale;    // this terminal's INI
    QString iniComune;       // the INI common to all terminals ("" none)
    double risVidStaVid = 0; // preview display factor (the saved scale is divided by it)
    // A saved printer name as this session knows it (none: as saved).
    std::function<QString(const QString &)> nomeStampante;
};

// Every number is held to the range its control allows (the fixed-length
// rows and margins to what a page holds, see OpzStampa); a key whose value
// is beyond it, or is not a number, is left out or taken at the nearest
// allowed value. A separator and qualifier no reader could part the fields
// of an export by (see SeparatoriUtilizzabili) both take their defaults.
// Answers the message that names those keys, once each, or "" when every
// value read was allowed.
QString CaricaOpzioniSalvate(OpzStampa &opz, const FontiOpzioni &fonti);
