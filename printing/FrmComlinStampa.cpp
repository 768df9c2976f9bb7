// The list-print options dialog: its controls, the print start and the
// printer and font choices.
#include "printing/FrmComlinStampa.h"

#include "components/forms/CodiciTasto.h"
#include "components/forms/UtilFinestre.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/StampanteApp.h"
#include "components/stampa/Stampatore.h"
#include "components/util/VbErrore.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/FrmSceltaStam.h"
#include "printing/FrmVStampa.h"
#include "printing/MessaggiStampa.h"
#include "printing/frmStampaInCorso.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Tasti.h"
#include "services/UtilPrg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

// The print-choice dialog through its contract: the options handed over,
// filled and checked, shown modally when that succeeds, released afterwards.
void apriSceltaPredefinita(OpzStampa &opz, QWidget *genitore)
{
    auto *scelta = new FrmSceltaStam(genitore);
    scelta->ogOpzSta(&opz);
    if (scelta->VisDecodOk())
        UtilFinestre::MostraForm(scelta, 2);
    scelta->deleteLater();
}

FrmComlinStampa::ApriScelta &apriScelta()
{
    static FrmComlinStampa::ApriScelta f = apriSceltaPredefinita;
    return f;
}

QFont fontIniziale()
{
    QFont f(QStringLiteral("Arial"), 10);
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

} // namespace

FrmComlinStampa::FrmComlinStampa(QWidget *parent) : QDialog(parent)
{
    costruisci();
}

FrmComlinStampa::~FrmComlinStampa()
{
    UtilFinestre::StaccaFinestra(this);
}

void FrmComlinStampa::ImpostaApriScelta(ApriScelta apri)
{
    apriScelta() = apri ? std::move(apri) : ApriScelta(apriSceltaPredefinita);
}

void FrmComlinStampa::costruisci()
{
    setWindowTitle(QStringLiteral("Stampa dati della lista"));
    setWindowModality(Qt::ApplicationModal);

    FraTipSta = new QGroupBox(QStringLiteral("Stampa "), this);
    auto *tipi = new QVBoxLayout(FraTipSta);
    tipi->addWidget(
        OptTipsta.Aggiungi(0, new QRadioButton(QStringLiteral("Solo le colonne visibili"), FraTipSta)));
    tipi->addWidget(OptTipsta.Aggiungi(1, new QRadioButton(QStringLiteral("Tutte le colonne "), FraTipSta)));

    fraOrientamento = new QGroupBox(QStringLiteral("Orientamento"), this);
    auto *orient = new QVBoxLayout(fraOrientamento);
    orient->addWidget(
        OptOrientamento.Aggiungi(0, new QRadioButton(QStringLiteral("Orizzontale"), fraOrientamento)));
    orient->addWidget(
        OptOrientamento.Aggiungi(1, new QRadioButton(QStringLiteral("Verticale"), fraOrientamento)));

    CmdStampa = new QPushButton(QStringLiteral("&STAMPA"), this);
    CmdEsci = new QPushButton(QStringLiteral("&ESCI"), this);
    CmdSceFont = new QPushButton(QStringLiteral("Scegli Font"), this);
    comSceStam = new QPushButton(QStringLiteral("Seleziona Stampante"), this);
    ComUsaDef = new QPushButton(QStringLiteral("Stampante predefinita"), this);
    labStaAttuale = new QLabel(QStringLiteral("Stampante attuale:"), this);
    labStaAttuale->setWordWrap(true);
    labStaAttuale->setFrameShape(QFrame::StyledPanel);
    labStaAttuale->setMinimumHeight(labStaAttuale->fontMetrics().height() * 2 + 8);
    CmdStampa->setDefault(true);

    auto *griglia = new QGridLayout(this);
    griglia->addWidget(FraTipSta, 0, 0);
    griglia->addWidget(fraOrientamento, 0, 1);
    auto *comandi = new QVBoxLayout;
    comandi->addWidget(CmdStampa);
    comandi->addWidget(CmdEsci);
    comandi->addStretch();
    griglia->addLayout(comandi, 0, 2, 2, 1);
    auto *stampante = new QHBoxLayout;
    stampante->addWidget(CmdSceFont);
    stampante->addWidget(comSceStam);
    stampante->addWidget(ComUsaDef);
    griglia->addLayout(stampante, 1, 0, 1, 2);
    griglia->addWidget(labStaAttuale, 2, 0, 1, 3);

    connect(CmdStampa, &QPushButton::clicked, this, [this] { CmdStampa_Click(); });
    connect(CmdEsci, &QPushButton::clicked, this, [this] { CmdEsci_Click(); });
    connect(CmdSceFont, &QPushButton::clicked, this, [this] { CmdSceFont_Click(); });
    connect(comSceStam, &QPushButton::clicked, this, [this] { comSceStam_Click(); });
    connect(ComUsaDef, &QPushButton::clicked, this, [this] { ComUsaDef_Click(); });
    Form_Load();
}

