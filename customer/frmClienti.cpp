// The customer form's load, launch contract, commands and unload: personal
// settings and host parameters, the page manager's set-up with the field
// catalogue, and the orderly close that hands the launch keys back.
#include "customer/frmClienti.h"
#include "components/forms/UtilFinestre.h"

#include "customer/CatalogoClienti.h"
#include "customer/TabelleSpecchio.h"

#include "components/db/RecDat.h"
#include "components/forms/ColoriVb.h"
#include "components/linee/GestLinee.h"
#include "components/lista/GestLista.h"
#include "components/menu/ClienteMenu.h"
#include "components/pagine/GestPagine.h"
#include "components/util/ContestoPrg.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/DatiComuni.h"
#include "services/FormPrepara.h"
#include "services/Globali.h"
#include "services/MsgCom.h"
#include "services/Parametri.h"
#include "services/UtilPrg.h"

#include "lists/frmClientiLis.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace
{

QString host(const QString &nome)
{
    if (!Globali::MenuClient)
        return {};
    return Globali::MenuClient->LeggiPar(nome, QString()).toString();
}

QString personale(const QString &chiave, const QVariant &predefinito)
{
    return LeggiParPersonale(QStringLiteral("Clienti"), chiave, predefinito).toString();
}

} // namespace

frmClienti::frmClienti(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmClienti"));
    PagLin.fill(-1);
    CreaControlli();
    CollegaEventi();
    CreaControlliCampi();
}

frmClienti::~frmClienti()
{
    UtilFinestre::StaccaFinestra(this);
    delete m_finestraLista.data();
    if (m_lisAnag) {
        m_lisAnag->ofrmChiamante = nullptr;
        delete m_lisAnag.data();
    }
    for (auto &g : m_gestLin)
        delete g.data();
    delete m_comPag.data();
}

GestPagine *frmClienti::ogComPag()
{
    if (!m_comPag)
        m_comPag = new GestPagine(this);
    return m_comPag;
}

QVariant frmClienti::oiLoadOk() const
{
    return QVariant(m_loadOk);
}

int frmClienti::oiNumKey(int Index) const
{
    if (Index < 0 || Index > 1)
        throw VbErrore(9, QStringLiteral("Indice non compreso nell'intervallo"));
    return m_numKey[size_t(Index)];
}

void frmClienti::oiNumKey(int Index, int valore)
{
    if (Index < 0 || Index > 1)
        throw VbErrore(9, QStringLiteral("Indice non compreso nell'intervallo"));
    m_numKey[size_t(Index)] = valore;
}

void frmClienti::ParGestore(int gestore, const QString &nome, const QVariant &valore)
{
    if (!(gestore & GestorePagine))
        return;
    if (nome.compare(QLatin1String("AbilRW"), Qt::CaseInsensitive) == 0)
        ogComPag()->oiAbilRW(valore.toInt());
    else
        ogComPag()->ScriviParPagina(nome, 12, valore);
}

QWidget *frmClienti::CampoTesto(int indice, bool appo)
{
    return appo ? nullptr : txt.Trova(indice);
}

void frmClienti::ScriviPannello(const QString &chiave, const QString &testo)
{
    if (chiave.compare(QLatin1String("DescrCampo"), Qt::CaseInsensitive) == 0)
        m_pannelloDescr->setText(testo);
    else if (chiave.compare(QLatin1String("Messaggio"), Qt::CaseInsensitive) == 0)
        m_pannelloMsg->setText(testo);
}

QString frmClienti::Pannello(const QString &chiave) const
{
    if (chiave.compare(QLatin1String("DescrCampo"), Qt::CaseInsensitive) == 0)
        return m_pannelloDescr->text();
    if (chiave.compare(QLatin1String("Messaggio"), Qt::CaseInsensitive) == 0)
        return m_pannelloMsg->text();
    return {};
}

int frmClienti::PaginaCorrente() const
{
    return TabSelezionato() - 1;
}

