// Tab pages, keyboard shortcuts and function-key lookups of the customer form.
#include "BancoClienti.h"

#include "components/forms/CodiciTasto.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/forms/UtilFinestre.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTest>

class Pagine : public BancoClienti
{
  protected:
    void SetUp() override
    {
        BancoClienti::SetUp();
        ASSERT_NE(Apri(), nullptr);
        m_k = Clienti(QStringLiteral("Exists (Select * From PianoContiDoc D Where D.Gruppo = P.Gruppo And "
                                     "D.Mastro = P.Mastro And D.Conto = P.Conto)"))
                  .value(0)
                  .split(u'|');
        ASSERT_EQ(m_k.size(), 3);
        ASSERT_TRUE(Leggi(m_k[0], m_k[1], m_k[2]));
        DimenticaMessaggi();
    }
    int PagineAbilitate() const
    {
        int n = 0;
        for (auto [i, p] : m_form->PicPagine)
            n += p->isEnabledTo(m_form) ? 1 : 0;
        return n;
    }
    QStringList m_k;
};

TEST_F(Pagine, EachTabShowsItsPageAndOnlyThatOne)
{
    for (int tab = 1; tab <= 11; ++tab) {
        m_form->SelezionaTab(tab);
        Attendi();
        const int pag = tab - 1;
        EXPECT_EQ(m_form->PagAttuale, pag);
        EXPECT_EQ(PagineAbilitate(), 1) << tab;
        EXPECT_TRUE(m_form->PicPagine(pag)->isEnabledTo(m_form)) << tab;
        const bool griglia = pag == 7 || pag == 9;
        EXPECT_EQ(m_form->PagConLin, griglia) << tab;
        EXPECT_EQ(m_form->LinAttuale, pag == 7 ? 0 : 1) << tab;
        EXPECT_EQ(m_form->areaPagine->currentWidget(),
                  griglia ? m_form->PicNoRic(pag == 7 ? 0 : 1) : m_form->PicPagine(pag));
    }
    // The documents page shows the account's attached documents.
    m_form->SelezionaTab(8);
    Attendi();
    const int documenti = Conta(QStringLiteral("Select Count(*) From PianoContiDoc Where Gruppo = '%1' And "
                                               "Mastro = '%2' And Conto = '%3'")
                                    .arg(m_k[0], m_k[1], m_k[2]));
    EXPECT_EQ(m_form->GestLin(0)->NumeroRighe(), documenti);
    EXPECT_TRUE(m_form->txtRiga(0)->text().endsWith(QStringLiteral(" / ") + QString::number(documenti)));
}

TEST_F(Pagine, FirstFieldOfEachPageGetsTheFocus)
{
    m_form->activateWindow();
    struct Caso {
        int tab, campo;
    };
    for (const Caso &c : {Caso{2, 2000}, Caso{3, 3000}, Caso{4, 4000}, Caso{5, 5000}, Caso{6, 6000},
                          Caso{11, 8050}, Caso{1, 40}}) {
        m_form->SelezionaTab(c.tab);
        Attendi();
        EXPECT_EQ(m_form->focusWidget(), m_form->txt(c.campo)) << c.tab;
    }
    m_form->SelezionaTab(8);
    Attendi();
    EXPECT_EQ(m_form->focusWidget(), m_form->dbgRiga(0));
}

TEST_F(Pagine, ALineThatCannotBeSavedKeepsTheGridPage)
{
    m_form->SelezionaTab(8);
    Attendi();
    GestLinee *g = m_form->GestLin(0);
    ASSERT_GT(g->NumeroRighe(), 0);
    // A line whose number another line already has cannot be written.
    g->ImpostaValoreCella(QStringLiteral("Descrizione"), QStringLiteral("Modificata"));
    ASSERT_TRUE(g->DatiModificati());
    m_form->SelezionaTab(1);
    Attendi();
    EXPECT_EQ(m_form->PagAttuale, 0) << "a line that saves lets the change through";
    EXPECT_FALSE(g->DatiModificati());

    m_form->SelezionaTab(8);
    Attendi();
    Esegui(QStringLiteral("DROP TABLE PianoContiDoc"));
    g->ImpostaValoreCella(QStringLiteral("Descrizione"), QStringLiteral("Non salvabile"));
    m_form->SelezionaTab(1);
    Attendi();
    EXPECT_EQ(m_form->PagAttuale, 7);
    EXPECT_EQ(m_form->TabSelezionato(), 8);
    // A command is not run either.
    const QString conto = m_form->txt(30)->text();
    m_form->ButtonComando(QStringLiteral("Successivo"));
    Attendi();
    EXPECT_EQ(m_form->txt(30)->text(), conto);
}

