// INI files with Windows semantics: reads, writes that keep the file's shape,
// deletions, listings and the Windows-1252 fallback.
#include "components/util/ProfiloIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace
{
class ProfiloIniTest : public ::testing::Test
{
  protected:
    QString scrivi(const QByteArray &dati)
    {
        QFile f(percorso());
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dati);
        return percorso();
    }
    QByteArray leggi()
    {
        QFile f(percorso());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    QString percorso() const { return m_dir.filePath("morvane.ini"); }

    QTemporaryDir m_dir;
};

const QByteArray Esempio = "; program settings\n"
                           "[Connessioni]\n"
                           "NomeDB = C:\\Dati\\ditta.mdb \n"
                           "Connect=\"ODBC;DSN=Ditta\"\n"
                           "Owner=dbo\n"
                           "\n"
                           "; printing\n"
                           "[Opzioni Stampa]\n"
                           "Font=Arial\n"
                           "[connessioni]\n"
                           "NomeDB=second section, never read\n"
                           "Extra=from the duplicate\n";
} // namespace

TEST_F(ProfiloIniTest, ReadsWithoutRegardToCaseFirstMatchWins)
{
    ProfiloIni ini(scrivi(Esempio));
    EXPECT_EQ(ini.LeggiStringa("CONNESSIONI", "nomedb"), "C:\\Dati\\ditta.mdb");
    EXPECT_EQ(ini.LeggiStringa("Connessioni", "Connect"), "ODBC;DSN=Ditta");
    EXPECT_EQ(ini.LeggiStringa("Connessioni", "Extra", "def"), "def");
    EXPECT_EQ(ini.LeggiStringa("opzioni stampa", "FONT"), "Arial");
    EXPECT_EQ(ini.LeggiStringa("Connessioni", "Missing", "def"), "def");
    EXPECT_EQ(ini.LeggiStringa("Missing", "NomeDB", "def"), "def");
    EXPECT_EQ(ProfiloIni(m_dir.filePath("none.ini")).LeggiStringa("A", "B", "def"), "def");
    EXPECT_FALSE(ini.EsisteChiave("Connessioni", "; program settings"));
    EXPECT_EQ(ini.Sezioni(), QStringList({"Connessioni", "Opzioni Stampa"}));
    EXPECT_EQ(ini.Chiavi("connessioni"), QStringList({"NomeDB", "Connect", "Owner"}));
}

TEST_F(ProfiloIniTest, IntegersAsGetPrivateProfileInt)
{
    ProfiloIni ini(scrivi("[P]\nA=12\nB= 7abc\nC=abc\nD=-5\nE=\n"));
    EXPECT_EQ(ini.LeggiIntero("p", "a", 3), 12);
    EXPECT_EQ(ini.LeggiIntero("P", "B", 3), 7);
    EXPECT_EQ(ini.LeggiIntero("P", "C", 3), 0);
    EXPECT_EQ(ini.LeggiIntero("P", "D", 3), 0);
    EXPECT_EQ(ini.LeggiIntero("P", "E", 3), 0);
    EXPECT_EQ(ini.LeggiIntero("P", "Missing", 3), 3);
}

TEST_F(ProfiloIniTest, WritesKeepCommentsOrderAndOtherSections)
{
    ProfiloIni ini(scrivi(Esempio));
    ASSERT_TRUE(ini.ScriviStringa("CONNESSIONI", "owner", "sa"));
    ASSERT_TRUE(ini.ScriviStringa("Connessioni", "Exec_option", "64"));
    ASSERT_TRUE(ini.ScriviStringa("Nuova", "Chiave", "Valore"));
    EXPECT_EQ(leggi(), QByteArray("; program settings\n"
                                  "[Connessioni]\n"
                                  "NomeDB = C:\\Dati\\ditta.mdb \n"
                                  "Connect=\"ODBC;DSN=Ditta\"\n"
                                  "Owner=sa\n"
                                  "Exec_option=64\n"
                                  "\n"
                                  "; printing\n"
                                  "[Opzioni Stampa]\n"
                                  "Font=Arial\n"
                                  "[connessioni]\n"
                                  "NomeDB=second section, never read\n"
                                  "Extra=from the duplicate\n"
                                  "\n"
                                  "[Nuova]\n"
                                  "Chiave=Valore\n"));
}

