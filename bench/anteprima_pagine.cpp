// The print preview of the customer list on a large company (100,000
// customers): the first page, from the start of the print until it is
// painted, then paging forward through 50 pages (the engine draws each page,
// the preview saves the page it leaves), back to the first (each page read
// from its file) and forward again over the kept pages. Each page shown is
// timed until it is painted, beside drawing the same page (its rows read
// beforehand) bare into an image in the same run (ratio; target 2); the
// first page beside the bare work it needs: the first rows read and
// measured (as the engine measures before its first page), the page drawn. The
// process memory is sampled at each page: with the pages kept as files it
// stays flat however many are kept.
//
//   bench_anteprima_pagine [--db PATH] [--customers N] [--pages N]
#include "ListaBench.h"
#include "PaginaNuda.h"
#include "SupportoBench.h"
#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/lista/GestLista.h"
#include "components/stampa/ColonneStampa.h"
#include "components/stampa/ImpaginazioneLista.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "lists/frmClientiLis.h"
#include "printing/FrmVStampa.h"
#include "services/Globali.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

long rssKb(const char *campo = "VmRSS:")
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &riga : f.readAll().split('\n'))
        if (riga.startsWith(campo))
            return riga.mid(int(qstrlen(campo))).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The user: next page until the last one wanted, then back to the first and
// forward again over the kept pages, then out. Each page is timed from the
// click until it is painted.
class AnteprimaMisurata : public FrmVStampa
{
  public:
    int pagine = 50;
    std::vector<qint64> avanti, indietro, riletti;
    qint64 prima = -1; // the first page, from the start of the print
    std::vector<long> memoria;
    QElapsedTimer orologio;
    qint64 inizio = -1;

    void Continua() override
    {
        PicSec->repaint();
        if (prima < 0)
            prima = orologio.nsecsElapsed() - inizio;
        else
            avanti.push_back(orologio.nsecsElapsed() - inizio);
        memoria.push_back(rssKb());
        QTimer::singleShot(0, this, [this] { passo(); });
        FrmVStampa::Continua();
    }

  private:
    qint64 clic(int freccia)
    {
        const qint64 t = orologio.nsecsElapsed();
        imaMuovi_Click(freccia);
        PicSec->repaint();
        return orologio.nsecsElapsed() - t;
    }
    void passo()
    {
        if (int(avanti.size()) + 1 < pagine) {
            inizio = orologio.nsecsElapsed();
            imaMuovi_Click(3);
            return;
        }
        for (int i = 1; i < pagine; ++i) {
            indietro.push_back(clic(2));
            memoria.push_back(rssKb());
        }
        for (int i = 1; i < pagine; ++i) {
            riletti.push_back(clic(3));
            memoria.push_back(rssKb());
        }
        ComEsci_Click();
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    supporto_bench::Argomenti argomentiBench = supporto_bench::LeggiArgomenti(argc, argv, 100000);
    int pagine = 50;
    std::vector<char *> argomenti;
    for (size_t i = 0; i < argomentiBench.perBenchmark.size(); ++i) {
        char *a = argomentiBench.perBenchmark[i];
        if (qstrcmp(a, "--pages") == 0 && i + 1 < argomentiBench.perBenchmark.size())
            pagine = std::max(2, QByteArray(argomentiBench.perBenchmark[++i]).toInt());
        else
            argomenti.push_back(a);
    }
    int n = int(argomenti.size());
    QApplication app(n, argomenti.data());
    QTemporaryDir cartella;
    QString percorso = argomentiBench.db;
    if (percorso.isEmpty())
        percorso = supporto_bench::CreaDemo(cartella, argomentiBench.clienti);
    if (percorso.isEmpty())
        return 1;

    auto lista = supporto_bench::ApriListaClienti(percorso);
    GestLista *gestore = lista->ogComlin;
    std::printf("List of %d customers\n", gestore->RecordCount());
    std::fflush(stdout);

    // The print as the dialog wires it: the list's engine, the preview and
    // the options (landscape, scale 100 %, pages kept).
    Stampatore motore;
    OpzStampa opz;
    opz.oiStaVid(OpzStampa::UscitaVideo);
    opz.Fatt(1.0f);
    opz.MemVid(1);
    QPointer<AnteprimaMisurata> vista = new AnteprimaMisurata;
    vista->pagine = pagine;
    vista->resize(1200, 900);
    motore.ofrmVStampa(vista);
    motore.ogOpzSta(&opz);
    gestore->ogSta(&motore);
    const long primaKb = rssKb();
    vista->orologio.start();
    vista->inizio = 0;
    QFont font(QStringLiteral("Arial"), 10);
    gestore->AvviaStampa(QStringLiteral("T"), 2, font);
    // The preview closes itself once the print has stopped: its figures first.
    if (!vista) {
        std::fprintf(stderr, "the preview closed before the end of the print\n");
        return 1;
    }
    const std::vector<qint64> avanti = vista->avanti, indietro = vista->indietro, riletti = vista->riletti;
    const qint64 primaPagina = vista->prima;
    const std::vector<long> memoria = vista->memoria;
    QCoreApplication::processEvents();

    // The same page drawn bare: the first page's rows, laid out the same way.
    SorgenteRighe &righe = gestore->SorgenteStampa();
    const QList<ColonnaStampa> tutte = righe.ColonneStampa();
    const QList<int> indici = colonne_stampa::Scelte(tutte, QStringLiteral("T"));
    const ImpaginazioneLista impaginazione(
        colonne_stampa::Estrai(tutte, indici), font,
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                    QPageLayout::Millimeter),
        {QStringLiteral("Clienti"), righe.Didascalia(), QStringLiteral("01/01/2025 10:00")});
    // Rows of the same pages, read once (timed apart: the list's reading).
    std::vector<QList<QList<CellaStampa>>> pagineRighe(static_cast<size_t>(pagine));
    std::vector<qint64> lettura;
    QElapsedTimer t;
    t.start();
    righe.ApriRighe(indici);
    const qint64 aperturaRighe = t.nsecsElapsed();
    QList<CellaStampa> celle;
    for (auto &pagina : pagineRighe) {
        t.start();
        while (pagina.size() < impaginazione.RighePerPagina() && righe.RigaSuccessiva(celle))
            pagina << celle;
        lettura.push_back(t.nsecsElapsed());
    }
    righe.ChiudiRighe();
    // What the first page needs besides: the first rows measured, as the
    // engine measures them before its first page (their reading is that of
    // the pages they fill, timed above), bare with QFontMetricsF.
    const int daMisurare = PaginaNuda::RigheMisurate;
    qint64 letturaMisurate = 0;
    int misurate = 0;
    t.start();
    {
        QImage riferimento(1, 1, QImage::Format_RGB32);
        riferimento.setDotsPerMeterX(qRound(72 / 0.0254));
        riferimento.setDotsPerMeterY(qRound(72 / 0.0254));
        const QFontMetricsF fm(impaginazione.FontRighe(), &riferimento);
        QList<double> larghe(impaginazione.Posizioni().size(), 0.0);
        for (size_t p = 0; p < pagineRighe.size() && misurate < daMisurare; ++p)
            for (const QList<CellaStampa> &riga : pagineRighe[p]) {
                if (misurate >= daMisurare)
                    break;
                ++misurate;
                for (int c = 0; c < riga.size() && c < larghe.size(); ++c)
                    larghe[c] = qMax(larghe[c], fm.horizontalAdvance(riga[c].testo));
            }
        benchmark::DoNotOptimize(larghe.constData());
    }
    const qint64 misura = t.nsecsElapsed();
    for (size_t p = 0, righeLette = 0; p < pagineRighe.size() && righeLette < size_t(misurate); ++p) {
        letturaMisurate += lettura[p];
        righeLette += size_t(pagineRighe[p].size());
    }
    const double fattore = QGuiApplication::primaryScreen()->logicalDotsPerInch() / 72.0;
    const QSize pixel(qRound(impaginazione.Dimensioni().width() * fattore),
                      qRound(impaginazione.Dimensioni().height() * fattore));
    std::vector<qint64> nudo;
    for (int i = 0; i < pagine; ++i) {
        const QList<QList<CellaStampa>> &pagina = pagineRighe[size_t(i)];
        t.start();
        QImage tela(pixel, QImage::Format_RGB32);
        tela.fill(Qt::white);
        QPainter p(&tela);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(fattore, fattore);
        impaginazione.DisegnaPagina(p, i + 1, 0, pagina, int(pagina.size()));
        p.end();
        nudo.push_back(t.nsecsElapsed());
    }

