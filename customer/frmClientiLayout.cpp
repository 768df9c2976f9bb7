// The customer form's controls: header and detail areas, the eleven tab pages
// with every field's caption, box, lookup button and description, the two
// line grids, the status bar and the timers; and the wiring of their events.
#include "customer/CasellaVb.h"
#include "customer/CatalogoClienti.h"
#include "customer/EtichettaDescrizione.h"
#include "customer/TabelleSpecchio.h"
#include "customer/frmClienti.h"

#include "components/forms/AdattatoreEventi.h"
#include "components/forms/UtilFinestre.h"
#include "services/Tasti.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

// What stands on one row of a page column.
enum class Tipo {
    Testo,   // caption and box
    Codice,  // caption, box, lookup button and description
    Breve,   // caption and a short box
    Casella, // check box in front of its hidden code field
    Scelta,  // caption and combo in front of its hidden code field
    Gruppo,  // option group in front of its hidden code field
    Nota,    // caption above a wide box
};

struct Elemento {
    Tipo tipo;
    int indice;
    const char *didascalia; // nullptr: the catalogue's
};

using Colonna = std::vector<Elemento>;

// Tab captions, keys and tooltips.
struct Scheda {
    const char *didascalia, *chiave, *tooltip;
};
const Scheda kSchede[11] = {
    {"1-Anagr", "DatiAnagrafici", "Dati Anagrafici"},
    {"2-Nota", "Nota", "Nota"},
    {"3-Cl/Attr.Ricl.", "Classi", "Classi"},
    {"4-Contabilità", "Contabilita", nullptr},
    {"5-Fatturaz.", "Fatturazione", "Fatturazione"},
    {"6-Note Doc.", "NoteDoc", "Note Doc."},
    {"7-Progr.", "Progressivi", "Progressivi"},
    {"8-Docum.", "Documenti", "Documenti"},
    {"9-Email", "Email", "Email"},
    {"0-Dich.Int.", "DichInt", "Dichirazione intenti Int"},
    {"'-RappFisc", "RappFisc", "RapprenFiscale e Stabile Organizzazione"},
};

