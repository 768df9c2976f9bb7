// Addresses and header lines of the mailer: which addresses can go, header
// lines folded as mail wants them (at most 78 characters a line, encoded
// words of RFC 2047 at most 75 on lines of at most 76), the attachment's
// name in the forms of RFC 2231 and RFC 2047, and the mailto URL of the
// desktop's mail program.
#include "components/stampa/InvioEmailSmtp.h"

#include <QRegularExpression>
#include <QUrl>

namespace
{

constexpr qsizetype rigaMassima = 78;
constexpr qsizetype rigaCodificata = 76;
constexpr qsizetype parolaMassima = 75;
// The longest path SMTP carries (RFC 5321): a longer text is no address, and
// no header line of addresses can pass the 998 characters mail allows.
constexpr qsizetype indirizzoMassimo = 254;

// Printable ASCII and tabs, not taken for an encoded word.
bool testoSemplice(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() > 126 || (c.unicode() < 32 && c != u'\t'))
            return false;
    return !s.contains(QLatin1String("=?"));
}

bool asciiPuro(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() > 127)
            return false;
    return true;
}

// A piece of a header value and the blanks before it: a line may be folded
// before the blanks, since unfolding takes away only the line break.
struct Pezzo {
    QByteArray spazi;
    QByteArray testo;
};

// A text split at its blanks: each word with the blanks before it; trailing
// blanks are a last piece without a word.
QList<std::pair<QString, QString>> parole(const QString &t)
{
    QList<std::pair<QString, QString>> r;
    qsizetype i = 0;
    while (i < t.size()) {
        std::pair<QString, QString> p;
        while (i < t.size() && (t[i] == u' ' || t[i] == u'\t'))
            p.first += t[i++];
        while (i < t.size() && t[i] != u' ' && t[i] != u'\t')
            p.second += t[i++];
        r << p;
    }
    return r;
}

// Encoded words of whole UTF-8 characters, each sized for a line of its own;
// the first after `usato` characters of the first line when `usato` > 0.
QList<Pezzo> paroleCodificate(const QString &testo, qsizetype usato)
{
    const auto byteMassimi = [](qsizetype spazio) {
        return (qMin(spazio, parolaMassima) - qsizetype(12)) / 4 * 3;
    };
    qsizetype massimo = byteMassimi(rigaCodificata - qMax(usato, qsizetype(1)));
    if (massimo < 4)
        massimo = byteMassimi(rigaCodificata - 1);
    QList<Pezzo> r;
    QByteArray corrente;
    const auto chiudi = [&] {
        r << Pezzo{QByteArrayLiteral(" "), "=?UTF-8?B?" + corrente.toBase64() + "?="};
        corrente.clear();
        massimo = byteMassimi(rigaCodificata - 1);
    };
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const qsizetype n = testo[i].isHighSurrogate() && i + 1 < testo.size() ? 2 : 1;
        const QByteArray b = testo.mid(i, n).toUtf8();
        i += n - 1;
        if (!corrente.isEmpty() && corrente.size() + b.size() > massimo)
            chiudi();
        corrente += b;
    }
    if (!corrente.isEmpty() || r.isEmpty())
        chiudi();
    return r;
}

// The pieces of a text: plain words as they are, every run of words that
// cannot go so (not ASCII, too long for a line, or in a display name not an
// atom) as encoded words, with the blanks inside the run encoded too
// (readers drop the blanks between two encoded words). `usato`: the
// characters before the text on the first line.
QList<Pezzo> pezziTesto(const QString &testo, qsizetype usato, bool frase)
{
    static const QRegularExpression atomo(QStringLiteral("^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+$"));
    const auto semplice = [&](const QString &parola, bool primo) {
        const qsizetype spazio = rigaCodificata - (primo ? qMax(usato, qsizetype(1)) : 1);
        return parola.size() <= spazio && testoSemplice(parola) && (!frase || atomo.match(parola).hasMatch());
    };
    // A text with line breaks or control characters goes encoded whole.
    if (InvioEmailSmtp::HaControllo(testo))
        return paroleCodificate(testo, usato);
    const QList<std::pair<QString, QString>> p = parole(testo);
    QList<Pezzo> r;
    for (qsizetype i = 0; i < p.size();) {
        const QByteArray spazi = (i == 0 ? QByteArrayLiteral(" ") : QByteArray()) + p[i].first.toLatin1();
        if (p[i].second.isEmpty() || semplice(p[i].second, i == 0)) {
            r << Pezzo{spazi, p[i].second.toLatin1()};
            ++i;
            continue;
        }
        QString serie = p[i].second;
        const bool inizio = i == 0;
        for (++i; i < p.size() && !p[i].second.isEmpty() && !semplice(p[i].second, false); ++i)
            serie += p[i].first + p[i].second;
        QList<Pezzo> codificate = paroleCodificate(serie, inizio ? usato : 0);
        codificate.first().spazi = spazi;
        r += codificate;
    }
    return r;
}

