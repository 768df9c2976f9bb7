// Prepared inserts of the demo generator.
#include "data/generator/Inseritore.h"

#include "components/util/VbErrore.h"

#include <QDate>
#include <QSqlError>

Inseritore::Inseritore(QSqlDatabase &db, const QString &tabella, const QStringList &colonne)
    : m_tabella(tabella), m_query(db), m_valori(std::size_t(colonne.size()))
{
    QStringList segnaposti;
    for (int i = 0; i < colonne.size(); ++i) {
        m_indici.insert(colonne.at(i).toLower(), i);
        segnaposti << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(tabella, colonne.join(u','), segnaposti.join(u','));
    if (!m_query.prepare(sql))
        throw VbErrore(VbErrore::ChiamataOdbcFallita,
                       QStringLiteral("%1: %2").arg(tabella, m_query.lastError().text()));
}

Inseritore &Inseritore::operator()(const QString &colonna, const QVariant &valore)
{
    const auto it = m_indici.constFind(colonna.toLower());
    if (it == m_indici.constEnd())
        throw VbErrore(VbErrore::ElementoNonTrovato,
                       QStringLiteral("%1.%2 non previsto").arg(m_tabella, colonna));
    m_valori[std::size_t(*it)] = valore;
    return *this;
}

Inseritore &Inseritore::importo(const QString &colonna, qint64 centesimi, int decimali)
{
    double divisore = 1;
    for (int i = 0; i < decimali; ++i)
        divisore *= 10;
    return (*this)(colonna, double(centesimi) / divisore);
}

Inseritore &Inseritore::data(const QString &colonna, const QDate &data)
{
    return (*this)(colonna, data.isValid() ? QVariant(data.toString(Qt::ISODate)) : QVariant());
}

void Inseritore::scrivi()
{
    for (std::size_t i = 0; i < m_valori.size(); ++i) {
        m_query.bindValue(int(i), m_valori[i]);
        m_valori[i] = QVariant();
    }
    if (!m_query.exec())
        throw VbErrore(VbErrore::ChiamataOdbcFallita,
                       QStringLiteral("%1: %2").arg(m_tabella, m_query.lastError().text()));
    ++m_righe;
}