// The pages without a grid, column by column.
std::vector<Colonna> contenuto(int pagina)
{
    using T = Tipo;
    switch (pagina) {
    case 0:
        return {
            {{T::Testo, 1010, "Indirizzo:"},
             {T::Breve, 1020, "CAP:"},
             {T::Codice, 1030, "Comune:"},
             {T::Testo, 1045, "Località:"},
             {T::Breve, 1040, "Provincia:"},
             {T::Codice, 1050, "Stato:"},
             {T::Testo, 1060, "Telefono:"},
             {T::Testo, 1065, "Telefono 2:"},
             {T::Testo, 1070, "Fax:"},
             {T::Testo, 1090, "Partita IVA:"},
             {T::Testo, 1100, "Codice fiscale:"},
             {T::Testo, 1110, "Persona di rif.:"},
             {T::Testo, 1125, "Cod. trascodifica:"},
             {T::Testo, 1128, "Password on line:"},
             {T::Testo, 5195, "Titolo fatt.el.:"},
             {T::Casella, 1115, nullptr}},
            {{T::Gruppo, 1120, nullptr},
             {T::Testo, 1135, "Cognome:"},
             {T::Testo, 1137, "Nome:"},
             {T::Gruppo, 1130, nullptr},
             {T::Breve, 1140, "Data di nascita:"},
             {T::Breve, 1150, "CAP di nascita:"},
             {T::Codice, 1160, "Località nascita:"},
             {T::Breve, 1170, "Prov. di nascita:"},
             {T::Codice, 1180, "Stato di nascita:"},
             {T::Breve, 1182, ""},
             {T::Breve, 1184, ""},
             {T::Breve, 1185, ""},
             {T::Testo, 1190, ""},
             {T::Testo, 1192, ""},
             {T::Testo, 1194, ""}},
        };
    case 1:
        return {{{T::Nota, 2000, "Nota:"}}};
    case 2:
        return {
            {{T::Codice, 3000, ""},
             {T::Codice, 3010, ""},
             {T::Codice, 3020, ""},
             {T::Codice, 3030, ""},
             {T::Codice, 3040, ""},
             {T::Codice, 3050, "Riclassificazione 1:"},
             {T::Codice, 3060, "Riclassificazione 2:"},
             {T::Codice, 3070, "Riclassificazione 3:"},
             {T::Codice, 3080, "Riclassificazione 4:"}},
        };
    case 3:
        return {
            {{T::Codice, 4000, "Banca:"},
             {T::Testo, 4010, "Conto corrente:"},
             {T::Testo, 4074, "IBAN:"},
             {T::Breve, 4076, "BIC:"},
             {T::Codice, 4020, "Pagamento:"},
             {T::Codice, 4025, "2° pagamento:"},
             {T::Breve, 4040, "Mese no effetti 1:"},
             {T::Breve, 4050, "Giorno mese succ. 1:"},
             {T::Breve, 4060, "Mese no effetti 2:"},
             {T::Breve, 4070, "Giorno mese succ. 2:"},
             {T::Codice, 4120, "c/Partita:"},
             {T::Breve, 4140, "Fido:"},
             {T::Casella, 4030, nullptr},
             {T::Casella, 4150, nullptr},
             {T::Casella, 4129, nullptr}},
            {{T::Codice, 4080, "Categoria:"},
             {T::Codice, 4090, "Zona:"},
             {T::Codice, 4100, "Moneta:"},
             {T::Codice, 4130, "Lingua:"},
             {T::Scelta, 4160, "Allegati:"},
             {T::Codice, 4180, "Ind. amministr.:"},
             {T::Codice, 4220, "Cointestatari:"},
             {T::Scelta, 4225, "Operaz. rilevanti:"},
             {T::Breve, 4126, "Proc. conc. dal:"},
             {T::Breve, 4128, "Proc. conc. al:"},
             {T::Casella, 4110, nullptr},
             {T::Casella, 4170, nullptr}},
            {{T::Scelta, 4200, "Dich. intenti:"},
             {T::Testo, 4185, "Nr. progressivo:"},
             {T::Testo, 4195, "Nr. dichiarazione:"},
             {T::Breve, 4190, "Data ricevimento:"},
             {T::Breve, 4196, "Data dichiaraz.:"},
             {T::Breve, 4210, "Validità da:"},
             {T::Breve, 4215, "Validità a:"},
             {T::Breve, 4205, "Importo:"}},
        };
    case 4:
        return {
            {{T::Codice, 5000, "Listino:"},
             {T::Testo, 5010, "Sconto:"},
             {T::Codice, 5020, "Cod. IVA:"},
             {T::Codice, 5030, "Vettore:"},
             {T::Codice, 5040, "Resa:"},
             {T::Codice, 5050, "Cod. spesa:"},
             {T::Testo, 5060, "Dich. d'intenti:"},
             {T::Codice, 5140, "Ind. spedizione:"},
             {T::Codice, 5150, "Agente 1:"},
             {T::Breve, 5170, "Provvigione 1:"},
             {T::Scelta, 5180, "Tipo provv. 1:"},
             {T::Codice, 5160, "Agente 2:"},
             {T::Breve, 5175, "Provvigione 2:"},
             {T::Scelta, 5185, "Tipo provv. 2:"}},
            {{T::Scelta, 5120, "Prezzi in DDT:"},
             {T::Scelta, 5130, "Raggr. DDT:"},
             {T::Scelta, 5135, "Raggr. ordini:"},
             {T::Scelta, 5100, "Rif. ordine:"},
             {T::Scelta, 5110, "Rif. cliente:"},
             {T::Breve, 5145, "% rit. acconto:"},
             {T::Casella, 5137, nullptr},
             {T::Casella, 5065, nullptr},
             {T::Casella, 5070, nullptr},
             {T::Casella, 5080, nullptr},
             {T::Casella, 5090, nullptr},
             {T::Casella, 5200, nullptr},
             {T::Casella, 5210, nullptr}},
            {{T::Testo, 5188, "Codice EORI:"},
             {T::Testo, 5190, "Codice IPA:"},
             {T::Gruppo, 5197, nullptr},
             {T::Scelta, 5192, "Livelli su XML:"}},
        };
    case 5:
        return {{{T::Nota, 6000, "Note ordini:"},
                 {T::Nota, 6010, "Note DDT:"},
                 {T::Nota, 6020, "Note fattura:"},
                 {T::Nota, 6030, "Note fatt. accompagnatoria:"}}};
    case 8:
        return {{{T::Testo, 1080, "Principale:"},
                 {T::Testo, 1081, "Amministrativo:"},
                 {T::Testo, 1082, "Commerciale:"},
                 {T::Testo, 1083, "Spedizioni:"},
                 {T::Scelta, 1085, "E-mail fatture:"},
                 {T::Scelta, 1086, "E-mail DDT:"},
                 {T::Scelta, 1087, "E-mail ordini:"},
                 {T::Scelta, 1088, "E-mail altri doc.:"},
                 {T::Scelta, 1089, "E-mail PEC:"}}};
    case 10:
        return {
            {{T::Testo, 8000, "Indirizzo stabile org.:"},
             {T::Breve, 8010, "CAP:"},
             {T::Testo, 8020, "Comune:"},
             {T::Breve, 8030, "Provincia:"},
             {T::Codice, 8040, "Stato:"}},
            {{T::Testo, 8050, "Rag. soc. rappr. fiscale:"},
             {T::Testo, 8060, "Cod. id. fiscale:"},
             {T::Codice, 8070, "Stato:"}},
        };
    default:
        return {};
    }
}

