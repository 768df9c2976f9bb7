// Record-form engine: what the user is told of a save or a delete that failed,
// above all when another desk has changed, deleted or taken the record.
#include "components/pagine/GestPagineInterni.h"

#include "components/db/ErroriDb.h"
#include "components/util/VbErrore.h"

namespace
{

QString dettaglio(int numero, const QString &descrizione)
{
    return ErroriDb::DettaglioErrore(numero, descrizione);
}

} // namespace

QString GestPagine::nomeRecord() const
{
    const QString nome = LeggiParPagina(QStringLiteral("NomeRecord")).toString();
    return nome.isEmpty() ? QStringLiteral("Il record") : nome;
}

QString GestPagine::descrizioneRecord() const
{
    // The code the user types (the key control's), else the whole key, as read.
    QString codice;
    if (d->controlloChiave)
        if (const Campo *c = d->perControllo.value(d->controlloChiave.data(), nullptr))
            codice = c->testoLetto.trimmed();
    if (codice.isEmpty())
        codice = d->chiaveLetta.join(QLatin1Char(' ')).trimmed();
    QString nome;
    if (const Campo *c = campo(LeggiParPagina(QStringLiteral("CampoNome")).toString()))
        nome = c->testoLetto.trimmed();
    QString testo = nomeRecord();
    if (!codice.isEmpty())
        testo += QLatin1Char(' ') + codice;
    if (!nome.isEmpty())
        testo += QStringLiteral(" (") + nome + QLatin1Char(')');
    return testo;
}

QString GestPagine::TestoInUso(int operazione, const VbErrore *errore) const
{
    const QString detto =
        operazione == OpCancella
            ? QStringLiteral(" è in uso su un'altra postazione e non è stato cancellato. Riprovare tra "
                             "qualche istante.")
            : QStringLiteral(" è in uso su un'altra postazione: le modifiche non sono state salvate e "
                             "restano nella finestra. Riprovare tra qualche istante.");
    return descrizioneRecord() + detto +
           (errore ? dettaglio(errore->numero(), errore->descrizione()) : QString());
}

QString GestPagine::testoCodiceUsato() const
{
    QString codice, campo;
    if (d->controlloChiave) {
        codice = d->controlloChiave->text().trimmed();
        if (const Campo *c = d->perControllo.value(d->controlloChiave.data(), nullptr))
            campo = c->descrizione();
    }
    const QString ilCodice =
        codice.isEmpty() ? QStringLiteral("Il codice") : QStringLiteral("Il codice ") + codice;
    // A key the engine found free before the save was taken since by another desk.
    const bool nelFrattempo = !d->chiaveLibera.isEmpty() && valoriChiave() == d->chiaveLibera;
    const QString comando = LeggiParPagina(QStringLiteral("ComandoNuovoCodice")).toString();
    return ilCodice +
           (nelFrattempo ? QStringLiteral(" è stato assegnato nel frattempo da un'altra postazione")
                         : QStringLiteral(" è già usato")) +
           QStringLiteral(": i dati non sono stati salvati e restano nella finestra; ") +
           (comando.isEmpty()
                ? QStringLiteral("indicare un altro codice e salvare di nuovo.")
                : (campo.isEmpty() ? QString() : QStringLiteral("svuotare \"%1\" e ").arg(campo)) +
                      QStringLiteral("premere \"%1\" per averne uno nuovo e salvare di nuovo.").arg(comando));
}

QVariant GestPagine::SegnalaErrore(long risultato, const QString &testo, const QVariant &riservato)
{
    (void)riservato;
    if (risultato >= 0)
        return {};
    const int numero = int(-risultato);
    QString messaggio;
    QStringList pulsanti{QStringLiteral("&Ok")};
    int predefinito = 1;
    const bool cancellazione = d->operazione == OpCancella;
    const bool conflitto = numero == ErroriDb::RecordModificato;
    const bool cancellatoAltrove =
        numero == VbErrore::NessunRecordCorrente && d->ultimoErrore == kNonEsistePiu;
    if (numero == VbErrore::ChiaveDuplicata) {
        messaggio = testoCodiceUsato() + dettaglio(numero, d->ultimoErrore);
    } else if (conflitto && !cancellazione) {
        messaggio =
            descrizioneRecord() +
            QStringLiteral(" è stato modificato da un'altra postazione dopo essere stato letto qui: le "
                           "modifiche non sono state salvate e restano nella finestra.\r\n\r\n") +
            QStringLiteral("\"Rileggi\": mostra i dati come sono salvati ora; le modifiche fatte qui si "
                           "perdono.\r\n") +
            QStringLiteral("\"Continua\": mantiene le modifiche fatte qui e mostra negli altri campi i "
                           "dati salvati; salvando di nuovo, i campi modificati qui sostituiscono quelli "
                           "dell'altro utente.") +
            dettaglio(numero, d->ultimoErrore);
        pulsanti = {QStringLiteral("&Rileggi"), QStringLiteral("&Continua")};
        predefinito = 2;
    } else if (conflitto) {
        // Nothing was deleted: the user sees the record as it is now before
        // deleting it again, if it still has to go.
        messaggio =
            descrizioneRecord() +
            QStringLiteral(" è stato modificato da un'altra postazione dopo essere stato letto qui e non è "
                           "stato cancellato.\r\n\r\n") +
            QStringLiteral("\"Rileggi\": mostra i dati come sono salvati ora, per cancellarlo di nuovo se "
                           "va ancora cancellato; le modifiche fatte qui si perdono.\r\n") +
            QStringLiteral("\"Continua\": mantiene le modifiche fatte qui e mostra negli altri campi i "
                           "dati salvati.") +
            dettaglio(numero, d->ultimoErrore);
        pulsanti = {QStringLiteral("&Rileggi"), QStringLiteral("&Continua")};
    } else if (cancellatoAltrove) {
        messaggio = descrizioneRecord() +
                    (cancellazione
                         ? QStringLiteral(" era già stato cancellato da un'altra postazione.")
                         : QStringLiteral(" è stato cancellato da un'altra postazione: le modifiche non sono "
                                          "state salvate e restano nella finestra. Per registrarlo di nuovo "
                                          "premere \"Duplica\", indicare il codice e salvare; altrimenti "
                                          "chiudere la finestra.")) +
                    dettaglio(numero, QStringLiteral("la riga letta non esiste più nella tabella ") +
                                          d->tabella + QLatin1Char('.'));
    } else if (numero == ErroriDb::RecordBloccato || numero == ErroriDb::BloccatoDaAltroUtente) {
        const VbErrore errore(numero, d->ultimoErrore);
        messaggio = TestoInUso(d->operazione, &errore);
    } else {
        messaggio = QStringLiteral("Errore(%1): %2").arg(numero).arg(d->ultimoErrore);
    }
    if (!testo.isEmpty())
        messaggio = testo + QStringLiteral("\r\n") + messaggio;
    if (!d->erroreSegnalato) {
        d->erroreSegnalato = true;
        const int scelta = chiedi(messaggio, pulsanti, predefinito);
        if (conflitto)
            d->sceltaConflitto = scelta == 1 ? 1 : 2;
    }
    return messaggio;
}
