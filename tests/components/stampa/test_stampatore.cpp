// The print engine: StaAtt on every way out, one print at a time, stops, the
// preview driven page by page, prints to a queue of the fake catalogue, PDF
// printers with their automatic names, fixed-length prints to a raw queue.
#include "DoppiStampa.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/CatalogoFinto.h"
#include "components/stampa/ImpaginazioneLista.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/VbErrore.h"
#include "support/StampaQt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class StampatoreTest : public ::testing::Test {
public:
    void SetUp() override
    {
        auto c = std::make_unique<CatalogoFinto>();
        catalogo = c.get();
        Stampante laser{QStringLiteral("Laser"), QStringLiteral("socket://10.0.0.5:9100"),
                        QStringLiteral("HP LaserJet"), 9, false};
        catalogo->Aggiungi(laser,
                           {{7, QStringLiteral("Automatico"), QStringLiteral("auto"), {}},
                            {257, QStringLiteral("Cassetto 1"), QStringLiteral("tray-1"), {}}},
                           {{9, QStringLiteral("A4"), QStringLiteral("iso_a4_210x297mm"), QSizeF(210, 297)},
                            {11, QStringLiteral("A5"), QStringLiteral("iso_a5_148x210mm"), QSizeF(148, 210)}});
        catalogo->ImpostaPredefinita(QStringLiteral("Laser"));
        ImpostaCatalogo(std::move(c));
        motore.ogOpzSta(&opz);
        motore.ofrmVStampa(&vista);
        motore.ofrmStampaInCorso(&avanzamento);
        vista.motore = &motore;
        avanzamento.motore = &motore;
        Stampatore::ImpostaApriFile([this](const QUrl &u) {
            aperti << u.toLocalFile();
            return true;
        });
    }
    void TearDown() override
    {
        ImpostaCatalogo(nullptr);
        Stampatore::ImpostaApriFile({});
        RisposteProgrammate::Azzera();
    }
    EsitoStampa stampa(SorgenteRighe &s, const QString &tipo = QStringLiteral("V"), int orientamento = 1)
    {
        return motore.Stampa(s, tipo, orientamento, QFont(QStringLiteral("Arial"), 10),
                             [this](int v) { staAtt << v; });
    }
    int righePerPagina()
    {
        const QList<ColonnaStampa> visibili = {ColonneClienti()[0], ColonneClienti()[1], ColonneClienti()[2]};
        ImpaginazioneLista i(visibili, QFont(QStringLiteral("Arial"), 10),
                             QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                         QPageLayout::Millimeter),
                             {});
        return i.RighePerPagina();
    }

    CatalogoFinto *catalogo = nullptr;
    OpzStampa opz{QStringLiteral("StampaClienti")};
    Stampatore motore;
    VistaFinta vista;
    AvanzamentoFinto avanzamento;
    QList<int> staAtt;
    QStringList aperti;
    QTemporaryDir dir;
};

struct CasoFine {
    const char *descrizione;
    std::function<void(StampatoreTest &, OpzStampa &)> prepara;
    bool eseguita, interrotta, errore;
};

} // namespace

