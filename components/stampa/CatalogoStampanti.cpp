// The catalogue in use and the look-ups every catalogue shares.
#include "components/stampa/CatalogoStampanti.h"

#include "components/stampa/CatalogoCups.h"

#include <QPageSize>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace
{

std::unique_ptr<CatalogoStampanti> &catalogo()
{
    static std::unique_ptr<CatalogoStampanti> c;
    return c;
}

// The reading shared while a LetturaCatalogo lives, for one catalogue.
struct Lettura {
    int aperte = 0;
    const CatalogoStampanti *di = nullptr;
    std::optional<QList<Stampante>> stampanti;
    std::optional<QString> predefinita;

    void svuota()
    {
        di = nullptr;
        stampanti.reset();
        predefinita.reset();
    }
    // The reading of `c`: another catalogue's is dropped first.
    void per(const CatalogoStampanti *c)
    {
        if (di != c)
            svuota();
        di = c;
    }
};

Lettura &lettura()
{
    static Lettura l;
    return l;
}

} // namespace

CatalogoStampanti &Catalogo()
{
    if (!catalogo())
        catalogo() = std::make_unique<CatalogoCups>();
    return *catalogo();
}

void ImpostaCatalogo(std::unique_ptr<CatalogoStampanti> nuovo)
{
    lettura().svuota();
    catalogo() = std::move(nuovo);
}

LetturaCatalogo::LetturaCatalogo()
{
    ++lettura().aperte;
}

LetturaCatalogo::~LetturaCatalogo()
{
    if (--lettura().aperte == 0)
        lettura().svuota();
}

QList<Stampante> CatalogoStampanti::Stampanti()
{
    Lettura &l = lettura();
    if (l.aperte == 0)
        return LeggiStampanti();
    l.per(this);
    if (!l.stampanti)
        l.stampanti = LeggiStampanti();
    return *l.stampanti;
}

QString CatalogoStampanti::Predefinita()
{
    Lettura &l = lettura();
    if (l.aperte == 0)
        return LeggiPredefinita();
    l.per(this);
    if (!l.predefinita)
        l.predefinita = LeggiPredefinita();
    return *l.predefinita;
}

QStringList StampantiPdf()
{
    return {QStringLiteral("PDFCreator"), QStringLiteral("PDF995")};
}

bool EStampantePdf(const QString &nome)
{
    return StampantiPdf().contains(nome.trimmed(), Qt::CaseInsensitive);
}

void AggiungiStampantiPdf(QList<Stampante> &stampanti)
{
    for (const QString &pdf : StampantiPdf()) {
        const bool presente = std::any_of(stampanti.cbegin(), stampanti.cend(), [&](const Stampante &s) {
            return s.DeviceName.compare(pdf, Qt::CaseInsensitive) == 0;
        });
        if (presente)
            continue;
        Stampante s;
        s.DeviceName = pdf;
        s.Port = QStringLiteral("PDF:");
        s.DriverName = QStringLiteral("PDF");
        s.PaperSize = QPageSize::windowsId(QPageSize::A4);
        s.Virtuale = true;
        stampanti << s;
    }
}

Stampante CatalogoStampanti::Cerca(const QString &nome)
{
    const QString n = nome.trimmed();
    if (n.isEmpty())
        return {};
    for (const Stampante &s : Stampanti())
        if (s.DeviceName.compare(n, Qt::CaseInsensitive) == 0)
            return s;
    return {};
}

Stampante CatalogoStampanti::CercaPerNomeOPorta(const QString &nomeOPorta)
{
    const QString n = nomeOPorta.trimmed();
    if (n.isEmpty())
        return {};
    const QList<Stampante> tutte = Stampanti();
    for (const Stampante &s : tutte)
        if (s.DeviceName.compare(n, Qt::CaseInsensitive) == 0)
            return s;
    for (const Stampante &s : tutte)
        if (!s.Port.isEmpty() && s.Port.compare(n, Qt::CaseInsensitive) == 0)
            return s;
    return {};
}
