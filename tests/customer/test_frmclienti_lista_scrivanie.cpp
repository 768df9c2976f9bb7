// Two desks on the customer list, on SQLite and on PostgreSQL: a customer the
// other desk deleted is said and taken away when this desk picks it; the list
// keeps the customer shown across a new order, keeps the order across
// "Aggiorna", and keeps its rows and its place when a refresh fails.
#include "BancoClienti.h"
#include "ClientiPostgres.h"

#include "components/db/DbMotore.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/GestLista.h"
#include "customer/frmClienti.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <functional>

namespace
{

// Six customers of the tests' own, by code 0901..0906; by locality they come
// 0904, 0902, 0906, 0901, 0903, 0905, after every other customer.
const char *const kLocalita[] = {"Zzz Prova 4", "Zzz Prova 2", "Zzz Prova 5",
                                 "Zzz Prova 1", "Zzz Prova 6", "Zzz Prova 3"};
constexpr int kLocalitaColonna = 6;

} // namespace

template <class Base> class ListaDueScrivanie : public Base
{
  protected:
    void SetUp() override
    {
        Base::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        if (!this->m_form) {
            ASSERT_NE(this->Apri(), nullptr);
        }
        const QStringList modello =
            this->Clienti(QStringLiteral("P.Gruppo = '01' And P.Mastro = '05'")).value(0).split(u'|');
        ASSERT_EQ(modello.size(), 3);
        m_modello = modello[2];
        for (int i = 1; i <= 6; ++i)
            Crea(i);
        m_altro.ApriConnessione(Globali::DbAzienda, Globali::NomeDbAzienda);
        this->m_form->ButtonComando(QStringLiteral("Lista"));
        Attendi();
        ASSERT_TRUE(Lista()->isVisible());
        this->DimenticaMessaggi();
    }
    void TearDown() override
    {
        m_altro.ChiudiTutto();
        Base::TearDown();
    }

    // Customer 090i, a copy of an existing one with its own name and locality.
    void Crea(int i)
    {
        const QString conto = QStringLiteral("090%1").arg(i);
        if (this->Conta(QStringLiteral("Select Count(*) From PianoConti Where Conto = '%1'").arg(conto)) > 0)
            return;
        QStringList colonne =
            Globali::DbComp()->ColonneTabella(Globali::DbAzienda, QStringLiteral("PianoConti"));
        QStringList valori = colonne;
        valori.replaceInStrings(QRegularExpression(QStringLiteral("^(?i)conto$")), u'\'' + conto + u'\'');
        valori.replaceInStrings(QRegularExpression(QStringLiteral("^(?i)descrizione$")),
                                QStringLiteral("'Prova Scrivanie %1'").arg(i));
        valori.replaceInStrings(QRegularExpression(QStringLiteral("^(?i)localita$")),
                                QStringLiteral("'%1'").arg(QString::fromLatin1(kLocalita[i - 1])));
        this->Esegui(QStringLiteral("Insert Into PianoConti (%1) Select %2 From PianoConti Where Gruppo = "
                                    "'01' And Mastro = '05' And Conto = '%3'")
                         .arg(colonne.join(u','), valori.join(u','), m_modello));
    }
    // The other desk's statement.
    void Altro(const QString &sql) { m_altro.EseguiSql(Globali::DbAzienda, sql); }

    static void Attendi()
    {
        BancoClienti::Attendi();
        // The list's totals counted on threads of their own, delivered.
        QElapsedTimer attesa;
        attesa.start();
        while (ConteggioParallelo::InCorso() > 0 && attesa.elapsed() < 30000)
            QTest::qWait(2);
        BancoClienti::Attendi();
    }

    frmClientiLis *Lista() const { return dynamic_cast<frmClientiLis *>(this->m_form->frmClientiLis); }
    QTableView *Griglia() const { return Lista()->dbgRiga; }
    int Righe() const { return Griglia()->model()->rowCount(); }
    QString Cella(int riga, int colonna) const
    {
        return Griglia()->model()->index(riga, colonna).data().toString();
    }
    // The row of customer 01-05-`conto`, -1 when the list does not hold it.
    int Riga(const QString &conto)
    {
        Lista()->ogComlin->RecordCount();
        for (int r = 0; r < Righe(); ++r)
            if (Cella(r, 0) + Cella(r, 1) + Cella(r, 2) == QStringLiteral("0105") + conto)
                return r;
        return -1;
    }
    int Corrente() const { return Griglia()->currentIndex().row(); }
    QString ContoCorrente() const { return Cella(Corrente(), 2); }
    // The customer the form shows.
    QString Conto() const { return this->m_form->txt(30)->text(); }

    // A click, or a double click as the window system delivers it (press,
    // release, the second press as a double click, its release).
    void Clic(int riga, bool doppio = false)
    {
        QWidget *v = Griglia()->viewport();
        Griglia()->scrollTo(Griglia()->model()->index(riga, 3));
        const QPoint p = Griglia()->visualRect(Griglia()->model()->index(riga, 3)).center();
        QTest::mouseClick(v, Qt::LeftButton, {}, p);
        if (doppio) {
            QMouseEvent e(QEvent::MouseButtonDblClick, p, v->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
            QCoreApplication::sendEvent(v, &e);
            QTest::mouseRelease(v, Qt::LeftButton, {}, p);
        }
        Attendi();
    }
    // A command of the form, or of the list window.
    void Comando(const QString &chiave, bool lista = false)
    {
        lista ? Lista()->ButtonComando(chiave) : this->m_form->ButtonComando(chiave);
        Attendi();
    }

    DbMotore m_altro;
    QString m_modello; // code of the customer the tests' own are copied from
};

using Motori = ::testing::Types<BancoClienti, ClientiPostgres>;
TYPED_TEST_SUITE(ListaDueScrivanie, Motori);

// Picked by a click, a double click, the next or the previous command, a
// customer the other desk deleted is said once and goes from the list. The
// form keeps its customer, and the list's current row is the customer shown,
// so that the next step goes on from it.
TYPED_TEST(ListaDueScrivanie, ACustomerAnotherDeskDeletedIsSaidAndTakenAwayWhenPicked)
{
    struct Caso {
        const char *nome;
        const char *mostrato; // the customer the form shows first
        std::function<void(int rigaEliminato)> scegli;
        const char *corrente; // the list's current row after the message
        const char *comandoDopo;
        const char *contoDopo; // what that command then shows
    };
    const Caso casi[] = {
        {"click", "0903", [this](int r) { this->Clic(r); }, "0903", "ListaAvanti", "0904"},
        {"double click", "0903", [this](int r) { this->Clic(r, true); }, "0903", "ListaInd", "0901"},
        // The row after the one shown: the list goes back to the form's customer.
        {"click, the next row", "0901", [this](int r) { this->Clic(r); }, "0901", "ListaAvanti", "0903"},
        {"double click, the next row", "0901", [this](int r) { this->Clic(r, true); }, "0901", "ListaAvanti",
         "0903"},
        {"next", "0901", [this](int) { this->Comando(QStringLiteral("ListaAvanti")); }, "0901", "ListaAvanti",
         "0903"},
        {"previous", "0903", [this](int) { this->Comando(QStringLiteral("ListaInd")); }, "0903", "ListaInd",
         "0901"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        this->Crea(2);
        this->Comando(QStringLiteral("Aggiorna"), true);
        this->Clic(this->Riga(QString::fromLatin1(c.mostrato)));
        ASSERT_EQ(this->Conto(), QString::fromLatin1(c.mostrato));
        const int righe = this->Righe();
        const int rigaEliminato = this->Riga(QStringLiteral("0902"));
        ASSERT_GE(rigaEliminato, 0);
        this->Altro(QStringLiteral(
            "Delete From PianoConti Where Gruppo = '01' And Mastro = '05' And Conto = '0902'"));
        this->DimenticaMessaggi();

        c.scegli(rigaEliminato);
        const QStringList detti = this->Messaggi();
        ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
        EXPECT_EQ(detti[0].toStdString(),
                  "Il cliente 01-05-0902 (Prova Scrivanie 2) non esiste più: un'altra postazione lo ha "
                  "cancellato o gli ha cambiato codice, e viene tolto dalla lista.");
        EXPECT_EQ(this->Conto(), QString::fromLatin1(c.mostrato));
        EXPECT_EQ(this->Riga(QStringLiteral("0902")), -1);
        EXPECT_EQ(this->Righe(), righe - 1);
        EXPECT_EQ(this->ContoCorrente(), QString::fromLatin1(c.corrente));
        EXPECT_EQ(this->Lista()->txtRiga->text(),
                  QStringLiteral("%1 / %2").arg(this->Corrente() + 1).arg(righe - 1));

        this->Comando(QString::fromLatin1(c.comandoDopo));
        EXPECT_EQ(this->Conto(), QString::fromLatin1(c.contoDopo));
        EXPECT_EQ(this->Messaggi().size(), 1);
    }
}

// A header click keeps the customer shown current, so that the next one is
// the one after it in the new order; "Aggiorna" keeps that order and the
// place; a refresh that fails (the other desk took away a table the list
// reads) keeps the rows shown and the place, and says so.
TYPED_TEST(ListaDueScrivanie, TheListKeepsItsOrderAndPlaceThroughSortsAndRefreshes)
{
    this->Clic(this->Riga(QStringLiteral("0903")));
    ASSERT_EQ(this->Conto(), QStringLiteral("0903"));

    QHeaderView *h = this->Griglia()->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(kLocalitaColonna) + 5, 5));
    this->Attendi();
    EXPECT_EQ(this->ContoCorrente(), QStringLiteral("0903"));
    EXPECT_EQ(this->Conto(), QStringLiteral("0903"));
    EXPECT_EQ(this->Cella(this->Corrente() - 1, 2), QStringLiteral("0901"));
    EXPECT_EQ(h->sortIndicatorSection(), kLocalitaColonna);
    this->Comando(QStringLiteral("ListaAvanti"));
    EXPECT_EQ(this->Conto(), QStringLiteral("0905"));
    EXPECT_EQ(this->ContoCorrente(), QStringLiteral("0905"));

    this->Comando(QStringLiteral("Aggiorna"), true);
    EXPECT_EQ(this->ContoCorrente(), QStringLiteral("0905"));
    EXPECT_EQ(this->Cella(this->Corrente() - 1, 2), QStringLiteral("0903"));
    EXPECT_TRUE(this->Messaggi().isEmpty()) << this->Messaggi().join('|').toStdString();

    const int righe = this->Righe();
    const int riga = this->Corrente();
    const QString contatore = this->Lista()->txtRiga->text();
    this->Altro(QStringLiteral("Alter Table Mastri Rename To MastriAltrove"));
    this->Comando(QStringLiteral("Aggiorna"), true);
    const QStringList detti = this->Messaggi();
    ASSERT_EQ(detti.size(), 1) << detti.join('|').toStdString();
    EXPECT_TRUE(detti[0].startsWith(
        QStringLiteral("Impossibile aggiornare la lista: restano le righe mostrate prima.")))
        << detti[0].toStdString();
    EXPECT_EQ(this->Righe(), righe);
    EXPECT_EQ(this->Corrente(), riga);
    EXPECT_EQ(this->ContoCorrente(), QStringLiteral("0905"));
    EXPECT_EQ(this->Lista()->txtRiga->text(), contatore);

    this->Altro(QStringLiteral("Alter Table MastriAltrove Rename To Mastri"));
    this->DimenticaMessaggi();
    this->Comando(QStringLiteral("Aggiorna"), true);
    EXPECT_TRUE(this->Messaggi().isEmpty()) << this->Messaggi().join('|').toStdString();
    EXPECT_EQ(this->ContoCorrente(), QStringLiteral("0905"));
    EXPECT_EQ(this->Cella(this->Corrente() - 1, 2), QStringLiteral("0903"));
}
