// The message box driven headless with real keys, and with queued answers.
#include "components/forms/RisposteProgrammate.h"
#include "components/util/Currency.h"
#include "components/util/VbErrore.h"
#include "services/MsgCom.h"
#include "services/frmMsgCom.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace
{

class MessaggioATastiera : public ::testing::Test
{
  protected:
    void SetUp() override { RisposteProgrammate::Azzera(); }
    void TearDown() override { RisposteProgrammate::Azzera(); }

    // Runs `mostra` (which opens the box modally) while `azione` works the box.
    int conAzione(std::function<void(frmMsgCom &)> azione, std::function<int()> mostra)
    {
        bool fatto = false;
        QTimer::singleShot(0, [&] {
            frmMsgCom &f = frmMsgCom::Istanza();
            if (!QTest::qWaitFor([&] { return f.isVisible(); }, 5000)) {
                ADD_FAILURE() << "the message box did not show";
                return;
            }
            azione(f);
            fatto = true;
        });
        const int r = mostra();
        EXPECT_TRUE(fatto);
        return r;
    }
    static void tasto(frmMsgCom &f, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QWidget *w = f.focusWidget() ? f.focusWidget() : &f;
        QTest::keyClick(w, k, m);
    }
};

} // namespace

TEST_F(MessaggioATastiera, EscPremeLUltimoPulsante)
{
    EXPECT_EQ(conAzione([](frmMsgCom &f) { tasto(f, Qt::Key_Escape); },
                        [] { return msgCom("Salvare?", "&Sì", "&No", "&Annulla"); }),
              3);
    EXPECT_EQ(conAzione([](frmMsgCom &f) { tasto(f, Qt::Key_Escape); }, [] { return msgCom("Fatto."); }), 1);
}

TEST_F(MessaggioATastiera, InvioSulPulsanteConIlFuoco)
{
    EXPECT_EQ(conAzione([](frmMsgCom &f) { tasto(f, Qt::Key_Return); },
                        [] { return msgCom("Salvare?", "&Sì", "&No", "", "", 80, false, 600, 0, 2); }),
              2);
    EXPECT_EQ(conAzione(
                  [](frmMsgCom &f) {
                      EXPECT_EQ(f.focusWidget(), f.Pulsante(1));
                      tasto(f, Qt::Key_Tab);
                      EXPECT_EQ(f.focusWidget(), f.Pulsante(2));
                      tasto(f, Qt::Key_Enter);
                  },
                  [] { return msgCom("Salvare?", "&Sì", "&No"); }),
              2);
}

TEST_F(MessaggioATastiera, LettereDeiPulsanti)
{
    EXPECT_EQ(
        conAzione([](frmMsgCom &f) { tasto(f, Qt::Key_N); }, [] { return msgCom("Salvare?", "&Sì", "&No"); }),
        2);
    EXPECT_EQ(conAzione([](frmMsgCom &f) { tasto(f, Qt::Key_S, Qt::AltModifier); },
                        [] { return msgCom("Salvare?", "&Sì", "&No", "", "", 0, false, 0, 0, 2); }),
              1);
    // A letter that no button carries does nothing; Escape then closes.
    EXPECT_EQ(conAzione(
                  [](frmMsgCom &f) {
                      tasto(f, Qt::Key_X);
                      EXPECT_TRUE(f.isVisible());
                      tasto(f, Qt::Key_Escape);
                  },
                  [] { return msgCom("Salvare?", "&Sì", "&No"); }),
              2);
}

TEST_F(MessaggioATastiera, ClicSulPulsante)
{
    EXPECT_EQ(conAzione([](frmMsgCom &f) { QTest::mouseClick(f.Pulsante(2), Qt::LeftButton); },
                        [] { return msgCom("Quale?", "Uno", "Due", "Tre"); }),
              2);
}

