// The customer form when the server goes away between a commit and its
// answer: the outcome cannot be known then. The form says so, reads the
// customer again as soon as the server answers, and shows what the database
// holds: a save kept or not, a delete done or not.
#include "ClientiPostgres.h"

#include "support/TagliaConferma.h"

#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>

namespace
{

class ConfermaTagliata : public ClientiPostgres
{
  protected:
    QString Collegamento(PgServer &pg, const QString &connect) override
    {
        m_taglia = std::make_unique<TagliaConferma>(pg.porta());
        return m_taglia->Porta() ? m_taglia->Attraverso(connect) : connect;
    }
    // Lets the form's timer try the server until it has said what it found.
    QString AttendiVerifica()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            const QStringList detti = Messaggi().filter(QStringLiteral("Il server risponde di nuovo"));
            if (!detti.isEmpty())
                return detti.first();
        }
        return {};
    }
    std::unique_ptr<TagliaConferma> m_taglia;
};

} // namespace

TEST_F(ConfermaTagliata, TheCustomerIsReadAgainAndTheWindowShowsWhatTheDatabaseHolds)
{
    ASSERT_NE(m_taglia, nullptr);
    ASSERT_NE(m_taglia->Porta(), 0);
    struct Caso {
        const char *nome;
        bool cancella, dopo;
        const char *detto;
    };
    const Caso casi[] = {
        {"save kept", false, true, "le modifiche risultano SALVATE"},
        {"save lost", false, false, "le modifiche NON risultano salvate"},
        {"delete lost", true, false, "NON risulta cancellato"},
        {"delete kept", true, true, "risulta CANCELLATO"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        const QString nome = QStringLiteral("Verdi ") + QString::fromLatin1(c.nome);
        const QString prima =
            Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString();
        if (!c.cancella) {
            m_form->txt(50)->setText(nome);
            ASSERT_TRUE(m_form->ogComPag()->RecordModificato());
        }
        DimenticaMessaggi();
        m_taglia->Arma(c.dopo);
        Rispondi(1); // "Non archiviare", or "Sì" to the delete
        m_form->ButtonComando(QString::fromLatin1(c.cancella ? "Cancella" : "Salva"));
        ASSERT_TRUE(m_taglia->Usato()) << Messaggi().join('|').toStdString();
        // Said at once: the outcome is not known.
        EXPECT_EQ(Messaggi().filter(QStringLiteral("non si può sapere")).size(), 1)
            << Messaggi().join('|').toStdString();
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

        const QString detto = AttendiVerifica();
        EXPECT_TRUE(detto.contains(QString::fromLatin1(c.detto))) << Messaggi().join('|').toStdString();
        const int righe = Conta(QStringLiteral("Select Count(*) From PianoConti Where Conto = '0001'"));
        if (c.cancella) {
            EXPECT_EQ(righe, c.dopo ? 0 : 1);
            EXPECT_EQ(m_form->txt(30)->text(), c.dopo ? QString() : QStringLiteral("0001"));
        } else {
            EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(),
                      c.dopo ? nome : prima);
            // The window keeps the edits either way: stored, or still to save.
            EXPECT_EQ(m_form->txt(50)->text(), nome);
            EXPECT_EQ(m_form->ogComPag()->RecordModificato(), !c.dopo);
            if (!c.dopo) {
                // The same save goes through now.
                DimenticaMessaggi();
                Rispondi(1);
                m_form->ButtonComando(QStringLiteral("Salva"));
                EXPECT_EQ(
                    Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(),
                    nome)
                    << Messaggi().join('|').toStdString();
            }
        }
    }
}

// The connection lost inside the transaction of a save with archiving, at the
// history row or at the customer's own row: one message says so, the
// transaction is over (level 0), no question stands in for the error, the
// next read reconnects and the same save then goes through.
TEST_F(ConfermaTagliata, ALossInsideTheArchivingTransactionEndsItAndIsToldOnce)
{
    ASSERT_NE(m_taglia, nullptr);
    ASSERT_NE(m_taglia->Porta(), 0);
    const char *dove[] = {"insert\\s+into\\s+\"?pdcstorico", "update\\s+\"?pianoconti\"?\\s+set"};
    int giro = 0;
    for (const char *d : dove) {
        SCOPED_TRACE(d);
        const QString nome = QStringLiteral("Gialli %1").arg(++giro);
        m_form->txt(50)->setText(nome);
        DimenticaMessaggi();
        m_taglia->ArmaSu(QString::fromLatin1(d));
        Rispondi(2); // archive the data before
        m_form->ButtonComando(QStringLiteral("Salva"));
        ASSERT_TRUE(m_taglia->Usato()) << Messaggi().join('|').toStdString();
        const QStringList detti = Messaggi();
        // The archiving question, then the error, once; nothing else is asked.
        ASSERT_GE(detti.size(), 2) << detti.join('|').toStdString();
        EXPECT_TRUE(detti.first().contains(QStringLiteral("ARCHIVIARE SOLO SE")));
        EXPECT_EQ(detti.filter(QStringLiteral("Errore(3151)")).size(), 1) << detti.join('|').toStdString();
        EXPECT_EQ(detti.filter(QStringLiteral("ARCHIVIARE SOLO SE")).size(), 1);
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
        EXPECT_EQ(m_form->txt(50)->text(), nome);
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico")), giro - 1);

        DimenticaMessaggi();
        Rispondi(2);
        m_form->ButtonComando(QStringLiteral("Salva"));
        EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(),
                  nome)
            << Messaggi().join('|').toStdString();
        // One history row a day, whatever the saves.
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico")), 1)
            << Messaggi().join('|').toStdString();
        EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
    }
}
