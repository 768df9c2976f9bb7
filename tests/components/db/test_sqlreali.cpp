// The program's own SQL texts (footer engine, letters-of-intent totals, page
// decoders, last account code, hotel guests) run on SQLite and PostgreSQL
// over the same rows must give the same answers; and connection failures
// never show a password.
#include "ProvaMotori.h"
#include "components/db/ErroriDb.h"

#include <QDir>
#include <QSqlQuery>

namespace
{

const char *datiDocumenti[] = {
    "INSERT INTO Monete (Moneta, Descrizione, NumDec) VALUES ('EUR', 'Euro', 2)",
    "INSERT INTO FattDocumenti (FattDocumento, Descrizione, RegimeMargine, Segno) VALUES ('FT', 'Fattura', "
    "'N', '+')",
    "INSERT INTO FattDocumenti (FattDocumento, Descrizione, RegimeMargine, Segno) VALUES ('NC', 'Nota "
    "credito', 'N', '-')",
    "INSERT INTO PagTipi (PagTipo, Descrizione, TipoEffetto, AddBolli) VALUES ('RB', 'Ricevuta', 'R', 'S')",
    "INSERT INTO Pagamenti (Pagamento, Descrizione, PagTipo, NumScad) VALUES ('RB60', 'Ri.Ba. 60 gg', 'RB', "
    "2)",
    "INSERT INTO TabIva (Iva, Aliquota, TipoIva, DescrizioneBreve, Descrizione) VALUES ('22', 22, '1', 'Iva "
    "22', 'Aliquota 22%')",
    "INSERT INTO TabIva (Iva, Aliquota, TipoIva, DescrizioneBreve, Descrizione) VALUES ('N8', 0, '3', "
    "'Esente', 'Art. 8')",
    "INSERT INTO Stati (Stato, Descrizione, Iso, Cee, CodTabStato) VALUES ('IT', 'Italia', 'IT', 'S', 'IT')",
    "INSERT INTO Stati (Stato, Descrizione, Iso, Cee, CodTabStato) VALUES ('CH', 'Svizzera', 'CH', 'N', "
    "'CH')",
    "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, Stato, StatoNascita, Pagamento, "
    "Moneta) "
    "VALUES ('01', '10', '0001', '3', 'Rossi Mario', 'IT', 'CH', 'RB60', 'EUR')",
    "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('01', '10', '0042', '3', "
    "'Bianchi')",
    "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('01', '10', 'AB07', '3', "
    "'Verdi')",
    "INSERT INTO Articoli (Articolo, Descrizione, Cauzione) VALUES ('CASSA', 'Cassa a rendere', 'S')",
    "INSERT INTO Spese (Spesa, Descrizione, gruppo, Mastro, conto) VALUES ('TR', 'Trasporto', '04', '20', "
    "'0003')",
    "INSERT INTO FatTest (Anno, NumRif, DataRif, GruppoCli, MastroCli, ContoCli, FattDocumento, Moneta, "
    "Pagamento, "
    "Iva, PrezziIvati, ScontoPag, Acconto, PdcDicIntenti, TotMerce, TotImpon, TotIva, TotDocum) VALUES "
    "(2024, 1, "
    "#03/15/2024#, '01', '10', '0001', 'FT', 'EUR', 'RB60', '22', 'N', '2', 10.5, 1, 100.10, 100.10, 22.02, "
    "122.12)",
    "INSERT INTO FatTest (Anno, NumRif, DataRif, GruppoCli, MastroCli, ContoCli, FattDocumento, Moneta, "
    "PdcDicIntenti, "
    "TotMerce, TotImpon, TotIva, TotDocum) VALUES (2024, 2, #04/01/2024#, '01', '10', '0001', 'nc', 'EUR', "
    "1, 20, "
    "20, 4.4, 24.4)",
    "INSERT INTO FatDett (Anno, NumRif, RigDet, RigLiv, TipoRiga, Articolo, Descrizione, qta, ValUnitario, "
    "ValTotale, "
    "Iva, Omaggio, gruppoven, MastroVen, contoVen) VALUES (2024, 1, 1, 1, 'M', 'VITE', 'Viti', 10, 5.005, "
    "50.05, '22', "
    "'N', '04', '10', '0001')",
    "INSERT INTO FatDett (Anno, NumRif, RigDet, RigLiv, TipoRiga, Articolo, Descrizione, qta, ValUnitario, "
    "ValTotale, "
    "Iva, Omaggio) VALUES (2024, 1, 2, 2, 'a', 'CASSA', 'Cassa', 1, 50.05, 50.05, '22', 'N')",
    "INSERT INTO FatDett (Anno, NumRif, RigDet, RigLiv, TipoRiga, Descrizione, Iva) VALUES (2024, 1, 3, 3, "
    "'D', "
    "'Descrittiva', 'N8')",
    "INSERT INTO FatLiv (Anno, NumRif, RigLiv, Livello1, ValUnitario, ValTotale) VALUES (2024, 1, 1, 'XL', "
    "5, 50)",
    "INSERT INTO FatSpese (Anno, NumRif, Riga, Spesa, Iva, Importo) VALUES (2024, 1, 1, 'TR', '22', 7.5)",
    "INSERT INTO 0_ClientHotelArdeno (Rag1, Rag2, TELEFONO) VALUES ('Neri', 'Luca', 0)",
};

const char *testiSql[] = {
    // Header of the footer engine.
    "SELECT FatTest.Acconto, FatTest.ScoPagSuDett, FatTest.Abbuono, FatTest.Bolli, FatTest.DataRif, "
    "FatTest.GruppoCli,"
    " FatTest.MastroCli, FatTest.ContoCli, FatTest.PercRitAcc, FatTest.Peso, FatTest.Moneta, "
    "FatTest.Pagamento,"
    " FatTest.PrezziIvati, FatTest.ScontoPag, FattDocumenti.RegimeMargine, FattDocumenti.Segno,"
    " FattDocumenti.FattDocumento, Monete.NumDec, PagTipi.TipoEffetto, PagTipi.AddBolli, Pagamenti.NumScad,"
    " TabIva.TipoIva, Stati.Cee,Stati.Iso FROM ((((((FatTest  LEFT JOIN Monete ON FatTest.Moneta = "
    "Monete.Moneta)"
    " LEFT JOIN FattDocumenti ON FatTest.FattDocumento = FattDocumenti.FattDocumento) LEFT JOIN Pagamenti ON"
    " FatTest.Pagamento = Pagamenti.Pagamento) LEFT JOIN PagTipi ON Pagamenti.PagTipo = PagTipi.PagTipo) "
    "LEFT JOIN"
    " TabIva ON FatTest.Iva = TabIva.Iva) LEFT JOIN PianoConti ON FatTest.GruppoCli = PianoConti.Gruppo AND"
    " FatTest.MastroCli = PianoConti.Mastro AND FatTest.ContoCli = PianoConti.Conto) LEFT JOIN Stati ON"
    " PianoConti.Stato = Stati.Stato Where FatTest.NumRif = 1 And FatTest.Anno = 2024",
    // Lines with levels and returnable containers.
    "SELECT FatDett.* ,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen AS Conto,FatLiv.* ,TabIva.*,"
    "Articoli.Cauzione as ArtCauzione FROM ((FatDett   LEFT JOIN TabIva ON FatDett.Iva = TabIva.Iva) LEFT "
    "JOIN FatLiv"
    " ON FatDett.RigLiv = FatLiv.RigLiv AND FatDett.NumRif = FatLiv.NumRif AND FatDett.Anno = FatLiv.Anno) "
    "LEFT JOIN"
    " Articoli ON FatDett.Articolo = Articoli.Articolo Where FatDett.NumRif = 1 And FatDett.Anno = 2024 and"
    " (FatDett.TipoRiga = 'M' or FatDett.TipoRiga = 'A') order by FatDett.Iva,FatDett.gruppoven & "
    "FatDett.MastroVen"
    " & FatDett.contoVen,FatDett.RigDet",
    // Lines without levels.
    "SELECT FatDett.*,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen AS Conto,TabIva.*,'N' as "
    "ArtCauzione"
    " FROM FatDett LEFT JOIN TabIva ON FatDett.Iva = TabIva.Iva Where FatDett.NumRif = 1 And FatDett.Anno = "
    "2024"
    " order by FatDett.Iva,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen,FatDett.RigDet",
    // Expenses.
    "SELECT FatSpese.*,TabIva.*,Spese.* FROM (FatSpese LEFT JOIN TabIva ON FatSpese.Iva = TabIva.Iva) LEFT "
    "JOIN"
    " Spese ON FatSpese.Spesa = Spese.Spesa Where FatSpese.Anno = 2024 And FatSpese.NumRif = 1 Order BY "
    "FatSpese.Iva"
    " ,spese.gruppo & spese.Mastro & spese.conto",
    // Letters-of-intent sums, invoices, measure M, and a customer without documents.
    "Select sum(TotDocum * iif(FattDocumenti.segno = '-',-1,1)) as Totale, sum(TotMerce * "
    "iif(FattDocumenti.segno ="
    " '-',-1,1)) as MerceTot, sum(TotIva * iif(FattDocumenti.segno = '-',-1,1)) as IvaTot, sum(TotImpon *"
    " iif(FattDocumenti.segno = '-',-1,1)) as ImponTot From FatTest Left Join FattDocumenti on "
    "FatTest.FattDocumento ="
    " FattDocumenti.FattDocumento Where FatTest.GruppoCli = '01' And FatTest.MastroCli = '10' And "
    "FatTest.ContoCli ="
    " '0001' And FatTest.PdcDicIntenti = 1 And (isnull(FatTest.ScontoPag) or FatTest.ScontoPag = '0')",
    "Select sum(TotDocum) as Totale, sum(TotMerce) as MerceTot, sum(TotIva) as IvaTot, sum(TotImpon) as "
    "ImponTot From"
    " DdtTest Where DdtTest.GruppoCli = '01' And DdtTest.MastroCli = '10' And DdtTest.ContoCli = '0001' And"
    " DdtTest.PdcDicIntenti = 1",
    "Select Anno,NumRif From FatTest Where GruppoCli = '01' And MastroCli = '10' And ContoCli = '0001' And"
    " PdcDicIntenti = 1 And not isnull(ScontoPag) And ScontoPag <> '0'",
    // Last account code, numeric and with a prefix.
    "SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '01' and Mastro = '10' and"
    " IsNumeric(Conto) <> 0",
    "SELECT max(PianoConti.Conto) as ultimo FROM PianoConti WHERE Gruppo = '01' and Mastro = '10' and"
    " isnumeric(mid(Conto,3)) <> 0 and len(Conto) = 4 And Conto like 'ab*'",
    // Accounting page decoder.
    "SELECT Pianoconti.Gruppo,Pianoconti.Mastro,Pianoconti.Conto, Ban.descrizione, Ban.Agenzia, "
    "Pag.descrizione,"
    " Pag2.descrizione, Cat.descrizione, Zon.descrizione, Mon.Descrizione, Ling.Descrizione, "
    "PiaCon1.Descrizione,"
    " PdcCointTest.Descrizione, IndSped.* FROM (((((((((Pianoconti LEFT JOIN Banche AS Ban ON "
    "PianoConti.Banca ="
    " Ban.Banca) LEFT JOIN Pagamenti AS Pag ON PianoConti.Pagamento = Pag.Pagamento) LEFT JOIN Pagamenti AS "
    "Pag2 ON"
    " PianoConti.Pagamento2 = Pag2.Pagamento) LEFT JOIN Categorie AS Cat ON PianoConti.Categoria = "
    "Cat.Categoria)"
    " LEFT JOIN Zone AS Zon ON PianoConti.Zona = Zon.Zona) LEFT JOIN Monete AS Mon ON PianoConti.Moneta ="
    " Mon.Moneta) LEFT JOIN Lingue AS Ling ON PianoConti.Lingua = Ling.Lingua) LEFT JOIN Pianoconti AS "
    "PiaCon1 ON"
    " ((PianoConti.GruppoContr = PiaCon1.Gruppo) AND (PianoConti.MastroContr = PiaCon1.Mastro) AND"
    " (PianoConti.ContoContr = PiaCon1.Conto))) LEFT JOIN IndSped ON ((PianoConti.Gruppo = IndSped.Gruppo) "
    "AND"
    " (PianoConti.Mastro = IndSped.Mastro) AND (PianoConti.Conto = IndSped.Conto) AND (PianoConti.IndAmm ="
    " IndSped.IndSped))) LEFT JOIN PdcCointTest ON PianoConti.Cointest = PdcCointTest.Cointest WHERE"
    " PianoConti.Gruppo = '01' AND PianoConti.Mastro = '10' AND PianoConti.Conto = '0001'",
    "Select RAG1, Rag2, TELEFONO from 0_ClientHotelArdeno order by Rag1",
};

// Every row of every text, as "column=value" lines (names in lower case).
QStringList Righe(DbMotore &db, const QString &sql)
{
    RecDat rs;
    QStringList out;
    const QString h = rs.ApriRec(&db, QStringLiteral("Azienda"), QString(), sql, false, RecDat::TipoSnapshot);
    const Risultato *r = rs.RecordsetDao(h);
    for (int i = 0; i < r->numRighe(); ++i) {
        QStringList riga;
        for (int c = 0; c < r->numColonne(); ++c) {
            const QVariant v = r->valore(i, c);
            const QString q = r->colonna(c).qualifica.toLower();
            riga << (q.isEmpty() ? QString() : q + u'.') + r->colonna(c).nome.toLower() + u'=' +
                        (v.isValid() ? (v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate)
                                                                       : v.toString())
                                     : QStringLiteral("<null>"));
        }
        out << riga.join(u'|');
    }
    return out;
}

} // namespace

