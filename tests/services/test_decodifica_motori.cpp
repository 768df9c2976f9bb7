// Decoding and the lookup's SQL give the same answers on SQLite and PostgreSQL.
#include "tests/services/AziendaServizi.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/RisposteProgrammate.h"
#include "services/Decodifica.h"

#include <QLabel>
#include <QLineEdit>

namespace RP = RisposteProgrammate;

namespace
{

class DecodificaMotori : public AziendaServizi
{
  protected:
    void SetUp() override
    {
        AziendaServizi::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        RP::Azzera();
        Esegui("INSERT INTO Zone (Zona, Descrizione) VALUES ('NE', 'Nord-est')");
        Esegui("INSERT INTO Zone (Zona, Descrizione) VALUES ('S*', 'Zona con asterisco')");
        Esegui("INSERT INTO Agenti (Agente, RagSoc, Provv) VALUES ('A1', 'Ferrari Luca', 4.5)");
        Esegui("INSERT INTO Banche (Banca, Descrizione, Agenzia) VALUES ('B1', 'Banca X', 'Centro')");
        Esegui("INSERT INTO Banche (Banca, Descrizione) VALUES ('B2', 'Banca Y')");
        Esegui("INSERT INTO Articoli (Articolo, Descrizione, Inattivo) VALUES ('VEC', 'Vecchio', 's')");
        Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES "
               "('01', '05', '0001', '3', 'Rossi S.r.l.')");
        Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES "
               "('01', '10', '0001', '1', 'Banca c/c')");
    }
    void TearDown() override
    {
        RP::Azzera();
        AziendaServizi::TearDown();
    }
};

} // namespace

TEST_P(DecodificaMotori, CodiciEColonne)
{
    EXPECT_EQ(DecodificaCodice("Zona", "ne"), "Nord-est");
    EXPECT_EQ(DecodificaCodice("Zona", "XX"), TestoInesistente);
    EXPECT_EQ(DecodificaCodice("Conto", "01-05-0001", "3"), "Rossi S.r.l.");
    EXPECT_EQ(DecodificaCodice("Conto", "01-10-0001", "x1"), TestoInesistente);

    QLineEdit cod("A1");
    QLabel lab;
    QVariant provv = QStringLiteral("Provv");
    EXPECT_TRUE(FiltroDecodifica("Agente", &cod, &lab, &provv).toBool());
    EXPECT_DOUBLE_EQ(provv.toDouble(), 4.5);

    const QString espr = "Descrizione & iif(Agenzia is null,' ', '-' & Agenzia)§: ";
    cod.setText("B1");
    FiltroDecodifica("Banca", &cod, &lab, nullptr, false, false, espr);
    EXPECT_EQ(lab.text(), "Banca X-Centro");
    cod.setText("B2");
    FiltroDecodifica("Banca", &cod, &lab, nullptr, true, false, espr);
    EXPECT_EQ(lab.text(), "Banca Y");

    cod.setText("VEC");
    EXPECT_FALSE(FiltroDecodifica("Articolo", &cod, &lab, nullptr, false, false, {}, nullptr,
                                  " (ucase(Inattivo)<>'S') ")
                     .toBool());
}

TEST_P(DecodificaMotori, RicercaConJollyEChiaviComposte)
{
    AiutoDecod &a = Aiuto();
    const DefRicerca zone = DefinizioneTipo("Zona");
    const QList<ColonnaRicerca> col = a.ColonneFinestra(zone, {});
    auto righe = [&](const QString &testo) {
        return a.Righe(zone, a.SqlRighe(zone, col, testo, AiutoDecod::Cerca::Tutto, false))->numRighe();
    };
    EXPECT_EQ(righe(""), 2);
    EXPECT_EQ(righe("S*"), 1); // the asterisk is a character, not a wildcard
    EXPECT_EQ(righe("est"), 1);
    EXPECT_EQ(righe("%"), 0);
    EXPECT_EQ(righe("_"), 0);

    QLineEdit cod("0001");
    QLabel lab;
    RP::Accoda(RP::Ricerca, 0);
    QVariant rit;
    int tasto = CodiciTasto::F3;
    bool scelto = false;
    ApriHelpRicerca(rit, "Conto", &cod, &lab, tasto, "3", scelto);
    ASSERT_TRUE(scelto);
    EXPECT_EQ(cod.text(), "01050001");
    EXPECT_EQ(lab.text(), "Rossi S.r.l.");
}

INSTANTIATE_TEST_SUITE_P(Motori, DecodificaMotori,
                         ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL), NomeMotore);
