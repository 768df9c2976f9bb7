// Saving, deleting and copying a customer: the save checks with their exact
// messages, the history row of a changed name or address, the delete checks
// and cascade in one transaction, the copy.
#include "BancoClienti.h"

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace
{

const QString kNoPiva = QStringLiteral("ATTENZIONE: la partita iva ed il codice fiscale non sono compilati");

QString dove(const QStringList &k)
{
    return QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'").arg(k[0], k[1], k[2]);
}

} // namespace

class Salva : public BancoClienti
{
  protected:
    QStringList LeggiCliente(const QString &condizione = QStringLiteral("1 = 1"))
    {
        const QStringList k = Clienti(condizione).value(0).split(u'|');
        EXPECT_EQ(k.size(), 3);
        if (k.size() == 3) {
            EXPECT_TRUE(Leggi(k[0], k[1], k[2]));
        }
        DimenticaMessaggi();
        return k;
    }
    bool SalvaRecord()
    {
        const bool ok = m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool();
        Attendi();
        return ok;
    }
};

TEST_F(Salva, ChecksRefuseOrWarnWithTheirMessages)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k =
        LeggiCliente(QStringLiteral("P.PartIva Is Not Null And P.PartIva <> '' And P.Stato = 'IT' And "
                                    "(P.FARappFiscStato Is Null Or P.FARappFiscStato = '')"));
    struct Caso {
        const char *nome;
        std::vector<std::pair<int, const char *>> campi;
        bool salvato;
        const char *messaggio;
    };
    const Caso casi[] = {
        {"agenti uguali",
         {{5150, "ag1"}, {5160, " AG1 "}},
         false,
         "ATTENZIONE: Nel quadro FATTURAZIONE i cod.Agente 1 e 2 sono UGUALI"},
        {"un agente solo", {{5150, "ag1"}, {5160, ""}}, true, nullptr},
        {"blacklist senza stato",
         {{1115, "s"}, {1050, "  "}},
         false,
         "ATTENZIONE: per clienti in blacklist è obbligatorio lo stato"},
        {"rappresentante a metà",
         {{1115, "N"}, {1050, "IT"}, {8060, "X123"}, {8070, ""}},
         false,
         "ATTENZIONE: Rappresentante Fiscale - i campi Codice Fiscale e Stato o si lasciano bianchi o vanno "
         "compilati entrambi"},
        {"rappresentante completo", {{8060, "X123"}, {8070, "DE"}}, true, nullptr},
        {"dichiarazione senza date",
         {{4195, "12"}, {4190, ""}, {4196, ""}},
         true,
         "ATTENZIONE: inserire la data della dich.di intenti e/o data di ricevimento dich.di intenti"},
    };
    for (const Caso &c : casi) {
        for (const auto &[i, t] : c.campi)
            m_form->txt(i)->setText(QString::fromUtf8(t));
        DimenticaMessaggi();
        EXPECT_EQ(SalvaRecord(), c.salvato) << c.nome;
        if (c.messaggio) {
            EXPECT_TRUE(Messaggi().contains(QString::fromUtf8(c.messaggio)))
                << c.nome << ": " << Messaggi().join('|').toStdString();
        } else {
            EXPECT_TRUE(Messaggi().isEmpty()) << c.nome << ": " << Messaggi().join('|').toStdString();
        }
    }
    EXPECT_EQ(Valore(QStringLiteral("Select FARappFiscStato From PianoConti") + dove(k)).toString(), "DE");

    m_form->txt(1090)->setText(QString());
    m_form->txt(1100)->setText(QString());
    DimenticaMessaggi();
    EXPECT_TRUE(SalvaRecord());
    EXPECT_TRUE(Messaggi().contains(kNoPiva));
}

