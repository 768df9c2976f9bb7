// Translation of Jet SQL into the SQLite and PostgreSQL dialects: the walk
// over the tokens, parenthesised groups and calls, the context (condition or
// value) of every segment, and the SELECT clauses TOP and DISTINCTROW.
#include "components/db/JetInterno.h"
#include "components/db/JetLessico.h"
#include "components/util/VbErrore.h"

#include <QSet>

namespace JetSql
{

namespace Interno
{

void Rifiuta(int numero, const QString &descrizione)
{
    throw VbErrore(numero, descrizione);
}

QString LetteraleSql(const QString &s)
{
    return u'\'' + QString(s).replace(u'\'', QLatin1String("''")) + u'\'';
}

} // namespace Interno

namespace
{

using namespace Interno;

const QSet<QString> &paroleConfine()
{
    static const QSet<QString> s = {
        "select",   "from",        "where", "and",   "or",     "xor",    "on",     "as",     "is",   "in",
        "between",  "then",        "else",  "when",  "end",    "asc",    "desc",   "having", "join", "left",
        "right",    "inner",       "outer", "group", "order",  "by",     "set",    "values", "into", "union",
        "distinct", "distinctrow", "top",   "case",  "update", "delete", "insert", "escape", "all",  "exists",
        "null",     "not",         "like",  "mod",   "limit",  "offset"};
    return s;
}

// Clause words: a group holding one is a sub-query or a join.
bool confineStruttura(const Unita &x)
{
    static const QSet<QString> s = {"select", "from",   "join",  "on", "where",  "order", "by",
                                    "group",  "having", "union", "as", "values", "set"};
    return s.contains(x.testo.toLower());
}

// Words after which a condition begins, and before which one ends.
bool apreCondizione(const Unita &x)
{
    if (x.tipo != Unita::Confine)
        return x.tipo == Unita::Not;
    if (x.logico)
        return true;
    const QString w = x.testo.toLower();
    return w == u"where" || w == u"on" || w == u"having";
}

bool chiudeCondizione(const Unita &x)
{
    if (x.logico)
        return true;
    const QString w = x.testo.toLower();
    return w == u"then" || w == u"order" || w == u"group" || w == u"having" || w == u"union" ||
           w == u"where" || w == u"inner" || w == u"left" || w == u"right" || w == u"join";
}

// A Confine that makes a parenthesised group a Jet Boolean (a comparison or a logical operator).
bool confineBooleano(const Unita &x)
{
    static const QSet<QString> s = {
        "=", "<>", "<", ">", "<=", ">=", "!=", "and", "or", "xor", "is", "in", "between", "exists"};
    return s.contains(x.testo.toLower());
}

class Traduttore
{
  public:
    Traduttore(const std::vector<Token> &t, Dialetto d, const Opzioni &o) : tok(t), dia(d), opz(o) {}

    QString traduci()
    {
        size_t i = 0;
        return sequenza(i, Fine::Testo, Bordo::Valore, nullptr, nullptr);
    }

  private:
    enum class Fine { Testo, Parentesi, Argomento };
    // What surrounds a sequence: its first and last segments stand where a
    // condition is expected or where a value is.
    enum class Bordo { Valore, Condizione };

    const std::vector<Token> &tok;
    Dialetto dia;
    const Opzioni &opz;
    int profondita = 0;

    // The SELECT of a sequence, for TOP and DISTINCTROW.
    struct Select {
        bool presente = false;
        size_t token = 0;      // index of the SELECT token
        size_t unitaLista = 0; // first unit of the select list
        long long top = -1;
        bool distinct = false;
        bool distinctrow = false;
        bool unione = false; // a UNION follows at the same level
    };

    bool pg() const { return dia == Dialetto::PostgreSQL; }

    size_t dopoSpazi(size_t j) const
    {
        while (j < tok.size() && tok[j].tipo == TipoToken::Spazio)
            ++j;
        return j;
    }

