// Footer engine on stored documents, on SQLite and on PostgreSQL: header,
// stamp table and lines read into the totals, payment discount and VAT
// worked out by hand to the cent.
#include "BancoPiede.h"
#include "PiedeProva.h"

#include "components/util/VbErrore.h"
#include "totals/scCalcPiedeFat.h"

#include <QDate>
#include <gtest/gtest.h>

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

class Documenti : public ::testing::TestWithParam<BancoPiede::Motore>
{
  protected:
    void SetUp() override
    {
        QString motivo;
        if (!banco.Apri(GetParam(), &motivo))
            GTEST_SKIP() << motivo.toStdString();
        banco.Anagrafiche();
        motore.osTabTesta = QStringLiteral("FatTest");
        motore.osTabDett = QStringLiteral("FatDett");
        motore.osTabLiv = QStringLiteral("FatLiv");
        motore.osTabSpese = QStringLiteral("FatSpese");
    }

    void testata(int numero, const QVariantMap &altro = {},
                 const QString &tabella = QStringLiteral("FatTest"))
    {
        QVariantMap v{{"Anno", 2024},          {"NumRif", numero},  {"DataRif", QDate(2024, 3, 15)},
                      {"GruppoCli", "01"},     {"MastroCli", "03"}, {"ContoCli", "0001"},
                      {"FattDocumento", "FT"}, {"Moneta", "EUR"},   {"Pagamento", "RD30"},
                      {"PrezziIvati", "N"},    {"Acconto", 0}};
        if (tabella.compare(QLatin1String("FatTest"), Qt::CaseInsensitive) == 0)
            v.insert(QStringLiteral("Abbuono"), 0);
        for (auto it = altro.begin(); it != altro.end(); ++it)
            v.insert(it.key(), it.value());
        banco.Inserisci(tabella, v);
    }

    // One goods line: unit price x quantity, valued at the given total.
    void riga(int numero, int rigDet, const char *iva, const char *totale, const QVariantMap &altro = {},
              const QString &tabella = QStringLiteral("FatDett"))
    {
        QVariantMap v{{"Anno", 2024},
                      {"NumRif", numero},
                      {"RigDet", rigDet},
                      {"RigLiv", rigDet},
                      {"TipoRiga", "M"},
                      {"Omaggio", "N"},
                      {"qta", 1},
                      {"Iva", QString::fromLatin1(iva)},
                      {"ValTotale", QString::fromLatin1(totale).toDouble()},
                      {"ValUnitario", QString::fromLatin1(totale).toDouble()},
                      {"gruppoven", "04"},
                      {"MastroVen", "20"},
                      {"contoVen", "0001"},
                      {"FlScontoPag", "N"},
                      {"SoggRitAcc", "N"}};
        for (auto it = altro.begin(); it != altro.end(); ++it)
            v.insert(it.key(), it.value());
        banco.Inserisci(tabella, v);
    }

    void calcola(int numero, bool ritenuta = false) { motore.CalcPiedeFat(2024, numero, ritenuta, -1); }

    scIva &iva(const char *codice) { return motore.ogIve->ogIva(QString::fromUtf8(codice)); }

    QStringList chiavi()
    {
        QStringList k;
        for (scIva &i : motore.ogIve->ocCollIva)
            k << i.osIva;
        return k;
    }

    BancoPiede banco;
    scCalcPiedeFat motore;
    scCalcPiedeFatProva prova{motore};
};

