// The customer list printed as a user does it: "Stampa" opens the print
// dialog over the list, "&STAMPA" starts the preview, the user pages forward
// and back and leaves with "&Esci". With CLIENTI_SCREENSHOTS naming a folder
// it also writes the pictures of the dialog, the progress window and a
// preview page for the documentation. The key the print button's tooltip
// names asks for the dialog too; an empty list says it has nothing to print.
#include "BancoLista.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/lista/GestLista.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "lists/frmClientiLis.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/FrmComlinStampa.h"
#include "printing/FrmVStampa.h"
#include "printing/frmStampaInCorso.h"
#include "services/Globali.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace
{

// Acts in the preview each time the engine waits for the user there.
class UtenteAnteprima : public QObject
{
  public:
    explicit UtenteAnteprima(QList<std::function<void(FrmVStampa &)>> passi) : m_passi(std::move(passi))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            FrmVStampa *v = FrmVStampaAperta();
            if (!v || !v->InAttesa() || m_passi.isEmpty())
                return;
            m_passi.takeFirst()(*v);
        });
        m_timer.start();
    }
    bool Finiti() const { return m_passi.isEmpty(); }

  private:
    QList<std::function<void(FrmVStampa &)>> m_passi;
    QTimer m_timer;
};

class StampaLista : public BancoLista
{
  protected:
    void SetUp() override
    {
        InstallaFinestreStampa();
        BancoLista::SetUp();
    }
    void TearDown() override
    {
        BancoLista::TearDown();
        ScaricaFinestreStampa();
        Attendi();
    }
};

QString cartellaSchermate()
{
    const QString c = qEnvironmentVariable("CLIENTI_SCREENSHOTS");
    if (!c.isEmpty())
        QDir().mkpath(c);
    return c;
}

} // namespace

TEST_F(StampaLista, PreviewOfTheListPagedForwardAndBack)
{
    Apri();
    ASSERT_GT(Righe(), 0);
    m_lista->ButtonComando(QStringLiteral("Stampa"));
    Attendi();
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    ASSERT_TRUE(dialogo->isVisible());
    EXPECT_EQ(dialogo->ogComlin(), static_cast<ComponenteStampa *>(Lista()));
    ASSERT_NE(Lista()->ogSta(), nullptr);
    dialogo->OptOrientamento(0)->setChecked(true);
    dialogo->OpzioniStampa().oiStaVid(OpzStampa::UscitaVideo);
    dialogo->OpzioniStampa().Fatt(1.0f);
    const QString schermate = cartellaSchermate();
    if (!schermate.isEmpty())
        dialogo->grab().save(schermate + QStringLiteral("/stampa-dialogo.png"));

    QStringList visti;
    int staAtt = -1;
    UtenteAnteprima utente({
        [&](FrmVStampa &v) {
            visti << v.labPage->text();
            staAtt = Globali::StaAtt;
            EXPECT_TRUE(v.isVisible());
            EXPECT_FALSE(v.Tela().isNull());
            if (!schermate.isEmpty()) {
                v.resize(1100, 820);
                v.grab().save(schermate + QStringLiteral("/stampa-anteprima.png"));
            }
            v.imaMuovi_Click(3);
        },
        [&](FrmVStampa &v) {
            visti << v.labPage->text();
            v.imaMuovi_Click(2);
            visti << v.labPage->text();
            v.ComEsci_Click();
        },
    });
    dialogo->CmdStampa->click();
    EXPECT_TRUE(utente.Finiti());
    EXPECT_EQ(visti, (QStringList{"Pag.001", "Pag.002", "Pag.001"}));
    EXPECT_EQ(staAtt, 1);
    EXPECT_EQ(Globali::StaAtt, 0);
    EXPECT_FALSE(dialogo->isVisible());
    Attendi();
    EXPECT_EQ(FrmVStampaAperta(), nullptr);
    EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join('|').toStdString();

    if (!schermate.isEmpty()) {
        frmStampaInCorso *avanzamento = frmStampaInCorsoPredef();
        avanzamento->Mostra();
        avanzamento->PaginaInStampa(3);
        avanzamento->grab().save(schermate + QStringLiteral("/stampa-in-corso.png"));
        avanzamento->Nascondi();
    }
}

TEST_F(StampaLista, ListExportedThroughTheDialogOnlyWhenNoPrintRuns)
{
    Apri();
    m_lista->ButtonComando(QStringLiteral("Stampa"));
    Attendi();
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    QTemporaryDir cartella;
    OpzStampa &opz = dialogo->OpzioniStampa();
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileForm(OpzStampa::FormatoTesto);
    opz.FileName(cartella.filePath(QStringLiteral("clienti.txt")));
    {
        const StatoStampa::InCorso altraStampa;
        dialogo->CmdStampa_Click();
    }
    EXPECT_FALSE(QFile::exists(opz.FileName()));
    ASSERT_EQ(RisposteProgrammate::Mostrati(QStringLiteral("msgBox")).size(), 1);
    DimenticaMessaggi();
    dialogo->CmdStampa_Click();
    QFile file(opz.FileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()).count(QStringLiteral("\r\n")), Righe() + 1);
    // The progress window holds the program no longer: at most it says
    // which file was written.
    frmStampaInCorso *avanzamento = frmStampaInCorsoPredef();
    EXPECT_TRUE(!avanzamento->isVisible() || avanzamento->windowModality() == Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Globali::StaAtt, 0);
}

