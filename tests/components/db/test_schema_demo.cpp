// The demo database generator: valid codes, determinism, referential sanity
// and the document cases the footer engine must meet.
#include "components/util/VbErrore.h"
#include "data/generator/Generatore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

namespace
{

// Independent checks, written from the published rules.
bool CodiceFiscaleValido(const QString &cf)
{
    static const int dispari[36] = {1,  0,  5, 7, 9,  13, 15, 17, 19, 21, 1,  0,  5,  7,  9,  13, 15, 17,
                                    19, 21, 2, 4, 18, 20, 11, 3,  6,  8,  12, 14, 16, 10, 22, 25, 24, 23};
    if (cf.size() != 16)
        return false;
    int somma = 0;
    for (int i = 0; i < 15; ++i) {
        const QChar c = cf.at(i);
        const int idx = c.isDigit() ? c.digitValue() : 10 + (c.unicode() - u'A');
        if (idx < 0 || idx >= 36)
            return false;
        somma += (i % 2 == 0) ? dispari[idx] : (c.isDigit() ? c.digitValue() : c.unicode() - u'A');
    }
    return cf.at(15) == QChar(u'A' + somma % 26);
}

bool PartitaIvaValida(const QString &p)
{
    if (p.size() != 11)
        return false;
    int somma = 0;
    for (int i = 0; i < 11; ++i) {
        if (!p.at(i).isDigit())
            return false;
        int d = p.at(i).digitValue();
        if (i % 2 == 1)
            d = d * 2 > 9 ? d * 2 - 9 : d * 2;
        somma += d;
    }
    return somma % 10 == 0;
}

bool IbanValido(const QString &iban)
{
    if (iban.size() < 15 || iban.size() > 34)
        return false;
    const QString r = iban.mid(4) + iban.left(4);
    int resto = 0;
    for (QChar c : r) {
        if (c.isDigit())
            resto = (resto * 10 + c.digitValue()) % 97;
        else if (c >= u'A' && c <= u'Z')
            resto = (resto * 100 + c.unicode() - u'A' + 10) % 97;
        else
            return false;
    }
    return resto == 1;
}

TEST(ControlliCodici, KnownGoodAndBadCodes)
{
    EXPECT_TRUE(CodiceFiscaleValido("RSSMRA85T10A562S"));
    EXPECT_FALSE(CodiceFiscaleValido("RSSMRA85T10A562T"));
    EXPECT_TRUE(PartitaIvaValida("00743110157"));
    EXPECT_FALSE(PartitaIvaValida("00743110158"));
    EXPECT_TRUE(IbanValido("IT60X0542811101000000123456"));
    EXPECT_FALSE(IbanValido("IT61X0542811101000000123456"));
}

class DemoGenerato : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        OpzioniDemo o;
        o.percorso = dir->filePath("azienda.db");
        o.clienti = 400;
        o.seme = 11;
        esito = GeneraDemo(o);
        db = QSqlDatabase::addDatabase("QSQLITE", "demo-test");
        db.setDatabaseName(o.percorso);
        db.open();
    }
    static void TearDownTestSuite()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("demo-test");
        delete dir;
    }
    static int Conta(const QString &sql)
    {
        QSqlQuery q(db);
        if (!q.exec(sql) || !q.next()) {
            ADD_FAILURE() << q.lastError().text().toStdString() << " " << sql.toStdString();
            return -1;
        }
        return q.value(0).toInt();
    }
    static QByteArray Impronta(const QString &percorso)
    {
        QFile f(percorso);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

    static inline QTemporaryDir *dir = nullptr;
    static inline EsitoDemo esito;
    static inline QSqlDatabase db;
};

