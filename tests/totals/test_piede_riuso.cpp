// One footer engine over many documents: its SELECTs are prepared once and
// run again per document, so a document computed after others, after a
// change of tables or settings, gives exactly what a fresh engine gives.
#include "DocumentiSpese.h"

#include "components/db/DbMotore.h"
#include "components/util/ListaValori.h"
#include "services/Globali.h"

namespace
{

// Every result of a run, as text.
QString Risultati(const scCalcPiedeFat &m)
{
    const auto c = [](Currency x) { return x.toString(4) + u' '; };
    QString o;
    for (Currency v :
         {m.odTotMerce,       m.odTotEsente,     m.odTotEsenteAppBol, m.odTotSpese,        m.odTotFattura,
          m.odTotPagare,      m.odTotImponibile, m.odTotIva,          m.odTotBolli,        m.odTotImpOmaggi,
          m.odTotOmaggiNoIva, m.odTotOmaggi,     m.odTotImpRitAcc,    m.odTotImpRitAccEff, m.odRitAcc,
          m.ouPercCassaPrev,  m.ouTotCassaPrev,  m.odAbbuono,         m.odAcconto,         m.odScontoPag})
        o += c(v);
    o += QStringLiteral("\n%1 %2 %3 %4 %5 %6 %7 %8\n")
             .arg(m.obFattEsente)
             .arg(m.obApplScontoPag)
             .arg(m.obOmaSIvaPres)
             .arg(m.obOmaTotPres)
             .arg(m.obBolliEsenti)
             .arg(m.oiNumSconti)
             .arg(m.oiSpeseScadNum())
             .arg(m.odTotBolliScad);
    o += m.osGruppoBol + m.osMastroBol + m.osContoBol + u'|' + m.osScontoPag + u'|' + m.osErrori + u'\n';
    for (int i = 1; i <= m.oiNumSconti; ++i)
        o += m.odTotMerceSco(i).toString() + u' ';
    for (const ListaValori *l : {m.ogSpese.get(), m.ogSpesePerc.get()})
        for (int i = 0; l && i < l->NumeroElementi(); ++i)
            o += l->Chiave(i) + u'=' + l->Valore(i).toString() + u' ';
    for (scIva &iva : m.ogIve->ocCollIva) {
        o += u'\n' + iva.osIva + u'|' + iva.osDescrizione + u'|' + iva.osTipoIva + u'|';
        for (Currency v : {iva.odImpon, iva.odImpos, iva.odMerce, iva.odSVal, iva.odSValPerSco,
                           iva.odScoPagam, iva.odSValSpese, iva.odSValIvSpese, iva.odSpeseRipart})
            o += c(v);
        for (scControP &cp : iva.ocCollControPte) {
            o += u'\n' + cp.osConto + u':' + c(cp.odImpon) + c(cp.odImpos) + c(cp.odSValSpese);
            for (scControPCDCComp &v : cp.ocCdcCompetenza)
                o += v.osKey + u':' + c(v.odImpon) + c(v.odImpos);
        }
    }
    return o;
}

} // namespace

class RiusoMotore : public DocumentiSpese
{
  protected:
    // Documents that take every way through the engine: withholding tax and
    // its second run, a fund row, expenses of every kind, gifts, sizes and
    // returnable containers, a payment discount and a sign-written number.
    void documenti()
    {
        testata(1, {{"PercRitAcc", 20}});
        riga(1, 1, "22", 1000, {{"SoggRitAcc", "S"}});
        riga(1, 2, "10", 200);
        spesa(1, 1, "TRA", "22", {{"Importo", 15}, {"SoggRitAcc", "S"}});
        spesa(1, 2, "CAS", "22", {{"CassaPrev", "S"}, {"Percentuale", 4}});
        testata(2, {{"ScontoPag", "2+1"}, {"Pagamento", "RB2"}});
        riga(2, 1, "22", 300,
             {{"FlScontoPag", "S"}, {"Scontotot", "10+5"}, {"qta", 3}, {"ValUnitario", 100}});
        riga(2, 2, "E8", 80, {{"Omaggio", "I"}, {"RigLiv", 7}});
        spesa(2, 1, "IMB", "22", {{"Percentuale", 3}});
        spesa(2, 2, "RIP", "", {{"Importo", 9}});
        banco.Inserisci(QStringLiteral("FatLiv"), {{"Anno", 2024},
                                                   {"NumRif", 2},
                                                   {"RigLiv", 1},
                                                   {"Livello1", "XL"},
                                                   {"ValTotale", 280},
                                                   {"ValUnitario", 90}});
        testata(3, {{"PercRitAcc", 20}, {"Pagamento", "TR2"}});
        riga(3, 1, "22", 500, {{"SoggRitAcc", "S"}});
        spesa(3, 1, "INC", "22", {{"TipoAddebito", "T"}, {"Percentuale", 2}});
        testata(-4);
        riga(-4, 1, "10", 70);
    }

