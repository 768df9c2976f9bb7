// The customer form's line grids worked as the user does: the rows each grid
// reads, adding, changing, sorting and deleting lines, the checks of a letter
// of intent with their messages, amounts typed the Italian way, and who may
// change the grids.
#include "BancoGriglie.h"

#include "components/db/RecDat.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

namespace
{

QVariantMap letteraCompleta()
{
    return {{QStringLiteral("Descrizione"), QStringLiteral("Lettera")},
            {QStringLiteral("Attivo"), QStringLiteral("S")},
            {QStringLiteral("NrDichIntenti"), 12},
            {QStringLiteral("DataDichIntenti"), QStringLiteral("#01/10/2024#")},
            {QStringLiteral("NrPrgIntenti"), 345},
            {QStringLiteral("DataRicComIntenti"), QStringLiteral("#01/15/2024#")},
            {QStringLiteral("RifComunicIntenti"), QStringLiteral("2")},
            {QStringLiteral("ImportoDichIntenti"), 5000}};
}

} // namespace

class Griglie : public BancoGriglie
{
  protected:
    void SetUp() override
    {
        BancoGriglie::SetUp();
        Documento(10, QStringLiteral("Visura"), QStringLiteral("v.pdf"));
        Documento(20, QStringLiteral("Contratto"), QStringLiteral("c.pdf"));
        for (int k : {1, 2, 3}) {
            QVariantMap l = letteraCompleta();
            l[QStringLiteral("Descrizione")] = QStringLiteral("Lettera %1").arg(4 - k);
            Lettera(k, l);
        }
        ApriConto();
    }
    QString sql(int g) const { return m_form->RecLin[size_t(g)]->SqlRec(m_form->IdRecLin[size_t(g)]); }
    QString chiave() const
    {
        return QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'")
            .arg(m_gruppo, m_mastro, m_conto);
    }
    QString testo(int g, int riga, const QString &campo) const
    {
        return Vista(g)->model()->index(riga, Griglia(g)->IndiceColonna(campo)).data().toString();
    }
    void clicIntestazione(int g, const QString &campo)
    {
        QHeaderView *h = Vista(g)->horizontalHeader();
        const int c = Griglia(g)->IndiceColonna(campo);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(c) + 5, 5));
        Attendi();
    }
};

