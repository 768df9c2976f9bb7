// Fixed-length print: the exact bytes of pages, margins, form feeds, printer
// codes, line widths and the page range.
#include "components/stampa/OpzStampa.h"
#include "components/stampa/StampaFissa.h"
#include "support/StampaQt.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QList<ColonnaStampa> colonne()
{
    // 720, 1440 and 864 twips: 5, 10 and 6 characters at 10 per inch.
    return {{QStringLiteral("Codice"), 720, Qt::AlignLeft, true, false},
            {QStringLiteral("Nome"), 1440, Qt::AlignLeft, true, false},
            {QStringLiteral("Saldo"), 864, Qt::AlignRight, true, true}};
}

QList<QList<CellaStampa>> righe()
{
    return {{{QStringLiteral("1"), QStringLiteral("1")},
             {QStringLiteral("Rossi"), QStringLiteral("Rossi")},
             {QStringLiteral("10,00"), 10.0}},
            {{QStringLiteral("2"), QStringLiteral("2")},
             {QStringLiteral("Bianchi Giovanni"), QStringLiteral("Bianchi Giovanni")},
             {QStringLiteral("-5,50"), -5.5}},
            {{QStringLiteral("3"), QStringLiteral("3")},
             {QStringLiteral("Verdi"), QStringLiteral("Verdi")},
             {QStringLiteral("0,00"), 0.0}},
            {{QStringLiteral("4"), QStringLiteral("4")},
             {QStringLiteral("Né"), QStringLiteral("Né")},
             {QStringLiteral("1.000,00"), 1000.0}}};
}

OpzStampa opzioni()
{
    OpzStampa opz;
    opz.FisColonne(80);
    opz.FisRighe(8);
    opz.FisMrAlt(1);
    opz.FisMrBas(1);
    return opz;
}

QByteArray stampa(const OpzStampa &opz, bool *completa = nullptr)
{
    StampaFissa f(opz, colonne(), QStringLiteral("Clienti"));
    QString errore;
    EXPECT_TRUE(f.Apri(QString(), errore)) << errore.toStdString();
    f.ScriviIntestazione();
    for (const auto &r : righe()) {
        if (f.Completa()) {
            if (completa)
                *completa = true;
            break;
        }
        f.ScriviRiga(r);
    }
    EXPECT_TRUE(f.Chiudi(errore));
    return f.Dati();
}

} // namespace

TEST(StampaFissa, PagesWithMarginsHeaderAndFormFeeds)
{
    const QByteArray atteso = QByteArray("\r\n"
                                         "Clienti          Pag. 1\r\n"
                                         "Codic Nome        Saldo\r\n"
                                         "-----------------------\r\n"
                                         "1     Rossi       10,00\r\n"
                                         "2     Bianchi Gi  -5,50\r\n"
                                         "3     Verdi        0,00\r\n"
                                         "\r\n"
                                         "\f"
                                         "\r\n"
                                         "Clienti          Pag. 2\r\n"
                                         "Codic Nome        Saldo\r\n"
                                         "-----------------------\r\n"
                                         "4     N\xE9         ######\r\n"
                                         "\r\n"
                                         "\f");
    EXPECT_EQ(stampa(opzioni()).toStdString(), atteso.toStdString());
}

