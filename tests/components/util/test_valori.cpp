// Value conversions, checks, comparisons, texts, paths, error texts and the
// command-line switches of the utility object.
#include "components/util/Decimale.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <limits>
#include <random>

TEST(ValoreNumerico, ItalianAndPlainNotations)
{
    UtilGlob u;
    struct Caso {
        QVariant valore;
        double atteso;
    } casi[] = {
        {"1.234,56", 1234.56},
        {"1234,56", 1234.56},
        {"1234.56", 1234.56},
        {"1,234.56", 1234.56},
        {"1.500", 1500},
        {"0.125", 0.125},
        {"20.5", 20.5},
        {" -12 ", -12},
        {"+3", 3},
        {"12 pezzi", 12},
        {"abc", 0},
        {"", 0},
        {QVariant(), 0},
        {QVariant(7), 7},
        {QVariant(true), -1},
        {",5", 0.5},
        {"1e3", 1000},
        {"1.234.567", 1234567},
        {QVariant::fromValue(Currency::fromDouble(2.5)), 2.5},
    };
    for (const Caso &c : casi)
        EXPECT_DOUBLE_EQ(u.ValoreNumerico(c.valore), c.atteso) << c.valore.toString().toStdString();
    EXPECT_DOUBLE_EQ(u.ValoreNumerico("12 pezzi", true, false), 0);
}

TEST(TestoInNumero, NumbersNullAndWholeValues)
{
    UtilGlob u;
    EXPECT_EQ(u.TestoInNumero("3").typeId(), QMetaType::Int);
    EXPECT_EQ(u.TestoInNumero("3").toInt(), 3);
    EXPECT_DOUBLE_EQ(u.TestoInNumero("2,5").toDouble(), 2.5);
    EXPECT_EQ(u.TestoInNumero("2,5", true, true).toInt(), 3);
    EXPECT_EQ(u.TestoInNumero("A4", true).toInt(), 0);
    EXPECT_FALSE(u.TestoInNumero("A4", false).isValid());
    EXPECT_EQ(u.TestoInNumero("", false).toInt(), 0);
}

TEST(ValoreVuoto, BlankNullAndZero)
{
    UtilGlob u;
    EXPECT_TRUE(u.ValoreVuoto(QVariant()));
    EXPECT_TRUE(u.ValoreVuoto(""));
    EXPECT_TRUE(u.ValoreVuoto("   "));
    EXPECT_FALSE(u.ValoreVuoto("   ", 8, 0));
    EXPECT_FALSE(u.ValoreVuoto("x"));
    EXPECT_FALSE(u.ValoreVuoto(0, 2));
    EXPECT_TRUE(u.ValoreVuoto(0, 2, 1, true));
    EXPECT_TRUE(u.ValoreVuoto("0,00", 5, 1, true));
    EXPECT_FALSE(u.ValoreVuoto("0", 8, 1, true));
    EXPECT_TRUE(u.ValoreVuoto(QDate()));
    EXPECT_TRUE(u.ValoreVuoto(QDateTime()));
    EXPECT_TRUE(u.ValoreVuoto(QVariant(QMetaType(QMetaType::QString))));
}

TEST(ValoreData, AcceptedShapesAndRefusals)
{
    UtilGlob u;
    const QDate d(2024, 2, 5);
    for (const char *t : {"05/02/2024", "5/2/2024", "5/2/24", "05-02-2024", "05.02.2024", "050224",
                          "05022024", "2024-02-05", "05/02/2024 10:30:00"})
        EXPECT_EQ(u.ValoreData(t).toDate(), d) << t;
    EXPECT_EQ(u.ValoreData("1/1/29").toDate(), QDate(2029, 1, 1));
    EXPECT_EQ(u.ValoreData("1/1/30").toDate(), QDate(1930, 1, 1));
    for (const char *t : {"", "31/02/2024", "abc", "1/2/3/4", "123", "32/01/2024"})
        EXPECT_FALSE(u.ValoreData(t).isValid()) << t;
    EXPECT_EQ(u.ValoreData(d).toDate(), d);
    EXPECT_FALSE(u.ValoreData(QVariant()).isValid());
}

