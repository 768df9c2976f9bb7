// The page layout of a list print at its edges (a font too small to have a
// height, a declared width past any paper), and rows of long texts printed
// by the engine: each text whole on as many lines as it needs, the pages
// counted with those lines.
#include "DoppiStampa.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/CatalogoFinto.h"
#include "components/stampa/ImpaginazioneLista.h"
#include "components/stampa/MisuraColonne.h"
#include "components/stampa/OpzStampa.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace
{

QPageLayout a4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

struct CasoLimite {
    const char *descrizione;
    double punti;            // the font asked
    int caratteri;           // declared characters of the code column (0 none)
    double fontAtteso;       // the rows' font laid out, at most
    qint64 millimetriAttesi; // width the message asks for (0: no message)
};

} // namespace

// A font too small to have a height is laid out at the least size; a column
// declared wider than any paper is refused with the millimetres it wants.
TEST(ImpaginazioneLimiti, FontsAndWidthsPastTheirRangeAreClamped)
{
    // The width of the widest glyph of Arial at 10 points, as the layout
    // measures it: two billion of them (with the room for hinting) at the
    // least font, in millimetres.
    QImage riferimento(1, 1, QImage::Format_RGB32);
    riferimento.setDotsPerMeterX(qRound(72 / 0.0254));
    riferimento.setDotsPerMeterY(qRound(72 / 0.0254));
    const QFont arial(QStringLiteral("Arial"), 10);
    MisuraColonne campione({{QStringLiteral("Codice"), 0, Qt::AlignLeft, true, false}}, arial);
    campione.Limita(0, {1, false, false, true, {QStringLiteral("-")}});
    const double glifo = campione.PiuLargo(0);
    ASSERT_GT(glifo, 0);
    const qint64 larghissima = qRound64(2e9 * glifo * 1.02 * ImpaginazioneLista::FontMinimo / 10 * 25.4 / 72);

    const CasoLimite casi[] = {
        {"a font of 0.3 points", 0.3, 0, ImpaginazioneLista::FontMinimo, 0},
        {"a font of a hundredth of a point", 0.01, 0, ImpaginazioneLista::FontMinimo, 0},
        {"a font of 2000 points", 2000, 0, ImpaginazioneLista::FontMassimo, 0},
        {"a code declared of two billion characters", 10, 2000000000, ImpaginazioneLista::FontMinimo,
         larghissima},
    };
    for (const CasoLimite &caso : casi) {
        SCOPED_TRACE(caso.descrizione);
        const QList<ColonnaStampa> colonne = {
            {QStringLiteral("Codice"), 1000, Qt::AlignLeft, true, false},
            {QStringLiteral("Ragione sociale"), 4000, Qt::AlignLeft, true, false}};
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(caso.punti);
        MisuraColonne misura(colonne, font);
        misura.Misura({{QStringLiteral("C01"), QStringLiteral("C01")},
                       {QStringLiteral("Rossi Mario"), QStringLiteral("Rossi Mario")}});
        if (caso.caratteri > 0)
            misura.Limita(0, {caso.caratteri, false, false, true, {QStringLiteral("-")}});
        const ImpaginazioneLista i(colonne, font, a4(), {}, &misura);
        EXPECT_GE(i.FontRighe().pointSizeF(), ImpaginazioneLista::FontMinimo);
        EXPECT_LE(i.FontRighe().pointSizeF(), caso.fontAtteso);
        EXPECT_GE(i.RighePerPagina(), 1);
        EXPECT_LT(i.RighePerPagina(), 1000);
        if (caso.millimetriAttesi == 0) {
            EXPECT_TRUE(i.Errore().isEmpty()) << i.Errore().toStdString();
            continue;
        }
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("servirebbero (-?\\d+) mm, il foglio ne offre 190"))
                .match(i.Errore());
        ASSERT_TRUE(m.hasMatch()) << i.Errore().toStdString();
        EXPECT_NEAR(double(m.captured(1).toLongLong()), double(caso.millimetriAttesi),
                    caso.millimetriAttesi * 0.01);
    }
}

