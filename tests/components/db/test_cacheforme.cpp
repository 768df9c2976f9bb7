// What a connection keeps between SELECTs (translations, column naming,
// prepared statements): never stale rows after writes of this or another
// connection, never stale columns after DDL here or elsewhere, each engine its
// own translations, and one form serving different literals.
#include "ProvaMotori.h"
#include "components/db/JetSql.h"

namespace
{

QStringList Colonne(const Risultato &r)
{
    QStringList out;
    for (int i = 0; i < r.numColonne(); ++i)
        out << r.colonna(i).nome.toLower();
    return out;
}

} // namespace

class CacheForme : public ProvaMotori
{
  protected:
    void SetUp() override
    {
        ProvaMotori::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (int i = 1; i <= 3; ++i)
            Esegui(QStringLiteral("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) "
                                  "VALUES ('05', '10', '000%1', 'Cliente %1')")
                       .arg(i));
    }
    QString Descrizione(const QString &conto)
    {
        const auto r =
            db->Seleziona(C, QStringLiteral("SELECT Descrizione FROM PianoConti WHERE Gruppo = '05' AND "
                                            "Conto = '%1'")
                                 .arg(conto));
        return r->numRighe() == 1 ? r->valore(0, 0).toString()
                                  : QStringLiteral("<%1 righe>").arg(r->numRighe());
    }
    std::unique_ptr<DbMotore> AltraConnessione()
    {
        auto altro = std::make_unique<DbMotore>();
        if (Pg())
            altro->ApriConnessione(C, connect);
        else
            altro->ApriSqlite(C, cartella.filePath(QStringLiteral("azienda.db")));
        return altro;
    }
};

TEST_P(CacheForme, OneFormServesEveryLiteral)
{
    // The same query for three documents, then again in another order.
    for (const char *conto : {"0001", "0002", "0003", "0002", "0009", "0001"}) {
        const QString atteso = QString::fromLatin1(conto) == QLatin1String("0009")
                                   ? QStringLiteral("<0 righe>")
                                   : QStringLiteral("Cliente ") + QChar(conto[3]);
        EXPECT_EQ(Descrizione(QString::fromLatin1(conto)), atteso) << conto;
    }
    // A quote inside the literal is a value, not SQL.
    Esegui("UPDATE PianoConti SET Descrizione = 'D''Angelo' WHERE Conto = '0003'");
    const auto r =
        db->Seleziona(C, "SELECT Conto FROM PianoConti WHERE Descrizione = 'D''Angelo' AND Mastro = '10'");
    ASSERT_EQ(r->numRighe(), 1);
    EXPECT_EQ(r->valore(0, 0).toString(), "0003");
}

TEST_P(CacheForme, RowsAreFreshAfterWritesOfThisAndOtherConnections)
{
    EXPECT_EQ(Descrizione("0001"), "Cliente 1");
    Esegui("UPDATE PianoConti SET Descrizione = 'Rossi' WHERE Conto = '0001'");
    EXPECT_EQ(Descrizione("0001"), "Rossi");
    db->InserisciRiga(C, "PianoConti", {"Gruppo", "Mastro", "Conto", "Descrizione"},
                      {"05", "10", "0004", "Nuovo"});
    EXPECT_EQ(Descrizione("0004"), "Nuovo");

    auto altro = AltraConnessione();
    altro->EseguiSql(C, "UPDATE PianoConti SET Descrizione = 'Bianchi' WHERE Conto = '0001'");
    altro->EseguiSql(C, "DELETE FROM PianoConti WHERE Conto = '0004'");
    EXPECT_EQ(Descrizione("0001"), "Bianchi");
    EXPECT_EQ(Descrizione("0004"), "<0 righe>");

    // Inside a transaction the reads see its own writes, and after a rollback no longer.
    db->IniziaTrans(C);
    Esegui("UPDATE PianoConti SET Descrizione = 'Provvisorio' WHERE Conto = '0002'");
    EXPECT_EQ(Descrizione("0002"), "Provvisorio");
    db->AnnullaTrans(C);
    EXPECT_EQ(Descrizione("0002"), "Cliente 2");
}

