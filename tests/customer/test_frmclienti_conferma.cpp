// The customer form when the server goes away between a commit and its
// answer: the outcome cannot be known then. The form says so, reads the
// customer again as soon as the server answers, and shows what the database
// holds: a save kept or not, a delete done or not.
#include "ClientiPostgres.h"

#include "support/InoltroTcp.h"
#include "support/TagliaConferma.h"

#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

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

// What is typed while the server is away is no part of the save whose commit
// lost its answer: the save is found kept all the same, and what was typed
// since stays in the window, still to save.
TEST_F(ConfermaTagliata, AnEditTypedBeforeTheServerAnswersIsNoPartOfTheSaveChecked)
{
    ASSERT_NE(m_taglia, nullptr);
    ASSERT_NE(m_taglia->Porta(), 0);
    const QString cliente = QStringLiteral(" From PianoConti Where Conto = '0001'");
    m_form->txt(50)->setText(QStringLiteral("Verdi Anna"));
    DimenticaMessaggi();
    m_taglia->Arma(true);
    Rispondi(1);
    m_form->ButtonComando(QStringLiteral("Salva"));
    ASSERT_TRUE(m_taglia->Usato()) << Messaggi().join('|').toStdString();
    m_form->txt(1010)->setText(QStringLiteral("Via Milano 2"));

    const QString detto = AttendiVerifica();
    EXPECT_TRUE(detto.contains(QStringLiteral("le modifiche risultano SALVATE"))) << detto.toStdString();
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc") + cliente).toString(), QStringLiteral("Verdi Anna"));
    EXPECT_EQ(Valore(QStringLiteral("Select Indirizzo") + cliente).toString(), QStringLiteral("Via Roma 1"));
    EXPECT_EQ(m_form->txt(50)->text(), QStringLiteral("Verdi Anna"));
    EXPECT_EQ(m_form->txt(1010)->text(), QStringLiteral("Via Milano 2"));
    EXPECT_TRUE(m_form->ogComPag()->RecordModificato());

    DimenticaMessaggi();
    Rispondi(1);
    m_form->ButtonComando(QStringLiteral("Salva"));
    EXPECT_EQ(Valore(QStringLiteral("Select Indirizzo") + cliente).toString(), QStringLiteral("Via Milano 2"))
        << Messaggi().join('|').toStdString();
    EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
}

