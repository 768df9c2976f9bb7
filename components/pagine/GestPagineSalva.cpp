// Record-form engine: writing the record (insert or update of the changed
// columns) and deleting it, each between the form's before and after callbacks.
#include "components/pagine/GestPagineInterni.h"

#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/VbErrore.h"

#include <optional>
#include <vector>

namespace
{

const QStringList kSiNo = {QStringLiteral("&Sì"), QStringLiteral("&No")};

// What the user is told of a record written but not read back. A lost
// connection says only that: its own words (nothing completed, the data
// still to save) would deny the save that was done.
QString testoRilettura(const VbErrore &e)
{
    const QString salvato = QStringLiteral("Il record è stato salvato, ma non è stato possibile rileggerlo");
    if (e.numero() == ErroriDb::ConnessioneOdbcFallita) {
        // The driver's words, after the connection's own message, go behind
        // the details.
        static const QString segno = QStringLiteral("\nDettaglio: ");
        const QString testo = e.descrizione();
        const qsizetype i = testo.indexOf(segno);
        return salvato +
               QStringLiteral(": il collegamento con il database si è interrotto. Quando il server sarà di "
                              "nuovo raggiungibile, per modificarlo ancora rileggerlo con \"Annulla\".") +
               (i >= 0 ? ErroriDb::DettaglioErrore(e.numero(), testo.mid(i + segno.size()))
                       : QStringLiteral("\nDettaglio: errore %1").arg(e.numero()));
    }
    return salvato + QStringLiteral(":\r\nErrore(%1): %2").arg(e.numero()).arg(e.descrizione()) +
           QStringLiteral("\r\nPer modificarlo ancora, rileggerlo con \"Annulla\".");
}

// Two stored values alike as a write compares them: exactly, texts with
// their case, Null only with Null.
bool stessoValore(const QVariant &a, const QVariant &b)
{
    const bool na = !a.isValid() || a.isNull(), nb = !b.isValid() || b.isNull();
    if (na || nb)
        return na == nb;
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return a == b;
}

} // namespace

bool GestPagine::scriviRiga()
{
    QStringList colonne, chiaveCol;
    QVariantList valori, letti, chiaveVal;
    const bool nuovo = m_stato == StatoNuovo;
    for (const auto &c : d->campi) {
        if (!c->controllo)
            continue;
        QString errore;
        const QVariantList v = valoriDaTesto(*c, errore);
        if (!errore.isEmpty())
            throw VbErrore(VbErrore::TipoNonCorrispondente, errore);
        if (nuovo || daScrivere(*c)) {
            colonne << c->colonne;
            valori << v;
            if (!nuovo)
                for (const QString &col : c->colonne)
                    letti << d->rec.LeggiCampo(m_handle, col);
        }
    }
    if (!nuovo)
        chiaveMemorizzata(chiaveCol, chiaveVal);
    if (nuovo) {
        QStringList chiave;
        for (const auto &c : d->campi)
            if (c->chiave)
                chiave << c->controllo->text().trimmed();
        RecDat prova;
        const QString h =
            prova.ApriRec(d->db, d->connessione, {},
                          QStringLiteral("SELECT ") + elencoColonne() + QStringLiteral(" FROM ") +
                              d->tabella + QStringLiteral(" WHERE ") + condizioneChiave(chiave),
                          false, RecDat::TipoSnapshot);
        if (!prova.FineDati(h))
            throw VbErrore(VbErrore::ChiaveDuplicata, QStringLiteral("Chiave duplicata"));
        d->db->InserisciRiga(d->connessione, d->tabella, colonne, valori);
        return true;
    }
    if (colonne.isEmpty())
        return true;
    // The columns written must still hold what was read: a change another
    // desk saved meanwhile is error 3197, never silently overwritten.
    const int righe = d->controlloOttimistico ? d->db->AggiornaRigaLetta(d->connessione, d->tabella, colonne,
                                                                         valori, letti, chiaveCol, chiaveVal)
                                              : d->db->AggiornaRiga(d->connessione, d->tabella, colonne,
                                                                    valori, chiaveCol, chiaveVal);
    if (righe == 0)
        throw VbErrore(VbErrore::NessunRecordCorrente, kNonEsistePiu);
    return true;
}

