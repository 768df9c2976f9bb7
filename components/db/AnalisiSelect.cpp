// Reading of the select list and FROM tables of a Jet SELECT, so that record
// sets know which table every result column comes from.
#include "components/db/JetLessico.h"
#include "components/db/JetSql.h"

#include <QSet>

namespace JetSql
{

namespace
{

const QSet<QString> &fineFrom()
{
    static const QSet<QString> s = {"where", "group", "order", "having", "union", "limit"};
    return s;
}

const QSet<QString> &nonAlias()
{
    static const QSet<QString> s = {"left",  "right",  "inner", "outer", "join", "on",      "where", "group",
                                    "order", "having", "union", "cross", "full", "natural", "limit"};
    return s;
}

QString nomeToken(const Token &t)
{
    if (t.tipo == TipoToken::Quotato)
        return t.valore;
    return t.testo;
}

bool eNome(const Token &t)
{
    return t.tipo == TipoToken::Parola || t.tipo == TipoToken::Quotato;
}

VoceSelect voce(const std::vector<Token> &t)
{
    VoceSelect v;
    std::vector<Token> corpo = t;
    // Trailing "AS alias".
    if (corpo.size() >= 3 && corpo[corpo.size() - 2].parola("as") && eNome(corpo.back())) {
        v.alias = nomeToken(corpo.back());
        corpo.resize(corpo.size() - 2);
    }
    if (corpo.size() == 1 && corpo[0].op("*")) {
        v.campo = QStringLiteral("*");
    } else if (corpo.size() == 1 && eNome(corpo[0])) {
        v.campo = nomeToken(corpo[0]);
    } else if (corpo.size() == 3 && eNome(corpo[0]) && corpo[1].tipo == TipoToken::Punto &&
               (eNome(corpo[2]) || corpo[2].op("*"))) {
        v.qualifica = nomeToken(corpo[0]);
        v.campo = corpo[2].op("*") ? QStringLiteral("*") : nomeToken(corpo[2]);
    } else {
        v.espressione = true;
        v.somma = !corpo.empty() && (corpo[0].parola("sum") || corpo[0].parola("count")) &&
                  corpo.size() > 1 && corpo[1].tipo == TipoToken::ParAperta;
    }
    return v;
}

} // namespace

AnalisiSelect Analizza(const QString &jet)
{
    AnalisiSelect a;
    std::vector<Token> t;
    for (Token &x : Tokenizza(jet))
        if (x.tipo != TipoToken::Spazio)
            t.push_back(std::move(x));
    size_t i = 0;
    if (t.empty() || !t[0].parola("select"))
        return a;
    ++i;
    while (i < t.size() && (t[i].parola("distinct") || t[i].parola("distinctrow") || t[i].parola("all")))
        ++i;
    if (i < t.size() && t[i].parola("top")) {
        i += 2;
        if (i < t.size() && t[i].parola("percent"))
            ++i;
    }
    // Select list, split at top-level commas up to the top-level FROM.
    std::vector<Token> corrente;
    int prof = 0;
    for (; i < t.size(); ++i) {
        const Token &x = t[i];
        if (prof == 0 && x.parola("from"))
            break;
        if (x.tipo == TipoToken::ParAperta)
            ++prof;
        else if (x.tipo == TipoToken::ParChiusa)
            --prof;
        if (prof == 0 && x.tipo == TipoToken::Virgola) {
            a.voci << voce(corrente);
            corrente.clear();
            continue;
        }
        corrente.push_back(x);
    }
    if (!corrente.empty())
        a.voci << voce(corrente);
    if (i >= t.size())
        return a; // no FROM: a SELECT of expressions
    ++i;
    // FROM: a table follows FROM, JOIN or a comma of the FROM's own level.
    const int base = 0;
    prof = 0;
    bool attesaTabella = true;
    for (; i < t.size(); ++i) {
        const Token &x = t[i];
        if (x.tipo == TipoToken::ParAperta) {
            ++prof;
            if (i + 1 < t.size() && t[i + 1].parola("select")) {
                // A sub-query: skip it whole.
                int p = 1;
                for (++i; i < t.size() && p > 0; ++i) {
                    if (t[i].tipo == TipoToken::ParAperta)
                        ++p;
                    else if (t[i].tipo == TipoToken::ParChiusa)
                        --p;
                }
                --i;
                --prof;
                attesaTabella = false;
            }
            continue;
        }
        if (x.tipo == TipoToken::ParChiusa) {
            --prof;
            if (prof < base)
                break;
            continue;
        }
        if (prof == base && x.tipo == TipoToken::Parola && fineFrom().contains(x.testo.toLower()))
            break;
        if (x.parola("join") || (x.tipo == TipoToken::Virgola && prof == base)) {
            attesaTabella = true;
            continue;
        }
        if (!attesaTabella)
            continue;
        TabellaFrom tab;
        if (x.tipo == TipoToken::Allegato && i + 2 < t.size() && t[i + 1].tipo == TipoToken::Punto) {
            tab.databaseJet = x.valore;
            i += 2;
        } else if (eNome(x) && i + 2 < t.size() && t[i + 1].tipo == TipoToken::Punto && eNome(t[i + 2])) {
            tab.schema = nomeToken(x);
            i += 2;
        }
        if (i >= t.size() || !eNome(t[i]))
            continue;
        tab.tabella = nomeToken(t[i]);
        tab.alias = tab.tabella;
        if (i + 2 < t.size() && t[i + 1].parola("as") && eNome(t[i + 2])) {
            tab.alias = nomeToken(t[i + 2]);
            i += 2;
        } else if (i + 1 < t.size() && eNome(t[i + 1]) && !nonAlias().contains(t[i + 1].testo.toLower())) {
            tab.alias = nomeToken(t[i + 1]);
            i += 1;
        }
        a.tabelle << tab;
        attesaTabella = false;
    }
    a.valida = !a.tabelle.isEmpty();
    return a;
}

} // namespace JetSql
