// VAT numbers of the member states and the Italian fiscal code.
#include "services/Fiscale.h"

#include <gtest/gtest.h>

namespace
{

struct CasoIva {
    const char *iso;
    const char *numero;
    int atteso; // 0 accepted, 1 wrong
};

// Published examples of valid numbers, each beside a copy with one digit changed.
const CasoIva casiIva[] = {
    {"IT", "00743110157", 0},  {"IT", "00743110158", 1},  {"IT", "IT00743110157", 0},
    {"IT", "0074311015", 1},   {"IT", "00000000000", 1},  {"IT", "0074311015A", 1},
    {"AT", "U13585627", 0},    {"AT", "ATU13585628", 1},  {"AT", "13585627", 1},
    {"BE", "0428759497", 0},   {"BE", "BE0428759498", 1}, {"BE", "428759497", 0},
    {"BG", "175074752", 0},    {"BG", "175074753", 1},    {"CY", "10259033P", 0},
    {"CY", "10259033Q", 1},    {"CZ", "25123891", 0},     {"CZ", "25123892", 1},
    {"DE", "136695976", 0},    {"DE", "DE136695977", 1},  {"DE", "036695976", 1},
    {"DK", "13585628", 0},     {"DK", "13585627", 1},     {"EE", "100931558", 0},
    {"EE", "100931559", 1},    {"GR", "094259216", 0},    {"EL", "EL094259216", 0},
    {"GR", "GR094259217", 1},  {"ES", "A13585625", 0},    {"ES", "ESA13585626", 1},
    {"ES", "12345678Z", 0},    {"ES", "12345678A", 1},    {"ES", "X1234567L", 0},
    {"FI", "20774740", 0},     {"FI", "20774741", 1},     {"FR", "40303265045", 0},
    {"FR", "41303265045", 1},  {"HR", "33392005961", 0},  {"HR", "33392005962", 1},
    {"HU", "12892312", 0},     {"HU", "12892313", 1},     {"IE", "6433435F", 0},
    {"IE", "6433435E", 1},     {"LT", "119511515", 0},    {"LT", "119511516", 1},
    {"LU", "15027442", 0},     {"LU", "15027443", 1},     {"LV", "40003521600", 0},
    {"LV", "40003521601", 1},  {"MT", "11679112", 0},     {"MT", "11679113", 1},
    {"NL", "004495445B01", 0}, {"NL", "004495446B01", 1}, {"PL", "8567346215", 0},
    {"PL", "8567346216", 1},   {"PT", "501964843", 0},    {"PT", "501964844", 1},
    {"RO", "18547290", 0},     {"RO", "18547291", 1},     {"SE", "123456789701", 0},
    {"SE", "123456789801", 1}, {"SI", "50223054", 0},     {"SI", "50223055", 1},
    {"SK", "2022749619", 0},   {"SK", "2022749618", 1},   {"IT", "IT 007.431.101-57", 0},
};

} // namespace

TEST(VerificaPartitaIvaUE, NumeriPubblicatiDegliStatiMembri)
{
    for (const CasoIva &c : casiIva)
        EXPECT_EQ(VerificaPartitaIvaUE(c.numero, QString(), c.iso, 0, 0), c.atteso)
            << c.iso << " " << c.numero;
}

