// Rows of a SELECT held in memory, and the conversions of their values.
#include "components/db/Risultato.h"
#include "components/util/Currency.h"
#include "components/util/Decimale.h"

#include <QRegularExpression>
#include <cmath>
#include <sqlite3.h>

namespace
{

// Fast reading of the ISO dates SQLite holds as text.
bool dataIso(const unsigned char *p, int len, QDate &d)
{
    if (len < 10 || p[4] != '-' || p[7] != '-')
        return false;
    auto cifra = [&](int i) { return p[i] >= '0' && p[i] <= '9'; };
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!cifra(i))
            return false;
    const int a = (p[0] - '0') * 1000 + (p[1] - '0') * 100 + (p[2] - '0') * 10 + (p[3] - '0');
    const int m = (p[5] - '0') * 10 + (p[6] - '0');
    const int g = (p[8] - '0') * 10 + (p[9] - '0');
    d = QDate(a, m, g);
    return d.isValid();
}

// "dd/mm/yyyy", "d/m/yy", ISO "yyyy-mm-dd" (with an optional time).
QDate dataDaTesto(const QString &s)
{
    const QString t = s.trimmed();
    QDate d = QDate::fromString(t.left(10), Qt::ISODate);
    if (d.isValid())
        return d;
    static const QRegularExpression re(QStringLiteral(R"(^(\d{1,2})[/.-](\d{1,2})[/.-](\d{2,4})$)"));
    const auto m = re.match(t);
    if (!m.hasMatch())
        return QDate();
    int a = m.captured(3).toInt();
    if (m.captured(3).size() <= 2)
        a += a < 30 ? 2000 : 1900;
    return QDate(a, m.captured(2).toInt(), m.captured(1).toInt());
}

} // namespace

Risultato::Tipo Risultato::tipoDichiarato(const QString &tipoSql, int *lunghezza)
{
    const QString t = tipoSql.trimmed().toLower();
    if (lunghezza) {
        static const QRegularExpression re(QStringLiteral(R"(\((\d+))"));
        const auto m = re.match(t);
        *lunghezza = m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    if (t.isEmpty())
        return Tipo::Nullo; // unknown: the value decides
    if (t.startsWith(QLatin1String("numeric")) || t.startsWith(QLatin1String("decimal")) ||
        t.startsWith(QLatin1String("money")) || t.startsWith(QLatin1String("currency")))
        return Tipo::Decimale;
    if (t.contains(QLatin1String("int")))
        return Tipo::Intero;
    if (t.startsWith(QLatin1String("real")) || t.startsWith(QLatin1String("double")) ||
        t.startsWith(QLatin1String("float")))
        return Tipo::Reale;
    if (t == QLatin1String("date"))
        return Tipo::Data;
    if (t.startsWith(QLatin1String("datetime")) || t.startsWith(QLatin1String("timestamp")))
        return Tipo::DataOra;
    if (t.startsWith(QLatin1String("bool")) || t == QLatin1String("bit"))
        return Tipo::Booleano;
    return Tipo::Testo;
}

void Risultato::aggiungiIntero(std::int64_t v)
{
    Cella c;
    c.i = v;
    c.tipo = Tipo::Intero;
    push(c);
}

void Risultato::aggiungiReale(double v)
{
    Cella c;
    c.d = v;
    c.tipo = Tipo::Reale;
    push(c);
}

void Risultato::aggiungiDecimale(std::int64_t raw)
{
    Cella c;
    c.i = raw;
    c.tipo = Tipo::Decimale;
    push(c);
}

void Risultato::aggiungiTesto(const char *utf8, int len)
{
    Cella c;
    c.s.off = std::uint32_t(m_testi.size());
    c.s.len = std::uint32_t(len);
    c.tipo = Tipo::Testo;
    m_testi.append(utf8, len);
    push(c);
}

void Risultato::aggiungiTesto(const QString &s)
{
    const QByteArray b = s.toUtf8();
    aggiungiTesto(b.constData(), int(b.size()));
}

void Risultato::aggiungiTestoUtf16(const char16_t *p, qsizetype n)
{
    // Written straight into the buffer: at most three bytes a code unit
    // outside the surrogates. A surrogate (a character beyond the first
    // plane, or half of one) goes through QString's own conversion.
    const qsizetype inizio = m_testi.size();
    m_testi.resize(inizio + 3 * n);
    auto *out = reinterpret_cast<unsigned char *>(m_testi.data()) + inizio;
    const unsigned char *const primo = out;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i];
        if (u < 0x80) {
            *out++ = static_cast<unsigned char>(u);
        } else if (u < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | (u >> 6));
            *out++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            m_testi.resize(inizio);
            return aggiungiTesto(QString(reinterpret_cast<const QChar *>(p), n));
        } else {
            *out++ = static_cast<unsigned char>(0xE0 | (u >> 12));
            *out++ = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
        }
    }
    const auto len = qsizetype(out - primo);
    m_testi.resize(inizio + len);
    Cella c;
    c.s.off = std::uint32_t(inizio);
    c.s.len = std::uint32_t(len);
    c.tipo = Tipo::Testo;
    push(c);
}

