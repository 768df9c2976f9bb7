// The record-form engine on a small test form over an SQLite table, driven
// through the real data access, real widgets and the scripted message box.
#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/forms/ColoriVb.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/pagine/GestPagine.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

constexpr long Errore = 0xFFL;

// A record form with the fields of a small customer table. It logs every
// callback and answers them as a test asks.
class FormProva : public QWidget, public ChiamantePagine
{
  public:
    GestPagine pag;
    QLineEdit *gruppo, *conto, *tipo, *descrizione, *citta, *importo, *data, *flag;
    QToolBar *barra;
    QStringList log;
    QHash<int, int> rispostaPri;                               // op -> result of PersPagPri
    QString campoInErrore;                                     // with result 20
    std::function<void(int, QVariant &, QVariantList &)> dopo; // extra work in PersPagDop
    QList<QVariantList> arrayDop;

    FormProva()
    {
        auto *l = new QVBoxLayout(this);
        barra = new QToolBar(this);
        l->addWidget(barra);
        for (QLineEdit **e : {&gruppo, &conto, &tipo, &descrizione, &citta, &importo, &data, &flag})
            l->addWidget(*e = new QLineEdit(this));
        // Typing reaches the engine as the form's change event would.
        for (QLineEdit *e : {gruppo, conto, tipo, descrizione, citta, importo, data, flag})
            connect(e, &QLineEdit::textChanged, this, [this] { pag.CampoModificato(); });
    }

    void prepara(DbMotore *db)
    {
        pag.TabellaPrincipale(QStringLiteral("Clienti"));
        pag.ImpostaModoAvvio(0);
        for (int op : {16, 5, 8, 0, 17, 4, 12})
            pag.AbilitaCallback(op, true);
        pag.RegistraCampo(QStringLiteral("Gruppo"), gruppo,
                          {.descrizione = QStringLiteral("Gruppo"), .chiave = 1});
        pag.RegistraCampo(QStringLiteral("Conto"), conto,
                          {.descrizione = QStringLiteral("Conto"), .chiave = 1});
        pag.RegistraCampo(QStringLiteral("Tipo"), tipo,
                          {.chiave = 1, .tipoChiave = 2, .predefinito = QStringLiteral("3")});
        pag.RegistraCampo(QStringLiteral("Descrizione"), descrizione,
                          {.descrizione = QStringLiteral("Ragione sociale"),
                           .opzione = true,
                           .ricerca = QStringLiteral("like*")});
        pag.RegistraCampo(QStringLiteral("Citta"), citta, {.descrizione = QStringLiteral("Città")});
        pag.RegistraCampo(QStringLiteral("Importo"), importo,
                          {.descrizione = QStringLiteral("Fido"),
                           .dimensione = 8.2,
                           .formato = QStringLiteral("#,###.^^")});
        pag.RegistraCampo(QStringLiteral("DataAp"), data, {.descrizione = QStringLiteral("Data apertura")});
        pag.RegistraCampo(QStringLiteral("Flag"), flag,
                          {.descrizione = QStringLiteral("Flag"), .predefinito = QStringLiteral("N")});
        pag.ImpostaControlloChiave(conto);
        pag.ImpostaPrimoControllo(descrizione);
        pag.ImpostaColori(0x80000008L, 0x80000011L, Errore, 0x80000005L);
        FormListaPagine *lista = nullptr;
        pag.Inizializza(this, db, QStringLiteral("Prova"), lista);
        pag.ImpostaToolbar(QStringLiteral("p"), barra);
    }

    QVariant PersPagPri(int op, QVariant &pvRit, QVariantList &pvArray) override
    {
        log << QStringLiteral("Pri%1").arg(op);
        const int r = rispostaPri.value(op, 0);
        if (r == 20) {
            pvRit = 20;
            pvArray = {QVariant(), campoInErrore};
        }
        return r;
    }
    QVariant PersPagDop(int op, QVariant &pvRit, QVariantList &pvArray) override
    {
        log << QStringLiteral("Dop%1").arg(op);
        arrayDop << pvArray;
        if (dopo)
            dopo(op, pvRit, pvArray);
        return 0;
    }
    void ButtonComando(const QString &psKey) override { pag.EseguiComando(psKey); }
    QWidget *Finestra() override { return this; }
};

