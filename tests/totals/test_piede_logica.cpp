// Footer engine without a database: SQL texts, the error list, the payment
// discount and the VAT step on hand-filled totals.
#include "PiedeProva.h"

#include "services/Globali.h"
#include "totals/scCalcPiedeFat.h"

#include <gtest/gtest.h>

// Readable amounts in failure messages.
static void PrintTo(const Currency &c, std::ostream *os)
{
    *os << c.toString(4).toStdString();
}

namespace
{
Currency C(const char *testo)
{
    Currency c;
    EXPECT_TRUE(Currency::parse(QString::fromLatin1(testo), c)) << testo;
    return c;
}

const QString vuoto;

// A VAT key with one account "A" and its blank entry, filled through the
// three levels at once as the lines phase does.
scIva &chiave(scCalcPiedeFat &e, const char *codice, const char *aliquota, bool esente = false)
{
    scIva &iva = e.ogIve->AddIva(QString::fromLatin1(codice));
    iva.odAliquota = C(aliquota);
    iva.obIvaEsente = esente;
    iva.AddControP(QStringLiteral("A"), vuoto, vuoto);
    return iva;
}

void aggiungi(scIva &iva, Currency scIva::*m, Currency scTotaliCP::*mc, Currency v,
              const QString &conto = "A", const QString &cdc = vuoto)
{
    if (!iva.obCPEsiste(conto))
        iva.AddControP(conto, cdc, vuoto);
    if (!iva.obCdcCompEsiste(conto, cdc, vuoto))
        iva.AddCdcComp(conto, cdc, vuoto);
    iva.*m += v;
    iva.ogControp(conto).*mc += v;
    iva.ogCdcComp(conto, cdc, vuoto).*mc += v;
}
} // namespace

TEST(PiedeSql, TestataPerTabellaELato)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    p.documento(2024, 17);
    e.osTabTesta = QStringLiteral("fattest");
    EXPECT_EQ(p.sqlTestata(),
              QStringLiteral(
                  "SELECT fattest.Acconto, fattest.Abbuono, fattest.Bolli, fattest.DataRif, "
                  "fattest.GruppoCli, fattest.MastroCli, fattest.ContoCli, fattest.PercRitAcc, "
                  "fattest.Peso, fattest.Moneta, fattest.Pagamento, fattest.PrezziIvati, fattest.ScontoPag, "
                  "FattDocumenti.RegimeMargine, FattDocumenti.Segno, FattDocumenti.FattDocumento, "
                  "Monete.NumDec, PagTipi.TipoEffetto, PagTipi.AddBolli, Pagamenti.NumScad, TabIva.TipoIva, "
                  "Stati.Cee,Stati.Iso FROM ((((((fattest  LEFT JOIN Monete ON fattest.Moneta = "
                  "Monete.Moneta) LEFT JOIN FattDocumenti ON fattest.FattDocumento = "
                  "FattDocumenti.FattDocumento) LEFT JOIN Pagamenti ON fattest.Pagamento = "
                  "Pagamenti.Pagamento) LEFT JOIN PagTipi ON Pagamenti.PagTipo = PagTipi.PagTipo) LEFT "
                  "JOIN TabIva ON fattest.Iva = TabIva.Iva) LEFT JOIN PianoConti ON fattest.GruppoCli = "
                  "PianoConti.Gruppo AND fattest.MastroCli = PianoConti.Mastro AND fattest.ContoCli = "
                  "PianoConti.Conto) LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato Where "
                  "fattest.NumRif = 17 And fattest.Anno = 2024"));

    e.osTabTesta = QStringLiteral("DdtTest");
    const QString ddt = p.sqlTestata();
    EXPECT_TRUE(ddt.startsWith(QStringLiteral("SELECT DdtTest.Acconto, DdtTest.DataRif, DdtTest.GruppoCli")));
    EXPECT_TRUE(ddt.contains(QStringLiteral("DdtTest.PercRitAcc, DdtTest.Peso, DdtTest.Moneta")));
    EXPECT_FALSE(ddt.contains(QStringLiteral("Abbuono")));

    e.osTabTesta = QStringLiteral("OrdAcqTes");
    e.osTipoGest = QStringLiteral("a");
    const QString acq = p.sqlTestata();
    EXPECT_TRUE(acq.contains(QStringLiteral("OrdAcqTes.DataRif, OrdAcqTes.GruppoFor, OrdAcqTes.MastroFor, "
                                            "OrdAcqTes.ContoFor, OrdAcqTes.Moneta")));
    EXPECT_FALSE(acq.contains(QStringLiteral("PercRitAcc")));
    EXPECT_TRUE(
        acq.contains(QStringLiteral(" ON OrdAcqTes.GruppoFor = PianoConti.Gruppo AND OrdAcqTes.MastroFor = "
                                    "PianoConti.Mastro AND OrdAcqTes.ContoFor = PianoConti.Conto)")));

    // The join follows the side, the columns follow the table.
    e.osTabTesta = QStringLiteral("OrdVenTest");
    const QString ven = p.sqlTestata();
    EXPECT_TRUE(
        ven.contains(QStringLiteral("OrdVenTest.ContoCli, OrdVenTest.PercRitAcc, OrdVenTest.Moneta")));
    EXPECT_TRUE(ven.contains(QStringLiteral(" ON OrdVenTest.GruppoFor = PianoConti.Gruppo")));
}

