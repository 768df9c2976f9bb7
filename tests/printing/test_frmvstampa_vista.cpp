// The print preview as the user sees it once a print has ended: the arrows
// following the page shown, disabled arrows that can still be seen, the
// mouse wheel over the page, and a page file that cannot be removed.
#include "SupportoFinestreStampa.h"
#include "support/SenzaPrivilegi.h"

#include "components/stampa/DoppiStampa.h"
#include "components/stampa/OpzStampa.h"
#include "printing/FrmVStampa.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

namespace
{

// A preview whose user asks for the next page each time the engine waits.
class AnteprimaAvanti : public FrmVStampa
{
  public:
    void Continua() override
    {
        QTimer::singleShot(0, this, [this] { imaMuovi_Click(3); });
        FrmVStampa::Continua();
    }
};

class AnteprimaVista : public BancoAnteprima<AnteprimaAvanti>
{
  protected:
    QString Frecce() const
    {
        QString r;
        for (int i = 1; i <= 4; ++i)
            r += vista->imaMuovi(i)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return r;
    }
};

// Pixels of `a` farther than `soglia` from `b` in some channel.
int diversi(const QImage &a, const QImage &b, int soglia)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            n += std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                           std::abs(p.blue() - q.blue())}) > soglia;
        }
    return n;
}

} // namespace

TEST_F(AnteprimaVista, ArrowsFollowThePageShownAfterTheEnd)
{
    const EsitoStampa esito = Stampa();
    ASSERT_TRUE(esito.eseguita) << esito.errore.toStdString();
    ASSERT_GT(esito.pagine, 3);
    ASSERT_EQ(vista->LabMsg->text(), QStringLiteral("Stampa Terminata"));
    // first, previous, next, last
    EXPECT_EQ(Frecce(), QStringLiteral("1100")) << "on the last page";
    const struct {
        int freccia;
        int pagina;
        const char *frecce;
    } passi[] = {
        {1, 1, "0011"}, {3, 2, "1111"}, {2, 1, "0011"}, {4, esito.pagine, "1100"}, {3, esito.pagine, "1100"},
    };
    for (const auto &p : passi) {
        vista->imaMuovi_Click(p.freccia);
        EXPECT_EQ(motore.PaginaCorrente(), p.pagina) << "arrow " << p.freccia;
        EXPECT_EQ(Frecce(), QLatin1String(p.frecce)) << "arrow " << p.freccia << " to page " << p.pagina;
    }
    EXPECT_TRUE(MsgBox().isEmpty()) << MsgBox().join('|').toStdString();
}

TEST_F(AnteprimaVista, DisabledArrowsStayVisibleAndDifferFromEnabledOnes)
{
    vista->resize(800, 300);
    vista->show();
    QToolButton *freccia = vista->imaMuovi(3);
    freccia->setEnabled(true);
    vista->SistImgFrecce();
    const QImage abilitata =
        vista->PicTasti->grab(freccia->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    freccia->setEnabled(false);
    vista->SistImgFrecce();
    const QImage disabilitata =
        vista->PicTasti->grab(freccia->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(abilitata.size(), disabilitata.size());
    QImage sfondo(disabilitata.size(), QImage::Format_RGB32);
    sfondo.fill(vista->PicTasti->palette().color(QPalette::Window));
    // The greyed arrow stands out from the grey bar, and does not look like
    // the enabled one.
    EXPECT_GT(diversi(disabilitata, sfondo, 60), 40);
    EXPECT_GT(diversi(disabilitata, abilitata, 60), 40);
}

TEST_F(AnteprimaVista, TheMouseWheelScrollsThePage)
{
    vista->resize(600, 400);
    vista->show();
    vista->Tela() = QImage(500, 2000, QImage::Format_RGB32);
    vista->Tela().fill(Qt::white);
    vista->TelaDisegnata();
    ASSERT_FALSE(vista->vscPosVert->isHidden());
    ASSERT_EQ(vista->vscPosVert->value(), 0);
    auto rotella = [&](QPoint angolo) {
        const QPointF dove(50, 50);
        QWheelEvent ev(dove, vista->PicSec->mapToGlobal(dove), QPoint(), angolo, Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(vista->PicSec, &ev);
    };
    rotella(QPoint(0, -120)); // one notch down
    const int giu = vista->vscPosVert->value();
    EXPECT_EQ(giu, QApplication::wheelScrollLines() * 20 * 15);
    EXPECT_EQ(vista->PicSec->y(), -giu / 15);
    rotella(QPoint(0, 120));
    EXPECT_EQ(vista->vscPosVert->value(), 0);
    rotella(QPoint(0, 120 * 50)); // no farther than the bar goes
    EXPECT_EQ(vista->vscPosVert->value(), vista->vscPosVert->minimum());
}

TEST_F(AnteprimaVista, APageFileThatCannotBeRemovedIsToldAtClose)
{
    const EsitoStampa esito = Stampa(100);
    ASSERT_GT(esito.pagine, 1);
    vista->imaMuovi_Click(2); // the last page is written too
    ASSERT_TRUE(vista->AttendiSalvataggi());
    const QString cartella = QFileInfo(vista->NomeBasePagine()).path();
    const QString base = vista->NomeBasePagine();
    const QString pagina = vista->FilePagina(1);
    ASSERT_TRUE(QFile::exists(pagina));
    const QFile::Permissions prima = QFile::permissions(cartella);
    ASSERT_TRUE(QFile::setPermissions(cartella, QFile::ReadOwner | QFile::ExeOwner));
    {
        SenzaPrivilegi senza;
        vista->close();
    }
    QFile::setPermissions(cartella, prima);
    Attendi();
    EXPECT_FALSE(vista) << "the window closes all the same";
    ASSERT_EQ(MsgBox().size(), 1);
    const QString testo = MsgBox().first();
    EXPECT_TRUE(testo.startsWith(QStringLiteral("Errore Impossibile cancellare il file ")))
        << testo.toStdString();
    EXPECT_TRUE(testo.endsWith(QStringLiteral(" in chiusura stampa a video ( 75)"))) << testo.toStdString();
    const QString dettagli = Mostrati(MessaggiStampa::TipoMsgBox, QStringLiteral("dettagli")).value(0);
    EXPECT_TRUE(dettagli.contains(QDir::toNativeSeparators(pagina))) << dettagli.toStdString();
    EXPECT_EQ(motore.Interrompi(), 1);
    EXPECT_EQ(motore.ofrmVStampa(), nullptr);
    for (int p = 1; p <= esito.pagine; ++p)
        QFile::remove(base + QLatin1Char('.') + FrmVStampa::TestoPagina(p));
}
