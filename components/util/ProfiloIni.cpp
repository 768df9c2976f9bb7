// INI files read and written the way the Windows profile functions do, so
// that files shared with the rest of the suite keep their shape.
#include "components/util/ProfiloIni.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <iterator>
#include <limits>

namespace
{
const QByteArray Bom("\xEF\xBB\xBF");

struct Contenuto {
    QStringList righe;
    QString fineRiga = QStringLiteral("\n");
    bool bom = false;
    bool cp1252 = false; // the file is not UTF-8: it is written back in Windows-1252
    bool fineConA_capo = true;
};

bool utf8Valido(QByteArrayView dati, QString *testo = nullptr)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString t = utf8.decode(dati);
    if (testo)
        *testo = std::move(t);
    return !utf8.hasError();
}

const char16_t Cp1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                             0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodifica(const QByteArray &dati, bool &cp1252)
{
    // The byte-order mark says nothing of the rest: a file of another program
    // may carry it before Windows-1252 text.
    const QByteArrayView corpo = QByteArrayView(dati).sliced(dati.startsWith(Bom) ? Bom.size() : 0);
    QString testo;
    cp1252 = !utf8Valido(corpo, &testo);
    if (!cp1252)
        return testo;
    testo.clear();
    testo.reserve(corpo.size());
    for (char ch : corpo) {
        const auto b = static_cast<unsigned char>(ch);
        testo += b >= 0x80 && b < 0xA0 ? QChar(Cp1252[b - 0x80]) : QChar(b);
    }
    return testo;
}

bool leggi(const QString &percorso, Contenuto &c)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray dati = f.readAll();
    c.bom = dati.startsWith(Bom);
    QString testo = decodifica(dati, c.cp1252);
    c.fineRiga = testo.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    c.fineConA_capo = testo.isEmpty() || testo.endsWith(u'\n');
    testo.remove(u'\r');
    c.righe = testo.split(u'\n');
    if (c.fineConA_capo && !c.righe.isEmpty())
        c.righe.removeLast();
    return true;
}

// The text in Windows-1252; false when a character has no byte there.
bool codificaCp1252(const QString &testo, QByteArray &dati)
{
    dati.clear();
    dati.reserve(testo.size());
    for (QChar ch : testo) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            dati += char(u);
            continue;
        }
        const auto it = std::find(std::begin(Cp1252), std::end(Cp1252), u);
        if (it == std::end(Cp1252))
            return false;
        dati += char(0x80 + (it - std::begin(Cp1252)));
    }
    return true;
}

