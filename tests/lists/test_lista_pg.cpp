// The customer list and the hotel-guest pick list on a PostgreSQL company
// database reached through ODBC.
#include "BancoLista.h"

#include "support/PgServer.h"

#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/db/Schema.h"
#include "components/lista/GestLista.h"
#include "components/lista/RigheLista.h"
#include "components/lista/SorgenteLista.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "lists/frmClientiLis.h"
#include "lists/frmLisAnagHotel.h"
#include "services/Globali.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <algorithm>

namespace
{

class ListaPostgres : public BancoLista
{
  protected:
    void SetUp() override
    {
        QString motivo;
        if (!PgServer::Istanza(&motivo)) {
            if (PgObbligatorio())
                FAIL() << motivo.toStdString();
            GTEST_SKIP() << motivo.toStdString();
        }
        BancoLista::SetUp();
    }
    bool ApriDatabase() override
    {
        PgServer *pg = PgServer::Istanza();
        const QString connect = pg->NuovoDatabase(QStringLiteral("lista"));
        m_database = PgServer::NomeDatabase(connect);
        auto *db = new DbMotore;
        Globali::ImpostaDbComp(db);
        db->ApriConnessione(Globali::DbAzienda, connect);
        QSqlDatabase qdb = db->DatabaseDao(Globali::DbAzienda);
        Schema::ApplicaAzienda(qdb);
        Esegui(QStringLiteral(
            "Insert Into Mastri (Gruppo, Mastro, Tipo, Descrizione) Values ('01','05','3','CLIENTI'), "
            "('02','05','4','FORNITORI')"));
        QStringList righe;
        for (int i = 1; i <= 300; ++i)
            righe << QStringLiteral("('01','05','%1','3',%2)")
                         .arg(i, 4, 10, QLatin1Char('0'))
                         .arg(i % 50 == 0 ? QStringLiteral("Null")
                                          : QStringLiteral("'Cliente %1'").arg(i % 97));
        righe << QStringLiteral("('01','05','0901','3','D''Amico Anna')")
              << QStringLiteral("('01','05','0902','3','50% Sconti S.r.l.')")
              << QStringLiteral("('01','05','0903','3','500 Sconti S.r.l.')")
              << QStringLiteral("('02','05','0001','4','D''Amico Fornitore')");
        Esegui(QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) Values ") +
               righe.join(QStringLiteral(", ")));
        Esegui(QStringLiteral(
            "Insert Into 0_ClientHotelArdeno (Rag1, Rag2, PARTIVA, TELEFONO) Values "
            "('Bianchi Ugo', Null, '01234567890', 123456), ('Albergo Ospite', 'c/o', Null, 0)"));
        return true;
    }
    void ChiudiDatabase() override
    {
        Globali::ImpostaDbComp(nullptr);
        if (!m_database.isEmpty())
            if (PgServer *pg = PgServer::Istanza())
                pg->EliminaDatabase(m_database);
    }
    QString m_database;
};

struct Richiamo : ChiamanteLisAnag {
    frmLisAnagHotel *lista = nullptr;
    QString rag1;
    void DopoLisAnag() override
    {
        if (lista->obConferma)
            rag1 = lista->ogRecDat()->LeggiCampo(lista->osRecDat, QStringLiteral("Rag1")).toString();
    }
};

} // namespace

TEST_F(ListaPostgres, ListaRicercaOrdinamentoESelezione)
{
    Apri();
    ASSERT_EQ(Righe(), 303) << Messaggi().join(" ").toStdString(); // the customers only, not the supplier
    // The last rows, reached by scrolling from the first page.
    EXPECT_EQ(Cella(302, 2), QStringLiteral("0903"));
    EXPECT_EQ(Cella(150, 2), QStringLiteral("0151"));

    Scrivi(30, QStringLiteral("d'am"));
    Cerca();
    ASSERT_EQ(Righe(), 1);
    EXPECT_EQ(Cella(0, 2), QStringLiteral("0901"));
    Scrivi(30, QStringLiteral("50%"));
    Cerca();
    ASSERT_EQ(Righe(), 1);
    EXPECT_EQ(Cella(0, 2), QStringLiteral("0902"));

    // By name: Null names come first, in key order, as on every engine.
    Scrivi(30, QString());
    Cerca();
    QHeaderView *h = m_lista->dbgRiga->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(3) + 5, 5));
    Attendi();
    ASSERT_EQ(Righe(), 303);
    EXPECT_EQ(Cella(0, 2), QStringLiteral("0050"));
    EXPECT_EQ(Cella(5, 2), QStringLiteral("0300"));
    EXPECT_EQ(Cella(5, 3), QString());
    EXPECT_EQ(Cella(6, 3), QStringLiteral("50% Sconti S.r.l."));
    for (int r = 7; r < 303; ++r)
        ASSERT_LE(Cella(r - 1, 3).compare(Cella(r, 3), Qt::CaseInsensitive), 0) << r;

    QTableView *g = m_lista->dbgRiga;
    g->setCurrentIndex(g->model()->index(200, 3));
    m_lista->ButtonComando(QStringLiteral("Seleziona"));
    Attendi();
    EXPECT_EQ(m_scheda->conto->text(), Cella(200, 2));
}

