// The print windows that refuse to close (the preview while printing, the
// print dialog without a file name) refuse a second close too, one arriving
// while their message is on the screen: the window stays shown and usable.
#include "BancoSceltaStampa.h"

#include "components/stampa/StatoStampa.h"
#include "printing/FrmVStampa.h"
#include "printing/MessaggiStampa.h"

#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QWindow>
#include <functional>
#include <optional>

namespace
{

struct FinestraCheRifiuta {
    const char *nome;
    std::function<QWidget *(BancoSceltaStampa &)> apri; // shown, refusing to close
    std::function<void(QWidget *)> chiudi;              // the user's close
    std::function<void()> dopo;
};

} // namespace

class ChiusuraRifiutata : public BancoSceltaStampa
{
};

TEST_F(ChiusuraRifiutata, ASecondCloseWhileTheRefusalIsShownLeavesTheWindow)
{
    std::optional<StatoStampa::InCorso> stampa;
    const FinestraCheRifiuta casi[] = {
        {"preview while printing",
         [&](BancoSceltaStampa &) {
             auto *v = new FrmVStampa;
             v->Mostra();
             stampa.emplace();
             return static_cast<QWidget *>(v);
         },
         [](QWidget *w) { w->close(); }, [&] { stampa.reset(); }},
        {"print dialog without a file name",
         [](BancoSceltaStampa &b) {
             b.opz.oiStaVid(OpzStampa::UscitaFile);
             FrmSceltaStam &d = b.apri();
             b.mostra();
             return static_cast<QWidget *>(&d);
         },
         [](QWidget *w) { static_cast<FrmSceltaStam *>(w)->ComChiudi->click(); }, [] {}},
    };
    for (const FinestraCheRifiuta &c : casi) {
        SCOPED_TRACE(c.nome);
        QPointer<QWidget> w(c.apri(*this));
        QCoreApplication::processEvents();
        ASSERT_TRUE(w && w->isVisible());
        int messaggi = 0;
        RisposteProgrammate::ImpostaAzioneMostrato([&](const QString &, const QVariantMap &) {
            // The window system's close (the close box, Alt+F4) over the message.
            if (messaggi++ == 0 && w) {
                QCloseEvent e;
                QCoreApplication::sendEvent(w->windowHandle(), &e);
            }
        });
        c.chiudi(w);
        RisposteProgrammate::ImpostaAzioneMostrato(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        EXPECT_EQ(messaggi, 1);
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_NE(w->windowHandle()->handle(), nullptr) << "the window system's window is gone";
        c.dopo();
        if (qobject_cast<FrmVStampa *>(w))
            delete w.data();
    }
}