TEST_P(Documenti, PrezziSenzaIvaPiuAliquoteEdEsente)
{
    testata(1);
    riga(1, 1, "22", "100", {{"qta", 2}, {"ValUnitario", 50}});
    riga(1, 2, "10", "50");
    riga(1, 3, "E8", "30");
    riga(1, 4, "22", "12.345"); // rounded to the currency's two decimals: 12.35
    calcola(1);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    prova.ricalcolaIva();
    EXPECT_EQ(chiavi(), (QStringList{"10", "22", "E8"}));
    EXPECT_EQ(prova.numDec(), 2);
    EXPECT_EQ(prova.prezziIvati(), QStringLiteral("N"));
    EXPECT_EQ(iva("22").odSVal, C("112.35"));
    EXPECT_EQ(iva("22").odMerce, C("112.35"));
    EXPECT_EQ(iva("22").odImpon, C("112.35"));
    EXPECT_EQ(iva("22").odImpos, C("24.72")); // 24.717
    EXPECT_EQ(iva("10").odImpos, C("5"));
    EXPECT_EQ(iva("22").odAliquota, C("22"));
    EXPECT_EQ(iva("22").osDescrizione, QStringLiteral("Iva 22"));
    EXPECT_EQ(iva("22").osDescrLunga, QStringLiteral("Aliquota 22"));
    EXPECT_EQ(iva("22").osDescrMemo, QStringLiteral("Memo 22"));
    EXPECT_FALSE(iva("22").obIvaEsente);
    EXPECT_TRUE(iva("E8").obIvaEsente);
    EXPECT_EQ(iva("E8").osApplBolloEse, QStringLiteral("S"));
    EXPECT_EQ(iva("E8").odImpon, C("30"));
    EXPECT_EQ(iva("E8").odImpos, Currency());
    EXPECT_EQ(motore.odTotIva, C("29.72"));
    EXPECT_EQ(prova.totMerceRighe(), C("192.35"));
    EXPECT_FALSE(motore.obOmaSIvaPres);
    EXPECT_FALSE(motore.obOmaTotPres);
}

TEST_P(Documenti, PrezziConIvaEForzato)
{
    testata(2, {{"PrezziIvati", "s"}});
    riga(2, 1, "22", "122");
    riga(2, 2, "10", "0.19");
    riga(2, 3, "04", "0.19");
    calcola(2);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    prova.ricalcolaIva();
    EXPECT_EQ(prova.prezziIvati(), QStringLiteral("s"));
    EXPECT_EQ(iva("22").odTotImpoImpos, C("122"));
    EXPECT_EQ(iva("22").odImpon, C("100"));
    EXPECT_EQ(iva("22").odImpos, C("22"));
    EXPECT_FALSE(iva("22").obForzato);
    // 0.19 at 10 %: base 0.17, VAT 0.02 (0.017 rounds to 0.02): not forced.
    EXPECT_EQ(iva("10").odImpon, C("0.17"));
    EXPECT_FALSE(iva("10").obForzato);
    // 0.19 at 4 %: base 0.18, VAT 0.01, and 0.18 x 4 % = 0.0072 gives 0.01: not forced.
    EXPECT_EQ(iva("04").odImpon, C("0.18"));
    EXPECT_EQ(iva("04").odImpos, C("0.01"));
    EXPECT_FALSE(iva("04").obForzato);
    // Goods net of VAT: 100 + 0.17 + 0.18.
    EXPECT_EQ(prova.totMerceRighe(), C("100.35"));
}

TEST_P(Documenti, OmaggiDiOgniTipo)
{
    testata(3);
    riga(3, 1, "22", "100");
    riga(3, 2, "22", "10", {{"Omaggio", "i"}});
    riga(3, 3, "22", "20", {{"Omaggio", "S"}});
    riga(3, 4, "22", "5", {{"Omaggio", ""}});
    calcola(3);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    prova.ricalcolaIva();
    const scIva &i = iva("22");
    EXPECT_TRUE(motore.obOmaSIvaPres);
    EXPECT_TRUE(motore.obOmaTotPres);
    EXPECT_EQ(i.odSVal, C("105"));
    EXPECT_EQ(i.odSValOmaggio, C("10"));
    EXPECT_EQ(i.odSValOmaggioT, C("20"));
    EXPECT_EQ(i.odMerce, C("100"));
    EXPECT_EQ(i.odImpon, C("135"));
    EXPECT_EQ(i.odImpos, C("29.7"));
    EXPECT_EQ(i.odImpOmaggioT, C("20"));
    EXPECT_EQ(i.odIvaOmaggioT, C("4.4"));
    const scControP &conto = i.ogControp(QStringLiteral("04200001"));
    EXPECT_EQ(conto.odSValOmaggio, C("10"));
    EXPECT_EQ(conto.odSValOmaggioT, C("20"));
    EXPECT_EQ(conto.odMerce, C("100"));
}