    // Translates tokens from i up to the end, the matching ')' (Parentesi) or
    // the next ',' or ')' of its own level (Argomento), which stay unread.
    // `booleano` answers whether the sequence is a condition (a comparison or
    // logical operator at its own level, and not a sub-query); `solo` gets the
    // sequence's one operand when that is a Jet Boolean.
    QString sequenza(size_t &i, Fine fine, Bordo bordo, Argomento *arg, bool *booleano, Unita *solo = nullptr)
    {
        struct Livello {
            int &p;
            explicit Livello(int &x) : p(x)
            {
                if (++p > ProfonditaMassima)
                    Rifiuta(
                        ErroreTroppoComplessa,
                        QStringLiteral("Istruzione SQL troppo complessa: più di %1 livelli di parentesi o "
                                       "funzioni una dentro l'altra.")
                            .arg(ProfonditaMassima));
            }
            ~Livello() { --p; }
        } livello(profondita);

        std::vector<Unita> u;
        Select sel;
        bool traBetween = false;
        bool condizioneVista = false; // a comparison or logical operator at this level
        bool strutturaVista = false;  // a clause word: the group is a query or a join, not a condition
        size_t contate = 0;
        while (i < tok.size()) {
            const Token &t = tok[i];
            if (t.tipo == TipoToken::ParChiusa && fine != Fine::Testo)
                break;
            if (t.tipo == TipoToken::Virgola && fine == Fine::Argomento)
                break;
            switch (t.tipo) {
            case TipoToken::Spazio:
                u.emplace_back(Unita::Spazio, t.testo);
                ++i;
                break;
            case TipoToken::ParChiusa: // a stray ')' of the whole text
                u.emplace_back(Unita::Operando, t.testo);
                ++i;
                break;
            case TipoToken::ParAperta:
                gruppo(i, u, bordo);
                break;
            case TipoToken::Parola:
                parola(i, u, sel, traBetween);
                break;
            case TipoToken::Quotato:
                ++i;
                attacca(u, NomeQuotato(t.valore, dia));
                break;
            case TipoToken::Allegato: {
                ++i;
                QString schema = opz.schemaAllegato ? opz.schemaAllegato(t.valore) : QString();
                attacca(u, schema.isEmpty() ? QStringLiteral("main") : schema);
                break;
            }
            case TipoToken::Punto:
                ++i;
                attacca(u, QStringLiteral("."));
                break;
            case TipoToken::Numero:
                ++i;
                attacca(u, t.testo);
                if (u.back().testo == t.testo)
                    u.back().eNumero = true;
                break;
            case TipoToken::Stringa: {
                ++i;
                Unita x(Unita::Operando, LetteraleSql(t.valore));
                x.letterale = t.valore;
                x.eLetterale = true;
                u.push_back(std::move(x));
                break;
            }
            case TipoToken::Data:
                ++i;
                u.emplace_back(Unita::Operando, DataLetterale(t.valore, dia));
                break;
            case TipoToken::Virgola:
                ++i;
                u.emplace_back(Unita::Confine, t.testo);
                break;
            case TipoToken::Operatore:
                ++i;
                operatore(t, u);
                break;
            }
            if (u.size() > contate) {
                const Unita &ultima = u.back();
                if (ultima.tipo == Unita::Like || (ultima.tipo == Unita::Confine && confineBooleano(ultima)))
                    condizioneVista = true;
                else if (ultima.tipo == Unita::Confine && confineStruttura(ultima))
                    strutturaVista = true;
                contate = u.size();
            }
        }
        if (booleano)
            *booleano = condizioneVista && !strutturaVista;
        if (solo) {
            const Unita *unico = nullptr;
            int pieni = 0;
            for (const Unita &x : u)
                if (x.tipo != Unita::Spazio && ++pieni == 1)
                    unico = &x;
            if (pieni == 1 && unico->tipo == Unita::Operando && !unico->condizione.isEmpty())
                *solo = *unico;
        }
        if (arg)
            descriviArgomento(u, *arg);
        QString out;
        std::vector<int> posizione(u.size(), -1);
        rendi(u, bordo, out, posizione);
        if (sel.distinctrow)
            controllaDistinctrow(sel, i);
        if (sel.top >= 0)
            applicaTop(u, sel, posizione, out);
        return out;
    }

