// The running-totals page of the customer form: the account's yearly opening
// balance, debits, credits, closing balance and previous-year balance, newest
// year first, and the two buttons that ask the menu host for the general
// ledger's running-totals utilities on this account.
#include "customer/frmClienti.h"

#include "components/db/RecDat.h"
#include "components/db/Risultato.h"
#include "components/menu/ClienteMenu.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace
{

// One column of the grid: field, caption, width in twips (0: hidden), amount.
struct ColonnaProgressivi {
    const char *campo, *didascalia;
    int larghezza;
    bool importo;
};
const ColonnaProgressivi kColonne[] = {
    {"Anno", "Anno", 900, false},
    {"PartTipo", "Tipo", 0, false},
    {"CoPartGruppo", "Gruppo", 0, false},
    {"CoPartMastro", "Mastro", 0, false},
    {"CoPartConto", "Conto", 0, false},
    {"SaldoIniziale", "Saldo Iniziale", 1600, true},
    {"ProgrDare", "Progr.Dare", 1600, true},
    {"ProgrAvere", "Progr.Avere", 1600, true},
    {"UltAgg", "Dt.Ult.Agg.", 1600, false},
    {"SaldoFin", "Saldo Finale", 1600, true},
    {"SaldoAnnoPrec", "Saldo Anno Prec.", 1600, true},
};

// A step whose failure leaves its result unset and lets the load go on.
template <typename F> void saltaErrori(F passo)
{
    try {
        passo();
    } catch (const VbErrore &) {
    } catch (const std::exception &) {
    }
}

QString parametroHost(const QString &nome)
{
    return Globali::MenuClient ? Globali::MenuClient->LeggiPar(nome, QString()).toString() : QString();
}

} // namespace

QString frmClienti::SqlProgressivi(int anno, bool apertoPrec) const
{
    const UtilGlob &u = Globali::Util();
    QString sql = QStringLiteral("SELECT ");
    for (int i = 0; i < 9; ++i)
        sql += (i ? QStringLiteral(",") : QString()) + QLatin1String(kColonne[i].campo);
    sql += QStringLiteral(",(IIF(PdcProg.SaldoIniziale IS NULL,0,PdcProg.SaldoIniziale)") +
           QStringLiteral("+IIF(PdcProg.ProgrDare IS NULL,0,PdcProg.ProgrDare)") +
           QStringLiteral("-IIF(PdcProg.ProgrAvere IS NULL,0,PdcProg.ProgrAvere)) AS ") +
           QStringLiteral("SaldoFin") + QStringLiteral(",") + QStringLiteral("SaldoAnnoPrec") +
           QStringLiteral(" FROM PdcProg") + QStringLiteral(" WHERE PartTipo = ") +
           u.ValoreSql(QStringLiteral("3")) + QStringLiteral(" AND CoPartGruppo = ") +
           u.ValoreSql(txt(10)->text()) + QStringLiteral(" AND CoPartMastro = ") +
           u.ValoreSql(txt(20)->text()) + QStringLiteral(" AND CoPartConto = ") +
           u.ValoreSql(txt(30)->text());
    if (apertoPrec)
        sql += QStringLiteral(" AND Anno >= ") + u.ValoreSql(anno - 1, UtilGlob::TipoIntero) +
               QStringLiteral(" ORDER BY Anno DESC");
    else
        sql += QStringLiteral(" AND Anno = ") + u.ValoreSql(anno, UtilGlob::TipoIntero);
    return sql;
}

