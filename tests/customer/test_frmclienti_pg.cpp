// The customer form's save with history and its delete cascade on a
// PostgreSQL company database reached through ODBC.
#include "ClientiPostgres.h"

#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>

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
