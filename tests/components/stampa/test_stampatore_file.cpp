// The print engine's file outputs before an existing file: the user is asked
// whether to replace it, and "No" leaves it untouched; the file's name says
// the format it is written in. And the layout of the paged outputs: codes,
// numbers and dates whole, captions wrapped, a list that cannot fit refused.
#include "DoppiStampa.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/ImpaginazioneLista.h"
#include "components/stampa/MisuraColonne.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "support/StampaQt.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

struct CasoSostituisci {
    const char *descrizione;
    int uscita;
    int formato;
    int risposta; // 1 "&Sì", 2 "&No"
};

void PrintTo(const CasoSostituisci &c, std::ostream *os)
{
    *os << c.descrizione;
}

class SostituisciFile : public ::testing::TestWithParam<CasoSostituisci>
{
  protected:
    void SetUp() override
    {
        RisposteProgrammate::Azzera();
        motore.ogOpzSta(&opz);
    }
    void TearDown() override { RisposteProgrammate::Azzera(); }

    OpzStampa opz{QStringLiteral("StampaClienti")};
    Stampatore motore;
    QTemporaryDir dir;
};

} // namespace

TEST_P(SostituisciFile, ExistingFileIsReplacedOnlyWhenTheUserSaysSo)
{
    const CasoSostituisci &c = GetParam();
    const QString percorso = dir.filePath(QStringLiteral("clienti.out"));
    {
        QFile f(percorso);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("dati di ieri");
    }
    opz.oiStaVid(c.uscita);
    opz.FileForm(c.formato);
    opz.FileName(percorso);
    opz.FisFileName(percorso);
    opz.FisStampante(0);
    RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, c.risposta);
    SorgenteMemoria s = SorgenteClienti(5);
    const EsitoStampa e = motore.Stampa(s, QStringLiteral("V"), 1, QFont(QStringLiteral("Arial"), 10));

    const QList<QVariantMap> domande = RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom);
    ASSERT_EQ(domande.size(), 1);
    EXPECT_EQ(domande[0].value(QStringLiteral("testo")).toString(),
              QStringLiteral("Il file %1 esiste già. Sostituirlo?").arg(percorso));
    EXPECT_EQ(domande[0].value(QStringLiteral("comDefault")).toInt(), 2) << "No is the default";
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray dati = f.readAll();
    if (c.risposta == 1) {
        EXPECT_TRUE(e.eseguita) << e.errore.toStdString();
        EXPECT_NE(dati, QByteArray("dati di ieri"));
    } else {
        EXPECT_FALSE(e.eseguita);
        EXPECT_TRUE(e.interrotta);
        EXPECT_TRUE(e.errore.isEmpty()) << "nothing more to say";
        EXPECT_EQ(dati, QByteArray("dati di ieri"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casi, SostituisciFile,
    ::testing::Values(
        CasoSostituisci{"csv, no", OpzStampa::UscitaFile, OpzStampa::FormatoCompatibileExcel, 2},
        CasoSostituisci{"csv, yes", OpzStampa::UscitaFile, OpzStampa::FormatoCompatibileExcel, 1},
        CasoSostituisci{"text, no", OpzStampa::UscitaFile, OpzStampa::FormatoTesto, 2},
        CasoSostituisci{"workbook, no", OpzStampa::UscitaFile, OpzStampa::FormatoExcel, 2},
        CasoSostituisci{"workbook, yes", OpzStampa::UscitaFile, OpzStampa::FormatoExcel, 1},
        CasoSostituisci{"fixed length, no", OpzStampa::UscitaFissa, OpzStampa::FormatoTesto, 2},
        CasoSostituisci{"fixed length, yes", OpzStampa::UscitaFissa, OpzStampa::FormatoTesto, 1}));

// A name saved with the options whose extension says another kind of file
// (or none): the file is written in the format chosen, under a name that
// says so, and none is left under the other name.
TEST(FileDiStampa, TheFileIsNamedAfterWhatItHolds)
{
    const struct Caso {
        int formato;
        const char *nome, *scritto;
    } casi[] = {
        {OpzStampa::FormatoExcel, "clienti.csv", "clienti.xlsx"},
        {OpzStampa::FormatoExcel, "clienti.xls", "clienti.xlsx"},
        {OpzStampa::FormatoCompatibileExcel, "clienti.xlsx", "clienti.csv"},
        {OpzStampa::FormatoTesto, "clienti.XLSX", "clienti.txt"},
        {OpzStampa::FormatoCompatibileExcel, "clienti.csv", "clienti.csv"},
        {OpzStampa::FormatoCompatibileExcel, "clienti.txt", "clienti.txt"},
        {OpzStampa::FormatoExcel, "clienti", "clienti.xlsx"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.nome);
        QTemporaryDir dir;
        OpzStampa opz(QStringLiteral("StampaClienti"));
        Stampatore motore;
        motore.ogOpzSta(&opz);
        opz.oiStaVid(OpzStampa::UscitaFile);
        opz.FileForm(c.formato);
        opz.FileName(dir.filePath(QString::fromUtf8(c.nome)));
        SorgenteMemoria s = SorgenteClienti(3);
        const EsitoStampa e = motore.Stampa(s, QStringLiteral("V"), 1, QFont(QStringLiteral("Arial"), 10));
        ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
        const QString scritto = dir.filePath(QString::fromUtf8(c.scritto));
        EXPECT_EQ(e.file, scritto);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QString::fromUtf8(c.scritto)});
        QFile f(scritto);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray dati = f.readAll();
        if (c.formato == OpzStampa::FormatoExcel) {
            EXPECT_TRUE(dati.startsWith("PK")) << "a workbook is a zip";
        } else {
            const QList<QByteArray> righe = dati.trimmed().split('\n');
            ASSERT_EQ(righe.size(), 4) << dati.constData();
            EXPECT_FALSE(dati.startsWith("PK"));
            EXPECT_TRUE(righe[1].contains("C000001")) << righe[1].constData();
            EXPECT_TRUE(righe[3].contains("Cliente numero 3 S.r.l.")) << righe[3].constData();
        }
    }
}

