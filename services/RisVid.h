// Adaptation of a window to the screen: the factor of a [Risoluzione Video]
// key scales the window's fonts and fixed sizes.
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QVariant>

class FormComune;
class QWidget;

// Factors are held to this range: below it fonts get unreadable, above it
// the windows (laid out for about 1240 x 760 pixels) outgrow any screen.
constexpr double FattoreRisVidMinimo = 0.5;
constexpr double FattoreRisVidMassimo = 2.0;
double LimitaFattoreRisVid(double fattore);

// The factor of a [Risoluzione Video] key ("Generale", "PersBase", "MsgCom",
// "StaVid" come from the globals set at start-up, others from the INI). A key
// whose value is not above 0 (StaVid's default -2 included) falls back on
// "Generale"; a "Generale" not above 0 means no scaling (1), Qt already
// following the screen's resolution. Held to the range above.
double FattoreRisVid(const QString &chiave);

// The part of the window's screen that windows may use.
QRect AreaSchermo(const QWidget *w);
// Brings a window, with its frame, inside the usable part of its screen:
// shrunk when larger (as far as its minimum size allows), moved when out.
void TieniSulloSchermo(QWidget *w);

// A control the adaptation treats in its own way: font -1 keeps its font;
// dimensioni -1 keeps its size, 1 scales only the width, 2 only the height.
struct AdattaControllo {
    QWidget *controllo = nullptr;
    int font = 0;
    int dimensioni = 0;
};

// Scales the window to `fattore` (not above 0: the factor of its osRisVidKey),
// held to the range above and, when it enlarges, to what still fits the
// screen. Scaling is relative to the factor already applied (odRisVidVal), so
// calling it again never compounds. Answers the factor now applied.
QVariant AdattaRisVideo(FormComune *form, const QVariant &secondo, double fattore,
                        const QList<AdattaControllo> &controlli = {});