TEST(PiedeSql, DettagliConESenzaLivelliECauzioni)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    p.documento(2024, 5);
    e.osTabDett = QStringLiteral("FatDett");
    e.osTabLiv = QStringLiteral("FatLiv");
    const QString ordine = QStringLiteral(
        " order by FatDett.Iva,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen,FatDett.RigDet");

    p.gesTaglie(true);
    EXPECT_EQ(p.sqlDettagli(false),
              QStringLiteral(
                  "SELECT FatDett.* ,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen AS "
                  "Conto,FatLiv.* ,TabIva.*,'N' as ArtCauzione FROM (FatDett   LEFT JOIN TabIva ON "
                  "FatDett.Iva = TabIva.Iva) LEFT JOIN FatLiv ON FatDett.RigLiv = FatLiv.RigLiv AND "
                  "FatDett.NumRif = FatLiv.NumRif AND FatDett.Anno = FatLiv.Anno Where FatDett.NumRif = 5 "
                  "And FatDett.Anno = 2024 and (FatDett.TipoRiga = 'M' or FatDett.TipoRiga = 'A')") +
                  ordine);
    EXPECT_EQ(p.sqlDettagli(true),
              QStringLiteral(
                  "SELECT FatDett.* ,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen AS "
                  "Conto,FatLiv.* ,TabIva.*,Articoli.Cauzione as ArtCauzione FROM ((FatDett   LEFT JOIN "
                  "TabIva ON FatDett.Iva = TabIva.Iva) LEFT JOIN FatLiv ON FatDett.RigLiv = FatLiv.RigLiv "
                  "AND FatDett.NumRif = FatLiv.NumRif AND FatDett.Anno = FatLiv.Anno) LEFT JOIN Articoli "
                  "ON FatDett.Articolo = Articoli.Articolo Where FatDett.NumRif = 5 And FatDett.Anno = "
                  "2024 and (FatDett.TipoRiga = 'M' or FatDett.TipoRiga = 'A')") +
                  ordine);

    const QString senza = QStringLiteral("SELECT FatDett.*,FatDett.gruppoven & FatDett.MastroVen & "
                                         "FatDett.contoVen AS Conto,TabIva.*,'N' as "
                                         "ArtCauzione FROM FatDett LEFT JOIN TabIva ON FatDett.Iva = "
                                         "TabIva.Iva Where FatDett.NumRif = 5 And "
                                         "FatDett.Anno = 2024") +
                          ordine;
    e.osTabLiv = QStringLiteral("  ");
    EXPECT_EQ(p.sqlDettagli(false), senza);
    e.osTabLiv = QStringLiteral("FatLiv");
    p.gesTaglie(false);
    EXPECT_EQ(p.sqlDettagli(false), senza);
    EXPECT_EQ(
        p.sqlDettagli(true),
        QStringLiteral("SELECT FatDett.*,FatDett.gruppoven & FatDett.MastroVen & FatDett.contoVen AS "
                       "Conto,TabIva.*,Articoli.Cauzione as ArtCauzione FROM (FatDett LEFT JOIN TabIva ON "
                       "FatDett.Iva = TabIva.Iva) LEFT JOIN Articoli ON FatDett.Articolo = Articoli.Articolo "
                       "Where FatDett.NumRif = 5 And FatDett.Anno = 2024") +
            ordine);
}

