// Formatting of the utility object: VB Format, display and editing masks,
// amount patterns and the rewriting of a typed field.
#include "components/util/FormatoVb.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QLineEdit>
#include <QTime>
#include <cmath>

namespace
{
bool eMascheraConto(const QString &m)
{
    return m.trimmed().compare(QStringLiteral("Conto"), Qt::CaseInsensitive) == 0;
}

// The value as an exact decimal when it is a number or a numeric text.
bool decimaleDi(const QVariant &v, Decimale &d)
{
    if (v.userType() == qMetaTypeId<Currency>()) {
        d = Decimale::DaCurrency(v.value<Currency>());
        return true;
    }
    if (v.typeId() == QMetaType::Bool) {
        d = Decimale{v.toBool() ? -1 : 0, 0};
        return true;
    }
    if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::UInt) {
        d = Decimale{v.toLongLong(), 0};
        return true;
    }
    if (UtilGlob::ValoreENumero(v))
        return Decimale::DaDouble(v.toDouble(), d);
    if (v.typeId() == QMetaType::QString) {
        QString normale;
        return NormalizzaNumero(v.toString(), true, normale) && Decimale::DaTesto(normale, d);
    }
    return false;
}

// A date or a time is formatted as it stands: made into a date-time of no
// time zone (UTC), it needs no look-up of the local zone for every value and
// cannot be moved by a daylight-saving change at midnight.
QDateTime dataOraDi(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0), Qt::UTC);
    if (v.typeId() == QMetaType::QTime)
        return QDateTime(QDate(1899, 12, 30), v.toTime(), Qt::UTC);
    return QDateTime();
}

QString siNo(const Decimale &d, const QString &si, const QString &no)
{
    return d.zero() ? no : si;
}

// Named formats that are patterns.
QString formatoNominato(const QString &nome)
{
    static const QList<QPair<QString, QString>> nomi = {
        {QStringLiteral("Fixed"), QStringLiteral("0.00")},
        {QStringLiteral("Standard"), QStringLiteral("#,##0.00")},
        {QStringLiteral("Percent"), QStringLiteral("0.00%")},
        {QStringLiteral("Scientific"), QStringLiteral("0.00E+00")},
        {QStringLiteral("Currency"), QStringLiteral("€ #,##0.00;-€ #,##0.00")},
        {QStringLiteral("Long Date"), QStringLiteral("dddd d mmmm yyyy")},
        {QStringLiteral("Medium Date"), QStringLiteral("dd-mmm-yy")},
        {QStringLiteral("Short Date"), QStringLiteral("dd/mm/yyyy")},
        {QStringLiteral("Long Time"), QStringLiteral("hh:nn:ss")},
        {QStringLiteral("Medium Time"), QStringLiteral("hh:nn AM/PM")},
        {QStringLiteral("Short Time"), QStringLiteral("hh:nn")},
        {QStringLiteral("General Date"), QStringLiteral("c")},
    };
    for (const auto &n : nomi)
        if (n.first.compare(nome, Qt::CaseInsensitive) == 0)
            return n.second;
    return QString();
}

// Number of decimal placeholders of the first section.
int decimaliDi(const QString &formato)
{
    const QString sec = FormatoVb::Sezioni(formato).first();
    const qsizetype p = sec.indexOf(u'.');
    if (p < 0)
        return 0;
    int n = 0;
    for (qsizetype i = p + 1; i < sec.size(); ++i)
        n += sec[i] == u'0' || sec[i] == u'#' || sec[i] == u'^';
    return n;
}
} // namespace

QString UtilGlob::Formatta(const QVariant &valore, const QString &formato) const
{
    const bool nullo = !valore.isValid() || valore.isNull();
    QString f = formato;
    const QString nome = f.trimmed();
    Decimale d;
    const bool numero = !nullo && decimaleDi(valore, d);

    if (nome.compare(QStringLiteral("Yes/No"), Qt::CaseInsensitive) == 0 && numero)
        return siNo(d, QStringLiteral("Sì"), QStringLiteral("No"));
    if (nome.compare(QStringLiteral("True/False"), Qt::CaseInsensitive) == 0 && numero)
        return siNo(d, QStringLiteral("Vero"), QStringLiteral("Falso"));
    if (nome.compare(QStringLiteral("On/Off"), Qt::CaseInsensitive) == 0 && numero)
        return siNo(d, QStringLiteral("On"), QStringLiteral("Off"));
    if (nome.compare(QStringLiteral("General Number"), Qt::CaseInsensitive) == 0)
        f.clear();
    else if (const QString p = formatoNominato(nome); !p.isEmpty())
        f = p;

    if (nullo)
        return f.isEmpty() ? QString() : FormatoVb::Nullo(f);

    const QDateTime dt = dataOraDi(valore);
    if (f.isEmpty()) {
        if (valore.typeId() == QMetaType::Bool)
            return valore.toBool() ? QStringLiteral("Vero") : QStringLiteral("Falso");
        if (dt.isValid())
            return FormatoVb::Data(dt, QStringLiteral("c"));
        if (numero && valore.typeId() != QMetaType::QString)
            return FormatoVb::NumeroGenerale(d);
        return valore.toString();
    }
    if (dt.isValid()) {
        if (FormatoVb::HaCifre(f)) {
            Decimale serie;
            if (Decimale::DaDouble(ValoreNumerico(valore), serie))
                return FormatoVb::Numero(serie, f);
        }
        return FormatoVb::Data(dt, f);
    }
    if (numero && FormatoVb::HaCifre(f))
        return FormatoVb::Numero(d, f);
    if (FormatoVb::EData(f)) {
        if (UtilGlob::ValoreENumero(valore)) {
            const QVariant data = ValoreData(valore);
            if (data.isValid())
                return FormatoVb::Data(dataOraDi(data), f);
        } else {
            const QDate data = LeggiData(valore.toString());
            if (data.isValid()) {
                QTime ora = QTime::fromString(valore.toString().section(u' ', 1).trimmed(),
                                              QStringLiteral("H:mm:ss"));
                if (!ora.isValid())
                    ora = QTime::fromString(valore.toString().section(u' ', 1).trimmed(),
                                            QStringLiteral("H:mm"));
                return FormatoVb::Data(QDateTime(data, ora.isValid() ? ora : QTime(0, 0)), f);
            }
        }
    }
    if (FormatoVb::ETesto(f))
        return FormatoVb::Testo(valore.toString(), f);
    return valore.toString();
}

