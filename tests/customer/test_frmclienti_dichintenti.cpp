// Under the letters-of-intent grid: the totals of the current letter,
// coloured against its amount, and the errors met computing them; the
// attached documents of the documents grid, opened and chosen through the
// scripted opener and file dialog.
#include "BancoGriglie.h"

#include "components/forms/ColoriVb.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/linee/GestLinee.h"
#include "customer/frmClienti.h"
#include "services/Globali.h"
#include "services/frmMsgCom.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>

namespace
{

constexpr long Blu = 0xFF0000, Rosso = 0xFF;

} // namespace

class TotaliLettere : public BancoGriglie
{
  protected:
    void documento(const char *tabella, int numero, int lettera, double totale, const QString &altro = {},
                   const QString &valori = {})
    {
        Esegui(QStringLiteral(
                   "Insert Into %1 (Anno, NumRif, GruppoCli, MastroCli, ContoCli, Moneta, Pagamento, "
                   "PrezziIvati, Acconto, PdcDicIntenti, TotDocum, TotMerce, TotIva, TotImpon%2) Values "
                   "(2099, %3, '%4', '%5', '%6', 'EUR', 'RD', 'N', 0, %7, %8, %8, 0, %8%9)")
                   .arg(QString::fromLatin1(tabella), altro)
                   .arg(numero)
                   .arg(m_gruppo, m_mastro, m_conto)
                   .arg(lettera)
                   .arg(totale)
                   .arg(valori));
    }
    QStringList etichette() const
    {
        return {m_form->Lab(7010)->text(), m_form->Lab(7020)->text(), m_form->Lab(7030)->text()};
    }
    // Text colour of the three totals (one value when they agree) and whether
    // the heading shows the warning background.
    long colore() const
    {
        const long c = ColoriVb::ForeColor(m_form->Lab(7010));
        for (int i : {7020, 7030})
            if (ColoriVb::ForeColor(m_form->Lab(i)) != c)
                return -1;
        return c;
    }
    bool avviso() const { return ColoriVb::BackColor(m_form->Label1(7010)) == Globali::ColBackErrore; }
};

TEST_F(TotaliLettere, TheCurrentLettersTotalsAreRedOnlyWhenTheyExceedItsAmount)
{
    Personale(QStringLiteral("Tutti"), QStringLiteral("DichIntentiQualeTot"), QStringLiteral("D"));
    Lettera(50, {{QStringLiteral("ImportoDichIntenti"), 1000}});
    Lettera(51, {{QStringLiteral("ImportoDichIntenti"), 10}});
    // A credit note lowers the invoices; an order already turned into a
    // delivery note (Stato 'S') counts no more.
    documento("FatTest", 1, 50, 600, QStringLiteral(", FattDocumento"), QStringLiteral(", 'FT'"));
    documento("FatTest", 2, 50, 100, QStringLiteral(", FattDocumento"), QStringLiteral(", 'NC'"));
    documento("DdtTest", 1, 50, 200);
    documento("OrdVenTest", 1, 50, 100);
    documento("OrdVenTest", 2, 50, 900, QStringLiteral(", Stato"), QStringLiteral(", 'S'"));
    ApriConto();
    Pagina(1);
    const QStringList totali{QStringLiteral("500,00"), QStringLiteral("200,00"), QStringLiteral("100,00")};
    EXPECT_EQ(etichette(), totali);
    struct Caso {
        const char *importo;
        bool superata;
    };
    for (const Caso &c :
         {Caso{"1000", false}, Caso{"800", false}, Caso{"799.99", true}, Caso{"NULL", false}}) {
        Esegui(QStringLiteral("Update PdcDicIntenti Set ImportoDichIntenti = ") +
               QString::fromLatin1(c.importo) + DelConto() + QStringLiteral(" And PdcDicIntenti = 50"));
        m_form->visDatiDaLin(1, false);
        Cella(1, 0, QStringLiteral("Descrizione"));
        EXPECT_EQ(etichette(), totali) << c.importo;
        EXPECT_EQ(colore(), c.superata ? Rosso : Blu) << c.importo;
        EXPECT_EQ(avviso(), c.superata) << c.importo;
    }
    Esegui(QStringLiteral("Update PdcDicIntenti Set ImportoDichIntenti = 700") + DelConto() +
           QStringLiteral(" And PdcDicIntenti = 50"));
    m_form->visDatiDaLin(1, false);
    EXPECT_TRUE(avviso());
    // A letter without documents, then a new line: nothing used, no warning.
    Cella(1, 1, QStringLiteral("Descrizione"));
    EXPECT_EQ(etichette(),
              (QStringList{QStringLiteral("0,00"), QStringLiteral("0,00"), QStringLiteral("0,00")}));
    EXPECT_EQ(colore(), Blu);
    Cella(1, 0, QStringLiteral("Attivo"));
    EXPECT_TRUE(avviso());
    Comando(1, QStringLiteral("Nuovo"));
    EXPECT_EQ(etichette(), (QStringList{QString(), QString(), QString()}));
    EXPECT_EQ(colore(), Blu);
    EXPECT_FALSE(avviso());
    Comando(1, QStringLiteral("Annulla"));
    Cella(1, 0, QStringLiteral("Descrizione"));
    EXPECT_TRUE(avviso());
    // The documents grid leaves them alone.
    Pagina(0);
    Documento(1, QStringLiteral("Contratto"));
    Documento(2, QStringLiteral("Mandato"));
    m_form->visDatiDaLin(0, false);
    Cella(0, 1, QStringLiteral("Descrizione"));
    EXPECT_EQ(etichette(), totali);
    EXPECT_TRUE(avviso());
    EXPECT_TRUE(Messaggi().isEmpty());
}

