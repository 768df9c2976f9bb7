// Record sets on both engines: column names of joins, Null reads, DAO error
// numbers, transactions, quoting, LIKE searches and row writes.
#include "ProvaMotori.h"
#include "components/util/Currency.h"
#include "components/util/VbErrore.h"

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

} // namespace

class RecordSet : public ProvaMotori
{
  protected:
    void Clienti()
    {
        Esegui("INSERT INTO Stati (Stato, Descrizione, Iso, LungPartIva) VALUES ('IT', 'Italia', 'IT', 11)");
        Esegui("INSERT INTO Stati (Stato, Descrizione, Iso) VALUES ('FR', 'Francia', 'FR')");
        Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, Stato, StatoNascita) "
               "VALUES ('01', '10', '0001', '3', 'Rossi Mario', 'IT', 'FR')");
        Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) "
               "VALUES ('01', '10', '0002', '3', 'D''Amico Srl')");
    }
};

TEST_P(RecordSet, JoinedTablesKeepTheirOwnColumnNames)
{
    Clienti();
    const QString h =
        Apri("SELECT Pianoconti.Gruppo,Pianoconti.Mastro,Pianoconti.Conto, Stati.*, Sta1.descrizione"
             " FROM ((Pianoconti LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato)"
             " LEFT JOIN Stati AS Sta1 ON PianoConti.StatoNascita = Sta1.Stato)"
             " WHERE PianoConti.Gruppo = '01' AND PianoConti.Mastro = '10' AND PianoConti.Conto = '0001'");
    ASSERT_FALSE(rs->FineDati(h));
    EXPECT_EQ(rs->LeggiCampo(h, "Stati.Descrizione").toString(), "Italia");
    EXPECT_EQ(rs->LeggiCampo(h, "Sta1.Descrizione").toString(), "Francia");
    EXPECT_EQ(rs->LeggiCampo(h, "sta1.DESCRIZIONE").toString(), "Francia");
    // A bare name is the first column of that name in SELECT order.
    EXPECT_EQ(rs->LeggiCampo(h, "Descrizione").toString(), "Italia");
    EXPECT_EQ(rs->LeggiCampo(h, "Stati.LungPartIva", 3).toInt(), 11);
    EXPECT_EQ(rs->LeggiCampo(h, "Gruppo").toString(), "01");
    // Columns the SELECT does not carry read as empty.
    EXPECT_FALSE(rs->LeggiCampo(h, "PianoConti.Descrizione").isValid());
    EXPECT_EQ(rs->LeggiCampo(h, "Stati.Inesistente", 8).toString(), "");
}

TEST_P(RecordSet, LinesAndVatTableShareDescrizione)
{
    Esegui("INSERT INTO TabIva (Iva, Aliquota, Descrizione) VALUES ('22', 22, 'Iva 22%')");
    Esegui("INSERT INTO FatDett (Anno, NumRif, RigDet, Descrizione, Iva, ValTotale, gruppoven, contoVen) "
           "VALUES (2024, 7, 1, 'Bulloni', '22', 1234567.8901, '04', '0001')");
    const QString h =
        Apri("SELECT FatDett.*,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen AS Conto,"
             "TabIva.*,'N' as ArtCauzione FROM FatDett LEFT JOIN TabIva ON FatDett.Iva = TabIva.Iva"
             " Where FatDett.NumRif = 7 And FatDett.Anno = 2024"
             " order by FatDett.Iva,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen,FatDett.RigDet");
    ASSERT_FALSE(rs->FineDati(h));
    EXPECT_EQ(rs->LeggiCampo(h, "FatDett.Descrizione").toString(), "Bulloni");
    EXPECT_EQ(rs->LeggiCampo(h, "TabIva.Descrizione").toString(), "Iva 22%");
    EXPECT_EQ(rs->LeggiCampo(h, "Descrizione").toString(), "Bulloni");
    // A Null part of a Jet concatenation counts as "".
    EXPECT_EQ(rs->LeggiCampo(h, "Conto").toString(), "040001");
    EXPECT_EQ(rs->LeggiCampo(h, "ArtCauzione").toString(), "N");
    EXPECT_EQ(Currency::fromVariant(rs->LeggiCampo(h, "ValTotale", 5)).toString(4), "1234567.8901");
    EXPECT_EQ(Currency::fromVariant(rs->LeggiCampo(h, "TabIva.Aliquota", 5)).toString(2), "22.00");
}

