// The print preview over the real engine and a many-page list: page files
// written when a page is left and read back when going back, none when pages
// are not kept, none left after closing, names of their own; the page range;
// the exit button and the refused close while printing; the layout figures
// and the message of a page too tall.
#include "SupportoFinestreStampa.h"

#include "components/stampa/DoppiStampa.h"
#include "components/stampa/OpzStampa.h"
#include "printing/FrmVStampa.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

namespace
{

// A preview whose user acts each time the engine waits for them.
class AnteprimaProva : public FrmVStampa
{
  public:
    // Called with the page just drawn; must end with a next page or exit.
    std::function<void(AnteprimaProva &, int)> utente;
    int attese = 0;
    void Continua() override
    {
        ++attese;
        const int pagina = ogStampa()->UltimaPagina();
        QTimer::singleShot(0, this, [this, pagina] {
            if (utente)
                utente(*this, pagina);
            else
                imaMuovi_Click(3);
        });
        FrmVStampa::Continua();
    }
    QString Pagina() const { return labPage->text(); }
    // The page files of this preview in its folder.
    QStringList File() const
    {
        const QFileInfo base(NomeBasePagine());
        return base.dir().entryList({base.fileName() + QStringLiteral(".*")}, QDir::Files, QDir::Name);
    }
};

using Anteprima = BancoAnteprima<AnteprimaProva>;

} // namespace

TEST_F(Anteprima, PagesLeftAreSavedAndReadBackAndGoneAfterClosing)
{
    QStringList passi;
    QStringList fileAllaTerza;
    vista->utente = [&](AnteprimaProva &v, int pagina) {
        if (pagina == 3 && passi.isEmpty()) {
            v.imaMuovi_Click(2); // back to 2: page 3 saved once
            passi << v.Pagina();
            v.imaMuovi_Click(2);
            passi << v.Pagina();
            v.imaMuovi_Click(2); // not before page 1
            passi << v.Pagina();
            fileAllaTerza = v.File();
            EXPECT_EQ(motore.UltimaPaginaSalvata(), 3);
            v.imaMuovi_Click(4); // last drawn
            passi << v.Pagina();
            v.imaMuovi_Click(1);
            passi << v.Pagina();
            v.imaMuovi_Click(3); // 2 from its file
            v.imaMuovi_Click(3); // 3 from its file
            passi << v.Pagina();
            EXPECT_EQ(v.File().size(), 3);
        }
        v.imaMuovi_Click(3);
    };
    const EsitoStampa esito = Stampa();
    EXPECT_TRUE(esito.eseguita) << esito.errore.toStdString();
    const int ultima = esito.pagine;
    ASSERT_GT(ultima, 4);
    EXPECT_EQ(passi, (QStringList{"Pag.002", "Pag.001", "Pag.001", "Pag.003", "Pag.001", "Pag.003"}));
    const QString base = QFileInfo(vista->NomeBasePagine()).fileName();
    EXPECT_EQ(fileAllaTerza, (QStringList{base + ".001", base + ".002", base + ".003"}));
    EXPECT_EQ(vista->LabMsg->text(), QStringLiteral("Stampa Terminata"));
    EXPECT_EQ(Globali::StaAtt, 0);

    // After the end: next on the newest page stays there, back reads files.
    vista->imaMuovi_Click(3);
    EXPECT_EQ(vista->Pagina(), QStringLiteral("Pag.") + FrmVStampa::TestoPagina(ultima));
    vista->imaMuovi_Click(2);
    EXPECT_EQ(motore.UltimaPaginaSalvata(), ultima);
    EXPECT_EQ(vista->File().size(), ultima);
    EXPECT_FALSE(vista->Tela().isNull());

    const QString cartella = QFileInfo(vista->NomeBasePagine()).path();
    vista->close();
    Attendi();
    EXPECT_FALSE(vista);
    EXPECT_TRUE(QDir(cartella).entryList({base + QStringLiteral("*")}, QDir::Files).isEmpty());
    EXPECT_EQ(motore.Interrompi(), 1);
    EXPECT_TRUE(MsgBox().isEmpty()) << MsgBox().join('|').toStdString();
}

