// The printer catalogue and real prints on the test CUPS server: queues,
// ports, trays and papers as CUPS reports them; a print on the PDF queue
// becoming a PDF; a fixed-length print arriving byte for byte on the laser's
// socket; the tray and paper chosen reaching the printer's own language; a
// stopped queue, a held job and a queue refusing jobs told as such.
#include "DoppiStampa.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/CatalogoCups.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/StampaFissa.h"
#include "support/ServerCups.h"
#include "support/StampaQt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>

namespace
{

class CatalogoCupsTest : public ::testing::Test
{
  public:
    void SetUp() override
    {
        QString motivo;
        server = ServerCups::Istanza(&motivo);
        if (!server) {
            if (CupsObbligatorio())
                FAIL() << motivo.toStdString();
            GTEST_SKIP() << motivo.toStdString();
        }
        server->Attiva();
        ImpostaCatalogo(std::make_unique<CatalogoCups>());
        motore.ogOpzSta(&opz);
        motore.ofrmStampaInCorso(&avanzamento);
        avanzamento.motore = &motore;
    }
    void TearDown() override { ImpostaCatalogo(nullptr); }

    EsitoStampa stampa(SorgenteRighe &s)
    {
        return motore.Stampa(s, QStringLiteral("V"), 1, QFont(QStringLiteral("Arial"), 10));
    }
    int numeroCassetto(const QString &chiave)
    {
        for (const VoceCarta &v : Catalogo().Cassetti(server->codaGrezza))
            if (v.chiave == chiave)
                return v.numero;
        return -1;
    }

