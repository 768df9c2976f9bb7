// Decoding of each lookup kind against the demo company database.
#include "AziendaDemo.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/db/Risultato.h"
#include "components/menu/ClienteMenu.h"
#include "components/util/VbErrore.h"
#include "services/Decodifica.h"
#include "services/Parametri.h"

#include <QLabel>
#include <QLineEdit>

namespace
{

class Decodifica : public AziendaDemo
{
  protected:
    QString primo(const QString &sql)
    {
        auto r = Globali::DbComp()->Seleziona(Globali::DbAzienda, sql);
        return r->numRighe() ? r->valore(0, 0).toString() : QString();
    }
};

// A menu host that holds the personal settings a test gives it.
class HostPersonale : public ClienteMenu
{
  public:
    QHash<QString, QVariant> par;
    QVariant LeggiPar(const QString &nome, const QVariant &predef) override
    {
        if (par.contains(nome))
            return par.value(nome);
        return NomePersonale(nome) ? QVariant(NonTrovato) : predef;
    }
    void ScriviPar(const QString &nome, const QVariant &valore) override { par.insert(nome, valore); }
    void ImpostaValore(const QString &, int, bool, const QVariant &) override {}
    void Richiesta(const QString &, const QString &) override {}
    void PassaAProgramma(const QString &, const QString &, const QString &) override {}
    void Attiva(const QString &, const QVariant &) override {}
    void ParametroHost(const QString &, const QString &, const QVariant &) override {}
    void NomeTerminale(QString &v) override { v = "T1"; }
};

struct Caso {
    const char *tipo;
    const char *codice;
    const char *descrizione; // nullptr: the code does not exist
};

} // namespace