TEST_F(Salva, ChangedNameOrAddressIsArchivedOncePerDay)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = LeggiCliente(QStringLiteral("P.RagSoc Is Not Null"));
    const QString primaRagSoc = m_form->txt(50)->text();
    const QString primoCap = m_form->txt(1020)->text();
    const int righe = Conta(QStringLiteral("Select Count(*) From PdcStorico") + dove(k));

    m_form->txt(50)->setText(QStringLiteral("D'Amico & Figli S.r.l."));
    m_form->txt(1020)->setText(QStringLiteral("00100"));
    Rispondi(2);
    ASSERT_TRUE(SalvaRecord());
    const QStringList m = Messaggi();
    ASSERT_FALSE(m.isEmpty());
    EXPECT_EQ(m.first(),
              QStringLiteral("Attenzione: sono stati modificati campi dell'anagrafica del cliente \r\n"
                             "Ragione Sociale 1' parte - CAP\r\n\r\n"
                             "ARCHIVIARE SOLO SE I DATI PRECEDENTI ERANO CORRETTI !!!"));
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico") + dove(k)), righe + 1);
    const QString oggi = Globali::DataMenu.toString(QStringLiteral("#MM/dd/yyyy#"));
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PdcStorico") + dove(k) +
                     QStringLiteral(" And DataVar = ") + oggi)
                  .toString(),
              primaRagSoc);
    EXPECT_EQ(Valore(QStringLiteral("Select CAP From PdcStorico") + dove(k) +
                     QStringLiteral(" And DataVar = ") + oggi)
                  .toString(),
              primoCap);
    EXPECT_EQ(Valore(QStringLiteral("Select Tipo From PdcStorico") + dove(k) +
                     QStringLiteral(" And DataVar = ") + oggi)
                  .toString(),
              "2");
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti") + dove(k)).toString(),
              "D'Amico & Figli S.r.l.");
    EXPECT_EQ(m_form->NumStorico, 1);

    // The same day again: told once, no second row, the save completes.
    m_form->txt(50)->setText(QStringLiteral("D'Amico S.p.A."));
    DimenticaMessaggi();
    Rispondi(2);
    ASSERT_TRUE(SalvaRecord());
    EXPECT_TRUE(
        Messaggi().contains(QString::fromUtf8("In data di oggi l'anagrafica è già stata archiviata.\r\n"
                                              "Non è possibile archiviarla di nuovo.")));
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico") + dove(k)), righe + 1);
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti") + dove(k)).toString(), "D'Amico S.p.A.");
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    // The next day the stored name, apostrophe and all, becomes history.
    Globali::DataMenu = Globali::DataMenu.addDays(1);
    m_form->txt(50)->setText(QStringLiteral("Rossi Anna"));
    DimenticaMessaggi();
    Rispondi(2);
    ASSERT_TRUE(SalvaRecord()) << Messaggi().join('|').toStdString();
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PdcStorico") + dove(k) +
                     QStringLiteral(" And DataVar = ") +
                     Globali::DataMenu.toString(QStringLiteral("#MM/dd/yyyy#")))
                  .toString(),
              "D'Amico S.p.A.");
    EXPECT_EQ(m_form->NumStorico, 2);
}

TEST_F(Salva, DeclinedArchivingSavesWithoutHistory)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = LeggiCliente();
    const int righe = Conta(QStringLiteral("Select Count(*) From PdcStorico") + dove(k));
    m_form->txt(40)->setText(QStringLiteral("Nuova denominazione"));
    Rispondi(1);
    ASSERT_TRUE(SalvaRecord());
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico") + dove(k)), righe);
    EXPECT_EQ(Valore(QStringLiteral("Select Descrizione From PianoConti") + dove(k)).toString(),
              "Nuova denominazione");
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
}

TEST_F(Salva, AFailedHistoryRowRefusesTheSaveAndLeavesNothing)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = LeggiCliente();
    Esegui(QStringLiteral("DROP TABLE PdcStorico"));
    m_form->txt(40)->setText(QStringLiteral("Denominazione rifiutata"));
    Rispondi(2);
    EXPECT_FALSE(SalvaRecord());
    EXPECT_TRUE(
        Messaggi().contains(QStringLiteral("Errore nell'archiviazione dei dati anagrafici:\r\n"
                                           "I dati anagrafici precedenti NON sono stati archiviati\r\n"
                                           "Le modifiche non sono state salvate e restano nella finestra: "
                                           "per salvarle senza archiviare, salvare di nuovo e scegliere "
                                           "\"Non archiviare\".")));
    EXPECT_NE(Valore(QStringLiteral("Select Descrizione From PianoConti") + dove(k)).toString(),
              "Denominazione rifiutata");
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
    EXPECT_TRUE(m_form->ogComPag()->TransazioneAbilitata());
}

