// A row source over rows kept in memory or made on demand by a function: for
// prints of data the program already holds, and for tests and benchmarks.
#pragma once

#include "components/stampa/SorgenteRighe.h"

#include <functional>

class SorgenteMemoria : public SorgenteRighe
{
  public:
    // Fills the cells of row `riga` (every column, in column order).
    using Generatore = std::function<void(qint64 riga, QList<CellaStampa> &celle)>;

    SorgenteMemoria(const QList<ColonnaStampa> &colonne, const QList<QList<CellaStampa>> &righe,
                    const QString &didascalia = QString());
    SorgenteMemoria(const QList<ColonnaStampa> &colonne, qint64 numeroRighe, Generatore generatore,
                    const QString &didascalia = QString());

    QList<ColonnaStampa> ColonneStampa() override { return m_colonne; }
    bool ApriRighe(const QList<int> &colonne) override;
    bool RigaSuccessiva(QList<CellaStampa> &celle) override;
    int NumeroRighe() override { return int(qMin<qint64>(m_numero, INT_MAX)); }
    QString Didascalia() override { return m_didascalia; }

    // How many times the rows were opened and read (tests).
    int Aperture() const { return m_aperture; }
    qint64 RigheLette() const { return m_lette; }

  private:
    QList<ColonnaStampa> m_colonne;
    qint64 m_numero = 0;
    Generatore m_generatore;
    QString m_didascalia;
    QList<int> m_scelte;
    QList<CellaStampa> m_tutte;
    qint64 m_prossima = 0;
    int m_aperture = 0;
    qint64 m_lette = 0;
};
