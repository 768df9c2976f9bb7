// Line-grid engine: set-up, columns, reading the rows through the owner,
// the toolbar and the counter.
#include "components/linee/GestLinee.h"

#include "components/linee/DelegatoLinee.h"
#include "components/linee/ModelloLinee.h"
#include "components/stampa/OpzStampa.h"
#include "components/stampa/Stampatore.h"
#include "components/util/VbErrore.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>

namespace
{

struct VoceComando {
    const char *chiave;
    const char *tooltip;
    QStyle::StandardPixmap icona;
};

const VoceComando kComandi[] = {
    {"Nuovo", "(N) Nuova riga", QStyle::SP_FileIcon},
    {"Salva", "(S) Salva riga", QStyle::SP_DialogSaveButton},
    {"Cancella", "(C) Cancella riga", QStyle::SP_TrashIcon},
    {"Annulla", "(A) Annulla modifiche", QStyle::SP_DialogCancelButton},
    {"VaiA", "(G) Vai alla riga segnata", QStyle::SP_ArrowRight},
    {"Documenti", "(X) Documenti", QStyle::SP_DirOpenIcon},
    {"ApriDoc", "(Y) Apri Documento", QStyle::SP_FileDialogContentsView},
    {"Stampa", "(T) Stampa", QStyle::SP_FileDialogDetailedView},
    {"Chiudi", "(H) Chiudi", QStyle::SP_DialogCloseButton},
    {"Menu", "(M) Menu", QStyle::SP_DirHomeIcon},
};

// Form scale units (twips) to pixels.
int pixelDaTwip(double twip)
{
    return int(std::lround(twip / 15.0));
}

} // namespace

GestLinee::GestLinee(QObject *parent) : QObject(parent), m_modello(std::make_unique<ModelloLinee>(*this)) {}

GestLinee::~GestLinee()
{
    staccaGriglia();
}

void GestLinee::staccaGriglia()
{
    if (!m_griglia)
        return;
    m_griglia->removeEventFilter(this);
    m_griglia->setModel(nullptr);
    // The view may outlive the engine: it must not keep a delegate that refers to it.
    QAbstractItemDelegate *delegato = m_griglia->itemDelegate();
    m_griglia->setItemDelegate(new QStyledItemDelegate(m_griglia));
    if (qobject_cast<DelegatoLinee *>(delegato))
        delegato->deleteLater();
}

void GestLinee::attiva()
{
    if (m_owner)
        m_owner->GrigliaAttiva(this);
}

void GestLinee::ImpostaForm(ChiamanteLinee *owner)
{
    m_owner = owner;
}

void GestLinee::ImpostaFormStampa(FormStampaLista *frmComlinStampa)
{
    m_formStampa = frmComlinStampa;
}

void GestLinee::ImpostaFormAttesa(QWidget *frmStampaInCorso)
{
    m_formAttesa = frmStampaInCorso;
}

FormStampaLista *GestLinee::FormStampa() const
{
    return m_formStampa;
}

QWidget *GestLinee::FormAttesa() const
{
    return m_formAttesa;
}

void GestLinee::ogSta(Stampatore *motore)
{
    m_motore = motore;
}

Stampatore *GestLinee::ogSta() const
{
    return m_motore;
}

void GestLinee::AvviaStampa(const QString &tipo, int orientamento, QFont &font)
{
    if (m_motore) {
        m_motore->ImpostaMessaggi(m_messaggi, FinestraStampa());
        // The grid's rows are the record's shown: each print says whose they
        // are as it starts (the options are kept from print to print).
        const QString titolo = TitoloStampa();
        if (!titolo.isEmpty() && m_motore->OpzioniStampa())
            m_motore->OpzioniStampa()->ImpostaParStampa(QStringLiteral("StampaCaption"), titolo);
    }
    const QString errore = EseguiStampa(m_motore, m_sorgenteStampa, m_inStampa, tipo, orientamento, font);
    if (!errore.isEmpty())
        Chiedi(errore, {QStringLiteral("&Ok")});
}

QWidget *GestLinee::FinestraStampa() const
{
    return m_griglia ? m_griglia->window() : nullptr;
}

QStringList GestLinee::Comandi()
{
    QStringList r;
    for (const auto &v : kComandi)
        r << QString::fromLatin1(v.chiave);
    return r;
}

