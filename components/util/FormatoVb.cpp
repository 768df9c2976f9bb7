// VB's Format for numbers, dates and texts, with the Italian conventions:
// "." groups thousands, "," separates decimals, Italian month and day names.
#include "components/util/FormatoVb.h"

#include <QHash>

#include <cmath>
#include <vector>

namespace FormatoVb
{

namespace
{
enum class Tipo { Cifra, Punto, Virgola, Percento, Esponente, Letterale };

struct Token {
    Tipo tipo;
    QString testo; // the placeholder, the literal, or "E+"/"E-"
};

// Walks a pattern skipping quoted texts and escaped characters.
template <typename F> void scorri(const QString &f, F &&visita)
{
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == u'"') {
            const qsizetype fine = f.indexOf(u'"', i + 1);
            visita(i, QChar(), f.mid(i + 1, (fine < 0 ? f.size() : fine) - i - 1));
            i = fine < 0 ? f.size() : fine;
        } else if (c == u'\\') {
            if (i + 1 < f.size())
                visita(i, QChar(), QString(f[i + 1]));
            ++i;
        } else {
            visita(i, c, QString());
        }
    }
}

bool cifra(QChar c)
{
    return c == u'0' || c == u'#' || c == u'^';
}

std::vector<Token> tokenNumero(const QString &sec)
{
    std::vector<Token> t;
    bool punto = false, esponente = false, cifre = false;
    for (qsizetype i = 0; i < sec.size(); ++i) {
        const QChar c = sec[i];
        if (c == u'"') {
            const qsizetype fine = sec.indexOf(u'"', i + 1);
            t.push_back({Tipo::Letterale, sec.mid(i + 1, (fine < 0 ? sec.size() : fine) - i - 1)});
            i = fine < 0 ? sec.size() : fine;
        } else if (c == u'\\') {
            if (i + 1 < sec.size())
                t.push_back({Tipo::Letterale, QString(sec[i + 1])});
            ++i;
        } else if (cifra(c)) {
            cifre = true;
            t.push_back({Tipo::Cifra, QString(c)});
        } else if (c == u'.' && !punto && !esponente) {
            punto = true;
            t.push_back({Tipo::Punto, {}});
        } else if (c == u',' && !esponente) {
            t.push_back({Tipo::Virgola, {}});
        } else if (c == u'%') {
            t.push_back({Tipo::Percento, QStringLiteral("%")});
        } else if ((c == u'E' || c == u'e') && cifre && !esponente && i + 1 < sec.size() &&
                   (sec[i + 1] == u'+' || sec[i + 1] == u'-')) {
            esponente = true;
            t.push_back({Tipo::Esponente, QString(c) + sec[i + 1]});
            ++i;
        } else {
            t.push_back({Tipo::Letterale, QString(c)});
        }
    }
    return t;
}

QString raggruppa(const QString &cifre)
{
    QString r;
    const qsizetype n = cifre.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            r += u'.';
        r += cifre[i];
    }
    return r;
}

QString letterali(const QString &sec)
{
    QString r;
    scorri(sec, [&r](qsizetype, QChar c, const QString &lett) { r += c.isNull() ? lett : QString(c); });
    return r;
}