TEST_P(Documenti, MerceAiLivelliDiSconto)
{
    testata(4);
    riga(4, 1, "22", "171", {{"ValUnitario", 100}, {"qta", 2}, {"Scontotot", "10+5"}});
    riga(4, 2, "22", "50");
    riga(4, 3, "10", "40", {{"Scontotot", "0"}});
    riga(4, 4, "22", "10", {{"Omaggio", "S"}, {"Scontotot", "50"}});
    calcola(4);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    const scIva &a = iva("22");
    EXPECT_EQ(a.oiNumSconti, 3);
    EXPECT_DOUBLE_EQ(a.odMerceSco(1), 250);
    EXPECT_DOUBLE_EQ(a.odMerceSco(2), 230);
    EXPECT_DOUBLE_EQ(a.odMerceSco(3), 221);
    EXPECT_DOUBLE_EQ(a.odMerceSco(4), 221); // beyond the levels: the goods of the key
    const scIva &b = iva("10");
    EXPECT_EQ(b.oiNumSconti, 1);
    EXPECT_DOUBLE_EQ(b.odMerceSco(1), 40);
    EXPECT_EQ(prova.totMerceRighe(), C("261"));
}

TEST_P(Documenti, ScontoPagamentoPerAliquota)
{
    testata(5, {{"ScontoPag", " 2 "}});
    riga(5, 1, "22", "33.33", {{"FlScontoPag", "S"}});
    riga(5, 2, "22", "66.67", {{"FlScontoPag", "s"}});
    riga(5, 3, "22", "10");
    riga(5, 4, "10", "50", {{"FlScontoPag", "S"}, {"Omaggio", "I"}});
    calcola(5);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.osScontoPag, QStringLiteral("2"));
    EXPECT_EQ(motore.odScontoPag, C("2"));
    prova.ricalcolaIva();
    EXPECT_TRUE(motore.obApplScontoPag);
    EXPECT_EQ(iva("22").odSValPerSco, C("100"));
    EXPECT_EQ(iva("22").odSVal, C("10"));
    EXPECT_EQ(iva("22").odTotScoPagam, C("2"));
    EXPECT_EQ(iva("22").odImpon, C("108"));
    EXPECT_EQ(iva("22").odImpos, C("23.76"));
    // A gift subject to the discount on a key with no discounted goods takes no share.
    EXPECT_EQ(iva("10").odSValOmaggioPerSco, C("50"));
    EXPECT_EQ(iva("10").odScoPagamOmaggio, Currency());
    EXPECT_EQ(iva("22").ogCdcComp(QStringLiteral("04200001"), vuoto, vuoto).odScoPagam, C("2"));
}

TEST_P(Documenti, ScontoPagamentoSulleRigheOCatenaNonValida)
{
    testata(6, {{"ScontoPag", "3+2"}, {"ScoPagSuDett", "S"}});
    riga(6, 1, "22", "100", {{"FlScontoPag", "S"}});
    calcola(6);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odScontoPag, C("4.94"));
    prova.ricalcolaIva();
    EXPECT_EQ(iva("22").odSVal, C("100"));
    EXPECT_EQ(iva("22").odSValPerSco, Currency());
    EXPECT_FALSE(motore.obApplScontoPag);

    testata(7, {{"ScontoPag", "2x"}});
    riga(7, 1, "22", "100", {{"FlScontoPag", "S"}});
    calcola(7);
    EXPECT_EQ(motore.oiNumErrori, 1);
    EXPECT_EQ(motore.osErrori,
              QStringLiteral("Errore n°0 : Sconto pagamento non valido \"2x\": nessuno sconto "
                             "pagamento applicato in  CalcPiedeFat (Lettura testata) \r\n"));
    EXPECT_EQ(motore.odScontoPag, Currency());
    EXPECT_EQ(motore.osScontoPag, QStringLiteral("2x"));
    // The run went on, without discount.
    EXPECT_EQ(iva("22").odSVal, C("100"));
}

