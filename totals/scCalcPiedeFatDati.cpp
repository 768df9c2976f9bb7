// Footer engine: its links to the outside components (record sets of the
// company database, host and personal parameters, the expense lists).
#include "totals/scCalcPiedeFat.h"

#include "components/util/VbErrore.h"

namespace {
[[noreturn]] void senzaDati()
{
    throw VbErrore(VbErrore::OggettoNonImpostato, QStringLiteral("Accesso ai dati non disponibile"));
}
} // namespace

QString scCalcPiedeFat::ApriRecordset(const QString &)
{
    senzaDati();
}

bool scCalcPiedeFat::FineDati(const QString &) const
{
    senzaDati();
}

bool scCalcPiedeFat::FineFile(const QString &) const
{
    senzaDati();
}

void scCalcPiedeFat::MuoviSuccessivo(const QString &)
{
    senzaDati();
}

QVariant scCalcPiedeFat::Campo(const QString &, const QString &) const
{
    senzaDati();
}

QString scCalcPiedeFat::CampoTesto(const QString &psChiave, const QString &psCampo) const
{
    const QVariant v = Campo(psChiave, psCampo);
    return v.isNull() ? QString() : v.toString();
}

Currency scCalcPiedeFat::CampoImporto(const QString &psChiave, const QString &psCampo) const
{
    return Currency::fromVariant(Campo(psChiave, psCampo));
}

double scCalcPiedeFat::CampoDouble(const QString &psChiave, const QString &psCampo) const
{
    const QVariant v = Campo(psChiave, psCampo);
    return v.isNull() ? 0.0 : Currency::fromVariant(v).toDouble();
}

int scCalcPiedeFat::CampoIntero(const QString &psChiave, const QString &psCampo) const
{
    const QVariant v = Campo(psChiave, psCampo);
    return v.isNull() ? 0 : v.toInt();
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

bool scCalcPiedeFat::TestataHaCampo(const QString &) const
{
    return false;
}

QString scCalcPiedeFat::ParametroHost(const QString &) const
{
    return QString();
}

QString scCalcPiedeFat::ParametroPersonale(const QString &, const QString &) const
{
    return QString();
}

void scCalcPiedeFat::SvuotaListeSpese() {}