TEST_F(Griglie, EachGridReadsItsAccountsRowsWithItsOwnSelect)
{
    Pagina(0);
    EXPECT_EQ(sql(0), QStringLiteral(
                          "SELECT Gruppo, Mastro, Conto , Ordine, Descrizione, Percorso From PianoContiDoc") +
                          chiave() + QStringLiteral(" Order by Ordine"));
    EXPECT_EQ(Griglia(0)->NumeroRighe(), 2);
    EXPECT_EQ(m_form->txtRiga(0)->text(), QStringLiteral("1 / 2"));
    Pagina(1);
    EXPECT_EQ(sql(1),
              QStringLiteral("SELECT Gruppo, Mastro, Conto , PdcDicIntenti, Descrizione, Attivo, "
                             "ProtRicezione, DataRicAE, NrDichIntenti, DataDichIntenti, NrPrgIntenti, "
                             "DataRicComIntenti, RifComunicIntenti, ImportoDichIntenti, DataDAIntenti, "
                             "DataAIntenti From PdcDicIntenti") +
                  chiave() + QStringLiteral(" Order by PdcDicIntenti"));
    EXPECT_EQ(testo(1, 0, QStringLiteral("ImportoDichIntenti")), QStringLiteral("5.000,00"));
    EXPECT_EQ(Vista(1)->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Cod."));
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(Vista(1)->isColumnHidden(c)) << c;

    // A header click sorts on that column; over a pending change it cannot.
    clicIntestazione(1, QStringLiteral("Descrizione"));
    EXPECT_TRUE(sql(1).endsWith(chiave() + QStringLiteral(" Order by Descrizione"))) << sql(1).toStdString();
    EXPECT_EQ(testo(1, 0, QStringLiteral("Descrizione")), QStringLiteral("Lettera 1"));
    EXPECT_TRUE(Messaggi().isEmpty());
    Griglia(1)->ImpostaValoreCella(QStringLiteral("Descrizione"), QStringLiteral("In sospeso"));
    clicIntestazione(1, QStringLiteral("PdcDicIntenti"));
    EXPECT_EQ(Messaggi(), QStringList{QStringLiteral("Impossibile ordinare su questo campo")});
    EXPECT_TRUE(sql(1).endsWith(QStringLiteral(" Order by Descrizione")));
    Comando(1, QStringLiteral("Annulla"));

    // Clearing the form empties both grids without reading anything.
    m_form->ButtonComando(QStringLiteral("Nuovo"));
    Attendi();
    EXPECT_EQ(Griglia(0)->NumeroRighe(), 0);
    EXPECT_EQ(Griglia(1)->NumeroRighe(), 0);
    m_form->LinAttuale = 1;
    m_form->DatiPrepara({}, true);
    EXPECT_TRUE(sql(1).endsWith(QString::fromUtf8(" Where Gruppo = 'qspeftyàòéè§ò' Order by PdcDicIntenti")));
    EXPECT_EQ(m_form->olNumRecTot(), 0);
}

TEST_F(Griglie, AnEmptiedGridIsHiddenUntilItShowsAnAccountAgain)
{
    Pagina(0);
    EXPECT_TRUE(Vista(0)->isVisibleTo(m_form));
    m_form->ButtonComando(QStringLiteral("Nuovo"));
    Attendi();
    for (int g : {0, 1}) {
        EXPECT_FALSE(Vista(g)->isVisibleTo(m_form)) << g;
        EXPECT_EQ(Griglia(g)->NumeroRighe(), 0) << g;
    }
    ASSERT_TRUE(Leggi(m_gruppo, m_mastro, m_conto));
    Pagina(0);
    EXPECT_TRUE(Vista(0)->isVisibleTo(m_form));
    EXPECT_EQ(Griglia(0)->NumeroRighe(), 2);
}

TEST_F(Griglie, GridPropertiesTheFrameworkReadsAndSets)
{
    Pagina(1);
    // The form's read/write level reads grid 0 whatever grid is current, and
    // sets the current one.
    m_form->LinAttuale = 1;
    m_form->oiAbilRW(0);
    EXPECT_EQ(Griglia(1)->Livello(), 0);
    EXPECT_EQ(m_form->oiAbilRW(), 1);
    m_form->LinAttuale = 0;
    EXPECT_EQ(m_form->oiAbilRW(), Griglia(0)->Livello());
    m_form->LinAttuale = 1;
    m_form->oiAbilRW(1);
    EXPECT_EQ(Griglia(1)->Livello(), 1);
    // A grid's stored level reads back as stored; its engine learns it only
    // when the grid is filled again.
    m_form->obAbilRW(1, false);
    EXPECT_FALSE(m_form->obAbilRW(1));
    EXPECT_EQ(Griglia(1)->Livello(), 1);
    m_form->obAbilRW(1, true);
    EXPECT_TRUE(m_form->obAbilRW(1));

    // No fixed columns unless set: the grids get none.
    for (int g : {0, 1}) {
        EXPECT_EQ(m_form->oiColFisse(g), 0);
        EXPECT_EQ(Griglia(g)->ColonneFisse(), 0);
    }
    m_form->oiColFisse(1, 2);
    EXPECT_EQ(m_form->oiColFisse(1), 2);
    EXPECT_EQ(m_form->oiColFisse(0), 0);

    // The current line's row on the grid's screen.
    Cella(1, 2, QStringLiteral("Descrizione"));
    EXPECT_EQ(m_form->ScrollOffset().toInt(), 2 - Griglia(1)->ScostamentoScroll());
    Cella(1, 0, QStringLiteral("Descrizione"));
    EXPECT_EQ(m_form->ScrollOffset().toInt(), 0);
}

TEST_F(Griglie, AGridNotSetUpWritesNoLine)
{
    Pagina(0);
    Cella(0, 0, QStringLiteral("Descrizione"));
    Scrivi(0, QStringLiteral("Non scritta"));
    m_form->LinPronta[0] = false;
    Comando(0, QStringLiteral("Salva"));
    EXPECT_EQ(Valore(QStringLiteral("Select Descrizione From PianoContiDoc") + chiave() +
                     QStringLiteral(" And Ordine = 10"))
                  .toString(),
              QStringLiteral("Visura"));
    EXPECT_TRUE(Griglia(0)->DatiModificati());
    m_form->LinPronta[0] = true;
    Comando(0, QStringLiteral("Salva"));
    EXPECT_EQ(Valore(QStringLiteral("Select Descrizione From PianoContiDoc") + chiave() +
                     QStringLiteral(" And Ordine = 10"))
                  .toString(),
              QStringLiteral("Non scritta"));
}

TEST_F(Griglie, ANewLineSavedStaysCurrentWhereItsOrderPutsIt)
{
    Pagina(0);
    Comando(0, QStringLiteral("Nuovo"));
    Cella(0, 2, QStringLiteral("Ordine"));
    Scrivi(0, QStringLiteral("5"));
    Cella(0, 2, QStringLiteral("Descrizione"));
    Scrivi(0, QStringLiteral("Primo documento"));
    Comando(0, QStringLiteral("Salva"));
    ASSERT_EQ(Griglia(0)->NumeroRighe(), 3);
    EXPECT_EQ(Griglia(0)->RigaCorrente(), 0);
    EXPECT_EQ(Griglia(0)->ValoreCella(QStringLiteral("Descrizione")).toString(),
              QStringLiteral("Primo documento"));
    EXPECT_EQ(m_form->txtRiga(0)->text(), QStringLiteral("1 / 3"));
}

TEST_F(Griglie, KeysInALineGridPassTheCommonKeyServicesAndStayTheGrids)
{
    Pagina(1);
    const QString conto = m_form->txt(30)->text();
    Cella(1, 1, QStringLiteral("Descrizione"));
    QTest::keyClick(Vista(1), Qt::Key_F2);
    auto *le = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(le, nullptr);
    RisposteProgrammate::Accoda(QStringLiteral("trova"),
                                QVariantMap{{QStringLiteral("cerca"), QStringLiteral("x")}});
    QTest::keyClick(le, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(le, Qt::Key_PageDown);
    QTest::keyClick(le, Qt::Key_F, Qt::ControlModifier);
    Attendi();
    EXPECT_EQ(m_form->txt(30)->text(), conto);
    EXPECT_TRUE(RisposteProgrammate::Mostrati(QStringLiteral("trova")).isEmpty());
    RisposteProgrammate::Prendi(QStringLiteral("trova"));
    if (auto *aperto = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
        QTest::keyClick(aperto, Qt::Key_Escape);
    // Alt commands act from the grid as from any field.
    Comando(1, QStringLiteral("Annulla"));
    Cella(1, 1, QStringLiteral("Descrizione"));
    QTest::keyClick(Vista(1), Qt::Key_U, Qt::AltModifier);
    Attendi();
    EXPECT_NE(m_form->txt(30)->text(), conto);
}

TEST_F(Griglie, DocumentLinesAreAddedChangedAndDeletedAfterAsking)
{
    Pagina(0);
    Comando(0, QStringLiteral("Nuovo"));
    Cella(0, 2, QStringLiteral("Ordine"));
    Scrivi(0, QStringLiteral("30"));
    Cella(0, 2, QStringLiteral("Descrizione"));
    Scrivi(0, QStringLiteral("Mandato SDD"));
    Comando(0, QStringLiteral("Salva"));
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PianoContiDoc") + chiave() +
                    QStringLiteral(" And Ordine = 30 And Descrizione = 'Mandato SDD'")),
              1);

    Cella(0, 0, QStringLiteral("Descrizione"));
    Scrivi(0, QStringLiteral("Visura camerale"));
    Comando(0, QStringLiteral("Salva"));
    EXPECT_EQ(Valore(QStringLiteral("Select Descrizione From PianoContiDoc") + chiave() +
                     QStringLiteral(" And Ordine = 10"))
                  .toString(),
              QStringLiteral("Visura camerale"));

    // Delete on a whole cell asks first; "No" keeps the line.
    Cella(0, 0, QStringLiteral("Descrizione"));
    Rispondi(2);
    QTest::keyClick(Vista(0), Qt::Key_Delete);
    Attendi();
    EXPECT_EQ(UltimoMessaggio(), QStringLiteral("Confermi la cancellazione della riga?"));
    EXPECT_EQ(Righe(QStringLiteral("PianoContiDoc")), 3);
    Rispondi(1);
    QTest::keyClick(Vista(0), Qt::Key_Delete);
    Attendi(5);
    EXPECT_EQ(Righe(QStringLiteral("PianoContiDoc")), 2);
    EXPECT_EQ(Griglia(0)->NumeroRighe(), 2);
    EXPECT_EQ(m_form->txtRiga(0)->text(), QStringLiteral("1 / 2"));

    // With part of the text selected, Delete edits the text.
    Cella(0, 0, QStringLiteral("Descrizione"));
    QTest::keyClick(Vista(0), Qt::Key_F2);
    auto *le = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(le, nullptr);
    le->setSelection(0, 1);
    const int messaggi = int(Messaggi().size());
    QTest::keyClick(le, Qt::Key_Delete);
    EXPECT_EQ(Messaggi().size(), messaggi);
    EXPECT_EQ(le->text(), QStringLiteral("ontratto"));
    QTest::keyClick(le, Qt::Key_Escape);
}

TEST_F(Griglie, ALetterIsWrittenOnlyWithTheDataItNeeds)
{
    struct Caso {
        QVariantMap celle;
        const char *messaggio; // nullptr: written
        const char *colonna;   // where the user is sent
    };
    const QString inizio = QStringLiteral("Inserire Protocollo ricezione dell'agenzia delle entrate oppure");
    const QVariantMap base{{QStringLiteral("PdcDicIntenti"), QStringLiteral("7")}};
    auto con = [&](QVariantMap m, const QVariantMap &piu) {
        for (auto it = piu.constBegin(); it != piu.constEnd(); ++it)
            m[it.key()] = it.value();
        return m;
    };
    const QVariantMap dati = con(base, {{QStringLiteral("NrDichIntenti"), QStringLiteral("12")},
                                        {QStringLiteral("DataDichIntenti"), QStringLiteral("10/01/2024")},
                                        {QStringLiteral("NrPrgIntenti"), QStringLiteral("345")},
                                        {QStringLiteral("DataRicComIntenti"), QStringLiteral("15/01/2024")}});
    const QVariantMap periodo = con(dati, {{QStringLiteral("RifComunicIntenti"), QStringLiteral("3")}});
    const QVariantMap protocollo =
        con(base, {{QStringLiteral("ProtRicezione"), QStringLiteral("24011012345-000001")}});
    const Caso casi[] = {
        {{}, "Inserire il Codice da assegnare alla dichiarazione d'intenti", "PdcDicIntenti"},
        {base, " il Numero della dichiarazione d'intenti", "NrDichIntenti"},
        {con(base, {{QStringLiteral("NrDichIntenti"), QStringLiteral("12")}}),
         " la Data della dichiarazione d'intenti", "DataDichIntenti"},
        {dati, " l'Importo delle operazioni", "ImportoDichIntenti"},
        {periodo, " la Data di inizio periodo delle operazioni", "DataDAIntenti"},
        {con(periodo, {{QStringLiteral("DataDAIntenti"), QStringLiteral("01/01/2024")}}),
         " la Data di fine periodo delle operazioni", "DataAIntenti"},
        {protocollo, "Inserire la Data ricezione Agenzia Entrate (una data nell'anno della dichiarazione)",
         "DataRicAE"},
        {con(protocollo, {{QStringLiteral("DataRicAE"), QStringLiteral("20/01/2024")}}), nullptr, nullptr},
        {con(dati, {{QStringLiteral("PdcDicIntenti"), QStringLiteral("8")},
                    {QStringLiteral("ImportoDichIntenti"), QStringLiteral("1.000")}}),
         nullptr, nullptr},
    };
    Pagina(1);
    for (const Caso &c : casi) {
        DimenticaMessaggi();
        const int prima = Righe(QStringLiteral("PdcDicIntenti"));
        Comando(1, QStringLiteral("Nuovo"));
        GestLinee *g = Griglia(1);
        // A new letter is active and covers several operations.
        EXPECT_EQ(g->ValoreCella(QStringLiteral("Attivo")).toString(), QStringLiteral("S"));
        EXPECT_EQ(g->ValoreCella(QStringLiteral("RifComunicIntenti")).toString(), QStringLiteral("2"));
        for (auto it = c.celle.constBegin(); it != c.celle.constEnd(); ++it)
            g->ImpostaValoreCella(it.key(), it.value());
        Comando(1, QStringLiteral("Salva"));
        if (!c.messaggio) {
            EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(u'|').toStdString();
            EXPECT_EQ(Righe(QStringLiteral("PdcDicIntenti")), prima + 1);
            continue;
        }
        const QString atteso = QString::fromUtf8(c.messaggio);
        EXPECT_EQ(UltimoMessaggio(), atteso.startsWith(u' ') ? inizio + atteso : atteso);
        EXPECT_EQ(g->Colonne().value(g->ColonnaCorrente()), QString::fromLatin1(c.colonna));
        EXPECT_EQ(Righe(QStringLiteral("PdcDicIntenti")), prima);
        Comando(1, QStringLiteral("Annulla"));
    }
    // A new letter takes the account's key; an edited one keeps its own.
    EXPECT_EQ(Valore(QStringLiteral("Select Attivo From PdcDicIntenti") + chiave() +
                     QStringLiteral(" And PdcDicIntenti = 7"))
                  .toString(),
              QStringLiteral("S"));
    EXPECT_DOUBLE_EQ(Valore(QStringLiteral("Select ImportoDichIntenti From PdcDicIntenti") + chiave() +
                            QStringLiteral(" And PdcDicIntenti = 8"))
                         .toDouble(),
                     1000.0);
}

TEST_F(Griglie, CellsOfALetterAreCheckedAsTheUserLeavesThem)
{
    struct Caso {
        const char *campo, *scritto;
        const char *mostrato;  // the cell afterwards (refused: as before)
        const char *messaggio; // nullptr: accepted silently
    };
    const Caso casi[] = {
        {"Attivo", "n", "N", nullptr},
        {"Attivo", "X", "N", "Valore valido per 'Attivo': S=Sì, N=No"},
        {"Attivo", "SN", "N", "Valore valido per 'Attivo': S=Sì, N=No"},
        {"Attivo", "", "N", "Valore valido per 'Attivo': S=Sì, N=No"},
        {"RifComunicIntenti", "3", "3", nullptr},
        {"RifComunicIntenti", "4", "3",
         "Valore valido per 'La dichiariazione si riferisce a'\r\n1=Una sola operazione, 2=più operazioni, "
         "3=operazioni di un periodo"},
        {"RifComunicIntenti", "12", "3",
         "Valore valido per 'La dichiariazione si riferisce a'\r\n1=Una sola operazione, 2=più operazioni, "
         "3=operazioni di un periodo"},
        {"ImportoDichIntenti", "1234,5", "1.234,50", nullptr},
        {"ImportoDichIntenti", "12 euro", "1.234,50", ""},
        {"NrDichIntenti", "abc", "12", ""},
        {"NrDichIntenti", "40", "40", nullptr},
    };
    Pagina(1);
    for (const Caso &c : casi) {
        DimenticaMessaggi();
        const QString campo = QString::fromLatin1(c.campo);
        Cella(1, 0, campo);
        Scrivi(1, QString::fromUtf8(c.scritto));
        Attendi(3);
        if (QApplication::focusWidget() != Vista(1))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // the refused cell's editor
        Attendi();
        EXPECT_EQ(testo(1, 0, campo), QString::fromUtf8(c.mostrato)) << c.campo << " " << c.scritto;
        if (!c.messaggio) {
            EXPECT_TRUE(Messaggi().isEmpty()) << c.scritto << ": " << Messaggi().join(u'|').toStdString();
        } else if (*c.messaggio) {
            EXPECT_EQ(UltimoMessaggio(), QString::fromUtf8(c.messaggio)) << c.scritto;
        } else {
            EXPECT_EQ(Messaggi().size(), 1) << c.scritto;
        }
    }
    Comando(1, QStringLiteral("Annulla"));

    // On a new line an invalid value in an empty cell is shown, then emptied and accepted.
    Comando(1, QStringLiteral("Nuovo"));
    DimenticaMessaggi();
    Cella(1, 3, QStringLiteral("NrPrgIntenti"));
    Scrivi(1, QStringLiteral("abc"));
    EXPECT_EQ(Messaggi().size(), 1);
    EXPECT_EQ(Griglia(1)->ValoreCella(QStringLiteral("NrPrgIntenti")).toString(), QString());
    EXPECT_EQ(QApplication::focusWidget(), Vista(1));
    Comando(1, QStringLiteral("Annulla"));
}

TEST_F(Griglie, AmountsShownTheItalianWayAreWrittenExactly)
{
    Pagina(1);
    struct Caso {
        const char *scritto;
        double salvato;
        const char *mostrato;
    };
    for (const Caso &c : {Caso{"1.234,56", 1234.56, "1.234,56"}, Caso{"1.234", 1234, "1.234,00"},
                          Caso{"2500000,1", 2500000.1, "2.500.000,10"}}) {
        Cella(1, 1, QStringLiteral("ImportoDichIntenti"));
        Scrivi(1, QString::fromLatin1(c.scritto));
        Comando(1, QStringLiteral("Salva"));
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(u'|').toStdString();
        EXPECT_EQ(Valore(QStringLiteral("Select ImportoDichIntenti From PdcDicIntenti") + chiave() +
                         QStringLiteral(" And PdcDicIntenti = 2"))
                      .toDouble(),
                  c.salvato)
            << c.scritto;
        EXPECT_EQ(testo(1, 1, QStringLiteral("ImportoDichIntenti")), QString::fromLatin1(c.mostrato));
    }
    // Saving another cell of the line leaves the amount as it is.
    Cella(1, 1, QStringLiteral("Descrizione"));
    Scrivi(1, QStringLiteral("Rinnovata"));
    Comando(1, QStringLiteral("Salva"));
    EXPECT_EQ(Valore(QStringLiteral("Select ImportoDichIntenti From PdcDicIntenti") + chiave() +
                     QStringLiteral(" And PdcDicIntenti = 2"))
                  .toDouble(),
              2500000.1);
}

TEST_F(Griglie, ARefusedCellStopsTheCommandButNotTheAfterCommandCall)
{
    Pagina(1);
    QSignalSpy dopo(Griglia(1), &GestLinee::dopoComando);
    Cella(1, 0, QStringLiteral("Attivo"));
    Scrivi(1, QStringLiteral("X"), false);
    Comando(1, QStringLiteral("Salva"));
    EXPECT_EQ(UltimoMessaggio(), QString::fromUtf8("Valore valido per 'Attivo': S=Sì, N=No"));
    EXPECT_EQ(dopo.size(), 1);
    EXPECT_EQ(Valore(QStringLiteral("Select Attivo From PdcDicIntenti") + chiave() +
                     QStringLiteral(" And PdcDicIntenti = 1"))
                  .toString(),
              QStringLiteral("S"));
    // The next turn of the event loop lets commands run again.
    Attendi(3);
    if (QApplication::focusWidget() != Vista(1))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(m_form->ModificaOk[1]);
}

// A line whose code another line of the account has: said in Italian, the
// line kept as typed with the user on its code, then saved once corrected. A
// code no line of the grid shows was saved meanwhile by another desk: the
// message says so. The database's words go to the detail.
TEST_F(Griglie, ADuplicateCodeIsSaidInItalianAndTheUserStaysOnIt)
{
    struct Caso {
        int griglia;
        const char *chiave, *doppio, *libero;
        bool altrove; // the code saved by another desk after the grid was read
        const char *messaggio;
    };
    const Caso casi[] = {
        {1, "PdcDicIntenti", "2", "9", false,
         "Il codice 2 è già assegnato a un'altra dichiarazione d'intenti di questo cliente: la riga non è "
         "stata salvata e resta nella griglia; indicare un codice diverso e salvare di nuovo."},
        {0, "Ordine", "20", "30", false,
         "Il numero d'ordine 20 è già assegnato a un altro documento di questo cliente: la riga non è stata "
         "salvata e resta nella griglia; indicare un numero diverso e salvare di nuovo."},
        {1, "PdcDicIntenti", "7", "8", true,
         "Il codice 7 è stato assegnato nel frattempo da un'altra postazione a un'altra dichiarazione "
         "d'intenti di questo cliente: la riga non è stata salvata e resta nella griglia; indicare un codice "
         "diverso e salvare di nuovo."},
        {0, "Ordine", "40", "50", true,
         "Il numero d'ordine 40 è stato assegnato nel frattempo da un'altra postazione a un altro documento "
         "di questo cliente: la riga non è stata salvata e resta nella griglia; indicare un numero diverso e "
         "salvare di nuovo."},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.chiave);
        Pagina(c.griglia);
        const QString tabella =
            c.griglia == 1 ? QStringLiteral("PdcDicIntenti") : QStringLiteral("PianoContiDoc");
        if (c.altrove) {
            if (c.griglia == 1)
                Lettera(QString::fromLatin1(c.doppio).toInt(), letteraCompleta());
            else
                Documento(QString::fromLatin1(c.doppio).toInt(), QStringLiteral("Altrove"));
        }
        const int prima = Righe(tabella);
        DimenticaMessaggi();
        Comando(c.griglia, QStringLiteral("Nuovo"));
        GestLinee *g = Griglia(c.griglia);
        QVariantMap celle{{QStringLiteral("Descrizione"), QStringLiteral("Delega")}};
        if (c.griglia == 1) {
            celle[QStringLiteral("ProtRicezione")] = QStringLiteral("24012012345-000001");
            celle[QStringLiteral("DataRicAE")] = QStringLiteral("20/01/2024");
        }
        celle[QString::fromLatin1(c.chiave)] = QString::fromLatin1(c.doppio);
        for (auto it = celle.constBegin(); it != celle.constEnd(); ++it)
            g->ImpostaValoreCella(it.key(), it.value());
        // The user is in another cell's editor when the line is saved.
        Cella(c.griglia, g->RigaCorrente(), QStringLiteral("Descrizione"));
        Scrivi(c.griglia, QStringLiteral("Nuova"), false);
        Comando(c.griglia, QStringLiteral("Salva"));
        ASSERT_EQ(Messaggi().size(), 1) << Messaggi().join(u'|').toStdString();
        EXPECT_EQ(UltimoMessaggio().section(u'\n', 0, 0), QString::fromUtf8(c.messaggio));
        EXPECT_TRUE(
            UltimoMessaggio().section(u'\n', 1).startsWith(QStringLiteral("Dettaglio: errore 3022, ")))
            << UltimoMessaggio().toStdString();
        EXPECT_EQ(Righe(tabella), prima);
        EXPECT_EQ(g->Colonne().value(g->ColonnaCorrente()), QString::fromLatin1(c.chiave));
        EXPECT_EQ(QApplication::focusWidget(), Vista(c.griglia));
        EXPECT_EQ(g->ValoreCella(QStringLiteral("Descrizione")).toString(), QStringLiteral("Nuova"));
        EXPECT_EQ(g->ValoreCella(QString::fromLatin1(c.chiave)).toString(), QString::fromLatin1(c.doppio));

        DimenticaMessaggi();
        g->ImpostaValoreCella(QString::fromLatin1(c.chiave), QString::fromLatin1(c.libero));
        Comando(c.griglia, QStringLiteral("Salva"));
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(u'|').toStdString();
        EXPECT_EQ(Righe(tabella), prima + 1);
        EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From ") + tabella + DelConto() +
                        QStringLiteral(" And ") + QString::fromLatin1(c.chiave) + QStringLiteral(" = ") +
                        QString::fromLatin1(c.libero)),
                  1);
    }
}

