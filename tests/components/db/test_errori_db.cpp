// What the engines' failures tell the user: the program's error number and an
// Italian explanation of what to do, the engine's own words only as detail;
// a read-only database is known at opening and refuses writes in Italian.
#include "ProvaMotori.h"
#include "components/db/ErroriDb.h"
#include "tests/support/ErroreVb.h"
#include "tests/support/SenzaPrivilegi.h"

#include <QFile>
#include <QSqlQuery>
#include <functional>

namespace
{

class ErroriDbMotori : public ProvaMotori
{
};

} // namespace

TEST_P(ErroriDbMotori, OgniErroreSpiegatoInItaliano)
{
    QSqlQuery(db->DatabaseDao(C))
        .exec(QStringLiteral("CREATE TABLE prova (a integer PRIMARY KEY, b varchar(5) NOT NULL)"));
    Esegui(QStringLiteral("INSERT INTO prova (a, b) VALUES (1, 'x')"));
    const struct {
        const char *sql;
        int numero;
        const char *inizio;
        bool soloPg;
    } casi[] = {
        {"INSERT INTO prova (a, b) VALUES (1, 'y')", VbErrore::ChiaveDuplicata,
         "Impossibile eseguire le modifiche", false},
        {"INSERT INTO prova (a) VALUES (2)", ErroriDb::CampoNonNullo, "Il campo non può contenere", false},
        {"INSERT INTO prova (a, b) VALUES (3, 'troppo lungo')", ErroriDb::TestoTroppoLungo,
         "Il testo è troppo lungo", true},
        {"UPDATE manca SET a = 1", ErroriDb::TabellaNonTrovata, "Tabella non trovata", false},
    };
    for (const auto &c : casi) {
        if (c.soloPg && !Pg())
            continue;
        SCOPED_TRACE(c.sql);
        const auto [numero, testo] = ErroreDi([&] { Esegui(QString::fromUtf8(c.sql)); });
        EXPECT_EQ(numero, c.numero) << testo.toStdString();
        EXPECT_TRUE(testo.startsWith(QString::fromUtf8(c.inizio))) << testo.toStdString();
        EXPECT_TRUE(testo.contains(QStringLiteral("\nDettaglio: "))) << testo.toStdString();
    }
    EXPECT_FALSE(db->SolaLettura(C));
}

INSTANTIATE_TEST_SUITE_P(Motori, ErroriDbMotori,
                         ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL), NomeMotore);

// A file that is not a database is refused when opened, in Italian.
TEST(ErroriDb, UnFileCheNonEUnDatabase)
{
    QTemporaryDir cartella;
    const QString file = cartella.filePath(QStringLiteral("ditta.mdb"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("Standard Jet DB").leftJustified(4096, '\x01'));
    f.close();
    DbMotore db;
    try {
        db.ApriSqlite(QStringLiteral("A"), file);
        FAIL() << "aperto un file che non è un database";
    } catch (const VbErrore &e) {
        EXPECT_TRUE(e.descrizione().contains(QStringLiteral("non è un database del programma")))
            << e.descrizione().toStdString();
        EXPECT_TRUE(e.descrizione().contains(file));
    }
    EXPECT_FALSE(db.EsisteConnessione(QStringLiteral("A")));
}

TEST(ErroriDb, DatabaseInSolaLettura)
{
    QTemporaryDir cartella;
    const QString file = cartella.filePath(QStringLiteral("azienda.db"));
    {
        DbMotore crea;
        crea.ApriSqlite(QStringLiteral("A"), file, true);
        crea.EseguiSql(QStringLiteral("A"), QStringLiteral("CREATE TABLE prova (a integer PRIMARY KEY)"));
    }
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                QFileDevice::ReadOther));
    SenzaPrivilegi senza;
    DbMotore db;
    db.ApriSqlite(QStringLiteral("A"), file);
    EXPECT_TRUE(db.SolaLettura(QStringLiteral("A")));
    try {
        db.EseguiSql(QStringLiteral("A"), QStringLiteral("INSERT INTO prova (a) VALUES (1)"));
        FAIL() << "scrittura inattesa";
    } catch (const VbErrore &e) {
        EXPECT_EQ(e.numero(), ErroriDb::SolaLettura);
        EXPECT_TRUE(
            e.descrizione().startsWith(QStringLiteral("Impossibile salvare: il database è in sola lettura")))
            << e.descrizione().toStdString();
    }
}
