// Per-page decoding of the customer form: one statement per page and record,
// the descriptions each page shows, and their clearing.
#include "BancoClienti.h"

#include "components/db/DbMotore.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace
{

QString dove(const QStringList &k)
{
    return QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'").arg(k[0], k[1], k[2]);
}

} // namespace

class Decod : public BancoClienti
{
  protected:
    void SetUp() override
    {
        BancoClienti::SetUp();
        const QStringList due = Clienti(QStringLiteral("P.Mastro = '05' And P.Stato = 'IT'"), 2);
        ASSERT_EQ(due.size(), 2);
        m_a = due[0].split(u'|');
        m_b = due[1].split(u'|');
        // Page statements begin with the account key of the customer.
        Globali::DbComp()->ImpostaOsservatoreSelect([this](const QString &sql) {
            if (sql.startsWith(QLatin1String("SELECT Pianoconti.Gruppo,Pianoconti.Mastro,Pianoconti.Conto,")))
                ++m_pagine;
        });
    }
    void TearDown() override
    {
        Globali::DbComp()->ImpostaOsservatoreSelect({});
        BancoClienti::TearDown();
    }
    void Aggiorna(const QStringList &k, const QString &assegnazioni)
    {
        Esegui(QStringLiteral("Update PianoConti Set ") + assegnazioni + dove(k));
    }
    void Tab(int pagina)
    {
        m_form->SelezionaTab(pagina + 1);
        Attendi();
    }
    QString L(int i) const { return m_form->Lab(i)->text(); }
    QStringList m_a, m_b;
    int m_pagine = 0;
};

TEST_F(Decod, EachPageReadsOnceWhenFirstShown)
{
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    EXPECT_EQ(m_pagine, 1); // the registry page, on display
    for (int pagina : {3, 4, 2, 10, 6}) {
        m_pagine = 0;
        Tab(pagina);
        EXPECT_EQ(m_pagine, pagina == 6 ? 0 : 1) << pagina;
        Tab(1);
        m_pagine = 0;
        Tab(pagina);
        EXPECT_EQ(m_pagine, 0) << "again " << pagina;
    }
    // The next record decodes the page on display, and each other page again on its first visit.
    Tab(3);
    m_pagine = 0;
    ASSERT_TRUE(Leggi(m_b[0], m_b[1], m_b[2]));
    EXPECT_EQ(m_pagine, 1);
    Tab(4);
    EXPECT_EQ(m_pagine, 2);
    Tab(3);
    EXPECT_EQ(m_pagine, 2);
}

TEST_F(Decod, AccountingPageShowsItsDescriptions)
{
    const QString ind = Valore(QStringLiteral("Select IndSped From IndSped") + dove(m_a)).toString();
    Aggiorna(m_a, QStringLiteral("Banca = 'ISP01', Pagamento = 'RB30', Pagamento2 = 'XX', Zona = 'NO', "
                                 "Moneta = 'EUR', Lingua = '', Cointest = 'C01', "
                                 "Iban = 'IT60X0542811101000000123456', IndAmm = '%1'")
                      .arg(ind));
    Aggiorna(m_b, QStringLiteral("Banca = 'UCR02', IndAmm = '', Iban = 'MT84MALT011000012345MTLCAST001S'"));
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    Tab(3);
    EXPECT_EQ(L(4000), "Intesa Sanpaolo-Milano Sede");
    EXPECT_EQ(L(4020), "Ri.Ba. 30 gg fine mese");
    EXPECT_EQ(L(4025), ""); // a code missing from its table leaves the label empty
    EXPECT_EQ(L(4090), "Nord-ovest");
    EXPECT_EQ(L(4100), "Euro");
    EXPECT_EQ(L(4130), "");
    EXPECT_EQ(L(4220), "Eredi Bianchi Giovanni");
    EXPECT_EQ(m_form->txtAppo(4074)->text(), "IT60 X054 2811 1010 0000 0123 456");
    if (!ind.isEmpty()) {
        EXPECT_TRUE(L(4180).contains(QStringLiteral("\r\n"))) << L(4180).toStdString();
    }
    // The next customer has no administrative address: none is shown.
    ASSERT_TRUE(Leggi(m_b[0], m_b[1], m_b[2]));
    EXPECT_EQ(L(4000), "UniCredit");
    EXPECT_EQ(L(4180), "");
    EXPECT_EQ(m_form->txtAppo(4074)->text(), "MT84 MALT 0110 0001 2345 MTLC AST001S");
}

