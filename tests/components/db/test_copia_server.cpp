// Copy of an SQLite company into PostgreSQL: every table with its rows and
// values, counters that go on after the copied rows, a database holding data
// refused, a table the schema lacks refused with nothing copied.
#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/util/VbErrore.h"
#include "data/copia/CopiaSuServer.h"
#include "data/generator/Generatore.h"
#include "tests/support/PgServer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace
{

QString Nome(const QString &n)
{
    return u'"' + n + u'"';
}

// One row of aggregates of every column of a table, written for either
// engine: values present, empty texts, longest text, sum of numbers, first
// and last date. A value lost, cut, rounded or turned from empty to Null
// changes it.
QString Impronta(const QList<QPair<QString, QString>> &colonne, const QString &tabella, bool pg)
{
    QStringList parti;
    for (const auto &[nome, tipo] : colonne) {
        const QString c = Nome(nome);
        parti << QStringLiteral("count(%1)").arg(c);
        if (tipo == u"citext") {
            parti << QStringLiteral("count(CASE WHEN %1 = '' THEN 1 END)").arg(c)
                  << QStringLiteral("max(length(%1))").arg(c);
        } else if (tipo.startsWith(u"numeric") || tipo == u"double precision" || tipo == u"integer") {
            parti << (pg ? QStringLiteral("round(CAST(sum(%1) AS numeric), 3)").arg(c)
                         : QStringLiteral("round(sum(%1), 3)").arg(c));
        } else if (tipo == u"date") {
            parti << QStringLiteral("min(%1)").arg(c) << QStringLiteral("max(%1)").arg(c);
        }
    }
    return QStringLiteral("SELECT %1 FROM %2").arg(parti.join(QStringLiteral(", ")), tabella);
}

QStringList Riga(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next()) {
        ADD_FAILURE() << q.lastError().text().toStdString() << "\n" << sql.toStdString();
        return {};
    }
    QStringList out;
    for (int i = 0; i < q.record().count(); ++i) {
        const QVariant v = q.value(i);
        bool numero = false;
        const double d = v.toString().toDouble(&numero);
        if (v.isNull())
            out << QStringLiteral("<null>");
        else if (v.typeId() == QMetaType::QDate)
            out << v.toDate().toString(Qt::ISODate);
        else if (numero)
            out << QString::number(d, 'f', 3);
        else
            out << v.toString();
    }
    return out;
}

class CopiaSuServerProva : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        cartella = new QTemporaryDir;
        OpzioniDemo o;
        o.percorso = cartella->filePath("azienda.db");
        o.percorsoMenu = cartella->filePath("menu.db");
        o.clienti = 60;
        o.seme = 5;
        GeneraDemo(o);
    }
    static void TearDownTestSuite()
    {
        delete cartella;
        cartella = nullptr;
    }

    void SetUp() override
    {
        QString motivo;
        PgServer *s = PgServer::Istanza(&motivo);
        if (!s) {
            if (PgObbligatorio())
                FAIL() << motivo.toStdString();
            GTEST_SKIP() << motivo.toStdString();
        }
        connect = s->NuovoDatabase(QStringLiteral("copia"));
        ASSERT_FALSE(connect.isEmpty());
        motore = std::make_unique<DbMotore>();
        motore->ApriConnessione(C, connect);
        server = motore->DatabaseDao(C);
    }
    void TearDown() override
    {
        server = QSqlDatabase();
        motore.reset();
        if (!connect.isEmpty())
            PgServer::Istanza()->EliminaDatabase(PgServer::NomeDatabase(connect));
    }

    static QString Azienda() { return cartella->filePath("azienda.db"); }
    static QString Menu() { return cartella->filePath("menu.db"); }

    // The tables of an SQLite file with their rows.
    static QList<CopiaSuServer::Tabella> RigheSqlite(const QString &percorso, const QString &schema)
    {
        QList<CopiaSuServer::Tabella> out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "copia-origine");
            db.setDatabaseName(percorso);
            EXPECT_TRUE(db.open());
            QStringList tabelle;
            QSqlQuery q("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'",
                        db);
            while (q.next())
                tabelle << q.value(0).toString();
            tabelle.sort(Qt::CaseInsensitive);
            for (const QString &t : tabelle) {
                QSqlQuery c("SELECT count(*) FROM " + Nome(t), db);
                c.next();
                out.append({schema, t, c.value(0).toLongLong()});
            }
        }
        QSqlDatabase::removeDatabase("copia-origine");
        return out;
    }

    static inline QTemporaryDir *cartella = nullptr;
    static inline const QString C = QStringLiteral("Server");
    QString connect;
    std::unique_ptr<DbMotore> motore;
    QSqlDatabase server;
};

