// The line-grid engine over a test owner whose record layer is a RecDat on
// an SQLite table, driven with real keys on the grid, headless.
#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/linee/GestLinee.h"
#include "components/util/VbErrore.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace
{

const QString Conn = QStringLiteral("Righe");

// The owner: the rows of one account of table Righe, and a log of the calls.
class Proprietario : public QWidget, public ChiamanteLinee
{
  public:
    DbMotore *db = nullptr;
    RecDat rec;
    QString h;
    GestLinee *griglia = nullptr;
    QStringList log;
    bool verificaOk = true;
    QString rifiutaTesto;       // a cell value DatiValidi refuses
    bool guastoLettura = false; // reading a value fails, as with a lost connection
    int cancellata = -1;        // the line (by Ordine) another desk deleted while it is read
    bool guastoTasto = false;   // handling a key fails, as with a lost connection

    QVariant DatiPrepara(const QVariant &pvOrdin, bool pbVuoto) override
    {
        const QString sql =
            QStringLiteral("SELECT Conto, Ordine, Descrizione, Percorso FROM Righe WHERE Conto = ") +
            (pbVuoto ? QStringLiteral("'nessuno'") : QStringLiteral("'C1'")) +
            (pvOrdin.isValid() ? pvOrdin.toString() : QStringLiteral(" Order by Ordine"));
        if (h.isEmpty())
            h = rec.ApriRec(db, Conn, {}, sql, false, RecDat::TipoDinamico);
        else
            rec.Riapri(h, sql, RecDat::TipoDinamico);
        return {};
    }
    void GrigliaAttiva(GestLinee *g) override { griglia = g; }
    void DatiRequery() override { rec.Riesegui(h); }
    void DatiMove(int c) override { rec.Muovi(h, c); }
    void DatiEdit() override { rec.ModificaRec(h); }
    void DatiAddNew() override { rec.AggiungiRec(h); }
    bool DatiUpdate() override
    {
        log << QStringLiteral("DatiUpdate");
        bool cancel = false;
        if (VerifPrimaUpdate(*griglia, cancel))
            return false;
        if (rec.ModoModifica(h) == RecDat::ModoNuovo)
            rec.ScriviCampo(h, QStringLiteral("Conto"), QStringLiteral("C1"));
        rec.AggiornaRec(h);
        return true;
    }
    void DatiAnnEdit() override { rec.AnnullaModifica(h); }
    void DatiDelete() override
    {
        log << QStringLiteral("DatiDelete");
        rec.EliminaRec(h);
    }
    int DatiOrdinaSql(const QVariant &col) override
    {
        DatiPrepara(QStringLiteral(" Order by ") + griglia->Colonne().value(col.toInt()), false);
        return 0;
    }
    QVariant ovDatiValue(const QVariant &campo) override
    {
        if (guastoLettura)
            throw VbErrore(VbErrore::ChiamataOdbcFallita, QStringLiteral("Connessione persa"));
        if (rec.ValoreCampoIdx(h, QStringLiteral("Ordine")).toInt() == cancellata)
            throw VbErrore(3167, QStringLiteral("Il record è stato eliminato da un altro utente."));
        return rec.ValoreCampoIdx(h, campo);
    }
    void DatiMoveRecNew() override
    {
        log << QStringLiteral("DatiMoveRecNew");
        rec.MuoviNuovo(h);
    }
    bool obRecNoVal() override { return rec.NessunRecord(h); }
    void ovDatiValue(const QVariant &campo, const QVariant &v) override
    {
        rec.ScriviCampo(h, campo.toString(), v);
    }
    int olRecPosition() override { return rec.Posizione(h); }
    void olRecPosition(int p) override { rec.ImpostaPosizione(h, p); }
    int olNumRecTot() override { return rec.NumRecord(h); }
    bool VerifUpdate() override { return verificaOk; }
    bool DatiValidi(int col, bool, const QVariant &) override
    {
        log << QStringLiteral("DatiValidi%1").arg(col);
        const QVariant v = griglia->ValoreCella(col);
        if (!rifiutaTesto.isEmpty() && v.toString() == rifiutaTesto)
            return false;
        // The owner may rewrite the value it accepts.
        if (griglia->Colonne().value(col) == QLatin1String("Percorso"))
            griglia->ImpostaValoreCella(col, v.toString().toUpper());
        return true;
    }
    void dbgRiga_KeyDown(GestLinee &, int &, int) override
    {
        if (guastoTasto)
            throw VbErrore(VbErrore::ChiamataOdbcFallita, QStringLiteral("Connessione persa"));
    }
    void dbgRiga_OnAddNew(GestLinee &g) override
    {
        g.ImpostaValoreCella(QStringLiteral("Percorso"), QStringLiteral("NUOVO"));
    }
};

class Linee : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.ApriSqlite(Conn, dir.filePath(QStringLiteral("righe.db")), true);
        db.EseguiSql(Conn, QStringLiteral("CREATE TABLE Righe (Conto TEXT NOT NULL, Ordine INTEGER NOT NULL, "
                                          "Descrizione TEXT, Percorso TEXT, PRIMARY KEY (Conto, Ordine))"));
        for (int i = 1; i <= 3; ++i)
            db.EseguiSql(Conn,
                         QStringLiteral("INSERT INTO Righe VALUES ('C1', %1, 'Documento %1', 'doc%1.pdf')")
                             .arg(i * 10));
        db.EseguiSql(Conn, QStringLiteral("INSERT INTO Righe VALUES ('C2', 10, 'Altro', 'x')"));
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);

        owner.db = &db;
        auto *l = new QVBoxLayout(&owner);
        barra = new QToolBar(&owner);
        txtRiga = new QLineEdit(&owner);
        view = new QTableView(&owner);
        l->addWidget(barra);
        l->addWidget(view);
        l->addWidget(txtRiga);
        owner.DatiPrepara({}, false);
        g.ImpostaForm(&owner);
        g.ImpostaBarraLin(barra);
        g.ImpostaTestoRighe(txtRiga);
        g.ImpostaGriglia(view);
        g.ImpostaFormatoData(QStringLiteral("dd/mm/yyyy"));
        g.ImpostaValore(0);
        g.LivelloRW(1);
        g.ImpostaColonne({QStringLiteral("Conto"), QStringLiteral("Ordine"), QStringLiteral("Descrizione"),
                          QStringLiteral("Percorso")});
        g.AggiungiColonnaChiave(0);
        g.AggiungiColonnaChiave(1);
        g.VisibilitaColonna(QStringLiteral("Conto"), false);
        g.DidascaliaColonna(QStringLiteral("Ordine"), QStringLiteral("Ord."));
        g.Ricarica(true);
        owner.show();
        QApplication::setActiveWindow(&owner);
        view->setFocus();
        owner.log.clear();
    }
    void TearDown() override { RisposteProgrammate::Azzera(); }

    void cella(int riga, const QString &campo)
    {
        view->setFocus();
        view->setCurrentIndex(view->model()->index(riga, g.IndiceColonna(campo)));
    }
    void scrivi(const QString &testo)
    {
        QTest::keyClick(view, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        ASSERT_NE(editor, view);
        auto *le = qobject_cast<QLineEdit *>(editor);
        ASSERT_NE(le, nullptr);
        le->selectAll();
        QTest::keyClicks(le, testo);
        QTest::keyClick(le, Qt::Key_Return);
        // The view commits the editor on the next turn of the event loop.
        QCoreApplication::processEvents();
    }
    QString db1(const QString &campo, int ordine)
    {
        auto r = db.Seleziona(
            Conn,
            QStringLiteral("SELECT %1 FROM Righe WHERE Conto = 'C1' AND Ordine = %2").arg(campo).arg(ordine));
        return r->numRighe() ? r->valore(0, 0).toString() : QStringLiteral("<nessuna>");
    }
    int righe(const QString &conto = QStringLiteral("C1"))
    {
        return db.Seleziona(Conn, QStringLiteral("SELECT Count(*) FROM Righe WHERE Conto = '%1'").arg(conto))
            ->valore(0, 0)
            .toInt();
    }

    QTemporaryDir dir;
    DbMotore db;
    Proprietario owner;
    GestLinee g;
    QToolBar *barra = nullptr;
    QLineEdit *txtRiga = nullptr;
    QTableView *view = nullptr;
};

