// Two desks on one customer, on SQLite and on PostgreSQL: a delete from a
// screen another desk made stale deletes nothing (the customer with its rows,
// or a document line), a customer or line another desk deleted is said as
// such and does not come back, the wait for another desk's lock is shown,
// and a generated code another desk took is said and replaced.
#include "ClientiPostgres.h"
#include "DueScrivanie.h"
#include "GuardiaCommit.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/linee/GestLinee.h"

#include <QAbstractItemModel>
#include <QGuiApplication>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <numeric>

template <class Base> class Cancella : public DueScrivanie<Base>
{
  protected:
    void SetUp() override
    {
        DueScrivanie<Base>::SetUp();
        if (!this->IsSkipped() && !this->HasFatalFailure())
            this->LeggiCancellabile();
    }
    bool Comando(const QString &chiave, std::initializer_list<int> risposte = {})
    {
        for (int r : risposte)
            this->Rispondi(r);
        const bool ok = this->pag()->EseguiComando(chiave).toBool();
        this->Attendi();
        return ok;
    }
    // The first line of the documents grid as the messages name it.
    QString Riga()
    {
        return QStringLiteral("La riga 1 (Documenti - %1 %2)")
            .arg(this->txt(30)->text(), this->Memorizzato(QStringLiteral("Descrizione")));
    }
    // The documents grid on its page.
    GestLinee *Griglia()
    {
        this->m_form->SelezionaTab(8);
        this->Attendi();
        return this->m_form->GestLin(0);
    }
    void SuRiga(int riga)
    {
        QTableView *v = this->m_form->dbgRiga(0);
        v->setCurrentIndex(v->model()->index(riga, Griglia()->IndiceColonna(QStringLiteral("Descrizione"))));
    }
    void ComandoRiga(int riga, const QString &chiave, std::initializer_list<int> risposte = {})
    {
        SuRiga(riga);
        for (int r : risposte)
            this->Rispondi(r);
        this->m_form->ButtonComandoLin(*Griglia(), chiave);
        this->Attendi();
    }
    QString Mostrata(int riga)
    {
        return this->m_form->dbgRiga(0)
            ->model()
            ->index(riga, Griglia()->IndiceColonna("Descrizione"))
            .data()
            .toString();
    }
    void AltroDocumento(const QString &sql)
    {
        this->m_altro.EseguiSql(Globali::DbAzienda, sql + this->m_dove + QStringLiteral(" And Ordine = 10"));
    }
};

using Motori = ::testing::Types<BancoClienti, ClientiPostgres>;
TYPED_TEST_SUITE(Cancella, Motori);

TYPED_TEST(Cancella, ADeleteOverAnotherDesksChangeDeletesNothingAndOffersTheChoice)
{
    const QString indirizzo = this->Memorizzato(QStringLiteral("Indirizzo")),
                  mio = QStringLiteral("Via Mia 1");
    const char *tabelle[] = {"PianoConti", "IndSped", "PianoContiDoc", "PdcDicIntenti", "PdcStorico"};
    auto conteggi = [&] {
        QList<int> n;
        for (const char *t : tabelle)
            n << this->Righe(QString::fromLatin1(t));
        return n;
    };
    // "Continua" keeps the typing over the stored row, "Rileggi" drops it.
    for (int risposta : {2, 1}) {
        const QList<int> prima = conteggi();
        const QString cliente = this->Cliente(), telefono = QStringLiteral("02 70000%1").arg(risposta);
        this->txt(1010)->setText(mio);
        this->Altro(QStringLiteral("Telefono = '%1'").arg(telefono));
        this->DimenticaMessaggi();
        EXPECT_FALSE(this->Comando(QStringLiteral("Cancella"), {1, risposta}));
        const auto detti = RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom);
        ASSERT_EQ(detti.size(), 2) << this->Messaggi().join('|').toStdString();
        EXPECT_TRUE(detti[1].value("testo").toString().startsWith(
            cliente +
            QStringLiteral(" è stato modificato da un'altra postazione dopo essere stato letto qui e "
                           "non è stato cancellato.")))
            << this->Messaggi().join('|').toStdString();
        EXPECT_EQ(detti[1].value("pulsanti").toStringList(), QStringList({"&Rileggi", "&Continua"}));
        EXPECT_EQ(conteggi(), prima); // the rows deleted with the customer included
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
        EXPECT_EQ(this->txt(1060)->text(), telefono);
        EXPECT_EQ(this->txt(1010)->text(), risposta == 1 ? indirizzo : mio);
    }
    // Seen as it is now, the customer goes with its rows.
    EXPECT_TRUE(this->Comando(QStringLiteral("Cancella"), {1})) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(conteggi(), QList<int>({0, 0, 0, 0, 0}));
}

