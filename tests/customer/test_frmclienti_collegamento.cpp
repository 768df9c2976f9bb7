// The customer form when the PostgreSQL server goes away and comes back:
// the save that fails says once that the connection was lost, asks nothing
// and keeps the edits in the form, whether given by name, by the toolbar or
// by Alt+S; the same save succeeds once the server is back, without
// restarting the program.
#include "ClientiPostgres.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/linee/GestLinee.h"
#include "components/lista/GestLista.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "lists/frmClientiLis.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <functional>

namespace
{

class ClientiServerPerso : public ClientiPostgres
{
  protected:
    // A server of these tests' own, which they stop and start again.
    PgServer *Server(QString *motivo) override
    {
        static QString perche;
        static std::unique_ptr<PgServer> s = PgServer::Privato(&perche);
        if (motivo)
            *motivo = perche;
        return s.get();
    }
    // The list window, opened from the form.
    frmClientiLis *ApriLista()
    {
        auto *lista = dynamic_cast<frmClientiLis *>(m_form->frmClientiLis);
        if (lista) {
            m_form->ButtonComando(QStringLiteral("Lista"));
            Attendi();
        }
        return lista;
    }
    // Gives `comando` with the server stopped ("Sì" to whatever it asks),
    // starts the server again and answers the messages shown meanwhile. No
    // error may leave the command, and no transaction stay open.
    QStringList ConServerFermo(const std::function<void()> &comando)
    {
        PgServer *pg = Server(nullptr);
        DimenticaMessaggi();
        EXPECT_TRUE(pg->Ferma());
        for (int i = 0; i < 4; ++i)
            Rispondi(1);
        EXPECT_NO_THROW(comando());
        Attendi();
        const QStringList detti = Messaggi();
        EXPECT_TRUE(pg->Riavvia());
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        return detti;
    }
};

} // namespace

TEST_F(ClientiServerPerso, ASaveWhileTheServerIsDownKeepsTheEditsAndWorksOnceItIsBack)
{
    PgServer *pg = Server(nullptr);
    m_form->txt(50)->setText(QStringLiteral("Bianchi Luca"));
    DimenticaMessaggi();
    ASSERT_TRUE(pg->Ferma());
    Rispondi(2);
    EXPECT_FALSE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool());
    ASSERT_TRUE(pg->Riavvia());
    // One message, the connection was lost: no history question before it.
    const QStringList detti = Messaggi().filter(QStringLiteral("Errore("));
    ASSERT_EQ(detti.size(), 1) << Messaggi().join('|').toStdString();
    EXPECT_TRUE(detti.first().contains(QStringLiteral("collegamento con il database è stato perso")))
        << detti.first().toStdString();
    EXPECT_FALSE(detti.first().contains(QStringLiteral("Function sequence error")));
    EXPECT_EQ(m_form->txt(50)->text(), QStringLiteral("Bianchi Luca"));
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);

    DimenticaMessaggi();
    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool())
        << Messaggi().join('|').toStdString();
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(),
              "Bianchi Luca");
}

