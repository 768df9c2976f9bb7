// Payment due dates: turns a payment code into a document's instalments (date
// and amount each), with an optional per-instalment collection charge.
#pragma once

#include "components/util/Currency.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace ScadUtil
{

// The Pagamenti row of a payment code. Periodo and Percentuale are indexed
// 1..NumScad (index 0 unused), as the table's numbered columns.
struct DatiPagamento {
    QString Decorrenza;
    QString Periodicita;
    QString TrattamIva;
    int NumScad = 0;
    int GiornoFisso = 0;
    int NumGGMM = 0;
    QList<int> Periodo;
    QList<double> Percentuale;
};

// The customer's months without due dates and their replacement days.
struct DatiCliente {
    int MeseNoEf1 = 0;
    int MeseNoEf2 = 0;
    int GioMesSucc1 = 0;
    int GioMesSucc2 = 0;
};

// Error list of one run: at most 30 entries, then a row of dots; every error counted.
struct ErroriScadenze {
    int NumErrScad = 0;
    QString ErroriScad;
    QString FaseScad;
};

void AccodaErrScad(ErroriScadenze &errori, long plNumErr, const QString &psTesto);

// pdValore held between the limits; a limit that is not positive does not apply.
double LimitaImporto(double pdMin, double pdMax, double pdValore);

// Charge modes of CalcScadenze.
constexpr int SpesaNessuna = 0;
constexpr int SpesaCalcolata = 1; // computed per instalment, returned in pvSpesaScad
constexpr int SpesaData = 2;      // given by the caller in pvSpesaScad

// Reads Pagamenti and the customer's PianoConti row from the company database.
// Arrays are indexed 0..piNumScad with instalment k at index k. Errors are
// counted and described in piNumErr/psErrori, never thrown.
void CalcScadenze(const QDate &pdtData, double pdImporto, double pdIva, const QString &psPagamento,
                  const QString &psGruppo, const QString &psMastro, const QString &psConto, int piNumDec,
                  QList<QDate> &pdtScad, QList<double> &pdImpScad, int &piNumScad, int &piNumErr,
                  QString &psErrori, int piModoSpesa, Currency puPercSpesa, QList<double> &pvSpesaScad,
                  Currency puArrotSpesa, const QString &psTipoArrot, double pdSpesaMin, double pdSpesaMax,
                  QDate &pdtDecorrenza);

// The same calculation on rows already read: a null pointer is a row that
// does not exist.
void CalcScadenzeDati(const DatiPagamento *pagamento, const DatiCliente *cliente, const QDate &pdtData,
                      double pdImporto, double pdIva, const QString &psPagamento, const QString &psGruppo,
                      const QString &psMastro, const QString &psConto, int piNumDec, QList<QDate> &pdtScad,
                      QList<double> &pdImpScad, int &piNumScad, int &piNumErr, QString &psErrori,
                      int piModoSpesa, Currency puPercSpesa, QList<double> &pvSpesaScad,
                      Currency puArrotSpesa, const QString &psTipoArrot, double pdSpesaMin, double pdSpesaMax,
                      QDate &pdtDecorrenza);

// The calculation with the rows given by a reader; whatever the reader throws
// goes into the error list like any failure of the run.
using LettoreRighe = std::function<void(std::optional<DatiPagamento> &, std::optional<DatiCliente> &)>;
void CalcScadenzeCon(const LettoreRighe &leggi, const QDate &pdtData, double pdImporto, double pdIva,
                     const QString &psPagamento, const QString &psGruppo, const QString &psMastro,
                     const QString &psConto, int piNumDec, QList<QDate> &pdtScad, QList<double> &pdImpScad,
                     int &piNumScad, int &piNumErr, QString &psErrori, int piModoSpesa, Currency puPercSpesa,
                     QList<double> &pvSpesaScad, Currency puArrotSpesa, const QString &psTipoArrot,
                     double pdSpesaMin, double pdSpesaMax, QDate &pdtDecorrenza);

} // namespace ScadUtil
