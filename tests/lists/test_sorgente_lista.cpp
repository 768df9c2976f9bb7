// The customer list as the print engine reads it: its columns as the window
// lays them out, every row in list order as the grid shows it, and a whole
// export of the list through the engine.
#include "BancoLista.h"
#include "components/lista/GestLista.h"
#include "components/lista/SorgenteLista.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "lists/frmClientiLis.h"
#include "support/ParteZip.h"

#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>

namespace
{

class SorgenteClientiLista : public BancoLista
{
};

} // namespace

TEST_F(SorgenteClientiLista, ColonneERigheComeLeMostraLaGriglia)
{
    Apri();
    ASSERT_NE(Lista(), nullptr);
    SorgenteLista s(*Lista());
    const QList<ColonnaStampa> colonne = s.ColonneStampa();
    QTableView *g = m_lista->dbgRiga;
    ASSERT_EQ(colonne.size(), g->model()->columnCount());
    for (int c = 0; c < colonne.size(); ++c) {
        EXPECT_EQ(colonne[c].didascalia, g->model()->headerData(c, Qt::Horizontal).toString());
        EXPECT_EQ(colonne[c].visibile, !g->isColumnHidden(c)) << c;
        if (colonne[c].visibile) {
            EXPECT_GT(colonne[c].larghezza, 0) << c;
        }
    }
    EXPECT_EQ(s.Didascalia(), m_lista->windowTitle());

    // Every row, in the grid's order, with the grid's texts (dates too).
    const QList<int> scelte = {2, 3, 9};
    ASSERT_TRUE(s.ApriRighe(scelte));
    QList<CellaStampa> celle;
    int r = 0;
    while (s.RigaSuccessiva(celle)) {
        ASSERT_EQ(celle.size(), 3);
        ASSERT_EQ(celle[0].testo, Cella(r, 2)) << r;
        ASSERT_EQ(celle[1].testo, Cella(r, 3)) << r;
        ASSERT_EQ(celle[2].testo, Cella(r, 9)) << r;
        ++r;
    }
    s.ChiudiRighe();
    EXPECT_EQ(r, Righe());
    EXPECT_EQ(s.NumeroRighe(), Righe());
}