void FrmComlinStampa::Form_Load()
{
    m_caricato = true;
    OptTipsta(1)->setChecked(true);
    OptOrientamento(1)->setChecked(true);
    m_font = fontIniziale();
    VisStaAttuale();
}

// Leaving the dialog, by "&ESCI", the close box or Esc: the component is let
// go, the font goes back to Arial 10 at the next opening, the host hears of
// it. The print's options stay with the print (a printer chosen in the
// print-choice dialog is part of them, and the label shows it next time).
void FrmComlinStampa::Form_Unload()
{
    if (!m_caricato)
        return;
    m_caricato = false;
    ogComlin(nullptr);
    int zero = 0;
    PrgAvviaTimerChiusura(zero);
}

void FrmComlinStampa::showEvent(QShowEvent *ev)
{
    QDialog::showEvent(ev);
    VisStaAttuale();
}

void FrmComlinStampa::closeEvent(QCloseEvent *ev)
{
    Form_Unload();
    QDialog::closeEvent(ev);
}

void FrmComlinStampa::reject()
{
    Form_Unload();
    QDialog::reject();
}

void FrmComlinStampa::keyPressEvent(QKeyEvent *ev)
{
    int codice = CodiciTasto::DaEvento(ev);
    int shift = CodiciTasto::ShiftDaQt(ev->modifiers());
    if (GestisciTastoHelp(codice, shift, this, true))
        return;
    QDialog::keyPressEvent(ev);
}

void FrmComlinStampa::ApriPerLista(ComponenteStampa &lista)
{
    ogComlin(&lista);
    if (!m_caricato)
        Form_Load();
    if (!isVisible()) {
        if (QWidget *finestra = lista.FinestraStampa()) {
            adjustSize();
            move(finestra->geometry().center() - rect().center());
        }
        // Each opening starts on "&STAMPA", so that Enter prints, whatever
        // button the previous opening left the focus on.
        CmdStampa->setFocus(Qt::OtherFocusReason);
    }
    UtilFinestre::MostraForm(this, 0);
}

void FrmComlinStampa::ogComlin(ComponenteStampa *componente)
{
    m_comlin = componente;
    if (componente)
        m_sezione = componente->SezioneStampa();
    m_comlinOggetto = dynamic_cast<QObject *>(componente);
    m_comlinSeguito = m_comlinOggetto != nullptr;
}

ComponenteStampa *FrmComlinStampa::ogComlin() const
{
    // A component that is a QObject is followed: once gone it reads as none.
    if (m_comlinSeguito && !m_comlinOggetto)
        return nullptr;
    return m_comlin;
}

OpzStampa &FrmComlinStampa::OpzioniStampa()
{
    std::unique_ptr<OpzStampa> &opz = m_opz[m_sezione];
    if (!opz) {
        opz = std::make_unique<OpzStampa>(m_sezione);
        CaricaOpzioniStampa(*opz);
    }
    return *opz;
}

void FrmComlinStampa::VisStaAttuale()
{
    // A print's saved options are read once a print has opened the dialog:
    // until then (the dialog made at start-up) the label shows the current
    // printer alone, and nothing of the INI files is read or reported.
    if (!ogComlin() && m_opz.find(m_sezione) == m_opz.end()) {
        labStaAttuale->setText(OpzStampa().DescrStampante(StampanteApp::Corrente()));
        return;
    }
    labStaAttuale->setText(OpzioniStampa().DescrStampante(StampanteApp::Corrente()));
}