TEST_F(ClientiServerPerso, TheToolbarAndAltSStopAtTheFirstMessage)
{
    PgServer *pg = Server(nullptr);
    struct Modo {
        const char *nome;
        int campo; // the field the user typed into and is still in
        std::function<void()> salva;
    };
    const Modo modi[] = {
        {"toolbar, name", 40, [this] { m_form->ogComPag()->Bottone(QStringLiteral("Salva"))->trigger(); }},
        {"Alt+S, name", 40, [this] { QTest::keyClick(m_form->txt(40), Qt::Key_S, Qt::AltModifier); }},
        {"Alt+S, company name", 50, [this] { QTest::keyClick(m_form->txt(50), Qt::Key_S, Qt::AltModifier); }},
    };
    m_form->activateWindow();
    for (const Modo &m : modi) {
        SCOPED_TRACE(m.nome);
        const QString nome = QStringLiteral("Verdi Carla ") + QString::fromLatin1(m.nome);
        QLineEdit *campo = m_form->txt(m.campo);
        campo->setFocus();
        Attendi();
        campo->selectAll();
        QTest::keyClicks(campo, nome);
        DimenticaMessaggi();
        ASSERT_TRUE(pg->Ferma());
        Rispondi(2); // archive, were the history asked
        m.salva();
        Attendi();
        const QStringList detti = Messaggi();
        ASSERT_TRUE(pg->Riavvia());
        ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
        EXPECT_TRUE(detti.first().contains(QStringLiteral("collegamento con il database è stato perso")))
            << detti.first().toStdString();
        EXPECT_EQ(campo->text(), nome);
        EXPECT_TRUE(m_form->ogComPag()->RecordModificato());
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PdcStorico")), 0);
        EXPECT_EQ(
            Conta(QStringLiteral("Select Count(*) From PianoConti Where Descrizione = '%1' Or RagSoc = '%1'")
                      .arg(nome)),
            0);
        // Once the server is back the same key saves.
        DimenticaMessaggi();
        Rispondi(1); // do not archive
        campo->setFocus();
        Attendi();
        QTest::keyClick(campo, Qt::Key_S, Qt::AltModifier);
        Attendi();
        EXPECT_FALSE(m_form->ogComPag()->RecordModificato()) << Messaggi().join('|').toStdString();
        EXPECT_EQ(Valore(QStringLiteral("Select %1 From PianoConti Where Conto = '0001'")
                             .arg(m.campo == 40 ? QStringLiteral("Descrizione") : QStringLiteral("RagSoc")))
                      .toString(),
                  nome);
    }
}

// A refresh of the list while the server is down keeps its rows and its
// place and says that it failed; once the server is back the same refresh
// reads the list again at that place.
TEST_F(ClientiServerPerso, ARefreshWhileTheServerIsDownKeepsTheListsRowsAndPlace)
{
    PgServer *pg = Server(nullptr);
    frmClientiLis *lista = ApriLista();
    ASSERT_NE(lista, nullptr);
    QTableView *g = lista->dbgRiga;
    ASSERT_EQ(g->model()->rowCount(), 2);
    g->setCurrentIndex(g->model()->index(1, 3));
    DimenticaMessaggi();
    ASSERT_TRUE(pg->Ferma());
    lista->ButtonComando(QStringLiteral("Aggiorna"));
    Attendi();
    const QStringList detti = Messaggi();
    ASSERT_TRUE(pg->Riavvia());
    ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
    EXPECT_TRUE(
        detti[0].startsWith(QStringLiteral("Impossibile aggiornare la lista: restano le righe mostrate "
                                           "prima.\r\nErrore(3151): Il collegamento con il database")))
        << detti[0].toStdString();
    EXPECT_EQ(g->model()->rowCount(), 2);
    EXPECT_EQ(lista->txtRiga->text(), QStringLiteral("2 / 2"));

    DimenticaMessaggi();
    lista->ButtonComando(QStringLiteral("Aggiorna"));
    Attendi();
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
    EXPECT_EQ(g->currentIndex().row(), 1);
}

