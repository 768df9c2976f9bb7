// CursoreSqlite: the rows of a read-only SELECT on SQLite stepped one at a
// time instead of read ahead, with each value converted only when it is read.
// The rows can still be had all in memory (Completa): they are then read
// again within the same read transaction, so they are the rows the cursor saw.
#pragma once

#include "components/db/Risultato.h"

#include <QByteArray>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class IstruzioniPronte;

class CursoreSqlite
{
  public:
    // The cursors open on one connection: it completes them before anything
    // that would write or end the read transaction they stand in.
    class Registro
    {
      public:
        void CompletaTutti();
        // For a connection that closes when its cursors cannot be completed:
        // they let their statements go and read as having no rows.
        void Abbandona();
        bool Vuoto() const { return m_aperti.empty(); }
        // Completes the cursors marked CompletaAlRiposo (the event loop is
        // about to wait), so that no read transaction outlives what the user
        // asked: the connection's next read sees what others wrote since.
        void CompletaAlRiposo();

      private:
        friend class CursoreSqlite;
        std::vector<CursoreSqlite *> m_aperti;
        bool m_attesa = false; // completion asked for the next rest
    };

    // Takes `st`, lent by `pronte` on `h` with `valori` bound and not yet
    // stepped, and gives it back when done; `righe` holds the result's columns
    // and receives the rows when they are completed. `sql` is the statement's
    // text when the caller holds it already (empty: asked of `st`).
    CursoreSqlite(sqlite3 *h, sqlite3_stmt *st, QVariantList valori, std::shared_ptr<IstruzioniPronte> pronte,
                  Risultato *righe, std::shared_ptr<Registro> registro, const QByteArray &sql = QByteArray());
    ~CursoreSqlite();
    CursoreSqlite(const CursoreSqlite &) = delete;
    CursoreSqlite &operator=(const CursoreSqlite &) = delete;

    // Steps to the next row: false past the last one. Engine failures are VbErrore.
    bool Avanza();
    bool Finito() const { return m_finito; }
    // Rows reached so far, the current one included.
    int Righe() const { return m_righe; }
    // Value of column `col` of the current row, as Risultato::valore gives it.
    QVariant Valore(int col) const;
    // The bytes of column `col` of the current row when Valore would give
    // them as a text (valid until the next step); null otherwise.
    QByteArrayView TestoUtf8(int col) const;
    // The statement standing on the current row, for reads of its columns;
    // nullptr once the cursor is past its last row or completed.
    sqlite3_stmt *Istruzione() const { return m_st; }

    // Reads every row of the result into the Risultato given at construction
    // and lets the statement go. Rows the cursor has passed are read again
    // from the same snapshot while the statement is still running; once it
    // has finished, the SELECT runs again.
    void Completa();
    bool Completo() const { return m_completo; }
    // A cursor open on the GUI thread whose rows are few and are read within
    // one user action (a record set, a grid's rows): completed when the event
    // loop next waits, instead of holding its read transaction (and with it
    // a snapshot older than other desks' saves) until it is closed. A forward
    // read over a whole list is not marked: completing it would read every row.
    void CompletaAlRiposo();

  private:
    void chiudi();

    sqlite3 *m_h;
    sqlite3_stmt *m_st;
    QByteArray m_sql;
    QVariantList m_valori;
    std::shared_ptr<IstruzioniPronte> m_pronte;
    Risultato *m_risultato;
    std::shared_ptr<Registro> m_registro;
    mutable std::unique_ptr<Risultato> m_cella; // one value converted at a time, made on first use
    int m_righe = 0;
    bool m_finito = false;
    bool m_completo = false;
    bool m_alRiposo = false;
};
