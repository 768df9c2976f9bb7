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

TEST_F(BancoSceltaStampa, PapersAndTraysByTheNamesOfTheQueue)
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
    FrmSceltaStam &d = apri(false);

    // Names, never CUPS's keywords ("iso_b5_176x250mm", "tray-1").
    const QRegularExpression parolaChiave(QStringLiteral("[a-z]+_[^ ]*_[0-9.]+x[0-9.]+(mm|in)|tray-"));
    for (const QComboBox *lista : {d.cboTipoCarta, d.cboCassetti})
        for (const QString &voce : voci(lista))
            EXPECT_FALSE(parolaChiave.match(voce).hasMatch()) << voce.toStdString();
    const QStringList carte = voci(d.cboTipoCarta);
    EXPECT_TRUE(carte.filter(QRegularExpression(QStringLiteral("^\\d+ - Envelope B5$"))).size() == 1)
        << carte.join('|').toStdString();
    EXPECT_TRUE(carte.contains(QStringLiteral("11 - A5")));
    // The queue's Italian names where its description has them.
    const QStringList cassetti = voci(d.cboCassetti);
    EXPECT_TRUE(cassetti.contains(QStringLiteral("   257 - Vassoio 1"))) << cassetti.join('|').toStdString();
    EXPECT_TRUE(cassetti.contains(QStringLiteral("     4 - Alimentazione manuale")));

    // The job still asks for the paper and tray by their keywords.
    CatalogoCups cups;
    QStringList chiavi;
    for (const VoceCarta &c : cups.Carte(server->codaGrezza))
        if (c.numero == 11)
            chiavi << c.chiave;
    for (const VoceCarta &c : cups.Cassetti(server->codaGrezza))
        if (c.numero == 257)
            chiavi << c.chiave;
    EXPECT_EQ(chiavi, (QStringList{QStringLiteral("iso_a5_148x210mm"), QStringLiteral("tray-1")}));
}
