// The program's current printer.
#include "components/stampa/StampanteApp.h"

#include "components/stampa/CatalogoStampanti.h"
#include "components/stampa/ProfiloStampanti.h"

#include <optional>

namespace
{

std::optional<Stampante> &impostata()
{
    static std::optional<Stampante> s;
    return s;
}

} // namespace

namespace StampanteApp
{

Stampante Predefinita()
{
    const QString nome = ProfiloStampanti::LeggiDevice().section(QLatin1Char(','), 0, 0).trimmed();
    const Stampante s = Catalogo().Cerca(nome);
    if (s.valida())
        return s;
    return Catalogo().Cerca(Catalogo().Predefinita());
}

Stampante Corrente()
{
    if (impostata()) {
        // The printer as the catalogue knows it now (paper, port), if still there.
        const Stampante s = Catalogo().Cerca(impostata()->DeviceName);
        return s.valida() ? s : *impostata();
    }
    return Predefinita();
}

void Imposta(const Stampante &stampante)
{
    impostata() = stampante;
}

void SeguiPredefinita()
{
    impostata().reset();
}

bool Impostata()
{
    return impostata().has_value();
}

} // namespace StampanteApp
