// DbMotore: writes of single rows found by their key (the record sets' and
// the record form's), values bound, never spliced; the optimistic forms
// write or delete a row only while it holds what was read.
#include "components/db/DbConnessione.h"
#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/JetSql.h"

namespace
{
QString tipoPg(Risultato::Tipo t)
{
    switch (t) {
    case Risultato::Tipo::Intero:
        return QStringLiteral("bigint");
    case Risultato::Tipo::Reale:
        return QStringLiteral("double precision");
    case Risultato::Tipo::Decimale:
        return QStringLiteral("numeric");
    case Risultato::Tipo::Data:
        return QStringLiteral("date");
    case Risultato::Tipo::DataOra:
        return QStringLiteral("timestamp");
    case Risultato::Tipo::Booleano:
        return QStringLiteral("boolean");
    default:
        return QStringLiteral("text");
    }
}

QString nomeSql(const QString &n, bool pg)
{
    return JetSql::NomeQuotato(n, pg ? JetSql::Dialetto::PostgreSQL : JetSql::Dialetto::SQLite);
}
// A table written to, in its schema (or attached database) when one is named.
QString tabellaSql(const QString &schema, const QString &tabella, bool pg)
{
    return schema.isEmpty() ? nomeSql(tabella, pg) : nomeSql(schema, pg) + u'.' + nomeSql(tabella, pg);
}

// The optimistic check: each column still holds what was read (Null only
// Null). Texts compare with their case, whatever the column's collation. The
// values to bind join `legati`.
QString condizioneLetta(bool pg, const QHash<QString, Risultato::Tipo> &tipi, const QStringList &colonne,
                        const QVariantList &valoriLetti, QVariantList &legati)
{
    QString dove;
    for (int i = 0; i < colonne.size(); ++i) {
        const QVariant &v = valoriLetti.value(i);
        const QString col = nomeSql(colonne[i], pg);
        const Risultato::Tipo tipo = tipi.value(colonne[i].toLower(), Risultato::Tipo::Testo);
        const bool testo = tipo == Risultato::Tipo::Testo;
        if (!v.isValid() || v.isNull()) {
            dove += QStringLiteral(" AND ") + col + QStringLiteral(" IS NULL");
            continue;
        }
        if (pg && testo)
            dove += QStringLiteral(" AND CAST(%1 AS text) = CAST(? AS text)").arg(col);
        else if (pg)
            dove += QStringLiteral(" AND %1 = CAST(? AS %2)").arg(col, tipoPg(tipo));
        else
            dove += QStringLiteral(" AND ") + col + QStringLiteral(" = ?") +
                    (testo ? QStringLiteral(" COLLATE BINARY") : QString());
        legati << v;
    }
    return dove;
}
} // namespace

QString DbMotore::condizioneChiave(const QString &nome, const QString &tabella, const QStringList &chiave,
                                   const QVariantList &valoriChiave, const QString &schema,
                                   QVariantList &legati)
{
    Connessione &c = conn(nome);
    const bool pg = c.motore == Motore::Odbc;
    const auto tipi = TipiColonne(nome, tabella, schema);
    QStringList dove;
    for (int i = 0; i < chiave.size(); ++i) {
        if (!valoriChiave[i].isValid() || valoriChiave[i].isNull()) {
            dove << nomeSql(chiave[i], pg) + QStringLiteral(" IS NULL");
        } else {
            dove << nomeSql(chiave[i], pg) + QStringLiteral(" = ") +
                        (pg ? QStringLiteral("CAST(? AS %1)")
                                  .arg(tipoPg(tipi.value(chiave[i].toLower(), Risultato::Tipo::Testo)))
                            : QStringLiteral("?"));
            legati << valoriChiave[i];
        }
    }
    return dove.join(QStringLiteral(" AND "));
}

int DbMotore::AggiornaRiga(const QString &nome, const QString &tabella, const QStringList &colonne,
                           const QVariantList &valori, const QStringList &chiave,
                           const QVariantList &valoriChiave, const QString &schema)
{
    return aggiornaRiga(nome, tabella, colonne, valori, nullptr, chiave, valoriChiave, schema);
}

int DbMotore::AggiornaRigaLetta(const QString &nome, const QString &tabella, const QStringList &colonne,
                                const QVariantList &valori, const QVariantList &valoriLetti,
                                const QStringList &chiave, const QVariantList &valoriChiave,
                                const QString &schema)
{
    const int righe =
        aggiornaRiga(nome, tabella, colonne, valori, &valoriLetti, chiave, valoriChiave, schema);
    if (righe > 0 || colonne.isEmpty())
        return righe;
    // Nothing matched: a row that is still there was changed by someone else.
    if (esisteRiga(nome, tabella, chiave, valoriChiave, schema))
        throw ErroriDb::RigaModificata();
    return 0;
}

