// A SELECT prepared once and run for many cases with its literals bound.
#include "components/db/SelezionePronta.h"

#include "components/db/CursoreSqlite.h"
#include "components/db/DbConnessione.h"
#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/IstruzioniPronte.h"
#include "components/db/RecDat.h"

#include <sqlite3.h>

struct SelezionePronta::Stato {
    std::weak_ptr<DbMotore::Connessione> conn;
    std::shared_ptr<DbMotore::FormaNota> nota; // valid while the connection's forms stay
    int generazione = -1;
    std::vector<int> parametri;                // SQLite's number of each value, for `nota`
    std::shared_ptr<QHash<QString, int>> nomi; // the columns m_righe holds are those of these names
};

namespace
{

// A value as the engine's text writes it, for a server that gets its literals in the text.
QString letterale(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(v.toLongLong());
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 17);
    default:
        return u'\'' + v.toString().replace(u'\'', QLatin1String("''")) + u'\'';
    }
}

} // namespace

SelezionePronta::SelezionePronta(DbMotore *db, const QString &conn, const QString &sql)
    : m_db(db), m_conn(conn), m_forma(JetSql::FormaParametrica(sql)), m_valori(m_forma.valori),
      m_stato(std::make_unique<Stato>())
{
    if (!db)
        throw VbErrore(VbErrore::OggettoNonImpostato, QStringLiteral("Variabile oggetto non impostata."));
}

SelezionePronta::~SelezionePronta() = default;

QString SelezionePronta::Sql() const
{
    JetSql::Forma f = m_forma;
    f.letterali.clear();
    for (const QVariant &v : m_valori)
        f.letterali << letterale(v);
    return JetSql::RimettiLetterali(m_forma.testo, f);
}

void SelezionePronta::Chiudi()
{
    m_cur.reset();
    m_righe.svuotaRighe();
    m_pos = 0;
    m_eseguita = false;
}

void SelezionePronta::riprendiColonne()
{
    m_righe = Risultato(m_stato->nota->colonne);
    m_righe.condividiNomi(m_stato->nota->nomi);
    m_stato->nomi = m_stato->nota->nomi;
    m_indiciValidi = false;
}

void SelezionePronta::Esegui(const QVariantList &valori)
{
    Chiudi();
    if (valori.size() != m_forma.valori.size())
        throw VbErrore(ErroriDb::ArgomentoNonValido, QStringLiteral("Argomento non valido."));
    m_valori = valori;
    const int attese = m_db->m_atteseServer;
    try {
        esegui(valori);
        return;
    } catch (const VbErrore &) {
        // A server connection found dead is opened again and the SELECT run once more.
        const std::shared_ptr<DbMotore::Connessione> c = m_stato->conn.lock();
        if (!c || !m_db->riapertaPerRilettura(*c, attese))
            throw;
    }
    Chiudi();
    esegui(valori);
}

void SelezionePronta::esegui(const QVariantList &valori)
{
    Stato &s = *m_stato;
    std::shared_ptr<DbMotore::Connessione> condivisa = s.conn.lock();
    if (!condivisa) {
        // First run, or the connection was closed (and maybe opened again) since.
        DbMotore::Connessione &c = m_db->conn(m_conn);
        for (const auto &k : std::as_const(m_db->m_conn))
            if (k.get() == &c)
                condivisa = k;
        s.conn = condivisa;
        s.nota.reset();
    }
    DbMotore::Connessione &c = *condivisa;
    const DbMotore::Connessione::InLettura inLettura(c);
    c.righeToccate = 0;
    if (m_db->m_osservatoreSelect)
        m_db->m_osservatoreSelect(Sql());
    m_db->pronta(c);
    const bool sqlite = c.motore == DbMotore::Motore::SQLite;
    if (!s.nota || s.generazione != c.generazioneForme)
        m_db->aggiornaAllegati(c, m_forma.testo);
    if (sqlite)
        m_db->controllaSchema(c);
    if (!s.nota || s.generazione != c.generazioneForme) {
        s.nota = m_db->formaNota(c, m_forma.testo);
        s.generazione = c.generazioneForme;
        s.parametri.clear();
    }
    DbMotore::FormaNota &fn = *s.nota;
    JetSql::Forma f = m_forma;
    f.valori = valori;

    if (sqlite && c.cursoriAmmessi) {
        bool nuova = false;
        sqlite3_stmt *st = c.pronte->Prendi(fn.sqlUtf8, &nuova);
        struct Rendi {
            IstruzioniPronte *p;
            sqlite3_stmt *s;
            ~Rendi()
            {
                if (s)
                    p->Restituisci(s);
            }
        } rendi{c.pronte.get(), st};
        if (!fn.analizzata)
            m_db->analizzaForma(c, m_forma.testo, fn);
        const int n = sqlite3_column_count(st);
        // A cursor holds a read transaction open: only on the connection's own
        // database, whose journal lets others write meanwhile.
        if (fn.soloPrincipale && n > 0 && sqlite3_stmt_readonly(st)) {
            if (s.parametri.empty())
                for (int i = 0; i < valori.size(); ++i)
                    s.parametri.push_back(
                        sqlite3_bind_parameter_index(st, JetSql::NomeParametro(i).toUtf8().constData()));
            IstruzioniPronte::LegaParametri(st, valori, s.parametri);
            if (nuova || !fn.colonneNote)
                m_db->colonneSqlite(c, st, m_forma.testo, fn);
            if (s.nomi != fn.nomi)
                riprendiColonne();
            m_cur =
                std::make_unique<CursoreSqlite>(c.h, st, valori, c.pronte, &m_righe, c.cursori, fn.sqlUtf8);
            rendi.s = nullptr;
            m_eseguita = true;
            // The first row is stepped now, so that a failing SELECT fails here.
            m_cur->Avanza();
            return;
        }
    }
    // Rows read into memory at once: attached databases, servers, files without a write-ahead log.
    f.letterali.clear();
    if (!sqlite)
        for (const QVariant &v : valori)
            f.letterali << letterale(v);
    std::unique_ptr<Risultato> r =
        sqlite ? m_db->selezionaSqlite(c, f, fn, nullptr) : m_db->selezionaOdbc(c, f, fn);
    m_righe = std::move(*r);
    s.nomi.reset();
    m_indiciValidi = false;
    m_eseguita = true;
}

