// Jet expressions inside one segment of a statement: the operators by Jet's
// precedence (^, unary sign, * and /, \, Mod, + and -, &) and x [Not] Like p,
// written for each engine. Chains of one level are kept flat and written in
// one pass, so the work grows with the length of the text.
#include "components/db/JetInterno.h"

namespace JetSql::Interno
{

namespace
{

// A non-blank unit of the segment, with the blanks written before it.
struct Voce {
    const Unita *u;
    QString spazio;
};

int livello(Op op)
{
    switch (op) {
    case Op::Concat:
        return 1;
    case Op::Piu:
    case Op::Meno:
        return 2;
    case Op::Mod:
        return 3;
    case Op::DivisioneIntera:
        return 4;
    case Op::Per:
    case Op::Diviso:
        return 5;
    case Op::Potenza:
        return 7;
    case Op::Nessuno:
        break;
    }
    return 0;
}

constexpr int LivelloSegno = 6;

class Espressione
{
  public:
    Espressione(const std::vector<Voce> &v, Dialetto d) : voci(v), dia(d) {}

    // True when an operand can start at p (after any signs).
    bool puoIniziare(size_t p) const
    {
        while (p < voci.size() && segno(p))
            ++p;
        return p < voci.size() && voci[p].u->tipo == Unita::Operando;
    }

    // Reads one expression from p (which puoIniziare); answers its node.
    int leggi(size_t &p) { return catena(p, 1); }

    // Writes node n; the blanks before its first unit are the caller's.
    void scrivi(int n, QString &out) const;

  private:
    struct Nodo {
        int livello = 0;        // 0: an operand; LivelloSegno: signs before a node; else a chain
        size_t voce = 0;        // operand: its unit; chain and signs: their first unit
        std::vector<int> figli; // chain: the operands; signs: the one node signed
        std::vector<size_t>
            operatori; // chain: the operator between figli[k] and figli[k+1]; signs: each sign
    };
    const std::vector<Voce> &voci;
    Dialetto dia;
    std::vector<Nodo> nodi;

    bool pg() const { return dia == Dialetto::PostgreSQL; }
    bool segno(size_t p) const
    {
        const Unita &x = *voci[p].u;
        return x.tipo == Unita::Operatore && (x.op == Op::Piu || x.op == Op::Meno);
    }
    bool operatoreDi(size_t p, int l) const
    {
        return p < voci.size() && voci[p].u->tipo == Unita::Operatore && livello(voci[p].u->op) == l &&
               puoIniziare(p + 1);
    }

    int nuovo(Nodo n)
    {
        nodi.push_back(std::move(n));
        return int(nodi.size()) - 1;
    }

    int catena(size_t &p, int l)
    {
        if (l == LivelloSegno)
            return conSegni(p, 7);
        if (l == 7)
            return potenze(p);
        const size_t primo = p;
        const int a = catena(p, l + 1);
        if (!operatoreDi(p, l))
            return a;
        Nodo n;
        n.livello = l;
        n.voce = primo;
        n.figli.push_back(a);
        while (operatoreDi(p, l)) {
            n.operatori.push_back(p++);
            n.figli.push_back(catena(p, l + 1));
        }
        return nuovo(std::move(n));
    }

    // Signs before an operand or, in Jet, before a whole power: -2 ^ 2 is -4.
    int conSegni(size_t &p, int l)
    {
        if (!segno(p))
            return l == 7 ? potenze(p) : operando(p);
        Nodo n;
        n.livello = LivelloSegno;
        n.voce = p;
        while (segno(p))
            n.operatori.push_back(p++);
        n.figli.push_back(l == 7 ? potenze(p) : operando(p));
        return nuovo(std::move(n));
    }

    int potenze(size_t &p)
    {
        const size_t primo = p;
        const int a = operando(p);
        if (!operatoreDi(p, 7))
            return a;
        Nodo n;
        n.livello = 7;
        n.voce = primo;
        n.figli.push_back(a);
        while (operatoreDi(p, 7)) {
            n.operatori.push_back(p++);
            n.figli.push_back(conSegni(p, 0)); // 2 ^ -1
        }
        return nuovo(std::move(n));
    }

