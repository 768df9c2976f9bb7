// RecDat: the record-set object. One object holds several record sets side by
// side, each known by the text handle ApriRec returns; all close when the
// object is destroyed. A record set is a snapshot of its rows, moves like a
// DAO record set (BOF/EOF, error 3021 past either end) and, when opened
// updatable on one table, writes the current row back by its key. A read-only
// snapshot on SQLite is read as it moves forward and only taken into memory
// when it moves back, jumps, is counted or handed out whole.
#pragma once

#include "components/db/Risultato.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>

class DbMotore;

class RecDat
{
  public:
    // Open types: 2 updatable and scrollable (a dynaset), 4 read-only snapshot.
    static constexpr int TipoDinamico = 2;
    static constexpr int TipoSnapshot = 4;
    // Option: SQL pass-through (the text is still translated for our engines).
    static constexpr int OpzPassThrough = 64;
    // Edit states of ModoModifica.
    static constexpr int ModoNessuno = 0, ModoModifica_ = 1, ModoNuovo = 2;
    // Move codes of Muovi: first, last, next, previous.
    static constexpr int MuoviPrimoCod = 0, MuoviUltimoCod = 1, MuoviSuccessivoCod = 2,
                         MuoviPrecedenteCod = 3;

    // What a column looks like, as grids ask for it (DAO field Name, Type, Size).
    struct InfoCampo {
        QString Name;
        int Type = 10; // DAO type: 1 Boolean, 3 Integer, 4 Long, 5 Currency, 7 Double, 8 Date, 10 Text
        int Size = 0;
    };

    RecDat();
    ~RecDat();
    RecDat(const RecDat &) = delete;
    RecDat &operator=(const RecDat &) = delete;

    // Opens `sql` on connection `conn` of `db` and answers its handle: `nome`
    // when given (a record set already open under it is replaced), else a new
    // one. `riservato` is accepted and has no effect. The first row is current.
    QString ApriRec(DbMotore *db, const QString &conn, const QString &nome, const QString &sql,
                    bool riservato = false, int tipo = TipoSnapshot, int opzioni = 0);
    // Re-opens the record set with another SELECT (and open type).
    void Riapri(const QString &h, const QString &sql, int tipo = TipoDinamico);
    // Re-runs its SELECT; the first row becomes current.
    void Riesegui(const QString &h);
    // Closes one record set; closing one that is not open does nothing.
    void ChiudiRec(const QString &h);
    void ChiudiTutti();
    bool Esiste(const QString &h) const;

    // Position
    bool FineDati(const QString &h) const;     // the record set has no row at all
    bool FineFile(const QString &h) const;     // past the last row (EOF)
    bool InizioFile(const QString &h) const;   // before the first row (BOF)
    bool NessunRecord(const QString &h) const; // no current row (BOF, EOF or deleted)
    int NumRecord(const QString &h) const;
    // Zero-based position of the current row, -1 when there is none.
    int Posizione(const QString &h) const;
    // Makes row `pos` current; error 3001 when out of range.
    void ImpostaPosizione(const QString &h, int pos);

    // Moves: a move past either end is error 3021, and any pending edit is dropped.
    void MuoviPrimo(const QString &h);
    void MuoviUltimo(const QString &h);
    void MuoviSuccessivo(const QString &h);
    void MuoviPrecedente(const QString &h);
    void Muovi(const QString &h, int codice); // codes 0..3 above; others do nothing
    // The row last added (or last updated) becomes current.
    void MuoviNuovo(const QString &h);

    // Edits of an updatable record set (3027 on a read-only one; 3021 with no
    // current row; 3020 for an update with no edit pending).
    void ModificaRec(const QString &h);
    void AggiungiRec(const QString &h);
    void AggiornaRec(const QString &h); // 3022 on a duplicate key
    // Deletes the current row while it holds what the set read: 3197 when
    // another user changed it since, 3167 when it is gone already.
    void EliminaRec(const QString &h);
    void AnnullaModifica(const QString &h);
    int ModoModifica(const QString &h) const;
    // Sets a field of the row being edited; the value is converted to the
    // column's kind (3421 when it does not convert, 3265 for an unknown field).
    void ScriviCampo(const QString &h, const QString &campo, const QVariant &valore);

    // Value of a column of the current row, by "Table.Field" or bare name. A
    // column the SELECT does not carry reads as empty (an invalid QVariant).
    // `tipo` asks for a VB kind: 2 Integer, 3 Long, 4 Single, 5 Double,
    // 6 Currency (numbers: Null reads 0, amounts as exact decimal text), 7 Date,
    // 8 String (Null reads ""), 11 Boolean. No current row is error 3021.
    QVariant LeggiCampo(const QString &h, const QString &campo, int tipo = 0,
                        const QVariant &riservato = QVariant(), bool riservato2 = false) const;
    // What LeggiCampo gives for the value `v` of `colonna` (nullptr: a column
    // the SELECT does not carry) read with the kind `tipo`.
    static QVariant ComeTipo(const QVariant &v, int tipo, const Risultato::Colonna *colonna);
    // Value by column index or by name.
    QVariant ValoreCampoIdx(const QString &h, const QVariant &campo) const;
    int NumCampi(const QString &h) const;
    InfoCampo CampoDao(const QString &h, const QVariant &campo) const;
    int LunghezzaCampo(const QString &h, const QVariant &campo) const;
    // The rows behind a handle, for grids and lists that show them.
    const Risultato *RecordsetDao(const QString &h) const;
    QString SqlRec(const QString &h) const;

  private:
    struct Insieme;
    Insieme &ins(const QString &h) const;
    Insieme *cerca(const QString &h) const;
    void dimenticaUltimo() const { m_ultimo = nullptr; }
    void carica(Insieme &s);
    void richiediCorrente(const Insieme &s) const;
    void richiediAggiornabile(const Insieme &s) const;

    QHash<QString, std::shared_ptr<Insieme>> m_insiemi; // by lower-case handle
    int m_contatore = 0;
    // The set last looked up: programs read many fields of one set in a row.
    mutable QString m_ultimoH;
    mutable Insieme *m_ultimo = nullptr;
};
