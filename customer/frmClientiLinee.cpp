// The customer form's two line grids: set-up of their GestLinee, the page they
// stand on, saving a pending line before leaving, read/write levels, line
// commands, deferred work, and the record layer that reads and writes their
// rows (attached documents in PianoContiDoc, letters of intent in PdcDicIntenti).
#include "customer/RigheGriglia.h"
#include "customer/frmClienti.h"

#include "components/db/DbMotore.h"
#include "components/forms/UtilFinestre.h"
#include "components/linee/GestLinee.h"
#include "components/menu/ClienteMenu.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"

#include <QAction>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

namespace
{

const QStringList kColonneDoc = {QStringLiteral("Gruppo"),      QStringLiteral("Mastro"),
                                 QStringLiteral("Conto"),       QStringLiteral("Ordine"),
                                 QStringLiteral("Descrizione"), QStringLiteral("Percorso")};
const QStringList kColonneDic = {
    QStringLiteral("Gruppo"),           QStringLiteral("Mastro"),          QStringLiteral("Conto"),
    QStringLiteral("PdcDicIntenti"),    QStringLiteral("Descrizione"),     QStringLiteral("Attivo"),
    QStringLiteral("ProtRicezione"),    QStringLiteral("DataRicAE"),       QStringLiteral("NrDichIntenti"),
    QStringLiteral("DataDichIntenti"),  QStringLiteral("NrPrgIntenti"),    QStringLiteral("DataRicComIntenti"),
    QStringLiteral("RifComunicIntenti"), QStringLiteral("ImportoDichIntenti"), QStringLiteral("DataDAIntenti"),
    QStringLiteral("DataAIntenti")};

} // namespace

GestLinee *frmClienti::GestLin(int i)
{
    if (i < 0 || i > 1)
        throw VbErrore(9, QStringLiteral("Indice non compreso nell'intervallo"));
    auto &g = m_gestLin[size_t(i)];
    if (!g) {
        g = new GestLinee(this);
        g->ImpostaIndice(i);
        g->ImpostaMessaggi([](const QString &testo, const QStringList &pulsanti, int predefinito) {
            return msgCom(testo, pulsanti.value(0), pulsanti.value(1), pulsanti.value(2), {}, 80, false, 600, 0,
                          predefinito);
        });
    }
    return g;
}

void frmClienti::InizGestComlin()
{
    // The host decides once whether this user may edit the grids.
    const bool abil = Globali::MenuClient
                          ? Globali::MenuClient->LeggiPar(QStringLiteral("HlpAbil:clienti:clie"), QString())
                                    .toString()
                                    .trimmed()
                                    .compare(QLatin1String("N"), Qt::CaseInsensitive) != 0
                          : true;
    for (int i = 0; i < 2; ++i) {
        AbilLin[size_t(i)] = abil;
        // A read-only opening keeps the grids read-only too.
        obAbilRW(i, abil && !m_solaLettura);
    }
    for (int i = 0; i < 2; ++i) {
        LinAttuale = i;
        DecodLin[size_t(i)] = false;
        ModificaOk[size_t(i)] = true;
        auto &r = m_righe[size_t(i)];
        r = std::make_unique<RigheGriglia>();
        r->tabella = i == 0 ? QStringLiteral("PianoContiDoc") : QStringLiteral("PdcDicIntenti");
        r->colonne = i == 0 ? kColonneDoc : kColonneDic;
        r->chiaveRiga = i == 0 ? QStringLiteral("Ordine") : QStringLiteral("PdcDicIntenti");
        r->ordine = QStringLiteral(" Order by ") + r->chiaveRiga;
        DatiPrepara({}, true);
        GestLinee *g = GestLin(i);
        g->ImpostaForm(this);
        g->ImpostaFormStampa(nullptr);
        g->ImpostaFormAttesa(nullptr);
        g->ImpostaBarraLin(tolComlin(i));
        g->ImpostaTestoRighe(txtRiga(i));
        g->ImpostaGriglia(dbgRiga(i));
        g->ImpostaFormatoData(Globali::FormatoData);
        g->ImpostaValore(0);
        g->ImpostaStileBarra(Globali::TipoToolbar, this, this);
        g->ImpostaContesto(Globali::PonteMenu);
        g->LivelloRW(LivelloLin[size_t(i)]);
        g->ImpostaOpzioni(QVariant(), false);
        g->ImpostaColonne(r->colonne);
        for (const char *nascosto : {"Chiudi", "Menu"})
            if (QAction *a = g->Bottone(QString::fromLatin1(nascosto)))
                a->setVisible(false);
        if (i == 1)
            if (QAction *a = g->Bottone(QStringLiteral("Documenti")))
                a->setVisible(false);
        if (i == 1)
            if (QAction *a = g->Bottone(QStringLiteral("ApriDoc")))
                a->setVisible(false);
        for (int c = 0; c < 4; ++c)
            g->AggiungiColonnaChiave(c);
        g->ImpostaColonneFisse(4);
        PersColonne();
        g->Ricarica(false);
        QString totale, corrente;
        g->PosizioneRighe(totale, corrente);
        txtRiga(i)->setText(corrente + QStringLiteral(" / ") + totale);
        oiAbilRWLin(LivelloLin[size_t(i)]);
    }
    LinAttuale = 1;
}

