// List engine: set-up, the grid and its columns, opening and reading the rows,
// the row counter.
#include "components/lista/GestLista.h"

#include "components/lista/ChiamanteLista.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/util/VbErrore.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

namespace
{

struct VoceComando {
    const char *chiave;
    const char *tooltip;
};

// The list commands in toolbar order.
// Milliseconds the count waits for the grid's first paint at most.
constexpr int kRiservaPittura = 250;

const VoceComando kComandi[] = {
    {"Seleziona", "Seleziona la riga nella scheda"},
    {"Aggiorna", "Aggiorna la lista con i criteri di ricerca"},
    {"VaiA", "Torna alla riga selezionata"},
    {"Stampa", "(T) Stampa la lista"},
    {"Chiudi", "(H) Chiudi"},
    {"Menu", "(M) Menu"},
};

QStyle::StandardPixmap iconaStandard(const QString &chiave)
{
    static const QHash<QString, QStyle::StandardPixmap> icone = {
        {QStringLiteral("seleziona"), QStyle::SP_DialogApplyButton},
        {QStringLiteral("aggiorna"), QStyle::SP_BrowserReload},
        {QStringLiteral("vaia"), QStyle::SP_ArrowRight},
        {QStringLiteral("stampa"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("chiudi"), QStyle::SP_DialogCloseButton},
        {QStringLiteral("menu"), QStyle::SP_DirHomeIcon},
    };
    return icone.value(chiave.toLower(), QStyle::SP_CustomBase);
}

} // namespace

GestLista::GestLista(QObject *parent) : QObject(parent), m_modello(std::make_unique<ModelloLista>())
{
    m_timConta = new QTimer(this);
    m_timConta->setSingleShot(true);
    m_timConta->setInterval(0);
    connect(m_timConta, &QTimer::timeout, this, &GestLista::contaRighe);
    m_timAvvio = new QTimer(this);
    m_timAvvio->setSingleShot(true);
    m_timAvvio->setInterval(0);
    connect(m_timAvvio, &QTimer::timeout, this, &GestLista::avviaOra);
    m_conteggio = new ConteggioParallelo(this);
    connect(m_conteggio, &ConteggioParallelo::Contate, this, [this](int apertura, int righe) {
        // The landmarks, when asked for, follow on the same thread.
        if (apertura == m_righe.Apertura() && !m_righe.SegnapostiInArrivo())
            m_contaInCorso = -1;
        m_righe.ImpostaConteggio(apertura, righe);
        m_modello->Sincronizza();
        aggiornaContatore();
    });
    // The landmarks (none when they could not be read): the cells left blank
    // meanwhile are read now, from the nearest landmark or by skipping rows.
    connect(m_conteggio, &ConteggioParallelo::Segnaposti, this,
            [this](int apertura, int passo, const QList<QVariantList> &righe) {
                if (apertura == m_righe.Apertura())
                    m_contaInCorso = -1;
                m_righe.ImpostaSegnaposti(apertura, passo, righe);
                m_modello->RinfrescaRinviate();
            });
    m_modello->ImpostaConteggioAltrove([this] { return contaAltrove(); });
    // The place of the row shown first in a new order, counted apart; a
    // count that could not be made there is made here.
    m_posizione = new ConteggioParallelo(this);
    connect(m_posizione, &ConteggioParallelo::Contate, this, [this](int ancoraggio, int righe) {
        // Placing the rows reads their page (and the one of the row the user is on).
        try {
            colloca(ancoraggio, [&] { m_righe.ImpostaPosizione(ancoraggio, righe); });
        } catch (const VbErrore &e) {
            erroreLettura(e.numero(), e.descrizione());
        }
    });
    connect(m_posizione, &ConteggioParallelo::Fallito, this, [this](int ancoraggio, int, const QString &) {
        if (ancoraggio != m_righe.Ancoraggio() || m_righe.PosizioneNota())
            return;
        try {
            colloca(ancoraggio, [this] { m_righe.Assesta(); });
        } catch (const VbErrore &e) {
            erroreLettura(e.numero(), e.descrizione());
        }
    });
    m_righe.ImpostaAvvisoSpostamento([this](int spostamento) { spostaRighe(spostamento); });
    // A count that failed on its own connection is made again here, where a
    // failure is said to the user.
    connect(m_conteggio, &ConteggioParallelo::Fallito, this, [this](int apertura, int, const QString &) {
        if (apertura != m_righe.Apertura() || !m_righe.Aperta())
            return;
        m_contaInCorso = -1;
        m_righe.ImpostaSegnapostiInArrivo(false);
        m_modello->RinfrescaRinviate();
        m_timConta->start();
    });
    connect(m_modello.get(), &ModelloLista::erroreDati, this, &GestLista::erroreLettura);
    connect(m_modello.get(), &QAbstractItemModel::rowsInserted, this, [this] {
        aggiornaContatore();
        // The grid learns of its rows before it lays them out: it goes to
        // the last one after.
        if (m_fondoVoluto == m_righe.Apertura() && m_righe.ConteggioNoto())
            QMetaObject::invokeMethod(this, &GestLista::vaiInFondo, Qt::QueuedConnection);
    });
    connect(m_modello.get(), &QAbstractItemModel::rowsRemoved, this, &GestLista::aggiornaContatore);
}

GestLista::~GestLista()
{
    // A search under way leaves the window's cursor as it was.
    fermaRicerca();
    if (m_griglia)
        m_griglia->setModel(nullptr);
}

void GestLista::ImpostaForm(ChiamanteLista *owner)
{
    m_owner = owner;
}

QStringList GestLista::Comandi()
{
    QStringList r;
    for (const VoceComando &v : kComandi)
        r << QString::fromLatin1(v.chiave);
    return r;
}

void GestLista::ImpostaToolbar(QToolBar *barra)
{
    m_barra = barra;
    if (!barra)
        return;
    if (barra->actions().isEmpty()) {
        for (const VoceComando &v : kComandi) {
            const QString chiave = QString::fromLatin1(v.chiave);
            QAction *a = barra->addAction(barra->style()->standardIcon(iconaStandard(chiave)),
                                          QString::fromUtf8(v.tooltip));
            a->setObjectName(chiave);
            a->setToolTip(QString::fromUtf8(v.tooltip));
        }
        if (QAction *s = Bottone(QStringLiteral("Stampa")))
            s->setVisible(false);
        if (QAction *v = Bottone(QStringLiteral("VaiA")))
            v->setEnabled(false);
    }
    for (QAction *a : barra->actions()) {
        if (a->objectName().isEmpty())
            continue;
        connect(a, &QAction::triggered, this, [this, chiave = a->objectName()] {
            if (m_owner)
                m_owner->ButtonComando(chiave);
        });
    }
}

QAction *GestLista::Bottone(const QString &chiave) const
{
    if (!m_barra)
        return nullptr;
    for (QAction *a : m_barra->actions())
        if (a->objectName().compare(chiave, Qt::CaseInsensitive) == 0)
            return a;
    return nullptr;
}

void GestLista::ImpostaContatore(QLineEdit *txtRiga)
{
    m_txtRiga = txtRiga;
}

void GestLista::ImpostaGriglia(QTableView *dbgRiga)
{
    m_griglia = dbgRiga;
    if (!dbgRiga)
        return;
    dbgRiga->setModel(m_modello.get());
    dbgRiga->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgRiga->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgRiga->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgRiga->setWordWrap(false);
    dbgRiga->setAlternatingRowColors(true);
    // Every row has the same height: the view never measures the rows.
    QHeaderView *v = dbgRiga->verticalHeader();
    v->setSectionResizeMode(QHeaderView::Fixed);
    v->setDefaultSectionSize(dbgRiga->fontMetrics().height() + 6);
    v->hide();
    dbgRiga->horizontalHeader()->setSectionsClickable(true);
    dbgRiga->horizontalHeader()->setMinimumSectionSize(12);
    dbgRiga->horizontalHeader()->setHighlightSections(false);
    dbgRiga->setSortingEnabled(false);
    connect(dbgRiga->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        // A row chosen: the grid stays on it.
        m_fondoVoluto = -1;
        aggiornaContatore();
    });
    dbgRiga->viewport()->installEventFilter(this);
    dbgRiga->installEventFilter(this);
    // The thumb dragged to the end of the rows known, or the scroll bar sent
    // to its end, while they are not counted: the user wants the last row,
    // which the count will tell. The wheel, the arrows and the keys that
    // reach that end merely scroll to it. An action of the scroll bar is
    // told before its value changes (and so before the grid asks for more
    // rows); any other (a wheel turn, an arrow, the thumb leaving the end),
    // an arrow key or a row chosen drops the wish, also at the end. The
    // range growing with the rows leaves the value, and the wish, alone.
    QScrollBar *barra = dbgRiga->verticalScrollBar();
    connect(barra, &QAbstractSlider::actionTriggered, this, [this, barra](int azione) {
        const bool fondo = barra->sliderPosition() >= barra->maximum();
        if (azione == QAbstractSlider::SliderToMaximum ||
            (azione == QAbstractSlider::SliderMove && barra->isSliderDown() && fondo))
            segnaFondo();
        else
            m_fondoVoluto = -1;
    });
    connect(barra, &QAbstractSlider::sliderReleased, this, [this, barra] {
        if (barra->sliderPosition() >= barra->maximum())
            segnaFondo();
    });
}

