// Prepared selections: every read gives what a record set of the same text
// with the same literals gives; the form survives changes of the schema, a
// connection opened again, writes while its rows are being read and a second
// run of the same text meanwhile. On SQLite and on PostgreSQL.
#include "ProvaMotori.h"
#include "components/db/ErroriDb.h"
#include "components/db/SelezionePronta.h"
#include "components/util/Currency.h"
#include "components/util/VbErrore.h"

#include <functional>

namespace
{

int NumeroErrore(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VbErrore &e) {
        return e.numero();
    }
    return 0;
}

// A value as text that tells kinds apart, an error as its number.
std::string Descrivi(const std::function<QVariant()> &leggi)
{
    try {
        const QVariant v = leggi();
        if (!v.isValid())
            return "<vuoto>";
        if (v.metaType() == QMetaType::fromType<Currency>())
            return "Currency " + v.value<Currency>().toString(4).toStdString();
        return std::string(v.metaType().name()) + " " + v.toString().toStdString();
    } catch (const VbErrore &e) {
        return "errore " + std::to_string(e.numero());
    }
}

} // namespace

class SelezioneProntaProva : public ProvaMotori
{
  protected:
    static inline const QString SqlLettere =
        QStringLiteral("SELECT PdcDicIntenti.*, PianoConti.Provv1, PianoConti.Descrizione AS Nome, "
                       "PdcDicIntenti.NrDichIntenti * 2 AS Doppio FROM PdcDicIntenti LEFT JOIN PianoConti ON "
                       "PdcDicIntenti.Conto = PianoConti.Conto WHERE PdcDicIntenti.Conto = '%1' AND "
                       "PdcDicIntenti.PdcDicIntenti >= %2 ORDER BY PdcDicIntenti.PdcDicIntenti");

    void Lettere()
    {
        Esegui(
            "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione, Provv1) VALUES ('05', '10', '0001', "
            "'Rossi', 2.5)");
        Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Provv1) VALUES ('05', '10', '0002', 3)");
        Esegui("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione, DataRicAE, "
               "NrDichIntenti, ImportoDichIntenti) VALUES ('05', '10', '0001', 1, 'Prima', #3/15/2024#, 42, "
               "12345.6789)");
        Esegui("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, ImportoDichIntenti) VALUES "
               "('05', '10', '0001', 2, 100)");
        Esegui("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione, "
               "ImportoDichIntenti, "
               "Attivo) VALUES ('05', '10', '0002', 1, 'Sua', 0.1, 'S')");
        Esegui("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti) VALUES ('05', '10', '0002', "
               "3)");
        Esegui("INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione) VALUES ('05', "
               "'10', "
               "'0002', 4, ' s ')");
        Esegui(QStringLiteral(
            "INSERT INTO PdcDicIntenti (Gruppo, Mastro, Conto, PdcDicIntenti, Descrizione) VALUES "
            "('05', '10', '0002', 5, '\u017F')"));
    }
};

TEST_P(SelezioneProntaProva, ReadsAsARecordSetOfTheTextWithThoseLiterals)
{
    Lettere();
    const QStringList campi{"Descrizione",     "DataRicAE",         "NrDichIntenti", "ImportoDichIntenti",
                            "Provv1",          "PianoConti.Provv1", "Nome",          "Doppio",
                            "DataDichIntenti", "PdcDicIntenti",     "Attivo",        "NonCe"};
    SelezionePronta s(db.get(), C, SqlLettere.arg("0001").arg(1));
    ASSERT_EQ(s.ValoriTesto(), QVariantList({QStringLiteral("0001"), qlonglong(1)}));
    std::vector<int> numeri;
    for (const QString &c : campi)
        numeri.push_back(s.Campo(c));

    for (const auto &[conto, da] : {std::pair{"0002", 0}, std::pair{"0001", 1}, std::pair{"0001", 2},
                                    std::pair{"0003", 0}, std::pair{"0002", 1}}) {
        const QString testo = SqlLettere.arg(conto).arg(da);
        s.Esegui({QString::fromLatin1(conto), qlonglong(da)});
        EXPECT_EQ(s.Sql(), testo);
        const QString h = Apri(testo);
        for (int riga = 0; !rs->FineFile(h); ++riga) {
            ASSERT_FALSE(s.FineFile());
            for (int i = 0; i < campi.size(); ++i) {
                const QString &c = campi[i];
                const int n = numeri[size_t(i)];
                const std::string dove =
                    std::string(conto) + " riga " + std::to_string(riga) + " " + c.toStdString();
                for (int tipo : {0, 2, 3, 5, 6, 7, 8, 11})
                    EXPECT_EQ(Descrivi([&] { return s.Valore(n, tipo); }),
                              Descrivi([&] { return rs->LeggiCampo(h, c, tipo); }))
                        << dove << " tipo " << tipo;
                const QVariant v = rs->LeggiCampo(h, c);
                EXPECT_EQ(s.Nullo(n), v.isNull()) << dove;
                EXPECT_EQ(s.Testo(n), v.isNull() ? QString() : v.toString()) << dove;
                EXPECT_EQ(Descrivi([&] { return s.Importo(n).toVariant(); }), Descrivi([&] {
                              return Currency::fromVariant(rs->LeggiCampo(h, c, 6)).toVariant();
                          }))
                    << dove;
                const QString t = v.isNull() ? QString() : v.toString();
                for (const char *codice : {"S", "s", "Prima", "", "1", "N"})
                    for (bool spazi : {false, true})
                        EXPECT_EQ(
                            s.Uguale(n, QLatin1String(codice), spazi),
                            (spazi ? t.trimmed() : t).compare(QLatin1String(codice), Qt::CaseInsensitive) ==
                                0)
                            << dove << " " << codice << " " << spazi;
                bool ok = false, okAtteso = true;
                EXPECT_EQ(s.Reale(n, &ok), v.isNull() ? 0.0 : v.toDouble(&okAtteso)) << dove;
                EXPECT_EQ(ok, okAtteso) << dove;
            }
            rs->MuoviSuccessivo(h);
            s.MuoviSuccessivo();
        }
        EXPECT_TRUE(s.FineFile()) << conto;
        EXPECT_EQ(NumeroErrore([&] { s.Testo(numeri[0]); }), VbErrore::NessunRecordCorrente);
        EXPECT_EQ(NumeroErrore([&] { s.MuoviSuccessivo(); }), VbErrore::NessunRecordCorrente);
        rs->ChiudiRec(h);
    }
    EXPECT_EQ(NumeroErrore([&] { s.Esegui({QStringLiteral("0001")}); }), ErroriDb::ArgomentoNonValido);
    s.Chiudi();
    EXPECT_TRUE(s.FineDati());
}