bool GestPagine::salva()
{
    if (m_abilRW != 1 || !(m_stato == StatoNuovo || m_stato == StatoRecord || m_stato == StatoVariaChiave))
        return false;
    if (m_stato != StatoNuovo && m_handle.isEmpty()) {
        // Saved before but not read back: nothing to compare the fields with.
        chiedi(QStringLiteral(
                   "Il record non è stato riletto dopo l'ultimo salvataggio: rileggerlo con \"Annulla\" "
                   "prima di salvarlo di nuovo."),
               {QStringLiteral("&Ok")}, 1);
        return false;
    }
    Campo *errato = nullptr;
    QString messaggio;
    if (!controllaCampi(errato, messaggio)) {
        chiedi(messaggio, {QStringLiteral("&Ok")}, 1);
        if (errato)
            vaiAlCampo(errato->nome);
        return false;
    }
    if (m_stato == StatoVariaChiave && !controllaChiave())
        return false;

    QVariant pvRit;
    QVariantList pvArray{QVariant(), QVariant()};
    // A save another desk's change would refuse is refused before the form's
    // checks and questions: nothing is asked about a save that cannot be done.
    // The write checks again, in its transaction. A database that does not
    // answer refuses it here just as well, in the same words.
    d->ultimoRisultato = 0;
    d->erroreSegnalato = true;
    bool rifiutato = false;
    try {
        UtilFinestre::CursoreOccupato attesa;
        const int errore = confrontaMemorizzato(QString());
        if (errore == ErroriDb::RecordModificato)
            throw ErroriDb::RigaModificata();
        if (errore != 0)
            throw VbErrore(errore, kNonEsistePiu);
    } catch (const VbErrore &e) {
        ricordaErrore(e.numero(), e.descrizione());
        rifiutato = true;
    }
    if (!rifiutato) {
        const int esito = callbackPri(OpSalva, pvRit, pvArray);
        if (esito != 0) {
            if (esito == 20 && !pvArray.value(1).toString().isEmpty())
                vaiAlCampo(pvArray.value(1).toString());
            return false;
        }
        d->ultimoRisultato = 0;
        d->erroreSegnalato = true;
    }

    // The fields as read when this save began: those it sends otherwise are
    // the ones it writes, what tells it kept when its commit loses its answer.
    d->lettiSalvataggio.clear();
    if (m_stato != StatoNuovo)
        for (const auto &c : d->campi)
            d->lettiSalvataggio << c->testoLetto;
    bool scritto = false;
    const bool nuovoRecord = m_stato == StatoNuovo;
    const bool propria = m_transazione;
    QStringList chiave;
    // The write may wait for another desk's lock: shown as a wait, and over
    // before anything is asked.
    std::optional<UtilFinestre::CursoreOccupato> attesa(std::in_place);
    bool iniziata = false;
    try {
        if (!rifiutato) {
            if (propria) {
                d->db->IniziaTrans(d->connessione);
                iniziata = true;
            }
            scriviRiga();
            if (propria)
                d->db->ConfermaTrans(d->connessione);
            scritto = true;
            for (const auto &c : d->campi)
                if (c->chiave)
                    chiave << c->controllo->text().trimmed();
        }
    } catch (const VbErrore &e) {
        annullaERicorda(iniziata, e);
    }

    // The form as it was before the write, put back when the form's own
    // transaction does not hold the write (see ChiamantePagine): the record
    // set read, the state and the user's texts.
    struct Prima {
        QString testo, letto, mostrato;
    };
    std::vector<Prima> prima;
    const QString handlePrima = m_handle;
    const QStringList chiavePrima = d->chiaveLetta, nonLettaPrima = d->chiaveNonLetta;
    const int statoPrima = m_stato;
    const bool modificatoPrima = m_modificato;
    QString erroreRilettura;
    if (scritto) {
        for (const auto &c : d->campi)
            prima.push_back(
                {c->controllo ? c->controllo->text() : QString(), c->testoLetto, c->testoMostrato});
        // The stored row as now written: what the next save compares against,
        // and what the form shows. The row is written whether or not it can
        // be read back. The set read before stays open until the form has
        // ended its transaction.
        QString nuovo = QStringLiteral("Pagina%1").arg(++d->giro % 2);
        if (nuovo.compare(m_handle, Qt::CaseInsensitive) == 0)
            nuovo = QStringLiteral("Pagina%1").arg(++d->giro % 2);
        try {
            d->rec.ApriRec(d->db, d->connessione, nuovo,
                           QStringLiteral("SELECT ") + elencoColonne() + QStringLiteral(" FROM ") +
                               d->tabella + QStringLiteral(" WHERE ") + condizioneChiave(chiave),
                           false, RecDat::TipoSnapshot);
            if (d->rec.FineDati(nuovo))
                throw VbErrore(VbErrore::NessunRecordCorrente, QStringLiteral("Nessun record corrente."));
        } catch (const VbErrore &e) {
            erroreRilettura = testoRilettura(e);
        }
        attesa.reset();
        m_handle = erroreRilettura.isEmpty() ? nuovo : QString();
        if (!m_handle.isEmpty() && !mostraMemorizzato()) {
            // Another desk's changes to other fields came with the row: the
            // form shows them as a read does, callbacks included.
            mostraRecord(0);
        } else {
            BloccoModifiche blocco(*this);
            d->chiaveLetta = chiave;
            for (const auto &c : d->campi)
                if (c->controllo)
                    c->testoLetto = c->controllo->text();
            impostaStato(StatoRecord);
        }
    }
    attesa.reset();
    pvRit = scritto ? QVariant() : QVariant(QString::number(-d->ultimoRisultato));
    pvArray = {QVariant(scritto), QVariant()};
    {
        BloccoModifiche blocco(*this);
        callbackDop(OpSalva, pvRit, pvArray);
    }
    if (scritto && pvArray.value(0).isValid() && !pvArray.value(0).toBool()) {
        // The form's transaction went back with the row in it, and the form
        // has said why: nothing was saved, and the window keeps what the
        // user typed, still to be saved.
        scritto = false;
        erroreRilettura.clear();
        if (!m_handle.isEmpty())
            d->rec.ChiudiRec(m_handle);
        m_handle = handlePrima;
        d->chiaveLetta = chiavePrima;
        d->chiaveNonLetta = nonLettaPrima;
        bool ridisegna = false;
        {
            BloccoModifiche blocco(*this);
            for (size_t i = 0; i < d->campi.size() && i < prima.size(); ++i) {
                Campo &c = *d->campi[i];
                c.testoLetto = prima[i].letto;
                c.testoMostrato = prima[i].mostrato;
                if (c.controllo && c.controllo->text() != prima[i].testo) {
                    c.controllo->setText(prima[i].testo);
                    ridisegna = true;
                }
            }
            if (ridisegna && d->form)
                d->form->AggNonText();
        }
        impostaStato(statoPrima);
        m_modificato = modificatoPrima;
    } else if (scritto && !handlePrima.isEmpty() && handlePrima.compare(m_handle, Qt::CaseInsensitive) != 0) {
        d->rec.ChiudiRec(handlePrima);
    }
    if (scritto)
        m_modificato = false;
    else if (!d->erroreSegnalato)
        SegnalaErrore(d->ultimoRisultato);
    if (d->sceltaConflitto != 0) {
        const bool rileggi = d->sceltaConflitto == 1;
        d->sceltaConflitto = 0;
        riprendiDopoConflitto(rileggi);
    }
    if (!erroreRilettura.isEmpty())
        chiedi(erroreRilettura, {QStringLiteral("&Ok")}, 1);
    d->rec.ChiudiRec(QStringLiteral("Memorizzato"));
    if (scritto && nuovoRecord && d->dopoSalvataggio == 1)
        pulisciCampi(0, true);
    return scritto;
}