void FrmComlinStampa::CmdStampa_Click()
{
    if (Globali::StaAtt == 1) {
        MessaggiStampa::MsgBox(QStringLiteral("Si può lanciare solo una stampa alla volta"), {},
                               QMessageBox::NoIcon, this);
        return;
    }
    ComponenteStampa *comlin = ogComlin();
    if (!comlin) {
        // The list that asked for the dialog has gone: there is nothing to print.
        hide();
        return;
    }
    Stampatore *motore = comlin->ogSta();
    if (motore) {
        FrmVStampa *anteprima = FrmVStampaPredef();
        frmStampaInCorso *avanzamento = frmStampaInCorsoPredef();
        motore->ofrmVStampa(anteprima);
        motore->ofrmStampaInCorso(avanzamento);
        avanzamento->ogStampa(motore);
        avanzamento->FinestraStampa(comlin->FinestraStampa());
        motore->ogPrtStam(StampanteApp::Corrente());
        motore->ogOpzSta(&OpzioniStampa());
        // A PDF to e-mail is sent with the host's settings; a refused login
        // reaches this engine through the progress window.
        motore->ImpostaInvioEmail(&InvioEmailStampe());
        MotoreStampa(motore);
    }
    int orientamento = -1;
    if (OptOrientamento(0)->isChecked())
        orientamento = 2;
    else if (OptOrientamento(1)->isChecked())
        orientamento = 1;
    QString tipo;
    if (OptTipsta(0)->isChecked())
        tipo = QStringLiteral("V");
    else if (OptTipsta(1)->isChecked())
        tipo = QStringLiteral("T");
    if (orientamento == -1 && fraOrientamento->isEnabled()) {
        MessaggiStampa::MsgBox(QStringLiteral("Scegliere un' orientamento"), {}, QMessageBox::NoIcon, this);
        OptOrientamento(0)->setFocus();
        return;
    }
    if (tipo.isEmpty() && FraTipSta->isEnabled()) {
        MessaggiStampa::MsgBox(QStringLiteral("Scegliere un tipo di stampa"), {}, QMessageBox::NoIcon, this);
        OptTipsta(0)->setFocus();
        return;
    }
    OpzStampa *opz = motore ? motore->ogOpzSta() : nullptr;
    if (opz && opz->oiStaVid() == OpzStampa::UscitaStampante && !ImpostaStampanteDaOpz(*opz)) {
        MessaggiStampa::Avviso(QStringLiteral("Impossibile impostare la stampante predefinita") +
                               QStringLiteral("\r\nper stampare su ") + opz->osNomeStampante() +
                               QStringLiteral(" uscire dal programma e rientrare") +
                               QStringLiteral("\r\nOppure scegliere un'altra stampante"));
        return;
    }

    // The dialog steps aside for the preview or the progress window. The
    // window that asked for the print, and the control it had the keyboard
    // in, have it back afterwards: the questions and windows of the print
    // come and go, and leave no window of the program active by themselves.
    const QPointer<QWidget> finestra = comlin->FinestraStampa();
    const QPointer<QWidget> fuoco = finestra ? finestra->focusWidget() : nullptr;
    hide();
    QFont font = m_font;
    try {
        comlin->AvviaStampa(tipo, orientamento, font);
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    } catch (const std::exception &e) {
        MsgErrfrm(0, QString::fromUtf8(e.what()));
    }
    m_font = font;
    if (ogComlin() == comlin)
        ogComlin(nullptr);
    ridaiTastiera(finestra, fuoco);
}

void FrmComlinStampa::ridaiTastiera(QWidget *finestra, QWidget *fuoco)
{
    // A preview still open keeps it. Otherwise nothing else can have taken
    // it on purpose: the print held the program until it ended.
    const FrmVStampa *anteprima = FrmVStampaAperta();
    if (!finestra || !finestra->isVisible() || (anteprima && anteprima->isVisible()) ||
        QApplication::activeModalWidget())
        return;
    // Asked of the window manager, and set in the program at once: the
    // window manager gives no sign of giving the keyboard back to a window
    // that, to it, never lost it.
    finestra->activateWindow();
    QApplication::setActiveWindow(finestra);
    if (fuoco && fuoco->window() == finestra && fuoco->isVisible() && fuoco->isEnabled())
        fuoco->setFocus(Qt::ActiveWindowFocusReason);
}

void FrmComlinStampa::CmdEsci_Click()
{
    close();
}

void FrmComlinStampa::CmdSceFont_Click()
{
    bool scelto = false;
    const QFont f = UtilFinestre::FontDaDialogo(this, fontIniziale(),
                                                QStringLiteral("Scegliere il font per la stampa"), scelto);
    if (scelto)
        m_font = f;
}

void FrmComlinStampa::comSceStam_Click()
{
    OpzStampa &opz = OpzioniStampa();
    opz.StaVidEscluso(OpzStampa::UscitaFissa, true);
    apriScelta()(opz, this);
    VisStaAttuale();
}

void FrmComlinStampa::ComUsaDef_Click()
{
    QString nome, nomeMancante, porta;
    bool letta = true;
    try {
        if (Globali::StampanteImpostata == 1) {
            RipristinaStampantePredef(nome, nomeMancante, porta);
        } else {
            LeggiStampantePredefinita(nome, nomeMancante, porta);
        }
    } catch (const VbErrore &) {
        letta = false;
    }
    if (CercaStampanteAltraSessione(nome, Globali::SessioneTS)) {
        MessaggiStampa::Avviso(
            QStringLiteral("La stampante (") + nome +
            QStringLiteral(") predefinita appartiene ad un'altra sessione") +
            QStringLiteral("\r\nScegliere una stampante o cambiare la stampante predefinita"));
        return;
    }
    OpzStampa &opz = OpzioniStampa();
    if ((!letta || nome.isEmpty()) && Globali::StampanteImpostata == 1) {
        MsgStampantePredefMancante(QStringLiteral("NomeStampante"), nomeMancante, opz.SezioneStampa());
        return;
    }
    opz.osNomeStampante(QString());
    opz.NomePorta(porta);
    VisStaAttuale();
}
