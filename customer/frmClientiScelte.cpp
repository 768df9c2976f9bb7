// What the user does on check boxes, combos and option groups, turned into the
// code of the hidden field behind them; the clearing gestures; the reference
// type picker of the letters-of-intent grid.
#include "customer/TabelleSpecchio.h"
#include "customer/frmClienti.h"

#include "components/forms/CodiciTasto.h"
#include "components/forms/UtilFinestre.h"
#include "components/linee/GestLinee.h"
#include "components/pagine/GestPagine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableView>

namespace
{

int statoVb(const QCheckBox *c)
{
    switch (c->checkState()) {
    case Qt::Checked:
        return TabelleSpecchio::Spunta;
    case Qt::Unchecked:
        return TabelleSpecchio::Vuota;
    default:
        return TabelleSpecchio::Grigia;
    }
}

} // namespace

void frmClienti::Che_Click(int Index)
{
    if (QLineEdit *t = txt.Trova(Index))
        t->setText(TabelleSpecchio::CodiceDaStato(statoVb(Che(Index))));
}

void frmClienti::Che_GotFocus(int Index)
{
    ScriviPannello(QStringLiteral("DescrCampo"), Che(Index)->toolTip());
}

void frmClienti::Che_KeyUp(int Index, int &KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode != CodiciTasto::Delete || !m_comPag || m_comPag->StatoPagina() != GestPagine::StatoNuovo)
        return;
    Che(Index)->setCheckState(Qt::PartiallyChecked);
    txt(Index)->clear();
}

void frmClienti::Che_MouseDown(int Index, int Button)
{
    if (Button != 2)
        return;
    int tasto = CodiciTasto::Delete;
    Che_KeyUp(Index, tasto, 0);
}

void frmClienti::Combo_KeyDown(int Index, int &KeyCode, int Shift)
{
    if (KeyCode != CodiciTasto::Delete || Shift != 0)
        return;
    if (TabelleSpecchio::ComboEmail(Index)) {
        Combo(Index)->setCurrentIndex(0);
        txt(Index)->setText(QStringLiteral("0"));
    } else {
        Combo(Index)->setCurrentIndex(-1);
        txt(Index)->clear();
    }
    KeyCode = 0;
}

void frmClienti::Combo_LostFocus(int Index)
{
    const TabelleSpecchio::ComboCodici *c = TabelleSpecchio::ComboIndice(Index);
    if (!c)
        return;
    QComboBox *cb = Combo(Index);
    const int pos = cb->currentIndex();
    if (c->modo == TabelleSpecchio::ModoCombo::Numero || c->modo == TabelleSpecchio::ModoCombo::Livelli) {
        txt(Index)->setText(TabelleSpecchio::CodiceDaPosizione(*c, pos));
        return;
    }
    const int valore = pos < 0 ? -1 : cb->itemData(pos).toInt();
    const QString codice = TabelleSpecchio::CodiceDaPosizione(*c, valore);
    txt(Index)->setText(codice);
    if (Index == 4200)
        ImpostaDipendentiRif(codice, true);
}

void frmClienti::OptStatoGiu_Click(int Index)
{
    txt(1120)->setText(TabelleSpecchio::CodiceDaOpzione(TabelleSpecchio::Gruppo::StatoGiuridico, Index));
    AbilDisabPersFis();
}

void frmClienti::OptSesso_Click(int Index)
{
    txt(1130)->setText(TabelleSpecchio::CodiceDaOpzione(TabelleSpecchio::Gruppo::Sesso, Index));
}

void frmClienti::OptFEAllegPdf_Click(int Index)
{
    txt(5197)->setText(TabelleSpecchio::CodiceDaOpzione(TabelleSpecchio::Gruppo::AllegaPdf, Index));
}

void frmClienti::Opt_KeyUp(ControlArray<QRadioButton> &gruppo, int &KeyCode)
{
    if (KeyCode != CodiciTasto::Delete || !m_comPag || m_comPag->StatoPagina() != GestPagine::StatoNuovo)
        return;
    PulisciGruppo(gruppo);
    const int campo = &gruppo == &OptStatoGiu ? 1120 : &gruppo == &OptSesso ? 1130 : 5197;
    txt(campo)->clear();
}

void frmClienti::Opt_MouseDown(ControlArray<QRadioButton> &gruppo, int Button)
{
    if (Button != 2)
        return;
    int tasto = CodiciTasto::Delete;
    Opt_KeyUp(gruppo, tasto);
}

void frmClienti::LisTipoRif_Click()
{
    const int riga = LisTipoRif->currentRow();
    if (riga >= 0)
        GestLin(1)->ImpostaValoreCella(QStringLiteral("RifComunicIntenti"), QString::number(riga + 1));
    LisTipoRif->hide();
    UtilFinestre::ImpostaFocus(dbgRiga(1), true);
}

void frmClienti::LisTipoRif_LostFocus()
{
    LisTipoRif->hide();
}