// Numbers each country issues beside the common case: published ones valid in
// the EU's register, and copies that break one rule (date, office, letter key).
TEST(VerificaPartitaIvaUE, FormeParticolariDiOgniPaese)
{
    const CasoIva casi[] = {
        // Italy: digits 8 to 10 name an existing tax office.
        {"IT", "01234560017", 0},
        {"IT", "01234561205", 0},
        {"IT", "01234561015", 1},
        // Estonia.
        {"EE", "EE100594102", 0},
        // Ireland: since 2013 a second letter, any of the check alphabet.
        {"IE", "3336483DH", 0},
        {"IE", "IE3206488LH", 0},
        {"IE", "1234567PT", 0},
        {"IE", "1234567QT", 1},
        {"IE", "1234567PX", 1},
        {"IE", "8Y41127O", 0}, // old style: digit, letter, five digits, letter
        {"IE", "8F52100V", 0},
        {"IE", "8+52100V", 0},
        // Slovakia: a person's birth number, legal persons by their third digit.
        {"SK", "7103192745", 0},
        {"SK", "2022638992", 0},
        {"SK", "7113192746", 1}, // month 13
        // Czech Republic: companies, birth numbers before and after 1954, persons without one.
        {"CZ", "27082440", 0},
        {"CZ", "510310055", 0},
        {"CZ", "513310055", 1}, // month 33 before 2004
        {"CZ", "7103192745", 0},
        {"CZ", "7113192746", 1},
        {"CZ", "699000899", 0},
        {"CZ", "682127228", 0},
        {"CZ", "699004237", 0},
        {"CZ", "699004238", 1},
        // Bulgaria: a citizen's number carries a real birth date.
        {"BG", "7523169263", 0},
        {"BG", "7553169265", 1},
        // France: letter keys, and the company number's own check.
        {"FR", "0A481458735", 0},
        {"FR", "0B481458735", 1},
        {"FR", "IO481458735", 1},
        {"FR", "68900296724", 0},
        {"FR", "83404833048", 0},
        {"FR", "86404833049", 1},
        // Latvia: companies, older personal codes with a birth date, newer ones without.
        {"LV", "40003521600", 0},
        {"LV", "16117519997", 0},
        {"LV", "16117519998", 1},
        {"LV", "31027519999", 1}, // 31 February
        {"LV", "32503511782", 0},
        // Spain: a foreigner's NIE; companies end with a digit, public bodies with a letter.
        {"ES", "X5910266W", 0},
        {"ES", "A1358562E", 1},
        {"ES", "Q2826000H", 0},
        {"ES", "Q28260008", 1},
        // Malta: the last two digits are 37 minus the remainder.
        {"MT", "11679112", 0},
        // Northern Ireland.
        {"XI", "XI980780684", 0},
        {"XI", "980780685", 1},
    };
    for (const CasoIva &c : casi)
        EXPECT_EQ(VerificaPartitaIvaUE(c.numero, QString(), c.iso, 0, 0), c.atteso)
            << c.iso << " " << c.numero;
}

TEST(VerificaPartitaIvaUE, PaeseDalCodiceStatoOItaliaQuandoManca)
{
    EXPECT_EQ(VerificaPartitaIvaUE("00743110157", "", "", 0, 0), 0);
    EXPECT_EQ(VerificaPartitaIvaUE("00743110158", "", "", 0, 0), 1);
    EXPECT_EQ(VerificaPartitaIvaUE("136695976", "de", "", 0, 0), 0);
    // An Italian customer with a German number is refused.
    EXPECT_EQ(VerificaPartitaIvaUE("DE136695976", "IT", "IT", 11, 0), 1);
}

TEST(VerificaPartitaIvaUE, FuoriUeSoloLeLunghezzeSenzaPrefisso)
{
    EXPECT_EQ(VerificaPartitaIvaUE("CHE123456789", "CH", "CH", 12, 0), 0);
    EXPECT_EQ(VerificaPartitaIvaUE("123456789", "CH", "CH", 12, 9), 0);
    EXPECT_EQ(VerificaPartitaIvaUE("12345678", "CH", "CH", 12, 9), 1);
    EXPECT_EQ(VerificaPartitaIvaUE("anything", "US", "US", 0, 0), 0);
    // The country's prefix typed in front of the number does not count.
    EXPECT_EQ(VerificaPartitaIvaUE("SM12345", "SM", "SM", 5, 0), 0);
    EXPECT_EQ(VerificaPartitaIvaUE("SM 12345", "SM", "SM", 5, 0), 0);
    EXPECT_EQ(VerificaPartitaIvaUE("SM1234", "SM", "SM", 5, 0), 1);
}

TEST(VerificaPartitaIvaUE, NumeroVuotoAccettato)
{
    EXPECT_EQ(VerificaPartitaIvaUE("", "IT", "IT", 11, 0), 0);
    EXPECT_EQ(VerificaPartitaIvaUE("   ", "DE", "DE", 9, 0), 0);
    EXPECT_EQ(VerificaPartitaIva("", 0), 0);
    EXPECT_EQ(VerificaPartitaIva("  ", -1), 0);
}

