// Saved print option sets of the print-choice dialog: the exact texts written
// in this terminal's INI and the common one, keys removed instead of written
// empty, deleting a whole section or key by key, other keys left alone, the
// panel's cancel, a missing common file, a failed write, and the scale read
// back whatever the decimal separator.
#include "BancoSceltaStampa.h"

#include "components/stampa/OpzStampaIni.h"
#include "components/util/ProfiloIni.h"
#include "printing/AziendaUtilStampe.h"

#include <QFile>
#include <QLocale>

namespace
{

QString leggi(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void scrivi(const QString &file, const QByteArray &testo)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(testo);
}

} // namespace

TEST_F(BancoSceltaStampa, SavedOptionsExactTexts)
{
    scrivi(Globali::PathIni, "[Altro]\nChiave=1\n[StampaClienti]\nFileName=vecchio.csv\nMia=tenuta\n");
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.ForzaVert(-1);
    opz.FileForm(OpzStampa::FormatoTesto);
    opz.PathDefault(QStringLiteral("/srv/stampe"));
    opz.SepCampi(QStringLiteral("\t"));
    opz.DelimStr(QStringLiteral("'"));
    opz.NumNoForm(-1);
    opz.Fatt(0.67f);
    opz.MemVid(1);
    opz.FisStampante(-1);
    opz.FisCodIniComp(QStringLiteral("27,15"));
    opz.osNomeStampante(QStringLiteral("Ufficio"));
    opz.NomePorta(QStringLiteral("ipp://srv/printers/ufficio"));
    opz.ImpostaParStampa(QStringLiteral("NumTipoCarta"), 11);
    opz.ImpostaParStampa(QStringLiteral("EmailInvia"), true);
    FrmSceltaStam &d = apri();
    d.ComSalOpz->click();
    EXPECT_FALSE(d.PicSalPar->isHidden());
    EXPECT_EQ(d.ComOk->text(), QStringLiteral("&Salvare"));
    EXPECT_EQ(d.FraQualeIni->title(), QStringLiteral("Dove salvare"));
    EXPECT_EQ(d.LabValParam(0)->text(), QStringLiteral("File"));
    EXPECT_EQ(d.LabValParam(5)->text(), QStringLiteral("Tab"));
    EXPECT_EQ(d.LabValParam(8)->text(), QStringLiteral("0.67"));
    EXPECT_EQ(d.LabValParam(21)->text(), QStringLiteral("Default"));
    EXPECT_EQ(d.LabValParam(22)->text(), QStringLiteral("11"));
    d.ComOk->click();
    EXPECT_TRUE(d.PicSalPar->isHidden());
    EXPECT_TRUE(messaggi().isEmpty());

    // Blank texts and zero trays remove their keys; other keys stay.
    EXPECT_EQ(leggi(Globali::PathIni),
              QStringLiteral("[Altro]\nChiave=1\n[StampaClienti]\nMia=tenuta\n"
                             "StaVid=2\nForzaVert=-1\nFileForm=1\nPathDefault=/srv/stampe\n"
                             "SepCampi=9\nDelimStr=39\nNumNoForm=-1\nFatt=0.67\nMemVid=1\n"
                             "FisStampante=-1\nFisMrAlt=0\nFisMrBas=0\nFisColonne=80\n"
                             "FisRighe=66\nFisCodIniComp=27,15\nFisUtilComp=0\n"
                             "NomeStampante=Ufficio\nNomePorta=ipp://srv/printers/ufficio\n"
                             "TipoCarta=11\nPdfNomeAutom=N\nInviaEmail=S\n"));

    // Defaults of every print in the common file; an empty qualifier is -1.
    opz.DelimStr(QString());
    opz.SepCampi(QStringLiteral(" "));
    d.ComSalOpz->click();
    d.OptIniStd->setChecked(true);
    d.OptSalInDef->setChecked(true);
    d.ComDeSelTutto->click();
    d.Che(5)->setChecked(true);
    d.Che(6)->setChecked(true);
    d.ComOk->click();
    EXPECT_EQ(leggi(Globali::PathIniComune), QStringLiteral("[Opzioni Stampa]\nSepCampi=32\nDelimStr=-1\n"));
    // The choices stay while the dialog is loaded; opening ticks every box again.
    d.ComCancOpz->click();
    EXPECT_TRUE(d.OptIniStd->isChecked());
    EXPECT_TRUE(d.Che(0)->isChecked());
    EXPECT_EQ(d.ComOk->text(), QStringLiteral("&Cancellare"));
    d.ComAnnulla->click();
    EXPECT_TRUE(d.PicSalPar->isHidden());
    EXPECT_EQ(leggi(Globali::PathIniComune), QStringLiteral("[Opzioni Stampa]\nSepCampi=32\nDelimStr=-1\n"));
}

