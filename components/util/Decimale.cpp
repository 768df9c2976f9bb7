// Exact decimal arithmetic behind rounding and number formatting.
#include "components/util/Decimale.h"

#include <cmath>
#include <cstdint>

namespace
{
using i128 = __int128;
// Beyond this the mantissa is refused, leaving room for one multiplication by ten.
const i128 Limite = i128(1) * 1000000000000000000LL * 1000000000000000000LL; // 10^36

// Decimals beyond any a double or an amount can show: a larger scale only
// makes texts of millions of zeros.
constexpr int MaxScala = 1100;

bool moltiplica10(i128 &m, int n)
{
    if (m == 0)
        return true;
    while (n-- > 0) {
        if (m > Limite || m < -Limite)
            return false;
        m *= 10;
    }
    return true;
}

QString cifre(i128 m)
{
    if (m == 0)
        return QStringLiteral("0");
    QString s;
    bool neg = m < 0;
    while (m != 0) {
        int d = int(m % 10);
        s.prepend(QChar(u'0' + (d < 0 ? -d : d)));
        m /= 10;
    }
    if (neg)
        s.prepend(u'-');
    return s;
}
} // namespace

bool Decimale::DaTesto(const QString &testo, Decimale &out)
{
    const QString t = testo.trimmed();
    int i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        neg = t[i++] == u'-';
    i128 m = 0;
    int scala = 0;
    bool punto = false, cifra = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            cifra = true;
            if (m > Limite)
                return false;
            m = m * 10 + (c.unicode() - u'0');
            if (punto)
                ++scala;
        } else if (c == u'.' && !punto) {
            punto = true;
        } else {
            break;
        }
    }
    if (!cifra)
        return false;
    if (i < t.size()) {
        if (t[i] != u'e' && t[i] != u'E')
            return false;
        bool ok = false;
        const int esp = t.mid(i + 1).toInt(&ok);
        if (!ok || esp > 40 || esp < -40)
            return false;
        scala -= esp;
    }
    if (scala < 0) {
        if (!moltiplica10(m, -scala))
            return false;
        scala = 0;
    }
    out.mantissa = neg ? -m : m;
    out.scala = scala;
    return true;
}

bool Decimale::DaDouble(double valore, Decimale &out)
{
    if (!(valore == valore) || valore > 1e30 || valore < -1e30)
        return false;
    return DaTesto(QString::number(valore, 'g', 15), out);
}

bool QuindiciCifre(double valore, i128 &cifre, int &esponente)
{
    const double a = std::fabs(valore);
    if (!(a >= 0x1p-20 && a < 1e15))
        return false;
    int esp2 = 0;
    const double frazione = std::frexp(a, &esp2); // a = frazione x 2^esp2, frazione in [0.5, 1)
    const unsigned __int128 mantissa = static_cast<std::uint64_t>(std::ldexp(frazione, 53));
    const int spostamento = 53 - esp2; // a = mantissa / 2^spostamento, 3 <= spostamento <= 72
    // floor(log10(2^(esp2 - 1))): the decimal exponent of a, or one less.
    int esp10 = int(std::floor((esp2 - 1) * 0.30102999566398120));
    static const unsigned __int128 Limite = static_cast<unsigned __int128>(1000000000000000ULL); // 10^15
    for (int prova = 0; prova < 2; ++prova, ++esp10) {
        // a x 10^(14 - esp10), exactly, then rounded to the nearest whole number.
        unsigned __int128 x = mantissa;
        for (int i = 0; i < 14 - esp10; ++i)
            x *= 10;
        const unsigned __int128 uno = static_cast<unsigned __int128>(1) << spostamento;
        unsigned __int128 n = x >> spostamento;
        const unsigned __int128 resto = x & (uno - 1);
        if (resto * 2 == uno)
            return false; // an exact half: the text's own rounding decides
        if (resto * 2 > uno)
            ++n;
        if (n >= Limite)
            continue; // sixteen digits: the exponent was one short
        if (n * 10 < Limite)
            return false;
        cifre = valore < 0 ? -i128(n) : i128(n);
        esponente = esp10 - 14;
        return true;
    }
    return false;
}

bool Decimale::AScala(int nuovaScala, Decimale &out) const
{
    if (nuovaScala < scala)
        return false;
    i128 m = mantissa;
    if (!moltiplica10(m, nuovaScala - scala))
        return false;
    out = {m, nuovaScala};
    return true;
}

Decimale Decimale::Normalizzato() const
{
    Decimale d = *this;
    if (d.mantissa == 0)
        return {0, 0};
    while (d.scala > 0 && d.mantissa % 10 == 0) {
        d.mantissa /= 10;
        --d.scala;
    }
    return d;
}

bool Decimale::PerPotenza(int n, Decimale &out) const
{
    Decimale d = *this;
    if (n >= 0) {
        const int daScala = n < d.scala ? n : d.scala;
        d.scala -= daScala;
        if (!moltiplica10(d.mantissa, n - daScala))
            return false;
    } else if (__builtin_sub_overflow(d.scala, n, &d.scala) || d.scala > MaxScala) {
        return false;
    }
    out = d;
    return true;
}