TEST_F(MessaggioATastiera, DisposizioneTestoELarghezza)
{
    conAzione(
        [](frmMsgCom &f) {
            EXPECT_FALSE(f.UsaTesto());
            EXPECT_EQ(f.Etichetta()->text(), "Breve");
            EXPECT_EQ(f.windowTitle(), "Titolo");
            EXPECT_EQ(f.Pulsante(1)->text(), "&Ok");
            EXPECT_EQ(f.Pulsante(2), nullptr);
            tasto(f, Qt::Key_Escape);
        },
        [] { return msgCom("Breve", "&Ok", "", "", "Titolo", 50, false, 600); });
    conAzione(
        [](frmMsgCom &f) {
            EXPECT_TRUE(f.UsaTesto());
            EXPECT_TRUE(f.Testo()->isReadOnly());
            EXPECT_EQ(f.Testo()->toPlainText(), "Breve");
            tasto(f, Qt::Key_Escape);
        },
        [] { return msgCom("Breve", "&Ok", "", "", "", 0, false, 0, 0, 1, 0, true); });
    const QString lungo = QString("riga di testo\n").repeated(40);
    conAzione(
        [&](frmMsgCom &f) {
            EXPECT_TRUE(f.UsaTesto());
            EXPECT_EQ(f.Testo()->toPlainText(), lungo);
            tasto(f, Qt::Key_Escape);
        },
        [&] { return msgCom(lungo); });
}

// The box is as wide as its text needs: a one-line message is no band across
// the screen, a long line wraps within the share the caller allows, and every
// line stays whole on one row.
TEST_F(MessaggioATastiera, LarghezzaSecondoIlTesto)
{
    frmMsgCom &f = frmMsgCom::Istanza();
    const int schermo = f.screen()->availableGeometry().width();
    const QString media = QString("Impossibile salvare: il codice è già usato da un altro cliente.");
    const QString lunga = QString("parola ").repeated(200);
    struct Caso {
        QString testo;
        int largForm;
        int minimo, massimo;
    } casi[] = {
        {"Ok?", 80, 200, 400},
        {media, 80, 0, schermo * 80 / 100},
        {lunga, 80, schermo * 70 / 100, schermo},
        {lunga, 0, schermo * 50 / 100, schermo * 60 / 100},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.testo.left(20).toStdString());
        frmMsgCom::Richiesta r;
        r.testo = c.testo;
        r.pulsanti = QStringList{"&Sì", "&No"};
        r.largForm = c.largForm;
        r.latiForm = 600;
        f.Prepara(r);
        f.layout()->activate();
        EXPECT_GE(f.width(), c.minimo);
        EXPECT_LE(f.width(), c.massimo);
        if (c.testo != lunga) {
            EXPECT_GE(f.Etichetta()->width(), f.Etichetta()->fontMetrics().horizontalAdvance(c.testo));
        }
        EXPECT_GE(f.width(), f.Pulsante(1)->width() + f.Pulsante(2)->width());
    }
}

// A word wider than the box (a web address) is neither cut at the box's edge
// nor makes the box wider than the screen: the text box breaks it, and the
// whole of it can still be selected and copied.
TEST_F(MessaggioATastiera, UnaParolaLungaNonVieneTagliata)
{
    const QString indirizzo =
        QStringLiteral("https://maps.google.com/maps?q=") +
        QStringLiteral("Via+Giuseppe+Garibaldi+123,+20121+Milano+MI,+Italia+").repeated(8);
    const QString testo =
        QStringLiteral("Impossibile aprire la mappa: nessun browser disponibile per ") + indirizzo;
    conAzione(
        [&](frmMsgCom &f) {
            f.layout()->activate();
            QApplication::processEvents();
            EXPECT_LE(f.frameGeometry().width(), f.screen()->availableGeometry().width());
            EXPECT_TRUE(f.UsaTesto());
            EXPECT_EQ(f.Testo()->toPlainText(), testo);
            // Nothing to scroll sideways: every character is inside the box.
            EXPECT_EQ(f.Testo()->horizontalScrollBar()->maximum(), 0);
            EXPECT_GT(f.Testo()->document()->lineCount(), 0);
            EXPECT_GT(f.Testo()->document()->firstBlock().layout()->lineCount(), 1);
            tasto(f, Qt::Key_Escape);
        },
        [&] { return msgCom(testo); });
    // A sentence of ordinary words keeps the label.
    conAzione(
        [](frmMsgCom &f) {
            EXPECT_FALSE(f.UsaTesto());
            tasto(f, Qt::Key_Escape);
        },
        [] { return msgCom(QStringLiteral("Impossibile aprire la mappa: nessun browser disponibile.")); });
}

