// The customer list window: its SQL and columns, the search fields turned
// into conditions, the refusals, selection into the record form under both
// list settings, sorting, the text search and the hand-over to printing.
#include "BancoLista.h"

#include "components/db/DbMotore.h"
#include "components/forms/ColoriVb.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/GestLista.h"
#include "components/lista/ListaPagine.h"
#include "components/lista/RigheLista.h"
#include "components/lista/StampaLista.h"
#include "components/pagine/GestPagine.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace
{

const QString kColonne =
    QStringLiteral("Select Gruppo, Mastro, Conto, Descrizione, PartIva, CodFisc, Localita, Pr, "
                   "OperazRilev, DataAp, Zona, Agente1, Tipo from PianoConti where Exists "
                   "(Select Mastri.Mastro From Mastri Where Mastri.Gruppo = PianoConti.Gruppo "
                   "And Mastri.Mastro = PianoConti.Mastro And Mastri.Tipo = '3')");
const QString kClienti = QStringLiteral("From PianoConti P Inner Join Mastri M On M.Gruppo = P.Gruppo And "
                                        "M.Mastro = P.Mastro Where M.Tipo = '3'");

class ListaClienti : public BancoLista
{
  protected:
    int Clienti(const QString &condizione = {}) const
    {
        return Valore(QStringLiteral("Select Count(*) ") + kClienti +
                      (condizione.isEmpty() ? QString() : QStringLiteral(" And ") + condizione))
            .toInt();
    }
    QString ContoScheda() const
    {
        return m_scheda->gruppo->text() + QLatin1Char('-') + m_scheda->mastro->text() + QLatin1Char('-') +
               m_scheda->conto->text();
    }
    void Clic(int riga, int colonna = 3)
    {
        QTableView *g = m_lista->dbgRiga;
        const QRect r = g->visualRect(g->model()->index(riga, colonna));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        Attendi();
    }
    // As the window system delivers it: press, release, then the second
    // press as a double click, and its release.
    void DoppioClic(int riga, int colonna = 3)
    {
        QTableView *g = m_lista->dbgRiga;
        const QPoint p = g->visualRect(g->model()->index(riga, colonna)).center();
        QTest::mousePress(g->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, p);
        QMouseEvent doppio(QEvent::MouseButtonDblClick, p, g->viewport()->mapToGlobal(p), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(g->viewport(), &doppio);
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, p);
        Attendi();
    }
};

} // namespace

TEST_F(ListaClienti, SqlDellaListaConESenzaNomeECondizione)
{
    EXPECT_EQ(m_lista->PrepSql({}).toString(), kColonne + QStringLiteral(" order by Gruppo, Mastro, Conto"));
    m_lista->txt(30)->setText(QStringLiteral("Ros"));
    EXPECT_EQ(m_lista->PrepSql(QStringLiteral("Zona = 'NO'")).toString(),
              kColonne + QStringLiteral(" And (Zona = 'NO') order by Descrizione"));
    EXPECT_EQ(m_lista->osSql(), kColonne + QStringLiteral(" And (Zona = 'NO') order by Descrizione"));
    // Blanks alone are no name.
    m_lista->txt(30)->setText(QStringLiteral("   "));
    EXPECT_TRUE(m_lista->PrepSql({}).toString().endsWith(QStringLiteral(" order by Gruppo, Mastro, Conto")));
}

TEST_F(ListaClienti, ColonneConDidascalieLarghezzeEColonneNascoste)
{
    Apri();
    ASSERT_TRUE(m_lista->isVisible());
    EXPECT_EQ(m_lista->windowTitle(), QStringLiteral("Lista Clienti - Ditta di prova"));
    const QStringList titoli = {"Gr",         "Ma",
                                "Cliente",    "Ragione Sociale Contabile",
                                "Part. Iva",  "Codice Fiscale",
                                "Località",   "Prov.",
                                "Spesometro", "Data Ap.",
                                "Zona",       "Agente",
                                "Tipo"};
    QTableView *g = m_lista->dbgRiga;
    ASSERT_EQ(g->model()->columnCount(), 13);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(g->model()->headerData(i, Qt::Horizontal).toString(), titoli[i]);
    // Widths follow the twips given, in proportion; zone and agent are hidden.
    const int gr = g->columnWidth(0);
    EXPECT_EQ(g->columnWidth(1), gr);
    EXPECT_NEAR(g->columnWidth(3), g->columnWidth(4) * 3000 / 1200, 3);
    EXPECT_NEAR(g->columnWidth(6), g->columnWidth(4) * 2500 / 1200, 3);
    EXPECT_LT(gr, g->columnWidth(2));
    EXPECT_TRUE(g->isColumnHidden(10));
    EXPECT_TRUE(g->isColumnHidden(11));
    EXPECT_FALSE(g->isColumnHidden(12));
    EXPECT_EQ(Righe(), Clienti());
    EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("1 / ") + QString::number(Clienti()));
    // Dates as the company shows them.
    EXPECT_TRUE(QDate::fromString(Cella(0, 9), QStringLiteral("dd/MM/yyyy")).isValid())
        << Cella(0, 9).toStdString();
}

