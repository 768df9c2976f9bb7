// Snapshots read as they move forward: moves back, counts, writes of this and
// other connections while one is open, closing, and the same values as a set
// read whole. The same tests run on PostgreSQL, where every set is read whole.
#include "ProvaMotori.h"
#include "components/db/ErroriDb.h"
#include "components/util/Currency.h"
#include "components/util/VbErrore.h"

#include <QDate>
#include <QSqlQuery>

namespace
{

int NumeroErrore(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VbErrore &e) {
        return e.numero();
    }
    return 0;
}

// A value as text that tells kinds apart, for comparing reads.
std::string Descrivi(const QVariant &v)
{
    if (!v.isValid())
        return "<vuoto>";
    if (v.metaType() == QMetaType::fromType<Currency>())
        return "Currency " + v.value<Currency>().toString(4).toStdString();
    return std::string(v.metaType().name()) + " " + v.toString().toStdString();
}

} // namespace

class Cursore : public ProvaMotori
{
  protected:
    // A read as text, an error (a key "050001" read as Integer overflows) as its number.
    std::string Lettura(const QString &h, const QString &campo, int tipo)
    {
        try {
            return Descrivi(rs->LeggiCampo(h, campo, tipo));
        } catch (const VbErrore &e) {
            return "errore " + std::to_string(e.numero());
        }
    }
    static inline const QString SqlConti =
        QStringLiteral("SELECT Conto, Descrizione FROM PianoConti WHERE Gruppo = '05' ORDER BY Conto");

    // Customers 0001..000n of group 05, described "Cliente 1".."Cliente n".
    void Conti(int n)
    {
        for (int i = 1; i <= n; ++i)
            Esegui(QStringLiteral("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) "
                                  "VALUES ('05', '10', '%1', 'Cliente %2')")
                       .arg(i, 4, 10, QChar('0'))
                       .arg(i));
    }
    QString Conto(const QString &h) { return rs->LeggiCampo(h, "Conto").toString(); }
    QString Descrizione(const QString &h) { return rs->LeggiCampo(h, "Descrizione").toString(); }

    // A second connection to the same database.
    void ApriDi(DbMotore &d)
    {
        if (Pg())
            d.ApriConnessione(C, connect);
        else
            d.ApriSqlite(C, cartella.filePath(QStringLiteral("azienda.db")));
    }
    std::unique_ptr<DbMotore> AltraConnessione()
    {
        auto altro = std::make_unique<DbMotore>();
        ApriDi(*altro);
        return altro;
    }
};

TEST_P(Cursore, ForwardThenBackAndJumps)
{
    Conti(5);
    const QString h = Apri(SqlConti);
    EXPECT_EQ(Conto(h), "0001");
    rs->MuoviPrimo(h); // already there
    EXPECT_EQ(Conto(h), "0001");
    rs->MuoviSuccessivo(h);
    rs->MuoviSuccessivo(h);
    EXPECT_EQ(Conto(h), "0003");
    EXPECT_EQ(rs->Posizione(h), 2);
    rs->MuoviPrecedente(h);
    EXPECT_EQ(Conto(h), "0002");
    EXPECT_EQ(Descrizione(h), "Cliente 2");
    EXPECT_EQ(rs->Posizione(h), 1);
    rs->MuoviUltimo(h);
    EXPECT_EQ(Conto(h), "0005");
    rs->MuoviPrimo(h);
    EXPECT_EQ(Conto(h), "0001");
    rs->ImpostaPosizione(h, 3);
    EXPECT_EQ(Conto(h), "0004");
    EXPECT_EQ(NumeroErrore([&] { rs->ImpostaPosizione(h, 5); }), 3001);
    EXPECT_EQ(Conto(h), "0004");

    // Past the last row and back again.
    const QString f = Apri(SqlConti);
    QStringList letti;
    for (; !rs->FineFile(f); rs->MuoviSuccessivo(f))
        letti << Conto(f);
    EXPECT_EQ(letti, (QStringList{"0001", "0002", "0003", "0004", "0005"}));
    EXPECT_TRUE(rs->NessunRecord(f));
    EXPECT_FALSE(rs->InizioFile(f));
    EXPECT_EQ(rs->Posizione(f), -1);
    EXPECT_EQ(NumeroErrore([&] { rs->MuoviSuccessivo(f); }), VbErrore::NessunRecordCorrente);
    EXPECT_EQ(NumeroErrore([&] { Conto(f); }), VbErrore::NessunRecordCorrente);
    rs->MuoviPrecedente(f);
    EXPECT_EQ(Conto(f), "0005");
    EXPECT_EQ(rs->NumRecord(f), 5);
}

