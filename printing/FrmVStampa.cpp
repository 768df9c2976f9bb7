// The print preview: its controls, what the engine calls, the wait for the
// user (Continua), the exit button and the close.
#include "printing/FrmVStampa.h"
#include "components/forms/UtilFinestre.h"

#include "components/forms/CodiciTasto.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "components/util/UtilGlob.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/MessaggiStampa.h"
#include "services/Globali.h"
#include "services/RisVid.h"
#include "services/Tasti.h"
#include "services/UtilPrg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>

namespace
{

// The arrows: a bar and a triangle pointing left or right; solid dark blue
// when enabled, a dark grey outline round a pale face when not, both well
// apart from the bar's grey.
QPixmap freccia(int indice, bool abilitata)
{
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    if (abilitata) {
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0, 0, 128));
    } else {
        g.setPen(QPen(QColor(80, 80, 80), 2));
        g.setBrush(QColor(236, 236, 236));
    }
    const bool sinistra = indice <= 2;
    const bool estremo = indice == 1 || indice == 4;
    auto triangolo = [&](double x) {
        const double d = sinistra ? -1 : 1;
        const QPointF punti[3] = {{x - 5 * d, 8}, {x + 5 * d, 16}, {x - 5 * d, 24}};
        g.drawPolygon(punti, 3);
    };
    triangolo(estremo ? (sinistra ? 18 : 14) : 16);
    if (estremo)
        g.drawRect(QRectF(sinistra ? 7 : 21, 8, 3, 16));
    return p;
}

} // namespace

TelaAnteprima::TelaAnteprima(const QImage &immagine, QWidget *parent) : QWidget(parent), m_immagine(immagine)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TelaAnteprima::paintEvent(QPaintEvent *ev)
{
    QPainter p(this);
    if (m_immagine.isNull())
        p.fillRect(ev->rect(), Qt::white);
    else
        p.drawImage(ev->rect(), m_immagine, ev->rect());
}

FrmVStampa::FrmVStampa(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    costruisci();
}

FrmVStampa::~FrmVStampa()
{
    UtilFinestre::StaccaFinestra(this);
    cancellaPagine();
    if (m_motore && m_motore->ofrmVStampa() == this)
        m_motore->ofrmVStampa(nullptr);
    FrmVStampaRilascia(this);
}

void FrmVStampa::costruisci()
{
    setWindowTitle(QStringLiteral("Visualizzazione Stampa"));
    for (int i = 1; i <= 4; ++i) {
        ImlFrecce[size_t(i)] = freccia(i, true);
        ImlFrecce[size_t(i + 4)] = freccia(i, false);
    }
    const int alto = qRound(495 / TwipPerPixel);
    auto px = [](int twip) { return qRound(twip / TwipPerPixel); };
    PicTasti = new QWidget(this);
    PicTasti->setAutoFillBackground(true);
    QPalette grigio = PicTasti->palette();
    grigio.setColor(QPalette::Window, QColor(192, 192, 192));
    PicTasti->setPalette(grigio);
    PicTasti->setFixedHeight(alto);
    ComEsci = new QPushButton(QStringLiteral("&Esci"), PicTasti);
    ComEsci->setGeometry(0, 0, px(975), alto);
    const int sinistre[5] = {0, 1080, 1560, 3960, 4440};
    for (int i = 1; i <= 4; ++i) {
        auto *b = imaMuovi.Aggiungi(i, new QToolButton(PicTasti));
        b->setAutoRaise(true);
        b->setIconSize(QSize(32, 32));
        b->setGeometry(px(sinistre[i]), 0, px(495), alto);
        connect(b, &QToolButton::clicked, this, [this, i] { imaMuovi_Click(i); });
    }
    labPage = new QLabel(QStringLiteral("Pag.000"), PicTasti);
    labPage->setFont(QFont(QStringLiteral("Arial"), 14, QFont::Bold));
    labPage->setAlignment(Qt::AlignCenter);
    labPage->setGeometry(px(2160), 0, px(1815), alto);
    LabMsg = new QLabel(PicTasti);
    LabMsg->setGeometry(px(5040), 0, px(3735), alto);

    PicPrinc = new QWidget(this);
    PicSec = new TelaAnteprima(m_tela, PicPrinc);
    PicSec->move(0, 0);
    PicPrinc->installEventFilter(this);
    PicSec->installEventFilter(this);
    hscPosOri = new QScrollBar(Qt::Horizontal, this);
    vscPosVert = new QScrollBar(Qt::Vertical, this);
    hscPosOri->hide();
    vscPosVert->hide();
    connect(hscPosOri, &QScrollBar::valueChanged, this, [this] { posizionaTela(); });
    connect(vscPosVert, &QScrollBar::valueChanged, this, [this] { posizionaTela(); });
    connect(ComEsci, &QPushButton::clicked, this, [this] { ComEsci_Click(); });

    // Load.
    m_attivo = true;
    mbEsci = false;
    for (int i = 1; i <= 4; ++i)
        imaMuovi(i)->setEnabled(false);
    SistImgFrecce();
    resize(qRound(11835 / TwipPerPixel), qRound(8000 / TwipPerPixel));
    SistControlli();
    LabMsg->clear();
    osRisVidKey = QStringLiteral("StaVid");
    AdattaRisVideo(this, QVariant(), -2, {});
}