// Opened again, the list gives the same titles without telling the header of
// each one anew (every notice has it measure all its sections again).
TEST_F(ListaClienti, RiapertaNonRiannunciaTitoliUguali)
{
    Apri();
    QTableView *g = m_lista->dbgRiga;
    QSignalSpy avvisi(g->model(), &QAbstractItemModel::headerDataChanged);
    m_lista->MostraLista(QString());
    EXPECT_EQ(avvisi.count(), 0);
    EXPECT_EQ(g->model()->headerData(3, Qt::Horizontal).toString(),
              QStringLiteral("Ragione Sociale Contabile"));
}

TEST_F(ListaClienti, SoloClientiMaiFornitoriOContiGenerali)
{
    // An account typed "3" in a bank ledger is still not a customer.
    Esegui(QStringLiteral(
        "Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) Values ('01', '10', "
        "'0099', '3', 'Conto in banca')"));
    Apri();
    Scrivi(10, QStringLiteral("01"));
    Scrivi(20, QStringLiteral("04"));
    Cerca();
    EXPECT_EQ(Righe(), Clienti());
    for (int r = 0; r < Righe(); ++r)
        ASSERT_TRUE(Chiave(r).startsWith(QLatin1String("01-05-")) ||
                    Chiave(r).startsWith(QLatin1String("01-06-")))
            << Chiave(r).toStdString();
}

TEST_F(ListaClienti, CampiDiRicercaDiventanoCondizioni)
{
    Esegui(QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, DataAp) Values "
                          "('01', '05', '9901', '3', 'D''Amico Fratelli', '2019-05-01'), "
                          "('01', '05', '9902', '3', 'Damico Fratelli', '2019-05-02'), "
                          "('01', '05', '9903', '3', '50% Sconti S.r.l.', '2019-05-03'), "
                          "('01', '05', '9904', '3', '500 Sconti S.r.l.', '2019-05-04')"));
    const QString partIva = Valore(QStringLiteral("Select PartIva ") + kClienti +
                                   QStringLiteral(" And PartIva <> '' Order By P.Conto"))
                                .toString();
    const struct {
        QList<QPair<int, QString>> campi;
        QString condizione; // the same customers, written for the check
    } casi[] = {
        {{{10, "0105"}, {20, "0105"}}, "P.Mastro = '05'"},
        {{{10, "01050010"}, {20, "01050020"}}, "P.Mastro = '05' And P.Conto Between '0010' And '0020'"},
        {{{10, "0106"}}, "P.Gruppo = '01' And P.Mastro >= '06'"},
        {{{30, "D'Am"}}, "P.Descrizione Like 'D''Am*'"},
        {{{30, "d'am"}}, "P.Descrizione Like 'D''Am*'"},
        {{{30, "50%"}}, "P.Conto = '9903'"},
        {{{40, partIva}}, "P.PartIva = '" + partIva + "'"},
        {{{60, "01/05/2019"}, {65, "03/05/2019"}}, "P.DataAp Between '2019-05-01' And '2019-05-03'"},
        {{{70, "NO"}, {75, "A01"}}, "P.Zona = 'NO' And P.Agente1 = 'A01'"},
    };
    Apri();
    for (const auto &c : casi) {
        SCOPED_TRACE(c.condizione.toStdString());
        for (int campo : {10, 20, 30, 40, 50, 60, 65, 70, 75})
            m_lista->txt(campo)->clear();
        for (const auto &[campo, testo] : c.campi)
            Scrivi(campo, testo);
        Cerca();
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(" ").toStdString();
        const int attese = Clienti(c.condizione);
        EXPECT_GT(attese, 0);
        EXPECT_EQ(Righe(), attese);
    }
}