class Pagine : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.ApriSqlite(QStringLiteral("Prova"), dir.filePath(QStringLiteral("prova.db")), true);
        db.EseguiSql(QStringLiteral("Prova"),
                     QStringLiteral("CREATE TABLE Clienti (Gruppo TEXT COLLATE NOCASE NOT NULL, "
                                    "Conto TEXT COLLATE NOCASE NOT NULL, Tipo TEXT, Descrizione TEXT, "
                                    "Citta TEXT, Importo NUMERIC(19,4), DataAp DATE, Flag TEXT, "
                                    "PRIMARY KEY (Gruppo, Conto))"));
        const char *righe[][5] = {{"01", "0001", "Rossi Mario", "Roma", "3"},
                                  {"01", "0002", "Bianchi Srl", "Milano", "3"},
                                  {"01", "0003", "Fornitore Spa", "Torino", "2"},
                                  {"01", "0010", "Rossetti Anna", "Bari", "3"},
                                  {"02", "0001", "Verdi Luca", "Napoli", "3"}};
        for (const auto &r : righe)
            db.EseguiSql(
                QStringLiteral("Prova"),
                QStringLiteral("INSERT INTO Clienti (Gruppo, Conto, Descrizione, Citta, Tipo, Importo, "
                               "DataAp, Flag) VALUES ('%1', '%2', '%3', '%4', '%5', 1500.5, "
                               "'2024-03-01', 'S')")
                    .arg(QLatin1String(r[0]), QLatin1String(r[1]), QLatin1String(r[2]), QLatin1String(r[3]),
                         QLatin1String(r[4])));
        RisposteProgrammate::Azzera();
        RisposteProgrammate::ImpostaSenzaModali(true);
        form.prepara(&db);
        form.show();
        QApplication::setActiveWindow(&form);
        form.log.clear();
        form.arrayDop.clear();
    }
    void TearDown() override { RisposteProgrammate::Azzera(); }

    QString valore(const QString &conto, const QString &colonna, const QString &gruppo = QStringLiteral("01"))
    {
        auto r =
            db.Seleziona(QStringLiteral("Prova"), QStringLiteral("SELECT %1 FROM Clienti WHERE Gruppo = '%2' "
                                                                 "AND Conto = '%3'")
                                                      .arg(colonna, gruppo, conto));
        return r->numRighe() ? r->valore(0, 0).toString() : QStringLiteral("<nessuna>");
    }
    int righe()
    {
        return db.Seleziona(QStringLiteral("Prova"), QStringLiteral("SELECT Count(*) FROM Clienti"))
            ->valore(0, 0)
            .toInt();
    }
    QString ultimoMessaggio()
    {
        return RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom)
            .value(QStringLiteral("testo"))
            .toString();
    }
    void leggi(const QString &gruppo, const QString &conto)
    {
        ASSERT_TRUE(form.pag.LeggiDaChiave({gruppo, conto}));
        form.log.clear();
        form.arrayDop.clear();
    }

    QTemporaryDir dir;
    DbMotore db;
    FormProva form;
};

TEST_F(Pagine, StartsOnAnEmptyNewRecordWithDefaults)
{
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoNuovo);
    EXPECT_EQ(form.tipo->text(), QStringLiteral("3"));
    EXPECT_EQ(form.flag->text(), QStringLiteral("N"));
    EXPECT_TRUE(form.descrizione->text().isEmpty());
    EXPECT_FALSE(form.pag.RecordModificato());
    EXPECT_EQ(form.pag.NumeroCampi(), 8);
    EXPECT_EQ(form.pag.NomeCampoControllo(form.citta), QStringLiteral("Citta"));
    EXPECT_EQ(form.barra->actions().size(), GestPagine::Comandi().size());
    EXPECT_FALSE(form.pag.Bottone(QStringLiteral("Cancella"))->isEnabled());
}

