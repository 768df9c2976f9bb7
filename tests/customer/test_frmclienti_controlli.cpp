// Leaving a field of the customer form: each check with its exact message and
// colour, the decoding of the code left and its follow-up work.
#include "BancoClienti.h"

#include "components/forms/ColoriVb.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace
{
const long kErrore = Globali::ColBackErrore;
const long kNormale = Globali::ColBackNormale;
} // namespace

class Controlli : public BancoClienti
{
  protected:
    void SetUp() override
    {
        BancoClienti::SetUp();
        ASSERT_NE(Apri(), nullptr);
        m_k = Clienti(QStringLiteral("P.Mastro = '05' And P.Stato = 'IT' And P.PartIva Is Not Null"))
                  .value(0)
                  .split(u'|');
        ASSERT_EQ(m_k.size(), 3);
        ASSERT_TRUE(Leggi(m_k[0], m_k[1], m_k[2]));
        DimenticaMessaggi();
    }
    // The user enters field i, types `testo` and leaves it.
    void Esci(int i, const QString &testo)
    {
        QLineEdit *t = m_form->txt(i);
        t->setProperty("Tag", t->text());
        t->setText(testo);
        m_form->txt_LostFocus(i);
    }
    long Colore(int i) const { return ColoriVb::BackColor(m_form->txt(i)); }
    QString Messaggio() const { return m_form->Pannello(QStringLiteral("Messaggio")); }
    QStringList m_k;
};

TEST_F(Controlli, MonthsDaysAndCounterAccount)
{
    struct Caso {
        int campo;
        const char *testo;
        const char *messaggio; // nullptr: accepted
    } casi[] = {
        {4040, "12", nullptr},
        {4040, "0", nullptr},
        {4040, "", nullptr},
        {4040, "13", "Mese non valido"},
        {4060, "ab", "Mese non valido"},
        {4060, "1,5", "Mese non valido"},
        {4050, "31", nullptr},
        {4070, "0", nullptr},
        {4050, "32", "Giorno non valido"},
        {4070, "x", "Giorno non valido"},
        {4070, "-1", "Giorno non valido"},
    };
    for (const Caso &c : casi) {
        m_form->ScriviPannello(QStringLiteral("Messaggio"), QString());
        Esci(c.campo, QString::fromUtf8(c.testo));
        EXPECT_EQ(Colore(c.campo), c.messaggio ? kErrore : kNormale) << c.campo << " " << c.testo;
        EXPECT_EQ(Messaggio(), c.messaggio ? QString::fromUtf8(c.messaggio) : QString())
            << c.campo << c.testo;
        // The value stays as typed.
        EXPECT_EQ(m_form->txt(c.campo)->text(), QString::fromUtf8(c.testo));
    }
    // A counter-account with dashes is refused and still shown in the account mask.
    Esci(4120, QStringLiteral("01-05-0001"));
    EXPECT_EQ(Colore(4120), kErrore);
    EXPECT_EQ(Messaggio(), "Non usare - nel campo conto");
    EXPECT_FALSE(m_form->txt(4120)->text().isEmpty());
    Esci(4120, QStringLiteral("01050001"));
    EXPECT_EQ(Colore(4120), kNormale);
    EXPECT_EQ(m_form->txt(4120)->text(), "01-05-0001");
}

