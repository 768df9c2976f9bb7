// Modal windows, scripted answers of dialogs and one-shot timers.
#include "components/forms/RisposteProgrammate.h"
#include "components/forms/UtilFinestre.h"

#include "support/StampaQt.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace RP = RisposteProgrammate;

namespace
{

class UtilFinestreTest : public ::testing::Test
{
  protected:
    void TearDown() override { RP::Azzera(); }
};

TEST_F(UtilFinestreTest, ModalShowReturnsWhenTheWindowCloses)
{
    QStringList visti;
    RP::ImpostaAzioneModale([&](QWidget *w) {
        visti << w->objectName() + (w->isVisible() ? QStringLiteral(" visibile") : QString());
        if (auto *d = qobject_cast<QDialog *>(w))
            d->done(7);
        else
            w->close();
    });
    QDialog dialogo;
    dialogo.setObjectName(QStringLiteral("frmVStaPar"));
    EXPECT_EQ(UtilFinestre::MostraForm(&dialogo, 1), 7);

    QWidget finestra;
    finestra.setObjectName(QStringLiteral("FrmSceltaStam"));
    EXPECT_EQ(UtilFinestre::MostraForm(&finestra, 2), 0);
    EXPECT_FALSE(finestra.isVisible());
    EXPECT_EQ(finestra.windowModality(), Qt::NonModal); // restored after the modal show
    EXPECT_EQ(visti, (QStringList{"frmVStaPar visibile", "FrmSceltaStam visibile"}));

    // A window deleted while shown modally ends the wait too.
    auto *temporanea = new QWidget;
    RP::ImpostaAzioneModale([](QWidget *w) { delete w; });
    EXPECT_EQ(UtilFinestre::MostraForm(temporanea, 1), 0);
}

// A window whose close handler refuses (unsaved changes kept) stays open and modal.
class ChiusuraRifiutata : public QWidget
{
  public:
    int rifiuti = 1;

  protected:
    void closeEvent(QCloseEvent *e) override
    {
        if (rifiuti-- > 0)
            e->ignore();
        else
            e->accept();
    }
};

TEST_F(UtilFinestreTest, ModalShowWaitsThroughARefusedClose)
{
    ChiusuraRifiutata finestra;
    bool secondaChiusura = false;
    RP::ImpostaAzioneModale([&](QWidget *w) {
        w->close();
        // Later than anything the refused close may have queued.
        QTimer::singleShot(30, w, [&, w] {
            secondaChiusura = true;
            w->close();
        });
    });
    EXPECT_EQ(UtilFinestre::MostraForm(&finestra, 1), 0);
    EXPECT_TRUE(secondaChiusura);
    EXPECT_FALSE(finestra.isVisible());
    EXPECT_EQ(finestra.windowModality(), Qt::NonModal);
}

TEST_F(UtilFinestreTest, DialogsTakeQueuedAnswersAndRecordWhatTheyShowed)
{
    RP::Accoda(RP::FileApri, QStringLiteral("/tmp/allegato.pdf"));
    RP::Accoda(RP::FileApri, QString());
    EXPECT_EQ(UtilFinestre::ScegliFileDaAprire(nullptr, QStringLiteral("Documento"), QStringLiteral("/tmp"),
                                               QStringLiteral("*.pdf")),
              QStringLiteral("/tmp/allegato.pdf"));
    EXPECT_EQ(UtilFinestre::ScegliFileDaAprire(nullptr, QStringLiteral("Altro"), {}, {}), QString());
    ASSERT_EQ(RP::Mostrati(RP::FileApri).size(), 2);
    EXPECT_EQ(RP::Mostrati(RP::FileApri)[0].value(QStringLiteral("titolo")), QStringLiteral("Documento"));
    EXPECT_FALSE(RP::HaRisposta(RP::FileApri));

    QFont arial(QStringLiteral("Arial"), 10);
    QFont scelto(QStringLiteral("Courier"), 12);
    RP::Accoda(RP::Font, scelto);
    RP::Accoda(RP::Font, QVariant());
    bool ok = false;
    EXPECT_EQ(
        UtilFinestre::FontDaDialogo(nullptr, arial, QStringLiteral("Scegliere il font per la stampa"), ok),
        scelto);
    EXPECT_TRUE(ok);
    EXPECT_EQ(UtilFinestre::FontDaDialogo(nullptr, arial, QString(), ok), arial); // cancelled
    EXPECT_FALSE(ok);
    EXPECT_EQ(RP::UltimoMostrato(RP::Font).value(QStringLiteral("titolo")), QString());

    // With SenzaModali nothing blocks even without answers: defaults, recorded.
    RP::ImpostaSenzaModali(true);
    EXPECT_EQ(UtilFinestre::ScegliCartella(nullptr, QStringLiteral("Cartella"), QStringLiteral("/tmp")),
              QString());
    EXPECT_TRUE(
        UtilFinestre::ApriConShell(QUrl(QStringLiteral("https://www.openstreetmap.org/search?query=Roma"))));
    EXPECT_EQ(RP::UltimoMostrato(RP::ApriShell).value(QStringLiteral("url")).toUrl().host(),
              QStringLiteral("www.openstreetmap.org"));
    RP::Accoda(RP::ApriShell, false);
    EXPECT_FALSE(UtilFinestre::ApriConShell(QUrl::fromLocalFile(QStringLiteral("/non/esiste.pdf"))));
}

TEST_F(UtilFinestreTest, OneShotTimersRunOnceAfterTheCurrentEvent)
{
    QObject contesto;
    int volte = 0;
    QTimer *t = UtilFinestre::CreaTimerUnoShot(&contesto, [&] { ++volte; });
    t->start();
    t->start(); // restarting a pending one-shot does not double it
    UtilFinestre::UnoShot(&contesto, [&] { volte += 10; });
    EXPECT_EQ(volte, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return volte == 11; }, 5000));
    EXPECT_EQ(volte, 11);
    QCoreApplication::processEvents();
    EXPECT_EQ(volte, 11);

    auto *perso = new QObject;
    UtilFinestre::UnoShot(perso, [&] { volte = -1; });
    delete perso; // the window went away before the timer fired
    QCoreApplication::processEvents();
    EXPECT_EQ(volte, 11);
}

} // namespace