    const double b = supporto_bench::Mediana(nudo);
    auto riga = [b](const char *cosa, const std::vector<qint64> &v) {
        const double m = supporto_bench::Mediana(v);
        std::printf("  %-58s %8.2f ms, bare page %6.2f ms, ratio %.2f (%zu pages)\n", cosa, m / 1000,
                    b / 1000, b > 0 ? m / b : 0.0, v.size());
    };
    std::printf("Median time per page shown, painted (target ratio 2 or less), page %dx%d px:\n",
                pixel.width(), pixel.height());
    const double primaNuda =
        double(aperturaRighe + std::max(letturaMisurate, lettura.front()) + misura + nudo.front()) / 1000;
    std::printf("  %-58s %8.2f ms, bare page %6.2f ms, ratio %.2f\n",
                "first page, from Stampa (rows read and measured, page drawn, painted)",
                double(primaPagina) / 1e6, primaNuda / 1000,
                primaNuda > 0 ? double(primaPagina) / 1000 / primaNuda : 0.0);
    std::printf(
        "    (its bare floor: the list's rows opened %.2f ms, the first %d rows read %.2f ms and measured "
        "%.2f ms, the page drawn %.2f ms)\n",
        double(aperturaRighe) / 1e6, misurate, double(std::max(letturaMisurate, lettura.front())) / 1e6,
        double(misura) / 1e6, double(nudo.front()) / 1e6);
    riga("forward, page drawn by the engine, the one left saved", avanti);
    riga("back, page read from its file", indietro);
    riga("forward again, page read from its file", riletti);
    std::printf("  (of the forward time, reading a page's rows from the list: %.2f ms)\n",
                supporto_bench::Mediana(lettura) / 1000);
    const auto [minimo, massimo] = std::minmax_element(memoria.begin(), memoria.end());
    std::printf("Memory (VmRSS): %ld KiB before the print; over %zu samples from the first page to the last "
                "move: min %ld KiB, max %ld KiB (growth %ld KiB); at pages 1/10/25/50: ",
                primaKb, memoria.size(), *minimo, *massimo, *massimo - memoria.front());
    for (size_t i : {size_t(0), size_t(9), size_t(24), size_t(pagine - 1)})
        if (i < memoria.size())
            std::printf("%ld ", memoria[i]);
    std::printf("KiB\nPeak RSS of the process (VmHWM): %ld KiB\n", rssKb("VmHWM:"));
    gestore->ogSta(nullptr);
    lista.reset();
    Globali::ImpostaDbComp(nullptr);
    return 0;
}
