// Print engine, paged outputs: the printer (a PDF handed to the queue with the
// tray and paper chosen, or the system print dialog), the PDF printers the
// engine renders itself, and the preview drawn page by page.
#include "components/forms/RisposteProgrammate.h"
#include "components/forms/UtilFinestre.h"
#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/ImpaginazioneLista.h"
#include "components/stampa/InvioEmailSmtp.h"
#include "components/stampa/LavoroStampa.h"
#include "components/stampa/MessaggiStampa.h"
#include "components/stampa/MisuraColonne.h"
#include "components/stampa/NomePdf.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "components/util/FormatoVb.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRandomGenerator>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

// Rows of one page at a time, as many as the page's lines hold (a row of
// wrapped texts takes more than one), with the first row of the next page
// already read, so that the last page is known as such when it is drawn. The
// first rows may be read ahead, to measure the columns from them before the
// first page; the pages then start with them. The row lists are reused from
// page to page.
class LettorePagine
{
  public:
    explicit LettorePagine(SorgenteRighe &sorgente) : m_s(sorgente) {}

    void Impagina(const ImpaginazioneLista &impaginazione) { m_impaginazione = &impaginazione; }
    // Starts reading (once: the rows read ahead stay); false when there is
    // no row.
    bool Apri(const QList<int> &indici)
    {
        if (!m_aperto) {
            m_aperto = true;
            m_altre = m_s.ApriRighe(indici) && m_s.RigaSuccessiva(m_prossima);
        }
        return Altre();
    }
    // Forgets what was read: the next Apri reads from the first row again.
    void Ricomincia()
    {
        m_aperto = m_altre = false;
        m_avanti.clear();
        m_testa = 0;
    }
    // The first rows, up to `quante`, read ahead of the pages.
    const QList<QList<CellaStampa>> &Anticipa(int quante)
    {
        while (m_avanti.size() < quante && m_altre) {
            m_avanti.append(std::move(m_prossima));
            m_prossima = QList<CellaStampa>();
            m_altre = m_s.RigaSuccessiva(m_prossima);
        }
        return m_avanti;
    }
    // The next page's rows into `righe`; answers how many (0: no more rows).
    int Pagina(QList<QList<CellaStampa>> &righe)
    {
        const int capienza = m_impaginazione ? m_impaginazione->RighePerPagina() : 1;
        int n = 0;
        for (int linee = 0;; ++n) {
            const bool anticipata = m_testa < m_avanti.size();
            if (!anticipata && !m_altre)
                break;
            // The next row goes on this page when its lines fit (a first row
            // always does).
            const QList<CellaStampa> &prossima = anticipata ? m_avanti[m_testa] : m_prossima;
            linee += m_impaginazione ? m_impaginazione->Linee(prossima) : 1;
            if (n > 0 && linee > capienza)
                break;
            if (righe.size() <= n)
                righe.append(QList<CellaStampa>());
            if (anticipata) {
                std::swap(righe[n], m_avanti[m_testa++]);
                continue;
            }
            std::swap(righe[n], m_prossima);
            m_altre = m_s.RigaSuccessiva(m_prossima);
        }
        if (m_testa > 0 && m_testa == m_avanti.size()) {
            m_avanti.clear();
            m_testa = 0;
        }
        return n;
    }
    bool Altre() const { return m_testa < m_avanti.size() || m_altre; }
    // The whole list was read ahead.
    bool TuttaAnticipata() const { return m_aperto && !m_altre; }

  private:
    SorgenteRighe &m_s;
    const ImpaginazioneLista *m_impaginazione = nullptr;
    QList<CellaStampa> m_prossima;
    QList<QList<CellaStampa>> m_avanti; // read ahead, before m_prossima
    qsizetype m_testa = 0;              // the first of m_avanti not yet on a page
    bool m_aperto = false;
    bool m_altre = false;
};

// Rows measured before the first page: a few pages' worth, read once (the
// pages start with them).
constexpr int RigheMisurate = 256;