    // Writes the units segment by segment, noting where each Confine begins.
    void rendi(const std::vector<Unita> &u, Bordo bordo, QString &out, std::vector<int> &posizione) const
    {
        const bool bordoCondizione = bordo == Bordo::Condizione;
        bool ordine = false, discendente = false;
        size_t inizio = 0;
        for (size_t k = 0; k <= u.size(); ++k) {
            if (k < u.size() && u[k].tipo != Unita::Confine)
                continue;
            if (k > inizio) {
                const bool sinistra = inizio == 0 ? bordoCondizione : apreCondizione(u[inizio - 1]);
                // A condition opened inside the sequence runs to its end.
                const bool destra =
                    k == u.size() ? (inizio == 0 ? bordoCondizione : true) : chiudeCondizione(u[k]);
                RendiSegmento(u, inizio, k, sinistra && destra, dia, out);
            }
            const QString parola = k < u.size() ? u[k].testo.toLower() : QString();
            // An ORDER BY item ends at a comma, at LIMIT or OFFSET, or at the end.
            const bool fineOrdine = parola == u"limit" || parola == u"offset";
            if (ordine && (k == u.size() || parola == u"," || fineOrdine)) {
                nulliPrima(out, discendente);
                discendente = false;
                if (fineOrdine)
                    ordine = false;
            }
            if (k < u.size()) {
                if (parola == u"by") {
                    size_t h = k;
                    while (h > 0 && u[h - 1].tipo == Unita::Spazio)
                        --h;
                    ordine = h > 0 && u[h - 1].testo.compare(u"order", Qt::CaseInsensitive) == 0;
                } else if (parola == u"desc") {
                    discendente = true;
                }
                posizione[k] = int(out.size());
                out += u[k].testo;
            }
            inizio = k + 1;
        }
    }

