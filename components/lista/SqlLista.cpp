// SqlLista: splitting a list's SELECT and writing its page and count texts.
#include "components/lista/SqlLista.h"

#include "components/db/JetLessico.h"
#include "components/util/Currency.h"
#include "components/util/UtilGlob.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace SqlLista
{

namespace
{

using JetSql::TipoToken;
using JetSql::Token;

const UtilGlob &util()
{
    static const UtilGlob u;
    return u;
}

QString unisci(const std::vector<Token> &t, size_t da, size_t a)
{
    QString s;
    for (size_t i = da; i < a && i < t.size(); ++i)
        s += t[i].testo;
    return s;
}

bool eNome(const Token &t)
{
    return t.tipo == TipoToken::Parola || t.tipo == TipoToken::Quotato;
}

// One ORDER BY item: a (qualified) column with an optional ASC or DESC.
bool voceOrdine(std::vector<Token> t, VoceOrdine &v)
{
    std::erase_if(t, [](const Token &x) { return x.tipo == TipoToken::Spazio; });
    if (!t.empty() && (t.back().parola("asc") || t.back().parola("desc"))) {
        v.discendente = t.back().parola("desc");
        t.pop_back();
    }
    if (t.size() == 1 && eNome(t[0]) && t[0].tipo != TipoToken::Parola) {
        v.colonna = t[0].testo;
        return true;
    }
    if (t.size() == 1 && t[0].tipo == TipoToken::Parola) {
        v.colonna = t[0].testo;
        return true;
    }
    if (t.size() == 3 && eNome(t[0]) && t[1].tipo == TipoToken::Punto && eNome(t[2])) {
        v.colonna = t[0].testo + QLatin1Char('.') + t[2].testo;
        return true;
    }
    v.colonna.clear();
    for (const Token &x : t)
        v.colonna += x.testo + QLatin1Char(' ');
    v.colonna = v.colonna.trimmed();
    return false;
}

QString ordineTesto(const QList<VoceOrdine> &ordine, bool inverso)
{
    QStringList voci;
    for (const VoceOrdine &v : ordine)
        voci << v.colonna + ((v.discendente != inverso) ? QStringLiteral(" Desc") : QString());
    return voci.join(QStringLiteral(", "));
}

} // namespace

Parti Scomponi(const QString &sql)
{
    Parti p;
    p.testo = sql;
    const std::vector<Token> t = JetSql::Tokenizza(sql);
    int livello = 0;
    size_t inizio = t.size(), from = t.size(), ordine = t.size();
    bool bloccante = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const Token &x = t[i];
        if (x.tipo == TipoToken::ParAperta) {
            ++livello;
            continue;
        }
        if (x.tipo == TipoToken::ParChiusa) {
            --livello;
            continue;
        }
        if (livello != 0 || x.tipo != TipoToken::Parola)
            continue;
        if (inizio == t.size()) {
            if (!x.parola("select"))
                return p;
            inizio = i;
            continue;
        }
        if (from == t.size()) {
            if (x.parola("distinct") || x.parola("distinctrow") || x.parola("top"))
                bloccante = true;
            if (x.parola("from"))
                from = i;
            continue;
        }
        if (x.parola("group") || x.parola("having") || x.parola("union") || x.parola("limit"))
            bloccante = true;
        if (x.parola("where") && ordine == t.size())
            p.haWhere = true;
        if (x.parola("order") && ordine == t.size())
            ordine = i;
    }
    if (inizio == t.size() || from == t.size())
        return p;
    p.selezione = unisci(t, 0, from).trimmed();
    // The body keeps the blank before FROM, as the window wrote it.
    size_t daCorpo = from;
    while (daCorpo > 0 && t[daCorpo - 1].tipo == TipoToken::Spazio)
        --daCorpo;
    p.corpo = unisci(t, daCorpo, ordine);
    while (p.corpo.endsWith(QLatin1Char(' ')))
        p.corpo.chop(1);
    if (ordine < t.size()) {
        size_t i = ordine + 1;
        while (i < t.size() && t[i].tipo == TipoToken::Spazio)
            ++i;
        if (i >= t.size() || !t[i].parola("by"))
            return p;
        std::vector<Token> voce;
        int liv = 0;
        auto chiudiVoce = [&] {
            VoceOrdine v;
            if (!voceOrdine(voce, v))
                p.ordineSemplice = false;
            if (!v.colonna.isEmpty())
                p.ordine << v;
            voce.clear();
        };
        for (++i; i < t.size(); ++i) {
            if (t[i].tipo == TipoToken::ParAperta)
                ++liv;
            else if (t[i].tipo == TipoToken::ParChiusa)
                --liv;
            if (liv == 0 && t[i].tipo == TipoToken::Virgola) {
                chiudiVoce();
                continue;
            }
            voce.push_back(t[i]);
        }
        chiudiVoce();
    }
    p.semplice = !bloccante;
    return p;
}