void frmClienti::Form_Load()
{
    setProperty("HelpContextID", 500);
    const int aiuti[] = {505, 510, 515, 520, 525, 526, -1, 527, 528, 529, 530};
    for (int p = 0; p <= 10; ++p)
        if (aiuti[p] > 0)
            PicPagine(p)->setProperty("HelpContextID", aiuti[p]);

    CaptionIniziale = windowTitle();
    try {
        PicEvid(0)->show();
        m_loadOk = -1;
        IndCtlPend = -1;
        CampoAttuale = -1;
        oiInDett = 0;

        ComHotel->setVisible(personale(QStringLiteral("ListaAnagHotel"), QStringLiteral("N"))
                                 .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0);

        CatalogoClienti::Condizioni condizioni;
        const auto &chiaviPers = CatalogoClienti::ChiaviDescrizioniPers();
        for (size_t i = 0; i < chiaviPers.size(); ++i)
            condizioni.descrizioniPers[i] = personale(QString::fromLatin1(chiaviPers[i]), QString());

        ColoreLabel7010 = ColoriVb::BackColor(Label1(7010));

        const char *chiaviEmail[] = {"DescEmailPri", "DescEmailAmm", "DescEmailComm", "DescEmailSped"};
        for (int i = 0; i < 4; ++i) {
            QLabel *l = Label1(1080 + i);
            QString t = personale(QString::fromLatin1(chiaviEmail[i]), l->text());
            if (!t.endsWith(QLatin1Char(':')))
                t += QLatin1Char(':');
            l->setText(t);
        }

        QualeEmail(QStringLiteral("StFatture"), 1, QStringLiteral("2"));
        QualeEmail(QStringLiteral("StDdt"), 2, QStringLiteral("3"));
        QualeEmail(QStringLiteral("StOrdini"), 3, QStringLiteral("3"));
        QualeEmail(QStringLiteral("StAltro"), 4, QStringLiteral("1"));
        QualeEmail(QStringLiteral("StFatture"), 5, QStringLiteral("2"));

        for (int i = 1; i <= 5; ++i) {
            QComboBox *c = Combo(1084 + i);
            const QString predef = Label1(1079 + EmailDocPredef[size_t(i)])->text().chopped(1);
            c->setItemText(0, QStringLiteral("Scelta predefinita - ") + predef);
            for (int k = 1; k <= 4; ++k)
                c->setItemText(k, Label1(1079 + k)->text().chopped(1));
        }

        InizAbilLin();
        PreparaForm(this, -1, 0, 0, 0, 0, 0, -1, 0, -1, QString());
        m_solaLettura = oiAbilRW() == 0;

        PagLin.fill(-1);
        PagLin[0] = 7;
        PagLin[1] = 9;
        InizGestComlin();
        ChiusuraForm = false;

        GestPagine *pag = ogComPag();
        pag->ImpostaMessaggi([](const QString &testo, const QStringList &pulsanti, int predefinito) {
            return msgCom(testo, pulsanti.value(0), pulsanti.value(1), pulsanti.value(2), {}, 80, false, 600,
                          0, predefinito);
        });
        pag->TabellaPrincipale(QStringLiteral("Pianoconti"));
        pag->ImpostaModoAvvio(0);
        for (int op : {16, 5, 8, 0, 17, 4, 12})
            pag->AbilitaCallback(op, true);

        CodStatoDef = personale(QStringLiteral("CodStatoDef"), QString());
        mbCognomePersFisica = personale(QStringLiteral("CognomePersFisica"), QStringLiteral("N"))
                                  .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
        condizioni.colonnaCognome = EsisteCampo(QStringLiteral("Pianoconti"), QStringLiteral("Cognome"));
        condizioni.colonnaLivelliXml =
            EsisteCampo(QStringLiteral("Pianoconti"), QStringLiteral("FENoStampaLivelli"));
        condizioni.gesTaglie = false;
        condizioni.colonnaOpposizione =
            EsisteCampo(QStringLiteral("Pianoconti"), QStringLiteral("flagOpposizione"));
        if (condizioni.colonnaLivelliXml)
            condizioni.gesTaglie =
                host(QStringLiteral("Mag.GesTaglie")).compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
        const QList<const CatalogoClienti::Voce *> voci = CatalogoClienti::VociDaRegistrare(condizioni);
        for (const CatalogoClienti::Voce *v : voci) {
            QVariant predef;
            switch (v->origine) {
            case CatalogoClienti::Origine::Nessuna:
                break;
            case CatalogoClienti::Origine::Costante:
                predef = QString::fromLatin1(v->costante);
                break;
            case CatalogoClienti::Origine::HostGruppo:
                predef = host(QStringLiteral("CauCon.GruppoClienti"));
                break;
            case CatalogoClienti::Origine::HostMastro:
                predef = host(QStringLiteral("CauCon.MastroClienti"));
                break;
            case CatalogoClienti::Origine::DataLavoro:
                predef = Globali::DataMenu.isValid()
                             ? Globali::DataMenu.toString(QStringLiteral("dd/MM/yyyy"))
                             : QString();
                break;
            case CatalogoClienti::Origine::StatoPredef:
                predef = CodStatoDef;
                break;
            case CatalogoClienti::Origine::HostMoneta:
                predef = host(QStringLiteral("Ditta.Moneta"));
                break;
            case CatalogoClienti::Origine::HostRitAcconto: {
                const QString r = host(QStringLiteral("Ditta.PercRitAccCli"));
                predef = r.trimmed().isEmpty()
                             ? QString()
                             : Globali::Util().FormattaMaschera(r, QStringLiteral("#,###.^^"));
                break;
            }
            }
            QVariant didascalia;
            if (v->didascalia)
                didascalia = QString::fromUtf8(v->didascalia);
            else if (v->etichettaEmail)
                didascalia = QStringLiteral("EMail ") + Label1(v->etichettaEmail)->text();
            pag->RegistraCampo(QString::fromLatin1(v->campo), txt(v->indice),
                               CatalogoClienti::Opzioni(*v, predef, didascalia));
            if (v->condizione == CatalogoClienti::Condizione::DescrizionePers) {
                for (size_t i = 0; i < chiaviPers.size(); ++i)
                    if (qstrcmp(chiaviPers[i], v->chiavePers) == 0)
                        Label1(v->indice)->setText(condizioni.descrizioniPers[i]);
                Label1(v->indice)->show();
                txt(v->indice)->show();
            }
        }
        if (!(condizioni.colonnaLivelliXml && condizioni.gesTaglie)) {
            Label1(5192)->hide();
            Combo(5192)->hide();
        }
        if (!condizioni.colonnaCognome)
            for (int i : {1135, 1137}) {
                Label1(i)->hide();
                txt(i)->hide();
            }
        if (!condizioni.colonnaOpposizione)
            Che(5210)->hide();

        if (!Globali::PonteMenu)
            Globali::PonteMenu = new ContestoPrg(nullptr, Globali::MenuClient, Globali::DbComp(),
                                                 Globali::DbAzienda, Globali::PathIni);
        pag->ImpostaContesto(Globali::PonteMenu);
        pag->ImpostaControlloChiave(txt(30));

        PrimoCampo();

        pag->ImpostaAree(picTest, picDett, {PicNoRic(0), PicNoRic(1)});
        pag->ImpostaColori(Globali::ColForeNormale, Globali::ColForeDisabil, Globali::ColBackErrore,
                           Globali::ColBackNormale);
        pag->ImpostaParametri(QStringLiteral("22"), 1, QString(), QString());
        pag->ScriviParPagina(QStringLiteral("AbilToolTipText"), 12, QStringLiteral("S"));
        // Named so in the message of a save refused while another desk holds the row.
        pag->ScriviParPagina(QStringLiteral("NomeRecord"), 12, QStringLiteral("Il cliente"));
        // A customer is named by its code and its accounting name; a code
        // taken meanwhile is replaced with the button that makes one.
        pag->ScriviParPagina(QStringLiteral("CampoNome"), 12, QStringLiteral("Descrizione"));
        pag->ScriviParPagina(QStringLiteral("ComandoNuovoCodice"), 12, ComCreaKey->text());

        // The customer list window: a window of its own (not a child, so that
        // its fields and keys never count as this form's), owned by this form
        // and loaded before the page manager takes it over.
        auto *lista = new ::frmClientiLis();
        m_finestraLista = lista;
        lista->osKeySec = osKeySec();
        lista->Form_Load();
        frmClientiLis = lista;
        pag->Inizializza(this, Globali::DbComp(), Globali::DbAzienda, frmClientiLis);

        AggAltriToolTipText();
        {
            GestPagine::BloccoModifiche blocco(*pag);
            txt(35)->setText(QStringLiteral("3"));
        }
        pag->ImpostaDopoSalvataggio(0);
        pag->ImpostaToolbar(Globali::TipoToolbar, tolComPag);

        for (int i = 0; i < 5; ++i) {
            const int indice = 3000 + 10 * i;
            const QString didascalia = host(QStringLiteral("pdcCla.") + QString::number(i + 1));
            Label1(indice)->setText(didascalia);
            const bool visibile = !didascalia.isEmpty();
            Label1(indice)->setVisible(visibile);
            txt(indice)->setVisible(visibile);
            ComHlp(indice)->setVisible(visibile);
            Lab(indice)->setVisible(visibile);
        }

        {
            GestPagine::BloccoModifiche blocco(*pag);
            txt(10)->setText(host(QStringLiteral("CauCon.GruppoClienti")));
            txt_LostFocus(10);
            txt(20)->setText(host(QStringLiteral("CauCon.MastroClienti")));
            txt_LostFocus(20);
        }

        FinePreparaForm(this, -1, 0, 0, 0, 0, 0, 0, -1);
        SistemaPagina(0);
        m_loadOk = 1;
    } catch (const VbErrore &e) {
        MsgErroreApertura(e.numero(), e.descrizione(), CaptionIniziale + QStringLiteral("\r\n"), QString());
        CaricaNonRiuscito();
    } catch (const std::exception &e) {
        MsgErroreApertura(0, QString::fromLocal8Bit(e.what()), CaptionIniziale + QStringLiteral("\r\n"),
                          QString());
        CaricaNonRiuscito();
    }
}

