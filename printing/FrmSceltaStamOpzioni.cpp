// The print-choice dialog's saved option sets: the panel listing the 25
// storable options with their values, and saving or deleting the ticked ones
// in this terminal's INI or the common one, for every print or for this
// print only.
#include "printing/FrmSceltaStam.h"

#include "components/stampa/OpzStampa.h"
#include "components/util/UtilGlob.h"
#include "printing/AziendaUtilStampe.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLocale>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace
{

struct RigaOpzione {
    const char *didascalia;
    const char *chiave;
};

const RigaOpzione Righe[25] = {
    {"Dove stampare:", "StaVid"},
    {"Forza verticale:", "ForzaVert"},
    {"File di stampa per stampe su file:", "FileName"},
    {"Formato di stampa per stampe su file:", "FileForm"},
    {"Path di default:", "PathDefault"},
    {"Separatore campi per stampe su file:", "SepCampi"},
    {"Qualificatore testo per stampe su file:", "DelimStr"},
    {"Tolgo il formato nei campi numerici  per stampe su file:", "NumNoForm"},
    {"Fattore di visualizzazione:", "Fatt"},
    {"Memorizza pagine per stampa a video:", "MemVid"},
    {"Nome file per stampa fissa:", "FisFileName"},
    {"Stampa fissa su:", "FisStampante"},
    {"Righe vuote in alto per stampa fissa:", "FisMrAlt"},
    {"Righe vuote in basso per stampa fissa:", "FisMrBas"},
    {"Numero di colonne per stampa fissa:", "FisColonne"},
    {"Righe per pagina per stampa fissa:", "FisRighe"},
    {"Sequenza inizio compresso:", "FisCodIniComp"},
    {"Sequenza fine compresso:", "FisCodFinComp"},
    {"Stampa in compresso per stampa fissa:", "FisUtilComp"},
    {"Nome stampante:", "NomeStampante"},
    {"Porta stampante:", "NomePorta"},
    {"Cassetto:", "Cassetto"},
    {"Nome file Pdf autom.", "PdfNomeAutom"},
    {"Invia per Email", "InviaEmail"},
    {"Tipo carta:", "TipoCarta"},
};

// Rows in the order they are shown and written: the paper stands after the tray.
const int Ordine[25] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                        13, 14, 15, 16, 17, 18, 19, 20, 21, 24, 22, 23};

// The value label of a row (the paper's is number 22; the PDF and e-mail rows have none).
int etichettaValore(int riga)
{
    if (riga == 24)
        return 22;
    return riga < 22 ? riga : -1;
}

bool vuoto(const QString &s)
{
    return Globali::Util().ValoreVuoto(s);
}

QString siNo(bool v)
{
    return v ? QStringLiteral("Sì") : QStringLiteral("No");
}

QString codice(const QString &s)
{
    return QString::number(s.isEmpty() ? 0 : s.at(0).unicode());
}

// The preview scale as saved: divided by the screen's display factor, with
// the locale's decimal separator (read back with either).
QString testoScala(float fatt)
{
    const double r = Globali::RisVidStaVid;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    if (r > 0)
        return locale.toString(Globali::Util().Arrotonda(double(fatt) / r, QStringLiteral("A"), 1.0, -2), 'g',
                               15);
    return locale.toString(double(fatt), 'g', 7);
}

// What a row writes in save mode; `cancella` when the key is removed
// instead. False when there is nothing to write (a separator never chosen).
bool voceDaSalvare(const OpzStampa &o, int riga, QString &testo, bool &cancella)
{
    cancella = false;
    auto t = [&](const QString &s) {
        testo = s;
        cancella = vuoto(s);
        return true;
    };
    auto n = [&](int v) {
        testo = QString::number(v);
        return true;
    };
    switch (riga) {
    case 0:
        return n(o.oiStaVid());
    case 1:
        return n(o.ForzaVert());
    case 2:
        return t(o.FileName());
    case 3:
        return n(o.FileForm());
    case 4:
        return t(o.PathDefault());
    case 5:
        testo = codice(o.SepCampi());
        return !o.SepCampi().isEmpty();
    case 6:
        testo = o.DelimStr().isEmpty() ? QStringLiteral("-1") : codice(o.DelimStr());
        cancella = !o.DelimStr().isEmpty() && vuoto(o.DelimStr());
        return true;
    case 7:
        return n(o.NumNoForm() == -1 ? -1 : 0);
    case 8:
        testo = testoScala(o.Fatt());
        return true;
    case 9:
        return n(o.MemVid());
    case 10:
        return t(o.FisFileName());
    case 11:
        return n(o.FisStampante() == -1 ? -1 : 0);
    case 12:
        return n(o.FisMrAlt());
    case 13:
        return n(o.FisMrBas());
    case 14:
        return n(o.FisColonne());
    case 15:
        return n(o.FisRighe());
    case 16:
        return t(o.FisCodIniComp());
    case 17:
        return t(o.FisCodFinComp());
    case 18:
        return n(o.FisUtilComp() == -1 ? -1 : 0);
    case 19:
        testo = LeggiStampanteSessione(o.osNomeStampante());
        cancella = vuoto(o.osNomeStampante());
        return true;
    case 20:
        return t(o.NomePorta());
    case 21:
    case 24: {
        const int v =
            o.ParIntero(riga == 21 ? QStringLiteral("NumCassetto") : QStringLiteral("NumTipoCarta"));
        testo = QString::number(v);
        cancella = v == 0;
        return true;
    }
    case 22:
    case 23:
        testo = o.ParVero(riga == 22 ? QStringLiteral("PdfAutomAbil") : QStringLiteral("EmailInvia"))
                    ? QStringLiteral("S")
                    : QStringLiteral("N");
        return true;
    default:
        return false;
    }
}

} // namespace

