// RigheOdbc: the rows of an executed ODBC statement read into a Risultato.
// Where the driver allows it (SQLGetData on bound columns within a block of
// rows, as the PostgreSQL driver does) the columns are bound to buffers and
// the rows fetched a block at a time: one call of the driver per block, not
// one per cell. A text longer than its buffer is read again whole from its
// row, and the statement's buffer for that column grows for the next run.
// Other drivers are read a cell at a time. Both give the values Qt's driver
// would: whole numbers, numbers as text, dates, timestamps, texts whole.
#pragma once

#include "components/db/Risultato.h"

#include <QSqlError>
#include <QString>
#include <cstdint>
#include <vector>

class RigheOdbc
{
  public:
    // How a column is fetched.
    enum class Lettura : std::uint8_t { Intero, Testo, Data, DataOra };

    // What is known of one statement's columns: how each is read, and the
    // characters of each text buffer (from the declared size, then the
    // longest text met, up to CaratteriMassimi).
    struct Forma {
        Forma();
        std::vector<Lettura> letture;
        std::vector<int> caratteri;
        std::uint64_t numero; // tells the statements apart for the bindings
        bool cambiata = true; // the buffers must be bound again
    };
    // The first buffer of a text column of `dimensione` characters declared.
    static int CaratteriIniziali(Lettura l, std::uint64_t dimensione);

    static constexpr int CaratteriMassimi = 1024;
    static constexpr int RigheBlocco = 256;
    static constexpr int ByteBlocco = 256 * 1024;

    // `hdbc`: the driver's connection handle (SQLHDBC), asked once what the
    // driver allows.
    explicit RigheOdbc(void *hdbc) : m_hdbc(hdbc) {}
    RigheOdbc(const RigheOdbc &) = delete;
    RigheOdbc &operator=(const RigheOdbc &) = delete;

    // Reads every row of the executed statement `st` (SQLHSTMT) into `r`,
    // whose columns are the statement's. False on a failure, `errore` and
    // `statoSql` saying why; the statement is left open either way.
    bool Leggi(void *st, Forma &forma, Risultato &r, QSqlError &errore, QString &statoSql);

    // Whether the last Leggi read a cell at a time (tests).
    bool PerCelle() const { return m_blocchi == 0; }
    // Forces the reading a cell at a time (tests compare both readings).
    void SoloCelle() { m_blocchi = 0; }

  private:
    bool leggiCelle(void *st, Forma &forma, Risultato &r);
    bool leggiBlocchi(void *st, Forma &forma, Risultato &r);
    bool lega(void *st, Forma &forma);
    // The text of column `col` (from 1) of the row the statement stands on,
    // whole, in as many pieces as it takes; false on a failure.
    bool testoIntero(void *st, int col, QString &testo, bool &nullo);
    // A cell read by `l` added to `r` as Qt's driver's value would be.
    static void aggiungi(Risultato &r, int col, const QVariant &valore);

    void *m_hdbc;
    int m_blocchi = -1; // the driver reads bound blocks: -1 not asked yet
    // The buffers bound to the columns of the statement `m_legata`, column
    // after column: each column's cells, then its indicators.
    std::vector<char> m_memoria;
    std::vector<std::size_t> m_posizioni; // each column's cells in m_memoria
    std::vector<std::size_t> m_indicatori;
    std::vector<int> m_larghezze; // bytes of one cell of each column
    std::uint64_t m_legata = 0;
    int m_righe = 0;                     // rows of a block as bound
    unsigned long m_lette = 0;           // rows the last fetch brought (SQLULEN)
    std::vector<unsigned short> m_stati; // each row's state after a fetch
};
