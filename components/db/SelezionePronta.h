// SelezionePronta: a SELECT of the program run again and again with other
// literals (one query per document of a calculation). Its form is taken from
// the text once: translated, read and prepared once, then each run binds the
// new values and steps the rows. Columns are asked for by name once and read
// by number, with the values and kinds RecDat::LeggiCampo gives.
#pragma once

#include "components/db/JetSql.h"
#include "components/db/Risultato.h"
#include "components/util/Currency.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class CursoreSqlite;
class DbMotore;

class SelezionePronta
{
  public:
    // `sql` is a Jet SELECT as the program writes it for one case; the
    // literals it compares against after its FROM are what later runs change.
    SelezionePronta(DbMotore *db, const QString &conn, const QString &sql);
    ~SelezionePronta();
    SelezionePronta(const SelezionePronta &) = delete;
    SelezionePronta &operator=(const SelezionePronta &) = delete;

    // The literals taken out of the text, in their order (whole numbers as
    // qlonglong, texts as QString).
    const QVariantList &ValoriTesto() const { return m_forma.valori; }
    // The Jet text of the last run: the text given, with that run's values in
    // place of its literals.
    QString Sql() const;

    // Runs the SELECT with `valori` in place of the text's literals (as many
    // as ValoriTesto, in the same order); the first row becomes current.
    // Engine failures are VbErrore, as for RecDat::ApriRec. The connection's
    // SELECT observer sees the text of the run (Sql()).
    void Esegui(const QVariantList &valori);
    // Lets the rows go, and with them the statement and its read transaction.
    void Chiudi();

    bool FineDati() const;  // there is no current row
    bool FineFile() const;  // past the last row (also before any run)
    void MuoviSuccessivo(); // error 3021 past the last row

    // A column by the name LeggiCampo takes ("Table.Field", "Alias.Field" or
    // a bare name), answered as a number that serves every later run.
    int Campo(const QString &nome);
    const QString &NomeCampo(int campo) const { return m_nomi[size_t(campo)]; }

    // Reads of the current row (error 3021 when there is none); a column the
    // SELECT does not carry reads as empty.
    // As RecDat::LeggiCampo with the kind `tipo`.
    QVariant Valore(int campo, int tipo = 0) const;
    // Valore(campo).isNull().
    bool Nullo(int campo) const;
    // "" for Null, otherwise Valore(campo).toString().
    QString Testo(int campo) const;
    // Testo(campo) (trimmed when `senzaSpazi`) compared with `testo` without
    // regard to case: the engine's tests of one-letter codes.
    bool Uguale(int campo, QLatin1StringView testo, bool senzaSpazi = false) const;
    // Currency::fromVariant(Valore(campo, 6)): Null reads 0, beyond the range is error 6.
    Currency Importo(int campo) const;
    // Valore(campo).toDouble(ok), Null reading 0.
    double Reale(int campo, bool *ok) const;

  private:
    struct Stato;
    void esegui(const QVariantList &valori);
    bool viva() const;
    void richiediCorrente() const;
    int indice(int campo) const;
    void riprendiColonne();

    DbMotore *m_db;
    QString m_conn;
    JetSql::Forma m_forma; // the form of the text given, with its literals
    QVariantList m_valori; // values of the last run
    std::unique_ptr<Stato> m_stato;
    Risultato m_righe;                    // the columns, and the rows when they are held in memory
    std::unique_ptr<CursoreSqlite> m_cur; // steps the rows while they are not in memory
    int m_pos = 0;
    bool m_eseguita = false;
    std::vector<QString> m_nomi;       // columns asked for, by number
    mutable std::vector<int> m_indici; // their places in the result
    mutable bool m_indiciValidi = false;
};
