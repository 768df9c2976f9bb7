// The common form framework on a real window: keys through the event adapter
// with key preview, colours, the date check, focus order, load steps.
#include "components/forms/AdattatoreEventi.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/ColoriVb.h"
#include "components/forms/ControlArray.h"
#include "components/forms/RisposteProgrammate.h"
#include "services/Colori.h"
#include "services/Focus.h"
#include "services/FormComune.h"
#include "services/FormPrepara.h"
#include "services/Globali.h"
#include "services/Tasti.h"
#include "services/frmConn.h"
#include "services/frmTrova.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace CT = CodiciTasto;
namespace RP = RisposteProgrammate;

namespace
{

// A window with four fields, a notes box and a button, wired the way the
// program's windows are: the form sees every key first.
class Maschera : public QWidget, public FormComune
{
  public:
    ControlArray<QLineEdit> txt{"txt"};
    QPlainTextEdit *note;
    QPushButton *ok;
    QStringList comandi;
    QStringList keyUp;
    QString parametro;
    QHash<int, QHash<QString, QVariant>> gestori;

    Maschera()
    {
        auto *l = new QVBoxLayout(this);
        for (int i : {10, 20, 30, 40})
            l->addWidget(txt.Aggiungi(i, new QLineEdit(this)));
        note = new QPlainTextEdit(this);
        l->addWidget(note);
        ok = new QPushButton("Ok", this);
        l->addWidget(ok);
        auto *a = new AdattatoreEventi(this);
        GestoriForm g;
        g.KeyDown = [this](int &k, int s) {
            if (GestisciTastiCtrl(k, s, this) > 0)
                return;
            ComandoDaTasto(k, s, this);
        };
        g.KeyPress = [this](int &ascii) { ascii = FiltraTasto(ascii, this); };
        a->ImpostaKeyPreview(g);
        a->Collega(txt, {});
    }
    QWidget *finestra() override { return this; }
    void ButtonComando(const QString &k) override { comandi << k; }
    bool ComandoDisponibile(const QString &k) const override { return k != "Menu"; }
    QString ParametroApertura() const override { return parametro; }
    QWidget *CampoTesto(int i, bool) override { return txt.Trova(i); }
    void txt_KeyUp(int i, int &k, int s) override { keyUp << QString("%1,%2,%3").arg(i).arg(k).arg(s); }
    void ParGestore(int g, const QString &n, const QVariant &v) override { gestori[g][n] = v; }
};

class FormComuneTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        RP::Azzera();
        Globali::TastierinoVirgola = "S";
        f.show();
        QApplication::setActiveWindow(&f);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    }
    void TearDown() override
    {
        RP::Azzera();
        Globali::ColBackGotFocus = Globali::ColBackLostFocus = 0x80000005L;
        Globali::FormConErrori.clear();
    }
    Maschera f;
};

} // namespace

