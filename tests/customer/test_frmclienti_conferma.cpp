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
        m_diretto = connect;
        m_taglia = std::make_unique<TagliaConferma>(pg.porta());
        return m_taglia->Porta() ? m_taglia->Attraverso(connect) : connect;
    }
    void TearDown() override
    {
        m_altro.ChiudiTutto();
        ClientiPostgres::TearDown();
    }
    // Another desk writes, on a connection of its own that nothing cuts.
    void Altro(const QString &sql)
    {
        if (!m_altro.EsisteConnessione(Globali::DbAzienda))
            m_altro.ApriConnessione(Globali::DbAzienda, m_diretto);
        m_altro.EseguiSql(Globali::DbAzienda, sql);
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
    QString m_diretto;
    DbMotore m_altro;
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

// Another desk on the same customer: the re-read judges a save by the fields
// it wrote (the other desk's change to another field is no sign of a save not
// kept, and shows), names a field it wrote that the other desk has saved
// since, and tells the customer a delete removed from one another desk has
// made since with the same code. A save found kept leaves the record as
// stored to save again over, never refused as another desk's change.
TEST_F(ConfermaTagliata, TheReReadJudgesWhatTheSaveWroteAndTheRowTheDeleteRemoved)
{
    ASSERT_NE(m_taglia, nullptr);
    ASSERT_NE(m_taglia->Porta(), 0);
    const QString dove = QStringLiteral(" Where Gruppo = '01' And Mastro = '05' And Conto = '0001'");
    struct Caso {
        const char *nome;
        bool cancella, dopo;
        const char *prima;    // the other desk's change before this desk's save
        const char *telefono; // typed
        const char *ragSoc;   // typed, or null
        const char *poi;      // the other desk's write once the commit is cut
        const char *detto;
        const char *telefonoMostrato;
        bool modificato;
    };
    const Caso casi[] = {
        {"fax saved by the other desk before", false, true, "Update PianoConti Set Fax = '02 111'", "02 222",
         nullptr, nullptr, "le modifiche risultano SALVATE.", "02 222", false},
        {"phone saved by the other desk since", false, true, nullptr, "02 333", "Verdi Anna",
         "Update PianoConti Set Telefono = '02 999'",
         "le modifiche risultano SALVATE, ma il campo \"Telefono\" ora contiene un altro valore, salvato da "
         "un'altra postazione: è mostrato come è salvato.",
         "02 999", false},
        {"save lost, phone saved by the other desk since", false, false, nullptr, "02 444", "Neri Luca",
         "Update PianoConti Set Telefono = '02 888'",
         "le modifiche NON risultano salvate. Restano nella finestra: salvarle di nuovo. Il campo "
         "\"Telefono\" ora contiene un altro valore",
         "02 888", true},
        {"delete kept, code made again by the other desk", true, true, nullptr, nullptr, nullptr,
         "Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, RagSoc) Values ('01', '05', "
         "'0001', '3', 'Cliente nuovo', 'Bianchi Luca')",
         "risulta CANCELLATO; un cliente con lo stesso codice è stato poi creato da un'altra postazione.",
         nullptr, false},
    };
    int giro = 0;
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        ++giro;
        const QString ragSoc = m_form->txt(50)->text();
        if (c.prima)
            Altro(QString::fromUtf8(c.prima) + dove);
        if (c.telefono)
            m_form->txt(1060)->setText(QString::fromUtf8(c.telefono));
        if (c.ragSoc)
            m_form->txt(50)->setText(QString::fromUtf8(c.ragSoc));
        DimenticaMessaggi();
        m_taglia->Arma(c.dopo);
        if (c.ragSoc || c.cancella)
            Rispondi(1); // "Non archiviare", or "Sì" to the delete
        m_form->ButtonComando(QString::fromLatin1(c.cancella ? "Cancella" : "Salva"));
        ASSERT_TRUE(m_taglia->Usato()) << Messaggi().join('|').toStdString();
        if (c.poi)
            Altro(QString::fromUtf8(c.poi) + (c.cancella ? QString() : dove));

        const QString detto = AttendiVerifica();
        EXPECT_TRUE(detto.contains(QString::fromUtf8(c.detto))) << Messaggi().join('|').toStdString();
        if (c.cancella) {
            // The other desk's customer is there, and not shown as this desk's.
            EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti") + dove).toString(),
                      QStringLiteral("Bianchi Luca"));
            EXPECT_EQ(m_form->txt(30)->text(), QString());
            EXPECT_NE(m_form->txt(50)->text(), QStringLiteral("Bianchi Luca"));
            EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
            continue;
        }
        // Shown as stored, the other desk's values too; what the save wrote
        // and is not stored stays, still to save.
        EXPECT_EQ(m_form->txt(1060)->text(), QString::fromUtf8(c.telefonoMostrato));
        EXPECT_EQ(m_form->txt(1070)->text(), QStringLiteral("02 111"));
        EXPECT_EQ(m_form->txt(50)->text(), c.ragSoc ? QString::fromUtf8(c.ragSoc) : ragSoc);
        EXPECT_EQ(m_form->ogComPag()->RecordModificato(), c.modificato);

        // The next save goes through, never refused as another desk's change.
        const QString indirizzo = QStringLiteral("Via Nuova %1").arg(giro);
        m_form->txt(1010)->setText(indirizzo);
        DimenticaMessaggi();
        Rispondi(1);
        m_form->ButtonComando(QStringLiteral("Salva"));
        EXPECT_EQ(Valore(QStringLiteral("Select Indirizzo From PianoConti") + dove).toString(), indirizzo)
            << Messaggi().join('|').toStdString();
        EXPECT_EQ(Messaggi().filter(QStringLiteral("modificati da un altro utente")).size(), 0)
            << Messaggi().join('|').toStdString();
        EXPECT_EQ(Valore(QStringLiteral("Select Telefono From PianoConti") + dove).toString(),
                  QString::fromUtf8(c.telefonoMostrato));
        EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti") + dove).toString(),
                  m_form->txt(50)->text());
        EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
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
        // A line found saved with an edit typed on it since: said, as the form says it.
        EXPECT_EQ(detto.contains(QStringLiteral("risulta SALVATA; le modifiche fatte dopo restano nella "
                                                "griglia, da salvare.")),
                  c.dopo && c.poi != nullptr)
            << detto.toStdString();
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
