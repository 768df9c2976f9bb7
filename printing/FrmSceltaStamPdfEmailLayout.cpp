// The controls of the PDF and e-mail panel: the general keys, the three
// sending configurations one over the other, a "Salvare" box beside every
// key, the level to save at and the buttons; and the wiring of their events.
#include "printing/FrmSceltaStam.h"

#include "components/forms/AdattatoreEventi.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace
{

// One row of the panel: the save box, the caption and the control (with a
// button after it when given).
struct Righe {
    QGridLayout *g;
    int riga = 0;

    void aggiungi(QCheckBox *salva, QWidget *etichetta, QWidget *campo, QWidget *dopo = nullptr)
    {
        if (salva)
            g->addWidget(salva, riga, 0);
        if (etichetta)
            g->addWidget(etichetta, riga, 1);
        if (campo)
            g->addWidget(campo, riga, 2, 1, dopo ? 1 : 2);
        if (dopo)
            g->addWidget(dopo, riga, 3);
        ++riga;
    }
};

} // namespace

void FrmSceltaStam::CreaPannelloPdfEmail()
{
    PicPdfEmail = new QWidget(m_fogli);
    PicPdfEmail->setObjectName(QStringLiteral("PicPdfEmail"));
    auto *radice = new QVBoxLayout(PicPdfEmail);
    radice->setContentsMargins(0, 0, 0, 0);
    auto *titolo = new QLabel(QStringLiteral("Parametri per stampe pdf ed email"), PicPdfEmail);
    QFont f = titolo->font();
    f.setBold(true);
    titolo->setFont(f);
    radice->addWidget(titolo);

    auto *scorri = new QScrollArea(PicPdfEmail);
    scorri->setWidgetResizable(true);
    scorri->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scorri->setFrameShape(QFrame::NoFrame);
    auto *corpo = new QWidget(scorri);
    scorri->setWidget(corpo);
    radice->addWidget(scorri, 1);
    auto *colonne = new QVBoxLayout(corpo);

    auto salva = [&](int indice, QWidget *p) {
        auto *c = ChePdfEmailSalva.Aggiungi(indice, new QCheckBox(QStringLiteral("Salvare"), p));
        c->setToolTip(QStringLiteral("Salvare nel file ini"));
        return c;
    };
    auto etichetta = [&](int indice, const char *testo, QWidget *p) -> QLabel * {
        auto *l = new QLabel(QString::fromUtf8(testo), p);
        if (indice > 0)
            Lab.Aggiungi(indice, l);
        return l;
    };
    auto casella = [&](int indice, QWidget *p) { return txt.Aggiungi(indice, new QLineEdit(p)); };
    auto cerca = [&](int indice, QWidget *p) {
        auto *b = ComCerca.Aggiungi(indice, new QPushButton(QStringLiteral("Cerca"), p));
        b->setAutoDefault(false);
        return b;
    };
    auto spunta = [&](int indice, const char *testo, QWidget *p) {
        return ChePdfEmailVal.Aggiungi(indice, new QCheckBox(QString::fromUtf8(testo), p));
    };

    // General keys.
    auto *generale = new QGroupBox(QStringLiteral("Pdf ed email"), corpo);
    Righe r{new QGridLayout(generale)};
    r.aggiungi(salva(1, generale), nullptr, spunta(1, "Usa PdfCreator", generale));
    r.aggiungi(salva(2, generale), nullptr, spunta(2, "Usa Pdf995", generale));
    r.aggiungi(salva(3, generale), etichetta(1003, "Percorso file per pdf", generale),
               casella(1003, generale), cerca(1003, generale));
    r.aggiungi(salva(4, generale), nullptr,
               spunta(4, "Apertura automatica file pdf dopo la stampa", generale));
    CboEmailToNum = new QComboBox(generale);
    CboEmailToNum->setObjectName(QStringLiteral("CboEmailToNum"));
    CboEmailToNum->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    auto *destinatari = new QStackedWidget(generale);
    destinatari->setObjectName(QStringLiteral("PicEmailTo"));
    for (const int i : {1005, 1505, 1515})
        destinatari->addWidget(casella(i, destinatari));
    destinatari->setMaximumHeight(txt(1005)->sizeHint().height());
    auto *riga5 = new QHBoxLayout;
    riga5->addWidget(CboEmailToNum);
    riga5->addWidget(destinatari, 1);
    r.g->addWidget(salva(5, generale), r.riga, 0);
    r.g->addWidget(etichetta(1005, "Indir. Email a cui si invia", generale), r.riga, 1);
    r.g->addLayout(riga5, r.riga++, 2, 1, 2);
    auto *hlp = ComHlp.Aggiungi(1520, new QPushButton(QStringLiteral("..."), generale));
    hlp->setAutoDefault(false);
    hlp->setToolTip(QStringLiteral("Indirizzi email del cliente (F2-F5)"));
    r.aggiungi(nullptr, etichetta(1520, "Indir. temporaneo", generale), casella(1520, generale), hlp);
    r.aggiungi(salva(7, generale), etichetta(1007, "File di log email", generale), casella(1007, generale),
               cerca(1007, generale));
    r.aggiungi(salva(13, generale), nullptr, spunta(13, "Richiedere notifica email ricevuta ", generale));
    r.aggiungi(salva(16, generale), nullptr, spunta(16, "Abilitare opzione richiesta invio email", generale));
    CboEmailTipoNum = new QComboBox(generale);
    CboEmailTipoNum->setObjectName(QStringLiteral("CboEmailTipoNum"));
    CboEmailTipoNum->addItems(
        {QStringLiteral("Scelta 1"), QStringLiteral("Scelta 2"), QStringLiteral("Scelta 3")});
    r.aggiungi(salva(22, generale), etichetta(0, "Configurazione di invio email Attiva", generale),
               CboEmailTipoNum);
    r.g->setColumnStretch(2, 1);

    // The three configurations, one over the other.
    auto *configurazioni = new QStackedWidget(corpo);
    configurazioni->setObjectName(QStringLiteral("PicEmailConfig"));
    for (int c = 0; c < 3; ++c) {
        auto *p =
            PicEmailAttiva.Aggiungi(c, new QGroupBox(QStringLiteral("Scelta %1").arg(c + 1), configurazioni));
        Righe rc{new QGridLayout(p)};
        const int b = 100 * c;
        auto *tipo = new QGroupBox(QStringLiteral("Tipo Invio"), p);
        auto *lt = new QHBoxLayout(tipo);
        const char *const tipi[] = {"Sendmail", "CDO", "Outlook", "See", "Non usato"};
        for (int j = 0; j < (c == 0 ? 4 : 5); ++j)
            lt->addWidget(
                OptPETipoInvio.Aggiungi(5 * c + j, new QRadioButton(QString::fromUtf8(tipi[j]), tipo)));
        lt->addStretch();
        rc.aggiungi(salva(b + 6, p), nullptr, tipo);
        const std::pair<int, const char *> testi[] = {{8, "Indirizzo email di chi invia"},
                                                      {9, "Descriz. email di invio(centro)"},
                                                      {10, "Tipo server (Solo per CDO)"},
                                                      {11, "Server SMTP"},
                                                      {19, "Numero porta SMTP"},
                                                      {12, "Indirizzo di replay"},
                                                      {14, "Login Email"},
                                                      {15, "Pwd Email"},
                                                      {17, "Numero testo da usare"},
                                                      {18, "Descriz. per l'oggetto email"}};
        for (const auto &[k, didascalia] : testi)
            rc.aggiungi(salva(b + k, p), etichetta(1000 + b + k, didascalia, p), casella(1000 + b + k, p));
        txt(1015 + b)->setEchoMode(QLineEdit::Password);
        rc.aggiungi(salva(b + 20, p), nullptr, spunta(b + 20, "Usa SSL per l'invio dell'email", p));
        rc.aggiungi(salva(b + 21, p), etichetta(1021 + b, "Directory stunnel", p), casella(1021 + b, p),
                    cerca(1021 + b, p));
        rc.g->setColumnStretch(2, 1);
        configurazioni->addWidget(p);
    }
    colonne->addWidget(generale);
    colonne->addWidget(configurazioni);
    colonne->addStretch();

    // Where to save, and the buttons.
    auto *dove = new QGroupBox(QStringLiteral("Dove salvare"), PicPdfEmail);
    auto *ld = new QHBoxLayout(dove);
    ld->addWidget(
        OptPEDove.Aggiungi(0, new QRadioButton(QStringLiteral("Parametri di questo terminale"), dove)));
    ld->addWidget(OptPEDove.Aggiungi(
        1, new QRadioButton(QStringLiteral("Parametri comuni a tutti i terminali"), dove)));
    ld->addStretch();
    OptPEDove(0)->setChecked(true);
    radice->addWidget(dove);
    auto bottoni =
        [&](std::initializer_list<std::pair<QPushButton **, std::pair<const char *, const char *>>> l) {
            auto *riga = new QHBoxLayout;
            for (const auto &[dest, testo] : l) {
                *dest = new QPushButton(QString::fromUtf8(testo.first), PicPdfEmail);
                (*dest)->setObjectName(QString::fromLatin1(testo.second));
                (*dest)->setAutoDefault(false);
                riga->addWidget(*dest);
            }
            riga->addStretch();
            radice->addLayout(riga);
        };
    bottoni({{&ComPESalva, {"&Salva su file Ini", "ComPESalva"}},
             {&ComPECanc, {"&Cancella su file Ini", "ComPECanc"}},
             {&ComPERileggi, {"&Rileggi da file Ini", "ComPERileggi"}},
             {&ComPESel, {"S&eleziona tutto", "ComPESel"}},
             {&ComPEDesel, {"&Deseleziona tutto", "ComPEDesel"}}});
    bottoni({{&ComPEOk, {"&Ok", "ComPEOk"}},
             {&ComPEAnnulla, {"&Annulla", "ComPEAnnulla"}},
             {&ComPeDatiCor, {"Ri&leggi dati correnti", "ComPeDatiCor"}}});
}

