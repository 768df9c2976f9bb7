// The letters of intent written to a file as the user does it: "Stampa" of
// the grid, "Seleziona Stampante" with the file and its format chosen in the
// Save dialog, "&STAMPA". A name given without extension gets its format's;
// a file chosen in the Save dialog (which asked about replacing it) is not
// asked about again, a name the dialog has not seen is asked about once; an
// amount holding the field separator never makes a row one field longer; and
// the progress window says which file was written.
#include "BancoGriglie.h"

#include "components/forms/RisposteProgrammate.h"
#include "components/stampa/OpzStampa.h"
#include "printing/FinestreStampaPredef.h"
#include "printing/FrmComlinStampa.h"
#include "printing/FrmSceltaStam.h"
#include "printing/frmStampaInCorso.h"
#include "support/ParteZip.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace
{

namespace RP = RisposteProgrammate;

const QString FiltroExcel = QStringLiteral("Formato Excel (*.xlsx)");
const QString FiltroCompatibile = QStringLiteral("Compatibile Excel (*.csv *.txt)");
const QString FiltroTesto = QStringLiteral("Testo (*.txt)");

QByteArray leggi(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The rows of a separated file as a reader splits them: fields parted by
// `sep`, a field opening with `delim` running to its closing one (doubled
// inside); no delimiter when `delim` is null.
QList<QStringList> campi(const QByteArray &byte, QChar sep, QChar delim)
{
    QString testo = QString::fromUtf8(byte);
    if (testo.startsWith(QChar(0xFEFF)))
        testo.remove(0, 1);
    QList<QStringList> righe;
    for (const QString &riga : testo.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList r;
        QString campo;
        bool dentro = false;
        for (qsizetype i = 0; i < riga.size(); ++i) {
            const QChar c = riga[i];
            if (dentro) {
                if (c == delim && i + 1 < riga.size() && riga[i + 1] == delim)
                    campo += riga[++i];
                else if (c == delim)
                    dentro = false;
                else
                    campo += c;
            } else if (!delim.isNull() && c == delim && campo.isEmpty()) {
                dentro = true;
            } else if (c == sep) {
                r << campo;
                campo.clear();
            } else {
                campo += c;
            }
        }
        r << campo;
        righe << r;
    }
    return righe;
}

class StampaGriglieFile : public BancoGriglie
{
  protected:
    void SetUp() override
    {
        InstallaFinestreStampa();
        BancoGriglie::SetUp();
        ASSERT_TRUE(cartella.isValid());
    }
    void TearDown() override
    {
        RP::ImpostaAzioneModale({});
        BancoGriglie::TearDown();
        ScaricaFinestreStampa();
    }
    // "Stampa" of the letters grid.
    FrmComlinStampa *Stampa()
    {
        Pagina(1);
        Comando(1, QStringLiteral("Stampa"));
        FrmComlinStampa *d = FrmComlinStampaPredef();
        EXPECT_TRUE(d->isVisible());
        return d;
    }
    // "Seleziona Stampante": output to a file, the Save dialog answering
    // `nome` with the format `filtro`, then the dialog closed.
    static void ScegliFile(FrmComlinStampa *d, const QString &nome, const QString &filtro)
    {
        RP::ImpostaAzioneModale([&](QWidget *w) {
            if (auto *s = qobject_cast<FrmSceltaStam *>(w)) {
                s->OptStampaSu(2)->click();
                RP::Accoda(RP::FileSalva, QStringList{nome, filtro});
                s->ComOpz(2)->click();
            }
            w->close();
        });
        d->comSceStam_Click();
        RP::ImpostaAzioneModale({});
        Attendi();
    }
    static int Domande() { return int(Messaggi().filter(QStringLiteral("Sostituirlo?")).size()); }
    QString File(const char *nome) const { return cartella.filePath(QString::fromUtf8(nome)); }

    QTemporaryDir cartella;
};

} // namespace

// "dichiarazioni" in each format: the file gets the format's extension, its
// reader finds the letter in it, and the progress window names it.
TEST_F(StampaGriglieFile, ANameWithoutExtensionGetsItsFormats)
{
    Lettera(1, {{QStringLiteral("Descrizione"), QStringLiteral("Forniture")},
                {QStringLiteral("ImportoDichIntenti"), 50000}});
    ApriConto();
    struct Caso {
        const QString filtro; // the Save dialog's format; empty: the name saved with the options
        const char *nome, *scritto;
    };
    const Caso casi[] = {
        {FiltroExcel, "dichiarazioni", "dichiarazioni.xlsx"},
        {FiltroCompatibile, "dichiarazioni", "dichiarazioni.csv"},
        {FiltroTesto, "dichiarazioni", "dichiarazioni.txt"},
        {FiltroCompatibile, "lettere.txt", "lettere.txt"},
        {QString(), "salvato", "salvato.xlsx"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.scritto);
        FrmComlinStampa *d = Stampa();
        if (c.filtro.isEmpty()) {
            d->OpzioniStampa().oiStaVid(OpzStampa::UscitaFile);
            d->OpzioniStampa().FileForm(OpzStampa::FormatoExcel);
            d->OpzioniStampa().FileName(File(c.nome));
        } else {
            ScegliFile(d, File(c.nome), c.filtro);
        }
        d->CmdStampa_Click();
        const QString scritto = File(c.scritto);
        ASSERT_TRUE(QFile::exists(scritto)) << QDir(cartella.path()).entryList().join(u' ').toStdString()
                                            << " " << UltimoMessaggio().toStdString();
        if (QString::fromUtf8(c.nome) != QString::fromUtf8(c.scritto)) {
            EXPECT_FALSE(QFile::exists(File(c.nome))) << "a file without extension";
        }
        if (scritto.endsWith(QStringLiteral(".xlsx"))) {
            EXPECT_TRUE(leggi(scritto).startsWith("PK"));
            EXPECT_TRUE(parteZip(scritto, QStringLiteral("xl/worksheets/sheet1.xml"))
                            .contains(QStringLiteral("<v>50000</v>")));
        } else {
            const QList<QStringList> righe = campi(leggi(scritto), u';', u'"');
            ASSERT_EQ(righe.size(), 2);
            EXPECT_TRUE(righe[0].contains(QStringLiteral("Importo")));
            EXPECT_TRUE(righe[1].contains(QStringLiteral("Forniture")));
        }
        // Said where the user looks, keeping no one waiting.
        frmStampaInCorso *avanzamento = frmStampaInCorsoPredef();
        EXPECT_TRUE(avanzamento->isVisible());
        EXPECT_EQ(avanzamento->windowTitle(), QStringLiteral("Stampa ordini in corso"));
        EXPECT_TRUE(avanzamento->lblStamp->text().contains(QDir::toNativeSeparators(scritto)))
            << avanzamento->lblStamp->text().toStdString();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join(u'|').toStdString();
        QFile::remove(scritto);
    }
}

// An existing file: chosen in the Save dialog (which asked), it is replaced
// without another question; a name the dialog did not see (saved with the
// options, or made by adding the extension) is asked about once; a later
// print asks again.
TEST_F(StampaGriglieFile, ReplacingAFileIsAskedOnce)
{
    Lettera(1, {{QStringLiteral("Descrizione"), QStringLiteral("Forniture")}});
    ApriConto();
    struct Caso {
        const char *nome;
        bool dialogo;
        int domande; // at the first print
    };
    const Caso casi[] = {
        {"lettere.csv", true, 0},
        {"lettere.csv", false, 1},
        {"lettere", true, 1},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(std::string(c.nome) + (c.dialogo ? " from the dialog" : " saved"));
        const QString scritto = File("lettere.csv");
        QFile vecchio(scritto);
        ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
        vecchio.write("vecchio\r\n");
        vecchio.close();
        FrmComlinStampa *d = Stampa();
        if (c.dialogo) {
            ScegliFile(d, File(c.nome), FiltroCompatibile);
        } else {
            d->OpzioniStampa().oiStaVid(OpzStampa::UscitaFile);
            d->OpzioniStampa().FileForm(OpzStampa::FormatoCompatibileExcel);
            d->OpzioniStampa().FileName(File(c.nome));
        }
        DimenticaMessaggi();
        Rispondi(1);
        d->CmdStampa_Click();
        EXPECT_EQ(Domande(), c.domande) << Messaggi().join(u'|').toStdString();
        EXPECT_TRUE(leggi(scritto).contains("Forniture"));
        // The next print of the same file asks.
        DimenticaMessaggi();
        Rispondi(2);
        QFile::remove(scritto);
        ASSERT_TRUE(vecchio.open(QIODevice::WriteOnly));
        vecchio.write("vecchio\r\n");
        vecchio.close();
        Stampa()->CmdStampa_Click();
        EXPECT_EQ(Domande(), 1);
        EXPECT_EQ(leggi(scritto), QByteArray("vecchio\r\n")) << "answered no";
        DimenticaMessaggi();
    }
}

// A negative amount with separators and qualifiers saved with the options:
// every row has as many fields as the captions, the amount whole; where no
// form of the number keeps clear of the separator the file is refused.
TEST_F(StampaGriglieFile, AnAmountNeverSplitsItsRow)
{
    Lettera(1, {{QStringLiteral("Descrizione"), QStringLiteral("Forniture")},
                {QStringLiteral("ImportoDichIntenti"), -1234.5}});
    ApriConto();
    struct Caso {
        const char *sep, *delim;
        int numNoForm;
        const char *importo; // as the reader gets it; nullptr: refused
    };
    // (A point without a qualifier is refused for the captions, "Cod.".)
    const Caso casi[] = {
        {"-", "", -1, nullptr},    {"-", "\"", -1, "-1234,50"}, {",", "", -1, "-1234.50"},
        {";", "", 0, "-1.234,50"}, {"4", "", -1, nullptr},      {".", "'", 0, "-1.234,50"},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(std::string("sep ") + c.sep + " delim " + c.delim + " plain " +
                     std::to_string(c.numNoForm));
        const QString file = File("lettere.txt");
        QFile::remove(file);
        FrmComlinStampa *d = Stampa();
        OpzStampa &o = d->OpzioniStampa();
        o.oiStaVid(OpzStampa::UscitaFile);
        o.FileForm(OpzStampa::FormatoTesto);
        o.FileName(file);
        o.SepCampi(QString::fromUtf8(c.sep));
        o.DelimStr(QString::fromUtf8(c.delim));
        o.NumNoForm(c.numNoForm);
        DimenticaMessaggi();
        d->CmdStampa_Click();
        if (!c.importo) {
            EXPECT_FALSE(QFile::exists(file));
            EXPECT_TRUE(UltimoMessaggio().startsWith(QStringLiteral("Il file non è stato scritto")))
                << UltimoMessaggio().toStdString();
            continue;
        }
        const QString delimTesto = QString::fromUtf8(c.delim);
        const QChar delim = delimTesto.isEmpty() ? QChar() : delimTesto[0];
        const QList<QStringList> righe = campi(leggi(file), QString::fromUtf8(c.sep)[0], delim);
        ASSERT_EQ(righe.size(), 2) << UltimoMessaggio().toStdString();
        ASSERT_EQ(righe[1].size(), righe[0].size()) << righe[1].join(u'|').toStdString();
        const qsizetype colonna = righe[0].indexOf(QStringLiteral("Importo"));
        ASSERT_GE(colonna, 0) << righe[0].join(u'|').toStdString();
        EXPECT_EQ(righe[1][colonna], QString::fromUtf8(c.importo));
    }
}