    int operando(size_t &p)
    {
        Nodo n;
        n.voce = p++;
        return nuovo(std::move(n));
    }

    bool iniziaConMeno(int n) const
    {
        const Nodo &x = nodi[size_t(n)];
        if (x.livello == 0)
            return voci[x.voce].u->testo.startsWith(u'-');
        if (x.livello == LivelloSegno)
            return voci[x.operatori.front()].u->op == Op::Meno;
        if (x.livello == 5)
            for (size_t o : x.operatori)
                if (voci[o].u->op == Op::Diviso)
                    return false; // written as a call
        if (x.livello == 2 || x.livello == 5)
            return iniziaConMeno(x.figli.front());
        return false;
    }

    void scriviCatena(const Nodo &n, QString &out) const;
    void scriviPassante(const Nodo &n, QString &out) const;
};

void Espressione::scrivi(int indice, QString &out) const
{
    const Nodo &n = nodi[size_t(indice)];
    if (n.livello == 0) {
        out += voci[n.voce].u->testo;
        return;
    }
    if (n.livello == LivelloSegno) {
        for (size_t k = 0; k < n.operatori.size(); ++k) {
            const Voce &v = voci[n.operatori[k]];
            if (k > 0)
                out += v.spazio;
            // "- -1" must not become "--1", which both engines read as a comment.
            if (out.endsWith(u'-') && v.u->op == Op::Meno)
                out += u' ';
            out += v.u->testo;
        }
        const Voce &dopo = voci[nodi[size_t(n.figli.front())].voce];
        out += dopo.spazio;
        if (out.endsWith(u'-') && iniziaConMeno(n.figli.front()))
            out += u' ';
        scrivi(n.figli.front(), out);
        return;
    }
    scriviCatena(n, out);
}

// + - and * as written, with their blanks.
void Espressione::scriviPassante(const Nodo &n, QString &out) const
{
    scrivi(n.figli[0], out);
    for (size_t k = 0; k < n.operatori.size(); ++k) {
        const Voce &op = voci[n.operatori[k]];
        out += op.spazio;
        out += op.u->testo;
        out += voci[nodi[size_t(n.figli[k + 1])].voce].spazio;
        if (out.endsWith(u'-') && iniziaConMeno(n.figli[k + 1]))
            out += u' ';
        scrivi(n.figli[k + 1], out);
    }
}

void Espressione::scriviCatena(const Nodo &n, QString &out) const
{
    const size_t quanti = n.operatori.size();
    switch (n.livello) {
    case 1: {
        // Jet's & takes Null for "" and joins texts; the result compares without regard to case.
        out += pg() ? QStringLiteral("CAST(") : QStringLiteral("(");
        for (size_t k = 0; k < n.figli.size(); ++k) {
            if (k)
                out += QStringLiteral(" || ");
            out += pg() ? QStringLiteral("COALESCE(CAST(") : QStringLiteral("COALESCE(");
            scrivi(n.figli[k], out);
            out += pg() ? QStringLiteral(" AS TEXT), '')") : QStringLiteral(", '')");
        }
        out += pg() ? QStringLiteral(" AS citext)") : QStringLiteral(") COLLATE NOCASE");
        return;
    }
    case 2:
        scriviPassante(n, out);
        return;
    case 5: {
        // Jet's / always divides as fractions (7 / 2 is 3.5), and stops on a zero divisor.
        size_t divisioni = 0;
        for (size_t o : n.operatori)
            divisioni += voci[o].u->op == Op::Diviso ? 1 : 0;
        if (divisioni == 0) {
            scriviPassante(n, out);
            return;
        }
        for (size_t k = 0; k < divisioni; ++k)
            out += pg() ? QStringLiteral("CAST(") : QStringLiteral("jetdiv(");
        scrivi(n.figli[0], out);
        for (size_t k = 0; k < quanti; ++k) {
            const Voce &op = voci[n.operatori[k]];
            if (op.u->op == Op::Diviso) {
                out += pg() ? QStringLiteral(" AS DOUBLE PRECISION) / ") : QStringLiteral(", ");
                scrivi(n.figli[k + 1], out);
                if (!pg())
                    out += u')';
            } else {
                out += op.spazio + op.u->testo + voci[nodi[size_t(n.figli[k + 1])].voce].spazio;
                scrivi(n.figli[k + 1], out);
            }
        }
        return;
    }
    case 3:
    case 4: {
        // \ and Mod round both operands to whole numbers (half to even) first.
        const bool mod = n.livello == 3;
        const QString intero = QStringLiteral(" AS DOUBLE PRECISION) AS BIGINT)");
        for (size_t k = 0; k < quanti; ++k)
            out += pg() ? QStringLiteral("(CAST(CAST(")
                        : (mod ? QStringLiteral("jetmod(") : QStringLiteral("jetintdiv("));
        scrivi(n.figli[0], out);
        for (size_t k = 0; k < quanti; ++k) {
            if (pg()) {
                out += intero + (mod ? QStringLiteral(" % CAST(CAST(") : QStringLiteral(" / CAST(CAST("));
                scrivi(n.figli[k + 1], out);
                out += intero + u')';
            } else {
                out += QStringLiteral(", ");
                scrivi(n.figli[k + 1], out);
                out += u')';
            }
        }
        return;
    }
    case 7:
        for (size_t k = 0; k < quanti; ++k)
            out += pg() ? QStringLiteral("power(CAST(") : QStringLiteral("pow(");
        scrivi(n.figli[0], out);
        for (size_t k = 0; k < quanti; ++k) {
            out += pg() ? QStringLiteral(" AS DOUBLE PRECISION), ") : QStringLiteral(", ");
            scrivi(n.figli[k + 1], out);
            out += u')';
        }
        return;
    default:
        scriviPassante(n, out);
    }
}

// A Jet LIKE pattern that is not a literal, turned into an anchored regular
// expression by PostgreSQL itself: classes [..] and [!..] become bracket
// expressions, the rest has its special characters escaped and *, ?, #
// become .*, . and [0-9]. Null stays Null.
QString regexPg(const QString &modello)
{
    const QString speciali = QStringLiteral("regexp_replace(%1, '([.^$+(){}|\\\\\\[\\]])', '\\\\\\1', 'g')");
    const QString semplice =
        QStringLiteral("replace(replace(replace(%1, '*', '.*'), '?', '.'), '#', '[0-9]')")
            .arg(speciali.arg("m.p[1]"));
    const QString classe = QStringLiteral(
        "'[' || CASE WHEN left(m.p[1], 2) = '[!' THEN '^' || regexp_replace(substr(m.p[1], 3, length(m.p[1]) "
        "- 3), "
        "'([\\\\\\[\\]^])', '\\\\\\1', 'g') ELSE regexp_replace(substr(m.p[1], 2, length(m.p[1]) - 2), "
        "'([\\\\\\[\\]^])', '\\\\\\1', 'g') END || ']'");
    return QStringLiteral(
               "(SELECT CASE WHEN v.r IS NULL THEN NULL ELSE '^' || COALESCE((SELECT string_agg(CASE WHEN "
               "m.p[1] ~ '^\\[.+\\]$' THEN %1 ELSE %2 END, '' ORDER BY m.n) FROM regexp_matches(v.r, "
               "'(\\[[^]]+\\]|[^[]+|\\[)', 'g') WITH ORDINALITY AS m(p, n)), '') || '$' END FROM (SELECT "
               "CAST(%3 AS TEXT) AS r) AS v)")
        .arg(classe, semplice, modello);
}

// Only ASCII letters: SQLite's LIKE ignores case for those alone.
bool soloAscii(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() > 127)
            return false;
    return true;
}

QString like(const QString &sinistra, const QString &destra, const QString *letterale, bool negato,
             Dialetto d)
{
    const bool pg = d == Dialetto::PostgreSQL;
    QString schema;
    if (letterale && PatternLike(*letterale, schema) && (pg || soloAscii(*letterale)))
        return QStringLiteral("%1 %2%3 %4 ESCAPE '\\'")
            .arg(sinistra, negato ? "NOT " : "", pg ? "ILIKE" : "LIKE", LetteraleSql(schema));
    if (pg && letterale)
        return QStringLiteral("CAST(%1 AS TEXT) %2 %3")
            .arg(sinistra, negato ? "!~*" : "~*", LetteraleSql(PatternRegex(*letterale)));
    if (pg)
        return QStringLiteral("%1CAST(%2 AS TEXT) ~* %3")
            .arg(negato ? "NOT " : "", sinistra, regexPg(destra));
    return QStringLiteral("%1jetlike(%2, %3)").arg(negato ? "NOT " : "", sinistra, destra);
}

} // namespace