TEST_F(Decodifica, OgniTipoTrovatoEInesistente)
{
    const Caso casi[] = {
        {"Gruppo", "01", "ATTIVITA'"},
        {"Mastro", "05", "CREDITI VERSO CLIENTI ITALIA"},
        {"Stato", "FR", "Francia"},
        {"Stato", "ZZ", nullptr},
        {"Ricl", "R02", "Clienti in contenzioso"},
        {"Banca", "UCR01", "UniCredit"},
        {"Pagamento", "BB30", "Bonifico 30 gg data fattura"},
        {"Categoria", "gdo", "Grande distribuzione"}, // codes compare without regard to case
        {"Zona", "EE", "Estero"},
        {"Zona", "XX", nullptr},
        {"Moneta", "GBP", "Sterlina britannica"},
        {"Lingua", "DE", "Tedesco"},
        {"Listino", "L4", "Listino export"},
        {"Iva", "E8", "Non imponibile art. 8 c.1 lett. c DPR 633/72"},
        {"Vettore", "GLS", "General Logistics Systems Italy S.p.A."},
        {"Resa", "EXW", "Ex works"},
        {"Spesa", "IMB", "Imballo"},
        {"Agente", "A02", "Esposito Anna"},
        {"Agente", "A99", nullptr},
        {"Articolo", "FUORI", "Articolo fuori produzione"},
        {"Comuni", "Abano Terme", "Abano Terme"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(std::string(c.tipo) + " " + c.codice);
        bool trovato = true;
        const QString d = DecodificaCodice(c.tipo, c.codice, {}, {}, &trovato);
        EXPECT_EQ(trovato, c.descrizione != nullptr);
        EXPECT_EQ(d, c.descrizione ? QString::fromUtf8(c.descrizione) : TestoInesistente);
    }
}

TEST_F(Decodifica, CodiceVuotoNonEInesistente)
{
    bool trovato = true;
    EXPECT_EQ(DecodificaCodice("Zona", "  "), QString());
    DecodificaCodice("Zona", "", {}, {}, &trovato);
    EXPECT_FALSE(trovato);
}

TEST_F(Decodifica, TipoSconosciutoEErrore5)
{
    try {
        DecodificaCodice("Pianeta", "X");
        FAIL();
    } catch (const VbErrore &e) {
        EXPECT_EQ(e.numero(), 5);
    }
}

TEST_F(Decodifica, ContestiRestringono)
{
    // The attribute "A" exists in classes 1 and 2: the class number picks its description.
    EXPECT_EQ(DecodificaCodice("PdcClasseAttr", "A", 1), "Cliente strategico");
    EXPECT_EQ(DecodificaCodice("PdcClasseAttr", "A", 2), "Settore alimentare");
    EXPECT_EQ(DecodificaCodice("PdcClasseAttr", "MEC", 1), TestoInesistente);
    // A ledger exists only under its own group.
    EXPECT_EQ(DecodificaCodice("Mastro", "05", "02"), "DEBITI VERSO FORNITORI");
    EXPECT_EQ(DecodificaCodice("Mastro", "15", "03"), TestoInesistente);
    QLineEdit gruppo("01");
    EXPECT_EQ(DecodificaCodice("Mastro", "05", QVariant::fromValue<QObject *>(&gruppo)),
              "CREDITI VERSO CLIENTI ITALIA");
}

TEST_F(Decodifica, ContoPerTipoEChiaveSpezzata)
{
    const QString cliente =
        primo("SELECT Gruppo & '-' & Mastro & '-' & Conto FROM PianoConti WHERE Tipo = '3' "
              "ORDER BY Gruppo, Mastro, Conto");
    const QString descr =
        primo("SELECT Descrizione FROM PianoConti WHERE Tipo = '3' ORDER BY Gruppo, Mastro, Conto");
    ASSERT_FALSE(cliente.isEmpty());
    QLineEdit cod(cliente);
    QLineEdit des;
    QVariant tipo = "3";
    EXPECT_TRUE(FiltroDecodifica("Conto", &cod, &des, &tipo, true, true).toBool());
    EXPECT_EQ(des.text(), descr);
    // A customer is no general account.
    tipo = "1";
    des.setText("Nuovo cliente");
    EXPECT_FALSE(FiltroDecodifica("Conto", &cod, &des, &tipo, true, true).toBool());
    // The description the user typed for a new account is left alone.
    EXPECT_EQ(des.text(), "Nuovo cliente");
    QVariant fornitori = "x1";
    cod.setText("02-05-0001");
    EXPECT_TRUE(FiltroDecodifica("Conto", &cod, &des, &fornitori, true, true).toBool());
    EXPECT_EQ(des.text(), "Cartiera Valsesia S.p.A.");
}

TEST_F(Decodifica, FiltroDecodificaScriveEtichetta)
{
    QLineEdit cod("NE");
    QLabel lab("vecchio");
    EXPECT_TRUE(FiltroDecodifica("Zona", &cod, &lab).toBool());
    EXPECT_EQ(lab.text(), "Nord-est");
    cod.setText("QQ");
    EXPECT_FALSE(FiltroDecodifica("Zona", &cod, &lab).toBool());
    EXPECT_EQ(lab.text(), TestoInesistente);
    // Without the not-found text a label is emptied.
    EXPECT_FALSE(FiltroDecodifica("Zona", &cod, &lab, nullptr, false, true).toBool());
    EXPECT_EQ(lab.text(), "");
    // An empty code empties the description, whichever way it is asked.
    lab.setText("Nord-est");
    cod.clear();
    EXPECT_FALSE(FiltroDecodifica("Zona", &cod, &lab).toBool());
    EXPECT_EQ(lab.text(), "");
}

TEST_F(Decodifica, ColonneRestituiteNelloStessoArray)
{
    QLineEdit cod("GB");
    QLabel lab;
    QVariantList col{"Iso", "LungPartIva", "LungPartIva2", "Moneta", "CodTabStato"};
    EXPECT_TRUE(FiltroDecodifica("Stato", &cod, &lab, nullptr, false, false, {}, &col).toBool());
    EXPECT_EQ(lab.text(), "Regno Unito");
    ASSERT_EQ(col.size(), 5);
    EXPECT_EQ(col[0].toString(), "GB");
    EXPECT_EQ(col[1].toInt(), 9);
    EXPECT_EQ(col[2].toInt(), 12);
    EXPECT_EQ(col[3].toString(), "GBP");
    EXPECT_EQ(col[4].toString(), "GB");

    // Through the lookup library the same columns come back.
    QVariantList col2{"Moneta"};
    EXPECT_TRUE(FiltroDecodifica("Stato", &cod, &lab, nullptr, true, false, {}, &col2).toBool());
    EXPECT_EQ(col2[0].toString(), "GBP");

    // A country not found gives empty values, never the names asked for.
    cod.setText("ZZ");
    QVariantList col3{"Iso", "Moneta"};
    EXPECT_FALSE(FiltroDecodifica("Stato", &cod, &lab, nullptr, false, false, {}, &col3).toBool());
    EXPECT_EQ(col3, (QVariantList{QString(), QString()}));
}

TEST_F(Decodifica, AgenteRestituisceProvvigione)
{
    QLineEdit cod("A02");
    QLabel lab;
    QVariant provv = QStringLiteral("Provv");
    EXPECT_TRUE(FiltroDecodifica("Agente", &cod, &lab, &provv).toBool());
    EXPECT_EQ(lab.text(), "Esposito Anna");
    EXPECT_DOUBLE_EQ(provv.toDouble(), 4.5);
    cod.setText("A99");
    provv = QStringLiteral("Provv");
    EXPECT_FALSE(FiltroDecodifica("Agente", &cod, &lab, &provv).toBool());
    EXPECT_EQ(provv.toString(), "");
}

TEST_F(Decodifica, BancaConEspressioneDellaDescrizione)
{
    const QString espr = "Descrizione & iif(Agenzia is null,' ', '-' & Agenzia)§: ";
    QLineEdit cod("ISP02");
    QLabel lab;
    EXPECT_TRUE(FiltroDecodifica("Banca", &cod, &lab, nullptr, false, false, espr).toBool());
    EXPECT_EQ(lab.text(), "Intesa Sanpaolo-Torino Centro");
}

TEST_F(Decodifica, ArticoliInattiviSoloSeRichiesto)
{
    HostPersonale host;
    Globali::MenuClient = &host;
    QLineEdit cod("FUORI");
    QLabel lab;
    EXPECT_TRUE(FiltroDecodifica("Articolo", &cod, &lab).toBool());
    host.par.insert("Personal.Tutti.§NoDecInattivi", "S");
    EXPECT_FALSE(FiltroDecodifica("Articolo", &cod, &lab).toBool());
    EXPECT_EQ(lab.text(), TestoInesistente);
    cod.setText("OLIO1L");
    EXPECT_TRUE(
        FiltroDecodifica("Articolo", &cod, &lab, nullptr, false, false, {}, nullptr, "Iva = '04'").toBool());
    Globali::MenuClient = nullptr;
}

TEST_F(Decodifica, IndirizziDelSoloConto)
{
    const QString chiave =
        primo("SELECT Gruppo & Mastro & Conto FROM IndSped ORDER BY Gruppo, Mastro, Conto");
    const QString ind = primo("SELECT IndSped FROM IndSped ORDER BY Gruppo, Mastro, Conto");
    ASSERT_FALSE(chiave.isEmpty());
    QLineEdit cod(ind);
    QLabel lab;
    QVariant conto = chiave;
    EXPECT_TRUE(FiltroDecodifica("IndSped", &cod, &lab, &conto).toBool());
    QVariant altro = "02050001";
    EXPECT_FALSE(FiltroDecodifica("IndSped", &cod, &lab, &altro).toBool());
    // Without an account no address is found.
    EXPECT_FALSE(FiltroDecodifica("IndSped", &cod, &lab).toBool());
}

TEST_F(Decodifica, StatoEleDalDatabaseComune)
{
    QLineEdit cod("MC");
    QLabel lab;
    QVariantList col{"BlackList"};
    EXPECT_TRUE(FiltroDecodifica2("StatoEle", &cod, &lab, nullptr, false, false, {}, &col).toBool());
    EXPECT_EQ(col[0].toString().toUpper(), "S");
    EXPECT_EQ(lab.text(), "Principato di Monaco");
}

TEST_F(Decodifica, ComuniConProvinciaECodiceCatastale)
{
    QLineEdit cod("abano terme");
    QLabel lab;
    QVariantList col{"CodErariale"};
    EXPECT_TRUE(
        FiltroDecodifica("Comuni", &cod, &lab, nullptr, true, true, {}, &col, "SiglaProv='PD'").toBool());
    EXPECT_EQ(lab.text(), "Abano Terme");
    EXPECT_EQ(col[0].toString(), "A001");
    col = {"CodErariale"};
    EXPECT_FALSE(
        FiltroDecodifica("Comuni", &cod, &lab, nullptr, true, true, {}, &col, "SiglaProv='MI'").toBool());
    EXPECT_EQ(lab.text(), "");
    EXPECT_EQ(col[0].toString(), "");
}

TEST_F(Decodifica, DecodificaViaAiutoLasciaLaRigaInNuovaRicerca)
{
    QLineEdit cod("A05");
    QLabel lab;
    EXPECT_TRUE(FiltroDecodifica("Agente", &cod, &lab, nullptr, true).toBool());
    EXPECT_EQ(Aiuto().NuovaRicerca().RetVal("Provv").toDouble(), 7.5);
    EXPECT_EQ(Aiuto().NuovaRicerca().RetVal("Agente").toString(), "A05");
}
