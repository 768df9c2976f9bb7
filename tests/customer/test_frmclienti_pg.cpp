// The customer form's save with history and its delete cascade on a
// PostgreSQL company database reached through ODBC.
#include "ClientiPostgres.h"

#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTableView>

TEST_F(ClientiPostgres, SaveArchivesTheOldNameOnceAndWritesTheNewOne)
{
    m_form->txt(50)->setText(QStringLiteral("D'Amico Anna"));
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool())
        << Messaggi().join('|').toStdString();
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(),
              "D'Amico Anna");
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PdcStorico Where Conto = '0001'")).toString(),
              "Rossi Mario");
    EXPECT_EQ(Valore(QStringLiteral("Select Tipo From PdcStorico Where Conto = '0001'")).toString(), "2");

    // The same day again: the table's key refuses the row, the save goes on.
    m_form->txt(50)->setText(QStringLiteral("D'Angelo Anna"));
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_TRUE(
        Messaggi().contains(QString::fromUtf8("In data di oggi l'anagrafica è già stata archiviata.\r\n"
                                              "Non è possibile archiviarla di nuovo.")));
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico Where Conto = '0001'")), 1);
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(),
              "D'Angelo Anna");
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    // The next day the stored name with its apostrophe becomes history.
    Globali::DataMenu = Globali::DataMenu.addDays(1);
    m_form->txt(50)->setText(QStringLiteral("Bianchi Anna"));
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico Where Conto = '0001'")), 2);
    EXPECT_EQ(Conta(QStringLiteral(
                  "Select Count(*) From PdcStorico Where Conto = '0001' And RagSoc = 'D''Angelo Anna'")),
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

TEST_F(ClientiPostgres, GridLinesAreWrittenAndDeletedOnTheServer)
{
    struct Griglia {
        int tab;
        QVariantMap nuova;
        const char *tabella, *chiave;
    };
    const Griglia griglie[] = {
        {10,
         {{"PdcDicIntenti", "2"},
          {"Descrizione", "Lettera d'intento"},
          {"ProtRicezione", "24012012345-000001"},
          {"DataRicAE", "20/01/2024"},
          {"ImportoDichIntenti", "1.234,56"}},
         "PdcDicIntenti",
         "PdcDicIntenti"},
        {8,
         {{"Ordine", "2"}, {"Descrizione", "Mandato"}, {"Percorso", "§Doc§/m.pdf"}},
         "PianoContiDoc",
         "Ordine"},
    };
    for (const Griglia &c : griglie) {
        m_form->SelezionaTab(c.tab);
        Attendi();
        GestLinee *g = m_form->GestLin(c.tab == 10 ? 1 : 0);
        m_form->ButtonComandoLin(*g, QStringLiteral("Nuovo"));
        for (auto it = c.nuova.constBegin(); it != c.nuova.constEnd(); ++it)
            g->ImpostaValoreCella(it.key(), it.value());
        m_form->ButtonComandoLin(*g, QStringLiteral("Salva"));
        Attendi();
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
        const QString tabella = QString::fromLatin1(c.tabella), chiave = QString::fromLatin1(c.chiave);
        const QString riga =
            QStringLiteral(" From ") + tabella +
            QStringLiteral(" Where Gruppo = '01' And Mastro = '05' And Conto = '0001' And ") + chiave +
            QStringLiteral(" = 2");
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*)") + riga), 1) << c.tabella;
        EXPECT_EQ(Valore(QStringLiteral("Select Descrizione") + riga),
                  c.nuova.value(QStringLiteral("Descrizione")));
        if (c.tab == 10) {
            EXPECT_EQ(Valore(QStringLiteral("Select ImportoDichIntenti") + riga).toDouble(), 1234.56);
        }
        ASSERT_EQ(g->NumeroRighe(), 2);
        // The first line goes after the user confirms.
        m_form->dbgRiga(c.tab == 10 ? 1 : 0)
            ->setCurrentIndex(m_form->dbgRiga(c.tab == 10 ? 1 : 0)->model()->index(0, 4));
        Rispondi(1);
        m_form->ButtonComandoLin(*g, QStringLiteral("Cancella"));
        Attendi();
        EXPECT_EQ(Messaggi().value(0), QStringLiteral("Confermi la cancellazione della riga?"));
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From ") + tabella +
                        QStringLiteral(" Where Conto = '0001'")),
                  1);
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*)") + riga), 1);
        EXPECT_EQ(g->NumeroRighe(), 1);
        DimenticaMessaggi();
    }
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
}

