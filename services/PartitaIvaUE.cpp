// VAT numbers of the EU member states (and of Northern Ireland, which trades
// under the prefix XI): each country's structure, check digits and, where a
// number is a person's code, its birth date. Countries outside the EU are
// checked by the lengths of the countries table only.
#include "services/Fiscale.h"

#include "components/util/UtilGlob.h"

#include <QDate>
#include <QHash>
#include <functional>

namespace
{

int cifra(const QString &s, int i)
{
    return s.at(i).unicode() - '0';
}

bool cifre(const QString &s)
{
    return !s.isEmpty() && UtilGlob::SoloCifre(s);
}

// Sum of the leading digits, each times its weight.
int pesata(const QString &s, std::initializer_list<int> pesi, int da = 0)
{
    int somma = 0, i = da;
    for (int p : pesi)
        somma += cifra(s, i++) * p;
    return somma;
}

// Luhn over the whole text (the last digit is the check digit).
bool luhn(const QString &s)
{
    int somma = 0;
    const int n = int(s.size());
    for (int i = 0; i < n; ++i) {
        int d = cifra(s, n - 1 - i);
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        somma += d;
    }
    return somma % 10 == 0;
}

// ISO 7064 MOD 11,10 over all characters but the last, compared with the last.
bool mod11_10(const QString &s)
{
    int p = 10;
    for (int i = 0; i < s.size() - 1; ++i) {
        int t = (cifra(s, i) + p) % 10;
        if (t == 0)
            t = 10;
        p = (2 * t) % 11;
    }
    return (11 - p) % 10 == cifra(s, int(s.size()) - 1);
}

// Remainder of a long text modulo 97, letters counting 10..35.
int mod97(const QString &s)
{
    int r = 0;
    for (QChar c : s) {
        if (c.isDigit())
            r = (r * 10 + c.digitValue()) % 97;
        else
            r = (r * 100 + (c.unicode() - 'A' + 10)) % 97;
    }
    return r;
}

// A birth date that exists and is not in the future.
bool nascitaValida(int anno, int mese, int giorno)
{
    const QDate d(anno, mese, giorno);
    return d.isValid() && d <= QDate::currentDate();
}

bool italia(const QString &n)
{
    if (n.size() != 11 || !cifre(n) || n.left(7) == QStringLiteral("0000000") || !luhn(n))
        return false;
    // Digits 8 to 10 name the tax office: the provincial offices 001-100, the
    // later ones 120 and 121, and 888 and 999 for the special registrations.
    const int ufficio = n.mid(7, 3).toInt();
    return (ufficio >= 1 && ufficio <= 100) || ufficio == 120 || ufficio == 121 || ufficio == 888 ||
           ufficio == 999;
}

bool austria(const QString &n)
{
    if (n.size() != 9 || n.at(0) != u'U' || !cifre(n.mid(1)))
        return false;
    const QString d = n.mid(1);
    int somma = 0;
    for (int i = 0; i < 7; ++i) {
        const int v = cifra(d, i) * (i % 2 ? 2 : 1);
        somma += v / 10 + v % 10;
    }
    return (10 - (somma + 4) % 10) % 10 == cifra(d, 7);
}

bool belgio(QString n)
{
    if (n.size() == 9)
        n.prepend(u'0');
    if (n.size() != 10 || !cifre(n) || (n.at(0) != u'0' && n.at(0) != u'1'))
        return false;
    return 97 - n.left(8).toInt() % 97 == n.mid(8).toInt();
}

bool bulgaria(const QString &n)
{
    if (!cifre(n))
        return false;
    if (n.size() == 9) {
        int c = pesata(n, {1, 2, 3, 4, 5, 6, 7, 8}) % 11;
        if (c == 10)
            c = pesata(n, {3, 4, 5, 6, 7, 8, 9, 10}) % 11 % 10;
        return c == cifra(n, 8);
    }
    if (n.size() != 10)
        return false;
    const int d = cifra(n, 9);
    // A citizen's personal number: birth date YYMMDD, the month plus 20 for
    // the 1800s and plus 40 for the 2000s.
    int anno = n.left(2).toInt(), mese = n.mid(2, 2).toInt();
    const int giorno = n.mid(4, 2).toInt();
    if (mese > 40)
        mese -= 40, anno += 2000;
    else if (mese > 20)
        mese -= 20, anno += 1800;
    else
        anno += 1900;
    if (nascitaValida(anno, mese, giorno) && pesata(n, {2, 4, 8, 5, 10, 9, 7, 3, 6}) % 11 % 10 == d)
        return true;
    // A foreigner's personal number.
    if (pesata(n, {21, 19, 17, 13, 11, 9, 7, 3, 1}) % 10 == d)
        return true;
    // Other taxable bodies.
    int c = 11 - pesata(n, {4, 3, 2, 7, 6, 5, 4, 3, 2}) % 11;
    if (c == 11)
        c = 0;
    return c != 10 && c == d;
}

bool cipro(const QString &n)
{
    if (n.size() != 9 || !cifre(n.left(8)) || !(n.at(8) >= u'A' && n.at(8) <= u'Z'))
        return false;
    if (n.startsWith(QStringLiteral("12")))
        return false;
    static const int dispari[] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21};
    int somma = 0;
    for (int i = 0; i < 8; ++i)
        somma += i % 2 == 0 ? dispari[cifra(n, i)] : cifra(n, i);
    return n.at(8).unicode() == 'A' + somma % 26;
}

