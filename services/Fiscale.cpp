// VAT-number rules of the EU member states and the Italian fiscal code.
#include "services/Fiscale.h"

#include "components/util/UtilGlob.h"

#include <QHash>
#include <algorithm>
#include <functional>

namespace
{

int cifra(const QString &s, int i)
{
    return s.at(i).unicode() - '0';
}

// Sum of the leading digits, each times its weight.
int pesata(const QString &s, std::initializer_list<int> pesi)
{
    int somma = 0, i = 0;
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

// Remainder of a long decimal text (letters as 10..35) modulo 97.
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

bool italia(const QString &n)
{
    return n.size() == 11 && UtilGlob::SoloCifre(n) && n != QStringLiteral("00000000000") && luhn(n);
}

bool austria(const QString &n)
{
    if (n.size() != 9 || n.at(0) != u'U' || !UtilGlob::SoloCifre(n.mid(1)))
        return false;
    const QString d = n.mid(1);
    int somma = 0;
    for (int i = 0; i < 7; ++i) {
        int v = cifra(d, i) * (i % 2 ? 2 : 1);
        somma += v / 10 + v % 10;
    }
    return (10 - (somma + 4) % 10) % 10 == cifra(d, 7);
}

bool belgio(QString n)
{
    if (n.size() == 9)
        n.prepend(u'0');
    if (n.size() != 10 || !UtilGlob::SoloCifre(n) || (n.at(0) != u'0' && n.at(0) != u'1'))
        return false;
    return 97 - n.left(8).toInt() % 97 == n.mid(8).toInt();
}

bool bulgaria(const QString &n)
{
    if (!UtilGlob::SoloCifre(n))
        return false;
    if (n.size() == 9) {
        int c = pesata(n, {1, 2, 3, 4, 5, 6, 7, 8}) % 11;
        if (c == 10)
            c = pesata(n, {3, 4, 5, 6, 7, 8, 9, 10}) % 11 % 10;
        return c == cifra(n, 8);
    }
    if (n.size() != 10)
        return false;
    // Persons, foreigners and other bodies each have their own weights.
    const int d = cifra(n, 9);
    if (pesata(n, {2, 4, 8, 5, 10, 9, 7, 3, 6}) % 11 % 10 == d)
        return true;
    if (pesata(n, {21, 19, 17, 13, 11, 9, 7, 3, 1}) % 10 == d)
        return true;
    int c = 11 - pesata(n, {4, 3, 2, 7, 6, 5, 4, 3, 2}) % 11;
    if (c == 11)
        c = 0;
    return c != 10 && c == d;
}

bool cipro(const QString &n)
{
    if (n.size() != 9 || !UtilGlob::SoloCifre(n.left(8)) || !n.at(8).isLetter())
        return false;
    if (n.startsWith(QStringLiteral("12")))
        return false;
    static const int dispari[] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21};
    int somma = 0;
    for (int i = 0; i < 8; ++i)
        somma += i % 2 == 0 ? dispari[cifra(n, i)] : cifra(n, i);
    return n.at(8).unicode() == 'A' + somma % 26;
}

bool cechia(const QString &n)
{
    if (!UtilGlob::SoloCifre(n))
        return false;
    if (n.size() == 8) {
        if (n.at(0) == u'9')
            return false;
        int c = (11 - pesata(n, {8, 7, 6, 5, 4, 3, 2}) % 11) % 11;
        return (c == 0 ? 1 : c) % 10 == cifra(n, 7);
    }
    if (n.size() == 10)
        return n.toLongLong() % 11 == 0;
    return n.size() == 9;
}

bool germania(const QString &n)
{
    return n.size() == 9 && UtilGlob::SoloCifre(n) && n.at(0) != u'0' && mod11_10(n);
}

bool danimarca(const QString &n)
{
    return n.size() == 8 && UtilGlob::SoloCifre(n) && n.at(0) != u'0' && pesata(n, {2, 7, 6, 5, 4, 3, 2, 1}) % 11 == 0;
}

bool estonia(const QString &n)
{
    if (n.size() != 9 || !UtilGlob::SoloCifre(n) || !n.startsWith(QStringLiteral("10")))
        return false;
    return (10 - pesata(n, {3, 7, 1, 3, 7, 1, 3, 7}) % 10) % 10 == cifra(n, 8);
}

bool grecia(QString n)
{
    if (n.size() == 8)
        n.prepend(u'0');
    if (n.size() != 9 || !UtilGlob::SoloCifre(n))
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
        return UtilGlob::SoloCifre(num) && ultimo == lettereDni.at(num.toInt() % 23);
    }
    if (!QStringLiteral("ABCDEFGHJKLMNPQRSUVW").contains(primo) || !UtilGlob::SoloCifre(n.mid(1, 7)))
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
    return ultimo == QChar(u'0' + c) || ultimo == lettereCif.at(c);
}

