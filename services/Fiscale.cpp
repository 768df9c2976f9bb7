// The Italian fiscal code: its check and its computation.
#include "services/Fiscale.h"

#include "components/util/UtilGlob.h"

#include <algorithm>

namespace
{

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
    // The code holds the year in two digits: only birth years of the two
    // centuries it can tell apart make a code (a negative or far year would
    // give a malformed one).
    if (!nascita.isValid() || nascita.year() < AnnoMinimoCf || nascita.year() > AnnoMassimoCf ||
        comune.size() != 4 || !(comune.at(0) >= u'A' && comune.at(0) <= u'Z') ||
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
    const QChar controllo = CarattereControlloCf(codice);
    if (controllo.isNull())
        return QString();
    return codice + controllo;
}