TEST_F(DemoGenerato, CustomersCarryValidCodes)
{
    EXPECT_EQ(esito.clienti, 400);
    QSqlQuery q("SELECT Conto, Stato, StatoGiurid, PartIva, CodFisc, Iban FROM PianoConti WHERE Tipo = '3'",
                db);
    int persone = 0, piva = 0, iban = 0;
    while (q.next()) {
        const QString conto = q.value(0).toString(), stato = q.value(1).toString();
        const QString partIva = q.value(3).toString(), codFisc = q.value(4).toString(),
                      ib = q.value(5).toString();
        EXPECT_LE(conto.size(), 4);
        if (stato == "IT" && !partIva.isEmpty()) {
            EXPECT_TRUE(PartitaIvaValida(partIva)) << partIva.toStdString();
            ++piva;
        }
        if (q.value(2).toString() == "F" && stato == "IT") {
            EXPECT_TRUE(CodiceFiscaleValido(codFisc)) << codFisc.toStdString();
            ++persone;
        } else if (stato == "IT") {
            EXPECT_EQ(codFisc, partIva);
        }
        if (!ib.isEmpty()) {
            EXPECT_TRUE(IbanValido(ib)) << ib.toStdString();
            EXPECT_EQ(ib.size(), 27);
            ++iban;
        }
    }
    EXPECT_GT(persone, 50);
    EXPECT_GT(piva, 200);
    EXPECT_GT(iban, 100);
    // Every customer has its sex code, a company's "M" as the form saves it.
    EXPECT_EQ(Conta("SELECT count(*) FROM PianoConti WHERE Tipo = '3' AND (Sesso IS NULL OR (StatoGiurid = "
                    "'G' AND Sesso <> 'M') OR Sesso NOT IN ('M', 'F'))"),
              0);
    EXPECT_EQ(Conta("SELECT count(*) FROM \"0_ClientHotelArdeno\" WHERE PARTIVA IS NOT NULL AND "
                    "length(PARTIVA) <> 11"),
              0);
}

