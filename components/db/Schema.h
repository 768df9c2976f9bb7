// The database schema kept in data/ (company and common menu database),
// written once in a neutral dialect and applied to SQLite or PostgreSQL.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace Schema
{

enum class Motore { SQLite, PostgreSQL };

// Resources of the two schemas.
inline const QString RisorsaAzienda = QStringLiteral(":/data/schema.sql");
inline const QString RisorsaMenu = QStringLiteral(":/data/schema-menu.sql");

// Engine behind an open connection: QSQLITE is SQLite; QPSQL, and QODBC when
// the driver reports PostgreSQL (or reports nothing), is PostgreSQL.
// Throws VbErrore for any other engine.
Motore MotoreDi(const QSqlDatabase &db);

// Statements of a neutral-dialect script, comments removed, type words
// mapped for the engine, in file order; a statement that begins with
// "$postgres" is kept, without that word, for PostgreSQL only.
QStringList Istruzioni(const QString &script, Motore motore);

// The column type a type word of the dialect becomes on an engine
// ("$testo(40)", "$importo", ...); the text unchanged when it is no type word.
QString TipoColonna(const QString &parolaTipo, Motore motore);

// Runs a neutral-dialect script on an open connection in one transaction;
// on PostgreSQL creates the citext extension first. Every statement is
// idempotent, so a script may be applied again. Throws VbErrore and rolls
// back when a statement fails.
void ApplicaScript(QSqlDatabase &db, const QString &script);

// Reads a schema file (a resource or a path). Throws VbErrore when missing.
QString LeggiScript(const QString &percorso);

// Sizes of the text columns of a table of the company or menu schema, by
// column name in lower case (empty for a table the schemas do not hold).
// PostgreSQL keeps text without a size, so the program holds its fields to
// these sizes itself.
QHash<QString, int> LunghezzeTesto(const QString &tabella);

// The history's once-a-day key (the unique index PdcStorico_Giorno on account
// and date) given to a company database made before it: the later rows of an
// account and day go, the day's first (lowest Id) stays, then the key is made
// as the company schema writes it, all in one transaction. Nothing is done
// when the table is missing or already keyed. Throws VbErrore, with nothing
// changed, when the database refuses (read-only, no rights, locked).
void ChiaveStoricoGiorno(QSqlDatabase &db);

// Drops from an existing company database the indexes the company schema
// drops (its "DROP INDEX IF EXISTS" statements): indexes that only misled the
// planner. Throws VbErrore when the database refuses.
void TogliIndiciSuperati(QSqlDatabase &db);

// Creates on a company database the indexes the company schema writes for its
// engine only (its "$postgres CREATE ... INDEX IF NOT EXISTS" statements on
// PostgreSQL, "$sqlite ..." on SQLite), for companies made before them.
// Throws VbErrore when the database refuses.
void IndiciSoloServer(QSqlDatabase &db);

// The table the company schema names for the change counter of the look-up
// tables, moved by the triggers the schema gives those tables.
inline const QString TabellaVersione = QStringLiteral("VersioneDecodifiche");

// Gives a company database made before it the change counter: its table and
// the triggers that move it, as the company schema writes them, in one
// transaction. Nothing is done when the table is there. Throws VbErrore, with
// nothing changed, when the database refuses.
void VersioneDecodifiche(QSqlDatabase &db);

// The table the menu schema names for the change counter of its countries
// (TabStati), moved by the triggers the schema gives that table.
inline const QString TabellaVersioneMenu = QStringLiteral("VersioneMenu");

// Gives a menu database made before it the countries' change counter, as the
// menu schema writes it, in one transaction: a menu file (schema empty), or
// on PostgreSQL the schema of the company's database that holds the menu
// tables. Nothing is done when the counter is there or the menu's TabStati is
// not. Throws VbErrore, with nothing changed, when the database refuses.
void VersioneMenu(QSqlDatabase &db, const QString &schema = QString());

// What every opening of a company does to its indexes, in this order: the
// engine's own indexes made (IndiciSoloServer), then those they replace
// dropped (TogliIndiciSuperati), then the statistics (Statistiche, on SQLite).
// Throws VbErrore when the database refuses.
void IndiciAllApertura(QSqlDatabase &db);

// Brings the planner's statistics up to date. SQLite: StatisticheSqlite, run
// when a company is made and at each opening. PostgreSQL: ANALYZE when
// `server` is true (after a creation or a copy; the server's autovacuum keeps
// them afterwards). Throws VbErrore when the database refuses.
void Statistiche(QSqlDatabase &db, bool server = true);

// SQLite's statistics, every row of a table read (ANALYZE with no
// analysis_limit: on a sample its indexes were given row counts that
// disagree by up to three times, and the planner then scanned the smallest
// one and sorted), for each table that has rows and whose statistics are
// missing, were taken on a sample, or are of a table half its present size
// (its highest rowid, noted in sqlite_stat1 after the figures). About 2 s at a
// million customers the first time, a millisecond an opening afterwards.
void StatisticheSqlite(QSqlDatabase &db);
// Whether a table's statistics (its indexes' rows of sqlite_stat1) are to be
// taken again, its highest rowid being `rowid` (0: an empty table).
bool StatisticheDaRifare(const QList<QString> &statIndici, qint64 rowid);

// The company database schema, and the common menu database schema. An
// existing database first gets the history's key as above.
void ApplicaAzienda(QSqlDatabase &db);
void ApplicaMenu(QSqlDatabase &db);

} // namespace Schema