// The file replaced or new, asked about or not: the question opens over
// the list, and after the print the list has the keyboard again in the
// control it was in, so that the key the tooltip names prints again.
TEST_F(StampaLista, AfterThePrintTheListHasTheKeyboardBack)
{
    Apri();
    QTemporaryDir cartella;
    const QString nome = cartella.filePath(QStringLiteral("clienti.txt"));
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    for (const bool esiste : {false, true}) {
        SCOPED_TRACE(esiste ? "replaced" : "new");
        if (esiste) {
            QFile f(nome);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("vecchio");
        }
        m_lista->activateWindow();
        m_lista->dbgRiga->setFocus();
        Attendi();
        ASSERT_EQ(QApplication::focusWidget(), m_lista->dbgRiga);
        m_lista->ButtonComando(QStringLiteral("Stampa"));
        Attendi();
        ASSERT_TRUE(dialogo->isVisible());
        OpzStampa &opz = dialogo->OpzioniStampa();
        opz.oiStaVid(OpzStampa::UscitaFile);
        opz.FileForm(OpzStampa::FormatoTesto);
        opz.FileName(nome);
        DimenticaMessaggi();
        RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
        dialogo->CmdStampa->click();
        Attendi();
        const QList<QVariantMap> domande = RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom);
        ASSERT_EQ(domande.size(), esiste ? 1 : 0);
        if (esiste) {
            EXPECT_TRUE(domande[0]
                            .value(QStringLiteral("testo"))
                            .toString()
                            .contains(QStringLiteral("Sostituirlo?")));
            EXPECT_EQ(domande[0].value(QStringLiteral("finestra")).value<QObject *>(), m_lista);
        }
        QFile file(nome);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(file.readAll()).count(QStringLiteral("\r\n")), Righe() + 1);
        EXPECT_EQ(QApplication::activeWindow(), m_lista);
        EXPECT_EQ(QApplication::focusWidget(), m_lista->dbgRiga);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::AltModifier);
        Attendi();
        EXPECT_TRUE(dialogo->isVisible());
        dialogo->hide();
    }
}

// The list's print has its own section: the options saved for it there come
// back when "Stampa" is pressed, the defaults of every print below them.
TEST_F(StampaLista, ListPrintReadsTheOptionsSavedForIt)
{
    QTemporaryDir cartella;
    const QString ini = cartella.filePath(QStringLiteral("terminale.ini"));
    const QString file = cartella.filePath(QStringLiteral("clienti.txt"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral(
                "[Opzioni Stampa]\nStaVid=1\nFileForm=1\n[Stampa Lista Clienti]\nStaVid=2\nFileName=%1\n")
                .arg(file)
                .toUtf8());
    f.close();
    const QString prima = Globali::PathIni;
    Globali::PathIni = ini;
    Apri();
    m_lista->ButtonComando(QStringLiteral("Stampa"));
    Attendi();
    Globali::PathIni = prima;
    OpzStampa &opz = FrmComlinStampaPredef()->OpzioniStampa();
    EXPECT_EQ(opz.SezioneStampa(), QStringLiteral("Stampa Lista Clienti"));
    EXPECT_EQ(opz.oiStaVid(), OpzStampa::UscitaFile);
    EXPECT_EQ(opz.FileName(), file);
    EXPECT_EQ(opz.FileForm(), OpzStampa::FormatoTesto);
}

TEST_F(StampaLista, TheKeyTheTooltipNamesPrintsTheList)
{
    Apri();
    ASSERT_GT(Righe(), 0);
    QAction *stampa = Lista()->Bottone(QStringLiteral("Stampa"));
    ASSERT_NE(stampa, nullptr);
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^\\((\\w)\\) ")).match(stampa->toolTip());
    ASSERT_TRUE(m.hasMatch()) << stampa->toolTip().toStdString();
    const auto tasto = Qt::Key(m.captured(1).toUpper()[0].unicode());
    FrmComlinStampa *dialogo = FrmComlinStampaPredef();
    // Wherever the focus is: in the grid or in a search field.
    for (QWidget *fuoco :
         {static_cast<QWidget *>(m_lista->dbgRiga), static_cast<QWidget *>(m_lista->txt(30))}) {
        SCOPED_TRACE(fuoco->objectName().toStdString());
        dialogo->hide();
        fuoco->setFocus();
        Attendi(1);
        QTest::keyClick(fuoco, tasto, Qt::AltModifier);
        Attendi();
        EXPECT_TRUE(dialogo->isVisible());
        EXPECT_EQ(dialogo->ogComlin(), static_cast<ComponenteStampa *>(Lista()));
    }
    dialogo->hide();
}