// Behind a real message box: once it is closed the focus is back in the
// refused line's code, however the save came (command, another row clicked,
// a key that leaves the line).
TEST_F(Griglie, AfterARefusedLineTheFocusIsBackInItsCode)
{
    Pagina(1);
    const std::pair<const char *, std::function<void()>> modi[] = {
        {"Salva", [this] { Comando(1, QStringLiteral("Salva")); }},
        {"clic",
         [this] {
             QTableView *v = Vista(1);
             QTest::mouseClick(
                 v->viewport(), Qt::LeftButton, {},
                 v->visualRect(v->model()->index(0, Griglia(1)->IndiceColonna(QStringLiteral("Attivo"))))
                     .center());
         }},
        {"su", [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); }},
    };
    for (const auto &[nome, salva] : modi) {
        SCOPED_TRACE(nome);
        Comando(1, QStringLiteral("Nuovo"));
        GestLinee *g = Griglia(1);
        g->ImpostaValoreCella(QStringLiteral("PdcDicIntenti"), QStringLiteral("3"));
        g->ImpostaValoreCella(QStringLiteral("ProtRicezione"), QStringLiteral("24012012345-000001"));
        g->ImpostaValoreCella(QStringLiteral("DataRicAE"), QStringLiteral("20/01/2024"));
        Cella(1, g->RigaCorrente(), QStringLiteral("Descrizione"));
        Scrivi(1, QStringLiteral("Doppia"), false);
        RisposteProgrammate::ImpostaSenzaModali(false);
        QString mostrato;
        QTimer chiudi;
        chiudi.setInterval(20);
        QObject::connect(&chiudi, &QTimer::timeout, [&] {
            if (QWidget *m = QApplication::activeModalWidget()) {
                for (QLabel *l : m->findChildren<QLabel *>())
                    mostrato += l->text();
                m->close();
            }
        });
        chiudi.start();
        salva();
        Attendi(3);
        chiudi.stop();
        RisposteProgrammate::ImpostaSenzaModali(true);
        EXPECT_TRUE(mostrato.contains(QStringLiteral("Il codice 3"))) << mostrato.toStdString();
        // The window manager gives the form back its activation.
        Vista(1)->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Vista(1)->window()));
        Attendi(5);
        QWidget *fuoco = QApplication::focusWidget();
        EXPECT_EQ(fuoco, Vista(1)) << (fuoco ? fuoco->metaObject()->className() : "nessuno") << " "
                                   << (fuoco ? fuoco->objectName().toStdString() : "");
        EXPECT_EQ(g->Colonne().value(g->ColonnaCorrente()).toStdString(), "PdcDicIntenti");
        EXPECT_EQ(g->RigaCorrente(), 3);
        EXPECT_EQ(Righe(QStringLiteral("PdcDicIntenti")), 3);
        Comando(1, QStringLiteral("Annulla"));
    }
}

