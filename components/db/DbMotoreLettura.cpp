// DbMotore: SELECTs read into memory, naming of their columns, schema questions.
#include "components/db/DbConnessione.h"
#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/util/Currency.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>
#include <sqlite3.h>

namespace
{

QString chiaveTabella(const QString &schema, const QString &tabella)
{
    return (schema + u'.' + tabella).toLower();
}

} // namespace

std::unique_ptr<Risultato> DbMotore::Seleziona(const QString &nome, const QString &sql, int opzioni)
{
    return seleziona(conn(nome), sql, nullptr, opzioni);
}

std::unique_ptr<Risultato> DbMotore::SelezionaCursore(const QString &nome, const QString &sql,
                                                      std::unique_ptr<CursoreSqlite> &cursore, int opzioni)
{
    cursore.reset();
    return seleziona(conn(nome), sql, &cursore, opzioni);
}

std::unique_ptr<Risultato> DbMotore::seleziona(Connessione &c, const QString &sql,
                                               std::unique_ptr<CursoreSqlite> *cursore, int opzioni)
{
    c.righeToccate = 0;
    if (m_osservatoreSelect)
        m_osservatoreSelect(sql);
    const int attese = m_atteseServer;
    try {
        return selezionaUnaVolta(c, sql, cursore, opzioni);
    } catch (const VbErrore &) {
        // Only a SELECT: a write whose outcome is unknown is never sent again.
        if (!sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive) ||
            !riapertaPerRilettura(c, attese))
            throw;
    }
    return selezionaUnaVolta(c, sql, cursore, opzioni);
}

bool DbMotore::riapertaPerRilettura(Connessione &c, int attese)
{
    // Only a connection the read found dead (it was ready before it: the
    // read did not wait for the server already), and never inside a
    // transaction, which went with the connection: that read tells the
    // loss; the next ones run on the connection opened again.
    if (c.motore != Motore::Odbc || !c.persa || c.livello > 0 || c.finiDovuti > 0 || c.lettureInCorso > 0 ||
        m_atteseServer != attese)
        return false;
    try {
        pronta(c);
    } catch (const VbErrore &) {
        return false; // still unreachable: the loss itself is what the user is told
    }
    return true;
}

std::unique_ptr<Risultato> DbMotore::selezionaUnaVolta(Connessione &c, const QString &sql,
                                                       std::unique_ptr<CursoreSqlite> *cursore, int opzioni)
{
    const Connessione::InLettura inLettura(c);
    pronta(c);
    const JetSql::Forma f = JetSql::FormaParametrica(sql);
    // A form already known had its databases attached when it was first met
    // (an ATTACH forgets every form, and none is ever detached): only a new
    // form is looked through for them.
    const bool ordinata = (opzioni & LetturaInOrdine) != 0;
    const bool filtrata = !ordinata && (opzioni & LetturaFiltrata) != 0;
    if (!c.forme.trova(ordinata ? QChar(1) + f.testo : filtrata ? QChar(2) + f.testo : f.testo))
        aggiornaAllegati(c, sql);
    if (c.motore == Motore::SQLite)
        controllaSchema(c);
    const std::shared_ptr<FormaNota> fn = formaNota(c, f.testo, ordinata, filtrata);
    auto osserva = [&] {
        if (m_osservatoreMotore)
            m_osservatoreMotore(JetSql::RimettiLetterali(fn->sqlMotore, f));
    };
    if (c.motore == Motore::SQLite) {
        osserva();
        return selezionaSqlite(c, f, *fn, cursore);
    }
    if (!fn->senzaOrdinamento && !fn->senzaIndici) {
        osserva();
        return selezionaOdbc(c, f, *fn);
    }
    // A jump's skip in an index's order: the planner takes the ledgers'
    // Exists for a few customers and would sort the whole list rather than
    // walk the index past the rows skipped (0.2-1.4 s a jump); for this
    // statement alone it sorts only where no index gives the order.
    auto imposta = [&](const QString &sql) {
        QSqlQuery q(c.db);
        q.exec(sql);
        if (m_osservatoreMotore)
            m_osservatoreMotore(sql);
    };
    // A search through a column: the planner would walk the ORDER BY's
    // index testing every row there; for this statement it finds the rows
    // the WHERE picks and sorts them.
    const QStringList impostazioni =
        fn->senzaIndici ? ImpostazioniFiltrata() : QStringList{QStringLiteral("enable_sort")};
    for (const QString &i : impostazioni)
        imposta(QStringLiteral("SET ") + i + QStringLiteral(" = off"));
    struct Ripristina {
        std::function<void()> f;
        ~Ripristina() { f(); }
    } ripristina{[&] {
        for (const QString &i : impostazioni)
            imposta(QStringLiteral("RESET ") + i);
    }};
    osserva();
    return selezionaOdbc(c, f, *fn);
}

