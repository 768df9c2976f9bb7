// The program-wide utility object, created on first use.
#include "components/util/UtilGlob.h"
#include "services/Globali.h"

UtilGlob &Globali::Util()
{
    static UtilGlob util;
    return util;
}
