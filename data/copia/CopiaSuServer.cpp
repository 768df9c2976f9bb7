// Copies an SQLite company and its menu database into PostgreSQL.
#include "data/copia/CopiaSuServer.h"

#include "components/db/ErroriDb.h"
#include "components/db/Schema.h"
#include "components/util/VbErrore.h"

#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace CopiaSuServer
{

namespace
{

// Values bound per INSERT: many rows per statement save a round trip each,
// far below the protocol's 65,535 parameters.
constexpr int ValoriPerIstruzione = 2000;

[[noreturn]] void Fallita(const QString &cosa, const QSqlError &errore)
{
    throw VbErrore(VbErrore::ChiamataOdbcFallita,
                   QStringLiteral("%1.\nDettaglio: %2").arg(cosa, errore.text()));
}

QString Nome(const QString &identificatore)
{
    return u'"' + QString(identificatore).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString NomeTabella(const QString &schema, const QString &tabella)
{
    return Nome(schema) + u'.' + Nome(tabella);
}

// A column of a server table.
struct ColonnaServer {
    QString nome, tipo;
    bool contatore = false;
};

QList<ColonnaServer> ColonneServer(QSqlDatabase &server, const QString &schema, const QString &tabella)
{
    QSqlQuery q(server);
    q.prepare(QStringLiteral("SELECT a.attname, format_type(a.atttypid, a.atttypmod), a.attidentity::text "
                             "FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
                             "JOIN pg_namespace n ON n.oid = c.relnamespace "
                             "WHERE n.nspname = ? AND c.relname = ? AND a.attnum > 0 AND NOT a.attisdropped "
                             "ORDER BY a.attnum"));
    q.addBindValue(schema);
    q.addBindValue(tabella);
    if (!q.exec())
        Fallita(QStringLiteral("Colonne della tabella %1 non lette dal server").arg(tabella), q.lastError());
    QList<ColonnaServer> out;
    while (q.next())
        out.append(
            {q.value(0).toString(), q.value(1).toString(), !q.value(2).toString().trimmed().isEmpty()});
    return out;
}

// Base tables of a schema on the server, by name in lower case.
QHash<QString, QString> TabelleServer(QSqlDatabase &server, const QString &schema)
{
    QSqlQuery q(server);
    q.prepare(QStringLiteral("SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                             "WHERE c.relkind IN ('r', 'p') AND n.nspname = ? ORDER BY c.relname"));
    q.addBindValue(schema);
    if (!q.exec())
        Fallita(QStringLiteral("Tabelle dello schema %1 non lette dal server").arg(schema), q.lastError());
    QHash<QString, QString> out;
    while (q.next())
        out.insert(q.value(0).toString().toLower(), q.value(0).toString());
    return out;
}

qint64 Conta(QSqlDatabase &db, const QString &tabellaSql)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM ") + tabellaSql) || !q.next())
        Fallita(QStringLiteral("Righe della tabella %1 non contate").arg(tabellaSql), q.lastError());
    return q.value(0).toLongLong();
}

// A database that holds data is never written over: a copy goes into an
// empty one only.
void ControllaVuoto(QSqlDatabase &server)
{
    for (const QString &schema : {QStringLiteral("public"), SchemaMenu}) {
        const QHash<QString, QString> tabelle = TabelleServer(server, schema);
        for (const QString &tabella : tabelle) {
            // The change counter moves with the schema's own writes: it is no data.
            if (tabella.compare(Schema::TabellaVersione, Qt::CaseInsensitive) == 0 ||
                tabella.compare(Schema::TabellaVersioneMenu, Qt::CaseInsensitive) == 0)
                continue;
            QSqlQuery q(server);
            if (!q.exec(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(NomeTabella(schema, tabella))))
                Fallita(QStringLiteral("Tabella %1 non letta dal server").arg(tabella), q.lastError());
            if (q.next())
                throw VbErrore(
                    VbErrore::ChiamataOdbcFallita,
                    QStringLiteral("Il database di destinazione contiene già dati (tabella %1.%2): "
                                   "la copia si fa solo in un database vuoto. Creare un database nuovo "
                                   "e ripetere la copia.")
                        .arg(schema, tabella));
        }
    }
}

// What SQLite hands back, as the text the server casts to the column's type:
// amounts and doubles in their shortest exact form, an empty text kept apart
// from Null.
QVariant ComeTesto(const QVariant &v)
{
    if (v.isNull())
        return QVariant(QMetaType::fromType<QString>());
    switch (v.typeId()) {
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(v.toLongLong());
    case QMetaType::QByteArray:
        return QString::fromUtf8(v.toByteArray());
    default: {
        const QString s = v.toString();
        return s.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(s);
    }
    }
}

// Copies one table inside the caller's transaction; answers its rows.
qint64 CopiaTabella(QSqlDatabase &sqlite, const QString &tabellaSqlite, QSqlDatabase &server,
                    const QString &schema, const QString &tabellaServer)
{
    const QList<ColonnaServer> colonneServer = ColonneServer(server, schema, tabellaServer);
    QHash<QString, ColonnaServer> perNome;
    for (const ColonnaServer &c : colonneServer)
        perNome.insert(c.nome.toLower(), c);

    QSqlQuery info(sqlite);
    if (!info.exec(QStringLiteral("PRAGMA table_info(%1)").arg(Nome(tabellaSqlite))))
        Fallita(QStringLiteral("Colonne della tabella %1 non lette").arg(tabellaSqlite), info.lastError());
    QStringList lette, scritte, segni;
    while (info.next()) {
        const QString nome = info.value(1).toString();
        const auto it = perNome.constFind(nome.toLower());
        if (it == perNome.cend())
            throw VbErrore(
                VbErrore::ElementoNonTrovato,
                QStringLiteral("La colonna %1 della tabella %2 non esiste nello schema del server: la "
                               "copia non la potrebbe conservare.")
                    .arg(nome, tabellaSqlite));
        lette << Nome(nome);
        scritte << Nome(it->nome);
        segni << QStringLiteral("CAST(? AS %1)").arg(it->tipo);
    }
    info.finish();
    const int colonne = int(lette.size());
    const QString destinazione = NomeTabella(schema, tabellaServer);
    const QString riga = u'(' + segni.join(QStringLiteral(", ")) + u')';
    auto istruzione = [&](int righe) {
        QStringList tutte;
        for (int i = 0; i < righe; ++i)
            tutte << riga;
        return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(destinazione, scritte.join(QStringLiteral(", ")), tutte.join(QStringLiteral(", ")));
    };
    const int perIstruzione = std::max(1, ValoriPerIstruzione / std::max(1, colonne));
    QSqlQuery piena(server);
    if (!piena.prepare(istruzione(perIstruzione)))
        Fallita(QStringLiteral("Copia della tabella %1 non preparata").arg(tabellaSqlite), piena.lastError());

    QSqlQuery leggi(sqlite);
    leggi.setForwardOnly(true);
    if (!leggi.exec(
            QStringLiteral("SELECT %1 FROM %2").arg(lette.join(QStringLiteral(", ")), Nome(tabellaSqlite))))
        Fallita(QStringLiteral("Tabella %1 non letta").arg(tabellaSqlite), leggi.lastError());
    QVariantList valori;
    qint64 copiate = 0;
    auto scrivi = [&](QSqlQuery &q) {
        for (int i = 0; i < valori.size(); ++i)
            q.bindValue(i, valori.at(i));
        if (!q.exec())
            Fallita(QStringLiteral("Righe della tabella %1 non copiate").arg(tabellaSqlite), q.lastError());
        copiate += valori.size() / colonne;
        valori.clear();
    };
    while (leggi.next()) {
        for (int i = 0; i < colonne; ++i)
            valori << ComeTesto(leggi.value(i));
        if (valori.size() == perIstruzione * colonne)
            scrivi(piena);
    }
    if (leggi.lastError().isValid())
        Fallita(QStringLiteral("Tabella %1 non letta").arg(tabellaSqlite), leggi.lastError());
    if (!valori.isEmpty()) {
        QSqlQuery resto(server);
        if (!resto.prepare(istruzione(int(valori.size() / colonne))))
            Fallita(QStringLiteral("Copia della tabella %1 non preparata").arg(tabellaSqlite),
                    resto.lastError());
        scrivi(resto);
    }

    // Counters go on after the highest copied value.
    for (const ColonnaServer &c : colonneServer) {
        if (!c.contatore)
            continue;
        QSqlQuery q(server);
        q.prepare(QStringLiteral(
                      "SELECT setval(pg_get_serial_sequence(?, ?), COALESCE((SELECT max(%1) FROM %2), 0) + "
                      "1, false)")
                      .arg(Nome(c.nome), destinazione));
        q.addBindValue(destinazione);
        q.addBindValue(c.nome);
        if (!q.exec())
            Fallita(QStringLiteral("Contatore della tabella %1 non aggiornato").arg(tabellaSqlite),
                    q.lastError());
    }
    return copiate;
}

// Opens an SQLite file for reading; throws 3024 when it is missing.
QSqlDatabase ApriSqlite(const QString &percorso, const QString &nomeQt)
{
    if (!QFileInfo(percorso).isFile())
        throw VbErrore(ErroriDb::FileNonTrovato, QStringLiteral("File non trovato: %1").arg(percorso));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nomeQt);
    db.setDatabaseName(percorso);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        Fallita(QStringLiteral("Database %1 non aperto").arg(percorso), db.lastError());
    return db;
}

// Copies every table of an SQLite file into a schema of the server.
void CopiaFile(const QString &percorso, QSqlDatabase &server, const QString &schema, QList<Tabella> &copiate,
               const Avanzamento &avanzamento)
{
    const QString nomeQt =
        QStringLiteral("CopiaSuServer_") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase sqlite = ApriSqlite(percorso, nomeQt);
        const QHash<QString, QString> tabelleServer = TabelleServer(server, schema);
        QStringList tabelle;
        {
            QSqlQuery q(sqlite);
            if (!q.exec(
                    QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                   "'sqlite\\_%' ESCAPE '\\' ORDER BY name")))
                Fallita(QStringLiteral("Tabelle di %1 non lette").arg(percorso), q.lastError());
            while (q.next())
                tabelle << q.value(0).toString();
        }
        for (const QString &tabella : std::as_const(tabelle)) {
            // The server keeps its own change counters, moved by the rows copied.
            if (tabella.compare(Schema::TabellaVersione, Qt::CaseInsensitive) == 0 ||
                tabella.compare(Schema::TabellaVersioneMenu, Qt::CaseInsensitive) == 0)
                continue;
            const QString suServer = tabelleServer.value(tabella.toLower());
            if (suServer.isEmpty())
                throw VbErrore(
                    VbErrore::ElementoNonTrovato,
                    QStringLiteral("La tabella %1 di %2 non esiste nello schema del programma: la copia "
                                   "non la potrebbe conservare.")
                        .arg(tabella, percorso));
            const qint64 righe = CopiaTabella(sqlite, tabella, server, schema, suServer);
            const qint64 origine = Conta(sqlite, Nome(tabella));
            const qint64 arrivo = Conta(server, NomeTabella(schema, suServer));
            if (righe != origine || arrivo != origine)
                throw VbErrore(
                    VbErrore::ChiamataOdbcFallita,
                    QStringLiteral("La tabella %1 ha %2 righe nel file e %3 sul server: copia annullata.")
                        .arg(tabella)
                        .arg(origine)
                        .arg(arrivo));
            copiate.append({schema, suServer, arrivo});
            if (avanzamento)
                avanzamento(copiate.last());
        }
        sqlite.close();
    }
    QSqlDatabase::removeDatabase(nomeQt);
}

void Esegui(QSqlDatabase &server, const QString &sql)
{
    QSqlQuery q(server);
    if (!q.exec(sql))
        Fallita(QStringLiteral("Istruzione non eseguita: %1").arg(sql), q.lastError());
}

} // namespace

