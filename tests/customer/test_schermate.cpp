// Pictures of the customer form for the documentation and for a look at the
// layout on a 1280 x 800 screen: one PNG per tab page on the demo data, the
// accounting page with fields in error, the lookup window and a message box,
// written when CLIENTI_SCREENSHOTS names a folder
// (CLIENTI_SCREENSHOTS=docs/screenshots build/tests/test_customer
// --gtest_filter=Schermate.*); skipped otherwise.
#include "BancoClienti.h"

#include "components/aiuto/frmRicerca.h"
#include "customer/frmClienti.h"
#include "services/Decodifica.h"
#include "services/frmMsgCom.h"

#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QPixmap>

using Schermate = BancoClienti;

TEST_F(Schermate, OnePicturePerPage)
{
    const QString cartella = qEnvironmentVariable("CLIENTI_SCREENSHOTS");
    if (cartella.isEmpty())
        GTEST_SKIP() << "CLIENTI_SCREENSHOTS not set";
    ASSERT_TRUE(QDir().mkpath(cartella));
    Personale(QStringLiteral("Clienti"), QStringLiteral("DescDataPers1"),
              QStringLiteral("Scadenza contratto"));
    ASSERT_NE(Apri(), nullptr);
    const QStringList k =
        Clienti(
            QStringLiteral("Exists (Select * From PdcDicIntenti D Where D.Gruppo = P.Gruppo And D.Mastro = "
                           "P.Mastro And D.Conto = P.Conto)"))
            .value(0)
            .split(u'|');
    ASSERT_EQ(k.size(), 3);
    ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
    m_form->resize(1240, 760);
    for (int tab = 1; tab <= 11; ++tab) {
        m_form->SelezionaTab(tab);
        Attendi(10);
        const QString nome =
            QStringLiteral("%1/clienti-pagina-%2.png").arg(cartella).arg(tab - 1, 2, 10, QLatin1Char('0'));
        EXPECT_TRUE(m_form->grab().save(nome)) << nome.toStdString();
    }
}

TEST_F(Schermate, ErrorsLookupAndMessage)
{
    const QString cartella = qEnvironmentVariable("CLIENTI_SCREENSHOTS");
    if (cartella.isEmpty())
        GTEST_SKIP() << "CLIENTI_SCREENSHOTS not set";
    ASSERT_TRUE(QDir().mkpath(cartella));
    ASSERT_NE(Apri(), nullptr);
    const QStringList k = Clienti(QStringLiteral("P.Banca Is Not Null")).value(0).split(u'|');
    ASSERT_EQ(k.size(), 3);
    ASSERT_TRUE(Leggi(k[0], k[1], k[2]));
    m_form->resize(1240, 760);
    m_form->SelezionaTab(4);
    Attendi(10);
    for (auto [i, testo] : {std::pair{4040, "13"}, {4050, "32"}, {4120, "04-01-0001"}}) {
        m_form->txt(i)->setText(QString::fromLatin1(testo));
        m_form->txt_LostFocus(i);
    }
    EXPECT_TRUE(m_form->grab().save(cartella + QStringLiteral("/clienti-errori.png")));

    frmRicerca ricerca(Aiuto(), DefinizioneTipo(QStringLiteral("Comuni")),
                       Aiuto().ColonneFinestra(DefinizioneTipo(QStringLiteral("Comuni")), {}), m_form);
    ricerca.Imposta(QStringLiteral("San Giovanni"), AiutoDecod::Cerca::Tutto, true, QString(), false);
    ricerca.show();
    Attendi(10);
    EXPECT_TRUE(ricerca.grab().save(cartella + QStringLiteral("/ricerca-comuni.png")));
    ricerca.hide();

    frmMsgCom::Richiesta r;
    r.testo =
        QStringLiteral("Impossibile aprire la mappa: nessun browser disponibile per "
                       "https://maps.google.com/maps?q=Via+Giuseppe+Garibaldi+123,+20121+Milano+MI,+Italia+"
                       "Via+Giuseppe+Garibaldi+123,+20121+Milano+MI,+Italia+Via+Giuseppe+Garibaldi+123");
    r.pulsanti = QStringList{QStringLiteral("&Ok")};
    frmMsgCom &msg = frmMsgCom::Istanza();
    msg.Prepara(r);
    msg.layout()->activate();
    EXPECT_TRUE(msg.grab().save(cartella + QStringLiteral("/messaggio.png")));
}
