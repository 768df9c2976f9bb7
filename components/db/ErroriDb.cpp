// Mapping of engine failures onto DAO error numbers.
#include "components/db/ErroriDb.h"
#include "components/db/JetSql.h"

#include <QRegularExpression>
#include <QSqlError>
#include <sqlite3.h>

namespace ErroriDb {

QString NascondiPassword(const QString &testo)
{
    static const QRegularExpression re(QStringLiteral(R"(\b(pwd|password)\s*=\s*(\{[^}]*\}|[^;\]\s]*))"),
                                       QRegularExpression::CaseInsensitiveOption);
    QString s = testo;
    s.replace(re, QStringLiteral("\\1=***"));
    return s;
}

namespace {
const QString testoDuplicato = QStringLiteral(
    "Impossibile eseguire le modifiche richieste: si creerebbero valori duplicati nell'indice, nella chiave "
    "primaria o nella relazione.");
}

VbErrore DaSqlite(int codice, const QString &messaggio)
{
    const QString m = NascondiPassword(messaggio);
    switch (codice) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return VbErrore(VbErrore::ChiaveDuplicata, testoDuplicato + u' ' + m);
    case SQLITE_CONSTRAINT_NOTNULL:
        return VbErrore(CampoNonNullo, QStringLiteral("Il campo non può contenere un valore Null. ") + m);
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        return VbErrore(RecordCorrelato, QStringLiteral("Record correlato richiesto. ") + m);
    case SQLITE_CANTOPEN:
        return VbErrore(FileNonTrovato, QStringLiteral("Impossibile aprire il database. ") + m);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return VbErrore(RecordBloccato, QStringLiteral("Impossibile aggiornare: dati bloccati. ") + m);
    default:
        break;
    }
    if (m.contains(QLatin1String("parser stack overflow")) || m.contains(QLatin1String("too large")))
        return VbErrore(JetSql::ErroreTroppoComplessa,
                        QStringLiteral("Istruzione SQL troppo complessa per il database: troppe parentesi o funzioni "
                                       "una dentro l'altra. ") + m);
    if (m.contains(QLatin1String("no such table")))
        return VbErrore(TabellaNonTrovata, QStringLiteral("Tabella non trovata: ") + m);
    if (m.contains(QLatin1String("syntax error")) || m.contains(QLatin1String("no such column")) ||
        m.contains(QLatin1String("no such function")))
        return VbErrore(ErroreSintassi, QStringLiteral("Errore di sintassi nell'istruzione SQL: ") + m);
    return VbErrore(Generico, m);
}

VbErrore DaQt(const QSqlError &e, bool odbc)
{
    const QString m = NascondiPassword(e.text());
    const QString tutto = e.nativeErrorCode() + u' ' + e.databaseText();
    if (tutto.contains(QLatin1String("23505")) || m.contains(QLatin1String("duplicate key")))
        return VbErrore(VbErrore::ChiaveDuplicata, testoDuplicato + u' ' + m);
    if (tutto.contains(QLatin1String("23502")))
        return VbErrore(CampoNonNullo, QStringLiteral("Il campo non può contenere un valore Null. ") + m);
    if (tutto.contains(QLatin1String("23503")))
        return VbErrore(RecordCorrelato, QStringLiteral("Record correlato richiesto. ") + m);
    if (odbc)
        return VbErrore(VbErrore::ChiamataOdbcFallita, QStringLiteral("ODBC: chiamata non riuscita. ") + m);
    return VbErrore(Generico, m);
}

} // namespace ErroriDb
