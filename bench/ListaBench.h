// The customer list window of the benchmarks, open on a company database as
// the program shows it: loaded, at a fixed size, its first page shown.
#pragma once

#include "SupportoBench.h"
#include "components/db/DbMotore.h"
#include "components/forms/RisposteProgrammate.h"
#include "lists/frmClientiLis.h"
#include "services/Globali.h"

#include <QCoreApplication>
#include <memory>

namespace supporto_bench
{

// The window on the company already open, loaded and shown at a fixed
// size; with `mostra` its first page shown too.
inline std::unique_ptr<frmClientiLis> FinestraListaClienti(bool mostra = true)
{
    Globali::DescAzienda = QStringLiteral("Benchmark");
    auto lista = std::make_unique<frmClientiLis>();
    lista->Form_Load();
    lista->resize(1000, 620);
    lista->show();
    if (mostra)
        lista->MostraLista(QString());
    QCoreApplication::processEvents();
    return lista;
}

// The connection becomes the program's company connection and lives to the
// end of the process, as the program's does.
inline std::unique_ptr<frmClientiLis> ApriListaClienti(const QString &percorso)
{
    RisposteProgrammate::ImpostaSenzaModali(true);
    auto *db = new DbMotore;
    Globali::ImpostaDbComp(db);
    supporto_bench::ApriAzienda(*db, Globali::DbAzienda, percorso);
    return FinestraListaClienti();
}

} // namespace supporto_bench
