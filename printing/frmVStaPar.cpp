// The preview scale dialog and its hand-over to the print options.
#include "printing/frmVStaPar.h"

#include "components/forms/UtilFinestre.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/UtilGlob.h"
#include "services/Globali.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

void ProvaScala::ImpostaFont(const QFont &f)
{
    m_font = f;
    update();
}

QStringList ProvaScala::Testo()
{
    return {QStringLiteral("Testo di Prova. Grandezza dei Caratteri in stampa, "),
            QStringLiteral("usando come Font base Arial di grandezza 10 ")};
}

void ProvaScala::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    p.setFont(m_font);
    const QFontMetrics fm(m_font);
    int y = fm.ascent() + 2;
    for (const QString &riga : Testo()) {
        p.drawText(2, y, riga);
        y += fm.lineSpacing();
    }
}

frmVStaPar::frmVStaPar(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Grandezza visualizzazione stampe"));
    auto px = [](int twip) { return qRound(twip / 15.0); };
    PicProva = new ProvaScala(this);
    PicProva->setGeometry(px(120), px(120), px(5775), px(1215));
    VsbProp = new QScrollBar(Qt::Vertical, this);
    VsbProp->setGeometry(px(6000), px(120), px(255), px(3135));
    VsbProp->setRange(ScalaMinima, ScalaMassima);
    VsbProp->setSingleStep(5);
    VsbProp->setPageStep(25);
    VsbProp->setValue(ScalaMinima);
    LabProp = new QLabel(QStringLiteral("100"), this);
    LabProp->setFont(QFont(QStringLiteral("Arial"), 20, QFont::Bold));
    LabProp->setAlignment(Qt::AlignCenter);
    LabProp->setGeometry(px(2220), px(1560), px(1635), px(495));
    LabProp->installEventFilter(this);
    LabProp->setToolTip(QStringLiteral("Doppio clic: valori predefiniti"));
    CmdOk = new QPushButton(QStringLiteral("OK"), this);
    CmdOk->setGeometry(px(3720), px(2400), px(1995), px(915));
    CmdOk->setDefault(true);
    CheMemVid = new QCheckBox(QStringLiteral("Memorizza pagine"), this);
    CheMemVid->setGeometry(px(360), px(2760), px(2835), px(315));
    setFixedSize(px(6400), px(3700));
    // The bar takes the keyboard: the arrows move it by 5, Page Up and Page
    // Down by 25, Home and End to its ends; Tab goes on to "OK" and the box.
    VsbProp->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(VsbProp, CmdOk);
    setTabOrder(CmdOk, CheMemVid);
    VsbProp->setFocus();

    connect(VsbProp, &QScrollBar::valueChanged, this, [this] { Ridisegna(); });
    connect(CmdOk, &QPushButton::clicked, this, [this] { CmdOk_Click(); });
    Ridisegna();
}

frmVStaPar::~frmVStaPar()
{
    UtilFinestre::StaccaFinestra(this);
}

void frmVStaPar::showEvent(QShowEvent *ev)
{
    QDialog::showEvent(ev);
    Ridisegna();
}

bool frmVStaPar::eventFilter(QObject *obj, QEvent *ev)
{
    if (obj == LabProp && ev->type() == QEvent::MouseButtonDblClick) {
        LabProp_DblClick();
        return true;
    }
    return QDialog::eventFilter(obj, ev);
}

void frmVStaPar::Ridisegna()
{
    LabProp->setText(QString::number(VsbProp->value()));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(VsbProp->value() / 100.0 * 10);
    PicProva->ImpostaFont(f);
}

void frmVStaPar::CmdOk_Click()
{
    m_confermato = true;
    accept();
}

void frmVStaPar::LabProp_DblClick()
{
    VsbProp->setValue(67);
    Ridisegna();
    CheMemVid->setChecked(true);
}

int frmVStaPar::PercentualeDaFattore(double fatt, double risVid)
{
    if (fatt == 0 || !std::isfinite(fatt))
        fatt = 1;
    // Without a display factor the bar takes the whole percent, but of the
    // factor as it is stored (4 decimals): a Single 0.77 is 0.76999998...,
    // whose percent would otherwise come back as 76.
    const double valore = risVid > 0
                              ? Globali::Util().Arrotonda(fatt / risVid * 100, QStringLiteral("A"), 1)
                              : std::trunc(Globali::Util().Arrotonda(fatt * 100, QStringLiteral("A"), 1, -4));
    if (!std::isfinite(valore))
        return 100;
    return int(std::clamp(valore, double(ScalaMinima), double(ScalaMassima)));
}

float frmVStaPar::FattoreDaPercentuale(int percentuale, double risVid)
{
    if (risVid > 0)
        return float(Globali::Util().Arrotonda(percentuale / 100.0 * risVid, QStringLiteral("A"), 1, -4));
    return float(percentuale / 100.0);
}

bool frmVStaPar::Chiedi(QWidget *genitore, int &scala, int &memVid)
{
    frmVStaPar dialogo(genitore);
    dialogo.VsbProp->setValue(std::clamp(scala, int(ScalaMinima), int(ScalaMassima)));
    dialogo.CheMemVid->setChecked(memVid == 1);
    UtilFinestre::MostraForm(&dialogo, 2);
    if (!dialogo.Confermato())
        return false;
    scala = dialogo.VsbProp->value();
    memVid = dialogo.CheMemVid->isChecked() ? 1 : 0;
    return true;
}

bool frmVStaPar::ModificaScala(OpzStampa &opz, QWidget *genitore, const Richiesta &chiedi)
{
    if (opz.Fatt() == 0)
        opz.Fatt(1);
    int scala = PercentualeDaFattore(opz.Fatt(), Globali::RisVidStaVid);
    int memVid = opz.MemVid() == 1 ? 1 : 0;
    if (!(chiedi ? chiedi(genitore, scala, memVid) : Chiedi(genitore, scala, memVid)))
        return false;
    opz.Fatt(
        FattoreDaPercentuale(std::clamp(scala, int(ScalaMinima), int(ScalaMassima)), Globali::RisVidStaVid));
    opz.MemVid(memVid);
    return true;
}
