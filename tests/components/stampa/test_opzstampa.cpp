// Print options: keyed values, their truth and numbers, and saved options
// read back from the INI files with their precedence and text forms.
#include "components/stampa/OpzStampa.h"
#include "components/stampa/OpzStampaIni.h"
#include "components/util/Currency.h"
#include "components/util/ProfiloIni.h"
#include "support/StampaQt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(OpzStampa, KeyedValuesIgnoreCaseAndReadAsVbWould)
{
    OpzStampa o;
    EXPECT_FALSE(o.ParStampa(QStringLiteral("PaginaDa")).isValid()) << "never set: Empty";
    EXPECT_EQ(o.ParStampa(QStringLiteral("StampanteDefOri"), OpzStampa::TipoTesto).toString(), QString());
    o.ImpostaParStampa(QStringLiteral("PaginaDa"), 5);
    EXPECT_EQ(o.ParIntero(QStringLiteral("paginada")), 5);
    o.ImpostaParStampa(QStringLiteral("StampanteDefOri"), 7, OpzStampa::TipoTesto);
    EXPECT_EQ(o.ParStampa(QStringLiteral("STAMPANTEDEFORI")).typeId(), QMetaType::QString);

    struct Caso {
        QVariant valore;
        bool vero;
        int intero;
    } const casi[] = {{QVariant(), false, 0},
                      {true, true, 1},
                      {-1, true, -1},
                      {0, false, 0},
                      {QStringLiteral("S"), true, 0},
                      {QStringLiteral("N"), false, 0},
                      {QStringLiteral("12"), true, 12},
                      {QStringLiteral(" 3,0 "), true, 3},
                      {QStringLiteral("abc"), false, 0},
                      {Currency(2).toVariant(), true, 2}};
    for (const Caso &c : casi) {
        o.ImpostaParStampa(QStringLiteral("X"), c.valore);
        EXPECT_EQ(o.ParVero(QStringLiteral("x")), c.vero) << c.valore.toString().toStdString();
        EXPECT_EQ(o.ParIntero(QStringLiteral("x")), c.intero) << c.valore.toString().toStdString();
    }

    o.FileForm(OpzStampa::FormatoCompatibileExcel);
    o.SepCampi(QStringLiteral("\t"));
    o.DelimStr(QString());
    o.FileFormFisso();
    EXPECT_EQ(o.SepCampi(), QStringLiteral(";"));
    EXPECT_EQ(o.DelimStr(), QStringLiteral("\""));
    o.FileForm(OpzStampa::FormatoTesto);
    o.SepCampi(QStringLiteral("\t"));
    o.FileFormFisso();
    EXPECT_EQ(o.SepCampi(), QStringLiteral("\t")) << "a text file keeps the user's separator";
    EXPECT_FALSE(o.StaVidEscluso(7));
    o.StaVidEscluso(3, true);
    EXPECT_TRUE(o.StaVidEscluso(3));
}

TEST(OpzStampaIni, SavedOptionsComeBackWithTheirPrecedence)
{
    QTemporaryDir dir;
    const QString terminale = dir.filePath(QStringLiteral("terminale.ini"));
    const QString comune = dir.filePath(QStringLiteral("comune.ini"));
    const QString sezione = QStringLiteral("StampaClienti");
    const QString generale = QStringLiteral("Opzioni Stampa");
    auto scrivi = [](const QString &f, const QString &s, const char *k, const char *v) {
        ASSERT_TRUE(ProfiloIni::Scrivi(f, s, QString::fromUtf8(k), QString::fromUtf8(v)));
    };
    // Each key in the place that must win, and a losing value elsewhere.
    scrivi(comune, generale, "StaVid", "3");
    scrivi(terminale, generale, "StaVid", "2");
    scrivi(comune, sezione, "StaVid", "0");
    scrivi(comune, generale, "FileName", "comune.csv");
    scrivi(terminale, generale, "FileName", "terminale.csv");
    scrivi(terminale, sezione, "SepCampi", "9");
    scrivi(comune, sezione, "SepCampi", "59");
    scrivi(terminale, generale, "DelimStr", "-1");
    scrivi(terminale, sezione, "Fatt", "0,8");
    scrivi(terminale, sezione, "NumNoForm", "-1");
    scrivi(terminale, sezione, "FisRighe", "72");
    scrivi(terminale, sezione, "FisCodIniComp", "27,15");
    scrivi(terminale, sezione, "FisStampante", "-1");
    scrivi(terminale, sezione, "NomeStampante", "Laser S%§");
    scrivi(terminale, sezione, "Cassetto", "257");
    scrivi(terminale, sezione, "TipoCarta", "11");
    scrivi(terminale, sezione, "PdfNomeAutom", "S");
    scrivi(terminale, sezione, "InviaEmail", "N");
    scrivi(terminale, sezione, "FileForm", "9");

    OpzStampa o(sezione);
    FontiOpzioni f{terminale, comune, 0.5, [](const QString &n) { return QString(n).replace("%§", "4"); }};
    CaricaOpzioniSalvate(o, f);
    EXPECT_EQ(o.oiStaVid(), 0) << "the print's section in the common file beats the general section";
    EXPECT_EQ(o.FileName(), QStringLiteral("terminale.csv"));
    EXPECT_EQ(o.SepCampi(), QStringLiteral("\t"));
    EXPECT_EQ(o.DelimStr(), QString());
    EXPECT_FLOAT_EQ(o.Fatt(), 0.4f) << "0,8 at display factor 0.5";
    EXPECT_EQ(o.NumNoForm(), -1);
    EXPECT_EQ(o.FisRighe(), 72);
    EXPECT_EQ(o.FisCodIniComp(), QStringLiteral("27,15"));
    EXPECT_EQ(o.FisStampante(), -1);
    EXPECT_EQ(o.osNomeStampante(), QStringLiteral("Laser S4"));
    EXPECT_EQ(o.ParIntero(QStringLiteral("NumCassetto")), 257);
    EXPECT_EQ(o.ParIntero(QStringLiteral("NumTipoCarta")), 11);
    EXPECT_TRUE(o.ParVero(QStringLiteral("PdfAutomAbil")));
    EXPECT_FALSE(o.ParVero(QStringLiteral("EmailInvia")));
    EXPECT_EQ(o.FileForm(), OpzStampa::FormatoCompatibileExcel) << "an unknown format is ignored";
    EXPECT_EQ(o.FisColonne(), 80) << "keys saved nowhere keep their value";

    // A point as decimal separator reads the same; no display factor keeps it.
    scrivi(terminale, sezione, "Fatt", "0.75");
    OpzStampa p(sezione);
    CaricaOpzioniSalvate(p, {terminale, QString(), 0, {}});
    EXPECT_FLOAT_EQ(p.Fatt(), 0.75f);
    EXPECT_EQ(p.osNomeStampante(), QStringLiteral("Laser S%§"));
}
