// RigheOdbc: the rows of an executed ODBC statement, fetched a block at a time
// into bound buffers, or a cell at a time where the driver cannot do that.
#include "components/db/RigheOdbc.h"

#include "components/db/IstruzioniOdbc.h"

#include <QDate>
#include <QDateTime>
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <type_traits>

static_assert(std::is_same_v<SQLULEN, unsigned long>, "the rows fetched are counted in an SQLULEN");
static_assert(std::is_same_v<SQLUSMALLINT, unsigned short>, "the rows' states are SQLUSMALLINTs");

namespace
{

constexpr int TestoMax = 2048; // characters per SQLGetData of a text

bool riuscito(SQLRETURN r)
{
    return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO;
}

// Bytes of one cell of a column read by `l`, with `caratteri` for a text:
// the stride of its cells in a block bound by column (the size of the C type
// for a value of fixed size, the buffer's length for a text).
int larghezza(RigheOdbc::Lettura l, int caratteri)
{
    switch (l) {
    case RigheOdbc::Lettura::Intero:
        return int(sizeof(SQLBIGINT));
    case RigheOdbc::Lettura::Data:
        return int(sizeof(SQL_DATE_STRUCT));
    case RigheOdbc::Lettura::DataOra:
        return int(sizeof(SQL_TIMESTAMP_STRUCT));
    case RigheOdbc::Lettura::Testo:
        break;
    }
    return (caratteri + 1) * int(sizeof(SQLWCHAR));
}

// A column's part of the buffers rounded up, so that the next one is aligned.
std::size_t allineato(std::size_t byte)
{
    return (byte + 7) & ~std::size_t(7);
}

SQLSMALLINT tipoC(RigheOdbc::Lettura l)
{
    switch (l) {
    case RigheOdbc::Lettura::Intero:
        return SQL_C_SBIGINT;
    case RigheOdbc::Lettura::Data:
        return SQL_C_TYPE_DATE;
    case RigheOdbc::Lettura::DataOra:
        return SQL_C_TYPE_TIMESTAMP;
    case RigheOdbc::Lettura::Testo:
        break;
    }
    return SQL_C_WCHAR;
}

QDateTime dataOra(const SQL_TIMESTAMP_STRUCT &t)
{
    return QDateTime(QDate(t.year, t.month, t.day),
                     QTime(t.hour, t.minute, t.second, int(t.fraction / 1000000)));
}

} // namespace

RigheOdbc::Forma::Forma()
{
    static std::atomic<std::uint64_t> contatore{0};
    numero = ++contatore;
}

int RigheOdbc::CaratteriIniziali(Lettura l, std::uint64_t dimensione)
{
    if (l != Lettura::Testo)
        return 0;
    // A number's text: its digits, sign, point and exponent. A text: its
    // declared size, within the first buffer's limit (the PostgreSQL driver
    // declares 255 for a text of any length).
    constexpr int Primo = 64;
    return dimensione == 0 || dimensione > std::uint64_t(Primo) ? Primo : std::max(int(dimensione), 32);
}

void RigheOdbc::aggiungi(Risultato &r, int col, const QVariant &valore)
{
    Risultato::Tipo t = r.colonna(col).tipo;
    if (t == Risultato::Tipo::Nullo && valore.typeId() == QMetaType::QString)
        t = Risultato::Tipo::Decimale;
    r.aggiungiValore(valore, t);
}

bool RigheOdbc::Leggi(void *st, Forma &forma, Risultato &r, QSqlError &errore, QString &statoSql)
{
    if (m_blocchi < 0) {
        // Bound blocks, and a text longer than its buffer read again from its
        // row: SQLGetData within a block and on a bound column, after SQLSetPos.
        SQLUINTEGER estensioni = 0, posizione = 0;
        const auto h = SQLHDBC(m_hdbc);
        m_blocchi =
            riuscito(SQLGetInfo(h, SQL_GETDATA_EXTENSIONS, &estensioni, sizeof estensioni, nullptr)) &&
                    riuscito(SQLGetInfo(h, SQL_POS_OPERATIONS, &posizione, sizeof posizione, nullptr)) &&
                    (estensioni & SQL_GD_BLOCK) && (estensioni & SQL_GD_BOUND) &&
                    (posizione & SQL_POS_POSITION)
                ? 1
                : 0;
    }
    const bool letto =
        m_blocchi == 1 && !forma.letture.empty() ? leggiBlocchi(st, forma, r) : leggiCelle(st, forma, r);
    if (!letto)
        DiagnosticaOdbc(SQL_HANDLE_STMT, st, errore, statoSql);
    return letto;
}

