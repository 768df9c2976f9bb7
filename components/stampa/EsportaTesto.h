// Separated-text export: the "Excel-compatible" file and the plain text file.
// Fields are parted by the chosen separator; texts go between the chosen
// delimiter with the delimiter doubled inside; numbers are written without
// grouping (always in the Excel-compatible file, in the text file when the
// print asks for numbers without their format).
//
// Without a delimiter a line break inside a text becomes a blank, but a value
// holding the separator itself would give its row one field too many: a
// number is written without grouping, with the decimal mark that keeps it
// whole; a text, a date, or a number that no form keeps whole (a "-"
// separator and a negative amount) has the export refused (ErroreScrittura,
// then Chiudi) naming the row and the column, and the earlier file stays as
// it was. So has a text that begins with a double quote, which readers take
// for the qualifier of a file that names none ("" would read as empty).
//
// A separator and a qualifier that no reader could part the fields by (the
// same character, a line end in either, or a double quote separating fields
// with no qualifier) refuse the export before any file is made. A row of a
// one-column file whose value is empty is written as an empty qualified
// field (two double quotes when there is no qualifier), not as an empty
// line, which readers take for a row without fields.
#pragma once

#include "components/stampa/Esportazione.h"
#include "components/stampa/SorgenteRighe.h"

#include "components/stampa/FileInScrittura.h"

#include <QStringEncoder>

class OpzStampa;

// True when a reader can part the fields by `separatore` and `delimitatore`
// (one character each, the qualifier possibly none): they differ, neither is
// a line end, which would start a new row, and without a qualifier the
// separator is not the double quote, which readers then take for one.
bool SeparatoriUtilizzabili(const QString &separatore, const QString &delimitatore);
// A separator or qualifier as the user knows it: "tabulatore", "spazio",
// "a capo", "ritorno a capo", "nessuno", else the character in quotes.
QString NomeSeparatore(const QString &carattere);

class EsportaTesto : public Esportazione
{
  public:
    EsportaTesto(const OpzStampa &opz, const QList<ColonnaStampa> &colonne);
    ~EsportaTesto() override;

    bool Apri(const QString &percorso, QString &errore) override;
    void ScriviIntestazione() override;
    void ScriviRiga(const QList<CellaStampa> &celle) override;
    bool Chiudi(QString &errore) override;
    void Annulla() override;
    qint64 RigheScritte() const override { return m_righe; }
    QString ErroreScrittura() const override { return m_errore.isEmpty() ? m_erroreSeparatori : m_errore; }

    // The text of one row, line end included (what ScriviRiga writes).
    QString TestoRiga(const QList<CellaStampa> &celle) const;
    QString TestoIntestazione() const;

  private:
    // A text field appended to `riga` as UTF-8: false when no delimiter
    // encloses it and the text holds the separator or begins with a double
    // quote.
    bool campoTesto(QByteArray &riga, QByteArrayView testo) const;
    bool campoTesto(QByteArray &riga, const QString &testo) const;
    // The number of a cell, plain or as shown (`decimale` its decimal mark).
    void numero(QByteArray &riga, const CellaStampa &c, bool semplice, QChar decimale) const;
    // A number field appended to `riga`: false when no way of writing it
    // keeps it free of the separator.
    bool campoNumero(QByteArray &riga, const CellaStampa &c) const;
    // The row, line end included, appended to `riga`; false with `colonna`
    // set as for campoTesto.
    bool componiRiga(QByteArray &riga, const QList<CellaStampa> &celle, int *colonna = nullptr) const;
    // The caption row, line end included, appended to `riga`; false with
    // `colonna` set as for campoTesto.
    bool componiIntestazione(QByteArray &riga, int *colonna = nullptr) const;
    // After the fields of a row begun at `inizio`: a one-column row with
    // nothing in it gets an empty qualified field.
    void campoUnicoVuoto(QByteArray &riga, qsizetype inizio) const;
    // Why a field refused by campoTesto or campoNumero cannot be written.
    QString campoAmbiguo(const QString &dove, int colonna, const QString &testo, bool numero = false) const;

    QList<ColonnaStampa> m_colonne;
    QString m_separatore;
    QString m_delimitatore;
    QByteArray m_separatoreUtf8;
    QByteArray m_delimitatoreUtf8;
    bool m_numeriSemplici = true;
    bool m_bom = false;
    FileInScrittura m_file;
    // Scratch texts of one cell, kept to spare an allocation a cell.
    mutable QByteArray m_cella;
    mutable QString m_numero;
    // Stateless: a broken surrogate pair ends within its own cell.
    mutable QStringEncoder m_codifica{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    qint64 m_righe = 0;
    QString m_errore;
    // Separators no reader could part the fields by: why, else empty.
    QString m_erroreSeparatori;
};
