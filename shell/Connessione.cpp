// The connection to the company database.
#include "shell/Connessione.h"

#include "components/db/DbMotore.h"
#include "components/menu/ClienteMenu.h"
#include "components/util/ProfiloIni.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/UtilPrg.h"
#include "services/frmConn.h"
#include "shell/SceltaIni.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString parHost(const QString &nome)
{
    ClienteMenu *mc = Globali::MenuClient;
    return mc ? mc->LeggiPar(nome, QString()).toString().trimmed() : QString();
}

// An SQLite file path as written in the INI, made absolute.
QString percorsoFile(const QString &nomeDb, const QString &driveDb)
{
    if (QDir::isAbsolutePath(nomeDb))
        return nomeDb;
    const QString base = !driveDb.isEmpty() ? driveDb : QFileInfo(Globali::PathIni).absolutePath();
    return QDir::cleanPath(QDir(base).absoluteFilePath(nomeDb));
}

} // namespace

QString ApriDbAzienda()
{
    try {
        const QList<VoceIni> elenco = ElencoIni(Globali::PathIni);
        if (!elenco.isEmpty()) {
            const QString scelto = ScegliIni(elenco);
            if (scelto.isEmpty())
                return QStringLiteral("Err: Nessun archivio scelto");
            Globali::PathIni = scelto;
        }

        const ProfiloIni ini(Globali::PathIni);
        const QString sez = QStringLiteral("Connessioni");
        QString nomeDb = ini.LeggiStringa(sez, QStringLiteral("NomeDB")).trimmed();
        const QString driveDb = ini.LeggiStringa(sez, QStringLiteral("DriveDB")).trimmed();
        QString connect = ini.LeggiStringa(sez, QStringLiteral("Connect")).trimmed();
        const QString owner = ini.LeggiStringa(sez, QStringLiteral("Owner")).trimmed();
        const QString execOption = ini.LeggiStringa(sez, QStringLiteral("Exec_option")).trimmed();

        if (const QString h = parHost(ParHostNomeDb); !h.isEmpty())
            nomeDb = h;
        if (const QString h = parHost(ParHostConnect); !h.isEmpty())
            connect = h;
        if (nomeDb.isEmpty())
            return QStringLiteral("Err: Database dell'azienda non indicato ([Connessioni] NomeDB in %1)")
                .arg(Globali::PathIni);

        const bool odbc = TipoConnOdbc(nomeDb);
        if (odbc) {
            const QString login = parHost(ParHostLogin);
            if (!login.isEmpty()) {
                if (!connect.isEmpty() && !connect.endsWith(QLatin1Char(';')))
                    connect += QLatin1Char(';');
                connect += QStringLiteral("UID=%1;PWD=%2").arg(login, parHost(ParHostPassword));
            }
        }
        const QString origine = odbc ? nomeDb : percorsoFile(nomeDb, driveDb);
        Globali::NomeDbAzienda = origine;

        DbMotore *db = Globali::DbComp();
        for (;;) {
            frmConn::Mostra(TestoConnessione);
            try {
                db->ApriConnessione(Globali::DbAzienda, origine, connect);
                break;
            } catch (const VbErrore &e) {
                frmConn::Scarica();
                const QString causa = NascondiPassword(e.descrizione());
                const int scelta = msgCom(QStringLiteral("Impossibile aprire il database dell'azienda:\n") + causa,
                                          QStringLiteral("&Riprova"), QStringLiteral("&Annulla"), {}, {}, 80,
                                          false, 600, 0, 1);
                if (scelta != 1)
                    return QStringLiteral("Err: ") + causa;
            }
        }
        if (!owner.isEmpty())
            db->ImpostaParametro(QStringLiteral("Owner:") + Globali::DbAzienda, owner);
        if (!execOption.isEmpty())
            db->ImpostaParametro(QStringLiteral("Exec_option:") + Globali::DbAzienda, execOption.toInt());
        return {};
    } catch (const VbErrore &e) {
        frmConn::Scarica();
        return QStringLiteral("Err: ") + NascondiPassword(e.descrizione());
    }
}