// "Cerca in" the date column on the server: the text of the day as the list
// shows it is sought on the search thread (a cursor of the server's), from
// the first row and after the one found; none found, said once.
TEST_F(ListaPostgres, CercaNellaColonnaDellaDataSulServer)
{
    Esegui(QStringLiteral("Update PianoConti Set DataAp = #03/15/2099# Where Conto In ('0120', '0240')"));
    Apri();
    QComboBox *colonna = m_lista->CobCerca;
    colonna->setCurrentIndex(colonna->findText(QStringLiteral("Data Ap.")));
    m_lista->txtCerca->setText(QStringLiteral("15/03/2099"));
    m_lista->optDirez(0)->setChecked(true);
    for (const char *attesa : {"0120", "0240"}) {
        DimenticaMessaggi();
        m_lista->ButtonComando(QStringLiteral("Cerca"));
        EXPECT_TRUE(Lista()->RicercaInCorso());
        for (int i = 0; i < 3000 && Lista()->RicercaInCorso(); ++i)
            QTest::qWait(5);
        Attendi();
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(' ').toStdString();
        EXPECT_EQ(Cella(Lista()->RigaCorrente(), 2), QString::fromLatin1(attesa));
        EXPECT_TRUE(m_lista->optDirez(1)->isChecked());
    }
    DimenticaMessaggi();
    m_lista->ButtonComando(QStringLiteral("Cerca"));
    for (int i = 0; i < 3000 && Lista()->RicercaInCorso(); ++i)
        QTest::qWait(5);
    Attendi();
    EXPECT_EQ(Messaggi(),
              QStringList{QStringLiteral("Nessuna riga contiene \"15/03/2099\" nella colonna Data Ap.")});
}

// The list opened by the form on a customer far down its rows: the window's
// connection counts nothing; the customer is the current row at once among
// its neighbours ("..."), the rows before it are counted on a thread of their
// own a level of the key at a time (a row comparison is slow to count on the
// server), never the whole list, and the total comes from the count's own
// thread. Then its number and the row in its place.
TEST_F(ListaPostgres, ApertaSulClienteDellaSchedaContaSoloLeRighePrima)
{
    const QStringList conteggi =
        ApriSulCliente({QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("0250")});
    EXPECT_TRUE(conteggi.isEmpty()) << conteggi.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(Chiave(Lista()->RigaCorrente()), QStringLiteral("01-05-0250"));
    EXPECT_TRUE(m_lista->txtRiga->text().startsWith(QStringLiteral("... / ")))
        << m_lista->txtRiga->text().toStdString();
    const QStringList posizione = Lista()->RecordsetLista().SqlPosizione();
    EXPECT_GT(posizione.size(), 1);
    for (const QString &c : posizione) {
        EXPECT_FALSE(c.endsWith(QLatin1String("Mastri.Tipo = '3')"))) << c.toStdString();
        EXPECT_FALSE(c.contains(QLatin1String("(Gruppo, Mastro, Conto)"))) << c.toStdString();
    }
    EXPECT_TRUE(QTest::qWaitFor([this] { return Lista()->PosizioneNota(); }, 30000));
    Attendi();
    EXPECT_EQ(Righe(), 303);
    EXPECT_EQ(Lista()->RigaCorrente(), 249);
    EXPECT_EQ(Chiave(249), QStringLiteral("01-05-0250"));
    EXPECT_EQ(m_lista->txtRiga->text(), QStringLiteral("250 / 303"));
}

