// The lookup window.
#include "components/aiuto/frmRicerca.h"
#include "components/forms/UtilFinestre.h"

#include "components/aiuto/ModelloRicerca.h"
#include "components/db/Risultato.h"
#include "components/util/FormatoVb.h"
#include "components/util/VbErrore.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <algorithm>

frmRicerca::frmRicerca(AiutoDecod &aiuto, const DefRicerca &def, const QList<ColonnaRicerca> &colonne,
                       QWidget *parent)
    : QDialog(parent), m_aiuto(aiuto), m_def(def)
{
    setObjectName(QStringLiteral("frmRicerca"));
    setWindowTitle(def.titolo.isEmpty() ? QStringLiteral("Ricerca")
                                        : QStringLiteral("Ricerca ") + def.titolo);
    setSizeGripEnabled(true);

    m_cerca = new QLineEdit(this);
    m_cerca->setObjectName(QStringLiteral("txtCerca"));
    m_cerca->setClearButtonEnabled(true);
    m_cerca->setPlaceholderText(QStringLiteral("Scrivere parte del codice o della descrizione"));
    auto *labCerca = new QLabel(QStringLiteral("&Cerca:"), this);
    labCerca->setBuddy(m_cerca);
    m_optCodice = new QRadioButton(QStringLiteral("per C&odice"), this);
    m_optDescrizione = new QRadioButton(QStringLiteral("per &Descrizione"), this);

    m_modello = new ModelloRicerca(colonne, this);
    m_griglia = new QTableView(this);
    m_griglia->setObjectName(QStringLiteral("grdRicerca"));
    m_griglia->setModel(m_modello);
    m_griglia->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_griglia->setSelectionMode(QAbstractItemView::SingleSelection);
    m_griglia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_griglia->setTabKeyNavigation(false);
    m_griglia->verticalHeader()->setVisible(false);
    m_griglia->verticalHeader()->setDefaultSectionSize(m_griglia->fontMetrics().height() + 6);
    m_griglia->horizontalHeader()->setStretchLastSection(true);
    const int car = m_griglia->fontMetrics().averageCharWidth();
    for (int i = 0; i < colonne.size(); ++i)
        m_griglia->setColumnWidth(i, car * (colonne.at(i).larghezza > 0 ? colonne.at(i).larghezza + 2 : 14));

    m_stato = new QLabel(this);
    m_seleziona = new QPushButton(QStringLiteral("&Seleziona"), this);
    m_nuovo = new QPushButton(QStringLiteral("&Nuovo"), this);
    m_nuovo->setVisible(false);
    m_annulla = new QPushButton(QStringLiteral("&Annulla"), this);
    m_seleziona->setAutoDefault(false);
    m_nuovo->setAutoDefault(false);
    m_annulla->setAutoDefault(false);

    auto *alto = new QHBoxLayout;
    alto->addWidget(labCerca);
    alto->addWidget(m_cerca, 1);
    alto->addWidget(m_optCodice);
    alto->addWidget(m_optDescrizione);
    auto *basso = new QHBoxLayout;
    basso->addWidget(m_stato, 1);
    basso->addWidget(m_nuovo);
    basso->addWidget(m_seleziona);
    basso->addWidget(m_annulla);
    auto *l = new QVBoxLayout(this);
    l->addLayout(alto);
    l->addWidget(m_griglia, 1);
    l->addLayout(basso);
    resize(car * 100, m_griglia->verticalHeader()->defaultSectionSize() * 18);

    // Typing waits for a short pause before asking the database again.
    m_attesa = new QTimer(this);
    m_attesa->setSingleShot(true);
    m_attesa->setInterval(150);
    connect(m_attesa, &QTimer::timeout, this, &frmRicerca::AggiornaOra);
    connect(m_cerca, &QLineEdit::textEdited, this, [this] { m_attesa->start(); });
    connect(m_optCodice, &QRadioButton::clicked, this, [this] {
        m_perDescrizione = false;
        AggiornaOra();
    });
    connect(m_optDescrizione, &QRadioButton::clicked, this, [this] {
        m_perDescrizione = true;
        AggiornaOra();
    });
    connect(m_griglia, &QTableView::doubleClicked, this, [this](const QModelIndex &i) {
        m_griglia->setCurrentIndex(i);
        scegli();
    });
    connect(m_seleziona, &QPushButton::clicked, this, &frmRicerca::scegli);
    connect(m_annulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_nuovo, &QPushButton::clicked, this, [this] {
        m_aiuto.LanciaProgramma(m_def.programma, m_cerca->text().trimmed());
        reject();
    });
    m_cerca->installEventFilter(this);
    m_griglia->installEventFilter(this);
    m_cerca->setFocus();
}

