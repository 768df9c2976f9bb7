// Personal and named parameters held by the menu host.
#include "components/menu/ClienteMenu.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/Parametri.h"

namespace
{

ClienteMenu &client()
{
    if (!Globali::MenuClient)
        throw VbErrore(VbErrore::OggettoNonImpostato, QStringLiteral("Variabile oggetto non impostata"));
    return *Globali::MenuClient;
}

bool nonTrovato(const QVariant &v)
{
    return v.typeId() == QMetaType::QString && v.toString() == NonTrovatoMenu;
}

QString nomePersonale(const QString &section, const QString &key)
{
    return QStringLiteral("Personal.") + section + QStringLiteral(".§") + key;
}

} // namespace

QVariant LeggiParPersonale(const QString &section, const QString &key, const QVariant &def, QVariant *grezzo,
                           const QString &section2, const QString &key2)
{
    // Without a host no personal setting can exist.
    if (!Globali::MenuClient) {
        if (grezzo)
            *grezzo = NonTrovatoMenu;
        return def;
    }
    QVariant v = Globali::MenuClient->LeggiPar(nomePersonale(section, key), QString());
    if (nonTrovato(v) && !section2.isEmpty() && !key2.isEmpty())
        v = Globali::MenuClient->LeggiPar(nomePersonale(section2, key2), QString());
    if (grezzo)
        *grezzo = v;
    // The host's marker never reaches the caller as if it were a value.
    return nonTrovato(v) ? def : v;
}

QVariant LeggiParMenu(const QString &name)
{
    const QVariant v = client().LeggiPar(name, QString());
    return nonTrovato(v) ? QVariant(QString()) : v;
}

void ScriviParMenu(const QString &name, const QVariant &value)
{
    client().ScriviPar(name, value);
}