TEST_F(TotaliLettere, ErrorsComputingALetterAreShownOnceForIt)
{
    Personale(QStringLiteral("Tutti"), QStringLiteral("DichIntentiQualeTot"), QStringLiteral("M"));
    // Documents with a payment discount but no lines cannot be recomputed.
    for (int lettera : {60, 61}) {
        Lettera(lettera, {{QStringLiteral("ImportoDichIntenti"), 1000}});
        documento("FatTest", lettera, lettera, 300, QStringLiteral(", FattDocumento, ScontoPag"),
                  QStringLiteral(", 'FT', '2'"));
    }
    ApriConto();
    Pagina(1);
    for (int volta = 0; volta < 2; ++volta)
        for (int riga : {0, 1}) {
            Cella(1, riga, QStringLiteral("Descrizione"));
            Cella(1, riga, QStringLiteral("Attivo"));
        }
    const QStringList m = Messaggi();
    ASSERT_EQ(m.size(), 2) << m.join(u'|').toStdString();
    for (int i : {0, 1}) {
        EXPECT_TRUE(m[i].contains(QStringLiteral("Documento senza dettagli: %1 2099").arg(60 + i)))
            << m[i].toStdString();
        EXPECT_EQ(m[i].count(QStringLiteral("Documento senza dettagli")), 1);
    }
}