TEST_F(BancoSceltaStampa, DeletingSavedOptions)
{
    const QByteArray salvato = "[Altro]\nChiave=1\n[StampaClienti]\nStaVid=2\nFatt=0.5\nMia=tenuta\n";
    scrivi(Globali::PathIni, salvato);
    scrivi(Globali::PathIniComune, salvato);
    FrmSceltaStam &d = apri();
    // One box unticked: only the ticked keys go, in this terminal's file too.
    d.ComCancOpz->click();
    d.Che(0)->setChecked(false);
    d.ComOk->click();
    EXPECT_EQ(leggi(Globali::PathIni),
              QStringLiteral("[Altro]\nChiave=1\n[StampaClienti]\nStaVid=2\nMia=tenuta\n"));
    // Everything ticked: this terminal's section goes at once...
    d.ComCancOpz->click();
    d.ComOk->click();
    EXPECT_EQ(leggi(Globali::PathIni), QStringLiteral("[Altro]\nChiave=1\n"));
    // ...the common file loses the keys one by one, and keeps the rest.
    d.ComCancOpz->click();
    d.OptIniStd->setChecked(true);
    d.ComOk->click();
    const ProfiloIni comune(Globali::PathIniComune);
    EXPECT_EQ(comune.Chiavi(QStringLiteral("StampaClienti")), QStringList{QStringLiteral("Mia")});
    EXPECT_EQ(comune.LeggiStringa(QStringLiteral("Altro"), QStringLiteral("Chiave")), QStringLiteral("1"));
}

TEST_F(BancoSceltaStampa, SavingRefusedOrFailedIsTold)
{
    FrmSceltaStam &d = apri();
    Globali::PathIniComune.clear();
    d.ComSalOpz->click();
    d.OptIniStd->setChecked(true);
    d.ComOk->click();
    EXPECT_TRUE(messaggi().value(0).startsWith(
        QStringLiteral("Non è configurato un file di parametri comuni a tutti i terminali.")));
    EXPECT_FALSE(d.PicSalPar->isHidden()) << "the user can choose this terminal's file instead";

    // This terminal's file cannot be written: said, never taken for done.
    scrivi(dir.filePath(QStringLiteral("file")), "x");
    Globali::PathIni = dir.filePath(QStringLiteral("file/terminale.ini"));
    d.OptIniPers->setChecked(true);
    d.ComDeSelTutto->click();
    d.Che(0)->setChecked(true);
    d.ComOk->click();
    EXPECT_EQ(messaggi().value(1), QStringLiteral("Impossibile scrivere nel file dei parametri ") +
                                       Globali::PathIni + QStringLiteral("\r\nOpzioni non salvate: StaVid"));
    EXPECT_FALSE(d.PicSalPar->isHidden());
    d.ComAnnulla->click();
    EXPECT_FALSE(QFile::exists(Globali::PathIni));
}

TEST_F(BancoSceltaStampa, ScaleReadBackWithEitherSeparator)
{
    const QLocale prima;
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    Globali::RisVidStaVid = 0.8;
    opz.Fatt(0.536f);
    FrmSceltaStam &d = apri();
    d.ComSalOpz->click();
    EXPECT_EQ(d.LabValParam(8)->text(), QStringLiteral("0,67"));
    d.ComDeSelTutto->click();
    d.Che(8)->setChecked(true);
    d.ComOk->click();
    QLocale::setDefault(prima);
    EXPECT_EQ(
        ProfiloIni(Globali::PathIni).LeggiStringa(QStringLiteral("StampaClienti"), QStringLiteral("Fatt")),
        QStringLiteral("0,67"));
    OpzStampa letta(QStringLiteral("StampaClienti"));
    Globali::RisVidStaVid = 0.8;
    CaricaOpzioniStampa(letta);
    EXPECT_NEAR(letta.Fatt(), 0.536, 1e-6);
}