// "Nome:" and the pieces, a line folded before a piece that would take it
// past its limit (76 with encoded words, 78 without), never before the
// first piece nor where there is no blank or no word after it.
QByteArray piega(const QByteArray &nome, const QList<Pezzo> &pezzi, qsizetype *lunga = nullptr)
{
    qsizetype limite = rigaMassima;
    for (const Pezzo &p : pezzi)
        if (p.testo.contains("=?"))
            limite = rigaCodificata;
    QByteArray r = nome + ':';
    qsizetype inizio = 0;
    qsizetype massima = 0;
    for (qsizetype i = 0; i < pezzi.size(); ++i) {
        const Pezzo &p = pezzi[i];
        const bool piegabile = i > 0 && !p.spazi.isEmpty() && !p.testo.isEmpty();
        if (piegabile && r.size() - inizio + p.spazi.size() + p.testo.size() > limite) {
            massima = qMax(massima, r.size() - inizio);
            r += "\r\n";
            inizio = r.size();
        }
        r += p.spazi + p.testo;
    }
    if (lunga)
        *lunga = qMax(massima, r.size() - inizio);
    return r;
}

// The pieces of one address in display form: a plain ASCII name quoted
// (blanks inside quotes are places to fold too), other names as a phrase of
// atoms and encoded words, always so when `codifica`.
QList<Pezzo> pezziVoce(const QString &voce, bool codifica, qsizetype usato)
{
    const QString indirizzo = InvioEmailSmtp::IndirizzoAce(InvioEmailSmtp::Nudo(voce));
    const qsizetype apre = voce.lastIndexOf(u'<');
    QString nome = apre > 0 ? voce.left(apre).trimmed() : QString();
    if (nome.size() >= 2 && nome.startsWith(u'"') && nome.endsWith(u'"'))
        nome = nome.mid(1, nome.size() - 2);
    if (nome.isEmpty())
        return {Pezzo{QByteArrayLiteral(" "), indirizzo.toUtf8()}};
    QList<Pezzo> r;
    if (!codifica && testoSemplice(nome)) {
        QString q = nome;
        q.replace(QLatin1String("\\"), QLatin1String("\\\\"))
            .replace(QLatin1String("\""), QLatin1String("\\\""));
        for (const auto &[spazi, parola] : parole(QLatin1Char('"') + q + QLatin1Char('"')))
            r << Pezzo{spazi.toLatin1(), parola.toLatin1()};
        r.first().spazi = " ";
    } else {
        r = pezziTesto(nome.simplified(), usato, true);
    }
    r << Pezzo{QByteArrayLiteral(" "), '<' + indirizzo.toUtf8() + '>'};
    return r;
}