QString Conteggio(const Parti &p)
{
    if (p.semplice)
        return QStringLiteral("Select Count(*) As NumeroRighe") + p.corpo;
    return QStringLiteral("Select Count(*) As NumeroRighe From (") + p.testo +
           QStringLiteral(") As ListaConta");
}

namespace
{

QString uguale(const VoceOrdine &v, const QString &letterale)
{
    return letterale.isEmpty() ? v.colonna + QStringLiteral(" Is Null")
                               : v.colonna + QStringLiteral(" = ") + letterale;
}

// The first `n` ordering columns equal to the row's values, then `ultima`.
QString conUguali(const QList<VoceOrdine> &ordine, const QStringList &letterali, int n, const QString &ultima)
{
    QStringList parti;
    for (int j = 0; j < n; ++j)
        parti << uguale(ordine[j], letterali[j]);
    parti << ultima;
    return QLatin1Char('(') + parti.join(QStringLiteral(" And ")) + QLatin1Char(')');
}

// A condition of the rows whose first `da` ordering columns equal the row's
// values and whose columns from `da` to `a` (included) come after its values:
// one comparison, or row values "(b, c) > ('y', 'z')" when they are several.
QString livello(const QList<VoceOrdine> &ordine, const QStringList &letterali, int da, int a,
                bool discendente)
{
    const QString segno = discendente ? QStringLiteral(" < ") : QStringLiteral(" > ");
    if (da == a)
        return conUguali(ordine, letterali, da, ordine[da].colonna + segno + letterali[da]);
    QStringList colonne, valori;
    for (int j = da; j <= a; ++j) {
        colonne << ordine[j].colonna;
        valori << letterali[j];
    }
    return conUguali(ordine, letterali, da,
                     QLatin1Char('(') + colonne.join(QStringLiteral(", ")) + QLatin1Char(')') + segno +
                         QLatin1Char('(') + valori.join(QStringLiteral(", ")) + QLatin1Char(')'));
}

} // namespace

