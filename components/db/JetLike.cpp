// Jet LIKE patterns (* ? # [abc] [a-c] [!x]): as an engine LIKE pattern, as a
// regular expression for PostgreSQL, and matched directly for SQLite's jetlike.
#include "components/db/JetSql.h"

#include <vector>

namespace JetSql
{

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
                return false; // a class of several characters, a range or [!x]
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
            if (classe.startsWith(u'!') && classe.size() > 1) {
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
        } else if (QStringLiteral("\\.^$|()+{}]").contains(c)) {
            re += u'\\';
            re += c;
        } else {
            re += c;
        }
    }
    re += u'$';
    return re;
}

namespace
{

// One element of a pattern: a character (folded), ?, #, *, or a class.
struct Elemento {
    enum Tipo { Carattere, Qualsiasi, Cifra, Stella, Classe } tipo = Carattere;
    char16_t c = 0;
    bool negata = false;
    std::vector<std::pair<char16_t, char16_t>> intervalli; // class: ranges, folded

    bool accetta(char16_t x) const
    {
        switch (tipo) {
        case Carattere:
            return x == c;
        case Qualsiasi:
            return true;
        case Cifra:
            return x >= u'0' && x <= u'9';
        case Classe: {
            bool dentro = false;
            for (const auto &[da, a] : intervalli)
                dentro = dentro || (x >= da && x <= a);
            return dentro != negata;
        }
        case Stella:
            break;
        }
        return false;
    }
};

char16_t piega(QChar c)
{
    return c.toCaseFolded().unicode();
}

std::vector<Elemento> leggiPattern(const QString &p)
{
    std::vector<Elemento> out;
    for (int i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        Elemento e;
        e.tipo = Elemento::Carattere;
        if (c == u'*') {
            if (!out.empty() && out.back().tipo == Elemento::Stella)
                continue; // ** is *
            e.tipo = Elemento::Stella;
        } else if (c == u'?') {
            e.tipo = Elemento::Qualsiasi;
        } else if (c == u'#') {
            e.tipo = Elemento::Cifra;
        } else if (c == u'[' && p.indexOf(u']', i + 2) >= 0) {
            const int fine = int(p.indexOf(u']', i + 2));
            e.tipo = Elemento::Classe;
            int k = i + 1;
            if (p[k] == u'!' && k + 1 < fine) {
                e.negata = true;
                ++k;
            }
            for (; k < fine; ++k) {
                if (k + 2 < fine && p[k + 1] == u'-') {
                    e.intervalli.push_back({piega(p[k]), piega(p[k + 2])});
                    k += 2;
                } else {
                    e.intervalli.push_back({piega(p[k]), piega(p[k])});
                }
            }
            i = fine;
        } else {
            e.c = piega(c);
        }
        out.push_back(std::move(e));
    }
    return out;
}

} // namespace

bool JetLike(const QString &valore, const QString &pattern)
{
    const std::vector<Elemento> p = leggiPattern(pattern);
    std::vector<char16_t> s(size_t(valore.size()));
    for (int i = 0; i < valore.size(); ++i)
        s[size_t(i)] = piega(valore[i]);
    // Greedy match that goes back only to the last *: at worst the product of the lengths.
    size_t i = 0, j = 0, stella = p.size(), dopoStella = 0;
    while (i < s.size()) {
        if (j < p.size() && p[j].tipo != Elemento::Stella && p[j].accetta(s[i])) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j].tipo == Elemento::Stella) {
            stella = j++;
            dopoStella = i;
        } else if (stella < p.size()) {
            j = stella + 1;
            i = ++dopoStella;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j].tipo == Elemento::Stella)
        ++j;
    return j == p.size();
}

} // namespace JetSql