TEST_P(Documenti, ContiCentriDiCostoECompetenze)
{
    banco.ParametroHost(QStringLiteral("CauCon.GruppoVen"), QStringLiteral("04"));
    banco.ParametroHost(QStringLiteral("CauCon.MastroVen"), QStringLiteral("20"));
    banco.ParametroHost(QStringLiteral("CauCon.ContoVen"), QStringLiteral("0009"));
    testata(8);
    riga(8, 1, "22", "100",
         {{"CentroDiCosto", "CC1"},
          {"CompGiornMens", "M"},
          {"DataCompDa", QDate(2024, 1, 1)},
          {"DataCompA", QDate(2024, 3, 31)}});
    riga(8, 2, "22", "50", {{"contoVen", "0002"}});
    riga(8, 3, "22", "30", {{"gruppoven", QVariant()}, {"MastroVen", QVariant()}, {"contoVen", QVariant()}});
    riga(8, 4, "22", "0.01", {{"CentroDiCosto", "CC1"}, {"CompGiornMens", "M"}}); // no date: no competence
    calcola(8);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    prova.ricalcolaIva();
    scIva &i = iva("22");
    QStringList conti;
    for (scControP &c : i.ocCollControPte)
        conti << c.osConto;
    EXPECT_EQ(conti, (QStringList{"04200009", "04200001", "04200002"}));
    const scControP &primo = i.ogControp(QStringLiteral("04200001"));
    ASSERT_EQ(primo.ocCdcCompetenza.Count(), 2);
    EXPECT_EQ(primo.ocCdcCompetenza.At(0).osKey, QStringLiteral("CCC1DM01/01/202431/03/2024"));
    EXPECT_EQ(primo.ocCdcCompetenza.At(0).odSVal, C("100"));
    EXPECT_EQ(primo.ocCdcCompetenza.At(1).osKey, QStringLiteral("CCC1D"));
    EXPECT_EQ(primo.odSVal, C("100.01"));
    EXPECT_EQ(i.ogControp(QStringLiteral("04200009")).odSVal, C("30"));
    // Every level adds up to the key's figures.
    Currency base, imposta;
    for (scControP &c : i.ocCollControPte) {
        base += c.odImpon;
        imposta += c.odImpos;
        Currency baseVoci, impostaVoci;
        for (scControPCDCComp &v : c.ocCdcCompetenza) {
            baseVoci += v.odImpon;
            impostaVoci += v.odImpos;
        }
        EXPECT_EQ(baseVoci, c.odImpon);
        EXPECT_EQ(impostaVoci, c.odImpos);
    }
    EXPECT_EQ(base, i.odImpon);
    EXPECT_EQ(imposta, i.odImpos);
    EXPECT_EQ(i.odImpos, C("39.6")); // 180.01 x 22 % = 39.6022
}

TEST_P(Documenti, NotaDiCredito)
{
    testata(9, {{"FattDocumento", "NC"}});
    riga(9, 1, "22", "100");
    riga(9, 2, "E8", "20");
    calcola(9);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    prova.ricalcolaIva();
    EXPECT_EQ(iva("22").odImpon, C("100"));
    EXPECT_EQ(iva("22").odImpos, C("22"));
    EXPECT_EQ(iva("E8").odImpon, C("20"));
}

TEST_P(Documenti, SenzaTestataSenzaRigheESenzaAliquota)
{
    calcola(99);
    EXPECT_EQ(motore.oiNumErrori, 1);
    EXPECT_EQ(motore.osErrori,
              QStringLiteral("Errore n°0 : Non è stata trovata la testata del doc. 99 2024 in  "
                             "CalcPiedeFat (Lettura testata) \r\n"));
    EXPECT_EQ(motore.odTotPagare, Currency());
    EXPECT_EQ(motore.ogIve->ocCollIva.Count(), 0);

    testata(10);
    calcola(10);
    EXPECT_EQ(motore.oiNumErrori, 1);
    EXPECT_EQ(motore.osErrori, QStringLiteral("Errore n°0 : Documento senza dettagli: 10 2024 in  "
                                              "CalcPiedeFat (Lettura Dettagli Normali) \r\n"));
    motore.obErrNoDett = false;
    calcola(10);
    EXPECT_EQ(motore.oiNumErrori, 0);
    EXPECT_EQ(motore.ogIve->ocCollIva.Count(), 0);

    testata(11);
    riga(11, 1, "22", "100");
    riga(11, 2, "XX", "10");
    calcola(11);
    EXPECT_EQ(motore.oiNumErrori, 1);
    EXPECT_TRUE(motore.osErrori.contains(QStringLiteral("XX"))) << motore.osErrori.toStdString();
    EXPECT_TRUE(motore.osErrori.endsWith(QStringLiteral("in  CalcPiedeFat (Lettura Dettagli Normali) \r\n")))
        << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odTotPagare, Currency());
}

