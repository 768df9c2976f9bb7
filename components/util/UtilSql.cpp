// SQL literals in the Jet dialect: the one way values reach a statement.
#include "components/util/Decimale.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QDateTime>
#include <cmath>

namespace
{
VbErrore tipoNonCorrispondente()
{
    return VbErrore(VbErrore::TipoNonCorrispondente, QStringLiteral("Tipo non corrispondente"));
}

QString testoQuotato(const QString &testo)
{
    QString s = testo;
    s.remove(QChar(0));
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

// A decimal without exponent, '.' as the point, no trailing zeros.
QString decimaleSql(const QVariant &v, double n)
{
    if (v.userType() == qMetaTypeId<Currency>())
        return Decimale::DaCurrency(v.value<Currency>()).Normalizzato().Testo();
    Decimale d;
    if (Decimale::DaDouble(n, d))
        return d.Normalizzato().Testo();
    return QString::number(n, 'f', 0);
}
} // namespace

QString UtilGlob::ProteggiJolly(const QString &testo)
{
    QString s;
    s.reserve(testo.size() + 8);
    for (QChar c : testo) {
        if (c == u'[' || c == u'*' || c == u'?' || c == u'#') {
            s += u'[';
            s += c;
            s += u']';
        } else {
            s += c;
        }
    }
    return s;
}

QString UtilGlob::ValoreSqlLike(const QString &testo, bool jollyInizio, bool jollyFine) const
{
    QString p = ProteggiJolly(testo);
    if (jollyInizio)
        p.prepend(u'*');
    if (jollyFine)
        p += u'*';
    return testoQuotato(p);
}

QString UtilGlob::ValoreSql(const QVariant &valore, int tipo) const
{
    const QString nullo = QStringLiteral("Null");
    const bool vuoto = !valore.isValid() || valore.isNull() ||
                       (valore.typeId() == QMetaType::QString && valore.toString().trimmed().isEmpty());
    switch (tipo) {
    case TipoIntero:
    case TipoLungo:
    case TipoBooleano: {
        if (vuoto)
            return nullo;
        double n = 0;
        if (valore.typeId() == QMetaType::QString) {
            if (!LeggiNumero(valore.toString(), n))
                throw tipoNonCorrispondente();
        } else if (valore.typeId() == QMetaType::QDate || valore.typeId() == QMetaType::QDateTime) {
            throw tipoNonCorrispondente();
        } else {
            n = ValoreNumerico(valore);
        }
        if (tipo == TipoBooleano)
            return n != 0 ? QStringLiteral("-1") : QStringLiteral("0");
        n = Arrotonda(n);
        if (!std::isfinite(n) || std::fabs(n) > 9.2e18)
            throw VbErrore(6, QStringLiteral("Overflow"));
        return QString::number(qlonglong(n));
    }
    case TipoSingolo:
    case TipoDoppio:
    case TipoImporto: {
        if (vuoto)
            return nullo;
        double n = 0;
        if (valore.typeId() == QMetaType::QString) {
            QString normale;
            if (!NormalizzaNumero(valore.toString(), true, normale))
                throw tipoNonCorrispondente();
            Decimale d;
            if (Decimale::DaTesto(normale, d))
                return d.Normalizzato().Testo();
            n = normale.toDouble();
        } else if (valore.typeId() == QMetaType::QDate || valore.typeId() == QMetaType::QDateTime) {
            throw tipoNonCorrispondente();
        } else {
            n = ValoreNumerico(valore);
        }
        if (!std::isfinite(n))
            throw VbErrore(6, QStringLiteral("Overflow"));
        return decimaleSql(valore, n);
    }
    case TipoData: {
        if (vuoto)
            return nullo;
        const QVariant d = ValoreData(valore);
        if (!d.isValid())
            throw tipoNonCorrispondente();
        if (d.typeId() == QMetaType::QDateTime) {
            const QDateTime dt = d.toDateTime();
            if (dt.time() != QTime(0, 0))
                return u'#' + dt.toString(QStringLiteral("MM/dd/yyyy HH:mm:ss")) + u'#';
            return u'#' + dt.date().toString(QStringLiteral("MM/dd/yyyy")) + u'#';
        }
        return u'#' + d.toDate().toString(QStringLiteral("MM/dd/yyyy")) + u'#';
    }
    default: {
        if (!valore.isValid() || valore.isNull())
            return QStringLiteral("''");
        if (valore.typeId() == QMetaType::QDate)
            return testoQuotato(valore.toDate().toString(QStringLiteral("dd/MM/yyyy")));
        if (valore.typeId() == QMetaType::Bool)
            return testoQuotato(valore.toBool() ? QStringLiteral("-1") : QStringLiteral("0"));
        if (valore.userType() == qMetaTypeId<Currency>())
            return testoQuotato(decimaleSql(valore, 0));
        return testoQuotato(valore.toString());
    }
    }
}