TEST_F(MessaggioATastiera, RisposteAccodateERegistro)
{
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2);
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 7);
    EXPECT_EQ(msgCom("Primo?", "&Sì", "&No"), 2);
    EXPECT_EQ(msgCom("Secondo", "&Ok"), 1); // an answer beyond the buttons counts as the first
    const auto mostrati = RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom);
    ASSERT_EQ(mostrati.size(), 2);
    EXPECT_EQ(mostrati[0].value("testo").toString(), "Primo?");
    EXPECT_EQ(mostrati[0].value("pulsanti").toStringList(), (QStringList{"&Sì", "&No"}));
    EXPECT_FALSE(frmMsgCom::Istanza().isVisible());
}

TEST_F(MessaggioATastiera, MsgErrfrmDallErroreCorrente)
{
    RisposteProgrammate::ImpostaSenzaModali(true);
    try {
        throw VbErrore(3022, "Chiave duplicata.");
    } catch (...) {
        MsgErrfrm();
    }
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom).value("testo").toString(),
              "Errore(3022): Chiave duplicata.");
    EXPECT_EQ(
        RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom).value("pulsanti").toStringList(),
        QStringList{"&Ok"});
    MsgErrfrm(94, "Uso non valido di Null", "Prima ", " dopo");
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom).value("testo").toString(),
              "Prima Errore(94): Uso non valido di Null dopo");
    MsgErrfrm(VbErrore(3146, "ODBC;DSN=x;UID=sa;PWD=segreta"));
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom).value("testo").toString(),
              "Errore(3146): ODBC;DSN=x;UID=sa;PWD=***");
}

TEST_F(MessaggioATastiera, MsgErrfrmSpiegaLOverflowInItaliano)
{
    RisposteProgrammate::ImpostaSenzaModali(true);
    try {
        (void)(Currency::massimo() + Currency(1));
    } catch (...) {
        MsgErrfrm();
    }
    const QString testo =
        RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom).value("testo").toString();
    EXPECT_TRUE(testo.startsWith("Errore(6): Overflow\r\nNumero troppo grande")) << testo.toStdString();
    EXPECT_TRUE(testo.contains("922.337.203.685.477,5807")) << testo.toStdString();
}

TEST(NascondiPassword, NessunaPasswordNeiMessaggi)
{
    struct {
        const char *in, *out;
    } casi[] = {
        {"ODBC;DSN=Ditta;UID=sa;PWD=Segreta1;", "ODBC;DSN=Ditta;UID=sa;PWD=***;"},
        {"select * from [;Database=/dati/menu.db;pwd=abc;].TabStati",
         "select * from [;Database=/dati/menu.db;pwd=***;].TabStati"},
        {"[;Database=c:\\menu.mdb;pwd=abc].Appoggio", "[;Database=c:\\menu.mdb;pwd=***].Appoggio"},
        {"DRIVER={PostgreSQL Unicode};PWD={a;b}}c};SERVER=x", "DRIVER={PostgreSQL Unicode};PWD=***;SERVER=x"},
        {"password = ciao e poi", "password = *** e poi"},
        {"Nessun segreto qui", "Nessun segreto qui"},
        {"pwdx=1", "pwdx=1"},
    };
    for (const auto &c : casi)
        EXPECT_EQ(NascondiPassword(c.in), c.out) << c.in;
}

TEST_F(MessaggioATastiera, IlTestoMostratoNonHaPassword)
{
    conAzione(
        [](frmMsgCom &f) {
            EXPECT_EQ(f.Etichetta()->text(), "Errore: DSN=x;PWD=***");
            tasto(f, Qt::Key_Escape);
        },
        [] { return msgCom("Errore: DSN=x;PWD=abc"); });
}