bool GestPagine::cancella()
{
    if (m_abilRW != 1 || m_stato != StatoRecord)
        return false;
    if (m_handle.isEmpty()) {
        // Saved before but not read back: nothing to check the stored row against.
        chiedi(QStringLiteral(
                   "Il record non è stato riletto dopo l'ultimo salvataggio: rileggerlo con \"Annulla\" "
                   "prima di cancellarlo."),
               {QStringLiteral("&Ok")}, 1);
        return false;
    }
    if (chiedi(QStringLiteral("Confermi la cancellazione del record?"), kSiNo, 2) != 1)
        return false;
    QVariant pvRit;
    QVariantList pvArray{QVariant(), QVariant()};
    const int esito = callbackPri(OpCancella, pvRit, pvArray);
    if (esito != 0) {
        if (esito == 20 && !pvArray.value(1).toString().isEmpty())
            vaiAlCampo(pvArray.value(1).toString());
        return false;
    }
    d->ultimoRisultato = 0;
    d->erroreSegnalato = true;
    bool cancellato = false;
    const bool propria = m_transazione;
    {
        UtilFinestre::CursoreOccupato attesa;
        bool iniziata = false;
        try {
            if (propria) {
                d->db->IniziaTrans(d->connessione);
                iniziata = true;
            }
            // Checked as a save is, under the row's lock and inside the
            // transaction of what the form deletes with it: a record another
            // desk changed since it was read here is not deleted unseen.
            const int errore = confrontaMemorizzato(RileggiMemorizzato(), OpCancella);
            if (errore == ErroriDb::RecordModificato)
                throw ErroriDb::RigaModificata();
            if (errore != 0)
                throw VbErrore(errore, kNonEsistePiu);
            QStringList chiaveCol;
            QVariantList chiaveVal;
            chiaveMemorizzata(chiaveCol, chiaveVal);
            if (d->db->EliminaRiga(d->connessione, d->tabella, chiaveCol, chiaveVal) == 0)
                throw VbErrore(VbErrore::NessunRecordCorrente, kNonEsistePiu);
            if (propria)
                d->db->ConfermaTrans(d->connessione);
            cancellato = true;
        } catch (const VbErrore &e) {
            annullaERicorda(iniziata, e);
        }
        d->rec.ChiudiRec(QStringLiteral("Memorizzato"));
    }
    pvRit = cancellato ? 0 : int(-d->ultimoRisultato);
    pvArray = {QVariant(cancellato), QVariant()};
    {
        BloccoModifiche blocco(*this);
        callbackDop(OpCancella, pvRit, pvArray);
    }
    if (cancellato && pvArray.value(0).isValid() && !pvArray.value(0).toBool()) {
        // The form's transaction went back with the delete in it, and the
        // form has said why: the record is still there, and stays shown.
        return false;
    }
    if (!cancellato) {
        if (!d->erroreSegnalato) {
            d->operazione = OpCancella;
            SegnalaErrore(d->ultimoRisultato);
            d->operazione = OpSalva;
        }
        dopoCancellazioneRifiutata();
        return false;
    }
    pulisciCampi(0, true);
    return true;
}

