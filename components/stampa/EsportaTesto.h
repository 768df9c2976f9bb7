// Separated-text export: the "Excel-compatible" file and the plain text file.
// Fields are parted by the chosen separator; texts go between the chosen
// delimiter with the delimiter doubled inside; numbers are written without
// grouping (always in the Excel-compatible file, in the text file when the
// print asks for numbers without their format).
//
// Without a delimiter a line break inside a text becomes a blank, but a text
// holding the separator itself would give its row one field too many: the
// export is refused (ErroreScrittura, then Chiudi) naming the row and the
// column, and the earlier file stays as it was.
#pragma once

#include "components/stampa/Esportazione.h"
#include "components/stampa/SorgenteRighe.h"

#include "components/stampa/FileInScrittura.h"

#include <QStringEncoder>

class OpzStampa;

class EsportaTesto : public Esportazione {
public:
    EsportaTesto(const OpzStampa &opz, const QList<ColonnaStampa> &colonne);
    ~EsportaTesto() override;

    bool Apri(const QString &percorso, QString &errore) override;
    void ScriviIntestazione() override;
    void ScriviRiga(const QList<CellaStampa> &celle) override;
    bool Chiudi(QString &errore) override;
    void Annulla() override;
    qint64 RigheScritte() const override { return m_righe; }
    QString ErroreScrittura() const override { return m_errore; }

    // The text of one row, line end included (what ScriviRiga writes).
    QString TestoRiga(const QList<CellaStampa> &celle) const;
    QString TestoIntestazione() const;

private:
    // Both answer false when a text holds the separator and no delimiter
    // encloses it (`colonna` the first such column).
    bool campoTesto(QString &riga, const QString &testo) const;
    bool componiRiga(QString &riga, const QList<CellaStampa> &celle, int *colonna = nullptr) const;
    QString separatoreNelTesto(const QString &dove, int colonna, const QString &testo) const;
    void accoda(const QString &riga);

    QList<ColonnaStampa> m_colonne;
    QString m_separatore;
    QString m_delimitatore;
    bool m_numeriSemplici = true;
    bool m_bom = false;
    FileInScrittura m_file;
    QString m_riga;
    QStringEncoder m_codifica{QStringEncoder::Utf8};
    qint64 m_righe = 0;
    QString m_errore;
};