QStringList CondizioniDopo(const QList<VoceOrdine> &ordine, const QStringList &letterali, bool nulliPiccoli,
                           bool prima, bool perLivelli)
{
    const int n = int(std::min(ordine.size(), letterali.size()));
    // The rows that follow, deepest level first: at level i the columns
    // before i equal the row's values and column i is past its value (its
    // Nulls after that, where they sort after the values). Consecutive levels
    // from the first, in the same direction with no Nulls between them, are
    // one row-value comparison, which both engines seek on the ordering's index.
    QStringList pezzi;
    int fine = -1; // the levels from i + 1 to `fine` not yet written (-1: none)
    bool versoAperto = false;
    // Row values after equalities on the first columns are kept apart a level
    // at a time: PostgreSQL estimates a row comparison by its first column
    // alone, and "Descrizione Is Null And (Gruppo, Mastro, Conto) > (...)" in a
    // single ledger looked to it like one row, sought on the key's index and
    // sorted.
    auto chiudi = [&](int da) {
        if (fine >= 0 && da == 0 && !perLivelli)
            pezzi << livello(ordine, letterali, da, fine, versoAperto);
        else
            for (int j = fine; j >= da && j >= 0; --j)
                pezzi << livello(ordine, letterali, j, j, versoAperto);
        fine = -1;
    };
    for (int i = n - 1; i >= 0; --i) {
        const VoceOrdine &v = ordine[i];
        const QString &l = letterali[i];
        const bool discendente = v.discendente != prima;
        const bool nulliPrima = nulliPiccoli != discendente;
        if (l.isEmpty()) {
            chiudi(i + 1);
            if (nulliPrima)
                pezzi << conUguali(ordine, letterali, i, v.colonna + QStringLiteral(" Is Not Null"));
            continue;
        }
        if (fine >= 0 && versoAperto != discendente)
            chiudi(i + 1);
        if (fine < 0) {
            fine = i;
            versoAperto = discendente;
        }
        if (!nulliPrima && !v.maiNullo) {
            chiudi(i);
            pezzi << conUguali(ordine, letterali, i, v.colonna + QStringLiteral(" Is Null"));
        }
    }
    chiudi(0);
    return pezzi;
}

QString CondizioneDopo(const QList<VoceOrdine> &ordine, const QStringList &letterali, bool nulliPiccoli,
                       bool prima)
{
    const QStringList pezzi = CondizioniDopo(ordine, letterali, nulliPiccoli, prima);
    if (pezzi.isEmpty())
        return QStringLiteral("1 = 0");
    if (pezzi.size() == 1)
        return pezzi[0];
    return QLatin1Char('(') + pezzi.join(QStringLiteral(" Or ")) + QLatin1Char(')');
}

QString CondizioneUguale(const QStringList &colonne, const QStringList &letterali)
{
    QStringList parti;
    for (int i = 0; i < colonne.size() && i < letterali.size(); ++i)
        parti << uguale(VoceOrdine{colonne[i]}, letterali[i]);
    return parti.join(QStringLiteral(" And "));
}

QString Pagina(const Parti &p, const QString &condizione, const QList<VoceOrdine> &ordine, bool inverso,
               int limite, int salto)
{
    QString sql;
    if (p.semplice) {
        sql = p.selezione + p.corpo;
        if (!condizione.isEmpty())
            sql += (p.haWhere ? QStringLiteral(" And ") : QStringLiteral(" Where ")) + condizione;
        if (!ordine.isEmpty())
            sql += QStringLiteral(" Order By ") + ordineTesto(ordine, inverso);
    } else {
        sql = p.testo;
    }
    if (limite > 0)
        sql += QStringLiteral(" Limit ") + QString::number(limite);
    if (salto > 0)
        sql += QStringLiteral(" Offset ") + QString::number(salto);
    return sql;
}

QString ConOrdine(const Parti &p, const QList<VoceOrdine> &ordine)
{
    return p.selezione + p.corpo + QStringLiteral(" order by ") + ordineTesto(ordine, false);
}

QString Letterale(const QVariant &valore, bool numero)
{
    if (!valore.isValid() || valore.isNull())
        return {};
    if (valore.userType() == qMetaTypeId<Currency>())
        return valore.value<Currency>().toShortString();
    switch (valore.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return util().ValoreSql(valore, UtilGlob::TipoData);
    case QMetaType::Bool:
        return valore.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QString::number(valore.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return util().ValoreSql(valore.toDouble(), UtilGlob::TipoDoppio);
    default:
        break;
    }
    const QString testo = valore.toString();
    static const QRegularExpression decimale(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    if (numero && decimale.match(testo).hasMatch())
        return testo;
    return util().ValoreSql(testo, UtilGlob::TipoTesto);
}

bool NomeSemplice(const QString &testo)
{
    std::vector<Token> t = JetSql::Tokenizza(testo.trimmed());
    VoceOrdine v;
    return !t.empty() && voceOrdine(t, v) && !v.discendente && v.colonna.compare(testo.trimmed()) == 0;
}

} // namespace SqlLista
