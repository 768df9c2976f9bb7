// DbMotore: connections, statements and transactions.
#include "components/db/DbMotore.h"

#include "components/db/DbConnessione.h"
#include "components/db/ErroriDb.h"
#include "components/db/FunzioniSqlite.h"
#include "components/db/JetLessico.h"
#include "components/db/LetturaInOrdine.h"
#include "components/util/UtilGlob.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace
{

QString chiaveNome(const QString &n)
{
    return n.trimmed().toLower();
}

void bindSqlite(sqlite3_stmt *st, int i, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
        sqlite3_bind_int64(st, i, v.toLongLong());
        return;
    case QMetaType::Bool:
        sqlite3_bind_int(st, i, v.toBool() ? 1 : 0);
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st, i, v.toDouble());
        return;
    case QMetaType::QDate:
        v.toDate().isValid()
            ? (void)sqlite3_bind_text(st, i, v.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                                      SQLITE_TRANSIENT)
            : (void)sqlite3_bind_null(st, i);
        return;
    case QMetaType::QDateTime:
        sqlite3_bind_text(st, i,
                          v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toUtf8().constData(),
                          -1, SQLITE_TRANSIENT);
        return;
    default: {
        const QByteArray b = v.toString().toUtf8();
        sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    }
}

} // namespace

DbMotore::DbMotore() = default;

DbMotore::~DbMotore()
{
    ChiudiTutto();
    // A trial of ServerRisponde still under way ends within the server bound.
    for (Sonda &s : m_sonde)
        s.filo.join();
}

DbMotore::Connessione &DbMotore::conn(const QString &nome) const
{
    auto it = m_conn.find(chiaveNome(nome));
    if (it == m_conn.end())
        throw VbErrore(VbErrore::OggettoNonImpostato,
                       QStringLiteral("Connessione al database '%1' non aperta.").arg(nome));
    return **it;
}

bool DbMotore::EsisteConnessione(const QString &nome) const
{
    return m_conn.contains(chiaveNome(nome));
}

DbMotore::Motore DbMotore::TipoMotore(const QString &nome) const
{
    return conn(nome).motore;
}

JetSql::Dialetto DbMotore::Dialetto(const QString &nome) const
{
    return conn(nome).dialetto();
}

QSqlDatabase DbMotore::DatabaseDao(const QString &nome) const
{
    return conn(nome).db;
}

QVariant DbMotore::Parametro(const QString &nomePar) const
{
    return m_parametri.value(chiaveNome(nomePar));
}

void DbMotore::ImpostaParametro(const QString &nomePar, const QVariant &valore)
{
    const QString k = chiaveNome(nomePar);
    // The menu schema is written into translations: those made with the old one go.
    if (k.startsWith(QLatin1String("schemamenu:")) && m_parametri.value(k) != valore)
        for (const auto &c : std::as_const(m_conn))
            c->dimenticaForme();
    m_parametri.insert(k, valore);
}