TEST_F(Controlli, DatesAndDateRanges)
{
    Esci(70, QStringLiteral("31/02/2020"));
    EXPECT_EQ(Colore(70), kErrore);
    EXPECT_EQ(Messaggio(), "Data non valida");
    Esci(70, QStringLiteral("01/02/2020"));
    EXPECT_EQ(Colore(70), kNormale);

    // Letters of intent: both dates or none, in order.
    struct Caso {
        const char *da, *a;
        int esce;
        bool errore;
    } intenti[] = {
        {"", "31/12/2024", 4215, true},
        {"01/01/2024", "", 4210, true},
        {"01/06/2024", "01/01/2024", 4215, true},
        {"01/06/2024", "01/06/2024", 4215, false},
        {"", "", 4210, false},
    };
    for (const Caso &c : intenti) {
        m_form->txt(4210)->setText(QString::fromUtf8(c.da));
        m_form->txt(4215)->setText(QString::fromUtf8(c.a));
        m_form->ScriviPannello(QStringLiteral("Messaggio"), QString());
        Esci(c.esce, m_form->txt(c.esce)->text());
        EXPECT_EQ(Colore(c.esce), c.errore ? kErrore : kNormale) << c.da << "-" << c.a;
        EXPECT_EQ(Messaggio(), c.errore ? QStringLiteral("Date non progressive!!") : QString())
            << c.da << c.a;
    }
    // Insolvency procedure: the start may stand alone, the end may not.
    m_form->txt(4128)->setText(QString());
    Esci(4126, QStringLiteral("01/01/2024"));
    EXPECT_EQ(Colore(4126), kNormale);
    m_form->txt(4126)->setText(QString());
    Esci(4128, QStringLiteral("01/01/2024"));
    EXPECT_EQ(Colore(4128), kErrore);
    EXPECT_EQ(Messaggio(), "Date Procedura Concorsuale non progressive o manca la data di partenza!!");
    // A date its own check refused stays marked though the pair is in order.
    m_form->txt(4128)->setText(QString());
    Esci(4126, QStringLiteral("30/02/2024"));
    EXPECT_EQ(Colore(4126), kErrore);
    EXPECT_EQ(Messaggio(), "Data non valida");
}

TEST_F(Controlli, VatNumberCheckedByCountryAndSearchedAmongCustomers)
{
    // Wrong for Italy: asked; "No" keeps the error colour, "Sì" accepts.
    Rispondi(2);
    Esci(1090, QStringLiteral(" 00743110158 "));
    EXPECT_EQ(m_form->txt(1090)->text(), "00743110158");
    EXPECT_EQ(Colore(1090), kErrore);
    EXPECT_EQ(Messaggio(), "Partita Iva Errata. La vuoi confermare?");
    EXPECT_EQ(Messaggi(), QStringList{"Partita Iva Errata. La vuoi confermare?"});
    Rispondi(1);
    Esci(1090, QStringLiteral("00743110158"));
    EXPECT_EQ(Colore(1090), kNormale);

    // Another customer holds the number: reported with its code, colour untouched.
    const QStringList altro = Clienti(QStringLiteral("P.Conto <> '%1'").arg(m_k[2])).value(0).split(u'|');
    Esegui(
        QStringLiteral("Update PianoConti Set PartIva = '00743110157' Where Conto = '%1' And Mastro = '%2'")
            .arg(altro[2], altro[1]));
    DimenticaMessaggi();
    Esci(1090, QStringLiteral("00743110157"));
    const QString duplicato =
        QStringLiteral("Attenzione!! Esiste un altro cliente con questa Partita Iva: Cod:") +
        altro.join(u'-');
    EXPECT_EQ(Messaggi(), QStringList{duplicato});
    EXPECT_EQ(Messaggio(), duplicato);
    EXPECT_EQ(Colore(1090), kNormale);
}

