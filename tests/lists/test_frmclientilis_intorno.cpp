// The customer list brought back to a customer far down its rows (opened from
// the form on it, Enter with the name field cleared, a refresh): the customer
// is current at once among its neighbours, its row number "..." until a count
// on a thread of its own gives it; the window's connection counts nothing.
// When the number comes the rows move to their places, the row the user is
// on with them.
#include "BancoLista.h"

#include "components/db/DbMotore.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/GestLista.h"
#include "components/lista/RigheLista.h"
#include "components/pagine/GestPagine.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

namespace
{

const QString kClienti = QStringLiteral("From PianoConti P Inner Join Mastri M On M.Gruppo = P.Gruppo And "
                                        "M.Mastro = P.Mastro Where M.Tipo = '3'");

class ListaIntorno : public BancoLista
{
  protected:
    void SetUp() override
    {
        BancoLista::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        AggiungiClienti(1000);
        m_totale = Valore(QStringLiteral("Select Count(*) ") + kClienti).toInt();
    }
    void TearDown() override
    {
        if (Globali::DbComp())
            Globali::DbComp()->ImpostaOsservatoreSelect({});
        BancoLista::TearDown();
    }
    // From now on, the counts run on the window's connection.
    void OsservaConteggi()
    {
        Globali::DbComp()->ImpostaOsservatoreSelect([this](const QString &sql) {
            if (sql.contains(QLatin1String("Count("), Qt::CaseInsensitive))
                m_conteggi << sql;
        });
    }
    // The rows before account 01-05-`conto` in the list by code.
    int Prima(int conto) const
    {
        return Valore(QStringLiteral("Select Count(*) ") + kClienti +
                      QStringLiteral(" And (P.Mastro < '05' Or (P.Mastro = '05' And P.Conto < '%1'))")
                          .arg(conto))
            .toInt();
    }
    QString CorrenteSubito() const { return Chiave(Lista()->RigaCorrente()); }
    // Until the rows have their places and their count.
    void AttendiPosto()
    {
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return Lista()->PosizioneNota() && Lista()->RecordsetLista().ConteggioNoto(); }, 30000));
        Attendi();
    }
    void VerificaAlPosto(int riga, const QString &cliente)
    {
        EXPECT_EQ(Lista()->RigaCorrente(), riga);
        EXPECT_EQ(Chiave(riga), cliente);
        EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("%1 / %2").arg(riga + 1).arg(m_totale));
        QTableView *g = m_lista->dbgRiga;
        EXPECT_TRUE(g->viewport()->rect().contains(g->visualRect(g->currentIndex()).center()));
        EXPECT_TRUE(m_conteggi.isEmpty()) << m_conteggi.join(QLatin1Char('\n')).toStdString();
    }

    int m_totale = 0;
    QStringList m_conteggi;
};

} // namespace

// Opened from the form on a customer beyond the first page, then again from
// the form on one near the start while the list stands on the far one.
TEST_F(ListaIntorno, DallaSchedaSuUnClienteLontano)
{
    const int prima = Prima(9600);
    ASSERT_GT(prima, RigheLista::RighePagina + 10);
    ASSERT_TRUE(m_scheda->pagine->LeggiDaChiave(
        {QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("9600")}));
    OsservaConteggi();
    m_scheda->ButtonComando(QStringLiteral("Lista"));
    EXPECT_EQ(CorrenteSubito(), QStringLiteral("01-05-9600"));
    EXPECT_FALSE(Lista()->PosizioneNota());
    EXPECT_TRUE(m_lista->txtRiga->text().startsWith(QStringLiteral("... / ")))
        << m_lista->txtRiga->text().toStdString();
    EXPECT_TRUE(m_conteggi.isEmpty());
    AttendiPosto();
    VerificaAlPosto(prima, QStringLiteral("01-05-9600"));

    const QString vicino = Chiave(5);
    ASSERT_TRUE(m_scheda->pagine->LeggiDaChiave(vicino.split(QLatin1Char('-'))));
    m_scheda->ButtonComando(QStringLiteral("Lista"));
    EXPECT_TRUE(Lista()->PosizioneNota());
    AttendiPosto();
    VerificaAlPosto(5, vicino);
}