TEST_F(StampatoreTest, StaAttIsResetOnEveryWayOut)
{
    const QList<CasoFine> casi = {
        {"file written",
         [](StampatoreTest &t, OpzStampa &o) {
             o.oiStaVid(OpzStampa::UscitaFile);
             o.FileName(t.dir.filePath(QStringLiteral("a.csv")));
         },
         true, false, false},
        {"file in a missing folder",
         [](StampatoreTest &t, OpzStampa &o) {
             o.oiStaVid(OpzStampa::UscitaFile);
             o.FileName(t.dir.filePath(QStringLiteral("manca/a.csv")));
         },
         false, false, true},
        {"export stopped",
         [](StampatoreTest &t, OpzStampa &o) {
             o.oiStaVid(OpzStampa::UscitaFile);
             o.FileName(t.dir.filePath(QStringLiteral("b.csv")));
             t.avanzamento.fermaAlleRighe = 1000;
         },
         false, true, false},
        {"printer stopped at page 1",
         [](StampatoreTest &t, OpzStampa &o) {
             o.oiStaVid(OpzStampa::UscitaStampante);
             t.avanzamento.fermaAllaPagina = 1;
         },
         false, true, false},
        {"preview left with its exit button",
         [](StampatoreTest &t, OpzStampa &o) {
             o.oiStaVid(OpzStampa::UscitaVideo);
             t.vista.azione = [](VistaFinta &v) { v.Esci(); };
         },
         false, true, false},
        {"preview window closed",
         [](StampatoreTest &t, OpzStampa &o) {
             o.oiStaVid(OpzStampa::UscitaVideo);
             t.vista.azione = [](VistaFinta &v) { v.attivo = false; };
         },
         false, true, false},
        {"printer that refuses the job",
         [](StampatoreTest &t, OpzStampa &o) {
             o.oiStaVid(OpzStampa::UscitaStampante);
             t.catalogo->RifiutaLavori(QStringLiteral("Laser"));
         },
         false, false, true},
        {"unknown output kind",
         [](StampatoreTest &, OpzStampa &o) { o.oiStaVid(7); },
         false, false, true},
    };
    for (const CasoFine &c : casi) {
        SCOPED_TRACE(c.descrizione);
        OpzStampa o;
        avanzamento = AvanzamentoFinto{};
        avanzamento.motore = &motore;
        vista.azione = {};
        vista.attivo = true;
        catalogo->RifiutaLavori({});
        staAtt.clear();
        motore.ogOpzSta(&o);
        c.prepara(*this, o);
        SorgenteMemoria s = SorgenteClienti(3000);
        const EsitoStampa e = stampa(s);
        EXPECT_EQ(staAtt, (QList<int>{1, 0}));
        EXPECT_FALSE(motore.InStampa());
        EXPECT_EQ(e.eseguita, c.eseguita) << e.errore.toStdString();
        EXPECT_EQ(e.interrotta, c.interrotta);
        EXPECT_EQ(!e.errore.isEmpty(), c.errore) << e.errore.toStdString();
        EXPECT_FALSE(avanzamento.visibile) << "the progress window goes away";
    }
    // A stopped export leaves no file behind.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("b.csv"))));
    EXPECT_TRUE(catalogo->Lavori().isEmpty());
}

TEST_F(StampatoreTest, FailingSourceAndSecondPrint)
{
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileName(dir.filePath(QStringLiteral("c.csv")));
    SorgenteMemoria guasta(ColonneClienti(), 10, [](qint64 r, QList<CellaStampa> &) {
        if (r == 5)
            throw VbErrore(3021, QStringLiteral("Nessun record corrente."));
    });
    EsitoStampa e = stampa(guasta);
    EXPECT_EQ(staAtt, (QList<int>{1, 0}));
    EXPECT_EQ(e.errore, QStringLiteral("Errore(3021): Nessun record corrente."));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("c.csv"))));

    // A print asked for while one runs is refused; the first goes on.
    opz.oiStaVid(OpzStampa::UscitaStampante);
    EsitoStampa seconda;
    avanzamento.allaPagina = [&](int) {
        SorgenteMemoria altra = SorgenteClienti(5);
        seconda = motore.Stampa(altra, QStringLiteral("V"), 1, QFont());
    };
    staAtt.clear();
    SorgenteMemoria s = SorgenteClienti(10);
    e = stampa(s);
    EXPECT_TRUE(e.eseguita) << e.errore.toStdString();
    EXPECT_EQ(seconda.errore, QStringLiteral("Si può lanciare solo una stampa alla volta"));
    EXPECT_EQ(staAtt, (QList<int>{1, 0}));
}

