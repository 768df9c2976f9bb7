// The printer catalogue of the system: queues with their device addresses,
// makes and default papers in one request, the default printer, trays,
// media names and job submission through libcups (the CUPS server of the
// environment: CUPS_SERVER, or the local one). The PDF printers the engine
// renders itself are listed after the queues.
#pragma once

#include "components/stampa/CatalogoStampanti.h"

class CatalogoCups : public CatalogoStampanti
{
  public:
    QList<VoceCarta> Cassetti(const QString &stampante) override;
    QList<VoceCarta> Carte(const QString &stampante) override;
    bool LeggiCarte(const QString &stampante, QList<VoceCarta> &carte) override;
    EsitoInvio Invia(const QString &stampante, const QString &file, const OpzioniLavoro &opzioni,
                     QString &messaggio) override;

    // The number a CUPS tray name ("media-source" keyword) gets; `posizione`
    // numbers the trays with no number of their own.
    static int NumeroCassetto(const QString &chiave, int posizione);

  protected:
    QList<Stampante> LeggiStampanti() override;
    QString LeggiPredefinita() override;
};
