// The rows a footer calculation reads, the texts of LettureGrezze.h read raw
// through the ODBC C API (LettureOdbc.h): the floor of the footer engine and
// of the letters-of-intent totals on a server.
#pragma once

#include "LettureGrezze.h"
#include "LettureOdbc.h"

#include <array>
#include <cstdint>
#include <vector>

namespace letture_grezze
{

class LettoreOdbc
{
  public:
    LettoreOdbc(letture_odbc::Connessione &conn, const QByteArray &testa, const QByteArray &dett,
                const QByteArray &spese)
        : m_conn(conn)
    {
        const std::array<QByteArray, 4> sql = Sql(testa, dett, spese);
        for (size_t i = 0; i < sql.size(); ++i) {
            // ODBC's markers are bare and taken in their order: ?1 and ?2
            // become ?, and the order says which number each one gets.
            QString testo = QString::fromUtf8(sql[i]);
            for (qsizetype k = testo.indexOf(QLatin1Char('?')); k >= 0;
                 k = testo.indexOf(QLatin1Char('?'), k)) {
                m_numero[i].push_back(testo.at(k + 1) == QLatin1Char('1'));
                testo.remove(k + 1, 1);
                ++k;
            }
            m_sql[i] = testo;
            m_testo[i] = QString::fromUtf8(sql[i]);
        }
    }

    // Every row of one document through the statements prepared once; false
    // when a read fails (the connection's Errore says why).
    bool Documento(int numero, int anno, std::int64_t &somma)
    {
        qint64 byte = 0;
        QVariantList parametri;
        for (size_t i = 0; i < m_sql.size(); ++i) {
            parametri.clear();
            for (bool n : m_numero[i])
                parametri.push_back(qlonglong(n ? numero : anno));
            if (m_conn.Leggi(m_sql[i], parametri, nullptr, byte) < 0)
                return false;
        }
        somma += byte;
        return true;
    }

    // The same with the numbers written into the texts, each prepared again.
    bool DocumentoTesto(int numero, int anno, std::int64_t &somma)
    {
        qint64 byte = 0;
        for (const QString &sql : m_testo) {
            QString t = sql;
            t.replace(QLatin1String("?1"), QString::number(numero))
                .replace(QLatin1String("?2"), QString::number(anno));
            if (m_conn.LeggiUnaVolta(t, nullptr, byte) < 0)
                return false;
        }
        somma += byte;
        return true;
    }

  private:
    letture_odbc::Connessione &m_conn;
    std::array<QString, 4> m_sql, m_testo;
    std::array<std::vector<bool>, 4> m_numero; // per marker: the number (true) or the year
};

} // namespace letture_grezze