TEST_P(Documenti, MonetaConDecimaliFuoriIntervalloEUnErrore)
{
    for (const auto &[moneta, dec] :
         {std::pair{"MAX", 2147483647}, std::pair{"NEG", -3}, std::pair{"SEI", 6}}) {
        banco.Inserisci(QStringLiteral("Monete"), {{"Moneta", QString::fromLatin1(moneta)}, {"NumDec", dec}});
        const int numero = 20 + dec % 7;
        testata(numero, {{"Moneta", QString::fromLatin1(moneta)}});
        riga(numero, 1, "22", "100.25");
        calcola(numero);
        EXPECT_EQ(motore.oiNumErrori, 1) << moneta;
        EXPECT_TRUE(motore.osErrori.contains(
            QStringLiteral("La moneta %1 ha un numero di decimali non valido (%2)").arg(moneta).arg(dec)))
            << motore.osErrori.toStdString();
        EXPECT_EQ(motore.odTotPagare, Currency()) << moneta;
    }
}

TEST_P(Documenti, ImportiNulliValgonoZero)
{
    testata(12, {{"Acconto", QVariant()}, {"Abbuono", QVariant()}, {"ScontoPag", QVariant()}});
    riga(12, 1, "22", "0", {{"ValTotale", QVariant()}, {"ValUnitario", QVariant()}, {"qta", QVariant()}});
    riga(12, 2, "22", "10");
    calcola(12);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odAcconto, Currency());
    EXPECT_EQ(iva("22").odSVal, C("10"));
    EXPECT_EQ(iva("22").odMerce, C("10"));
}

TEST_P(Documenti, TabellaBolliPerMoneta)
{
    testata(13);
    riga(13, 1, "22", "10");
    calcola(13);
    EXPECT_TRUE(prova.bolliTrovati());
    EXPECT_EQ(prova.codEseBollo(), QStringLiteral("E8"));
    EXPECT_EQ(prova.contoBollo(), QStringLiteral("04100007"));
    EXPECT_EQ(motore.osGruppoBol, QStringLiteral("04"));
    EXPECT_EQ(motore.osContoBol, QStringLiteral("0007"));
    EXPECT_EQ(prova.percBolloTratte(), C("1.2"));
    EXPECT_EQ(prova.maxNoBollo(), C("77.47"));
    EXPECT_EQ(prova.bolloEsente(), C("2"));
    EXPECT_EQ(prova.arrotondBollo(), C("0.1"));
    EXPECT_EQ(prova.scaBolRB(0), Currency());
    EXPECT_EQ(prova.scaBolRB(1), C("129.11"));
    EXPECT_EQ(prova.bolloRB(2), C("2.58"));
    EXPECT_EQ(prova.scaBolRB(3), C("99999999999999"));
    EXPECT_EQ(prova.scaBolRB(4), C("99999999999999"));
    EXPECT_EQ(prova.bolloRB(4), C("4"));

    testata(14, {{"Moneta", "lit"}});
    riga(14, 1, "22", "1001");
    calcola(14);
    EXPECT_TRUE(prova.bolliTrovati());
    EXPECT_EQ(prova.numDec(), 0);
    EXPECT_EQ(prova.maxNoBollo(), C("150000"));
    EXPECT_EQ(prova.bolloEsente(), C("4000"));
    EXPECT_EQ(prova.scaBolRB(1), C("250000"));
    EXPECT_EQ(prova.scaBolRB(2), C("99999999999999"));
    EXPECT_EQ(prova.bolloRB(2), C("5000"));
    prova.ricalcolaIva();
    EXPECT_EQ(iva("22").odImpos, C("221")); // Lira VAT rounds up: 220.22

    testata(15, {{"Moneta", "USD"}});
    riga(15, 1, "22", "10");
    calcola(15);
    EXPECT_FALSE(prova.bolliTrovati());
    EXPECT_TRUE(motore.osGruppoBol.isEmpty());
    EXPECT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
}

