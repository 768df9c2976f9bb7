// The customer list window's controls: toolbar, search fields, the text
// search panel, the grid and the row counter, and the wiring of their events.
#include "lists/frmClientiLis.h"

#include "components/forms/AdattatoreEventi.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace
{

struct CampoPannello {
    int indice;
    const char *etichetta;
    int riga, colonna, larghezza;
};

// The nine search fields: three rows of the panel.
const CampoPannello kCampi[] = {
    {10, "Cliente da:", 0, 0, 90},
    {20, "a:", 0, 2, 90},
    {30, "In Rag.Sociale Cont.:", 0, 4, 240},
    {40, "Partita iva:", 1, 0, 130},
    {50, "Codice fiscale:", 1, 2, 170},
    {60, "Data creazione da:", 2, 0, 90},
    {65, "a:", 2, 2, 90},
    {70, "Zona:", 1, 4, 60},
    {75, "Agente:", 2, 4, 70},
};

} // namespace

void frmClientiLis::CreaControlli()
{
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(6, 6, 6, 6);
    l->setSpacing(4);

    tolComlin = new QToolBar(this);
    tolComlin->setObjectName(QStringLiteral("tolComlin"));
    tolComlin->setIconSize(QSize(20, 20));
    l->addWidget(tolComlin);

    auto *pannello = new QGridLayout;
    pannello->setHorizontalSpacing(6);
    for (const CampoPannello &c : kCampi) {
        auto *e = Label1.Aggiungi(c.indice, new QLabel(QString::fromUtf8(c.etichetta), this));
        auto *t = txt.Aggiungi(c.indice, new QLineEdit(this));
        t->setMinimumWidth(c.larghezza);
        if (c.indice != 30)
            t->setMaximumWidth(c.larghezza + 60);
        e->setBuddy(t);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pannello->addWidget(e, c.riga, c.colonna);
        pannello->addWidget(t, c.riga, c.colonna + 1);
    }
    txt(10)->setMaxLength(20);
    txt(20)->setMaxLength(20);
    txt(60)->setMaxLength(10);
    txt(65)->setMaxLength(10);
    pannello->setColumnStretch(5, 1);
    l->addLayout(pannello);

    FraCerca = new QGroupBox(this);
    FraCerca->setObjectName(QStringLiteral("FraCerca"));
    auto *cerca = new QHBoxLayout(FraCerca);
    cerca->setContentsMargins(6, 4, 6, 4);
    ComCerca = new QPushButton(QStringLiteral("Cerca in:"), FraCerca);
    ComCerca->setObjectName(QStringLiteral("ComCerca"));
    CobCerca = new QComboBox(FraCerca);
    CobCerca->setObjectName(QStringLiteral("CobCerca"));
    CobCerca->setMinimumContentsLength(18);
    txtCerca = new QLineEdit(FraCerca);
    txtCerca->setObjectName(QStringLiteral("txtCerca"));
    txtCerca->setPlaceholderText(QStringLiteral("testo da cercare"));
    LabCerca = new QLabel(QStringLiteral("Direzione ricerca:"), FraCerca);
    LabCerca->setObjectName(QStringLiteral("LabCerca"));
    fraCercaOpt = new QGroupBox(QStringLiteral("Direzione Ricerca"), FraCerca);
    fraCercaOpt->setObjectName(QStringLiteral("fraCercaOpt"));
    fraCercaOpt->setFlat(true);
    auto *direzioni = new QHBoxLayout(fraCercaOpt);
    direzioni->setContentsMargins(4, 0, 4, 0);
    const char *nomi[] = {"Primo", "Successivo", "Precedente", "Ultimo"};
    for (int i = 0; i < 4; ++i)
        direzioni->addWidget(
            optDirez.Aggiungi(i, new QRadioButton(QString::fromLatin1(nomi[i]), fraCercaOpt)));
    optDirez(0)->setChecked(true);
    // The frame's own title says it; the label stays for the windows that show it.
    LabCerca->hide();
    cerca->addWidget(ComCerca);
    cerca->addWidget(CobCerca);
    cerca->addWidget(txtCerca, 1);
    cerca->addWidget(LabCerca);
    cerca->addWidget(fraCercaOpt);
    l->addWidget(FraCerca);

    dbgRiga = new QTableView(this);
    dbgRiga->setObjectName(QStringLiteral("dbgRiga"));
    dbgRiga->viewport()->setMouseTracking(true);
    l->addWidget(dbgRiga, 1);

    auto *fondo = new QHBoxLayout;
    txtRiga = new QLineEdit(QStringLiteral("99999 / 99999"), this);
    txtRiga->setObjectName(QStringLiteral("txtRiga"));
    txtRiga->setReadOnly(true);
    txtRiga->setFocusPolicy(Qt::NoFocus);
    txtRiga->setAlignment(Qt::AlignCenter);
    txtRiga->setMaximumWidth(160);
    fondo->addStretch(1);
    fondo->addWidget(txtRiga);
    l->addLayout(fondo);

    timVarie = new QTimer(this);
    timVarie->setSingleShot(true);
    timVarie->setInterval(0);
    timResize = new QTimer(this);
    timResize->setSingleShot(true);
    timResize->setInterval(0);
}