TEST_P(Cursore, CountAfterPartialReadKeepsThePosition)
{
    Conti(6);
    const QString h = Apri(SqlConti);
    rs->MuoviSuccessivo(h);
    rs->MuoviSuccessivo(h);
    EXPECT_EQ(rs->NumRecord(h), 6);
    EXPECT_EQ(Conto(h), "0003");
    QStringList resto;
    for (; !rs->FineFile(h); rs->MuoviSuccessivo(h))
        resto << Conto(h);
    EXPECT_EQ(resto, (QStringList{"0003", "0004", "0005", "0006"}));
    // The rows handed out whole are every row, whatever the position.
    const QString g = Apri(SqlConti);
    rs->MuoviSuccessivo(g);
    const Risultato *r = rs->RecordsetDao(g);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->numRighe(), 6);
    EXPECT_EQ(r->valore(0, r->indice("Conto")).toString(), "0001");
    EXPECT_EQ(Conto(g), "0002");

    const QString vuoto = Apri("SELECT Conto FROM PianoConti WHERE Gruppo = 'zz'");
    EXPECT_TRUE(rs->FineDati(vuoto));
    EXPECT_TRUE(rs->InizioFile(vuoto));
    EXPECT_EQ(NumeroErrore([&] { rs->MuoviPrimo(vuoto); }), VbErrore::NessunRecordCorrente);
    EXPECT_EQ(rs->NumRecord(vuoto), 0);
}

TEST_P(Cursore, AnotherConnectionWritesWhileASnapshotIsOpen)
{
    Conti(4);
    const QString h = Apri(SqlConti);
    rs->MuoviSuccessivo(h);
    EXPECT_EQ(Conto(h), "0002");

    // The writer is neither blocked nor seen by the open snapshot.
    auto altro = AltraConnessione();
    EXPECT_EQ(altro->EseguiSql(C, "UPDATE PianoConti SET Descrizione = 'Cambiato' WHERE Conto = '0003'"), 1);
    altro->EseguiSql(
        C,
        "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) VALUES ('05', '10', '0009', 'Nuovo')");
    altro->EseguiSql(C, "DELETE FROM PianoConti WHERE Conto = '0004'");

    rs->MuoviSuccessivo(h);
    EXPECT_EQ(Descrizione(h), "Cliente 3");
    EXPECT_EQ(rs->NumRecord(h), 4);
    rs->MuoviUltimo(h);
    EXPECT_EQ(Conto(h), "0004");
    rs->MuoviPrecedente(h);
    EXPECT_EQ(Descrizione(h), "Cliente 3");

    rs->Riesegui(h);
    QStringList dopo;
    for (; !rs->FineFile(h); rs->MuoviSuccessivo(h))
        dopo << Descrizione(h);
    EXPECT_EQ(dopo, (QStringList{"Cliente 1", "Cliente 2", "Cambiato", "Nuovo"}));
}

TEST_P(Cursore, OwnWritesAndTransactionsDoNotChangeAnOpenSnapshot)
{
    Conti(4);
    const QString h = Apri(SqlConti);
    rs->MuoviSuccessivo(h);
    Esegui("UPDATE PianoConti SET Descrizione = 'Cambiato' WHERE Gruppo = '05'");
    Esegui("DELETE FROM PianoConti WHERE Conto = '0004'");
    rs->MuoviSuccessivo(h);
    EXPECT_EQ(Descrizione(h), "Cliente 3");
    rs->MuoviSuccessivo(h);
    EXPECT_EQ(Conto(h), "0004");
    rs->MuoviPrimo(h);
    EXPECT_EQ(Descrizione(h), "Cliente 1");

    // A snapshot read inside a transaction keeps what it read after a rollback.
    const QString t = Apri(SqlConti);
    db->IniziaTrans(C);
    Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) VALUES ('05', '10', '0008', "
           "'Provvisorio')");
    const QString dentro = Apri(SqlConti);
    rs->MuoviSuccessivo(dentro);
    db->AnnullaTrans(C);
    QStringList letti;
    for (; !rs->FineFile(dentro); rs->MuoviSuccessivo(dentro))
        letti << Conto(dentro);
    EXPECT_EQ(letti, (QStringList{"0002", "0003", "0008"}));
    EXPECT_EQ(rs->NumRecord(t), 3);
    EXPECT_EQ(rs->NumRecord(Apri(SqlConti)), 3);
}