TEST_P(RecordSet, NullReadsAndSumsOfNoRows)
{
    Clienti();
    const QString h =
        Apri("SELECT Gruppo, DataAp, Descrizione, PianoConti.Agente1 FROM PianoConti WHERE Conto = '0001'");
    for (int tipo : {2, 3, 4, 5, 6})
        EXPECT_EQ(rs->LeggiCampo(h, "PianoConti.Agente1", tipo).toInt(), 0) << tipo;
    EXPECT_EQ(rs->LeggiCampo(h, "DataAp", 8).toString(), "");
    EXPECT_FALSE(rs->LeggiCampo(h, "DataAp").isValid());

    const QString s =
        Apri("Select sum(TotDocum) as Totale, sum(TotMerce) as MerceTot From FatTest Where GruppoCli = 'zz'");
    ASSERT_FALSE(rs->FineDati(s));
    EXPECT_EQ(rs->LeggiCampo(s, "Totale").toDouble(), 0.0);
    EXPECT_TRUE(rs->LeggiCampo(s, "Totale").isValid());
    EXPECT_EQ(Currency::fromVariant(rs->LeggiCampo(s, "MerceTot", 5)), Currency(0));
}

TEST_P(RecordSet, DaoNumbersForDuplicateKeyAndNoCurrentRecord)
{
    Clienti();
    EXPECT_EQ(NumeroErrore([&] {
                  Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto) VALUES ('01', '10', '0001')");
              }),
              VbErrore::ChiaveDuplicata);
    const QString vuoto = Apri("SELECT * FROM PianoConti WHERE Gruppo = 'qspeftyàòéè§ò'");
    EXPECT_TRUE(rs->FineDati(vuoto));
    EXPECT_TRUE(rs->FineFile(vuoto));
    EXPECT_TRUE(rs->InizioFile(vuoto));
    EXPECT_EQ(NumeroErrore([&] { rs->LeggiCampo(vuoto, "Descrizione"); }), VbErrore::NessunRecordCorrente);
    EXPECT_EQ(NumeroErrore([&] { rs->MuoviPrimo(vuoto); }), VbErrore::NessunRecordCorrente);

    const QString h = Apri("SELECT Gruppo, Mastro, Conto, Ordine FROM PianoContiDoc", RecDat::TipoDinamico);
    for (int volta = 0; volta < 2; ++volta) {
        rs->AggiungiRec(h);
        rs->ScriviCampo(h, "Gruppo", "01");
        rs->ScriviCampo(h, "Mastro", "10");
        rs->ScriviCampo(h, "Conto", "0001");
        rs->ScriviCampo(h, "Ordine", 1);
        EXPECT_EQ(NumeroErrore([&] { rs->AggiornaRec(h); }), volta == 0 ? 0 : VbErrore::ChiaveDuplicata);
    }
    EXPECT_EQ(rs->NumRecord(h), 1);
}