void DbMotore::ApriSqlite(const QString &nome, const QString &percorso, bool crea)
{
    if (!crea && !QFileInfo::exists(percorso))
        throw VbErrore(
            ErroriDb::FileNonTrovato,
            QStringLiteral("Impossibile trovare il file del database '%1': controllare il nome e la "
                           "cartella indicati nel file INI ([Connessioni] NomeDB e DriveDB).")
                .arg(percorso));
    ChiudiConnessione(nome);
    auto c = std::make_shared<Connessione>();
    c->nome = nome;
    c->nomeQt = QStringLiteral("DbMotore_%1_%2").arg(quintptr(this)).arg(++m_contatore);
    c->motore = Motore::SQLite;
    c->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c->nomeQt);
    c->db.setDatabaseName(percorso);
    if (!c->db.open()) {
        const QString err = c->db.lastError().text();
        c->db = QSqlDatabase();
        QSqlDatabase::removeDatabase(c->nomeQt);
        throw VbErrore(
            ErroriDb::FileNonTrovato,
            ErroriDb::NascondiPassword(
                QStringLiteral("Impossibile aprire il database '%1': controllare che il file e la sua "
                               "cartella siano accessibili.\nDettaglio: %2")
                    .arg(percorso, err)));
    }
    c->h = *static_cast<sqlite3 *const *>(c->db.driver()->handle().data());
    // A file that is no database of this program (an Access file, say) is
    // refused now, not at its first read.
    if (sqlite3_exec(c->h, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const VbErrore e =
            ErroriDb::DaSqlite(sqlite3_extended_errcode(c->h), QString::fromUtf8(sqlite3_errmsg(c->h)));
        c->db.close();
        c->db = QSqlDatabase();
        QSqlDatabase::removeDatabase(c->nomeQt);
        throw VbErrore(e.numero(), QStringLiteral("Database '%1': ").arg(percorso) + e.descrizione());
    }
    sqlite3_extended_result_codes(c->h, 1);
    FunzioniSqlite::Registra(c->h);
    // With a write-ahead log a record set that is being read does not stop
    // other connections from writing. A file that cannot switch at once
    // (read-only, or held open by a program that does not use the log) keeps
    // its journal, and its record sets are read into memory at once.
    sqlite3_busy_timeout(c->h, 0);
    QByteArray modo;
    sqlite3_exec(
        c->h, "PRAGMA journal_mode=WAL",
        [](void *dest, int n, char **valori, char **) {
            if (n > 0 && valori[0])
                *static_cast<QByteArray *>(dest) = QByteArray(valori[0]).toLower();
            return 0;
        },
        &modo, nullptr);
    c->cursoriAmmessi = modo == "wal" || modo == "memory";
    sqlite3_busy_timeout(c->h, c->attesaBlocco);
    c->pronte = std::make_shared<IstruzioniPronte>(c->h, 64);
    m_conn.insert(chiaveNome(nome), c);
    ImpostaParametro(QStringLiteral("DbTipoSql:") + nome, false);
}

DbMotore::FileSqlite DbMotore::DescriviFileSqlite(const QString &nome) const
{
    FileSqlite d;
    const Connessione &c = conn(nome);
    if (c.motore != Motore::SQLite || c.livello > 0)
        return d;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(c.h, "PRAGMA database_list", -1, &st, nullptr) != SQLITE_OK)
        return d;
    QString principale;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const QString alias = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
        const QString file = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 2)));
        if (alias == u"main")
            principale = file;
        else if (alias != u"temp" && !file.isEmpty())
            d.allegati.append({alias, file});
    }
    sqlite3_finalize(st);
    if (!principale.isEmpty())
        d.file = principale;
    return d;
}

void DbMotore::ApriFileSqlite(const QString &nome, const FileSqlite &descrizione)
{
    ApriSqlite(nome, descrizione.file);
    for (const auto &[alias, file] : descrizione.allegati)
        AllegaDatabase(nome, file, alias);
}

void DbMotore::ChiudiConnessione(const QString &nome)
{
    auto it = m_conn.find(chiaveNome(nome));
    if (it == m_conn.end())
        return;
    std::shared_ptr<Connessione> c = *it;
    m_conn.erase(it);
    try {
        c->cursori->CompletaTutti();
    } catch (const VbErrore &) {
        c->cursori->Abbandona();
    }
    // SQLite does not close a handle that still has statements.
    c->dimenticaForme();
    c->odbc.reset();
    if (c->livello > 0)
        c->db.rollback();
    c->db.close();
    c->db = QSqlDatabase();
    QSqlDatabase::removeDatabase(c->nomeQt);
}

void DbMotore::ChiudiTutto()
{
    const auto nomi = m_conn.keys();
    for (const QString &n : nomi)
        ChiudiConnessione(n);
}

QString DbMotore::Traduci(const QString &nome, const QString &sql, int opzioni)
{
    Connessione &c = conn(nome);
    aggiornaAllegati(c, sql);
    if (opzioni & LetturaInOrdine) {
        if (c.motore == Motore::SQLite)
            controllaSchema(c);
        return inOrdine(c, traduci(c, sql));
    }
    if ((opzioni & LetturaFiltrata) && c.motore == Motore::SQLite) {
        controllaSchema(c);
        return filtrataSqlite(c, traduci(c, sql));
    }
    return traduci(c, sql);
}

