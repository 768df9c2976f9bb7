// The list-print dialog's options for each print: the list and the two grids
// of the customer form keep options (and export files) of their own, saved
// options come back when a print first asks for them, with the print's own
// section before the defaults and this terminal's file before the common one,
// a save loses no key the user left alone, and Esc leaves the dialog as the
// close box does.
#include "BancoSceltaStampa.h"
#include "SupportoFinestreStampa.h"

#include "components/stampa/ProfiloStampanti.h"
#include "components/util/ProfiloIni.h"
#include "printing/AziendaUtilStampe.h"
#include "printing/FrmComlinStampa.h"
#include "services/UtilPrg.h"

#include <QLabel>
#include <QTest>

namespace
{

const QString kLista = QStringLiteral("Stampa Lista Clienti");
const QString kLettere = QStringLiteral("Stampa Dichiarazioni Intento");
const QString kDefault = QStringLiteral("Opzioni Stampa");

class OpzioniPerStampa : public BancoFinestreStampa
{
  protected:
    void SetUp() override
    {
        BancoFinestreStampa::SetUp();
        auto c = std::make_unique<CatalogoFinto>();
        c->Aggiungi({QStringLiteral("Laser"), QStringLiteral("socket://10.0.0.5:9100"), QStringLiteral("HP"),
                     9, false});
        c->Aggiungi({QStringLiteral("Ufficio"), QStringLiteral("ipp://srv/printers/ufficio"),
                     QStringLiteral("Kyocera"), 9, false});
        c->ImpostaPredefinita(QStringLiteral("Laser"));
        ImpostaCatalogo(std::move(c));
        ProfiloStampanti::ImpostaPercorso(dir.filePath(QStringLiteral("stampanti.ini")));
        Globali::PathIni = dir.filePath(QStringLiteral("terminale.ini"));
        Globali::PathIniComune = dir.filePath(QStringLiteral("comune.ini"));
        Globali::RisVidStaVid = 0;
        host = std::make_unique<ClienteMenuLocale>(dir.filePath(QStringLiteral("host.json")));
        Globali::MenuClient = host.get();
        lista.ImpostaSezioneStampa(kLista);
        lettere.ImpostaSezioneStampa(kLettere);
    }
    void TearDown() override
    {
        FrmSceltaStam::ImpostaDialogoScala({});
        ImpostaGestoreChiusura({});
        BancoFinestreStampa::TearDown();
        ProfiloStampanti::ImpostaPercorso({});
        Globali::PathIni.clear();
        Globali::PathIniComune.clear();
        Globali::MenuClient = nullptr;
    }
    static FrmComlinStampa *Apri(ComponenteProva &c)
    {
        FrmComlinStampa *d = FrmComlinStampaPredef();
        d->ApriPerLista(c);
        return d;
    }
    // "Seleziona Stampante": the print-choice dialog worked by `azione`, then closed.
    void Scelta(FrmComlinStampa *d, const std::function<void(FrmSceltaStam &)> &azione)
    {
        RisposteProgrammate::ImpostaAzioneModale([&](QWidget *w) {
            if (auto *s = qobject_cast<FrmSceltaStam *>(w))
                azione(*s);
            w->close();
        });
        d->comSceStam_Click();
        RisposteProgrammate::ImpostaAzioneModale({});
        Attendi();
    }
    // The program closed and started again: the print windows are made anew.
    void Riavvia()
    {
        ScaricaFinestreStampa();
        Attendi();
    }
    static QString Leggi(const QString &file, const QString &sezione, const QString &chiave)
    {
        const ProfiloIni ini(file);
        return ini.EsisteChiave(sezione, chiave) ? ini.LeggiStringa(sezione, chiave)
                                                 : QStringLiteral("<none>");
    }

    QTemporaryDir dir;
    std::unique_ptr<ClienteMenuLocale> host;
    ComponenteProva lista, lettere;
};

} // namespace

