// VB Format with Italian conventions, amount patterns and the account mask.
#include "components/util/FormatoVb.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QDateTime>
#include <climits>
#include <gtest/gtest.h>
#include <tuple>

namespace
{
struct CasoFormato {
    QVariant valore;
    const char *formato;
    const char *atteso;
};

void verifica(const std::vector<CasoFormato> &casi)
{
    UtilGlob u;
    for (const CasoFormato &c : casi)
        EXPECT_EQ(u.Formatta(c.valore, QString::fromUtf8(c.formato)), QString::fromUtf8(c.atteso))
            << "valore " << c.valore.toString().toStdString() << " formato " << c.formato;
}
} // namespace

TEST(Formatta, NumberPatterns)
{
    verifica({
        {1234.5, "#,##0.00", "1.234,50"},
        {-1234.5, "#,##0.00", "-1.234,50"},
        {0, "#,##0.00", "0,00"},
        {0.5, "#,##0.00", "0,50"},
        {1234567.891, "#,##0.00", "1.234.567,89"},
        {81.225, "#,##0.00", "81,23"},
        {1234.5, "#,###", "1.235"},
        {0, "#,###", ""},
        {0, "#", ""},
        {7, "#", "7"},
        {1234.5, "0", "1235"},
        {-0.5, "0", "-1"},
        {-0.001, "0.00", "0,00"},
        {5, "000", "005"},
        {12345, "00", "12345"},
        {0.5, "#.##", ",5"},
        {3, "0.0#", "3,0"},
        {3.14159, "0.0#", "3,14"},
        {0.125, "0.00%", "12,50%"},
        {1234567, "#,##0,", "1.235"},
        {1234.5, "0.00E+00", "1,23E+03"},
        {0.00123, "0.00E-00", "1,23E-03"},
        {5, "0.00;(0.00)", "5,00"},
        {-5, "0.00;(0.00)", "(5,00)"},
        {0, "0.00;(0.00);\"zero\"", "zero"},
        {QVariant(), "0.00;(0.00);zero;\"nulla\"", "nulla"},
        {QVariant(), "#,##0.00", ""},
        {12, "\"N. \"0", "N. 12"},
        {123456, "000-000", "123-456"},
        {1.5, "0.00 \\€", "1,50 €"},
        {QVariant::fromValue(Currency::fromDouble(99999999999.9999)), "#,##0.00", "100.000.000.000,00"},
        {QVariant("1.234,5"), "#,##0.00", "1.234,50"},
        {QVariant(qlonglong(9000000000LL)), "#,##0", "9.000.000.000"},
    });
}

TEST(Formatta, CaretDecimalsShowAZeroIntegerPart)
{
    verifica({
        {20, "#,###.^^", "20,00"},
        {0, "#,###.^^", "0,00"},
        {0.5, "#,###.^^", "0,50"},
        {1234.567, "#,###.^^^", "1.234,567"},
    });
}

TEST(Formatta, DatePatternsAndNamedFormats)
{
    const QDate d(2024, 2, 5);
    const QDateTime dt(QDate(2024, 12, 31), QTime(15, 7, 9));
    verifica({
        {d, "dd/mm/yyyy", "05/02/2024"},
        {d, "d/m/yy", "5/2/24"},
        {d, "dddd d mmmm yyyy", "lunedì 5 febbraio 2024"},
        {d, "ddd dd mmm", "lun 05 feb"},
        {d, "yyyymmdd", "20240205"},
        {d, "q", "1"},
        {dt, "hh:nn:ss", "15:07:09"},
        {dt, "hh:mm", "15:07"},
        {dt, "h:nn AM/PM", "3:07 PM"},
        {dt, "dd/mm/yyyy hh:nn", "31/12/2024 15:07"},
        {QVariant("05/02/2024"), "dd mmmm yyyy", "05 febbraio 2024"},
        {d, "Short Date", "05/02/2024"},
        {d, "Long Date", "lunedì 5 febbraio 2024"},
        {dt, "Short Time", "15:07"},
        {d, "", "05/02/2024"},
        {dt, "", "31/12/2024 15:07:09"},
        {1234.5, "Standard", "1.234,50"},
        {1234.5, "Fixed", "1234,50"},
        {0.25, "Percent", "25,00%"},
        {1.5, "General Number", "1,5"},
        {1, "Yes/No", "Sì"},
        {0, "Yes/No", "No"},
        {QVariant(true), "True/False", "Vero"},
        {1.5, "", "1,5"},
        {QVariant("testo"), "", "testo"},
    });
}

