// Value conversions in the VB manner: emptiness, numbers typed by Italian
// users, dates in the company format, comparisons, value and range checks.
#include "components/util/Decimale.h"
#include "components/util/UtilGlob.h"

#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
const QDate DataZeroVb(1899, 12, 30);
// The dates a serial number may stand for: 1 January 100 and 31 December 9999.
constexpr double GiornoMinimoVb = -657434;
constexpr double GiornoMassimoVb = 2958465;

bool gruppiValidi(const QString &parteIntera, QChar sep)
{
    const QStringList gruppi = parteIntera.split(sep);
    if (gruppi.size() < 2)
        return false;
    const QString &primo = gruppi.first();
    if (primo.size() < 1 || primo.size() > 3 || !UtilGlob::SoloCifre(primo) || primo[0] == u'0')
        return false;
    for (int i = 1; i < gruppi.size(); ++i)
        if (gruppi[i].size() != 3 || !UtilGlob::SoloCifre(gruppi[i]))
            return false;
    return true;
}

bool eData(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

int anno2Cifre(int a)
{
    return a < 30 ? 2000 + a : 1900 + a;
}
} // namespace

bool NormalizzaNumero(const QString &testo, bool virgolaDecimale, QString &normale)
{
    QString t;
    t.reserve(testo.size());
    for (QChar c : testo)
        if (!c.isSpace())
            t += c;
    if (t.isEmpty())
        return false;
    QString segno;
    if (t[0] == u'-' || t[0] == u'+') {
        if (t[0] == u'-')
            segno = QStringLiteral("-");
        t.remove(0, 1);
    }
    QString esponente;
    const qsizetype e = t.indexOf(u'e', 0, Qt::CaseInsensitive);
    if (e >= 0) {
        QString esp = t.mid(e + 1);
        t.truncate(e);
        QStringView cifre(esp);
        if (!cifre.isEmpty() && (cifre[0] == u'+' || cifre[0] == u'-'))
            cifre = cifre.mid(1);
        if (!UtilGlob::SoloCifre(cifre) || cifre.size() > 3)
            return false;
        esponente = u'e' + esp;
    }
    const qsizetype punti = t.count(u'.'), virgole = t.count(u',');
    QChar decimale, gruppo;
    if (punti && virgole) {
        decimale = t.lastIndexOf(u'.') > t.lastIndexOf(u',') ? QChar(u'.') : QChar(u',');
        gruppo = decimale == u'.' ? QChar(u',') : QChar(u'.');
        if (t.count(decimale) != 1 || t.lastIndexOf(gruppo) > t.indexOf(decimale))
            return false;
    } else if (virgole) {
        if (virgole == 1 && virgolaDecimale)
            decimale = u',';
        else
            gruppo = u',';
    } else if (punti) {
        if (punti == 1 && !(virgolaDecimale && gruppiValidi(t, u'.')))
            decimale = u'.';
        else
            gruppo = u'.';
    }
    QString intera = t, frazione;
    if (!decimale.isNull()) {
        const qsizetype p = t.indexOf(decimale);
        intera = t.left(p);
        frazione = t.mid(p + 1);
        if (!frazione.isEmpty() && !UtilGlob::SoloCifre(frazione))
            return false;
    }
    if (!gruppo.isNull()) {
        if (!esponente.isEmpty() || !gruppiValidi(intera, gruppo))
            return false;
        intera.remove(gruppo);
    }
    if (intera.isEmpty() && frazione.isEmpty())
        return false;
    if (!intera.isEmpty() && !UtilGlob::SoloCifre(intera))
        return false;
    normale = segno + (intera.isEmpty() ? QStringLiteral("0") : intera);
    if (!frazione.isEmpty())
        normale += u'.' + frazione;
    normale += esponente;
    return true;
}

namespace
{
// Whether the text read so far is a run of thousands groups with the
// separator `sep` ("1.234.567"), kept one character at a time.
struct Gruppi {
    QChar sep;
    bool vivo = true;
    int gruppi = 0; // separators seen
    int lung = 0;   // digits of the group being read