void DbMotore::controllaSchema(Connessione &c)
{
    // Another program may change the schema: what was learnt of it then goes.
    sqlite3_stmt *st = c.pronte->Prendi(QByteArrayLiteral("PRAGMA schema_version"));
    const int rc = sqlite3_step(st);
    const qint64 versione = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
    c.pronte->Restituisci(st);
    if (versione != c.versioneSchema) {
        if (c.versioneSchema != -1)
            c.dimenticaSchema();
        c.versioneSchema = versione;
    }
}

std::shared_ptr<DbMotore::FormaNota> DbMotore::formaNota(Connessione &c, const QString &testoForma,
                                                         bool ordinata, bool filtrata)
{
    // A read in an index's order, or a filtered one, is a form of its own
    // (its text for the engine, or its way of running, differs).
    const QString chiave = ordinata ? QChar(1) + testoForma : filtrata ? QChar(2) + testoForma : testoForma;
    if (auto *nota = c.forme.trova(chiave))
        return *nota;
    auto fn = std::make_shared<FormaNota>();
    fn->sqlMotore = traduci(c, testoForma);
    if (filtrata) {
        if (c.motore == Motore::SQLite)
            fn->sqlMotore = filtrataSqlite(c, fn->sqlMotore);
        else
            fn->senzaIndici = true;
    }
    if (ordinata) {
        fn->sqlMotore = inOrdine(c, fn->sqlMotore);
        static const QRegularExpression salto(QStringLiteral(R"(\bOFFSET\b)"),
                                              QRegularExpression::CaseInsensitiveOption);
        fn->senzaOrdinamento = c.motore != Motore::SQLite && salto.match(fn->sqlMotore).hasMatch();
    }
    fn->sqlUtf8 = fn->sqlMotore.toUtf8();
    return c.forme.inserisci(chiave, fn);
}

QString DbMotore::filtrataSqlite(Connessione &c, const QString &sqlMotore)
{
    // Row ids only of an ordinary table (not a view, nor one without them).
    const LetturaInOrdine::Lettura l = LetturaInOrdine::Analizza(sqlMotore);
    bool rowid = false;
    if (l.valida) {
        const QString tabella = l.tabella.toLower();
        auto trovata = c.conRowid.constFind(tabella);
        if (trovata == c.conRowid.cend()) {
            QSqlQuery q(c.db);
            q.prepare(QStringLiteral("SELECT wr FROM pragma_table_list WHERE type = 'table' AND name = ?"));
            q.addBindValue(QString(l.tabella).remove(QLatin1Char('"')));
            trovata = c.conRowid.insert(tabella, q.exec() && q.next() && q.value(0).toInt() == 0);
        }
        rowid = trovata.value();
    }
    return LetturaInOrdine::OrdineSenzaIndice(sqlMotore, rowid);
}

