// Checks of the customer form's line grids: a cell of a letter of intent when
// the user leaves it or the line is saved, the fields a letter must have
// before it is written, the defaults of a new letter and the check before a
// line is written. The documents grid has no cell checks.
#include "customer/frmClienti.h"

#include "components/linee/GestLinee.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

namespace
{

void avviso(const QString &testo)
{
    msgCom(testo, QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, 0, 1);
}

bool campo(const QString &nome, const char *atteso)
{
    return nome.compare(QLatin1String(atteso), Qt::CaseInsensitive) == 0;
}

} // namespace

bool frmClienti::DatiValidi(int ColIndex, bool flag, const QVariant &OldValue)
{
    return DatiValidi(LinAttuale, ColIndex, flag, OldValue);
}

bool frmClienti::DatiValidi(int Index, const QVariant &ColIndex, bool flag,
                            const std::optional<QVariant> &pvOldVal)
{
    // A check that arrives while another one shows its message accepts.
    if (ValidaInCorso[1] == 1)
        return true;
    ValidaInCorso[1] = 1;
    bool ok = false;
    try {
        if (Index != 1) {
            ok = true;
        } else {
            GestLinee *g = GestLin(1);
            const int col = g->IndiceColonna(ColIndex);
            const QString nome = g->Colonne().value(col);
            const QVariant valore = g->ValoreCella(col);
            const UtilGlob &u = Globali::Util();
            QString messaggio;
            if (campo(nome, "PdcDicIntenti") || campo(nome, "NrDichIntenti") || campo(nome, "NrPrgIntenti")) {
                ok = u.ControllaValore(valore, UtilGlob::TipoLungo, &messaggio);
            } else if (campo(nome, "Attivo") || campo(nome, "RifComunicIntenti")) {
                const QString maiuscolo = valore.toString().toUpper();
                g->ImpostaValoreCella(col, maiuscolo);
                const bool attivo = campo(nome, "Attivo");
                // One of the letters, not a run of them ("SN" is no flag).
                ok = !u.ValoreVuoto(maiuscolo, UtilGlob::TipoTesto, 1, false) && maiuscolo.size() == 1 &&
                     QString::fromLatin1(attivo ? "SN" : "123").contains(maiuscolo);
                if (!ok)
                    messaggio =
                        attivo ? QString::fromUtf8("Valore valido per 'Attivo': S=Sì, N=No")
                               : QString::fromUtf8("Valore valido per 'La dichiariazione si riferisce a'\r\n"
                                                   "1=Una sola operazione, 2=più operazioni, 3=operazioni "
                                                   "di un periodo");
            } else if (campo(nome, "ImportoDichIntenti")) {
                ok = u.ControllaValore(valore, UtilGlob::TipoImporto, &messaggio);
                if (ok)
                    g->ImpostaValoreCella(
                        col, u.FormattaImporto(valore, Globali::NumDecEuro, QStringLiteral("0"), false,
                                               QStringLiteral("#,###"), 0, QString(), QStringLiteral("^")));
            } else {
                ok = true;
            }
            if (!ok) {
                avviso(messaggio);
                // A cell that was empty before the edit is emptied again and accepted.
                if (pvOldVal && (!pvOldVal->isValid() || pvOldVal->isNull())) {
                    g->ImpostaValoreCella(col, QString());
                    ok = true;
                }
            }
        }
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
    if (flag)
        ok = true;
    ValidaInCorso[1] = 0;
    return ok;
}

bool frmClienti::VerifObbl(const QString &psCampo, const QString &psDescr, int pvTipo)
{
    GestLinee *g = GestLin(LinAttuale);
    if (!Globali::Util().ValoreVuoto(g->ValoreCella(psCampo), pvTipo, 1, false))
        return true;
    avviso(psDescr);
    g->ImpostaColonnaCorrente(psCampo);
    return false;
}

bool frmClienti::VerifObbligatoriDic()
{
    if (!VerifObbl(QStringLiteral("PdcDicIntenti"),
                   QStringLiteral("Inserire il Codice da assegnare alla dichiarazione d'intenti"),
                   UtilGlob::TipoIntero))
        return false;
    GestLinee *g = GestLin(1);
    // A receipt of the revenue agency stands for the letter's own data.
    if (!Globali::Util().ValoreVuoto(g->ValoreCella(QStringLiteral("ProtRicezione")), UtilGlob::TipoTesto, 1,
                                     false))
        return VerifObbl(
            QStringLiteral("DataRicAE"),
            QStringLiteral("Inserire la Data ricezione Agenzia Entrate (una data nell'anno della "
                           "dichiarazione)"),
            UtilGlob::TipoData);
    struct Obbligo {
        const char *campo, *parte;
        int tipo;
    };
    std::vector<Obbligo> obblighi = {
        {"NrDichIntenti", " il Numero della dichiarazione d'intenti", UtilGlob::TipoIntero},
        {"DataDichIntenti", " la Data della dichiarazione d'intenti", UtilGlob::TipoData},
        {"NrPrgIntenti", " il Numero assegnato alla dichiarazione d'intenti", UtilGlob::TipoIntero},
        {"DataRicComIntenti", " la Data di ricevimento dichiarazione d'intenti", UtilGlob::TipoData}};
    if (g->ValoreCella(QStringLiteral("RifComunicIntenti")).toString() == QLatin1String("3")) {
        obblighi.push_back(
            {"DataDAIntenti", " la Data di inizio periodo delle operazioni", UtilGlob::TipoData});
        obblighi.push_back({"DataAIntenti", " la Data di fine periodo delle operazioni", UtilGlob::TipoData});
    } else {
        obblighi.push_back({"ImportoDichIntenti", " l'Importo delle operazioni", UtilGlob::TipoDoppio});
    }
    const QString inizio = QStringLiteral("Inserire Protocollo ricezione dell'agenzia delle entrate oppure");
    for (const Obbligo &o : obblighi)
        if (!VerifObbl(QString::fromLatin1(o.campo), inizio + QString::fromUtf8(o.parte), o.tipo))
            return false;
    return true;
}

bool frmClienti::VerifPrimaUpdate(GestLinee &griglia, bool &Cancel)
{
    // A grid not set up yet, or over a refused cell, writes nothing.
    const int g = griglia.Indice();
    if ((g >= 0 && g <= 1 && (!LinPronta[size_t(g)] || !ModificaOk[size_t(g)])) || !VerifUpdate() ||
        !griglia.ConfermaSalva(true))
        Cancel = true;
    return Cancel;
}

void frmClienti::dbgRiga_OnAddNew(GestLinee &griglia)
{
    if (griglia.Indice() != 1)
        return;
    griglia.ImpostaValoreCella(QStringLiteral("Attivo"), QStringLiteral("S"));
    griglia.ImpostaValoreCella(QStringLiteral("RifComunicIntenti"), QStringLiteral("2"));
}

QVariant frmClienti::DecodHelp(int Index, int colonna, int KeyCode)
{
    (void)Index, (void)colonna, (void)KeyCode;
    return {};
}