// Enter in a search field with the name cleared: from the customers of a
// name, in name order, back to every customer in code order on the same one.
TEST_F(ListaIntorno, InvioColNomeVuotoTornaSulCliente)
{
    const int prima = Prima(9742);
    Apri();
    Scrivi(30, QStringLiteral("Aggiunto 97"));
    Cerca();
    ASSERT_EQ(Righe(), 100);
    QTableView *g = m_lista->dbgRiga;
    g->setCurrentIndex(g->model()->index(42, 3));
    ASSERT_EQ(Chiave(42), QStringLiteral("01-05-9742"));
    Scrivi(30, QString());
    OsservaConteggi();
    QTest::keyClick(m_lista->txt(30), Qt::Key_Return);
    EXPECT_EQ(CorrenteSubito(), QStringLiteral("01-05-9742"));
    EXPECT_TRUE(m_lista->txtRiga->text().startsWith(QStringLiteral("... / ")))
        << m_lista->txtRiga->text().toStdString();
    EXPECT_TRUE(m_conteggi.isEmpty());
    AttendiPosto();
    VerificaAlPosto(prima, QStringLiteral("01-05-9742"));
}

// The user moves to other rows before the number comes: the row they are on
// moves with the rows, also to a row of the page after the customer's.
TEST_F(ListaIntorno, LaRigaSceltaNelFrattempoSegueLeRighe)
{
    // The customer near the end of its page, so that the rows after it
    // reach into the next page.
    const int base = Prima(9000);
    const int prima = 5 * RigheLista::RighePagina + RigheLista::RighePagina - 20;
    const int conto = 9000 + prima - base;
    ASSERT_LT(conto, 10000);
    ASSERT_EQ(Prima(conto), prima);
    for (const int passi : {3, 40}) {
        SCOPED_TRACE(passi);
        // The total is not counted: the rows known are those read.
        Lista()->ImpostaOpzione(2, false);
        ASSERT_TRUE(m_scheda->pagine->LeggiDaChiave(
            {QStringLiteral("01"), QStringLiteral("05"), QString::number(conto)}));
        OsservaConteggi();
        m_scheda->ButtonComando(QStringLiteral("Lista"));
        ASSERT_FALSE(Lista()->PosizioneNota());
        QTableView *g = m_lista->dbgRiga;
        const int provvisoria = Lista()->RigaCorrente();
        g->setCurrentIndex(g->model()->index(provvisoria + passi, 2));
        const QString scelto = Chiave(provvisoria + passi);
        EXPECT_EQ(scelto, QStringLiteral("01-05-%1").arg(conto + passi));
        EXPECT_TRUE(QTest::qWaitFor([this] { return Lista()->PosizioneNota(); }, 30000));
        Attendi();
        EXPECT_EQ(Lista()->RigaCorrente(), prima + passi);
        EXPECT_EQ(Chiave(Lista()->RigaCorrente()), scelto);
        EXPECT_TRUE(g->viewport()->rect().contains(g->visualRect(g->currentIndex()).center()));
        EXPECT_TRUE(m_conteggi.isEmpty()) << m_conteggi.join(QLatin1Char('\n')).toStdString();
        m_lista->close();
        Lista()->ImpostaOpzione(2, true);
    }
}

// A refresh (the form saved a customer) keeps the far customer current the
// same way; a customer gone leaves its place to the next one.
TEST_F(ListaIntorno, AggiornataRestaSulClienteOPassaAlSeguente)
{
    ASSERT_TRUE(m_scheda->pagine->LeggiDaChiave(
        {QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("9300")}));
    m_scheda->ButtonComando(QStringLiteral("Lista"));
    AttendiPosto();
    const int prima = Prima(9300);
    ASSERT_EQ(Lista()->RigaCorrente(), prima);
    OsservaConteggi();
    m_lista->DatRefresh();
    EXPECT_EQ(CorrenteSubito(), QStringLiteral("01-05-9300"));
    EXPECT_FALSE(Lista()->PosizioneNota());
    EXPECT_TRUE(m_conteggi.isEmpty());
    AttendiPosto();
    VerificaAlPosto(prima, QStringLiteral("01-05-9300"));

    Esegui(QStringLiteral("Delete From PianoConti Where Gruppo = '01' And Mastro = '05' And Conto = '9300'"));
    --m_totale;
    Lista()->TogliRiga(prima);
    AttendiPosto();
    EXPECT_EQ(Lista()->RigaCorrente(), prima);
    EXPECT_EQ(Chiave(prima), QStringLiteral("01-05-9301"));
    EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("%1 / %2").arg(prima + 1).arg(m_totale));
}