TEST_F(ListaClienti, SelezioniNonValideRifiutate)
{
    Apri();
    const int tutte = Righe();
    const struct {
        QList<QPair<int, QString>> campi;
        bool rosso;
    } casi[] = {
        {{{10, "0106"}, {20, "0105"}}, false},
        {{{60, "31/12/2020"}, {65, "01/01/2020"}}, false},
        {{{60, "31/02/2020"}}, true},
        // Refused, then given back for editing without separators.
        {{{10, "01-05"}}, false},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.campi.last().second.toStdString());
        for (int campo : {10, 20, 60, 65})
            m_lista->txt(campo)->clear();
        Scrivi(30, QString());
        for (const auto &[campo, testo] : c.campi)
            Scrivi(campo, testo);
        DimenticaMessaggi();
        Cerca();
        ASSERT_EQ(Messaggi().size(), 1);
        EXPECT_TRUE(Messaggi()[0].startsWith(QStringLiteral("I criteri di ricerca non sono validi")));
        EXPECT_EQ(Righe(), tutte);
        // Left, the field shows whether its own text is wrong.
        m_lista->txt(50)->setFocus();
        Attendi();
        EXPECT_EQ(ColoriVb::BackColor(m_lista->txt(c.campi.last().first)) == Globali::ColBackErrore, c.rosso);
    }
    // An account typed with its separators turns red when left.
    Scrivi(10, QStringLiteral("01-05"));
    m_lista->txt(20)->setFocus();
    Attendi();
    EXPECT_EQ(ColoriVb::BackColor(m_lista->txt(10)), Globali::ColBackErrore);
}

TEST_F(ListaClienti, ClicDoppioClicInvioEIntestazioneSecondoLeImpostazioni)
{
    for (const QString &noSel : {QStringLiteral("N"), QStringLiteral("S")}) {
        SCOPED_TRACE(noSel.toStdString());
        Globali::LisClickNoSel = noSel;
        const bool clicSeleziona = noSel == QLatin1String("N");
        Apri();
        m_scheda->pagine->EseguiComando(QStringLiteral("Nuovo"));
        Attendi();
        ASSERT_TRUE(m_scheda->conto->text().isEmpty());
        Clic(4);
        EXPECT_EQ(ContoScheda() == Chiave(4), clicSeleziona);
        QTest::keyClick(m_lista->dbgRiga, Qt::Key_Down);
        QTest::keyClick(m_lista->dbgRiga, Qt::Key_Return);
        Attendi();
        EXPECT_EQ(ContoScheda() == Chiave(5), clicSeleziona);
        QTableView *g = m_lista->dbgRiga;
        DoppioClic(7);
        EXPECT_EQ(ContoScheda(), Chiave(7));
        // A header click sorts and never selects the row below it.
        const QString prima = ContoScheda();
        QHeaderView *h = g->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(3) + 5, 5));
        Attendi();
        EXPECT_EQ(ContoScheda(), prima);
        EXPECT_TRUE(m_lista->osSql().endsWith(QStringLiteral(" order by Descrizione")));
        EXPECT_LE(Cella(0, 3).compare(Cella(1, 3), Qt::CaseInsensitive), 0);
        m_lista->close();
    }
}

// A click on a header shows the new order around the customer the user is
// on at once, before its row number is known ("..."); the number follows
// from a count on a connection of its own, and the rows move to their
// places with the same customer current and on screen.
TEST_F(ListaClienti, LIntestazioneMostraSubitoIlClienteEPoiIlSuoNumero)
{
    Apri();
    QTableView *g = m_lista->dbgRiga;
    QHeaderView *h = g->horizontalHeader();
    const QPoint nome(h->sectionViewportPosition(3) + 5, 5);
    auto attendiConteggi = [] {
        for (int i = 0; i < 500 && ConteggioParallelo::InCorso() > 0; ++i)
            QTest::qWait(10);
        Attendi();
    };
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, nome);
    attendiConteggi();
    const int n = Righe();
    // More than half a page before it either way.
    ASSERT_GT(n, 2 * RigheLista::RighePagina / 2 + 10);
    g->setCurrentIndex(g->model()->index(n / 2, 3));
    const QString cliente = Chiave(n / 2);
    // Descending: the same customer has about as many rows before it.
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, nome);
    EXPECT_EQ(Chiave(g->currentIndex().row()), cliente);
    EXPECT_TRUE(m_lista->txtRiga->text().startsWith(QStringLiteral("... / ")))
        << m_lista->txtRiga->text().toStdString();
    attendiConteggi();
    const int riga = g->currentIndex().row();
    EXPECT_EQ(Chiave(riga), cliente);
    EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("%1 / %2").arg(riga + 1).arg(n));
    EXPECT_TRUE(g->viewport()->rect().contains(g->visualRect(g->currentIndex()).center()));
    for (int r : {1, riga, n - 1})
        EXPECT_GE(Cella(r - 1, 3).compare(Cella(r, 3), Qt::CaseInsensitive), 0) << r;
    EXPECT_EQ(Righe(), n);
}