void GestLista::segnaFondo(bool corrente)
{
    if (m_righe.Aperta() && (!m_righe.ConteggioNoto() || !m_righe.PosizioneNota())) {
        m_fondoVoluto = m_righe.Apertura();
        m_fondoCorrente = corrente;
    }
}

bool GestLista::ultimaRiga()
{
    // The page read around a far row is read whole first (as a paint would).
    try {
        m_righe.CompletaIntorno();
    } catch (const VbErrore &e) {
        erroreLettura(e.numero(), e.descrizione());
        return true;
    }
    if (!m_griglia || !m_righe.Aperta() || (m_righe.ConteggioNoto() && m_righe.PosizioneNota()) ||
        m_modello->rowCount() == 0)
        return false;
    // Ctrl+End before the rows are counted, or before those shown among the
    // neighbours of a far row have their places: the last row known now that
    // holds one (the grid's end, which starts the count on its thread), the
    // last row of the list when the count and the places have come.
    int riga = m_modello->rowCount() - 1;
    while (riga > 0 && m_righe.Vuota(riga))
        --riga;
    const int colonna = m_griglia->currentIndex().isValid() ? m_griglia->currentIndex().column() : 0;
    m_griglia->setCurrentIndex(m_modello->index(riga, colonna));
    segnaFondo(true);
    m_griglia->scrollTo(m_griglia->currentIndex());
    return true;
}

