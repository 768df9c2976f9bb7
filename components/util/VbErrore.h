// The one error type of the program: a run-time error with its VB/DAO number
// and description (3021 no current record, 3022 duplicate key, 3146 ODBC call
// failed, 94 invalid use of Null, 11 division by zero, 13 type mismatch...).
#pragma once

#include <QString>
#include <stdexcept>

class VbErrore : public std::runtime_error
{
  public:
    VbErrore(int numero, const QString &descrizione)
        : std::runtime_error(descrizione.toStdString()), m_numero(numero), m_descrizione(descrizione)
    {
    }

    int numero() const { return m_numero; }
    const QString &descrizione() const { return m_descrizione; }

    // Well-known numbers.
    static constexpr int Overflow = 6;
    static constexpr int DivisioneZero = 11;
    static constexpr int TipoNonCorrispondente = 13;
    static constexpr int IndiceFuoriIntervallo = 9;
    static constexpr int UsoNonValidoNull = 94;
    static constexpr int OggettoNonImpostato = 91;
    static constexpr int NessunRecordCorrente = 3021;
    static constexpr int ChiaveDuplicata = 3022;
    static constexpr int ChiamataOdbcFallita = 3146;
    static constexpr int ElementoNonTrovato = 5; // invalid procedure call / key not in collection

    // A line for the user after "Errore(n): description", for errors whose
    // description alone does not say what went wrong; empty for the others.
    static QString spiegazione(int numero)
    {
        if (numero == Overflow)
            return QStringLiteral("Numero troppo grande per il dato o per il calcolo: un importo va da "
                                  "-922.337.203.685.477,5808 a 922.337.203.685.477,5807, un numero intero da "
                                  "-2.147.483.648 a 2.147.483.647. Controllare i valori inseriti.");
        return QString();
    }

  private:
    int m_numero;
    QString m_descrizione;
};