    void impostazioni(bool taglie, bool cauzioni)
    {
        banco.ParametroHost(QStringLiteral("Mag.GesTaglie"),
                            taglie ? QStringLiteral("S") : QStringLiteral("N"));
        banco.ParametroHost(QStringLiteral("Personal.Fatture.§GestVuotiCauz"),
                            cauzioni ? QStringLiteral("S") : QStringLiteral("N"));
    }

    // The texts of the SELECTs that `calcola` runs, as the connection sees them.
    QStringList testi(const std::function<void()> &calcola)
    {
        QStringList visti;
        Globali::DbComp()->ImpostaOsservatoreSelect([&](const QString &sql) { visti << sql; });
        calcola();
        Globali::DbComp()->ImpostaOsservatoreSelect({});
        return visti;
    }

    QString daSolo(int numero, const QString &testa = QStringLiteral("FatTest"))
    {
        scCalcPiedeFat nuovo;
        nuovo.osTabTesta = testa;
        nuovo.osTabDett = motore.osTabDett;
        nuovo.osTabLiv = motore.osTabLiv;
        nuovo.osTabSpese = motore.osTabSpese;
        nuovo.CalcPiedeFat(2024, numero, false, -1);
        return Risultati(nuovo);
    }
};

TEST_P(RiusoMotore, EveryDocumentAsAFreshEngineComputesIt)
{
    documenti();
    struct Passo {
        int numero;
        bool taglie, cauzioni;
        const char *testa;
    };
    const Passo passi[] = {{1, false, false, "FatTest"},  {2, false, false, "FatTest"},
                           {1, false, false, "FatTest"},  {2, true, false, "FatTest"},
                           {2, true, true, "FatTest"},    {3, true, true, "FatTest"},
                           {-4, false, false, "FatTest"}, {1, false, false, "fattest"},
                           {3, false, false, "FatTest"},  {1, false, true, "FatTest"}};
    for (const Passo &p : passi) {
        impostazioni(p.taglie, p.cauzioni);
        motore.osTabTesta = QString::fromLatin1(p.testa);
        const QStringList eseguiti = testi([&] { motore.CalcPiedeFat(2024, p.numero, false, -1); });
        QString atteso;
        // A fresh engine builds every text for this very document.
        const QStringList attesi = testi([&] { atteso = daSolo(p.numero, motore.osTabTesta); });
        EXPECT_EQ(Risultati(motore), atteso) << "documento " << p.numero << " taglie " << p.taglie
                                             << " cauzioni " << p.cauzioni << " " << p.testa;
        EXPECT_EQ(eseguiti, attesi) << "documento " << p.numero;
        ASSERT_FALSE(eseguiti.isEmpty());
        EXPECT_TRUE(eseguiti[0].endsWith(
            QStringLiteral("%1.NumRif = %2 And %1.Anno = 2024").arg(p.testa).arg(p.numero)))
            << eseguiti[0].toStdString();
    }
    // The documents did reach the ways they were made for.
    impostazioni(false, false);
    motore.osTabTesta = QStringLiteral("FatTest");
    motore.CalcPiedeFat(2024, 1, false, -1);
    EXPECT_EQ(motore.odRitAcc, Imp("203")); // 20 % of the line and the expense subject to it
    EXPECT_EQ(motore.ouTotCassaPrev, Imp("40.6"));
    // A missing document ends the run at once and keeps the fund of the one before.
    motore.CalcPiedeFat(2024, 5, false, -1);
    EXPECT_EQ(motore.oiNumErrori, 1);
    EXPECT_EQ(motore.ouTotCassaPrev, Imp("40.6"));
    motore.CalcPiedeFat(2024, -4, false, -1);
    EXPECT_EQ(motore.odTotMerce, Imp("70"));
}

ISTANZIA_MOTORI(RiusoMotore);
