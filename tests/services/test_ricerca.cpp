// The lookup opened from a code field, in both argument orders.
#include "AziendaDemo.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/RisposteProgrammate.h"
#include "services/Decodifica.h"

#include <QLabel>
#include <QLineEdit>

namespace RP = RisposteProgrammate;

namespace
{

class Ricerca : public AziendaDemo
{
  protected:
    void SetUp() override
    {
        AziendaDemo::SetUp();
        RP::Azzera();
    }
    void TearDown() override
    {
        RP::Azzera();
        AziendaDemo::TearDown();
    }
};

} // namespace

TEST_F(Ricerca, SceltaScriveCodiceEDescrizione)
{
    QLineEdit cod("nord");
    QLabel lab("prima");
    RP::Accoda(RP::Ricerca, QString("NO"));
    QVariant rit;
    int tasto = CodiciTasto::F2;
    bool scelto = false;
    ApriHelpRicerca(rit, "Zona", &cod, &lab, tasto, {}, scelto, "", true, "");
    EXPECT_TRUE(scelto);
    EXPECT_TRUE(rit.toBool());
    EXPECT_EQ(cod.text(), "NO");
    EXPECT_EQ(lab.text(), "Nord-ovest");
    // The window was asked for the text typed.
    EXPECT_EQ(RP::UltimoMostrato(RP::Ricerca).value("testo").toString(), "nord");
}

TEST_F(Ricerca, AnnullareNonToccaNulla)
{
    QLineEdit cod("NE");
    QLabel lab("Nord-est");
    RP::Accoda(RP::Ricerca, QVariant());
    QVariant rit;
    int tasto = CodiciTasto::F2;
    bool scelto = true;
    ApriHelpRicerca(rit, "Zona", &cod, &lab, tasto, {}, scelto);
    EXPECT_FALSE(scelto);
    EXPECT_EQ(cod.text(), "NE");
    EXPECT_EQ(lab.text(), "Nord-est");
}

TEST_F(Ricerca, MastroConGruppoECondizione)
{
    QLineEdit gruppo(""), mastro("");
    QLabel lab;
    // Ledgers of type 3 only: the two customer ledgers of group 01.
    RP::Accoda(RP::Ricerca, 1);
    QVariant rit;
    int tasto = CodiciTasto::F2;
    bool scelto = false;
    ApriHelpRicerca(rit, "Mastro", &mastro, &lab, tasto, QVariant::fromValue<QObject *>(&gruppo), scelto, "",
                    false, " tipo = '3'");
    ASSERT_TRUE(scelto);
    EXPECT_EQ(mastro.text(), "06");
    EXPECT_EQ(Aiuto().NuovaRicerca().RetVal("Gruppo").toString(), "01");
}

TEST_F(Ricerca, ComuniF3DecodificaSenzaFinestra)
{
    RP::ImpostaSenzaModali(true);
    QLineEdit comune("ABANO TERME");
    QLabel lab;
    QVariant rit;
    int tasto = CodiciTasto::F3;
    bool scelto = false;
    ApriHelpRicerca(rit, "ComuniCod", &comune, &lab, tasto, {}, scelto, "", false, "SiglaProv='PD'");
    ASSERT_TRUE(scelto);
    EXPECT_EQ(lab.text(), "Abano Terme");
    EXPECT_EQ(Aiuto().NuovaRicerca().RetVal("CodErariale").toString(), "A001");
    EXPECT_EQ(Aiuto().NuovaRicerca().RetVal("CAP").toString(), "35031");
    EXPECT_TRUE(RP::Mostrati(RP::Ricerca).isEmpty());
    // In another province it is not found, the window answers nothing, and the
    // label no longer shows the town of before.
    ApriHelpRicerca(rit, "ComuniCod", &comune, &lab, tasto, {}, scelto, "", false, "SiglaProv='MI'");
    EXPECT_FALSE(scelto);
    EXPECT_EQ(lab.text(), "");
}

TEST_F(Ricerca, FirmaDelleStampe)
{
    QLineEdit email;
    QLabel lab;
    Aiuto().ParColonne().ovLeggiPar("NomeCol1", "Email");
    Aiuto().ParColonne().ovLeggiPar("DescCol1", "Principale");
    RP::Accoda(RP::Ricerca, QVariantMap{{"riga", 0}, {"colonna", "Email"}});
    int tasto = CodiciTasto::F2, scelta = 0, numero = 0;
    ApriHelpRicerca("Conto", &email, &lab, tasto, "x1", scelta, "§pri§,Email,Email2,Email3,Email4,§dop§",
                    numero, "");
    EXPECT_EQ(scelta, -1);
    const QVariantMap m = RP::UltimoMostrato(RP::Ricerca);
    EXPECT_TRUE(m.value("colonne").toStringList().contains("Email4"));
    EXPECT_EQ(Aiuto().NuovaRicerca().ovLeggiPar("RetField").toString(), "Email");
    EXPECT_EQ(Aiuto().NuovaRicerca().ovLeggiPar("Text").toString(),
              Aiuto().NuovaRicerca().RetVal("Email").toString());
    // No general account (type 1) was offered.
    EXPECT_NE(Aiuto().NuovaRicerca().RetVal("Tipo").toString(), "1");
}

TEST_F(Ricerca, SoloTastiDiRicerca)
{
    RP::ImpostaSenzaModali(true);
    QLineEdit cod("NE");
    QLabel lab;
    for (int t : {0, 27, CodiciTasto::F1, 200}) {
        int tasto = t, scelta = 0, numero = 0;
        ApriHelpRicerca("Zona", &cod, &lab, tasto, {}, scelta, "", numero, "");
        EXPECT_EQ(scelta, 0);
    }
    EXPECT_TRUE(RP::Mostrati(RP::Ricerca).isEmpty());
}

TEST_F(Ricerca, TipoSconosciutoMostraErrore)
{
    RP::ImpostaSenzaModali(true);
    QLineEdit cod("X");
    QVariant rit;
    int tasto = CodiciTasto::F2;
    bool scelto = false;
    ApriHelpRicerca(rit, "Pianeta", &cod, nullptr, tasto, {}, scelto);
    EXPECT_FALSE(scelto);
    EXPECT_EQ(RP::Mostrati(RP::MsgCom).size(), 1);
}