TEST_F(Controlli, CountryChangeRechecksVatAndSetsCurrencyAndBlackList)
{
    m_form->txt(1090)->setText(QStringLiteral("136695976")); // a German number
    m_form->StatoIngresso = m_form->txt(1050)->text();
    // Germany: the number is right, the currency is the country's.
    Esci(1050, QStringLiteral("DE"));
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
    EXPECT_EQ(m_form->msStatoIso, "DE");
    EXPECT_EQ(m_form->labIso(1050)->text(), "DE");
    EXPECT_EQ(m_form->Lab(1050)->text(), "Germania");
    EXPECT_EQ(m_form->txt(4100)->text(), "EUR");
    EXPECT_EQ(m_form->Lab(4100)->text(), "Euro");
    EXPECT_EQ(m_form->StatoIngresso, "DE");

    // Back to Italy: the same number is asked about.
    Rispondi(2);
    Esci(1050, QStringLiteral("IT"));
    EXPECT_EQ(Messaggi(), QStringList{"Partita Iva Errata. La vuoi confermare?"});
    EXPECT_EQ(Colore(1090), kErrore);

    // A country without a currency of its own takes the company's; Monaco is
    // on the black list (marked "s" in the common table).
    Esci(1050, QStringLiteral("MC"));
    EXPECT_EQ(m_form->txt(4100)->text(), "EUR");
    EXPECT_TRUE(m_form->LabBlackList->isVisibleTo(m_form));
    EXPECT_EQ(m_form->Che(1115)->checkState(), Qt::Checked);
    EXPECT_EQ(m_form->txt(1115)->text(), "S");
    Esci(1050, QStringLiteral("US"));
    EXPECT_EQ(m_form->txt(4100)->text(), "USD");
    EXPECT_FALSE(m_form->LabBlackList->isVisibleTo(m_form));
    EXPECT_EQ(m_form->Che(1115)->checkState(), Qt::Unchecked);
    EXPECT_EQ(m_form->txt(1115)->text(), "N");

    // Leaving it unchanged repeats none of that work.
    m_form->txt(4100)->setText(QStringLiteral("CHF"));
    Esci(1050, QStringLiteral("US"));
    EXPECT_EQ(m_form->txt(4100)->text(), "CHF");

    // The establishment's country changes its own ISO label only.
    m_form->txt(1090)->setText(QStringLiteral("00743110157"));
    Esci(1050, QStringLiteral("IT"));
    Esci(8040, QStringLiteral("DE"));
    EXPECT_EQ(m_form->labIso(8040)->text(), "Iso: DE");
    EXPECT_EQ(m_form->msStatoIso, "IT");
    DimenticaMessaggi();
    Esci(1090, QStringLiteral("00743110157"));
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();
}

TEST_F(Controlli, FiscalCodeOfPersonOrCompany)
{
    struct Caso {
        const char *testo, *mostrato, *domanda;
    } casi[] = {
        {"rssmra85t10a562s", "RSSMRA85T10A562S", nullptr},
        {"RSSMRA85T10A562T", "RSSMRA85T10A562T", "Codice Fiscale Errato.  Lo vuoi confermare?"},
        {"00743110157", "00743110157", nullptr},
        {"00743110158", "00743110158", "Codice fiscale (Partita Iva) Errato. Lo vuoi confermare?"},
        {"0074311015A", "0074311015A", "Codice Fiscale Errato.  Lo vuoi confermare?"},
        {"", "", nullptr},
    };
    for (const Caso &c : casi) {
        DimenticaMessaggi();
        Rispondi(2);
        Esci(1100, QString::fromUtf8(c.testo));
        EXPECT_EQ(m_form->txt(1100)->text(), c.mostrato);
        EXPECT_EQ(Colore(1100), c.domanda ? kErrore : kNormale) << c.testo;
        EXPECT_EQ(Messaggi(), c.domanda ? QStringList{c.domanda} : QStringList{}) << c.testo;
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
    }
}

