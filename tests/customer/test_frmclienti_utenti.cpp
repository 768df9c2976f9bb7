// Two desks on one customer, on SQLite and on PostgreSQL: the form against
// another connection that writes the same account. A change saved by the
// other desk is never lost, the form shows what was saved, the history keeps
// the row as it stood at the save, and a held lock is explained.
#include "BancoGriglie.h"
#include "ClientiPostgres.h"
#include "DueScrivanie.h"

#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTableView>

using Motori = ::testing::Types<BancoClienti, ClientiPostgres>;
TYPED_TEST_SUITE(DueScrivanie, Motori);

namespace
{
const QString kInUsoSalva =
    QStringLiteral(" è in uso su un'altra postazione: le modifiche non sono state "
                   "salvate e restano nella finestra. Riprovare tra qualche istante.");
const QString kInUsoCancella = QStringLiteral(" è in uso su un'altra postazione e non è stato cancellato. "
                                              "Riprovare tra qualche istante.");
} // namespace

TYPED_TEST(DueScrivanie, TheSameFieldSavedByBothIsRefusedForTheSecondWithTheChoice)
{
    this->txt(1060)->setText(QStringLiteral("06 111111"));
    this->Altro(QStringLiteral("Telefono = '02 222222'"));
    // The default keeps editing: the typing stays, the stored value too.
    EXPECT_FALSE(this->Salva());
    ASSERT_EQ(this->Messaggi().size(), 1) << this->Messaggi().join('|').toStdString();
    EXPECT_TRUE(StileConflitto(this->Messaggi()[0],
                               this->Cliente() + QStringLiteral(" è stato modificato da un'altra postazione"),
                               3197, QStringLiteral("restano nella finestra")));
    EXPECT_TRUE(this->Messaggi()[0].endsWith(kModificati));
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Telefono")), QStringLiteral("02 222222"));
    EXPECT_EQ(this->txt(1060)->text(), QStringLiteral("06 111111"));
    EXPECT_TRUE(this->pag()->RecordModificato());
    // Saved again after being told, the typing replaces the other desk's value.
    EXPECT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Telefono")), QStringLiteral("06 111111"));

    // "Rileggi" shows what the other desk saved and drops the typing.
    this->txt(1060)->setText(QStringLiteral("06 333333"));
    this->Altro(QStringLiteral("Telefono = '02 444444'"));
    this->DimenticaMessaggi();
    this->Rispondi(1);
    EXPECT_FALSE(this->Salva());
    EXPECT_TRUE(Contiene(this->Messaggi(), kModificati));
    EXPECT_EQ(this->txt(1060)->text(), QStringLiteral("02 444444"));
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Telefono")), QStringLiteral("02 444444"));
    EXPECT_FALSE(this->pag()->RecordModificato());
}

TYPED_TEST(DueScrivanie, DifferentFieldsAreBothKeptAndTheHistoryHoldsTheRowAsSaved)
{
    const QString nome = this->Memorizzato(QStringLiteral("RagSoc"));
    const QString oggi = Globali::DataMenu.toString(QStringLiteral("#MM/dd/yyyy#"));
    const QString storico =
        QStringLiteral(" From PdcStorico") + this->m_dove + QStringLiteral(" And DataVar = ") + oggi;
    ASSERT_EQ(this->Conta(QStringLiteral("Select Count(*)") + storico), 0);

    this->Altro(QStringLiteral("Indirizzo = 'Via Nuova 9'"));
    this->txt(50)->setText(QStringLiteral("Nuovo Nome Srl"));
    this->Rispondi(2);
    ASSERT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Memorizzato(QStringLiteral("RagSoc")), QStringLiteral("Nuovo Nome Srl"));
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Indirizzo")), QStringLiteral("Via Nuova 9"));
    // The form shows the row as stored, the other desk's address included.
    EXPECT_EQ(this->txt(1010)->text(), QStringLiteral("Via Nuova 9"));
    EXPECT_FALSE(this->pag()->RecordModificato());
    EXPECT_EQ(this->Conta(QStringLiteral("Select Count(*)") + storico), 1);
    EXPECT_EQ(this->Valore(QStringLiteral("Select RagSoc") + storico).toString(), nome);
    EXPECT_EQ(this->Valore(QStringLiteral("Select Indirizzo") + storico).toString(),
              QStringLiteral("Via Nuova 9"));

    // The next save asks only about the name it changes; the day's row stays one.
    this->txt(50)->setText(QStringLiteral("Altro Nome Srl"));
    this->DimenticaMessaggi();
    this->Rispondi(2);
    ASSERT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    ASSERT_FALSE(this->Messaggi().isEmpty());
    EXPECT_TRUE(this->Messaggi().first().contains(QStringLiteral("\r\nRagione Sociale 1' parte\r\n")))
        << this->Messaggi().first().toStdString();
    EXPECT_EQ(this->Conta(QStringLiteral("Select Count(*)") + storico), 1);
    EXPECT_EQ(this->Memorizzato(QStringLiteral("RagSoc")), QStringLiteral("Altro Nome Srl"));
}

