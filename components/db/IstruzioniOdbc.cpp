// IstruzioniOdbc: prepared ODBC statements of a server connection, their
// parameters bound as the literals they stand for, their columns described
// once and their rows read with the values Qt's driver would give.
#include "components/db/IstruzioniOdbc.h"

#include <sql.h>
#include <sqlext.h>

#include <climits>
#include <iterator>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide characters are UTF-16");

namespace
{

using Lettura = RigheOdbc::Lettura;

// The kind Qt's driver gives a column of this SQL type (a NUMERIC with a
// scale is an exact amount; without one, each value read is), how it is
// fetched, and false for kinds it reads in ways of its own.
bool tipoColonna(SQLSMALLINT tipoSql, SQLULEN dimensione, SQLSMALLINT scala, Risultato::Colonna &col,
                 Lettura &l)
{
    switch (tipoSql) {
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_BIGINT:
        col.tipo = Risultato::Tipo::Intero;
        l = Lettura::Intero;
        return true;
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
        // Read as text, all digits kept, as Qt does with high precision.
        col.tipo = Risultato::Tipo::Reale;
        l = Lettura::Testo;
        return true;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        col.tipo = scala > 0 && scala < 30 ? Risultato::Tipo::Decimale : Risultato::Tipo::Nullo;
        l = Lettura::Testo;
        return true;
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        col.tipo = Risultato::Tipo::Testo;
        col.lunghezza = dimensione > 0 && dimensione <= SQLULEN(INT_MAX) ? int(dimensione) : 0;
        l = Lettura::Testo;
        return true;
    case SQL_DATE:
    case SQL_TYPE_DATE:
        col.tipo = Risultato::Tipo::Data;
        l = Lettura::Data;
        return true;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP:
        col.tipo = Risultato::Tipo::DataOra;
        l = Lettura::DataOra;
        return true;
    default:
        return false;
    }
}

bool riuscito(SQLRETURN r)
{
    return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO;
}

} // namespace

void DiagnosticaOdbc(short tipo, void *h, QSqlError &errore, QString &statoSql)
{
    QString testo;
    int nativo = 0;
    statoSql.clear();
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR stato[6] = {};
        SQLINTEGER n = 0;
        SQLWCHAR messaggio[1024];
        SQLSMALLINT lunghezza = 0;
        const SQLRETURN r =
            SQLGetDiagRecW(tipo, h, i, stato, &n, messaggio, SQLSMALLINT(std::size(messaggio)), &lunghezza);
        if (r != SQL_SUCCESS && r != SQL_SUCCESS_WITH_INFO)
            break;
        if (i == 1) {
            statoSql = QString::fromUtf16(reinterpret_cast<const char16_t *>(stato), 5);
            nativo = int(n);
        }
        if (!testo.isEmpty())
            testo += u' ';
        testo += QString::fromUtf16(reinterpret_cast<const char16_t *>(messaggio),
                                    qMin<qsizetype>(lunghezza, qsizetype(std::size(messaggio)) - 1));
    }
    errore = QSqlError(QStringLiteral("QODBC: Unable to execute statement"), testo, QSqlError::StatementError,
                       nativo ? QString::number(nativo) : QString());
}

struct IstruzioniOdbc::Voce {
    SQLHSTMT st = SQL_NULL_HSTMT;
    QString conSegni;           // the form with "?" for its parameters
    std::vector<int> ordine;    // the literal each "?" stands for, in order
    bool preparata = false;     // conSegni is prepared on st
    bool provata = false;       // conSegni has run once
    bool soloLetterali = false; // conSegni was refused: literals written in
    bool descritta = false;
    bool adatta = true; // every column is of a kind read here
    std::vector<Risultato::Colonna> colonne;
    RigheOdbc::Forma forma;
    // Values bound to the parameters, kept until the statement has run.
    std::vector<QString> testi;
    std::vector<qlonglong> numeri;
    std::vector<SQLLEN> indicatori;

    ~Voce()
    {
        if (st)
            SQLFreeHandle(SQL_HANDLE_STMT, st);
    }
};

IstruzioniOdbc::IstruzioniOdbc(void *hdbc, int capienza) : m_hdbc(hdbc), m_voci(capienza), m_righe(hdbc) {}