void GestLinee::ImpostaBarraLin(QToolBar *barra)
{
    m_barra = barra;
    if (!barra)
        return;
    if (barra->actions().isEmpty()) {
        for (const auto &v : kComandi) {
            QAction *a =
                barra->addAction(barra->style()->standardIcon(v.icona), QString::fromLatin1(v.chiave));
            a->setObjectName(QString::fromLatin1(v.chiave));
            a->setToolTip(QString::fromLatin1(v.tooltip));
        }
    }
    for (QAction *a : barra->actions()) {
        const QString chiave = a->objectName();
        if (chiave.isEmpty())
            continue;
        connect(a, &QAction::triggered, this, [this, chiave] {
            protetto([&] {
                attiva();
                if (m_owner)
                    m_owner->ButtonComandoLin(*this, chiave);
                else
                    EseguiComando(chiave);
            });
        });
    }
    aggiornaBarra();
}

QToolBar *GestLinee::Barra() const
{
    return m_barra;
}

QAction *GestLinee::Bottone(const QString &chiave) const
{
    if (!m_barra)
        return nullptr;
    for (QAction *a : m_barra->actions())
        if (a->objectName().compare(chiave, Qt::CaseInsensitive) == 0)
            return a;
    return nullptr;
}

void GestLinee::ImpostaTestoRighe(QLineEdit *txtRiga)
{
    m_txtRiga = txtRiga;
    if (txtRiga) {
        txtRiga->setReadOnly(true);
        txtRiga->setFocusPolicy(Qt::NoFocus);
    }
    aggiornaContatore();
}

void GestLinee::ImpostaGriglia(QTableView *dbgRiga)
{
    staccaGriglia();
    m_griglia = dbgRiga;
    if (!dbgRiga)
        return;
    dbgRiga->setModel(m_modello.get());
    dbgRiga->setItemDelegate(new DelegatoLinee(*this, dbgRiga));
    dbgRiga->setSelectionBehavior(QAbstractItemView::SelectItems);
    dbgRiga->setSelectionMode(QAbstractItemView::SingleSelection);
    DoppioClicSenzaEditor(!m_doppioClicEditor);
    dbgRiga->setTabKeyNavigation(true);
    dbgRiga->horizontalHeader()->setSectionsClickable(true);
    dbgRiga->installEventFilter(this);
    connect(dbgRiga->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &ora, const QModelIndex &prima) {
                protetto([&] { rigaCambiata(ora.row(), ora.column(), prima.row(), prima.column()); });
            });
    connect(dbgRiga, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &) {
        protetto([this] {
            attiva();
            if (m_owner)
                m_owner->dbgRiga_DblClick(*this);
        });
    });
    connect(dbgRiga->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        protetto([this, col] {
            attiva();
            if (m_owner)
                m_owner->dbgRiga_HeadClick(*this, col);
        });
    });
    // A reset of the rows leaves the view without a current cell: keep one.
    connect(m_modello.get(), &QAbstractItemModel::modelReset, this, [this] { aggiornaContatore(); });
}

void GestLinee::DoppioClicSenzaEditor(bool senza)
{
    m_doppioClicEditor = !senza;
    if (!m_griglia)
        return;
    QAbstractItemView::EditTriggers t = QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
    if (m_doppioClicEditor)
        t |= QAbstractItemView::DoubleClicked;
    m_griglia->setEditTriggers(t);
}

QTableView *GestLinee::Griglia() const
{
    return m_griglia;
}

void GestLinee::ImpostaFormatoData(const QString &formato)
{
    if (!formato.isEmpty())
        m_formatoData = formato;
}

void GestLinee::ImpostaValore(int valore)
{
    m_valore = valore;
}

void GestLinee::ImpostaStileBarra(const QString &tipoToolbar, QWidget *controllo1, QWidget *controllo2)
{
    (void)controllo1, (void)controllo2;
    m_tipoToolbar = tipoToolbar;
    if (m_barra)
        m_barra->setToolButtonStyle(tipoToolbar.compare(QLatin1String("t"), Qt::CaseInsensitive) == 0
                                        ? Qt::ToolButtonTextBesideIcon
                                        : Qt::ToolButtonIconOnly);
}

void GestLinee::ImpostaContesto(ContestoPrg *contesto)
{
    m_contesto = contesto;
}

void GestLinee::LivelloRW(int livello)
{
    m_livello = livello == 1 ? 1 : 0;
    if (m_livello == 0)
        scartaModifiche();
    if (m_modello->rowCount() > 0 && m_modello->columnCount() > 0)
        emit m_modello->dataChanged(m_modello->index(0, 0), m_modello->index(m_modello->rowCount() - 1,
                                                                             m_modello->columnCount() - 1));
    aggiornaBarra();
}

void GestLinee::ImpostaOpzioni(const QVariant &opzione, bool flag)
{
    (void)opzione, (void)flag;
}

void GestLinee::AggiungiColonnaChiave(int colIndex)
{
    if (colIndex >= 0 && colIndex < m_modello->columnCount())
        m_modello->colonne()[size_t(colIndex)].chiave = true;
}

