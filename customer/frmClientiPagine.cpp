// The customer form's tab pages: switching page by the tab strip, refusing a
// switch while a grid line cannot be saved, laying out the page shown, and the
// one-shot timers that finish a switch or a command.
#include "customer/CatalogoClienti.h"
#include "customer/GeometriaPagine.h"
#include "customer/frmClienti.h"

#include "components/db/ErroriDb.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/VbErrore.h"
#include "services/MsgCom.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTimer>

int frmClienti::TabSelezionato() const
{
    return TasPagine->currentIndex() + 1;
}

void frmClienti::SelezionaTab(int piTab)
{
    if (piTab >= 1 && piTab <= TasPagine->count())
        TasPagine->setCurrentIndex(piTab - 1);
}

QWidget *frmClienti::MostraCampo(QWidget *controllo)
{
    if (!txt.Contiene(controllo))
        return controllo;
    const int i = IndiceControllo(controllo);
    const CatalogoClienti::Voce *v = CatalogoClienti::VoceIndice(i);
    if (v && v->pagina >= 0 && v->pagina != PagAttuale)
        SelezionaTab(v->pagina + 1);
    if (QCheckBox *c = Che.Trova(i))
        return c;
    if (QComboBox *c = Combo.Trova(i))
        return c;
    ControlArray<QRadioButton> *gruppo = i == 1120   ? &OptStatoGiu
                                         : i == 1130 ? &OptSesso
                                         : i == 5197 ? &OptFEAllegPdf
                                                     : nullptr;
    if (!gruppo)
        return controllo;
    for (auto [n, o] : *gruppo)
        if (o->isChecked())
            return o;
    return (*gruppo)(0);
}

void frmClienti::TasPagine_BeforeClick(int &Cancel)
{
    if (PagConLin && !VerModLin(LinAttuale).toBool()) {
        Cancel = -1;
        timTasPagine->start();
    }
}

void frmClienti::timTasPagine_Timer()
{
    TasPagine_Click();
    timTasPagine->stop();
}

void frmClienti::TasPagine_Click()
{
    const int I = TabSelezionato();
    if (PagAttuale == I - 1)
        return;
    // The form's active control: the field the user was in when the tab was
    // chosen (choosing a tab does not take the focus from it).
    QWidget *attivo = focusWidget();
    PagAttuale = I - 1;
    const int g = QualePictLin(PagAttuale).toInt();
    // Whether the leave check below could not be done: a lost server is told once.
    ControlloFallito = false;
    if (g < 0) {
        PagConLin = false;
        LinAttuale = 1;
    } else {
        PagConLin = true;
        LinAttuale = g;
        NomeCtlPend = NomeControllo(attivo);
        if (NomeCtlPend.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0 && txt.Contiene(attivo)) {
            const int i = IndiceControllo(attivo);
            txt_LostFocus(i);
            IndCtlPend = i;
        } else {
            IndCtlPend = -1;
        }
    }
    // The focus waits on the form while the pages change, so that the page
    // that goes hands it to no other field; the new page's first field takes it.
    setFocus();
    SistemaPagina(PagAttuale);
    if (QualePictLin(PagAttuale).toInt() >= 0)
        timComPag->start();

    // From here a failing step is skipped: the page stays switched.
    auto prova = [](auto passo) {
        try {
            passo();
        } catch (const VbErrore &) {
        } catch (const std::exception &) {
        }
    };
    prova([this] { PicPagine(PagAttuale)->setFocus(); });
    LeggiPagina(PagAttuale);
    prova([this] {
        QWidget *primo = nullptr;
        switch (PagAttuale) {
        case 0:
            primo = txt(40);
            break;
        case 1:
            primo = txt(2000);
            break;
        case 2:
            primo = txt(3000);
            break;
        case 3:
            primo = txt(4000);
            break;
        case 4:
            primo = txt(5000);
            break;
        case 5:
            primo = txt(6000);
            break;
        case 7:
            primo = dbgRiga(LinAttuale);
            break;
        case 10:
            primo = txt(8050);
            break;
        default:
            break;
        }
        if (primo)
            UtilFinestre::ImpostaFocus(primo, true);
    });
}

void frmClienti::LeggiPagina(int piPag)
{
    const bool giaLetta = mvPagDecod[size_t(piPag)];
    QString errore;
    int numero = 0;
    try {
        visDecodPagina(piPag, false);
        return;
    } catch (const VbErrore &e) {
        numero = e.numero();
        errore = e.descrizione();
    } catch (const std::exception &e) {
        errore = QString::fromLocal8Bit(e.what());
    }
    // The page could not be read (the server lost, say): it is read again at
    // the next visit, and until then a grid shows no rows of another
    // account, laid out as always.
    if (!giaLetta) {
        mvPagDecod[size_t(piPag)] = false;
        const int g = QualePictLin(piPag).toInt();
        if (g >= 0)
            LineeNonLette(g);
    }
    // Said once: the field left may have told the same loss already.
    if (!(ControlloFallito && numero == ErroriDb::ConnessioneOdbcFallita))
        MsgErrfrm(numero, errore);
}

void frmClienti::timComPag_Timer()
{
    timComPag->stop();
    if (IndCtlPend < 0)
        return;
    QWidget *attivo = focusWidget();
    if (NomeCtlPend.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0 &&
        NomeControllo(attivo).compare(NomeCtlPend, Qt::CaseInsensitive) == 0 &&
        QApplication::activeWindow() == window() && IndiceControllo(attivo) == IndCtlPend)
        txt_GotFocus(IndCtlPend);
    NomeCtlPend.clear();
    IndCtlPend = -1;
}

void frmClienti::SistemaPagina(int piPag)
{
    const int g = QualePictLin(piPag).toInt();
    areaPagine->setCurrentWidget(g < 0 ? PicPagine(piPag) : PicNoRic(g));
    SistemaGrigliaLin(piPag);
    for (int t = 1; t <= TasPagine->count(); ++t)
        if (t != piPag + 1)
            PicPagine(t - 1)->setEnabled(false);
    PicPagine(piPag)->raise();
    PicPagine(piPag)->setEnabled(true);
    if (TasPagine->currentIndex() != piPag) {
        m_inRipristinoTab = true;
        TasPagine->setCurrentIndex(piPag);
        m_inRipristinoTab = false;
    }
    PosizionaEvidenza(piPag);
}

void frmClienti::PosizionaEvidenza(int piPag)
{
    QFrame *evid = PicEvid(0);
    const QRect scheda = TasPagine->tabRect(piPag).translated(TasPagine->mapTo(this, QPoint(0, 0)));
    evid->setGeometry(GeometriaPagine::InPixel(GeometriaPagine::Evidenza(GeometriaPagine::InTwip(scheda))));
    evid->raise();
}

void frmClienti::resizeEvent(QResizeEvent *ev)
{
    QWidget::resizeEvent(ev);
    PosizionaEvidenza(PagAttuale);
}

void frmClienti::showEvent(QShowEvent *ev)
{
    QWidget::showEvent(ev);
    PosizionaEvidenza(PagAttuale);
}

void frmClienti::SalGotFocus(int Index)
{
    if (Index == 1050)
        StatoIngresso = txt(1050)->text();
}