namespace
{

QPageLayout a4(QPageLayout::Orientation o = QPageLayout::Portrait)
{
    return QPageLayout(QPageSize(QPageSize::A4), o, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

// Width of a text in the layout's row font, in points.
double larghezza(const ImpaginazioneLista &i, const QString &testo)
{
    QImage riferimento(1, 1, QImage::Format_RGB32);
    riferimento.setDotsPerMeterX(qRound(72 / 0.0254));
    riferimento.setDotsPerMeterY(qRound(72 / 0.0254));
    return QFontMetricsF(i.FontRighe(), &riferimento).horizontalAdvance(testo);
}

} // namespace

TEST(ImpaginazioneMisurata, CodesKeepTheirWidthFreeTextsGiveWayCaptionsWrap)
{
    // Narrow list widths, as a list window has them: an 11-digit VAT number
    // in a column for 8, a fiscal code, a long name, an amount.
    const QList<ColonnaStampa> colonne = {
        {QStringLiteral("Partita IVA"), 1000, Qt::AlignLeft, true, false},
        {QStringLiteral("Codice fiscale"), 1200, Qt::AlignLeft, true, false},
        {QStringLiteral("Ragione sociale"), 9000, Qt::AlignLeft, true, false},
        {QStringLiteral("Spesometro"), 300, Qt::AlignLeft, true, false},
        {QStringLiteral("Saldo"), 800, Qt::AlignRight, true, true}};
    const QFont font(QStringLiteral("Arial"), 10);
    const QString piva = QStringLiteral("01653730014"), cf = QStringLiteral("CNTVCN93P27H501X");
    const QString saldo = QStringLiteral("-1.234.567,89");
    MisuraColonne misura(colonne, font);
    for (int r = 0; r < 50; ++r) {
        const QString nome =
            QStringLiteral("Pizzeria Trattoria Da Mario e Figli Società in nome collettivo %1").arg(r);
        misura.Misura({{piva, piva},
                       {cf, cf},
                       {nome, nome},
                       {QStringLiteral("S"), QStringLiteral("S")},
                       {saldo, -1234567.89}});
    }
    EXPECT_TRUE(misura.Restringibile(2));
    EXPECT_FALSE(misura.Restringibile(0));
    EXPECT_FALSE(misura.Restringibile(4));

    const ImpaginazioneLista i(colonne, font, a4(), {}, &misura);
    ASSERT_TRUE(i.Errore().isEmpty()) << i.Errore().toStdString();
    const QList<double> w = i.Larghezze();
    EXPECT_GE(w[0], larghezza(i, piva));
    EXPECT_GE(w[1], larghezza(i, cf));
    EXPECT_GE(w[4], larghezza(i, saldo));
    EXPECT_LT(w[2], 9000 / 20.0) << "the free text gave way";
    double fine = i.Posizioni().last() + w.last();
    EXPECT_LE(fine, i.Pagina().paintRect(QPageLayout::Point).right() + 0.01);
    // The caption of a narrow column: on more lines, whole.
    EXPECT_EQ(i.Didascalia(3).join(QString()), QStringLiteral("Spesometro"));
    EXPECT_EQ(i.Didascalia(2), QStringList{QStringLiteral("Ragione sociale")});

    // Captions wider than what their columns can have: wrapped, never cut.
    QList<ColonnaStampa> strette;
    QList<CellaStampa> valori;
    for (int c = 0; c < 12; ++c) {
        strette << ColonnaStampa{QStringLiteral("Spesometrodichiarazioni"), 300, Qt::AlignLeft, true, false};
        valori << CellaStampa{QStringLiteral("S"), QStringLiteral("S")};
    }
    MisuraColonne misuraStrette(strette, font);
    misuraStrette.Misura(valori);
    const ImpaginazioneLista is(strette, font, a4(), {}, &misuraStrette);
    ASSERT_TRUE(is.Errore().isEmpty());
    EXPECT_GT(is.Didascalia(0).size(), 1);
    EXPECT_EQ(is.Didascalia(0).join(QString()), QStringLiteral("Spesometrodichiarazioni"));
    EXPECT_DOUBLE_EQ(is.FontRighe().pointSizeF(), ImpaginazioneLista::FontMinimo)
        << "captions are broken only at the smallest font";

    // Without measures the list's widths are kept, as before.
    const ImpaginazioneLista senza(colonne, font, a4(), {});
    EXPECT_TRUE(senza.Errore().isEmpty());
    EXPECT_LT(senza.Larghezze()[0], larghezza(senza, piva));
}

// Codes wider on screen than their values (a group of two digits in a
// column for ten, a short code declared of six wide letters) give up that
// room before a name is cut.
TEST(ImpaginazioneMisurata, CodesGiveUpTheirExtraRoomBeforeNamesAreCut)
{
    QList<ColonnaStampa> colonne;
    QList<CellaStampa> riga;
    for (int c = 0; c < 10; ++c) {
        colonne << ColonnaStampa{QStringLiteral("Gr"), 1500, Qt::AlignLeft, true, false};
        riga << CellaStampa{QStringLiteral("01"), QStringLiteral("01")};
    }
    const QString nome = QStringLiteral("Impianti Elettrici Laguna Società a responsabilità limitata");
    colonne << ColonnaStampa{QStringLiteral("Ragione sociale"), 2000, Qt::AlignLeft, true, false};
    riga << CellaStampa{nome, nome};
    const QFont font(QStringLiteral("Arial"), 10);
    MisuraColonne misura(colonne, font);
    misura.Misura(riga);
    for (int c = 0; c < 10; ++c)
        misura.Limita(c, {6, false, false, false, {}});
    const ImpaginazioneLista i(colonne, font, a4(), {}, &misura);
    ASSERT_TRUE(i.Errore().isEmpty()) << i.Errore().toStdString();
    EXPECT_GE(i.Larghezze()[10], larghezza(i, nome)) << "the name was cut while codes kept room";
    EXPECT_LT(i.Larghezze()[0], 1500 / 20.0);
}

TEST(ImpaginazioneMisurata, CodesThatCannotFitEvenAtTheSmallestFontAreRefused)
{
    QList<ColonnaStampa> colonne;
    QList<CellaStampa> riga;
    const QString codice = QStringLiteral("IT0123456789012345678901234567");
    for (int c = 0; c < 40; ++c) {
        colonne << ColonnaStampa{QStringLiteral("Codice %1").arg(c), 600, Qt::AlignLeft, true, false};
        riga << CellaStampa{codice, codice};
    }
    const QFont font(QStringLiteral("Arial"), 10);
    MisuraColonne misura(colonne, font);
    misura.Misura(riga);
    const ImpaginazioneLista i(colonne, font, a4(QPageLayout::Landscape), {}, &misura);
    EXPECT_TRUE(
        i.Errore().startsWith(QStringLiteral("Le colonne scelte non entrano nella larghezza del foglio")))
        << i.Errore().toStdString();

    // The engine says so once and prints nothing.
    OpzStampa opz;
    opz.oiStaVid(OpzStampa::UscitaVideo);
    VistaFinta vista;
    Stampatore motore;
    vista.motore = &motore;
    motore.ogOpzSta(&opz);
    motore.ofrmVStampa(&vista);
    SorgenteMemoria s(colonne, {riga, riga});
    const EsitoStampa e = motore.Stampa(s, QStringLiteral("T"), 2, font);
    EXPECT_FALSE(e.eseguita);
    EXPECT_EQ(e.errore, i.Errore());
    EXPECT_EQ(e.pagine, 0);
}

// Limits a source tells beside its first rows: each column is at least as
// wide as any text within them, and only texts of several words may be cut.
TEST(ImpaginazioneMisurata, LimitsOfTheSourceHoldEveryTextWithinThem)
{
    struct Caso {
        LimiteColonna limite;
        QStringList testi; // texts within the limit
    };
    const QList<Caso> casi = {
        {{11, true, false, false, {}}, {QStringLiteral("00000000000"), QStringLiteral("44444444444")}},
        {{6, false, false, false, {}},
         {QStringLiteral("WWWWWW"), QStringLiteral("@@@@@@"), QStringLiteral("ÆÆÆÆÆÆ"),
          QStringLiteral("MMMMMM")}},
        {{0, false, false, true, {QStringLiteral("-1.234,56"), QStringLiteral("12,00")}},
         {QStringLiteral("-8.888,88"), QStringLiteral("-4.444,44"), QStringLiteral("99,99")}},
        {{0, false, false, true, {QStringLiteral("01/02/2023"), QStringLiteral("28/12/2023")}},
         {QStringLiteral("08/08/2023"), QStringLiteral("30/11/2010")}},
        {{40, false, true, false, {}}, {QStringLiteral("Ditta")}},
    };
    QList<ColonnaStampa> colonne;
    for (int c = 0; c < casi.size(); ++c)
        colonne << ColonnaStampa{QStringLiteral("C%1").arg(c), 100, Qt::AlignLeft, true, false};
    const QFont font(QStringLiteral("Arial"), 10);
    MisuraColonne misura(colonne, font);
    // The first rows read hold each column's first text.
    QList<CellaStampa> primi;
    for (const Caso &caso : casi)
        primi << CellaStampa{caso.testi.first(), caso.testi.first()};
    misura.Misura(primi);
    for (int c = 0; c < casi.size(); ++c)
        misura.Limita(c, casi[c].limite);
    const ImpaginazioneLista i(colonne, font, a4(QPageLayout::Landscape), {}, &misura);
    ASSERT_TRUE(i.Errore().isEmpty()) << i.Errore().toStdString();
    for (int c = 0; c < casi.size(); ++c) {
        EXPECT_EQ(misura.Restringibile(c), casi[c].limite.parole) << c;
        for (const QString &t : casi[c].testi)
            EXPECT_GE(i.Larghezze()[c], larghezza(i, t)) << t.toStdString();
    }
}