TEST_F(Linee, ShowsTheOwnersRowsAndTheCounter)
{
    ASSERT_EQ(g.NumeroRighe(), 3);
    EXPECT_EQ(view->model()->data(view->model()->index(1, 2)).toString(), QStringLiteral("Documento 20"));
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Ord."));
    EXPECT_TRUE(view->isColumnHidden(0));
    EXPECT_EQ(txtRiga->text(), QStringLiteral("1 / 3"));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(txtRiga->text(), QStringLiteral("3 / 3"));
    QString totale, corrente;
    g.PosizioneRighe(totale, corrente);
    EXPECT_EQ(corrente + QStringLiteral(" / ") + totale, txtRiga->text());
    EXPECT_EQ(barra->actions().size(), GestLinee::Comandi().size());
}

TEST_F(Linee, EditedCellIsWrittenThroughDatiUpdate)
{
    cella(1, QStringLiteral("Descrizione"));
    scrivi(QStringLiteral("Contratto"));
    EXPECT_TRUE(g.DatiModificati());
    EXPECT_EQ(db1(QStringLiteral("Descrizione"), 20), QStringLiteral("Documento 20"));
    EXPECT_TRUE(owner.log.contains(QStringLiteral("DatiValidi2")));
    g.EseguiComando(QStringLiteral("Salva"));
    EXPECT_EQ(db1(QStringLiteral("Descrizione"), 20), QStringLiteral("Contratto"));
    EXPECT_FALSE(g.DatiModificati());
    EXPECT_EQ(g.RigaCorrente(), 1);
}