TEST(SqlReali, SameRowsOnSQLiteAndPostgreSQL)
{
    QTemporaryDir cartella;
    QString connectPg, motivo;
    DbMotore lite, pg;
    ASSERT_TRUE(ApriMotoreProva(lite, MotoreProva::SQLite, cartella, connectPg, motivo));
    const bool conPg = ApriMotoreProva(pg, MotoreProva::PostgreSQL, cartella, connectPg, motivo);
    if (!conPg && PgObbligatorio())
        FAIL() << "PostgreSQL richiesto in CI: " << motivo.toStdString();
    for (const char *s : datiDocumenti) {
        lite.EseguiSql("Azienda", QString::fromUtf8(s));
        if (conPg)
            pg.EseguiSql("Azienda", QString::fromUtf8(s));
    }
    for (const char *s : testiSql) {
        const QStringList l = Righe(lite, QString::fromUtf8(s));
        EXPECT_FALSE(l.isEmpty()) << s;
        if (conPg) {
            EXPECT_EQ(l.join(u'\n').toStdString(), Righe(pg, QString::fromUtf8(s)).join(u'\n').toStdString())
                << s;
        }
    }
    // A few answers the callers rely on, read as they read them.
    RecDat rs;
    const QString t = rs.ApriRec(&lite, "Azienda", QString(), QString::fromUtf8(testiSql[0]), false, 4);
    EXPECT_EQ(rs.LeggiCampo(t, "FatTest.Acconto", 5).toString(), "10.5");
    EXPECT_EQ(rs.LeggiCampo(t, "Abbuono", 5).toInt(), 0);
    EXPECT_EQ(rs.LeggiCampo(t, "Monete.NumDec").toInt(), 2);
    EXPECT_EQ(rs.LeggiCampo(t, "Stati.Cee").toString(), "S");
    const QString d = rs.ApriRec(&lite, "Azienda", QString(), QString::fromUtf8(testiSql[1]), false, 4);
    // The lower-case line kind 'a' counts; the container line has no account, so it sorts first.
    ASSERT_EQ(rs.NumRecord(d), 2);
    EXPECT_EQ(rs.LeggiCampo(d, "ArtCauzione").toString(), "S");
    EXPECT_EQ(rs.LeggiCampo(d, "Conto").toString(), "");
    EXPECT_EQ(rs.LeggiCampo(d, "FatLiv.ValTotale", 5).toInt(), 0);
    rs.MuoviSuccessivo(d);
    EXPECT_EQ(rs.LeggiCampo(d, "FatLiv.ValTotale", 5).toString(), "50");
    EXPECT_EQ(rs.LeggiCampo(d, "ValTotale", 5).toString(), "50.05");
    EXPECT_EQ(rs.LeggiCampo(d, "TabIva.Descrizione").toString(), "Aliquota 22%");
    EXPECT_EQ(rs.LeggiCampo(d, "Descrizione").toString(), "Viti");
    EXPECT_EQ(rs.LeggiCampo(d, "Conto").toString(), "04100001");
    const QString m = rs.ApriRec(&lite, "Azienda", QString(), QString::fromUtf8(testiSql[4]), false, 4);
    EXPECT_EQ(rs.LeggiCampo(m, "Totale").toDouble(), -24.4);
}