// A line of either grid saved or deleted while the connection is cut at its
// commit: once the server answers, the grid reads its rows again, shows the
// line as the database holds it and a message says so. A line found saved is
// a stored line (what was typed on it since waits to be saved over it), never
// a new line to insert a second time; a line not saved stays to be saved.
TEST_F(ConfermaTagliata, AGridLineIsReadAgainAndShownAsTheDatabaseHoldsIt)
{
    ASSERT_NE(m_taglia, nullptr);
    ASSERT_NE(m_taglia->Porta(), 0);
    struct Caso {
        int griglia;
        bool cancella, dopo;
        const char *poi; // typed on the line before the server answers
        bool subito;     // saved again before the server is tried
        const char *detto;
        bool spostandosi = false; // saved again by moving to another row
    };
    const Caso casi[] = {
        {0, false, false, nullptr, false, "le modifiche NON risultano salvate"},
        {0, false, true, nullptr, false, "risulta SALVATA"},
        {0, false, true, "Nuovo doc rivisto", false, "risulta SALVATA"},
        {0, false, true, nullptr, true, "risulta SALVATA"},
        {1, false, false, nullptr, false, "le modifiche NON risultano salvate"},
        {1, false, true, "Lettera rivista", false, "risulta SALVATA"},
        {1, false, true, nullptr, true, "risulta SALVATA"},
        {0, false, true, nullptr, true, "risulta SALVATA", true},
        {1, false, true, nullptr, true, "risulta SALVATA", true},
        {0, true, false, nullptr, false, "NON risulta cancellata"},
        {0, true, true, nullptr, false, "risulta CANCELLATA"},
        {1, true, false, nullptr, false, "NON risulta cancellata"},
        {1, true, true, nullptr, false, "risulta CANCELLATA"},
    };
    int codice = 2;
    for (const Caso &c : casi) {
        const QString tabella =
            c.griglia == 1 ? QStringLiteral("PdcDicIntenti") : QStringLiteral("PianoContiDoc");
        const QString colonna = c.griglia == 1 ? QStringLiteral("PdcDicIntenti") : QStringLiteral("Ordine");
        SCOPED_TRACE(tabella.toStdString() + (c.cancella ? " delete" : " save") +
                     (c.dopo ? " kept" : " lost") + (c.poi ? " typed on" : "") +
                     (c.subito ? " saved again at once" : "") + (c.spostandosi ? " by moving" : ""));
        m_form->SelezionaTab(c.griglia == 1 ? 10 : 8);
        Attendi();
        GestLinee *g = m_form->GestLin(c.griglia);
        const int righe = g->NumeroRighe();
        const int chiave = c.cancella ? 1 : ++codice;
        const QString riga = QStringLiteral(" From ") + tabella +
                             QStringLiteral(" Where Conto = '0001' And ") + colonna +
                             QStringLiteral(" = %1").arg(chiave);
        const QString descrizione = QStringLiteral("Nuovo doc %1").arg(chiave);
        DimenticaMessaggi();
        if (c.cancella) {
            QTableView *v = m_form->dbgRiga(c.griglia);
            v->setCurrentIndex(v->model()->index(0, g->IndiceColonna(QStringLiteral("Descrizione"))));
            Rispondi(1); // "Sì" to the delete
        } else {
            m_form->ButtonComandoLin(*g, QStringLiteral("Nuovo"));
            g->ImpostaValoreCella(colonna, QString::number(chiave));
            g->ImpostaValoreCella(QStringLiteral("Descrizione"), descrizione);
            if (c.griglia == 1) {
                g->ImpostaValoreCella(QStringLiteral("ProtRicezione"), QStringLiteral("24012012345-000001"));
                g->ImpostaValoreCella(QStringLiteral("DataRicAE"), QStringLiteral("20/01/2024"));
                g->ImpostaValoreCella(QStringLiteral("ImportoDichIntenti"), QStringLiteral("1.234,56"));
            }
        }
        m_taglia->Arma(c.dopo);
        m_form->ButtonComandoLin(*g, QString::fromLatin1(c.cancella ? "Cancella" : "Salva"));
        ASSERT_TRUE(m_taglia->Usato()) << Messaggi().join('|').toStdString();
        EXPECT_EQ(Messaggi().filter(QStringLiteral("non si può sapere")).size(), 1)
            << Messaggi().join('|').toStdString();
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
        if (c.poi)
            g->ImpostaValoreCella(QStringLiteral("Descrizione"), QString::fromLatin1(c.poi));

        if (c.subito && c.spostandosi) {
            // Moving to another row saves the line before it is read again:
            // the server refuses the number as taken, by that very save.
            QTableView *v = m_form->dbgRiga(c.griglia);
            v->setCurrentIndex(v->model()->index(0, g->IndiceColonna(QStringLiteral("Descrizione"))));
            Attendi();
            EXPECT_EQ(Messaggi().filter(QStringLiteral("risulta già nel database")).size(), 1)
                << Messaggi().join('|').toStdString();
            EXPECT_TRUE(Messaggi().filter(QStringLiteral("assegnato")).isEmpty())
                << Messaggi().join('|').toStdString();
        } else if (c.subito) {
            // The line is read again before it is sent: not inserted twice.
            m_form->ButtonComandoLin(*g, QStringLiteral("Salva"));
            EXPECT_TRUE(Messaggi().filter(QStringLiteral("assegnato")).isEmpty())
                << Messaggi().join('|').toStdString();
        }
        const QString detto = c.subito && !c.spostandosi
                                  ? Messaggi().filter(QStringLiteral("Il server risponde")).value(0)
                                  : AttendiVerifica();
        EXPECT_TRUE(detto.contains(QString::fromLatin1(c.detto))) << Messaggi().join('|').toStdString();
        // Said once, and not by the form's own check.
        EXPECT_EQ(Messaggi().filter(QStringLiteral("Il server risponde di nuovo")).size(), 1)
            << Messaggi().join('|').toStdString();
        EXPECT_FALSE(detto.contains(QStringLiteral("il cliente"))) << detto.toStdString();
        const bool presente = c.cancella != c.dopo;
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*)") + riga), presente ? 1 : 0);
        if (c.cancella) {
            EXPECT_EQ(g->NumeroRighe(), presente ? righe : righe - 1);
            EXPECT_FALSE(g->DatiModificati());
            DimenticaMessaggi();
            continue;
        }
        // The line is there either way: stored, or still to save.
        ASSERT_EQ(g->NumeroRighe(), righe + 1);
        EXPECT_EQ(g->DatiModificati(), !c.dopo || c.poi);
        EXPECT_EQ(g->ValoreCella(QStringLiteral("Descrizione")).toString(),
                  c.poi ? QString::fromLatin1(c.poi) : descrizione);
        // Saving it now writes it once: inserted when it was not stored,
        // changed when it was.
        DimenticaMessaggi();
        m_form->ButtonComandoLin(*g, QStringLiteral("Salva"));
        Attendi();
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*)") + riga), 1);
        EXPECT_EQ(Valore(QStringLiteral("Select Descrizione") + riga).toString(),
                  c.poi ? QString::fromLatin1(c.poi) : descrizione);
        EXPECT_FALSE(g->DatiModificati());
        EXPECT_EQ(g->NumeroRighe(), righe + 1);
    }
}

