// Whole numbers and amounts at and beyond the range of Integer, Long and
// Currency, read and written on both engines: the exact value or error 6,
// never another number.
#include "ProvaMotori.h"
#include "components/util/Currency.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QSqlError>
#include <QSqlQuery>

namespace
{

class NumeriAiLimiti : public ProvaMotori
{
  protected:
    void SetUp() override
    {
        ProvaMotori::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QSqlQuery q(db->DatabaseDao(C));
        ASSERT_TRUE(
            q.exec("CREATE TABLE NumeriProva (Id INTEGER PRIMARY KEY, Grande BIGINT, Importo NUMERIC(19,4))"))
            << q.lastError().text().toStdString();
        // SQLite keeps amounts of this size as doubles: its extremes are whole numbers.
        const bool pg = Pg();
        const struct {
            int id;
            const char *grande, *importo;
        } righe[] = {
            {1, "32767", "922337203685477"},
            {2, "-32768", "-922337203685477"},
            {3, "32768", "922337203685478"},
            {4, "2147483647", pg ? "922337203685477.5807" : "12.5"},
            {5, "-2147483648", pg ? "-922337203685477.5808" : "-12.5"},
            {6, "3000000000", pg ? "999999999999999.9999" : "1000000000000000"},
            {7, "9223372036854775807", pg ? "-999999999999999.9999" : "-1000000000000000"},
        };
        for (const auto &r : righe)
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO NumeriProva VALUES (%1, %2, %3)")
                                   .arg(r.id)
                                   .arg(r.grande, r.importo)))
                << q.lastError().text().toStdString();
    }

    // A read as text: "errore 6" when it raised the overflow error.
    std::string Lettura(const QString &h, const QString &campo, int tipo)
    {
        try {
            const QVariant v = rs->LeggiCampo(h, campo, tipo);
            if (v.metaType() == QMetaType::fromType<Currency>())
                return v.value<Currency>().toString(4).toStdString();
            return v.toString().toStdString();
        } catch (const VbErrore &e) {
            return "errore " + std::to_string(e.numero());
        }
    }
};

} // namespace

TEST_P(NumeriAiLimiti, ReadsGiveTheValueOrOverflow)
{
    const std::string e6 = "errore 6";
    const struct {
        const char *campo;
        int tipo;
        std::string atteso[7];
    } casi[] = {
        {"Grande", 2, {"32767", "-32768", e6, e6, e6, e6, e6}},
        {"Grande", 3, {"32767", "-32768", "32768", "2147483647", "-2147483648", e6, e6}},
        {"Grande", 6, {"32767", "-32768", "32768", "2147483647", "-2147483648", "3000000000", e6}},
        {"Grande",
         0,
         {"32767", "-32768", "32768", "2147483647", "-2147483648", "3000000000", "9223372036854775807"}},
        {"Importo",
         6,
         {"922337203685477.0000", "-922337203685477.0000", e6, Pg() ? "922337203685477.5807" : "12.5000",
          Pg() ? "-922337203685477.5808" : "-12.5000", e6, e6}},
        {"Importo", 3, {e6, e6, e6, Pg() ? e6 : "13", Pg() ? e6 : "-13", e6, e6}},
    };
    for (const auto &c : casi)
        for (int riga = 0; riga < 7; ++riga) {
            // Both the stepped snapshot and the set read whole.
            for (int tipoSet : {RecDat::TipoSnapshot, RecDat::TipoDinamico}) {
                const QString h =
                    Apri(QStringLiteral("SELECT * FROM NumeriProva WHERE Id = %1").arg(riga + 1), tipoSet);
                EXPECT_EQ(Lettura(h, c.campo, c.tipo), c.atteso[riga])
                    << c.campo << " tipo " << c.tipo << " riga " << riga + 1 << " insieme " << tipoSet;
                rs->ChiudiRec(h);
            }
        }
}

TEST_P(NumeriAiLimiti, AmountsBeyondTheRangeKeepTheirValueAndOrder)
{
    const QString h = Apri("SELECT * FROM NumeriProva ORDER BY Id");
    QVariantList importi;
    while (!rs->FineFile(h)) {
        importi << rs->LeggiCampo(h, "Importo");
        rs->MuoviSuccessivo(h);
    }
    ASSERT_EQ(importi.size(), 7);
    // Within the range: Currency. Beyond it: the engine's own exact value, never a Currency.
    EXPECT_EQ(importi[0].value<Currency>(), Currency(922337203685477LL));
    EXPECT_NE(importi[5].metaType(), QMetaType::fromType<Currency>());
    EXPECT_EQ(importi[5].toString(), Pg() ? "999999999999999.9999" : "1000000000000000");
    EXPECT_EQ(importi[6].toString(), Pg() ? "-999999999999999.9999" : "-1000000000000000");
    EXPECT_THROW(Currency::fromVariant(importi[5]), VbErrore);
    // Ordered as the numbers they are.
    EXPECT_EQ(UtilGlob::ConfrontaValori(importi[5], importi[0]), 1);
    EXPECT_EQ(UtilGlob::ConfrontaValori(importi[6], importi[1]), -1);
    EXPECT_EQ(UtilGlob::ConfrontaValori(importi[2], Currency::massimo().toVariant()), 1);
    EXPECT_EQ(UtilGlob::ConfrontaValori(Currency::minimo().toVariant(), importi[6]), 1);
}

TEST_P(NumeriAiLimiti, WritesBeyondTheRangeAreRefusedWithOverflow)
{
    const QString h = Apri("SELECT * FROM NumeriProva WHERE Id = 1", RecDat::TipoDinamico);
    rs->ModificaRec(h);
    const struct {
        const char *campo;
        QVariant valore;
    } rifiutati[] = {
        {"Importo", QString("999999999999999999999999999999.999")},
        {"Importo", QString("1e2147483647")},
        {"Importo", 1e20},
        {"Importo", QString("922337203685477.5808")},
        {"Grande", QString("99999999999999999999")},
        {"Grande", 1e19},
        {"Grande", QVariant::fromValue(qulonglong(9223372036854775808ULL))},
    };
    for (const auto &r : rifiutati) {
        try {
            rs->ScriviCampo(h, r.campo, r.valore);
            ADD_FAILURE() << r.campo << " " << r.valore.toString().toStdString() << " accettato";
        } catch (const VbErrore &e) {
            EXPECT_EQ(e.numero(), VbErrore::Overflow) << r.valore.toString().toStdString();
        }
    }
    rs->ScriviCampo(h, "Importo", QString("-922337203685477.5808"));
    rs->ScriviCampo(h, "Grande", QString("1e15"));
    rs->AggiornaRec(h);
    rs->ChiudiRec(h);
    const QString letto = Apri("SELECT * FROM NumeriProva WHERE Id = 1");
    EXPECT_EQ(Lettura(letto, "Grande", 0), "1000000000000000");
    // SQLite holds an amount of this size as a double.
    if (Pg()) {
        EXPECT_EQ(Lettura(letto, "Importo", 6), "-922337203685477.5808");
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, NumeriAiLimiti,
                         ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL), NomeMotore);
