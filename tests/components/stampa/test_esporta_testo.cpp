// Separated-text exports: delimiters, separators, Italian decimals, the file
// as a whole, and a stopped export that leaves the old file in place.
#include "components/stampa/EsportaTesto.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/Currency.h"
#include "support/StampaQt.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QList<ColonnaStampa> colonne()
{
    ColonnaStampa codice{QStringLiteral("Codice"), 1200, Qt::AlignLeft, true, false};
    ColonnaStampa nome{QStringLiteral("Ragione \"sociale\""), 3000, Qt::AlignLeft, true, false};
    ColonnaStampa saldo{QStringLiteral("Saldo"), 1500, Qt::AlignRight, true, true};
    return {codice, nome, saldo};
}

QList<CellaStampa> riga(const QString &codice, const QString &nome, const QString &saldoTesto,
                        const QVariant &saldo)
{
    return {{codice, codice}, {nome, nome}, {saldoTesto, saldo}};
}

struct CasoRiga {
    const char *descrizione;
    int formato;
    const char *separatore;
    const char *delimitatore;
    int numNoForm;
    QList<CellaStampa> celle;
    const char *atteso;
};

class RigheTesto : public ::testing::TestWithParam<CasoRiga>
{
};

void PrintTo(const CasoRiga &c, std::ostream *os)
{
    *os << c.descrizione;
}

} // namespace

TEST_P(RigheTesto, FieldsDelimitedAndNumbersPlain)
{
    const CasoRiga &c = GetParam();
    OpzStampa opz;
    opz.FileForm(c.formato);
    opz.SepCampi(QString::fromUtf8(c.separatore));
    opz.DelimStr(QString::fromUtf8(c.delimitatore));
    opz.NumNoForm(c.numNoForm);
    EsportaTesto e(opz, colonne());
    EXPECT_EQ(e.TestoRiga(c.celle), QString::fromUtf8(c.atteso));
}

INSTANTIATE_TEST_SUITE_P(
    Casi, RigheTesto,
    ::testing::Values(
        CasoRiga{"csv: text quoted, quote doubled, number without grouping",
                 OpzStampa::FormatoCompatibileExcel, ";", "\"", 0,
                 riga("0103", "Bar \"Da Gino\"; Roma", "1.234,50", Currency::fromRaw(12345000).toVariant()),
                 "\"0103\";\"Bar \"\"Da Gino\"\"; Roma\";1234,50\r\n"},
        CasoRiga{"csv: negative double keeps its own decimals", OpzStampa::FormatoCompatibileExcel, ";", "\"",
                 0, riga("1", "A", "-0,5", -0.5), "\"1\";\"A\";-0,5\r\n"},
        CasoRiga{
            "csv: integer and empty cells", OpzStampa::FormatoCompatibileExcel, ";", "\"", 0,
            QList<CellaStampa>{{QString(), QVariant()}, {QString(), QVariant()}, {QStringLiteral("7"), 7}},
            ";;7\r\n"},
        CasoRiga{"text keeps the number as shown", OpzStampa::FormatoTesto, "\t", "", 0,
                 riga("2", "B", "1.234,50", 1234.5), "2\tB\t1.234,50\r\n"},
        CasoRiga{"text without format: plain number", OpzStampa::FormatoTesto, "\t", "", -1,
                 riga("2", "B", "1.234,50", 1234.5), "2\tB\t1234,50\r\n"},
        CasoRiga{"comma separator: a decimal comma goes between delimiters", OpzStampa::FormatoTesto, ",",
                 "\"", 0, riga("3", "C", "1.234,50", 1234.5), "\"3\",\"C\",\"1.234,50\"\r\n"},
        CasoRiga{"comma separator, no delimiter: decimal point", OpzStampa::FormatoTesto, ",", "", 0,
                 riga("3", "C", "1.234,50", 1234.5), "3,C,1234.50\r\n"},
        CasoRiga{"no delimiter: line breaks inside a text become blanks", OpzStampa::FormatoTesto, ";", "", 0,
                 riga("4", "Via Roma\r\n12\nint. 3", "", QVariant()), "4;Via Roma 12 int. 3;\r\n"},
        CasoRiga{"single quote delimiter doubled inside", OpzStampa::FormatoTesto, " ", "'", 0,
                 riga("5", "L'Aquila", "0", 0), "'5' 'L''Aquila' 0\r\n"},
        CasoRiga{"a date is text as shown", OpzStampa::FormatoCompatibileExcel, ";", "\"", 0,
                 QList<CellaStampa>{{QStringLiteral("9"), 9},
                                    {QStringLiteral("01/02/2024"), QDate(2024, 2, 1)},
                                    {QStringLiteral("àèìòù€"), QStringLiteral("àèìòù€")}},
                 "9;\"01/02/2024\";\"àèìòù€\"\r\n"}));