namespace
{

QPageSize formatoCarta(int numero, const QString &stampante)
{
    if (numero > 0) {
        const QPageSize::PageSizeId id = QPageSize::id(numero);
        if (id != QPageSize::Custom)
            return QPageSize(id);
        if (!stampante.isEmpty())
            for (const VoceCarta &c : Catalogo().Carte(stampante))
                if (c.numero == numero && !c.millimetri.isEmpty())
                    return QPageSize(c.millimetri, QPageSize::Millimeter, c.nome);
    }
    return QPageSize(QPageSize::A4);
}

// A file beside `percorso` to write into and rename at the end.
QString nomeTemporaneo(const QString &percorso)
{
    const QFileInfo info(percorso);
    QString t;
    do {
        t = info.absoluteDir().filePath(
            QStringLiteral(".%1.%2.tmp")
                .arg(info.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    } while (QFileInfo::exists(t));
    return t;
}

bool rinomina(const QString &da, const QString &a)
{
    return std::rename(QFile::encodeName(da).constData(), QFile::encodeName(a).constData()) == 0;
}

// Where the user wants the PDF (the scripted answer in tests); "" cancelled.
QString chiediNomePdf(const OpzStampa &opz)
{
    QString cartella = opz.PathDefault();
    if (cartella.isEmpty())
        cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return UtilFinestre::ScegliFileDaSalvare(nullptr, QStringLiteral("Nome del file pdf"), cartella,
                                             QStringLiteral("Pdf (*.pdf)"));
}

// The system print dialog on the printer; the scripted answer in tests.
bool dialogoStampa(QPrinter &stampante)
{
    static const QString tipo = QStringLiteral("dialogoStampa");
    if (RisposteProgrammate::Attivo(tipo)) {
        const auto r = RisposteProgrammate::Prendi(tipo);
        RisposteProgrammate::Registra(tipo, {{QStringLiteral("stampante"), stampante.printerName()}});
        return r && r->toBool();
    }
    QPrintDialog dialogo(&stampante);
    return dialogo.exec() == QDialog::Accepted;
}

} // namespace

namespace
{

// The page layout of a print: the paper, the orientation asked (portrait
// when the options force it) and a margin of 10 mm.
QPageLayout layoutPagina(const OpzStampa &opz, int orientamento, int carta, const QString &stampante)
{
    const bool orizzontale = opz.ForzaVert() != -1 && orientamento == 2;
    return QPageLayout(formatoCarta(carta, stampante),
                       orizzontale ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

ImpaginazioneLista::Testate testate(const QString &descrizione, const QString &titolo)
{
    return {descrizione, titolo, QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"))};
}

} // namespace

bool Stampatore::misuraColonne(Lavoro &l, MisuraColonne &misura, LettorePagine &lettore)
{
    // The first rows are measured (read once: the pages start with them),
    // then a source that tells its columns' limits has them taken where they
    // fit those rows. A later value wider than its column is drawn condensed,
    // never cut; so the first page costs the same however many rows follow,
    // from a list or from rows held in memory.
    QList<LimiteColonna> limiti;
    const bool conLimiti = l.righe.LimitiColonne(l.indici, limiti) && limiti.size() == l.indici.size();
    if (lettore.Apri(l.indici))
        for (const QList<CellaStampa> &celle : lettore.Anticipa(RigheMisurate))
            misura.Misura(celle);
    if (conLimiti)
        for (int c = 0; c < limiti.size(); ++c)
            misura.Limita(c, limiti[c]);
    // Whether every row was measured (a short list): then a row of texts
    // that all fit takes one line, and the pages are counted without reading.
    misura.Completa(lettore.TuttaAnticipata());
    return !fermata();
}

int Stampatore::contaPagine(Lavoro &l, const ImpaginazioneLista &impaginazione, LettorePagine &lettore)
{
    const int n = l.righe.NumeroRighe();
    if (n < 0 || !m_opz->ParVero(QStringLiteral("MostraNumPag")))
        return 0;
    if (impaginazione.RigheDiUnaLinea())
        return impaginazione.Pagine(n);
    // Rows of wrapped texts take more lines: the rows are paged once to count
    // the pages, then read again for the pages themselves.
    lettore.Ricomincia();
    LettorePagine conta(l.righe);
    conta.Impagina(impaginazione);
    if (!conta.Apri(l.indici))
        return 1;
    QList<QList<CellaStampa>> righe;
    int pagine = 0;
    while (conta.Pagina(righe) > 0)
        if (++pagine % 100 == 0) {
            QCoreApplication::processEvents();
            if (fermata())
                return -1;
        }
    return qMax(1, pagine);
}

EsitoStampa Stampatore::stampaPagine(Lavoro &l)
{
    EsitoStampa esito;
    QString nome = m_opz->osNomeStampante().trimmed();
    if (nome.isEmpty())
        nome = m_stampante.DeviceName;
    if (nome.isEmpty())
        nome = Catalogo().Predefinita();
    if (nome.isEmpty()) {
        esito.errore =
            QStringLiteral("Non c'è nessuna stampante installata. Installare una stampante, oppure "
                           "scegliere la stampa a video o su file.");
        return esito;
    }
    const Stampante stampante = Catalogo().Cerca(nome);
    const bool pdf = stampante.Virtuale || EStampantePdf(nome);
    if (!stampante.valida() && !pdf) {
        esito.errore = messaggi_stampa::StampanteNonInstallata(nome);
        return esito;
    }
    int carta = m_opz->ParIntero(QStringLiteral("NumTipoCarta"));
    if (carta <= 0)
        carta = stampante.PaperSize;
    // The columns are measured first (from the first rows and the source's
    // limits), so that no value is cut.
    MisuraColonne misura(l.colonne, l.font);
    LettorePagine lettore(l.righe);
    if (!misuraColonne(l, misura, lettore)) {
        esito.interrotta = true;
        return esito;
    }
    const ImpaginazioneLista impaginazione(l.colonne, l.font,
                                           layoutPagina(*m_opz, l.orientamento, carta, stampante.DeviceName),
                                           testate(l.descrizione, l.titolo), &misura);
    if (!impaginazione.Errore().isEmpty()) {
        esito.errore = impaginazione.Errore();
        return esito;
    }
    lettore.Impagina(impaginazione);
    const int totale = contaPagine(l, impaginazione, lettore);
    if (totale < 0) {
        esito.interrotta = true;
        return esito;
    }
    if (!lettore.Apri(l.indici)) {
        esito.errore = QStringLiteral("Non ci sono righe da stampare.");
        return esito;
    }

    // Where the pages go: the PDF the user gets, or a PDF for the queue.
    QString destinazione, scrittura;
    std::unique_ptr<QTemporaryFile> perCoda;
    std::unique_ptr<QPrinter> nativa;
    if (pdf) {
        if (m_opz->ParVero(QStringLiteral("PdfAutomAbil"))) {
            destinazione = NomePdfAutomatico(*m_opz, l.titolo, QDateTime::currentDateTime(), &esito.errore);
            if (destinazione.isEmpty())
                return esito;
        } else {
            destinazione = chiediNomePdf(*m_opz);
            if (destinazione.isEmpty()) {
                esito.interrotta = true;
                return esito;
            }
        }
        if (!destinazione.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            destinazione += QStringLiteral(".pdf");
        // A folder that cannot take the PDF is said before any page is drawn.
        esito.errore = messaggi_stampa::ControllaCartella(destinazione);
        if (!esito.errore.isEmpty())
            return esito;
        scrittura = nomeTemporaneo(destinazione);
    } else if (m_opz->DblClickStampaSu()) {
        nativa = std::make_unique<QPrinter>(QPrinter::HighResolution);
        nativa->setPrinterName(stampante.DeviceName);
        nativa->setPageLayout(impaginazione.Pagina());
        // The layout draws from the paper's corner, its margins included.
        nativa->setFullPage(true);
        nativa->setDocName(l.titolo);
        if (!dialogoStampa(*nativa)) {
            esito.interrotta = true;
            return esito;
        }
        nativa->setResolution(72);
    } else {
        perCoda = lavoro_stampa::FileTemporaneo(QStringLiteral("clienti-stampa-XXXXXX.pdf"), esito.errore);
        if (!perCoda)
            return esito;
        scrittura = perCoda->fileName();
    }

    std::unique_ptr<QPdfWriter> writer;
    QPagedPaintDevice *dispositivo = nativa.get();
    if (!nativa) {
        writer = std::make_unique<QPdfWriter>(scrittura);
        writer->setResolution(72);
        // The layout draws from the page's corner, its margins included: the
        // device keeps none of its own (they would shift every page right
        // and down, off the paper).
        const QPageLayout &pagina = impaginazione.Pagina();
        writer->setPageLayout(QPageLayout(pagina.pageSize(), pagina.orientation(), QMarginsF()));
        writer->setTitle(l.titolo);
        writer->setCreator(QGuiApplication::applicationDisplayName());
        dispositivo = writer.get();
    }
    if (m_avanzamento)
        m_avanzamento->Mostra();
    QPainter painter;
    if (!painter.begin(dispositivo)) {
        QFile::remove(scrittura);
        if (pdf)
            esito.errore = messaggi_stampa::FileNonScrivibile(destinazione);
        else if (nativa)
            esito.errore =
                QStringLiteral("Non è stato possibile avviare la stampa su %1. Controllare che la "
                               "stampante sia accesa e collegata, oppure sceglierne un'altra, e ripetere "
                               "la stampa.")
                    .arg(stampante.DeviceName);
        else
            esito.errore = messaggi_stampa::FileNonScrivibile(scrittura);
        return esito;
    }
    QList<QList<CellaStampa>> righe;
    int prodotte = 0, lette = 0;
    for (int pagina = 1;; ++pagina) {
        const int quante = lettore.Pagina(righe);
        if (quante == 0 && pagina > 1)
            break;
        lette = pagina;
        if (pagina >= l.paginaDa) {
            if (prodotte > 0)
                dispositivo->newPage();
            impaginazione.DisegnaPagina(painter, pagina, totale, righe, quante);
            ++prodotte;
            if (!dopoPagina(pagina)) {
                esito.interrotta = true;
                break;
            }
        }
        if (!lettore.Altre() || (l.paginaA > 0 && pagina >= l.paginaA))
            break;
    }
    if (esito.interrotta) {
        if (nativa)
            nativa->abort();
        painter.end();
        writer.reset();
        if (!scrittura.isEmpty())
            QFile::remove(scrittura);
        return esito;
    }
    painter.end();
    writer.reset();
    esito.pagine = prodotte;
    if (prodotte == 0) {
        QFile::remove(scrittura);
        esito.errore = QStringLiteral("Nessuna pagina nell'intervallo scelto (la stampa ha %1 pagine).")
                           .arg(FormatoVb::Intero(lette));
        return esito;
    }
    if (pdf) {
        if (!rinomina(scrittura, destinazione)) {
            const int numero = errno;
            QFile::remove(scrittura);
            esito.errore = messaggi_stampa::FileNonScrivibile(destinazione, numero,
                                                              QString::fromLocal8Bit(std::strerror(numero)));
            return esito;
        }
        esito.eseguita = true;
        esito.file = destinazione;
        esito.fatto = messaggi_stampa::FileScritto(destinazione);
        const QVariantList par = m_opz->ParStampa(QStringLiteral("PdfAutomImpPar")).toList();
        if (par.size() > 3 &&
            par[3].toString().trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0)
            apriPdf(destinazione);
        inviaEmail(l, esito);
        return esito;
    }
    if (!nativa) {
        OpzioniLavoro lavoro;
        lavoro.titolo = l.titolo;
        lavoro.cassetto = qMax(0, m_opz->ParIntero(QStringLiteral("NumCassetto")));
        lavoro.carta = qMax(0, m_opz->ParIntero(QStringLiteral("NumTipoCarta")));
        if (!lavoro_stampa::InviaACoda(stampante.DeviceName, scrittura, lavoro, esito))
            return esito;
    }
    esito.eseguita = true;
    return esito;
}

void Stampatore::inviaEmail(Lavoro &l, EsitoStampa &esito)
{
    (void)l;
    if (!m_opz->ParVero(QStringLiteral("EmailInvia")))
        return;
    if (!m_invio) {
        esito.errore = QStringLiteral("Il file %1 è stato creato, ma l'invio per email non è disponibile.")
                           .arg(esito.file);
        return;
    }
    QString errore;
    // The progress window says the mail is going, not a page any more; its
    // stop button ends the send too, and the PDF stays.
    if (m_avanzamento)
        m_avanzamento->EmailInCorso(esito.file);
    m_invio->Fermata = [this] { return fermata(); };
    InvioEmail::Esito r = m_invio->Invia(*m_opz, esito.file, errore);
    // A refused login, or login data not stored, is asked for once.
    if ((r == InvioEmail::Esito::LoginRifiutato || r == InvioEmail::Esito::DatiMancanti) && m_avanzamento &&
        m_avanzamento->ChiediEmailLogPwd().toBool())
        r = m_invio->Invia(*m_opz, esito.file, errore);
    m_invio->Fermata = {};
    const QString avviso = m_invio->Avviso;
    switch (r) {
    case InvioEmail::Esito::Inviato:
        esito.errore = avviso;
        esito.fatto = messaggi_stampa::EmailInviata(
            esito.file, InvioEmailSmtp::Indirizzi(m_opz->ParStampa(QStringLiteral("EmailTo")).toString()));
        return;
    case InvioEmail::Esito::Consegnato:
        esito.errore =
            QStringLiteral("Il file %1 è stato creato e consegnato al programma di posta: l'email parte "
                           "solo quando la si invia da lì.")
                .arg(esito.file);
        break;
    case InvioEmail::Esito::Interrotto:
        esito.errore = QStringLiteral("Il file %1 è stato creato; l'invio per email è stato interrotto.")
                           .arg(esito.file);
        break;
    default:
        esito.errore = QStringLiteral("Il file %1 è stato creato, ma l'email non è stata inviata: %2.")
                           .arg(esito.file, errore);
        esito.dettaglio = m_invio->Dettaglio;
        break;
    }
    if (!avviso.isEmpty())
        esito.errore += QLatin1Char(' ') + avviso;
}

EsitoStampa Stampatore::anteprima(Lavoro &l)
{
    EsitoStampa esito;
    if (!m_vista) {
        esito.errore = QStringLiteral("La finestra di anteprima non è disponibile. Scegliere la stampa su "
                                      "stampante o su file.");
        return esito;
    }
    QString nome = m_opz->osNomeStampante().trimmed();
    if (nome.isEmpty())
        nome = m_stampante.DeviceName;
    int carta = m_opz->ParIntero(QStringLiteral("NumTipoCarta"));
    if (carta <= 0)
        carta = Catalogo().Cerca(nome).PaperSize;
    MisuraColonne misura(l.colonne, l.font);
    LettorePagine lettore(l.righe);
    if (!misuraColonne(l, misura, lettore)) {
        esito.interrotta = true;
        return esito;
    }
    const ImpaginazioneLista impaginazione(l.colonne, l.font,
                                           layoutPagina(*m_opz, l.orientamento, carta, nome),
                                           testate(l.descrizione, l.titolo), &misura);
    if (!impaginazione.Errore().isEmpty()) {
        esito.errore = impaginazione.Errore();
        return esito;
    }
    lettore.Impagina(impaginazione);
    const int totale = contaPagine(l, impaginazione, lettore);
    if (totale < 0) {
        esito.interrotta = true;
        return esito;
    }
    if (!lettore.Apri(l.indici)) {
        esito.errore = QStringLiteral("Non ci sono righe da stampare.");
        return esito;
    }
    m_memorizzaPagine = m_opz->MemVid() == 1;
    m_vista->ogStampa(this);
    m_vista->Mostra();

    // Pixels of the canvas per point: the preview's scale at the screen's density.
    double dpi = 96;
    if (QGuiApplication::primaryScreen())
        dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    // The scale as the options give it, held to what a preview can need
    // (the dialog's 180 % at the largest display factor is 3.6).
    const double scala = double(m_opz->Fatt());
    const double fattore = (scala > 0 && std::isfinite(scala) ? std::min(scala, 4.0) : 1.0) * dpi / 72.0;
    const QSizeF punti = impaginazione.Dimensioni();
    const QSize pixel(qMax(1, qRound(punti.width() * fattore)), qMax(1, qRound(punti.height() * fattore)));
    const int dpm72 = qRound(72 / 0.0254);

    const int prima = l.paginaDa;
    m_paginaCorrente = m_ultimaPagina = prima;
    QList<QList<CellaStampa>> righe;
    int letta = 0; // last page whose rows were read
    for (;;) {
        const int pagina = qMax(m_ultimaPagina, letta + 1);
        int quante = 0;
        while (letta < pagina) {
            quante = lettore.Pagina(righe);
            ++letta;
            if (quante == 0)
                break;
        }
        if (quante == 0 && letta > 1) {
            // The page asked for is past the end (a range beyond the list).
            esito.errore = QStringLiteral("Nessuna pagina nell'intervallo scelto (la stampa ha %1 pagine).")
                               .arg(FormatoVb::Intero(letta - 1));
            m_vista->ScriviMessaggio(QStringLiteral("Stampa Terminata"));
            return esito;
        }
        m_ultimaPagina = m_paginaCorrente = pagina;
        QImage &tela = m_vista->Tela();
        tela = QImage(pixel, QImage::Format_RGB32);
        tela.setDotsPerMeterX(dpm72);
        tela.setDotsPerMeterY(dpm72);
        tela.fill(Qt::white);
        {
            QPainter p(&tela);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.scale(fattore, fattore);
            impaginazione.DisegnaPagina(p, pagina, totale, righe, quante);
        }
        m_vista->TelaDisegnata();
        ++esito.pagine;
        const bool ultima = !lettore.Altre() || (l.paginaA > 0 && pagina >= l.paginaA);
        const bool indietro = m_memorizzaPagine && pagina > prima;
        m_vista->AbilitaFreccia(1, indietro);
        m_vista->AbilitaFreccia(2, indietro);
        m_vista->AbilitaFreccia(3, !ultima || indietro);
        m_vista->AbilitaFreccia(4, indietro);
        m_vista->SistImgFrecce();
        if (ultima) {
            m_vista->ScriviMessaggio(QStringLiteral("Stampa Terminata"));
            esito.eseguita = true;
            return esito;
        }
        m_vista->Continua();
        if (fermata() || m_chiusuraRichiesta || !m_vista->obAttivo()) {
            if (m_vista->obAttivo())
                m_vista->ScriviMessaggio(QStringLiteral("Stampa Terminata"));
            esito.interrotta = true;
            return esito;
        }
    }
}