QList<Tabella> Copia(const QString &fileAzienda, const QString &fileMenu, QSqlDatabase &server,
                     const Avanzamento &avanzamento)
{
    if (!server.isOpen() || Schema::MotoreDi(server) != Schema::Motore::PostgreSQL)
        throw VbErrore(VbErrore::ChiamataOdbcFallita,
                       QStringLiteral("La copia va fatta su un database PostgreSQL aperto."));
    for (const QString &f : {fileAzienda, fileMenu})
        if (!f.isEmpty() && !QFileInfo(f).isFile())
            throw VbErrore(ErroriDb::FileNonTrovato, QStringLiteral("File non trovato: %1").arg(f));
    ControllaVuoto(server);

    // The company schema first: it creates citext in public, where the menu
    // schema's columns find it.
    Schema::ApplicaAzienda(server);
    if (!fileMenu.isEmpty()) {
        Esegui(server, QStringLiteral("CREATE SCHEMA IF NOT EXISTS ") + Nome(SchemaMenu));
        Esegui(server, QStringLiteral("SET search_path TO %1, public").arg(Nome(SchemaMenu)));
        try {
            Schema::ApplicaMenu(server);
        } catch (...) {
            Esegui(server, QStringLiteral("SET search_path TO public"));
            throw;
        }
        Esegui(server, QStringLiteral("SET search_path TO public"));
    }

    QList<Tabella> copiate;
    if (!server.transaction())
        Fallita(QStringLiteral("Transazione della copia non aperta"), server.lastError());
    try {
        CopiaFile(fileAzienda, server, QStringLiteral("public"), copiate, avanzamento);
        if (!fileMenu.isEmpty())
            CopiaFile(fileMenu, server, SchemaMenu, copiate, avanzamento);
    } catch (...) {
        server.rollback();
        throw;
    }
    if (!server.commit()) {
        const QSqlError errore = server.lastError();
        server.rollback();
        Fallita(QStringLiteral("Copia non confermata dal server"), errore);
    }
    Schema::Statistiche(server);
    return copiate;
}

QList<Tabella> ContaRighe(QSqlDatabase &server, const QString &schema)
{
    QList<Tabella> out;
    QStringList tabelle = TabelleServer(server, schema).values();
    tabelle.sort(Qt::CaseInsensitive);
    for (const QString &tabella : std::as_const(tabelle))
        out.append({schema, tabella, Conta(server, NomeTabella(schema, tabella))});
    return out;
}

} // namespace CopiaSuServer