QString DbMotore::inOrdine(Connessione &c, const QString &sqlMotore)
{
    if (c.motore != Motore::SQLite)
        return LetturaInOrdine::ConfrontiRiga(sqlMotore);
    const LetturaInOrdine::Lettura l = LetturaInOrdine::Analizza(sqlMotore);
    if (!l.valida)
        return sqlMotore;
    const QString tabella = l.tabella.toLower();
    auto trovati = c.indici.constFind(tabella);
    if (trovati == c.indici.cend()) {
        // The table's indexes whose every column is a column (no expression,
        // no partial index: the planner could not always use those).
        QList<LetturaInOrdine::Indice> indici;
        QSqlQuery q(c.db);
        q.prepare(QStringLiteral("SELECT il.name, il.partial, ii.name FROM pragma_index_list(?) AS il, "
                                 "pragma_index_info(il.name) AS ii ORDER BY il.seq, ii.seqno"));
        q.addBindValue(l.tabella);
        if (q.exec()) {
            QSet<QString> escluse;
            while (q.next()) {
                const QString nome = q.value(0).toString();
                if (indici.isEmpty() || indici.last().nome != nome)
                    indici.append({nome, {}});
                if (q.value(1).toInt() != 0 || q.value(2).isNull())
                    escluse.insert(nome);
                indici.last().colonne << q.value(2).toString().toLower();
            }
            indici.removeIf([&](const LetturaInOrdine::Indice &x) { return escluse.contains(x.nome); });
        }
        trovati = c.indici.insert(tabella, indici);
    }
    return LetturaInOrdine::ConIndice(sqlMotore, l, trovati.value());
}

std::vector<Risultato::Colonna> DbMotore::colonneSqlite(Connessione &c, sqlite3_stmt *st,
                                                        const QString &sqlJet, FormaNota &fn)
{
    const int n = sqlite3_column_count(st);
    std::vector<Risultato::Colonna> colonne(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        auto &col = colonne[size_t(i)];
        col.nome = QString::fromUtf8(sqlite3_column_name(st, i));
        const char *dt = sqlite3_column_decltype(st, i);
        col.tipo = Risultato::tipoDichiarato(dt ? QString::fromUtf8(dt) : QString(), &col.lunghezza);
        const char *tab = sqlite3_column_table_name(st, i);
        if (tab)
            col.tabella = QString::fromUtf8(tab);
    }
    if (!fn.analizzata)
        analizzaForma(c, sqlJet, fn);
    nominaColonne(fn, colonne);
    fn.colonne = colonne;
    fn.colonneNote = true;
    fn.nomi = std::make_shared<QHash<QString, int>>();
    return colonne;
}

std::unique_ptr<Risultato> DbMotore::selezionaSqlite(Connessione &c, const JetSql::Forma &f, FormaNota &fn,
                                                     std::unique_ptr<CursoreSqlite> *cursore)
{
    bool nuova = false;
    sqlite3_stmt *st = c.pronte->Prendi(fn.sqlUtf8, &nuova);
    struct Rendi {
        IstruzioniPronte *p;
        sqlite3_stmt *s;
        ~Rendi()
        {
            if (s)
                p->Restituisci(s);
        }
    } rendi{c.pronte.get(), st};
    IstruzioniPronte::LegaParametri(st, f.valori);
    const int n = sqlite3_column_count(st);
    if (!fn.analizzata)
        analizzaForma(c, f.testo, fn);

    // A cursor holds a read transaction open: only on the connection's own
    // database, whose journal lets others write meanwhile.
    if (cursore && c.cursoriAmmessi && fn.soloPrincipale && n > 0 && sqlite3_stmt_readonly(st)) {
        auto r = std::make_unique<Risultato>(nuova || !fn.colonneNote ? colonneSqlite(c, st, f.testo, fn)
                                                                      : fn.colonne);
        r->condividiNomi(fn.nomi);
        *cursore = std::make_unique<CursoreSqlite>(c.h, st, f.valori, c.pronte, r.get(), c.cursori);
        rendi.s = nullptr;
        return r;
    }

    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw ErroriDb::DaSqlite(sqlite3_extended_errcode(c.h), QString::fromUtf8(sqlite3_errmsg(c.h)));
    // SQLite prepares a statement again when the schema changed under it.
    const bool rifatta = sqlite3_stmt_status(st, SQLITE_STMTSTATUS_REPREPARE, 1) > 0;
    if (rifatta) {
        c.dimenticaSchema();
        fn.analizzata = false;
    }
    auto r = std::make_unique<Risultato>(
        nuova || rifatta || !fn.colonneNote ? colonneSqlite(c, st, f.testo, fn) : fn.colonne);
    r->condividiNomi(fn.nomi);
    const int nr = r->numColonne();
    std::vector<Risultato::Tipo> tipi(static_cast<size_t>(nr));
    for (int i = 0; i < nr; ++i)
        tipi[size_t(i)] = r->colonna(i).tipo;
    int righe = 0;
    for (; rc == SQLITE_ROW; rc = sqlite3_step(st)) {
        ++righe;
        for (int i = 0; i < nr; ++i)
            r->aggiungiSqlite(st, i, tipi[size_t(i)]);
    }
    if (rc != SQLITE_DONE)
        throw ErroriDb::DaSqlite(sqlite3_extended_errcode(c.h), QString::fromUtf8(sqlite3_errmsg(c.h)));
    if (nr == 0)
        r->righeVuote(righe);
    return r;
}