bool finlandia(const QString &n)
{
    if (n.size() != 8 || !UtilGlob::SoloCifre(n))
        return false;
    int c = 11 - pesata(n, {7, 9, 10, 5, 8, 4, 2}) % 11;
    if (c == 11)
        c = 0;
    return c != 10 && c == cifra(n, 7);
}

bool francia(const QString &n)
{
    if (n.size() != 11 || !UtilGlob::SoloCifre(n.mid(2)))
        return false;
    const QString chiave = n.left(2);
    if (UtilGlob::SoloCifre(chiave))
        return (12 + 3 * (n.mid(2).toLongLong() % 97)) % 97 == chiave.toInt();
    // Alphanumeric keys (letters other than I and O) have no public check.
    for (QChar c : chiave)
        if (!(c.isDigit() || (c >= u'A' && c <= u'Z' && c != u'I' && c != u'O')))
            return false;
    return true;
}

bool croazia(const QString &n)
{
    return n.size() == 11 && UtilGlob::SoloCifre(n) && mod11_10(n);
}

bool ungheria(const QString &n)
{
    return n.size() == 8 && UtilGlob::SoloCifre(n) && (10 - pesata(n, {9, 7, 3, 1, 9, 7, 3}) % 10) % 10 == cifra(n, 7);
}

bool irlanda(QString n)
{
    // Old style: digit, letter or + or *, five digits, check letter.
    if (n.size() == 8 && n.at(0).isDigit() && !n.at(1).isDigit())
        n = QStringLiteral("0") + n.mid(2, 5) + n.at(0) + n.at(7);
    if ((n.size() != 8 && n.size() != 9) || !UtilGlob::SoloCifre(n.left(7)))
        return false;
    static const QString lettere = QStringLiteral("WABCDEFGHIJKLMNOPQRSTUV");
    int somma = pesata(n, {8, 7, 6, 5, 4, 3, 2});
    if (n.size() == 9) {
        const QChar l = n.at(8);
        if (l >= u'A' && l <= u'I')
            somma += (l.unicode() - 'A' + 1) * 9;
        else if (l != u'W')
            return false;
    }
    return n.at(7) == lettere.at(somma % 23);
}

bool lituania(const QString &n)
{
    if (!UtilGlob::SoloCifre(n) || (n.size() != 9 && n.size() != 12))
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
    return n.size() == 8 && UtilGlob::SoloCifre(n) && n.left(6).toInt() % 89 == n.mid(6).toInt();
}

bool lettonia(const QString &n)
{
    if (n.size() != 11 || !UtilGlob::SoloCifre(n))
        return false;
    // Persons (first digit 0..3) carry a personal code without a usable public check.
    if (cifra(n, 0) <= 3)
        return true;
    return pesata(n, {9, 1, 4, 8, 3, 10, 2, 5, 7, 6, 1}) % 11 == 3;
}

