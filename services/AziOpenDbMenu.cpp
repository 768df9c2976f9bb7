// The common menu database.
#include "services/AziOpenDbMenu.h"

#include "components/db/DbMotore.h"
#include "components/util/ProfiloIni.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QDir>
#include <QFileInfo>

namespace
{

// The schema of the menu tables on DbMenu: on a server connection they live
// in a schema of the company database; a menu file has them as its own.
QString schemaMenu()
{
    DbMotore *db = Globali::DbComp();
    return db->TipoSql(Globali::DbMenu)
               ? db->Parametro(QStringLiteral("SchemaMenu:") + Globali::DbMenu).toString()
               : QString();
}

} // namespace

QString LeggiNomeDbMenu()
{
    const ProfiloIni ini(Globali::PathIni);
    QString nome = ini.LeggiStringa(QStringLiteral("Menu"), QStringLiteral("NomeDB")).trimmed();
    if (!nome.isEmpty() && !Globali::PathIni.isEmpty() && QDir::isRelativePath(nome))
        nome = QDir::cleanPath(QFileInfo(Globali::PathIni).absoluteDir().absoluteFilePath(nome));
    const QString pwd = ini.LeggiStringa(QStringLiteral("Menu"), QStringLiteral("PwdDB"));
    Globali::NomeDbMenu = nome;
    Globali::PwdConnectMenu = pwd.isEmpty() ? QString() : QStringLiteral(";pwd=") + pwd;
    return nome;
}

QVariant ApriDbComune()
{
    if (!Globali::DbMenu.isEmpty())
        return true;
    try {
        DbMotore *db = Globali::DbComp();
        if (db->EsisteConnessione(Globali::DbAzienda) && db->TipoSql(Globali::DbAzienda)) {
            Globali::DbMenu = Globali::DbAzienda;
            return true;
        }
        if (Globali::NomeDbMenu.isEmpty())
            LeggiNomeDbMenu();
        if (Globali::NomeDbMenu.isEmpty())
            return QStringLiteral("Err: database comune non configurato ([Menu] NomeDB)");
        db->ApriSqlite(NomeConnessioneMenu, Globali::NomeDbMenu);
        Globali::DbMenu = NomeConnessioneMenu;
        return true;
    } catch (const VbErrore &e) {
        return QStringLiteral("Err: ") + NascondiPassword(e.descrizione());
    }
}

bool LeggiScriviAppoggio(const QString &codice, int numero, QString &memo, int piScrivi, int piMostraMancante,
                         QString &descr, int piConDescr)
{
    if (numero < 1 || numero > 5) {
        memo.clear();
        descr.clear();
        return false;
    }
    if (Globali::DbMenu.isEmpty())
        ApriDbComune();
    if (Globali::DbMenu.isEmpty()) {
        memo.clear();
        descr.clear();
        return false;
    }
    DbMotore *db = Globali::DbComp();
    const QString colDescr = QStringLiteral("Descr%1").arg(numero);
    const QString colMemo = QStringLiteral("Memo%1").arg(numero);
    const QString schema = schemaMenu();
    const QString tabella =
        schema.isEmpty() ? QStringLiteral("Appoggio") : schema + QStringLiteral(".Appoggio");
    const QString chiave = Globali::Util().ValoreSql(codice, UtilGlob::TipoTesto);

    if (piScrivi == 0) {
        const auto r =
            db->Seleziona(Globali::DbMenu, QStringLiteral("SELECT %1, %2 FROM %3 WHERE Codice = %4")
                                               .arg(colDescr, colMemo, tabella, chiave));
        if (!r || r->numRighe() == 0) {
            memo.clear();
            descr.clear();
            if (piMostraMancante)
                msgCom(QStringLiteral("Dati non trovati"), QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600,
                       0, 1);
            return false;
        }
        descr = r->valore(0, 0).toString();
        memo = r->valore(0, 1).toString();
        return true;
    }

    QStringList colonne{colMemo};
    QVariantList valori{memo};
    if (piConDescr) {
        colonne.prepend(colDescr);
        valori.prepend(descr);
    }
    const QString appoggio = QStringLiteral("Appoggio");
    if (db->AggiornaRiga(Globali::DbMenu, appoggio, colonne, valori, {QStringLiteral("Codice")}, {codice},
                         schema) == 0) {
        colonne.prepend(QStringLiteral("Codice"));
        valori.prepend(codice);
        db->InserisciRiga(Globali::DbMenu, appoggio, colonne, valori, schema);
    }
    return true;
}
