// Print options: keyed values, their truth and numbers, and saved options
// read back from the INI files with their precedence and text forms.
#include "components/stampa/OpzStampa.h"
#include "components/stampa/OpzStampaIni.h"
#include "components/util/Currency.h"
#include "components/util/ProfiloIni.h"
#include "support/StampaQt.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
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

// Numbers of the INI files (the common one is written by every terminal)
// are held to the range their control allows, and the keys beyond it are
// named once in the message.
TEST(OpzStampaIni, NumbersBeyondTheirRangeAreHeldAndNamedOnce)
{
    QTemporaryDir dir;
    const QString terminale = dir.filePath(QStringLiteral("terminale.ini"));
    const QString comune = dir.filePath(QStringLiteral("comune.ini"));
    const QString sezione = QStringLiteral("Opzioni Stampa");
    struct Caso {
        const char *chiave, *valore;
        std::function<double(const OpzStampa &)> letto;
        double atteso;     // what the option holds after the load
        const char *detto; // how the message names it, with Italian numbers; nullptr: not named
    } const casi[] = {
        {"FisRighe", "5000", [](const OpzStampa &o) { return o.FisRighe(); }, 255,
         "FisRighe=5000, ammessi da 0 a 255"},
        {"FisMrAlt", "300000000", [](const OpzStampa &o) { return o.FisMrAlt(); }, 254,
         "FisMrAlt=300000000, ammessi da 0 a 254"},
        {"FisMrBas", "-3", [](const OpzStampa &o) { return o.FisMrBas(); }, 0,
         "FisMrBas=-3, ammessi da 0 a 254"},
        {"FisColonne", "99999999999999999999999", [](const OpzStampa &o) { return o.FisColonne(); }, 999,
         "FisColonne=99999999999999999999, ammessi da 0 a 999"},
        {"MemVid", "70000", [](const OpzStampa &o) { return o.MemVid(); }, 32767,
         "MemVid=70000, ammessi da -32.768 a 32.767"},
        {"Cassetto", "-99999", [](const OpzStampa &o) { return o.ParIntero("NumCassetto"); }, -32768,
         "Cassetto=-99999, ammessi da -32.768 a 32.767"},
        {"Fatt", "1e30", [](const OpzStampa &o) { return o.Fatt(); }, 1.8f,
         "Fatt=1e30, ammessi da 0,5 a 1,8"},
        {"StaVid", "7", [](const OpzStampa &o) { return o.oiStaVid(); }, OpzStampa::UscitaVideo,
         "StaVid=7, ammessi da 0 a 3"},
        {"ForzaVert", "dieci", [](const OpzStampa &o) { return o.ForzaVert(); }, 0,
         "ForzaVert=dieci, ammessi da -32.768 a 32.767"},
        {"TipoCarta", "258", [](const OpzStampa &o) { return o.ParIntero("NumTipoCarta"); }, 258, nullptr},
        {"FileForm", "", [](const OpzStampa &o) { return o.FileForm(); }, 0, nullptr},
        {"SepCampi", "0", [](const OpzStampa &o) { return o.SepCampi().size(); }, 1,
         "SepCampi=0, ammessi i codici dei caratteri da 1 a 65.535 o -1 (nessuno)"},
        {"DelimStr", "65536", [](const OpzStampa &o) { return o.DelimStr().size(); }, 1,
         "DelimStr=65536, ammessi i codici dei caratteri da 1 a 65.535 o -1 (nessuno)"},
    };
    for (const Caso &c : casi)
        ASSERT_TRUE(
            ProfiloIni::Scrivi(comune, sezione, QString::fromUtf8(c.chiave), QString::fromUtf8(c.valore)));
    // The same key in the terminal's file loses to nothing and is named once.
    ASSERT_TRUE(ProfiloIni::Scrivi(terminale, sezione, QStringLiteral("FisRighe"), QStringLiteral("5000")));

    OpzStampa o;
    const QString messaggio = CaricaOpzioniSalvate(o, {terminale, comune, 0, {}});
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.chiave);
        EXPECT_FLOAT_EQ(float(c.letto(o)), float(c.atteso));
        EXPECT_EQ(messaggio.count(QString::fromUtf8(c.chiave) + QLatin1Char('=')), c.detto ? 1 : 0)
            << messaggio.toStdString();
        if (c.detto) {
            EXPECT_TRUE(messaggio.contains(QString::fromUtf8(c.detto))) << messaggio.toStdString();
        }
    }
    EXPECT_FALSE(messaggio.contains(QStringLiteral("2.147.483"))) << messaggio.toStdString();
    OpzStampa q;
    ASSERT_TRUE(
        ProfiloIni::Scrivi(comune, sezione, QStringLiteral("FileForm"), QStringLiteral("9999999999")));
    EXPECT_TRUE(CaricaOpzioniSalvate(q, {{}, comune, 0, {}})
                    .contains(QStringLiteral("FileForm=9999999999, ammessi da 0 a 2")));
    EXPECT_EQ(q.FileForm(), 0);

    OpzStampa p;
    EXPECT_EQ(CaricaOpzioniSalvate(p, {dir.filePath(QStringLiteral("nessuno.ini")), {}, 0, {}}), QString());
}

// A separator or qualifier saved as a text that is no character code (by
// hand, or by another program) is named as the other keys are and left
// out, the option keeping its value: not its first character, nor half of
// one.
TEST(OpzStampaIni, CharactersSavedAsNoCodeAreNamedAndTheDefaultTaken)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("terminale.ini"));
    const QString sezione = QStringLiteral("Opzioni Stampa");
    for (const char *chiave : {"SepCampi", "DelimStr"})
        for (const char *valore : {"abc", "1,5", "\xF0\x9F\x98\x80"}) {
            SCOPED_TRACE(std::string(chiave) + "=" + valore);
            QFile::remove(ini);
            ASSERT_TRUE(
                ProfiloIni::Scrivi(ini, sezione, QString::fromUtf8(chiave), QString::fromUtf8(valore)));
            OpzStampa o;
            o.SepCampi(QStringLiteral(","));
            o.DelimStr(QStringLiteral("'"));
            const QString messaggio = CaricaOpzioniSalvate(o, {ini, {}, 0, {}});
            EXPECT_TRUE(messaggio.contains(
                QStringLiteral("(%1=%2, ammessi i codici dei caratteri da 1 a 65.535 o -1 (nessuno))")
                    .arg(QString::fromUtf8(chiave), QString::fromUtf8(valore))))
                << messaggio.toStdString();
            EXPECT_FALSE(messaggio.contains(QStringLiteral(" e DelimStr="))) << messaggio.toStdString();
            if (qstrcmp(chiave, "SepCampi") == 0)
                EXPECT_EQ(o.SepCampi(), QStringLiteral(","));
            else
                EXPECT_EQ(o.DelimStr(), QStringLiteral("'"));
        }
}