TEST_P(SelezioneProntaProva, ColumnsFollowTheSchemaAndTheConnection)
{
    Lettere();
    SelezionePronta s(db.get(), C, "SELECT PianoConti.* FROM PianoConti WHERE Conto = '0001'");
    const int descrizione = s.Campo("Descrizione");
    const int nuova = s.Campo("Nuova");
    s.Esegui({QStringLiteral("0001")});
    EXPECT_EQ(s.Testo(descrizione), "Rossi");
    EXPECT_TRUE(s.Nullo(nuova));
    s.Chiudi();

    // A column added by this connection is read under its name at the next run.
    Esegui("ALTER TABLE PianoConti ADD Nuova INTEGER");
    Esegui("UPDATE PianoConti SET Nuova = 7 WHERE Conto = '0002'");
    s.Esegui({QStringLiteral("0002")});
    EXPECT_EQ(s.Valore(nuova).toInt(), 7);
    EXPECT_EQ(s.Testo(descrizione), "");
    s.Chiudi();

    // The connection closed and opened again under its name.
    db->ChiudiConnessione(C);
    if (Pg())
        db->ApriConnessione(C, connect);
    else
        db->ApriSqlite(C, cartella.filePath(QStringLiteral("azienda.db")));
    s.Esegui({QStringLiteral("0001")});
    EXPECT_EQ(s.Testo(descrizione), "Rossi");
    EXPECT_FALSE(s.FineFile());
}

TEST_P(SelezioneProntaProva, WritesAndASecondRunWhileRowsAreRead)
{
    for (int i = 1; i <= 4; ++i)
        Esegui(
            QStringLiteral("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione) VALUES ('05', '10', "
                           "'%1', 'Cliente %2')")
                .arg(i, 4, 10, QChar('0'))
                .arg(i));
    const QString sql = "SELECT Conto, Descrizione FROM PianoConti WHERE Gruppo = '05' ORDER BY Conto";
    SelezionePronta prima(db.get(), C, sql), seconda(db.get(), C, sql);
    const int conto = prima.Campo("Conto");
    const int contoSeconda = seconda.Campo("Conto");
    prima.Esegui({QStringLiteral("05")});
    prima.MuoviSuccessivo();
    EXPECT_EQ(prima.Testo(conto), "0002");

    // The same text run again while the first run stands on its second row.
    seconda.Esegui({QStringLiteral("05")});
    QStringList letti;
    for (; !seconda.FineFile(); seconda.MuoviSuccessivo())
        letti << seconda.Testo(contoSeconda);
    EXPECT_EQ(letti, QStringList({"0001", "0002", "0003", "0004"}));

    // A write of the connection: the first run keeps its rows and its place.
    Esegui("DELETE FROM PianoConti WHERE Conto = '0003'");
    letti.clear();
    for (; !prima.FineFile(); prima.MuoviSuccessivo())
        letti << prima.Testo(conto);
    EXPECT_EQ(letti, QStringList({"0002", "0003", "0004"}));

    prima.Esegui({QStringLiteral("05")});
    letti.clear();
    for (; !prima.FineFile(); prima.MuoviSuccessivo())
        letti << prima.Testo(conto);
    EXPECT_EQ(letti, QStringList({"0001", "0002", "0004"}));

    SelezionePronta sbagliata(db.get(), C, "SELECT Conto FROM TabellaCheNonCe WHERE Conto = '1'");
    EXPECT_NE(NumeroErrore([&] { sbagliata.Esegui({QStringLiteral("1")}); }), 0);
    EXPECT_TRUE(sbagliata.FineFile());
}

INSTANTIATE_TEST_SUITE_P(Motori, SelezioneProntaProva,
                         ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL), NomeMotore);