void GestPagine::dopoCancellazioneRifiutata()
{
    if (d->sceltaConflitto != 0) {
        const bool rileggi = d->sceltaConflitto == 1;
        d->sceltaConflitto = 0;
        riprendiDopoConflitto(rileggi);
    } else if (d->ultimoRisultato == -VbErrore::NessunRecordCorrente && d->ultimoErrore == kNonEsistePiu) {
        // Gone already: nothing is left to show or to delete.
        pulisciCampi(0, true);
    }
}

bool GestPagine::mostraMemorizzato() const
{
    for (const auto &c : d->campi) {
        if (!c->controllo)
            continue;
        if (testoDaRecord(*c) != c->controllo->text())
            return false;
    }
    return true;
}

void GestPagine::riprendiDopoConflitto(bool rileggi)
{
    // What the user typed since the read, to be kept over the stored row.
    std::vector<std::pair<Campo *, QString>> digitati;
    for (const auto &c : d->campi)
        if (c->controllo && c->controllo->text() != c->testoLetto)
            digitati.emplace_back(c.get(), c->controllo->text());
    if (d->chiaveLetta.isEmpty() || !leggi(condizioneChiave(d->chiaveLetta), {}, 0) || rileggi)
        return;
    {
        BloccoModifiche blocco(*this);
        for (const auto &[c, testo] : digitati)
            if (c->controllo)
                c->controllo->setText(testo);
        if (d->form && !digitati.empty())
            d->form->AggNonText();
    }
    m_modificato = !digitati.empty();
}

void GestPagine::chiaveMemorizzata(QStringList &colonne, QVariantList &valori) const
{
    for (const auto &c : d->campi)
        if (c->chiave || c->chiaveFissa)
            for (const QString &col : c->colonne) {
                colonne << col;
                valori << d->rec.LeggiCampo(m_handle, col);
            }
}

