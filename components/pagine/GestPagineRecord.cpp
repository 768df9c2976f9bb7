// Record-form engine: reading a record by key or by criteria, moving in key
// order, clearing, saving, copying and deleting.
#include "components/pagine/GestPagineInterni.h"

#include "components/db/DbMotore.h"
#include "components/forms/UtilFinestre.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"

#include <QApplication>

namespace
{

const UtilGlob &util()
{
    static const UtilGlob u;
    return u;
}

// Shows `testo` in a box. A box that shows it already and was left as setText
// leaves it (no edit to undo, nothing selected, the cursor at the end) keeps
// it: setting it again would only lay out and repaint the same text, and
// consecutive records share many values (empty ones above all).
void mostraTesto(QLineEdit *e, const QString &testo)
{
    if (e->text() == testo && !e->isModified() && !e->isUndoAvailable() && !e->hasSelectedText() &&
        e->cursorPosition() == testo.size())
        return;
    e->setText(testo);
}

} // namespace

QString GestPagine::elencoColonne() const
{
    // Fields are only ever added: the list is built again when one was.
    if (d->campiInElenco == d->campi.size() && !d->elenco.isEmpty())
        return d->elenco;
    QStringList colonne;
    for (const auto &c : d->campi) {
        c->indici.clear();
        for (const QString &col : c->colonne) {
            qsizetype i = 0;
            while (i < colonne.size() && colonne[i].compare(col, Qt::CaseInsensitive) != 0)
                ++i;
            if (i == colonne.size())
                colonne << col;
            c->indici.push_back(int(i));
        }
    }
    d->elenco = colonne.join(QStringLiteral(", "));
    d->campiInElenco = d->campi.size();
    return d->elenco;
}

QString GestPagine::condizioneFissa() const
{
    QStringList parti;
    for (const auto &c : d->campi) {
        if (!c->chiaveFissa || !c->controllo)
            continue;
        QString valore = c->controllo->text();
        if (valore.trimmed().isEmpty())
            valore = c->opzioni.predefinito.toString();
        parti << c->colonne.value(0) + QStringLiteral(" = ") + valoreSqlCampo(c->colonne.value(0), valore);
    }
    return parti.join(QStringLiteral(" And "));
}

QString GestPagine::condizioneChiave(const QStringList &valori) const
{
    QStringList parti;
    int i = 0;
    for (const auto &c : d->campi) {
        if (!c->chiave)
            continue;
        const QString col = c->colonne.value(0);
        parti << col + QStringLiteral(" = ") + valoreSqlCampo(col, valori.value(i++));
    }
    const QString fissa = condizioneFissa();
    if (!fissa.isEmpty())
        parti << fissa;
    return parti.join(QStringLiteral(" And "));
}

QStringList GestPagine::ChiaveCorrente() const
{
    return d->chiaveLetta;
}

QStringList GestPagine::ColonneChiave() const
{
    QStringList colonne;
    for (const auto &c : d->campi)
        if (c->chiave)
            colonne << c->colonne.value(0);
    return colonne;
}

void GestPagine::ColonneAggiunte(const QString &espressioni)
{
    d->aggiunte = espressioni;
}

QString GestPagine::ColonneAggiunteLette() const
{
    return m_handle.isEmpty() ? QString() : d->aggiunteLette;
}

bool GestPagine::leggi(const QString &where, const QString &ordine, int origine, bool *assente)
{
    return leggiPrimoDi({where}, ordine, origine, assente);
}

bool GestPagine::leggiPrimoDi(const QStringList &condizioni, const QString &ordine, int origine,
                              bool *assente, int opzioni)
{
    if (assente)
        *assente = false;
    if (!d->db || d->tabella.isEmpty())
        return false;
    QVariant pvRit;
    QVariantList pvArray;
    if (callbackPri(OpLettura, pvRit, pvArray) != 0)
        return false;
    // The record shown keeps its set until another is found: the reads use the other handle.
    if (m_handle.compare(QStringLiteral("Pagina%1").arg(++d->giro % 2), Qt::CaseInsensitive) == 0)
        ++d->giro;
    const QString nuovo = QStringLiteral("Pagina%1").arg(d->giro % 2);
    for (const QString &where : condizioni) {
        QString aggiunte;
        for (;;) {
            aggiunte = d->aggiunte;
            QString sql = QStringLiteral("SELECT ") + elencoColonne() +
                          (aggiunte.isEmpty() ? QString() : QStringLiteral(", ") + aggiunte) +
                          QStringLiteral(" FROM ") + d->tabella;
            if (!where.isEmpty())
                sql += QStringLiteral(" WHERE ") + where;
            if (!ordine.isEmpty())
                sql += QStringLiteral(" ORDER BY ") + ordine;
            // One row is all a page shows: the engines stop at the first.
            sql += QStringLiteral(" LIMIT 1");
            try {
                d->rec.ApriRec(d->db, d->connessione, nuovo, sql, false, RecDat::TipoSnapshot, opzioni);
                break;
            } catch (const VbErrore &) {
                // The form's own expressions made it fail (a table of theirs
                // gone): the record is read without them, and they are
                // dropped. Inside a transaction the failure stands.
                if (aggiunte.isEmpty() || d->db->LivelloTrans(d->connessione) > 0)
                    throw;
                d->aggiunte.clear();
            }
        }
        if (d->rec.FineDati(nuovo)) {
            d->rec.ChiudiRec(nuovo);
            continue;
        }
        if (!m_handle.isEmpty())
            d->rec.ChiudiRec(m_handle);
        m_handle = nuovo;
        d->aggiunteLette = aggiunte;
        mostraRecord(origine);
        return true;
    }
    if (assente)
        *assente = true;
    return false;
}