void GestLinee::ImpostaColonneFisse(int numero)
{
    m_colonneFisse = std::max(0, numero);
}

void GestLinee::ImpostaColonne(const QStringList &campi)
{
    m_modello->impostaColonne(campi);
    aggiornaContatore();
}

QStringList GestLinee::Colonne() const
{
    QStringList r;
    for (const auto &c : m_modello->colonne())
        r << c.campo;
    return r;
}

int GestLinee::IndiceColonna(const QVariant &colonna) const
{
    return m_modello->indiceColonna(colonna);
}

void GestLinee::DidascaliaColonna(const QVariant &colonna, const QString &didascalia)
{
    const int i = IndiceColonna(colonna);
    if (i < 0)
        return;
    m_modello->colonne()[size_t(i)].didascalia = didascalia;
    emit m_modello->headerDataChanged(Qt::Horizontal, i, i);
}

void GestLinee::LarghezzaColonna(const QVariant &colonna, double larghezza, const QString &formato)
{
    const int i = IndiceColonna(colonna);
    if (i < 0)
        return;
    auto &c = m_modello->colonne()[size_t(i)];
    c.larghezza = pixelDaTwip(larghezza);
    if (!formato.isEmpty())
        c.formato = formato;
    if (m_griglia)
        m_griglia->setColumnWidth(i, c.larghezza);
}

void GestLinee::VisibilitaColonna(const QVariant &colonna, bool visibile, bool riservato)
{
    (void)riservato;
    const int i = IndiceColonna(colonna);
    if (i < 0)
        return;
    m_modello->colonne()[size_t(i)].visibile = visibile;
    if (m_griglia)
        m_griglia->setColumnHidden(i, !visibile);
}

void GestLinee::ColonnaConPulsante(const QVariant &colonna, bool pulsante)
{
    const int i = IndiceColonna(colonna);
    if (i >= 0)
        m_modello->colonne()[size_t(i)].pulsante = pulsante;
}

void GestLinee::ColonnaImporto(const QVariant &colonna)
{
    const int i = IndiceColonna(colonna);
    if (i >= 0)
        m_modello->colonne()[size_t(i)].stampa = ModelloLinee::Colonna::Stampa::Importo;
}

void GestLinee::ColonnaCodice(const QVariant &colonna)
{
    const int i = IndiceColonna(colonna);
    if (i >= 0)
        m_modello->colonne()[size_t(i)].stampa = ModelloLinee::Colonna::Stampa::Codice;
}

bool GestLinee::HaPulsante(int colIndex) const
{
    return colIndex >= 0 && colIndex < m_modello->columnCount() &&
           m_modello->colonne()[size_t(colIndex)].pulsante;
}

void GestLinee::PremiPulsante(const QModelIndex &cella)
{
    if (!m_griglia || !cella.isValid() || !HaPulsante(cella.column()))
        return;
    if (m_griglia->currentIndex() != cella)
        m_griglia->setCurrentIndex(cella);
    // A refused save keeps the user on another line.
    if (m_griglia->currentIndex() != cella || m_livello != 1)
        return;
    protetto([this, &cella] {
        attiva();
        if (m_owner)
            m_owner->dbgRiga_ButtonClick(*this, cella.column());
    });
}

void GestLinee::PosizioneRighe(QString &totale, QString &corrente) const
{
    totale = QString::number(NumeroRighe());
    const int r = RigaCorrente();
    // "0 / 0" for an empty grid, never a bare " / 0".
    corrente = QString::number(r >= 0 ? r + 1 : 0);
}

void GestLinee::aggiornaContatore()
{
    QString totale, corrente;
    PosizioneRighe(totale, corrente);
    const QString testo = corrente + QStringLiteral(" / ") + totale;
    if (m_txtRiga)
        m_txtRiga->setText(testo);
    emit contatoreCambiato(testo);
}

void GestLinee::aggiornaBarra()
{
    const bool rw = m_livello == 1;
    auto abilita = [this](const char *chiave, bool si) {
        if (QAction *a = Bottone(QString::fromLatin1(chiave)))
            a->setEnabled(si);
    };
    abilita("Nuovo", rw);
    abilita("Salva", rw);
    abilita("Cancella", rw);
    abilita("Annulla", rw);
    abilita("VaiA", m_owner && !m_owner->ovfrmBookmark().isEmpty());
}

void GestLinee::ImpostaMessaggi(FunzioneMessaggio funzione)
{
    m_messaggi = std::move(funzione);
}

int GestLinee::Chiedi(const QString &testo, const QStringList &pulsanti, int predefinito)
{
    return ChiediUtente(m_messaggi, testo, pulsanti, predefinito, m_griglia);
}