TEST_F(OpzioniPerStampa, EachPrintKeepsItsOwnOptionsAndFiles)
{
    FrmComlinStampa *d = Apri(lettere);
    OpzStampa &diLettere = d->OpzioniStampa();
    EXPECT_EQ(diLettere.SezioneStampa(), kLettere);
    diLettere.oiStaVid(OpzStampa::UscitaFile);
    diLettere.FileName(dir.filePath(QStringLiteral("lettere.csv")));
    d->CmdStampa_Click();
    EXPECT_EQ(lettere.motore.ogOpzSta(), &diLettere);

    Apri(lista)->CmdStampa_Click();
    ASSERT_NE(lista.motore.ogOpzSta(), nullptr);
    EXPECT_NE(lista.motore.ogOpzSta(), &diLettere);
    EXPECT_EQ(lista.motore.ogOpzSta()->SezioneStampa(), kLista);
    EXPECT_EQ(lista.motore.ogOpzSta()->FileName(), QString()) << "the list does not write the letters' file";
    // The e-mail's §CodSta§ names the print.
    EXPECT_EQ(EspandiOggettoEmail(QStringLiteral("§CodSta§"), *lista.motore.ogOpzSta()), kLista);

    EXPECT_EQ(&Apri(lettere)->OpzioniStampa(), &diLettere);
    EXPECT_EQ(diLettere.FileName(), dir.filePath(QStringLiteral("lettere.csv")));
}

// Video at 117 on the office printer, saved for this print only, is what the
// print shows after the program started again; in either file.
TEST_F(OpzioniPerStampa, SavedForThisPrintComesBackAfterARestart)
{
    for (const bool comune : {false, true}) {
        SCOPED_TRACE(comune ? "common INI" : "terminal INI");
        Riavvia();
        FrmSceltaStam::ImpostaDialogoScala([](QWidget *, int &scala, int &) {
            scala = 117;
            return true;
        });
        QFile::remove(Globali::PathIni);
        QFile::remove(Globali::PathIniComune);
        FrmComlinStampa *d = Apri(lista);
        Scelta(d, [&](FrmSceltaStam &s) {
            s.show();
            s.OptStampaSu(0)->click();
            ASSERT_TRUE(BancoSceltaStampa::clicRiga(s.GriPri, QStringLiteral("Ufficio")));
            s.OptStampaSu(1)->click();
            s.ComOpz(1)->click();
            s.ComSalOpz->click();
            (comune ? s.OptIniStd : s.OptIniPers)->setChecked(true);
            ASSERT_TRUE(s.OptSalInStamp->isChecked());
            s.ComOk->click();
            EXPECT_TRUE(s.PicSalPar->isHidden());
        });
        EXPECT_TRUE(MsgCom().isEmpty()) << MsgCom().join('|').toStdString();
        const QString file = comune ? Globali::PathIniComune : Globali::PathIni;
        EXPECT_EQ(Leggi(file, kLista, QStringLiteral("NomeStampante")), QStringLiteral("Ufficio"));

        Riavvia();
        d = Apri(lista);
        EXPECT_EQ(d->labStaAttuale->text(), QStringLiteral("Video (scala 117%)"));
        EXPECT_EQ(d->OpzioniStampa().osNomeStampante(), QStringLiteral("Ufficio"));
        QString scala;
        Scelta(d, [&](FrmSceltaStam &s) { scala = s.labFatt->text(); });
        EXPECT_EQ(scala, QStringLiteral("117"));
        // Automatic PDF switched off goes back to the printer saved for the print.
        QString pdf = QStringLiteral("PDFCreator");
        d->OpzioniStampa().osNomeStampante(pdf);
        EXPECT_TRUE(ImpostaStampante(pdf, d->OpzioniStampa(), true));
        EXPECT_EQ(d->OpzioniStampa().osNomeStampante(), QStringLiteral("Ufficio"));
        // The letters' print keeps its own.
        EXPECT_EQ(Apri(lettere)->OpzioniStampa().osNomeStampante(), QString());
    }
}

// Each place holds a different file name; the list reads the first place
// that has one; the letters' print, without a section of its own, the defaults.
TEST_F(OpzioniPerStampa, PrecedenceOfTheSavedPlaces)
{
    struct Luogo {
        QString file, sezione, valore;
    };
    const QList<Luogo> luoghi = {{Globali::PathIni, kLista, QStringLiteral("terminale-stampa")},
                                 {Globali::PathIniComune, kLista, QStringLiteral("comune-stampa")},
                                 {Globali::PathIni, kDefault, QStringLiteral("terminale-default")},
                                 {Globali::PathIniComune, kDefault, QStringLiteral("comune-default")}};
    for (qsizetype primo = 0; primo < luoghi.size(); ++primo) {
        SCOPED_TRACE(primo);
        QFile::remove(Globali::PathIni);
        QFile::remove(Globali::PathIniComune);
        for (qsizetype i = primo; i < luoghi.size(); ++i)
            ProfiloIni(luoghi[i].file)
                .ScriviStringa(luoghi[i].sezione, QStringLiteral("FileName"), luoghi[i].valore);
        Riavvia();
        EXPECT_EQ(Apri(lista)->OpzioniStampa().FileName(), luoghi[primo].valore);
        EXPECT_EQ(Apri(lettere)->OpzioniStampa().FileName(), luoghi[std::max<qsizetype>(primo, 2)].valore);
    }
}

