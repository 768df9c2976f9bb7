// The print-choice dialog: contract with its opener, load, activation and the
// close checks.
#include "printing/FrmSceltaStam.h"
#include "components/forms/UtilFinestre.h"

#include "components/forms/AdattatoreEventi.h"
#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/UtilGlob.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/frmVStaPar.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"
#include "services/RisVid.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStackedWidget>
#include <QTimer>
#include <algorithm>

namespace
{

FrmSceltaStam::DialogoScala &dialogoScala()
{
    static FrmSceltaStam::DialogoScala d;
    return d;
}

} // namespace

void FrmSceltaStam::ImpostaDialogoScala(DialogoScala dialogo)
{
    dialogoScala() = std::move(dialogo);
}

bool FrmSceltaStam::DialogoScalaImpostato()
{
    return bool(dialogoScala());
}

FrmSceltaStam::FrmSceltaStam(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Scelta della modalità di stampa"));
    // The printers are read from the system once while the dialog fills.
    const LetturaCatalogo lettura;
    oiRichDatiEmail = 0;
    CreaControlli();
    CollegaEventi();
    Form_Load();
}

FrmSceltaStam::~FrmSceltaStam()
{
    UtilFinestre::StaccaFinestra(this);
}

void FrmSceltaStam::Form_Load()
{
    InImpostazione = false;
    setProperty("HelpContextID", 88);
    ModoCancella = true;

    // "A,B" becomes ",A,B," so that a name is found whole between commas.
    QString elenco;
    try {
        elenco = LeggiParPersonale(QStringLiteral("Tutti"), QStringLiteral("StampantiNoCassetti"), QString())
                     .toString();
    } catch (...) {
        // A menu host that does not answer: every printer shows its trays.
    }
    if (!Globali::Util().ValoreVuoto(elenco) && elenco.toLower() != QLatin1String("tutte")) {
        if (!elenco.startsWith(QLatin1Char(',')))
            elenco.prepend(QLatin1Char(','));
        if (!elenco.endsWith(QLatin1Char(',')))
            elenco.append(QLatin1Char(','));
    }
    ElencoNoCassetti = elenco;

    RiempiGriglie();
    ComOpz(1)->setEnabled(DialogoScalaImpostato());

    // No options object is attached yet: the box follows it in VisDecodOk.
    CheNumPag->blockSignals(true);
    CheNumPag->setChecked(false);
    CheNumPag->blockSignals(false);

    miChiaviConfig = {6, 19, 17, 11, 10, 14, 15, 8, 12, 9, 18, 20, 21};

    ChePdfAutom->blockSignals(true);
    CheInviaEmail->blockSignals(true);
    ChePdfAutom->setChecked(false);
    CheInviaEmail->setChecked(false);
    ChePdfAutom->blockSignals(false);
    CheInviaEmail->blockSignals(false);
    MostraOpzioniPdf();

    osRisVidKey = QStringLiteral("StaVid");
    try {
        AdattaRisVideo(this, 0, -2);
    } catch (...) {
    }
}

bool FrmSceltaStam::VisDecodOk()
{
    if (Globali::StaAtt == 1) {
        msgCom(QStringLiteral("C'è una stampa in esecuzione. Non è possibile variare i parametri di stampa"));
        return false;
    }
    if (!m_opz)
        return false;
    const LetturaCatalogo lettura;
    OpzStampa &o = *m_opz;
    ImpostaCboCassetti();
    ImpostaCboTipoCarta();
    VisStaAttuale();

    for (int i = 0; i <= 3; ++i)
        OptStampaSu(i)->setEnabled(!o.StaVidEscluso(i));
    // A kind outside the four would select no panel: the first one offered.
    int tipo = o.oiStaVid();
    if (tipo < 0 || tipo > 3) {
        tipo = OpzStampa::UscitaVideo;
        for (int i = 0; i <= 3; ++i)
            if (!o.StaVidEscluso(i)) {
                tipo = i;
                break;
            }
    }
    OptStampaSu(tipo)->blockSignals(true);
    OptStampaSu(tipo)->setChecked(true);
    OptStampaSu(tipo)->blockSignals(false);
    OptStampaSu_Click(tipo);

    CheForzaVert->blockSignals(true);
    CheForzaVert->setChecked(o.ForzaVert() != 0);
    CheForzaVert->blockSignals(false);
    // The box shows the option as the print holds it.
    CheNumPag->blockSignals(true);
    CheNumPag->setChecked(o.ParVero(QStringLiteral("MostraNumPag")));
    CheNumPag->blockSignals(false);

    const UtilGlob &u = Globali::Util();
    txt(10)->setText(u.Formatta(o.ParStampa(QStringLiteral("PaginaDa")), QStringLiteral("#")));
    txt(20)->setText(u.Formatta(o.ParStampa(QStringLiteral("PaginaA")), QStringLiteral("#")));

    VisDecodPagine();
    VisDecodFile();
    VisDecodFis();
    return true;
}