TEST(EsportaTestoFile, WholeFileWithMarkHeaderAndRows)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("clienti.csv"));
    OpzStampa opz;
    opz.FileForm(OpzStampa::FormatoCompatibileExcel);
    EsportaTesto e(opz, colonne());
    QString errore;
    ASSERT_TRUE(e.Apri(percorso, errore)) << errore.toStdString();
    e.ScriviIntestazione();
    e.ScriviRiga(riga("0103", "Rossi", "10,00", Currency(10).toVariant()));
    ASSERT_TRUE(e.Chiudi(errore)) << errore.toStdString();
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xEF\xBB\xBF\"Codice\";\"Ragione \"\"sociale\"\"\";\"Saldo\"\r\n"
                                      "\"0103\";\"Rossi\";10,00\r\n"));
    EXPECT_EQ(e.RigheScritte(), 1);

    // The plain text file has no mark.
    opz.FileForm(OpzStampa::FormatoTesto);
    EsportaTesto t(opz, colonne());
    ASSERT_TRUE(t.Apri(percorso, errore));
    ASSERT_TRUE(t.Chiudi(errore));
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray());
}

TEST(EsportaTestoFile, StoppedOrFailedExportKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("vecchio.csv"));
    {
        QFile f(percorso);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("dati di ieri");
    }
    OpzStampa opz;
    QString errore;
    {
        EsportaTesto e(opz, colonne());
        ASSERT_TRUE(e.Apri(percorso, errore));
        e.ScriviIntestazione();
        e.ScriviRiga(riga("1", "A", "1", 1));
        e.Annulla();
    }
    {
        // Destroyed without closing: the same.
        EsportaTesto e(opz, colonne());
        ASSERT_TRUE(e.Apri(percorso, errore));
        e.ScriviRiga(riga("2", "B", "2", 2));
    }
    QFile f(percorso);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("dati di ieri"));

    EsportaTesto e(opz, colonne());
    EXPECT_FALSE(e.Apri(dir.filePath(QStringLiteral("manca/x.csv")), errore));
    const QString manca = dir.filePath(QStringLiteral("manca"));
    EXPECT_TRUE(errore.startsWith(QStringLiteral("La cartella %1 non esiste").arg(manca)))
        << errore.toStdString();
}

