// INI readers and writers over this terminal's file and the common one.
#include "components/forms/RisposteProgrammate.h"
#include "components/util/ProfiloIni.h"
#include "services/Globali.h"
#include "services/Parametri.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QString leggiFile(const QString &p)
{
    QFile f(p);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

void scriviFile(const QString &p, const QString &testo)
{
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(testo.toUtf8());
}

class IniTerminaleEComune : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        terminale = dir.filePath("terminale.ini");
        comune = dir.filePath("comune.ini");
        scriviFile(terminale, "; terminale\n[Stampa]\nNomeStampante=Locale\n[Solo]\nA=1\n");
        scriviFile(comune, "[Stampa]\nNomeStampante=Comune\nCassetto=2\n[Base]\nDoc=/srv/doc\n");
        Globali::PathIni = terminale;
        Globali::PathIniComune = comune;
        RisposteProgrammate::Azzera();
    }
    void TearDown() override
    {
        Globali::PathIni.clear();
        Globali::PathIniComune.clear();
        RisposteProgrammate::Azzera();
    }
    QString leggi(const QString &file, const QString &s, const QString &k)
    {
        return ProfiloIni::Leggi(file, s, k, "<manca>");
    }
    QTemporaryDir dir;
    QString terminale, comune;
};

} // namespace

TEST_F(IniTerminaleEComune, LeggiParIniPrimaIlTerminalePoiIlComune)
{
    QString v;
    EXPECT_EQ(LeggiParIni("Stampa", "NomeStampante", "x", v), "1");
    EXPECT_EQ(v, "Locale");
    EXPECT_EQ(LeggiParIni("stampa", "cassetto", "x", v), "2");
    EXPECT_EQ(v, "2");
    EXPECT_EQ(LeggiParIni("Stampa", "Manca", "x", v), "0");
    EXPECT_EQ(v, "x");
    EXPECT_EQ(LeggiParIni("Base", "Doc", ""), "/srv/doc");
}

TEST_F(IniTerminaleEComune, ScriviParIniSceglieIlFile)
{
    // Found in the terminal INI: written there.
    EXPECT_TRUE(ScriviParIni("Stampa", "NomeStampante", "Nuova"));
    EXPECT_EQ(leggi(terminale, "Stampa", "NomeStampante"), "Nuova");
    EXPECT_EQ(leggi(comune, "Stampa", "NomeStampante"), "Comune");
    // Found only in the common INI: written there.
    EXPECT_TRUE(ScriviParIni("Stampa", "Cassetto", "3"));
    EXPECT_EQ(leggi(comune, "Stampa", "Cassetto"), "3");
    EXPECT_EQ(leggi(terminale, "Stampa", "Cassetto"), "<manca>");
    // Found nowhere: level 1 to the terminal, level 2 to the common INI.
    EXPECT_TRUE(ScriviParIni("Nuova", "Uno", "1", false, true, 1));
    EXPECT_EQ(leggi(terminale, "Nuova", "Uno"), "1");
    EXPECT_TRUE(ScriviParIni("Nuova", "Due", "2", false, true, 2));
    EXPECT_EQ(leggi(comune, "Nuova", "Due"), "2");
    EXPECT_EQ(leggi(terminale, "Nuova", "Due"), "<manca>");
    // Create-when-missing False: nothing written anywhere.
    EXPECT_FALSE(ScriviParIni("Nuova", "Tre", "3", false, false, 2));
    EXPECT_EQ(leggi(comune, "Nuova", "Tre"), "<manca>");
    EXPECT_EQ(leggi(terminale, "Nuova", "Tre"), "<manca>");
    // ...but an existing key is still updated.
    EXPECT_TRUE(ScriviParIni("Solo", "A", "9", false, false));
    EXPECT_EQ(leggi(terminale, "Solo", "A"), "9");
    // The comment and the other sections survive.
    EXPECT_TRUE(leggiFile(terminale).startsWith("; terminale\n"));
}

