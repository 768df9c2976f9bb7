// Program-level procedures: the kind of company connection, the login
// session, the transaction brackets on SQLite and PostgreSQL, the scratch
// table of the common menu database, and opening errors reported to the host.
#include "support/PgServer.h"

#include "components/db/DbMotore.h"
#include "components/db/Schema.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/menu/ClienteMenuLocale.h"
#include "components/util/VbErrore.h"
#include "services/AziOpenDbMenu.h"
#include "services/Globali.h"
#include "services/UtilPrg.h"
#include "services/frmConn.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

TEST(TipoConnOdbcTest, RecognisesOdbcNames)
{
    const struct {
        const char *nome;
        bool odbc;
    } casi[] = {
        {"ODBC;DSN=Azienda;UID=sa", true},
        {"odbc;driver={PostgreSQL Unicode}", true},
        {"C:\\Dati\\Azienda.DSN", true},
        {"/srv/azienda.dsn", true},
        {"Azienda", true},
        {"", true},
        {"/srv/dati/azienda.mdb", false},
        {"demo/azienda.db", false},
        {"ODBC.mdb", false},
        {"Azienda.dsn.bak", false},
    };
    for (const auto &c : casi)
        EXPECT_EQ(TipoConnOdbc(QString::fromLatin1(c.nome)), c.odbc) << c.nome;
}

TEST(IdentificaPostazioneTest, SessionNumberAndClientName)
{
    const struct {
        QStringList ambiente;
        long sessione;
        QString client;
    } casi[] = {
        {{}, 0, QString()},
        {{QStringLiteral("XDG_SESSION_ID=")}, 0, QString()},
        {{QStringLiteral("XDG_SESSION_ID=abc")}, 0, QString()},
        {{QStringLiteral("XDG_SESSION_ID=7"), QStringLiteral("SSH_CONNECTION=10.0.0.5 52100 10.0.0.1 22")},
         7,
         QStringLiteral("10.0.0.5")},
        {{QStringLiteral("XDG_SESSION_ID=c12"), QStringLiteral("DISPLAY=terminale3:10.0")},
         12,
         QStringLiteral("terminale3")},
        {{QStringLiteral("XDG_SESSION_ID=4"), QStringLiteral("REMOTEHOST=pc-ufficio")},
         4,
         QStringLiteral("pc-ufficio")},
    };
    for (const auto &c : casi) {
        QProcessEnvironment env;
        for (const QString &v : c.ambiente)
            env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
        QString client = QStringLiteral("x");
        EXPECT_EQ(IdentificaPostazione(env, client), c.sessione)
            << c.ambiente.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(client, c.client);
    }
    QProcessEnvironment locale;
    locale.insert(QStringLiteral("XDG_SESSION_ID"), QStringLiteral("3"));
    QString client;
    EXPECT_EQ(IdentificaPostazione(locale, client), 3);
    EXPECT_FALSE(client.isEmpty()); // this machine
}

namespace
{

// The transaction brackets on one connection: a rolled-back bracket leaves
// nothing behind, a committed one keeps its row.
void provaTransazioni(DbMotore &db, const QString &conn)
{
    db.EseguiSql(conn, QStringLiteral("DELETE FROM Zone"));
    ApriRsLetSporca(0, -1, &db, 0, conn);
    EXPECT_EQ(db.LivelloTrans(conn), 1);
    db.EseguiSql(conn, QStringLiteral("INSERT INTO Zone (Zona, Descrizione) VALUES ('NO', 'Nord Ovest')"));
    ApriRsLetCommit2(0, -1, &db, 0, conn);
    EXPECT_EQ(db.LivelloTrans(conn), 0);
    EXPECT_EQ(db.Seleziona(conn, QStringLiteral("SELECT Zona FROM Zone"))->numRighe(), 0);

    ApriRsLetSporca(0, -1, &db, 0, conn);
    db.EseguiSql(conn, QStringLiteral("INSERT INTO Zone (Zona, Descrizione) VALUES ('SU', 'Sud')"));
    ApriRsLetCommit(0, -1, &db, 0, conn);
    EXPECT_EQ(db.LivelloTrans(conn), 0);
    EXPECT_EQ(db.Seleziona(conn, QStringLiteral("SELECT Zona FROM Zone"))->numRighe(), 1);

    // Without the first argument only the isolation statement runs.
    ApriRsLetSporca(QVariant(), -1, &db, 0, conn);
    EXPECT_EQ(db.LivelloTrans(conn), 0);
}

} // namespace

