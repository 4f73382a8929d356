#include "app/TilemontApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(CTilemontApp::kMakerName);
    QApplication::setApplicationName(CTilemontApp::kAppName);
    QApplication::setApplicationVersion(QStringLiteral("1.0"));

    CTilemontApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const bool started = app.InitInstance(arguments);
    const int loop = started ? QApplication::exec() : 1;
    // Settings are written back even when start-up failed.
    const int exitCode = app.ExitInstance();
    return loop != 0 ? loop : exitCode;
}