// The section in scientific notation; rare in this program, so double precision serves.
QString scientifico(double v, const std::vector<Token> &t)
{
    int nInt = 0, nDecMax = 0, nDecMin = 0, nEsp = 0;
    bool punto = false, esp = false;
    for (const Token &k : t) {
        if (k.tipo == Tipo::Punto)
            punto = true;
        else if (k.tipo == Tipo::Esponente)
            esp = true;
        else if (k.tipo == Tipo::Cifra) {
            if (esp)
                nEsp += k.testo != u"#";
            else if (punto) {
                ++nDecMax;
                if (k.testo != u"#")
                    nDecMin = nDecMax;
            } else
                ++nInt;
        }
    }
    if (nInt == 0)
        nInt = 1;
    int e = 0;
    double m = 0;
    if (v != 0) {
        e = int(std::floor(std::log10(v))) - (nInt - 1);
        m = v / std::pow(10.0, e);
        const double arr = std::round(m * std::pow(10.0, nDecMax)) / std::pow(10.0, nDecMax);
        if (arr >= std::pow(10.0, nInt)) {
            ++e;
            m = v / std::pow(10.0, e);
        }
    }
    Decimale dm, r;
    if (!Decimale::DaDouble(m, dm) || !ArrotondaDecimale(dm, Decimale{1, nDecMax}, u'A', r) ||
        !r.AScala(nDecMax, r))
        return QString::number(v, 'E', nDecMax);
    QString testo = r.Testo();
    QString intera = testo.section(u'.', 0, 0), frazione = testo.section(u'.', 1);
    while (frazione.size() > nDecMin && frazione.endsWith(u'0'))
        frazione.chop(1);
    QString out;
    bool puntoFatto = false, espFatto = false, cifreInt = false;
    for (const Token &k : t) {
        switch (k.tipo) {
        case Tipo::Cifra:
            if (!puntoFatto && !espFatto && !cifreInt) {
                out += intera;
                cifreInt = true;
            }
            break;
        case Tipo::Punto:
            out += u',' + frazione;
            puntoFatto = true;
            break;
        case Tipo::Esponente: {
            if (!puntoFatto && !frazione.isEmpty())
                out += u',' + frazione;
            puntoFatto = true;
            QString cifreEsp = QString::number(std::abs(e)).rightJustified(nEsp, u'0');
            const QString segno = e < 0                ? QStringLiteral("-")
                                  : k.testo[1] == u'+' ? QStringLiteral("+")
                                                       : QString();
            out += k.testo[0] + segno + cifreEsp;
            espFatto = true;
            break;
        }
        case Tipo::Virgola:
            break;
        default:
            out += k.testo;
        }
    }
    return out;
}

// The tokens of a section, kept for the few formats a program uses: the same
// ones format every amount of every record shown.
const std::vector<Token> &tokenNumeroNoti(const QString &sec)
{
    thread_local QHash<QString, std::vector<Token>> noti;
    auto it = noti.constFind(sec);
    if (it != noti.constEnd())
        return *it;
    if (noti.size() >= 64)
        noti.clear();
    return *noti.insert(sec, tokenNumero(sec));
}

// One section applied to the absolute value.
QString sezione(Decimale v, const QString &sec)
{
    const std::vector<Token> &t = tokenNumeroNoti(sec);
    int percenti = 0, scala = 0;
    bool usaCaret = false, raggruppamento = false, esponente = false;
    qsizetype fineIntera = qsizetype(t.size());
    for (qsizetype i = 0; i < qsizetype(t.size()); ++i) {
        if (t[i].tipo == Tipo::Punto || t[i].tipo == Tipo::Esponente) {
            fineIntera = i;
            break;
        }
    }
    for (qsizetype i = 0; i < qsizetype(t.size()); ++i) {
        const Token &k = t[i];
        if (k.tipo == Tipo::Percento)
            ++percenti;
        else if (k.tipo == Tipo::Esponente)
            esponente = true;
        else if (k.tipo == Tipo::Cifra && k.testo == u"^")
            usaCaret = true;
        else if (k.tipo == Tipo::Virgola && i < fineIntera) {
            bool cifraDopo = false;
            for (qsizetype j = i + 1; j < fineIntera; ++j)
                cifraDopo = cifraDopo || t[j].tipo == Tipo::Cifra;
            if (cifraDopo)
                raggruppamento = true;
            else
                ++scala;
        }
    }
    if (!v.PerPotenza(2 * percenti - 3 * scala, v))
        return QString();
    if (esponente)
        return scientifico(v.ToDouble(), t);

    // Decimal placeholders: how many are shown at most and at least.
    int decMax = 0, decMin = 0;
    bool punto = false;
    std::vector<qsizetype> segnapostiInteri;
    for (qsizetype i = 0; i < qsizetype(t.size()); ++i) {
        if (t[i].tipo == Tipo::Punto)
            punto = true;
        else if (t[i].tipo == Tipo::Cifra) {
            if (punto) {
                ++decMax;
                if (t[i].testo != u"#")
                    decMin = decMax;
            } else {
                segnapostiInteri.push_back(i);
            }
        }
    }
    Decimale r;
    if (!ArrotondaDecimale(v, Decimale{1, decMax}, u'A', r) || !r.AScala(decMax, r))
        return QString();
    const QString testo = r.Testo();
    QString intera = testo.section(u'.', 0, 0), frazione = testo.section(u'.', 1);
    while (frazione.size() > decMin && frazione.endsWith(u'0'))
        frazione.chop(1);
    if (intera == u"0")
        intera.clear();

    int minimoInteri = 0;
    for (qsizetype k = 0; k < qsizetype(segnapostiInteri.size()); ++k)
        if (t[segnapostiInteri[k]].testo != u"#") {
            minimoInteri = int(segnapostiInteri.size() - k);
            break;
        }
    if (usaCaret && minimoInteri == 0 && (decMax > 0 || intera.isEmpty()))
        minimoInteri = 1;
    if (intera.size() < minimoInteri)
        intera = QString(minimoInteri - intera.size(), u'0') + intera;

    // What each integer placeholder shows, right to left; the first takes any overflow.
    std::vector<QString> assegnati(t.size());
    if (raggruppamento) {
        if (!segnapostiInteri.empty())
            assegnati[segnapostiInteri.front()] = raggruppa(intera);
    } else {
        qsizetype pos = intera.size();
        for (qsizetype k = qsizetype(segnapostiInteri.size()) - 1; k >= 0; --k) {
            if (k == 0)
                assegnati[segnapostiInteri[k]] = intera.left(pos);
            else if (pos > 0)
                assegnati[segnapostiInteri[k]] = intera.mid(--pos, 1);
        }
    }

    QString out;
    bool inDecimali = false, interaScritta = !segnapostiInteri.empty();
    qsizetype usate = 0;
    for (qsizetype i = 0; i < qsizetype(t.size()); ++i) {
        const Token &k = t[i];
        switch (k.tipo) {
        case Tipo::Cifra:
            if (!inDecimali)
                out += assegnati[i];
            else if (usate < frazione.size())
                out += frazione[usate++];
            break;
        case Tipo::Punto:
            if (!interaScritta) {
                out += raggruppamento ? raggruppa(intera) : intera;
                interaScritta = true;
            }
            out += u',';
            inDecimali = true;
            break;
        case Tipo::Virgola:
        case Tipo::Esponente:
            break;
        default:
            out += k.testo;
        }
    }
    if (!interaScritta)
        out = intera + out;
    return out;
}
} // namespace

