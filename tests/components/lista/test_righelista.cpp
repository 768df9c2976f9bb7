// The rows of a list read a page at a time, on SQLite and PostgreSQL: every
// way of moving through the list (forwards, backwards from the end, jumps)
// gives exactly the rows of the whole SELECT, Null and equal names included;
// scrolling never skips rows by offset and keeps a bounded number of pages.
#include "tests/components/db/ProvaMotori.h"

#include "components/lista/ConteggioParallelo.h"
#include "components/lista/ModelloLista.h"
#include "components/lista/RigheLista.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

namespace
{

const QString kSelect = QStringLiteral("Select Gruppo, Mastro, Conto, Descrizione, DataAp from PianoConti");
constexpr int kRighe = 3300; // more pages than the list keeps

class ListaRighe : public ProvaMotori
{
  protected:
    void SetUp() override
    {
        ProvaMotori::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Names that repeat (also differing only in case), Nulls, two ledgers
        // and a supplier ledger the condition leaves out.
        const QStringList nomi = {"Rossi", "rossi", "Bianchi", "Verdi S.p.A.", "ROSSI ", "D'Amico", "Zeta"};
        QStringList valori;
        for (int i = 0; i < kRighe; ++i) {
            const QString mastro = i % 11 == 0   ? QStringLiteral("06")
                                   : i % 29 == 0 ? QStringLiteral("99")
                                                 : QStringLiteral("05");
            const QString descr = i % 37 == 0 ? QStringLiteral("Null")
                                              : QLatin1Char('\'') +
                                                    QString(nomi[i % nomi.size()]).replace('\'', "''") +
                                                    QString::number(i % 13) + QLatin1Char('\'');
            valori << QStringLiteral("('01', '%1', '%2', '3', %3, '2020-01-%4')")
                          .arg(mastro)
                          .arg(i, 4, 10, QLatin1Char('0'))
                          .arg(descr)
                          .arg(1 + i % 28, 2, 10, QLatin1Char('0'));
            if (valori.size() == 400 || i == kRighe - 1) {
                Esegui(QStringLiteral(
                           "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, DataAp) "
                           "VALUES ") +
                       valori.join(QStringLiteral(", ")));
                valori.clear();
            }
        }
        righe.ImpostaDatabase(db.get(), C);
        righe.ImpostaChiave({QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")});
    }

    // The whole list, read at once in the order the list uses.
    QStringList attese(const QString &sql)
    {
        righe.Apri(sql);
        auto tutto = db->Seleziona(C, SqlLista::Pagina(righe.Parti(), {}, righe.Ordine(), false, 0));
        QStringList out;
        for (int r = 0; r < tutto->numRighe(); ++r)
            out << tutto->valore(r, 2).toString();
        righe.Apri(sql);
        return out;
    }

    QString conto(int riga) { return righe.Valore(riga, 2).toString(); }

    RigheLista righe;
};

} // namespace

TEST_P(ListaRighe, OgniPercorsoDaLeRigheDellaSelect)
{
    for (const QString &ordine :
         {QStringLiteral(" order by Descrizione"), QStringLiteral(" order by Descrizione Desc"),
          QStringLiteral(" order by Gruppo, Mastro, Conto"),
          QStringLiteral(" order by DataAp Desc, Descrizione")}) {
        SCOPED_TRACE(ordine.toStdString());
        const QString sql = kSelect + QStringLiteral(" where Mastro <> '99'") + ordine;
        const QStringList tutte = attese(sql);
        ASSERT_GT(tutte.size(), 3000);
        ASSERT_TRUE(righe.PerChiave());

        // Forwards, row by row, as a scrolling view asks.
        for (int r = 0; r < tutte.size(); ++r)
            ASSERT_EQ(conto(r), tutte[r]) << "riga " << r;
        EXPECT_FALSE(righe.Esiste(int(tutte.size())));
        EXPECT_EQ(righe.Stat().perSalto, 0);
        EXPECT_LE(righe.PagineInMemoria(), RigheLista::PagineTenute);
        EXPECT_EQ(righe.RigheNote(), tutte.size());

        // Backwards from the end once counted: one skip to reach the end.
        righe.Apri(sql);
        ASSERT_EQ(righe.Conta(), tutte.size());
        for (int r = int(tutte.size()) - 1; r >= 0; --r)
            ASSERT_EQ(conto(r), tutte[r]) << "riga " << r;
        EXPECT_LE(righe.Stat().perSalto, 1);
        EXPECT_LT(righe.Stat().righeSaltate, RigheLista::RighePagina);

        // Jumps anywhere, then their neighbours.
        righe.Apri(sql);
        righe.Conta();
        QRandomGenerator caso(42);
        for (int i = 0; i < 40; ++i) {
            const int r = int(caso.bounded(int(tutte.size())));
            ASSERT_EQ(conto(r), tutte[r]) << "salto a " << r;
            if (r + 130 < tutte.size()) {
                ASSERT_EQ(conto(r + 130), tutte[r + 130]);
            }
            if (r >= 130) {
                ASSERT_EQ(conto(r - 130), tutte[r - 130]);
            }
        }

        // Printing's reading: every row once, in order.
        RigheLista::Lettura lettura(righe);
        QVariantList v;
        QStringList lette;
        while (lettura.Successiva(v))
            lette << v.value(2).toString();
        EXPECT_EQ(lette, tutte);

        // A write on the list's connection halfway through the reading (on
        // SQLite it ends the statement the rows are stepped from).
        RigheLista::Lettura seconda(righe);
        lette.clear();
        while (seconda.Successiva()) {
            lette << seconda.Valore(2).toString();
            if (lette.size() == 1500)
                Esegui(QStringLiteral("UPDATE PianoConti SET Tipo = '4' WHERE Conto = '0001'"));
        }
        EXPECT_EQ(lette, tutte);
    }
}

// The reading of every row for an export hands each text over as UTF-8 bytes
// that read as its value does (names with accents and quotes, an empty one),
// and none for a Null or a date; also past a write on the list's connection
// halfway through, and on a server, whose rows come a step at a time.
TEST_P(ListaRighe, LetturaPerEsportareDaITestiInUtf8)
{
    Esegui(QStringLiteral("UPDATE PianoConti SET Descrizione = 'Città d''Ærø 😀' WHERE Conto = '0002'"));
    Esegui(QStringLiteral("UPDATE PianoConti SET Descrizione = '' WHERE Conto = '0003'"));
    righe.Apri(kSelect + QStringLiteral(" where Mastro <> '99' order by Gruppo, Mastro, Conto"));
    RigheLista::Lettura lettura(righe);
    int lette = 0, testi = 0, nulli = 0;
    while (lettura.Successiva()) {
        if (++lette == 2000)
            Esegui(QStringLiteral("UPDATE PianoConti SET Tipo = '4' WHERE Conto = '0001'"));
        for (int c = 0; c < 5; ++c) {
            const QVariant v = lettura.Valore(c);
            const QByteArrayView b = lettura.TestoUtf8(c);
            if (v.typeId() != QMetaType::QString) {
                ASSERT_TRUE(b.isNull()) << lette << " " << c;
                nulli += v.isValid() ? 0 : 1;
                continue;
            }
            ASSERT_FALSE(b.isNull()) << lette << " " << c;
            ASSERT_EQ(QString::fromUtf8(b), v.toString()) << lette << " " << c;
            ++testi;
        }
    }
    EXPECT_GT(lette, 3000);
    EXPECT_EQ(testi, lette * 4 - nulli);
    EXPECT_GT(nulli, 50);
}

// A jump whose rows to skip run past the rows with a name into the Nulls
// after them (descending): the skipped part of each piece is counted, and the
// page shown is the one at that place.
TEST_P(ListaRighe, SaltoOltreINomiFinoAiNulli)
{
    Esegui(QStringLiteral(
        "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo) SELECT '01', '07', Conto, '3' FROM "
        "PianoConti WHERE Mastro = '05' AND Conto < '0500'"));
    const QString sql = kSelect + QStringLiteral(" where Mastro <> '99' order by Descrizione Desc");
    const QStringList tutte = attese(sql);
    righe.Apri(sql);
    ASSERT_EQ(conto(0), tutte[0]);
    const int ultima = int(tutte.size()) - 1;
    ASSERT_TRUE(
        righe.Valore(ultima - RigheLista::RighePagina * 2, 3).isNull()); // the page is among the Nulls
    for (int r = ultima - RigheLista::RighePagina * 2; r > ultima - RigheLista::RighePagina * 3; --r)
        ASSERT_EQ(conto(r), tutte[r]) << r;
    EXPECT_EQ(righe.Stat().perSalto, 1);
}

// A long list's landmarks, read on the counting connection after the count:
// jumps anywhere then skip fewer rows than lie between two landmarks, and
// still give the rows of the SELECT (repeated names, Nulls, dates, descending).
TEST_P(ListaRighe, SaltiDaiSegnapostiLettiDopoIlConteggio)
{
    constexpr int passo = 200; // not a multiple of the page
    for (const QString &ordine :
         {QStringLiteral(" order by Descrizione Desc"), QStringLiteral(" order by DataAp Desc, Descrizione"),
          QStringLiteral(" order by Gruppo, Mastro, Conto")}) {
        SCOPED_TRACE(ordine.toStdString());
        const QString sql = kSelect + QStringLiteral(" where Mastro <> '99'") + ordine;
        const QStringList tutte = attese(sql);
        ConteggioParallelo conteggio;
        QList<QVariantList> letti;
        QObject::connect(&conteggio, &ConteggioParallelo::Contate,
                         [&](int apertura, int n) { righe.ImpostaConteggio(apertura, n); });
        QObject::connect(&conteggio, &ConteggioParallelo::Segnaposti,
                         [&](int apertura, int p, const QList<QVariantList> &r) {
                             letti = r;
                             righe.ImpostaSegnaposti(apertura, p, r);
                         });
        ASSERT_TRUE(conteggio.Avvia(db.get(), C, SqlLista::Conteggio(righe.Parti()), righe.Apertura(),
                                    righe.SqlOrdinata(), passo));
        for (int i = 0; i < 3000 && ConteggioParallelo::InCorso() > 0; ++i)
            QTest::qWait(5);
        ASSERT_EQ(righe.RigheNote(), tutte.size());
        ASSERT_EQ(letti.size(), tutte.size() / passo);

        QRandomGenerator caso(7);
        for (int i = 0; i < 30; ++i) {
            const int r = int(caso.bounded(int(tutte.size())));
            const qint64 prima = righe.Stat().righeSaltate;
            ASSERT_EQ(conto(r), tutte[r]) << "salto a " << r;
            EXPECT_LT(righe.Stat().righeSaltate - prima, passo) << "salto a " << r;
            if (r + 1 < tutte.size()) {
                ASSERT_EQ(conto(r + 1), tutte[r + 1]);
            }
        }
    }
}

// While the landmarks are on their way a far page is left blank on the
// screen, never read by skipping rows (a near one is read at once); they
// come, or none come, and the screen is painted again with the right rows.
// Logic reads never wait.
TEST_P(ListaRighe, PagineLontaneAttendonoISegnaposti)
{
    const QString sql = kSelect + QStringLiteral(" where Mastro <> '99' order by Descrizione");
    const QStringList tutte = attese(sql);
    const int lontana = int(tutte.size()) / 2, vicina = 4 * RigheLista::RighePagina + 5;
    ASSERT_GT(lontana - RigheLista::SaltoSenzaSegnaposti, 2 * RigheLista::RighePagina);
    ModelloLista modello;
    QSignalSpy ridipinte(&modello, &QAbstractItemModel::dataChanged);
    QStringList lette;
    db->ImpostaOsservatoreMotore([&](const QString &s) { lette << s; });
    auto cella = [&](int riga) { return modello.data(modello.index(riga, 2)).toString(); };
    for (const bool vengono : {true, false}) {
        SCOPED_TRACE(vengono ? "vengono" : "mancano");
        righe.Apri(sql);
        righe.Conta();
        righe.ImpostaSegnapostiInArrivo(true);
        modello.ImpostaRighe(&righe);
        ridipinte.clear();
        lette.clear();
        EXPECT_EQ(cella(lontana), QString());
        EXPECT_TRUE(lette.isEmpty()) << lette.join('\n').toStdString();
        EXPECT_EQ(cella(vicina), tutte[vicina]);
        if (vengono) {
            ConteggioParallelo conteggio;
            QObject::connect(&conteggio, &ConteggioParallelo::Segnaposti,
                             [&](int apertura, int passo, const QList<QVariantList> &r) {
                                 righe.ImpostaSegnaposti(apertura, passo, r);
                                 modello.RinfrescaRinviate();
                             });
            ASSERT_TRUE(conteggio.Avvia(db.get(), C, SqlLista::Conteggio(righe.Parti()), righe.Apertura(),
                                        righe.SqlOrdinata(), RigheLista::PassoSegnaposti));
            for (int i = 0; i < 3000 && ConteggioParallelo::InCorso() > 0; ++i)
                QTest::qWait(5);
        } else {
            // What the counting thread sends when their reading failed.
            righe.ImpostaSegnaposti(righe.Apertura(), RigheLista::PassoSegnaposti, {});
            modello.RinfrescaRinviate();
        }
        EXPECT_FALSE(righe.SegnapostiInArrivo());
        EXPECT_EQ(ridipinte.size(), 1);
        lette.clear();
        EXPECT_EQ(cella(lontana), tutte[lontana]);
        EXPECT_EQ(cella(lontana + 1), tutte[lontana + 1]);
        EXPECT_EQ(lette.filter(QStringLiteral("OFFSET"), Qt::CaseInsensitive).size(), vengono ? 0 : 1);
        modello.RinfrescaRinviate(); // nothing left blank since
        EXPECT_EQ(ridipinte.size(), 1);
        // A logic read takes the row whatever comes.
        righe.ImpostaSegnapostiInArrivo(true);
        EXPECT_EQ(righe.Valore(lontana + 3 * RigheLista::RighePagina, 2).toString(),
                  tutte[lontana + 3 * RigheLista::RighePagina]);
        // A new opening waits for nothing until told.
        righe.Riapri();
        EXPECT_FALSE(righe.SegnapostiInArrivo());
    }
    db->ImpostaOsservatoreMotore({});
}

TEST_P(ListaRighe, TrovaEPosizioneDiUnaChiave)
{
    const QString sql = kSelect + QStringLiteral(" where Mastro <> '99' order by Descrizione");
    const QStringList tutte = attese(sql);
    auto nome = [&](int r) { return righe.Valore(r, 3).toString(); };
    auto verifica = [&](int r) { return nome(r).startsWith(QLatin1String("D'Am"), Qt::CaseInsensitive); };
    const QString cond = QStringLiteral("Descrizione Like 'D''Am*'");
    // The row found, in its place (counted here: the program counts it apart).
    auto trova = [&](const QString &c, int da, bool avanti) {
        const int r = righe.Trova(c, verifica, da, avanti);
        return r < 0 ? r : r + righe.Assesta();
    };

    const int primo = trova(cond, -1, true);
    ASSERT_GE(primo, 0);
    EXPECT_TRUE(verifica(primo));
    EXPECT_FALSE(primo > 0 && verifica(primo - 1));
    const int secondo = trova(cond, primo, true);
    EXPECT_EQ(secondo, primo + 1);
    const int ultimo = trova(cond, -1, false);
    EXPECT_TRUE(verifica(ultimo));
    EXPECT_FALSE(righe.Esiste(ultimo + 1) && verifica(ultimo + 1));
    EXPECT_EQ(trova(cond, primo, false), -1);
    // From a row shown before its place is known: its place is counted first.
    EXPECT_EQ(righe.Trova(cond, verifica, -1, true), RigheLista::RighePagina / 2);
    EXPECT_FALSE(righe.PosizioneNota());
    EXPECT_EQ(trova(cond, RigheLista::RighePagina / 2, true), primo + 1);
    EXPECT_EQ(trova(QStringLiteral("Descrizione Like 'Nessuno*'"), -1, true), -1);

    // A key deep in the list: its position, and its page read around it.
    const int dove = int(tutte.size()) - 200;
    const QVariantList chiave = {righe.Valore(dove, 0), righe.Valore(dove, 1), righe.Valore(dove, 2)};
    righe.Apri(sql);
    EXPECT_EQ(righe.PosizioneChiave(chiave), dove);
    const int salti = righe.Stat().perSalto;
    for (int r = dove - 5; r < dove + 5; ++r)
        EXPECT_EQ(conto(r), tutte[r]);
    EXPECT_EQ(righe.Stat().perSalto, salti);
    // A supplier account is not in this list.
    EXPECT_EQ(righe.PosizioneChiave({QStringLiteral("01"), QStringLiteral("99"), QStringLiteral("0029")}),
              -1);
}

// A new order opened around a row: the rows around it at once, numbered
// from the first one read until the count of the rows before it (made on a
// connection of its own in the program) gives them their places; far pages
// are not read meanwhile, and an operation that needs every row's place
// counts it then. Near the start the place is known at once. Read a few rows
// each side first (a screen), the rest of its page comes when a row outside
// them is asked for.
TEST_P(ListaRighe, ApriIntornoMostraSubitoLeRigheEPoiIlPosto)
{
    const QString sql = kSelect + QStringLiteral(" where Mastro <> '99' order by Descrizione");
    const QStringList tutte = attese(sql);
    const int n = int(tutte.size());
    const int meta = RigheLista::RighePagina / 2;
    int spostate = 0, avvisi = 0;
    righe.ImpostaAvvisoSpostamento([&](int s) {
        spostate = s;
        ++avvisi;
    });
    struct Caso {
        int riga;
        bool assestaDaSola; // a key looked for meanwhile gives the rows their places
    };
    for (const int vicine : {0, 5})
        for (const Caso &c : {Caso{0, false}, Caso{4, false}, Caso{meta - 1, false}, Caso{meta, false},
                              Caso{n / 2, false}, Caso{n - 3, false}, Caso{n / 3, true}}) {
            SCOPED_TRACE(QStringLiteral("vicine %1, riga %2").arg(vicine).arg(c.riga).toStdString());
            righe.ImpostaRigheVicine(0);
            righe.Apri(sql);
            const QVariantList chiave = righe.Valori(
                c.riga, {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")});
            avvisi = 0;
            righe.ImpostaRigheVicine(vicine);
            const int riga = righe.ApriIntorno(sql, chiave, n);
            EXPECT_EQ(righe.RigheNote(), n);
            if (c.riga < (vicine > 0 ? vicine : meta)) {
                EXPECT_EQ(riga, c.riga);
                EXPECT_TRUE(righe.PosizioneNota());
                EXPECT_FALSE(righe.IntornoParziale());
                EXPECT_EQ(conto(riga), tutte[c.riga]);
                continue;
            }
            ASSERT_EQ(riga, meta);
            EXPECT_FALSE(righe.PosizioneNota());
            EXPECT_EQ(righe.IntornoParziale(), vicine > 0);
            if (c.riga < meta) {
                // Fewer rows before it than its page holds: reading them
                // gives its place.
                righe.CompletaIntorno();
                EXPECT_TRUE(righe.PosizioneNota());
                EXPECT_EQ(avvisi, 1);
                EXPECT_EQ(spostate, c.riga - meta);
                EXPECT_EQ(conto(c.riga), tutte[c.riga]);
                EXPECT_EQ(conto(0), tutte[0]);
                continue;
            }
            // The rows read, then the rest of the page and the next pages
            // from them; nothing far.
            for (int r = riga - vicine; r <= std::min(riga + vicine, n - c.riga + meta - 1); ++r)
                ASSERT_EQ(conto(r), tutte[c.riga - meta + r]) << r;
            EXPECT_EQ(righe.IntornoParziale(), vicine > 0);
            for (int r = 0; r < std::min(3 * RigheLista::RighePagina, n - c.riga + meta); ++r)
                ASSERT_EQ(conto(r), tutte[c.riga - meta + r]) << r;
            EXPECT_FALSE(righe.IntornoParziale());
            const int pagine = righe.Stat().pagine;
            EXPECT_FALSE(righe.Valore(n - 1, 2).isValid() && c.riga - meta > 0);
            EXPECT_EQ(righe.Stat().pagine, pagine);
            if (c.assestaDaSola) {
                EXPECT_EQ(righe.PosizioneChiave(chiave), c.riga);
            } else {
                int prima = 0;
                for (const QString &sql : righe.SqlPosizione())
                    prima += db->Seleziona(C, sql)->valore(0, 0).toInt();
                EXPECT_EQ(prima, c.riga);
                // A count for an earlier opening around a row changes nothing.
                EXPECT_EQ(righe.ImpostaPosizione(righe.Ancoraggio() - 1, prima), 0);
                EXPECT_FALSE(righe.PosizioneNota());
                EXPECT_EQ(righe.ImpostaPosizione(righe.Ancoraggio(), prima), c.riga - meta);
            }
            EXPECT_TRUE(righe.PosizioneNota());
            EXPECT_EQ(avvisi, 1);
            EXPECT_EQ(spostate, c.riga - meta);
            for (int r : {c.riga, 0, n - 1, c.riga - 1, std::min(n - 1, c.riga + 1)})
                EXPECT_EQ(conto(r), tutte[r]) << r;
        }
    // A key no longer there: the first page, as an opening gives it, and
    // the rows counted again (they changed since the count given).
    righe.Apri(sql);
    EXPECT_EQ(righe.ApriIntorno(sql, {QStringLiteral("01"), QStringLiteral("05"), QStringLiteral("9999")}, n),
              -1);
    EXPECT_FALSE(righe.ConteggioNoto());
    EXPECT_TRUE(righe.PosizioneNota());
    EXPECT_EQ(conto(0), tutte[0]);
}

// A search right after a new order, while the rows shown wait for their
// places: its statement is made from the row shown without counting, and a
// row found near the start takes its true place, the earlier places (and the
// count for them) forgotten. Its key comes from its row as a server writes it.
TEST_P(ListaRighe, RicercaSulleRigheInAttesaDelPosto)
{
    const QString sql = kSelect + QStringLiteral(" where Mastro <> '99' order by Descrizione");
    const QStringList tutte = attese(sql);
    const int n = int(tutte.size()), meta = RigheLista::RighePagina / 2;
    const QStringList chiave = {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")};
    const QVariantList vicina = righe.Valori(3, chiave);
    ASSERT_EQ(righe.ApriIntorno(sql, righe.Valori(n / 2, chiave), n), meta);
    ASSERT_FALSE(righe.PosizioneNota());
    QStringList lette;
    db->ImpostaOsservatoreSelect([&lette](const QString &s) { lette << s; });
    const QString trova = righe.SqlTrova(QStringLiteral("Descrizione Like 'Rossi*'"), meta, true);
    db->ImpostaOsservatoreSelect({});
    EXPECT_TRUE(lette.isEmpty()) << lette.join('\n').toStdString();
    EXPECT_FALSE(righe.PosizioneNota());
    EXPECT_EQ(db->Seleziona(C, trova, DbMotore::LetturaFiltrata)->numRighe(), 1);

    const int ancoraggio = righe.Ancoraggio();
    EXPECT_EQ(righe.MostraChiave(righe.ChiaveDi(
                  {"01", vicina[1].toString(), vicina[2].toString(), QVariant(), "2020-01-01"})),
              3);
    EXPECT_TRUE(righe.PosizioneNota());
    EXPECT_EQ(righe.ImpostaPosizione(ancoraggio, n / 2), 0);
    for (int r : {0, 3, meta, 2 * RigheLista::RighePagina})
        EXPECT_EQ(conto(r), tutte[r]) << r;
}

// Rows before the row shown went away before the rest of its page was read:
// too few are left to fill it, so their number gives the row its place.
TEST_P(ListaRighe, IntornoCompletatoDopoCheLeRighePrimaSonoSparite)
{
    const QString sql = kSelect + QStringLiteral(" where Mastro <> '99' order by Conto");
    const QStringList tutte = attese(sql);
    const int meta = RigheLista::RighePagina / 2;
    ASSERT_GT(tutte.size(), meta + 20);
    int spostate = 0;
    righe.ImpostaAvvisoSpostamento([&](int s) { spostate = s; });
    const int bersaglio = meta + 10;
    const QVariantList chiave = righe.Valori(
        bersaglio, {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")});
    righe.ImpostaRigheVicine(5);
    ASSERT_EQ(righe.ApriIntorno(sql, chiave, int(tutte.size())), meta);
    ASSERT_TRUE(righe.IntornoParziale());
    Esegui(QStringLiteral("DELETE FROM PianoConti WHERE Mastro <> '99' AND Conto < '%1'").arg(tutte[20]));
    righe.CompletaIntorno();
    EXPECT_FALSE(righe.IntornoParziale());
    EXPECT_TRUE(righe.PosizioneNota());
    EXPECT_EQ(spostate, bersaglio - 20 - meta);
    EXPECT_EQ(conto(bersaglio - 20), tutte[bersaglio]);
    EXPECT_EQ(conto(0), tutte[20]);
}

// A key shown without counting the rows before it: a row of the pages read
// has its number; a far one is shown among its neighbours, its place to
// follow; one near the start, looked for while rows are placed
// provisionally, has its place at once and the provisional rows go.
TEST_P(ListaRighe, MostraChiaveSenzaContareLeRighePrima)
{
    const QString sql = kSelect + QStringLiteral(" where Mastro <> '99' order by Descrizione");
    const QStringList tutte = attese(sql);
    const QStringList chiave = {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")};
    const int meta = RigheLista::RighePagina / 2;
    const int lontana = int(tutte.size()) / 2;
    const QVariantList lontanaChiave = righe.Valori(lontana, chiave);
    const QVariantList vicina = righe.Valori(3, chiave);
    righe.Apri(sql);
    righe.ImpostaRigheVicine(5);
    EXPECT_EQ(righe.MostraChiave(righe.Valori(40, chiave)), 40);
    EXPECT_TRUE(righe.PosizioneNota());
    ASSERT_EQ(righe.MostraChiave(lontanaChiave), meta);
    EXPECT_FALSE(righe.PosizioneNota());
    EXPECT_EQ(righe.Stat().conteggi, 0);
    EXPECT_EQ(conto(meta), tutte[lontana]);
    const int ancoraggio = righe.Ancoraggio();
    // Not in the list: nothing changes.
    EXPECT_EQ(righe.MostraChiave({QStringLiteral("01"), QStringLiteral("99"), QStringLiteral("0029")}), -1);
    EXPECT_FALSE(righe.PosizioneNota());
    EXPECT_EQ(conto(meta), tutte[lontana]);
    ASSERT_EQ(righe.MostraChiave(vicina), 3);
    EXPECT_TRUE(righe.PosizioneNota());
    EXPECT_FALSE(righe.IntornoParziale());
    // The count of the far row's place, come late, moves nothing.
    EXPECT_EQ(righe.ImpostaPosizione(ancoraggio, lontana), 0);
    for (int r : {0, 3, 60, meta, RigheLista::RighePagina + 5})
        EXPECT_EQ(conto(r), tutte[r]) << r;
    EXPECT_EQ(righe.Stat().conteggi, 0);
}

TEST_P(ListaRighe, SenzaChiaveDellaSchedaLaChiavePrimariaDellaTabella)
{
    const QString sql = kSelect + QStringLiteral(" order by Descrizione");
    const QStringList tutte = attese(sql);
    RigheLista sola;
    sola.ImpostaDatabase(db.get(), C);
    sola.Apri(sql);
    ASSERT_TRUE(sola.PerChiave());
    for (int r = 0; r < tutte.size(); r += 7)
        ASSERT_EQ(sola.Valore(r, 2).toString(), tutte[r]) << r;
    EXPECT_EQ(sola.Stat().perSalto, 0);
    // A SELECT that cannot be read by its neighbours' values still gives every row.
    sola.Apri(QStringLiteral("Select Distinct Mastro From PianoConti order by Mastro"));
    EXPECT_FALSE(sola.PerChiave());
    EXPECT_EQ(sola.Conta(), 3);
    EXPECT_EQ(sola.Valore(2, 0).toString(), QStringLiteral("99"));
}

// The plan SQLite makes, with the statistics the program keeps, for the
// record form's last record: the key's index read backwards, never a sort of
// the whole ledger (the list's pages: test_pianilista).
TEST_P(ListaRighe, UltimoRecordDallIndiceDellaChiave)
{
    if (Pg())
        GTEST_SKIP() << "the plan checked is SQLite's (PostgreSQL's are in the notes)";
    QSqlDatabase q = db->DatabaseDao(C);
    Schema::Statistiche(q);
    QSqlQuery e(q);
    ASSERT_TRUE(
        e.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT Gruppo, Mastro, Conto, Descrizione FROM PianoConti "
                              "WHERE Tipo = '3' ORDER BY Gruppo DESC, Mastro DESC, Conto DESC LIMIT 1")));
    QStringList righe;
    while (e.next())
        righe << e.value(3).toString();
    EXPECT_FALSE(righe.join(QLatin1Char('\n')).contains(QLatin1String("TEMP B-TREE")))
        << righe.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motori, ListaRighe, ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL),
                         NomeMotore);
