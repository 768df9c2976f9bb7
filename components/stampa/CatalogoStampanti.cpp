// The catalogue in use and the look-ups every catalogue shares.
#include "components/stampa/CatalogoStampanti.h"

#include "components/stampa/CatalogoCups.h"

#include <QStringList>

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