// A customer list on portrait paper, where codes take most of the width: a
// name keeps half the room it wants before the font gets smaller (its
// widest on two or three lines, not six), and shorter names stay on one line.
TEST(ImpaginazioneLimiti, ANameTakesAtMostTwoLinesWhileTheFontCanShrink)
{
    const QList<ColonnaStampa> colonne = {{QStringLiteral("Codice Fiscale"), 0, Qt::AlignLeft, true, false},
                                          {QStringLiteral("Rappresentante"), 0, Qt::AlignLeft, true, false},
                                          {QStringLiteral("Garante"), 0, Qt::AlignLeft, true, false},
                                          {QStringLiteral("Part. Iva"), 0, Qt::AlignLeft, true, false},
                                          {QStringLiteral("Ragione Sociale"), 0, Qt::AlignLeft, true, false},
                                          {QStringLiteral("Località"), 0, Qt::AlignLeft, true, false}};
    const QFont font(QStringLiteral("Arial"), 10);
    MisuraColonne misura(colonne, font);
    auto riga = [](const QString &nome, const QString &citta) {
        const QString cf = QStringLiteral("RSSMRA80A01H501U"), iva = QStringLiteral("01234567890");
        return QList<CellaStampa>{{cf, cf}, {cf, cf}, {cf, cf}, {iva, iva}, {nome, nome}, {citta, citta}};
    };
    const QList<CellaStampa> lunga =
        riga(QStringLiteral("Impianti Elettrici Centrale Cooperativa Sociale a r.l. di Produzione e Lavoro"),
             QStringLiteral("San Giovanni in Persiceto"));
    const QList<CellaStampa> corta = riga(QStringLiteral("Villa Claudio"), QStringLiteral("Lodi"));
    misura.Misura(lunga);
    misura.Misura(corta);
    const ImpaginazioneLista i(colonne, font, a4(), {}, &misura);
    ASSERT_TRUE(i.Errore().isEmpty()) << i.Errore().toStdString();
    EXPECT_GT(i.FontRighe().pointSizeF(), ImpaginazioneLista::FontMinimo);
    EXPECT_LT(i.FontRighe().pointSizeF(), 10);
    const double scala = i.FontRighe().pointSizeF() / misura.Punti();
    EXPECT_GE(i.Larghezze()[4], misura.PiuLargo(4) * scala / 2);
    EXPECT_LE(i.Linee(lunga), 3);
    EXPECT_EQ(i.Linee(corta), 1);
}

namespace
{

class ImpaginazioneStampata : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ImpostaCatalogo(std::make_unique<CatalogoFinto>());
        opz.oiStaVid(OpzStampa::UscitaStampante);
        opz.osNomeStampante(QStringLiteral("PDFCreator"));
        opz.ImpostaParStampa(QStringLiteral("MostraNumPag"), true);
        motore.ogOpzSta(&opz);
    }
    void TearDown() override
    {
        ImpostaCatalogo(nullptr);
        RisposteProgrammate::Azzera();
    }

    OpzStampa opz{QStringLiteral("StampaClienti")};
    Stampatore motore;
    QTemporaryDir cartella;
};

// A name of one to six parts, each of several words.
QString nome(qint64 riga)
{
    QStringList parti;
    for (qint64 p = 0; p <= riga % 6; ++p)
        parti << QStringLiteral("Cooperativa Agricola Sociale Consorzio %1").arg(riga * 10 + p);
    return parti.join(u' ');
}

} // namespace

// Names too long for their column, in portrait: each on paper whole, on
// further lines of its row, and "Pag. n di m" counts the pages those lines
// fill.
TEST_F(ImpaginazioneStampata, LongNamesWrapWholeAndThePagesAreCountedWithTheirLines)
{
    const qint64 righe = 150;
    SorgenteMemoria s(
        ColonneClienti(), righe,
        [](qint64 r, QList<CellaStampa> &c) {
            c.resize(4);
            const QString codice = QStringLiteral("C%1").arg(r + 1, 6, 10, QLatin1Char('0'));
            c[0] = {codice, codice};
            c[1] = {nome(r), nome(r)};
            c[2] = {QStringLiteral("1,00"), 1.0};
            c[3] = {};
        },
        QStringLiteral("Elenco clienti"));
    const QString pdf = cartella.filePath(QStringLiteral("clienti.pdf"));
    RisposteProgrammate::Accoda(RisposteProgrammate::FileSalva, pdf);
    const EsitoStampa e = motore.Stampa(s, QStringLiteral("V"), 1, QFont(QStringLiteral("Arial"), 10));
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();

    const int pagine = PaginePdf(pdf);
    EXPECT_EQ(e.pagine, pagine);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString testo = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    EXPECT_FALSE(testo.contains(QChar(0x2026)));
    for (qint64 r = 0; r < righe; ++r)
        ASSERT_TRUE(testo.contains(nome(r))) << nome(r).toStdString();
    // More pages than rows of one line would fill, each told of them all.
    EXPECT_GT(pagine, 2);
    EXPECT_TRUE(testo.contains(QStringLiteral("Pag. %1 di %1").arg(pagine))) << pagine;
    EXPECT_FALSE(testo.contains(QStringLiteral("Pag. %1 ").arg(pagine + 1)));
}
