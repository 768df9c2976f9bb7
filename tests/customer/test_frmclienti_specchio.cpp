// Check boxes, option groups and combos: the stored codes shown after a read
// and a clear, and the user's clicks, keys and choices written back; merely
// viewing never marks the record changed.
#include "BancoClienti.h"

#include "components/forms/CodiciTasto.h"
#include "components/pagine/GestPagine.h"
#include "customer/TabelleSpecchio.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <functional>

class Specchio : public BancoClienti
{
  protected:
    void SetUp() override
    {
        BancoClienti::SetUp();
        ASSERT_NE(Apri(), nullptr);
        const QStringList k = Clienti(QStringLiteral("1 = 1")).value(0).split(u'|');
        m_chiave =
            QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'").arg(k[0], k[1], k[2]);
        m_k = k;
    }
    // Writes the codes into the stored account and reads it again.
    void Rileggi(const QString &assegnazioni)
    {
        Esegui(QStringLiteral("Update PianoConti Set ") + assegnazioni + m_chiave);
        ASSERT_TRUE(Leggi(m_k[0], m_k[1], m_k[2]));
    }
    // The texts of every box of the form, in field order.
    QStringList Testi() const
    {
        QStringList testi;
        for (auto [i, t] : m_form->txt)
            testi << t->text();
        return testi;
    }
    QString m_chiave;
    QStringList m_k;
};