// The share of a page's width each of its columns takes: on the accounting
// and billing pages the columns with descriptions beside their codes (bank,
// payment, category, VAT code, carrier) take more, the last column holds
// short fields.
int quota(int pagina, size_t colonna)
{
    if (pagina != 3 && pagina != 4)
        return 1;
    return colonna == 0 ? 5 : colonna == 1 && pagina == 3 ? 5 : colonna == 1 ? 4 : 3;
}

QString testo(const char *t)
{
    return t ? QString::fromUtf8(t) : QString();
}

} // namespace

void frmClienti::CreaControlli()
{
    setWindowTitle(QStringLiteral("Clienti"));
    resize(1240, 760);
    auto *radice = new QVBoxLayout(this);
    radice->setContentsMargins(6, 4, 6, 2);
    radice->setSpacing(3);

    tolComPag = new QToolBar(this);
    tolComPag->setObjectName(QStringLiteral("tolComPag"));
    tolComPag->setIconSize(QSize(20, 20));
    radice->addWidget(tolComPag);

    CreaTestata();
    radice->addWidget(picTest);
    radice->addWidget(picDett);

    TasPagine = new QTabBar(this);
    TasPagine->setObjectName(QStringLiteral("TasPagine"));
    TasPagine->setExpanding(false);
    TasPagine->setDrawBase(true);
    for (const Scheda &s : kSchede) {
        const int i = TasPagine->addTab(QString::fromUtf8(s.didascalia));
        TasPagine->setTabData(i, QString::fromLatin1(s.chiave));
        if (s.tooltip)
            TasPagine->setTabToolTip(i, QString::fromUtf8(s.tooltip));
    }
    radice->addWidget(TasPagine);

    areaPagine = new QStackedWidget(this);
    areaPagine->setObjectName(QStringLiteral("areaPagine"));
    areaPagine->setFrameShape(QFrame::StyledPanel);
    radice->addWidget(areaPagine, 1);
    CreaPagine();

    auto *evid = new QFrame(this);
    evid->setFrameShape(QFrame::NoFrame);
    evid->setAutoFillBackground(true);
    QPalette pal = evid->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    evid->setPalette(pal);
    PicEvid.Aggiungi(0, evid);
    evid->hide();

    staMessaggi = new QStatusBar(this);
    m_pannelloDescr = new QLabel(staMessaggi);
    m_pannelloDescr->setObjectName(QStringLiteral("DescrCampo"));
    m_pannelloMsg = new QLabel(staMessaggi);
    m_pannelloMsg->setObjectName(QStringLiteral("Messaggio"));
    staMessaggi->addWidget(m_pannelloDescr, 1);
    staMessaggi->addWidget(m_pannelloMsg, 1);
    staMessaggi->setSizeGripEnabled(false);
    radice->addWidget(staMessaggi);

    TxtCodCli = new QLineEdit(this);
    TxtCodCli->setObjectName(QStringLiteral("TxtCodCli"));
    TxtCodCli->hide();

    LisTipoRif = new QListWidget(this);
    LisTipoRif->setObjectName(QStringLiteral("LisTipoRif"));
    LisTipoRif->addItems({QStringLiteral("Una Operazione"), QString::fromUtf8("Più Operazioni"),
                          QStringLiteral("Op. di un periodo")});
    // As wide as its longest item: the reference column takes its width.
    LisTipoRif->setFixedSize(LisTipoRif->sizeHintForColumn(0) + 2 * LisTipoRif->frameWidth() + 8, 64);
    LisTipoRif->hide();

    timTasPagine = UtilFinestre::CreaTimerUnoShot(this, [this] { timTasPagine_Timer(); });
    timComPag = UtilFinestre::CreaTimerUnoShot(this, [this] { timComPag_Timer(); });
    timVarie = UtilFinestre::CreaTimerUnoShot(this, [this] { timVarie_Timer(); });

    // The first-field settings name a field by its place in the Tab order.
    UtilFinestre::NumeraTabIndex(this);
}