TEST_F(Pagine, ReadByKeyFillsTheFieldsAndCallsBack)
{
    ASSERT_TRUE(form.pag.LeggiDaChiave({QStringLiteral("01"), QStringLiteral("0002")}));
    EXPECT_EQ(form.descrizione->text(), QStringLiteral("Bianchi Srl"));
    EXPECT_EQ(form.importo->text(), QStringLiteral("1.500,50"));
    EXPECT_EQ(form.data->text(), QStringLiteral("01/03/2024"));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);
    EXPECT_EQ(form.log, (QStringList{"Pri5", "Pri0", "Dop0", "Dop5"}));
    EXPECT_FALSE(form.pag.RecordModificato());
    EXPECT_TRUE(form.conto->isReadOnly());
    // The stored values as last read.
    EXPECT_EQ(form.pag.LeggiCampo(form.pag.ChiaveRecordset(), QStringLiteral("Citta")).toString(),
              QStringLiteral("Milano"));
    EXPECT_EQ(form.pag.ChiaveCorrente(), (QStringList{"01", "0002"}));
    // A record of another type is not this form's.
    EXPECT_FALSE(form.pag.LeggiDaChiave({QStringLiteral("01"), QStringLiteral("0003")}));
}

TEST_F(Pagine, WritesByTheFormAndItsCallbacksAreNotUserEdits)
{
    form.dopo = [this](int op, QVariant &, QVariantList &) {
        if (op == GestPagine::OpLettura)
            form.flag->setText(QStringLiteral("X")); // mirroring rewrites a code
    };
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    EXPECT_FALSE(form.pag.RecordModificato());
    form.pag.ScriviCampo(QStringLiteral("Citta"), QStringLiteral("Latina"));
    EXPECT_FALSE(form.pag.RecordModificato());
    {
        GestPagine::BloccoModifiche blocco(form.pag);
        form.citta->setText(QStringLiteral("Rieti"));
    }
    EXPECT_FALSE(form.pag.RecordModificato());
    EXPECT_TRUE(form.pag.PuoChiudere());
    EXPECT_TRUE(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).isEmpty());
    // Typing is an edit.
    form.citta->setFocus();
    QTest::keyClicks(form.citta, QStringLiteral("x"));
    EXPECT_TRUE(form.pag.RecordModificato());
}

// A box that already shows the text read is still reset when the user
// touched it: no edit to undo, nothing selected, the cursor at the end.
TEST_F(Pagine, AReadResetsABoxShowingTheSameTextThatTheUserTouched)
{
    const std::pair<const char *, std::function<void(QLineEdit *)>> casi[] = {
        {"typed over",
         [](QLineEdit *e) {
             e->setFocus();
             e->end(false);
             QTest::keyClick(e, Qt::Key_Backspace);
             QTest::keyClicks(e, QStringLiteral("a"));
         }},
        {"cursor moved", [](QLineEdit *e) { e->setCursorPosition(1); }},
        {"text selected", [](QLineEdit *e) { e->setSelection(0, 2); }},
    };
    for (const auto &[nome, tocca] : casi) {
        leggi(QStringLiteral("01"), QStringLiteral("0001"));
        tocca(form.citta);
        ASSERT_EQ(form.citta->text(), QStringLiteral("Roma")) << nome;
        // Read again: the same text comes back into the box.
        ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Annulla")).toBool()) << nome;
        EXPECT_EQ(form.citta->text(), QStringLiteral("Roma")) << nome;
        EXPECT_FALSE(form.citta->isUndoAvailable()) << nome;
        EXPECT_FALSE(form.citta->isModified()) << nome;
        EXPECT_FALSE(form.citta->hasSelectedText()) << nome;
        EXPECT_EQ(form.citta->cursorPosition(), 4) << nome;
    }
}