TEST_F(Linee, LeavingAChangedLineSavesIt)
{
    cella(0, QStringLiteral("Percorso"));
    scrivi(QStringLiteral("nuovo.pdf"));
    EXPECT_EQ(g.ValoreCella(QStringLiteral("Percorso")).toString(), QStringLiteral("NUOVO.PDF"));
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(db1(QStringLiteral("Percorso"), 10), QStringLiteral("NUOVO.PDF"));
    EXPECT_EQ(g.RigaCorrente(), 1);
}

TEST_F(Linee, RefusedSaveCheckKeepsTheLineAndTheRow)
{
    owner.verificaOk = false;
    cella(0, QStringLiteral("Descrizione"));
    scrivi(QStringLiteral("Rifiutata"));
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(g.RigaCorrente(), 0);
    EXPECT_TRUE(g.DatiModificati());
    EXPECT_EQ(db1(QStringLiteral("Descrizione"), 10), QStringLiteral("Documento 10"));
    EXPECT_FALSE(g.EseguiComando(QStringLiteral("Salva")).toBool());
    // Escape drops the line's changes.
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(g.DatiModificati());
    EXPECT_EQ(view->model()->data(view->model()->index(0, 2)).toString(), QStringLiteral("Documento 10"));
}

TEST_F(Linee, RefusedCellKeepsItsOldValue)
{
    owner.rifiutaTesto = QStringLiteral("vietato");
    cella(2, QStringLiteral("Descrizione"));
    scrivi(QStringLiteral("vietato"));
    EXPECT_FALSE(g.DatiModificati());
    EXPECT_EQ(g.ValoreCella(QStringLiteral("Descrizione")).toString(), QStringLiteral("Documento 30"));
    // The cell is offered again for correction, with what was typed.
    EXPECT_TRUE(
        QTest::qWaitFor([] { return qobject_cast<QLineEdit *>(QApplication::focusWidget()) != nullptr; }));
    auto *le = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(le, nullptr);
    EXPECT_EQ(le->text(), QStringLiteral("vietato"));
}