void GestPagine::mostraRecord(int origine)
{
    {
        BloccoModifiche blocco(*this);
        d->chiaveLetta.clear();
        for (const auto &c : d->campi) {
            if (!c->controllo)
                continue;
            const QString testo = testoDaRecord(*c);
            mostraTesto(c->controllo, testo);
            c->testoLetto = testo;
            coloraCampo(*c, false);
            if (c->chiave)
                d->chiaveLetta << testo;
        }
        impostaStato(StatoRecord);
        if (!CallbackAbilitata(OpLettura) && d->form)
            d->form->AggNonText();
        QVariant pvRit;
        QVariantList pvArray{QVariant(), QVariant(), origine == 2 ? QVariant(2) : QVariant()};
        callbackDop(OpLettura, pvRit, pvArray);
        ricordaMostrati(false);
    }
    m_modificato = false;
    if (d->primoControllo)
        UtilFinestre::UnoShot(this, [w = d->primoControllo] {
            if (w)
                UtilFinestre::ImpostaFocus(w, true);
        });
}

bool GestPagine::pulisciCampi(int pvArray0, bool conPredefiniti)
{
    QVariant pvRit;
    QVariantList pvArray{pvArray0};
    if (callbackPri(OpPulizia, pvRit, pvArray) != 0)
        return false;
    {
        BloccoModifiche blocco(*this);
        for (const auto &c : d->campi) {
            if (!c->controllo)
                continue;
            // A fixed key part keeps its value even among search criteria.
            const bool predefinito = conPredefiniti || c->chiaveFissa;
            const QString testo = predefinito ? testoDaValore(*c, c->opzioni.predefinito) : QString();
            mostraTesto(c->controllo, testo);
            c->testoLetto = testo;
            coloraCampo(*c, false);
        }
        if (!m_handle.isEmpty())
            d->rec.ChiudiRec(m_handle);
        m_handle.clear();
        d->chiaveLetta.clear();
        impostaStato(pvArray0 == 2 ? StatoRicerca : StatoNuovo);
        if (!CallbackAbilitata(OpPulizia) && d->form)
            d->form->AggNonText();
        pvArray = {pvArray0};
        callbackDop(OpPulizia, pvRit, pvArray);
        ricordaMostrati(false);
    }
    m_modificato = false;
    return true;
}

