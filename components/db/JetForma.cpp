// Forms of Jet SELECTs: the literals a query compares against taken out as
// named parameters, and written back into a translated text.
#include "components/db/JetLessico.h"
#include "components/db/JetSql.h"

namespace JetSql {

namespace {

const QLatin1String PrefissoParametro("$dbmp");
constexpr int MaxParametri = 999;

bool confronto(const Token &t)
{
    if (t.tipo != TipoToken::Operatore)
        return false;
    const QString &o = t.testo;
    return o == QLatin1String("=") || o == QLatin1String("<>") || o == QLatin1String("<") ||
           o == QLatin1String(">") || o == QLatin1String("<=") || o == QLatin1String(">=") ||
           o == QLatin1String("!=");
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

QString letteraleSql(const QString &s) { return u'\'' + QString(s).replace(u'\'', QLatin1String("''")) + u'\''; }

} // namespace

QString NomeParametro(int i) { return PrefissoParametro + QStringLiteral("%1").arg(i, 3, 10, QChar(u'0')); }

Forma FormaParametrica(const QString &jet)
{
    Forma f;
    f.testo = jet;
    if (jet.contains(PrefissoParametro, Qt::CaseInsensitive))
        return f;
    const std::vector<Token> t = Tokenizza(jet);
    auto prossimo = [&](size_t i) {
        ++i;
        while (i < t.size() && t[i].tipo == TipoToken::Spazio)
            ++i;
        return i;
    };
    size_t i = prossimo(size_t(-1));
    if (i >= t.size() || !t[i].parola("select"))
        return f;
    // Literals of the select list name their columns: only those after the FROM go.
    int prof = 0;
    for (; i < t.size(); ++i) {
        if (t[i].tipo == TipoToken::ParAperta)
            ++prof;
        else if (t[i].tipo == TipoToken::ParChiusa)
            --prof;
        else if (prof == 0 && t[i].parola("from"))
            break;
    }
    if (i >= t.size())
        return f;
    std::vector<int> scelti(t.size(), -1);
    int numero = 0;
    size_t precedente = i;
    for (++i; i < t.size(); ++i) {
        if (t[i].tipo == TipoToken::Spazio)
            continue;
        const Token &x = t[i];
        const size_t dopo = prossimo(i);
        const bool seguito = dopo < t.size() && (t[dopo].tipo == TipoToken::Punto || t[dopo].tipo == TipoToken::ParAperta);
        if ((x.tipo == TipoToken::Numero || x.tipo == TipoToken::Stringa) && confronto(t[precedente]) && !seguito &&
            numero < MaxParametri) {
            const QVariant v = x.tipo == TipoToken::Numero ? valoreNumero(x.testo) : QVariant(x.valore);
            if (v.isValid()) {
                scelti[i] = numero++;
                f.valori << v;
                f.letterali << (x.tipo == TipoToken::Numero ? x.testo : letteraleSql(x.valore));
            }
        }
        precedente = i;
    }
    if (numero == 0)
        return f;
    QString testo;
    testo.reserve(jet.size());
    for (size_t k = 0; k < t.size(); ++k)
        testo += scelti[k] < 0 ? t[k].testo : NomeParametro(scelti[k]);
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
