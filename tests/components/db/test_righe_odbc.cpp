// The rows of a server's SELECT fetched a block at a time into bound buffers:
// the same values, kinds and Nulls as read a cell at a time and as Qt's
// driver reads them, across blocks, for texts longer than any buffer, with
// characters beyond ASCII, and with statements taking the buffers in turn.
// The texts kept in a result as UTF-8 read back as they were given.
#include "ProvaMotori.h"

#include "components/db/IstruzioniOdbc.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace
{

// Every cell as text with its kind.
QStringList Celle(const Risultato &r)
{
    QStringList out;
    for (int i = 0; i < r.numColonne(); ++i)
        out << QStringLiteral("%1:%2").arg(r.colonna(i).nome).arg(int(r.colonna(i).tipo));
    for (int j = 0; j < r.numRighe(); ++j)
        for (int i = 0; i < r.numColonne(); ++i) {
            const QVariant v = r.valore(j, i);
            out << (v.isValid() ? QString::fromLatin1(v.typeName()) + u'=' + v.toString()
                                : QStringLiteral("Null"));
        }
    return out;
}

// The note of row `i`: lengths around the first buffer (64 characters), the
// largest (1024) and beyond, letters beyond ASCII and beyond the first plane
// (a pair of UTF-16 units, never cut), an empty text and Null.
QString Nota(int i)
{
    static const int lunghezze[] = {0, 1, 63, 64, 65, 300, 1023, 1024, 1025, 5000};
    if (i % 13 == 5)
        return QString();
    const QString pezzo = i % 3 == 0 ? QStringLiteral("Città ") : i % 3 == 1 ? QStringLiteral("x😀") : "ab";
    QString s;
    const int n = lunghezze[i % std::size(lunghezze)];
    if (n == 0)
        return QStringLiteral("");
    while (s.size() < n)
        s += pezzo;
    if (s.size() > n && !s.at(n - 1).isHighSurrogate())
        s.truncate(n);
    return s + QString::number(i);
}

// The first cell where two readings part, or "" when they agree.
std::string Differenza(const QStringList &a, const QStringList &b)
{
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
        if (a.value(i) != b.value(i))
            return QStringLiteral("cell %1: %2 | %3")
                .arg(i)
                .arg(a.value(i).left(80), b.value(i).left(80))
                .toStdString();
    return {};
}

} // namespace

class RigheServer : public ProvaMotori
{
  protected:
    void SetUp() override
    {
        ProvaMotori::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QSqlQuery q(db->DatabaseDao(C));
        ASSERT_TRUE(q.exec("CREATE TABLE provarighe (id integer PRIMARY KEY, codice varchar(10), nota text, "
                           "importo numeric(19,4), giorno date, quando timestamp, reale double precision, "
                           "grande bigint)"));
        // Rows in one insert each: more than three blocks of the buffers.
        for (int i = 0; i < kRighe; i += 100) {
            QStringList valori;
            for (int j = i; j < i + 100; ++j) {
                const QString nota = Nota(j);
                valori << QStringLiteral("(%1, %2, %3, %4, %5, %6, %7, %8)")
                              .arg(j)
                              .arg(j % 7 == 0 ? QStringLiteral("NULL") : QStringLiteral("'C%1'").arg(j))
                              .arg(nota.isNull() ? QStringLiteral("NULL") : u'\'' + nota + u'\'')
                              .arg(j % 5 == 0 ? QStringLiteral("NULL")
                                              : QStringLiteral("%1.2500").arg(j - 500))
                              .arg(j % 11 == 0 ? QStringLiteral("NULL")
                                               : QStringLiteral("'%1'").arg(
                                                     QDate(2020, 1, 1).addDays(j).toString(Qt::ISODate)))
                              .arg(j % 9 == 0 ? QStringLiteral("NULL")
                                              : QStringLiteral("'2024-02-29 13:45:%1'")
                                                    .arg(j % 60, 2, 10, QLatin1Char('0')))
                              .arg(j % 4 == 0 ? QStringLiteral("NULL") : QString::number(j / 3.0, 'g', 17))
                              .arg(j % 6 == 0 ? QStringLiteral("NULL") : QString::number(5000000000LL * j));
            }
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO provarighe VALUES ") + valori.join(u',')))
                << i << q.lastError().text().toStdString();
        }
        ApriMotoreQt();
    }
    // Statements of our own on the connection's driver handle (PostgreSQL).
    std::unique_ptr<IstruzioniOdbc> Istruzioni()
    {
        const QVariant h = db->DatabaseDao(C).driver()->handle();
        return std::make_unique<IstruzioniOdbc>(*static_cast<void *const *>(h.constData()), 8);
    }
    // The rows of `sql` (the engine's text) read by `ist`.
    std::unique_ptr<Risultato> Leggi(IstruzioniOdbc &ist, const QString &sql)
    {
        QSqlError e;
        QString stato;
        EXPECT_EQ(ist.Esegui(sql, JetSql::Forma{sql, {}, {}}, false, e, stato), IstruzioniOdbc::Esito::Pronto)
            << e.text().toStdString();
        auto r = std::make_unique<Risultato>(ist.Colonne());
        EXPECT_TRUE(ist.Leggi(*r, e, stato)) << e.text().toStdString();
        return r;
    }

