// LetturaInOrdine: reads in an index's order written so that no statistics
// can turn them into a scan and a sort.
#include "components/db/LetturaInOrdine.h"

#include "components/db/JetLessico.h"

#include <algorithm>
#include <vector>

namespace LetturaInOrdine
{

namespace
{

using JetSql::TipoToken;
using JetSql::Token;

// The tokens of a text with their offsets; empty when they do not make the
// text again (nothing is then changed).
struct Testo {
    std::vector<Token> t;
    std::vector<qsizetype> da; // offset of each token, and the text's length last
};

Testo tokens(const QString &sql)
{
    Testo r;
    r.t = JetSql::Tokenizza(sql);
    qsizetype p = 0;
    for (const Token &x : r.t) {
        r.da.push_back(p);
        p += x.testo.size();
    }
    r.da.push_back(p);
    if (p != sql.size())
        r.t.clear();
    return r;
}

bool eNome(const Token &x)
{
    return x.tipo == TipoToken::Parola || x.tipo == TipoToken::Quotato ||
           (x.tipo == TipoToken::Stringa && x.testo.startsWith(QLatin1Char('"')));
}

QString nome(const Token &x)
{
    return (x.tipo == TipoToken::Parola ? x.testo : x.valore).toLower();
}

// The next token that is not a blank, from i on (the size when none).
size_t prossimo(const std::vector<Token> &t, size_t i)
{
    while (i < t.size() && t[i].tipo == TipoToken::Spazio)
        ++i;
    return i;
}

// The ')' that closes the '(' at i (the size when none).
size_t chiusa(const std::vector<Token> &t, size_t i)
{
    int livello = 0;
    for (; i < t.size(); ++i) {
        if (t[i].tipo == TipoToken::ParAperta)
            ++livello;
        else if (t[i].tipo == TipoToken::ParChiusa && --livello == 0)
            return i;
    }
    return t.size();
}

bool clausola(const Token &x)
{
    for (const char *k : {"where", "order", "group", "having", "limit", "union", "window", "join", "inner",
                          "left", "cross", "natural", "indexed", "not"})
        if (x.parola(k))
            return true;
    return false;
}

} // namespace

Lettura Analizza(const QString &sqlSqlite)
{
    Lettura l;
    const Testo s = tokens(sqlSqlite);
    const std::vector<Token> &t = s.t;
    size_t i = prossimo(t, 0);
    if (i >= t.size() || !t[i].parola("select"))
        return l;
    // The outer FROM.
    int livello = 0;
    for (++i; i < t.size(); ++i) {
        if (t[i].tipo == TipoToken::ParAperta)
            ++livello;
        else if (t[i].tipo == TipoToken::ParChiusa)
            --livello;
        else if (livello == 0 && (t[i].parola("distinct") || t[i].parola("from")))
            break;
    }
    if (i >= t.size() || !t[i].parola("from"))
        return l;
    i = prossimo(t, i + 1);
    if (i >= t.size() || !eNome(t[i]))
        return l;
    l.tabella = t[i].tipo == TipoToken::Parola ? t[i].testo : t[i].valore;
    QString alias = l.tabella.toLower();
    size_t fine = i + 1;
    i = prossimo(t, i + 1);
    if (i < t.size() && t[i].tipo == TipoToken::Punto)
        return l; // a table of another schema
    if (i < t.size() && t[i].parola("as"))
        i = prossimo(t, i + 1);
    if (i < t.size() && eNome(t[i]) && !clausola(t[i])) {
        alias = nome(t[i]);
        fine = i + 1;
        i = prossimo(t, i + 1);
    }
    l.dopoTabella = s.da[fine];
    // What follows the table: WHERE, ORDER BY, LIMIT and nothing else.
    auto colonna = [&](size_t &k) -> QString {
        // A column, bare or qualified by the table or its alias.
        if (!eNome(t[k]))
            return {};
        QString c = nome(t[k]);
        const size_t p = prossimo(t, k + 1);
        if (p < t.size() && t[p].tipo == TipoToken::Punto) {
            const size_t q = prossimo(t, p + 1);
            if (q >= t.size() || !eNome(t[q]) || (c != alias && c != l.tabella.toLower()))
                return {};
            c = nome(t[q]);
            k = q;
        }
        return c;
    };
    if (i < t.size() && t[i].parola("where")) {
        for (i = prossimo(t, i + 1); i < t.size(); i = prossimo(t, i + 1)) {
            if (t[i].parola("order") || t[i].parola("limit") || t[i].parola("group") ||
                t[i].parola("window") || t[i].parola("union"))
                break;
            if (t[i].tipo == TipoToken::ParAperta) {
                const size_t p = prossimo(t, i + 1);
                if (p < t.size() && t[p].parola("select"))
                    i = chiusa(t, i); // a sub-query: its columns are another table's
                continue;
            }
            const size_t p = prossimo(t, i + 1);
            if (eNome(t[i]) && !(p < t.size() && t[p].tipo == TipoToken::ParAperta)) {
                size_t k = i;
                const QString c = colonna(k);
                if (!c.isEmpty() && !l.condizioni.contains(c))
                    l.condizioni << c;
                i = k;
            }
        }
    }
    if (i >= t.size() || !t[i].parola("order"))
        return l;
    i = prossimo(t, i + 1);
    if (i >= t.size() || !t[i].parola("by"))
        return l;
    QList<bool> direzioni;
    for (i = prossimo(t, i + 1); i < t.size();) {
        size_t k = i;
        const QString c = colonna(k);
        if (c.isEmpty())
            return l;
        bool desc = false;
        size_t j = prossimo(t, k + 1);
        // After the column: its direction, where its Nulls go.
        for (; j < t.size() && t[j].tipo != TipoToken::Virgola && !t[j].parola("limit");
             j = prossimo(t, j + 1)) {
            if (t[j].parola("desc"))
                desc = true;
            else if (!(t[j].parola("asc") || t[j].parola("nulls") || t[j].parola("first") ||
                       t[j].parola("last")))
                return l;
        }
        l.ordine << c;
        direzioni << desc;
        if (j < t.size() && t[j].tipo == TipoToken::Virgola) {
            i = prossimo(t, j + 1);
            continue;
        }
        i = j;
        break;
    }
    if (i < t.size() && !t[i].parola("limit"))
        return l;
    l.valida = !l.ordine.isEmpty() && direzioni.count(direzioni.value(0)) == direzioni.size();
    return l;
}

QString IndiceScelto(const Lettura &lettura, const QList<Indice> &indici)
{
    if (!lettura.valida)
        return {};
    const Indice *scelto = nullptr;
    for (const Indice &x : indici)
        if (x.colonne.size() >= lettura.ordine.size() &&
            x.colonne.mid(0, lettura.ordine.size()) == lettura.ordine &&
            (!scelto || x.colonne.size() < scelto->colonne.size()))
            scelto = &x;
    if (!scelto)
        return {};
    for (const QString &c : lettura.condizioni) {
        if (scelto->colonne.contains(c))
            continue;
        for (const Indice &x : indici)
            if (!x.colonne.isEmpty() && x.colonne.first() == c)
                return {};
    }
    return scelto->nome;
}

QString ConIndice(const QString &sqlSqlite, const Lettura &lettura, const QList<Indice> &indici)
{
    const QString indice = IndiceScelto(lettura, indici);
    if (indice.isEmpty())
        return sqlSqlite;
    return sqlSqlite.left(lettura.dopoTabella) + QStringLiteral(" INDEXED BY \"") +
           QString(indice).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"') +
           sqlSqlite.mid(lettura.dopoTabella);
}

QString ConIndice(const QString &sqlSqlite, const QList<Indice> &indici)
{
    return ConIndice(sqlSqlite, Analizza(sqlSqlite), indici);
}

QString OrdineSenzaIndice(const QString &sqlSqlite, bool perRowid)
{
    const Testo s = tokens(sqlSqlite);
    const std::vector<Token> &t = s.t;
    // The FROM, WHERE and ORDER BY outside every parenthesis.
    size_t da = t.size(), dove = t.size(), ordine = t.size(), inizio = t.size();
    bool unaTabella = true;
    int livello = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].tipo == TipoToken::ParAperta)
            ++livello;
        else if (t[i].tipo == TipoToken::ParChiusa)
            --livello;
        else if (livello != 0)
            continue;
        else if (t[i].parola("from") && da == t.size())
            da = i;
        else if (t[i].parola("where") && da < t.size() && dove == t.size())
            dove = i;
        else if (da < t.size() && dove == t.size() &&
                 (t[i].tipo == TipoToken::Virgola || t[i].parola("join")))
            unaTabella = false;
        else if (t[i].parola("order")) {
            const size_t p = prossimo(t, i + 1);
            if (p < t.size() && t[p].parola("by")) {
                ordine = i;
                inizio = p + 1;
            }
        }
    }
    if (inizio >= t.size())
        return sqlSqlite;
    // One table and a WHERE: the rows it picks found first, by their row
    // ids (its columns' indexes answer it, as they answer a count), and
    // only they are read whole and sorted.
    const bool conRowid = perRowid && unaTabella && da < dove && dove < ordine;
    QString out = conRowid
                      ? sqlSqlite.left(s.da[dove]) + QStringLiteral("WHERE rowid IN (SELECT rowid ") +
                            sqlSqlite.mid(s.da[da], s.da[ordine] - s.da[da]).trimmed() +
                            QStringLiteral(") ") + sqlSqlite.mid(s.da[ordine], s.da[inizio] - s.da[ordine])
                      : sqlSqlite.left(s.da[inizio]);
    bool termine = true; // the next word begins a term
    livello = 0;
    for (size_t i = inizio; i < t.size(); ++i) {
        if (livello == 0 && (t[i].parola("limit") || t[i].parola("offset"))) {
            out += sqlSqlite.mid(s.da[i]);
            return out;
        }
        if (termine && t[i].tipo != TipoToken::Spazio) {
            out += QLatin1Char('+');
            termine = false;
        }
        if (t[i].tipo == TipoToken::ParAperta)
            ++livello;
        else if (t[i].tipo == TipoToken::ParChiusa)
            --livello;
        else if (livello == 0 && t[i].tipo == TipoToken::Virgola)
            termine = true;
        out += t[i].testo;
    }
    return out;
}

