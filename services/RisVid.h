// Adaptation of a window to the screen: the factor of a [Risoluzione Video]
// key scales the window's fonts and fixed sizes.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class FormComune;
class QWidget;

// The factor of a [Risoluzione Video] key ("Generale", "PersBase", "MsgCom",
// "StaVid" come from the globals set at start-up, others from the INI). A key
// whose value is not above 0 (StaVid's default -2 included) falls back on
// "Generale"; a "Generale" not above 0 means no scaling (1), Qt already
// following the screen's resolution.
double FattoreRisVid(const QString &chiave);

// A control the adaptation treats in its own way: font -1 keeps its font;
// dimensioni -1 keeps its size, 1 scales only the width, 2 only the height.
struct AdattaControllo {
    QWidget *controllo = nullptr;
    int font = 0;
    int dimensioni = 0;
};

// Scales the window to `fattore` (not above 0: the factor of its osRisVidKey).
// Scaling is relative to the factor already applied (odRisVidVal), so calling
// it again never compounds. Answers the factor now applied.
QVariant AdattaRisVideo(FormComune *form, const QVariant &secondo, double fattore,
                        const QList<AdattaControllo> &controlli = {});