QStringList Sezioni(const QString &formato)
{
    QStringList parti;
    qsizetype inizio = 0;
    scorri(formato, [&](qsizetype i, QChar c, const QString &) {
        if (c == u';') {
            parti << formato.mid(inizio, i - inizio);
            inizio = i + 1;
        }
    });
    parti << formato.mid(inizio);
    return parti;
}

bool HaCifre(const QString &formato)
{
    bool si = false;
    scorri(formato, [&si](qsizetype, QChar c, const QString &) { si = si || cifra(c); });
    return si;
}

bool EData(const QString &formato)
{
    if (HaCifre(formato))
        return false;
    bool si = false;
    scorri(formato, [&si](qsizetype, QChar c, const QString &) {
        si = si || QStringView(u"dmyhnswqcDMYHNSWQC").contains(c);
    });
    return si;
}

bool ETesto(const QString &formato)
{
    bool si = false;
    scorri(formato,
           [&si](qsizetype, QChar c, const QString &) { si = si || QStringView(u"@&<>!").contains(c); });
    return si;
}

QString Intero(qint64 numero)
{
    return Numero(Decimale{numero, 0}, QStringLiteral("#,##0"));
}

QString Numero(const Decimale &valore, const QString &formato)
{
    const QStringList s = Sezioni(formato);
    const bool negativo = valore.negativo();
    Decimale assoluto = valore;
    if (negativo)
        assoluto.mantissa = -assoluto.mantissa;
    QString sec = s[0];
    bool meno = negativo;
    if (negativo && s.size() >= 2 && !s[1].isEmpty()) {
        sec = s[1];
        meno = false;
    } else if (valore.zero() && s.size() >= 3 && !s[2].isEmpty()) {
        sec = s[2];
    }
    const QString out = sezione(assoluto, sec);
    if (meno) {
        // A value that rounds to zero shows no sign.
        bool cifraNonZero = false;
        for (QChar c : out)
            cifraNonZero = cifraNonZero || (c >= u'1' && c <= u'9');
        if (cifraNonZero)
            return u'-' + out;
    }
    return out;
}

QString Nullo(const QString &formato)
{
    const QStringList s = Sezioni(formato);
    return s.size() >= 4 ? letterali(s[3]) : QString();
}

