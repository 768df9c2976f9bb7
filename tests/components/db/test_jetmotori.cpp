// Jet constructs run on SQLite and on PostgreSQL over the same rows: each
// gives Jet's answer on both, or both stop with an error; the answers are
// read from the rows returned, never from the translated text.
#include "ProvaMotori.h"
#include "components/db/JetSql.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

namespace
{

class JetMotori : public ProvaMotori
{
  protected:
    void SetUp() override
    {
        ProvaMotori::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QSqlDatabase q = db->DatabaseDao(C);
        Schema::ApplicaScript(
            q, QStringLiteral("CREATE TABLE IF NOT EXISTS ProvaJet (Id $intero NOT NULL, T $testo(20), "
                              "N $intero, D $doppio, I $importo, G $data, F $intero, PRIMARY KEY (Id));"));
        // F holds Booleans as the program writes them.
        const UtilGlob u;
        const char *righe[] = {
            "1, 'Alfa', 7, 2.5, 10.5, #12/31/2024#, %1",  "2, 'beta', -7, 3.5, 150, #1/15/2024#, %2",
            "3, Null, Null, Null, Null, Null, Null",      "4, '3.5e2', 40000, -2.5, 0.1, #6/1/2023#, %1",
            "5, 'àbc', 0, 2.7, 99.9999, #2/29/2024#, %2", "6, 'ÀRCO', 2, 2.5, 1, #3/1/2024#, %2",
            "7, 'beta', 3, 2.5, 2, #1/15/2024#, %2",
        };
        for (const char *r : righe)
            Esegui(QStringLiteral("INSERT INTO ProvaJet (Id, T, N, D, I, G, F) VALUES (%1)")
                       .arg(QString::fromUtf8(r)
                                .replace(QStringLiteral("%1"), u.ValoreSql(true, UtilGlob::TipoBooleano))
                                .replace(QStringLiteral("%2"), u.ValoreSql(false, UtilGlob::TipoBooleano))));
    }

    // The first column of every row, in the order given.
    QString Colonna(const QString &sql)
    {
        const auto r = db->Seleziona(C, sql);
        QStringList ids;
        for (int i = 0; i < r->numRighe(); ++i)
            ids << (r->valore(i, 0).isValid() ? r->valore(i, 0).toString() : QStringLiteral("<null>"));
        return ids.join(u',');
    }
    // The Ids of the rows a condition selects, in order.
    QString Righe(const QString &condizione)
    {
        return Colonna(QStringLiteral("SELECT Id FROM ProvaJet WHERE %1 ORDER BY Id").arg(condizione));
    }

    // An expression on row `id`, numbers written alike whatever their type.
    QString Valore(const QString &espressione, int id)
    {
        const auto r = db->Seleziona(
            C, QStringLiteral("SELECT %1 FROM ProvaJet WHERE Id = %2").arg(espressione).arg(id));
        if (r->numRighe() != 1)
            return QStringLiteral("<%1 righe>").arg(r->numRighe());
        const QVariant v = r->valore(0, 0);
        if (!v.isValid() || v.isNull())
            return QStringLiteral("<null>");
        if (v.metaType() == QMetaType::fromType<Currency>())
            return QString::number(v.value<Currency>().toDouble(), 'g', 15);
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(Qt::ISODate);
        bool ok = false;
        const double d = v.toString().toDouble(&ok);
        return ok ? QString::number(d, 'g', 15) : v.toString();
    }