TEST_F(Decod, BillingPageAndItsClearing)
{
    Aggiorna(m_a,
             QStringLiteral("Listino = 'L2', Iva = '22', Agente1 = 'A02', Agente2 = 'ZZ', Sconto = '10+5', "
                            "IndSped = '', Banca = 'ISP01'"));
    Aggiorna(m_b, QStringLiteral("Sconto = ''"));
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    Tab(3);
    Tab(4);
    EXPECT_EQ(L(5000), "Listino rivenditori");
    EXPECT_EQ(L(5020), "Imponibile IVA 22%");
    EXPECT_EQ(L(5150), "Esposito Anna");
    EXPECT_EQ(m_form->labProv(5150)->text(), "4,5");
    EXPECT_EQ(L(5160), "");
    EXPECT_EQ(m_form->labProv(5160)->text(), "");
    EXPECT_EQ(L(5010), "14,5");
    EXPECT_EQ(L(5140), "");
    // A customer without discount shows none.
    ASSERT_TRUE(Leggi(m_b[0], m_b[1], m_b[2]));
    EXPECT_EQ(L(5010), "");
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    // Clearing the billing page empties the bank's description as well.
    Tab(3);
    EXPECT_EQ(L(4000), "Intesa Sanpaolo-Milano Sede");
    m_form->pulDecodFatturazione();
    EXPECT_EQ(L(4000), "");
    EXPECT_EQ(L(5150), "");
}

TEST_F(Decod, ClassAttributesBelongToTheirOwnClass)
{
    // "A" is an attribute of class 1 and of class 2.
    Aggiorna(m_a,
             QStringLiteral("PdcClasseAttr1 = 'A', PdcClasseAttr2 = 'A', PdcClasseAttr3 = '', Ricl1 = 'R02', "
                            "Ricl2 = 'R99'"));
    // "MEC" exists only in class 2: kept on purpose, the row is left out as a whole.
    Aggiorna(m_b, QStringLiteral("PdcClasseAttr1 = 'MEC', Ricl1 = 'R01'"));
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    Tab(2);
    EXPECT_EQ(L(3000), "Cliente strategico");
    EXPECT_EQ(L(3010), "Settore alimentare");
    EXPECT_EQ(L(3020), "");
    EXPECT_EQ(L(3050), "Clienti in contenzioso");
    EXPECT_EQ(L(3060), "");
    // Read while another page is shown: no field of this page is left.
    Tab(1);
    ASSERT_TRUE(Leggi(m_b[0], m_b[1], m_b[2]));
    Tab(2);
    for (int i = 3000; i <= 3080; i += 10)
        EXPECT_EQ(L(i), "") << i;
}

TEST_F(Decod, RegistryAndRepresentativePages)
{
    Aggiorna(m_a, QStringLiteral("Stato = 'MC', StatoNascita = 'FR', Comune = 'Samone', Pr = 'TN', "
                                 "LocalitaNascita = 'Milano', PrNascita = '', FAStabOrgStato = 'DE', "
                                 "FARappFiscStato = 'XX'"));
    Aggiorna(m_b,
             QStringLiteral("FAStabOrgStato = '', FARappFiscStato = '', Stato = 'IT', Comune = 'Samone', "
                            "Pr = 'TN'"));
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    EXPECT_EQ(L(1050), "Principato di Monaco");
    EXPECT_EQ(m_form->labIso(1050)->text(), "MC");
    EXPECT_TRUE(m_form->LabBlackList->isVisibleTo(m_form)); // "s" in the common table
    EXPECT_EQ(m_form->msStatoCod, "MC");
    EXPECT_EQ(m_form->miLungPartIva, 11);
    EXPECT_EQ(L(1180), "Francia");
    // An address abroad has no Italian municipality; a place of birth is
    // abroad by its own province only.
    EXPECT_EQ(L(1030), "");
    EXPECT_EQ(L(1032), "");
    // A town without its province is not taken for one of the towns of
    // that name: no cadastral code (leaving the field fills the province).
    EXPECT_EQ(L(1162), "");
    Tab(10);
    EXPECT_EQ(L(8040), "Germania");
    EXPECT_EQ(m_form->labIso(8040)->text(), "Iso: DE");
    EXPECT_EQ(L(8070), "");
    EXPECT_EQ(m_form->labIso(8070)->text(), "");
    // The next customer's empty countries leave no ISO code of this one.
    ASSERT_TRUE(Leggi(m_b[0], m_b[1], m_b[2]));
    EXPECT_EQ(m_form->labIso(8040)->text(), "");
    EXPECT_EQ(L(8040), "");
    Tab(0);
    EXPECT_EQ(L(1032), "H754"); // Samone of the province typed
}