// A number as a date: the serial days from 30 December 1899, inside the
// years 100 to 9999; any other number (however large) is no date.
TEST(ValoreData, SerialNumbersOutsideTheDateRangeAreNoDate)
{
    UtilGlob u;
    struct Caso {
        double n;
        QDate data;
    } const casi[] = {
        {45327.75, QDate(2024, 2, 5)},
        {2958465.9, QDate(9999, 12, 31)},
        {-657434, QDate(100, 1, 1)},
        {2958466, QDate()},
        {-657435, QDate()},
        {1e300, QDate()},
        {-1e300, QDate()},
        {9.3e18, QDate()},
        {std::numeric_limits<double>::infinity(), QDate()},
        {std::numeric_limits<double>::quiet_NaN(), QDate()},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(u.ValoreData(c.n).toDate(), c.data);
        const QString testo = u.Formatta(c.n, QStringLiteral("dd/mm/yyyy"));
        if (c.data.isValid()) {
            EXPECT_EQ(testo, c.data.toString(QStringLiteral("dd/MM/yyyy")));
            EXPECT_NO_THROW(u.ValoreSql(c.n, UtilGlob::TipoData));
        } else {
            EXPECT_FALSE(testo.contains(QLatin1Char('/'))) << testo.toStdString();
            try {
                u.ValoreSql(c.n, UtilGlob::TipoData);
                ADD_FAILURE() << "no error";
            } catch (const VbErrore &e) {
                EXPECT_EQ(e.numero(), 13);
            }
        }
    }
}

TEST(FineMese, LastDayOfTheMonth)
{
    UtilGlob u;
    EXPECT_EQ(u.FineMese(QDate(2024, 2, 10)), QDate(2024, 2, 29));
    EXPECT_EQ(u.FineMese(QDate(2023, 2, 1)), QDate(2023, 2, 28));
    EXPECT_EQ(u.FineMese(QDate(2024, 12, 31)), QDate(2024, 12, 31));
    EXPECT_FALSE(u.FineMese(QDate()).isValid());
}

TEST(MinimoMassimo, NumbersCurrencyDatesTexts)
{
    UtilGlob u;
    EXPECT_EQ(u.ValoreMinimo(4.0, 7.0), 4.0);
    EXPECT_EQ(u.ValoreMassimo(0.0, -3.0), 0.0);
    const Currency tetto = Currency::fromRaw(999999999999990000LL);
    const QVariant m =
        u.Minimo({QVariant::fromValue(Currency::fromDouble(120.5)), QVariant::fromValue(tetto)});
    EXPECT_EQ(m.value<Currency>(), Currency::fromDouble(120.5));
    EXPECT_EQ(u.ValoreMassimo({QVariant(1), QVariant(), QVariant(2.5)}).toDouble(), 2.5);
    EXPECT_EQ(u.ValoreMassimo({QDate(2024, 1, 1), QDate(2023, 1, 1)}).toDate(), QDate(2024, 1, 1));
    EXPECT_EQ(u.ValoreMinimo({QVariant("beta"), QVariant("ALFA")}).toString(), "ALFA");
    EXPECT_FALSE(u.ValoreMinimo(QVariantList{QVariant()}).isValid());
    EXPECT_EQ(u.ValoreMassimo({QVariant("10"), QVariant(9)}).toString(), "10");
}

TEST(ConfrontaValori, LargeNumbersKeepTheirOrder)
{
    const QVariant max = Currency::massimo().toVariant(), min = Currency::minimo().toVariant();
    const qlonglong due62 = qlonglong(1) << 62;
    const struct {
        QVariant a, b;
        int atteso;
    } casi[] = {
        {Currency(1).toVariant(), QVariant(qlonglong(1000000000000000LL)), -1},
        {QVariant(qlonglong(1000000000000000LL)), max, 1},
        {min, QVariant(qlonglong(-1000000000000000LL)), 1},
        {QVariant(due62), QVariant(due62 + 1), -1}, // equal as doubles
        {QVariant(qulonglong(-1)), QVariant(qlonglong(INT64_MAX)), 1},
        {max, QVariant(1e20), -1},
        {min, QVariant(-1e300), 1},
        {Currency::fromDouble(0.1).toVariant(), QVariant(0.1), 0},
        {QVariant(3000000000LL), QVariant(3000000000.5), -1},
        {Currency(5).toVariant(), QVariant(1e-300), 1},
        {QVariant(0), QVariant(-1e-300), 1},
        {QVariant("1000000000000000"), max, 1},
        {max, QVariant(qlonglong(922337203685477LL)), 1},
    };
    for (const auto &c : casi) {
        EXPECT_EQ(UtilGlob::ConfrontaValori(c.a, c.b), c.atteso)
            << c.a.toString().toStdString() << " " << c.b.toString().toStdString();
        EXPECT_EQ(UtilGlob::ConfrontaValori(c.b, c.a), -c.atteso)
            << c.b.toString().toStdString() << " " << c.a.toString().toStdString();
    }
}

