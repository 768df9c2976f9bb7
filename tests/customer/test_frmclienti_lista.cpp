// The customer form with its list window (opening it, picking a customer,
// moving through the list) and the import of a hotel guest into a new
// customer, including cancelling, a second click, a missing guest table and a
// failure while copying.
#include "BancoClienti.h"

#include "components/db/RecDat.h"
#include "components/lista/GestLista.h"
#include "components/lista/StampaLista.h"
#include "components/pagine/GestPagine.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "customer/frmClienti.h"
#include "lists/frmClientiLis.h"
#include "lists/frmLisAnagHotel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace
{

class ClientiLista : public BancoClienti
{
  protected:
    frmClientiLis *Lista() const { return dynamic_cast<frmClientiLis *>(m_form->frmClientiLis); }
    QString Cella(int riga, int colonna) const
    {
        return Lista()->dbgRiga->model()->index(riga, colonna).data().toString();
    }
    QString Testo(int campo) const { return m_form->txt(campo)->text(); }
};

class ImportaOspite : public ClientiLista
{
  protected:
    void SetUp() override
    {
        BancoClienti::SetUp();
        Personale(QStringLiteral("Clienti"), QStringLiteral("ListaAnagHotel"), QStringLiteral("s"));
        Esegui(QStringLiteral("Delete From 0_ClientHotelArdeno"));
        Esegui(QStringLiteral(
            "Insert Into 0_ClientHotelArdeno (Rag1, Rag2, PARTIVA, INDIRIZZO, CAP, LOCALITA, "
            "PROVINCIA, PREFISSO, TELEFONO, TELEF2, FAX) Values "
            "('Aaa Ospite', 'c/o Hotel', '01234567897', 'Via Roma 1', '50100', 'Firenze', 'FI', "
            "'055', 123456, Null, 0), "
            "('Bbb Ospite', Null, Null, Null, Null, Null, Null, Null, 987654, 55555, 4444)"));
        ASSERT_NE(Apri(), nullptr);
        ASSERT_TRUE(m_form->ComHotel->isVisible());
    }
    // Opens the pick list with the button and confirms row `riga`.
    void Scegli(int riga)
    {
        m_form->ComHotel->click();
        frmLisAnagHotel *l = m_form->LisAnagHotel();
        ASSERT_NE(l, nullptr);
        l->dbgRiga->setCurrentIndex(l->dbgRiga->model()->index(riga, 0));
        l->comOk->click();
        Attendi();
    }
};

} // namespace

TEST_F(ClientiLista, LaListaPosizionaLaSchedaSulClienteScelto)
{
    ASSERT_NE(Apri(), nullptr);
    ASSERT_NE(Lista(), nullptr);
    EXPECT_FALSE(Lista()->isVisible());
    m_form->ButtonComando(QStringLiteral("Lista"));
    Attendi();
    ASSERT_TRUE(Lista()->isVisible());
    QTableView *g = Lista()->dbgRiga;
    ASSERT_GT(g->model()->rowCount(), 10);
    const QRect r = g->visualRect(g->model()->index(6, 3));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    Attendi(5);
    EXPECT_EQ(Testo(30), Cella(6, 2));
    EXPECT_EQ(Testo(40), Cella(6, 3));
    EXPECT_EQ(m_form->ogComPag()->StatoPagina(), GestPagine::StatoRecord);

    m_form->ButtonComando(QStringLiteral("ListaAvanti"));
    Attendi(5);
    EXPECT_EQ(Testo(30), Cella(7, 2));

    // Keys typed in the list window are the list's, not the form's.
    QLineEdit *nome = Lista()->txt(30);
    nome->setFocus();
    QTest::keyClick(nome, Qt::Key_PageDown);
    Attendi(5);
    EXPECT_EQ(Testo(30), Cella(7, 2));
}