TEST_P(RecordSet, RolledBackTransactionLeavesNothing)
{
    db->IniziaTrans(C);
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('DE', 'Germania')");
    db->IniziaTrans(C);
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('ES', 'Spagna')");
    // A failed statement inside the transaction does not spoil it.
    EXPECT_THROW(Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('DE', 'Doppio')"), VbErrore);
    db->AnnullaTrans(C); // the inner level only
    EXPECT_EQ(db->LivelloTrans(C), 1);
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('AT', 'Austria')");
    db->AnnullaTrans(C);
    EXPECT_EQ(rs->NumRecord(Apri("SELECT * FROM Stati")), 0);

    db->IniziaTrans(C);
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('DE', 'Germania')");
    db->IniziaTrans(C);
    Esegui("INSERT INTO Stati (Stato, Descrizione) VALUES ('ES', 'Spagna')");
    db->AnnullaTrans(C);
    db->ConfermaTrans(C);
    const QString h = Apri("SELECT Stato FROM Stati");
    ASSERT_EQ(rs->NumRecord(h), 1);
    EXPECT_EQ(rs->LeggiCampo(h, "Stato").toString(), "DE");
    EXPECT_EQ(NumeroErrore([&] { db->ConfermaTrans(C); }), 3034);
}

TEST_P(RecordSet, QuotedNameRoundTripAndRowsAffected)
{
    Clienti();
    const QString nome = "D'Amico Srl";
    const QString letterale = "'" + QString(nome).replace("'", "''") + "'";
    const QString h = Apri("Select PianoConti.* From PianoConti Where Descrizione= " + letterale +
                           " and Tipo= '3' and Gruppo & Mastro & Conto <> '01100001'");
    ASSERT_EQ(rs->NumRecord(h), 1);
    EXPECT_EQ(rs->LeggiCampo(h, "Conto").toString(), "0002");
    EXPECT_EQ(db->EseguiSql(C, "UPDATE PianoConti SET RagSoc = " + letterale +
                                   " WHERE Descrizione = 'd''amico srl'"),
              1);
    EXPECT_EQ(db->RecordsAffected(C), 1);
    const QString r = Apri("SELECT RagSoc FROM PianoConti WHERE RagSoc = " + letterale);
    EXPECT_EQ(rs->LeggiCampo(r, "RagSoc").toString(), nome);
}

TEST_P(RecordSet, LikeSearchTakesUserTextLiterally)
{
    int conto = 0;
    for (const char *d : {"Sconto 50%", "Sconto 50 euro", "SCONTO 50% extra", "Sconto 500", "a*b", "axb",
                          "[x]", "x", "#1", "91", "a?c", "abc"}) {
        Esegui(
            QStringLiteral(
                "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) VALUES ('09', '09', '%1', '%2')")
                .arg(++conto, 4, 10, QChar('0'))
                .arg(d));
    }
    // The user's text escaped the Jet way: [ -> [[], * -> [*], ? -> [?], # -> [#].
    auto cerca = [&](const QString &pattern) {
        QStringList trovati;
        const QString h = Apri("SELECT Descrizione FROM PianoConti WHERE Descrizione like '" + pattern +
                               "' ORDER BY Conto");
        for (; !rs->FineFile(h); rs->MuoviSuccessivo(h))
            trovati << rs->LeggiCampo(h, "Descrizione").toString();
        return trovati;
    };
    EXPECT_EQ(cerca("*50%*"), (QStringList{"Sconto 50%", "SCONTO 50% extra"}));
    EXPECT_EQ(cerca("sconto 50*"),
              (QStringList{"Sconto 50%", "Sconto 50 euro", "SCONTO 50% extra", "Sconto 500"}));
    EXPECT_EQ(cerca("*a[*]b*"), (QStringList{"a*b"}));
    EXPECT_EQ(cerca("[[]x]"), (QStringList{"[x]"}));
    EXPECT_EQ(cerca("[#]*"), (QStringList{"#1"}));
    EXPECT_EQ(cerca("a[?]c"), (QStringList{"a?c"}));
    EXPECT_EQ(cerca("a?c"), (QStringList{"a?c", "abc"}));
    EXPECT_EQ(cerca("#1"), (QStringList{"91"}));
}

TEST_P(RecordSet, WritesGoBackByKeyAndCursorFollowsDeletes)
{
    const QString h = Apri("SELECT Gruppo, Mastro, Conto , Ordine, Descrizione, Percorso From PianoContiDoc"
                           " Where Gruppo = '01' And Mastro = '10' And Conto = '0001' Order by Ordine",
                           RecDat::TipoDinamico);
    EXPECT_EQ(rs->NumRecord(h), 0);
    for (int i = 1; i <= 3; ++i) {
        rs->AggiungiRec(h);
        EXPECT_EQ(rs->ModoModifica(h), RecDat::ModoNuovo);
        rs->ScriviCampo(h, "Gruppo", "01");
        rs->ScriviCampo(h, "Mastro", "10");
        rs->ScriviCampo(h, "Conto", "0001");
        rs->ScriviCampo(h, "Ordine", QString::number(i));
        rs->ScriviCampo(h, "Descrizione", QStringLiteral("Documento %1").arg(i));
        rs->AggiornaRec(h);
    }
    rs->MuoviNuovo(h);
    EXPECT_EQ(rs->LeggiCampo(h, "Ordine").toInt(), 3);
    rs->MuoviPrimo(h);
    rs->ModificaRec(h);
    rs->ScriviCampo(h, "Percorso", "/tmp/a.pdf");
    rs->AggiornaRec(h);
    EXPECT_EQ(NumeroErrore([&] { rs->ScriviCampo(h, "Percorso", "x"); }), 3020);
    EXPECT_EQ(NumeroErrore([&] {
                  rs->ModificaRec(h);
                  rs->ScriviCampo(h, "Ordine", "abc");
              }),
              3421);
    rs->AnnullaModifica(h);

    rs->Riesegui(h);
    ASSERT_EQ(rs->NumRecord(h), 3);
    EXPECT_EQ(rs->LeggiCampo(h, "Percorso").toString(), "/tmp/a.pdf");

    // Deleting the last row, then moving back, leaves the new last row current.
    rs->MuoviUltimo(h);
    rs->EliminaRec(h);
    EXPECT_TRUE(rs->NessunRecord(h));
    rs->MuoviPrecedente(h);
    EXPECT_EQ(rs->LeggiCampo(h, "Ordine").toInt(), 2);
    // Deleting the first row and moving back leaves no current row.
    rs->MuoviPrimo(h);
    rs->EliminaRec(h);
    rs->MuoviPrecedente(h);
    EXPECT_TRUE(rs->InizioFile(h));
    EXPECT_FALSE(rs->FineFile(h));
    EXPECT_EQ(rs->Posizione(h), -1);
    rs->ImpostaPosizione(h, 0);
    EXPECT_EQ(rs->LeggiCampo(h, "Ordine").toInt(), 2);

    rs->Riesegui(h);
    EXPECT_EQ(rs->NumRecord(h), 1);
    EXPECT_EQ(NumeroErrore([&] { rs->ModificaRec(Apri("SELECT * FROM PianoContiDoc")); }), 3027);
}

TEST_P(RecordSet, DatesAmountsAndJetFunctions)
{
    Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, DataAp, Descrizione) VALUES ('01', '10', '0007', "
           "#12/31/2024#, 'x')");
    Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto) VALUES ('01', '10', 'A12')");
    const QString h =
        Apri("SELECT DataAp, UCase(Descrizione) AS Maiuscola, Len(Conto) AS L, Mid(Conto, 2, 2) AS M"
             " FROM PianoConti WHERE DataAp = #12/31/2024#");
    ASSERT_FALSE(rs->FineDati(h));
    EXPECT_EQ(rs->LeggiCampo(h, "DataAp").toDate(), QDate(2024, 12, 31));
    EXPECT_EQ(rs->LeggiCampo(h, "DataAp", 8).toString(), "31/12/2024");
    EXPECT_EQ(rs->LeggiCampo(h, "Maiuscola").toString(), "X");
    EXPECT_EQ(rs->LeggiCampo(h, "L").toInt(), 4);
    EXPECT_EQ(rs->LeggiCampo(h, "M").toString(), "00");
    const QString u =
        Apri("SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '01' and Mastro = '10'"
             " and IsNumeric(Conto) <> 0");
    EXPECT_EQ(rs->LeggiCampo(u, "ultimo").toString(), "0007");
    const QString n =
        Apri("SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '01' and Mastro = '10'"
             " and isnumeric(mid(Conto,2)) <> 0 and len(Conto) = 3 And Conto like 'A*'");
    EXPECT_EQ(rs->LeggiCampo(n, "ultimo").toString(), "A12");
}

TEST_P(RecordSet, TableNameBeginningWithADigit)
{
    Esegui("INSERT INTO 0_ClientHotelArdeno (Rag1, TELEFONO) VALUES ('Bianchi', 12345)");
    const QString h = Apri("Select RAG1, TELEFONO from 0_ClientHotelArdeno order by Rag1");
    ASSERT_EQ(rs->NumRecord(h), 1);
    EXPECT_EQ(rs->LeggiCampo(h, "Rag1").toString(), "Bianchi");
    EXPECT_EQ(rs->LeggiCampo(h, "telefono").toInt(), 12345);
}

INSTANTIATE_TEST_SUITE_P(Motori, RecordSet, ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL),
                         NomeMotore);