TEST_F(Controlli, CodesDecodedWithTheirFollowUp)
{
    Esci(4090, QStringLiteral("NO"));
    EXPECT_EQ(m_form->Lab(4090)->text(), "Nord-ovest");
    Esci(4090, QStringLiteral("XX"));
    EXPECT_EQ(m_form->Lab(4090)->text(), "** INESISTENTE **");
    // The discount chain evaluated; a wrong character marked.
    Esci(5010, QStringLiteral("10+5"));
    EXPECT_EQ(m_form->Lab(5010)->text(), "14,5");
    EXPECT_EQ(Colore(5010), kNormale);
    Esci(5010, QStringLiteral("10+x"));
    EXPECT_EQ(Colore(5010), kErrore);
    EXPECT_EQ(Messaggio(), "Ci sono dei caratteri errati nello sconto");
    EXPECT_EQ(m_form->Lab(5010)->text(), "0");
    // An agent brings his commission.
    const QString agente = Valore(QStringLiteral("Select Agente From Agenti Order by Agente")).toString();
    Esci(5150, agente);
    EXPECT_EQ(m_form->Lab(5150)->text(),
              Valore(QStringLiteral("Select RagSoc From Agenti Where Agente = '%1'").arg(agente)).toString());
    EXPECT_FALSE(m_form->labProv(5150)->text().isEmpty());
    Esci(5150, QString());
    EXPECT_EQ(m_form->labProv(5150)->text(), "");
    // A blank ledger empties its description and still shows the highest account.
    m_form->labMax->clear();
    Esci(20, QString());
    EXPECT_EQ(m_form->Lab(20)->text(), "");
    Esci(20, QStringLiteral("5"));
    EXPECT_EQ(m_form->txt(20)->text(), "05");
    EXPECT_FALSE(m_form->Lab(20)->text().isEmpty());
    EXPECT_FALSE(m_form->labMax->text().isEmpty());
}

TEST_F(Controlli, NothingHappensWhileAFocusIsPending)
{
    m_form->IndCtlPend = 4040;
    Esci(4040, QStringLiteral("99"));
    EXPECT_NE(Colore(4040), kErrore);
    EXPECT_EQ(Messaggio(), "");
    m_form->IndCtlPend = -1;
}

TEST_F(Controlli, FieldLeftLosesTheFocusColour)
{
    const long primaGot = Globali::ColBackGotFocus;
    Globali::ColBackGotFocus = 0xC0FFFFL;
    m_form->activateWindow();
    m_form->txt(70)->setFocus();
    Attendi();
    for (int i : {40, 50, 60}) {
        m_form->txt(i)->setFocus();
        Attendi();
        EXPECT_EQ(ColoriVb::BackColor(m_form->txt(i)), 0xC0FFFFL) << i;
    }
    for (int i : {40, 50})
        EXPECT_EQ(ColoriVb::BackColor(m_form->txt(i)), Globali::ColBackLostFocus) << i;
    EXPECT_NE(m_form->txt(40)->palette().color(QPalette::Base), QColor(255, 255, 192));
    Globali::ColBackGotFocus = primaGot;
}

class ControlliPersona : public BancoClienti
{
};

TEST_F(ControlliPersona, SurnameMakesANaturalPersonAndComposesTheName)
{
    Personale(QStringLiteral("Clienti"), QStringLiteral("CognomePersFisica"), QStringLiteral("S"));
    ASSERT_NE(Apri(), nullptr);
    frmClienti *f = m_form;
    ASSERT_TRUE(f->mbCognomePersFisica);
    f->ogComPag()->EseguiComando(QStringLiteral("Nuovo"));
    Attendi();
    f->txt(40)->clear();
    auto esci = [&](int i, const QString &t) {
        f->txt(i)->setProperty("Tag", f->txt(i)->text());
        f->txt(i)->setText(t);
        f->txt_LostFocus(i);
    };
    esci(1135, QStringLiteral("Rossi  "));
    EXPECT_EQ(f->txt(1120)->text(), "F");
    EXPECT_TRUE(f->OptStatoGiu(1)->isChecked());
    EXPECT_EQ(f->txt(40)->text(), "");
    esci(1137, QStringLiteral("Mario"));
    EXPECT_EQ(f->txt(40)->text(), "Rossi Mario");
    // A description already there is kept.
    esci(1137, QStringLiteral("Luigi"));
    EXPECT_EQ(f->txt(40)->text(), "Rossi Mario");
}