namespace
{

// Print windows whose progress window tries to close the customer form while
// the list is being printed.
struct StampaChiudente : FormStampaLista, AvanzamentoStampa {
    OpzStampa opz;
    Stampatore motore;
    QWidget *scheda = nullptr;
    bool apertaDurante = false;
    void ApriPerLista(ComponenteStampa &lista) override
    {
        lista.ogSta()->ogOpzSta(&opz);
        lista.ogSta()->ofrmStampaInCorso(this);
        QFont f;
        lista.AvviaStampa(QStringLiteral("V"), 1, f);
    }
    void ogStampa(Stampatore *) override {}
    void Mostra() override
    {
        scheda->close();
        apertaDurante = scheda->isVisible();
    }
    void Nascondi() override {}
    void PaginaInStampa(int) override {}
    QVariant ChiediEmailLogPwd() override { return false; }
};

} // namespace

TEST_F(ClientiLista, LaSchedaNonSiChiudeMentreLaSuaListaStampa)
{
    QTemporaryDir cartella;
    StampaChiudente stampa;
    stampa.opz.oiStaVid(OpzStampa::UscitaFile);
    stampa.opz.FileName(cartella.filePath(QStringLiteral("lista.csv")));
    ImpostaFornitoreStampa([&](ComponenteStampa &lista) {
        lista.ofrmComlinStampa(&stampa);
        lista.ogSta(&stampa.motore);
    });
    ASSERT_NE(Apri(), nullptr);
    ImpostaFornitoreStampa({});
    stampa.scheda = m_form;
    m_form->ButtonComando(QStringLiteral("Lista"));
    Attendi();
    Lista()->ButtonComando(QStringLiteral("Stampa"));
    Attendi();
    EXPECT_TRUE(stampa.apertaDurante);
    ASSERT_EQ(Messaggi().size(), 1);
    EXPECT_TRUE(Messaggi()[0].startsWith(QStringLiteral("Stampa della lista in corso")));
    EXPECT_TRUE(QFile::exists(stampa.opz.FileName()));
}

// The list window for the documentation, written with the pictures of the
// form's pages when CLIENTI_SCREENSHOTS names a folder; skipped otherwise.
using Schermate = BancoClienti;

TEST_F(Schermate, ListaClienti)
{
    const QString cartella = qEnvironmentVariable("CLIENTI_SCREENSHOTS");
    if (cartella.isEmpty())
        GTEST_SKIP() << "CLIENTI_SCREENSHOTS not set";
    ASSERT_TRUE(QDir().mkpath(cartella));
    ASSERT_NE(Apri(), nullptr);
    m_form->ButtonComando(QStringLiteral("Lista"));
    Attendi();
    auto *lista = dynamic_cast<frmClientiLis *>(m_form->frmClientiLis);
    ASSERT_NE(lista, nullptr);
    lista->resize(1240, 640);
    lista->txtCerca->setText(QStringLiteral("Milano"));
    lista->CobCerca->setCurrentIndex(lista->CobCerca->findText(QStringLiteral("Località")));
    lista->ButtonComando(QStringLiteral("Cerca"));
    AttendiThread();
    const QString nome = cartella + QStringLiteral("/lista-clienti.png");
    EXPECT_TRUE(lista->grab().save(nome)) << nome.toStdString();
}

TEST_F(ImportaOspite, IlPrimoOspiteRiempieLaScheda)
{
    const QString conto = Testo(30);
    Scegli(0);
    EXPECT_EQ(Testo(40), QStringLiteral("Aaa Ospite"));
    EXPECT_EQ(Testo(50), QStringLiteral("Aaa Ospite"));
    EXPECT_EQ(Testo(60), QStringLiteral("c/o Hotel"));
    EXPECT_EQ(Testo(1090), QStringLiteral("01234567897"));
    EXPECT_EQ(Testo(1010), QStringLiteral("Via Roma 1"));
    EXPECT_EQ(Testo(1020), QStringLiteral("50100"));
    EXPECT_EQ(Testo(1045), QStringLiteral("Firenze"));
    EXPECT_EQ(Testo(1040), QStringLiteral("FI"));
    EXPECT_EQ(Testo(1060), QStringLiteral("055 123456"));
    EXPECT_TRUE(Testo(1065).isEmpty());
    EXPECT_TRUE(Testo(1070).isEmpty());
    EXPECT_EQ(Testo(30), conto);
    EXPECT_TRUE(m_form->isEnabled());
    EXPECT_EQ(m_form->oiInDett, -1);
    EXPECT_EQ(m_form->LisAnagHotel(), nullptr);
    // Nothing is saved: the copied values wait like typed ones.
    EXPECT_TRUE(m_form->ogComPag()->RecordModificato());
    EXPECT_EQ(Conta(QStringLiteral("Select Count(*) From PianoConti Where Descrizione = 'Aaa Ospite'")), 0);
}

