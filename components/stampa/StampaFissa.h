// Fixed-length print: the rows as lines of fixed width for a line printer or
// a file read by another program. Each page has blank lines at the top, a
// header (title and page number, captions, a dashed rule), the rows, blank
// lines at the bottom and a form feed; every line is padded to the same
// width. With compressed print the printer codes chosen go before and after
// the whole print. Texts are written in Windows-1252 (Latin-1 with "€" and
// the typographic signs), lines end with CR LF.
//
// Widths: the rows are first measured (Misura), so that every column is as
// wide as its widest value and no code, date or number is cut. When the line
// must fit the printer's characters per line, texts of several words are
// narrowed first, then amounts down to the list's own width (an amount that
// no longer fits is written as "#" and counted, never shortened); codes and
// dates never. A line that cannot fit even so is refused.
#pragma once

#include "components/stampa/Esportazione.h"

#include "components/stampa/FileInScrittura.h"

#include <QByteArray>

class OpzStampa;

class StampaFissa : public Esportazione
{
  public:
    StampaFissa(const OpzStampa &opz, const QList<ColonnaStampa> &colonne, const QString &titolo);
    ~StampaFissa() override;

    // Takes the widths of one row's values into account (before Apri).
    void Misura(const QList<CellaStampa> &celle);
    // No further row can be printed (the page range ends before it): the
    // measuring can stop.
    bool MisuraCompleta() const;
    // Writes into a file; an empty path keeps the bytes in memory (Dati()).
    // Fixes the widths from what was measured.
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
    // Cells written as overflowing ("#") because their value was too wide.
    int CelleFuoriMisura() const { return m_fuoriMisura; }

    // A text as the output's code page writes it, one character per byte:
    // letters it lacks lose their accent when that gives one it has, else "?".
    static QString PerCodicePagina(const QString &testo);
    // The bytes of a text made by PerCodicePagina.
    static QByteArray Codifica(const QString &testo);

    // Printer codes typed as decimal numbers ("27,15" or "27 15"); a part
    // that is not a number 0-255 is written as it is.
    static QByteArray Codici(const QString &testo);

  private:
    // How far a column may be narrowed to fit the printer's line.
    enum class Tipo { TestoLibero, Importo, Rigido };
    void calcolaLarghezze(int massimo);
    QString cella(int colonna, const CellaStampa &c);
    void iniziaPagina();
    void chiudiPagina();
    void riga(const QString &testo);
    void rigaVuota();
    void scrivi(const QByteArray &b);
    bool paginaStampata(int pagina) const;

    QList<ColonnaStampa> m_colonne;
    QList<int> m_larghezze, m_base; // widths, and those of the list itself
    QList<int> m_piuLarghi;         // widest value measured per column
    QList<Tipo> m_tipi;
    QList<bool> m_parole, m_numeri, m_date; // values seen: several words, numbers, dates
    bool m_misurata = false;
    qint64 m_righeMisurate = 0;
    int m_colonneMassime = 0;
    int m_fuoriMisura = 0;
    QString m_titolo;
    int m_larghezzaRiga = 0;
    int m_righePagina = 0; // rows of the list per page; 0 none
    int m_margineAlto = 0, m_margineBasso = 0;
    QByteArray m_codiceInizio, m_codiceFine;
    int m_paginaDa = 0, m_paginaA = 0;
    FileInScrittura m_file;
    QByteArray m_dati; // the bytes, when kept in memory
    bool m_inMemoria = false;
    int m_pagina = 0;
    int m_righeInPagina = 0;
    bool m_paginaAperta = false;
    qint64 m_righe = 0;
    QString m_erroreImpostazioni, m_erroreLarghezze;
};