TEST_F(Linee, DeleteKeyAsksForConfirmation)
{
    cella(1, QStringLiteral("Descrizione"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(righe(), 3);
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom)
                  .value(QStringLiteral("testo"))
                  .toString(),
              QStringLiteral("Confermi la cancellazione della riga?"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(righe(), 2);
    EXPECT_EQ(db1(QStringLiteral("Descrizione"), 20), QStringLiteral("<nessuna>"));
    EXPECT_EQ(g.NumeroRighe(), 2);
    EXPECT_EQ(txtRiga->text(), QStringLiteral("2 / 2"));
    EXPECT_EQ(righe(QStringLiteral("C2")), 1);
}

// A grid disabled, or in a disabled container, takes no keys: Delete asks
// nothing and deletes nothing; enabled again, it asks.
TEST_F(Linee, ADisabledGridTakesNoDeleteKey)
{
    for (QWidget *spento : {static_cast<QWidget *>(view), static_cast<QWidget *>(&owner)}) {
        SCOPED_TRACE(spento == view ? "grid" : "its window");
        cella(1, QStringLiteral("Descrizione"));
        spento->setEnabled(false);
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
        QTest::keyClick(view, Qt::Key_Delete);
        EXPECT_TRUE(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).isEmpty());
        EXPECT_EQ(righe(), 3);
        spento->setEnabled(true);
    }
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    cella(1, QStringLiteral("Descrizione"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size(), 1);
    EXPECT_EQ(righe(), 3);
}

TEST_F(Linee, NewLineGetsTheOwnersDefaultsAndIsInserted)
{
    g.Bottone(QStringLiteral("Nuovo"))->trigger();
    ASSERT_EQ(g.NumeroRighe(), 4);
    EXPECT_EQ(g.RigaCorrente(), 3);
    EXPECT_EQ(g.ValoreCella(QStringLiteral("Percorso")).toString(), QStringLiteral("NUOVO"));
    // The key column of a new line is editable, of a stored line not.
    const auto *m = view->model();
    EXPECT_TRUE(m->flags(m->index(3, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
    QWidget *editor = QApplication::focusWidget();
    auto *le = qobject_cast<QLineEdit *>(editor);
    ASSERT_NE(le, nullptr);
    QTest::keyClick(le, Qt::Key_Return);
    cella(3, QStringLiteral("Ordine"));
    scrivi(QStringLiteral("40"));
    cella(3, QStringLiteral("Descrizione"));
    scrivi(QStringLiteral("Visura"));
    ASSERT_TRUE(g.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(db1(QStringLiteral("Descrizione"), 40), QStringLiteral("Visura"));
    EXPECT_EQ(db1(QStringLiteral("Percorso"), 40), QStringLiteral("NUOVO"));
    EXPECT_EQ(g.NumeroRighe(), 4);
}

TEST_F(Linee, ASavedNewLineStaysCurrentWhereverItsOrderPutsIt)
{
    g.Bottone(QStringLiteral("Nuovo"))->trigger();
    if (auto *le = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
        QTest::keyClick(le, Qt::Key_Return);
    cella(3, QStringLiteral("Ordine"));
    scrivi(QStringLiteral("5"));
    cella(3, QStringLiteral("Descrizione"));
    scrivi(QStringLiteral("Prima di tutte"));
    ASSERT_TRUE(g.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_TRUE(owner.log.contains(QStringLiteral("DatiMoveRecNew")));
    ASSERT_EQ(g.NumeroRighe(), 4);
    EXPECT_EQ(g.RigaCorrente(), 0);
    EXPECT_EQ(g.ValoreCella(QStringLiteral("Descrizione")).toString(), QStringLiteral("Prima di tutte"));
    EXPECT_EQ(txtRiga->text(), QStringLiteral("1 / 4"));
}

TEST_F(Linee, ALineDeletedWhileTheRowsAreReadShowsCancellato)
{
    // Only that line is marked; the others are read on.
    owner.cancellata = 20;
    g.Ricarica(false);
    ASSERT_EQ(g.NumeroRighe(), 3);
    const auto *m = view->model();
    EXPECT_EQ(m->data(m->index(1, 2)).toString(), QStringLiteral("#Cancellato"));
    EXPECT_EQ(m->data(m->index(1, 1)).toString(), QStringLiteral("#Cancellato"));
    EXPECT_EQ(m->data(m->index(2, 2)).toString(), QStringLiteral("Documento 30"));
}

TEST_F(Linee, ReadOnlyLevelBlocksEditsAndDeletes)
{
    g.LivelloRW(0);
    cella(0, QStringLiteral("Descrizione"));
    EXPECT_FALSE(view->model()->flags(view->currentIndex()) & Qt::ItemIsEditable);
    QTest::keyClick(view, Qt::Key_F2);
    EXPECT_EQ(QApplication::focusWidget(), view);
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(righe(), 3);
    EXPECT_FALSE(g.EseguiComando(QStringLiteral("Nuovo")).toBool());
    EXPECT_FALSE(g.Bottone(QStringLiteral("Salva"))->isEnabled());
}

TEST_F(Linee, MayCloseAsksToSaveAChangedLine)
{
    cella(0, QStringLiteral("Descrizione"));
    scrivi(QStringLiteral("In sospeso"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 3);
    EXPECT_FALSE(g.PuoChiudere());
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
    EXPECT_TRUE(g.PuoChiudere());
    EXPECT_EQ(db1(QStringLiteral("Descrizione"), 10), QStringLiteral("In sospeso"));
    EXPECT_TRUE(g.PuoChiudere()); // nothing pending: no question
}

TEST_F(Linee, SortWhoseReloadFailsEmptiesTheGridInsteadOfThrowing)
{
    ASSERT_GT(g.NumeroRighe(), 0);
    owner.guastoLettura = true;
    QString sql;
    int esito = 0;
    EXPECT_NO_THROW(esito = g.OrdinaSuColonna(2, sql));
    EXPECT_EQ(esito, 1);
    // No row of the old order is left to be saved or deleted by its position.
    EXPECT_EQ(g.NumeroRighe(), 0);
}

TEST_F(Linee, SortOnHeaderIsRefusedOverPendingChanges)
{
    cella(0, QStringLiteral("Descrizione"));
    scrivi(QStringLiteral("Zeta"));
    view->horizontalHeader()->sectionClicked(2);
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom)
                  .value(QStringLiteral("testo"))
                  .toString(),
              QStringLiteral("Impossibile ordinare su questo campo"));
    g.EseguiComando(QStringLiteral("Salva"));
    view->horizontalHeader()->sectionClicked(2);
    EXPECT_EQ(view->model()->data(view->model()->index(2, 2)).toString(), QStringLiteral("Zeta"));
}

} // namespace

namespace
{

// A key whose handling failed has been answered with the error: the view
// does not go on to move, edit or type with it.
TEST_F(Linee, AKeyWhoseHandlingFailsIsSaidAndGoesNoFurther)
{
    struct Caso {
        const char *nome;
        Qt::Key tasto;
        bool inEditore; // given in the cell's open editor
    };
    const Caso casi[] = {{"Down", Qt::Key_Down, false},
                         {"F2", Qt::Key_F2, false},
                         {"a letter", Qt::Key_X, false},
                         {"a letter in the editor", Qt::Key_X, true}};
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        cella(0, QStringLiteral("Descrizione"));
        QWidget *dove = view;
        if (c.inEditore) {
            QTest::keyClick(view, Qt::Key_F2);
            dove = QApplication::focusWidget();
            ASSERT_NE(qobject_cast<QLineEdit *>(dove), nullptr);
        }
        const qsizetype detti = RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size();
        owner.guastoTasto = true;
        QTest::keyClick(dove, c.tasto);
        owner.guastoTasto = false;
        EXPECT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size(), detti + 1);
        EXPECT_EQ(view->currentIndex().row(), 0);
        if (c.inEditore) {
            EXPECT_EQ(qobject_cast<QLineEdit *>(dove)->text(), QStringLiteral("Documento 10"));
            QTest::keyClick(dove, Qt::Key_Escape);
            QCoreApplication::processEvents();
        } else {
            EXPECT_EQ(QApplication::focusWidget(), view);
        }
        EXPECT_FALSE(g.DatiModificati());
    }
}

TEST_F(Linee, CommandWithARefusedCellInEditRunsNothing)
{
    owner.rifiutaTesto = QStringLiteral("vietato");
    cella(0, QStringLiteral("Descrizione"));
    QTest::keyClick(view, Qt::Key_F2);
    auto *le = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(le, nullptr);
    le->selectAll();
    QTest::keyClicks(le, QStringLiteral("vietato"));
    EXPECT_FALSE(g.EseguiComando(QStringLiteral("Nuovo")).toBool());
    EXPECT_EQ(g.NumeroRighe(), 3);
    cella(0, QStringLiteral("Descrizione"));
    QTest::keyClick(view, Qt::Key_F2);
    le = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(le, nullptr);
    le->selectAll();
    QTest::keyClicks(le, QStringLiteral("accettato"));
    EXPECT_TRUE(g.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(db1(QStringLiteral("Descrizione"), 10), QStringLiteral("accettato"));
}

} // namespace

TEST_F(Linee, PrintSourceGivesTheRowsAsShown)
{
    g.LarghezzaColonna(QStringLiteral("Descrizione"), 3000);
    SorgenteRighe &s = g.SorgenteStampa();
    const QList<ColonnaStampa> colonne = s.ColonneStampa();
    ASSERT_EQ(colonne.size(), 4);
    EXPECT_FALSE(colonne[0].visibile);
    EXPECT_EQ(colonne[1].didascalia, QStringLiteral("Ord."));
    EXPECT_TRUE(colonne[1].numerica);
    EXPECT_EQ(colonne[1].allineamento, Qt::AlignRight);
    EXPECT_EQ(colonne[2].didascalia, QStringLiteral("Descrizione"));
    EXPECT_FALSE(colonne[2].numerica);
    EXPECT_EQ(colonne[2].larghezza, 3000);

    // A pending edit of the current line is printed; a new line is not.
    cella(0, QStringLiteral("Descrizione"));
    g.ImpostaValoreCella(QStringLiteral("Descrizione"), QStringLiteral("Modificato"));
    g.EseguiComando(QStringLiteral("Nuovo"));
    ASSERT_EQ(g.NumeroRighe(), 4);
    EXPECT_EQ(s.NumeroRighe(), 3);
    ASSERT_TRUE(s.ApriRighe({2, 1}));
    QList<CellaStampa> celle;
    QStringList letti;
    while (s.RigaSuccessiva(celle)) {
        ASSERT_EQ(celle.size(), 2);
        letti << celle[0].testo + QLatin1Char('|') + celle[1].testo;
        EXPECT_EQ(celle[1].valore.toInt(), celle[1].testo.toInt());
    }
    EXPECT_EQ(letti, (QStringList{QStringLiteral("Modificato|10"), QStringLiteral("Documento 20|20"),
                                  QStringLiteral("Documento 30|30")}));
}
