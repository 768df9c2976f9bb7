// INI readers and writers over this terminal's INI and the common INI.
#include "services/Parametri.h"

#include "components/util/ProfiloIni.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QFileInfo>

namespace
{

// The common INI when it is set and is not this terminal's file.
QString iniComune()
{
    const QString c = Globali::PathIniComune.trimmed();
    if (c.isEmpty())
        return QString();
    const QString t = Globali::PathIni.trimmed();
    if (!t.isEmpty() && QFileInfo(c).absoluteFilePath() == QFileInfo(t).absoluteFilePath())
        return QString();
    return c;
}

QString messaggioNonRiuscito(const QString &section, const QString &key, const QString &value)
{
    const QString a = QStringLiteral("\r\n");
    return QStringLiteral("Aggiornamento del valore : ") + value + a + QStringLiteral("nella sezione : ") +
           section + a + QStringLiteral("parametro : ") + key + a + QStringLiteral("NON RIUSCITO.") + a +
           QStringLiteral("durante l' aggiornamento(1)");
}

} // namespace

QString LeggiParIni(const QString &section, const QString &key, const QString &def, QString &value)
{
    if (!Globali::PathIni.isEmpty()) {
        ProfiloIni ini(Globali::PathIni);
        if (ini.EsisteChiave(section, key)) {
            value = ini.LeggiStringa(section, key, def);
            return QStringLiteral("1");
        }
    }
    const QString comune = iniComune();
    if (!comune.isEmpty()) {
        ProfiloIni ini(comune);
        if (ini.EsisteChiave(section, key)) {
            value = ini.LeggiStringa(section, key, def);
            return QStringLiteral("2");
        }
    }
    value = def;
    return QStringLiteral("0");
}

QString LeggiParIni(const QString &section, const QString &key, const QString &def)
{
    QString value;
    LeggiParIni(section, key, def, value);
    return value;
}

bool ScriviParIni(const QString &section, const QString &key, const QString &value, bool pbMostraMsg,
                  bool pbCreaSeManca, int piLivello, bool pbCancSezione, bool pbCancChiave,
                  const QString &psFile)
{
    QString file = psFile;
    bool trovato = false;
    if (file.isEmpty()) {
        const QString terminale = Globali::PathIni;
        const QString comune = iniComune();
        auto contiene = [&](const QString &f) {
            if (f.isEmpty())
                return false;
            ProfiloIni ini(f);
            return pbCancSezione ? ini.EsisteSezione(section) : ini.EsisteChiave(section, key);
        };
        if (contiene(terminale)) {
            file = terminale;
            trovato = true;
        } else if (contiene(comune)) {
            file = comune;
            trovato = true;
        } else {
            file = (piLivello >= 2 && !comune.isEmpty()) ? comune : terminale;
        }
    } else {
        ProfiloIni ini(file);
        trovato = pbCancSezione ? ini.EsisteSezione(section) : ini.EsisteChiave(section, key);
    }

    // Removing what is not there leaves the files as they are.
    if ((pbCancSezione || pbCancChiave) && !trovato)
        return true;
    if (!pbCancSezione && !pbCancChiave && !trovato && !pbCreaSeManca)
        return false;

    bool ok = false;
    if (!file.isEmpty()) {
        ProfiloIni ini(file);
        if (pbCancSezione)
            ok = ini.EliminaSezione(section);
        else if (pbCancChiave)
            ok = ini.EliminaChiave(section, key);
        else
            ok = ini.ScriviStringa(section, key, value);
    }
    if (!ok && pbMostraMsg)
        msgCom(messaggioNonRiuscito(section, key, value));
    return ok;
}

QString LeggiListaIni(const QString &path, const QString &separator, const QString &section,
                      QString &placeholder, QString &value)
{
    placeholder.clear();
    value.clear();
    if (separator.isEmpty())
        return path;
    QString risultato;
    qsizetype pos = 0;
    while (pos < path.size()) {
        const qsizetype inizio = path.indexOf(separator, pos);
        if (inizio < 0)
            break;
        const qsizetype fine = path.indexOf(separator, inizio + separator.size());
        if (fine < 0)
            break;
        const QString chiave = path.mid(inizio + separator.size(), fine - inizio - separator.size());
        const QString valore = LeggiParIni(section, chiave, QString());
        if (placeholder.isEmpty()) {
            placeholder = path.mid(inizio, fine + separator.size() - inizio);
            value = valore;
        }
        risultato += path.mid(pos, inizio - pos) + valore;
        pos = fine + separator.size();
    }
    risultato += path.mid(pos);
    return risultato;
}