void GestLista::vaiInFondo()
{
    if (!m_griglia || m_fondoVoluto != m_righe.Apertura() || !m_righe.ConteggioNoto())
        return;
    // The last row is made current once the rows shown have their places
    // (spostaRighe comes back here): until then it stands for no row.
    if (m_fondoCorrente && !m_righe.PosizioneNota())
        return;
    m_fondoVoluto = -1;
    if (m_fondoCorrente && m_modello->rowCount() > 0) {
        const int colonna = m_griglia->currentIndex().isValid() ? m_griglia->currentIndex().column() : 0;
        m_griglia->setCurrentIndex(m_modello->index(m_modello->rowCount() - 1, colonna));
    }
    m_fondoCorrente = false;
    m_griglia->scrollToBottom();
}

QTableView *GestLista::Griglia() const
{
    return m_griglia;
}

void GestLista::ImpostaDatabase(DbMotore *db, const QString &connessione)
{
    m_righe.ImpostaDatabase(db, connessione);
}

void GestLista::ImpostaOpzione(int opzione, const QVariant &valore)
{
    const bool acceso = !valore.isValid() || valore.toBool() || valore.toInt() != 0;
    if (opzione == 2)
        m_contaSubito = acceso;
}

void GestLista::ImpostaMessaggi(FunzioneMessaggio funzione)
{
    m_messaggi = std::move(funzione);
}

int GestLista::chiedi(const QString &testo, const QStringList &pulsanti, int predefinito)
{
    return ChiediUtente(m_messaggi, testo, pulsanti, predefinito, m_owner ? m_owner->Finestra() : nullptr);
}

void GestLista::ImpostaChiave(const QStringList &colonne)
{
    m_righe.ImpostaChiave(colonne);
}

// ---- Columns ----

void GestLista::TitoloColonna(const QVariant &colonna, const QString &titolo)
{
    const int i = m_modello->IndiceColonna(colonna);
    // The list sets its titles again at every opening: the header hears only
    // of a title that changed (each notice has it measure its sections again).
    if (i < 0 || m_modello->Colonne()[size_t(i)].didascalia == titolo)
        return;
    m_modello->Colonne()[size_t(i)].didascalia = titolo;
    emit m_modello->headerDataChanged(Qt::Horizontal, i, i);
}