bool SelezionePronta::viva() const
{
    return m_cur && !m_cur->Completo() && m_cur->Istruzione();
}

bool SelezionePronta::FineFile() const
{
    if (!m_eseguita)
        return true;
    if (m_cur && !m_cur->Completo())
        return m_cur->Finito();
    return m_pos >= m_righe.numRighe();
}

bool SelezionePronta::FineDati() const
{
    return FineFile();
}

void SelezionePronta::MuoviSuccessivo()
{
    if (FineFile())
        throw VbErrore(VbErrore::NessunRecordCorrente, QStringLiteral("Nessun record corrente."));
    if (m_cur && !m_cur->Completo())
        m_cur->Avanza();
    ++m_pos;
}

void SelezionePronta::richiediCorrente() const
{
    if (FineFile())
        throw VbErrore(VbErrore::NessunRecordCorrente, QStringLiteral("Nessun record corrente."));
}

int SelezionePronta::Campo(const QString &nome)
{
    m_nomi.push_back(nome);
    m_indiciValidi = false;
    return int(m_nomi.size()) - 1;
}

int SelezionePronta::indice(int campo) const
{
    if (!m_indiciValidi) {
        m_indici.resize(m_nomi.size());
        for (size_t i = 0; i < m_nomi.size(); ++i)
            m_indici[i] = m_righe.indice(m_nomi[i]);
        m_indiciValidi = true;
    }
    return m_indici[size_t(campo)];
}

QVariant SelezionePronta::Valore(int campo, int tipo) const
{
    richiediCorrente();
    const int col = indice(campo);
    if (col < 0)
        return RecDat::ComeTipo(QVariant(), tipo, nullptr);
    const QVariant v = m_cur && !m_cur->Completo() ? m_cur->Valore(col) : m_righe.valore(m_pos, col);
    return RecDat::ComeTipo(v, tipo, &m_righe.colonna(col));
}

// The reads below answer the commonest cells straight from the statement, as
// the conversions of Risultato and RecDat::LeggiCampo would give them, and
// leave every other cell to Valore.

bool SelezionePronta::Nullo(int campo) const
{
    richiediCorrente();
    const int col = indice(campo);
    if (col < 0)
        return true;
    if (viva()) {
        const Risultato::Colonna &k = m_righe.colonna(col);
        switch (sqlite3_column_type(m_cur->Istruzione(), col)) {
        case SQLITE_NULL:
            if (!k.zeroSeNullo)
                return true;
            break;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return false;
        default:
            if (k.tipo == Risultato::Tipo::Testo || k.tipo == Risultato::Tipo::Nullo)
                return false;
        }
    }
    return Valore(campo).isNull();
}

