// The progress window of a print and its stop button.
#include "printing/frmStampaInCorso.h"
#include "components/forms/UtilFinestre.h"

#include "components/forms/CodiciTasto.h"
#include "components/stampa/Stampatore.h"
#include "services/RisVid.h"
#include "services/Tasti.h"
#include "services/UtilPrg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>

namespace
{

// How long what a finished print made stays said, when nothing else happens.
constexpr int DurataTerminata = 10000;
// The widest a file's name is shown whole, in average characters (within
// half the screen); a longer one is shortened in the middle.
constexpr int CaratteriNomeFile = 80;

const QString TestoStampa = QStringLiteral("Stampa ordine in corso.");
const QString TestoPagina = QStringLiteral("In stampa la pagina:");
const QString TestoInterrompi = QStringLiteral("Interrompi la stampa");

// The page number's room: ten digits.
void spazioPagina(QLabel *etichetta)
{
    etichetta->setMinimumWidth(etichetta->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
}

frmStampaInCorso::ChiediDatiEmail &chiediDatiEmail()
{
    static frmStampaInCorso::ChiediDatiEmail f;
    return f;
}

} // namespace

frmStampaInCorso::frmStampaInCorso(QWidget *parent) : QWidget(parent, Qt::Dialog)
{
    setWindowTitle(QStringLiteral("Stampa ordini in corso"));
    // Nothing else of the program may be used while it prints: its windows
    // would run inside the print.
    setWindowModality(Qt::ApplicationModal);

    PicVask = new QLabel(this);
    QIcon icona = QIcon::fromTheme(QStringLiteral("document-print"));
    if (icona.isNull())
        icona = style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    PicVask->setPixmap(icona.pixmap(48, 48));
    lblStamp = new QLabel(TestoStampa, this);
    lblStamp->setWordWrap(true);
    lblStamp->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LblPrePag = new QLabel(TestoPagina, this);
    LblPag = new QLabel(this);
    spazioPagina(LblPag);
    ComSTampa = new QPushButton(TestoInterrompi, this);
    m_timTerminata = new QTimer(this);
    m_timTerminata->setSingleShot(true);
    m_timTerminata->setInterval(DurataTerminata);
    connect(m_timTerminata, &QTimer::timeout, this, [this] { chiudiTerminata(); });

    auto *g = new QGridLayout(this);
    g->addWidget(PicVask, 0, 0, 2, 1);
    g->addWidget(lblStamp, 0, 1, 1, 2);
    g->addWidget(LblPrePag, 1, 1);
    g->addWidget(LblPag, 1, 2);
    g->addWidget(ComSTampa, 2, 0, 1, 3);
    connect(ComSTampa, &QPushButton::clicked, this, [this] { ComStampa_Click(); });

    osRisVidKey = QStringLiteral("StaVid");
    AdattaRisVideo(this, QVariant(), -2, {{PicVask, -1, 2}});
}

frmStampaInCorso::~frmStampaInCorso()
{
    UtilFinestre::StaccaFinestra(this);
}

void frmStampaInCorso::ImpostaChiediDatiEmail(ChiediDatiEmail chiedi)
{
    chiediDatiEmail() = std::move(chiedi);
}

void frmStampaInCorso::ogStampa(Stampatore *motore)
{
    // A new print: what the last one made has been said.
    if (motore)
        chiudiTerminata();
    m_motore = motore;
}

Stampatore *frmStampaInCorso::ogStampa() const
{
    return m_motore;
}

void frmStampaInCorso::inStampa()
{
    chiudiTerminata();
    lblStamp->setText(TestoStampa);
    lblStamp->setMinimumWidth(0);
    LblPrePag->setText(TestoPagina);
    LblPrePag->show();
    LblPag->show();
    LblPag->clear();
    LblPag->setToolTip(QString());
    spazioPagina(LblPag);
    ComSTampa->setText(TestoInterrompi);
    if (isVisible() && windowModality() != Qt::ApplicationModal)
        togli();
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, false);
}

// Hidden, and its native window let go: the next showing makes a new one.
// A window shown and hidden within a moment (a short print) would otherwise
// get the keyboard from the window manager once it is gone, or keep it in
// the program's eyes, and the window that started the print, holding it on
// the screen, would get no key until clicked.
void frmStampaInCorso::togli()
{
    hide();
    if (testAttribute(Qt::WA_WState_Created))
        destroy();
}

void frmStampaInCorso::FinestraStampa(QWidget *finestra)
{
    m_finestra = finestra ? finestra->window() : nullptr;
}