TEST_F(Salva, ANewAccountAsksNothingAboutHistory)
{
    ASSERT_NE(Apri(), nullptr);
    m_form->txt(30)->setText(QStringLiteral("9990"));
    m_form->txt(40)->setText(QStringLiteral("Cliente nuovo di prova"));
    m_form->txt(1090)->setText(QStringLiteral("00743110157"));
    ASSERT_NE(m_form->labMax->text(), "9990");
    ASSERT_TRUE(SalvaRecord()) << Messaggi().join('|').toStdString();
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
    EXPECT_EQ(
        Valore(QStringLiteral("Select Tipo From PianoConti Where Gruppo = '01' And Mastro = '05' And Conto = "
                              "'9990'"))
            .toString(),
        "3");
    // The saved account stays shown, and the ledger's last code is the new one.
    EXPECT_EQ(m_form->ogComPag()->StatoPagina(), GestPagine::StatoRecord);
    EXPECT_EQ(m_form->txt(40)->text(), "Cliente nuovo di prova");
    EXPECT_EQ(m_form->labMax->text(), "9990");
}

TEST_F(Salva, ALedgerThatIsNotForCustomersIsRefused)
{
    ASSERT_NE(Apri(), nullptr);
    m_form->txt(20)->setText(QStringLiteral("10"));
    m_form->txt(30)->setText(QStringLiteral("0099"));
    m_form->txt_LostFocus(30);
    Attendi();
    EXPECT_TRUE(
        Messaggi().contains(QString::fromUtf8("Mastro non valido: non è possibile utilizzarlo in questa "
                                              "gestione")));
    EXPECT_NE(m_form->ogComPag()->StatoPagina(), GestPagine::StatoRecord);

    DimenticaMessaggi();
    m_form->txt(20)->setText(QStringLiteral("77"));
    m_form->txt_LostFocus(30);
    Attendi();
    EXPECT_TRUE(Messaggi().isEmpty()) << "a ledger missing from Mastri is left to the field check";
}

TEST_F(Salva, DeleteIsRefusedForAccountsWithTotalsOrMovements)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList conSintesi = LeggiCliente(QStringLiteral(
        "Exists (Select * From PdcProg Where CoPartGruppo = P.Gruppo And CoPartMastro = P.Mastro And "
        "CoPartConto = P.Conto)"));
    Rispondi(1);
    EXPECT_FALSE(m_form->ogComPag()->EseguiComando(QStringLiteral("Cancella")).toBool());
    EXPECT_TRUE(Messaggi().contains(
        QString::fromUtf8("Esistono delle sintesi relative al conto. Non è possibile cancellarlo")));
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PianoConti") + dove(conSintesi)), 1);

    const QStringList conMovimenti = LeggiCliente(QStringLiteral(
        "Exists (Select * From MovPnDett Where GruppoPartita = P.Gruppo And MastroPartita = P.Mastro And "
        "ContoPartita = P.Conto) And Not Exists (Select * From PdcProg Where CoPartGruppo = P.Gruppo And "
        "CoPartMastro = P.Mastro And CoPartConto = P.Conto)"));
    Rispondi(1);
    EXPECT_FALSE(m_form->ogComPag()->EseguiComando(QStringLiteral("Cancella")).toBool());
    EXPECT_TRUE(Messaggi().contains(QString::fromUtf8(
        "Esistono dei movimenti di prima nota relativi al conto. Non è possibile cancellarlo")));
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PianoConti") + dove(conMovimenti)), 1);
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
}

TEST_F(Salva, AfterDeleteEndsOnlyATransactionItsBeforeCallbackBegan)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = LeggiCliente();
    DbMotore *db = Globali::DbComp();
    // A transaction of someone else's (another window, a caller) is open.
    for (int esito : {0, 3022}) {
        db->IniziaTrans(Globali::DbAzienda);
        Esegui(QStringLiteral("Update PianoConti Set Fax = 'in sospeso'") + dove(k));
        QVariant pvRit = esito;
        QVariantList pvArray{QVariant(esito == 0), QVariant()};
        m_form->PersPagDop(GestPagine::OpCancella, pvRit, pvArray);
        EXPECT_EQ(db->LivelloTrans(Globali::DbAzienda), 1) << esito;
        db->AnnullaTrans(Globali::DbAzienda);
        EXPECT_NE(Valore(QStringLiteral("Select Fax From PianoConti") + dove(k)).toString(), "in sospeso")
            << esito;
    }
}

namespace
{
const QString kLibero = QStringLiteral(
    "Not Exists (Select * From PdcProg Where CoPartGruppo = P.Gruppo And CoPartMastro = P.Mastro And "
    "CoPartConto = P.Conto) And Not Exists (Select * From MovPnDett Where (GruppoPartita = P.Gruppo And "
    "MastroPartita = P.Mastro And ContoPartita = P.Conto) Or (GruppoCPartita = P.Gruppo And MastroCPartita = "
    "P.Mastro And ContoCPartita = P.Conto))");
}