TEST_F(CopiaSuServerProva, CopiesEveryTableWithItsRowsAndValues)
{
    const auto copiate = CopiaSuServer::Copia(Azienda(), Menu(), server);

    // Same tables, same rows, counted on each side apart from the copy.
    for (const QString &schema : {QStringLiteral("public"), CopiaSuServer::SchemaMenu}) {
        const auto attese = RigheSqlite(schema == u"public" ? Azienda() : Menu(), schema);
        const auto trovate = CopiaSuServer::ContaRighe(server, schema);
        ASSERT_EQ(attese.size(), trovate.size()) << schema.toStdString();
        for (qsizetype i = 0; i < attese.size(); ++i) {
            EXPECT_EQ(attese[i].nome.toLower(), trovate[i].nome.toLower());
            EXPECT_EQ(attese[i].righe, trovate[i].righe) << attese[i].nome.toStdString();
        }
    }
    qint64 clienti = 0, righeDocumenti = 0;
    for (const auto &t : copiate) {
        if (t.nome == u"pianoconti")
            clienti = t.righe;
        if (t.nome == u"fatdett")
            righeDocumenti = t.righe;
    }
    EXPECT_GT(clienti, 60);
    EXPECT_GT(righeDocumenti, 0);

    // The values of every column, aggregated on both sides.
    QSqlDatabase sqlite = QSqlDatabase::addDatabase("QSQLITE", "copia-valori");
    sqlite.setDatabaseName(Azienda());
    ASSERT_TRUE(sqlite.open());
    for (const auto &t : copiate) {
        if (t.schema != u"public")
            continue;
        QSqlQuery q(server);
        q.prepare("SELECT a.attname, format_type(a.atttypid, a.atttypmod) FROM pg_attribute a "
                  "WHERE a.attrelid = CAST(? AS regclass) AND a.attnum > 0 AND NOT a.attisdropped ORDER BY "
                  "a.attnum");
        q.addBindValue("public." + Nome(t.nome));
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        QList<QPair<QString, QString>> colonne;
        while (q.next())
            colonne.append({q.value(0).toString(), q.value(1).toString()});
        ASSERT_FALSE(colonne.isEmpty()) << t.nome.toStdString();
        EXPECT_EQ(Riga(sqlite, Impronta(colonne, Nome(t.nome), false)),
                  Riga(server, Impronta(colonne, "public." + Nome(t.nome), true)))
            << t.nome.toStdString();
    }
    sqlite.close();
    sqlite = QSqlDatabase();
    QSqlDatabase::removeDatabase("copia-valori");
}