std::unique_ptr<Risultato> DbMotore::selezionaOdbc(Connessione &c, const JetSql::Forma &f, FormaNota &fn)
{
    PuntoIstruzione punto(*this, c);
    const QVariant proprie = c.odbc ? Parametro(QStringLiteral("IstruzioniProprie:") + c.nome) : QVariant();
    if (c.odbc && (!proprie.isValid() || proprie.toBool())) {
        QSqlError e;
        QString stato;
        const IstruzioniOdbc::Esito esito = c.odbc->Esegui(fn.sqlMotore, f, c.livello > 0, e, stato);
        if (esito == IstruzioniOdbc::Esito::Pronto) {
            std::vector<Risultato::Colonna> colonne = c.odbc->Colonne();
            if (!fn.analizzata)
                analizzaForma(c, f.testo, fn);
            nominaColonne(fn, colonne);
            auto r = std::make_unique<Risultato>(std::move(colonne));
            if (!c.odbc->Leggi(*r, e, stato))
                throw erroreServer(c, e, stato);
            punto.Conferma();
            return r;
        }
        // Another program changed a table under a prepared statement: the
        // statements and what was learnt of the schema go, and the text runs
        // below as written.
        const bool schemaCambiato = stato == QLatin1String("0A000") && c.livello == 0;
        if (esito == IstruzioniOdbc::Esito::Fallito && !schemaCambiato)
            throw erroreServer(c, e, stato);
        if (schemaCambiato)
            c.dimenticaSchema();
    }
    QSqlQuery q(c.db);
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    // The server gets its literals in the text: its driver binds every value
    // as text, which would not compare with numbers.
    if (!q.exec(JetSql::RimettiLetterali(fn.sqlMotore, f)))
        throw erroreServer(c, q.lastError(), StatoSqlIstruzione(q));
    const QSqlRecord rec = q.record();
    const int n = rec.count();
    std::vector<Risultato::Colonna> colonne(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        auto &col = colonne[size_t(i)];
        const QSqlField f = rec.field(i);
        col.nome = f.name();
        switch (f.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Short:
            col.tipo = Risultato::Tipo::Intero;
            break;
        case QMetaType::Double:
            // DOUBLE PRECISION and REAL (ODBC types 6 to 8) are doubles: a
            // division or Val keeps all its digits. NUMERIC arrives as text
            // (high precision) and stays an exact amount.
            if (f.typeID() >= 6 && f.typeID() <= 8)
                col.tipo = Risultato::Tipo::Reale;
            else
                col.tipo = f.precision() > 0 && f.precision() < 30 ? Risultato::Tipo::Decimale
                                                                   : Risultato::Tipo::Nullo;
            break;
        case QMetaType::QDate:
            col.tipo = Risultato::Tipo::Data;
            break;
        case QMetaType::QDateTime:
            col.tipo = Risultato::Tipo::DataOra;
            break;
        case QMetaType::Bool:
            col.tipo = Risultato::Tipo::Booleano;
            break;
        default:
            col.tipo = Risultato::Tipo::Testo;
            col.lunghezza = f.length() > 0 ? f.length() : 0;
        }
    }
    if (!fn.analizzata)
        analizzaForma(c, f.testo, fn);
    nominaColonne(fn, colonne);
    auto r = std::make_unique<Risultato>(std::move(colonne));
    int righe = 0;
    while (q.next()) {
        ++righe;
        for (int i = 0; i < n; ++i) {
            const QVariant v = q.value(i);
            Risultato::Tipo t = r->colonna(i).tipo;
            if (t == Risultato::Tipo::Nullo && v.typeId() == QMetaType::QString)
                t = Risultato::Tipo::Decimale;
            r->aggiungiValore(v, t);
        }
    }
    if (n == 0)
        r->righeVuote(righe);
    punto.Conferma();
    return r;
}

