// Named parameters of the lookup library's objects (ParColonne, NuovaRicerca),
// set and read by name through ovLeggiPar; names compare without regard to case.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

class ParametriAiuto
{
  public:
    // The value of a parameter; an invalid QVariant when it was never set.
    QVariant ovLeggiPar(const QString &nome) const { return m_valori.value(nome.toLower()); }
    void ovLeggiPar(const QString &nome, const QVariant &valore)
    {
        if (!m_valori.contains(nome.toLower()))
            m_nomi.append(nome);
        m_valori.insert(nome.toLower(), valore);
    }
    bool Esiste(const QString &nome) const { return m_valori.contains(nome.toLower()); }
    // Names as first written, in the order they were first set.
    const QStringList &Nomi() const { return m_nomi; }
    void Azzera()
    {
        m_valori.clear();
        m_nomi.clear();
    }

  private:
    QHash<QString, QVariant> m_valori;
    QStringList m_nomi;
};