void frmClienti::CreaTestata()
{
    picTest = new QWidget(this);
    picTest->setObjectName(QStringLiteral("picTest"));
    auto *riga = new QHBoxLayout(picTest);
    riga->setContentsMargins(0, 0, 0, 0);
    struct Chiave {
        int indice;
        const char *didascalia;
        int larghezza;
    };
    for (const Chiave &k : {Chiave{10, "Gruppo:", 44}, Chiave{20, "Mastro:", 44}, Chiave{30, "Conto:", 60}}) {
        auto *l = Label1.Aggiungi(k.indice, new QLabel(QString::fromUtf8(k.didascalia), picTest));
        auto *t = txt.Aggiungi(k.indice, new QLineEdit(picTest));
        t->setFixedWidth(k.larghezza);
        l->setBuddy(t);
        auto *b = ComHlp.Aggiungi(k.indice, new QToolButton(picTest));
        b->setText(QStringLiteral("..."));
        b->setFocusPolicy(Qt::NoFocus);
        riga->addWidget(l);
        riga->addWidget(t);
        riga->addWidget(b);
        Lab.Aggiungi(k.indice, new QLabel(picTest))->setMinimumWidth(k.indice == 30 ? 0 : 120);
        riga->addWidget(Lab(k.indice));
    }
    Lab(30)->hide();
    auto *tipo = txt.Aggiungi(35, new QLineEdit(picTest));
    tipo->hide();
    labMax = new QLabel(picTest);
    labMax->setObjectName(QStringLiteral("labMax"));
    labMax->setToolTip(QStringLiteral("Ultimo conto utilizzato nel mastro"));
    riga->addSpacing(12);
    riga->addWidget(labMax);
    riga->addStretch(1);
    ComHotel = new QPushButton(QStringLiteral("Leggi dati anagrafici da archivio Hotel"), picTest);
    ComHotel->setObjectName(QStringLiteral("ComHotel"));
    ComHotel->hide();
    riga->addWidget(ComHotel);

    picDett = new QWidget(this);
    picDett->setObjectName(QStringLiteral("picDett"));
    auto *g = new QGridLayout(picDett);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(2);
    struct Dett {
        int indice, riga, colonna, span;
        const char *didascalia;
    };
    for (const Dett &d : {Dett{40, 0, 0, 3, "Rag. sociale contabile:"}, Dett{50, 1, 0, 3, "Ragione sociale:"},
                          Dett{60, 2, 0, 3, "Rag. sociale 2ª parte:"}, Dett{70, 0, 4, 1, "Data creazione:"},
                          Dett{80, 1, 4, 1, "Data chiusura:"}}) {
        auto *l = Label1.Aggiungi(d.indice, new QLabel(QString::fromUtf8(d.didascalia), picDett));
        auto *t = txt.Aggiungi(d.indice, new QLineEdit(picDett));
        l->setBuddy(t);
        if (d.span == 1)
            t->setFixedWidth(90);
        g->addWidget(l, d.riga, d.colonna);
        g->addWidget(t, d.riga, d.colonna + 1, 1, d.span);
    }
    g->setColumnStretch(1, 1);
    g->setColumnMinimumWidth(4, 100);
}

