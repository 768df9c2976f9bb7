// Line-grid engine: cell edits and their checks, saving, adding and deleting
// lines, the line commands and the keys of the grid.
#include "components/db/ErroriDb.h"
#include "components/linee/GestLinee.h"

#include "components/forms/CodiciTasto.h"
#include "components/linee/ModelloLinee.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

namespace
{

const QStringList kSiNo = {QStringLiteral("&Sì"), QStringLiteral("&No")};
constexpr int kRigaEliminata = 3167; // the record set's line deleted by another desk

} // namespace

void GestLinee::PrimaAggiornaColonna(int colIndex, const QVariant &oldValue, bool &cancel)
{
    (void)oldValue;
    if (m_livello != 1 || colIndex < 0 || colIndex >= m_modello->columnCount()) {
        cancel = true;
        return;
    }
    const auto &c = m_modello->colonne()[size_t(colIndex)];
    if (c.chiave && !m_modello->rigaNuova(RigaCorrente()))
        cancel = true;
}

void GestLinee::DopoAggiornaColonna(int colIndex)
{
    (void)colIndex;
    aggiornaBarra();
}

void GestLinee::CambioCella()
{
    aggiornaBarra();
}

bool GestLinee::aggiornaCella(int riga, int col, const QVariant &valore)
{
    attiva();
    const QVariant vecchio = m_modello->valore(riga, col);
    const bool aveva = m_modello->rigaInModifica() == riga && m_modello->modifiche().contains(col);
    const QVariant precedente = aveva ? m_modello->modifiche().value(col) : QVariant();

    bool cancel = false;
    // The owner's checks read (and may rewrite) the new value in the cell;
    // they begin with the engine's own part (read-only level, key columns).
    m_modello->impostaModifica(riga, col, valore);
    if (m_owner)
        m_owner->dbgRiga_BeforeColUpdate(*this, col, vecchio, cancel);
    else
        PrimaAggiornaColonna(col, vecchio, cancel);
    if (cancel) {
        if (aveva)
            m_modello->impostaModifica(riga, col, precedente);
        else
            m_modello->togliModifica(col);
        m_cellaRifiutata = true;
        // The cell stays in edit with what the user typed, for correction.
        const QPersistentModelIndex idx(m_modello->index(riga, col));
        m_modello->offriRifiutato(idx, valore);
        QTimer::singleShot(0, this, [this, idx] {
            if (m_griglia && idx.isValid() && m_livello == 1) {
                m_griglia->setCurrentIndex(idx);
                m_griglia->edit(idx);
            }
            m_modello->dimenticaRifiutato();
        });
        return false;
    }
    if (m_owner)
        m_owner->dbgRiga_AfterColUpdate(*this, col);
    DopoAggiornaColonna(col);
    return true;
}

void GestLinee::rigaCambiata(int riga, int col, int rigaPrima, int colPrima)
{
    if (m_riposiziona)
        return;
    if (rigaPrima >= 0 && riga != rigaPrima && m_modello->modificata() &&
        m_modello->rigaInModifica() == rigaPrima) {
        // The owner's checks read the cells of the current line: the line
        // being saved is current while they run.
        m_riposiziona = true;
        m_griglia->setCurrentIndex(m_modello->index(rigaPrima, std::max(0, colPrima)));
        m_riposiziona = false;
        if (!SalvaRiga()) {
            // The line keeps its changes: the user stays on it.
            aggiornaContatore();
            return;
        }
        // Then on to the row the user chose.
        if (NumeroRighe() > 0) {
            m_riposiziona = true;
            m_griglia->setCurrentIndex(
                m_modello->index(std::clamp(riga, 0, NumeroRighe() - 1), std::max(0, col)));
            m_riposiziona = false;
        }
    }
    aggiornaContatore();
    aggiornaBarra();
    attiva();
    if (m_owner)
        m_owner->dbgRiga_RowColChange(*this, rigaPrima, colPrima);
}