bool DbMotore::esisteRiga(const QString &nome, const QString &tabella, const QStringList &chiave,
                          const QVariantList &valoriChiave, const QString &schema, bool blocca)
{
    Connessione &c = conn(nome);
    const bool pg = c.motore == Motore::Odbc;
    QVariantList legati;
    const QString dove = condizioneChiave(nome, tabella, chiave, valoriChiave, schema, legati);
    bool esiste = false;
    eseguiLegato(c,
                 QStringLiteral("SELECT 1 FROM %1 WHERE %2%3")
                     .arg(tabellaSql(schema, tabella, pg), dove,
                          blocca && pg ? QStringLiteral(" FOR UPDATE") : QString()),
                 legati, &esiste);
    // A look-up made while writing leaves the write's count as it was.
    if (!blocca)
        c.righeToccate = 0;
    return esiste;
}

bool DbMotore::BloccaRiga(const QString &nome, const QString &tabella, const QStringList &chiave,
                          const QVariantList &valoriChiave, const QString &schema)
{
    return esisteRiga(nome, tabella, chiave, valoriChiave, schema, true);
}

int DbMotore::aggiornaRiga(const QString &nome, const QString &tabella, const QStringList &colonne,
                           const QVariantList &valori, const QVariantList *valoriLetti,
                           const QStringList &chiave, const QVariantList &valoriChiave, const QString &schema)
{
    Connessione &c = conn(nome);
    const bool pg = c.motore == Motore::Odbc;
    if (colonne.isEmpty())
        return 1;
    const auto tipi = TipiColonne(nome, tabella, schema);
    auto tipo = [&](const QString &col) { return tipi.value(col.toLower(), Risultato::Tipo::Testo); };
    auto segnaposto = [&](const QString &col) {
        return pg ? QStringLiteral("CAST(? AS %1)").arg(tipoPg(tipo(col))) : QStringLiteral("?");
    };
    QStringList set;
    QVariantList legati;
    for (int i = 0; i < colonne.size(); ++i) {
        set << nomeSql(colonne[i], pg) + QStringLiteral(" = ") + segnaposto(colonne[i]);
        legati << valori[i];
    }
    QString dove = condizioneChiave(nome, tabella, chiave, valoriChiave, schema, legati);
    if (valoriLetti)
        dove += condizioneLetta(pg, tipi, colonne, *valoriLetti, legati);
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(tabellaSql(schema, tabella, pg), set.join(QStringLiteral(", ")), dove);
    return eseguiLegato(c, sql, legati);
}

int DbMotore::InserisciRiga(const QString &nome, const QString &tabella, const QStringList &colonne,
                            const QVariantList &valori, const QString &schema)
{
    Connessione &c = conn(nome);
    const bool pg = c.motore == Motore::Odbc;
    const auto tipi = TipiColonne(nome, tabella, schema);
    QStringList nomi, segni;
    for (const QString &col : colonne) {
        nomi << nomeSql(col, pg);
        segni << (pg ? QStringLiteral("CAST(? AS %1)")
                           .arg(tipoPg(tipi.value(col.toLower(), Risultato::Tipo::Testo)))
                     : QStringLiteral("?"));
    }
    const QString sql =
        nomi.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(tabellaSql(schema, tabella, pg))
                       : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(tabellaSql(schema, tabella, pg), nomi.join(QStringLiteral(", ")),
                                  segni.join(QStringLiteral(", ")));
    return eseguiLegato(c, sql, valori);
}

int DbMotore::EliminaRiga(const QString &nome, const QString &tabella, const QStringList &chiave,
                          const QVariantList &valoriChiave, const QString &schema)
{
    Connessione &c = conn(nome);
    const bool pg = c.motore == Motore::Odbc;
    QVariantList legati;
    const QString dove = condizioneChiave(nome, tabella, chiave, valoriChiave, schema, legati);
    return eseguiLegato(
        c, QStringLiteral("DELETE FROM %1 WHERE %2").arg(tabellaSql(schema, tabella, pg), dove), legati);
}

int DbMotore::EliminaRigaLetta(const QString &nome, const QString &tabella, const QStringList &colonne,
                               const QVariantList &valoriLetti, const QStringList &chiave,
                               const QVariantList &valoriChiave, const QString &schema)
{
    Connessione &c = conn(nome);
    const bool pg = c.motore == Motore::Odbc;
    QVariantList legati;
    // One statement: the row's lock is taken and the check made on the row
    // as it stands then, also after waiting for another desk's change.
    QString dove = condizioneChiave(nome, tabella, chiave, valoriChiave, schema, legati);
    dove += condizioneLetta(pg, TipiColonne(nome, tabella, schema), colonne, valoriLetti, legati);
    const int righe = eseguiLegato(
        c, QStringLiteral("DELETE FROM %1 WHERE %2").arg(tabellaSql(schema, tabella, pg), dove), legati);
    if (righe > 0)
        return righe;
    if (esisteRiga(nome, tabella, chiave, valoriChiave, schema))
        throw ErroriDb::RigaModificata();
    return 0;
}
