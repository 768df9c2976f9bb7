// Fiscal codes, VAT numbers and IBANs of the demo data.
#include "data/generator/CodiciDemo.h"

namespace CodiciDemo
{

namespace
{

// Values of the characters in odd positions (fiscal code and IBAN CIN share them).
int ValoreDispari(QChar c)
{
    static const int tabella[26] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                    20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    const int i = c.isDigit() ? c.digitValue() : c.toUpper().unicode() - u'A';
    return (i >= 0 && i < 26) ? tabella[i] : 0;
}

int ValorePari(QChar c)
{
    return c.isDigit() ? c.digitValue() : c.toUpper().unicode() - u'A';
}

QChar ControlloAlternato(const QString &s)
{
    int somma = 0;
    for (qsizetype i = 0; i < s.size(); ++i)
        somma += (i % 2 == 0) ? ValoreDispari(s.at(i)) : ValorePari(s.at(i));
    return QChar(u'A' + somma % 26);
}

bool Vocale(QChar c)
{
    return QStringLiteral("AEIOU").contains(c);
}

QString Parte(const QString &testo, bool nome)
{
    const QString s = SoloLettere(testo);
    QString cons, voc;
    for (QChar c : s)
        (Vocale(c) ? voc : cons) += c;
    if (nome && cons.size() >= 4)
        return QString(cons.at(0)) + cons.at(2) + cons.at(3);
    return (cons + voc + QStringLiteral("XXX")).left(3);
}

} // namespace

QString SoloLettere(const QString &testo)
{
    QString out;
    for (QChar c : testo.normalized(QString::NormalizationForm_D).toUpper())
        if (c >= u'A' && c <= u'Z')
            out += c;
    return out;
}

QChar CarattereControllo(const QString &primi15)
{
    return ControlloAlternato(primi15);
}

QString CodiceFiscale(const QString &cognome, const QString &nome, const QDate &nascita, bool femmina,
                      const QString &codiceCatastale)
{
    static const QString mesi = QStringLiteral("ABCDEHLMPRST");
    QString cf = Parte(cognome, false) + Parte(nome, true);
    cf += QStringLiteral("%1").arg(nascita.year() % 100, 2, 10, QChar(u'0'));
    cf += mesi.at(nascita.month() - 1);
    cf += QStringLiteral("%1").arg(nascita.day() + (femmina ? 40 : 0), 2, 10, QChar(u'0'));
    cf += codiceCatastale.toUpper();
    return cf + CarattereControllo(cf);
}

QString PartitaIva(const QString &primi10)
{
    int somma = 0;
    for (int i = 0; i < 10; ++i) {
        int d = primi10.at(i).digitValue();
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        somma += d;
    }
    return primi10 + QChar(u'0' + (10 - somma % 10) % 10);
}

QString PartitaIvaTedesca(const QString &primi8)
{
    int prodotto = 10;
    for (QChar c : primi8) {
        int somma = (c.digitValue() + prodotto) % 10;
        if (somma == 0)
            somma = 10;
        prodotto = (2 * somma) % 11;
    }
    int controllo = 11 - prodotto;
    if (controllo == 10)
        controllo = 0;
    return primi8 + QChar(u'0' + controllo);
}

QString PartitaIvaFrancese(const QString &siren)
{
    const int chiave = int((12 + 3 * (siren.toLongLong() % 97)) % 97);
    return QStringLiteral("%1").arg(chiave, 2, 10, QChar(u'0')) + siren;
}

QString CifreControlloIban(const QString &paese, const QString &bban)
{
    const QString riordinato = bban + paese + QStringLiteral("00");
    int resto = 0;
    for (QChar c : riordinato) {
        const int v = c.isDigit() ? c.digitValue() : c.toUpper().unicode() - u'A' + 10;
        resto = v >= 10 ? (resto * 100 + v) % 97 : (resto * 10 + v) % 97;
    }
    return QStringLiteral("%1").arg(98 - resto, 2, 10, QChar(u'0'));
}

QString IbanItaliano(const QString &abi, const QString &cab, const QString &conto)
{
    const QString corpo = abi + cab + conto.rightJustified(12, u'0');
    const QString bban = ControlloAlternato(corpo) + corpo;
    return QStringLiteral("IT") + CifreControlloIban(QStringLiteral("IT"), bban) + bban;
}

} // namespace CodiciDemo