    ServerCups *server = nullptr;
    OpzStampa opz;
    Stampatore motore;
    AvanzamentoFinto avanzamento;
};

// A title no other print of the run has (the PDF file is named after it).
QString titoloUnico()
{
    return QStringLiteral("prova%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
}

} // namespace

TEST_F(CatalogoCupsTest, QueuesPortsTraysAndPapers)
{
    const Stampante laser = Catalogo().Cerca(server->codaGrezza);
    ASSERT_TRUE(laser.valida());
    EXPECT_TRUE(laser.Port.startsWith(QStringLiteral("socket://127.0.0.1:"))) << laser.Port.toStdString();
    EXPECT_EQ(laser.DriverName, QStringLiteral("HP LaserJet Series PCL 4/5"));
    EXPECT_EQ(laser.PaperSize, 9) << "A4 is the queue's own paper (CUPS' media-default)";
    const Stampante pdf = Catalogo().Cerca(server->codaPdf);
    EXPECT_EQ(pdf.Port, QStringLiteral("cups-pdf:/") + server->codaPdf);
    EXPECT_EQ(Catalogo().Predefinita(), server->codaPdf);
    EXPECT_TRUE(Catalogo().Cerca(QStringLiteral("pdfcreator")).Virtuale);
    EXPECT_EQ(Catalogo().CercaPerNomeOPorta(laser.Port).DeviceName, server->codaGrezza);

    // Trays: the Windows bins CUPS names, "tray-N" as 256 + N.
    QMap<int, QString> cassetti;
    for (const VoceCarta &v : Catalogo().Cassetti(server->codaGrezza))
        cassetti.insert(v.numero, v.chiave);
    EXPECT_EQ(cassetti.value(7), QStringLiteral("auto"));
    EXPECT_EQ(cassetti.value(4), QStringLiteral("manual"));
    EXPECT_EQ(cassetti.value(5), QStringLiteral("envelope"));
    EXPECT_EQ(cassetti.value(257), QStringLiteral("tray-1"));
    EXPECT_EQ(cassetti.value(260), QStringLiteral("tray-4"));
    EXPECT_EQ(cassetti.size(), 7);

    QMap<int, QString> carte;
    for (const VoceCarta &v : Catalogo().Carte(server->codaGrezza))
        carte.insert(v.numero, v.nome);
    EXPECT_EQ(carte.value(9), QStringLiteral("A4"));
    EXPECT_EQ(carte.value(11), QStringLiteral("A5"));
    EXPECT_EQ(carte.value(1), QStringLiteral("US Letter")) << "the queue's own name";
    EXPECT_EQ(carte.value(8), QStringLiteral("A3"));

    EXPECT_TRUE(Catalogo().Cassetti(QStringLiteral("nessuna")).isEmpty());
    QString errore;
    EXPECT_EQ(Catalogo().Invia(QStringLiteral("nessuna"), QStringLiteral("/dev/null"), {}, errore),
              EsitoInvio::Rifiutato);
    EXPECT_TRUE(errore.startsWith(QStringLiteral("La stampante nessuna non è installata.")))
        << errore.toStdString();
}

TEST_F(CatalogoCupsTest, PrintOnThePdfQueueBecomesAPdf)
{
    const QString titolo = titoloUnico();
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(server->codaPdf);
    opz.ImpostaParStampa(QStringLiteral("PaginaA"), 2);
    SorgenteMemoria s = SorgenteClienti(500, titolo);
    const EsitoStampa e = stampa(s);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    const QString file =
        ServerCups::AttendiFile(server->cartellaPdf, [&](const QString &f) { return f.startsWith(titolo); });
    ASSERT_FALSE(file.isEmpty()) << "no PDF for " << titolo.toStdString();
    // The queue writes the file while it converts: wait until it reads whole.
    int pagine = -1;
    for (int i = 0; i < 300 && pagine <= 0; ++i) {
        pagine = PaginePdf(file);
        if (pagine <= 0)
            QThread::msleep(100);
    }
    EXPECT_EQ(pagine, 2);
}

TEST_F(CatalogoCupsTest, FixedLengthArrivesByteForByteOnTheRawQueue)
{
    const QString titolo = titoloUnico();
    opz.oiStaVid(OpzStampa::UscitaFissa);
    opz.FisStampante(-1);
    opz.FisFileName(Catalogo().Cerca(server->codaGrezza).Port);
    opz.FisUtilComp(-1);
    opz.FisCodIniComp(QStringLiteral("27,15"));
    opz.FisCodFinComp(QStringLiteral("18"));
    SorgenteMemoria s = SorgenteClienti(150, titolo);
    const EsitoStampa e = stampa(s);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();

    // The same print made in memory is what the printer must receive.
    SorgenteMemoria copia = SorgenteClienti(150, titolo);
    const QList<ColonnaStampa> colonne = {ColonneClienti()[0], ColonneClienti()[1], ColonneClienti()[2]};
    StampaFissa attesa(opz, colonne, titolo);
    QString errore;
    ASSERT_TRUE(attesa.Apri(QString(), errore));
    attesa.ScriviIntestazione();
    copia.ApriRighe({0, 1, 2});
    QList<CellaStampa> celle;
    while (copia.RigaSuccessiva(celle))
        attesa.ScriviRiga(celle);
    ASSERT_TRUE(attesa.Chiudi(errore));

    const QString file = ServerCups::AttendiFile(server->cartellaGrezza, [&](const QString &f) {
        QFile q(server->cartellaGrezza + QLatin1Char('/') + f);
        return q.open(QIODevice::ReadOnly) && q.readAll().contains(titolo.toLatin1());
    });
    ASSERT_FALSE(file.isEmpty());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll() == attesa.Dati()) << "the raw queue must not touch the bytes";
}

TEST_F(CatalogoCupsTest, TrayAndPaperReachThePrinter)
{
    const QString titolo = titoloUnico();
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(server->codaGrezza);
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), numeroCassetto(QStringLiteral("tray-3")));
    opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 11);
    SorgenteMemoria s = SorgenteClienti(5, titolo);
    const QStringList prima = QDir(server->cartellaGrezza).entryList(QDir::Files);
    const EsitoStampa e = stampa(s);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    // The queue's driver turns the page into PCL: tray 3 is "ESC&l4H", A5 "ESC&l25A".
    const QString file = ServerCups::AttendiFile(server->cartellaGrezza, [&](const QString &f) {
        if (prima.contains(f))
            return false;
        QFile q(server->cartellaGrezza + QLatin1Char('/') + f);
        return q.open(QIODevice::ReadOnly) && q.read(64).startsWith("\x1b"
                                                                    "E");
    });
    ASSERT_FALSE(file.isEmpty());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray inizio = f.read(200);
    EXPECT_TRUE(inizio.contains("\x1b&l4H")) << "tray 3";
    EXPECT_TRUE(inizio.contains("\x1b&l25A")) << "A5 paper";
}

