// Pictures of the print-choice dialog for the documentation: one PNG per
// output kind, one of the saved-options panel and one of the PDF and e-mail panel, over the fake catalogue,
// written when CLIENTI_SCREENSHOTS names a folder
// (CLIENTI_SCREENSHOTS=docs/screenshots build/tests/test_printing
// --gtest_filter=*Schermate*); skipped otherwise.
#include "BancoSceltaStampa.h"

#include <QDir>
#include <QPixmap>

TEST_F(BancoSceltaStampa, SchermateSceltaStampa)
{
    const QString cartella = qEnvironmentVariable("CLIENTI_SCREENSHOTS");
    if (cartella.isEmpty())
        GTEST_SKIP() << "CLIENTI_SCREENSHOTS not set";
    ASSERT_TRUE(QDir().mkpath(cartella));
    FrmSceltaStam::ImpostaDialogoScala([](QWidget *, int &, int &) { return false; });
    opz.FileName(QStringLiteral("/home/ufficio/stampe/clienti.xlsx"));
    opz.FileForm(OpzStampa::FormatoExcel);
    opz.FisFileName(QStringLiteral("socket://10.0.0.5:9100"));
    opz.FisStampante(-1);
    opz.ImpostaParStampa(QStringLiteral("NumCassetto"), 15);
    opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 9);
    FrmSceltaStam &d = apri(false);
    mostra();
    const char *const nomi[] = {"stampante", "video", "file", "fissa"};
    for (int i = 0; i < 4; ++i) {
        d.OptStampaSu(i)->click();
        if (i == 0)
            d.GriPri->selectRow(0);
        QApplication::processEvents();
        const QString nome =
            QStringLiteral("%1/scelta-stampa-%2.png").arg(cartella, QString::fromLatin1(nomi[i]));
        EXPECT_TRUE(d.grab().save(nome)) << nome.toStdString();
    }
    d.OptStampaSu(0)->click();
    d.ComSalOpz->click();
    QApplication::processEvents();
    EXPECT_TRUE(d.grab().save(cartella + QStringLiteral("/scelta-stampa-opzioni.png")));

    // The PDF and e-mail panel with a configured sender.
    const std::pair<const char *, QVariant> par[] = {
        {"UsaPdfCreator", QStringLiteral("S")},
        {"PdfNomeFile", QStringLiteral("/home/ufficio/pdf/")},
        {"EmailTo1", QStringLiteral("amministrazione@cliente.it")},
        {"EmailToNum", 1},
        {"EmailTipoNum", 1},
        {"EmailTipoInvio1", QStringLiteral("S")},
        {"EmailInd1", QStringLiteral("vendite@ditta.it")},
        {"EmailCentro1", QStringLiteral("Ufficio vendite")},
        {"EmailServerSMTP1", QStringLiteral("smtp.ditta.it")},
        {"EmailNumPorta1", 587},
        {"EmailLogin1", QStringLiteral("vendite")},
        {"EmailPwd1", QStringLiteral("segreta")},
        {"EmailNumTesto1", 1},
        {"EmailPersOggetto1", QStringLiteral("Ditta Srl")},
        {"EmailFileLog", QStringLiteral("/home/ufficio/email.log")},
        {"StampeEmail", QStringLiteral("S")}};
    for (const auto &[k, v] : par)
        host->ScriviPar(QString::fromLatin1(k), v);
    d.ComAnnulla->click();
    d.ComParIniPE->click();
    d.resize(d.width(), 960);
    QApplication::processEvents();
    EXPECT_TRUE(d.grab().save(cartella + QStringLiteral("/scelta-stampa-pdf-email.png")));
}
