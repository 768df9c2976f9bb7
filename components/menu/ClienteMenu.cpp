// The back-end-independent part of the menu client: launch data, host
// commands and the choice of back-end.
#include "components/menu/ClienteMenu.h"

#include "components/menu/ClienteMenuLocale.h"
#include "components/menu/ClienteMenuSocket.h"
#include "components/util/VbErrore.h"

#include <memory>

DatiLancio ClienteMenu::LeggiDatiLancio()
{
    DatiLancio d;
    d.ChiLancia = LeggiPar(ParChiLancia, QString()).toString();
    d.KeySecLancia = LeggiPar(ParKeySecLancia, QString()).toString();
    d.ParamLancia = LeggiPar(ParParamLancia, QString()).toString();
    return d;
}

QString ClienteMenu::EseguiComandoHost(const QString &comando, const QVariant &param)
{
    // A handler may itself wait on the host, which may send another command
    // meanwhile: each command keeps its own answer.
    const QString precedente = m_risposta;
    m_risposta.clear();
    QString risposta;
    try {
        emit EseguiComando(comando, param);
        risposta = m_risposta;
    } catch (const VbErrore &e) {
        risposta = QStringLiteral("Err:") + e.descrizione();
    } catch (const std::exception &e) {
        risposta = QStringLiteral("Err:") + QString::fromUtf8(e.what());
    }
    m_risposta = precedente;
    return risposta;
}

bool ClienteMenu::NomePersonale(const QString &nome)
{
    return nome.startsWith(QStringLiteral("Personal."), Qt::CaseInsensitive);
}

ClienteMenu *CreaClienteMenu(const QString &fileParametri, QObject *parent)
{
    const QString server = qEnvironmentVariable("CLIENTI_MENU_SOCKET");
    if (!server.isEmpty()) {
        auto c = std::make_unique<ClienteMenuSocket>(parent);
        c->Connetti(server);
        return c.release();
    }
    auto c = std::make_unique<ClienteMenuLocale>(fileParametri, QString(), parent);
    c->Carica();
    return c.release();
}