// A Czech or Slovak birth number: YYMMDD, the month plus 50 for women and,
// from 2004, plus 20 more when a day's numbers run out. Nine digits for
// those born before 1954, ten with a check digit after.
bool numeroNascita(const QString &n)
{
    if ((n.size() != 9 && n.size() != 10) || !cifre(n))
        return false;
    int anno = n.left(2).toInt(), mese = n.mid(2, 2).toInt();
    const int giorno = n.mid(4, 2).toInt();
    if (n.size() == 9) {
        if (anno >= 54)
            return false;
        anno += 1900;
    } else {
        anno += anno >= 54 ? 1900 : 2000;
    }
    if (mese > 70)
        mese -= 70;
    else if (mese > 50)
        mese -= 50;
    else if (mese > 20)
        mese -= 20;
    if (!nascitaValida(anno, mese, giorno))
        return false;
    // Numbers given before 1985 may carry 0 where the remainder was 10.
    return n.size() == 9 || n.left(9).toLongLong() % 11 % 10 == cifra(n, 9);
}

bool cechia(const QString &n)
{
    if (!cifre(n))
        return false;
    if (n.size() == 8) {
        if (n.at(0) == u'9')
            return false;
        const int c = (11 - pesata(n, {8, 7, 6, 5, 4, 3, 2}) % 11) % 11;
        return (c == 0 ? 1 : c) % 10 == cifra(n, 7);
    }
    // Persons without a birth number: 6, seven digits, a check digit.
    if (n.size() == 9 && n.at(0) == u'6')
        return (pesata(n, {8, 7, 6, 5, 4, 3, 2}, 1) % 11 + 8) % 10 == cifra(n, 8);
    return numeroNascita(n);
}

bool germania(const QString &n)
{
    return n.size() == 9 && cifre(n) && n.at(0) != u'0' && mod11_10(n);
}

bool danimarca(const QString &n)
{
    return n.size() == 8 && cifre(n) && n.at(0) != u'0' && pesata(n, {2, 7, 6, 5, 4, 3, 2, 1}) % 11 == 0;
}

bool estonia(const QString &n)
{
    return n.size() == 9 && cifre(n) && (10 - pesata(n, {3, 7, 1, 3, 7, 1, 3, 7}) % 10) % 10 == cifra(n, 8);
}

bool grecia(QString n)
{
    if (n.size() == 8)
        n.prepend(u'0');
    if (n.size() != 9 || !cifre(n))
        return false;
    return pesata(n, {256, 128, 64, 32, 16, 8, 4, 2}) % 11 % 10 == cifra(n, 8);
}

