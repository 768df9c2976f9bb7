// The print-choice dialog's automatic PDF name and its PDF and e-mail panel:
// the switch for the engine, the panel's modes and checks with their
// messages, the exact selection texts saved and deleted in the host's INI
// files, passwords kept out of them, and the request from a print.
#include "BancoSceltaStampa.h"

#include "components/menu/IniComuniLocali.h"
#include "printing/AziendaUtilStampe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QScrollArea>

namespace
{

class PannelloPdfEmail : public BancoSceltaStampa
{
  public:
    void SetUp() override
    {
        BancoSceltaStampa::SetUp();
        host->ScriviPar(QStringLiteral("UsaPdfCreator"), QStringLiteral("s"));
        host->ScriviPar(QStringLiteral("StampeEmail"), QStringLiteral("S"));
    }
    QVariant h(const char *nome) { return host->LeggiPar(QString::fromLatin1(nome), QVariant()); }
    QJsonObject file(const QString &nome)
    {
        QFile f(dir.filePath(nome));
        f.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(f.readAll()).object();
    }
};

// The flags of one configuration: "S" for the key numbers given, `altro` elsewhere.
QString flags(std::initializer_list<int> si, QChar altro, std::initializer_list<int> x = {})
{
    QString r;
    for (int k = 1; k <= 22; ++k)
        r += std::find(x.begin(), x.end(), k) != x.end()      ? QLatin1Char('X')
             : std::find(si.begin(), si.end(), k) != si.end() ? QLatin1Char('S')
                                                              : altro;
    return r;
}

} // namespace

TEST_F(PannelloPdfEmail, AutomaticPdfNameSwitchesTheEngineOnAndSurvivesReactivation)
{
    host->ScriviPar(QStringLiteral("UsaPdf995"), QStringLiteral("S"));
    host->ScriviPar(QStringLiteral("CreatorAutosaveStart"), QStringLiteral("N"));
    host->ScriviPar(QStringLiteral("PdfNomeFile"), QStringLiteral("/tmp/pdf/"));
    opz.oiStaVid(OpzStampa::UscitaStampante);
    FrmSceltaStam &d = apri();
    mostra();
    EXPECT_FALSE(d.CheInviaEmail->isEnabled());
    d.ChePdfAutom->click();
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("PDFCreator")) << "PDFCreator comes first";
    EXPECT_TRUE(d.CheInviaEmail->isEnabled());
    EXPECT_TRUE(opz.ParVero(QStringLiteral("PdfAutomAbil")));
    EXPECT_EQ(opz.ParStampa(QStringLiteral("PdfNomeFile")).toString(), QStringLiteral("/tmp/pdf/"));
    EXPECT_EQ(opz.ParStampa(QStringLiteral("PdfAutomImpPar")).toList(),
              (QVariantList{Globali::PathIni, Globali::PathIniComune, QStringLiteral("s"),
                            QStringLiteral("N"), QStringLiteral("S")}));
    d.CheInviaEmail->click();
    d.Form_Activate();
    EXPECT_TRUE(d.ChePdfAutom->isChecked()) << "reactivation keeps the switch";
    EXPECT_TRUE(d.CheInviaEmail->isChecked());

    // Clearing goes back to the default printer and clears the e-mail switch.
    d.ChePdfAutom->click();
    EXPECT_FALSE(d.CheInviaEmail->isChecked());
    EXPECT_FALSE(d.CheInviaEmail->isEnabled());
    EXPECT_FALSE(opz.ParVero(QStringLiteral("EmailInvia")));
    EXPECT_FALSE(opz.ParVero(QStringLiteral("PdfAutomAbil")));
    EXPECT_EQ(opz.osNomeStampante(), QStringLiteral("Laser"));
}

