// The lookup library on the demo database: the window driven by real keys,
// the scripted answers, and what NuovaRicerca reports after a lookup.
#include "components/aiuto/AiutoDecod.h"
#include "components/aiuto/frmRicerca.h"
#include "components/db/DbMotore.h"
#include "components/db/Risultato.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/util/ContestoPrg.h"
#include "data/generator/Generatore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace RP = RisposteProgrammate;

namespace
{

RichiestaRicerca req(const QString &testo, int tasto)
{
    RichiestaRicerca r;
    r.testo = testo;
    r.tasto = tasto;
    return r;
}

class Aiuto : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        cartella = std::make_unique<QTemporaryDir>();
        OpzioniDemo o;
        o.percorso = cartella->filePath("azienda.db");
        o.clienti = 12;
        GeneraDemo(o);
        percorso = o.percorso;
    }
    static void TearDownTestSuite() { cartella.reset(); }
    void SetUp() override
    {
        db.ApriSqlite("Azienda", percorso);
        contesto.ImpostaDb(&db, "Azienda");
        aiuto.ImpostaContesto(&contesto);
        RP::Azzera();
    }
    void TearDown() override { RP::Azzera(); }

    static DefRicerca zone()
    {
        DefRicerca d;
        d.tipo = "Zona";
        d.titolo = "Zone";
        d.tabella = "Zone";
        d.codice = "Zona";
        d.descrizione = "Descrizione";
        d.programma = "Zone";
        return d;
    }
    static DefRicerca agenti()
    {
        DefRicerca d;
        d.tipo = "Agente";
        d.tabella = "Agenti";
        d.codice = "Agente";
        d.descrizione = "RagSoc";
        d.altreColonne = {"Provv"};
        return d;
    }
    static DefRicerca conti()
    {
        DefRicerca d;
        d.tipo = "Conto";
        d.tabella = "PianoConti";
        d.codice = "Gruppo & Mastro & Conto";
        d.descrizione = "Descrizione";
        d.chiave = {"Gruppo", "Mastro", "Conto"};
        d.spezza = [](const QString &c) { return QStringList{c.left(2), c.mid(2, 2), c.mid(4)}; };
        d.filtro = "Tipo = '4'";
        d.colonnaCodice = "Conto";
        return d;
    }

    // Runs a lookup whose window the test works through `azione`.
    bool conFinestra(const DefRicerca &d, RichiestaRicerca r, std::function<void(frmRicerca *)> azione)
    {
        RP::ImpostaAzioneModale([azione](QWidget *w) {
            auto *f = qobject_cast<frmRicerca *>(w);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(f));
            azione(f);
            // A window the test failed to close would hang the run.
            if (f && f->isVisible())
                f->reject();
        });
        const bool ok = aiuto.Ricerca(d, r);
        RP::ImpostaAzioneModale({});
        return ok;
    }

    static inline std::unique_ptr<QTemporaryDir> cartella;
    static inline QString percorso;
    DbMotore db;
    ContestoPrg contesto;
    AiutoDecod aiuto;
};

} // namespace

TEST_F(Aiuto, DecodificaRigaERetVal)
{
    EXPECT_TRUE(aiuto.Decodifica(agenti(), "A03"));
    EXPECT_EQ(aiuto.NuovaRicerca().Descrizione(), "Colombo Giorgio");
    EXPECT_EQ(aiuto.NuovaRicerca().RetVal("provv").toDouble(), 6.0);
    EXPECT_EQ(aiuto.NuovaRicerca().RetVal("Agente").toString(), "A03");
    EXPECT_FALSE(aiuto.NuovaRicerca().RetVal("Inesistente").isValid());
    EXPECT_FALSE(aiuto.Decodifica(agenti(), "A77"));
    EXPECT_FALSE(aiuto.NuovaRicerca().Trovato());
    EXPECT_FALSE(aiuto.Decodifica(agenti(), ""));
    // A composed code is found part by part.
    EXPECT_TRUE(aiuto.Decodifica(conti(), "02050002"));
    EXPECT_EQ(aiuto.NuovaRicerca().Descrizione(), "Trasporti Rapidi Padani S.r.l.");
    EXPECT_EQ(aiuto.NuovaRicerca().Codice(), "02050002");
}

