// Column choice, widths and plain numbers of a print.
#include "components/stampa/ColonneStampa.h"

#include "components/util/Currency.h"

#include <QLocale>
#include <cmath>

namespace colonne_stampa
{

QList<int> Scelte(const QList<ColonnaStampa> &colonne, const QString &tipoStampa)
{
    QList<int> tutte, visibili;
    for (int i = 0; i < colonne.size(); ++i) {
        tutte << i;
        if (colonne[i].visibile)
            visibili << i;
    }
    if (tipoStampa.compare(QLatin1String("T"), Qt::CaseInsensitive) == 0 || visibili.isEmpty())
        return tutte;
    return visibili;
}

QList<ColonnaStampa> Estrai(const QList<ColonnaStampa> &colonne, const QList<int> &indici)
{
    QList<ColonnaStampa> r;
    r.reserve(indici.size());
    for (int i : indici)
        if (i >= 0 && i < colonne.size())
            r << colonne[i];
    return r;
}

int LarghezzaTwip(const ColonnaStampa &colonna)
{
    if (colonna.larghezza > 0)
        return colonna.larghezza;
    // About 120 twips a character of a 10-point font, two characters of room.
    return qMax(600, int(colonna.didascalia.size() + 2) * 120);
}

bool Numero(const QVariant &valore, double &numero)
{
    if (!valore.isValid() || valore.isNull())
        return false;
    if (valore.userType() == qMetaTypeId<Currency>()) {
        numero = valore.value<Currency>().toDouble();
        return true;
    }
    switch (valore.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        numero = valore.toDouble();
        return std::isfinite(numero);
    default:
        return false;
    }
}

bool EValoreNumerico(const QVariant &valore)
{
    double d = 0;
    return Numero(valore, d);
}

int DecimaliMostrati(const QString &testo)
{
    const int virgola = testo.lastIndexOf(QLatin1Char(','));
    if (virgola < 0)
        return 0;
    int n = 0;
    for (int i = virgola + 1; i < testo.size() && testo[i].isDigit(); ++i)
        ++n;
    return n;
}

void AccodaNumeroSemplice(QString &destinazione, const CellaStampa &cella, QChar decimale)
{
    const QVariant &v = cella.valore;
    if (v.userType() == qMetaTypeId<Currency>()) {
        // Written from the exact count of ten-thousandths: the decimals it
        // needs, widened to those the list shows.
        const std::int64_t raw = v.value<Currency>().raw();
        const std::uint64_t assoluto = raw < 0 ? std::uint64_t(0) - std::uint64_t(raw) : std::uint64_t(raw);
        std::uint64_t frazione = assoluto % Currency::Scale;
        int propri = 4;
        while (propri > 0 && frazione % 10 == 0) {
            frazione /= 10;
            --propri;
        }
        const int decimali = qMax(propri, qMin(4, DecimaliMostrati(cella.testo)));
        char cifre[32];
        int n = 0;
        std::uint64_t intero = assoluto / Currency::Scale;
        do {
            cifre[n++] = char('0' + intero % 10);
            intero /= 10;
        } while (intero);
        if (raw < 0)
            destinazione += QLatin1Char('-');
        while (n > 0)
            destinazione += QLatin1Char(cifre[--n]);
        if (decimali > 0) {
            destinazione += decimale;
            std::uint64_t f = assoluto % Currency::Scale;
            for (int i = 0; i < decimali; ++i) {
                f *= 10;
                destinazione += QLatin1Char(char('0' + (f / Currency::Scale) % 10));
            }
        }
        return;
    }
    double d = 0;
    if (!Numero(v, d)) {
        destinazione += cella.testo;
        return;
    }
    QString testo;
    if (v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float) {
        testo = v.toString();
    } else {
        testo = QString::number(d, 'f', QLocale::FloatingPointShortest);
        const int punto = testo.indexOf(QLatin1Char('.'));
        const int propri = punto < 0 ? 0 : int(testo.size()) - punto - 1;
        const int mostrati = DecimaliMostrati(cella.testo);
        if (mostrati > propri)
            testo = QString::number(d, 'f', mostrati);
        if (decimale != QLatin1Char('.'))
            testo.replace(QLatin1Char('.'), decimale);
    }
    destinazione += testo;
}

QString NumeroSemplice(const CellaStampa &cella, QChar decimale)
{
    QString r;
    AccodaNumeroSemplice(r, cella, decimale);
    return r;
}

} // namespace colonne_stampa