bool spagna(const QString &n)
{
    if (n.size() != 9)
        return false;
    static const QString lettereDni = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");
    static const QString lettereCif = QStringLiteral("JABCDEFGHI");
    const QChar primo = n.at(0), ultimo = n.at(8);
    if (primo.isDigit() || primo == u'X' || primo == u'Y' || primo == u'Z') {
        // Residents (DNI) and foreigners (NIE): a letter from the number.
        QString num = n.left(8);
        if (!primo.isDigit())
            num[0] = QChar(char16_t(u'0' + QStringLiteral("XYZ").indexOf(primo)));
        return cifre(num) && ultimo == lettereDni.at(num.toInt() % 23);
    }
    if (!cifre(n.mid(1, 7)))
        return false;
    // Minors, non-resident Spaniards and foreigners without a NIE: the
    // letter of their seven digits.
    if (primo == u'K' || primo == u'L' || primo == u'M')
        return ultimo == lettereDni.at(n.mid(1, 7).toInt() % 23);
    if (!QStringLiteral("ABCDEFGHJNPQRSUVW").contains(primo))
        return false;
    int somma = 0;
    for (int i = 0; i < 7; ++i) {
        int v = cifra(n, i + 1);
        if (i % 2 == 0) {
            v *= 2;
            v = v / 10 + v % 10;
        }
        somma += v;
    }
    const int c = (10 - somma % 10) % 10;
    const bool numero = ultimo == QChar(u'0' + c), lettera = ultimo == lettereCif.at(c);
    // Companies end with the digit; public bodies, foreign entities and
    // non-residents' establishments with the letter; the others with either.
    if (QStringLiteral("ABEH").contains(primo))
        return numero;
    if (QStringLiteral("NPQSW").contains(primo))
        return lettera;
    return numero || lettera;
}

bool finlandia(const QString &n)
{
    if (n.size() != 8 || !cifre(n))
        return false;
    int c = 11 - pesata(n, {7, 9, 10, 5, 8, 4, 2}) % 11;
    if (c == 11)
        c = 0;
    return c != 10 && c == cifra(n, 7);
}

bool francia(const QString &n)
{
    if (n.size() != 11 || !cifre(n.mid(2)))
        return false;
    const QString siren = n.mid(2);
    // Monaco's companies carry 000 and no company-register check.
    if (!siren.startsWith(QStringLiteral("000")) && !luhn(siren))
        return false;
    const QString chiave = n.left(2);
    if (cifre(chiave))
        return (12 + 3 * (siren.toLongLong() % 97)) % 97 == chiave.toInt();
    // Keys of two characters with at least one letter (I and O are not used).
    static const QString alfabeto = QStringLiteral("0123456789ABCDEFGHJKLMNPQRSTUVWXYZ");
    const int c1 = int(alfabeto.indexOf(chiave.at(0))), c2 = int(alfabeto.indexOf(chiave.at(1)));
    if (c1 < 0 || c2 < 0)
        return false;
    const int s = c1 < 10 ? c1 * 24 + c2 - 10 : c1 * 34 + c2 - 100;
    return (siren.toLongLong() + 1 + s / 11) % 11 == s % 11;
}

bool croazia(const QString &n)
{
    return n.size() == 11 && cifre(n) && mod11_10(n);
}

bool ungheria(const QString &n)
{
    return n.size() == 8 && cifre(n) && (10 - pesata(n, {9, 7, 3, 1, 9, 7, 3}) % 10) % 10 == cifra(n, 7);
}

bool irlanda(QString n)
{
    // Old style: a digit, a letter or "+" or "*", five digits, the check
    // letter; the same check once written as seven digits.
    if (n.size() == 8 && n.at(0).isDigit() && !n.at(1).isDigit()) {
        const QChar s = n.at(1);
        if (!((s >= u'A' && s <= u'Z') || s == u'+' || s == u'*'))
            return false;
        n = QStringLiteral("0") + n.mid(2, 5) + n.at(0) + n.at(7);
    }
    if ((n.size() != 8 && n.size() != 9) || !cifre(n.left(7)))
        return false;
    static const QString lettere = QStringLiteral("WABCDEFGHIJKLMNOPQRSTUV");
    int somma = pesata(n, {8, 7, 6, 5, 4, 3, 2});
    if (n.size() == 9) {
        // Since 2013 a second letter follows, worth its place in the same alphabet.
        const int v = int(lettere.indexOf(n.at(8)));
        if (v < 0)
            return false;
        somma += 9 * v;
    }
    return n.at(7) == lettere.at(somma % 23);
}