TEST_F(Pagine, SaveUpdatesOnlyChangedColumnsBetweenTheCallbacks)
{
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    db.EseguiSql(QStringLiteral("Prova"),
                 QStringLiteral("UPDATE Clienti SET Flag = 'Z' WHERE Conto = '0001'"));
    form.citta->setFocus();
    form.citta->selectAll();
    QTest::keyClicks(form.citta, QStringLiteral("Frosinone"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Citta")), QStringLiteral("Frosinone"));
    EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Flag")), QStringLiteral("Z")); // untouched
    // The other change came back with the row: the form shows it as a read does.
    EXPECT_EQ(form.flag->text(), QStringLiteral("Z"));
    EXPECT_EQ(form.log, (QStringList{"Pri12", "Dop5", "Dop12"}));
    EXPECT_EQ(form.arrayDop.last().value(0), QVariant(true));
    EXPECT_FALSE(form.pag.RecordModificato());
    // The stored record is now the saved one.
    EXPECT_EQ(form.pag.LeggiCampo(form.pag.ChiaveRecordset(), QStringLiteral("Citta")).toString(),
              QStringLiteral("Frosinone"));
}

TEST_F(Pagine, RefusalsBeforeSaveWriteNothing)
{
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    form.citta->setText(QStringLiteral("Aosta"));
    form.rispostaPri[GestPagine::OpSalva] = 1;
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Citta")), QStringLiteral("Roma"));
    EXPECT_EQ(form.log, QStringList{"Pri12"}); // no after-callback for a refused save

    form.rispostaPri[GestPagine::OpSalva] = 20;
    form.campoInErrore = QStringLiteral("Citta");
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(ColoriVb::BackColor(form.citta), Errore);
    EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Citta")), QStringLiteral("Roma"));
}

TEST_F(Pagine, EngineChecksRequiredFieldsAndNumbers)
{
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    struct Caso {
        QString importo;
        bool accettato;
        QString salvato;
    };
    const Caso casi[] = {{QStringLiteral("1.234,5"), true, QStringLiteral("1234.5")},
                         {QStringLiteral("12,345"), false, {}},
                         {QStringLiteral("123456789"), false, {}},
                         {QStringLiteral("-5"), false, {}},
                         {QStringLiteral("abc"), false, {}},
                         {QStringLiteral("250"), true, QStringLiteral("250")},
                         {QString(), true, QString()}};
    for (const Caso &c : casi) {
        form.importo->setText(c.importo);
        EXPECT_EQ(form.pag.EseguiComando(QStringLiteral("Salva")).toBool(), c.accettato)
            << c.importo.toStdString();
        if (c.accettato)
            EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Importo")), c.salvato)
                << c.importo.toStdString();
        else
            EXPECT_TRUE(ultimoMessaggio().contains(QStringLiteral("Fido")))
                << ultimoMessaggio().toStdString();
    }
    form.descrizione->clear();
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Il campo \"Ragione sociale\" è obbligatorio."));
}

TEST_F(Pagine, NewRecordIsInsertedAndADuplicateKeyIsReported)
{
    form.pag.EseguiComando(QStringLiteral("Nuovo"));
    form.gruppo->setText(QStringLiteral("01"));
    form.conto->setText(QStringLiteral("0020"));
    form.descrizione->setText(QStringLiteral("D'Amico Srl"));
    form.data->setText(QStringLiteral("15/06/2024"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(valore(QStringLiteral("0020"), QStringLiteral("Descrizione")), QStringLiteral("D'Amico Srl"));
    EXPECT_EQ(valore(QStringLiteral("0020"), QStringLiteral("Tipo")), QStringLiteral("3"));
    EXPECT_EQ(valore(QStringLiteral("0020"), QStringLiteral("DataAp")), QStringLiteral("2024-06-15"));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);

    form.pag.EseguiComando(QStringLiteral("Nuovo"));
    form.log.clear();
    form.arrayDop.clear();
    form.gruppo->setText(QStringLiteral("01"));
    form.conto->setText(QStringLiteral("0002"));
    form.descrizione->setText(QStringLiteral("Doppione"));
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_TRUE(ultimoMessaggio().contains(QStringLiteral("3022")));
    EXPECT_EQ(form.pag.UltimoRisultato(0), -3022);
    EXPECT_EQ(form.arrayDop.last().value(0), QVariant(false));
    EXPECT_EQ(valore(QStringLiteral("0002"), QStringLiteral("Descrizione")), QStringLiteral("Bianchi Srl"));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoNuovo);
}

TEST_F(Pagine, AfterSavingANewRecordItStaysOrTheFormClears)
{
    struct Caso {
        int modo;
        const char *conto;
        int stato;
        const char *descrizione;
    };
    for (const Caso &c : {Caso{0, "0030", GestPagine::StatoRecord, "Nuovo 30"},
                          Caso{1, "0031", GestPagine::StatoNuovo, ""}}) {
        form.pag.ImpostaDopoSalvataggio(c.modo);
        form.pag.EseguiComando(QStringLiteral("Nuovo"));
        form.gruppo->setText(QStringLiteral("01"));
        form.conto->setText(QString::fromLatin1(c.conto));
        form.descrizione->setText(QStringLiteral("Nuovo ") + QString::fromLatin1(c.conto).right(2));
        ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool()) << c.modo;
        EXPECT_EQ(valore(QString::fromLatin1(c.conto), QStringLiteral("Descrizione")),
                  QStringLiteral("Nuovo ") + QString::fromLatin1(c.conto).right(2));
        EXPECT_EQ(form.pag.StatoPagina(), c.stato) << c.modo;
        EXPECT_EQ(form.descrizione->text(), QString::fromLatin1(c.descrizione)) << c.modo;
        EXPECT_FALSE(form.pag.RecordModificato()) << c.modo;
    }
    // A stored record saved again stays shown either way.
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    form.citta->setText(QStringLiteral("Latina"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);
    EXPECT_EQ(form.citta->text(), QStringLiteral("Latina"));
}