TEST_P(CacheForme, DdlOfThisConnectionChangesTheColumnsOfStar)
{
    const QString sql = QStringLiteral("SELECT Zone.* FROM Zone WHERE Zona = 'N'");
    Esegui("INSERT INTO Zone (Zona, Descrizione) VALUES ('N', 'Nord')");
    const QStringList prima = Colonne(*db->Seleziona(C, sql));
    ASSERT_FALSE(prima.contains("nota"));
    Esegui("ALTER TABLE Zone ADD COLUMN Nota VARCHAR(20)");
    Esegui("UPDATE Zone SET Nota = 'x' WHERE Zona = 'N'");
    const auto r = db->Seleziona(C, sql);
    EXPECT_EQ(Colonne(*r), prima + QStringList{"nota"});
    EXPECT_EQ(r->valore(0, r->indice("Zone.Nota")).toString(), "x");
    // And through a record set that steps its rows.
    const QString h = Apri(sql);
    EXPECT_EQ(rs->LeggiCampo(h, "Zone.Nota").toString(), "x");
}

TEST_P(CacheForme, DdlOfAnotherConnectionChangesTheColumnsOfStarOnSqlite)
{
    if (Pg())
        GTEST_SKIP() << "a server connection learns of other connections' DDL only through its own";
    const QString sql = QStringLiteral("SELECT Zone.* FROM Zone");
    Esegui("INSERT INTO Zone (Zona, Descrizione) VALUES ('S', 'Sud')");
    const QStringList prima = Colonne(*db->Seleziona(C, sql));
    rs->ChiudiRec(Apri(sql));
    auto altro = AltraConnessione();
    altro->EseguiSql(C, "ALTER TABLE Zone ADD COLUMN Nota2 VARCHAR(20)");
    altro->EseguiSql(C, "UPDATE Zone SET Nota2 = 'y'");
    const auto r = db->Seleziona(C, sql);
    EXPECT_EQ(Colonne(*r), prima + QStringList{"nota2"});
    const QString h = Apri(sql);
    EXPECT_EQ(rs->LeggiCampo(h, "Zone.Nota2").toString(), "y");
}

TEST_P(CacheForme, TranslationsAreTheEnginesOwnAndFollowTheMenuSchema)
{
    const QString jet = QStringLiteral("SELECT a & b AS c FROM MenuDbç§&dbo§&çTabStati WHERE x = True");
    const JetSql::Dialetto d = Pg() ? JetSql::Dialetto::PostgreSQL : JetSql::Dialetto::SQLite;
    const QString prima = db->Traduci(C, jet);
    EXPECT_EQ(prima, JetSql::Traduci(jet, d));
    EXPECT_EQ(db->Traduci(C, jet), prima);

    // A second connection of the other kind, same text, keeps its own translation.
    if (Pg()) {
        db->ApriSqlite("Locale", cartella.filePath("locale.db"), true);
        EXPECT_EQ(db->Traduci("Locale", jet), JetSql::Traduci(jet, JetSql::Dialetto::SQLite));
        EXPECT_EQ(db->Traduci(C, jet), prima);
        EXPECT_NE(db->Traduci("Locale", jet), prima);
    }

    // Texts naming the menu database follow the schema the connection is given.
    const QString menu =
        QStringLiteral("SELECT * FROM [;Database=%1;].TabStati").arg(cartella.filePath("menu.db"));
    if (Pg()) {
        db->ImpostaParametro("SchemaMenu:" + C, "menu");
        EXPECT_TRUE(db->Traduci(C, menu).contains("menu.TabStati"));
        db->ImpostaParametro("SchemaMenu:" + C, "altro");
        EXPECT_TRUE(db->Traduci(C, menu).contains("altro.TabStati"));
    } else {
        DbMotore crea;
        crea.ApriSqlite("M", cartella.filePath("menu.db"), true);
        crea.EseguiSql("M", "CREATE TABLE TabStati (Stato TEXT)");
        crea.ChiudiTutto();
        db->AllegaDatabase(C, cartella.filePath("menu.db"), "menudb");
        EXPECT_TRUE(db->Traduci(C, menu).contains("menudb.TabStati"));
        EXPECT_EQ(db->Seleziona(C, menu)->numColonne(), 1);
    }
}

TEST_P(CacheForme, ClosingWithARecordSetOpenLetsTheConnectionGo)
{
    const QString h = Apri("SELECT Conto FROM PianoConti WHERE Gruppo = '05' ORDER BY Conto");
    EXPECT_EQ(rs->LeggiCampo(h, "Conto").toString(), "0001");
    db->ChiudiConnessione(C);
    EXPECT_FALSE(db->EsisteConnessione(C));
    // The file is free again: another connection writes to it at once.
    if (!Pg()) {
        auto altro = AltraConnessione();
        EXPECT_EQ(altro->EseguiSql(C, "DELETE FROM PianoConti WHERE Gruppo = '05'"), 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, CacheForme, ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL),
                         NomeMotore);