bool RigheOdbc::testoIntero(void *st, int col, QString &testo, bool &nullo)
{
    // Long texts come in pieces: each one but the last fills the buffer.
    SQLWCHAR buf[TestoMax];
    testo = QStringLiteral("");
    nullo = false;
    for (;;) {
        SQLLEN ind = 0;
        const SQLRETURN g =
            SQLGetData(SQLHSTMT(st), SQLUSMALLINT(col), SQL_C_WCHAR, buf, SQLLEN(sizeof buf), &ind);
        if (g == SQL_NO_DATA)
            return true;
        if (!riuscito(g))
            return false;
        if (ind == SQL_NULL_DATA) {
            nullo = true;
            return true;
        }
        const bool pezzo = ind == SQL_NO_TOTAL || ind >= SQLLEN(sizeof buf);
        const qsizetype caratteri = pezzo ? TestoMax - 1 : qsizetype(ind) / qsizetype(sizeof(SQLWCHAR));
        testo.append(reinterpret_cast<const QChar *>(buf), caratteri);
        if (!pezzo)
            return true;
    }
}

bool RigheOdbc::leggiCelle(void *st, Forma &forma, Risultato &r)
{
    const auto h = SQLHSTMT(st);
    const int n = int(forma.letture.size());
    int righe = 0;
    for (;;) {
        const SQLRETURN f = SQLFetch(h);
        if (f == SQL_NO_DATA)
            break;
        if (!riuscito(f))
            return false;
        ++righe;
        for (int i = 0; i < n; ++i) {
            const auto col = SQLUSMALLINT(i + 1);
            SQLLEN ind = 0;
            QVariant valore;
            switch (forma.letture[size_t(i)]) {
            case Lettura::Intero: {
                qlonglong x = 0;
                if (!riuscito(SQLGetData(h, col, SQL_C_SBIGINT, &x, 0, &ind)))
                    return false;
                if (ind != SQL_NULL_DATA)
                    valore = x;
                break;
            }
            case Lettura::Data: {
                SQL_DATE_STRUCT d{};
                if (!riuscito(SQLGetData(h, col, SQL_C_TYPE_DATE, &d, 0, &ind)))
                    return false;
                if (ind != SQL_NULL_DATA)
                    valore = QDate(d.year, d.month, d.day);
                break;
            }
            case Lettura::DataOra: {
                SQL_TIMESTAMP_STRUCT t{};
                if (!riuscito(SQLGetData(h, col, SQL_C_TYPE_TIMESTAMP, &t, 0, &ind)))
                    return false;
                if (ind != SQL_NULL_DATA)
                    valore = dataOra(t);
                break;
            }
            case Lettura::Testo: {
                QString s;
                bool nullo = false;
                if (!testoIntero(st, col, s, nullo))
                    return false;
                if (!nullo)
                    valore = s;
                break;
            }
            }
            aggiungi(r, i, valore);
        }
    }
    if (n == 0)
        r.righeVuote(righe);
    return true;
}

bool RigheOdbc::lega(void *st, Forma &forma)
{
    const auto h = SQLHSTMT(st);
    const size_t n = forma.letture.size();
    forma.caratteri.resize(n, CaratteriIniziali(Lettura::Testo, 0));
    m_larghezze.resize(n);
    m_posizioni.resize(n);
    m_indicatori.resize(n);
    size_t riga = 0;
    for (size_t i = 0; i < n; ++i) {
        m_larghezze[i] = larghezza(forma.letture[i], forma.caratteri[i]);
        riga += size_t(m_larghezze[i]) + sizeof(SQLLEN);
    }
    // A block's rows stay as they were for the rest of an open result.
    const bool nuova = m_legata != forma.numero;
    if (nuova)
        m_righe = int(std::clamp<size_t>(size_t(ByteBlocco) / riga, 1, size_t(RigheBlocco)));
    size_t pos = 0;
    for (size_t i = 0; i < n; ++i) {
        m_posizioni[i] = pos;
        pos += allineato(size_t(m_larghezze[i]) * size_t(m_righe));
        m_indicatori[i] = pos;
        pos += sizeof(SQLLEN) * size_t(m_righe);
    }
    if (m_memoria.size() < pos)
        m_memoria.resize(pos);
    m_stati.resize(size_t(m_righe));
    m_legata = 0;
    if (!riuscito(
            SQLSetStmtAttr(h, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0)) ||
        !riuscito(
            SQLSetStmtAttr(h, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(m_righe)), 0)) ||
        !riuscito(SQLSetStmtAttr(h, SQL_ATTR_ROWS_FETCHED_PTR, &m_lette, 0)) ||
        !riuscito(SQLSetStmtAttr(h, SQL_ATTR_ROW_STATUS_PTR, m_stati.data(), 0)))
        return false;
    for (size_t i = 0; i < n; ++i)
        if (!riuscito(SQLBindCol(h, SQLUSMALLINT(i + 1), tipoC(forma.letture[i]),
                                 m_memoria.data() + m_posizioni[i], SQLLEN(m_larghezze[i]),
                                 reinterpret_cast<SQLLEN *>(m_memoria.data() + m_indicatori[i]))))
            return false;
    m_legata = forma.numero;
    forma.cambiata = false;
    return true;
}