// The attachment's name as RFC 2231 gives it: UTF-8, percent-encoded but
// for the characters a token keeps, in one parameter when a line holds it,
// else in numbered sections, each on a line of its own; a character never
// split between two.
QList<Pezzo> pezziRfc2231(const QString &nome)
{
    QList<QByteArray> caratteri;
    for (qsizetype i = 0; i < nome.size(); ++i) {
        const qsizetype n = nome[i].isHighSurrogate() && i + 1 < nome.size() ? 2 : 1;
        caratteri << nome.mid(i, n).toUtf8().toPercentEncoding();
        i += n - 1;
    }
    const QByteArray intero = "filename*=UTF-8''" + caratteri.join() + ';';
    if (1 + intero.size() <= rigaCodificata)
        return {Pezzo{QByteArrayLiteral(" "), intero}};
    QList<Pezzo> r;
    QByteArray sezione = "UTF-8''";
    qsizetype usati = 0;
    const auto testa = [&r] { return "filename*" + QByteArray::number(r.size()) + "*="; };
    for (const QByteArray &c : caratteri) {
        if (usati > 0 && 1 + testa().size() + sezione.size() + c.size() + 1 > rigaCodificata) {
            r << Pezzo{QByteArrayLiteral(" "), testa() + sezione + ';'};
            sezione.clear();
            usati = 0;
        }
        sezione += c;
        ++usati;
    }
    r << Pezzo{QByteArrayLiteral(" "), testa() + sezione + ';'};
    return r;
}

bool indirizzoValido(const QString &a)
{
    const qsizetype chiocciola = a.lastIndexOf(u'@');
    if (a.size() > indirizzoMassimo || chiocciola <= 0 || chiocciola == a.size() - 1)
        return false;
    // The local part: characters of an atom, dots and UTF-8, or a quoted
    // string without blanks; the domain: a host name (in ACE when it is not
    // ASCII) or an address in brackets.
    static const QRegularExpression locale(
        QStringLiteral("^(?:[A-Za-z0-9!#$%&'*+/=?^_`{|}~.-]|[^\\x00-\\x7f])+$|^\"[^\"\\\\\\s]+\"$"));
    static const QRegularExpression host(
        QStringLiteral("^[A-Za-z0-9_](?:[A-Za-z0-9_-]*[A-Za-z0-9_])?(?:\\.[A-Za-z0-9_](?:[A-Za-z0-9_-]*"
                       "[A-Za-z0-9_])?)*$|^\\[[A-Za-z0-9.:]+\\]$"));
    const QString ace = InvioEmailSmtp::IndirizzoAce(a);
    return locale.match(a.left(chiocciola)).hasMatch() &&
           host.match(ace.mid(ace.lastIndexOf(u'@') + 1)).hasMatch();
}

} // namespace

bool InvioEmailSmtp::HaControllo(const QString &testo)
{
    for (const QChar c : testo) {
        if (c == u'\t')
            continue;
        const QChar::Category k = c.category();
        if (c.unicode() < 32 || c.unicode() == 127 || k == QChar::Other_Control ||
            k == QChar::Separator_Line || k == QChar::Separator_Paragraph)
            return true;
    }
    return false;
}

QString InvioEmailSmtp::Nudo(const QString &voce)
{
    const qsizetype apre = voce.lastIndexOf(u'<');
    const qsizetype chiude = voce.lastIndexOf(u'>');
    if (apre >= 0 && chiude > apre)
        return voce.mid(apre + 1, chiude - apre - 1).trimmed();
    return voce.trimmed();
}

QString InvioEmailSmtp::CampoNonValido(const QString &valore, bool elenco)
{
    if (HaControllo(valore))
        return QStringLiteral("contiene un a capo o un carattere di controllo");
    const QStringList indirizzi = elenco ? Indirizzi(valore) : QStringList{Nudo(valore)};
    for (const QString &a : indirizzi)
        if (!indirizzoValido(a))
            return QStringLiteral("contiene l'indirizzo non valido \"%1\"").arg(a);
    return {};
}

QStringList InvioEmailSmtp::Indirizzi(const QString &elenco)
{
    QStringList r;
    // Separators outside a quoted display name.
    QString voce;
    bool virgolette = false;
    const auto chiudi = [&] {
        const QString a = Nudo(voce);
        if (!a.isEmpty())
            r << a;
        voce.clear();
    };
    for (const QChar c : elenco) {
        if (c == u'"')
            virgolette = !virgolette;
        if (!virgolette && (c == u';' || c == u','))
            chiudi();
        else
            voce += c;
    }
    chiudi();
    return r;
}

bool InvioEmailSmtp::ParteLocaleAscii(const QString &indirizzo)
{
    return asciiPuro(indirizzo.left(indirizzo.lastIndexOf(u'@')));
}