TEST_P(Cursore, ClosingWhilePositioned)
{
    Conti(3);
    const QString h = Apri(SqlConti);
    rs->MuoviSuccessivo(h);
    rs->ChiudiRec(h);
    EXPECT_FALSE(rs->Esiste(h));
    EXPECT_EQ(NumeroErrore([&] { Conto(h); }), ErroriDb::ElementoNonTrovato);
    // Nothing is left holding the database: another connection writes and,
    // on SQLite, folds the whole log back into the file.
    auto altro = AltraConnessione();
    altro->EseguiSql(C, "DELETE FROM PianoConti WHERE Conto = '0001'");
    if (!Pg()) {
        const auto punto = altro->Seleziona(C, "PRAGMA wal_checkpoint(TRUNCATE)");
        ASSERT_EQ(punto->numRighe(), 1);
        EXPECT_EQ(punto->valore(0, 0).toInt(), 0) << "checkpoint blocked";
    }

    // The connection closes under a set that is still being read: the set keeps its rows.
    const QString g = Apri(SqlConti);
    EXPECT_EQ(Conto(g), "0002");
    db->ChiudiConnessione(C);
    rs->MuoviSuccessivo(g);
    EXPECT_EQ(Conto(g), "0003");
    EXPECT_EQ(rs->NumRecord(g), 2);

    // The data-access object goes before the record sets.
    ApriDi(*db);
    const QString k = Apri(SqlConti);
    db.reset();
    EXPECT_EQ(Conto(k), "0002");
    rs->MuoviSuccessivo(k);
    EXPECT_EQ(Conto(k), "0003");
    rs.reset();
}

TEST_P(Cursore, JoinedTablesShareNamesRowAfterRow)
{
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('IT', 'Italia')");
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('FR', 'Francia')");
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('DE', 'Germania')");
    Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione, Stato, StatoNascita) "
           "VALUES ('05', '10', '0001', 'Rossi', 'IT', 'FR')");
    Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione, Stato, StatoNascita) "
           "VALUES ('05', '10', '0002', 'Weber', 'DE', NULL)");
    const QString h =
        Apri("SELECT PianoConti.*, Stati.*, Sta1.Descrizione FROM ((PianoConti"
             " LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato)"
             " LEFT JOIN Stati AS Sta1 ON PianoConti.StatoNascita = Sta1.Stato) ORDER BY Conto");
    struct Attesa {
        const char *pdc, *stato, *nascita;
    };
    for (const Attesa &a : {Attesa{"Rossi", "Italia", "Francia"}, Attesa{"Weber", "Germania", ""}}) {
        ASSERT_FALSE(rs->FineFile(h));
        EXPECT_EQ(rs->LeggiCampo(h, "PianoConti.Descrizione").toString(), a.pdc);
        EXPECT_EQ(rs->LeggiCampo(h, "Descrizione").toString(), a.pdc);
        EXPECT_EQ(rs->LeggiCampo(h, "Stati.Descrizione").toString(), a.stato);
        EXPECT_EQ(rs->LeggiCampo(h, "Sta1.Descrizione", 8).toString(), a.nascita);
        rs->MuoviSuccessivo(h);
    }
    EXPECT_TRUE(rs->FineFile(h));
}

// Names built anew for every read (as "Descrizione" passed as text is) must
// find their own column, however the memory of earlier names is reused.
TEST_P(Cursore, NamesBuiltForEveryRead)
{
    Conti(2);
    const QString h = Apri("SELECT Gruppo, Mastro, Conto, Descrizione FROM PianoConti ORDER BY Conto");
    const char *nomi[] = {"Gruppo", "Mastro", "Conto", "Descrizione", "Inesist", "gruppo"};
    const char *attesi[] = {"05", "10", "0001", "Cliente 1", "", "05"};
    for (int volta = 0; volta < 200; ++volta) {
        const int k = (volta * 7) % 6;
        EXPECT_EQ(rs->LeggiCampo(h, QString::fromLatin1(nomi[k]), 8).toString(), attesi[k]) << nomi[k];
    }
}