TEST_F(MessaggioATastiera, SopraLaFinestraAttivaESopravviveAllaSuaChiusura)
{
    {
        QWidget finestra;
        finestra.show();
        QApplication::setActiveWindow(&finestra);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&finestra));
        conAzione(
            [&](frmMsgCom &f) {
                EXPECT_EQ(f.parentWidget(), &finestra);
                EXPECT_TRUE(f.isWindow());
                tasto(f, Qt::Key_Escape);
            },
            [] { return msgCom("Sopra"); });
    }
    // The window took the box with it: the next message makes a new one.
    EXPECT_EQ(conAzione([](frmMsgCom &f) { tasto(f, Qt::Key_Return); },
                        [] { return msgCom("Ancora", "&Sì", "&No"); }),
              1);
}

TEST(SeparaDettaglio, LeParoleDelSistemaVannoDopo)
{
    struct Caso {
        const char *testo, *principale, *dettaglio;
    } casi[] = {
        {"Connessione persa.\nDettaglio: FATAL: terminating connection", "Connessione persa.",
         "FATAL: terminating connection"},
        {"Connessione persa.\r\nDettaglio: riga uno\nriga due\n", "Connessione persa.", "riga uno\nriga due"},
        {"La stampa non è partita. (Dettaglio: client-error-not-possible)", "La stampa non è partita.",
         "client-error-not-possible"},
        {"Invio non riuscito (Dettaglio: RCPT failed: 550 (no such user))", "Invio non riuscito",
         "RCPT failed: 550 (no such user)"},
        {"Nessun dettaglio (qui) qui.", "Nessun dettaglio (qui) qui.", ""},
    };
    for (const Caso &c : casi) {
        const TestoConDettaglio d = SeparaDettaglio(QString::fromUtf8(c.testo));
        EXPECT_EQ(d.principale, QString::fromUtf8(c.principale)) << c.testo;
        EXPECT_EQ(d.dettaglio, QString::fromUtf8(c.dettaglio)) << c.testo;
    }
    // The error box puts what the program adds before the system's words.
    const QString t =
        TestoMsgErrfrm(3146, QStringLiteral("Il server non risponde.\nDettaglio: server closed"),
                       QStringLiteral("Lettura: "), QStringLiteral(" Riprovare."));
    const TestoConDettaglio d = SeparaDettaglio(t);
    EXPECT_TRUE(d.principale.startsWith(QStringLiteral("Lettura: Errore(3146): Il server non risponde.")))
        << t.toStdString();
    EXPECT_TRUE(d.principale.endsWith(QStringLiteral(" Riprovare."))) << t.toStdString();
    EXPECT_EQ(d.dettaglio, QStringLiteral("server closed"));
}

TEST_F(MessaggioATastiera, IlDettaglioDelSistemaDietroIlSuoPulsante)
{
    frmMsgCom &f = frmMsgCom::Istanza();
    frmMsgCom::Richiesta r;
    r.testo = QStringLiteral("Il collegamento con il server si è interrotto.\nDettaglio: FATAL: terminating "
                             "connection due to administrator command");
    r.pulsanti << QStringLiteral("&Ok");
    f.Prepara(r);
    f.show();
    EXPECT_EQ(f.Etichetta()->text(), QStringLiteral("Il collegamento con il server si è interrotto."));
    ASSERT_FALSE(f.MostraDettaglio()->isHidden());
    EXPECT_TRUE(f.Dettaglio()->isHidden());
    QTest::mouseClick(f.MostraDettaglio(), Qt::LeftButton);
    EXPECT_FALSE(f.Dettaglio()->isHidden());
    EXPECT_TRUE(f.Dettaglio()->toPlainText().contains(QStringLiteral("administrator command")));
    // A message without the system's words has no such button.
    r.testo = QStringLiteral("Salvato.");
    f.Prepara(r);
    EXPECT_TRUE(f.MostraDettaglio()->isHidden());
    EXPECT_TRUE(f.Dettaglio()->isHidden());
    f.hide();
}
