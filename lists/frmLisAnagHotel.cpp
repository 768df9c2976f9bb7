// The hotel-guest pick list: its load, columns, buttons and unload.
#include "lists/frmLisAnagHotel.h"
#include "components/forms/UtilFinestre.h"

#include "components/db/RecDat.h"
#include "components/lista/ModelloLista.h"
#include "components/util/VbErrore.h"
#include "services/FormPrepara.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

frmLisAnagHotel::frmLisAnagHotel(QWidget *parent)
    : QWidget(parent, Qt::Window), m_modello(std::make_unique<ModelloLista>())
{
    setObjectName(QStringLiteral("frmLisAnagHotel"));
    setWindowTitle(QStringLiteral("Lista anagrafiche da Hotel"));
    resize(820, 480);
    auto *l = new QVBoxLayout(this);
    dbgRiga = new QTableView(this);
    dbgRiga->setObjectName(QStringLiteral("dbgRiga"));
    dbgRiga->setSelectionBehavior(QAbstractItemView::SelectRows);
    dbgRiga->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgRiga->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgRiga->setAlternatingRowColors(true);
    dbgRiga->verticalHeader()->hide();
    dbgRiga->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    dbgRiga->setModel(m_modello.get());
    l->addWidget(dbgRiga, 1);
    auto *bottoni = new QHBoxLayout;
    comOk = new QPushButton(QStringLiteral("&Seleziona"), this);
    comOk->setObjectName(QStringLiteral("comOk"));
    ComAnnulla = new QPushButton(QStringLiteral("&Annulla"), this);
    ComAnnulla->setObjectName(QStringLiteral("ComAnnulla"));
    bottoni->addStretch(1);
    bottoni->addWidget(comOk);
    bottoni->addWidget(ComAnnulla);
    l->addLayout(bottoni);
    connect(comOk, &QPushButton::clicked, this, &frmLisAnagHotel::comOk_Click);
    connect(ComAnnulla, &QPushButton::clicked, this, &frmLisAnagHotel::ComAnnulla_Click);
    connect(dbgRiga, &QTableView::doubleClicked, this, &frmLisAnagHotel::dbgRiga_DblClick);
}

frmLisAnagHotel::~frmLisAnagHotel()
{
    UtilFinestre::StaccaFinestra(this);
    dbgRiga->setModel(nullptr);
}

RecDat *frmLisAnagHotel::ogRecDat()
{
    if (!m_rec)
        m_rec = std::make_unique<RecDat>();
    return m_rec.get();
}

QString frmLisAnagHotel::SqlOspiti()
{
    return QStringLiteral("Select RAG1") + QStringLiteral(", RAG2") + QStringLiteral(", PARTIVA") +
           QStringLiteral(", INDIRIZZO") + QStringLiteral(", CAP") + QStringLiteral(", LOCALITA") +
           QStringLiteral(", PROVINCIA") + QStringLiteral(", PREFISSO") + QStringLiteral(", TELEFONO") +
           QStringLiteral(", TELEF2") + QStringLiteral(", FAX") +
           QStringLiteral(" from 0_ClientHotelArdeno order by Rag1");
}

bool frmLisAnagHotel::Form_Load()
{
    PreparaForm(this, 0, 0, 0, 0, 0, 0, 0, -1, 0, QString());
    obConferma = false;
    const QString sql = SqlOspiti();
    try {
        FinePreparaForm(this, 0, 0, 0, 0, 0, 0, -1, 0, 0);
        osRecDat = ogRecDat()->ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(), sql, false,
                                       RecDat::TipoSnapshot);
        m_modello->ImpostaRisultato(ogRecDat()->RecordsetDao(osRecDat));
        QCoreApplication::processEvents();
        colonne();
        if (m_modello->rowCount() > 0)
            dbgRiga->setCurrentIndex(m_modello->index(0, 0));
        return true;
    } catch (const VbErrore &e) {
        MsgErrfrm(e);
    } catch (const std::exception &e) {
        MsgErrfrm(0, QString::fromLocal8Bit(e.what()));
    }
    m_modello->Svuota();
    Form_Unload();
    return false;
}

void frmLisAnagHotel::colonne()
{
    const double fattore = odRisVidVal > 0 ? odRisVidVal : 1.0;
    const struct {
        const char *titolo;
        int twips;
    } visibili[] = {
        {"Ragione sociale 1", 3000}, {nullptr, 0}, {"Partita IVA", 1200}, {"Indirizzo", 2400}, {"CAP", 600},
        {"Località", 2400},          {"Prov", 400}};
    auto &c = m_modello->Colonne();
    for (int i = 0; i < int(c.size()); ++i) {
        const bool mostra = i < 7 && visibili[i].titolo;
        dbgRiga->setColumnHidden(i, !mostra);
        if (!mostra)
            continue;
        c[size_t(i)].didascalia = QString::fromUtf8(visibili[i].titolo);
        dbgRiga->setColumnWidth(i, ModelloLista::Pixel(visibili[i].twips * fattore, dbgRiga));
    }
    m_modello->AggiornaIntestazioni();
}

void frmLisAnagHotel::comOk_Click()
{
    // Nothing is confirmed without a current guest.
    const int riga = dbgRiga->currentIndex().isValid() ? dbgRiga->currentIndex().row() : -1;
    obConferma = false;
    if (riga >= 0 && m_rec && m_rec->Esiste(osRecDat)) {
        try {
            m_rec->ImpostaPosizione(osRecDat, riga);
            obConferma = true;
        } catch (const VbErrore &) {
            obConferma = false;
        }
    }
    close();
}

void frmLisAnagHotel::ComAnnulla_Click()
{
    obConferma = false;
    close();
}

void frmLisAnagHotel::dbgRiga_DblClick()
{
    comOk_Click();
}

void frmLisAnagHotel::closeEvent(QCloseEvent *ev)
{
    Form_Unload();
    ev->accept();
}

void frmLisAnagHotel::Form_Unload()
{
    if (m_scaricato)
        return;
    m_scaricato = true;
    hide();
    if (ofrmChiamante)
        ofrmChiamante->DopoLisAnag();
}