TEST_F(ImportaOspite, SenzaPrefissoSoloIlNumeroEICampiNulliVuoti)
{
    m_form->txt(1065)->setText(QStringLiteral("011 777"));
    Scegli(1);
    EXPECT_EQ(Testo(40), QStringLiteral("Bbb Ospite"));
    EXPECT_TRUE(Testo(60).isEmpty());
    EXPECT_TRUE(Testo(1010).isEmpty());
    EXPECT_EQ(Testo(1060), QStringLiteral("987654"));
    EXPECT_EQ(Testo(1065), QStringLiteral("55555"));
    EXPECT_EQ(Testo(1070), QStringLiteral("4444"));
}

TEST_F(ImportaOspite, AnnullareNonCambiaNullaEUnSecondoClicNonRiapre)
{
    m_form->txt(40)->setText(QStringLiteral("Nome scritto"));
    m_form->ComHotel->click();
    frmLisAnagHotel *l = m_form->LisAnagHotel();
    ASSERT_NE(l, nullptr);
    EXPECT_FALSE(m_form->isEnabled());
    EXPECT_EQ(m_form->oiInDett, 1);
    m_form->ComHotel_Click();
    EXPECT_EQ(m_form->LisAnagHotel(), l);
    l->ComAnnulla->click();
    Attendi();
    EXPECT_EQ(Testo(40), QStringLiteral("Nome scritto"));
    EXPECT_TRUE(m_form->isEnabled());
    EXPECT_EQ(m_form->oiInDett, -1);
    // The button works again.
    Scegli(0);
    EXPECT_EQ(Testo(40), QStringLiteral("Aaa Ospite"));
}

TEST_F(ImportaOspite, TabellaMancanteOErroreNellaCopiaLascianoLaSchedaUsabile)
{
    Esegui(QStringLiteral("Drop Table 0_ClientHotelArdeno"));
    DimenticaMessaggi();
    m_form->ComHotel->click();
    Attendi();
    EXPECT_EQ(Messaggi().size(), 1);
    EXPECT_TRUE(m_form->isEnabled());
    EXPECT_LE(m_form->oiInDett, 0);
    EXPECT_EQ(m_form->LisAnagHotel(), nullptr);

    // A guest confirmed without a row to read: the copy fails, is reported,
    // and the form is usable again.
    Esegui(QStringLiteral("Create Table 0_ClientHotelArdeno (Rag1 Text(60), Rag2 Text(60), PARTIVA Text(20), "
                          "INDIRIZZO Text(60), CAP Text(10), LOCALITA Text(60), PROVINCIA Text(2), PREFISSO "
                          "Text(6), TELEFONO Integer, TELEF2 Integer, FAX Integer)"));
    DimenticaMessaggi();
    m_form->ComHotel->click();
    frmLisAnagHotel *l = m_form->LisAnagHotel();
    ASSERT_NE(l, nullptr);
    l->obConferma = true;
    m_form->DopoLisAnag();
    Attendi();
    EXPECT_EQ(Messaggi().size(), 1);
    EXPECT_TRUE(m_form->isEnabled());
    EXPECT_EQ(m_form->oiInDett, -1);
}
