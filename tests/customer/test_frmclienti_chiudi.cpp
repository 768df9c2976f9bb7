// Closing the customer form every way a user can: the page toolbar, the
// command by name, Alt+H, the documents grid's command, a read-only opening.
// Each path runs inside a call of the page or grid manager that the close
// releases, so the managers must outlive the call. A second close while the
// form asks about its changes.
#include "BancoClienti.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "lists/frmClientiLis.h"
#include "shell/ApriForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <functional>

namespace
{

struct ModoChiusura {
    const char *nome;
    const char *param;
    std::function<void(frmClienti &)> chiudi;
};

void premiChiudi(frmClienti &f)
{
    QAction *a = f.ogComPag()->Bottone(QStringLiteral("Chiudi"));
    ASSERT_NE(a, nullptr);
    a->trigger();
}

void comandoChiudi(frmClienti &f)
{
    f.ButtonComando(QStringLiteral("Chiudi"));
}

void altH(frmClienti &f)
{
    f.txt(40)->setFocus();
    QTest::keyClick(f.txt(40), Qt::Key_H, Qt::AltModifier);
}

void grigliaChiudi(frmClienti &f)
{
    f.SelezionaTab(8);
    QCoreApplication::processEvents();
    f.LinAttuale = 0;
    f.ButtonComandoLin(QStringLiteral("Chiudi"));
}

} // namespace

class Chiusura : public BancoClienti
{
};

TEST_F(Chiusura, EveryWayOfClosingReleasesTheManagersAfterTheirCall)
{
    const ModoChiusura modi[] = {
        {"toolbar", "", premiChiudi},
        {"command", "", comandoChiudi},
        {"Alt+H", "", altH},
        {"grid", "", grigliaChiudi},
        {"read-only toolbar", "/RO", premiChiudi},
        {"read-only Alt+H", "/RO", altH},
    };
    const QStringList k = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
    ASSERT_EQ(k.size(), 3);
    for (const ModoChiusura &m : modi) {
        SCOPED_TRACE(m.nome);
        frmClienti *f = Apri(QString::fromLatin1(m.param));
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
        QPointer<frmClienti> form(f);
        QPointer<GestPagine> pagine(f->ogComPag());
        QPointer<GestLinee> documenti(f->GestLin(0));
        m_form = nullptr; // the close below deletes it

        m.chiudi(*f);
        ASSERT_TRUE(form) << "the window went while its command was running";
        EXPECT_TRUE(form->ChiusuraForm);
        EXPECT_FALSE(form->isVisible());

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(pagine);
        EXPECT_FALSE(documenti);
        EXPECT_FALSE(form);
        EXPECT_EQ(FormAperto(QStringLiteral("frmclienti")), nullptr);
        if (form)
            delete form.data();
    }
}

