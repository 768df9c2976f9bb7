// One customer's row of PianoConti read by its key through the engine's own C
// API, with a statement prepared once and its three key values bound on each
// read (SQLite's sqlite3_bind_text, or ODBC's SQLBindParameter on the
// connect text of the program): one round trip of the cheapest kind the
// form's step could make, every column taken as text.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>
#include <sqlucode.h>

#include <algorithm>
#include <array>

namespace lettura_riga
{

inline const char *const Sql = "SELECT * FROM PianoConti WHERE Gruppo = ? AND Mastro = ? AND Conto = ?";

class Lettore
{
  public:
    // `connect` an ODBC connect text, or empty with `sqlite` the path of a company file.
    Lettore(const QString &connect, const QString &sqlite)
    {
        if (connect.isEmpty()) {
            m_aperto = sqlite3_open_v2(sqlite.toUtf8().constData(), &m_sqlite, SQLITE_OPEN_READONLY,
                                       nullptr) == SQLITE_OK &&
                       sqlite3_prepare_v2(m_sqlite, Sql, -1, &m_st, nullptr) == SQLITE_OK;
            return;
        }
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
        QByteArray t = connect.toUtf8();
        m_aperto = SQL_SUCCEEDED(SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR *>(t.data()),
                                                  SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT));
        if (!m_aperto)
            return;
        m_connessa = true;
        SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &m_hst);
        m_aperto =
            SQL_SUCCEEDED(SQLPrepare(m_hst, reinterpret_cast<SQLCHAR *>(const_cast<char *>(Sql)), SQL_NTS));
        for (SQLUSMALLINT i = 0; m_aperto && i < 3; ++i)
            m_aperto = SQL_SUCCEEDED(SQLBindParameter(m_hst, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT,
                                                      SQL_C_WCHAR, SQL_WVARCHAR, 20, 0, m_chiave[i].data(),
                                                      SQLLEN(sizeof m_chiave[i]), &m_lunghezza[i]));
    }
    ~Lettore()
    {
        if (m_st)
            sqlite3_finalize(m_st);
        if (m_sqlite)
            sqlite3_close(m_sqlite);
        if (m_hst != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, m_hst);
        if (m_connessa)
            SQLDisconnect(m_dbc);
        if (m_dbc != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        if (m_env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }
    Lettore(const Lettore &) = delete;
    Lettore &operator=(const Lettore &) = delete;

    bool Aperto() const { return m_aperto; }

    // The columns of the row of `chiave` (group, ledger, account) as texts;
    // empty when no row was read.
    QStringList Leggi(const QStringList &chiave)
    {
        QStringList riga;
        if (!m_aperto || chiave.size() != 3)
            return riga;
        if (m_st)
            return leggiSqlite(chiave);
        for (int i = 0; i < 3; ++i) {
            const QString &k = chiave.at(i);
            const qsizetype n = std::min<qsizetype>(k.size(), qsizetype(m_chiave[size_t(i)].size()) - 1);
            std::copy_n(k.utf16(), n, m_chiave[size_t(i)].data());
            m_lunghezza[size_t(i)] = SQLLEN(n * qsizetype(sizeof(SQLWCHAR)));
        }
        if (!SQL_SUCCEEDED(SQLExecute(m_hst)))
            return riga;
        SQLSMALLINT colonne = 0;
        SQLNumResultCols(m_hst, &colonne);
        if (SQL_SUCCEEDED(SQLFetch(m_hst))) {
            for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(colonne); ++c) {
                SQLLEN indicatore = 0;
                const SQLRETURN rc =
                    SQLGetData(m_hst, c, SQL_C_WCHAR, m_buffer.data(), SQLLEN(sizeof m_buffer), &indicatore);
                if (!SQL_SUCCEEDED(rc) || indicatore == SQL_NULL_DATA) {
                    riga << QString();
                    continue;
                }
                const qsizetype presi = indicatore == SQL_NO_TOTAL || size_t(indicatore) >= sizeof m_buffer
                                            ? qsizetype(m_buffer.size() - 1)
                                            : qsizetype(indicatore / qsizetype(sizeof(SQLWCHAR)));
                riga << QString(reinterpret_cast<const QChar *>(m_buffer.data()), presi);
            }
        }
        SQLFreeStmt(m_hst, SQL_CLOSE);
        return riga;
    }

  private:
    QStringList leggiSqlite(const QStringList &chiave)
    {
        QStringList riga;
        for (int i = 0; i < 3; ++i)
            sqlite3_bind_text16(m_st, i + 1, chiave.at(i).utf16(), int(chiave.at(i).size() * 2),
                                SQLITE_TRANSIENT);
        if (sqlite3_step(m_st) == SQLITE_ROW)
            for (int c = 0, n = sqlite3_column_count(m_st); c < n; ++c)
                riga << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_st, c)),
                                          sqlite3_column_bytes(m_st, c));
        sqlite3_reset(m_st);
        return riga;
    }

    bool m_aperto = false, m_connessa = false;
    sqlite3 *m_sqlite = nullptr;
    sqlite3_stmt *m_st = nullptr;
    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    SQLHSTMT m_hst = SQL_NULL_HSTMT;
    std::array<std::array<SQLWCHAR, 24>, 3> m_chiave{};
    std::array<SQLLEN, 3> m_lunghezza{};
    std::array<SQLWCHAR, 2048> m_buffer{};
};

} // namespace lettura_riga
