// The progress window of a print and its stop button.
#include "printing/frmStampaInCorso.h"

#include "components/forms/CodiciTasto.h"
#include "components/stampa/Stampatore.h"
#include "services/RisVid.h"
#include "services/Tasti.h"
#include "services/UtilPrg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace
{
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
    lblStamp = new QLabel(QStringLiteral("Stampa ordine in corso."), this);
    LblPrePag = new QLabel(QStringLiteral("In stampa la pagina:"), this);
    LblPag = new QLabel(this);
    LblPag->setMinimumWidth(LblPag->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    ComSTampa = new QPushButton(QStringLiteral("Interrompi la stampa"), this);

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

frmStampaInCorso::~frmStampaInCorso() = default;

void frmStampaInCorso::ImpostaChiediDatiEmail(ChiediDatiEmail chiedi)
{
    chiediDatiEmail() = std::move(chiedi);
}

void frmStampaInCorso::ogStampa(Stampatore *motore)
{
    m_motore = motore;
}

Stampatore *frmStampaInCorso::ogStampa() const
{
    return m_motore;
}

void frmStampaInCorso::Mostra()
{
    LblPag->clear();
    show();
    raise();
    activateWindow();
    QApplication::processEvents();
}

void frmStampaInCorso::Nascondi()
{
    hide();
    m_motore = nullptr;
    int zero = 0;
    PrgAvviaTimerChiusura(zero);
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
    QWidget::closeEvent(ev);
}

void frmStampaInCorso::keyPressEvent(QKeyEvent *ev)
{
    int codice = CodiciTasto::DaEvento(ev);
    int shift = CodiciTasto::ShiftDaQt(ev->modifiers());
    if (!GestisciTastoHelp(codice, shift, this, true))
        QWidget::keyPressEvent(ev);
}