TYPED_TEST(DueScrivanie, ASaveBehindAnotherDesksLockIsRefusedWithTheEditsKept)
{
    Globali::DbComp()->ImpostaAttesaBlocco(Globali::DbAzienda, 200);
    this->m_altro.IniziaTrans(Globali::DbAzienda);
    this->Altro(QStringLiteral("Telefono = '02 555555'"));
    this->txt(1060)->setText(QStringLiteral("06 666666"));
    EXPECT_FALSE(this->Salva());
    ASSERT_FALSE(this->Messaggi().isEmpty());
    EXPECT_TRUE(StileConflitto(this->Messaggi().last(), this->Cliente() + kInUsoSalva,
                               ErroriDb::RecordBloccato, QStringLiteral("restano nella finestra")));
    EXPECT_EQ(this->txt(1060)->text(), QStringLiteral("06 666666"));
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    // Once the other desk gives up its change, the same save goes through.
    this->m_altro.AnnullaTrans(Globali::DbAzienda);
    EXPECT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Telefono")), QStringLiteral("06 666666"));
}

class GrigliaDueScrivanie : public BancoGriglie
{
  protected:
    void SetUp() override
    {
        BancoGriglie::SetUp();
        Documento(10, QStringLiteral("Visura"), QStringLiteral("v.pdf"));
        ApriConto();
        Pagina(0);
        m_altro.ApriConnessione(Globali::DbAzienda, Globali::NomeDbAzienda);
        DimenticaMessaggi();
    }
    void TearDown() override
    {
        m_altro.ChiudiTutto();
        BancoGriglie::TearDown();
    }
    void Altro(const QString &descrizione)
    {
        m_altro.EseguiSql(Globali::DbAzienda,
                          QStringLiteral("Update PianoContiDoc Set Descrizione = '%1'").arg(descrizione) +
                              DelConto() + QStringLiteral(" And Ordine = 10"));
    }
    QString Memorizzata()
    {
        return Valore(QStringLiteral("Select Descrizione From PianoContiDoc") + DelConto() +
                      QStringLiteral(" And Ordine = 10"))
            .toString();
    }
    QString Mostrata() const
    {
        return Vista(0)
            ->model()
            ->index(0, Griglia(0)->IndiceColonna(QStringLiteral("Descrizione")))
            .data()
            .toString();
    }
    DbMotore m_altro;
};

TEST_F(GrigliaDueScrivanie, ALineChangedByAnotherDeskIsRefusedWithTheChoice)
{
    Altro(QStringLiteral("Visura B"));
    Cella(0, 0, QStringLiteral("Descrizione"));
    Scrivi(0, QStringLiteral("Visura A"));
    Comando(0, QStringLiteral("Salva"));
    EXPECT_TRUE(Contiene(Messaggi(), kModificati)) << Messaggi().join('|').toStdString();
    EXPECT_EQ(Memorizzata(), QStringLiteral("Visura B"));
    // Kept by default: the line's edit stays pending and saves when asked again.
    EXPECT_EQ(Mostrata(), QStringLiteral("Visura A"));
    EXPECT_TRUE(Griglia(0)->DatiModificati());
    Comando(0, QStringLiteral("Salva"));
    EXPECT_EQ(Memorizzata(), QStringLiteral("Visura A"));

    Altro(QStringLiteral("Visura C"));
    Cella(0, 0, QStringLiteral("Descrizione"));
    Scrivi(0, QStringLiteral("Visura D"));
    DimenticaMessaggi();
    Rispondi(1);
    Comando(0, QStringLiteral("Salva"));
    EXPECT_TRUE(Contiene(Messaggi(), kModificati));
    EXPECT_EQ(Mostrata(), QStringLiteral("Visura C"));
    EXPECT_FALSE(Griglia(0)->DatiModificati());
    EXPECT_EQ(Memorizzata(), QStringLiteral("Visura C"));
}

// The grid's conflicts are worded as the form's: the line and its customer
// named, the edits kept, the number only in the detail.
TEST_F(GrigliaDueScrivanie, EveryLineConflictNamesItsLineAndKeepsTheEdits)
{
    Globali::DbComp()->ImpostaAttesaBlocco(Globali::DbAzienda, 200);
    const QString riga = QStringLiteral("La riga 1 (Documenti - %1 ").arg(m_conto);
    const QString tenute =
        QStringLiteral("le modifiche della riga non sono state salvate e restano nella griglia");
    const struct {
        const char *comando;
        bool bloccata;       // the other desk holds the line (else it has changed it)
        QList<int> risposte; // "Continua" keeps the edits; a delete is confirmed first
        QString esito;
    } casi[] = {
        {"Salva", false, {2}, tenute},
        {"Cancella", false, {1, 2}, QStringLiteral("non è stata cancellata")},
        {"Salva", true, {1}, tenute},
    };
    for (const auto &c : casi) {
        DimenticaMessaggi();
        if (c.bloccata)
            m_altro.IniziaTrans(Globali::DbAzienda);
        Altro(QStringLiteral("Altrove %1").arg(c.comando));
        Cella(0, 0, QStringLiteral("Descrizione"));
        Scrivi(0, QStringLiteral("Qui"));
        for (int r : c.risposte)
            Rispondi(r);
        Comando(0, QString::fromLatin1(c.comando));
        const QStringList detti = Messaggi();
        ASSERT_FALSE(detti.isEmpty()) << c.comando;
        EXPECT_TRUE(StileConflitto(detti.last(), riga, c.bloccata ? ErroriDb::RecordBloccato : 3197, c.esito))
            << c.comando << c.bloccata;
        EXPECT_EQ(Mostrata(), QStringLiteral("Qui")) << c.comando << c.bloccata;
        if (c.bloccata)
            m_altro.AnnullaTrans(Globali::DbAzienda);
        Griglia(0)->EseguiComando(QStringLiteral("Annulla"));
    }
}

