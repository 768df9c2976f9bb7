// The program's data-access object, created on first use and released at shutdown.
#include "components/db/DbMotore.h"
#include "services/Globali.h"

namespace
{
// Released by the shutdown (ImpostaDbComp(nullptr)), never by the teardown
// of static objects: an exit that skips the shutdown (the display library
// ends the program when the X server goes) would close the connections after
// Qt's own list of them is gone, and crash. The system closes them then.
DbMotore *&istanza()
{
    static DbMotore *db = nullptr;
    return db;
}
} // namespace

DbMotore *Globali::DbComp()
{
    if (!istanza())
        istanza() = new DbMotore;
    return istanza();
}

void Globali::ImpostaDbComp(DbMotore *db)
{
    DbMotore *prima = istanza();
    istanza() = db;
    if (prima != db)
        delete prima;
}