TEST_F(Salva, DeleteRemovesTheAccountAndItsSatelliteRowsTogether)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = LeggiCliente(kLibero);
    const QString w = dove(k);
    Esegui(QStringLiteral(
               "Insert Into IndSped (Gruppo, Mastro, Conto, IndSped, Descrizione) Values ('%1','%2','%3',"
               "'99','Magazzino')")
               .arg(k[0], k[1], k[2]));
    Esegui(QStringLiteral("Insert Into PianoContiDoc (Gruppo, Mastro, Conto, Ordine, Descrizione) Values "
                          "('%1','%2','%3',99,'Contratto')")
               .arg(k[0], k[1], k[2]));
    Esegui(QStringLiteral("Insert Into PdcStorico (Gruppo, Mastro, Conto, Tipo, Descrizione) Values "
                          "('%1','%2','%3','2','Vecchio nome')")
               .arg(k[0], k[1], k[2]));
    Esegui(
        QStringLiteral("Insert Into PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione) Values "
                       "('%1','%2','%3',99,'Lettera')")
            .arg(k[0], k[1], k[2]));
    Rispondi(1);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Cancella")).toBool())
        << Messaggi().join('|').toStdString();
    for (const char *t : {"PianoConti", "IndSped", "PianoContiDoc", "PdcStorico", "PdcDicIntenti"})
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From ") + QString::fromLatin1(t) + w), 0) << t;
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
}

TEST_F(Salva, AFailingStepOfTheDeleteRollsEverythingBack)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = LeggiCliente(kLibero);
    const QString w = dove(k);
    Esegui(QStringLiteral(
               "Insert Into IndSped (Gruppo, Mastro, Conto, IndSped, Descrizione) Values ('%1','%2','%3',"
               "'99','Magazzino')")
               .arg(k[0], k[1], k[2]));
    const int indirizzi = Conta(QStringLiteral("Select Count(*) From IndSped") + w);
    Esegui(QStringLiteral("DROP TABLE PdcDicIntenti"));
    Rispondi(1);
    EXPECT_FALSE(m_form->ogComPag()->EseguiComando(QStringLiteral("Cancella")).toBool());
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PianoConti") + w), 1);
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From IndSped") + w), indirizzi);
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
    EXPECT_FALSE(Messaggi().isEmpty());
}

TEST_F(Salva, CopyKeepsTheDataButNotTheAddressCodes)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = LeggiCliente(QStringLiteral("P.IndSped Is Not Null And P.IndSped <> ''"));
    const QString descrizione = m_form->txt(40)->text();
    ASSERT_FALSE(m_form->txt(5140)->text().isEmpty());
    m_form->txt(1125)->setText(QStringLiteral("TR1"));
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Duplica")).toBool());
    EXPECT_EQ(m_form->txt(40)->text(), descrizione);
    EXPECT_EQ(m_form->txt(5140)->text(), "");
    EXPECT_EQ(m_form->txt(4180)->text(), "");
    EXPECT_EQ(m_form->txt(1125)->text(), "");
    EXPECT_EQ(m_form->txt(30)->text(), "");
    EXPECT_FALSE(m_form->labMax->text().isEmpty());
    // The code of an existing customer typed into the copy reads it only
    // when the user agrees; otherwise the copy stays as it is.
    const QString altro = Clienti(QStringLiteral("P.Conto <> '%1'").arg(k[2])).value(0).split(u'|').value(2);
    m_form->txt(30)->setText(altro);
    DimenticaMessaggi();
    Rispondi(2);
    m_form->txt_LostFocus(30);
    Attendi();
    EXPECT_TRUE(Messaggi().contains(QString::fromUtf8("Esiste già un record con questo codice: leggerlo?\r\n"
                                                      "I dati inseriti e non salvati andranno persi.")));
    EXPECT_EQ(m_form->txt(40)->text(), descrizione);
    EXPECT_EQ(m_form->ogComPag()->StatoPagina(), GestPagine::StatoNuovo);
    m_form->txt(30)->setText(QStringLiteral("9991"));
    ASSERT_TRUE(SalvaRecord()) << Messaggi().join('|').toStdString();
    EXPECT_EQ(
        Valore(QStringLiteral("Select Descrizione From PianoConti Where Gruppo = '%1' And Mastro = '%2' And "
                              "Conto = '9991'")
                   .arg(k[0], k[1]))
            .toString(),
        descrizione);
}

