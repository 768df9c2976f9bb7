// The hotel-guest pick list: its SQL and columns, confirming or not, closing
// in every way, an empty and a missing guest table, and no caller.
#include "BancoLista.h"

#include "components/db/RecDat.h"
#include "components/lista/ModelloLista.h"
#include "lists/frmLisAnagHotel.h"

#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

namespace
{

struct Chiamante : ChiamanteLisAnag {
    QPointer<frmLisAnagHotel> lista;
    int richiami = 0;
    bool conferma = false;
    QString rag1;
    void DopoLisAnag() override
    {
        ++richiami;
        conferma = lista->obConferma;
        if (conferma)
            rag1 = lista->ogRecDat()->LeggiCampo(lista->osRecDat, QStringLiteral("Rag1")).toString();
    }
};

class ElencoOspiti : public BancoLista
{
  protected:
    frmLisAnagHotel *Carica(bool atteso = true)
    {
        auto *l = new frmLisAnagHotel;
        m_ospiti.reset(l);
        chiamante.lista = l;
        l->ofrmChiamante = &chiamante;
        EXPECT_EQ(l->Form_Load(), atteso);
        return l;
    }
    Chiamante chiamante;
    std::unique_ptr<frmLisAnagHotel> m_ospiti;
};

} // namespace

TEST_F(ElencoOspiti, ColonneEScelta)
{
    EXPECT_EQ(
        frmLisAnagHotel::SqlOspiti(),
        QStringLiteral("Select RAG1, RAG2, PARTIVA, INDIRIZZO, CAP, LOCALITA, PROVINCIA, PREFISSO, TELEFONO, "
                       "TELEF2, FAX from 0_ClientHotelArdeno order by Rag1"));
    frmLisAnagHotel *l = Carica();
    const int ospiti = Valore(QStringLiteral("Select Count(*) From 0_ClientHotelArdeno")).toInt();
    QTableView *g = l->dbgRiga;
    ASSERT_GT(ospiti, 10);
    ASSERT_EQ(g->model()->rowCount(), ospiti);
    const QStringList titoli = {"Ragione sociale 1", "",    "Partita IVA", "Indirizzo", "CAP",
                                "Località",          "Prov"};
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(g->isColumnHidden(c), c == 1 || c >= 7) << c;
        if (!g->isColumnHidden(c)) {
            EXPECT_EQ(g->model()->headerData(c, Qt::Horizontal).toString(), titoli[c]);
        }
    }
    // No resolution factor: the designer widths.
    EXPECT_EQ(g->columnWidth(0), ModelloLista::Pixel(3000, g));
    EXPECT_EQ(g->columnWidth(3), ModelloLista::Pixel(2400, g));
    l->odRisVidVal = 1.5;
    l->Form_Load();
    EXPECT_EQ(g->columnWidth(0), ModelloLista::Pixel(4500, g));

    g->setCurrentIndex(g->model()->index(3, 0));
    const QString quarto = g->model()->index(3, 0).data().toString();
    l->comOk->click();
    EXPECT_EQ(chiamante.richiami, 1);
    EXPECT_TRUE(chiamante.conferma);
    EXPECT_EQ(chiamante.rag1, quarto);
    // The record set stays on the guest for the caller.
    EXPECT_EQ(l->ogRecDat()->Posizione(l->osRecDat), 3);
}

TEST_F(ElencoOspiti, AnnullaChiusuraEDoppioClic)
{
    frmLisAnagHotel *l = Carica();
    l->ComAnnulla->click();
    EXPECT_EQ(chiamante.richiami, 1);
    EXPECT_FALSE(chiamante.conferma);

    l = Carica();
    l->show();
    l->close();
    EXPECT_EQ(chiamante.richiami, 2);
    EXPECT_FALSE(chiamante.conferma);

    l = Carica();
    QTableView *g = l->dbgRiga;
    const QString primo = g->model()->index(0, 0).data().toString();
    emit g->doubleClicked(g->model()->index(0, 0));
    EXPECT_EQ(chiamante.richiami, 3);
    EXPECT_TRUE(chiamante.conferma);
    EXPECT_EQ(chiamante.rag1, primo);
    // Closing again does not call back twice.
    l->close();
    EXPECT_EQ(chiamante.richiami, 3);
}

TEST_F(ElencoOspiti, TabellaVuotaNonConfermaNulla)
{
    Esegui(QStringLiteral("Delete From 0_ClientHotelArdeno"));
    frmLisAnagHotel *l = Carica();
    EXPECT_EQ(l->dbgRiga->model()->rowCount(), 0);
    l->comOk->click();
    EXPECT_EQ(chiamante.richiami, 1);
    EXPECT_FALSE(chiamante.conferma);
    EXPECT_TRUE(Messaggi().isEmpty());
}

TEST_F(ElencoOspiti, TabellaMancanteUnSoloErroreERichiamo)
{
    Esegui(QStringLiteral("Drop Table 0_ClientHotelArdeno"));
    Carica(false);
    EXPECT_EQ(Messaggi().size(), 1);
    EXPECT_TRUE(Messaggi().value(0).startsWith(QStringLiteral("Errore(")));
    EXPECT_EQ(chiamante.richiami, 1);
    EXPECT_FALSE(chiamante.conferma);
}

TEST_F(ElencoOspiti, SenzaChiamanteSiChiudeSenzaErrori)
{
    auto l = std::make_unique<frmLisAnagHotel>();
    ASSERT_TRUE(l->Form_Load());
    l->comOk->click();
    EXPECT_TRUE(l->Scaricato());
    EXPECT_TRUE(Messaggi().isEmpty());
}