QString NumeroGenerale(const Decimale &valore)
{
    Decimale n = valore.Normalizzato();
    QString t = n.Testo();
    if (t.size() > 17) {
        t = QString::number(n.ToDouble(), 'g', 15).toUpper();
    }
    return t.replace(u'.', u',');
}

QString NomeMese(int mese, bool abbreviato)
{
    static const char16_t *nomi[] = {u"gennaio",   u"febbraio", u"marzo",    u"aprile",
                                     u"maggio",    u"giugno",   u"luglio",   u"agosto",
                                     u"settembre", u"ottobre",  u"novembre", u"dicembre"};
    if (mese < 1 || mese > 12)
        return QString();
    const QString n = QString::fromUtf16(nomi[mese - 1]);
    return abbreviato ? n.left(3) : n;
}

QString NomeGiorno(int giorno, bool abbreviato)
{
    static const char16_t *nomi[] = {u"lunedì",  u"martedì", u"mercoledì", u"giovedì",
                                     u"venerdì", u"sabato",  u"domenica"};
    if (giorno < 1 || giorno > 7)
        return QString();
    const QString n = QString::fromUtf16(nomi[giorno - 1]);
    return abbreviato ? n.left(3) : n;
}

namespace
{

// "dd/MM/yyyy" and, past midnight, " HH:mm:ss", written digit by digit: the
// date of "c" and of "dd/mm/yyyy", which every list and export writes for each
// date cell. Years outside 0-9999 go the general way.
bool dataBreve(const QDate &d, const QTime &o, bool conOra, QString &out)
{
    if (!d.isValid() || d.year() < 0 || d.year() > 9999)
        return false;
    char16_t b[19];
    auto due = [&b](int pos, int n) {
        b[pos] = char16_t(u'0' + n / 10);
        b[pos + 1] = char16_t(u'0' + n % 10);
    };
    due(0, d.day());
    b[2] = u'/';
    due(3, d.month());
    b[5] = u'/';
    due(6, d.year() / 100);
    due(8, d.year() % 100);
    qsizetype n = 10;
    if (conOra && o.isValid() && o != QTime(0, 0)) {
        b[10] = u' ';
        due(11, o.hour());
        b[13] = u':';
        due(14, o.minute());
        b[16] = u':';
        due(17, o.second());
        n = 19;
    }
    out = QString(reinterpret_cast<const QChar *>(b), n);
    return true;
}

} // namespace