// On a server whose collation orders texts by code point the name search is
// sought as a range of the name's index: it must find exactly the rows the
// LIKE finds, whatever the case, the punctuation or a last letter 'z'.
TEST_F(ListaPostgres, RicercaPerInizioComeIntervalloTrovaLeRigheDelLike)
{
    Esegui(QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) Values "
                          "('01','05','1001','3','Rossi Mario'), "
                          "('01','05','1002','3','ROSSI ANNA'), ('01','05','1003','3','rossini srl'), "
                          "('01','05','1004','3','Rossj'), "
                          "('01','05','1005','3','Ross'), ('01','05','1006','3','Rossì Luca'), "
                          "('01','05','1007','3','Zz Top'), "
                          "('01','05','1008','3','Z{ Parentesi'), ('01','05','1009','3','Zzz'), "
                          "('01','05','1010','3','rossi'), "
                          "('01','05','1011','3','Ròssi'), ('01','05','1012','3','Rossi-Bianchi'), "
                          "('01','05','1013','3','ross i')"));
    Apri();
    RigheLista &righe = Lista()->RecordsetLista();
    ASSERT_TRUE(righe.InizioComeIntervallo()) << "the test server's collation is not by code point";
    QStringList lette;
    Globali::DbComp()->ImpostaOsservatoreSelect([&lette](const QString &sql) { lette << sql; });
    for (const char *prefisso :
         {"Rossi", "rOSS", "Z", "rossi ", "z", "zz", "Z{", "Ross", "Ros", "d'am", "Rossì"}) {
        const QString p = QString::fromUtf8(prefisso);
        lette.clear();
        Scrivi(30, p);
        Cerca();
        QStringList attese;
        auto r = Globali::DbComp()->Seleziona(
            Globali::DbAzienda,
            QStringLiteral("Select Conto From PianoConti Where Tipo = '3' And Descrizione Like ") +
                Globali::Util().ValoreSqlLike(p.trimmed(), false, true) +
                QStringLiteral(" Order By Descrizione, Gruppo, Mastro, Conto"));
        for (int i = 0; i < r->numRighe(); ++i)
            attese << r->valore(i, 0).toString();
        QStringList trovate;
        for (int i = 0; i < Righe(); ++i)
            trovate << Cella(i, 2);
        EXPECT_EQ(trovate, attese) << prefisso;
        // A text beyond ASCII keeps the LIKE.
        const bool ascii = std::all_of(p.begin(), p.end(), [](QChar c) { return c.unicode() < 0x80; });
        ASSERT_FALSE(lette.isEmpty());
        EXPECT_EQ(lette.first().contains(QStringLiteral("Descrizione >= ")), ascii) << prefisso;
    }
    Globali::DbComp()->ImpostaOsservatoreSelect({});
}

TEST_F(ListaPostgres, ElencoOspitiSullaTabellaConNomeNumerico)
{
    Richiamo richiamo;
    auto *lista = new frmLisAnagHotel;
    richiamo.lista = lista;
    lista->ofrmChiamante = &richiamo;
    ASSERT_TRUE(lista->Form_Load()) << Messaggi().join(" ").toStdString();
    ASSERT_EQ(lista->dbgRiga->model()->rowCount(), 2);
    lista->dbgRiga->setCurrentIndex(lista->dbgRiga->model()->index(1, 0));
    lista->comOk_Click();
    EXPECT_TRUE(lista->obConferma);
    EXPECT_EQ(richiamo.rag1, QStringLiteral("Bianchi Ugo"));
    delete lista;
}

// The limits of the printed columns come from what the server declares of
// the list's columns, without reading a row: a text's size, a date's form.
TEST_F(ListaPostgres, ILimitiDelleColonneStampateDalServer)
{
    Apri();
    SorgenteLista s(*Lista());
    const QList<ColonnaStampa> colonne = s.ColonneStampa();
    QList<int> tutte;
    for (int c = 0; c < colonne.size(); ++c)
        tutte << c;
    QList<LimiteColonna> limiti;
    ASSERT_TRUE(s.LimitiColonne(tutte, limiti));
    ASSERT_EQ(limiti.size(), colonne.size());
    auto limite = [&](const char *campo) {
        return limiti.value(Lista()->RecordsetLista().IndiceColonna(campo));
    };
    // Texts: the size the server declares.
    for (const char *campo : {"Descrizione", "Conto", "PartIva"}) {
        const int lunghezza =
            Lista()->RecordsetLista().Colonna(Lista()->RecordsetLista().IndiceColonna(campo)).lunghezza;
        EXPECT_EQ(limite(campo).caratteri, qMax(0, lunghezza)) << campo;
        EXPECT_EQ(limite(campo).rigida, lunghezza > 0 && lunghezza <= 6) << campo;
    }
    EXPECT_TRUE(limite("DataAp").rigida);
    EXPECT_EQ(limite("DataAp").esempi, QStringList{QStringLiteral("28/12/2000")});
}
