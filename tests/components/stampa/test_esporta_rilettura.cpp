// Separated-text exports read back as a reader of such files reads them
// (Python's csv module): every row has as many fields as the list has
// columns, whatever separator and qualifier the saved options hold.
#include "DoppiStampa.h"
#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/OpzStampaIni.h"
#include "components/util/ProfiloIni.h"
#include "support/StampaQt.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QString carattere(const char *codice)
{
    const int n = QByteArray(codice).toInt();
    return n < 0 ? QString() : QString(QChar(char16_t(n)));
}

EsitoStampa esporta(OpzStampa &opz, SorgenteMemoria &sorgente)
{
    Stampatore motore;
    motore.ogOpzSta(&opz);
    return motore.Stampa(sorgente, QStringLiteral("V"), 1, QFont(QStringLiteral("Arial"), 10));
}

class Rilettura : public ::testing::Test
{
  protected:
    void SetUp() override { RisposteProgrammate::Azzera(); }
    void TearDown() override { RisposteProgrammate::Azzera(); }
    QTemporaryDir dir;
};

} // namespace

// Saved separators no reader could part the fields by (the qualifier's own
// character, a line end in either) are named when the options are read and
// the defaults taken, so the file reads back whole. Set on the options all
// the same, they refuse the export before anything is asked or written.
TEST_F(Rilettura, SeparatorsNoReaderCouldPartAreNamedAndRefused)
{
    const struct {
        const char *separatore, *delimitatore;
    } coppie[] = {{"59", "59"}, {"34", "34"}, {"39", "39"}, {"44", "44"}, {"13", "34"},
                  {"59", "10"}, {"10", "-1"}, {"9", "13"},  {"34", "-1"}}; // without a qualifier readers take
                                                                           // the double quote for one
    const QString ini = dir.filePath(QStringLiteral("terminale.ini"));
    const QString sezione = QStringLiteral("Opzioni Stampa");
    for (const auto &c : coppie) {
        SCOPED_TRACE(std::string("SepCampi=") + c.separatore + " DelimStr=" + c.delimitatore);
        ASSERT_TRUE(ProfiloIni::Scrivi(ini, sezione, QStringLiteral("SepCampi"), c.separatore));
        ASSERT_TRUE(ProfiloIni::Scrivi(ini, sezione, QStringLiteral("DelimStr"), c.delimitatore));
        OpzStampa opz(QStringLiteral("StampaClienti"));
        opz.oiStaVid(OpzStampa::UscitaFile);
        opz.FileForm(OpzStampa::FormatoTesto);
        const QString messaggio = CaricaOpzioniSalvate(opz, {ini, {}, 0, {}});
        EXPECT_TRUE(messaggio.contains(QStringLiteral("SepCampi=%1 e DelimStr=%2, ammessi un separatore")
                                           .arg(c.separatore, c.delimitatore)))
            << messaggio.toStdString();

        const QString file = dir.filePath(QStringLiteral("clienti.txt"));
        opz.FileName(file);
        SorgenteMemoria clienti = SorgenteClienti(4);
        EsitoStampa e = esporta(opz, clienti);
        ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
        const QList<QStringList> righe = RigheCsv(file, opz.SepCampi(), opz.DelimStr());
        EXPECT_EQ(righe.size(), 5);
        for (const QStringList &campi : righe)
            EXPECT_EQ(campi.size(), 3) << campi.join(u'|').toStdString();
        ASSERT_TRUE(QFile::remove(file));

        // The same pair on the options: an existing file stays, nothing asked.
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("dati di ieri");
        }
        opz.SepCampi(carattere(c.separatore));
        opz.DelimStr(carattere(c.delimitatore));
        RisposteProgrammate::Accoda(RisposteProgrammate::MsgCom, 2); // "&No", were it asked
        e = esporta(opz, clienti);
        EXPECT_FALSE(e.eseguita);
        EXPECT_TRUE(e.errore.startsWith(QStringLiteral("Il file non è stato scritto: il ")))
            << e.errore.toStdString();
        EXPECT_TRUE(RisposteProgrammate::Mostrati(RisposteProgrammate::MsgCom).isEmpty());
        RisposteProgrammate::Azzera();
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("dati di ieri"));
        f.remove();
    }
}

