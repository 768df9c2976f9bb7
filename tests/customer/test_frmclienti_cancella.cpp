// Two desks on one customer, on SQLite and on PostgreSQL: a delete from a
// screen another desk made stale deletes nothing, a save or delete of a
// customer another desk deleted says which one and what to do, the wait for
// another desk's lock is shown, and a generated code another desk took is
// said as such.
#include "ClientiPostgres.h"
#include "DueScrivanie.h"

#include "components/forms/RisposteProgrammate.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPushButton>

template <class Base> class CancellaDueScrivanie : public DueScrivanie<Base>
{
  protected:
    void SetUp() override
    {
        DueScrivanie<Base>::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        this->LeggiCancellabile();
    }
    bool Comando(const QString &chiave, std::initializer_list<int> risposte = {})
    {
        for (int r : risposte)
            this->Rispondi(r);
        const bool ok = this->pag()->EseguiComando(chiave).toBool();
        this->Attendi();
        return ok;
    }
    // How the messages name the customer read.
    QString Cliente()
    {
        return QStringLiteral("Il cliente %1 (%2)")
            .arg(this->txt(30)->text(), this->Memorizzato(QStringLiteral("Descrizione")));
    }
    // The rows of the account and of the tables deleted with it.
    QList<int> Conteggi()
    {
        QList<int> n;
        for (const char *t : {"PianoConti", "IndSped", "PianoContiDoc", "PdcDicIntenti", "PdcStorico"})
            n << this->Righe(QString::fromLatin1(t));
        return n;
    }
};

using Motori = ::testing::Types<BancoClienti, ClientiPostgres>;
TYPED_TEST_SUITE(CancellaDueScrivanie, Motori);

TYPED_TEST(CancellaDueScrivanie, ADeleteOverAnotherDesksChangeDeletesNothingAndOffersTheChoice)
{
    const QString indirizzo = this->Memorizzato(QStringLiteral("Indirizzo"));
    const QString mio = QStringLiteral("Via Mia 1");
    // "Continua" keeps the typing over the stored row, "Rileggi" drops it.
    struct Caso {
        int risposta;
        QString indirizzo;
    } casi[] = {{2, mio}, {1, indirizzo}};
    for (const Caso &c : casi) {
        const QList<int> prima = this->Conteggi();
        ASSERT_GT(prima.value(2), 0);
        const QString cliente = this->Cliente();
        const QString telefono = QStringLiteral("02 70000%1").arg(c.risposta);
        this->txt(1010)->setText(mio);
        this->Altro(QStringLiteral("Telefono = '%1'").arg(telefono));
        this->DimenticaMessaggi();
        EXPECT_FALSE(this->Comando(QStringLiteral("Cancella"), {1, c.risposta}));
        const auto detti = RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom);
        ASSERT_EQ(detti.size(), 2) << this->Messaggi().join('|').toStdString();
        const QString testo = detti[1].value(QStringLiteral("testo")).toString();
        EXPECT_TRUE(testo.startsWith(cliente + QStringLiteral(" è stato modificato da un'altra postazione "
                                                              "dopo essere stato letto qui e non è stato "
                                                              "cancellato.")))
            << testo.toStdString();
        EXPECT_EQ(detti[1].value(QStringLiteral("pulsanti")).toStringList(),
                  QStringList({QStringLiteral("&Rileggi"), QStringLiteral("&Continua")}));
        // Nothing went, the rows deleted with the customer included.
        EXPECT_EQ(this->Conteggi(), prima);
        EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
        EXPECT_EQ(this->txt(1060)->text(), telefono);
        EXPECT_EQ(this->txt(1010)->text(), c.indirizzo);
        EXPECT_EQ(this->pag()->RecordModificato(), c.risposta == 2);
    }
    // Seen as it is now, the customer goes with its rows.
    EXPECT_TRUE(this->Comando(QStringLiteral("Cancella"), {1})) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Conteggi(), QList<int>({0, 0, 0, 0, 0}));
}

TYPED_TEST(CancellaDueScrivanie, ACustomerAnotherDeskDeletedIsNamedAndTheWayOnSaid)
{
    const QString conto = this->txt(30)->text();
    const QString cliente = this->Cliente();
    const QString dettaglio = QStringLiteral("\nDettaglio: errore 3021, ");
    this->m_altro.EseguiSql(Globali::DbAzienda, QStringLiteral("Delete From PianoConti") + this->m_dove);

    // A save keeps the edits and says how to register them again.
    this->txt(1060)->setText(QStringLiteral("06 123456"));
    EXPECT_FALSE(this->Salva());
    QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[0].startsWith(
        cliente +
        QStringLiteral(" è stato cancellato da un'altra postazione: le modifiche non sono state "
                       "salvate e restano nella finestra. Per registrarlo di nuovo premere "
                       "\"Duplica\", indicare il codice e salvare; altrimenti chiudere la "
                       "finestra.") +
        dettaglio))
        << detti[0].toStdString();
    EXPECT_EQ(this->txt(1060)->text(), QStringLiteral("06 123456"));
    ASSERT_TRUE(this->Comando(QStringLiteral("Duplica")));
    this->txt(30)->setText(conto);
    EXPECT_TRUE(this->Comando(QStringLiteral("Salva"), {1})) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->Memorizzato(QStringLiteral("Telefono")), QStringLiteral("06 123456"));

    // A delete finds it gone already, and the form lets it go.
    this->m_altro.EseguiSql(Globali::DbAzienda, QStringLiteral("Delete From PianoConti") + this->m_dove);
    this->DimenticaMessaggi();
    EXPECT_FALSE(this->Comando(QStringLiteral("Cancella"), {1}));
    detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 2) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[1].startsWith(cliente +
                                    QStringLiteral(" era già stato cancellato da un'altra "
                                                   "postazione.") +
                                    dettaglio))
        << detti[1].toStdString();
    EXPECT_EQ(this->pag()->StatoPagina(), GestPagine::StatoNuovo);
    EXPECT_EQ(Globali::DbComp()->LivelloTrans(Globali::DbAzienda), 0);
}

