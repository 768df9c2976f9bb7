// Record-form engine: initialisation, the commands, the page state and its
// callback, the question to save a changed record, results.
#include "components/pagine/GestPagineInterni.h"

#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/Schema.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

void GestPagine::Inizializza(ChiamantePagine *form, DbMotore *db, const QString &connessione,
                             FormListaPagine *&lista)
{
    d->form = form;
    d->db = db;
    d->connessione = connessione;
    d->lista = lista;
    d->tipi = db ? db->TipiColonne(connessione, d->tabella) : QHash<QString, Risultato::Tipo>();
    ++d->generazioneTipi;
    if (d->lista)
        d->lista->impOggBase(this);
    lista = d->lista;
    // A box takes no more than its column holds, typed or written by the program.
    const QHash<QString, int> lunghezze = Schema::LunghezzeTesto(d->tabella);
    for (const auto &c : d->campi) {
        if (!c->controllo)
            continue;
        if (c->colonne.size() == 1)
            if (const int n = lunghezze.value(c->colonne.first().toLower()); n > 0)
                c->controllo->setMaxLength(n);
        // Typing is a change even where the form does not forward its change event.
        connect(c->controllo, &QLineEdit::textEdited, this, [this] { CampoModificato(); });
    }
    pulisciCampi(d->modoAvvio == 1 ? 2 : 0, d->modoAvvio != 1);
    aggiornaAbilitazioni();
    if (CallbackAbilitata(OpStato)) {
        QVariant pvRit;
        QVariantList pvArray;
        callbackPri(OpStato, pvRit, pvArray);
        callbackDop(OpStato, pvRit, pvArray);
    }
}

int GestPagine::chiedi(const QString &testo, const QStringList &pulsanti, int predefinito)
{
    return ChiediUtente(d->messaggi, testo, pulsanti, predefinito, d->form ? d->form->Finestra() : nullptr);
}

int GestPagine::callbackPri(int op, QVariant &pvRit, QVariantList &pvArray)
{
    if (!d->form || !CallbackAbilitata(op))
        return 0;
    BloccoModifiche blocco(*this);
    return d->form->PersPagPri(op, pvRit, pvArray).toInt();
}

int GestPagine::callbackDop(int op, QVariant &pvRit, QVariantList &pvArray)
{
    if (!d->form || !CallbackAbilitata(op))
        return 0;
    BloccoModifiche blocco(*this);
    return d->form->PersPagDop(op, pvRit, pvArray).toInt();
}

void GestPagine::impostaStato(int stato)
{
    if (stato == m_stato)
        return;
    m_stato = stato;
    aggiornaAbilitazioni();
    emit statoCambiato(stato);
    QVariant pvRit;
    QVariantList pvArray;
    callbackPri(OpStato, pvRit, pvArray);
    callbackDop(OpStato, pvRit, pvArray);
}

void GestPagine::vaiAlCampo(const QString &nome)
{
    Campo *c = campo(nome);
    if (!c || !c->controllo)
        return;
    coloraCampo(*c, true);
    // Wherever the user stands, the field is shown (its page, or the control
    // in front of a hidden code box) and gets the focus.
    QPointer<QWidget> w = d->form ? d->form->MostraCampo(c->controllo) : c->controllo.data();
    UtilFinestre::UnoShot(this, [w] {
        if (w)
            UtilFinestre::ImpostaFocus(w, true);
    });
}

bool GestPagine::chiediSalvataggio()
{
    if (!m_modificato || m_abilRW != 1 || m_stato == StatoRicerca)
        return true;
    const int r = chiedi(QStringLiteral("Il record è stato modificato. Salvare le modifiche?"),
                         {QStringLiteral("&Sì"), QStringLiteral("&No"), QStringLiteral("&Annulla")}, 1);
    if (r == 1)
        return salva();
    if (r == 2) {
        m_modificato = false;
        return true;
    }
    return false;
}

bool GestPagine::PuoChiudere()
{
    if (d->inOperazione)
        return false;
    return chiediSalvataggio();
}

void GestPagine::ImpostaControlloOttimistico(bool attivo)
{
    d->controlloOttimistico = attivo;
}

void GestPagine::ricordaErrore(int numero, const QString &descrizione)
{
    d->ultimoRisultato = -std::abs(long(numero == 0 ? 1 : numero));
    d->ultimoErrore = descrizione;
    d->erroreSegnalato = false;
}