// In a one-column file an empty value (and an empty caption) is one empty
// field, not an empty line that reads as a row without fields.
TEST_F(Rilettura, AnEmptyValueOfAOneColumnFileIsOneEmptyField)
{
    const struct {
        int formato;
        const char *separatore, *delimitatore, *didascalia;
    } casi[] = {{OpzStampa::FormatoCompatibileExcel, ";", "\"", "Note"},
                {OpzStampa::FormatoTesto, "\t", "'", "Note"},
                {OpzStampa::FormatoTesto, ";", "", ""}};
    for (const auto &c : casi) {
        SCOPED_TRACE(std::string("qualifier ") + c.delimitatore);
        const QString didascalia = QString::fromUtf8(c.didascalia);
        const QList<QList<CellaStampa>> valori = {{{QStringLiteral("prima"), QStringLiteral("prima")}},
                                                  {{QString(), QVariant()}},
                                                  {{QString(), QString()}},
                                                  {{QStringLiteral("ultima"), QStringLiteral("ultima")}}};
        SorgenteMemoria note({{didascalia, 3000, Qt::AlignLeft, true, false}}, valori);
        OpzStampa opz;
        opz.oiStaVid(OpzStampa::UscitaFile);
        opz.FileForm(c.formato);
        opz.SepCampi(QString::fromUtf8(c.separatore));
        opz.DelimStr(QString::fromUtf8(c.delimitatore));
        const QString file = dir.filePath(QStringLiteral("note.txt"));
        opz.FileName(file);
        const EsitoStampa e = esporta(opz, note);
        ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
        const QList<QStringList> righe = RigheCsv(file, opz.SepCampi(), opz.DelimStr());
        const QList<QStringList> attese = {
            {didascalia}, {QStringLiteral("prima")}, {QString()}, {QString()}, {QStringLiteral("ultima")}};
        EXPECT_EQ(righe, attese);
        QFile::remove(file);
    }
}

// Whatever the texts hold, a file written reads back to the cells it was
// given, or the export is refused naming the row (or the caption row) and
// the column. Without a qualifier readers take a double quote that begins a
// field for one: such a text is refused, a quote further on is written.
TEST_F(Rilettura, EveryFileReadsBackToItsCellsOrNamesWhereItCouldNot)
{
    const struct {
        const char *separatore, *delimitatore;
        QStringList didascalie;
        QList<QStringList> valori;
        const char *rifiuto; // where the export is refused; nullptr: written
    } casi[] = {
        {";", "", {"Note"}, {{""}, {"\"\""}}, "nella riga 2, colonna \"Note\""},
        {"\t", "", {"Note"}, {{"\"Da Mario\" S.r.l."}}, "nella riga 1, colonna \"Note\""},
        {";", "", {"Codice", "Nome"}, {{"C1", "a \"b\""}, {"C2", "\"x"}}, "nella riga 2, colonna \"Nome\""},
        {";",
         "",
         {"Codice", "\"Nome\""},
         {{"C1", "a"}},
         "nella riga delle intestazioni, colonna \"\"Nome\"\""},
        {";", "", {"Codice", "Nome", "Note"}, {{"a\"b", "", "c\""}, {"", "", ""}}, nullptr},
        {";", "", {"Note"}, {{""}, {"x\"\""}}, nullptr},
        {";", "\"", {"Note"}, {{""}, {"\"\""}, {"\"Da Mario\" S.r.l."}}, nullptr},
        {",", "'", {"Codice", "Nome"}, {{"\"C1", "l'ora"}, {"''", ""}}, nullptr},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(std::string("separator ") + c.separatore + " qualifier " + c.delimitatore + " " +
                     c.didascalie.join(u'|').toStdString());
        QList<ColonnaStampa> colonne;
        for (const QString &d : c.didascalie)
            colonne.push_back({d, 2000, Qt::AlignLeft, true, false});
        QList<QList<CellaStampa>> righe;
        for (const QStringList &r : c.valori) {
            QList<CellaStampa> celle;
            for (const QString &v : r)
                celle.push_back({v, v});
            righe.push_back(celle);
        }
        SorgenteMemoria sorgente(colonne, righe);
        OpzStampa opz;
        opz.oiStaVid(OpzStampa::UscitaFile);
        opz.FileForm(OpzStampa::FormatoTesto);
        opz.SepCampi(QString::fromUtf8(c.separatore));
        opz.DelimStr(QString::fromUtf8(c.delimitatore));
        const QString file = dir.filePath(QStringLiteral("elenco.txt"));
        QFile::remove(file); // a case gone wrong leaves no question of replacing it
        opz.FileName(file);
        const EsitoStampa e = esporta(opz, sorgente);
        if (c.rifiuto) {
            EXPECT_FALSE(e.eseguita);
            EXPECT_TRUE(e.errore.contains(QString::fromUtf8(c.rifiuto))) << e.errore.toStdString();
            EXPECT_FALSE(QFile::exists(file));
            continue;
        }
        ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
        EXPECT_EQ(RigheCsv(file, opz.SepCampi(), opz.DelimStr()),
                  QList<QStringList>{c.didascalie} + c.valori);
        QFile::remove(file);
    }
}