// Every command of both line grids, given while the server is down, says
// that the connection was lost (or asks nothing of the server) and never
// leaves its handler with an error; once the server is back the same grid
// saves and deletes again.
TEST_F(ClientiServerPerso, EveryGridCommandWhileTheServerIsDownLeavesTheGridWorking)
{
    struct Griglia {
        int g, pagina;
        const char *tabella, *descrizione;
    };
    const Griglia griglie[] = {{0, 8, "PianoContiDoc", "Descrizione"},
                               {1, 10, "PdcDicIntenti", "Descrizione"}};
    const char *comandi[] = {"Cancella", "Salva", "Nuovo", "Annulla", "VaiA", "Stampa"};
    for (const Griglia &gr : griglie) {
        for (const char *comando : comandi) {
            SCOPED_TRACE(std::string(gr.tabella) + " " + comando);
            m_form->SelezionaTab(gr.pagina);
            Attendi();
            GestLinee *lin = m_form->GestLin(gr.g);
            QTableView *vista = m_form->dbgRiga(gr.g);
            ASSERT_EQ(lin->NumeroRighe(), 1);
            const int col = lin->IndiceColonna(QString::fromLatin1(gr.descrizione));
            vista->setCurrentIndex(vista->model()->index(0, col));
            if (QLatin1String(comando) == QLatin1String("Salva"))
                vista->model()->setData(vista->model()->index(0, col), QStringLiteral("Cambiata"));
            const QStringList detti =
                ConServerFermo([&] { m_form->ButtonComandoLin(*lin, QString::fromLatin1(comando)); });
            // The loss is told once, whatever else the command went on to try.
            const QStringList errori = detti.filter(QStringLiteral("Errore("));
            EXPECT_LE(errori.size(), 1) << errori.join('|').toStdString();
            for (const QString &m : errori)
                EXPECT_TRUE(m.contains(QStringLiteral("collegamento"))) << m.toStdString();

            // Back: the line's edit (if any) dropped, the rows read again.
            DimenticaMessaggi();
            EXPECT_NO_THROW(m_form->ButtonComandoLin(*lin, QStringLiteral("Annulla")));
            EXPECT_NO_THROW(lin->Ricarica(true));
            ASSERT_EQ(lin->NumeroRighe(), 1) << Messaggi().join('|').toStdString();
        }
        // The grid saves and deletes on the server once it is back.
        GestLinee *lin = m_form->GestLin(gr.g);
        QTableView *vista = m_form->dbgRiga(gr.g);
        const int col = lin->IndiceColonna(QString::fromLatin1(gr.descrizione));
        vista->setCurrentIndex(vista->model()->index(0, col));
        if (gr.g == 0) { // the fixture's letter lacks fields its save requires
            vista->model()->setData(vista->model()->index(0, col), QStringLiteral("Dopo"));
            DimenticaMessaggi();
            m_form->ButtonComandoLin(*lin, QStringLiteral("Salva"));
            Attendi();
            EXPECT_EQ(Valore(QStringLiteral("Select Descrizione From PianoContiDoc Where Conto = '0001'"))
                          .toString(),
                      QStringLiteral("Dopo"))
                << Messaggi().join('|').toStdString();
        }
        DimenticaMessaggi();
        Rispondi(1);
        m_form->ButtonComandoLin(*lin, QStringLiteral("Cancella"));
        Attendi();
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From %1 Where Conto = '0001'")
                            .arg(QString::fromLatin1(gr.tabella))),
                  0)
            << Messaggi().join('|').toStdString();
    }
}

// A search and a new order asked while the server is down leave the list
// on the rows it showed, the loss said once; once the server is back both work.
TEST_F(ClientiServerPerso, ASearchOrANewOrderWhileTheServerIsDownKeepsTheRowsShown)
{
    frmClientiLis *lista = ApriLista();
    ASSERT_NE(lista, nullptr);
    QTableView *g = lista->dbgRiga;
    const int righe = g->model()->rowCount();
    ASSERT_GE(righe, 2);
    lista->txtCerca->setText(QStringLiteral("Zzz"));
    for (const auto &[nome, comando] :
         {std::pair<const char *, std::function<void()>>{"search",
                                                         [&] {
                                                             lista->ButtonComando(QStringLiteral("Cerca"));
                                                             AttendiThread();
                                                         }},
          std::pair<const char *, std::function<void()>>{
              "order", [&] { lista->ogComlin->OrdinaPerColonna(3, lista->osSql()); }}}) {
        SCOPED_TRACE(nome);
        const QStringList detti = ConServerFermo(comando);
        const QStringList errori = detti.filter(QStringLiteral("Errore("));
        ASSERT_EQ(errori.size(), 1) << detti.join('|').toStdString();
        EXPECT_TRUE(errori[0].contains(QStringLiteral("restano le righe mostrate")))
            << errori[0].toStdString();
        EXPECT_EQ(g->model()->rowCount(), righe);
        EXPECT_FALSE(g->model()->index(1, 2).data().toString().isEmpty());
    }
    DimenticaMessaggi();
    EXPECT_EQ(lista->ogComlin->OrdinaPerColonna(3, lista->osSql()), 0);
    lista->ButtonComando(QStringLiteral("Cerca"));
    AttendiThread();
    EXPECT_EQ(Messaggi().filter(QStringLiteral("Errore(")).size(), 0) << Messaggi().join('|').toStdString();
    EXPECT_EQ(g->model()->rowCount(), righe);
}

