// Saved print options read back.
#include "components/stampa/OpzStampaIni.h"

#include "components/stampa/EsportaTesto.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/ProfiloIni.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <optional>

namespace
{

// The preview scale as saved: the scale bar's 50 to 180 %.
constexpr double ScalaMinima = 0.5;
constexpr double ScalaMassima = 1.8;

// The numbers of the message, as an Italian clerk writes them: "65.535", "0,5".
const QLocale &italiano()
{
    static const QLocale it(QLocale::Italian, QLocale::Italy);
    return it;
}

// A character as the INI holds it: its decimal code, -1 for none.
QString codiceCarattere(const QString &carattere)
{
    return carattere.isEmpty() ? QStringLiteral("-1") : QString::number(carattere.at(0).unicode());
}

class Lettore
{
  public:
    Lettore(const OpzStampa &opz, const FontiOpzioni &f)
    {
        const QString sezioni[] = {opz.SezioneStampa(), QStringLiteral("Opzioni Stampa")};
        for (const QString &sezione : sezioni) {
            if (sezione.trimmed().isEmpty())
                continue;
            for (const QString &file : {f.iniTerminale, f.iniComune})
                if (!file.isEmpty())
                    m_fonti.push_back({ProfiloIni(file), sezione});
        }
    }
    std::optional<QString> testo(const QString &chiave) const
    {
        for (const auto &[profilo, sezione] : m_fonti)
            if (profilo.EsisteChiave(sezione, chiave))
                return profilo.LeggiStringa(sezione, chiave);
        return std::nullopt;
    }
    // A whole number held to minimo..massimo: one beyond them (a number too
    // large for any integer included) is taken as the nearest allowed and
    // noted; a text that is not a number is noted and left out.
    std::optional<int> intero(const QString &chiave, int minimo = IntMin, int massimo = IntMax)
    {
        const auto t = testo(chiave);
        if (!t || t->trimmed().isEmpty())
            return std::nullopt;
        const QString s = t->trimmed();
        bool ok = false;
        qint64 n = s.toLongLong(&ok);
        if (!ok) {
            static const QRegularExpression cifre(QStringLiteral("^[+-]?[0-9]+$"));
            if (!cifre.match(s).hasMatch()) {
                nota(chiave, s, minimo, massimo);
                return std::nullopt;
            }
            n = s.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min()
                                               : std::numeric_limits<qint64>::max();
        }
        if (n < minimo || n > massimo) {
            nota(chiave, s, minimo, massimo);
            return int(std::clamp<qint64>(n, minimo, massimo));
        }
        return int(n);
    }
    // A code: one outside minimo..massimo, or not a whole number, is noted
    // with the codes allowed and left out.
    std::optional<int> codice(const QString &chiave, int minimo, int massimo)
    {
        const auto t = testo(chiave);
        if (!t || t->trimmed().isEmpty())
            return std::nullopt;
        bool ok = false;
        const qint64 n = t->trimmed().toLongLong(&ok);
        if (!ok || n < minimo || n > massimo) {
            nota(chiave, t->trimmed(), minimo, massimo);
            return std::nullopt;
        }
        return int(n);
    }
    // A decimal number written with either separator ("0,67" or "0.67"),
    // held to minimo..massimo; zero, a negative number or a text that is not
    // a number is noted and left out.
    std::optional<double> numero(const QString &chiave, double minimo, double massimo)
    {
        const auto t = testo(chiave);
        if (!t || t->trimmed().isEmpty())
            return std::nullopt;
        QString s = t->trimmed();
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double d = s.toDouble(&ok);
        if (ok && d >= minimo && d <= massimo)
            return d;
        nota(chiave, t->trimmed(), minimo, massimo);
        if (!ok || !(d > 0))
            return std::nullopt;
        return std::clamp(d, minimo, massimo);
    }
    // The keys found beyond their range, each once, for the message.
    const QStringList &fuori() const { return m_fuori; }

    // A character saved as its decimal code (-1: none); a code that is no
    // character (0, a half of a surrogate pair, beyond 65535) or a text that
    // is no number ("abc", "1,5") is noted and left out. An empty value
    // stands for none.
    std::optional<QString> carattere(const QString &chiave)
    {
        const auto t = testo(chiave);
        if (!t)
            return std::nullopt;
        if (t->trimmed().isEmpty())
            return t->left(1);
        bool ok = false;
        const qint64 codice = t->trimmed().toLongLong(&ok);
        if (ok && codice == -1)
            return QString();
        if (!ok || codice < 1 || codice > 0xFFFF || QChar::isSurrogate(char32_t(codice))) {
            if (!m_notate.contains(chiave)) {
                m_notate << chiave;
                m_fuori << QStringLiteral("%1=%2, ammessi i codici dei caratteri da 1 a %3 o -1 (nessuno)")
                               .arg(chiave, t->trimmed().left(20), italiano().toString(0xFFFF));
            }
            return std::nullopt;
        }
        return QString(QChar(char16_t(codice)));
    }
    // The separator and the qualifier of the export once read: a pair no
    // reader could part the fields by (see SeparatoriUtilizzabili) is noted
    // and both take their defaults.
    void separatori(OpzStampa &opz)
    {
        if (SeparatoriUtilizzabili(opz.SepCampi(), opz.DelimStr()))
            return;
        m_fuori << QStringLiteral("SepCampi=%1 e DelimStr=%2, ammessi un separatore dei campi e un "
                                  "qualificatore testo diversi tra loro e diversi da a capo (10) e "
                                  "ritorno a capo (13), e senza qualificatore un separatore diverso dal "
                                  "doppio apice (34)")
                       .arg(codiceCarattere(opz.SepCampi()), codiceCarattere(opz.DelimStr()));
        const OpzStampa predefinite;
        opz.SepCampi(predefinite.SepCampi());
        opz.DelimStr(predefinite.DelimStr());
    }
    std::optional<bool> si(const QString &chiave) const
    {
        const auto t = testo(chiave);
        if (!t)
            return std::nullopt;
        return t->trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    }

