// The customer form after a save or a delete whose commit lost its answer
// with the server: whether the server kept it cannot be known then. The
// customer is read again as soon as the server answers, and the window
// shows, and a message says, what the database holds.
#include "customer/frmClienti.h"

#include "components/db/DbMotore.h"
#include "components/pagine/GestPagine.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

void frmClienti::verificaDopoConfermaIncerta(int operazione)
{
    DbMotore *db = Globali::DbComp();
    if (!db || !db->EsisteConnessione(Globali::DbAzienda) || !db->ConfermaIncerta(Globali::DbAzienda))
        return;
    db->DimenticaConfermaIncerta(Globali::DbAzienda);
    m_verificaOperazione = operazione;
    m_verificaChiave = {txt(10)->text(), txt(20)->text(), txt(30)->text()};
    // What the save sent: the user may go on typing before the server answers.
    m_verificaInviati = ogComPag() ? ogComPag()->TestiMaschera() : QStringList();
    m_verificaLetti = ogComPag() ? ogComPag()->TestiLettiAlSalvataggio() : QStringList();
    // The row a delete was sent for, to tell it from a customer made since
    // with the same code.
    m_verificaValori =
        ogComPag() && operazione == GestPagine::OpCancella ? ogComPag()->ValoriLetti() : QVariantList();
    if (!m_timerVerifica) {
        m_timerVerifica = new QTimer(this);
        m_timerVerifica->setInterval(IntervalloVerifica);
        connect(m_timerVerifica, &QTimer::timeout, this, [this] { verificaIncerta_Timer(); });
    }
    m_timerVerifica->start();
}

void frmClienti::verificaIncerta_Timer()
{
    GestPagine *pag = ogComPag();
    // Another customer shown, or the window closing: nothing left to tell.
    const QStringList chiave{txt(10)->text(), txt(20)->text(), txt(30)->text()};
    if (!pag || ChiusuraForm || chiave != m_verificaChiave) {
        m_timerVerifica->stop();
        return;
    }
    // Never over a question the user is answering.
    if (QApplication::activeModalWidget())
        return;
    // Nor waiting for a server that is gone: a trial off the window's thread
    // says first that it answers.
    if (!Globali::DbComp()->ServerRisponde(Globali::DbAzienda))
        return;
    int esito = 0;
    QStringList altri;
    try {
        esito = m_verificaOperazione == GestPagine::OpCancella
                    ? pag->ConfrontaCancellato(m_verificaChiave, m_verificaValori)
                    : pag->ConfrontaMemorizzatoConMaschera(m_verificaInviati, m_verificaLetti, &altri);
    } catch (const VbErrore &e) {
        // Still away: tried again at the next turn.
        if (Globali::DbComp()->ConnessionePersa(Globali::DbAzienda))
            return;
        m_timerVerifica->stop();
        MsgErrfrm(e);
        return;
    }
    m_timerVerifica->stop();
    const QString cliente =
        m_verificaChiave.join(u'-') + (txt(40)->text().isEmpty() ? QString() : u' ' + txt(40)->text());
    const QString prima =
        QStringLiteral("Il server risponde di nuovo e il cliente %1 è stato riletto: ").arg(cliente);
    if (m_verificaOperazione == GestPagine::OpCancella) {
        if (esito < 0) {
            msgCom(prima + QStringLiteral("risulta CANCELLATO."));
            pag->PulisciRecord();
        } else if (esito == 0) {
            // The customer now under that code is not the one deleted here:
            // never shown as this desk's own.
            msgCom(prima + QStringLiteral("risulta CANCELLATO; un cliente con lo stesso codice è stato poi "
                                          "creato da un'altra postazione."));
            pag->PulisciRecord();
        } else {
            msgCom(prima + QStringLiteral("NON risulta cancellato, ed è mostrato come è salvato."));
            pag->RileggiDaChiave(m_verificaChiave);
        }
        return;
    }
    // The fields the save wrote that another desk has saved since, by their captions.
    auto cambiati = [&altri](bool maiuscola) {
        const QString testo =
            altri.size() == 1
                ? QStringLiteral(
                      "il campo \"%1\" ora contiene un altro valore, salvato da un'altra postazione: "
                      "è mostrato come è salvato.")
                      .arg(altri.first())
                : QStringLiteral(
                      "i campi \"%1\" ora contengono altri valori, salvati da un'altra postazione: "
                      "sono mostrati come sono salvati.")
                      .arg(altri.join(QStringLiteral("\", \"")));
        return maiuscola ? testo.at(0).toUpper() + testo.mid(1) : testo;
    };
    if (esito > 0 && altri.isEmpty()) {
        // Shown as stored, with what was typed since kept over it.
        const int dopo = pag->RileggiTenendoModifiche(m_verificaChiave, m_verificaInviati);
        msgCom(prima + (dopo > 0 ? QStringLiteral("le modifiche risultano SALVATE; quelle fatte dopo restano "
                                                  "nella finestra, da salvare.")
                                 : QStringLiteral("le modifiche risultano SALVATE.")));
    } else if (esito > 0) {
        const int dopo = pag->RileggiTenendoModifiche(m_verificaChiave, m_verificaInviati);
        msgCom(prima + (esito == 1 ? QStringLiteral("le modifiche risultano SALVATE, ma ") : QString()) +
               cambiati(false) +
               (dopo > 0 ? QStringLiteral(" Le modifiche fatte dopo restano nella finestra, da salvare.")
                         : QString()));
    } else if (esito == 0 && !altri.isEmpty()) {
        // Not stored, and some field it wrote saved since by another desk:
        // that field shown as stored, the rest of the edits kept over it.
        pag->RileggiTenendoModifiche(m_verificaChiave, m_verificaInviati, m_verificaLetti);
        msgCom(prima +
               QStringLiteral("le modifiche NON risultano salvate. Restano nella finestra: "
                              "salvarle di nuovo. ") +
               cambiati(true));
    } else {
        msgCom(prima + QStringLiteral("le modifiche NON risultano salvate. Restano nella finestra: "
                                      "salvarle di nuovo."));
    }
}