// The server's duplicate key is said as on SQLite, and the line saves once
// its code is changed.
TEST_F(ClientiPostgres, ADuplicateLineCodeIsSaidInItalian)
{
    struct Griglia {
        int tab;
        QVariantMap nuova;
        const char *tabella, *chiave, *messaggio;
    };
    const Griglia griglie[] = {
        {10,
         {{"PdcDicIntenti", "1"}, {"ProtRicezione", "24012012345-000001"}, {"DataRicAE", "20/01/2024"}},
         "PdcDicIntenti",
         "PdcDicIntenti",
         "Il codice 1 è già assegnato a un'altra dichiarazione d'intenti di questo cliente: la riga non è "
         "stata salvata e resta nella griglia; indicare un codice diverso e salvare di nuovo."},
        {8,
         {{"Ordine", "1"}, {"Descrizione", "Mandato"}},
         "PianoContiDoc",
         "Ordine",
         "Il numero d'ordine 1 è già assegnato a un altro documento di questo cliente: la riga non è stata "
         "salvata e resta nella griglia; indicare un numero diverso e salvare di nuovo."},
    };
    for (const Griglia &c : griglie) {
        SCOPED_TRACE(c.tabella);
        m_form->SelezionaTab(c.tab);
        Attendi();
        GestLinee *g = m_form->GestLin(c.tab == 10 ? 1 : 0);
        const QString conta = QStringLiteral("Select Count(*) From ") + QString::fromLatin1(c.tabella) +
                              QStringLiteral(" Where Conto = '0001'");
        DimenticaMessaggi();
        m_form->ButtonComandoLin(*g, QStringLiteral("Nuovo"));
        for (auto it = c.nuova.constBegin(); it != c.nuova.constEnd(); ++it)
            g->ImpostaValoreCella(it.key(), it.value());
        m_form->ButtonComandoLin(*g, QStringLiteral("Salva"));
        Attendi();
        ASSERT_EQ(Messaggi().size(), 1) << Messaggi().join('|').toStdString();
        EXPECT_EQ(Messaggi().value(0).section(u'\n', 0, 0), QString::fromUtf8(c.messaggio));
        EXPECT_TRUE(
            Messaggi().value(0).section(u'\n', 1).startsWith(QStringLiteral("Dettaglio: errore 3022, ")));
        EXPECT_EQ(g->Colonne().value(g->ColonnaCorrente()).toStdString(), c.chiave);
        EXPECT_EQ(Conta(conta), 1);
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

        DimenticaMessaggi();
        g->ImpostaValoreCella(QString::fromLatin1(c.chiave), QStringLiteral("5"));
        m_form->ButtonComandoLin(*g, QStringLiteral("Salva"));
        Attendi();
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
        EXPECT_EQ(Conta(conta), 2);
    }
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

// On the server too, the account's name of a record read comes from its own
// row (trimmed), with no second read of it.
TEST_F(ClientiPostgres, AccountNameOfARecordReadComesFromItsOwnRow)
{
    Esegui(QStringLiteral("Update PianoConti Set Descrizione = '  Conto sul server  ' Where Conto = '0002'"));
    int decodifiche = 0;
    Globali::DbComp()->ImpostaOsservatoreSelect([&](const QString &sql) {
        decodifiche += sql.contains(QLatin1String(" AS CodRic")) &&
                               sql.contains(QLatin1String("FROM PianoConti"), Qt::CaseInsensitive)
                           ? 1
                           : 0;
    });
    ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0002")));
    Globali::DbComp()->ImpostaOsservatoreSelect({});
    EXPECT_EQ(m_form->txt(40)->text(), "Conto sul server");
    EXPECT_EQ(decodifiche, 0);
}

// On the server a company's sex code is "M" whatever the page it is saved
// from: a stored "M" is kept and an empty one becomes "M", the record not
// marked changed by its reading.
TEST_F(ClientiPostgres, ACompanySavedFromAnotherPageHoldsItsSexCode)
{
    for (const char *sesso : {"'M'", "NULL"}) {
        Esegui(QStringLiteral("Update PianoConti Set Sesso = %1 Where Conto = '0002'")
                   .arg(QLatin1String(sesso)));
        m_form->SelezionaTab(4);
        Attendi();
        ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0002"))) << sesso;
        EXPECT_FALSE(m_form->ogComPag()->RecordModificato()) << sesso;
        m_form->txt(1065)->setText(QStringLiteral("02 555"));
        DimenticaMessaggi();
        EXPECT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool())
            << sesso << Messaggi().join('|').toStdString();
        EXPECT_EQ(Valore(QStringLiteral("Select Sesso From PianoConti Where Conto = '0002'")).toString(), "M")
            << sesso;
        EXPECT_EQ(Valore(QStringLiteral("Select Telefono1 From PianoConti Where Conto = '0002'")).toString(),
                  "02 555")
            << sesso;
    }
}