void GestLista::LarghezzaColonna(const QVariant &colonna, double larghezzaTwips)
{
    const int i = m_modello->IndiceColonna(colonna);
    if (i < 0)
        return;
    m_modello->Colonne()[size_t(i)].larghezza = int(larghezzaTwips);
    applicaColonna(i);
}

void GestLista::OpzioneColonna(const QVariant &colonna, int opzione, const QVariant &valore)
{
    const int i = m_modello->IndiceColonna(colonna);
    if (i < 0)
        return;
    ColonnaLista &c = m_modello->Colonne()[size_t(i)];
    if (opzione == 0) {
        c.visibile = valore.toBool() || valore.toInt() != 0;
    } else if (opzione == 1) {
        const int a = valore.toInt();
        c.allineamento = (a == 1   ? Qt::AlignRight
                          : a == 2 ? Qt::AlignHCenter
                                   : Qt::AlignLeft) |
                         Qt::AlignVCenter;
    }
    applicaColonna(i);
}

int GestLista::NumeroColonne() const
{
    return int(m_modello->Colonne().size());
}

QString GestLista::CampoColonna(int colonna) const
{
    if (colonna < 0 || colonna >= NumeroColonne())
        return {};
    return m_modello->Colonne()[size_t(colonna)].campo;
}

const Risultato::Colonna *GestLista::InfoCampo(int colonna) const
{
    if (!m_righe.Aperta() || colonna < 0 || colonna >= m_righe.NumeroColonne())
        return nullptr;
    return &m_righe.Colonna(colonna);
}

void GestLista::applicaColonna(int i)
{
    if (!m_griglia || i < 0 || i >= NumeroColonne())
        return;
    const ColonnaLista &c = m_modello->Colonne()[size_t(i)];
    if (m_griglia->isColumnHidden(i) == c.visibile)
        m_griglia->setColumnHidden(i, !c.visibile);
    if (c.larghezza > 0) {
        const int pixel = ModelloLista::Pixel(c.larghezza, m_griglia);
        if (m_griglia->columnWidth(i) != pixel)
            m_griglia->setColumnWidth(i, pixel);
    }
}

void GestLista::applicaColonne()
{
    for (int i = 0; i < NumeroColonne(); ++i)
        applicaColonna(i);
}

// ---- Rows ----

void GestLista::ApriSql(const QString &sql, const QVariant &pvFaiSql)
{
    (void)pvFaiSql;
    fermaConteggio();
    m_erroreMostrato = false;
    m_modello->ImpostaFormatoData(m_formatoData);
    int intorno = -1;
    try {
        if (m_apriIntorno.isEmpty()) {
            m_righe.Apri(sql);
        } else {
            // Centred on the screen: half a screen each side is shown first.
            m_righe.ImpostaRigheVicine(righeSchermo() / 2 + 1);
            intorno = m_righe.ApriIntorno(sql, m_apriIntorno, m_totaleIntorno);
        }
    } catch (const VbErrore &) {
        // A list already open keeps the rows it shows (RigheLista::Apri
        // leaves them); the caller says what failed. A count stopped here
        // is not started again: it would fail as well.
        if (!m_righe.Aperta()) {
            m_modello->Svuota();
            aggiornaContatore();
        }
        throw;
    }
    m_modello->ImpostaRighe(&m_righe);
    if (m_owner)
        m_owner->PersColonne();
    applicaColonne();
    if (m_griglia && intorno >= 0 && intorno < m_modello->rowCount()) {
        const QModelIndex i = m_modello->index(intorno, m_colonnaIntorno);
        m_griglia->setCurrentIndex(i);
        m_griglia->scrollTo(i, QAbstractItemView::PositionAtCenter);
    } else if (m_griglia && m_modello->rowCount() > 0) {
        m_griglia->setCurrentIndex(m_modello->index(0, 0));
    }
    aggiornaContatore();
    avviaConteggio();
}

