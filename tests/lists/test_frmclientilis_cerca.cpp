// "Cerca in" of the customer list window: the search runs on a thread of its
// own while the window answers, with the busy cursor, and Esc, "Cerca" again,
// or the list read again stop it.
#include "BancoLista.h"

#include "components/db/DbMotore.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/GestLista.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace
{

class CercaInLista : public BancoLista
{
  protected:
    void SetUp() override
    {
        BancoLista::SetUp();
        AggiungiClienti(600);
        Esegui(QStringLiteral("Update PianoConti Set Descrizione = 'Zeta Speciale' Where Conto = '9500'"));
        Apri();
        m_lista->CobCerca->setCurrentIndex(
            m_lista->CobCerca->findText(QStringLiteral("Ragione Sociale Contabile")));
    }
    // Starts "Cerca" from the first row for `testo`, and checks the window
    // waits for it with the busy cursor.
    void AvviaCerca(const QString &testo)
    {
        m_lista->txtCerca->setText(testo);
        m_lista->optDirez(0)->setChecked(true);
        DimenticaMessaggi();
        m_lista->ButtonComando(QStringLiteral("Cerca"));
        ASSERT_TRUE(Lista()->RicercaInCorso());
        EXPECT_EQ(m_lista->cursor().shape(), Qt::BusyCursor);
        EXPECT_EQ(m_lista->dbgRiga->viewport()->cursor().shape(), Qt::BusyCursor);
        EXPECT_FALSE(m_lista->ComCerca->toolTip().isEmpty());
    }
    void CursoreTornato() const
    {
        EXPECT_FALSE(Lista()->RicercaInCorso());
        EXPECT_EQ(m_lista->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(m_lista->dbgRiga->viewport()->cursor().shape(), Qt::ArrowCursor);
        EXPECT_TRUE(m_lista->ComCerca->toolTip().isEmpty());
    }
};

} // namespace

// Neither a search that finds nothing nor one that finds a customer far down
// runs its statement on the window's connection; the customer found is the
// current row at once, and its number follows.
TEST_F(CercaInLista, LaRicercaGiraSulSuoThreadEIlNumeroDellaRigaSegue)
{
    QStringList finestra;
    Globali::DbComp()->ImpostaOsservatoreMotore([&finestra](const QString &sql) { finestra << sql; });
    for (const QString &testo : {QStringLiteral("nessuno così"), QStringLiteral("zeta spec")}) {
        SCOPED_TRACE(testo.toStdString());
        finestra.clear();
        AvviaCerca(testo);
        Attendi();
        CursoreTornato();
        for (const QString &s : std::as_const(finestra))
            EXPECT_FALSE(s.contains(testo, Qt::CaseInsensitive)) << s.toStdString();
    }
    Globali::DbComp()->ImpostaOsservatoreMotore({});
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(' ').toStdString();
    EXPECT_EQ(Chiave(Lista()->RigaCorrente()), QStringLiteral("01-05-9500"));
    EXPECT_TRUE(m_lista->optDirez(1)->isChecked());
    for (int i = 0; i < 3000 && !Lista()->PosizioneNota(); ++i)
        QTest::qWait(5);
    Attendi();
    const int riga = Valore(QStringLiteral("Select Count(*) From PianoConti P Inner Join Mastri M On "
                                           "M.Gruppo = P.Gruppo And M.Mastro = P.Mastro Where M.Tipo = '3' "
                                           "And (P.Mastro < '05' Or (P.Mastro = '05' And P.Conto < '9500'))"))
                         .toInt();
    ASSERT_EQ(Lista()->RigaCorrente(), riga);
    EXPECT_EQ(Chiave(riga), QStringLiteral("01-05-9500"));
    EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("%1 / %2").arg(riga + 1).arg(Righe()));

    // None: said as before, once the answer has come.
    AvviaCerca(QStringLiteral("nessuno così"));
    EXPECT_TRUE(Messaggi().isEmpty());
    Attendi();
    EXPECT_EQ(Messaggi(),
              QStringList{QStringLiteral(
                  "Nessuna riga contiene \"nessuno così\" nella colonna Ragione Sociale Contabile.")});
}