// Every command of the form and of its list, given while the server is
// down, never leaves its handler with an error, leaves no transaction open,
// and the form moves between customers again once the server is back.
TEST_F(ClientiServerPerso, EveryFormAndListCommandWhileTheServerIsDownLeavesTheWindowsWorking)
{
    frmClientiLis *lista = ApriLista();
    ASSERT_NE(lista, nullptr);
    const char *delForm[] = {"Salva",      "Cancella",   "Duplica", "Annulla",     "Inizio",   "Fine",
                             "Successivo", "Precedente", "Lista",   "ListaAvanti", "ListaInd", "Ricerca"};
    const char *dellaLista[] = {"Aggiorna", "Seleziona", "VaiA", "Stampa"};
    for (const char *c : delForm) {
        SCOPED_TRACE(c);
        ConServerFermo([&] { m_form->ButtonComando(QString::fromLatin1(c)); });
    }
    for (const char *c : dellaLista) {
        SCOPED_TRACE(c);
        ConServerFermo([&] { lista->ButtonComando(QString::fromLatin1(c)); });
    }

    DimenticaMessaggi();
    m_form->ButtonComando(QStringLiteral("Annulla"));
    ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0001")));
    m_form->ButtonComando(QStringLiteral("Successivo"));
    Attendi();
    EXPECT_EQ(m_form->txt(30)->text(), QStringLiteral("0002")) << Messaggi().join('|').toStdString();
}

