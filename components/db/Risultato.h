// Risultato: the rows of one SELECT held in memory, compactly (one small cell
// per value, texts in one UTF-8 buffer), with the column names the record-set
// reads resolve: "Alias.Field", a bare name (first column of that name in
// SELECT order) or an alias given with AS, all without regard to case.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct sqlite3_stmt;

class Risultato
{
  public:
    // Kind of a value; Decimale is an exact amount held as ten-thousandths.
    enum class Tipo : std::uint8_t { Nullo, Intero, Reale, Decimale, Testo, Data, DataOra, Booleano };

    struct Colonna {
        QString nome;             // bare name as the result gives it ("Descrizione", "Conto")
        QString qualifica;        // alias or table in front of it in the SELECT ("Sta1"), may be empty
        QString tabella;          // base table the column comes from, empty for expressions
        Tipo tipo = Tipo::Testo;  // declared kind
        int lunghezza = 0;        // declared size of a text column, 0 when unknown
        bool zeroSeNullo = false; // a SUM or COUNT: no rows reads as 0, not Null
    };

    Risultato() = default;
    explicit Risultato(std::vector<Colonna> colonne) : m_colonne(std::move(colonne)) {}

    int numColonne() const { return int(m_colonne.size()); }
    int numRighe() const
    {
        return m_colonne.empty() ? m_righeSenzaColonne : int(m_celle.size() / m_colonne.size());
    }
    const Colonna &colonna(int i) const { return m_colonne[size_t(i)]; }
    std::vector<Colonna> &colonne() { return m_colonne; }
    void rinominaColonne(); // forget cached name look-ups after the columns changed
    // Name look-ups shared with the other results of the very same columns
    // (one query run for many documents): each name is searched once.
    void condividiNomi(std::shared_ptr<QHash<QString, int>> nomi) { m_cacheNomi = std::move(nomi); }

    // Index of the column that a read by `nome` means, -1 when the SELECT does not carry it.
    int indice(const QString &nome) const;

    // Value of a cell: Null as an invalid QVariant, whole numbers as int (or
    // qlonglong when large), amounts as Currency, texts as QString, dates as
    // QDate, date-times as QDateTime. An amount column's value beyond the
    // Currency range keeps the kind the engine gave it (whole number, double
    // or exact decimal text): it is never turned into another amount.
    QVariant valore(int riga, int col) const;
    Tipo tipoCella(int riga, int col) const { return cella(riga, col).tipo; }
    bool nullo(int riga, int col) const { return cella(riga, col).tipo == Tipo::Nullo; }
    // The UTF-8 bytes of a text cell, as valore() would read them (valid
    // while the rows are not changed); null for a cell of another kind.
    QByteArrayView testoUtf8(int riga, int col) const
    {
        const Cella &c = cella(riga, col);
        return c.tipo == Tipo::Testo ? QByteArrayView(m_testi.constData() + c.s.off, qsizetype(c.s.len))
                                     : QByteArrayView();
    }

    // Building rows: one call per cell, row after row.
    void aggiungiNullo() { push(Cella{}); }
    void aggiungiIntero(std::int64_t v);
    void aggiungiReale(double v);
    void aggiungiDecimale(std::int64_t decimiMillesimi);
    void aggiungiTesto(const char *utf8, int len);
    void aggiungiTesto(const QString &s);
    // A text of `n` UTF-16 code units, kept as aggiungiTesto(QString) keeps it.
    void aggiungiTestoUtf16(const char16_t *p, qsizetype n);
    void aggiungiData(const QDate &d);
    void aggiungiDataOra(const QDateTime &d);
    void aggiungiBooleano(bool b);
    // Adds a value converted to the column's declared kind (used for rows
    // written back by a record set and for engines that hand over QVariants).
    void aggiungiValore(const QVariant &v, Tipo tipoColonna);
    void righeVuote(int n) { m_righeSenzaColonne = n; }
    // Adds column `col` of the statement's current row, converted to `tipoColonna`.
    void aggiungiSqlite(sqlite3_stmt *st, int col, Tipo tipoColonna);
    // Drops every row, keeping the columns and the memory already taken.
    void svuotaRighe();

    // Row edits mirrored after a write succeeded.
    void sostituisciRiga(int riga, const QVariantList &valori);
    void eliminaRiga(int riga);
    void aggiungiRiga(const QVariantList &valori);
    QVariantList riga(int riga) const;

    // How a value converted to the kind of a column.
    enum class Conversione { Fatta, Rifiutata, FuoriIntervallo };
    // Converts a value to the kind of a column (text "12,50" to an amount,
    // "31/12/2024" to a date...). FuoriIntervallo: a number that the kind
    // cannot hold (an amount beyond the Currency range, a whole number beyond
    // 64 bits).
    static Conversione convertiValore(const QVariant &v, Tipo tipo, QVariant &out);
    // The same, false when it does not convert; a number beyond the kind's
    // range throws VbErrore 6 (overflow).
    static bool converti(const QVariant &v, Tipo tipo, QVariant &out);
    // A number, numeric text or Currency as a whole number rounded half away
    // from zero; Rifiutata for text that is not a number.
    static Conversione intero(const QVariant &v, qlonglong &out);
    // Kind of a declared SQL type ("NUMERIC(19,4)", "citext", "DATE"...).
    static Tipo tipoDichiarato(const QString &tipoSql, int *lunghezza = nullptr);

  private:
    struct Cella {
        union {
            std::int64_t i = 0;
            double d;
            struct {
                std::uint32_t off, len;
            } s;
        };
        Tipo tipo = Tipo::Nullo;
    };
    const Cella &cella(int riga, int col) const
    {
        return m_celle[size_t(riga) * m_colonne.size() + size_t(col)];
    }
    void push(const Cella &c) { m_celle.push_back(c); }
    int cercaIndice(const QString &nome) const;

    std::vector<Colonna> m_colonne;
    std::vector<Cella> m_celle;
    QByteArray m_testi;
    int m_righeSenzaColonne = 0;
    mutable std::shared_ptr<QHash<QString, int>> m_cacheNomi;
    // Names read last, known by their text's address: a program reads the
    // same few names row after row, often through the same QString objects,
    // and a held copy keeps that text alive and unchanged.
    struct NomeRecente {
        QString nome;
        int indice = -1;
    };
    mutable std::array<NomeRecente, 16> m_recenti;
    mutable int m_numRecenti = 0, m_prossimoRecente = 0;
};
