#include "app/TilemontApp.h"
#include "app/TranslationLoader.h"

#include "TilemontVersion.h"

#include <QApplication>
#include <QLibraryInfo>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Answered before any window system is needed, so it works on a machine
    // without a display too.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tilemont %s\n", TILEMONT_VERSION);
            return 0;
        }
    }
    QApplication qapp(argc, argv);
    QApplication::setOrganizationName(CTilemontApp::kMakerName);
    QApplication::setApplicationName(CTilemontApp::kAppName);
    QApplication::setApplicationVersion(QStringLiteral(TILEMONT_VERSION));
    // Before any window or text is made.
    CTranslationLoader translations;
    translations.Install(QLocale::system(), CTranslationLoader::Folders(QApplication::applicationDirPath()),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));

    CTilemontApp app;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const bool started = app.InitInstance(arguments);
    const int loop = started ? QApplication::exec() : 1;
    // Settings are written back even when start-up failed.
    const int exitCode = app.ExitInstance();
    return loop != 0 ? loop : exitCode;
}