  private:
    static constexpr int IntMin = std::numeric_limits<qint16>::min();
    static constexpr int IntMax = std::numeric_limits<qint16>::max();
    // Each key is named once, with what was read and what is allowed.
    template <typename T> void nota(const QString &chiave, const QString &letto, T minimo, T massimo)
    {
        if (m_notate.contains(chiave))
            return;
        m_notate << chiave;
        m_fuori << QStringLiteral("%1=%2, ammessi da %3 a %4")
                       .arg(chiave, letto.left(20), italiano().toString(minimo),
                            italiano().toString(massimo));
    }

    std::vector<std::pair<ProfiloIni, QString>> m_fonti;
    QStringList m_fuori, m_notate;
};

} // namespace

QString CaricaOpzioniSalvate(OpzStampa &opz, const FontiOpzioni &fonti)
{
    Lettore l(opz, fonti);
    if (const auto v = l.codice(QStringLiteral("StaVid"), 0, 3))
        opz.oiStaVid(*v);
    if (const auto v = l.intero(QStringLiteral("ForzaVert")))
        opz.ForzaVert(*v);
    if (const auto v = l.testo(QStringLiteral("FileName")))
        opz.FileName(*v);
    if (const auto v = l.codice(QStringLiteral("FileForm"), 0, 2))
        opz.FileForm(*v);
    if (const auto v = l.testo(QStringLiteral("PathDefault")))
        opz.PathDefault(*v);
    const auto sepCampi = l.carattere(QStringLiteral("SepCampi"));
    if (sepCampi && !sepCampi->isEmpty())
        opz.SepCampi(*sepCampi);
    const auto delimStr = l.carattere(QStringLiteral("DelimStr"));
    if (delimStr)
        opz.DelimStr(*delimStr);
    if (sepCampi || delimStr)
        l.separatori(opz);
    if (const auto v = l.intero(QStringLiteral("NumNoForm")))
        opz.NumNoForm(*v == -1 ? -1 : 0);
    if (const auto v = l.numero(QStringLiteral("Fatt"), ScalaMinima, ScalaMassima))
        opz.Fatt(float(fonti.risVidStaVid > 0 ? *v * fonti.risVidStaVid : *v));
    if (const auto v = l.intero(QStringLiteral("MemVid")))
        opz.MemVid(*v);
    if (const auto v = l.testo(QStringLiteral("FisFileName")))
        opz.FisFileName(*v);
    if (const auto v = l.intero(QStringLiteral("FisStampante")))
        opz.FisStampante(*v == -1 ? -1 : 0);
    if (const auto v = l.intero(QStringLiteral("FisMrAlt"), 0, OpzStampa::FisMargineMassimo))
        opz.FisMrAlt(*v);
    if (const auto v = l.intero(QStringLiteral("FisMrBas"), 0, OpzStampa::FisMargineMassimo))
        opz.FisMrBas(*v);
    if (const auto v = l.intero(QStringLiteral("FisColonne"), 0, OpzStampa::FisColonneMassime))
        opz.FisColonne(*v);
    if (const auto v = l.intero(QStringLiteral("FisRighe"), 0, OpzStampa::FisRigheMassime))
        opz.FisRighe(*v);
    if (const auto v = l.testo(QStringLiteral("FisCodIniComp")))
        opz.FisCodIniComp(*v);
    if (const auto v = l.testo(QStringLiteral("FisCodFinComp")))
        opz.FisCodFinComp(*v);
    if (const auto v = l.intero(QStringLiteral("FisUtilComp")))
        opz.FisUtilComp(*v == -1 ? -1 : 0);
    if (const auto v = l.testo(QStringLiteral("NomeStampante")))
        opz.osNomeStampante(fonti.nomeStampante ? fonti.nomeStampante(*v) : *v);
    if (const auto v = l.testo(QStringLiteral("NomePorta")))
        opz.NomePorta(*v);
    if (const auto v = l.intero(QStringLiteral("Cassetto")))
        opz.ImpostaParStampa(QStringLiteral("NumCassetto"), *v);
    if (const auto v = l.intero(QStringLiteral("TipoCarta")))
        opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), *v);
    if (const auto v = l.si(QStringLiteral("PdfNomeAutom")))
        opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), *v);
    if (const auto v = l.si(QStringLiteral("InviaEmail")))
        opz.ImpostaParStampa(QStringLiteral("EmailInvia"), *v);
    if (l.fuori().isEmpty())
        return QString();
    return QStringLiteral(
               "Alcune opzioni di stampa salvate hanno valori non ammessi e al loro posto sono stati "
               "usati valori ammessi (%1): salvare di nuovo le opzioni dalla scelta della stampa per "
               "correggerle.")
        .arg(l.fuori().join(QStringLiteral("; ")));
}