class Documenti : public BancoGriglie
{
  protected:
    void SetUp() override
    {
        BancoGriglie::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        m_base = m_dir.filePath(QStringLiteral("docs"));
        for (const char *f : {"docs/contratti/a.pdf", "docs/contratti/c.pdf", "docs2/b.pdf"}) {
            const QString p = m_dir.filePath(QString::fromLatin1(f));
            QDir().mkpath(QFileInfo(p).path());
            QFile file(p);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const QString ini = m_dir.filePath(QStringLiteral("morvane.ini"));
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[Base]\r\nDoc=%1\r\n").arg(m_base).toUtf8());
        file.close();
        m_pathIni = Globali::PathIni;
        Globali::PathIni = ini;
        Documento(1, QStringLiteral("Contratto"), QStringLiteral("§Doc§/contratti/a.pdf"));
        Documento(2, QStringLiteral("Mancante"), QStringLiteral("§Doc§/contratti/nessuno.pdf"));
        Documento(3, QStringLiteral("Fuori"), m_dir.filePath(QStringLiteral("docs2/b.pdf")));
        Documento(4, QStringLiteral("Vuoto"), QString());
        ApriConto();
        Pagina(0);
    }
    void TearDown() override
    {
        Globali::PathIni = m_pathIni;
        BancoGriglie::TearDown();
    }
    QString percorso() const { return Griglia(0)->ValoreCella(QStringLiteral("Percorso")).toString(); }
    QTemporaryDir m_dir;
    QString m_base, m_pathIni;
};

TEST_F(Documenti, OpeningADocumentSaysWhyItCannot)
{
    namespace RP = RisposteProgrammate;
    struct Caso {
        int riga;
        bool apre;          // what the desktop's opener answers
        const char *aperto; // the file handed to it, nullptr: none
        const char *messaggio;
    };
    const QString base = m_base;
    const Caso casi[] = {
        {0, true, "docs/contratti/a.pdf", nullptr},
        {0, false, "docs/contratti/a.pdf", "Nessun programma è associato a questo tipo di file."},
        {1, true, nullptr, "Il documento non esiste:"},
        {2, true, "docs2/b.pdf", nullptr},
        {3, true, nullptr, nullptr},
    };
    for (const Caso &c : casi) {
        DimenticaMessaggi();
        RP::Accoda(RP::ApriShell, c.apre);
        Cella(0, c.riga, QStringLiteral("Descrizione"));
        m_form->ButtonComandoLin(QStringLiteral("ApriDoc"));
        const auto aperti = RP::Mostrati(RP::ApriShell);
        if (c.aperto) {
            ASSERT_EQ(aperti.size(), 1) << c.riga;
            EXPECT_EQ(aperti[0].value(QStringLiteral("url")).toUrl(),
                      QUrl::fromLocalFile(m_dir.filePath(QString::fromLatin1(c.aperto))));
        } else {
            EXPECT_TRUE(aperti.isEmpty()) << c.riga;
            RP::Prendi(RP::ApriShell);
        }
        if (c.messaggio) {
            EXPECT_TRUE(UltimoMessaggio().contains(QString::fromUtf8(c.messaggio)))
                << UltimoMessaggio().toStdString();
        } else {
            EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(u'|').toStdString();
        }
    }
    // A double click opens the line's document too; on the letters grid nothing does.
    DimenticaMessaggi();
    Cella(0, 0, QStringLiteral("Descrizione"));
    m_form->dbgRiga_DblClick(0);
    Attendi();
    EXPECT_EQ(RP::Mostrati(RP::ApriShell).size(), 1);
    m_form->LinAttuale = 1;
    m_form->ApriDocumento();
    m_form->CercaDocumento();
    EXPECT_EQ(RP::Mostrati(RP::ApriShell).size(), 1);
    EXPECT_TRUE(RP::Mostrati(RP::FileApri).isEmpty());
}

// A double click on a document opens it and does nothing else: no editor
// opens on the cell, where a stray key would replace the path.
TEST_F(Documenti, ADoubleClickOpensTheDocumentAndEditsNothing)
{
    namespace RP = RisposteProgrammate;
    int aperti = 0;
    for (const char *campo : {"Percorso", "Descrizione"}) {
        SCOPED_TRACE(campo);
        RP::Accoda(RP::ApriShell, true);
        Cella(0, 0, QString::fromLatin1(campo));
        QTableView *v = Vista(0);
        const QPoint punto = v->visualRect(v->currentIndex()).center();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, punto);
        Attendi();
        EXPECT_EQ(RP::Mostrati(RP::ApriShell).size(), ++aperti);
        EXPECT_FALSE(Griglia(0)->EditorAperto());
        EXPECT_EQ(v->indexWidget(v->currentIndex()), nullptr);
        EXPECT_FALSE(qobject_cast<QLineEdit *>(QApplication::focusWidget())) << "an editor has the keyboard";
        EXPECT_EQ(percorso(), QStringLiteral("§Doc§/contratti/a.pdf"));
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(u'|').toStdString();
    }
}

TEST_F(Documenti, AChosenFileIsStoredBehindItsBaseFolder)
{
    namespace RP = RisposteProgrammate;
    struct Caso {
        int riga;
        const char *scelto;   // "" cancels
        const char *iniziale; // where the dialog starts, under the temporary folder ("" none)
        const char *salvato;
    };
    const Caso casi[] = {
        {0, "docs/contratti/c.pdf", "docs/contratti/a.pdf", "§Doc§/contratti/c.pdf"},
        {0, "", "docs/contratti/a.pdf", "§Doc§/contratti/a.pdf"},
        {0, "docs2/b.pdf", "docs/contratti/a.pdf", "docs2/b.pdf"},
        {2, "docs/contratti/a.pdf", "docs2/b.pdf", "docs/contratti/a.pdf"},
        {3, "docs2/b.pdf", "", "docs2/b.pdf"},
    };
    const QString radice = m_dir.path() + u'/';
    // The base folder is put back wherever it stands as a whole folder.
    Cella(0, 0, QStringLiteral("Descrizione"));
    RP::ImpostaSenzaModali(true);
    RP::Accoda(RP::FileApri, m_base + QStringLiteral("/copie") + m_base + QStringLiteral("/c.pdf"));
    m_form->ButtonComandoLin(QStringLiteral("Documenti"));
    EXPECT_EQ(percorso(), QString::fromUtf8("§Doc§/copie§Doc§/c.pdf"));
    for (const Caso &c : casi) {
        Comando(0, QStringLiteral("Annulla"));
        Cella(0, c.riga, QStringLiteral("Descrizione"));
        RP::Azzera();
        RP::ImpostaSenzaModali(true);
        const QString scelto = QString::fromUtf8(c.scelto);
        RP::Accoda(RP::FileApri, scelto.isEmpty() ? QString() : radice + scelto);
        m_form->ButtonComandoLin(QStringLiteral("Documenti"));
        const QVariantMap dialogo = RP::UltimoMostrato(RP::FileApri);
        EXPECT_EQ(dialogo.value(QStringLiteral("titolo")).toString(), QStringLiteral("File Base da Copiare"));
        const QString iniziale = QString::fromUtf8(c.iniziale);
        EXPECT_EQ(dialogo.value(QStringLiteral("cartella")).toString(),
                  iniziale.isEmpty() ? QString() : radice + iniziale);
        QString atteso = QString::fromUtf8(c.salvato);
        if (!atteso.startsWith(u'§'))
            atteso = radice + atteso;
        EXPECT_EQ(percorso(), atteso) << c.scelto;
    }
    // The line keeps the choice once saved.
    Comando(0, QStringLiteral("Salva"));
    EXPECT_EQ(Valore(QStringLiteral("Select Percorso From PianoContiDoc") + DelConto() +
                     QStringLiteral(" And Ordine = 4"))
                  .toString(),
              radice + QStringLiteral("docs2/b.pdf"));
}