TEST_F(Pagine, CopyKeepsTheValuesButTheLastKeyPart)
{
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Duplica")).toBool());
    EXPECT_EQ(form.log, (QStringList{"Pri17", "Pri0", "Dop0", "Dop17"}));
    EXPECT_EQ(form.arrayDop.last().value(0), QVariant(3));
    EXPECT_TRUE(form.conto->text().isEmpty());
    EXPECT_EQ(form.gruppo->text(), QStringLiteral("01"));
    EXPECT_EQ(form.descrizione->text(), QStringLiteral("Rossi Mario"));
    EXPECT_TRUE(form.pag.RecordModificato());
    form.conto->setText(QStringLiteral("0030"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(valore(QStringLiteral("0030"), QStringLiteral("Citta")), QStringLiteral("Roma"));
    EXPECT_EQ(righe(), 6);
}

TEST_F(Pagine, AnExistingKeyTypedIntoACopyIsReadOnlyWhenTheUserAgrees)
{
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Duplica")).toBool());
    form.citta->setText(QStringLiteral("Viterbo"));
    form.conto->setText(QStringLiteral("0002"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2);
    form.pag.CampoUscito(QStringLiteral("Conto"));
    EXPECT_TRUE(
        ultimoMessaggio().startsWith(QStringLiteral("Esiste già un record con questo codice: leggerlo?")));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoNuovo);
    EXPECT_EQ(form.descrizione->text(), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(form.citta->text(), QStringLiteral("Viterbo"));
    EXPECT_EQ(ColoriVb::BackColor(form.conto), Errore);
    EXPECT_TRUE(form.pag.RecordModificato());
    // Leaving the key again with the same code does not ask again.
    const int domande = RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size();
    form.pag.CampoUscito(QStringLiteral("Conto"));
    EXPECT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size(), domande);
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoNuovo);

    form.conto->setText(QStringLiteral("0001"));
    form.conto->setText(QStringLiteral("0002"));
    form.pag.CampoUscito(QStringLiteral("Conto"));
    EXPECT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size(), domande);
    form.conto->setText(QStringLiteral("0010"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2);
    form.pag.CampoUscito(QStringLiteral("Conto"));
    EXPECT_EQ(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).size(), domande + 1);

    form.conto->setText(QStringLiteral("0002"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
    form.pag.CampoUscito(QStringLiteral("Conto"));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);
    EXPECT_EQ(form.descrizione->text(), QStringLiteral("Bianchi Srl"));

    // On a new record with nothing but its key typed the record is simply read.
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Nuovo")).toBool());
    RisposteProgrammate::Azzera();
    RisposteProgrammate::ImpostaSenzaModali(true);
    form.gruppo->setText(QStringLiteral("01"));
    form.conto->setText(QStringLiteral("0010"));
    form.pag.CampoUscito(QStringLiteral("Conto"));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);
    EXPECT_TRUE(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).isEmpty());
}

TEST_F(Pagine, DeleteAsksAndCallsBackWithTheResult)
{
    leggi(QStringLiteral("01"), QStringLiteral("0002"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2);
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Cancella")).toBool());
    EXPECT_EQ(righe(), 5);
    EXPECT_TRUE(form.log.isEmpty());

    form.rispostaPri[GestPagine::OpCancella] = 1;
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Cancella")).toBool());
    EXPECT_EQ(righe(), 5);

    form.rispostaPri.clear();
    form.log.clear();
    form.arrayDop.clear();
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Cancella")).toBool());
    EXPECT_EQ(righe(), 4);
    EXPECT_EQ(form.log.mid(0, 2), (QStringList{"Pri16", "Dop16"}));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoNuovo);
    EXPECT_TRUE(form.descrizione->text().isEmpty());
}