TEST_F(DemoGenerato, ReferencesResolve)
{
    const char *orfani[] = {
        // Customers, their municipalities and codes
        "SELECT count(*) FROM PianoConti p LEFT JOIN ComuniCod c ON p.Comune = c.Descrizione AND p.Pr = "
        "c.SiglaProv "
        "WHERE p.Tipo = '3' AND p.Stato = 'IT' AND c.CodErariale IS NULL",
        "SELECT count(*) FROM PianoConti p LEFT JOIN Mastri m ON p.Gruppo = m.Gruppo AND p.Mastro = m.Mastro "
        "WHERE m.Mastro IS NULL OR (p.Tipo = '3') <> (m.Tipo = '3')",
        "SELECT count(*) FROM PianoConti p LEFT JOIN Pagamenti x ON p.Pagamento = x.Pagamento "
        "WHERE p.Pagamento IS NOT NULL AND x.Pagamento IS NULL",
        "SELECT count(*) FROM PianoConti p LEFT JOIN Banche x ON p.Banca = x.Banca WHERE p.Banca IS NOT NULL "
        "AND x.Banca IS NULL",
        "SELECT count(*) FROM PianoConti p LEFT JOIN Agenti x ON p.Agente1 = x.Agente WHERE p.Agente1 IS NOT "
        "NULL AND x.Agente IS NULL",
        "SELECT count(*) FROM PianoConti p LEFT JOIN Zone x ON p.Zona = x.Zona WHERE p.Zona IS NOT NULL AND "
        "x.Zona IS NULL",
        "SELECT count(*) FROM PianoConti p LEFT JOIN Stati x ON p.Stato = x.Stato WHERE p.Stato IS NOT NULL "
        "AND x.Stato IS NULL",
        "SELECT count(*) FROM PianoConti p LEFT JOIN IndSped x ON p.Gruppo = x.Gruppo AND p.Mastro = "
        "x.Mastro "
        "AND p.Conto = x.Conto AND p.IndSped = x.IndSped WHERE p.IndSped IS NOT NULL AND x.IndSped IS NULL",
        // Documents
        "SELECT count(*) FROM FatTest t LEFT JOIN PianoConti p ON t.GruppoCli = p.Gruppo AND t.MastroCli = "
        "p.Mastro "
        "AND t.ContoCli = p.Conto WHERE p.Conto IS NULL",
        "SELECT count(*) FROM DdtTest t LEFT JOIN PianoConti p ON t.GruppoCli = p.Gruppo AND t.MastroCli = "
        "p.Mastro "
        "AND t.ContoCli = p.Conto WHERE p.Conto IS NULL",
        "SELECT count(*) FROM OrdVenTest t LEFT JOIN PianoConti p ON t.GruppoCli = p.Gruppo AND t.MastroCli "
        "= p.Mastro "
        "AND t.ContoCli = p.Conto WHERE p.Conto IS NULL",
        "SELECT count(*) FROM FatDett d LEFT JOIN TabIva i ON d.Iva = i.Iva WHERE d.TipoRiga <> 'D' AND "
        "i.Iva IS NULL",
        "SELECT count(*) FROM DdtDett d LEFT JOIN TabIva i ON d.Iva = i.Iva WHERE d.TipoRiga <> 'D' AND "
        "i.Iva IS NULL",
        "SELECT count(*) FROM OrdVenDett d LEFT JOIN TabIva i ON d.Iva = i.Iva WHERE d.TipoRiga <> 'D' AND "
        "i.Iva IS NULL",
        "SELECT count(*) FROM FatDett d LEFT JOIN FatTest t ON d.Anno = t.Anno AND d.NumRif = t.NumRif WHERE "
        "t.NumRif IS NULL",
        "SELECT count(*) FROM FatDett d LEFT JOIN FatLiv l ON d.Anno = l.Anno AND d.NumRif = l.NumRif "
        "AND d.RigLiv = l.RigLiv WHERE d.RigLiv > 0 AND l.RigLiv IS NULL",
        "SELECT count(*) FROM FatSpese s LEFT JOIN Spese x ON s.Spesa = x.Spesa WHERE x.Spesa IS NULL",
        "SELECT count(*) FROM FatSpese s LEFT JOIN TabIva i ON s.Iva = i.Iva WHERE i.Iva IS NULL",
        "SELECT count(*) FROM FatTest t LEFT JOIN FattDocumenti f ON t.FattDocumento = f.FattDocumento WHERE "
        "f.Segno IS NULL",
        "SELECT count(*) FROM FatTest t LEFT JOIN Monete m ON t.Moneta = m.Moneta WHERE m.NumDec IS NULL",
        "SELECT count(*) FROM FatTest t LEFT JOIN PdcDicIntenti d ON t.GruppoCli = d.Gruppo AND t.MastroCli "
        "= d.Mastro "
        "AND t.ContoCli = d.Conto AND t.PdcDicIntenti = d.PdcDicIntenti WHERE t.PdcDicIntenti IS NOT NULL "
        "AND d.Conto IS NULL"};
    for (const char *sql : orfani)
        EXPECT_EQ(Conta(sql), 0) << sql;
}