frmRicerca::~frmRicerca()
{
    UtilFinestre::StaccaFinestra(this);
}

void frmRicerca::Imposta(const QString &testo, AiutoDecod::Cerca modo, bool perDescrizione,
                         const QString &condizione, bool nuovo)
{
    m_modo = modo;
    m_perDescrizione = perDescrizione;
    m_condizione = condizione;
    (perDescrizione ? m_optDescrizione : m_optCodice)->setChecked(true);
    m_nuovo->setVisible(nuovo);
    m_cerca->setText(testo);
    AggiornaOra();
}

const Risultato *frmRicerca::Righe() const
{
    return m_modello->Righe();
}

int frmRicerca::NumRighe() const
{
    return m_modello->rowCount();
}

void frmRicerca::AggiornaOra()
{
    m_attesa->stop();
    const int colonna = qMax(0, m_griglia->currentIndex().column());
    try {
        const QString sql = m_aiuto.SqlRighe(m_def, m_modello->Colonne(), m_cerca->text(), m_modo,
                                             m_perDescrizione, m_condizione);
        m_modello->ImpostaRighe(m_aiuto.Righe(m_def, sql));
    } catch (const VbErrore &e) {
        m_modello->ImpostaRighe(nullptr);
        m_stato->setText(QStringLiteral("Errore(%1): %2").arg(e.numero()).arg(e.descrizione()));
        return;
    }
    if (m_modello->rowCount() > 0)
        m_griglia->setCurrentIndex(m_modello->index(0, qMin(colonna, m_modello->columnCount() - 1)));
    adattaColonne();
    aggiornaStato();
}

void frmRicerca::adattaColonne()
{
    // Columns without a width of their own (the code among them) grow to
    // their caption and the rows shown, up to 40 characters; they never
    // shrink, so the grid does not jump while the user types. The last
    // column takes what is left.
    const int car = m_griglia->fontMetrics().averageCharWidth();
    const QList<ColonnaRicerca> &colonne = m_modello->Colonne();
    for (int i = 0; i + 1 < colonne.size(); ++i) {
        if (colonne.at(i).larghezza > 0)
            continue;
        const int prima = m_griglia->columnWidth(i);
        m_griglia->resizeColumnToContents(i);
        m_griglia->setColumnWidth(i, std::max(prima, std::min(m_griglia->columnWidth(i), car * 40)));
    }
    // The window widens, within the screen, until the last column has its room.
    if (colonne.isEmpty())
        return;
    int serve = 0;
    for (int i = 0; i + 1 < colonne.size(); ++i)
        serve += m_griglia->columnWidth(i);
    const int ultima = colonne.last().larghezza;
    serve += car * (ultima > 0 ? ultima + 2 : 14);
    const int manca = serve - m_griglia->viewport()->width();
    const QScreen *schermo = screen() ? screen() : QGuiApplication::primaryScreen();
    const int massima = schermo ? schermo->availableGeometry().width() * 9 / 10 : width();
    if (manca > 0 && width() < massima)
        resize(std::min(width() + manca, massima), height());
}

void frmRicerca::aggiornaStato()
{
    const int n = m_modello->rowCount();
    m_stato->setText(n == 0 ? QStringLiteral("Nessun elemento trovato")
                            : (n == 1 ? QStringLiteral("1 elemento")
                                      : QStringLiteral("%1 elementi").arg(FormatoVb::Intero(n))));
    m_seleziona->setEnabled(n > 0);
}

void frmRicerca::scegli()
{
    if (m_attesa->isActive())
        AggiornaOra();
    const QModelIndex i = m_griglia->currentIndex();
    if (!i.isValid() || m_modello->rowCount() == 0)
        return;
    m_riga = i.row();
    m_colonna = m_modello->Colonne().value(i.column()).nome;
    accept();
}

void frmRicerca::spostaRiga(int tastoQt)
{
    // The search box keeps the focus while the arrows move through the rows.
    QKeyEvent ev(QEvent::KeyPress, tastoQt, Qt::NoModifier);
    QCoreApplication::sendEvent(m_griglia, &ev);
}

bool frmRicerca::eventFilter(QObject *obj, QEvent *ev)
{
    if (ev->type() != QEvent::KeyPress)
        return QDialog::eventFilter(obj, ev);
    auto *k = static_cast<QKeyEvent *>(ev);
    switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        scegli();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (obj == m_cerca) {
            if (m_attesa->isActive())
                AggiornaOra();
            spostaRiga(k->key());
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(obj, ev);
}