IstruzioniOdbc::~IstruzioniOdbc()
{
    Svuota();
}

void IstruzioniOdbc::Svuota()
{
    Chiudi();
    m_voci.svuota();
}

void IstruzioniOdbc::Chiudi()
{
    if (m_aperta)
        SQLFreeStmt(m_aperta->st, SQL_CLOSE);
    m_aperta.reset();
}

const std::vector<Risultato::Colonna> &IstruzioniOdbc::Colonne() const
{
    return m_aperta->colonne;
}

IstruzioniOdbc::Esito IstruzioniOdbc::Esegui(const QString &sqlMotore, const JetSql::Forma &forma,
                                             bool transazione, QSqlError &errore, QString &statoSql)
{
    Chiudi();
    // Texts are bound untyped, so the server types them from where they
    // stand, as it types a quoted literal; whole numbers as int4 or int8, as
    // it types a number literal. Other numbers keep their literal in the text.
    // The kinds are part of the key, since the text casts the numbers.
    QString tipi;
    bool legabili = true;
    for (const QVariant &v : forma.valori) {
        if (v.typeId() == QMetaType::QString)
            tipi += u't';
        else if (v.typeId() == QMetaType::LongLong)
            tipi += v.toLongLong() >= INT_MIN && v.toLongLong() <= INT_MAX ? u'i' : u'l';
        else
            legabili = false;
    }
    const QString chiave = legabili ? sqlMotore + u'\x1f' + tipi : sqlMotore + QStringLiteral("\x1f-");
    std::shared_ptr<Voce> *trovata = m_voci.trova(chiave);
    std::shared_ptr<Voce> v = trovata ? *trovata : nullptr;
    if (!v) {
        v = std::make_shared<Voce>();
        if (!riuscito(SQLAllocHandle(SQL_HANDLE_STMT, SQLHDBC(m_hdbc), &v->st))) {
            DiagnosticaOdbc(SQL_HANDLE_DBC, SQLHDBC(m_hdbc), errore, statoSql);
            return Esito::Fallito;
        }
        const QString prefisso = JetSql::NomeParametro(0).chopped(3);
        const qsizetype lungo = prefisso.size() + 3;
        qsizetype da = 0;
        for (;;) {
            const qsizetype p = sqlMotore.indexOf(prefisso, da);
            bool ok = false;
            const int n = p < 0 ? -1 : QStringView(sqlMotore).mid(p + prefisso.size(), 3).toInt(&ok);
            if (p < 0 || !ok || n >= forma.valori.size()) {
                v->conSegni += QStringView(sqlMotore).mid(da, p < 0 ? -1 : p + 1 - da);
                if (p < 0)
                    break;
                da = p + 1;
                continue;
            }
            v->conSegni += QStringView(sqlMotore).mid(da, p - da);
            // The driver sends every value untyped: a whole number says its
            // type in the text, as its literal would.
            const QChar tipo = legabili ? tipi[n] : u't';
            v->conSegni += tipo == u'i'   ? QStringLiteral("?::int4")
                           : tipo == u'l' ? QStringLiteral("?::int8")
                                          : QStringLiteral("?");
            v->ordine.push_back(n);
            da = p + lungo;
        }
        v->soloLetterali = !legabili || v->ordine.empty();
        m_voci.inserisci(chiave, v);
    }

    // A result with a column read only through Qt is left to it, unrun here.
    if (v->descritta && !v->adatta)
        return Esito::NonAdatto;
    const bool parametri = !v->soloLetterali && (v->provata || !transazione);
    SQLRETURN r;
    if (parametri) {
        if (!v->preparata) {
            r = SQLPrepareW(v->st, reinterpret_cast<SQLWCHAR *>(const_cast<QChar *>(v->conSegni.constData())),
                            SQLINTEGER(v->conSegni.size()));
            if (!riuscito(r)) {
                DiagnosticaOdbc(SQL_HANDLE_STMT, v->st, errore, statoSql);
                return Esito::Fallito;
            }
            v->preparata = true;
        }
        const size_t n = v->ordine.size();
        v->testi.assign(n, QString());
        v->numeri.assign(n, 0);
        v->indicatori.assign(n, 0);
        for (size_t i = 0; i < n; ++i) {
            const QVariant &val = forma.valori[v->ordine[i]];
            const auto numero = SQLUSMALLINT(i + 1);
            if (val.typeId() == QMetaType::LongLong) {
                v->numeri[i] = val.toLongLong();
                r = SQLBindParameter(v->st, numero, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                     &v->numeri[i], 0, &v->indicatori[i]);
            } else {
                v->testi[i] = val.toString();
                v->indicatori[i] = SQLLEN(v->testi[i].size() * qsizetype(sizeof(SQLWCHAR)));
                r = SQLBindParameter(v->st, numero, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                     SQLULEN(qMax<qsizetype>(1, v->testi[i].size())), 0,
                                     const_cast<QChar *>(v->testi[i].constData()), v->indicatori[i],
                                     &v->indicatori[i]);
            }
            if (!riuscito(r)) {
                DiagnosticaOdbc(SQL_HANDLE_STMT, v->st, errore, statoSql);
                return Esito::Fallito;
            }
        }
        r = SQLExecute(v->st);
    } else {
        const QString testo = JetSql::RimettiLetterali(sqlMotore, forma);
        v->preparata = false;
        r = SQLExecDirectW(v->st, reinterpret_cast<SQLWCHAR *>(const_cast<QChar *>(testo.constData())),
                           SQLINTEGER(testo.size()));
    }
    if (!riuscito(r) && r != SQL_NO_DATA) {
        DiagnosticaOdbc(SQL_HANDLE_STMT, v->st, errore, statoSql);
        SQLFreeStmt(v->st, SQL_CLOSE);
        // A parameter the server cannot type where a literal would be (a
        // text compared with nothing that says its type): literals from now on.
        if (parametri && !v->provata && statoSql.startsWith(QLatin1String("42"))) {
            v->soloLetterali = true;
            return Esegui(sqlMotore, forma, transazione, errore, statoSql);
        }
        return Esito::Fallito;
    }
    if (parametri)
        v->provata = true;
    m_aperta = v;

    if (!v->descritta) {
        SQLSMALLINT n = 0;
        if (!riuscito(SQLNumResultCols(v->st, &n))) {
            DiagnosticaOdbc(SQL_HANDLE_STMT, v->st, errore, statoSql);
            Chiudi();
            return Esito::Fallito;
        }
        v->colonne.assign(size_t(n), Risultato::Colonna());
        v->forma.letture.assign(size_t(n), Lettura::Testo);
        v->forma.caratteri.assign(size_t(n), 0);
        for (SQLSMALLINT i = 0; i < n; ++i) {
            SQLWCHAR nome[256];
            SQLSMALLINT lunghezza = 0, tipoSql = 0, scala = 0, nullabile = 0;
            SQLULEN dimensione = 0;
            if (!riuscito(SQLDescribeColW(v->st, SQLUSMALLINT(i + 1), nome, SQLSMALLINT(std::size(nome)),
                                          &lunghezza, &tipoSql, &dimensione, &scala, &nullabile))) {
                DiagnosticaOdbc(SQL_HANDLE_STMT, v->st, errore, statoSql);
                Chiudi();
                return Esito::Fallito;
            }
            Risultato::Colonna &col = v->colonne[size_t(i)];
            col.nome = QString::fromUtf16(reinterpret_cast<const char16_t *>(nome),
                                          qMin<qsizetype>(lunghezza, qsizetype(std::size(nome)) - 1));
            if (!tipoColonna(tipoSql, dimensione, scala, col, v->forma.letture[size_t(i)]))
                v->adatta = false;
            v->forma.caratteri[size_t(i)] =
                RigheOdbc::CaratteriIniziali(v->forma.letture[size_t(i)], dimensione);
        }
        v->descritta = true;
    }
    if (!v->adatta) {
        Chiudi();
        return Esito::NonAdatto;
    }
    return Esito::Pronto;
}

bool IstruzioniOdbc::Leggi(Risultato &r, QSqlError &errore, QString &statoSql)
{
    Voce &v = *m_aperta;
    const bool letto = m_righe.Leggi(v.st, v.forma, r, errore, statoSql);
    Chiudi();
    return letto;
}
