// First and last steps of a window's load.
#include "services/FormPrepara.h"

#include "services/FormComune.h"
#include "services/Globali.h"
#include "services/RisVid.h"
#include "services/frmConn.h"

#include <QDialog>
#include <QRegularExpression>
#include <QWidget>

namespace
{

int gestori(int comPag, int linPag, int lisPag)
{
    return (comPag ? FormComune::GestorePagine : 0) | (linPag ? FormComune::GestoreLinee : 0) |
           (lisPag ? FormComune::GestoreLista : 0);
}

void passa(FormComune *form, int quali, const QString &nome, const QVariant &valore)
{
    for (int g : {FormComune::GestorePagine, FormComune::GestoreLinee, FormComune::GestoreLista})
        if (quali & g)
            form->ParGestore(g, nome, valore);
}

} // namespace

QString LeggiChiaveParametro(const QString &parametro, const QString &chiave)
{
    const QStringList parti = parametro.split(QRegularExpression(QStringLiteral("[;|]")), Qt::SkipEmptyParts);
    for (const QString &p : parti) {
        const int uguale = p.indexOf(QLatin1Char('='));
        if (uguale > 0 && p.left(uguale).trimmed().compare(chiave, Qt::CaseInsensitive) == 0)
            return p.mid(uguale + 1).trimmed();
    }
    for (const QString &p : parti)
        if (p.trimmed().compare(QLatin1Char('/') + chiave, Qt::CaseInsensitive) == 0)
            return p.trimmed();
    return {};
}

QVariant PreparaForm(FormComune *form, int pbComPag, int, int pbLinPag, int, int pbLisPag, int, int pbRO,
                     int pbNoAttesa, int pbRisVid, const QString &psTesto)
{
    if (!pbNoAttesa)
        frmConn::Mostra(QStringLiteral("Caricamento maschera"));
    if (!form)
        return false;
    if (!psTesto.isEmpty() && form->finestra())
        form->finestra()->setWindowTitle(psTesto);
    if (pbRO) {
        const QString ro = LeggiChiaveParametro(form->ParametroApertura(), QStringLiteral("RO"));
        form->oiAbilRW(ro.compare(QStringLiteral("/RO"), Qt::CaseInsensitive) == 0 ? 0 : 1);
    }
    if (pbRisVid) {
        const QVariant fattore = AdattaRisVideo(form, {}, 0);
        passa(form, gestori(pbComPag, pbLinPag, pbLisPag), QStringLiteral("RisVid"), fattore);
    }
    return true;
}

QVariant FinePreparaForm(FormComune *form, int pbComPag, int, int pbLinPag, int, int pbLisPag, int,
                         int pbTieniAttesa, int pbRisVid, const QVariant &pvStato)
{
    if (form) {
        const int quali = gestori(pbComPag, pbLinPag, pbLisPag);
        passa(form, quali, QStringLiteral("AbilRW"), form->oiAbilRW());
        if (pbRisVid)
            passa(form, quali, QStringLiteral("RisVidFatta"), true);
        if (QWidget *w = form->finestra()) {
            int stato = -1;
            if (pvStato.isValid())
                stato = pvStato.toInt();
            else if (Globali::ParMassimizzato.trimmed().compare(QStringLiteral("S"), Qt::CaseInsensitive) ==
                         0 &&
                     !qobject_cast<QDialog *>(w))
                stato = 2;
            if (stato == 0)
                w->setWindowState(w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
            else if (stato == 1)
                w->setWindowState(w->windowState() | Qt::WindowMinimized);
            else if (stato == 2)
                w->setWindowState(w->windowState() | Qt::WindowMaximized);
        }
    }
    if (!pbTieniAttesa)
        frmConn::Scarica();
    return true;
}
