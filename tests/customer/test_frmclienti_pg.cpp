// The customer form's save with history and its delete cascade on a
// PostgreSQL company database reached through ODBC.
#include "BancoClienti.h"

#include "support/PgServer.h"

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>

class ClientiPostgres : public BancoClienti
{
  protected:
    void SetUp() override
    {
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        QString motivo;
        PgServer *pg = PgServer::Istanza(&motivo);
        if (!pg) {
            if (PgObbligatorio())
                FAIL() << motivo.toStdString();
            GTEST_SKIP() << motivo.toStdString();
        }
        const QString connect = pg->NuovoDatabase(QStringLiteral("clienti"));
        m_database = PgServer::NomeDatabase(connect);
        auto *db = new DbMotore;
        Globali::ImpostaDbComp(db);
        db->ApriConnessione(Globali::DbAzienda, connect);
        Globali::NomeDbAzienda = connect;
        QSqlDatabase qdb = db->DatabaseDao(Globali::DbAzienda);
        Schema::ApplicaAzienda(qdb);
        PreparaHost();
        Esegui(QStringLiteral("Insert Into Mastri (Gruppo, Mastro, Tipo, Descrizione) Values ('01','05','3','CLIENTI')"));
        for (const char *conto : {"0001", "0002"})
            Esegui(QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, RagSoc, Indirizzo, "
                                  "CAP, Stato, PartIva, StatoGiurid, Sesso, Moneta, DataAp, AllegCF, CliForFittizio, "
                                  "SiValuta, RagRB, Rischio, TipoProvv, TipoProvv2, SpeseBan, Bolli, RagDDT, RagOrd, "
                                  "StRifOrd, StRifCli, IvaSosp, FEAllegPdf, PrezzoDDT, SoggRitAcconto, CassaPrev, "
                                  "TSIncluso, flagOpposizione) Values ('01','05','%1','3','Cliente %1','Rossi Mario',"
                                  "'Via Roma 1','20100','IT','00743110157','G','M','EUR',#01/15/2020#,'S','N','N','N',"
                                  "'N','N','N','N','N','T','S','T','T','N','D','T','N','S','S','N')")
                       .arg(QString::fromLatin1(conto)));
        Esegui(QStringLiteral("Insert Into PdcProg (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto) Values "
                              "(2024,'3','01','05','0002')"));
        for (const char *t : {"IndSped (Gruppo, Mastro, Conto, IndSped, Descrizione) Values ('01','05','0001','01',"
                              "'Magazzino')",
                              "PianoContiDoc (Gruppo, Mastro, Conto, Ordine, Descrizione) Values ('01','05','0001',1,"
                              "'Contratto')",
                              "PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione) Values ('01','05',"
                              "'0001',1,'Lettera')"})
            Esegui(QStringLiteral("Insert Into ") + QString::fromLatin1(t));
        ASSERT_NE(Apri(), nullptr);
        ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0001")));
        DimenticaMessaggi();
    }
    void TearDown() override
    {
        if (m_database.isEmpty())
            return;
        BancoClienti::TearDown();
        if (PgServer *pg = PgServer::Istanza())
            pg->EliminaDatabase(m_database);
    }
    QString m_database;
};

TEST_F(ClientiPostgres, SaveArchivesTheOldNameOnceAndWritesTheNewOne)
{
    m_form->txt(50)->setText(QStringLiteral("D'Amico Anna"));
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool()) << Messaggi().join('|').toStdString();
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(), "D'Amico Anna");
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PdcStorico Where Conto = '0001'")).toString(), "Rossi Mario");
    EXPECT_EQ(Valore(QStringLiteral("Select Tipo From PdcStorico Where Conto = '0001'")).toString(), "2");

    // The same day again: the table's key refuses the row, the save goes on.
    m_form->txt(50)->setText(QStringLiteral("D'Angelo Anna"));
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_TRUE(Messaggi().contains(QString::fromUtf8("In data di oggi l'anagrafica è già stata archiviata.\r\n"
                                                      "Non è possibile archiviarla di nuovo.")));
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico Where Conto = '0001'")), 1);
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(), "D'Angelo Anna");
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    // The next day the stored name with its apostrophe becomes history.
    Globali::DataMenu = Globali::DataMenu.addDays(1);
    m_form->txt(50)->setText(QStringLiteral("Bianchi Anna"));
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico Where Conto = '0001'")), 2);
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico Where Conto = '0001' And RagSoc = 'D''Angelo Anna'")),
              1);
}

TEST_F(ClientiPostgres, DeleteCascadesOrIsRefused)
{
    Rispondi(1);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Cancella")).toBool())
        << Messaggi().join('|').toStdString();
    for (const char *t : {"PianoConti", "IndSped", "PianoContiDoc", "PdcDicIntenti"})
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From ") + QString::fromLatin1(t) +
                        QStringLiteral(" Where Conto = '0001'")),
                  0)
            << t;
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0002")));
    DimenticaMessaggi();
    Rispondi(1);
    EXPECT_FALSE(m_form->ogComPag()->EseguiComando(QStringLiteral("Cancella")).toBool());
    EXPECT_TRUE(Messaggi().contains(
        QString::fromUtf8("Esistono delle sintesi relative al conto. Non è possibile cancellarlo")));
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PianoConti Where Conto = '0002'")), 1);
}

TEST_F(ClientiPostgres, ClosingWithTheToolbarEndsInOrder)
{
    QPointer<frmClienti> form(m_form);
    m_form = nullptr;
    form->ogComPag()->Bottone(QStringLiteral("Chiudi"))->trigger();
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->ChiusuraForm);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(form);
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
}