QVariant frmClienti::QualePictLin(int piCorrente) const
{
    for (int g = 0; g <= 10; ++g)
        if (PagLin[size_t(g)] == piCorrente)
            return g;
    return -1;
}

QVariant frmClienti::VerModLin(int piIndex)
{
    if (piIndex < 0 || piIndex > 1 || !m_gestLin[size_t(piIndex)])
        return true;
    GestLinee *g = GestLin(piIndex);
    if (g->Livello() != 1 || !(g->DatiModificati() || g->EditorAperto()))
        return true;
    LinAttuale = piIndex;
    ButtonComandoLin(QStringLiteral("Salva"));
    return !(g->DatiModificati() || g->EditorAperto());
}

void frmClienti::visDatiDaLin(int piIndex, bool pbMostra)
{
    if (!m_comPag || (m_comPag->StatoPagina() != GestPagine::StatoRecord && !pbMostra)) {
        pulDatiDalin(piIndex);
        return;
    }
    const int prima = LinAttuale;
    LinAttuale = piIndex;
    CursoreAttesa(true);
    try {
        m_righe[size_t(piIndex)]->vuota = false;
        GestLin(piIndex)->Ricarica(true);
        GestLin(piIndex)->LivelloRW(LivelloLin[size_t(piIndex)]);
    } catch (...) {
        CursoreAttesa(false);
        LinAttuale = prima;
        throw;
    }
    CursoreAttesa(false);
    LinAttuale = prima;
}

void frmClienti::pulDatiDalin(int piIndex)
{
    if (piIndex < 0 || piIndex > 1 || !m_righe[size_t(piIndex)])
        return;
    const int prima = LinAttuale;
    LinAttuale = piIndex;
    m_righe[size_t(piIndex)]->vuota = true;
    GestLin(piIndex)->Ricarica(true);
    LinAttuale = prima;
}

int frmClienti::obAbilRW(int pvQuale) const
{
    const int g = pvQuale < 0 ? LinAttuale : pvQuale;
    if (g < 0 || g > 1)
        return 0;
    return m_gestLin[size_t(g)] ? m_gestLin[size_t(g)]->Livello() : LivelloLin[size_t(g)];
}

void frmClienti::obAbilRW(int pvQuale, bool pbAbilRW)
{
    if (pvQuale >= 0) {
        if (pvQuale <= 1)
            LivelloLin[size_t(pvQuale)] = pbAbilRW ? 1 : 0;
        return;
    }
    oiAbilRWLin(pbAbilRW ? 1 : 0);
}