    // The error number of a select, 0 when it runs.
    int Errore(const QString &sql)
    {
        try {
            db->Seleziona(C, sql);
        } catch (const VbErrore &e) {
            EXPECT_FALSE(e.descrizione().isEmpty());
            return e.numero();
        }
        return 0;
    }
};

struct CasoValore {
    const char *espressione;
    int id;
    const char *atteso;
};

const CasoValore casiValore[] = {
    // Left and Right are functions, not join keywords; Mid, Len.
    {"Left(T, 2)", 1, "Al"},
    {"Right(T, 2)", 1, "fa"},
    {"Left(T, 0)", 1, ""},
    {"Right(T, 10)", 1, "Alfa"},
    {"Left$(T, 1)", 3, "<null>"},
    {"Mid(T, 2, 2)", 1, "lf"},
    {"Mid(T, 9)", 1, ""},
    {"Len(T)", 5, "3"},
    // InStr compares without regard to case, with or without a start.
    {"InStr(T, 'F')", 1, "3"},
    {"InStr(2, T, 'a')", 1, "4"},
    {"InStr(3, 'abcabc', 'B')", 1, "5"},
    {"InStr(1, 'abc', 'B', 0)", 1, "0"},
    {"InStr(3, 'abc', '')", 1, "3"},
    {"InStr(4, 'abc', '')", 1, "0"},
    {"InStr('', '')", 1, "0"},
    {"InStr('axb.c', '.')", 1, "4"},
    {"InStr(T, Left(T, 1))", 6, "1"},
    {"InStr(T, Null)", 1, "<null>"},
    {"InStr('a.b(c', Mid('x(', 2))", 1, "4"},
    {"InStr('a.b', Mid('x.', 2))", 1, "2"},
    // CInt and CLng round half to even.
    {"CInt(2.7)", 1, "3"},
    {"CInt(2.5)", 1, "2"},
    {"CInt(3.5)", 1, "4"},
    {"CInt(-2.5)", 1, "-2"},
    {"CLng(D)", 1, "2"},
    {"CLng(D)", 2, "4"},
    {"CInt('2.7')", 1, "3"},
    {"CDbl('1.5')", 1, "1.5"},
    {"CInt(N)", 3, "<null>"},
    // Val reads exponents, skips blanks, reads &H and &O.
    {"Val('3.5e2')", 1, "350"},
    {"Val(T)", 4, "350"},
    {"Val('  12 3abc')", 1, "123"},
    {"Val('1,5')", 1, "1"},
    {"Val('&HFFFF')", 1, "-1"},
    {"Val('&H10000')", 1, "65536"},
    {"Val('&HFFFFFFFF')", 1, "-1"},
    {"Val('&O17')", 1, "15"},
    {"Val('abc')", 1, "0"},
    {"Val('-.5')", 1, "-0.5"},
    {"Val('1d2')", 1, "100"},
    {"Val(N)", 1, "7"},
    {"Val(T)", 3, "<null>"},
    // / always divides as fractions; \ and Mod round their operands first.
    {"7 / 2", 1, "3.5"},
    {"N / 2", 1, "3.5"},
    {"I / 100", 2, "1.5"},
    {"1 / 3", 1, "0.333333333333333"},
    {"2 * 3 / 4 * 2", 1, "3"},
    {"7 \\ 2", 1, "3"},
    {"7.5 \\ 2", 1, "4"},
    {"-7 \\ 2", 1, "-3"},
    {"N \\ 2", 2, "-3"},
    {"7 Mod 3", 1, "1"},
    {"-7 Mod 3", 1, "-1"},
    {"5.5 Mod 2", 1, "0"},
    {"6.5 Mod 4", 1, "2"},
    {"7 \\ 2 Mod 2", 1, "1"},
    {"1 + 7 Mod 4 * 2", 1, "8"},
    {"N Mod 4", 3, "<null>"},
    {"2 ^ 3", 1, "8"},
    {"-2 ^ 2", 1, "-4"},
    {"2 ^ 3 ^ 2", 1, "64"},
    {"2 ^ -1", 1, "0.5"},
    {"3 - -1", 1, "4"},
    // Dates.
    {"Year(G)", 1, "2024"},
    {"Month(G)", 1, "12"},
    {"Day(G)", 1, "31"},
    {"Year(#31/12/2024#)", 1, "2024"},
    {"Day(#1/2/2024#)", 1, "2"},
    {"Year(#1/2/24 10:30 PM#)", 1, "2024"},
    {"Month(#2024-03-09#)", 1, "3"},
    {"Year(G)", 3, "<null>"},
    // Booleans are -1 and 0 as values.
    {"True", 1, "-1"},
    {"False", 1, "0"},
    {"IsNull(T)", 3, "-1"},
    {"IsNull(T)", 1, "0"},
    {"(N > 0)", 1, "-1"},
    {"(N > 0)", 2, "0"},
    {"IsNumeric(T)", 4, "-1"},
    {"IsNumeric(T)", 1, "0"},
    {"IIf(IsNull(T), 'n', 'p')", 3, "n"},
    {"IIf(N, 'n', 'z')", 5, "z"},
    {"IIf(N, 'n', 'z')", 1, "n"},
    // Texts.
    {"Nz(T, 'x')", 3, "x"},
    {"T & '-' & N", 1, "Alfa-7"},
    {"T & '-' & N", 3, "-"},
    {"UCase(T)", 5, "ÀBC"},
    {"LCase(T)", 6, "àrco"},
    {"Trim('  a ')", 1, "a"},
    {"CStr(N)", 1, "7"},
    {"Int(-2.5)", 1, "-3"},
    {"Fix(-2.5)", 1, "-2"},
    {"Sgn(-3)", 1, "-1"},
    {"Abs(-3)", 1, "3"},
};

TEST_P(JetMotori, ValuesAreJetsOnBothEngines)
{
    for (const CasoValore &c : casiValore)
        EXPECT_EQ(Valore(QString::fromUtf8(c.espressione), c.id), QString::fromUtf8(c.atteso))
            << c.espressione;
}

struct CasoRighe {
    const char *condizione;
    const char *righe;
};

const CasoRighe casiRighe[] = {
    // True is -1, as the program writes it.
    {"F = True", "1,4"},
    {"F = False", "2,5,6,7"},
    {"F <> True", "2,5,6,7"},
    {"F", "1,4"},
    {"Not F", "2,5,6,7"},
    {"IsNull(T) = True", "3"},
    {"IsNull(T)", "3"},
    {"Not IsNull(T) And IsNull(T) = False", "1,2,4,5,6,7"},
    {"IsNumeric(T)", "4"},
    {"IsNumeric(T) = True", "4"},
    {"(N > 0) = True", "1,4,6,7"},
    {"IIf(N > 2, True, False)", "1,4,7"},
    {"N Mod 2 = 1 Or N = 0", "1,5,7"},
    {"N Mod 4", "1,2,6,7"},
    // Dates, the day first when it cannot be the month.
    {"G = #31/12/2024#", "1"},
    {"G = #12/31/2024#", "1"},
    {"G = #12/31/2024 00:00#", "1"},
    {"G >= #1/1/2024# And G < #2024-02-01#", "2,7"},
    {"Year(G) = 2024 And Month(G) = 1", "2,7"},
    // Like without regard to case, beyond ASCII too, with a pattern made at run time.
    {"T Like 'a*'", "1"},
    {"T Like 'à*'", "5,6"},
    {"T Like '[a-b]*'", "1,2,7"},
    {"T Like '[!a-b]*'", "4,5,6"},
    {"T Like '#.#e#'", "4"},
    {"T Not Like '*a*'", "4,5,6"},
    {"T Like Left(T, 1) & '*'", "1,2,4,5,6,7"},
    {"T Like 'B' & '?T?'", "2,7"},
    {"'a+b(c).' Like 'a+b(c' & ')?'", "1,2,3,4,5,6,7"},
    {"'axb' Like 'a.b' & ''", ""},
    {"'a[b' Like 'a[' & 'b'", "1,2,3,4,5,6,7"},
    {"T Like Null", ""},
    {"T Like Mid(T, 1, 2) & '[!x]*'", "1,2,4,5,6,7"},
    // Texts that functions give compare without regard to case, as columns do.
    {"InStr(T, 'L') > 0 And Left(T, 1) = 'a'", "1"},
    {"Right(T, 3) = 'ETA'", "2,7"},
    {"UCase(T) = 'alfa'", "1"},
    {"Mid(T, 2) = 'ETA' And LCase(T) = 'BETA' And Nz(T, '') = 'BETA' And CStr(T) = 'BETA'", "2,7"},
    {"IIf(N > 0, T, 'x') = 'ALFA'", "1"},
    // TOP, DISTINCTROW and sub-queries.
    {"Id In (SELECT TOP 1 Id FROM ProvaJet WHERE D Is Not Null ORDER BY D)", "4"},
    {"Id In (SELECT TOP 2 Id FROM ProvaJet WHERE D Is Not Null ORDER BY D)", "1,4,6,7"},
    {"Id In (SELECT TOP 2 Id FROM ProvaJet ORDER BY D DESC)", "2,5"},
    {"Id In (SELECT DISTINCTROW Id FROM ProvaJet WHERE T = 'beta')", "2,7"},
    // A literal glued to the next word.
    {"T = 'beta'AND N = 3", "7"},
    {"T = \"Alfa\"Or N = 0", "1,5"},
};

TEST_P(JetMotori, ConditionsSelectJetsRowsOnBothEngines)
{
    for (const CasoRighe &c : casiRighe)
        EXPECT_EQ(Righe(QString::fromUtf8(c.condizione)), QString::fromUtf8(c.righe)) << c.condizione;
}

TEST_P(JetMotori, OrderTopAndDistinctrowGiveJetsRows)
{
    // Null sorts before every value.
    EXPECT_EQ(Colonna("SELECT N FROM ProvaJet ORDER BY N"), "<null>,-7,0,2,3,7,40000");
    EXPECT_EQ(Colonna("SELECT Id FROM ProvaJet WHERE Id < 5 OR Id = 7 ORDER BY T DESC, Id"), "2,7,1,4,3");
    // TOP keeps the rows tied with the last one, also named by alias or position.
    EXPECT_EQ(Colonna("SELECT TOP 2 Id, D AS Valore FROM ProvaJet WHERE D > 0 ORDER BY Valore, 1"), "1,6");
    EXPECT_EQ(Colonna("SELECT TOP 2 Id, D AS Valore FROM ProvaJet WHERE D > 0 ORDER BY Valore"), "1,6,7");
    EXPECT_EQ(Colonna("SELECT TOP 2 Id, D FROM ProvaJet WHERE D > 0 ORDER BY 2 DESC"), "2,5");
    EXPECT_EQ(Colonna("SELECT TOP 1 Id FROM ProvaJet ORDER BY D"), "3");
    EXPECT_EQ(db->Seleziona(C, "SELECT TOP 3 Id FROM ProvaJet")->numRighe(), 3);
    // Every table shows its fields: DISTINCTROW changes nothing.
    EXPECT_EQ(
        Colonna(
            "SELECT DISTINCTROW P.Id, Q.N FROM ProvaJet AS P, ProvaJet AS Q WHERE P.Id = Q.Id AND Q.N = 7"),
        "1");
    EXPECT_EQ(db->Seleziona(C, "SELECT DISTINCT TOP 10 T FROM ProvaJet WHERE T Is Not Null")->numRighe(), 5);
    // One table: DISTINCTROW leaves out nothing (DISTINCT would).
    EXPECT_EQ(db->Seleziona(C, "SELECT DISTINCTROW T FROM ProvaJet WHERE T = 'beta'")->numRighe(), 2);
    EXPECT_EQ(db->Seleziona(C, "SELECT DISTINCT T FROM ProvaJet WHERE T = 'beta'")->numRighe(), 1);
    EXPECT_EQ(
        db->Seleziona(C, "SELECT TOP 2 T, Count(*) AS Quanti FROM ProvaJet GROUP BY T ORDER BY Count(*) DESC")
            ->numRighe(),
        6); // beta twice, then five tied at one
    // Jet's DELETE * FROM.
    Esegui("DELETE * FROM ProvaJet WHERE Id = 3");
    Esegui("DELETE ProvaJet.* FROM ProvaJet WHERE Id = 4");
    EXPECT_EQ(Righe("Id < 5"), "1,2");
}

TEST_P(JetMotori, TrueWrittenBySqlIsWhatTheProgramWrites)
{
    Esegui("UPDATE ProvaJet SET F = True WHERE Id = 2");
    Esegui("INSERT INTO ProvaJet (Id, F) VALUES (8, (1 = 1))");
    Esegui("INSERT INTO ProvaJet (Id, F) VALUES (9, IsNull(Null))");
    EXPECT_EQ(Righe("F = True"), "1,2,4,8,9");
    EXPECT_EQ(Righe("F = -1 And Not F = False"), "1,2,4,8,9");
}

TEST_P(JetMotori, WhatJetStopsOnStopsOnBothEngines)
{
    // Row 2 has N = -7, row 4 N = 40000.
    const CasoValore errori[] = {
        {"CInt(40000)", 1, ""},
        {"CInt(N)", 4, ""},
        {"CLng(3000000000)", 1, ""},
        {"CInt('abc')", 1, ""},
        {"7 / 0", 1, ""},
        {"N / (N - 7)", 1, ""},
        {"7 \\ 0", 1, ""},
        {"7 Mod 0", 1, ""},
        {"Left(T, N)", 2, ""},
        {"Mid(T, N)", 2, ""},
        {"InStr(N, T, 'a')", 2, ""},
        {"Val('&H123456789')", 1, ""},
        {"Year(T)", 1, ""},
    };
    for (const CasoValore &e : errori)
        EXPECT_NE(Errore(QStringLiteral("SELECT %1 FROM ProvaJet WHERE Id = %2")
                             .arg(QString::fromUtf8(e.espressione))
                             .arg(e.id)),
                  0)
            << e.espressione;
}

TEST_P(JetMotori, WhatIsNotTranslatedIsRefusedNamingIt)
{
    struct {
        const char *sql;
        int numero;
        const char *nome;
    } casi[] = {
        {"SELECT Format(G, 'yyyy') FROM ProvaJet", JetSql::ErroreNonTradotto, "Format"},
        {"SELECT DateAdd('d', 1, G) FROM ProvaJet", JetSql::ErroreNonTradotto, "DateAdd"},
        {"SELECT Id FROM ProvaJet WHERE Round(D, 1) > 0", JetSql::ErroreNonTradotto, "Round"},
        {"SELECT TOP 10 PERCENT Id FROM ProvaJet", JetSql::ErroreNonTradotto, "PERCENT"},
        {"SELECT TOP 1 Id FROM ProvaJet UNION SELECT Id FROM ProvaJet", JetSql::ErroreNonTradotto, "UNION"},
        {"SELECT DISTINCT TOP 1 T FROM ProvaJet ORDER BY T", JetSql::ErroreNonTradotto, "DISTINCT"},
        {"SELECT DISTINCTROW P.T FROM ProvaJet AS P, ProvaJet AS Q", JetSql::ErroreNonTradotto,
         "DISTINCTROW"},
        {"SELECT Id FROM ProvaJet WHERE G = #31/02/2024#", JetSql::ErroreEspressione, "#31/02/2024#"},
        {"SELECT Id FROM ProvaJet WHERE G = #13/13/2024#", JetSql::ErroreEspressione, "#13/13/2024#"},
        {"SELECT Left(T, -1) FROM ProvaJet", JetSql::ErroreEspressione, "Left"},
        {"SELECT Mid(T, 0) FROM ProvaJet", JetSql::ErroreEspressione, "Mid"},
        {"SELECT InStr(1, T, 'a', N) FROM ProvaJet", JetSql::ErroreNonTradotto, "InStr"},
        {"SELECT IIf(N > 0, 1) FROM ProvaJet", JetSql::ErroreEspressione, "iif"},
    };
    for (const auto &c : casi) {
        try {
            db->Seleziona(C, QString::fromUtf8(c.sql));
            ADD_FAILURE() << "eseguita: " << c.sql;
        } catch (const VbErrore &e) {
            EXPECT_EQ(e.numero(), c.numero) << c.sql;
            EXPECT_TRUE(e.descrizione().contains(QString::fromUtf8(c.nome), Qt::CaseInsensitive))
                << c.sql << ": " << e.descrizione().toStdString();
        }
    }
}

TEST_P(JetMotori, DeepNestingIsRefusedNotACrash)
{
    auto annidata = [](int n) {
        return QStringLiteral("SELECT Id FROM ProvaJet WHERE ") + QString(n, u'(') + QStringLiteral("N = 7") +
               QString(n, u')');
    };
    const auto r = db->Seleziona(C, annidata(60));
    ASSERT_EQ(r->numRighe(), 1);
    EXPECT_EQ(r->valore(0, 0).toInt(), 1);
    for (int n : {JetSql::ProfonditaMassima + 1, 20000})
        EXPECT_EQ(Errore(annidata(n)), JetSql::ErroreTroppoComplessa) << n;
    auto nz = [](int n) {
        return QStringLiteral("SELECT ") + QStringLiteral("Nz(").repeated(n) + QStringLiteral("N") +
               QStringLiteral(", 0)").repeated(n) + QStringLiteral(" FROM ProvaJet WHERE Id = 1");
    };
    EXPECT_EQ(Errore(nz(20000)), JetSql::ErroreTroppoComplessa);
    // SQLite's parser takes fewer nested calls than PostgreSQL: its refusal has the same number.
    if (Pg())
        EXPECT_EQ(db->Seleziona(C, nz(60))->valore(0, 0).toInt(), 7);
    else
        EXPECT_EQ(Errore(nz(60)), JetSql::ErroreTroppoComplessa);
}

INSTANTIATE_TEST_SUITE_P(Motori, JetMotori, ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL),
                         NomeMotore);

} // namespace