TEST_F(Pagine, AltShortcutsSelectTabsAndPressTheDocumentButtons)
{
    struct Caso {
        int keyCode, shift, tab;
    };
    const Caso casi[] = {{'1' + 2, CodiciTasto::MaskAlt, 3},
                         {'0', CodiciTasto::MaskAlt, 10},
                         {219, CodiciTasto::MaskAlt, 11},
                         {'1', CodiciTasto::MaskAlt, 1},
                         {'5', CodiciTasto::MaskAlt | CodiciTasto::MaskCtrl, 1},
                         {'5', CodiciTasto::MaskAlt | CodiciTasto::MaskShift, 1}};
    for (const Caso &c : casi) {
        int k = c.keyCode;
        m_form->Form_KeyDown(k, c.shift);
        Attendi();
        EXPECT_EQ(m_form->TabSelezionato(), c.tab) << c.keyCode << "/" << c.shift;
        EXPECT_EQ(k == 0, c.shift == CodiciTasto::MaskAlt) << c.keyCode;
    }

    // Through real keys too: Alt+' selects the eleventh tab and types nothing,
    // and neither does an Alt+letter that is no command.
    m_form->SelezionaTab(1);
    Attendi();
    ASSERT_EQ(m_form->focusWidget(), m_form->txt(40));
    const QString nome = m_form->txt(40)->text();
    QTest::keyClick(m_form->txt(40), Qt::Key_Apostrophe, Qt::AltModifier);
    Attendi();
    EXPECT_EQ(m_form->PagAttuale, 10);
    EXPECT_EQ(m_form->txt(40)->text(), nome);
    m_form->SelezionaTab(1);
    Attendi();
    QTest::keyClick(m_form->txt(40), Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(m_form->txt(40)->text(), nome);
    EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
    QTest::keyClick(m_form->focusWidget() ? m_form->focusWidget() : m_form, Qt::Key_8, Qt::AltModifier);
    Attendi();
    EXPECT_EQ(m_form->PagAttuale, 7);

    // Alt+X opens the file dialog of the documents grid only there.
    RisposteProgrammate::Accoda(RisposteProgrammate::FileApri, QString());
    int x = 'X';
    m_form->Form_KeyDown(x, CodiciTasto::MaskAlt);
    EXPECT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::FileApri).size(), 1);
    m_form->SelezionaTab(10);
    Attendi();
    x = 'X';
    m_form->Form_KeyDown(x, CodiciTasto::MaskAlt);
    EXPECT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::FileApri).size(), 1);

    // Navigation keys become toolbar commands.
    m_form->SelezionaTab(1);
    Attendi();
    const QString conto = m_form->txt(30)->text();
    QTest::keyClick(m_form->focusWidget() ? m_form->focusWidget() : m_form, Qt::Key_PageDown);
    Attendi();
    EXPECT_NE(m_form->txt(30)->text(), conto);
    m_form->SelezionaTab(10);
    Attendi();

    // With the detail area disabled the digits are no tab shortcuts.
    m_form->picDett->setEnabled(false);
    int due = '2';
    m_form->Form_KeyDown(due, CodiciTasto::MaskAlt);
    EXPECT_EQ(due, '2');
    EXPECT_EQ(m_form->TabSelezionato(), 10);
    m_form->picDett->setEnabled(true);
}

