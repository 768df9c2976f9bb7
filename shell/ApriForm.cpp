// The form dispatcher.
#include "shell/ApriForm.h"

#include "services/FormLanciabile.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/RisVid.h"
#include "services/UtilPrg.h"
#include "shell/Chiusura.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace
{

struct FormTracciato {
    QString nome;
    QPointer<QWidget> finestra;
    FormLanciabile *form;
};

QList<FormTracciato> &tracciati()
{
    static QList<FormTracciato> l;
    return l;
}

// Drops the windows that have gone; the form object lives as long as its widget.
void pulisci()
{
    auto &l = tracciati();
    l.erase(std::remove_if(l.begin(), l.end(), [](const FormTracciato &t) { return t.finestra.isNull(); }),
            l.end());
}

void impostaLancio(FormLanciabile *form, const ChiaviLancio &d)
{
    form->osKeySec(d.osKeySec);
    form->osKeyLancia = d.osKeyLancia;
    form->osKeySecLancia = d.osKeySecLancia;
    form->osParamLancia = d.osParamLancia;
    form->osParam = d.osParam;
}

void avvisa()
{
    msgCom(QString::fromUtf8(MsgImpossibileAprire), QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, {}, 1);
}

// A window that failed its load goes even if its unload would refuse.
void scarica(QWidget *w)
{
    QPointer<QWidget> p(w);
    w->close();
    if (p)
        delete p.data();
}

} // namespace

bool ApriFormRichiesta(FormLanciabile *form, const QString &psNomeForm, const ChiaviLancio &dati)
{
    if (!form)
        return false;
    QWidget *w = form->finestra();
    w->setAttribute(Qt::WA_DeleteOnClose);
    if (w->objectName().isEmpty())
        w->setObjectName(psNomeForm);
    impostaLancio(form, dati);

    bool caricato = true;
    try {
        form->Form_Load();
    } catch (...) {
        caricato = false;
    }
    if (!caricato || form->oiLoadOk().toInt() == -1) {
        scarica(w);
        avvisa();
        AvviaTimerChiusura(0);
        return false;
    }

    pulisci();
    tracciati().append({psNomeForm, QPointer<QWidget>(w), form});
    w->show();
    TieniSulloSchermo(w);
    if (frmPrincipale *frm = Globali::FrmP) {
        frm->osNomeForm = psNomeForm;
        frm->oiFlagVarie = 1;
        frm->timVarie.start();
    }
    return true;
}

bool ApriFormPerNome(const QString &psNomeForm, const ChiaviLancio &dati)
{
    if (FormLanciabile *aperto = FormAperto(psNomeForm)) {
        impostaLancio(aperto, dati);
        PortaInPrimoPiano(psNomeForm);
        return true;
    }
    const FabbricaForm fabbrica = RegistroForm::Cerca(psNomeForm);
    FormLanciabile *form = fabbrica ? fabbrica() : nullptr;
    if (!form) {
        avvisa();
        AvviaTimerChiusura(0);
        return false;
    }
    return ApriFormRichiesta(form, psNomeForm.trimmed(), dati);
}

QList<FormLanciabile *> FormAperti()
{
    pulisci();
    QList<FormLanciabile *> r;
    for (const FormTracciato &t : tracciati())
        r << t.form;
    return r;
}

FormLanciabile *FormAperto(const QString &psNomeForm)
{
    pulisci();
    for (const FormTracciato &t : tracciati())
        if (t.nome.compare(psNomeForm.trimmed(), Qt::CaseInsensitive) == 0)
            return t.form;
    return nullptr;
}

FormLanciabile *FormAttivo()
{
    pulisci();
    const auto &l = tracciati();
    if (l.isEmpty())
        return nullptr;
    for (const FormTracciato &t : l)
        if (t.finestra == QApplication::activeWindow())
            return t.form;
    return l.last().form;
}

namespace
{

void mostraInPrimoPiano(QWidget *w)
{
    if (w->isMinimized())
        w->showNormal();
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace

void PortaInPrimoPiano(const QString &psNomeForm)
{
    pulisci();
    for (const FormTracciato &t : tracciati())
        if (t.nome.compare(psNomeForm.trimmed(), Qt::CaseInsensitive) == 0)
            return mostraInPrimoPiano(t.finestra);
}

void PortaInPrimoPiano(FormLanciabile *form)
{
    pulisci();
    for (const FormTracciato &t : tracciati())
        if (t.form == form)
            return mostraInPrimoPiano(t.finestra);
}
