// Small data helpers shared by every window: column existence, currency
// settings, the hourglass pointer.
#pragma once

#include <QString>
#include <QVariant>

// True when `tabella` of the database `connessione` ("" = the company
// database) has the column `campo`; false when the table or the column is
// missing or the question fails.
bool EsisteCampo(const QString &tabella, const QString &campo, const QString &connessione = QString());

// Decimals a currency's amounts can have (Monete.NumDec): an amount holds four.
constexpr int MaxDecimaliMoneta = 4;
// NumDec of the currency `moneta` as read from its row (Null reads 0), checked:
// a value that is not a whole number from 0 to MaxDecimaliMoneta throws
// VbErrore 5 with a message naming the currency.
int DecimaliMoneta(const QString &moneta, const QVariant &numDec);

// Decimals of the currency `moneta` (Monete.NumDec); 2 when the currency is
// not in the table; VbErrore 5 when its row holds decimals out of range. The optional outputs receive
// NumDecGest, NumDec, Operatore and Cee ("N", "/" and 2 when there is no row).
struct DatiMoneta {
    int numDec = 2;
    int numDecGest = 2;
    QString operatore = QStringLiteral("/");
    QString cee = QStringLiteral("N");
};
int LeggiMoneta(const QString &moneta, int *numDecGest = nullptr, int *numDec = nullptr,
                QString *operatore = nullptr, QString *cee = nullptr);
DatiMoneta LeggiDatiMoneta(const QString &moneta);

// True shows the hourglass pointer over the whole program, false restores the
// pointer that was there before. Repeated calls with true keep one hourglass.
void CursoreAttesa(bool flag);
