// The keyed value list: case-insensitive keys, insertion order, missing keys.
#include "components/util/ListaValori.h"

#include <gtest/gtest.h>

TEST(ListaValori, WritesAddReadsAndOrder)
{
    ListaValori l;
    EXPECT_FALSE(l.EsisteChiave("Trasporto"));
    l.ScriviValore("Trasporto", true, Currency(10));
    l.ScriviValore("Incasso", true, Currency(3));
    l.ScriviValore("TRASPORTO", true, Currency(12));
    EXPECT_TRUE(l.EsisteChiave("trasporto"));
    EXPECT_EQ(l.NumeroElementi(), 2);
    EXPECT_EQ(l.LeggiImporto("Trasporto"), Currency(12));
    EXPECT_EQ(l.LeggiValore("incasso", true).value<Currency>(), Currency(3));
    EXPECT_EQ(l.Chiave(0), "Trasporto");
    EXPECT_EQ(l.Chiave(1), "Incasso");
    EXPECT_EQ(l.Valore(1).value<Currency>(), Currency(3));
}

TEST(ListaValori, MissingKeysAndEmptying)
{
    ListaValori l;
    EXPECT_FALSE(l.LeggiValore("x", true).isValid());
    EXPECT_EQ(l.LeggiImporto("x"), Currency(0));
    EXPECT_THROW(l.LeggiValore("x", false), VbErrore);
    EXPECT_THROW(l.ScriviValore("x", false, QVariant(1)), VbErrore);
    EXPECT_THROW(l.Chiave(0), VbErrore);
    l.ScriviValore("1", true, QVariant("a"));
    l.ScriviValore("2", true, QVariant("b"));
    EXPECT_TRUE(l.EliminaChiave("1"));
    EXPECT_FALSE(l.EliminaChiave("1"));
    EXPECT_EQ(l.Chiave(0), "2");
    l.SvuotaLista();
    EXPECT_EQ(l.NumeroElementi(), 0);
    EXPECT_FALSE(l.EsisteChiave("2"));
}

// Keys that differ only in case find one another, beyond ASCII too (accented
// letters, Greek, letters outside the basic plane), and keys that differ in
// anything else stay apart.
TEST(ListaValori, KeysWithoutRegardToCaseBeyondAscii)
{
    const QStringList chiavi = {QStringLiteral("Città"),  QStringLiteral("ΣΟΦΙΑ"),
                                QStringLiteral("Straße"), QString::fromUcs4(U"\U00010400x"),
                                QStringLiteral("C01D"),   QStringLiteral("")};
    ListaValori l;
    for (int i = 0; i < chiavi.size(); ++i)
        l.ScriviValore(chiavi[i], true, QVariant(i));
    for (int i = 0; i < chiavi.size(); ++i) {
        for (const QString &forma : {chiavi[i].toUpper(), chiavi[i].toLower(), chiavi[i].toCaseFolded()}) {
            EXPECT_EQ(l.EsisteChiave(forma), forma.toCaseFolded() == chiavi[i].toCaseFolded())
                << forma.toStdString();
            if (forma.toCaseFolded() == chiavi[i].toCaseFolded())
                EXPECT_EQ(l.LeggiValore(forma, false).toInt(), i) << forma.toStdString();
        }
    }
    EXPECT_EQ(l.NumeroElementi(), chiavi.size());
    EXPECT_FALSE(l.EsisteChiave(QStringLiteral("Citta")));
    EXPECT_FALSE(l.EsisteChiave(QStringLiteral("C01 D")));
    EXPECT_TRUE(l.EliminaChiave(QStringLiteral("cittÀ")));
    EXPECT_FALSE(l.EsisteChiave(QStringLiteral("CITTÀ")));
}