QString DbMotore::traduci(Connessione &c, const QString &sql)
{
    if (const QString *fatta = c.traduzioni.trova(sql))
        return *fatta;
    JetSql::Opzioni o;
    if (c.motore == Motore::SQLite) {
        o.schemaAllegato = [&c](const QString &percorso) {
            return c.allegati.value(QFileInfo(percorso).absoluteFilePath().toLower());
        };
    } else {
        const QString schema = Parametro(QStringLiteral("SchemaMenu:") + c.nome).toString();
        o.schemaAllegato = [schema](const QString &) { return schema; };
    }
    return c.traduzioni.inserisci(sql, JetSql::Traduci(sql, c.dialetto(), o));
}

void DbMotore::AllegaDatabase(const QString &nome, const QString &percorso, const QString &alias)
{
    Connessione &c = conn(nome);
    if (c.motore != Motore::SQLite)
        return; // on a server the menu tables live in a schema of the same database
    const QString chiave = QFileInfo(percorso).absoluteFilePath().toLower();
    if (c.allegati.contains(chiave))
        return;
    if (!QFileInfo::exists(percorso))
        throw VbErrore(
            ErroriDb::FileNonTrovato,
            QStringLiteral("Impossibile trovare il database comune '%1': controllare il nome indicato "
                           "nel file INI ([Menu] NomeDB).")
                .arg(percorso));
    const QString a = alias.isEmpty() ? QStringLiteral("dbest%1").arg(c.allegati.size() + 1) : alias;
    c.cursori->CompletaTutti();
    sqlite3_stmt *st = nullptr;
    const QByteArray sql = QStringLiteral("ATTACH DATABASE ? AS \"%1\"").arg(a).toUtf8();
    int rc = sqlite3_prepare_v2(c.h, sql.constData(), -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray p = QFileInfo(percorso).absoluteFilePath().toUtf8();
        sqlite3_bind_text(st, 1, p.constData(), int(p.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        throw ErroriDb::DaSqlite(sqlite3_extended_errcode(c.h), QString::fromUtf8(sqlite3_errmsg(c.h)));
    c.dimenticaSchema();
    c.allegati.insert(chiave, a);
}

void DbMotore::aggiornaAllegati(Connessione &c, const QString &sql)
{
    if (c.motore != Motore::SQLite || !sql.contains(QLatin1String("[;")))
        return;
    for (const JetSql::Token &t : JetSql::Tokenizza(sql))
        if (t.tipo == JetSql::TipoToken::Allegato && !t.valore.isEmpty() &&
            !c.allegati.contains(QFileInfo(t.valore).absoluteFilePath().toLower()))
            AllegaDatabase(c.nome, t.valore);
}

void DbMotore::esegui(Connessione &c, const QString &sqlMotore, bool controllo)
{
    if (c.motore == Motore::SQLite) {
        c.cursori->CompletaTutti();
        const QByteArray b = sqlMotore.toUtf8();
        const char *p = b.constData();
        int righe = 0;
        while (p && *p) {
            sqlite3_stmt *st = nullptr;
            const char *resto = nullptr;
            int rc = sqlite3_prepare_v2(c.h, p, -1, &st, &resto);
            if (rc != SQLITE_OK)
                throw ErroriDb::DaSqlite(sqlite3_extended_errcode(c.h),
                                         QString::fromUtf8(sqlite3_errmsg(c.h)));
            p = resto;
            if (!st)
                continue;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            }
            const int esteso = sqlite3_extended_errcode(c.h);
            const QString msg = QString::fromUtf8(sqlite3_errmsg(c.h));
            const bool scrive = !sqlite3_stmt_readonly(st);
            sqlite3_finalize(st);
            if (rc != SQLITE_DONE)
                throw ErroriDb::DaSqlite(esteso, msg);
            if (scrive)
                righe = sqlite3_changes(c.h);
        }
        c.righeToccate = righe;
        return;
    }
    pronta(c, true);
    PuntoIstruzione punto(*this, c, !controllo);
    QSqlQuery q(c.db);
    if (!q.exec(sqlMotore))
        throw fallita(c, q, punto);
    c.righeToccate = q.numRowsAffected() < 0 ? 0 : q.numRowsAffected();
    punto.Conferma();
}

VbErrore DbMotore::fallita(Connessione &c, const QSqlQuery &q, PuntoIstruzione &punto)
{
    const QSqlError e = q.lastError();
    const QString stato = StatoSqlIstruzione(q);
    punto.Annulla();
    return erroreServer(c, e, stato);
}

DbMotore::PuntoIstruzione::PuntoIstruzione(DbMotore &m, Connessione &c, bool attivo) : m_c(c)
{
    if (!attivo || c.motore != Motore::Odbc || c.livello == 0)
        return;
    QSqlQuery q(c.db);
    if (!q.exec(QStringLiteral("SAVEPOINT dbm_istr")))
        throw m.erroreServer(c, q.lastError(), StatoSqlIstruzione(q));
    m_aperto = true;
}

void DbMotore::PuntoIstruzione::Conferma()
{
    if (!m_aperto)
        return;
    m_aperto = false;
    QSqlQuery(m_c.db).exec(QStringLiteral("RELEASE SAVEPOINT dbm_istr"));
}

void DbMotore::PuntoIstruzione::Annulla()
{
    if (!m_aperto)
        return;
    m_aperto = false;
    // The savepoint goes too, so that a transaction with many trapped
    // failures does not pile them up; a lost connection has none left.
    if (m_c.persa)
        return;
    QSqlQuery q(m_c.db);
    if (q.exec(QStringLiteral("ROLLBACK TO SAVEPOINT dbm_istr")))
        q.exec(QStringLiteral("RELEASE SAVEPOINT dbm_istr"));
}

int DbMotore::eseguiLegato(Connessione &c, const QString &sqlMotore, const QVariantList &valori, bool *riga)
{
    if (c.motore == Motore::SQLite) {
        c.cursori->CompletaTutti();
        sqlite3_stmt *st = nullptr;
        const QByteArray b = sqlMotore.toUtf8();
        if (sqlite3_prepare_v2(c.h, b.constData(), int(b.size()), &st, nullptr) != SQLITE_OK)
            throw ErroriDb::DaSqlite(sqlite3_extended_errcode(c.h), QString::fromUtf8(sqlite3_errmsg(c.h)));
        for (int i = 0; i < valori.size(); ++i)
            bindSqlite(st, i + 1, valori[i]);
        const int rc = sqlite3_step(st);
        const int esteso = sqlite3_extended_errcode(c.h);
        const QString msg = QString::fromUtf8(sqlite3_errmsg(c.h));
        sqlite3_finalize(st);
        if (riga && rc == SQLITE_ROW) {
            *riga = true;
            return 0;
        }
        if (rc != SQLITE_DONE)
            throw ErroriDb::DaSqlite(esteso, msg);
        if (riga) {
            *riga = false;
            return 0;
        }
        c.righeToccate = sqlite3_changes(c.h);
        return c.righeToccate;
    }
    pronta(c, true);
    PuntoIstruzione punto(*this, c);
    QSqlQuery q(c.db);
    if (!q.prepare(sqlMotore))
        throw fallita(c, q, punto);
    for (const QVariant &v : valori) {
        if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
            q.addBindValue(v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate)
                                                          : v.toDateTime().toString(Qt::ISODate));
        else if (!v.isValid() || v.isNull())
            q.addBindValue(QVariant(QMetaType::fromType<QString>()));
        else
            q.addBindValue(v.toString());
    }
    if (!q.exec())
        throw fallita(c, q, punto);
    if (riga)
        *riga = q.next();
    else
        c.righeToccate = q.numRowsAffected() < 0 ? 0 : q.numRowsAffected();
    punto.Conferma();
    return riga ? 0 : c.righeToccate;
}

int DbMotore::EseguiSql(const QString &nome, const QString &sql, int)
{
    Connessione &c = conn(nome);
    const QString tradotto = Traduci(nome, sql);
    const QString inizio = sql.trimmed().left(6).toLower();
    const bool ddl = inizio == QLatin1String("create") || inizio == QLatin1String("alter ") ||
                     inizio.startsWith(QLatin1String("drop")) || inizio == QLatin1String("attach") ||
                     inizio == QLatin1String("detach");
    // A server's prepared SELECTs go before the DDL changes their tables: the
    // PostgreSQL driver keeps what it learnt of a table's columns per
    // statement, and loses part of it when a statement outlives the table's old shape.
    if (ddl && c.odbc)
        c.odbc->Svuota();
    esegui(c, tradotto);
    if (ddl)
        c.dimenticaSchema();
    return c.righeToccate;
}

int DbMotore::RecordsAffected(const QString &nome) const
{
    return conn(nome).righeToccate;
}

void DbMotore::IniziaTrans(const QString &nome)
{
    Connessione &c = conn(nome);
    pronta(c, true);
    if (c.livello == 0) {
        c.confermaIncerta = false;
        if (c.motore == Motore::SQLite)
            esegui(c, QStringLiteral("BEGIN IMMEDIATE"), true);
        else if (!c.db.transaction())
            throw erroreServer(c, c.db.lastError(), StatoSqlConnessione(c.db));
    } else {
        esegui(c, QStringLiteral("SAVEPOINT dbm_livello%1").arg(c.livello), true);
    }
    ++c.livello;
}

void DbMotore::ConfermaTrans(const QString &nome)
{
    Connessione &c = conn(nome);
    c.confermaIncerta = false;
    // A transaction the lost connection ended: nothing of it was saved.
    if (c.livello == 0 && c.finiDovuti > 0) {
        --c.finiDovuti;
        throw ErroriDb::ConnessionePersa(QString());
    }
    if (c.livello == 0)
        throw VbErrore(ErroriDb::TransazioneAssente,
                       QStringLiteral("Conferma o annullamento di una transazione non iniziata."));
    --c.livello;
    // A transaction whose connection was lost is gone with it: nothing of it was saved.
    if (c.persa)
        throw ErroriDb::ConnessionePersa(QString());
    if (c.livello > 0) {
        esegui(c, QStringLiteral("RELEASE SAVEPOINT dbm_livello%1").arg(c.livello), true);
    } else if (c.motore == Motore::SQLite) {
        try {
            esegui(c, QStringLiteral("COMMIT"), true);
        } catch (...) {
            sqlite3_exec(c.h, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } else if (!c.db.commit()) {
        const QSqlError e = c.db.lastError();
        const QString stato = StatoSqlConnessione(c.db);
        // Lost while committing: the server may or may not have kept the
        // changes, and the commit is never sent again.
        const VbErrore errore = erroreServer(c, e, stato);
        if (c.persa) {
            c.confermaIncerta = true;
            throw ErroriDb::ConfermaIncerta(e.databaseText());
        }
        c.db.rollback();
        throw errore;
    }
}

void DbMotore::AnnullaTrans(const QString &nome)
{
    Connessione &c = conn(nome);
    // A transaction the lost connection ended: undone already.
    if (c.livello == 0 && c.finiDovuti > 0) {
        --c.finiDovuti;
        return;
    }
    if (c.livello == 0)
        throw VbErrore(ErroriDb::TransazioneAssente,
                       QStringLiteral("Conferma o annullamento di una transazione non iniziata."));
    --c.livello;
    // The server drops the transaction of a lost connection: undone already.
    if (c.persa)
        return;
    try {
        if (c.livello > 0) {
            esegui(c, QStringLiteral("ROLLBACK TO SAVEPOINT dbm_livello%1").arg(c.livello), true);
            esegui(c, QStringLiteral("RELEASE SAVEPOINT dbm_livello%1").arg(c.livello), true);
        } else if (c.motore == Motore::SQLite) {
            esegui(c, QStringLiteral("ROLLBACK"), true);
        } else if (!c.db.rollback()) {
            throw erroreServer(c, c.db.lastError(), StatoSqlConnessione(c.db));
        }
    } catch (const VbErrore &) {
        if (!c.persa)
            throw;
    }
}

int DbMotore::LivelloTrans(const QString &nome) const
{
    return conn(nome).livello;
}

bool DbMotore::ConfermaIncerta(const QString &nome) const
{
    return conn(nome).confermaIncerta;
}

void DbMotore::DimenticaConfermaIncerta(const QString &nome)
{
    conn(nome).confermaIncerta = false;
}

void DbMotore::ImpostaAttesaBlocco(const QString &nome, int millisecondi)
{
    Connessione &c = conn(nome);
    c.attesaBlocco = std::max(0, millisecondi);
    if (c.motore == Motore::SQLite)
        sqlite3_busy_timeout(c.h, c.attesaBlocco);
    else if (!c.persa)
        impostaSessione(c);
}

int DbMotore::AttesaBlocco(const QString &nome) const
{
    return conn(nome).attesaBlocco;
}