TYPED_TEST(Cancella, ACustomerAnotherDeskDeletedIsNamedAndTheWayOnSaid)
{
    const QString conto = this->txt(30)->text(), cliente = this->Cliente();
    const QString eliminato = QStringLiteral("Delete From PianoConti") + this->m_dove;
    this->m_altro.EseguiSql(Globali::DbAzienda, eliminato);
    // A save keeps the edits and says how to register them again.
    this->txt(1060)->setText(QStringLiteral("06 123456"));
    EXPECT_FALSE(this->Salva());
    QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[0].startsWith(
        cliente +
        QStringLiteral(" è stato cancellato da un'altra postazione: le modifiche non sono state salvate "
                       "e restano nella finestra. Per registrarlo di nuovo premere \"Duplica\", "
                       "indicare il codice e salvare; altrimenti chiudere la finestra.\nDettaglio: "
                       "errore 3021, ")))
        << detti[0].toStdString();
    ASSERT_TRUE(this->Comando(QStringLiteral("Duplica")));
    this->txt(30)->setText(conto);
    EXPECT_TRUE(this->Comando(QStringLiteral("Salva"), {1})) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Telefono")), QStringLiteral("06 123456"));

    // A delete finds it gone already, and the form lets it go.
    this->m_altro.EseguiSql(Globali::DbAzienda, eliminato);
    this->DimenticaMessaggi();
    EXPECT_FALSE(this->Comando(QStringLiteral("Cancella"), {1}));
    detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
    EXPECT_TRUE(
        detti[1].startsWith(cliente + QStringLiteral(" era già stato cancellato da un'altra postazione.")))
        << detti[1].toStdString();
    EXPECT_EQ(this->pag()->StatoPagina(), GestPagine::StatoNuovo);
}

TYPED_TEST(Cancella, ALineAnotherDeskChangedIsNotDeleted)
{
    ASSERT_EQ(this->Griglia()->NumeroRighe(), 2);
    this->AltroDocumento(QStringLiteral("Update PianoContiDoc Set Descrizione = 'Cambiato'"));
    this->ComandoRiga(0, QStringLiteral("Cancella"), {1, 1});
    const QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
    EXPECT_TRUE(StileConflitto(detti[1],
                               this->Riga() + QStringLiteral(" è stata modificata da un'altra postazione"),
                               3197, QStringLiteral("non è stata cancellata")));
    EXPECT_EQ(this->Righe(QStringLiteral("PianoContiDoc")), 2);
    EXPECT_EQ(this->Mostrata(0), QStringLiteral("Cambiato"));
    // Seen as it is now, the line goes.
    this->ComandoRiga(0, QStringLiteral("Cancella"), {1});
    EXPECT_EQ(this->Righe(QStringLiteral("PianoContiDoc")), 1);
}

TYPED_TEST(Cancella, ALineAnotherDeskDeletedLeavesTheGridAndTheOtherLinesStay)
{
    const struct {
        const char *comando;
        QString detto;
    } casi[] = {
        {"Salva", QStringLiteral(" è stata cancellata da un'altra postazione e le modifiche fatte qui non "
                                 "sono state salvate: la griglia mostra ora le righe come sono salvate.")},
        {"Cancella", QStringLiteral(" era già stata cancellata da un'altra postazione: la griglia mostra "
                                    "ora le righe come sono salvate.")},
    };
    for (const auto &c : casi) {
        this->LeggiCancellabile();
        ASSERT_EQ(this->Griglia()->NumeroRighe(), 2);
        this->SuRiga(0);
        this->Griglia()->ImpostaValoreCella(QStringLiteral("Descrizione"), QStringLiteral("Mia modifica"));
        this->AltroDocumento(QStringLiteral("Delete From PianoContiDoc"));
        this->ComandoRiga(0, QString::fromLatin1(c.comando), {1});
        const QStringList detti = this->Messaggi();
        EXPECT_TRUE(detti.value(detti.size() - 1)
                        .startsWith(this->Riga() + c.detto + QStringLiteral("\nDettaglio: errore 3167")))
            << detti.join('|').toStdString();
        ASSERT_EQ(this->Griglia()->NumeroRighe(), 1);
        EXPECT_EQ(this->Mostrata(0), QStringLiteral("Documento 20"));
        EXPECT_FALSE(this->Griglia()->DatiModificati());
        EXPECT_EQ(this->Righe(QStringLiteral("PianoContiDoc")), 1);
    }
}