// Reads what the SELECT names each result column, "T.*" expanded from the
// schema, and whether it reads only tables of the connection's own database.
void DbMotore::analizzaForma(Connessione &c, const QString &sqlJet, FormaNota &fn)
{
    const JetSql::AnalisiSelect a = JetSql::Analizza(sqlJet);
    fn.soloPrincipale =
        a.valida && !sqlJet.contains(QLatin1String("[;")) && !sqlJet.contains(JetSql::SegnapostoOwner);
    for (const auto &t : a.tabelle)
        if (!t.databaseJet.isEmpty() || !t.schema.isEmpty())
            fn.soloPrincipale = false;
    fn.attesaValida = false;
    fn.attese.clear();
    fn.analizzata = true;
    const bool pg = c.motore == Motore::Odbc;
    auto schemaDi = [&](const JetSql::TabellaFrom &t) {
        if (!t.databaseJet.isEmpty())
            return pg ? Parametro(QStringLiteral("SchemaMenu:") + c.nome).toString()
                      : c.allegati.value(QFileInfo(t.databaseJet).absoluteFilePath().toLower());
        return t.schema;
    };
    auto tabellaDi = [&](const QString &qual) -> const JetSql::TabellaFrom * {
        for (const auto &t : a.tabelle)
            if (t.alias.compare(qual, Qt::CaseInsensitive) == 0)
                return &t;
        for (const auto &t : a.tabelle)
            if (t.tabella.compare(qual, Qt::CaseInsensitive) == 0)
                return &t;
        return nullptr;
    };
    std::vector<Risultato::Colonna> attese;
    for (const JetSql::VoceSelect &v : a.voci) {
        if (v.campo == QLatin1String("*")) {
            QList<const JetSql::TabellaFrom *> tabs;
            if (v.qualifica.isEmpty())
                for (const auto &t : a.tabelle)
                    tabs << &t;
            else if (const auto *t = tabellaDi(v.qualifica))
                tabs << t;
            if (tabs.isEmpty())
                return;
            for (const auto *t : tabs) {
                const QString schema = schemaDi(*t);
                const QStringList cols = ColonneTabella(c.nome, t->tabella, schema);
                if (cols.isEmpty()) {
                    // A table not there yet may be made by a later statement: ask again next time.
                    fn.analizzata = false;
                    return;
                }
                const QString k = chiaveTabella(schema, t->tabella);
                for (const QString &col : cols) {
                    Risultato::Colonna x;
                    x.nome = col;
                    x.qualifica = t->alias;
                    x.tabella = t->tabella;
                    x.tipo = c.tipi.value(k).value(col.toLower(), Risultato::Tipo::Testo);
                    x.lunghezza = c.lunghezze.value(k).value(col.toLower());
                    attese.push_back(x);
                }
            }
            continue;
        }
        Risultato::Colonna x;
        x.tipo = Risultato::Tipo::Nullo;
        if (!v.espressione) {
            x.nome = v.alias.isEmpty() ? v.campo : v.alias;
            x.qualifica = v.alias.isEmpty() ? v.qualifica : QString();
            const JetSql::TabellaFrom *t = v.qualifica.isEmpty()
                                               ? (a.tabelle.size() == 1 ? &a.tabelle[0] : nullptr)
                                               : tabellaDi(v.qualifica);
            if (t) {
                const QString schema = schemaDi(*t);
                const auto tipi = TipiColonne(c.nome, t->tabella, schema);
                if (tipi.contains(v.campo.toLower())) {
                    x.tabella = t->tabella;
                    x.tipo = tipi.value(v.campo.toLower());
                    x.lunghezza =
                        c.lunghezze.value(chiaveTabella(schema, t->tabella)).value(v.campo.toLower());
                }
            }
        } else {
            x.nome = v.alias;
            x.zeroSeNullo = v.somma;
        }
        attese.push_back(x);
    }
    fn.attese = std::move(attese);
    fn.attesaValida = true;
}