TEST_F(Aiuto, DigitareFiltraEInvioSceglie)
{
    const bool ok = conFinestra(zone(), req("", CodiciTasto::F2), [](frmRicerca *f) {
        ASSERT_TRUE(f);
        EXPECT_EQ(f->NumRighe(), 6);
        QTest::keyClicks(f->txtCerca(), "est");
        f->AggiornaOra();
        // "Estero", "Nord-est", "Nord-ovest": the code or the description holds the text.
        EXPECT_EQ(f->NumRighe(), 3);
        QTest::keyClick(f->txtCerca(), Qt::Key_Down);
        QTest::keyClick(f->txtCerca(), Qt::Key_Return);
    });
    EXPECT_TRUE(ok);
    // In code order: EE Estero, NE Nord-est; the arrow moved to the second.
    EXPECT_EQ(aiuto.NuovaRicerca().Codice(), "NE");
    EXPECT_EQ(aiuto.NuovaRicerca().Descrizione(), "Nord-est");
}

// The count under the rows is grouped by thousands: the municipalities are
// some thousands.
TEST_F(Aiuto, IlConteggioRaggruppaLeMigliaia)
{
    DefRicerca comuni;
    comuni.tipo = "Comuni";
    comuni.tabella = "Comuni";
    comuni.codice = "CodErariale";
    comuni.descrizione = "Descrizione";
    conFinestra(comuni, req("", CodiciTasto::F2), [](frmRicerca *f) {
        ASSERT_TRUE(f);
        const int n = f->NumRighe();
        ASSERT_GT(n, 999);
        QStringList testi;
        for (const QLabel *l : f->findChildren<QLabel *>())
            testi << l->text();
        EXPECT_TRUE(testi.contains(
            QStringLiteral("%1.%2 elementi").arg(n / 1000).arg(n % 1000, 3, 10, QLatin1Char('0'))))
            << testi.join(u'|').toStdString();
        f->reject();
    });
}

