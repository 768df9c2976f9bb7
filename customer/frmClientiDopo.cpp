// The customer form's after-operation callback: the form brought into line
// with the record read, cleared, saved, deleted or copied, and the end of the
// transactions the before-callback opened.
#include "customer/ScritturaProgramma.h"
#include "customer/frmClienti.h"

#include "components/db/RecDat.h"
#include "components/db/Schema.h"
#include "components/forms/ColoriVb.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"
#include "components/util/VbErrore.h"
#include "services/Codici.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/UtilPrg.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>

namespace
{

// Ends a transaction begun by the before-callback; a failure to end it is
// reported, never left to escape into the page manager. False when it was to
// be committed and went back instead.
bool chiudiTransazione(bool conferma)
{
    try {
        if (conferma)
            ApriRsLetCommit(0, -1, nullptr, -1, QString());
        else
            ApriRsLetCommit2(0, -1, nullptr, -1, QString());
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
        if (conferma) {
            try {
                ApriRsLetCommit2(0, -1, nullptr, -1, QString());
            } catch (const VbErrore &) {
            }
            return false;
        }
    }
    return true;
}

} // namespace

// The change counters read in the record's own statement, when it was read
// with them; and asked of the next reads, once they are known to be there.
void frmClienti::contatoriDalRecord()
{
    GestPagine *pag = ogComPag();
    if (!pag)
        return;
    const QString versioni = m_memoria.ColonneVersioni();
    if (!versioni.isEmpty() && pag->ColonneAggiunteLette() == versioni) {
        try {
            RecDat *rec = pag->RecordsetPagina();
            const QString h = pag->ChiaveRecordset();
            const bool menu = versioni.contains(QLatin1String("AS VersioneMenu"));
            m_memoria.VersioneDalRecord(rec->LeggiCampo(h, QStringLiteral("VersioneAzienda")),
                                        menu ? rec->LeggiCampo(h, QStringLiteral("VersioneMenu"))
                                             : QVariant());
        } catch (const VbErrore &) {
            // Read on their own, as without them.
        }
    }
}