QString Data(const QDateTime &valore, const QString &formato)
{
    const QDate d = valore.date();
    const QTime o = valore.time();
    QString breve;
    if ((formato == u"c" || formato == u"C") && dataBreve(d, o, true, breve))
        return breve;
    if (formato.compare(QLatin1String("dd/mm/yyyy"), Qt::CaseInsensitive) == 0 &&
        dataBreve(d, o, false, breve))
        return breve;
    const QString f = Sezioni(formato).first();
    const bool dodici = f.contains(QStringLiteral("AM/PM"), Qt::CaseInsensitive) ||
                        f.contains(QStringLiteral("A/P"), Qt::CaseInsensitive) ||
                        f.contains(QStringLiteral("AMPM"), Qt::CaseInsensitive);
    auto due = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    QString out;
    bool dopoOra = false;
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == u'"') {
            const qsizetype fine = f.indexOf(u'"', i + 1);
            out += f.mid(i + 1, (fine < 0 ? f.size() : fine) - i - 1);
            i = fine < 0 ? f.size() : fine;
            continue;
        }
        if (c == u'\\') {
            if (i + 1 < f.size())
                out += f[++i];
            continue;
        }
        const QStringView resto = QStringView(f).mid(i);
        bool trovato = false;
        for (const QString &ap : {QStringLiteral("AM/PM"), QStringLiteral("A/P"), QStringLiteral("AMPM")}) {
            if (resto.startsWith(ap, Qt::CaseInsensitive)) {
                const bool pm = o.hour() >= 12;
                QString s = ap == u"A/P" ? (pm ? QStringLiteral("P") : QStringLiteral("A"))
                                         : (pm ? QStringLiteral("PM") : QStringLiteral("AM"));
                if (resto[0].isLower())
                    s = s.toLower();
                out += s;
                i += ap.size() - 1;
                trovato = true;
                break;
            }
        }
        if (trovato)
            continue;
        const QChar l = c.toLower();
        if (!QStringView(u"dmyhnswqct").contains(l)) {
            out += c;
            continue;
        }
        qsizetype n = 1;
        while (i + n < f.size() && f[i + n].toLower() == l)
            ++n;
        i += n - 1;
        switch (l.unicode()) {
        case u'd':
            if (n == 1)
                out += QString::number(d.day());
            else if (n == 2)
                out += due(d.day());
            else if (n == 3 || n == 4)
                out += NomeGiorno(d.dayOfWeek(), n == 3);
            else if (n == 5)
                out += d.toString(QStringLiteral("dd/MM/yyyy"));
            else
                out += NomeGiorno(d.dayOfWeek(), false) + u' ' + QString::number(d.day()) + u' ' +
                       NomeMese(d.month(), false) + u' ' + QString::number(d.year());
            break;
        case u'w':
            if (n == 1) {
                out += QString::number(d.dayOfWeek() % 7 + 1);
            } else {
                const int primo = QDate(d.year(), 1, 1).dayOfWeek() % 7;
                out += QString::number((d.dayOfYear() + primo - 1) / 7 + 1);
            }
            break;
        case u'm':
            if (dopoOra && n <= 2)
                out += n == 1 ? QString::number(o.minute()) : due(o.minute());
            else if (n == 1)
                out += QString::number(d.month());
            else if (n == 2)
                out += due(d.month());
            else
                out += NomeMese(d.month(), n == 3);
            break;
        case u'q':
            out += QString::number((d.month() - 1) / 3 + 1);
            break;
        case u'y':
            if (n == 1)
                out += QString::number(d.dayOfYear());
            else if (n <= 3)
                out += due(d.year() % 100);
            else
                out += QString::number(d.year()).rightJustified(4, u'0');
            break;
        case u'h': {
            int h = o.hour();
            if (dodici) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += n == 1 ? QString::number(h) : due(h);
            break;
        }
        case u'n':
            out += n == 1 ? QString::number(o.minute()) : due(o.minute());
            break;
        case u's':
            out += n == 1 ? QString::number(o.second()) : due(o.second());
            break;
        case u't':
            out += n >= 5 ? o.toString(QStringLiteral("HH:mm:ss")) : QString(n, c);
            break;
        case u'c':
            out += d.toString(QStringLiteral("dd/MM/yyyy"));
            if (o != QTime(0, 0))
                out += u' ' + o.toString(QStringLiteral("HH:mm:ss"));
            break;
        }
        dopoOra = l == u'h';
    }
    return out;
}

QString Testo(const QString &valore, const QString &formato)
{
    const QString f = Sezioni(formato).first();
    bool maiuscolo = false, minuscolo = false, sinistra = false;
    int segnaposti = 0;
    scorri(f, [&](qsizetype, QChar c, const QString &) {
        maiuscolo = maiuscolo || c == u'>';
        minuscolo = minuscolo || c == u'<';
        sinistra = sinistra || c == u'!';
        segnaposti += c == u'@' || c == u'&';
    });
    QString t = maiuscolo ? valore.toUpper() : minuscolo ? valore.toLower() : valore;
    if (segnaposti == 0)
        return t;
    // Placeholders take the characters from the right (from the left with '!');
    // extra characters go with the first (last) placeholder.
    std::vector<QString> pezzi(segnaposti);
    const qsizetype n = t.size();
    for (int k = 0; k < segnaposti; ++k) {
        if (sinistra) {
            if (k < n)
                pezzi[k] = t.mid(k, k == segnaposti - 1 ? n - k : 1);
        } else {
            const qsizetype pos = n - (segnaposti - k);
            if (k == 0)
                pezzi[k] = pos >= 0 ? t.left(pos + 1) : QString();
            else if (pos >= 0)
                pezzi[k] = t.mid(pos, 1);
        }
    }
    QString out;
    int k = 0;
    scorri(f, [&](qsizetype, QChar c, const QString &lett) {
        if (c.isNull())
            out += lett;
        else if (c == u'@' || c == u'&') {
            out += pezzi[k].isEmpty() && c == u'@' ? QStringLiteral(" ") : pezzi[k];
            ++k;
        } else if (c != u'<' && c != u'>' && c != u'!')
            out += c;
    });
    return out;
}

} // namespace FormatoVb
