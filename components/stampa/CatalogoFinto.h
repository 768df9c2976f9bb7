// A printer catalogue for tests: printers, trays and papers as the test sets
// them, and the jobs sent, kept with their bytes and options. A printer
// named in RifiutaLavori refuses jobs; one named in FermaStampante is
// stopped: it keeps its jobs waiting.
#pragma once

#include "components/stampa/CatalogoStampanti.h"

#include <QByteArray>
#include <QHash>

class CatalogoFinto : public CatalogoStampanti
{
  public:
    struct Lavoro {
        QString stampante;
        QByteArray dati;
        OpzioniLavoro opzioni;
    };

    // A printer with its trays and papers (the catalogue's own PDF printers
    // are listed after the ones added here).
    void Aggiungi(const Stampante &s, const QList<VoceCarta> &cassetti = {},
                  const QList<VoceCarta> &carte = {});
    void ImpostaPredefinita(const QString &nome) { m_predefinita = nome; }
    void Svuota();
    void RifiutaLavori(const QString &stampante) { m_rifiuta = stampante; }
    void FermaStampante(const QString &stampante) { m_ferma = stampante; }
    // The printer's driver counts more paper sizes than it names.
    void CarteIncoerenti(const QString &stampante) { m_carteIncoerenti = stampante; }
    const QList<Lavoro> &Lavori() const { return m_lavori; }

    QList<VoceCarta> Cassetti(const QString &stampante) override;
    QList<VoceCarta> Carte(const QString &stampante) override;
    bool LeggiCarte(const QString &stampante, QList<VoceCarta> &carte) override;
    EsitoInvio Invia(const QString &stampante, const QString &file, const OpzioniLavoro &opzioni,
                     QString &messaggio) override;

  protected:
    QList<Stampante> LeggiStampanti() override;
    QString LeggiPredefinita() override { return m_predefinita; }

  private:
    QList<Stampante> m_stampanti;
    QHash<QString, QList<VoceCarta>> m_cassetti, m_carte;
    QString m_predefinita, m_rifiuta, m_ferma, m_carteIncoerenti;
    QList<Lavoro> m_lavori;
};
