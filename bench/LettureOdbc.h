// SELECTs run straight through the ODBC driver manager's C API (SQLPrepare
// once per text, then SQLExecute, SQLFetch, SQLGetData), on a connection of
// its own made with the program's connect text: the floor the program's reads
// on a server are measured against. The program prepares its statements too,
// so the floor does not parse and plan each text again.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QHash>
#include <vector>

namespace letture_odbc
{

class Connessione
{
  public:
    explicit Connessione(const QString &testo)
    {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
        QByteArray t = testo.toUtf8();
        SQLCHAR uscita[1024];
        SQLSMALLINT lunghezza = 0;
        const SQLRETURN rc = SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR *>(t.data()), SQL_NTS,
                                              uscita, sizeof uscita, &lunghezza, SQL_DRIVER_NOPROMPT);
        m_aperta = SQL_SUCCEEDED(rc);
        if (!m_aperta)
            m_errore = diagnosi(SQL_HANDLE_DBC, m_dbc);
    }
    ~Connessione()
    {
        for (SQLHSTMT st : std::as_const(m_pronte))
            SQLFreeHandle(SQL_HANDLE_STMT, st);
        if (m_aperta)
            SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }
    Connessione(const Connessione &) = delete;
    Connessione &operator=(const Connessione &) = delete;

    bool Aperta() const { return m_aperta; }
    const QString &Errore() const { return m_errore; }

    // Runs `sql` and reads every column of every row as text; with `testi` the
    // texts are kept, one list per row. Answers the rows read, -1 on failure
    // (Errore says why). `byte` grows by the size of what was read.
    int Leggi(const QString &sql, std::vector<QStringList> *testi, qint64 &byte)
    {
        SQLHSTMT st = m_pronte.value(sql, SQL_NULL_HSTMT);
        if (st == SQL_NULL_HSTMT) {
            SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &st);
            // The wide call, as the program's driver layer makes it: the text
            // reaches the driver as written, whatever the process's locale.
            QString testo = sql;
            if (!SQL_SUCCEEDED(
                    SQLPrepareW(st, reinterpret_cast<SQLWCHAR *>(testo.data()), SQLINTEGER(testo.size())))) {
                m_errore = diagnosi(SQL_HANDLE_STMT, st);
                SQLFreeHandle(SQL_HANDLE_STMT, st);
                return -1;
            }
            m_pronte.insert(sql, st);
        }
        SQLRETURN rc = SQLExecute(st);
        if (!SQL_SUCCEEDED(rc)) {
            m_errore = diagnosi(SQL_HANDLE_STMT, st);
            SQLFreeStmt(st, SQL_CLOSE);
            return -1;
        }
        SQLSMALLINT colonne = 0;
        SQLNumResultCols(st, &colonne);
        int righe = 0;
        std::vector<char16_t> buffer(1024);
        while (SQL_SUCCEEDED(SQLFetch(st))) {
            QStringList riga;
            for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(colonne); ++c) {
                QString valore;
                for (;;) {
                    SQLLEN indicatore = 0;
                    rc = SQLGetData(st, c, SQL_C_WCHAR, buffer.data(),
                                    SQLLEN(buffer.size() * sizeof(char16_t)), &indicatore);
                    if (!SQL_SUCCEEDED(rc) || indicatore == SQL_NULL_DATA)
                        break;
                    const qsizetype presi =
                        indicatore == SQL_NO_TOTAL || size_t(indicatore) >= buffer.size() * sizeof(char16_t)
                            ? qsizetype(buffer.size() - 1)
                            : qsizetype(indicatore / qsizetype(sizeof(char16_t)));
                    byte += presi * qsizetype(sizeof(char16_t));
                    if (testi)
                        valore += QStringView(buffer.data(), presi);
                    if (rc != SQL_SUCCESS_WITH_INFO)
                        break;
                }
                if (testi)
                    riga << valore;
            }
            if (testi)
                testi->push_back(std::move(riga));
            ++righe;
        }
        SQLFreeStmt(st, SQL_CLOSE);
        return righe;
    }

  private:
    static QString diagnosi(SQLSMALLINT tipo, SQLHANDLE h)
    {
        SQLCHAR stato[6] = {}, messaggio[512] = {};
        SQLINTEGER nativo = 0;
        SQLSMALLINT lunghezza = 0;
        if (!SQL_SUCCEEDED(
                SQLGetDiagRec(tipo, h, 1, stato, &nativo, messaggio, sizeof messaggio, &lunghezza)))
            return QStringLiteral("ODBC failure");
        return QString::fromUtf8(reinterpret_cast<const char *>(stato)) + QStringLiteral(" ") +
               QString::fromUtf8(reinterpret_cast<const char *>(messaggio));
    }

    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    bool m_aperta = false;
    QString m_errore;
    QHash<QString, SQLHSTMT> m_pronte; // prepared statements by their text
};

} // namespace letture_odbc
