// Chart-of-accounts code helpers.
#include "services/Codici.h"

#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"

namespace
{

QString normalizza(const QString &code)
{
    const QString t = code.trimmed();
    // Two digits are already what the mask gives: the form's every record has them.
    const auto cifra = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (t.size() == 2 && cifra(t.at(0)) && cifra(t.at(1)))
        return t;
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

namespace
{

// The first row's "ultimo", or "" when there is none.
QString primoUltimo(const QString &sql)
{
    RecDat rs;
    const QString h =
        rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(), sql, false, RecDat::TipoSnapshot);
    if (rs.FineDati(h))
        return QString();
    return rs.LeggiCampo(h, QStringLiteral("ultimo"), UtilGlob::TipoTesto).toString();
}

// The highest numeric account of a ledger, read in key order. A number's text
// begins with a digit, a blank, a sign or a separator, so where texts sort by
// their characters' codes the numbers lie in three stretches of the key:
// past "~" (blanks beyond ASCII), from "0" to ":" and before "0". Each stretch
// is read backwards down to its first number, the highest stretch first. The
// plain max() reads every account of the ledger (a hundred thousand in a
// large company's customer ledger) each time the ledger changes.
QString ultimoNumerico(const QString &gruppo, const QString &mastro)
{
    const UtilGlob &u = Globali::Util();
    const QString base = QStringLiteral("SELECT Conto as ultimo FROM PianoConti WHERE Gruppo = ") +
                         u.ValoreSql(gruppo, UtilGlob::TipoTesto) + QStringLiteral(" and Mastro = ") +
                         u.ValoreSql(mastro, UtilGlob::TipoTesto);
    static const QString tratti[] = {QStringLiteral(" and Conto > '~'"),
                                     QStringLiteral(" and Conto >= '0' and Conto < ':'"),
                                     QStringLiteral(" and Conto < '0'")};
    for (const QString &tratto : tratti) {
        const QString ultimo = primoUltimo(
            base + tratto + QStringLiteral(" and IsNumeric(Conto) <> 0 ORDER BY Conto DESC LIMIT 1"));
        if (!ultimo.isEmpty())
            return ultimo;
    }
    return QString();
}

} // namespace

QString UltimoConto(const QString &gruppo, const QString &mastro, bool pbSoloNumerici,
                    const QString &prefisso)
{
    try {
        if (pbSoloNumerici && Globali::DbComp()->OrdinePerCodici(Globali::DbAzienda))
            return ultimoNumerico(gruppo, mastro);
        const QString ultimo = primoUltimo(SqlUltimoConto(gruppo, mastro, pbSoloNumerici, prefisso));
        return pbSoloNumerici ? ultimo : ultimo.mid(prefisso.size());
    } catch (const VbErrore &) {
        return QString();
    }
}

QString UnisciCodDescr(const QString &testo, const std::optional<QString> &descrizione)
{
    return testo + QStringLiteral(" - ") + descrizione.value_or(Globali::DescAzienda);
}
