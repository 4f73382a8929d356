#include <QGuiApplication>
#include <gtest/gtest.h>

// Image plugins and painting want an application object; the offscreen
// platform keeps the tests free of any display.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