bool RigheOdbc::leggiBlocchi(void *st, Forma &forma, Risultato &r)
{
    const auto h = SQLHSTMT(st);
    const int n = int(forma.letture.size());
    std::vector<Risultato::Tipo> tipi(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        tipi[size_t(i)] = r.colonna(i).tipo;
    // Another statement may have had the buffers since this one was bound.
    if (m_legata != forma.numero)
        forma.cambiata = true;
    for (;;) {
        if (forma.cambiata && !lega(st, forma))
            return false;
        m_lette = 0;
        const SQLRETURN f = SQLFetch(h);
        if (f == SQL_NO_DATA)
            break;
        if (!riuscito(f))
            return false;
        for (SQLULEN j = 0; j < m_lette; ++j) {
            // A row the driver could not convert fails the reading, as its
            // cell would have failed read alone.
            if (m_stati[j] == SQL_ROW_ERROR)
                return false;
            for (int i = 0; i < n; ++i) {
                const char *cella =
                    m_memoria.data() + m_posizioni[size_t(i)] + j * size_t(m_larghezze[size_t(i)]);
                const SQLLEN ind =
                    reinterpret_cast<const SQLLEN *>(m_memoria.data() + m_indicatori[size_t(i)])[j];
                if (ind == SQL_NULL_DATA) {
                    r.aggiungiNullo();
                    continue;
                }
                const Risultato::Tipo t = tipi[size_t(i)];
                switch (forma.letture[size_t(i)]) {
                case Lettura::Intero: {
                    const qlonglong x = *reinterpret_cast<const SQLBIGINT *>(cella);
                    if (t == Risultato::Tipo::Intero)
                        r.aggiungiIntero(x);
                    else
                        aggiungi(r, i, x);
                    break;
                }
                case Lettura::Data: {
                    const auto &d = *reinterpret_cast<const SQL_DATE_STRUCT *>(cella);
                    const QDate data(d.year, d.month, d.day);
                    if (t == Risultato::Tipo::Data)
                        r.aggiungiData(data);
                    else
                        aggiungi(r, i, data);
                    break;
                }
                case Lettura::DataOra: {
                    const QDateTime quando = dataOra(*reinterpret_cast<const SQL_TIMESTAMP_STRUCT *>(cella));
                    if (t == Risultato::Tipo::DataOra)
                        r.aggiungiDataOra(quando);
                    else
                        aggiungi(r, i, quando);
                    break;
                }
                case Lettura::Testo: {
                    const int spazio = m_larghezze[size_t(i)] - int(sizeof(SQLWCHAR));
                    if (ind != SQL_NO_TOTAL && ind <= SQLLEN(spazio)) {
                        const auto *p = reinterpret_cast<const char16_t *>(cella);
                        const qsizetype caratteri = qsizetype(ind) / qsizetype(sizeof(SQLWCHAR));
                        if (t == Risultato::Tipo::Testo)
                            r.aggiungiTestoUtf16(p, caratteri);
                        else
                            aggiungi(r, i, QString(reinterpret_cast<const QChar *>(p), caratteri));
                        break;
                    }
                    // Longer than its buffer: read whole from its row, and a
                    // larger buffer from the next block on.
                    QString s;
                    bool nullo = false;
                    if (!riuscito(SQLSetPos(h, SQLSETPOSIROW(j + 1), SQL_POSITION, SQL_LOCK_NO_CHANGE)) ||
                        !testoIntero(st, i + 1, s, nullo))
                        return false;
                    int &caratteri = forma.caratteri[size_t(i)];
                    if (s.size() > caratteri && caratteri < CaratteriMassimi) {
                        caratteri = int(std::min<qsizetype>(s.size(), CaratteriMassimi));
                        forma.cambiata = true;
                    }
                    aggiungi(r, i, nullo ? QVariant() : QVariant(s));
                    break;
                }
                }
            }
        }
    }
    return true;
}