bool GestPagine::naviga(int direzione)
{
    if (!chiediSalvataggio())
        return false;
    QStringList valori;
    if (m_stato == StatoRecord) {
        valori = d->chiaveLetta;
    } else if (direzione == 2 || direzione == 3) {
        for (const auto &c : d->campi)
            if (c->chiave)
                valori << (c->controllo ? c->controllo->text().trimmed() : QString());
    }
    int pieni = 0;
    while (pieni < valori.size() && !valori[pieni].isEmpty())
        ++pieni;
    int numeroChiavi = 0;
    for (const auto &c : d->campi)
        numeroChiavi += c->chiave ? 1 : 0;
    if (pieni == 0 && (direzione == 2 || direzione == 3))
        direzione = direzione == 2 ? 0 : 1;

    const bool avanti = direzione == 0 || direzione == 2;
    QStringList colonne;
    for (const auto &c : d->campi)
        if (c->chiave)
            colonne << c->colonne.value(0);
    QStringList ordine;
    for (const QString &col : colonne)
        ordine << col + (avanti ? QString() : QStringLiteral(" DESC"));

    // Seek in key order, one level of the key at a time from the last: the
    // parts before it equal to the record's, that part past the record's
    // (k1 = v1 And k2 = v2 And k3 > v3, then k1 = v1 And k2 > v2, then k1 > v1).
    // Each is one seek of the key's index on every engine, and the first that
    // finds a row has the next record; one condition of nested Ors would be
    // sought on k1 alone and read every record of that k1 before this one.
    // A partial key starts at its prefix: its last part is not passed.
    QStringList livelli;
    if (direzione == 2 || direzione == 3) {
        const QString ge = avanti ? QStringLiteral(" >= ") : QStringLiteral(" <= ");
        const QString gt = avanti ? QStringLiteral(" > ") : QStringLiteral(" < ");
        const bool stretto = pieni == numeroChiavi;
        for (int i = pieni - 1; i >= 0; --i) {
            QStringList parti;
            for (int j = 0; j < i; ++j)
                parti << colonne[j] + QStringLiteral(" = ") + valoreSqlCampo(colonne[j], valori[j]);
            parti << colonne[i] + (i == pieni - 1 && !stretto ? ge : gt) +
                         valoreSqlCampo(colonne[i], valori[i]);
            livelli << parti.join(QStringLiteral(" And "));
        }
    } else {
        livelli << QString();
    }
    const QString fissa = condizioneFissa();
    for (QString &l : livelli)
        l = fissa.isEmpty() ? l : l.isEmpty() ? fissa : fissa + QStringLiteral(" And ") + l;
    // Reads in the key's order: the engine keeps them on the key's index
    // whatever its statistics say.
    if (leggiPrimoDi(livelli, ordine.join(QStringLiteral(", ")), 0, nullptr, DbMotore::LetturaInOrdine))
        return true;
    QApplication::beep();
    return false;
}

QString GestPagine::CondizioneRicerca() const
{
    QStringList parti;
    for (const auto &c : d->campi) {
        if (!c->controllo || c->chiaveFissa)
            continue;
        const QString testo = c->controllo->text();
        if (testo.trimmed().isEmpty())
            continue;
        if (c->colonne.size() > 1) {
            QString errore;
            const QVariantList valori = valoriDaTesto(*c, errore);
            for (int i = 0; i < valori.size(); ++i)
                if (!valori[i].isNull())
                    parti << c->colonne[i] + QStringLiteral(" = ") +
                                 valoreSqlCampo(c->colonne[i], valori[i].toString());
            continue;
        }
        const QString col = c->colonne.value(0);
        if (c->opzioni.ricerca.compare(QLatin1String("like*"), Qt::CaseInsensitive) == 0)
            parti << col + QStringLiteral(" like ") + util().ValoreSqlLike(testo.trimmed(), false, true);
        else
            parti << col + QStringLiteral(" = ") + valoreSqlCampo(col, testo);
    }
    const QString fissa = condizioneFissa();
    if (!fissa.isEmpty())
        parti << fissa;
    return parti.join(QStringLiteral(" And "));
}

bool GestPagine::cercaConCriteri()
{
    const QString condizione = CondizioneRicerca();
    QStringList ordine;
    for (const auto &c : d->campi)
        if (c->chiave)
            ordine << c->colonne.value(0);
    int trovati = 0;
    if (d->lista) {
        QString sql = QStringLiteral("SELECT Count(*) AS Numero FROM ") + d->tabella;
        if (!condizione.isEmpty())
            sql += QStringLiteral(" WHERE ") + condizione;
        RecDat conta;
        const QString h = conta.ApriRec(d->db, d->connessione, {}, sql, false, RecDat::TipoSnapshot);
        trovati = conta.LeggiCampo(h, QStringLiteral("Numero"), UtilGlob::TipoLungo).toInt();
    }
    if (!leggi(condizione, ordine.join(QStringLiteral(", ")), 1)) {
        chiedi(QStringLiteral("Nessun record corrisponde ai criteri di ricerca."), {QStringLiteral("&Ok")},
               1);
        return false;
    }
    if (d->lista && trovati > 1)
        d->lista->MostraLista(condizione);
    return true;
}

QStringList GestPagine::valoriChiave() const
{
    QStringList valori;
    for (const auto &c : d->campi)
        if (c->chiave)
            valori << (c->controllo ? c->controllo->text().trimmed() : QString());
    return valori;
}