TEST_F(CatalogoCupsTest, SystemPrintDialogPrintsThroughQt)
{
    // The hidden double-click: the system's print dialog, then Qt's own
    // printing to the queue.
    const QString titolo = titoloUnico();
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(server->codaPdf);
    opz.DblClickStampaSu(true);
    RisposteProgrammate::Accoda(QStringLiteral("dialogoStampa"), false);
    SorgenteMemoria annullata = SorgenteClienti(5, titolo);
    EsitoStampa e = stampa(annullata);
    EXPECT_TRUE(e.interrotta);
    EXPECT_FALSE(e.eseguita);

    RisposteProgrammate::Accoda(QStringLiteral("dialogoStampa"), true);
    SorgenteMemoria s = SorgenteClienti(5, titolo);
    e = stampa(s);
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(QStringLiteral("dialogoStampa"))
                  .value(QStringLiteral("stampante")),
              server->codaPdf);
    const QString file =
        ServerCups::AttendiFile(server->cartellaPdf, [&](const QString &f) { return f.startsWith(titolo); });
    ASSERT_FALSE(file.isEmpty()) << "no PDF for " << titolo.toStdString();
    RisposteProgrammate::Azzera();
}

namespace
{

// Runs an administration command of the CUPS tools on the test server.
bool comandoCups(const ServerCups &s, const QString &comando, QStringList argomenti)
{
    argomenti.prepend(s.server);
    argomenti.prepend(QStringLiteral("-h"));
    return QProcess::execute(comando, argomenti) == 0;
}

// A laser queue of the test's own, on the laser queue's device: the test
// stops it, holds and refuses its jobs, which must not reach the tests that
// print on the shared queues meanwhile. Removed, jobs and all, at the end.
class CodaPropria
{
  public:
    explicit CodaPropria(const ServerCups &s)
        : m_s(s), nome(QStringLiteral("clienti-ferma-%1").arg(QCoreApplication::applicationPid()))
    {
        QProcess lpstat;
        lpstat.start(QStringLiteral("lpstat"),
                     {QStringLiteral("-h"), s.server, QStringLiteral("-v"), s.codaGrezza});
        lpstat.waitForFinished();
        // "device for clienti-laser: socket://127.0.0.1:PORT/?snmp=false"
        const QString riga = QString::fromUtf8(lpstat.readAllStandardOutput()).trimmed();
        const QString dispositivo = riga.mid(riga.indexOf(QStringLiteral(": ")) + 2);
        creata =
            riga.contains(QStringLiteral("socket://")) &&
            comandoCups(s, QStringLiteral("lpadmin"),
                        {QStringLiteral("-p"), nome, QStringLiteral("-E"), QStringLiteral("-v"), dispositivo,
                         QStringLiteral("-m"), QStringLiteral("drv:///sample.drv/laserjet.ppd"),
                         QStringLiteral("-o"), QStringLiteral("PageSize=A4")});
    }
    ~CodaPropria()
    {
        comandoCups(m_s, QStringLiteral("cancel"), {QStringLiteral("-a"), nome});
        comandoCups(m_s, QStringLiteral("lpadmin"), {QStringLiteral("-x"), nome});
    }

  private:
    const ServerCups &m_s;