TEST(PiedeSql, Spese)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    p.documento(2023, 123456);
    e.osTabSpese = QStringLiteral("DdtSpese");
    EXPECT_EQ(p.sqlSpese(),
              QStringLiteral(
                  "SELECT DdtSpese.*,TabIva.*,Spese.* FROM (DdtSpese LEFT JOIN TabIva ON DdtSpese.Iva = "
                  "TabIva.Iva) LEFT JOIN Spese ON DdtSpese.Spesa = Spese.Spesa Where DdtSpese.Anno = 2023 "
                  "And DdtSpese.NumRif = 123456 Order BY DdtSpese.Iva ,spese.gruppo & spese.Mastro & "
                  "spese.conto"));
}

TEST(PiedeErrori, FormatoELimiteDiTrenta)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    EXPECT_TRUE(e.obErrNoDett);
    EXPECT_TRUE(e.osTipoGest.isEmpty());
    EXPECT_EQ(e.oiNumErrori, 0);

    p.fase("Lettura testata");
    p.errore(0, QStringLiteral("Non è stata trovata la testata del doc. 7 2024"));
    EXPECT_EQ(e.osErrori, QStringLiteral("Errore n°0 : Non è stata trovata la testata del doc. 7 2024 in  "
                                         "CalcPiedeFat (Lettura testata) \r\n"));
    for (int i = 2; i <= 30; ++i)
        p.errore(11, QStringLiteral("Divisione per zero"));
    EXPECT_EQ(e.osErrori.count(QStringLiteral("\r\n")), 30);
    EXPECT_FALSE(e.osErrori.contains(QStringLiteral("..")));
    p.errore(11, QStringLiteral("x"));
    EXPECT_TRUE(e.osErrori.endsWith(QStringLiteral("\r\n..............")));
    const QString dopo31 = e.osErrori;
    for (int i = 32; i <= 40; ++i)
        p.errore(11, QStringLiteral("x"));
    EXPECT_EQ(e.osErrori, dopo31);
    EXPECT_EQ(e.oiNumErrori, 40);

    // The reset clears the list but keeps what the caller set and the fund values.
    e.osTabTesta = QStringLiteral("FatTest");
    e.ouTotCassaPrev = C("12.5");
    e.odTotBolliScad = 2;
    e.odTotFattura = C("100");
    e.ogIve->AddIva(QStringLiteral("22"));
    e.AzzeraVarPiede();
    EXPECT_EQ(e.oiNumErrori, 0);
    EXPECT_TRUE(e.osErrori.isEmpty());
    EXPECT_EQ(e.ogIve->ocCollIva.Count(), 0);
    EXPECT_EQ(e.odTotFattura, Currency());
    EXPECT_EQ(e.osTabTesta, QStringLiteral("FatTest"));
    EXPECT_EQ(e.ouTotCassaPrev, C("12.5"));
    EXPECT_DOUBLE_EQ(e.odTotBolliScad, 2);
}