TEST(ControllaValore, WholeNumbersAndAmounts)
{
    UtilGlob u;
    QString msg;
    EXPECT_TRUE(u.ControllaValore("12", 3, &msg));
    EXPECT_TRUE(msg.isEmpty());
    EXPECT_TRUE(u.ControllaValore("", 3, &msg));
    EXPECT_FALSE(u.ControllaValore("12,5", 3, &msg));
    EXPECT_FALSE(msg.isEmpty());
    EXPECT_FALSE(u.ControllaValore("abc", 3, &msg));
    EXPECT_FALSE(u.ControllaValore("99999999999", 3, &msg));
    // An Integer holds 16 bits, a Long 32.
    EXPECT_TRUE(u.ControllaValore("-32768", 2, &msg));
    EXPECT_TRUE(u.ControllaValore("32767", 2, &msg));
    EXPECT_FALSE(u.ControllaValore("40000", 2, &msg));
    EXPECT_TRUE(msg.contains("32.767")) << msg.toStdString();
    EXPECT_FALSE(u.ControllaValore("-32769", 2, &msg));
    EXPECT_TRUE(u.ControllaValore("40000", 3, &msg));
    EXPECT_TRUE(u.ControllaValore("2147483647", 3, &msg));
    EXPECT_FALSE(u.ControllaValore("2147483648", 3, &msg));
    EXPECT_TRUE(u.ControllaValore("1.234,56", 7, &msg));
    EXPECT_TRUE(u.ControllaValore("1234,5678", 7, &msg));
    EXPECT_FALSE(u.ControllaValore("1,23456", 7, &msg));
    EXPECT_FALSE(u.ControllaValore("12x", 7, &msg));
    EXPECT_FALSE(u.ControllaValore("1e20", 7, &msg));
    EXPECT_TRUE(u.ControllaValore("922.337.203.685.477,5807", 7, &msg));
    EXPECT_FALSE(u.ControllaValore("922.337.203.685.477,5808", 7, &msg));
    EXPECT_TRUE(msg.startsWith("Valore troppo grande")) << msg.toStdString();
    EXPECT_FALSE(u.ControllaValore(1e20, 7, &msg));
    EXPECT_TRUE(u.ControllaValore("qualsiasi", 8, &msg));
}

TEST(ControllaIntervallo, TextsAndDates)
{
    UtilGlob u;
    EXPECT_EQ(u.ControllaIntervallo("01-03", "01-02", 8), 1);
    EXPECT_EQ(u.ControllaIntervallo("a", "B", 8), 0);
    EXPECT_EQ(u.ControllaIntervallo("", "01", 8), 0);
    EXPECT_EQ(u.ControllaIntervallo("10/02/2024", "09/03/2024", 7), 0);
    EXPECT_EQ(u.ControllaIntervallo("10/03/2024", "09/03/2024", 7), 1);
    EXPECT_EQ(u.ControllaIntervallo("10", "9", 3), 1);
}

TEST(SostituisciTesto, AllOccurrencesFromStartWithCaseOption)
{
    UtilGlob u;
    EXPECT_EQ(u.SostituisciTesto("Via Roma 1", " ", "+"), "Via+Roma+1");
    EXPECT_EQ(u.SostituisciTesto("LPT%§", "%§", "12"), "LPT12");
    EXPECT_EQ(u.SostituisciTesto(1, "Gentile §Nome§, §NOME§", "§nome§", "Anna", 1), "Gentile Anna, Anna");
    EXPECT_EQ(u.SostituisciTesto(1, "a§x§", "§X§", "b", 0), "a§x§");
    EXPECT_EQ(u.SostituisciTesto(3, "aaaa", "a", "b"), "aabb");
    EXPECT_EQ(u.SostituisciTesto("abc", "", "x"), "abc");
}