TEST(TransazioniTest, RolledBackWorkLeavesNothingBehindOnSqlite)
{
    QTemporaryDir dir;
    DbMotore db;
    db.ApriSqlite(QStringLiteral("Azienda"), dir.filePath(QStringLiteral("a.db")), true);
    QSqlDatabase q = db.DatabaseDao(QStringLiteral("Azienda"));
    Schema::ApplicaAzienda(q);
    EXPECT_FALSE(db.TipoSql(QStringLiteral("Azienda")));
    provaTransazioni(db, QStringLiteral("Azienda"));
}

TEST(TransazioniTest, RolledBackWorkLeavesNothingBehindOnPostgreSql)
{
    QString motivo;
    PgServer *pg = PgServer::Istanza(&motivo);
    if (!pg)
        GTEST_SKIP() << motivo.toStdString();
    const QString connect = pg->NuovoDatabase(QStringLiteral("shell"));
    {
        DbMotore db;
        db.ApriConnessione(QStringLiteral("Azienda"), connect);
        EXPECT_TRUE(db.TipoSql(QStringLiteral("Azienda")));
        QSqlDatabase q = db.DatabaseDao(QStringLiteral("Azienda"));
        Schema::ApplicaAzienda(q);
        provaTransazioni(db, QStringLiteral("Azienda"));
    }
    pg->EliminaDatabase(PgServer::NomeDatabase(connect));
}

TEST(TransazioniTest, TheCompanyConnectionIsTheDefault)
{
    QTemporaryDir dir;
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    db->ApriSqlite(Globali::DbAzienda, dir.filePath(QStringLiteral("a.db")), true);
    ApriRsLetSporca(0, -1, nullptr, -1, QString());
    EXPECT_EQ(db->LivelloTrans(Globali::DbAzienda), 1);
    ApriRsLetCommit2(0, -1, nullptr, -1, QString());
    EXPECT_EQ(db->LivelloTrans(Globali::DbAzienda), 0);
    EXPECT_THROW(ApriRsLetSporca(0, -1, nullptr, 0, QString()), VbErrore);
    Globali::ImpostaDbComp(nullptr);
}

namespace
{

// Reading, writing and adding rows of Appoggio through DbMenu, opened already.
void provaAppoggio()
{
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    QString memo = QStringLiteral("x"), descr = QStringLiteral("y");
    EXPECT_FALSE(LeggiScriviAppoggio(QStringLiteral("PdfEmail"), 2, memo, 0, 1, descr, -1));
    EXPECT_TRUE(memo.isEmpty() && descr.isEmpty());
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom)
                  .value(QStringLiteral("testo"))
                  .toString(),
              QStringLiteral("Dati non trovati"));

    memo = QStringLiteral("Gentile cliente,\nin allegato la fattura.");
    descr = QStringLiteral("Fattura n. §NumDoc§");
    EXPECT_TRUE(LeggiScriviAppoggio(QStringLiteral("PdfEmail"), 2, memo, 1, 0, descr, -1));
    memo = QStringLiteral("Solo testo");
    QString nulla;
    EXPECT_TRUE(LeggiScriviAppoggio(QStringLiteral("PdfEmail"), 3, memo, 1, 0, nulla, 0));

    QString m2, d2;
    EXPECT_TRUE(LeggiScriviAppoggio(QStringLiteral("pdfemail"), 2, m2, 0, 0, d2, -1));
    EXPECT_EQ(d2, QStringLiteral("Fattura n. §NumDoc§"));
    EXPECT_EQ(m2, QStringLiteral("Gentile cliente,\nin allegato la fattura."));
    EXPECT_TRUE(LeggiScriviAppoggio(QStringLiteral("PdfEmail"), 3, m2, 0, 0, d2, -1));
    EXPECT_EQ(m2, QStringLiteral("Solo testo"));
    EXPECT_TRUE(d2.isEmpty());
    for (int fuori : {0, 6}) {
        m2 = d2 = QStringLiteral("z");
        EXPECT_FALSE(LeggiScriviAppoggio(QStringLiteral("PdfEmail"), fuori, m2, 0, 0, d2, -1));
        EXPECT_TRUE(m2.isEmpty() && d2.isEmpty());
    }
    Globali::ImpostaDbComp(nullptr);
    Globali::DbMenu.clear();
    Globali::NomeDbMenu.clear();
    RisposteProgrammate::Azzera();
}

} // namespace

