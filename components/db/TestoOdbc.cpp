// Reading and writing ODBC connect texts.
#include "components/db/TestoOdbc.h"

#include <algorithm>

namespace TestoOdbc
{

QList<Voce> Scomponi(const QString &testo)
{
    QString t = testo.trimmed();
    if (t.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive))
        t = t.mid(5);
    QList<Voce> voci;
    qsizetype i = 0;
    const qsizetype n = t.size();
    while (i < n) {
        const qsizetype fineChiave = t.indexOf(u'=', i);
        const qsizetype puntoVirgola = t.indexOf(u';', i);
        if (fineChiave < 0 || (puntoVirgola >= 0 && puntoVirgola < fineChiave)) {
            // A piece without "=": nothing to keep.
            if (puntoVirgola < 0)
                break;
            i = puntoVirgola + 1;
            continue;
        }
        Voce v;
        v.chiave = t.mid(i, fineChiave - i).trimmed();
        qsizetype j = fineChiave + 1;
        if (j < n && t.at(j) == u'{') {
            qsizetype k = j + 1;
            for (; k < n; ++k) {
                if (t.at(k) != u'}')
                    continue;
                if (k + 1 < n && t.at(k + 1) == u'}') {
                    ++k;
                    continue;
                }
                break;
            }
            const qsizetype fine = std::min(k + 1, n);
            v.valore = t.mid(j, fine - j);
            j = t.indexOf(u';', fine);
            i = j < 0 ? n : j + 1;
        } else {
            const qsizetype fine = t.indexOf(u';', j);
            v.valore = t.mid(j, (fine < 0 ? n : fine) - j);
            i = fine < 0 ? n : fine + 1;
        }
        if (!v.chiave.isEmpty())
            voci << v;
    }
    return voci;
}

QString Componi(const QList<Voce> &voci)
{
    QStringList parti;
    for (const Voce &v : voci)
        parti << v.chiave + u'=' + v.valore;
    return parti.join(u';');
}

QString Unisci(const QString &base, const QString &sopra)
{
    QList<Voce> voci = Scomponi(base);
    for (const Voce &s : Scomponi(sopra)) {
        auto it = std::find_if(voci.begin(), voci.end(), [&](const Voce &v) {
            return v.chiave.compare(s.chiave, Qt::CaseInsensitive) == 0;
        });
        if (it != voci.end())
            it->valore = s.valore;
        else
            voci << s;
    }
    return Componi(voci);
}

QString Togli(const QString &testo, const QStringList &chiavi)
{
    QList<Voce> voci = Scomponi(testo);
    voci.removeIf([&](const Voce &v) { return chiavi.contains(v.chiave, Qt::CaseInsensitive); });
    return Componi(voci);
}

QString Valore(const QString &testo, const QString &chiave)
{
    for (const Voce &v : Scomponi(testo)) {
        if (v.chiave.compare(chiave, Qt::CaseInsensitive) != 0)
            continue;
        if (v.valore.startsWith(u'{') && v.valore.endsWith(u'}') && v.valore.size() >= 2)
            return v.valore.mid(1, v.valore.size() - 2).replace(QLatin1String("}}"), QLatin1String("}"));
        return v.valore;
    }
    return {};
}

QString InGraffe(const QString &valore)
{
    return u'{' + QString(valore).replace(u'}', QLatin1String("}}")) + u'}';
}

bool DriverPostgres(const QString &testo)
{
    const QString driver = Valore(testo, QStringLiteral("DRIVER"));
    return driver.contains(QLatin1String("postgres"), Qt::CaseInsensitive) ||
           driver.contains(QLatin1String("psqlodbc"), Qt::CaseInsensitive);
}

QString ValoreLibpq(const QString &valore)
{
    QString v = valore;
    v.replace(u'\\', QLatin1String("\\\\"));
    v.replace(u'\'', QLatin1String("\\'"));
    return u'\'' + v + u'\'';
}

QStringList ChiaviLibpq(const QString &opzioni)
{
    QStringList chiavi;
    const qsizetype n = opzioni.size();
    qsizetype i = 0;
    auto spazi = [&] {
        while (i < n && opzioni.at(i).isSpace())
            ++i;
    };
    while (true) {
        spazi();
        if (i >= n)
            break;
        const qsizetype inizio = i;
        while (i < n && opzioni.at(i) != u'=' && !opzioni.at(i).isSpace())
            ++i;
        chiavi << opzioni.mid(inizio, i - inizio).toLower();
        spazi();
        if (i < n && opzioni.at(i) == u'=')
            ++i;
        spazi();
        // The value: in single quotes, or up to the next space; "\" escapes
        // the character after it in both.
        const bool virgolette = i < n && opzioni.at(i) == u'\'';
        if (virgolette)
            ++i;
        for (; i < n; ++i) {
            const QChar c = opzioni.at(i);
            if (c == u'\\') {
                ++i;
            } else if (virgolette ? c == u'\'' : c.isSpace()) {
                ++i;
                break;
            }
        }
    }
    return chiavi;
}

} // namespace TestoOdbc