TEST_F(Decod, ClearingEmptiesLabelsAndTakesTheDefaultCountry)
{
    Personale(QStringLiteral("Clienti"), QStringLiteral("CodStatoDef"), QStringLiteral("IT"));
    Aggiorna(m_a, QStringLiteral("Stato = 'DE', PartIva = '136695976', Banca = 'ISP01'"));
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    Tab(3);
    Tab(0);
    EXPECT_EQ(m_form->msStatoIso, "DE");
    m_form->ogComPag()->EseguiComando(QStringLiteral("Nuovo"));
    Attendi();
    EXPECT_EQ(m_form->txt(1050)->text(), "IT");
    EXPECT_EQ(m_form->msStatoCod, "IT");
    EXPECT_EQ(m_form->msStatoIso, "IT");
    EXPECT_EQ(m_form->miLungPartIva, 11);
    EXPECT_EQ(L(1050), "");
    EXPECT_EQ(m_form->labIso(1050)->text(), "");
    EXPECT_EQ(L(4000), "");
    EXPECT_FALSE(m_form->dbgLista->isVisibleTo(m_form));
    // A page decoded before the clear runs no statement when shown again.
    m_pagine = 0;
    Tab(3);
    EXPECT_EQ(m_pagine, 0);
}

TEST_F(Decod, GroupAndLedgerNamesKeptWhileTheCounterStaysStill)
{
    int gruppi = 0, mastri = 0;
    Globali::DbComp()->ImpostaOsservatoreSelect([&](const QString &sql) {
        gruppi += sql.contains(QLatin1String("FROM Gruppi"), Qt::CaseInsensitive) ? 1 : 0;
        mastri += sql.contains(QLatin1String("FROM Mastri"), Qt::CaseInsensitive) ? 1 : 0;
    });
    ASSERT_NE(Apri(), nullptr);
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    const QString gruppo = L(10), mastro = L(20);
    ASSERT_FALSE(gruppo.isEmpty());
    ASSERT_FALSE(mastro.isEmpty());
    EXPECT_GE(gruppi, 1);
    EXPECT_GE(mastri, 1);
    // Another customer of the same ledger: the names stay, nothing is read,
    // also into a label emptied meanwhile.
    m_form->Lab(10)->clear();
    gruppi = mastri = 0;
    ASSERT_TRUE(Leggi(m_b[0], m_b[1], m_b[2]));
    EXPECT_EQ(gruppi, 0);
    EXPECT_EQ(mastri, 0);
    EXPECT_EQ(L(10), gruppo);
    EXPECT_EQ(L(20), mastro);
    // A name changed meanwhile shows on the next record, of the same ledger too.
    Esegui(QStringLiteral("Update Mastri Set Descrizione = 'Clienti rinominati' Where Gruppo = '%1' And "
                          "Mastro = '%2'")
               .arg(m_a[0], m_a[1]));
    ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
    EXPECT_EQ(mastri, 1);
    EXPECT_EQ(L(20), "Clienti rinominati");
    EXPECT_EQ(L(10), gruppo);
    Globali::DbComp()->ImpostaOsservatoreSelect({});
}

// The record just read names its own account: its name is taken from the row
// read (trimmed, as a decoding writes it), with no second read of that row.
TEST_F(Decod, AccountNameOfARecordReadComesFromItsOwnRow)
{
    int decodifiche = 0;
    Globali::DbComp()->ImpostaOsservatoreSelect([&](const QString &sql) {
        decodifiche += sql.contains(QLatin1String(" AS CodRic")) &&
                               sql.contains(QLatin1String("FROM PianoConti"), Qt::CaseInsensitive)
                           ? 1
                           : 0;
    });
    ASSERT_NE(Apri(), nullptr);
    const struct {
        QString memorizzato, mostrato;
    } casi[] = {{QStringLiteral("Rossi Spa"), QStringLiteral("Rossi Spa")},
                {QStringLiteral("  Bianchi Srl   "), QStringLiteral("Bianchi Srl")},
                {QString(), QString()}};
    for (const auto &c : casi) {
        Aggiorna(m_a, QStringLiteral("Descrizione = '%1'").arg(c.memorizzato));
        decodifiche = 0;
        ASSERT_TRUE(Leggi(m_b[0], m_b[1], m_b[2]));
        ASSERT_TRUE(Leggi(m_a[0], m_a[1], m_a[2]));
        EXPECT_EQ(m_form->txt(40)->text(), c.mostrato) << qPrintable(c.memorizzato);
        EXPECT_EQ(decodifiche, 0) << qPrintable(c.memorizzato);
    }
    Globali::DbComp()->ImpostaOsservatoreSelect({});
}