TEST(PiedeScontoPagamento, QuotePerChiaveContoECentro)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    e.odScontoPag = C("2");
    scIva &a = chiave(e, "22", "22");
    aggiungi(a, &scIva::odSValPerSco, &scTotaliCP::odSValPerSco, C("33.33"));
    aggiungi(a, &scIva::odSValPerSco, &scTotaliCP::odSValPerSco, C("33.33"), QStringLiteral("A"),
             QStringLiteral("CC1"));
    aggiungi(a, &scIva::odSValOmaggioPerSco, &scTotaliCP::odSValOmaggioPerSco, C("100"));
    scIva &b = chiave(e, "10", "10");
    aggiungi(b, &scIva::odSValSpesePerSco, &scTotaliCP::odSValSpesePerSco, C("50"));
    aggiungi(b, &scIva::odSValSpesePerSco, &scTotaliCP::odSValSpesePerSco, C("10"), QStringLiteral("A"),
             QStringLiteral("CC1"));

    p.scontoPag("N", 2);
    EXPECT_TRUE(e.obApplScontoPag);
    EXPECT_EQ(p.fase(), QStringLiteral("Calcolo sconto pagamento"));
    EXPECT_EQ(a.odScoPagam, C("1.33")); // 66.66 -> 65.33
    EXPECT_EQ(a.ogControp(QStringLiteral("A")).odScoPagam, C("1.33"));
    // Each entry from its own base: 33.33 -> 32.66, a share of 0.67 each.
    EXPECT_EQ(a.ogCdcComp(QStringLiteral("A"), vuoto, vuoto).odScoPagam, C("0.67"));
    EXPECT_EQ(a.ogCdcComp(QStringLiteral("A"), QStringLiteral("CC1"), vuoto).odScoPagam, C("0.67"));
    EXPECT_EQ(a.odScoPagamOmaggio, C("2"));
    EXPECT_EQ(a.odScoPagamSpese, Currency());
    // A key with expenses only gets an expense share; entries with a cost centre get none.
    EXPECT_EQ(b.odScoPagam, Currency());
    EXPECT_EQ(b.odScoPagamSpese, C("1.2"));
    EXPECT_EQ(b.ogControp(QStringLiteral("A")).odScoPagamSpese, C("1.2"));
    EXPECT_EQ(b.ogCdcComp(QStringLiteral("A"), vuoto, vuoto).odScoPagamSpese, C("1"));
    EXPECT_EQ(b.ogCdcComp(QStringLiteral("A"), QStringLiteral("CC1"), vuoto).odScoPagamSpese, Currency());
}

TEST(PiedeScontoPagamento, SpeseIvateNienteSenzaScontoOSuDettaglio)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    e.odScontoPag = C("10");
    scIva &a = chiave(e, "22", "22");
    aggiungi(a, &scIva::odSValSpesePerSco, &scTotaliCP::odSValSpesePerSco, C("100"));
    aggiungi(a, &scIva::odSValIvSpesePerSco, &scTotaliCP::odSValIvSpesePerSco, C("122"));
    p.scontoPag("s", 2);
    EXPECT_EQ(a.odScoPagamSpese, C("12.2"));

    a.odScoPagamSpese = Currency();
    p.scoPagSuDett(true);
    p.scontoPag("N", 2);
    EXPECT_FALSE(e.obApplScontoPag);
    EXPECT_EQ(a.odScoPagamSpese, Currency());

    p.scoPagSuDett(false);
    e.odScontoPag = Currency();
    p.fase("prima");
    p.scontoPag("N", 2);
    EXPECT_FALSE(e.obApplScontoPag);
    EXPECT_EQ(p.fase(), QStringLiteral("prima"));
}

