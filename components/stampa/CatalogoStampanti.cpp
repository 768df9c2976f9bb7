// The catalogue in use and the look-ups every catalogue shares.
#include "components/stampa/CatalogoStampanti.h"

#include "components/stampa/CatalogoCups.h"

#include <QPageSize>
#include <QStringList>
#include <algorithm>

namespace {

std::unique_ptr<CatalogoStampanti> &catalogo()
{
    static std::unique_ptr<CatalogoStampanti> c;
    return c;
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
    catalogo() = std::move(nuovo);
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
