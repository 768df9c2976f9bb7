// First and last steps of every window's load: the wait window, the
// read-only opening, the screen scaling and the parameters handed to the
// window's managers.
#pragma once

#include <QString>
#include <QVariant>

class FormComune;

// Shows "Caricamento maschera" unless pbNoAttesa; with pbRO the key "RO" of
// the opening parameter sets oiAbilRW (0 for "/RO", else 1); with pbRisVid
// scales the window and hands "RisVid" to the managers flagged (pbComPag,
// pbLinPag, pbLisPag). A non-empty psTesto becomes the window's title.
QVariant PreparaForm(FormComune *form, int pbComPag = 0, int b3 = 0, int pbLinPag = 0, int b5 = 0,
                     int pbLisPag = 0, int b7 = 0, int pbRO = 0, int pbNoAttesa = 0, int pbRisVid = 0,
                     const QString &psTesto = {});

// Hands oiAbilRW ("AbilRW") to the managers flagged, unloads the wait window
// unless pbTieniAttesa, with pbRisVid tells the managers the scaling is done
// ("RisVidFatta"). pvStato: 0 normal, 1 minimised, 2 maximised; missing: the
// setting Massimizzato ("S" maximises a window that is not a dialog).
QVariant FinePreparaForm(FormComune *form, int pbComPag = 0, int b3 = 0, int pbLinPag = 0, int b5 = 0,
                         int pbLisPag = 0, int b7 = 0, int pbTieniAttesa = 0, int pbRisVid = 0,
                         const QVariant &pvStato = {});

// The value of `chiave` in an opening parameter written "K=V;K2=V2" (keys
// without regard to case); a bare "/RO" stands for "RO=/RO". "" when absent.
QString LeggiChiaveParametro(const QString &parametro, const QString &chiave);
