// SorgenteRighe: what the print engine asks of a list or a grid. Its columns
// (caption, width, alignment, whether the list shows it) and then its rows in
// the order the list shows them, pulled one at a time so that a list of any
// length is printed or exported without being held in memory twice.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>

struct ColonnaStampa {
    QString didascalia;
    // Width as the list shows it, in twips (1440 to the inch); 0 or less when
    // the list gives none (the engine sizes the column from its caption).
    int larghezza = 0;
    Qt::Alignment allineamento = Qt::AlignLeft;
    bool visibile = true;
    // The column holds numbers: right-aligned, numeric cells in a workbook,
    // written without grouping in a plain export.
    bool numerica = false;
};

// One cell: the text the list shows and the value behind it (a number, a
// QDate, a text; an invalid QVariant when empty).
struct CellaStampa {
    QString testo;
    QVariant valore;
};

// What a source can tell of a column's texts without reading its rows (from
// what the column is declared to hold): the engine measures the first rows
// and takes these as the column's width where they are close to what those
// rows show. They are not relied on to hold every value (a database may keep
// a text longer than its declared size): a value wider than its column is
// still printed whole.
struct LimiteColonna {
    int caratteri = 0;      // most characters of a text (0: not known)
    bool soloCifre = false; // every text is made of digits alone
    bool parole = false;    // some text holds several words
    bool rigida = false;    // numbers, dates or short codes: never cut
    // Texts of the widest values the column may show (the fixed form of a
    // date, a flag's words): the widest text has as many characters as one
    // of them, its digits anywhere.
    QStringList esempi;
};

class SorgenteRighe
{
  public:
    virtual ~SorgenteRighe() = default;

    // Every column, in the order the list shows them, hidden ones included.
    virtual QList<ColonnaStampa> ColonneStampa() = 0;
    // Starts reading the rows from the first one, for the columns given (by
    // their index in ColonneStampa, in print order). False when there is
    // nothing to read.
    virtual bool ApriRighe(const QList<int> &colonne) = 0;
    // The next row: one cell per column given to ApriRighe, in that order.
    // False after the last row.
    virtual bool RigaSuccessiva(QList<CellaStampa> &celle) = 0;
    // For the columns given (as to ApriRighe) what their texts may be at
    // most, found without reading any row (from the columns' declarations);
    // false when the source cannot tell (the first rows measured are then
    // all the engine goes by).
    virtual bool LimitiColonne(const QList<int> &colonne, QList<LimiteColonna> &limiti)
    {
        (void)colonne;
        (void)limiti;
        return false;
    }
    // Number of rows when the list knows it (for "page n of m"), else -1.
    virtual int NumeroRighe() { return -1; }
    // The reader writes texts as UTF-8: a source that holds a cell's text as
    // valid UTF-8 may hand it over as such (TestoUtf8), saving its conversion
    // there and back. Asked before ApriRighe; a source may ignore it.
    virtual void TestiUtf8(bool /*si*/) {}
    // The bytes of cell `cella` of the row last read when it was handed over
    // as UTF-8 (its CellaStampa then left empty), valid until the next row;
    // null otherwise.
    virtual QByteArrayView TestoUtf8(int /*cella*/) const { return {}; }
    // Reading is over (also after a stop).
    virtual void ChiudiRighe() {}
    // Caption of the list window or grid: the print's title when the print
    // options carry none.
    virtual QString Didascalia() { return {}; }
};
