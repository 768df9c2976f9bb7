// Letters-of-intent totals: how much of one letter of a customer the invoices,
// delivery notes and orders issued under it have used, cached per customer and
// letter for the letters-of-intent grid.
#pragma once

#include <QString>

namespace DichIntenti
{

// The one-entry cache: key and results of the last computation, and the
// measure ("D" document totals, "E" net of VAT and taxable, "M" goods), read
// once per run of the program.
struct ChiaveCache {
    QString Gruppo, Mastro, Conto;
    int DicIntenti = 0;
    double TotFatture = 0, TotDdt = 0, TotOrdini = 0;
    QString QualeTot;
};

ChiaveCache &DicCacheKey();
// Back to the state of a program just started (the measure is read again).
void AzzeraCache();

// Invoices, delivery notes and orders totals of letter piDicIntenti of the
// customer; pbRicalcola skips the cache. The errors met on the way (a
// document the footer engine could not recompute, a failed read) are shown
// in one message, or handed back in `errori` when the caller shows them.
void TotDichIntenti(int piDicIntenti, const QString &psGruppoCli, const QString &psMastroCli,
                    const QString &psContoCli, double &pdTotFatture, double &pdTotDdt, double &pdTotOrdini,
                    bool pbRicalcola, QString *errori = nullptr);

// Total of one document kind ("O", "D", "F") in one measure for the cached
// customer and letter; a failure is shown and gives 0.
double CalcTotDocDichInt(const QString &psTipoDoc, const QString &psQualeTot);

// SELECT of the four sums over a header table, for the cached key.
QString SqlSommaDocDichInt(const QString &psTabella, const QString &psTipoDoc, const QString &psQualeTot);
// SELECT of the keys of the documents with a payment discount, for the cached
// key; invoices also carry their document type's sign.
QString SqlDocScoPagDichInt(const QString &psTabella, const QString &psTipoDoc = QString());

// The four tables and the state filter of a document kind.
struct TabelleDoc {
    QString Testa, Dett, Liv, Spese;
    QString FiltroStato;
};
TabelleDoc TabelleTipoDoc(const QString &psTipoDoc);

} // namespace DichIntenti