TEST(Percorsi, FolderNameAndJoin)
{
    UtilGlob u;
    EXPECT_EQ(u.EstraiPercorso("/home/anna/doc/fattura.pdf"), "/home/anna/doc");
    EXPECT_EQ(u.EstraiPercorso("C:\\Doc\\a.pdf"), "C:\\Doc");
    EXPECT_EQ(u.EstraiPercorso("C:\\a.pdf"), "C:\\");
    EXPECT_EQ(u.EstraiPercorso("/a.pdf"), "/");
    EXPECT_EQ(u.EstraiPercorso("a.pdf"), "");
    EXPECT_EQ(u.CartellaDaPercorso("/x/y/z"), "/x/y");
    EXPECT_EQ(u.NomeDaPercorso("/x/y/z.txt"), "z.txt");
    EXPECT_EQ(u.NomeDaPercorso("z.txt"), "z.txt");
    EXPECT_EQ(u.UnisciPercorso("/tmp", "*.*"), "/tmp/*.*");
    EXPECT_EQ(u.UnisciPercorso("/tmp/", "/a.txt"), "/tmp/a.txt");
    EXPECT_EQ(u.UnisciPercorso("C:\\Doc\\", "*.*"), "C:\\Doc\\*.*");
    EXPECT_EQ(u.UnisciPercorso("", "a.txt"), "a.txt");
    EXPECT_EQ(u.UnisciPercorso("/", "a.txt"), "/a.txt");
}

TEST(TestoErrore, KnownAndUnknownNumbers)
{
    UtilGlob u;
    EXPECT_EQ(u.TestoErrore(3021), "3021 - Nessun record corrente.");
    EXPECT_EQ(u.TestoErrore(11), "11 - Divisione per zero");
    EXPECT_EQ(u.TestoErrore(99999), "99999");
}

TEST(LeggiSwitch, LinuxAndWindowsForms)
{
    UtilGlob u;
    u.ImpostaRigaComando(
        {"-M", "1", "-P", "RO", "frmclienti", "-I/home/anna/morvane.ini", "/Hclienti.chm", "-f"});
    bool c = false;
    EXPECT_EQ(u.LeggiSwitch("M"), "1");
    EXPECT_EQ(u.LeggiSwitch("p"), "RO frmclienti");
    EXPECT_EQ(u.LeggiSwitch("I"), "/home/anna/morvane.ini");
    EXPECT_EQ(u.LeggiSwitch("H"), "clienti.chm");
    EXPECT_EQ(u.LeggiSwitch("F", &c), "");
    EXPECT_TRUE(c);
    EXPECT_EQ(u.LeggiSwitch("X", &c), "");
    EXPECT_FALSE(c);
    u.ImpostaRigaComando({"-I", "/etc/morvane.ini", "--", "-M", "2"});
    EXPECT_EQ(u.LeggiSwitch("I"), "/etc/morvane.ini");
    EXPECT_EQ(u.LeggiSwitch("M"), "");
}

TEST(ValoreNumerico, BeginningOfATextIsTheLongestNumberItStartsWith)
{
    // Against the definition, on every short text of a small alphabet drawn
    // at random (fixed seed): the longest beginning NormalizzaNumero accepts.
    const QString alfabeto = QStringLiteral("0159.,.,e-+ x");
    std::mt19937 caso(19);
    for (int prova = 0; prova < 20000; ++prova) {
        QString testo;
        const int lung = int(caso() % 12) + 1;
        for (int i = 0; i < lung; ++i)
            testo += alfabeto[qsizetype(caso() % unsigned(alfabeto.size()))];
        for (bool virgola : {true, false}) {
            QString atteso, trovato, normale;
            for (qsizetype l = testo.size(); l > 0 && atteso.isEmpty(); --l)
                if (NormalizzaNumero(testo.left(l), virgola, normale))
                    atteso = normale;
            EXPECT_EQ(InizioNumero(testo, virgola, trovato) ? trovato : QString(), atteso)
                << testo.toStdString() << " virgola " << virgola;
        }
    }
    UtilGlob u;
    const struct {
        const char *testo;
        double atteso;
    } casi[] = {
        {"12 pezzi", 12},     {"1.234,5 euro", 1234.5},
        {"1,234.5x", 1234.5}, {"1.2.3", 1.2},
        {"-3e2kg", -300},     {"5e", 5},
        {"1e400", 0},         {"1e-400", 0},
        {"x12", 0},           {"", 0},
    };
    for (const auto &c : casi)
        EXPECT_DOUBLE_EQ(u.ValoreNumerico(QString::fromLatin1(c.testo)), c.atteso) << c.testo;
    // A number a double cannot hold is no number: never the shorter one cut from it.
    EXPECT_EQ(u.ValoreNumerico(QString(400, u'9') + QStringLiteral("abc")), 0);
    EXPECT_EQ(u.ValoreNumerico(QString(32000, u'x')), 0);
}