// The user double clicks a line whose file is missing and types on, the keys
// reaching the program before it handles the double click. They go to the
// grid's cell, not to the message, which then shows with the focus and stays
// until answered.
TEST_F(Documenti, TypingAfterADoubleClickOnAMissingDocumentReachesTheGrid)
{
    namespace RP = RisposteProgrammate;
    RP::ImpostaSenzaModali(false);
    m_form->activateWindow();
    Cella(0, 1, QStringLiteral("Descrizione"));
    QTableView *v = Vista(0);
    QWindow *finestra = v->window()->windowHandle();
    ASSERT_NE(finestra, nullptr);
    const QString testo = QStringLiteral("Contratto A");
    for (const QChar c : testo) {
        const int tasto = c == u' ' ? int(Qt::Key_Space) : int(Qt::Key_A) + (c.toUpper().unicode() - u'A');
        const Qt::KeyboardModifiers mod = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        QCoreApplication::postEvent(finestra, new QKeyEvent(QEvent::KeyPress, tasto, mod, QString(c)));
        QCoreApplication::postEvent(finestra, new QKeyEvent(QEvent::KeyRelease, tasto, mod, QString(c)));
    }
    // What the grid holds and who has the focus when the message shows; it
    // is then answered with Escape, typed into it.
    struct Guardia : QObject {
        QString messaggio, nellaCella;
        bool mostrato = false, attivato = false, escapeConFuoco = false;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            auto *w = qobject_cast<QWidget *>(o);
            auto *box = w ? qobject_cast<frmMsgCom *>(w->window()) : nullptr;
            if (!box)
                return false;
            if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape)
                escapeConFuoco = box->isAncestorOf(QApplication::focusWidget());
            if (o == box && e->type() == QEvent::Show && !mostrato) {
                mostrato = true;
                messaggio = box->Etichetta()->text();
                if (auto *cella = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
                    nellaCella = cella->text();
            }
            // Answered once it is the active window, as the user sees it.
            if (o == box && e->type() == QEvent::WindowActivate && mostrato && !attivato) {
                attivato = true;
                QCoreApplication::postEvent(box->windowHandle(),
                                            new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            }
            return false;
        }
    } guardia;
    qApp->installEventFilter(&guardia);
    const QPoint punto = v->visualRect(v->currentIndex()).center();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, punto);
    Attendi();
    qApp->removeEventFilter(&guardia);
    ASSERT_TRUE(guardia.mostrato);
    EXPECT_TRUE(guardia.messaggio.startsWith(QStringLiteral("Il documento non esiste:")))
        << guardia.messaggio.toStdString();
    EXPECT_TRUE(guardia.nellaCella.contains(testo)) << guardia.nellaCella.toStdString();
    EXPECT_TRUE(guardia.escapeConFuoco);
    EXPECT_FALSE(frmMsgCom::Istanza().isVisible());
    // The cell keeps what was typed when the message took the focus.
    const QString descrizione = Griglia(0)->ValoreCella(QStringLiteral("Descrizione")).toString();
    EXPECT_TRUE(descrizione.contains(testo)) << descrizione.toStdString();
}
