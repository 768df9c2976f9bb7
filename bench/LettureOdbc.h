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
#include <QVariantList>
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
        Chiudi();
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
        return Leggi(sql, QVariantList(), testi, byte);
    }

    // Runs `sql`, whose marks (?) stand for `parametri` in order, prepared
    // the first time the text is met and bound again at each run as the
    // program's driver layer binds them: whole numbers (qlonglong) as
    // SQL_BIGINT, anything else as a text of wide characters, untyped for the
    // server as a quoted literal is. Reads every column of every row as
    // `Leggi` above does.
    int Leggi(const QString &sql, const QVariantList &parametri, std::vector<QStringList> *testi,
              qint64 &byte)
    {
        Pronta *p = pronta(sql);
        if (!p)
            return -1;
        const size_t n = size_t(parametri.size());
        p->testi.resize(n);
        p->numeri.resize(n);
        p->lunghezze.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const QVariant &v = parametri[qsizetype(i)];
            const auto numero = SQLUSMALLINT(i + 1);
            SQLRETURN rc;
            if (v.typeId() == QMetaType::LongLong) {
                p->numeri[i] = v.toLongLong();
                p->lunghezze[i] = 0;
                rc = SQLBindParameter(p->st, numero, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                      &p->numeri[i], 0, &p->lunghezze[i]);
            } else {
                p->testi[i] = v.toString();
                p->lunghezze[i] = SQLLEN(p->testi[i].size() * qsizetype(sizeof(SQLWCHAR)));
                rc = SQLBindParameter(p->st, numero, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                      SQLULEN(std::max<qsizetype>(1, p->testi[i].size())), 0,
                                      const_cast<QChar *>(p->testi[i].constData()), p->lunghezze[i],
                                      &p->lunghezze[i]);
            }
            if (!SQL_SUCCEEDED(rc)) {
                m_errore = diagnosi(SQL_HANDLE_STMT, p->st);
                return -1;
            }
        }
        if (!esegui(p))
            return -1;
        return righe(p, testi, byte);
    }

    // Runs `sql` on a statement made for this run alone, then frees it: a
    // text written anew for each run, as SQL built with its values in it
    // must be.
    int LeggiUnaVolta(const QString &sql, std::vector<QStringList> *testi, qint64 &byte)
    {
        std::unique_ptr<Pronta> p = prepara(sql);
        if (!p)
            return -1;
        int quante = -1;
        if (SQL_SUCCEEDED(SQLExecute(p->st)))
            quante = righe(p.get(), testi, byte);
        else
            m_errore = diagnosi(SQL_HANDLE_STMT, p->st);
        SQLFreeHandle(SQL_HANDLE_STMT, p->st);
        return quante;
    }

    // Runs `sql` and takes as texts only the columns named in `nomi` (found by
    // name, without regard to case, the first time the list is met), as a
    // program reading some fields of every row would. Answers the rows read,
    // -1 on failure; `caratteri` grows by the characters of those texts.
    int LeggiColonne(const QString &sql, const QStringList &nomi, qint64 &caratteri)
    {
        Pronta *p = pronta(sql);
        if (!p)
            return -1;
        auto trovati = p->perNome.constFind(nomi);
        if (trovati == p->perNome.cend()) {
            QStringList colonne;
            for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(p->colonne.size()); ++i) {
                SQLCHAR nome[256] = {};
                SQLSMALLINT lunghezza = 0;
                SQLColAttribute(p->st, i, SQL_DESC_NAME, nome, sizeof nome, &lunghezza, nullptr);
                colonne << QString::fromUtf8(reinterpret_cast<const char *>(nome));
            }
            std::vector<size_t> indici;
            for (const QString &nome : nomi)
                for (qsizetype c = 0; c < colonne.size(); ++c)
                    if (colonne.at(c).compare(nome, Qt::CaseInsensitive) == 0)
                        indici.push_back(size_t(c));
            trovati = p->perNome.insert(nomi, indici);
        }
        const std::vector<size_t> &indici = *trovati;
        if (!esegui(p))
            return -1;
        int righe = 0;
        while (SQL_SUCCEEDED(SQLFetch(p->st))) {
            for (SQLULEN r = 0; r < p->lette; ++r) {
                for (size_t i : indici) {
                    const Colonna &c = p->colonne[i];
                    const SQLLEN ind = c.indicatori[r];
                    const qsizetype n =
                        ind == SQL_NULL_DATA ? 0 : qsizetype(std::min<SQLLEN>(ind, SQLLEN(c.larghezza - 1)));
                    caratteri += QString::fromUtf8(c.dati.data() + r * c.larghezza, n).size();
                }
                ++righe;
            }
        }
        SQLFreeStmt(p->st, SQL_CLOSE);
        return righe;
    }

    // Runs `sql` (prepared once, as Leggi does) and leaves its rows to be
    // read one at a time: Riga moves to the next one, fetching the next block
    // when the last is used up; Testo and Byte read its cells. False on
    // failure (Errore says why). One statement runs at a time. Without
    // `tieni` a text not prepared before is prepared for this run alone and
    // freed when it closes (a single reading that keeps nothing).
    bool Esegui(const QString &sql, bool tieni = true)
    {
        Chiudi();
        Pronta *p = m_pronte.value(sql).get();
        if (!p && !tieni) {
            m_sciolta = prepara(sql);
            p = m_sciolta.get();
        } else if (!p) {
            p = pronta(sql);
        }
        if (!p)
            return false;
        if (!esegui(p))
            return false;
        p->lette = 0;
        m_corrente = p;
        m_riga = m_prossima = 0;
        return true;
    }
    // The statement's columns and their names (after Esegui).
    int NumeroColonne() const { return m_corrente ? int(m_corrente->colonne.size()) : 0; }
    const QByteArray &NomeColonna(int c) const { return m_corrente->colonne[size_t(c)].nome; }
    // The next row; false after the last (the statement then closed).
    bool Riga()
    {
        if (!m_corrente)
            return false;
        if (m_prossima < m_corrente->lette) {
            m_riga = m_prossima++;
            return true;
        }
        const SQLRETURN rc = SQLFetch(m_corrente->st);
        if (!SQL_SUCCEEDED(rc) || m_corrente->lette == 0) {
            if (rc != SQL_NO_DATA && !SQL_SUCCEEDED(rc))
                m_errore = diagnosi(SQL_HANDLE_STMT, m_corrente->st);
            Chiudi();
            return false;
        }
        m_riga = 0;
        m_prossima = 1;
        return true;
    }
    // A cell of the row Riga moved to, as UTF-8 ending in a zero; null for Null.
    const char *Testo(int c) const
    {
        const Colonna &col = m_corrente->colonne[size_t(c)];
        return col.indicatori[m_riga] == SQL_NULL_DATA ? nullptr : col.dati.data() + m_riga * col.larghezza;
    }
    // The cell's bytes (0 for Null).
    int Byte(int c) const
    {
        const Colonna &col = m_corrente->colonne[size_t(c)];
        const SQLLEN ind = col.indicatori[m_riga];
        return ind == SQL_NULL_DATA ? 0 : int(std::min<SQLLEN>(ind, col.larghezza - 1));
    }
    // Closes the statement Esegui ran, its rows left unread.
    void Chiudi()
    {
        if (m_corrente)
            SQLFreeStmt(m_corrente->st, SQL_CLOSE);
        m_corrente = nullptr;
        if (m_sciolta)
            SQLFreeHandle(SQL_HANDLE_STMT, m_sciolta->st);
        m_sciolta.reset();
    }

  private:
    static constexpr SQLULEN RigheBlocco = 64; // rows a fetch brings
    struct Colonna {
        QByteArray nome;
        SQLLEN larghezza = 0; // bytes of one row's buffer, the final zero included
        std::vector<char> dati;
        std::vector<SQLLEN> indicatori;
    };
    struct Pronta {
        SQLHSTMT st = SQL_NULL_HSTMT;
        std::vector<Colonna> colonne;
        SQLULEN lette = 0;                               // rows brought by the last fetch
        QHash<QStringList, std::vector<size_t>> perNome; // columns of LeggiColonne's lists of names
        std::vector<QString> testi;                      // the texts bound to its marks
        std::vector<qint64> numeri;                      // the whole numbers bound to its marks
        std::vector<SQLLEN> lunghezze;                   // the bytes of each mark's value
    };

    // Fetches the rows of the executed statement `p` in blocks, every column
    // as text (kept in `testi` when given), and closes it; answers the rows.
    int righe(Pronta *p, std::vector<QStringList> *testi, qint64 &byte)
    {
        int quante = 0;
        while (SQL_SUCCEEDED(SQLFetch(p->st))) {
            for (SQLULEN r = 0; r < p->lette; ++r) {
                QStringList riga;
                for (const Colonna &c : p->colonne) {
                    const SQLLEN ind = c.indicatori[r];
                    const qsizetype n =
                        ind == SQL_NULL_DATA ? 0 : qsizetype(std::min<SQLLEN>(ind, SQLLEN(c.larghezza - 1)));
                    byte += n;
                    if (testi)
                        riga << QString::fromUtf8(c.dati.data() + r * c.larghezza, n);
                }
                if (testi)
                    testi->push_back(std::move(riga));
                ++quante;
            }
        }
        SQLFreeStmt(p->st, SQL_CLOSE);
        return quante;
    }

    // Runs the prepared statement `p`; on failure Errore says why and the
    // statement is closed.
    bool esegui(Pronta *p)
    {
        if (SQL_SUCCEEDED(SQLExecute(p->st)))
            return true;
        m_errore = diagnosi(SQL_HANDLE_STMT, p->st);
        SQLFreeStmt(p->st, SQL_CLOSE);
        return false;
    }

    // The statement of `sql`, prepared the first time it is met.
    Pronta *pronta(const QString &sql)
    {
        if (Pronta *p = m_pronte.value(sql).get())
            return p;
        auto nuova = prepara(sql);
        if (!nuova)
            return nullptr;
        Pronta *p = nuova.get();
        m_pronte.insert(sql, std::shared_ptr<Pronta>(std::move(nuova)));
        return p;
    }

    std::unique_ptr<Pronta> prepara(const QString &sql)
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
            c.nome = QByteArray(reinterpret_cast<const char *>(nome),
                                std::clamp<int>(lunghezzaNome, 0, int(sizeof nome) - 1));
            c.larghezza = SQLLEN(std::clamp<SQLULEN>(dimensione * 4 + 1, 64, 4096));
            c.dati.resize(size_t(c.larghezza) * RigheBlocco);
            c.indicatori.resize(RigheBlocco);
            SQLBindCol(p->st, i, SQL_C_CHAR, c.dati.data(), c.larghezza, c.indicatori.data());
        }
        return p;
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
    Pronta *m_corrente = nullptr;                     // the statement Esegui ran, while it has rows
    std::unique_ptr<Pronta> m_sciolta;                // it, when prepared for one run only
    SQLULEN m_riga = 0, m_prossima = 0;               // of the block fetched last
};

} // namespace letture_odbc
