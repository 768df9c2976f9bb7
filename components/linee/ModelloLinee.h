// The table model behind a line grid: the rows the engine read through the
// owner's record layer, the column layout, and the pending edits of the one
// line being changed.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

class GestLinee;

class ModelloLinee : public QAbstractTableModel
{
    Q_OBJECT
  public:
    struct Colonna {
        QString campo;
        QString didascalia;
        QString formato;
        int larghezza = -1; // pixels, -1 = the view's own
        bool visibile = true;
        bool chiave = false;
        bool pulsante = false;
        // How a print or an export takes the column's values.
        enum class Stampa { Valore, Importo, Codice } stampa = Stampa::Valore;
    };

    explicit ModelloLinee(GestLinee &g);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void impostaColonne(const QStringList &campi);
    std::vector<Colonna> &colonne() { return m_colonne; }
    const std::vector<Colonna> &colonne() const { return m_colonne; }
    int indiceColonna(const QVariant &colonna) const;

    void impostaRighe(std::vector<QVariantList> righe);
    int numeroRighe() const { return int(m_righe.size()); }
    // A new line at the end, not yet written.
    int aggiungiNuova();
    bool rigaNuova(int riga) const { return m_nuova && riga == numeroRighe() - 1; }
    bool haNuova() const { return m_nuova; }
    void togliNuova();

    // Value shown in a cell, pending edits of that line included.
    QVariant valore(int riga, int col) const;
    // Pending edits: one line at a time.
    int rigaInModifica() const { return m_rigaModifiche; }
    bool modificata() const
    {
        return m_rigaModifiche >= 0 && (!m_modifiche.isEmpty() || rigaNuova(m_rigaModifiche));
    }
    const QHash<int, QVariant> &modifiche() const { return m_modifiche; }
    void impostaModifica(int riga, int col, const QVariant &v);
    void togliModifica(int col);
    void scartaModifiche();

    // A refused value offered again to the editor that reopens on the cell.
    void offriRifiutato(const QModelIndex &index, const QVariant &v) { m_rifiutato = {index, v}; }
    void dimenticaRifiutato() { m_rifiutato.reset(); }

    QString testoValore(const QVariant &v, const QString &formato) const;

  private:
    GestLinee &m_g;
    std::vector<Colonna> m_colonne;
    std::vector<QVariantList> m_righe;
    bool m_nuova = false;
    int m_rigaModifiche = -1;
    QHash<int, QVariant> m_modifiche;
    std::optional<std::pair<QPersistentModelIndex, QVariant>> m_rifiutato;
};