TEST_F(CopiaSuServerProva, ProgramReadsTheCopyAndCountersGoOn)
{
    CopiaSuServer::Copia(Azienda(), Menu(), server);

    // The customers' join with the menu schema, as the program writes it.
    RecDat rs;
    const QString h =
        rs.ApriRec(motore.get(), C, QString(),
                   "SELECT PianoConti.Conto, Stati.Descrizione, StatiEle.BlackList FROM (PianoConti "
                   "LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato) LEFT JOIN menuç§&dbo§&çTabStati "
                   "AS StatiEle ON Stati.CodTabStato = StatiEle.StatoIso WHERE PianoConti.Tipo = '3' "
                   "AND PianoConti.Stato = 'IT' ORDER BY PianoConti.Gruppo, PianoConti.Mastro, "
                   "PianoConti.Conto",
                   false, 4, RecDat::OpzPassThrough);
    ASSERT_FALSE(rs.FineDati(h));
    EXPECT_EQ(rs.LeggiCampo(h, "Stati.Descrizione").toString(), "Italia");
    rs.ChiudiRec(h);

    // A new history row takes the next number after the copied ones.
    const int prima =
        motore->Seleziona(C, "SELECT COALESCE(MAX(Id), 0) FROM PdcStorico")->valore(0, 0).toInt();
    motore->EseguiSql(C,
                      "INSERT INTO PdcStorico (Gruppo, Mastro, Conto, DataVar) VALUES ('01', '05', 'ZZZZ', "
                      "#2030-01-01#)");
    const int dopo = motore->Seleziona(C, "SELECT MAX(Id) FROM PdcStorico")->valore(0, 0).toInt();
    EXPECT_EQ(dopo, prima + 1);
    const int ospiti =
        motore->Seleziona(C, "SELECT COALESCE(MAX(Id), 0) FROM [0_ClientHotelArdeno]")->valore(0, 0).toInt();
    motore->EseguiSql(C, "INSERT INTO [0_ClientHotelArdeno] (Rag1) VALUES ('Ospite nuovo')");
    EXPECT_EQ(motore->Seleziona(C, "SELECT MAX(Id) FROM [0_ClientHotelArdeno]")->valore(0, 0).toInt(),
              ospiti + 1);
}

TEST_F(CopiaSuServerProva, RefusesADatabaseHoldingData)
{
    const auto prima = CopiaSuServer::Copia(Azienda(), Menu(), server);
    try {
        CopiaSuServer::Copia(Azienda(), Menu(), server);
        FAIL() << "seconda copia accettata";
    } catch (const VbErrore &e) {
        EXPECT_TRUE(e.descrizione().contains("contiene già dati")) << e.descrizione().toStdString();
    }
    const auto dopo = CopiaSuServer::ContaRighe(server, "public");
    for (const auto &t : prima) {
        if (t.schema != u"public")
            continue;
        const auto it =
            std::find_if(dopo.begin(), dopo.end(), [&](const auto &d) { return d.nome == t.nome; });
        ASSERT_NE(it, dopo.end());
        EXPECT_EQ(it->righe, t.righe) << t.nome.toStdString();
    }
}

TEST_F(CopiaSuServerProva, TableOutsideTheSchemaCopiesNothing)
{
    QTemporaryDir dir;
    const QString copia = dir.filePath("azienda.db");
    ASSERT_TRUE(QFile::copy(Azienda(), copia));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "copia-estranea");
        db.setDatabaseName(copia);
        ASSERT_TRUE(db.open());
        // Named after every program table, so that it is copied last.
        QSqlQuery(db).exec("CREATE TABLE ZzAppunti (Testo TEXT)");
        QSqlQuery(db).exec("INSERT INTO ZzAppunti VALUES ('x')");
    }
    QSqlDatabase::removeDatabase("copia-estranea");
    try {
        CopiaSuServer::Copia(copia, QString(), server);
        FAIL() << "tabella estranea accettata";
    } catch (const VbErrore &e) {
        EXPECT_TRUE(e.descrizione().contains("ZzAppunti")) << e.descrizione().toStdString();
    }
    for (const auto &t : CopiaSuServer::ContaRighe(server, "public"))
        EXPECT_EQ(t.righe, 0) << t.nome.toStdString();
    // Empty as it is, the database takes the copy afterwards.
    EXPECT_FALSE(CopiaSuServer::Copia(Azienda(), QString(), server).isEmpty());
}

} // namespace