void frmClienti::CreaPagine()
{
    for (int pag = 0; pag <= 10; ++pag) {
        auto *pagina = PicPagine.Aggiungi(pag, new QWidget);
        if (pag == 7 || pag == 9) {
            const int g = pag == 7 ? 0 : 1;
            auto *esterno = PicNoRic.Aggiungi(g, new QWidget);
            auto *l = new QVBoxLayout(esterno);
            l->setContentsMargins(0, 0, 0, 0);
            l->addWidget(pagina);
            areaPagine->addWidget(esterno);
            continue;
        }
        areaPagine->addWidget(pagina);
        if (pag == 6)
            continue;
        auto *righe = new QHBoxLayout(pagina);
        righe->setContentsMargins(8, 6, 8, 6);
        righe->setSpacing(18);
        const std::vector<Colonna> colonne = contenuto(pag);
        for (size_t nc = 0; nc < colonne.size(); ++nc) {
            const Colonna &colonna = colonne[nc];
            auto *griglia = new QGridLayout;
            griglia->setHorizontalSpacing(4);
            griglia->setVerticalSpacing(3);
            int r = 0;
            for (const Elemento &e : colonna) {
                const int i = e.indice;
                const CatalogoClienti::Voce *voce = CatalogoClienti::VoceIndice(i);
                const QString didascalia =
                    e.didascalia ? testo(e.didascalia)
                                 : (voce && voce->didascalia ? testo(voce->didascalia) : QString());
                auto *box = txt.Aggiungi(i, new QLineEdit(pagina));
                switch (e.tipo) {
                case Tipo::Testo:
                case Tipo::Breve:
                case Tipo::Codice: {
                    auto *l = Label1.Aggiungi(i, new QLabel(didascalia, pagina));
                    l->setBuddy(box);
                    griglia->addWidget(l, r, 0);
                    if (e.tipo == Tipo::Testo) {
                        griglia->addWidget(box, r, 1, 1, 3);
                    } else {
                        // A town's name is typed whole in its box.
                        const bool comune = i == 1030 || i == 1160;
                        box->setFixedWidth(e.tipo == Tipo::Breve ? 96 : comune ? 170 : 84);
                        griglia->addWidget(box, r, 1);
                    }
                    if (e.tipo == Tipo::Codice) {
                        auto *b = ComHlp.Aggiungi(i, new QToolButton(pagina));
                        b->setText(QStringLiteral("..."));
                        b->setFocusPolicy(Qt::NoFocus);
                        b->setToolTip(QStringLiteral("Ricerca (F2)"));
                        griglia->addWidget(b, r, 2);
                        auto *d = Lab.Aggiungi(i, new EtichettaDescrizione(pagina));
                        d->setMinimumWidth(120);
                        d->setFrameShape(QFrame::StyledPanel);
                        griglia->addWidget(d, r, 3);
                    }
                    break;
                }
                case Tipo::Nota: {
                    auto *l = Label1.Aggiungi(i, new QLabel(didascalia, pagina));
                    l->setBuddy(box);
                    griglia->addWidget(l, r++, 0, 1, 4);
                    box->setMinimumHeight(pag == 1 ? 60 : 28);
                    griglia->addWidget(box, r, 0, 1, 4);
                    break;
                }
                case Tipo::Casella: {
                    box->hide();
                    const auto *c = TabelleSpecchio::CasellaIndice(i);
                    auto *ch = Che.Aggiungi(i, new CasellaVb(testo(c ? c->didascalia : nullptr), pagina));
                    griglia->addWidget(ch, r, 0, 1, 4);
                    break;
                }
                case Tipo::Scelta: {
                    box->hide();
                    auto *l = Label1.Aggiungi(i, new QLabel(didascalia, pagina));
                    auto *cb = Combo.Aggiungi(i, new QComboBox(pagina));
                    l->setBuddy(cb);
                    if (const auto *c = TabelleSpecchio::ComboIndice(i)) {
                        if (TabelleSpecchio::ComboEmail(i))
                            for (int k = 0; k < 5; ++k)
                                cb->addItem(k == 0 ? QStringLiteral("Scelta predefinita") : QString(), 0);
                        else
                            for (int k = 0; k < c->voci.size(); ++k)
                                cb->addItem(c->voci[k],
                                            c->modo == TabelleSpecchio::ModoCombo::Livelli ? 0 : k);
                    }
                    cb->setCurrentIndex(-1);
                    // A long item does not widen its column at the expense of
                    // the descriptions beside the codes; the open list shows it whole.
                    cb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
                    cb->setMinimumContentsLength(12);
                    griglia->addWidget(l, r, 0);
                    griglia->addWidget(cb, r, 1, 1, 3);
                    break;
                }
                case Tipo::Gruppo: {
                    box->hide();
                    const TabelleSpecchio::Gruppo quale = i == 1120 ? TabelleSpecchio::Gruppo::StatoGiuridico
                                                          : i == 1130 ? TabelleSpecchio::Gruppo::Sesso
                                                                      : TabelleSpecchio::Gruppo::AllegaPdf;
                    const auto &def = TabelleSpecchio::Opzioni(quale);
                    auto &gruppo = quale == TabelleSpecchio::Gruppo::StatoGiuridico ? OptStatoGiu
                                   : quale == TabelleSpecchio::Gruppo::Sesso        ? OptSesso
                                                                                    : OptFEAllegPdf;
                    auto *cornice = new QGroupBox(testo(def.didascalia), pagina);
                    auto *hl = new QHBoxLayout(cornice);
                    hl->setContentsMargins(6, 2, 6, 2);
                    for (int k = 0; k < def.opzioni.size(); ++k)
                        hl->addWidget(gruppo.Aggiungi(k, new QRadioButton(def.opzioni[k], cornice)));
                    hl->addStretch(1);
                    if (i == 1130)
                        Fra.Aggiungi(1130, cornice);
                    griglia->addWidget(cornice, r, 0, 1, 4);
                    break;
                }
                }
                ++r;
            }
            griglia->setRowStretch(r, 1);
            griglia->setColumnStretch(3, 1);
            righe->addLayout(griglia, quota(pag, nc));
        }
    }
    // The personal fields stay hidden until a personal description names them.
    for (int i : {1182, 1184, 1185, 1190, 1192, 1194}) {
        txt(i)->hide();
        Label1(i)->hide();
    }

    // Running totals: the general-ledger utilities, shown by that page.
    auto *prog = new QVBoxLayout(PicPagine(6));
    ComGesProgr = new QPushButton(QStringLiteral("Gestione Progressivi"), PicPagine(6));
    ComGesProgr->setObjectName(QStringLiteral("ComGesProgr"));
    ComGesProgrIVA = new QPushButton(QStringLiteral("Gestione Progressivi IVA"), PicPagine(6));
    ComGesProgrIVA->setObjectName(QStringLiteral("ComGesProgrIVA"));
    auto *bottoni = new QHBoxLayout;
    bottoni->addWidget(ComGesProgr);
    bottoni->addWidget(ComGesProgrIVA);
    bottoni->addStretch(1);
    prog->addLayout(bottoni);
    prog->addStretch(1);

    CreaGriglie();
}

