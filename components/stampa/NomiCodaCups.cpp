// Paper and tray names from the queue's driver description (PPD), read once
// from the server for each list.
#include "components/stampa/NomiCodaCups.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <cmath>

#pragma GCC diagnostic push
// The server builds every queue's IPP attributes from this description, but
// only the description holds their translations.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>

namespace
{

// A tray keyword and a PPD slot name compared as CUPS pairs them: letters
// and digits only, without case; the printer's default slot is "auto".
QString normale(const QString &nome)
{
    static const QHash<QString, QString> sinonimi = {
        {QStringLiteral("default"), QStringLiteral("auto")},
        {QStringLiteral("cassette"), QStringLiteral("main")},
        {QStringLiteral("upper"), QStringLiteral("top")},
        {QStringLiteral("lower"), QStringLiteral("bottom")},
        {QStringLiteral("multipurpose"), QStringLiteral("bypasstray")},
    };
    QString r;
    for (QChar c : nome)
        if (c.isLetterOrNumber())
            r += c.toLower();
    return sinonimi.value(r, r);
}

// A PPD text: UTF-8, with <hex> for bytes written in hexadecimal.
QString testoPpd(const QByteArray &t)
{
    QByteArray r;
    for (int i = 0; i < t.size(); ++i) {
        const int fine = t.at(i) == '<' ? t.indexOf('>', i) : -1;
        if (fine < 0) {
            r += t.at(i);
            continue;
        }
        r += QByteArray::fromHex(t.mid(i + 1, fine - i - 1));
        i = fine;
    }
    return QString::fromUtf8(r).trimmed();
}

// The Italian texts of the paper sizes and trays: libcups keeps only the
// system language's translations when it reads a PPD.
QHash<QString, QString> traduzioniItaliane(const QString &file)
{
    QHash<QString, QString> r;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return r;
    static const QRegularExpression riga(
        QStringLiteral("^\\*it(?:_IT)?\\.(PageSize|InputSlot)\\s+([^/:\\s]+)/([^:]*):"));
    while (!f.atEnd()) {
        const QByteArray l = f.readLine();
        if (!l.startsWith("*it"))
            continue;
        const QRegularExpressionMatch m = riga.match(QString::fromLatin1(l));
        if (!m.hasMatch())
            continue;
        const int inizio = l.indexOf('/') + 1;
        const QString testo = testoPpd(l.mid(inizio, l.indexOf(':', inizio) - inizio));
        if (!testo.isEmpty())
            r.insert(m.captured(1) + QLatin1Char('/') + m.captured(2), testo);
    }
    return r;
}

} // namespace

NomiCodaCups::NomiCodaCups(http_t *http, const char *coda)
{
    char file[1024] = "";
    time_t modificato = 0;
    if (cupsGetPPD3(http, coda, &modificato, file, sizeof file) != HTTP_STATUS_OK || !*file)
        return;
    const QString nome = QFile::decodeName(file);
    m_ppd = ppdOpenFile(file);
    if (m_ppd)
        m_italiano = traduzioniItaliane(nome);
    QFile::remove(nome);
}

NomiCodaCups::~NomiCodaCups()
{
    if (m_ppd)
        ppdClose(m_ppd);
}

QString NomiCodaCups::testo(const char *opzione, const char *scelta) const
{
    const QString italiano =
        m_italiano.value(QLatin1String(opzione) + QLatin1Char('/') + QLatin1String(scelta));
    if (!italiano.isEmpty())
        return italiano;
    ppd_choice_t *c = ppdFindChoice(ppdFindOption(m_ppd, opzione), scelta);
    return c && *c->text ? QString::fromUtf8(c->text).trimmed() : QString();
}

QString NomiCodaCups::Carta(int larghezza, int lunghezza) const
{
    if (!m_ppd)
        return {};
    // The nearest size within a millimetre and a half: the server rounds
    // the description's points to hundredths of a millimetre.
    const ppd_size_t *migliore = nullptr;
    double scarto = 150;
    for (int i = 0; i < m_ppd->num_sizes; ++i) {
        const ppd_size_t &s = m_ppd->sizes[i];
        const double d = std::max(std::abs(s.width * 2540.0 / 72 - larghezza),
                                  std::abs(s.length * 2540.0 / 72 - lunghezza));
        if (d < scarto) {
            scarto = d;
            migliore = &s;
        }
    }
    return migliore ? testo("PageSize", migliore->name) : QString();
}

QString NomiCodaCups::Cassetto(const QString &chiave) const
{
    ppd_option_t *o = m_ppd ? ppdFindOption(m_ppd, "InputSlot") : nullptr;
    if (!o)
        return {};
    const QString cercata = normale(chiave);
    for (int i = 0; i < o->num_choices; ++i)
        if (normale(QString::fromUtf8(o->choices[i].choice)) == cercata)
            return testo("InputSlot", o->choices[i].choice);
    return {};
}

#pragma GCC diagnostic pop
