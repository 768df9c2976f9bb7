// The link with the menu host.
#include "shell/scMenuComandiClie.h"

#include "components/menu/ClienteMenu.h"
#include "components/util/VbErrore.h"
#include "services/MsgCom.h"
#include "shell/ComandiMenu.h"

#include <QJsonDocument>

scMenuComandiClie::scMenuComandiClie(ClienteMenu *client, QObject *parent)
    : QObject(parent), mgMenuClient(client)
{
    mgMenuClient->setParent(this);
    connect(mgMenuClient, &ClienteMenu::EseguiComando, this, &scMenuComandiClie::mgMenuClient_EseguiComando,
            Qt::DirectConnection);
}

scMenuComandiClie::~scMenuComandiClie() = default;

void scMenuComandiClie::mgMenuClient_EseguiComando(const QString &comando, const QVariant &param)
{
    UltCom = comando;
    UltParamVar = param;
    UltParam = param.canConvert<QString>()
                   ? param.toString()
                   : QString::fromUtf8(QJsonDocument::fromVariant(param).toJson(QJsonDocument::Compact));
    // An error must not travel back into the host's link.
    QString risposta;
    try {
        risposta = EseguiComandoMenu(comando, param);
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    } catch (...) {
        // Any other failure of a window's command is the user's to see too.
        MsgErrfrm();
    }
    mgMenuClient->RispondiComando(risposta);
}