// A page first shown while the server is down says so once, keeps its
// layout (its grid there, with no rows of the account shown before) and is
// read at the next visit once the server is back.
TEST_F(ClientiServerPerso, APageThatCannotBeReadSaysSoOnceAndIsReadAtTheNextVisit)
{
    PgServer *pg = Server(nullptr);
    Esegui(QStringLiteral("Insert Into Monete (Moneta, Descrizione) Values ('EUR','Euro')"));
    for (int n : {1, 2})
        Esegui(QStringLiteral("Insert Into PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione) "
                              "Values ('01','05','0002',%1,'Lettera %1')")
                   .arg(n));
    struct Caso {
        const char *nome;
        int scheda;    // the page's tab
        Qt::Key tasto; // its Alt key
        bool giaVista; // the page was shown for the account read before
        bool dalCampo; // given from the name just changed, whose check meets the loss first
    };
    const Caso casi[] = {{"letters of intent", 10, Qt::Key_0, false, false},
                         {"letters of intent, shown for the account before", 10, Qt::Key_0, true, false},
                         {"accounting", 4, Qt::Key_4, false, false},
                         {"letters of intent, from a changed name", 10, Qt::Key_0, false, true}};
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        m_form->SelezionaTab(1);
        Attendi();
        ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0001")));
        if (c.giaVista) {
            m_form->SelezionaTab(c.scheda);
            Attendi();
            ASSERT_EQ(m_form->GestLin(1)->NumeroRighe(), 1);
            m_form->SelezionaTab(1);
            Attendi();
        }
        ASSERT_TRUE(Leggi(QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0002")));
        QWidget *dove = c.dalCampo ? static_cast<QWidget *>(m_form->txt(40)) : m_form->TasPagine;
        dove->setFocus();
        Attendi();
        if (c.dalCampo)
            m_form->txt(40)->setText(QStringLiteral("Cliente rinominato"));
        DimenticaMessaggi();
        ASSERT_TRUE(pg->Ferma());
        QTest::keyClick(dove, c.tasto, Qt::AltModifier);
        Attendi();
        const QStringList detti = Messaggi();
        ASSERT_TRUE(pg->Riavvia());
        EXPECT_EQ(m_form->TabSelezionato(), c.scheda);
        ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
        EXPECT_TRUE(detti[0].contains(QStringLiteral("collegamento con il database")))
            << detti[0].toStdString();
        if (c.scheda == 10) {
            EXPECT_TRUE(m_form->dbgRiga(1)->isVisible());
            EXPECT_EQ(m_form->GestLin(1)->NumeroRighe(), 0);
        }

        // Back: the next visit reads the page.
        DimenticaMessaggi();
        m_form->SelezionaTab(1);
        Attendi();
        m_form->SelezionaTab(c.scheda);
        Attendi();
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
        if (c.scheda == 10) {
            EXPECT_EQ(m_form->GestLin(1)->NumeroRighe(), 2);
            EXPECT_TRUE(m_form->dbgRiga(1)->isVisible());
        } else {
            EXPECT_EQ(m_form->Lab(4100)->text(), QStringLiteral("Euro"));
        }
    }
}

// A code typed in the key field and not read yet, then a page asked while
// the server is down: the key's read and the page's both fail, and the loss
// is said once, whether the page has a grid or not.
TEST_F(ClientiServerPerso, AKeyNotReadYetAndAPageWhileTheServerIsDownSaySoOnce)
{
    PgServer *pg = Server(nullptr);
    const struct {
        const char *nome;
        int scheda;
        Qt::Key tasto;
    } casi[] = {{"letters of intent", 10, Qt::Key_0}, {"accounting", 4, Qt::Key_4}};
    m_form->activateWindow();
    for (const auto &c : casi) {
        SCOPED_TRACE(c.nome);
        m_form->SelezionaTab(1);
        Attendi();
        Rispondi(2);
        ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Nuovo")).toBool());
        ASSERT_EQ(m_form->ogComPag()->StatoPagina(), GestPagine::StatoNuovo);
        m_form->txt(10)->setText(QStringLiteral("01"));
        m_form->txt(20)->setText(QStringLiteral("05"));
        QLineEdit *conto = m_form->txt(30);
        conto->setFocus();
        Attendi();
        QTest::keyClicks(conto, QStringLiteral("0002"));
        QTest::keyClick(conto, Qt::Key_Return);
        Attendi();
        DimenticaMessaggi();
        ASSERT_TRUE(pg->Ferma());
        for (int i = 0; i < 3; ++i)
            Rispondi(1);
        QTest::keyClick(conto, c.tasto, Qt::AltModifier);
        Attendi();
        const QStringList detti = Messaggi();
        ASSERT_TRUE(pg->Riavvia());
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        EXPECT_EQ(m_form->TabSelezionato(), c.scheda);
        ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
        EXPECT_TRUE(detti[0].contains(QStringLiteral("collegamento con il database")))
            << detti[0].toStdString();
        EXPECT_EQ(conto->text(), QStringLiteral("0002"));
    }
}

// The server stops between the save's commit and the reading back of the
// row: the user reads that the record was saved and only its reading back
// failed, nothing that says it was not saved.
TEST_F(ClientiServerPerso, ASaveWhoseReadingBackLosesTheServerSaysTheSaveIsDone)
{
    PgServer *pg = Server(nullptr);
    const QString nome = QStringLiteral("Neri Paolo");
    // Another connection sees the row committed; the next read of the
    // account finds the server gone.
    DbMotore altro;
    altro.ApriConnessione(Globali::DbAzienda, Globali::NomeDbAzienda);
    bool fermato = false;
    Globali::DbComp()->ImpostaOsservatoreSelect([&](const QString &sql) {
        if (fermato || !sql.contains(QStringLiteral(" FROM Pianoconti WHERE"), Qt::CaseInsensitive))
            return;
        const auto r = altro.Seleziona(Globali::DbAzienda,
                                       QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'"));
        if (r->numRighe() && r->valore(0, 0).toString() == nome) {
            altro.ChiudiTutto();
            fermato = pg->Ferma();
        }
    });
    m_form->txt(50)->setText(nome);
    DimenticaMessaggi();
    Rispondi(1); // do not archive
    const bool salvato = m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool();
    Globali::DbComp()->ImpostaOsservatoreSelect({});
    const QStringList detti = Messaggi();
    ASSERT_TRUE(fermato);
    ASSERT_TRUE(pg->Riavvia());
    EXPECT_TRUE(salvato);
    const QStringList errori = detti.filter(QStringLiteral("rileggerlo"));
    ASSERT_EQ(errori.size(), 1) << detti.join('|').toStdString();
    EXPECT_TRUE(errori[0].startsWith(QStringLiteral(
        "Il record è stato salvato, ma non è stato possibile rileggerlo: il collegamento con il database")))
        << errori[0].toStdString();
    for (const char *contrario : {"non è stata completata", "non salvati"})
        EXPECT_FALSE(errori[0].contains(QString::fromUtf8(contrario))) << errori[0].toStdString();
    EXPECT_TRUE(errori[0].contains(QStringLiteral("\nDettaglio: errore 3151")));
    EXPECT_EQ(Valore(QStringLiteral("Select RagSoc From PianoConti Where Conto = '0001'")).toString(), nome);
    // Read again, the record is edited and saved as any other.
    DimenticaMessaggi();
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Annulla")).toBool())
        << Messaggi().join('|').toStdString();
    EXPECT_EQ(m_form->txt(50)->text(), nome);
}