QString InvioEmailSmtp::IndirizzoAce(const QString &indirizzo)
{
    const qsizetype chiocciola = indirizzo.lastIndexOf(u'@');
    const QString dominio = indirizzo.mid(chiocciola + 1);
    if (chiocciola < 0 || asciiPuro(dominio))
        return indirizzo;
    const QString ace = QString::fromLatin1(QUrl::toAce(dominio));
    return ace.isEmpty() ? indirizzo : indirizzo.left(chiocciola + 1) + ace;
}

QByteArray InvioEmailSmtp::Intestazione(const QString &testo)
{
    if (testoSemplice(testo))
        return testo.toLatin1();
    QByteArray r;
    for (const Pezzo &p : paroleCodificate(testo, 0))
        r += (r.isEmpty() ? QByteArray() : QByteArrayLiteral("\r\n ")) + p.testo;
    return r;
}

QByteArray InvioEmailSmtp::CampoTesto(const QByteArray &nome, const QString &testo)
{
    const QList<Pezzo> pezzi = pezziTesto(testo, nome.size() + 2, false);
    return pezzi.isEmpty() ? nome + ": " : piega(nome, pezzi);
}

QByteArray InvioEmailSmtp::CampoIndirizzi(const QByteArray &nome, const QStringList &voci)
{
    // Quoted names first; as phrases when that leaves a line too long.
    QByteArray r;
    for (const bool codifica : {false, true}) {
        QList<Pezzo> pezzi;
        for (qsizetype i = 0; i < voci.size(); ++i) {
            QList<Pezzo> p = pezziVoce(voci[i], codifica, i == 0 ? nome.size() + 2 : 0);
            if (i + 1 < voci.size())
                p.last().testo += ',';
            pezzi += p;
        }
        qsizetype lunga = 0;
        r = piega(nome, pezzi, &lunga);
        if (lunga <= rigaMassima)
            break;
    }
    return r;
}

QByteArray InvioEmailSmtp::CampoAllegato(const QString &nome)
{
    QByteArray citato = nome.toLatin1();
    citato.replace("\\", "\\\\").replace("\"", "\\\"");
    const QByteArray semplice = "Content-Disposition: attachment; filename=\"" + citato + '"';
    if (testoSemplice(nome) && semplice.size() <= rigaMassima)
        return semplice;
    // Readers of RFC 2231 take the first form; older ones the encoded words
    // in the quoted name.
    QList<Pezzo> pezzi{Pezzo{QByteArrayLiteral(" "), QByteArrayLiteral("attachment;")}};
    pezzi += pezziRfc2231(nome);
    const QByteArray inizio = "filename=\"";
    QList<Pezzo> parole = paroleCodificate(nome, 1 + inizio.size());
    parole.first().testo.prepend(inizio);
    parole.last().testo += '"';
    return piega("Content-Disposition", pezzi + parole);
}

QString InvioEmailSmtp::UrlMailto(const QStringList &destinatari, const QString &oggetto,
                                  const QString &testo)
{
    const auto codifica = [](const QString &s, const QByteArray &lascia = {}) {
        return QString::fromLatin1(QUrl::toPercentEncoding(s, lascia));
    };
    QStringList a;
    for (const QString &d : destinatari)
        a << codifica(d, "@");
    QStringList campi;
    if (!oggetto.isEmpty())
        campi << QStringLiteral("subject=") + codifica(oggetto);
    if (!testo.isEmpty()) {
        // Line breaks as CR LF, the form of a message's text.
        QString t = testo;
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"))
            .replace(u'\r', u'\n')
            .replace(QLatin1String("\n"), QLatin1String("\r\n"));
        campi << QStringLiteral("body=") + codifica(t);
    }
    return QStringLiteral("mailto:") + a.join(QLatin1Char(',')) +
           (campi.isEmpty() ? QString() : QLatin1Char('?') + campi.join(QLatin1Char('&')));
}

QString InvioEmailSmtp::Mittente(const QString &indirizzo, const QString &centro)
{
    const QString a = indirizzo.trimmed();
    if (a.isEmpty() || a.contains(u'<') || centro.trimmed().isEmpty())
        return a;
    return QLatin1Char('"') + centro.trimmed() + QStringLiteral("\" <") + a + QLatin1Char('>');
}
