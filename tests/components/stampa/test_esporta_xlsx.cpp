// Excel workbook export: the file opened as a zip, its cells and formats read
// back from the XML parts.
#include "components/stampa/EsportaXlsx.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/Currency.h"
#include "support/ParteZip.h"
#include "support/StampaQt.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QList<ColonnaStampa> colonne()
{
    return {{QStringLiteral("Codice"), 1200, Qt::AlignLeft, true, false},
            {QStringLiteral("Ragione sociale"), 3000, Qt::AlignLeft, true, false},
            {QStringLiteral("Saldo"), 1500, Qt::AlignRight, true, true},
            {QStringLiteral("Ultima fattura"), 1500, Qt::AlignLeft, true, false}};
}

// The <c> element of a cell, e.g. "C2".
QString cella(const QString &foglio, const QString &rif)
{
    const QRegularExpression re(QStringLiteral("<c r=\"%1\"[^>]*(/>|>.*?</c>)").arg(rif));
    return re.match(foglio).captured(0);
}

bool scriviLibro(const QString &percorso, int numNoForm, QString &errore)
{
    OpzStampa opz;
    opz.FileForm(OpzStampa::FormatoExcel);
    opz.NumNoForm(numNoForm);
    EsportaXlsx x(opz, colonne(), QStringLiteral("Clienti: elenco [prova]"));
    if (!x.Apri(percorso, errore))
        return false;
    x.ScriviIntestazione();
    x.ScriviRiga({{QStringLiteral("0103"), QStringLiteral("0103")},
                  {QStringLiteral("Rossi & Figli <srl>"), QStringLiteral("Rossi & Figli <srl>")},
                  {QStringLiteral("1.234,50"), Currency::fromRaw(12345000).toVariant()},
                  {QStringLiteral("01/02/2024"), QDate(2024, 2, 1)}});
    x.ScriviRiga({{QStringLiteral("0104"), QStringLiteral("0104")},
                  {QString(), QVariant()},
                  {QStringLiteral("-7"), -7},
                  {QString(), QVariant()}});
    return x.Chiudi(errore);
}

} // namespace

TEST(EsportaXlsx, NumbersAreNumericCellsTextsAreStringsDatesAreDates)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("clienti.xlsx"));
    QString errore;
    ASSERT_TRUE(scriviLibro(percorso, 0, errore)) << errore.toStdString();

    const QString foglio = parteZip(percorso, QStringLiteral("xl/worksheets/sheet1.xml"));
    ASSERT_FALSE(foglio.isEmpty());
    // Captions and texts: strings, written inline (constant-memory mode).
    EXPECT_TRUE(cella(foglio, QStringLiteral("A1")).contains(QStringLiteral("t=\"inlineStr\"")));
    EXPECT_TRUE(cella(foglio, QStringLiteral("A1")).contains(QStringLiteral("<t>Codice</t>")));
    EXPECT_TRUE(cella(foglio, QStringLiteral("A2")).contains(QStringLiteral("<t>0103</t>")))
        << "a code with leading zeros stays text";
    EXPECT_TRUE(
        cella(foglio, QStringLiteral("B2")).contains(QStringLiteral("Rossi &amp; Figli &lt;srl&gt;")));
    // Numbers: no type attribute, the value itself.
    const QString saldo = cella(foglio, QStringLiteral("C2"));
    EXPECT_FALSE(saldo.contains(QStringLiteral(" t=\""))) << saldo.toStdString();
    EXPECT_TRUE(saldo.contains(QStringLiteral("<v>1234.5</v>"))) << saldo.toStdString();
    EXPECT_TRUE(cella(foglio, QStringLiteral("C3")).contains(QStringLiteral("<v>-7</v>")));
    // 1 February 2024 is day 45323 of Excel's calendar.
    EXPECT_TRUE(cella(foglio, QStringLiteral("D2")).contains(QStringLiteral("<v>45323</v>")));
    // Empty cells are not written.
    EXPECT_TRUE(cella(foglio, QStringLiteral("B3")).isEmpty());
    // The caption row stays in view.
    EXPECT_TRUE(foglio.contains(QStringLiteral("state=\"frozen\"")));

    const QString stili = parteZip(percorso, QStringLiteral("xl/styles.xml"));
    EXPECT_TRUE(stili.contains(QStringLiteral("formatCode=\"#,##0.00\"")))
        << "two decimals as the list shows";
    EXPECT_TRUE(stili.contains(QStringLiteral("formatCode=\"dd/mm/yyyy\"")));
    const QString libro = parteZip(percorso, QStringLiteral("xl/workbook.xml"));
    EXPECT_TRUE(libro.contains(QStringLiteral("name=\"Clienti elenco prova\""))) << libro.toStdString();
    EXPECT_TRUE(parteZip(percorso, QStringLiteral("docProps/core.xml"))
                    .contains(QStringLiteral("<dc:title>Clienti: elenco [prova]</dc:title>")));
}