// The total is counted on a thread of its own while the first rows are shown
// and the user works. On a grid on screen it starts at the turn of the event
// loop after the paint that shows the first rows (the count's work on the file
// or server, several processes on a server, would otherwise compete with
// reading and painting them), or after kRiservaPittura should no paint come
// (a window covered); elsewhere at the next turn of the event loop. Where it
// cannot run on its own thread (a database in memory, a transaction) it is
// counted then on the window's connection. A row shown among its neighbours
// before its place is known waits for the same paint to have the rest of its
// page read and its place counted.
void GestLista::avviaConteggio()
{
    if (!m_righe.Aperta() ||
        (!contaDaAvviare() && m_righe.PosizioneNota() && !m_righe.IntornoParziale() && !m_righe.HaScarti()))
        return;
    m_contaDopoPittura = m_griglia && m_griglia->isVisible();
    m_timAvvio->start(m_contaDopoPittura ? kRiservaPittura : 0);
}

bool GestLista::contaDaAvviare() const
{
    return m_contaSubito && m_righe.Aperta() && !(m_righe.ConteggioNoto() && !m_righe.SegnapostiAttesi());
}

int GestLista::righeSchermo() const
{
    if (!m_griglia)
        return 0;
    const int altezza = std::max(1, m_griglia->verticalHeader()->defaultSectionSize());
    return m_griglia->viewport()->height() / altezza + 2;
}

bool GestLista::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (tastoRicerca(oggetto, evento))
        return true;
    if (evento->type() == QEvent::KeyPress && m_griglia && oggetto == m_griglia) {
        const auto *tasto = static_cast<QKeyEvent *>(evento);
        if (tasto->key() == Qt::Key_End && tasto->modifiers() == Qt::ControlModifier && ultimaRiga())
            return true;
        // An arrow key drops the wish for the last row, the row staying or not.
        if (tasto->key() == Qt::Key_Up || tasto->key() == Qt::Key_Down || tasto->key() == Qt::Key_PageUp ||
            tasto->key() == Qt::Key_PageDown)
            m_fondoVoluto = -1;
    }
    if (evento->type() == QEvent::Paint && m_contaDopoPittura && m_griglia &&
        oggetto == m_griglia->viewport()) {
        m_contaDopoPittura = false;
        m_timAvvio->start(0);
    }
    return QObject::eventFilter(oggetto, evento);
}

void GestLista::avviaOra()
{
    m_contaDopoPittura = false;
    m_righe.LiberaScarti();
    if (!m_righe.Aperta())
        return;
    if (m_righe.IntornoParziale()) {
        try {
            m_righe.CompletaIntorno();
        } catch (const VbErrore &e) {
            erroreLettura(e.numero(), e.descrizione());
            return;
        }
    }
    avviaPosizione();
    // Already started when the grid reached the end of its rows first.
    if (!contaDaAvviare() || m_contaInCorso == m_righe.Apertura())
        return;
    if (!contaSulThread())
        contaRighe();
}

bool GestLista::contaSulThread()
{
    const QString ordinata = m_righe.SqlOrdinata();
    if (!m_conteggio->Avvia(m_righe.Database(), m_righe.Connessione(), SqlLista::Conteggio(m_righe.Parti()),
                            m_righe.Apertura(), ordinata, RigheLista::PassoSegnaposti))
        return false;
    m_contaInCorso = m_righe.Apertura();
    m_righe.ImpostaSegnapostiInArrivo(!ordinata.isEmpty());
    return true;
}

bool GestLista::contaAltrove()
{
    if (m_righe.ConteggioNoto() || m_contaInCorso == m_righe.Apertura())
        return true;
    // The count normally starts once the first rows are painted: the grid
    // wants it now. Where no thread can count, or where the thread's count
    // failed (made again here), the grid's model counts.
    return !m_timConta->isActive() && contaSulThread();
}

void GestLista::fermaConteggio()
{
    m_contaDopoPittura = false;
    m_timAvvio->stop();
    m_timConta->stop();
    m_conteggio->Ferma();
    m_posizione->Ferma();
    m_contaInCorso = -1;
    // Landmarks that will not come leave no cell blank.
    m_righe.ImpostaSegnapostiInArrivo(false);
    m_modello->RinfrescaRinviate();
    fermaRicerca();
}

void GestLista::contaRighe()
{
    if (!m_righe.Aperta())
        return;
    try {
        m_righe.Conta();
    } catch (const VbErrore &e) {
        erroreLettura(e.numero(), e.descrizione());
        return;
    }
    m_modello->Sincronizza();
    aggiornaContatore();
}

