// The print-choice dialog's controls: the output-kind frame, the four option
// panels one over the other, the buttons below, and the wiring of their
// events.
#include "printing/FrmSceltaStam.h"

#include "components/forms/AdattatoreEventi.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

QTableWidget *grigliaStampanti(QWidget *parent, const char *nome)
{
    auto *g = new QTableWidget(0, 3, parent);
    g->setObjectName(QString::fromLatin1(nome));
    g->setHorizontalHeaderLabels({QStringLiteral("N."), QStringLiteral("Nome"), QStringLiteral("Porta")});
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->hide();
    g->horizontalHeader()->setStretchLastSection(true);
    g->setMinimumHeight(150);
    return g;
}

QLabel *valore(QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(60);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLineEdit *numero(QWidget *parent, int larghezza = 60)
{
    auto *t = new QLineEdit(parent);
    t->setMaximumWidth(larghezza);
    return t;
}

} // namespace

void FrmSceltaStam::CreaControlli()
{
    auto *radice = new QVBoxLayout(this);
    radice->setContentsMargins(6, 6, 6, 6);
    m_fogli = new QStackedWidget(this);
    radice->addWidget(m_fogli);

    m_principale = new QWidget(m_fogli);
    auto *l = new QVBoxLayout(m_principale);
    l->setContentsMargins(0, 0, 0, 0);

    auto *su = Fra.Aggiungi(0, new QGroupBox(QStringLiteral("Stampa su: "), m_principale));
    auto *lsu = new QHBoxLayout(su);
    const char *const tipi[] = {"&Stampante", "&Video", "&File", "File/stam. a &lung. fissa"};
    for (int i = 0; i < 4; ++i)
        lsu->addWidget(OptStampaSu.Aggiungi(i, new QRadioButton(QString::fromUtf8(tipi[i]), su)));
    lsu->addStretch();
    l->addWidget(su);

    LabStaAttuale = new QLabel(m_principale);
    LabStaAttuale->setObjectName(QStringLiteral("LabStaAttuale"));
    LabStaAttuale->setFrameShape(QFrame::StyledPanel);
    LabStaAttuale->setWordWrap(true);
    l->addWidget(LabStaAttuale);

    m_pannelli = new QStackedWidget(m_principale);
    m_pannelli->addWidget(CreaPannelloStampante());
    m_pannelli->addWidget(CreaPannelloVideo());
    m_pannelli->addWidget(CreaPannelloFile());
    m_pannelli->addWidget(CreaPannelloFissa());
    l->addWidget(m_pannelli, 1);

    CheNumPag = new QCheckBox(QStringLiteral("Mess.Numero pagine"), m_principale);
    CheNumPag->setObjectName(QStringLiteral("CheNumPag"));
    l->addWidget(CheNumPag);

    auto *bottoni = new QHBoxLayout;
    auto bottone = [&](const char *testo, const char *nome) {
        auto *b = new QPushButton(QString::fromUtf8(testo), m_principale);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        bottoni->addWidget(b);
        return b;
    };
    ComUsaDef = bottone("Stampante predefinita", "ComUsaDef");
    ComSalOpz = bottone("Salva op&zioni stampa", "ComSalOpz");
    ComCancOpz = bottone("Canc. op&zioni stampa", "ComCancOpz");
    ComParIniPE = bottone("Par ini Pdf/Email", "ComParIniPE");
    bottoni->addStretch();
    ComChiudi = bottone("&Chiudi", "ComChiudi");
    l->addLayout(bottoni);

    m_fogli->addWidget(m_principale);
    CreaPannelloOpzioni();
    m_fogli->addWidget(PicSalPar);
    CreaPannelloPdfEmail();
    m_fogli->addWidget(PicPdfEmail);
    m_fogli->setCurrentWidget(m_principale);
}