TEST_F(SorgenteClientiLista, EsportazioneDellaListaIntera)
{
    Apri();
    QTemporaryDir dir;
    OpzStampa opz;
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileForm(OpzStampa::FormatoTesto);
    opz.SepCampi(QStringLiteral("\t"));
    opz.DelimStr(QString());
    opz.FileName(dir.filePath(QStringLiteral("clienti.txt")));
    Stampatore motore;
    motore.ogOpzSta(&opz);
    SorgenteLista s(*Lista());
    const EsitoStampa e = motore.Stampa(s, QStringLiteral("V"), 1, QFont());
    ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
    QFile f(e.file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> linee = f.readAll().split('\n');
    // The caption row, one line a customer, and the empty tail after the last line end.
    ASSERT_EQ(linee.size(), Righe() + 2);
    EXPECT_TRUE(linee[0].startsWith("Gr\tMa\tCliente\tRagione Sociale Contabile")) << linee[0].toStdString();
    EXPECT_FALSE(linee[0].contains("Zona")) << "hidden columns stay out of a V print";
    EXPECT_TRUE(linee[1].startsWith((Cella(0, 0) + QLatin1Char('\t') + Cella(0, 1)).toUtf8()));
}

// What the list tells of its columns without reading a row holds what the
// rows show: no text longer than its column's declared size, the fixed form
// of a date as long as any date shown, short codes never cut.
TEST_F(SorgenteClientiLista, ILimitiDelleColonneTengonoLeRighe)
{
    Apri();
    SorgenteLista s(*Lista());
    const int n = int(s.ColonneStampa().size());
    QList<int> tutte;
    for (int c = 0; c < n; ++c)
        tutte << c;
    QList<LimiteColonna> limiti;
    ASSERT_TRUE(s.LimitiColonne(tutte, limiti));
    ASSERT_EQ(limiti.size(), n);
    ASSERT_TRUE(s.ApriRighe(tutte));
    QList<CellaStampa> celle;
    int righe = 0;
    while (s.RigaSuccessiva(celle)) {
        ++righe;
        for (int c = 0; c < n; ++c) {
            const QString &t = celle[c].testo;
            SCOPED_TRACE(s.ColonneStampa()[c].didascalia.toStdString() + " " + t.toStdString());
            if (celle[c].valore.typeId() == QMetaType::QDate) {
                EXPECT_TRUE(limiti[c].rigida);
                ASSERT_FALSE(limiti[c].esempi.isEmpty());
                EXPECT_GE(limiti[c].esempi.first().size(), t.size());
            } else if (limiti[c].caratteri > 0) {
                EXPECT_LE(t.size(), limiti[c].caratteri);
            }
        }
    }
    s.ChiudiRighe();
    EXPECT_GT(righe, 0);
    for (int c = 0; c < n; ++c) {
        const int lunghezza = Lista()->RecordsetLista().Colonna(c).lunghezza;
        if (lunghezza > 0 && lunghezza <= 6) {
            EXPECT_TRUE(limiti[c].rigida) << c;
        }
    }
}

namespace
{

// The list's rows with every text as a QString: what the export writes when
// the source hands over no bytes of its own.
class SoloTesti : public SorgenteRighe
{
  public:
    explicit SoloTesti(SorgenteRighe &s) : m_s(s) {}
    QList<ColonnaStampa> ColonneStampa() override { return m_s.ColonneStampa(); }
    bool ApriRighe(const QList<int> &c) override { return m_s.ApriRighe(c); }
    bool RigaSuccessiva(QList<CellaStampa> &celle) override { return m_s.RigaSuccessiva(celle); }
    int NumeroRighe() override { return m_s.NumeroRighe(); }
    void ChiudiRighe() override { m_s.ChiudiRighe(); }

  private:
    SorgenteRighe &m_s;
};

struct CasoFile {
    const char *descrizione;
    int formato;
    const char *separatore;
    const char *delimitatore;
    QList<QByteArray> attesi; // pieces of the file, or of the refusal when `rifiutata`
    bool rifiutata = false;
};

class EsportazioneTestiLista : public BancoLista, public ::testing::WithParamInterface<CasoFile>
{
};

void PrintTo(const CasoFile &c, std::ostream *os)
{
    *os << c.descrizione;
}

} // namespace

TEST_P(EsportazioneTestiLista, IByteDelleCelleComeITestiDellaGriglia)
{
    const CasoFile &c = GetParam();
    // Quotes, separators, accents, a line break, an empty text beside a
    // missing one, a text opening with a byte-order mark.
    Esegui(
        QStringLiteral("Insert Into PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, PartIva, Localita) "
                       "Values ('01', '05', '9911', '3', 'Bar \"Da Gino\"; Roma', '', 'Forlì'), "
                       "('01', '05', '9912', '3', 'Caffè \"Città\" € 5', Null, 'L''Aquila'), "
                       "('01', '05', '9913', '3', '\uFEFFBom', Null, Null), "
                       "('01', '05', '9914', '3', 'Via Roma\r\n12', Null, Null)"));
    Apri();
    QTemporaryDir dir;
    OpzStampa opz;
    opz.oiStaVid(OpzStampa::UscitaFile);
    opz.FileForm(c.formato);
    opz.SepCampi(QString::fromUtf8(c.separatore));
    opz.DelimStr(QString::fromUtf8(c.delimitatore));
    SorgenteLista lista(*Lista());
    SoloTesti testi(lista);
    QByteArray file[2];
    for (int i = 0; i < 2; ++i) {
        opz.FileName(dir.filePath(QStringLiteral("clienti%1.csv").arg(i)));
        Stampatore motore;
        motore.ogOpzSta(&opz);
        const EsitoStampa e = motore.Stampa(i == 0 ? static_cast<SorgenteRighe &>(lista) : testi,
                                            QStringLiteral("V"), 1, QFont());
        if (c.rifiutata) {
            ASSERT_FALSE(e.eseguita);
            file[i] = e.errore.toUtf8();
            continue;
        }
        ASSERT_TRUE(e.eseguita) << e.errore.toStdString();
        if (c.formato == OpzStampa::FormatoExcel) {
            // The sheet (the workbook's properties hold the time it was made).
            file[i] = parteZip(e.file, QStringLiteral("xl/worksheets/sheet1.xml")).toUtf8();
            continue;
        }
        QFile f(e.file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        file[i] = f.readAll();
    }
    ASSERT_FALSE(file[0].isEmpty());
    EXPECT_EQ(file[0], file[1]);
    for (const QByteArray &a : c.attesi)
        EXPECT_TRUE(file[0].contains(a)) << a.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Casi, EsportazioneTestiLista,
    ::testing::Values(
        CasoFile{"csv",
                 OpzStampa::FormatoCompatibileExcel,
                 ";",
                 "\"",
                 {"\xEF\xBB\xBF\"Gr\";",
                  "\r\n\"01\";\"05\";\"9911\";\"Bar \"\"Da Gino\"\"; Roma\";\"\";;\"Forlì\";",
                  "\r\n\"01\";\"05\";\"9912\";\"Caffè \"\"Città\"\" € 5\";;;\"L'Aquila\";",
                  "\r\n\"01\";\"05\";\"9913\";\"Bom\";;", "\r\n\"01\";\"05\";\"9914\";\"Via Roma\r\n12\";;"}},
        CasoFile{
            "tab, no qualifier",
            OpzStampa::FormatoTesto,
            "\t",
            "",
            {"\r\n01\t05\t9911\tBar \"Da Gino\"; Roma\t\t\tForlì\t", "\r\n01\t05\t9914\tVia Roma 12\t\t"}},
        CasoFile{"workbook",
                 OpzStampa::FormatoExcel,
                 ";",
                 "\"",
                 {"<t>Bar \"Da Gino\"; Roma</t>", "<t>Forlì</t>", "<t>L'Aquila</t>", "Caffè"}},
        CasoFile{"comma, single quote",
                 OpzStampa::FormatoTesto,
                 ",",
                 "'",
                 {"\r\n'01','05','9912','Caffè \"Città\" € 5',,,'L''Aquila',"}},
        CasoFile{"separator inside a text without qualifier",
                 OpzStampa::FormatoTesto,
                 ";",
                 "",
                 {"colonna \"Ragione Sociale", "il testo \"Bar \"Da Gino\"; Roma\" contiene il separatore"},
                 true}));
