// Mirroring: the stored codes of the hidden fields shown on the check boxes,
// option groups and combos that stand in front of them, and the fields that
// depend on a letter of intent's reference type.
#include "customer/ScritturaProgramma.h"
#include "customer/TabelleSpecchio.h"
#include "customer/frmClienti.h"

#include "components/pagine/GestPagine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace
{

Qt::CheckState statoQt(int stato)
{
    return stato == TabelleSpecchio::Spunta  ? Qt::Checked
           : stato == TabelleSpecchio::Vuota ? Qt::Unchecked
                                             : Qt::PartiallyChecked;
}

} // namespace

void frmClienti::ScriviCodice(int Index, const QString &codice)
{
    ScritturaProgramma p(m_inSpecchio);
    txt(Index)->setText(codice);
}

void frmClienti::PulisciGruppo(ControlArray<QRadioButton> &gruppo)
{
    for (auto [i, o] : gruppo) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
}

void frmClienti::ImpostaDipendentiRif(const QString &codice, bool daUtente)
{
    (void)daUtente;
    if (codice == QLatin1String("1") || codice == QLatin1String("2")) {
        txt(4205)->setEnabled(true);
        txt(4210)->setEnabled(false);
        txt(4215)->setEnabled(false);
        txt(4210)->clear();
        txt(4215)->clear();
    } else if (codice == QLatin1String("3")) {
        txt(4205)->setEnabled(false);
        txt(4205)->clear();
        txt(4210)->setEnabled(true);
        txt(4215)->setEnabled(true);
    } else {
        // No reference type: all three open, nothing emptied, whatever the
        // record shown before had.
        for (int i : {4205, 4210, 4215})
            txt(i)->setEnabled(true);
    }
}

void frmClienti::AggNonText()
{
    ScritturaProgramma p(m_inSpecchio);
    using namespace TabelleSpecchio;
    const auto &caselle = Caselle();
    // A box already in its state is left alone: setCheckState repaints it
    // even when nothing changes, and this runs on every record read.
    auto casella = [this](const Casella &c) {
        if (QCheckBox *ch = Che.Trova(c.indice)) {
            const Qt::CheckState stato = statoQt(StatoDaCodice(c, txt(c.indice)->text()));
            if (ch->checkState() != stato)
                ch->setCheckState(stato);
        }
    };
    for (size_t k = 0; k + 1 < caselle.size(); ++k)
        casella(caselle[k]);

    auto gruppo = [this](ControlArray<QRadioButton> &opt, Gruppo g) {
        const int o = OpzioneDaCodice(g, txt(Opzioni(g).indice)->text());
        if (o < 0)
            PulisciGruppo(opt);
        else
            opt(o)->setChecked(true);
    };
    gruppo(OptStatoGiu, Gruppo::StatoGiuridico);
    gruppo(OptSesso, Gruppo::Sesso);

    for (const ComboCodici &c : TabelleSpecchio::Combo()) {
        if (ComboEmail(c.indice))
            continue;
        const int pos = PosizioneDaCodice(c, txt(c.indice)->text());
        this->Combo(c.indice)->setCurrentIndex(pos);
        if (c.indice == 4200)
            ImpostaDipendentiRif(c.codici.value(pos), false);
    }

    casella(caselle.back());

    for (int i = PrimaEmail; i <= UltimaEmail; ++i)
        Combo(i)->setCurrentIndex(PosizioneDaCodice(*ComboIndice(i), txt(i)->text()));

    gruppo(OptFEAllegPdf, Gruppo::AllegaPdf);
}