// Opened on the last customer, until its place comes the grid keeps as many
// rows as the first page it read: those after the customer are blank, and
// picking one reads nothing and takes nothing away.
TEST_F(ListaIntorno, SottoLUltimoClienteLeRigheVuoteNonSiScelgono)
{
    const QString mastro = Valore(QStringLiteral("Select Max(P.Mastro) ") + kClienti).toString();
    const QString conto = Valore(QStringLiteral("Select Max(P.Conto) ") + kClienti +
                                 QStringLiteral(" And P.Mastro = '%1'").arg(mastro))
                              .toString();
    const QString ultimo = QStringLiteral("01-%1-%2").arg(mastro, conto);
    ASSERT_TRUE(m_scheda->pagine->LeggiDaChiave(ultimo.split(QLatin1Char('-'))));
    m_scheda->ButtonComando(QStringLiteral("Lista"));
    const int riga = Lista()->RigaCorrente();
    ASSERT_EQ(Chiave(riga), ultimo);
    ASSERT_FALSE(Lista()->PosizioneNota());
    ASSERT_EQ(Chiave(riga + 1), QStringLiteral("--"));
    DimenticaMessaggi();
    QTableView *g = m_lista->dbgRiga;
    g->setCurrentIndex(g->model()->index(riga + 1, 3));
    m_lista->ButtonComando(QStringLiteral("Seleziona"));
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(m_scheda->conto->text(), conto);
    g->setCurrentIndex(g->model()->index(riga, 3));
    AttendiPosto();
    EXPECT_EQ(Righe(), m_totale);
    EXPECT_EQ(Lista()->RigaCorrente(), m_totale - 1);
    EXPECT_EQ(Chiave(m_totale - 1), ultimo);
}

// Before the place of the customer shown comes, only a row that holds a
// customer can be chosen: on the last one, Down or a click on a blank row
// under it leave it current, and it is current at its place when its number
// comes. Ctrl+End, from it or from a customer in the middle, also in a new
// order chosen on a header (the rows counted already), is current on the
// last customer once the places and the count have come. A customer added
// meanwhile between the one shown and the one chosen takes no one's place.
TEST_F(ListaIntorno, PrimaDelPostoSiSceglieSoloUnCliente)
{
    const QString mastro = Valore(QStringLiteral("Select Max(P.Mastro) ") + kClienti).toString();
    const QString ultimo = QStringLiteral("01-%1-%2")
                               .arg(mastro, Valore(QStringLiteral("Select Max(P.Conto) ") + kClienti +
                                                   QStringLiteral(" And P.Mastro = '%1'").arg(mastro))
                                                .toString());
    // With the customer added before it.
    const int riga9503 = Prima(9503) + 1;
    QTableView *g = m_lista->dbgRiga;
    // A click as the user makes it, nothing else handled meanwhile.
    const auto clic = [g](int riga) {
        const QRect r = g->visualRect(g->model()->index(riga, 3));
        ASSERT_TRUE(g->viewport()->rect().contains(r.center()));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    };
    enum Gesto { Giu, ClicSotto, CtrlFine, CtrlFineDalMezzo, GiuConUnoAggiunto, CtrlFineInAltroOrdine };
    for (const Gesto gesto :
         {Giu, ClicSotto, CtrlFine, CtrlFineDalMezzo, GiuConUnoAggiunto, CtrlFineInAltroOrdine}) {
        SCOPED_TRACE(int(gesto));
        const QString cliente = gesto >= CtrlFineDalMezzo ? QStringLiteral("01-05-9500") : ultimo;
        ASSERT_TRUE(m_scheda->pagine->LeggiDaChiave(cliente.split(QLatin1Char('-'))));
        m_conteggi.clear();
        OsservaConteggi();
        ApriSenzaAttendere();
        if (gesto == CtrlFineInAltroOrdine) {
            // By account code: the rows are shown around it at once, counted.
            AttendiPosto();
            const QHeaderView *h = g->horizontalHeader();
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                              QPoint(h->sectionViewportPosition(2) + 5, 5));
            ASSERT_TRUE(Lista()->RecordsetLista().ConteggioNoto());
        }
        // Its page read whole, as the first paint has it read.
        Lista()->RecordsetLista().CompletaIntorno();
        ASSERT_FALSE(Lista()->PosizioneNota());
        const int riga = Lista()->RigaCorrente();
        ASSERT_EQ(Chiave(riga), cliente);
        clic(riga);
        QString scelto = ultimo;
        switch (gesto) {
        case Giu:
            QTest::keyClick(g, Qt::Key_Down);
            break;
        case ClicSotto:
            ASSERT_EQ(Chiave(riga + 1), QStringLiteral("--"));
            clic(riga + 1);
            break;
        case CtrlFine:
        case CtrlFineDalMezzo:
        case CtrlFineInAltroOrdine:
            QTest::keyClick(g, Qt::Key_End, Qt::ControlModifier);
            break;
        case GiuConUnoAggiunto:
            for (int i = 0; i < 3; ++i)
                QTest::keyClick(g, Qt::Key_Down);
            scelto = QStringLiteral("01-05-9503");
            ASSERT_EQ(Chiave(Lista()->RigaCorrente()), scelto);
            Esegui(QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) "
                                  "Values ('01', '05', '95015', '3', 'Aggiunto dopo')"));
            ++m_totale;
            break;
        }
        if (gesto <= ClicSotto) {
            EXPECT_EQ(Lista()->RigaCorrente(), riga);
        }
        // Meanwhile the current row holds a customer.
        EXPECT_NE(Chiave(Lista()->RigaCorrente()), QStringLiteral("--"));
        AttendiPosto();
        if (gesto == CtrlFineInAltroOrdine)
            scelto = Chiave(m_totale - 1);
        VerificaAlPosto(gesto == GiuConUnoAggiunto ? riga9503 : m_totale - 1, scelto);
        m_lista->close();
        Attendi();
    }
}

