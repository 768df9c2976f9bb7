// The customer list window's load, its SQL and columns, and the callbacks the
// list component calls.
#include "lists/frmClientiLis.h"
#include "components/forms/UtilFinestre.h"

#include "components/forms/ColoriVb.h"
#include "components/lista/GestLista.h"
#include "components/lista/ListaPagine.h"
#include "components/lista/StampaLista.h"
#include "components/util/UtilGlob.h"
#include "services/Codici.h"
#include "services/FormPrepara.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/UtilPrg.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

namespace
{

// Only accounts of customer ledgers (Mastri of kind "3") are customers.
const char *const kSoloClienti =
    "Exists (Select Mastri.Mastro From Mastri Where Mastri.Gruppo = PianoConti.Gruppo "
    "And Mastri.Mastro = PianoConti.Mastro And Mastri.Tipo = '3')";

int tipoDao(const Risultato::Colonna &c)
{
    switch (c.tipo) {
    case Risultato::Tipo::Intero:
        return 4;
    case Risultato::Tipo::Reale:
        return 7;
    case Risultato::Tipo::Decimale:
        return 5;
    case Risultato::Tipo::Data:
    case Risultato::Tipo::DataOra:
        return 8;
    case Risultato::Tipo::Booleano:
        return 1;
    default:
        return 10;
    }
}

int dimensioneDao(const Risultato::Colonna &c)
{
    switch (tipoDao(c)) {
    case 4:
        return 4;
    case 1:
        return 1;
    case 10:
        return c.lunghezza;
    default:
        return 8;
    }
}

} // namespace

frmClientiLis::frmClientiLis(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmClientiLis"));
    // Closing the list hides it; the customer form that owns it ends it.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Lista Clienti"));
    m_captionDesigner = windowTitle();
    resize(1000, 620);
    CreaControlli();
    CollegaEventi();
}

frmClientiLis::~frmClientiLis()
{
    UtilFinestre::StaccaFinestra(this);
    InChiusura = 1;
    if (dbgRiga)
        dbgRiga->setModel(nullptr);
}

void frmClientiLis::Form_Load()
{
    setWindowTitle(UnisciCodDescr(m_captionDesigner));
    PreparaForm(this, 0, 0, 0, 0, -1, 0, 0, -1, 0, QString());

    ComandoInCorso.clear();
    NomeCtlAttivo.clear();
    IndiceTxtAttivo = -1;
    AzioneTimer = 0;
    FlagIntestazione = 0;
    DaTastiera = 0;
    InChiusura = 0;

    ogComlin = new GestLista(this);
    ogLisPag = new ListaPagine(this);
    ogLisPag->ImpostaToolbar(tolComlin);
    ogLisPag->GestoreLista(ogComlin);
    ogComlin->ImpostaToolbar(tolComlin);
    if (QAction *stampa = ogComlin->Bottone(QStringLiteral("Stampa")))
        stampa->setVisible(true);
    // The section of the list's saved print options: a stable name, since
    // the users' INI files keep it from one version to the next.
    ogComlin->ImpostaSezioneStampa(QStringLiteral("Stampa Lista Clienti"));
    FornisciStampa(*ogComlin);
    ogLisPag->ImpostaForm(this);

    const QString conto = QStringLiteral("|-|Gruppo|Mastro|Conto");
    ogLisPag->RegistraCampoRicerca(txt(10), conto, QStringLiteral(">="), QStringLiteral("Conto"));
    ogLisPag->RegistraCampoRicerca(txt(20), conto, QStringLiteral("<="), QStringLiteral("Conto"),
                                   QStringLiteral("A"));
    ogLisPag->RegistraCampoRicerca(txt(30), QStringLiteral("Descrizione"), QStringLiteral("like*"));
    ogLisPag->RegistraCampoRicerca(txt(40), QStringLiteral("PartIva"), QStringLiteral("="));
    ogLisPag->RegistraCampoRicerca(txt(50), QStringLiteral("CodFisc"), QStringLiteral("="));
    ogLisPag->RegistraCampoRicerca(txt(60), QStringLiteral("DataAp"), QStringLiteral(">="), 8);
    ogLisPag->RegistraCampoRicerca(txt(65), QStringLiteral("DataAp"), QStringLiteral("<="), 8,
                                   QStringLiteral("A"));
    ogLisPag->RegistraCampoRicerca(txt(70), QStringLiteral("Zona"), QStringLiteral("="));
    ogLisPag->RegistraCampoRicerca(txt(75), QStringLiteral("Agente1"), QStringLiteral("="));

    ogComlin->ImpostaForm(this);
    ogComlin->ImpostaContatore(txtRiga);
    ogComlin->ImpostaGriglia(dbgRiga);
    // After the list's own filter, so that it runs before it (selezioneInSospeso).
    dbgRiga->installEventFilter(this);
    ogComlin->ImpostaData(nullptr);
    ogComlin->ImpostaDatabase(Globali::DbComp(), Globali::DbAzienda);
    // The list's questions (its print's among them) open over the list.
    ogComlin->ImpostaMessaggi([this](const QString &testo, const QStringList &pulsanti, int predefinito) {
        const MsgComSopra sopra(this);
        return msgCom(testo, pulsanti.value(0), pulsanti.value(1), pulsanti.value(2), {}, 80, false, 600, 0,
                      predefinito);
    });
    ogComlin->ImpostaPannelloCerca(txtCerca, CobCerca, {optDirez(0), optDirez(1), optDirez(2), optDirez(3)});
    // While a search runs the same button stops it.
    connect(ogComlin, &GestLista::ricercaCambiata, ComCerca, [this](bool inCorso) {
        ComCerca->setToolTip(inCorso ? QStringLiteral("Ferma la ricerca (Esc)") : QString());
    });
    ogLisPag->ColoreErrore(Globali::ColBackErrore);
    ogLisPag->ColoreNormale(Globali::ColBackNormale);
    ogComlin->ImpostaOpzione(0);
    ogComlin->ImpostaOpzione(1);
    ogComlin->ImpostaOpzione(2);
    ogLisPag->ImpostaImmagini(Globali::TipoToolbar);
    connect(dbgRiga->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &, const QModelIndex &prima) {
                dbgRiga_RowColChange(prima.row(), prima.column());
            });

    // The customer form loads this window inside its own load: its wait window stays.
    FinePreparaForm(this, 0, 0, 0, 0, -1, 0, -1, 0, 0);
}