TEST(PiedeIva, PrezziSenzaEConIvaEsenteEOmaggi)
{
    struct Caso {
        const char *ivati;
        const char *aliquota;
        bool esente;
        const char *sval, *spese, *ivSpese, *omaggioT;
        const char *impon, *impos, *totale, *impOmaggioT, *ivaOmaggioT;
    } casi[] = {
        {"N", "22", false, "100", "0", "0", "0", "100", "22", "122", "0", "0"},
        {"S", "22", false, "122", "0", "0", "0", "100", "22", "122", "0", "0"},
        {"N", "0", true, "50", "10", "12.2", "0", "60", "0", "60", "0", "0"},
        {"S", "0", true, "50", "10", "12.2", "0", "60", "0", "60", "0", "0"},
        {"N", "22", false, "0", "0", "0", "10", "10", "2.2", "12.2", "10", "2.2"},
        {"S", "22", false, "0", "0", "0", "10", "8.2", "1.8", "10", "8.2", "1.8"},
        {"S", "22", false, "100", "10", "12.2", "0", "91.97", "20.23", "112.2", "0", "0"},
    };
    for (const Caso &c : casi) {
        scCalcPiedeFat e;
        scCalcPiedeFatProva p(e);
        scIva &iva = chiave(e, "X", c.aliquota, c.esente);
        aggiungi(iva, &scIva::odSVal, &scTotaliCP::odSVal, C(c.sval));
        aggiungi(iva, &scIva::odSValSpese, &scTotaliCP::odSValSpese, C(c.spese));
        aggiungi(iva, &scIva::odSValIvSpese, &scTotaliCP::odSValIvSpese, C(c.ivSpese));
        aggiungi(iva, &scIva::odSValOmaggioT, &scTotaliCP::odSValOmaggioT, C(c.omaggioT));
        p.iva(c.ivati, 2);
        const scControP &conto = iva.ogControp(QStringLiteral("A"));
        for (const auto &[nome, valore, contoValore] :
             {std::tuple{"impon", iva.odImpon, conto.odImpon},
              std::tuple{"impos", iva.odImpos, conto.odImpos},
              std::tuple{"totale", iva.odTotImpoImpos, conto.odTotImpoImpos},
              std::tuple{"impOmaggioT", iva.odImpOmaggioT, conto.odImpOmaggioT},
              std::tuple{"ivaOmaggioT", iva.odIvaOmaggioT, conto.odIvaOmaggioT}}) {
            const char *atteso = std::string_view(nome) == "impon"         ? c.impon
                                 : std::string_view(nome) == "impos"       ? c.impos
                                 : std::string_view(nome) == "totale"      ? c.totale
                                 : std::string_view(nome) == "impOmaggioT" ? c.impOmaggioT
                                                                           : c.ivaOmaggioT;
            EXPECT_EQ(valore, C(atteso)) << nome << " " << c.ivati << " " << c.sval;
            EXPECT_EQ(contoValore, C(atteso)) << "conto " << nome << " " << c.ivati << " " << c.sval;
        }
        EXPECT_FALSE(iva.obForzato);
        EXPECT_EQ(e.odTotIva, c.esente ? Currency() : C(c.impos));
        // A second run recomputes instead of adding up.
        p.iva(c.ivati, 2);
        EXPECT_EQ(e.odTotIva, c.esente ? Currency() : C(c.impos));
    }
}

TEST(PiedeIva, ScontoPagamentoEBaseDelloSconto)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    e.odScontoPag = C("2");
    scIva &iva = chiave(e, "22", "22");
    aggiungi(iva, &scIva::odSValPerSco, &scTotaliCP::odSValPerSco, C("100"));
    aggiungi(iva, &scIva::odSValOmaggioPerSco, &scTotaliCP::odSValOmaggioPerSco, C("50"));
    aggiungi(iva, &scIva::odSValSpesePerSco, &scTotaliCP::odSValSpesePerSco, C("10"));
    p.scontoPag("N", 2);
    p.iva("N", 2);
    EXPECT_EQ(iva.odTotScoPagam, C("3.2"));
    EXPECT_EQ(iva.odBaseScoPagam, C("160"));
    EXPECT_EQ(iva.odImpon, C("156.8"));
    EXPECT_EQ(iva.odImpos, C("34.5")); // 34.496
    EXPECT_EQ(e.odTotIva, C("34.5"));
}

