// SqlLista: splitting a list's SELECT and writing its page and count texts.
#include "components/lista/SqlLista.h"

#include "components/db/JetLessico.h"
#include "components/util/Currency.h"
#include "components/util/UtilGlob.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace SqlLista {

namespace {

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

bool eNome(const Token &t) { return t.tipo == TipoToken::Parola || t.tipo == TipoToken::Quotato; }

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
    return QStringLiteral("Select Count(*) As NumeroRighe From (") + p.testo + QStringLiteral(") As ListaConta");
}

QString CondizioneDopo(const QList<VoceOrdine> &ordine, const QStringList &letterali, bool nulliPiccoli, bool prima)
{
    const int n = int(std::min(ordine.size(), letterali.size()));
    if (n == 0)
        return {};
    // Built from the last column back: after(i) = G(i) Or (E(i) And after(i+1)).
    QString dopo;
    for (int i = n - 1; i >= 0; --i) {
        const QString &c = ordine[i].colonna;
        const QString &l = letterali[i];
        const bool discendente = ordine[i].discendente != prima;
        const bool nulliPrima = nulliPiccoli != discendente;
        QString g, e;
        if (l.isEmpty()) {
            if (nulliPrima)
                g = c + QStringLiteral(" Is Not Null");
            e = c + QStringLiteral(" Is Null");
        } else {
            g = c + (discendente ? QStringLiteral(" < ") : QStringLiteral(" > ")) + l;
            if (!nulliPrima)
                g = QLatin1Char('(') + g + QStringLiteral(" Or ") + c + QStringLiteral(" Is Null)");
            e = c + QStringLiteral(" = ") + l;
        }
        QString parte;
        if (dopo.isEmpty())
            parte = g;
        else if (g.isEmpty())
            parte = e + QStringLiteral(" And (") + dopo + QLatin1Char(')');
        else
            parte = g + QStringLiteral(" Or (") + e + QStringLiteral(" And (") + dopo + QStringLiteral("))");
        dopo = parte;
    }
    if (dopo.isEmpty())
        return QStringLiteral("1 = 0");
    // The first column as a range, so that its index is sought, not scanned.
    const QString &c = ordine[0].colonna;
    const QString &l = letterali[0];
    if (l.isEmpty())
        return QLatin1Char('(') + dopo + QLatin1Char(')');
    const bool discendente = ordine[0].discendente != prima;
    const bool nulliPrima = nulliPiccoli != discendente;
    QString campo = c + (discendente ? QStringLiteral(" <= ") : QStringLiteral(" >= ")) + l;
    if (!nulliPrima)
        campo = QLatin1Char('(') + campo + QStringLiteral(" Or ") + c + QStringLiteral(" Is Null)");
    return QLatin1Char('(') + campo + QStringLiteral(" And (") + dopo + QStringLiteral("))");
}

QStringList CondizioniDopo(const QList<VoceOrdine> &ordine, const QStringList &letterali, bool nulliPiccoli,
                           bool prima)
{
    const int n = int(std::min(ordine.size(), letterali.size()));
    QStringList livelli;
    for (int i = n - 1; i >= 0; --i) {
        const QString &c = ordine[i].colonna;
        const QString &l = letterali[i];
        const bool discendente = ordine[i].discendente != prima;
        const bool nulliPrima = nulliPiccoli != discendente;
        QStringList oltre;
        if (l.isEmpty()) {
            if (nulliPrima)
                oltre << c + QStringLiteral(" Is Not Null");
        } else {
            oltre << c + (discendente ? QStringLiteral(" < ") : QStringLiteral(" > ")) + l;
            if (!nulliPrima)
                oltre << c + QStringLiteral(" Is Null");
        }
        QStringList uguali;
        for (int j = 0; j < i; ++j)
            uguali << (letterali[j].isEmpty() ? ordine[j].colonna + QStringLiteral(" Is Null")
                                              : ordine[j].colonna + QStringLiteral(" = ") + letterali[j]);
        for (const QString &o : std::as_const(oltre))
            livelli << QLatin1Char('(') + QStringList(uguali + QStringList{o}).join(QStringLiteral(" And ")) +
                           QLatin1Char(')');
    }
    return livelli;
}

QString CondizioneUguale(const QStringList &colonne, const QStringList &letterali)
{
    QStringList parti;
    for (int i = 0; i < colonne.size() && i < letterali.size(); ++i)
        parti << (letterali[i].isEmpty() ? colonne[i] + QStringLiteral(" Is Null")
                                         : colonne[i] + QStringLiteral(" = ") + letterali[i]);
    return parti.join(QStringLiteral(" And "));
}

QString Pagina(const Parti &p, const QString &condizione, const QList<VoceOrdine> &ordine, bool inverso, int limite,
               int salto)
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