void frmClientiLis::Form_Unload()
{
    InChiusura = 1;
    timVarie->stop();
    timResize->stop();
    // The rows go; the window and its managers stay for the next "Lista".
    if (ogComlin)
        ogComlin->ChiudiLista();
}

void frmClientiLis::closeEvent(QCloseEvent *ev)
{
    Form_Unload();
    ev->accept();
}

void frmClientiLis::showEvent(QShowEvent *ev)
{
    InChiusura = 0;
    QWidget::showEvent(ev);
}

// ---- SQL and columns ----

QVariant frmClientiLis::PrepSql(const QString &psWhere)
{
    QString sql = QStringLiteral("Select") + QStringLiteral(" Gruppo") + QStringLiteral(", Mastro") +
                  QStringLiteral(", Conto") + QStringLiteral(", Descrizione") + QStringLiteral(", PartIva") +
                  QStringLiteral(", CodFisc") + QStringLiteral(", Localita") + QStringLiteral(", Pr") +
                  QStringLiteral(", OperazRilev") + QStringLiteral(", DataAp") + QStringLiteral(", Zona") +
                  QStringLiteral(", Agente1") + QStringLiteral(", Tipo") + QStringLiteral(" from PianoConti");
    sql += QStringLiteral(" where ") + QString::fromLatin1(kSoloClienti);
    if (!psWhere.isEmpty())
        sql += QStringLiteral(" And (") + psWhere + QLatin1Char(')');
    if (!Globali::Util().ValoreVuoto(txt(30)->text()))
        sql += QStringLiteral(" order by Descrizione");
    else
        sql += QStringLiteral(" order by Gruppo, Mastro, Conto");
    m_sql = sql;
    return sql;
}

QVariant frmClientiLis::SettaRecordset(QString &psSql, const QVariant &pvFaiSql)
{
    // A SELECT that fails leaves the list on its rows, and on the SQL that read them.
    ogComlin->ApriSql(psSql, pvFaiSql);
    m_sql = psSql;
    RiempiColonneCerca();
    QString corrente, totale;
    ogComlin->PosizioneRighe(corrente, totale);
    const QString testo = corrente + QStringLiteral(" / ") + totale;
    if (txtRiga->text() != testo)
        txtRiga->setText(testo);
    return {};
}

// The search panel's columns: the visible ones, by caption.
void frmClientiLis::RiempiColonneCerca()
{
    QList<QPair<QString, int>> voci;
    for (int i = 0; i < ogComlin->NumeroColonne(); ++i) {
        const ColonnaLista c = ogComlin->Colonna(i);
        if (c.visibile)
            voci.append({c.didascalia, i});
    }
    bool uguali = voci.size() == CobCerca->count();
    for (int i = 0; uguali && i < voci.size(); ++i)
        uguali = CobCerca->itemText(i) == voci[i].first && CobCerca->itemData(i).toInt() == voci[i].second;
    if (uguali)
        return;
    const QString scelta = CobCerca->currentText();
    CobCerca->clear();
    for (const auto &[didascalia, i] : voci)
        CobCerca->addItem(didascalia, i);
    const int indice =
        CobCerca->findText(scelta.isEmpty() ? QStringLiteral("Ragione Sociale Contabile") : scelta);
    CobCerca->setCurrentIndex(std::max(0, indice));
}

QVariant frmClientiLis::VerSelez()
{
    const UtilGlob &u = Globali::Util();
    if (ogLisPag->SelezioneErrata())
        return false;
    if (u.ControllaIntervallo(txt(10)->text(), txt(20)->text(), UtilGlob::TipoTesto) == 1)
        return false;
    if (u.ControllaIntervallo(txt(60)->text(), txt(65)->text(), UtilGlob::TipoData) == 1)
        return false;
    return true;
}

