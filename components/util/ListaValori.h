// Keyed list of values (amounts, texts, numbers) kept in insertion order,
// keys compared without regard to case: the footer engine's expense lists.
#pragma once

#include "components/util/Collezione.h"
#include "components/util/Currency.h"

#include <QString>
#include <QVariant>

class ListaValori
{
  public:
    bool EsisteChiave(const QString &chiave) const;
    // The value stored under the key. A missing key gives an empty QVariant
    // with `tollera`, else VbErrore 5.
    QVariant LeggiValore(const QString &chiave, bool tollera = true) const;
    // The value as an amount (0 for a missing key or Null).
    Currency LeggiImporto(const QString &chiave) const;
    // Stores the value under the key; a missing key is added with `aggiungi`,
    // else VbErrore 5.
    void ScriviValore(const QString &chiave, bool aggiungi, const QVariant &valore);
    void ScriviValore(const QString &chiave, bool aggiungi, Currency valore);
    // Removes the key; false when it was not there.
    bool EliminaChiave(const QString &chiave);
    void SvuotaLista();

    int NumeroElementi() const;
    // 0-based position, insertion order; VbErrore 9 outside the list.
    QString Chiave(int indice) const;
    QVariant Valore(int indice) const;

  private:
    void controllaIndice(int indice) const;

    Collezione<QVariant> m_valori;
};