void frmClienti::CreaGriglie()
{
    for (int g = 0; g < 2; ++g) {
        QWidget *pagina = PicPagine(g == 0 ? 7 : 9);
        auto *l = new QVBoxLayout(pagina);
        l->setContentsMargins(4, 4, 4, 4);
        l->setSpacing(3);
        auto *testa = new QHBoxLayout;
        if (g == 1) {
            auto *titolo = Label1.Aggiungi(66, new QLabel(QStringLiteral("Dich. Intenti"), pagina));
            testa->addWidget(titolo);
        }
        auto *barra = tolComlin.Aggiungi(g, new QToolBar(pagina));
        barra->setIconSize(QSize(18, 18));
        testa->addWidget(barra, 1);
        auto *contatore = txtRiga.Aggiungi(g, new QLineEdit(pagina));
        contatore->setReadOnly(true);
        contatore->setFocusPolicy(Qt::NoFocus);
        contatore->setFixedWidth(90);
        contatore->setAlignment(Qt::AlignCenter);
        testa->addWidget(contatore);
        l->addLayout(testa);
        auto *griglia = dbgRiga.Aggiungi(g, new QTableView(pagina));
        griglia->horizontalHeader()->setStretchLastSection(true);
        griglia->verticalHeader()->setDefaultSectionSize(22);
        l->addWidget(griglia, 1);
        if (g == 1) {
            auto *totali = new QHBoxLayout;
            struct Tot {
                int etichetta, valore;
                const char *didascalia;
            };
            for (const Tot &t : {Tot{7010, 7010, "Totale imponibile in:  Fatture:"}, Tot{98, 7020, "DDT:"},
                                 Tot{99, 7030, "Ordini:"}}) {
                auto *e = Label1.Aggiungi(t.etichetta, new QLabel(QString::fromUtf8(t.didascalia), pagina));
                e->setAutoFillBackground(true);
                auto *v = Lab.Aggiungi(t.valore, new QLabel(pagina));
                v->setMinimumWidth(110);
                v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                v->setFrameShape(QFrame::StyledPanel);
                QPalette pal = v->palette();
                pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
                v->setPalette(pal);
                totali->addWidget(e);
                totali->addWidget(v);
                totali->addSpacing(10);
            }
            totali->addStretch(1);
            l->addLayout(totali);
        }
    }
}

