// Saved print options read back.
#include "components/stampa/OpzStampaIni.h"

#include "components/stampa/OpzStampa.h"
#include "components/util/ProfiloIni.h"

#include <QLocale>
#include <optional>

namespace {

class Lettore {
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
    std::optional<int> intero(const QString &chiave) const
    {
        const auto t = testo(chiave);
        if (!t)
            return std::nullopt;
        bool ok = false;
        const int n = t->trimmed().toInt(&ok);
        return ok ? std::optional<int>(n) : std::nullopt;
    }
    // A decimal number written with either separator ("0,67" or "0.67").
    std::optional<double> numero(const QString &chiave) const
    {
        const auto t = testo(chiave);
        if (!t)
            return std::nullopt;
        QString s = t->trimmed();
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double d = s.toDouble(&ok);
        return ok ? std::optional<double>(d) : std::nullopt;
    }
    // A character saved as its decimal code (-1: none).
    std::optional<QString> carattere(const QString &chiave) const
    {
        const auto t = testo(chiave);
        if (!t)
            return std::nullopt;
        bool ok = false;
        const int codice = t->trimmed().toInt(&ok);
        if (!ok)
            return t->left(1);
        if (codice < 0)
            return QString();
        return codice > 0 && codice < 0x10000 ? QString(QChar(codice)) : QString();
    }
    std::optional<bool> si(const QString &chiave) const
    {
        const auto t = testo(chiave);
        if (!t)
            return std::nullopt;
        return t->trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    }

private:
    std::vector<std::pair<ProfiloIni, QString>> m_fonti;
};

} // namespace

void CaricaOpzioniSalvate(OpzStampa &opz, const FontiOpzioni &fonti)
{
    const Lettore l(opz, fonti);
    if (const auto v = l.intero(QStringLiteral("StaVid")); v && *v >= 0 && *v <= 3)
        opz.oiStaVid(*v);
    if (const auto v = l.intero(QStringLiteral("ForzaVert")))
        opz.ForzaVert(*v);
    if (const auto v = l.testo(QStringLiteral("FileName")))
        opz.FileName(*v);
    if (const auto v = l.intero(QStringLiteral("FileForm")); v && *v >= 0 && *v <= 2)
        opz.FileForm(*v);
    if (const auto v = l.testo(QStringLiteral("PathDefault")))
        opz.PathDefault(*v);
    if (const auto v = l.carattere(QStringLiteral("SepCampi")); v && !v->isEmpty())
        opz.SepCampi(*v);
    if (const auto v = l.carattere(QStringLiteral("DelimStr")))
        opz.DelimStr(*v);
    if (const auto v = l.intero(QStringLiteral("NumNoForm")))
        opz.NumNoForm(*v == -1 ? -1 : 0);
    if (const auto v = l.numero(QStringLiteral("Fatt")); v && *v > 0)
        opz.Fatt(float(fonti.risVidStaVid > 0 ? *v * fonti.risVidStaVid : *v));
    if (const auto v = l.intero(QStringLiteral("MemVid")))
        opz.MemVid(*v);
    if (const auto v = l.testo(QStringLiteral("FisFileName")))
        opz.FisFileName(*v);
    if (const auto v = l.intero(QStringLiteral("FisStampante")))
        opz.FisStampante(*v == -1 ? -1 : 0);
    if (const auto v = l.intero(QStringLiteral("FisMrAlt")))
        opz.FisMrAlt(*v);
    if (const auto v = l.intero(QStringLiteral("FisMrBas")))
        opz.FisMrBas(*v);
    if (const auto v = l.intero(QStringLiteral("FisColonne")))
        opz.FisColonne(*v);
    if (const auto v = l.intero(QStringLiteral("FisRighe")))
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
}