TEST_F(ProfiloIniTest, WritesCreateTheFileAndKeepCrLf)
{
    ProfiloIni nuovo(percorso());
    ASSERT_TRUE(nuovo.ScriviStringa("Base", "DirImmagini", "/srv/img"));
    EXPECT_EQ(leggi(), QByteArray("[Base]\nDirImmagini=/srv/img\n"));

    ProfiloIni ini(scrivi("[A]\r\nx=1\r\n"));
    ASSERT_TRUE(ini.ScriviStringa("A", "y", "2"));
    EXPECT_EQ(leggi(), QByteArray("[A]\r\nx=1\r\ny=2\r\n"));
}

TEST_F(ProfiloIniTest, ValuesCannotInjectLinesAndBadNamesAreRefused)
{
    ProfiloIni ini(scrivi("[A]\nx=1\n"));
    ASSERT_TRUE(ini.ScriviStringa("A", "x", "1\n[B]\ny=2"));
    EXPECT_FALSE(ini.EsisteSezione("B"));
    EXPECT_EQ(ini.LeggiStringa("A", "x"), "1 [B] y=2");
    EXPECT_FALSE(ini.ScriviStringa("A", "k=v", "1"));
    EXPECT_FALSE(ini.ScriviStringa("A]", "k", "1"));
    EXPECT_FALSE(ini.ScriviStringa("A", "", "1"));
    EXPECT_FALSE(ProfiloIni(m_dir.filePath("no/such/dir/x.ini")).ScriviStringa("A", "k", "1"));
}

TEST_F(ProfiloIniTest, DeletesKeysAndSections)
{
    ProfiloIni ini(scrivi(Esempio));
    ASSERT_TRUE(ini.EliminaChiave("connessioni", "CONNECT"));
    EXPECT_FALSE(ini.EsisteChiave("Connessioni", "Connect"));
    EXPECT_EQ(ini.LeggiStringa("Connessioni", "Owner"), "dbo");
    ASSERT_TRUE(ini.EliminaChiave("Connessioni", "Missing"));
    ASSERT_TRUE(ini.EliminaSezione("CONNESSIONI"));
    EXPECT_FALSE(ini.EsisteSezione("Connessioni"));
    EXPECT_EQ(leggi(), QByteArray("; program settings\n"
                                  "[Opzioni Stampa]\n"
                                  "Font=Arial\n"));
    ASSERT_TRUE(ini.EliminaSezione("Missing"));
}

TEST_F(ProfiloIniTest, Windows1252FilesStayWindows1252)
{
    ProfiloIni ini(scrivi("[Stampa]\nTitolo=Citt\xE0 \x80 \x96 fine\n"));
    EXPECT_EQ(ini.LeggiStringa("Stampa", "Titolo"), QString::fromUtf8("Città € – fine"));
    ASSERT_TRUE(ini.ScriviStringa("Stampa", "Altro", QString::fromUtf8("però")));
    EXPECT_EQ(leggi(), QByteArray("[Stampa]\nTitolo=Citt\xE0 \x80 \x96 fine\nAltro=per\xF2\n"));
    EXPECT_EQ(ini.LeggiStringa("Stampa", "Altro"), QString::fromUtf8("però"));
    // A character Windows-1252 has no byte for turns the whole file into UTF-8: nothing is lost.
    ASSERT_TRUE(ini.ScriviStringa("Stampa", "Altro", QString::fromUtf8("Łódź")));
    EXPECT_EQ(leggi(), QByteArray("[Stampa]\nTitolo=Citt\xC3\xA0 \xE2\x82\xAC \xE2\x80\x93 fine\n"
                                  "Altro=\xC5\x81\xC3\xB3"
                                  "d\xC5\xBA\n"));
    EXPECT_EQ(ini.LeggiStringa("Stampa", "Titolo"), QString::fromUtf8("Città € – fine"));
}