TEST_F(Pagine, MovesInKeyOrderAmongTheFormsRecords)
{
    auto conto = [this] { return form.gruppo->text() + QLatin1Char('-') + form.conto->text(); };
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Inizio")).toBool());
    EXPECT_EQ(conto(), QStringLiteral("01-0001"));
    const QStringList avanti = {"01-0002", "01-0010", "02-0001"}; // 01-0003 is of another type
    for (const QString &atteso : avanti) {
        ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Successivo")).toBool());
        EXPECT_EQ(conto(), atteso);
    }
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Successivo")).toBool());
    EXPECT_EQ(conto(), QStringLiteral("02-0001"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Precedente")).toBool());
    EXPECT_EQ(conto(), QStringLiteral("01-0010"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Fine")).toBool());
    EXPECT_EQ(conto(), QStringLiteral("02-0001"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Inizio")).toBool());
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Precedente")).toBool());
    EXPECT_EQ(conto(), QStringLiteral("01-0001"));
}

// Seeks go one key level at a time: across a group with several others of
// another type in between, from a partial key, and past either end the record
// shown stays with its own row set.
TEST_F(Pagine, SeeksCrossGroupsFromPartialKeysAndKeepTheShownRecordAtTheEnds)
{
    for (const char *r : {"('01', '0011', '2')", "('01', '0020', '2')", "('02', '0000', '2')",
                          "('03', '0001', '3')", "('03', '0002', '3')", "('04', '0001', '2')"})
        db.EseguiSql(QStringLiteral("Prova"),
                     QStringLiteral("INSERT INTO Clienti (Gruppo, Conto, Tipo) VALUES ") + QLatin1String(r));
    auto conto = [this] { return form.gruppo->text() + QLatin1Char('-') + form.conto->text(); };
    const QStringList ordine = {"01-0001", "01-0002", "01-0010", "02-0001", "03-0001", "03-0002"};
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Inizio")).toBool());
    for (qsizetype i = 1; i < ordine.size(); ++i) {
        ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Successivo")).toBool());
        EXPECT_EQ(conto(), ordine[i]);
    }
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Successivo")).toBool());
    EXPECT_EQ(form.pag.LeggiCampo(form.pag.ChiaveRecordset(), QStringLiteral("Conto")).toString(), "0002");
    for (qsizetype i = ordine.size() - 2; i >= 0; --i) {
        ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Precedente")).toBool());
        EXPECT_EQ(conto(), ordine[i]);
    }
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Precedente")).toBool());
    EXPECT_EQ(form.pag.LeggiCampo(form.pag.ChiaveRecordset(), QStringLiteral("Gruppo")).toString(), "01");
    EXPECT_EQ(form.pag.LeggiCampo(form.pag.ChiaveRecordset(), QStringLiteral("Conto")).toString(), "0001");

    // A group typed alone: its first record forwards, the last before it backwards.
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Nuovo")).toBool());
    form.pag.ScriviCampo(QStringLiteral("Gruppo"), QStringLiteral("02"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Successivo")).toBool());
    EXPECT_EQ(conto(), QStringLiteral("02-0001"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Nuovo")).toBool());
    form.pag.ScriviCampo(QStringLiteral("Gruppo"), QStringLiteral("03"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Precedente")).toBool());
    EXPECT_EQ(conto(), QStringLiteral("03-0002"));
}

TEST_F(Pagine, ChangedRecordAsksBeforeMovingOrClosing)
{
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    form.citta->setFocus();
    QTest::keyClicks(form.citta, QStringLiteral("!"));

    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 3); // Annulla: stay
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Successivo")).toBool());
    EXPECT_EQ(form.conto->text(), QStringLiteral("0001"));
    EXPECT_EQ(RisposteProgrammate::UltimoMostrato(RisposteProgrammate::MsgCom)
                  .value(QStringLiteral("pulsanti"))
                  .toStringList(),
              (QStringList{"&Sì", "&No", "&Annulla"}));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 3);
    EXPECT_FALSE(form.pag.PuoChiudere());

    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1); // Sì: saved, then moves
    EXPECT_TRUE(form.pag.EseguiComando(QStringLiteral("Successivo")).toBool());
    EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Citta")), QStringLiteral("Roma!"));
    EXPECT_EQ(form.conto->text(), QStringLiteral("0002"));

    QTest::keyClicks(form.citta, QStringLiteral("?"));
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2); // No: changes dropped
    EXPECT_TRUE(form.pag.PuoChiudere());
    EXPECT_EQ(valore(QStringLiteral("0002"), QStringLiteral("Citta")), QStringLiteral("Milano"));
}

TEST_F(Pagine, SearchModeFindsByTheRegisteredOperators)
{
    leggi(QStringLiteral("01"), QStringLiteral("0002"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Ricerca")).toBool());
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRicerca);
    EXPECT_TRUE(form.descrizione->text().isEmpty());
    EXPECT_EQ(form.tipo->text(), QStringLiteral("3"));
    form.descrizione->setText(QStringLiteral("ross"));
    EXPECT_FALSE(form.pag.RecordModificato()); // criteria are not edits
    EXPECT_EQ(form.pag.CondizioneRicerca(), QStringLiteral("Descrizione like 'ross*' And Tipo = '3'"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Ricerca")).toBool());
    EXPECT_EQ(form.conto->text(), QStringLiteral("0001"));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);

    form.pag.EseguiComando(QStringLiteral("Ricerca"));
    form.citta->setText(QStringLiteral("Nessuna"));
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Ricerca")).toBool());
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Nessun record corrisponde ai criteri di ricerca."));
}

TEST_F(Pagine, KeyEnteredIsCheckedThenReadWhenItExists)
{
    form.rispostaPri[GestPagine::OpChiave] = 20;
    form.campoInErrore = QStringLiteral("Gruppo");
    form.gruppo->setText(QStringLiteral("01"));
    form.conto->setText(QStringLiteral("0010"));
    form.pag.CampoUscito(QStringLiteral("Conto"));
    EXPECT_EQ(ColoriVb::BackColor(form.gruppo), Errore);
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoNuovo);

    form.rispostaPri.clear();
    form.log.clear();
    form.arrayDop.clear();
    form.pag.CampoUscito(QStringLiteral("Conto"));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);
    EXPECT_EQ(form.descrizione->text(), QStringLiteral("Rossetti Anna"));
    EXPECT_EQ(form.log.mid(0, 3), (QStringList{"Pri4", "Dop4", "Pri5"}));
    EXPECT_EQ(form.arrayDop.last().value(2), QVariant(2)); // read from the key control
    EXPECT_NE(ColoriVb::BackColor(form.gruppo), Errore);
}

TEST_F(Pagine, FailedKeyReadOnLeavingTheKeyIsReportedNotThrown)
{
    db.EseguiSql(QStringLiteral("Prova"), QStringLiteral("DROP TABLE Clienti"));
    form.gruppo->setText(QStringLiteral("01"));
    form.conto->setText(QStringLiteral("0010"));
    EXPECT_NO_THROW(form.pag.CampoUscito(QStringLiteral("Conto")));
    EXPECT_TRUE(ultimoMessaggio().startsWith(QStringLiteral("Errore("))) << ultimoMessaggio().toStdString();
    EXPECT_LT(form.pag.UltimoRisultato(), 0);
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoNuovo);
}

TEST_F(Pagine, WithTheSwitchOffTheFormsTransactionHoldsTheWrite)
{
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    form.citta->setText(QStringLiteral("Pisa"));
    form.dopo = [this](int op, QVariant &, QVariantList &) {
        if (op == GestPagine::OpSalva) {
            db.AnnullaTrans(QStringLiteral("Prova"));
            form.pag.AbilitaTransazione(true);
        }
    };
    db.IniziaTrans(QStringLiteral("Prova"));
    form.pag.AbilitaTransazione(false);
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(db.LivelloTrans(QStringLiteral("Prova")), 0);
    EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Citta")), QStringLiteral("Roma"));
}

TEST_F(Pagine, ReadOnlyLevelAllowsOnlyLookingAndSearching)
{
    form.pag.oiAbilRW(0);
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    EXPECT_TRUE(form.citta->isReadOnly());
    EXPECT_FALSE(form.pag.Bottone(QStringLiteral("Salva"))->isEnabled());
    form.citta->setText(QStringLiteral("Pisa"));
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 1);
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Cancella")).toBool());
    EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Citta")), QStringLiteral("Roma"));
    EXPECT_TRUE(form.pag.EseguiComando(QStringLiteral("Successivo")).toBool());
    EXPECT_TRUE(form.pag.EseguiComando(QStringLiteral("Ricerca")).toBool());
    EXPECT_FALSE(form.citta->isReadOnly()); // criteria can be typed
}

TEST_F(Pagine, ToolbarClickGoesThroughTheFormsCommand)
{
    form.pag.Bottone(QStringLiteral("Inizio"))->trigger();
    EXPECT_EQ(form.conto->text(), QStringLiteral("0001"));
    EXPECT_TRUE(form.pag.Bottone(QStringLiteral("Cancella"))->isEnabled());
    EXPECT_EQ(form.pag.Bottone(QStringLiteral("VarKey"))->toolTip(),
              QStringLiteral("(V) Varia campi chiave"));
}

TEST_F(Pagine, ChangingTheKeyOfAStoredRecord)
{
    leggi(QStringLiteral("01"), QStringLiteral("0001"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("VarKey")).toBool());
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoVariaChiave);
    EXPECT_FALSE(form.conto->isReadOnly());
    form.conto->setText(QStringLiteral("0002"));
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(ultimoMessaggio(), QStringLiteral("Esiste già un record con questo codice."));
    form.conto->setText(QStringLiteral("0099"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(valore(QStringLiteral("0099"), QStringLiteral("Descrizione")), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(valore(QStringLiteral("0001"), QStringLiteral("Descrizione")), QStringLiteral("<nessuna>"));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);
}

} // namespace

namespace
{

// After a write, the reads of the test database can be refused: a trigger arms
// a flag, and an authoriser refuses every SELECT prepared while it is armed.
bool g_letturaNegata = false;

int autorizza(void *, int azione, const char *, const char *, const char *, const char *)
{
    return g_letturaNegata && azione == SQLITE_SELECT ? SQLITE_DENY : SQLITE_OK;
}

void arma(sqlite3_context *ctx, int, sqlite3_value **)
{
    g_letturaNegata = true;
    sqlite3_result_null(ctx);
}

} // namespace

TEST_F(Pagine, ASaveWhoseReadBackFailsIsReportedAsSaved)
{
    sqlite3 *h =
        *static_cast<sqlite3 *const *>(db.DatabaseDao(QStringLiteral("Prova")).driver()->handle().data());
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(sqlite3_create_function(h, "nega_letture", 0, SQLITE_UTF8, nullptr, arma, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_set_authorizer(h, autorizza, nullptr), SQLITE_OK);
    db.EseguiSql(QStringLiteral("Prova"), QStringLiteral("CREATE TRIGGER Scritto AFTER UPDATE ON Clienti "
                                                         "BEGIN SELECT nega_letture(); END"));
    leggi(QStringLiteral("01"), QStringLiteral("0002"));

    form.citta->setText(QStringLiteral("Como"));
    EXPECT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    g_letturaNegata = false;
    EXPECT_EQ(valore(QStringLiteral("0002"), QStringLiteral("Citta")), QStringLiteral("Como"));
    EXPECT_TRUE(ultimoMessaggio().startsWith(
        QStringLiteral("Il record è stato salvato, ma non è stato possibile rileggerlo:")))
        << ultimoMessaggio().toStdString();
    // The form's after-save heard of a written row.
    EXPECT_EQ(form.log.last(), QStringLiteral("Dop12"));
    EXPECT_EQ(form.arrayDop.last().value(0), QVariant(true));
    EXPECT_EQ(form.pag.StatoPagina(), GestPagine::StatoRecord);
    EXPECT_FALSE(form.pag.RecordModificato());

    // Without the stored row the next save is refused until the record is read again.
    db.EseguiSql(QStringLiteral("Prova"), QStringLiteral("DROP TRIGGER Scritto"));
    form.citta->setText(QStringLiteral("Lecco"));
    EXPECT_FALSE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_TRUE(ultimoMessaggio().contains(QStringLiteral("rileggerlo con \"Annulla\"")));
    EXPECT_EQ(valore(QStringLiteral("0002"), QStringLiteral("Citta")), QStringLiteral("Como"));
    ASSERT_TRUE(form.pag.EseguiComando(QStringLiteral("Annulla")).toBool());
    form.citta->setText(QStringLiteral("Lecco"));
    EXPECT_TRUE(form.pag.EseguiComando(QStringLiteral("Salva")).toBool());
    EXPECT_EQ(valore(QStringLiteral("0002"), QStringLiteral("Citta")), QStringLiteral("Lecco"));
    sqlite3_set_authorizer(h, nullptr, nullptr);
}