QString SelezionePronta::Testo(int campo) const
{
    richiediCorrente();
    const int col = indice(campo);
    if (col < 0)
        return QString();
    if (viva()) {
        const Risultato::Colonna &k = m_righe.colonna(col);
        sqlite3_stmt *st = m_cur->Istruzione();
        switch (sqlite3_column_type(st, col)) {
        case SQLITE_NULL:
            if (!k.zeroSeNullo)
                return QString();
            break;
        case SQLITE_TEXT:
            if (k.tipo == Risultato::Tipo::Testo || k.tipo == Risultato::Tipo::Nullo)
                return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, col)),
                                         sqlite3_column_bytes(st, col));
            break;
        default:
            break;
        }
    }
    const QVariant v = Valore(campo);
    return v.isNull() ? QString() : v.toString();
}

bool SelezionePronta::Uguale(int campo, QLatin1StringView testo, bool senzaSpazi) const
{
    richiediCorrente();
    const int col = indice(campo);
    if (col >= 0 && viva()) {
        const Risultato::Colonna &k = m_righe.colonna(col);
        sqlite3_stmt *st = m_cur->Istruzione();
        const int tipo = sqlite3_column_type(st, col);
        if (tipo == SQLITE_NULL && !k.zeroSeNullo)
            return testo.isEmpty();
        if (tipo == SQLITE_TEXT && (k.tipo == Risultato::Tipo::Testo || k.tipo == Risultato::Tipo::Nullo)) {
            // A text of ASCII bytes alone compares as its bytes do; any other
            // (a letter such as U+017F folds to 's') goes the way of QString.
            const auto *p = reinterpret_cast<const unsigned char *>(sqlite3_column_text(st, col));
            int n = sqlite3_column_bytes(st, col);
            bool ascii = true;
            for (int i = 0; i < n && ascii; ++i)
                ascii = p[i] < 0x80;
            if (ascii) {
                auto spazio = [](unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
                if (senzaSpazi) {
                    while (n > 0 && spazio(p[n - 1]))
                        --n;
                    while (n > 0 && spazio(*p)) {
                        ++p;
                        --n;
                    }
                }
                if (n != testo.size())
                    return false;
                for (int i = 0; i < n; ++i) {
                    const unsigned char a = p[i], b = static_cast<unsigned char>(testo[i].toLatin1());
                    if (a != b && !(((a | 0x20) == (b | 0x20)) && (a | 0x20) >= 'a' && (a | 0x20) <= 'z'))
                        return false;
                }
                return true;
            }
        }
    }
    const QString t = Testo(campo);
    return (senzaSpazi ? t.trimmed() : t).compare(testo, Qt::CaseInsensitive) == 0;
}

Currency SelezionePronta::Importo(int campo) const
{
    richiediCorrente();
    const int col = indice(campo);
    if (col < 0)
        return Currency();
    if (viva()) {
        const Risultato::Tipo t = m_righe.colonna(col).tipo;
        sqlite3_stmt *st = m_cur->Istruzione();
        switch (sqlite3_column_type(st, col)) {
        case SQLITE_NULL:
            return Currency();
        case SQLITE_INTEGER:
            // Whole numbers of every kind but double, Boolean and text read as whole units.
            if (t != Risultato::Tipo::Reale && t != Risultato::Tipo::Booleano &&
                t != Risultato::Tipo::Testo) {
                const sqlite3_int64 n = sqlite3_column_int64(st, col);
                if (n > INT64_MAX / Currency::Scale || n < INT64_MIN / Currency::Scale)
                    Currency::overflow();
                return Currency::fromRaw(n * Currency::Scale);
            }
            break;
        case SQLITE_FLOAT: {
            Currency c;
            if (Currency::leggiDouble(sqlite3_column_double(st, col), c) != Currency::Lettura::Numero)
                Currency::overflow();
            return c;
        }
        default:
            break;
        }
    }
    return Currency::fromVariant(Valore(campo, 6));
}

double SelezionePronta::Reale(int campo, bool *ok) const
{
    richiediCorrente();
    *ok = true;
    const int col = indice(campo);
    if (col < 0)
        return 0.0;
    if (viva()) {
        const Risultato::Colonna &k = m_righe.colonna(col);
        sqlite3_stmt *st = m_cur->Istruzione();
        switch (sqlite3_column_type(st, col)) {
        case SQLITE_NULL:
            if (!k.zeroSeNullo)
                return 0.0;
            break;
        case SQLITE_FLOAT:
            if (k.tipo != Risultato::Tipo::Decimale)
                return sqlite3_column_double(st, col);
            break;
        case SQLITE_INTEGER:
            if (k.tipo == Risultato::Tipo::Intero || k.tipo == Risultato::Tipo::Nullo ||
                k.tipo == Risultato::Tipo::Reale)
                return double(sqlite3_column_int64(st, col));
            break;
        default:
            break;
        }
    }
    const QVariant v = Valore(campo);
    if (v.isNull())
        return 0.0;
    return v.toDouble(ok);
}