// The transaction and the customer's lock may wait for another desk: the
// statement after the wait runs with the busy cursor, once the window could
// repaint what the question left; nothing of the cursor stays afterwards.
TYPED_TEST(Cancella, WorkThatMayWaitForAnotherDeskShowsTheBusyCursor)
{
    struct Dipinti : QObject {
        int n = 0;
        bool eventFilter(QObject *, QEvent *e) override { return (n += e->type() == QEvent::Paint, false); }
    } dipinti;
    this->m_form->installEventFilter(&dipinti);
    const struct {
        const char *comando;
        int campo; // a new name, archived
        int risposta;
    } casi[] = {{"Salva", 50, 2}, {"Cancella", 0, 1}};
    for (const auto &c : casi) {
        QList<int> cursori;
        Globali::DbComp()->ImpostaOsservatoreSelect([&](const QString &) {
            if (Globali::DbComp()->LivelloTrans(Globali::DbAzienda) > 0)
                cursori << (QGuiApplication::overrideCursor() && dipinti.n
                                ? QGuiApplication::overrideCursor()->shape()
                                : -1);
        });
        if (c.campo)
            this->txt(c.campo)->setText(QStringLiteral("Nome Nuovo Srl"));
        dipinti.n = 0;
        this->m_form->update();
        EXPECT_TRUE(this->Comando(QString::fromLatin1(c.comando), {c.risposta}));
        Globali::DbComp()->ImpostaOsservatoreSelect({});
        EXPECT_EQ(cursori.value(0, -2), Qt::WaitCursor) << c.comando;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    this->m_form->removeEventFilter(&dipinti);
}

TYPED_TEST(Cancella, AGeneratedCodeAnotherDeskTookIsSaidAndReplacedByTheNext)
{
    const QString dove = QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'");
    const QString gruppo = this->txt(10)->text(), mastro = this->txt(20)->text();
    ASSERT_TRUE(this->Comando(QStringLiteral("Duplica")));
    this->m_form->ComCreaKey->click();
    const QString codice = this->txt(30)->text();
    this->txt(40)->setText(QStringLiteral("Nuovo Cliente Srl"));
    // The other desk generated the same code and saved first.
    this->m_altro.EseguiSql(
        Globali::DbAzienda,
        QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) Values "
                       "('%1', '%2', '%3', '3', 'Altro Srl')")
            .arg(gruppo, mastro, codice));
    this->DimenticaMessaggi();
    EXPECT_FALSE(this->Comando(QStringLiteral("Salva"), {1}));
    EXPECT_TRUE(this->Messaggi().value(0).startsWith(
        QStringLiteral(
            "Il codice %1 è stato assegnato nel frattempo da un'altra postazione: i dati non sono stati "
            "salvati e restano nella finestra; svuotare \"Conto\" e premere \"Genera codice\" per averne "
            "uno nuovo e salvare di nuovo.")
            .arg(codice)))
        << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->txt(40)->text(), QStringLiteral("Nuovo Cliente Srl"));
    // Over the whole code the button does nothing; with "Conto" emptied as
    // told, it gives the next free code and the save goes through.
    this->m_form->ComCreaKey->click();
    EXPECT_EQ(this->txt(30)->text(), codice);
    this->txt(30)->clear();
    this->m_form->ComCreaKey->click();
    const QString nuovo = this->txt(30)->text();
    EXPECT_GT(nuovo, codice);
    EXPECT_TRUE(this->Comando(QStringLiteral("Salva"), {1})) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Valore("Select Descrizione From PianoConti" + dove.arg(gruppo, mastro, nuovo)).toString(),
              QStringLiteral("Nuovo Cliente Srl"));
}

