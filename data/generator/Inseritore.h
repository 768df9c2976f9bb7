// One prepared INSERT per table: values are set by column name, then the row
// is written and the values cleared for the next one.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class Inseritore
{
  public:
    Inseritore(QSqlDatabase &db, const QString &tabella, const QStringList &colonne);

    Inseritore &operator()(const QString &colonna, const QVariant &valore);
    // Amounts are kept in hundredths (or units for the Lira) by the generator.
    Inseritore &importo(const QString &colonna, qint64 centesimi, int decimali = 2);
    Inseritore &data(const QString &colonna, const QDate &data);
    // Writes the row; throws VbErrore on failure.
    void scrivi();
    int righe() const { return m_righe; }

  private:
    QString m_tabella;
    QSqlQuery m_query;
    QHash<QString, int> m_indici;
    std::vector<QVariant> m_valori;
    int m_righe = 0;
};