QVariant frmClientiLis::ovField(int piColIndex, const QString &psProprieta)
{
    const Risultato::Colonna *c = ogComlin ? ogComlin->InfoCampo(piColIndex) : nullptr;
    if (!c)
        return {};
    const QString p = psProprieta.toLower();
    if (p == QLatin1String("type"))
        return tipoDao(*c);
    if (p == QLatin1String("name") || p == QLatin1String("sourcefield"))
        return c->nome;
    if (p == QLatin1String("sourcetable"))
        return c->tabella;
    if (p == QLatin1String("dataupdatable"))
        return false;
    if (p == QLatin1String("size"))
        return dimensioneDao(*c);
    if (p == QLatin1String("fieldsize"))
        return Globali::Util().DimensioneCampo(tipoDao(*c), dimensioneDao(*c));
    return {};
}

QVariant frmClientiLis::ColToSourceField(int piColIndex)
{
    if (ovField(piColIndex, QStringLiteral("Name")).toString() == QLatin1String("calcolo"))
        return QStringLiteral("valuta * [numero intero]");
    return ogComlin ? ogComlin->CampoColonna(piColIndex) : QString();
}

void frmClientiLis::PersColonne()
{
    const char *titoli[] = {"Gr",         "Ma",
                            "Cliente",    "Ragione Sociale Contabile",
                            "Part. Iva",  "Codice Fiscale",
                            "Località",   "Prov.",
                            "Spesometro", "Data Ap.",
                            "Zona",       "Agente",
                            "Tipo"};
    for (int i = 0; i < 13; ++i)
        ogComlin->TitoloColonna(i, QString::fromUtf8(titoli[i]));
    const struct {
        const char *titolo;
        int twips;
    } larghezze[] = {{"Gr", 300},          {"Ma", 300},
                     {"Cliente", 600},     {"Ragione Sociale Contabile", 3000},
                     {"Part. Iva", 1200},  {"Codice Fiscale", 2000},
                     {"Località", 2500},   {"Prov.", 500},
                     {"Spesometro", 1000}, {"Data Ap.", 1200}};
    for (const auto &l : larghezze)
        ogComlin->LarghezzaColonna(QString::fromUtf8(l.titolo), l.twips);
    ogComlin->OpzioneColonna(QStringLiteral("Zona"), 0, 0);
    ogComlin->OpzioneColonna(QStringLiteral("Agente"), 0, 0);
}

// ---- Callbacks ----

QString frmClientiLis::TestoRigaAssente(int riga, const QStringList &chiave)
{
    const QString nome = ogComlin ? ogComlin->TestoCella(riga, 3).trimmed() : QString();
    return QStringLiteral("Il cliente %1%2 non esiste più: un'altra postazione lo ha cancellato o gli ha "
                          "cambiato codice, e viene tolto dalla lista.")
        .arg(chiave.join(QLatin1Char('-')), nome.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(nome));
}

QVariant frmClientiLis::ListaKey()
{
    return ogLisPag ? ogLisPag->ChiaveLista() : QString();
}

void frmClientiLis::impOggBase(GestPagine *pgComPag)
{
    if (ogLisPag)
        ogLisPag->OggettoBase(pgComPag);
}

QVariant frmClientiLis::PersListaKey(QVariant &key)
{
    key = QString();
    return true;
}

void frmClientiLis::ovfrmBookmark(const QString &psBookmark)
{
    m_bookmark = psBookmark;
    if (QAction *vai = ogComlin ? ogComlin->Bottone(QStringLiteral("VaiA")) : nullptr)
        vai->setEnabled(!psBookmark.isEmpty());
}

void frmClientiLis::DatRefresh()
{
    ogComlin->AggiornaLista(true, QStringLiteral("M"), 0, QStringLiteral("dd/mm/yyyy"));
    PersColonne();
}

void frmClientiLis::ChiudiFrm()
{
    close();
}

void frmClientiLis::MenuFrm()
{
    AttivaMenu();
}

int frmClientiLis::oiStaAtt() const
{
    return Globali::StaAtt;
}

void frmClientiLis::ListaAvanti()
{
    if (ogLisPag)
        ogLisPag->Avanti();
}

void frmClientiLis::ListaIndietro()
{
    if (ogLisPag)
        ogLisPag->Indietro();
}

void frmClientiLis::MostraLista(const QString &condizione)
{
    if (ogLisPag)
        ogLisPag->MostraLista(condizione);
}

bool frmClientiLis::ComandoDisponibile(const QString &psKey) const
{
    return GestLista::Comandi().contains(psKey, Qt::CaseInsensitive) ||
           psKey.compare(QLatin1String("Cerca"), Qt::CaseInsensitive) == 0;
}

QWidget *frmClientiLis::CampoTesto(int indice, bool appo)
{
    return appo ? nullptr : txt.Trova(indice);
}