void GestLista::AggiornaLista(bool rileggi, const QString &modo, int riservato, const QString &formatoData)
{
    (void)modo;
    (void)riservato;
    if (!formatoData.isEmpty())
        m_formatoData = formatoData;
    m_modello->ImpostaFormatoData(m_formatoData);
    if (!rileggi || m_righe.Sql().isEmpty()) {
        m_modello->ImpostaRighe(m_righe.Aperta() ? &m_righe : nullptr);
        applicaColonne();
        return;
    }
    // The current row is looked for again by its key, else by its place in
    // the list's order.
    const int riga = RigaCorrente();
    const QVariantList chiave = ChiaveRiga(riga);
    const QStringList ordine = m_righe.ValoriOrdine(riga);
    const int colonna =
        m_griglia && m_griglia->currentIndex().isValid() ? m_griglia->currentIndex().column() : 0;
    fermaConteggio();
    m_erroreMostrato = false;
    try {
        m_righe.Riapri();
    } catch (const VbErrore &e) {
        aggiornamentoFallito(e);
        return;
    }
    m_modello->ImpostaRighe(&m_righe);
    applicaColonne();
    RitrovaRiga(chiave, riga, colonna, ordine);
    aggiornaContatore();
    avviaConteggio();
}

QVariantList GestLista::ChiaveRiga(int riga)
{
    if (riga < 0 || !m_righe.Aperta())
        return {};
    try {
        return m_righe.Valori(riga, m_righe.Chiave());
    } catch (const VbErrore &) {
        return {};
    }
}

bool GestLista::RitrovaRiga(const QVariantList &chiave, int riga, int colonna, const QStringList &ordine)
{
    if (!m_griglia || !m_righe.Aperta())
        return false;
    int nuova = -1;
    bool mostrata = false; // found by MostraChiave
    bool intorno = false;  // shown among its neighbours, its place still to come
    try {
        if (!chiave.isEmpty() && m_righe.PerChiave()) {
            // Shown at once among its neighbours, as a new order shows its
            // row: the rows before it are counted after the paint on a
            // thread of their own (avviaConteggio), never here.
            m_righe.ImpostaRigheVicine(righeSchermo() / 2 + 1);
            nuova = m_righe.MostraChiave(chiave);
            // Gone from the list (another desk deleted it): the row that
            // follows it now, found and shown the same way.
            if (nuova < 0 && riga >= 0 && !ordine.isEmpty())
                nuova = m_righe.MostraDopo(ordine);
            mostrata = nuova >= 0;
            intorno = mostrata && !m_righe.PosizioneNota();
        } else if (!chiave.isEmpty()) {
            nuova = m_righe.PosizioneChiave(chiave);
        }
        // Gone from the list: the row now in its place (the one that
        // followed it, or the last) takes over.
        if (nuova < 0 && riga >= 0)
            nuova = riga < m_modello->rowCount() ? riga : std::min(riga, RecordCount() - 1);
        // Shown among its neighbours, its page holds it and a screen each
        // side (the rows known): the grid has it without a count.
        if (intorno)
            m_modello->Sincronizza();
        else if (nuova >= 0)
            rigaInGriglia(nuova);
        // The pages were read anew around it: the rows shown may be others.
        if (mostrata)
            m_modello->Rinfresca();
    } catch (const VbErrore &e) {
        erroreLettura(e.numero(), e.descrizione());
        return false;
    }
    if (nuova < 0 || nuova >= m_modello->rowCount())
        return false;
    const QModelIndex i = m_modello->index(nuova, colonna);
    m_griglia->setCurrentIndex(i);
    m_griglia->scrollTo(i, QAbstractItemView::PositionAtCenter);
    if (intorno)
        avviaConteggio();
    return true;
}

void GestLista::aggiornamentoFallito(const VbErrore &e)
{
    // A list that was never read has nothing to keep.
    if (!m_righe.Aperta()) {
        erroreLettura(e.numero(), e.descrizione());
        return;
    }
    aggiornaContatore();
    chiedi(QStringLiteral("Impossibile aggiornare la lista: restano le righe mostrate prima.\r\nErrore(") +
           QString::number(e.numero()) + QStringLiteral("): ") + e.descrizione());
}

void GestLista::TogliRiga(int riga)
{
    ImpostaRigaCorrente(riga);
    AggiornaLista(true, QStringLiteral("M"), 0, m_formatoData);
}

void GestLista::ChiudiLista()
{
    // The order chosen on a header lasts while the window is open.
    m_ordineScelto.clear();
    mostraOrdine();
    fermaConteggio();
    m_modello->Svuota();
    m_righe.Chiudi();
    aggiornaContatore();
}

