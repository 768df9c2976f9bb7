// The customer record's field catalogue and the code tables of check boxes,
// option groups and combos, without a window.
#include "customer/CatalogoClienti.h"
#include "customer/GeometriaPagine.h"
#include "customer/TabelleSpecchio.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace CatalogoClienti;

namespace
{

Condizioni tutte()
{
    Condizioni c;
    c.gesTaglie = true;
    for (auto &d : c.descrizioniPers)
        d = QStringLiteral("x");
    return c;
}

QList<int> numeri(const QList<const Voce *> &voci)
{
    QList<int> r;
    for (const Voce *v : voci)
        r << v->numero;
    return r;
}

} // namespace

TEST(Catalogo, EveryEntryOnceInOrderWithItsOwnBox)
{
    const auto &voci = Voci();
    ASSERT_EQ(voci.size(), 137u);
    QSet<int> indici;
    QSet<QString> campi;
    for (size_t i = 0; i < voci.size(); ++i) {
        EXPECT_EQ(voci[i].numero, int(i) + 1);
        EXPECT_FALSE(indici.contains(voci[i].indice)) << voci[i].campo;
        EXPECT_FALSE(campi.contains(QString::fromLatin1(voci[i].campo).toLower())) << voci[i].campo;
        indici << voci[i].indice;
        campi << QString::fromLatin1(voci[i].campo).toLower();
    }
    EXPECT_EQ(VociDaRegistrare(tutte()).size(), 137);
}

TEST(Catalogo, ConditionalEntriesAreLeftOutWithoutMovingTheOthers)
{
    struct Caso {
        const char *nome;
        bool cognome, livelli, gesTaglie, opposizione, descrizioni;
        int attesi;
        QList<int> assenti;
    };
    const Caso casi[] = {
        {"tutte le colonne e le descrizioni", true, true, true, true, true, 137, {}},
        {"senza colonne facoltative, descrizioni presenti",
         false,
         false,
         true,
         false,
         true,
         133,
         {26, 27, 105, 116}},
        {"senza colonne facoltative ne descrizioni",
         false,
         false,
         true,
         false,
         false,
         127,
         {26, 27, 35, 36, 37, 38, 39, 40, 105, 116}},
        {"livelli XML senza gestione taglie", true, true, false, true, true, 136, {105}},
    };
    for (const Caso &c : casi) {
        Condizioni cond = tutte();
        cond.colonnaCognome = c.cognome;
        cond.colonnaLivelliXml = c.livelli;
        cond.gesTaglie = c.gesTaglie;
        cond.colonnaOpposizione = c.opposizione;
        if (!c.descrizioni)
            for (auto &d : cond.descrizioniPers)
                d = QStringLiteral("  ");
        const QList<int> n = numeri(VociDaRegistrare(cond));
        EXPECT_EQ(n.size(), c.attesi) << c.nome;
        for (int a : c.assenti)
            EXPECT_FALSE(n.contains(a)) << c.nome << " " << a;
        EXPECT_TRUE(std::is_sorted(n.begin(), n.end())) << c.nome;
    }
    Condizioni soloSeconda = tutte();
    soloSeconda.descrizioniPers[1].clear();
    const QList<int> n = numeri(VociDaRegistrare(soloSeconda));
    EXPECT_TRUE(n.contains(35));
    EXPECT_FALSE(n.contains(36));
    EXPECT_TRUE(n.contains(37));
}