// The demo's defaults: saving every row keeps PathDefault, and the export's
// file dialog opens there.
TEST_F(OpzioniPerStampa, SaveKeepsWhatTheUserDidNotChange)
{
    const QString cartella = dir.filePath(QStringLiteral("pdf"));
    ProfiloIni ini(Globali::PathIni);
    for (const auto &[chiave, valore] : {std::pair{"StaVid", "1"},
                                         {"FileForm", "0"},
                                         {"SepCampi", "59"},
                                         {"DelimStr", "34"},
                                         {"PdfNomeAutom", "N"}})
        ini.ScriviStringa(kDefault, QString::fromLatin1(chiave), QString::fromLatin1(valore));
    ini.ScriviStringa(kDefault, QStringLiteral("PathDefault"), cartella);
    const QString file = dir.filePath(QStringLiteral("clienti.csv"));
    Scelta(Apri(lista), [&](FrmSceltaStam &s) {
        s.OptStampaSu(2)->click();
        RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, file);
        s.ComOpz(2)->click();
        s.ComSalOpz->click();
        s.OptSalInDef->setChecked(true);
        s.ComOk->click();
    });
    EXPECT_EQ(
        RisposteProgrammate::UltimoMostrato(RisposteProgrammate::FileSalva).value(QStringLiteral("cartella")),
        cartella);
    EXPECT_EQ(Leggi(Globali::PathIni, kDefault, QStringLiteral("PathDefault")), cartella);
    EXPECT_EQ(Leggi(Globali::PathIni, kDefault, QStringLiteral("FileName")), file);
}

TEST_F(OpzioniPerStampa, MissingDefaultPrinterForgetsThePrintersSavedOne)
{
    ProfiloIni(Globali::PathIni)
        .ScriviStringa(kLista, QStringLiteral("NomeStampante"), QStringLiteral("Ufficio"));
    FrmComlinStampa *d = Apri(lista);
    Globali::StampanteImpostata = 1;
    ProfiloStampanti::ScriviDevice(QStringLiteral("Sparita,drv,LPT1:"));
    d->ComUsaDef_Click();
    ASSERT_EQ(MsgCom().size(), 1);
    EXPECT_EQ(Leggi(Globali::PathIni, kLista, QStringLiteral("NomeStampante")), QString());
}

// Esc is "&ESCI": the component let go, the host told, the font back to
// Arial; the printer chosen in the print-choice dialog stays the print's.
TEST_F(OpzioniPerStampa, EscLeavesTheDialogAsTheCloseBoxDoes)
{
    QList<int> chiusure;
    ImpostaGestoreChiusura([&](int attesa) { chiusure << attesa; });
    FrmComlinStampa *d = Apri(lista);
    RisposteProgrammate::Accoda(RisposteProgrammate::Font, QFont(QStringLiteral("DejaVu Serif"), 14));
    d->CmdSceFont_Click();
    Scelta(d, [](FrmSceltaStam &s) {
        s.show();
        s.OptStampaSu(0)->click();
        ASSERT_TRUE(BancoSceltaStampa::clicRiga(s.GriPri, QStringLiteral("Ufficio")));
    });
    d->comSceStam->setFocus();
    QTest::keyClick(d, Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->ogComlin(), nullptr);
    EXPECT_EQ(chiusure, QList<int>{0});
    Apri(lista);
    EXPECT_EQ(d->FontStampa().family(), QStringLiteral("Arial"));
    // Opened again, Enter prints: the focus is back on the print button.
    EXPECT_EQ(d->focusWidget(), d->CmdStampa);
    EXPECT_TRUE(d->labStaAttuale->text().startsWith(QStringLiteral("Ufficio")))
        << d->labStaAttuale->text().toStdString();
    d->CmdEsci_Click();
    EXPECT_EQ(chiusure, (QList<int>{0, 0}));
}