    // Jet sorts Null before every value; PostgreSQL after, unless told.
    void nulliPrima(QString &out, bool discendente) const
    {
        if (!pg())
            return;
        int fine = int(out.size());
        while (fine > 0 && out[fine - 1].isSpace())
            --fine;
        out.insert(fine, discendente ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST"));
    }

    void gruppo(size_t &i, std::vector<Unita> &u, Bordo bordo)
    {
        // The group's own context is known from its left only: after WHERE,
        // AND, NOT... it is a condition; after VALUES, '=', a comma, a value.
        size_t k = u.size();
        while (k > 0 && u[k - 1].tipo == Unita::Spazio)
            --k;
        const bool condizione = k == 0 ? bordo == Bordo::Condizione : apreCondizione(u[k - 1]);
        const Bordo b = condizione ? Bordo::Condizione : Bordo::Valore;
        ++i;
        bool booleano = false;
        Unita solo(Unita::Spazio, QString());
        const QString dentro = sequenza(i, Fine::Parentesi, b, nullptr, &booleano, &solo);
        if (i < tok.size())
            ++i; // ')'
        Unita x(Unita::Operando, u'(' + dentro + u')');
        if (solo.tipo == Unita::Operando) {
            // ((a = b)): the Boolean inside, in both its forms.
            x.testo = u'(' + solo.testo + u')';
            x.condizione = u'(' + solo.condizione + u')';
        } else if (booleano) {
            // Jet gives -1 for a true comparison used as a value.
            x.condizione = x.testo;
            x.testo = pg() ? QStringLiteral("(-CAST(%1 AS INTEGER))").arg(x.condizione)
                           : QStringLiteral("(-%1)").arg(x.condizione);
        }
        u.push_back(std::move(x));
    }

    void parola(size_t &i, std::vector<Unita> &u, Select &sel, bool &traBetween)
    {
        const Token &t = tok[i];
        const size_t j = dopoSpazi(i + 1);
        const QString low = t.testo.toLower();
        const bool dopoPunto = !u.empty() && u.back().tipo == Unita::Operando && !u.back().eLetterale &&
                               u.back().testo.endsWith(u'.');
        const bool dopoInto = ultimaParola(u) == u"into";
        QString base = low;
        if (base.endsWith(u'$'))
            base.chop(1);
        const bool puoEssereFunzione = !dopoPunto && !dopoInto && !t.testo[0].isDigit() &&
                                       (!paroleConfine().contains(low) || low == u"left" || low == u"right");
        if (j < tok.size() && tok[j].tipo == TipoToken::ParAperta && puoEssereFunzione) {
            if (FunzioneNonTradotta(base))
                Rifiuta(ErroreNonTradotto,
                        QStringLiteral("Istruzione SQL non eseguibile: la funzione '%1' non è supportata su "
                                       "questo database.")
                            .arg(t.testo));
            i = j + 1;
            chiamata(i, u, t.testo, base);
            return;
        }
        ++i;
        const QString prima = ultimaParola(u);
        if (dopoPunto) {
            attacca(u, t.testo);
        } else if (low == u"like") {
            u.emplace_back(Unita::Like, t.testo);
        } else if (low == u"not") {
            u.emplace_back(Unita::Not, t.testo);
        } else if (low == u"mod") {
            Unita x(Unita::Operatore, t.testo);
            x.op = Op::Mod;
            u.push_back(std::move(x));
        } else if (low == u"true" || low == u"false") {
            // Jet's True is -1, as the program writes Booleans; a condition
            // on PostgreSQL needs a boolean.
            const bool vero = low == u"true";
            Unita x(Unita::Operando, vero ? QStringLiteral("-1") : QStringLiteral("0"));
            if (pg())
                x.condizione = vero ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
            u.push_back(std::move(x));
        } else if (low == u"distinctrow" && ultimaParola(u) == u"select") {
            sel.distinctrow = true;
            saltaSpazi(i);
        } else if (low == u"top" && sel.presente && sel.top < 0 &&
                   (prima == u"select" || prima == u"distinct" || prima == u"all")) {
            top(i, sel);
        } else if (paroleConfine().contains(low)) {
            Unita x(Unita::Confine, t.testo);
            if (low == u"between") {
                traBetween = true;
            } else if (low == u"and") {
                x.logico = !traBetween;
                traBetween = false;
            } else if (low == u"or" || low == u"xor") {
                x.logico = true;
            }
            u.push_back(std::move(x));
            if (low == u"select" && !sel.presente) {
                sel.presente = true;
                sel.token = i - 1;
                sel.unitaLista = u.size();
            } else if (low == u"union") {
                sel.unione = true;
            } else if ((low == u"distinct" || low == u"all") && sel.presente && prima == u"select") {
                sel.distinct = low == u"distinct";
                sel.unitaLista = u.size();
            } else if (low == u"delete") {
                saltaAsterisco(i);
            }
        } else if (t.testo[0].isDigit()) {
            attacca(u, NomeQuotato(t.testo, dia));
        } else {
            attacca(u, t.testo);
        }
    }

    void saltaSpazi(size_t &i) const { i = dopoSpazi(i); }

    // Jet writes "DELETE * FROM t" and "DELETE t.* FROM t"; the engines want "DELETE FROM t".
    void saltaAsterisco(size_t &i) const
    {
        size_t j = dopoSpazi(i);
        if (j + 2 < tok.size() && (tok[j].tipo == TipoToken::Parola || tok[j].tipo == TipoToken::Quotato) &&
            tok[j + 1].tipo == TipoToken::Punto && tok[j + 2].op("*"))
            i = j + 3;
        else if (j < tok.size() && tok[j].op("*"))
            i = j + 1;
    }

    // TOP n after SELECT [DISTINCT]: n rows, and the rows tied with the last
    // of them in the ORDER BY (as Jet does).
    void top(size_t &i, Select &sel) const
    {
        const size_t j = dopoSpazi(i);
        bool ok = false;
        const long long n =
            j < tok.size() && tok[j].tipo == TipoToken::Numero ? tok[j].testo.toLongLong(&ok) : 0;
        if (!ok || n < 0)
            Rifiuta(ErroreNonTradotto,
                    QStringLiteral("Istruzione SQL non eseguibile: TOP vuole un numero intero di "
                                   "righe."));
        const size_t k = dopoSpazi(j + 1);
        if (k < tok.size() && tok[k].parola("percent"))
            Rifiuta(
                ErroreNonTradotto,
                QStringLiteral(
                    "Istruzione SQL non eseguibile: TOP ... PERCENT non è supportato su questo database."));
        sel.top = n;
        i = k;
    }

    void chiamata(size_t &i, std::vector<Unita> &u, const QString &nome, const QString &base)
    {
        std::vector<Argomento> argomenti;
        for (;;) {
            // IIf's first argument is a condition; every other argument a value.
            const Bordo b = base == u"iif" && argomenti.empty() ? Bordo::Condizione : Bordo::Valore;
            Argomento a;
            a.testo = sequenza(i, Fine::Argomento, b, &a, nullptr).trimmed();
            argomenti.push_back(std::move(a));
            if (i < tok.size() && tok[i].tipo == TipoToken::Virgola) {
                ++i;
                continue;
            }
            if (i < tok.size())
                ++i; // ')'
            break;
        }
        if (argomenti.size() == 1 && argomenti[0].testo.isEmpty())
            argomenti.clear();
        Unita x(Unita::Operando, QString());
        if (FunzioneTradotta(base)) {
            x.testo = Funzione(base, argomenti, dia, x.condizione);
        } else {
            x.testo = nome + u'(';
            for (size_t k = 0; k < argomenti.size(); ++k)
                x.testo += (k ? QStringLiteral(", ") : QString()) + argomenti[k].testo;
            x.testo += u')';
        }
        u.push_back(std::move(x));
    }

    void operatore(const Token &t, std::vector<Unita> &u) const
    {
        Op op = Op::Nessuno;
        if (t.testo == u"&")
            op = Op::Concat;
        else if (t.testo == u"+")
            op = Op::Piu;
        else if (t.testo == u"-")
            op = Op::Meno;
        else if (t.testo == u"/")
            op = Op::Diviso;
        else if (t.testo == u"\\")
            op = Op::DivisioneIntera;
        else if (t.testo == u"^")
            op = Op::Potenza;
        else if (t.testo == u"*") {
            if (!u.empty() && u.back().tipo == Unita::Operando && !u.back().eLetterale &&
                u.back().testo.endsWith(u'.')) {
                u.back().testo += t.testo; // Alias.*
                return;
            }
            op = Op::Per;
        }
        if (op == Op::Nessuno) {
            u.emplace_back(Unita::Confine, t.testo);
            return;
        }
        Unita x(Unita::Operatore, t.testo);
        x.op = op;
        u.push_back(std::move(x));
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
            (u.back().testo.endsWith(u'.') || testo == u".")) {
            u.back().testo += testo;
            u.back().eNumero = false;
            return;
        }
        u.emplace_back(Unita::Operando, testo);
    }

