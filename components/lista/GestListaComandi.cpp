// List engine: the list commands, sorting on a column, the bookmark, and the
// hand-over of the list to printing.
#include "components/lista/GestLista.h"

#include "components/db/ErroriDb.h"
#include "components/db/JetSql.h"
#include "components/lista/ChiamanteLista.h"
#include "components/lista/ConteggioParallelo.h"
#include "components/lista/ListaPagine.h"
#include "components/lista/StampaLista.h"
#include "components/stampa/Stampatore.h"
#include "components/util/VbErrore.h"

#include <QHeaderView>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <utility>

bool GestLista::EseguiComandoLista(const QString &chiave)
{
    if (m_inComando)
        return false;
    m_inComando = true;
    struct Fine {
        bool &f;
        ~Fine() { f = false; }
    } fine{m_inComando};
    const QString k = chiave.toLower();
    if (k == QLatin1String("aggiorna"))
        return aggiorna();
    if (k == QLatin1String("cerca"))
        return cerca();
    if (k == QLatin1String("vaia"))
        return vaiABookmark();
    if (k == QLatin1String("stampa"))
        return stampa();
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

// Applies the search fields: the window checks them, builds its SQL on their
// condition and has it opened.
bool GestLista::aggiorna()
{
    if (!m_owner)
        return false;
    if (!m_owner->VerSelez().toBool()) {
        chiedi(QStringLiteral(
            "I criteri di ricerca non sono validi: correggere i campi in rosso e controllare che "
            "in ogni intervallo il primo valore non superi il secondo."));
        return false;
    }
    const QString condizione = m_listaPagine ? m_listaPagine->CondizioneLista() : QString();
    QString sql = m_owner->PrepSql(condizione).toString();
    // An order the user chose on a header stays until another is chosen.
    if (!m_ordineScelto.isEmpty())
        if (const SqlLista::Parti parti = SqlLista::Scomponi(sql); parti.semplice)
            sql = SqlLista::ConOrdine(parti, m_ordineScelto);
    // The row the user is on (and the customer the form shows through it)
    // stays current when it is still in the list the search gives; gone from
    // the same list, the row in its place takes over.
    const int riga = RigaCorrente();
    const QVariantList chiave = ChiaveRiga(riga);
    const bool stessa = m_righe.Aperta() && sql == m_righe.Sql();
    const QStringList ordine = stessa ? m_righe.ValoriOrdine(riga) : QStringList();
    const int colonna =
        m_griglia && m_griglia->currentIndex().isValid() ? m_griglia->currentIndex().column() : 0;
    try {
        m_owner->SettaRecordset(sql, true);
    } catch (const VbErrore &e) {
        aggiornamentoFallito(e);
        return false;
    }
    RitrovaRiga(chiave, stessa ? riga : -1, colonna, ordine);
    return true;
}

int GestLista::OrdinaPerColonna(int colIndex, const QString &sql)
{
    if (!m_owner || colIndex < 0 || colIndex >= NumeroColonne())
        return 1;
    const QString campo = m_owner->ColToSourceField(colIndex).toString().trimmed();
    const SqlLista::Parti parti = SqlLista::Scomponi(sql);
    if (campo.isEmpty() || !SqlLista::NomeSemplice(campo) || !parti.semplice)
        return 1;
    // A second click on the column the list is ordered by reverses the order.
    bool discendente = false;
    if (!parti.ordine.isEmpty() && parti.ordine.size() == 1 &&
        parti.ordine[0].colonna.compare(campo, Qt::CaseInsensitive) == 0)
        discendente = !parti.ordine[0].discendente;
    const QList<SqlLista::VoceOrdine> ordine{SqlLista::VoceOrdine{campo, discendente}};
    QString nuovo = SqlLista::ConOrdine(parti, ordine);
    // The row the user is on stays current in the new order, so that the
    // next and previous records go on from it.
    const int riga = RigaCorrente();
    const QVariantList chiave = ChiaveRiga(riga);
    const int colonna =
        m_griglia && m_griglia->currentIndex().isValid() ? m_griglia->currentIndex().column() : 0;
    // The same rows in another order, as many as counted, shown at once
    // around the row the user is on (ApriSql).
    m_apriIntorno = chiave;
    m_totaleIntorno = m_righe.ConteggioNoto() ? m_righe.RigheNote() : -1;
    m_colonnaIntorno = colonna;
    const auto fine = qScopeGuard([this] { m_apriIntorno.clear(); });
    try {
        m_owner->SettaRecordset(nuovo, true);
    } catch (const VbErrore &e) {
        // The list keeps the rows and the order it had. Only a text the
        // engine refuses means the column cannot be ordered on; any other
        // failure (the server gone) is said as it is.
        if (e.numero() == ErroriDb::ErroreSintassi || e.numero() == JetSql::ErroreNonTradotto ||
            e.numero() == JetSql::ErroreTroppoComplessa || !m_righe.Aperta())
            return 1;
        aggiornamentoFallito(e);
        return 2;
    }
    m_ordineScelto = ordine;
    mostraOrdine();
    return 0;
}

void GestLista::avviaPosizione()
{
    if (m_righe.PosizioneNota() || m_posizione->Avvia(m_righe.Database(), m_righe.Connessione(),
                                                      m_righe.SqlPosizione(), m_righe.Ancoraggio()))
        return;
    // Where no thread can count (a database in memory, a transaction): here.
    try {
        colloca(m_righe.Ancoraggio(), [this] { m_righe.Assesta(); });
    } catch (const VbErrore &e) {
        erroreLettura(e.numero(), e.descrizione());
    }
}

void GestLista::colloca(int ancoraggio, const std::function<void()> &assesta)
{
    if (!m_righe.PosizioneNota() && ancoraggio == m_righe.Ancoraggio()) {
        m_chiaveSeguita = ChiaveRiga(RigaCorrente());
        // A blank row (set by the program) stands for no customer.
        for (const QVariant &v : std::as_const(m_chiaveSeguita))
            if (!v.isValid() || v.isNull())
                m_chiaveSeguita.clear();
    }
    const auto fine = qScopeGuard([this] { m_chiaveSeguita.clear(); });
    assesta();
}

int GestLista::rigaSeguita(int attesa)
{
    const int ultima = m_modello->rowCount() - 1;
    if (ultima < 0)
        return -1;
    attesa = std::clamp(attesa, 0, ultima);
    const QVariantList chiave = std::exchange(m_chiaveSeguita, {});
    if (chiave.isEmpty() || !m_righe.Esiste(attesa) || m_righe.Valori(attesa, m_righe.Chiave()) == chiave)
        return attesa;
    // Rows added or deleted meanwhile between it and the row shown: among
    // the rows around.
    for (int d = 1; d <= RigheLista::RighePagina; ++d)
        for (const int riga : {attesa - d, attesa + d})
            if (riga >= 0 && riga <= ultima && m_righe.Esiste(riga) &&
                m_righe.Valori(riga, m_righe.Chiave()) == chiave)
                return riga;
    return attesa;
}

void GestLista::spostaRighe(int spostamento)
{
    // The rows move, the screen with them: the user's wish for the last row
    // stays, and is granted once they are counted too.
    const int fondo = m_fondoVoluto;
    {
        const auto rimetti = qScopeGuard([&] { m_fondoVoluto = fondo; });
        // The row the user is on may be beyond the page read around the row
        // shown: the grid is given it, and a screen after it, before it moves.
        const QModelIndex corrente = m_griglia ? m_griglia->currentIndex() : QModelIndex();
        if (corrente.isValid() && spostamento != 0 && !m_righe.ConteggioNoto())
            m_righe.Esiste(corrente.row() + spostamento + righeSchermo() - 1);
        m_modello->Sincronizza();
        m_modello->Rinfresca();
        if (m_griglia) {
            QScrollBar *barra = m_griglia->verticalScrollBar();
            const int cima = barra->value();
            const QModelIndex i = m_griglia->currentIndex();
            // The customer the user is on, at its place (by its key when
            // known); found elsewhere than the screen went, it is shown.
            const int riga = i.isValid() ? rigaSeguita(i.row() + spostamento) : -1;
            if (riga >= 0)
                m_griglia->setCurrentIndex(m_modello->index(riga, i.column()));
            barra->setValue(cima + spostamento);
            if (riga >= 0 && riga != i.row() + spostamento)
                m_griglia->scrollTo(m_griglia->currentIndex());
        }
    }
    vaiInFondo();
    aggiornaContatore();
}

void GestLista::mostraOrdine()
{
    if (!m_griglia)
        return;
    QHeaderView *h = m_griglia->horizontalHeader();
    int colonna = -1;
    if (m_ordineScelto.size() == 1)
        for (int i = 0; i < NumeroColonne() && colonna < 0; ++i)
            if (CampoColonna(i).compare(m_ordineScelto[0].colonna, Qt::CaseInsensitive) == 0)
                colonna = i;
    h->setSortIndicatorShown(colonna >= 0);
    if (colonna >= 0)
        h->setSortIndicator(colonna,
                            m_ordineScelto[0].discendente ? Qt::DescendingOrder : Qt::AscendingOrder);
}

bool GestLista::vaiABookmark()
{
    if (!m_owner || !m_righe.Aperta())
        return false;
    const QString segno = m_owner->ovfrmBookmark();
    if (segno.isEmpty())
        return false;
    QVariantList chiave;
    for (const QString &parte : segno.split(QLatin1Char('|')))
        chiave << parte;
    // Shown at once among its neighbours, its number counted on a thread
    // (RitrovaRiga), on a list read by key.
    if (m_righe.PerChiave()) {
        const int colonna =
            m_griglia && m_griglia->currentIndex().isValid() ? m_griglia->currentIndex().column() : 0;
        if (RitrovaRiga(chiave, -1, colonna))
            return true;
        // A list that could not be read has been said so and emptied.
        if (m_righe.Aperta())
            chiedi(QStringLiteral("La riga selezionata non è più nella lista."));
        return false;
    }
    int riga = -1;
    try {
        riga = m_righe.PosizioneChiave(chiave);
    } catch (const VbErrore &e) {
        erroreLettura(e.numero(), e.descrizione());
        return false;
    }
    if (riga < 0) {
        chiedi(QStringLiteral("La riga selezionata non è più nella lista."));
        return false;
    }
    m_modello->Sincronizza();
    ImpostaRigaCorrente(riga);
    return true;
}

bool GestLista::stampa()
{
    if (!m_formStampa || !m_righe.Aperta())
        return false;
    m_formStampa->ApriPerLista(*this);
    return true;
}

void GestLista::ogSta(Stampatore *motore)
{
    m_motore = motore;
}

Stampatore *GestLista::ogSta() const
{
    return m_motore;
}

void GestLista::AvviaStampa(const QString &tipo, int orientamento, QFont &font)
{
    if (!m_righe.Aperta())
        return;
    if (m_motore)
        m_motore->ImpostaMessaggi(m_messaggi, FinestraStampa());
    const QString errore = EseguiStampa(m_motore, m_sorgente, m_inStampa, tipo, orientamento, font);
    if (!errore.isEmpty())
        chiedi(errore);
}

QWidget *GestLista::FinestraStampa() const
{
    return m_griglia ? m_griglia->window() : nullptr;
}