// What the panel stores applies at once: ticking "Usa PdfCreator" shows the
// two boxes, a new PDF folder reaches the ticked automatic PDF, a missing
// folder is said.
TEST_F(PannelloPdfEmail, StoredSettingsApplyWithoutReopening)
{
    host->ScriviPar(QStringLiteral("UsaPdfCreator"), QStringLiteral("N"));
    const QString vecchia = dir.filePath(QStringLiteral("vecchia")) + QLatin1Char('/');
    const QString nuova = dir.filePath(QStringLiteral("nuova")) + QLatin1Char('/');
    QDir().mkpath(vecchia);
    QDir().mkpath(nuova);
    host->ScriviPar(QStringLiteral("PdfNomeFile"), vecchia);
    opz.oiStaVid(OpzStampa::UscitaStampante);
    FrmSceltaStam &d = apri();
    mostra();
    EXPECT_TRUE(d.ChePdfAutom->isHidden());
    d.ComParIniPE_Click();
    d.ChePdfEmailVal(1)->setChecked(true);
    d.ComPEOk->click();
    EXPECT_FALSE(d.ChePdfAutom->isHidden());
    EXPECT_FALSE(d.CheInviaEmail->isHidden());
    d.ChePdfAutom->click();
    EXPECT_EQ(opz.ParStampa(QStringLiteral("PdfNomeFile")).toString(), vecchia);

    d.ComParIniPE_Click();
    d.txt(1003)->setText(nuova);
    d.ComPEOk->click();
    EXPECT_EQ(opz.ParStampa(QStringLiteral("PdfNomeFile")).toString(), nuova);
    const int detti = messaggi().size();
    d.ComParIniPE_Click();
    d.txt(1003)->setText(dir.filePath(QStringLiteral("manca")));
    d.ComPEOk->click();
    ASSERT_EQ(messaggi().size(), detti + 1);
    EXPECT_TRUE(messaggi().last().startsWith(QStringLiteral("La cartella dei pdf ") +
                                             dir.filePath(QStringLiteral("manca"))))
        << messaggi().last().toStdString();
}

TEST_F(PannelloPdfEmail, FirstUseThenThreeConfigurations)
{
    host->ScriviPar(QStringLiteral("EmailToNum"), 7);
    host->ScriviPar(QStringLiteral("EmailTo3"), QStringLiteral("terzo@cliente.it"));
    host->ScriviPar(QStringLiteral("EmailLogin"), QStringLiteral("unico"));
    host->ScriviPar(QStringLiteral("EmailNumPorta"), 0);
    FrmSceltaStam &d = apri();
    d.ComParIniPE->click();
    EXPECT_EQ(d.mbPiuConfigEmail, 0) << "no configuration chosen: plain names";
    EXPECT_EQ(d.CboEmailTipoNum->currentText(), QStringLiteral("Scelta 1"));
    EXPECT_EQ(d.miEmailToCor, 3) << "a stored 7 is held to the list";
    EXPECT_EQ(h("EmailToNum").toInt(), 7) << "loading writes nothing";
    EXPECT_EQ(d.txt(1014)->text(), QStringLiteral("unico"));
    EXPECT_EQ(d.txt(1019)->text(), QString()) << "port 0 shows empty";
    EXPECT_TRUE(d.OptPETipoInvio(0)->isChecked()) << "no send type: Sendmail";
    EXPECT_TRUE(d.ChePdfEmailSalva(14)->isChecked());
    EXPECT_FALSE(d.ChePdfEmailSalva(115)->isChecked()) << "passwords are never selected";
    d.txt(1015)->setText(QStringLiteral("pw"));
    d.ComPEOk->click();
    EXPECT_EQ(h("EmailTipoNum"), QVariant(1));
    EXPECT_EQ(h("EmailTo"), QVariant(QStringLiteral("terzo@cliente.it")));
    EXPECT_EQ(h("EmailTipoInvio1"), QVariant(QStringLiteral("S")));
    EXPECT_EQ(h("EmailLogin1"), QVariant(QStringLiteral("unico"))) << "configuration 1 gets the values too";
    EXPECT_EQ(h("EmailNumPorta").toInt(), 0);
    EXPECT_FALSE(h("EmailTipoInvio2").isValid()) << "single mode skips configurations 2 and 3";

    // Now three configurations: an empty type of configuration 2 is "Non usato".
    d.ComParIniPE->click();
    EXPECT_EQ(d.mbPiuConfigEmail, -1);
    EXPECT_TRUE(d.OptPETipoInvio(9)->isChecked());
    d.CboEmailTipoNum->setCurrentIndex(1);
    EXPECT_EQ(d.PicEmailAttiva(1)->parentWidget()->property("currentIndex").toInt(), 1);
    d.OptPETipoInvio(7)->setChecked(true);
    d.txt(1114)->setText(QStringLiteral("secondo"));
    d.ComPEOk->click();
    EXPECT_EQ(h("EmailTipoNum"), QVariant(2));
    EXPECT_EQ(h("EmailTipoInvio2"), QVariant(QStringLiteral("O")));
    EXPECT_EQ(h("EmailTipoInvio3"), QVariant(QString()));
    EXPECT_EQ(LeggiParEmail(QStringLiteral("EmailLogin")), QStringLiteral("secondo"));
    EXPECT_TRUE(d.PicPdfEmail->isHidden() || !d.PicPdfEmail->isVisible());
}