TEST(AppoggioTest, ReadsAndWritesThePairsOfARowOfTheMenuFile)
{
    QTemporaryDir dir;
    const QString menu = dir.filePath(QStringLiteral("menu.db"));
    {
        DbMotore crea;
        crea.ApriSqlite(QStringLiteral("m"), menu, true);
        QSqlDatabase q = crea.DatabaseDao(QStringLiteral("m"));
        Schema::ApplicaMenu(q);
    }
    Globali::ImpostaDbComp(new DbMotore);
    Globali::DbMenu.clear();
    Globali::NomeDbMenu = menu;
    ASSERT_EQ(ApriDbComune(), QVariant(true));
    EXPECT_EQ(Globali::DbMenu, NomeConnessioneMenu);
    provaAppoggio();
}

// On a server the menu tables live in the schema "menu" of the company
// database: reads and writes both name it.
TEST(AppoggioTest, ReadsAndWritesThePairsOfARowOfTheMenuSchema)
{
    QString motivo;
    PgServer *s = PgServer::Istanza(&motivo);
    if (!s) {
        if (PgObbligatorio())
            FAIL() << motivo.toStdString();
        GTEST_SKIP() << motivo.toStdString();
    }
    const QString connect = s->NuovoDatabase(QStringLiteral("appoggio"));
    ASSERT_FALSE(connect.isEmpty());
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    db->ApriConnessione(Globali::DbAzienda, connect);
    {
        QSqlDatabase q = db->DatabaseDao(Globali::DbAzienda);
        QSqlQuery(q).exec(QStringLiteral("CREATE SCHEMA menu"));
        QSqlQuery(q).exec(QStringLiteral("SET search_path TO menu, public"));
        Schema::ApplicaMenu(q);
        QSqlQuery(q).exec(QStringLiteral("SET search_path TO public"));
    }
    Globali::DbMenu.clear();
    ASSERT_EQ(ApriDbComune(), QVariant(true));
    EXPECT_EQ(Globali::DbMenu, Globali::DbAzienda);
    provaAppoggio();
    s->EliminaDatabase(PgServer::NomeDatabase(connect));
}

TEST(MsgErroreAperturaTest, TheHostShowsTheCurrentErrorWithoutPasswords)
{
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    auto client = std::make_unique<ClienteMenuLocale>();
    Globali::MenuClient = client.get();
    frmConn::Mostra(QStringLiteral("Caricamento maschera"));
    try {
        throw VbErrore(3146, QStringLiteral("Chiamata ODBC non riuscita: DSN=x;PWD=Segreta99"));
    } catch (const VbErrore &) {
        MsgErroreApertura({}, {}, QStringLiteral("Clienti\n"), QString());
    }
    EXPECT_FALSE(frmConn::Caricato());
    MsgErroreApertura(5, QStringLiteral("Chiamata di routine non valida"), QStringLiteral("A "),
                      QStringLiteral(" B"));
    Globali::MenuClient = nullptr;
    ASSERT_EQ(client->Messaggi().size(), 2);
    EXPECT_TRUE(client->Messaggi()[0].startsWith(
        QStringLiteral("Clienti\nErrore(3146): Chiamata ODBC non riuscita")));
    EXPECT_FALSE(client->Messaggi()[0].contains(QStringLiteral("Segreta99")));
    EXPECT_EQ(client->Messaggi()[1], QStringLiteral("A Errore(5): Chiamata di routine non valida B"));
    RisposteProgrammate::Azzera();
}