TEST_F(Specchio, CheckBoxesShowTheirCodes)
{
    Rileggi(QStringLiteral("SiValuta = 's', Rischio = NULL, RagRB = ' S', BlackList = 'X', CassaPrev = 'N', "
                           "IvaSosp = 'S'"));
    EXPECT_EQ(m_form->Che(4110)->checkState(), Qt::Checked);
    EXPECT_EQ(m_form->Che(4150)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(m_form->Che(4030)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(m_form->Che(1115)->checkState(), Qt::Unchecked);
    EXPECT_EQ(m_form->Che(5065)->checkState(), Qt::Unchecked);
    EXPECT_EQ(m_form->Che(5070)->checkState(), Qt::Checked);
    EXPECT_FALSE(m_form->ogComPag()->RecordModificato());

    // Mirroring twice changes nothing the second time.
    const QStringList prima = Testi();
    m_form->AggNonText();
    EXPECT_EQ(prima, Testi());
    EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
}

TEST_F(Specchio, OptionGroupsShowTheirCodes)
{
    struct Caso {
        const char *giuridico, *sesso, *pdf;
        int optGiu, optSesso, optPdf;
    };
    const Caso casi[] = {{"g", "F", "M", 0, 1, 2},
                         {"", "", "", -1, -1, 0},
                         {"F", "X", "S", 1, -1, 1},
                         {"X", "M", "D", -1, 0, 0}};
    for (const Caso &c : casi) {
        Rileggi(QStringLiteral("StatoGiurid = '%1', Sesso = '%2', FEAllegPdf = '%3'")
                    .arg(QString::fromLatin1(c.giuridico), QString::fromLatin1(c.sesso),
                         QString::fromLatin1(c.pdf)));
        auto scelta = [](ControlArray<QRadioButton> &g) {
            for (auto [i, o] : g)
                if (o->isChecked())
                    return i;
            return -1;
        };
        EXPECT_EQ(scelta(m_form->OptStatoGiu), c.optGiu) << c.giuridico;
        if (c.optGiu != 0) {
            EXPECT_EQ(scelta(m_form->OptSesso), c.optSesso) << c.sesso;
        }
        EXPECT_EQ(scelta(m_form->OptFEAllegPdf), c.optPdf) << c.pdf;
        EXPECT_FALSE(m_form->ogComPag()->RecordModificato()) << c.giuridico << c.sesso << c.pdf;
    }
}

TEST_F(Specchio, CombosShowTheirCodesAndTheLetterOfIntentFields)
{
    Rileggi(QStringLiteral("RagOrd = 'X', FENoStampaLivelli = NULL, PrezzoDDT = '0', EmailPEC = '3', "
                           "EmailFat = '0', RifComunicIntenti = '3', ImportoDichIntenti = 1500, "
                           "DataDAIntenti = '2024-01-01'"));
    EXPECT_EQ(m_form->Combo(5135)->currentIndex(), -1);
    EXPECT_EQ(m_form->Combo(5192)->currentText(), "Standard");
    EXPECT_EQ(m_form->Combo(5120)->currentText(), "0 No");
    EXPECT_EQ(m_form->Combo(1089)->currentIndex(), 3);
    EXPECT_EQ(m_form->Combo(1085)->currentIndex(), 0);
    EXPECT_EQ(m_form->Combo(4200)->currentIndex(), 2);
    EXPECT_FALSE(m_form->txt(4205)->isEnabledTo(m_form->PicPagine(3)));
    EXPECT_EQ(m_form->txt(4205)->text(), "");
    EXPECT_TRUE(m_form->txt(4210)->isEnabledTo(m_form->PicPagine(3)));
    EXPECT_FALSE(m_form->txt(4210)->text().isEmpty());

    Rileggi(
        QStringLiteral("RifComunicIntenti = '2', ImportoDichIntenti = 1500, DataDAIntenti = '2024-01-01'"));
    EXPECT_TRUE(m_form->txt(4205)->isEnabledTo(m_form->PicPagine(3)));
    EXPECT_FALSE(m_form->txt(4205)->text().isEmpty());
    EXPECT_FALSE(m_form->txt(4210)->isEnabledTo(m_form->PicPagine(3)));
    EXPECT_EQ(m_form->txt(4210)->text(), "");

    // No reference type (empty, or the letter "O" of a new record): no item,
    // the three fields open and kept, whatever the record before showed.
    for (const char *rif : {"NULL", "'O'"}) {
        Rileggi(QStringLiteral("RifComunicIntenti = '2', DataDAIntenti = NULL"));
        Rileggi(
            QStringLiteral("RifComunicIntenti = %1, DataDAIntenti = '2024-02-01', ImportoDichIntenti = 900, "
                           "RagOrd = 'S', PrezzoDDT = '2'")
                .arg(QLatin1String(rif)));
        EXPECT_EQ(m_form->Combo(4200)->currentIndex(), -1) << rif;
        for (int i : {4205, 4210, 4215})
            EXPECT_TRUE(m_form->txt(i)->isEnabledTo(m_form->PicPagine(3))) << rif << i;
        EXPECT_FALSE(m_form->txt(4210)->text().isEmpty()) << rif;
        EXPECT_FALSE(m_form->txt(4205)->text().isEmpty()) << rif;
        // Other combos with a code outside their table show no item either.
        Rileggi(QStringLiteral("RagOrd = 'X', PrezzoDDT = '9'"));
        EXPECT_EQ(m_form->Combo(5135)->currentIndex(), -1) << rif;
        EXPECT_EQ(m_form->Combo(5120)->currentIndex(), -1) << rif;
    }
}

TEST_F(Specchio, ClearingForANewRecordMirrorsTheDefaults)
{
    Rileggi(QStringLiteral("SiValuta = 'S', StatoGiurid = 'F', Sesso = 'F', FEAllegPdf = 'M'"));
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Nuovo")).toBool());
    EXPECT_EQ(m_form->Che(4110)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(m_form->OptStatoGiu(0)->isChecked());
    for (auto [i, o] : m_form->OptFEAllegPdf)
        EXPECT_FALSE(o->isChecked()) << i;
    EXPECT_EQ(m_form->txt(5197)->text(), "D");
    EXPECT_EQ(m_form->Combo(5130)->currentText(), "T Da TabFatt");
    // A new record is a company, whose sex is "Maschio", not to be changed.
    EXPECT_EQ(m_form->txt(1130)->text(), "M");
    EXPECT_TRUE(m_form->OptSesso(0)->isChecked());
    EXPECT_TRUE(m_form->Fra(1130)->testAttribute(Qt::WA_ForceDisabled));
    EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
}

TEST_F(Specchio, ClicksWriteTheCodesBack)
{
    Rileggi(QStringLiteral("Rischio = NULL, StatoGiurid = 'G', Sesso = 'M', FEAllegPdf = 'D'"));
    m_form->SelezionaTab(4);
    Attendi();
    const QPoint casella(6, m_form->Che(4150)->height() / 2);
    QTest::mouseClick(m_form->Che(4150), Qt::LeftButton, {}, casella);
    EXPECT_EQ(m_form->txt(4150)->text(), "S");
    QTest::mouseClick(m_form->Che(4150), Qt::LeftButton, {}, casella);
    EXPECT_EQ(m_form->txt(4150)->text(), "N");
    EXPECT_TRUE(m_form->ogComPag()->RecordModificato());

    m_form->SelezionaTab(1);
    Attendi();
    m_form->txt(1140)->setText(QStringLiteral("01/02/1980"));
    m_form->OptStatoGiu(1)->click();
    EXPECT_EQ(m_form->txt(1120)->text(), "F");
    EXPECT_TRUE(m_form->txt(1140)->isEnabled());
    m_form->OptStatoGiu(0)->click();
    EXPECT_EQ(m_form->txt(1120)->text(), "G");
    EXPECT_EQ(m_form->txt(1140)->text(), "");
    EXPECT_FALSE(m_form->txt(1140)->isEnabled());
    EXPECT_EQ(m_form->txt(1130)->text(), "M");
    m_form->OptStatoGiu(1)->click();
    EXPECT_TRUE(m_form->txt(1140)->isEnabled());
    EXPECT_EQ(m_form->txt(1140)->text(), "");
    m_form->OptSesso(1)->click();
    EXPECT_EQ(m_form->txt(1130)->text(), "F");

    m_form->SelezionaTab(5);
    Attendi();
    m_form->OptFEAllegPdf(2)->click();
    EXPECT_EQ(m_form->txt(5197)->text(), "M");

    m_form->Combo(5192)->setCurrentIndex(0);
    m_form->Combo_LostFocus(5192);
    EXPECT_EQ(m_form->txt(5192)->text(), "");
    m_form->Combo(5130)->setCurrentIndex(3);
    m_form->Combo_LostFocus(5130);
    EXPECT_EQ(m_form->txt(5130)->text(), "A");
    m_form->Combo(1087)->setCurrentIndex(4);
    m_form->Combo_LostFocus(1087);
    EXPECT_EQ(m_form->txt(1087)->text(), "4");

    m_form->SelezionaTab(4);
    Attendi();
    m_form->Combo(4200)->setCurrentIndex(2);
    m_form->Combo_LostFocus(4200);
    EXPECT_EQ(m_form->txt(4200)->text(), "3");
    EXPECT_EQ(m_form->txt(4205)->text(), "");
    EXPECT_FALSE(m_form->txt(4205)->isEnabled());
    EXPECT_TRUE(m_form->txt(4210)->isEnabled());
}

TEST_F(Specchio, ClearingGesturesActOnlyOnANewRecord)
{
    Rileggi(QStringLiteral("Rischio = 'S', Sesso = 'M', RagDDT = 'S', EmailFat = '2'"));
    int canc = CodiciTasto::Delete;
    m_form->Che_KeyUp(4150, canc, 0);
    EXPECT_EQ(m_form->Che(4150)->checkState(), Qt::Checked);
    m_form->Opt_KeyUp(m_form->OptSesso, canc);
    EXPECT_TRUE(m_form->OptSesso(0)->isChecked());

    // The combos clear in any state; Shift+Delete does nothing.
    int shiftCanc = CodiciTasto::Delete;
    m_form->Combo_KeyDown(5130, shiftCanc, CodiciTasto::MaskShift);
    EXPECT_EQ(m_form->txt(5130)->text(), "S");
    m_form->Combo_KeyDown(5130, canc, 0);
    EXPECT_EQ(m_form->Combo(5130)->currentIndex(), -1);
    EXPECT_EQ(m_form->txt(5130)->text(), "");
    canc = CodiciTasto::Delete;
    m_form->Combo_KeyDown(1085, canc, 0);
    EXPECT_EQ(m_form->Combo(1085)->currentIndex(), 0);
    EXPECT_EQ(m_form->txt(1085)->text(), "0");

    Rispondi(2);
    ASSERT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Nuovo")).toBool());
    m_form->Che(4150)->setCheckState(Qt::Checked);
    canc = CodiciTasto::Delete;
    m_form->Che_KeyUp(4150, canc, 0);
    EXPECT_EQ(m_form->Che(4150)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(m_form->txt(4150)->text(), "");
    m_form->Che_MouseDown(4150, 2);
    EXPECT_EQ(m_form->txt(4150)->text(), "");

    m_form->OptStatoGiu(1)->click();
    m_form->txt(1140)->setText(QStringLiteral("01/01/1990"));
    m_form->Opt_MouseDown(m_form->OptStatoGiu, 2);
    for (auto [i, o] : m_form->OptStatoGiu)
        EXPECT_FALSE(o->isChecked()) << i;
    EXPECT_EQ(m_form->txt(1120)->text(), "");
    EXPECT_EQ(m_form->txt(1140)->text(), "01/01/1990") << "clearing the group runs no person switch";
    m_form->Opt_MouseDown(m_form->OptSesso, 2);
    EXPECT_FALSE(m_form->OptSesso(0)->isChecked());
    EXPECT_FALSE(m_form->OptSesso(1)->isChecked());
    EXPECT_EQ(m_form->txt(1130)->text(), "");
}

// A greyed control (disabled itself, or in a disabled frame: a company's
// "Maschio") takes no clearing gesture, neither the right button nor Delete:
// nothing changes. Enabled again, the same gesture clears it.
TEST_F(Specchio, GreyedControlsTakeNoClearingGesture)
{
    frmClienti *f = m_form;
    struct Caso {
        const char *nome;
        int campo;                         // the hidden field behind the control
        std::function<QWidget *()> spegni; // greys the control, a value chosen
        std::function<void()> riaccendi;
        bool destro; // the right button clears it too
    };
    const auto societa = [f] {
        f->OptStatoGiu(1)->click();
        f->OptSesso(1)->click();
        f->OptStatoGiu(0)->click();
    };
    const Caso casi[] = {
        {"a company's Maschio", 1130, [&] { return societa(), f->OptSesso(0); },
         [f] { f->OptStatoGiu(1)->click(); }, true},
        {"a company's Femmina", 1130, [&] { return societa(), f->OptSesso(1); },
         [f] { f->OptStatoGiu(1)->click(); }, true},
        {"an option greyed itself", 1130,
         [f] {
             f->OptStatoGiu(1)->click();
             f->OptSesso(1)->click();
             f->OptSesso(1)->setEnabled(false);
             return f->OptSesso(1);
         },
         [f] { f->OptSesso(1)->setEnabled(true); }, true},
        {"a check box of a greyed page", 4150,
         [f] {
             f->Che(4150)->setCheckState(Qt::Checked);
             f->Che(4150)->parentWidget()->setEnabled(false);
             return f->Che(4150);
         },
         [f] { f->Che(4150)->parentWidget()->setEnabled(true); }, true},
        {"a greyed combo", 5130,
         [f] {
             f->Combo(5130)->setCurrentIndex(1);
             f->Combo_LostFocus(5130);
             f->Combo(5130)->setEnabled(false);
             return f->Combo(5130);
         },
         [f] { f->Combo(5130)->setEnabled(true); }, false},
    };
    const std::pair<const char *, std::function<void(QWidget *)>> gesti[] = {
        {"right button", [](QWidget *w) { QTest::mouseClick(w, Qt::RightButton); }},
        {"Delete", [](QWidget *w) { QTest::keyClick(w, Qt::Key_Delete); }}};
    // What the gestures could change: the fields and the controls' values.
    const auto valori = [&] {
        QStringList v = Testi();
        for (auto *gruppo : {&f->OptStatoGiu, &f->OptSesso})
            for (auto [i, o] : *gruppo)
                v << QString::number(o->isChecked());
        v << QString::number(f->Che(4150)->checkState()) << QString::number(f->Combo(5130)->currentIndex());
        return v;
    };
    for (const Caso &c : casi) {
        for (const auto &[gesto, fai] : gesti) {
            if (!c.destro && QLatin1String(gesto) == QLatin1String("right button"))
                continue;
            SCOPED_TRACE(std::string(c.nome) + ", " + gesto);
            Rispondi(2);
            ASSERT_TRUE(f->ogComPag()->EseguiComando(QStringLiteral("Nuovo")).toBool());
            f->MostraCampo(f->txt(c.campo));
            Attendi();
            QWidget *w = c.spegni();
            ASSERT_FALSE(w->isEnabled());
            ASSERT_FALSE(f->txt(c.campo)->text().isEmpty());
            const QStringList prima = valori();
            fai(w);
            Attendi();
            EXPECT_EQ(valori(), prima);

            c.riaccendi();
            ASSERT_TRUE(w->isEnabled());
            fai(w);
            Attendi();
            EXPECT_TRUE(f->txt(c.campo)->text().isEmpty()) << f->txt(c.campo)->text().toStdString();
        }
    }
}

TEST_F(Specchio, ViewingPagesNeverMarksTheRecordChanged)
{
    Rileggi(QStringLiteral("StatoGiurid = 'G', DatNascita = '1970-01-01', GruppoContr = '01', "
                           "MastroContr = '10', ContoContr = '0001'"));
    for (int tab = 1; tab <= 11; ++tab) {
        m_form->SelezionaTab(tab);
        Attendi();
    }
    m_form->txt(4120)->setFocus();
    m_form->txt_GotFocus(4120);
    EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
    m_form->ButtonComando(QStringLiteral("Successivo"));
    Attendi();
    EXPECT_FALSE(m_form->ogComPag()->RecordModificato());
}

// The legal status of the record shown decides the sex field on every page:
// a company's is "M", kept as stored or given when it has none, and saved
// wherever the user stands; a person is asked for one and taken to it; and
// showing a record alone never marks it changed.
TEST_F(Specchio, ACompanyIsSavedFromAnyPageAndAPersonIsAskedForItsSex)
{
    const QStringList due = Clienti(QStringLiteral("1 = 1"), 2);
    ASSERT_EQ(due.size(), 2);
    const QStringList a = due[0].split(u'|'), b = due[1].split(u'|');
    const auto dove = [](const QStringList &k) {
        return QStringLiteral(" Where Gruppo = '%1' And Mastro = '%2' And Conto = '%3'")
            .arg(k[0], k[1], k[2]);
    };
    struct Caso {
        int scheda;                  // the tab shown when the second is read
        const char *primo, *secondo; // their legal status
        const char *sessoSecondo;    // as stored (NULL for none)
        bool chiesto;                // the save asks for the sex
        const char *salvato;         // Sesso stored in the end
    };
    const Caso casi[] = {{4, "F", "G", "NULL", false, "M"}, {1, "F", "G", "'M'", false, "M"},
                         {5, "F", "G", "'M'", false, "M"},  {4, "G", "F", "NULL", true, "F"},
                         {1, "G", "F", "''", true, "F"},    {4, "G", "F", "'M'", false, "M"}};
    const QString obbligatorio = QStringLiteral("Il campo \"Sesso\" è obbligatorio.");
    int n = 0;
    for (const Caso &c : casi) {
        const std::string quale = QStringLiteral("caso %1").arg(++n).toStdString();
        Esegui(QStringLiteral("Update PianoConti Set StatoGiurid = '%1', Sesso = 'M'")
                   .arg(QLatin1String(c.primo)) +
               dove(a));
        Esegui(QStringLiteral("Update PianoConti Set StatoGiurid = '%1', Sesso = %2")
                   .arg(QLatin1String(c.secondo), QLatin1String(c.sessoSecondo)) +
               dove(b));
        m_form->SelezionaTab(1);
        Attendi();
        ASSERT_TRUE(Leggi(a[0], a[1], a[2])) << quale;
        m_form->SelezionaTab(c.scheda);
        Attendi();
        ASSERT_TRUE(Leggi(b[0], b[1], b[2])) << quale;
        EXPECT_FALSE(m_form->ogComPag()->RecordModificato()) << quale;
        // Its own state: a page not shown is disabled as a whole.
        EXPECT_EQ(m_form->Fra(1130)->testAttribute(Qt::WA_ForceDisabled), *c.secondo == 'G') << quale;
        if (*c.secondo == 'G') {
            EXPECT_EQ(m_form->txt(1130)->text(), "M") << quale;
            EXPECT_TRUE(m_form->OptSesso(0)->isChecked()) << quale;
        }

        // Only "Telefono 2" changed.
        m_form->txt(1065)->setText(QStringLiteral("02 %1").arg(n));
        DimenticaMessaggi();
        const bool salvato = m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool();
        EXPECT_EQ(salvato, !c.chiesto) << quale << Messaggi().join('|').toStdString();
        EXPECT_EQ(Messaggi().contains(obbligatorio), c.chiesto) << quale;
        if (c.chiesto) {
            // Taken to the field, whatever page the save was asked from.
            Attendi();
            EXPECT_EQ(m_form->TabSelezionato(), 1) << quale;
            EXPECT_EQ(m_form->focusWidget(), m_form->OptSesso(0)) << quale;
            m_form->OptSesso(1)->click();
            EXPECT_TRUE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool())
                << quale << Messaggi().join('|').toStdString();
        } else {
            EXPECT_EQ(m_form->TabSelezionato(), c.scheda) << quale;
        }
        EXPECT_EQ(Valore(QStringLiteral("Select Telefono1 From PianoConti") + dove(b)).toString(),
                  QStringLiteral("02 %1").arg(n))
            << quale;
        EXPECT_EQ(Valore(QStringLiteral("Select Sesso From PianoConti") + dove(b)).toString(),
                  QLatin1String(c.salvato))
            << quale;
    }
}

// A required field left empty is shown to the user wherever the save was
// asked from: its page comes up and the control that stands for it (its
// box, check box, combo or option) has the focus.
TEST_F(Specchio, ARequiredFieldRefusedIsShownOnItsPage)
{
    const struct {
        const char *assegnazione;
        int scheda;            // the tab shown when saving
        const char *campo;     // its caption in the message
        int schedaCampo;       // the tab that holds it
        const char *controllo; // what has the focus: txt, Che, Combo or OptSesso
        int indice;
    } casi[] = {
        {"Moneta = NULL", 1, "Moneta", 4, "txt", 4100},
        {"Rischio = NULL", 11, "Rischio", 4, "Che", 4150},
        {"RagDDT = NULL", 4, "Raggruppo DDT in fattura", 5, "Combo", 5130},
        {"StatoGiurid = 'F', Sesso = NULL", 9, "Sesso", 1, "OptSesso", 0},
    };
    for (const auto &c : casi) {
        m_form->SelezionaTab(c.scheda);
        Attendi();
        Rileggi(
            QStringLiteral("StatoGiurid = 'G', Sesso = 'M', Moneta = 'EUR', Rischio = 'N', RagDDT = 'T'"));
        Rileggi(QString::fromLatin1(c.assegnazione));
        m_form->txt(1065)->setText(QStringLiteral("02 1"));
        DimenticaMessaggi();
        EXPECT_FALSE(m_form->ogComPag()->EseguiComando(QStringLiteral("Salva")).toBool()) << c.campo;
        EXPECT_EQ(
            Messaggi(),
            QStringList{QStringLiteral("Il campo \"%1\" è obbligatorio.").arg(QString::fromUtf8(c.campo))})
            << Messaggi().join('|').toStdString();
        Attendi();
        EXPECT_EQ(m_form->TabSelezionato(), c.schedaCampo) << c.campo;
        const QString nome = QString::fromLatin1(c.controllo);
        QWidget *atteso = nome == "txt"     ? static_cast<QWidget *>(m_form->txt(c.indice))
                          : nome == "Che"   ? static_cast<QWidget *>(m_form->Che(c.indice))
                          : nome == "Combo" ? static_cast<QWidget *>(m_form->Combo(c.indice))
                                            : static_cast<QWidget *>(m_form->OptSesso(c.indice));
        EXPECT_EQ(m_form->focusWidget(), atteso) << c.campo;
        m_form->ogComPag()->EseguiComando(QStringLiteral("Annulla"));
        Attendi();
    }
}

// Mirroring shows the codes and writes none of the fields itself: the birth
// fields and the sex are the read's, not the mirroring's.
TEST_F(Specchio, MirroringAloneLeavesTheFieldsAsTheyAre)
{
    Rileggi(QStringLiteral("StatoGiurid = 'G', Sesso = 'M'"));
    m_form->txt(1140)->setText(QStringLiteral("01/02/1980"));
    const QStringList prima = Testi();
    m_form->AggNonText();
    EXPECT_EQ(prima, Testi());
}
