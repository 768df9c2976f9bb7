// The customer form's line grids after a line's save or delete whose commit
// lost its answer with the server: whether the server kept it cannot be known
// then. As soon as the server answers, the grid's rows are read again, the
// line is shown as the database holds it (a line saved is no longer a new
// line to insert), and a message says what was found.
#include "customer/frmClienti.h"

#include "components/db/DbMotore.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

void frmClienti::verificaLineaDopoConfermaIncerta(int g, int operazione, const QVariantList &inviata,
                                                  const QList<int> &confronto, const QVariantList &mostrata)
{
    // Taken note of here: the form's own save must not take it for its own.
    Globali::DbComp()->DimenticaConfermaIncerta(Globali::DbAzienda);
    m_verificaLinea[size_t(g)] = {true,    operazione, {txt(10)->text(), txt(20)->text(), txt(30)->text()},
                                  inviata, mostrata,   confronto};
    if (!m_timerVerificaLinee) {
        m_timerVerificaLinee = new QTimer(this);
        m_timerVerificaLinee->setInterval(IntervalloVerifica);
        connect(m_timerVerificaLinee, &QTimer::timeout, this, [this] { verificaLinee_Timer(); });
    }
    m_timerVerificaLinee->start();
}

void frmClienti::verificaLinee_Timer(int solo)
{
    // Another customer shown, or the window closing: nothing left to tell.
    const QStringList cliente{txt(10)->text(), txt(20)->text(), txt(30)->text()};
    bool attese = false;
    for (size_t g = 0; g < m_verificaLinea.size(); ++g) {
        VerificaLinea &v = m_verificaLinea[g];
        if (v.attesa && (ChiusuraForm || cliente != v.cliente || !m_gestLin[g]))
            v.attesa = false;
        attese = attese || v.attesa;
    }
    if (!attese) {
        m_timerVerificaLinee->stop();
        return;
    }
    // Never over a question the user is answering.
    if (QApplication::activeModalWidget())
        return;
    // Nor waiting for a server that is gone: a trial off the window's thread
    // says first that it answers (a command of the grid tries it itself).
    if (solo < 0 && !Globali::DbComp()->ServerRisponde(Globali::DbAzienda))
        return;
    for (size_t g = 0; g < m_verificaLinea.size(); ++g) {
        VerificaLinea &v = m_verificaLinea[g];
        GestLinee *lin = m_gestLin[g];
        // Reading the rows would close a cell being typed: after it.
        if (!v.attesa || !lin || lin->EditorAperto() || (solo >= 0 && solo != int(g)))
            continue;
        const int prima = LinAttuale;
        int esito = 0;
        try {
            esito = lin->RileggiRiga(v.inviata, v.confronto, v.mostrata);
        } catch (const VbErrore &e) {
            LinAttuale = prima;
            // Still away: tried again at the next turn.
            if (Globali::DbComp()->ConnessionePersa(Globali::DbAzienda))
                continue;
            v.attesa = false;
            MsgErrfrm(e);
            continue;
        }
        LinAttuale = prima;
        v.attesa = false;
        if (!m_verificaLinea[0].attesa && !m_verificaLinea[1].attesa)
            m_timerVerificaLinee->stop();
        // One line told a turn: the other grid, if it waits too, at the next
        // turn, once whatever the user did meanwhile has been seen.
        diciEsitoLinea(int(g), v, esito);
        return;
    }
}

void frmClienti::diciEsitoLinea(int g, const VerificaLinea &v, int esito)
{
    // The line named by its key and description, as the user typed them.
    const QString codice = v.inviata.value(3).toString().trimmed();
    const QString descrizione = v.inviata.value(4).toString().trimmed();
    const QString riga = (g == 1 ? QStringLiteral("la riga della dichiarazione d'intenti ")
                                 : QStringLiteral("la riga del documento numero ")) +
                         codice +
                         (descrizione.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(descrizione));
    const QString prima = QStringLiteral("Il server risponde di nuovo e %1 è stata riletta: ").arg(riga);
    if (v.operazione == GestPagine::OpCancella) {
        msgCom(prima + (esito < 0 ? QStringLiteral("risulta CANCELLATA.")
                                  : QStringLiteral("NON risulta cancellata, ed è mostrata come è salvata.")));
        return;
    }
    // An edit typed since waits in the grid over the rows read again.
    const bool dopo = m_gestLin[size_t(g)] && m_gestLin[size_t(g)]->DatiModificati();
    msgCom(prima + (esito <= 0 ? QStringLiteral("le modifiche NON risultano salvate e restano nella griglia: "
                                                "salvarle di nuovo.")
                    : dopo     ? QStringLiteral("risulta SALVATA; le modifiche fatte dopo restano nella "
                                                    "griglia, da salvare.")
                               : QStringLiteral("risulta SALVATA.")));
}
