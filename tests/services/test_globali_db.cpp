// The program's data-access object at an exit that skips the shutdown (the
// X server gone: the display library calls exit): the process ends with the
// status asked for, not with a crash in the teardown of static objects.
#include "components/db/DbMotore.h"
#include "services/Globali.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(GlobaliDbDeathTest, AnExitWithConnectionsOpenEndsWithItsOwnStatus)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QTemporaryDir cartella;
    EXPECT_EXIT(
        {
            Globali::DbComp()->ApriSqlite(QStringLiteral("Azienda"),
                                          cartella.filePath(QStringLiteral("a.db")), true);
            std::exit(1);
        },
        ::testing::ExitedWithCode(1), "");
}
