// IstruzioniOdbc: the SELECTs of one server connection run on ODBC statements
// of our own, kept per translated form. A form whose literals are texts and
// whole numbers is prepared once and run again with them bound, so the server
// parses and plans it once; its columns are described once. Qt's driver
// describes every column of every result again, which the PostgreSQL driver
// answers by searching the table's column list for each column.
#pragma once

#include "components/db/CacheLru.h"
#include "components/db/JetSql.h"
#include "components/db/RigheOdbc.h"
#include "components/db/Risultato.h"

#include <QSqlError>
#include <QString>
#include <memory>
#include <vector>

// The failure of an ODBC call on handle `h` of kind `tipo` (SQL_HANDLE_STMT,
// SQL_HANDLE_DBC) as Qt's driver reports it: SQLSTATE apart, every message of
// the driver in the database text.
void DiagnosticaOdbc(short tipo, void *h, QSqlError &errore, QString &statoSql);

class IstruzioniOdbc
{
  public:
    // `hdbc` is the driver's connection handle (SQLHDBC); it must outlive
    // this object, which frees its statements when it goes.
    IstruzioniOdbc(void *hdbc, int capienza);
    ~IstruzioniOdbc();
    IstruzioniOdbc(const IstruzioniOdbc &) = delete;
    IstruzioniOdbc &operator=(const IstruzioniOdbc &) = delete;

    enum class Esito {
        Pronto,    // the result is open: Colonne, then Leggi
        NonAdatto, // a column of a kind only Qt's driver reads: nothing is open
        Fallito,   // the server refused it: `errore` and `statoSql` say why
    };
    // Runs the translated form `sqlMotore` with the literals of `forma`.
    // `transazione`: a transaction is open, so a parameterised text that has
    // not yet run is sent with its literals written in (a failure would spoil
    // the transaction).
    Esito Esegui(const QString &sqlMotore, const JetSql::Forma &forma, bool transazione, QSqlError &errore,
                 QString &statoSql);
    // The columns of the open result, with the engine's names and kinds.
    const std::vector<Risultato::Colonna> &Colonne() const;
    // Reads every row of the open result into `r` (whose columns are those of
    // Colonne, named as the caller wants) and closes it. False on a failure.
    bool Leggi(Risultato &r, QSqlError &errore, QString &statoSql);
    // Closes the open result, if any.
    void Chiudi();
    // Frees every statement (the schema changed, or the connection closes).
    void Svuota();
    // The reading of the rows (tests).
    RigheOdbc &Righe() { return m_righe; }

    struct Voce;

  private:
    void *m_hdbc;
    CacheLru<std::shared_ptr<Voce>> m_voci;
    std::shared_ptr<Voce> m_aperta; // the statement whose result is open
    RigheOdbc m_righe;
};
