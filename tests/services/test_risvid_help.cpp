// Screen scaling, help pages and the acoustic signal.
#include "components/forms/CodiciTasto.h"
#include "components/forms/RisposteProgrammate.h"
#include "services/FormComune.h"
#include "services/Globali.h"
#include "services/RisVid.h"
#include "services/Segnali.h"
#include "services/Tasti.h"
#include "services/modHTMLHelp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace CT = CodiciTasto;

namespace
{

class Finestra : public QWidget, public FormComune
{
  public:
    QLineEdit *campo;
    QLabel *fisso;
    QLabel *immagine;
    Finestra()
    {
        QFont f = font();
        f.setPointSizeF(10);
        setFont(f);
        auto *l = new QVBoxLayout(this);
        campo = new QLineEdit(this);
        fisso = new QLabel("fisso", this);
        fisso->setFixedSize(100, 20);
        immagine = new QLabel(this);
        immagine->setFixedSize(200, 50);
        l->addWidget(campo);
        l->addWidget(fisso);
        l->addWidget(immagine);
        resize(400, 300);
    }
    QWidget *finestra() override { return this; }
};

struct RipristinaGlobali {
    ~RipristinaGlobali()
    {
        Globali::RisVidGenerale = Globali::RisVidPersBase = Globali::RisVidMsgCom = Globali::RisVidStaVid = 0;
        Globali::BeepCome.clear();
        ImpostaSuono({});
        ImpostaApriHelp({});
        ImpostaCartellaHelp({});
    }
};

} // namespace

TEST(RisVid, FattoreConRipieghi)
{
    RipristinaGlobali r;
    struct Caso {
        double generale, staVid;
        double atteso;
    };
    for (const Caso &c : {Caso{0, -2, 1}, Caso{1.25, -2, 1.25}, Caso{1.25, 0, 1.25}, Caso{1.25, 1.5, 1.5},
                          Caso{-1, -2, 1}, Caso{0, 0.8, 0.8}}) {
        Globali::RisVidGenerale = c.generale;
        Globali::RisVidStaVid = c.staVid;
        EXPECT_DOUBLE_EQ(FattoreRisVid("StaVid"), c.atteso) << c.generale << " " << c.staVid;
    }
}

TEST(RisVid, ScalaFontEDimensioniSenzaAccumulare)
{
    RipristinaGlobali r;
    Finestra f;
    f.osRisVidKey = "PersBase";
    Globali::RisVidPersBase = 1.5;
    EXPECT_DOUBLE_EQ(AdattaRisVideo(&f, {}, 0, {{f.immagine, -1, -1}}).toDouble(), 1.5);
    EXPECT_DOUBLE_EQ(f.font().pointSizeF(), 15);
    EXPECT_DOUBLE_EQ(f.campo->font().pointSizeF(), 15);
    EXPECT_EQ(f.fisso->size(), QSize(150, 30));
    EXPECT_EQ(f.immagine->size(), QSize(200, 50));
    EXPECT_DOUBLE_EQ(f.immagine->font().pointSizeF(), 10);
    EXPECT_DOUBLE_EQ(f.odRisVidVal, 1.5);
    // The same factor again changes nothing; a new one is relative to the old.
    AdattaRisVideo(&f, {}, 0);
    EXPECT_DOUBLE_EQ(f.font().pointSizeF(), 15);
    AdattaRisVideo(&f, {}, 1.0);
    EXPECT_DOUBLE_EQ(f.font().pointSizeF(), 10);
    EXPECT_EQ(f.fisso->size(), QSize(100, 20));
}

// Factors out of range are held to it; an enlarging factor stops where the
// window still fits the screen, whose usable part keeps the whole window.
TEST(RisVid, FattoriLimitatiEFinestraSulloSchermo)
{
    RipristinaGlobali r;
    struct Caso {
        double generale, atteso;
    };
    for (const Caso &c :
         {Caso{1000, FattoreRisVidMassimo}, Caso{0.01, FattoreRisVidMinimo}, Caso{1.2, 1.2}}) {
        Globali::RisVidGenerale = c.generale;
        EXPECT_DOUBLE_EQ(FattoreRisVid("Generale"), c.atteso) << c.generale;
    }

    Finestra f;
    const QRect area = AreaSchermo(&f);
    f.resize(area.width() * 3 / 4, area.height() * 3 / 4);
    const double applicato = AdattaRisVideo(&f, {}, 1000).toDouble();
    EXPECT_GT(applicato, 1.0);
    EXPECT_LT(applicato, 4.0 / 3.0);
    EXPECT_LE(f.width(), area.width());
    EXPECT_LE(f.height(), area.height());

    // A smaller factor is never raised, and a window out of the screen comes back in it.
    Finestra g;
    g.resize(400, 300);
    EXPECT_DOUBLE_EQ(AdattaRisVideo(&g, {}, 0.8).toDouble(), 0.8);
    g.move(area.right() + 200, area.bottom() + 200);
    g.show();
    TieniSulloSchermo(&g);
    EXPECT_TRUE(area.contains(g.frameGeometry())) << g.frameGeometry().x() << "," << g.frameGeometry().y();
    g.resize(area.width() + 500, area.height() + 500);
    TieniSulloSchermo(&g);
    EXPECT_TRUE(area.contains(g.frameGeometry()));
}