TEST_F(Anteprima, PagesNotKeptWriteNoFileAndOnlyGoForward)
{
    opz.MemVid(0);
    QStringList passi;
    vista->utente = [&](AnteprimaProva &v, int pagina) {
        if (pagina == 2) {
            for (int freccia : {1, 2, 4}) {
                v.imaMuovi_Click(freccia);
                passi << v.Pagina();
            }
            EXPECT_TRUE(v.File().isEmpty());
        }
        v.imaMuovi_Click(3);
    };
    const EsitoStampa esito = Stampa();
    EXPECT_TRUE(esito.eseguita);
    EXPECT_EQ(passi, (QStringList{"Pag.002", "Pag.002", "Pag.002"}));
    EXPECT_TRUE(vista->File().isEmpty());
    EXPECT_FALSE(vista->imaMuovi(2)->isEnabled());
}

TEST_F(Anteprima, PageRangeStartIsTheFirstPage)
{
    opz.ImpostaParStampa(QStringLiteral("PaginaDa"), 5);
    QStringList passi;
    vista->utente = [&](AnteprimaProva &v, int pagina) {
        if (pagina == 7) {
            v.imaMuovi_Click(2);
            v.imaMuovi_Click(2);
            v.imaMuovi_Click(2);
            passi << v.Pagina();
            v.imaMuovi_Click(4);
            v.imaMuovi_Click(1);
            passi << v.Pagina();
            v.ComEsci_Click();
            return;
        }
        v.imaMuovi_Click(3);
    };
    Stampa(1000);
    EXPECT_EQ(vista->PaginaDa(), 5);
    EXPECT_EQ(passi, (QStringList{"Pag.005", "Pag.005"}));
}

// Each page drawn is labelled with its own number, the first of a range too.
TEST_F(Anteprima, ThePageShownIsLabelledWithItsNumber)
{
    const struct Caso {
        int da, a;
        const char *primaAttesa; // the label when the engine first waits ("" none)
        const char *fine;        // the label at the end
    } casi[] = {
        {5, 5, "", "Pag.005"},
        {3, 4, "Pag.003", "Pag.004"},
        {0, 2, "Pag.001", "Pag.002"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.fine);
        opz.ImpostaParStampa(QStringLiteral("PaginaDa"), c.da);
        opz.ImpostaParStampa(QStringLiteral("PaginaA"), c.a);
        QStringList attese;
        vista->utente = [&](AnteprimaProva &v, int) {
            attese << v.Pagina();
            v.imaMuovi_Click(3);
        };
        const EsitoStampa esito = Stampa(1000);
        ASSERT_TRUE(esito.eseguita) << esito.errore.toStdString();
        ASSERT_TRUE(vista);
        EXPECT_EQ(attese.value(0), QString::fromUtf8(c.primaAttesa));
        EXPECT_EQ(vista->Pagina(), QString::fromUtf8(c.fine));
    }
}

TEST_F(Anteprima, ExitWhilePrintingStopsThePrintAndThenCloses)
{
    bool apertaDopoEsci = false;
    vista->utente = [&](AnteprimaProva &v, int pagina) {
        if (pagina < 2) {
            v.imaMuovi_Click(3);
            return;
        }
        // The close box is refused while the print runs.
        v.close();
        EXPECT_TRUE(v.isVisible());
        EXPECT_EQ(MsgBox(), QStringList{QStringLiteral("Non si puo' uscire\nStampa ancora attiva")});
        EXPECT_EQ(Mostrati(MessaggiStampa::TipoMsgBox, QStringLiteral("titolo")),
                  QStringList{QStringLiteral("Visualizzazione Stampe")});
        v.ComEsci_Click();
        apertaDopoEsci = v.obAttivo() && Globali::StaAtt == 1;
    };
    vista->Mostra();
    const EsitoStampa esito = Stampa();
    EXPECT_TRUE(esito.interrotta);
    EXPECT_TRUE(apertaDopoEsci);
    EXPECT_EQ(motore.Interrompi(), 2);
    EXPECT_TRUE(motore.ChiusuraRichiesta());
    EXPECT_EQ(vista->attese, 2);
    // Once the print has stopped the window goes.
    Attendi();
    EXPECT_FALSE(vista);
}