int GestLista::RecordCount()
{
    if (!m_righe.Aperta())
        return 0;
    const int n = m_righe.Conta();
    m_modello->Sincronizza();
    return n;
}

int GestLista::RigaCorrente() const
{
    if (!m_griglia || !m_griglia->currentIndex().isValid())
        return -1;
    return m_griglia->currentIndex().row();
}

bool GestLista::rigaInGriglia(int riga)
{
    // The rows read since (a row found by its key and the page around it),
    // and a screen of rows after it: the grid centres the row, and standing
    // at the end of the rows it knows it would ask for the count. The rows
    // are counted here only for a row beyond them all; the count on its own
    // thread brings the rest. Reading them may find the list's end (its
    // number of rows then known): the grid is given every row it holds in
    // any case, so that its scroll bar ends at the last one.
    if (!m_righe.ConteggioNoto())
        m_righe.Esiste(riga + righeSchermo() - 1);
    m_modello->Sincronizza();
    if (riga >= m_modello->rowCount() && !m_righe.ConteggioNoto())
        RecordCount();
    return riga < m_modello->rowCount();
}

void GestLista::ImpostaRigaCorrente(int riga)
{
    if (!m_griglia || riga < 0)
        return;
    try {
        if (!rigaInGriglia(riga))
            return;
    } catch (const VbErrore &e) {
        erroreLettura(e.numero(), e.descrizione());
        return;
    }
    int col = m_griglia->currentIndex().isValid() ? m_griglia->currentIndex().column() : 0;
    const QModelIndex i = m_modello->index(riga, col);
    m_griglia->setCurrentIndex(i);
    m_griglia->scrollTo(i, QAbstractItemView::PositionAtCenter);
}

QVariantList GestLista::ValoriRiga(int riga, const QStringList &colonne)
{
    if (!m_righe.Aperta() || riga < 0)
        return {};
    return m_righe.Valori(riga, colonne);
}

QVariant GestLista::ValoreCella(int riga, int colonna) const
{
    return m_modello->Valore(riga, colonna);
}

QString GestLista::TestoCella(int riga, int colonna) const
{
    return m_modello->Testo(riga, colonna);
}

void GestLista::PosizioneRighe(QString &corrente, QString &totale)
{
    const int riga = RigaCorrente();
    // "0 / 0" for an empty list, never a bare " / 0"; the row's number
    // while it is being counted after a new order, "...".
    corrente = !m_righe.PosizioneNota() ? QStringLiteral("...") : QString::number(riga >= 0 ? riga + 1 : 0);
    totale = QString::number(m_modello->rowCount());
}

void GestLista::CambioRiga(int lastRow, int lastCol, QString &corrente, QString &totale)
{
    (void)lastRow;
    (void)lastCol;
    PosizioneRighe(corrente, totale);
}

void GestLista::aggiornaContatore()
{
    QString corrente, totale;
    PosizioneRighe(corrente, totale);
    const QString testo = corrente + QStringLiteral(" / ") + totale;
    if (testo == m_ultimoContatore)
        return;
    m_ultimoContatore = testo;
    if (m_txtRiga)
        m_txtRiga->setText(testo);
    emit contatoreCambiato(testo);
}

void GestLista::erroreLettura(int numero, const QString &descrizione)
{
    int risposta = 0;
    GestisciErroreDati(numero, risposta, descrizione);
}

void GestLista::GestisciErroreDati(int numero, int &risposta, const QString &descrizione)
{
    risposta = 0;
    fermaConteggio();
    m_modello->Svuota();
    m_righe.Chiudi();
    aggiornaContatore();
    if (m_erroreMostrato)
        return;
    m_erroreMostrato = true;
    QString testo = QStringLiteral("Impossibile leggere le righe della lista.");
    if (numero != 0 || !descrizione.isEmpty())
        testo +=
            QStringLiteral("\r\nErrore(") + QString::number(numero) + QStringLiteral("): ") + descrizione;
    chiedi(testo);
}

void GestLista::Disponi(const QRect &area)
{
    if (!m_griglia || !area.isValid())
        return;
    if (m_griglia->parentWidget() && m_griglia->parentWidget()->layout())
        return;
    m_griglia->setGeometry(area);
}

QString GestLista::Didascalia() const
{
    if (m_owner && m_owner->Finestra())
        return m_owner->Finestra()->windowTitle();
    return {};
}