    void aggiungi(QChar c)
    {
        if (!vivo)
            return;
        if (c == sep) {
            vivo = gruppi == 0 ? lung >= 1 : lung == 3;
            ++gruppi;
            lung = 0;
        } else if (c >= u'0' && c <= u'9') {
            if (gruppi == 0 && lung == 0 && c == u'0')
                vivo = false;
            vivo = vivo && ++lung <= 3;
        } else {
            vivo = false;
        }
    }
    bool valido() const { return vivo && gruppi >= 1 && lung == 3; }
};
} // namespace

bool InizioNumero(const QString &testo, bool virgolaDecimale, QString &normale)
{
    QString s;
    s.reserve(testo.size());
    for (QChar c : testo)
        if (!c.isSpace())
            s += c;
    const qsizetype inizio = !s.isEmpty() && (s[0] == u'-' || s[0] == u'+') ? 1 : 0;
    // A number holds only digits, '.' and ',' before its exponent.
    qsizetype fine = inizio;
    while (fine < s.size() && ((s[fine] >= u'0' && s[fine] <= u'9') || s[fine] == u'.' || s[fine] == u','))
        ++fine;
    // With an exponent: at most a sign and three digits after the 'e'.
    if (fine < s.size() && (s[fine] == u'e' || s[fine] == u'E'))
        for (qsizetype k = std::min(s.size(), fine + 5); k > fine + 1; --k)
            if (NormalizzaNumero(s.left(k), virgolaDecimale, normale))
                return true;
    // Without: each beginning judged as the character is added (NormalizzaNumero's rules).
    Gruppi punti{u'.'}, virgole{u','};
    qsizetype numPunti = 0, numVirgole = 0;
    QChar ultimoSep;
    bool intereInGruppi[2] = {false, false}; // before the '.', before the ',': groups of the other separator
    qsizetype migliore = -1;
    for (qsizetype k = inizio; k < fine; ++k) {
        const QChar c = s[k];
        if (c == u'.' || c == u',') {
            intereInGruppi[c == u'.' ? 0 : 1] = (c == u'.' ? virgole : punti).valido();
            ultimoSep = c;
            ++(c == u'.' ? numPunti : numVirgole);
        }
        punti.aggiungi(c);
        virgole.aggiungi(c);
        const qsizetype lung = k + 1 - inizio;
        bool valido;
        if (numPunti == 0 && numVirgole == 0)
            valido = true;
        else if (numPunti == 0)
            valido = numVirgole == 1 && virgolaDecimale ? lung > 1 : virgole.valido();
        else if (numVirgole == 0)
            valido = numPunti == 1 ? lung > 1 : punti.valido();
        else
            valido =
                (ultimoSep == u'.' ? numPunti : numVirgole) == 1 && intereInGruppi[ultimoSep == u'.' ? 0 : 1];
        if (valido)
            migliore = k + 1;
    }
    return migliore > 0 && NormalizzaNumero(s.left(migliore), virgolaDecimale, normale);
}

UtilGlob::UtilGlob() = default;

bool UtilGlob::LeggiNumero(const QString &testo, double &numero, bool virgolaDecimale)
{
    QString normale;
    if (!NormalizzaNumero(testo, virgolaDecimale, normale))
        return false;
    bool ok = false;
    numero = normale.toDouble(&ok);
    return ok && std::isfinite(numero);
}

bool UtilGlob::ValoreVuoto(const QVariant &valore, int tipo, int modo, bool zeroVuoto) const
{
    if (!valore.isValid() || valore.isNull())
        return true;
    if (valore.typeId() == QMetaType::QString) {
        const QString s = valore.toString();
        if (modo == 1 ? s.trimmed().isEmpty() : s.isEmpty())
            return true;
    }
    if (valore.typeId() == QMetaType::QDate && !valore.toDate().isValid())
        return true;
    if (valore.typeId() == QMetaType::QDateTime && !valore.toDateTime().isValid())
        return true;
    if (zeroVuoto && tipo >= TipoIntero && tipo <= TipoImporto)
        return ValoreNumerico(valore) == 0;
    return false;
}