// A click gives the form the customer clicked, even when a key that moves
// the current row comes in before the grid has settled.
TEST_F(ListaClienti, UnTastoSubitoDopoIlClicNonCambiaIlClienteScelto)
{
    Apri();
    QTableView *g = m_lista->dbgRiga;
    const struct {
        const char *nome;
        Qt::Key tasto;
        Qt::KeyboardModifiers modificatori;
    } casi[] = {
        {"Down", Qt::Key_Down, Qt::NoModifier},
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier},
        {"PageDown", Qt::Key_PageDown, Qt::NoModifier},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.nome);
        Clic(0);
        const QRect r = g->visualRect(g->model()->index(2, 3));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        QTest::keyClick(g, caso.tasto, caso.modificatori);
        Attendi();
        EXPECT_EQ(ContoScheda(), Chiave(2));
        EXPECT_NE(g->currentIndex().row(), 2);
    }
}

TEST_F(ListaClienti, SelezionaPosizionaLaSchedaEScorreLaLista)
{
    Apri();
    Clic(2);
    EXPECT_EQ(ContoScheda(), Chiave(2));
    EXPECT_EQ(m_lista->ovfrmBookmark(), Chiave(2).replace('-', '|'));
    EXPECT_TRUE(Lista()->Bottone(QStringLiteral("VaiA"))->isEnabled());
    m_scheda->ButtonComando(QStringLiteral("ListaAvanti"));
    Attendi();
    EXPECT_EQ(ContoScheda(), Chiave(3));
    m_scheda->ButtonComando(QStringLiteral("ListaInd"));
    m_scheda->ButtonComando(QStringLiteral("ListaInd"));
    Attendi();
    EXPECT_EQ(ContoScheda(), Chiave(1));
    // Back to the row selected, after the list moved elsewhere.
    m_lista->dbgRiga->setCurrentIndex(m_lista->dbgRiga->model()->index(Righe() - 1, 0));
    m_lista->ButtonComando(QStringLiteral("VaiA"));
    Attendi();
    EXPECT_EQ(m_lista->dbgRiga->currentIndex().row(), 1);
    // Reopened from the form, the list stands on the form's record.
    m_lista->close();
    m_scheda->pagine->LeggiDaChiave(Chiave(Righe() > 0 ? 40 : 0).split('-'));
    Apri();
    EXPECT_EQ(Chiave(m_lista->dbgRiga->currentIndex().row()), ContoScheda());
}

TEST_F(ListaClienti, AggiornaTieneLaRigaELaSchedaDovErano)
{
    Apri();
    ASSERT_GT(Righe(), 5);
    Clic(4);
    ASSERT_EQ(ContoScheda(), Chiave(4));
    m_lista->ButtonComando(QStringLiteral("Aggiorna"));
    Attendi();
    EXPECT_EQ(m_lista->dbgRiga->currentIndex().row(), 4);
    EXPECT_EQ(ContoScheda(), Chiave(4));
    // The form's next record is the list's next row, not the second one.
    m_scheda->ButtonComando(QStringLiteral("ListaAvanti"));
    Attendi();
    EXPECT_EQ(ContoScheda(), Chiave(5));
}