// Without a text qualifier a value holding the separator would give its row
// one field too many: the export is refused, naming the row, and the file
// that was there stays.
TEST(EsportaTestoFile, SeparatorInsideAValueWithoutQualifierIsRefused)
{
    struct Caso {
        const char *separatore;
        QString nome;
        const char *dove;
    };
    const QList<Caso> casi = {
        {";", QStringLiteral("Pizzeria \"Da Mario\"; Sartori S.r.l."), "nella riga 2, colonna \"Ragione"},
        {" ", QStringLiteral("Bar Sport"), "nella riga delle intestazioni"},
        {"\t", QStringLiteral("Rossi\tFigli"), "nella riga 2"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.dove);
        QTemporaryDir dir;
        const QString percorso = dir.filePath(QStringLiteral("clienti.txt"));
        {
            QFile f(percorso);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("dati di ieri");
        }
        OpzStampa opz;
        opz.FileForm(OpzStampa::FormatoTesto);
        opz.SepCampi(QString::fromUtf8(c.separatore));
        opz.DelimStr(QString());
        EsportaTesto e(opz, colonne());
        QString errore;
        ASSERT_TRUE(e.Apri(percorso, errore));
        e.ScriviIntestazione();
        e.ScriviRiga(riga("1", "Rossi", "1", 1));
        e.ScriviRiga(riga("2", c.nome, "2", 2));
        EXPECT_FALSE(e.ErroreScrittura().isEmpty());
        EXPECT_FALSE(e.Chiudi(errore));
        EXPECT_TRUE(errore.startsWith(
            QStringLiteral("Il file non è stato scritto: %1").arg(QString::fromUtf8(c.dove))))
            << errore.toStdString();
        QFile f(percorso);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("dati di ieri"));
    }

    // With a qualifier the same value is enclosed and written.
    OpzStampa opz;
    opz.FileForm(OpzStampa::FormatoTesto);
    opz.SepCampi(QStringLiteral(";"));
    opz.DelimStr(QStringLiteral("\""));
    EsportaTesto e(opz, colonne());
    EXPECT_EQ(e.TestoRiga(riga("2", "Pizzeria \"Da Mario\"; Sartori S.r.l.", "2", 2)),
              QStringLiteral("\"2\";\"Pizzeria \"\"Da Mario\"\"; Sartori S.r.l.\";2\r\n"));
}

// A number holding the separator (a point of thousands, the minus, a digit)
// without a qualifier: written without grouping and with the decimal mark
// that keeps its row whole, or, when no form does, refused like a text.
TEST(EsportaTestoFile, ANumberHoldingTheSeparatorNeverSplitsItsRow)
{
    struct Caso {
        const char *separatore, *delimitatore;
        int numNoForm;
        double saldo;
        const char *saldoTesto;
        const char *riga; // the row written; nullptr: refused
    };
    const Caso casi[] = {
        {".", "", 0, -1234.5, "-1.234,50", "2.B.-1234,50"},
        {".", "", -1, -1234.5, "-1.234,50", "2.B.-1234,50"},
        {"-", "", -1, -1234.5, "-1.234,50", nullptr},
        {"-", "", -1, 1234.5, "1.234,50", "2-B-1234,50"},
        {"-", "\"", -1, -1234.5, "-1.234,50", "\"2\"-\"B\"-\"-1234,50\""},
        {"4", "", -1, 1234.5, "1.234,50", nullptr},
        {"3", "", 0, 0.5, "0,50", "23B30,50"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(std::string("separator ") + c.separatore + " " + c.saldoTesto);
        QTemporaryDir dir;
        const QString percorso = dir.filePath(QStringLiteral("saldi.txt"));
        OpzStampa opz;
        opz.FileForm(OpzStampa::FormatoTesto);
        opz.SepCampi(QString::fromUtf8(c.separatore));
        opz.DelimStr(QString::fromUtf8(c.delimitatore));
        opz.NumNoForm(c.numNoForm);
        EsportaTesto e(opz, colonne());
        QString errore;
        ASSERT_TRUE(e.Apri(percorso, errore));
        e.ScriviRiga(riga("2", "B", QString::fromUtf8(c.saldoTesto), c.saldo));
        if (!c.riga) {
            EXPECT_FALSE(e.Chiudi(errore));
            EXPECT_TRUE(errore.contains(QStringLiteral("colonna \"Saldo\", il numero")))
                << errore.toStdString();
            EXPECT_FALSE(QFile::exists(percorso));
            continue;
        }
        ASSERT_TRUE(e.Chiudi(errore)) << errore.toStdString();
        QFile f(percorso);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray(c.riga) + "\r\n");
    }
}