// Archiving the old name waits on the other desk's lock: after the archive
// question one Italian message, the same on both engines, and the edits stay.
TYPED_TEST(DueScrivanie, AnArchiveBehindAnotherDesksLockSaysItOnceAndKeepsTheEdits)
{
    Globali::DbComp()->ImpostaAttesaBlocco(Globali::DbAzienda, 200);
    this->m_altro.IniziaTrans(Globali::DbAzienda);
    this->Altro(QStringLiteral("Telefono = '02 555555'"));
    this->txt(50)->setText(QStringLiteral("Nuovo Nome Srl"));
    this->Rispondi(2);
    EXPECT_FALSE(this->Salva());
    const QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[0].contains(QStringLiteral("ARCHIVIARE SOLO SE")));
    EXPECT_TRUE(StileConflitto(detti[1], this->Cliente() + kInUsoSalva, ErroriDb::RecordBloccato,
                               QStringLiteral("restano nella finestra")));
    EXPECT_EQ(this->txt(50)->text(), QStringLiteral("Nuovo Nome Srl"));
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    this->m_altro.AnnullaTrans(Globali::DbAzienda);
    this->DimenticaMessaggi();
    this->Rispondi(2);
    EXPECT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Memorizzato(QStringLiteral("RagSoc")), QStringLiteral("Nuovo Nome Srl"));
    EXPECT_EQ(this->Conta(QStringLiteral("Select Count(*) From PdcStorico") + this->m_dove), 1);
}

// A delete behind the other desk's lock says that the customer was not
// deleted, not that changes were not saved.
TYPED_TEST(DueScrivanie, ADeleteBehindAnotherDesksLockSaysTheCustomerWasNotDeleted)
{
    this->LeggiCancellabile();
    Globali::DbComp()->ImpostaAttesaBlocco(Globali::DbAzienda, 200);
    this->m_altro.IniziaTrans(Globali::DbAzienda);
    this->Altro(QStringLiteral("Telefono = '02 555555'"));
    this->DimenticaMessaggi();
    this->Rispondi(1);
    EXPECT_FALSE(this->pag()->EseguiComando(QStringLiteral("Cancella")).toBool());
    this->Attendi();
    const QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
    EXPECT_TRUE(StileConflitto(detti[1], this->Cliente() + kInUsoCancella, ErroriDb::RecordBloccato,
                               QStringLiteral("non è stato cancellato")));
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
    this->m_altro.AnnullaTrans(Globali::DbAzienda);
    EXPECT_EQ(this->Conta(QStringLiteral("Select Count(*) From PianoConti") + this->m_dove), 1);
}

// The other desk saved and archived a new address since this one read it: the
// save that is refused asks nothing about archiving first, and once saved
// again over the other desk's address the archive question comes once.
TYPED_TEST(DueScrivanie, ASaveAnotherDeskHasChangedIsRefusedBeforeAnyArchiveQuestion)
{
    const QString oggi = Globali::DataMenu.toString(QStringLiteral("#MM/dd/yyyy#"));
    this->m_altro.EseguiSql(
        Globali::DbAzienda,
        QStringLiteral("Insert Into PdcStorico (Gruppo, Mastro, Conto, DataVar, Tipo) Values "
                       "('%1', '%2', '%3', %4, '2')")
            .arg(this->txt(10)->text(), this->txt(20)->text(), this->txt(30)->text(), oggi));
    this->Altro(QStringLiteral("Indirizzo = 'Via Altra 2'"));
    this->txt(1010)->setText(QStringLiteral("Via Mia 3"));
    this->Rispondi(2);
    EXPECT_FALSE(this->Salva());
    QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[0].contains(kModificati)) << detti[0].toStdString();
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Indirizzo")), QStringLiteral("Via Altra 2"));
    EXPECT_EQ(this->txt(1010)->text(), QStringLiteral("Via Mia 3"));
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    this->DimenticaMessaggi();
    this->Rispondi(1);
    EXPECT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[0].contains(QStringLiteral("ARCHIVIARE SOLO SE"))) << detti[0].toStdString();
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Indirizzo")), QStringLiteral("Via Mia 3"));
}