TEST_F(IniTerminaleEComune, ScriviParIniSenzaIniComune)
{
    Globali::PathIniComune.clear();
    EXPECT_TRUE(ScriviParIni("Nuova", "Due", "2", false, true, 2));
    EXPECT_EQ(leggi(terminale, "Nuova", "Due"), "2");
    // The same file named twice counts once.
    Globali::PathIniComune = terminale;
    EXPECT_TRUE(ScriviParIni("Nuova", "Tre", "3", false, true, 2));
    EXPECT_EQ(leggi(terminale, "Nuova", "Tre"), "3");
}

TEST_F(IniTerminaleEComune, ScriviParIniCancellaChiaveESezione)
{
    EXPECT_TRUE(ScriviParIni("Stampa", "Cassetto", "", false, true, 1, false, true));
    EXPECT_EQ(leggi(comune, "Stampa", "Cassetto"), "<manca>");
    EXPECT_EQ(leggi(comune, "Stampa", "NomeStampante"), "Comune");
    // Deleting what is not there changes nothing and succeeds.
    EXPECT_TRUE(ScriviParIni("Stampa", "Mai", "", false, true, 1, false, true));
    // The whole section of the terminal INI goes; the common one stays.
    EXPECT_TRUE(ScriviParIni("Stampa", "", "", false, true, 1, true, false));
    EXPECT_FALSE(ProfiloIni(terminale).EsisteSezione("Stampa"));
    EXPECT_TRUE(ProfiloIni(comune).EsisteSezione("Stampa"));
    EXPECT_TRUE(ProfiloIni(terminale).EsisteSezione("Solo"));
}

TEST_F(IniTerminaleEComune, ScriviParIniFileDato)
{
    const QString altro = dir.filePath("altro.ini");
    EXPECT_TRUE(ScriviParIni("Stampa", "NomeStampante", "X", false, true, 1, false, false, altro));
    EXPECT_EQ(leggi(altro, "Stampa", "NomeStampante"), "X");
    EXPECT_EQ(leggi(terminale, "Stampa", "NomeStampante"), "Locale");
    EXPECT_TRUE(ScriviParIni("Stampa", "", "", false, true, 1, true, false, altro));
    EXPECT_FALSE(ProfiloIni(altro).EsisteSezione("Stampa"));
}

TEST_F(IniTerminaleEComune, ScritturaFallitaConMessaggio)
{
    const QString impossibile = dir.filePath("manca/dentro/x.ini");
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
    EXPECT_FALSE(ScriviParIni("Sez", "Chiave", "Val", true, true, 1, false, false, impossibile));
    ASSERT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size(), 1);
    EXPECT_EQ(
        RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom).value("testo").toString(),
        "Aggiornamento del valore : Val\r\nnella sezione : Sez\r\nparametro : Chiave\r\nNON RIUSCITO.\r\n"
        "durante l' aggiornamento(1)");
    // Without the flag only the result tells.
    EXPECT_FALSE(ScriviParIni("Sez", "Chiave", "Val", false, true, 1, false, false, impossibile));
    EXPECT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size(), 1);
}

TEST_F(IniTerminaleEComune, LeggiListaIni)
{
    QString segnaposto, valore;
    EXPECT_EQ(LeggiListaIni("§Doc§/clienti/§doc§.pdf", "§", "Base", segnaposto, valore),
              "/srv/doc/clienti//srv/doc.pdf");
    EXPECT_EQ(segnaposto, "§Doc§");
    EXPECT_EQ(valore, "/srv/doc");
    EXPECT_EQ(LeggiListaIni("/tmp/a.pdf", "§", "Base", segnaposto, valore), "/tmp/a.pdf");
    EXPECT_EQ(segnaposto, "");
    EXPECT_EQ(valore, "");
    EXPECT_EQ(LeggiListaIni("§Manca§/a§b", "§", "Base", segnaposto, valore), "/a§b");
    EXPECT_EQ(segnaposto, "§Manca§");
}