void FrmVStampa::posizionaTela()
{
    if (!hscPosOri->isHidden() || !vscPosVert->isHidden())
        PicSec->move(qRound(-hscPosOri->value() / TwipPerPixel), qRound(-vscPosVert->value() / TwipPerPixel));
}

QString FrmVStampa::TestoPagina(int pagina)
{
    return QStringLiteral("%1").arg(pagina, 3, 10, QLatin1Char('0'));
}

void FrmVStampa::ogStampa(Stampatore *motore)
{
    disconnect(m_finitoMotore);
    m_motore = motore;
    if (!motore)
        return;
    // Without its engine the preview has neither its pages nor their files.
    m_finitoMotore = connect(motore, &QObject::destroyed, this,
                             [this] { QTimer::singleShot(0, this, [this] { close(); }); });
    // The pages of an earlier print in this window are of no more use.
    cancellaPagine();
    nuovoNomeBase();
    motore->UltimaPaginaSalvata(0);
    motore->PaginaCorrente(1);
    motore->UltimaPagina(1);
    labPage->setText(QStringLiteral("Pag.") + TestoPagina(motore->PaginaCorrente()));
    LabMsg->clear();
    mbEsci = false;
    m_chiudiDopo = false;
    const OpzStampa *opz = motore->OpzioniStampa();
    if (!opz)
        miPaginaDa = 0;
    else
        miPaginaDa = qBound(
            -32768,
            qRound(Globali::Util().ValoreNumerico(opz->ParStampa(QStringLiteral("PaginaDa")), true, true)),
            32767);
}

Stampatore *FrmVStampa::ogStampa() const
{
    return m_motore;
}

void FrmVStampa::Mostra()
{
    show();
    raise();
    activateWindow();
}

void FrmVStampa::TelaDisegnata()
{
    // The label names the page drawn: a range's first page, too, is shown
    // under its own number.
    if (m_motore)
        labPage->setText(QStringLiteral("Pag.") + TestoPagina(m_motore->PaginaCorrente()));
    PicSec->resize(m_tela.size());
    PicSec->update();
    SistControlli();
}

void FrmVStampa::AbilitaFreccia(int indice, bool abilitata)
{
    if (QToolButton *b = imaMuovi.Trova(indice))
        b->setEnabled(abilitata);
}

void FrmVStampa::SistImgFrecce()
{
    // The picture is shown as it is: the style's own greying of a disabled
    // button would fade the greyed picture into the bar.
    for (int i = 1; i <= 4; ++i) {
        QIcon icona;
        const QPixmap &p = ImlFrecce[size_t(imaMuovi(i)->isEnabled() ? i : i + 4)];
        icona.addPixmap(p, QIcon::Normal);
        icona.addPixmap(p, QIcon::Disabled);
        imaMuovi(i)->setIcon(icona);
    }
}

void FrmVStampa::ScriviMessaggio(const QString &testo)
{
    LabMsg->setText(testo);
    // From the end of the print the arrows follow the page shown.
    if (testo.compare(QLatin1String("Stampa Terminata"), Qt::CaseInsensitive) == 0)
        sistemaFrecce();
}

void FrmVStampa::Continua()
{
    mbAvanti = false;
    if (!mbEsci) {
        // Sleeps in the event loop: the arrow or the exit button ends the wait.
        QEventLoop ciclo;
        m_ciclo = &ciclo;
        ciclo.exec();
        m_ciclo = nullptr;
        // Ended by someone else (the program quitting): the print stops.
        if (!mbAvanti && !mbEsci && m_motore)
            m_motore->ChiusuraRichiesta(true);
    }
    if (mbEsci && m_chiudiDopo)
        chiudiDopoStampa();
    mbEsci = false;
}

