// The program's printer profile.
#include "components/stampa/ProfiloStampanti.h"

#include "components/stampa/CatalogoStampanti.h"
#include "components/util/ProfiloIni.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace
{

QString &percorsoImpostato()
{
    static QString p;
    return p;
}

const QString Windows = QStringLiteral("windows");
const QString Device = QStringLiteral("device");
const QString PrinterPorts = QStringLiteral("PrinterPorts");

bool preparaCartella()
{
    const QFileInfo info(ProfiloStampanti::Percorso());
    return QDir().mkpath(info.absolutePath());
}

} // namespace

namespace ProfiloStampanti
{

QString Percorso()
{
    if (!percorsoImpostato().isEmpty())
        return percorsoImpostato();
    const QString env = qEnvironmentVariable("CLIENTI_PROFILO_STAMPANTI");
    if (!env.isEmpty())
        return env;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("stampanti.ini"));
}

void ImpostaPercorso(const QString &percorso)
{
    percorsoImpostato() = percorso;
}

QString TestoDriverPorta(const QString &driver, const QString &porta)
{
    QString d = driver;
    d.replace(QLatin1Char(','), QLatin1Char(' '));
    QString p = porta;
    p.replace(QLatin1Char(','), QLatin1String("%2C"));
    return d + QLatin1Char(',') + p;
}

QString LeggiDevice()
{
    const ProfiloIni profilo(Percorso());
    if (profilo.EsisteChiave(Windows, Device))
        return profilo.LeggiStringa(Windows, Device);
    const Stampante s = Catalogo().Cerca(Catalogo().Predefinita());
    if (!s.valida())
        return QStringLiteral(",,,");
    QString nome = s.DeviceName;
    nome.replace(QLatin1Char(','), QLatin1Char(' '));
    return nome + QLatin1Char(',') + TestoDriverPorta(s.DriverName, s.Port);
}

bool ScriviDevice(const QString &valore)
{
    return preparaCartella() && ProfiloIni(Percorso()).ScriviStringa(Windows, Device, valore);
}

bool DimenticaDevice()
{
    return ProfiloIni(Percorso()).EliminaChiave(Windows, Device);
}

QStringList NomiPorte()
{
    QStringList nomi;
    QSet<QString> visti;
    for (const Stampante &s : Catalogo().Stampanti()) {
        if (visti.contains(s.DeviceName.toLower()))
            continue;
        visti.insert(s.DeviceName.toLower());
        nomi << s.DeviceName;
    }
    for (const QString &n : ProfiloIni(Percorso()).Chiavi(PrinterPorts)) {
        if (visti.contains(n.toLower()))
            continue;
        visti.insert(n.toLower());
        nomi << n;
    }
    return nomi;
}

QString LeggiPorte(const QString &nome)
{
    const ProfiloIni profilo(Percorso());
    if (profilo.EsisteChiave(PrinterPorts, nome))
        return profilo.LeggiStringa(PrinterPorts, nome);
    const Stampante s = Catalogo().Cerca(nome);
    if (!s.valida())
        return {};
    // The usual form of the entry: driver, port and the two timeouts.
    return TestoDriverPorta(s.DriverName, s.Port) + QStringLiteral(",15,45");
}

QString ModelloStampanteSessione()
{
    return ProfiloIni(Percorso())
        .LeggiStringa(QStringLiteral("Sessioni"), QStringLiteral("ModelloStampante"));
}

} // namespace ProfiloStampanti