TEST(Help, PagineEApertura)
{
    RipristinaGlobali r;
    QTemporaryDir dir;
    for (const char *pagina : {"clienti.html", "indice.html"})
        QFile(dir.filePath(pagina)).open(QIODevice::WriteOnly);
    ImpostaCartellaHelp(dir.path());
    QList<QUrl> aperti;
    ImpostaApriHelp([&](const QUrl &u) {
        aperti << u;
        return true;
    });
    EXPECT_EQ(PaginaHelp(520).fileName(), "clienti.html");
    EXPECT_EQ(PaginaHelp(520).fragment(), "contabilita");
    EXPECT_EQ(PaginaHelp(12345).fileName(), "indice.html");

    QWidget w;
    w.setProperty("HelpContextID", 500);
    auto *pagina = new QWidget(&w);
    pagina->setProperty("HelpContextID", 525);
    auto *campo = new QLineEdit(pagina);
    auto *altro = new QLineEdit(&w);
    EXPECT_EQ(ContestoHelp(campo), 525);
    EXPECT_EQ(ContestoHelp(altro), 500);

    w.show();
    campo->setFocus();
    QApplication::setActiveWindow(&w);
    int tasto = CT::F1, shift = 0;
    EXPECT_TRUE(GestisciTastoHelp(tasto, shift, &w));
    EXPECT_EQ(tasto, 0);
    tasto = CT::F1;
    shift = CT::MaskShift;
    GestisciTastoHelp(tasto, shift, &w);
    tasto = CT::F2;
    shift = 0;
    EXPECT_FALSE(GestisciTastoHelp(tasto, shift, &w));
    EXPECT_EQ(tasto, CT::F2);
    ASSERT_EQ(aperti.size(), 2);
    EXPECT_EQ(aperti[0].fragment(), "fatturazione");
    EXPECT_EQ(aperti[1].fileName(), "indice.html");
}

// The "H" switch names the help: its folder, a page in it, or an older help
// file's name whose folder of the same name holds the pages. A page that is
// not there is said, never handed to the browser.
TEST(Help, LaGuidaIndicataConH)
{
    RipristinaGlobali r;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("clienti");
    QFile(dir.filePath("clienti/indice.html")).open(QIODevice::WriteOnly);
    const QString cartella = dir.filePath("clienti");
    for (const QString &h : {cartella, cartella + "/indice.html", dir.filePath("clienti.chm")}) {
        Globali::NomeFileHelp = h;
        EXPECT_EQ(CartellaHelp(), cartella) << h.toStdString();
    }
    QList<QUrl> aperti;
    ImpostaApriHelp([&](const QUrl &u) {
        aperti << u;
        return true;
    });
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    EXPECT_TRUE(HelpSommario());
    EXPECT_FALSE(HelpContesto(520));
    EXPECT_EQ(aperti.size(), 1);
    EXPECT_TRUE(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom)
                    .value("testo")
                    .toString()
                    .startsWith("Pagina della guida non trovata"));
    RisposteProgrammate::Azzera();
    Globali::NomeFileHelp.clear();
}

TEST(Help, LePagineDelProgrammaEsistono)
{
    // Found whatever folder the program was started from.
    const QString prima = QDir::currentPath();
    QTemporaryDir altrove;
    for (const QString &cartella : {prima, altrove.path()}) {
        ASSERT_TRUE(QDir::setCurrent(cartella));
        for (int id : {500, 505, 529, 600, 88, 700, 0}) {
            const QUrl u = PaginaHelp(id);
            EXPECT_TRUE(QFile::exists(u.toLocalFile())) << u.toString().toStdString();
        }
    }
    QDir::setCurrent(prima);
}

TEST(Segnali, ComeDiceBeepCome)
{
    RipristinaGlobali r;
    QStringList suonati;
    ImpostaSuono([&](const QString &f) { suonati << (f.isEmpty() ? QString("beep") : f); });
    QTemporaryDir dir;
    const QString wav = dir.filePath("avviso.wav");
    QFile(wav).open(QIODevice::WriteOnly);
    struct Caso {
        QString come, atteso;
    };
    for (const Caso &c : {Caso{"", "beep"}, Caso{"S", "beep"}, Caso{"N", ""}, Caso{"0", ""}, Caso{wav, wav},
                          Caso{dir.filePath("manca.wav"), "beep"}}) {
        Globali::BeepCome = c.come;
        EXPECT_EQ(SegnaleAcustico(), c.atteso) << c.come.toStdString();
    }
    EXPECT_EQ(suonati, (QStringList{"beep", "beep", wav, "beep"}));
}