void frmClienti::CaricaNonRiuscito()
{
    Globali::ChiusuraInCorso = -1;
    m_loadOk = -1;
}

void frmClienti::PrimoCampo()
{
    int n = int(Globali::Util().ValoreNumerico(
        LeggiParIni(QStringLiteral("Configurazioni"), QStringLiteral("ClientiPrimo"), QStringLiteral("0"))));
    if (n == 0)
        n = int(Globali::Util().ValoreNumerico(personale(QStringLiteral("PrimoCampo"), 0)));
    QWidget *primo = nullptr;
    if (n > 0)
        for (QObject *o : findChildren<QLineEdit *>()) {
            if (!txt.Contiene(o))
                continue;
            if (o->property("TabIndex").toInt() == n) {
                primo = static_cast<QWidget *>(o);
                break;
            }
        }
    ogComPag()->ImpostaPrimoControllo(primo ? primo : txt(40));
}

void frmClienti::ButtonComando(const QString &psKey)
{
    if (PagConLin && !VerModLin(LinAttuale).toBool())
        return;
    QWidget *attivo = focusWidget();
    NomeCtlPend = NomeControllo(attivo);
    if (NomeCtlPend.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0 && txt.Contiene(attivo)) {
        const int i = IndiceControllo(attivo);
        ControlloFallito = false;
        txt_LostFocus(i);
        // The check failed and said why (a lost server, say): the command
        // would only fail again, or save a value nobody checked. Leaving the
        // form stays possible.
        const QString k = psKey.trimmed().toLower();
        if (ControlloFallito && k != QLatin1String("chiudi") && k != QLatin1String("menu")) {
            ControlloFallito = false;
            NomeCtlPend.clear();
            return;
        }
        IndCtlPend = i;
    } else if (txtAppo.Contiene(attivo)) {
        // The IBAN typed reaches its field before the command runs.
        const int i = IndiceControllo(attivo);
        txtAppo_LostFocus(i);
        IndCtlPend = i;
    } else if (NomeCtlPend.compare(QLatin1String("combo"), Qt::CaseInsensitive) == 0) {
        const int i = IndiceControllo(attivo);
        if (i >= 0)
            Combo_LostFocus(i);
        IndCtlPend = i;
    } else {
        IndCtlPend = -1;
    }
    ogComPag()->EseguiComando(psKey);
    if (!ChiusuraForm)
        timComPag->start();
}