// A delete whose transaction does not commit (a deferred check met only at
// COMMIT): nothing is deleted, the delete says it failed, and the customer
// stays in the window; once the database lets it go, it goes with its rows.
TYPED_TEST(Cancella, ADeleteWhoseTransactionDoesNotCommitKeepsTheCustomer)
{
    DbMotore *db = Globali::DbComp();
    const bool sqlite = db->TipoMotore(Globali::DbAzienda) == DbMotore::Motore::SQLite;
    const QStringList guardia = GuardiaAlCommit(sqlite, QStringLiteral("Delete"));
    QSqlQuery q(db->DatabaseDao(Globali::DbAzienda));
    for (const QString &sql : guardia)
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    const QString conto = this->txt(30)->text();
    auto conteggi = [&] {
        QList<int> n;
        for (const char *t : {"PianoConti", "IndSped", "PianoContiDoc", "PdcDicIntenti", "PdcStorico"})
            n << this->Righe(QString::fromLatin1(t));
        return n;
    };
    const QList<int> prima = conteggi();
    ASSERT_GT(std::accumulate(prima.begin(), prima.end(), 0), 1); // rows that go with the customer

    this->DimenticaMessaggi();
    EXPECT_FALSE(this->Comando(QStringLiteral("Cancella"), {1}));
    const QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[1].startsWith(QStringLiteral("Errore("))) << detti[1].toStdString();
    EXPECT_EQ(conteggi(), prima);
    EXPECT_EQ(db->LivelloTrans(Globali::DbAzienda), 0);
    EXPECT_EQ(this->pag()->StatoPagina(), GestPagine::StatoRecord);
    EXPECT_EQ(this->txt(30)->text(), conto);

    ASSERT_TRUE(q.exec(TogliGuardia(sqlite))) << q.lastError().text().toStdString();
    EXPECT_TRUE(this->Comando(QStringLiteral("Cancella"), {1})) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(conteggi(), QList<int>({0, 0, 0, 0, 0}));
}

// A grid line saved (added or changed) for a customer another desk has
// deleted, with its rows, since this desk read it: nothing is written, no
// line is left without its customer, and the user is told why.
TYPED_TEST(Cancella, ALineSavedForACustomerAnotherDeskDeletedIsNotWritten)
{
    const struct {
        const char *nome;
        bool nuova;
    } casi[] = {{"a new line", true}, {"a changed line", false}};
    // A second customer to delete for the second round (on the server's
    // two-customer company the other one has ledger totals).
    this->Esegui(QStringLiteral("Delete From PdcProg Where CoPartConto = '0002'"));
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.nome);
        GestLinee *g = this->Griglia();
        ASSERT_EQ(g->NumeroRighe(), 2);
        QTableView *v = this->m_form->dbgRiga(0);
        int riga = 0;
        if (caso.nuova) {
            this->ComandoRiga(0, QStringLiteral("Nuovo"));
            riga = g->RigaCorrente();
            v->model()->setData(v->model()->index(riga, g->IndiceColonna(QStringLiteral("Ordine"))), 30);
        }
        v->model()->setData(v->model()->index(riga, g->IndiceColonna(QStringLiteral("Descrizione"))),
                            QStringLiteral("Scritta qui"));
        for (const char *t : {"IndSped", "PianoContiDoc", "PdcDicIntenti", "PdCStorico", "PianoConti"})
            this->m_altro.EseguiSql(Globali::DbAzienda,
                                    QStringLiteral("Delete From ") + QString::fromLatin1(t) + this->m_dove);
        this->DimenticaMessaggi();
        this->m_form->ButtonComandoLin(*g, QStringLiteral("Salva"));
        this->Attendi();
        EXPECT_EQ(this->Righe(QStringLiteral("PianoContiDoc")), 0);
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
        const QStringList detti = this->Messaggi();
        ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
        EXPECT_TRUE(
            StileConflitto(detti[0],
                           QStringLiteral("Il cliente %1-%2-%3 (")
                               .arg(this->txt(10)->text(), this->txt(20)->text(), this->txt(30)->text()),
                           VbErrore::NessunRecordCorrente,
                           QStringLiteral("la riga non è stata salvata e resta nella griglia")));
        // The next round starts over on another customer with two documents.
        this->m_form->ButtonComandoLin(*g, QStringLiteral("Annulla"));
        if (caso.nuova)
            this->LeggiCancellabile();
        if (this->HasFatalFailure())
            return;
    }
}