TEST_F(Chiusura, AChangedRecordKeptOpenKeepsItsManagers)
{
    frmClienti *f = Apri();
    ASSERT_NE(f, nullptr);
    const QStringList k = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
    ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
    QTest::keyClicks(f->txt(40), QStringLiteral("x"));
    ASSERT_TRUE(f->ogComPag()->RecordModificato());
    Rispondi(3); // "Annulla": stay
    f->ButtonComando(QStringLiteral("Chiudi"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(FormAperto(QStringLiteral("frmclienti")), f);
    EXPECT_FALSE(f->ChiusuraForm);
    EXPECT_TRUE(f->ogComPag()->RecordModificato());
    EXPECT_NE(f->GestLin(0), nullptr);
}

// The form closed while its list is the active window, from an empty form and
// from a customer, with the keyboard in one of its fields: the list goes with
// it, and no field losing the keyboard as the window goes reaches the form's
// handlers (the sanitized build reports a call on a half-destroyed form).
TEST_F(Chiusura, TheFormClosesWithItsListOpenAndActive)
{
    const QStringList k = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
    ASSERT_EQ(k.size(), 3);
    for (const bool conCliente : {false, true}) {
        SCOPED_TRACE(conCliente ? "a customer" : "empty form");
        frmClienti *f = Apri();
        ASSERT_NE(f, nullptr);
        if (conCliente) {
            ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
        }
        f->activateWindow();
        f->txt(30)->setFocus();
        Attendi();
        QTest::keyClick(f->txt(30), Qt::Key_L, Qt::AltModifier);
        Attendi();
        QPointer<QWidget> lista(dynamic_cast<frmClientiLis *>(f->frmClientiLis));
        ASSERT_TRUE(lista && lista->isVisible());
        lista->activateWindow();
        Attendi();
        QPointer<frmClienti> form(f);
        m_form = nullptr;
        f->ButtonComando(QStringLiteral("Chiudi"));
        // The window system hands the activation back to the form, and the
        // keyboard to its field, before the form goes (as a click on the
        // form's "Chiudi" may do while the list is active).
        ASSERT_FALSE(f->isVisible());
        QApplication::setActiveWindow(f);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        ASSERT_TRUE(f->isAncestorOf(QApplication::focusWidget()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Attendi();
        EXPECT_FALSE(form);
        EXPECT_FALSE(lista);
        if (form)
            delete form.data();
    }
}

namespace
{

// A close the window system delivers (the close box, Alt+F4).
void casellaChiudi(QWidget *w)
{
    ASSERT_NE(w->windowHandle(), nullptr);
    QCloseEvent e;
    QCoreApplication::sendEvent(w->windowHandle(), &e);
}

struct SecondaChiusura {
    const char *nome;
    std::function<void(frmClienti &)> prima;
    std::function<void(QWidget *)> seconda; // while the question is on the screen
    int risposta;                           // 2 "No": the first close goes on; 3 "Annulla": it stays
};

} // namespace

// The question about the changes is on the screen when a second close
// arrives: it is refused, and the answer to the question decides. A form kept
// open is still shown, with its window and its changes.
TEST_F(Chiusura, ASecondCloseWhileTheQuestionIsUpLeavesTheDecisionToTheAnswer)
{
    const SecondaChiusura casi[] = {
        {"Chiudi, then the close box, Annulla", comandoChiudi, casellaChiudi, 3},
        {"the close box, then close(), Annulla", [](frmClienti &f) { casellaChiudi(&f); },
         [](QWidget *w) { w->close(); }, 3},
        {"Chiudi, then the close box, No", comandoChiudi, casellaChiudi, 2},
    };
    const QStringList k = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
    ASSERT_EQ(k.size(), 3);
    for (const SecondaChiusura &c : casi) {
        SCOPED_TRACE(c.nome);
        frmClienti *f = Apri();
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
        f->txt(40)->setFocus();
        QTest::keyClicks(f->txt(40), QStringLiteral("x"));
        const QString modificato = f->txt(40)->text();
        ASSERT_TRUE(f->ogComPag()->RecordModificato());
        int domande = 0;
        RisposteProgrammate::ImpostaAzioneMostrato([&](const QString &, const QVariantMap &m) {
            if (m.value(QStringLiteral("testo"))
                    .toString()
                    .startsWith(QStringLiteral("Il record è stato modificato")) &&
                domande++ == 0)
                c.seconda(f);
        });
        Rispondi(c.risposta);
        QPointer<frmClienti> form(f);
        c.prima(*f);
        RisposteProgrammate::ImpostaAzioneMostrato(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Attendi();
        EXPECT_EQ(domande, 1);
        if (!form || c.risposta == 2) {
            EXPECT_EQ(c.risposta, 2) << "the form went with its changes";
            EXPECT_FALSE(form);
            m_form = nullptr;
            if (form)
                delete form.data();
            continue;
        }
        EXPECT_TRUE(f->isVisible());
        ASSERT_NE(f->windowHandle(), nullptr);
        EXPECT_NE(f->windowHandle()->handle(), nullptr) << "the window system's window is gone";
        EXPECT_FALSE(f->ChiusuraForm);
        EXPECT_EQ(f->txt(40)->text(), modificato);
        EXPECT_TRUE(f->ogComPag()->RecordModificato());
        Chiudi();
    }
}