TEST(PiedeIva, ForzatoQuandoLIvaScorporataNonTorna)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    // 0.19 with VAT at 22 %: base 0.15 (0.16 would give 0.20 with its VAT), VAT 0.04, but 0.15 x 22 % is
    // 0.03.
    scIva &iva = chiave(e, "22", "22");
    aggiungi(iva, &scIva::odSVal, &scTotaliCP::odSVal, C("0.19"));
    p.iva("S", 2);
    EXPECT_EQ(iva.odImpon, C("0.15"));
    EXPECT_EQ(iva.odImpos, C("0.04"));
    EXPECT_TRUE(iva.obForzato);
}

TEST(PiedeIva, RiconciliazioneDeiContiConLaChiave)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    // Three accounts of 0.19 each with VAT included: each extracts 0.15 + 0.04,
    // the key extracts 0.47 + 0.10 from 0.57.
    scIva &iva = chiave(e, "22", "22");
    aggiungi(iva, &scIva::odSVal, &scTotaliCP::odSVal, C("0.19"), QStringLiteral("A"));
    aggiungi(iva, &scIva::odSVal, &scTotaliCP::odSVal, C("0.19"), QStringLiteral("B"));
    aggiungi(iva, &scIva::odSVal, &scTotaliCP::odSVal, C("0.10"), QStringLiteral("C"));
    aggiungi(iva, &scIva::odSVal, &scTotaliCP::odSVal, C("0.09"), QStringLiteral("C"), QStringLiteral("K"));
    p.iva("S", 2);
    EXPECT_EQ(iva.odImpon, C("0.47"));
    EXPECT_EQ(iva.odImpos, C("0.10"));
    Currency base, imposta;
    for (scControP &c : iva.ocCollControPte) {
        base += c.odImpon;
        imposta += c.odImpos;
    }
    EXPECT_EQ(base, iva.odImpon);
    EXPECT_EQ(imposta, iva.odImpos);
    // Entries of C: 0.10 -> 0.08 + 0.02; 0.09 -> 0.07 + 0.02. Accounts A, B: 0.15 + 0.04 each.
    // Residues: base 0.45 - 0.47 = -0.02, VAT 0.12 - 0.10 = 0.02; C's first entry can take them.
    const scControP &c = iva.ogControp(QStringLiteral("C"));
    EXPECT_EQ(c.odImpon, C("0.17"));
    EXPECT_EQ(c.odImpos, C("0.02"));
    EXPECT_EQ(c.ocCdcCompetenza.At(0).odImpon, C("0.10"));
    EXPECT_EQ(c.ocCdcCompetenza.At(0).odImpos, C("0.00"));
    EXPECT_EQ(c.ocCdcCompetenza.At(1).odImpon, C("0.07"));
    EXPECT_EQ(c.ocCdcCompetenza.At(1).odImpos, C("0.02"));
    // Totals of the account stay the rounded sums of its entries.
    EXPECT_EQ(c.odTotImpoImpos, C("0.19"));
}

TEST(PiedeIva, ChiaveSenzaContiEChiaviVuote)
{
    scCalcPiedeFat e;
    scCalcPiedeFatProva p(e);
    p.iva("N", 2);
    EXPECT_EQ(e.odTotIva, Currency());
    scIva &iva = e.ogIve->AddIva(QStringLiteral("22"));
    iva.odAliquota = C("22");
    p.iva("N", 2);
    EXPECT_EQ(iva.odImpon, Currency());
    iva.odSVal = C("10");
    EXPECT_THROW(p.iva("N", 2), VbErrore);
}
