// Pictures of the customer form for the documentation: one PNG per tab page on
// the demo data, written when CLIENTI_SCREENSHOTS names a folder
// (CLIENTI_SCREENSHOTS=docs/screenshots build/tests/test_customer
// --gtest_filter=Schermate.*); skipped otherwise.
#include "BancoClienti.h"

#include "customer/frmClienti.h"

#include <QDir>
#include <QPixmap>

using Schermate = BancoClienti;

TEST_F(Schermate, OnePicturePerPage)
{
    const QString cartella = qEnvironmentVariable("CLIENTI_SCREENSHOTS");
    if (cartella.isEmpty())
        GTEST_SKIP() << "CLIENTI_SCREENSHOTS not set";
    ASSERT_TRUE(QDir().mkpath(cartella));
    Personale(QStringLiteral("Clienti"), QStringLiteral("DescDataPers1"), QStringLiteral("Scadenza contratto"));
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = Clienti(QStringLiteral(
                                      "Exists (Select * From PdcDicIntenti D Where D.Gruppo = P.Gruppo And D.Mastro = "
                                      "P.Mastro And D.Conto = P.Conto)"))
                              .value(0)
                              .split(u'|');
    ASSERT_EQ(k.size(), 3);
    ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
    m_form->resize(1240, 760);
    for (int tab = 1; tab <= 11; ++tab) {
        m_form->SelezionaTab(tab);
        Attendi(10);
        const QString nome = QStringLiteral("%1/clienti-pagina-%2.png").arg(cartella).arg(tab - 1, 2, 10, QLatin1Char('0'));
        EXPECT_TRUE(m_form->grab().save(nome)) << nome.toStdString();
    }
}
