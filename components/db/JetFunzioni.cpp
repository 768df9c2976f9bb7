// Jet functions and #date# literals for each engine. SQLite gets the
// functions FunzioniSqlite registers; PostgreSQL gets expressions of its own
// that give the same answers (a sub-select names an argument used twice, so
// no argument is ever written more than once).
#include "components/db/JetInterno.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>
#include <QTime>

namespace JetSql::Interno
{

namespace
{

const QSet<QString> &tradotte()
{
    static const QSet<QString> s = {"isnull", "nz",   "iif",   "isnumeric", "mid",  "len",  "ucase",
                                    "lcase",  "trim", "ltrim", "rtrim",     "val",  "left", "right",
                                    "instr",  "cstr", "cint",  "clng",      "cdbl", "year", "month",
                                    "day",    "date", "now",   "int",       "fix",  "sgn",  "abs"};
    return s;
}

// Jet and VBA functions a query may name that are not translated.
const QSet<QString> &nonTradotte()
{
    static const QSet<QString> s = {"format",
                                    "formatnumber",
                                    "formatcurrency",
                                    "formatdatetime",
                                    "formatpercent",
                                    "dateadd",
                                    "datediff",
                                    "datepart",
                                    "dateserial",
                                    "datevalue",
                                    "timeserial",
                                    "timevalue",
                                    "time",
                                    "timer",
                                    "weekday",
                                    "weekdayname",
                                    "monthname",
                                    "hour",
                                    "minute",
                                    "second",
                                    "cdate",
                                    "cvdate",
                                    "ccur",
                                    "csng",
                                    "cbyte",
                                    "cbool",
                                    "cvar",
                                    "cdec",
                                    "strcomp",
                                    "strconv",
                                    "strreverse",
                                    "replace",
                                    "space",
                                    "string",
                                    "chr",
                                    "chrw",
                                    "asc",
                                    "ascw",
                                    "hex",
                                    "oct",
                                    "sqr",
                                    "exp",
                                    "log",
                                    "atn",
                                    "sin",
                                    "cos",
                                    "tan",
                                    "rnd",
                                    "round",
                                    "instrrev",
                                    "switch",
                                    "choose",
                                    "partition",
                                    "isdate",
                                    "isempty",
                                    "iserror",
                                    "dlookup",
                                    "dsum",
                                    "dcount",
                                    "davg",
                                    "dmin",
                                    "dmax",
                                    "dfirst",
                                    "dlast",
                                    "first",
                                    "last",
                                    "stdev",
                                    "stdevp",
                                    "var",
                                    "varp",
                                    "eval",
                                    "typename",
                                    "vartype",
                                    "nullif"};
    return s;
}

[[noreturn]] void argomentiErrati(const QString &f)
{
    Rifiuta(
        ErroreEspressione,
        QStringLiteral("Istruzione SQL non valida: numero di argomenti errato per la funzione '%1'.").arg(f));
}

[[noreturn]] void argomentoNonValido(const QString &f, const QString &valore)
{
    Rifiuta(ErroreEspressione,
            QStringLiteral("Istruzione SQL non valida: argomento %1 non valido per la funzione '%2'.")
                .arg(valore, f));
}

// A whole-number argument that Jet wants at least `minimo`: a literal is
// checked now; on PostgreSQL an expression stops the query with an error when
// it is below (SQLite's functions check it themselves).
QString almeno(const Argomento &a, long long minimo, const QString &f, bool pg)
{
    if (a.numero) {
        if (a.valore.toDouble() < double(minimo))
            argomentoNonValido(f, a.valore);
        return a.testo;
    }
    if (!pg)
        return a.testo;
    // concat() is not folded while planning, so the error comes only from a row that has it.
    return QStringLiteral("(SELECT CASE WHEN v.n >= ") + QString::number(minimo) +
           QStringLiteral(" THEN v.n ELSE CAST(concat('") + f +
           QStringLiteral(": argomento non valido ', v.n) AS INTEGER) END FROM (SELECT CAST(") + a.testo +
           QStringLiteral(" AS INTEGER) AS n) AS v)");
}

QString escapeRegex(const QString &s)
{
    QString r;
    for (const QChar c : s) {
        if (QStringLiteral("\\.^$*+?()[]{}|").contains(c))
            r += u'\\';
        r += c;
    }
    return r;
}

// Jet's Val on PostgreSQL: blanks anywhere dropped; &H and &O read as
// Integer or Long (16 or 32 bits, with sign) or overflow (an error naming the
// text, through concat() so that planning does not raise it); otherwise the
// leading decimal number, with e or d before an exponent; 0 when none.
QString valPg(const QString &x)
{
    return QStringLiteral(
               "(SELECT CASE WHEN w.s IS NULL THEN NULL "
               "WHEN w.base IS NULL THEN COALESCE(CAST(translate(substring(w.s from "
               "'^([-+]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eEdD][-+]?[0-9]+)?)'), 'dD', 'ee') AS DOUBLE "
               "PRECISION), 0) "
               "WHEN w.u > 4294967295 THEN CAST(concat(w.s) AS INTEGER) "
               "WHEN w.u > 65535 THEN CASE WHEN w.u >= 2147483648 THEN w.u - 4294967296 ELSE w.u END "
               "WHEN w.u >= 32768 THEN w.u - 65536 ELSE w.u END "
               "FROM (SELECT v.s, v.base, COALESCE((SELECT sum((strpos('0123456789abcdef', lower(c.d)) - 1) "
               "* "
               "power(CAST(v.base AS NUMERIC), length(v.cifre) - c.k)) FROM regexp_split_to_table(v.cifre, "
               "'') "
               "WITH ORDINALITY AS c(d, k)), 0) AS u "
               "FROM (SELECT t.s, CASE WHEN t.s ~ '^&[hH]' THEN 16 WHEN t.s ~ '^&[oO]' THEN 8 END AS base, "
               "CASE WHEN t.s ~ '^&[hH]' THEN substring(t.s from '^&[hH]([0-9a-fA-F]*)') "
               "ELSE substring(t.s from '^&[oO]([0-7]*)') END AS cifre "
               "FROM (SELECT regexp_replace(CAST(") +
           x + QStringLiteral(" AS TEXT), '[ \\t\\r\\n]', '', 'g') AS s) AS t) AS v) AS w)");
}

QString instr(const std::vector<Argomento> &a, bool pg)
{
    const QString f = QStringLiteral("InStr");
    if (a.size() < 2 || a.size() > 4)
        argomentiErrati(f);
    const bool conInizio = a.size() >= 3;
    const QString inizio = conInizio ? almeno(a[0], 1, f, false) : QStringLiteral("1");
    const Argomento &s1 = a[conInizio ? 1 : 0];
    const Argomento &s2 = a[conInizio ? 2 : 1];
    // Jet compares as text (without regard to case) unless told 0 (binary).
    bool testo = true;
    if (a.size() == 4) {
        if (!a[3].numero || (a[3].valore != u"0" && a[3].valore != u"1" && a[3].valore != u"2"))
            Rifiuta(ErroreNonTradotto,
                    QStringLiteral("Istruzione SQL non eseguibile: InStr vuole come confronto 0, 1 "
                                   "o 2 scritto nel testo."));
        testo = a[3].valore != u"0";
    }
    if (!pg)
        return QStringLiteral("jetinstr(") + inizio + QStringLiteral(", ") + s1.testo + QStringLiteral(", ") +
               s2.testo + (testo ? QStringLiteral(", 1)") : QStringLiteral(", 0)"));
    // The look-ahead makes an empty text found only where a character follows, as in Jet.
    const QString modello = s2.stringa
                                ? LetteraleSql(QStringLiteral("(?=.)") + escapeRegex(s2.valore))
                                : QStringLiteral("'(?=.)' || regexp_replace(CAST(") + s2.testo +
                                      QStringLiteral(" AS TEXT), '([.^$*+?()[\\]{}|\\\\])', '\\\\\\1', 'g')");
    return QStringLiteral("regexp_instr(CAST(") + s1.testo + QStringLiteral(" AS TEXT), ") + modello +
           QStringLiteral(", ") + (conInizio ? almeno(a[0], 1, f, true) : inizio) +
           (testo ? QStringLiteral(", 1, 0, 'i')") : QStringLiteral(", 1, 0, 'c')"));
}

} // namespace

bool FunzioneNonTradotta(const QString &nome)
{
    return nonTradotte().contains(nome);
}
bool FunzioneTradotta(const QString &nome)
{
    return tradotte().contains(nome);
}

QString Funzione(const QString &f, const std::vector<Argomento> &a, Dialetto d, QString &condizione)
{
    const bool pg = d == Dialetto::PostgreSQL;
    const size_t n = a.size();
    auto arita = [&](size_t minimo, size_t massimo) {
        if (n < minimo || n > massimo)
            argomentiErrati(f);
    };
    auto testo = [&](size_t k) {
        return pg ? QStringLiteral("CAST(") + a[k].testo + QStringLiteral(" AS TEXT)") : a[k].testo;
    };
    auto chiama = [&](const QString &nome, const QString &x) { return nome + u'(' + x + u')'; };
    // A text result compares without regard to case, as Jet compares every text.
    auto senzaCaso = [&](const QString &x) {
        return pg ? QStringLiteral("CAST(") + x + QStringLiteral(" AS citext)")
                  : x + QStringLiteral(" COLLATE NOCASE");
    };

    if (f == u"isnull") {
        arita(1, 2);
        if (n == 2)
            return QStringLiteral("COALESCE(") + a[0].testo + QStringLiteral(", ") + a[1].testo + u')';
        condizione = QStringLiteral("(") + a[0].testo + QStringLiteral(" IS NULL)");
        return QStringLiteral("(CASE WHEN ") + a[0].testo + QStringLiteral(" IS NULL THEN -1 ELSE 0 END)");
    }
    if (f == u"nz") {
        arita(1, 2);
        const QString r = QStringLiteral("COALESCE(") + a[0].testo + QStringLiteral(", ") +
                          (n == 2 ? a[1].testo : QStringLiteral("''")) + u')';
        return pg ? r : r + QStringLiteral(" COLLATE NOCASE");
    }
    if (f == u"iif") {
        arita(3, 3);
        if (pg)
            return QStringLiteral("(CASE WHEN ") + a[0].testo + QStringLiteral(" THEN ") + a[1].testo +
                   QStringLiteral(" ELSE ") + a[2].testo + QStringLiteral(" END)");
        return QStringLiteral("iif(") + a[0].testo + QStringLiteral(", ") + a[1].testo +
               QStringLiteral(", ") + a[2].testo + QStringLiteral(") COLLATE NOCASE");
    }
    if (f == u"isnumeric") {
        arita(1, 1);
        if (!pg)
            return chiama(QStringLiteral("isnumeric"), a[0].testo);
        const QString prova =
            QStringLiteral("CAST(") + a[0].testo +
            QStringLiteral(" AS TEXT) ~ '^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][-+]?[0-9]+)?\\s*$'");
        condizione = u'(' + prova + u')';
        return QStringLiteral("(CASE WHEN ") + prova + QStringLiteral(" THEN -1 ELSE 0 END)");
    }
    if (f == u"mid") {
        arita(2, 3);
        QString r = (pg ? QStringLiteral("substr(") : QStringLiteral("jetmid(")) + testo(0) +
                    QStringLiteral(", ") + almeno(a[1], 1, QStringLiteral("Mid"), pg);
        if (n == 3)
            r += QStringLiteral(", ") + almeno(a[2], 0, QStringLiteral("Mid"), pg);
        return senzaCaso(r + u')');
    }
    if (f == u"left" || f == u"right") {
        arita(2, 2);
        const QString nome = f == u"left" ? QStringLiteral("Left") : QStringLiteral("Right");
        const QString lunghezza = almeno(a[1], 0, nome, pg);
        if (pg)
            return senzaCaso(f + u'(' + testo(0) + QStringLiteral(", ") + lunghezza + u')');
        return senzaCaso(QStringLiteral("jet") + f + u'(' + a[0].testo + QStringLiteral(", ") + lunghezza +
                         u')');
    }
    if (f == u"len") {
        arita(1, 1);
        return chiama(QStringLiteral("length"), testo(0));
    }
    if (f == u"ucase" || f == u"lcase") {
        arita(1, 1);
        if (pg)
            return senzaCaso(
                chiama(f == u"ucase" ? QStringLiteral("upper") : QStringLiteral("lower"), testo(0)));
        return senzaCaso(chiama(f, a[0].testo));
    }
    if (f == u"trim" || f == u"ltrim" || f == u"rtrim") {
        arita(1, 1);
        return senzaCaso(chiama(f, testo(0)));
    }
    if (f == u"val") {
        arita(1, 1);
        return pg ? valPg(a[0].testo) : chiama(QStringLiteral("val"), a[0].testo);
    }
    if (f == u"instr")
        return instr(a, pg);
    if (f == u"cstr") {
        arita(1, 1);
        return pg ? QStringLiteral("CAST(") + a[0].testo + QStringLiteral(" AS citext)")
                  : senzaCaso(QStringLiteral("CAST(") + a[0].testo + QStringLiteral(" AS TEXT)"));
    }
    if (f == u"cint" || f == u"clng") {
        // Half rounds to even (CInt(2.5) is 2, CInt(3.5) is 4); out of range is an overflow.
        arita(1, 1);
        if (!pg)
            return chiama(f, a[0].testo);
        return QStringLiteral("CAST(CAST(") + a[0].testo + QStringLiteral(" AS DOUBLE PRECISION) AS ") +
               (f == u"cint" ? QStringLiteral("SMALLINT)") : QStringLiteral("INTEGER)"));
    }
    if (f == u"cdbl") {
        arita(1, 1);
        return pg ? QStringLiteral("CAST(") + a[0].testo + QStringLiteral(" AS DOUBLE PRECISION)")
                  : chiama(QStringLiteral("cdbl"), a[0].testo);
    }
    if (f == u"year" || f == u"month" || f == u"day") {
        arita(1, 1);
        if (!pg)
            return chiama(f, a[0].testo);
        return QStringLiteral("CAST(EXTRACT(") + f.toUpper() + QStringLiteral(" FROM CAST(") + a[0].testo +
               QStringLiteral(" AS DATE)) AS INTEGER)");
    }
    if (f == u"date" || f == u"now") {
        arita(0, 0);
        if (f == u"date")
            return pg ? QStringLiteral("CURRENT_DATE") : QStringLiteral("date('now', 'localtime')");
        return pg ? QStringLiteral("LOCALTIMESTAMP(0)") : QStringLiteral("datetime('now', 'localtime')");
    }
    // Int rounds down, Fix towards zero, Sgn answers -1, 0 or 1.
    arita(1, 1);
    if (f == u"int")
        return chiama(QStringLiteral("floor"), a[0].testo);
    if (f == u"fix")
        return chiama(QStringLiteral("trunc"), a[0].testo);
    if (f == u"sgn")
        return chiama(QStringLiteral("sign"), a[0].testo);
    return chiama(QStringLiteral("abs"), a[0].testo);
}

// #m/d/yyyy#, #yyyy-mm-dd#, each with an optional time, or a time alone (on
// 30 December 1899). As Jet does, a first number that cannot be a month is
// taken for the day (#31/12/2024#); a year of two digits is 1930-2029.
QString DataLetterale(const QString &jet, Dialetto d)
{
    static const QString ora = QStringLiteral(R"((?:(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?))");
    static const QRegularExpression reUsa(
        QStringLiteral(R"(^(\d{1,2})[/.-](\d{1,2})[/.-](\d{1,4})(?:\s+%1)?$)").arg(ora));
    static const QRegularExpression reIso(
        QStringLiteral(R"(^(\d{4})[/.-](\d{1,2})[/.-](\d{1,2})(?:(?:\s+|T)%1)?$)").arg(ora));
    static const QRegularExpression reOra(QStringLiteral("^%1$").arg(ora));
    auto nonValida = [&]() {
        Rifiuta(ErroreEspressione,
                QStringLiteral("Istruzione SQL non valida: #%1# non è una data esistente.").arg(jet));
    };
    QDate data;
    int inizioOra = 0;
    QRegularExpressionMatch m;
    if ((m = reUsa.match(jet)).hasMatch()) {
        int anno = m.captured(3).toInt();
        if (m.captured(3).size() <= 2)
            anno += anno < 30 ? 2000 : 1900;
        data = QDate(anno, m.captured(1).toInt(), m.captured(2).toInt());
        if (!data.isValid())
            data = QDate(anno, m.captured(2).toInt(), m.captured(1).toInt());
        inizioOra = 4;
    } else if ((m = reIso.match(jet)).hasMatch()) {
        data = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        inizioOra = 4;
    } else if ((m = reOra.match(jet)).hasMatch()) {
        data = QDate(1899, 12, 30);
        inizioOra = 1;
    } else {
        nonValida();
    }
    if (!data.isValid() || data.year() < 100)
        nonValida();
    QTime tempo(0, 0);
    if (!m.captured(inizioOra).isEmpty()) {
        int h = m.captured(inizioOra).toInt();
        const QString ampm = m.captured(inizioOra + 3).toLower();
        if (!ampm.isEmpty()) {
            if (h < 1 || h > 12)
                nonValida();
            h = (h % 12) + (ampm == u"pm" ? 12 : 0);
        }
        tempo = QTime(h, m.captured(inizioOra + 1).toInt(), m.captured(inizioOra + 2).toInt());
        if (!tempo.isValid())
            nonValida();
    }
    // Midnight is the date alone, so that it equals a date column on SQLite too.
    const bool conOra = tempo != QTime(0, 0);
    QString testo = data.toString(Qt::ISODate);
    if (conOra)
        testo += u' ' + tempo.toString(QStringLiteral("HH:mm:ss"));
    if (d == Dialetto::PostgreSQL)
        return (conOra ? QStringLiteral("TIMESTAMP ") : QStringLiteral("DATE ")) + LetteraleSql(testo);
    return LetteraleSql(testo);
}

} // namespace JetSql::Interno
