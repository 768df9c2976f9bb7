// JetSql: the program's SQL is written in the Jet dialect; this translates it
// for SQLite and for PostgreSQL (one pass per engine, never touching string
// literals), and reads the select list and the FROM clause so that record sets
// can name every column of "Alias.*".
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace JetSql
{

enum class Dialetto { SQLite, PostgreSQL };

// Where tables of another database named in the text live on this engine.
struct Opzioni {
    // "[;Database=<path>;pwd=..;]" before a table name: answers the attached
    // alias (SQLite) or schema (PostgreSQL) holding that file's tables.
    std::function<QString(const QString &percorso)> schemaAllegato;
};

// Owner placeholder that ODBC texts carry between database and table name.
inline const QString SegnapostoOwner = QStringLiteral("ç§&dbo§&ç");

// Errors (VbErrore numbers) of a text the translator refuses: every Jet
// construct either gives on both engines the answer Jet gives, or is refused.
constexpr int ErroreNonTradotto = 3085;     // a Jet function or clause not translated
constexpr int ErroreEspressione = 3075;     // a literal or call Jet itself would reject
constexpr int ErroreTroppoComplessa = 3360; // nesting beyond ProfonditaMassima
// Parentheses, calls and sub-queries nested deeper than this are refused
// (SQLite's own parser stops earlier on deeply nested calls: that error is
// given with the same number).
constexpr int ProfonditaMassima = 100;

// The text for the engine: `&` as null-safe concatenation, the arithmetic
// operators with Jet's rules (`/` always fractional, `\` and Mod on rounded
// operands, `^`), Jet LIKE patterns, True/False as -1/0, IsNull, IsNumeric,
// IIf, Nz, Val, CStr, CInt, CLng, CDbl, Mid, Left, Right, Len, InStr, UCase,
// LCase, Trim, Year, Month, Day, Date(), Now(), #date# literals, TOP n,
// DISTINCTROW, attached databases, the owner placeholder, names that begin
// with a digit, [bracketed] names and "..." strings. SQLite relies on the
// functions FunzioniSqlite registers. Throws VbErrore for what is refused.
QString Traduci(const QString &jet, Dialetto dialetto, const Opzioni &opzioni = Opzioni());

// A table or column name quoted for the engine, with the case the schema gives it there.
QString NomeQuotato(const QString &nome, Dialetto dialetto);

// A Jet LIKE pattern as an engine pattern with '\' as ESCAPE character.
// Answers false when the pattern needs more than LIKE can say (# or a
// character class); then the engines use jetlike()/a regular expression.
bool PatternLike(const QString &jet, QString &like);
// The same pattern as a POSIX regular expression anchored at both ends.
QString PatternRegex(const QString &jet);
// Jet LIKE matching, without regard to case; time grows with the product of
// the two lengths at worst (no backtracking regular expression).
bool JetLike(const QString &valore, const QString &pattern);

// One item of the select list.
struct VoceSelect {
    QString qualifica;        // "Sta1" in "Sta1.Descrizione" and "Stati.*"; empty otherwise
    QString campo;            // "Descrizione"; "*" for every column
    QString alias;            // the AS name, empty when none
    bool espressione = false; // anything but a plain (qualified) column
    bool somma = false;       // an aggregate SUM or COUNT
};

// One table of the FROM clause.
struct TabellaFrom {
    QString tabella;     // table name as written ("TabStati", "0_ClientHotelArdeno")
    QString alias;       // AS name, or the table name when none
    QString schema;      // database/schema before it (ODBC form), empty when none
    QString databaseJet; // path of "[;Database=path;...]" when written that way
};

struct AnalisiSelect {
    bool valida = false; // false when the text is not a SELECT we can read
    QList<VoceSelect> voci;
    QList<TabellaFrom> tabelle;
};

// Reads the select list and the tables of the (outermost) FROM of a Jet SELECT.
AnalisiSelect Analizza(const QString &jet);

// A SELECT with the literals it compares against taken out: the texts of one
// query run for different documents differ only there, so they share one
// translation, one reading of their columns and one prepared statement.
struct Forma {
    // The Jet text with each literal that follows a comparison after the FROM
    // replaced by a parameter name (NomeParametro); the text itself when there
    // is none to take out.
    QString testo;
    // Values of the literals taken out, in parameter order: qlonglong or
    // double for numbers, QString for texts.
    QVariantList valori;
    // The same literals as the engine's text writes them.
    QStringList letterali;
};
Forma FormaParametrica(const QString &jet);
// Name of the parameter that stands for the literal `i` (from 0): SQLite binds it by that name.
QString NomeParametro(int i);
// A translated form with its literals written back in place of the parameters.
QString RimettiLetterali(const QString &tradotto, const Forma &forma);

} // namespace JetSql