TEST_F(Aiuto, InvioSubitoDopoLaDigitazioneUsaIlTestoNuovo)
{
    const bool ok = conFinestra(zone(), req("", CodiciTasto::F2), [](frmRicerca *f) {
        QTest::keyClicks(f->txtCerca(), "isol");
        QTest::keyClick(f->txtCerca(), Qt::Key_Enter);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(aiuto.NuovaRicerca().Codice(), "IS");
}

TEST_F(Aiuto, EscAnnulla)
{
    aiuto.NuovaRicerca().ovLeggiPar("RetField", "Email");
    const bool ok = conFinestra(zone(), req("N", CodiciTasto::F2),
                                [](frmRicerca *f) { QTest::keyClick(f->txtCerca(), Qt::Key_Escape); });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(aiuto.NuovaRicerca().Trovato());
    // What an earlier lookup picked is not left behind.
    EXPECT_EQ(aiuto.NuovaRicerca().ovLeggiPar("RetField").toString(), "");
}

TEST_F(Aiuto, DoppioClicSceglieLaCellaERetField)
{
    aiuto.ParColonne().ovLeggiPar("NomeCol1", "Provv");
    aiuto.ParColonne().ovLeggiPar("DescCol1", "Provvigione %");
    const bool ok = conFinestra(agenti(), req("", CodiciTasto::F11), [](frmRicerca *f) {
        QTableView *g = f->Griglia();
        ASSERT_EQ(g->model()->columnCount(), 3);
        EXPECT_EQ(g->model()->headerData(2, Qt::Horizontal).toString(), "Provvigione %");
        const QModelIndex i = g->model()->index(4, 2);
        g->scrollTo(i);
        const QRect r = g->visualRect(i);
        ASSERT_TRUE(g->viewport()->rect().contains(r.center()));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, r.center());
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(aiuto.NuovaRicerca().Codice(), "A05");
    EXPECT_EQ(aiuto.NuovaRicerca().ovLeggiPar("RetField").toString(), "Provv");
    EXPECT_EQ(aiuto.NuovaRicerca().ovLeggiPar("Text").toString(), "7.5");
    // The columns were for that lookup only.
    EXPECT_TRUE(aiuto.ParColonne().Nomi().isEmpty());
}

TEST_F(Aiuto, F3SceglieSenzaFinestraQuandoUnico)
{
    RP::ImpostaSenzaModali(true);
    EXPECT_TRUE(aiuto.Ricerca(zone(), req("centro", CodiciTasto::F3)));
    EXPECT_EQ(aiuto.NuovaRicerca().Codice(), "CE");
    EXPECT_TRUE(RP::Mostrati(RP::Ricerca).isEmpty());
    // Nothing matches exactly: the window opens (here, its default: no choice).
    EXPECT_FALSE(aiuto.Ricerca(zone(), req("Nord", CodiciTasto::F3)));
    EXPECT_EQ(RP::Mostrati(RP::Ricerca).size(), 1);
}

TEST_F(Aiuto, TastiFuoriDaF2F12NonFannoNulla)
{
    RP::ImpostaSenzaModali(true);
    for (int tasto : {0, 13, CodiciTasto::F1, 124})
        EXPECT_FALSE(aiuto.Ricerca(zone(), req("NE", tasto))) << tasto;
    EXPECT_TRUE(RP::Mostrati(RP::Ricerca).isEmpty());
    // A negative key decodes without any window.
    EXPECT_TRUE(aiuto.Ricerca(zone(), req("NE", -1)));
    EXPECT_TRUE(RP::Mostrati(RP::Ricerca).isEmpty());
}

TEST_F(Aiuto, RisposteProgrammate)
{
    struct Caso {
        QVariant risposta;
        bool scelto;
        QString codice;
    };
    const Caso casi[] = {
        {QVariant(), false, ""},
        {1, true, "EE"}, // code order: CE, EE, IS, NE, NO, SU
        {QString("SU"), true, "SU"},
        {QString("ZZ"), false, ""},
        {QVariantMap{{"riga", 0}, {"colonna", "DescrRic"}}, true, "CE"},
        {99, false, ""},
    };
    for (const Caso &c : casi) {
        RP::Accoda(RP::Ricerca, c.risposta);
        EXPECT_EQ(aiuto.Ricerca(zone(), req("", CodiciTasto::F2)), c.scelto)
            << c.risposta.toString().toStdString();
        EXPECT_EQ(aiuto.NuovaRicerca().Codice(), c.codice);
    }
    const QVariantMap m = RP::UltimoMostrato(RP::Ricerca);
    EXPECT_EQ(m.value("tipo").toString(), "Zona");
    EXPECT_EQ(m.value("tasto").toInt(), CodiciTasto::F2);
}

TEST_F(Aiuto, F4PerDescrizioneF5PerCodice)
{
    RP::Accoda(RP::Ricerca, 0);
    EXPECT_TRUE(aiuto.Ricerca(zone(), req("", CodiciTasto::F4)));
    EXPECT_EQ(aiuto.NuovaRicerca().Descrizione(), "Centro");
    EXPECT_TRUE(RP::UltimoMostrato(RP::Ricerca).value("perDescrizione").toBool());
    // F5 searches the code only: "e" is no code's beginning but EE's.
    RP::Accoda(RP::Ricerca, 0);
    EXPECT_TRUE(aiuto.Ricerca(zone(), req("e", CodiciTasto::F5)));
    EXPECT_EQ(aiuto.NuovaRicerca().Codice(), "EE");
}

TEST_F(Aiuto, CondizioneECaratteriJolly)
{
    const QList<ColonnaRicerca> col = aiuto.ColonneFinestra(zone(), {});
    auto righe = [&](const QString &testo, const QString &cond = {}) {
        return aiuto.Righe(zone(), aiuto.SqlRighe(zone(), col, testo, AiutoDecod::Cerca::Tutto, false, cond))
            ->numRighe();
    };
    EXPECT_EQ(righe("", "Zona <> 'EE'"), 5);
    // Wildcards and quotes typed by the user are searched literally.
    EXPECT_EQ(righe("*"), 0);
    EXPECT_EQ(righe("?"), 0);
    EXPECT_EQ(righe("'"), 0);
    EXPECT_EQ(righe("[a]"), 0);
}

TEST_F(Aiuto, ElencoCampiConSegnaposti)
{
    DefRicerca d = conti();
    d.colonne = {{"Localita", "Località", 20}};
    aiuto.ParColonne().ovLeggiPar("NomeCol1", "Email");
    aiuto.ParColonne().ovLeggiPar("DescCol1", "Principale");
    const QList<ColonnaRicerca> c = aiuto.ColonneFinestra(d, {"§pri§", "Email", "Email2", "§dop§"});
    QStringList nomi, titoli;
    for (const auto &x : c) {
        nomi << x.nome;
        titoli << x.titolo;
    }
    EXPECT_EQ(nomi, (QStringList{"CodRic", "DescrRic", "Email", "Email2", "Localita"}));
    EXPECT_EQ(titoli[2], "Principale");
}

TEST_F(Aiuto, NuovoLanciaIlProgramma)
{
    QSignalSpy prim(&aiuto, &AiutoDecod::LanciaKeyPrim);
    QSignalSpy sec(&aiuto, &AiutoDecod::LanciaKeySec);
    RichiestaRicerca r = req("Nuova zona", CodiciTasto::F2);
    r.nuovo = true;
    const bool ok = conFinestra(zone(), r, [](frmRicerca *f) {
        ASSERT_TRUE(f->comNuovo()->isVisible());
        QTest::mouseClick(f->comNuovo(), Qt::LeftButton);
    });
    EXPECT_FALSE(ok);
    ASSERT_EQ(prim.size(), 1);
    EXPECT_EQ(prim.at(0).at(0).toString(), "Zone");
    EXPECT_EQ(sec.at(0).at(0).toString(), "Nuova zona");
}

TEST_F(Aiuto, SegnaliPrimaDellaFinestra)
{
    QSignalSpy prep(&aiuto, &AiutoDecod::ClsPrepDecod);
    int chieste = 0;
    QObject::connect(&aiuto, &AiutoDecod::ClsMainMenuFrm, &aiuto, [&](QWidget *&) { ++chieste; });
    conFinestra(zone(), req("", CodiciTasto::F2), [](frmRicerca *f) { f->reject(); });
    EXPECT_EQ(chieste, 1);
    ASSERT_EQ(prep.size(), 1);
    EXPECT_EQ(prep.at(0).at(0).toString(), "Zona");
}

TEST_F(Aiuto, ContoTrovatoAncheDalSoloNumero)
{
    RP::Accoda(RP::Ricerca, 0);
    EXPECT_TRUE(aiuto.Ricerca(conti(), req("0003", CodiciTasto::F3)));
    EXPECT_EQ(aiuto.NuovaRicerca().Codice(), "02050003");
    // The whole key written one part after the other works as well.
    RP::Accoda(RP::Ricerca, 0);
    EXPECT_TRUE(aiuto.Ricerca(conti(), req("020500", CodiciTasto::F2)));
    EXPECT_EQ(aiuto.NuovaRicerca().Codice(), "02050001");
}