QString GestPagine::RileggiMemorizzato()
{
    if (m_handle.isEmpty() || d->chiaveLetta.isEmpty())
        return {};
    QStringList chiaveCol;
    QVariantList chiaveVal;
    chiaveMemorizzata(chiaveCol, chiaveVal);
    d->db->BloccaRiga(d->connessione, d->tabella, chiaveCol, chiaveVal);
    const QString h = QStringLiteral("Memorizzato");
    d->rec.ApriRec(d->db, d->connessione, h,
                   QStringLiteral("SELECT ") + elencoColonne() + QStringLiteral(" FROM ") + d->tabella +
                       QStringLiteral(" WHERE ") + condizioneChiave(d->chiaveLetta),
                   false, RecDat::TipoSnapshot);
    if (d->rec.FineDati(h)) {
        d->rec.ChiudiRec(h);
        return {};
    }
    return h;
}

QStringList GestPagine::TestiMaschera() const
{
    QStringList testi;
    for (const auto &c : d->campi)
        testi << (c->controllo ? c->controllo->text() : QString());
    return testi;
}

QStringList GestPagine::TestiLettiAlSalvataggio() const
{
    return d->lettiSalvataggio;
}

// The stored row of a key, read again to see what a save or a delete left;
// closed when the check ends, whichever way.
struct GestPagine::RigaVerifica {
    RecDat &rec;
    const QString &h;
    bool trovata;
    RigaVerifica(GestPagine &p, const QString &handle, const QStringList &chiave) : rec(p.d->rec), h(handle)
    {
        rec.ApriRec(p.d->db, p.d->connessione, h,
                    QStringLiteral("SELECT ") + p.elencoColonne() + QStringLiteral(" FROM ") + p.d->tabella +
                        QStringLiteral(" WHERE ") + p.condizioneChiave(chiave),
                    false, RecDat::TipoSnapshot);
        trovata = !rec.FineDati(h);
    }
    ~RigaVerifica() { rec.ChiudiRec(h); }
    RigaVerifica(const RigaVerifica &) = delete;
    RigaVerifica &operator=(const RigaVerifica &) = delete;
};

int GestPagine::ConfrontaMemorizzatoConMaschera(const QStringList &inviati, const QStringList &letti,
                                                QStringList *altri)
{
    // What the save sent, else what the window shows.
    const QStringList testi = inviati.size() == int(d->campi.size()) ? inviati : TestiMaschera();
    // Only the fields the save wrote tell whether it was kept: another desk
    // may have saved any other field since the window read the record.
    const bool tutti = letti.size() != int(d->campi.size());
    QStringList chiave;
    for (size_t i = 0; i < d->campi.size(); ++i)
        if (d->campi[i]->chiave)
            chiave << testi[qsizetype(i)].trimmed();
    const QString h = QStringLiteral("Verifica");
    const RigaVerifica riga(*this, h, chiave);
    if (!riga.trovata)
        return -1;
    int esito = 1;
    bool nostri = false;
    QStringList cambiati;
    for (size_t i = 0; i < d->campi.size(); ++i) {
        const Campo &c = *d->campi[i];
        const qsizetype k = qsizetype(i);
        if (!c.controllo || (!tutti && testi[k] == letti[k]))
            continue;
        const QString memorizzato = testoDaRecord(c, h);
        if (memorizzato == testi[k])
            nostri = true;
        else if (!tutti && memorizzato != letti[k])
            // Neither what was read nor what was sent: another desk's value,
            // saved after this save, whether this save was kept or not.
            cambiati << c.descrizione();
        else
            esito = 0;
    }
    if (altri)
        *altri = cambiati;
    return esito == 1 && !nostri && !cambiati.isEmpty() ? 2 : esito;
}

QVariantList GestPagine::ValoriLetti() const
{
    QVariantList valori;
    if (m_handle.isEmpty())
        return valori;
    for (const auto &c : d->campi)
        for (const QString &col : c->colonne)
            valori << d->rec.LeggiCampo(m_handle, col);
    return valori;
}

int GestPagine::ConfrontaCancellato(const QStringList &chiave, const QVariantList &letti)
{
    QStringList valori;
    for (const QString &v : chiave)
        valori << v.trimmed();
    const QString h = QStringLiteral("Verifica");
    const RigaVerifica riga(*this, h, valori);
    if (!riga.trovata)
        return -1;
    if (letti.isEmpty())
        return 1;
    // The table has no column of its own that a row keeps from its insert
    // to its delete and a new row never repeats (no counter: the key is the
    // code the user types). The row the delete removed is known as a whole,
    // though: the delete checked, under the row's lock and in its own
    // transaction, that the stored row still held every value read here.
    // A row with another value in any of those columns is not the row this
    // desk deleted: a customer with that code made since by another desk.
    // (The same would be found, after a delete not kept, for a row another
    // desk then changed: told as deleted, the customer stays stored, and no
    // desk is led to delete a customer that another desk has just made.)
    qsizetype i = 0;
    for (const auto &c : d->campi)
        for (const QString &col : c->colonne)
            if (!stessoValore(letti.value(i++), d->rec.LeggiCampo(h, col)))
                return 0;
    return 1;
}