TEST_F(Salva, LeavingTheAccountCodeOfANewRecordBringsAnExistingAccountsName)
{
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = LeggiCliente();
    // An account of the customers' ledger that is not a customer: the form
    // does not read it, the account code's decoding names it.
    Esegui(QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) "
                          "Values ('%1', '%2', '9993', '4', 'Conto di prova')")
               .arg(k[0], k[1]));
    m_form->ogComPag()->EseguiComando(QStringLiteral("Nuovo"));
    Attendi();
    ASSERT_EQ(m_form->ogComPag()->StatoPagina(), GestPagine::StatoNuovo);
    m_form->txt(10)->setText(k[0]);
    m_form->txt(20)->setText(k[1]);
    m_form->txt(40)->setText(QStringLiteral("Nome scritto"));
    m_form->txt(30)->setText(QStringLiteral("9993"));
    m_form->txt_LostFocus(30);
    Attendi();
    EXPECT_EQ(m_form->txt(40)->text(), "Conto di prova");
    // A code no account has leaves the name as typed.
    m_form->txt(40)->setText(QStringLiteral("Nome scritto"));
    m_form->txt(30)->setText(QStringLiteral("9994"));
    m_form->txt_LostFocus(30);
    Attendi();
    EXPECT_EQ(m_form->txt(40)->text(), "Nome scritto");
}

TEST_F(Salva, EveryFieldTakesAtMostWhatItsColumnHolds)
{
    ASSERT_NE(Apri(), nullptr);
    const QHash<QString, int> lunghezze = Schema::LunghezzeTesto(QStringLiteral("PianoConti"));
    ASSERT_EQ(lunghezze.value(QStringLiteral("descrizione")), 60);
    int controllati = 0;
    for (auto [i, t] : m_form->txt) {
        const QString campo = m_form->ogComPag()->NomeCampoControllo(t);
        if (campo.isEmpty() || campo.startsWith(u'|'))
            continue;
        const int n = lunghezze.value(campo.toLower());
        EXPECT_EQ(t->maxLength(), n > 0 ? n : 32767) << campo.toStdString();
        controllati += n > 0 ? 1 : 0;
    }
    EXPECT_GT(controllati, 100);

    // A 500-character name, typed or written by a command, is stored at 60.
    const QStringList k = LeggiCliente();
    const QString lungo = QString(500, u'x');
    m_form->txt(60)->setFocus();
    QTest::keyClicks(m_form->txt(60), lungo.left(80));
    m_form->txt(50)->setText(lungo);
    Rispondi(1); // no history
    ASSERT_TRUE(SalvaRecord()) << Messaggi().join('|').toStdString();
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti") + dove(k)).toString(), lungo.left(60));
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc2 From PianoConti") + dove(k)).toString().size(), 60);
}

// A cleared form shows beside the group and the ledger the names of the
// codes the clear put there, never those of the account shown before.
TEST_F(Salva, AClearedFormNamesTheGroupAndLedgerItShows)
{
    ASSERT_NE(Apri(), nullptr);
    struct Caso {
        const char *comando;
        int risposta;       // to the question the command asks (0 none)
        const char *mastro; // the ledger the cleared form shows
    };
    const Caso casi[] = {{"Cancella", 1, "05"}, {"Nuovo", 0, "05"}, {"Ricerca", 0, ""}};
    const auto nome = [this](const QString &sql) { return Valore(sql).toString().trimmed(); };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.comando);
        const QStringList k = LeggiCliente(QStringLiteral("P.Mastro = '06' And ") + kLibero);
        ASSERT_EQ(m_form->Lab(20)->text().trimmed(), QStringLiteral("CREDITI VERSO CLIENTI ESTERO"));
        if (c.risposta)
            Rispondi(c.risposta);
        ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QString::fromLatin1(c.comando)).toBool())
            << Messaggi().join('|').toStdString();
        Attendi();
        const QString mastro = QString::fromLatin1(c.mastro);
        EXPECT_EQ(m_form->txt(20)->text(), mastro);
        EXPECT_EQ(m_form->Lab(20)->text().trimmed(),
                  mastro.isEmpty() ? QString()
                                   : nome(QStringLiteral("Select Descrizione From Mastri Where Gruppo = '%1' "
                                                         "And Mastro = '%2'")
                                              .arg(m_form->txt(10)->text(), mastro)));
        if (!m_form->txt(10)->text().isEmpty()) {
            EXPECT_EQ(m_form->Lab(10)->text().trimmed(),
                      nome(QStringLiteral("Select Descrizione From Gruppi Where Gruppo = '%1'")
                               .arg(m_form->txt(10)->text())));
        }
    }
}
