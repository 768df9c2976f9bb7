// Chart-of-accounts code helpers.
#include "services/Codici.h"

#include "components/db/RecDat.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"

namespace
{

QString normalizza(const QString &code)
{
    const QString t = code.trimmed();
    if (UtilGlob::SoloCifre(t))
        return Globali::Util().Formatta(t.toLongLong(), QStringLiteral("00"));
    return t.toUpper();
}

} // namespace

void SpezzaConto(const QString &code, QString &gruppo, QString &mastro, QString &conto)
{
    QString testo = code.trimmed();
    if (!testo.contains(u'-'))
        testo = Globali::Util().FormattaMaschera(testo, QStringLiteral("Conto"));
    if (testo.contains(u'-')) {
        const QStringList parti = testo.split(u'-');
        gruppo = parti.value(0).trimmed();
        mastro = parti.value(1).trimmed();
        conto = parti.mid(2).join(u'-').trimmed();
        return;
    }
    gruppo = testo.left(2);
    mastro = testo.mid(2, 2);
    conto = testo.mid(4);
}

QString NormalizzaCodice(const QString &code)
{
    return normalizza(code);
}

QString NormalizzaCodice2(const QString &code)
{
    return normalizza(code);
}

QString SqlUltimoConto(const QString &gruppo, const QString &mastro, bool pbSoloNumerici,
                       const QString &prefisso)
{
    const UtilGlob &u = Globali::Util();
    QString sql = QStringLiteral("SELECT max(PianoConti.Conto) as ultimo FROM PianoConti");
    sql += QStringLiteral(" WHERE Gruppo = ") + u.ValoreSql(gruppo, UtilGlob::TipoTesto);
    sql += QStringLiteral(" and Mastro = ") + u.ValoreSql(mastro, UtilGlob::TipoTesto);
    if (pbSoloNumerici) {
        sql += QStringLiteral(" and IsNumeric(Conto) <> 0");
    } else {
        sql += QStringLiteral(" and isnumeric(mid(Conto,") + QString::number(prefisso.size() + 1) +
               QStringLiteral(")) <> 0");
        sql += QStringLiteral(" and len(Conto) = ") + QString::number(4);
        // The prefix is matched literally: a "*" or "?" typed in it is no wildcard.
        if (!prefisso.isEmpty())
            sql += QStringLiteral(" And Conto like ") + u.ValoreSqlLike(prefisso, false, true);
    }
    return sql;
}

QString UltimoConto(const QString &gruppo, const QString &mastro, bool pbSoloNumerici,
                    const QString &prefisso)
{
    try {
        RecDat rs;
        const QString h =
            rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(),
                       SqlUltimoConto(gruppo, mastro, pbSoloNumerici, prefisso), false, RecDat::TipoSnapshot);
        if (rs.FineDati(h))
            return QString();
        const QString ultimo = rs.LeggiCampo(h, QStringLiteral("ultimo"), UtilGlob::TipoTesto).toString();
        return pbSoloNumerici ? ultimo : ultimo.mid(prefisso.size());
    } catch (const VbErrore &) {
        return QString();
    }
}

QString UnisciCodDescr(const QString &testo, const std::optional<QString> &descrizione)
{
    return testo + QStringLiteral(" - ") + descrizione.value_or(Globali::DescAzienda);
}
