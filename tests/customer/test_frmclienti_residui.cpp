// What a record must not leave behind in the customer form: error colours and
// status-bar messages of the fields checked, once the record is read again,
// restored or saved; descriptions beside codes that are no longer there.
// Driven as a user would: focus, typing, Alt keys and the toolbar.
#include "BancoClienti.h"

#include "components/forms/ColoriVb.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace
{

bool rosso(const QWidget *w)
{
    return ColoriVb::BackColor(w) == Globali::ColBackErrore;
}

} // namespace

class Residui : public BancoClienti
{
  protected:
    void SetUp() override
    {
        BancoClienti::SetUp();
        ASSERT_NE(Apri(), nullptr);
        m_form->activateWindow();
    }
    // The user goes into `campo`, types `testo` over what it holds and leaves
    // it for `dopo`.
    void Digita(QLineEdit *campo, const QString &testo, QWidget *dopo)
    {
        campo->setFocus();
        Attendi();
        campo->selectAll();
        QTest::keyClick(campo, Qt::Key_Delete);
        QTest::keyClicks(campo, testo);
        dopo->setFocus();
        Attendi();
    }
    void Alt(Qt::Key tasto)
    {
        QWidget *fuoco = m_form->focusWidget();
        QTest::keyClick(fuoco ? fuoco : m_form, tasto, Qt::AltModifier);
        Attendi();
    }
    // Page 4's checks refused: month, day, counter-account, IBAN; and the
    // VAT number of page 1 kept although wrong.
    void SbagliaCampi()
    {
        Alt(Qt::Key_1);
        Rispondi(2);
        Digita(m_form->txt(1090), QStringLiteral("00743110158"), m_form->txt(1100));
        Alt(Qt::Key_4);
        Digita(m_form->txt(4040), QStringLiteral("13"), m_form->txt(4050));
        Digita(m_form->txt(4050), QStringLiteral("32"), m_form->txt(4010));
        Digita(m_form->txt(4120), QStringLiteral("04-01-0001"), m_form->txt(4010));
        Digita(m_form->txtAppo(4074), QStringLiteral("IT60X054281110100000012345"), m_form->txt(4010));
        for (QWidget *w :
             std::initializer_list<QWidget *>{m_form->txt(4040), m_form->txt(4050), m_form->txt(4120),
                                              m_form->txtAppo(4074), m_form->txt(1090)})
            ASSERT_TRUE(rosso(w)) << w->objectName().toStdString() << IndiceControllo(w);
        ASSERT_FALSE(m_form->Pannello(QStringLiteral("Messaggio")).isEmpty());
    }
    void NessunResiduo(const char *quando)
    {
        SCOPED_TRACE(quando);
        for (auto [i, t] : m_form->txt)
            EXPECT_FALSE(rosso(t)) << "txt(" << i << ") " << t->text().toStdString();
        EXPECT_FALSE(rosso(m_form->txtAppo(4074)));
        EXPECT_EQ(m_form->Pannello(QStringLiteral("Messaggio")).toStdString(), "");
    }
};

TEST_F(Residui, ErrorColoursAndMessagesGoWithTheRecordReadRestoredOrSaved)
{
    const QStringList primo =
        Clienti(QStringLiteral("P.Stato = 'IT' And P.PartIva Is Not Null And P.Iban Is Not "
                               "Null And P.MeseNoEf1 Is Not Null"))
            .value(0)
            .split(u'|');
    ASSERT_EQ(primo.size(), 3);
    ASSERT_TRUE(Leggi(primo[0], primo[1], primo[2]));
    const QString mese = m_form->txt(4040)->text(), iban = m_form->txtAppo(4074)->text();

    // Annulla (Alt+A): the stored values come back, unmarked.
    SbagliaCampi();
    Rispondi(2); // the changed record is not saved
    Alt(Qt::Key_A);
    EXPECT_EQ(m_form->txt(4040)->text(), mese);
    EXPECT_EQ(m_form->txtAppo(4074)->text(), iban);
    NessunResiduo("Annulla");

    // The next customer (Alt+U) shows its own valid values unmarked.
    SbagliaCampi();
    Rispondi(2);
    Alt(Qt::Key_U);
    ASSERT_NE(m_form->txt(30)->text(), primo[2]);
    NessunResiduo("Successivo");

    // A save (Alt+S) of a record whose fields were refused and then mended.
    SbagliaCampi();
    Alt(Qt::Key_4);
    Digita(m_form->txt(4040), QStringLiteral("3"), m_form->txt(4050));
    Digita(m_form->txt(4050), QStringLiteral("10"), m_form->txt(4010));
    Digita(m_form->txt(4120), QString(), m_form->txt(4010));
    Digita(m_form->txtAppo(4074), QString(), m_form->txt(4010));
    Alt(Qt::Key_1);
    Rispondi(1); // the wrong VAT number is confirmed
    Digita(m_form->txt(1090), QStringLiteral("00743110158"), m_form->txt(1100));
    Rispondi(1); // the history question, if any
    Alt(Qt::Key_S);
    EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
    NessunResiduo("Salva");
}