void frmClienti::CollegaEventi()
{
    adattatore = new AdattatoreEventi(this);
    GestoriEventi campi;
    campi.GotFocus = [this](int i) { txt_GotFocus(i); };
    campi.LostFocus = [this](int i) { txt_LostFocus(i); };
    campi.Change = [this](int i) { txt_Change(i); };
    campi.KeyUp = [this](int i, int &k, int s) { txt_KeyUp(i, k, s); };
    adattatore->Collega(txt, campi);

    GestoriEventi caselle;
    caselle.Click = [this](int i) { Che_Click(i); };
    caselle.GotFocus = [this](int i) { Che_GotFocus(i); };
    caselle.KeyUp = [this](int i, int &k, int s) { Che_KeyUp(i, k, s); };
    adattatore->Collega(Che, caselle);

    GestoriEventi combo;
    combo.KeyDown = [this](int i, int &k, int s) { Combo_KeyDown(i, k, s); };
    combo.LostFocus = [this](int i) { Combo_LostFocus(i); };
    adattatore->Collega(Combo, combo);

    auto opzioni = [this](ControlArray<QRadioButton> &gruppo, std::function<void(int)> click) {
        GestoriEventi g;
        g.Click = std::move(click);
        g.KeyUp = [this, &gruppo](int, int &k, int) { Opt_KeyUp(gruppo, k); };
        adattatore->Collega(gruppo, g);
    };
    opzioni(OptStatoGiu, [this](int i) { OptStatoGiu_Click(i); });
    opzioni(OptSesso, [this](int i) { OptSesso_Click(i); });
    opzioni(OptFEAllegPdf, [this](int i) { OptFEAllegPdf_Click(i); });

    // The right button clears check boxes and option groups: VB's MouseDown.
    for (auto [i, c] : Che)
        c->installEventFilter(this);
    for (auto *gruppo : {&OptStatoGiu, &OptSesso, &OptFEAllegPdf})
        for (auto [i, o] : *gruppo)
            o->installEventFilter(this);

    for (auto [i, b] : ComHlp)
        connect(b, &QToolButton::clicked, this, [this, i = i] { RipetiKeyUp(this, i, 113, 0); });

    GestoriEventi lista;
    lista.LostFocus = [this](int) { LisTipoRif_LostFocus(); };
    adattatore->Collega(LisTipoRif, -1, lista);
    connect(LisTipoRif, &QListWidget::itemClicked, this, [this] { LisTipoRif_Click(); });

    connect(TasPagine, &QTabBar::currentChanged, this, [this](int nuovo) {
        if (m_inRipristinoTab)
            return;
        int cancel = 0;
        TasPagine_BeforeClick(cancel);
        if (cancel) {
            const QSignalBlocker blocco(TasPagine);
            TasPagine->setCurrentIndex(PagAttuale);
            return;
        }
        (void)nuovo;
        TasPagine_Click();
    });

    connect(ComHotel, &QPushButton::clicked, this, [this] { ComHotel_Click(); });

    GestoriForm form;
    form.KeyDown = [this](int &k, int s) { Form_KeyDown(k, s); };
    form.KeyPress = [this](int &a) { Form_KeyPress(a); };
    adattatore->ImpostaKeyPreview(form);
}

bool frmClienti::eventFilter(QObject *obj, QEvent *ev)
{
    if (ev->type() == QEvent::MouseButtonPress) {
        // A control disabled, or in a disabled frame, takes no mouse input.
        const auto *controllo = qobject_cast<const QWidget *>(obj);
        if (!controllo || !controllo->isEnabled())
            return QWidget::eventFilter(obj, ev);
        auto *m = static_cast<QMouseEvent *>(ev);
        const int bottone = m->button() == Qt::RightButton ? 2 : m->button() == Qt::LeftButton ? 1 : 4;
        if (Che.Contiene(obj)) {
            Che_MouseDown(IndiceControllo(obj), bottone);
            return bottone == 2;
        }
        for (auto *gruppo : {&OptStatoGiu, &OptSesso, &OptFEAllegPdf})
            if (gruppo->Contiene(obj)) {
                Opt_MouseDown(*gruppo, bottone);
                return bottone == 2;
            }
    }
    return QWidget::eventFilter(obj, ev);
}