TEST(StampaFissa, CompressedPageRangeAndEqualLineWidths)
{
    OpzStampa opz = opzioni();
    opz.FisUtilComp(-1);
    opz.FisCodIniComp(QStringLiteral("27,15"));
    opz.FisCodFinComp(QStringLiteral("18"));
    opz.ImpostaParStampa(QStringLiteral("PaginaDa"), 2);
    opz.ImpostaParStampa(QStringLiteral("PaginaA"), 2);
    bool completa = false;
    QByteArray b = stampa(opz, &completa);
    EXPECT_FALSE(completa) << "four rows end on page 2";
    ASSERT_TRUE(b.startsWith("\x1b\x0f"));
    ASSERT_TRUE(b.endsWith("\f\x12"));
    EXPECT_FALSE(b.contains("Pag. 1"));
    EXPECT_TRUE(b.contains("Pag. 2"));
    EXPECT_TRUE(b.contains("1.000,00")) << "17 characters to the inch give the number room";
    b = b.mid(2, b.size() - 4);
    // Every line that is not a blank margin line has the same width.
    const QList<QByteArray> linee = b.split('\n');
    int larghezza = -1;
    for (const QByteArray &l : linee) {
        if (l.isEmpty() || l == "\r")
            continue;
        ASSERT_TRUE(l.endsWith('\r')) << l.toStdString();
        if (larghezza < 0)
            larghezza = int(l.size());
        EXPECT_EQ(l.size(), larghezza) << l.toStdString();
    }
    EXPECT_EQ(larghezza - 1, 9 + 1 + 17 + 1 + 10);

    // With a range ending on page 1 the rows after it are not needed.
    completa = false;
    OpzStampa uno = opzioni();
    uno.ImpostaParStampa(QStringLiteral("PaginaA"), 1);
    b = stampa(uno, &completa);
    EXPECT_TRUE(completa);
    EXPECT_EQ(b.count('\f'), 1);
}

TEST(StampaFissa, NarrowPrinterNoPagingAndImpossibleLayout)
{
    OpzStampa opz = opzioni();
    opz.FisColonne(12);
    StampaFissa stretta(opz, colonne(), QStringLiteral("Clienti"));
    EXPECT_LE(stretta.LarghezzaRiga(), 12);
    for (int w : stretta.LarghezzeColonne())
        EXPECT_GE(w, 1);

    opz = opzioni();
    opz.FisRighe(0);
    const QByteArray continua = stampa(opz);
    EXPECT_FALSE(continua.contains('\f'));
    EXPECT_TRUE(continua.contains("4     N\xE9"));

    opz = opzioni();
    opz.FisRighe(5);
    StampaFissa impossibile(opz, colonne(), QStringLiteral("Clienti"));
    QString errore;
    EXPECT_FALSE(impossibile.Apri(QString(), errore));
    EXPECT_TRUE(errore.contains(QStringLiteral("almeno 6 righe per pagina"))) << errore.toStdString();
}

TEST(StampaFissa, PrinterCodes)
{
    EXPECT_EQ(StampaFissa::Codici(QStringLiteral("27,15")), QByteArray("\x1b\x0f"));
    EXPECT_EQ(StampaFissa::Codici(QStringLiteral(" 27 69 ")), QByteArray("\x1b"
                                                                         "E"));
    EXPECT_EQ(StampaFissa::Codici(QStringLiteral("27;300")), QByteArray("\x1b"
                                                                        "300"));
    EXPECT_EQ(StampaFissa::Codici(QString()), QByteArray());
}

TEST(StampaFissa, WrittenToAFile)
{
    QTemporaryDir dir;
    const QString percorso = dir.filePath(QStringLiteral("stampa.txt"));
    StampaFissa f(opzioni(), colonne(), QStringLiteral("Clienti"));
    QString errore;
    ASSERT_TRUE(f.Apri(percorso, errore));
    f.ScriviIntestazione();
    for (const auto &r : righe())
        f.ScriviRiga(r);
    ASSERT_TRUE(f.Chiudi(errore)) << errore.toStdString();
    QFile file(percorso);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), stampa(opzioni()));
}