TEST_F(Residui, TheTownOfADeletedCopyGoesWithIt)
{
    const QStringList k =
        Clienti(QStringLiteral("P.Comune Is Not Null And P.Stato = 'IT'")).value(0).split(u'|');
    ASSERT_EQ(k.size(), 3);
    ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
    ASSERT_FALSE(m_form->Lab(1030)->text().isEmpty());
    Alt(Qt::Key_D); // Duplica
    m_form->ComCreaKey->click();
    ASSERT_FALSE(m_form->txt(30)->text().isEmpty());
    m_form->txt(40)->setText(QStringLiteral("Copia per la prova"));
    Rispondi(1);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool())
        << Messaggi().join('|').toStdString();
    Rispondi(1);
    m_form->ogComPag()->Bottone(QStringLiteral("Cancella"))->trigger();
    Attendi();
    ASSERT_EQ(m_form->ogComPag()->StatoPagina(), GestPagine::StatoNuovo)
        << Messaggi().join('|').toStdString();
    EXPECT_EQ(m_form->txt(1030)->text().toStdString(), "");
    EXPECT_EQ(m_form->Lab(1030)->text().toStdString(), "");
    EXPECT_EQ(m_form->Lab(1032)->text().toStdString(), "");
    // Every description whose code is empty is empty.
    for (auto [i, l] : m_form->Lab)
        if (QLineEdit *t = m_form->txt.Trova(i); t && t->text().trimmed().isEmpty()) {
            EXPECT_EQ(l->text().toStdString(), "") << "Lab(" << i << ")";
        }
}

TEST_F(Residui, TheTownFollowsTheCountryAndEveryDescriptionItsCode)
{
    const QStringList k =
        Clienti(QStringLiteral(
                    "P.Stato = 'IT' And P.Banca Is Not Null And P.Pagamento Is Not Null And P.Zona Is Not "
                    "Null"))
            .value(0)
            .split(u'|');
    ASSERT_EQ(k.size(), 3);
    Esegui(QStringLiteral("Update PianoConti Set Comune = 'Roma', Pr = 'RM' Where Gruppo = '%1' And Mastro = "
                          "'%2' And Conto = '%3'")
               .arg(k[0], k[1], k[2]));
    ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
    // Left with no province, the town is searched among all and brings its
    // province with it.
    Digita(m_form->txt(1040), QString(), m_form->txt(1045));
    Digita(m_form->txt(1030), QStringLiteral("milano"), m_form->txt(1045));
    ASSERT_EQ(m_form->txt(1030)->text(), "Milano");
    ASSERT_EQ(m_form->txt(1040)->text(), "MI");
    ASSERT_EQ(m_form->Lab(1030)->text(), "Milano");
    ASSERT_EQ(m_form->Lab(1032)->text(), "F205");

    // Abroad the town is no Italian municipality: no description, no code.
    Digita(m_form->txt(1050), QStringLiteral("FR"), m_form->txt(1060));
    EXPECT_EQ(m_form->Lab(1050)->text(), "Francia");
    EXPECT_EQ(m_form->txt(1030)->text(), "Milano");
    EXPECT_EQ(m_form->Lab(1030)->text().toStdString(), "");
    EXPECT_EQ(m_form->Lab(1032)->text().toStdString(), "");
    // Back in Italy the town is decoded again.
    Digita(m_form->txt(1050), QStringLiteral("IT"), m_form->txt(1060));
    EXPECT_EQ(m_form->Lab(1030)->text(), "Milano");
    EXPECT_EQ(m_form->Lab(1032)->text(), "F205");

    // A code cleared clears its description.
    Alt(Qt::Key_4);
    for (int i : {4000, 4020, 4090}) {
        ASSERT_FALSE(m_form->Lab(i)->text().isEmpty()) << i;
        Digita(m_form->txt(i), QString(), m_form->txt(4010));
        EXPECT_EQ(m_form->Lab(i)->text().toStdString(), "") << i;
    }
    Alt(Qt::Key_1);
    Digita(m_form->txt(1030), QString(), m_form->txt(1045));
    EXPECT_EQ(m_form->Lab(1030)->text().toStdString(), "");
    EXPECT_EQ(m_form->Lab(1032)->text().toStdString(), "");
}

TEST_F(Residui, AnEmptyGridCountsZeroOfZero)
{
    const QStringList k =
        Clienti(QStringLiteral("Not Exists (Select * From PianoContiDoc D Where D.Gruppo = P.Gruppo "
                               "And D.Mastro = P.Mastro And D.Conto = P.Conto)"))
            .value(0)
            .split(u'|');
    ASSERT_EQ(k.size(), 3);
    ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
    Alt(Qt::Key_8);
    EXPECT_EQ(m_form->txtRiga(0)->text().toStdString(), "0 / 0");
}
