// The second half of leaving a field of the customer form: the code typed is
// decoded into its description, and some fields bring follow-up work (the
// account key formatted and split, a new country's VAT parameters, black-list
// mark and currency, a town decoded again when its province changes, an
// agent's commission, the discount chain evaluated, a natural person's name).
#include "customer/FormatiCampi.h"
#include "customer/ScritturaProgramma.h"
#include "customer/TipiCampi.h"
#include "customer/frmClienti.h"

#include "components/db/RecDat.h"
#include "components/forms/CodiciTasto.h"
#include "components/forms/ColoriVb.h"
#include "components/menu/ClienteMenu.h"
#include "components/pagine/GestPagine.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/Codici.h"
#include "services/Decodifica.h"
#include "services/Fiscale.h"
#include "services/Globali.h"
#include "services/Importi.h"
#include "services/MsgCom.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

void frmClienti::DecodificaCampo(int Index, bool Modificato)
{
    const UtilGlob &u = Globali::Util();
    QLineEdit *t = txt(Index);
    const QString chiave = txt(10)->text() + txt(20)->text() + txt(30)->text();
    switch (Index) {
    case 10:
    case 20: {
        const QString normale = Index == 10 ? NormalizzaCodice(t->text()) : NormalizzaCodice2(t->text());
        if (normale != t->text())
            t->setText(normale);
        DecodificaGruppoMastro(Index);
        break;
    }
    case 30: {
        // The key as one code in the account mask, split back into its parts;
        // the account's name is that of the account about to be read.
        ScritturaProgramma p(m_inSpecchio);
        TxtCodCli->setText(u.FormattaMaschera(chiave, QStringLiteral("Conto")));
        QString gruppo, mastro, conto;
        SpezzaConto(TxtCodCli->text(), gruppo, mastro, conto);
        if (conto != t->text())
            t->setText(conto);
        // An existing account brings its name; a code not found leaves the
        // name as typed. In a new record, an existing code whose reading the
        // user refused (a copy) does not bring its name over the copy's.
        if ((!m_comPag || m_comPag->StatoPagina() != GestPagine::StatoNuovo ||
             !m_comPag->LetturaRifiutata()) &&
            !NomeDaContoLetto(gruppo, mastro, conto))
            FiltroDecodifica(QStringLiteral("Conto"), TxtCodCli, txt(40), nullptr, true, true, QString(),
                             nullptr, QString(), false, false);
        break;
    }
    case 1030:
    case 1160:
        if (Modificato || ColoriVb::BackColor(t) == Globali::ColBackErrore)
            DecodComune(Index, true, CodiciTasto::F3);
        break;
    case 1040:
    case 1170:
        if (!u.ValoreVuoto(t->text()) && Modificato)
            DecodComune(Index - 10, true, CodiciTasto::F3);
        break;
    case 1050:
        DecodificaStato();
        break;
    case 4000: {
        FiltroDecodifica(QStringLiteral("Banca"), t, Lab(4000), nullptr, false, false,
                         QStringLiteral("Descrizione & iif(Agenzia is null,' ', '-' & Agenzia)") +
                             QStringLiteral("§: "));
        break;
    }
    case 4180:
    case 5140: {
        QVariant conto = chiave;
        FiltroDecodifica(QStringLiteral("IndSped"), t, Lab(Index), &conto);
        break;
    }
    case 5010: {
        int errore = 0;
        const double sconto = ValutaNumero(t->text(), &errore, 0, 6);
        Lab(5010)->setText(TestoNumero(sconto));
        ColoriVb::ImpostaBackColor(t, errore ? Globali::ColBackErrore : Globali::ColBackNormale);
        if (errore)
            ScriviPannello(QStringLiteral("Messaggio"),
                           QStringLiteral("Ci sono dei caratteri errati nello sconto"));
        break;
    }
    case 5150:
    case 5160: {
        QVariant provvigione = QStringLiteral("Provv");
        FiltroDecodifica(QStringLiteral("Agente"), t, Lab(Index), &provvigione);
        labProv(Index)->setText(TestoNumero(provvigione));
        break;
    }
    case 8040:
    case 8070: {
        // Only this country's own ISO label changes: the customer's country,
        // which the VAT check uses, is that of field 1050.
        QVariantList colonne{QStringLiteral("Iso"), QStringLiteral("LungPartIva"),
                             QStringLiteral("LungPartIva2"), QStringLiteral("CodTabStato")};
        FiltroDecodifica(QStringLiteral("Stato"), t, Lab(Index), nullptr, false, false, QString(), &colonne);
        const QString iso = colonne.value(0).toString();
        labIso(Index)->setText(iso.isEmpty() ? QString() : QStringLiteral("Iso: ") + iso);
        break;
    }
    default: {
        TipoCampo tipo;
        if (TipoCampoCodice(Index, tipo))
            FiltroDecodifica(tipo.tipo, t, Lab(Index), tipo.contesto.isValid() ? &tipo.contesto : nullptr);
        break;
    }
    }

    if (Index != 1135 && Index != 1137)
        return;
    // A surname or name typed into an empty field.
    if (u.ValoreVuoto(t->property("Tag").toString()) && !u.ValoreVuoto(t->text()) && mbCognomePersFisica) {
        txt(1120)->setText(QStringLiteral("F"));
        OptStatoGiu(1)->setChecked(true);
    }
    if (u.ValoreVuoto(txt(40)->text()) && !u.ValoreVuoto(txt(1135)->text()) &&
        !u.ValoreVuoto(txt(1137)->text())) {
        QString cognome = txt(1135)->text();
        while (cognome.endsWith(u' '))
            cognome.chop(1);
        txt(40)->setText(cognome + u' ' + txt(1137)->text());
    }
}