namespace
{

// An account code, a date, a description and an amount, all wider than the
// list's own columns (5, 5, 10 and 6 characters).
QList<ColonnaStampa> colonneStrette()
{
    return {{QStringLiteral("Conto"), 720, Qt::AlignLeft, true, false},
            {QStringLiteral("Data"), 720, Qt::AlignLeft, true, false},
            {QStringLiteral("Descrizione"), 1440, Qt::AlignLeft, true, false},
            {QStringLiteral("Importo"), 864, Qt::AlignRight, true, true}};
}

QList<QList<CellaStampa>> righeLarghe()
{
    return {{{QStringLiteral("01-05-0000"), QStringLiteral("01-05-0000")},
             {QStringLiteral("31/12/2024"), QDate(2024, 12, 31)},
             {QStringLiteral("Saldo in € dell'anno"), QStringLiteral("Saldo in € dell'anno")},
             {QStringLiteral("1.234.567,89"), 1234567.89}},
            {{QStringLiteral("01-05-0001"), QStringLiteral("01-05-0001")},
             {QStringLiteral("01/01/2025"), QDate(2025, 1, 1)},
             {QStringLiteral("Rossi"), QStringLiteral("Rossi")},
             {QStringLiteral("-5,00"), -5.0}}};
}

QByteArray misuraEScrivi(StampaFissa &f, QString *errore = nullptr)
{
    for (const auto &r : righeLarghe())
        f.Misura(r);
    QString e;
    if (!f.Apri(QString(), e)) {
        if (errore)
            *errore = e;
        return {};
    }
    f.ScriviIntestazione();
    for (const auto &r : righeLarghe())
        f.ScriviRiga(r);
    EXPECT_TRUE(f.Chiudi(e));
    return f.Dati();
}

} // namespace

TEST(StampaFissa, MeasuredColumnsNeverCutCodesDatesOrAmounts)
{
    OpzStampa opz = opzioni();
    opz.FisColonne(0);
    StampaFissa larga(opz, colonneStrette(), QStringLiteral("Saldi"));
    QByteArray b = misuraEScrivi(larga);
    EXPECT_EQ(larga.LarghezzeColonne(), (QList<int>{10, 10, 20, 12}));
    EXPECT_TRUE(b.contains("01-05-0000 31/12/2024 Saldo in \x80 dell'anno 1.234.567,89\r\n"))
        << b.toStdString();
    EXPECT_TRUE(b.contains("01-05-0001 01/01/2025 Rossi                       -5,00\r\n")) << b.toStdString();
    EXPECT_EQ(larga.CelleFuoriMisura(), 0);

    // Eighty characters would hold it all; 45 narrow the description first,
    // then the amounts back to the list's width; codes and dates stay whole.
    opz.FisColonne(45);
    StampaFissa stretta(opz, colonneStrette(), QStringLiteral("Saldi"));
    b = misuraEScrivi(stretta);
    EXPECT_EQ(stretta.LarghezzaRiga(), 45);
    EXPECT_EQ(stretta.LarghezzeColonne().value(0), 10);
    EXPECT_EQ(stretta.LarghezzeColonne().value(1), 10);
    EXPECT_TRUE(b.contains("01-05-0000 31/12/2024 ")) << b.toStdString();
    EXPECT_TRUE(b.contains("01-05-0001 01/01/2025 ")) << b.toStdString();
    opz.FisColonne(30);
    StampaFissa piuStretta(opz, colonneStrette(), QStringLiteral("Saldi"));
    b = misuraEScrivi(piuStretta);
    EXPECT_EQ(piuStretta.LarghezzeColonne(), (QList<int>{10, 10, 1, 6}));
    EXPECT_TRUE(b.contains("01-05-0000 31/12/2024 S ######\r\n")) << b.toStdString();
    EXPECT_TRUE(b.contains("01-05-0001 01/01/2025 R  -5,00\r\n")) << b.toStdString();
    EXPECT_EQ(piuStretta.CelleFuoriMisura(), 1) << "the amount is marked, never shortened";

    // Codes and dates alone need 21 characters: a line of 20 is refused.
    opz.FisColonne(20);
    StampaFissa impossibile(opz, colonneStrette(), QStringLiteral("Saldi"));
    QString errore;
    EXPECT_TRUE(misuraEScrivi(impossibile, &errore).isEmpty());
    EXPECT_TRUE(
        errore.startsWith(QStringLiteral("Le colonne scelte non entrano in una riga di 20 caratteri")))
        << errore.toStdString();
}