TEST_F(ListaClienti, CercaTestoNelleDirezioni)
{
    Esegui(
        QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) Values "
                       "('01', '05', '9901', '3', 'Zeta Uno Speciale'), ('01', '05', '9902', '3', 'Zeta Due "
                       "Speciale'), ('01', '05', '9903', '3', 'Zeta Tre Speciale')"));
    Apri();
    m_lista->txtCerca->setText(QStringLiteral("speciale"));
    m_lista->CobCerca->setCurrentIndex(
        m_lista->CobCerca->findText(QStringLiteral("Ragione Sociale Contabile")));
    auto cerca = [&](int direzione) {
        m_lista->optDirez(direzione)->setChecked(true);
        m_lista->ButtonComando(QStringLiteral("Cerca"));
        Attendi();
        return Cella(m_lista->dbgRiga->currentIndex().row(), 2);
    };
    EXPECT_EQ(cerca(0), QStringLiteral("9901"));
    EXPECT_TRUE(m_lista->optDirez(1)->isChecked());
    EXPECT_EQ(cerca(1), QStringLiteral("9902"));
    EXPECT_EQ(cerca(3), QStringLiteral("9903"));
    EXPECT_TRUE(m_lista->optDirez(2)->isChecked());
    EXPECT_EQ(cerca(2), QStringLiteral("9902"));
    DimenticaMessaggi();
    m_lista->txtCerca->setText(QStringLiteral("nessuno così"));
    cerca(0);
    ASSERT_EQ(Messaggi().size(), 1);
    EXPECT_TRUE(Messaggi()[0].startsWith(QStringLiteral("Nessuna riga contiene")));
}

namespace
{

// The print windows: the dialog starts an export of every column to a file,
// the progress window notes the print state while the engine runs.
struct StampaProva : FormStampaLista, AvanzamentoStampa {
    OpzStampa opz;
    int aperture = 0;
    int staAttDurante = -1;
    void ApriPerLista(ComponenteStampa &lista) override
    {
        ++aperture;
        lista.ogSta()->ogOpzSta(&opz);
        lista.ogSta()->ofrmStampaInCorso(this);
        QFont f;
        lista.AvviaStampa(QStringLiteral("T"), 1, f);
    }
    void ogStampa(Stampatore *) override {}
    void Mostra() override { staAttDurante = Globali::StaAtt; }
    void Nascondi() override {}
    void PaginaInStampa(int) override {}
    QVariant ChiediEmailLogPwd() override { return false; }
};

} // namespace

TEST_F(ListaClienti, StampaPassaLaListaAllaStampaMaNonQuellaVuota)
{
    // Without the print windows the command does nothing and says nothing.
    Apri();
    DimenticaMessaggi();
    m_lista->ButtonComando(QStringLiteral("Stampa"));
    Attendi();
    EXPECT_TRUE(Messaggi().isEmpty());

    QTemporaryDir cartella;
    StampaProva stampa;
    stampa.opz.oiStaVid(OpzStampa::UscitaFile);
    stampa.opz.FileForm(OpzStampa::FormatoTesto);
    stampa.opz.SepCampi(QStringLiteral(";"));
    stampa.opz.DelimStr(QString());
    stampa.opz.FileName(cartella.filePath(QStringLiteral("lista.txt")));
    Stampatore motore;
    Lista()->ofrmComlinStampa(&stampa);
    Lista()->ogSta(&motore);
    Scrivi(30, QStringLiteral("Nessun cliente ha questo nome"));
    Cerca();
    ASSERT_EQ(Righe(), 0);
    DimenticaMessaggi();
    m_lista->ButtonComando(QStringLiteral("Stampa"));
    Attendi();
    EXPECT_EQ(stampa.aperture, 0);
    EXPECT_EQ(Messaggi(),
              QStringList{QString::fromUtf8("La lista è vuota e non c'è nulla da stampare: cambiare i "
                                            "criteri di ricerca e aggiornarla.")});
    // The field the command started from gets its focus handling back.
    EXPECT_EQ(m_lista->IndiceTxtAttivo, -1);

    Scrivi(30, QString());
    Cerca();
    DimenticaMessaggi();
    m_lista->ButtonComando(QStringLiteral("Stampa"));
    Attendi();
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(" ").toStdString();
    EXPECT_EQ(stampa.aperture, 1);
    EXPECT_EQ(stampa.staAttDurante, 1);
    EXPECT_EQ(Globali::StaAtt, 0);
    QFile file(stampa.opz.FileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The caption row and one line a customer, every column ("T").
    const QStringList righe =
        QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(righe.size(), Righe() + 1);
    EXPECT_TRUE(righe.last().contains(';' + Cella(Righe() - 1, 2) + ';'));
    EXPECT_EQ(righe.last().count(';'), 12);
}

TEST_F(ListaClienti, ComandoDaUnCampoLoControllaERidaIlFuocoUnaVolta)
{
    Apri();
    QLineEdit *da = m_lista->txt(10);
    Scrivi(10, QStringLiteral("0105"));
    m_lista->ButtonComando(QStringLiteral("Aggiorna"));
    // Checked and formatted before the command...
    EXPECT_EQ(m_lista->IndiceTxtAttivo, 10);
    EXPECT_EQ(da->text(), QStringLiteral("01-05"));
    Attendi();
    // ...and given back for editing once the command has run.
    EXPECT_EQ(m_lista->IndiceTxtAttivo, -1);
    EXPECT_EQ(da->text(), QStringLiteral("0105"));
    EXPECT_EQ(Righe(), Clienti(QStringLiteral("P.Mastro >= '05'")));
}

TEST_F(ListaClienti, TotaleContatoSenzaFermareLaFinestra)
{
    QStringList select;
    Globali::DbComp()->ImpostaOsservatoreSelect([&select](const QString &sql) { select << sql; });
    Apri();
    Globali::DbComp()->ImpostaOsservatoreSelect({});
    EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("1 / ") + QString::number(Clienti()));
    ASSERT_FALSE(select.isEmpty());
    for (const QString &s : std::as_const(select))
        EXPECT_FALSE(s.contains(QStringLiteral("Count("), Qt::CaseInsensitive)) << s.toStdString();
}