bool scrivi(const QString &percorso, const Contenuto &c)
{
    QString testo = c.righe.join(c.fineRiga);
    if (!c.righe.isEmpty() && c.fineConA_capo)
        testo += c.fineRiga;
    QByteArray dati;
    // What Windows-1252 cannot hold turns the file into UTF-8, whole; so do
    // Windows-1252 bytes that the next read would take for UTF-8 (the byte
    // that told them apart was written over), lest every other line read
    // otherwise.
    bool cp1252 = c.cp1252 && codificaCp1252(testo, dati);
    if (cp1252) {
        bool rilettoCp1252 = false;
        cp1252 = decodifica(dati, rilettoCp1252) == testo;
    }
    if (!cp1252)
        dati = testo.toUtf8();
    if (c.bom)
        dati.prepend(Bom);
    const bool nuovo = !QFileInfo::exists(percorso);
    QSaveFile f(percorso);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // A file the program creates may hold settings of others' concern: its owner's only.
    if (nuovo)
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (f.write(dati) != dati.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

// The section name of a header line, or a null string.
QString intestazione(const QString &riga)
{
    const QString t = riga.trimmed();
    if (!t.startsWith(u'['))
        return QString();
    const qsizetype fine = t.indexOf(u']');
    if (fine < 0)
        return QString();
    return t.mid(1, fine - 1).trimmed();
}

bool stessoNome(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Key of a "key=value" line, or a null string for comments and other lines.
QString chiaveDi(const QString &riga)
{
    const QString t = riga.trimmed();
    if (t.isEmpty() || t.startsWith(u';'))
        return QString();
    const qsizetype uguale = t.indexOf(u'=');
    if (uguale <= 0)
        return QString();
    return t.left(uguale).trimmed();
}

QString valoreDi(const QString &riga)
{
    QString v = riga.mid(riga.indexOf(u'=') + 1).trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

// Lines of the first section of that name: [inizio, fine); inizio is the header.
// Names are looked up trimmed, as they are written: " Stampa " is [Stampa].
bool trovaSezione(const QStringList &righe, const QString &sezione, qsizetype &inizio, qsizetype &fine,
                  qsizetype da = 0)
{
    const QString cercata = sezione.trimmed();
    for (qsizetype i = da; i < righe.size(); ++i) {
        const QString nome = intestazione(righe[i]);
        if (nome.isNull() || !stessoNome(nome, cercata))
            continue;
        inizio = i;
        fine = i + 1;
        while (fine < righe.size() && intestazione(righe[fine]).isNull())
            ++fine;
        return true;
    }
    return false;
}

qsizetype trovaChiave(const QStringList &righe, qsizetype inizio, qsizetype fine, const QString &chiave)
{
    const QString cercata = chiave.trimmed();
    for (qsizetype i = inizio + 1; i < fine; ++i) {
        const QString k = chiaveDi(righe[i]);
        if (!k.isNull() && stessoNome(k, cercata))
            return i;
    }
    return -1;
}

bool nomeValido(const QString &nome, bool chiave)
{
    const QString t = nome.trimmed();
    if (t.isEmpty() || t.contains(u'\n') || t.contains(u'\r'))
        return false;
    if (chiave)
        return !t.contains(u'=') && !t.startsWith(u'[') && !t.startsWith(u';');
    return !t.contains(u']');
}

} // namespace

QString ProfiloIni::Decodifica(const QByteArray &dati)
{
    bool cp1252 = false;
    return decodifica(dati, cp1252);
}

QString ProfiloIni::LeggiStringa(const QString &sezione, const QString &chiave,
                                 const QString &predefinito) const
{
    Contenuto c;
    qsizetype inizio = 0, fine = 0;
    if (!leggi(m_percorso, c) || !trovaSezione(c.righe, sezione, inizio, fine))
        return predefinito;
    const qsizetype riga = trovaChiave(c.righe, inizio, fine, chiave);
    return riga < 0 ? predefinito : valoreDi(c.righe[riga]);
}

int ProfiloIni::LeggiIntero(const QString &sezione, const QString &chiave, int predefinito) const
{
    if (!EsisteChiave(sezione, chiave))
        return predefinito;
    const QString v = LeggiStringa(sezione, chiave);
    qint64 n = 0;
    qsizetype i = 0;
    while (i < v.size() && v[i].isSpace())
        ++i;
    if (i < v.size() && (v[i] == u'-'))
        return 0;
    if (i < v.size() && v[i] == u'+')
        ++i;
    for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9'; ++i) {
        n = n * 10 + (v[i].unicode() - u'0');
        if (n > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
    }
    return int(n);
}

bool ProfiloIni::EsisteChiave(const QString &sezione, const QString &chiave) const
{
    Contenuto c;
    qsizetype inizio = 0, fine = 0;
    return leggi(m_percorso, c) && trovaSezione(c.righe, sezione, inizio, fine) &&
           trovaChiave(c.righe, inizio, fine, chiave) >= 0;
}

bool ProfiloIni::EsisteSezione(const QString &sezione) const
{
    Contenuto c;
    qsizetype inizio = 0, fine = 0;
    return leggi(m_percorso, c) && trovaSezione(c.righe, sezione, inizio, fine);
}

QStringList ProfiloIni::Chiavi(const QString &sezione) const
{
    Contenuto c;
    qsizetype inizio = 0, fine = 0;
    QStringList chiavi;
    if (!leggi(m_percorso, c) || !trovaSezione(c.righe, sezione, inizio, fine))
        return chiavi;
    for (qsizetype i = inizio + 1; i < fine; ++i) {
        const QString k = chiaveDi(c.righe[i]);
        if (!k.isNull() && !chiavi.contains(k, Qt::CaseInsensitive))
            chiavi << k;
    }
    return chiavi;
}

QStringList ProfiloIni::Sezioni() const
{
    Contenuto c;
    QStringList sezioni;
    if (!leggi(m_percorso, c))
        return sezioni;
    for (const QString &r : std::as_const(c.righe)) {
        const QString nome = intestazione(r);
        if (!nome.isNull() && !sezioni.contains(nome, Qt::CaseInsensitive))
            sezioni << nome;
    }
    return sezioni;
}

bool ProfiloIni::ScriviStringa(const QString &sezione, const QString &chiave, const QString &valore)
{
    if (!nomeValido(sezione, false) || !nomeValido(chiave, true))
        return false;
    QString v = valore;
    v.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    Contenuto c;
    // A file that exists but cannot be read must not be replaced by one holding only this key.
    if (!leggi(m_percorso, c) && QFile::exists(m_percorso))
        return false;
    qsizetype inizio = 0, fine = 0;
    if (!trovaSezione(c.righe, sezione, inizio, fine)) {
        if (!c.righe.isEmpty() && !c.righe.last().trimmed().isEmpty())
            c.righe << QString();
        c.righe << u'[' + sezione.trimmed() + u']' << chiave.trimmed() + u'=' + v;
        return scrivi(m_percorso, c);
    }
    const qsizetype riga = trovaChiave(c.righe, inizio, fine, chiave);
    if (riga >= 0) {
        const QString &vecchia = c.righe[riga];
        c.righe[riga] = vecchia.left(vecchia.indexOf(u'=')).trimmed() + u'=' + v;
    } else {
        qsizetype dopo = inizio;
        for (qsizetype i = inizio + 1; i < fine; ++i)
            if (!chiaveDi(c.righe[i]).isNull())
                dopo = i;
        c.righe.insert(dopo + 1, chiave.trimmed() + u'=' + v);
    }
    return scrivi(m_percorso, c);
}

bool ProfiloIni::EliminaChiave(const QString &sezione, const QString &chiave)
{
    Contenuto c;
    qsizetype inizio = 0, fine = 0;
    if (!leggi(m_percorso, c) || !trovaSezione(c.righe, sezione, inizio, fine))
        return true;
    bool tolta = false;
    for (qsizetype i = fine - 1; i > inizio; --i) {
        const QString k = chiaveDi(c.righe[i]);
        if (!k.isNull() && stessoNome(k, chiave.trimmed())) {
            c.righe.removeAt(i);
            tolta = true;
        }
    }
    return tolta ? scrivi(m_percorso, c) : true;
}

bool ProfiloIni::EliminaSezione(const QString &sezione)
{
    Contenuto c;
    if (!leggi(m_percorso, c))
        return true;
    bool tolta = false;
    qsizetype inizio = 0, fine = 0;
    while (trovaSezione(c.righe, sezione, inizio, fine)) {
        c.righe.remove(inizio, fine - inizio);
        tolta = true;
    }
    return tolta ? scrivi(m_percorso, c) : true;
}