void frmClienti::ChiudiFrm()
{
    close();
}

void frmClienti::MenuFrm()
{
    AttivaMenu();
}

void frmClienti::PassaA()
{
    if (Globali::MenuClient)
        Globali::MenuClient->PassaAProgramma(QStringLiteral("Clienti"), QStringLiteral("frmClienti"),
                                             osKeySec());
}

void frmClienti::closeEvent(QCloseEvent *ev)
{
    // The unload may ask about the changes or refuse while a print runs.
    UtilFinestre::GuardiaChiusura inCorso(this);
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel)
        ev->ignore();
    else
        ev->accept();
}

void frmClienti::Form_Unload(int &Cancel)
{
    if (ChiusuraForm)
        return;
    // A print of the list runs inside the preview's event loop: the list,
    // which this form owns, must outlive it.
    // So does a print of one of its grids.
    auto *lista = qobject_cast<::frmClientiLis *>(m_finestraLista.data());
    if ((lista && lista->ogComlin && lista->ogComlin->InStampa()) ||
        (m_gestLin[0] && m_gestLin[0]->InStampa()) || (m_gestLin[1] && m_gestLin[1]->InStampa())) {
        msgCom(QStringLiteral("Stampa della lista in corso: terminarla prima di chiudere la scheda."));
        Cancel = -1;
        return;
    }
    if (m_loadOk == 1 && m_comPag)
        Cancel = m_comPag->PuoChiudere() ? 0 : -1;
    if (!Cancel && PagConLin && LinAttuale >= 0 && LinAttuale <= 1) {
        if (!GestLin(LinAttuale)->PuoChiudere()) {
            Cancel = -1;
            return;
        }
    }
    if (Cancel)
        return;
    if (!RsProgressivi.isEmpty() && m_rsForm) {
        try {
            m_rsForm->ChiudiRec(RsProgressivi);
        } catch (const VbErrore &) {
        }
        RsProgressivi.clear();
    }
    frmClientiLis = nullptr;
    if (m_finestraLista) {
        m_finestraLista->close();
        m_finestraLista->deleteLater();
        m_finestraLista = nullptr;
    }
    if (m_lisAnag) {
        m_lisAnag->ofrmChiamante = nullptr;
        m_lisAnag->close();
        m_lisAnag->deleteLater();
        m_lisAnag = nullptr;
    }
    ChiusuraForm = true;
    if (m_loadOk == 1)
        RitornaAlChiamante(this, -1);
    RilasciaGestori();
}

void frmClienti::RilasciaGestori()
{
    // The close usually arrives from inside a call of these managers (the
    // "Chiudi" command of the page toolbar, of a grid, Alt+H): they go once
    // that call has returned, and each grid's rows go with their grid.
    for (size_t g = 0; g < m_gestLin.size(); ++g) {
        GestLinee *lin = m_gestLin[g];
        if (!lin) {
            RecLin[g].reset();
            continue;
        }
        connect(lin, &QObject::destroyed, this, [this, g] { RecLin[g].reset(); });
        lin->deleteLater();
    }
    if (m_comPag)
        m_comPag->deleteLater();
}
