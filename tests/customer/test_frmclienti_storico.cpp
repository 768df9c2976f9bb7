// The history row of a changed name, on SQLite and on PostgreSQL: a second
// change of the same day is told from the row already there, never from an
// insert the database refuses (on a server every refusal is an error in its
// log); and a save whose transaction does not commit.
#include "BancoClienti.h"
#include "ClientiPostgres.h"
#include "GuardiaCommit.h"

#include "components/db/DbMotore.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>

template <class Base> class StoricoMotori : public Base
{
  protected:
    void SetUp() override
    {
        Base::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        this->ApriSulPrimo(QStringLiteral("P.RagSoc Is Not Null"));
        if (this->HasFatalFailure())
            return;
        m_dove = QStringLiteral(" From PdcStorico Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3' And "
                                "DataVar = %4")
                     .arg(txt(10)->text(), txt(20)->text(), txt(30)->text(),
                          Globali::DataMenu.toString(QStringLiteral("#MM/dd/yyyy#")));
        this->DimenticaMessaggi();
    }
    QLineEdit *txt(int i) { return this->m_form->txt(i); }
    // Any insert of a second row of the same day fails with a text of its
    // own, not as a duplicate key: a save that still tries one is refused.
    void Sorveglia()
    {
        DbMotore *db = Globali::DbComp();
        QSqlQuery q(db->DatabaseDao(Globali::DbAzienda));
        const QString stessoGiorno = QStringLiteral(
            "Exists (Select 1 From PdcStorico S Where S.Gruppo = NEW.Gruppo And S.Mastro = NEW.Mastro And "
            "S.Conto = NEW.Conto And S.DataVar = NEW.DataVar)");
        if (db->TipoMotore(Globali::DbAzienda) == DbMotore::Motore::SQLite) {
            ASSERT_TRUE(q.exec(QStringLiteral("Create Trigger Tentato Before Insert On PdcStorico When ") +
                               stessoGiorno + QStringLiteral(" Begin Select Raise(Abort, 'tentata'); End")))
                << q.lastError().text().toStdString();
            return;
        }
        ASSERT_TRUE(q.exec(
            QStringLiteral("Create Function Tentato() Returns Trigger Language plpgsql As $f$ Begin If ") +
            stessoGiorno + QStringLiteral(" Then Raise Exception 'tentata'; End If; Return NEW; End $f$")))
            << q.lastError().text().toStdString();
        ASSERT_TRUE(q.exec(QStringLiteral(
            "Create Trigger Tentato Before Insert On PdcStorico For Each Row Execute Function Tentato()")))
            << q.lastError().text().toStdString();
    }
    bool Salva()
    {
        const bool ok = this->m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool();
        this->Attendi();
        return ok;
    }

    QString m_dove;
};

using Motori = ::testing::Types<BancoClienti, ClientiPostgres>;
TYPED_TEST_SUITE(StoricoMotori, Motori);

TYPED_TEST(StoricoMotori, TheSecondChangeOfTheDayFindsTheRowWithoutTryingToInsert)
{
    this->Sorveglia();
    if (this->HasFatalFailure())
        return;
    this->txt(50)->setText(QStringLiteral("Primo Nome Srl"));
    this->Rispondi(2);
    ASSERT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Conta(QStringLiteral("Select Count(*)") + this->m_dove), 1);

    this->DimenticaMessaggi();
    this->txt(50)->setText(QStringLiteral("Secondo Nome Srl"));
    this->Rispondi(2);
    ASSERT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    const QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
    EXPECT_EQ(detti[1], QString::fromUtf8("In data di oggi l'anagrafica è già stata archiviata.\r\n"
                                          "Non è possibile archiviarla di nuovo."));
    EXPECT_EQ(this->Conta(QStringLiteral("Select Count(*)") + this->m_dove), 1);
    EXPECT_EQ(this->Valore(QStringLiteral("Select RagSoc From PianoConti Where Gruppo = '") +
                           this->txt(10)->text() + QStringLiteral("' And Mastro = '") +
                           this->txt(20)->text() + QStringLiteral("' And Conto = '") + this->txt(30)->text() +
                           QStringLiteral("'"))
                  .toString(),
              QStringLiteral("Secondo Nome Srl"));
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
}

// A save whose history transaction does not commit (a deferred check the
// account's new name breaks, met only at COMMIT): nothing is stored, the save
// says it failed, once, and the window keeps the user's edits, still to be
// saved; once the database accepts them, saving again stores them.
TYPED_TEST(StoricoMotori, ASaveWhoseTransactionDoesNotCommitKeepsTheEditsUnsaved)
{
    const QString nome = QStringLiteral("Non Regge Srl");
    DbMotore *db = Globali::DbComp();
    const bool sqlite = db->TipoMotore(Globali::DbAzienda) == DbMotore::Motore::SQLite;
    const QStringList guardia =
        GuardiaAlCommit(sqlite, QStringLiteral("Update"), QStringLiteral("NEW.RagSoc = 'Non Regge Srl'"));
    QSqlQuery q(db->DatabaseDao(Globali::DbAzienda));
    for (const QString &sql : guardia)
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    const QString conto = QStringLiteral("Select RagSoc From PianoConti Where Gruppo = '") +
                          this->txt(10)->text() + QStringLiteral("' And Mastro = '") + this->txt(20)->text() +
                          QStringLiteral("' And Conto = '") + this->txt(30)->text() + QStringLiteral("'");
    const QString prima = this->Valore(conto).toString();
    ASSERT_NE(prima, nome);
    GestPagine *pag = this->m_form->ogComPag();

    this->txt(50)->setText(nome);
    ASSERT_TRUE(pag->RecordModificato());
    this->Rispondi(2); // archive the previous name
    EXPECT_FALSE(this->Salva());
    const QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[1].startsWith(QStringLiteral("Errore("))) << detti[1].toStdString();
    EXPECT_TRUE(pag->RecordModificato());
    EXPECT_EQ(pag->StatoPagina(), GestPagine::StatoRecord);
    EXPECT_EQ(this->txt(50)->text(), nome);
    EXPECT_EQ(this->Valore(conto).toString(), prima);
    EXPECT_EQ(this->Conta(QStringLiteral("Select Count(*)") + this->m_dove), 0);
    EXPECT_EQ(db->LivelloTrans(Globali::DbAzienda), 0);

    // Closing asks first; "Annulla" keeps the window and its edits.
    this->DimenticaMessaggi();
    this->Rispondi(3);
    this->m_form->ButtonComando(QStringLiteral("Chiudi"));
    this->Attendi();
    EXPECT_TRUE(
        this->Messaggi().contains(QString::fromUtf8("Il record è stato modificato. Salvare le modifiche?")))
        << this->Messaggi().join('|').toStdString();
    EXPECT_FALSE(this->m_form->ChiusuraForm);
    EXPECT_EQ(this->txt(50)->text(), nome);

    ASSERT_TRUE(q.exec(TogliGuardia(sqlite))) << q.lastError().text().toStdString();
    this->DimenticaMessaggi();
    this->Rispondi(2);
    EXPECT_TRUE(this->Salva()) << this->Messaggi().join('|').toStdString();
    EXPECT_FALSE(pag->RecordModificato());
    EXPECT_EQ(this->Valore(conto).toString(), nome);
    EXPECT_EQ(this->Conta(QStringLiteral("Select Count(*)") + this->m_dove), 1);
}