bool malta(const QString &n)
{
    return n.size() == 8 && UtilGlob::SoloCifre(n) && n.at(0) != u'0' &&
           pesata(n, {3, 4, 6, 7, 8, 9, 10, 1}) % 37 == 0;
}

bool olanda(const QString &n)
{
    if (n.size() != 12 || n.at(9) != u'B' || !UtilGlob::SoloCifre(n.left(9)) || !UtilGlob::SoloCifre(n.mid(10)))
        return false;
    if (n.mid(10) == QStringLiteral("00"))
        return false;
    int c = pesata(n, {9, 8, 7, 6, 5, 4, 3, 2}) % 11;
    if (c != 10 && c == cifra(n, 8))
        return true;
    // Sole traders' numbers are checked modulo 97 over the whole identifier.
    return mod97(QStringLiteral("NL") + n) == 1;
}

bool polonia(const QString &n)
{
    if (n.size() != 10 || !UtilGlob::SoloCifre(n))
        return false;
    const int c = pesata(n, {6, 5, 7, 2, 3, 4, 5, 6, 7}) % 11;
    return c != 10 && c == cifra(n, 9);
}

bool portogallo(const QString &n)
{
    if (n.size() != 9 || !UtilGlob::SoloCifre(n) || n.at(0) == u'0')
        return false;
    int c = 11 - pesata(n, {9, 8, 7, 6, 5, 4, 3, 2}) % 11;
    if (c > 9)
        c = 0;
    return c == cifra(n, 8);
}

bool romania(const QString &n)
{
    if (n.size() < 2 || n.size() > 10 || !UtilGlob::SoloCifre(n) || n.at(0) == u'0')
        return false;
    const QString p = n.rightJustified(10, u'0');
    return pesata(p, {7, 5, 3, 2, 1, 7, 5, 3, 2}) * 10 % 11 % 10 == cifra(p, 9);
}

bool svezia(const QString &n)
{
    return n.size() == 12 && UtilGlob::SoloCifre(n) && n.endsWith(QStringLiteral("01")) && luhn(n.left(10));
}

bool slovenia(const QString &n)
{
    if (n.size() != 8 || !UtilGlob::SoloCifre(n) || n.at(0) == u'0')
        return false;
    int c = 11 - pesata(n, {8, 7, 6, 5, 4, 3, 2}) % 11;
    if (c == 10)
        c = 0;
    return c != 11 && c == cifra(n, 7);
}

bool slovacchia(const QString &n)
{
    return n.size() == 10 && UtilGlob::SoloCifre(n) && n.at(0) != u'0' && QStringLiteral("234789").contains(n.at(2)) &&
           n.toLongLong() % 11 == 0;
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
        {QStringLiteral("SK"), slovacchia},
    };
    return r;
}

QString pulisci(const QString &code)
{
    QString n;
    for (QChar c : code.toUpper())
        if (!c.isSpace() && c != u'.' && c != u'-' && c != u'/')
            n += c;
    return n;
}

// Letters only, upper case, accents dropped ("D'Amico" -> "DAMICO", "Niccolò" -> "NICCOLO").
QString soloLettere(const QString &s)
{
    QString r;
    for (QChar c : s.normalized(QString::NormalizationForm_D).toUpper())
        if (c >= u'A' && c <= u'Z')
            r += c;
    return r;
}

bool vocale(QChar c)
{
    return QStringLiteral("AEIOU").contains(c);
}

QString consonanti(const QString &s)
{
    QString r;
    for (QChar c : s)
        if (!vocale(c))
            r += c;
    return r;
}

QString vocali(const QString &s)
{
    QString r;
    for (QChar c : s)
        if (vocale(c))
            r += c;
    return r;
}

QString treLettere(const QString &cons, const QString &voc)
{
    return (cons + voc + QStringLiteral("XXX")).left(3);
}