bool lituania(const QString &n)
{
    if (!cifre(n) || (n.size() != 9 && n.size() != 12))
        return false;
    if (n.at(n.size() - 2) != u'1')
        return false;
    const int k = int(n.size()) - 1;
    int somma = 0;
    for (int i = 0; i < k; ++i)
        somma += (1 + i % 9) * cifra(n, i);
    int c = somma % 11;
    if (c == 10) {
        somma = 0;
        for (int i = 0; i < k; ++i)
            somma += (1 + (i + 2) % 9) * cifra(n, i);
        c = somma % 11;
    }
    return c % 10 == cifra(n, k);
}

bool lussemburgo(const QString &n)
{
    return n.size() == 8 && cifre(n) && n.left(6).toInt() % 89 == n.mid(6).toInt();
}

bool lettonia(const QString &n)
{
    if (n.size() != 11 || !cifre(n))
        return false;
    // Legal persons begin above 3.
    if (cifra(n, 0) > 3)
        return pesata(n, {9, 1, 4, 8, 3, 10, 2, 5, 7, 6, 1}) % 11 == 3;
    // Personal codes given since July 2017: 3, a digit from 2 to 9, nine
    // digits drawn at random, no birth date.
    if (cifra(n, 0) == 3 && cifra(n, 1) >= 2)
        return true;
    // Older personal codes: DDMMYY, the century (0 the 1800s, 1 the 1900s,
    // 2 the 2000s), three digits and the check digit.
    const int secolo = cifra(n, 6);
    if (secolo > 2 ||
        !nascitaValida(1800 + 100 * secolo + n.mid(4, 2).toInt(), n.mid(2, 2).toInt(), n.left(2).toInt()))
        return false;
    return (1 + pesata(n, {10, 5, 8, 4, 2, 1, 6, 3, 7, 9})) % 11 % 10 == cifra(n, 10);
}

bool malta(const QString &n)
{
    if (n.size() != 8 || !cifre(n) || n.at(0) == u'0')
        return false;
    return 37 - pesata(n, {3, 4, 6, 7, 8, 9}) % 37 == n.mid(6).toInt();
}

bool olanda(const QString &n)
{
    if (n.size() != 12 || n.at(9) != u'B' || !cifre(n.left(9)) || !cifre(n.mid(10)))
        return false;
    if (n.mid(10) == QStringLiteral("00"))
        return false;
    const int c = pesata(n, {9, 8, 7, 6, 5, 4, 3, 2}) % 11;
    if (c != 10 && c == cifra(n, 8))
        return true;
    // Sole traders' numbers are checked modulo 97 over the whole identifier.
    return mod97(QStringLiteral("NL") + n) == 1;
}

bool polonia(const QString &n)
{
    if (n.size() != 10 || !cifre(n))
        return false;
    const int c = pesata(n, {6, 5, 7, 2, 3, 4, 5, 6, 7}) % 11;
    return c != 10 && c == cifra(n, 9);
}

bool portogallo(const QString &n)
{
    if (n.size() != 9 || !cifre(n) || n.at(0) == u'0')
        return false;
    int c = 11 - pesata(n, {9, 8, 7, 6, 5, 4, 3, 2}) % 11;
    if (c > 9)
        c = 0;
    return c == cifra(n, 8);
}

bool romania(const QString &n)
{
    if (n.size() < 2 || n.size() > 10 || !cifre(n) || n.at(0) == u'0')
        return false;
    const QString p = n.rightJustified(10, u'0');
    return pesata(p, {7, 5, 3, 2, 1, 7, 5, 3, 2}) * 10 % 11 % 10 == cifra(p, 9);
}

bool svezia(const QString &n)
{
    return n.size() == 12 && cifre(n) && n.endsWith(QStringLiteral("01")) && luhn(n.left(10));
}

bool slovenia(const QString &n)
{
    if (n.size() != 8 || !cifre(n) || n.at(0) == u'0')
        return false;
    int c = 11 - pesata(n, {8, 7, 6, 5, 4, 3, 2}) % 11;
    if (c == 10)
        c = 0;
    return c != 11 && c == cifra(n, 7);
}