void frmClienti::DecodificaStato()
{
    const UtilGlob &u = Globali::Util();
    QLineEdit *stato = txt(1050);
    QVariantList colonne{QStringLiteral("Iso"), QStringLiteral("LungPartIva"), QStringLiteral("LungPartIva2"),
                         QStringLiteral("Moneta"), QStringLiteral("CodTabStato")};
    FiltroDecodifica(QStringLiteral("Stato"), stato, Lab(1050), nullptr, false, false, QString(), &colonne);
    msStatoIso = colonne.value(0).toString();
    labIso(1050)->setText(msStatoIso);
    miLungPartIva = int(u.ValoreNumerico(colonne.value(1)));
    miLungPartIva2 = int(u.ValoreNumerico(colonne.value(2)));
    msStatoCod = stato->text();
    if (stato->text() == StatoIngresso && ColoriVb::BackColor(stato) != Globali::ColBackErrore)
        return;

    // Black list of the common countries table.
    const QString codTabStato = colonne.value(4).toString();
    bool nera = false;
    if (!u.ValoreVuoto(codTabStato)) {
        QLabel codice(codTabStato);
        QVariantList lista{QStringLiteral("BlackList")};
        FiltroDecodifica2(QStringLiteral("StatoEle"), &codice, nullptr, nullptr, false, false, QString(),
                          &lista);
        nera = lista.value(0).toString().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    }
    LabBlackList->setVisible(nera);
    Che(1115)->setChecked(nera);

    // The VAT number checked again against the new country.
    QLineEdit *partitaIva = txt(1090);
    if (VerificaPartitaIvaUE(partitaIva->text(), msStatoCod, msStatoIso, miLungPartIva, miLungPartIva2) ==
        1) {
        const QString testo = QStringLiteral("Partita Iva Errata. La vuoi confermare?");
        ScriviPannello(QStringLiteral("Messaggio"), testo);
        ChiediConferma(partitaIva, testo);
    }

    // The country's currency, else the company's.
    const QString moneta = colonne.value(3).toString().trimmed();
    txt(4100)->setText(
        moneta.isEmpty() && Globali::MenuClient
            ? Globali::MenuClient->LeggiPar(QStringLiteral("Ditta.Moneta"), QString()).toString()
            : moneta);
    visDecodPagina(3, false);
    txt_LostFocus(4100);
    // The town beside a country abroad is no Italian municipality; back in
    // Italy it is decoded again.
    DescrizioneComune(1030);
    StatoIngresso = stato->text();
}

// On a record just read, the account's name is in the row read a moment ago
// by the same key: it is taken from there (as the decoding would write it,
// trimmed) instead of reading the same row again. Answers false, for the
// decoding to run, whenever the code shown is not the row's key.
bool frmClienti::NomeDaContoLetto(const QString &gruppo, const QString &mastro, const QString &conto)
{
    if (!m_contoAppenaLetto || !m_comPag || m_comPag->StatoPagina() != GestPagine::StatoRecord)
        return false;
    RecDat *rec = m_comPag->RecordsetPagina();
    const QString h = m_comPag->ChiaveRecordset();
    if (!rec || h.isEmpty())
        return false;
    try {
        const QStringList letta{rec->LeggiCampo(h, QStringLiteral("Gruppo")).toString(),
                                rec->LeggiCampo(h, QStringLiteral("Mastro")).toString(),
                                rec->LeggiCampo(h, QStringLiteral("Conto")).toString()};
        if (letta != QStringList{gruppo, mastro, conto})
            return false;
        const QString nome = rec->LeggiCampo(h, QStringLiteral("Descrizione")).toString().trimmed();
        if (txt(40)->text() != nome)
            txt(40)->setText(nome);
        return true;
    } catch (const VbErrore &) {
        return false;
    }
}
