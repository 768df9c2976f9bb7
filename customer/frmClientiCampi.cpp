// Field events of the customer form: the change notice to the page manager,
// entry into a field (status bar, selection, colours, entry values), and the
// function keys that open a code field's lookup and bring the choice back.
#include "customer/ScritturaProgramma.h"
#include "customer/TipiCampi.h"
#include "customer/frmClienti.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/ColoriVb.h"
#include "components/forms/UtilFinestre.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "services/Codici.h"
#include "services/Colori.h"
#include "services/Decodifica.h"
#include "services/Focus.h"
#include "services/Globali.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

void frmClienti::txt_Change(int Index)
{
    (void)Index;
    // Writes of the program itself (mirroring, decoding) are not the user's edits.
    if (m_comPag && !m_inSpecchio)
        m_comPag->CampoModificato();
}

void frmClienti::txt_GotFocus(int Index)
{
    SalGotFocus(Index);
    CampoAttuale = Index;
    QLineEdit *t = txt(Index);
    if (Index == 40) {
        DescrIngresso = t->text();
    } else if (Index == 4120) {
        ScritturaProgramma p(m_inSpecchio);
        t->setText(Globali::Util().FormattaValore(t->text(), QStringLiteral("Conto")));
        ColoriVb::ImpostaBackColor(t, Globali::ColBackNormale);
    }
    if (m_comPag)
        m_comPag->CampoEntrato(m_comPag->NomeCampoControllo(t));
    SelezionaTesto();
    ScriviPannello(QStringLiteral("DescrCampo"), t->toolTip());
    ColoraCampi(t, 0);
    t->setProperty("Tag", t->text());
}

void frmClienti::txt_KeyUp(int Index, int &KeyCode, int Shift)
{
    (void)Shift;
    using namespace CodiciTasto;
    if (KeyCode != F2 && KeyCode != F3 && KeyCode != F4 && KeyCode != F5 && KeyCode != F11 && KeyCode != F12)
        return;
    if (CampoAttuale != Index) {
        SalGotFocus(Index);
        CampoAttuale = Index;
    }
    QVariant risultato;
    bool scelto = false;
    int tasto = KeyCode;

    if (Index == 1030 || Index == 1160) {
        const int mappato = KeyCode == F2                                         ? F3
                            : (KeyCode == F3 || KeyCode == F11 || KeyCode == F12) ? F2
                                                                                  : KeyCode;
        DecodComune(Index, false, mappato);
        return;
    }
    if (Index == 20) {
        ApriHelpRicerca(risultato, QStringLiteral("Mastro"), txt(20), Lab(20), tasto, txt(10)->text(), scelto,
                        QString(), false,
                        QStringLiteral(" tipo = ") + Globali::Util().ValoreSql(QStringLiteral("3")));
        if (scelto) {
            txt(10)->setText(Aiuto().NuovaRicerca().RetVal(QStringLiteral("Gruppo")).toString());
            txt_LostFocus(10);
        }
        return;
    }
    if (Index == 30) {
        if (KeyCode == F2) {
            txt_LostFocus(30);
            TxtCodCli->setText(txt(10)->text() + txt(20)->text() + txt(30)->text());
        } else if (KeyCode == F3 || KeyCode == F11 || KeyCode == F12) {
            TxtCodCli->setText(txt(30)->text());
        }
        {
            // The lookup shows the chosen account's name in the name field: that
            // is the account about to be read, not an edit of the one shown.
            ScritturaProgramma p(m_inSpecchio);
            ApriHelpRicerca(risultato, QStringLiteral("Conto"), TxtCodCli, txt(40), tasto,
                            QStringLiteral("3"), scelto, QString(), false, QString());
        }
        if (!scelto) {
            UtilFinestre::ImpostaFocus(txt(30), true);
            return;
        }
        QString gruppo, mastro, conto;
        SpezzaConto(TxtCodCli->text(), gruppo, mastro, conto);
        {
            // The key of the account to read is no edit of the account shown.
            ScritturaProgramma p(m_inSpecchio);
            txt(10)->setText(gruppo);
            ColoriVb::ImpostaBackColor(txt(10), Globali::ColBackNormale);
            txt(20)->setText(mastro);
            ColoriVb::ImpostaBackColor(txt(20), Globali::ColBackNormale);
            txt(30)->setText(conto);
        }
        ButtonComando(QStringLiteral("Ricerca"));
        return;
    }
    if (Index == 4180 || Index == 5140) {
        const QVariantList contesto = {QStringLiteral("3"),
                                       txt(10)->text() + txt(20)->text() + txt(30)->text()};
        ApriHelpRicerca(risultato, QStringLiteral("IndSped"), txt(Index), Lab.Trova(Index), tasto, contesto,
                        scelto, QString(), false, QString());
        return;
    }
    TipoCampo r;
    if (!TipoCampoCodice(Index, r))
        return;
    ApriHelpRicerca(risultato, r.tipo, txt(Index), Lab.Trova(Index), tasto, r.contesto, scelto, QString(),
                    r.opzione, QString());
}

void frmClienti::AggAltriToolTipText()
{
    for (auto [i, c] : Che) {
        if (!Globali::Util().ValoreVuoto(c->toolTip()))
            continue;
        if (QLineEdit *t = txt.Trova(i))
            c->setToolTip(t->toolTip());
    }
}