// The list opened by the form on a customer far down its rows: the window's
// connection counts nothing; the customer is the current row at once among
// its neighbours, and the rows before it (never the whole list) and the
// total are counted on threads of their own.
TEST_F(ListaClienti, ApertaSulClienteDellaSchedaContaSoloLeRighePrima)
{
    AggiungiClienti(600);
    const int totale = Clienti();
    const int prima = Clienti(QStringLiteral("(P.Mastro < '05' Or (P.Mastro = '05' And P.Conto < '9120'))"));
    ASSERT_GT(prima, 2 * 128);
    ASSERT_LT(prima + 128, totale);
    const QStringList conteggi =
        ApriSulCliente({QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("9120")});
    EXPECT_FALSE(Lista()->RecordsetLista().ConteggioNoto());
    EXPECT_EQ(Chiave(Lista()->RigaCorrente()), QStringLiteral("01-05-9120"));
    EXPECT_TRUE(conteggi.isEmpty()) << conteggi.join(QLatin1Char('\n')).toStdString();
    const QStringList posizione = Lista()->RecordsetLista().SqlPosizione();
    ASSERT_FALSE(posizione.isEmpty());
    for (const QString &c : posizione)
        EXPECT_FALSE(c.endsWith(QLatin1String("Mastri.Tipo = '3')"))) << c.toStdString();
    Attendi();
    EXPECT_EQ(Righe(), totale);
    EXPECT_EQ(Lista()->RigaCorrente(), prima);
    EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("%1 / %2").arg(prima + 1).arg(totale));
}

