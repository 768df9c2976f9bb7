// Item model of the lookup window: the rows of one SELECT, shown in the
// window's columns.
#pragma once

#include "components/aiuto/DefRicerca.h"

#include <QAbstractTableModel>
#include <memory>

class Risultato;

class ModelloRicerca : public QAbstractTableModel
{
    Q_OBJECT
  public:
    explicit ModelloRicerca(QList<ColonnaRicerca> colonne, QObject *parent = nullptr);
    ~ModelloRicerca() override;

    void ImpostaRighe(std::unique_ptr<Risultato> righe);
    const Risultato *Righe() const { return m_righe.get(); }
    const QList<ColonnaRicerca> &Colonne() const { return m_colonne; }
    // The text a cell shows.
    QString Testo(int riga, int colonna) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;

  private:
    QList<ColonnaRicerca> m_colonne;
    QList<int> m_indici; // column of the result behind each shown column, -1 when missing
    std::unique_ptr<Risultato> m_righe;
};