QWidget *FrmSceltaStam::CreaPannelloStampante()
{
    auto *p = FraOpz.Aggiungi(0, new QGroupBox(QStringLiteral("Scelta della stampante:")));
    auto *g = new QGridLayout(p);
    auto *testa = new QHBoxLayout;
    testa->addWidget(Lab.Aggiungi(9, new QLabel(QStringLiteral("Stampanti disponibili"), p)));
    labTotStamp = new QLabel(p);
    labTotStamp->setObjectName(QStringLiteral("labTotStamp"));
    testa->addWidget(labTotStamp);
    testa->addStretch();
    g->addLayout(testa, 0, 0, 1, 4);
    GriPri = grigliaStampanti(p, "GriPri");
    g->addWidget(GriPri, 1, 0, 1, 4);

    g->addWidget(new QLabel(QStringLiteral("Cassetto:"), p), 2, 0);
    cboCassetti = new QComboBox(p);
    cboCassetti->setObjectName(QStringLiteral("cboCassetti"));
    g->addWidget(cboCassetti, 2, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Tipo carta:"), p), 3, 0);
    cboTipoCarta = new QComboBox(p);
    cboTipoCarta->setObjectName(QStringLiteral("cboTipoCarta"));
    g->addWidget(cboTipoCarta, 3, 1, 1, 2);
    ComPaperSize = new QPushButton(QStringLiteral("PaperSize"), p);
    ComPaperSize->setObjectName(QStringLiteral("ComPaperSize"));
    ComPaperSize->setAutoDefault(false);
    g->addWidget(ComPaperSize, 3, 3);

    auto *pagine = new QHBoxLayout;
    pagine->addWidget(new QLabel(QStringLiteral("Dalla pagina:"), p));
    pagine->addWidget(txt.Aggiungi(10, numero(p)));
    pagine->addWidget(new QLabel(QStringLiteral("a:"), p));
    pagine->addWidget(txt.Aggiungi(20, numero(p)));
    pagine->addStretch();
    ComOpz.Aggiungi(0, new QPushButton(QStringLiteral("Opzioni"), p))->setAutoDefault(false);
    pagine->addWidget(ComOpz(0));
    g->addLayout(pagine, 4, 0, 1, 4);

    CheForzaVert = new QCheckBox(
        QStringLiteral(
            "Forza la stampa in verticale (Da utilizzarsi solo in caso di foglio più grande  dell' A4)"),
        p);
    CheForzaVert->setObjectName(QStringLiteral("CheForzaVert"));
    g->addWidget(CheForzaVert, 5, 0, 1, 4);
    ChePdfAutom = new QCheckBox(QStringLiteral("Nome file Pdf autom."), p);
    ChePdfAutom->setObjectName(QStringLiteral("ChePdfAutom"));
    g->addWidget(ChePdfAutom, 6, 0, 1, 2);
    CheInviaEmail = new QCheckBox(QStringLiteral("Invia per Email"), p);
    CheInviaEmail->setObjectName(QStringLiteral("CheInviaEmail"));
    g->addWidget(CheInviaEmail, 6, 2, 1, 2);
    g->setColumnStretch(2, 1);
    return p;
}

QWidget *FrmSceltaStam::CreaPannelloVideo()
{
    auto *p = FraOpz.Aggiungi(1, new QGroupBox(QStringLiteral("Opzioni di Visualizzazione:")));
    auto *g = new QGridLayout(p);
    g->addWidget(new QLabel(QStringLiteral("Fattore di visualizzazione (%):"), p), 0, 0);
    labFatt = valore(p);
    labFatt->setObjectName(QStringLiteral("labFatt"));
    g->addWidget(labFatt, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Memorizza pagine:"), p), 1, 0);
    LabMemVid = valore(p);
    LabMemVid->setObjectName(QStringLiteral("LabMemVid"));
    g->addWidget(LabMemVid, 1, 1);
    ComOpz.Aggiungi(1, new QPushButton(QStringLiteral("Cambia"), p))->setAutoDefault(false);
    g->addWidget(ComOpz(1), 0, 2);
    auto *pagine = new QHBoxLayout;
    pagine->addWidget(new QLabel(QStringLiteral("Dalla pagina:"), p));
    pagine->addWidget(txt.Aggiungi(30, numero(p)));
    pagine->addWidget(new QLabel(QStringLiteral("a:"), p));
    pagine->addWidget(txt.Aggiungi(40, numero(p)));
    pagine->addStretch();
    g->addLayout(pagine, 2, 0, 1, 3);
    g->setRowStretch(3, 1);
    g->setColumnStretch(3, 1);
    return p;
}

QWidget *FrmSceltaStam::CreaPannelloFile()
{
    auto *p = FraOpz.Aggiungi(2, new QGroupBox(QStringLiteral("Opzioni del file:")));
    auto *g = new QGridLayout(p);
    g->addWidget(new QLabel(QStringLiteral("Nome file:"), p), 0, 0);
    LabFileName = valore(p);
    LabFileName->setObjectName(QStringLiteral("LabFileName"));
    g->addWidget(LabFileName, 0, 1);
    ComOpz.Aggiungi(2, new QPushButton(QStringLiteral("Cambia"), p))->setAutoDefault(false);
    g->addWidget(ComOpz(2), 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Formato:"), p), 1, 0);
    LabFileForm = valore(p);
    LabFileForm->setObjectName(QStringLiteral("LabFileForm"));
    g->addWidget(LabFileForm, 1, 1);

    auto *sep = Fra.Aggiungi(1, new QGroupBox(QStringLiteral("Separatore campi :"), p));
    auto *ls = new QVBoxLayout(sep);
    const char *const separatori[] = {"Ta&bulatore", "&Punto e virgola", "&Virgola", "&Spazio"};
    for (int i = 0; i < 4; ++i)
        ls->addWidget(OptSepCampi.Aggiungi(i, new QRadioButton(QString::fromUtf8(separatori[i]), sep)));
    auto *del = Fra.Aggiungi(2, new QGroupBox(QStringLiteral("Qualificatore testo:"), p));
    auto *ld = new QVBoxLayout(del);
    const char *const delimitatori[] = {"\" &Doppio apice", "' S&ingolo apice", "&Nessuno"};
    for (int i = 0; i < 3; ++i)
        ld->addWidget(OptDelimStr.Aggiungi(i, new QRadioButton(QString::fromUtf8(delimitatori[i]), del)));
    ld->addStretch();
    // Only the text format chooses its separators.
    sep->setEnabled(false);
    del->setEnabled(false);
    auto *fra = new QHBoxLayout;
    fra->addWidget(sep);
    fra->addWidget(del);
    g->addLayout(fra, 2, 0, 1, 3);
    CheNumNoForm = new QCheckBox(QStringLiteral("Tolgo il formato nei campi numerici"), p);
    CheNumNoForm->setObjectName(QStringLiteral("CheNumNoForm"));
    g->addWidget(CheNumNoForm, 3, 0, 1, 3);
    g->setColumnStretch(1, 1);
    g->setRowStretch(4, 1);
    return p;
}

QWidget *FrmSceltaStam::CreaPannelloFissa()
{
    auto *p =
        FraOpz.Aggiungi(3, new QGroupBox(QStringLiteral("Opzioni per la stampa / file a lunghezza fissa:")));
    auto *g = new QGridLayout(p);
    GriPorte = grigliaStampanti(p, "GriPorte");
    g->addWidget(GriPorte, 0, 0, 1, 4);
    auto riga = [&](int r, int c, const char *etichetta, QLineEdit *campo, const char *nome) {
        campo->setObjectName(QString::fromLatin1(nome));
        g->addWidget(new QLabel(QString::fromUtf8(etichetta), p), r, c);
        g->addWidget(campo, r, c + 1);
        return campo;
    };
    TxtFisMrAlt = riga(1, 0, "Righe vuote in alto:", numero(p), "TxtFisMrAlt");
    TxtFisMrBas = riga(2, 0, "Righe vuote in basso:", numero(p), "TxtFisMrBas");
    TxtFisRighe = riga(1, 2, "Righe per pagina:", numero(p), "TxtFisRighe");
    TxtFisColonne = riga(2, 2, "Colonne:", numero(p), "TxtFisColonne");
    TxtFisCodIniComp = riga(3, 0, "Inizio compresso:", numero(p, 120), "TxtFisCodIniComp");
    TxtFisCodFinComp = riga(3, 2, "Fine compresso:", numero(p, 120), "TxtFisCodFinComp");
    CheFisUtilComp = new QCheckBox(QStringLiteral("Stampo in compresso"), p);
    CheFisUtilComp->setObjectName(QStringLiteral("CheFisUtilComp"));
    g->addWidget(CheFisUtilComp, 4, 0, 1, 2);
    LabFileStampaFis = valore(p);
    LabFileStampaFis->setObjectName(QStringLiteral("LabFileStampaFis"));
    g->addWidget(LabFileStampaFis, 5, 0, 1, 3);
    ComOpz.Aggiungi(3, new QPushButton(QStringLiteral("&Nome File"), p))->setAutoDefault(false);
    g->addWidget(ComOpz(3), 5, 3);
    g->setColumnStretch(3, 1);
    return p;
}

void FrmSceltaStam::CollegaEventi()
{
    m_adattatore = new AdattatoreEventi(this);
    AdattatoreEventi &a = *m_adattatore;
    auto clic = [](std::function<void(int)> f) {
        GestoriEventi g;
        g.Click = std::move(f);
        return g;
    };
    a.Collega(OptStampaSu, clic([this](int i) { OptStampaSu_Click(i); }));
    a.Collega(OptSepCampi, clic([this](int i) { OptSepCampi_Click(i); }));
    a.Collega(OptDelimStr, clic([this](int i) { OptDelimStr_Click(i); }));
    a.Collega(ComOpz, clic([this](int i) { ComOpz_Click(i); }));
    GestoriEventi doppio;
    doppio.DblClick = [this](int i) { Fra_DblClick(i); };
    a.Collega(Fra, doppio);
    GestoriEventi caselle;
    caselle.GotFocus = [this](int i) { txt_GotFocus(i); };
    caselle.LostFocus = [this](int i) { txt_LostFocus(i); };
    caselle.KeyUp = [this](int i, int &k, int s) { txt_KeyUp(i, k, s); };
    a.Collega(txt, caselle);

    using Gestore = void (FrmSceltaStam::*)();
    const std::pair<QWidget *, Gestore> clicks[] = {
        {CheForzaVert, &FrmSceltaStam::CheForzaVert_Click},
        {CheFisUtilComp, &FrmSceltaStam::CheFisUtilComp_Click},
        {CheNumNoForm, &FrmSceltaStam::CheNumNoForm_Click},
        {CheNumPag, &FrmSceltaStam::CheNumPag_Click},
        {CheInviaEmail, &FrmSceltaStam::CheInviaEmail_Click},
        {ChePdfAutom, &FrmSceltaStam::ChePdfAutom_Click},
        {cboCassetti, &FrmSceltaStam::cboCassetti_Click},
        {cboTipoCarta, &FrmSceltaStam::cboTipoCarta_Click},
        {ComPaperSize, &FrmSceltaStam::ComPaperSize_Click},
        {ComUsaDef, &FrmSceltaStam::ComUsaDef_Click},
        {ComSalOpz, &FrmSceltaStam::ComSalOpz_Click},
        {ComCancOpz, &FrmSceltaStam::ComCancOpz_Click},
        {ComChiudi, &FrmSceltaStam::ComChiudi_Click},
        {ComSelTutto, &FrmSceltaStam::ComSelTutto_Click},
        {ComDeSelTutto, &FrmSceltaStam::ComDeSelTutto_Click},
        {ComAnnulla, &FrmSceltaStam::ComAnnulla_Click},
        {ComOk, &FrmSceltaStam::ComOk_Click},
    };
    for (const auto &[w, f] : clicks)
        a.Collega(w, -1, clic([this, f = f](int) { (this->*f)(); }));
    const std::pair<QWidget *, Gestore> uscite[] = {
        {TxtFisMrAlt, &FrmSceltaStam::TxtFisMrAlt_LostFocus},
        {TxtFisMrBas, &FrmSceltaStam::TxtFisMrBas_LostFocus},
        {TxtFisRighe, &FrmSceltaStam::TxtFisRighe_LostFocus},
        {TxtFisColonne, &FrmSceltaStam::TxtFisColonne_LostFocus},
        {TxtFisCodIniComp, &FrmSceltaStam::TxtFisCodIniComp_LostFocus},
        {TxtFisCodFinComp, &FrmSceltaStam::TxtFisCodFinComp_LostFocus},
    };
    for (const auto &[w, f] : uscite) {
        GestoriEventi g;
        g.LostFocus = [this, f = f](int) { (this->*f)(); };
        a.Collega(w, -1, g);
    }
    GestoriEventi griglia;
    griglia.KeyDown = [this](int, int &k, int s) { GriPri_KeyDown(k, s); };
    a.Collega(GriPri, -1, griglia);
    connect(GriPri, &QTableWidget::cellClicked, this, [this] { GriPri_Click(); });
    connect(GriPorte, &QTableWidget::cellClicked, this, [this] { griPorte_Click(); });
    GestoriForm form;
    form.KeyDown = [this](int &k, int s) { Form_KeyDown(k, s); };
    form.KeyPress = [this](int &k) { Form_KeyPress(k); };
    a.ImpostaKeyPreview(form);
    CollegaEventiPdfEmail();
}
