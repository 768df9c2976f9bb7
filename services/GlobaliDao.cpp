// The Qt connections behind the program's two database names.
#include "services/Globali.h"

#include "components/db/DbMotore.h"

#include <QSqlDatabase>

namespace Globali
{

QSqlDatabase DbAziendaDao()
{
    DbMotore *db = DbComp();
    return db && db->EsisteConnessione(DbAzienda) ? db->DatabaseDao(DbAzienda) : QSqlDatabase();
}

QSqlDatabase DbMenuDao()
{
    DbMotore *db = DbComp();
    return db && !DbMenu.isEmpty() && db->EsisteConnessione(DbMenu) ? db->DatabaseDao(DbMenu)
                                                                    : QSqlDatabase();
}

} // namespace Globali