const QString mesi = QStringLiteral("ABCDEHLMPRST");
const QString omocodia = QStringLiteral("LMNPQRSTUV");

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
        // Outside the EU only the lengths of the country table are known.
        const int l = int(n.size());
        if (lungPartIva <= 0 && lungPartIva2 <= 0)
            return 0;
        return (l == lungPartIva || l == lungPartIva2) ? 0 : 1;
    }
    if (n.startsWith(paese) || (paese == QStringLiteral("EL") && n.startsWith(QStringLiteral("GR"))))
        n = n.mid(2);
    return (*it)(n) ? 0 : 1;
}

QChar CarattereControlloCf(const QString &primi15)
{
    static const int dispari[] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                  20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    if (primi15.size() != 15)
        return QChar();
    int somma = 0;
    for (int i = 0; i < 15; ++i) {
        const QChar c = primi15.at(i).toUpper();
        int v;
        if (c >= u'0' && c <= u'9')
            v = c.unicode() - '0';
        else if (c >= u'A' && c <= u'Z')
            v = c.unicode() - 'A';
        else
            return QChar();
        // Positions are counted from 1: the odd ones use the odd table.
        somma += i % 2 == 0 ? dispari[v] : v;
    }
    return QChar(u'A' + somma % 26);
}

int VerificaPartitaIva(const QString &code, int pbFlag)
{
    const QString n = code.trimmed().toUpper();
    if (n.isEmpty())
        return 0;
    if (n.size() == 11 && pbFlag == 0)
        return VerificaPartitaIvaUE(n, QString(), QStringLiteral("IT"), 11, 0);
    if (n.size() != 16)
        return 1;
    // Positions that hold digits may hold their homonym letters instead.
    static const int posCifre[] = {6, 7, 9, 10, 12, 13, 14};
    QString decodificato = n;
    for (int i = 0; i < 16; ++i) {
        const QChar c = n.at(i);
        const bool perCifra = std::find(std::begin(posCifre), std::end(posCifre), i) != std::end(posCifre);
        if (perCifra) {
            if (c.isDigit() && c.unicode() < 128)
                continue;
            const int k = int(omocodia.indexOf(c));
            if (k < 0)
                return 1;
            decodificato[i] = QChar(u'0' + k);
        } else if (!(c >= u'A' && c <= u'Z')) {
            return 1;
        }
    }
    if (!mesi.contains(n.at(8)))
        return 1;
    const int giorno = decodificato.mid(9, 2).toInt();
    if (!((giorno >= 1 && giorno <= 31) || (giorno >= 41 && giorno <= 71)))
        return 1;
    return CarattereControlloCf(n.left(15)) == n.at(15) ? 0 : 1;
}

QString CodiceFiscale(const QString &cognome, const QString &nome, const QDate &nascita, const QString &sesso,
                      const QString &codCatastale)
{
    const QString comune = codCatastale.trimmed().toUpper();
    if (!nascita.isValid() || comune.size() != 4 || !(comune.at(0) >= u'A' && comune.at(0) <= u'Z') ||
        !UtilGlob::SoloCifre(comune.mid(1)))
        return QString();

    const QString c = soloLettere(cognome);
    const QString n = soloLettere(nome);
    QString codice = treLettere(consonanti(c), vocali(c));
    const QString consNome = consonanti(n);
    // A first name with four or more consonants skips the second one.
    if (consNome.size() >= 4)
        codice += QString(consNome.at(0)) + consNome.at(2) + consNome.at(3);
    else
        codice += treLettere(consNome, vocali(n));

    codice += QString::number(nascita.year() % 100).rightJustified(2, u'0');
    codice += mesi.at(nascita.month() - 1);
    int giorno = nascita.day();
    if (sesso.trimmed().compare(QStringLiteral("F"), Qt::CaseInsensitive) == 0)
        giorno += 40;
    codice += QString::number(giorno).rightJustified(2, u'0');
    codice += comune;
    codice += CarattereControlloCf(codice);
    return codice;
}
