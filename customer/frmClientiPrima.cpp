// The customer form's before-operation callback: enabling by page state, the
// customer-ledger check of a typed key, the save checks and the history row of
// a changed name or address, and the delete checks and cascade.
#include "customer/frmClienti.h"

#include "components/db/DbMotore.h"
#include "components/db/ErroriDb.h"
#include "components/db/RecDat.h"
#include "components/forms/UtilFinestre.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/UtilPrg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <optional>

namespace
{

const QString kOk = QStringLiteral("&Ok");

int avviso(const QString &testo, const QString &b1 = kOk, const QString &b2 = {})
{
    return msgCom(testo, b1, b2, {}, {}, 80, false, 600, 0, 1);
}

// A statement refused because another desk holds the rows it needs.
bool inUsoAltrove(const VbErrore &e)
{
    return e.numero() == ErroriDb::RecordBloccato || e.numero() == ErroriDb::BloccatoDaAltroUtente;
}

bool uguali(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name and address fields whose change is archived, with their captions.
struct CampoStorico {
    const char *campo;
    int indice;
    const char *didascalia;
};
const CampoStorico kStorico[] = {
    {"Descrizione", 40, "Ragione Sociale Contabile"},
    {"RagSoc", 50, "Ragione Sociale 1' parte"},
    {"RagSoc2", 60, "Ragione Sociale 2' parte"},
    {"Indirizzo", 1010, "Indirizzo"},
    {"CAP", 1020, "CAP"},
    {"Localita", 1045, "Località"},
    {"Pr", 1040, "Provincia"},
    {"Stato", 1050, "Stato"},
    {"Comune", 1030, "Comune"},
};

} // namespace

QVariant frmClienti::PersPagPri(int piOper, QVariant &pvRit, QVariantList &pvArray)
{
    const UtilGlob &u = Globali::Util();
    auto t = [this](int i) { return txt(i)->text(); };
    auto q = [&](int i) { return u.ValoreSql(t(i)); };
    GestPagine *pag = ogComPag();
    const int stato = pag->StatoPagina();

    switch (piOper) {
    case GestPagine::OpStato: {
        const bool registrato = stato == GestPagine::StatoRecord;
        for (int i : {4180, 5140}) {
            txt(i)->setEnabled(registrato);
            ComHlp(i)->setEnabled(registrato);
        }
        if (!registrato) {
            ComGesProgr->setVisible(false);
            ComGesProgrIVA->setVisible(false);
        }
        return 0;
    }
    case GestPagine::OpChiave: {
        if (stato != GestPagine::StatoNuovo && stato != GestPagine::StatoVariaChiave)
            return 0;
        RecDat rs;
        const QString h =
            rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, {},
                       QStringLiteral("Select Tipo from Mastri ") + QStringLiteral(" where Mastro = ") +
                           q(20) + QStringLiteral(" and Gruppo = ") + q(10),
                       false, RecDat::TipoSnapshot);
        const bool rifiutato =
            !rs.FineDati(h) &&
            !uguali(rs.LeggiCampo(h, QStringLiteral("Tipo"), UtilGlob::TipoTesto).toString(),
                    QStringLiteral("3"));
        rs.ChiudiRec(h);
        if (!rifiutato)
            return 0;
        avviso(QString::fromUtf8("Mastro non valido: non è possibile utilizzarlo in questa gestione"));
        pvRit = 20;
        while (pvArray.size() < 2)
            pvArray << QVariant();
        pvArray[1] = QStringLiteral("Mastro");
        return 20;
    }
    case GestPagine::OpSalva: {
        auto rifiuta = [&](const QString &testo) {
            avviso(testo);
            pvRit = 0;
            return QVariant(1);
        };
        auto pieno = [&](int i) { return !t(i).isEmpty() && !u.ValoreVuoto(t(i)); };
        if (t(1100).isEmpty() && t(1090).isEmpty())
            avviso(QStringLiteral("ATTENZIONE: la partita iva ed il codice fiscale non sono compilati"));
        if ((t(4190).isEmpty() || t(4196).isEmpty()) && ((t(4195) != QLatin1String("0") && pieno(4195)) ||
                                                         (t(4185) != QLatin1String("0") && pieno(4185))))
            avviso(
                QStringLiteral("ATTENZIONE: inserire la data della dich.di intenti e/o data di ricevimento "
                               "dich.di intenti"));
        const QString ag1 = t(5150).trimmed(), ag2 = t(5160).trimmed();
        if (!ag1.isEmpty() && !ag2.isEmpty() && uguali(ag1, ag2))
            return rifiuta(
                QStringLiteral("ATTENZIONE: Nel quadro FATTURAZIONE i cod.Agente 1 e 2 sono UGUALI"));
        if (uguali(t(1115), QStringLiteral("S")) && u.ValoreVuoto(t(1050)))
            return rifiuta(QString::fromUtf8("ATTENZIONE: per clienti in blacklist è obbligatorio lo stato"));
        if (t(8060).isEmpty() != t(8070).isEmpty())
            return rifiuta(
                QStringLiteral("ATTENZIONE: Rappresentante Fiscale - i campi Codice Fiscale e Stato o si "
                               "lasciano bianchi o vanno compilati entrambi"));

        TransStoricoAperta = false;
        QString elenco;
        if (stato != GestPagine::StatoRecord)
            return 0;
        RecDat *rec = pag->RecordsetPagina();
        const QString chiave = pag->ChiaveRecordset();
        for (const CampoStorico &c : kStorico) {
            const QString memorizzato =
                rec && !chiave.isEmpty() && !rec->NessunRecord(chiave)
                    ? rec->LeggiCampo(chiave, QString::fromLatin1(c.campo), UtilGlob::TipoTesto).toString()
                    : QString();
            if (!uguali(memorizzato, t(c.indice)))
                elenco +=
                    (elenco.isEmpty() ? QString() : QStringLiteral(" - ")) + QString::fromUtf8(c.didascalia);
        }
        if (elenco.isEmpty())
            return 0;
        // Nothing can be archived or saved while the database does not
        // answer: one message, and no question whose answer cannot be kept.
        try {
            RecDat prova;
            prova.ChiudiRec(prova.ApriRec(Globali::DbComp(), Globali::DbAzienda, {},
                                          QStringLiteral("Select Conto From PianoConti Where Gruppo = ") +
                                              q(10) + QStringLiteral(" And Mastro = ") + q(20) +
                                              QStringLiteral(" And Conto = ") + q(30),
                                          false, RecDat::TipoSnapshot));
        } catch (const VbErrore &e) {
            MsgErrfrm(e);
            pvRit = 0;
            return 1;
        }
        const int scelta = avviso(
            QStringLiteral("Attenzione: sono stati modificati campi dell'anagrafica del "
                           "cliente ") +
                QStringLiteral("\r\n") + elenco + QStringLiteral("\r\n\r\n") +
                QStringLiteral("ARCHIVIARE SOLO SE I DATI PRECEDENTI ERANO CORRETTI !!!"),
            QStringLiteral("Non archiviare"), QStringLiteral("Confermi l'archiviaz. dei dati precedenti"));
        if (scelta != 2)
            return 0;
        TransStoricoAperta = true;
        // The transaction and the row's lock may wait for another desk: shown
        // as a wait, the question gone from the screen; over before any message.
        std::optional<UtilFinestre::CursoreOccupato> attesa(std::in_place);
        ApriRsLetSporca(0, -1, nullptr, -1, QString());
        // Until it ends, another desk saving this customer waits for its row:
        // what there is to say meanwhile is said once it has ended.
        m_avvisiTransazione.emplace();
        pag->AbilitaTransazione(false);
        // A history row that cannot be written leaves nothing behind: the
        // transaction goes back and the save is refused.
        bool scritto = false;
        bool inUso = false;
        try {
            // Another desk may have saved while the question was open: then
            // the save's write refuses it, in this transaction, and nothing is
            // archived of a row this desk has not seen.
            if (pag->ModificatoAltrove(pag->RileggiMemorizzato()))
                return 0;
            attesa.reset();
            scritto = ScriviStorico().toBool();
        } catch (const VbErrore &e) {
            attesa.reset();
            // Another desk holds the account: said once, as for the save itself.
            inUso = inUsoAltrove(e);
            if (inUso)
                avviso(pag->TestoInUso(GestPagine::OpSalva, &e));
            else
                MsgErrfrm(e);
        }
        if (scritto)
            return 0;
        // Nothing of the save is left: the customer's changes are still only
        // in the window, and the user is told so.
        if (!inUso)
            avviso(
                QStringLiteral("Errore nell'archiviazione dei dati anagrafici:") + QStringLiteral("\r\n") +
                QStringLiteral("I dati anagrafici precedenti NON sono stati archiviati") +
                QStringLiteral("\r\n") +
                QStringLiteral("Le modifiche non sono state salvate e restano nella finestra: per salvarle "
                               "senza archiviare, salvare di nuovo e scegliere \"Non archiviare\"."));
        try {
            ApriRsLetCommit2(0, -1, nullptr, -1, QString());
        } catch (const VbErrore &) {
        }
        pvRit = 1;
        TransStoricoAperta = false;
        pag->AbilitaTransazione(true);
        m_avvisiTransazione.reset();
        return 1;
    }
    case GestPagine::OpCancella: {
        RecDat rs;
        const QString sqlProg = QStringLiteral("SELECT PdcProg.Anno FROM PdcProg") +
                                QStringLiteral(" WHERE PdcProg.PartTipo = ") + q(35) +
                                QStringLiteral(" AND PdcProg.CoPartGruppo = ") + q(10) +
                                QStringLiteral(" AND PdcProg.CoPartMastro = ") + q(20) +
                                QStringLiteral(" AND PdcProg.CoPartConto = ") + q(30);
        QString h =
            rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, {}, sqlProg, false, RecDat::TipoSnapshot);
        const bool sintesi = !rs.FineDati(h);
        rs.ChiudiRec(h);
        if (sintesi) {
            avviso(
                QString::fromUtf8("Esistono delle sintesi relative al conto. Non è possibile cancellarlo"));
            pvRit = 0;
            return 1;
        }
        const QString sqlMov = QStringLiteral("SELECT MovPnDett.Anno FROM MovPnDett") +
                               QStringLiteral(" WHERE (MovPnDett.TipoPartita = ") + q(35) +
                               QStringLiteral(" AND MovPnDett.GruppoPartita = ") + q(10) +
                               QStringLiteral(" AND MovPnDett.MastroPartita = ") + q(20) +
                               QStringLiteral(" AND MovPnDett.ContoPartita = ") + q(30) +
                               QStringLiteral(" ) OR (") + QStringLiteral(" MovPnDett.TipoCPartita = ") +
                               q(35) + QStringLiteral(" AND MovPnDett.GruppoCPartita = ") + q(10) +
                               QStringLiteral(" AND MovPnDett.MastroCPartita = ") + q(20) +
                               QStringLiteral(" AND MovPnDett.ContoCPartita = ") + q(30) +
                               QStringLiteral(")");
        h = rs.ApriRec(Globali::DbComp(), Globali::DbAzienda, {}, sqlMov, false, RecDat::TipoSnapshot);
        const bool movimenti = !rs.FineDati(h);
        rs.ChiudiRec(h);
        if (movimenti) {
            avviso(QString::fromUtf8(
                "Esistono dei movimenti di prima nota relativi al conto. Non è possibile cancellarlo"));
            pvRit = 0;
            return 1;
        }
        // The transaction, the account's lock and the rows deleted with it
        // may wait for another desk: shown as a wait, over before any message.
        std::optional<UtilFinestre::CursoreOccupato> attesa(std::in_place);
        ApriRsLetSporca(0, -1, nullptr, -1, QString());
        TransCancAperta = true;
        m_avvisiTransazione.emplace();
        const QString w = QStringLiteral(" Gruppo = ") + q(10) + QStringLiteral(" And Mastro = ") + q(20) +
                          QStringLiteral(" And Conto = ") + q(30);
        // The letters of intent go with the account, so that a later account
        // with the same code does not inherit them.
        try {
            // Another desk changed or deleted the customer since it was read
            // here: nothing goes with it, and the page's delete, in this
            // transaction, refuses it and says so.
            if (pag->ModificatoAltrove(pag->RileggiMemorizzato(), GestPagine::OpCancella))
                return 0;
            DbMotore *db = Globali::DbComp();
            db->EseguiSql(Globali::DbAzienda, QStringLiteral("Delete from IndSped where ") + w);
            db->EseguiSql(Globali::DbAzienda, QStringLiteral("Delete from PianoContiDoc where ") + w);
            db->EseguiSql(Globali::DbAzienda, QStringLiteral("Delete from PdCStorico where ") + w);
            db->EseguiSql(Globali::DbAzienda, QStringLiteral("Delete from PdcDicIntenti where ") + w);
        } catch (const VbErrore &e) {
            attesa.reset();
            try {
                ApriRsLetCommit2(0, -1, nullptr, -1, QString());
            } catch (const VbErrore &) {
            }
            TransCancAperta = false;
            m_avvisiTransazione.reset();
            if (inUsoAltrove(e))
                avviso(pag->TestoInUso(GestPagine::OpCancella, &e));
            else
                MsgErrfrm(e);
            pvRit = 0;
            return 1;
        }
        return 0;
    }
    default:
        return 0;
    }
}