void UtilGlob::ImpostaMascheraConto(int lungGruppo, int lungMastro, int lungConto)
{
    const int g = qMax(1, lungGruppo), m = qMax(1, lungMastro), c = qMax(1, lungConto);
    // The parts are cut at sums of the lengths: a key longer than any text is refused.
    int somma = 0;
    if (__builtin_add_overflow(g, m, &somma) || __builtin_add_overflow(somma, c, &somma))
        throw VbErrore(VbErrore::Overflow, QStringLiteral("Overflow"));
    m_lungGruppo = g;
    m_lungMastro = m;
    m_lungConto = c;
}

QString UtilGlob::FormattaMaschera(const QVariant &valore, const QString &maschera) const
{
    if (!eMascheraConto(maschera))
        return Formatta(valore, maschera);
    const QString t = valore.toString().trimmed();
    if (t.contains(u'-')) {
        QStringList parti = t.split(u'-');
        for (QString &p : parti)
            p = p.trimmed();
        return parti.join(u'-');
    }
    QStringList parti;
    const qsizetype inizioConto = qsizetype(m_lungGruppo) + m_lungMastro;
    const QString g = t.left(m_lungGruppo), m = t.mid(m_lungGruppo, m_lungMastro), c = t.mid(inizioConto);
    for (const QString &p : {g, m, c})
        if (!p.isEmpty())
            parti << p;
    return parti.join(u'-');
}

QString UtilGlob::FormattaValore(const QVariant &valore, const QString &formato) const
{
    if (eMascheraConto(formato)) {
        QString t = valore.toString().trimmed();
        t.remove(u'-');
        t.remove(u' ');
        return t;
    }
    if (ValoreVuoto(valore))
        return QString();
    if (FormatoVb::HaCifre(formato)) {
        Decimale d;
        if (!decimaleDi(valore, d))
            return valore.toString();
        const int dec = decimaliDi(formato);
        return FormatoVb::Numero(d,
                                 dec > 0 ? QStringLiteral("0.") + QString(dec, u'0') : QStringLiteral("0"));
    }
    return Formatta(valore, formato);
}

QString UtilGlob::FormattaCampo(const QString &testo, int tipo, const QString &formato) const
{
    double n = 0;
    if (testo.trimmed().isEmpty())
        n = 0;
    else if (!LeggiNumero(testo, n))
        return testo;
    // A number its kind cannot hold stays as typed: the field check refuses
    // it with its message, and no other number takes its place.
    if (tipo == TipoIntero || tipo == TipoLungo) {
        const double intero = Arrotonda(n);
        if (!(intero >= -2147483648.0 && intero <= 2147483647.0))
            return testo;
        return Formatta(QVariant(qlonglong(intero)), formato);
    }
    if (tipo == TipoImporto) {
        Currency c;
        if (Currency::leggiValore(n, c) != Currency::Lettura::Numero)
            return testo;
        return Formatta(QVariant::fromValue(c), formato);
    }
    return Formatta(QVariant(n), formato);
}

void UtilGlob::FormattaCampo(QLineEdit *campo, int tipo, const QString &formato) const
{
    if (!campo)
        return;
    const QString nuovo = FormattaCampo(campo->text(), tipo, formato);
    if (nuovo != campo->text())
        campo->setText(nuovo);
}

QString UtilGlob::FormattaImporto(const QVariant &valore, int decimali, const QString &cifraUnita,
                                  bool soloFormato, const QString &maschera, int larghezza,
                                  const QString &testoVuoto, const QString &segnoDecimale) const
{
    QString formato = maschera.isEmpty() ? QStringLiteral("#,###") : maschera;
    const qsizetype punto = formato.indexOf(u'.');
    const qsizetype fineIntera = punto < 0 ? formato.size() : punto;
    if (!cifraUnita.isEmpty()) {
        const qsizetype ultimo = formato.left(fineIntera).lastIndexOf(u'#');
        if (ultimo >= 0)
            formato.replace(ultimo, 1, cifraUnita.left(1));
    }
    if (punto < 0 && decimali > 0)
        formato += u'.' + segnoDecimale.left(1).repeated(decimali);
    if (soloFormato)
        return formato;
    if (ValoreVuoto(valore))
        return testoVuoto;
    QString out = Formatta(valore, formato);
    if (larghezza > 0 && out.size() < larghezza)
        out = out.rightJustified(larghezza, u' ');
    return out;
}