TEST_F(DemoGenerato, DocumentsCoverTheFooterCases)
{
    const char *presenti[] = {
        "SELECT count(*) FROM FatTest WHERE Moneta = 'LIT'",
        "SELECT count(*) FROM FatTest WHERE Moneta = 'USD'",
        "SELECT count(*) FROM FatTest t JOIN FattDocumenti f ON t.FattDocumento = f.FattDocumento WHERE "
        "f.Segno = '-'",
        "SELECT count(*) FROM FatTest WHERE PrezziIvati = 'S'",
        "SELECT count(*) FROM FatTest WHERE ScontoPag = '3+2'",
        "SELECT count(*) FROM FatTest WHERE ScoPagSuDett = 'S'",
        "SELECT count(*) FROM FatTest WHERE PercRitAcc >= 100",
        "SELECT count(*) FROM FatTest WHERE PdcDicIntenti IS NOT NULL",
        "SELECT count(*) FROM DdtTest WHERE PdcDicIntenti IS NOT NULL",
        "SELECT count(*) FROM OrdVenTest WHERE PdcDicIntenti IS NOT NULL",
        "SELECT count(*) FROM FatDett WHERE Omaggio = 'I'",
        "SELECT count(*) FROM FatDett WHERE Omaggio = 'S'",
        "SELECT count(*) FROM FatDett WHERE Scontotot = '10+5'",
        "SELECT count(*) FROM FatDett WHERE Iva = '22'",
        "SELECT count(*) FROM FatDett WHERE Iva = '10'",
        "SELECT count(*) FROM FatDett WHERE Iva = '04'",
        "SELECT count(*) FROM FatDett d JOIN TabIva i ON d.Iva = i.Iva WHERE i.TipoIva IN ('2','3','4','5')",
        "SELECT count(*) FROM FatLiv",
        "SELECT count(*) FROM FatSpese WHERE TipoAddebito = 'T'",
        "SELECT count(*) FROM FatSpese WHERE CassaPrev = 'S'",
        "SELECT count(*) FROM FatSpese s JOIN Spese x ON s.Spesa = x.Spesa WHERE x.TipoAddebito = 'P'",
        "SELECT count(*) FROM DdtSpese s JOIN Spese x ON s.Spesa = x.Spesa WHERE x.TipoAddebito = 'S'",
        "SELECT count(*) FROM TabIva WHERE TipoIva IN ('2','3','4','5') AND ApplBolloEse = 'N'",
        "SELECT count(*) FROM TabIva WHERE TipoIva IN ('2','3','4','5') AND ApplBolloEse = 'S'",
        "SELECT count(*) FROM TaBolli WHERE MaxNoBollo = 77.47 AND BolloEsente = 2",
        "SELECT count(*) FROM Monete WHERE Moneta = 'LIT' AND NumDec = 0",
        "SELECT count(*) FROM PdcClasseAttr WHERE PdcClasseAttr = 'A'",
        "SELECT count(*) FROM PdcProg",
        "SELECT count(*) FROM MovPnDett",
        "SELECT count(*) FROM PdcStorico",
        "SELECT count(*) FROM PianoContiDoc",
        "SELECT count(*) FROM PianoConti WHERE Tipo <> '3'"};
    for (const char *sql : presenti)
        EXPECT_GT(Conta(sql), 0) << sql;
    EXPECT_EQ(Conta("SELECT count(*) FROM TaBolli"), 1);
}

TEST_F(DemoGenerato, SameSeedSameFilesOtherSeedOtherContent)
{
    QTemporaryDir altra;
    OpzioniDemo o;
    o.percorso = altra.filePath("a.db");
    o.clienti = 400;
    o.seme = 11;
    GeneraDemo(o);
    EXPECT_EQ(Impronta(o.percorso), Impronta(dir->filePath("azienda.db")));
    EXPECT_EQ(Impronta(altra.filePath("menu.db")), Impronta(dir->filePath("menu.db")));
    o.percorso = altra.filePath("b.db");
    o.seme = 12;
    GeneraDemo(o);
    EXPECT_NE(Impronta(o.percorso), Impronta(dir->filePath("azienda.db")));
}

TEST_F(DemoGenerato, MenuDatabaseHoldsCountriesAndMailTexts)
{
    QSqlDatabase menu = QSqlDatabase::addDatabase("QSQLITE", "demo-menu-test");
    menu.setDatabaseName(esito.percorsoMenu);
    ASSERT_TRUE(menu.open());
    {
        QSqlQuery q("SELECT Descr1, Memo1 FROM Appoggio WHERE Codice = 'pdfemail'", menu);
        ASSERT_TRUE(q.next());
        EXPECT_FALSE(q.value(0).toString().isEmpty());
        QSqlQuery b("SELECT count(*) FROM TabStati WHERE BlackList = 'S'", menu);
        ASSERT_TRUE(b.next());
        EXPECT_GE(b.value(0).toInt(), 3); // "s" counts too: the column ignores case
    }
    menu.close();
    menu = QSqlDatabase();
    QSqlDatabase::removeDatabase("demo-menu-test");
}

TEST(DemoErrori, UnwritablePathIsReported)
{
    OpzioniDemo o;
    o.percorso = "/nonexistent-folder/x/azienda.db";
    o.clienti = 1;
    EXPECT_THROW(GeneraDemo(o), VbErrore);
}

} // namespace
