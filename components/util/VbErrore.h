// The one error type of the program: a run-time error with its VB/DAO number
// and description (3021 no current record, 3022 duplicate key, 3146 ODBC call
// failed, 94 invalid use of Null, 11 division by zero, 13 type mismatch...).
#pragma once

#include <QString>
#include <stdexcept>

class VbErrore : public std::runtime_error {
public:
    VbErrore(int numero, const QString &descrizione)
        : std::runtime_error(descrizione.toStdString()), m_numero(numero), m_descrizione(descrizione) {}

    int numero() const { return m_numero; }
    const QString &descrizione() const { return m_descrizione; }

    // Well-known numbers.
    static constexpr int DivisioneZero = 11;
    static constexpr int TipoNonCorrispondente = 13;
    static constexpr int IndiceFuoriIntervallo = 9;
    static constexpr int UsoNonValidoNull = 94;
    static constexpr int OggettoNonImpostato = 91;
    static constexpr int NessunRecordCorrente = 3021;
    static constexpr int ChiaveDuplicata = 3022;
    static constexpr int ChiamataOdbcFallita = 3146;
    static constexpr int ElementoNonTrovato = 5;  // invalid procedure call / key not in collection

private:
    int m_numero;
    QString m_descrizione;
};
