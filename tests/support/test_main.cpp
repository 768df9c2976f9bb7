// Shared main() of every test program: an offscreen QApplication, then GoogleTest.
#include <QApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // The offscreen screen gets a common desktop size (its own is 800 x 600),
    // so that windows laid out for a desktop fit on it as they do for users.
    QTemporaryFile schermo;
    if (schermo.open()) {
        schermo.write(R"({"screens": [{"name": "prova", "x": 0, "y": 0, "width": 1920, "height": 1080,
                          "logicalDpi": 96}]})");
        schermo.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + schermo.fileName().toLocal8Bit());
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
