#include "tests/support/PerditeDriver.h"

#include <atomic>

namespace
{
std::atomic<bool> g_ammesse{false};
}

void AmmettiPerditeDriverOdbc()
{
    g_ammesse = true;
}

// Read by LeakSanitizer when it checks for leaks, at the end of the process,
// together with tests/lsan.supp.
extern "C" const char *__lsan_default_suppressions()
{
    return g_ammesse ? "leak:psqlodbcw.so\n" : "";
}