void frmClientiLis::CollegaEventi()
{
    adattatore = new AdattatoreEventi(this);
    GestoriEventi campi;
    campi.GotFocus = [this](int i) { txt_GotFocus(i); };
    campi.LostFocus = [this](int i) { txt_LostFocus(i); };
    campi.KeyDown = [this](int i, int &k, int s) { txt_KeyDown(i, k, s); };
    adattatore->Collega(txt, campi);

    GestoriEventi cercaCampo;
    cercaCampo.GotFocus = [this](int) { txtCerca_GotFocus(); };
    cercaCampo.LostFocus = [this](int) { txtCerca_LostFocus(); };
    adattatore->Collega(txtCerca, -1, cercaCampo);

    GestoriEventi griglia;
    griglia.KeyDown = [this](int, int &k, int s) { dbgRiga_KeyDown(k, s); };
    adattatore->Collega(dbgRiga, -1, griglia);
    connect(dbgRiga, &QTableView::clicked, this, [this] { dbgRiga_Click(); });
    connect(dbgRiga, &QTableView::doubleClicked, this, [this] { dbgRiga_DblClick(); });
    connect(dbgRiga->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int colonna) { dbgRiga_HeadClick(colonna); });
    connect(dbgRiga->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int colonna, int, int) { dbgRiga_ColResize(colonna); });
    dbgRiga->viewport()->installEventFilter(this);

    connect(ComCerca, &QPushButton::clicked, this, [this] { ButtonComando(QStringLiteral("Cerca")); });
    connect(timVarie, &QTimer::timeout, this, &frmClientiLis::timVarie_Timer);
    connect(timResize, &QTimer::timeout, this, &frmClientiLis::timResize_Timer);

    GestoriForm form;
    form.KeyDown = [this](int &k, int s) { Form_KeyDown(k, s); };
    form.KeyPress = [this](int &a) { Form_KeyPress(a); };
    adattatore->ImpostaKeyPreview(form);
}

bool frmClientiLis::eventFilter(QObject *obj, QEvent *ev)
{
    if (dbgRiga && obj == dbgRiga && ev->type() == QEvent::KeyPress)
        selezioneInSospeso();
    if (dbgRiga && obj == dbgRiga->viewport() && ev->type() == QEvent::MouseMove) {
        selezioneInSospeso();
        if (dbgRiga)
            dbgRiga_MouseMove(int(static_cast<QMouseEvent *>(ev)->position().y()));
    }
    return QWidget::eventFilter(obj, ev);
}

void frmClientiLis::selezioneInSospeso()
{
    // A click selects the row clicked once the grid has settled (timVarie).
    // A key or a move of the mouse that comes in before the timer would
    // move the current row first and the customer of another row would go
    // to the form: the click's selection is made now, before them.
    if (timVarie->isActive() && AzioneTimer == 1)
        timVarie_Timer();
}
