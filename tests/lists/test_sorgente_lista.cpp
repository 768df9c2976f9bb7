// The customer list as the print engine reads it: its columns as the window
// lays them out, every row in list order as the grid shows it, and a whole
// export of the list through the engine.
#include "BancoLista.h"
#include "components/lista/GestLista.h"
#include "components/lista/SorgenteLista.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "lists/frmClientiLis.h"

#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

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

    // Every row, in the grid's order, with the grid's texts.
    const QList<int> scelte = {2, 3};
    ASSERT_TRUE(s.ApriRighe(scelte));
    QList<CellaStampa> celle;
    int r = 0;
    while (s.RigaSuccessiva(celle)) {
        ASSERT_EQ(celle.size(), 2);
        ASSERT_EQ(celle[0].testo, Cella(r, 2)) << r;
        ASSERT_EQ(celle[1].testo, Cella(r, 3)) << r;
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