void FrmSceltaStam::CreaPannelloOpzioni()
{
    PicSalPar = new QWidget(m_fogli);
    PicSalPar->setObjectName(QStringLiteral("PicSalPar"));
    auto *l = new QVBoxLayout(PicSalPar);
    auto *colonne = new QHBoxLayout;
    QGridLayout *griglie[2] = {new QGridLayout, new QGridLayout};
    for (int k = 0; k < 25; ++k) {
        const int i = Ordine[k];
        QGridLayout *g = griglie[k < 13 ? 0 : 1];
        const int r = k < 13 ? k : k - 13;
        g->addWidget(Che.Aggiungi(i, new QCheckBox(PicSalPar)), r, 0);
        g->addWidget(LabDaSalvare.Aggiungi(i, new QLabel(QString::fromUtf8(Righe[i].didascalia), PicSalPar)),
                     r, 1);
        const int e = etichettaValore(i);
        if (e >= 0) {
            auto *v = LabValParam.Aggiungi(e, new QLabel(PicSalPar));
            v->setFrameShape(QFrame::StyledPanel);
            v->setMinimumWidth(120);
            g->addWidget(v, r, 2);
        }
        g->setColumnStretch(2, 1);
    }
    colonne->addLayout(griglie[0]);
    colonne->addSpacing(12);
    colonne->addLayout(griglie[1]);
    l->addLayout(colonne);

    auto *scelte = new QHBoxLayout;
    FraQualeIni = new QGroupBox(QStringLiteral("Dove salvare"), PicSalPar);
    auto *lq = new QVBoxLayout(FraQualeIni);
    OptIniPers = new QRadioButton(QStringLiteral("Parametri di questo terminale"), FraQualeIni);
    OptIniStd = new QRadioButton(QStringLiteral("Parametri comuni a tutti i terminali"), FraQualeIni);
    lq->addWidget(OptIniPers);
    lq->addWidget(OptIniStd);
    OptIniPers->setChecked(true);
    FraDoveSalva = new QGroupBox(QStringLiteral("In quale zona parametri"), PicSalPar);
    auto *ld = new QVBoxLayout(FraDoveSalva);
    OptSalInDef = new QRadioButton(QStringLiteral("Nei valori di default"), FraDoveSalva);
    OptSalInStamp = new QRadioButton(QStringLiteral("Solo per questa stampa"), FraDoveSalva);
    ld->addWidget(OptSalInDef);
    ld->addWidget(OptSalInStamp);
    OptSalInStamp->setChecked(true);
    scelte->addWidget(FraQualeIni);
    scelte->addWidget(FraDoveSalva);
    auto *bottoni = new QVBoxLayout;
    auto bottone = [&](const char *testo) {
        auto *b = new QPushButton(QString::fromUtf8(testo), PicSalPar);
        b->setAutoDefault(false);
        bottoni->addWidget(b);
        return b;
    };
    ComSelTutto = bottone("Seleziona &tutto");
    ComDeSelTutto = bottone("Deseleziona t&utto");
    ComAnnulla = bottone("Annu&lla");
    ComOk = bottone("&Salvare");
    scelte->addLayout(bottoni);
    l->addLayout(scelte);
}

