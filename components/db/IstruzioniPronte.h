// IstruzioniPronte: the prepared statements of one SQLite connection kept for
// the next run of the same text, so that a query run once per document is
// parsed and planned once. A statement is lent out while it runs and comes
// back reset, holding no rows and no read transaction.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QVariantList>
#include <list>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class IstruzioniPronte
{
  public:
    IstruzioniPronte(sqlite3 *h, int capienza);
    ~IstruzioniPronte();
    IstruzioniPronte(const IstruzioniPronte &) = delete;
    IstruzioniPronte &operator=(const IstruzioniPronte &) = delete;

    // A statement of `sql`: a kept one when there is one free (then `nuova`
    // is false), otherwise prepared now. Failures are VbErrore.
    sqlite3_stmt *Prendi(const QByteArray &sql, bool *nuova = nullptr);
    // Takes a statement back: reset and kept, or finalized when the cache is
    // full or was emptied while the statement was out.
    void Restituisci(sqlite3_stmt *st);
    // Finalizes every kept statement (the schema changed, or the connection
    // closes); those lent out now are finalized when they come back.
    void Svuota();
    int Numero() const { return int(m_libere.size()); }

    // Binds `valori` to the parameters named JetSql::NomeParametro(0...) of `st`.
    static void LegaParametri(sqlite3_stmt *st, const QVariantList &valori);
    // The same with the parameters' numbers in `st` already known (0: absent).
    static void LegaParametri(sqlite3_stmt *st, const QVariantList &valori, const std::vector<int> &numeri);

  private:
    struct Libera {
        QByteArray sql;
        sqlite3_stmt *st;
    };
    struct Fuori {
        int generazione; // of the cache when lent
        QByteArray sql;  // the text it was asked for (shared, not copied)
    };
    sqlite3 *m_h;
    int m_capienza;
    int m_generazione = 0;
    std::list<Libera> m_libere;           // most recently returned first
    QHash<sqlite3_stmt *, Fuori> m_fuori; // lent statements
};