namespace
{

// The same relay, behind one that falls silent when the test says so: the
// server then takes connections and never answers.
class ConfermaTagliataServerMuto : public ConfermaTagliata
{
  protected:
    QString Collegamento(PgServer &pg, const QString &connect) override
    {
        const QString testo = ConfermaTagliata::Collegamento(pg, connect);
        if (!m_taglia->Porta())
            return testo;
        m_inoltro = std::make_unique<InoltroTcp>(m_taglia->Porta());
        Globali::DbComp()->ImpostaAttesaServer(2);
        return QString(testo).replace(QStringLiteral("PORT=%1").arg(m_taglia->Porta()),
                                      QStringLiteral("PORT=%1").arg(m_inoltro->porta()));
    }
    std::unique_ptr<InoltroTcp> m_inoltro;
};

} // namespace

// While the server is silent after a commit lost its answer, the form's and
// the grid's checks never wait for it on the window's thread: a trial off it
// asks first, turn after turn, and the window's connection is not opened
// again. Once the server answers, the check reads and says what it found.
TEST_F(ConfermaTagliataServerMuto, TheCheckNeverWaitsForASilentServerOnTheWindowsThread)
{
    ASSERT_NE(m_inoltro, nullptr);
    DbMotore *db = Globali::DbComp();
    const struct {
        const char *nome;
        int griglia; // -1: the form's own save
    } casi[] = {
        {"the form's save", -1},
        {"a line of the documents' grid", 0},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.nome);
        DimenticaMessaggi();
        m_taglia->Arma(false);
        if (c.griglia < 0) {
            m_form->txt(50)->setText(QStringLiteral("Neri"));
            Rispondi(1); // "Non archiviare"
            m_form->ButtonComando(QStringLiteral("Salva"));
        } else {
            m_form->SelezionaTab(8);
            Attendi();
            GestLinee *g = m_form->GestLin(c.griglia);
            m_form->ButtonComandoLin(*g, QStringLiteral("Nuovo"));
            g->ImpostaValoreCella(QStringLiteral("Ordine"), QStringLiteral("7"));
            g->ImpostaValoreCella(QStringLiteral("Descrizione"), QStringLiteral("Nuovo doc 7"));
            m_form->ButtonComandoLin(*g, QStringLiteral("Salva"));
        }
        ASSERT_TRUE(m_taglia->Usato()) << Messaggi().join('|').toStdString();
        ASSERT_TRUE(db->ConnessionePersa(Globali::DbAzienda));
        m_inoltro->Ammutolisci();
        const int tentativi = db->TentativiRiapertura();
        // Turns of the check until it has asked for a second trial (the
        // first one found no answer).
        const int prima = m_inoltro->Accettate();
        QElapsedTimer t;
        t.start();
        while (m_inoltro->Accettate() - prima < 2 && t.elapsed() < 120000) {
            QEventLoop ciclo;
            QTimer::singleShot(50, &ciclo, &QEventLoop::quit);
            ciclo.exec();
        }
        EXPECT_GE(m_inoltro->Accettate() - prima, 2);
        EXPECT_EQ(db->TentativiRiapertura(), tentativi);
        EXPECT_TRUE(Messaggi().filter(QStringLiteral("Il server risponde")).isEmpty())
            << Messaggi().join('|').toStdString();

        m_inoltro->Riprendi();
        EXPECT_FALSE(AttendiVerifica().isEmpty()) << Messaggi().join('|').toStdString();
        EXPECT_FALSE(db->ConnessionePersa(Globali::DbAzienda));
        if (c.griglia < 0) {
            // The edits are still to save: saved now.
            Rispondi(1);
            m_form->ButtonComando(QStringLiteral("Salva"));
        }
    }
}
