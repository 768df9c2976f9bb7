// SELECTs run straight through the ODBC driver manager's C API, as the
// fastest client reads them: each text prepared once, its columns bound once
// to narrow UTF-8 buffers (no conversion to wide characters), rows fetched in
// blocks (SQLExecute, then SQLFetch over a row array), on a connection of its
// own made with the program's connect text: the floor the program's reads on
// a server are measured against. The program prepares its statements too, so
// the floor does not parse and plan each text again.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QHash>
#include <algorithm>
#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <memory>
#include <vector>

namespace letture_odbc
{

class Connessione
{
  public:
    explicit Connessione(const QString &testo)
    {
        // Narrow texts come from the driver in the locale's character set:
        // UTF-8, so that they come as the server sends them.
        if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
            std::setlocale(LC_CTYPE, "C.UTF-8");
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
        for (const auto &p : std::as_const(m_pronte))
            SQLFreeHandle(SQL_HANDLE_STMT, p->st);
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
        return Leggi(sql, {}, testi, byte);
    }

    // The same with the whole numbers `parametri` bound to the text's markers
    // (?), in their order; the statement is prepared and bound once for its text.
    int Leggi(const QString &sql, const std::vector<int> &parametri, std::vector<QStringList> *testi,
              qint64 &byte)
    {
        Pronta *p = m_pronte.value(sql).get();
        if (!p) {
            auto nuova = prepara(sql, parametri.size());
            if (!nuova)
                return -1;
            p = nuova.get();
            m_pronte.insert(sql, std::shared_ptr<Pronta>(std::move(nuova)));
        }
        return esegui(*p, parametri, testi, byte);
    }

    // Runs `sql` straight (SQLExecDirect) on a statement of its own, then
    // frees it: a text written anew for each run, as SQL built with its
    // values in it must be.
    int LeggiUnaVolta(const QString &sql, std::vector<QStringList> *testi, qint64 &byte)
    {
        Pronta p;
        SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &p.st);
        QString testo = sql;
        int righe = -1;
        if (SQL_SUCCEEDED(
                SQLExecDirectW(p.st, reinterpret_cast<SQLWCHAR *>(testo.data()), SQLINTEGER(testo.size())))) {
            lega(p);
            righe = leggiRighe(p, testi, byte);
        } else {
            m_errore = diagnosi(SQL_HANDLE_STMT, p.st);
        }
        SQLFreeHandle(SQL_HANDLE_STMT, p.st);
        return righe;
    }

  private:
    static constexpr SQLULEN RigheBlocco = 64; // rows a fetch brings
    struct Colonna {
        SQLLEN larghezza = 0; // bytes of one row's buffer, the final zero included
        std::vector<char> dati;
        std::vector<SQLLEN> indicatori;
    };
    struct Pronta {
        SQLHSTMT st = SQL_NULL_HSTMT;
        std::vector<Colonna> colonne;
        SQLULEN lette = 0;                 // rows brought by the last fetch
        std::vector<SQLINTEGER> parametri; // the values bound to the markers
        std::vector<SQLLEN> lunghezzeParametri;
    };

    int esegui(Pronta &p, const std::vector<int> &parametri, std::vector<QStringList> *testi, qint64 &byte)
    {
        std::copy_n(parametri.begin(), std::min(parametri.size(), p.parametri.size()), p.parametri.begin());
        if (!SQL_SUCCEEDED(SQLExecute(p.st))) {
            m_errore = diagnosi(SQL_HANDLE_STMT, p.st);
            SQLFreeStmt(p.st, SQL_CLOSE);
            return -1;
        }
        return leggiRighe(p, testi, byte);
    }

    // Fetches the rows of the open result into the bound columns, then closes it.
    int leggiRighe(Pronta &p, std::vector<QStringList> *testi, qint64 &byte)
    {
        int righe = 0;
        while (SQL_SUCCEEDED(SQLFetch(p.st))) {
            for (SQLULEN r = 0; r < p.lette; ++r) {
                QStringList riga;
                for (const Colonna &c : p.colonne) {
                    const SQLLEN ind = c.indicatori[r];
                    const qsizetype n =
                        ind == SQL_NULL_DATA ? 0 : qsizetype(std::min<SQLLEN>(ind, SQLLEN(c.larghezza - 1)));
                    byte += n;
                    if (testi)
                        riga << QString::fromUtf8(c.dati.data() + r * c.larghezza, n);
                }
                if (testi)
                    testi->push_back(std::move(riga));
                ++righe;
            }
        }
        SQLFreeStmt(p.st, SQL_CLOSE);
        return righe;
    }

    std::unique_ptr<Pronta> prepara(const QString &sql, size_t parametri)
    {
        auto p = std::make_unique<Pronta>();
        SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &p->st);
        // The wide call, as the program's driver layer makes it: the text
        // reaches the driver as written, whatever the process's locale.
        QString testo = sql;
        if (!SQL_SUCCEEDED(
                SQLPrepareW(p->st, reinterpret_cast<SQLWCHAR *>(testo.data()), SQLINTEGER(testo.size())))) {
            m_errore = diagnosi(SQL_HANDLE_STMT, p->st);
            SQLFreeHandle(SQL_HANDLE_STMT, p->st);
            return nullptr;
        }
        p->parametri.resize(parametri);
        p->lunghezzeParametri.resize(parametri, 0);
        for (size_t i = 0; i < parametri; ++i)
            SQLBindParameter(p->st, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                             &p->parametri[i], 0, &p->lunghezzeParametri[i]);
        lega(*p);
        return p;
    }

    // Binds the result's columns in blocks of rows.
    static void lega(Pronta &pronta)
    {
        Pronta *p = &pronta;
        SQLSMALLINT colonne = 0;
        SQLNumResultCols(p->st, &colonne);
        SQLSetStmtAttr(p->st, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
        SQLSetStmtAttr(p->st, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(RigheBlocco), 0);
        SQLSetStmtAttr(p->st, SQL_ATTR_ROWS_FETCHED_PTR, &p->lette, 0);
        p->colonne.resize(size_t(colonne));
        for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(colonne); ++i) {
            SQLCHAR nome[256];
            SQLSMALLINT lunghezzaNome = 0, tipo = 0, decimali = 0, nullabile = 0;
            SQLULEN dimensione = 0;
            SQLDescribeCol(p->st, i, nome, sizeof nome, &lunghezzaNome, &tipo, &dimensione, &decimali,
                           &nullabile);
            // Up to four bytes a character, numbers and dates in their text;
            // long texts are cut at 4 KiB (a list's cells are short).
            Colonna &c = p->colonne[i - 1];
            c.larghezza = SQLLEN(std::clamp<SQLULEN>(dimensione * 4 + 1, 64, 4096));
            c.dati.resize(size_t(c.larghezza) * RigheBlocco);
            c.indicatori.resize(RigheBlocco);
            SQLBindCol(p->st, i, SQL_C_CHAR, c.dati.data(), c.larghezza, c.indicatori.data());
        }
    }

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
    QHash<QString, std::shared_ptr<Pronta>> m_pronte; // prepared statements by their text
};

} // namespace letture_odbc