void Risultato::aggiungiData(const QDate &d)
{
    if (!d.isValid())
        return aggiungiNullo();
    Cella c;
    c.i = d.toJulianDay();
    c.tipo = Tipo::Data;
    push(c);
}

void Risultato::aggiungiDataOra(const QDateTime &d)
{
    if (!d.isValid())
        return aggiungiNullo();
    Cella c;
    c.i = d.toMSecsSinceEpoch();
    c.tipo = Tipo::DataOra;
    push(c);
}

void Risultato::aggiungiBooleano(bool b)
{
    Cella c;
    c.i = b ? 1 : 0;
    c.tipo = Tipo::Booleano;
    push(c);
}

void Risultato::aggiungiSqlite(sqlite3_stmt *st, int i, Tipo t)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        return aggiungiNullo();
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(st, i);
        if (t == Tipo::Decimale && v <= INT64_MAX / Currency::Scale && v >= INT64_MIN / Currency::Scale)
            return aggiungiDecimale(v * Currency::Scale);
        if (t == Tipo::Reale)
            return aggiungiReale(double(v));
        if (t == Tipo::Booleano)
            return aggiungiBooleano(v != 0);
        if (t == Tipo::Testo)
            return aggiungiTesto(QString::number(v));
        return aggiungiIntero(v);
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_column_double(st, i);
        Currency c;
        if (t == Tipo::Decimale && Currency::leggiValore(v, c) == Currency::Lettura::Numero)
            return aggiungiDecimale(c.raw());
        return aggiungiReale(v);
    }
    default: {
        const unsigned char *p = sqlite3_column_text(st, i);
        const int len = sqlite3_column_bytes(st, i);
        QDate d;
        if (t == Tipo::Testo || t == Tipo::Nullo)
            return aggiungiTesto(reinterpret_cast<const char *>(p), len);
        if (t == Tipo::Data && dataIso(p, len, d))
            return aggiungiData(d);
        const QString s = QString::fromUtf8(reinterpret_cast<const char *>(p), len);
        QVariant conv;
        if (convertiValore(s, t, conv) == Conversione::Fatta)
            return aggiungiValore(conv, t);
        return aggiungiTesto(s);
    }
    }
}

void Risultato::svuotaRighe()
{
    m_celle.clear();
    m_testi.resize(0);
    m_righeSenzaColonne = 0;
}

