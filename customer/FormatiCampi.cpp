// Texts the customer form composes from its fields.
#include "customer/FormatiCampi.h"

#include "components/util/UtilGlob.h"
#include "services/Globali.h"

#include <QLocale>

QString IbanAGruppi(const QString &iban)
{
    QString compatto = iban;
    compatto.remove(u' ');
    // Six groups of four, then the rest of the code as one last group: an
    // Italian IBAN ends with three characters, a longer one keeps its tail
    // whole. A short code keeps the groups' places, empty, with their blanks.
    QString r;
    for (int i = 0; i < 24; i += 4)
        r += compatto.mid(i, 4) + u' ';
    return r + compatto.mid(24);
}

QString BloccoIndirizzo(const QString &ragSoc, const QString &ragSoc2, const QString &indirizzo,
                        const QString &cap, const QString &localita, const QString &pr, const QString &stato)
{
    return ragSoc + u' ' + ragSoc2 + QStringLiteral("\r\n") + indirizzo + QStringLiteral("\r\n") + cap +
           u' ' + localita + QStringLiteral(" (") + pr + QStringLiteral(")-") + stato;
}

QUrl IndirizzoMappa(const QString &indirizzo, const QString &cap, const QString &localita, const QString &pr,
                    const QString &paese)
{
    const UtilGlob &u = Globali::Util();
    QByteArray ricerca;
    auto aggiungi = [&](const QString &parte) {
        if (u.ValoreVuoto(parte))
            return;
        // A blank is "+"; "&", "#", "?" and the like are encoded so that a
        // street cannot cut the query short.
        ricerca += ',' + QUrl::toPercentEncoding(parte, " ,'").replace(' ', '+');
    };
    aggiungi(indirizzo);
    aggiungi(cap);
    aggiungi(localita);
    if (pr.trimmed().compare(QLatin1String("EE"), Qt::CaseInsensitive) != 0)
        aggiungi(pr);
    if (paese.trimmed().compare(QLatin1String("italia"), Qt::CaseInsensitive) != 0)
        aggiungi(paese);
    if (ricerca.isEmpty())
        return {};
    return QUrl::fromEncoded("https://maps.google.com/maps?q=" + ricerca.mid(1) +
                             "&ie=UTF8&hl=it&oi=georefine&ct=clnk&cd=3&geocode=FX17pQIdBU66AA&split=0");
}

QString TestoNumero(const QVariant &valore)
{
    if (!valore.isValid() || valore.isNull() || valore.toString().trimmed().isEmpty())
        return {};
    bool ok = false;
    // Amounts come as exact decimal text with a point, the rest as numbers.
    double d = QLocale::c().toDouble(valore.toString().trimmed(), &ok);
    if (!ok)
        d = valore.toDouble(&ok);
    if (!ok)
        return valore.toString();
    return QString::number(d, 'g', 15).replace(u'.', u',');
}

QString NuovoCodiceConto(const QString &prefisso, const std::function<QString(const QString &)> &ultimo)
{
    QString p = Globali::Util().ValoreVuoto(prefisso) ? QString() : prefisso;
    if (p.size() >= 4)
        return {};
    for (;;) {
        const int n = int(Globali::Util().ValoreNumerico(ultimo(p)));
        const QString numero = QString::number(n + 1).rightJustified(4 - int(p.size()), u'0');
        if (p.size() + numero.size() <= 4)
            return p + numero;
        if (p.isEmpty()) {
            p = QStringLiteral("A");
            continue;
        }
        const QChar ultima = p.back().toUpper();
        if (ultima.unicode() >= u'Z')
            return {};
        p = p.chopped(1) + QChar(char16_t(ultima.unicode() + 1));
    }
}