TEST_F(StampatoreTest, PreviewDrawsPagesOnDemand)
{
    opz.oiStaVid(OpzStampa::UscitaVideo);
    opz.Fatt(0.5f);
    const int rpp = righePerPagina();
    SorgenteMemoria s = SorgenteClienti(2 * rpp + 1);
    qint64 letteAllaPrimaPagina = -1;
    vista.allaPagina = [&] {
        if (letteAllaPrimaPagina < 0)
            letteAllaPrimaPagina = s.RigheLette();
    };
    EsitoStampa e = stampa(s);
    EXPECT_TRUE(e.eseguita) << e.errore.toStdString();
    EXPECT_EQ(vista.pagine, (QList<int>{1, 2, 3}));
    EXPECT_EQ(vista.continua, 2) << "no wait after the last page";
    EXPECT_EQ(vista.messaggio, QStringLiteral("Stampa Terminata"));
    EXPECT_EQ(letteAllaPrimaPagina, rpp + 1) << "rows are read a page at a time";
    EXPECT_TRUE(vista.frecce[1] && vista.frecce[2] && vista.frecce[3] && vista.frecce[4]);
    // A4 at half size on the screen's density.
    EXPECT_NEAR(vista.tela.width() / double(vista.tela.height()), 210.0 / 297.0, 0.01);
    EXPECT_EQ(staAtt, (QList<int>{1, 0}));

    // Pages not kept: no way back; a range starting at page 2 shows page 2 alone.
    vista.pagine.clear();
    vista.continua = 0;
    opz.MemVid(0);
    opz.ImpostaParStampa(QStringLiteral("PaginaDa"), 2);
    opz.ImpostaParStampa(QStringLiteral("PaginaA"), 2);
    SorgenteMemoria s2 = SorgenteClienti(2 * rpp + 1);
    e = stampa(s2);
    EXPECT_TRUE(e.eseguita);
    EXPECT_EQ(vista.pagine, (QList<int>{2}));
    EXPECT_EQ(vista.continua, 0);
    EXPECT_FALSE(vista.frecce[1] || vista.frecce[2] || vista.frecce[4]);

    // A range past the end of the list says so.
    opz.ImpostaParStampa(QStringLiteral("PaginaDa"), 9);
    opz.ImpostaParStampa(QStringLiteral("PaginaA"), 0);
    SorgenteMemoria s3 = SorgenteClienti(rpp);
    e = stampa(s3);
    EXPECT_FALSE(e.eseguita);
    EXPECT_EQ(e.errore, QStringLiteral("Nessuna pagina nell'intervallo scelto (la stampa ha 1 pagine)."));
}