TEST_F(Griglie, DeletingLeavesTheCursorWhereTheRecordSetPutsIt)
{
    Pagina(1);
    m_form->LinAttuale = 1;
    // The last of several: the new last row; the first: no current row.
    m_form->olRecPosition(2);
    m_form->DatiDelete();
    EXPECT_EQ(m_form->olRecPosition(), 1);
    EXPECT_EQ(m_form->olNumRecTot(), 2);
    m_form->olRecPosition(0);
    m_form->DatiDelete();
    EXPECT_EQ(m_form->olRecPosition(), -1);
    m_form->olRecPosition(0);
    m_form->DatiDelete();
    EXPECT_EQ(m_form->olNumRecTot(), 0);
    EXPECT_EQ(m_form->olRecPosition(), -1);
    EXPECT_EQ(Righe(QStringLiteral("PdcDicIntenti")), 0);
    EXPECT_TRUE(Messaggi().isEmpty());
}

TEST_F(Griglie, WhoMayChangeTheGrids)
{
    struct Caso {
        QVariant abil;
        QString apertura;
        int livello;
    };
    const Caso casi[] = {{true, {}, 1},
                         {QStringLiteral("True"), {}, 1},
                         {QStringLiteral("-1"), {}, 1},
                         {QStringLiteral("S"), {}, 1},
                         {false, {}, 0},
                         {QStringLiteral("0"), {}, 0},
                         {QStringLiteral("N"), {}, 0},
                         {QString(), {}, 0},
                         {true, QStringLiteral("/RO"), 0}};
    for (const Caso &c : casi) {
        ParametroHost(QStringLiteral("HlpAbil:clienti:clie"), c.abil);
        ApriConto(c.apertura);
        for (int g : {0, 1}) {
            Pagina(g);
            EXPECT_EQ(Griglia(g)->Livello(), c.livello) << c.abil.toString().toStdString() << " " << g;
        }
        // Saving the account gives the grid back its level, never more.
        m_form->ButtonComando(QStringLiteral("Salva"));
        Attendi();
        EXPECT_EQ(Griglia(1)->Livello(), c.livello) << c.abil.toString().toStdString();
        Pagina(0);
        EXPECT_EQ(Griglia(0)->Bottone(QStringLiteral("Documenti"))->isVisible(), c.livello == 1);
    }
}