// Over the window that started the print, centred on it and kept above it
// by the window manager.
void frmStampaInCorso::sopraFinestra()
{
    if (!m_finestra || !m_finestra->isVisible() || !m_finestra->windowHandle())
        return;
    adjustSize();
    move(m_finestra->geometry().center() - rect().center());
    winId();
    if (QWindow *w = windowHandle())
        w->setTransientParent(m_finestra->windowHandle());
}

void frmStampaInCorso::Mostra()
{
    inStampa();
    sopraFinestra();
    show();
    raise();
    activateWindow();
    QApplication::processEvents();
}

void frmStampaInCorso::Nascondi()
{
    togli();
    m_motore = nullptr;
    int zero = 0;
    PrgAvviaTimerChiusura(zero);
}

void frmStampaInCorso::EmailInCorso(const QString &file)
{
    lblStamp->setText(QStringLiteral("Invio dell'email in corso."));
    LblPrePag->setText(QStringLiteral("Con il file:"));
    nomeFile(QFileInfo(file).fileName());
    // Said before the send holds the program.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The name whole when it fits, else shortened in the middle with the whole
// name as its tooltip; the window widens to show it, over the window that
// started the print.
void frmStampaInCorso::nomeFile(const QString &nome)
{
    const QFontMetrics fm = LblPag->fontMetrics();
    int massimo = fm.averageCharWidth() * CaratteriNomeFile;
    if (const QScreen *s = screen())
        massimo = qMin(massimo, s->availableGeometry().width() / 2);
    const QString testo = fm.elidedText(nome, Qt::ElideMiddle, massimo);
    LblPag->setText(testo);
    LblPag->setToolTip(testo == nome ? QString() : nome);
    LblPag->setMinimumWidth(qMax(LblPag->minimumWidth(), fm.horizontalAdvance(testo)));
    if (!isVisible())
        return;
    adjustSize();
    sopraFinestra();
}

void frmStampaInCorso::Terminata(const QString &testo)
{
    inStampa();
    togli();
    m_terminata = true;
    lblStamp->setText(testo);
    LblPrePag->hide();
    LblPag->hide();
    ComSTampa->setText(QStringLiteral("&Chiudi"));
    // Nothing waits on it and it never takes the keyboard: the window that
    // started the print keeps it, and a click elsewhere puts this away.
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, true);
    lblStamp->setMinimumWidth(lblStamp->fontMetrics().averageCharWidth() * 50);
    adjustSize();
    sopraFinestra();
    show();
    qApp->installEventFilter(this);
    m_timTerminata->start();
}

void frmStampaInCorso::chiudiTerminata()
{
    if (!m_terminata)
        return;
    m_terminata = false;
    m_timTerminata->stop();
    qApp->removeEventFilter(this);
    togli();
}

bool frmStampaInCorso::eventFilter(QObject *oggetto, QEvent *ev)
{
    if (m_terminata && ev->type() == QEvent::MouseButtonPress) {
        auto *w = qobject_cast<QWidget *>(oggetto);
        if (w && w->window() != this)
            chiudiTerminata();
    }
    return QWidget::eventFilter(oggetto, ev);
}

void frmStampaInCorso::PaginaInStampa(int pagina)
{
    LblPag->setText(QString::number(pagina));
}

void frmStampaInCorso::RigheInStampa(qint64 righe)
{
    LblPag->setText(QString::number(righe));
}

QVariant frmStampaInCorso::ChiediEmailLogPwd()
{
    return chiediDatiEmail() ? chiediDatiEmail()() : QVariant(false);
}

void frmStampaInCorso::ComStampa_Click()
{
    if (m_terminata) {
        chiudiTerminata();
        return;
    }
    if (m_motore)
        m_motore->Interrompi(1);
}

void frmStampaInCorso::closeEvent(QCloseEvent *ev)
{
    // While the engine prints the window stays; closing it asks for the stop.
    if (m_motore && m_motore->InStampa()) {
        ComStampa_Click();
        ev->ignore();
        return;
    }
    chiudiTerminata();
    QWidget::closeEvent(ev);
}

void frmStampaInCorso::keyPressEvent(QKeyEvent *ev)
{
    if (m_terminata && ev->key() == Qt::Key_Escape) {
        chiudiTerminata();
        return;
    }
    int codice = CodiciTasto::DaEvento(ev);
    int shift = CodiciTasto::ShiftDaQt(ev->modifiers());
    if (!GestisciTastoHelp(codice, shift, this, true))
        QWidget::keyPressEvent(ev);
}
