// Modal windows, scripted answers of dialogs, the file dialogs' sizes and
// dates, and one-shot timers.
#include "components/forms/DialogoFile.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/forms/UtilFinestre.h"

#include "support/StampaQt.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QLocale>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
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

// The program's file dialogs write the size and date of a file as the
// program's locale does (Italian after the start), not as the system's.
TEST_F(UtilFinestreTest, FileDialogsWriteSizesAndDatesInTheProgramsLocale)
{
    const QLocale prima;
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const auto ripristina = qScopeGuard([prima] { QLocale::setDefault(prima); });
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("clienti.xlsx"));
    {
        QFile f(percorso);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("PK");
    }
    const QDateTime quando(QDate(2026, 12, 8), QTime(13, 6));
    {
        QFile f(percorso);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(quando, QFileDevice::FileModificationTime));
    }
    QFileDialog dialogo(nullptr, QStringLiteral("Nome del file di stampa"), dir.path(),
                        QStringLiteral("Formato Excel (*.xlsx)"));
    UtilFinestre::PreparaDialogoFile(dialogo);
    EXPECT_TRUE(dialogo.testOption(QFileDialog::DontUseNativeDialog));
    ASSERT_TRUE(dialogo.proxyModel());
    auto *fs = qobject_cast<QFileSystemModel *>(dialogo.proxyModel()->sourceModel());
    ASSERT_TRUE(fs);
    QSignalSpy caricata(fs, &QFileSystemModel::directoryLoaded);
    dialogo.show();
    QModelIndex file = dialogo.proxyModel()->mapFromSource(fs->index(percorso));
    for (int i = 0; i < 100 && !file.isValid(); ++i) {
        caricata.wait(100);
        file = dialogo.proxyModel()->mapFromSource(fs->index(percorso));
    }
    ASSERT_TRUE(file.isValid());
    const auto testo = [&](int colonna) { return file.siblingAtColumn(colonna).data().toString(); };
    EXPECT_EQ(testo(0), QStringLiteral("clienti.xlsx"));
    EXPECT_EQ(testo(1), QStringLiteral("2 byte"));
    EXPECT_EQ(testo(3), QStringLiteral("08/12/26 13:06"));
    dialogo.close();
}

// Every column heading of a file dialog's detail view shows whole in
// Italian ("Dimensione" is wider than the sizes Qt sizes its column for).
TEST_F(UtilFinestreTest, FileDialogsShowEveryColumnHeadingWhole)
{
    QTranslator italiano;
    if (!italiano.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        GTEST_SKIP() << "Qt's Italian translations are not installed";
    QCoreApplication::installTranslator(&italiano);
    // Qt keeps the columns' widths a dialog closed with: this one starts from its own.
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    const auto togli = qScopeGuard([&] {
        QCoreApplication::removeTranslator(&italiano);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    });
    QFileDialog dialogo(nullptr, QStringLiteral("Nome del file di stampa"), dir.path());
    UtilFinestre::PreparaDialogoFile(dialogo);
    auto *vista = dialogo.findChild<QTreeView *>(QStringLiteral("treeView"));
    ASSERT_TRUE(vista);
    dialogo.setViewMode(QFileDialog::Detail);
    dialogo.show();
    QHeaderView *intestazione = vista->header();
    ASSERT_EQ(intestazione->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Dimensione"));
    const QFontMetrics fm(intestazione->font());
    for (int i = 0; i < intestazione->count(); ++i) {
        const QString testo = intestazione->model()->headerData(i, Qt::Horizontal).toString();
        SCOPED_TRACE(testo.toStdString());
        EXPECT_GE(intestazione->sectionSize(i), intestazione->sectionSizeHint(i));
        EXPECT_GT(intestazione->sectionSize(i), fm.horizontalAdvance(testo));
    }
    dialogo.close();
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