    static constexpr int kRighe = 1100;
};

TEST_P(RigheServer, BlocksOfRowsReadAsQtReadsThemTextsWhole)
{
    const QString tutte = QStringLiteral("SELECT * FROM provarighe ORDER BY id");
    // The second time with the buffers the first reading widened.
    for (int giro = 0; giro < 2; ++giro) {
        const auto nostro = db->Seleziona(C, tutte);
        ASSERT_EQ(nostro->numRighe(), kRighe);
        EXPECT_EQ(Differenza(Celle(*nostro), Celle(*qt->Seleziona(C, tutte))), "") << giro;
        for (int i = 0; i < kRighe; ++i)
            ASSERT_EQ(nostro->valore(i, 2).toString(), Nota(i)) << i;
        EXPECT_FALSE(nostro->valore(5, 2).isValid());
        EXPECT_EQ(nostro->valore(0, 2), QVariant(QStringLiteral("")));
    }
    // A few rows, then none.
    const QString poche = QStringLiteral("SELECT id, nota FROM provarighe WHERE id < 4 ORDER BY id");
    EXPECT_EQ(Differenza(Celle(*db->Seleziona(C, poche)), Celle(*qt->Seleziona(C, poche))), "");
    EXPECT_EQ(db->Seleziona(C, "SELECT id, nota FROM provarighe WHERE id < 0")->numRighe(), 0);
}

TEST_P(RigheServer, StatementsTakingTheBuffersInTurnKeepTheirOwnColumns)
{
    const QStringList testi = {
        QStringLiteral("SELECT id, nota, giorno FROM provarighe ORDER BY id"),
        QStringLiteral("SELECT quando, grande, codice, id FROM provarighe ORDER BY id DESC"),
        QStringLiteral("SELECT importo, reale, nota FROM provarighe WHERE id > 1000 "
                       "ORDER BY id")};
    for (int giro = 0; giro < 3; ++giro)
        for (const QString &sql : testi)
            EXPECT_EQ(Differenza(Celle(*db->Seleziona(C, sql)), Celle(*qt->Seleziona(C, sql))), "")
                << sql.toStdString();
}

TEST_P(RigheServer, ByBlocksAsACellAtATime)
{
    if (!Pg())
        GTEST_SKIP() << "ODBC only";
    auto blocchi = Istruzioni();
    auto celle = Istruzioni();
    celle->Righe().SoloCelle();
    const QString sql = db->Traduci(C, QStringLiteral("SELECT * FROM provarighe ORDER BY id"));
    for (int giro = 0; giro < 2; ++giro) {
        const auto a = Leggi(*blocchi, sql);
        EXPECT_FALSE(blocchi->Righe().PerCelle());
        const auto b = Leggi(*celle, sql);
        EXPECT_TRUE(celle->Righe().PerCelle());
        ASSERT_EQ(a->numRighe(), kRighe);
        EXPECT_EQ(Differenza(Celle(*a), Celle(*b)), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Motori, RigheServer, ::testing::Values(MotoreProva::SQLite, MotoreProva::PostgreSQL),
                         NomeMotore);

// Texts kept as UTF-8 from their UTF-16 units: as the QString of the same
// units would be kept, whatever their characters; the bytes read back as
// the value does.
TEST(RisultatoTesti, FromUtf16AsFromTheirQString)
{
    const QString casi[] = {QString(),
                            QStringLiteral(""),
                            QStringLiteral("Rossi & C. S.r.l."),
                            QStringLiteral("Città d'Ærø ß"),
                            QStringLiteral("€ 1.000 — ☃"),
                            QStringLiteral("emoji 😀 e 𝄞 in mezzo"),
                            QString(QChar(0xD800)) + QStringLiteral("metà coppia"),
                            QStringLiteral("coda ") + QChar(0xDC00),
                            QString(QChar(0xFFFF)) + QChar(0x7F) + QChar(0x80) + QChar(0x7FF) + QChar(0x800)};
    Risultato nostro(std::vector<Risultato::Colonna>(2));
    Risultato atteso(std::vector<Risultato::Colonna>(2));
    for (const QString &s : casi) {
        nostro.aggiungiTestoUtf16(reinterpret_cast<const char16_t *>(s.utf16()), s.size());
        nostro.aggiungiIntero(s.size());
        atteso.aggiungiTesto(s);
        atteso.aggiungiIntero(s.size());
    }
    ASSERT_EQ(nostro.numRighe(), int(std::size(casi)));
    for (int r = 0; r < nostro.numRighe(); ++r) {
        EXPECT_EQ(nostro.valore(r, 0), atteso.valore(r, 0)) << r;
        EXPECT_EQ(nostro.testoUtf8(r, 0).toByteArray(), atteso.valore(r, 0).toString().toUtf8()) << r;
        EXPECT_FALSE(nostro.testoUtf8(r, 0).isNull()) << r;
        EXPECT_TRUE(nostro.testoUtf8(r, 1).isNull()) << r;
    }
    Risultato nulli(std::vector<Risultato::Colonna>(1));
    nulli.aggiungiNullo();
    EXPECT_TRUE(nulli.testoUtf8(0, 0).isNull());
}