void Risultato::aggiungiValore(const QVariant &v, Tipo tipoColonna)
{
    if (!v.isValid() || v.isNull())
        return aggiungiNullo();
    QVariant conv;
    if (tipoColonna != Tipo::Nullo && convertiValore(v, tipoColonna, conv) == Conversione::Fatta) {
        switch (tipoColonna) {
        case Tipo::Intero:
            return aggiungiIntero(conv.toLongLong());
        case Tipo::Reale:
            return aggiungiReale(conv.toDouble());
        case Tipo::Decimale:
            return aggiungiDecimale(Currency::fromVariant(conv).raw());
        case Tipo::Data:
            return aggiungiData(conv.toDate());
        case Tipo::DataOra:
            return aggiungiDataOra(conv.toDateTime());
        case Tipo::Booleano:
            return aggiungiBooleano(conv.toBool());
        default:
            return aggiungiTesto(conv.toString());
        }
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return aggiungiIntero(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return aggiungiReale(v.toDouble());
    case QMetaType::Bool:
        return aggiungiBooleano(v.toBool());
    case QMetaType::QDate:
        return aggiungiData(v.toDate());
    case QMetaType::QDateTime:
        return aggiungiDataOra(v.toDateTime());
    default:
        if (v.metaType() == QMetaType::fromType<Currency>())
            return aggiungiDecimale(v.value<Currency>().raw());
        return aggiungiTesto(v.toString());
    }
}

Risultato::Conversione Risultato::intero(const QVariant &v, qlonglong &out)
{
    out = 0;
    __int128 n = 0;
    if (v.typeId() == QMetaType::Bool) {
        out = v.toBool() ? -1 : 0;
        return Conversione::Fatta;
    }
    if (InteroTenuto(v, n)) {
        if (n > INT64_MAX)
            return Conversione::FuoriIntervallo;
        out = qlonglong(n);
        return Conversione::Fatta;
    }
    if (v.metaType() == QMetaType::fromType<Currency>()) {
        out = v.value<Currency>().unitaArrotondate();
        return Conversione::Fatta;
    }
    // Doubles as the decimal their 15 digits show, as amounts read them.
    const bool reale = v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
    if (reale && !std::isfinite(v.toDouble()))
        return Conversione::FuoriIntervallo;
    switch (LeggiUnita(reale ? QString::number(v.toDouble(), 'g', 15) : v.toString(), 0, n)) {
    case Currency::Lettura::NonNumero:
        return Conversione::Rifiutata;
    case Currency::Lettura::FuoriIntervallo:
        return Conversione::FuoriIntervallo;
    case Currency::Lettura::Numero:
        break;
    }
    if (n > INT64_MAX || n < INT64_MIN)
        return Conversione::FuoriIntervallo;
    out = qlonglong(n);
    return Conversione::Fatta;
}

bool Risultato::converti(const QVariant &v, Tipo tipo, QVariant &out)
{
    switch (convertiValore(v, tipo, out)) {
    case Conversione::Fatta:
        return true;
    case Conversione::Rifiutata:
        return false;
    case Conversione::FuoriIntervallo:
        break;
    }
    Currency::overflow();
}

Risultato::Conversione Risultato::convertiValore(const QVariant &v, Tipo tipo, QVariant &out)
{
    if (!v.isValid() || v.isNull()) {
        out = QVariant();
        return Conversione::Fatta;
    }
    const bool testo = v.typeId() == QMetaType::QString;
    if (testo && tipo != Tipo::Testo && v.toString().trimmed().isEmpty()) {
        out = QVariant(); // an empty cell of a number or date column stores Null
        return Conversione::Fatta;
    }
    switch (tipo) {
    case Tipo::Intero: {
        qlonglong n = 0;
        const Conversione c = intero(v, n);
        // Something held as another kind (a date...) that is no number reads 0.
        if (c == Conversione::FuoriIntervallo || (c == Conversione::Rifiutata && testo))
            return c;
        out = n;
        return Conversione::Fatta;
    }
    case Tipo::Reale: {
        bool ok = true;
        const double d =
            testo ? QString(v.toString().trimmed()).replace(u',', u'.').toDouble(&ok) : v.toDouble(&ok);
        out = d;
        return ok ? Conversione::Fatta : Conversione::Rifiutata;
    }
    case Tipo::Decimale: {
        Currency c;
        const Currency::Lettura l = testo ? Currency::leggi(v.toString(), c) : Currency::leggiValore(v, c);
        if (l == Currency::Lettura::FuoriIntervallo)
            return Conversione::FuoriIntervallo;
        if (l == Currency::Lettura::NonNumero && testo)
            return Conversione::Rifiutata;
        out = c.toShortString();
        return Conversione::Fatta;
    }
    case Tipo::Data:
    case Tipo::DataOra: {
        if (v.typeId() == QMetaType::QDate) {
            out = tipo == Tipo::Data ? v : QVariant(v.toDate().startOfDay());
            return Conversione::Fatta;
        }
        if (v.typeId() == QMetaType::QDateTime) {
            out = tipo == Tipo::Data ? QVariant(v.toDateTime().date()) : v;
            return Conversione::Fatta;
        }
        const QString s = v.toString().trimmed();
        if (tipo == Tipo::DataOra && s.size() > 10) {
            QDateTime dt = QDateTime::fromString(s, Qt::ISODate);
            if (!dt.isValid())
                dt = QDateTime::fromString(s, QStringLiteral("dd/MM/yyyy hh:mm:ss"));
            out = dt;
            return dt.isValid() ? Conversione::Fatta : Conversione::Rifiutata;
        }
        const QDate d = dataDaTesto(s);
        out = tipo == Tipo::Data ? QVariant(d) : QVariant(d.startOfDay());
        return d.isValid() ? Conversione::Fatta : Conversione::Rifiutata;
    }
    case Tipo::Booleano: {
        if (testo) {
            const QString s = v.toString().trimmed().toLower();
            out = !(s == QLatin1String("0") || s == QLatin1String("false") || s == QLatin1String("n") ||
                    s == QLatin1String("falso"));
            return Conversione::Fatta;
        }
        out = v.toBool();
        return Conversione::Fatta;
    }
    case Tipo::Testo:
        if (v.typeId() == QMetaType::QDate) {
            out = v.toDate().toString(Qt::ISODate);
            return Conversione::Fatta;
        }
        out = v.toString();
        return Conversione::Fatta;
    case Tipo::Nullo:
        out = v;
        return Conversione::Fatta;
    }
    return Conversione::Rifiutata;
}

QVariant Risultato::valore(int riga, int col) const
{
    const Cella &c = cella(riga, col);
    switch (c.tipo) {
    case Tipo::Nullo:
        return QVariant();
    case Tipo::Intero:
        if (c.i >= INT32_MIN && c.i <= INT32_MAX)
            return QVariant(int(c.i));
        return QVariant(qlonglong(c.i));
    case Tipo::Reale:
        return QVariant(c.d);
    case Tipo::Decimale:
        // Amounts travel as Currency, as DAO handed them back typed: read as
        // text they would be misparsed by the Italian number rules ("12.345").
        return QVariant::fromValue(Currency::fromRaw(c.i));
    case Tipo::Testo:
        return QVariant(QString::fromUtf8(m_testi.constData() + c.s.off, qsizetype(c.s.len)));
    case Tipo::Data:
        return QVariant(QDate::fromJulianDay(c.i));
    case Tipo::DataOra:
        return QVariant(QDateTime::fromMSecsSinceEpoch(c.i));
    case Tipo::Booleano:
        return QVariant(c.i != 0);
    }
    return QVariant();
}

void Risultato::rinominaColonne()
{
    m_cacheNomi.reset();
    for (NomeRecente &r : m_recenti)
        r = NomeRecente();
    m_numRecenti = m_prossimoRecente = 0;
}

int Risultato::indice(const QString &nome) const
{
    const QChar *testo = nome.constData();
    const qsizetype lung = nome.size();
    for (int k = 0; k < m_numRecenti; ++k) {
        const NomeRecente &r = m_recenti[size_t(k)];
        if (r.nome.constData() == testo && r.nome.size() == lung && r.nome == nome)
            return r.indice;
    }
    if (!m_cacheNomi)
        m_cacheNomi = std::make_shared<QHash<QString, int>>();
    auto it = m_cacheNomi->constFind(nome);
    int i;
    if (it != m_cacheNomi->constEnd()) {
        i = *it;
    } else {
        i = cercaIndice(nome);
        m_cacheNomi->insert(nome, i);
    }
    m_recenti[size_t(m_prossimoRecente)] = NomeRecente{nome, i};
    m_prossimoRecente = (m_prossimoRecente + 1) % int(m_recenti.size());
    m_numRecenti = std::max(m_numRecenti, m_prossimoRecente == 0 ? int(m_recenti.size()) : m_prossimoRecente);
    return i;
}

int Risultato::cercaIndice(const QString &nomeRichiesto) const
{
    const QString nome = nomeRichiesto.trimmed();
    const int punto = int(nome.lastIndexOf(u'.'));
    const int n = numColonne();
    if (punto < 0) {
        for (int i = 0; i < n; ++i)
            if (m_colonne[size_t(i)].nome.compare(nome, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    const QString qual = nome.left(punto);
    const QString campo = nome.mid(punto + 1);
    // "Alias.Field" as the SELECT wrote it, then by the base table's name.
    for (int i = 0; i < n; ++i) {
        const Colonna &c = m_colonne[size_t(i)];
        if (c.qualifica.compare(qual, Qt::CaseInsensitive) == 0 &&
            c.nome.compare(campo, Qt::CaseInsensitive) == 0)
            return i;
    }
    for (int i = 0; i < n; ++i) {
        const Colonna &c = m_colonne[size_t(i)];
        if (c.tabella.compare(qual, Qt::CaseInsensitive) == 0 &&
            c.nome.compare(campo, Qt::CaseInsensitive) == 0)
            return i;
    }
    // A column the SELECT names without a table (an AS name, or an engine that
    // does not say where it comes from) answers for any qualifier.
    for (int i = 0; i < n; ++i) {
        const Colonna &c = m_colonne[size_t(i)];
        if (c.qualifica.isEmpty() && c.tabella.isEmpty() && c.nome.compare(campo, Qt::CaseInsensitive) == 0)
            return i;
    }
    // The whole text may be the column's own name (an alias such as "T.x").
    for (int i = 0; i < n; ++i)
        if (m_colonne[size_t(i)].nome.compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariantList Risultato::riga(int r) const
{
    QVariantList out;
    out.reserve(numColonne());
    for (int c = 0; c < numColonne(); ++c)
        out << valore(r, c);
    return out;
}

void Risultato::sostituisciRiga(int r, const QVariantList &valori)
{
    // Rebuilt at the end and moved into place: the old texts stay in the buffer.
    const size_t n = m_colonne.size();
    for (size_t c = 0; c < n; ++c)
        aggiungiValore(c < size_t(valori.size()) ? valori[int(c)] : QVariant(), m_colonne[c].tipo);
    std::copy(m_celle.end() - long(n), m_celle.end(), m_celle.begin() + long(size_t(r) * n));
    m_celle.resize(m_celle.size() - n);
}

void Risultato::eliminaRiga(int r)
{
    const size_t n = m_colonne.size();
    m_celle.erase(m_celle.begin() + long(size_t(r) * n), m_celle.begin() + long(size_t(r + 1) * n));
}

void Risultato::aggiungiRiga(const QVariantList &valori)
{
    for (size_t c = 0; c < m_colonne.size(); ++c)
        aggiungiValore(c < size_t(valori.size()) ? valori[int(c)] : QVariant(), m_colonne[c].tipo);
}
