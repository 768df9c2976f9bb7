// The program's data-access object, created on first use and released at shutdown.
#include "components/db/DbMotore.h"
#include "services/Globali.h"

#include <memory>

namespace {
std::unique_ptr<DbMotore> &istanza()
{
    static std::unique_ptr<DbMotore> db;
    return db;
}
} // namespace

DbMotore *Globali::DbComp()
{
    if (!istanza())
        istanza() = std::make_unique<DbMotore>();
    return istanza().get();
}

void Globali::ImpostaDbComp(DbMotore *db) { istanza().reset(db); }