// Bytes of a Windows-1252 file that happen to be UTF-8 once the one byte that
// is not has gone: each write keeps what every other line reads.
TEST_F(ProfiloIniTest, AWriteNeverChangesHowTheOtherLinesRead)
{
    const QString chiave = QString::fromUtf8("k\u00C3\u00A0x"); // the bytes k C3 A0 x in Windows-1252
    struct Caso {
        QByteArray prima;
        std::function<bool(ProfiloIni &)> scrittura;
        QByteArray dopo;
    };
    const Caso casi[] = {
        // The last byte that is no UTF-8 written over, taken away with its key, with its section.
        {"[S]\nk\xC3\xA0x=\xC8\n", [&](ProfiloIni &i) { return i.ScriviStringa("S", chiave, "1"); },
         "[S]\nk\xC3\x83\xC2\xA0x=1\n"},
        {"[S]\nk\xC3\xA0x=1\nz=\xC8\n", [](ProfiloIni &i) { return i.EliminaChiave("S", "z"); },
         "[S]\nk\xC3\x83\xC2\xA0x=1\n"},
        {"[S]\nk\xC3\xA0x=1\n[T]\nz=\xC8\n", [](ProfiloIni &i) { return i.EliminaSezione("T"); },
         "[S]\nk\xC3\x83\xC2\xA0x=1\n"},
        // Another such byte left: the file stays Windows-1252, byte for byte.
        {"[S]\nk\xC3\xA0x=\xC8\ny=\xE8\n", [&](ProfiloIni &i) { return i.ScriviStringa("S", chiave, "1"); },
         "[S]\nk\xC3\xA0x=1\ny=\xE8\n"},
        // With a byte-order mark the same holds behind it.
        {"\xEF\xBB\xBF[S]\r\nk\xC3\xA0x=\xC8\r\n",
         [&](ProfiloIni &i) { return i.ScriviStringa("S", chiave, "1"); },
         "\xEF\xBB\xBF[S]\r\nk\xC3\x83\xC2\xA0x=1\r\n"},
    };
    for (const Caso &c : casi) {
        ProfiloIni ini(scrivi(c.prima));
        const QStringList chiavi = ini.Chiavi("S");
        ASSERT_EQ(chiavi.value(0), chiave) << c.prima.toStdString();
        ASSERT_TRUE(c.scrittura(ini)) << c.prima.toStdString();
        EXPECT_EQ(leggi(), c.dopo) << c.prima.toStdString();
        EXPECT_EQ(ini.Chiavi("S").value(0), chiave) << c.prima.toStdString();
        EXPECT_EQ(ini.LeggiStringa("S", chiave), "1") << c.prima.toStdString();
    }
}

TEST_F(ProfiloIniTest, ByteOrderMarkBeforeWindows1252Text)
{
    const QByteArray prima = "\xEF\xBB\xBF[Ditta]\r\nNome=Caff\xE8 Rossi\r\n[Stampa]\r\nFont=Arial\r\n";
    ProfiloIni ini(scrivi(prima));
    EXPECT_EQ(ini.Sezioni(), QStringList({"Ditta", "Stampa"}));
    EXPECT_EQ(ini.LeggiStringa("Ditta", "Nome"), QString::fromUtf8("Caffè Rossi"));
    ASSERT_TRUE(ini.ScriviStringa("Ditta", "Nome", QString::fromUtf8("Caffè Bianchi")));
    EXPECT_EQ(leggi(),
              QByteArray("\xEF\xBB\xBF[Ditta]\r\nNome=Caff\xE8 Bianchi\r\n[Stampa]\r\nFont=Arial\r\n"));
    ASSERT_TRUE(ini.ScriviStringa("Ditta", "Nome", QString::fromUtf8("Caffè Rossi")));
    EXPECT_EQ(leggi(), prima);
}

TEST_F(ProfiloIniTest, NamesWithBlanksFindTheirSectionAndKey)
{
    const QByteArray prima = "[Stampa]\nFont=Arial\n";
    ProfiloIni ini(scrivi(prima));
    EXPECT_EQ(ini.LeggiStringa("  Stampa ", " Font "), "Arial");
    EXPECT_TRUE(ini.EsisteSezione(" stampa"));
    for (int volta = 0; volta < 3; ++volta) {
        ASSERT_TRUE(ini.ScriviStringa(" Stampa ", " Font ", "Courier"));
        ASSERT_TRUE(ini.ScriviStringa("\tStampa", "Righe ", "60"));
    }
    EXPECT_EQ(leggi(), QByteArray("[Stampa]\nFont=Courier\nRighe=60\n"));
    ASSERT_TRUE(ini.EliminaChiave(" STAMPA ", " righe "));
    ASSERT_TRUE(ini.ScriviStringa(" Stampa ", " Font ", "Arial"));
    EXPECT_EQ(leggi(), prima);
    ASSERT_TRUE(ini.EliminaSezione(" Stampa "));
    EXPECT_EQ(leggi(), QByteArray());
}

TEST_F(ProfiloIniTest, Utf8WithBomIsReadAndKept)
{
    ProfiloIni ini(scrivi("\xEF\xBB\xBF[Menu]\nPath=/x\n"));
    EXPECT_EQ(ini.LeggiStringa("menu", "path"), "/x");
    EXPECT_EQ(ini.Sezioni(), QStringList({"Menu"}));
    ASSERT_TRUE(ini.ScriviStringa("Menu", "Path", "/y"));
    EXPECT_EQ(leggi(), QByteArray("\xEF\xBB\xBF[Menu]\nPath=/y\n"));
}