void FrmSceltaStam::MettiValOpz()
{
    if (!m_opz)
        return;
    const OpzStampa &o = *m_opz;
    auto metti = [&](int i, const QString &testo) { LabValParam(i)->setText(testo); };
    static const char *const dove[] = {"Stampante", "Video", "File", "Fissa"};
    if (o.oiStaVid() >= 0 && o.oiStaVid() <= 3)
        metti(0, QString::fromLatin1(dove[o.oiStaVid()]));
    metti(1, siNo(o.ForzaVert() == -1));
    metti(2, o.FileName());
    metti(3, o.DescrFileForm(o.FileForm()));
    const QString cartella = codFileNome.isEmpty() ? QString() : Globali::Util().EstraiPercorso(codFileNome);
    metti(4, vuoto(cartella) ? o.PathDefault() : cartella);
    const QString sep = o.SepCampi();
    metti(5, sep == QLatin1String("\t")  ? QStringLiteral("Tab")
             : sep == QLatin1String(" ") ? QStringLiteral("Spazio")
                                         : sep);
    metti(6, o.DelimStr());
    metti(7, siNo(o.NumNoForm() != 0));
    metti(8, testoScala(o.Fatt()));
    metti(9, QString::number(o.MemVid()));
    metti(10, o.FisFileName());
    metti(11, o.FisStampante() != 0 ? QStringLiteral("Vero") : QStringLiteral("Falso"));
    metti(12, QString::number(o.FisMrAlt()));
    metti(13, QString::number(o.FisMrBas()));
    metti(14, QString::number(o.FisColonne()));
    metti(15, QString::number(o.FisRighe()));
    metti(16, o.FisCodIniComp());
    metti(17, o.FisCodFinComp());
    metti(18, siNo(o.FisUtilComp() != 0));
    metti(19, o.osNomeStampante());
    metti(20, o.NomePorta());
    const int cassetto = o.ParIntero(QStringLiteral("NumCassetto"));
    metti(21, cassetto > 0 ? QString::number(cassetto) : QStringLiteral("Default"));
    const int carta = o.ParIntero(QStringLiteral("NumTipoCarta"));
    metti(22, carta > 0 ? QString::number(carta) : QStringLiteral("Default"));
}

void FrmSceltaStam::SelDeselSalOpz(bool pbSelez)
{
    for (auto [i, c] : Che) {
        (void)i;
        c->setChecked(pbSelez);
    }
}

void FrmSceltaStam::ComSalOpz_Click()
{
    ApriPannelloOpzioni(false);
}

void FrmSceltaStam::ComCancOpz_Click()
{
    ApriPannelloOpzioni(true);
}

void FrmSceltaStam::ApriPannelloOpzioni(bool cancella)
{
    MettiValOpz();
    SelDeselSalOpz(true);
    MostraFoglio(PicSalPar);
    ModoCancella = cancella;
    FraQualeIni->setTitle(cancella ? QStringLiteral("Dove cancellare") : QStringLiteral("Dove salvare"));
    ComOk->setText(cancella ? QStringLiteral("&Cancellare") : QStringLiteral("&Salvare"));
}

void FrmSceltaStam::ComAnnulla_Click()
{
    MostraFoglio(m_principale);
}

void FrmSceltaStam::ComOk_Click()
{
    if (!m_opz)
        return;
    const bool comune = !OptIniPers->isChecked();
    const QString file = comune ? Globali::PathIniComune : Globali::PathIni;
    if (file.trimmed().isEmpty()) {
        msgCom(comune
                   ? QStringLiteral("Non è configurato un file di parametri comuni a tutti i terminali.\r\n"
                                    "Scegliere \"Parametri di questo terminale\".")
                   : QStringLiteral("Non è configurato il file di parametri di questo terminale."));
        return;
    }
    const QString sezione =
        OptSalInDef->isChecked() ? QStringLiteral("Opzioni Stampa") : m_opz->SezioneStampa();
    if (sezione.trimmed().isEmpty()) {
        msgCom(QStringLiteral("Questa stampa non ha parametri propri: scegliere \"Nei valori di default\"."));
        return;
    }

    bool tutte = true;
    for (auto [i, c] : Che) {
        (void)i;
        tutte = tutte && c->isChecked();
    }
    QStringList falliti;
    if (!comune && ModoCancella && tutte) {
        if (!ScriviParIni(sezione, QString(), QString(), false, true, 1, true, false, file))
            falliti << sezione;
    } else {
        for (const int i : Ordine) {
            if (!Che(i)->isChecked())
                continue;
            QString testo;
            bool cancella = false;
            if (!voceDaSalvare(*m_opz, i, testo, cancella) && !ModoCancella)
                continue;
            const QString chiave = QString::fromLatin1(Righe[i].chiave);
            if (!ScriviParIni(sezione, chiave, testo, false, true, 1, false, ModoCancella || cancella, file))
                falliti << chiave;
        }
    }
    // A write that did not happen is told, and the panel stays for another try.
    if (!falliti.isEmpty()) {
        msgCom(QStringLiteral("Impossibile scrivere nel file dei parametri ") + file +
               (ModoCancella ? QStringLiteral("\r\nOpzioni non cancellate: ")
                             : QStringLiteral("\r\nOpzioni non salvate: ")) +
               falliti.join(QStringLiteral(", ")));
        return;
    }
    MostraFoglio(m_principale);
}