TEST_F(FormComuneTest, TastierinoScriveLaVirgola)
{
    f.txt(10)->setFocus();
    QTest::keyClick(f.txt(10), Qt::Key_1);
    QTest::keyClick(f.txt(10), Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(f.txt(10), Qt::Key_5);
    // The full stop of the main keyboard stays a full stop.
    QTest::keyClick(f.txt(10), Qt::Key_Period);
    EXPECT_EQ(f.txt(10)->text(), "1,5.");
    Globali::TastierinoVirgola = "N";
    QTest::keyClick(f.txt(10), Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(f.txt(10)->text(), "1,5..");
}

TEST_F(FormComuneTest, FiltraTastoInvioEsc)
{
    EXPECT_EQ(FiltraTasto(13, &f), 0);
    EXPECT_EQ(FiltraTasto(27, &f), 0);
    EXPECT_EQ(FiltraTasto(13, &f, false), 13);
    EXPECT_EQ(FiltraTasto('a', &f), 'a');
    // Enter still makes a new line in the notes.
    f.note->setFocus();
    QTest::keyClicks(f.note, "riga");
    QTest::keyClick(f.note, Qt::Key_Return);
    QTest::keyClicks(f.note, "due");
    EXPECT_EQ(f.note->toPlainText(), "riga\ndue");
}

TEST_F(FormComuneTest, CtrlFTrovaECtrlHSostituisce)
{
    f.txt(20)->setText("Via Roma 1, Roma");
    f.txt(20)->setFocus();
    f.txt(20)->setCursorPosition(0);
    RP::Accoda("trova", QVariantMap{{"cerca", "roma"}, {"azione", "trova"}});
    QTest::keyClick(f.txt(20), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(f.txt(20)->selectionStart(), 4);
    EXPECT_EQ(f.txt(20)->selectedText(), "Roma");
    // The key was taken: no "f" typed, no command run.
    EXPECT_EQ(f.txt(20)->text(), "Via Roma 1, Roma");
    // Ctrl+G finds the next one.
    QTest::keyClick(f.txt(20), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(f.txt(20)->selectionStart(), 12);

    RP::Accoda(
        "trova",
        QVariantMap{{"cerca", "Roma"}, {"sostituisci", "Milano"}, {"azione", "tutto"}, {"maiuscole", true}});
    QTest::keyClick(f.txt(20), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(f.txt(20)->text(), "Via Milano 1, Milano");
    EXPECT_TRUE(RP::UltimoMostrato("trova").value("sostituire").toBool());
}

TEST_F(FormComuneTest, FinestraTrovaConTastiVeri)
{
    f.note->setPlainText("uno due uno");
    f.note->setFocus();
    RP::ImpostaAzioneModale([](QWidget *w) {
        auto *d = qobject_cast<frmTrova *>(w);
        ASSERT_TRUE(d);
        d->txtCerca()->setText("uno");
        d->txtSostituisci()->setText("tre");
        QTest::mouseClick(d->comTrova(), Qt::LeftButton);
        QTest::mouseClick(d->comSostituisci(), Qt::LeftButton);
        d->accept();
    });
    QTest::keyClick(f.note, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(f.note->toPlainText(), "tre due uno");
    // After replacing, the next occurrence is selected.
    EXPECT_EQ(f.note->textCursor().selectedText(), "uno");
}

TEST_F(FormComuneTest, SostituireInCampoDiSolaLetturaNonCambiaNulla)
{
    f.txt(30)->setText("abc abc");
    f.txt(30)->setReadOnly(true);
    f.txt(30)->setFocus();
    RP::Accoda("trova", QVariantMap{{"cerca", "abc"}, {"sostituisci", "x"}, {"azione", "tutto"}});
    QTest::keyClick(f.txt(30), Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(f.txt(30)->text(), "abc abc");
}

TEST_F(FormComuneTest, ComandiDaiTasti)
{
    f.txt(10)->setFocus();
    QTest::keyClick(f.txt(10), Qt::Key_PageDown);
    QTest::keyClick(f.txt(10), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(f.txt(10), Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(f.txt(10), Qt::Key_M, Qt::AltModifier); // not available now
    QTest::keyClick(f.txt(10), Qt::Key_S, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.comandi, (QStringList{"Successivo", "Inizio", "Salva"}));
    // In the notes Page Down scrolls the text, not the records.
    f.note->setFocus();
    QTest::keyClick(f.note, Qt::Key_PageDown);
    EXPECT_EQ(f.comandi.size(), 3);
}

TEST_F(FormComuneTest, UnaCellaInModificaEDellaSuaGriglia)
{
    // The open cell editor of a grid is the grid's: its paging and Ctrl keys
    // are no record commands and no find; Alt commands still run.
    auto *griglia = new QTableWidget(2, 2, &f);
    f.layout()->addWidget(griglia);
    griglia->setItem(0, 0, new QTableWidgetItem("Roma"));
    griglia->setFocus();
    griglia->setCurrentCell(0, 0);
    griglia->editItem(griglia->item(0, 0));
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(griglia->isAncestorOf(editor));
    RP::Accoda("trova", QVariantMap{{"cerca", "Roma"}});
    QTest::keyClick(editor, Qt::Key_PageDown);
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(f.comandi.isEmpty()) << f.comandi.join(',').toStdString();
    EXPECT_TRUE(RP::Mostrati("trova").isEmpty());
    QTest::keyClick(editor, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(f.comandi, QStringList{"Salva"});
    delete griglia;
}

TEST_F(FormComuneTest, ColoraCampiTieneIlColoreDiErrore)
{
    Globali::ColBackGotFocus = 0x00FFFF;
    Globali::ColBackLostFocus = 0xFFFFFF;
    ColoriVb::ImpostaBackColor(f.txt(20), Globali::ColBackErrore);
    ColoraCampi(f.txt(10), 0);
    EXPECT_EQ(ColoriVb::BackColor(f.txt(10)), 0x00FFFF);
    ColoraCampi(f.txt(20), 0);
    EXPECT_EQ(ColoriVb::BackColor(f.txt(20)), Globali::ColBackErrore);
    // Only one field keeps the focus colour.
    EXPECT_EQ(ColoriVb::BackColor(f.txt(10)), 0xFFFFFF);
    ColoraCampi(f.txt(20), 1);
    EXPECT_EQ(ColoriVb::BackColor(f.txt(20)), 0x00FFFF);

    ColoriVb::ImpostaBackColor(f.txt(30), Globali::ColBackErrore);
    ColoreCampo(f.txt(30));
    EXPECT_EQ(ColoriVb::BackColor(f.txt(30)), Globali::ColBackErrore);
    ColoreCampo(f.txt(30), true);
    EXPECT_EQ(ColoriVb::BackColor(f.txt(30)), 0xFFFFFF);
}

TEST_F(FormComuneTest, ControllaCampoData)
{
    Globali::DataMinima = "01/01/1900";
    f.setWindowTitle("Clienti");
    struct Caso {
        const char *testo;
        const char *messaggio;
    };
    const Caso casi[] = {{"", ""},
                         {"15/11/2024", ""},
                         {"01/01/1900", ""},
                         {"31/12/1899", "Data troppo piccola"},
                         {"31/02/2024", "Data non valida"},
                         {"domani", "Data non valida"}};
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.testo);
        f.txt(40)->setText(c.testo);
        ColoriVb::ImpostaBackColor(f.txt(40), 0x123456);
        int modo = 1;
        QString msg = "vecchio";
        const bool ok = ControllaCampoData(f.txt(40), -2, modo, {}, &msg, 0).toBool();
        EXPECT_EQ(msg, QString(c.messaggio));
        EXPECT_EQ(ok, msg.isEmpty());
        EXPECT_EQ(ColoriVb::BackColor(f.txt(40)), ok ? Globali::ColBackNormale : Globali::ColBackErrore);
    }
    EXPECT_EQ(Globali::FormConErrori, "Clienti");
    // Mode 2 moves the focus and leaves the colour alone; with the message box flag the message shows.
    RP::ImpostaSenzaModali(true);
    f.txt(10)->setFocus();
    f.txt(40)->setText("01/01/1800");
    ColoriVb::ImpostaBackColor(f.txt(40), 0x123456);
    int modo = 2;
    ControllaCampoData(f.txt(40), -2, modo, 0x00FF00, nullptr, 1);
    EXPECT_EQ(ColoriVb::BackColor(f.txt(40)), 0x123456);
    EXPECT_EQ(QApplication::focusWidget(), f.txt(40));
    EXPECT_EQ(RP::UltimoMostrato(RP::MsgCom).value("testo").toString(), "Data troppo piccola");
    f.txt(40)->setText("02/01/2000");
    ControllaCampoData(f.txt(40), -2, modo, 0x00FF00);
    EXPECT_EQ(ColoriVb::BackColor(f.txt(40)), 0x00FF00);
}

TEST_F(FormComuneTest, CampoSuccessivoInOrdineDiTab)
{
    f.txt(30)->setEnabled(false);
    f.txt(10)->setFocus();
    CampoSuccessivo(&f, 1);
    EXPECT_EQ(QApplication::focusWidget(), f.txt(20));
    CampoSuccessivo(&f, 1); // txt(30) is disabled
    EXPECT_EQ(QApplication::focusWidget(), f.txt(40));
    CampoSuccessivo(&f, 1, 1); // Shift: back
    EXPECT_EQ(QApplication::focusWidget(), f.txt(20));
    CampoSuccessivo(&f, 2);
    EXPECT_EQ(QApplication::focusWidget(), f.note);
    CampoSuccessivo(-1);
    EXPECT_EQ(QApplication::focusWidget(), f.txt(40));
    CampoSuccessivo(1, f.txt(10));
    EXPECT_EQ(QApplication::focusWidget(), f.txt(20));
}

TEST_F(FormComuneTest, SelezionaTesto)
{
    f.txt(10)->setText("abcdef");
    f.txt(10)->setFocus();
    f.txt(10)->setCursorPosition(2);
    SelezionaTesto();
    EXPECT_EQ(f.txt(10)->selectedText(), "abcdef");
    f.txt(20)->setText("xyz");
    SelezionaTesto(f.txt(20));
    EXPECT_EQ(f.txt(20)->selectedText(), "xyz");
}

TEST_F(FormComuneTest, RipetiKeyUp)
{
    RipetiKeyUp(&f, 30, CT::F2, 0);
    EXPECT_EQ(QApplication::focusWidget(), f.txt(30));
    EXPECT_EQ(f.keyUp, QStringList{"30,113,0"});
}

TEST_F(FormComuneTest, PreparaFormSolaLetturaEGestori)
{
    struct Caso {
        const char *parametro;
        int atteso;
    };
    for (const Caso &c :
         {Caso{"RO=/RO", 0}, Caso{"/ro", 0}, Caso{"", 1}, Caso{"RO=no;X=1", 1}, Caso{"X=1|RO=/RO", 0}}) {
        f.parametro = c.parametro;
        f.oiAbilRW(5);
        PreparaForm(&f, 1, 0, 0, 0, 0, 0, 1, 1, 1, "");
        EXPECT_EQ(f.oiAbilRW(), c.atteso) << c.parametro;
    }
    EXPECT_TRUE(f.gestori[FormComune::GestorePagine].contains("RisVid"));
    EXPECT_FALSE(f.gestori.contains(FormComune::GestoreLinee));

    PreparaForm(&f, 1, 0, 0, 0, 0, 0, 0, 0, 0, "");
    EXPECT_TRUE(frmConn::Caricato());
    EXPECT_EQ(frmConn::Testo(), "Caricamento maschera");
    FinePreparaForm(&f, 1, 0, 1, 0, 0, 0, 0, 1);
    EXPECT_FALSE(frmConn::Caricato());
    EXPECT_EQ(f.gestori[FormComune::GestoreLinee]["AbilRW"].toInt(), 0);
    EXPECT_TRUE(f.gestori[FormComune::GestorePagine]["RisVidFatta"].toBool());
}