TEST(SqlReali, CommonMenuDatabaseJoinsInBothForms)
{
    QTemporaryDir cartella;
    QString connectPg, motivo;
    // SQLite: the Jet form names the menu file, attached on first use.
    {
        DbMotore db;
        QString nessuno;
        ASSERT_TRUE(ApriMotoreProva(db, MotoreProva::SQLite, cartella, nessuno, motivo));
        const QString menu = cartella.filePath("menu.db");
        {
            DbMotore m;
            m.ApriSqlite("Menu", menu, true);
            QSqlDatabase q = m.DatabaseDao("Menu");
            Schema::ApplicaMenu(q);
            m.EseguiSql(
                "Menu",
                "INSERT INTO TabStati (StatoIso, Descrizione, BlackList) VALUES ('CH', 'Svizzera', 's')");
        }
        db.EseguiSql("Azienda",
                     "INSERT INTO Stati (Stato, Descrizione, CodTabStato) VALUES ('CH', 'Svizzera', 'CH')");
        db.EseguiSql(
            "Azienda",
            "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Stato) VALUES ('01', '10', '0001', 'CH')");
        RecDat rs;
        const QString h =
            rs.ApriRec(&db, "Azienda", QString(),
                       "SELECT Pianoconti.Gruppo,Pianoconti.Mastro,Pianoconti.Conto, Stati.*, "
                       "Sta1.descrizione, StatiEle.BlackList FROM ((Pianoconti LEFT JOIN Stati ON "
                       "PianoConti.Stato = Stati.Stato) LEFT JOIN Stati AS Sta1 ON PianoConti.StatoNascita"
                       " = Sta1.Stato) left join [;Database=" +
                           menu +
                           ";pwd=segreto;].TabStati as StatiEle"
                           " On Stati.CodTabStato = StatiEle.StatoIso WHERE PianoConti.Gruppo = '01'",
                       false, 4);
        ASSERT_FALSE(rs.FineDati(h));
        EXPECT_EQ(rs.LeggiCampo(h, "StatiEle.BlackList").toString(), "s");
        EXPECT_EQ(rs.LeggiCampo(h, "Stati.Descrizione").toString(), "Svizzera");
    }
    // PostgreSQL: the ODBC form "<database>ç§&dbo§&ç<table>" reads the schema of that name.
    DbMotore pg;
    if (!ApriMotoreProva(pg, MotoreProva::PostgreSQL, cartella, connectPg, motivo)) {
        if (PgObbligatorio())
            FAIL() << motivo.toStdString();
        GTEST_SKIP() << motivo.toStdString();
    }
    {
        QSqlDatabase q = pg.DatabaseDao("Azienda");
        QSqlQuery(q).exec("CREATE SCHEMA menu");
        QSqlQuery(q).exec("SET search_path TO menu, public");
        Schema::ApplicaMenu(q);
        QSqlQuery(q).exec("SET search_path TO public");
    }
    pg.EseguiSql("Azienda", "INSERT INTO menu.TabStati (StatoIso, BlackList) VALUES ('CH', 's')");
    pg.EseguiSql("Azienda",
                 "INSERT INTO Stati (Stato, Descrizione, CodTabStato) VALUES ('CH', 'Svizzera', 'CH')");
    pg.EseguiSql("Azienda",
                 "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Stato) VALUES ('01', '10', '0001', 'CH')");
    RecDat rs;
    const QString h =
        rs.ApriRec(&pg, "Azienda", QString(),
                   "SELECT Pianoconti.Gruppo, Stati.*, StatiEle.BlackList FROM (Pianoconti LEFT JOIN Stati"
                   " ON PianoConti.Stato = Stati.Stato) left join menuç§&dbo§&çTabStati as StatiEle On"
                   " Stati.CodTabStato = StatiEle.StatoIso WHERE PianoConti.Gruppo = '01'",
                   false, 4, RecDat::OpzPassThrough);
    ASSERT_FALSE(rs.FineDati(h));
    EXPECT_EQ(rs.LeggiCampo(h, "StatiEle.BlackList").toString(), "s");
}

TEST(SqlReali, FailuresNeverShowAPassword)
{
    DbMotore db;
    try {
        db.ApriConnessione("Azienda",
                           "ODBC;DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=1;DATABASE=x;UID=u;"
                           "PWD=segreto1",
                           "UID=u;pwd=segreto2");
        FAIL() << "connessione inattesa";
    } catch (const VbErrore &e) {
        EXPECT_EQ(e.numero(), ErroriDb::ConnessioneOdbcFallita);
        EXPECT_FALSE(e.descrizione().contains("segreto")) << e.descrizione().toStdString();
    }
    EXPECT_EQ(ErroriDb::NascondiPassword("a [;Database=x.db;pwd=abc;].T PWD={a;b} Password = zz;"),
              "a [;Database=x.db;pwd=***;].T PWD=*** Password=***;");
    EXPECT_THROW(db.ApriConnessione("Azienda", QDir::temp().filePath("manca-questo-file.mdb")), VbErrore);
}
