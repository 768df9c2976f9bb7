// Closing the customer form every way a user can: the page toolbar, the
// command by name, Alt+H, the documents grid's command, a read-only opening.
// Each path runs inside a call of the page or grid manager that the close
// releases, so the managers must outlive the call.
#include "BancoClienti.h"

#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "customer/frmClienti.h"
#include "lists/frmClientiLis.h"
#include "shell/ApriForm.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QToolBar>
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