void RendiSegmento(const std::vector<Unita> &u, size_t a, size_t b, bool condizione, Dialetto d, QString &out)
{
    std::vector<Voce> voci;
    QString spazio;
    for (size_t k = a; k < b; ++k) {
        if (u[k].tipo == Unita::Spazio) {
            spazio += u[k].testo;
            continue;
        }
        voci.push_back({&u[k], spazio});
        spazio.clear();
    }
    // Where a condition is expected, a lone Jet Boolean (after any Not) keeps its condition form.
    if (condizione) {
        size_t k = 0;
        while (k < voci.size() && voci[k].u->tipo == Unita::Not)
            ++k;
        if (k + 1 == voci.size() && voci[k].u->tipo == Unita::Operando && !voci[k].u->condizione.isEmpty()) {
            for (size_t h = 0; h < voci.size(); ++h)
                out += voci[h].spazio + (h == k ? voci[h].u->condizione : voci[h].u->testo);
            out += spazio;
            return;
        }
    }
    Espressione e(voci, d);
    size_t p = 0;
    // A value standing as a condition is true when not zero, as in Jet;
    // PostgreSQL wants a boolean there.
    if (condizione && d == Dialetto::PostgreSQL) {
        while (p < voci.size() && voci[p].u->tipo == Unita::Not)
            ++p;
        size_t q = p;
        if (e.puoIniziare(q)) {
            const int n = e.leggi(q);
            if (q == voci.size()) {
                for (size_t h = 0; h < p; ++h)
                    out += voci[h].spazio + voci[h].u->testo;
                out += voci[p].spazio + u'(';
                e.scrivi(n, out);
                out += QStringLiteral(" <> 0)") + spazio;
                return;
            }
        }
        p = 0;
    }
    while (p < voci.size()) {
        if (!e.puoIniziare(p)) {
            out += voci[p].spazio + voci[p].u->testo;
            ++p;
            continue;
        }
        const size_t inizio = p;
        const int sinistra = e.leggi(p);
        size_t q = p;
        const bool negato =
            q + 1 < voci.size() && voci[q].u->tipo == Unita::Not && voci[q + 1].u->tipo == Unita::Like;
        if (negato)
            ++q;
        if (q < voci.size() && voci[q].u->tipo == Unita::Like && e.puoIniziare(q + 1)) {
            QString testoSinistra, testoDestra;
            e.scrivi(sinistra, testoSinistra);
            size_t r = q + 1;
            const int destra = e.leggi(r);
            e.scrivi(destra, testoDestra);
            const Unita &primaDestra = *voci[q + 1].u;
            const bool letterale = r == q + 2 && primaDestra.eLetterale;
            out += voci[inizio].spazio;
            out += like(testoSinistra, testoDestra, letterale ? &primaDestra.letterale : nullptr, negato, d);
            p = r;
            continue;
        }
        out += voci[inizio].spazio;
        e.scrivi(sinistra, out);
    }
    out += spazio;
}

} // namespace JetSql::Interno