    static void descriviArgomento(const std::vector<Unita> &u, Argomento &a)
    {
        std::vector<const Unita *> pieni;
        for (const Unita &x : u)
            if (x.tipo != Unita::Spazio)
                pieni.push_back(&x);
        if (pieni.size() == 1 && pieni[0]->eLetterale) {
            a.stringa = true;
            a.valore = pieni[0]->letterale;
        } else if (pieni.size() == 1 && pieni[0]->eNumero) {
            a.numero = true;
            a.valore = pieni[0]->testo;
        } else if (pieni.size() == 2 && pieni[1]->eNumero && pieni[0]->tipo == Unita::Operatore &&
                   (pieni[0]->op == Op::Meno || pieni[0]->op == Op::Piu)) {
            a.numero = true;
            a.valore = pieni[0]->testo + pieni[1]->testo;
        }
    }

    // DISTINCTROW leaves out rows of the same records of the tables whose
    // fields are shown: nothing to do with one table, or when every table
    // shows its fields; otherwise it cannot be said in these engines' SQL.
    void controllaDistinctrow(const Select &sel, size_t fine) const
    {
        QString testo;
        for (size_t k = sel.token; k < fine && k < tok.size(); ++k)
            testo += tok[k].testo;
        const AnalisiSelect a = Analizza(testo);
        if (a.tabelle.size() <= 1)
            return;
        QSet<QString> mostrate;
        for (const VoceSelect &v : a.voci) {
            if (v.espressione || v.qualifica.isEmpty()) {
                mostrate.clear();
                break;
            }
            mostrate.insert(v.qualifica.toLower());
        }
        bool tutte = !mostrate.isEmpty();
        for (const TabellaFrom &t : a.tabelle)
            tutte = tutte && mostrate.contains(t.alias.toLower());
        if (!tutte)
            Rifiuta(ErroreNonTradotto,
                    QStringLiteral(
                        "Istruzione SQL non eseguibile: DISTINCTROW su più tabelle non è supportato su "
                        "questo database (usare DISTINCT sui campi che identificano le righe)."));
    }