TEST_P(Cursore, SameValuesAsASetReadWhole)
{
    Esegui("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione, DataRicAE, "
           "NrDichIntenti,"
           " ImportoDichIntenti) VALUES ('05', '10', '0001', 1, 'Lettera', #3/15/2024#, 42, 12345.6789)");
    Esegui("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti) VALUES ('05', '10', '0001', 2)");
    Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Provv1) VALUES ('05', '10', '0001', 2.5)");
    const QString sql =
        "SELECT PdcDicIntenti.*, PianoConti.Provv1, PdcDicIntenti.Gruppo & PdcDicIntenti.Conto AS Chiave,"
        " PdcDicIntenti.NrDichIntenti * 2 AS Doppio FROM PdcDicIntenti LEFT JOIN PianoConti ON"
        " PdcDicIntenti.Conto = PianoConti.Conto ORDER BY PdcDicIntenti.PdcDicIntenti";
    const QString snap = Apri(sql);
    const QString intero = Apri(sql, RecDat::TipoDinamico); // every row read at once
    const QStringList campi{"Descrizione", "DataRicAE", "NrDichIntenti",   "ImportoDichIntenti", "Provv1",
                            "Chiave",      "Doppio",    "DataDichIntenti", "PdcDicIntenti"};
    for (int riga = 0; riga < 2; ++riga) {
        for (const QString &campo : campi)
            for (int tipo : {0, 2, 3, 5, 6, 7, 8, 11})
                EXPECT_EQ(Lettura(snap, campo, tipo), Lettura(intero, campo, tipo))
                    << "riga " << riga << " " << campo.toStdString() << " tipo " << tipo;
        rs->MuoviSuccessivo(snap);
        rs->MuoviSuccessivo(intero);
    }
    rs->MuoviPrimo(snap);
    EXPECT_EQ(rs->LeggiCampo(snap, "DataRicAE").toDate(), QDate(2024, 3, 15));
    EXPECT_EQ(rs->LeggiCampo(snap, "ImportoDichIntenti").value<Currency>().toString(4), "12345.6789");
}

TEST_P(Cursore, OnlySqliteSelectsOfTheOwnDatabaseAreStepped)
{
    Conti(3);
    std::unique_ptr<CursoreSqlite> cur;
    auto r = db->SelezionaCursore(C, SqlConti, cur);
    if (Pg()) {
        EXPECT_EQ(cur, nullptr);
        EXPECT_EQ(r->numRighe(), 3);
        return;
    }
    ASSERT_NE(cur, nullptr);
    EXPECT_EQ(r->numRighe(), 0);
    ASSERT_TRUE(cur->Avanza());
    EXPECT_EQ(cur->Valore(r->indice("Conto")).toString(), "0001");
    // Writing on the connection first reads the rows into memory.
    Esegui("DELETE FROM PianoConti");
    EXPECT_TRUE(cur->Completo());
    EXPECT_EQ(r->numRighe(), 3);
    cur.reset();

    QTemporaryDir altra;
    DbMotore menu;
    menu.ApriSqlite("Menu", altra.filePath("menu.db"), true);
    menu.EseguiSql("Menu", "CREATE TABLE TabStati (Stato TEXT, Descrizione TEXT)");
    menu.EseguiSql("Menu", "INSERT INTO TabStati VALUES ('IT', 'Italia')");
    db->AllegaDatabase(C, altra.filePath("menu.db"), "menu");
    auto m = db->SelezionaCursore(C, "SELECT Stato FROM menu.TabStati", cur);
    EXPECT_EQ(cur, nullptr);
    EXPECT_EQ(m->numRighe(), 1);
}

INSTANTIATE_TEST_SUITE_P(Motori, Cursore, ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL),
                         NomeMotore);

// A file another program holds open without the write-ahead log keeps its
// journal: its snapshots are read whole at once and hold nothing open.
TEST(CursoreGiornale, FileHeldWithoutTheLogIsReadWhole)
{
    QTemporaryDir cartella;
    const QString percorso = cartella.filePath("vecchio.db");
    {
        QSqlDatabase altro = QSqlDatabase::addDatabase("QSQLITE", "programma-vecchio");
        altro.setDatabaseName(percorso);
        ASSERT_TRUE(altro.open());
        QSqlQuery crea(altro);
        ASSERT_TRUE(crea.exec("CREATE TABLE Stati (Stato TEXT, Descrizione TEXT)"));
        ASSERT_TRUE(crea.exec("INSERT INTO Stati VALUES ('IT', 'Italia'), ('FR', 'Francia')"));
        QSqlQuery lettura(altro);
        lettura.setForwardOnly(true);
        ASSERT_TRUE(lettura.exec("SELECT Stato FROM Stati"));
        ASSERT_TRUE(lettura.next()); // a read held open by the other program

        DbMotore db;
        db.ApriSqlite("Vecchio", percorso);
        std::unique_ptr<CursoreSqlite> cur;
        const auto r =
            db.SelezionaCursore("Vecchio", "SELECT Stato, Descrizione FROM Stati ORDER BY Stato", cur);
        EXPECT_EQ(cur, nullptr);
        ASSERT_EQ(r->numRighe(), 2);
        EXPECT_EQ(r->valore(1, 1).toString(), "Italia");
        RecDat rs;
        const QString h = rs.ApriRec(&db, "Vecchio", QString(), "SELECT Stato FROM Stati ORDER BY Stato");
        rs.MuoviSuccessivo(h);
        EXPECT_EQ(rs.LeggiCampo(h, "Stato").toString(), "IT");
        lettura.finish();
        altro.close();
    }
    QSqlDatabase::removeDatabase("programma-vecchio");
}