// Gives every result column its SELECT name, qualifier and base table. When
// the SELECT could not be read, or the engine's columns do not line up with
// it, the engine's own names stay.
void DbMotore::nominaColonne(const FormaNota &fn, std::vector<Risultato::Colonna> &colonne)
{
    if (!fn.attesaValida || fn.attese.size() != colonne.size())
        return;
    for (size_t i = 0; i < colonne.size(); ++i) {
        const Risultato::Colonna &e = fn.attese[i];
        if (!e.nome.isEmpty() && e.nome.compare(colonne[i].nome, Qt::CaseInsensitive) != 0)
            return;
    }
    for (size_t i = 0; i < colonne.size(); ++i) {
        Risultato::Colonna &col = colonne[i];
        const Risultato::Colonna &e = fn.attese[i];
        if (!e.nome.isEmpty())
            col.nome = e.nome;
        col.qualifica = e.qualifica;
        col.tabella = e.tabella;
        col.zeroSeNullo = e.zeroSeNullo;
        if (e.tipo != Risultato::Tipo::Nullo)
            col.tipo = e.tipo;
        if (e.lunghezza > 0)
            col.lunghezza = e.lunghezza;
    }
}

QHash<QString, Risultato::Tipo> DbMotore::TipiColonne(const QString &nome, const QString &tabella,
                                                      const QString &schema)
{
    ColonneTabella(nome, tabella, schema);
    return conn(nome).tipi.value(chiaveTabella(schema, tabella));
}

