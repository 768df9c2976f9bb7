// Row source over rows in memory or made on demand.
#include "components/stampa/SorgenteMemoria.h"

SorgenteMemoria::SorgenteMemoria(const QList<ColonnaStampa> &colonne, const QList<QList<CellaStampa>> &righe,
                                 const QString &didascalia)
    : m_colonne(colonne), m_numero(righe.size()),
      m_generatore([righe](qint64 r, QList<CellaStampa> &celle) { celle = righe[r]; }),
      m_didascalia(didascalia)
{
}

SorgenteMemoria::SorgenteMemoria(const QList<ColonnaStampa> &colonne, qint64 numeroRighe,
                                 Generatore generatore, const QString &didascalia)
    : m_colonne(colonne), m_numero(numeroRighe), m_generatore(std::move(generatore)), m_didascalia(didascalia)
{
}

bool SorgenteMemoria::ApriRighe(const QList<int> &colonne)
{
    m_scelte = colonne;
    m_prossima = 0;
    ++m_aperture;
    return m_numero > 0;
}

bool SorgenteMemoria::RigaSuccessiva(QList<CellaStampa> &celle)
{
    if (m_prossima >= m_numero)
        return false;
    m_generatore(m_prossima++, m_tutte);
    ++m_lette;
    celle.resize(m_scelte.size());
    for (int i = 0; i < m_scelte.size(); ++i) {
        const int c = m_scelte[i];
        celle[i] = c >= 0 && c < m_tutte.size() ? m_tutte[c] : CellaStampa{};
    }
    return true;
}