// The short date of "c" and "dd/mm/yyyy" is written digit by digit; a
// pattern that begins with an empty literal takes the general way and must
// give the same text, for every kind of day, month, year and time.
TEST(Formatta, ShortDateAsThePatternsGiveIt)
{
    const QDate giorni[] = {{2024, 2, 5}, {1999, 12, 31}, {2000, 1, 1}, {7, 3, 9}, {9999, 12, 31}, {1, 1, 1}};
    const QTime ore[] = {{0, 0}, {0, 0, 1}, {9, 5, 7}, {23, 59, 59}};
    for (const QDate &g : giorni)
        for (const QTime &o : ore) {
            const QDateTime dt(g, o);
            EXPECT_EQ(FormatoVb::Data(dt, "c"), FormatoVb::Data(dt, "\"\"c")) << dt.toString().toStdString();
            EXPECT_EQ(FormatoVb::Data(dt, "C"), FormatoVb::Data(dt, "c"));
            EXPECT_EQ(FormatoVb::Data(dt, "dd/mm/yyyy"), FormatoVb::Data(dt, "\"\"dd/mm/yyyy"));
            EXPECT_EQ(FormatoVb::Data(dt, "DD/MM/YYYY"), FormatoVb::Data(dt, "dd/mm/yyyy"));
        }
    EXPECT_EQ(FormatoVb::Data(QDateTime(QDate(2024, 2, 5), QTime(9, 5, 7)), "c"), "05/02/2024 09:05:07");
    EXPECT_EQ(FormatoVb::Data(QDateTime(QDate(7, 3, 9), QTime(0, 0)), "dd/mm/yyyy"), "09/03/0007");
}

TEST(Formatta, TextPatterns)
{
    verifica({
        {QVariant("abc"), ">", "ABC"},
        {QVariant("ABC"), "<", "abc"},
        {QVariant("12345"), "@@-@@@", "12-345"},
        {QVariant("ab"), "@@@@", "  ab"},
        {QVariant("ab"), "&&&&", "ab"},
        {QVariant("abc"), "0.00", "abc"},
    });
}

TEST(FormattaImporto, PatternAndFormattedAmounts)
{
    UtilGlob u;
    EXPECT_EQ(u.FormattaImporto(0, 2, "0", true, "#,###", 0, "", "^"), "#,##0.^^");
    EXPECT_EQ(u.FormattaImporto(0, 0, "0", true, "#,###", 0, "", "^"), "#,##0");
    EXPECT_EQ(u.FormattaImporto(1234.5, 2, "0", false, "#,###", 0, "", "^"), "1.234,50");
    EXPECT_EQ(u.FormattaImporto(0, 2, "0", false, "#,###", 0, "", "^"), "0,00");
    EXPECT_EQ(u.FormattaImporto(QVariant(), 2, "0", false, "#,###", 0, "", "^"), "");
    EXPECT_EQ(u.FormattaImporto(QVariant(""), 2, "0", false, "#,###", 0, "-", "^"), "-");
    EXPECT_EQ(u.FormattaImporto(QVariant("1500,5"), 2), "1.500,50");
    EXPECT_EQ(u.FormattaImporto(5, 2, "0", false, "#,###", 8), "    5,00");
    EXPECT_EQ(u.FormattaImporto(QVariant::fromValue(Currency::fromDouble(-1000000)), 0), "-1.000.000");
}