TEST_F(PannelloPdfEmail, ChecksAndTheirMessages)
{
    FrmSceltaStam &d = apri();
    d.ComParIniPE->click();
    // SSL ticked in configuration 3 while 1 is shown still blocks.
    d.ChePdfEmailVal(220)->setChecked(true);
    d.ComPEOk->click();
    EXPECT_EQ(messaggi().value(0), QStringLiteral("L'uso di SSL è possibile solo usando tipo invio 'See'"));
    d.OptPETipoInvio(13)->setChecked(true);
    d.ComPEOk->click();
    EXPECT_EQ(messaggi().value(1),
              QStringLiteral("Con l'uso di SSL è obbligatorio inserire la directory stunnel"));
    d.txt(1221)->setText(dir.filePath(QStringLiteral("manca")));
    d.ComPEOk->click();
    EXPECT_EQ(messaggi().value(2), QStringLiteral("La directory stunnel è inesistente"));
    EXPECT_FALSE(h("EmailTipoNum").isValid()) << "nothing written";
    d.txt(1221)->setText(dir.path());
    d.ComPESalva->click();
    EXPECT_EQ(messaggi().size(), 3) << "the checks pass";

    // Cancelling asks first; "No" keeps the panel.
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2);
    d.ComParIniPE->click();
    d.ComPEAnnulla->click();
    EXPECT_EQ(messaggi().last(), QStringLiteral("Confermi uscita senza salvataggio"));
}

TEST_F(PannelloPdfEmail, SelectionTextsSavedAndDeleted)
{
    host->ScriviPar(QStringLiteral("EmailTipoNum"), 1);
    FrmSceltaStam &d = apri();
    d.ComParIniPE->click();
    d.txt(1015)->setText(QStringLiteral("segreta"));
    d.txt(1014)->setText(QStringLiteral("utente"));
    d.ComPESalva->click();
    const QList<ClienteMenuLocale::Operazione> &r = host->Registro();
    ASSERT_FALSE(r.isEmpty());
    const QString perConfig =
        flags({6, 8, 9, 10, 11, 12, 14, 17, 18, 19, 20, 21}, u'N', {1, 2, 3, 4, 5, 7, 13, 16, 22});
    EXPECT_EQ(r.last().argomenti.value(1).toString(),
              QStringLiteral("+p") +
                  flags({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22}, u'N') +
                  perConfig + perConfig + QStringLiteral("V"));
    const QJsonObject salvato = file(QStringLiteral("host.json"));
    EXPECT_EQ(salvato.value(QStringLiteral("EmailLogin1")).toString(), QStringLiteral("utente"));
    for (const QString &k : salvato.keys())
        EXPECT_FALSE(IniComuniLocali::EPassword(k)) << k.toStdString();
    EXPECT_EQ(QFile(dir.filePath(QStringLiteral("host.json"))).permissions() &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              QFileDevice::Permissions());

    // A ticked password box is refused with a message, nothing sent.
    d.ComParIniPE->click();
    const qsizetype prima = host->Registro().size();
    d.ChePdfEmailSalva(115)->setChecked(true);
    d.ComPESalva->click();
    EXPECT_TRUE(messaggi().last().startsWith(QStringLiteral("La password non viene salvata nei file ini")));
    EXPECT_EQ(host->Registro().size(), prima);

    // Deselect everything, delete from the common file, read again.
    d.ComPEDesel->click();
    d.OptPEDove(1)->setChecked(true);
    d.ChePdfEmailSalva(115)->setChecked(true);
    d.ComPECanc->click();
    const QString nessuna = flags({}, u'N', {1, 2, 3, 4, 5, 7, 13, 16, 22});
    EXPECT_EQ(host->Registro().value(prima).argomenti.value(1).toString(),
              QStringLiteral("-g") + flags({}, u'N') + flags({15}, u'N', {1, 2, 3, 4, 5, 7, 13, 16, 22}) +
                  nessuna + QStringLiteral("V"));
    EXPECT_EQ(host->Registro().last().argomenti, (QVariantList{QStringLiteral("LeggiIniComuni"), 1}));
}

