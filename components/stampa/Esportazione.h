// Esportazione: a writer of the rows of a print into a file, one row at a
// time (separated text, Excel workbook, fixed-length text). The file appears
// under its name only when the writer is closed successfully: a stopped or
// failed export leaves whatever was there before untouched.
#pragma once

#include "components/stampa/SorgenteRighe.h"

#include <QList>
#include <QString>

class Esportazione
{
  public:
    virtual ~Esportazione() = default;

    // Creates the file (under a temporary name); false with `errore` set.
    virtual bool Apri(const QString &percorso, QString &errore) = 0;
    // The caption row (or the header of the first page).
    virtual void ScriviIntestazione() = 0;
    virtual void ScriviRiga(const QList<CellaStampa> &celle) = 0;
    // Finishes the file and puts it under its name; false with `errore` set.
    virtual bool Chiudi(QString &errore) = 0;
    // Drops what was written.
    virtual void Annulla() = 0;
    // Rows written so far (the caption row excluded).
    virtual qint64 RigheScritte() const = 0;
    // The writer cannot go on (the file format is full, a write failed): the
    // reason, else empty.
    virtual QString ErroreScrittura() const { return {}; }

    // Where the rows come from: the texts it hands over as UTF-8 are written
    // as they are (SorgenteRighe::TestoUtf8), not converted twice. None by default.
    void TestiDa(const SorgenteRighe *sorgente) { m_sorgente = sorgente; }

  protected:
    const SorgenteRighe *m_sorgente = nullptr;
};
