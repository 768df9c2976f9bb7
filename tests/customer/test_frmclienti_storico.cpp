// The history row of a changed name, on SQLite and on PostgreSQL: a second
// change of the same day is told from the row already there, never from an
// insert the database refuses (on a server every refusal is an error in its
// log).
#include "BancoClienti.h"
#include "ClientiPostgres.h"

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
        if (!this->m_form) {
            ASSERT_NE(this->Apri(), nullptr);
            const QStringList k = this->Clienti(QStringLiteral("P.RagSoc Is Not Null")).value(0).split(u'|');
            ASSERT_EQ(k.size(), 3);
            ASSERT_TRUE(this->Leggi(k[0], k[1], k[2]));
        }
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