void GestPagine::PulisciRecord()
{
    m_modificato = false;
    pulisciCampi(0, true);
}

bool GestPagine::RileggiDaChiave(const QStringList &valori)
{
    m_modificato = false;
    return LeggiDaChiave(valori);
}

int GestPagine::RileggiTenendoModifiche(const QStringList &valori, const QStringList &inviati,
                                        const QStringList &letti)
{
    const QStringList ora = TestiMaschera();
    if (!RileggiDaChiave(valori))
        return -1;
    // What was typed after the save, and what the save wrote that is not
    // stored (the field holds what was read before it): still the user's,
    // still to save.
    const bool conLetti = letti.size() == inviati.size();
    int rimessi = 0;
    for (size_t i = 0; i < d->campi.size() && ora.size() == inviati.size(); ++i) {
        const auto &c = d->campi[i];
        const qsizetype k = qsizetype(i);
        const bool nonSalvato = conLetti && inviati[k] != letti[k] && c->testoLetto == letti[k];
        if (c->controllo && (ora[k] != inviati.value(k) || nonSalvato) && c->controllo->text() != ora[k]) {
            c->controllo->setText(ora[k]);
            ++rimessi;
        }
    }
    if (rimessi > 0) {
        m_modificato = true;
        if (d->form)
            d->form->AggNonText();
    }
    return rimessi;
}

bool GestPagine::daScrivere(const Campo &c) const
{
    return c.controllo && (c.controllo->text() != c.testoLetto ||
                           ((c.chiave || c.chiaveFissa) && m_stato == StatoVariaChiave));
}

int GestPagine::confrontaMemorizzato(const QString &memorizzato, int operazione)
{
    if (!d->controlloOttimistico || !d->db || m_handle.isEmpty() || d->chiaveLetta.isEmpty() ||
        !(m_stato == StatoRecord || m_stato == StatoVariaChiave))
        return 0;
    const bool tutte = operazione == OpCancella;
    QStringList colonne;
    for (const auto &c : d->campi)
        if (tutte || daScrivere(*c))
            for (const QString &col : c->colonne)
                if (!colonne.contains(col, Qt::CaseInsensitive))
                    colonne << col;
    // Nothing to write: nothing the write could refuse.
    if (colonne.isEmpty())
        return 0;
    const QString proprio = QStringLiteral("Confronto");
    QString h = memorizzato;
    if (h.isEmpty()) {
        // Only the columns compared, one indexed probe of the key.
        h = proprio;
        d->rec.ApriRec(d->db, d->connessione, h,
                       QStringLiteral("SELECT ") + colonne.join(QStringLiteral(", ")) +
                           QStringLiteral(" FROM ") + d->tabella + QStringLiteral(" WHERE ") +
                           condizioneChiave(d->chiaveLetta),
                       false, RecDat::TipoSnapshot);
    }
    struct Chiudi {
        RecDat &rec;
        QString h;
        ~Chiudi()
        {
            if (!h.isEmpty())
                rec.ChiudiRec(h);
        }
    } chiudi{d->rec, h == proprio ? h : QString()};
    if (d->rec.FineDati(h))
        return VbErrore::NessunRecordCorrente;
    for (const QString &col : colonne)
        if (!stessoValore(d->rec.LeggiCampo(m_handle, col), d->rec.LeggiCampo(h, col)))
            return ErroriDb::RecordModificato;
    return 0;
}

bool GestPagine::ModificatoAltrove(const QString &memorizzato, int operazione)
{
    return confrontaMemorizzato(memorizzato, operazione) != 0;
}

void GestPagine::annullaERicorda(bool propria, const VbErrore &e)
{
    // The transaction this engine opened goes back, also when the connection
    // it was on is lost (its end is still owed); one the form opened is the
    // form's to end.
    if (propria) {
        try {
            d->db->AnnullaTrans(d->connessione);
        } catch (const VbErrore &) {
        }
    }
    ricordaErrore(e.numero(), e.descrizione());
}
