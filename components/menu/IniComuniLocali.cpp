// Flag positions of the INI-save selection mapped onto host parameter names.
#include "components/menu/IniComuniLocali.h"

#include "components/util/VbErrore.h"

namespace
{

struct Chiave {
    const char *nome;
    bool perConfigurazione;
};

// Key numbers 1 to 22 of the PDF and e-mail panel.
const Chiave Chiavi[22] = {
    {"UsaPdfCreator", false},        {"UsaPdf995", false},      {"PdfNomeFile", false},
    {"CreatorAutosaveStart", false}, {"EmailTo", false},        {"EmailTipoInvio", true},
    {"EmailFileLog", false},         {"EmailInd", true},        {"EmailCentro", true},
    {"EmailSMTPtipo", true},         {"EmailServerSMTP", true}, {"EmailReplay", true},
    {"EmailFlagNotifica", false},    {"EmailLogin", true},      {"EmailPwd", true},
    {"StampeEmail", false},          {"EmailNumTesto", true},   {"EmailPersOggetto", true},
    {"EmailNumPorta", true},         {"EmailUsaSSL", true},     {"EmailDirStunnel", true},
    {"EmailTipoNum", false},
};

// Names that key k of configuration c (0-based) stands for. The first
// configuration also covers the plain name, used in single-configuration mode.
QStringList NomiDi(int k, int c)
{
    const Chiave &ch = Chiavi[k - 1];
    const QString base = QString::fromLatin1(ch.nome);
    if (!ch.perConfigurazione) {
        if (c > 0)
            return {};
        if (k == 5)
            return {QStringLiteral("EmailTo1"), QStringLiteral("EmailTo2"), QStringLiteral("EmailTo3"),
                    QStringLiteral("EmailToNum"), QStringLiteral("EmailTo")};
        return {base};
    }
    QStringList r{base + QString::number(c + 1)};
    if (c == 0)
        r.append(base);
    return r;
}

[[noreturn]] void NonValida(const QString &testo)
{
    throw VbErrore(5, QStringLiteral("Selezione non valida per ScriviIniComuni: \"%1\"").arg(testo));
}

} // namespace

namespace IniComuniLocali
{

Selezione LeggiSelezione(const QString &testo)
{
    if (testo.size() != 69 || (testo[0] != u'+' && testo[0] != u'-') ||
        (testo[1] != u'p' && testo[1] != u'g') || testo[68] != u'V')
        NonValida(testo);
    Selezione s;
    s.salva = testo[0] == u'+';
    s.comune = testo[1] == u'g';
    for (int c = 0; c < 3; ++c)
        for (int k = 1; k <= 22; ++k) {
            const QChar f = testo[2 + 22 * c + k - 1];
            if (f == u'S')
                s.nomi += NomiDi(k, c);
            else if (f != u'N' && f != u'X')
                NonValida(testo);
        }
    s.nomi.removeDuplicates();
    return s;
}

QStringList NomiParametri()
{
    QStringList r;
    for (int c = 0; c < 3; ++c)
        for (int k = 1; k <= 22; ++k)
            r += NomiDi(k, c);
    r.removeDuplicates();
    return r;
}

QString NomeInConfigurazione(const QString &nome, int configurazione)
{
    if (configurazione < 1 || configurazione > 3)
        return {};
    for (const Chiave &ch : Chiavi)
        if (ch.perConfigurazione && nome.compare(QLatin1String(ch.nome), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(ch.nome) + QString::number(configurazione);
    return {};
}

bool EPassword(const QString &nome)
{
    static const QStringList nomi{QStringLiteral("EmailPwd"), QStringLiteral("EmailPwd1"),
                                  QStringLiteral("EmailPwd2"), QStringLiteral("EmailPwd3")};
    return nomi.contains(nome, Qt::CaseInsensitive);
}

} // namespace IniComuniLocali
