// Saved print options read into a print's options.
#include "components/stampa/OpzStampaIni.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/MessaggiStampa.h"
#include "services/Globali.h"

void CaricaOpzioniStampa(OpzStampa &opz)
{
    FontiOpzioni fonti;
    fonti.iniTerminale = Globali::PathIni;
    fonti.iniComune = Globali::PathIniComune == Globali::PathIni ? QString() : Globali::PathIniComune;
    fonti.risVidStaVid = Globali::RisVidStaVid;
    fonti.nomeStampante = [](const QString &nome) { return StampanteDaSessione(nome); };
    const QString fuori = CaricaOpzioniSalvate(opz, fonti);
    if (!fuori.isEmpty())
        MessaggiStampa::Avviso(fuori);
}