TEST_F(PannelloPdfEmail, RequestFromAPrint)
{
    FrmSceltaStam d;
    d.ogOpzSta(&opz);
    host->ScriviPar(QStringLiteral("EmailServerSMTP"), QStringLiteral("smtp.ditta.it"));
    host->ScriviPar(QStringLiteral("EmailPwd"), QStringLiteral("pw"));
    int passi = 0;
    RisposteProgrammate::ImpostaAzioneModale([&](QWidget *) {
        ++passi;
        d.txt(1520)->setText(QStringLiteral("temp@cliente.it"));
        d.ComPEOk->click();
        EXPECT_TRUE(d.isVisible()) << "no login: the dialog stays";
        EXPECT_EQ(messaggi().last(), QStringLiteral("mancano dati obbligatori per l'invio dell'email"));
        d.txt(1014)->setText(QStringLiteral("utente"));
        d.ComPEOk->click();
        if (d.isVisible()) {
            ADD_FAILURE() << "complete data are accepted";
            d.hide();
        }
    });
    d.oiRichDatiEmail = 1000;
    EXPECT_TRUE(d.RichDatiEmail().toBool());
    EXPECT_EQ(passi, 1);
    EXPECT_EQ(d.oiRichDatiEmail, 0);
    EXPECT_EQ(opz.ParStampa(QStringLiteral("EmailToTemp")).toString(), QStringLiteral("temp@cliente.it"));
    EXPECT_EQ(messaggi().value(0),
              QStringLiteral("Mancano dati per la spedizione email (Login Email, Indir. Email a "
                             "cui si invia): completarli e confermare con Ok."))
        << "missing data are not called wrong";

    // Cancelling after a save: false, and what was saved stays.
    RisposteProgrammate::ImpostaAzioneModale([&](QWidget *) {
        d.ComPESalva->click();
        EXPECT_TRUE(d.isVisible());
        RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
        d.ComPEAnnulla->click();
    });
    d.oiRichDatiEmail = 1000;
    EXPECT_FALSE(d.RichDatiEmail().toBool());
    EXPECT_EQ(messaggi().last(), QStringLiteral("Confermi annullamento invio email"));
    EXPECT_TRUE(file(QStringLiteral("host.json")).contains(QStringLiteral("EmailLogin")));
    // Closing the window is a cancel too.
    RisposteProgrammate::ImpostaAzioneModale([&](QWidget *) { d.close(); });
    d.oiRichDatiEmail = 1000;
    EXPECT_FALSE(d.RichDatiEmail().toBool());
}

// The request from a print opens with the field it asks for in sight and
// holding the keyboard, however far down the panel that field lies.
TEST_F(PannelloPdfEmail, TheRequestShowsTheFieldItAsksFor)
{
    host->ScriviPar(QStringLiteral("EmailServerSMTP"), QStringLiteral("smtp.ditta.it"));
    // Login, password and recipient stored; the field asked for.
    struct Caso {
        const char *login, *pwd, *destinatario;
        int campo;
    };
    const Caso casi[] = {{"utente", "", "mario@cliente.it", 1015},
                         {"", "pw", "mario@cliente.it", 1014},
                         {"utente", "errata", "mario@cliente.it", 1015},
                         {"utente", "pw", "", 1520}};
    for (const Caso &c : casi) {
        SCOPED_TRACE(std::string(c.login) + "/" + c.pwd + "/" + c.destinatario);
        host->ScriviPar(QStringLiteral("EmailLogin"), QString::fromLatin1(c.login));
        host->ScriviPar(QStringLiteral("EmailPwd"), QString::fromLatin1(c.pwd));
        host->ScriviPar(QStringLiteral("EmailTo1"), QString::fromLatin1(c.destinatario));
        FrmSceltaStam d;
        d.ogOpzSta(&opz);
        bool visto = false, fuoco = false;
        RisposteProgrammate::ImpostaAzioneModale([&](QWidget *) {
            // As the user sees it, once the dialog has settled.
            QCoreApplication::processEvents();
            QLineEdit *campo = d.txt(c.campo);
            auto *scorri = d.PicPdfEmail->findChild<QScrollArea *>();
            ASSERT_NE(scorri, nullptr);
            visto = scorri->viewport()->rect().contains(
                QRect(campo->mapTo(scorri->viewport(), QPoint()), campo->size()));
            fuoco = d.focusWidget() == campo;
            d.oiRichDatiEmail = 200;
            d.hide();
        });
        d.oiRichDatiEmail = 1000;
        d.RichDatiEmail();
        RisposteProgrammate::ImpostaAzioneModale({});
        EXPECT_TRUE(visto);
        EXPECT_TRUE(fuoco);
    }
}