TEST_F(Pagine, FieldEntryShowsItsDescriptionAndRecordsEntryValues)
{
    m_form->SelezionaTab(1);
    Attendi();
    m_form->txt(40)->setFocus();
    m_form->txt_GotFocus(40);
    EXPECT_EQ(m_form->DescrIngresso, m_form->txt(40)->text());
    EXPECT_EQ(m_form->CampoAttuale, 40);
    EXPECT_EQ(m_form->Pannello(QStringLiteral("DescrCampo")), m_form->txt(40)->toolTip());
    m_form->txt_GotFocus(1050);
    EXPECT_EQ(m_form->StatoIngresso, m_form->txt(1050)->text());
    m_form->txt_LostFocus(1050);
    EXPECT_EQ(m_form->CampoAttuale, -1);
    EXPECT_EQ(m_form->Pannello(QStringLiteral("DescrCampo")), "");

    // A key that opens no lookup does nothing, not even the entry bookkeeping.
    int f6 = CodiciTasto::F6;
    m_form->txt_KeyUp(1060, f6, 0);
    EXPECT_EQ(m_form->CampoAttuale, -1);
}

TEST_F(Pagine, CustomerLookupReadsTheChosenAccount)
{
    const QStringList altro = Clienti(QStringLiteral("P.Conto <> '%1'").arg(m_k[2])).value(0).split(u'|');
    RisposteProgrammate::Accoda(RisposteProgrammate::Ricerca, altro.join(QString()));
    int f2 = CodiciTasto::F2;
    m_form->txt_KeyUp(30, f2, 0);
    Attendi();
    EXPECT_EQ(m_form->txt(10)->text(), altro[0]);
    EXPECT_EQ(m_form->txt(20)->text(), altro[1]);
    EXPECT_EQ(m_form->txt(30)->text(), altro[2]);
    EXPECT_EQ(m_form->ogComPag()->StatoPagina(), GestPagine::StatoRecord);
    EXPECT_EQ(m_form->ogComPag()->ChiaveCorrente().value(2), altro[2]);

    // F3 starts from the account code alone; nothing chosen puts the focus back.
    RisposteProgrammate::Accoda(RisposteProgrammate::Ricerca, QVariant());
    int f3 = CodiciTasto::F3;
    m_form->txt_KeyUp(30, f3, 0);
    Attendi();
    EXPECT_EQ(m_form->TxtCodCli->text(), altro[2]);
    EXPECT_EQ(m_form->focusWidget(), m_form->txt(30));
}

TEST_F(Pagine, TheFieldBeingLeftIsCheckedOnceAndResumedWhenItKeepsTheFocus)
{
    m_form->activateWindow();
    ASSERT_TRUE(UtilFinestre::ImpostaFocus(m_form->txt(1090), false));
    Attendi();
    ASSERT_EQ(m_form->CampoAttuale, 1090);

    // Choosing a grid page checks the field being left and records it ...
    m_form->SelezionaTab(8);
    EXPECT_EQ(m_form->NomeCtlPend, "txt");
    EXPECT_EQ(m_form->IndCtlPend, 1090);
    EXPECT_EQ(m_form->CampoAttuale, -1);
    EXPECT_EQ(m_form->Pannello(QStringLiteral("DescrCampo")), "");
    // ... until the grid has the focus and the request is settled.
    Attendi();
    EXPECT_EQ(m_form->focusWidget(), m_form->dbgRiga(0));
    EXPECT_EQ(m_form->IndCtlPend, -1);
    EXPECT_EQ(m_form->NomeCtlPend, "");
    EXPECT_EQ(m_form->CampoAttuale, -1);

    // A command leaves the focus in the field: the field is checked, then
    // entered again as if the user had come back to it.
    m_form->SelezionaTab(1);
    Attendi();
    ASSERT_EQ(m_form->focusWidget(), m_form->txt(40));
    m_form->ButtonComando(QStringLiteral("Aggiorna"));
    EXPECT_EQ(m_form->IndCtlPend, 40);
    EXPECT_EQ(m_form->CampoAttuale, -1);
    Attendi();
    EXPECT_EQ(m_form->IndCtlPend, -1);
    EXPECT_EQ(m_form->CampoAttuale, 40);
    EXPECT_EQ(m_form->Pannello(QStringLiteral("DescrCampo")), m_form->txt(40)->toolTip());
}