bool GestPagine::controllaChiave()
{
    const QStringList valori = valoriChiave();
    for (const QString &v : valori)
        if (v.isEmpty())
            return true;
    if (m_stato == StatoVariaChiave && valori == d->chiaveLetta)
        return true;

    QVariant pvRit;
    QVariantList pvArray{QVariant(), QVariant()};
    const int esito = callbackPri(OpChiave, pvRit, pvArray);
    if (esito != 0) {
        if (esito == 20 && !pvArray.value(1).toString().isEmpty())
            vaiAlCampo(pvArray.value(1).toString());
        return false;
    }
    callbackDop(OpChiave, pvRit, pvArray);

    RecDat prova;
    const QString h = prova.ApriRec(d->db, d->connessione, {},
                                    QStringLiteral("SELECT ") + elencoColonne() + QStringLiteral(" FROM ") +
                                        d->tabella + QStringLiteral(" WHERE ") + condizioneChiave(valori),
                                    false, RecDat::TipoSnapshot);
    const bool esiste = !prova.FineDati(h);
    // A duplicate of this key at the save can only be another desk's since.
    if (!esiste)
        d->chiaveLibera = valori;
    if (m_stato == StatoVariaChiave) {
        if (esiste) {
            chiedi(QStringLiteral("Esiste già un record con questo codice."), {QStringLiteral("&Ok")}, 1);
            if (d->controlloChiave)
                vaiAlCampo(NomeCampoControllo(d->controlloChiave));
            return false;
        }
        return true;
    }
    if (esiste) {
        // Reading the existing record replaces what the user has entered (a
        // copy, say): only when the user agrees, asked once for that key.
        if (datiInseriti()) {
            Campo *c =
                d->controlloChiave ? d->perControllo.value(d->controlloChiave.data(), nullptr) : nullptr;
            if (valori == d->chiaveNonLetta) {
                if (c)
                    coloraCampo(*c, true);
                return false;
            }
            if (chiedi(QStringLiteral("Esiste già un record con questo codice: leggerlo?\r\n"
                                      "I dati inseriti e non salvati andranno persi."),
                       {QStringLiteral("&Sì"), QStringLiteral("&No")}, 2) != 1) {
                d->chiaveNonLetta = valori;
                if (c)
                    vaiAlCampo(c->nome);
                return false;
            }
        }
        return leggi(condizioneChiave(valori), {}, 2);
    }
    return true;
}

bool GestPagine::LetturaRifiutata() const
{
    return !d->chiaveNonLetta.isEmpty() && valoriChiave() == d->chiaveNonLetta;
}

bool GestPagine::datiInseriti() const
{
    for (const auto &c : d->campi)
        if (c->controllo && !c->chiave && !c->chiaveFissa && c->controllo->text() != c->testoMostrato)
            return true;
    return false;
}

void GestPagine::ricordaMostrati(bool vuoti)
{
    d->chiaveNonLetta.clear();
    for (const auto &c : d->campi)
        c->testoMostrato = vuoti || !c->controllo ? QString() : c->controllo->text();
}

bool GestPagine::LeggiDaChiave(const QStringList &valori, bool *assente)
{
    if (assente)
        *assente = false;
    if (d->inOperazione || !chiediSalvataggio())
        return false;
    d->inOperazione = true;
    bool letto = false;
    try {
        letto = leggi(condizioneChiave(valori), {}, 1, assente);
    } catch (const VbErrore &e) {
        d->inOperazione = false;
        ricordaErrore(e.numero(), e.descrizione());
        SegnalaErrore(d->ultimoRisultato);
        return false;
    }
    d->inOperazione = false;
    return letto;
}

bool GestPagine::copia()
{
    if (m_stato != StatoRecord || m_abilRW != 1)
        return false;
    QVariant pvRit;
    QVariantList pvArray{QVariant(3)};
    if (callbackPri(OpCopia, pvRit, pvArray) != 0)
        return false;
    {
        BloccoModifiche blocco(*this);
        // The copy keeps every value but the last key part, to be typed anew.
        Campo *ultima = nullptr;
        for (const auto &c : d->campi)
            if (c->chiave)
                ultima = c.get();
        if (d->controlloChiave)
            if (Campo *c = d->perControllo.value(d->controlloChiave.data(), nullptr))
                ultima = c;
        if (ultima && ultima->controllo)
            ultima->controllo->clear();
        for (const auto &c : d->campi)
            c->testoLetto.clear();
        if (!m_handle.isEmpty())
            d->rec.ChiudiRec(m_handle);
        m_handle.clear();
        d->chiaveLetta.clear();
        impostaStato(StatoNuovo);
        pvArray = {QVariant(3)};
        callbackDop(OpCopia, pvRit, pvArray);
        // Everything the copy holds is the user's unsaved work.
        ricordaMostrati(true);
    }
    // An unsaved copy is work the user would lose.
    m_modificato = true;
    if (d->controlloChiave)
        UtilFinestre::UnoShot(this, [w = d->controlloChiave] {
            if (w)
                UtilFinestre::ImpostaFocus(w, true);
        });
    return true;
}