// Stopped by Esc in the list window or by "Cerca" again, dropped when the
// list is read again or sorted: nothing is said, the cursor comes back, and
// the customer the user was on stays current.
TEST_F(CercaInLista, EscCercaDiNuovoORileggereLaListaFermanoLaRicerca)
{
    const QString prima = Chiave(Lista()->RigaCorrente());
    ASSERT_NE(prima, QStringLiteral("01-05-9500"));
    const std::pair<const char *, std::function<void()>> modi[] = {
        {"Esc", [&] { QTest::keyClick(m_lista->txtCerca, Qt::Key_Escape); }},
        {"Cerca", [&] { m_lista->ButtonComando(QStringLiteral("Cerca")); }},
        {"Aggiorna", [&] { m_lista->ButtonComando(QStringLiteral("Aggiorna")); }},
        {"DatRefresh", [&] { m_lista->DatRefresh(); }},
        {"ordine", [&] { Lista()->OrdinaPerColonna(3, m_lista->osSql()); }},
    };
    for (const auto &[modo, ferma] : modi) {
        SCOPED_TRACE(modo);
        AvviaCerca(QStringLiteral("zeta spec"));
        ferma();
        CursoreTornato();
        Attendi();
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(' ').toStdString();
        EXPECT_EQ(Chiave(Lista()->RigaCorrente()), prima);
        EXPECT_TRUE(m_lista->optDirez(0)->isChecked());
        EXPECT_TRUE(m_lista->isVisible());
    }
}

// "Cerca in" on a column no condition can search (a date: its day as the
// list writes it is sought, Null dates included) runs on the search thread
// as on a text column, the window's connection reading nothing for it, and
// finds the customer whose cell as shown holds the text, as comparing the
// cells does; a caption ending with a period ends the message.
TEST_F(CercaInLista, OgniColonnaSiCercaSulSuoThreadComeLaListaLaMostra)
{
    Esegui(QStringLiteral("Update PianoConti Set DataAp = #03/15/2099# Where Conto = '9400'"));
    Esegui(QStringLiteral("Update PianoConti Set DataAp = #07/01/2098# Where Conto = '9450'"));
    Esegui(QStringLiteral("Update PianoConti Set DataAp = Null Where Conto >= '9000' And Conto < '9300'"));
    m_lista->DatRefresh();
    Attendi();
    const struct {
        const char *colonna, *testo;
    } casi[] = {{"Data Ap.", "2099"},
                {"Data Ap.", "/07/2098"},
                {"Data Ap.", "zzz"},
                {"Cliente", "9450"},
                {"Ragione Sociale Contabile", "zeta spec"}};
    QStringList finestra;
    for (const auto &c : casi) {
        const QString testo = QString::fromUtf8(c.testo), colonna = QString::fromUtf8(c.colonna);
        SCOPED_TRACE((colonna + QLatin1Char(' ') + testo).toStdString());
        m_lista->CobCerca->setCurrentIndex(m_lista->CobCerca->findText(colonna));
        const int col = m_lista->CobCerca->currentData().toInt();
        Globali::DbComp()->ImpostaOsservatoreMotore([&finestra](const QString &sql) { finestra << sql; });
        finestra.clear();
        AvviaCerca(testo);
        Globali::DbComp()->ImpostaOsservatoreMotore({});
        EXPECT_EQ(finestra, QStringList());
        Attendi();
        CursoreTornato();
        int attesa = -1;
        for (int r = 0; r < Righe() && attesa < 0; ++r)
            if (Lista()->TestoCella(r, col).contains(testo, Qt::CaseInsensitive))
                attesa = r;
        if (attesa < 0) {
            EXPECT_EQ(Messaggi(),
                      QStringList{QStringLiteral("Nessuna riga contiene \"zzz\" nella colonna Data Ap.")});
            continue;
        }
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(' ').toStdString();
        EXPECT_EQ(Chiave(Lista()->RigaCorrente()), Chiave(attesa));
    }
    // Esc stops it as it stops a search in a text.
    m_lista->CobCerca->setCurrentIndex(m_lista->CobCerca->findText(QStringLiteral("Data Ap.")));
    const QString prima = Chiave(Lista()->RigaCorrente());
    AvviaCerca(QStringLiteral("2099"));
    QTest::keyClick(m_lista->txtCerca, Qt::Key_Escape);
    CursoreTornato();
    Attendi();
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(' ').toStdString();
    EXPECT_EQ(Chiave(Lista()->RigaCorrente()), prima);
}
