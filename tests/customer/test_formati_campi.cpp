// Texts the customer form composes: IBAN groups, address blocks, the web-map
// address, the next free account code.
#include "customer/FormatiCampi.h"

#include <QMap>
#include <gtest/gtest.h>

TEST(FormatiCampi, IbanInSeiGruppiDiQuattroEPoiIlResto)
{
    // Italy 27 characters, Malta 31, the longest 34: six groups of four, then
    // the rest whole; blanks typed are dropped.
    EXPECT_EQ(IbanAGruppi("IT60X0542811101000000123456"), "IT60 X054 2811 1010 0000 0123 456");
    EXPECT_EQ(IbanAGruppi("MT84MALT011000012345MTLCAST001S"), "MT84 MALT 0110 0001 2345 MTLC AST001S");
    EXPECT_EQ(IbanAGruppi("LC55HEMM000100010012001200023015"), "LC55 HEMM 0001 0001 0012 0012 00023015");
    // A short code keeps the seven groups' places: the missing groups are empty.
    EXPECT_EQ(IbanAGruppi("IT60 X054 2811"), "IT60 X054 2811    ");
    EXPECT_EQ(IbanAGruppi("IT60X0542811101000000123"), "IT60 X054 2811 1010 0000 0123 ");
    EXPECT_EQ(IbanAGruppi(""), "      ");
}

TEST(FormatiCampi, BloccoIndirizzoConSeparatoriAncheVuoti)
{
    EXPECT_EQ(BloccoIndirizzo("Rossi Spa", "Magazzino", "Via Po 1", "20100", "Milano", "MI", "IT"),
              "Rossi Spa Magazzino\r\nVia Po 1\r\n20100 Milano (MI)-IT");
    EXPECT_EQ(BloccoIndirizzo("", "", "", "", "", "", ""), " \r\n\r\n  ()-");
}

TEST(FormatiCampi, IndirizzoMappa)
{
    const QString coda = "&ie=UTF8&hl=it&oi=georefine&ct=clnk&cd=3&geocode=FX17pQIdBU66AA&split=0";
    auto ricerca = [&](const QUrl &u) {
        const QString s = u.toString(QUrl::FullyEncoded);
        EXPECT_TRUE(s.startsWith("https://maps.google.com/maps?q=")) << s.toStdString();
        EXPECT_TRUE(s.endsWith(coda)) << s.toStdString();
        return s.mid(31, s.size() - 31 - coda.size());
    };
    // Italy and an empty postcode are left out; blanks become "+".
    EXPECT_EQ(ricerca(IndirizzoMappa("Via Roma 1", "", "Firenze", "FI", " ITALIA ")),
              "Via+Roma+1,Firenze,FI");
    // Abroad: no province EE, the country appended.
    EXPECT_EQ(ricerca(IndirizzoMappa("Rue de Rivoli 2", "75001", "Paris", "ee", "Francia")),
              "Rue+de+Rivoli+2,75001,Paris,Francia");
    // Characters that would cut the query are encoded; apostrophes and accents travel.
    EXPECT_EQ(ricerca(IndirizzoMappa("Via Rossi & Figli #3?x=1", "", "San Giovanni", "", "")),
              "Via+Rossi+%26+Figli+%233%3Fx%3D1,San+Giovanni");
    EXPECT_EQ(ricerca(IndirizzoMappa("Via dell'Orso", "", "Forlì", "", "")), "Via+dell'Orso,Forl%C3%AC");
    EXPECT_TRUE(IndirizzoMappa(" ", "", "", "EE", "Italia").isEmpty());
}

TEST(FormatiCampi, NuovoCodiceContoInCifreEInLettere)
{
    // Highest code in use after each prefix; a prefix that is missing has none.
    struct Caso {
        const char *prefisso;
        QMap<QString, QString> ultimi;
        const char *atteso;
    } casi[] = {
        {"", {{"", "0041"}}, "0042"},
        {"", {}, "0001"},
        {"", {{"", "9999"}}, "A001"},
        {"", {{"", "9999"}, {"A", "999"}}, "B001"},
        {"AB", {{"AB", "99"}}, "AC01"},
        {"AB", {{"AB", "99"}, {"AC", "99"}, {"AD", "07"}}, "AD08"},
        {"AZ", {{"AZ", "99"}}, ""},
        {"ab", {{"ab", "99"}}, "aC01"},
        {"1234", {}, ""},
        {"7", {{"7", "041"}}, "7042"},
    };
    for (const Caso &c : casi) {
        const QString codice =
            NuovoCodiceConto(c.prefisso, [&](const QString &p) { return c.ultimi.value(p); });
        EXPECT_EQ(codice, c.atteso) << c.prefisso;
    }
}

TEST(FormatiCampi, TestoNumeroConVirgola)
{
    EXPECT_EQ(TestoNumero(14.5), "14,5");
    EXPECT_EQ(TestoNumero(QStringLiteral("5.25")), "5,25");
    EXPECT_EQ(TestoNumero(0.0), "0");
    EXPECT_EQ(TestoNumero(QVariant()), "");
    EXPECT_EQ(TestoNumero(QString()), "");
}
