// Forms of Jet SELECTs: the literals a query compares against taken out as
// named parameters, and written back into a translated text.
#include "components/db/JetSql.h"

namespace JetSql
{

namespace
{

const QLatin1String PrefissoParametro("$dbmp");
constexpr int MaxParametri = 999;

// As the tokenizer reads names; ASCII, nearly every character of a SELECT,
// without asking the Unicode tables.
bool asciiParola(char16_t u, bool cifre)
{
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_' || u == u'$' || u == u'@' ||
           (cifre && u >= u'0' && u <= u'9');
}
bool inizioParola(QChar c)
{
    return c.unicode() < 128 ? asciiParola(c.unicode(), false) : c.isLetter();
}
bool continuaParola(QChar c)
{
    return c.unicode() < 128 ? asciiParola(c.unicode(), true) : c.isLetterOrNumber();
}

// The value SQLite reads from a number literal, when binding gives the very
// same value; invalid otherwise (a whole number too large for 64 bits).
QVariant valoreNumero(const QString &testo)
{
    bool intero = true;
    for (const QChar c : testo)
        if (!c.isDigit())
            intero = false;
    bool ok = false;
    if (intero) {
        const qlonglong v = testo.toLongLong(&ok);
        return ok ? QVariant(v) : QVariant();
    }
    const double d = testo.toDouble(&ok);
    return ok ? QVariant(d) : QVariant();
}

QString letteraleSql(const QString &s)
{
    if (!s.contains(u'\'')) {
        QString l;
        l.reserve(s.size() + 2);
        l += u'\'';
        l += s;
        l += u'\'';
        return l;
    }
    return u'\'' + QString(s).replace(u'\'', QLatin1String("''")) + u'\'';
}

} // namespace

QString NomeParametro(int i)
{
    // Three digits, zero-padded: "$dbmp007". Written by hand, as every SELECT
    // names its parameters and binds them by these names.
    if (i < 0 || i > 999)
        return PrefissoParametro + QStringLiteral("%1").arg(i, 3, 10, QChar(u'0'));
    QString nome = PrefissoParametro;
    nome += QChar(u'0' + i / 100);
    nome += QChar(u'0' + i / 10 % 10);
    nome += QChar(u'0' + i % 10);
    return nome;
}

// One pass over the text with the tokenizer's rules, without making tokens:
// this runs for every SELECT, the tokens only for new forms.
Forma FormaParametrica(const QString &jet)
{
    Forma f;
    f.testo = jet;
    if (jet.contains(PrefissoParametro))
        return f;
    const QChar *p = jet.constData();
    const int n = int(jet.size());
    const QStringView vista(jet);
    auto segnaposto = [&](int i) {
        return p[i] == SegnapostoOwner[0] && vista.mid(i).startsWith(SegnapostoOwner);
    };
    struct Letterale {
        int da, a;
    };
    std::vector<Letterale> scelti;
    bool primo = true, dopoFrom = false, dopoConfronto = false, dopoParola = false;
    int prof = 0;
    int i = 0;
    while (i < n) {
        const QChar c = p[i];
        const int da = i;
        if (c.isSpace()) {
            while (i < n && p[i].isSpace())
                ++i;
            dopoParola = false;
            continue;
        }
        enum { Altro, Parola, Numero, Stringa, Confronto } tipo = Altro;
        QString valore;
        if (segnaposto(i)) {
            i += int(SegnapostoOwner.size());
        } else if (c == u'\'' || c == u'"') {
            tipo = Stringa;
            ++i;
            // Taken in runs between doubled quotes, not a character at a time.
            int inizio = i;
            while (i < n) {
                if (p[i] == c) {
                    valore += vista.mid(inizio, i - inizio);
                    if (i + 1 < n && p[i + 1] == c) {
                        valore += c;
                        i += 2;
                        inizio = i;
                        continue;
                    }
                    ++i;
                    inizio = -1;
                    break;
                }
                ++i;
            }
            if (inizio >= 0)
                valore += vista.mid(inizio, i - inizio);
        } else if (c == u'[') {
            const int fine = int(jet.indexOf(u']', i + 1));
            i = fine < 0 ? n : fine + 1;
        } else if (c == u'#') {
            const int fine = int(jet.indexOf(u'#', i + 1));
            i = fine < 0 ? i + 1 : fine + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && p[i + 1].isDigit() && !dopoParola)) {
            tipo = Numero;
            while (i < n && p[i].isDigit())
                ++i;
            if (i < n && inizioParola(p[i])) {
                tipo = Parola;
                while (i < n && continuaParola(p[i]))
                    ++i;
            } else {
                if (i < n && p[i] == u'.' && i + 1 < n && p[i + 1].isDigit()) {
                    ++i;
                    while (i < n && p[i].isDigit())
                        ++i;
                }
                if (i + 1 < n && (p[i] == u'e' || p[i] == u'E') &&
                    (p[i + 1].isDigit() ||
                     ((p[i + 1] == u'+' || p[i + 1] == u'-') && i + 2 < n && p[i + 2].isDigit()))) {
                    i += 2;
                    while (i < n && p[i].isDigit())
                        ++i;
                }
            }
        } else if (inizioParola(c)) {
            tipo = Parola;
            while (i < n && continuaParola(p[i]) && !segnaposto(i))
                ++i;
        } else if (c == u'(') {
            ++prof;
            ++i;
        } else if (c == u')') {
            --prof;
            ++i;
        } else if (c == u',' || c == u'.') {
            ++i;
        } else {
            const QStringView due = vista.mid(i, 2);
            const bool doppio = due == u"<>" || due == u"<=" || due == u">=" || due == u"!=" || due == u"||";
            i += doppio ? 2 : 1;
            if (due == u"<>" || due == u"<=" || due == u">=" || due == u"!=" || c == u'=' || c == u'<' ||
                c == u'>')
                tipo = due == u"||" ? Altro : Confronto;
        }
        const QStringView testo = vista.mid(da, i - da);
        if (primo) {
            if (tipo != Parola || testo.compare(u"select", Qt::CaseInsensitive) != 0)
                return f;
            primo = false;
        }
        if (!dopoFrom && tipo == Parola && prof == 0 && testo.size() == 4 &&
            testo.compare(u"from", Qt::CaseInsensitive) == 0)
            dopoFrom = true;
        if (dopoFrom && dopoConfronto && (tipo == Numero || tipo == Stringa) &&
            int(scelti.size()) < MaxParametri) {
            // A literal that goes on as a name or a call is not a value of its own.
            int k = i;
            while (k < n && p[k].isSpace())
                ++k;
            const bool seguito = k < n && (p[k] == u'(' || segnaposto(k) ||
                                           (p[k] == u'.' && !(k + 1 < n && p[k + 1].isDigit())));
            const QVariant v = tipo == Numero ? valoreNumero(testo.toString()) : QVariant(valore);
            if (!seguito && v.isValid()) {
                scelti.push_back({da, i});
                f.valori << v;
                f.letterali << (tipo == Numero ? testo.toString() : letteraleSql(valore));
            }
        }
        dopoConfronto = tipo == Confronto;
        dopoParola = tipo == Parola;
    }
    if (scelti.empty())
        return f;
    QString testo;
    testo.reserve(jet.size() + 8 * qsizetype(scelti.size()));
    int da = 0;
    for (size_t k = 0; k < scelti.size(); ++k) {
        testo += vista.mid(da, scelti[k].da - da);
        testo += NomeParametro(int(k));
        da = scelti[k].a;
        // '01'AND is a literal and a word; $dbmp000AND would be one longer name.
        if (da < n && continuaParola(p[da]))
            testo += u' ';
    }
    testo += vista.mid(da);
    f.testo = testo;
    return f;
}

QString RimettiLetterali(const QString &tradotto, const Forma &forma)
{
    if (forma.letterali.isEmpty())
        return tradotto;
    QString out;
    out.reserve(tradotto.size() + 16 * forma.letterali.size());
    const int lungo = int(PrefissoParametro.size()) + 3;
    int da = 0;
    for (;;) {
        const int p = int(tradotto.indexOf(PrefissoParametro, da));
        if (p < 0 || p + lungo > tradotto.size())
            break;
        bool ok = false;
        const int n = QStringView(tradotto).mid(p + PrefissoParametro.size(), 3).toInt(&ok);
        if (!ok || n < 0 || n >= forma.letterali.size()) {
            out += QStringView(tradotto).mid(da, p + 1 - da);
            da = p + 1;
            continue;
        }
        out += QStringView(tradotto).mid(da, p - da);
        out += forma.letterali[n];
        da = p + lungo;
    }
    out += QStringView(tradotto).mid(da);
    return out;
}

} // namespace JetSql
