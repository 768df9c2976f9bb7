// The table model of a list grid.
#include "components/lista/ModelloLista.h"

#include "components/lista/RigheLista.h"
#include "components/util/Currency.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QLocale>
#include <QWidget>

#include <QMetaObject>
#include <cmath>

namespace
{

const UtilGlob &util()
{
    static const UtilGlob u;
    return u;
}

bool numerico(Risultato::Tipo t)
{
    return t == Risultato::Tipo::Intero || t == Risultato::Tipo::Reale || t == Risultato::Tipo::Decimale;
}

} // namespace

ModelloLista::ModelloLista(QObject *parent) : QAbstractTableModel(parent) {}

void ModelloLista::colonneDa(const std::vector<Risultato::Colonna> &colonne)
{
    bool uguali = colonne.size() == m_colonne.size();
    for (size_t i = 0; uguali && i < colonne.size(); ++i)
        uguali = colonne[i].nome.compare(m_colonne[i].campo, Qt::CaseInsensitive) == 0;
    if (uguali)
        return;
    m_colonne.clear();
    for (const Risultato::Colonna &c : colonne) {
        ColonnaLista l;
        l.campo = c.nome;
        l.didascalia = c.nome;
        l.numerica = numerico(c.tipo);
        if (l.numerica)
            l.allineamento = Qt::AlignRight | Qt::AlignVCenter;
        m_colonne.push_back(l);
    }
}

void ModelloLista::ImpostaRighe(RigheLista *righe)
{
    beginResetModel();
    m_righe = righe;
    m_risultato = nullptr;
    m_guasto = false;
    m_rinviate = false;
    std::vector<Risultato::Colonna> colonne;
    if (righe)
        for (int i = 0; i < righe->NumeroColonne(); ++i)
            colonne.push_back(righe->Colonna(i));
    if (!colonne.empty())
        colonneDa(colonne);
    m_numRighe = righeFonte();
    endResetModel();
}

void ModelloLista::ImpostaRisultato(const Risultato *righe)
{
    beginResetModel();
    m_righe = nullptr;
    m_risultato = righe;
    m_guasto = false;
    m_rinviate = false;
    std::vector<Risultato::Colonna> colonne;
    if (righe)
        for (int i = 0; i < righe->numColonne(); ++i)
            colonne.push_back(righe->colonna(i));
    if (!colonne.empty())
        colonneDa(colonne);
    m_numRighe = righeFonte();
    endResetModel();
}

void ModelloLista::Svuota()
{
    beginResetModel();
    m_righe = nullptr;
    m_risultato = nullptr;
    m_numRighe = 0;
    endResetModel();
}

int ModelloLista::righeFonte() const
{
    if (m_righe)
        return m_righe->Aperta() ? m_righe->RigheNote() : 0;
    return m_risultato ? m_risultato->numRighe() : 0;
}

int ModelloLista::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_numRighe;
}

int ModelloLista::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colonne.size());
}

bool ModelloLista::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_righe && m_righe->Aperta() && !m_righe->ConteggioNoto() && !m_guasto;
}

void ModelloLista::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent) || (m_contaAltrove && m_contaAltrove()))
        return;
    try {
        m_righe->Conta();
    } catch (const VbErrore &e) {
        m_guasto = true;
        emit erroreDati(e.numero(), e.descrizione());
        return;
    }
    Sincronizza();
}

void ModelloLista::Sincronizza()
{
    m_sincroniaPianificata = false;
    const int n = righeFonte();
    if (n > m_numRighe) {
        beginInsertRows({}, m_numRighe, n - 1);
        m_numRighe = n;
        endInsertRows();
    } else if (n < m_numRighe) {
        beginRemoveRows({}, n, m_numRighe - 1);
        m_numRighe = n;
        endRemoveRows();
    }
}

void ModelloLista::Rinfresca()
{
    if (m_numRighe > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(m_numRighe - 1, columnCount() - 1));
}

void ModelloLista::RinfrescaRinviate()
{
    if (!m_rinviate)
        return;
    m_rinviate = false;
    Rinfresca();
}

void ModelloLista::pianificaSincronia() const
{
    if (m_sincroniaPianificata)
        return;
    m_sincroniaPianificata = true;
    QMetaObject::invokeMethod(const_cast<ModelloLista *>(this), &ModelloLista::Sincronizza,
                              Qt::QueuedConnection);
}

QVariant ModelloLista::Valore(int riga, int col) const
{
    if (riga < 0 || riga >= m_numRighe || col < 0 || col >= int(m_colonne.size()))
        return {};
    if (m_risultato)
        return riga < m_risultato->numRighe() ? m_risultato->valore(riga, col) : QVariant();
    if (!m_righe || m_guasto)
        return {};
    QVariant v;
    try {
        v = m_righe->Valore(riga, col);
    } catch (const VbErrore &e) {
        // Painting cannot stop for a message: the error is told after it.
        m_guasto = true;
        QMetaObject::invokeMethod(
            const_cast<ModelloLista *>(this),
            [this, n = e.numero(), t = e.descrizione()] {
                emit const_cast<ModelloLista *>(this)->erroreDati(n, t);
            },
            Qt::QueuedConnection);
        return {};
    }
    if (m_righe->RigheNote() != m_numRighe)
        pianificaSincronia();
    return v;
}

QString ModelloLista::TestoValore(const QVariant &v, const QString &formatoData)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.userType() == qMetaTypeId<Currency>())
        return QLocale(QLocale::Italian).toString(v.value<Currency>().toDouble(), 'f', 2);
    switch (v.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return util().Formatta(v, formatoData);
    case QMetaType::Double:
    case QMetaType::Float:
        return QLocale(QLocale::Italian).toString(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("Sì") : QStringLiteral("No");
    default:
        return v.toString();
    }
}

QString ModelloLista::Testo(int riga, int col) const
{
    return TestoValore(Valore(riga, col));
}

QVariant ModelloLista::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        // Painting never waits for a long skip: the landmarks are coming.
        if (m_righe && !m_guasto && m_righe->DaRinviare(index.row())) {
            m_rinviate = true;
            return QString();
        }
        return Testo(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_colonne[size_t(index.column())].allineamento);
    default:
        return {};
    }
}

Qt::ItemFlags ModelloLista::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_righe && m_righe->Vuota(index.row()))
        f &= ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return f;
}

QVariant ModelloLista::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= int(m_colonne.size()))
        return {};
    return m_colonne[size_t(section)].didascalia;
}

int ModelloLista::IndiceColonna(const QVariant &colonna) const
{
    if (colonna.typeId() == QMetaType::Int || colonna.typeId() == QMetaType::LongLong ||
        colonna.typeId() == QMetaType::Double) {
        const int i = colonna.toInt();
        return i >= 0 && i < int(m_colonne.size()) ? i : -1;
    }
    const QString nome = colonna.toString();
    for (size_t i = 0; i < m_colonne.size(); ++i)
        if (m_colonne[i].didascalia.compare(nome, Qt::CaseInsensitive) == 0)
            return int(i);
    for (size_t i = 0; i < m_colonne.size(); ++i)
        if (m_colonne[i].campo.compare(nome, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int ModelloLista::Pixel(double twips, const QWidget *griglia)
{
    double fattore = 1.0;
    if (griglia)
        fattore = std::max(1.0, griglia->fontMetrics().horizontalAdvance(QLatin1Char('0')) / 6.0);
    return std::max(12, int(std::lround(twips / 15.0 * fattore)));
}

void ModelloLista::AggiornaIntestazioni()
{
    if (!m_colonne.empty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_colonne.size()) - 1);
}