double Decimale::ToDouble() const
{
    return Testo().toDouble();
}

bool Decimale::ToCurrency(Currency &out) const
{
    Decimale r;
    const Decimale passo{1, 4};
    if (!ArrotondaDecimale(*this, passo, u'A', r))
        return false;
    Decimale a4;
    if (!r.AScala(4, a4))
        return false;
    if (a4.mantissa > i128(INT64_MAX) || a4.mantissa < -i128(INT64_MAX))
        return false;
    out = Currency::fromRaw(std::int64_t(a4.mantissa));
    return true;
}

QString Decimale::Testo() const
{
    QString s = cifre(mantissa < 0 ? -mantissa : mantissa);
    if (scala > 0) {
        if (s.size() <= scala)
            s.prepend(QString(scala - s.size() + 1, u'0'));
        s.insert(s.size() - scala, u'.');
    }
    if (mantissa < 0)
        s.prepend(u'-');
    return s;
}

bool InteroTenuto(const QVariant &v, i128 &n)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        n = v.toLongLong();
        return true;
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        n = i128(v.toULongLong());
        return true;
    default:
        return false;
    }
}

Currency::Lettura LeggiUnita(QStringView testo, int decimali, i128 &unita)
{
    using Lettura = Currency::Lettura;
    const QStringView t = testo.trimmed();
    qsizetype i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        neg = t[i++] == u'-';
    // The value is 0.c1c2c3... x 10^posizione, c1 its first significant
    // digit. Only the digits down to one place past the asked decimals count:
    // the last one rounds half away from zero.
    constexpr int MaxCifre = 40;
    int cifre[MaxCifre];
    int numCifre = 0;
    long long posizione = 0;
    bool sep = false, cifra = false;
    for (; i < t.size(); ++i) {
        const QChar ch = t[i];
        if (ch.isDigit()) {
            cifra = true;
            const int d = ch.digitValue();
            if (numCifre == 0 && d == 0) {
                if (sep)
                    --posizione; // a zero between the point and the first significant digit
                continue;
            }
            if (numCifre < MaxCifre)
                cifre[numCifre] = d;
            ++numCifre;
            if (!sep)
                ++posizione;
        } else if ((ch == u'.' || ch == u',') && !sep) {
            sep = true;
        } else {
            break;
        }
    }
    if (!cifra)
        return Lettura::NonNumero;
    if (i < t.size()) {
        if (t[i] != u'e' && t[i] != u'E')
            return Lettura::NonNumero;
        ++i;
        bool negEsp = false;
        if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
            negEsp = t[i++] == u'-';
        if (i >= t.size())
            return Lettura::NonNumero;
        // Saturated: an exponent beyond a billion already means "beyond the
        // range" or "zero".
        long long esp = 0;
        for (; i < t.size(); ++i) {
            if (!t[i].isDigit())
                return Lettura::NonNumero;
            if (esp < 1000000000)
                esp = esp * 10 + t[i].digitValue();
        }
        posizione += negEsp ? -esp : esp;
    }
    unita = 0;
    // Wide enough for any int of decimals, whose sign is then never dropped in an int.
    const long long dec = decimali;
    if (numCifre == 0 || posizione < -dec)
        return Lettura::Numero;
    if (posizione + dec > 30)
        return Lettura::FuoriIntervallo;
    // The units: the first posizione + decimali digits; the next one rounds.
    const int intere = int(posizione + dec);
    i128 n = 0;
    for (int k = 0; k < intere; ++k)
        n = n * 10 + (k < numCifre ? cifre[k] : 0);
    if (intere < numCifre && cifre[intere] >= 5)
        ++n;
    unita = neg ? -n : n;
    return Lettura::Numero;
}

bool ArrotondaDecimale(const Decimale &valore, const Decimale &passo, QChar modo, Decimale &out)
{
    const int scala = valore.scala > passo.scala ? valore.scala : passo.scala;
    Decimale v, p;
    if (!valore.AScala(scala, v) || !passo.AScala(scala, p) || p.mantissa <= 0)
        return false;
    i128 q = v.mantissa / p.mantissa;
    const i128 r = v.mantissa % p.mantissa;
    switch (modo.toUpper().unicode()) {
    case u'T':
        break;
    case u'S':
        if (r > 0)
            ++q;
        break;
    case u'I':
        if (r < 0)
            --q;
        break;
    default: {
        const i128 ar = r < 0 ? -r : r;
        if (ar * 2 >= p.mantissa)
            q += r < 0 ? -1 : 1;
        break;
    }
    }
    const i128 aq = q < 0 ? -q : q;
    if (aq > Limite / p.mantissa)
        return false;
    out = Decimale{q * p.mantissa, scala}.Normalizzato();
    return true;
}