// "VaiA" back to a customer far down the list, selected before the list
// went back to its first row: current at once, its number following.
TEST_F(ListaIntorno, TornaAllaRigaSelezionataLontana)
{
    const int prima = Prima(9600);
    ASSERT_TRUE(m_scheda->pagine->LeggiDaChiave(
        {QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("9600")}));
    m_scheda->ButtonComando(QStringLiteral("Lista"));
    AttendiPosto();
    m_lista->ButtonComando(QStringLiteral("Seleziona"));
    Attendi();
    ASSERT_EQ(m_lista->ovfrmBookmark(), QStringLiteral("01|05|9600"));
    QTableView *g = m_lista->dbgRiga;
    g->setCurrentIndex(g->model()->index(0, 3));
    g->scrollToTop();
    Attendi();
    OsservaConteggi();
    m_lista->ButtonComando(QStringLiteral("VaiA"));
    EXPECT_EQ(CorrenteSubito(), QStringLiteral("01-05-9600"));
    EXPECT_TRUE(m_conteggi.isEmpty()) << m_conteggi.join(QLatin1Char('\n')).toStdString();
    AttendiPosto();
    VerificaAlPosto(prima, QStringLiteral("01-05-9600"));
}

// Another desk deletes a customer far down the list, then the user presses
// "Aggiorna" standing on it, or "Seleziona" on it (three rows below the
// customer the form shows): the customer that followed it, or the form's
// customer, is current at once among its neighbours, the user is told as
// before, and the window's connection neither counts nor skips rows.
TEST_F(ListaIntorno, ClienteCancellatoAltroveSenzaContareSullaFinestra)
{
    const int prima = Prima(9300);
    const struct {
        const char *gesto;
        int sotto;            // the rows below the form's customer the user moves to
        const char *corrente; // the account current afterwards
        bool avviso;
    } casi[] = {
        {"Seleziona", 3, "9300", true},
        {"Aggiorna", 0, "9301", false},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.gesto);
        ASSERT_TRUE(m_scheda->pagine->LeggiDaChiave(
            {QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("9300")}));
        m_scheda->ButtonComando(QStringLiteral("Lista"));
        AttendiPosto();
        ASSERT_EQ(Lista()->RigaCorrente(), prima);
        QTableView *g = m_lista->dbgRiga;
        g->setCurrentIndex(g->model()->index(prima + caso.sotto, 3));
        const QString conto = QString::number(9300 + caso.sotto);
        ASSERT_EQ(Chiave(prima + caso.sotto), QStringLiteral("01-05-") + conto);
        Esegui(QStringLiteral("Delete From PianoConti Where Gruppo = '01' And Mastro = '05' And Conto = '%1'")
                   .arg(conto));
        --m_totale;
        DimenticaMessaggi();
        Globali::DbComp()->ImpostaOsservatoreSelect([this](const QString &sql) {
            if (sql.contains(QLatin1String("Count("), Qt::CaseInsensitive) ||
                sql.contains(QLatin1String(" Offset "), Qt::CaseInsensitive))
                m_conteggi << sql;
        });
        m_lista->ButtonComando(QString::fromLatin1(caso.gesto));
        EXPECT_EQ(CorrenteSubito(), QStringLiteral("01-05-") + QLatin1String(caso.corrente));
        EXPECT_TRUE(m_conteggi.isEmpty()) << m_conteggi.join(QLatin1Char('\n')).toStdString();
        const QStringList avvisi = Messaggi();
        if (caso.avviso)
            EXPECT_EQ(
                avvisi,
                QStringList{QStringLiteral(
                                "Il cliente 01-05-%1 (Aggiunto %1) non esiste più: un'altra postazione lo ha "
                                "cancellato o gli ha cambiato codice, e viene tolto dalla lista.")
                                .arg(conto)});
        else
            EXPECT_TRUE(avvisi.isEmpty()) << avvisi.join(QLatin1Char(' ')).toStdString();
        AttendiPosto();
        VerificaAlPosto(prima, QStringLiteral("01-05-") + QLatin1String(caso.corrente));
        m_lista->close();
        Attendi();
    }
}