void FrmVStampa::ComEsci_Click()
{
    if (m_motore)
        m_motore->ChiusuraRichiesta(true);
    QApplication::processEvents();
    mbEsci = true;
    if (m_motore)
        m_motore->Interrompi(2);
    if (Globali::StaAtt == 0) {
        close();
        return;
    }
    // The print stops first; the window closes once it has.
    m_chiudiDopo = true;
    if (m_ciclo)
        m_ciclo->quit();
}

void FrmVStampa::chiudiDopoStampa()
{
    QTimer::singleShot(0, this, [this] {
        if (m_chiudiDopo && Globali::StaAtt == 0)
            close();
    });
}

void FrmVStampa::closeEvent(QCloseEvent *ev)
{
    UtilFinestre::GuardiaChiusura inCorso(this);
    if (Globali::StaAtt == 1) {
        MessaggiStampa::MsgBox(QStringLiteral("Non si puo' uscire\nStampa ancora attiva"),
                               QStringLiteral("Visualizzazione Stampe"), QMessageBox::Critical, this);
        ev->ignore();
        return;
    }
    m_attivo = false;
    m_chiudiDopo = false;
    QStringList nonCancellati;
    cancellaPagine(&nonCancellati);
    m_segnaposto.reset();
    if (m_motore) {
        m_motore->UltimaPaginaSalvata(0);
        m_motore->PaginaCorrente(1);
        m_motore->UltimaPagina(1);
        m_motore->ChiusuraRichiesta(true);
        m_motore->Interrompi(1);
        if (QWidget *collegata = m_motore->FormCollegata()) {
            collegata->close();
            collegata->deleteLater();
        }
        m_motore->FormCollegata(nullptr);
        if (m_motore->ofrmVStampa() == this)
            m_motore->ofrmVStampa(nullptr);
    }
    m_motore = nullptr;
    FrmVStampaRilascia(this);
    // The window closes all the same: the files left are named in the
    // details for the user to remove.
    if (!nonCancellati.isEmpty()) {
        const QString primo = nonCancellati.first().section(QStringLiteral(": "), 0, 0);
        MessaggiStampa::MsgBox(QStringLiteral("Errore Impossibile cancellare il file ") + primo +
                                   QStringLiteral(" in chiusura stampa a video ( 75)"),
                               {}, QMessageBox::NoIcon, this, nonCancellati.join(QLatin1Char('\n')));
    }
    int zero = 0;
    PrgAvviaTimerChiusura(zero);
    ev->accept();
}

void FrmVStampa::resizeEvent(QResizeEvent *ev)
{
    QWidget::resizeEvent(ev);
    SistControlli();
}

void FrmVStampa::changeEvent(QEvent *ev)
{
    QWidget::changeEvent(ev);
    if (ev->type() == QEvent::ActivationChange && isActiveWindow()) {
        SistControlli();
        SistImgFrecce();
    }
}

bool FrmVStampa::scorriConRotella(const QWheelEvent *ev)
{
    // As in a scroll area: three lines of 20 pixels a notch, or the pixels a
    // touchpad gives; a page wider but not taller scrolls sideways.
    QPoint px = ev->pixelDelta();
    if (px.isNull())
        px = ev->angleDelta() * QApplication::wheelScrollLines() * 20 / 120;
    const bool verticale = !vscPosVert->isHidden() && std::abs(px.y()) >= std::abs(px.x());
    QScrollBar *barra = verticale ? vscPosVert : hscPosOri;
    const int passo = verticale || px.x() == 0 ? px.y() : px.x();
    if (barra->isHidden() || passo == 0)
        return false;
    barra->setValue(barra->value() - qRound(passo * TwipPerPixel));
    return true;
}

void FrmVStampa::wheelEvent(QWheelEvent *ev)
{
    ev->setAccepted(scorriConRotella(ev));
}

bool FrmVStampa::eventFilter(QObject *oggetto, QEvent *ev)
{
    // The page and its area scroll the page whoever sent the event.
    if (ev->type() == QEvent::Wheel && (oggetto == PicSec || oggetto == PicPrinc))
        return scorriConRotella(static_cast<QWheelEvent *>(ev));
    return QWidget::eventFilter(oggetto, ev);
}

void FrmVStampa::keyPressEvent(QKeyEvent *ev)
{
    int codice = CodiciTasto::DaEvento(ev);
    int shift = CodiciTasto::ShiftDaQt(ev->modifiers());
    if (!GestisciTastoHelp(codice, shift, this, true))
        QWidget::keyPressEvent(ev);
}
