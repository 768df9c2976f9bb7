// The interpreter of the menu host's command words.
#include "shell/ComandiMenu.h"

#include "components/menu/ClienteMenu.h"
#include "services/FormLanciabile.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "shell/ApriForm.h"
#include "shell/Chiusura.h"
#include "shell/GlobaliShell.h"
#include "shell/frmPrincipale.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>

namespace
{

QString comandoFine()
{
    if (QApplication::activeModalWidget())
        return RispostaNoChiudi;
    Globali::ChiusuraInCorso = -1;
    // The dispatched windows first, newest first, then whatever else is open.
    const QList<FormLanciabile *> forms = FormAperti();
    for (auto it = forms.crbegin(); it != forms.crend(); ++it)
        (*it)->finestra()->close();
    for (QWidget *w : FinestreAperte())
        w->close();
    if (!VerificaChiusura().isEmpty()) {
        Globali::ChiusuraInCorso = 0;
        return RispostaNoChiudi;
    }
    // The answer must reach the host before the link goes.
    QTimer::singleShot(0, qApp, [] { ChiudiProgramma(); });
    return RispostaOk;
}

// Launch keys of a command: the parameter names the window and the keys are
// the host's launch data; it may carry its own keys after the name, as text
// ("frmClienti;KeySec=0103001;Param=/RO") or as a map with a "form" entry.
// Key names: KeySec, ChiLancia, KeySecLancia, ParamLancia, Param.
QString apriDaComando(const QVariant &pvParam)
{
    QVariantMap voci;
    QString nome;
    if (pvParam.typeId() == QMetaType::QVariantMap) {
        voci = pvParam.toMap();
    } else {
        const QStringList parti = pvParam.toString().split(QLatin1Char(';'));
        voci.insert(QStringLiteral("form"), parti.value(0).trimmed());
        for (qsizetype i = 1; i < parti.size(); ++i) {
            const qsizetype uguale = parti[i].indexOf(QLatin1Char('='));
            if (uguale > 0)
                voci.insert(parti[i].left(uguale).trimmed(), parti[i].mid(uguale + 1));
        }
    }
    auto voce = [&voci](const char *k, bool *presente = nullptr) {
        for (auto it = voci.cbegin(); it != voci.cend(); ++it)
            if (it.key().compare(QLatin1String(k), Qt::CaseInsensitive) == 0) {
                if (presente)
                    *presente = true;
                return it.value().toString();
            }
        return QString();
    };

    ChiaviLancio chiavi;
    if (ClienteMenu *mc = Globali::MenuClient) {
        const DatiLancio d = mc->LeggiDatiLancio();
        chiavi.osKeyLancia = d.ChiLancia;
        chiavi.osKeySecLancia = d.KeySecLancia;
        chiavi.osParamLancia = d.ParamLancia;
    }
    bool c = false;
    if (const QString v = voce("ChiLancia", &c); c)
        chiavi.osKeyLancia = v;
    if (const QString v = voce("KeySecLancia", &(c = false)); c)
        chiavi.osKeySecLancia = v;
    if (const QString v = voce("ParamLancia", &(c = false)); c)
        chiavi.osParamLancia = v;
    chiavi.osKeySec = chiavi.osKeySecLancia;
    chiavi.osParam = chiavi.osParamLancia;
    if (const QString v = voce("KeySec", &(c = false)); c)
        chiavi.osKeySec = v;
    if (const QString v = voce("Param", &(c = false)); c)
        chiavi.osParam = v;

    nome = voce("form").trimmed();
    if (nome.isEmpty())
        nome = Globali::FormIniziale;
    return ApriFormPerNome(nome, chiavi) ? RispostaOk : QString();
}

QString comandoRitornoa(const QVariant &pvParam)
{
    FormLanciabile *form = FormAperto(pvParam.toString());
    if (!form)
        form = FormAttivo();
    if (!form)
        return {};
    QPointer<QWidget> w(form->finestra());
    form->ButtonComando(QStringLiteral("Aggiorna"));
    if (w)
        PortaInPrimoPiano(form);
    return RispostaOk;
}

void mostraFatturaElettronica(const QString &testo)
{
    // Shown after the answer has gone, so the host does not wait on the user.
    QTimer::singleShot(0, qApp, [testo] {
        msgCom(testo, QStringLiteral("&Ok"), {}, {}, QStringLiteral("Fatturazione elettronica"), 80, false,
               600, {}, 1);
    });
}

} // namespace

QString EseguiComandoMenu(const QString &psComando, const QVariant &pvParam)
{
    const QString c = psComando.trimmed().toLower();
    if (c == QLatin1String("fine"))
        return comandoFine();
    if (c == QLatin1String("esiste"))
        return RispostaSi;
    if (c == QLatin1String("ritornoa"))
        return comandoRitornoa(pvParam);
    if (c == QLatin1String("attiva") || c == QLatin1String("passaa"))
        return apriDaComando(pvParam);
    if (c == QLatin1String("preppassaa")) {
        for (FormLanciabile *f : FormAperti())
            f->PassaA();
        return RispostaOk;
    }
    if (c == QLatin1String("keyprgprim"))
        return Globali::KeyPrgPrim;
    if (c == QLatin1String("keyprgsec"))
        return Globali::KeyPrgSec;
    if (c == QLatin1String("paramprgclie")) {
        Globali::ParamPrgClie = pvParam;
        return RispostaOk;
    }
    if (c == QLatin1String("comandoprgclie")) {
        FormLanciabile *form = FormAttivo();
        if (!form || pvParam.toString().trimmed().isEmpty())
            return {};
        form->ButtonComando(pvParam.toString().trimmed());
        return RispostaOk;
    }
    if (c == QLatin1String("feinvio") || c == QLatin1String("feattesa")) {
        mostraFatturaElettronica(pvParam.toString());
        return RispostaOk;
    }
    return {};
}
