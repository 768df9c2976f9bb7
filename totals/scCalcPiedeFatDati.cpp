// Footer engine: its links to the outside components (record sets of the
// company database, host and personal parameters, the expense lists).
#include "totals/scCalcPiedeFat.h"

#include "components/db/DbMotore.h"
#include "components/db/RecDat.h"
#include "components/db/Risultato.h"
#include "components/menu/ClienteMenu.h"
#include "components/util/ListaValori.h"
#include "components/util/VbErrore.h"
#include "services/Globali.h"
#include "services/Parametri.h"

namespace {
constexpr int KindCurrency = 6;
} // namespace

QString scCalcPiedeFat::ApriRecordset(const QString &psSql)
{
    if (!mgRecDat)
        mgRecDat = std::make_shared<RecDat>();
    return mgRecDat->ApriRec(Globali::DbComp(), Globali::DbAzienda, QString(), psSql, false, RecDat::TipoSnapshot);
}

bool scCalcPiedeFat::FineDati(const QString &psChiave) const
{
    return mgRecDat->FineDati(psChiave);
}

bool scCalcPiedeFat::FineFile(const QString &psChiave) const
{
    return mgRecDat->FineFile(psChiave);
}

void scCalcPiedeFat::MuoviSuccessivo(const QString &psChiave)
{
    mgRecDat->MuoviSuccessivo(psChiave);
}

QVariant scCalcPiedeFat::Campo(const QString &psChiave, const QString &psCampo) const
{
    return mgRecDat->LeggiCampo(psChiave, psCampo);
}

QString scCalcPiedeFat::CampoTesto(const QString &psChiave, const QString &psCampo) const
{
    const QVariant v = Campo(psChiave, psCampo);
    return v.isNull() ? QString() : v.toString();
}

Currency scCalcPiedeFat::CampoImporto(const QString &psChiave, const QString &psCampo) const
{
    // Amounts come as exact decimal text; a Null one reads as 0.
    return Currency::fromVariant(mgRecDat->LeggiCampo(psChiave, psCampo, KindCurrency));
}

double scCalcPiedeFat::CampoDouble(const QString &psChiave, const QString &psCampo) const
{
    const QVariant v = Campo(psChiave, psCampo);
    if (v.isNull())
        return 0.0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw VbErrore(VbErrore::TipoNonCorrispondente, QStringLiteral("Tipo non corrispondente: ") + psCampo);
    return d;
}

int scCalcPiedeFat::CampoIntero(const QString &psChiave, const QString &psCampo) const
{
    const QVariant v = Campo(psChiave, psCampo);
    if (v.isNull())
        return 0;
    // Whole numbers beyond an int are an overflow, never another number.
    qlonglong n = 0;
    const Risultato::Conversione c = Risultato::intero(v, n);
    if (c == Risultato::Conversione::Rifiutata)
        throw VbErrore(VbErrore::TipoNonCorrispondente, QStringLiteral("Tipo non corrispondente: ") + psCampo);
    if (c == Risultato::Conversione::FuoriIntervallo || n < INT32_MIN || n > INT32_MAX)
        Currency::overflow();
    return int(n);
}

QDate scCalcPiedeFat::CampoData(const QString &psChiave, const QString &psCampo) const
{
    const QVariant v = Campo(psChiave, psCampo);
    if (v.isNull())
        return QDate();
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

bool scCalcPiedeFat::TestataHaCampo(const QString &psCampo) const
{
    // The schema does not change while the program runs: ask once per table.
    const QString chiave = (Globali::DbAzienda + QLatin1Char('|') + osTabTesta + QLatin1Char('|') + psCampo).toLower();
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