// The transaction and the customer's lock may wait for another desk: the
// first statement under them, the one that follows the wait, runs with the
// busy cursor, after the windows had the chance to repaint what the question
// left behind; nothing of the cursor stays once the command is over.
TYPED_TEST(CancellaDueScrivanie, WorkThatMayWaitForAnotherDeskShowsTheBusyCursor)
{
    struct Contatore : QObject {
        int dipinti = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            dipinti += e->type() == QEvent::Paint;
            return false;
        }
    } contatore;
    ASSERT_TRUE(this->m_form->isVisible());
    this->m_form->installEventFilter(&contatore);
    struct Caso {
        const char *comando;
        int campo; // the field changed first (0: none)
        std::initializer_list<int> risposte;
    } casi[] = {
        {"Salva", 50, {2}}, // a new name, archived
        {"Cancella", 0, {1}},
    };
    for (const Caso &c : casi) {
        QList<int> forme;
        Globali::DbComp()->ImpostaOsservatoreSelect([&](const QString &) {
            if (Globali::DbComp()->LivelloTrans(Globali::DbAzienda) > 0)
                forme << (QGuiApplication::overrideCursor() && contatore.dipinti > 0
                              ? QGuiApplication::overrideCursor()->shape()
                              : -1);
        });
        if (c.campo)
            this->txt(c.campo)->setText(QStringLiteral("Nome Nuovo Srl"));
        contatore.dipinti = 0;
        this->m_form->update();
        EXPECT_TRUE(this->Comando(QString::fromLatin1(c.comando), c.risposte))
            << this->Messaggi().join('|').toStdString();
        Globali::DbComp()->ImpostaOsservatoreSelect({});
        ASSERT_FALSE(forme.isEmpty()) << c.comando;
        EXPECT_EQ(forme.first(), Qt::WaitCursor) << c.comando;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    this->m_form->removeEventFilter(&contatore);
}

TYPED_TEST(CancellaDueScrivanie, AGeneratedCodeAnotherDeskTookIsSaidAndReplacedByTheNext)
{
    const QString gruppo = this->txt(10)->text(), mastro = this->txt(20)->text();
    ASSERT_TRUE(this->Comando(QStringLiteral("Duplica")));
    this->m_form->ComCreaKey->click();
    const QString codice = this->txt(30)->text();
    ASSERT_FALSE(codice.isEmpty());
    this->txt(40)->setText(QStringLiteral("Nuovo Cliente Srl"));
    // The other desk generated the same code and saved first.
    this->m_altro.EseguiSql(
        Globali::DbAzienda,
        QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) "
                       "Values ('%1', '%2', '%3', '3', 'Cliente Altrui Srl')")
            .arg(gruppo, mastro, codice));
    this->DimenticaMessaggi();
    EXPECT_FALSE(this->Comando(QStringLiteral("Salva"), {1}));
    const QString atteso =
        QStringLiteral("Il codice %1 è stato assegnato nel frattempo da un'altra postazione: "
                       "i dati non sono stati salvati e restano nella finestra; premere "
                       "\"Genera codice\" per averne uno nuovo e salvare di nuovo.")
            .arg(codice);
    ASSERT_FALSE(this->Messaggi().isEmpty());
    EXPECT_TRUE(this->Messaggi().last().startsWith(atteso)) << this->Messaggi().last().toStdString();
    EXPECT_EQ(this->txt(40)->text(), QStringLiteral("Nuovo Cliente Srl"));
    EXPECT_EQ(this->pag()->StatoPagina(), GestPagine::StatoNuovo);

    // Pressed again, the button gives the next free code and the save goes through.
    this->m_form->ComCreaKey->click();
    const QString nuovo = this->txt(30)->text();
    EXPECT_GT(nuovo, codice);
    EXPECT_TRUE(this->Comando(QStringLiteral("Salva"), {1})) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(
        this->Valore(QStringLiteral("Select Descrizione From PianoConti Where Gruppo = '%1' And Mastro = "
                                    "'%2' And Conto = '%3'")
                         .arg(gruppo, mastro, nuovo))
            .toString(),
        QStringLiteral("Nuovo Cliente Srl"));
}
