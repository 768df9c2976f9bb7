// Two desks on one database, on both engines: a row written back from an
// earlier read is refused when another desk changed what it writes, and a
// write behind another desk's lock waits for it, then saves or is refused.
#include "ProvaMotori.h"

#include "components/db/ErroriDb.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QThread>
#include <atomic>
#include <functional>
#include <sqlite3.h>
#include <thread>

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

const QString kLettere = QStringLiteral("SELECT Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione, "
                                        "ImportoDichIntenti, DataDAIntenti FROM PdcDicIntenti");

// The busy handler a test puts on an SQLite connection: it says that the
// connection is waiting, then waits as the engine's own timeout would.
int InAttesa(void *fase, int volte)
{
    static_cast<std::atomic<int> *>(fase)->store(2);
    sqlite3_sleep(5);
    return volte < 4000 ? 1 : 0;
}

} // namespace

class DueUtenti : public ProvaMotori
{
  protected:
    void SetUp() override
    {
        ProvaMotori::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Esegui(
            QStringLiteral("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione, "
                           "ImportoDichIntenti, DataDAIntenti) VALUES ('01','05','0001',1,'Lettera',1500.5,"
                           "#03/01/2024#)"));
        altro = ApriAltro();
    }
    void TearDown() override
    {
        altro.reset();
        ProvaMotori::TearDown();
    }
    // Another desk: an engine of its own on the same database.
    std::unique_ptr<DbMotore> ApriAltro() const
    {
        auto d = std::make_unique<DbMotore>();
        if (Pg())
            d->ApriConnessione(C, connect);
        else
            d->ApriSqlite(C, cartella.filePath(QStringLiteral("azienda.db")));
        return d;
    }
    QString Valore(const QString &colonna)
    {
        RecDat r;
        const QString h = r.ApriRec(db.get(), C, {}, kLettere);
        return r.LeggiCampo(h, colonna, 8).toString();
    }
    std::unique_ptr<DbMotore> altro;
};

TEST_P(DueUtenti, ARowChangedSinceItWasReadIsNeverOverwritten)
{
    RecDat a, b;
    const QString ha = a.ApriRec(db.get(), C, {}, kLettere, false, RecDat::TipoDinamico);
    const QString hb = b.ApriRec(altro.get(), C, {}, kLettere, false, RecDat::TipoDinamico);

    // A changes only the case: for B a change all the same.
    a.ModificaRec(ha);
    a.ScriviCampo(ha, QStringLiteral("Descrizione"), QStringLiteral("LETTERA"));
    a.AggiornaRec(ha);
    b.ModificaRec(hb);
    b.ScriviCampo(hb, QStringLiteral("Descrizione"), QStringLiteral("Lettera di B"));
    EXPECT_EQ(NumeroErrore([&] { b.AggiornaRec(hb); }), ErroriDb::RecordModificato);
    EXPECT_EQ(Valore(QStringLiteral("Descrizione")), QStringLiteral("LETTERA"));

    // Columns A did not write are B's to change: the amount and the date as
    // read compare exactly with the stored ones.
    b.ModificaRec(hb);
    b.ScriviCampo(hb, QStringLiteral("ImportoDichIntenti"), QStringLiteral("2000"));
    b.ScriviCampo(hb, QStringLiteral("DataDAIntenti"), QDate(2024, 4, 1));
    EXPECT_NO_THROW(b.AggiornaRec(hb));
    EXPECT_EQ(Valore(QStringLiteral("Descrizione")), QStringLiteral("LETTERA"));
    EXPECT_EQ(Valore(QStringLiteral("DataDAIntenti")), QStringLiteral("01/04/2024"));

    // A line deleted by one desk is not there for the other's edit (B
    // deletes the line as it is now, A's change read).
    a.ModificaRec(ha);
    a.ScriviCampo(ha, QStringLiteral("Descrizione"), QStringLiteral("Di A"));
    b.Riesegui(hb);
    b.EliminaRec(hb);
    EXPECT_EQ(NumeroErrore([&] { a.AggiornaRec(ha); }), 3167);
}