TEST_F(StampatoreTest, PrinterGetsAPdfOfTheRangeWithTrayAndPaper)
{
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.ImpostaParStampa(QStringLiteral("PaginaDa"), 2);
    opz.ImpostaParStampa(QStringLiteral("PaginaA"), 3);
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 257);
    opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 11);
    opz.ImpostaParStampa(QStringLiteral("MostraNumPag"), true);
    const int rpp = righePerPagina();
    SorgenteMemoria s = SorgenteClienti(20 * rpp, QStringLiteral("Elenco dei clienti"));
    const EsitoStampa e = stampa(s, QStringLiteral("V"), 2);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    EXPECT_EQ(e.pagine, 2);
    ASSERT_EQ(catalogo->Lavori().size(), 1);
    const CatalogoFinto::Lavoro &l = catalogo->Lavori().first();
    EXPECT_EQ(l.stampante, QStringLiteral("Laser"));
    EXPECT_EQ(l.opzioni.cassetto, 257);
    EXPECT_EQ(l.opzioni.carta, 11);
    EXPECT_EQ(l.opzioni.titolo, QStringLiteral("Elenco dei clienti"));
    EXPECT_FALSE(l.opzioni.grezzo);
    EXPECT_LT(s.RigheLette(), 6 * rpp) << "reading stops after the last page of the range";

    const QString pdf = dir.filePath(QStringLiteral("lavoro.pdf"));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(l.dati);
    f.close();
    QString dimensioni;
    EXPECT_EQ(PaginePdf(pdf, &dimensioni), 2);
    EXPECT_TRUE(dimensioni.startsWith(QStringLiteral("595 x 420 pts (A5)"))) << dimensioni.toStdString()
                                                                             << " (A5 landscape)";
    const QString testo = TestoPdf(pdf);
    EXPECT_TRUE(testo.contains(QStringLiteral("Elenco dei clienti")));
    EXPECT_TRUE(testo.contains(QStringLiteral("Ragione sociale")));
    // The rows fill more A5 pages than A4 ones: the count is the print's own.
    const QRegularExpressionMatch totale = QRegularExpression(QStringLiteral("Pag\\. 2 di (\\d+)")).match(testo);
    ASSERT_TRUE(totale.hasMatch()) << testo.toStdString();
    EXPECT_GT(totale.captured(1).toInt(), 20);
    EXPECT_TRUE(testo.contains(QStringLiteral("Pag. 3 di ") + totale.captured(1)));
    EXPECT_FALSE(testo.contains(QStringLiteral("Note"))) << "hidden columns stay out of a V print";
    EXPECT_EQ(opz.ParStampa(QStringLiteral("StampaCaption")).toString(), QStringLiteral("Elenco dei clienti"));

    // Forced portrait wins over the landscape asked.
    opz.ForzaVert(-1);
    opz.ImpostaParStampa(QStringLiteral("PaginaA"), 2);
    SorgenteMemoria s2 = SorgenteClienti(3 * rpp);
    ASSERT_TRUE(stampa(s2, QStringLiteral("T"), 2).eseguita);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(catalogo->Lavori().last().dati);
    f.close();
    EXPECT_EQ(PaginePdf(pdf, &dimensioni), 1);
    EXPECT_TRUE(dimensioni.startsWith(QStringLiteral("420 x 595 pts (A5)"))) << dimensioni.toStdString();
    EXPECT_TRUE(TestoPdf(pdf).contains(QStringLiteral("Note"))) << "a T print has every column";

    opz.osNomeStampante(QStringLiteral("Inesistente"));
    SorgenteMemoria s3 = SorgenteClienti(3);
    EXPECT_TRUE(stampa(s3).errore.startsWith(QStringLiteral("La stampante Inesistente non è installata.")));
    SorgenteMemoria vuota = SorgenteClienti(0);
    opz.osNomeStampante(QString());
    EXPECT_EQ(stampa(vuota).errore, QStringLiteral("Non ci sono righe da stampare."));
}