// The list opened by the form on one of its last customers: the customer is
// current at once among its neighbours; once its place is counted (on a
// thread of its own, the window's connection counting nothing) the grid
// holds every row, the customer current and on screen and the scroll bar's
// bottom the last customer.
TEST_F(ListaClienti, ApertaSuUnoDegliUltimiClientiLaGrigliaArrivaInFondo)
{
    AggiungiClienti(600);
    const int totale = Clienti();
    QTableView *griglia = m_lista->dbgRiga;
    const QString ultimoMastro = Valore(QStringLiteral("Select Max(P.Mastro) ") + kClienti).toString();
    const QString ultimoConto = Valore(QStringLiteral("Select Max(P.Conto) ") + kClienti +
                                       QStringLiteral(" And P.Mastro = '%1'").arg(ultimoMastro))
                                    .toString();
    for (const auto &[mastro, conto] :
         {std::pair{ultimoMastro, ultimoConto}, std::pair{QStringLiteral("05"), QStringLiteral("9599")}}) {
        SCOPED_TRACE(conto.toStdString());
        const int riga = Clienti(
            QStringLiteral("(P.Mastro < '%1' Or (P.Mastro = '%1' And P.Conto < '%2'))").arg(mastro, conto));
        ASSERT_GT(riga + 20, totale);
        const QString cliente = QStringLiteral("01-%1-%2").arg(mastro, conto);
        EXPECT_TRUE(ApriSulCliente({QStringLiteral("01"), mastro, conto}).isEmpty());
        EXPECT_EQ(Chiave(Lista()->RigaCorrente()), cliente);
        EXPECT_TRUE(m_lista->txtRiga->text().startsWith(QStringLiteral("... / ")))
            << m_lista->txtRiga->text().toStdString();
        QStringList conteggi;
        Globali::DbComp()->ImpostaOsservatoreSelect([&conteggi](const QString &sql) {
            if (sql.contains(QLatin1String("Count("), Qt::CaseInsensitive))
                conteggi << sql;
        });
        EXPECT_TRUE(QTest::qWaitFor([this] { return Lista()->PosizioneNota(); }, 30000));
        Attendi();
        Globali::DbComp()->ImpostaOsservatoreSelect({});
        EXPECT_TRUE(conteggi.isEmpty()) << conteggi.join(QLatin1Char('\n')).toStdString();
        ASSERT_EQ(Lista()->RigaCorrente(), riga);
        EXPECT_EQ(griglia->model()->rowCount(), totale);
        EXPECT_EQ(Chiave(riga), cliente);
        EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("%1 / %2").arg(riga + 1).arg(totale));
        QApplication::processEvents();
        EXPECT_TRUE(
            griglia->viewport()->rect().contains(griglia->visualRect(griglia->currentIndex()).center()));
        QScrollBar *barra = griglia->verticalScrollBar();
        barra->setValue(barra->maximum());
        EXPECT_EQ(griglia->rowAt(griglia->viewport()->height() - 2), totale - 1);
        Attendi();
        EXPECT_EQ(Righe(), totale);
        m_lista->hide();
    }
}

// The total is asked for once the first rows are painted: the count's work
// never competes with reading and painting them.
TEST_F(ListaClienti, TotaleChiestoDopoLaPrimaSchermata)
{
    class Osservatore : public QObject
    {
      public:
        int dipinture = 0;
        int conteggiPrima = -1; // counts under way or done when the grid was first painted
        GestLista *lista = nullptr;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint && lista->RecordsetLista().Aperta() && dipinture++ == 0)
                conteggiPrima =
                    ConteggioParallelo::InCorso() + (lista->RecordsetLista().ConteggioNoto() ? 1 : 0);
            return false;
        }
    } osservatore;
    osservatore.lista = Lista();
    m_lista->dbgRiga->viewport()->installEventFilter(&osservatore);
    Apri();
    m_lista->dbgRiga->viewport()->removeEventFilter(&osservatore);
    ASSERT_GT(osservatore.dipinture, 0);
    EXPECT_EQ(osservatore.conteggiPrima, 0);
    EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("1 / ") + QString::number(Clienti()));
}

