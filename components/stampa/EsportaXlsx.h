// Excel workbook export through libxlsxwriter in its constant-memory mode:
// each row goes to disk as it is written, so memory stays flat however long
// the list. The caption row is bold and frozen; numbers are numeric cells
// (with the list's decimals and grouping unless the print asks for numbers
// without format), dates are date cells, everything else text.
#pragma once

#include "components/stampa/Esportazione.h"

#include <QByteArray>
#include <QHash>
#include <QString>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;
class OpzStampa;

class EsportaXlsx : public Esportazione
{
  public:
    // Rows of data a sheet can hold below its caption row.
    static constexpr qint64 RigheMassime = 1048575;

    EsportaXlsx(const OpzStampa &opz, const QList<ColonnaStampa> &colonne, const QString &titolo);
    ~EsportaXlsx() override;

    bool Apri(const QString &percorso, QString &errore) override;
    void ScriviIntestazione() override;
    void ScriviRiga(const QList<CellaStampa> &celle) override;
    bool Chiudi(QString &errore) override;
    void Annulla() override;
    qint64 RigheScritte() const override { return m_righe; }
    QString ErroreScrittura() const override { return m_errore; }

    // A sheet name Excel accepts, from a caption.
    static QString NomeFoglio(const QString &titolo);

  private:
    lxw_format *formatoNumero(int decimali);
    void scriviTesto(int riga, int col, const QString &testo, lxw_format *formato);
    void scriviUtf8(int riga, int col, QByteArrayView testo);

    QList<ColonnaStampa> m_colonne;
    QString m_titolo;
    bool m_numeriSemplici = false;
    QString m_percorso, m_temporaneo;
    lxw_workbook *m_libro = nullptr;
    lxw_worksheet *m_foglio = nullptr;
    lxw_format *m_grassetto = nullptr, *m_data = nullptr, *m_dataOra = nullptr;
    QHash<int, lxw_format *> m_formatiNumero;
    QByteArray m_titoloUtf8, m_foglioUtf8;
    QByteArray m_cella; // a text handed over as UTF-8, ended by its NUL
    qint64 m_righe = 0;
    QString m_errore;
};