TEST_F(StampatoreTest, PdfPrinterWritesTheAutomaticNameOpensAndMails)
{
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("PDFCreator"));
    opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
    opz.ImpostaParStampa(QStringLiteral("PdfNomeFile"), dir.path() + QLatin1Char('/'));
    opz.ImpostaParStampa(QStringLiteral("PdfAutomImpPar"),
                         QVariantList{QString(), QString(), QStringLiteral("S"), QStringLiteral("S"),
                                      QStringLiteral("N")});
    SorgenteMemoria s = SorgenteClienti(10);
    EsitoStampa e = stampa(s);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    EXPECT_TRUE(e.file.startsWith(dir.filePath(QStringLiteral("Elenco_clienti_")))) << e.file.toStdString();
    EXPECT_EQ(PaginePdf(e.file), 1);
    EXPECT_EQ(aperti, QStringList{e.file});
    EXPECT_TRUE(catalogo->Lavori().isEmpty()) << "no queue is involved";

    // A second PDF in the same second does not overwrite the first.
    SorgenteMemoria s1 = SorgenteClienti(10);
    const EsitoStampa e1 = stampa(s1);
    EXPECT_NE(e1.file, e.file);

    // E-mail: without a sender the user is told the PDF was not sent;
    // a refused login is asked again once, then sent.
    opz.ImpostaParStampa(QStringLiteral("EmailInvia"), true);
    SorgenteMemoria s2 = SorgenteClienti(10);
    e = stampa(s2);
    EXPECT_TRUE(e.eseguita);
    EXPECT_TRUE(e.errore.contains(QStringLiteral("l'invio per email non è disponibile"))) << e.errore.toStdString();
    InvioFinto invio;
    invio.risposte = {InvioEmail::Esito::LoginRifiutato};
    motore.ImpostaInvioEmail(&invio);
    SorgenteMemoria s3 = SorgenteClienti(10);
    e = stampa(s3);
    EXPECT_TRUE(e.errore.isEmpty()) << e.errore.toStdString();
    EXPECT_EQ(invio.file, (QStringList{e.file, e.file}));
    EXPECT_EQ(avanzamento.richiesteEmail, 1);
    invio.risposte = {InvioEmail::Esito::LoginRifiutato, InvioEmail::Esito::LoginRifiutato};
    SorgenteMemoria s4 = SorgenteClienti(10);
    e = stampa(s4);
    EXPECT_TRUE(e.errore.contains(QStringLiteral("l'email non è stata inviata: login rifiutato dal server")));
    motore.ImpostaInvioEmail(nullptr);

    // Without the automatic name the user is asked; cancelling writes nothing.
    opz.ImpostaParStampa(QStringLiteral("EmailInvia"), false);
    opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), false);
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, QString());
    const int primaDi = QDir(dir.path()).entryList(QDir::Files).size();
    SorgenteMemoria s5 = SorgenteClienti(10);
    e = stampa(s5);
    EXPECT_TRUE(e.interrotta);
    EXPECT_FALSE(e.eseguita);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), primaDi);
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, dir.filePath(QStringLiteral("scelto")));
    SorgenteMemoria s6 = SorgenteClienti(10);
    e = stampa(s6);
    EXPECT_EQ(e.file, dir.filePath(QStringLiteral("scelto.pdf")));
    EXPECT_EQ(PaginePdf(e.file), 1);
}

TEST_F(StampatoreTest, FixedLengthGoesRawToTheQueueNamedByItsPort)
{
    opz.oiStaVid(OpzStampa::UscitaFissa);
    opz.FisStampante(-1);
    opz.FisFileName(QStringLiteral("socket://10.0.0.5:9100"));
    opz.FisUtilComp(-1);
    opz.FisCodIniComp(QStringLiteral("27,15"));
    opz.FisCodFinComp(QStringLiteral("18"));
    SorgenteMemoria s = SorgenteClienti(200);
    const EsitoStampa e = stampa(s);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    ASSERT_EQ(catalogo->Lavori().size(), 1);
    const CatalogoFinto::Lavoro &l = catalogo->Lavori().first();
    EXPECT_EQ(l.stampante, QStringLiteral("Laser"));
    EXPECT_TRUE(l.opzioni.grezzo);
    EXPECT_TRUE(l.dati.startsWith("\x1b\x0f"));
    EXPECT_TRUE(l.dati.endsWith("\f\x12"));
    EXPECT_EQ(l.dati.count('\f'), e.pagine);
    EXPECT_GT(e.pagine, 2);
    EXPECT_TRUE(l.dati.contains("C000200"));

    opz.FisFileName(QStringLiteral("socket://10.0.0.9:9100"));
    SorgenteMemoria s2 = SorgenteClienti(2);
    EXPECT_TRUE(stampa(s2).errore.startsWith(QStringLiteral("La stampante socket://10.0.0.9:9100 non è installata.")));

    // To a file, relative names go into the default folder.
    opz.FisStampante(0);
    opz.FisFileName(QStringLiteral("fissa.txt"));
    opz.PathDefault(dir.path());
    SorgenteMemoria s3 = SorgenteClienti(2);
    const EsitoStampa f = stampa(s3);
    EXPECT_EQ(f.file, dir.filePath(QStringLiteral("fissa.txt")));
    EXPECT_TRUE(QFile::exists(f.file));
}
