// The floors of the list window's benchmarks: the statements a list's work
// needs, written as the engine receives them (the list's own SELECT with
// one comparison of its ordering values, its count), and run bare through
// SQLite's C API or ODBC's, every column of every row read as text.
#pragma once

#include "LettureOdbc.h"
#include "components/db/DbMotore.h"
#include "components/lista/RigheLista.h"
#include "components/lista/SqlLista.h"
#include "services/Globali.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <vector>

namespace pavimenti_lista
{

// The rows from the one whose ordering values (in the order's columns) are
// `valori` on, in the list's order, as one comparison of those values;
// with `prima` the rows before it. "" when a value is Null or the order
// mixes directions (no one comparison gives them).
inline QString CondizioneSeek(const QList<SqlLista::VoceOrdine> &ordine, const QVariantList &valori,
                              bool prima = false)
{
    if (ordine.isEmpty() || valori.size() != ordine.size())
        return {};
    QStringList colonne, letterali;
    const bool discendente = ordine.first().discendente;
    for (qsizetype i = 0; i < ordine.size(); ++i) {
        if (ordine[i].discendente != discendente || valori[i].isNull())
            return {};
        colonne << ordine[i].colonna;
        letterali << SqlLista::Letterale(valori[i]);
    }
    // Before the row: below it in an ascending order, above it in a
    // descending one; from the row on, the row itself too.
    const QString confronto = prima ? (discendente ? QStringLiteral(") > (") : QStringLiteral(") < ("))
                                    : (discendente ? QStringLiteral(") <= (") : QStringLiteral(") >= ("));
    return QLatin1Char('(') + colonne.join(QStringLiteral(", ")) + confronto +
           letterali.join(QStringLiteral(", ")) + QLatin1Char(')');
}

// The bare seek of a screen of `schermo` rows from the row of ordering
// values `valori` on (with `prima`: the rows before it, read backwards), as
// the engine receives a page; "" when CondizioneSeek has none.
inline QByteArray SqlSeek(const SqlLista::Parti &parti, const QList<SqlLista::VoceOrdine> &ordine,
                          const QVariantList &valori, int schermo, bool prima = false)
{
    const QString condizione = CondizioneSeek(ordine, valori, prima);
    if (condizione.isEmpty())
        return {};
    return Globali::DbComp()
        ->Traduci(Globali::DbAzienda, SqlLista::Pagina(parti, condizione, ordine, prima, schermo),
                  DbMotore::LetturaInOrdine)
        .toUtf8();
}

// The count of the list's rows that also meet `condizione` (Jet SQL, may be
// empty), as the engine receives it.
inline QByteArray SqlConta(const SqlLista::Parti &parti, const QString &condizione = {})
{
    QString sql = SqlLista::Conteggio(parti);
    if (!condizione.isEmpty())
        sql += (parti.haWhere ? QStringLiteral(" And (") : QStringLiteral(" Where (")) + condizione +
               QLatin1Char(')');
    return Globali::DbComp()->Traduci(Globali::DbAzienda, sql).toUtf8();
}

// The ordering values of a row the list holds (read by the list when its
// page is not in memory).
inline QVariantList ValoriOrdine(RigheLista &r, int riga)
{
    QVariantList valori;
    for (const SqlLista::VoceOrdine &o : r.Ordine()) {
        const int i = r.IndiceColonna(o.colonna);
        valori << (i >= 0 ? r.Valore(riga, i) : QVariant());
    }
    return valori;
}

// Steps `sql` through SQLite's C API for at most `righe` rows, every
// column's text read; with `testi` the texts are kept, one list per row.
// Answers the time taken (ns).
inline qint64 PassiC(sqlite3 *db, const QByteArray &sql, int righe, std::vector<QStringList> *testi = nullptr)
{
    QElapsedTimer t;
    t.start();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        std::fprintf(stderr, "floor: %s\n  %s\n", sqlite3_errmsg(db), sql.constData());
    int n = 0;
    qint64 byte = 0;
    const int colonne = st ? sqlite3_column_count(st) : 0;
    while (st && n < righe && sqlite3_step(st) == SQLITE_ROW) {
        QStringList riga;
        for (int c = 0; c < colonne; ++c) {
            const char *testo = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
            byte += sqlite3_column_bytes(st, c);
            if (testi)
                riga << QString::fromUtf8(testo, sqlite3_column_bytes(st, c));
        }
        if (testi)
            testi->push_back(riga);
        ++n;
    }
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(byte);
    return t.nsecsElapsed();
}

// The same for SELECTs run through the ODBC C API, every row of each read.
inline qint64 PassiOdbc(letture_odbc::Connessione &odbc, const QStringList &istruzioni,
                        std::vector<QStringList> *testi = nullptr)
{
    QElapsedTimer t;
    t.start();
    qint64 byte = 0;
    for (const QString &sql : istruzioni)
        if (odbc.Leggi(sql, testi, byte) < 0)
            std::fprintf(stderr, "floor: %s\n", qPrintable(odbc.Errore()));
    benchmark::DoNotOptimize(byte);
    return t.nsecsElapsed();
}

} // namespace pavimenti_lista