double UtilGlob::ValoreNumerico(const QVariant &valore, bool virgolaDecimale, bool inizioNumerico) const
{
    if (!valore.isValid() || valore.isNull())
        return 0;
    if (valore.userType() == qMetaTypeId<Currency>())
        return valore.value<Currency>().toDouble();
    if (valore.typeId() == QMetaType::Bool)
        return valore.toBool() ? -1 : 0;
    if (UtilGlob::ValoreENumero(valore))
        return valore.toDouble();
    if (valore.typeId() == QMetaType::QDate)
        return double(DataZeroVb.daysTo(valore.toDate()));
    if (valore.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = valore.toDateTime();
        return double(DataZeroVb.daysTo(dt.date())) + dt.time().msecsSinceStartOfDay() / 86400000.0;
    }
    const QString testo = valore.toString();
    double n = 0;
    if (LeggiNumero(testo, n, virgolaDecimale))
        return n;
    // The number the text begins with; one that a double cannot hold is no
    // number (never a shorter one cut from it).
    QString normale;
    if (!inizioNumerico || !InizioNumero(testo, virgolaDecimale, normale))
        return 0;
    n = normale.toDouble();
    return std::isfinite(n) ? n : 0;
}

QVariant UtilGlob::TestoInNumero(const QVariant &valore, bool zeroSeNonNumero, bool intero) const
{
    double n = 0;
    if (!valore.isValid() || valore.isNull()) {
        n = 0;
    } else if (UtilGlob::ValoreENumero(valore) || eData(valore)) {
        n = ValoreNumerico(valore);
    } else if (!LeggiNumero(valore.toString(), n)) {
        return zeroSeNonNumero ? QVariant(0) : QVariant();
    }
    if (intero)
        n = Arrotonda(n);
    if (n == std::trunc(n)) {
        if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return QVariant(int(n));
        if (std::fabs(n) < 9.2e18)
            return QVariant(qlonglong(n));
    }
    return QVariant(n);
}

double UtilGlob::ValoreDecimale(const QVariant &valore, bool virgolaDecimale) const
{
    return ValoreNumerico(valore, virgolaDecimale, true);
}

QDate UtilGlob::LeggiData(const QString &testo)
{
    QString t = testo.trimmed();
    const qsizetype spazio = t.indexOf(u' ');
    if (spazio > 0)
        t.truncate(spazio);
    if (t.isEmpty())
        return QDate();
    const int annoCorrente = QDate::currentDate().year();
    int g = 0, m = 0, a = 0;
    if (UtilGlob::SoloCifre(t)) {
        if (t.size() != 4 && t.size() != 6 && t.size() != 8)
            return QDate();
        g = t.left(2).toInt();
        m = t.mid(2, 2).toInt();
        a = t.size() == 4 ? annoCorrente : t.size() == 6 ? anno2Cifre(t.mid(4).toInt()) : t.mid(4).toInt();
        return QDate(a, m, g);
    }
    QChar sep;
    for (QChar c : {QChar(u'/'), QChar(u'-'), QChar(u'.')})
        if (t.contains(c)) {
            sep = c;
            break;
        }
    if (sep.isNull())
        return QDate();
    const QStringList parti = t.split(sep);
    if (parti.size() < 2 || parti.size() > 3)
        return QDate();
    for (const QString &p : parti)
        if (!UtilGlob::SoloCifre(p) || p.size() > 4)
            return QDate();
    if (parti[0].size() == 4) {
        if (parti.size() != 3)
            return QDate();
        return QDate(parti[0].toInt(), parti[1].toInt(), parti[2].toInt());
    }
    g = parti[0].toInt();
    m = parti[1].toInt();
    if (parti.size() == 2)
        a = annoCorrente;
    else if (parti[2].size() <= 2)
        a = anno2Cifre(parti[2].toInt());
    else if (parti[2].size() == 4)
        a = parti[2].toInt();
    else
        return QDate();
    return QDate(a, m, g);
}

QVariant UtilGlob::ValoreData(const QVariant &valore) const
{
    if (!valore.isValid() || valore.isNull())
        return QVariant();
    if (valore.typeId() == QMetaType::QDate)
        return valore.toDate().isValid() ? valore : QVariant();
    if (valore.typeId() == QMetaType::QDateTime)
        return valore.toDateTime().isValid() ? valore : QVariant();
    if (UtilGlob::ValoreENumero(valore)) {
        // A serial number outside 1 January 100 - 31 December 9999 (an
        // infinity or NaN included) is no date; checked as a double, before
        // any conversion to an integer.
        const double giorni = std::floor(ValoreNumerico(valore));
        if (!(giorni >= GiornoMinimoVb && giorni <= GiornoMassimoVb))
            return QVariant();
        const QDate d = DataZeroVb.addDays(qint64(giorni));
        return d.isValid() ? QVariant(d) : QVariant();
    }
    const QDate d = LeggiData(valore.toString());
    return d.isValid() ? QVariant(d) : QVariant();
}

