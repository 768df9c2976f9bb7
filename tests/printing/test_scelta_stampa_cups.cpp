// The print-choice dialog on the test CUPS server: the queues in the printer
// grid and among the fixed-length destinations, the laser's trays and papers
// as CUPS reports them, and a stored tray the queue lacks.
#include "BancoSceltaStampa.h"

#include "components/stampa/CatalogoCups.h"
#include "support/ServerCups.h"

#include <QRegularExpression>

TEST_F(BancoSceltaStampa, QueuesTraysAndPapersFromCups)
{
    QString motivo;
    ServerCups *server = ServerCups::Istanza(&motivo);
    if (!server) {
        if (CupsObbligatorio())
            FAIL() << motivo.toStdString();
        GTEST_SKIP() << motivo.toStdString();
    }
    server->Attiva();
    ImpostaCatalogo(std::make_unique<CatalogoCups>());

    opz.oiStaVid(OpzStampa::UscitaStampante);
    opz.osNomeStampante(server->codaGrezza);
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 257);
    opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 11);
    FrmSceltaStam &d = apri(false);
    QStringList nomi;
    for (int r = 0; r < d.GriPri->rowCount(); ++r)
        nomi << d.GriPri->item(r, 1)->text();
    EXPECT_TRUE(nomi.contains(server->codaGrezza));
    EXPECT_TRUE(nomi.contains(server->codaPdf));
    EXPECT_EQ(d.labTotStamp->text(), QString::number(nomi.size()));
    bool portaLaser = false;
    for (int r = 0; r < d.GriPorte->rowCount(); ++r)
        portaLaser |= d.GriPorte->item(r, 1)->text() == server->codaGrezza &&
                      d.GriPorte->item(r, 2)->text().startsWith(QStringLiteral("socket://127.0.0.1:"));
    EXPECT_TRUE(portaLaser);

    // The laser's seven trays after the first entry, the stored one selected.
    const QStringList cassetti = voci(d.cboCassetti);
    EXPECT_EQ(cassetti.size(), 8);
    EXPECT_EQ(cassetti.filter(QRegularExpression(QStringLiteral("^     4 - \\S"))).size(), 1)
        << "manual feed";
    EXPECT_TRUE(d.cboCassetti->currentText().startsWith(QStringLiteral("   257 - ")));
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 257);
    EXPECT_TRUE(voci(d.cboTipoCarta).contains(QStringLiteral("9 - A4 (ATTUALE)")));
    EXPECT_EQ(d.cboTipoCarta->currentText(), QStringLiteral("11 - A5"));

    // The PDF queue has no such tray: back to the printer's own.
    mostra();
    ASSERT_TRUE(clicRiga(d.GriPri, server->codaPdf));
    EXPECT_EQ(opz.osNomeStampante(), server->codaPdf);
    EXPECT_EQ(opz.ParIntero(QStringLiteral("NumCassetto")), 0);
    EXPECT_EQ(d.cboCassetti->currentIndex(), 0);
}