TEST_P(Documenti, BollaSenzaAbbuonoEOrdine)
{
    motore.osTabTesta = QStringLiteral("DdtTest");
    motore.osTabDett = QStringLiteral("DdtDett");
    motore.osTabLiv = QStringLiteral("DdtLiv");
    motore.osTabSpese = QStringLiteral("DdtSpese");
    testata(16, {{"Peso", 12.5}, {"ScontoPag", "2"}}, QStringLiteral("DdtTest"));
    riga(16, 1, "22", "100", {{"FlScontoPag", "S"}}, QStringLiteral("DdtDett"));
    EXPECT_FALSE(prova.sqlTestata().contains(QStringLiteral("ScoPagSuDett")));
    EXPECT_TRUE(prova.sqlTestata().contains(QStringLiteral("DdtTest.Peso")));
    calcola(16);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(motore.odAbbuono, Currency());
    EXPECT_EQ(iva("22").odSValPerSco, C("100"));

    motore.osTabTesta = QStringLiteral("OrdVenTest");
    motore.osTabDett = QStringLiteral("OrdVenDett");
    motore.osTabLiv = QStringLiteral("OrdVenLiv");
    motore.osTabSpese = QStringLiteral("OrdVenSpese");
    EXPECT_TRUE(prova.sqlTestata().contains(QStringLiteral("OrdVenTest.ScoPagSuDett")));
    testata(17, {{"ScontoPag", "2"}, {"ScoPagSuDett", "S"}}, QStringLiteral("OrdVenTest"));
    riga(17, 1, "22", "100", {{"FlScontoPag", "S"}}, QStringLiteral("OrdVenDett"));
    calcola(17);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(iva("22").odSVal, C("100"));
}

TEST_P(Documenti, TaglieCauzioniEBeniUsati)
{
    banco.ParametroHost(QStringLiteral("Mag.GesTaglie"), QStringLiteral("s"));
    banco.ParametroHost(QStringLiteral("Personal.Fatture.§GestVuotiCauz"), QStringLiteral("S"));
    banco.Inserisci(QStringLiteral("Articoli"), {{"Articolo", "CASSA"}, {"Cauzione", "S"}});
    banco.Inserisci(QStringLiteral("Articoli"), {{"Articolo", "MAGLIA"}, {"Cauzione", "N"}});
    testata(18, {{"FattDocumento", "RM"}});
    riga(18, 1, "22", "100", {{"Articolo", "MAGLIA"}});
    banco.Inserisci(QStringLiteral("FatLiv"), {{"Anno", 2024},
                                               {"NumRif", 18},
                                               {"RigLiv", 1},
                                               {"Livello1", "XL"},
                                               {"ValTotale", 80},
                                               {"ValUnitario", 40}});
    riga(18, 2, "22", "50", {{"Articolo", "MAGLIA"}});
    banco.Inserisci(QStringLiteral("FatLiv"),
                    {{"Anno", 2024}, {"NumRif", 18}, {"RigLiv", 2}, {"Livello1", ""}, {"ValTotale", 999}});
    riga(18, 3, "22", "10", {{"Articolo", "CASSA"}});
    riga(18, 4, "22", "70", {{"BeneUsato", "AUTO1"}});
    riga(18, 5, "22", "1000", {{"TipoRiga", "D"}});
    calcola(18);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(chiavi(), (QStringList{"22", "22~§AUTO1"}));
    // Level row with a size: its value; without: the line's; the container counts but is not goods.
    EXPECT_EQ(iva("22").odSVal, C("140"));
    EXPECT_EQ(iva("22").odMerce, C("130"));
    // Level 1 takes the unit price times the quantity: 40 from the size row, 50 from the line.
    EXPECT_DOUBLE_EQ(iva("22").odMerceSco(1), 90);
    EXPECT_EQ(iva("22~§AUTO1").odSVal, C("70"));
}

TEST_P(Documenti, SoloRigheSoggetteARitenutaEDocumentiInSequenza)
{
    testata(19);
    riga(19, 1, "22", "100", {{"SoggRitAcc", "S"}});
    riga(19, 2, "10", "50");
    calcola(19, true);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(chiavi(), QStringList{"22"});
    EXPECT_EQ(iva("22").odSVal, C("100"));

    testata(20);
    riga(20, 1, "04", "10");
    calcola(20);
    ASSERT_EQ(motore.oiNumErrori, 0) << motore.osErrori.toStdString();
    EXPECT_EQ(chiavi(), QStringList{"04"});
}

INSTANTIATE_TEST_SUITE_P(Motori, Documenti,
                         ::testing::Values(BancoPiede::Motore::SQLite, BancoPiede::Motore::PostgreSQL),
                         [](const auto &info) {
                             return info.param == BancoPiede::Motore::SQLite ? std::string("SQLite")
                                                                             : std::string("PostgreSQL");
                         });
} // namespace
