// The municipality of the customer's address and of the birth place: looked
// up in the municipalities table (within the province typed, when there is
// one), written back with its official name, its cadastral code shown, the
// province and postcode filled from the row found. Addresses abroad are left
// as typed, with no municipality's description or code beside them.
#include "customer/frmClienti.h"

#include "components/aiuto/AiutoDecod.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/ColoriVb.h"
#include "components/util/UtilGlob.h"
#include "services/Decodifica.h"
#include "services/Globali.h"

#include <QLabel>
#include <QLineEdit>

void frmClienti::DecodComune(int piIndex, bool pbdecod, int pvKeyCode)
{
    if (piIndex != 1030 && piIndex != 1160)
        return;
    QLineEdit *comune = txt(piIndex);
    QLineEdit *provincia = txt(piIndex + 10);
    QLineEdit *cap = txt(piIndex == 1030 ? 1020 : 1150);
    QLabel *descrizione = Lab(piIndex);
    QLabel *catastale = Lab(piIndex + 2);
    const UtilGlob &u = Globali::Util();

    if (u.ValoreVuoto(comune->text()) && pbdecod) {
        descrizione->clear();
        catastale->clear();
        ColoriVb::ImpostaBackColor(comune, Globali::ColBackNormale);
        return;
    }
    if (ComuneEstero(piIndex)) {
        descrizione->clear();
        catastale->clear();
        ColoriVb::ImpostaBackColor(comune, Globali::ColBackNormale);
        return;
    }
    const QString pr = provincia->text().trimmed();
    const QString condizione = pr.isEmpty() ? QString() : QStringLiteral("SiglaProv=") + u.ValoreSql(pr);
    int tasto = pvKeyCode;
    if (tasto == CodiciTasto::F4 && UtilGlob::SoloCifre(comune->text().trimmed()))
        tasto = CodiciTasto::F5;

    QVariant risultato;
    bool trovato = false;
    ApriHelpRicerca(risultato, QStringLiteral("ComuniCod"), comune, descrizione, tasto, QVariant(), trovato,
                    QString(), false, condizione);
    if (!trovato) {
        if (pbdecod)
            descrizione->clear();
        catastale->clear();
        if (piIndex == 1030 && !u.ValoreVuoto(comune->text()))
            ColoriVb::ImpostaBackColor(comune, Globali::ColBackErrore);
        return;
    }
    const RicercaAiuto &riga = Aiuto().NuovaRicerca();
    if (comune->text().compare(descrizione->text(), Qt::CaseInsensitive) != 0)
        comune->setText(descrizione->text());
    catastale->setText(riga.RetVal(QStringLiteral("CodErariale")).toString());
    if (u.ValoreVuoto(provincia->text()))
        provincia->setText(riga.RetVal(QStringLiteral("SiglaProv")).toString());
    const QString capTrovato = riga.RetVal(QStringLiteral("CAP")).toString();
    if (!u.ValoreVuoto(capTrovato))
        cap->setText(capTrovato);
    ColoriVb::ImpostaBackColor(comune, Globali::ColBackNormale);
    comune->setProperty("Tag", comune->text());
}

bool frmClienti::ComuneEstero(int piIndex)
{
    const QString pr = txt(piIndex + 10)->text().trimmed();
    if (pr.compare(QLatin1String("EE"), Qt::CaseInsensitive) == 0 || pr == QLatin1String("99"))
        return true;
    // The customer's country places the address, not the place of birth: a
    // customer living abroad may be born in an Italian town, whose cadastral
    // code the fiscal code needs.
    if (piIndex != 1030)
        return false;
    const QString iso = labIso(1050)->text().trimmed();
    return !iso.isEmpty() && iso.compare(QLatin1String("IT"), Qt::CaseInsensitive) != 0;
}

void frmClienti::DescrizioneComune(int piIndex)
{
    QLabel *descrizione = Lab(piIndex);
    QLabel *catastale = Lab(piIndex + 2);
    if (ComuneEstero(piIndex)) {
        descrizione->clear();
        catastale->clear();
        return;
    }
    QVariantList colonne{QStringLiteral("CodErariale")};
    // Within the province shown, an empty one too: of two towns of the same
    // name, the record's province says which one is meant.
    const QString filtro =
        QStringLiteral("SiglaProv=") + Globali::Util().ValoreSql(txt(piIndex + 10)->text());
    // As decoded for an earlier record, while the change counter stays still.
    const QString chiave = QStringLiteral("Comune|") + txt(piIndex)->text() + QLatin1Char('|') + filtro;
    MemoriaDecodifiche::Lettura letta;
    if (const std::optional<QVariantList> v = m_memoria.Cerca(chiave, letta)) {
        descrizione->setText(v->value(0).toString());
        catastale->setText(v->value(1).toString());
        return;
    }
    const bool trovato = FiltroDecodifica(QStringLiteral("Comuni"), txt(piIndex), descrizione, nullptr, true,
                                          true, QString(), &colonne, filtro, false, false)
                             .toBool();
    catastale->setText(trovato ? colonne.value(0).toString() : QString());
    m_memoria.Ricorda(chiave, {descrizione->text(), catastale->text()}, letta);
}