long GestPagine::UltimoRisultato(int riservato) const
{
    (void)riservato;
    return d->ultimoRisultato;
}

RecDat *GestPagine::RecordsetPagina() const
{
    return &d->rec;
}

QVariant GestPagine::LeggiCampo(const QString &chiave, const QString &campo) const
{
    if (chiave.isEmpty() || !d->rec.Esiste(chiave) || d->rec.NessunRecord(chiave))
        return {};
    return d->rec.LeggiCampo(chiave, campo);
}

QVariant GestPagine::EseguiComando(const QString &chiave)
{
    if (d->inOperazione)
        return false;
    d->inOperazione = true;
    struct Fine {
        bool &f;
        ~Fine() { f = false; }
    } fine{d->inOperazione};
    const QString k = chiave.trimmed().toLower();
    try {
        if (k == QLatin1String("salva"))
            return salva();
        if (k == QLatin1String("cancella"))
            return cancella();
        if (k == QLatin1String("duplica"))
            return copia();
        if (k == QLatin1String("inizio"))
            return naviga(0);
        if (k == QLatin1String("fine"))
            return naviga(1);
        if (k == QLatin1String("successivo"))
            return naviga(2);
        if (k == QLatin1String("precedente"))
            return naviga(3);
        if (k == QLatin1String("nuovo")) {
            if (!chiediSalvataggio())
                return false;
            return pulisciCampi(0, true);
        }
        if (k == QLatin1String("annulla")) {
            // Back to the stored record, or to an empty new one.
            if ((m_stato == StatoRecord || m_stato == StatoVariaChiave) && !d->chiaveLetta.isEmpty())
                return leggi(condizioneChiave(d->chiaveLetta), {}, 0);
            return pulisciCampi(0, true);
        }
        if (k == QLatin1String("aggiorna")) {
            if (m_stato == StatoRecord && !m_modificato && !d->chiaveLetta.isEmpty())
                return leggi(condizioneChiave(d->chiaveLetta), {}, 0);
            return false;
        }
        if (k == QLatin1String("varkey")) {
            if (m_stato != StatoRecord || m_abilRW != 1)
                return false;
            impostaStato(StatoVariaChiave);
            if (d->controlloChiave)
                UtilFinestre::ImpostaFocus(d->controlloChiave, true);
            return true;
        }
        if (k == QLatin1String("ricerca")) {
            if (m_stato == StatoRicerca)
                return cercaConCriteri();
            QStringList valori;
            for (const auto &c : d->campi)
                if (c->chiave)
                    valori << (c->controllo ? c->controllo->text().trimmed() : QString());
            const bool completa = !valori.isEmpty() && !valori.contains(QString());
            if (completa && !(m_stato == StatoRecord && valori == d->chiaveLetta)) {
                if (!chiediSalvataggio())
                    return false;
                if (leggi(condizioneChiave(valori), {}, 1))
                    return true;
                chiedi(QStringLiteral("Nessun record con questo codice."), {QStringLiteral("&Ok")}, 1);
                return false;
            }
            if (!chiediSalvataggio())
                return false;
            return pulisciCampi(2, false);
        }
        if (k == QLatin1String("lista")) {
            if (!d->lista)
                return false;
            d->lista->MostraLista(m_stato == StatoRicerca ? CondizioneRicerca() : QString());
            return true;
        }
        if (k == QLatin1String("listaavanti") || k == QLatin1String("listaind")) {
            if (!d->lista)
                return false;
            d->inOperazione = false;
            if (k == QLatin1String("listaavanti"))
                d->lista->ListaAvanti();
            else
                d->lista->ListaIndietro();
            return true;
        }
        if (k == QLatin1String("chiudi")) {
            if (d->form) {
                d->inOperazione = false;
                d->form->ChiudiFrm();
            }
            return true;
        }
        if (k == QLatin1String("menu")) {
            if (d->form)
                d->form->MenuFrm();
            return true;
        }
    } catch (const VbErrore &e) {
        // A delete's callback may fail as well (the rows deleted with the record).
        ricordaErrore(e.numero(), e.descrizione());
        const bool cancellazione = k == QLatin1String("cancella");
        d->operazione = cancellazione ? OpCancella : OpSalva;
        SegnalaErrore(d->ultimoRisultato);
        d->operazione = OpSalva;
        if (cancellazione)
            dopoCancellazioneRifiutata();
        d->sceltaConflitto = 0;
    }
    return false;
}
