// Column choice, widths and plain numbers of a print.
#include "components/stampa/ColonneStampa.h"

#include "components/util/Currency.h"

#include <QLocale>
#include <cmath>

namespace colonne_stampa {

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

QString NumeroSemplice(const CellaStampa &cella, QChar decimale)
{
    const QVariant &v = cella.valore;
    QString testo;
    if (v.userType() == qMetaTypeId<Currency>()) {
        const Currency c = v.value<Currency>();
        // Exact: the shortest text, widened to the decimals the list shows.
        testo = c.toShortString();
        const int mostrati = qMin(4, DecimaliMostrati(cella.testo));
        const int punto = testo.indexOf(QLatin1Char('.'));
        const int propri = punto < 0 ? 0 : int(testo.size()) - punto - 1;
        if (mostrati > propri)
            testo = c.toString(mostrati);
    } else {
        double d = 0;
        if (!Numero(v, d))
            return cella.testo;
        const bool intero = v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float;
        if (intero) {
            testo = v.toString();
        } else {
            testo = QString::number(d, 'f', QLocale::FloatingPointShortest);
            const int punto = testo.indexOf(QLatin1Char('.'));
            const int propri = punto < 0 ? 0 : int(testo.size()) - punto - 1;
            const int mostrati = DecimaliMostrati(cella.testo);
            if (mostrati > propri)
                testo = QString::number(d, 'f', mostrati);
        }
    }
    if (decimale != QLatin1Char('.'))
        testo.replace(QLatin1Char('.'), decimale);
    return testo;
}

} // namespace colonne_stampa
