// Rows of the lookup window as a table model.
#include "components/aiuto/ModelloRicerca.h"

#include "components/db/Risultato.h"

ModelloRicerca::ModelloRicerca(QList<ColonnaRicerca> colonne, QObject *parent)
    : QAbstractTableModel(parent), m_colonne(std::move(colonne))
{
}

ModelloRicerca::~ModelloRicerca() = default;

void ModelloRicerca::ImpostaRighe(std::unique_ptr<Risultato> righe)
{
    beginResetModel();
    m_righe = std::move(righe);
    m_indici.clear();
    for (const ColonnaRicerca &c : m_colonne)
        m_indici.append(m_righe ? m_righe->indice(c.nome) : -1);
    endResetModel();
}

QString ModelloRicerca::Testo(int riga, int colonna) const
{
    if (!m_righe || riga < 0 || riga >= m_righe->numRighe() || colonna < 0 || colonna >= m_indici.size())
        return {};
    const int c = m_indici.at(colonna);
    if (c < 0)
        return {};
    const QVariant v = m_righe->valore(riga, c);
    switch (m_righe->tipoCella(riga, c)) {
    case Risultato::Tipo::Data:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case Risultato::Tipo::Decimale:
    case Risultato::Tipo::Reale:
        return v.toString().replace(QLatin1Char('.'), QLatin1Char(','));
    default:
        return v.toString();
    }
}

int ModelloRicerca::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_righe ? 0 : m_righe->numRighe();
}

int ModelloRicerca::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colonne.size());
}

QVariant ModelloRicerca::data(const QModelIndex &indice, int ruolo) const
{
    if (!indice.isValid())
        return {};
    if (ruolo == Qt::DisplayRole || ruolo == Qt::ToolTipRole)
        return Testo(indice.row(), indice.column());
    if (ruolo == Qt::TextAlignmentRole && m_righe && m_indici.value(indice.column(), -1) >= 0) {
        const auto t = m_righe->tipoCella(indice.row(), m_indici.at(indice.column()));
        if (t == Risultato::Tipo::Intero || t == Risultato::Tipo::Decimale || t == Risultato::Tipo::Reale)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ModelloRicerca::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const
{
    if (ruolo != Qt::DisplayRole)
        return {};
    if (orientamento == Qt::Horizontal)
        return sezione >= 0 && sezione < m_colonne.size() ? m_colonne.at(sezione).titolo : QString();
    return sezione + 1;
}