TEST(EsportaXlsx, WithoutFormatNumbersKeepNoNumberFormat)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("clienti.xlsx"));
    QString errore;
    ASSERT_TRUE(scriviLibro(percorso, -1, errore)) << errore.toStdString();
    const QString foglio = parteZip(percorso, QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_TRUE(cella(foglio, QStringLiteral("C2")).contains(QStringLiteral("<v>1234.5</v>")));
    EXPECT_FALSE(cella(foglio, QStringLiteral("C2")).contains(QStringLiteral(" s=\"")));
    EXPECT_FALSE(parteZip(percorso, QStringLiteral("xl/styles.xml")).contains(QStringLiteral("#,##0")));
}

TEST(EsportaXlsx, StoppedExportKeepsTheOldFileAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("vecchio.xlsx"));
    {
        QFile f(percorso);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("dati di ieri");
    }
    OpzStampa opz;
    QString errore;
    {
        EsportaXlsx x(opz, colonne(), QStringLiteral("Prova"));
        ASSERT_TRUE(x.Apri(percorso, errore));
        x.ScriviIntestazione();
        x.Annulla();
    }
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("dati di ieri"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    EXPECT_EQ(EsportaXlsx::NomeFoglio(QStringLiteral("'")), QStringLiteral("Foglio1"));
    EXPECT_EQ(EsportaXlsx::NomeFoglio(QString(40, QLatin1Char('x'))).size(), 31);
}

namespace
{

// The text of an inline string cell as a spreadsheet reads it: the XML's
// entities, then each "_xHHHH_" as the character of that code, from left to
// right (with fewer or more hex digits too, as some spreadsheets read it).
QString testoLetto(const QString &cellaXml)
{
    static const QRegularExpression t(QStringLiteral("<t[^>]*>(.*?)</t>"),
                                      QRegularExpression::DotMatchesEverythingOption);
    QString x = t.match(cellaXml).captured(1);
    x.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    static const QRegularExpression codice(QStringLiteral("_x([0-9A-Fa-f]+)_"));
    QString letto;
    qsizetype da = 0;
    for (auto it = codice.globalMatch(x); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        letto += x.mid(da, m.capturedStart() - da) + QChar(char16_t(m.captured(1).toUInt(nullptr, 16)));
        da = m.capturedEnd();
    }
    return letto + x.mid(da);
}

// A source that hands every cell's text over as UTF-8.
class SorgenteUtf8 : public SorgenteRighe
{
  public:
    QList<QByteArray> testi;
    QList<ColonnaStampa> ColonneStampa() override { return {}; }
    bool ApriRighe(const QList<int> &) override { return true; }
    bool RigaSuccessiva(QList<CellaStampa> &) override { return false; }
    QByteArrayView TestoUtf8(int cella) const override
    {
        return cella < testi.size() ? QByteArrayView(testi[cella]) : QByteArrayView();
    }
};

} // namespace

// Texts that hold what a spreadsheet reads as a character's code ("_x0041_"
// is read "A") read back as written, in the caption row and in the rows,
// whether handed over as text or as UTF-8.
TEST(EsportaXlsx, EveryTextReadsBackAsWritten)
{
    const QStringList testi = {QStringLiteral("_x0041_"),
                               QStringLiteral("Rossi_x00e8_Bianchi"),
                               QStringLiteral("_x005F_"),
                               QStringLiteral("__x0041__x0042__"),
                               QStringLiteral("_x0041_x0042_"),
                               QStringLiteral("_x004_ _X0041_ x0041_ _x0041"),
                               QStringLiteral("_x4_ _x00041_ _x_ _x00g1_"),
                               QStringLiteral("Rossi & Figli <srl> \"Sud\" 'Est'"),
                               QStringLiteral("Però _x20AC_ €")};
    QList<ColonnaStampa> colonne;
    QList<CellaStampa> celle;
    SorgenteUtf8 sorgente;
    for (const QString &t : testi) {
        colonne << ColonnaStampa{t, 1500, Qt::AlignLeft, true, false};
        celle << CellaStampa{t, t};
        sorgente.testi << t.toUtf8();
    }
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("testi.xlsx"));
    QString errore;
    {
        OpzStampa opz;
        EsportaXlsx x(opz, colonne, QStringLiteral("Testi"));
        ASSERT_TRUE(x.Apri(percorso, errore)) << errore.toStdString();
        x.ScriviIntestazione();
        x.ScriviRiga(celle);
        x.TestiDa(&sorgente);
        x.ScriviRiga(celle);
        ASSERT_TRUE(x.Chiudi(errore)) << errore.toStdString();
    }
    const QString foglio = parteZip(percorso, QStringLiteral("xl/worksheets/sheet1.xml"));
    ASSERT_FALSE(foglio.isEmpty());
    for (int c = 0; c < testi.size(); ++c) {
        SCOPED_TRACE(testi[c].toStdString());
        for (int riga : {1, 2, 3}) {
            const QString rif = QChar(char16_t(u'A' + c)) + QString::number(riga);
            EXPECT_EQ(testoLetto(cella(foglio, rif)), testi[c]) << rif.toStdString();
        }
    }
}
