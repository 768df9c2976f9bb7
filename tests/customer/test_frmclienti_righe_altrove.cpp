// Two desks on the documents grid of one customer, on SQLite and on
// PostgreSQL: a line another desk changed is not deleted unseen, and a line
// another desk deleted goes from the grid at the next save or delete instead
// of coming back.
#include "ClientiPostgres.h"
#include "DueScrivanie.h"

#include "components/linee/GestLinee.h"

#include <QAbstractItemModel>
#include <QTableView>

template <class Base> class RigheDueScrivanie : public DueScrivanie<Base>
{
  protected:
    void SetUp() override
    {
        DueScrivanie<Base>::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        Documenti();
    }
    // The customer read again with its documents 10 and 20, on their page.
    void Documenti()
    {
        this->LeggiCancellabile();
        this->m_form->SelezionaTab(8);
        this->Attendi();
        ASSERT_EQ(Griglia()->NumeroRighe(), 2);
    }
    GestLinee *Griglia() { return this->m_form->GestLin(0); }
    void SuRiga(int riga)
    {
        QTableView *v = this->m_form->dbgRiga(0);
        v->setFocus();
        v->setCurrentIndex(v->model()->index(riga, Griglia()->IndiceColonna(QStringLiteral("Descrizione"))));
        this->Attendi();
    }
    void Comando(const QString &chiave, std::initializer_list<int> risposte = {})
    {
        for (int r : risposte)
            this->Rispondi(r);
        this->m_form->ButtonComandoLin(*Griglia(), chiave);
        this->Attendi();
    }
    QString Mostrata(int riga)
    {
        return this->m_form->dbgRiga(0)
            ->model()
            ->index(riga, Griglia()->IndiceColonna(QStringLiteral("Descrizione")))
            .data()
            .toString();
    }
    QString Documento(int ordine)
    {
        return this
            ->Valore(QStringLiteral("Select Descrizione From PianoContiDoc") + this->m_dove +
                     QStringLiteral(" And Ordine = %1").arg(ordine))
            .toString();
    }
    void AltroDocumento(const QString &sql, int ordine)
    {
        this->m_altro.EseguiSql(Globali::DbAzienda,
                                sql + this->m_dove + QStringLiteral(" And Ordine = %1").arg(ordine));
    }
};

using Motori = ::testing::Types<BancoClienti, ClientiPostgres>;
TYPED_TEST_SUITE(RigheDueScrivanie, Motori);

TYPED_TEST(RigheDueScrivanie, ALineAnotherDeskChangedIsNotDeletedAndTheChoiceIsOffered)
{
    // "Continua" keeps the line's edit over the stored line, "Rileggi" drops it.
    for (int risposta : {2, 1}) {
        const QString cambiata = QStringLiteral("Cambiata %1").arg(risposta);
        this->AltroDocumento(QStringLiteral("Update PianoContiDoc Set Descrizione = '%1'").arg(cambiata), 10);
        this->SuRiga(0);
        this->Griglia()->ImpostaValoreCella(QStringLiteral("Percorso"), QStringLiteral("mio.pdf"));
        this->DimenticaMessaggi();
        this->Comando(QStringLiteral("Cancella"), {1, risposta});
        const QStringList detti = this->Messaggi();
        ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
        EXPECT_TRUE(
            detti[1].contains(kModificati + QStringLiteral("\r\nLa riga non è stata cancellata.\r\n")))
            << detti[1].toStdString();
        EXPECT_EQ(this->Documento(10), cambiata);
        ASSERT_EQ(this->Griglia()->NumeroRighe(), 2);
        EXPECT_EQ(this->Mostrata(0), cambiata);
        EXPECT_EQ(this->Griglia()->DatiModificati(), risposta == 2);
        if (risposta == 2)
            EXPECT_EQ(this->Griglia()->ValoreCella(QStringLiteral("Percorso")).toString(),
                      QStringLiteral("mio.pdf"));
        this->Comando(QStringLiteral("Annulla"));
    }
    // Seen as it is now, the line goes.
    this->SuRiga(0);
    this->Comando(QStringLiteral("Cancella"), {1});
    EXPECT_EQ(this->Righe(QStringLiteral("PianoContiDoc")), 1);
    EXPECT_EQ(this->Griglia()->NumeroRighe(), 1);
}

TYPED_TEST(RigheDueScrivanie, ALineAnotherDeskDeletedLeavesTheGridAndTheOtherLinesStay)
{
    struct Caso {
        const char *comando;
        std::initializer_list<int> risposte;
        QString detto;
    } casi[] = {
        {"Salva",
         {},
         QStringLiteral("La riga è stata cancellata da un'altra postazione e le modifiche fatte qui non sono "
                        "state salvate: la griglia mostra ora le righe come sono salvate.")},
        {"Cancella",
         {1},
         QStringLiteral("La riga era già stata cancellata da un'altra postazione: la griglia mostra ora le "
                        "righe come sono salvate.")},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.comando);
        this->Documenti();
        this->SuRiga(0);
        this->Griglia()->ImpostaValoreCella(QStringLiteral("Descrizione"), QStringLiteral("Mia modifica"));
        this->AltroDocumento(QStringLiteral("Delete From PianoContiDoc"), 10);
        this->DimenticaMessaggi();
        this->Comando(QString::fromLatin1(c.comando), c.risposte);
        ASSERT_FALSE(this->Messaggi().isEmpty());
        EXPECT_TRUE(this->Messaggi().last().startsWith(c.detto + QStringLiteral("\nDettaglio: errore 3167")))
            << this->Messaggi().join('|').toStdString();
        ASSERT_EQ(this->Griglia()->NumeroRighe(), 1);
        EXPECT_EQ(this->Mostrata(0), QStringLiteral("Documento 20"));
        EXPECT_FALSE(this->Griglia()->DatiModificati());
        EXPECT_EQ(this->Documento(20), QStringLiteral("Documento 20"));
        // Nothing is left to fail again.
        this->DimenticaMessaggi();
        this->Comando(QStringLiteral("Salva"));
        EXPECT_TRUE(this->Messaggi().isEmpty()) << this->Messaggi().join('|').toStdString();
        this->Comando(QStringLiteral("Annulla"));
        EXPECT_EQ(this->Griglia()->NumeroRighe(), 1);
    }
}
