// Footer engine: its links to the outside components (the SELECTs of the
// company database, host and personal parameters, the expense lists).
#include "totals/scCalcPiedeFat.h"

#include "totals/LetturePiede.h"

#include "components/db/DbMotore.h"
#include "components/db/Risultato.h"
#include "components/menu/ClienteMenu.h"
#include "components/util/ListaValori.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/Parametri.h"

SelezionePronta &scCalcPiedeFat::Apri(Lettura &l, const QString &chiave,
                                      const std::function<QString()> &testo, const QVariantList &valori,
                                      const std::function<void(SelezionePronta &)> &colonne)
{
    DbMotore *db = Globali::DbComp();
    if (!l.sel || l.chiave.isEmpty() || l.chiave != chiave || l.db != db || l.conn != Globali::DbAzienda) {
        l.sel.reset();
        l.sel = std::make_unique<SelezionePronta>(db, Globali::DbAzienda, testo());
        l.db = db;
        l.conn = Globali::DbAzienda;
        colonne(*l.sel);
        // The text serves later documents when this document's literals are
        // the first ones it compares against (they are, unless a number was
        // written with a sign); otherwise the next document prepares again.
        const QVariantList &letti = l.sel->ValoriTesto();
        bool adatto = letti.size() >= valori.size();
        for (int i = 0; adatto && i < valori.size(); ++i)
            adatto = letti[i].typeId() == valori[i].typeId() && letti[i] == valori[i];
        l.chiave = adatto ? chiave : QString();
        if (!adatto) {
            l.sel->Esegui(letti);
            return *l.sel;
        }
    }
    QVariantList tutti = valori;
    const QVariantList &letti = l.sel->ValoriTesto();
    for (qsizetype i = valori.size(); i < letti.size(); ++i)
        tutti << letti[i];
    l.sel->Esegui(tutti);
    return *l.sel;
}

void scCalcPiedeFat::ChiudiLetture()
{
    if (!mLetture)
        return;
    for (Lettura *l :
         {&mLetture->testa, &mLetture->bolli, &mLetture->dett, &mLetture->spese, &mLetture->ivaBollo})
        if (l->sel)
            l->sel->Chiudi();
}

double scCalcPiedeFat::CampoDouble(const SelezionePronta &s, int campo) const
{
    bool ok = false;
    const double d = s.Reale(campo, &ok);
    if (!ok)
        throw VbErrore(VbErrore::TipoNonCorrispondente,
                       QStringLiteral("Tipo non corrispondente: ") + s.NomeCampo(campo));
    return d;
}

int scCalcPiedeFat::CampoIntero(const SelezionePronta &s, int campo) const
{
    const QVariant v = s.Valore(campo);
    if (v.isNull())
        return 0;
    // Whole numbers beyond an int are an overflow, never another number.
    qlonglong n = 0;
    const Risultato::Conversione c = Risultato::intero(v, n);
    if (c == Risultato::Conversione::Rifiutata)
        throw VbErrore(VbErrore::TipoNonCorrispondente,
                       QStringLiteral("Tipo non corrispondente: ") + s.NomeCampo(campo));
    if (c == Risultato::Conversione::FuoriIntervallo || n < INT32_MIN || n > INT32_MAX)
        Currency::overflow();
    return int(n);
}

QDate scCalcPiedeFat::CampoData(const SelezionePronta &s, int campo) const
{
    if (s.Nullo(campo))
        return QDate();
    const QVariant v = s.Valore(campo);
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

bool scCalcPiedeFat::TestataHaCampo(const QString &psCampo) const
{
    // The schema does not change while the program runs: ask once per table.
    const QString chiave =
        (Globali::DbAzienda + QLatin1Char('|') + osTabTesta + QLatin1Char('|') + psCampo).toLower();
    auto trovato = mCampiTestata.constFind(chiave);
    if (trovato != mCampiTestata.constEnd())
        return *trovato;
    bool esiste = false;
    try {
        esiste = Globali::DbComp()->EsisteCampo(Globali::DbAzienda, osTabTesta, psCampo);
    } catch (const VbErrore &) {
        return false;
    }
    mCampiTestata.insert(chiave, esiste);
    return esiste;
}

QString scCalcPiedeFat::ParametroHost(const QString &psNome) const
{
    if (!Globali::MenuClient)
        return QString();
    return Globali::MenuClient->LeggiPar(psNome, QString()).toString();
}

QString scCalcPiedeFat::ParametroPersonale(const QString &psSezione, const QString &psNome) const
{
    if (!Globali::MenuClient)
        return QString();
    return LeggiParPersonale(psSezione, psNome, QString()).toString();
}

void scCalcPiedeFat::SvuotaListeSpese()
{
    if (!ogSpese)
        ogSpese = std::make_shared<ListaValori>();
    if (!ogSpesePerc)
        ogSpesePerc = std::make_shared<ListaValori>();
    ogSpese->SvuotaLista();
    ogSpesePerc->SvuotaLista();
}