TEST(FormattaMaschera, AccountMaskBothWays)
{
    UtilGlob u;
    EXPECT_EQ(u.FormattaMaschera("01030001", "Conto"), "01-03-0001");
    EXPECT_EQ(u.FormattaMaschera("0103", "conto"), "01-03");
    EXPECT_EQ(u.FormattaMaschera("01", "Conto"), "01");
    EXPECT_EQ(u.FormattaMaschera("", "Conto"), "");
    EXPECT_EQ(u.FormattaMaschera("01-03-0001", "Conto"), "01-03-0001");
    EXPECT_EQ(u.FormattaValore("01-03-0001", "Conto"), "01030001");
    EXPECT_EQ(u.FormattaValore(u.FormattaMaschera("0103A001", "Conto"), "Conto"), "0103A001");
    u.ImpostaMascheraConto(3, 3, 4);
    EXPECT_EQ(u.FormattaMaschera("0010030001", "Conto"), "001-003-0001");
    EXPECT_EQ(u.FormattaMaschera(20, "#,###.^^"), "20,00");

    // Lengths whose sum no int holds are refused and the mask stays.
    for (auto [g, m, c] :
         {std::tuple{INT_MAX - 1, 35, 4}, std::tuple{4, INT_MAX, 1}, std::tuple{1, 1, INT_MAX}}) {
        try {
            u.ImpostaMascheraConto(g, m, c);
            ADD_FAILURE() << g << " " << m << " " << c;
        } catch (const VbErrore &e) {
            EXPECT_EQ(e.numero(), VbErrore::Overflow);
        }
        EXPECT_EQ(u.FormattaMaschera("0010030001", "Conto"), "001-003-0001");
    }
    // Long parts that still fit: the code is cut once, never repeated.
    u.ImpostaMascheraConto(INT_MAX - 40, 35, 4);
    EXPECT_EQ(u.FormattaMaschera("0105000001", "Conto"), "0105000001");
    u.ImpostaMascheraConto(2, INT_MAX - 10, 4);
    EXPECT_EQ(u.FormattaMaschera("0105000001", "Conto"), "01-05000001");
    u.ImpostaMascheraConto(INT_MIN, INT_MIN, INT_MIN);
    EXPECT_EQ(u.FormattaMaschera("0105", "Conto"), "0-1-05");
}

TEST(FormattaValore, NumbersForEditing)
{
    UtilGlob u;
    EXPECT_EQ(u.FormattaValore(1234.5, "#,###.^^"), "1234,50");
    EXPECT_EQ(u.FormattaValore(QVariant(""), "#,###.^^"), "");
    EXPECT_EQ(u.FormattaValore(7, "#,###"), "7");
}

TEST(FormattaCampo, RewritesTypedNumbers)
{
    UtilGlob u;
    EXPECT_EQ(u.FormattaCampo("", 5, "#"), "");
    EXPECT_EQ(u.FormattaCampo("0", 5, "#"), "");
    EXPECT_EQ(u.FormattaCampo("12", 5, "#"), "12");
    EXPECT_EQ(u.FormattaCampo("2,5", 3, "0"), "3");
    EXPECT_EQ(u.FormattaCampo("", 3, "0"), "0");
    EXPECT_EQ(u.FormattaCampo("1234,5", 6, "#,##0.00"), "1.234,50");
    EXPECT_EQ(u.FormattaCampo("abc", 3, "0"), "abc");
    // A number its kind cannot hold stays as typed, for the field check to refuse.
    EXPECT_EQ(u.FormattaCampo("1e20", 6, "#,##0.00"), "1e20");
    EXPECT_EQ(u.FormattaCampo("922337203685478", 6, "#,##0"), "922337203685478");
    EXPECT_EQ(u.FormattaCampo("922337203685477", 6, "#,##0"), "922.337.203.685.477");
    EXPECT_EQ(u.FormattaCampo("3000000000", 3, "0"), "3000000000");
    EXPECT_EQ(u.FormattaCampo("1e300", 2, "0"), "1e300");
}