void GestLinee::tornaAllaRiga(int riga, int colonna)
{
    if (!m_griglia || riga < 0 || riga >= NumeroRighe())
        return;
    m_riposiziona = true;
    m_griglia->setCurrentIndex(m_modello->index(riga, std::max(0, colonna)));
    m_riposiziona = false;
    if (m_griglia->isVisible())
        m_griglia->setFocus(Qt::OtherFocusReason);
}

void GestLinee::CambioRigaColonna(int lastRow, int lastCol, int riservato, QString &totale, QString &corrente)
{
    (void)lastRow, (void)lastCol, (void)riservato;
    PosizioneRighe(totale, corrente);
}

bool GestLinee::ConfermaSalva(bool riservato)
{
    (void)riservato;
    return m_livello == 1 && (RigaCorrente() >= 0 || m_modello->rigaInModifica() >= 0);
}

QWidget *GestLinee::editore() const
{
    if (!m_griglia)
        return nullptr;
    // The view's viewport holds no child widgets but the cell editor.
    for (QWidget *w : m_griglia->viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (w->isVisible())
            return w;
    return nullptr;
}

bool GestLinee::EditorAperto() const
{
    return editore() != nullptr;
}

QString GestLinee::TestoCella() const
{
    if (auto *le = qobject_cast<QLineEdit *>(editore()))
        return le->text();
    return m_modello->data(m_modello->index(RigaCorrente(), ColonnaCorrente()), Qt::DisplayRole).toString();
}

QString GestLinee::TestoSelezionato() const
{
    if (auto *le = qobject_cast<QLineEdit *>(editore()))
        return le->selectedText();
    return TestoCella();
}

bool GestLinee::ColonnaBloccata(int colIndex) const
{
    if (m_livello != 1 || colIndex < 0 || colIndex >= m_modello->columnCount())
        return true;
    const auto &c = m_modello->colonne()[size_t(colIndex)];
    if (!c.visibile)
        return true;
    const int r = RigaCorrente() >= 0 ? RigaCorrente() : m_modello->rigaInModifica();
    return c.chiave && !m_modello->rigaNuova(r);
}

bool GestLinee::ChiudiEditor()
{
    QWidget *editor = editore();
    if (!editor)
        return true;
    QAbstractItemDelegate *delegato = m_griglia->itemDelegateForIndex(m_griglia->currentIndex());
    m_cellaRifiutata = false;
    emit delegato->commitData(editor);
    emit delegato->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !m_cellaRifiutata;
}

bool GestLinee::SalvaRiga()
{
    if (!m_modello->modificata())
        return true;
    attiva();
    if (!m_owner || m_livello != 1)
        return false;
    const int riga = m_modello->rigaInModifica();
    const bool nuova = m_modello->rigaNuova(riga);
    const int colonna = RigaCorrente() == riga ? ColonnaCorrente() : 0;
    bool scritta = false;
    m_colonnaRifiutata = -1;
    m_erroreRiga = 0;
    m_inSalva = true;
    struct FineSalva {
        bool &f;
        ~FineSalva() { f = false; }
    } fineSalva{m_inSalva};
    try {
        if (nuova) {
            m_owner->DatiAddNew();
        } else {
            m_owner->olRecPosition(riga);
            m_owner->DatiEdit();
        }
        const auto &mod = m_modello->modifiche();
        for (auto it = mod.constBegin(); it != mod.constEnd(); ++it)
            m_owner->ovDatiValue(m_modello->colonne()[size_t(it.key())].campo, it.value());
        scritta = m_owner->DatiUpdate();
    } catch (const VbErrore &e) {
        int errore = e.numero(), risposta = 0;
        m_ultimoErrore = e.descrizione();
        m_owner->DatiErrore(*this, errore, risposta);
        scritta = false;
    }
    if (!scritta) {
        try {
            m_owner->DatiAnnEdit();
        } catch (const VbErrore &) {
        }
        if (m_sceltaConflitto != 0)
            riprendiDopoConflitto(riga, m_modello->modifiche());
        else if (m_erroreRiga == kRigaEliminata)
            dopoRigaEliminata(riga);
        else
            tornaAllaRiga(riga, m_colonnaRifiutata >= 0 ? m_colonnaRifiutata : colonna);
        return false;
    }
    // A new line is found again by its key wherever the rows' order puts it.
    const QVariantList aggiunta = nuova ? rigaAggiunta() : QVariantList();
    Ricarica(true);
    int dove = riga;
    for (int r = 0; r < NumeroRighe() && !aggiunta.isEmpty(); ++r)
        if (stessaChiave(r, aggiunta)) {
            dove = r;
            break;
        }
    if (m_griglia && NumeroRighe() > 0 && (!nuova || !aggiunta.isEmpty()))
        m_griglia->setCurrentIndex(
            m_modello->index(std::clamp(dove, 0, NumeroRighe() - 1), std::max(0, colonna)));
    return true;
}

QVariantList GestLinee::rigaAggiunta()
{
    QVariantList valori;
    try {
        m_owner->DatiMoveRecNew();
        if (!m_owner->obRecNoVal())
            m_owner->ovDatiValueVet(valori, m_modello->columnCount());
    } catch (const VbErrore &) {
        valori.clear();
    }
    return valori;
}

bool GestLinee::stessaChiave(int riga, const QVariantList &valori) const
{
    bool chiave = false;
    for (int c = 0; c < m_modello->columnCount(); ++c) {
        if (!m_modello->colonne()[size_t(c)].chiave)
            continue;
        chiave = true;
        if (m_modello->valore(riga, c) != valori.value(c))
            return false;
    }
    return chiave;
}

void GestLinee::riprendiDopoConflitto(int riga, QHash<int, QVariant> modifiche)
{
    const bool rileggi = m_sceltaConflitto == 1;
    m_sceltaConflitto = 0;
    // The line is found again by its key columns: other desks may have added
    // or removed lines before it.
    QVariantList valori;
    for (int c = 0; c < m_modello->columnCount(); ++c)
        valori << m_modello->valore(riga, c);
    Ricarica(true);
    if (rileggi)
        return;
    for (int r = 0; r < NumeroRighe(); ++r) {
        if (!stessaChiave(r, valori))
            continue;
        if (m_griglia)
            m_griglia->setCurrentIndex(m_modello->index(r, std::max(0, ColonnaCorrente())));
        for (auto it = modifiche.constBegin(); it != modifiche.constEnd(); ++it)
            m_modello->impostaModifica(r, it.key(), it.value());
        aggiornaBarra();
        return;
    }
}

void GestLinee::dopoRigaEliminata(int riga)
{
    m_erroreRiga = 0;
    // The line's edits go with it; the other lines are shown as stored now.
    const int colonna = ColonnaCorrente();
    Ricarica(true);
    if (m_griglia && NumeroRighe() > 0)
        tornaAllaRiga(std::min(riga, NumeroRighe() - 1), colonna);
}

void GestLinee::nuovaRiga()
{
    const int rigaPrima = RigaCorrente(), colPrima = ColonnaCorrente();
    const int r = m_modello->aggiungiNuova();
    int c = 0;
    while (m_griglia && c < m_modello->columnCount() - 1 && m_griglia->isColumnHidden(c))
        ++c;
    if (m_griglia) {
        m_riposiziona = true;
        m_griglia->setCurrentIndex(m_modello->index(r, c));
        m_riposiziona = false;
    }
    attiva();
    if (m_owner)
        m_owner->dbgRiga_OnAddNew(*this);
    aggiornaContatore();
    aggiornaBarra();
    if (m_owner) {
        attiva();
        m_owner->dbgRiga_RowColChange(*this, rigaPrima, colPrima);
    }
    if (m_griglia)
        m_griglia->edit(m_modello->index(r, c));
}

void GestLinee::scartaModifiche()
{
    if (QWidget *editor = editore())
        emit m_griglia->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    m_modello->scartaModifiche();
    aggiornaContatore();
    aggiornaBarra();
}

bool GestLinee::cancellaRiga(bool chiedi)
{
    const int r = RigaCorrente();
    if (r < 0 || m_livello != 1)
        return false;
    if (m_modello->rigaNuova(r)) {
        scartaModifiche();
        return true;
    }
    if (chiedi && Chiedi(QStringLiteral("Confermi la cancellazione della riga?"), kSiNo, 2) != 1)
        return false;
    // The line's edits, for a delete refused because another desk changed it.
    const QHash<int, QVariant> modifiche =
        m_modello->rigaInModifica() == r ? m_modello->modifiche() : QHash<int, QVariant>();
    scartaModifiche();
    attiva();
    m_erroreRiga = 0;
    m_sceltaConflitto = 0;
    m_inCancella = true;
    try {
        m_owner->olRecPosition(r);
        m_owner->DatiDelete();
    } catch (const VbErrore &e) {
        int errore = e.numero(), risposta = 0;
        m_ultimoErrore = e.descrizione();
        m_owner->DatiErrore(*this, errore, risposta);
    }
    m_inCancella = false;
    // The owner reports its own failures: what it met decides what follows.
    if (m_sceltaConflitto != 0) {
        riprendiDopoConflitto(r, modifiche);
        return false;
    }
    if (m_erroreRiga == kRigaEliminata) {
        dopoRigaEliminata(r);
        return false;
    }
    const bool fallita = m_erroreRiga != 0;
    m_erroreRiga = 0;
    Ricarica(true);
    if (m_griglia && NumeroRighe() > 0)
        m_griglia->setCurrentIndex(
            m_modello->index(std::min(r, NumeroRighe() - 1), std::max(0, ColonnaCorrente())));
    return !fallita;
}

void GestLinee::vaiABookmark()
{
    if (!m_owner || !m_griglia)
        return;
    bool ok = false;
    const int r = m_owner->ovfrmBookmark().trimmed().toInt(&ok) - 1;
    if (ok && r >= 0 && r < NumeroRighe())
        m_griglia->setCurrentIndex(m_modello->index(r, std::max(0, ColonnaCorrente())));
}

bool GestLinee::protetto(const std::function<void()> &lavoro)
{
    struct Evento {
        int &n;
        explicit Evento(int &n) : n(n) { ++n; }
        ~Evento() { --n; }
    } evento(m_eventi);
    if (m_eventi == 1)
        m_persaDetta = false;
    QString testo;
    int numero = 0;
    try {
        lavoro();
        return true;
    } catch (const VbErrore &e) {
        numero = e.numero();
        testo = e.descrizione();
    } catch (const std::exception &e) {
        numero = VbErrore::ChiamataOdbcFallita;
        testo = QString::fromLocal8Bit(e.what());
    }
    m_inSalva = m_inCancella = false;
    m_sceltaConflitto = 0;
    int errore = numero, risposta = 0;
    m_ultimoErrore = testo;
    try {
        if (m_owner)
            m_owner->DatiErrore(*this, errore, risposta);
        else
            ErroreGriglia(errore, risposta);
    } catch (...) {
        // Nothing more can be said than what the message box failed to say.
    }
    m_erroreRiga = 0;
    m_ultimoErrore.clear();
    return false;
}

QVariant GestLinee::EseguiComando(const QString &chiave, const QVariant &riservato, bool daGriglia)
{
    (void)riservato;
    if (m_inComando)
        return false;
    m_inComando = true;
    struct Fine {
        bool &f;
        ~Fine() { f = false; }
    } fine{m_inComando};
    QVariant esito = false;
    protetto([&] { esito = eseguiComando(chiave, daGriglia); });
    return esito;
}

QVariant GestLinee::eseguiComando(const QString &chiave, bool daGriglia)
{
    attiva();
    const QString k = chiave.toLower();
    const bool rw = m_livello == 1 && m_owner;
    if (k == QLatin1String("nuovo")) {
        if (!rw || !ChiudiEditor() || !SalvaRiga())
            return false;
        nuovaRiga();
        return true;
    }
    if (k == QLatin1String("salva"))
        return rw && ChiudiEditor() && SalvaRiga();
    if (k == QLatin1String("cancella")) {
        const bool fatto = rw && cancellaRiga(true);
        // From the grid's own delete the engine has always dealt with it.
        return daGriglia ? true : fatto;
    }
    if (k == QLatin1String("annulla")) {
        scartaModifiche();
        return true;
    }
    if (k == QLatin1String("vaia")) {
        vaiABookmark();
        return true;
    }
    if (k == QLatin1String("stampa")) {
        // An empty grid is not printed, and the user is told why nothing happens.
        if (m_formStampa && NumeroRighe() == 0)
            Chiedi(QStringLiteral("La griglia è vuota e non c'è nessuna riga da stampare."),
                   {QStringLiteral("&Ok")});
        else if (m_formStampa)
            m_formStampa->ApriPerLista(*this);
        return m_formStampa != nullptr;
    }
    if (k == QLatin1String("chiudi")) {
        if (m_owner)
            m_owner->ChiudiFrm();
        return true;
    }
    if (k == QLatin1String("menu")) {
        if (m_owner)
            m_owner->MenuFrm();
        return true;
    }
    return false;
}

void GestLinee::DopoComando(int &statoPagina)
{
    aggiornaContatore();
    aggiornaBarra();
    emit dopoComando(statoPagina);
}

int GestLinee::OrdinaSuColonna(int colIndex, QString &sql)
{
    (void)sql;
    // Sorting re-reads the rows: never over a line with unsaved changes.
    if (!m_owner || colIndex < 0 || colIndex >= m_modello->columnCount() || EditorAperto() ||
        m_modello->modificata())
        return 1;
    attiva();
    int esito = 1;
    try {
        esito = m_owner->DatiOrdinaSql(colIndex);
    } catch (const VbErrore &) {
        esito = 1;
    }
    if (esito != 0)
        return esito > 0 ? esito : 1;
    try {
        Ricarica(false);
    } catch (const VbErrore &e) {
        // The owner's rows are already in the new order: showing the old ones
        // would let a later save or delete reach the wrong line by position.
        m_modello->impostaRighe({});
        int errore = e.numero(), risposta = 0;
        m_ultimoErrore = e.descrizione();
        m_owner->DatiErrore(*this, errore, risposta);
        return 1;
    }
    return 0;
}

bool GestLinee::PuoChiudere()
{
    if (!ChiudiEditor())
        return false;
    if (!m_modello->modificata())
        return true;
    const int r = Chiedi(QStringLiteral("La riga è stata modificata. Salvare le modifiche?"),
                         {QStringLiteral("&Sì"), QStringLiteral("&No"), QStringLiteral("&Annulla")}, 1);
    if (r == 1)
        return SalvaRiga();
    if (r == 2) {
        scartaModifiche();
        return true;
    }
    return false;
}

QVariant GestLinee::ErroreGriglia(int dataError, int &response, const QVariant &noError)
{
    response = 0;
    if (noError.isValid() && noError.toBool())
        return {};
    static const UtilGlob util;
    QString testo = m_ultimoErrore.isEmpty() ? util.TestoErrore(dataError) : m_ultimoErrore;
    m_ultimoErrore.clear();
    m_erroreRiga = dataError;
    if (dataError == ErroriDb::ConnessioneOdbcFallita && m_eventi > 0) {
        if (m_persaDetta)
            return {};
        m_persaDetta = true;
    }
    const QString dettaglio = ErroriDb::DettaglioErrore(dataError, testo);
    if (dataError == kRigaEliminata && (m_inSalva || m_inCancella)) {
        // Saving it again could only fail again: the rows are read anew.
        Chiedi(nomeRiga() +
                   (m_inCancella ? QStringLiteral(" era già stata cancellata da un'altra postazione")
                                 : QStringLiteral(" è stata cancellata da un'altra postazione e le "
                                                  "modifiche fatte qui non sono state salvate")) +
                   QStringLiteral(": la griglia mostra ora le righe come sono salvate.") + dettaglio,
               {QStringLiteral("&Ok")}, 1);
        return {};
    }
    if (dataError == ErroriDb::RecordBloccato || dataError == ErroriDb::BloccatoDaAltroUtente) {
        // Another desk holds the line: nothing written, the edits stay.
        Chiedi(nomeRiga() +
                   (m_inCancella
                        ? QStringLiteral(" è in uso su un'altra postazione e non è stata cancellata. "
                                         "Riprovare tra qualche istante.")
                        : QStringLiteral(" è in uso su un'altra postazione: le modifiche della riga "
                                         "non sono state salvate e restano nella griglia. "
                                         "Riprovare tra qualche istante.")) +
                   dettaglio,
               {QStringLiteral("&Ok")}, 1);
        return {};
    }
    if (dataError != ErroriDb::RecordModificato) {
        // The number is said once, also when the text begins with it ("3022 - "),
        // and not before a text that already gives it in its detail.
        const QString numero = QString::number(dataError) + QStringLiteral(" - ");
        if (testo.startsWith(numero))
            testo = testo.mid(numero.size());
        const bool numerato = testo.contains(ErroriDb::DettaglioErrore(dataError, {}).trimmed());
        Chiedi((numerato ? QString() : QStringLiteral("Errore(%1): ").arg(dataError)) + testo,
               {QStringLiteral("&Ok")}, 1);
        return {};
    }
    // Another desk changed the line since it was read: nothing was written
    // or deleted, and the line's edits are kept until the user chooses.
    if (m_inCancella)
        testo =
            nomeRiga() +
            QStringLiteral(" è stata modificata da un'altra postazione dopo essere stata letta qui e non è "
                           "stata cancellata.\r\n\r\n") +
            QStringLiteral("\"Rileggi\": mostra le righe come sono salvate ora, per cancellarla di nuovo "
                           "se va ancora cancellata; le modifiche della riga si perdono.\r\n") +
            QStringLiteral("\"Continua\": mantiene le modifiche della riga sulle righe salvate ora.");
    else
        testo =
            nomeRiga() +
            QStringLiteral(" è stata modificata da un'altra postazione dopo essere stata letta qui: le "
                           "modifiche della riga non sono state salvate e restano nella griglia.\r\n\r\n") +
            QStringLiteral("\"Rileggi\": mostra le righe come sono salvate ora; le modifiche della riga "
                           "si perdono.\r\n") +
            QStringLiteral("\"Continua\": mantiene le modifiche della riga sulle righe salvate ora; "
                           "salvando di nuovo, sostituiscono i valori dell'altro utente.");
    m_sceltaConflitto = Chiedi(testo + dettaglio, {QStringLiteral("&Rileggi"), QStringLiteral("&Continua")},
                               m_inCancella ? 1 : 2) == 1
                            ? 1
                            : 2;
    return {};
}

QString GestLinee::nomeRiga() const
{
    // By its place among the rows shown and the grid's title (what it holds
    // and whose it is).
    const int riga = RigaCorrente();
    QString nome = riga >= 0 ? QStringLiteral("La riga %1").arg(riga + 1) : QStringLiteral("La riga");
    const QString titolo = TitoloStampa();
    if (!titolo.isEmpty())
        nome += QStringLiteral(" (") + titolo + QLatin1Char(')');
    return nome;
}

bool GestLinee::tasto(int keyCode, int shift)
{
    // Keys an open cell editor lets through (Enter, Escape) are its own:
    // the editor commits or reverts after this event.
    if (EditorAperto())
        return false;
    attiva();
    int kc = keyCode;
    if (m_owner)
        m_owner->dbgRiga_KeyDown(*this, kc, shift);
    if (kc == 0)
        return true;
    using namespace CodiciTasto;
    const int col = ColonnaCorrente();
    const bool pulsante = col >= 0 && m_modello->colonne()[size_t(col)].pulsante;
    if (kc == Delete && shift == 0) {
        if (m_owner)
            m_owner->ButtonComandoLin(*this, QStringLiteral("Cancella"));
        return true;
    }
    if (kc == Insert && shift == 0) {
        if (m_owner)
            m_owner->ButtonComandoLin(*this, QStringLiteral("Nuovo"));
        return true;
    }
    if (kc == Escape) {
        if (m_modello->modificata()) {
            scartaModifiche();
            return true;
        }
        return false;
    }
    if (pulsante && (kc == F4 || (kc == Down && shift == MaskAlt))) {
        if (m_owner && m_livello == 1)
            m_owner->dbgRiga_ButtonClick(*this, col);
        return true;
    }
    if (kc == Return && m_griglia && col >= 0) {
        // Enter walks the editable cells: the next column, then the next line.
        const int r = RigaCorrente();
        int c = col + 1;
        while (c < m_modello->columnCount() && m_griglia->isColumnHidden(c))
            ++c;
        if (c < m_modello->columnCount())
            m_griglia->setCurrentIndex(m_modello->index(r, c));
        else if (r + 1 < NumeroRighe()) {
            c = 0;
            while (c < m_modello->columnCount() - 1 && m_griglia->isColumnHidden(c))
                ++c;
            m_griglia->setCurrentIndex(m_modello->index(r + 1, c));
        }
        return true;
    }
    return false;
}

bool GestLinee::caratteri(QObject *destinatario, QKeyEvent *k)
{
    const QString testo = k->text();
    if (testo.size() != 1 || !testo[0].isPrint() || !m_owner)
        return false;
    int ascii = testo[0].unicode();
    attiva();
    m_owner->dbgRiga_KeyPress(*this, ascii);
    if (ascii == 0)
        return true;
    // The (possibly changed) character goes on as an event of its own, so
    // that the view opening an editor for it does not hand it to the owner again.
    QKeyEvent nuovo(QEvent::KeyPress, k->key(), k->modifiers(), QString(QChar(char16_t(ascii))),
                    k->isAutoRepeat());
    const QEvent *prima = m_eventoDato;
    m_eventoDato = &nuovo;
    QCoreApplication::sendEvent(destinatario, &nuovo);
    m_eventoDato = prima;
    return true;
}

bool GestLinee::tastoEditore(QObject *editor, QKeyEvent *k)
{
    attiva();
    int kc = CodiciTasto::DaEvento(k);
    if (kc != 0 && m_owner) {
        m_owner->dbgRiga_KeyDown(*this, kc, CodiciTasto::ShiftDaQt(k->modifiers()));
        if (kc == 0)
            return true;
    }
    return caratteri(editor, k);
}

bool GestLinee::eventFilter(QObject *obj, QEvent *ev)
{
    if (ev->type() != QEvent::KeyPress || ev == m_eventoDato)
        return QObject::eventFilter(obj, ev);
    // A grid disabled, or inside a disabled container, takes no keys.
    if (auto *w = qobject_cast<QWidget *>(obj); w && !w->isEnabled())
        return QObject::eventFilter(obj, ev);
    auto *k = static_cast<QKeyEvent *>(ev);
    // A key whose handling failed has been answered with the error: the view
    // does not go on to do with it what it would by itself.
    if (obj == m_griglia) {
        const int codice = CodiciTasto::DaEvento(k);
        bool preso = false;
        if (!protetto([&] {
                preso = (codice != 0 && tasto(codice, CodiciTasto::ShiftDaQt(k->modifiers()))) ||
                        (!EditorAperto() && caratteri(obj, k));
            }) ||
            preso)
            return true;
    } else if (m_griglia && obj == editore()) {
        bool preso = false;
        if (!protetto([&] { preso = tastoEditore(obj, k); }) || preso)
            return true;
    }
    return QObject::eventFilter(obj, ev);
}