QVariant frmClienti::PersPagDop(int piOper, QVariant &pvRit, QVariantList &pvArray)
{
    GestPagine *pag = ogComPag();
    // The birth fields and the sex follow the legal status of the record
    // shown or cleared, whatever the page; not an edit of the record.
    const auto statoGiuridico = [this] {
        ScritturaProgramma p(m_inSpecchio);
        AbilDisabPersFis();
    };
    switch (piOper) {
    case GestPagine::OpLettura: {
        // One reading of the change counter serves the whole record.
        m_memoria.ImpostaMenu(MemoriaDecodifiche::TabellaMenu(Schema::TabellaVersioneMenu));
        const MemoriaDecodifiche::Passo passo(m_memoria);
        contatoriDalRecord();
        TogliSegniErrore();
        AggNonText();
        statoGiuridico();
        mvPagDecod.fill(false);
        const int g = QualePictLin(PaginaCorrente()).toInt();
        PagConLin = g >= 0;
        LinAttuale = g >= 0 ? g : 1;
        visDecodPagina(PaginaCorrente(), false);
        StatoIngresso = txt(1050)->text();
        const int salvato = IndCtlPend;
        IndCtlPend = -1;
        txt_LostFocus(10);
        txt_LostFocus(20);
        const QVariant origine = pvArray.value(2);
        if (!(origine.isValid() && origine.toInt() >= 2)) {
            m_contoAppenaLetto = true;
            const auto fine = qScopeGuard([this] { m_contoAppenaLetto = false; });
            txt_LostFocus(30);
        }
        IndCtlPend = salvato;
        // The next record brings the counters with it.
        if (pag)
            pag->ColonneAggiunte(m_memoria.ColonneVersioni());
        break;
    }
    case GestPagine::OpPulizia: {
        if (pvArray.value(0).isValid() && pvArray.value(0).toInt() == 1)
            break;
        TogliSegniErrore();
        AggNonText();
        statoGiuridico();
        PulisciGruppo(OptFEAllegPdf);
        pulDecodPagPri();
        pulDecodClaAttr();
        pulDecodCoge();
        pulDecodFatturazione();
        PulDecodProgressivi();
        pulDecodPagRapFisc();
        // The group and ledger the clear put in their fields (their default
        // values, or nothing) get their own names, not those of the account
        // shown before; a name that cannot be read is left empty.
        for (int i : {10, 20}) {
            try {
                EtichettaGruppoMastro(i);
            } catch (const VbErrore &) {
                Lab(i)->clear();
            }
        }
        labMax->setText(UltimoConto(txt(10)->text(), txt(20)->text(), true, QString()));
        const int prima = LinAttuale;
        pulDatiDalin(0);
        pulDatiDalin(1);
        LinAttuale = prima;
        for (int i : {7010, 7020, 7030})
            Lab(i)->setText(QString());
        ColoriVb::ImpostaBackColor(Label1(7010), ColoreLabel7010);
        break;
    }
    case GestPagine::OpSalva: {
        bool scritto = !pvArray.value(0).isValid() || pvArray.value(0).toBool();
        // The transaction the before-callback began ends first, whatever
        // follows: the decodings below read the database, and a read that
        // fails (the server lost) must never leave it open behind the window.
        const bool transazione = TransStoricoAperta;
        long ultimo = 0;
        if (transazione) {
            TransStoricoAperta = false;
            // The account's row was written in this transaction: when it does
            // not commit, the save did not hold, and the page manager is told.
            if (!chiudiTransazione(pvRit.toString().isEmpty() && scritto)) {
                if (pvArray.isEmpty())
                    pvArray.append(QVariant());
                pvArray[0] = false;
                scritto = false;
            }
            ultimo = pag->UltimoRisultato(0);
            pag->AbilitaTransazione(true);
        }
        try {
            const int g = QualePictLin(PaginaCorrente()).toInt();
            if (g >= 0 && g <= 1 && GestLin(g)->Livello() != LivelloLin[size_t(g)]) {
                const int prima = LinAttuale;
                LinAttuale = g;
                oiAbilRWLin(LivelloLin[size_t(g)]);
                LinAttuale = prima;
            }
            visDecodPagina(PaginaCorrente(), true);
            if (scritto)
                TogliSegniErrore();
            // A new account may be the ledger's highest code now.
            if (scritto && pvRit.toString().isEmpty())
                labMax->setText(UltimoConto(txt(10)->text(), txt(20)->text(), true, QString()));
        } catch (const VbErrore &) {
            // Only what the window shows beside the fields: the save stands
            // as the page manager found it.
        }
        if (transazione) {
            // What the transaction had to say, now that no row waits on it;
            // then why the save failed, if it did.
            m_avvisiTransazione.reset();
            if (ultimo < 0)
                pvRit = pag->SegnalaErrore(ultimo, QString(), QVariant());
        }
        verificaDopoConfermaIncerta(GestPagine::OpSalva);
        break;
    }
    case GestPagine::OpColora:
        for (int i : {10, 20, 30})
            ColoriVb::ImpostaBackColor(txt(i), Globali::ColBackNormale);
        break;
    case GestPagine::OpCancella:
        // Only a transaction the before-callback began is ended here.
        if (!TransCancAperta)
            break;
        TransCancAperta = false;
        // The account's row went in this transaction: when it does not
        // commit, nothing was deleted, and the page manager is told.
        if (!chiudiTransazione(pvRit.isValid() && pvRit.toInt() == 0 &&
                               pvRit.toString() == QLatin1String("0"))) {
            if (pvArray.isEmpty())
                pvArray.append(QVariant());
            pvArray[0] = false;
        }
        m_avvisiTransazione.reset();
        verificaDopoConfermaIncerta(GestPagine::OpCancella);
        break;
    case GestPagine::OpCopia: {
        if (!(pvArray.value(0).isValid() && pvArray.value(0).toInt() == 3))
            break;
        for (int i : {4180, 5140}) {
            ScriviCodice(i, QString());
            Lab(i)->setText(QString());
        }
        labMax->setText(UltimoConto(txt(10)->text(), txt(20)->text(), true, QString()));
        ScriviCodice(1125, QString());
        break;
    }
    default:
        break;
    }
    return 0;
}
