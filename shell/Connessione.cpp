// The connection to the company database.
#include "shell/Connessione.h"

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
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

namespace
{

QString parHostGrezzo(const QString &nome)
{
    ClienteMenu *mc = Globali::MenuClient;
    return mc ? mc->LeggiPar(nome, QString()).toString() : QString();
}

QString parHost(const QString &nome)
{
    return parHostGrezzo(nome).trimmed();
}

// An SQLite file path as written in the INI, made absolute.
QString percorsoFile(const QString &nomeDb, const QString &driveDb)
{
    if (QDir::isAbsolutePath(nomeDb))
        return nomeDb;
    const QString base = !driveDb.isEmpty() ? driveDb : QFileInfo(Globali::PathIni).absolutePath();
    return QDir::cleanPath(QDir(base).absoluteFilePath(nomeDb));
}

// A database that accepts no changes is said at once, not at the first save.
void avvisaSolaLettura(DbMotore *db, const QString &origine, bool odbc)
{
    if (!db->SolaLettura(Globali::DbAzienda))
        return;
    frmConn::Scarica();
    const QString come =
        odbc ? QStringLiteral(
                   "chiedere all'amministratore del server che l'utente del database possa scrivere")
             : QStringLiteral(
                   "chiedere all'amministratore il permesso di scrittura sul file %1 e sulla sua cartella")
                   .arg(QDir::toNativeSeparators(origine));
    msgCom(
        QStringLiteral("Il database dell'azienda è aperto in sola lettura: i dati si possono consultare, ma "
                       "nessuna modifica potrà essere salvata.\nPer poter salvare, %1, poi riavviare il "
                       "programma.")
            .arg(come),
        QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
}

// At each opening a company made before them gets: the history's
// once-a-day key; the change counter of the look-up tables; the indexes made
// for its engine since it was created, those they replace or that only
// misled the planner dropped, and the planner's statistics brought up to
// date (SQLite; a server keeps its own). Each step stands alone: a company
// that refuses one (read-only, no rights, locked by another program) opens
// all the same, its forms reading the look-up tables at every record when it
// has no counter, and is tried again at the next start.
void aggiornaAllApertura(DbMotore *db)
{
    if (db->SolaLettura(Globali::DbAzienda))
        return;
    for (void (*passo)(QSqlDatabase &) :
         {&Schema::ChiaveStoricoGiorno, &Schema::VersioneDecodifiche, &Schema::IndiciAllApertura}) {
        try {
            QSqlDatabase q = db->DatabaseDao(Globali::DbAzienda);
            passo(q);
        } catch (const VbErrore &) {
        }
    }
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
            if (!QFileInfo(scelto).isFile())
                return QStringLiteral(
                           "Err: File di configurazione dell'archivio scelto non trovato: %1\n"
                           "Controllare l'elenco degli archivi ([Parametri Generali] Ini1, Ini2... "
                           "in %2).")
                    .arg(QDir::toNativeSeparators(scelto), QDir::toNativeSeparators(Globali::PathIni));
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

        // The host's login and password go to the data layer apart from the
        // connect text, which could not hold a ";" of theirs.
        const bool odbc = TipoConnOdbc(nomeDb);
        const QString login = odbc ? parHost(ParHostLogin) : QString();
        const QString password = login.isEmpty() ? QString() : parHostGrezzo(ParHostPassword);
        const QString origine = odbc ? nomeDb : percorsoFile(nomeDb, driveDb);
        Globali::NomeDbAzienda = origine;

        DbMotore *db = Globali::DbComp();
        for (;;) {
            frmConn::Mostra(TestoConnessione);
            try {
                db->ApriConnessione(Globali::DbAzienda, origine, connect, login, password);
                break;
            } catch (const VbErrore &e) {
                frmConn::Scarica();
                const QString causa = NascondiPassword(e.descrizione());
                const int scelta = msgCom(
                    QStringLiteral("Impossibile aprire il database dell'azienda:\n") + causa,
                    QStringLiteral("&Riprova"), QStringLiteral("&Annulla"), {}, {}, 80, false, 600, 0, 1);
                if (scelta != 1)
                    return ConnessioneAnnullata;
            }
        }
        avvisaSolaLettura(db, origine, odbc);
        aggiornaAllApertura(db);
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

void VersioneMenu()
{
    DbMotore *db = Globali::DbComp();
    if (!db || !db->EsisteConnessione(Globali::DbAzienda))
        return;
    try {
        if (db->TipoSql(Globali::DbAzienda)) {
            if (db->SolaLettura(Globali::DbAzienda))
                return;
            QString schema = db->Parametro(QStringLiteral("SchemaMenu:") + Globali::DbAzienda).toString();
            if (schema.isEmpty())
                schema = QStringLiteral("menu");
            QSqlDatabase q = db->DatabaseDao(Globali::DbAzienda);
            Schema::VersioneMenu(q, schema);
            return;
        }
        const QString file = Globali::NomeDbMenu;
        if (file.isEmpty() || !QFileInfo(file).isFile() || !QFileInfo(file).isWritable())
            return;
        const QString nome = QStringLiteral("versione-menu");
        {
            QSqlDatabase q = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
            q.setDatabaseName(file);
            q.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
            if (q.open()) {
                try {
                    Schema::VersioneMenu(q);
                } catch (const VbErrore &) {
                }
                q.close();
            }
        }
        QSqlDatabase::removeDatabase(nome);
    } catch (const VbErrore &) {
    }
}
