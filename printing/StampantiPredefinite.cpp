// The program's default printer and its current printer.
#include "printing/AziendaUtilStampe.h"

#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/ProfiloStampanti.h"
#include "components/stampa/StampanteApp.h"
#include "components/util/VbErrore.h"
#include "printing/MessaggiStampa.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"
#include "services/UtilPrg.h"

namespace
{

bool stessoNome(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool vuoto(const QString &s)
{
    return s.trimmed().isEmpty();
}

} // namespace

void SeparaDriverPorta(const QString &testo, QString &driver, QString &porta)
{
    driver.clear();
    porta.clear();
    const int prima = testo.indexOf(QLatin1Char(','));
    if (prima < 0)
        return;
    driver = testo.left(prima);
    const int seconda = testo.indexOf(QLatin1Char(','), prima + 1);
    if (seconda < 0)
        return;
    porta = testo.mid(prima + 1, seconda - prima - 1);
}

std::optional<Stampante> LeggiStampantePredefinita(QString &nome, QString &nomeMancante, QString &porta)
{
    const QString device = ProfiloStampanti::LeggiDevice().section(QChar(0), 0, 0);
    nomeMancante.clear();
    // A line without commas names no printer (rather than failing).
    const int prima = device.indexOf(QLatin1Char(','));
    if (prima < 0) {
        nome.clear();
        porta.clear();
        return std::nullopt;
    }
    nome = device.left(prima);
    const int seconda = device.indexOf(QLatin1Char(','), prima + 1);
    porta = seconda < 0 ? QString() : device.mid(seconda + 1);
    for (const Stampante &s : Catalogo().Stampanti())
        if (stessoNome(s.DeviceName, nome))
            return s;
    nomeMancante = nome;
    nome.clear();
    return std::nullopt;
}

void RipristinaStampantePredef(QString &nome, QString &nomeMancante, QString &porta)
{
    if (Globali::StampanteImpostata != 1)
        return;
    const std::optional<Stampante> s = LeggiStampantePredefinita(nome, nomeMancante, porta);
    if (!s)
        throw VbErrore(VbErrore::OggettoNonImpostato,
                       QStringLiteral("La stampante predefinita %1 non è installata").arg(nomeMancante));
    StampanteApp::Imposta(*s);
}

QString LeggiPortaStampante(const QString &nome, QString &driver)
{
    QString porta;
    SeparaDriverPorta(ProfiloStampanti::LeggiPorte(nome), driver, porta);
    return porta;
}

void ScriviDeviceWinIni(const QString &nome, const QString &driver, const QString &porta)
{
    // The current printer follows the profile's default by itself: no one
    // else needs telling.
    ProfiloStampanti::ScriviDevice(nome + QLatin1Char(',') + driver + QLatin1Char(',') + porta);
}

QVariant ImpostaStampanteWindows(const QString &nome)
{
    if (nome.isEmpty())
        return {};
    try {
        QString driver, porta;
        SeparaDriverPorta(ProfiloStampanti::LeggiPorte(nome), driver, porta);
        if (driver.isEmpty() || porta.isEmpty())
            return false;
        // Only a printer that can print becomes the default: a line naming an
        // uninstalled one would leave the program without a default printer.
        if (!Catalogo().Cerca(nome).valida())
            return false;
        ScriviDeviceWinIni(nome, driver, porta);
        return true;
    } catch (...) {
        MsgErrfrm(QString(), QString());
        return {};
    }
}

bool ImpostaStampanteDaOpz(OpzStampa &opz)
{
    const QString nome = opz.osNomeStampante();
    if (vuoto(nome))
        return true;
    const Stampante s = Catalogo().Cerca(nome);
    if (s.valida()) {
        StampanteApp::Imposta(s);
        Globali::StampanteImpostata = 1;
        return true;
    }
    if (Globali::StampanteImpostata != 1) {
        opz.ImpostaParStampa(QStringLiteral("StampanteDefOri"), StampanteApp::Corrente().DeviceName,
                             OpzStampa::TipoTesto);
        if (ImpostaStampanteWindows(nome).toBool())
            return stessoNome(StampanteApp::Corrente().DeviceName, nome);
        opz.ImpostaParStampa(QStringLiteral("StampanteDefOri"), QString(), OpzStampa::TipoTesto);
        return false;
    }
    return false;
}

bool ImpostaStampanteDaNome(const QString &nome, bool conMessaggi, const QString &nomeMostrato)
{
    bool risposta = false;
    try {
        if (conMessaggi)
            CursoreAttesa(true);
        if (vuoto(nome) || Catalogo().Cerca(nome).valida()) {
            risposta = true;
        } else if (Globali::StampanteImpostata != 1) {
            const QString ricordata = StampanteApp::Corrente().DeviceName;
            if (ImpostaStampanteWindows(nome).toBool()) {
                risposta = stessoNome(StampanteApp::Corrente().DeviceName, nome);
                ImpostaStampanteWindows(ricordata);
            }
        }
        if (conMessaggi && !risposta) {
            const QString mostrata = vuoto(nomeMostrato) ? StampanteApp::Corrente().DeviceName : nomeMostrato;
            MessaggiStampa::Avviso(
                QStringLiteral(
                    "Impossibile impostare la stampante predefinita\r\nLa stampa verrà fatta su ") +
                mostrata + QStringLiteral("\r\nper stampare su ") + nome +
                QStringLiteral(" uscire dal programma e rientrare"));
        }
        if (conMessaggi)
            CursoreAttesa(false);
        return risposta;
    } catch (...) {
        if (conMessaggi)
            CursoreAttesa(false);
        MsgErrfrm(QString(), QString());
        return false;
    }
}

bool ImpostaStampante(QString &nome, OpzStampa &opz, bool tornaSalvata)
{
    if (tornaSalvata) {
        if (!stessoNome(opz.osNomeStampante(), nome))
            return false;
        nome =
            StampanteDaSessione(LeggiParIni(opz.SezioneStampa(), QStringLiteral("NomeStampante"), QString()));
        if (vuoto(nome)) {
            QString predefinita, mancante, porta;
            LeggiStampantePredefinita(predefinita, mancante, porta);
            opz.osNomeStampante(predefinita.isEmpty() ? mancante : predefinita);
            opz.NomePorta(porta);
            return true;
        }
    }
    const Stampante s = Catalogo().Cerca(nome);
    if (s.valida()) {
        opz.osNomeStampante(s.DeviceName);
        opz.NomePorta(s.Port);
        opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 0);
        opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 0);
        return true;
    }
    QString driver;
    const QString porta = LeggiPortaStampante(nome, driver);
    if (!vuoto(porta)) {
        opz.osNomeStampante(nome);
        opz.NomePorta(porta);
        return true;
    }
    return false;
}

void MsgStampantePredefMancante(const QString &chiaveIni, const QString &nome, const QString &sezione)
{
    MessaggiStampa::Avviso(
        QStringLiteral("Nella lista delle stampanti non è disponibile la stampante predefinita ") + nome +
        QStringLiteral("\r\nUscire dal programma e rientrare per avere impostato la stampante predefinita"));
    ScriviParIni(sezione, chiaveIni, QString());
}

bool StampanteDiRete(const Stampante &stampante)
{
    if (!stampante.DeviceName.startsWith(QStringLiteral("\\\\")))
        return false;
    try {
        return PiattaformaOS().toString().trimmed() == QLatin1String("2");
    } catch (const VbErrore &) {
        // No menu host: no platform value, no network printer names.
        return false;
    }
}
