// Two desks on one customer, on SQLite and on PostgreSQL: what a save that
// archives the previous name has to say is said once its transaction is over,
// so that while the clerk reads it the other desk writes the same customer at
// once; the texts come all the same, in their order.
#include "ClientiPostgres.h"
#include "DueScrivanie.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/util/VbErrore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <functional>

template <class Base> class StoricoScrivanie : public DueScrivanie<Base>
{
  protected:
    // The history table refuses every new row, with a text of its own.
    void Rifiuta()
    {
        DbMotore *db = Globali::DbComp();
        QSqlQuery q(db->DatabaseDao(Globali::DbAzienda));
        if (db->TipoMotore(Globali::DbAzienda) == DbMotore::Motore::SQLite) {
            ASSERT_TRUE(q.exec(QStringLiteral("Create Trigger Chiuso Before Insert On PdcStorico Begin "
                                              "Select Raise(Abort, 'archivio chiuso'); End")))
                << q.lastError().text().toStdString();
            return;
        }
        ASSERT_TRUE(q.exec(QStringLiteral("Create Function Chiuso() Returns Trigger Language plpgsql As $f$ "
                                          "Begin Raise Exception 'archivio chiuso'; End $f$")))
            << q.lastError().text().toStdString();
        ASSERT_TRUE(q.exec(QStringLiteral(
            "Create Trigger Chiuso Before Insert On PdcStorico For Each Row Execute Function Chiuso()")))
            << q.lastError().text().toStdString();
    }
};

using Motori = ::testing::Types<BancoClienti, ClientiPostgres>;
TYPED_TEST_SUITE(StoricoScrivanie, Motori);

TYPED_TEST(StoricoScrivanie, TheNoticesOfTheHistoryComeAfterTheTransactionAndLetTheOtherDeskWrite)
{
    const QString domanda =
        QStringLiteral("Attenzione: sono stati modificati campi dell'anagrafica del cliente \r\n"
                       "Ragione Sociale 1' parte\r\n\r\n"
                       "ARCHIVIARE SOLO SE I DATI PRECEDENTI ERANO CORRETTI !!!");
    const QString oggi = Globali::DataMenu.toString(QStringLiteral("#MM/dd/yyyy#"));
    const struct {
        const char *caso;
        std::function<void()> prepara;
        bool salvato;
        QStringList avvisi; // how each notice begins, in order
    } casi[] = {
        {"already archived today",
         [&] {
             this->Esegui(
                 QStringLiteral("Insert Into PdcStorico (Gruppo, Mastro, Conto, DataVar, Tipo) "
                                "Values ('%1', '%2', '%3', %4, '2')")
                     .arg(this->txt(10)->text(), this->txt(20)->text(), this->txt(30)->text(), oggi));
         },
         true,
         {QString::fromUtf8("In data di oggi l'anagrafica è già stata archiviata.\r\n"
                            "Non è possibile archiviarla di nuovo.")}},
        {"the history cannot be written",
         [&] {
             this->Esegui(QStringLiteral("Delete From PdcStorico") + this->m_dove);
             this->Rifiuta();
         },
         false,
         {QStringLiteral("Errore("),
          QStringLiteral("Errore nell'archiviazione dei dati anagrafici:\r\n"
                         "I dati anagrafici precedenti NON sono stati archiviati\r\n"
                         "Le modifiche non sono state salvate e restano nella finestra")}},
    };
    // The other desk never waits: a lock still held refuses its write.
    this->m_altro.ImpostaAttesaBlocco(Globali::DbAzienda, 1);
    int scritture = 0;
    for (const auto &c : casi) {
        SCOPED_TRACE(c.caso);
        QStringList rifiutate;
        const QString prima = this->Memorizzato(QStringLiteral("RagSoc")),
                      nuovo = QStringLiteral("Nome %1 Srl").arg(scritture);
        c.prepara();
        ASSERT_FALSE(this->HasFatalFailure());
        this->DimenticaMessaggi();
        RisposteProgrammate::ImpostaAzioneMostrato([&](const QString &, const QVariantMap &m) {
            if (m.value(QStringLiteral("testo")).toString() == domanda)
                return;
            // While the notice waits for the clerk, the other desk saves the customer.
            try {
                this->Altro(QStringLiteral("Telefono = '02 %1'").arg(++scritture));
            } catch (const VbErrore &e) {
                rifiutate << e.descrizione();
            }
        });
        this->txt(50)->setText(nuovo);
        this->Rispondi(2);
        EXPECT_EQ(this->Salva(), c.salvato);
        RisposteProgrammate::ImpostaAzioneMostrato({});
        EXPECT_TRUE(rifiutate.isEmpty()) << rifiutate.join('|').toStdString();
        const QStringList detti = this->Messaggi();
        ASSERT_EQ(detti.size(), c.avvisi.size() + 1) << detti.join('|').toStdString();
        EXPECT_EQ(detti[0], domanda);
        for (int i = 0; i < c.avvisi.size(); ++i)
            EXPECT_TRUE(detti[i + 1].startsWith(c.avvisi[i])) << detti[i + 1].toStdString();
        EXPECT_EQ(this->Memorizzato(QStringLiteral("RagSoc")), c.salvato ? nuovo : prima);
        EXPECT_EQ(this->Memorizzato(QStringLiteral("Telefono")), QStringLiteral("02 %1").arg(scritture));
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
        EXPECT_TRUE(this->pag()->TransazioneAbilitata());
    }
}