namespace
{
// A number held in a QVariant, for exact comparisons: amounts and whole
// numbers as ten-thousandths in 128 bits, everything else as a double.
struct Numero {
    bool esatto = false;
    __int128 decimi = 0; // ten-thousandths, when esatto
    double reale = 0;
};

Numero numeroDi(const QVariant &v, double daTesto)
{
    Numero n;
    if (v.userType() == qMetaTypeId<Currency>()) {
        n.esatto = true;
        n.decimi = v.value<Currency>().raw();
        return n;
    }
    __int128 intero = 0;
    if (InteroTenuto(v, intero) || v.typeId() == QMetaType::Bool) {
        n.esatto = true;
        n.decimi = (v.typeId() == QMetaType::Bool ? (v.toBool() ? -1 : 0) : intero) * Currency::Scale;
        return n;
    }
    n.reale = v.typeId() == QMetaType::QString ? daTesto : v.toDouble();
    return n;
}

template <typename T> int segno(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// An exact number against a double: the double as the decimal its 15 digits
// show (as amounts read doubles), its sign alone when it is beyond 10^30.
int confronta(const Numero &esatto, double reale)
{
    if (std::isnan(reale))
        return 0;
    Decimale d;
    if (!Decimale::DaDouble(reale, d)) {
        if (std::fabs(reale) > 1) // beyond 10^30: its sign decides
            return reale > 0 ? -1 : 1;
        if (esatto.decimi != 0) // a tiny fraction: only zero is near it
            return esatto.decimi > 0 ? 1 : -1;
        return reale > 0 ? -1 : (reale < 0 ? 1 : 0);
    }
    Decimale e{esatto.decimi, 4}, a, b;
    const int scala = std::max(d.scala, 4);
    if (!e.AScala(scala, a) || !d.AScala(scala, b))
        return segno(double(esatto.decimi) / Currency::Scale, reale);
    return segno(a.mantissa, b.mantissa);
}
} // namespace

int UtilGlob::ConfrontaValori(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull(), bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    double na = 0, nb = 0;
    const bool tieneA = UtilGlob::ValoreENumero(a), tieneB = UtilGlob::ValoreENumero(b);
    const bool numA = tieneA || (a.typeId() == QMetaType::QString && LeggiNumero(a.toString(), na));
    const bool numB = tieneB || (b.typeId() == QMetaType::QString && LeggiNumero(b.toString(), nb));
    if (numA && numB && (tieneA || tieneB)) {
        const Numero x = numeroDi(a, na), y = numeroDi(b, nb);
        if (x.esatto && y.esatto)
            return segno(x.decimi, y.decimi);
        if (x.esatto)
            return confronta(x, y.reale);
        if (y.esatto)
            return -confronta(y, x.reale);
        return segno(x.reale, y.reale);
    }
    if (eData(a) && eData(b)) {
        const QDateTime da = a.toDateTime(), db = b.toDateTime();
        return da < db ? -1 : (db < da ? 1 : 0);
    }
    const int c = a.toString().compare(b.toString(), Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

QVariant UtilGlob::ValoreMinimo(const QVariantList &valori) const
{
    QVariant r;
    for (const QVariant &v : valori)
        if (v.isValid() && !v.isNull() && (!r.isValid() || ConfrontaValori(v, r) < 0))
            r = v;
    return r;
}

QVariant UtilGlob::ValoreMassimo(const QVariantList &valori) const
{
    QVariant r;
    for (const QVariant &v : valori)
        if (v.isValid() && !v.isNull() && (!r.isValid() || ConfrontaValori(v, r) > 0))
            r = v;
    return r;
}

bool UtilGlob::ControllaValore(const QVariant &valore, int tipo, QString *messaggio) const
{
    auto rifiuta = [messaggio](const QString &m) {
        if (messaggio)
            *messaggio = m;
        return false;
    };
    if (messaggio)
        messaggio->clear();
    if (ValoreVuoto(valore) || tipo < TipoIntero || tipo > TipoImporto + 1)
        return true;
    double n = 0;
    QString normale;
    if (UtilGlob::ValoreENumero(valore)) {
        n = ValoreNumerico(valore);
        normale = valore.userType() == qMetaTypeId<Currency>() ? valore.value<Currency>().toString()
                                                               : QString::number(n, 'g', 15);
    } else if (NormalizzaNumero(valore.toString(), true, normale)) {
        n = normale.toDouble();
    } else {
        switch (tipo) {
        case TipoIntero:
        case TipoLungo:
            return rifiuta(QStringLiteral("Valore non valido: è richiesto un numero intero"));
        case TipoSingolo:
        case TipoDoppio:
            return rifiuta(QStringLiteral("Valore non valido: è richiesto un numero"));
        default:
            return rifiuta(QStringLiteral("Valore non valido: è richiesto un importo"));
        }
    }
    switch (tipo) {
    case TipoIntero:
    case TipoLungo:
        if (n != std::trunc(n))
            return rifiuta(QStringLiteral("Valore non valido: è richiesto un numero intero"));
        // An Integer holds 16 bits: a larger number would be stored and
        // then refused with an overflow at every reading.
        if (tipo == TipoIntero &&
            (n < std::numeric_limits<qint16>::min() || n > std::numeric_limits<qint16>::max()))
            return rifiuta(QStringLiteral("Valore troppo grande: un numero intero va da -32.768 a 32.767"));
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            return rifiuta(QStringLiteral("Valore troppo grande: un numero intero va da -2.147.483.648 a "
                                          "2.147.483.647"));
        return true;
    case TipoSingolo:
    case TipoDoppio:
        return std::isfinite(n) ? true : rifiuta(QStringLiteral("Valore troppo grande"));
    default: {
        const QString troppoGrande =
            QStringLiteral("Valore troppo grande: un importo va da -922.337.203.685.477,5808 "
                           "a 922.337.203.685.477,5807");
        Decimale d;
        if (!Decimale::DaTesto(normale, d))
            return rifiuta(troppoGrande);
        if (d.Normalizzato().scala > 4)
            return rifiuta(QStringLiteral("Valore non valido: un importo ha al massimo 4 decimali"));
        Currency c;
        if (Currency::leggi(normale, c) != Currency::Lettura::Numero)
            return rifiuta(troppoGrande);
        return true;
    }
    }
}

int UtilGlob::ControllaIntervallo(const QVariant &da, const QVariant &a, int tipo) const
{
    if (ValoreVuoto(da) || ValoreVuoto(a))
        return 0;
    if (tipo == TipoData) {
        const QVariant d1 = ValoreData(da), d2 = ValoreData(a);
        if (!d1.isValid() || !d2.isValid())
            return 0;
        return d1.toDateTime() > d2.toDateTime() ? 1 : 0;
    }
    if (tipo >= TipoIntero && tipo <= TipoImporto)
        return ValoreNumerico(da) > ValoreNumerico(a) ? 1 : 0;
    return da.toString().trimmed().compare(a.toString().trimmed(), Qt::CaseInsensitive) > 0 ? 1 : 0;
}

int UtilGlob::DimensioneCampo(int tipoDao, int dimensione) const
{
    switch (tipoDao) {
    case 1:
        return 2; // Boolean
    case 2:
        return 3; // Byte
    case 3:
        return 6; // Integer
    case 4:
        return 11; // Long
    case 5:
        return 20; // Currency
    case 6:
        return 14; // Single
    case 7:
        return 20; // Double
    case 8:
        return 10; // Date
    case 10:
        return dimensione > 0 ? dimensione : 50;
    case 12:
        return 255; // Memo
    default:
        return dimensione > 0 ? dimensione : 10;
    }
}

QDate UtilGlob::FineMese(const QDate &data) const
{
    if (!data.isValid())
        return QDate();
    return QDate(data.year(), data.month(), data.daysInMonth());
}

bool UtilGlob::SoloCifre(QStringView testo)
{
    if (testo.isEmpty())
        return false;
    for (QChar c : testo)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool UtilGlob::ValoreENumero(const QVariant &valore)
{
    switch (valore.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
        return true;
    default:
        return valore.userType() == qMetaTypeId<Currency>();
    }
}
