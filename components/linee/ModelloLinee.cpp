// Table model of a line grid: rows, columns, pending edits of one line.
#include "components/linee/ModelloLinee.h"

#include "components/linee/GestLinee.h"
#include "components/util/UtilGlob.h"

#include <QDate>
#include <QDateTime>

namespace
{

// A VB date pattern ("dd/mm/yyyy", "hh:nn") in Qt's notation.
QString formatoDataQt(const QString &vb)
{
    QString r = vb;
    r.replace(QLatin1String("mm"), QLatin1String("MM"));
    r.replace(QLatin1String("nn"), QLatin1String("mm"));
    return r;
}

} // namespace

ModelloLinee::ModelloLinee(GestLinee &g) : m_g(g) {}

int ModelloLinee::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : numeroRighe();
}

int ModelloLinee::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colonne.size());
}

QString ModelloLinee::testoValore(const QVariant &v, const QString &formato) const
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(formatoDataQt(m_g.m_formatoData));
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(formatoDataQt(m_g.m_formatoData) + QStringLiteral(" hh:mm"));
    if (!formato.isEmpty()) {
        static const UtilGlob util;
        return util.Formatta(v, formato);
    }
    return v.toString();
}

QVariant ModelloLinee::valore(int riga, int col) const
{
    if (riga < 0 || riga >= numeroRighe() || col < 0 || col >= columnCount())
        return {};
    if (riga == m_rigaModifiche) {
        auto it = m_modifiche.constFind(col);
        if (it != m_modifiche.constEnd())
            return *it;
    }
    return m_righe[size_t(riga)].value(col);
}

QVariant ModelloLinee::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int r = index.row(), c = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return testoValore(valore(r, c), m_colonne[size_t(c)].formato);
    case Qt::EditRole:
        if (m_rifiutato && m_rifiutato->first == index)
            return m_rifiutato->second;
        return testoValore(valore(r, c), {});
    case Qt::ToolTipRole:
        return m_colonne[size_t(c)].pulsante ? QStringLiteral("F4: scelta") : QVariant();
    default:
        return {};
    }
}

bool ModelloLinee::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    // An unchanged text is no edit (the editor commits on every close).
    if (testoValore(valore(index.row(), index.column()), {}) == value.toString())
        return true;
    return m_g.aggiornaCella(index.row(), index.column(), value);
}

Qt::ItemFlags ModelloLinee::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Colonna &c = m_colonne[size_t(index.column())];
    if (m_g.Livello() == 1 && (!c.chiave || rigaNuova(index.row())))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant ModelloLinee::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= columnCount())
        return {};
    const Colonna &c = m_colonne[size_t(section)];
    return c.didascalia.isEmpty() ? c.campo : c.didascalia;
}

void ModelloLinee::impostaColonne(const QStringList &campi)
{
    beginResetModel();
    m_colonne.clear();
    for (const QString &campo : campi)
        m_colonne.push_back(Colonna{campo, {}, {}, -1, true, false, false});
    m_righe.clear();
    m_nuova = false;
    m_rigaModifiche = -1;
    m_modifiche.clear();
    endResetModel();
}

int ModelloLinee::indiceColonna(const QVariant &colonna) const
{
    if (!colonna.isValid())
        return -1;
    if (colonna.typeId() != QMetaType::QString) {
        bool ok = false;
        const int i = colonna.toInt(&ok);
        return ok && i >= 0 && i < columnCount() ? i : -1;
    }
    const QString nome = colonna.toString().trimmed();
    for (size_t i = 0; i < m_colonne.size(); ++i)
        if (m_colonne[i].campo.compare(nome, Qt::CaseInsensitive) == 0)
            return int(i);
    bool ok = false;
    const int i = nome.toInt(&ok);
    return ok && i >= 0 && i < columnCount() ? i : -1;
}

void ModelloLinee::impostaRighe(std::vector<QVariantList> righe)
{
    beginResetModel();
    m_righe = std::move(righe);
    m_nuova = false;
    m_rigaModifiche = -1;
    m_modifiche.clear();
    m_rifiutato.reset();
    endResetModel();
}

int ModelloLinee::aggiungiNuova()
{
    const int r = numeroRighe();
    beginInsertRows({}, r, r);
    QVariantList vuota;
    for (size_t i = 0; i < m_colonne.size(); ++i)
        vuota << QVariant();
    m_righe.push_back(vuota);
    m_nuova = true;
    endInsertRows();
    m_rigaModifiche = r;
    m_modifiche.clear();
    return r;
}

void ModelloLinee::togliNuova()
{
    if (!m_nuova)
        return;
    const int r = numeroRighe() - 1;
    if (m_rigaModifiche == r) {
        m_rigaModifiche = -1;
        m_modifiche.clear();
    }
    beginRemoveRows({}, r, r);
    m_righe.pop_back();
    m_nuova = false;
    endRemoveRows();
}

void ModelloLinee::impostaModifica(int riga, int col, const QVariant &v)
{
    if (riga < 0 || riga >= numeroRighe() || col < 0 || col >= columnCount())
        return;
    if (m_rigaModifiche != riga) {
        m_modifiche.clear();
        m_rigaModifiche = riga;
    }
    m_modifiche.insert(col, v);
    emit dataChanged(index(riga, col), index(riga, col));
}

void ModelloLinee::togliModifica(int col)
{
    if (m_rigaModifiche < 0)
        return;
    m_modifiche.remove(col);
    emit dataChanged(index(m_rigaModifiche, col), index(m_rigaModifiche, col));
}

void ModelloLinee::scartaModifiche()
{
    const int r = m_rigaModifiche;
    m_modifiche.clear();
    m_rigaModifiche = -1;
    if (m_nuova) {
        togliNuova();
        return;
    }
    if (r >= 0 && r < numeroRighe() && columnCount() > 0)
        emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}
