// SQLite's planner statistics: each table analysed whole, once, and again only
// when it has doubled.
#include "components/db/Schema.h"

#include "components/util/VbErrore.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace Schema
{

namespace
{

// The word the program writes after the figures of a table's rows in
// sqlite_stat1: the table's highest rowid when it was analysed. SQLite
// passes over words it does not know there.
const QString ParolaRowid = QStringLiteral("dbmrowid=");

[[noreturn]] void fallita(const QSqlQuery &q)
{
    throw VbErrore(VbErrore::ChiamataOdbcFallita,
                   QStringLiteral("Statistiche non aggiornate: %1").arg(q.lastError().text()));
}

void esegui(QSqlQuery &q, const QString &sql)
{
    if (!q.exec(sql))
        fallita(q);
}

QString quotato(const QString &nome)
{
    return QLatin1Char('"') + QString(nome).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// The rowid the program noted in a row of sqlite_stat1; -1 when none.
qint64 rowidNotato(const QString &stat)
{
    const qsizetype p = stat.indexOf(ParolaRowid);
    if (p < 0)
        return -1;
    bool ok = false;
    const qint64 n = QStringView(stat).mid(p + ParolaRowid.size()).split(u' ').value(0).toLongLong(&ok);
    return ok ? n : -1;
}

} // namespace

bool StatisticheDaRifare(const QList<QString> &statIndici, qint64 rowid)
{
    if (rowid <= 0)
        return false; // an empty table: nothing to plan on
    qint64 notato = -1;
    for (const QString &s : statIndici) {
        const qint64 n = rowidNotato(s);
        if (n < 0)
            return true; // an index never analysed, or analysed on a sample
        notato = notato < 0 ? n : qMin(notato, n);
    }
    return statIndici.isEmpty() || rowid >= 2 * qMax<qint64>(notato, 1);
}

void StatisticheSqlite(QSqlDatabase &db)
{
    QSqlQuery q(db);
    // The indexes of the company's own tables: a partial one may have no
    // statistics at all, and is left aside.
    esegui(q, QStringLiteral("SELECT tbl_name, name, sql FROM main.sqlite_master WHERE type = 'index'"));
    static const QRegularExpression parziale(QStringLiteral(R"(\bWHERE\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    QMap<QString, QString> nomiTabelle;        // lower case -> as the schema writes it
    QHash<QString, QStringList> indiciTabella; // lower-case table -> lower-case indexes
    while (q.next()) {
        if (parziale.match(q.value(2).toString()).hasMatch())
            continue;
        const QString tabella = q.value(0).toString();
        nomiTabelle.insert(tabella.toLower(), tabella);
        indiciTabella[tabella.toLower()] << q.value(1).toString().toLower();
    }
    QHash<QString, QString> stat; // lower-case index -> its row of sqlite_stat1
    esegui(q, QStringLiteral("SELECT count(*) FROM main.sqlite_master WHERE name = 'sqlite_stat1'"));
    if (q.next() && q.value(0).toInt() > 0) {
        esegui(q, QStringLiteral("SELECT idx, stat FROM main.sqlite_stat1 WHERE idx IS NOT NULL"));
        while (q.next())
            stat.insert(q.value(0).toString().toLower(), q.value(1).toString());
    }
    QList<QPair<QString, qint64>> daAnalizzare;
    for (auto it = nomiTabelle.cbegin(); it != nomiTabelle.cend(); ++it) {
        // A table without rowid (none in the program's schema) is left as it is.
        if (!q.exec(QStringLiteral("SELECT max(rowid) FROM main.%1").arg(quotato(it.value()))))
            continue;
        const qint64 rowid = q.next() ? q.value(0).toLongLong() : 0;
        QList<QString> righe;
        bool mancante = false;
        for (const QString &indice : indiciTabella.value(it.key())) {
            const auto s = stat.constFind(indice);
            if (s == stat.cend())
                mancante = true;
            else
                righe << s.value();
        }
        if (rowid > 0 && (mancante || StatisticheDaRifare(righe, rowid)))
            daAnalizzare.append({it.value(), rowid});
    }
    if (daAnalizzare.isEmpty())
        return;
    // Every row read: figures that agree from one index to another, which a
    // sample (PRAGMA analysis_limit) does not give.
    const bool transazione = db.transaction();
    try {
        esegui(q, QStringLiteral("PRAGMA analysis_limit=0"));
        for (const auto &[tabella, rowid] : std::as_const(daAnalizzare)) {
            esegui(q, QStringLiteral("ANALYZE main.%1").arg(quotato(tabella)));
            q.prepare(QStringLiteral("UPDATE main.sqlite_stat1 SET stat = stat || ? WHERE tbl = ? AND idx IS "
                                     "NOT NULL"));
            q.addBindValue(QLatin1Char(' ') + ParolaRowid + QString::number(rowid));
            q.addBindValue(tabella);
            if (!q.exec())
                fallita(q);
        }
    } catch (...) {
        if (transazione)
            db.rollback();
        throw;
    }
    if (transazione && !db.commit())
        throw VbErrore(VbErrore::ChiamataOdbcFallita,
                       QStringLiteral("Statistiche non aggiornate: %1").arg(db.lastError().text()));
}

} // namespace Schema