QStringList DbMotore::ColonneTabella(const QString &nome, const QString &tabella, const QString &schema)
{
    Connessione &c = conn(nome);
    const QString k = chiaveTabella(schema, tabella);
    auto it = c.colonne.constFind(k);
    if (it != c.colonne.constEnd())
        return *it;
    QStringList cols, chiave;
    QHash<QString, Risultato::Tipo> tipi;
    QHash<QString, int> lunghezze;
    if (c.motore == Motore::SQLite) {
        const QString sql = QStringLiteral("PRAGMA %1table_info(%2)")
                                .arg(schema.isEmpty() ? QString() : u'"' + schema + QStringLiteral("\"."),
                                     u'"' + QString(tabella).replace(u'"', QLatin1String("\"\"")) + u'"');
        sqlite3_stmt *st = nullptr;
        const QByteArray b = sql.toUtf8();
        if (sqlite3_prepare_v2(c.h, b.constData(), -1, &st, nullptr) == SQLITE_OK) {
            QList<QPair<int, QString>> pk;
            while (sqlite3_step(st) == SQLITE_ROW) {
                const QString col =
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
                const QString tipo =
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 2)));
                int lung = 0;
                cols << col;
                tipi.insert(col.toLower(), Risultato::tipoDichiarato(tipo, &lung));
                if (tipi.value(col.toLower()) == Risultato::Tipo::Nullo)
                    tipi.insert(col.toLower(), Risultato::Tipo::Testo);
                lunghezze.insert(col.toLower(), lung);
                if (sqlite3_column_int(st, 5) > 0)
                    pk << qMakePair(sqlite3_column_int(st, 5), col);
            }
            std::sort(pk.begin(), pk.end());
            for (const auto &p : pk)
                chiave << p.second;
        }
        sqlite3_finalize(st);
    } else {
        auto leggiServer = [&] {
            cols.clear();
            chiave.clear();
            tipi.clear();
            lunghezze.clear();
            pronta(c);
            // A table that cannot be read is taken for a missing one, unless the
            // connection is gone: then the answer would be wrong.
            auto persa = [&](const QSqlQuery &q) {
                const VbErrore e = erroreServer(c, q.lastError(), StatoSqlIstruzione(q));
                if (c.persa)
                    throw e;
            };
            PuntoIstruzione puntoColonne(*this, c);
            QSqlQuery q(c.db);
            q.prepare(QStringLiteral("SELECT column_name, data_type, udt_name, character_maximum_length FROM "
                                     "information_schema.columns "
                                     "WHERE lower(table_name) = lower(?) AND table_schema = "
                                     "COALESCE(NULLIF(lower(?), ''), current_schema()) "
                                     "ORDER BY ordinal_position"));
            q.addBindValue(tabella);
            q.addBindValue(schema);
            if (q.exec()) {
                while (q.next()) {
                    const QString col = q.value(0).toString();
                    const QString udt = q.value(2).toString().toLower();
                    Risultato::Tipo t = Risultato::tipoDichiarato(udt);
                    if (udt == QLatin1String("citext") || udt == QLatin1String("varchar") ||
                        udt == QLatin1String("bpchar"))
                        t = Risultato::Tipo::Testo;
                    else if (udt.startsWith(QLatin1String("float")))
                        t = Risultato::Tipo::Reale;
                    cols << col;
                    tipi.insert(col.toLower(), t == Risultato::Tipo::Nullo ? Risultato::Tipo::Testo : t);
                    lunghezze.insert(col.toLower(), q.value(3).toInt());
                }
                puntoColonne.Conferma();
            } else {
                puntoColonne.Annulla();
                persa(q);
            }
            PuntoIstruzione puntoChiave(*this, c);
            QSqlQuery p(c.db);
            p.prepare(QStringLiteral(
                "SELECT kcu.column_name FROM information_schema.table_constraints tc "
                "JOIN information_schema.key_column_usage kcu ON tc.constraint_name = kcu.constraint_name "
                "AND tc.table_schema = kcu.table_schema AND tc.table_name = kcu.table_name "
                "WHERE tc.constraint_type = 'PRIMARY KEY' AND lower(tc.table_name) = lower(?) "
                "AND tc.table_schema = COALESCE(NULLIF(lower(?), ''), current_schema()) ORDER BY "
                "kcu.ordinal_position"));
            p.addBindValue(tabella);
            p.addBindValue(schema);
            if (p.exec()) {
                while (p.next())
                    chiave << p.value(0).toString();
                puntoChiave.Conferma();
            } else {
                puntoChiave.Annulla();
                persa(p);
            }
        };
        const int attese = m_atteseServer;
        try {
            leggiServer();
        } catch (const VbErrore &) {
            if (!riapertaPerRilettura(c, attese))
                throw;
            leggiServer();
        }
    }
    if (!cols.isEmpty()) {
        c.colonne.insert(k, cols);
        c.tipi.insert(k, tipi);
        c.lunghezze.insert(k, lunghezze);
        c.chiavi.insert(k, chiave);
    }
    return cols;
}

QStringList DbMotore::ChiavePrimaria(const QString &nome, const QString &tabella, const QString &schema)
{
    ColonneTabella(nome, tabella, schema);
    return conn(nome).chiavi.value(chiaveTabella(schema, tabella));
}

bool DbMotore::EsisteTabella(const QString &nome, const QString &tabella)
{
    return !ColonneTabella(nome, tabella).isEmpty();
}

bool DbMotore::EsisteCampo(const QString &nome, const QString &tabella, const QString &campo)
{
    return ColonneTabella(nome, tabella).contains(campo.trimmed(), Qt::CaseInsensitive);
}
