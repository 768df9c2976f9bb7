// The rows a footer calculation reads, read raw through SQLite's C API with
// statements prepared once and bound per document: the floor the footer
// engine and the letters-of-intent totals are measured against.
#pragma once

#include <QByteArray>
#include <sqlite3.h>

#include <array>
#include <cstdint>

namespace letture_grezze
{

// Header (with the joins of the engine's own header SELECT), stamp table,
// lines and expenses of one document kind; ?1 is the number, ?2 the year.
inline std::array<QByteArray, 4> Sql(const QByteArray &testa, const QByteArray &dett, const QByteArray &spese)
{
    const bool fattura = testa == "FatTest", ordine = testa == "OrdVenTest";
    QByteArray colonne = "T.Acconto, ";
    if (!ordine && !fattura)
        colonne += "T.DataRif, ";
    else
        colonne += "T.ScoPagSuDett, T.DataRif, ";
    if (fattura)
        colonne += "T.Abbuono, T.Bolli, ";
    colonne += "T.GruppoCli, T.MastroCli, T.ContoCli, T.PercRitAcc, ";
    if (!ordine)
        colonne += "T.Peso, ";
    colonne += "T.Moneta, T.Pagamento, T.PrezziIvati, T.ScontoPag, FattDocumenti.RegimeMargine, "
               "FattDocumenti.Segno, FattDocumenti.FattDocumento, Monete.NumDec, PagTipi.TipoEffetto, "
               "PagTipi.AddBolli, Pagamenti.NumScad, TabIva.TipoIva, Stati.Cee, Stati.Iso";
    return {
        "SELECT " + colonne + " FROM " + testa +
            " T LEFT JOIN Monete ON T.Moneta = Monete.Moneta LEFT JOIN FattDocumenti ON T.FattDocumento = "
            "FattDocumenti.FattDocumento LEFT JOIN Pagamenti ON T.Pagamento = Pagamenti.Pagamento LEFT JOIN "
            "PagTipi ON Pagamenti.PagTipo = PagTipi.PagTipo LEFT JOIN TabIva ON T.Iva = TabIva.Iva LEFT JOIN "
            "PianoConti ON T.GruppoCli = PianoConti.Gruppo AND T.MastroCli = PianoConti.Mastro AND "
            "T.ContoCli = PianoConti.Conto LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato "
            "WHERE T.NumRif = ?1 AND T.Anno = ?2",
        "SELECT TaBolli.*, TabIva.* FROM TaBolli LEFT JOIN TabIva ON TaBolli.CodEseBollo = TabIva.Iva",
        "SELECT D.*, coalesce(D.gruppoven,'') || coalesce(D.MastroVen,'') || coalesce(D.contoVen,'') AS "
        "Conto, "
        "TabIva.*, 'N' AS ArtCauzione FROM " +
            dett +
            " D LEFT JOIN TabIva ON D.Iva = TabIva.Iva WHERE D.NumRif = ?1 AND D.Anno = ?2 "
            "ORDER BY D.Iva, Conto, D.RigDet",
        "SELECT S.*, TabIva.*, Spese.* FROM " + spese +
            " S LEFT JOIN TabIva ON S.Iva = TabIva.Iva LEFT JOIN Spese ON S.Spesa = Spese.Spesa "
            "WHERE S.Anno = ?2 AND S.NumRif = ?1 "
            "ORDER BY S.Iva, coalesce(Spese.gruppo,'') || coalesce(Spese.Mastro,'') || "
            "coalesce(Spese.conto,'')"};
}

// Every column of every row of `st` for one document, as a reader would take it.
inline void LeggiRighe(sqlite3_stmt *st, int numero, int anno, std::int64_t &somma)
{
    sqlite3_bind_int(st, 1, numero);
    sqlite3_bind_int(st, 2, anno);
    while (sqlite3_step(st) == SQLITE_ROW) {
        const int n = sqlite3_column_count(st);
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                somma += sqlite3_column_int64(st, c);
                break;
            case SQLITE_FLOAT:
                somma += std::int64_t(sqlite3_column_double(st, c));
                break;
            case SQLITE_TEXT:
                somma += sqlite3_column_bytes(st, c) + (sqlite3_column_text(st, c) ? 1 : 0);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_reset(st);
}

// The four statements of one document kind, prepared once on `db`.
class Lettore
{
  public:
    Lettore(sqlite3 *db, const QByteArray &testa, const QByteArray &dett, const QByteArray &spese)
    {
        const std::array<QByteArray, 4> sql = Sql(testa, dett, spese);
        for (size_t i = 0; i < sql.size(); ++i)
            sqlite3_prepare_v2(db, sql[i].constData(), -1, &m_st[i], nullptr);
    }
    ~Lettore()
    {
        for (sqlite3_stmt *st : m_st)
            sqlite3_finalize(st);
    }
    Lettore(const Lettore &) = delete;
    Lettore &operator=(const Lettore &) = delete;

    void Documento(int numero, int anno, std::int64_t &somma)
    {
        for (sqlite3_stmt *st : m_st)
            if (st)
                LeggiRighe(st, numero, anno, somma);
    }

  private:
    std::array<sqlite3_stmt *, 4> m_st{};
};

} // namespace letture_grezze