TEST(VerificaPartitaIva, CodiceFiscaleEPartitaIva)
{
    struct {
        const char *codice;
        int flag;
        int atteso;
    } casi[] = {
        {"RSSMRA85T10A562S", 0, 0},                              // published example
        {"rssmra85t10a562s", 0, 0},  {"RSSMRA85T10A562T", 0, 1}, // wrong check letter
        {"RSSMRA85T10A56NH", 0, 0}, // homonym variant: last digit 2 -> N, check recomputed
        {"RSSMRA85T10A56NS", 0, 1}, // homonym letter with the old check letter
        {"RSSMRA85T1LA562S", 0, 1}, // homonym letter without the new check letter
        {"RSSMRA85Z10A562S", 0, 1}, // no month Z
        {"RSSMRA85T99A562S", 0, 1}, // day 99
        {"RSSMRA85T10A562", 0, 1},  // 15 characters
        {"BNCLRA90C55H501X", 0, 0}, // woman: day 15 + 40
        {"00743110157", 0, 0},      // 11 characters: a VAT number
        {"00743110158", 0, 1},       {"00743110157", -1, 1}, // forced fiscal-code check
        {"RSSMRA85T10A562S", -1, 0},
    };
    for (const auto &c : casi)
        EXPECT_EQ(VerificaPartitaIva(c.codice, c.flag), c.atteso) << c.codice;
}

TEST(CodiceFiscale, CalcoloPerUominiEDonne)
{
    struct {
        const char *cognome, *nome;
        QDate nascita;
        const char *sesso, *comune, *atteso;
    } casi[] = {
        {"Rossi", "Mario", QDate(1985, 12, 10), "M", "A562", "RSSMRA85T10A562S"},
        {"Bianchi", "Laura", QDate(1990, 3, 15), "F", "H501", "BNCLRA90C55H501X"},
        {"bianchi", "laura", QDate(1990, 3, 15), "f", "h501", "BNCLRA90C55H501X"},
    };
    for (const auto &c : casi) {
        const QString cf = CodiceFiscale(c.cognome, c.nome, c.nascita, c.sesso, c.comune);
        EXPECT_EQ(cf, c.atteso) << c.cognome;
        EXPECT_EQ(VerificaPartitaIva(cf, 0), 0) << c.cognome;
    }
}

TEST(CodiceFiscale, CognomiENomiConPocheConsonanti)
{
    struct {
        const char *cognome, *nome, *primiSei;
    } casi[] = {
        {"Fo", "Ia", "FOXIAX"},              // filler X after consonants and vowels
        {"Ai", "Ugo", "AIXGUO"},             // vowels only, then one consonant
        {"D'Amico", "Gianfranco", "DMCGFR"}, // apostrophe dropped; 4+ consonants skip the second
        {"De Luca", "Anna", "DLCNNA"},
        {"Niccolò", "Zoë", "NCCZOE"}, // accents dropped
        {"Re", "Li", "REXLIX"},
    };
    for (const auto &c : casi) {
        const QString cf = CodiceFiscale(c.cognome, c.nome, QDate(2001, 1, 5), "M", "F205");
        EXPECT_EQ(cf.left(6), c.primiSei) << c.cognome << " " << c.nome;
        EXPECT_EQ(cf.mid(6, 5), "01A05");
        EXPECT_EQ(VerificaPartitaIva(cf, 0), 0) << cf.toStdString();
    }
}

TEST(CodiceFiscale, DatiNonValidiDannoTestoVuoto)
{
    EXPECT_EQ(CodiceFiscale("Rossi", "Mario", QDate(), "M", "A562"), "");
    EXPECT_EQ(CodiceFiscale("Rossi", "Mario", QDate(1985, 12, 10), "M", ""), "");
    EXPECT_EQ(CodiceFiscale("Rossi", "Mario", QDate(1985, 12, 10), "M", "Roma"), "");
}

TEST(CodiceFiscale, DateFuoriDagliAnniAmmessiDannoTestoVuoto)
{
    struct {
        QDate nascita;
        bool codice;
    } casi[] = {
        {QDate(-5, 3, 10), false},    {QDate(-1, 12, 31), false},   {QDate(1, 1, 1), false},
        {QDate(1799, 12, 31), false}, {QDate(1800, 1, 1), true},    {QDate(2099, 12, 31), true},
        {QDate(2100, 1, 1), false},   {QDate(275000, 6, 1), false},
    };
    for (const auto &c : casi) {
        const QString cf = CodiceFiscale("Rossi", "Mario", c.nascita, "M", "A562");
        if (c.codice) {
            EXPECT_EQ(cf.size(), 16) << c.nascita.year();
            EXPECT_EQ(VerificaPartitaIva(cf, 0), 0) << cf.toStdString();
        } else {
            EXPECT_EQ(cf, "") << c.nascita.year();
        }
    }
}