// The thumb dragged to the bottom of the first rows as soon as the list
// opens, before they are counted: the window's connection counts nothing,
// and once the counting thread has answered the grid shows the last
// customer, the thumb let go or still held; after Ctrl+End the last
// customer is also the current row. Taken back up before the count, the
// wheel that reaches the same end, and a wheel turn, the scroll bar's arrow
// or the Down key at the end after the thumb or Ctrl+End got there: the grid
// stays.
TEST_F(ListaClienti, TrascinataInFondoPrimaDelConteggioArrivaAllUltimo)
{
    AggiungiClienti(3000);
    QTableView *griglia = m_lista->dbgRiga;
    QScrollBar *barra = griglia->verticalScrollBar();
    enum Gesto { Lasciata, Tenuta, Ritirata, Rotella, CtrlFine, PoiRotella, PoiFreccia, PoiGiu };
    for (const Gesto gesto :
         {Lasciata, Tenuta, Ritirata, Rotella, CtrlFine, PoiRotella, PoiFreccia, PoiGiu}) {
        SCOPED_TRACE(int(gesto));
        ApriSenzaAttendere();
        ASSERT_EQ(Righe(), RigheLista::RighePagina);
        QStringList conteggi;
        Globali::DbComp()->ImpostaOsservatoreSelect([&conteggi](const QString &sql) {
            if (sql.contains(QLatin1String("Count("), Qt::CaseInsensitive))
                conteggi << sql;
        });
        barra->setSliderDown(gesto <= Ritirata);
        if (gesto <= Ritirata)
            barra->setSliderPosition(barra->maximum());
        if (gesto == Ritirata)
            barra->setSliderPosition(barra->maximum() - 10);
        // The wheel: a page at most a turn.
        for (int i = 0; gesto == Rotella && i < 100 && barra->value() < barra->maximum(); ++i) {
            const QPointF p = griglia->viewport()->rect().center();
            QWheelEvent rotella(p, griglia->viewport()->mapToGlobal(p), {}, {0, -1200}, Qt::NoButton,
                                Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(griglia->viewport(), &rotella);
        }
        if (gesto == CtrlFine || gesto == PoiGiu)
            QTest::keyClick(griglia, Qt::Key_End, Qt::ControlModifier);
        if (gesto == PoiRotella || gesto == PoiFreccia) {
            barra->setSliderDown(true);
            barra->setSliderPosition(barra->maximum());
            barra->setSliderDown(false);
        }
        if (gesto == PoiRotella) {
            const QPointF p = griglia->viewport()->rect().center();
            QWheelEvent rotella(p, griglia->viewport()->mapToGlobal(p), {}, {0, -120}, Qt::NoButton,
                                Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(griglia->viewport(), &rotella);
        }
        if (gesto == PoiFreccia)
            barra->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        if (gesto == PoiGiu)
            QTest::keyClick(griglia, Qt::Key_Down);
        barra->setSliderDown(gesto == Tenuta);
        const int valore = barra->value();
        ASSERT_EQ(valore == barra->maximum(), gesto != Ritirata);
        Attendi();
        Globali::DbComp()->ImpostaOsservatoreSelect({});
        EXPECT_TRUE(conteggi.isEmpty()) << conteggi.join('\n').toStdString();
        ASSERT_EQ(Righe(), Clienti());
        EXPECT_EQ(RigaVisibile(Righe() - 1), gesto <= Tenuta || gesto == CtrlFine);
        EXPECT_EQ(barra->value() == valore, gesto > Tenuta && gesto != CtrlFine);
        if (gesto == CtrlFine) {
            EXPECT_EQ(griglia->currentIndex().row(), Righe() - 1);
        }
        EXPECT_EQ(barra->isSliderDown(), gesto == Tenuta);
        // The list opens again on its first rows (it keeps the current row).
        griglia->setCurrentIndex(griglia->model()->index(0, 0));
        m_lista->hide();
        Attendi();
    }
}

// Dragged through the middle of a long list once counted but before its
// landmarks have come: the window's connection skips no rows for the
// screen, whose far rows are blank meanwhile; once the landmarks come the
// screen shows the rows of that place, each page sought from its landmark.
TEST_F(ListaClienti, TrascinataNelMezzoPrimaDeiSegnapostiNonSaltaRighe)
{
    AggiungiClienti(3000);
    const int totale = Clienti();
    QTableView *griglia = m_lista->dbgRiga;
    QScrollBar *barra = griglia->verticalScrollBar();
    ApriSenzaAttendere();
    // At the end of its first rows the grid has the count and the landmarks
    // started on their thread; the window knows every row at once here.
    barra->setValue(barra->maximum());
    ASSERT_TRUE(Lista()->RecordsetLista().SegnapostiInArrivo());
    ASSERT_EQ(Lista()->RecordCount(), totale);
    griglia->doItemsLayout();
    QStringList lette;
    Globali::DbComp()->ImpostaOsservatoreMotore([&lette](const QString &sql) { lette << sql; });
    const int mezzo = totale / 2;
    griglia->scrollTo(griglia->model()->index(mezzo, 0), QAbstractItemView::PositionAtTop);
    griglia->viewport()->grab();
    EXPECT_TRUE(RigaVisibile(mezzo));
    EXPECT_EQ(Cella(mezzo, 2), QString());
    Attendi();
    EXPECT_FALSE(Lista()->RecordsetLista().SegnapostiInArrivo());
    griglia->viewport()->grab();
    Globali::DbComp()->ImpostaOsservatoreMotore({});
    const QString mastro = Cella(mezzo, 1), conto = Cella(mezzo, 2);
    ASSERT_FALSE(conto.isEmpty());
    EXPECT_EQ(
        Clienti(
            QStringLiteral("(P.Mastro < '%1' Or (P.Mastro = '%1' And P.Conto < '%2'))").arg(mastro, conto)),
        mezzo);
    ASSERT_FALSE(lette.isEmpty());
    EXPECT_TRUE(lette.filter(QStringLiteral("OFFSET"), Qt::CaseInsensitive).isEmpty())
        << lette.join('\n').toStdString();
}