QString ConfrontiRiga(const QString &sqlPostgres)
{
    const Testo s = tokens(sqlPostgres);
    const std::vector<Token> &t = s.t;
    // A group "( ... , ... )" that is no call's arguments and no sub-query.
    auto riga = [&](size_t aperta) {
        const size_t fine = chiusa(t, aperta);
        if (fine >= t.size())
            return t.size();
        const size_t p = prossimo(t, aperta + 1);
        if (p < t.size() && t[p].parola("select"))
            return t.size();
        int livello = 0;
        bool virgola = false;
        for (size_t k = aperta + 1; k < fine; ++k) {
            if (t[k].tipo == TipoToken::ParAperta)
                ++livello;
            else if (t[k].tipo == TipoToken::ParChiusa)
                --livello;
            else if (livello == 0 && t[k].tipo == TipoToken::Virgola)
                virgola = true;
        }
        return virgola ? fine : t.size();
    };
    QString out;
    qsizetype copiato = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].tipo != TipoToken::ParAperta)
            continue;
        // Not a call: no name right before the group, unless a keyword.
        size_t prima = i;
        while (prima > 0 && t[prima - 1].tipo == TipoToken::Spazio)
            --prima;
        if (prima > 0 && t[prima - 1].tipo == TipoToken::Parola) {
            bool chiave = false;
            for (const char *k : {"and", "or", "not", "where", "on", "when", "then", "else"})
                chiave = chiave || t[prima - 1].parola(k);
            if (!chiave)
                continue;
        }
        const size_t a = riga(i);
        if (a >= t.size())
            continue;
        const size_t op = prossimo(t, a + 1);
        if (op >= t.size() || !(t[op].op(">") || t[op].op("<")))
            continue;
        const size_t b0 = prossimo(t, op + 1);
        if (b0 >= t.size() || t[b0].tipo != TipoToken::ParAperta)
            continue;
        const size_t b = riga(b0);
        if (b >= t.size())
            continue;
        const QString sinistra = sqlPostgres.mid(s.da[i], s.da[a + 1] - s.da[i]);
        const QString destra = sqlPostgres.mid(s.da[b0], s.da[b + 1] - s.da[b0]);
        out += sqlPostgres.mid(copiato, s.da[i] - copiato);
        out += QLatin1Char('(') + sinistra + QLatin1Char(' ') + t[op].testo + QStringLiteral("= ") + destra +
               QStringLiteral(" AND ") + sinistra + QStringLiteral(" <> ") + destra + QLatin1Char(')');
        copiato = s.da[b + 1];
        i = b;
    }
    if (copiato == 0)
        return sqlPostgres;
    return out + sqlPostgres.mid(copiato);
}

// Neither engine drops the ORDER BY of a sub-query read by a query that
// numbers its rows and has no order of its own: the numbers follow it.
QString OgniRighe(const QString &sqlMotore, int passo)
{
    return QStringLiteral("SELECT * FROM (SELECT q_.*, ROW_NUMBER() OVER () AS numero_riga_ FROM (") +
           sqlMotore + QStringLiteral(") q_) r_ WHERE numero_riga_ % ") +
           QString::number(std::max(passo, 1)) + QStringLiteral(" = 0");
}

} // namespace LetturaInOrdine
