// Fixed-length print: the rows as lines of fixed width for a line printer or
// a file read by another program. Each page has blank lines at the top, a
// header (title and page number, captions, a dashed rule), the rows, blank
// lines at the bottom and a form feed; every line is padded to the same
// width. With compressed print the printer codes chosen go before and after
// the whole print. Texts are written in Latin-1, lines end with CR LF.
#pragma once

#include "components/stampa/Esportazione.h"

#include "components/stampa/FileInScrittura.h"

#include <QByteArray>

class OpzStampa;

class StampaFissa : public Esportazione {
public:
    StampaFissa(const OpzStampa &opz, const QList<ColonnaStampa> &colonne, const QString &titolo);
    ~StampaFissa() override;

    // Writes into a file; an empty path keeps the bytes in memory (Dati()).
    bool Apri(const QString &percorso, QString &errore) override;
    void ScriviIntestazione() override;
    void ScriviRiga(const QList<CellaStampa> &celle) override;
    bool Chiudi(QString &errore) override;
    void Annulla() override;
    qint64 RigheScritte() const override { return m_righe; }

    // The bytes written, when kept in memory.
    const QByteArray &Dati() const { return m_dati; }
    // Page being written (from 1) and whether the page range has been printed
    // whole, so that no further row is needed.
    int Pagina() const { return m_pagina; }
    bool Completa() const;
    // Width of every line, and the rows each page holds (0: one endless page).
    int LarghezzaRiga() const { return m_larghezzaRiga; }
    int RighePerPagina() const { return m_righePagina; }
    QList<int> LarghezzeColonne() const { return m_larghezze; }

    // Printer codes typed as decimal numbers ("27,15" or "27 15"); a part
    // that is not a number 0-255 is written as it is.
    static QByteArray Codici(const QString &testo);

private:
    void iniziaPagina();
    void chiudiPagina();
    void riga(const QString &testo);
    void rigaVuota();
    void scrivi(const QByteArray &b);
    bool paginaStampata(int pagina) const;

    QList<ColonnaStampa> m_colonne;
    QList<int> m_larghezze;
    QString m_titolo;
    int m_larghezzaRiga = 0;
    int m_righePagina = 0;        // rows of the list per page; 0 none
    int m_margineAlto = 0, m_margineBasso = 0;
    QByteArray m_codiceInizio, m_codiceFine;
    int m_paginaDa = 0, m_paginaA = 0;
    FileInScrittura m_file;
    QByteArray m_dati;  // the bytes, when kept in memory
    bool m_inMemoria = false;
    int m_pagina = 0;
    int m_righeInPagina = 0;
    bool m_paginaAperta = false;
    qint64 m_righe = 0;
    QString m_erroreImpostazioni;
};