void frmClienti::VisDatiDaPdcProg()
{
    const UtilGlob &u = Globali::Util();
    double fattore = 1;
    saltaErrori([&] {
        const double r = u.ValoreNumerico(ogComPag()->LeggiParPagina(QStringLiteral("RisVid")));
        if (r != 1 && r > 0)
            fattore = r;
    });
    QString formato;
    saltaErrori([&] {
        formato = u.FormattaImporto(0, LeggiMoneta(Globali::MonetaAzienda), QStringLiteral("0"), true,
                                    QStringLiteral("#,###"), 0, QString(), QStringLiteral("^"));
    });
    int anno = 0;
    saltaErrori([&] { anno = int(u.ValoreNumerico(parametroHost(QStringLiteral("CoGe.AnnoCorr")))); });
    bool apertoPrec = false;
    saltaErrori([&] {
        apertoPrec = parametroHost(QStringLiteral("CoGe.ApertoPrec"))
                         .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    });
    if (!m_rsForm)
        m_rsForm = std::make_unique<RecDat>();
    if (!RsProgressivi.isEmpty())
        saltaErrori([&] { m_rsForm->ChiudiRec(RsProgressivi); });
    RsProgressivi = m_rsForm->ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(),
                                      SqlProgressivi(anno, apertoPrec), false, RecDat::TipoDinamico);

    // The grid shows the record set's rows, read-only.
    auto *modello = static_cast<QStandardItemModel *>(dbgLista->model());
    modello->clear();
    const int colonne = int(std::size(kColonne));
    modello->setColumnCount(colonne);
    for (int c = 0; c < colonne; ++c)
        modello->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(kColonne[c].didascalia));
    const Risultato *righe = m_rsForm->RecordsetDao(RsProgressivi);
    const int numRighe = righe ? righe->numRighe() : 0;
    for (int r = 0; r < numRighe; ++r) {
        QList<QStandardItem *> riga;
        for (int c = 0; c < colonne; ++c) {
            const QVariant v = righe->valore(r, righe->indice(QLatin1String(kColonne[c].campo)));
            QString testo;
            if (kColonne[c].importo && !formato.isEmpty() && v.isValid())
                testo = u.Formatta(v, formato);
            else if (v.typeId() == QMetaType::QDate)
                testo = v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
            else
                testo = v.toString();
            auto *cella = new QStandardItem(testo);
            if (kColonne[c].importo)
                cella->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            riga << cella;
        }
        modello->appendRow(riga);
    }
    for (int c = 0; c < colonne; ++c) {
        // Widths are twips, 15 to a pixel, scaled by the screen factor.
        dbgLista->setColumnHidden(c, kColonne[c].larghezza == 0);
        if (kColonne[c].larghezza)
            dbgLista->setColumnWidth(c, int(kColonne[c].larghezza * fattore / 15));
    }
    ComGesProgr->setVisible(true);
    ComGesProgrIVA->setVisible(true);
    if (numRighe == 0)
        PulDecodProgressivi();
    else
        dbgLista->setVisible(true);
}

void frmClienti::PulDecodProgressivi()
{
    dbgLista->setVisible(false);
}

void frmClienti::GestioneProgressivi(const QString &funzione)
{
    if (!Globali::MenuClient) {
        msgCom(QStringLiteral("Il programma di menu non è disponibile: impossibile aprire la gestione dei "
                              "progressivi."));
        return;
    }
    try {
        ClienteMenu *menu = Globali::MenuClient;
        menu->ImpostaValore(QStringLiteral("PdcProgTipo"), 12, true, QStringLiteral("3"));
        menu->ImpostaValore(QStringLiteral("PdcProgGruppo"), 12, true, txt(10)->text());
        menu->ImpostaValore(QStringLiteral("PdcProgMastro"), 12, true, txt(20)->text());
        menu->ImpostaValore(QStringLiteral("PdcProgConto"), 12, true, txt(30)->text());
        Globali::KeyPrgPrim = ProgrammaUtilitaCoge;
        Globali::KeyPrgSec = funzione;
        menu->Richiesta(QStringLiteral("Tutti"), QStringLiteral("TipoGruppoMastroContoFisso"));
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    }
}

void frmClienti::ComGesProgr_Click()
{
    GestioneProgressivi(QStringLiteral("prpn"));
}

void frmClienti::ComGesProgrIVA_Click()
{
    GestioneProgressivi(QStringLiteral("PICF"));
}
