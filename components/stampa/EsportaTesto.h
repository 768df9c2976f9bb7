// Separated-text export: the "Excel-compatible" file and the plain text file.
// Fields are parted by the chosen separator; texts go between the chosen
// delimiter with the delimiter doubled inside; numbers are written without
// grouping (always in the Excel-compatible file, in the text file when the
// print asks for numbers without their format).
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

    // The text of one row, line end included (what ScriviRiga writes).
    QString TestoRiga(const QList<CellaStampa> &celle) const;
    QString TestoIntestazione() const;

private:
    void campoTesto(QString &riga, const QString &testo) const;
    void componiRiga(QString &riga, const QList<CellaStampa> &celle) const;
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
};