void frmClienti::oiAbilRWLin(int livello)
{
    if (LinAttuale < 0 || LinAttuale > 1)
        return;
    GestLin(LinAttuale)->LivelloRW(livello);
    if (LinAttuale == 0)
        if (QAction *a = GestLin(0)->Bottone(QStringLiteral("Documenti")))
            a->setVisible(livello == 1);
}

void frmClienti::ButtonComandoLin(GestLinee &griglia, const QString &psKey)
{
    LinAttuale = griglia.Indice();
    ButtonComandoLin(psKey);
}

void frmClienti::ButtonComandoLin(const QString &psKey)
{
    const int g = LinAttuale;
    if (g < 0 || g > 1)
        return;
    GestLinee *lin = GestLin(g);
    CmdLinInCorso[size_t(g)] = psKey;
    if (psKey.compare(QLatin1String("Documenti"), Qt::CaseInsensitive) == 0) {
        CercaDocumento();
    } else if (psKey.compare(QLatin1String("ApriDoc"), Qt::CaseInsensitive) == 0) {
        ApriDocumento();
    } else {
        ModificaOk[size_t(g)] = true;
        if (lin->EditorAperto() && !lin->ChiudiEditor())
            ModificaOk[size_t(g)] = false;
        int stato = m_comPag ? m_comPag->StatoPagina() : 0;
        if (ModificaOk[size_t(g)] && stato == GestPagine::StatoRecord)
            lin->EseguiComando(psKey, QVariant(), false);
        lin->DopoComando(stato);
        if (psKey.compare(QLatin1String("Cancella"), Qt::CaseInsensitive) == 0 && stato == GestPagine::StatoRecord) {
            AzioneLin[size_t(g)] = 1;
            timVarie->start();
        }
    }
    CmdLinInCorso[size_t(g)].clear();
}

void frmClienti::SistemaGrigliaLin(int piPag)
{
    const int g = QualePictLin(piPag).toInt();
    if (g < 0)
        return;
    QWidget *box = PicPagine(PagLin[size_t(g)]);
    GestLin(g)->Disponi(false, 0, QVariant(), box->width(), box->height() - tolComlin(g)->height());
}

void frmClienti::timVarie_Timer()
{
    timVarie->stop();
    const int g = LinAttuale;
    if (g < 0 || g > 1)
        return;
    switch (AzioneLin[size_t(g)]) {
    case 1:
        CursoreAttesa(true);
        GestLin(g)->LavoroDifferito();
        CursoreAttesa(false);
        break;
    case 4:
        ModificaOk[size_t(g)] = true;
        break;
    default:
        break;
    }
    AzioneLin[size_t(g)] = 0;
}

void frmClienti::dbgRiga_DblClick(GestLinee &griglia)
{
    dbgRiga_DblClick(griglia.Indice());
}

void frmClienti::dbgRiga_DblClick(int Index)
{
    (void)Index;
    ApriDocumento();
}

void frmClienti::dbgRiga_UnboundReadData(GestLinee &griglia)
{
    const int g = griglia.Indice();
    if (g >= 0 && g <= 1 && AzioneLin[size_t(g)] == 0) {
        AzioneLin[size_t(g)] = 2;
        timVarie->start();
    }
}

void frmClienti::CercaDocumento()
{
    if (LinAttuale != 0)
        return;
    GestLinee *g = GestLin(0);
    QString segnaposto, valore;
    const QString percorso = LeggiListaIni(g->ValoreCella(QStringLiteral("Percorso")).toString(),
                                           QStringLiteral("§"), QStringLiteral("Base"), segnaposto, valore);
    const QString scelto = UtilFinestre::ScegliFileDaAprire(
        this, QStringLiteral("File Base da Copiare"), Globali::Util().CartellaDaPercorso(percorso), QString());
    if (scelto.isEmpty())
        return;
    QString nuovo = scelto;
    if (!valore.isEmpty())
        nuovo = Globali::Util().SostituisciTesto(nuovo, valore, segnaposto);
    g->ImpostaValoreCella(QStringLiteral("Percorso"), nuovo);
}

