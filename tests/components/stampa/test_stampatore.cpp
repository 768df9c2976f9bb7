// The print engine: StaAtt on every way out, one print at a time, stops, the
// preview driven page by page, prints to a queue of the fake catalogue, PDF
// printers with their automatic names, fixed-length prints to a raw queue.
#include "DoppiStampa.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/CatalogoFinto.h"
#include "components/stampa/ComponenteStampa.h"
#include "components/stampa/ImpaginazioneLista.h"
#include "components/stampa/MessaggiStampa.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/StatoStampa.h"
#include "components/util/VbErrore.h"
#include "support/SenzaPrivilegi.h"
#include "support/StampaQt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

namespace
{

// A source that notes StaAtt when the engine first asks it for its columns
// (the print has started) and, optionally, throws what no catch expects
// when its reading ends.
class SorgenteOsservata : public SorgenteRighe
{
  public:
    SorgenteOsservata(SorgenteRighe &s, QList<int> &staAtt) : m_s(s), m_staAtt(staAtt) {}
    QList<ColonnaStampa> ColonneStampa() override
    {
        m_staAtt << StatoStampa::StaAtt();
        return m_s.ColonneStampa();
    }
    bool ApriRighe(const QList<int> &c) override { return m_s.ApriRighe(c); }
    bool RigaSuccessiva(QList<CellaStampa> &celle) override { return m_s.RigaSuccessiva(celle); }
    int NumeroRighe() override { return m_s.NumeroRighe(); }
    void ChiudiRighe() override
    {
        m_s.ChiudiRighe();
        if (lancia)
            throw 42;
    }
    QString Didascalia() override { return m_s.Didascalia(); }
    bool lancia = false;

