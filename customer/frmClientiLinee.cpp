// The customer form's two line grids (0 attached documents on page 7, 1
// letters of intent on page 9): set-up of their GestLinee, their columns, the
// page they stand on, saving a pending line before leaving it, filling and
// emptying them with the account shown, and their read/write levels.
#include "customer/frmClienti.h"

#include "components/db/RecDat.h"
#include "components/forms/UtilFinestre.h"
#include "components/linee/GestLinee.h"
#include "components/menu/ClienteMenu.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/DatiComuni.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QToolBar>

namespace
{

// The fields of each grid's query, in column order.
const QStringList kColonneDoc = {QStringLiteral("Gruppo"),      QStringLiteral("Mastro"),
                                 QStringLiteral("Conto"),       QStringLiteral("Ordine"),
                                 QStringLiteral("Descrizione"), QStringLiteral("Percorso")};
const QStringList kColonneDic = {QStringLiteral("Gruppo"),
                                 QStringLiteral("Mastro"),
                                 QStringLiteral("Conto"),
                                 QStringLiteral("PdcDicIntenti"),
                                 QStringLiteral("Descrizione"),
                                 QStringLiteral("Attivo"),
                                 QStringLiteral("ProtRicezione"),
                                 QStringLiteral("DataRicAE"),
                                 QStringLiteral("NrDichIntenti"),
                                 QStringLiteral("DataDichIntenti"),
                                 QStringLiteral("NrPrgIntenti"),
                                 QStringLiteral("DataRicComIntenti"),
                                 QStringLiteral("RifComunicIntenti"),
                                 QStringLiteral("ImportoDichIntenti"),
                                 QStringLiteral("DataDAIntenti"),
                                 QStringLiteral("DataAIntenti")};

constexpr double LarghezzaData = -1; // the width of "31/12/2999" in the form's font

struct ColonnaLinea {
    const char *campo;
    const char *didascalia; // nullptr: the field's name
    double larghezza;       // twips before the screen factor
};

const ColonnaLinea kLarghezzeDoc[] = {
    {"Ordine", nullptr, 800}, {"Descrizione", nullptr, 3000}, {"Percorso", nullptr, 4500}};
const ColonnaLinea kLarghezzeDic[] = {{"PdcDicIntenti", "Cod.", 450},
                                      {"Descrizione", nullptr, 2700},
                                      {"Attivo", nullptr, 450},
                                      {"ProtRicezione", nullptr, 1500},
                                      {"DataRicAE", "DtRicAgEn", LarghezzaData},
                                      {"NrDichIntenti", "Numero", 900},
                                      {"DataDichIntenti", "Data", LarghezzaData},
                                      {"NrPrgIntenti", "Num.Asseg.", 950},
                                      {"DataRicComIntenti", "Dt.Ricev.", LarghezzaData},
                                      {"RifComunicIntenti", "Rif.", 400},
                                      {"ImportoDichIntenti", "Importo", 1000},
                                      {"DataDAIntenti", "Periodo da", LarghezzaData},
                                      {"DataAIntenti", "Periodo a", LarghezzaData}};

constexpr double TwipPerPixel = 15;

// The host's answer as a Boolean: true/false words (also Italian and the
// S/N of the suite's settings) and numbers, anything else false.
bool ComeBooleano(const QVariant &v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    const QString t = v.toString().trimmed();
    double n = 0;
    if (UtilGlob::LeggiNumero(t, n))
        return n != 0;
    for (const char *vero : {"true", "vero", "s", "si", "sì", "y", "yes"})
        if (t.compare(QString::fromUtf8(vero), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

GestLinee *frmClienti::GestLin(int i)
{
    if (i < 0 || i > 1)
        throw VbErrore(9, QStringLiteral("Indice non compreso nell'intervallo"));
    auto &g = m_gestLin[size_t(i)];
    if (!g) {
        g = new GestLinee(this);
        g->ImpostaIndice(i);
        // A grid's questions (its print's among them) open over the form.
        g->ImpostaMessaggi([this](const QString &testo, const QStringList &pulsanti, int predefinito) {
            const MsgComSopra sopra(this);
            return msgCom(testo, pulsanti.value(0), pulsanti.value(1), pulsanti.value(2), {}, 80, false, 600,
                          0, predefinito);
        });
    }
    return g;
}

void frmClienti::InizAbilLin()
{
    // Whether this user may change the grids: the host decides, once, before
    // the form's read-only opening sets the level of grid 0 (oiAbilRW); each
    // grid takes its right again whenever it shows an account's lines.
    const QVariant abil =
        Globali::MenuClient ? Globali::MenuClient->LeggiPar(QStringLiteral("HlpAbil:clienti:clie"), QString())
                            : QVariant();
    for (int i = 0; i < 2; ++i) {
        AbilLin[size_t(i)] = ComeBooleano(abil);
        obAbilRW(i, AbilLin[size_t(i)]);
    }
}

QString frmClienti::TitoloStampaLin(int griglia)
{
    const QString cosa =
        griglia == 0 ? QStringLiteral("Documenti") : QStringLiteral("Dichiarazioni d'intento");
    const QString chi = (txt(30)->text().trimmed() + QLatin1Char(' ') + txt(40)->text().trimmed()).trimmed();
    return chi.isEmpty() ? cosa : cosa + QStringLiteral(" - ") + chi;
}

void frmClienti::InizGestComlin()
{
    for (int i = 0; i < 2; ++i) {
        LinAttuale = i;
        DecodLin[size_t(i)] = false;
        ModificaOk[size_t(i)] = true;
        LinPronta[size_t(i)] = true;
        dbgRiga(i)->setTabKeyNavigation(true);
        DatiPrepara({}, false);
        GestLinee *g = GestLin(i);
        g->ImpostaForm(this);
        // Each grid's print has saved options of its own, under a stable name.
        g->ImpostaSezioneStampa(i == 0 ? QStringLiteral("Stampa Documenti Cliente")
                                       : QStringLiteral("Stampa Dichiarazioni Intento"));
        FornisciStampa(*g);
        g->ImpostaTitoloStampa([this, i] { return TitoloStampaLin(i); });
        g->ImpostaBarraLin(tolComlin(i));
        g->ImpostaTestoRighe(txtRiga(i));
        g->ImpostaGriglia(dbgRiga(i));
        // A document is opened by a double click, and its path is not
        // edited by it.
        g->DoppioClicSenzaEditor(i == 0);
        g->ImpostaFormatoData(Globali::FormatoData);
        g->ImpostaValore(0);
        g->ImpostaStileBarra(Globali::TipoToolbar, this, this);
        g->ImpostaContesto(Globali::PonteMenu);
        g->LivelloRW(LivelloLin[size_t(i)]);
        g->ImpostaOpzioni(QVariant(), false);
        g->ImpostaColonne(i == 0 ? kColonneDoc : kColonneDic);
        for (const char *nascosto : {"Chiudi", "Menu"})
            if (QAction *a = g->Bottone(QString::fromLatin1(nascosto)))
                a->setVisible(false);
        // The document commands belong to the documents grid.
        if (i == 1)
            for (const char *doc : {"Documenti", "ApriDoc"})
                if (QAction *a = g->Bottone(QString::fromLatin1(doc)))
                    a->setVisible(false);
        oiNumKey(i, 4);
        for (const char *chiave : {"Gruppo", "Mastro", "Conto", i == 0 ? "Ordine" : "PdcDicIntenti"})
            g->AggiungiColonnaChiave(g->IndiceColonna(QString::fromLatin1(chiave)));
        if (oiColFisse(i) > 0)
            g->ImpostaColonneFisse(oiColFisse(i));
        PersColonne();
        g->Ricarica(false);
        QString totale, corrente;
        g->PosizioneRighe(totale, corrente);
        txtRiga(i)->setText(corrente + QStringLiteral(" / ") + totale);
        oiAbilRWLin(LivelloLin[size_t(i)]);
    }
    LinAttuale = 1;
}

void frmClienti::PersColonne()
{
    GestLinee *g = GestLin(LinAttuale);
    double fattore = 1;
    if (m_comPag) {
        const double risVid =
            Globali::Util().ValoreNumerico(m_comPag->LeggiParPagina(QStringLiteral("RisVid")));
        if (risVid > 0 && risVid != 1)
            fattore = risVid;
    }
    const QFontMetrics fm(dbgRiga(LinAttuale)->font());
    // The text and the cell's margins, so that a date or an amount is never cut.
    const auto misura = [&fm](const QString &testo) {
        return (fm.horizontalAdvance(testo) + 12) * TwipPerPixel;
    };
    const double data = misura(QStringLiteral("31/12/2999"));
    const double importo = misura(QStringLiteral("99.999.999,99"));
    // Nor is a caption: the header's font, its margins and a sort arrow.
    const QFontMetrics fmTesta(dbgRiga(LinAttuale)->horizontalHeader()->font());
    const auto misuraTesta = [&fmTesta](const QString &testo) {
        return (fmTesta.horizontalAdvance(testo) + 20) * TwipPerPixel;
    };
    const auto imposta = [&](const ColonnaLinea &c) {
        const QString campo = QString::fromLatin1(c.campo);
        double larghezza = c.larghezza == LarghezzaData ? data : c.larghezza * fattore;
        if (campo == QLatin1String("ImportoDichIntenti"))
            larghezza = std::max(larghezza, importo);
        larghezza = std::max(larghezza, misuraTesta(c.didascalia ? QString::fromUtf8(c.didascalia) : campo));
        g->LarghezzaColonna(campo, larghezza,
                            campo == QLatin1String("ImportoDichIntenti") ? Globali::FmtImportoEuro
                                                                         : QString());
        if (c.didascalia)
            g->DidascaliaColonna(campo, QString::fromUtf8(c.didascalia));
    };
    if (LinAttuale == 0)
        for (const ColonnaLinea &c : kLarghezzeDoc)
            imposta(c);
    else
        for (const ColonnaLinea &c : kLarghezzeDic)
            imposta(c);
    if (LinAttuale == 1) {
        // The reference type is picked from a list as wide as the column.
        g->LarghezzaColonna(QStringLiteral("RifComunicIntenti"), LisTipoRif->width() * TwipPerPixel);
        g->ColonnaConPulsante(QStringLiteral("RifComunicIntenti"), true);
        // Prints and workbooks: the amount is a number, the letter's code and
        // its protocol numbers are codes.
        g->ColonnaImporto(QStringLiteral("ImportoDichIntenti"));
        for (const char *codice : {"PdcDicIntenti", "ProtRicezione", "NrDichIntenti", "NrPrgIntenti"})
            g->ColonnaCodice(QString::fromLatin1(codice));
    }
    for (const char *k : {"Gruppo", "Mastro", "Conto"})
        g->VisibilitaColonna(QString::fromLatin1(k), false, false);
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
    const auto modificata = [g] { return g->DatiModificati() || g->EditorAperto(); };
    if (g->Livello() != 1 || !modificata())
        return true;
    LinAttuale = piIndex;
    ButtonComandoLin(QStringLiteral("Salva"));
    return !modificata();
}

void frmClienti::visDatiDaLin(int piIndex, bool pbMostra)
{
    if (piIndex < 0 || piIndex > 1)
        return;
    const int stato = m_comPag ? m_comPag->StatoPagina() : GestPagine::StatoNuovo;
    if (stato != GestPagine::StatoRecord && !pbMostra) {
        pulDatiDalin(piIndex);
        return;
    }
    const int prima = LinAttuale;
    LinAttuale = piIndex;
    CursoreAttesa(true);
    try {
        // Search criteria show the rows read-only.
        if (m_comPag && m_comPag->StatoPagina() == GestPagine::StatoRicerca && !pbMostra)
            obAbilRW(piIndex, false);
        else
            obAbilRW(piIndex, AbilLin[size_t(piIndex)]);
        oiAbilRWLin(LivelloLin[size_t(piIndex)]);
        DatiPrepara({}, false);
        GestLin(piIndex)->Ricarica(false);
        dbgRiga(piIndex)->setVisible(true);
    } catch (...) {
        // The page keeps its layout whatever the rows read: the grid is there.
        dbgRiga(piIndex)->setVisible(true);
        CursoreAttesa(false);
        LinAttuale = prima;
        throw;
    }
    CursoreAttesa(false);
    LinAttuale = prima;
}

void frmClienti::LineeNonLette(int piIndex)
{
    const int prima = LinAttuale;
    try {
        pulDatiDalin(piIndex);
    } catch (const VbErrore &) {
        // Emptying reads nothing: there is nothing more to say than the
        // failure that brought it.
    } catch (const std::exception &) {
    }
    LinAttuale = prima;
    dbgRiga(piIndex)->setVisible(true);
}

void frmClienti::pulDatiDalin(int piIndex)
{
    if (piIndex < 0 || piIndex > 1)
        return;
    // Hidden until it shows an account's lines again (visDatiDaLin).
    dbgRiga(piIndex)->setVisible(false);
    if (!m_gestLin[size_t(piIndex)])
        return;
    LinAttuale = piIndex;
    // Emptied too, so that no line of the account left can be saved or
    // deleted: nothing is read while it is emptied.
    NoLettura = 1;
    try {
        GestLin(piIndex)->Ricarica(true);
    } catch (...) {
        NoLettura = 0;
        throw;
    }
    NoLettura = 0;
}

bool frmClienti::obAbilRW(int pvQuale) const
{
    const int g = pvQuale < 0 ? LinAttuale : pvQuale;
    if (g < 0 || g > 1)
        return false;
    return LivelloLin[size_t(g)] == 1;
}

void frmClienti::obAbilRW(int pvQuale, bool pbAbilRW)
{
    if (pvQuale < 0) {
        oiAbilRWLin(pbAbilRW ? 1 : 0);
        return;
    }
    // A read-only opening keeps every grid read-only.
    if (pvQuale <= 1)
        LivelloLin[size_t(pvQuale)] = pbAbilRW && !m_solaLettura ? 1 : 0;
}

void frmClienti::oiAbilRWLin(int livello)
{
    if (LinAttuale < 0 || LinAttuale > 1)
        return;
    const int l = livello == 1 && !m_solaLettura ? 1 : 0;
    LivelloLin[size_t(LinAttuale)] = l;
    GestLin(LinAttuale)->LivelloRW(l);
    if (LinAttuale == 0)
        if (QAction *a = GestLin(0)->Bottone(QStringLiteral("Documenti")))
            a->setVisible(l == 1);
}

int frmClienti::oiAbilRW() const
{
    return LivelloLin[0];
}

void frmClienti::oiAbilRW(int piAbilRW)
{
    FormComune::oiAbilRW(piAbilRW);
    oiAbilRWLin(piAbilRW);
}

int frmClienti::oiColFisse(int Index) const
{
    return Index >= 0 && Index <= 1 ? ColFisseLin[size_t(Index)] : 0;
}

void frmClienti::oiColFisse(int Index, int piColFisse)
{
    if (Index >= 0 && Index <= 1)
        ColFisseLin[size_t(Index)] = piColFisse;
}

QVariant frmClienti::ScrollOffset()
{
    GestLinee *g = GestLin(LinAttuale);
    return Globali::Util().TestoInNumero(g->RigaCorrente() - g->ScostamentoScroll(), false);
}

void frmClienti::AggApproxCount()
{
    if (LinAttuale < 0 || LinAttuale > 1 || !m_gestLin[size_t(LinAttuale)])
        return;
    QString totale, corrente;
    GestLin(LinAttuale)->PosizioneRighe(totale, corrente);
    txtRiga(LinAttuale)->setText(corrente + QStringLiteral(" / ") + totale);
}

QVariant frmClienti::ColToField(int piColIndex)
{
    return GestLin(LinAttuale)->Colonne().value(piColIndex);
}

QVariant frmClienti::ColToSourceField(int piColIndex)
{
    const QVariant campo = ColToField(piColIndex);
    if (Globali::Util().ValoreVuoto(campo, UtilGlob::TipoTesto, 1, false))
        return {};
    return campo;
}

void frmClienti::SistemaGrigliaLin(int piPag)
{
    const int g = QualePictLin(piPag).toInt();
    if (g < 0)
        return;
    QWidget *box = PicPagine(PagLin[size_t(g)]);
    // The letters grid leaves room under it for the totals.
    int riserva = 0;
    if (g == 1)
        riserva = box->height() - Lab(7010)->y() + 2;
    GestLin(g)->Disponi(false, 0, QVariant(), box->width(), box->height() - tolComlin(g)->height() - riserva);
}