void frmClienti::ApriDocumento()
{
    if (LinAttuale != 0)
        return;
    QString segnaposto, valore;
    const QString percorso = LeggiListaIni(GestLin(0)->ValoreCella(QStringLiteral("Percorso")).toString(),
                                           QStringLiteral("§"), QStringLiteral("Base"), segnaposto, valore);
    if (!Globali::Util().ValoreVuoto(percorso))
        UtilFinestre::ApriConShell(QUrl::fromLocalFile(percorso));
}

// ---- Record layer ----

void frmClienti::GrigliaAttiva(GestLinee *griglia)
{
    if (griglia && griglia->Indice() >= 0)
        LinAttuale = griglia->Indice();
}

QVariant frmClienti::DatiPrepara(const QVariant &pvOrdin, bool pbVuoto)
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    if (pvOrdin.isValid() && !pvOrdin.toString().isEmpty())
        r.ordine = pvOrdin.toString();
    r.vuota = pbVuoto;
    DatiRequery();
    return {};
}

void frmClienti::DatiRequery()
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    const UtilGlob &u = Globali::Util();
    QString sql = QStringLiteral("Select ") + r.colonne.join(QStringLiteral(", ")) + QStringLiteral(" From ") +
                  r.tabella;
    if (r.vuota)
        sql += QStringLiteral(" Where 1 = 0");
    else
        sql += QStringLiteral(" Where Gruppo = ") + u.ValoreSql(txt(10)->text()) + QStringLiteral(" And Mastro = ") +
               u.ValoreSql(txt(20)->text()) + QStringLiteral(" And Conto = ") + u.ValoreSql(txt(30)->text());
    sql += r.ordine;
    r.handle = r.rec.ApriRec(Globali::DbComp(), Globali::DbAzienda, QStringLiteral("Linee"), sql, false,
                             RecDat::TipoDinamico);
    r.totale = r.rec.NumRecord(r.handle);
}

void frmClienti::DatiMove(int piTipoMov)
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    r.rec.Muovi(r.handle, piTipoMov);
}

void frmClienti::DatiEdit()
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    r.rec.ModificaRec(r.handle);
}

void frmClienti::DatiAddNew()
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    // The next line number of the account, unless the user types one.
    RecDat massimo;
    const UtilGlob &u = Globali::Util();
    const QString h = massimo.ApriRec(
        Globali::DbComp(), Globali::DbAzienda, {},
        QStringLiteral("Select Max(") + r.chiaveRiga + QStringLiteral(") As Ultimo From ") + r.tabella +
            QStringLiteral(" Where Gruppo = ") + u.ValoreSql(txt(10)->text()) + QStringLiteral(" And Mastro = ") +
            u.ValoreSql(txt(20)->text()) + QStringLiteral(" And Conto = ") + u.ValoreSql(txt(30)->text()),
        false, RecDat::TipoSnapshot);
    const int prossimo = massimo.LeggiCampo(h, QStringLiteral("Ultimo"), UtilGlob::TipoLungo).toInt() + 1;
    r.rec.AggiungiRec(r.handle);
    r.rec.ScriviCampo(r.handle, QStringLiteral("Gruppo"), txt(10)->text());
    r.rec.ScriviCampo(r.handle, QStringLiteral("Mastro"), txt(20)->text());
    r.rec.ScriviCampo(r.handle, QStringLiteral("Conto"), txt(30)->text());
    r.rec.ScriviCampo(r.handle, r.chiaveRiga, prossimo);
}

bool frmClienti::DatiUpdate()
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    bool cancel = false;
    VerifPrimaUpdate(*GestLin(LinAttuale), cancel);
    if (cancel)
        return false;
    r.rec.AggiornaRec(r.handle);
    return true;
}

void frmClienti::DatiAnnEdit()
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    if (r.rec.ModoModifica(r.handle) != RecDat::ModoNessuno)
        r.rec.AnnullaModifica(r.handle);
}

void frmClienti::DatiDelete()
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    r.rec.EliminaRec(r.handle);
}

