// Fixture of the customer form on a PostgreSQL company database reached
// through ODBC: two customers of ledger 01-05 with satellite rows, the first
// one read into the form.
#pragma once

#include "BancoClienti.h"

#include "support/PgServer.h"

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/forms/RisposteProgrammate.h"
#include "services/Globali.h"

class ClientiPostgres : public BancoClienti
{
  protected:
    // The server the database is made on: the tests' shared one.
    virtual PgServer *Server(QString *motivo) { return PgServer::Istanza(motivo); }
    // The connect text the program opens the company with.
    virtual QString Collegamento(PgServer &, const QString &connect) { return connect; }

    void SetUp() override
    {
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        QString motivo;
        PgServer *pg = Server(&motivo);
        if (!pg) {
            if (PgObbligatorio())
                FAIL() << motivo.toStdString();
            GTEST_SKIP() << motivo.toStdString();
        }
        const QString connect = pg->NuovoDatabase(QStringLiteral("clienti"));
        m_database = PgServer::NomeDatabase(connect);
        auto *db = new DbMotore;
        Globali::ImpostaDbComp(db);
        const QString programma = Collegamento(*pg, connect);
        db->ApriConnessione(Globali::DbAzienda, programma);
        Globali::NomeDbAzienda = programma;
        QSqlDatabase qdb = db->DatabaseDao(Globali::DbAzienda);
        Schema::ApplicaAzienda(qdb);
        PreparaHost();
        Esegui(QStringLiteral(
            "Insert Into Mastri (Gruppo, Mastro, Tipo, Descrizione) Values ('01','05','3','CLIENTI')"));
        for (const char *conto : {"0001", "0002"})
            Esegui(QStringLiteral(
                       "Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, RagSoc, Indirizzo, "
                       "CAP, Stato, PartIva, StatoGiurid, Sesso, Moneta, DataAp, AllegCF, CliForFittizio, "
                       "SiValuta, RagRB, Rischio, TipoProvv, TipoProvv2, SpeseBan, Bolli, RagDDT, RagOrd, "
                       "StRifOrd, StRifCli, IvaSosp, FEAllegPdf, PrezzoDDT, SoggRitAcconto, CassaPrev, "
                       "TSIncluso, flagOpposizione) Values ('01','05','%1','3','Cliente %1','Rossi Mario',"
                       "'Via Roma 1','20100','IT','00743110157','G','M','EUR',#01/15/2020#,'S','N','N','N',"
                       "'N','N','N','N','N','T','S','T','T','N','D','T','N','S','S','N')")
                       .arg(QString::fromLatin1(conto)));
        Esegui(QStringLiteral(
            "Insert Into PdcProg (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto) Values "
            "(2024,'3','01','05','0002')"));
        for (const char *t :
             {"IndSped (Gruppo, Mastro, Conto, IndSped, Descrizione) Values ('01','05','0001','01',"
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
        if (PgServer *pg = Server(nullptr))
            pg->EliminaDatabase(m_database);
    }
    QString m_database;
};