void FrmSceltaStam::CollegaEventiPdfEmail()
{
    AdattatoreEventi &a = *m_adattatore;
    auto clic = [](std::function<void(int)> f) {
        GestoriEventi g;
        g.Click = std::move(f);
        return g;
    };
    a.Collega(ComCerca, clic([this](int i) { ComCerca_Click(i); }));
    a.Collega(ComHlp, clic([this](int i) { ComHlp_Click(i); }));
    using Gestore = void (FrmSceltaStam::*)();
    const std::pair<QWidget *, Gestore> clicks[] = {
        {ComParIniPE, &FrmSceltaStam::ComParIniPE_Click},
        {ComPEOk, &FrmSceltaStam::ComPEOk_Click},
        {ComPEAnnulla, &FrmSceltaStam::ComPEAnnulla_Click},
        {ComPeDatiCor, &FrmSceltaStam::ComPeDatiCor_Click},
        {ComPESalva, &FrmSceltaStam::ComPESalva_Click},
        {ComPECanc, &FrmSceltaStam::ComPECanc_Click},
        {ComPERileggi, &FrmSceltaStam::ComPERileggi_Click},
        {ComPESel, &FrmSceltaStam::ComPESel_Click},
        {ComPEDesel, &FrmSceltaStam::ComPEDesel_Click},
        {CboEmailToNum, &FrmSceltaStam::CboEmailToNum_Click},
        {CboEmailTipoNum, &FrmSceltaStam::CboEmailTipoNum_Click},
    };
    for (const auto &[w, f] : clicks)
        a.Collega(w, -1, clic([this, f = f](int) { (this->*f)(); }));
}
