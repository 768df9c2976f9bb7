// ListaPagine: search fields, their condition, and the hand-back of the chosen
// row to the record form.
#include "components/lista/ListaPagine.h"

#include "components/forms/ColoriVb.h"
#include "components/lista/ChiamanteLista.h"
#include "components/lista/GestLista.h"
#include "components/pagine/GestPagine.h"
#include "components/util/VbErrore.h"

#include <QLineEdit>
#include <QTableView>
#include <QToolBar>
#include <QWidget>

ListaPagine::ListaPagine(QObject *parent) : QObject(parent) {}
ListaPagine::~ListaPagine() = default;

void ListaPagine::ImpostaForm(ChiamanteLista *owner)
{
    m_owner = owner;
}

void ListaPagine::ImpostaToolbar(QToolBar *barra)
{
    m_barra = barra;
}

void ListaPagine::GestoreLista(GestLista *lista)
{
    m_lista = lista;
    if (lista) {
        lista->ImpostaListaPagine(this);
        lista->ImpostaChiave(colonneChiave());
    }
}

void ListaPagine::RegistraCampoRicerca(QLineEdit *controllo, const QString &specifica,
                                       const QString &operatore, const QVariant &tipo, const QVariant &extra)
{
    if (!controllo)
        throw VbErrore(VbErrore::OggettoNonImpostato,
                       QStringLiteral("Controllo mancante per il campo di ricerca %1").arg(specifica));
    m_campi.push_back(Registrato{controllo, CampoRicerca{specifica, operatore, tipo, extra}});
}

void ListaPagine::ImpostaImmagini(const QString &tipoToolbar, QObject *immagini1, QObject *immagini2)
{
    (void)tipoToolbar;
    (void)immagini1;
    (void)immagini2;
}

void ListaPagine::OggettoBase(GestPagine *pagine)
{
    m_base = pagine;
    if (m_lista)
        m_lista->ImpostaChiave(colonneChiave());
}

QStringList ListaPagine::colonneChiave() const
{
    return m_base ? m_base->ColonneChiave() : QStringList();
}

QString ListaPagine::ChiaveLista() const
{
    if (!m_lista || !m_base)
        return {};
    const int riga = m_lista->RigaCorrente();
    if (riga < 0)
        return {};
    QStringList parti;
    const QVariantList valori = m_lista->ValoriRiga(riga, colonneChiave());
    for (const QVariant &v : valori)
        parti << m_lista->Modello()->TestoValore(v);
    return parti.join(QLatin1Char('|'));
}

bool ListaPagine::SelezioneErrata() const
{
    for (const Registrato &r : m_campi) {
        if (!r.controllo)
            continue;
        if (ColoriVb::BackColor(r.controllo) == m_coloreErrore)
            return true;
        QString condizione;
        if (!CondizioneCampo(r.campo, r.controllo->text(), condizione))
            return true;
    }
    return false;
}

QString ListaPagine::CondizioneCampi() const
{
    QStringList parti;
    bool intervallo = false;
    try {
        intervallo = m_lista && m_lista->RecordsetLista().InizioComeIntervallo();
    } catch (const VbErrore &) {
        intervallo = false; // the plain LIKE gives the same rows
    }
    for (const Registrato &r : m_campi) {
        if (!r.controllo)
            continue;
        QString condizione;
        if (CondizioneCampo(r.campo, r.controllo->text(), condizione, nullptr, intervallo) &&
            !condizione.isEmpty())
            parti << condizione;
    }
    return parti.join(QStringLiteral(" And "));
}

QString ListaPagine::CondizioneLista() const
{
    const QString campi = CondizioneCampi();
    if (m_condizioneForm.isEmpty())
        return campi;
    if (campi.isEmpty())
        return m_condizioneForm;
    return QLatin1Char('(') + m_condizioneForm + QStringLiteral(") And ") + campi;
}

void ListaPagine::MostraLista(const QString &condizioneForm)
{
    if (!m_owner || !m_lista)
        return;
    m_condizioneForm = condizioneForm;
    if (QWidget *w = m_owner->Finestra(); w && !(w->isVisible() && w->isActiveWindow())) {
        w->show();
        w->raise();
        w->activateWindow();
    }
    if (!m_lista->EseguiComandoLista(QStringLiteral("Aggiorna")))
        return;
    // The list opens on the record the form shows, when it holds it: shown
    // at once among its neighbours, its row number following.
    const QVariantList valori = chiaveMostrata();
    if (valori.isEmpty())
        return;
    const QTableView *griglia = m_lista->Griglia();
    m_lista->RitrovaRiga(valori, -1,
                         griglia && griglia->currentIndex().isValid() ? griglia->currentIndex().column() : 0);
}

bool ListaPagine::InoltraComando(const QString &chiave)
{
    if (chiave.compare(QLatin1String("Seleziona"), Qt::CaseInsensitive) == 0)
        return Seleziona();
    return false;
}

bool ListaPagine::Seleziona()
{
    return seleziona() == Esito::Letto;
}

ListaPagine::Esito ListaPagine::seleziona()
{
    if (!m_lista || !m_base)
        return Esito::NonLetto;
    const int riga = m_lista->RigaCorrente();
    if (riga < 0)
        return Esito::NonLetto;
    QStringList valori;
    for (const QVariant &v : m_lista->ValoriRiga(riga, colonneChiave()))
        valori << m_lista->Modello()->TestoValore(v);
    bool assente = false;
    // A row not read yet (blank past the rows read around a row whose place
    // is still being counted) is no record, and no record gone either.
    if (valori.isEmpty() || valori.join(QString()).isEmpty())
        return Esito::NonLetto;
    if (!m_base->LeggiDaChiave(valori, &assente)) {
        if (!assente)
            return Esito::NonLetto;
        // Deleted by another desk since the list read it: the row goes from
        // the list, the one in its place becoming current, and the user is told.
        const QString testo = m_owner ? m_owner->TestoRigaAssente(riga, valori)
                                      : ChiamanteLista::TestoRigaAssenteComune(valori);
        m_lista->TogliRiga(riga);
        m_lista->Avvisa(testo);
        // The record form still shows its record: the list goes back to it
        // (a click, Enter or "+" on the row gone), so that the next step
        // goes on from the record shown.
        tornaAlRecord();
        return Esito::Assente;
    }
    if (m_owner)
        m_owner->ovfrmBookmark(valori.join(QLatin1Char('|')));
    return Esito::Letto;
}

void ListaPagine::Avanti()
{
    if (!m_lista || !m_lista->Aperta())
        return;
    const int riga = m_lista->RigaCorrente();
    if (!m_lista->RecordsetLista().Esiste(riga + 1))
        return;
    m_lista->ImpostaRigaCorrente(riga + 1);
    seleziona();
}

void ListaPagine::Indietro()
{
    if (!m_lista || !m_lista->Aperta())
        return;
    const int riga = m_lista->RigaCorrente();
    if (riga <= 0)
        return;
    m_lista->ImpostaRigaCorrente(riga - 1);
    seleziona();
}

void ListaPagine::tornaAlRecord()
{
    const QVariantList valori = chiaveMostrata();
    if (valori.isEmpty())
        return;
    m_lista->RitrovaRiga(valori, -1);
}

QVariantList ListaPagine::chiaveMostrata() const
{
    QVariantList valori;
    if (m_base)
        for (const QString &v : m_base->ChiaveCorrente())
            valori << v;
    return valori;
}

QRect ListaPagine::AreaLista() const
{
    if (!m_lista || !m_lista->Griglia())
        return {};
    return m_lista->Griglia()->geometry();
}