TEST_F(Griglie, KeysAndTheReferenceTypeList)
{
    Pagina(1);
    // The keypad's decimal key types a comma in amounts; the main keyboard's a point.
    struct Caso {
        Qt::KeyboardModifiers mod;
        const char *tastierino;
        const char *atteso;
    };
    for (const Caso &c : {Caso{Qt::KeypadModifier, "S", ","}, Caso{Qt::NoModifier, "S", "."},
                          Caso{Qt::KeypadModifier, "N", "."}}) {
        Globali::TastierinoVirgola = QString::fromLatin1(c.tastierino);
        Cella(1, 0, QStringLiteral("ImportoDichIntenti"));
        QTest::keyClick(Vista(1), Qt::Key_Period, c.mod);
        auto *le = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(le, nullptr);
        EXPECT_EQ(le->text(), QString::fromLatin1(c.atteso));
        QTest::keyClick(le, Qt::Key_Escape);
        Comando(1, QStringLiteral("Annulla"));
    }
    Globali::TastierinoVirgola = QStringLiteral("S");

    // The reference column explains its codes in the status bar.
    Cella(1, 1, QStringLiteral("RifComunicIntenti"));
    EXPECT_EQ(m_form->Pannello(QStringLiteral("DescrCampo")),
              QString::fromUtf8("1=Una sola operazione, 2=più operazioni, 3=operazioni di un periodo"));
    EXPECT_EQ(m_form->txtRiga(1)->text(), QStringLiteral("2 / 3"));

    // Its cell button opens the list on the cell's type; a click writes the choice.
    QTableView *v = Vista(1);
    const QRect r = v->visualRect(v->currentIndex());
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(r.right() - 3, r.center().y()));
    Attendi();
    ASSERT_TRUE(m_form->LisTipoRif->isVisible());
    EXPECT_EQ(m_form->LisTipoRif->currentRow(), 1);
    QListWidget *l = m_form->LisTipoRif;
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(2)).center());
    Attendi();
    EXPECT_FALSE(m_form->LisTipoRif->isVisible());
    EXPECT_EQ(Griglia(1)->ValoreCella(QStringLiteral("RifComunicIntenti")).toString(), QStringLiteral("3"));
    Cella(1, 1, QStringLiteral("Descrizione"));
    EXPECT_EQ(m_form->Pannello(QStringLiteral("DescrCampo")), QString());
}