void FrmSceltaStam::Form_Activate()
{
    if (!m_opz)
        return;
    InImpostazione = true;
    if (m_opz->ParVero(QStringLiteral("PdfAutomAbil")) && !ChePdfAutom->isHidden()) {
        ChePdfAutom->setChecked(true);
        CheInviaEmail->setEnabled(true);
    } else {
        ChePdfAutom->setChecked(false);
        CheInviaEmail->setEnabled(false);
    }
    if (m_opz->ParVero(QStringLiteral("EmailInvia")) && !CheInviaEmail->isHidden())
        CheInviaEmail->setChecked(true);
    QCoreApplication::processEvents();
    InImpostazione = false;
}

bool FrmSceltaStam::Form_Unload()
{
    if (!m_opz)
        return true;
    const OpzStampa &o = *m_opz;
    auto avvisa = [](const QString &testo) { msgCom(testo); };
    const QString senzaNome =
        QStringLiteral("In caso di stampa su file è obbligatorio specificare il nome file.");
    if (o.oiStaVid() == OpzStampa::UscitaFile && o.FileName().isEmpty()) {
        avvisa(senzaNome);
        return false;
    }
    if (o.oiStaVid() == OpzStampa::UscitaFissa && o.FisFileName().isEmpty()) {
        avvisa(senzaNome);
        return false;
    }
    // An empty box is page 0: a start past an empty end is refused.
    const int da = o.ParIntero(QStringLiteral("PaginaDa"));
    const int a = o.ParIntero(QStringLiteral("PaginaA"));
    if (da > a) {
        avvisa(QStringLiteral("Selezione Pagina Da maggiore di Pagina A"));
        return false;
    }
    return true;
}

void FrmSceltaStam::ComChiudi_Click()
{
    close();
}

// Every way out (the close button or its Alt+C, the window's close box,
// Escape) passes the close checks.
void FrmSceltaStam::done(int r)
{
    // Closing the window asked for a print's e-mail data cancels the request.
    if (oiRichDatiEmail == 1000) {
        oiRichDatiEmail = 200;
        hide();
        return;
    }
    UtilFinestre::GuardiaChiusura inCorso(this);
    // Closing leaves the box being typed in: its value is taken as leaving
    // it would, so that the checks see it and the options keep it.
    if (m_adattatore)
        m_adattatore->ConsegnaControlloAttivo();
    if (!Form_Unload())
        return;
    QDialog::done(r);
}

// The activation runs from the event loop, never inside show(): it gives
// pending events their turn, and a close among them while a modal exec() has
// not yet started its loop would leave that loop waiting on a hidden dialog.
void FrmSceltaStam::AttivaDopo()
{
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            Form_Activate();
    });
}

void FrmSceltaStam::showEvent(QShowEvent *ev)
{
    QDialog::showEvent(ev);
    AttivaDopo();
}

void FrmSceltaStam::changeEvent(QEvent *ev)
{
    QDialog::changeEvent(ev);
    if (ev->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        AttivaDopo();
}

void FrmSceltaStam::MostraFoglio(QWidget *foglio)
{
    m_fogli->setCurrentWidget(foglio);
}

void FrmSceltaStam::CambiaScala()
{
    const DialogoScala &dialogo = dialogoScala();
    if (!dialogo || !m_opz)
        return;
    if (!frmVStaPar::ModificaScala(*m_opz, this, dialogo))
        return;
    m_opz->AnteprimaScelta(true);
    VisDecodPagine();
    VisStaAttuale();
}