  private:
    SorgenteRighe &m_s;
    QList<int> &m_staAtt;
};

class StampatoreTest : public ::testing::Test
{
  public:
    void SetUp() override
    {
        auto c = std::make_unique<CatalogoFinto>();
        catalogo = c.get();
        Stampante laser{QStringLiteral("Laser"), QStringLiteral("socket://10.0.0.5:9100"),
                        QStringLiteral("HP LaserJet"), 9, false};
        catalogo->Aggiungi(
            laser,
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
    // StaAtt is noted as the print starts and after it has returned.
    EsitoStampa stampa(SorgenteRighe &s, const QString &tipo = QStringLiteral("V"), int orientamento = 1)
    {
        SorgenteOsservata osservata(s, staAtt);
        const EsitoStampa e =
            motore.Stampa(osservata, tipo, orientamento, QFont(QStringLiteral("Arial"), 10));
        staAtt << StatoStampa::StaAtt();
        return e;
    }
    int righePerPagina()
    {
        const QList<ColonnaStampa> visibili = {ColonneClienti()[0], ColonneClienti()[1], ColonneClienti()[2]};
        ImpaginazioneLista i(visibili, QFont(QStringLiteral("Arial"), 10),
                             QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter),
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
        {"unknown output kind", [](StampatoreTest &, OpzStampa &o) { o.oiStaVid(7); }, false, false, true},
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

// What no catch of the engine expects still leaves no print running.
TEST_F(StampatoreTest, APrintThatThrowsLeavesStaAttAtZero)
{
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileName(dir.filePath(QStringLiteral("d.csv")));
    SorgenteMemoria righe = SorgenteClienti(10);
    SorgenteOsservata s(righe, staAtt);
    s.lancia = true;
    EXPECT_THROW(motore.Stampa(s, QStringLiteral("V"), 1, QFont()), int);
    EXPECT_EQ(staAtt, QList<int>{1});
    EXPECT_EQ(StatoStampa::StaAtt(), 0);
    EXPECT_FALSE(motore.InStampa());
}

// A print of another engine started and ended while the first one waits
// (in its preview's event loop) does not clear the state of the first.
TEST_F(StampatoreTest, StaAttStaysOneUntilTheLastOfTwoPrintsEnds)
{
    opz.oiStaVid(OpzStampa::UscitaVideo);
    Stampatore altro;
    OpzStampa opzAltro;
    opzAltro.oiStaVid(OpzStampa::UscitaFile);
    opzAltro.FileName(dir.filePath(QStringLiteral("e.csv")));
    altro.ogOpzSta(&opzAltro);
    int dopoAltra = -1;
    vista.allaPagina = [&] {
        SorgenteMemoria s = SorgenteClienti(5);
        EXPECT_TRUE(altro.Stampa(s, QStringLiteral("V"), 1, QFont()).eseguita);
        dopoAltra = StatoStampa::StaAtt();
    };
    SorgenteMemoria s = SorgenteClienti(10);
    EXPECT_TRUE(stampa(s).eseguita);
    EXPECT_EQ(dopoAltra, 1);
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
    EXPECT_EQ(letteAllaPrimaPagina, 2 * rpp + 1) << "rows are read once: the first ones measured are printed";
    EXPECT_EQ(s.Aperture(), 1);
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

// Counts in the messages are grouped by thousands as an Italian reader
// writes them.
TEST_F(StampatoreTest, CountsInMessagesAreGroupedTheItalianWay)
{
    const int rpp = righePerPagina();
    const std::pair<std::function<QString()>, QString> casi[] = {
        {[] { return messaggi_stampa::FileScritto(QStringLiteral("/tmp/clienti.csv"), 1500); },
         QStringLiteral("(1.500 righe)")},
        {[&] {
             opz.ImpostaParStampa(QStringLiteral("PaginaDa"), 5000);
             opz.ImpostaParStampa(QStringLiteral("PaginaA"), 0);
             SorgenteMemoria lunga = SorgenteClienti(1000 * rpp + 1);
             return stampa(lunga).errore;
         },
         QStringLiteral("(la stampa ha 1.001 pagine)")},
    };
    for (const auto &[messaggio, atteso] : casi) {
        const QString m = messaggio();
        EXPECT_TRUE(m.contains(atteso)) << m.toStdString();
    }
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
    // The first rows are measured (256), the page numbers need every row
    // paged once (rows of names may wrap), then the range's pages are read.
    EXPECT_LT(s.RigheLette(), 256 + 20 * rpp + 6 * rpp)
        << "after counting the pages, reading stops after the last page of the range";

    const QString pdf = dir.filePath(QStringLiteral("lavoro.pdf"));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(l.dati);
    f.close();
    QString dimensioni;
    EXPECT_EQ(PaginePdf(pdf, &dimensioni), 2);
    EXPECT_TRUE(dimensioni.startsWith(QStringLiteral("595 x 420 pts (A5)")))
        << dimensioni.toStdString() << " (A5 landscape)";
    const QString testo = TestoPdf(pdf);
    EXPECT_TRUE(testo.contains(QStringLiteral("Elenco dei clienti")));
    EXPECT_TRUE(testo.contains(QStringLiteral("Ragione sociale")));
    // The rows fill more A5 pages than A4 ones: the count is the print's own.
    const QRegularExpressionMatch totale =
        QRegularExpression(QStringLiteral("Pag\\. 2 di (\\d+)")).match(testo);
    ASSERT_TRUE(totale.hasMatch()) << testo.toStdString();
    EXPECT_GT(totale.captured(1).toInt(), 20);
    EXPECT_TRUE(testo.contains(QStringLiteral("Pag. 3 di ") + totale.captured(1)));
    EXPECT_FALSE(testo.contains(QStringLiteral("Note"))) << "hidden columns stay out of a V print";
    EXPECT_EQ(opz.ParStampa(QStringLiteral("StampaCaption")).toString(),
              QStringLiteral("Elenco dei clienti"));

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
    opz.ImpostaParStampa(
        QStringLiteral("PdfAutomImpPar"),
        QVariantList{QString(), QString(), QStringLiteral("S"), QStringLiteral("S"), QStringLiteral("N")});
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
    EXPECT_TRUE(e.errore.contains(QStringLiteral("l'invio per email non è disponibile")))
        << e.errore.toStdString();
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
    // (The server's code alone could be part of the PDF's time-stamped name.)
    EXPECT_FALSE(e.errore.contains(QStringLiteral("Authentication credentials")))
        << "the server's words are the detail";
    EXPECT_EQ(e.dettaglio, QStringLiteral("535 5.7.8 Authentication credentials invalid"));
    // The lists' and grids' shared run hands the detail on after the
    // sentence, where the message box keeps it behind its button.
    invio.risposte = {InvioEmail::Esito::LoginRifiutato, InvioEmail::Esito::LoginRifiutato};
    SorgenteMemoria s4x = SorgenteClienti(10);
    bool inStampa = false;
    const QString detto = EseguiStampa(&motore, s4x, inStampa, QStringLiteral("V"), 1, QFont());
    EXPECT_TRUE(detto.endsWith(QStringLiteral("\nDettaglio: 535 5.7.8 Authentication credentials invalid")))
        << detto.toStdString();
    // Login data not stored are asked for like a refused login.
    invio.risposte = {InvioEmail::Esito::DatiMancanti};
    const int richiestePrima = avanzamento.richiesteEmail;
    SorgenteMemoria s4b = SorgenteClienti(10);
    e = stampa(s4b);
    EXPECT_TRUE(e.errore.isEmpty()) << e.errore.toStdString();
    EXPECT_EQ(avanzamento.richiesteEmail, richiestePrima + 1);
    // Handed to the mail program is not sent; a stop during the send keeps the PDF.
    invio.risposte = {InvioEmail::Esito::Consegnato};
    SorgenteMemoria s4c = SorgenteClienti(10);
    e = stampa(s4c);
    EXPECT_TRUE(e.errore.contains(QStringLiteral("consegnato al programma di posta")))
        << e.errore.toStdString();
    invio.durante = [&] { motore.Interrompi(1); };
    SorgenteMemoria s4d = SorgenteClienti(10);
    e = stampa(s4d);
    invio.durante = {};
    EXPECT_TRUE(e.eseguita);
    EXPECT_TRUE(QFileInfo::exists(e.file));
    EXPECT_TRUE(e.errore.contains(QStringLiteral("l'invio per email è stato interrotto")))
        << e.errore.toStdString();
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
    EXPECT_TRUE(stampa(s2).errore.startsWith(
        QStringLiteral("La stampante socket://10.0.0.9:9100 non è installata.")));

    // To a file, relative names go into the default folder.
    opz.FisStampante(0);
    opz.FisFileName(QStringLiteral("fissa.txt"));
    opz.PathDefault(dir.path());
    SorgenteMemoria s3 = SorgenteClienti(2);
    const EsitoStampa f = stampa(s3);
    EXPECT_EQ(f.file, dir.filePath(QStringLiteral("fissa.txt")));
    EXPECT_TRUE(QFile::exists(f.file));
}

namespace
{

// What the system says in English about files, which must at most appear
// as the detail in brackets.
bool parolaDiSistema(const QString &t)
{
    static const QRegularExpression parole(
        QStringLiteral("No such file|Read-only|Permission denied|Usually|not writable|Error creating"),
        QRegularExpression::CaseInsensitiveOption);
    const int dettaglio = t.indexOf(QStringLiteral(" (Dettaglio:"));
    return parole.match(dettaglio < 0 ? t : t.left(dettaglio)).hasMatch();
}

} // namespace

TEST_F(StampatoreTest, StoppedPrinterIsNotAFinishedPrint)
{
    catalogo->FermaStampante(QStringLiteral("Laser"));
    opz.oiStaVid(OpzStampa::UscitaStampante);
    SorgenteMemoria s = SorgenteClienti(10);
    EsitoStampa e = stampa(s);
    EXPECT_FALSE(e.eseguita);
    EXPECT_TRUE(e.inAttesa);
    EXPECT_TRUE(e.errore.startsWith(QStringLiteral("La stampante Laser è ferma"))) << e.errore.toStdString();

    opz.oiStaVid(OpzStampa::UscitaFissa);
    opz.FisStampante(-1);
    opz.FisFileName(QStringLiteral("Laser"));
    SorgenteMemoria f = SorgenteClienti(10);
    e = stampa(f);
    EXPECT_FALSE(e.eseguita);
    EXPECT_TRUE(e.inAttesa);
}

TEST_F(StampatoreTest, UnwritableFoldersAreNamedInItalian)
{
    const QString manca = dir.filePath(QStringLiteral("manca"));
    const QString chiusa = dir.filePath(QStringLiteral("chiusa"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("chiusa")));
    ASSERT_TRUE(QFile::setPermissions(chiusa, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    struct Uscita {
        const char *nome;
        std::function<void(OpzStampa &, const QString &cartella)> prepara;
    };
    const QList<Uscita> uscite = {
        {"separated text",
         [](OpzStampa &o, const QString &c) {
             o.oiStaVid(OpzStampa::UscitaFile);
             o.FileName(c + QStringLiteral("/a.csv"));
         }},
        {"workbook",
         [](OpzStampa &o, const QString &c) {
             o.oiStaVid(OpzStampa::UscitaFile);
             o.FileForm(OpzStampa::FormatoExcel);
             o.FileName(c + QStringLiteral("/a.xlsx"));
         }},
        {"fixed length",
         [](OpzStampa &o, const QString &c) {
             o.oiStaVid(OpzStampa::UscitaFissa);
             o.FisFileName(c + QStringLiteral("/a.txt"));
         }},
        {"PDF asked for",
         [](OpzStampa &o, const QString &c) {
             o.oiStaVid(OpzStampa::UscitaStampante);
             o.osNomeStampante(QStringLiteral("PDFCreator"));
             RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, c + QStringLiteral("/a.pdf"));
         }},
        {"automatic PDF",
         [](OpzStampa &o, const QString &c) {
             o.oiStaVid(OpzStampa::UscitaStampante);
             o.osNomeStampante(QStringLiteral("PDFCreator"));
             o.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
             o.ImpostaParStampa(QStringLiteral("PdfNomeFile"), c + QLatin1Char('/'));
         }},
    };
    SenzaPrivilegi senzaRoot;
    for (const Uscita &u : uscite) {
        SCOPED_TRACE(u.nome);
        for (const QString &cartella : {manca, chiusa}) {
            OpzStampa o;
            motore.ogOpzSta(&o);
            u.prepara(o, cartella);
            SorgenteMemoria s = SorgenteClienti(5);
            const EsitoStampa e = stampa(s);
            EXPECT_FALSE(e.eseguita);
            EXPECT_TRUE(e.errore.contains(cartella)) << e.errore.toStdString();
            EXPECT_TRUE(e.errore.contains(cartella == manca ? QStringLiteral("non esiste")
                                                            : QStringLiteral("Non si hanno i permessi")))
                << e.errore.toStdString();
            EXPECT_FALSE(parolaDiSistema(e.errore)) << e.errore.toStdString();
        }
    }
    EXPECT_TRUE(QDir(chiusa).isEmpty());
}

TEST_F(StampatoreTest, MissingPdfFolderIsRefusedNotTakenForAFile)
{
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(QStringLiteral("PDFCreator"));
    opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
    for (const QString &nome : {QStringLiteral("Stampe"), QStringLiteral("Stampe/")}) {
        opz.ImpostaParStampa(QStringLiteral("PdfNomeFile"), dir.filePath(nome));
        SorgenteMemoria s = SorgenteClienti(5);
        const EsitoStampa e = stampa(s);
        EXPECT_FALSE(e.eseguita);
        const QString cartella = dir.filePath(QStringLiteral("Stampe"));
        EXPECT_TRUE(e.errore.startsWith(QStringLiteral("La cartella dei pdf %1").arg(cartella)))
            << e.errore.toStdString();
    }
    // A file name ending in .pdf in a missing folder names that folder.
    opz.ImpostaParStampa(QStringLiteral("PdfNomeFile"), dir.filePath(QStringLiteral("manca/elenco.pdf")));
    SorgenteMemoria s = SorgenteClienti(5);
    EXPECT_TRUE(
        stampa(s).errore.contains(dir.filePath(QStringLiteral("manca")) + QStringLiteral(" non esiste")));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "nothing written anywhere";

    // Once the folder is there, the PDF goes into it.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Stampe")));
    opz.ImpostaParStampa(QStringLiteral("PdfNomeFile"), dir.filePath(QStringLiteral("Stampe")));
    SorgenteMemoria ok = SorgenteClienti(5);
    const EsitoStampa e = stampa(ok);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    EXPECT_TRUE(e.file.startsWith(dir.filePath(QStringLiteral("Stampe/Elenco_clienti_"))))
        << e.file.toStdString();
}

TEST_F(StampatoreTest, FixedLengthSaysHowManyCellsOverflowed)
{
    opz.oiStaVid(OpzStampa::UscitaFissa);
    opz.FisFileName(dir.filePath(QStringLiteral("fissa.txt")));
    // Codes of 7 characters and amounts in a column of 5 on a line of 13:
    // every other amount is wider than its column.
    opz.FisColonne(13);
    const QList<ColonnaStampa> colonne = {{QStringLiteral("Codice"), 1000, Qt::AlignLeft, true, false},
                                          {QStringLiteral("Saldo"), 720, Qt::AlignRight, true, true}};
    SorgenteMemoria s(colonne, 100, [](qint64 r, QList<CellaStampa> &c) {
        const QString codice = QStringLiteral("C%1").arg(r + 1, 6, 10, QLatin1Char('0'));
        const double saldo = r % 2 ? 1.0 : 12345.0;
        c = {{codice, codice}, {r % 2 ? QStringLiteral("1,00") : QStringLiteral("12.345,00"), saldo}};
    });
    const EsitoStampa e = stampa(s);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    EXPECT_EQ(e.celleFuoriMisura, 50);
    EXPECT_TRUE(e.errore.contains(QStringLiteral("in 50 celle il valore non entrava")))
        << e.errore.toStdString();
    QFile f(e.file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    EXPECT_TRUE(b.contains("C000001 #####\r\n")) << b.toStdString();
    EXPECT_TRUE(b.contains("C000100  1,00\r\n")) << b.toStdString();
    EXPECT_FALSE(b.contains("12.34")) << "never a shorter number";
}

namespace
{

// A source that tells its columns' declared sizes, as a database list does.
class SorgenteDichiarata : public SorgenteMemoria
{
  public:
    using SorgenteMemoria::SorgenteMemoria;
    bool LimitiColonne(const QList<int> &colonne, QList<LimiteColonna> &limiti) override
    {
        limiti = QList<LimiteColonna>(colonne.size());
        for (LimiteColonna &l : limiti)
            l.caratteri = 7;
        return true;
    }
};

} // namespace

// The columns are laid out from the first rows (and the declared sizes of a
// source that tells them, as a database list does; rows held in memory tell
// none), the rows read once; a code far down the list, wider than its
// declaration and than every row read before, is on paper whole, clear of
// its neighbour.
TEST_F(StampatoreTest, ACodeWiderThanItsColumnFarDownIsPrintedWhole)
{
    const QString lungo = QStringLiteral("C0123456789012345678901234567");
    auto righe = [&lungo](qint64 r, QList<CellaStampa> &c) {
        c.resize(4);
        const QString codice = r == 1500 ? lungo : QStringLiteral("C%1").arg(r + 1, 6, 10, QLatin1Char('0'));
        c[0] = {codice, codice};
        c[1] = {QStringLiteral("Rossi"), QStringLiteral("Rossi")};
        c[2] = {QStringLiteral("1,00"), 1.0};
        c[3] = {QStringLiteral("nota"), QStringLiteral("nota")};
    };
    SorgenteDichiarata dichiarata(ColonneClienti(), 2000, righe);
    SorgenteMemoria inMemoria(ColonneClienti(), 2000, righe);
    for (SorgenteMemoria *s : {static_cast<SorgenteMemoria *>(&dichiarata), &inMemoria}) {
        SCOPED_TRACE(s == &inMemoria ? "rows in memory" : "declared sizes");
        opz.oiStaVid(OpzStampa::UscitaStampante);
        opz.osNomeStampante(QStringLiteral("PDFCreator"));
        opz.ImpostaParStampa(QStringLiteral("PdfAutomAbil"), true);
        opz.ImpostaParStampa(QStringLiteral("PdfNomeFile"), dir.path() + QLatin1Char('/'));
        const EsitoStampa e = motore.Stampa(*s, QStringLiteral("V"), 1, QFont(QStringLiteral("Arial"), 10));
        ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
        EXPECT_EQ(s->Aperture(), 1) << "the rows measured are the ones printed";
        const QString testo = TestoPdf(e.file);
        EXPECT_TRUE(QRegularExpression(lungo + QStringLiteral(" +Rossi")).match(testo).hasMatch())
            << testo.mid(testo.indexOf(lungo.left(6)) - 200, 400).toStdString();
        QFile::remove(e.file);
    }
}

// The first preview page of a million rows held in memory reads the rows it
// measures and the page's, not the million.
TEST_F(StampatoreTest, FirstPreviewPageOfRowsInMemoryReadsOnlyTheFirstRows)
{
    opz.oiStaVid(OpzStampa::UscitaVideo);
    SorgenteMemoria s(ColonneClienti(), 1000000, [](qint64 r, QList<CellaStampa> &c) {
        c.resize(4);
        const QString codice = QString::number(r);
        for (CellaStampa &cella : c)
            cella = {codice, codice};
    });
    qint64 lette = -1;
    vista.allaPagina = [&] {
        if (lette < 0)
            lette = s.RigheLette();
    };
    vista.azione = [](VistaFinta &v) { v.Esci(); }; // the user leaves at the first page
    stampa(s);
    EXPECT_GT(lette, 0);
    EXPECT_LE(lette, 256 + righePerPagina() + 1);
}

// The user stops the preview while the first rows of a source that tells no
// limits are measured: the print ends there, stopped, with nothing shown.
TEST_F(StampatoreTest, StopWhileMeasuringEndsThePrint)
{
    qint64 lette = 0;
    SorgenteMemoria s(ColonneClienti(), 1000000, [&](qint64 r, QList<CellaStampa> &c) {
        if (++lette == 100)
            motore.Interrompi(1);
        c.resize(4);
        const QString codice = QString::number(r);
        for (CellaStampa &cella : c)
            cella = {codice, codice};
    });
    opz.oiStaVid(OpzStampa::UscitaVideo);
    const EsitoStampa e = stampa(s);
    EXPECT_TRUE(e.interrotta);
    EXPECT_FALSE(e.eseguita);
    EXPECT_TRUE(e.errore.isEmpty()) << e.errore.toStdString();
    EXPECT_EQ(e.pagine, 0);
    EXPECT_FALSE(vista.mostrata);
    EXPECT_LT(lette, 5000) << "reading stopped soon after the stop";
}