// A delete compares every column the set read, of every kind: a change of
// any one by another desk keeps the row (3197); read again, it goes.
TEST_P(DueUtenti, ARowIsDeletedOnlyAsItWasRead)
{
    const char *modifiche[] = {"Descrizione = 'LETTERA'", "DataDAIntenti = Null",
                               "ImportoDichIntenti = 1500.51", "DataDAIntenti = #03/02/2024#"};
    auto righe = [&] { return rs->NumRecord(Apri(QStringLiteral("SELECT * FROM PdcDicIntenti"))); };
    for (const char *modifica : modifiche) {
        RecDat b;
        const QString hb = b.ApriRec(db.get(), C, {}, kLettere, false, RecDat::TipoDinamico);
        altro->EseguiSql(C, QStringLiteral("UPDATE PdcDicIntenti SET ") + QString::fromLatin1(modifica));
        EXPECT_EQ(NumeroErrore([&] { b.EliminaRec(hb); }), ErroriDb::RecordModificato) << modifica;
        EXPECT_EQ(righe(), 1) << modifica;
    }
    RecDat b;
    const QString hb = b.ApriRec(db.get(), C, {}, kLettere, false, RecDat::TipoDinamico);
    EXPECT_NO_THROW(b.EliminaRec(hb));
    EXPECT_EQ(righe(), 0);
    // Gone meanwhile: the other set says the record was deleted.
    Esegui(QStringLiteral("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione) "
                          "VALUES ('01','05','0001',1,'Lettera')"));
    RecDat a;
    const QString ha = a.ApriRec(db.get(), C, {}, kLettere, false, RecDat::TipoDinamico);
    altro->EseguiSql(C, QStringLiteral("DELETE FROM PdcDicIntenti"));
    EXPECT_EQ(NumeroErrore([&] { a.EliminaRec(ha); }), 3167);
}

TEST_P(DueUtenti, AWriteBehindAHeldLockIsRefusedWhenTheLockStays)
{
    db->ImpostaAttesaBlocco(C, 200);
    altro->IniziaTrans(C);
    altro->EseguiSql(C, QStringLiteral("UPDATE PdcDicIntenti SET Descrizione = 'Altro'"));
    // SQLite refuses as the transaction begins, PostgreSQL at the row.
    QString testo;
    int numero = 0;
    try {
        db->IniziaTrans(C);
        db->EseguiSql(C, QStringLiteral("UPDATE PdcDicIntenti SET Descrizione = 'Mio'"));
    } catch (const VbErrore &e) {
        numero = e.numero();
        testo = e.descrizione();
    }
    EXPECT_EQ(numero, ErroriDb::RecordBloccato);
    EXPECT_TRUE(
        testo.startsWith(QStringLiteral("Impossibile aggiornare: i dati sono in uso su un'altra postazione")))
        << testo.toStdString();
    if (db->LivelloTrans(C) > 0)
        db->AnnullaTrans(C);
    altro->AnnullaTrans(C);
    EXPECT_EQ(Valore(QStringLiteral("Descrizione")), QStringLiteral("Lettera"));
}

TEST_P(DueUtenti, AWriteBehindAHeldLockSavesOnceTheLockGoes)
{
    altro.reset();
    // 1: the other desk holds the lock; 2: this desk is seen waiting for it.
    std::atomic<int> fase{0};
    std::atomic<bool> fine{false};
    if (!Pg())
        sqlite3_busy_handler(*static_cast<sqlite3 *const *>(db->DatabaseDao(C).driver()->handle().data()),
                             InAttesa, &fase);
    else
        db->ImpostaAttesaBlocco(C, 60000);
    // This desk's own server process: another test's lock wait on the same
    // server must not be taken for this desk's.
    int processo = 0;
    if (Pg()) {
        QSqlQuery q(db->DatabaseDao(C));
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT pg_backend_pid()")) && q.next());
        processo = q.value(0).toInt();
    }
    std::thread desk([&] {
        auto d = ApriAltro();
        d->IniziaTrans(C);
        d->EseguiSql(C, QStringLiteral("UPDATE PdcDicIntenti SET Descrizione = 'Altro'"));
        fase = 1;
        QSqlQuery spia(d->DatabaseDao(C));
        for (int i = 0; i < 6000 && fase != 2 && !fine; ++i) {
            QThread::msleep(10);
            if (Pg() &&
                spia.exec(QStringLiteral("SELECT count(*) FROM pg_locks WHERE NOT granted AND pid = %1")
                              .arg(processo)) &&
                spia.next() && spia.value(0).toInt() > 0)
                fase = 2;
        }
        d->ConfermaTrans(C);
    });
    while (fase == 0)
        QThread::msleep(5);
    // The save reads before it writes (as a history row or a new code's
    // check does). On SQLite the transaction waits as it begins, so that
    // what it reads still holds when it writes; on PostgreSQL the write waits
    // for the row.
    try {
        db->IniziaTrans(C);
        EXPECT_EQ(Valore(QStringLiteral("Descrizione")),
                  Pg() ? QStringLiteral("Lettera") : QStringLiteral("Altro"));
        db->EseguiSql(C, QStringLiteral("UPDATE PdcDicIntenti SET Descrizione = 'Mio'"));
        db->ConfermaTrans(C);
    } catch (const VbErrore &e) {
        ADD_FAILURE() << e.descrizione().toStdString();
    }
    fine = true;
    desk.join();
    EXPECT_EQ(fase, 2);
    EXPECT_EQ(Valore(QStringLiteral("Descrizione")), QStringLiteral("Mio"));
}

INSTANTIATE_TEST_SUITE_P(Motori, DueUtenti, ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL),
                         NomeMotore);