    void applicaTop(const std::vector<Unita> &u, const Select &sel, const std::vector<int> &posizione,
                    QString &out) const;
};

// Appends the limit of TOP n. Without ORDER BY any n rows; with it, the rows
// tied with the n-th are kept: PostgreSQL says so (WITH TIES), SQLite counts
// them with rank() over the same FROM and WHERE.
void Traduttore::applicaTop(const std::vector<Unita> &u, const Select &sel, const std::vector<int> &posizione,
                            QString &out) const
{
    if (sel.unione)
        Rifiuta(ErroreNonTradotto,
                QStringLiteral(
                    "Istruzione SQL non eseguibile: TOP in una UNION non è supportato su questo database."));
    const QString n = QString::number(sel.top);
    size_t from = u.size(), order = u.size();
    for (size_t k = sel.unitaLista; k < u.size(); ++k) {
        if (u[k].tipo != Unita::Confine)
            continue;
        if (from == u.size() && u[k].testo.compare(u"from", Qt::CaseInsensitive) == 0)
            from = k;
        else if (u[k].testo.compare(u"order", Qt::CaseInsensitive) == 0)
            order = k;
    }
    while (out.endsWith(u' ') || out.endsWith(u'\n') || out.endsWith(u'\t') || out.endsWith(u'\r'))
        out.chop(1);
    if (order == u.size() || from > order) {
        out += QStringLiteral(" LIMIT ") + n;
        return;
    }
    if (sel.distinct)
        Rifiuta(ErroreNonTradotto,
                QStringLiteral("Istruzione SQL non eseguibile: DISTINCT con TOP e ORDER BY non è "
                               "supportato su questo database."));
    if (pg()) {
        out += QStringLiteral(" FETCH FIRST %1 ROWS WITH TIES").arg(n);
        return;
    }
    // Text of the units [a, b) as written, from the positions of the Confine units around them.
    auto tratto = [&](size_t a, size_t b) {
        const int da = a == 0 ? 0 : posizione[a - 1] + int(u[a - 1].testo.size());
        const int a2 = b < u.size() ? posizione[b] : int(out.size());
        return out.mid(da, a2 - da).trimmed();
    };
    // The select list: the expression and the alias of each item.
    struct Voce {
        QString espressione, alias;
    };
    std::vector<Voce> voci;
    {
        size_t a = sel.unitaLista, as = u.size();
        for (size_t k = sel.unitaLista; k <= from; ++k) {
            if (k < from && u[k].tipo == Unita::Confine &&
                u[k].testo.compare(u"as", Qt::CaseInsensitive) == 0) {
                as = k;
            } else if (k == from || (u[k].tipo == Unita::Confine && u[k].testo == u",")) {
                voci.push_back({tratto(a, as < k ? as : k), as < k ? tratto(as + 1, k) : QString()});
                a = k + 1;
                as = u.size();
            }
        }
    }
    size_t by = order + 1;
    while (by < u.size() && u[by].tipo != Unita::Confine)
        ++by;
    QString chiavi;
    size_t a = by + 1;
    for (size_t k = by + 1; k <= u.size(); ++k) {
        if (k < u.size() && !(u[k].tipo == Unita::Confine && u[k].testo == u","))
            continue;
        size_t fineEspr = k;
        QString verso;
        for (size_t h = a; h < k; ++h)
            if (u[h].tipo == Unita::Confine && (u[h].testo.compare(u"asc", Qt::CaseInsensitive) == 0 ||
                                                u[h].testo.compare(u"desc", Qt::CaseInsensitive) == 0)) {
                fineEspr = h;
                verso = u' ' + u[h].testo;
            }
        QString e = tratto(a, fineEspr);
        bool ordinale = false;
        const int indice = e.toInt(&ordinale);
        if (ordinale) {
            if (indice < 1 || indice > int(voci.size()) ||
                voci[size_t(indice - 1)].espressione.endsWith(u'*'))
                Rifiuta(ErroreNonTradotto,
                        QStringLiteral("Istruzione SQL non eseguibile: TOP con ORDER BY %1 non è "
                                       "supportato su questo database.")
                            .arg(e));
            e = voci[size_t(indice - 1)].espressione;
        } else {
            for (const Voce &v : voci)
                if (!v.alias.isEmpty() && v.alias.compare(e, Qt::CaseInsensitive) == 0)
                    e = v.espressione;
        }
        chiavi += (chiavi.isEmpty() ? QString() : QStringLiteral(", ")) + e + verso;
        a = k + 1;
    }
    const QString resto = out.mid(posizione[from], posizione[order] - posizione[from]).trimmed();
    out += QStringLiteral(" LIMIT (SELECT count(*) FROM (SELECT rank() OVER (ORDER BY %1) AS dbm_rango %2) "
                          "WHERE dbm_rango <= %3)")
               .arg(chiavi, resto, n);
}

} // namespace

QString NomeQuotato(const QString &nome, Dialetto d)
{
    // PostgreSQL folds unquoted names to lower case, and the schema writes its
    // names unquoted, except those that begin with a digit (quoted as written).
    const QString n =
        d == Dialetto::PostgreSQL && !(nome.size() > 0 && nome[0].isDigit()) ? nome.toLower() : nome;
    return u'"' + QString(n).replace(u'"', QLatin1String("\"\"")) + u'"';
}

QString Traduci(const QString &jet, Dialetto dialetto, const Opzioni &opzioni)
{
    const std::vector<Token> t = Tokenizza(jet);
    Traduttore tr(t, dialetto, opzioni);
    return tr.traduci();
}

} // namespace JetSql