  public:
    const QString nome;
    bool creata = false;
};

bool inglese(const QString &t)
{
    static const QRegularExpression parole(
        QStringLiteral("\\b(not accepting|Destination|printer|error|job)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    // The system's words are allowed only as the detail in brackets.
    const int dettaglio = t.indexOf(QStringLiteral(" (Dettaglio:"));
    return parole.match(dettaglio < 0 ? t : t.left(dettaglio)).hasMatch();
}

} // namespace

TEST_F(CatalogoCupsTest, StoppedQueueHeldJobAndRefusingQueueAreNeverAFinishedPrint)
{
    CodaPropria coda(*server);
    ASSERT_TRUE(coda.creata) << "a queue of the test's own on the laser queue's device";
    opz.oiStaVid(OpzStampa::UscitaFissa);
    opz.FisStampante(-1);
    opz.FisFileName(coda.nome);

    // A stopped printer keeps the job: the user is told it waits.
    ASSERT_TRUE(comandoCups(*server, QStringLiteral("cupsdisable"), {coda.nome}));
    SorgenteMemoria s = SorgenteClienti(20, titoloUnico());
    EsitoStampa e = stampa(s);
    EXPECT_FALSE(e.eseguita);
    EXPECT_TRUE(e.inAttesa);
    EXPECT_TRUE(e.errore.startsWith(QStringLiteral("La stampante %1 è ferma").arg(coda.nome)))
        << e.errore.toStdString();
    EXPECT_TRUE(e.errore.contains(QStringLiteral("resta in attesa nella coda"))) << e.errore.toStdString();
    EXPECT_FALSE(inglese(e.errore)) << e.errore.toStdString();

    // The same through the paged printer output (a PDF for the queue).
    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(coda.nome);
    SorgenteMemoria p = SorgenteClienti(5, titoloUnico());
    e = stampa(p);
    EXPECT_FALSE(e.eseguita);
    EXPECT_TRUE(e.inAttesa) << e.errore.toStdString();
    ASSERT_TRUE(comandoCups(*server, QStringLiteral("cancel"), {QStringLiteral("-a"), coda.nome}));
    ASSERT_TRUE(comandoCups(*server, QStringLiteral("cupsenable"), {coda.nome}));

    // A queue that holds every job: said as held, not printed.
    ASSERT_TRUE(comandoCups(*server, QStringLiteral("lpadmin"),
                            {QStringLiteral("-p"), coda.nome, QStringLiteral("-o"),
                             QStringLiteral("job-hold-until-default=indefinite")}));
    SorgenteMemoria h = SorgenteClienti(5, titoloUnico());
    e = stampa(h);
    EXPECT_FALSE(e.eseguita);
    EXPECT_TRUE(e.inAttesa);
    EXPECT_TRUE(e.errore.startsWith(QStringLiteral("La stampa è trattenuta nella coda")))
        << e.errore.toStdString();
    ASSERT_TRUE(comandoCups(*server, QStringLiteral("lpadmin"),
                            {QStringLiteral("-p"), coda.nome, QStringLiteral("-o"),
                             QStringLiteral("job-hold-until-default=no-hold")}));

    // A queue that refuses jobs: Italian first, CUPS' own words as the detail.
    ASSERT_TRUE(comandoCups(*server, QStringLiteral("cupsreject"), {coda.nome}));
    SorgenteMemoria r = SorgenteClienti(5, titoloUnico());
    e = stampa(r);
    EXPECT_FALSE(e.eseguita);
    EXPECT_FALSE(e.inAttesa);
    EXPECT_TRUE(e.errore.startsWith(QStringLiteral("La stampante %1 non accetta stampe").arg(coda.nome)))
        << e.errore.toStdString();
    EXPECT_FALSE(inglese(e.errore)) << e.errore.toStdString();
    ASSERT_TRUE(comandoCups(*server, QStringLiteral("cupsaccept"), {coda.nome}));

    // Running again: printed.
    SorgenteMemoria ok = SorgenteClienti(5, titoloUnico());
    e = stampa(ok);
    EXPECT_TRUE(e.eseguita) << e.errore.toStdString();
    EXPECT_FALSE(e.inAttesa);
}
