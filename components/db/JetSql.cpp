// Translation of Jet SQL into the SQLite and PostgreSQL dialects.
#include "components/db/JetSql.h"
#include "components/db/JetLessico.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>

namespace JetSql {

namespace {

// A piece of the translated text, with what the concatenation and LIKE
// rewrites need to know about where an operand ends.
struct Unita {
    enum Tipo { Spazio, Confine, Operando, Concat, Like, Not } tipo;
    QString testo;
    QString letterale;  // raw text of a string literal operand
    bool eLetterale = false;
    Unita(Tipo t, const QString &s) : tipo(t), testo(s) {}
};

const QSet<QString> &paroleConfine()
{
    static const QSet<QString> s = {
        "select", "from", "where", "and", "or", "on", "as", "is", "in", "between", "then", "else",
        "when", "end", "asc", "desc", "having", "join", "left", "right", "inner", "outer", "group",
        "order", "by", "set", "values", "into", "union", "distinct", "distinctrow", "top", "case",
        "update", "delete", "insert", "escape", "all", "exists", "null"};
    return s;
}

QString letteraleSql(const QString &s) { return u'\'' + QString(s).replace(u'\'', QLatin1String("''")) + u'\''; }

QString identificatore(const QString &nome, Dialetto d) { return NomeQuotato(nome, d); }

QString dataLetterale(const QString &jet, Dialetto d)
{
    static const QRegularExpression reUsa(
        QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{2,4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    static const QRegularExpression reIso(
        QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    int a = 0, m = 0, g = 0, hh = -1, mi = 0, ss = 0;
    auto mu = reUsa.match(jet);
    auto mi2 = reIso.match(jet);
    if (mu.hasMatch()) {
        m = mu.captured(1).toInt();
        g = mu.captured(2).toInt();
        a = mu.captured(3).toInt();
        if (a < 100)
            a += a < 30 ? 2000 : 1900;
        if (!mu.captured(4).isEmpty()) {
            hh = mu.captured(4).toInt();
            mi = mu.captured(5).toInt();
            ss = mu.captured(6).toInt();
        }
    } else if (mi2.hasMatch()) {
        a = mi2.captured(1).toInt();
        m = mi2.captured(2).toInt();
        g = mi2.captured(3).toInt();
        if (!mi2.captured(4).isEmpty()) {
            hh = mi2.captured(4).toInt();
            mi = mi2.captured(5).toInt();
            ss = mi2.captured(6).toInt();
        }
    } else {
        return letteraleSql(jet);
    }
    const QDate data(a, m, g);
    QString testo = data.isValid() ? data.toString(Qt::ISODate) : jet;
    if (hh >= 0)
        testo += QStringLiteral(" %1:%2:%3").arg(hh, 2, 10, QChar(u'0')).arg(mi, 2, 10, QChar(u'0')).arg(ss, 2, 10, QChar(u'0'));
    if (d == Dialetto::PostgreSQL)
        return (hh >= 0 ? QStringLiteral("TIMESTAMP ") : QStringLiteral("DATE ")) + letteraleSql(testo);
    return letteraleSql(testo);
}

class Traduttore {
public:
    Traduttore(const std::vector<Token> &t, Dialetto d, const Opzioni &o) : tok(t), dia(d), opz(o) {}

    QString traduci()
    {
        size_t i = 0;
        return sequenza(i, false);
    }

private:
    const std::vector<Token> &tok;
    Dialetto dia;
    const Opzioni &opz;

    bool pg() const { return dia == Dialetto::PostgreSQL; }

    // Translates tokens from i up to the matching ')' (when dentroParentesi) or the end.
    QString sequenza(size_t &i, bool dentroParentesi)
    {
        std::vector<Unita> u;
        while (i < tok.size()) {
            const Token &t = tok[i];
            if (t.tipo == TipoToken::ParChiusa) {
                if (dentroParentesi)
                    break;
                u.push_back({Unita::Operando, t.testo});
                ++i;
                continue;
            }
            switch (t.tipo) {
            case TipoToken::Spazio:
                u.push_back({Unita::Spazio, t.testo});
                ++i;
                break;
            case TipoToken::ParAperta: {
                ++i;
                QString dentro = sequenza(i, true);
                if (i < tok.size())
                    ++i;  // ')'
                u.push_back({Unita::Operando, u'(' + dentro + u')'});
                break;
            }
            case TipoToken::Parola: {
                size_t j = i + 1;
                while (j < tok.size() && tok[j].tipo == TipoToken::Spazio)
                    ++j;
                const QString low = t.testo.toLower();
                const bool dopoPunto = !u.empty() && u.back().tipo == Unita::Operando && u.back().testo.endsWith(u'.');
                const bool dopoInto = ultimaParola(u) == QLatin1String("into");
                if (j < tok.size() && tok[j].tipo == TipoToken::ParAperta && !paroleConfine().contains(low) &&
                    !dopoPunto && !dopoInto && !t.testo[0].isDigit()) {
                    i = j + 1;
                    QStringList argomenti = argomentiFunzione(i);
                    u.push_back({Unita::Operando, funzione(t.testo, argomenti)});
                    break;
                }
                ++i;
                if (low == QLatin1String("like")) {
                    u.push_back({Unita::Like, t.testo});
                } else if (low == QLatin1String("not")) {
                    u.push_back({Unita::Not, t.testo});
                } else if (low == QLatin1String("true") && !dopoPunto) {
                    u.push_back({Unita::Operando, pg() ? QStringLiteral("TRUE") : QStringLiteral("1")});
                } else if (low == QLatin1String("false") && !dopoPunto) {
                    u.push_back({Unita::Operando, pg() ? QStringLiteral("FALSE") : QStringLiteral("0")});
                } else if (paroleConfine().contains(low)) {
                    u.push_back({Unita::Confine, t.testo});
                } else if (t.testo[0].isDigit()) {
                    attacca(u, identificatore(t.testo, dia));
                } else {
                    attacca(u, t.testo);
                }
                break;
            }
            case TipoToken::Quotato:
                ++i;
                attacca(u, identificatore(t.valore, dia));
                break;
            case TipoToken::Allegato: {
                ++i;
                QString schema = opz.schemaAllegato ? opz.schemaAllegato(t.valore) : QString();
                if (schema.isEmpty())
                    schema = QStringLiteral("main");
                attacca(u, schema);
                break;
            }
            case TipoToken::Punto:
                ++i;
                attacca(u, QStringLiteral("."));
                break;
            case TipoToken::Numero:
                ++i;
                attacca(u, t.testo);
                break;
            case TipoToken::Stringa: {
                ++i;
                Unita x(Unita::Operando, letteraleSql(t.valore));
                x.letterale = t.valore;
                x.eLetterale = true;
                u.push_back(x);
                break;
            }
            case TipoToken::Data:
                ++i;
                u.push_back({Unita::Operando, dataLetterale(t.valore, dia)});
                break;
            case TipoToken::Virgola:
                ++i;
                u.push_back({Unita::Confine, t.testo});
                break;
            case TipoToken::Operatore:
                ++i;
                if (t.testo == QLatin1String("&"))
                    u.push_back({Unita::Concat, t.testo});
                else if (t.testo == QLatin1String("+") || t.testo == QLatin1String("-") ||
                         t.testo == QLatin1String("*") || t.testo == QLatin1String("/"))
                    u.push_back({Unita::Operando, t.testo});
                else
                    u.push_back({Unita::Confine, t.testo});
                break;
            case TipoToken::ParChiusa:
                break;
            }
        }
        concatenazioni(u);
        like(u);
        QString out;
        for (const Unita &x : u)
            out += x.testo;
        return out;
    }

    static QString ultimaParola(const std::vector<Unita> &u)
    {
        for (auto it = u.rbegin(); it != u.rend(); ++it)
            if (it->tipo != Unita::Spazio)
                return it->tipo == Unita::Confine ? it->testo.toLower() : QString();
        return QString();
    }

    // "T" "." "Campo" stay one operand.
    static void attacca(std::vector<Unita> &u, const QString &testo)
    {
        if (!u.empty() && u.back().tipo == Unita::Operando && !u.back().eLetterale &&
            (u.back().testo.endsWith(u'.') || testo == QLatin1String("."))) {
            u.back().testo += testo;
            return;
        }
        u.push_back({Unita::Operando, testo});
    }

    QStringList argomentiFunzione(size_t &i)
    {
        // The arguments are the parenthesised sequence split at its own commas.
        QStringList args;
        size_t inizio = i;
        int prof = 0;
        size_t j = i;
        std::vector<std::pair<size_t, size_t>> tratti;
        for (; j < tok.size(); ++j) {
            if (tok[j].tipo == TipoToken::ParAperta)
                ++prof;
            else if (tok[j].tipo == TipoToken::ParChiusa) {
                if (prof == 0)
                    break;
                --prof;
            } else if (tok[j].tipo == TipoToken::Virgola && prof == 0) {
                tratti.push_back({inizio, j});
                inizio = j + 1;
            }
        }
        tratti.push_back({inizio, j});
        for (auto [a, b] : tratti) {
            std::vector<Token> parte(tok.begin() + long(a), tok.begin() + long(b));
            Traduttore sotto(parte, dia, opz);
            const QString s = sotto.traduci().trimmed();
            if (!(s.isEmpty() && tratti.size() == 1))
                args << s;
        }
        i = j < tok.size() ? j + 1 : j;
        return args;
    }

    QString testoCast(const QString &x) const { return pg() ? QStringLiteral("CAST(%1 AS TEXT)").arg(x) : x; }

    QString funzione(const QString &nome, const QStringList &a)
    {
        const QString f = nome.toLower();
        const QString lista = a.join(QStringLiteral(", "));
        auto arg = [&](int k) { return k < a.size() ? a[k] : QString(); };
        if (f == QLatin1String("isnull") && a.size() == 1)
            return QStringLiteral("(%1 IS NULL)").arg(arg(0));
        if (f == QLatin1String("isnull") || f == QLatin1String("nz"))
            return QStringLiteral("COALESCE(%1, %2)").arg(arg(0), a.size() > 1 ? arg(1) : QStringLiteral("''"));
        if (f == QLatin1String("iif") && a.size() == 3)
            return pg() ? QStringLiteral("(CASE WHEN %1 THEN %2 ELSE %3 END)").arg(arg(0), arg(1), arg(2))
                        : QStringLiteral("iif(%1)").arg(lista);
        if (f == QLatin1String("isnumeric") && a.size() == 1)
            return pg() ? QStringLiteral("(CASE WHEN CAST(%1 AS TEXT) ~ "
                                         "'^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][-+]?[0-9]+)?\\s*$' "
                                         "THEN -1 ELSE 0 END)")
                              .arg(arg(0))
                        : QStringLiteral("isnumeric(%1)").arg(arg(0));
        if (f == QLatin1String("mid") && a.size() >= 2) {
            QStringList b = a;
            b[0] = testoCast(b[0]);
            return QStringLiteral("substr(%1)").arg(b.join(QStringLiteral(", ")));
        }
        if (f == QLatin1String("len") && a.size() == 1)
            return QStringLiteral("length(%1)").arg(testoCast(arg(0)));
        if ((f == QLatin1String("ucase") || f == QLatin1String("lcase")) && a.size() == 1) {
            if (pg())
                return QStringLiteral("%1(%2)").arg(f == QLatin1String("ucase") ? "upper" : "lower", arg(0));
            return QStringLiteral("%1(%2)").arg(f, arg(0));
        }
        if (f == QLatin1String("val") && a.size() == 1)
            return pg() ? QStringLiteral("COALESCE(CAST(substring(CAST(%1 AS TEXT) from "
                                         "'^\\s*([-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+))') AS NUMERIC), 0)")
                              .arg(arg(0))
                        : QStringLiteral("val(%1)").arg(arg(0));
        if (f == QLatin1String("left") && a.size() == 2)
            return pg() ? QStringLiteral("left(%1, %2)").arg(testoCast(arg(0)), arg(1))
                        : QStringLiteral("substr(%1, 1, %2)").arg(arg(0), arg(1));
        if (f == QLatin1String("right") && a.size() == 2)
            return pg() ? QStringLiteral("right(%1, %2)").arg(testoCast(arg(0)), arg(1))
                        : QStringLiteral("substr(%1, max(length(%1) - (%2) + 1, 1))").arg(arg(0), arg(1));
        if (f == QLatin1String("instr") && a.size() == 2)
            return pg() ? QStringLiteral("strpos(%1, %2)").arg(testoCast(arg(0)), arg(1))
                        : QStringLiteral("instr(%1)").arg(lista);
        if (f == QLatin1String("cstr") && a.size() == 1)
            return QStringLiteral("CAST(%1 AS TEXT)").arg(arg(0));
        if ((f == QLatin1String("clng") || f == QLatin1String("cint")) && a.size() == 1)
            return QStringLiteral("CAST(%1 AS %2)").arg(arg(0), pg() ? "BIGINT" : "INTEGER");
        if (f == QLatin1String("cdbl") && a.size() == 1)
            return QStringLiteral("CAST(%1 AS %2)").arg(arg(0), pg() ? "DOUBLE PRECISION" : "REAL");
        return nome + u'(' + lista + u')';
    }

    // Bounds of the operand that ends just before index k (exclusive) or starts at k.
    static size_t inizioOperando(const std::vector<Unita> &u, size_t k)
    {
        size_t a = k;
        while (a > 0 && (u[a - 1].tipo == Unita::Operando || u[a - 1].tipo == Unita::Spazio))
            --a;
        while (a < k && u[a].tipo == Unita::Spazio)
            ++a;
        return a;
    }
    static size_t fineOperando(const std::vector<Unita> &u, size_t k)
    {
        size_t b = k;
        while (b < u.size() && (u[b].tipo == Unita::Operando || u[b].tipo == Unita::Spazio))
            ++b;
        while (b > k && u[b - 1].tipo == Unita::Spazio)
            --b;
        return b;
    }
    static QString testo(const std::vector<Unita> &u, size_t a, size_t b)
    {
        QString s;
        for (size_t k = a; k < b; ++k)
            s += u[k].testo;
        return s.trimmed();
    }

    // Jet's & joins texts and takes Null for "": a chain a & b & c becomes one
    // null-safe concatenation that compares without regard to case.
    void concatenazioni(std::vector<Unita> &u) const
    {
        for (size_t k = 0; k < u.size(); ++k) {
            if (u[k].tipo != Unita::Concat)
                continue;
            const size_t a = inizioOperando(u, k);
            QStringList parti{testo(u, a, k)};
            size_t b = k;
            while (b < u.size() && u[b].tipo == Unita::Concat) {
                const size_t fine = fineOperando(u, b + 1);
                parti << testo(u, b + 1, fine);
                b = fine;
                size_t c = b;
                while (c < u.size() && u[c].tipo == Unita::Spazio)
                    ++c;
                if (c < u.size() && u[c].tipo == Unita::Concat)
                    b = c;
            }
            QStringList pezzi;
            for (const QString &p : parti)
                pezzi << (pg() ? QStringLiteral("COALESCE(CAST(%1 AS TEXT), '')").arg(p)
                               : QStringLiteral("COALESCE(%1, '')").arg(p));
            const QString unione = pezzi.join(QStringLiteral(" || "));
            const QString risultato = pg() ? QStringLiteral("CAST(%1 AS citext)").arg(unione)
                                           : QStringLiteral("(%1) COLLATE NOCASE").arg(unione);
            u.erase(u.begin() + long(a), u.begin() + long(b));
            u.insert(u.begin() + long(a), Unita{Unita::Operando, risultato});
            k = a;
        }
    }

    // x [Not] Like 'pattern' with Jet wildcards.
    void like(std::vector<Unita> &u) const
    {
        for (size_t k = 0; k < u.size(); ++k) {
            if (u[k].tipo != Unita::Like)
                continue;
            size_t prima = k;
            while (prima > 0 && u[prima - 1].tipo == Unita::Spazio)
                --prima;
            const bool negato = prima > 0 && u[prima - 1].tipo == Unita::Not;
            const size_t fineSinistra = negato ? prima - 1 : k;
            const size_t a = inizioOperando(u, fineSinistra);
            size_t inizioDestra = k + 1;
            while (inizioDestra < u.size() && u[inizioDestra].tipo == Unita::Spazio)
                ++inizioDestra;
            const size_t b = fineOperando(u, inizioDestra);
            if (a >= fineSinistra || inizioDestra >= b)
                continue;
            const QString sinistra = testo(u, a, fineSinistra);
            const QString destra = testo(u, inizioDestra, b);
            const bool letterale = b == inizioDestra + 1 && u[inizioDestra].eLetterale;
            QString risultato;
            QString schema;
            if (letterale && PatternLike(u[inizioDestra].letterale, schema)) {
                risultato = QStringLiteral("%1 %2%3 %4 ESCAPE '\\'")
                                .arg(sinistra, negato ? "NOT " : "", pg() ? "ILIKE" : "LIKE", letteraleSql(schema));
            } else if (pg() && letterale) {
                risultato = QStringLiteral("CAST(%1 AS TEXT) %2 %3")
                                .arg(sinistra, negato ? "!~*" : "~*", letteraleSql(PatternRegex(u[inizioDestra].letterale)));
            } else if (pg()) {
                risultato = QStringLiteral("%1 %2ILIKE replace(replace(CAST(%3 AS TEXT), '*', '%'), '?', '_')")
                                .arg(sinistra, negato ? "NOT " : "", destra);
            } else {
                risultato = QStringLiteral("%1jetlike(%2, %3)").arg(negato ? "NOT " : "", sinistra, destra);
            }
            u.erase(u.begin() + long(a), u.begin() + long(b));
            u.insert(u.begin() + long(a), Unita{Unita::Operando, risultato});
            k = a;
        }
    }
};

} // namespace

QString NomeQuotato(const QString &nome, Dialetto d)
{
    // PostgreSQL folds unquoted names to lower case, and the schema writes its
    // names unquoted, except those that begin with a digit (quoted as written).
    const QString n = d == Dialetto::PostgreSQL && !(nome.size() > 0 && nome[0].isDigit()) ? nome.toLower() : nome;
    return u'"' + QString(n).replace(u'"', QLatin1String("\"\"")) + u'"';
}

QString Traduci(const QString &jet, Dialetto dialetto, const Opzioni &opzioni)
{
    const std::vector<Token> t = Tokenizza(jet);
    Traduttore tr(t, dialetto, opzioni);
    return tr.traduci();
}

bool PatternLike(const QString &jet, QString &like)
{
    like.clear();
    for (int i = 0; i < jet.size(); ++i) {
        const QChar c = jet[i];
        if (c == u'*') {
            like += u'%';
        } else if (c == u'?') {
            like += u'_';
        } else if (c == u'#') {
            return false;
        } else if (c == u'[') {
            const int fine = int(jet.indexOf(u']', i + 1));
            if (fine < 0 || fine != i + 2)
                return false;  // a class of several characters, a range or [!x]
            const QChar x = jet[i + 1];
            if (x == u'%' || x == u'_' || x == u'\\')
                like += u'\\';
            like += x;
            i = fine;
        } else if (c == u'%' || c == u'_' || c == u'\\') {
            like += u'\\';
            like += c;
        } else {
            like += c;
        }
    }
    return true;
}

QString PatternRegex(const QString &jet)
{
    QString re = QStringLiteral("^");
    for (int i = 0; i < jet.size(); ++i) {
        const QChar c = jet[i];
        if (c == u'*') {
            re += QLatin1String(".*");
        } else if (c == u'?') {
            re += u'.';
        } else if (c == u'#') {
            re += QLatin1String("[0-9]");
        } else if (c == u'[') {
            const int fine = int(jet.indexOf(u']', i + 2));
            if (fine < 0) {
                re += QLatin1String("\\[");
                continue;
            }
            QString classe = jet.mid(i + 1, fine - i - 1);
            QString dentro;
            int k = 0;
            if (classe.startsWith(u'!')) {
                dentro += u'^';
                k = 1;
            }
            for (; k < classe.size(); ++k) {
                const QChar x = classe[k];
                if (x == u'\\' || x == u']' || x == u'[' || x == u'^')
                    dentro += u'\\';
                dentro += x;
            }
            re += u'[' + dentro + u']';
            i = fine;
        } else if (QStringLiteral("\\.^$|()+{}").contains(c)) {
            re += u'\\';
            re += c;
        } else {
            re += c;
        }
    }
    re += u'$';
    return re;
}

bool JetLike(const QString &valore, const QString &pattern)
{
    // Anchored regular expression of the pattern, cached for the repeated calls of one query.
    static QString ultimo;
    static QRegularExpression re;
    if (pattern != ultimo || !re.isValid()) {
        ultimo = pattern;
        re = QRegularExpression(PatternRegex(pattern),
                                QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    }
    return re.match(valore).hasMatch();
}

} // namespace JetSql