int frmClienti::DatiOrdinaSql(const QVariant &pvColIndex)
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    const QString campo = pvColIndex.typeId() == QMetaType::QString ? pvColIndex.toString()
                                                                    : r.colonne.value(pvColIndex.toInt());
    if (campo.isEmpty())
        return 1;
    r.ordine = QStringLiteral(" Order by ") + campo;
    DatiRequery();
    return 0;
}

QVariant frmClienti::ovDatiValue(const QVariant &pvCampo)
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    return r.rec.ValoreCampoIdx(r.handle, pvCampo);
}

void frmClienti::ovDatiValue(const QVariant &pvCampo, const QVariant &valore)
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    const QString campo = pvCampo.typeId() == QMetaType::QString ? pvCampo.toString()
                                                                 : r.colonne.value(pvCampo.toInt());
    const UtilGlob &u = Globali::Util();
    QVariant v = valore;
    // Cells come back as typed text: dates and numbers are read the Italian way.
    if (valore.typeId() == QMetaType::QString) {
        const QString t = valore.toString().trimmed();
        const int tipo = r.rec.CampoDao(r.handle, campo).Type;
        if (tipo != 10 && t.isEmpty())
            v = QVariant();
        else if (tipo == 8)
            v = u.ValoreData(t);
        else if (tipo == 3 || tipo == 4)
            v = u.TestoInNumero(t, false, true);
        else if (tipo == 5 || tipo == 7)
            v = u.TestoInNumero(t, false, false);
    }
    r.rec.ScriviCampo(r.handle, campo, v);
}

int frmClienti::olRecPosition()
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    return r.rec.Posizione(r.handle);
}

void frmClienti::olRecPosition(int posizione)
{
    RigheGriglia &r = *m_righe[size_t(LinAttuale)];
    r.rec.ImpostaPosizione(r.handle, posizione);
}

int frmClienti::olNumRecTot()
{
    return m_righe[size_t(LinAttuale)]->totale;
}

void frmClienti::PersColonne()
{
    GestLinee *g = GestLin(LinAttuale);
    for (const char *k : {"Gruppo", "Mastro", "Conto"})
        g->VisibilitaColonna(QString::fromLatin1(k), false);
    struct Col {
        const char *campo, *didascalia;
        double larghezza;
        const char *formato;
    };
    const std::vector<Col> colonne =
        LinAttuale == 0
            ? std::vector<Col>{{"Ordine", "Nr.", 600, nullptr},
                               {"Descrizione", "Descrizione", 4500, nullptr},
                               {"Percorso", "Percorso", 6000, nullptr}}
            : std::vector<Col>{{"PdcDicIntenti", "Cod.", 600, nullptr},
                               {"Descrizione", "Descrizione", 2400, nullptr},
                               {"Attivo", "Attivo", 700, nullptr},
                               {"ProtRicezione", "Prot.Ricezione", 1500, nullptr},
                               {"DataRicAE", "DtRicAgEn", 1200, nullptr},
                               {"NrDichIntenti", "Numero", 900, nullptr},
                               {"DataDichIntenti", "Data", 1200, nullptr},
                               {"NrPrgIntenti", "Num.Asseg.", 1000, nullptr},
                               {"DataRicComIntenti", "Dt.Ricev.", 1200, nullptr},
                               {"RifComunicIntenti", "Rif.", 600, nullptr},
                               {"ImportoDichIntenti", "Importo", 1500, "#,###"},
                               {"DataDAIntenti", "Periodo da", 1200, nullptr},
                               {"DataAIntenti", "Periodo a", 1200, nullptr}};
    for (const Col &c : colonne) {
        const QString campo = QString::fromLatin1(c.campo);
        g->DidascaliaColonna(campo, QString::fromUtf8(c.didascalia));
        g->LarghezzaColonna(campo, c.larghezza, c.formato ? QString::fromLatin1(c.formato) : QString());
    }
    if (LinAttuale == 1)
        g->ColonnaConPulsante(QStringLiteral("RifComunicIntenti"), true);
}