int GestLinee::NumeroRighe() const
{
    return m_modello->numeroRighe();
}

int GestLinee::RigaCorrente() const
{
    if (!m_griglia)
        return -1;
    const QModelIndex i = m_griglia->currentIndex();
    return i.isValid() ? i.row() : -1;
}

int GestLinee::ColonnaCorrente() const
{
    if (!m_griglia)
        return -1;
    const QModelIndex i = m_griglia->currentIndex();
    return i.isValid() ? i.column() : -1;
}

void GestLinee::ImpostaColonnaCorrente(const QVariant &colonna)
{
    const int c = IndiceColonna(colonna);
    if (m_inSalva && c >= 0)
        m_colonnaRifiutata = c;
    const int r = RigaCorrente();
    if (m_griglia && c >= 0 && r >= 0)
        m_griglia->setCurrentIndex(m_modello->index(r, c));
}

QVariant GestLinee::ValoreCella(const QVariant &colonna) const
{
    return m_modello->valore(RigaCorrente(), IndiceColonna(colonna));
}

void GestLinee::ImpostaValoreCella(const QVariant &colonna, const QVariant &valore)
{
    const int r = RigaCorrente() >= 0 ? RigaCorrente() : m_modello->rigaInModifica();
    m_modello->impostaModifica(r, IndiceColonna(colonna), valore);
    aggiornaBarra();
}

bool GestLinee::DatiModificati() const
{
    return m_modello->modificata();
}

void GestLinee::Ricarica(bool rileggi)
{
    attiva();
    const int riga = RigaCorrente();
    const int col = ColonnaCorrente();
    std::vector<QVariantList> righe;
    if (m_owner) {
        if (rileggi)
            m_owner->DatiRequery();
        const int n = m_owner->olNumRecTot();
        const QStringList campi = Colonne();
        if (n > 0 && !campi.isEmpty()) {
            try {
                m_owner->DatiMove(0);
                // A count the rows no longer match (emptied meanwhile) reads nothing.
                for (int i = 0; i < n && (i > 0 || !m_owner->obRecNoVal()); ++i) {
                    QVariantList r;
                    m_owner->ovDatiValueVet(r, int(campi.size()));
                    righe.push_back(r);
                    if (i + 1 < n)
                        m_owner->DatiMove(2);
                }
            } catch (const VbErrore &e) {
                if (e.numero() != VbErrore::NessunRecordCorrente)
                    throw;
            }
        }
    }
    m_modello->impostaRighe(std::move(righe));
    for (size_t i = 0; i < m_modello->colonne().size() && m_griglia; ++i) {
        const auto &c = m_modello->colonne()[i];
        m_griglia->setColumnHidden(int(i), !c.visibile);
        if (c.larghezza >= 0)
            m_griglia->setColumnWidth(int(i), c.larghezza);
    }
    if (m_griglia && NumeroRighe() > 0) {
        int c = col;
        if (c < 0 || m_griglia->isColumnHidden(c)) {
            c = 0;
            while (c < m_modello->columnCount() - 1 && m_griglia->isColumnHidden(c))
                ++c;
        }
        m_riposiziona = true;
        m_griglia->setCurrentIndex(m_modello->index(std::clamp(riga, 0, NumeroRighe() - 1), c));
        m_riposiziona = false;
    }
    aggiornaContatore();
    aggiornaBarra();
    if (m_owner) {
        m_owner->dbgRiga_UnboundReadData(*this);
        // What the owner shows for the current line follows the new rows.
        attiva();
        m_owner->dbgRiga_RowColChange(*this, -1, -1);
    }
}

void GestLinee::Scorri()
{
    aggiornaContatore();
}

int GestLinee::ScostamentoScroll() const
{
    return m_griglia ? m_griglia->rowAt(0) < 0 ? 0 : m_griglia->rowAt(0) : 0;
}

void GestLinee::Disponi(bool riservato, int riservato2, const QVariant &riservato3, double larghezza,
                        double altezza)
{
    (void)riservato, (void)riservato2, (void)riservato3;
    // Inside a layout the layout places the grid; a free grid goes under the toolbar.
    if (!m_griglia || !m_griglia->parentWidget() || m_griglia->parentWidget()->layout())
        return;
    const int top = m_barra ? m_barra->height() : 0;
    if (m_barra)
        m_barra->setGeometry(0, 0, int(larghezza), top);
    m_griglia->setGeometry(0, top, int(larghezza), std::max(0, int(altezza)));
}

void GestLinee::LavoroDifferito()
{
    aggiornaContatore();
    aggiornaBarra();
}