TEST(StampaFissa, WrittenInWindows1252)
{
    const QString t = QStringLiteral("€ – “è” Ş ✓");
    const QString p = StampaFissa::PerCodicePagina(t);
    EXPECT_EQ(p.size(), t.size());
    EXPECT_EQ(StampaFissa::Codifica(p), QByteArray("\x80 \x96 \x93\xE8\x94 S ?"));
    // One byte per character, also beyond the basic plane.
    EXPECT_EQ(StampaFissa::Codifica(StampaFissa::PerCodicePagina(QStringLiteral("a\U0001F600b"))),
              QByteArray("a?b"));
}

// Margins and rows beyond what a page holds, however they reached the
// options: refused with a message, never an overflow nor a huge output.
TEST(StampaFissa, PagesBeyondWhatAPageHoldsAreRefused)
{
    struct Caso {
        int righe, alto, basso;
        const char *messaggio;
    } const casi[] = {
        {5, 2147483647, 2147483647, "vanno da 0 a 255"},
        {0, 300000000, 0, "vanno da 0 a 255"},
        {256, 0, 0, "(ora 256, 0 e 0)"},
        {2147483647, 0, 0, "vanno da 0 a 255"},
        {100, 60, 40, "almeno 104 righe per pagina"},
        // Never a need beyond the most a page can have: the margins are what to reduce.
        {255, 254, 0, "nemmeno con 255 righe per pagina, il massimo: ridurre le righe vuote"},
        {10, 254, 254, "(insieme al più 251)"},
        {-2147483647 - 1, 0, 0, nullptr}, // no paging
        {255, 0, 0, nullptr},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.righe);
        OpzStampa opz = opzioni();
        opz.FisRighe(c.righe);
        opz.FisMrAlt(c.alto);
        opz.FisMrBas(c.basso);
        StampaFissa f(opz, colonne(), QStringLiteral("Clienti"));
        QString errore;
        EXPECT_EQ(f.Apri(QString(), errore), c.messaggio == nullptr) << errore.toStdString();
        if (c.messaggio)
            EXPECT_TRUE(errore.contains(QString::fromUtf8(c.messaggio))) << errore.toStdString();
        else
            EXPECT_TRUE(f.Chiudi(errore));
        EXPECT_LT(f.Dati().size(), 4096);
    }
}

// No control character of a value, the title or a caption reaches the
// printer; the compressed-print codes are written as set.
TEST(StampaFissa, ControlCharactersOfTheTextsBecomeBlanks)
{
    OpzStampa opz = opzioni();
    opz.FisRighe(0);
    opz.FisUtilComp(-1);
    opz.FisCodIniComp(QStringLiteral("27,15"));
    opz.FisCodFinComp(QStringLiteral("18"));
    QList<ColonnaStampa> cc = colonne();
    cc[0].didascalia = QStringLiteral("Co\x1b"
                                      "d");
    StampaFissa f(opz, cc, QStringLiteral("Clien\x07ti"));
    QString errore;
    ASSERT_TRUE(f.Apri(QString(), errore));
    f.ScriviIntestazione();
    const QString nome = QStringLiteral("R") + QChar(0) +
                         QStringLiteral("o\x1b"
                                        "E\x7f\x0b") +
                         QChar(0x85) + QStringLiteral("x\r\n\t\f");
    f.ScriviRiga({{QStringLiteral("1"), QStringLiteral("1")}, {nome, nome}, {QStringLiteral("1,00"), 1.0}});
    ASSERT_TRUE(f.Chiudi(errore));
    QByteArray b = f.Dati();
    ASSERT_TRUE(b.startsWith("\x1b\x0f"));
    ASSERT_TRUE(b.endsWith("\x12"));
    b = b.mid(2, b.size() - 3);
    b.replace("\r\n", "");
    for (const char c : b)
        EXPECT_GE(static_cast<unsigned char>(c), 0x20) << int(c);
    EXPECT_TRUE(b.contains("R o E   x")) << b.toStdString();
    EXPECT_TRUE(b.contains("Clien ti"));
    EXPECT_TRUE(b.contains("Co d"));
}