TEST_F(Anteprima, EachPreviewHasItsOwnPageFiles)
{
    // Two previews of the same engine, in the same folder and minute.
    Stampa();
    QPointer<AnteprimaProva> altra = new AnteprimaProva;
    motore.ofrmVStampa(altra);
    Stampa();
    EXPECT_TRUE(vista->AttendiSalvataggi());
    EXPECT_TRUE(altra->AttendiSalvataggi());
    ASSERT_GT(vista->File().size(), 1);
    ASSERT_EQ(altra->File().size(), vista->File().size());
    EXPECT_EQ(QFileInfo(vista->NomeBasePagine()).path(), QFileInfo(altra->NomeBasePagine()).path());
    EXPECT_NE(vista->NomeBasePagine(), altra->NomeBasePagine());
    const QStringList restano = vista->File();
    altra->close();
    Attendi();
    EXPECT_FALSE(altra);
    EXPECT_EQ(vista->File(), restano);
    EXPECT_TRUE(restano.first().endsWith(QStringLiteral(".001")));
}

TEST_F(Anteprima, AMissingPageFileIsReportedAndTheShownPageStays)
{
    const EsitoStampa esito = Stampa();
    ASSERT_GT(esito.pagine, 2);
    vista->imaMuovi_Click(2);
    const int mostrata = motore.PaginaCorrente();
    ASSERT_TRUE(QFile::remove(vista->FilePagina(mostrata - 1)));
    vista->imaMuovi_Click(2);
    ASSERT_EQ(MsgBox().size(), 1);
    EXPECT_TRUE(MsgBox()[0].startsWith(QStringLiteral("Errore Impossibile leggere il file ")))
        << MsgBox()[0].toStdString();
    EXPECT_TRUE(MsgBox()[0].endsWith(QStringLiteral(" in gestione pagine a video ( 53)")));
    EXPECT_FALSE(vista->Tela().isNull());
    // A file that is not a page is refused the same way.
    QFile f(vista->FilePagina(mostrata - 1));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a page");
    f.close();
    EXPECT_TRUE(FrmVStampa::LeggiFilePagina(f.fileName()).isNull());
}

TEST(AnteprimaNomi, PageNumbersHaveAtLeastThreeDigits)
{
    EXPECT_EQ(FrmVStampa::TestoPagina(1), QStringLiteral("001"));
    EXPECT_EQ(FrmVStampa::TestoPagina(7), QStringLiteral("007"));
    EXPECT_EQ(FrmVStampa::TestoPagina(1000), QStringLiteral("1000"));
}