TEST(Catalogo, SearchOperatorsAndOptionsAsRegistered)
{
    const QSet<QString> like = {
        "Descrizione",    "RagSoc",          "RagSoc2",         "Indirizzo",   "Localita",  "Comune",
        "PassWordOnLine", "LocalitaNascita", "PersRiferimento", "NoteCF",      "Banca",     "Pagamento",
        "Pagamento2",     "NoteOrdini",      "NoteDdt",         "NoteFattura", "NoteFatAcc"};
    for (const Voce &v : Voci()) {
        const OpzioniCampo o = Opzioni(v, QStringLiteral("x"), QStringLiteral("y"));
        EXPECT_EQ(o.ricerca, like.contains(QString::fromLatin1(v.campo)) ? "like*" : "=") << v.campo;
    }
    const OpzioniCampo tipo = Opzioni(*VoceCampo(QStringLiteral("Tipo")), QStringLiteral("3"), {});
    EXPECT_EQ(tipo.chiave.toInt(), 1);
    EXPECT_EQ(tipo.tipoChiave.toInt(), 2);
    EXPECT_EQ(tipo.predefinito.toString(), "3");
    const OpzioniCampo fido = Opzioni(*VoceCampo(QStringLiteral("Fido")), {}, {});
    EXPECT_EQ(fido.dimensione.typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(fido.dimensione.toDouble(), -14.3);
    EXPECT_EQ(fido.formato.toString(), "#,###.^^^");
    EXPECT_FALSE(fido.predefinito.isValid());
    const OpzioniCampo giorni = Opzioni(*VoceCampo(QStringLiteral("GioMesSucc2")), {}, {});
    EXPECT_EQ(giorni.dimensione.typeId(), QMetaType::Int);
    EXPECT_EQ(giorni.dimensione.toInt(), -4);
    const OpzioniCampo conto = Opzioni(*VoceIndice(4120), {}, {});
    EXPECT_EQ(QString::fromLatin1(VoceIndice(4120)->campo), "|-|GruppoContr|MastroContr|ContoContr");
    EXPECT_FALSE(conto.opzione.isValid());
    EXPECT_FALSE(conto.chiave.isValid());
}

TEST(TabelleSpecchio, CheckBoxStatesFromCodes)
{
    using namespace TabelleSpecchio;
    const Casella &rischio = *CasellaIndice(4150);
    const Casella &black = *CasellaIndice(1115);
    struct Caso {
        const Casella *c;
        const char *codice;
        int stato;
    };
    const Caso casi[] = {{&rischio, "S", Spunta}, {&rischio, "s", Spunta},  {&rischio, "N", Vuota},
                         {&rischio, "", Grigia},  {&rischio, " S", Grigia}, {&rischio, "X", Grigia},
                         {&black, "S", Spunta},   {&black, "N", Vuota},     {&black, "", Vuota},
                         {&black, "X", Vuota}};
    for (const Caso &k : casi)
        EXPECT_EQ(StatoDaCodice(*k.c, QString::fromLatin1(k.codice)), k.stato)
            << k.c->campo << " '" << k.codice << "'";
    EXPECT_EQ(CodiceDaStato(Spunta), "S");
    EXPECT_EQ(CodiceDaStato(Vuota), "N");
    EXPECT_EQ(CodiceDaStato(Grigia), "");
    EXPECT_EQ(Caselle().size(), 13u);
    EXPECT_STREQ(Caselle().back().campo, "CassaPrev");
}

TEST(TabelleSpecchio, OptionsAndCombosFromCodes)
{
    using namespace TabelleSpecchio;
    EXPECT_EQ(OpzioneDaCodice(Gruppo::StatoGiuridico, "g"), 0);
    EXPECT_EQ(OpzioneDaCodice(Gruppo::StatoGiuridico, "F"), 1);
    EXPECT_EQ(OpzioneDaCodice(Gruppo::StatoGiuridico, ""), -1);
    EXPECT_EQ(OpzioneDaCodice(Gruppo::Sesso, "X"), -1);
    EXPECT_EQ(OpzioneDaCodice(Gruppo::AllegaPdf, ""), 0);
    EXPECT_EQ(OpzioneDaCodice(Gruppo::AllegaPdf, "D"), 0);
    EXPECT_EQ(OpzioneDaCodice(Gruppo::AllegaPdf, "S"), 1);
    EXPECT_EQ(OpzioneDaCodice(Gruppo::AllegaPdf, "m"), 2);

    struct Caso {
        int indice;
        const char *codice;
        int posizione;
    };
    const Caso casi[] = {
        {5135, "X", -1}, {5135, "o", 2}, {5192, "", 0},   {5192, "X", 0}, {5192, "L", 3},  {5120, "0", 1},
        {5120, "T", 0},  {5120, "", -1}, {5120, "9", -1}, {4200, "3", 2}, {4200, "O", -1}, {1089, "3", 3},
        {1089, "0", 0},  {1089, "", 0},  {1089, "7", 0},  {4160, "a", 2}, {5100, "P", 3},
    };
    for (const Caso &k : casi)
        EXPECT_EQ(PosizioneDaCodice(*ComboIndice(k.indice), QString::fromLatin1(k.codice)), k.posizione)
            << k.indice << " '" << k.codice << "'";
    EXPECT_EQ(CodiceDaPosizione(*ComboIndice(5192), 0), "");
    EXPECT_EQ(CodiceDaPosizione(*ComboIndice(5192), 4), "F");
    EXPECT_EQ(CodiceDaPosizione(*ComboIndice(5130), -1), "");
    EXPECT_EQ(CodiceDaPosizione(*ComboIndice(1085), 2), "2");
    EXPECT_EQ(CodiceDaPosizione(*ComboIndice(1085), -1), "0");
}

TEST(GeometriaPagine, MarkerStraddlesTheBottomEdgeOfTheTab)
{
    const QRect m = GeometriaPagine::Evidenza(QRect(120, 0, 900, 300));
    EXPECT_EQ(m.top(), 275);
    EXPECT_EQ(m.height(), 50);
    EXPECT_EQ(m.left(), 120);
    EXPECT_EQ(m.width(), 900);
}