bool slovacchia(const QString &n)
{
    if (n.size() != 10 || !cifre(n))
        return false;
    // Legal persons, or a person's birth number.
    if (n.at(0) != u'0' && QStringLiteral("234789").contains(n.at(2)) && n.toLongLong() % 11 == 0)
        return true;
    return numeroNascita(n);
}

// Northern Ireland: the United Kingdom's numbers, government departments (GD)
// and health authorities (HA).
bool irlandaDelNord(const QString &n)
{
    if (n.size() == 5 && cifre(n.mid(2))) {
        const int k = n.mid(2).toInt();
        return (n.startsWith(QStringLiteral("GD")) && k < 500) ||
               (n.startsWith(QStringLiteral("HA")) && k >= 500);
    }
    if ((n.size() != 9 && n.size() != 12) || !cifre(n))
        return false;
    const int somma = pesata(n, {8, 7, 6, 5, 4, 3, 2, 10, 1});
    return somma % 97 == 0 || (somma + 55) % 97 == 0;
}

using Regola = std::function<bool(const QString &)>;

// Country code -> rule. Greece is written "EL" in VAT numbers.
const QHash<QString, Regola> &regole()
{
    static const QHash<QString, Regola> r = {
        {QStringLiteral("IT"), italia},     {QStringLiteral("AT"), austria},
        {QStringLiteral("BE"), belgio},     {QStringLiteral("BG"), bulgaria},
        {QStringLiteral("CY"), cipro},      {QStringLiteral("CZ"), cechia},
        {QStringLiteral("DE"), germania},   {QStringLiteral("DK"), danimarca},
        {QStringLiteral("EE"), estonia},    {QStringLiteral("EL"), grecia},
        {QStringLiteral("ES"), spagna},     {QStringLiteral("FI"), finlandia},
        {QStringLiteral("FR"), francia},    {QStringLiteral("HR"), croazia},
        {QStringLiteral("HU"), ungheria},   {QStringLiteral("IE"), irlanda},
        {QStringLiteral("LT"), lituania},   {QStringLiteral("LU"), lussemburgo},
        {QStringLiteral("LV"), lettonia},   {QStringLiteral("MT"), malta},
        {QStringLiteral("NL"), olanda},     {QStringLiteral("PL"), polonia},
        {QStringLiteral("PT"), portogallo}, {QStringLiteral("RO"), romania},
        {QStringLiteral("SE"), svezia},     {QStringLiteral("SI"), slovenia},
        {QStringLiteral("SK"), slovacchia}, {QStringLiteral("XI"), irlandaDelNord},
    };
    return r;
}

// Upper case, without blanks, dots, dashes and slashes.
QString pulisci(const QString &code)
{
    QString n;
    for (QChar c : code.toUpper())
        if (!c.isSpace() && c != u'.' && c != u'-' && c != u'/')
            n += c;
    return n;
}

} // namespace

int VerificaPartitaIvaUE(const QString &code, const QString &stato, const QString &iso, int lungPartIva,
                         int lungPartIva2)
{
    QString n = pulisci(code);
    if (n.isEmpty())
        return 0;
    QString paese = iso.trimmed().toUpper();
    if (paese.isEmpty())
        paese = stato.trimmed().toUpper();
    if (paese.isEmpty())
        paese = QStringLiteral("IT");
    if (paese == QStringLiteral("GR"))
        paese = QStringLiteral("EL");

    const auto &r = regole();
    auto it = r.find(paese);
    if (it == r.end()) {
        // Outside the EU only the lengths of the countries table are known; a
        // number typed with its country's prefix counts without it.
        if (lungPartIva <= 0 && lungPartIva2 <= 0)
            return 0;
        auto lunghezzaGiusta = [&](const QString &s) {
            const int l = int(s.size());
            return l == lungPartIva || l == lungPartIva2;
        };
        if (lunghezzaGiusta(n))
            return 0;
        if (paese.size() == 2 && n.startsWith(paese) && lunghezzaGiusta(n.mid(2)))
            return 0;
        return 1;
    }
    if (n.startsWith(paese) || (paese == QStringLiteral("EL") && n.startsWith(QStringLiteral("GR"))))
        n = n.mid(2);
    return (*it)(n) ? 0 : 1;
}