TEST(AnteprimaLayout, AreaBarsRangesAndSteps)
{
    // Window 9000 x 7000 twips, bar 495, bars 255 thick.
    auto misure = [](double cw, double ch) {
        MisureAnteprima m;
        m.larghezza = 9000;
        m.altezza = 7000;
        m.barra = 495;
        m.telaL = cw;
        m.telaA = ch;
        m.spessoreV = m.spessoreH = 255;
        return CalcolaLayoutAnteprima(m);
    };
    LayoutAnteprima r = misure(9000, 6505); // exactly the area
    EXPECT_FALSE(r.barraV || r.barraH);
    EXPECT_EQ(r.area, QRectF(0, 495, 9000, 6505));

    r = misure(9500, 6400); // wider, then taller than the reduced area
    EXPECT_TRUE(r.barraH);
    EXPECT_TRUE(r.barraV);
    EXPECT_EQ(r.area, QRectF(0, 495, 9000, 6250));
    EXPECT_EQ(r.rettH, QRectF(0, 6745, 9000, 255));
    EXPECT_EQ(r.maxH, 600);
    EXPECT_EQ(r.maxV, 250);
    EXPECT_EQ(r.minimo, -100);

    r = misure(9500, 6000); // wider only
    EXPECT_TRUE(r.barraH);
    EXPECT_FALSE(r.barraV);
    EXPECT_EQ(r.grandeH, 51);
    EXPECT_EQ(r.piccoloH, 6);

    r = misure(5000, 6505 + 5000); // taller by 5000
    EXPECT_TRUE(r.barraV);
    EXPECT_EQ(r.area.width(), 9000 - 255);
    EXPECT_EQ(r.grandeV, 501);
    EXPECT_EQ(r.piccoloV, 51);
    EXPECT_FALSE(r.troppoAlta);

    r = misure(5000, 40000 + 6505);
    EXPECT_TRUE(r.troppoAlta);

    MisureAnteprima piccola;
    piccola.larghezza = 3000;
    piccola.altezza = 300;
    piccola.barra = 495;
    EXPECT_EQ(CalcolaLayoutAnteprima(piccola).area.height(), 0);
}

TEST_F(Anteprima, PageTooTallIsToldOnceForEachSize)
{
    vista->show();
    vista->resize(600, 400);
    vista->Tela() = QImage(500, 40000 / 15 + 400, QImage::Format_RGB32);
    vista->Tela().fill(Qt::white);
    vista->TelaDisegnata();
    EXPECT_EQ(MsgBox(),
              QStringList{QStringLiteral("La lunghezza del foglio può essere al massimo di 32.666 mmm. (vedi "
                                         "parametri stampante selezionata)")});
    EXPECT_EQ(Mostrati(MessaggiStampa::TipoMsgBox, QStringLiteral("titolo")).value(0),
              QStringLiteral("Stampa a video"));
    EXPECT_FALSE(vista->vscPosVert->isHidden());
    vista->SistControlli();
    EXPECT_EQ(MsgBox().size(), 1);
    vista->resize(600, 380);
    EXPECT_EQ(MsgBox().size(), 2);

    // A page that fits sits at the corner with no bars.
    vista->Tela() = QImage(100, 100, QImage::Format_RGB32);
    vista->TelaDisegnata();
    EXPECT_TRUE(vista->vscPosVert->isHidden());
    EXPECT_TRUE(vista->hscPosOri->isHidden());
    EXPECT_EQ(vista->PicSec->pos(), QPoint(0, 0));
}

TEST_F(Anteprima, GoingBackShowsEachPageAsItWasDrawnAndClosingRemovesTheFiles)
{
    std::vector<QImage> disegnate, rilette;
    vista->utente = [&](AnteprimaProva &v, int pagina) {
        if (pagina == int(disegnate.size()) + 1)
            disegnate.push_back(v.Tela().copy());
        if (pagina == 4 && rilette.empty()) {
            for (int i = 0; i < 3; ++i)
                v.imaMuovi_Click(2);
            for (int i = 0; i < 4; ++i) {
                rilette.push_back(v.Tela().copy());
                if (i < 3)
                    v.imaMuovi_Click(3);
            }
        }
        v.imaMuovi_Click(3);
    };
    const EsitoStampa esito = Stampa();
    ASSERT_GT(esito.pagine, 4);
    ASSERT_EQ(rilette.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(rilette[i].isNull()) << i;
        EXPECT_TRUE(rilette[i] == disegnate[i]) << "page " << i + 1;
    }
    const QFileInfo base(vista->NomeBasePagine());
    EXPECT_GE(vista->File().size(), 4);
    vista->close();
    Attendi();
    EXPECT_FALSE(vista);
    EXPECT_TRUE(base.dir().entryList({base.fileName() + QStringLiteral(".*")}, QDir::Files).isEmpty());
}
