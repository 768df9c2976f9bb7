// Sending a 200-page PDF list by e-mail to the local SMTP receiver, beside
// curl's command-line tool sending the same file as a MIME attachment in the
// same run (ratio; target 1.5). Uses the receiver of scripts/services
// (CLIENTI_SMTP_PORT) or starts scripts/ricevitore-smtp on a free port.
//   bench_invio_email [benchmark options]
#include "SupportoBench.h"
#include "components/stampa/InvioEmailSmtp.h"
#include "components/stampa/OpzStampa.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <cstdio>

namespace
{

std::map<std::string, double> g_tempi;
QString g_pdf;
int g_porta = 0;

// A list of 200 pages of 60 rows.
void scriviPdf(const QString &file)
{
    QPdfWriter w(file);
    w.setResolution(72);
    QPainter p(&w);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    for (int pagina = 0; pagina < 200; ++pagina) {
        if (pagina > 0)
            w.newPage();
        for (int r = 0; r < 60; ++r)
            p.drawText(20, 30 + r * 12,
                       QStringLiteral("C%1  Cliente numero %1 S.r.l.  Via Roma %2  Milano  IT%3")
                           .arg(pagina * 60 + r, 6, 10, QLatin1Char('0'))
                           .arg(r + 1)
                           .arg(10000000000LL + pagina * 60 + r));
    }
}

void BM_InvioEmail(benchmark::State &stato)
{
    OpzStampa opz;
    const std::pair<const char *, QVariant> chiavi[] = {
        {"EmailTipoInvio", QStringLiteral("S")},
        {"EmailServerSMTP", QStringLiteral("127.0.0.1")},
        {"EmailNumPorta", g_porta},
        {"EmailInd", QStringLiteral("vendite@ditta.it")},
        {"EmailTo", QStringLiteral("mario@cliente.it")},
        {"EmailOggetto", QStringLiteral("Elenco clienti")},
        {"EmailTesto", QStringLiteral("In allegato l'elenco.")}};
    for (const auto &[k, v] : chiavi)
        opz.ImpostaParStampa(QString::fromLatin1(k), v);
    InvioEmailSmtp invio;
    for (auto _ : stato) {
        QString errore;
        if (invio.Invia(opz, g_pdf, errore) != InvioEmail::Esito::Inviato)
            stato.SkipWithError(errore.toUtf8().constData());
    }
}

void BM_CurlRigaDiComando(benchmark::State &stato)
{
    const QStringList argomenti{
        QStringLiteral("-s"),          QStringLiteral("smtp://127.0.0.1:%1").arg(g_porta),
        QStringLiteral("--mail-from"), QStringLiteral("vendite@ditta.it"),
        QStringLiteral("--mail-rcpt"), QStringLiteral("mario@cliente.it"),
        QStringLiteral("-H"),          QStringLiteral("Subject: Elenco clienti"),
        QStringLiteral("-F"),          QStringLiteral("=In allegato l'elenco.;type=text/plain"),
        QStringLiteral("-F"),          QStringLiteral("=@%1;type=application/pdf;encoder=base64").arg(g_pdf)};
    for (auto _ : stato)
        if (QProcess::execute(QStringLiteral("curl"), argomenti) != 0)
            stato.SkipWithError("curl failed");
}

int portaLibera()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    supporto_bench::Argomenti argomenti = supporto_bench::LeggiArgomenti(argc, argv, 0);
    QTemporaryDir cartella;
    g_pdf = cartella.filePath(QStringLiteral("Elenco_clienti.pdf"));
    scriviPdf(g_pdf);
    std::fprintf(stderr, "PDF of 200 pages: %lld bytes\n", QFileInfo(g_pdf).size());

    QProcess ricevitore;
    g_porta = qEnvironmentVariableIntValue("CLIENTI_SMTP_PORT");
    if (g_porta <= 0) {
        g_porta = portaLibera();
        ricevitore.start(QStringLiteral("/usr/bin/python3"),
                         {QStringLiteral(CLIENTI_SORGENTI "/scripts/ricevitore-smtp"),
                          QString::number(g_porta), cartella.filePath(QStringLiteral("mail"))});
        bool pronto = false;
        for (int i = 0; i < 100 && !pronto; ++i) {
            QTcpSocket prova;
            prova.connectToHost(QHostAddress::LocalHost, quint16(g_porta));
            pronto = prova.waitForConnected(200);
            if (!pronto)
                QThread::msleep(100);
        }
        if (!pronto) {
            std::fprintf(stderr, "SMTP receiver not started\n");
            return 1;
        }
    }

    supporto_bench::Confronto(benchmark::RegisterBenchmark("InvioEmail", BM_InvioEmail), 7, 0.5);
    supporto_bench::Confronto(benchmark::RegisterBenchmark("CurlRigaDiComando", BM_CurlRigaDiComando), 7,
                              0.5);
    supporto_bench::InterleaviCasuale(argomenti.perBenchmark);
    int n = int(argomenti.perBenchmark.size());
    benchmark::Initialize(&n, argomenti.perBenchmark.data());
    supporto_bench::Registratore registratore(g_tempi);
    benchmark::RunSpecifiedBenchmarks(&registratore);
    if (ricevitore.state() != QProcess::NotRunning) {
        ricevitore.kill();
        ricevitore.waitForFinished();
    }
    const double base = g_tempi["CurlRigaDiComando"];
    if (base > 0)
        std::printf("\nSending a 200-page PDF: %.2fx curl's command-line tool (target 1.5)\n",
                    g_tempi["InvioEmail"] / base);
    return 0;
}
