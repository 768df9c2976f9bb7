// Conditions of a list's search fields.
#include "components/lista/CampiRicerca.h"

#include "components/util/UtilGlob.h"

#include <QDate>

namespace
{

const UtilGlob &util()
{
    static const UtilGlob u;
    return u;
}

QString testo(const QString &v)
{
    return util().ValoreSql(v, UtilGlob::TipoTesto);
}

// (c1, c2, ...) compared with (l1, l2, ...) in key order: every column but
// the last decides when it differs; the last one takes the operator.
QString confrontoChiave(const QStringList &colonne, const QStringList &letterali, const QString &op)
{
    const QString stretto = op.startsWith(QLatin1Char('>')) ? QStringLiteral(">") : QStringLiteral("<");
    const int k = int(letterali.size());
    QString f = colonne[k - 1] + QLatin1Char(' ') + op + QLatin1Char(' ') + letterali[k - 1];
    for (int i = k - 2; i >= 0; --i)
        f = QLatin1Char('(') + colonne[i] + QLatin1Char(' ') + stretto + QLatin1Char(' ') + letterali[i] +
            QStringLiteral(" Or (") + colonne[i] + QStringLiteral(" = ") + letterali[i] +
            QStringLiteral(" And ") + f + QStringLiteral("))");
    if (k == 1)
        return f;
    // The first column also as a plain range, which an index can seek.
    const QString largo = stretto + QLatin1Char('=');
    return QLatin1Char('(') + colonne[0] + QLatin1Char(' ') + largo + QLatin1Char(' ') + letterali[0] +
           QStringLiteral(" And ") + f + QLatin1Char(')');
}

} // namespace

QString IntervalloInizio(const QString &colonna, const QString &inizio)
{
    if (inizio.isEmpty())
        return {};
    QString da;
    for (const QChar c : inizio) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return {};
        da += c.toLower();
    }
    QString a = da;
    a.back() = QChar(a.back().unicode() + 1);
    return QLatin1Char('(') + colonna + QStringLiteral(" >= ") + testo(da) + QStringLiteral(" And ") +
           colonna + QStringLiteral(" < ") + testo(a) + QLatin1Char(')');
}

QStringList CampoRicerca::Colonne() const
{
    if (!specifica.startsWith(QLatin1Char('|')))
        return {specifica.trimmed()};
    QStringList parti = specifica.split(QLatin1Char('|'));
    return parti.mid(2);
}

QString CampoRicerca::Separatore() const
{
    if (!specifica.startsWith(QLatin1Char('|')))
        return {};
    return specifica.split(QLatin1Char('|')).value(1);
}

bool CampoRicerca::Data() const
{
    if (tipo.typeId() == QMetaType::QString)
        return tipo.toString().compare(QLatin1String("Data"), Qt::CaseInsensitive) == 0;
    return tipo.isValid() && (tipo.toInt() == 7 || tipo.toInt() == 8);
}

bool CampoRicerca::Conto() const
{
    return tipo.typeId() == QMetaType::QString &&
           tipo.toString().compare(QLatin1String("Conto"), Qt::CaseInsensitive) == 0;
}

bool CondizioneCampo(const CampoRicerca &campo, const QString &testoCampo, QString &condizione,
                     QString *errore, bool inizioComeIntervallo)
{
    condizione.clear();
    const QString t = testoCampo.trimmed();
    if (t.isEmpty())
        return true;
    const QStringList colonne = campo.Colonne();
    const QString op = campo.operatore.trimmed();
    const bool simile = op.compare(QLatin1String("like*"), Qt::CaseInsensitive) == 0;

    if (colonne.size() > 1) {
        // A composite key: its parts, in the key's order.
        QString valore = t;
        if (campo.Conto())
            valore = util().FormattaMaschera(t, QStringLiteral("Conto"));
        const QString sep = campo.Separatore();
        QStringList parti = sep.isEmpty() ? QStringList{valore} : valore.split(sep);
        for (QString &p : parti)
            p = p.trimmed();
        while (!parti.isEmpty() && parti.last().isEmpty())
            parti.removeLast();
        if (parti.isEmpty())
            return true;
        parti = parti.mid(0, colonne.size());
        const bool tutto = campo.extra.toString().compare(QLatin1String("A"), Qt::CaseInsensitive) == 0;
        if ((op == QLatin1String("<=") || op == QLatin1String("<")) && !tutto)
            while (parti.size() < colonne.size())
                parti << QString();
        QStringList letterali;
        for (const QString &p : std::as_const(parti))
            letterali << testo(p);
        if (op == QLatin1String("=") || simile) {
            QStringList uguali;
            for (int i = 0; i < letterali.size(); ++i)
                uguali << colonne[i] + QStringLiteral(" = ") + letterali[i];
            condizione = QLatin1Char('(') + uguali.join(QStringLiteral(" And ")) + QLatin1Char(')');
            return true;
        }
        condizione = confrontoChiave(colonne, letterali, op);
        return true;
    }

    const QString colonna = colonne.value(0);
    if (campo.Data()) {
        const QDate data = UtilGlob::LeggiData(t);
        if (!data.isValid()) {
            if (errore)
                *errore = QStringLiteral("Data non valida: ") + t;
            return false;
        }
        condizione = colonna + QLatin1Char(' ') + (simile ? QStringLiteral("=") : op) + QLatin1Char(' ') +
                     util().ValoreSql(data, UtilGlob::TipoData);
        return true;
    }
    if (simile) {
        if (inizioComeIntervallo)
            condizione = IntervalloInizio(colonna, t);
        if (condizione.isEmpty())
            condizione = colonna + QStringLiteral(" Like ") + util().ValoreSqlLike(t, false, true);
        return true;
    }
    condizione =
        colonna + QLatin1Char(' ') + (op.isEmpty() ? QStringLiteral("=") : op) + QLatin1Char(' ') + testo(t);
    return true;
}
